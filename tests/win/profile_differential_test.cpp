// Our profile reader and writer against the system's private-profile
// functions: the same awkward env.ini files must give the same values read
// and the same files written. The system's ANSI functions take and give
// code page bytes, ours UTF-8: the system's side converts, so both speak
// UTF-8 to the settings store.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text_win.h"
#include "engine/profile.h"
#include "engine/settings.h"
#include "unit/test_util.h"

namespace {

using corvtest::ReadFile;
using corvtest::WriteFile;

// The settings store's profile, served by the system functions.
class SystemProfile : public corv::Profile {
public:
    explicit SystemProfile(std::string path) : path_(std::move(path)) {}
    std::string Read(const std::string& section, const std::string& key, const std::string& def,
                     std::size_t bufferSize) override {
        std::vector<char> buffer(bufferSize + 1, '\0');
        DWORD n =
            GetPrivateProfileStringA(Ansi(section).c_str(), Ansi(key).c_str(), Ansi(def).c_str(),
                                     buffer.data(), static_cast<DWORD>(bufferSize), path_.c_str());
        // The program uses what it gets as a C string; the count Wine returns
        // for a value cut inside a two-byte character includes a zero byte.
        (void)n;
        return corv::AnsiToUtf8(std::string(buffer.data()));
    }
    void Write(const std::string& section, const std::string& key,
               const std::string& value) override {
        WritePrivateProfileStringA(Ansi(section).c_str(), Ansi(key).c_str(), Ansi(value).c_str(),
                                   path_.c_str());
    }
    static std::string Ansi(const std::string& utf8) {
        std::string ansi;
        EXPECT_TRUE(corv::Utf8ToAnsi(utf8, ansi)) << utf8;
        return ansi;
    }

private:
    std::string path_;
};

struct Sample {
    const char* name;
    std::string text;
    bool exists = true;
    // A file that starts with a UTF-8 byte order mark is rewritten in UTF-8
    // by the system functions under Wine; ours keeps the bytes it is given,
    // so only plain ASCII is written to such a file here.
    bool asciiOnly = false;
};

std::vector<Sample> Corpus() {
    const std::string longValue(300, 'L');
    return {
        {"missing", "", false},
        {"empty", ""},
        {"only_wallpaper", "[DEFAULT]\r\noriwallpath=C:\\windows\\old.bmp\r\n"},
        {"mixed_case",
         "[default]\r\nISFRAME=1\r\nIsStretch=0\r\nChangeTime=20\r\nMIN_SEC=60000\r\n"},
        {"blanks_around_equals", "[ DEFAULT ]\r\n  changetime  =  30  \r\n\tisframe\t=\t1\t\r\n"},
        {"lf_only", "[DEFAULT]\nisshadow=1\nframesize=12\n"},
        {"mixed_endings", "[DEFAULT]\r\nisshadow=1\nframesize=12\risrotate=1\r\n"},
        {"comments", "; settings\r\n[DEFAULT]\r\n; isframe=1\r\n# note\r\nisrotate=1\r\n"},
        {"duplicate_keys",
         "[DEFAULT]\r\nchangetime=20\r\nchangetime=40\r\nisframe=1\r\nISFRAME=0\r\n"},
        {"duplicate_sections",
         "[DEFAULT]\r\nchangetime=20\r\n[other]\r\na=b\r\n[DEFAULT]\r\nisframe=1\r\nchangetime="
         "40\r\n"},
        {"long_values",
         "[DEFAULT]\r\nchangetime=123456789\r\nbackcolor=1234567890123\r\n"
         "backimagename=" +
             longValue + "\r\nymfontname=" + longValue + "\r\n"},
        {"korean",
         "[DEFAULT]\r\nbackimagename=C:\\\xB1\xD7\xB8\xB2\\\xB9\xD9\xB4\xD9.jpg\r\n"
         "outprogram0=\xB8\xDE\xB8\xF0\xC0\xE5 - \xC1\xA6\xB8\xF1 \xBE\xF8\xC0\xBD\r\n"
         "[\xC7\xD1\xB1\xDB]\r\n\xC5\xB0=\xB0\xAA\r\n"},
        {"no_final_newline", "[DEFAULT]\r\nisframe=1\r\nchangetime=25"},
        {"bare_cr", "[DEFAULT]\risframe=1\rchangetime=25\r"},
        {"keys_before_section", "isframe=1\r\n[DEFAULT]\r\nisshadow=1\r\n"},
        {"quotes",
         "[DEFAULT]\r\nymfontname=\"Gulim\"\r\nddfontname='Batang\r\nmaskfilename=\"\"\r\n"},
        {"byte_order_mark", "\xEF\xBB\xBF[DEFAULT]\r\nisframe=1\r\n", true, true},
        {"blank_lines",
         "\r\n\r\n   \r\n[DEFAULT]\r\n\r\nisframe=1\r\n\t\r\n\r\nisshadow=1\r\n\r\n"},
        {"odd_headers", "[DEFAULT]junk\r\nisframe=1\r\n[a]b]\r\nk=1\r\n[broken\r\nisshadow=1\r\n"},
        {"no_value_lines", "[DEFAULT]\r\nisframe\r\n=1\r\nisshadow=\r\n"},
        {"other_sections", "[first]\r\nx=1\r\n[DEFAULT]\r\nisframe=1\r\n[last]\r\ny=2\r\n"},
        {"signs_and_junk",
         "[DEFAULT]\r\npicmaxsize=-300\r\nchangetime=+7x\r\nframesize= 9 \r\n"
         "rotatevalue=abc\r\nbackcolor= -1\r\n"},
        {"empty_section_name", "[DEFAULT]\r\nisframe=1\r\n[]\r\nk=3\r\n"},
    };
}

class ProfileDifferential : public ::testing::Test {
protected:
    std::string PathFor(const std::string& name) { return dir_.File(name + ".ini"); }
    corvtest::TempDir dir_;
};

void ExpectSameSettings(const corv::Settings& a, const std::vector<std::string>& pa,
                        const corv::Settings& b, const std::vector<std::string>& pb,
                        const char* sample) {
    // Saving both records into empty profiles compares every stored field.
    corv::ProfileFile fa("a"), fb("b");
    corv::SaveSettings(a, pa, fa);
    corv::SaveSettings(b, pb, fb);
    EXPECT_EQ(fa.Serialize(), fb.Serialize()) << sample;
}

TEST_F(ProfileDifferential, SettingsLoadReadsTheSameValues) {
    for (const Sample& sample : Corpus()) {
        const std::string path = PathFor(std::string("load_") + sample.name);
        if (sample.exists) WriteFile(path, sample.text);
        corv::Settings ours, theirs;
        std::vector<std::string> ourPrograms, theirPrograms;
        corv::ProfileFile file(path);
        file.Load();
        corv::LoadSettings(ours, ourPrograms, file);
        SystemProfile system(path);
        corv::LoadSettings(theirs, theirPrograms, system);
        ExpectSameSettings(ours, ourPrograms, theirs, theirPrograms, sample.name);
    }
}

TEST_F(ProfileDifferential, SingleReadsMatchIncludingBufferCuts) {
    struct Query {
        const char* section;
        const char* key;
        std::size_t size;
    };
    const Query queries[] = {
        {"DEFAULT", "isframe", 260},
        {"default", "ISSHADOW", 260},
        {"DEFAULT", "changetime", 3},
        {"DEFAULT", "backimagename", 10},
        {" DEFAULT ", " isframe ", 260},
        {"", "isframe", 260},
        {"a]b", "k", 260},
        {"DEFAULT", "ymfontname", 260},
        {"DEFAULT", "ddfontname", 260},
        {"DEFAULT", "maskfilename", 260},
        {"\xED\x95\x9C\xEA\xB8\x80", "\xED\x82\xA4", 260},  // 한글, 키
        {"DEFAULT", "outprogram0", 260},
        {"first", "x", 260},
        {"DEFAULT", "absent", 260},
        {"DEFAULT", "backcolor", 9},
        {"DEFAULT", "isshadow", 1},
    };
    for (const Sample& sample : Corpus()) {
        const std::string path = PathFor(std::string("read_") + sample.name);
        if (sample.exists) WriteFile(path, sample.text);
        corv::ProfileFile file(path);
        file.Load();
        SystemProfile system(path);
        for (const Query& q : queries) {
            for (const char* def : {"", "dflt  ", "  lead"}) {
                EXPECT_EQ(file.Read(q.section, q.key, def, q.size),
                          system.Read(q.section, q.key, def, q.size))
                    << sample.name << " [" << q.section << "] " << q.key << " size " << q.size;
            }
        }
    }
}

TEST_F(ProfileDifferential, WritesProduceTheSameFiles) {
    corv::Settings changed;
    std::vector<std::string> noPrograms;
    {
        corv::ProfileFile empty("none");
        corv::LoadSettings(changed, noPrograms, empty);
    }
    changed.isframe = true;
    changed.changetime = 42;
    changed.backcolor = corv::Argb{0xFF102030};
    corv::Settings changedAscii = changed;
    changed.backimagename = "C:\\\xEA\xB7\xB8\xEB\xA6\xBC\\back.jpg";  // 그림
    changedAscii.backimagename = "C:\\pictures\\back.jpg";
    const std::vector<std::string> programs = {"\xEB\xA9\x94\xEB\xAA\xA8\xEC\x9E\xA5",
                                               "Paint"};  // 메모장
    const std::vector<std::string> asciiPrograms = {"Notepad", "Paint"};

    for (const Sample& sample : Corpus()) {
        const std::string ourPath = PathFor(std::string("ours_") + sample.name);
        const std::string theirPath = PathFor(std::string("theirs_") + sample.name);
        if (sample.exists) {
            WriteFile(ourPath, sample.text);
            WriteFile(theirPath, sample.text);
        }
        const corv::Settings& record = sample.asciiOnly ? changedAscii : changed;
        const auto& titles = sample.asciiOnly ? asciiPrograms : programs;
        const std::string wallpaper =
            sample.asciiOnly ? "C:\\wall.bmp" : "C:\\\xEB\xB0\x94\xED\x83\x95.bmp";  // 바탕
        // The wallpaper path first, as at start, then the whole record.
        corv::WriteIniString(ourPath, "DEFAULT", "oriwallpath", wallpaper);
        WritePrivateProfileStringA("DEFAULT", "oriwallpath", SystemProfile::Ansi(wallpaper).c_str(),
                                   theirPath.c_str());
        EXPECT_EQ(ReadFile(ourPath), ReadFile(theirPath)) << sample.name << " after oriwallpath";

        corv::ProfileFile file(ourPath);
        file.Load();
        corv::SaveSettings(record, titles, file);
        file.Write("extra", " spaced key ", "  spaced value ");
        file.Write("DEFAULT", "ymfontname", "Georgia");
        EXPECT_TRUE(file.Save());
        SystemProfile system(theirPath);
        corv::SaveSettings(record, titles, system);
        system.Write("extra", " spaced key ", "  spaced value ");
        system.Write("DEFAULT", "ymfontname", "Georgia");
        EXPECT_EQ(ReadFile(ourPath), ReadFile(theirPath)) << sample.name;
    }
}

}  // namespace
