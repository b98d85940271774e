#include "widgets/program_picker_logic.h"

namespace corv {

bool OfferWindow(const TopWindow& window) {
    return !window.hasOwner && window.visible && !window.title.empty() &&
           window.title != "Program Manager" && !window.minimized;
}

std::vector<std::string> OfferedTitles(const std::vector<TopWindow>& windows) {
    std::vector<std::string> titles;
    for (const TopWindow& window : windows)
        if (OfferWindow(window)) titles.push_back(window.title);
    return titles;
}

std::vector<PickerRow> OpeningRows(const std::vector<std::string>& found,
                                   const std::vector<std::string>& chosen) {
    std::vector<PickerRow> rows;
    std::vector<bool> taken(found.size(), false);
    for (const std::string& title : chosen) {
        if (title.empty()) continue;
        rows.push_back({title, rows.size() < kMaxPickedPrograms});
        for (std::size_t i = 0; i < found.size(); ++i)
            if (!taken[i] && found[i] == title) {
                taken[i] = true;
                break;
            }
    }
    for (std::size_t i = 0; i < found.size(); ++i)
        if (!taken[i]) rows.push_back({found[i], false});
    return rows;
}

std::vector<PickerRow> RescanRows(const std::vector<std::string>& found) {
    std::vector<PickerRow> rows;
    for (const std::string& title : found) rows.push_back({title, false});
    return rows;
}

bool MayCheckAnother(std::size_t checkedCount) {
    return checkedCount < kMaxPickedPrograms;
}

std::vector<std::string> CheckedTitles(const std::vector<PickerRow>& rows) {
    std::vector<std::string> titles;
    for (const PickerRow& row : rows)
        if (row.checked) titles.push_back(row.title);
    return titles;
}

}  // namespace corv
