// The program picker's decisions apart from its window: which top-level
// windows it lists, the rows it shows (the programs chosen before come
// first, checked, whether or not they run), how many may be checked, and
// the titles a confirmed choice hands back.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "engine/cycle.h"

namespace corv {

// The most programs that may be chosen: as many as env.ini keeps.
constexpr std::size_t kMaxPickedPrograms = 3;

// Whether a top-level window is offered: no parent or owner, visible, not
// minimised, titled, and not the desktop's "Program Manager".
bool OfferWindow(const TopWindow& window);
// The titles of the offered windows, in z-order (topmost first); equal
// titles are all kept.
std::vector<std::string> OfferedTitles(const std::vector<TopWindow>& windows);

struct PickerRow {
    std::string title;
    bool checked = false;
};

// The rows when the picker opens: every chosen title, checked, in its
// order (a running window of that title is taken up by its row), then the
// other found titles, unchecked. Chosen titles past the limit are shown
// unchecked.
std::vector<PickerRow> OpeningRows(const std::vector<std::string>& found,
                                   const std::vector<std::string>& chosen);
// The rows after a rescan: the found titles, none checked.
std::vector<PickerRow> RescanRows(const std::vector<std::string>& found);

// Whether one more row may be checked when `checkedCount` already are.
bool MayCheckAnother(std::size_t checkedCount);

// The checked titles, top to bottom.
std::vector<std::string> CheckedTitles(const std::vector<PickerRow>& rows);

}  // namespace corv
