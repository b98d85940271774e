// The picture catalogue: the chosen folders, the pictures found below them,
// list.txt, and the choice of the next picture in order or at random without
// repeats, with one step of history.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "base/stored_text.h"
#include "engine/app_state.h"
#include "engine/platform.h"

namespace corv {

// The extensions of the picture formats the program decodes, in lower case:
// jpg, jpeg, jpe, jfif, png, bmp, dib, gif, tif, tiff, webp, avif, heic, heif.
const std::vector<std::string>& PictureExtensions();

// A file whose extension (after the last dot, in any case) is one of them.
bool HasPictureExtension(const std::string& name);

// A file with such an extension, or whose name's last three characters, in
// lower case, are jpg, bmp, gif, png or tif (with or without a dot).
bool IsPictureFile(const std::string& name);

// A folder line of list.txt, "path,count", taken apart. The count never
// holds a comma, so the line is split at its last comma, and a path may hold
// commas itself. A line whose last piece is not a number is all path.
FolderEntry SplitFolderEntry(const std::string& line);
// A folder and the number of pictures found in it.
FolderEntry MakeFolderEntry(const std::string& path, int32_t count);
// The entry's line in list.txt: as it was read, or "path,count".
std::string FolderEntryLine(const FolderEntry& entry);

// Reads list.txt into folderList and pictureList; the number of pictures
// read (0 when the file cannot be read). A file that is there but cannot be
// read sets catalogueUnreadable. The file is UTF-8 when it has the mark,
// else in `codePage`.
int LoadCatalogue(AppState& state, const std::string& path,
                  const AnsiCodePage& codePage = SystemAnsiCodePage());
// The same for the file's bytes.
int ParseCatalogue(AppState& state, const std::string& data,
                   const AnsiCodePage& codePage = SystemAnsiCodePage());
// list.txt's text (UTF-8) before line ends become CR LF.
std::string CatalogueText(const AppState& state);
// The file's bytes: in `codePage`, as earlier versions wrote it, when every
// path fits it and reads back whole; else UTF-8 with the mark.
std::string CatalogueFileBytes(const AppState& state,
                               const AnsiCodePage& codePage = SystemAnsiCodePage());
// Writes list.txt in one step; false when it could not be written (the old
// file then stays as it was) or when it was unreadable at load.
bool SaveCatalogue(const AppState& state, const std::string& path,
                   const AnsiCodePage& codePage = SystemAnsiCodePage());

// Appends every picture below `folder` to pictureList and returns how many.
// `step` is called once for every entry met (the settings sheet's progress
// bar). Links and junctions are not followed, and the depth is bounded, so a
// scan always ends.
int ScanFolder(AppState& state, FileSystem& fs, const std::string& folder,
               const std::function<void()>& step = nullptr);
// The number of entries below `folder`, "." and ".." included.
int CountEntries(FileSystem& fs, const std::string& folder);

// The program's random numbers with those a dropped pick gave back drawn
// first, so that dropping a pick made ahead changes no later draw.
class ReturningRandom : public Random {
public:
    ReturningRandom(Random& inner, std::deque<int>& returned)
        : inner_(inner), returned_(returned) {}
    int Next() override;

private:
    Random& inner_;
    std::deque<int>& returned_;
};

struct PickSources {
    FileSystem& fs;
    Random& random;
    Clock& clock;
    std::function<void()> step;  // progress of a rescan, may be empty
    // The list was just read from the folders (on the worker): an empty
    // one is not read again in this pick.
    bool listScanned = false;
    // Where a pick notes the entries it takes out of the list; may be null.
    std::vector<std::pair<std::size_t, std::string>>* taken = nullptr;
};

// Whether the next forward pick reads the folders again first: there are
// folders, the list is empty (the end of a random round, or a list.txt
// that names only folders) and no pick was made ahead.
bool PickNeedsRescan(const AppState& state);

// Makes forward picks ahead until `count` wait. None is made while the
// next pick would first read the folders again (that belongs to the
// change itself), and a pick ahead never reads them.
void MakePicksAhead(AppState& state, PickSources& sources, std::size_t count);
// The next forward pick: the oldest pick made ahead while its file is
// still there; otherwise every pick ahead is given back and the pick is
// made now, exactly as it would have been without them.
std::string TakeNextPick(AppState& state, PickSources& sources);
// Gives every pick made ahead back, newest first: the list, the position
// in order and the miss count are as if they had never been made.
void DropPicksAhead(AppState& state);

// The next picture's path, or "" (no folders, a rescan, or a third missing
// file).
std::string PickNextPicture(AppState& state, PickSources& sources);

// Moves the one-step history: forward picks a new picture, backward shows
// the previous one again.
void StepPicture(AppState& state, int direction, PickSources& sources);

}  // namespace corv
