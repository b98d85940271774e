// Measures one wallpaper change and one folder scan in a fresh process, so
// that the peak memory figures belong to that one piece of work.
//
//   corv_bench change DIR PICTURE WIDTH HEIGHT [collage]
//   corv_bench idle     (the same start as a change, and no change: the
//                        program's own peak, for comparison)
//   corv_bench scan FOLDER
//   corv_bench steps DIR PICTURE WIDTH HEIGHT   (the parts of a plain change,
//                        one line of their milliseconds)
//   corv_bench prepared DIR PICTURE WIDTH HEIGHT   (the picture prepared on a
//                        worker thread first, as the program does after a
//                        change, then the change: "<change ms> <processor ms of
//                        both> <peak working set KiB> <peak commit KiB>")
//
// Prints one line: "<milliseconds> <peak working set KiB> <peak commit KiB> [count]".
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <thread>

#include "compose/composer.h"
#include "compose/imaging_gdiplus_win.h"
#include "compose/jpeg_decode_win.h"
#include "compose/prepared_pictures.h"
#include "engine/catalogue.h"
#include "engine/file_io.h"
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

// Default settings, no calendar, one picture in order in the program's
// folder, drawn on a fresh canvas.
void OnePictureState(corv::AppState& state, const std::string& dir, const std::string& picture) {
    corv::ProfileFile defaults("none");
    corv::LoadSettings(state.settings, state.exceptionPrograms, defaults);
    state.settings.programDir = dir;
    state.settings.israndum = false;
    state.settings.iscalender = false;
    state.folderList = {corv::MakeFolderEntry(dir, 1)};
    state.pictureList = {picture};
    state.freshCanvasRequested = 1;
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
    OnePictureState(state, dir, picture);
    if (collage) {
        state.settings.isoverlap = true;
        state.settings.isbackgray = true;
        state.settings.imagepos = corv::ImagePos::Random;
        // The kept wallpaper of an earlier change is the collage's base.
        corv::ChangeWallpaper(state, 0, services);
    }
    const double start = NowMs();
    corv::ChangeWallpaper(state, 0, services);
    Report(NowMs() - start, -1);
    return 0;
}

// The processor time of the whole process so far, in milliseconds.
double ProcessorMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& t) {
        return static_cast<double>(uint64_t{t.dwHighDateTime} << 32 | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

// A plain change whose picture was prepared ahead on a thread of its own
// with its own imaging objects, as the program's worker does it.
int Prepared(const std::string& dir, const std::string& picture, int w, int h) {
    corv::GdiplusSession gdiplus;
    corv::GdiplusImaging imaging;
    FixedDesktop desktop(w, h);
    corv::CrtRandom random;
    corv::SystemClock clock;
    corv::Win32FileSystem fs;
    corv::AppState state;
    OnePictureState(state, dir, picture);
    auto cache = std::make_shared<corv::PreparedPictures>();
    const double processorBefore = ProcessorMs();
    const corv::NeededSize need = corv::PictureNeed(state);
    std::thread worker([&] {
        SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_LOWEST);
        corv::GdiplusImaging own;
        auto pixels = std::make_shared<corv::PreparedPixels>();
        const corv::PreparedKey key{picture, need, corv::ReadFileStamp(picture)};
        if (own.PreparePicture(picture, need, *pixels)) cache->Put(key, std::move(pixels));
    });
    worker.join();
    corv::ComposeServices services{
        imaging,
        desktop,
        random,
        clock,
        fs,
        nullptr,
        false,
        [&](const std::string& path, const corv::NeededSize& n) {
            const corv::PreparedKey key{path, n, corv::ReadFileStamp(path)};
            std::shared_ptr<const corv::PreparedPixels> pixels = cache->Find(key);
            return pixels ? imaging.FromPrepared(pixels) : nullptr;
        }};
    const double start = NowMs();
    corv::ChangeWallpaper(state, 0, services);
    const double ms = NowMs() - start;
    const double processor = ProcessorMs() - processorBefore;
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    std::printf("%.1f %.1f %lu %lu%s\n", ms, processor,
                static_cast<unsigned long>(counters.PeakWorkingSetSize / 1024),
                static_cast<unsigned long>(counters.PeakPagefileUsage / 1024),
                cache->Count() == 1 ? "" : " (not prepared)");
    return 0;
}

// The steps of a plain change one by one, in milliseconds: the picture's
// load, a new canvas cleared, the picture drawn on it, the BMP saved.
int Steps(const std::string& dir, const std::string& picture, int w, int h) {
    corv::GdiplusSession gdiplus;
    corv::GdiplusImaging imaging;
    double at = NowMs();
    auto lap = [&at] {
        const double now = NowMs();
        const double ms = now - at;
        at = now;
        return ms;
    };
    // The load is the least of three, the machine's other work aside.
    std::unique_ptr<corv::Image> image;
    double load = 1e9;
    for (int i = 0; i < 3; ++i) {
        image.reset();
        lap();
        image = imaging.LoadPicture(picture, corv::NeededSize{400, 400, false});
        load = std::min(load, lap());
    }
    auto canvas = imaging.NewBitmap(w, h, corv::PixelFormat::Rgb24);
    auto surface = imaging.SurfaceOn(*canvas);
    if (!surface || image->Width() <= 0) return 1;
    surface->Clear(0xFF485573);
    const double clear = lap();
    const corv::SizeI size = corv::FitPictureSize(image->Width(), image->Height(), 400, false);
    const corv::RectI dest{(w - size.width) / 2, (h - size.height) / 2, size.width, size.height};
    // Through GDI+ (as every picture was drawn before), then through the
    // program's own resampling (an opaque picture drawn whole).
    surface->DrawImage(*image, dest);
    surface.reset();
    const double draw = lap();
    surface = imaging.SurfaceOn(*canvas);
    lap();
    surface->DrawImage(*image, dest, corv::RectI{0, 0, image->Width(), image->Height()});
    surface.reset();
    const double ownDraw = lap();
    imaging.SaveImage(*canvas, dir + "\\steps.bmp", "image/bmp");
    const double save = lap();
    // The decoder alone, from memory.
    std::string bytes;
    double decode = 1e9;
    if (corv::ReadWholeFile(picture, bytes, std::size_t{1} << 30) == corv::ReadResult::Ok)
        for (int i = 0; i < 3; ++i) {
            lap();
            corv::DecodeJpeg(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                             corv::NeededSize{400, 400, false});
            decode = std::min(decode, lap());
        }
    std::printf("load %.1f (decoding %.1f) clear %.1f draw %.1f (GDI+) %.1f (own) save %.1f\n",
                load, decode, clear, draw, ownDraw, save);
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
    if (command == "prepared" && argc >= 6)
        return Prepared(argv[2], argv[3], std::atoi(argv[4]), std::atoi(argv[5]));
    if (command == "steps" && argc >= 6)
        return Steps(argv[2], argv[3], std::atoi(argv[4]), std::atoi(argv[5]));
    std::fprintf(stderr,
                 "usage: corv_bench change DIR PICTURE W H [collage] | idle | scan FOLDER\n");
    return 2;
}
