#include "gui/dialog_units.h"
