// The mask chooser's decisions: how a mask is fitted into its thumbnail,
// where each item stands, the name a mask shows, and which mask a change
// of the list chooses.
#pragma once

#include <cstdint>
#include <string>

#include "compose/imaging.h"
#include "engine/app_state.h"
#include "engine/dpi_scale.h"

namespace corv {

// The side of a thumbnail, in pixels, and the grid the items stand on, at
// 96 DPI; both grow with the display's DPI.
constexpr int32_t kMaskThumbSide = 40;
constexpr int32_t kMaskGridStep = 60;

// The thumbnail's side and the grid step at `dpi`.
int32_t MaskThumbSide(int32_t dpi);
int32_t MaskGridStep(int32_t dpi);

// Where a mask of iw x ih pixels is drawn in its thumbnail (at `dpi`):
// fitted by whole percentages of its proportions, centred, never enlarged.
// A size that is not known (0 or below) counts as 1.
RectI FitMaskThumbnail(int32_t iw, int32_t ih, int32_t dpi = kBaseDpi);

// Where item `index` stands in the view: two columns on the grid.
PointI MaskItemPosition(int index, int32_t dpi = kBaseDpi);

// The name a mask shows and is returned by: the file name without its
// last four characters (".gif").
std::string MaskName(const std::string& path);

// The choice made in one opening of the chooser. Each opening starts with
// nothing chosen and no item remembered.
class MaskChoice {
public:
    // Item `index` of the view changed and is now selected (`selected`),
    // its text `name`. True when this chose a mask.
    bool OnItemChanged(int index, bool selected, const std::string& name);

    const std::string& Chosen() const { return chosen_; }
    // The select button is enabled once a mask is chosen.
    bool CanConfirm() const { return lastItem_ >= 0; }

private:
    std::string chosen_;
    int lastItem_ = -1;
};

}  // namespace corv
