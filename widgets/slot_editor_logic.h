// The placement slot editor's decisions: the square a dragged frame keeps,
// the sizes a slot window may take, the wheel, where a new slot goes, and
// the numbered book of open slots that an apply turns into the slot list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "engine/app_state.h"

namespace corv {

// The edge or corner being dragged (the values of the system's WMSZ_).
enum class SizingEdge {
    Left = 1,
    Right = 2,
    Top = 3,
    TopLeft = 4,
    TopRight = 5,
    Bottom = 6,
    BottomLeft = 7,
    BottomRight = 8,
};

// `rect` as the frame is dragged by `edge`, made square: a side dragged
// sideways sets the height from the width, the top or bottom edge sets the
// width from the height, the top corners move the top.
SlotRect SquareWhileSizing(int edge, const SlotRect& rect);

// The sizes answered to the system's minimum/maximum query.
struct SlotSizeLimits {
    int32_t smallest = 0;
    int32_t largest = 0;
};
SlotSizeLimits SlotLimitsFor(int32_t screenWidth);

// The wheel turned by `delta`: away from the user grows the slot by 5
// pixels each way, toward the user shrinks it; the top-left corner stays
// and the size stays within the limits.
SlotRect WheelResize(const SlotRect& rect, int32_t delta, int32_t screenWidth);

// A new slot: a square of side `side` in the middle of the screen.
SlotRect NewSlotRect(int32_t screenWidth, int32_t screenHeight, int32_t side);

// The open slots by number while the editor is open. Opening numbers the
// stored slots 1..n; a deleted number is never given out again in the same
// opening.
class SlotBook {
public:
    // The stored slots, each at the nearest size it may have.
    void Open(const std::vector<SlotRect>& slots, int32_t screenWidth);
    // A slot with the next number; its number.
    int32_t Add(const SlotRect& rect);
    // Removes slot `number`; the composer starts again at the first slot.
    // False (and nothing changes) when there is no such slot.
    bool Delete(int32_t number, AppState& state);
    // Where the slot is now (its window was moved or sized).
    void Update(int32_t number, const SlotRect& rect);
    // The open slots in number order, replacing the stored list.
    void Apply(std::vector<SlotRect>& slots) const;

    const std::map<int32_t, SlotRect>& Slots() const { return slots_; }
    int32_t LastNumber() const { return lastNumber_; }

private:
    std::map<int32_t, SlotRect> slots_;
    int32_t lastNumber_ = 0;
};

}  // namespace corv
