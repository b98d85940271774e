// CColorButton: a push button that shows a colour as a swatch with a small
// drop-down mark in its lower right corner, and lets the user choose
// another. A click opens the colour chooser at the button's colour; a
// confirmed colour goes to its setting through the store function, then the
// button shows it and repaints itself.
//
// Bind it with CDialog::BindControl: binding makes the control owner-drawn,
// so a template may declare it as a plain push button, and the dialog hands
// the control's click and draw-item notices back to it.
#pragma once

#include <windows.h>

#include <functional>

#include "framework/controls_win.h"

namespace corv {

class CColorButton : public CButton {
public:
    // The colour chooser: starts at `colour`, true with the chosen one in
    // `colour` when the user confirms.
    using Chooser = std::function<bool(HWND owner, COLORREF& colour)>;
    // Where a confirmed colour goes (its setting, and whatever shows it).
    using Store = std::function<void(COLORREF colour)>;

    // The system's colour chooser, owned by the button's dialog.
    CColorButton();

    // 0x00BBGGRR. Does not repaint.
    void SetColor(COLORREF color) { color_ = color; }
    COLORREF GetColor() const { return color_; }

    // What a click does: `store` takes a confirmed colour; `active`, when
    // given, is asked first whether the chooser opens at all.
    void SetStore(Store store, std::function<bool()> active = nullptr);
    // Another chooser in place of the system's (tests).
    void SetChooser(Chooser chooser) { chooser_ = std::move(chooser); }

    // Draws the button as the draw-item record asks.
    void DrawItem(const DRAWITEMSTRUCT& item);

    bool OnReflected(Message& message) override;

protected:
    void OnBound() override;

private:
    void OnClicked();

    COLORREF color_ = 0;
    Chooser chooser_;
    Store store_;
    std::function<bool()> active_;
};

}  // namespace corv
