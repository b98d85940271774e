// The EXIF orientation reader: any bytes give one of the eight values.
#include <cstddef>
#include <cstdint>

#include "compose/exif_orientation.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const int orientation = corv::ReadExifOrientation(data, size);
    FUZZ_CHECK(orientation >= 1 && orientation <= 8);
    return 0;
}
