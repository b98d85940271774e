#include "settings_ui/page2_picture.h"

#include <initializer_list>
#include <map>

namespace corv {

const int kPictureGroup[14] = {IDC_PIC_SIZE,         IDC_PIC_NO_STRETCH, IDC_PIC_MINUTES,
                               IDC_PIC_SECONDS,      IDC_PIC_INTERVAL,   IDC_PIC_INTERVAL_SPIN,
                               IDC_PIC_IN_ORDER,     IDC_PIC_AT_RANDOM,  IDC_PIC_CENTRED,
                               IDC_PIC_RANDOM_PLACE, IDC_PIC_COLLAGE,    IDC_PIC_CLEAR_COUNT,
                               IDC_PIC_CLEAR_SPIN,   IDC_PIC_GRAY};

const wchar_t* const kCollageSizeWarning =
    L"이미지 겹침설정은 이미지크기에 제한이 있습니다.\n제한크기로 자동 설정됩니다.";

namespace {

const int kCollageParts[] = {IDC_PIC_CLEAR_SPIN, IDC_PIC_CLEAR_COUNT, IDC_PIC_GRAY};

void Set(std::vector<ControlChange>& changes, std::initializer_list<int> ids, bool enable) {
    for (int id : ids) changes.push_back(ControlChange::Enable(id, enable));
}

void SetCollageParts(std::vector<ControlChange>& changes, bool enable) {
    for (int id : kCollageParts) changes.push_back(ControlChange::Enable(id, enable));
}

}  // namespace

std::vector<ControlChange> PictureInitialStates(const Settings& settings) {
    std::map<int, bool> states;
    for (int id : kPictureGroup) states[id] = settings.isforeimg != 0;
    // The slot editor's button follows the placement alone; a placement
    // the page does not know leaves it as the template made it.
    states[IDC_PIC_SLOT_EDITOR] =
        settings.imagepos == ImagePos::Slots || !IsKnownPlacement(settings.imagepos);
    if (!AllowsCollage(settings.imagepos)) {
        states[IDC_PIC_COLLAGE] = false;
        for (int id : kCollageParts) states[id] = false;
    }
    if (!settings.isoverlap)
        for (int id : kCollageParts) states[id] = false;
    std::vector<ControlChange> result;
    for (const auto& entry : states)
        result.push_back(ControlChange::Enable(entry.first, entry.second));
    return result;
}

std::vector<ControlChange> ApplyPictureClick(AppState& state, int id, bool checked) {
    Settings& settings = state.settings;
    std::vector<ControlChange> changes;
    switch (id) {
        case IDC_PIC_SWITCH:
            if (checked) {
                for (int item : kPictureGroup) {
                    const bool collagePart = item == IDC_PIC_CLEAR_COUNT ||
                                             item == IDC_PIC_CLEAR_SPIN || item == IDC_PIC_GRAY;
                    if (!collagePart) changes.push_back(ControlChange::Enable(item, true));
                }
                if (settings.isoverlap) SetCollageParts(changes, true);
            } else {
                for (int item : kPictureGroup)
                    changes.push_back(ControlChange::Enable(item, false));
            }
            settings.isforeimg = checked ? 1 : 0;
            state.freshCanvasRequested = 1;
            break;
        case IDC_PIC_NO_STRETCH:
            settings.notstrech = checked ? 1 : 0;
            break;
        case IDC_PIC_MINUTES:
            settings.min_sec = 60000;
            break;
        case IDC_PIC_SECONDS:
            settings.min_sec = 1000;
            break;
        case IDC_PIC_IN_ORDER:
            settings.israndum = 0;
            break;
        case IDC_PIC_AT_RANDOM:
            settings.israndum = 1;
            break;
        case IDC_PIC_CENTRED:
            // The collage setting itself stays; centred pictures never
            // build a collage.
            settings.imagepos = ImagePos::Centred;
            Set(changes,
                {IDC_PIC_COLLAGE, IDC_PIC_CLEAR_SPIN, IDC_PIC_CLEAR_COUNT, IDC_PIC_GRAY,
                 IDC_PIC_SLOT_EDITOR},
                false);
            break;
        case IDC_PIC_SLOT_PLACE:
            settings.imagepos = ImagePos::Slots;
            Set(changes,
                {IDC_PIC_COLLAGE, IDC_PIC_CLEAR_SPIN, IDC_PIC_CLEAR_COUNT, IDC_PIC_GRAY,
                 IDC_PIC_SLOT_EDITOR},
                true);
            break;
        case IDC_PIC_RANDOM_PLACE:
            settings.imagepos = ImagePos::Random;
            Set(changes, {IDC_PIC_COLLAGE, IDC_PIC_CLEAR_SPIN, IDC_PIC_CLEAR_COUNT, IDC_PIC_GRAY},
                true);
            changes.push_back(ControlChange::Enable(IDC_PIC_SLOT_EDITOR, false));
            break;
        case IDC_PIC_COLLAGE:
            settings.isoverlap = checked ? 1 : 0;
            SetCollageParts(changes, checked);
            break;
        case IDC_PIC_GRAY:
            settings.isbackgray = checked ? 1 : 0;
            if (!checked) state.freshCanvasRequested = 1;
            break;
        default:
            break;
    }
    return changes;
}

IntervalUnit IntervalUnitFor(bool seconds) {
    if (seconds) return IntervalUnit{L"초마다 (>3)", 3, 60};
    return IntervalUnit{L"분마다", 1, 60};
}

std::string IntervalAfterUnitSwitch(bool seconds, const std::string& fieldText) {
    if (seconds && ParseDecimal(fieldText) < 3) return "3";
    return fieldText;
}

int32_t OverlapSizeLimit(int32_t screenWidth, int32_t screenHeight) {
    if (screenWidth <= 0 || screenHeight <= 0) return 0;
    const int64_t quarter = static_cast<int64_t>(screenWidth) * screenHeight / 4;
    int64_t root = 0;
    // The largest root with root * root <= quarter, by bisection: exact for
    // every screen, no floating point.
    int64_t low = 0, high = 3037000499;
    while (low <= high) {
        const int64_t mid = low + (high - low) / 2;
        if (mid * mid <= quarter) {
            root = mid;
            low = mid + 1;
        } else {
            high = mid - 1;
        }
    }
    return static_cast<int32_t>(root);
}

std::wstring CollageBoxText(int32_t limit) {
    return L"이미지 겹침 설정(제한 이미지크기:" + std::to_wstring(limit) + L")";
}

bool SizeAboveOverlapLimit(int32_t size, int32_t limit) {
    return limit != 0 && size > limit;
}

int32_t SizeArrowDelta(int32_t delta) {
    if (delta > 0) return 10;
    if (delta < 0) return -10;
    return 0;
}

int32_t PreviewScale(int32_t screenSize, int32_t previewSize) {
    if (previewSize <= 0 || screenSize <= 0) return 0;
    return static_cast<int32_t>(static_cast<int64_t>(screenSize) * 10 / previewSize);
}

std::vector<SlotRect> PreviewSlotRects(const std::vector<SlotRect>& slots, int32_t scaleX,
                                       int32_t scaleY) {
    std::vector<SlotRect> rects;
    if (scaleX <= 0 || scaleY <= 0) return rects;
    for (const SlotRect& s : slots) {
        auto x = [scaleX](int32_t v) {
            return static_cast<int32_t>(static_cast<int64_t>(v) * 10 / scaleX);
        };
        auto y = [scaleY](int32_t v) {
            return static_cast<int32_t>(static_cast<int64_t>(v) * 10 / scaleY);
        };
        rects.push_back(SlotRect{x(s.left), y(s.top), x(s.right), y(s.bottom)});
    }
    return rects;
}

std::wstring SlotCountText(std::size_t count) {
    return std::to_wstring(count) + L"개";
}

}  // namespace corv
