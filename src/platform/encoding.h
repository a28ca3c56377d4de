#pragma once

#include <bit>
#include <optional>
#include <string>
#include <string_view>

namespace quillmar {

// Text inside the system is Shift_JIS (code page 932). These are the only conversions.

// Converts UTF-8 to Shift_JIS; nullopt when a character has no Shift_JIS form or the
// input is not valid UTF-8.
std::optional<std::string> Utf8ToSjis(std::string_view utf8);

// Converts UTF-8 to Shift_JIS for showing a text that may not fit: each character without a
// Shift_JIS form, and each byte that is not valid UTF-8, becomes '?'.
std::string Utf8ToSjisReplacing(std::string_view utf8);

// Converts Shift_JIS to UTF-8 for display; a byte sequence that is not valid Shift_JIS
// becomes U+FFFD, so the result is always valid UTF-8.
std::string SjisToUtf8(std::string_view sjis);

// True when the bytes are valid UTF-8 and hold at least one multi-byte character: such a
// text is practically never Shift_JIS, whose Japanese is not valid UTF-8. A sequence cut
// short at the very end is accepted when `cut_at_end` says the text was cut there.
bool IsUtf8Text(std::string_view bytes, bool cut_at_end = false);

// UTF-16 text (without its byte-order mark) converted to UTF-8. Malformed text (a lone
// surrogate, an odd byte at the end) is converted up to the fault and is not `whole`.
struct Utf16Decoded {
  std::string utf8;
  bool whole = true;
};
[[nodiscard]] Utf16Decoded Utf16ToUtf8(std::string_view utf16, std::endian order);

// Shift_JIS form of a source literal written in UTF-8. Every literal of the system has one,
// so a failure is a programming error and aborts.
std::string Sjis(std::string_view utf8_literal);

}  // namespace quillmar
