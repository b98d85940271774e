// INI profile files, read and written the way the system's private-profile
// functions do it: names compared without regard to ASCII case, the first
// matching section and key win, surrounding blanks and quotes are dropped
// from values, and a write keeps every other section and key in its order.
//
// Text is treated as bytes of code page 949: a lead byte and its trail byte
// are always taken together, so a trail byte never counts as a letter.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace corv {

// What the settings store needs of a profile: one key read into a buffer of
// a given size, and one key written.
class Profile {
public:
    virtual ~Profile() = default;
    // Returns the value of `key` in `section`, or `def` (trailing blanks
    // dropped) when there is none, cut to at most `bufferSize` - 1 bytes.
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

    explicit ProfileFile(std::string path);

    // Reads the file. A missing file gives an empty profile; a file that
    // cannot be read gives an empty profile that refuses to be saved.
    void Load();
    // Parses text as if it had been read from the file.
    void Parse(const std::string& text);

    std::string Read(const std::string& section, const std::string& key, const std::string& def,
                     std::size_t bufferSize) override;
    void Write(const std::string& section, const std::string& key,
               const std::string& value) override;

    // Writes the profile back if it changed. False when the write failed or
    // the file could not be read in the first place.
    bool Save();

    // The file's text as Save writes it.
    std::string Serialize() const;

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

    Section* FindSection(const std::string& name);
    static Entry* FindEntry(Section& section, const std::string& key);

    std::string path_;
    std::vector<Section> sections_;
    bool utf8Bom_ = false;
    bool readable_ = true;
    bool changed_ = false;
};

// One read, as the system's GetPrivateProfileString makes it.
std::string ReadIniString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& def, std::size_t bufferSize);

// One write, as the system's WritePrivateProfileString makes it. False when
// the file could not be written.
bool WriteIniString(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value);

// Code page 949 helpers shared by the text-file readers.
bool IsLeadByte949(unsigned char c);
// Cuts `text` to at most `maxBytes` bytes without splitting a two-byte
// character.
std::string CutToBytes(const std::string& text, std::size_t maxBytes);

}  // namespace corv
