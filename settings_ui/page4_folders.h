// The folders page's decisions: which folder may be added and which listed
// folders a new one takes in, the total of pictures, and the full rescan of
// every listed folder.
//
// A folder contains another when the other's path continues below it with a
// backslash: C:\pics contains C:\pics\2006 but not C:\pics2. Paths are
// compared case-insensitively (ASCII letters; paths are UTF-8).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/app_state.h"
#include "engine/platform.h"
#include "res/page4_folders_ids.h"

namespace corv {

// `path` (UTF-8) with its ASCII letters in lower case; every other
// character is left as it is.
std::string LowerPath(const std::string& path);

// True when `inner` lies below `outer` (both in lower case).
bool FolderContains(const std::string& outer, const std::string& inner);

enum class AddVerdict {
    Added,     // the folder is to be scanned and listed
    Root,      // a drive root is refused
    Same,      // the folder is listed already
    Included,  // a listed folder contains it
};

struct AddResult {
    AddVerdict verdict = AddVerdict::Added;
    std::string folder;  // the folder in lower case, as it is listed
    // Listed folders inside the new one were taken out of folderList (with
    // their pictures); the user is told once.
    bool folded = false;
};

// Checks a folder chosen in the browser against folderList. Listed folders
// that lie inside it leave folderList, and their pictures pictureList, as
// they are met; a refusal met after some were taken out keeps those
// removals.
AddResult PrepareAddFolder(AppState& state, const std::string& chosen);

// The sum of the counts of folderList, and its text "%d pics".
int32_t TotalPictures(const std::vector<FolderEntry>& folderList);
std::string TotalText(int32_t total);

// What a scan tells the page as it goes.
struct ScanProgress {
    std::function<void(int32_t entries)> beginFolder;  // a folder of that many entries
    std::function<void()> step;                        // one entry met
};

// Scans `folder` into pictureList and returns how many pictures it holds.
int32_t ScanOneFolder(AppState& state, FileSystem& fs, const std::string& folder,
                      const ScanProgress& progress);

// Rebuilds pictureList from every listed folder, in order; a folder without
// pictures leaves folderList, the others get their new counts. A folder that
// is not there now stays listed with its last count (its pictures come back
// with the next rescan that finds it).
void RescanFolders(AppState& state, FileSystem& fs, const ScanProgress& progress);

// A folder's row in the list: its path and count, and whether the folder
// can be reached now (the row says so when it cannot).
struct FolderRow {
    std::string path;
    std::string count;
    bool connected = true;
};
FolderRow MakeFolderRow(FileSystem& fs, const FolderEntry& folder);

// The rows the page's list shows and the row chosen for deletion: the one
// last clicked. Every refill forgets the choice, since the same row number
// may then name another folder.
class FolderRows {
public:
    const std::vector<FolderRow>& Refill(const AppState& state, FileSystem& fs);
    // A click on row `row` (negative: beside every row). True when a row is
    // chosen afterwards.
    bool Click(int row);
    bool HasChoice() const { return chosen_ >= 0; }
    // Takes the chosen folder out of folderList; false when none is chosen.
    // The choice is forgotten either way.
    bool DeleteChosen(AppState& state);
    void Forget() { chosen_ = -1; }

private:
    std::vector<FolderRow> rows_;
    int chosen_ = -1;
};

}  // namespace corv
