#include "widgets/color_button_win.h"

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

// A one-pixel 3-D frame on the edge of `box`.
void Frame(HDC dc, const Box& box, COLORREF topLeft, COLORREF bottomRight) {
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    if (width <= 0 || height <= 0) return;
    Fill(dc, {box.left, box.top, box.right - 1, box.top + 1}, topLeft);
    Fill(dc, {box.left, box.top, box.left + 1, box.bottom - 1}, topLeft);
    Fill(dc, {box.right - 1, box.top, box.right, box.bottom}, bottomRight);
    Fill(dc, {box.left, box.bottom - 1, box.right, box.bottom}, bottomRight);
}

}  // namespace

void CColorButton::OnBound() {
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
    Invalidate(true);
}

bool CColorButton::OnReflected(Message& message) {
    if (message.id != WM_DRAWITEM) return false;
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(message.lParam));
    message.result = TRUE;
    return true;
}

void CColorButton::DrawItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    const int width = item.rcItem.right - item.rcItem.left;
    const int height = item.rcItem.bottom - item.rcItem.top;
    const int saved = SaveDC(dc);
    SetViewportOrgEx(dc, item.rcItem.left, item.rcItem.top, nullptr);

    const COLORREF white = RGB(255, 255, 255);
    const COLORREF black = RGB(0, 0, 0);
    const ColorButtonLayout layout = LayoutColorButton(width, height);
    Frame(dc, {0, 0, width, height}, white, black);
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    Fill(dc, layout.swatch, disabled ? GetSysColor(COLOR_BTNSHADOW) : color_);
    Frame(dc, layout.swatch, black, white);
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
