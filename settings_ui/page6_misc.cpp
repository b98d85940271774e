#include "settings_ui/page6_misc.h"
