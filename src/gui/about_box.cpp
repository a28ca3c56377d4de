#include "gui/about_box.h"
