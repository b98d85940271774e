// Picture files written byte by byte, for loader tests that need pictures
// of any size (a real 30000 x 30000 PNG takes 17 MB this way).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvtest {

inline void PutBe32(std::string& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFF);
}

inline uint32_t Crc32(const std::string& bytes) {
    static const std::vector<uint32_t> table = [] {
        std::vector<uint32_t> t(256);
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
            t[n] = c;
        }
        return t;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : bytes) crc = table[(crc ^ c) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

// One chunk: length, type, data, CRC over type and data.
inline std::string PngChunk(const std::string& type, const std::string& data) {
    std::string out;
    PutBe32(out, static_cast<uint32_t>(data.size()));
    out += type + data;
    PutBe32(out, Crc32(type + data));
    return out;
}

// A zlib stream of `count` zero bytes: one fixed-Huffman block of a literal
// zero and then copies of 258 bytes at distance 1 (13 bits each), so even
// gigabytes of zeros take only megabytes.
inline std::string ZlibZeros(uint64_t count) {
    std::string out("\x78\x01", 2);
    uint64_t bits = 0;
    int used = 0;
    auto put = [&](uint32_t value, int width) {  // least significant bit first
        bits |= uint64_t{value} << used;
        used += width;
        while (used >= 8) {
            out += static_cast<char>(bits & 0xFF);
            bits >>= 8;
            used -= 8;
        }
    };
    // Huffman codes go most significant bit first: these are reversed.
    const uint32_t literalZero = 0x0C;  // 00110000
    const uint32_t length258 = 0xA3;    // 11000101, then distance code 00000
    put(1, 1);                          // final block
    put(1, 2);                          // fixed codes
    uint64_t left = count;
    if (left > 0) {
        put(literalZero, 8);
        --left;
    }
    for (; left >= 258; left -= 258) put(length258, 13);
    for (; left > 0; --left) put(literalZero, 8);
    put(0, 7);  // end of block
    if (used > 0) put(0, 8 - used);
    PutBe32(out, static_cast<uint32_t>(count % 65521) << 16 | 1);  // Adler-32 of zeros
    return out;
}

// A complete 8-bit RGB PNG of black pixels, decodable at any size.
inline std::string PngBytes(uint32_t width, uint32_t height) {
    std::string header;
    PutBe32(header, width);
    PutBe32(header, height);
    header += std::string("\x08\x02\x00\x00\x00", 5);  // depth 8, RGB, no interlace
    const uint64_t rows = uint64_t{height} * (1 + uint64_t{width} * 3);  // filter byte + pixels
    return std::string("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", header) +
           PngChunk("IDAT", ZlibZeros(rows)) + PngChunk("IEND", "");
}

}  // namespace corvtest
