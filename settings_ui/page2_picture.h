// The picture page's decisions: which controls a setting or a click enables,
// what a click writes into the settings, the interval unit, the collage size
// limit and the slot preview's geometry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/app_state.h"
#include "framework/control_change.h"
#include "res/page2_picture_ids.h"

namespace corv {

// The controls that follow the picture switch.
extern const int kPictureGroup[14];

// The enabled states of the page's controls when it opens, one entry per
// control, ascending by id.
std::vector<ControlChange> PictureInitialStates(const Settings& settings);

// A click on check box or radio button `id` that is now `checked`: the
// setting is written, a fresh canvas requested where the kept collage would
// contradict it; the controls that change, in the order they change.
std::vector<ControlChange> ApplyPictureClick(AppState& state, int id, bool checked);

// The interval's unit: the label beside the field and the arrows' range.
struct IntervalUnit {
    std::wstring label;
    int32_t low = 0;
    int32_t high = 0;
};
IntervalUnit IntervalUnitFor(bool seconds);
// The interval field's text after a switch to seconds (true) or minutes: the
// number is kept, only a seconds interval below 3 becomes "3".
std::string IntervalAfterUnitSwitch(bool seconds, const std::string& fieldText);

// The largest picture size collage mode allows on a W x H screen: the
// integer square root of (W x H) / 4.
int32_t OverlapSizeLimit(int32_t screenWidth, int32_t screenHeight);
// The collage box's text with the limit.
std::wstring CollageBoxText(int32_t limit);
// The warning shown when collage mode meets a size above the limit.
extern const wchar_t* const kCollageSizeWarning;
// True when a size typed or kept in the field is above the limit (a limit
// of 0 is not known yet and limits nothing).
bool SizeAboveOverlapLimit(int32_t size, int32_t limit);

// The change one click on the size arrows makes (`delta` is the arrow's
// direction as the up-down control reports it): ten in that direction.
int32_t SizeArrowDelta(int32_t delta);

// Preview scale: screen size x 10 / preview size; 0 when the preview has no
// size.
int32_t PreviewScale(int32_t screenSize, int32_t previewSize);
// The slots as the preview draws them; empty when a scale is 0.
std::vector<SlotRect> PreviewSlotRects(const std::vector<SlotRect>& slots, int32_t scaleX,
                                       int32_t scaleY);
// The slot-count label.
std::wstring SlotCountText(std::size_t count);

}  // namespace corv
