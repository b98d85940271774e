#include "widgets/striped_list_logic.h"

namespace corv {

std::vector<std::wstring> SplitTokens(const std::wstring& text, const std::wstring& delimiters) {
    std::vector<std::wstring> tokens;
    std::size_t start = text.find_first_not_of(delimiters);
    while (start != std::wstring::npos) {
        const std::size_t end = text.find_first_of(delimiters, start);
        tokens.push_back(text.substr(start, end == std::wstring::npos ? end : end - start));
        if (end == std::wstring::npos) break;
        start = text.find_first_not_of(delimiters, end);
    }
    return tokens;
}

RowPaint PaintStripedRow(uint32_t stage, long long item) {
    RowPaint paint;
    if (stage == kDrawStagePrePaint) {
        paint.answer = kDrawNotifyItems;
    } else if (stage == kDrawStageItemPrePaint && item % 2 != 0) {
        paint.answer = kDrawNewFont;
        paint.setColors = true;
        paint.textColor = kOddRowTextColor;
        paint.backColor = kOddRowBackColor;
    }
    return paint;
}

}  // namespace corv
