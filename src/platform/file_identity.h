#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace quillmar {

// What makes two paths name the same file: the absolute native path with `.`, `..` and
// symbolic links resolved (as far as the path exists), and, for a file that exists, its
// device and inode, which also unite hard links.
struct FileIdentity {
  std::string resolved;
  std::optional<std::pair<dev_t, ino_t>> inode;
};

// The identity of a Shift_JIS path; a relative path is taken from the current folder.
FileIdentity IdentityOf(std::string_view sjis_path);

// True when both identities name one file.
bool SameFile(const FileIdentity& a, const FileIdentity& b);

}  // namespace quillmar
