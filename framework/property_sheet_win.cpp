#include "framework/property_sheet_win.h"

#include "framework/app_win.h"

namespace corv {

namespace {

// The sheet whose window PropertySheetW is making; its callback carries no
// pointer of ours. One user-interface thread makes every sheet.
CPropertySheet* sheetBeingMade = nullptr;

}  // namespace

// --- CPropertyPage ---------------------------------------------------------

CPropertyPage::CPropertyPage(UINT templateId) : CDialog(templateId) {}

bool CPropertyPage::RouteMessage(Message& message) {
    // The sheet sends its notifications with control id 0. IDOK and
    // IDCANCEL belong to the sheet, so a page does not chain to CDialog's
    // map, which would end the page's window.
    using Map = MessageMap<CPropertyPage>;
    static const Map map = {
        Map::OnNotify(0, PSN_SETACTIVE, &CPropertyPage::OnSetActiveNotify),
        Map::OnNotify(0, PSN_KILLACTIVE, &CPropertyPage::OnKillActiveNotify),
        Map::OnNotify(0, PSN_APPLY, &CPropertyPage::OnApplyNotify),
    };
    return map.Dispatch(*this, message);
}

LRESULT CPropertyPage::OnSetActiveNotify(NMHDR&) {
    return OnSetActive() ? 0 : -1;
}

LRESULT CPropertyPage::OnKillActiveNotify(NMHDR&) {
    return OnKillActive() ? FALSE : TRUE;
}

LRESULT CPropertyPage::OnApplyNotify(NMHDR&) {
    OnApply();
    if (sheet_ != nullptr) sheet_->applied_ = true;
    return PSNRET_NOERROR;
}

INT_PTR CALLBACK CPropertyPage::PageProc(HWND window, UINT id, WPARAM wParam, LPARAM lParam) {
    CPropertyPage* page = nullptr;
    if (id == WM_INITDIALOG) {
        // A page's creation parameter is its PROPSHEETPAGE record.
        const auto* description = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
        if (description != nullptr) page = reinterpret_cast<CPropertyPage*>(description->lParam);
        if (page != nullptr && page->sheet_ != nullptr && page->sheet_->Handle() == nullptr)
            page->sheet_->Attach(::GetParent(window));
    }
    return HandleDialogMessage(page, window, id, wParam, lParam);
}

// --- CPropertySheet --------------------------------------------------------

CPropertySheet::CPropertySheet(std::wstring caption, HWND parent, UINT startPage)
    : caption_(std::move(caption)), parent_(parent), startPage_(startPage) {}

CPropertySheet::~CPropertySheet() {
    if (IsWindow()) ::DestroyWindow(hwnd_);
}

void CPropertySheet::AddPage(CPropertyPage& page) {
    page.sheet_ = this;
    pages_.push_back(&page);
}

CPropertyPage* CPropertySheet::GetPage(int index) const {
    if (index < 0 || index >= GetPageCount()) return nullptr;
    return pages_[static_cast<size_t>(index)];
}

int CPropertySheet::GetActiveIndex() const {
    if (!IsWindow()) return -1;
    HWND current = PropSheet_GetCurrentPageHwnd(hwnd_);
    for (int i = 0; i < GetPageCount(); ++i)
        if (current != nullptr && pages_[static_cast<size_t>(i)]->Handle() == current) return i;
    return -1;
}

void CPropertySheet::SetActivePage(int index) {
    if (index < 0 || index >= GetPageCount()) return;
    if (IsWindow())
        PropSheet_SetCurSel(hwnd_, nullptr, index);
    else
        startPage_ = static_cast<UINT>(index);
}

bool CPropertySheet::PreTranslateMessage(MSG&) {
    return false;
}

INT_PTR CPropertySheet::DoModal() {
    if (pages_.empty() || IsWindow()) return -1;
    std::vector<PROPSHEETPAGEW> descriptions;
    for (CPropertyPage* page : pages_) {
        PROPSHEETPAGEW description{};
        description.dwSize = sizeof description;
        description.dwFlags = PSP_DEFAULT;
        description.hInstance = ResourceInstance();
        description.pszTemplate = MAKEINTRESOURCEW(page->TemplateId());
        description.pfnDlgProc = CPropertyPage::PageProc;
        description.lParam = reinterpret_cast<LPARAM>(page);
        descriptions.push_back(description);
    }
    HWND owner = OwnerFor(parent_, this);
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof header;
    // Modeless, with a loop of our own below: that loop is where derived
    // sheets see keyboard messages first.
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS | PSH_USECALLBACK | PSH_NOAPPLYNOW;
    header.hwndParent = owner;
    header.hInstance = ResourceInstance();
    header.pszCaption = caption_.c_str();
    header.nPages = static_cast<UINT>(descriptions.size());
    header.nStartPage = startPage_ < header.nPages ? startPage_ : 0;
    header.ppsp = descriptions.data();
    header.pfnCallback = SheetCallback;

    applied_ = false;
    sheetBeingMade = this;
    INT_PTR made = PropertySheetW(&header);
    sheetBeingMade = nullptr;
    HWND sheet = reinterpret_cast<HWND>(made);
    if (made == 0 || made == -1 || !::IsWindow(sheet)) {
        hwnd_ = nullptr;
        return -1;
    }
    SubclassWindow(sheet);

    const bool disableOwner = owner != nullptr && ::IsWindowEnabled(owner);
    if (disableOwner) ::EnableWindow(owner, FALSE);
    RunModalLoop();
    // The owner comes back before the sheet goes, so that it, not some
    // other program, is activated.
    if (disableOwner) ::EnableWindow(owner, TRUE);
    if (IsWindow()) ::DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    return applied_ ? IDOK : IDCANCEL;
}

void CPropertySheet::RunModalLoop() {
    MSG message;
    // A closed modeless sheet has no current page any more.
    while (IsWindow() && PropSheet_GetCurrentPageHwnd(hwnd_) != nullptr) {
        BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            // The program is ending: leave the quit message for the loop
            // outside.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (got == -1) return;
        bool taken = IsIgnoredKey(message);
        try {
            taken = taken || PreTranslateMessage(message);
        } catch (...) {
        }
        if (taken || (IsWindow() && PropSheet_IsDialogMessage(hwnd_, &message))) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

int CALLBACK CPropertySheet::SheetCallback(HWND window, UINT event, LPARAM) {
    CPropertySheet* sheet = sheetBeingMade;
    if (event == PSCB_INITIALIZED && sheet != nullptr) {
        sheet->SubclassWindow(window);
        try {
            sheet->OnInitSheet();
        } catch (...) {
        }
    }
    return 0;
}

}  // namespace corv
