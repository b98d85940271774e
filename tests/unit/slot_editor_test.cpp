#include "widgets/slot_editor_logic.h"

#include <gtest/gtest.h>

#include <vector>

#include "compose/slots_file.h"

using corv::AppState;
using corv::SlotBook;
using corv::SlotRect;

TEST(SlotEditor, SizingKeepsTheSlotSquareFromEveryEdge) {
    // A 300 x 300 slot at (100, 100) whose frame was dragged to the rectangle
    // given; the square the window takes.
    const struct {
        const char* name;
        int edge;
        SlotRect dragged;
        SlotRect square;
    } cases[] = {
        {"right edge wider", 2, {100, 100, 450, 400}, {100, 100, 450, 450}},
        {"left edge wider", 1, {50, 100, 400, 400}, {50, 100, 400, 450}},
        {"top edge taller", 3, {100, 60, 400, 400}, {100, 60, 440, 400}},
        {"bottom edge shorter", 6, {100, 100, 400, 350}, {100, 100, 350, 350}},
        {"top-left corner", 4, {80, 70, 400, 400}, {80, 80, 400, 400}},
        {"top-right corner", 5, {100, 90, 420, 400}, {100, 80, 420, 400}},
        {"bottom-left corner", 7, {90, 100, 400, 420}, {90, 100, 400, 410}},
        {"bottom-right corner", 8, {100, 100, 380, 430}, {100, 100, 380, 380}},
        {"not an edge", 0, {100, 100, 380, 430}, {100, 100, 380, 430}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(corv::SquareWhileSizing(c.edge, c.dragged), c.square);
    }
}

TEST(SlotEditor, SizeLimitsFollowTheScreenWidth) {
    const struct {
        int32_t width, largest;
    } cases[] = {{1024, 760}, {1280, 960}, {1920, 1440}, {1366, 1020}, {200, 200}, {0, 200}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        EXPECT_EQ(corv::SlotLimitsFor(c.width).smallest, 200);
        EXPECT_EQ(corv::SlotLimitsFor(c.width).largest, c.largest);
    }
}

TEST(SlotEditor, WheelGrowsAndShrinksWithinTheLimits) {
    const struct {
        const char* name;
        SlotRect before;
        int32_t delta;
        SlotRect after;
    } cases[] = {
        {"away grows", {10, 20, 310, 320}, 120, {10, 20, 315, 325}},
        {"toward shrinks", {10, 20, 310, 320}, -120, {10, 20, 305, 315}},
        {"zero", {10, 20, 310, 320}, 0, {10, 20, 310, 320}},
        {"never below 200", {10, 20, 212, 222}, -240, {10, 20, 210, 220}},
        {"at 200 stays", {10, 20, 210, 220}, -120, {10, 20, 210, 220}},
        {"never above 760", {0, 0, 758, 758}, 120, {0, 0, 760, 760}},
        {"at 760 stays", {0, 0, 760, 760}, 120, {0, 0, 760, 760}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(corv::WheelResize(c.before, c.delta, 1024), c.after);
    }
}

TEST(SlotEditor, NewSlotIsCentredSquare) {
    EXPECT_EQ(corv::NewSlotRect(1024, 768, 400), (SlotRect{312, 184, 712, 584}));
    EXPECT_EQ(corv::NewSlotRect(1023, 767, 400), (SlotRect{311, 183, 711, 583}));
}

TEST(SlotEditor, StoredSlotsOpenAtAnAllowedSize) {
    SlotBook book;
    book.Open({{0, 0, 0, 0}, {50, 60, 40, 30}, {10, 10, 2000, 310}, {5, 5, 305, 405}}, 1024);
    const std::vector<SlotRect> shown = {
        {0, 0, 200, 200}, {50, 60, 250, 260}, {10, 10, 770, 310}, {5, 5, 305, 405}};
    std::vector<SlotRect> applied;
    book.Apply(applied);
    EXPECT_EQ(applied, shown);
    EXPECT_EQ(book.LastNumber(), 4);
}

TEST(SlotEditor, NumbersAfterDeleteAndReopen) {
    AppState state;
    state.slotIndex = 2;
    SlotBook book;
    book.Open({}, 1024);
    const SlotRect a{0, 0, 300, 300}, b{10, 10, 310, 310}, c{20, 20, 320, 320}, d{30, 30, 330, 330};
    EXPECT_EQ(book.Add(a), 1);
    EXPECT_EQ(book.Add(b), 2);
    EXPECT_EQ(book.Add(c), 3);
    EXPECT_TRUE(book.Delete(2, state));
    EXPECT_EQ(state.slotIndex, 0);
    state.slotIndex = 1;
    EXPECT_FALSE(book.Delete(2, state));  // already gone: nothing changes
    EXPECT_FALSE(book.Delete(9, state));
    EXPECT_EQ(state.slotIndex, 1);
    EXPECT_EQ(book.Add(d), 4);
    std::vector<int32_t> numbers;
    for (const auto& e : book.Slots()) numbers.push_back(e.first);
    EXPECT_EQ(numbers, (std::vector<int32_t>{1, 3, 4}));

    book.Update(3, SlotRect{500, 400, 750, 650});  // moved and sized on screen
    book.Apply(state.placementSlots);
    EXPECT_EQ(state.placementSlots, (std::vector<SlotRect>{a, {500, 400, 750, 650}, d}));

    SlotBook reopened;
    reopened.Open(state.placementSlots, 1024);
    numbers.clear();
    for (const auto& e : reopened.Slots()) numbers.push_back(e.first);
    EXPECT_EQ(numbers, (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(reopened.Add(a), 4);
}

TEST(SlotEditor, ClosingWithoutApplyLeavesTheList) {
    AppState state;
    state.placementSlots = {{0, 0, 300, 300}, {400, 0, 700, 300}};
    const std::vector<SlotRect> before = state.placementSlots;
    SlotBook book;
    book.Open(state.placementSlots, 1024);
    book.Add(corv::NewSlotRect(1024, 768, 400));
    book.Update(1, SlotRect{5, 5, 305, 305});
    book.Delete(2, state);
    // The close box never calls Apply; the list is what it was.
    EXPECT_EQ(state.placementSlots, before);
    EXPECT_EQ(state.slotIndex, 0);
    // Applying an empty book empties the list.
    SlotBook empty;
    empty.Open({}, 1024);
    empty.Apply(state.placementSlots);
    EXPECT_TRUE(state.placementSlots.empty());
}
