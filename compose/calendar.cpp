#include "compose/calendar.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "compose/shadow_text.h"
#include "engine/file_io.h"
#include "engine/paths.h"
#include "engine/text_lines.h"

namespace corv {

namespace {

// Larger than any hand-written list could be; a bigger file is not read.
constexpr std::size_t kMaxSpecialDaysFile = 16u * 1024u * 1024u;
constexpr std::size_t kLineBuffer = 100;

constexpr int32_t kDayStripWidth = 800;  // at 96 DPI
constexpr uint32_t kTitleFromArgb = 0x01010000u;
constexpr uint32_t kStripFromArgb = 0x00000000u;
constexpr uint32_t kBarToArgb = 0xD2000000u;

int StyleOf(bool bold, bool italic) {
    return (bold ? kFontBold : kFontRegular) | (italic ? kFontItalic : kFontRegular);
}

std::string DayKey(const char* format, int month, int day) {
    char text[32];
    std::snprintf(text, sizeof text, format, month, day);
    return text;
}

RectF ToRectF(const RectI& r) {
    return RectF{static_cast<float>(r.x), static_cast<float>(r.y), static_cast<float>(r.width),
                 static_cast<float>(r.height)};
}

// The ring around today's number, its top-left taken from the layout
// rectangle right after the number was drawn.
void DrawTodayMark(Surface& canvas, Image& mark, const RectF& layout, int day, int32_t dpi) {
    const float back = ScaleForDpi(day < 10 ? 24.0f : 29.0f, dpi);
    const int32_t x = static_cast<int32_t>(layout.x + layout.width - back);
    const int32_t y = static_cast<int32_t>(layout.y - ScaleForDpi(6.0f, dpi));
    const int32_t side = ScaleForDpi(32, dpi);
    canvas.DrawImage(mark, RectI{x, y, side, side});
}

// Splits `line` at runs of '-' the way a tokeniser does: leading dashes are
// skipped, the key runs to the next dash, the label from the dashes after
// it to the next dash or the end. False when the line holds only dashes.
bool SplitEntry(const std::string& line, std::string& key, std::string& label) {
    std::size_t start = line.find_first_not_of('-');
    if (start == std::string::npos) return false;
    std::size_t end = line.find('-', start);
    key = line.substr(start, end == std::string::npos ? std::string::npos : end - start);
    label.clear();
    if (end == std::string::npos) return true;
    start = line.find_first_not_of('-', end);
    if (start == std::string::npos) return true;
    end = line.find('-', start);
    label = line.substr(start, end == std::string::npos ? std::string::npos : end - start);
    return true;
}

}  // namespace

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int month, int year) {
    static const int kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kLengths[month - 1];
}

int FirstWeekdayIndex(int year, int month) {
    const long long before = static_cast<long long>(year) - 1;
    long long days = 0;
    if (before > 0) days = 365 * before + before / 4 - before / 100 + before / 400;
    for (int m = 1; m < month && m <= 12; ++m) days += DaysInMonth(m, year);
    return static_cast<int>((days + 1) % 7);
}

uint32_t DayColor(int day, int month, int firstWeekday, const Settings& settings,
                  const SpecialDays& specialDays) {
    if (specialDays.count(DayKey("*%d.%d", month, day)) != 0) return kMarkedDayArgb;
    if (specialDays.count(DayKey("%d.%d", month, day)) != 0)
        return ColorRefToArgb(settings.reddaycolor).value;
    switch ((day + firstWeekday) % 7) {
        case 0:
            return ColorRefToArgb(settings.bluedaycolor).value;
        case 1:
            return ColorRefToArgb(settings.reddaycolor).value;
        default:
            return ColorRefToArgb(settings.whitedaycolor).value;
    }
}

std::string TodayMarkPath(const std::string& programDir) {
    return JoinPath(JoinPath(programDir, "effects"), "red.png");
}

std::string SpecialDaysPath(const std::string& programDir) {
    return JoinPath(programDir, "xdaylist.txt");
}

void DrawCalendar(Surface& canvas, Imaging& imaging, const RectI& workArea, const LocalDate& today,
                  const Settings& settings, const SpecialDays& specialDays,
                  const std::string& programDir, int32_t screenDpi) {
    // The day strip stays on the work area where the scale would push it
    // past the left edge (a small screen at a large scale).
    const int32_t dpi = DpiToFit(kDayStripWidth, workArea.width, screenDpi);
    const int32_t right = workArea.x + workArea.width;
    const int32_t bottom = workArea.y + workArea.height;
    auto px = [dpi](int32_t pixels) { return ScaleForDpi(pixels, dpi); };

    const RectI titleBar{right - px(200), bottom - px(82), px(200), px(30)};
    canvas.FillGradient(titleBar, kTitleFromArgb, kBarToArgb, 0.0f);
    char title[32];
    std::snprintf(title, sizeof title, "%d. %d.", today.year, today.month);
    const FontSpec titleFont{settings.ymfontname, ScaleForDpi(30.0f, dpi),
                             StyleOf(settings.isbold1, settings.isitalic1)};
    RectF titleLayout = ToRectF(titleBar);
    DrawShadowText(canvas, title, titleFont, titleLayout, ColorRefToArgb(settings.yymmcolor).value,
                   dpi);

    const RectI strip{right - px(kDayStripWidth), bottom - px(44), px(kDayStripWidth), px(16)};
    canvas.FillGradient(strip, kStripFromArgb, kBarToArgb, 0.0f);
    RectF layout = ToRectF(strip);
    const FontSpec dayFont{settings.ddfontname, ScaleForDpi(16.0f, dpi),
                           StyleOf(settings.isbold2, settings.isitalic2)};
    const int first = FirstWeekdayIndex(today.year, today.month);
    const int count = DaysInMonth(today.month, today.year);

    // The last day is drawn first, at the right; each number narrows the
    // layout so the one before it ends further left.
    for (int day = count; day >= 1; --day) {
        const uint32_t color = DayColor(day, today.month, first, settings, specialDays);
        DrawShadowText(canvas, std::to_string(day), dayFont, layout, color, dpi);
        if (day == today.day) {
            std::unique_ptr<Image> mark = imaging.LoadPicture(TodayMarkPath(programDir));
            if (mark->Width() > 0 && mark->Height() > 0)
                DrawTodayMark(canvas, *mark, layout, day, dpi);
        }
        layout.width -= ScaleForDpi(day < 10 ? 10.0f : 16.0f, dpi);
    }
}

bool LoadSpecialDays(const std::string& path, SpecialDays& specialDays,
                     const AnsiCodePage& codePage) {
    std::string data;
    if (ReadWholeFile(path, data, kMaxSpecialDaysFile) != ReadResult::Ok) return false;
    ParseSpecialDays(data, specialDays, codePage);
    return true;
}

void ParseSpecialDays(const std::string& data, SpecialDays& specialDays,
                      const AnsiCodePage& codePage) {
    std::string key;
    std::string label;
    for (std::string& line : StoredTextLines(data, kLineBuffer, codePage)) {
        // The line buffer is a C string: a zero byte ends what is seen of it.
        const std::size_t zero = line.find('\0');
        if (zero != std::string::npos) line.resize(zero);
        if (line.compare(0, 2, "//") == 0) continue;
        if (!SplitEntry(line, key, label)) continue;
        specialDays[key] = label;
    }
}

}  // namespace corv
