// The display's DPI for this program, read once. The program declares
// itself DPI-aware, so the system gives it the real pixels and leaves the
// scaling of its own pixel sizes to it (engine/dpi_scale.h).
#pragma once

#include <windows.h>

#include <cstdint>

namespace corv {

// The system's DPI: GetDpiForSystem where the system has it, else the
// screen's LOGPIXELSY; 96 when neither answers sensibly.
int32_t SystemDpi();

// `pixels` at 96 DPI as pixels at the system's DPI.
int ScaledPixels(int pixels);

}  // namespace corv
