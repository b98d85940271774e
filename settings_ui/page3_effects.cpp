#include "settings_ui/page3_effects.h"

#include <cctype>
#include <cstring>

#include "engine/settings.h"

namespace corv {

namespace {

ControlChange Enable(int id, bool on) {
    return ControlChange::Enable(id, on);
}

ControlChange Check(int id, bool on) {
    return ControlChange::Check(id, on);
}

// The message that adds a text to a list in a dialog's initial data, as
// stored (the 16-bit value) and as the 32-bit system numbers it.
constexpr unsigned kAddStringStored = 0x0403;
constexpr unsigned kAddStringSystem = 0x0143;

}  // namespace

std::vector<ControlChange> EffectsInitialStates(const Settings& s) {
    std::vector<ControlChange> changes;
    if (s.isframe) {
        changes.insert(changes.end(),
                       {Check(IDC_FX_FRAME_SWITCH, true), Enable(IDC_FX_RANDOM_MASK, false),
                        Enable(IDC_FX_CHOOSE_MASK, false)});
    } else {
        changes.insert(changes.end(),
                       {Enable(IDC_FX_FRAME_SIZE, false), Enable(IDC_FX_FRAME_SPIN, false),
                        Enable(IDC_FX_FRAME_COLOR, false), Enable(IDC_FX_SHADOW_SWITCH, false)});
    }
    if (s.ismask) {
        changes.push_back(Check(IDC_FX_MASK_SWITCH, true));
    } else {
        changes.insert(changes.end(),
                       {Enable(IDC_FX_RANDOM_MASK, false), Enable(IDC_FX_CHOOSE_MASK, false)});
    }
    changes.insert(changes.end(),
                   {Check(IDC_FX_SHADOW_SWITCH, s.isshadow), Check(IDC_FX_RANDOM_MASK, s.isrndmask),
                    Check(IDC_FX_ROTATE_SWITCH, s.isrotate)});
    if (!s.isrotate) changes.push_back(Enable(IDC_FX_ANGLE_LIST, false));
    return changes;
}

std::vector<ControlChange> ApplyEffectsSwitch(Settings& s, int id, bool checked) {
    switch (id) {
        case IDC_FX_FRAME_SWITCH:
            s.isframe = checked;
            if (!checked) {
                // The shadow box, the colour button and isshadow stay.
                return {Enable(IDC_FX_FRAME_SIZE, false), Enable(IDC_FX_FRAME_SPIN, false)};
            }
            s.ismask = false;
            return {Check(IDC_FX_MASK_SWITCH, false),   Enable(IDC_FX_FRAME_SIZE, true),
                    Enable(IDC_FX_FRAME_SPIN, true),    Enable(IDC_FX_RANDOM_MASK, false),
                    Enable(IDC_FX_SHADOW_SWITCH, true), Enable(IDC_FX_CHOOSE_MASK, false),
                    Enable(IDC_FX_FRAME_COLOR, true)};
        case IDC_FX_MASK_SWITCH:
            s.ismask = checked;
            if (!checked) {
                return {Check(IDC_FX_FRAME_SWITCH, false), Enable(IDC_FX_RANDOM_MASK, false),
                        Enable(IDC_FX_CHOOSE_MASK, false)};
            }
            // The mask takes the frame and the shadow away; the shadow box
            // shows that, so a frame set later does not show a shadow that
            // is not drawn.
            s.isshadow = false;
            s.isframe = false;
            return {Enable(IDC_FX_FRAME_COLOR, false),  Enable(IDC_FX_SHADOW_SWITCH, false),
                    Check(IDC_FX_SHADOW_SWITCH, false), Check(IDC_FX_FRAME_SWITCH, false),
                    Enable(IDC_FX_RANDOM_MASK, true),   Enable(IDC_FX_FRAME_SIZE, false),
                    Enable(IDC_FX_FRAME_SPIN, false),   Enable(IDC_FX_CHOOSE_MASK, true)};
        case IDC_FX_SHADOW_SWITCH:
            s.isshadow = checked;
            if (!checked) return {};
            s.ismask = false;
            return {Check(IDC_FX_MASK_SWITCH, false), Enable(IDC_FX_RANDOM_MASK, false)};
        case IDC_FX_RANDOM_MASK:
            s.isrndmask = checked;
            return {};
        case IDC_FX_ROTATE_SWITCH:
            s.isrotate = checked;
            return {Enable(IDC_FX_ANGLE_LIST, checked)};
        default:
            return {};
    }
}

bool TakeFirstMask(Settings& settings, const std::vector<std::string>& maskList) {
    if (!settings.maskfilename.empty() || maskList.empty()) return false;
    settings.maskfilename = maskList.front();
    return true;
}

std::string MaskFileLabel(const std::string& maskfilename) {
    const std::size_t slash = maskfilename.rfind('\\');
    return slash == std::string::npos ? maskfilename : maskfilename.substr(slash + 1);
}

std::vector<ControlChange> ApplyChosenMask(Settings& settings, const std::string& chosenMask) {
    if (chosenMask.empty()) return {};
    const std::string name = chosenMask + ".gif";
    settings.maskfilename = settings.programDir + "\\masks\\" + name;
    return {ControlChange::Text(IDC_FX_MASK_NAME, name)};
}

void ApplyFrameColor(AppState& state, ColorRef colorRef) {
    state.settings.framecolor = colorRef;
    state.freshCanvasRequested = 1;
}

std::vector<std::string> DialogInitTexts(const unsigned char* data, std::size_t size,
                                         int controlId) {
    std::vector<std::string> texts;
    if (data == nullptr) return texts;
    const auto word = [data](std::size_t at) {
        return unsigned(data[at]) | unsigned(data[at + 1]) << 8;
    };
    std::size_t at = 0;
    while (at + 2 <= size) {
        const unsigned id = word(at);
        if (id == 0) break;  // the end mark
        if (at + 8 > size) break;
        const unsigned message = word(at + 2);
        const std::size_t length = std::size_t(word(at + 4)) | std::size_t(word(at + 6)) << 16;
        at += 8;
        if (length > size - at) break;
        if (int(id) == controlId && (message == kAddStringStored || message == kAddStringSystem)) {
            const char* text = reinterpret_cast<const char*>(data + at);
            texts.emplace_back(text, strnlen(text, length));
        }
        at += length;
    }
    return texts;
}

int FindAngleItem(const std::vector<std::string>& items, int32_t value) {
    const std::string prefix = std::to_string(value);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string& item = items[i];
        if (item.size() < prefix.size()) continue;
        bool same = true;
        for (std::size_t k = 0; k < prefix.size() && same; ++k)
            same = std::tolower(static_cast<unsigned char>(item[k])) ==
                   std::tolower(static_cast<unsigned char>(prefix[k]));
        if (same) return static_cast<int>(i);
    }
    return -1;
}

int32_t AngleOfItem(const std::string& text) {
    return ParseDecimal(text);
}

MaskPreviewPlan PlanMaskPreview(int32_t w, int32_t h, int32_t iw, int32_t ih) {
    MaskPreviewPlan plan;
    plan.border = RectI{0, 0, w, h};
    plan.dest = RectI{1, 1, w - 2, h - 2};
    plan.source = RectI{0, 0, iw / 2, ih / 2};
    return plan;
}

}  // namespace corv
