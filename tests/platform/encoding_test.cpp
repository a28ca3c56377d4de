#include "platform/encoding.h"

#include <gtest/gtest.h>

#include <tuple>

#include "platform/sjis.h"

namespace quillmar {
namespace {

TEST(Encoding, RoundTripsJapaneseAndHalfWidthKatakana) {
  const std::string utf8 = "表ソ能 ﾍﾙﾌﾟ(&H) output 1";
  const auto sjis = Utf8ToSjis(utf8);
  ASSERT_TRUE(sjis.has_value());
  EXPECT_EQ(sjis->substr(0, 6), "\x95\x5C\x83\x5C\x94\x5C");
  EXPECT_EQ(SjisToUtf8(*sjis), utf8);
}

TEST(Encoding, CharacterWithoutShiftJisFormIsRefused) {
  EXPECT_FALSE(Utf8ToSjis("emoji \xF0\x9F\x8E\xB5").has_value());
  EXPECT_FALSE(Utf8ToSjis("\xFF broken utf-8").has_value());
}

TEST(Encoding, ReplacingConversionMarksEachUnfitCharacterWithOneQuestionMark) {
  // A four-byte emoji and a three-byte Korean syllable each become one '?'.
  EXPECT_EQ(Utf8ToSjisReplacing("表\xF0\x9F\x8E\xB5ソ\xEA\xB0\x80.mid"), "\x95\x5C?\x83\x5C?.mid");
  // Bytes that are not UTF-8 become one '?' each, also a sequence cut off at the end.
  EXPECT_EQ(Utf8ToSjisReplacing("a\xFF\xFE"
                                "b\xE8\xA1"),
            "a??b??");
  EXPECT_EQ(Utf8ToSjisReplacing("plain"), "plain");
  EXPECT_EQ(Utf8ToSjisReplacing(""), "");
}

TEST(Encoding, InvalidShiftJisBecomesReplacementCharacter) {
  // A lone lead byte at the end and an undefined byte in the middle.
  EXPECT_EQ(SjisToUtf8("a\xA0"
                       "b\x81"),
            "a\xEF\xBF\xBD"
            "b\xEF\xBF\xBD");
}

TEST(Encoding, LongTextsConvertWhole) {
  std::string utf8;
  for (int i = 0; i < 2000; ++i) utf8 += "音";
  EXPECT_EQ(Sjis(utf8).size(), 4000u);
}

TEST(Encoding, Utf16BecomesUtf8UpToAFault) {
  using enum std::endian;
  const std::tuple<std::string, std::endian, std::string, bool> cases[] = {
      {{"\x68\x88\x3C\xD8\xB5\xDF", 6}, little, "表\xF0\x9F\x8E\xB5", true},
      {{"\x88\x68\0a", 4}, big, "表a", true},
      {{"a\0\xB5\xDF", 4}, little, "a", false},  // a lone low surrogate
      {{"a\0b", 3}, little, "a", false},         // an odd byte at the end
  };
  for (const auto& [bytes, order, utf8, whole] : cases) {
    const Utf16Decoded decoded = Utf16ToUtf8(bytes, order);
    EXPECT_EQ(decoded.utf8, utf8);
    EXPECT_EQ(decoded.whole, whole);
  }
}

TEST(SjisScan, TrailByteIsNeverASeparator) {
  const std::string path = Sjis("C:\\表\\ソ");
  auto is_backslash = [](unsigned char b) { return b == '\\'; };
  EXPECT_EQ(FindLastSingleByte(path, is_backslash), 5u);
  EXPECT_TRUE(IsCharacterStart(path, 3));
  EXPECT_FALSE(IsCharacterStart(path, 4));
  EXPECT_TRUE(IsCharacterStart(path, 5));
  EXPECT_FALSE(IsCharacterStart(Sjis("表"), 1));
}

TEST(Encoding, Utf8TextIsValidUtf8WithAMultiByteCharacter) {
  struct Case {
    std::string bytes;
    bool cut_at_end;
    bool utf8;
  };
  const Case cases[] = {
      {"曲.mid", false, true},
      {"plain ascii", false, false},
      {Sjis("曲.mid"), false, false},
      {"\xC0\xAF", false, false},          // overlong
      {"\xED\xA0\x80", false, false},      // surrogate
      {"\xF4\x90\x80\x80", false, false},  // beyond U+10FFFF
      {"曲\xE6\x9B", false, false},
      {"曲\xE6\x9B", true, true},  // cut inside the last
  };
  for (const Case& c : cases) EXPECT_EQ(IsUtf8Text(c.bytes, c.cut_at_end), c.utf8) << c.bytes;
}

}  // namespace
}  // namespace quillmar
