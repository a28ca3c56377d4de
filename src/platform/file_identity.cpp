#include "platform/file_identity.h"

#include <sys/stat.h>

#include <filesystem>

#include "platform/files.h"

namespace quillmar {

FileIdentity IdentityOf(std::string_view sjis_path) {
  namespace fs = std::filesystem;
  FileIdentity identity;
  std::error_code error;
  // Links are resolved before `..` is applied, as the system does when it opens the path.
  const std::string native = fs::absolute(NativePath(sjis_path), error).string();
  const fs::path resolved = fs::weakly_canonical(native, error);
  identity.resolved = error ? native : resolved.string();
  struct stat info {};
  if (sjis_path.find('\0') == std::string_view::npos && ::stat(native.c_str(), &info) == 0) {
    identity.inode.emplace(info.st_dev, info.st_ino);
  }
  return identity;
}

bool SameFile(const FileIdentity& a, const FileIdentity& b) {
  if (a.inode && b.inode) return a.inode == b.inode;
  return a.resolved == b.resolved;
}

}  // namespace quillmar
