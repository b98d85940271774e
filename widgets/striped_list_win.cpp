#include "widgets/striped_list_win.h"

#include "engine/dpi_win.h"
#include "widgets/striped_list_logic.h"

namespace corv {

bool CStripedListCtrl::InsertColumns(const std::wstring& header, const std::wstring& delimiters,
                                     const int* widths, const int* formats) {
    const std::vector<std::wstring> titles = SplitTokens(header, delimiters);
    if (titles.empty()) return false;
    for (std::size_t i = 0; i < titles.size(); ++i) {
        // Widths are given in pixels at 96 DPI.
        const int width = ScaledPixels(widths != nullptr ? widths[i] : 30);
        const int format = formats != nullptr ? formats[i] : LVCFMT_LEFT;
        if (InsertColumn(static_cast<int>(i) + 1, titles[i], width, format, static_cast<int>(i)) ==
            -1)
            return false;
    }
    return true;
}

int CStripedListCtrl::AppendRow(const std::vector<std::wstring>& texts) {
    const int row = InsertItem(GetItemCount(), texts.empty() ? std::wstring() : texts[0]);
    if (row == -1) return -1;
    for (std::size_t k = 1; k < texts.size(); ++k)
        if (!SetItemText(row, static_cast<int>(k), texts[k])) return -1;
    return row;
}

bool CStripedListCtrl::OnReflected(Message& message) {
    if (message.id != WM_NOTIFY) return false;
    auto* header = reinterpret_cast<NMHDR*>(message.lParam);
    if (header->code != static_cast<UINT>(NM_CUSTOMDRAW)) return false;
    auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(message.lParam);
    const RowPaint paint =
        PaintStripedRow(draw->nmcd.dwDrawStage, static_cast<long long>(draw->nmcd.dwItemSpec));
    if (paint.setColors) {
        draw->clrText = paint.textColor;
        draw->clrTextBk = paint.backColor;
    }
    message.result = paint.answer;
    return true;
}

}  // namespace corv
