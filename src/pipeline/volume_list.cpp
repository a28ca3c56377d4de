#include "pipeline/volume_list.h"
