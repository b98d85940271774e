// CLinkStatic: a static text label that draws with its own font, font
// style, text colour and background colour, and that can turn into a web
// link: hand cursor, blue and underlined, and a click opens what it shows.
//
// Bind it to a static control of a dialog with CDialog::BindControl once
// the dialog's window exists, typically in OnInitDialog. The label then
// answers, for its own control only, the colour message the control sends
// its dialog (WM_CTLCOLORSTATIC) and the click notification (STN_CLICKED,
// reported only in link mode), both handed back to it by the dialog (see
// CControl), and the cursor message of its own window (it subclasses the
// control); the dialog's message map never sees those for this control.
// Every other message goes on as before, and several labels may share one
// dialog. A decision's ControlChange of kind Flags turns style flags on or
// off, as SetLabelStyle does.
//
// Settings made before the label is bound are kept and take effect when it
// is bound.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "framework/controls_win.h"

namespace corv {

class CLinkStatic : public CStatic {
public:
    // Opens a link target (see LinkTarget); tests put their own in place of
    // the shell.
    using OpenCall = std::function<void(const std::string& target)>;

    CLinkStatic();
    // Lets go of the control (it keeps the default GUI font) and deletes
    // the font and the brush.
    ~CLinkStatic() override;
    CLinkStatic(const CLinkStatic&) = delete;
    CLinkStatic& operator=(const CLinkStatic&) = delete;

    // Link mode on: clicks are reported, the hand cursor shows, the text is
    // underlined and blue. Off: clicks are no longer reported; the look
    // stays.
    void SetLink(bool link);
    // Colours are 0x00BBGGRR values.
    void SetLabelTextColor(COLORREF color);
    void SetLabelBackColor(COLORREF color);
    // The whole font description; the style flags are not applied to it.
    void SetLabelFont(const LOGFONTW& font);
    // flags = (flags | add) & ~remove; see link_label_logic.h for the bits.
    void SetLabelStyle(uint32_t remove, uint32_t add);

    void SetOpenCall(OpenCall open) { open_ = std::move(open); }

    uint32_t StyleFlags() const { return styleFlags_; }
    bool IsLink() const { return link_ != 0; }
    HCURSOR Cursor() const { return cursor_; }
    COLORREF TextColor() const { return textColor_; }
    COLORREF BackColor() const { return backColor_; }
    const LOGFONTW& FontDescription() const { return fontDescription_; }
    HFONT Font() const { return font_; }
    HBRUSH BackBrush() const { return backBrush_; }

    bool OnReflected(Message& message) override;
    bool TakeChange(const ControlChange& change) override;

protected:
    void OnBound() override;
    bool RouteMessage(Message& message) override;

private:
    HBRUSH OnCtlColor(HDC dc);
    bool OnSetCursor(HWND under, UINT hitTest, UINT mouseMessage);
    void OnClicked();
    void MakeFont();
    void ApplyFrameStyles();
    void RepaintNow();

    uint32_t styleFlags_ = 0;
    HCURSOR cursor_ = nullptr;
    HFONT font_ = nullptr;
    LOGFONTW fontDescription_{};
    COLORREF textColor_ = 0;
    COLORREF backColor_ = 0;
    HBRUSH backBrush_ = nullptr;
    int link_ = 0;

    OpenCall open_;
};

}  // namespace corv
