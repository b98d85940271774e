// Control ids of the program picker (dialog IDD_PROGRAM_PICKER).
#pragma once

#define IDC_PICKER_LIST 1098
#define IDC_PICKER_ACCEPT 1100
#define IDC_PICKER_RESCAN 1101
#define IDC_PICKER_CANCEL 1002
