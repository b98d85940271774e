// The composer with recording doubles: a 1024 x 768 screen and one folder
// of pictures, and helpers that read the imaging log.
#pragma once

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "compose/composer.h"
#include "engine/paths.h"
#include "engine/settings.h"
#include "support/fakes.h"
#include "support/folder_lines.h"
#include "support/recording_imaging.h"

namespace corvtest {

inline bool Has(const std::vector<std::string>& log, const std::string& line) {
    return std::find(log.begin(), log.end(), line) != log.end();
}

inline int CountPrefix(const std::vector<std::string>& log, const std::string& prefix) {
    return static_cast<int>(std::count_if(log.begin(), log.end(), [&](const std::string& l) {
        return l.compare(0, prefix.size(), prefix) == 0;
    }));
}

// Where the picture landed on the canvas, and from which part of it. An
// opaque picture is drawn straight onto the canvas; one with transparency
// is drawn into a layer put onto the canvas, and its rectangle there is the
// layer's corner plus its place in the layer. With every effect off the
// picture covers (x + 1, y + 1, w - 1, h - 1).
inline std::string PictureOnCanvas(const std::vector<std::string>& log, const std::string& canvas,
                                   const std::string& picture) {
    std::string layer;
    int ix = 0, iy = 0, iw = 0, ih = 0;
    std::string from;
    const std::string drawPicture = ": draw " + picture + " ";
    for (const std::string& line : log) {
        const auto at = line.find(drawPicture);
        if (at == std::string::npos) continue;
        layer = line.substr(0, at);
        std::sscanf(line.c_str() + at + drawPicture.size(), "(%d,%d,%d,%d)", &ix, &iy, &iw, &ih);
        from = line.substr(line.find(" from ", at));
    }
    if (layer.empty()) return "not drawn";
    auto rect = [](int x, int y, int w, int h) {
        return "(" + std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(w) + "," +
               std::to_string(h) + ")";
    };
    if (layer == canvas) return rect(ix, iy, iw, ih) + from;
    for (const std::string& line : log) {
        const std::string prefix = canvas + ": draw " + layer + " ";
        int x = 0, y = 0;
        if (line.compare(0, prefix.size(), prefix) == 0 &&
            std::sscanf(line.c_str() + prefix.size(), "(%d,%d", &x, &y) == 2)
            return rect(x + ix, y + iy, iw, ih) + from;
    }
    return "not drawn";
}

// A composer with a 1024 x 768 screen and one folder of pictures.
struct Composer {
    RecordingImaging imaging;
    corvtest::RecordingDesktop desktop;
    corvtest::ScriptedRandom random{{0}};
    corvtest::FixedClock clock;
    corvtest::MemoryFileSystem fs;
    corv::ComposeServices services{imaging, desktop, random, clock, fs, nullptr};
    corv::AppState state;

    Composer() {
        corv::ProfileFile defaults("none");
        corv::LoadSettings(state.settings, state.exceptionPrograms, defaults);
        state.settings.programDir = "prog";
        state.settings.israndum = false;
        state.settings.iscalender = false;
        state.folderList = corvtest::Folders({"P,0"});
        state.freshCanvasRequested = 1;
    }
    // Adds a picture of the given size to the catalogue and the disk.
    std::string AddPicture(const std::string& name, int w, int h) {
        fs.AddFile("P", name);
        const std::string path = corv::JoinPath("P", name);
        imaging.AddPicture(path, w, h);
        state.pictureList.push_back(path);
        return path;
    }
    void Change(int step = 0) {
        imaging.log.clear();
        corv::ChangeWallpaper(state, step, services);
    }
    // An 800 x 600 monitor on the left of the 1024 x 768 primary: the file
    // is 1824 x 768, the primary at x 800 in it, the left one at 0.
    void UseTwoMonitors() {
        desktop.monitors = {
            corv::MonitorArea{corv::RectI{-800, 0, 800, 600}, corv::RectI{-800, 0, 800, 600},
                              false},
            corv::MonitorArea{corv::RectI{0, 0, 1024, 768}, corv::RectI{0, 0, 1024, 740}, true}};
    }
    std::string Wallpaper() const { return corv::JoinPath("prog", "Corvalendrine.bmp"); }
};

}  // namespace corvtest
