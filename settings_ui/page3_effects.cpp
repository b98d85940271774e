#include "settings_ui/page3_effects.h"
