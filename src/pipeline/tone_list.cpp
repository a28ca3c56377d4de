#include "pipeline/tone_list.h"
