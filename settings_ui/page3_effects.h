// The effects page's decisions: what a click on a switch does to the
// settings and to the other controls, the angle list's items and its
// select-by-prefix rule, what a chosen mask or colour becomes, and the part
// of the mask the preview shows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "compose/imaging.h"
#include "engine/app_state.h"
#include "framework/control_change.h"
#include "res/page3_effects_ids.h"

namespace corv {

// The ticks and enabled states the page's controls take when it opens, in
// the order they are applied.
std::vector<ControlChange> EffectsInitialStates(const Settings& settings);

// A click on check box `id` that is now `checked`: the settings written and
// the controls that change with it, in order.
std::vector<ControlChange> ApplyEffectsSwitch(Settings& settings, int id, bool checked);

// With no mask chosen yet, the first mask of the list becomes the chosen
// one. True when maskfilename changed.
bool TakeFirstMask(Settings& settings, const std::vector<std::string>& maskList);

// The text of the label under the preview: the file name of maskfilename.
std::string MaskFileLabel(const std::string& maskfilename);

// The chooser confirmed `chosenMask` (a name without ".gif"): maskfilename
// becomes the program folder's "masks" file of that name, and the label
// under the preview shows the file's name. An empty name changes nothing.
std::vector<ControlChange> ApplyChosenMask(Settings& settings, const std::string& chosenMask);

// A colour confirmed in the colour dialog (0x00BBGGRR, kept as it is)
// becomes framecolor and asks for a fresh canvas.
void ApplyFrameColor(AppState& state, ColorRef colorRef);

// The texts that a dialog's initial data adds to control `controlId`, in
// order. Records that are cut short or malformed end the list.
std::vector<std::string> DialogInitTexts(const unsigned char* data, std::size_t size,
                                         int controlId);

// The index of the first angle item that begins with `value` in decimal
// (not case-sensitive), or -1.
int FindAngleItem(const std::vector<std::string>& items, int32_t value);

// The rotation limit an item's text stands for.
int32_t AngleOfItem(const std::string& text);

// The preview of a mask of iw x ih in a frame of w x h: the top-left
// quarter of the mask scaled into the frame less a one-pixel border.
struct MaskPreviewPlan {
    RectI border;  // filled black
    RectI dest;
    RectI source;
};
MaskPreviewPlan PlanMaskPreview(int32_t w, int32_t h, int32_t iw, int32_t ih);

}  // namespace corv
