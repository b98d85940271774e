// The HEIF box reader (AVIF and HEIC): any bytes get an answer; an accepted
// file's picture has a size, a grid has all its tiles, the turn is one of
// the eight, and every piece of coded data lies inside the file.
#include <cstddef>
#include <cstdint>

#include "compose/heif_layout.h"
#include "fuzz_check.h"

namespace {

void CheckCoded(const corv::HeifCoded& coded, std::size_t size) {
    FUZZ_CHECK(coded.width > 0 && coded.height > 0);
    FUZZ_CHECK(!coded.data.empty());
    for (const corv::HeifRange& piece : coded.data)
        FUZZ_CHECK(piece.size > 0 && piece.offset <= size && piece.size <= size - piece.offset);
    FUZZ_CHECK(coded.config.offset <= size && coded.config.size <= size - coded.config.offset);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    corv::HeifLayout layout;
    if (corv::ReadHeifLayout(data, size, layout) != corv::HeifRead::Ok) return 0;
    FUZZ_CHECK(layout.width > 0 && layout.height > 0);
    FUZZ_CHECK(layout.orientation >= 1 && layout.orientation <= 8);
    FUZZ_CHECK(!layout.tiles.empty());
    if (layout.gridRows > 0) {
        FUZZ_CHECK(layout.tiles.size() == static_cast<std::size_t>(layout.gridRows) *
                                              static_cast<std::size_t>(layout.gridColumns));
        FUZZ_CHECK(int64_t{layout.tiles[0].width} * layout.gridColumns >= layout.width);
        FUZZ_CHECK(int64_t{layout.tiles[0].height} * layout.gridRows >= layout.height);
    } else {
        FUZZ_CHECK(layout.tiles.size() == 1);
    }
    for (const corv::HeifCoded& tile : layout.tiles) {
        CheckCoded(tile, size);
        FUZZ_CHECK(tile.width == layout.tiles[0].width && tile.height == layout.tiles[0].height);
    }
    if (layout.haveAlpha) CheckCoded(layout.alpha, size);
    return 0;
}
