#include "widgets/color_button_win.h"

#include "engine/dpi_win.h"
#include "framework/common_dialogs_win.h"
#include "widgets/color_button_logic.h"

namespace corv {

namespace {

void Fill(HDC dc, const Box& box, COLORREF color) {
    const RECT rect{box.left, box.top, box.right, box.bottom};
    HBRUSH brush = CreateSolidBrush(color);
    if (brush == nullptr) return;
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

// A 3-D frame `line` pixels thick on the edge of `box`.
void Frame(HDC dc, const Box& box, int line, COLORREF topLeft, COLORREF bottomRight) {
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    if (width <= 0 || height <= 0) return;
    Fill(dc, {box.left, box.top, box.right - line, box.top + line}, topLeft);
    Fill(dc, {box.left, box.top, box.left + line, box.bottom - line}, topLeft);
    Fill(dc, {box.right - line, box.top, box.right, box.bottom}, bottomRight);
    Fill(dc, {box.left, box.bottom - line, box.right, box.bottom}, bottomRight);
}

}  // namespace

CColorButton::CColorButton() : chooser_(ChooseColour) {}

void CColorButton::SetStore(Store store, std::function<bool()> active) {
    store_ = std::move(store);
    active_ = std::move(active);
}

void CColorButton::OnBound() {
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
    Invalidate(true);
}

bool CColorButton::OnReflected(Message& message) {
    if (message.id == WM_COMMAND && HIWORD(message.wParam) == BN_CLICKED) {
        OnClicked();
        message.result = 0;
        return true;
    }
    if (message.id != WM_DRAWITEM) return false;
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(message.lParam));
    message.result = TRUE;
    return true;
}

void CColorButton::OnClicked() {
    if (!store_ || (active_ && !active_()) || !chooser_) return;
    COLORREF colour = color_;
    if (!chooser_(GetParent(), colour)) return;
    store_(colour);
    SetColor(colour);
    if (IsWindow()) Invalidate(true);
}

void CColorButton::DrawItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    const int width = item.rcItem.right - item.rcItem.left;
    const int height = item.rcItem.bottom - item.rcItem.top;
    const int saved = SaveDC(dc);
    SetViewportOrgEx(dc, item.rcItem.left, item.rcItem.top, nullptr);

    const COLORREF white = RGB(255, 255, 255);
    const COLORREF black = RGB(0, 0, 0);
    const ColorButtonLayout layout = LayoutColorButton(width, height, SystemDpi());
    Frame(dc, {0, 0, width, height}, layout.line, white, black);
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    Fill(dc, layout.swatch, disabled ? GetSysColor(COLOR_BTNSHADOW) : color_);
    Frame(dc, layout.swatch, layout.line, black, white);
    Fill(dc, layout.markFrame, white);
    Fill(dc, layout.markFace, GetSysColor(COLOR_BTNFACE));
    // The triangle in the surface's current pen, as line drawing does it.
    for (const HLine& line : layout.triangle) {
        MoveToEx(dc, line.x0, line.y, nullptr);
        LineTo(dc, line.x1, line.y);
    }
    RestoreDC(dc, saved);
}

}  // namespace corv
