#include "compose/picture_probe.h"

#include <cstring>

#include "compose/heif_layout.h"
#include "compose/jpeg_scan.h"
#include "compose/webp_layout.h"

namespace corv {

namespace {

// Bounds-checked reads of little- and big-endian numbers; a read past the end
// gives `ok` = false and 0.
class Bytes {
public:
    Bytes(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t Size() const { return size_; }
    const uint8_t* Data() const { return data_; }
    bool Has(std::size_t offset, std::size_t count) const {
        return offset <= size_ && count <= size_ - offset;
    }
    uint32_t Byte(std::size_t at) { return Has(at, 1) ? data_[at] : Fail(); }
    uint32_t Le16(std::size_t at) {
        return Has(at, 2) ? uint32_t{data_[at]} | uint32_t{data_[at + 1]} << 8 : Fail();
    }
    uint32_t Le32(std::size_t at) { return Has(at, 4) ? Le16(at) | Le16(at + 2) << 16 : Fail(); }
    uint32_t Be16(std::size_t at) {
        return Has(at, 2) ? uint32_t{data_[at]} << 8 | uint32_t{data_[at + 1]} : Fail();
    }
    uint32_t Be32(std::size_t at) { return Has(at, 4) ? Be16(at) << 16 | Be16(at + 2) : Fail(); }
    bool Matches(std::size_t at, const char* text, std::size_t count) const {
        return Has(at, count) && std::memcmp(data_ + at, text, count) == 0;
    }
    // Position of the first `a`, `b` pair at or after `from`, or npos.
    std::size_t FindPair(std::size_t from, uint8_t a, uint8_t b) const {
        for (std::size_t i = from; i + 1 < size_; ++i)
            if (data_[i] == a && data_[i + 1] == b) return i;
        return npos;
    }

    bool ok = true;
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

private:
    uint32_t Fail() {
        ok = false;
        return 0;
    }
    const uint8_t* data_;
    std::size_t size_;
};

PictureProbe Verdict(PictureKind kind, ProbeVerdict verdict, int64_t width = 0,
                     int64_t height = 0) {
    PictureProbe probe;
    probe.kind = kind;
    probe.verdict = verdict;
    probe.width = width;
    probe.height = height;
    return probe;
}

// The size checks every format shares, once the file's structure is sound.
PictureProbe Sized(PictureKind kind, int64_t width, int64_t height) {
    if (width <= 0 || height <= 0) return Verdict(kind, ProbeVerdict::Malformed, width, height);
    if (width > kMaxPicturePixels / height)
        return Verdict(kind, ProbeVerdict::TooLarge, width, height);
    return Verdict(kind, ProbeVerdict::Ok, width, height);
}

// Chunks from the signature to IEND; IHDR first, at least one IDAT.
PictureProbe ProbePng(Bytes& in) {
    const PictureKind kind = PictureKind::Png;
    if (in.Be32(8) != 13 || !in.Matches(12, "IHDR", 4)) {
        return Verdict(kind, in.ok ? ProbeVerdict::Malformed : ProbeVerdict::Truncated);
    }
    const int64_t width = in.Be32(16);
    const int64_t height = in.Be32(20);
    if (!in.ok) return Verdict(kind, ProbeVerdict::Truncated);
    if (width > 0x7FFFFFFF || height > 0x7FFFFFFF)
        return Verdict(kind, ProbeVerdict::Malformed, width, height);
    bool sawData = false;
    std::size_t at = 8;
    for (;;) {
        const uint32_t length = in.Be32(at);
        if (!in.ok) return Verdict(kind, ProbeVerdict::Truncated, width, height);
        if (length > 0x7FFFFFFF) return Verdict(kind, ProbeVerdict::Malformed, width, height);
        // Length, type, data and CRC must all be there.
        if (!in.Has(at, std::size_t{12} + length))
            return Verdict(kind, ProbeVerdict::Truncated, width, height);
        if (in.Matches(at + 4, "IDAT", 4)) sawData = true;
        if (in.Matches(at + 4, "IEND", 4)) break;
        at += std::size_t{12} + length;
    }
    if (!sawData) return Verdict(kind, ProbeVerdict::Malformed, width, height);
    return Sized(kind, width, height);
}

bool IsStartOfFrame(uint32_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Marker segments up to the first scan; the frame header gives the size.
// An end-of-image marker follows the scan data, or else every block of the
// picture must be there: a file that only lacks the marker is whole, one cut
// inside its image data is not.
PictureProbe ProbeJpeg(Bytes& in) {
    const PictureKind kind = PictureKind::Jpeg;
    int64_t width = 0;
    int64_t height = 0;
    bool sawFrame = false;
    std::size_t at = 2;
    for (;;) {
        if (in.Byte(at) != 0xFF)
            return Verdict(kind, in.ok ? ProbeVerdict::Malformed : ProbeVerdict::Truncated);
        while (in.Byte(at + 1) == 0xFF) ++at;  // fill bytes
        const uint32_t marker = in.Byte(at + 1);
        if (!in.ok) return Verdict(kind, ProbeVerdict::Truncated);
        at += 2;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
        if (marker == 0xD8 || marker == 0xD9 || marker == 0x00)
            return Verdict(kind, ProbeVerdict::Malformed);  // no image before the end
        const uint32_t length = in.Be16(at);
        if (!in.ok || !in.Has(at, length)) return Verdict(kind, ProbeVerdict::Truncated);
        if (length < 2) return Verdict(kind, ProbeVerdict::Malformed);
        if (IsStartOfFrame(marker) && !sawFrame) {
            if (length < 8) return Verdict(kind, ProbeVerdict::Malformed);
            height = in.Be16(at + 3);
            width = in.Be16(at + 5);
            sawFrame = true;
        }
        if (marker == 0xDA) {
            if (!sawFrame) return Verdict(kind, ProbeVerdict::Malformed);
            // Inside scan data a 0xFF byte is always followed by 0x00 or a
            // restart marker, so the first FF D9 is the end of the image.
            if (in.FindPair(at + length, 0xFF, 0xD9) != Bytes::npos)
                return Sized(kind, width, height);
            PictureProbe sized = Sized(kind, width, height);
            if (sized.verdict != ProbeVerdict::Ok) return sized;
            if (!JpegScansComplete(in.Data(), in.Size()))
                return Verdict(kind, ProbeVerdict::Truncated, width, height);
            sized.endMarkerMissing = true;
            return sized;
        }
        at += length;
    }
}

// Skips a chain of GIF data sub-blocks; false when the file ends inside it.
bool SkipSubBlocks(Bytes& in, std::size_t& at) {
    for (;;) {
        const uint32_t count = in.Byte(at);
        if (!in.ok) return false;
        ++at;
        if (count == 0) return true;
        at += count;
    }
}

// Header and logical screen, then blocks up to the end of the first image.
PictureProbe ProbeGif(Bytes& in) {
    const PictureKind kind = PictureKind::Gif;
    const int64_t width = in.Le16(6);
    const int64_t height = in.Le16(8);
    const uint32_t flags = in.Byte(10);
    if (!in.ok) return Verdict(kind, ProbeVerdict::Truncated);
    std::size_t at = 13;
    if (flags & 0x80) at += std::size_t{3} << ((flags & 7) + 1);  // global colour table
    for (;;) {
        const uint32_t block = in.Byte(at);
        if (!in.ok) return Verdict(kind, ProbeVerdict::Truncated, width, height);
        if (block == 0x21) {  // extension: label, then sub-blocks
            at += 2;
            if (!SkipSubBlocks(in, at))
                return Verdict(kind, ProbeVerdict::Truncated, width, height);
        } else if (block == 0x2C) {  // image descriptor
            const uint32_t imageFlags = in.Byte(at + 9);
            at += 10;
            if (imageFlags & 0x80) at += std::size_t{3} << ((imageFlags & 7) + 1);
            at += 1;  // LZW code size
            if (!in.ok || !SkipSubBlocks(in, at))
                return Verdict(kind, ProbeVerdict::Truncated, width, height);
            return Sized(kind, width, height);
        } else {  // the trailer, or garbage, before any image
            return Verdict(kind, ProbeVerdict::Malformed, width, height);
        }
    }
}

// File header and info header; uncompressed rows must all be present.
PictureProbe ProbeBmp(Bytes& in) {
    const PictureKind kind = PictureKind::Bmp;
    const uint32_t dataOffset = in.Le32(10);
    const uint32_t headerSize = in.Le32(14);
    if (!in.ok) return Verdict(kind, ProbeVerdict::Truncated);
    int64_t width = 0;
    int64_t height = 0;
    uint32_t bitCount = 0;
    uint32_t compression = 0;
    if (headerSize == 12) {
        width = in.Le16(18);
        height = in.Le16(20);
        bitCount = in.Le16(24);
    } else if (headerSize >= 40) {
        width = static_cast<int32_t>(in.Le32(18));
        height = static_cast<int32_t>(in.Le32(22));
        bitCount = in.Le16(28);
        compression = in.Le32(30);
        if (height < 0) height = -height;  // top-down rows
    } else {
        return Verdict(kind, ProbeVerdict::Malformed);
    }
    if (!in.ok) return Verdict(kind, ProbeVerdict::Truncated);
    const bool knownDepth = bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 ||
                            bitCount == 24 || bitCount == 32;
    if (!knownDepth) return Verdict(kind, ProbeVerdict::Malformed, width, height);
    PictureProbe sized = Sized(kind, width, height);
    if (sized.verdict != ProbeVerdict::Ok) return sized;
    const bool plainRows = compression == 0 || compression == 3;  // BI_RGB, BI_BITFIELDS
    if (plainRows) {
        const uint64_t rowBytes = (static_cast<uint64_t>(width) * bitCount + 31) / 32 * 4;
        const uint64_t end = dataOffset + rowBytes * static_cast<uint64_t>(height);
        if (end > in.Size()) return Verdict(kind, ProbeVerdict::Truncated, width, height);
    }
    return sized;
}

// The first image file directory's width and length tags.
PictureProbe ProbeTiff(Bytes& in, bool bigEndian) {
    const PictureKind kind = PictureKind::Tiff;
    auto u16 = [&](std::size_t at) { return bigEndian ? in.Be16(at) : in.Le16(at); };
    auto u32 = [&](std::size_t at) { return bigEndian ? in.Be32(at) : in.Le32(at); };
    const std::size_t directory = u32(4);
    const uint32_t entries = u16(directory);
    if (!in.ok || !in.Has(directory + 2, std::size_t{12} * entries))
        return Verdict(kind, ProbeVerdict::Truncated);
    int64_t width = 0;
    int64_t height = 0;
    for (uint32_t i = 0; i < entries; ++i) {
        const std::size_t entry = directory + 2 + std::size_t{12} * i;
        const uint32_t tag = u16(entry);
        const uint32_t type = u16(entry + 2);
        if (tag != 256 && tag != 257) continue;
        int64_t value = 0;
        if (type == 3)
            value = u16(entry + 8);
        else if (type == 4)
            value = u32(entry + 8);
        (tag == 256 ? width : height) = value;
    }
    return Sized(kind, width, height);
}

// The chunks up to the end of the RIFF data; the canvas gives the size.
PictureProbe ProbeWebp(const uint8_t* data, std::size_t size) {
    const PictureKind kind = PictureKind::Webp;
    WebpLayout layout;
    switch (ReadWebpLayout(data, size, layout)) {
        case WebpRead::Ok:
            return Sized(kind, layout.width, layout.height);
        case WebpRead::Truncated:
            return Verdict(kind, ProbeVerdict::Truncated);
        default:
            return Verdict(kind, ProbeVerdict::Malformed);
    }
}

// The boxes of the file; the primary picture's codec tells AVIF from HEIC,
// its spatial extent gives the size.
PictureProbe ProbeHeif(const uint8_t* data, std::size_t size) {
    HeifLayout layout;
    switch (ReadHeifLayout(data, size, layout)) {
        case HeifRead::Ok:
            return Sized(layout.codec == HeifCodec::Av1 ? PictureKind::Avif : PictureKind::Heic,
                         layout.width, layout.height);
        case HeifRead::Truncated:
            return Verdict(PictureKind::Heic, ProbeVerdict::Truncated);
        case HeifRead::Malformed:
            return Verdict(PictureKind::Heic, ProbeVerdict::Malformed);
        default:
            return PictureProbe();
    }
}

}  // namespace

PictureProbe ProbePicture(const uint8_t* data, std::size_t size) {
    if (data == nullptr || size == 0) return PictureProbe();
    Bytes in(data, size);
    if (in.Matches(0, "\x89PNG\r\n\x1a\n", 8)) return ProbePng(in);
    if (in.Matches(0, "\xFF\xD8", 2)) return ProbeJpeg(in);
    if (in.Matches(0, "GIF87a", 6) || in.Matches(0, "GIF89a", 6)) return ProbeGif(in);
    if (in.Matches(0, "BM", 2)) return ProbeBmp(in);
    if (in.Matches(0, "II*\0", 4)) return ProbeTiff(in, false);
    if (in.Matches(0, "MM\0*", 4)) return ProbeTiff(in, true);
    if (in.Matches(0, "RIFF", 4) && in.Matches(8, "WEBP", 4)) return ProbeWebp(data, size);
    if (in.Matches(4, "ftyp", 4)) return ProbeHeif(data, size);
    return PictureProbe();
}

bool ReadPlainBmp(const uint8_t* head, std::size_t headSize, uint64_t fileSize, PlainBmp& out) {
    if (head == nullptr || headSize < 54 || head[0] != 'B' || head[1] != 'M') return false;
    auto le = [head](std::size_t at, int bytes) {
        uint32_t value = 0;
        for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | head[at + i];
        return value;
    };
    const uint32_t dataOffset = le(10, 4);
    const uint32_t headerSize = le(14, 4);
    const int64_t width = static_cast<int32_t>(le(18, 4));
    const int64_t height = static_cast<int32_t>(le(22, 4));
    if (headerSize < 40 || headerSize > 124 || le(26, 2) != 1 || le(28, 2) != 24 ||
        le(30, 4) != 0 || width <= 0 || height == 0 || dataOffset < 14 + headerSize)
        return false;
    const int64_t rows = height < 0 ? -height : height;
    if (width > kMaxPicturePixels / rows) return false;
    const uint64_t rowBytes = (static_cast<uint64_t>(width) * 3 + 3) & ~uint64_t{3};
    if (dataOffset + rowBytes * static_cast<uint64_t>(rows) > fileSize) return false;
    out.width = static_cast<int32_t>(width);
    out.height = static_cast<int32_t>(rows);
    out.topDown = height < 0;
    out.dataOffset = dataOffset;
    out.rowBytes = static_cast<uint32_t>(rowBytes);
    return true;
}

}  // namespace corv
