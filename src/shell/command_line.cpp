#include "shell/command_line.h"

#include <algorithm>

namespace quillmar {

std::vector<std::string> SplitCommandLine(std::string_view text) {
  std::vector<std::string> paths;
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (text[pos] == ' ') {
      ++pos;
      continue;
    }
    std::size_t end;
    if (text[pos] == '"') {
      ++pos;
      end = std::min(text.find('"', pos), text.size());
    } else {
      end = std::min(text.find(' ', pos), text.size());
    }
    // An empty pair of quotes gives no path.
    if (end > pos) paths.emplace_back(text.substr(pos, end - pos));
    pos = end + 1;  // past the closing quote or the blank
  }
  return paths;
}

}  // namespace quillmar
