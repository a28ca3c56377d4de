#pragma once

#include <string_view>

namespace quillmar {

// An advisory lock (flock) on a folder, held for the object's life, so that processes that
// write and read back a shared file in that folder take their turns. The lock is on the
// folder because the file itself is replaced by a rename, which a lock on it would not
// survive. A folder that cannot be opened is not locked; the caller's own file operations
// then report the failure.
class FolderLock {
 public:
  explicit FolderLock(std::string_view sjis_folder);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int fd_ = -1;
};

}  // namespace quillmar
