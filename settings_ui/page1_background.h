// The background page's decisions: what a click on a switch, a chosen colour
// or a chosen image does to the settings and to the other controls, the
// texts of its labels and the geometry of its preview.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compose/imaging.h"
#include "engine/app_state.h"
#include "framework/control_change.h"
#include "res/page1_background_ids.h"

namespace corv {

// The states the page's controls take when it opens.
std::vector<ControlChange> BackgroundInitialStates(const Settings& settings);

// A click on check box `id` that is now `checked`: the setting is written,
// a fresh canvas is requested; the controls that change with it.
std::vector<ControlChange> ApplyBackgroundSwitch(AppState& state, int id, bool checked);

// The colour the button and the colour dialog show (0x00BBGGRR).
ColorRef BackgroundButtonColor(const Settings& settings);
// A colour confirmed in the colour dialog (0x00BBGGRR) becomes backcolor.
void ApplyBackgroundColor(AppState& state, ColorRef colorRef);
// An image confirmed in the open-file dialog becomes backimagename; a fresh
// canvas is requested only when the path differs.
void ApplyBackgroundImage(AppState& state, const std::string& path);

// What the open-file dialog offers: every picture format the catalogue
// takes ("Image (*.jpg,...)|*.jpg;...||").
std::string BackgroundImageFilter();

// The part of a path after its last backslash.
std::string FileNameOfPath(const std::string& path);

// What is known of a picture file for its description.
struct PictureFacts {
    bool loaded = false;  // it decoded, with a width above 0
    int32_t width = 0;
    int32_t height = 0;
    int bitsPerPixel = 0;
    uint64_t fileBytes = 0;
};
// "No FileInfo", or the size, the colour depth and the length in KB.
std::string DescribePicture(const PictureFacts& facts);

// The preview's height for its width: the screen's proportions.
int32_t PreviewHeight(int32_t width, int32_t screenWidth, int32_t screenHeight);

struct PreviewPlan {
    Argb clearArgb;  // the colour under everything
    bool drawImage = false;
    RectF imageRect;
};
// How a preview of pw x ph draws the background of a screen `screenWidth`
// wide with an image of iw x ih (0 x 0 when it did not load).
PreviewPlan PlanPreview(const Settings& settings, int32_t pw, int32_t ph, int32_t screenWidth,
                        int32_t iw, int32_t ih);

}  // namespace corv
