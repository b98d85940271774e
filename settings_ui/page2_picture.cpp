#include "settings_ui/page2_picture.h"
