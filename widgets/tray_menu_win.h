// CTrayMenu: the tray menu, painted by the program. MakeOwnerDraw turns
// every item of the attached pop-up into an owner-drawn item that keeps its
// text; the owner window of the shown menu hands its WM_MEASUREITEM and
// WM_DRAWITEM messages for menu items to MeasureItem and DrawItem.
//
// The look: a colour banner 23 pixels wide down the left edge with the
// caption " Corvalendrine 1.4" running upward (painted when the first item,
// "next picture", is painted whole), white items, a pink highlight with a
// dark blue outline, thin separator lines and the pause mark (icon 148) in
// front of the pause item while it is checked.
//
//     CTrayMenu menu;
//     menu.Attach(popup);        // borrowed: Detach before the menu object goes
//     menu.MakeOwnerDraw();
//     menu.SetItemText(6, L"...");
//     ... TrackPopupMenu(popup, ...) ...
//     menu.Detach();
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace corv {

// One item's record; the menu item's data points at it.
struct TrayMenuItem {
    explicit TrayMenuItem(std::wstring text) : text(std::move(text)) {}
    virtual ~TrayMenuItem() = default;
    std::wstring text;  // empty for a separator
};

class CTrayMenu {
public:
    CTrayMenu() = default;
    // Deletes the item records, then destroys a menu still attached.
    virtual ~CTrayMenu();
    CTrayMenu(const CTrayMenu&) = delete;
    CTrayMenu& operator=(const CTrayMenu&) = delete;

    void Attach(HMENU menu) { menu_ = menu; }
    HMENU Detach() {
        HMENU menu = menu_;
        menu_ = nullptr;
        return menu;
    }
    HMENU Handle() const { return menu_; }

    // Makes every item owner-drawn, keeping its id and text; separators
    // become owner-drawn separators with id 0. Sub-menus are left as they
    // are. Done once: a second call changes nothing.
    void MakeOwnerDraw();
    // The text drawn for the item at `position`; nothing happens for a
    // position without an item.
    void SetItemText(int position, const std::wstring& text);
    // The text of the record at `position`; empty when there is none.
    std::wstring ItemText(int position) const;
    int ItemCount() const { return static_cast<int>(items_.size()); }

    // The owner-draw operations. Records of other menus are left alone.
    virtual void MeasureItem(MEASUREITEMSTRUCT& item);
    virtual void DrawItem(const DRAWITEMSTRUCT& item);

private:
    const TrayMenuItem* Find(ULONG_PTR data) const;
    void DrawBanner(HDC dc);

    HMENU menu_ = nullptr;
    std::vector<std::unique_ptr<TrayMenuItem>> items_;
};

// Readies the attached pop-up of menu 129 for showing: owner-drawn, the
// pause item checked only while `paused`, and the desktop-icons item
// (position 6) offering to hide the icons while they are visible.
void PrepareTrayMenu(CTrayMenu& menu, bool paused, bool iconsHidden);

// A device bitmap compatible with `dc`, `width` x `height`, whose rows run
// from `bottomColor` (bottom row) to `topColor` (0x00BBGGRR) through the
// 256-step banner palette. Null for an empty or unreasonable size.
HBITMAP CreateGradientBitmap(HDC dc, int width, int height, uint32_t bottomColor,
                             uint32_t topColor);

// The byte count of `text` in code page 949, which the item width counts.
int KoreanByteCount(const std::wstring& text);

}  // namespace corv
