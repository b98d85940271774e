#include "settings_ui/page1_background.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/catalogue.h"

using corv::AppState;
using Change = corv::ControlChange;

TEST(BackgroundPage, SwitchesWriteTheSettingAndEnableTheirControls) {
    const struct {
        const char* name;
        int id;
        bool checked;
        std::vector<Change> changes;
    } cases[] = {
        {"colour on", IDC_BG_COLOR_SWITCH, true, {Change::Enable(IDC_BG_COLOR_BUTTON, true)}},
        {"colour off", IDC_BG_COLOR_SWITCH, false, {Change::Enable(IDC_BG_COLOR_BUTTON, false)}},
        // The stretch box keeps its state until the page opens again.
        {"image on", IDC_BG_IMAGE_SWITCH, true, {Change::Enable(IDC_BG_CHOOSE_IMAGE, true)}},
        {"image off", IDC_BG_IMAGE_SWITCH, false, {Change::Enable(IDC_BG_CHOOSE_IMAGE, false)}},
        {"stretch on", IDC_BG_STRETCH_SWITCH, true, {}},
        {"stretch off", IDC_BG_STRETCH_SWITCH, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state;
        state.settings.isbackcolor = !c.checked;
        state.settings.isbackimg = !c.checked;
        state.settings.isstretch = !c.checked;
        EXPECT_EQ(corv::ApplyBackgroundSwitch(state, c.id, c.checked), c.changes);
        EXPECT_EQ(state.freshCanvasRequested, 1);
        const bool* changed = c.id == IDC_BG_COLOR_SWITCH   ? &state.settings.isbackcolor
                              : c.id == IDC_BG_IMAGE_SWITCH ? &state.settings.isbackimg
                                                            : &state.settings.isstretch;
        EXPECT_EQ(*changed, c.checked);
        // The other two switches are untouched.
        const int others = (state.settings.isbackcolor == c.checked) +
                           (state.settings.isbackimg == c.checked) +
                           (state.settings.isstretch == c.checked);
        EXPECT_EQ(others, 1);
    }
}

TEST(BackgroundPage, InitialStatesFollowTheSwitches) {
    corv::Settings settings;
    settings.isbackimg = false;
    settings.isbackcolor = true;
    const std::vector<Change> expected = {Change::Enable(IDC_BG_CHOOSE_IMAGE, false),
                                          Change::Enable(IDC_BG_STRETCH_SWITCH, false),
                                          Change::Enable(IDC_BG_COLOR_BUTTON, true)};
    EXPECT_EQ(corv::BackgroundInitialStates(settings), expected);
}

TEST(BackgroundPage, ColoursConvertBothWays) {
    AppState state;
    state.settings.backcolor = corv::Argb{0xFF112233};  // red 0x11, green 0x22, blue 0x33
    EXPECT_EQ(corv::BackgroundButtonColor(state.settings).value, 0x00332211u);
    corv::ApplyBackgroundColor(state, corv::ColorRef{0x00C0B0A0});  // blue C0, green B0, red A0
    EXPECT_EQ(state.settings.backcolor.value, 0xFFA0B0C0u);
    EXPECT_EQ(state.freshCanvasRequested, 1);
}

TEST(BackgroundPage, SameImageAgainAsksNoFreshCanvas) {
    AppState state;
    state.settings.backimagename = "C:\\bg\\sky.jpg";
    corv::ApplyBackgroundImage(state, "C:\\bg\\sky.jpg");
    EXPECT_EQ(state.freshCanvasRequested, 0);
    corv::ApplyBackgroundImage(state, "C:\\bg\\SKY.jpg");
    EXPECT_EQ(state.freshCanvasRequested, 1);
    EXPECT_EQ(state.settings.backimagename, "C:\\bg\\SKY.jpg");
}

TEST(BackgroundPage, OpenFileFilterOffersEveryPictureFormat) {
    const std::string filter = corv::BackgroundImageFilter();
    const std::size_t bar = filter.find('|');
    ASSERT_NE(bar, std::string::npos);
    EXPECT_EQ(filter.compare(0, 7, "Image ("), 0);
    EXPECT_EQ(filter.substr(filter.size() - 2), "||");
    // The patterns the dialog matches: exactly the catalogue's extensions.
    std::string expected;
    for (const std::string& extension : corv::PictureExtensions())
        expected += (expected.empty() ? "*." : ";*.") + extension;
    EXPECT_EQ(filter.substr(bar + 1, filter.size() - bar - 3), expected);
    for (const char* pattern : {"*.jpeg", "*.jfif", "*.tiff", "*.webp", "*.avif", "*.heic"})
        EXPECT_NE(filter.find(pattern), std::string::npos) << pattern;
}

TEST(BackgroundPage, LabelTexts) {
    EXPECT_EQ(corv::FileNameOfPath("C:\\bg\\sky.jpg"), "sky.jpg");
    EXPECT_EQ(corv::FileNameOfPath("sky.jpg"), "sky.jpg");
    EXPECT_EQ(corv::FileNameOfPath(""), "");
    EXPECT_EQ(corv::DescribePicture({}), "No FileInfo");
    EXPECT_EQ(corv::DescribePicture({true, 0, 10, 24, 5000}), "No FileInfo");
    EXPECT_EQ(corv::DescribePicture({true, 1920, 1080, 24, 1024 * 300 + 1023}),
              "1920 x 1080\nColor: 24bit\r\nFile Size: 300KB");
    EXPECT_EQ(corv::DescribePicture({true, 64, 48, 32, 1023}),
              "64 x 48\nColor: 32bit\r\nFile Size: 0KB");
}

TEST(BackgroundPage, PreviewTakesTheScreensProportions) {
    EXPECT_EQ(corv::PreviewHeight(105, 1024, 768), 78);
    EXPECT_EQ(corv::PreviewHeight(105, 1920, 1080), 59);
    EXPECT_EQ(corv::PreviewHeight(105, 0, 0), 105);
}

TEST(BackgroundPage, PreviewPlans) {
    corv::Settings settings;
    settings.backcolor = corv::Argb{0xFF102030};
    settings.desktopColor = corv::Argb{0xFF405060};
    const struct {
        const char* name;
        bool color, image, stretch;
        int32_t iw, ih;
        uint32_t clear;
        bool draws;
        corv::RectF rect;
    } cases[] = {
        {"desktop colour", false, false, false, 200, 100, 0xFF405060, false, {}},
        {"own colour", true, false, false, 200, 100, 0xFF102030, false, {}},
        {"image that failed", true, true, false, 0, 0, 0xFF102030, false, {}},
        {"stretched", true, true, true, 200, 100, 0xFF102030, true, {0, 0, 100, 75}},
        // 2000 x 500 is 200 x 50 at a tenth: wider than the preview, fitted
        // to its width and centred down.
        {"large fitted", false, true, false, 2000, 500, 0xFF405060, true, {0, 25, 100, 25}},
        // 400 x 300 is 40 x 30: centred at its scaled size.
        {"small centred", false, true, false, 400, 300, 0xFF405060, true, {30, 22, 40, 30}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        settings.isbackcolor = c.color;
        settings.isbackimg = c.image;
        settings.isstretch = c.stretch;
        const corv::PreviewPlan plan = corv::PlanPreview(settings, 100, 75, 1000, c.iw, c.ih);
        EXPECT_EQ(plan.clearArgb.value, c.clear);
        EXPECT_EQ(plan.drawImage, c.draws);
        if (!c.draws) continue;
        EXPECT_FLOAT_EQ(plan.imageRect.x, c.rect.x);
        EXPECT_FLOAT_EQ(plan.imageRect.y, c.rect.y);
        EXPECT_FLOAT_EQ(plan.imageRect.width, c.rect.width);
        EXPECT_FLOAT_EQ(plan.imageRect.height, c.rect.height);
    }
}
