#include "platform/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/files.h"

namespace quillmar {

FolderLock::FolderLock(std::string_view sjis_folder) {
  if (sjis_folder.find('\0') != std::string_view::npos) return;
  const std::string native = NativePath(sjis_folder);
  fd_ = ::open(native.empty() ? "." : native.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) return;
  while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
  }
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

}  // namespace quillmar
