// The Shift_JIS path and text helpers, the encodings and the text foldings on any bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "edit/text_width.h"
#include "fuzz_support.h"
#include "lists/path_helpers.h"
#include "lists/text_helpers.h"
#include "platform/encoding.h"
#include "platform/sjis.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillmar;
  (void)fuzzing::FuzzFolder();
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string_view half(text.data(), text.size() / 2);
  (void)BaseName(text);
  (void)ExtensionOf(text);
  (void)JoinPath(half, text.substr(half.size()));
  (void)SplitBySemicolon(text, 3);
  (void)LeadingInteger(text);
  (void)SplitPair(text);
  (void)SplitKeyValue(text);
  (void)SplitKeyOpValue(text);
  (void)IsAllDigits(text);
  (void)ContainsText(text, half);
  (void)FindLastSingleByte(text, [](unsigned char c) { return c == '\\'; });
  (void)DirectoryOf(text);
  for (std::size_t i = 0; i <= text.size(); ++i) (void)IsCharacterStart(text, i);
  const std::string utf8 = SjisToUtf8(text);
  (void)Utf8ToSjis(utf8);
  (void)Utf8ToSjisReplacing(text);
  (void)NativePath(text);
  (void)SjisPath(text);
  std::string folded = text;
  FoldAlphanumericToHalfWidth(folded);
  FoldKatakanaToHalfWidth(folded);
  if (folded.size() > text.size()) __builtin_trap();  // folding never lengthens a text
  return 0;
}
