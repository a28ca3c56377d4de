#include "lists/text_helpers.h"

#include <gtest/gtest.h>

#include "platform/encoding.h"
#include "support/recording_sink.h"

namespace quillmar {
namespace {

using testing::RecordingSink;

std::string VarLen(std::uint32_t value) {
  std::string out;
  const int count = EncodeVarLen(value, out);
  EXPECT_EQ(count, static_cast<int>(out.size()));
  return out;
}

TEST(EncodeVarLen, WritesTheStandardQuantity) {
  EXPECT_EQ(VarLen(0), std::string(1, '\0'));
  EXPECT_EQ(VarLen(127), "\x7F");
  EXPECT_EQ(VarLen(128), std::string("\x81\x00", 2));
  EXPECT_EQ(VarLen(16383), "\xFF\x7F");
  EXPECT_EQ(VarLen(16384), std::string("\x81\x80\x00", 3));
  EXPECT_EQ(VarLen(2097151), "\xFF\xFF\x7F");
  EXPECT_EQ(VarLen(2097152), std::string("\x81\x80\x80\x00", 4));
  EXPECT_EQ(VarLen(268435455), "\xFF\xFF\xFF\x7F");
  EXPECT_EQ(VarLen(0xFFFFFFFF), "\xFF\xFF\xFF\x7F") << "limited to four bytes";
}

TEST(StripMacBinaryHeader, MovesTheImageDownOnlyWhenTheMarkerFollows) {
  std::string image(128, 'm');
  image += "MThd rest";
  std::string unchanged = image;
  unchanged[128] = 'X';
  std::string copy = unchanged;
  EXPECT_FALSE(StripMacBinaryHeader(copy, "MThd"));
  EXPECT_EQ(copy, unchanged);
  EXPECT_TRUE(StripMacBinaryHeader(image, "MThd"));
  EXPECT_EQ(image, "MThd rest");
  std::string short_image(100, 'x');
  EXPECT_FALSE(StripMacBinaryHeader(short_image, std::nullopt));
  EXPECT_FALSE(StripMacBinaryHeader(short_image, "MThd"));
  std::string exact(130, 'x');
  EXPECT_FALSE(StripMacBinaryHeader(exact, "MThd")) << "marker runs past the end";
  EXPECT_TRUE(StripMacBinaryHeader(exact, std::nullopt));
  EXPECT_EQ(exact, "xx");
}

TEST(SplitBySemicolon, CountsPartsAsTheListsWriteThem) {
  EXPECT_TRUE(SplitBySemicolon("", 8).empty());
  EXPECT_EQ(SplitBySemicolon("a;b;", 8), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(SplitBySemicolon("a;;b", 8), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(SplitBySemicolon(";", 8), (std::vector<std::string>{""}));
  EXPECT_EQ(SplitBySemicolon("a", 8), (std::vector<std::string>{"a"}));
}

TEST(SplitBySemicolon, NeverGivesMorePartsThanAsked) {
  EXPECT_EQ(SplitBySemicolon("1;2;3;4;5", 3), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_TRUE(SplitBySemicolon("1;2", 0).empty());
}

TEST(LeadingInteger, ReadsLikeAtoiWithoutOverflow) {
  EXPECT_EQ(LeadingInteger(" 42abc"), 42);
  EXPECT_EQ(LeadingInteger("-7"), -7);
  EXPECT_EQ(LeadingInteger("+3"), 3);
  EXPECT_EQ(LeadingInteger("x1"), 0);
  EXPECT_EQ(LeadingInteger(""), 0);
  EXPECT_EQ(LeadingInteger("99999999999999999999"), 2147483647);
  EXPECT_EQ(LeadingInteger("-99999999999999999999"), -2147483647 - 1);
  EXPECT_EQ(LeadingInteger("1e308"), 1);
  EXPECT_EQ(LeadingInteger(Sjis("１２")), 0) << "full-width digits are no digits";
}

TEST(SplitPair, ReadsBothSidesOfTheColon) {
  EXPECT_EQ(SplitPair("12:34"), std::make_pair(12, 34));
  EXPECT_EQ(SplitPair("5:"), std::make_pair(5, 0));
  EXPECT_EQ(SplitPair("1:2:3"), std::make_pair(1, 2));
  EXPECT_EQ(SplitPair("12"), std::nullopt);
}

TEST(SplitKeyValue, SplitsAtTheFirstEquals) {
  EXPECT_EQ(SplitKeyValue("Program=5=6"),
            std::make_pair(std::string("Program"), std::string("5=6")));
  EXPECT_EQ(SplitKeyValue("Top"), std::make_pair(std::string("Top"), std::string()));
  EXPECT_EQ(SplitKeyValue("=1"), std::make_pair(std::string(), std::string("1")));
}

TEST(SplitKeyOpValue, SplitsAtTheFirstOperator) {
  const auto less = SplitKeyOpValue("Note<60=x");
  EXPECT_EQ(less.key, "Note");
  EXPECT_EQ(less.op, "<");
  EXPECT_EQ(less.value, "60=x");
  const auto none = SplitKeyOpValue("Velocity");
  EXPECT_EQ(none.key, "Velocity");
  EXPECT_TRUE(none.op.empty());
  EXPECT_TRUE(none.value.empty());
}

TEST(IsAllDigits, EmptyCountsAsDigits) {
  EXPECT_TRUE(IsAllDigits(""));
  EXPECT_TRUE(IsAllDigits("0123456789"));
  EXPECT_FALSE(IsAllDigits("12a"));
  EXPECT_FALSE(IsAllDigits("-1"));
}

TEST(ContainsText, FindsPatternsOnCharacterBoundaries) {
  EXPECT_TRUE(ContainsText("Loop Start", "Start"));
  EXPECT_TRUE(ContainsText("abc", ""));
  EXPECT_FALSE(ContainsText("", ""));
  EXPECT_FALSE(ContainsText("abc", "abcd"));
  // "ア" is 0x83 0x41: its trail byte is no 'A'.
  EXPECT_FALSE(ContainsText(Sjis("アイ"), "A"));
  EXPECT_TRUE(ContainsText(Sjis("アA"), "A"));
  EXPECT_TRUE(ContainsText(Sjis("曲名ソ"), Sjis("ソ")));
}

TEST(Tempo, ConvertsBetweenMicrosecondsAndBeatsPerMinute) {
  EXPECT_EQ(TempoToBpm(500000), 120);
  EXPECT_EQ(BpmToTempo(120), 500000);
  EXPECT_EQ(BpmToTempo(7), 8571000);
}

TEST(Tempo, ZeroNeverDivides) {
  EXPECT_EQ(BpmToTempo(0), std::nullopt);
  EXPECT_EQ(TempoToBpm(999), std::nullopt);
}

}  // namespace
}  // namespace quillmar
