#include "platform/sjis.h"

namespace quillmar {

bool IsCharacterStart(std::string_view text, std::size_t offset) {
  std::size_t i = 0;
  while (i < offset) {
    const auto byte = static_cast<unsigned char>(text[i]);
    i += (IsSjisLeadByte(byte) && i + 1 < text.size()) ? 2 : 1;
  }
  return i == offset;
}

}  // namespace quillmar
