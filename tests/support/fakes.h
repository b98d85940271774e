// Plain test doubles of the platform seams: scripted random numbers and
// ticks, a fixed date, an in-memory folder tree, and a recording desktop.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "compose/desktop.h"
#include "engine/paths.h"
#include "engine/platform.h"

namespace corvtest {

// Returns the scripted values in turn, then repeats the last one.
class ScriptedRandom : public corv::Random {
public:
    explicit ScriptedRandom(std::vector<int> values = {0}) : values_(std::move(values)) {}
    int Next() override {
        ++calls;
        int v = values_[pos_];
        if (pos_ + 1 < values_.size()) ++pos_;
        return v;
    }
    int calls = 0;

private:
    std::vector<int> values_;
    std::size_t pos_ = 0;
};

class FixedClock : public corv::Clock {
public:
    uint32_t TickCount() override { return tick; }
    corv::LocalDate Today() override { return today; }
    uint32_t tick = 1;
    corv::LocalDate today{2007, 5, 9, 3};
};

// Folders and files in memory. Paths use the native separator.
class MemoryFileSystem : public corv::FileSystem {
public:
    void AddFile(const std::string& folder, const std::string& name) {
        entries_[folder].push_back(corv::DirEntry{name, false, false});
        files_[folder + corv::kPathSeparator + name] = true;
    }
    void AddFolder(const std::string& parent, const std::string& name, bool link = false) {
        entries_[parent].push_back(corv::DirEntry{name, true, link});
        entries_[parent + corv::kPathSeparator + name];
    }
    void Remove(const std::string& path) { files_.erase(path); }

    bool ForEachEntry(const std::string& folder,
                      const std::function<void(const corv::DirEntry&)>& visit) override {
        ++listings;
        auto it = entries_.find(folder);
        if (it == entries_.end()) return false;
        visit(corv::DirEntry{".", true, false});
        visit(corv::DirEntry{"..", true, false});
        for (const auto& e : it->second) visit(e);
        return true;
    }
    // Files and folders alike, as the system's attribute query answers.
    bool Exists(const std::string& path) override {
        return files_.count(path) != 0 || entries_.count(path) != 0;
    }
    // A folder that is no longer there (its drive unplugged).
    void RemoveFolder(const std::string& folder) { entries_.erase(folder); }

    int listings = 0;

private:
    std::map<std::string, std::vector<corv::DirEntry>> entries_;
    std::map<std::string, bool> files_;
};

class RecordingDesktop : public corv::Desktop {
public:
    corv::SizeI ScreenSize() override { return screen; }
    corv::RectI WorkArea() override { return workArea; }
    void SetWallpaper(const std::string& path) override { wallpapers.push_back(path); }
    // The listed monitors; with none listed, the primary screen alone (or
    // nothing when the list cannot be read).
    std::vector<corv::MonitorArea> Monitors() override {
        if (monitorListFails) return {};
        return monitors.empty() ? Desktop::Monitors() : monitors;
    }
    void SetTiledWallpaper(const std::string& path) override {
        wallpapers.push_back("tiled " + path);
    }
    bool SetsEachMonitor() override { return setsEachMonitor; }
    // One line "each X,Y WxH PATH ..." per call.
    void SetMonitorWallpapers(const std::vector<corv::MonitorFile>& files) override {
        std::string line = "each";
        for (const corv::MonitorFile& f : files)
            line += " " + std::to_string(f.area.x) + "," + std::to_string(f.area.y) + " " +
                    std::to_string(f.area.width) + "x" + std::to_string(f.area.height) + " " +
                    f.path;
        wallpapers.push_back(line);
    }

    corv::SizeI screen{1024, 768};
    corv::RectI workArea{0, 0, 1024, 740};
    std::vector<corv::MonitorArea> monitors;
    bool monitorListFails = false;
    bool setsEachMonitor = false;
    std::vector<std::string> wallpapers;
};

}  // namespace corvtest
