// The program picker on a real window: the chosen titles shown first and
// checked, a fourth check refused by the list itself, and a rescan that
// lets the marks go.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/program_picker_ids.h"
#include "widgets/program_picker_win.h"

namespace {

bool SetRowCheck(HWND list, int row, bool checked) {
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    const UINT state = static_cast<UINT>(
        SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK));
    return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

std::vector<std::string> Marked(const std::vector<corv::PickerRow>& rows) {
    std::vector<std::string> marked;
    for (const corv::PickerRow& row : rows) marked.push_back(row.title + (row.checked ? "*" : ""));
    return marked;
}

}  // namespace

TEST(ProgramPickerWindow, ShowsChosenTitlesAndRefusesAFourthCheck) {
    corv::CProgramList picker;
    // None of these titles belongs to an open window.
    picker.selection = {"corv-gone-1", "corv-gone-2", "corv-gone-3", "corv-gone-4"};
    ASSERT_TRUE(picker.Create());
    HWND list = GetDlgItem(picker.Handle(), IDC_PICKER_LIST);
    ASSERT_NE(list, nullptr);

    std::vector<corv::PickerRow> rows = picker.Rows();
    ASSERT_GE(rows.size(), 4u);
    EXPECT_EQ(
        Marked(std::vector<corv::PickerRow>(rows.begin(), rows.begin() + 4)),
        (std::vector<std::string>{"corv-gone-1*", "corv-gone-2*", "corv-gone-3*", "corv-gone-4"}));
    for (std::size_t i = 4; i < rows.size(); ++i) EXPECT_FALSE(rows[i].checked) << rows[i].title;

    // Three are checked: the fourth is refused, by the list itself.
    EXPECT_FALSE(SetRowCheck(list, 3, true));
    EXPECT_FALSE(picker.Rows()[3].checked);
    // Once one is cleared, another may be checked.
    EXPECT_FALSE(SetRowCheck(list, 0, false));
    EXPECT_TRUE(SetRowCheck(list, 3, true));
    EXPECT_EQ(corv::CheckedTitles(picker.Rows()),
              (std::vector<std::string>{"corv-gone-2", "corv-gone-3", "corv-gone-4"}));

    // The refusal's message was posted; it is not shown once the window is
    // gone.
    picker.EndDialog(IDCANCEL);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

TEST(ProgramPickerWindow, RescanListsOnlyOpenWindowsUnchecked) {
    corv::CProgramList picker;
    picker.selection = {"corv-gone"};
    ASSERT_TRUE(picker.Create());
    ASSERT_FALSE(picker.Rows().empty());
    EXPECT_TRUE(picker.Rows()[0].checked);
    SendMessageW(picker.Handle(), WM_COMMAND, MAKEWPARAM(IDC_PICKER_RESCAN, BN_CLICKED), 0);
    for (const corv::PickerRow& row : picker.Rows()) {
        EXPECT_FALSE(row.checked) << row.title;
        EXPECT_NE(row.title, "corv-gone");
    }
    picker.EndDialog(IDCANCEL);
}
