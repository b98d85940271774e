#include "settings_ui/page6_misc.h"

#include <gtest/gtest.h>

#include "widgets/program_picker_logic.h"

using corv::LabelColour;
using corv::PickerRow;
using corv::RegistryOutcome;
using corv::TopWindow;

TEST(MiscPage, ProgramLabelNumbersTheTitlesWithCommasBetween) {
    const struct {
        std::vector<std::string> titles;
        const char* text;
    } cases[] = {
        {{}, ""},
        {{"a"}, " 1.a"},
        {{"a", "b"}, " 1.a, 2.b"},
        {{"메모장", "x,y", "z"}, " 1.메모장, 2.x,y, 3.z"},
    };
    for (const auto& c : cases) EXPECT_EQ(corv::ProgramLabelText(c.titles), c.text);
}

TEST(MiscPage, BusyStopEnablesItsButtonsAndGreysItsLabelWhenOff) {
    const corv::BusyStopLook on = corv::BusyStopLookFor(true);
    EXPECT_TRUE(on.buttonsEnabled);
    EXPECT_EQ(on.back, LabelColour::ButtonHighlight);
    EXPECT_EQ(on.text, LabelColour::ButtonText);
    const corv::BusyStopLook off = corv::BusyStopLookFor(false);
    EXPECT_FALSE(off.buttonsEnabled);
    EXPECT_EQ(off.back, LabelColour::ButtonFace);
    EXPECT_EQ(off.text, LabelColour::ButtonShadow);
}

TEST(MiscPage, TrayIconTooltipAndDateCheckFollowTheSwitches) {
    EXPECT_EQ(corv::WeekdayIconFor(true, 0), 137);
    EXPECT_EQ(corv::WeekdayIconFor(true, 6), 143);  // Saturday
    EXPECT_EQ(corv::WeekdayIconFor(false, 6), 156);
    EXPECT_EQ(corv::WeekdayIconFor(true, 7), 156);
    EXPECT_EQ(corv::WeekdayIconFor(true, -1), 156);

    EXPECT_EQ(corv::AddressTooltip(true, "MY IP: 10.0.0.1", "v"), "MY IP: 10.0.0.1");
    EXPECT_EQ(corv::AddressTooltip(false, "MY IP: 10.0.0.1", "v"), "v");

    const struct {
        bool weekday;
        bool calendar;
        bool wanted;
    } cases[] = {
        {false, false, false}, {true, false, true}, {false, true, true}, {true, true, true}};
    for (const auto& c : cases) {
        corv::Settings settings;
        settings.isweekday = c.weekday;
        settings.iscalender = c.calendar;
        EXPECT_EQ(corv::DateCheckWanted(settings), c.wanted) << c.weekday << c.calendar;
    }
}

TEST(MiscPage, AutostartFailsOnlyWhenTheWantedStateIsNotReached) {
    const struct {
        bool on;
        RegistryOutcome outcome;
        bool reached;
    } cases[] = {
        {true, RegistryOutcome::Done, true},
        {true, RegistryOutcome::Failed, false},
        {true, RegistryOutcome::ValueMissing, false},
        {false, RegistryOutcome::Done, true},
        // Removed outside the program: nothing to delete is "off" reached.
        {false, RegistryOutcome::ValueMissing, true},
        {false, RegistryOutcome::Failed, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(corv::AutostartReached(c.on, c.outcome), c.reached)
            << c.on << static_cast<int>(c.outcome);
}

namespace {

TopWindow Window(const char* title, bool visible = true, bool minimized = false,
                 bool owned = false) {
    TopWindow w;
    w.title = title;
    w.visible = visible;
    w.minimized = minimized;
    w.hasOwner = owned;
    return w;
}

std::vector<std::string> Titles(const std::vector<PickerRow>& rows) {
    std::vector<std::string> titles;
    for (const PickerRow& row : rows) titles.push_back(row.title + (row.checked ? "*" : ""));
    return titles;
}

}  // namespace

TEST(ProgramPicker, OffersVisibleTitledUnownedNotMinimisedWindowsInZOrder) {
    const std::vector<TopWindow> windows = {
        Window("Editor"),
        Window("Hidden", false),
        Window("Small", true, true),
        Window("Popup", true, false, true),
        Window(""),
        Window("Program Manager"),
        Window("program manager"),  // compared exactly
        Window("Editor"),           // equal titles are all kept
        Window("메모장"),
    };
    EXPECT_EQ(corv::OfferedTitles(windows),
              (std::vector<std::string>{"Editor", "program manager", "Editor", "메모장"}));
    EXPECT_TRUE(corv::OfferedTitles({}).empty());
}

TEST(ProgramPicker, ChosenTitlesComeFirstCheckedWhetherOrNotTheyRun) {
    const struct {
        const char* name;
        std::vector<std::string> found;
        std::vector<std::string> chosen;
        std::vector<std::string> rows;  // "*" marks a checked row
    } cases[] = {
        {"nothing open, nothing chosen", {}, {}, {}},
        {"none chosen", {"A", "B"}, {}, {"A", "B"}},
        {"chosen and running takes its window's row", {"A", "B"}, {"B"}, {"B*", "A"}},
        {"chosen but not running still shows", {"A"}, {"Gone"}, {"Gone*", "A"}},
        {"two windows of one chosen title", {"A", "A"}, {"A"}, {"A*", "A"}},
        {"chosen twice, open twice", {"A", "A"}, {"A", "A"}, {"A*", "A*"}},
        {"empty chosen titles are skipped", {"A"}, {"", "A"}, {"A*"}},
        {"more than three chosen: the rest unchecked",
         {},
         {"1", "2", "3", "4"},
         {"1*", "2*", "3*", "4"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Titles(corv::OpeningRows(c.found, c.chosen)), c.rows);
    }
    EXPECT_EQ(Titles(corv::RescanRows({"A", "B"})), (std::vector<std::string>{"A", "B"}));
}

TEST(ProgramPicker, AcceptingReturnsTheCheckedTitlesAndAtMostThreeMayBeChecked) {
    const std::vector<PickerRow> rows = {{"A", true}, {"B", false}, {"A", true}, {"C", true}};
    EXPECT_EQ(corv::CheckedTitles(rows), (std::vector<std::string>{"A", "A", "C"}));
    EXPECT_TRUE(corv::CheckedTitles({{"A", false}}).empty());
    // Opening with a chosen program that is gone and accepting keeps it.
    EXPECT_EQ(corv::CheckedTitles(corv::OpeningRows({"X"}, {"Gone", "Y"})),
              (std::vector<std::string>{"Gone", "Y"}));

    EXPECT_TRUE(corv::MayCheckAnother(0));
    EXPECT_TRUE(corv::MayCheckAnother(2));
    EXPECT_FALSE(corv::MayCheckAnother(3));
    EXPECT_FALSE(corv::MayCheckAnother(4));
}
