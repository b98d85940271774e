// Control ids of the effects page (dialog IDD_PAGE_EFFECTS).
#pragma once

#define IDC_FX_FRAME_SIZE 1015
#define IDC_FX_MASK_SWITCH 1023
#define IDC_FX_MASK_PREVIEW 1027
#define IDC_FX_SHADOW_SWITCH 1033
#define IDC_FX_FRAME_SWITCH 1035
#define IDC_FX_ANGLE_LIST 1053
#define IDC_FX_RANDOM_MASK 1065
#define IDC_FX_ROTATE_SWITCH 1072
#define IDC_FX_MASK_NAME 1080
#define IDC_FX_FRAME_SPIN 1081
#define IDC_FX_CHOOSE_MASK 1084
#define IDC_FX_FRAME_COLOR 1093

// The resource type of a dialog's initial control data (the angle list's
// items): a list of (control id, message, length, bytes) records.
#define RT_DIALOG_INIT 240
