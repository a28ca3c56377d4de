#include "gui/prompter.h"
