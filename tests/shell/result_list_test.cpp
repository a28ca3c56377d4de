#include "shell/result_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "platform/encoding.h"
#include "report/report.h"
#include "support/recording_sink.h"
#include "support/temp_folder.h"

namespace quillmar {
namespace {

using testing::RecordingSink;
using testing::TempFolder;

TEST(ResultList, KeepsLinesInOrderAndGivesNothingPastTheEnd) {
  ResultList list;
  list.Append("/songs/a.mid");
  list.Append("            x");
  EXPECT_EQ(list.Count(), 2u);
  EXPECT_EQ(list.Line(1), "            x");
  EXPECT_EQ(list.Line(2), "");
}

TEST(SaveResultList, WritesEveryLineAsShownEndedByCrLf) {
  RecordingSink sink;
  const TempFolder folder;
  folder.Write("v.txt", "old content that is longer than the new one");
  ResultList list;
  const std::string long_line(1000, 'z');
  list.Append(Sjis("/曲/表.mid"));
  list.Append(std::string(kReportIndent) + Sjis("ソ"));
  list.Append(long_line);
  EXPECT_TRUE(SaveResultList(sink.Reports(), list, Sjis(folder / "v.txt")));
  EXPECT_EQ(folder.Read("v.txt"),
            Sjis("/曲/表.mid") + "\r\n            " + Sjis("ソ") + "\r\n" + long_line + "\r\n");
}

TEST(SaveResultList, EmptyListGivesAnEmptyFile) {
  RecordingSink sink;
  const TempFolder folder;
  EXPECT_TRUE(SaveResultList(sink.Reports(), ResultList(), Sjis(folder / "v.txt")));
  EXPECT_TRUE(std::filesystem::exists(folder / "v.txt"));
  EXPECT_EQ(folder.Read("v.txt"), "");
}

TEST(SaveResultList, UnwritableFileIsReportedAsAResultLine) {
  RecordingSink sink;
  const TempFolder folder;
  ResultList list;
  list.Append("line");
  EXPECT_FALSE(SaveResultList(sink.Reports(), list, Sjis(folder / "missing/v.txt")));
  EXPECT_EQ(sink.Lines(),
            std::vector<std::string>{
                std::string(kReportIndent) +
                "ファイルが開けませんでした。ファイルリストを絶対パスで記述してみてください。"});
}

TEST(SaveResultList, LinesAppendedWhileSavingAreSavedWholeAndInOrder) {
  RecordingSink sink;
  const TempFolder folder;
  ResultList list;
  for (int i = 0; i < 100; ++i) list.Append("before " + std::to_string(i));
  std::thread writer([&list] {
    for (int i = 0; i < 20000; ++i) list.Append("during " + std::to_string(i));
  });
  EXPECT_TRUE(SaveResultList(sink.Reports(), list, Sjis(folder / "v.txt")));
  writer.join();
  // The file holds a run of the list's first lines, at least those there when saving began.
  const std::string saved = folder.Read("v.txt");
  std::string expected;
  std::size_t count = 0;
  while (expected.size() < saved.size() && count < list.Count()) {
    expected += list.Line(count++) + "\r\n";
  }
  EXPECT_GE(count, 100u);
  EXPECT_EQ(saved, expected);
}

}  // namespace
}  // namespace quillmar
