#include "settings_ui/page2_picture.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

using corv::AppState;
using corv::ControlChange;
using corv::Settings;
using corv::SlotRect;

namespace {

using Enabled = std::map<int, bool>;

// The page's controls as the template makes them: all enabled.
Enabled AllEnabled() {
    Enabled page;
    for (int id : corv::kPictureGroup) page[id] = true;
    page[IDC_PIC_SLOT_EDITOR] = true;
    return page;
}

// The page's decisions only enable and disable.
void Apply(Enabled& page, const std::vector<ControlChange>& changes) {
    for (const ControlChange& c : changes) {
        EXPECT_EQ(c.kind, ControlChange::Kind::Enable) << c.id;
        page[c.id] = c.on;
    }
}

// The ids of the disabled controls.
std::set<int> Disabled(const Enabled& page) {
    std::set<int> off;
    for (const auto& e : page)
        if (!e.second) off.insert(e.first);
    return off;
}

const std::set<int> kCollageParts = {IDC_PIC_CLEAR_COUNT, IDC_PIC_CLEAR_SPIN, IDC_PIC_GRAY};

std::set<int> Join(std::set<int> a, const std::set<int>& b) {
    a.insert(b.begin(), b.end());
    return a;
}

}  // namespace

TEST(PicturePage, InitialStatesFollowPictureSwitchPlacementAndCollage) {
    const std::set<int> group(std::begin(corv::kPictureGroup), std::end(corv::kPictureGroup));
    const struct {
        const char* name;
        bool isforeimg;
        int32_t imagepos;
        bool isoverlap;
        std::set<int> disabled;
    } cases[] = {
        {"slots, collage", true, 1, true, {}},
        {"slots, no collage", true, 1, false, kCollageParts},
        {"random, collage", true, 2, true, {IDC_PIC_SLOT_EDITOR}},
        {"centred, collage", true, 0, true,
         Join(kCollageParts, {IDC_PIC_COLLAGE, IDC_PIC_SLOT_EDITOR})},
        {"negative placement", true, -1, true, Join(kCollageParts, {IDC_PIC_COLLAGE})},
        {"unknown placement keeps the button", true, 7, true, {}},
        {"picture off, slots", false, 1, true, group},
        {"picture off, centred", false, 0, false, Join(group, {IDC_PIC_SLOT_EDITOR})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Settings settings;
        settings.isforeimg = c.isforeimg;
        settings.imagepos = static_cast<corv::ImagePos>(c.imagepos);
        settings.isoverlap = c.isoverlap;
        Enabled page = AllEnabled();
        Apply(page, corv::PictureInitialStates(settings));
        EXPECT_EQ(Disabled(page), c.disabled);
    }
}

TEST(PicturePage, ClicksWriteSettingsAndEnableControls) {
    const std::set<int> group(std::begin(corv::kPictureGroup), std::end(corv::kPictureGroup));
    const struct {
        const char* name;
        int id;
        bool checked;
        bool isoverlap;               // before the click
        std::set<int> disabledAfter;  // starting from everything disabled but 1091
        bool freshCanvas;
    } cases[] = {
        // The collage parts come back only with collage mode on.
        {"picture on, collage on", IDC_PIC_SWITCH, true, true, {}, true},
        {"picture on, collage off", IDC_PIC_SWITCH, true, false, kCollageParts, true},
        {"picture off", IDC_PIC_SWITCH, false, true, group, true},
        {"centred", IDC_PIC_CENTRED, true, true, Join(group, {IDC_PIC_SLOT_EDITOR}), false},
        {"random place", IDC_PIC_RANDOM_PLACE, true, false,
         [&] {
             std::set<int> s = group;
             for (int id : {IDC_PIC_COLLAGE, IDC_PIC_CLEAR_COUNT, IDC_PIC_CLEAR_SPIN, IDC_PIC_GRAY})
                 s.erase(id);
             s.insert(IDC_PIC_SLOT_EDITOR);
             return s;
         }(),
         false},
        {"slot place", IDC_PIC_SLOT_PLACE, true, false,
         [&] {
             std::set<int> s = group;
             for (int id : {IDC_PIC_COLLAGE, IDC_PIC_CLEAR_COUNT, IDC_PIC_CLEAR_SPIN, IDC_PIC_GRAY})
                 s.erase(id);
             return s;
         }(),
         false},
        {"collage on", IDC_PIC_COLLAGE, true, false,
         [&] {
             std::set<int> s = group;
             for (int id : kCollageParts) s.erase(id);
             return s;
         }(),
         false},
        {"grey cleared", IDC_PIC_GRAY, false, true, group, true},
        {"grey set", IDC_PIC_GRAY, true, true, group, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state;
        state.settings.isoverlap = c.isoverlap;
        state.settings.imagepos = corv::ImagePos::Slots;
        Enabled page;
        for (int id : group) page[id] = false;
        page[IDC_PIC_SLOT_EDITOR] = true;
        Apply(page, corv::ApplyPictureClick(state, c.id, c.checked));
        EXPECT_EQ(Disabled(page), c.disabledAfter);
        EXPECT_EQ(state.freshCanvasRequested, c.freshCanvas ? 1 : 0);
    }
}

TEST(PicturePage, ClicksWriteTheirSetting) {
    AppState state;
    corv::ApplyPictureClick(state, IDC_PIC_SWITCH, false);
    EXPECT_FALSE(state.settings.isforeimg);
    corv::ApplyPictureClick(state, IDC_PIC_NO_STRETCH, true);
    EXPECT_TRUE(state.settings.notstrech);
    corv::ApplyPictureClick(state, IDC_PIC_SECONDS, true);
    EXPECT_EQ(state.settings.min_sec, 1000);
    corv::ApplyPictureClick(state, IDC_PIC_MINUTES, true);
    EXPECT_EQ(state.settings.min_sec, 60000);
    corv::ApplyPictureClick(state, IDC_PIC_AT_RANDOM, true);
    EXPECT_TRUE(state.settings.israndum);
    corv::ApplyPictureClick(state, IDC_PIC_IN_ORDER, true);
    EXPECT_FALSE(state.settings.israndum);
    corv::ApplyPictureClick(state, IDC_PIC_RANDOM_PLACE, true);
    EXPECT_EQ(state.settings.imagepos, corv::ImagePos::Random);
    corv::ApplyPictureClick(state, IDC_PIC_SLOT_PLACE, true);
    EXPECT_EQ(state.settings.imagepos, corv::ImagePos::Slots);
    // Centred placement leaves collage mode as it was.
    state.settings.isoverlap = true;
    corv::ApplyPictureClick(state, IDC_PIC_CENTRED, true);
    EXPECT_EQ(state.settings.imagepos, corv::ImagePos::Centred);
    EXPECT_TRUE(state.settings.isoverlap);
    corv::ApplyPictureClick(state, IDC_PIC_COLLAGE, false);
    EXPECT_FALSE(state.settings.isoverlap);
    corv::ApplyPictureClick(state, IDC_PIC_GRAY, true);
    EXPECT_TRUE(state.settings.isbackgray);
}

TEST(PicturePage, UnitSwitchKeepsTheNumber) {
    const struct {
        bool seconds;
        const char* before;
        const char* after;
    } cases[] = {
        {true, "1", "3"}, {true, "2", "3"},   {true, "", "3"},   {true, "0", "3"},
        {true, "3", "3"}, {true, "5", "5"},   {false, "1", "1"}, {false, "5", "5"},
        {false, "", ""},  {true, "45", "45"}, {true, "-4", "3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.seconds ? "seconds " : "minutes ") + c.before);
        EXPECT_EQ(corv::IntervalAfterUnitSwitch(c.seconds, c.before), c.after);
    }
    EXPECT_EQ(corv::IntervalUnitFor(true).label, L"초마다 (>3)");
    EXPECT_EQ(corv::IntervalUnitFor(true).low, 3);
    EXPECT_EQ(corv::IntervalUnitFor(false).label, L"분마다");
    EXPECT_EQ(corv::IntervalUnitFor(false).low, 1);
    EXPECT_EQ(corv::IntervalUnitFor(false).high, 60);
}

TEST(PicturePage, CollageLimitAndWarning) {
    const struct {
        int32_t w, h, limit;
    } screens[] = {
        {1024, 768, 443}, {800, 600, 346}, {1920, 1080, 720}, {3840, 2160, 1440},
        {0, 768, 0},      {2, 2, 1},       {1023, 767, 442},
    };
    for (const auto& s : screens) {
        SCOPED_TRACE(std::to_string(s.w) + "x" + std::to_string(s.h));
        EXPECT_EQ(corv::OverlapSizeLimit(s.w, s.h), s.limit);
    }
    EXPECT_EQ(corv::CollageBoxText(443), L"이미지 겹침 설정(제한 이미지크기:443)");
    EXPECT_FALSE(corv::SizeAboveOverlapLimit(443, 443));
    EXPECT_TRUE(corv::SizeAboveOverlapLimit(444, 443));
    EXPECT_FALSE(corv::SizeAboveOverlapLimit(5000, 0));  // limit not known yet
}

TEST(PicturePage, SizeArrowStepsByTen) {
    EXPECT_EQ(500 + corv::SizeArrowDelta(1), 510);
    EXPECT_EQ(500 + corv::SizeArrowDelta(-1), 490);
    EXPECT_EQ(corv::SizeArrowDelta(0), 0);
}

TEST(PicturePage, PreviewScalesSlotsDown) {
    // A 1024 x 768 screen in a preview of 98 x 73 pixels.
    const int32_t sx = corv::PreviewScale(1024, 98);
    const int32_t sy = corv::PreviewScale(768, 73);
    EXPECT_EQ(sx, 104);
    EXPECT_EQ(sy, 105);
    const std::vector<SlotRect> slots = {{312, 184, 712, 584}, {0, 0, 0, 0}, {-50, 10, 300, 300}};
    const std::vector<SlotRect> expected = {{30, 17, 68, 55}, {0, 0, 0, 0}, {-4, 0, 28, 28}};
    EXPECT_EQ(corv::PreviewSlotRects(slots, sx, sy), expected);
    EXPECT_TRUE(corv::PreviewSlotRects(slots, corv::PreviewScale(1024, 0), sy).empty());
    EXPECT_EQ(corv::SlotCountText(0), L"0개");
    EXPECT_EQ(corv::SlotCountText(3), L"3개");
}
