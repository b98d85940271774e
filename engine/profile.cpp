#include "engine/profile.h"

#include <utility>

#include "base/utf8.h"
#include "engine/file_io.h"

namespace corv {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n';
}

std::string TrimLeft(const std::string& s) {
    std::size_t b = 0;
    while (b < s.size() && IsBlank(s[b])) ++b;
    return s.substr(b);
}

std::string TrimRight(const std::string& s) {
    std::size_t e = s.size();
    while (e > 0 && IsBlank(s[e - 1])) --e;
    return s.substr(0, e);
}

std::string Trim(const std::string& s) {
    return TrimRight(TrimLeft(s));
}

unsigned char AsciiLower(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

// Names are equal when they match byte for byte, ignoring the case of ASCII
// letters that are not the second byte of a two-byte character.
bool SameName949(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto x = static_cast<unsigned char>(a[i]);
        auto y = static_cast<unsigned char>(b[i]);
        if (IsLeadByte949(x)) {
            if (x != y) return false;
            if (i + 1 < a.size()) {
                if (a[i + 1] != b[i + 1]) return false;
                ++i;
            }
            continue;
        }
        if (AsciiLower(x) != AsciiLower(y)) return false;
    }
    return true;
}

// In UTF-8 every byte of a character beyond ASCII is 0x80 or more, so no
// such byte is an ASCII letter.
bool SameNameUtf8(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(static_cast<unsigned char>(a[i])) !=
            AsciiLower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string StripQuotes(const std::string& v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

}  // namespace

bool IsLeadByte949(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

std::string CutToBytes(const std::string& text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    std::size_t i = 0;
    while (i < maxBytes) {
        std::size_t width = IsLeadByte949(static_cast<unsigned char>(text[i])) ? 2 : 1;
        if (i + width > maxBytes) break;
        i += width;
    }
    return text.substr(0, i);
}

ProfileFile::ProfileFile(std::string path, const AnsiCodePage& codePage)
    : path_(std::move(path)), codePage_(&codePage) {
    Parse(std::string());
}

bool ProfileFile::ToFileText(const std::string& utf8, std::string& text) const {
    if (utf8Bom_) {
        text = ValidUtf8(utf8);
        return true;
    }
    return codePage_->FromUtf8(utf8, text);
}

std::string ProfileFile::FromFileText(const std::string& text) const {
    return utf8Bom_ ? text : codePage_->ToUtf8(text);
}

void ProfileFile::BecomeUtf8() {
    if (utf8Bom_) return;
    for (Section& s : sections_) {
        s.name = codePage_->ToUtf8(s.name);
        for (Entry& e : s.entries) {
            e.key = codePage_->ToUtf8(e.key);
            e.value = codePage_->ToUtf8(e.value);
        }
    }
    utf8Bom_ = true;
}

bool ProfileFile::SameName(const std::string& a, const std::string& b) const {
    return utf8Bom_ ? SameNameUtf8(a, b) : SameName949(a, b);
}

void ProfileFile::Load() {
    std::string text;
    switch (ReadWholeFile(path_, text, kMaxFileSize)) {
        case ReadResult::Ok:
            readable_ = true;
            Parse(text);
            break;
        case ReadResult::Missing:
            readable_ = true;
            Parse(std::string());
            break;
        case ReadResult::Failed:
        case ReadResult::TooLarge:
            readable_ = false;
            Parse(std::string());
            break;
    }
    changed_ = false;
}

void ProfileFile::Parse(const std::string& text) {
    sections_.clear();
    sections_.push_back(Section{});  // keys above the first section header
    std::size_t pos = 0;
    utf8Bom_ = EncodingOf(text) == TextEncoding::Utf8;
    const std::string validText = utf8Bom_ ? ValidUtf8(text) : std::string();
    const std::string& bytes = utf8Bom_ ? validText : text;
    if (utf8Bom_) pos = 3;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = bytes.size();
        std::string line = Trim(bytes.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty()) continue;
        std::size_t close = line.rfind(']');
        if (line[0] == '[' && close != std::string::npos && close > 0) {
            sections_.push_back(Section{Trim(line.substr(1, close - 1)), {}});
            continue;
        }
        Entry entry;
        std::size_t eq = line.find('=');
        if (eq == std::string::npos) {
            entry.key = line;
        } else {
            entry.key = Trim(line.substr(0, eq));
            entry.value = Trim(line.substr(eq + 1));
            entry.hasValue = true;
        }
        sections_.back().entries.push_back(std::move(entry));
    }
}

ProfileFile::Section* ProfileFile::FindSection(const std::string& name) {
    const std::string wanted = Trim(name);
    for (Section& s : sections_)
        if (SameName(Trim(s.name), wanted)) return &s;
    return nullptr;
}

ProfileFile::Entry* ProfileFile::FindEntry(Section& section, const std::string& key) {
    const std::string wanted = Trim(key);
    for (Entry& e : section.entries)
        if (SameName(Trim(e.key), wanted)) return &e;
    return nullptr;
}

std::string ProfileFile::Read(const std::string& section, const std::string& key,
                              const std::string& def, std::size_t bufferSize) {
    if (bufferSize == 0) return std::string();
    std::string result;
    bool found = false;
    std::string sectionName;
    std::string keyName;
    if (ToFileText(section, sectionName) && ToFileText(key, keyName)) {
        if (Section* s = FindSection(sectionName)) {
            Entry* e = FindEntry(*s, keyName);
            if (e != nullptr && e->hasValue) {
                result = StripQuotes(Trim(e->value));
                found = true;
            }
        }
    }
    if (!found) {
        // A default the code page cannot hold is cut as in a UTF-8 file.
        if (!ToFileText(TrimRight(def), result))
            return CutToUtf16Units(TrimRight(def), bufferSize - 1);
    }
    if (utf8Bom_) return CutToUtf16Units(result, bufferSize - 1);
    return FromFileText(CutToBytes(result, bufferSize - 1));
}

void ProfileFile::Write(const std::string& section, const std::string& key,
                        const std::string& value) {
    std::string sectionName;
    std::string keyName;
    std::string newValue;
    if (!ToFileText(section, sectionName) || !ToFileText(key, keyName) ||
        !ToFileText(TrimLeft(value), newValue)) {
        BecomeUtf8();
        ToFileText(section, sectionName);
        ToFileText(key, keyName);
        ToFileText(TrimLeft(value), newValue);
        changed_ = true;
    }
    Section* s = FindSection(sectionName);
    if (s == nullptr) {
        sections_.push_back(Section{TrimLeft(sectionName), {}});
        s = &sections_.back();
    }
    Entry* e = FindEntry(*s, keyName);
    if (e == nullptr) {
        s->entries.push_back(Entry{TrimLeft(keyName), newValue, true});
        changed_ = true;
    } else if (!e->hasValue || e->value != newValue) {
        e->value = newValue;
        e->hasValue = true;
        changed_ = true;
    }
}

std::string ProfileFile::Serialize() const {
    std::string out;
    if (utf8Bom_) out += "\xEF\xBB\xBF";
    for (const Section& s : sections_) {
        if (!s.name.empty()) out += "[" + s.name + "]\r\n";
        for (const Entry& e : s.entries) {
            out += e.key;
            if (e.hasValue) out += "=" + e.value;
            out += "\r\n";
        }
    }
    return out;
}

bool ProfileFile::Save() {
    if (!changed_) return true;
    if (!readable_) return false;
    if (!WriteFileAtomically(path_, Serialize())) return false;
    changed_ = false;
    return true;
}

std::string ReadIniString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& def, std::size_t bufferSize,
                          const AnsiCodePage& codePage) {
    ProfileFile file(path, codePage);
    file.Load();
    return file.Read(section, key, def, bufferSize);
}

bool WriteIniString(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value, const AnsiCodePage& codePage) {
    ProfileFile file(path, codePage);
    file.Load();
    file.Write(section, key, value);
    return file.Save();
}

}  // namespace corv
