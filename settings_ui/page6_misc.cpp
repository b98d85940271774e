#include "settings_ui/page6_misc.h"

namespace corv {

const char* const kAutostartKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const kAutostartValue = "Corvalendrine";

std::string ProgramLabelText(const std::vector<std::string>& titles) {
    std::string text;
    for (std::size_t i = 0; i < titles.size(); ++i) {
        text += " " + std::to_string(i + 1) + "." + titles[i];
        if (i + 1 < titles.size()) text += ",";
    }
    return text;
}

BusyStopLook BusyStopLookFor(bool on) {
    BusyStopLook look;
    look.buttonsEnabled = on;
    look.back = on ? LabelColour::ButtonHighlight : LabelColour::ButtonFace;
    look.text = on ? LabelColour::ButtonText : LabelColour::ButtonShadow;
    return look;
}

int WeekdayIconFor(bool on, int weekday) {
    if (!on || weekday < 0 || weekday > 6) return 156;
    return 137 + weekday;
}

std::string AddressTooltip(bool on, const std::string& address, const std::string& version) {
    return on ? address : version;
}

bool DateCheckWanted(const Settings& settings) {
    return settings.isweekday || settings.iscalender;
}

bool AutostartReached(bool on, RegistryOutcome outcome) {
    if (outcome == RegistryOutcome::Done) return true;
    return !on && outcome == RegistryOutcome::ValueMissing;
}

}  // namespace corv
