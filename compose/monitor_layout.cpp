#include "compose/monitor_layout.h"

#include <algorithm>
#include <cstring>

#include "compose/slots_file.h"

namespace corv {

namespace {

constexpr int64_t kMinCoordinate = -32768;
constexpr int64_t kMaxCoordinate = 32767;

int64_t Clamp16(int64_t v) {
    return std::min(std::max(v, kMinCoordinate), kMaxCoordinate);
}

// `r` cut to the 16-bit coordinate range; the sides are added in 64 bits,
// so no listed rectangle overflows.
RectI Clamped(const RectI& r) {
    const int64_t left = Clamp16(r.x);
    const int64_t top = Clamp16(r.y);
    const int64_t right = Clamp16(int64_t{r.x} + r.width);
    const int64_t bottom = Clamp16(int64_t{r.y} + r.height);
    return RectI{static_cast<int32_t>(left), static_cast<int32_t>(top),
                 static_cast<int32_t>(std::max<int64_t>(right - left, 0)),
                 static_cast<int32_t>(std::max<int64_t>(bottom - top, 0))};
}

bool Contains(const RectI& r, int64_t x, int64_t y) {
    return r.x <= x && x < int64_t{r.x} + r.width && r.y <= y && y < int64_t{r.y} + r.height;
}

RectI Offset(const RectI& r, int32_t dx, int32_t dy) {
    return RectI{r.x - dx, r.y - dy, r.width, r.height};
}

int32_t Modulo(int64_t v, int32_t m) {
    if (m <= 0) return 0;
    const int64_t r = v % m;
    return static_cast<int32_t>(r < 0 ? r + m : r);
}

// Rotates `count` items of `size` bytes at `base` so that item i moves to
// (i + by) mod count.
void RotateItems(uint8_t* base, int32_t count, int32_t size, int32_t by,
                 std::vector<uint8_t>& scratch) {
    by = Modulo(by, count);
    if (by == 0) return;
    const std::size_t total = static_cast<std::size_t>(count) * static_cast<std::size_t>(size);
    scratch.resize(total);
    const std::size_t tail = static_cast<std::size_t>(count - by) * static_cast<std::size_t>(size);
    std::memcpy(scratch.data(), base + tail, total - tail);
    std::memcpy(scratch.data() + (total - tail), base, tail);
    std::memcpy(base, scratch.data(), total);
}

}  // namespace

MonitorMode MonitorModeOf(int32_t multimonitor) {
    switch (multimonitor) {
        case 1:
            return MonitorMode::Shared;
        case 2:
            return MonitorMode::Spanning;
        default:
            return MonitorMode::PerMonitor;
    }
}

std::vector<MonitorArea> UsableMonitors(const std::vector<MonitorArea>& listed, SizeI screen,
                                        const RectI& work) {
    std::vector<MonitorArea> usable;
    for (const MonitorArea& m : listed) {
        MonitorArea c{Clamped(m.area), Clamped(m.work), m.primary};
        if (c.area.width <= 0 || c.area.height <= 0) continue;
        if (c.work.width <= 0 || c.work.height <= 0) c.work = c.area;
        usable.push_back(c);
    }
    if (usable.empty()) {
        const RectI area{0, 0, std::max(screen.width, 0), std::max(screen.height, 0)};
        return {MonitorArea{area, work, true}};
    }
    auto primary =
        std::find_if(usable.begin(), usable.end(), [](const MonitorArea& m) { return m.primary; });
    if (primary == usable.end() ||
        std::count_if(usable.begin(), usable.end(),
                      [](const MonitorArea& m) { return m.primary; }) > 1) {
        primary = std::find_if(usable.begin(), usable.end(),
                               [](const MonitorArea& m) { return Contains(m.area, 0, 0); });
        if (primary == usable.end()) primary = usable.begin();
    }
    const MonitorArea first = *primary;
    usable.erase(primary);
    for (MonitorArea& m : usable) m.primary = false;
    usable.insert(usable.begin(), first);
    usable.front().primary = true;
    return usable;
}

RectI BoundingBox(const std::vector<MonitorArea>& monitors) {
    if (monitors.empty()) return RectI{};
    int64_t left = monitors.front().area.x, top = monitors.front().area.y;
    int64_t right = left + monitors.front().area.width;
    int64_t bottom = top + monitors.front().area.height;
    for (const MonitorArea& m : monitors) {
        left = std::min<int64_t>(left, m.area.x);
        top = std::min<int64_t>(top, m.area.y);
        right = std::max<int64_t>(right, int64_t{m.area.x} + m.area.width);
        bottom = std::max<int64_t>(bottom, int64_t{m.area.y} + m.area.height);
    }
    return RectI{static_cast<int32_t>(left), static_cast<int32_t>(top),
                 static_cast<int32_t>(right - left), static_cast<int32_t>(bottom - top)};
}

PointI TileShift(const RectI& box, const RectI& primary) {
    return PointI{Modulo(int64_t{box.x} - primary.x, box.width),
                  Modulo(int64_t{box.y} - primary.y, box.height)};
}

WallpaperPlan PlanWallpaper(const std::vector<MonitorArea>& monitors, MonitorMode mode) {
    WallpaperPlan plan;
    if (monitors.empty()) return plan;
    const MonitorArea& primary = monitors.front();
    const RectI box = BoundingBox(monitors);
    const bool tooLarge = int64_t{box.width} * box.height > kMaxCanvasPixels;
    if (monitors.size() == 1 || mode == MonitorMode::Shared || tooLarge) {
        // One file of the primary's size, its top-left the primary's.
        plan.canvas = primary.area;
        plan.regions = {RectI{0, 0, primary.area.width, primary.area.height}};
        plan.monitors = {primary.area};
        plan.workArea = Offset(primary.work, primary.area.x, primary.area.y);
        return plan;
    }
    plan.canvas = box;
    plan.workArea = Offset(primary.work, box.x, box.y);
    plan.tiled = true;
    plan.tileShift = TileShift(box, primary.area);
    if (mode == MonitorMode::Spanning) {
        plan.regions = {RectI{0, 0, box.width, box.height}};
        plan.monitors = {box};
        return plan;
    }
    for (const MonitorArea& m : monitors) {
        plan.regions.push_back(Offset(m.area, box.x, box.y));
        plan.monitors.push_back(m.area);
    }
    return plan;
}

void ShiftCyclically(const PixelBuffer& pixels, int32_t dx, int32_t dy, int32_t bytesPerPixel) {
    if (pixels.scan0 == nullptr || pixels.width <= 0 || pixels.height <= 0 || bytesPerPixel <= 0)
        return;
    std::vector<uint8_t> scratch;
    if (Modulo(dx, pixels.width) != 0) {
        for (int32_t row = 0; row < pixels.height; ++row)
            RotateItems(pixels.scan0 + static_cast<std::ptrdiff_t>(row) * pixels.stride,
                        pixels.width, bytesPerPixel, dx, scratch);
    }
    if (Modulo(dy, pixels.height) != 0) {
        // Rows move whole (the stride may be negative for a bottom-up bitmap).
        const int32_t by = Modulo(dy, pixels.height);
        const std::size_t rowBytes =
            static_cast<std::size_t>(pixels.width) * static_cast<std::size_t>(bytesPerPixel);
        auto row = [&pixels](int32_t r) {
            return pixels.scan0 + static_cast<std::ptrdiff_t>(r) * pixels.stride;
        };
        std::vector<uint8_t> rows(static_cast<std::size_t>(pixels.height) * rowBytes);
        for (int32_t r = 0; r < pixels.height; ++r)
            std::memcpy(rows.data() + static_cast<std::size_t>((r + by) % pixels.height) * rowBytes,
                        row(r), rowBytes);
        for (int32_t r = 0; r < pixels.height; ++r)
            std::memcpy(row(r), rows.data() + static_cast<std::size_t>(r) * rowBytes, rowBytes);
    }
}

int32_t NextSlotOnMonitor(const std::vector<SlotRect>& slots, int32_t from, const RectI& monitor) {
    const int32_t count = static_cast<int32_t>(std::min<std::size_t>(slots.size(), kMaxSlots));
    if (count == 0) return -1;
    if (from < 0 || from >= count) from = 0;
    for (int32_t i = 0; i < count; ++i) {
        const int32_t index = (from + i) % count;
        const SlotRect& s = slots[static_cast<std::size_t>(index)];
        const int64_t cx = (int64_t{s.left} + s.right) / 2;
        const int64_t cy = (int64_t{s.top} + s.bottom) / 2;
        if (Contains(monitor, cx, cy)) return index;
    }
    return -1;
}

int32_t MonitorPictureLimit(int32_t limit, int32_t monitorWidth) {
    return std::min(limit, MaxSlotSide(monitorWidth));
}

int32_t SizeLimitWidth(const std::vector<MonitorArea>& monitors, MonitorMode mode) {
    if (monitors.empty()) return 0;
    const WallpaperPlan plan = PlanWallpaper(monitors, mode);
    if (!plan.tiled) return monitors.front().area.width;
    if (mode == MonitorMode::Spanning) return plan.canvas.width;
    int32_t widest = 0;
    for (const MonitorArea& m : monitors) widest = std::max(widest, m.area.width);
    return widest;
}

}  // namespace corv
