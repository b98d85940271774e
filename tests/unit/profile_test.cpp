#include "engine/profile.h"

#include <gtest/gtest.h>

#include "engine/file_io.h"
#include "support/fake_code_page.h"
#include "test_util.h"

using corv::ProfileFile;
using corvtest::ReadFile;
using corvtest::TempDir;
using corvtest::WriteFile;

namespace {

ProfileFile Parsed(const std::string& text) {
    ProfileFile p("unused.ini");
    p.Parse(text);
    return p;
}

std::string Get(ProfileFile& p, const std::string& section, const std::string& key,
                std::size_t size = 260) {
    return p.Read(section, key, "DEF", size);
}

}  // namespace

TEST(ProfileRead, NamesIgnoreCaseAndSurroundingBlanks) {
    ProfileFile p = Parsed("[Default]\r\n  Key1  =  val one  \r\n[ x  y ]\r\nk=2\r\n");
    EXPECT_EQ(Get(p, "DEFAULT", "KEY1"), "val one");
    EXPECT_EQ(Get(p, " default ", " key1"), "val one");
    EXPECT_EQ(Get(p, "x  y", "K"), "2");
    EXPECT_EQ(Get(p, "x y", "k"), "DEF");
}

TEST(ProfileRead, FirstSectionAndFirstKeyWin) {
    ProfileFile p = Parsed("[S]\nk=1\nk=dup\n[other]\nk=o\n[s]\nk=2\nj=3\n");
    EXPECT_EQ(Get(p, "S", "k"), "1");
    EXPECT_EQ(Get(p, "S", "j"), "DEF");  // only the first [S] is searched
}

TEST(ProfileRead, ValuesLoseMatchingQuotesOnly) {
    ProfileFile p =
        Parsed("[S]\nq=\"quoted\"\nr='single'\nopen=\"abc\nlone=\"\nmixed='x\"\neq=a=b\n");
    EXPECT_EQ(Get(p, "S", "q"), "quoted");
    EXPECT_EQ(Get(p, "S", "r"), "single");
    EXPECT_EQ(Get(p, "S", "open"), "\"abc");
    EXPECT_EQ(Get(p, "S", "lone"), "\"");
    EXPECT_EQ(Get(p, "S", "mixed"), "'x\"");
    EXPECT_EQ(Get(p, "S", "eq"), "a=b");
}

TEST(ProfileRead, LinesWithoutValueAndOddHeaders) {
    ProfileFile p = Parsed("top=1\n[S]junk\nnoeq\n=empty\n[a]b]\nk=1\n[S4\nz=3\n");
    EXPECT_EQ(Get(p, "", "top"), "1");
    EXPECT_EQ(Get(p, "S", "noeq"), "DEF");
    EXPECT_EQ(Get(p, "S", ""), "empty");
    EXPECT_EQ(Get(p, "a]b", "k"), "1");   // the last ']' closes the name
    EXPECT_EQ(Get(p, "S4", "z"), "DEF");  // no ']': not a header
    EXPECT_EQ(Get(p, "a]b", "z"), "3");
}

TEST(ProfileRead, AnyLineEndingAndByteOrderMark) {
    ProfileFile p = Parsed("\xEF\xBB\xBF[S]\rk=v\rj=w\r\nl=x\n");
    EXPECT_EQ(Get(p, "S", "k"), "v");
    EXPECT_EQ(Get(p, "S", "j"), "w");
    EXPECT_EQ(Get(p, "S", "l"), "x");
}

TEST(ProfileRead, BufferSizeCutsValueAndDefault) {
    ProfileFile p = Parsed("[S]\nlong=0123456789\n");
    EXPECT_EQ(Get(p, "S", "long", 6), "01234");
    EXPECT_EQ(Get(p, "S", "long", 1), "");
    EXPECT_EQ(Get(p, "S", "long", 0), "");
    EXPECT_EQ(p.Read("S", "none", "abcdefgh", 4), "abc");
    EXPECT_EQ(p.Read("S", "none", "  lead  ", 20), "  lead");  // trailing blanks dropped
}

TEST(ProfileRead, TwoByteCharactersStayWhole) {
    // In the code page: [한] 키=가나, each syllable two bytes; read as UTF-8.
    const corvtest::FakeCodePage codePage;
    ProfileFile p("unused.ini", codePage);
    p.Parse("[\xC7\xD1]\n\xC5\xB0=\xB0\xA1\xB3\xAA\n");
    const std::string han = "\xED\x95\x9C", key = "\xED\x82\xA4";
    EXPECT_EQ(Get(p, han, key), "\xEA\xB0\x80\xEB\x82\x98");
    EXPECT_EQ(Get(p, han, key, 4), "\xEA\xB0\x80");  // 4 bytes of the code page
    EXPECT_EQ(Get(p, han, key, 2), "");
    // A trail byte in the letter range is not a letter: 0xB0 0x41 (캚) and
    // 0xB0 0x61 (캻) are different characters.
    ProfileFile q("unused.ini", codePage);
    q.Parse("[S]\n\xB0\x41=upper\n");
    EXPECT_EQ(Get(q, "S", "\xEC\xBA\x9A"), "upper");
    EXPECT_EQ(Get(q, "S", "\xEC\xBA\xBB"), "DEF");
}

TEST(ProfileWrite, KeepsOtherKeysAndNormalisesLayout) {
    ProfileFile p = Parsed("top=1\n; note=2\n\n[Default]\n  Key1  =  one  \n\n[other]\na=b\n");
    p.Write("DEFAULT", "key1", "X");
    p.Write("default", "newkey", "N");
    p.Write("NewSec", "a", "1");
    EXPECT_EQ(p.Serialize(),
              "top=1\r\n; note=2\r\n[Default]\r\nKey1=X\r\nnewkey=N\r\n[other]\r\na=b\r\n"
              "[NewSec]\r\na=1\r\n");
}

TEST(ProfileWrite, LeadingBlanksOfNewTextAreDropped) {
    ProfileFile p = Parsed("[S]\nk=v\n");
    p.Write(" T ", " k2 ", " sp ");
    EXPECT_EQ(p.Serialize(), "[S]\r\nk=v\r\n[T ]\r\nk2 =sp \r\n");
    EXPECT_EQ(Get(p, "T", "k2"), "sp");
}

TEST(ProfileWrite, UnchangedValueLeavesFileAlone) {
    TempDir dir;
    const std::string path = dir.File("env.ini");
    WriteFile(path, "[S]\nk = v\n\n");
    ProfileFile p(path);
    p.Load();
    p.Write("s", "K", "v");
    EXPECT_FALSE(p.Changed());
    EXPECT_TRUE(p.Save());
    EXPECT_EQ(ReadFile(path), "[S]\nk = v\n\n");
    p.Write("S", "k", "w");
    EXPECT_TRUE(p.Save());
    EXPECT_EQ(ReadFile(path), "[S]\r\nk=w\r\n");
}

TEST(ProfileWrite, KeyWithoutValueGainsOne) {
    ProfileFile p = Parsed("[S]\nk\n");
    p.Write("S", "k", "");
    EXPECT_TRUE(p.Changed());
    EXPECT_EQ(p.Serialize(), "[S]\r\nk=\r\n");
}

TEST(ProfileFileIo, CreatesMissingFileAndSection) {
    TempDir dir;
    const std::string path = dir.File("env.ini");
    EXPECT_TRUE(corv::WriteIniString(path, "DEFAULT", "oriwallpath", "C:\\x.bmp"));
    EXPECT_EQ(ReadFile(path), "[DEFAULT]\r\noriwallpath=C:\\x.bmp\r\n");
    EXPECT_EQ(corv::ReadIniString(path, "default", "ORIWALLPATH", "", 260), "C:\\x.bmp");
}

TEST(ProfileFileIo, MissingFolderFailsWithoutCreatingAnything) {
    TempDir dir;
    const std::string path = dir.File("absent") + "/env.ini";
    EXPECT_FALSE(corv::WriteIniString(path, "S", "k", "v"));
    EXPECT_FALSE(corv::FileExists(dir.File("absent")));
}

TEST(ProfileFileIo, ReadOnlyFileIsNeitherChangedNorRemoved) {
    TempDir dir;
    const std::string path = dir.File("env.ini");
    WriteFile(path, "[S]\nk=old\n");
    corvtest::MakeReadOnly(path);
    EXPECT_FALSE(corv::WriteIniString(path, "S", "k", "new"));
    EXPECT_EQ(ReadFile(path), "[S]\nk=old\n");
    EXPECT_EQ(corv::ReadIniString(path, "S", "k", "", 260), "old");
    EXPECT_FALSE(corv::FileExists(path + ".new"));
}

TEST(ProfileFileIo, FolderInPlaceOfFileReadsDefaultsAndStays) {
    TempDir dir;
    const std::string path = dir.File("env.ini");
    std::filesystem::create_directory(path);
    EXPECT_EQ(corv::ReadIniString(path, "S", "k", "dflt", 260), "dflt");
    EXPECT_FALSE(corv::WriteIniString(path, "S", "k", "v"));
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST(ProfileFileIo, FailedWriteLeavesOldFileWhole) {
    TempDir dir;
    const std::string path = dir.File("env.ini");
    WriteFile(path, "[S]\r\nk=old\r\n");
    // The temporary file cannot be made: a folder holds its name.
    std::filesystem::create_directory(path + ".new");
    EXPECT_FALSE(corv::WriteIniString(path, "S", "k", "new"));
    EXPECT_EQ(ReadFile(path), "[S]\r\nk=old\r\n");
}

TEST(ProfileFileIo, LeftoverTemporaryFileIsReplaced) {
    TempDir dir;
    const std::string path = dir.File("env.ini");
    WriteFile(path, "[S]\r\nk=old\r\n");
    WriteFile(path + ".new", "[S]\r\nk=half");  // as a killed write leaves it
    EXPECT_EQ(corv::ReadIniString(path, "S", "k", "", 260), "old");
    EXPECT_TRUE(corv::WriteIniString(path, "S", "k", "new"));
    EXPECT_EQ(ReadFile(path), "[S]\r\nk=new\r\n");
    EXPECT_FALSE(corv::FileExists(path + ".new"));
}

TEST(ProfileFileIo, FileOverTheLimitIsNotRead) {
    TempDir dir;
    const std::string path = dir.File("big.ini");
    WriteFile(path, std::string(5000, 'x'));
    std::string data = "untouched";
    EXPECT_EQ(corv::ReadWholeFile(path, data, 4999), corv::ReadResult::TooLarge);
    EXPECT_EQ(data, "untouched");
    EXPECT_EQ(corv::ReadWholeFile(path, data, 5000), corv::ReadResult::Ok);
    EXPECT_EQ(data.size(), 5000u);
    EXPECT_EQ(corv::ReadWholeFile(dir.File("none"), data, 10), corv::ReadResult::Missing);
}

TEST(ProfileFileIo, BinaryGarbageParsesWithoutHarm) {
    TempDir dir;
    const std::string path = dir.File("env.ini");
    std::string garbage;
    unsigned state = 12345;
    for (int i = 0; i < 200000; ++i) {
        state = state * 1103515245u + 12345u;
        garbage += static_cast<char>(state >> 24);
    }
    WriteFile(path, garbage);
    EXPECT_EQ(corv::ReadIniString(path, "DEFAULT", "isforeimg", "1", 6), "1");
    EXPECT_TRUE(corv::WriteIniString(path, "DEFAULT", "isforeimg", "0"));
    EXPECT_EQ(corv::ReadIniString(path, "DEFAULT", "isforeimg", "1", 6), "0");
}
