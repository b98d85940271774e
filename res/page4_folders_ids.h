// Control ids of the folders page (dialog IDD_PAGE_FOLDERS).
#pragma once

#define IDC_FOLDER_LIST 1005
#define IDC_FOLDER_TOTAL 1006
#define IDC_FOLDER_PROGRESS 1073
#define IDC_FOLDER_ADD 1104
#define IDC_FOLDER_DELETE 1105
#define IDC_FOLDER_RESCAN 1001
