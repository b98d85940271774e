// The miscellaneous page's decisions: the text of the program label, the
// look of the busy stop, the tray icon and tooltip the switches ask for,
// whether the date check must run, and what counts as a failed autostart.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/app_state.h"
#include "res/page6_misc_ids.h"

namespace corv {

// " 1.a, 2.b": each title after its number, commas between; empty for none.
std::string ProgramLabelText(const std::vector<std::string>& titles);

// The system colours the program label takes.
enum class LabelColour { ButtonHighlight, ButtonFace, ButtonShadow, ButtonText };

struct BusyStopLook {
    bool buttonsEnabled = false;
    LabelColour back = LabelColour::ButtonFace;
    LabelColour text = LabelColour::ButtonShadow;
};
// How the busy stop's buttons and label look with the switch `on`.
BusyStopLook BusyStopLookFor(bool on);

// The tray icon for the weekday switch: 137 + `weekday` (0 Sunday) when on,
// the program's own icon 156 when off or when the weekday is unknown.
int WeekdayIconFor(bool on, int weekday);

// The tray tooltip for the address switch: the address alone when on, the
// version text when off.
std::string AddressTooltip(bool on, const std::string& address, const std::string& version);

// Whether the 30-second date check has anything to follow: the weekday icon
// or the calendar.
bool DateCheckWanted(const Settings& settings);

// How a write or delete of the autostart value came out.
enum class RegistryOutcome { Done, ValueMissing, Failed };
// Whether the autostart switch reached the state the user asked for
// (`on`): deleting a value that is already gone reaches "off".
bool AutostartReached(bool on, RegistryOutcome outcome);

// The name of the autostart value and its key under the current user.
extern const char* const kAutostartKey;
extern const char* const kAutostartValue;

}  // namespace corv
