#include "model/note_counts.h"

namespace quillmar {}  // namespace quillmar
