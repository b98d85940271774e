// CMainDlg: the hidden main window. It is never shown; the user sees only
// its notification-area icon. Its initialisation loads everything in a
// fixed order and makes the first wallpaper; its destruction (and already
// the end of the user's session) writes everything back and puts the
// user's wallpaper back.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/background_worker_win.h"
#include "compose/desktop_win.h"
#include "compose/imaging_gdiplus_win.h"
#include "compose/prepared_pictures.h"
#include "engine/app_state.h"
#include "engine/catalogue.h"
#include "engine/platform_win.h"
#include "framework/dialog_win.h"
#include "settings_ui/settings_page_win.h"
#include "widgets/tray_icon_win.h"

namespace corv {

class CSheetPage;  // the settings sheet
class CTrayMenu;
class CAboutDlg;

class CMainDlg : public CDialog, public SheetHost {
public:
    CMainDlg();
    ~CMainDlg() override;

    CTrayIcon trayIcon;
    CSheetPage* settingsSheet = nullptr;  // the open settings sheet, or null
    AppState state;                       // settings, catalogue, collage, slots, special days

    // One change of the wallpaper: step 0 the next picture, -1 the previous.
    void ChangeWallpaper(int step);
    // "MY IP: " and this machine's address.
    std::string GetAddressText();

    // What the settings sheet edits and uses, and what its pages change
    // while they are open.
    AppState& State() override { return state; }
    GdiplusImaging& PreviewImaging() override { return imaging_; }
    FileSystem& Files() override { return fileSystem_; }
    void ScanStep() override;
    HWND HostWindow() const override { return hwnd_; }
    void SetTrayTip(const std::string& text) override { trayIcon.SetTipText(text.c_str()); }
    void SetTrayIcon(UINT resourceId) override { trayIcon.SetIconResource(resourceId); }
    std::string TrayAddressText() override { return GetAddressText(); }
    void FollowDateSettings() override;

protected:
    BOOL OnInitDialog() override;
    // An IDOK command never ends the main window.
    void OnOK() override {}
    bool RouteMessage(Message& message) override;

private:
    // Steps of the start and the end.
    void StartUp();
    void WaitForTaskbar();
    void RetryTrayIcon();
    LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);
    LRESULT OnDisplayChange(WPARAM wParam, LPARAM lParam);
    void ReadDesktopSettings();
    // The user's wallpaper of every monitor, where the system has them.
    void ReadMonitorWallpapers();
    void RestoreUserWallpaper();
    void BuildTooltip();
    void StartTimers();
    void SaveAtEnd();
    // The folders read again on the worker while messages go on being
    // handled; false when that could not be done there.
    bool RescanOnWorker();
    // After a change: the next pick is made and its picture prepared on
    // the worker; pictures no change will want are let go.
    void PrepareAhead();
    // The picture a change draws: prepared ahead when it still matches the
    // file and the size, else decoded now and kept (for the
    // previous-picture command); null when it does not decode.
    std::unique_ptr<Image> PreparedPicture(const std::string& path, const NeededSize& need);

    // Loading and saving of the files beside the program.
    void LoadCatalogue();
    void SaveCatalogue();
    void LoadSpecialDays();
    void LoadSlots();
    void SaveSlots();
    void LoadMaskList();

    // Handlers.
    void OnWindowPosChanging(WINDOWPOS& position);
    void OnDestroy();
    bool OnQueryEndSession();
    void OnTimer(UINT_PTR timerId);
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    void OnNextPicture();
    void OnPreviousPicture();
    void OnDeletePicture();
    void OnOpenPicture();
    void OnDesktopIcons();
    void OnClearScreen();
    void OnPause();
    void OnSettings();
    void OnAbout();
    void OnExit();

    // Parts of the tray menu, the settings sheet and the About box.
    void ShowSettingsSheet();
    bool ShowTrayMenu();
    void DeleteCurrentPicture();
    void CancelSettingsWindows();
    void ShowAboutBox();
    // The open tray menu gets the owner-draw messages of its items.
    void OnMeasureItem(UINT id, MEASUREITEMSTRUCT& item);
    void OnDrawItem(UINT id, DRAWITEMSTRUCT& item);
    // True when one of the program's modal windows is open; it is then
    // brought forward.
    bool BringModalWindowForward();

    // The system behind the composition and the catalogue.
    GdiplusImaging imaging_;
    SystemDesktop desktop_;
    CrtRandom random_;
    // The one source of random numbers of the change cycle: those a dropped
    // pick ahead gave back first.
    ReturningRandom draws_{random_, state.returnedDraws};
    SystemClock clock_;
    Win32FileSystem fileSystem_;

    HICON windowIcon_ = nullptr;          // SM_CXICON
    HICON smallIcon_ = nullptr;           // SM_CXSMICON
    CTrayMenu* shownTrayMenu_ = nullptr;  // while the tray menu is open
    CAboutDlg* aboutBox_ = nullptr;       // while the About box is open
    // Set once the settings are loaded. Before that there is nothing of
    // the user's to write back, and writing would overwrite env.ini with
    // empty values.
    bool loaded_ = false;
    // Set when the program's folder takes no new files (for example under
    // "Program Files" without administrator rights): the program then
    // changes no wallpaper and writes nothing, rather than half of it.
    bool folderReadOnly_ = false;
    // Tries to add the icon while the task bar is not there yet.
    int trayAttempts_ = 0;
    bool waitingForTaskbar_ = false;
    // Whether the 30-second date check runs.
    bool dateTimerRunning_ = false;
    // The rescan and the preparing of the next picture run here.
    BackgroundWorker worker_;
    // Shared with the worker's jobs, which may outlive a stop.
    std::shared_ptr<PreparedPictures> prepared_ = std::make_shared<PreparedPictures>();
    // A change is under way (it may be waiting for its rescan, and
    // messages are handled meanwhile): a second request is not started.
    bool changing_ = false;
    // Pictures were given to the worker to prepare since the last change.
    bool preparing_ = false;
    // The program is ending (exit, or the end of the session): no change
    // starts or finishes after this.
    bool ending_ = false;
    // The user's style values are in env.ini since the first tiled set.
    bool styleSaved_ = false;
    // The program's own files were on the monitors at start.
    bool putBackEachMonitor_ = false;
};

// Whether a new file can be made in `dir`: a probe file is created there and
// removed at once.
bool FolderTakesNewFiles(const std::string& dir);

// Shows or hides the desktop's icon view; nothing happens without one.
void SetDesktopIconsVisible(bool visible);

}  // namespace corv
