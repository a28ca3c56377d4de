#include "model/midi_track_data.h"

namespace quillmar {}  // namespace quillmar
