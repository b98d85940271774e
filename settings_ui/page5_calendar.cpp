#include "settings_ui/page5_calendar.h"
