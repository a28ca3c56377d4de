#include "model/midi_f0_data.h"

namespace quillmar {}  // namespace quillmar
