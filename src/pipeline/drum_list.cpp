#include "pipeline/drum_list.h"
