#include "settings_ui/page5_calendar.h"

#include "widgets/link_label_logic.h"

namespace corv {

namespace {

constexpr int kCharSetAnsi = 0;
constexpr int kCharSetHangul = 129;

const CalendarFontRow kRows[] = {
    {IDC_CAL_TITLE_FONT, IDC_CAL_TITLE_SAMPLE, IDC_CAL_TITLE_BOLD, IDC_CAL_TITLE_ITALIC, 22},
    {IDC_CAL_DATE_FONT, IDC_CAL_DATE_SAMPLE, IDC_CAL_DATE_BOLD, IDC_CAL_DATE_ITALIC, 12},
};

bool IsTitleRow(const CalendarFontRow& row) {
    return row.list == IDC_CAL_TITLE_FONT;
}

}  // namespace

bool OfferFontFace(const FontFaceFacts& facts) {
    if (!facts.doubleByteSystem || facts.face.empty() || facts.face[0] == '@') return false;
    if (!facts.trueType) return false;
    return facts.charSet == kCharSetAnsi || facts.charSet == kCharSetHangul;
}

int32_t SampleFontHeight(int points, int logPixelsY) {
    if (logPixelsY <= 0) logPixelsY = 96;
    // The nearest integer, halves away from zero, as the system's
    // multiply-divide rounds.
    const int64_t product = static_cast<int64_t>(points) * logPixelsY;
    const int64_t magnitude = ((product < 0 ? -product : product) + 36) / 72;
    const int64_t rounded = product < 0 ? -magnitude : magnitude;
    return static_cast<int32_t>(-rounded);
}

const CalendarFontRow* CalendarRowOf(int id) {
    for (const CalendarFontRow& row : kRows)
        if (id == row.list || id == row.bold || id == row.italic) return &row;
    return nullptr;
}

SampleFont SampleFontFor(const Settings& settings, int list, const std::string& face,
                         int logPixelsY) {
    SampleFont font;
    const CalendarFontRow* row = CalendarRowOf(list);
    if (row == nullptr) return font;
    const bool title = IsTitleRow(*row);
    font.height = SampleFontHeight(row->points, logPixelsY);
    font.weight = (title ? settings.isbold1 : settings.isbold2) ? 700 : 400;
    font.italic = title ? settings.isitalic1 : settings.isitalic2;
    font.face = face;
    return font;
}

void ApplyCalendarFace(Settings& settings, int list, const std::string& face) {
    if (list == IDC_CAL_TITLE_FONT) settings.ymfontname = face;
    if (list == IDC_CAL_DATE_FONT) settings.ddfontname = face;
}

std::vector<ControlChange> CalendarInitialStates(const Settings& settings) {
    const struct {
        bool on;
        int box;
        int sample;
        uint32_t flag;
    } styles[] = {{settings.isbold1, IDC_CAL_TITLE_BOLD, IDC_CAL_TITLE_SAMPLE, kLabelBold},
                  {settings.isbold2, IDC_CAL_DATE_BOLD, IDC_CAL_DATE_SAMPLE, kLabelBold},
                  {settings.isitalic1, IDC_CAL_TITLE_ITALIC, IDC_CAL_TITLE_SAMPLE, kLabelItalic},
                  {settings.isitalic2, IDC_CAL_DATE_ITALIC, IDC_CAL_DATE_SAMPLE, kLabelItalic}};
    std::vector<ControlChange> changes;
    for (const auto& style : styles) {
        if (!style.on) continue;
        changes.push_back(ControlChange::Check(style.box, true));
        changes.push_back(ControlChange::Flags(style.sample, style.flag, true));
    }
    return changes;
}

std::vector<ControlChange> ApplyCalendarStyle(Settings& settings, int id, bool checked) {
    const CalendarFontRow* row = CalendarRowOf(id);
    if (row == nullptr || id == row->list) return {};
    const bool bold = id == row->bold;
    const bool title = IsTitleRow(*row);
    bool& setting = bold ? (title ? settings.isbold1 : settings.isbold2)
                         : (title ? settings.isitalic1 : settings.isitalic2);
    setting = checked;
    return {ControlChange::Flags(row->sample, bold ? kLabelBold : kLabelItalic, checked),
            ControlChange::Focus(row->list)};
}

const std::vector<int>& CalendarGroup() {
    static const std::vector<int> group = {
        IDC_CAL_TITLE_FONT,     IDC_CAL_DATE_FONT,   IDC_CAL_TITLE_BOLD,  IDC_CAL_DATE_BOLD,
        IDC_CAL_TITLE_ITALIC,   IDC_CAL_DATE_ITALIC, IDC_CAL_TITLE_COLOR, IDC_CAL_WEEKDAY_COLOR,
        IDC_CAL_SATURDAY_COLOR, IDC_CAL_SUNDAY_COLOR};
    return group;
}

std::vector<ControlChange> ApplyCalendarSwitch(AppState& state, bool checked) {
    state.settings.iscalender = checked;
    state.freshCanvasRequested = 1;
    std::vector<ControlChange> changes;
    for (int id : CalendarGroup()) changes.push_back(ControlChange::Enable(id, checked));
    return changes;
}

ColorRef* CalendarColorSetting(Settings& settings, int id) {
    switch (id) {
        case IDC_CAL_TITLE_COLOR:
            return &settings.yymmcolor;
        case IDC_CAL_WEEKDAY_COLOR:
            return &settings.whitedaycolor;
        case IDC_CAL_SATURDAY_COLOR:
            return &settings.bluedaycolor;
        case IDC_CAL_SUNDAY_COLOR:
            return &settings.reddaycolor;
        default:
            return nullptr;
    }
}

bool CalendarColorsActive(const Settings& settings) {
    return settings.iscalender;
}

}  // namespace corv
