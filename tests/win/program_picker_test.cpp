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

TEST(ProgramPickerWindow, TitlesOfEveryScriptShowAsTheyAre) {
    // A visible top-level window titled in Thai, Vietnamese, Japanese and
    // an emoji, none of which code page 949 holds.
    const std::wstring title = L"\u0E17\u0E30\u0E40\u0E25 H\u1ED3 T\u00E2y \u5199\u771F \U0001F305";
    HWND window = CreateWindowExW(0, L"STATIC", title.c_str(), WS_POPUP | WS_VISIBLE, 0, 0, 10, 10,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    const std::string utf8 =
        "\xE0\xB8\x97\xE0\xB8\xB0\xE0\xB9\x80\xE0\xB8\xA5 H\xE1\xBB\x93 T\xC3\xA2y "
        "\xE5\x86\x99\xE7\x9C\x9F \xF0\x9F\x8C\x85";
    corv::CProgramList picker;
    picker.selection = {utf8};
    ASSERT_TRUE(picker.Create());
    HWND list = GetDlgItem(picker.Handle(), IDC_PICKER_LIST);
    // The chosen title is the window's: it is listed once, checked, and the
    // list shows it character for character.
    const std::vector<corv::PickerRow> rows = picker.Rows();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0].title, utf8);
    EXPECT_TRUE(rows[0].checked);
    int found = 0;
    for (const corv::PickerRow& row : rows) found += row.title == utf8 ? 1 : 0;
    EXPECT_EQ(found, 1);
    wchar_t shown[128] = {};
    LVITEMW item{};
    item.iSubItem = 1;
    item.pszText = shown;
    item.cchTextMax = 128;
    SendMessageW(list, LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(std::wstring(shown), title);

    // A rescan finds it among the open windows.
    SendMessageW(picker.Handle(), WM_COMMAND, MAKEWPARAM(IDC_PICKER_RESCAN, BN_CLICKED), 0);
    found = 0;
    for (const corv::PickerRow& row : picker.Rows()) found += row.title == utf8 ? 1 : 0;
    EXPECT_EQ(found, 1);
    picker.EndDialog(IDCANCEL);
    DestroyWindow(window);
}
