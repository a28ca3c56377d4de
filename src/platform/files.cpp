#include "platform/files.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>

#include "platform/encoding.h"
#include "platform/temporary_files.h"

namespace quillmar {
namespace {

namespace fs = std::filesystem;

bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix) {
  if (text.size() < suffix.size()) return false;
  return std::equal(suffix.begin(), suffix.end(), text.end() - suffix.size(), [](char a, char b) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    return lower(a) == lower(b);
  });
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// A name that no other writer uses and that is recognisable as temporary.
std::string TemporaryName() {
  thread_local std::mt19937_64 random{std::random_device{}()};
  char unique[40];
  std::snprintf(unique, sizeof unique, "%d-%016llx", static_cast<int>(::getpid()),
                static_cast<unsigned long long>(random()));
  return std::string(kTemporaryPrefix) + unique;
}

// A NUL byte would cut the name short where the system reads it, so such a path names no
// file at all.
bool Nameable(std::string_view sjis_path) {
  return sjis_path.find('\0') == std::string_view::npos;
}

}  // namespace

std::string NativePath(std::string_view sjis_path) {
  // After the conversion no 0x5C byte is part of a double-byte character any more.
  std::string native = SjisToUtf8(sjis_path);
  std::replace(native.begin(), native.end(), '\\', '/');
  return native;
}

std::string AbsoluteNativePath(std::string_view native_path) {
  std::error_code error;
  const fs::path absolute = fs::absolute(fs::path(native_path), error);
  return error ? std::string(native_path) : absolute.lexically_normal().string();
}

bool StandardErrorIsTerminal() {
  return ::isatty(STDERR_FILENO) == 1;
}

std::optional<std::string> SjisPath(std::string_view native_path) {
  if (native_path.find_first_of(std::string_view("\\\0", 2)) != std::string_view::npos) {
    return std::nullopt;
  }
  return Utf8ToSjis(native_path);
}

bool ReadFileBytes(std::string_view sjis_path, std::size_t limit, std::string& out) {
  out.clear();
  if (!Nameable(sjis_path)) return false;
  // Without O_NONBLOCK, opening a FIFO would wait for a writer for ever; what is not a
  // regular file is refused right after opening.
  const int fd = ::open(NativePath(sjis_path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return false;
  }
  // Sized by the file, and grown should the file grow while it is read.
  out.resize(std::min(limit, static_cast<std::size_t>(info.st_size) + 1));
  std::size_t filled = 0;
  bool ok = true;
  while (filled < limit) {
    if (filled == out.size()) out.resize(std::min(limit, 2 * out.size()));
    const ssize_t n = ::read(fd, out.data() + filled, out.size() - filled);
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    if (n == 0) break;
    filled += static_cast<std::size_t>(n);
  }
  ::close(fd);
  out.resize(ok ? filled : 0);
  return ok;
}

bool WriteFileReplacing(std::string_view sjis_path, std::string_view bytes) {
  if (!Nameable(sjis_path)) {
    errno = EINVAL;
    return false;
  }
  const fs::path target = NativePath(sjis_path);
  const std::string name = target.filename().string();
  // The folder is held open, so that the temporary file is renamed or removed in it even
  // when the folder is renamed or removed meanwhile: nothing half-written is left.
  const std::string folder_path =
      target.parent_path().empty() ? "." : target.parent_path().string();
  const int folder = ::open(folder_path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) return false;
  const std::string temporary_name = TemporaryName();
  const std::string temporary = (fs::path(folder_path) / temporary_name).string();
  int fd = -1;
  if (!MakeTemporary(temporary, [&] {
        fd =
            ::openat(folder, temporary_name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        return fd >= 0;
      })) {
    const int error = errno;
    ::close(folder);
    errno = error;
    return false;
  }
  bool ok = WriteAll(fd, bytes);
  ok = (::close(fd) == 0) && ok;
  int error = errno;
  FinishTemporary(temporary, [&] {
    if (ok && ::renameat(folder, temporary_name.c_str(), folder, name.c_str()) != 0) {
      ok = false;
      error = errno;
    }
    if (!ok) ::unlinkat(folder, temporary_name.c_str(), 0);
  });
  ::close(folder);
  errno = error;
  return ok;
}

bool CopyFileReplacing(std::string_view sjis_from, std::string_view sjis_to) {
  std::string bytes;
  std::error_code error;
  const auto size = fs::file_size(NativePath(sjis_from), error);
  if (error) return false;
  if (!ReadFileBytes(sjis_from, static_cast<std::size_t>(size), bytes)) return false;
  return WriteFileReplacing(sjis_to, bytes);
}

bool MakeFolder(std::string_view sjis_path) {
  return Nameable(sjis_path) && ::mkdir(NativePath(sjis_path).c_str(), 0755) == 0;
}

std::optional<std::string> MakeFolderTree(std::string_view sjis_path) {
  if (!Nameable(sjis_path)) return std::strerror(EINVAL);
  std::error_code error;
  const fs::path native = NativePath(sjis_path);
  fs::create_directories(native, error);
  if (!error && !fs::is_directory(native, error))
    error = std::make_error_code(std::errc::not_a_directory);
  if (error) return error.message();
  return std::nullopt;
}

bool IsFolder(std::string_view sjis_path) {
  std::error_code error;
  return Nameable(sjis_path) && fs::is_directory(NativePath(sjis_path), error);
}

bool IsFile(std::string_view sjis_path) {
  std::error_code error;
  return Nameable(sjis_path) && fs::is_regular_file(NativePath(sjis_path), error);
}

std::vector<std::string> ListFolder(std::string_view sjis_folder, std::string_view extension,
                                    std::vector<std::string>* unrepresentable) {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(NativePath(sjis_folder), error), end; !error && it != end;
       it.increment(error)) {
    std::error_code type_error;
    if (!it->is_regular_file(type_error)) continue;
    const std::string native_name = it->path().filename().string();
    if (!EndsWithIgnoringCase(native_name, extension)) continue;
    if (auto name = SjisPath(native_name)) {
      names.push_back(*std::move(name));
    } else if (unrepresentable != nullptr) {
      unrepresentable->push_back(native_name);
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string SystemTemporaryFolder() {
  const char* folder = std::getenv("TMPDIR");
  if (folder == nullptr || *folder == '\0') folder = "/tmp";
  return SjisPath(folder).value_or(std::string());
}

std::optional<std::string> MakeTemporaryFolder(std::string_view sjis_parent) {
  if (sjis_parent.empty() || !Nameable(sjis_parent)) return std::nullopt;
  std::string pattern = (fs::path(NativePath(sjis_parent)) / "quillmar-XXXXXX").string();
  if (!SjisPath(pattern)) return std::nullopt;
  if (!MakeTemporary(pattern, [&] { return ::mkdtemp(pattern.data()) != nullptr; })) {
    return std::nullopt;
  }
  return SjisPath(pattern);
}

bool RemoveFolderTree(std::string_view sjis_path) {
  if (!Nameable(sjis_path)) return false;
  const std::string native = NativePath(sjis_path);
  std::error_code error;
  FinishTemporary(native, [&] { fs::remove_all(native, error); });
  return !error;
}

std::optional<std::string> CurrentFolder() {
  std::error_code error;
  const fs::path current = fs::current_path(error);
  if (error) return std::nullopt;
  return SjisPath(current.string());
}

}  // namespace quillmar
