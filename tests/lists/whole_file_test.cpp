#include "lists/whole_file.h"

#include <gtest/gtest.h>

#include "lists/general_error.h"
#include "platform/encoding.h"
#include "platform/files.h"
#include "support/recording_sink.h"
#include "support/temp_folder.h"

namespace quillmar {
namespace {

using testing::RecordingSink;

class WholeFileTest : public ::testing::Test {
 protected:
  testing::TempFolder folder_;
  const std::string& root_ = folder_.Path();
};

TEST_F(WholeFileTest, FileOfExactlyTheLimitIsReadWholeAndReported) {
  RecordingSink sink;
  const std::string path = root_ + "/big.mid";
  ASSERT_TRUE(WriteWholeFile(sink.Reports(), path, std::string(kWholeFileLimit, 'x')));
  std::string bytes;
  EXPECT_TRUE(ReadWholeFile(sink.Reports(), path, bytes));
  EXPECT_EQ(bytes.size(), kWholeFileLimit);
  EXPECT_EQ(sink.CountReported("データが大きすぎます。"), 1);
}

TEST_F(WholeFileTest, LargerFilesAreCutAtTheLimit) {
  RecordingSink sink;
  const std::string path = root_ + "/bigger.mid";
  ASSERT_TRUE(WriteWholeFile(sink.Reports(), path, std::string(kWholeFileLimit + 10, 'x')));
  std::string bytes;
  EXPECT_TRUE(ReadWholeFile(sink.Reports(), path, bytes));
  EXPECT_EQ(bytes.size(), kWholeFileLimit);
  EXPECT_EQ(sink.CountReported("データが大きすぎます。"), 1);
}

TEST_F(WholeFileTest, SmallerFilesAreReadSilently) {
  RecordingSink sink;
  const std::string path = Sjis(root_ + "/表.mid");
  ASSERT_TRUE(WriteWholeFile(sink.Reports(), path, "MThd"));
  std::string bytes;
  EXPECT_TRUE(ReadWholeFile(sink.Reports(), path, bytes));
  EXPECT_EQ(bytes, "MThd");
  EXPECT_TRUE(sink.Lines().empty());
}

TEST_F(WholeFileTest, FilesThatDoNotOpenAreReported) {
  RecordingSink sink;
  std::string bytes = "old";
  EXPECT_FALSE(ReadWholeFile(sink.Reports(), root_ + "/missing.mid", bytes));
  EXPECT_TRUE(bytes.empty());
  EXPECT_FALSE(WriteWholeFile(sink.Reports(), root_ + "/no/such/folder.mid", "x"));
  EXPECT_EQ(sink.CountReported(
                "ファイルが開けませんでした。ファイルリストを絶対パスで記述してみてください。"),
            2);
}

TEST(GeneralError, UnknownCodesGiveTheContextText) {
  RecordingSink sink;
  ReportGeneralError(sink.Reports(), kOutOfMemory);
  ReportGeneralError(sink.Reports(), kGeneralInternalError);
  ReportGeneralError(sink.Reports(), 77);
  const auto lines = sink.Lines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "            メモリーが不足しています。");
  EXPECT_EQ(lines[1], "            Generalでエラーが発生しました。");
  EXPECT_EQ(lines[2], lines[1]);
}

}  // namespace
}  // namespace quillmar
