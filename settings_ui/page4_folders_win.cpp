#include "settings_ui/page4_folders_win.h"

#include <commctrl.h>

#include "base/text_win.h"
#include "engine/catalogue.h"
#include "engine/dpi_win.h"
#include "framework/common_dialogs_win.h"
#include "res/resource.h"
#include "settings_ui/page4_folders.h"

namespace corv {

namespace {

// How often a long scan lets paint and timer messages through.
constexpr DWORD kPumpInterval = 50;

// Paint and timer messages waiting for the thread's windows, except the
// timers of `skip` (the host's change and date timers, which stay held
// while a scan runs). Input stays queued.
void DispatchPaintAndTimers(HWND skip) {
    MSG message;
    for (int i = 0; i < 64 && PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i)
        DispatchMessageW(&message);
    for (int i = 0; i < 64 && PeekMessageW(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE); ++i)
        if (message.hwnd != skip) DispatchMessageW(&message);
}

}  // namespace

CPage4::CPage4(SheetHost& host) : CSettingsPage(IDD_PAGE_FOLDERS, host) {}

bool CPage4::RouteMessage(Message& message) {
    using Map = MessageMap<CPage4>;
    static const Map map = {
        Map::OnCommand(IDC_FOLDER_ADD, &CPage4::OnAdd),
        Map::OnCommand(IDC_FOLDER_DELETE, &CPage4::OnDelete),
        Map::OnCommand(IDC_FOLDER_RESCAN, &CPage4::Rescan),
        Map::OnNotify(IDC_FOLDER_LIST, static_cast<UINT>(NM_CLICK), &CPage4::OnListClick),
    };
    return map.Dispatch(*this, message) || CSettingsPage::RouteMessage(message);
}

BOOL CPage4::OnInitDialog() {
    CSettingsPage::OnInitDialog();
    BindControl(list_, IDC_FOLDER_LIST);
    BindControl(progress_, IDC_FOLDER_PROGRESS);
    list_.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    static const int widths[] = {350, 50};
    static const int formats[] = {LVCFMT_LEFT, LVCFMT_RIGHT};
    list_.InsertColumns(L"이미지 경로,갯수", L",", widths, formats);
    // Images 1 x 16 only make every row 16 pixels high (at 96 DPI). The
    // list destroys the list with itself (it is not shared).
    HIMAGELIST rows = ImageList_Create(1, ScaledPixels(16), ILC_COLOR4, 1, 1);
    if (rows != nullptr) list_.SetImageList(rows, LVSIL_SMALL);
    Refill();
    return TRUE;
}

void CPage4::Refill() {
    list_.DeleteAllItems();
    AppendRows();
    ShowTotal();
    ForgetClickedRow();
}

void CPage4::AppendRows() {
    for (const FolderRow& row : rows_.Refill(State(), Host().Files())) {
        std::wstring path = Wide(row.path);
        if (!row.connected) path += L"  (연결 안 됨)";
        list_.AppendRow({path, Wide(row.count)});
    }
}

// The rows were filled anew: the row last clicked may now be another
// folder, so nothing is chosen for deletion until the next click.
void CPage4::ForgetClickedRow() {
    rows_.Forget();
    EnableItem(IDC_FOLDER_DELETE, false);
}

void CPage4::ShowTotal() {
    SetItemTextUtf8(IDC_FOLDER_TOTAL, TotalText(TotalPictures(State().folderList)));
}

bool CPage4::PreTranslateKey(const MSG& message) {
    // The keyboard cannot move the list's selection: the row to delete is
    // always the one last clicked.
    if (message.message != WM_KEYDOWN || message.hwnd != list_.Handle()) return false;
    switch (message.wParam) {
        case VK_PRIOR:
        case VK_NEXT:
        case VK_END:
        case VK_HOME:
        case VK_UP:
        case VK_DOWN:
            return true;
        default:
            return false;
    }
}

LRESULT CPage4::OnListClick(NMHDR& header) {
    const auto& click = reinterpret_cast<NMITEMACTIVATE&>(header);
    const int row = click.iItem < 0 ? -1 : list_.HitTest(click.ptAction);
    EnableItem(IDC_FOLDER_DELETE, rows_.Click(row));
    return 0;
}

void CPage4::StepProgress() {
    if (!IsWindow()) return;
    progress_.StepIt();
    const DWORD now = GetTickCount();
    if (now - lastPump_ < kPumpInterval) return;
    lastPump_ = now;
    DispatchPaintAndTimers(Host().HostWindow());
}

ScanProgress CPage4::Progress() {
    return ScanProgress{[this](int32_t entries) { BeginFolder(entries); },
                        [this] { Host().ScanStep(); }};
}

void CPage4::BeginFolder(int32_t entries) {
    progress_.SetPos(0);
    progress_.SetStep(1);
    SetItemText(IDC_FOLDER_TOTAL, std::wstring());
    progress_.SetRange(0, entries);
    lastPump_ = GetTickCount();
}

void CPage4::Tell(const std::wstring& text, const std::wstring& caption, UINT icon) {
    ShowMessageBox(hwnd_, text, caption, icon);
}

void CPage4::Rescan() {
    EnableItems({IDC_FOLDER_RESCAN, IDC_FOLDER_DELETE, IDC_FOLDER_ADD}, false);
    list_.DeleteAllItems();
    list_.Send(WM_SETREDRAW, FALSE);
    {
        CWaitCursor wait;
        RescanFolders(State(), Host().Files(), Progress());
    }
    // The program may be ending while the scan ran.
    if (!IsWindow()) return;
    AppendRows();
    list_.Send(WM_SETREDRAW, TRUE);
    list_.Invalidate(true);
    UpdateWindow(list_.Handle());
    ShowTotal();
    EnableItems({IDC_FOLDER_RESCAN, IDC_FOLDER_ADD}, true);
    ForgetClickedRow();
}

void CPage4::OnDelete() {
    if (!rows_.DeleteChosen(State())) return;
    Rescan();
}

void CPage4::OnAdd() {
    std::string chosen;
    if (!BrowseForFolder(hwnd_, L"디렉토리를 선택하세요.", lastFolder_, chosen)) return;
    if (!IsWindow()) return;
    lastFolder_ = chosen;
    const AddResult result = PrepareAddFolder(State(), chosen);
    if (result.folded) Tell(L"중복되는 폴더가 존재하므로 자동정리합니다!");
    switch (result.verdict) {
        case AddVerdict::Root:
            Tell(L"루트 디렉토리는 설정불가입니다!\n다시설정바랍니다.", L"알림",
                 MB_ICONINFORMATION);
            return;
        case AddVerdict::Same:
        case AddVerdict::Included:
            Tell(result.verdict == AddVerdict::Same ? L"같은 이름의 폴더가 있습니다!"
                                                    : L"추가하신 폴더는 이미 포함되어있습니다!");
            ForgetClickedRow();
            // Folders taken in before the refusal have left the list.
            if (result.folded) Refill();
            return;
        case AddVerdict::Added:
            break;
    }
    lastFolder_ = result.folder;
    int32_t found = 0;
    {
        CWaitCursor wait;
        found = ScanOneFolder(State(), Host().Files(), result.folder, Progress());
    }
    State().folderList.push_back(MakeFolderEntry(result.folder, found));
    if (IsWindow()) Refill();
}

}  // namespace corv
