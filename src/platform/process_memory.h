#pragma once

namespace quillmar {

// Prepares the process's memory for conversions: one heap for all threads, freed memory kept
// in the process, and the heap's working area backed by large pages where the system offers
// them. A conversion allocates and frees the same few megabytes for every file, and taking
// fresh 4 KiB pages from the system one fault at a time costs more than the conversion
// itself. Front ends call it once at start, before any thread.
void RetainFreedMemory();

}  // namespace quillmar
