// The state the hidden main window keeps for the whole run: the settings
// record, the picture catalogue, the collage and placement state, and the
// files loaded at start. The main window owns one; the portable parts of the
// engine and the composition work on it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "engine/settings.h"

namespace corv {

struct SlotRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

inline bool operator==(const SlotRect& a, const SlotRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// A listed picture folder and the number of pictures it held when it was
// last read.
struct FolderEntry {
    std::string path;
    int32_t count = 0;
    // The count as list.txt spells it, so a line is written back as it was
    // read; empty for a line without a count.
    std::string countText;
};

inline bool operator==(const FolderEntry& a, const FolderEntry& b) {
    return a.path == b.path && a.count == b.count && a.countText == b.countText;
}

struct PointI {
    int32_t x = 0;
    int32_t y = 0;
};

// A random placement's last centre before the first: off every screen, so
// the first random placement is never mirrored.
constexpr PointI kNoCentreYet{-1000000, -1000000};

// A forward pick made ahead of its change, so that its picture can be
// prepared meanwhile, with what it took from the catalogue to give back.
struct PickAhead {
    std::string picture;
    int32_t sequencePosition = 0;  // as they were before the pick
    int32_t missCount = 0;
    // Entries the pick took out of pictureList (random order), in order,
    // with the index each had.
    std::vector<std::pair<std::size_t, std::string>> taken;
    // The random numbers it drew, given back with it so that the picks
    // after it draw what they would have drawn.
    std::vector<int> draws;
};

struct AppState {
    Settings settings;
    std::vector<std::string> exceptionPrograms;  // outprogram0..2

    // Picture catalogue.
    std::vector<FolderEntry> folderList;
    // list.txt was there but could not be read (locked, a folder, too
    // large): it is then never overwritten, so the user's folders survive.
    bool catalogueUnreadable = false;
    std::vector<std::string> pictureList;
    std::string currentPicture;
    std::string previousPicture;
    int32_t sequencePosition = 0;      // next picture in order
    int32_t missCount = 0;             // missing files met since the last good pick
    std::deque<PickAhead> picksAhead;  // oldest first
    // Random numbers given back by dropped picks, drawn again first
    // (ReturningRandom).
    std::deque<int> returnedDraws;

    std::vector<std::string> maskList;
    std::map<std::string, std::string> specialDays;  // "5.5" or "*5.5" -> label
    std::vector<SlotRect> placementSlots;
    int32_t slotIndex = 0;

    // Change cycle and collage.
    int32_t cycleReady = 0;
    int32_t overlapCount = 0;
    int32_t freshCanvasRequested = 0;
    // Off every screen, so the first random placement is never mirrored.
    PointI lastCentre = kNoCentreYet;
    std::string lastDateText;
    int32_t screenWidth = 0;
    int32_t screenHeight = 0;
    int32_t screenDpi = 96;  // the display's DPI, for the wallpaper's overlays
    // Several monitors: the last random centre of each monitor (the
    // primary's first), the size of the last file composed, and whether the file
    // was set in the tile style (whose values go back at the end).
    std::vector<PointI> monitorCentres;
    int32_t canvasWidth = 0;
    int32_t canvasHeight = 0;
    bool tiledWallpaperSet = false;
    // Whether each monitor's own file was set through the system's
    // per-monitor wallpapers (whose user's pictures go back at the end).
    bool eachMonitorSet = false;
    int32_t lastSheetPage = 0;
};

}  // namespace corv
