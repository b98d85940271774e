// The orientation a camera records for a photo (EXIF tag 0x0112), read from
// the file's bytes. Phones store the sensor's rows as they come and say in
// this tag how to turn them; decoders hand out the stored rows.
#pragma once

#include <cstddef>
#include <cstdint>

namespace corv {

// The eight values of the tag: how the stored rows must be turned or
// mirrored to stand as the photo was taken.
enum ExifOrientation : int {
    kOrientNormal = 1,      // as stored
    kOrientMirror = 2,      // mirrored left to right
    kOrientRotate180 = 3,   // upside down
    kOrientFlip = 4,        // mirrored top to bottom
    kOrientTranspose = 5,   // mirrored along the top-left diagonal
    kOrientRotate90 = 6,    // turned a quarter clockwise to show
    kOrientTransverse = 7,  // mirrored along the top-right diagonal
    kOrientRotate270 = 8,   // turned a quarter anticlockwise to show
};

// The orientation of a JPEG or WebP file: the tag of the first image
// directory of its EXIF block. kOrientNormal when the file is neither, has
// no EXIF block or tag, or the tag holds anything but 1 to 8.
int ReadExifOrientation(const uint8_t* data, std::size_t size);

// True when the orientation swaps width and height (values 5 to 8).
inline bool OrientationSwapsSides(int orientation) {
    return orientation >= kOrientTranspose && orientation <= kOrientRotate270;
}

}  // namespace corv
