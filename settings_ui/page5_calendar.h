// The calendar page's decisions: which fonts the lists offer, the font a
// sample shows, what the switch, a style box or a colour button does to the
// settings and to the other controls.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/app_state.h"
#include "framework/control_change.h"
#include "res/page5_calendar_ids.h"

namespace corv {

// What font enumeration tells of one family.
struct FontFaceFacts {
    std::string face;
    bool trueType = false;
    int charSet = 0;
    bool doubleByteSystem = false;  // the system has double-byte support
};
// Whether the family goes into the font lists: a double-byte system, a
// TrueType face that is not a vertical one ("@..."), ANSI or Hangul.
bool OfferFontFace(const FontFaceFacts& facts);

// The height of a font of `points` on a screen of `logPixelsY` dots per
// inch, negative (character height), rounded to the nearest pixel. A
// resolution that is not positive counts as 96.
int32_t SampleFontHeight(int points, int logPixelsY);

// One row of the font group: its list, its sample and its style boxes.
struct CalendarFontRow {
    int list;
    int sample;
    int bold;
    int italic;
    int points;
};
// The row of a list or style box id; null for any other id.
const CalendarFontRow* CalendarRowOf(int id);

// The font description a sample takes for `face` in the row of `list`.
struct SampleFont {
    int32_t height = 0;
    int32_t weight = 400;
    bool italic = false;
    int charSet = 1;  // the default character set
    std::string face;
};
SampleFont SampleFontFor(const Settings& settings, int list, const std::string& face,
                         int logPixelsY);
// A face chosen in `list` becomes its setting.
void ApplyCalendarFace(Settings& settings, int list, const std::string& face);

// The style boxes that are on and their samples' style flags (the label's
// kLabelBold and kLabelItalic), as the page opens.
std::vector<ControlChange> CalendarInitialStates(const Settings& settings);
// A style box `id` that is now `checked`: the setting changes, the row's
// sample takes or loses the style's flag, and the focus goes to the row's
// font list. Nothing for an id that is not a style box.
std::vector<ControlChange> ApplyCalendarStyle(Settings& settings, int id, bool checked);

// The controls the calendar switch enables and disables.
const std::vector<int>& CalendarGroup();
// The switch is now `checked`: the setting, a fresh canvas, and the group
// enabled or disabled with it.
std::vector<ControlChange> ApplyCalendarSwitch(AppState& state, bool checked);

// The setting behind colour button `id` (0x00BBGGRR, as stored), or null.
ColorRef* CalendarColorSetting(Settings& settings, int id);
// Whether a colour button opens the colour chooser.
bool CalendarColorsActive(const Settings& settings);

}  // namespace corv
