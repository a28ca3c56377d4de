#include "shell/run_control.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <mutex>

#include "model/model_builders.h"
#include "platform/encoding.h"
#include "support/recording_sink.h"
#include "support/temp_folder.h"

namespace quillmar {
namespace {

using namespace quillmar::testing;

constexpr const char* kFinished = "処理が終了しました";

// Answers questions and folder prompts as told and records what it was asked.
class ScriptedInterface : public UserInterface {
 public:
  bool ConfirmOverwrite(std::string_view question, std::string_view first_file) override {
    questions.push_back(SjisToUtf8(question));
    files.push_back(SjisToUtf8(first_file));
    return answer_ok;
  }
  std::optional<std::string> PickFolder(std::string_view title,
                                        std::string_view initial_folder) override {
    prompts.emplace_back(title);
    if (cancel_prompts) return std::nullopt;
    return picked_folder.empty() ? std::string(initial_folder) : picked_folder;
  }
  void ShowRow(int slot, int row, int) override {
    rows_shown.fetch_add(1);
    if (on_row) on_row(slot, row);
  }

  bool answer_ok = true;
  bool cancel_prompts = false;
  std::string picked_folder;
  std::vector<std::string> questions;
  std::vector<std::string> files;
  std::vector<std::string> prompts;
  std::atomic<int> rows_shown{0};
  std::function<void(int, int)> on_row;
};

class RunControlTest : public ::testing::Test {
 protected:
  RunControlTest() : workspace_("/start") {
    workspace_.SetCurrentFolders(Sjis(output_.Path()));  // as a drop of the file list would
    const std::string body = Bytes({0x00, 0x90, 60, 90, 0x60, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00});
    input_.Write("a.mid", Smf(1, 96, {Chunk(body)}));
  }

  // A file list of `rows` rows converting a.mid; the output name is given.
  void LoadFileList(int rows, const std::string& output = "out.mid") {
    std::string text = "h1,h2,h3,h4,h5\r\n";
    for (int i = 1; i <= rows; ++i)
      text += std::to_string(i) + "," + (input_ / "a.mid") + "," + output + ",-,-\r\n";
    workspace_.LoadList(sink_.Reports(), ListKind::FileList, Sjis(input_.Write("f.csv", text)));
  }

  std::vector<std::string> InputLines() const {
    std::vector<std::string> lines;
    for (const auto& line : sink_.Lines()) {
      if (line == input_ / "a.mid") lines.push_back(line);
    }
    return lines;
  }

  RecordingSink sink_;
  TempFolder input_, output_;
  Workspace workspace_;
  ScriptedInterface ui_;
};

TEST_F(RunControlTest, RefusesWithoutAFileListOrWithAnUnreadableOne) {
  RunControl run(workspace_, ui_, sink_.Reports());
  EXPECT_EQ(run.Execute(), RunControl::ExecuteResult::Refused);
  workspace_.LoadList(sink_.Reports(), ListKind::FileList, Sjis(input_ / "missing.csv"));
  EXPECT_EQ(run.Execute(), RunControl::ExecuteResult::Refused);
  const auto boxes = sink_.Messages();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0], "ファイル設定リストが指定されていません。");
  EXPECT_EQ(boxes[1].rfind("ファイル設定リストのファイルが開けませんでした。", 0), 0u);
  EXPECT_TRUE(ui_.prompts.empty());
}

TEST_F(RunControlTest, OverwritesAskOneQuestionOfEachKindAndCancelStartsNothing) {
  constexpr const char* kSameNames =
      "入力ファイル名と出力ファイル名が同じものがあります。これらのファイルは上書きされますが、"
      "よろしいですか？";
  constexpr const char* kWrittenTwice =
      "同じ出力ファイルに複数の変換結果が書き込まれます。後に書かれたものが残りますが、"
      "よろしいですか？";
  // Three rows writing a.mid back into its own folder: over the input, and three times.
  LoadFileList(3, "a.mid");
  workspace_.SetCurrentFolders(Sjis(input_.Path()));
  const std::string original = input_.Read("a.mid");
  ui_.answer_ok = false;
  RunControl run(workspace_, ui_, sink_.Reports());
  EXPECT_EQ(run.Execute(), RunControl::ExecuteResult::Refused);
  EXPECT_EQ(ui_.questions, std::vector<std::string>{kSameNames});
  EXPECT_EQ(ui_.files, std::vector<std::string>{input_ / "a.mid"});
  EXPECT_EQ(input_.Read("a.mid"), original);

  ui_.answer_ok = true;
  ui_.questions.clear();
  ASSERT_EQ(run.Execute(), RunControl::ExecuteResult::Started);
  run.Wait();
  EXPECT_EQ(ui_.questions, (std::vector<std::string>{kSameNames, kWrittenTwice}));
}

TEST_F(RunControlTest, WithoutListsEveryRowIsConvertedOnceIntoSlotOnesFolders) {
  LoadFileList(1);
  RunControl run(workspace_, ui_, sink_.Reports());
  const TempFolder work;
  run.SetWorkParent(Sjis(work.Path()));
  ASSERT_EQ(run.Execute(), RunControl::ExecuteResult::Started);
  run.Wait();
  EXPECT_TRUE(ui_.prompts.empty());
  EXPECT_TRUE(ui_.questions.empty());
  EXPECT_EQ(InputLines().size(), 1u);
  EXPECT_NE(output_.Read("out.mid"), "");
  EXPECT_EQ(sink_.Messages(), (std::vector<std::string>{kFinished}));
  EXPECT_FALSE(run.Running());
  EXPECT_EQ(run.IncompleteRows(), 0);
  EXPECT_TRUE(std::filesystem::is_empty(work.Path())) << "the run's private folder is gone";
}

TEST_F(RunControlTest, AWorkFolderThatCannotBeMadeIsNamedAndStartsNothing) {
  LoadFileList(1);
  RunControl run(workspace_, ui_, sink_.Reports());
  run.SetWorkParent(Sjis(input_ / "missing"));
  EXPECT_EQ(run.Execute(), RunControl::ExecuteResult::Refused);
  EXPECT_EQ(sink_.Lines(),
            (std::vector<std::string>{
                std::string(kReportIndent) + "エラーがおきました。",
                std::string(kReportIndent) + "   問題のある指定  " + (input_ / "missing")}));
}

TEST_F(RunControlTest, RowsThatWriteNothingAreCounted) {
  const std::string text = "h1,h2,h3,h4,h5\r\n1," + (input_ / "a.mid") + ",a.mid,-,-\r\n" + "2," +
                           (input_ / "missing.mid") + ",b.mid,-,-\r\n";
  workspace_.LoadList(sink_.Reports(), ListKind::FileList, Sjis(input_.Write("f.csv", text)));
  RunControl run(workspace_, ui_, sink_.Reports());
  ASSERT_EQ(run.Execute(), RunControl::ExecuteResult::Started);
  run.Wait();
  EXPECT_EQ(run.IncompleteRows(), 1);
}

TEST_F(RunControlTest, SlotsWithListsAreAskedTheirFoldersAndConvertedToo) {
  LoadFileList(1);
  workspace_.Formats() = {true, true, false};
  workspace_.SelectSlot(2);
  workspace_.LoadList(sink_.Reports(), ListKind::Volume,
                      Sjis(input_.Write("v.csv", "a,b,c,d,e\r\n")));
  workspace_.SetSwitch(0, true);
  workspace_.SelectSlot(0);
  ui_.picked_folder = Sjis(output_.Path());
  RunControl run(workspace_, ui_, sink_.Reports());
  ASSERT_EQ(run.Execute(), RunControl::ExecuteResult::Started);
  run.Wait();
  EXPECT_EQ(ui_.prompts, (std::vector<std::string>{"[output 3] select folder for original format.",
                                                   "[output 3] select folder for format 0."}));
  EXPECT_EQ(InputLines().size(), 2u) << "slot 1 and slot 3";
  EXPECT_EQ(workspace_.CurrentSlot(), 0) << "the tab shown stays";
}

TEST_F(RunControlTest, SlotOneIsAskedTheFoldersThatNobodyChose) {
  LoadFileList(1);
  workspace_.Formats() = {true, false, true};
  workspace_.SetCurrentFolders("");
  workspace_.Slot(0).folders[OutputFormat::Format1] = Sjis(output_.Path());
  const TempFolder picked;
  ui_.picked_folder = Sjis(picked.Path());
  RunControl run(workspace_, ui_, sink_.Reports());
  ASSERT_EQ(run.Execute(), RunControl::ExecuteResult::Started);
  run.Wait();
  EXPECT_EQ(ui_.prompts, std::vector<std::string>{"[output 1] select folder for original format."});
  EXPECT_NE(picked.Read("out.mid"), "");
  EXPECT_NE(output_.Read("out.mid"), "");
}

TEST_F(RunControlTest, NoFormatCheckedAsksNoFolderAndACancelledPromptRefuses) {
  LoadFileList(1);
  workspace_.SetSwitch(1, true);
  workspace_.Formats() = {false, false, false};
  RunControl run(workspace_, ui_, sink_.Reports());
  ASSERT_EQ(run.Execute(), RunControl::ExecuteResult::Started);
  run.Wait();
  EXPECT_TRUE(ui_.prompts.empty());
  workspace_.Formats() = {false, true, false};
  ui_.cancel_prompts = true;
  EXPECT_EQ(run.Execute(), RunControl::ExecuteResult::Refused);
  EXPECT_EQ(ui_.prompts.size(), 1u);
}

TEST_F(RunControlTest, ExecuteDuringARunStopsItAfterTheCurrentRow) {
  LoadFileList(50);
  RunControl run(workspace_, ui_, sink_.Reports());
  std::mutex mutex;
  std::condition_variable second_row;
  bool reached = false;
  std::atomic<bool> proceed{false};
  ui_.on_row = [&](int, int row) {
    if (row != 2) return;
    {
      std::lock_guard lock(mutex);
      reached = true;
    }
    second_row.notify_one();
    while (!proceed.load()) std::this_thread::yield();
  };
  ASSERT_EQ(run.Execute(), RunControl::ExecuteResult::Started);
  {
    std::unique_lock lock(mutex);
    second_row.wait(lock, [&] { return reached; });
  }
  EXPECT_EQ(run.Execute(), RunControl::ExecuteResult::StopRequested);
  proceed.store(true);
  run.Wait();
  EXPECT_EQ(ui_.rows_shown.load(), 2) << "the row in hand is finished, no later one";
  EXPECT_EQ(sink_.Lines().back(),
            std::string(kReportIndent) + "処理を中止しました（50 行のうち 2 行を変換しました）。");
  EXPECT_EQ(sink_.Messages(), (std::vector<std::string>{kFinished}));
  ASSERT_EQ(run.Execute(), RunControl::ExecuteResult::Started) << "the next press runs again";
  run.Wait();
}

}  // namespace
}  // namespace quillmar
