// Builds without Windows have no ANSI code page: names and texts are bytes,
// passed on as they are.
#include "base/stored_text.h"

namespace corv {

namespace {

class PassThroughCodePage : public AnsiCodePage {
public:
    std::string ToUtf8(const std::string& ansi) const override { return ansi; }
    bool FromUtf8(const std::string& utf8, std::string& ansi) const override {
        ansi = utf8;
        return true;
    }
};

}  // namespace

const AnsiCodePage& SystemAnsiCodePage() {
    static const PassThroughCodePage codePage;
    return codePage;
}

}  // namespace corv
