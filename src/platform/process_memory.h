#pragma once

namespace quillmar {

// Keeps freed memory in the process instead of handing large blocks back to the system at
// once. A conversion allocates and frees the same few megabytes for every file; taking fresh
// pages from the system each time costs more than the conversion itself. Front ends call it
// once at start; memory use stays at the peak of one file.
void RetainFreedMemory();

}  // namespace quillmar
