#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "settings_ui/page3_effects.h"
#include "widgets/mask_chooser_logic.h"

using corv::ControlChange;
using corv::Settings;

namespace {

// The state a control ends in after the changes, or -1 when untouched.
int Final(const std::vector<ControlChange>& changes, int id, ControlChange::Kind kind) {
    int state = -1;
    for (const ControlChange& c : changes)
        if (c.id == id && c.kind == kind) state = c.on ? 1 : 0;
    return state;
}

int Enabled(const std::vector<ControlChange>& changes, int id) {
    return Final(changes, id, ControlChange::Kind::Enable);
}

int Ticked(const std::vector<ControlChange>& changes, int id) {
    return Final(changes, id, ControlChange::Kind::Check);
}

// The page's controls as a dialog would hold them: ticks and enabled
// states, all enabled and clear at first.
struct PageModel {
    std::map<int, bool> ticked;
    std::map<int, bool> disabled;
    void Apply(const std::vector<ControlChange>& changes) {
        for (const ControlChange& c : changes) {
            const bool tick = c.kind == ControlChange::Kind::Check;
            EXPECT_TRUE(tick || c.kind == ControlChange::Kind::Enable) << c.id;
            (tick ? ticked[c.id] : disabled[c.id]) = tick ? c.on : !c.on;
        }
    }
    void Click(Settings& s, int id, bool checked) {
        ticked[id] = checked;
        Apply(corv::ApplyEffectsSwitch(s, id, checked));
    }
};

}  // namespace

TEST(EffectsPage, OpeningEnablesByTheSwitches) {
    const struct {
        const char* name;
        bool frame, mask, rotate;
        int thickness, colour, shadow, randomMask, chooser, angles;
    } cases[] = {
        {"frame", true, false, true, -1, -1, -1, 0, 0, -1},
        {"mask", false, true, false, 0, 0, 0, -1, -1, 0},
        {"neither", false, false, true, 0, 0, 0, 0, 0, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Settings s;
        s.isframe = c.frame;
        s.ismask = c.mask;
        s.isrotate = c.rotate;
        s.isshadow = true;
        const auto changes = corv::EffectsInitialStates(s);
        EXPECT_EQ(Enabled(changes, IDC_FX_FRAME_SIZE), c.thickness);
        EXPECT_EQ(Enabled(changes, IDC_FX_FRAME_COLOR), c.colour);
        EXPECT_EQ(Enabled(changes, IDC_FX_SHADOW_SWITCH), c.shadow);
        EXPECT_EQ(Enabled(changes, IDC_FX_RANDOM_MASK), c.randomMask);
        EXPECT_EQ(Enabled(changes, IDC_FX_CHOOSE_MASK), c.chooser);
        EXPECT_EQ(Enabled(changes, IDC_FX_ANGLE_LIST), c.angles);
        EXPECT_EQ(Ticked(changes, IDC_FX_FRAME_SWITCH), c.frame ? 1 : -1);
        EXPECT_EQ(Ticked(changes, IDC_FX_MASK_SWITCH), c.mask ? 1 : -1);
        EXPECT_EQ(Ticked(changes, IDC_FX_SHADOW_SWITCH), 1);
    }
}

TEST(EffectsPage, FrameAndMaskExcludeEachOther) {
    Settings s;
    PageModel page;
    page.Click(s, IDC_FX_FRAME_SWITCH, true);
    page.Click(s, IDC_FX_SHADOW_SWITCH, true);
    EXPECT_TRUE(s.isframe);
    EXPECT_TRUE(s.isshadow);
    EXPECT_FALSE(page.disabled[IDC_FX_SHADOW_SWITCH]);

    // The mask clears the frame and the shadow, and disables both boxes'
    // companions; the shadow box shows the shadow is off.
    page.Click(s, IDC_FX_MASK_SWITCH, true);
    EXPECT_TRUE(s.ismask);
    EXPECT_FALSE(s.isframe);
    EXPECT_FALSE(s.isshadow);
    EXPECT_FALSE(page.ticked[IDC_FX_FRAME_SWITCH]);
    EXPECT_FALSE(page.ticked[IDC_FX_SHADOW_SWITCH]);
    EXPECT_TRUE(page.disabled[IDC_FX_SHADOW_SWITCH]);
    EXPECT_TRUE(page.disabled[IDC_FX_FRAME_COLOR]);
    EXPECT_TRUE(page.disabled[IDC_FX_FRAME_SIZE]);
    EXPECT_FALSE(page.disabled[IDC_FX_CHOOSE_MASK]);
    EXPECT_FALSE(page.disabled[IDC_FX_RANDOM_MASK]);

    // Clearing the mask leaves the shadow box disabled until the frame.
    page.Click(s, IDC_FX_MASK_SWITCH, false);
    EXPECT_FALSE(s.ismask);
    EXPECT_TRUE(page.disabled[IDC_FX_SHADOW_SWITCH]);
    EXPECT_TRUE(page.disabled[IDC_FX_CHOOSE_MASK]);
    page.Click(s, IDC_FX_MASK_SWITCH, true);
    page.Click(s, IDC_FX_FRAME_SWITCH, true);
    EXPECT_TRUE(s.isframe);
    EXPECT_FALSE(s.ismask);
    EXPECT_FALSE(page.ticked[IDC_FX_MASK_SWITCH]);
    EXPECT_FALSE(page.disabled[IDC_FX_SHADOW_SWITCH]);
    EXPECT_FALSE(page.ticked[IDC_FX_SHADOW_SWITCH]);
    EXPECT_TRUE(page.disabled[IDC_FX_CHOOSE_MASK]);

    // Clearing the frame keeps the shadow and the colour button.
    page.Click(s, IDC_FX_SHADOW_SWITCH, true);
    page.Click(s, IDC_FX_FRAME_SWITCH, false);
    EXPECT_FALSE(s.isframe);
    EXPECT_TRUE(s.isshadow);
    EXPECT_TRUE(page.disabled[IDC_FX_FRAME_SIZE]);
    EXPECT_FALSE(page.disabled[IDC_FX_FRAME_COLOR]);
}

TEST(EffectsPage, RotationAndRandomMaskFollowTheirBoxes) {
    Settings s;
    PageModel page;
    page.Click(s, IDC_FX_ROTATE_SWITCH, true);
    EXPECT_TRUE(s.isrotate);
    EXPECT_FALSE(page.disabled[IDC_FX_ANGLE_LIST]);
    page.Click(s, IDC_FX_ROTATE_SWITCH, false);
    EXPECT_FALSE(s.isrotate);
    EXPECT_TRUE(page.disabled[IDC_FX_ANGLE_LIST]);
    page.Click(s, IDC_FX_RANDOM_MASK, true);
    EXPECT_TRUE(s.isrndmask);
    page.Click(s, IDC_FX_RANDOM_MASK, false);
    EXPECT_FALSE(s.isrndmask);
}

TEST(EffectsPage, AngleListSelectsByPrefix) {
    const std::vector<std::string> items = {"45", "90", "180", "270", "360"};
    const struct {
        int32_t stored;
        int index;
    } cases[] = {{45, 0}, {18, 2}, {1, 2}, {3, 4}, {360, 4}, {4, 0}, {100, -1}, {0, -1}, {-45, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(corv::FindAngleItem(items, c.stored), c.index);
    }
    EXPECT_EQ(corv::FindAngleItem({}, 45), -1);
    EXPECT_EQ(corv::AngleOfItem("180"), 180);
}

TEST(EffectsPage, DialogInitDataGivesTheListsTexts) {
    // control 1053, message 0x0403, length 3, "45\0"; control 7 "x\0";
    // control 1053 "180\0"; the end mark.
    const std::vector<unsigned char> good = {
        0x1D, 0x04, 0x03, 0x04, 3,    0,    0,    0, '4', '5', 0, 0x07, 0x00, 0x03, 0x04, 2, 0, 0,
        0,    'x',  0,    0x1D, 0x04, 0x03, 0x04, 4, 0,   0,   0, '1',  '8',  '0',  0,    0, 0};
    EXPECT_EQ(corv::DialogInitTexts(good.data(), good.size(), 1053),
              (std::vector<std::string>{"45", "180"}));
    EXPECT_EQ(corv::DialogInitTexts(good.data(), good.size(), 7), std::vector<std::string>{"x"});
    // Cut anywhere, the records before the cut stay and nothing is read
    // past the end.
    for (std::size_t size = 0; size < good.size(); ++size) {
        SCOPED_TRACE(size);
        const auto texts = corv::DialogInitTexts(good.data(), size, 1053);
        EXPECT_LE(texts.size(), size >= 11 ? 2u : 0u);
        if (size >= 11) {
            EXPECT_EQ(texts.front(), "45");
        }
    }
    // A length beyond the data ends the list.
    std::vector<unsigned char> huge = good;
    huge[4] = 0xFF;
    huge[7] = 0x7F;
    EXPECT_TRUE(corv::DialogInitTexts(huge.data(), huge.size(), 1053).empty());
    EXPECT_TRUE(corv::DialogInitTexts(nullptr, 10, 1053).empty());
}

TEST(EffectsPage, ChosenMaskIsStoredUnderTheProgramFolder) {
    Settings s;
    s.programDir = "C:\\Corv 설정";
    s.maskfilename = "C:\\old\\star.gif";
    EXPECT_EQ(corv::ApplyChosenMask(s, "heart"),
              std::vector<ControlChange>{ControlChange::Text(IDC_FX_MASK_NAME, "heart.gif")});
    EXPECT_EQ(s.maskfilename, "C:\\Corv 설정\\masks\\heart.gif");
    EXPECT_EQ(corv::MaskFileLabel(s.maskfilename), "heart.gif");
    // A confirmation without a chosen mask changes nothing.
    EXPECT_TRUE(corv::ApplyChosenMask(s, "").empty());
    EXPECT_EQ(s.maskfilename, "C:\\Corv 설정\\masks\\heart.gif");
}

TEST(EffectsPage, EmptyMaskTakesTheFirstOfTheList) {
    Settings s;
    EXPECT_FALSE(corv::TakeFirstMask(s, {}));
    EXPECT_EQ(s.maskfilename, "");
    EXPECT_EQ(corv::MaskFileLabel(s.maskfilename), "");
    EXPECT_TRUE(corv::TakeFirstMask(s, {"D:\\p\\Masks\\a.gif", "D:\\p\\Masks\\b.gif"}));
    EXPECT_EQ(s.maskfilename, "D:\\p\\Masks\\a.gif");
    EXPECT_FALSE(corv::TakeFirstMask(s, {"D:\\p\\Masks\\b.gif"}));
    EXPECT_EQ(s.maskfilename, "D:\\p\\Masks\\a.gif");
}

TEST(EffectsPage, FrameColourIsKeptAsGivenAndAsksForAFreshCanvas) {
    corv::AppState state;
    corv::ApplyFrameColor(state, corv::ColorRef{0x00C0B0A0});
    EXPECT_EQ(state.settings.framecolor.value, 0x00C0B0A0u);
    EXPECT_EQ(state.freshCanvasRequested, 1);
}

TEST(EffectsPage, PreviewShowsTheMasksTopLeftQuarterInsideTheBorder) {
    const corv::MaskPreviewPlan plan = corv::PlanMaskPreview(40, 40, 200, 200);
    EXPECT_EQ(plan.border.width, 40);
    EXPECT_EQ(plan.dest.x, 1);
    EXPECT_EQ(plan.dest.y, 1);
    EXPECT_EQ(plan.dest.width, 38);
    EXPECT_EQ(plan.dest.height, 38);
    EXPECT_EQ(plan.source.width, 100);
    EXPECT_EQ(plan.source.height, 100);
    const corv::MaskPreviewPlan odd = corv::PlanMaskPreview(40, 42, 201, 99);
    EXPECT_EQ(odd.source.width, 100);
    EXPECT_EQ(odd.source.height, 49);
    EXPECT_EQ(odd.dest.height, 40);
}

TEST(MaskChooser, ThumbnailsFitByWholePercentagesAndNeverGrow) {
    const struct {
        int32_t iw, ih;
        int32_t x, y, width, height;
    } cases[] = {
        {300, 200, 0, 7, 40, 26},                        // wider, shrunk
        {20, 10, 10, 15, 20, 10},                        // wider, small: unscaled
        {200, 300, 7, 0, 26, 40},                        // taller, shrunk (66 % of 40)
        {10, 20, 15, 10, 10, 20},                        // taller, small: unscaled
        {40, 40, 0, 0, 40, 40},                          // square fills the box
        {400, 400, 0, 0, 40, 40}, {0, 0, 20, 20, 1, 1},  // sizes not known count as 1
        {4000, 1, 0, 20, 40, 0},                         // a line too thin to show
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.iw) + "x" + std::to_string(c.ih));
        const corv::RectI r = corv::FitMaskThumbnail(c.iw, c.ih);
        EXPECT_EQ(r.x, c.x);
        EXPECT_EQ(r.y, c.y);
        EXPECT_EQ(r.width, c.width);
        EXPECT_EQ(r.height, c.height);
    }
}

TEST(MaskChooser, ItemsStandInTwoColumns) {
    const int expected[][2] = {{0, 0}, {60, 0}, {0, 60}, {60, 60}, {0, 120}};
    for (int i = 0; i < 5; ++i) {
        const corv::PointI at = corv::MaskItemPosition(i);
        EXPECT_EQ(at.x, expected[i][0]) << i;
        EXPECT_EQ(at.y, expected[i][1]) << i;
    }
    EXPECT_EQ(corv::MaskItemPosition(99).y, 49 * 60);
}

// At 150 % and 200 % the cells and the grid grow together: a mask fills
// the larger cell as it filled the small one, and two columns stay apart.
TEST(MaskChooser, CellsAndGridGrowWithTheDisplayScale) {
    const struct {
        int dpi;
        int32_t iw, ih;
        int32_t x, y, width, height;
        int32_t step;
    } cases[] = {
        {144, 300, 200, 0, 10, 60, 40, 90},   // 150 % of 300 x 200: wider, shrunk to 60
        {144, 30, 30, 15, 15, 30, 30, 90},    // small: never enlarged, centred
        {192, 200, 300, 14, 0, 52, 80, 120},  // taller, shrunk (66 % of 80)
        {120, 100, 100, 0, 0, 50, 50, 75},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        const corv::RectI r = corv::FitMaskThumbnail(c.iw, c.ih, c.dpi);
        EXPECT_EQ(r.x, c.x);
        EXPECT_EQ(r.y, c.y);
        EXPECT_EQ(r.width, c.width);
        EXPECT_EQ(r.height, c.height);
        EXPECT_EQ(corv::MaskItemPosition(3, c.dpi).x, c.step);
        EXPECT_EQ(corv::MaskItemPosition(3, c.dpi).y, c.step);
        // The cell fits its grid place with room for the name below.
        EXPECT_LT(corv::MaskThumbSide(c.dpi), c.step);
    }
}

TEST(MaskChooser, NamesLoseTheExtension) {
    const struct {
        const char* path;
        const char* name;
    } cases[] = {{"C:\\p\\Masks\\heart.gif", "heart"},
                 {"C:\\p\\Masks\\a.b.gif", "a.b"},
                 {"heart.gif", "heart"},
                 {"C:\\p\\Masks\\하트.gif", "하트"},
                 {"C:\\p\\.gif", ""},
                 {"C:\\p\\ab", ""}};
    for (const auto& c : cases) EXPECT_EQ(corv::MaskName(c.path), c.name) << c.path;
}

TEST(MaskChooser, EachOpeningChoosesAfresh) {
    corv::MaskChoice first;
    EXPECT_FALSE(first.CanConfirm());
    EXPECT_TRUE(first.OnItemChanged(2, true, "c"));
    EXPECT_TRUE(first.OnItemChanged(4, true, "e"));
    EXPECT_EQ(first.Chosen(), "e");
    // The same item again, a cleared selection, a focus mark, no item:
    // nothing changes.
    EXPECT_FALSE(first.OnItemChanged(4, true, "e"));
    EXPECT_FALSE(first.OnItemChanged(4, false, "e"));
    EXPECT_FALSE(first.OnItemChanged(0, false, "a"));
    EXPECT_FALSE(first.OnItemChanged(-1, true, ""));
    EXPECT_EQ(first.Chosen(), "e");
    EXPECT_TRUE(first.CanConfirm());

    // The next opening can choose the mask chosen last time, item 0 too.
    corv::MaskChoice next;
    EXPECT_EQ(next.Chosen(), "");
    EXPECT_TRUE(next.OnItemChanged(4, true, "e"));
    EXPECT_EQ(next.Chosen(), "e");
    corv::MaskChoice third;
    EXPECT_TRUE(third.OnItemChanged(0, true, "a"));
    EXPECT_TRUE(third.CanConfirm());
}
