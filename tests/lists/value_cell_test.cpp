#include "lists/value_cell.h"

#include <gtest/gtest.h>

#include "platform/encoding.h"
#include "support/recording_sink.h"

namespace quillmar {
namespace {

using testing::RecordingSink;

struct Case {
  std::string cell;
  int number;
  std::optional<ValueMode> mode;
  int data_errors;
  int space_errors;
};

void ExpectParses(const Case& c) {
  RecordingSink sink;
  const ValueCell value = ParseValueCell(sink.Reports(), c.cell);
  EXPECT_EQ(value.number, c.number) << c.cell;
  EXPECT_EQ(value.mode, c.mode) << c.cell;
  EXPECT_EQ(sink.CountReported("リストファイルのデータにエラーがあります。"), c.data_errors)
      << c.cell;
  EXPECT_EQ(sink.CountReported("リストファイルに無駄なスペースが含まれています。"), c.space_errors)
      << c.cell;
}

TEST(ParseValueCell, ReadsNumbersAndModeSigns) {
  const Case cases[] = {
      {"64", 64, ValueMode::SetValue, 0, 0},        {"+5", 5, ValueMode::AddValue, 0, 0},
      {"#5", 5, ValueMode::AddValue, 0, 0},         {"-5", 5, ValueMode::SubtractValue, 0, 0},
      {"150%", 150, ValueMode::PercentValue, 0, 0}, {"%150", 150, ValueMode::PercentValue, 0, 0},
      {"-", 0, ValueMode::KeepValue, 0, 0},         {"5-", 5, ValueMode::KeepValue, 0, 0},
  };
  for (const Case& c : cases) ExpectParses(c);
}

TEST(ParseValueCell, ReportsStrayBytesAndIgnoresThem) {
  const Case cases[] = {
      {"", -1, std::nullopt, 1, 0},
      {"+5%", 5, ValueMode::AddValue, 1, 0},
      {"-5-", 5, ValueMode::SubtractValue, 1, 0},  // a second sign, even a final '-'
      {"1 0", 10, ValueMode::SetValue, 0, 1},
      {" -", 0, ValueMode::KeepValue, 0, 1},
      {"x7y", 7, ValueMode::SetValue, 2, 0},
      // One report per double-byte character, whatever its bytes look like.
      {Sjis("1表2５"), 12, ValueMode::SetValue, 2, 0},
      {"+" + Sjis("ソ"), 0, ValueMode::AddValue, 1, 0},
  };
  for (const Case& c : cases) ExpectParses(c);
}

TEST(ParseValueCell, LongDigitRunsStopAtTheLimit) {
  const Case cases[] = {
      {"999999", 999999, ValueMode::SetValue, 0, 0},
      {"1000000", kMaxValueCellNumber, ValueMode::SetValue, 0, 0},
      {"+98765432109876543210", kMaxValueCellNumber, ValueMode::AddValue, 0, 0},
      {"-9223372036854775808", kMaxValueCellNumber, ValueMode::SubtractValue, 0, 0},
      {"1e308", 1308, ValueMode::SetValue, 1, 0},
  };
  for (const Case& c : cases) ExpectParses(c);
}

}  // namespace
}  // namespace quillmar
