#include "settings_ui/page5_calendar.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "widgets/link_label_logic.h"

using corv::AppState;
using corv::ControlChange;
using corv::FontFaceFacts;
using corv::Settings;

TEST(CalendarPage, FontListsOfferTrueTypeAnsiAndHangulFacesOnADoubleByteSystem) {
    const struct {
        const char* name;
        FontFaceFacts facts;
        bool offered;
    } cases[] = {
        {"hangul truetype", {"NanumGothic", true, 129, true}, true},
        {"ansi truetype", {"Arial", true, 0, true}, true},
        {"vertical face", {"@NanumGothic", true, 129, true}, false},
        {"not truetype", {"Fixedsys", false, 0, true}, false},
        {"other character set", {"Symbol", true, 2, true}, false},
        {"shift-jis", {"MS Gothic", true, 128, true}, false},
        {"no double-byte support", {"NanumGothic", true, 129, false}, false},
        {"empty face", {"", true, 0, true}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(corv::OfferFontFace(c.facts), c.offered);
    }
}

TEST(CalendarPage, SampleHeightsRoundToTheNearestPixel) {
    const struct {
        int points;
        int dpi;
        int32_t height;
    } cases[] = {
        {22, 96, -29},                // 29.33
        {12, 96, -16},                // exactly 16
        {22, 120, -37},               // 36.67
        {12, 120, -20}, {3, 12, -1},  // 0.5 rounds away from zero
        {22, 0, -29},                 // an unknown resolution counts as 96
        {22, -5, -29},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.points << "pt at " << c.dpi);
        EXPECT_EQ(corv::SampleFontHeight(c.points, c.dpi), c.height);
    }
}

TEST(CalendarPage, EachListGivesItsSampleItsSizeAndStyleAndStoresTheFace) {
    Settings settings;
    settings.isbold1 = true;
    settings.isitalic1 = false;
    settings.isbold2 = false;
    settings.isitalic2 = true;

    const corv::SampleFont title =
        corv::SampleFontFor(settings, IDC_CAL_TITLE_FONT, "NanumGothic", 96);
    EXPECT_EQ(title.height, -29);
    EXPECT_EQ(title.weight, 700);
    EXPECT_FALSE(title.italic);
    EXPECT_EQ(title.charSet, 1);
    EXPECT_EQ(title.face, "NanumGothic");

    const corv::SampleFont date = corv::SampleFontFor(settings, IDC_CAL_DATE_FONT, "Arial", 96);
    EXPECT_EQ(date.height, -16);
    EXPECT_EQ(date.weight, 400);
    EXPECT_TRUE(date.italic);

    corv::ApplyCalendarFace(settings, IDC_CAL_TITLE_FONT, "NanumGothic");
    corv::ApplyCalendarFace(settings, IDC_CAL_DATE_FONT, "Arial");
    EXPECT_EQ(settings.ymfontname, "NanumGothic");
    EXPECT_EQ(settings.ddfontname, "Arial");
    // Any other control stores nothing.
    corv::ApplyCalendarFace(settings, IDC_CAL_SWITCH, "Other");
    EXPECT_EQ(settings.ymfontname, "NanumGothic");
    EXPECT_EQ(settings.ddfontname, "Arial");
}

TEST(CalendarPage, StyleBoxesChangeTheirSettingTheSampleAndSendFocusToTheirRow) {
    const struct {
        int id;
        bool checked;
        bool Settings::*setting;
        int sample;
        uint32_t add;
        uint32_t remove;
        int focus;
    } cases[] = {
        {IDC_CAL_TITLE_BOLD, true, &Settings::isbold1, IDC_CAL_TITLE_SAMPLE, corv::kLabelBold, 0,
         IDC_CAL_TITLE_FONT},
        {IDC_CAL_TITLE_BOLD, false, &Settings::isbold1, IDC_CAL_TITLE_SAMPLE, 0, corv::kLabelBold,
         IDC_CAL_TITLE_FONT},
        {IDC_CAL_TITLE_ITALIC, true, &Settings::isitalic1, IDC_CAL_TITLE_SAMPLE, corv::kLabelItalic,
         0, IDC_CAL_TITLE_FONT},
        {IDC_CAL_DATE_BOLD, true, &Settings::isbold2, IDC_CAL_DATE_SAMPLE, corv::kLabelBold, 0,
         IDC_CAL_DATE_FONT},
        {IDC_CAL_DATE_ITALIC, false, &Settings::isitalic2, IDC_CAL_DATE_SAMPLE, 0,
         corv::kLabelItalic, IDC_CAL_DATE_FONT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << (c.checked ? " on" : " off"));
        Settings settings;
        settings.isbold1 = settings.isbold2 = settings.isitalic1 = settings.isitalic2 = !c.checked;
        const std::vector<ControlChange> changes =
            corv::ApplyCalendarStyle(settings, c.id, c.checked);
        EXPECT_EQ(settings.*c.setting, c.checked);
        const int changed = (settings.isbold1 == c.checked) + (settings.isbold2 == c.checked) +
                            (settings.isitalic1 == c.checked) + (settings.isitalic2 == c.checked);
        EXPECT_EQ(changed, 1);
        // The sample takes the added flag or loses the removed one, then
        // the focus moves.
        const std::vector<ControlChange> expected = {
            ControlChange::Flags(c.sample, c.add | c.remove, c.add != 0),
            ControlChange::Focus(c.focus)};
        EXPECT_EQ(changes, expected);
    }
    // A list is not a style box.
    Settings settings;
    EXPECT_TRUE(corv::ApplyCalendarStyle(settings, IDC_CAL_TITLE_FONT, true).empty());
}

TEST(CalendarPage, OpeningTicksTheStylesThatAreOnAndStylesTheirSamples) {
    Settings settings;
    settings.isbold1 = false;
    settings.isbold2 = true;
    settings.isitalic1 = true;
    settings.isitalic2 = false;
    const std::vector<ControlChange> expected = {
        ControlChange::Check(IDC_CAL_DATE_BOLD, true),
        ControlChange::Flags(IDC_CAL_DATE_SAMPLE, corv::kLabelBold, true),
        ControlChange::Check(IDC_CAL_TITLE_ITALIC, true),
        ControlChange::Flags(IDC_CAL_TITLE_SAMPLE, corv::kLabelItalic, true)};
    EXPECT_EQ(corv::CalendarInitialStates(settings), expected);
    settings.isbold2 = settings.isitalic1 = false;
    EXPECT_TRUE(corv::CalendarInitialStates(settings).empty());
}

TEST(CalendarPage, SwitchRequestsAFreshCanvasAndColoursAnswerOnlyWhileOn) {
    // The group: both lists, the four style boxes and the four colours,
    // never the switch or the samples.
    const std::vector<int>& group = corv::CalendarGroup();
    EXPECT_EQ(group.size(), 10u);
    for (int id : {IDC_CAL_SWITCH, IDC_CAL_TITLE_SAMPLE, IDC_CAL_DATE_SAMPLE})
        EXPECT_EQ(std::count(group.begin(), group.end(), id), 0) << id;
    const auto groupEnabled = [&group](bool on) {
        std::vector<ControlChange> changes;
        for (int id : group) changes.push_back(ControlChange::Enable(id, on));
        return changes;
    };

    AppState state;
    EXPECT_EQ(corv::ApplyCalendarSwitch(state, true), groupEnabled(true));
    EXPECT_TRUE(state.settings.iscalender);
    EXPECT_EQ(state.freshCanvasRequested, 1);
    EXPECT_TRUE(corv::CalendarColorsActive(state.settings));
    state.freshCanvasRequested = 0;
    EXPECT_EQ(corv::ApplyCalendarSwitch(state, false), groupEnabled(false));
    EXPECT_FALSE(state.settings.iscalender);
    EXPECT_EQ(state.freshCanvasRequested, 1);
    EXPECT_FALSE(corv::CalendarColorsActive(state.settings));

    // Each colour button reaches its own setting, unconverted.
    Settings settings;
    const struct {
        int id;
        corv::ColorRef Settings::*field;
    } colours[] = {{IDC_CAL_TITLE_COLOR, &Settings::yymmcolor},
                   {IDC_CAL_WEEKDAY_COLOR, &Settings::whitedaycolor},
                   {IDC_CAL_SATURDAY_COLOR, &Settings::bluedaycolor},
                   {IDC_CAL_SUNDAY_COLOR, &Settings::reddaycolor}};
    for (const auto& c : colours)
        EXPECT_EQ(corv::CalendarColorSetting(settings, c.id), &(settings.*c.field));
    EXPECT_EQ(corv::CalendarColorSetting(settings, IDC_CAL_SWITCH), nullptr);
}
