#include <windows.h>

#include <climits>

#include "base/stored_text.h"
#include "base/text_win.h"

namespace corv {

namespace {

class SystemCodePage : public AnsiCodePage {
public:
    std::string ToUtf8(const std::string& ansi) const override {
        if (ansi.empty() || ansi.size() > static_cast<std::size_t>(INT_MAX)) return std::string();
        const int length = static_cast<int>(ansi.size());
        const int needed = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
        if (needed <= 0) return std::string();
        std::wstring wide(static_cast<std::size_t>(needed), L'\0');
        const int got = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, &wide[0], needed);
        wide.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
        return Utf8(wide);
    }

    bool FromUtf8(const std::string& utf8, std::string& ansi) const override {
        ansi.clear();
        const std::wstring wide = Wide(utf8);
        if (wide.empty()) return true;
        if (wide.size() > static_cast<std::size_t>(INT_MAX)) return false;
        const int length = static_cast<int>(wide.size());
        // No best fit: a character the code page lacks must not turn into
        // a look-alike that names another file.
        BOOL usedDefault = FALSE;
        const int needed = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length,
                                               nullptr, 0, nullptr, &usedDefault);
        if (needed <= 0 || usedDefault) return false;
        std::string bytes(static_cast<std::size_t>(needed), '\0');
        const int got = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length,
                                            &bytes[0], needed, nullptr, &usedDefault);
        if (got != needed || usedDefault) return false;
        // U+FFFD (a byte the code page did not define when read) has no
        // place in it either, even where the system finds one.
        if (utf8.find("\xEF\xBF\xBD") != std::string::npos) return false;
        ansi.swap(bytes);
        return true;
    }
};

}  // namespace

const AnsiCodePage& SystemAnsiCodePage() {
    static const SystemCodePage codePage;
    return codePage;
}

}  // namespace corv
