// What every page of the settings sheet builds on: the host that owns the
// edited state (the hidden main window), and the page base class.
//
// A page is a portable file with its decisions (pageN_name.h/.cpp, tested
// natively, returning ControlChange lists), a thin binding of its controls
// (pageN_name_win.h/.cpp, a CSettingsPage that applies those lists with
// ApplyChanges) and its dialog template (res/pageN_name.rc with the ids in
// res/pageN_name_ids.h). Pages know the host and nothing of each other, nor
// of the sheet that shows them.
#pragma once

#include <windows.h>

#include <string>

#include "compose/imaging_gdiplus_win.h"
#include "engine/app_state.h"
#include "engine/platform.h"
#include "framework/property_sheet_win.h"

namespace corv {

// The window that opens the sheet and owns what it edits.
class SheetHost {
public:
    virtual ~SheetHost() = default;
    // The settings, the catalogue and the rest of the engine's state.
    virtual AppState& State() = 0;
    // Pictures for previews.
    virtual GdiplusImaging& PreviewImaging() = 0;
    // Folder listings for scans.
    virtual FileSystem& Files() = 0;
    // One entry of a folder scan met: advances the open sheet's progress.
    virtual void ScanStep() = 0;
    // The host's own window.
    virtual HWND HostWindow() const = 0;

    // The tray icon's tooltip and icon (the miscellaneous page's switches).
    virtual void SetTrayTip(const std::string& text) = 0;
    virtual void SetTrayIcon(UINT resourceId) = 0;
    // "MY IP: " and this machine's address, for the tooltip.
    virtual std::string TrayAddressText() = 0;
    // Starts the 30-second date check when the weekday icon or the calendar
    // is on, stops it when both are off.
    virtual void FollowDateSettings() = 0;
};

class CSettingsPage : public CPropertyPage {
public:
    CSettingsPage(UINT templateId, SheetHost& host) : CPropertyPage(templateId), host_(host) {}

    SheetHost& Host() const { return host_; }
    AppState& State() const { return host_.State(); }
    Settings& Setting() const { return host_.State().settings; }

    // A key-down of the sheet's loop while this page is shown; true
    // swallows it.
    virtual bool PreTranslateKey(const MSG&) { return false; }
    // The program ends while the sheet is open: windows the page opened
    // itself (beyond the system's boxes) are to go.
    virtual void CancelOwnWindows() {}

private:
    SheetHost& host_;
};

}  // namespace corv
