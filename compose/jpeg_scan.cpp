#include "compose/jpeg_scan.h"

#include <vector>

namespace corv {

namespace {

// One Huffman table as the file defines it: codes by length, canonical.
struct HuffmanTable {
    bool defined = false;
    uint8_t counts[17] = {};
    std::vector<uint8_t> symbols;
};

struct Component {
    uint32_t id = 0;
    uint32_t h = 1;
    uint32_t v = 1;
    bool covered = false;  // all its blocks were in a whole scan
};

struct Frame {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<Component> components;
    uint32_t hMax = 1;
    uint32_t vMax = 1;
};

uint32_t CeilDiv(uint32_t a, uint32_t b) {
    return (a + b - 1) / b;
}

// Bits of the entropy-coded data: stuffed FF 00 pairs give FF, any other
// marker ends the data.
class BitReader {
public:
    BitReader(const uint8_t* data, std::size_t size, std::size_t at)
        : data_(data), size_(size), at_(at) {}

    // The next bit, or -1 when the data has ended.
    int Bit() {
        if (bitsLeft_ == 0) {
            if (at_ >= size_) return -1;
            const uint8_t byte = data_[at_];
            if (byte == 0xFF) {
                if (at_ + 1 >= size_ || data_[at_ + 1] != 0x00) return -1;  // a marker
                at_ += 2;
            } else {
                ++at_;
            }
            current_ = byte;
            bitsLeft_ = 8;
        }
        --bitsLeft_;
        return (current_ >> bitsLeft_) & 1;
    }
    bool Skip(uint32_t count) {
        for (uint32_t i = 0; i < count; ++i)
            if (Bit() < 0) return false;
        return true;
    }
    // Drops the rest of the byte and reads an expected restart marker.
    bool Restart() {
        bitsLeft_ = 0;
        while (at_ + 1 < size_ && data_[at_] == 0xFF && data_[at_ + 1] == 0xFF) ++at_;
        if (at_ + 1 >= size_ || data_[at_] != 0xFF || data_[at_ + 1] < 0xD0 ||
            data_[at_ + 1] > 0xD7)
            return false;
        at_ += 2;
        return true;
    }
    // Where the next marker after the data starts.
    std::size_t EndOfData() {
        bitsLeft_ = 0;
        for (;;) {
            if (at_ + 1 >= size_) return size_;
            if (data_[at_] == 0xFF && data_[at_ + 1] != 0x00 &&
                !(data_[at_ + 1] >= 0xD0 && data_[at_ + 1] <= 0xD7) && data_[at_ + 1] != 0xFF)
                return at_;
            at_ += data_[at_] == 0xFF ? 2 : 1;
        }
    }

private:
    const uint8_t* data_;
    std::size_t size_;
    std::size_t at_;
    uint8_t current_ = 0;
    int bitsLeft_ = 0;
};

// The next symbol of `table`; -1 when the data ends or no code matches.
int Decode(BitReader& bits, const HuffmanTable& table) {
    int32_t code = 0;
    int32_t first = 0;
    int32_t index = 0;
    for (int length = 1; length <= 16; ++length) {
        const int bit = bits.Bit();
        if (bit < 0) return -1;
        code = code << 1 | bit;
        const int32_t count = table.counts[length];
        if (code - first < count) {
            const std::size_t at = static_cast<std::size_t>(index + code - first);
            return at < table.symbols.size() ? table.symbols[at] : -1;
        }
        index += count;
        first = (first + count) << 1;
    }
    return -1;
}

// One 8 x 8 block: a DC difference and up to 63 AC coefficients.
bool SkipBlock(BitReader& bits, const HuffmanTable& dc, const HuffmanTable& ac) {
    const int size = Decode(bits, dc);
    if (size < 0 || size > 16 || !bits.Skip(static_cast<uint32_t>(size))) return false;
    for (int k = 1; k < 64;) {
        const int rs = Decode(bits, ac);
        if (rs < 0) return false;
        const int run = rs >> 4;
        const int bitCount = rs & 15;
        if (bitCount == 0) {
            if (run != 15) return true;  // end of block
            k += 16;
            continue;
        }
        k += run;
        if (k > 63 || !bits.Skip(static_cast<uint32_t>(bitCount))) return false;
        ++k;
    }
    return true;
}

struct ScanComponent {
    Component* component;
    const HuffmanTable* dc;
    const HuffmanTable* ac;
};

// Walks one scan from `at`; true when every one of its blocks is there.
// `end` is then where the data ends.
bool WalkScan(const uint8_t* data, std::size_t size, std::size_t at, const Frame& frame,
              const std::vector<ScanComponent>& scan, uint32_t restartInterval, std::size_t& end) {
    BitReader bits(data, size, at);
    uint64_t units;  // MCUs of the scan
    if (scan.size() == 1) {
        const Component& c = *scan[0].component;
        units = uint64_t{CeilDiv(CeilDiv(frame.width * c.h, frame.hMax), 8)} *
                CeilDiv(CeilDiv(frame.height * c.v, frame.vMax), 8);
    } else {
        units =
            uint64_t{CeilDiv(frame.width, 8 * frame.hMax)} * CeilDiv(frame.height, 8 * frame.vMax);
    }
    for (uint64_t unit = 0; unit < units; ++unit) {
        if (restartInterval != 0 && unit != 0 && unit % restartInterval == 0 && !bits.Restart())
            return false;
        for (const ScanComponent& s : scan) {
            const uint32_t blocks = scan.size() == 1 ? 1 : s.component->h * s.component->v;
            for (uint32_t b = 0; b < blocks; ++b)
                if (!SkipBlock(bits, *s.dc, *s.ac)) return false;
        }
    }
    end = bits.EndOfData();
    return true;
}

uint32_t Be16(const uint8_t* p) {
    return uint32_t{p[0]} << 8 | p[1];
}

}  // namespace

bool JpegScansComplete(const uint8_t* data, std::size_t size) {
    if (data == nullptr || size < 4 || data[0] != 0xFF || data[1] != 0xD8) return false;
    HuffmanTable tables[2][4];
    Frame frame;
    bool sawFrame = false;
    uint32_t restartInterval = 0;
    std::size_t at = 2;
    for (;;) {
        while (at + 1 < size && data[at] == 0xFF && data[at + 1] == 0xFF) ++at;  // fill bytes
        if (at + 4 > size || data[at] != 0xFF) break;
        const uint32_t marker = data[at + 1];
        if (marker == 0xD9) break;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {
            at += 2;
            continue;
        }
        const uint32_t length = Be16(data + at + 2);
        if (length < 2 || at + 2 + length > size) return false;
        const uint8_t* body = data + at + 4;
        const uint32_t bodyLength = length - 2;
        if (marker == 0xC4) {  // Huffman tables, one or more
            uint32_t p = 0;
            while (p < bodyLength) {
                if (p + 17 > bodyLength) return false;
                const uint32_t cls = body[p] >> 4;
                const uint32_t id = body[p] & 15;
                if (cls > 1 || id > 3) return false;
                HuffmanTable& table = tables[cls][id];
                uint32_t total = 0;
                for (int i = 1; i <= 16; ++i) total += table.counts[i] = body[p + i];
                p += 17;
                if (total > 256 || p + total > bodyLength) return false;
                table.symbols.assign(body + p, body + p + total);
                table.defined = true;
                p += total;
            }
        } else if (marker == 0xC0 || marker == 0xC1) {
            if (sawFrame || bodyLength < 6) return false;
            frame.height = Be16(body + 1);
            frame.width = Be16(body + 3);
            const uint32_t count = body[5];
            if (count < 1 || count > 4 || bodyLength < 6 + 3 * count || frame.width == 0 ||
                frame.height == 0)
                return false;
            for (uint32_t i = 0; i < count; ++i) {
                Component c;
                c.id = body[6 + 3 * i];
                c.h = body[7 + 3 * i] >> 4;
                c.v = body[7 + 3 * i] & 15;
                if (c.h < 1 || c.h > 4 || c.v < 1 || c.v > 4) return false;
                if (c.h > frame.hMax) frame.hMax = c.h;
                if (c.v > frame.vMax) frame.vMax = c.v;
                frame.components.push_back(c);
            }
            sawFrame = true;
        } else if (marker >= 0xC2 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
                   marker != 0xCC) {
            return false;  // progressive, lossless or arithmetic: not walked
        } else if (marker == 0xDD) {
            if (bodyLength < 2) return false;
            restartInterval = Be16(body);
        } else if (marker == 0xDA) {
            if (!sawFrame || bodyLength < 1) return false;
            const uint32_t count = body[0];
            if (count < 1 || count > 4 || bodyLength < 1 + 2 * count + 3) return false;
            std::vector<ScanComponent> scan;
            for (uint32_t i = 0; i < count; ++i) {
                const uint32_t id = body[1 + 2 * i];
                const uint32_t dc = body[2 + 2 * i] >> 4;
                const uint32_t ac = body[2 + 2 * i] & 15;
                Component* component = nullptr;
                for (Component& c : frame.components)
                    if (c.id == id) component = &c;
                if (component == nullptr || dc > 3 || ac > 3 || !tables[0][dc].defined ||
                    !tables[1][ac].defined)
                    return false;
                scan.push_back(ScanComponent{component, &tables[0][dc], &tables[1][ac]});
            }
            std::size_t end = size;
            if (!WalkScan(data, size, at + 2 + length, frame, scan, restartInterval, end))
                return false;
            for (ScanComponent& s : scan) s.component->covered = true;
            at = end;
            continue;
        }
        at += 2 + length;
    }
    if (!sawFrame) return false;
    for (const Component& c : frame.components)
        if (!c.covered) return false;
    return true;
}

}  // namespace corv
