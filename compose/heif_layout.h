// The boxes of an HEIF file (HEIC and AVIF pictures share the format): which
// codec its primary picture is coded with, the size and turn its header
// gives, and where the coded data of the picture (or of each tile of a grid)
// and of its alpha plane lie. Read from the bytes before a decoder sees them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace corv {

enum class HeifRead {
    Ok,
    NotHeif,    // no "ftyp" box of a HEIF picture brand
    Malformed,  // broken boxes, no primary picture, no size, another codec
    Truncated,  // the file ends inside a box or an item's data
};

enum class HeifCodec { Hevc, Av1 };

// Bytes of the file.
struct HeifRange {
    std::size_t offset = 0;
    std::size_t size = 0;
};

// One coded picture: its data (one or more pieces, to be joined in order),
// its codec configuration box's payload and its size.
struct HeifCoded {
    std::vector<HeifRange> data;
    HeifRange config;
    int32_t width = 0;
    int32_t height = 0;
};

struct HeifLayout {
    HeifCodec codec = HeifCodec::Hevc;
    // The primary picture's stored size (before the turn).
    int64_t width = 0;
    int64_t height = 0;
    // How the stored picture must be turned (rotation, then mirror boxes),
    // as an EXIF orientation value (1 to 8).
    int orientation = 1;
    // The colour description box, when the file has one ("nclx").
    bool haveColour = false;
    int matrix = 2;
    bool fullRange = false;
    // A grid: tiles of equal size, row by row, cut to width x height; a
    // single picture has one tile and no grid.
    int32_t gridRows = 0;
    int32_t gridColumns = 0;
    std::vector<HeifCoded> tiles;
    // The alpha plane of a single (not grid) picture, coded as a grey one.
    bool haveAlpha = false;
    HeifCoded alpha;
};

// Reads the layout of the HEIF file in `data`; `out` is filled only for Ok.
HeifRead ReadHeifLayout(const uint8_t* data, std::size_t size, HeifLayout& out);

// The orientation value for a rotation box's angle (quarter turns
// anticlockwise, 0 to 3) followed by a mirror box's mode (-1 for none, 0
// top and bottom exchanged, 1 left and right).
int HeifOrientation(int quarterTurns, int mirror);

// The memory of a picture's decoded planes, which are whole before they
// are reduced: every plane counted at full size (the largest chroma
// layout), 2 bytes a sample above 8 bits, alpha as one more plane.
int64_t HeifWorkBytes(int64_t width, int64_t height, int bitsPerSample, bool alpha);

}  // namespace corv
