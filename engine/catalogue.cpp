#include "engine/catalogue.h"

#include <algorithm>
#include <cstdint>

#include "engine/file_io.h"
#include "engine/paths.h"
#include "engine/settings.h"
#include "engine/text_lines.h"

namespace corv {

namespace {

constexpr std::size_t kLineBuffer = 260;
// Deeper folder trees than this are not scanned further.
constexpr int kMaxScanDepth = 128;
// Files above this size are not taken for list.txt.
constexpr std::size_t kMaxListFile = 512u * 1024u * 1024u;

std::string WithoutLineFeeds(const std::string& piece) {
    std::string out;
    out.reserve(piece.size());
    for (char c : piece)
        if (c != '\n') out += c;
    return out;
}

bool IsDotEntry(const std::string& name) {
    return name == "." || name == "..";
}

int Scan(AppState& state, FileSystem& fs, const std::string& folder,
         const std::function<void()>& step, int depth) {
    int count = 0;
    fs.ForEachEntry(folder, [&](const DirEntry& entry) {
        if (step) step();
        if (IsDotEntry(entry.name)) return;
        const std::string path = JoinPath(folder, entry.name);
        if (entry.isDirectory) {
            if (!entry.isLink && depth < kMaxScanDepth)
                count += Scan(state, fs, path, step, depth + 1);
        } else if (IsPictureFile(entry.name)) {
            state.pictureList.push_back(path);
            ++count;
        }
    });
    return count;
}

int Count(FileSystem& fs, const std::string& folder, int depth) {
    int total = 0;
    fs.ForEachEntry(folder, [&](const DirEntry& entry) {
        ++total;
        if (entry.isDirectory && !entry.isLink && !IsDotEntry(entry.name) && depth < kMaxScanDepth)
            total += Count(fs, JoinPath(folder, entry.name), depth + 1);
    });
    return total;
}

}  // namespace

const std::vector<std::string>& PictureExtensions() {
    static const std::vector<std::string> extensions = {"jpg",  "jpeg", "jpe",  "jfif", "png",
                                                        "bmp",  "dib",  "gif",  "tif",  "tiff",
                                                        "webp", "avif", "heic", "heif"};
    return extensions;
}

bool HasPictureExtension(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos) return false;
    std::string extension = name.substr(dot + 1);
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    for (const std::string& known : PictureExtensions())
        if (extension == known) return true;
    return false;
}

bool IsPictureFile(const std::string& name) {
    if (HasPictureExtension(name)) return true;
    if (name.size() < 3) return false;
    std::string tail = name.substr(name.size() - 3);
    for (char& c : tail)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return tail == "jpg" || tail == "bmp" || tail == "gif" || tail == "png" || tail == "tif";
}

FolderEntry SplitFolderEntry(const std::string& line) {
    FolderEntry split;
    split.path = line;
    const std::size_t comma = line.rfind(',');
    if (comma == std::string::npos) return split;
    std::size_t i = comma + 1;
    if (i < line.size() && line[i] == '-') ++i;
    if (i == line.size()) return split;
    for (std::size_t k = i; k < line.size(); ++k)
        if (line[k] < '0' || line[k] > '9') return split;
    split.path = line.substr(0, comma);
    split.countText = line.substr(comma + 1);
    split.count = ParseDecimal(split.countText);
    return split;
}

FolderEntry MakeFolderEntry(const std::string& path, int32_t count) {
    return FolderEntry{path, count, std::to_string(count)};
}

std::string FolderEntryLine(const FolderEntry& entry) {
    if (entry.countText.empty() && entry.count == 0) return entry.path;
    const bool asRead = !entry.countText.empty() && ParseDecimal(entry.countText) == entry.count;
    return entry.path + "," + (asRead ? entry.countText : std::to_string(entry.count));
}

int LoadCatalogue(AppState& state, const std::string& path, const AnsiCodePage& codePage) {
    state.pictureList.clear();
    std::string data;
    const ReadResult read = ReadWholeFile(path, data, kMaxListFile);
    state.catalogueUnreadable = read == ReadResult::Failed || read == ReadResult::TooLarge;
    if (read != ReadResult::Ok) return 0;
    return ParseCatalogue(state, data, codePage);
}

int ParseCatalogue(AppState& state, const std::string& data, const AnsiCodePage& codePage) {
    state.pictureList.clear();
    const std::vector<std::string> pieces = StoredTextLines(data, kLineBuffer, codePage);
    std::size_t i = 0;
    for (; i < pieces.size(); ++i) {
        std::string line = WithoutLineFeeds(pieces[i]);
        if (line == "&") {
            ++i;
            break;
        }
        state.folderList.push_back(SplitFolderEntry(line));
    }
    int pictures = 0;
    for (; i < pieces.size(); ++i, ++pictures)
        state.pictureList.push_back(WithoutLineFeeds(pieces[i]));
    return pictures;
}

std::string CatalogueFileBytes(const AppState& state, const AnsiCodePage& codePage) {
    return EncodeStoredText(ToTextMode(CatalogueText(state)), codePage, kLineBuffer - 2);
}

bool SaveCatalogue(const AppState& state, const std::string& path, const AnsiCodePage& codePage) {
    if (state.catalogueUnreadable) return false;
    return WriteFileAtomically(path, CatalogueFileBytes(state, codePage));
}

std::string CatalogueText(const AppState& state) {
    std::string text;
    for (const FolderEntry& folder : state.folderList) text += FolderEntryLine(folder) + "\n";
    text += "&\n";
    if (!state.folderList.empty())
        for (const std::string& picture : state.pictureList) text += picture + "\n";
    return text;
}

int ScanFolder(AppState& state, FileSystem& fs, const std::string& folder,
               const std::function<void()>& step) {
    return Scan(state, fs, folder, step, 0);
}

int CountEntries(FileSystem& fs, const std::string& folder) {
    return Count(fs, folder, 0);
}

namespace {

// Notes the numbers a pick made ahead draws.
class NotingRandom : public Random {
public:
    NotingRandom(Random& inner, std::vector<int>& draws) : inner_(inner), draws_(draws) {}
    int Next() override {
        const int value = inner_.Next();
        draws_.push_back(value);
        return value;
    }

private:
    Random& inner_;
    std::vector<int>& draws_;
};

}  // namespace

int ReturningRandom::Next() {
    if (returned_.empty()) return inner_.Next();
    const int value = returned_.front();
    returned_.pop_front();
    return value;
}

bool PickNeedsRescan(const AppState& state) {
    return !state.folderList.empty() && state.pictureList.empty() && state.picksAhead.empty();
}

void MakePicksAhead(AppState& state, PickSources& sources, std::size_t count) {
    while (state.picksAhead.size() < count && !PickNeedsRescan(state) &&
           !state.pictureList.empty()) {
        PickAhead pick;
        pick.sequencePosition = state.sequencePosition;
        pick.missCount = state.missCount;
        NotingRandom noting(sources.random, pick.draws);
        PickSources ahead{sources.fs, noting, sources.clock, sources.step, true, &pick.taken};
        pick.picture = PickNextPicture(state, ahead);
        state.picksAhead.push_back(std::move(pick));
    }
}

std::string TakeNextPick(AppState& state, PickSources& sources) {
    if (!state.picksAhead.empty()) {
        PickAhead& next = state.picksAhead.front();
        if (!next.picture.empty() && sources.fs.Exists(next.picture)) {
            std::string picture = std::move(next.picture);
            state.picksAhead.pop_front();
            return picture;
        }
        DropPicksAhead(state);
    }
    return PickNextPicture(state, sources);
}

void DropPicksAhead(AppState& state) {
    while (!state.picksAhead.empty()) {
        PickAhead& last = state.picksAhead.back();
        for (auto it = last.taken.rbegin(); it != last.taken.rend(); ++it) {
            const std::size_t at = std::min(it->first, state.pictureList.size());
            state.pictureList.insert(state.pictureList.begin() + static_cast<std::ptrdiff_t>(at),
                                     std::move(it->second));
        }
        state.sequencePosition = last.sequencePosition;
        state.missCount = last.missCount;
        state.returnedDraws.insert(state.returnedDraws.begin(), last.draws.begin(),
                                   last.draws.end());
        state.picksAhead.pop_back();
    }
}

std::string PickNextPicture(AppState& state, PickSources& sources) {
    // Each missing file costs one more try; the third miss in a row ends the
    // pick with no picture. A good pick starts the count again, so a stale
    // entry among good ones never costs a wallpaper its picture. An empty
    // list is read again from the folders once per pick, and the pick goes
    // on in the refilled list: only folders without pictures give none.
    bool rescanned = sources.listScanned;
    for (;;) {
        if (state.folderList.empty()) return std::string();
        if (state.pictureList.empty()) {
            if (rescanned) return std::string();
            rescanned = true;
            for (const FolderEntry& folder : state.folderList)
                ScanFolder(state, sources.fs, folder.path, sources.step);
            continue;
        }
        const std::size_t n = state.pictureList.size();
        std::string picked;
        if (state.settings.israndum) {
            const uint32_t r =
                static_cast<uint32_t>(sources.random.Next()) * sources.clock.TickCount();
            const std::size_t index = r % n;
            picked = std::move(state.pictureList[index]);
            state.pictureList.erase(state.pictureList.begin() + static_cast<std::ptrdiff_t>(index));
            if (sources.taken) sources.taken->emplace_back(index, picked);
        } else {
            if (state.sequencePosition < 0 || static_cast<std::size_t>(state.sequencePosition) >= n)
                state.sequencePosition = 0;
            picked = state.pictureList[static_cast<std::size_t>(state.sequencePosition)];
            ++state.sequencePosition;
        }
        if (!picked.empty() && sources.fs.Exists(picked)) {
            state.missCount = 0;
            return picked;
        }
        if (++state.missCount >= 3) {
            state.missCount = 0;
            return std::string();
        }
    }
}

void StepPicture(AppState& state, int direction, PickSources& sources) {
    if (direction >= 0) {
        state.previousPicture = state.currentPicture;
        state.currentPicture = TakeNextPick(state, sources);
    } else {
        state.currentPicture = state.previousPicture;
    }
}

}  // namespace corv
