#include "settings_ui/sheet_logic.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using corv::CloseVerdict;
using corv::Settings;

namespace {

// A page's typed fields held in a map; a page without fields has an empty
// map.
class FakeFields : public corv::TypedFields {
public:
    explicit FakeFields(std::map<int, std::string> fields) : fields_(std::move(fields)) {}
    bool HasTypedFields() const override { return !fields_.empty(); }
    std::string FieldText(int id) const override { return fields_.at(id); }
    void SetFieldText(int id, const std::string& text) override { fields_[id] = text; }
    std::string Text(int id) const { return fields_.at(id); }

private:
    std::map<int, std::string> fields_;
};

FakeFields Picture(const std::string& interval, const std::string& size,
                   const std::string& clear = "10") {
    return FakeFields({{corv::kIntervalField, interval},
                       {corv::kSizeField, size},
                       {corv::kClearCountField, clear}});
}

FakeFields Effects(const std::string& frame) {
    return FakeFields({{corv::kFrameSizeField, frame}});
}

struct CloseCase {
    const char* name;
    int32_t minSec;
    std::string interval, size, frame;  // "" frame: effects page never shown
    bool closes;
    int page;
    std::wstring message;
    int focus;
};

}  // namespace

TEST(SheetCloseCheck, EveryMessageInItsOrder) {
    const std::wstring noTime = L"타임을 넣어주세요!";
    const std::wstring tooShort = L"변경타임 간격은 최소 3초이상입니다!";
    const std::wstring badSize = L"이미지크기를 최소:200이상, 최대:760이하로 설정바랍니다!";
    const std::wstring badFrame = L"프레임Size 지정이 잘못됐습니다!";
    const CloseCase cases[] = {
        {"all good", 1000, "15", "400", "7", true, -1, L"", 0},
        {"empty interval", 1000, "", "400", "7", false, 1, noTime, 0},
        {"empty interval in minutes", 60000, "", "400", "7", false, 1, noTime, 0},
        {"zero seconds", 1000, "0", "400", "7", false, 1, tooShort, corv::kIntervalField},
        {"two seconds", 1000, "2", "400", "7", false, 1, tooShort, corv::kIntervalField},
        {"three seconds", 1000, "3", "400", "7", true, -1, L"", 0},
        {"zero minutes", 60000, "0", "400", "7", true, -1, L"", 0},
        {"blank and sign", 1000, "  +12x", "400", "7", true, -1, L"", 0},
        {"no digits in seconds", 1000, "abc", "400", "7", false, 1, tooShort, corv::kIntervalField},
        {"size at the top", 1000, "15", "760", "7", true, -1, L"", 0},
        {"size above the top", 1000, "15", "761", "7", false, 1, badSize, corv::kSizeField},
        {"size 199", 1000, "15", "199", "7", false, 1, badSize, corv::kSizeField},
        {"size 200", 1000, "15", "200", "7", true, -1, L"", 0},
        {"size 0", 1000, "15", "0", "7", false, 1, badSize, corv::kSizeField},
        {"frame 50", 1000, "15", "400", "50", true, -1, L"", 0},
        {"frame 51", 1000, "15", "400", "51", false, 2, badFrame, corv::kFrameSizeField},
        {"frame 0", 1000, "15", "400", "0", false, 2, badFrame, corv::kFrameSizeField},
        {"negative frame", 1000, "15", "400", "-3", false, 2, badFrame, corv::kFrameSizeField},
        {"picture first", 1000, "", "400", "0", false, 1, noTime, 0},
    };
    for (const CloseCase& c : cases) {
        SCOPED_TRACE(c.name);
        Settings settings;
        settings.min_sec = c.minSec;
        FakeFields picture = Picture(c.interval, c.size);
        FakeFields effects = Effects(c.frame);
        const CloseVerdict verdict = corv::CheckSheetClose(settings, 1024, &picture, &effects);
        EXPECT_EQ(verdict.close, c.closes);
        EXPECT_EQ(verdict.page, c.page);
        EXPECT_EQ(verdict.message, c.message);
        EXPECT_EQ(verdict.focusField, c.focus);
    }
}

TEST(SheetCloseCheck, StoresWhatPassedBeforeARefusalAndResetsTheSize) {
    Settings settings;
    settings.min_sec = 1000;
    settings.changetime = 15;
    settings.piccleartotalcnt = 10;
    settings.picmaxsize = 400;
    FakeFields picture = Picture("42", "761", "7");
    const CloseVerdict verdict = corv::CheckSheetClose(settings, 1024, &picture, nullptr);
    EXPECT_FALSE(verdict.close);
    EXPECT_EQ(settings.changetime, 42);
    EXPECT_EQ(settings.piccleartotalcnt, 7);
    EXPECT_EQ(settings.picmaxsize, 400);
    EXPECT_EQ(picture.Text(corv::kSizeField), "760");
}

TEST(SheetCloseCheck, PagesNeverShownAreSkippedAndValuesStored) {
    Settings settings;
    settings.min_sec = 1000;
    settings.changetime = 0;  // would be refused if the picture page were checked
    settings.framesize = 99;
    FakeFields none({});
    EXPECT_TRUE(corv::CheckSheetClose(settings, 1024, &none, &none).close);
    EXPECT_TRUE(corv::CheckSheetClose(settings, 1024, nullptr, nullptr).close);
    EXPECT_EQ(settings.changetime, 0);
    EXPECT_EQ(settings.framesize, 99);

    FakeFields picture = Picture("20", "500", "3");
    FakeFields effects = Effects("12");
    EXPECT_TRUE(corv::CheckSheetClose(settings, 1920, &picture, &effects).close);
    EXPECT_EQ(settings.changetime, 20);
    EXPECT_EQ(settings.picmaxsize, 500);
    EXPECT_EQ(settings.piccleartotalcnt, 3);
    EXPECT_EQ(settings.framesize, 12);
}

TEST(SheetCloseCheck, LargestSizeIsThreeQuartersCutToTens) {
    const struct {
        int32_t width, largest;
    } cases[] = {{1024, 760}, {1920, 1440}, {1366, 1020}, {800, 600}, {0, 0}};
    for (const auto& c : cases) EXPECT_EQ(corv::MaxPictureSize(c.width), c.largest) << c.width;
}

// However narrow the screen (or 0, where nothing was ever composed), some
// size passes: the smallest allowed.
TEST(SheetCloseCheck, NoScreenWidthEverRefusesEverySize) {
    for (int32_t width : {0, 100, 266, 267}) {
        SCOPED_TRACE(width);
        Settings settings;
        settings.min_sec = 1000;
        FakeFields picture = Picture("15", "200");
        EXPECT_TRUE(corv::CheckSheetClose(settings, width, &picture, nullptr).close);
        EXPECT_EQ(settings.picmaxsize, 200);
        FakeFields tooLarge = Picture("15", "201");
        const CloseVerdict verdict = corv::CheckSheetClose(settings, width, &tooLarge, nullptr);
        EXPECT_EQ(verdict.close, corv::MaxPictureSize(width) >= 210);
        if (!verdict.close) {
            EXPECT_EQ(tooLarge.Text(corv::kSizeField), "200");
            EXPECT_EQ(verdict.message, L"이미지크기를 최소:200이상, 최대:200이하로 설정바랍니다!");
        }
    }
}

// A refused size goes back to the largest size allowed; in collage mode to
// the largest size collage mode takes when that is smaller, so the reset
// never leaves collage mode with a size it does not take.
TEST(SheetCloseCheck, RefusedSizeResetKeepsCollageSizes) {
    const struct {
        const char* name;
        bool collage;
        int32_t collageLimit;
        const char* typed;
        const char* reset;
    } cases[] = {
        {"no collage", false, 380, "15", "760"},
        {"collage, smaller limit", true, 380, "15", "380"},
        {"collage, too large", true, 380, "5000", "380"},
        {"collage, limit above the largest", true, 900, "15", "760"},
        {"collage, limit unknown", true, 0, "15", "760"},
        {"collage, limit below the smallest", true, 150, "15", "760"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Settings settings;
        settings.min_sec = 1000;
        settings.isoverlap = c.collage;
        FakeFields picture = Picture("15", c.typed);
        EXPECT_FALSE(
            corv::CheckSheetClose(settings, 1024, &picture, nullptr, c.collageLimit).close);
        EXPECT_EQ(picture.Text(corv::kSizeField), c.reset);
        EXPECT_EQ(settings.isoverlap != 0, c.collage);
    }
}
