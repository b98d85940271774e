// Turns a decoded picture's luma and chroma planes (as AVIF and HEIC store
// them) into the rows of a bitmap, reduced on the way: each output pixel is
// the mean of a block of denominator x denominator picture pixels, so a
// large picture never needs a full-size RGB copy.
#pragma once

#include <cstdint>

namespace corv {

// Matrix coefficients codes of the colour description (ISO/IEC 23091-4).
enum YuvMatrix : int {
    kMatrixIdentity = 0,  // the planes hold G, B, R
    kMatrixBt709 = 1,
    kMatrixUnspecified = 2,
    kMatrixFcc = 4,
    kMatrixBt470bg = 5,
    kMatrixBt601 = 6,
    kMatrixSmpte240 = 7,
    kMatrixYcgco = 8,
    kMatrixBt2020 = 9,
    kMatrixBt2020Constant = 10,
};

struct YuvPicture {
    int32_t width = 0;  // luma samples
    int32_t height = 0;
    // Y, Cb, Cr; Cb and Cr are null for a grey picture.
    const uint8_t* planes[3] = {};
    int32_t strides[3] = {};         // bytes
    const uint8_t* alpha = nullptr;  // null: opaque
    int32_t alphaStride = 0;
    // log2 of the chroma subsampling: 1, 1 for 4:2:0; 1, 0 for 4:2:2; 0, 0
    // for 4:4:4.
    int chromaShiftX = 1;
    int chromaShiftY = 1;
    // Bits per sample; above 8 each sample is a 16-bit word in the
    // machine's order.
    int bitDepth = 8;
    int alphaBitDepth = 8;
    int matrix = kMatrixBt601;  // codes without their own rule count as BT.601
    bool fullRange = false;
};

// Writes `picture` reduced to 1/`denominator` (1 to 8; blocks at the right
// and bottom edges take the pixels there are) into ScaledLength(width, d) x
// ScaledLength(height, d) pixels at `out`, rows `outStride` bytes apart: B,
// G, R bytes, or premultiplied B, G, R, A when the picture has alpha.
// Chroma is taken from the sample over each pixel (no interpolation).
void ReduceYuvToBgr(const YuvPicture& picture, int denominator, uint8_t* out, int32_t outStride);

}  // namespace corv
