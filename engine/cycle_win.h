// What the change cycle reads from the system: the top-level windows for
// the busy stop, and this machine's address for the tooltip.
#pragma once

#include <string>
#include <vector>

#include "engine/cycle.h"

namespace corv {

// The top-level windows in z-order, topmost first.
std::vector<TopWindow> ListTopWindows();

// "MY IP: " followed by the last address the host name resolves to, or
// "MY IP: " alone when the lookup gives none.
std::string GetAddressText();

}  // namespace corv
