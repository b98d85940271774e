#include "compose/calendar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/fake_code_page.h"
#include "support/recording_imaging.h"
#include "unit/test_util.h"

using corv::DaysInMonth;
using corv::FirstWeekdayIndex;
using corv::IsLeapYear;
using corv::LocalDate;
using corv::Settings;
using corv::SpecialDays;
using corvtest::RecordingImaging;
using corvtest::RecordingSurface;
using corvtest::TempDir;
using corvtest::WriteFile;

namespace {

// Calendar colours as env.ini holds them (0x00BBGGRR) and as drawn.
constexpr uint32_t kWhite = 0x00EEEEEE, kWhiteArgb = 0xFFEEEEEE;
constexpr uint32_t kBlue = 0x00FF8000, kBlueArgb = 0xFF0080FF;
constexpr uint32_t kRed = 0x000000F0, kRedArgb = 0xFFF00000;
constexpr uint32_t kTitle = 0x00123456, kTitleArgb = 0xFF563412;

struct CalendarScene {
    Settings settings;
    RecordingImaging imaging;
    RecordingSurface canvas{imaging.log, "canvas"};
    SpecialDays days;
    std::string programDir = "prog";

    CalendarScene() {
        settings.whitedaycolor = corv::ColorRef{kWhite};
        settings.bluedaycolor = corv::ColorRef{kBlue};
        settings.reddaycolor = corv::ColorRef{kRed};
        settings.yymmcolor = corv::ColorRef{kTitle};
        settings.ymfontname = "Georgia";
        settings.ddfontname = "Tahoma";
        settings.isbold1 = true;
        settings.isitalic1 = true;
        settings.isitalic2 = true;
    }
    void Draw(int year, int month, int today, corv::RectI work = {0, 0, 1024, 738}, int dpi = 96) {
        LocalDate date;
        date.year = year;
        date.month = month;
        date.day = today;
        corv::DrawCalendar(canvas, imaging, work, date, settings, days, programDir, dpi);
    }
    std::string Mark() const { return corv::TodayMarkPath(programDir); }
};

// One drawn day number: its shadow (black) layout and the colour of the
// number drawn over it.
struct DayText {
    float x = 0, y = 0, width = 0, height = 0;
    std::string color;
};

// The day numbers as drawn, by number; the title is skipped.
std::map<int, DayText> DayTexts(const RecordingImaging& imaging) {
    std::map<int, DayText> out;
    for (const std::string& line : imaging.Lines("canvas: text \"")) {
        int day = 0;
        char family[32];
        float size = 0, x = 0, y = 0, w = 0, h = 0;
        int style = 0;
        char color[16];
        if (std::sscanf(line.c_str(), "canvas: text \"%d\" %31s %f %d (%f,%f,%f,%f) %15s", &day,
                        family, &size, &style, &x, &y, &w, &h, color) != 9)
            continue;
        if (std::string(color) == "ff000000")
            out[day] = DayText{x, y, w, h, ""};
        else
            out[day].color = color;
    }
    return out;
}

std::string DayKeyFor(bool marked, int month, int day) {
    return (marked ? "*" : "") + std::to_string(month) + "." + std::to_string(day);
}

}  // namespace

TEST(CalendarDates, LeapYearsAndMonthLengths) {
    EXPECT_TRUE(IsLeapYear(2008));
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_FALSE(IsLeapYear(2007));
    EXPECT_EQ(DaysInMonth(2, 2008), 29);
    EXPECT_EQ(DaysInMonth(2, 2007), 28);
    EXPECT_EQ(DaysInMonth(2, 2100), 28);
    const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int m = 1; m <= 12; ++m) EXPECT_EQ(DaysInMonth(m, 2007), lengths[m - 1]) << m;
    EXPECT_EQ(DaysInMonth(0, 2007), 0);
    EXPECT_EQ(DaysInMonth(13, 2007), 0);
    EXPECT_EQ(DaysInMonth(-1, 2007), 0);
}

TEST(CalendarDates, WeekdayIndexMatchesKnownDates) {
    // 0 Saturday, 1 Sunday, 2 Monday ... 6 Friday.
    EXPECT_EQ(FirstWeekdayIndex(2007, 1), 1);
    EXPECT_EQ((6 + FirstWeekdayIndex(2007, 1)) % 7, 0);    // 6 Jan 2007, a Saturday
    EXPECT_EQ((1 + FirstWeekdayIndex(2000, 1)) % 7, 0);    // 1 Jan 2000, a Saturday
    EXPECT_EQ((1 + FirstWeekdayIndex(1970, 1)) % 7, 5);    // 1 Jan 1970, a Thursday
    EXPECT_EQ((29 + FirstWeekdayIndex(2008, 2)) % 7, 6);   // 29 Feb 2008, a Friday
    EXPECT_EQ((25 + FirstWeekdayIndex(2023, 12)) % 7, 2);  // 25 Dec 2023, a Monday
    EXPECT_EQ((1 + FirstWeekdayIndex(1, 1)) % 7, 2);       // proleptic 1 Jan 1, a Monday
}

TEST(CalendarDates, EveryMonthFollowsOnFromTheOneBefore) {
    for (int year = 1; year <= 2400; ++year) {
        for (int month = 1; month <= 12; ++month) {
            const int nextYear = month == 12 ? year + 1 : year;
            const int nextMonth = month == 12 ? 1 : month + 1;
            const int expected = (FirstWeekdayIndex(year, month) + DaysInMonth(month, year)) % 7;
            ASSERT_EQ(FirstWeekdayIndex(nextYear, nextMonth), expected) << year << "-" << month;
        }
    }
}

TEST(CalendarDraw, TitleBarAndDayStripHugTheWorkArea) {
    CalendarScene s;
    s.Draw(2007, 5, 3);
    const auto gradients = s.imaging.Lines("canvas: gradient");
    ASSERT_EQ(gradients.size(), 2u);
    EXPECT_EQ(gradients[0], "canvas: gradient (824,656,200,30) 01010000 d2000000 0");
    EXPECT_EQ(gradients[1], "canvas: gradient (224,694,800,16) 00000000 d2000000 0");
    const auto texts = s.imaging.Lines("canvas: text \"2007. 5.\"");
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "canvas: text \"2007. 5.\" Georgia 30 3 (824,656,190,30) ff000000 far "
                         "center",
                         "canvas: text \"2007. 5.\" Georgia 30 3 (823,656,190,30) ff563412 far "
                         "center",
                     }));
    EXPECT_EQ(s.imaging.log.front(), gradients[0]);  // the title bar comes first
}

TEST(CalendarDraw, WorkAreaAwayFromTheOriginMovesEverything) {
    CalendarScene s;
    s.Draw(2007, 1, 40, {100, 50, 800, 600});  // R = 900, B = 650
    EXPECT_EQ(s.imaging.Lines("canvas: gradient")[1],
              "canvas: gradient (100,606,800,16) 00000000 d2000000 0");
    const auto days = DayTexts(s.imaging);
    EXPECT_EQ(days.at(31).x + days.at(31).width, 890.0f);
    EXPECT_EQ(days.at(31).y, 606.0f);
}

TEST(CalendarDraw, DayNumbersStepLeftFromTheRightEdge) {
    CalendarScene s;
    s.Draw(2007, 1, 40);  // no such day: no mark
    const float right = 1024;
    const auto days = DayTexts(s.imaging);
    ASSERT_EQ(days.size(), 31u);
    EXPECT_EQ(days.at(31).x + days.at(31).width, right - 10);
    EXPECT_EQ(days.at(30).x + days.at(30).width, right - 36);
    EXPECT_EQ(days.at(10).x + days.at(10).width, right - 556);
    EXPECT_EQ(days.at(9).x + days.at(9).width, right - 582);
    EXPECT_EQ(days.at(8).x + days.at(8).width, right - 602);
    EXPECT_EQ(days.at(1).x + days.at(1).width, right - 742);
    for (const auto& entry : days) {
        EXPECT_EQ(entry.second.x, 224.0f);  // every layout starts at R - 800
        EXPECT_EQ(entry.second.height, 16.0f);
    }
    // The last day is drawn first, and with the day font.
    const auto texts = s.imaging.Lines("canvas: text");
    ASSERT_GE(texts.size(), 4u);
    EXPECT_EQ(texts[2].rfind("canvas: text \"31\" Tahoma 16 2 ", 0), 0u) << texts[2];
    EXPECT_EQ(texts.back().rfind("canvas: text \"1\" ", 0), 0u) << texts.back();
    EXPECT_TRUE(s.imaging.Lines("load").empty());
}

TEST(CalendarDraw, MonthLengthDecidesHowManyNumbers) {
    for (auto [year, count] : {std::pair<int, size_t>{2008, 29}, {2007, 28}}) {
        CalendarScene s;
        s.Draw(year, 2, 1);
        const auto days = DayTexts(s.imaging);
        EXPECT_EQ(days.size(), count) << year;
        EXPECT_EQ(days.rbegin()->first, static_cast<int>(count));
        EXPECT_EQ(days.rbegin()->second.x + days.rbegin()->second.width, 1014.0f);
    }
    CalendarScene bad;
    bad.Draw(2007, 13, 1);  // no such month: title and bars only
    EXPECT_TRUE(DayTexts(bad.imaging).empty());
    EXPECT_EQ(bad.imaging.Lines("canvas: gradient").size(), 2u);
}

TEST(CalendarDraw, TodayMarkSitsOverTheNumber) {
    struct Case {
        int today;
        std::string draw;  // mark rectangle: right edge - 24 (one digit) or - 29
    };
    for (const Case& c : {Case{9, "(418,688,32,32)"}, Case{10, "(439,688,32,32)"},
                          Case{31, "(985,688,32,32)"}, Case{1, "(258,688,32,32)"}}) {
        SCOPED_TRACE(c.today);
        CalendarScene s;
        s.imaging.AddPicture(s.Mark(), 64, 64, 32);
        s.Draw(2007, 1, c.today);
        const std::string mark = "canvas: draw " + s.Mark() + " " + c.draw;
        EXPECT_EQ(s.imaging.Lines("canvas: draw"), (std::vector<std::string>{mark}));
        // Drawn right after its own number, before the number of the day before.
        const auto& log = s.imaging.log;
        auto at = std::find(log.begin(), log.end(), mark);
        ASSERT_NE(at, log.end());
        auto textOf = [&](int day) {
            const std::string prefix = "canvas: text \"" + std::to_string(day) + "\"";
            return std::find_if(log.begin(), log.end(),
                                [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
        };
        EXPECT_LT(textOf(c.today), at);
        if (c.today > 1) {
            EXPECT_GT(textOf(c.today - 1), at);
        }
        EXPECT_EQ(s.imaging.Lines("load").size(), 1u);
    }
}

TEST(CalendarDraw, MissingTodayMarkStillDrawsTheNumbers) {
    CalendarScene s;  // red.png not registered: it fails to decode
    s.Draw(2007, 1, 15);
    EXPECT_EQ(s.imaging.Lines("load"), (std::vector<std::string>{"load " + s.Mark() + " failed"}));
    EXPECT_TRUE(s.imaging.Lines("canvas: draw").empty());
    EXPECT_EQ(DayTexts(s.imaging).size(), 31u);
}

TEST(CalendarDraw, DayColoursByWeekdayHolidayAndMark) {
    CalendarScene s;
    s.days["1.1"] = "new year\n";
    s.days["1.6"] = "a Saturday holiday\n";
    s.days["*1.8"] = "marked\n";
    s.days["1.9"] = "both\n";
    s.days["*1.9"] = "both\n";
    s.days["1.10 "] = "blank before the dash never matches\n";
    s.days["2.3"] = "other month\n";
    s.Draw(2007, 1, 40);
    const auto days = DayTexts(s.imaging);
    auto color = [&](int d) { return days.at(d).color; };
    EXPECT_EQ(color(1), corvtest::Hex(kRedArgb));     // listed Monday
    EXPECT_EQ(color(2), corvtest::Hex(kWhiteArgb));   // Tuesday
    EXPECT_EQ(color(3), corvtest::Hex(kWhiteArgb));   // Wednesday, listed for February only
    EXPECT_EQ(color(6), corvtest::Hex(kRedArgb));     // Saturday holiday: red, not blue
    EXPECT_EQ(color(7), corvtest::Hex(kRedArgb));     // Sunday
    EXPECT_EQ(color(8), "ffffff9d");                  // marked Monday
    EXPECT_EQ(color(9), "ffffff9d");                  // marked wins over listed
    EXPECT_EQ(color(10), corvtest::Hex(kWhiteArgb));  // key with a blank: no match
    EXPECT_EQ(color(13), corvtest::Hex(kBlueArgb));   // plain Saturday
    EXPECT_EQ(color(14), corvtest::Hex(kRedArgb));    // plain Sunday
    EXPECT_EQ(color(31), corvtest::Hex(kWhiteArgb));  // Wednesday
}

namespace {

SpecialDays LoadText(const std::string& text, bool* opened = nullptr) {
    TempDir dir;
    const std::string path = dir.File("xdaylist.txt");
    WriteFile(path, text);
    SpecialDays days;
    const bool ok = corv::LoadSpecialDays(path, days, corvtest::FakeCodePage());
    if (opened) *opened = ok;
    return days;
}

}  // namespace

TEST(SpecialDaysFile, KeysLabelsCommentsAndDashes) {
    bool opened = false;
    const SpecialDays days = LoadText(
        "// 1.1-a comment is never an entry\r\n"
        "1.1-\xbd\xc5\xc1\xa4\r\n"  // a code page label (신정), CRLF line end
        "*3.14-mark\n"
        "--6.6-memorial-extra-bits\n"
        "5.5 -blank before the dash\n"
        "no dash at all\n"
        "----\n"
        "8.15--double dash\n"
        "12.25-last line without end",
        &opened);
    EXPECT_TRUE(opened);
    // In UTF-8; the line end belongs to the label.
    EXPECT_EQ(days.at("1.1"), "\xEC\x8B\xA0\xEC\xA0\x95\n");
    EXPECT_EQ(days.at("*3.14"), "mark\n");
    EXPECT_EQ(days.at("6.6"), "memorial");
    EXPECT_EQ(days.count("5.5"), 0u);
    EXPECT_EQ(days.at("5.5 "), "blank before the dash\n");
    EXPECT_EQ(days.at("no dash at all\n"), "");  // a key that never matches a day
    EXPECT_EQ(days.at("\n"), "");                // the dashes are skipped, the end stays
    EXPECT_EQ(days.at("8.15"), "double dash\n");
    EXPECT_EQ(days.at("12.25"), "last line without end");
    for (const auto& entry : days) EXPECT_NE(entry.first.rfind("//", 0), 0u) << entry.first;
    EXPECT_EQ(days.size(), 8u);
}

TEST(SpecialDaysFile, LastDuplicateWinsAndEarlierEntriesStay) {
    TempDir dir;
    const std::string path = dir.File("xdaylist.txt");
    WriteFile(path, "5.5-first\n3.1-other\n5.5-second\n");
    SpecialDays days{{"9.9", "kept from before\n"}};
    ASSERT_TRUE(corv::LoadSpecialDays(path, days));
    EXPECT_EQ(days.at("5.5"), "second\n");
    EXPECT_EQ(days.at("3.1"), "other\n");
    EXPECT_EQ(days.at("9.9"), "kept from before\n");
}

TEST(SpecialDaysFile, LinesLongerThan99BytesGoOnAsNewLines) {
    // 99 bytes of comment, then an entry that a 100-byte buffer reads as a
    // line of its own.
    const std::string comment = "//" + std::string(97, 'c');
    const std::string longLabel = "1.1-" + std::string(146, 'x') + "\n";
    const SpecialDays days = LoadText(comment + "2.2-tail\n" + longLabel);
    EXPECT_EQ(days.at("2.2"), "tail\n");
    EXPECT_EQ(days.at("1.1"), std::string(95, 'x'));  // the first 99 bytes
    EXPECT_EQ(days.at(std::string(51, 'x') + "\n"), "");
    EXPECT_EQ(days.size(), 3u);
}

TEST(SpecialDaysFileBadInput, MissingOrUnreadableFileLeavesTheTableAlone) {
    TempDir dir;
    SpecialDays days{{"1.1", "x"}};
    EXPECT_FALSE(corv::LoadSpecialDays(dir.File("absent.txt"), days));
    EXPECT_FALSE(corv::LoadSpecialDays(dir.Path(), days));  // a folder
    EXPECT_EQ(days, (SpecialDays{{"1.1", "x"}}));
}

TEST(SpecialDaysFileBadInput, BinaryAndZeroBytesGiveDefinedEntries) {
    // Built with lengths: a literal would stop at the first zero byte.
    const std::string data = std::string("1.1\0-hidden\n", 12) + std::string("\0\0\0\n", 4) +
                             "\xff\xfe-\x01\n" + "3.1-ok\n";
    const SpecialDays days = LoadText(data);
    EXPECT_EQ(days.at("1.1"), "");  // what follows the zero is not seen
    // Bytes the code page does not define read as U+FFFD each.
    EXPECT_EQ(days.at("\xEF\xBF\xBD\xEF\xBF\xBD"), "\x01\n");
    EXPECT_EQ(days.at("3.1"), "ok\n");
    EXPECT_EQ(days.size(), 3u);
}

TEST(SpecialDaysFileBadInput, FiveMegabytesOfLinesLoadWholly) {
    std::string data;
    data.reserve(5u * 1024 * 1024 + 64);
    unsigned seed = 12345;
    while (data.size() < 5u * 1024 * 1024) {
        seed = seed * 1103515245u + 12345u;
        const unsigned month = seed % 20, day = (seed >> 8) % 40, len = (seed >> 16) % 140;
        data += std::to_string(month) + "." + std::to_string(day) + "-" + std::string(len, 'z') +
                (seed % 3 == 0 ? "\r\n" : "\n");
    }
    data += "12.31-last\n";
    bool opened = false;
    const SpecialDays days = LoadText(data, &opened);
    EXPECT_TRUE(opened);
    EXPECT_EQ(days.at("12.31"), "last\n");
    EXPECT_GT(days.size(), 500u);
}

TEST(SpecialDaysFileBadInput, OversizedFileIsNotRead) {
    std::string data(17u * 1024 * 1024, '\n');
    data.replace(0, 6, "1.1-x\n");
    bool opened = true;
    const SpecialDays days = LoadText(data, &opened);
    EXPECT_FALSE(opened);
    EXPECT_TRUE(days.empty());
}

TEST(ShippedSpecialDays, SampleListHoldsTheFixedHolidays) {
    const char* testData = std::getenv("CORV_TEST_DATA");
    if (testData == nullptr) GTEST_SKIP() << "CORV_TEST_DATA is not set";
    const std::string path =
        (std::filesystem::path(testData).parent_path().parent_path() / "data" / "xdaylist.txt")
            .string();
    SpecialDays days;
    ASSERT_TRUE(corv::LoadSpecialDays(path, days));
    for (const char* key : {"1.1", "3.1", "5.5", "6.6", "8.15", "10.3", "10.9", "12.25"})
        EXPECT_EQ(days.count(key), 1u) << key;
    // Every entry is a real date written the way the calendar looks it up.
    for (const auto& [key, label] : days) {
        int month = 0, day = 0;
        ASSERT_EQ(std::sscanf(key.c_str() + (key[0] == '*'), "%d.%d", &month, &day), 2) << key;
        EXPECT_EQ(key, DayKeyFor(key[0] == '*', month, day));
        EXPECT_GE(day, 1);
        EXPECT_LE(day, DaysInMonth(month, 2008)) << key;
        EXPECT_GT(label.size(), 1u) << key;
        EXPECT_EQ(label.back(), '\n') << key;
    }
}

// On a 1920 x 1080 work area at 100 %, 125 %, 150 % and 200 %: the bars,
// fonts, number steps and the today mark grow together, so the calendar
// keeps its proportions; at 96 DPI it is the calendar of the tests above.
TEST(CalendarDraw, GrowsWithTheDisplayScale) {
    struct Case {
        int dpi;
        std::string titleBar, strip, titleSize, daySize;
        float day31Right, day10Right, day1Right, shadow;
        std::string mark;  // today = 10
    };
    const Case cases[] = {
        {96, "(1720,998,200,30)", "(1120,1036,800,16)", "30", "16", 1910, 1364, 1178, 1,
         "(1335,1030,32,32)"},
        {120, "(1670,977,250,38)", "(920,1025,1000,20)", "37.5", "20", 1907.5f, 1225, 992.5f, 1.25f,
         "(1188,1017,40,40)"},
        {144, "(1620,957,300,45)", "(720,1014,1200,24)", "45", "24", 1905, 1086, 807, 1.5f,
         "(1042,1005,48,48)"},
        {192, "(1520,916,400,60)", "(320,992,1600,32)", "60", "32", 1900, 808, 436, 2,
         "(750,980,64,64)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        CalendarScene s;
        s.imaging.AddPicture(s.Mark(), 64, 64, 32);
        s.Draw(2007, 1, 10, {0, 0, 1920, 1080}, c.dpi);
        const auto gradients = s.imaging.Lines("canvas: gradient");
        ASSERT_EQ(gradients.size(), 2u);
        EXPECT_EQ(gradients[0], "canvas: gradient " + c.titleBar + " 01010000 d2000000 0");
        EXPECT_EQ(gradients[1], "canvas: gradient " + c.strip + " 00000000 d2000000 0");
        EXPECT_EQ(s.imaging.Lines("canvas: text \"2007. 1.\" Georgia " + c.titleSize + " ").size(),
                  2u);
        EXPECT_EQ(s.imaging.Lines("canvas: text \"31\" Tahoma " + c.daySize + " ").size(), 2u);
        const auto days = DayTexts(s.imaging);
        ASSERT_EQ(days.size(), 31u);
        EXPECT_EQ(days.at(31).x + days.at(31).width, c.day31Right);
        EXPECT_EQ(days.at(10).x + days.at(10).width, c.day10Right);
        EXPECT_EQ(days.at(1).x + days.at(1).width, c.day1Right);
        EXPECT_EQ(s.imaging.Lines("canvas: draw"),
                  (std::vector<std::string>{"canvas: draw " + s.Mark() + " " + c.mark}));
        // The coloured number lies the shadow's offset left of its shadow.
        float coloured = 0, shadow = 0;
        for (const std::string& line : s.imaging.Lines("canvas: text \"31\"")) {
            float x = 0;
            char color[16];
            ASSERT_EQ(
                std::sscanf(line.c_str(),
                            "canvas: text \"31\" Tahoma %*f %*d (%f,%*f,%*f,%*f) %15s", &x, color),
                2);
            (std::string(color) == "ff000000" ? shadow : coloured) = x;
        }
        EXPECT_EQ(shadow - coloured, c.shadow);
    }
}

// A large scale on a small screen: the strip shrinks to the work area's
// width instead of running past its left edge, and the title with it.
TEST(CalendarDraw, StaysOnANarrowWorkArea) {
    CalendarScene s;
    s.Draw(2007, 1, 40, {0, 0, 1024, 738}, 144);  // 122 DPI: 1017 pixels
    const auto gradients = s.imaging.Lines("canvas: gradient");
    ASSERT_EQ(gradients.size(), 2u);
    EXPECT_EQ(gradients[0], "canvas: gradient (770,634,254,38) 01010000 d2000000 0");
    EXPECT_EQ(gradients[1], "canvas: gradient (7,682,1017,20) 00000000 d2000000 0");
    const auto days = DayTexts(s.imaging);
    ASSERT_EQ(days.size(), 31u);
    EXPECT_GE(days.at(1).x + days.at(1).width - 20, 7.0f);  // day 1 is on the screen
}
