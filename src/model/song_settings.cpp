#include "model/midi_f1_data.h"

namespace quillmar {}  // namespace quillmar
