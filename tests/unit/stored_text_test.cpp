// UTF-8 and UTF-16, and the encoding of the stored files: a file in the
// code page reads and writes back byte for byte, a name the code page cannot
// hold turns the file into UTF-8 with the mark, a marked file round-trips,
// and broken UTF-8 reads the valid part.
#include "base/stored_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/utf8.h"
#include "compose/calendar.h"
#include "compose/slots_file.h"
#include "engine/catalogue.h"
#include "engine/profile.h"
#include "support/fake_code_page.h"
#include "support/folder_lines.h"
#include "unit/test_util.h"

using corvtest::FakeCodePage;

namespace {

const std::string kMark = "\xEF\xBB\xBF";
// 사진 in code page 949 and in UTF-8.
const std::string kPhotoAnsi = "\xBB\xE7\xC1\xF8";
const std::string kPhoto = "\xEC\x82\xAC\xEC\xA7\x84";

struct Name {
    std::string utf8;
    std::u16string utf16;
};

// The names of the issue in several scripts, and two the code page holds.
std::vector<Name> Names() {
    return {
        {u8"Café-été", u"Café-été"}, {u8"ทะเล", u"ทะเล"},         {u8"Hồ Tây", u"Hồ Tây"},
        {u8"🌅 노을", u"🌅 노을"},     {u8"写真", u"写真"},         {u8"사진", u"사진"},
        {u8"Фото", u"Фото"},         {"plain.jpg", u"plain.jpg"},
    };
}

}  // namespace

TEST(Utf8Text, NamesOfEveryScriptConvertBothWays) {
    for (const Name& name : Names()) {
        EXPECT_EQ(corv::Utf8ToUtf16(name.utf8), name.utf16) << name.utf8;
        std::string back;
        EXPECT_TRUE(corv::Utf16ToUtf8(name.utf16, back)) << name.utf8;
        EXPECT_EQ(back, name.utf8);
        EXPECT_TRUE(corv::IsValidUtf8(name.utf8)) << name.utf8;
    }
    // The emoji is a surrogate pair.
    EXPECT_EQ(corv::Utf8ToUtf16(u8"🌅").size(), 2u);
}

TEST(Utf8Text, BrokenSequencesBecomeOneReplacementPerByte) {
    const std::string r = "\xEF\xBF\xBD";  // U+FFFD
    struct Case {
        std::string in;
        std::string valid;
    };
    const Case cases[] = {
        {"a\x80"
         "b",
         "a" + r + "b"},     // stray continuation byte
        {"x\xC3", "x" + r},  // cut at the end
        {"\xE5\x86"
         "x",
         r + r + "x"},                                    // cut inside
        {"\xC0\xAF", r + r},                              // overlong "/"
        {"\xE0\x80\xAF", r + r + r},                      // overlong in three bytes
        {"\xED\xA0\x80", r + r + r},                      // a surrogate's bytes
        {"\xF4\x90\x80\x80", r + r + r + r},              // above U+10FFFF
        {"\xFF\xFE" + kPhoto, r + r + kPhoto},            // the valid rest comes through
        {std::string("a\0b", 3), std::string("a\0b", 3)}  // zero bytes are text
    };
    for (const Case& c : cases) {
        EXPECT_EQ(corv::IsValidUtf8(c.in), c.in == c.valid) << c.in;
        EXPECT_EQ(corv::ValidUtf8(c.in), c.valid) << c.in;
        EXPECT_EQ(corv::Utf8ToUtf16(c.in), corv::Utf8ToUtf16(c.valid)) << c.in;
    }
}

TEST(Utf8Text, UnpairedSurrogatesHaveNoExactUtf8) {
    std::string out = "untouched";
    EXPECT_FALSE(corv::Utf16ToUtf8(std::u16string(u"a") + char16_t(0xD800) + u"b", out));
    EXPECT_EQ(out, "");
    EXPECT_FALSE(corv::Utf16ToUtf8(std::u16string(1, char16_t(0xDC00)), out));
    EXPECT_FALSE(corv::Utf16ToUtf8(std::u16string(u"x") + char16_t(0xD83C), out));  // cut pair
    EXPECT_EQ(corv::Utf16ToUtf8Lossy(std::u16string(u"a") + char16_t(0xDC00) + u"b"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_TRUE(corv::Utf16ToUtf8(u"\U0001F305", out));
    EXPECT_EQ(out, "\xF0\x9F\x8C\x85");
}

TEST(Utf8Text, CutsCountUtf16UnitsAndKeepCharactersWhole) {
    const std::string sunrise = u8"🌅";
    struct Case {
        std::string in;
        std::size_t units;
        std::string out;
    };
    const Case cases[] = {
        {"abcdef", 3, "abc"},
        {kPhoto + "x", 2, kPhoto},      // a syllable is one unit
        {"a" + sunrise + "b", 2, "a"},  // the pair does not fit in one
        {"a" + sunrise + "b", 3, "a" + sunrise},
        {"abc", 0, ""},
        {"abc", 10, "abc"},
    };
    for (const Case& c : cases) EXPECT_EQ(corv::CutToUtf16Units(c.in, c.units), c.out) << c.in;
}

TEST(StoredText, TheMarkDecidesHowBytesRead) {
    const FakeCodePage codePage;
    struct Case {
        std::string bytes;
        std::string text;
        corv::TextEncoding encoding;
    };
    const Case cases[] = {
        {"", "", corv::TextEncoding::Ansi},
        {"C:\\" + kPhotoAnsi + "\r\n", "C:\\" + kPhoto + "\r\n", corv::TextEncoding::Ansi},
        {kMark + u8"C:\\Café\r\n", u8"C:\\Café\r\n", corv::TextEncoding::Utf8},
        {kMark, "", corv::TextEncoding::Utf8},
        // Broken UTF-8 after the mark: the valid part reads as written.
        {kMark + "ok\n\xC3\n" + kPhoto, "ok\n\xEF\xBF\xBD\n" + kPhoto, corv::TextEncoding::Utf8},
        // Without the mark UTF-8 bytes are code page bytes, as before.
        {"\xEC\x82\xAC", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD", corv::TextEncoding::Ansi},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(corv::EncodingOf(c.bytes), c.encoding) << c.bytes;
        EXPECT_EQ(corv::DecodeStoredText(c.bytes, codePage), c.text) << c.bytes;
    }
}

TEST(StoredText, WritesTheCodePageWhenEverythingFitsElseMarkedUtf8) {
    const FakeCodePage codePage;
    struct Case {
        std::string text;
        std::size_t longest;
        std::string bytes;
    };
    const std::string longLine(259, 'p');
    const Case cases[] = {
        {"", std::string::npos, ""},
        {"&\r\n", std::string::npos, "&\r\n"},
        {"C:\\" + kPhoto + ",2\r\n", std::string::npos, "C:\\" + kPhotoAnsi + ",2\r\n"},
        {kPhoto + "\r\n" + u8"Café-été\r\n", std::string::npos,
         kMark + kPhoto + "\r\n" + u8"Café-été\r\n"},
        {u8"🌅 노을", std::string::npos, kMark + u8"🌅 노을"},
        // A line longer than an old reader takes whole.
        {longLine + "\r\n", 258, kMark + longLine + "\r\n"},
        {std::string(258, 'p') + "\r\n", 258, std::string(258, 'p') + "\r\n"},
    };
    for (const Case& c : cases) {
        const std::string bytes = corv::EncodeStoredText(c.text, codePage, c.longest);
        EXPECT_EQ(bytes, c.bytes) << c.text;
        EXPECT_EQ(corv::DecodeStoredText(bytes, codePage), c.text) << c.text;
    }
}

TEST(StoredListFile, AnOldFileInTheCodePageIsWrittenBackByteForByte) {
    const FakeCodePage codePage;
    corvtest::TempDir dir;
    const std::string path = dir.File("list.txt");
    const std::string old = "C:\\" + kPhotoAnsi + ",2\r\nD:\\pics,1\r\n&\r\nC:\\" + kPhotoAnsi +
                            "\\a.jpg\r\nC:\\" + kPhotoAnsi + "\\b.jpg\r\nD:\\pics\\c.png\r\n";
    corvtest::WriteFile(path, old);
    corv::AppState state;
    ASSERT_EQ(corv::LoadCatalogue(state, path, codePage), 3);
    EXPECT_EQ(state.folderList[0].path, "C:\\" + kPhoto);
    EXPECT_EQ(state.pictureList[1], "C:\\" + kPhoto + "\\b.jpg");
    ASSERT_TRUE(corv::SaveCatalogue(state, path, codePage));
    EXPECT_EQ(corvtest::ReadFile(path), old);
}

TEST(StoredListFile, ANameTheCodePageLacksTurnsTheFileIntoMarkedUtf8) {
    const FakeCodePage codePage;
    corvtest::TempDir dir;
    const std::string path = dir.File("list.txt");
    corv::AppState state;
    for (const Name& name : Names()) {
        state.folderList.push_back(corv::MakeFolderEntry("C:\\" + name.utf8, 1));
        state.pictureList.push_back("C:\\" + name.utf8 + "\\" + name.utf8 + ".jpg");
    }
    ASSERT_TRUE(corv::SaveCatalogue(state, path, codePage));
    const std::string bytes = corvtest::ReadFile(path);
    EXPECT_EQ(bytes.substr(0, 3), kMark);
    EXPECT_NE(bytes.find(u8"C:\\写真,1\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("C:\\" + kPhoto + ",1\r\n"), std::string::npos);  // 사진 in UTF-8 too

    // Read again (a start after an exit): every name as it was, and written
    // once more byte for byte.
    corv::AppState again;
    ASSERT_EQ(corv::LoadCatalogue(again, path, codePage), static_cast<int>(Names().size()));
    EXPECT_EQ(again.folderList, state.folderList);
    EXPECT_EQ(again.pictureList, state.pictureList);
    ASSERT_TRUE(corv::SaveCatalogue(again, path, codePage));
    EXPECT_EQ(corvtest::ReadFile(path), bytes);

    // Once the last such name is gone, the file goes back to the code page.
    corv::AppState korean;
    korean.folderList = corvtest::Folders({"C:\\" + kPhoto + ",0"});
    ASSERT_TRUE(corv::SaveCatalogue(korean, path, codePage));
    EXPECT_EQ(corvtest::ReadFile(path), "C:\\" + kPhotoAnsi + ",0\r\n&\r\n");
}

TEST(StoredListFile, LongPathsAndBrokenUtf8ReadWithoutLoss) {
    const FakeCodePage codePage;
    corvtest::TempDir dir;
    const std::string path = dir.File("list.txt");
    // A picture under a 300-character path: a code page file would split
    // it at the old line buffer, so the file is UTF-8 and keeps it whole.
    corv::AppState state;
    const std::string deep = "C:\\" + std::string(300, 'd');
    state.folderList.push_back(corv::MakeFolderEntry(deep, 1));
    state.pictureList.push_back(deep + "\\a.jpg");
    ASSERT_TRUE(corv::SaveCatalogue(state, path, codePage));
    corv::AppState again;
    ASSERT_EQ(corv::LoadCatalogue(again, path, codePage), 1);
    EXPECT_EQ(again.pictureList, state.pictureList);
    EXPECT_EQ(again.folderList, state.folderList);

    // Invalid bytes after the mark: the lines around them read as written.
    corvtest::WriteFile(path, kMark + "C:\\ok,1\r\n&\r\nC:\\ok\\\xC3\x28.jpg\r\nC:\\ok\\" + kPhoto +
                                  ".jpg\r\n\xF5\xFF");
    corv::AppState broken;
    ASSERT_EQ(corv::LoadCatalogue(broken, path, codePage), 3);
    EXPECT_EQ(broken.folderList, corvtest::Folders({"C:\\ok,1"}));
    EXPECT_EQ(broken.pictureList[0], "C:\\ok\\\xEF\xBF\xBD(.jpg");
    EXPECT_EQ(broken.pictureList[1], "C:\\ok\\" + kPhoto + ".jpg");
    EXPECT_EQ(broken.pictureList[2], "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(StoredProfile, ACodePageFileStaysByteIdenticalUntilANameDoesNotFit) {
    const FakeCodePage codePage;
    corvtest::TempDir dir;
    const std::string path = dir.File("env.ini");
    const std::string old =
        "[DEFAULT]\r\nbackimagename=C:\\" + kPhotoAnsi + "\\b.jpg\r\nisframe=0\r\n";
    corvtest::WriteFile(path, old);
    {
        corv::ProfileFile file(path, codePage);
        file.Load();
        EXPECT_EQ(file.Read("DEFAULT", "backimagename", "", 260), "C:\\" + kPhoto + "\\b.jpg");
        file.Write("DEFAULT", "backimagename", "C:\\" + kPhoto + "\\b.jpg");
        file.Write("DEFAULT", "isframe", "1");
        ASSERT_TRUE(file.Save());
    }
    EXPECT_EQ(corvtest::ReadFile(path),
              "[DEFAULT]\r\nbackimagename=C:\\" + kPhotoAnsi + "\\b.jpg\r\nisframe=1\r\n");
    {
        corv::ProfileFile file(path, codePage);
        file.Load();
        file.Write("DEFAULT", "maskfilename", u8"C:\\ทะเล\\m.gif");
        ASSERT_TRUE(file.Save());
        EXPECT_EQ(file.Encoding(), corv::TextEncoding::Utf8);
    }
    // The whole file is UTF-8 now, the Korean value included.
    EXPECT_EQ(corvtest::ReadFile(path),
              kMark + "[DEFAULT]\r\nbackimagename=C:\\" + kPhoto +
                  "\\b.jpg\r\nisframe=1\r\nmaskfilename=" + u8"C:\\ทะเล\\m.gif\r\n");
    corv::ProfileFile back(path, codePage);
    back.Load();
    EXPECT_EQ(back.Read("default", "MASKFILENAME", "", 260), u8"C:\\ทะเล\\m.gif");
    EXPECT_EQ(back.Read("DEFAULT", "backimagename", "", 260), "C:\\" + kPhoto + "\\b.jpg");
    back.Write("DEFAULT", "isframe", "1");  // unchanged: nothing to write
    EXPECT_FALSE(back.Changed());
}

TEST(StoredProfile, MarkedFilesCutInUtf16UnitsAndSkipBrokenBytes) {
    const FakeCodePage codePage;
    corv::ProfileFile file("unused.ini", codePage);
    file.Parse(kMark + "[DEFAULT]\r\nname=a" + u8"🌅" + "b\r\nbad=x\xC3\r\nymfontname=" + u8"写真" +
               "\r\n");
    EXPECT_EQ(file.Read("DEFAULT", "name", "", 3), "a");  // the pair does not fit in 2
    EXPECT_EQ(file.Read("DEFAULT", "name", "", 4), "a" + std::string(u8"🌅"));
    EXPECT_EQ(file.Read("DEFAULT", "bad", "", 260), "x\xEF\xBF\xBD");
    EXPECT_EQ(file.Read("DEFAULT", "ymfontname", "", 260), u8"写真");
    EXPECT_EQ(file.Serialize().substr(0, 3), kMark);
}

TEST(StoredDayAndSlotFiles, BothEncodingsRead) {
    const FakeCodePage codePage;
    corv::SpecialDays days;
    corv::ParseSpecialDays(kMark + u8"1.1-ทะเล\r\n5.5-" + kPhoto + "\r\n", days, codePage);
    EXPECT_EQ(days.at("1.1"), u8"ทะเล\n");
    EXPECT_EQ(days.at("5.5"), kPhoto + "\n");
    corv::SpecialDays old;
    corv::ParseSpecialDays("5.5-" + kPhotoAnsi + "\r\n", old, codePage);
    EXPECT_EQ(old.at("5.5"), kPhoto + "\n");

    std::vector<corv::SlotRect> slots;
    corv::ParseSlots(kMark + "1,2,3,4\r\n5,6,7,8\r\n", slots);
    EXPECT_EQ(slots, (std::vector<corv::SlotRect>{{1, 2, 3, 4}, {5, 6, 7, 8}}));
}
