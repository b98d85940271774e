// Control ids of the placement slot editor's tool bar (IDD_IMGPOS_SET).
#pragma once

#define IDC_IMGPOS_ADD 1107
#define IDC_IMGPOS_APPLY 1108
