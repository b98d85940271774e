// The user's desktop at start: which wallpaper is the user's (also after a
// run that ended without putting it back) and the desktop colour.
#include <gtest/gtest.h>

#include <string>

#include "engine/desktop_settings.h"
#include "engine/paths.h"
#include "unit/test_util.h"

namespace {

using corv::ApplyDesktopValues;
using corv::DesktopValues;
using corv::ParseDesktopColor;
using corv::Settings;
using corvtest::ReadFile;
using corvtest::TempDir;
using corvtest::WriteFile;

constexpr uint32_t kUntouched = 0x12345678;

uint32_t Parse(const std::string& text) {
    corv::Argb argb{kUntouched};
    ParseDesktopColor(text, argb);
    return argb.value;
}

TEST(DesktopColor, ThreeNumbersGiveAnOpaqueColour) {
    EXPECT_EQ(0xFF3A6EA5u, Parse("58 110 165"));
    EXPECT_EQ(0xFF000000u, Parse("0 0 0"));
    EXPECT_EQ(0xFFFFFFFFu, Parse("255 255 255"));
    // Runs of blanks and tabs separate like one blank; a fourth number is
    // not looked at.
    EXPECT_EQ(0xFF010203u, Parse("  1 \t 2   3  "));
    EXPECT_EQ(0xFF010203u, Parse("1 2 3 4"));
}

TEST(DesktopColor, OnlyTheLowEightBitsOfEachNumberCount) {
    EXPECT_EQ(0xFF002C01u, Parse("256 300 257"));
    EXPECT_EQ(0xFFFF0000u, Parse("-1 0 0"));
}

TEST(DesktopColor, FewerThanThreeNumbersLeaveTheColour) {
    for (const char* text : {"", "   ", "10", "10 20", "10 20 x", "a b c", "10 20 3x", "+ 1 2"}) {
        corv::Argb argb{kUntouched};
        EXPECT_FALSE(ParseDesktopColor(text, argb)) << text;
        EXPECT_EQ(kUntouched, argb.value) << text;
    }
}

TEST(PathText, SameFileRegardlessOfCaseAndSlash) {
    EXPECT_TRUE(corv::SamePathText("C:\\Prog\\Corvalendrine.bmp", "c:\\PROG\\corvalendrine.BMP"));
    EXPECT_TRUE(corv::SamePathText("C:/Prog/a.bmp", "C:\\Prog\\a.bmp"));
    EXPECT_FALSE(corv::SamePathText("C:\\Prog\\a.bmp", "C:\\Prog\\b.bmp"));
    EXPECT_FALSE(corv::SamePathText("C:\\Prog\\a.bmp", "C:\\Prog\\a.bmp2"));
    // "사진" and "Café" in UTF-8: only ASCII letters fold ("É" and "é" are
    // two names).
    EXPECT_TRUE(corv::SamePathText("C:\\\xEC\x82\xAC\xEC\xA7\x84", "c:\\\xEC\x82\xAC\xEC\xA7\x84"));
    EXPECT_TRUE(corv::SamePathText("C:\\Caf\xC3\xA9\\A.bmp", "c:\\CAF\xC3\xA9/a.BMP"));
    EXPECT_FALSE(corv::SamePathText("C:\\Caf\xC3\xA9", "C:\\Caf\xC3\x89"));
}

class UserWallpaper : public ::testing::Test {
protected:
    Settings Apply(const DesktopValues& values) {
        Settings settings;
        settings.programDir = dir.Path();
        ApplyDesktopValues(settings, values);
        return settings;
    }
    static DesktopValues Wallpaper(const std::string& path) {
        DesktopValues values;
        values.hasWallpaper = true;
        values.wallpaper = path;
        return values;
    }
    std::string Own() const { return corv::OwnWallpaperPath(dir.Path()); }
    std::string Ini() const { return dir.File("env.ini"); }

    TempDir dir;
};

TEST_F(UserWallpaper, TheRegistryWallpaperIsTheUsers) {
    WriteFile(Ini(), "[DEFAULT]\r\noriwallpath=C:\\old.bmp\r\n");
    EXPECT_EQ("C:\\mine.bmp", Apply(Wallpaper("C:\\mine.bmp")).userWallpaper);
}

TEST_F(UserWallpaper, TheProgramsOwnFileMeansTheRememberedOne) {
    WriteFile(Ini(), "[DEFAULT]\r\noriwallpath=C:\\old.bmp\r\n");
    EXPECT_EQ("C:\\old.bmp", Apply(Wallpaper(Own())).userWallpaper);
    // The same file written with other letters or slashes is still ours.
    std::string other = Own();
    for (char& c : other) c = c == '/' ? '\\' : static_cast<char>(std::toupper(c));
    EXPECT_EQ("C:\\old.bmp", Apply(Wallpaper(other)).userWallpaper);
}

TEST_F(UserWallpaper, NothingRememberedGivesNoWallpaper) {
    EXPECT_EQ("", Apply(Wallpaper(Own())).userWallpaper);
    WriteFile(Ini(), "[DEFAULT]\r\nchangetime=5\r\n");
    EXPECT_EQ("", Apply(Wallpaper(Own())).userWallpaper);
}

TEST_F(UserWallpaper, TheRememberedPathIsNeverTheProgramsOwnFile) {
    WriteFile(Ini(), "[DEFAULT]\r\noriwallpath=" + Own() + "\r\n");
    EXPECT_EQ("", Apply(Wallpaper(Own())).userWallpaper);
}

TEST_F(UserWallpaper, ALongRememberedPathComesBackWhole) {
    const std::string longPath = "C:\\" + std::string(400, 'p') + ".bmp";
    WriteFile(Ini(), "[DEFAULT]\r\noriwallpath=" + longPath + "\r\n");
    EXPECT_EQ(longPath, Apply(Wallpaper(Own())).userWallpaper);
}

TEST_F(UserWallpaper, AMissingValueGivesNoWallpaper) {
    DesktopValues values;
    values.wallpaper = "C:\\ignored.bmp";
    EXPECT_EQ("", Apply(values).userWallpaper);
}

TEST_F(UserWallpaper, WithoutAProgramFolderNothingIsRecovered) {
    Settings settings;
    ApplyDesktopValues(settings, Wallpaper(corv::OwnWallpaperPath("")));
    EXPECT_EQ(corv::OwnWallpaperPath(""), settings.userWallpaper);
}

TEST_F(UserWallpaper, ALineBreakNeverReachesEnvIni) {
    Settings settings = Apply(Wallpaper("C:\\a.bmp\r\n[evil]\r\nkey=1"));
    EXPECT_EQ("C:\\a.bmp", settings.userWallpaper);
    ASSERT_TRUE(corv::SaveUserWallpaperPath(settings));
    EXPECT_EQ("[DEFAULT]\r\noriwallpath=C:\\a.bmp\r\n", ReadFile(Ini()));
}

TEST_F(UserWallpaper, TheDesktopColourIsSetOnlyByAFullValue) {
    DesktopValues values = Wallpaper("");
    values.hasBackground = true;
    values.background = "58 110 165";
    EXPECT_EQ(0xFF3A6EA5u, Apply(values).desktopColor.value);
    values.background = "58 110";
    EXPECT_EQ(0xFF000000u, Apply(values).desktopColor.value);
    values.hasBackground = false;
    values.background = "58 110 165";
    EXPECT_EQ(0xFF000000u, Apply(values).desktopColor.value);
}

TEST_F(UserWallpaper, SavingKeepsEverythingElseInEnvIni) {
    WriteFile(Ini(), "[DEFAULT]\r\nchangetime=20\r\noriwallpath=C:\\old.bmp\r\n[other]\r\nx=1\r\n");
    Settings settings = Apply(Wallpaper("C:\\new.bmp"));
    ASSERT_TRUE(corv::SaveUserWallpaperPath(settings));
    EXPECT_EQ("[DEFAULT]\r\nchangetime=20\r\noriwallpath=C:\\new.bmp\r\n[other]\r\nx=1\r\n",
              ReadFile(Ini()));
}

TEST_F(UserWallpaper, AFirstStartMakesEnvIniWithThePathOnly) {
    Settings settings = Apply(Wallpaper(""));
    ASSERT_TRUE(corv::SaveUserWallpaperPath(settings));
    EXPECT_EQ("[DEFAULT]\r\noriwallpath=\r\n", ReadFile(Ini()));
}

TEST_F(UserWallpaper, AReadOnlyEnvIniIsLeftAsItWas) {
    const std::string before = "[DEFAULT]\r\noriwallpath=C:\\old.bmp\r\n";
    WriteFile(Ini(), before);
    corvtest::MakeReadOnly(Ini());
    Settings settings = Apply(Wallpaper("C:\\new.bmp"));
    EXPECT_FALSE(corv::SaveUserWallpaperPath(settings));
    EXPECT_EQ(before, ReadFile(Ini()));
}

}  // namespace

namespace {

DesktopValues Styled(const std::string& wallpaper, const std::string& tile,
                     const std::string& style) {
    DesktopValues values;
    values.hasWallpaper = true;
    values.wallpaper = wallpaper;
    values.hasStyle = true;
    values.tileWallpaper = tile;
    values.wallpaperStyle = style;
    return values;
}

}  // namespace

TEST(WallpaperStyle, SplitTakesTwoWholeNumbers) {
    struct Case {
        const char* text;
        bool ok;
        const char* tile;
        const char* style;
    };
    for (const Case& c :
         {Case{"0,10", true, "0", "10"}, Case{"1,0", true, "1", "0"}, Case{"", false, "t", "s"},
          Case{"1", false, "t", "s"}, Case{",2", false, "t", "s"}, Case{"1,x", false, "t", "s"},
          Case{"1,2,3", false, "t", "s"}}) {
        SCOPED_TRACE(c.text);
        std::string tile = "t", style = "s";
        EXPECT_EQ(corv::SplitWallpaperStyle(c.text, tile, style), c.ok);
        EXPECT_EQ(tile, c.tile);
        EXPECT_EQ(style, c.style);
    }
}

// The tile style the program sets for several monitors replaces the user's
// style values: they are kept in env.ini and found again after a crash.
TEST_F(UserWallpaper, TheUsersStyleIsReadAndRecoveredAfterACrash) {
    Settings mine = Apply(Styled("C:\\mine.bmp", "0", "10"));
    EXPECT_EQ(mine.userWallpaperStyle, "0,10");
    EXPECT_FALSE(mine.restoreWallpaperStyle);
    ASSERT_TRUE(corv::SaveUserWallpaperPath(mine));
    ASSERT_TRUE(corv::SaveUserWallpaperStyle(mine));
    EXPECT_EQ("[DEFAULT]\r\noriwallpath=C:\\mine.bmp\r\noriwallstyle=0,10\r\n", ReadFile(Ini()));
    // The next start finds the program's file tiled.
    Settings recovered = Apply(Styled(Own(), "1", "0"));
    EXPECT_EQ(recovered.userWallpaper, "C:\\mine.bmp");
    EXPECT_EQ(recovered.userWallpaperStyle, "0,10");
    EXPECT_TRUE(recovered.restoreWallpaperStyle);
}

TEST_F(UserWallpaper, StyleRecoveryWithoutOrWithAnEmptyKeptValue) {
    // A crash of a run that never tiled: the registry's values are the user's.
    WriteFile(Ini(), "[DEFAULT]\r\noriwallpath=C:\\old.bmp\r\n");
    Settings untiled = Apply(Styled(Own(), "0", "2"));
    EXPECT_EQ(untiled.userWallpaperStyle, "0,2");
    EXPECT_FALSE(untiled.restoreWallpaperStyle);
    // The user had no values: an empty kept value means none to put back.
    WriteFile(Ini(), "[DEFAULT]\r\noriwallpath=C:\\old.bmp\r\noriwallstyle=\r\n");
    Settings none = Apply(Styled(Own(), "1", "0"));
    EXPECT_EQ(none.userWallpaperStyle, "");
    EXPECT_TRUE(none.restoreWallpaperStyle);
    // Values that are no numbers are not the user's.
    EXPECT_EQ(Apply(Styled("C:\\a.bmp", "yes", "2")).userWallpaperStyle, "");
}

TEST(MonitorWallpapers, OwnFilesAreTheProgramsWallpapersOnly) {
    const std::string dir = "C:\\prog";
    EXPECT_EQ(corv::OwnMonitorWallpaperPath(dir, 0), corv::JoinPath(dir, "Corvalendrine.bmp"));
    EXPECT_EQ(corv::OwnMonitorWallpaperPath(dir, 1), corv::JoinPath(dir, "Corvalendrine-2.bmp"));
    struct Case {
        const char* path;
        bool own;
    };
    for (const Case& c :
         {Case{"C:\\prog\\Corvalendrine.bmp", true}, Case{"c:/PROG/corvalendrine-2.BMP", true},
          Case{"C:\\prog\\Corvalendrine-12.bmp", true},
          Case{"C:\\prog\\Corvalendrine-1.bmp", false}, Case{"C:\\prog\\Corvalendrine-.bmp", false},
          Case{"C:\\prog\\Corvalendrine-2x.bmp", false},
          Case{"C:\\prog\\Corvalendrine-99999999999.bmp", false},
          Case{"C:\\other\\Corvalendrine-2.bmp", false}, Case{"", false}}) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(corv::IsOwnWallpaperFile(c.path, dir), c.own);
    }
    EXPECT_FALSE(corv::IsOwnWallpaperFile("Corvalendrine.bmp", ""));
}

TEST(MonitorWallpapers, JoinedAndSplitAgainWhateverTheTexts) {
    corv::MonitorWallpapers w;
    w.position = 4;
    w.monitors = {{"\\\\?\\DISPLAY#A#1", "C:\\a b.jpg"}, {"\\\\?\\DISPLAY#B#2", ""}};
    const std::string text = corv::JoinMonitorWallpapers(w);
    EXPECT_EQ(text, "4|\\\\?\\DISPLAY#A#1|C:\\a b.jpg|\\\\?\\DISPLAY#B#2|");
    const corv::MonitorWallpapers back = corv::SplitMonitorWallpapers(text);
    EXPECT_EQ(back.position, 4);
    ASSERT_EQ(back.monitors.size(), 2u);
    EXPECT_EQ(back.monitors[0].path, "C:\\a b.jpg");
    EXPECT_EQ(back.monitors[1].monitor, "\\\\?\\DISPLAY#B#2");
    EXPECT_EQ(back.monitors[1].path, "");
    // A separator or a line break inside a text cannot add fields or lines.
    w.monitors = {{"M|1", "C:\\x\r\ny|z.bmp"}};
    EXPECT_EQ(corv::JoinMonitorWallpapers(w), "4|M1|C:\\xyz.bmp");
    EXPECT_EQ(corv::JoinMonitorWallpapers(corv::MonitorWallpapers{}), "");
    // Malformed values give what can be read.
    struct Case {
        const char* text;
        int position;
        std::size_t monitors;
    };
    for (const Case& c :
         {Case{"", -1, 0}, Case{"x|M|p", -1, 1}, Case{"2|M", 2, 0}, Case{"2||p|N|q", 2, 1},
          Case{"1|M|p|N", 1, 1}, Case{"3|M|p\r\n9|N|q", 3, 1}}) {
        SCOPED_TRACE(c.text);
        const corv::MonitorWallpapers m = corv::SplitMonitorWallpapers(c.text);
        EXPECT_EQ(m.position, c.position);
        EXPECT_EQ(m.monitors.size(), c.monitors);
    }
}

TEST(MonitorWallpapers, AfterABadEndTheRememberedPicturesAreTheUsers) {
    Settings s;
    s.programDir = "C:\\prog";
    s.userWallpaper = "C:\\single.bmp";
    corv::MonitorWallpapers current;
    current.position = 0;
    current.monitors = {{"A", "C:\\prog\\Corvalendrine.bmp"},
                        {"B", "C:\\prog\\Corvalendrine-2.bmp"},
                        {"C", "C:\\prog\\Corvalendrine-3.bmp"},
                        {"D", "C:\\mine.jpg"}};
    const std::string remembered = "4|A|C:\\left.jpg|b|C:\\prog\\Corvalendrine-2.bmp|D|C:\\old.jpg";
    const corv::MonitorWallpapers users = corv::UsersMonitorWallpapers(current, remembered, s);
    EXPECT_EQ(users.position, 4);
    ASSERT_EQ(users.monitors.size(), 4u);
    EXPECT_EQ(users.monitors[0].path, "C:\\left.jpg");    // remembered for it
    EXPECT_EQ(users.monitors[1].path, "C:\\single.bmp");  // remembered was ours
    EXPECT_EQ(users.monitors[2].path, "C:\\single.bmp");  // nothing remembered
    EXPECT_EQ(users.monitors[3].path, "C:\\mine.jpg");    // the user's own stays
    // A clean start takes what the system shows, whatever was remembered.
    current.monitors = {{"A", "C:\\now.jpg"}};
    const corv::MonitorWallpapers clean = corv::UsersMonitorWallpapers(current, remembered, s);
    EXPECT_EQ(clean.position, 0);
    EXPECT_EQ(clean.monitors[0].path, "C:\\now.jpg");
    // Without a remembered position the current one stays.
    current.monitors = {{"A", "C:\\prog\\Corvalendrine.bmp"}};
    s.userWallpaper = "C:\\prog\\Corvalendrine.bmp";
    const corv::MonitorWallpapers none = corv::UsersMonitorWallpapers(current, "garbage", s);
    EXPECT_EQ(none.position, 0);
    EXPECT_EQ(none.monitors[0].path, "");  // never the program's own file
}
