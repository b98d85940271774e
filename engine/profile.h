// INI profile files, read and written the way the system's private-profile
// functions do it: names compared without regard to ASCII case, the first
// matching section and key win, surrounding blanks and quotes are dropped
// from values, and a write keeps every other section and key in its order.
//
// Names and values are UTF-8 to the caller. A file with the UTF-8 mark is
// UTF-8, and values are cut as the system's wide calls cut them (in UTF-16
// units). Any other file is in the ANSI code page and is read exactly as the
// system's ANSI calls read it: as bytes of code page 949, a lead byte and its
// trail byte taken together (a trail byte never counts as a letter), values
// cut in bytes. Such a file stays in the code page until a write brings a
// text the code page cannot hold; the whole file then becomes UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "base/stored_text.h"

namespace corv {

// What the settings store needs of a profile: one key read into a buffer of
// a given size, and one key written.
class Profile {
public:
    virtual ~Profile() = default;
    // Returns the value of `key` in `section`, or `def` (trailing blanks
    // dropped) when there is none, cut to what a buffer of `bufferSize`
    // characters holds with its ending zero.
    virtual std::string Read(const std::string& section, const std::string& key,
                             const std::string& def, std::size_t bufferSize) = 0;
    virtual void Write(const std::string& section, const std::string& key,
                       const std::string& value) = 0;
};

// A whole profile file held in memory. Load once, read and write any number
// of keys, then Save: the file is replaced in one step, and only when a write
// changed something.
class ProfileFile : public Profile {
public:
    // Files larger than this are not read, and never overwritten.
    static constexpr std::size_t kMaxFileSize = 256u * 1024u * 1024u;

    explicit ProfileFile(std::string path, const AnsiCodePage& codePage = SystemAnsiCodePage());

    // Reads the file. A missing file gives an empty profile; a file that
    // cannot be read gives an empty profile that refuses to be saved.
    void Load();
    // Parses bytes as if they had been read from the file.
    void Parse(const std::string& text);

    std::string Read(const std::string& section, const std::string& key, const std::string& def,
                     std::size_t bufferSize) override;
    void Write(const std::string& section, const std::string& key,
               const std::string& value) override;

    // Writes the profile back if it changed. False when the write failed or
    // the file could not be read in the first place.
    bool Save();

    // The file's bytes as Save writes them.
    std::string Serialize() const;

    TextEncoding Encoding() const { return utf8Bom_ ? TextEncoding::Utf8 : TextEncoding::Ansi; }

    bool Changed() const { return changed_; }

private:
    struct Entry {
        std::string key;
        std::string value;
        bool hasValue = false;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };

    // Names and values are held as the file holds them (in the code page,
    // or UTF-8); these convert a caller's UTF-8 text to that form and back.
    bool ToFileText(const std::string& utf8, std::string& text) const;
    std::string FromFileText(const std::string& text) const;
    // Makes every held text UTF-8 and the file a UTF-8 file.
    void BecomeUtf8();
    bool SameName(const std::string& a, const std::string& b) const;

    Section* FindSection(const std::string& name);
    Entry* FindEntry(Section& section, const std::string& key);

    std::string path_;
    const AnsiCodePage* codePage_;
    std::vector<Section> sections_;
    bool utf8Bom_ = false;
    bool readable_ = true;
    bool changed_ = false;
};

// One read, as the system's GetPrivateProfileString makes it.
std::string ReadIniString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& def, std::size_t bufferSize,
                          const AnsiCodePage& codePage = SystemAnsiCodePage());

// One write, as the system's WritePrivateProfileString makes it. False when
// the file could not be written.
bool WriteIniString(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value, const AnsiCodePage& codePage = SystemAnsiCodePage());

// Code page 949 helpers shared by the text-file readers.
bool IsLeadByte949(unsigned char c);
// Cuts `text` to at most `maxBytes` bytes without splitting a two-byte
// character.
std::string CutToBytes(const std::string& text, std::size_t maxBytes);

}  // namespace corv
