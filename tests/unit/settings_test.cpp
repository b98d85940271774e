#include "engine/settings.h"

#include <gtest/gtest.h>

#include "test_util.h"

using corv::ProfileFile;
using corv::Settings;

namespace {

struct Loaded {
    Settings settings;
    std::vector<std::string> programs;
};

Loaded LoadFrom(const std::string& iniText) {
    ProfileFile profile("unused.ini");
    profile.Parse(iniText);
    Loaded out;
    corv::LoadSettings(out.settings, out.programs, profile);
    return out;
}

std::string SaveToText(const Settings& s, const std::vector<std::string>& programs,
                       const std::string& before = "") {
    ProfileFile profile("unused.ini");
    profile.Parse(before);
    corv::SaveSettings(s, programs, profile);
    return profile.Serialize();
}

}  // namespace

// A file without settings: every key of the table loads its default, which
// a save writes back, key by key in the table's order (the full text is
// spelled out in SettingsSave.WritesEveryKeyInOrder).
TEST(SettingsLoad, FileWithOnlyWallpaperPathGivesEveryDefault) {
    const std::string before = "[DEFAULT]\r\noriwallpath=C:\\old.bmp\r\n";
    Loaded l = LoadFrom(before);
    std::string expected = before;
    for (const corv::SettingKey& k : corv::SettingsTable())
        expected += std::string(k.key) + "=" + k.defaultText + "\r\n";
    EXPECT_EQ(SaveToText(l.settings, l.programs, before), expected);
    EXPECT_EQ(l.settings.backcolor.value, 0xFF485573u);  // 7558472: red 72, green 85, blue 115
    EXPECT_EQ(l.settings.imagepos, corv::ImagePos::Centred);
    EXPECT_FALSE(l.settings.paused);
    EXPECT_TRUE(l.programs.empty());
    // The wallpaper path is not part of the record's load.
    EXPECT_EQ(l.settings.userWallpaper, "");
}

// Each key reaches a field of its own: a value other than the default,
// alone in the file, comes back from a save under that key, and every other
// key keeps its default.
TEST(SettingsLoad, EveryKeyHasAFieldOfItsOwn) {
    using Kind = corv::SettingKey::Kind;
    const auto& table = corv::SettingsTable();
    for (const corv::SettingKey& k : table) {
        // The exception programs fill the first free keys (see
        // ExceptionProgramsSkipEmptyKeys).
        if (k.kind == Kind::Program) continue;
        SCOPED_TRACE(k.key);
        std::string value = k.kind == Kind::Text ? "x y" : "4321";
        if (k.kind == Kind::Flag) value = *k.defaultText == '1' ? "0" : "1";
        Loaded l = LoadFrom(std::string("[DEFAULT]\n") + k.readKey + "=" + value + "\n");
        const std::string saved = "\n" + SaveToText(l.settings, l.programs);
        for (const corv::SettingKey& other : table) {
            const std::string expected = &other == &k ? value : std::string(other.defaultText);
            EXPECT_NE(saved.find("\n" + std::string(other.key) + "=" + expected + "\r"),
                      std::string::npos)
                << other.key;
        }
    }
}

TEST(SettingsLoad, NumbersAndTheirReplacementRules) {
    EXPECT_EQ(LoadFrom("[DEFAULT]\nmin_sec=500\n").settings.min_sec, 1000);
    EXPECT_EQ(LoadFrom("[DEFAULT]\nmin_sec=60000\n").settings.min_sec, 60000);
    EXPECT_EQ(LoadFrom("[DEFAULT]\nmin_sec=-5\n").settings.min_sec, 1000);
    Loaded zero = LoadFrom("[DEFAULT]\npicmaxsize=0\nimagepos=0\nrememory=3\n");
    EXPECT_EQ(zero.settings.picmaxsize, 400);
    EXPECT_EQ(zero.settings.imagepos, corv::ImagePos::Centred);
    EXPECT_EQ(zero.settings.rememory, 3);
    EXPECT_EQ(LoadFrom("[DEFAULT]\nchangetime=123456\n").settings.changetime, 12345);
    EXPECT_EQ(LoadFrom("[DEFAULT]\nchangetime=-4\n").settings.changetime, -4);
    EXPECT_EQ(LoadFrom("[DEFAULT]\npicmaxsize=abc\n").settings.picmaxsize, 400);
    EXPECT_EQ(LoadFrom("[DEFAULT]\nframesize= 12px\n").settings.framesize, 12);
}

TEST(SettingsLoad, FlagsTakeAnyNonZeroNumber) {
    EXPECT_FALSE(LoadFrom("[DEFAULT]\nisframe=0\n").settings.isframe);
    EXPECT_FALSE(LoadFrom("[DEFAULT]\nisframe=abc\n").settings.isframe);
    EXPECT_TRUE(LoadFrom("[DEFAULT]\nisframe=2\n").settings.isframe);
    EXPECT_TRUE(LoadFrom("[DEFAULT]\nisframe=-1\n").settings.isframe);
    // A true-by-default flag set to 0 is false: zero leaves the reset value.
    EXPECT_FALSE(LoadFrom("[DEFAULT]\nispath=0\n").settings.ispath);
    EXPECT_FALSE(LoadFrom("[DEFAULT]\nisforeimg=0\n").settings.isforeimg);
}

TEST(SettingsLoad, StretchKeyInEitherSpelling) {
    EXPECT_FALSE(LoadFrom("[DEFAULT]\nisstretch=0\n").settings.isstretch);
    EXPECT_FALSE(LoadFrom("[DEFAULT]\nISSTRETCH=0\n").settings.isstretch);
    EXPECT_TRUE(LoadFrom("[DEFAULT]\nisStretch=1\n").settings.isstretch);
}

TEST(SettingsLoad, ColoursConvertToOpaqueArgbAndBack) {
    Loaded l = LoadFrom("[DEFAULT]\nbackcolor=255\nframecolor=123456789\n");
    EXPECT_EQ(l.settings.backcolor.value, 0xFFFF0000u);
    EXPECT_EQ(l.settings.framecolor.value, 12345678u);  // cut to 8 characters
    const std::string saved = SaveToText(l.settings, l.programs);
    EXPECT_NE(saved.find("backcolor=255\r\n"), std::string::npos);
    EXPECT_EQ(corv::ArgbToColorRef(corv::ColorRefToArgb(corv::ColorRef{0x00123456u})).value,
              0x00123456u);
    EXPECT_EQ(corv::ArgbToColorRef(corv::Argb{0x7F010203u}).value, 0x00030201u);  // alpha dropped
}

TEST(SettingsLoad, StringsAreCutTo259Bytes) {
    Loaded l = LoadFrom("[DEFAULT]\nbackimagename=" + std::string(400, 'p') + "\n");
    EXPECT_EQ(l.settings.backimagename, std::string(259, 'p'));
}

TEST(SettingsLoad, ExceptionProgramsSkipEmptyKeys) {
    Loaded l = LoadFrom("[DEFAULT]\noutprogram0=\noutprogram1=Notepad\noutprogram2=Paint\n");
    ASSERT_EQ(l.programs.size(), 2u);
    EXPECT_EQ(l.programs[0], "Notepad");
    EXPECT_EQ(l.programs[1], "Paint");
}

TEST(SettingsSave, WritesEveryKeyInOrder) {
    Loaded l = LoadFrom("");
    l.settings.isframe = true;
    l.settings.changetime = -3;
    l.settings.framecolor = corv::ColorRef{0xFFFFFFFFu};
    const std::string text = SaveToText(l.settings, {"Editor"}, "[DEFAULT]\r\noriwallpath=w\r\n");
    EXPECT_EQ(text,
              "[DEFAULT]\r\noriwallpath=w\r\n"
              "isbackimg=0\r\nisforeimg=1\r\npicmaxsize=400\r\nchangetime=-3\r\n"
              "min_sec=1000\r\nframesize=7\r\nrotatevalue=90\r\npiccleartotalcnt=10\r\n"
              "imagepos=0\r\nrememory=0\r\nmaskfilename=\r\nbackimagename=\r\n"
              "ymfontname=Georgia\r\nddfontname=Georgia\r\noutprogram0=Editor\r\n"
              "outprogram1=\r\noutprogram2=\r\nisframe=1\r\nismask=0\r\nisshadow=0\r\n"
              "isrotate=0\r\nispath=1\r\niscalender=1\r\nmaxwinstop=1\r\nnotstrech=1\r\n"
              "israndum=1\r\nisbackcolor=1\r\nisstretch=1\r\nisiptooltip=1\r\nisweekday=1\r\n"
              "isbold1=1\r\nisbold2=1\r\nisitalic1=1\r\nisitalic2=1\r\nisrndmask=0\r\n"
              "isbackgray=0\r\nisoverlap=0\r\nisiconhide=0\r\nbackcolor=7558472\r\n"
              "framecolor=-1\r\nwhitedaycolor=16777215\r\nbluedaycolor=16439668\r\n"
              "reddaycolor=8262389\r\nyymmcolor=14416893\r\nmultimonitor=0\r\noriwallpaths=\r\n");
}

TEST(SettingsSave, RoundTripKeepsEveryValue) {
    Loaded l = LoadFrom(
        "[DEFAULT]\nisframe=2\nisstretch=0\nmaskfilename=C:\\m\\\xC7\xCF\xC6\xAE.gif\n"
        "min_sec=60000\nbackcolor=16711935\noutprogram1=X\n");
    const std::string text = SaveToText(l.settings, l.programs);
    EXPECT_NE(text.find("isframe=1\r\n"), std::string::npos);
    EXPECT_NE(text.find("isstretch=0\r\n"), std::string::npos);
    EXPECT_NE(text.find("outprogram0=X\r\noutprogram1=\r\n"), std::string::npos);
    Loaded again = LoadFrom(text);
    // The Korean name as this system's code page reads it, kept as read.
    EXPECT_EQ(again.settings.maskfilename.substr(0, 5), "C:\\m\\");
    EXPECT_GT(again.settings.maskfilename.size(), 9u);
    EXPECT_EQ(again.settings.maskfilename, l.settings.maskfilename);
    EXPECT_EQ(again.settings.min_sec, 60000);
    EXPECT_EQ(again.settings.backcolor, l.settings.backcolor);
    EXPECT_FALSE(again.settings.isstretch);
    EXPECT_EQ(again.programs, l.programs);
}

TEST(SettingsSave, ResetClearsEverything) {
    Loaded l = LoadFrom("");
    l.settings.paused = true;
    l.settings.programDir = "C:\\p";
    l.settings.Reset();
    EXPECT_FALSE(l.settings.isforeimg);
    EXPECT_FALSE(l.settings.paused);
    EXPECT_EQ(l.settings.picmaxsize, 0);
    EXPECT_EQ(l.settings.programDir, "");
    EXPECT_EQ(l.settings.backcolor.value, 0xFF000000u);
}

TEST(SettingsFile, UnwritableFileKeepsItsContent) {
    corvtest::TempDir dir;
    const std::string path = dir.File("env.ini");
    corvtest::WriteFile(path, "[DEFAULT]\r\nisframe=1\r\n");
    corvtest::MakeReadOnly(path);
    Settings s;
    s.programDir = dir.Path();
    std::vector<std::string> programs;
    corv::LoadSettingsFile(s, programs);
    EXPECT_TRUE(s.isframe);
    s.isframe = false;
    EXPECT_FALSE(corv::SaveSettingsFile(s, programs));
    EXPECT_EQ(corvtest::ReadFile(path), "[DEFAULT]\r\nisframe=1\r\n");
}

TEST(SettingsFile, HugeFileStillLoadsAndSaves) {
    corvtest::TempDir dir;
    const std::string path = dir.File("env.ini");
    std::string text = "[DEFAULT]\r\nchangetime=30\r\n[junk]\r\n";
    const std::string line = "some line of filler text that goes on for a while=1\r\n";
    while (text.size() < 30u * 1024u * 1024u) text += line;
    corvtest::WriteFile(path, text);
    Settings s;
    s.programDir = dir.Path();
    std::vector<std::string> programs;
    corv::LoadSettingsFile(s, programs);
    EXPECT_EQ(s.changetime, 30);
    s.changetime = 45;
    EXPECT_TRUE(corv::SaveSettingsFile(s, programs));
    Settings again;
    again.programDir = dir.Path();
    corv::LoadSettingsFile(again, programs);
    EXPECT_EQ(again.changetime, 45);
}
