#include "report/report.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/encoding.h"
#include "report/file_dialog_errors.h"
#include "report/message_catalogue.h"
#include "support/recording_sink.h"

namespace quillmar {
namespace {

using testing::RecordingSink;

TEST(ReportText, IndentsByTwelveBlanks) {
  RecordingSink sink;
  ReportText(sink.Reports(), Sjis("テスト"));
  ASSERT_EQ(sink.Lines().size(), 1u);
  EXPECT_EQ(sink.Lines()[0], "            テスト");
}

TEST(ReportMessage, UnknownCodesGiveTheGeneralText) {
  RecordingSink sink;
  ReportMessage(sink.Reports(), 0);
  ReportMessage(sink.Reports(), 19);
  ReportMessage(sink.Reports(), 3);
  ReportMessage(sink.Reports(), -1);
  EXPECT_EQ(sink.CountReported("エラーがおきました。"), 4);
}

TEST(ReportMessage, CataloguedCodesGiveTheirTexts) {
  RecordingSink sink;
  ReportMessage(sink.Reports(), kMidiAlreadyListed);
  ReportMessage(sink.Reports(), kNoSongTitle);
  ReportMessage(sink.Reports(), kNotesSilencedByGate);
  const auto lines = sink.Lines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "            すでにリスト内に登録されているMidiファイルです。");
  EXPECT_EQ(lines[1], "            ソングタイトルが設定されていませんでした。");
  EXPECT_EQ(lines[2], "            ゲートタイムを操作した結果、発音されなくなった音があります。");
}

TEST(ReportDetail, PutsTheLabelBetweenIndentAndText) {
  RecordingSink sink;
  ReportDetail(sink.Reports(), "Conv");
  ASSERT_EQ(sink.Lines().size(), 1u);
  EXPECT_EQ(sink.Lines()[0], std::string(15, ' ') + "問題のある指定  Conv");
}

TEST(ReportDetail, LongTextsAreKeptWhole) {
  RecordingSink sink;
  const std::string path(600, 'p');
  ReportDetail(sink.Reports(), path);
  EXPECT_EQ(sink.RawLines()[0].size(), 12 + 3 + 14 + 2 + 600u);
}

// A preview beside a run: two reporters into one sink keep their own floods and counts.
TEST(Reporter, TwoReportersIntoOneSinkNeverMixTheirFindings) {
  RecordingSink sink;
  Reporter run(sink);
  Reporter preview(sink);
  for (int i = 0; i < 150; ++i) ReportText(run, Sjis("同じ"));
  ReportText(preview, Sjis("別"), Finding::ListError);
  ReportText(run, Sjis("次"));
  const auto lines = sink.Lines();
  ASSERT_EQ(lines.size(), 100u + 3u);
  EXPECT_EQ(lines[100], "            別") << "the preview's line does not end the run's flood";
  EXPECT_EQ(lines[101], "            上と同じメッセージがさらに 50 件ありました。");
  EXPECT_EQ(run.ListErrors(), 0);
  EXPECT_EQ(preview.ListErrors(), 1);
}

TEST(ReportText, LinesOfTwoThreadsAllArriveInEachThreadsOrder) {
  RecordingSink sink;
  auto report = [&sink](char tag) {
    Reporter reporter(sink);  // each thread reports through its own
    for (int i = 0; i < 500; ++i) ReportText(reporter, std::string(1, tag) + std::to_string(i));
  };
  std::thread worker(report, 'w');
  report('u');
  worker.join();
  const auto lines = sink.Lines();
  ASSERT_EQ(lines.size(), 1000u);
  int next_w = 0;
  int next_u = 0;
  for (const auto& line : lines) {
    const char tag = line[12];
    const int number = std::stoi(line.substr(13));
    EXPECT_EQ(number, tag == 'w' ? next_w++ : next_u++);
  }
}

TEST(ReportText, AFloodOfOneLineIsHeldBackAndSummed) {
  RecordingSink sink;
  for (int i = 0; i < 150; ++i) ReportText(sink.Reports(), Sjis("同じ"));
  ReportText(sink.Reports(), Sjis("次"));
  std::vector<std::string> expected(100, "            同じ");
  expected.push_back("            上と同じメッセージがさらに 50 件ありました。");
  expected.push_back("            次");
  EXPECT_EQ(sink.Lines(), expected);

  for (int i = 0; i < 110; ++i) AppendResultLine(sink.Reports(), "x");
  ShowMessageBox(sink.Reports(), Sjis("箱"));
  EXPECT_EQ(sink.Lines().back(), "            上と同じメッセージがさらに 10 件ありました。")
      << "the held-back lines are summed before a message box";
}

TEST(FileDialogError, TextsKeepTheirTrailingBlankAndUnknownCodesAreUndefined) {
  EXPECT_EQ(SjisToUtf8(FileDialogErrorText(0x3002)), "ファイル名が無効です。 ");
  EXPECT_EQ(SjisToUtf8(FileDialogErrorText(13)), "未定義のエラーです。");
  EXPECT_EQ(SjisToUtf8(FileDialogErrorText(2)),
            "処理に失敗しました。もう１度クリックしてみてください。");
}

TEST(FileDialogError, ShowsABoxAndNeverAListLine) {
  RecordingSink sink;
  ReportFileDialogError(sink.Reports(), 0);
  ReportFileDialogError(sink.Reports(), 0xFFFF);
  EXPECT_TRUE(sink.Lines().empty());
  ASSERT_EQ(sink.Messages().size(), 1u);
  EXPECT_EQ(sink.Messages()[0].rfind("ダイアログボックスが作成できませんでした。", 0), 0u);
}

}  // namespace
}  // namespace quillmar

namespace quillmar {
namespace {

// A sink whose result list does not exist yet.
class SinkBeforeTheList : public testing::RecordingSink {
 public:
  bool HasResultList() const override { return false; }
};

TEST(ReportText, BeforeTheResultListExistsReportsAreBareMessageBoxes) {
  SinkBeforeTheList sink;
  ReportText(sink.Reports(), Sjis("早い報告"));
  EXPECT_TRUE(sink.Lines().empty());
  EXPECT_EQ(sink.Messages(), (std::vector<std::string>{"早い報告"}));
}

}  // namespace
}  // namespace quillmar
