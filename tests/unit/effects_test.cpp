#include "compose/effects.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "engine/paths.h"
#include "support/recording_imaging.h"

using corv::DirEntry;
using corv::EffectsContext;
using corv::Settings;
using corvtest::FakeImage;
using corvtest::RecordingImaging;
using corvtest::RecordingSurface;

namespace {

// Hands out the given values in turn and counts the calls.
class ListRandom : public corv::Random {
public:
    explicit ListRandom(std::vector<int> values = {}) : values_(std::move(values)) {}
    int Next() override {
        ++calls;
        return values_.empty() ? 0 : values_[(calls - 1) % values_.size()];
    }
    int calls = 0;

private:
    std::vector<int> values_;
};

class FakeFolders : public corv::FileSystem {
public:
    bool ForEachEntry(const std::string& folder,
                      const std::function<void(const DirEntry&)>& visit) override {
        auto it = folders.find(folder);
        if (it == folders.end()) return false;
        for (const DirEntry& e : it->second) visit(e);
        return true;
    }
    bool Exists(const std::string& path) override { return folders.count(path) != 0; }
    std::map<std::string, std::vector<DirEntry>> folders;
};

// One picture drawn through the effects with a recording imaging layer.
struct Scene {
    Settings settings;
    RecordingImaging imaging;
    ListRandom random;
    std::vector<std::string> masks;
    std::string programDir = "prog";
    // A picture with transparency, drawn inside the layer (an opaque one
    // goes straight onto the canvas: PictureLayerOpaque below).
    FakeImage picture{"pic.jpg", 400, 300, 32};
    RecordingSurface canvas{imaging.log, "canvas"};

    EffectsContext Context() {
        return EffectsContext{settings, imaging, random, masks, programDir};
    }
    std::string Shadow() const { return corv::DropShadowPath(programDir); }
    void Layer(int w, int h, int x, int y) {
        corv::DrawPictureLayer(Context(), canvas, picture, w, h, x, y);
    }
    void Masked(int w, int h, int x, int y) {
        corv::DrawMaskedPicture(Context(), canvas, picture, w, h, x, y);
    }
};

using Log = std::vector<std::string>;

}  // namespace

TEST(PictureLayer, PlainPictureLeavesOnePixelAtTopAndLeft) {
    Scene s;
    s.Layer(400, 300, 30, 40);
    EXPECT_EQ(s.imaging.log, (Log{
                                 "new bmp1 400x311 argb32",
                                 "bmp1: draw pic.jpg (1,1,399,299) from (0,0,400,300)",
                                 "canvas: draw bmp1 (30,40,400,311)",
                             }));
}

TEST(PictureLayer, ShadowWidensTheLayerAndSitsBehindThePicture) {
    Scene s;
    s.settings.isshadow = true;
    s.imaging.AddPicture(s.Shadow(), 64, 64, 32);
    s.Layer(400, 300, 30, 40);
    EXPECT_EQ(s.imaging.log, (Log{
                                 "new bmp1 414x311 argb32",
                                 "load " + s.Shadow() + " 64x64",
                                 "new bmp2 414x311 argb32",
                                 "bmp2: draw " + s.Shadow() + " (0,0,414,311)",
                                 "bmp1: draw bmp2 (0,0,414,311) from (-2,-2,416,313)",
                                 "bmp1: draw pic.jpg (1,1,399,299) from (0,0,400,300)",
                                 "canvas: draw bmp1 (30,40,414,311)",
                             }));
}

TEST(PictureLayer, FrameBandWithInnerLineAroundThePicture) {
    Scene s;
    s.settings.isframe = true;
    s.settings.framesize = 7;
    s.settings.framecolor = corv::ColorRef{0x00332211};  // blue 0x33, green 0x22, red 0x11
    s.Layer(400, 300, 0, 0);
    EXPECT_EQ(s.imaging.log, (Log{
                                 "new bmp1 400x311 argb32",
                                 "new bmp2 400x300 argb32",
                                 "bmp2: clear ff112233",
                                 "bmp2: outline (7,7,385,285) ff000000",
                                 "bmp1: draw bmp2 (0,0,400,300) from (-1,-1,401,301)",
                                 "bmp1: draw pic.jpg (9,9,383,283) from (0,0,400,300)",
                                 "canvas: draw bmp1 (0,0,400,311)",
                             }));
}

TEST(PictureLayer, RotationUsesASquareLayerAndKeepsTheCentre) {
    Scene s;
    s.settings.isrotate = true;
    s.settings.rotatevalue = 90;
    s.random = ListRandom({100});  // 100 mod 90 = 10, minus 45
    s.Layer(400, 300, 300, 200);
    EXPECT_EQ(s.imaging.log, (Log{
                                 "new bmp1 500x500 argb32",
                                 "bmp1: translate 250 250 append",
                                 "bmp1: rotate -35 prepend",
                                 "bmp1: interpolation bicubic",
                                 "bmp1: draw pic.jpg (-200,-150,400,300) from (-2,-2,402,302)",
                                 "bmp1: interpolation default",
                                 "canvas: draw bmp1 (250,100,500,500)",
                             }));
    EXPECT_EQ(s.random.calls, 1);
}

TEST(PictureLayer, RotationWithShadowAndFrameWorksAroundTheOrigin) {
    Scene s;
    s.settings.isrotate = true;
    s.settings.rotatevalue = 1;  // always 0 degrees, still the square layer
    s.settings.isshadow = true;
    s.settings.isframe = true;
    s.settings.framesize = 7;
    s.imaging.AddPicture(s.Shadow(), 10, 10);
    s.random = ListRandom({31999});
    s.Layer(400, 300, 0, 0);
    EXPECT_EQ(s.imaging.Lines("bmp1: rotate"), (Log{"bmp1: rotate 0 prepend"}));
    auto draws = s.imaging.Lines("bmp1: draw");
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_EQ(draws[0], "bmp1: draw bmp2 (-200,-150,414,311) from (-2,-2,416,313)");
    EXPECT_EQ(draws[1], "bmp1: draw bmp3 (-200,-150,400,300) from (-1,-1,401,301)");
    // No extra pixel is given up with rotation.
    EXPECT_EQ(draws[2], "bmp1: draw pic.jpg (-192,-142,384,284) from (-2,-2,402,302)");
    EXPECT_EQ(s.imaging.log.front(), "new bmp1 500x500 argb32");
    EXPECT_EQ(s.imaging.log.back(), "canvas: draw bmp1 (-50,-100,500,500)");
}

TEST(PictureLayer, OddSizesTruncateTowardZero) {
    Scene s;
    s.settings.isrotate = true;
    s.settings.rotatevalue = 90;
    s.Layer(101, 51, 10, 10);  // diagonal 113.1..., half sizes 50 and 25
    EXPECT_EQ(s.imaging.log.front(), "new bmp1 113x113 argb32");
    EXPECT_EQ(s.imaging.Lines("bmp1: draw"),
              (Log{"bmp1: draw pic.jpg (-50,-25,101,51) from (-2,-2,402,302)"}));
    EXPECT_EQ(s.imaging.log.back(), "canvas: draw bmp1 (4,-21,113,113)");
}

TEST(RotationAngle, StaysWithinHalfTheLargestAngleEitherSide) {
    ListRandom r({0, 89, 90, 32767});
    EXPECT_EQ(corv::PickRotationAngle(90, r), -45);
    EXPECT_EQ(corv::PickRotationAngle(90, r), 44);
    EXPECT_EQ(corv::PickRotationAngle(90, r), -45);
    EXPECT_EQ(corv::PickRotationAngle(90, r), 32767 % 90 - 45);
    ListRandom one({12345});
    EXPECT_EQ(corv::PickRotationAngle(1, one), 0);
    EXPECT_EQ(one.calls, 1);
    ListRandom big({44});
    EXPECT_EQ(corv::PickRotationAngle(45, big), 22);
}

TEST(RotationAngle, LargestAngleOfZeroOrLessGivesNoTurnAndNoDivision) {
    ListRandom r({77});
    EXPECT_EQ(corv::PickRotationAngle(0, r), 0);
    EXPECT_EQ(corv::PickRotationAngle(-90, r), 0);
    EXPECT_EQ(r.calls, 0);

    Scene s;
    s.settings.isrotate = true;
    s.settings.rotatevalue = -5;
    s.Layer(400, 300, 0, 0);
    EXPECT_EQ(s.imaging.Lines("bmp1: rotate"), (Log{"bmp1: rotate 0 prepend"}));
    EXPECT_EQ(s.imaging.log.back(), "canvas: draw bmp1 (-50,-100,500,500)");
}

TEST(RotationAngle, LayerSideIsTheTruncatedDiagonalWithoutOverflow) {
    EXPECT_EQ(corv::RotationLayerSide(400, 300), 500);
    EXPECT_EQ(corv::RotationLayerSide(1, 1), 1);
    EXPECT_EQ(corv::RotationLayerSide(3, 3), 4);
    EXPECT_EQ(corv::RotationLayerSide(60000, 80000), 100000);  // squares past 32 bits
}

TEST(PictureLayerBadInput, FrameWiderThanThePictureDrawsNoLineAndNoPicture) {
    Scene s;
    s.settings.isframe = true;
    s.settings.framesize = 200;
    s.Layer(400, 300, 0, 0);
    EXPECT_TRUE(s.imaging.Lines("bmp2: outline").empty());
    EXPECT_TRUE(s.imaging.Lines("bmp1: draw pic.jpg").empty());
    // The band itself still covers the picture's place.
    EXPECT_EQ(s.imaging.Lines("bmp1: draw bmp2"),
              (Log{"bmp1: draw bmp2 (0,0,400,300) from (-1,-1,401,301)"}));

    Scene edge;  // a band that leaves exactly one pixel of picture
    edge.settings.isframe = true;
    edge.settings.framesize = 4;
    edge.Layer(12, 12, 0, 0);
    EXPECT_EQ(edge.imaging.Lines("bmp2: outline"), (Log{"bmp2: outline (4,4,3,3) ff000000"}));
    EXPECT_EQ(edge.imaging.Lines("bmp1: draw pic.jpg"),
              (Log{"bmp1: draw pic.jpg (6,6,1,1) from (0,0,400,300)"}));
}

TEST(PictureLayerBadInput, NegativeFrameSizeCountsAsNoBand) {
    Scene s;
    s.settings.isframe = true;
    s.settings.framesize = -9;
    s.Layer(400, 300, 0, 0);
    EXPECT_EQ(s.imaging.Lines("bmp2: outline"), (Log{"bmp2: outline (0,0,399,299) ff000000"}));
    EXPECT_EQ(s.imaging.Lines("bmp1: draw pic.jpg"),
              (Log{"bmp1: draw pic.jpg (2,2,397,297) from (0,0,400,300)"}));
}

TEST(PictureLayerBadInput, EmptySizeDrawsNothing) {
    Scene s;
    s.settings.isshadow = true;
    s.settings.isrotate = true;
    s.Layer(0, 300, 0, 0);
    s.Layer(400, -1, 0, 0);
    s.Masked(0, 0, 0, 0);
    EXPECT_TRUE(s.imaging.log.empty());
}

TEST(PictureLayerBadInput, UndecodableShadowLeavesTheLayerWideButEmpty) {
    Scene s;
    s.settings.isshadow = true;  // no shadow file registered: it fails to decode
    s.Layer(400, 300, 0, 0);
    EXPECT_EQ(s.imaging.log, (Log{
                                 "new bmp1 414x311 argb32",
                                 "load " + s.Shadow() + " failed",
                                 "bmp1: draw pic.jpg (1,1,399,299) from (0,0,400,300)",
                                 "canvas: draw bmp1 (0,0,414,311)",
                             }));
}

TEST(MaskedPicture, CutsThePictureWithTheChosenMaskAndNeverFramesIt) {
    Scene s;
    s.settings.ismask = true;
    s.settings.isframe = true;
    s.settings.isshadow = true;
    s.settings.maskfilename = "masks/heart.gif";
    s.imaging.AddPicture("masks/heart.gif", 128, 96, 8);
    s.Masked(400, 300, 7, 8);
    EXPECT_EQ(s.imaging.log, (Log{
                                 "new bmp1 400x300 argb32",
                                 "bmp1: draw pic.jpg (0,0,400,300) from (0,0,400,300)",
                                 "load masks/heart.gif 128x96",
                                 "new bmp2 400x300 argb32",
                                 "bmp2: draw masks/heart.gif (0,0,400,300)",
                                 "lock bmp1 (0,0,400,300) argb32 write",
                                 "lock bmp2 (0,0,400,300) argb32 read",
                                 "unlock bmp2",
                                 "unlock bmp1",
                                 "canvas: draw bmp1 (7,8,400,300)",
                             }));
}

TEST(MaskedPicture, RotatedMaskTurnsWithThePictureOnAWhiteGround) {
    Scene s;
    s.settings.isrotate = true;
    s.settings.rotatevalue = 90;
    s.settings.maskfilename = "m.gif";
    s.imaging.AddPicture("m.gif", 50, 40);
    s.random = ListRandom({60});  // 60 - 45 = 15 degrees
    s.Masked(400, 300, 100, 100);
    EXPECT_EQ(s.imaging.log, (Log{
                                 "new bmp1 500x500 argb32",
                                 "bmp1: translate 250 250 append",
                                 "bmp1: rotate 15 prepend",
                                 "bmp1: interpolation bicubic",
                                 "bmp1: draw pic.jpg (-200,-150,400,300) from (0,0,400,300)",
                                 "bmp1: interpolation default",
                                 "load m.gif 50x40",
                                 "new bmp2 500x500 argb32",
                                 "bmp2: clear ffffffff",
                                 "bmp2: translate 250 250 append",
                                 "bmp2: rotate 15 prepend",
                                 "bmp2: draw m.gif (-200,-150,400,300) from (0,0,50,40)",
                                 "lock bmp1 (0,0,500,500) argb32 write",
                                 "lock bmp2 (0,0,500,500) argb32 read",
                                 "unlock bmp2",
                                 "unlock bmp1",
                                 "canvas: draw bmp1 (50,0,500,500)",
                             }));
    EXPECT_EQ(s.random.calls, 1);  // one angle for both layers
}

TEST(MaskedPicture, RandomMaskComesFromTheList) {
    Scene s;
    s.settings.isrndmask = true;
    s.settings.maskfilename = "not-this.gif";
    s.masks = {"a.gif", "b.gif", "c.gif"};
    s.imaging.AddPicture("c.gif", 10, 10);
    s.random = ListRandom({32765});  // 32765 mod 3 = 2
    s.Masked(40, 30, 0, 0);
    EXPECT_EQ(s.imaging.Lines("load"), (Log{"load c.gif 10x10"}));
    EXPECT_EQ(s.imaging.Lines("bmp2: draw"), (Log{"bmp2: draw c.gif (0,0,40,30)"}));
}

TEST(MaskedPictureBadInput, NoMaskFilesDrawsThePictureUnmasked) {
    Scene s;
    s.settings.isrndmask = true;
    s.Masked(40, 30, 1, 2);
    EXPECT_EQ(s.imaging.log, (Log{
                                 "new bmp1 40x30 argb32",
                                 "bmp1: draw pic.jpg (0,0,40,30) from (0,0,400,300)",
                                 "canvas: draw bmp1 (1,2,40,30)",
                             }));
    EXPECT_EQ(s.random.calls, 0);
}

TEST(MaskedPictureBadInput, MaskThatDoesNotDecodeLeavesThePictureWhole) {
    for (bool rotate : {false, true}) {
        SCOPED_TRACE(rotate ? "rotated" : "straight");
        Scene s;
        s.settings.isrotate = rotate;
        s.settings.rotatevalue = 90;
        s.settings.maskfilename = "Masks/broken.gif";  // not registered: fails to decode
        s.Masked(400, 300, 0, 0);
        EXPECT_EQ(s.imaging.Lines("load"), (Log{"load Masks/broken.gif failed"}));
        EXPECT_TRUE(s.imaging.Lines("new bmp2").empty());
        EXPECT_TRUE(s.imaging.Lines("lock").empty());
        EXPECT_EQ(s.imaging.log.back().rfind("canvas: draw bmp1", 0), 0u);
    }
    Scene empty;  // no mask chosen at all
    empty.Masked(40, 30, 0, 0);
    EXPECT_TRUE(empty.imaging.Lines("load").empty());
    EXPECT_EQ(empty.imaging.log.back(), "canvas: draw bmp1 (0,0,40,30)");
}

namespace {

// Fills a 32-bit bitmap's pixel memory through the double's own lock.
void Paint(RecordingImaging& imaging, FakeImage& image, uint8_t b, uint8_t g, uint8_t r,
           uint8_t a) {
    corv::PixelBuffer buf;
    ASSERT_TRUE(imaging.LockBits(image, {0, 0, image.width, image.height},
                                 corv::PixelFormat::Argb32, true, buf));
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            uint8_t* p = buf.scan0 + y * buf.stride + x * 4;
            p[0] = b, p[1] = g, p[2] = r, p[3] = a;
        }
    imaging.UnlockBits(image, buf);
}

uint8_t* Pixel(FakeImage& image, int x, int y) {
    auto& mem = image.pixels[corv::PixelFormat::Argb32];
    const int32_t stride = static_cast<int32_t>(mem.size()) / image.height;
    return mem.data() + y * stride + x * 4;
}

}  // namespace

TEST(MaskAlpha, AlphaIsTheInverseOfTheMasksRedAndColoursStay) {
    RecordingImaging imaging;
    imaging.extraStride = 12;  // rows are not packed
    FakeImage layer("layer", 3, 2, 32);
    FakeImage mask("mask", 3, 2, 32);
    Paint(imaging, layer, 10, 20, 30, 255);
    Paint(imaging, mask, 0, 0, 0, 255);
    Pixel(mask, 0, 0)[2] = 255;                             // white-ish: hidden
    Pixel(mask, 1, 0)[2] = 128;                             // grey: half
    Pixel(mask, 2, 1)[2] = 0, Pixel(mask, 2, 1)[1] = 255;   // green counts as black
    Pixel(mask, 0, 1)[0] = 255, Pixel(mask, 0, 1)[2] = 64;  // only red counts
    corv::ApplyMaskAlpha(imaging, layer, mask);

    EXPECT_EQ(Pixel(layer, 0, 0)[3], 0);
    EXPECT_EQ(Pixel(layer, 1, 0)[3], 127);
    EXPECT_EQ(Pixel(layer, 2, 0)[3], 255);
    EXPECT_EQ(Pixel(layer, 0, 1)[3], 191);
    EXPECT_EQ(Pixel(layer, 1, 1)[3], 255);
    EXPECT_EQ(Pixel(layer, 2, 1)[3], 255);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(Pixel(layer, x, y)[0], 10);
            EXPECT_EQ(Pixel(layer, x, y)[1], 20);
            EXPECT_EQ(Pixel(layer, x, y)[2], 30);
        }
    EXPECT_EQ(Pixel(mask, 1, 0)[2], 128);  // the mask is only read
    EXPECT_EQ(Pixel(mask, 1, 0)[3], 255);
}

TEST(MaskAlpha, DifferentSizesTouchOnlyTheSharedPart) {
    RecordingImaging imaging;
    FakeImage layer("layer", 4, 3, 32);
    FakeImage mask("mask", 2, 5, 32);
    Paint(imaging, layer, 1, 2, 3, 77);
    Paint(imaging, mask, 0, 0, 255, 255);
    imaging.log.clear();
    corv::ApplyMaskAlpha(imaging, layer, mask);
    EXPECT_EQ(imaging.Lines("lock"),
              (Log{"lock layer (0,0,2,3) argb32 write", "lock mask (0,0,2,3) argb32 read"}));
    EXPECT_EQ(Pixel(layer, 1, 2)[3], 0);
    EXPECT_EQ(Pixel(layer, 2, 0)[3], 77);
    EXPECT_EQ(Pixel(layer, 3, 2)[3], 77);
}

TEST(MaskAlpha, FailedLockChangesNothing) {
    RecordingImaging imaging;
    FakeImage layer("layer", 2, 2, 32);
    FakeImage mask("mask", 2, 2, 32);
    Paint(imaging, layer, 1, 2, 3, 77);
    Paint(imaging, mask, 0, 0, 255, 255);
    imaging.failLocks = true;
    corv::ApplyMaskAlpha(imaging, layer, mask);
    EXPECT_EQ(Pixel(layer, 0, 0)[3], 77);
    FakeImage empty("empty", 0, 0, 32);
    corv::ApplyMaskAlpha(imaging, layer, empty);  // no size: nothing to do
    EXPECT_EQ(Pixel(layer, 1, 1)[3], 77);
}

TEST(MaskList, OnlyGifFilesInListingOrder) {
    FakeFolders fs;
    fs.folders["prog/Masks"] = {
        {".", true, false},       {"..", true, false},          {"star.gif", false, false},
        {"sub.gif", true, false}, {"readme.txt", false, false}, {"Heart.GIF", false, false},
        {"a.gifx", false, false}, {"gif", false, false},        {".gif", false, false},
    };
    std::vector<std::string> list{"stale entry"};
    corv::LoadMaskList(fs, "prog/Masks", list);
    EXPECT_EQ(list, (Log{corv::JoinPath("prog/Masks", "star.gif"),
                         corv::JoinPath("prog/Masks", "Heart.GIF"),
                         corv::JoinPath("prog/Masks", ".gif")}));
}

TEST(MaskList, MissingFolderGivesAnEmptyList) {
    FakeFolders fs;
    std::vector<std::string> list{"stale entry"};
    corv::LoadMaskList(fs, "nowhere", list);
    EXPECT_TRUE(list.empty());
}

TEST(MaskList, RandomPickUsesTheRemainderAndCopesWithNoEntries) {
    ListRandom r({7, 0, 32767});
    const std::vector<std::string> list{"a", "b", "c"};
    EXPECT_EQ(corv::PickRandomMask(list, r), "b");
    EXPECT_EQ(corv::PickRandomMask(list, r), "a");
    EXPECT_EQ(corv::PickRandomMask(list, r), "b");  // 32767 mod 3 = 1
    EXPECT_EQ(corv::PickRandomMask({}, r), "");
    EXPECT_EQ(r.calls, 3);
}

// An opaque picture that is not turned goes straight onto the canvas after
// the layer, at the place it has in the layer; the layer keeps only the
// shadow and the frame, and is not made without them. A turned one, and
// one with transparency, stay in the layer.
TEST(PictureLayerOpaque, DrawnStraightOntoTheCanvasUnlessTurned) {
    struct Case {
        const char* name;
        bool shadow, frame, rotate;
        int bpp;
        Log canvasDraws;  // what lands on the canvas, in order
    };
    const Case cases[] = {
        {"plain",
         false,
         false,
         false,
         24,
         {"canvas: draw pic.jpg (31,41,399,299) from (0,0,400,300)"}},
        {"shadow",
         true,
         false,
         false,
         24,
         {"canvas: draw bmp1 (30,40,414,311)",
          "canvas: draw pic.jpg (31,41,399,299) from (0,0,400,300)"}},
        {"frame of 7",
         false,
         true,
         false,
         24,
         {"canvas: draw bmp1 (30,40,400,311)",
          "canvas: draw pic.jpg (39,49,383,283) from (0,0,400,300)"}},
        {"turned", false, false, true, 24, {"canvas: draw bmp1 (-20,-60,500,500)"}},
        {"grey (8 bits) stays in the layer",
         false,
         false,
         false,
         8,
         {"canvas: draw bmp1 (30,40,400,311)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Scene s;
        s.picture.bpp = c.bpp;
        s.settings.isshadow = c.shadow;
        s.settings.isframe = c.frame;
        s.settings.framesize = 7;
        s.settings.isrotate = c.rotate;
        s.settings.rotatevalue = 20;
        s.imaging.AddPicture(s.Shadow(), 64, 64, 32);
        s.Layer(400, 300, 30, 40);
        EXPECT_EQ(s.imaging.Lines("canvas: "), c.canvasDraws);
        // Inside a layer the picture is drawn only when it is not drawn on the canvas.
        const bool direct = !c.rotate && c.bpp == 24;
        EXPECT_EQ(s.imaging.Lines("bmp1: draw pic.jpg").empty(), direct);
    }
}
