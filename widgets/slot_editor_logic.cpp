#include "widgets/slot_editor_logic.h"

#include "compose/slots_file.h"

namespace corv {

SlotRect SquareWhileSizing(int edge, const SlotRect& rect) {
    SlotRect r = rect;
    switch (static_cast<SizingEdge>(edge)) {
        case SizingEdge::Left:
        case SizingEdge::Right:
        case SizingEdge::BottomLeft:
        case SizingEdge::BottomRight:
            r.bottom = r.top + (r.right - r.left);
            break;
        case SizingEdge::Top:
        case SizingEdge::Bottom:
            r.right = r.left + (r.bottom - r.top);
            break;
        case SizingEdge::TopLeft:
        case SizingEdge::TopRight:
            r.top = r.bottom - (r.right - r.left);
            break;
    }
    return r;
}

SlotSizeLimits SlotLimitsFor(int32_t screenWidth) {
    return SlotSizeLimits{kMinSlotSide, MaxSlotSide(screenWidth)};
}

SlotRect WheelResize(const SlotRect& rect, int32_t delta, int32_t screenWidth) {
    if (delta == 0) return rect;
    const int32_t step = delta > 0 ? 5 : -5;
    SlotRect grown = rect;
    grown.right += step;
    grown.bottom += step;
    return NearestAllowedSlot(grown, screenWidth);
}

SlotRect NewSlotRect(int32_t screenWidth, int32_t screenHeight, int32_t side) {
    SlotRect r;
    r.left = (screenWidth - side) / 2;
    r.top = (screenHeight - side) / 2;
    r.right = r.left + side;
    r.bottom = r.top + side;
    return r;
}

void SlotBook::Open(const std::vector<SlotRect>& slots, int32_t screenWidth) {
    slots_.clear();
    lastNumber_ = 0;
    for (const SlotRect& slot : slots)
        slots_[++lastNumber_] = NearestAllowedSlot(slot, screenWidth);
}

int32_t SlotBook::Add(const SlotRect& rect) {
    slots_[++lastNumber_] = rect;
    return lastNumber_;
}

bool SlotBook::Delete(int32_t number, AppState& state) {
    if (slots_.erase(number) == 0) return false;
    state.slotIndex = 0;
    return true;
}

void SlotBook::Update(int32_t number, const SlotRect& rect) {
    auto found = slots_.find(number);
    if (found != slots_.end()) found->second = rect;
}

void SlotBook::Apply(std::vector<SlotRect>& slots) const {
    slots.clear();
    for (const auto& entry : slots_) slots.push_back(entry.second);
}

}  // namespace corv
