// CColorButton: a push button that shows a colour as a swatch with a small
// drop-down mark in its lower right corner. It only shows the colour: its
// dialog reacts to the click (typically with the colour chooser), then hands
// the new colour over with SetColor and repaints the button.
//
// Bind it with CDialog::BindControl: binding makes the control owner-drawn,
// so a template may declare it as a plain push button, and the dialog hands
// the control's draw-item notice back to it.
#pragma once

#include <windows.h>

#include "framework/controls_win.h"

namespace corv {

class CColorButton : public CButton {
public:
    // 0x00BBGGRR. Does not repaint: the caller invalidates the button.
    void SetColor(COLORREF color) { color_ = color; }
    COLORREF GetColor() const { return color_; }

    // Draws the button as the draw-item record asks.
    void DrawItem(const DRAWITEMSTRUCT& item);

    bool OnReflected(Message& message) override;

protected:
    void OnBound() override;

private:
    COLORREF color_ = 0;
};

}  // namespace corv
