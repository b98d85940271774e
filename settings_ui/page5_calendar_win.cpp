#include "settings_ui/page5_calendar_win.h"

#include <cstring>
#include <cwchar>
#include <vector>

#include "base/text_win.h"
#include "res/resource.h"
#include "settings_ui/page5_calendar.h"

namespace corv {

namespace {

struct FontHarvest {
    bool doubleByte = false;
    std::vector<std::wstring> faces;
};

int CALLBACK CollectFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM data) {
    FontHarvest& harvest = *reinterpret_cast<FontHarvest*>(data);
    FontFaceFacts facts;
    facts.face = Utf8(font->lfFaceName);
    facts.trueType = (type & TRUETYPE_FONTTYPE) != 0;
    facts.charSet = font->lfCharSet;
    facts.doubleByteSystem = harvest.doubleByte;
    // A face with a lone surrogate has no UTF-8 name to store in env.ini.
    const std::wstring wide = font->lfFaceName;
    if (Wide(facts.face) != wide) return 1;
    if (OfferFontFace(facts)) harvest.faces.push_back(wide);
    return 1;
}

}  // namespace

CPage5::CPage5(SheetHost& host) : CSettingsPage(IDD_PAGE_CALENDAR, host) {}

bool CPage5::RouteMessage(Message& message) {
    using Map = MessageMap<CPage5>;
    static const Map map = {
        Map::OnCommand(IDC_CAL_SWITCH, &CPage5::OnSwitch),
        Map::OnControls({IDC_CAL_TITLE_FONT, IDC_CAL_DATE_FONT}, CBN_SELCHANGE, &CPage5::ShowFace),
        Map::OnCommands(
            {IDC_CAL_TITLE_BOLD, IDC_CAL_TITLE_ITALIC, IDC_CAL_DATE_BOLD, IDC_CAL_DATE_ITALIC},
            &CPage5::OnStyle),
    };
    return map.Dispatch(*this, message) || CSettingsPage::RouteMessage(message);
}

BOOL CPage5::OnInitDialog() {
    CSettingsPage::OnInitDialog();
    BindControl(titleSample_, IDC_CAL_TITLE_SAMPLE);
    BindControl(dateSample_, IDC_CAL_DATE_SAMPLE);
    BindColour(titleColour_, IDC_CAL_TITLE_COLOR);
    BindColour(weekdayColour_, IDC_CAL_WEEKDAY_COLOR);
    BindColour(saturdayColour_, IDC_CAL_SATURDAY_COLOR);
    BindColour(sundayColour_, IDC_CAL_SUNDAY_COLOR);

    Settings& settings = Setting();
    // The group stays enabled here whatever the switch says; only a click
    // on the switch disables it.
    CheckItem(IDC_CAL_SWITCH, settings.iscalender);
    FillFontLists();
    SelectStoredFace(IDC_CAL_TITLE_FONT, settings.ymfontname);
    SelectStoredFace(IDC_CAL_DATE_FONT, settings.ddfontname);
    ApplyChanges(CalendarInitialStates(settings));
    return TRUE;
}

void CPage5::BindColour(CColorButton& button, int id) {
    BindControl(button, id);
    button.SetColor(CalendarColorSetting(Setting(), id)->value);
    // The buttons answer only while the calendar is on; the title colour
    // repaints the whole page.
    button.SetStore(
        [this, id](COLORREF colour) {
            *CalendarColorSetting(Setting(), id) = ColorRef{colour};
            if (id == IDC_CAL_TITLE_COLOR && IsWindow())
                RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        },
        [this] { return CalendarColorsActive(Setting()); });
}

void CPage5::FillFontLists() {
    FontHarvest harvest;
    harvest.doubleByte = GetSystemMetrics(SM_DBCSENABLED) != 0;
    HDC dc = GetDC(hwnd_);
    if (dc == nullptr) return;
    LOGFONTW all{};
    all.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExW(dc, &all, CollectFace, reinterpret_cast<LPARAM>(&harvest), 0);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    if (dpi > 0) logPixelsY_ = dpi;
    ReleaseDC(hwnd_, dc);

    FillGuard guard(*this);
    for (int id : {IDC_CAL_TITLE_FONT, IDC_CAL_DATE_FONT}) {
        HWND list = GetDlgItem(id);
        for (const std::wstring& face : harvest.faces)
            // Enumeration by every character set meets a family once per
            // set: each face is listed once.
            if (SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                             reinterpret_cast<LPARAM>(face.c_str())) == CB_ERR)
                SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(face.c_str()));
    }
}

void CPage5::SelectStoredFace(int list, const std::string& face) {
    // The list's own search: the first item that begins with the stored
    // name, whatever the case. An empty name selects nothing.
    if (face.empty()) return;
    const std::wstring wide = Wide(face);
    const LRESULT found = SendMessageW(GetDlgItem(list), CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(wide.c_str()));
    if (found != CB_ERR) ShowFace(list);
}

void CPage5::ShowFace(int list) {
    HWND box = GetDlgItem(list);
    const LRESULT index = SendMessageW(box, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return;
    const LRESULT length = SendMessageW(box, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0 || length >= LF_FACESIZE) return;
    wchar_t text[LF_FACESIZE] = {};
    SendMessageW(box, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    const std::string face = Utf8(text);
    if (face.empty()) return;

    Settings& settings = Setting();
    const SampleFont look = SampleFontFor(settings, list, face, logPixelsY_);
    LOGFONTW font{};
    font.lfHeight = look.height;
    font.lfWeight = look.weight;
    font.lfItalic = look.italic ? 1 : 0;
    font.lfCharSet = static_cast<BYTE>(look.charSet);
    std::wcsncpy(font.lfFaceName, Wide(face).c_str(), LF_FACESIZE - 1);
    const CalendarFontRow* row = CalendarRowOf(list);
    if (CLinkStatic* sample = row ? SampleOf(row->sample) : nullptr) sample->SetLabelFont(font);
    ApplyCalendarFace(settings, list, face);
}

void CPage5::OnStyle(int id) {
    ApplyChanges(ApplyCalendarStyle(Setting(), id, IsItemChecked(id)));
}

void CPage5::OnSwitch() {
    ApplyChanges(ApplyCalendarSwitch(State(), IsItemChecked(IDC_CAL_SWITCH)));
    // The calendar follows the date from now on, or no longer.
    Host().FollowDateSettings();
}

CLinkStatic* CPage5::SampleOf(int id) {
    if (id == IDC_CAL_TITLE_SAMPLE) return &titleSample_;
    if (id == IDC_CAL_DATE_SAMPLE) return &dateSample_;
    return nullptr;
}

}  // namespace corv
