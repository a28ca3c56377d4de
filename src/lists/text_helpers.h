#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillmar {

// The largest number a MIDI variable-length quantity holds (four bytes).
inline constexpr std::uint32_t kMaxVarLen = 0x0FFFFFFF;

// Appends the MIDI variable-length quantity of `value` (1 to 4 bytes; values above
// kMaxVarLen are written as kMaxVarLen) and returns the number of bytes appended.
int EncodeVarLen(std::uint32_t value, std::string& out);

// When `marker` is given and the 4 bytes at offset 128 differ from it, or the image is
// shorter than 128 bytes, returns false and changes nothing; otherwise drops the first 128
// bytes (a MacBinary header) and returns true.
[[nodiscard]] bool StripMacBinaryHeader(std::string& image, std::optional<std::string_view> marker);

// Cuts the text at each ';'. An empty text has no parts; a ';' at the very end adds no empty
// part after it. At most `max_parts` parts are returned; the rest are dropped.
std::vector<std::string> SplitBySemicolon(std::string_view text, std::size_t max_parts);

// The leading decimal integer of a text, as C's atoi reads it (blanks, a sign, digits),
// limited to the int range; 0 when there is none.
int LeadingInteger(std::string_view text);

// The leading integers before and after the first ':'; none without ':'.
[[nodiscard]] std::optional<std::pair<int, int>> SplitPair(std::string_view text);

// A one-based number of a cell (a channel, program, measure or beat N) as its zero-based
// value N - 1. The int minimum has no number before it and stays itself, so that a cell's
// number never overflows on the way to a rule's range check.
int ZeroBased(int one_based);

// Key before the first '=' (the whole text without one) and the value after it.
std::pair<std::string, std::string> SplitKeyValue(std::string_view text);

struct KeyOpValue {
  std::string key;
  std::string op;  // "=", "<", ">" or empty
  std::string value;
};

// Splits at the first of '=', '<', '>'; without any, operator and value are empty.
KeyOpValue SplitKeyOpValue(std::string_view text);

// True when every byte is a decimal digit, also for an empty text.
bool IsAllDigits(std::string_view text);

// True when `pattern` occurs in `text` starting at a character boundary; false for an empty
// text, true for an empty pattern in any other text.
bool ContainsText(std::string_view text, std::string_view pattern);

// 60000 / (tempo / 1000), truncating; none when tempo / 1000 is 0.
[[nodiscard]] std::optional<int> TempoToBpm(int microseconds_per_quarter);

// (60000 / bpm) * 1000, truncating; none for bpm 0.
[[nodiscard]] std::optional<int> BpmToTempo(int beats_per_minute);

}  // namespace quillmar
