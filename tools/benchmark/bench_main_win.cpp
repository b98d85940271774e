// Measures one wallpaper change and one folder scan in a fresh process, so
// that the peak memory figures belong to that one piece of work.
//
//   corv_bench change DIR PICTURE WIDTH HEIGHT [collage]
//   corv_bench idle     (the same start as a change, and no change: the
//                        program's own peak, for comparison)
//   corv_bench scan FOLDER
//
// Prints one line: "<milliseconds> <peak working set KiB> <peak commit KiB> [count]".
#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "compose/composer.h"
#include "compose/imaging_gdiplus_win.h"
#include "engine/catalogue.h"
#include "engine/platform_win.h"

namespace {

class FixedDesktop : public corv::Desktop {
public:
    FixedDesktop(int32_t w, int32_t h) : size_{w, h} {}
    corv::SizeI ScreenSize() override { return size_; }
    corv::RectI WorkArea() override { return corv::RectI{0, 0, size_.width, size_.height - 40}; }
    void SetWallpaper(const std::string&) override {}

private:
    corv::SizeI size_;
};

double NowMs() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

void Report(double ms, long long count) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    std::printf("%.1f %lu %lu", ms, static_cast<unsigned long>(counters.PeakWorkingSetSize / 1024),
                static_cast<unsigned long>(counters.PeakPagefileUsage / 1024));
    if (count >= 0) std::printf(" %lld", count);
    std::printf("\n");
}

int Change(const std::string& dir, const std::string& picture, int w, int h, bool collage) {
    corv::GdiplusSession gdiplus;
    corv::GdiplusImaging imaging;
    FixedDesktop desktop(w, h);
    corv::CrtRandom random;
    corv::SystemClock clock;
    corv::Win32FileSystem fs;
    corv::ComposeServices services{imaging, desktop, random, clock, fs, nullptr};
    corv::AppState state;
    corv::ProfileFile defaults("none");
    corv::LoadSettings(state.settings, state.exceptionPrograms, defaults);
    state.settings.programDir = dir;
    state.settings.israndum = false;
    state.settings.iscalender = false;
    state.folderList = {dir + ",1"};
    state.pictureList = {picture};
    state.freshCanvasRequested = 1;
    if (collage) {
        state.settings.isoverlap = true;
        state.settings.isbackgray = true;
        state.settings.imagepos = 2;
        // The kept wallpaper of an earlier change is the collage's base.
        corv::ChangeWallpaper(state, 0, services);
    }
    const double start = NowMs();
    corv::ChangeWallpaper(state, 0, services);
    Report(NowMs() - start, -1);
    return 0;
}

int Idle() {
    corv::GdiplusSession gdiplus;
    corv::AppState state;
    corv::ProfileFile defaults("none");
    corv::LoadSettings(state.settings, state.exceptionPrograms, defaults);
    Report(0, -1);
    return 0;
}

int Scan(const std::string& folder) {
    corv::Win32FileSystem fs;
    corv::AppState state;
    const double start = NowMs();
    const int count = corv::ScanFolder(state, fs, folder);
    Report(NowMs() - start, count);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "change" && argc >= 6)
        return Change(argv[2], argv[3], std::atoi(argv[4]), std::atoi(argv[5]),
                      argc > 6 && std::string(argv[6]) == "collage");
    if (command == "scan" && argc >= 3) return Scan(argv[2]);
    if (command == "idle") return Idle();
    std::fprintf(stderr,
                 "usage: corv_bench change DIR PICTURE W H [collage] | idle | scan FOLDER\n");
    return 2;
}
