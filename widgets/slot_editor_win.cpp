#include "widgets/slot_editor_win.h"

#include <string>
#include <utility>
#include <vector>

#include "compose/desktop_win.h"
#include "compose/monitor_layout.h"
#include "engine/dpi_win.h"
#include "framework/app_win.h"
#include "res/resource.h"
#include "res/slot_editor_ids.h"

namespace corv {

namespace {

// The tool bar's own message: delete the slot numbered WPARAM.
constexpr UINT kDeleteSlotMessage = WM_APP + 11;
constexpr BYTE kSlotAlpha = 126;

using SetLayeredAttributes = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

// Half-transparent, where the system offers layered windows at all.
void MakeHalfTransparent(CWindow& window) {
    HMODULE user = ::GetModuleHandleW(L"USER32.DLL");
    if (user == nullptr) return;
    auto setAttributes = reinterpret_cast<SetLayeredAttributes>(
        reinterpret_cast<void*>(::GetProcAddress(user, "SetLayeredWindowAttributes")));
    if (setAttributes == nullptr) return;
    window.ModifyExStyle(0, WS_EX_LAYERED);
    setAttributes(window.Handle(), 0, kSlotAlpha, LWA_ALPHA);
}

RECT ToRect(const SlotRect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

SlotRect ToSlot(const RECT& r) {
    return SlotRect{r.left, r.top, r.right, r.bottom};
}

int32_t ScreenWidthOf(const AppState& state) {
    return state.screenWidth > 0 ? state.screenWidth : ::GetSystemMetrics(SM_CXSCREEN);
}

// The width whose three quarters bound a slot's sides: the screen's with one
// monitor; with several, as the picture size limit has it (slots may lie
// on any monitor).
int32_t SlotLimitWidthOf(const AppState& state) {
    const std::vector<MonitorArea> monitors = SystemMonitors();
    if (monitors.size() <= 1) return ScreenWidthOf(state);
    return SizeLimitWidth(monitors, MonitorModeOf(state.settings.multimonitor));
}

int32_t ScreenHeightOf(const AppState& state) {
    return state.screenHeight > 0 ? state.screenHeight : ::GetSystemMetrics(SM_CYSCREEN);
}

}  // namespace

// --- a slot window -----------------------------------------------------------

CImgPosDlg::CImgPosDlg(CImgPosSetDlg& toolBar, const SlotRect& slotRect, int32_t slotNumber,
                       int32_t screenWidth)
    : CDialog(IDD_IMGPOS_SLOT),
      toolBar_(toolBar),
      slotRect_(slotRect),
      slotNumber_(slotNumber),
      screenWidth_(screenWidth) {}

bool CImgPosDlg::RouteMessage(Message& message) {
    using Map = MessageMap<CImgPosDlg>;
    static const Map map = {
        Map::OnPaint(&CImgPosDlg::OnPaint),
        Map::OnMessage(WM_ERASEBKGND, &CImgPosDlg::OnEraseBackground),
        Map::OnLButtonDown(&CImgPosDlg::OnLButtonDown),
        Map::OnSizing(&CImgPosDlg::OnSizing),
        Map::OnGetMinMaxInfo(&CImgPosDlg::OnGetMinMaxInfo),
        Map::OnMouseWheel(&CImgPosDlg::OnMouseWheel),
        Map::OnSetFocus(&CImgPosDlg::OnSetFocus),
        Map::OnKillFocus(&CImgPosDlg::OnKillFocus),
        Map::OnContextMenu(&CImgPosDlg::OnContextMenu),
    };
    return map.Dispatch(*this, message) || CDialog::RouteMessage(message);
}

BOOL CImgPosDlg::OnInitDialog() {
    SetWindowPos(nullptr, slotRect_.left, slotRect_.top, slotRect_.right - slotRect_.left,
                 slotRect_.bottom - slotRect_.top, SWP_NOZORDER | SWP_NOACTIVATE);
    fillColor_ = kPlainFill;
    MakeHalfTransparent(*this);
    return FALSE;
}

SlotRect CImgPosDlg::ScreenRect() const {
    return ToSlot(GetWindowRect());
}

void CImgPosDlg::SetFillColor(COLORREF color) {
    fillColor_ = color;
    if (IsWindow()) RedrawNow();
}

bool CImgPosDlg::OnPaint() {
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(hwnd_, &paint);
    if (dc == nullptr) return true;
    RECT client = GetClientRect();
    HBRUSH fill = ::CreateSolidBrush(fillColor_);
    HGDIOBJ oldBrush = ::SelectObject(dc, fill);
    // The outline one line thick at the display's scale.
    HPEN outline = ::CreatePen(PS_INSIDEFRAME, ScaledPixels(1), RGB(0, 0, 0));
    HGDIOBJ oldPen = ::SelectObject(dc, outline != nullptr ? outline : ::GetStockObject(BLACK_PEN));
    ::Rectangle(dc, client.left, client.top, client.right, client.bottom);
    ::SelectObject(dc, oldPen);
    ::SelectObject(dc, oldBrush);
    ::DeleteObject(fill);
    if (outline != nullptr) ::DeleteObject(outline);

    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(0, 0, 0));
    HFONT small = ::CreateFontW(ScaledPixels(11), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, DEFAULT_PITCH, L"굴림");
    HGDIOBJ oldFont = ::SelectObject(dc, small);
    RECT band = client;
    band.top = client.top + (client.bottom - client.top) / 2 + ScaledPixels(24);
    ::DrawTextW(dc, L"Corvalendrine..", -1, &band, DT_CENTER | DT_TOP | DT_SINGLELINE);
    HFONT big = ::CreateFontW(ScaledPixels(48), 0, 0, 0, 700, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                              DEFAULT_PITCH, L"Times New Roman");
    ::SelectObject(dc, big);
    const std::wstring number = std::to_wstring(slotNumber_);
    ::DrawTextW(dc, number.c_str(), -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ::SelectObject(dc, oldFont);
    ::DeleteObject(small);
    ::DeleteObject(big);
    ::EndPaint(hwnd_, &paint);
    return true;
}

void CImgPosDlg::OnLButtonDown(UINT, POINT) {
    // Grabbed anywhere, the window moves as if by its caption.
    ::SetFocus(hwnd_);
    POINT cursor{};
    ::GetCursorPos(&cursor);
    Post(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(cursor.x, cursor.y));
}

void CImgPosDlg::OnSizing(UINT edge, RECT& rect) {
    rect = ToRect(SquareWhileSizing(static_cast<int>(edge), ToSlot(rect)));
}

void CImgPosDlg::OnGetMinMaxInfo(MINMAXINFO& info) {
    const SlotSizeLimits limits = SlotLimitsFor(screenWidth_);
    info.ptMinTrackSize = POINT{limits.smallest, limits.smallest};
    info.ptMaxTrackSize = POINT{limits.largest, limits.largest};
}

bool CImgPosDlg::OnMouseWheel(int delta, UINT, POINT) {
    const SlotRect r = WheelResize(ScreenRect(), delta, screenWidth_);
    SetWindowPos(nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

void CImgPosDlg::OnSetFocus(HWND) {
    SetFillColor(kFocusFill);
}

void CImgPosDlg::OnKillFocus(HWND) {
    SetFillColor(kPlainFill);
}

bool CImgPosDlg::OnContextMenu(HWND, POINT at) {
    if (at.x == -1 && at.y == -1) {
        const RECT box = GetWindowRect();
        at = POINT{box.left, box.top};
    }
    HMENU menu = ::LoadMenuW(ResourceInstance(), MAKEINTRESOURCEW(IDR_IMGPOS));
    if (menu == nullptr) return true;
    HMENU popup = ::GetSubMenu(menu, 0);
    const int chosen = popup == nullptr
                           ? 0
                           : static_cast<int>(::TrackPopupMenu(
                                 popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y,
                                 0, hwnd_, nullptr));
    ::DestroyMenu(menu);
    if (chosen == ID_IMGPOS_DELETE) toolBar_.RequestDelete(slotNumber_);
    return true;
}

// --- the tool bar ------------------------------------------------------------

CImgPosSetDlg::CImgPosSetDlg(AppState& state, std::function<void()> onClosed,
                             std::function<void()> onGone)
    : CDialog(IDD_IMGPOS_SET),
      state_(state),
      onClosed_(std::move(onClosed)),
      onGone_(std::move(onGone)) {}

CImgPosSetDlg::~CImgPosSetDlg() {
    // Whoever owns the object is going away: nothing is told any more.
    onClosed_ = nullptr;
    onGone_ = nullptr;
    finished_ = true;
    DestroySlotWindows();
    if (IsWindow()) ::DestroyWindow(hwnd_);
}

bool CImgPosSetDlg::RouteMessage(Message& message) {
    using Map = MessageMap<CImgPosSetDlg>;
    static const Map map = {
        Map::OnCommand(IDC_IMGPOS_ADD, &CImgPosSetDlg::AddSlot),
        Map::OnCommand(IDC_IMGPOS_APPLY, &CImgPosSetDlg::ApplySlots),
        Map::OnSysCommand(&CImgPosSetDlg::OnSysCommand),
        Map::OnClose(&CImgPosSetDlg::CloseWithoutApply),
        Map::OnMessage(kDeleteSlotMessage, &CImgPosSetDlg::OnDeleteRequest),
        Map::OnDestroy(&CImgPosSetDlg::OnDestroy),
    };
    return map.Dispatch(*this, message) || CDialog::RouteMessage(message);
}

bool CImgPosSetDlg::Open() {
    if (!Create()) return false;
    Show(SW_SHOW);
    SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return true;
}

BOOL CImgPosSetDlg::OnInitDialog() {
    book_.Open(state_.placementSlots, SlotLimitWidthOf(state_));
    for (const auto& entry : book_.Slots()) MakeSlotWindow(entry.first, entry.second, false);
    return TRUE;
}

bool CImgPosSetDlg::MakeSlotWindow(int32_t number, const SlotRect& rect, bool focused) {
    auto window = std::make_unique<CImgPosDlg>(*this, rect, number, SlotLimitWidthOf(state_));
    if (!window->Create()) return false;
    if (focused) window->SetFillColor(CImgPosDlg::kFocusFill);
    window->Show(SW_SHOW);
    slotWindows_[number] = std::move(window);
    return true;
}

void CImgPosSetDlg::AddSlot() {
    const SlotRect rect =
        NewSlotRect(ScreenWidthOf(state_), ScreenHeightOf(state_), state_.settings.picmaxsize);
    const int32_t number = book_.Add(rect);
    if (!MakeSlotWindow(number, rect, true)) book_.Delete(number, state_);
}

void CImgPosSetDlg::RequestDelete(int32_t number) {
    if (IsWindow()) Post(kDeleteSlotMessage, static_cast<WPARAM>(number), 0);
}

LRESULT CImgPosSetDlg::OnDeleteRequest(WPARAM number, LPARAM) {
    DeleteSlot(static_cast<int32_t>(number));
    return 0;
}

void CImgPosSetDlg::DeleteSlot(int32_t number) {
    auto found = slotWindows_.find(number);
    if (found == slotWindows_.end()) return;
    if (found->second->IsWindow()) ::DestroyWindow(found->second->Handle());
    slotWindows_.erase(found);
    book_.Delete(number, state_);
}

void CImgPosSetDlg::ApplySlots() {
    applied_ = true;
    Finish(true);
}

void CImgPosSetDlg::CloseWithoutApply() {
    applied_ = false;
    Finish(true);
}

bool CImgPosSetDlg::OnSysCommand(UINT command) {
    if ((command & 0xFFF0) != SC_CLOSE) return false;
    CloseWithoutApply();
    return true;
}

void CImgPosSetDlg::Finish(bool destroyToolBar) {
    if (finished_) return;
    finished_ = true;
    if (applied_) {
        for (const auto& entry : slotWindows_)
            if (entry.second->IsWindow()) book_.Update(entry.first, entry.second->ScreenRect());
        book_.Apply(state_.placementSlots);
    }
    DestroySlotWindows();
    if (onClosed_) onClosed_();
    if (destroyToolBar && IsWindow()) ::DestroyWindow(hwnd_);
}

void CImgPosSetDlg::DestroySlotWindows() {
    for (auto& entry : slotWindows_) {
        if (!entry.second->IsWindow()) continue;
        entry.second->Show(SW_HIDE);
        ::DestroyWindow(entry.second->Handle());
    }
    slotWindows_.clear();
}

void CImgPosSetDlg::OnDestroy() {
    // Destroyed from outside (its owner went): closed without applying.
    if (finished_) return;
    applied_ = false;
    Finish(false);
}

void CImgPosSetDlg::OnWindowGone() {
    if (onGone_) onGone_();
}

}  // namespace corv
