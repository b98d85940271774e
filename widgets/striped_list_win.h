// CStripedListCtrl: a report-view list whose odd rows (1, 3, ...) are drawn
// in their own text and background colours, with columns made from one
// delimited header text and rows appended from an array of texts.
//
// Bind it with CDialog::BindControl: the dialog hands the list's custom-draw
// notification back to it. The owner sets the extended style itself.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/controls_win.h"

namespace corv {

class CStripedListCtrl : public CListCtrl {
public:
    // One column per token of `header` between any of `delimiters`, with
    // widths[i] pixels at 96 DPI, scaled to the display's DPI (30 when
    // null), and formats[i] (left when null); the arrays need an entry for
    // every token. False when there is no token or the system refuses a
    // column (the columns made stay).
    bool InsertColumns(const std::wstring& header, const std::wstring& delimiters,
                       const int* widths = nullptr, const int* formats = nullptr);
    // A new last row: texts[0] in the first column, texts[k] in column k.
    // The new row's index, or -1 when the system refuses the row or a text
    // (what was set stays). An empty array adds a row with no text.
    int AppendRow(const std::vector<std::wstring>& texts);

    bool OnReflected(Message& message) override;
};

}  // namespace corv
