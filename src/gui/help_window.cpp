#include "gui/help_window.h"
