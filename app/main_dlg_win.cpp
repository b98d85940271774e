#include "app/main_dlg_win.h"

#include <shellapi.h>

#include <atomic>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

#include "app/delete_picture_win.h"
#include "app/program_names.h"
#include "base/text_win.h"
#include "compose/calendar.h"
#include "compose/composer.h"
#include "compose/desktop_win.h"
#include "compose/effects.h"
#include "compose/slots_file.h"
#include "engine/catalogue.h"
#include "engine/cycle.h"
#include "engine/cycle_win.h"
#include "engine/desktop_settings.h"
#include "engine/dpi_win.h"
#include "engine/first_start.h"
#include "engine/paths.h"
#include "engine/platform_win.h"
#include "engine/settings.h"
#include "framework/app_win.h"
#include "framework/common_dialogs_win.h"
#include "res/resource.h"
#include "settings_ui/page6_misc.h"
#include "settings_ui/sheet_win.h"
#include "widgets/about_dlg_win.h"
#include "widgets/tray_menu_win.h"

namespace corv {

namespace {

constexpr UINT_PTR kChangeTimerId = 1;
constexpr UINT_PTR kDateTimerId = 7;
constexpr UINT kDateTimerPeriod = 30000;
// Started from the Run key, the program may come before the task bar: the
// icon is tried again every 2 seconds for 90 seconds.
constexpr UINT_PTR kTrayRetryTimerId = 3;
constexpr UINT kTrayRetryPeriod = 2000;
constexpr int kTrayAttempts = 45;
// A change of the monitor layout comes as several messages while monitors
// switch on or off: the new wallpaper is composed once 2 seconds pass
// without another.
constexpr UINT_PTR kDisplayChangeTimerId = 4;
constexpr UINT kDisplaySettleDelay = 2000;

// Sent to every top-level window when the task bar is (re)created.
UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

// Says once, naming the folder, that the program cannot keep its files
// there, and what to do about it.
void TellFolderIsReadOnly(const std::string& dir) {
    const std::wstring text =
        L"Corvalendrine이 있는 폴더에 파일을 쓸 수 없습니다.\n\n" + Wide(dir) +
        L"\n\n이 폴더에는 설정(env.ini)과 바탕화면 그림을 저장할 수 없으므로 바탕화면을 "
        L"바꾸지 않고 아무 파일도 쓰지 않습니다.\n프로그램 폴더를 통째로 내가 쓸 수 있는 "
        L"폴더(예: 문서 폴더)로 옮긴 뒤 다시 실행해 주세요.\n\n또는 Corvalendrine 설치 "
        L"프로그램(이름이 -setup.exe로 끝나는 파일)을 실행하세요. 관리자 권한 없이 내 사용자 "
        L"폴더에 설치하고 시작 메뉴에 바로 가기를 만듭니다.";
    ShowMessageBox(nullptr, text, L"Corvalendrine - 쓸 수 없는 폴더",
                   MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
}

// The first start's word from the icon: where the program went and how its
// settings open, since the notification area may keep a new icon out of
// sight.
void ShowFirstStartBalloon(CTrayIcon& icon) {
    icon.ShowBalloon(L"Corvalendrine이 실행 중입니다",
                     L"Corvalendrine은 작업 표시줄의 알림 영역(시계 옆)에서 실행됩니다. 아이콘이 "
                     L"보이지 않으면 알림 영역의 ^ 단추를 누르세요.\n아이콘을 오른쪽 클릭하고 "
                     L"\"환경 설정\"을 누르면 설정이 열립니다.");
}

}  // namespace

bool FolderTakesNewFiles(const std::string& dir) {
    const std::string probe = JoinPath(dir, "~corvalendrine-write-check.tmp");
    for (int attempt = 0; attempt < 2; ++attempt) {
        HANDLE file = CreateFileW(WidePath(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return true;
        }
        // A probe left by a killed run is removed and tried once more.
        if (GetLastError() != ERROR_FILE_EXISTS || !DeleteFileW(WidePath(probe).c_str()))
            return false;
    }
    return false;
}

void SetDesktopIconsVisible(bool visible) {
    HWND desktop = FindWindowW(L"Progman", nullptr);
    if (desktop == nullptr) return;
    HWND iconView = FindWindowExW(desktop, nullptr, L"SHELLDLL_DefView", nullptr);
    if (iconView == nullptr) return;
    ShowWindow(iconView, visible ? SW_SHOW : SW_HIDE);
}

CMainDlg::CMainDlg() : CDialog(IDD_MAIN) {
    // Each at the size the system shows it at this DPI, from the sizes the
    // icon resource carries; shared icons need no release.
    windowIcon_ = static_cast<HICON>(LoadImageW(ResourceInstance(), MAKEINTRESOURCEW(IDI_PROGRAM),
                                                IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                GetSystemMetrics(SM_CYICON), LR_SHARED));
    smallIcon_ = static_cast<HICON>(LoadImageW(ResourceInstance(), MAKEINTRESOURCEW(IDI_PROGRAM),
                                               IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    state.screenDpi = SystemDpi();
}

CMainDlg::~CMainDlg() {
    trayIcon.DeleteIcon();
}

bool CMainDlg::RouteMessage(Message& message) {
    using Map = MessageMap<CMainDlg>;
    static const Map map = {
        Map::OnWindowPosChanging(&CMainDlg::OnWindowPosChanging),
        Map::OnDestroy(&CMainDlg::OnDestroy),
        Map::OnQueryEndSession(&CMainDlg::OnQueryEndSession),
        Map::OnTimer(&CMainDlg::OnTimer),
        Map::OnMessage(WM_TRAY_NOTIFY, &CMainDlg::OnTrayNotify),
        Map::OnMessage(TaskbarCreatedMessage(), &CMainDlg::OnTaskbarCreated),
        Map::OnMessage(WM_DISPLAYCHANGE, &CMainDlg::OnDisplayChange),
        Map::OnMeasureItem(&CMainDlg::OnMeasureItem),
        Map::OnDrawItem(&CMainDlg::OnDrawItem),
        Map::OnCommand(ID_NEXT_PICTURE, &CMainDlg::OnNextPicture),
        Map::OnCommand(ID_PREVIOUS_PICTURE, &CMainDlg::OnPreviousPicture),
        Map::OnCommand(ID_DELETE_PICTURE, &CMainDlg::OnDeletePicture),
        Map::OnCommand(ID_OPEN_PICTURE, &CMainDlg::OnOpenPicture),
        Map::OnCommand(ID_DESKTOP_ICONS, &CMainDlg::OnDesktopIcons),
        Map::OnCommand(ID_CLEAR_SCREEN, &CMainDlg::OnClearScreen),
        Map::OnCommand(ID_PAUSE, &CMainDlg::OnPause),
        Map::OnCommand(ID_SETTINGS, &CMainDlg::OnSettings),
        Map::OnCommand(ID_ABOUT, &CMainDlg::OnAbout),
        Map::OnCommand(ID_EXIT, &CMainDlg::OnExit),
    };
    return map.Dispatch(*this, message) || CDialog::RouteMessage(message);
}

// --- start -----------------------------------------------------------------

BOOL CMainDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcon(windowIcon_, true);
    SetIcon(smallIcon_ != nullptr ? smallIcon_ : windowIcon_, false);
    SetText(kMainWindowTitle);

    // Without the icon the program has no face: nothing is loaded or
    // started until the task bar takes it.
    if (!trayIcon.AddIcon(hwnd_, WM_TRAY_NOTIFY, "", nullptr, ID_TRAY_ICON)) {
        WaitForTaskbar();
        return TRUE;
    }
    StartUp();
    return TRUE;
}

void CMainDlg::WaitForTaskbar() {
    waitingForTaskbar_ = true;
    trayAttempts_ = 0;
    SetTimer(kTrayRetryTimerId, kTrayRetryPeriod);
}

void CMainDlg::RetryTrayIcon() {
    if (!waitingForTaskbar_) return;
    if (trayIcon.AddIcon(hwnd_, WM_TRAY_NOTIFY, "", nullptr, ID_TRAY_ICON)) {
        waitingForTaskbar_ = false;
        KillTimer(kTrayRetryTimerId);
        StartUp();
        return;
    }
    if (++trayAttempts_ < kTrayAttempts) return;
    // No task bar came: end without a trace. Nothing was loaded, so nothing
    // is written, and the end of the modal run lets the mutex go.
    waitingForTaskbar_ = false;
    KillTimer(kTrayRetryTimerId);
    EndDialog(IDCANCEL);
}

LRESULT CMainDlg::OnTaskbarCreated(WPARAM, LPARAM) {
    // A task bar that comes late, or a shell that restarted and lost
    // every icon.
    if (waitingForTaskbar_)
        RetryTrayIcon();
    else if (loaded_)
        trayIcon.ReAddIcon();
    return 0;
}

LRESULT CMainDlg::OnDisplayChange(WPARAM, LPARAM) {
    SetTimer(kDisplayChangeTimerId, kDisplaySettleDelay);
    return 0;
}

void CMainDlg::StartUp() {
    trayIcon.SetIconResource(IDI_TRAY);

    Settings& settings = state.settings;
    settings.Reset();
    settings.programDir = DirectoryOf(ProgramFilePath());
    ReadDesktopSettings();
    LoadSettingsFile(settings, state.exceptionPrograms);
    loaded_ = true;
    folderReadOnly_ = !FolderTakesNewFiles(settings.programDir);
    if (folderReadOnly_) TellFolderIsReadOnly(settings.programDir);
    // Before the wallpaper path below makes env.ini.
    const bool firstStart = IsFirstStart(settings.programDir, !folderReadOnly_);
    if (settings.isiconhide) SetDesktopIconsVisible(false);
    LoadCatalogue();
    LoadSpecialDays();
    LoadSlots();
    if (!folderReadOnly_) SaveUserWallpaperPath(settings);
    ReadMonitorWallpapers();
    BuildTooltip();
    LoadMaskList();
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    // The first wallpaper of a run always starts on an empty canvas.
    state.overlapCount = 0;
    state.freshCanvasRequested = 1;
    ChangeWallpaper(0);
    if (!state.pictureList.empty() && settings.isforeimg) state.cycleReady = 1;
    StartTimers();
    if (firstStart) ShowFirstStartBalloon(trayIcon);
}

void CMainDlg::ReadDesktopSettings() {
    DesktopValues values;
    values.hasWallpaper = ReadRegistryString(HKEY_CURRENT_USER, "Control Panel\\Desktop",
                                             "Wallpaper", values.wallpaper);
    values.hasBackground = ReadRegistryString(HKEY_CURRENT_USER, "Control Panel\\Colors",
                                              "Background", values.background);
    values.hasStyle = ReadRegistryString(HKEY_CURRENT_USER, "Control Panel\\Desktop",
                                         "TileWallpaper", values.tileWallpaper) &&
                      ReadRegistryString(HKEY_CURRENT_USER, "Control Panel\\Desktop",
                                         "WallpaperStyle", values.wallpaperStyle);
    ApplyDesktopValues(state.settings, values);
}

void CMainDlg::ReadMonitorWallpapers() {
    Settings& settings = state.settings;
    MonitorWallpapers current;
    if (!desktop_.ReadMonitorWallpapers(current)) return;
    // The program's files still on a monitor: the last run ended badly, and
    // this run's end puts the remembered pictures back.
    putBackEachMonitor_ = ShowsOwnWallpaper(current, settings.programDir);
    settings.userMonitorWallpapers = JoinMonitorWallpapers(
        UsersMonitorWallpapers(current, settings.userMonitorWallpapers, settings));
    if (!folderReadOnly_) SaveUserMonitorWallpapers(settings);
}

void CMainDlg::BuildTooltip() {
    std::string tip = LoadResourceStringUtf8(IDS_VERSION);
    if (state.settings.isiptooltip) tip += "\r\n" + GetAddressText();
    trayIcon.SetTipText(tip.c_str());
}

std::string CMainDlg::GetAddressText() {
    return ::corv::GetAddressText();
}

void CMainDlg::StartTimers() {
    const Settings& settings = state.settings;
    SetTimer(kChangeTimerId, ChangePeriodMs(settings));
    if (!settings.isweekday && !settings.iscalender) return;
    SetTimer(kDateTimerId, kDateTimerPeriod);
    dateTimerRunning_ = true;
    const LocalDate today = clock_.Today();
    state.lastDateText = FormatDateText(today);
    if (settings.isweekday && today.weekday >= 0 && today.weekday <= 6)
        trayIcon.SetIconResource(IDI_SUNDAY + static_cast<UINT>(today.weekday));
}

void CMainDlg::FollowDateSettings() {
    const bool wanted = DateCheckWanted(state.settings);
    if (wanted == dateTimerRunning_) return;
    if (!wanted) {
        KillTimer(kDateTimerId);
        dateTimerRunning_ = false;
        return;
    }
    // From today on: the page has already put the icon and asked for the
    // calendar, so the first check finds nothing new.
    SetTimer(kDateTimerId, kDateTimerPeriod);
    dateTimerRunning_ = true;
    state.lastDateText = FormatDateText(clock_.Today());
}

// --- end -------------------------------------------------------------------

void CMainDlg::SaveAtEnd() {
    // A change waiting for its scan ends without a wallpaper, and the
    // worker is gone before the user's wallpaper comes back.
    ending_ = true;
    worker_.Stop();
    if (!loaded_) return;
    // Picks made ahead go back into the catalogue before it is written.
    DropPicksAhead(state);
    const Settings& settings = state.settings;
    // The flag stays set, so the icons are hidden again at the next start.
    if (settings.isiconhide) SetDesktopIconsVisible(true);
    // Nothing was written and the wallpaper was never changed.
    if (folderReadOnly_) return;
    SaveSettingsFile(settings, state.exceptionPrograms);
    SaveCatalogue();
    SaveSlots();
    RestoreUserWallpaper();
}

void CMainDlg::RestoreUserWallpaper() {
    const Settings& settings = state.settings;
    if (settings.restoreWallpaperStyle || state.tiledWallpaperSet) {
        std::string tile, style;
        if (SplitWallpaperStyle(settings.userWallpaperStyle, tile, style))
            SetWallpaperStyleValues(tile, style);
        else
            DeleteWallpaperStyleValues();
    }
    // An empty path leaves the desktop without a picture, as the user had it.
    std::wstring path = Wide(state.settings.userWallpaper);
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, &path[0],
                          SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
    // Every monitor's own picture after the one above, which the system lays
    // on all of them.
    if (state.eachMonitorSet || putBackEachMonitor_)
        desktop_.PutBackMonitorWallpapers(SplitMonitorWallpapers(settings.userMonitorWallpapers));
}

void CMainDlg::OnDestroy() {
    SaveAtEnd();
    // The slot rectangles go only now: a session end before this wrote
    // poslist.txt, and this last save must write the same slots again.
    state.placementSlots.clear();
    state.placementSlots.shrink_to_fit();
}

bool CMainDlg::OnQueryEndSession() {
    // The session may end; everything is written now, as the process may
    // not see its window destroyed.
    SaveAtEnd();
    // Should the session go on after all, so does the program.
    ending_ = false;
    return true;
}

// --- the hidden window -------------------------------------------------------

void CMainDlg::OnWindowPosChanging(WINDOWPOS& position) {
    // Every attempt to show the window, the modal run's own included,
    // becomes a move without showing.
    position.flags &= ~static_cast<UINT>(SWP_SHOWWINDOW);
}

// --- tray icon and commands --------------------------------------------------

LRESULT CMainDlg::OnTrayNotify(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(lParam) == WM_RBUTTONDOWN && ShowTrayMenu()) return 0;
    return trayIcon.OnIconNotify(wParam, lParam);
}

void CMainDlg::OnNextPicture() {
    ChangeWallpaper(0);
}

void CMainDlg::OnPreviousPicture() {
    ChangeWallpaper(-1);
}

void CMainDlg::OnDeletePicture() {
    DeleteCurrentPicture();
}

void CMainDlg::OnOpenPicture() {
    // With no picture there is nothing to open; an empty name would open
    // some folder instead.
    if (state.currentPicture.empty()) return;
    ShellExecuteW(nullptr, L"open", Wide(state.currentPicture).c_str(), nullptr, nullptr,
                  SW_SHOWNORMAL);
}

void CMainDlg::OnDesktopIcons() {
    Settings& settings = state.settings;
    SetDesktopIconsVisible(settings.isiconhide);
    settings.isiconhide = !settings.isiconhide;
}

void CMainDlg::OnClearScreen() {
    state.freshCanvasRequested = 1;
    ChangeWallpaper(0);
}

void CMainDlg::OnPause() {
    state.settings.paused = !state.settings.paused;
}

void CMainDlg::OnSettings() {
    ShowSettingsSheet();
}

void CMainDlg::OnAbout() {
    ShowAboutBox();
}

void CMainDlg::OnExit() {
    ending_ = true;
    // A rescan or a preparation under way ends now, not at its own end.
    worker_.Stop();
    CancelSettingsWindows();
    // Ends the modal run; the window is then destroyed and writes
    // everything back.
    Post(WM_COMMAND, IDCANCEL, 0);
}

// --- the change cycle ---------------------------------------------------------

void CMainDlg::ChangeWallpaper(int step) {
    if (!loaded_) return;  // still waiting for the task bar
    if (folderReadOnly_ || ending_ || changing_) return;
    changing_ = true;
    struct Done {
        bool& changing;
        ~Done() { changing = false; }
    } done{changing_};
    bool scanned = false;
    if (step >= 0 && state.settings.isforeimg && PickNeedsRescan(state)) {
        scanned = RescanOnWorker();
        // The end came while the folders were read: the user's wallpaper
        // is back, and stays.
        if (ending_) return;
    }
    if (preparing_) {
        // The next picture may still be being prepared: the change waits for
        // it (messages go on being handled) rather than decoding it a second
        // time beside it. The worker takes jobs in order, so an empty one
        // ends after the preparations.
        preparing_ = false;
        bool ran = false;
        worker_.RunAndWait([](const std::atomic<bool>&) {}, ran);
        if (ending_) return;
    }
    ComposeServices services{imaging_,
                             desktop_,
                             draws_,
                             clock_,
                             fileSystem_,
                             [this] { ScanStep(); },
                             scanned,
                             [this](const std::string& path, const NeededSize& need) {
                                 return PreparedPicture(path, need);
                             }};
    ::corv::ChangeWallpaper(state, step, services);
    if (state.tiledWallpaperSet && !styleSaved_) {
        // From now on a run that ends without putting the user's style back
        // leaves it in env.ini for the next start.
        SaveUserWallpaperStyle(state.settings);
        styleSaved_ = true;
    }
    // The memory trim: minimised without activation (the window stays
    // hidden, since showing is always refused).
    if (state.settings.rememory) ShowWindow(hwnd_, SW_SHOWMINNOACTIVE);
    PrepareAhead();
}

void CMainDlg::PrepareAhead() {
    if (ending_) return;
    // One pick for each picture the next change takes (one per monitor).
    const std::vector<NeededSize> needs = NextPictureNeeds(state, desktop_);
    PickSources sources{fileSystem_, draws_, clock_, nullptr};
    if (state.settings.isforeimg) MakePicksAhead(state, sources, needs.size());
    const PrefetchPlan plan = PlanPrefetch(state, needs);
    prepared_->KeepOnly(plan.keep);
    for (const PreparedRequest& request : plan.prepare) {
        // A job that cannot be queued leaves the picture to its change.
        preparing_ |= worker_.Post([cache = prepared_, request](const std::atomic<bool>& stopping) {
            if (stopping) return;
            const PreparedKey key{request.path, request.need, ReadFileStamp(request.path)};
            if (!key.stamp.present || cache->Find(key)) return;
            // The worker's own imaging objects, gone when the job ends.
            GdiplusImaging imaging;
            auto pixels = std::make_shared<PreparedPixels>();
            if (imaging.PreparePicture(request.path, request.need, *pixels))
                cache->Put(key, std::move(pixels));
        });
    }
}

std::unique_ptr<Image> CMainDlg::PreparedPicture(const std::string& path, const NeededSize& need) {
    const PreparedKey key{path, need, ReadFileStamp(path)};
    if (!key.stamp.present) return nullptr;
    std::shared_ptr<const PreparedPixels> pixels = prepared_->Find(key);
    if (!pixels) {
        // Not prepared yet, or prepared before the file or the size changed.
        auto fresh = std::make_shared<PreparedPixels>();
        if (!imaging_.PreparePicture(path, need, *fresh)) return nullptr;
        prepared_->Put(key, fresh);
        pixels = std::move(fresh);
    }
    return imaging_.FromPrepared(std::move(pixels));
}

namespace {

// The system's folders, seen by a scan that ends early once its worker
// stops: no folder is listed further.
class StoppableFileSystem : public FileSystem {
public:
    explicit StoppableFileSystem(const std::atomic<bool>& stopping) : stopping_(stopping) {}
    bool ForEachEntry(const std::string& folder,
                      const std::function<void(const DirEntry&)>& visit) override {
        if (stopping_) return false;
        return system_.ForEachEntry(folder, [&](const DirEntry& entry) {
            if (!stopping_) visit(entry);
        });
    }
    bool Exists(const std::string& path) override { return system_.Exists(path); }

private:
    const std::atomic<bool>& stopping_;
    Win32FileSystem system_;
};

}  // namespace

bool CMainDlg::RescanOnWorker() {
    // The job owns what it reads and writes: it may outlive the wait.
    auto folders = std::make_shared<std::vector<std::string>>();
    for (const FolderEntry& folder : state.folderList) folders->push_back(folder.path);
    auto found = std::make_shared<std::vector<std::string>>();
    bool ran = false;
    worker_.RunAndWait(
        [folders, found](const std::atomic<bool>& stopping) {
            StoppableFileSystem fs(stopping);
            AppState scratch;
            for (const std::string& folder : *folders) ScanFolder(scratch, fs, folder);
            *found = std::move(scratch.pictureList);
        },
        ran);
    // Messages were handled meanwhile: only a list still empty takes the
    // pictures found.
    if (!ran || ending_ || !state.pictureList.empty()) return false;
    state.pictureList = std::move(*found);
    return true;
}

void CMainDlg::OnTimer(UINT_PTR timerId) {
    if (timerId == kTrayRetryTimerId) {
        RetryTrayIcon();
        return;
    }
    if (!loaded_) return;
    if (timerId == kDisplayChangeTimerId) {
        // The layout has settled: a fresh canvas of its size.
        KillTimer(kDisplayChangeTimerId);
        state.freshCanvasRequested = 1;
        ChangeWallpaper(0);
        return;
    }
    if (timerId == kChangeTimerId) {
        const auto busy = [this] { return IsBusy(ListTopWindows(), state.exceptionPrograms); };
        if (TickShouldChange(state, busy)) ChangeWallpaper(0);
        return;
    }
    const DateCheckResult date = CheckDate(state, clock_.Today());
    if (!date.changed) return;
    if (date.weekdayIcon != 0) trayIcon.SetIconResource(static_cast<UINT>(date.weekdayIcon));
    if (date.recompose) ChangeWallpaper(0);
}

void CMainDlg::DeleteCurrentPicture() {
    ::corv::DeleteCurrentPicture(hwnd_, state, [this] { ChangeWallpaper(0); });
}

// --- files beside the program --------------------------------------------------

void CMainDlg::LoadCatalogue() {
    ::corv::LoadCatalogue(state, JoinPath(state.settings.programDir, "list.txt"));
}

void CMainDlg::SaveCatalogue() {
    ::corv::SaveCatalogue(state, JoinPath(state.settings.programDir, "list.txt"));
}

void CMainDlg::LoadSpecialDays() {
    ::corv::LoadSpecialDays(SpecialDaysPath(state.settings.programDir), state.specialDays);
}

void CMainDlg::LoadSlots() {
    ::corv::LoadSlots(SlotsFilePath(state.settings.programDir), state.placementSlots);
}

void CMainDlg::SaveSlots() {
    ::corv::SaveSlots(SlotsFilePath(state.settings.programDir), state.placementSlots);
}

void CMainDlg::LoadMaskList() {
    ::corv::LoadMaskList(fileSystem_, JoinPath(state.settings.programDir, "Masks"), state.maskList);
}

// --- the tray menu, the settings sheet and the About box -----------------------

bool CMainDlg::ShowTrayMenu() {
    // While a modal window of the program is open, or the menu already is,
    // a second menu would let its commands (delete, About, settings) run
    // inside the first window and give the cycle back too early.
    if (BringModalWindowForward()) return true;
    if (shownTrayMenu_ != nullptr) return false;

    state.cycleReady = 0;
    HMENU menu = LoadMenuW(ResourceInstance(), MAKEINTRESOURCEW(IDR_TRAYMENU));
    HMENU popup = menu != nullptr ? GetSubMenu(menu, 0) : nullptr;
    if (popup != nullptr) {
        CTrayMenu trayMenu;
        trayMenu.Attach(popup);
        // Whatever happens, the menu object lets go of the borrowed pop-up,
        // the owner stops forwarding, and the cycle goes on.
        struct Release {
            CMainDlg& self;
            CTrayMenu& trayMenu;
            ~Release() {
                self.shownTrayMenu_ = nullptr;
                trayMenu.Detach();
                self.state.cycleReady = 1;
            }
        } release{*this, trayMenu};

        PrepareTrayMenu(trayMenu, state.settings.paused, state.settings.isiconhide);

        POINT cursor{};
        GetCursorPos(&cursor);
        SetForeground();
        shownTrayMenu_ = &trayMenu;
        TrackPopupMenu(popup, 0, cursor.x, cursor.y, 0, hwnd_, nullptr);
        // Lets the menu close properly when the user clicks elsewhere next.
        Post(WM_NULL);
    }
    if (menu != nullptr) DestroyMenu(menu);
    state.cycleReady = 1;
    return false;
}

bool CMainDlg::BringModalWindowForward() {
    // The settings sheet, the delete question and the About box all
    // disable the main window while they are open.
    if (IsEnabled()) return false;
    HWND popup = GetLastActivePopup(hwnd_);
    if (popup != nullptr && popup != hwnd_) SetForegroundWindow(popup);
    return true;
}

void CMainDlg::OnMeasureItem(UINT, MEASUREITEMSTRUCT& item) {
    if (item.CtlType == ODT_MENU && shownTrayMenu_ != nullptr) shownTrayMenu_->MeasureItem(item);
}

void CMainDlg::OnDrawItem(UINT, DRAWITEMSTRUCT& item) {
    if (item.CtlType == ODT_MENU && shownTrayMenu_ != nullptr) shownTrayMenu_->DrawItem(item);
}

void CMainDlg::CancelSettingsWindows() {
    // An open About box would hold the end until it is closed.
    if (aboutBox_ != nullptr && aboutBox_->IsWindow()) aboutBox_->EndDialog(IDCANCEL);
    if (settingsSheet != nullptr) settingsSheet->CancelWithChildren();
}

void CMainDlg::ShowSettingsSheet() {
    state.cycleReady = 0;
    // A second request while the sheet is open brings it forward.
    if (settingsSheet != nullptr) {
        if (settingsSheet->IsWindow()) settingsSheet->SetForeground();
        return;
    }
    // The sheet may change the order and the folders: the next pick is
    // made after it, from what it leaves.
    DropPicksAhead(state);
    {
        CSheetPage sheet(*this, state.lastSheetPage);
        sheet.settings = &state.settings;
        settingsSheet = &sheet;
        sheet.DoModal();
        settingsSheet = nullptr;
        if (sheet.ClosedOnPage() >= 0) state.lastSheetPage = sheet.ClosedOnPage();
    }
    // Whatever ended the sheet, the new settings show at once.
    if (!state.pictureList.empty() && state.settings.isforeimg) {
        state.cycleReady = 1;
        SetTimer(kChangeTimerId, ChangePeriodMs(state.settings));
    }
    state.cycleReady = 1;
    ChangeWallpaper(0);
}

void CMainDlg::ScanStep() {
    if (settingsSheet != nullptr && settingsSheet->IsWindow()) settingsSheet->StepScanProgress();
}

void CMainDlg::ShowAboutBox() {
    // A second request while the box is open brings it forward.
    if (aboutBox_ != nullptr) {
        if (aboutBox_->IsWindow()) aboutBox_->SetForeground();
        return;
    }
    CAboutDlg about;
    aboutBox_ = &about;
    about.DoModal();
    aboutBox_ = nullptr;
}

}  // namespace corv
