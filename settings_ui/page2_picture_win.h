// CPage2: the picture page of the settings sheet (template IDD_PAGE_PICTURE):
// the foreground picture switch, its size limit, the change interval and
// its unit, the order, the placement (centred, random, slots) and collage
// mode, with a preview of the placement slots and the button that opens the
// placement slot editor. The sheet's close check reads its three edit
// fields through TypedFields.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "res/page2_picture_ids.h"
#include "settings_ui/settings_page_win.h"
#include "settings_ui/sheet_logic.h"
#include "widgets/slot_editor_win.h"

namespace corv {

class CPage2 : public CSettingsPage, public TypedFields {
public:
    explicit CPage2(SheetHost& host);
    ~CPage2() override;

    bool HasTypedFields() const override;
    std::string FieldText(int id) const override { return GetItemTextUtf8(id); }
    // Sets a field back without its own rules firing (the size field's
    // collage rule among them).
    void SetFieldText(int id, const std::string& text) override;

    // The screen size the page works with: the composed wallpaper's, or the
    // system's before anything was composed.
    SIZE ScreenSize() const;
    // The width whose three quarters bound the size field ("M"): the
    // screen's with one monitor, else as the monitor setting has it.
    int32_t SizeLimitWidth() const;
    // The largest size collage mode takes on that screen.
    int32_t CollageSizeLimit() const { return overlapSizeLimit_; }

    // The open placement slot editor's tool bar, or null.
    CImgPosSetDlg* SlotEditor() const { return slotEditor_.get(); }

    bool PreTranslateKey(const MSG& message) override;
    void CancelOwnWindows() override;

protected:
    BOOL OnInitDialog() override;
    bool RouteMessage(Message& message) override;

private:
    // A check box or radio button: the setting and the controls it enables.
    void OnClick(int id);
    void OnMinutes();
    void OnSeconds();
    void OnCollage();
    void OnSizeChange();
    LRESULT OnSizeArrow(NMHDR& header);
    void OnSlotEditor();
    void OnSlotEditorClosed();
    LRESULT OnSlotEditorGone(WPARAM, LPARAM);
    void ShowUnit(bool seconds);
    // The size field's number.
    int32_t TypedSize() const;
    void RefreshSlotPreview();
    void DrawSlotPreview(HDC dc, const RECT& area);

    CPreview slotPreview_;
    std::unique_ptr<CImgPosSetDlg> slotEditor_;
    int32_t overlapSizeLimit_ = 0;
    int32_t scaleX_ = 0;
    int32_t scaleY_ = 0;
    PointI previewOrigin_;  // the preview's top-left on the virtual screen
};

}  // namespace corv
