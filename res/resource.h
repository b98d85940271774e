// Resource ids shared by corvalendrine.rc and the code, and the numbers by
// which other programs reach the running program. The end-to-end tests use
// every id of res/ by its name (tests/e2e/run).
#pragma once

// Dialogs.
#define IDD_ABOUTBOX 100
#define IDD_MAIN 102
// The settings sheet's pages, in tab order: 104, 105, 145, 103, 136, 106.
#define IDD_PAGE_FOLDERS 103
#define IDD_PAGE_BACKGROUND 104
#define IDD_PAGE_PICTURE 105
#define IDD_PAGE_MISC 106
#define IDD_PAGE_CALENDAR 136
#define IDD_PAGE_EFFECTS 145

// Strings.
#define IDS_OLE_INIT_FAILED 100
#define IDS_VERSION 102

// Icons.
#define IDI_PROGRAM 128
#define IDI_SUNDAY 137  // one per weekday, Sunday first: 137 + weekday
#define IDI_MONDAY 138
#define IDI_TUESDAY 139
#define IDI_WEDNESDAY 140
#define IDI_THURSDAY 141
#define IDI_FRIDAY 142
#define IDI_SATURDAY 143
#define IDI_PAUSE 148
#define IDI_TRAY 156

// Menus.
#define IDR_TRAYMENU 129
#define IDR_IMGPOS 154

// Tray menu commands.
#define ID_NEXT_PICTURE 32778
#define ID_PAUSE 32781
#define ID_ABOUT 32782
#define ID_PREVIOUS_PICTURE 32786
#define ID_DELETE_PICTURE 32788
#define ID_SETTINGS 32789
#define ID_EXIT 32790
#define ID_OPEN_PICTURE 32791
#define ID_CLEAR_SCREEN 32793
#define ID_DESKTOP_ICONS 32801

// The notification icon: its id is that of the menu it opens (the first
// command of that menu is its double-click), and its mouse events come to
// the main window as the message WM_TRAY_NOTIFY (WM_USER + 10).
#define ID_TRAY_ICON IDR_TRAYMENU
#define WM_TRAY_NOTIFY 1034

// Placement slot menu.
#define ID_IMGPOS_DELETE 32800

// About box controls.
#define IDC_VERSION_TEXT 1059
#define IDC_HOMEPAGE 1071
#define IDC_EMAIL 1111

// The placement slot editor: its tool bar and a slot window.
#define IDD_IMGPOS_SET 152
#define IDD_IMGPOS_SLOT 153
// The program picker of the miscellaneous page.
#define IDD_PROGRAM_PICKER 151
