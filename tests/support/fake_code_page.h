// A small stand-in for the Korean ANSI code page: ASCII and a few Hangul
// syllables with their code page 949 bytes, so that tests of the stored
// files' encoding run the same natively and under Wine.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "base/stored_text.h"

namespace corvtest {

class FakeCodePage : public corv::AnsiCodePage {
public:
    std::string ToUtf8(const std::string& ansi) const override {
        std::string out;
        for (std::size_t i = 0; i < ansi.size(); ++i) {
            const auto c = static_cast<unsigned char>(ansi[i]);
            if (c < 0x80) {
                out.push_back(ansi[i]);
                continue;
            }
            const std::string pair = ansi.substr(i, 2);
            std::string utf8 = "\xEF\xBF\xBD";  // U+FFFD: not in the table
            for (const auto& entry : Table())
                if (entry.first == pair) utf8 = entry.second;
            if (pair.size() == 2 && utf8 != "\xEF\xBF\xBD") ++i;
            out += utf8;
        }
        return out;
    }
    bool FromUtf8(const std::string& utf8, std::string& ansi) const override {
        std::string out;
        for (std::size_t i = 0; i < utf8.size();) {
            if (static_cast<unsigned char>(utf8[i]) < 0x80) {
                out.push_back(utf8[i++]);
                continue;
            }
            bool found = false;
            for (const auto& entry : Table()) {
                if (utf8.compare(i, entry.second.size(), entry.second) == 0) {
                    out += entry.first;
                    i += entry.second.size();
                    found = true;
                    break;
                }
            }
            if (!found) return false;
        }
        ansi = out;
        return true;
    }

private:
    // Code page 949 bytes and UTF-8 of 사 진 노 을 가 한 키 나 신 정 그 림 and
    // of 캚 and 캻, whose second bytes are the letters "A" and "a".
    static const std::vector<std::pair<std::string, std::string>>& Table() {
        static const std::vector<std::pair<std::string, std::string>> table = {
            {"\xBB\xE7", "\xEC\x82\xAC"}, {"\xC1\xF8", "\xEC\xA7\x84"},
            {"\xB3\xEB", "\xEB\x85\xB8"}, {"\xC0\xBB", "\xEC\x9D\x84"},
            {"\xB0\xA1", "\xEA\xB0\x80"}, {"\xC7\xD1", "\xED\x95\x9C"},
            {"\xC5\xB0", "\xED\x82\xA4"}, {"\xB3\xAA", "\xEB\x82\x98"},
            {"\xBD\xC5", "\xEC\x8B\xA0"}, {"\xC1\xA4", "\xEC\xA0\x95"},
            {"\xB1\xD7", "\xEA\xB7\xB8"}, {"\xB8\xB2", "\xEB\xA6\xBC"},
            {"\xB0\x41", "\xEC\xBA\x9A"}, {"\xB0\x61", "\xEC\xBA\xBB"}};
        return table;
    }
};

}  // namespace corvtest
