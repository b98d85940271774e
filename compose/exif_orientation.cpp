#include "compose/exif_orientation.h"

#include <cstring>

#include "compose/webp_layout.h"

namespace corv {

namespace {

constexpr uint32_t kOrientationTag = 0x0112;
constexpr uint32_t kTypeShort = 3;

// Reads inside [data, data + size); every read past the end gives 0 and
// clears `ok`.
struct Reader {
    const uint8_t* data;
    std::size_t size;
    bool bigEndian = false;
    bool ok = true;

    bool Has(std::size_t at, std::size_t count) const { return at <= size && count <= size - at; }
    uint32_t Be16(std::size_t at) {
        if (!Has(at, 2)) return Fail();
        return uint32_t{data[at]} << 8 | data[at + 1];
    }
    uint32_t U16(std::size_t at) {
        if (!Has(at, 2)) return Fail();
        return bigEndian ? uint32_t{data[at]} << 8 | data[at + 1]
                         : uint32_t{data[at + 1]} << 8 | data[at];
    }
    uint32_t U32(std::size_t at) {
        if (!Has(at, 4)) return Fail();
        const uint32_t a = U16(at);
        const uint32_t b = U16(at + 2);
        return bigEndian ? a << 16 | b : b << 16 | a;
    }
    uint32_t Fail() {
        ok = false;
        return 0;
    }
};

// The tag in the first directory of the TIFF structure at `tiff`, `length`
// bytes long.
int OrientationInTiff(const uint8_t* tiff, std::size_t length) {
    Reader in{tiff, length};
    if (in.Has(0, 4) && std::memcmp(tiff, "MM\0*", 4) == 0)
        in.bigEndian = true;
    else if (!in.Has(0, 4) || std::memcmp(tiff, "II*\0", 4) != 0)
        return kOrientNormal;
    const std::size_t directory = in.U32(4);
    const uint32_t entries = in.U16(directory);
    if (!in.ok) return kOrientNormal;
    for (uint32_t i = 0; i < entries; ++i) {
        const std::size_t entry = directory + 2 + std::size_t{12} * i;
        const uint32_t tag = in.U16(entry);
        if (!in.ok) return kOrientNormal;
        if (tag != kOrientationTag) continue;
        const uint32_t type = in.U16(entry + 2);
        const uint32_t count = in.U32(entry + 4);
        const uint32_t value = in.U16(entry + 8);  // a short sits left in the field
        if (!in.ok || type != kTypeShort || count != 1 || value < kOrientNormal ||
            value > kOrientRotate270)
            return kOrientNormal;
        return static_cast<int>(value);
    }
    return kOrientNormal;
}

}  // namespace

namespace {

// A WebP file's EXIF chunk holds the TIFF structure, after "Exif\0\0" as
// some writers put it.
int OrientationInWebp(const uint8_t* data, std::size_t size) {
    WebpLayout layout;
    if (ReadWebpLayout(data, size, layout) != WebpRead::Ok || layout.exifSize == 0)
        return kOrientNormal;
    const uint8_t* exif = data + layout.exifOffset;
    std::size_t length = layout.exifSize;
    if (length >= 6 && std::memcmp(exif, "Exif\0\0", 6) == 0) {
        exif += 6;
        length -= 6;
    }
    return OrientationInTiff(exif, length);
}

}  // namespace

int ReadExifOrientation(const uint8_t* data, std::size_t size) {
    if (data == nullptr) return kOrientNormal;
    if (size >= 12 && std::memcmp(data, "RIFF", 4) == 0) return OrientationInWebp(data, size);
    Reader in{data, size, true};
    if (in.Be16(0) != 0xFFD8) return kOrientNormal;
    // Marker segments up to the first scan; the EXIF block is an APP1
    // segment that starts "Exif\0\0", followed by a TIFF structure.
    std::size_t at = 2;
    for (;;) {
        if (!in.Has(at, 4) || data[at] != 0xFF) return kOrientNormal;
        const uint32_t marker = data[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) return kOrientNormal;  // image data: no EXIF
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {  // no length
            at += 2;
            continue;
        }
        const std::size_t length = in.Be16(at + 2);
        if (length < 2 || !in.Has(at + 2, length)) return kOrientNormal;
        const std::size_t body = at + 4;
        const std::size_t bodyLength = length - 2;
        if (marker == 0xE1 && bodyLength >= 6 && std::memcmp(data + body, "Exif\0\0", 6) == 0)
            return OrientationInTiff(data + body + 6, bodyLength - 6);
        at += 2 + length;
    }
}

}  // namespace corv
