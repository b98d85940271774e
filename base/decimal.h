// Decimal numbers as the program's files and fields hold them.
#pragma once

#include <cstdint>
#include <string>

namespace corv {

// The runtime's atoi: blanks, an optional sign, then digits up to the first
// other character; clamped to the 32-bit range; 0 when there are none.
int32_t ParseDecimal(const std::string& text);

}  // namespace corv
