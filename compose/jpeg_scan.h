// Walks the entropy-coded data of a JPEG file to see whether every block of
// the picture is there. Used for files that end without an end-of-image
// marker: many cameras and cut copies leave it out although the picture is
// whole, while a file cut inside its image data decodes with a grey rest.
#pragma once

#include <cstddef>
#include <cstdint>

namespace corv {

// True when `data` is a sequential, Huffman-coded JPEG (baseline or
// extended) whose scans hold every block of every component. False for
// anything else: a cut or broken scan, a progressive or arithmetic-coded
// file (whose completeness is not checked), no frame or no scan.
bool JpegScansComplete(const uint8_t* data, std::size_t size);

}  // namespace corv
