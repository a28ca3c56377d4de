#include "platform/process_memory.h"

#include <malloc.h>

namespace quillmar {

void RetainFreedMemory() {
  // The largest threshold the allocator accepts; a track's event table stays below it.
  constexpr int kLargeBlock = 32 * 1024 * 1024;
  mallopt(M_MMAP_THRESHOLD, kLargeBlock);
  mallopt(M_TRIM_THRESHOLD, 2 * kLargeBlock);
}

}  // namespace quillmar
