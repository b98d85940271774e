// The header checks of WebP and HEIF (AVIF, HEIC) files, on the real files
// of tests/data/formats (made by its make-formats) and on files written
// byte by byte: sizes, turns, the first frame of an animation, the pieces
// of a grid, and broken, cut and huge headers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "compose/exif_orientation.h"
#include "compose/heif_layout.h"
#include "compose/picture_probe.h"
#include "compose/webp_layout.h"
#include "unit/test_util.h"

namespace {

using corv::HeifRead;
using corv::PictureKind;
using corv::ProbeVerdict;
using corv::WebpRead;

const uint8_t* Bytes(const std::string& s) {
    return reinterpret_cast<const uint8_t*>(s.data());
}

corv::PictureProbe Probe(const std::string& bytes) {
    return corv::ProbePicture(Bytes(bytes), bytes.size());
}

std::string Formats(const std::string& name) {
    const char* root = std::getenv("CORV_TEST_DATA");
    EXPECT_NE(root, nullptr) << "CORV_TEST_DATA must name the tests/data folder";
    const std::string bytes =
        corvtest::ReadFile(std::string(root ? root : ".") + "/formats/" + name);
    EXPECT_FALSE(bytes.empty()) << name;
    return bytes;
}

std::string Le(uint32_t v, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
    return out;
}
std::string Be(uint32_t v, int bytes) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
    return out;
}

// --- WebP ---------------------------------------------------------------

std::string Chunk(const std::string& tag, const std::string& payload) {
    std::string out = tag + Le(static_cast<uint32_t>(payload.size()), 4) + payload;
    if (payload.size() % 2) out += '\0';
    return out;
}
std::string Riff(const std::string& chunks) {
    return "RIFF" + Le(static_cast<uint32_t>(4 + chunks.size()), 4) + "WEBP" + chunks;
}
// A lossy key frame header of `w` x `h` (and filler).
std::string Vp8(uint32_t w, uint32_t h) {
    return Chunk("VP8 ", std::string("\x10\x02\x00\x9D\x01\x2A", 6) + Le(w, 2) + Le(h, 2) +
                             std::string(20, '\x55'));
}
std::string Vp8x(uint8_t flags, uint32_t w, uint32_t h) {
    return Chunk("VP8X", std::string(1, static_cast<char>(flags)) + std::string(3, '\0') +
                             Le(w - 1, 3) + Le(h - 1, 3));
}

TEST(WebpLayout, RealFilesOfEveryFlavour) {
    struct Case {
        const char* file;
        bool animated, alpha, lossless;
    };
    for (const Case& c :
         {Case{"lossy.webp", false, false, false}, Case{"lossless.webp", false, false, true},
          Case{"alpha.webp", false, true, false}, Case{"animated.webp", true, true, true}}) {
        SCOPED_TRACE(c.file);
        const std::string bytes = Formats(c.file);
        corv::WebpLayout layout;
        ASSERT_EQ(corv::ReadWebpLayout(Bytes(bytes), bytes.size(), layout), WebpRead::Ok);
        EXPECT_EQ(layout.width, 250);
        EXPECT_EQ(layout.height, 166);
        EXPECT_EQ(layout.animated, c.animated);
        EXPECT_EQ(layout.alpha, c.alpha);
        EXPECT_EQ(layout.lossless, c.lossless);
        EXPECT_EQ(layout.frameWidth, 250);
        EXPECT_LE(layout.imageOffset + layout.imageSize, bytes.size());
        const corv::PictureProbe probe = Probe(bytes);
        EXPECT_EQ(probe.kind, PictureKind::Webp);
        EXPECT_EQ(probe.verdict, ProbeVerdict::Ok);
    }
    // The first frame of this animation is a box on a transparent canvas.
    const std::string offset = Formats("offset-frame.webp");
    corv::WebpLayout layout;
    ASSERT_EQ(corv::ReadWebpLayout(Bytes(offset), offset.size(), layout), WebpRead::Ok);
    EXPECT_EQ(layout.frameX, 50);
    EXPECT_EQ(layout.frameY, 40);
    EXPECT_EQ(layout.frameWidth, 100);
    EXPECT_EQ(layout.frameHeight, 60);
    EXPECT_TRUE(layout.alpha);
    EXPECT_EQ(std::string(offset, layout.imageOffset, 4), "VP8L");
    // A photo stored on its side says so in its EXIF chunk.
    const std::string rotated = Formats("rotated.webp");
    EXPECT_EQ(corv::ReadExifOrientation(Bytes(rotated), rotated.size()), 6);
    const std::string plain = Formats("lossy.webp");
    EXPECT_EQ(corv::ReadExifOrientation(Bytes(plain), plain.size()), 1);
}

TEST(WebpLayout, SizesComeFromTheCanvasAndHugeOnesAreTooLarge) {
    EXPECT_EQ(Probe(Riff(Vp8(640, 480))).width, 640);
    EXPECT_EQ(
        Probe(Riff(Vp8x(0x10, 16383, 16383) + Chunk("ALPH", "xx") + Vp8(16383, 16383))).verdict,
        ProbeVerdict::TooLarge);
    // Lossless: 14 bits of width - 1 and height - 1, then the alpha bit.
    const uint32_t bits = (300 - 1) | (200 - 1) << 14 | 1u << 28;
    const std::string lossless = Riff(Chunk("VP8L", "\x2F" + Le(bits, 4) + "rest"));
    corv::WebpLayout layout;
    ASSERT_EQ(corv::ReadWebpLayout(Bytes(lossless), lossless.size(), layout), WebpRead::Ok);
    EXPECT_EQ(layout.width, 300);
    EXPECT_EQ(layout.height, 200);
    EXPECT_TRUE(layout.alpha);
    // A lossless picture is held whole while it decodes; lossy colour is not.
    EXPECT_EQ(corv::WebpWorkBytes(layout), 300 * 200 * 4);
    const std::string lossy = Riff(Vp8(300, 200));
    ASSERT_EQ(corv::ReadWebpLayout(Bytes(lossy), lossy.size(), layout), WebpRead::Ok);
    EXPECT_EQ(corv::WebpWorkBytes(layout), 0);
    // Bytes after the RIFF data do not count.
    EXPECT_EQ(Probe(Riff(Vp8(64, 48)) + "junk at the end").verdict, ProbeVerdict::Ok);
}

TEST(WebpLayout, BrokenCutAndEmptyFilesAreRefused) {
    const std::string photo = Formats("lossy.webp");
    const std::string animation = Formats("animated.webp");
    struct Case {
        const char* name;
        std::string bytes;
        ProbeVerdict verdict;
    };
    const Case cases[] = {
        {"cut", photo.substr(0, photo.size() / 2), ProbeVerdict::Truncated},
        {"cut animation", animation.substr(0, animation.size() - 10), ProbeVerdict::Truncated},
        {"header only", photo.substr(0, 12), ProbeVerdict::Truncated},
        {"no image chunk", Riff(Vp8x(0, 64, 64) + Chunk("EXIF", "II*")), ProbeVerdict::Malformed},
        {"canvas and image differ", Riff(Vp8x(0, 64, 64) + Vp8(65, 64)), ProbeVerdict::Malformed},
        {"not a key frame", Riff(Chunk("VP8 ", std::string(30, '\x01'))), ProbeVerdict::Malformed},
        {"zero size", Riff(Vp8(0, 100)), ProbeVerdict::Malformed},
        {"chunk past the end", Riff(Chunk("VP8 ", "").substr(0, 4) + Le(1000, 4)),
         ProbeVerdict::Truncated},
        {"frame off the canvas",
         Riff(Vp8x(0x02, 100, 100) + Chunk("ANIM", std::string(6, '\0')) +
              Chunk("ANMF", Le(40, 3) + Le(0, 3) + Le(99, 3) + Le(99, 3) + std::string(4, '\0') +
                                Vp8(100, 100))),
         ProbeVerdict::Malformed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const corv::PictureProbe probe = Probe(c.bytes);
        EXPECT_EQ(probe.kind, PictureKind::Webp);
        EXPECT_EQ(probe.verdict, c.verdict);
    }
    EXPECT_EQ(Probe("").verdict, ProbeVerdict::Unrecognised);
    EXPECT_EQ(Probe("RIFF\x04\0\0\0WAVE").kind, PictureKind::Unknown);
}

// --- HEIF ---------------------------------------------------------------

std::string Box(const std::string& type, const std::string& body) {
    return Be(static_cast<uint32_t>(8 + body.size()), 4) + type + body;
}
std::string FullBox(const std::string& type, uint32_t version, const std::string& body) {
    return Box(type, Be(version << 24, 4) + body);
}

// An HEIF file of one `type` item of w x h whose data lies in its mdat.
std::string Heif(const std::string& brand, const std::string& type, uint32_t w, uint32_t h,
                 const std::string& extra = "") {
    const std::string data(16, '\x42');
    const std::string ipco = Box("ipco", FullBox("ispe", 0, Be(w, 4) + Be(h, 4)) + extra);
    // The item's properties: the size, then the extra ones.
    const std::string links =
        extra.empty() ? std::string("\x01\x01", 2) : std::string("\x03\x01\x02\x03", 4);
    const std::string ipma = FullBox("ipma", 0, Be(1, 4) + Be(1, 2) + links);
    const std::string iinf =
        FullBox("iinf", 0, Be(1, 2) + FullBox("infe", 2, Be(1, 2) + Be(0, 2) + type + "name\0"));
    auto meta = [&](uint32_t offset) {
        const std::string iloc =
            FullBox("iloc", 0,
                    std::string("\x44\x00", 2) + Be(1, 2) + Be(1, 2) + Be(0, 2) + Be(1, 2) +
                        Be(offset, 4) + Be(static_cast<uint32_t>(data.size()), 4));
        return FullBox("meta", 0,
                       FullBox("hdlr", 0, Be(0, 4) + "pict" + std::string(13, '\0')) +
                           FullBox("pitm", 0, Be(1, 2)) + iloc + iinf + Box("iprp", ipco + ipma));
    };
    const std::string ftyp = Box("ftyp", brand + Be(0, 4) + "mif1" + brand);
    // The data's offset depends on the meta box's size, which does not.
    const std::size_t at = ftyp.size() + meta(0).size() + 8;
    return ftyp + meta(static_cast<uint32_t>(at)) + Box("mdat", data);
}

TEST(HeifLayout, RealFilesOfEveryFlavour) {
    struct Case {
        const char* file;
        PictureKind kind;
        int width, height, orientation, tiles;
        bool alpha;
    };
    const Case cases[] = {
        {"8bit.avif", PictureKind::Avif, 250, 166, 1, 1, false},
        {"10bit.avif", PictureKind::Avif, 250, 166, 1, 1, false},
        {"alpha.avif", PictureKind::Avif, 250, 166, 1, 1, true},
        {"grid.avif", PictureKind::Avif, 256, 160, 1, 4, false},
        {"rotated.avif", PictureKind::Avif, 166, 250, 8, 1, false},
        {"mirrored.avif", PictureKind::Avif, 166, 250, 7, 1, false},
        {"photo.heic", PictureKind::Heic, 250, 166, 1, 1, false},
        {"alpha.heic", PictureKind::Heic, 250, 166, 1, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string bytes = Formats(c.file);
        const corv::PictureProbe probe = Probe(bytes);
        EXPECT_EQ(probe.kind, c.kind);
        EXPECT_EQ(probe.verdict, ProbeVerdict::Ok);
        corv::HeifLayout layout;
        ASSERT_EQ(corv::ReadHeifLayout(Bytes(bytes), bytes.size(), layout), HeifRead::Ok);
        EXPECT_EQ(layout.width, c.width);
        EXPECT_EQ(layout.height, c.height);
        EXPECT_EQ(layout.orientation, c.orientation);
        EXPECT_EQ(layout.tiles.size(), static_cast<std::size_t>(c.tiles));
        EXPECT_EQ(layout.haveAlpha, c.alpha);
        for (const corv::HeifCoded& tile : layout.tiles)
            for (const corv::HeifRange& piece : tile.data)
                EXPECT_LE(piece.offset + piece.size, bytes.size());
    }
    corv::HeifLayout grid;
    const std::string bytes = Formats("grid.avif");
    ASSERT_EQ(corv::ReadHeifLayout(Bytes(bytes), bytes.size(), grid), HeifRead::Ok);
    EXPECT_EQ(grid.gridColumns, 2);
    EXPECT_EQ(grid.gridRows, 2);
    EXPECT_EQ(grid.tiles[0].width, 128);
    EXPECT_EQ(grid.tiles[0].height, 80);
}

TEST(HeifLayout, ByteBuiltFilesAndTheirFaults) {
    const std::string avif = Heif("avif", "av01", 640, 480);
    corv::HeifLayout layout;
    ASSERT_EQ(corv::ReadHeifLayout(Bytes(avif), avif.size(), layout), HeifRead::Ok);
    EXPECT_EQ(layout.codec, corv::HeifCodec::Av1);
    ASSERT_EQ(layout.tiles.size(), 1u);
    ASSERT_EQ(layout.tiles[0].data.size(), 1u);
    EXPECT_EQ(avif.substr(layout.tiles[0].data[0].offset, 16), std::string(16, '\x42'));
    EXPECT_EQ(Probe(Heif("heic", "hvc1", 4032, 3024)).kind, PictureKind::Heic);
    EXPECT_EQ(Probe(Heif("heic", "hvc1", 4032, 3024)).width, 4032);

    struct Case {
        const char* name;
        std::string bytes;
        ProbeVerdict verdict;
    };
    const Case cases[] = {
        {"65535 x 65535", Heif("avif", "av01", 65535, 65535), ProbeVerdict::TooLarge},
        {"cut in its data", avif.substr(0, avif.size() - 4), ProbeVerdict::Truncated},
        {"cut in its boxes", avif.substr(0, 60), ProbeVerdict::Truncated},
        {"no size", Heif("avif", "av01", 0, 480), ProbeVerdict::Malformed},
        {"a codec we lack", Heif("heic", "jpeg", 640, 480), ProbeVerdict::Malformed},
        {"no meta box", Box("ftyp", "heic" + Be(0, 4) + "mif1") + Box("mdat", "x"),
         ProbeVerdict::Malformed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Probe(c.bytes).verdict, c.verdict);
    }
    // Other files that start with a type box are not pictures.
    EXPECT_EQ(Probe(Box("ftyp", "isom" + Be(0, 4) + "mp41") + Box("mdat", "x")).kind,
              PictureKind::Unknown);
}

// A phone's kind of HEIC: the primary item is a grid of two 64 x 64 tiles,
// its description in the idat box (location version 1, construction method
// 1), the tiles' data in the mdat.
std::string PhoneGrid(uint32_t outputWidth) {
    const std::string tiles(32, '\x24');
    const std::string grid = std::string("\x00\x00\x00\x01", 4) + Be(outputWidth, 2) + Be(64, 2);
    const std::string ipco = Box("ipco", FullBox("ispe", 0, Be(outputWidth, 4) + Be(64, 4)) +
                                             FullBox("ispe", 0, Be(64, 4) + Be(64, 4)));
    const std::string ipma =
        FullBox("ipma", 0,
                Be(3, 4) + Be(1, 2) + std::string("\x01\x01", 2) + Be(2, 2) +
                    std::string("\x01\x02", 2) + Be(3, 2) + std::string("\x01\x02", 2));
    auto infe = [](uint32_t id, const std::string& type) {
        return FullBox("infe", 2, Be(id, 2) + Be(0, 2) + type + std::string(1, '\0'));
    };
    const std::string iinf =
        FullBox("iinf", 0, Be(3, 2) + infe(1, "grid") + infe(2, "hvc1") + infe(3, "hvc1"));
    const std::string iref =
        FullBox("iref", 0, Box("dimg", Be(1, 2) + Be(2, 2) + Be(2, 2) + Be(3, 2)));
    auto meta = [&](uint32_t at) {
        auto entry = [](uint32_t id, uint32_t method, uint32_t offset, uint32_t length) {
            return Be(id, 2) + Be(method, 2) + Be(0, 2) + Be(1, 2) + Be(offset, 4) + Be(length, 4);
        };
        const std::string iloc = FullBox("iloc", 1,
                                         std::string("\x44\x00", 2) + Be(3, 2) +
                                             entry(1, 1, 0, static_cast<uint32_t>(grid.size())) +
                                             entry(2, 0, at, 16) + entry(3, 0, at + 16, 16));
        return FullBox("meta", 0,
                       FullBox("hdlr", 0, Be(0, 4) + "pict" + std::string(13, '\0')) +
                           FullBox("pitm", 0, Be(1, 2)) + iloc + iinf + iref +
                           Box("iprp", ipco + ipma) + Box("idat", grid));
    };
    const std::string ftyp = Box("ftyp", "heic" + Be(0, 4) + "mif1heic");
    const std::size_t at = ftyp.size() + meta(0).size() + 8;
    return ftyp + meta(static_cast<uint32_t>(at)) + Box("mdat", tiles);
}

TEST(HeifLayout, PhoneGridsWithTheirDescriptionInIdat) {
    const std::string heic = PhoneGrid(128);
    corv::HeifLayout layout;
    ASSERT_EQ(corv::ReadHeifLayout(Bytes(heic), heic.size(), layout), HeifRead::Ok);
    EXPECT_EQ(layout.codec, corv::HeifCodec::Hevc);
    EXPECT_EQ(layout.width, 128);
    EXPECT_EQ(layout.height, 64);
    EXPECT_EQ(layout.gridColumns, 2);
    EXPECT_EQ(layout.gridRows, 1);
    ASSERT_EQ(layout.tiles.size(), 2u);
    EXPECT_EQ(layout.tiles[1].data[0].offset, layout.tiles[0].data[0].offset + 16);
    EXPECT_EQ(Probe(heic).kind, PictureKind::Heic);
    EXPECT_EQ(Probe(heic).verdict, ProbeVerdict::Ok);
    // Two 64-pixel tiles cannot make 129 pixels, nor need both for 64.
    EXPECT_EQ(Probe(PhoneGrid(129)).verdict, ProbeVerdict::Malformed);
    EXPECT_EQ(Probe(PhoneGrid(64)).verdict, ProbeVerdict::Malformed);
    EXPECT_EQ(Probe(PhoneGrid(100)).verdict, ProbeVerdict::Ok);  // the last column is cut
}

TEST(HeifLayout, RotationThenMirrorGiveTheEightOrientations) {
    // Quarter turns anticlockwise; mirror -1 none, 0 top-bottom, 1 left-right.
    const int expected[4][3] = {{1, 4, 2}, {8, 5, 7}, {3, 2, 4}, {6, 7, 5}};
    for (int turns = 0; turns < 4; ++turns)
        for (int mirror = -1; mirror <= 1; ++mirror)
            EXPECT_EQ(corv::HeifOrientation(turns, mirror), expected[turns][mirror + 1])
                << turns << " " << mirror;
    // The rotation and mirror boxes of a byte-built file.
    const std::string turned =
        Heif("avif", "av01", 64, 48, Box("irot", "\x03") + Box("imir", std::string("\x00", 1)));
    corv::HeifLayout layout;
    ASSERT_EQ(corv::ReadHeifLayout(Bytes(turned), turned.size(), layout), HeifRead::Ok);
    EXPECT_EQ(layout.orientation, 7);  // a quarter clockwise, then top and bottom exchanged
}

TEST(HeifLayout, DecodedPlanesAreCountedAtTheirLargest) {
    EXPECT_EQ(corv::HeifWorkBytes(6000, 4000, 8, false), 72000000);
    EXPECT_EQ(corv::HeifWorkBytes(6000, 4000, 10, true), 192000000);
    EXPECT_EQ(corv::HeifWorkBytes(0, 4000, 8, false), 0);
}

}  // namespace
