#include "gui/list_view_dialog.h"
