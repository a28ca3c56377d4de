#include "edit/text_width.h"

#include <cstddef>
#include <cstdint>
#include <iterator>

#include "platform/sjis.h"

namespace quillmar {
namespace {

// The half-width form of one double-byte character; size 0 when it has none.
struct HalfWidth {
  char bytes[2] = {};
  std::size_t size = 0;
};

// A run of consecutive full-width codes that fold to consecutive ASCII codes.
struct AlphanumericRange {
  std::uint16_t first;
  std::uint16_t last;
  char ascii_first;
};

constexpr AlphanumericRange kAlphanumericRanges[] = {
    {0x824F, 0x8258, '0'},  // ０ to ９
    {0x8260, 0x8279, 'A'},  // Ａ to Ｚ
    {0x8281, 0x829A, 'a'},  // ａ to ｚ
};

constexpr std::size_t AlphanumericPairCount() {
  std::size_t count = 0;
  for (const auto& range : kAlphanumericRanges) count += range.last - range.first + 1;
  return count;
}
static_assert(AlphanumericPairCount() == 62);

struct KanaPair {
  std::uint16_t full;
  unsigned char half;
};

// Full-width katakana that become one half-width byte. The ラ row, small ァ ィ ゥ ェ ォ ヮ and
// ー have no entry and stay full-width.
constexpr KanaPair kKanaPairs[] = {
    {0x8341, 0xB1}, {0x8343, 0xB2}, {0x8345, 0xB3}, {0x8347, 0xB4}, {0x8349, 0xB5},  // ア-オ
    {0x834A, 0xB6}, {0x834C, 0xB7}, {0x834E, 0xB8}, {0x8350, 0xB9}, {0x8352, 0xBA},  // カ-コ
    {0x8354, 0xBB}, {0x8356, 0xBC}, {0x8358, 0xBD}, {0x835A, 0xBE}, {0x835C, 0xBF},  // サ-ソ
    {0x835E, 0xC0}, {0x8360, 0xC1}, {0x8363, 0xC2}, {0x8365, 0xC3}, {0x8367, 0xC4},  // タ-ト
    {0x8369, 0xC5}, {0x836A, 0xC6}, {0x836B, 0xC7}, {0x836C, 0xC8}, {0x836D, 0xC9},  // ナ-ノ
    {0x836E, 0xCA}, {0x8371, 0xCB}, {0x8374, 0xCC}, {0x8377, 0xCD}, {0x837A, 0xCE},  // ハ-ホ
    {0x837D, 0xCF}, {0x837E, 0xD0}, {0x8380, 0xD1}, {0x8381, 0xD2}, {0x8382, 0xD3},  // マ-モ
    {0x8384, 0xD4}, {0x8386, 0xD5}, {0x8388, 0xD6},                                  // ヤ ユ ヨ
    {0x838F, 0xDC}, {0x8392, 0xA6}, {0x8393, 0xDD},                                  // ワ ヲ ン
    {0x8383, 0xAC}, {0x8385, 0xAD}, {0x8387, 0xAE}, {0x8362, 0xAF},  // ャ ュ ョ ッ
};
static_assert(std::size(kKanaPairs) == 45);

// Voiced katakana that become their half-width base letter followed by the voiced mark ﾞ.
// The semi-voiced パ row has no entry.
constexpr KanaPair kVoicedPairs[] = {
    {0x834B, 0xB6}, {0x834D, 0xB7}, {0x834F, 0xB8}, {0x8351, 0xB9}, {0x8353, 0xBA},  // ガ-ゴ
    {0x8355, 0xBB}, {0x8357, 0xBC}, {0x8359, 0xBD}, {0x835B, 0xBE}, {0x835D, 0xBF},  // ザ-ゾ
    {0x835F, 0xC0}, {0x8361, 0xC1}, {0x8364, 0xC2}, {0x8366, 0xC3}, {0x8368, 0xC4},  // ダ-ド
    {0x836F, 0xCA}, {0x8372, 0xCB}, {0x8375, 0xCC}, {0x8378, 0xCD}, {0x837B, 0xCE},  // バ-ボ
    {0x8394, 0xB3},                                                                  // ヴ
};
static_assert(std::size(kVoicedPairs) == 21);

constexpr char kVoicedMark = '\xDE';

HalfWidth AlphanumericHalfWidth(std::uint16_t code) {
  for (const auto& range : kAlphanumericRanges) {
    if (code >= range.first && code <= range.last) {
      return {{static_cast<char>(range.ascii_first + (code - range.first))}, 1};
    }
  }
  return {};
}

// The two tables share no code, so one lookup per character gives the same result as a pass
// with the first table followed by a pass with the second.
HalfWidth KatakanaHalfWidth(std::uint16_t code) {
  for (const auto& pair : kKanaPairs) {
    if (pair.full == code) return {{static_cast<char>(pair.half)}, 1};
  }
  for (const auto& pair : kVoicedPairs) {
    if (pair.full == code) return {{static_cast<char>(pair.half), kVoicedMark}, 2};
  }
  return {};
}

// Walks `text` one Shift_JIS character at a time and replaces each double-byte character that
// `half_width` folds. Replacements are never longer than the character, so the text is
// compacted in place behind the read position. Every byte is kept, NUL included; a lead byte
// at the very end has no trail byte and is copied as it is.
void FoldDoubleByteCharacters(std::string& text, HalfWidth (*half_width)(std::uint16_t)) {
  std::size_t out = 0;
  std::size_t in = 0;
  while (in < text.size()) {
    const auto lead = static_cast<unsigned char>(text[in]);
    if (!IsSjisLeadByte(lead) || in + 1 == text.size()) {
      text[out++] = text[in++];
      continue;
    }
    const auto trail = static_cast<unsigned char>(text[in + 1]);
    const HalfWidth half = half_width(static_cast<std::uint16_t>(lead << 8 | trail));
    if (half.size == 0) {
      text[out++] = text[in];
      text[out++] = text[in + 1];
    } else {
      for (std::size_t i = 0; i < half.size; ++i) text[out++] = half.bytes[i];
    }
    in += 2;
  }
  text.resize(out);
}

}  // namespace

void FoldAlphanumericToHalfWidth(std::string& text) {
  FoldDoubleByteCharacters(text, AlphanumericHalfWidth);
}

void FoldKatakanaToHalfWidth(std::string& text) {
  FoldDoubleByteCharacters(text, KatakanaHalfWidth);
}

}  // namespace quillmar
