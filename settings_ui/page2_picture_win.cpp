#include "settings_ui/page2_picture_win.h"

#include <vector>

#include "compose/desktop_win.h"
#include "compose/monitor_layout.h"
#include "engine/settings.h"
#include "framework/common_dialogs_win.h"
#include "res/resource.h"
#include "settings_ui/page2_picture.h"

namespace corv {

namespace {

// Posted by the slot editor's tool bar when its window is gone: the page
// lets go of the object once the tool bar's own message has been handled.
constexpr UINT kSlotEditorGoneMessage = WM_APP + 21;

}  // namespace

CPage2::CPage2(SheetHost& host) : CSettingsPage(IDD_PAGE_PICTURE, host) {}

CPage2::~CPage2() = default;

bool CPage2::HasTypedFields() const {
    return IsWindow() && GetDlgItem(kIntervalField) != nullptr &&
           GetDlgItem(kSizeField) != nullptr && GetDlgItem(kClearCountField) != nullptr;
}

void CPage2::SetFieldText(int id, const std::string& text) {
    FillGuard filling(*this);
    SetItemTextUtf8(id, text);
}

SIZE CPage2::ScreenSize() const {
    const AppState& state = State();
    return SIZE{state.screenWidth > 0 ? state.screenWidth : GetSystemMetrics(SM_CXSCREEN),
                state.screenHeight > 0 ? state.screenHeight : GetSystemMetrics(SM_CYSCREEN)};
}

int32_t CPage2::SizeLimitWidth() const {
    const std::vector<MonitorArea> monitors = SystemMonitors();
    if (monitors.size() <= 1) return ScreenSize().cx;
    return corv::SizeLimitWidth(monitors, MonitorModeOf(Setting().multimonitor));
}

bool CPage2::RouteMessage(Message& message) {
    using Map = MessageMap<CPage2>;
    static const Map map = {
        Map::OnCommands({IDC_PIC_SWITCH, IDC_PIC_NO_STRETCH, IDC_PIC_IN_ORDER, IDC_PIC_AT_RANDOM,
                         IDC_PIC_CENTRED, IDC_PIC_RANDOM_PLACE, IDC_PIC_SLOT_PLACE, IDC_PIC_GRAY},
                        &CPage2::OnClick),
        Map::OnCommand(IDC_PIC_MINUTES, &CPage2::OnMinutes),
        Map::OnCommand(IDC_PIC_SECONDS, &CPage2::OnSeconds),
        Map::OnCommand(IDC_PIC_COLLAGE, &CPage2::OnCollage),
        Map::OnCommand(IDC_PIC_SLOT_EDITOR, &CPage2::OnSlotEditor),
        Map::OnControl(IDC_PIC_SIZE, EN_CHANGE, &CPage2::OnSizeChange),
        Map::OnNotify(IDC_PIC_SIZE_SPIN, UDN_DELTAPOS, &CPage2::OnSizeArrow),
        Map::OnMessage(kSlotEditorGoneMessage, &CPage2::OnSlotEditorGone),
    };
    return map.Dispatch(*this, message) || CSettingsPage::RouteMessage(message);
}

BOOL CPage2::OnInitDialog() {
    CSettingsPage::OnInitDialog();
    FillGuard filling(*this);
    const Settings& settings = Setting();
    const AppState& state = State();
    const SIZE screen = ScreenSize();
    const int32_t W = screen.cx;
    const int32_t H = screen.cy;

    CheckItem(IDC_PIC_SWITCH, settings.isforeimg != 0);
    SetItemInt(IDC_PIC_SIZE, settings.picmaxsize);
    CUpDown sizeArrows;
    sizeArrows.Attach(GetDlgItem(IDC_PIC_SIZE_SPIN));
    sizeArrows.SetRange(200, MaxPictureSize(SizeLimitWidth()));
    CheckItem(IDC_PIC_NO_STRETCH, settings.notstrech != 0);
    SetItemInt(IDC_PIC_INTERVAL, settings.changetime);
    const bool seconds = settings.min_sec == 1000;
    CheckRadio(IDC_PIC_MINUTES, IDC_PIC_SECONDS, seconds ? IDC_PIC_SECONDS : IDC_PIC_MINUTES);
    ShowUnit(seconds);
    CheckRadio(IDC_PIC_IN_ORDER, IDC_PIC_AT_RANDOM,
               settings.israndum ? IDC_PIC_AT_RANDOM : IDC_PIC_IN_ORDER);
    const int placement = settings.imagepos == ImagePos::Centred  ? IDC_PIC_CENTRED
                          : settings.imagepos == ImagePos::Slots  ? IDC_PIC_SLOT_PLACE
                          : settings.imagepos == ImagePos::Random ? IDC_PIC_RANDOM_PLACE
                                                                  : 0;
    for (int id : {IDC_PIC_CENTRED, IDC_PIC_RANDOM_PLACE, IDC_PIC_SLOT_PLACE})
        CheckItem(id, id == placement);
    CheckItem(IDC_PIC_COLLAGE, settings.isoverlap != 0);
    CUpDown clearArrows;
    clearArrows.Attach(GetDlgItem(IDC_PIC_CLEAR_SPIN));
    clearArrows.SetRange(3, 30);
    SetItemInt(IDC_PIC_CLEAR_COUNT, settings.piccleartotalcnt);
    CheckItem(IDC_PIC_GRAY, settings.isbackgray != 0);
    ApplyChanges(PictureInitialStates(settings));

    overlapSizeLimit_ = OverlapSizeLimit(W, H);
    SetItemText(IDC_PIC_COLLAGE, CollageBoxText(overlapSizeLimit_));

    BindControl(slotPreview_, IDC_PIC_SLOT_PREVIEW);
    slotPreview_.SetDraw([this](HDC dc, const RECT& area) { DrawSlotPreview(dc, area); });
    const RECT client = slotPreview_.GetClientRect();
    // Slots are virtual-screen rectangles: the preview shows every monitor.
    const std::vector<MonitorArea> monitors = SystemMonitors();
    RectI desktop{0, 0, W, H};
    if (monitors.size() > 1) desktop = BoundingBox(monitors);
    previewOrigin_ = PointI{desktop.x, desktop.y};
    scaleX_ = PreviewScale(desktop.width, client.right - client.left);
    scaleY_ = PreviewScale(desktop.height, client.bottom - client.top);
    SetItemText(IDC_PIC_SLOT_COUNT, SlotCountText(state.placementSlots.size()));
    return TRUE;
}

void CPage2::OnClick(int id) {
    ApplyChanges(ApplyPictureClick(State(), id, IsItemChecked(id)));
}

int32_t CPage2::TypedSize() const {
    return ParseDecimal(GetItemTextUtf8(IDC_PIC_SIZE));
}

void CPage2::ShowUnit(bool seconds) {
    const IntervalUnit unit = IntervalUnitFor(seconds);
    SetItemText(IDC_PIC_INTERVAL_LABEL, unit.label);
    CUpDown arrows;
    arrows.Attach(GetDlgItem(IDC_PIC_INTERVAL_SPIN));
    arrows.SetRange(unit.low, unit.high);
}

void CPage2::OnMinutes() {
    OnClick(IDC_PIC_MINUTES);
    ShowUnit(false);
}

void CPage2::OnSeconds() {
    OnClick(IDC_PIC_SECONDS);
    ShowUnit(true);
    const std::string before = GetItemTextUtf8(IDC_PIC_INTERVAL);
    const std::string after = IntervalAfterUnitSwitch(true, before);
    if (after != before) SetItemTextUtf8(IDC_PIC_INTERVAL, after);
}

void CPage2::OnCollage() {
    OnClick(IDC_PIC_COLLAGE);
    // Set or cleared alike: a size above the limit is brought down to it.
    if (!SizeAboveOverlapLimit(TypedSize(), overlapSizeLimit_)) return;
    ShowMessageBox(hwnd_, kCollageSizeWarning, kSheetMessageCaption, MB_ICONEXCLAMATION | MB_OK);
    if (!IsWindow()) return;
    SetItemInt(IDC_PIC_SIZE, overlapSizeLimit_);
    HWND field = GetDlgItem(IDC_PIC_SIZE);
    if (field != nullptr) ::SetFocus(field);
}

void CPage2::OnSizeChange() {
    if (IsFilling() || GetDlgItem(IDC_PIC_SIZE) == nullptr) return;
    if (!SizeAboveOverlapLimit(TypedSize(), overlapSizeLimit_)) return;
    // The clear-count controls keep their state.
    CheckItem(IDC_PIC_COLLAGE, false);
    Setting().isoverlap = 0;
}

LRESULT CPage2::OnSizeArrow(NMHDR& header) {
    auto& change = reinterpret_cast<NMUPDOWN&>(header);
    change.iDelta = SizeArrowDelta(change.iDelta);
    return 0;
}

void CPage2::OnSlotEditor() {
    if (slotEditor_ && slotEditor_->IsWindow()) return;
    slotEditor_.reset();
    HWND sheet = GetParent();
    ::ShowWindow(sheet, SW_HIDE);
    HWND page = hwnd_;
    slotEditor_ = std::make_unique<CImgPosSetDlg>(
        State(), [this] { OnSlotEditorClosed(); },
        [page] { ::PostMessageW(page, kSlotEditorGoneMessage, 0, 0); });
    if (!slotEditor_->Open()) {
        slotEditor_.reset();
        ::ShowWindow(sheet, SW_SHOW);
    }
}

void CPage2::OnSlotEditorClosed() {
    if (!IsWindow()) return;
    RefreshSlotPreview();
    HWND sheet = GetParent();
    ::ShowWindow(sheet, SW_SHOW);
    ::SetForegroundWindow(sheet);
}

LRESULT CPage2::OnSlotEditorGone(WPARAM, LPARAM) {
    if (slotEditor_ && !slotEditor_->IsWindow()) slotEditor_.reset();
    return 0;
}

bool CPage2::PreTranslateKey(const MSG& message) {
    // Tab and the arrows move between the tool bar's buttons.
    if (!slotEditor_ || !slotEditor_->IsWindow()) return false;
    HWND bar = slotEditor_->Handle();
    if (message.hwnd != bar && ::GetParent(message.hwnd) != bar) return false;
    MSG copy = message;
    return ::IsDialogMessageW(bar, &copy) != FALSE;
}

void CPage2::CancelOwnWindows() {
    if (slotEditor_ && slotEditor_->IsWindow()) slotEditor_->CloseWithoutApply();
}

void CPage2::RefreshSlotPreview() {
    SetItemText(IDC_PIC_SLOT_COUNT, SlotCountText(State().placementSlots.size()));
    if (slotPreview_.IsWindow()) slotPreview_.RedrawNow();
}

void CPage2::DrawSlotPreview(HDC dc, const RECT& area) {
    HBRUSH white = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    ::FillRect(dc, &area, white);
    HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
    HGDIOBJ oldBrush = ::SelectObject(dc, white);
    ::Rectangle(dc, area.left, area.top, area.right, area.bottom);
    std::vector<SlotRect> slots = State().placementSlots;
    for (SlotRect& slot : slots) {
        slot.left -= previewOrigin_.x;
        slot.right -= previewOrigin_.x;
        slot.top -= previewOrigin_.y;
        slot.bottom -= previewOrigin_.y;
    }
    for (const SlotRect& r : PreviewSlotRects(slots, scaleX_, scaleY_))
        ::Rectangle(dc, area.left + r.left, area.top + r.top, area.left + r.right,
                    area.top + r.bottom);
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
}

}  // namespace corv
