// Control ids of the mask chooser (dialog IDD_MASK_CHOOSER).
#pragma once

#define IDD_MASK_CHOOSER 147

#define IDC_MASK_VIEW 1005
#define IDC_MASK_CANCEL 1082
#define IDC_MASK_SELECT 1083
