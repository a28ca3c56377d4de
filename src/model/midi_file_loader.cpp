#include "model/midi_file_loader.h"

namespace quillmar {}  // namespace quillmar
