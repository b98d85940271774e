#include "compose/jpeg_decode_win.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared

#include <jpeglib.h>

#include "compose/decode_scale.h"

namespace corv {

namespace gp = Gdiplus::DllExports;
using Gdiplus::GpBitmap;
using Gdiplus::Ok;

namespace {

// libjpeg reports a fatal error through error_exit, which must not return:
// it jumps back into RunDecode, the one function that calls the decoder.
struct ErrorTrap {
    jpeg_error_mgr manager;  // first, so the manager's address is the trap's
    std::jmp_buf jump;
};

[[noreturn]] void LeaveDecode(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorTrap*>(cinfo->err)->jump, 1);
}

// Warnings (damaged data the decoder steps over) are counted by libjpeg and
// otherwise ignored; nothing is written to a console.
void SayNothing(j_common_ptr) {}

// What RunDecode shares with the code around it. Plain data only: no object
// with a destructor may live across the jump.
struct JpegJob {
    const uint8_t* data = nullptr;
    std::size_t size = 0;
    NeededSize need;
    bool swapAxes = false;
    // Results.
    int denominator = 0;
    int32_t width = 0;  // the stored size
    int32_t height = 0;
    int components = 0;
    GpBitmap* bitmap = nullptr;  // the target, owned by DecodeJpeg
    Gdiplus::BitmapData rows{};
    bool locked = false;
};

// The 24-bit bitmap the rows are decoded into, locked for writing. Called
// by RunDecode between two libjpeg calls.
bool PrepareTarget(JpegJob& job, int32_t width, int32_t height) {
    if (gp::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat24bppRGB, nullptr,
                                      &job.bitmap) != Ok ||
        !job.bitmap) {
        job.bitmap = nullptr;
        return false;
    }
    const Gdiplus::GpRect area(0, 0, width, height);
    job.locked = gp::GdipBitmapLockBits(job.bitmap, &area, Gdiplus::ImageLockModeWrite,
                                        PixelFormat24bppRGB, &job.rows) == Ok &&
                 job.rows.Scan0 != nullptr;
    return job.locked;
}

// One row of CMYK samples to B, G, R. Files with an Adobe marker (nearly
// all CMYK JPEGs) store the inks inverted.
void CmykToBgr(const JSAMPLE* in, uint8_t* out, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x, in += 4, out += 3) {
        unsigned c = in[0], m = in[1], y = in[2], k = in[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        out[0] = static_cast<uint8_t>(y * k / 255);
        out[1] = static_cast<uint8_t>(m * k / 255);
        out[2] = static_cast<uint8_t>(c * k / 255);
    }
}

// Every libjpeg call of a decode. False on a fatal error; libjpeg's own
// memory is released on every way out.
bool RunDecode(JpegJob* job) {
    jpeg_decompress_struct cinfo;
    ErrorTrap trap;
    cinfo.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = LeaveDecode;
    trap.manager.output_message = SayNothing;
    if (setjmp(trap.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = kMaxJpegWorkBytes;
    jpeg_mem_src(&cinfo, job->data, static_cast<unsigned long>(job->size));
    jpeg_read_header(&cinfo, TRUE);
    job->width = static_cast<int32_t>(cinfo.image_width);
    job->height = static_cast<int32_t>(cinfo.image_height);
    job->components = cinfo.num_components;
    job->denominator = ChooseDecodeScale(job->width, job->height, job->need, job->swapAxes);
    if (job->denominator == 0) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    cinfo.scale_num = 1;
    cinfo.scale_denom = static_cast<unsigned>(job->denominator);
    // A reduced picture is resampled smaller still when drawn: plain chroma
    // upsampling then looks the same and halves the decoding time.
    if (job->denominator > 1) cinfo.do_fancy_upsampling = FALSE;
    // libjpeg turns no inks into colours itself.
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_start_decompress(&cinfo);
    const JDIMENSION width = cinfo.output_width;
    const bool sized =
        static_cast<int32_t>(width) == ScaledLength(job->width, job->denominator) &&
        static_cast<int32_t>(cinfo.output_height) == ScaledLength(job->height, job->denominator);
    if (!sized || !PrepareTarget(*job, static_cast<int32_t>(width),
                                 static_cast<int32_t>(cinfo.output_height))) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    JSAMPARRAY inks = cmyk ? (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo),
                                                        JPOOL_IMAGE, width * 4, 1)
                           : nullptr;
    auto* scan0 = static_cast<uint8_t*>(job->rows.Scan0);
    const INT stride = job->rows.Stride;
    while (cinfo.output_scanline < cinfo.output_height) {
        uint8_t* row = scan0 + static_cast<std::ptrdiff_t>(cinfo.output_scanline) * stride;
        JSAMPROW target = cmyk ? inks[0] : row;
        if (jpeg_read_scanlines(&cinfo, &target, 1) != 1) {
            jpeg_destroy_decompress(&cinfo);
            return false;
        }
        if (cmyk) CmykToBgr(inks[0], row, width, cinfo.saw_Adobe_marker != 0);
    }
    // All rows are in; what may follow them (even damage) no longer matters.
    jpeg_destroy_decompress(&cinfo);
    return true;
}

}  // namespace

std::unique_ptr<GdiplusImage> DecodeJpeg(const uint8_t* data, std::size_t size,
                                         const NeededSize& need, bool swapAxes) {
    if (data == nullptr || size == 0) return nullptr;
    JpegJob job;
    job.data = data;
    job.size = size;
    job.need = need;
    job.swapAxes = swapAxes;
    const bool decoded = RunDecode(&job);
    if (job.locked) gp::GdipBitmapUnlockBits(job.bitmap, &job.rows);
    if (!decoded) {
        if (job.bitmap) gp::GdipDisposeImage(job.bitmap);
        return nullptr;
    }
    const DecodedScale scale{SizeI{job.width, job.height}, job.denominator};
    auto image = std::make_unique<GdiplusImage>(job.bitmap, scale, job.components * 8);
    if (image->Width() == 0) return nullptr;
    return image;
}

}  // namespace corv
