#pragma once

#include <cstddef>
#include <string_view>

namespace quillmar {

// True for a byte that opens a double-byte Shift_JIS character.
constexpr bool IsSjisLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Offset of the last single-byte character of `text` for which `match` is true, scanning
// whole characters so that the trail byte of a double-byte character (0x5C in "表") never
// matches; npos when there is none.
template <typename Predicate>
std::size_t FindLastSingleByte(std::string_view text, Predicate match) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (IsSjisLeadByte(byte) && i + 1 < text.size()) {
      ++i;
    } else if (match(byte)) {
      found = i;
    }
  }
  return found;
}

// True when `offset` starts a character of `text` (not the trail byte of a double-byte one).
bool IsCharacterStart(std::string_view text, std::size_t offset);

}  // namespace quillmar
