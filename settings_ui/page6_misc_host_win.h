// What the miscellaneous and calendar pages ask of the main window beyond
// the sheet's host: the tray icon and tooltip, the address text, and the
// date check that follows the weekday icon and the calendar.
#pragma once

#include <windows.h>

#include <string>

namespace corv {

class TrayPageHost {
public:
    virtual ~TrayPageHost() = default;
    virtual void SetTrayTip(const std::string& text) = 0;
    virtual void SetTrayIcon(UINT resourceId) = 0;
    virtual std::string TrayAddressText() = 0;
    // Starts the 30-second date check when the weekday icon or the
    // calendar is on, stops it when both are off.
    virtual void FollowDateSettings() = 0;
};

}  // namespace corv
