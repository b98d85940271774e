// The orientation tag read from a JPEG's EXIF block, in both byte orders,
// and every way a block can be missing, odd or broken.
#include "compose/exif_orientation.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string U16(uint32_t v, bool big) {
    return big ? std::string{static_cast<char>(v >> 8), static_cast<char>(v & 0xFF)}
               : std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}
std::string U32(uint32_t v, bool big) {
    return big ? U16(v >> 16, true) + U16(v & 0xFFFF, true)
               : U16(v & 0xFFFF, false) + U16(v >> 16, false);
}

// A TIFF structure whose first directory holds one more tag before the
// orientation, which has the given type, count and value.
std::string Tiff(bool big, uint32_t value, uint32_t type = 3, uint32_t count = 1) {
    std::string out = big ? std::string("MM\0*", 4) : std::string("II*\0", 4);
    out += U32(8, big) + U16(2, big);
    out += U16(0x010F, big) + U16(2, big) + U32(4, big) + std::string("Cam", 4);  // make
    out += U16(0x0112, big) + U16(type, big) + U32(count, big) + U16(value, big) + U16(0, big);
    return out + U32(0, big);
}

std::string Segment(uint8_t marker, const std::string& body) {
    return std::string("\xFF") + static_cast<char>(marker) + U16(body.size() + 2, true) + body;
}

// SOI, a JFIF block, the EXIF block (when given), then the start of a scan.
std::string Jpeg(const std::string& exifBody) {
    std::string out("\xFF\xD8", 2);
    out += Segment(0xE0, std::string("JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 14));
    if (!exifBody.empty()) out += Segment(0xE1, exifBody);
    out += Segment(0xDA, std::string("\x01\x01\x00\x00\x3F\x00", 6)) + "\x12\x34\xFF\xD9";
    return out;
}

int Read(const std::string& bytes) {
    return corv::ReadExifOrientation(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

const std::string kExif("Exif\0\0", 6);

TEST(ExifOrientation, EveryValueInBothByteOrders) {
    for (bool big : {false, true})
        for (uint32_t value = 1; value <= 8; ++value)
            EXPECT_EQ(Read(Jpeg(kExif + Tiff(big, value))), static_cast<int>(value))
                << (big ? "MM " : "II ") << value;
}

TEST(ExifOrientation, AnythingElseCountsAsUpright) {
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"no EXIF block", Jpeg("")},
        {"value 0", Jpeg(kExif + Tiff(false, 0))},
        {"value 9", Jpeg(kExif + Tiff(true, 9))},
        {"a long instead of a short", Jpeg(kExif + Tiff(false, 6, 4))},
        {"two values", Jpeg(kExif + Tiff(false, 6, 3, 2))},
        {"APP1 that is not EXIF", Jpeg("http://ns.adobe.com/xap/1.0/" + Tiff(false, 6))},
        {"no TIFF header", Jpeg(kExif + "XX*\0" + Tiff(false, 6).substr(4))},
        {"cut inside the directory", Jpeg(kExif + Tiff(false, 6).substr(0, 24))},
        {"directory past the end", Jpeg(kExif + "II*\0" + U32(0xFFFFFFF0u, false))},
        {"not a JPEG", kExif + Tiff(false, 6)},
        {"empty", ""},
        {"cut segment length", std::string("\xFF\xD8\xFF\xE1\x40", 5)},
        {"block after the image data", Jpeg("") + Segment(0xE1, kExif + Tiff(false, 6))},
    };
    for (const auto& c : cases) EXPECT_EQ(Read(c.bytes), corv::kOrientNormal) << c.what;
    EXPECT_EQ(corv::ReadExifOrientation(nullptr, 10), corv::kOrientNormal);
}

TEST(ExifOrientation, SidesSwapForTheQuarterTurns) {
    for (int value = 1; value <= 8; ++value)
        EXPECT_EQ(corv::OrientationSwapsSides(value), value >= 5) << value;
}

}  // namespace
