#include "platform/process_memory.h"

#include <malloc.h>
#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>

namespace quillmar {

void RetainFreedMemory() {
  // The largest threshold the allocator accepts; a track's event table stays below it.
  constexpr std::size_t kLargeBlock = 32 * 1024 * 1024;
  // One heap for all threads: the conversion runs on a worker thread.
  mallopt(M_ARENA_MAX, 1);
  mallopt(M_MMAP_THRESHOLD, static_cast<int>(kLargeBlock));
  mallopt(M_TRIM_THRESHOLD, static_cast<int>(2 * kLargeBlock));
  // Grow the heap once to hold the working memory of the largest file and let the system
  // back it with large pages: a page fault for every 4 KiB of fresh events costs more than
  // the conversion of a file.
  constexpr std::uintptr_t kLargePage = 2 * 1024 * 1024;
  constexpr std::size_t kWorkingMemory = kLargeBlock - kLargePage;  // below the threshold
  void* block = std::malloc(kWorkingMemory);
  if (block == nullptr) return;
  const auto start = (reinterpret_cast<std::uintptr_t>(block) + kLargePage - 1) & ~(kLargePage - 1);
  const auto end = (reinterpret_cast<std::uintptr_t>(block) + kWorkingMemory) & ~(kLargePage - 1);
  if (end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
  std::free(block);
}

}  // namespace quillmar
