#include "settings_ui/page6_misc_win.h"

#include <ctime>
#include <string>
#include <vector>

#include "base/text_win.h"
#include "compose/monitor_layout.h"
#include "framework/app_win.h"
#include "framework/common_dialogs_win.h"
#include "res/resource.h"
#include "settings_ui/page6_misc.h"
#include "widgets/program_picker_win.h"

namespace corv {

namespace {

COLORREF SystemColour(LabelColour colour) {
    switch (colour) {
        case LabelColour::ButtonHighlight:
            return GetSysColor(COLOR_BTNHIGHLIGHT);
        case LabelColour::ButtonFace:
            return GetSysColor(COLOR_BTNFACE);
        case LabelColour::ButtonShadow:
            return GetSysColor(COLOR_BTNSHADOW);
        case LabelColour::ButtonText:
        default:
            return GetSysColor(COLOR_BTNTEXT);
    }
}

int TodaysWeekday() {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    return local != nullptr ? local->tm_wday : -1;
}

}  // namespace

bool AutostartValuePresent() {
    HKEY key = nullptr;
    const std::wstring path = Wide(kAutostartKey);
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    const std::wstring name = Wide(kAutostartValue);
    // Present whatever its length.
    const LONG result = RegQueryValueExW(key, name.c_str(), nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool SetAutostartValue(bool on) {
    const std::wstring path = Wide(kAutostartKey);
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS &&
        RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return false;
    const std::wstring name = Wide(kAutostartValue);
    RegistryOutcome outcome = RegistryOutcome::Failed;
    if (on) {
        const std::wstring program = Wide(ProgramFilePath());
        const DWORD bytes = static_cast<DWORD>((program.size() + 1) * sizeof(wchar_t));
        if (!program.empty() &&
            RegSetValueExW(key, name.c_str(), 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(program.c_str()), bytes) == ERROR_SUCCESS)
            outcome = RegistryOutcome::Done;
    } else {
        const LONG result = RegDeleteValueW(key, name.c_str());
        if (result == ERROR_SUCCESS) outcome = RegistryOutcome::Done;
        if (result == ERROR_FILE_NOT_FOUND) outcome = RegistryOutcome::ValueMissing;
    }
    RegCloseKey(key);
    return AutostartReached(on, outcome);
}

CPage6::CPage6(SheetHost& host) : CSettingsPage(IDD_PAGE_MISC, host) {}

CPage6::~CPage6() = default;

bool CPage6::RouteMessage(Message& message) {
    using Map = MessageMap<CPage6>;
    static const Map map = {
        Map::OnCommand(IDC_MISC_AUTOSTART, &CPage6::OnAutostart),
        Map::OnCommand(IDC_MISC_PATH, &CPage6::OnPath),
        Map::OnCommand(IDC_MISC_BUSY_STOP, &CPage6::OnBusyStop),
        Map::OnCommand(IDC_MISC_ADDRESS, &CPage6::OnAddress),
        Map::OnCommand(IDC_MISC_WEEKDAY, &CPage6::OnWeekday),
        Map::OnCommand(IDC_MISC_MEMORY, &CPage6::OnMemory),
        Map::OnCommand(IDC_MISC_PICK_PROGRAMS, &CPage6::OnPickPrograms),
        Map::OnCommand(IDC_MISC_CLEAR_PROGRAMS, &CPage6::OnClearPrograms),
        Map::OnControl(IDC_MISC_MONITORS, CBN_SELCHANGE, &CPage6::OnMonitors),
    };
    return map.Dispatch(*this, message) || CSettingsPage::RouteMessage(message);
}

BOOL CPage6::OnInitDialog() {
    CSettingsPage::OnInitDialog();
    BindControl(homePage_, IDC_MISC_HOMEPAGE);
    BindControl(programs_, IDC_MISC_PROGRAMS);
    const Settings& settings = Setting();
    CheckItem(IDC_MISC_AUTOSTART, AutostartValuePresent());
    CheckItem(IDC_MISC_BUSY_STOP, settings.maxwinstop);
    ShowBusyStop(settings.maxwinstop);
    CheckItem(IDC_MISC_PATH, settings.ispath);
    CheckItem(IDC_MISC_ADDRESS, settings.isiptooltip);
    CheckItem(IDC_MISC_WEEKDAY, settings.isweekday);
    CheckItem(IDC_MISC_MEMORY, settings.rememory != 0);
    CComboBox monitors;
    monitors.Attach(GetDlgItem(IDC_MISC_MONITORS));
    // In the order of the multimonitor values.
    for (const wchar_t* item :
         {L"모니터마다 다른 이미지", L"모든 모니터에 같은 이미지", L"바탕화면 전체에 이미지 하나"})
        monitors.AddString(item);
    monitors.SetCurSel(static_cast<int>(MonitorModeOf(settings.multimonitor)));
    ShowPrograms();
    homePage_.SetLink(true);
    return TRUE;
}

void CPage6::ShowBusyStop(bool on) {
    const BusyStopLook look = BusyStopLookFor(on);
    EnableItem(IDC_MISC_PICK_PROGRAMS, look.buttonsEnabled);
    EnableItem(IDC_MISC_CLEAR_PROGRAMS, look.buttonsEnabled);
    programs_.SetLabelBackColor(SystemColour(look.back));
    programs_.SetLabelTextColor(SystemColour(look.text));
}

void CPage6::ShowPrograms() {
    SetItemTextUtf8(IDC_MISC_PROGRAMS, ProgramLabelText(State().exceptionPrograms));
}

void CPage6::OnAutostart() {
    // The box keeps what the user gave it, even when the registry refuses.
    if (!SetAutostartValue(IsItemChecked(IDC_MISC_AUTOSTART)))
        ShowMessageBox(hwnd_, L"Setting Error", L"Setting", MB_ICONSTOP);
}

void CPage6::OnPath() {
    Setting().ispath = IsItemChecked(IDC_MISC_PATH);
    State().freshCanvasRequested = 1;
}

void CPage6::OnBusyStop() {
    const bool on = IsItemChecked(IDC_MISC_BUSY_STOP);
    Setting().maxwinstop = on;
    ShowBusyStop(on);
}

void CPage6::OnAddress() {
    const bool on = IsItemChecked(IDC_MISC_ADDRESS);
    Setting().isiptooltip = on;
    const std::string address = on ? Host().TrayAddressText() : std::string();
    Host().SetTrayTip(AddressTooltip(on, address, LoadResourceStringUtf8(IDS_VERSION)));
}

void CPage6::OnWeekday() {
    const bool on = IsItemChecked(IDC_MISC_WEEKDAY);
    Setting().isweekday = on;
    Host().SetTrayIcon(static_cast<UINT>(WeekdayIconFor(on, TodaysWeekday())));
    // The icon follows the date from now on, or no longer.
    Host().FollowDateSettings();
}

void CPage6::OnMemory() {
    Setting().rememory = IsItemChecked(IDC_MISC_MEMORY) ? 1 : 0;
}

void CPage6::OnMonitors() {
    CComboBox monitors;
    monitors.Attach(GetDlgItem(IDC_MISC_MONITORS));
    const int index = monitors.GetCurSel();
    if (index >= 0) Setting().multimonitor = index;
}

void CPage6::OnPickPrograms() {
    if (programPicker_ != nullptr) return;
    // Owned by the sheet, so the sheet waits while the picker is open.
    std::unique_ptr<CProgramList> picker(new CProgramList(GetParent()));
    programPicker_ = picker.get();
    picker->selection = State().exceptionPrograms;
    const INT_PTR result = picker->DoModal();
    programPicker_ = nullptr;
    if (result != IDOK) return;
    State().exceptionPrograms = picker->selection;
    if (IsWindow()) ShowPrograms();
}

void CPage6::OnClearPrograms() {
    State().exceptionPrograms.clear();
    SetItemTextUtf8(IDC_MISC_PROGRAMS, std::string());
}

void CPage6::CancelOwnWindows() {
    if (programPicker_ != nullptr) programPicker_->EndDialog(IDCANCEL);
}

}  // namespace corv
