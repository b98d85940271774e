#include "widgets/link_static_win.h"

#include <shellapi.h>

#include "base/text_win.h"
#include "widgets/link_label_logic.h"

namespace corv {

namespace {

void ShellOpen(const std::string& target) {
    ShellExecuteW(nullptr, L"open", Wide(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

CLinkStatic::CLinkStatic() : open_(ShellOpen) {
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof fontDescription_, &fontDescription_);
    font_ = CreateFontIndirectW(&fontDescription_);
    textColor_ = GetSysColor(COLOR_WINDOWTEXT);
    backColor_ = GetSysColor(COLOR_BTNFACE);
    backBrush_ = CreateSolidBrush(backColor_);
}

CLinkStatic::~CLinkStatic() {
    // The control may outlive the label: it gets a font that stays valid.
    if (IsWindow()) Send(WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)));
    Unbind();
    if (font_ != nullptr) DeleteObject(font_);
    if (backBrush_ != nullptr) DeleteObject(backBrush_);
}

void CLinkStatic::OnBound() {
    SubclassWindow(hwnd_);
    // What was set before binding takes effect now. A frame the template
    // gave the control stays unless the flags ask for one.
    if (link_ != 0) ModifyStyle(0, SS_NOTIFY);
    if (font_ != nullptr) Send(WM_SETFONT, reinterpret_cast<WPARAM>(font_));
    if ((styleFlags_ & (kLabelBorder | kLabelSunken)) != 0) ApplyFrameStyles();
    Invalidate(true);
}

// --- settings -----------------------------------------------------------------

void CLinkStatic::SetLink(bool link) {
    link_ = link ? 1 : 0;
    if (!link) {
        if (hwnd_ != nullptr) ModifyStyle(SS_NOTIFY, 0);
        return;
    }
    if (hwnd_ != nullptr) ModifyStyle(0, SS_NOTIFY);
    cursor_ = LoadCursor(nullptr, IDC_HAND);
    SetLabelStyle(0, kLabelUnderline);
    SetLabelTextColor(kLinkColor);
}

void CLinkStatic::SetLabelTextColor(COLORREF color) {
    textColor_ = color;
    if (hwnd_ != nullptr) Invalidate(true);
}

void CLinkStatic::SetLabelBackColor(COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    if (brush == nullptr) return;
    if (backBrush_ != nullptr) DeleteObject(backBrush_);
    backBrush_ = brush;
    backColor_ = color;
    if (hwnd_ != nullptr) Invalidate(true);
}

void CLinkStatic::SetLabelFont(const LOGFONTW& font) {
    fontDescription_ = font;
    MakeFont();
    RepaintNow();
}

void CLinkStatic::SetLabelStyle(uint32_t remove, uint32_t add) {
    styleFlags_ = ChangeLabelStyle(styleFlags_, remove, add);
    const LabelFontLook look = FontLookForFlags(styleFlags_);
    fontDescription_.lfWeight = look.weight;
    fontDescription_.lfItalic = look.italic ? 1 : 0;
    fontDescription_.lfUnderline = look.underline ? 1 : 0;
    fontDescription_.lfStrikeOut = look.strikeOut ? 1 : 0;
    MakeFont();
    RepaintNow();
    ApplyFrameStyles();
}

void CLinkStatic::MakeFont() {
    // A description the system cannot make keeps the font there is.
    HFONT made = CreateFontIndirectW(&fontDescription_);
    if (made == nullptr) return;
    HFONT old = font_;
    font_ = made;
    // The control lets go of the old font before it is deleted.
    if (hwnd_ != nullptr) Send(WM_SETFONT, reinterpret_cast<WPARAM>(font_));
    if (old != nullptr) DeleteObject(old);
}

void CLinkStatic::ApplyFrameStyles() {
    if (hwnd_ == nullptr) return;
    if ((styleFlags_ & kLabelSunken) != 0)
        ModifyExStyle(0, WS_EX_STATICEDGE);
    else
        ModifyExStyle(WS_EX_STATICEDGE, 0);
    if ((styleFlags_ & kLabelBorder) != 0)
        ModifyStyle(0, WS_BORDER);
    else
        ModifyStyle(WS_BORDER, 0);
    SetWindowPos(nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CLinkStatic::RepaintNow() {
    if (hwnd_ == nullptr) return;
    Invalidate(true);
    UpdateWindow(hwnd_);
}

// --- the label's messages -------------------------------------------------------

HBRUSH CLinkStatic::OnCtlColor(HDC dc) {
    SetTextColor(dc, textColor_);
    SetBkMode(dc, TRANSPARENT);
    if (font_ != nullptr) SelectObject(dc, font_);
    return backBrush_;
}

bool CLinkStatic::OnSetCursor(HWND, UINT, UINT) {
    if (cursor_ == nullptr) return false;
    SetCursor(cursor_);
    return true;
}

void CLinkStatic::OnClicked() {
    if (link_ == 0 || !open_) return;
    const std::string target = LinkTarget(GetTextUtf8());
    if (!target.empty()) open_(target);
}

bool CLinkStatic::OnReflected(Message& message) {
    if (message.id == WM_CTLCOLORSTATIC) {
        HBRUSH brush = OnCtlColor(reinterpret_cast<HDC>(message.wParam));
        message.result = reinterpret_cast<LRESULT>(brush);
        return brush != nullptr;
    }
    if (message.id == WM_COMMAND && HIWORD(message.wParam) == STN_CLICKED) {
        OnClicked();
        message.result = 0;
        return true;
    }
    return false;
}

bool CLinkStatic::TakeChange(const ControlChange& change) {
    if (change.kind != ControlChange::Kind::Flags) return false;
    SetLabelStyle(change.on ? 0 : change.flags, change.on ? change.flags : 0);
    return true;
}

bool CLinkStatic::RouteMessage(Message& message) {
    using Map = MessageMap<CLinkStatic>;
    static const Map map = {
        Map::OnSetCursor(&CLinkStatic::OnSetCursor),
    };
    return map.Dispatch(*this, message);
}

}  // namespace corv
