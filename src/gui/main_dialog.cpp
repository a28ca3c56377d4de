#include "gui/main_dialog.h"
