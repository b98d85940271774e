// The month calendar in the bottom-right corner of the work area: a title
// bar with year and month, and one row with every day of the month coloured
// by weekday, holidays and marked days, with today's number ringed.
//
// Special days come from xdaylist.txt beside the program, one entry a line:
//   // comment
//   5.5-어린이날       a red day (holiday)
//   *3.14-anniversary  a marked day, drawn light yellow
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "base/stored_text.h"
#include "compose/imaging.h"
#include "engine/dpi_scale.h"
#include "engine/platform.h"
#include "engine/settings.h"

namespace corv {

using SpecialDays = std::map<std::string, std::string>;  // "5.5" or "*5.5" -> label

// Weekday index as the calendar counts: 0 Saturday, 1 Sunday, 2 Monday ...
// 6 Friday. Day d of the month has the index (d + FirstWeekdayIndex) mod 7.
int FirstWeekdayIndex(int year, int month);
// 28 to 31; 0 for a month number outside 1-12.
int DaysInMonth(int month, int year);
bool IsLeapYear(int year);

constexpr uint32_t kMarkedDayArgb = 0xFFFFFF9Du;  // light yellow

// The colour of day `day` (opaque ARGB): a marked day, then a listed
// holiday, then Saturday and Sunday, then any other weekday.
uint32_t DayColor(int day, int month, int firstWeekday, const Settings& settings,
                  const SpecialDays& specialDays);

// The today mark, beside the program.
std::string TodayMarkPath(const std::string& programDir);

// Draws the calendar of `today`'s month against the right and bottom edges
// of `workArea` (left, top, width, height), its sizes in proportion to the
// screen's `dpi` (the sizes at 96 DPI as they are), but never so large that
// the day strip would run past the work area's left edge.
void DrawCalendar(Surface& canvas, Imaging& imaging, const RectI& workArea, const LocalDate& today,
                  const Settings& settings, const SpecialDays& specialDays,
                  const std::string& programDir, int32_t dpi = kBaseDpi);

// The special-days file beside the program.
std::string SpecialDaysPath(const std::string& programDir);

// Reads the special-days file at `path` into `specialDays` (a key read again
// takes the later label). Lines are read as a 100-byte line buffer reads
// them: at most 99 bytes, a longer line going on as the next line. False,
// with `specialDays` unchanged, when the file cannot be read or is
// unreasonably large.
bool LoadSpecialDays(const std::string& path, SpecialDays& specialDays,
                     const AnsiCodePage& codePage = SystemAnsiCodePage());
// The same for the file's bytes: UTF-8 after the mark, else `codePage`.
void ParseSpecialDays(const std::string& data, SpecialDays& specialDays,
                      const AnsiCodePage& codePage = SystemAnsiCodePage());

}  // namespace corv
