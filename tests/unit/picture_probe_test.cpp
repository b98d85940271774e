// The header check that runs before any picture is decoded: formats, sizes,
// the pixel limit, and files that end too early.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "compose/exif_orientation.h"
#include "compose/picture_probe.h"
#include "support/picture_bytes.h"
#include "unit/test_util.h"

namespace {

using corv::PictureKind;
using corv::ProbePicture;
using corv::ProbeVerdict;

corv::PictureProbe Probe(const std::string& bytes) {
    return ProbePicture(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

std::string Le16(uint32_t v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}
std::string Le32(uint32_t v) {
    return Le16(v & 0xFFFF) + Le16(v >> 16);
}
std::string Be16(uint32_t v) {
    return {static_cast<char>(v >> 8), static_cast<char>(v & 0xFF)};
}
std::string Be32(uint32_t v) {
    return Be16(v >> 16) + Be16(v & 0xFFFF);
}

// Marker segment: FF, marker, length (counting itself), payload.
std::string Segment(uint8_t marker, const std::string& payload) {
    return std::string("\xFF") + static_cast<char>(marker) + Be16(payload.size() + 2) + payload;
}

// The structure of a baseline JPEG; the entropy data is filler with a
// stuffed FF 00 and a restart marker, as real scans have.
std::string Jpeg(uint32_t width, uint32_t height, uint8_t frame = 0xC0, bool withEnd = true) {
    const std::string sof =
        std::string("\x08") + Be16(height) + Be16(width) + std::string("\x01\x01\x11\x00", 4);
    std::string out("\xFF\xD8", 2);
    out += Segment(0xE0, std::string("JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 14));
    out += Segment(frame, sof);
    out += Segment(0xC4, std::string(20, '\x01'));
    out += Segment(0xDA, std::string("\x01\x01\x00\x00\x3F\x00", 6));
    out += std::string("\x12\x34\xFF\x00\x56\xFF\xD0\x78", 8);
    if (withEnd) out += "\xFF\xD9";
    return out;
}

// GIF with a global colour table, a graphic control extension and one image.
std::string Gif(uint32_t width, uint32_t height) {
    std::string out = "GIF89a" + Le16(width) + Le16(height) + std::string("\x80\x00\x00", 3);
    out += std::string(6, '\0');                                // two colours
    out += std::string("\x21\xF9\x04\x01\x00\x00\x00\x00", 8);  // extension
    out += "\x2C" + Le16(0) + Le16(0) + Le16(width) + Le16(height) + '\0';
    out += std::string("\x02\x02\x44\x01\x00", 5);  // LZW data
    out += '\x3B';
    return out;
}

// An uncompressed bottom-up BMP with the given depth.
std::string Bmp(int32_t width, int32_t height, uint16_t bits = 24, uint32_t compression = 0) {
    const uint32_t rowBytes = (static_cast<uint32_t>(width) * bits + 31) / 32 * 4;
    const uint32_t rows = static_cast<uint32_t>(height < 0 ? -height : height);
    const std::string pixels(rowBytes * rows, '\x7F');
    std::string out = "BM" + Le32(54 + pixels.size()) + Le32(0) + Le32(54);
    out += Le32(40) + Le32(width) + Le32(height) + Le16(1) + Le16(bits) + Le32(compression);
    out += Le32(pixels.size()) + Le32(2835) + Le32(2835) + Le32(0) + Le32(0);
    return out + pixels;
}

// A TIFF header and first directory with width and length tags.
std::string Tiff(bool bigEndian, uint32_t width, uint32_t height, uint16_t type = 4) {
    auto u16 = [&](uint32_t v) { return bigEndian ? Be16(v) : Le16(v); };
    auto u32 = [&](uint32_t v) { return bigEndian ? Be32(v) : Le32(v); };
    auto value = [&](uint32_t v) { return type == 3 ? u16(v) + u16(0) : u32(v); };
    std::string out = bigEndian ? std::string("MM\0*", 4) : std::string("II*\0", 4);
    out += u32(8) + u16(3);
    out += u16(256) + u16(type) + u32(1) + value(width);
    out += u16(257) + u16(type) + u32(1) + value(height);
    out += u16(259) + u16(3) + u32(1) + u16(1) + u16(0);  // no compression
    return out + u32(0);
}

// A PNG whose header claims any size, with only a token of image data.
std::string PngHeader(uint32_t width, uint32_t height) {
    return std::string("\x89PNG\r\n\x1a\n", 8) +
           corvtest::PngChunk("IHDR",
                              Be32(width) + Be32(height) + std::string("\x08\x02\x00\x00\x00", 5)) +
           corvtest::PngChunk("IDAT", "x") + corvtest::PngChunk("IEND", "");
}

void ExpectProbe(const std::string& bytes, PictureKind kind, ProbeVerdict verdict,
                 int64_t width = -1, int64_t height = -1) {
    const corv::PictureProbe probe = Probe(bytes);
    EXPECT_EQ(probe.kind, kind);
    EXPECT_EQ(probe.verdict, verdict);
    if (width >= 0) {
        EXPECT_EQ(probe.width, width);
    }
    if (height >= 0) {
        EXPECT_EQ(probe.height, height);
    }
}

TEST(PictureProbe, AcceptsEachFormatWithItsSize) {
    ExpectProbe(corvtest::PngBytes(300, 200), PictureKind::Png, ProbeVerdict::Ok, 300, 200);
    ExpectProbe(Jpeg(6000, 4000), PictureKind::Jpeg, ProbeVerdict::Ok, 6000, 4000);
    ExpectProbe(Jpeg(640, 480, 0xC2), PictureKind::Jpeg, ProbeVerdict::Ok, 640,
                480);  // progressive
    ExpectProbe(Gif(10, 20), PictureKind::Gif, ProbeVerdict::Ok, 10, 20);
    ExpectProbe(Bmp(37, 23), PictureKind::Bmp, ProbeVerdict::Ok, 37, 23);
    ExpectProbe(Bmp(5, -4, 32), PictureKind::Bmp, ProbeVerdict::Ok, 5, 4);  // top-down rows
    ExpectProbe(Bmp(9, 3, 1), PictureKind::Bmp, ProbeVerdict::Ok, 9, 3);
    ExpectProbe(Tiff(false, 800, 600), PictureKind::Tiff, ProbeVerdict::Ok, 800, 600);
    ExpectProbe(Tiff(true, 800, 600, 3), PictureKind::Tiff, ProbeVerdict::Ok, 800, 600);
}

TEST(PictureProbe, JpegMarkersAreWalkedNotSearched) {
    // Fill bytes before a marker are allowed.
    std::string filled = Jpeg(64, 32);
    filled.insert(2, "\xFF\xFF");
    ExpectProbe(filled, PictureKind::Jpeg, ProbeVerdict::Ok, 64, 32);
    // A Huffman table segment (C4) looks like a frame marker but is none.
    std::string tableFirst("\xFF\xD8", 2);
    tableFirst += Segment(0xC4, Be16(9999) + Be16(9999) + std::string(16, '\0'));
    ExpectProbe(tableFirst + Jpeg(64, 32).substr(2), PictureKind::Jpeg, ProbeVerdict::Ok, 64, 32);
    // A scan before any frame header, a frame of height 0.
    std::string scanFirst("\xFF\xD8", 2);
    scanFirst += Segment(0xDA, std::string(6, '\0')) + "\xFF\xD9";
    ExpectProbe(scanFirst, PictureKind::Jpeg, ProbeVerdict::Malformed);
    ExpectProbe(Jpeg(64, 0), PictureKind::Jpeg, ProbeVerdict::Malformed);
    ExpectProbe(std::string("\xFF\xD8\xFF\xD9", 4), PictureKind::Jpeg, ProbeVerdict::Malformed);
}

TEST(PictureProbe, FilesThatEndEarlyAreTruncated) {
    const std::string png = corvtest::PngBytes(300, 200);
    ExpectProbe(png.substr(0, png.size() - 12), PictureKind::Png, ProbeVerdict::Truncated);  // IEND
    ExpectProbe(png.substr(0, png.size() / 2), PictureKind::Png, ProbeVerdict::Truncated);
    ExpectProbe(png.substr(0, 20), PictureKind::Png, ProbeVerdict::Truncated);  // inside IHDR
    ExpectProbe(png.substr(0, 10), PictureKind::Png, ProbeVerdict::Truncated);
    ExpectProbe(Jpeg(64, 32, 0xC0, false), PictureKind::Jpeg, ProbeVerdict::Truncated);
    const std::string jpeg = Jpeg(64, 32);
    ExpectProbe(jpeg.substr(0, 30), PictureKind::Jpeg, ProbeVerdict::Truncated);  // in a segment
    const std::string gif = Gif(10, 20);
    ExpectProbe(gif.substr(0, gif.size() - 3), PictureKind::Gif, ProbeVerdict::Truncated);
    ExpectProbe(gif.substr(0, 12), PictureKind::Gif, ProbeVerdict::Truncated);
    const std::string bmp = Bmp(37, 23);
    ExpectProbe(bmp.substr(0, bmp.size() - 1), PictureKind::Bmp, ProbeVerdict::Truncated);
    ExpectProbe(bmp.substr(0, 20), PictureKind::Bmp, ProbeVerdict::Truncated);
    // Compressed rows are not counted: an RLE picture may be short.
    ExpectProbe(Bmp(37, 23, 8, 1).substr(0, 80), PictureKind::Bmp, ProbeVerdict::Ok);
    const std::string tiff = Tiff(false, 800, 600);
    ExpectProbe(tiff.substr(0, 20), PictureKind::Tiff, ProbeVerdict::Truncated);
}

TEST(PictureProbe, MalformedHeadersAreRefused) {
    // PNG without image data, with a chunk length past 2^31, with IHDR not first.
    const std::string signature("\x89PNG\r\n\x1a\n", 8);
    const std::string ihdr =
        corvtest::PngChunk("IHDR", Be32(10) + Be32(10) + std::string("\x08\x02\x00\x00\x00", 5));
    ExpectProbe(signature + ihdr + corvtest::PngChunk("IEND", ""), PictureKind::Png,
                ProbeVerdict::Malformed);
    ExpectProbe(signature + ihdr + Be32(0x80000000u) + "IDAT", PictureKind::Png,
                ProbeVerdict::Malformed);
    ExpectProbe(signature + corvtest::PngChunk("gAMA", Be32(45455)) + ihdr, PictureKind::Png,
                ProbeVerdict::Malformed);
    ExpectProbe(corvtest::PngBytes(0, 10), PictureKind::Png, ProbeVerdict::Malformed);
    // GIF whose first block is the trailer, BMP with an unknown depth or
    // header size, TIFF without a length tag.
    ExpectProbe("GIF87a" + Le16(4) + Le16(4) + std::string("\0\0\0\x3B", 4), PictureKind::Gif,
                ProbeVerdict::Malformed);
    ExpectProbe(Bmp(4, 4, 7), PictureKind::Bmp, ProbeVerdict::Malformed);
    std::string oddHeader = Bmp(4, 4);
    oddHeader.replace(14, 4, Le32(20));
    ExpectProbe(oddHeader, PictureKind::Bmp, ProbeVerdict::Malformed);
    ExpectProbe(Bmp(0, 4), PictureKind::Bmp, ProbeVerdict::Malformed);
    std::string noLength = Tiff(false, 800, 600);
    noLength.replace(10 + 12, 2, Le16(999));  // the length tag becomes an unknown one
    ExpectProbe(noLength, PictureKind::Tiff, ProbeVerdict::Malformed);
}

TEST(PictureProbe, PixelLimitAllowsCameraPicturesAndRefusesHugeOnes) {
    EXPECT_EQ(corv::kMaxPicturePixels, 8192 * 8192);
    ExpectProbe(corvtest::PngBytes(8192, 8192), PictureKind::Png, ProbeVerdict::Ok);
    ExpectProbe(corvtest::PngBytes(8192, 8193), PictureKind::Png, ProbeVerdict::TooLarge);
    ExpectProbe(PngHeader(30000, 30000), PictureKind::Png, ProbeVerdict::TooLarge, 30000, 30000);
    ExpectProbe(PngHeader(0x7FFFFFFF, 1), PictureKind::Png, ProbeVerdict::TooLarge);
    ExpectProbe(PngHeader(0x80000000u, 1), PictureKind::Png, ProbeVerdict::Malformed);
    ExpectProbe(Jpeg(65535, 65535), PictureKind::Jpeg, ProbeVerdict::TooLarge);
    ExpectProbe(Gif(65535, 65535), PictureKind::Gif, ProbeVerdict::TooLarge);
    ExpectProbe(Tiff(false, 100000, 100000), PictureKind::Tiff, ProbeVerdict::TooLarge);
    // A BMP header may claim any size; the row check must not overflow first.
    std::string bmp = Bmp(4, 4);
    bmp.replace(18, 8, Le32(0x7FFFFFFF) + Le32(0x80000000u));
    ExpectProbe(bmp, PictureKind::Bmp, ProbeVerdict::TooLarge);
}

// Real pictures from tests/data/pictures (made by its make-pictures script);
// empty when the folder is not known.
std::string TestPicture(const std::string& name) {
    const char* testData = std::getenv("CORV_TEST_DATA");
    if (testData == nullptr) return std::string();
    return corvtest::ReadFile(std::string(testData) + "/pictures/" + name);
}

// Where the first scan's image data starts.
std::size_t ScanDataStart(const std::string& jpeg) {
    const std::size_t sos = jpeg.find("\xFF\xDA");
    return sos + 2 +
           (static_cast<uint8_t>(jpeg[sos + 2]) << 8 | static_cast<uint8_t>(jpeg[sos + 3]));
}

// A JPEG whose only fault is the missing end marker is whole; cut anywhere
// inside its image data it is not. Baseline files of every usual kind:
// colour with and without subsampling, grey, and restart markers.
TEST(PictureProbeRealJpeg, MissingEndMarkerAloneIsAccepted) {
    if (std::getenv("CORV_TEST_DATA") == nullptr) GTEST_SKIP() << "CORV_TEST_DATA is not set";
    for (const char* name : {"photo-420.jpg", "photo-444.jpg", "gray.jpg", "restart.jpg"}) {
        const std::string whole = TestPicture(name);
        ASSERT_GT(whole.size(), 100u) << name;
        ASSERT_EQ(whole.substr(whole.size() - 2), "\xFF\xD9") << name;
        EXPECT_EQ(Probe(whole).verdict, ProbeVerdict::Ok) << name;
        EXPECT_FALSE(Probe(whole).endMarkerMissing) << name;
        const corv::PictureProbe noEnd = Probe(whole.substr(0, whole.size() - 2));
        EXPECT_EQ(noEnd.verdict, ProbeVerdict::Ok) << name;
        EXPECT_TRUE(noEnd.endMarkerMissing) << name;
        EXPECT_EQ(Probe(whole.substr(0, whole.size() - 1)).verdict, ProbeVerdict::Ok) << name;
        // Every cut inside the image data, down to the scan header.
        const std::size_t data = ScanDataStart(whole);
        for (std::size_t cut = data; cut + 2 < whole.size(); ++cut)
            EXPECT_EQ(Probe(whole.substr(0, cut)).verdict, ProbeVerdict::Truncated)
                << name << " cut at " << cut << " of " << whole.size();
    }
}

// A progressive file is not walked: without its end marker it stays
// refused, as it may lack its later scans.
TEST(PictureProbeRealJpeg, ProgressiveWithoutEndMarkerIsRefused) {
    if (std::getenv("CORV_TEST_DATA") == nullptr) GTEST_SKIP() << "CORV_TEST_DATA is not set";
    const std::string whole = TestPicture("progressive.jpg");
    ASSERT_GT(whole.size(), 100u);
    EXPECT_EQ(Probe(whole).verdict, ProbeVerdict::Ok);
    EXPECT_EQ(Probe(whole.substr(0, whole.size() - 2)).verdict, ProbeVerdict::Truncated);
}

// The real files of every format pass, and a phone photo's orientation is
// read from its EXIF block.
TEST(PictureProbeRealJpeg, RealFilesPassAndPhoneOrientationIsRead) {
    if (std::getenv("CORV_TEST_DATA") == nullptr) GTEST_SKIP() << "CORV_TEST_DATA is not set";
    for (const char* name : {"phone.jpg", "small.png", "small.gif", "small.bmp", "small.tif"})
        EXPECT_EQ(Probe(TestPicture(name)).verdict, ProbeVerdict::Ok) << name;
    const std::string phone = TestPicture("phone.jpg");
    EXPECT_EQ(
        corv::ReadExifOrientation(reinterpret_cast<const uint8_t*>(phone.data()), phone.size()),
        corv::kOrientRotate90);
    const std::string plain = TestPicture("photo-420.jpg");
    EXPECT_EQ(
        corv::ReadExifOrientation(reinterpret_cast<const uint8_t*>(plain.data()), plain.size()),
        corv::kOrientNormal);
}

TEST(PictureProbe, OtherFilesAreUnrecognised) {
    for (const std::string& bytes :
         {std::string(), std::string("This is not a picture.\r\n"), std::string("\x89PN", 3),
          std::string("\0\0\1\0\1\0", 6) /* an icon */, std::string("BM", 2) + "xx"}) {
        const corv::PictureProbe probe = Probe(bytes);
        EXPECT_NE(probe.verdict, ProbeVerdict::Ok);
        if (bytes.substr(0, 2) != "BM") {
            EXPECT_EQ(probe.kind, PictureKind::Unknown);
        }
    }
    EXPECT_EQ(ProbePicture(nullptr, 10).verdict, ProbeVerdict::Unrecognised);
}

TEST(PlainBmp, OnlyWholeUncompressed24BitFilesAreReadRowByRow) {
    std::string smallOffset = Bmp(4, 4);
    smallOffset[10] = 40;  // rows said to start inside the info header
    std::string coreHeader = Bmp(4, 4);
    coreHeader[14] = 12;
    struct Case {
        const char* what;
        std::string file;
        bool plain;
        int32_t width, height;
        bool topDown;
        uint32_t rowBytes;
    } cases[] = {
        {"odd width, padded rows", Bmp(37, 23), true, 37, 23, false, 112},
        {"top-down rows", Bmp(5, -4), true, 5, 4, true, 16},
        {"32 bits", Bmp(5, 4, 32), false, 0, 0, false, 0},
        {"bit fields", Bmp(5, 4, 24, 3), false, 0, 0, false, 0},
        {"run-length coded", Bmp(5, 4, 8, 1), false, 0, 0, false, 0},
        {"last row cut", Bmp(37, 23).substr(0, 54 + 112 * 23 - 1), false, 0, 0, false, 0},
        {"rows inside the header", smallOffset, false, 0, 0, false, 0},
        {"old core header", coreHeader, false, 0, 0, false, 0},
        {"no width", Bmp(0, 4), false, 0, 0, false, 0},
        {"not a BMP", std::string(60, 'x'), false, 0, 0, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        corv::PlainBmp bmp;
        const auto* bytes = reinterpret_cast<const uint8_t*>(c.file.data());
        EXPECT_EQ(
            corv::ReadPlainBmp(bytes, std::min<std::size_t>(c.file.size(), 64), c.file.size(), bmp),
            c.plain);
        if (!c.plain) continue;
        EXPECT_EQ(bmp.width, c.width);
        EXPECT_EQ(bmp.height, c.height);
        EXPECT_EQ(bmp.topDown, c.topDown);
        EXPECT_EQ(bmp.rowBytes, c.rowBytes);
        EXPECT_EQ(bmp.dataOffset, 54u);
    }
    // A header that claims more pixels than any picture may have, in a file
    // that would be large enough.
    std::string huge = Bmp(4, 4);
    huge.replace(18, 8, Le32(20000) + Le32(20000));
    corv::PlainBmp bmp;
    EXPECT_FALSE(corv::ReadPlainBmp(reinterpret_cast<const uint8_t*>(huge.data()), 54,
                                    uint64_t{1} << 40, bmp));
}

}  // namespace
