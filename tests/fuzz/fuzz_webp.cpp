// The WebP chunk reader: any bytes get an answer; an accepted file's canvas
// has a size, its first frame lies on the canvas, and every piece it points
// to lies inside the file.
#include <cstddef>
#include <cstdint>

#include "compose/exif_orientation.h"
#include "compose/webp_layout.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    corv::WebpLayout layout;
    if (corv::ReadWebpLayout(data, size, layout) == corv::WebpRead::Ok) {
        FUZZ_CHECK(layout.width > 0 && layout.height > 0);
        FUZZ_CHECK(layout.frameX >= 0 && layout.frameY >= 0);
        FUZZ_CHECK(layout.frameWidth > 0 && layout.frameHeight > 0);
        FUZZ_CHECK(int64_t{layout.frameX} + layout.frameWidth <= layout.width);
        FUZZ_CHECK(int64_t{layout.frameY} + layout.frameHeight <= layout.height);
        FUZZ_CHECK(layout.imageSize > 0 && layout.imageOffset <= size &&
                   layout.imageSize <= size - layout.imageOffset);
        FUZZ_CHECK(layout.exifOffset <= size && layout.exifSize <= size - layout.exifOffset);
        FUZZ_CHECK(corv::WebpWorkBytes(layout) >= 0);
    }
    const int orientation = corv::ReadExifOrientation(data, size);
    FUZZ_CHECK(orientation >= 1 && orientation <= 8);
    return 0;
}
