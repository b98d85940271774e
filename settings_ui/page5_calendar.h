// The calendar page's decisions (what a control change does to the settings
// and to the other controls, its label texts and checks) come here with the
// page's controls, tested natively.
#pragma once

namespace corv {}  // namespace corv
