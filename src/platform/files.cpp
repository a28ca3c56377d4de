#include "platform/files.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <random>

#include "platform/encoding.h"

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

// A name beside the target that no other writer uses.
std::string TemporaryNameFor(const std::string& native_target) {
  thread_local std::mt19937_64 random{std::random_device{}()};
  return native_target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(random());
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
  return Utf8ToSjis(native_path);
}

bool ReadFileBytes(std::string_view sjis_path, std::size_t limit, std::string& out) {
  out.clear();
  const int fd = ::open(NativePath(sjis_path).c_str(), O_RDONLY | O_CLOEXEC);
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
  const std::string target = NativePath(sjis_path);
  const std::string temporary = TemporaryNameFor(target);
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, bytes);
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = ::rename(temporary.c_str(), target.c_str()) == 0;
  if (!ok) ::unlink(temporary.c_str());
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
  return ::mkdir(NativePath(sjis_path).c_str(), 0755) == 0;
}

bool IsFolder(std::string_view sjis_path) {
  std::error_code error;
  return fs::is_directory(NativePath(sjis_path), error);
}

bool IsFile(std::string_view sjis_path) {
  std::error_code error;
  return fs::is_regular_file(NativePath(sjis_path), error);
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
    if (auto name = Utf8ToSjis(native_name)) {
      names.push_back(*std::move(name));
    } else if (unrepresentable != nullptr) {
      unrepresentable->push_back(native_name);
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::optional<std::string> MakeTemporaryFolder() {
  std::error_code error;
  std::string pattern = (fs::temp_directory_path(error) / "quillmar-XXXXXX").string();
  if (error || ::mkdtemp(pattern.data()) == nullptr) return std::nullopt;
  return Utf8ToSjis(pattern);
}

bool RemoveFolderTree(std::string_view sjis_path) {
  std::error_code error;
  fs::remove_all(NativePath(sjis_path), error);
  return !error;
}

std::optional<std::string> CurrentFolder() {
  std::error_code error;
  const fs::path current = fs::current_path(error);
  if (error) return std::nullopt;
  return Utf8ToSjis(current.string());
}

}  // namespace quillmar
