#include "gui/qt_user_interface.h"
