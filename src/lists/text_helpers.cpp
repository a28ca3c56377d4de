#include "lists/text_helpers.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/sjis.h"

namespace quillmar {

int EncodeVarLen(std::uint32_t value, std::string& out) {
  value = std::min(value, kMaxVarLen);
  int count = 1;
  while (count < 4 && (value >> (7 * count)) != 0) ++count;
  for (int group = count - 1; group >= 0; --group) {
    const auto bits = static_cast<unsigned char>((value >> (7 * group)) & 0x7F);
    out.push_back(static_cast<char>(group > 0 ? (bits | 0x80) : bits));
  }
  return count;
}

bool StripMacBinaryHeader(std::string& image, std::optional<std::string_view> marker) {
  constexpr std::size_t kHeaderSize = 128;
  if (image.size() < kHeaderSize) return false;
  if (marker && image.compare(kHeaderSize, marker->size(), *marker) != 0) return false;
  image.erase(0, kHeaderSize);
  return true;
}

std::vector<std::string> SplitBySemicolon(std::string_view text, std::size_t max_parts) {
  std::vector<std::string> parts;
  while (!text.empty() && parts.size() < max_parts) {
    const std::size_t end = text.find(';');
    parts.emplace_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return parts;
}

int LeadingInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = std::min<long long>(value * 10 + (text[i] - '0'), 1LL + INT_MAX);
  }
  if (negative) value = -value;
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

std::optional<std::pair<int, int>> SplitPair(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  return std::pair{LeadingInteger(text.substr(0, colon)), LeadingInteger(text.substr(colon + 1))};
}

int ZeroBased(int one_based) {
  return one_based == INT_MIN ? one_based : one_based - 1;
}

std::pair<std::string, std::string> SplitKeyValue(std::string_view text) {
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) return {std::string(text), {}};
  return {std::string(text.substr(0, equals)), std::string(text.substr(equals + 1))};
}

KeyOpValue SplitKeyOpValue(std::string_view text) {
  const std::size_t at = text.find_first_of("=<>");
  if (at == std::string_view::npos) return {std::string(text), {}, {}};
  return {std::string(text.substr(0, at)), std::string(text.substr(at, 1)),
          std::string(text.substr(at + 1))};
}

bool IsAllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool ContainsText(std::string_view text, std::string_view pattern) {
  if (text.empty()) return false;
  if (pattern.empty()) return true;
  for (std::size_t at = text.find(pattern); at != std::string_view::npos;
       at = text.find(pattern, at + 1)) {
    if (IsCharacterStart(text, at)) return true;
  }
  return false;
}

std::optional<int> TempoToBpm(int microseconds_per_quarter) {
  const int milliseconds = microseconds_per_quarter / 1000;
  if (milliseconds == 0) return std::nullopt;
  return 60000 / milliseconds;
}

std::optional<int> BpmToTempo(int beats_per_minute) {
  if (beats_per_minute == 0) return std::nullopt;
  return (60000 / beats_per_minute) * 1000;
}

}  // namespace quillmar
