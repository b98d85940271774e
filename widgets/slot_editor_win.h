// The placement slot editor: CImgPosSetDlg, a small top-most tool bar with
// "이미지 위치 추가.." and "적용", and one half-transparent CImgPosDlg per
// slot, drawn on the real screen so that a slot window covers exactly the
// pixels its pictures will take. Slot windows move when dragged anywhere,
// stay square while their frame is dragged, grow and shrink with the wheel
// and are deleted from their context menu. "적용" replaces the slot list
// with the open slots in number order; the close box changes nothing.
//
// The tool bar owns its slot windows. Whoever opens the tool bar owns the
// tool bar object: it learns through `onClosed` that the editor has closed
// (the slot windows are gone, the caller shows its own windows again) and
// through `onGone` that the window is gone and the object may be deleted
// once the current message has been handled.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "engine/app_state.h"
#include "framework/dialog_win.h"
#include "widgets/slot_editor_logic.h"

namespace corv {

class CImgPosSetDlg;

// One slot window (template IDD_IMGPOS_SLOT).
class CImgPosDlg : public CDialog {
public:
    CImgPosDlg(CImgPosSetDlg& toolBar, const SlotRect& slotRect, int32_t slotNumber,
               int32_t screenWidth);

    // The window's rectangle on the screen.
    SlotRect ScreenRect() const;
    // 0x00BBGGRR.
    void SetFillColor(COLORREF color);

    static constexpr COLORREF kPlainFill = RGB(255, 255, 255);
    static constexpr COLORREF kFocusFill = RGB(179, 217, 255);

    bool IgnoresEnterAndEscape() const override { return true; }

protected:
    BOOL OnInitDialog() override;
    bool RouteMessage(Message& message) override;
    // A slot goes only through its menu or with the tool bar: Alt+F4 leaves
    // it (the tool bar would still count it).
    void OnOK() override {}
    void OnCancel() override {}

private:
    bool OnPaint();
    void OnLButtonDown(UINT keys, POINT at);
    void OnSizing(UINT edge, RECT& rect);
    void OnGetMinMaxInfo(MINMAXINFO& info);
    bool OnMouseWheel(int delta, UINT keys, POINT at);
    void OnSetFocus(HWND other);
    void OnKillFocus(HWND other);
    bool OnContextMenu(HWND window, POINT at);
    LRESULT OnEraseBackground(WPARAM, LPARAM) { return TRUE; }

    CImgPosSetDlg& toolBar_;
    SlotRect slotRect_;  // where the window is first placed
    int32_t slotNumber_;
    int32_t screenWidth_;
    COLORREF fillColor_ = kPlainFill;
};

// The tool bar (template IDD_IMGPOS_SET).
class CImgPosSetDlg : public CDialog {
public:
    CImgPosSetDlg(AppState& state, std::function<void()> onClosed, std::function<void()> onGone);
    ~CImgPosSetDlg() override;

    // Makes the tool bar and the slot windows of the stored slots and shows
    // them, the tool bar on top. False when the window could not be made.
    bool Open();
    void AddSlot();
    void ApplySlots();
    // The close box: the slot windows go, the slot list stays.
    void CloseWithoutApply();
    // Deletes slot `number` once the message on hand has been handled.
    void RequestDelete(int32_t number);
    void DeleteSlot(int32_t number);

    bool IgnoresEnterAndEscape() const override { return true; }

protected:
    BOOL OnInitDialog() override;
    bool RouteMessage(Message& message) override;
    void OnOK() override {}
    void OnCancel() override {}
    void OnWindowGone() override;

private:
    bool OnSysCommand(UINT command);
    void OnDestroy();
    LRESULT OnDeleteRequest(WPARAM number, LPARAM);
    bool MakeSlotWindow(int32_t number, const SlotRect& rect, bool focused);
    // Applies (when `applied`), takes the slot windows down and tells the
    // opener; then the tool bar's window goes when `destroyToolBar`.
    void Finish(bool destroyToolBar);
    void DestroySlotWindows();

    AppState& state_;
    std::function<void()> onClosed_;
    std::function<void()> onGone_;
    SlotBook book_;
    std::map<int32_t, std::unique_ptr<CImgPosDlg>> slotWindows_;
    bool applied_ = false;
    bool finished_ = false;
};

}  // namespace corv
