#include "settings_ui/page4_folders.h"

#include <algorithm>

#include "engine/catalogue.h"

namespace corv {

std::string LowerPath(const std::string& path) {
    // In UTF-8 every byte of a character beyond ASCII is 0x80 or more, so
    // no such byte looks like a letter.
    std::string lower = path;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

bool FolderContains(const std::string& outer, const std::string& inner) {
    if (outer.empty() || inner.size() <= outer.size()) return false;
    if (inner.compare(0, outer.size(), outer) != 0) return false;
    return outer.back() == '\\' || inner[outer.size()] == '\\';
}

AddResult PrepareAddFolder(AppState& state, const std::string& chosen) {
    AddResult result;
    if (chosen.size() <= 3) {
        result.verdict = AddVerdict::Root;
        return result;
    }
    const std::string folder = LowerPath(chosen);
    result.folder = folder;
    auto& folders = state.folderList;
    for (std::size_t i = 0; i < folders.size();) {
        const std::string listed = LowerPath(folders[i].path);
        if (listed == folder) {
            result.verdict = AddVerdict::Same;
            return result;
        }
        if (FolderContains(listed, folder)) {
            result.verdict = AddVerdict::Included;
            return result;
        }
        if (FolderContains(folder, listed)) {
            folders.erase(folders.begin() + static_cast<std::ptrdiff_t>(i));
            if (!result.folded) {
                result.folded = true;
                auto& pictures = state.pictureList;
                pictures.erase(std::remove_if(pictures.begin(), pictures.end(),
                                              [&](const std::string& picture) {
                                                  return FolderContains(folder, LowerPath(picture));
                                              }),
                               pictures.end());
            }
            continue;
        }
        ++i;
    }
    return result;
}

int32_t TotalPictures(const std::vector<FolderEntry>& folderList) {
    int64_t total = 0;
    for (const FolderEntry& folder : folderList) total += folder.count;
    if (total > INT32_MAX) return INT32_MAX;
    if (total < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(total);
}

std::string TotalText(int32_t total) {
    return std::to_string(total) + " pics";
}

int32_t ScanOneFolder(AppState& state, FileSystem& fs, const std::string& folder,
                      const ScanProgress& progress) {
    if (progress.beginFolder) progress.beginFolder(CountEntries(fs, folder));
    return ScanFolder(state, fs, folder, progress.step);
}

void RescanFolders(AppState& state, FileSystem& fs, const ScanProgress& progress) {
    state.pictureList.clear();
    const std::vector<FolderEntry> saved = std::move(state.folderList);
    state.folderList.clear();
    for (const FolderEntry& folder : saved) {
        // A folder on a drive that is not there now (unplugged, a network
        // share offline) keeps its place and its last count.
        if (!fs.Exists(folder.path)) {
            state.folderList.push_back(folder);
            continue;
        }
        const int32_t found = ScanOneFolder(state, fs, folder.path, progress);
        if (found != 0) state.folderList.push_back(MakeFolderEntry(folder.path, found));
    }
}

FolderRow MakeFolderRow(FileSystem& fs, const FolderEntry& folder) {
    return FolderRow{folder.path, std::to_string(folder.count), fs.Exists(folder.path)};
}

const std::vector<FolderRow>& FolderRows::Refill(const AppState& state, FileSystem& fs) {
    rows_.clear();
    for (const FolderEntry& folder : state.folderList) rows_.push_back(MakeFolderRow(fs, folder));
    chosen_ = -1;
    return rows_;
}

bool FolderRows::Click(int row) {
    chosen_ = row >= 0 && static_cast<std::size_t>(row) < rows_.size() ? row : -1;
    return HasChoice();
}

bool FolderRows::DeleteChosen(AppState& state) {
    const int row = chosen_;
    chosen_ = -1;
    if (row < 0) return false;
    auto& folders = state.folderList;
    if (static_cast<std::size_t>(row) >= folders.size()) return false;
    folders.erase(folders.begin() + row);
    if (static_cast<std::size_t>(row) < rows_.size()) rows_.erase(rows_.begin() + row);
    return true;
}

}  // namespace corv
