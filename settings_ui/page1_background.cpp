#include "settings_ui/page1_background.h"

#include <cstdio>

#include "compose/composer.h"
#include "engine/catalogue.h"
#include "engine/settings.h"

namespace corv {

std::string BackgroundImageFilter() {
    std::string shown;
    std::string patterns;
    for (const std::string& extension : PictureExtensions()) {
        shown += (shown.empty() ? "*." : ",*.") + extension;
        patterns += (patterns.empty() ? "*." : ";*.") + extension;
    }
    return "Image (" + shown + ")|" + patterns + "||";
}

std::vector<ControlChange> BackgroundInitialStates(const Settings& settings) {
    return {ControlChange::Enable(IDC_BG_CHOOSE_IMAGE, settings.isbackimg),
            ControlChange::Enable(IDC_BG_STRETCH_SWITCH, settings.isbackimg),
            ControlChange::Enable(IDC_BG_COLOR_BUTTON, settings.isbackcolor)};
}

std::vector<ControlChange> ApplyBackgroundSwitch(AppState& state, int id, bool checked) {
    Settings& settings = state.settings;
    std::vector<ControlChange> changes;
    switch (id) {
        case IDC_BG_COLOR_SWITCH:
            settings.isbackcolor = checked;
            changes.push_back(ControlChange::Enable(IDC_BG_COLOR_BUTTON, checked));
            break;
        case IDC_BG_IMAGE_SWITCH:
            // The stretch box keeps its state until the page opens again.
            settings.isbackimg = checked;
            changes.push_back(ControlChange::Enable(IDC_BG_CHOOSE_IMAGE, checked));
            break;
        case IDC_BG_STRETCH_SWITCH:
            settings.isstretch = checked;
            break;
        default:
            return changes;
    }
    state.freshCanvasRequested = 1;
    return changes;
}

ColorRef BackgroundButtonColor(const Settings& settings) {
    return ArgbToColorRef(settings.backcolor);
}

void ApplyBackgroundColor(AppState& state, ColorRef colorRef) {
    state.settings.backcolor = ColorRefToArgb(colorRef);
    state.freshCanvasRequested = 1;
}

void ApplyBackgroundImage(AppState& state, const std::string& path) {
    if (path != state.settings.backimagename) state.freshCanvasRequested = 1;
    state.settings.backimagename = path;
}

std::string FileNameOfPath(const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string DescribePicture(const PictureFacts& facts) {
    if (!facts.loaded || facts.width <= 0) return "No FileInfo";
    char text[160];
    std::snprintf(text, sizeof text, "%d x %d\nColor: %dbit\r\nFile Size: %lluKB",
                  static_cast<int>(facts.width), static_cast<int>(facts.height), facts.bitsPerPixel,
                  static_cast<unsigned long long>(facts.fileBytes / 1024));
    return text;
}

int32_t PreviewHeight(int32_t width, int32_t screenWidth, int32_t screenHeight) {
    if (screenWidth <= 0 || screenHeight <= 0) return width;
    return static_cast<int32_t>(static_cast<int64_t>(width) * screenHeight / screenWidth);
}

PreviewPlan PlanPreview(const Settings& settings, int32_t pw, int32_t ph, int32_t screenWidth,
                        int32_t iw, int32_t ih) {
    PreviewPlan plan;
    plan.clearArgb = settings.isbackcolor ? settings.backcolor : settings.desktopColor;
    if (!settings.isbackimg || iw <= 0 || ih <= 0) return plan;
    plan.drawImage = true;
    if (settings.isstretch) {
        plan.imageRect = RectF{0, 0, static_cast<float>(pw), static_cast<float>(ph)};
        return plan;
    }
    const float f = screenWidth > 0 ? static_cast<float>(pw) / static_cast<float>(screenWidth) : 1;
    const auto sw = static_cast<int32_t>(static_cast<float>(iw) * f);
    const auto sh = static_cast<int32_t>(static_cast<float>(ih) * f);
    plan.imageRect = FitBackgroundRect(sw, sh, pw, ph);
    return plan;
}

}  // namespace corv
