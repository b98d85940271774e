#include "widgets/mask_chooser_logic.h"

namespace corv {

int32_t MaskThumbSide(int32_t dpi) {
    return ScaleForDpi(kMaskThumbSide, dpi);
}

int32_t MaskGridStep(int32_t dpi) {
    return ScaleForDpi(kMaskGridStep, dpi);
}

RectI FitMaskThumbnail(int32_t iw, int32_t ih, int32_t dpi) {
    const int64_t w = iw > 0 ? iw : 1;
    const int64_t h = ih > 0 ? ih : 1;
    const int64_t box = MaskThumbSide(dpi);
    // Proportions as whole percentages, the picture's against the box's.
    const int64_t a = w * 100 / h;
    const int64_t b = box * 100 / box;
    int64_t width = 0;
    int64_t height = 0;
    if (a > b) {
        // Wider than the box: the width decides.
        width = w > box ? box : w;
        height = width * 100 / a;
    } else if (h > box) {
        height = box;
        width = static_cast<int64_t>(static_cast<double>(box * a) * 0.01);
    } else {
        height = h;
        width = static_cast<int64_t>(static_cast<double>(h * a) * 0.01);
    }
    RectI fitted;
    fitted.width = static_cast<int32_t>(width);
    fitted.height = static_cast<int32_t>(height);
    fitted.x = static_cast<int32_t>(box / 2 - width / 2);
    fitted.y = static_cast<int32_t>(box / 2 - height / 2);
    return fitted;
}

PointI MaskItemPosition(int index, int32_t dpi) {
    if (index < 0) return PointI{};
    const int32_t step = MaskGridStep(dpi);
    return PointI{(index % 2) * step, (index / 2) * step};
}

std::string MaskName(const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    name.resize(name.size() >= 4 ? name.size() - 4 : 0);
    return name;
}

bool MaskChoice::OnItemChanged(int index, bool selected, const std::string& name) {
    // A focus mark moving or a selection cleared chooses nothing.
    if (index < 0 || !selected || index == lastItem_) return false;
    chosen_ = name;
    lastItem_ = index;
    return true;
}

}  // namespace corv
