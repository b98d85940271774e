#include "settings_ui/sheet_win.h"

#include "engine/dpi_win.h"
#include "framework/common_dialogs_win.h"
#include "settings_ui/sheet_logic.h"

namespace corv {

namespace {

// The sheet's own buttons, all hidden: OK, Cancel, Help and Apply.
constexpr int kApplyButton = 0x3021;
const int kSheetButtons[] = {kApplyButton, IDCANCEL, IDOK, IDHELP};
// The strip where the buttons were, in pixels at 96 DPI.
constexpr int kButtonStripHeight = 25;

struct OwnedWindows {
    HWND owners[8] = {};
    int ownerCount = 0;
    HWND found[16] = {};
    int foundCount = 0;
};

BOOL CALLBACK CollectOwned(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<OwnedWindows*>(param);
    HWND owner = GetWindow(window, GW_OWNER);
    for (int i = 0; i < search->ownerCount; ++i)
        if (owner != nullptr && owner == search->owners[i] && search->foundCount < 16)
            search->found[search->foundCount++] = window;
    return TRUE;
}

}  // namespace

CSheetPage::CSheetPage(SheetHost& host, int startPage)
    : CPropertySheet(L"Corvalendrine-환경설정", nullptr, 0),
      host_(host),
      page1_(host),
      page2_(host),
      page3_(host),
      page4_(host),
      page5_(host),
      page6_(host) {
    for (CSettingsPage* page : Pages()) AddPage(*page);
    SetActivePage(startPage);
}

std::array<CSettingsPage*, 6> CSheetPage::Pages() {
    return {&page1_, &page2_, &page3_, &page4_, &page5_, &page6_};
}

void CSheetPage::OnInitSheet() {
    for (int id : kSheetButtons) {
        HWND button = GetDlgItem(id);
        if (button != nullptr) ::ShowWindow(button, SW_HIDE);
    }
    const RECT box = GetWindowRect();
    SetWindowPos(nullptr, 0, 0, box.right - box.left,
                 box.bottom - box.top - ScaledPixels(kButtonStripHeight),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CentreOnWorkArea();
}

bool CSheetPage::PreTranslateMessage(MSG& message) {
    if (message.message == WM_KEYDOWN) {
        const int active = GetActiveIndex();
        if (active >= 0 && Pages()[static_cast<size_t>(active)]->PreTranslateKey(message))
            return true;
    }
    return CPropertySheet::PreTranslateMessage(message);
}

bool CSheetPage::RouteMessage(Message& message) {
    using Map = MessageMap<CSheetPage>;
    static const Map map = {
        Map::OnSysCommand(&CSheetPage::OnSysCommand),
        Map::OnDestroy(&CSheetPage::OnDestroy),
    };
    return map.Dispatch(*this, message) || CPropertySheet::RouteMessage(message);
}

bool CSheetPage::OnSysCommand(UINT command) {
    if ((command & 0xFFF0) != SC_CLOSE) return false;
    Settings& record = settings != nullptr ? *settings : host_.State().settings;
    const CloseVerdict verdict = CheckSheetClose(record, page2_.SizeLimitWidth(), &page2_, &page3_,
                                                 page2_.CollageSizeLimit());
    if (!verdict.close) {
        SetActivePage(verdict.page);
        ShowMessageBox(hwnd_, verdict.message, kSheetMessageCaption, MB_ICONEXCLAMATION);
        CPropertyPage* page = GetPage(verdict.page);
        if (verdict.focusField != 0 && page != nullptr && page->IsWindow()) {
            HWND field = page->GetDlgItem(verdict.focusField);
            if (field != nullptr) ::SetFocus(field);
        }
        return true;
    }
    closedOnPage_ = GetActiveIndex();
    return false;
}

void CSheetPage::OnDestroy() {
    // The memory option: the hidden main window is minimised without being
    // activated, which lets the system trim the process's working set.
    if (host_.State().settings.rememory != 0) ::ShowWindow(host_.HostWindow(), SW_SHOWMINNOACTIVE);
}

void CSheetPage::StepScanProgress() {
    page4_.StepProgress();
}

void CSheetPage::CancelWithChildren() {
    if (!IsWindow()) return;
    OwnedWindows search;
    search.owners[search.ownerCount++] = hwnd_;
    for (CSettingsPage* page : Pages()) {
        page->CancelOwnWindows();
        if (page->IsWindow()) search.owners[search.ownerCount++] = page->Handle();
    }
    // The system's boxes the sheet opened (colour, file, folder, message).
    EnumThreadWindows(GetCurrentThreadId(), CollectOwned, reinterpret_cast<LPARAM>(&search));
    for (int i = 0; i < search.foundCount; ++i)
        ::PostMessageW(search.found[i], WM_COMMAND, IDCANCEL, 0);
    Post(WM_COMMAND, IDCANCEL, 0);
}

}  // namespace corv
