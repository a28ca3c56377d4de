#include "lists/path_helpers.h"

#include "platform/files.h"
#include "platform/sjis.h"

namespace quillmar {
namespace {

bool IsSeparator(unsigned char byte) {
  return byte == '\\' || byte == '/';
}

std::size_t LastSeparator(std::string_view path) {
  return FindLastSingleByte(path, IsSeparator);
}

}  // namespace

std::string BaseName(std::string_view path) {
  const std::size_t separator = LastSeparator(path);
  if (separator == std::string_view::npos) return std::string(path);
  return std::string(path.substr(separator + 1));
}

bool IsPlainName(std::string_view name) {
  const auto plain = [](std::string_view text) {
    return !text.empty() && text != "." && text != ".." &&
           text.find_first_of(std::string_view("\0\r\n", 3)) == std::string_view::npos;
  };
  const std::string native = NativePath(name);
  return plain(name) && BaseName(name) == name && plain(native) &&
         native.find('/') == std::string::npos;
}

std::string DirectoryOf(std::string_view path) {
  const std::size_t separator = LastSeparator(path);
  if (separator == 0) return std::string(path.substr(0, 1));
  if (separator != std::string_view::npos) return std::string(path.substr(0, separator));
  return CurrentFolder().value_or("");
}

std::string ExtensionOf(std::string_view path) {
  const std::size_t dot = FindLastSingleByte(path, [](unsigned char b) { return b == '.'; });
  std::string extension(dot == std::string_view::npos ? path : path.substr(dot + 1));
  for (std::size_t i = 0; i < extension.size(); ++i) {
    const auto byte = static_cast<unsigned char>(extension[i]);
    if (IsSjisLeadByte(byte)) {
      ++i;  // the trail byte may look like a capital letter
    } else if (byte >= 'A' && byte <= 'Z') {
      extension[i] = static_cast<char>(byte + ('a' - 'A'));
    }
  }
  return extension;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string joined(folder);
  const bool ends_in_separator = !folder.empty() && LastSeparator(folder) == folder.size() - 1;
  if (!folder.empty() && !ends_in_separator) joined.push_back('/');
  joined.append(name);
  return joined;
}

}  // namespace quillmar
