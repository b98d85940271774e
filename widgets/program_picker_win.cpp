#include "widgets/program_picker_win.h"

#include <commctrl.h>

#include "base/text_win.h"
#include "engine/cycle_win.h"
#include "framework/common_dialogs_win.h"
#include "res/program_picker_ids.h"
#include "res/resource.h"

namespace corv {

namespace {

// Shows the refusal of a check once the list has finished its own work.
constexpr UINT kTooManyMessage = WM_APP + 1;

constexpr UINT kCheckedImage = 2;  // state image of a checked box

}  // namespace

CProgramList::CProgramList(HWND parent) : CDialog(IDD_PROGRAM_PICKER, parent) {}

bool CProgramList::RouteMessage(Message& message) {
    using Map = MessageMap<CProgramList>;
    static const Map map = {
        Map::OnCommand(IDC_PICKER_ACCEPT, &CProgramList::OnAccept),
        Map::OnCommand(IDC_PICKER_RESCAN, &CProgramList::OnRescan),
        Map::OnCommand(IDC_PICKER_CANCEL, &CProgramList::OnCancelButton),
        Map::OnNotify(IDC_PICKER_LIST, LVN_ITEMCHANGING, &CProgramList::OnItemChanging),
        Map::OnMessage(kTooManyMessage, &CProgramList::OnTooMany),
    };
    return map.Dispatch(*this, message) || CDialog::RouteMessage(message);
}

BOOL CProgramList::OnInitDialog() {
    CDialog::OnInitDialog();
    BindControl(list_, IDC_PICKER_LIST);
    list_.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    const int widths[] = {18, 120};
    const int formats[] = {LVCFMT_LEFT, LVCFMT_LEFT};
    list_.InsertColumns(L" ,program name,", L",", widths, formats);
    ShowRows(OpeningRows(OfferedTitles(ListTopWindows()), selection));
    CentreOnWorkArea();
    return TRUE;
}

void CProgramList::ShowRows(const std::vector<PickerRow>& rows) {
    FillGuard guard(*this);
    list_.DeleteAllItems();
    titles_.clear();
    for (const PickerRow& row : rows) {
        const int index = list_.AppendRow({std::wstring(), Wide(row.title)});
        if (index < 0) continue;
        titles_.push_back(row.title);
        if (!row.checked) continue;
        LVITEMW item{};
        item.stateMask = LVIS_STATEIMAGEMASK;
        item.state = INDEXTOSTATEIMAGEMASK(kCheckedImage);
        list_.Send(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    }
}

bool CProgramList::IsRowChecked(int row) const {
    const LRESULT state =
        list_.Send(LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK);
    return ((static_cast<UINT>(state) & LVIS_STATEIMAGEMASK) >> 12) == kCheckedImage;
}

int CProgramList::CheckedCount() const {
    int count = 0;
    const int rows = list_.GetItemCount();
    for (int i = 0; i < rows; ++i)
        if (IsRowChecked(i)) ++count;
    return count;
}

std::vector<PickerRow> CProgramList::Rows() const {
    std::vector<PickerRow> rows;
    const int count = list_.GetItemCount();
    for (int i = 0; i < count && static_cast<std::size_t>(i) < titles_.size(); ++i)
        rows.push_back({titles_[static_cast<std::size_t>(i)], IsRowChecked(i)});
    return rows;
}

LRESULT CProgramList::OnItemChanging(NMHDR& header) {
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    if (IsFilling() || (change.uChanged & LVIF_STATE) == 0 || change.iItem < 0) return FALSE;
    const bool checking = ((change.uNewState & LVIS_STATEIMAGEMASK) >> 12) == kCheckedImage;
    if (!checking || IsRowChecked(change.iItem)) return FALSE;
    if (MayCheckAnother(static_cast<std::size_t>(CheckedCount()))) return FALSE;
    Post(kTooManyMessage);
    return TRUE;  // the check is refused
}

LRESULT CProgramList::OnTooMany(WPARAM, LPARAM) {
    ShowMessageBox(hwnd_, L"예외프로그램은 3개까지 선택할 수 있습니다.", L"Corvalendrine설정",
                   MB_ICONEXCLAMATION);
    return 0;
}

void CProgramList::OnRescan() {
    // A fresh list: the marks set so far are let go.
    ShowRows(RescanRows(OfferedTitles(ListTopWindows())));
}

void CProgramList::OnAccept() {
    selection = CheckedTitles(Rows());
    EndDialog(IDOK);
}

}  // namespace corv
