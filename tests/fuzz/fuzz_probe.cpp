// The picture header probe: any bytes get a verdict; an accepted picture
// has a size within the pixel limit; a JPEG accepted without its end marker
// is one whose scans were found whole.
#include <cstddef>
#include <cstdint>

#include "compose/jpeg_scan.h"
#include "compose/picture_probe.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const corv::PictureProbe probe = corv::ProbePicture(data, size);
    if (probe.verdict == corv::ProbeVerdict::Ok) {
        FUZZ_CHECK(probe.kind != corv::PictureKind::Unknown);
        FUZZ_CHECK(probe.width > 0 && probe.height > 0);
        FUZZ_CHECK(probe.width <= corv::kMaxPicturePixels / probe.height);
    }
    if (probe.endMarkerMissing) {
        FUZZ_CHECK(probe.kind == corv::PictureKind::Jpeg);
        FUZZ_CHECK(corv::JpegScansComplete(data, size));
    }
    corv::JpegScansComplete(data, size);
    return 0;
}
