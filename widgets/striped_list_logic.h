// The striped list's decisions: the header text cut into column titles, and
// the colours of a row as its custom-draw notification asks for them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corv {

// The tokens of `text` between any of the `delimiters`: runs of delimiters
// count as one, and delimiters at either end give no empty token.
std::vector<std::wstring> SplitTokens(const std::wstring& text, const std::wstring& delimiters);

// Odd rows (1, 3, ...) are drawn in these colours (0x00BBGGRR).
constexpr uint32_t kOddRowTextColor = 5182950;   // red 230, green 21, blue 79
constexpr uint32_t kOddRowBackColor = 15462640;  // red 240, green 240, blue 235

// The custom-draw stages the painter tells apart (the system's values).
constexpr uint32_t kDrawStagePrePaint = 0x1;
constexpr uint32_t kDrawStageItemPrePaint = 0x10001;
// Its answers.
constexpr long kDrawDefault = 0;
constexpr long kDrawNewFont = 0x2;
constexpr long kDrawNotifyItems = 0x20;

struct RowPaint {
    long answer = kDrawDefault;
    bool setColors = false;  // then textColor and backColor are the row's
    uint32_t textColor = 0;
    uint32_t backColor = 0;
};

// The answer to a custom-draw notification at `stage` for row `item`.
RowPaint PaintStripedRow(uint32_t stage, long long item);

}  // namespace corv
