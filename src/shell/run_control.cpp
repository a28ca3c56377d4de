#include "shell/run_control.h"

#include <algorithm>
#include <new>
#include <system_error>
#include <vector>

#include "lists/general_error.h"
#include "model/model_context.h"
#include "pipeline/conversion_driver.h"
#include "platform/encoding.h"
#include "platform/files.h"
#include "report/message_catalogue.h"
#include "report/report.h"
#include "shell/output_check.h"

namespace quillmar {
namespace {

// The folder prompt's title for a slot (1-6) and an output format.
std::string FolderPromptTitle(int slot_number, OutputFormat format) {
  static constexpr PerOutputFormat<std::string_view> kEndings = {
      {"] select folder for original format.", "] select folder for format 0.",
       "] select folder for format 1."}};
  return "[output " + std::to_string(slot_number) + std::string(kEndings[format]);
}

// The closing lines of a run: that it was stopped before its end, after how many of how
// many row conversions; and which lists reported errors.
void ReportRunEnd(Reporter& reporter, int converted, int total,
                  const std::vector<std::string>& lists_with_errors) {
  if (converted < total) {
    ReportText(reporter, Sjis("処理を中止しました（") + std::to_string(total) + Sjis(" 行のうち ") +
                             std::to_string(converted) + Sjis(" 行を変換しました）。"));
  }
  if (lists_with_errors.empty()) return;
  std::string names;
  for (const std::string& name : lists_with_errors) {
    names += (names.empty() ? "" : ", ") + name;
  }
  ReportText(reporter, Sjis("誤りを報告したリスト: ") + names);
}

// Removes a run's work folder; one that cannot be removed is named, so that nothing temporary
// is left behind unsaid.
void RemoveWorkFolder(Reporter& reporter, const std::string& work_folder) {
  if (RemoveFolderTree(work_folder)) return;
  ReportText(reporter, Sjis("作業フォルダを削除できませんでした。"));
  ReportDetail(reporter, work_folder);
}

}  // namespace

RunControl::RunControl(Workspace& workspace, UserInterface& user_interface, Reporter& reporter)
    : workspace_(workspace), user_interface_(user_interface), reporter_(reporter) {}

RunControl::~RunControl() {
  RequestStop();
  Wait();
}

void RunControl::Wait() {
  if (worker_.joinable()) worker_.join();
}

RunControl::ExecuteResult RunControl::Execute() {
  if (run_flag_.load()) {
    RequestStop();
    return ExecuteResult::StopRequested;
  }
  const auto& file_list = workspace_.FileList();
  if (!file_list) {
    ShowMessageBox(reporter_, Sjis("ファイル設定リストが指定されていません。"));
    return ExecuteResult::Refused;
  }
  if (file_list->RowCount() == 0) {
    ShowMessageBox(
        reporter_,
        Sjis("ファイル設定リストのファイルが開けませんでした。使用中の可能性があります。\r\n"
             "EXCELなど他のファイルを全て閉じたあと、このアプリケーションを一旦閉じて、再起動して"
             "ください。\r\nもしくは、フォルダの違うリストファイルが指定されている可能性があります"
             "。"));
    return ExecuteResult::Refused;
  }
  workspace_.SaveSwitches();
  // The folders are known once asked, so the questions about overwriting come after them,
  // and missing folders are made only once the run is sure to start.
  if (!AskFolders() || !ConfirmOverwrites() || !MakeOutputFolders()) {
    return ExecuteResult::Refused;
  }

  const std::string parent = work_parent_.empty() ? SystemTemporaryFolder() : work_parent_;
  std::optional<std::string> work_folder = MakeTemporaryFolder(parent);
  if (!work_folder) {
    ReportMessage(reporter_, kGeneralMessage);
    ReportDetail(reporter_, parent);
    return ExecuteResult::Refused;
  }
  Wait();                         // the previous run's worker has ended; collect it
  FlushRepeatedLines(reporter_);  // lines held back come before the run's own
  run_flag_.store(true);
  stop_request_.store(false);
  incomplete_rows_.store(0);
  list_errors_.store(0);
  try {
    worker_ = std::thread(&RunControl::Work, this, *work_folder);
  } catch (const std::system_error&) {  // no memory or no thread left for the worker
    run_flag_.store(false);
    RemoveWorkFolder(reporter_, *work_folder);
    ReportGeneralError(reporter_, kOutOfMemory);
    return ExecuteResult::Refused;
  }
  return ExecuteResult::Started;
}

// One question for each kind of overwrite, each at most once per Execute.
bool RunControl::ConfirmOverwrites() const {
  const OutputConflicts conflicts = FindOutputConflicts(workspace_);
  if (conflicts.overwritten_input &&
      !user_interface_.ConfirmOverwrite(
          Sjis("入力ファイル名と出力ファイル名が同じものがあります。これらのファイルは上書き"
               "されますが、よろしいですか？"),
          *conflicts.overwritten_input)) {
    return false;
  }
  return !conflicts.written_twice ||
         user_interface_.ConfirmOverwrite(
             Sjis("同じ出力ファイルに複数の変換結果が書き込まれます。後に書かれたものが残りますが、"
                  "よろしいですか？"),
             *conflicts.written_twice);
}

bool RunControl::AskFolders() {
  const FormatChoices& formats = workspace_.Formats();
  for (int index = 0; index < kSlotCount; ++index) {
    OutputSlot& slot = workspace_.Slot(index);
    // A slot with lists is always asked; slot 1, which is always converted, is asked for the
    // folders that nobody has chosen yet, so that nothing lands in a folder nobody chose.
    const bool has_lists = slot.HasEnabledList();
    if (!has_lists && index != 0) continue;
    for (const OutputFormat format : kOutputFormats) {
      std::string& folder = slot.folders[format];
      if (!formats.Checked(format) || (!has_lists && !folder.empty())) continue;
      auto chosen = user_interface_.PickFolder(FolderPromptTitle(index + 1, format), folder);
      if (!chosen) return false;
      // A drive root such as C:\ is kept without its separator, as a folder text.
      if (chosen->size() == 3 && chosen->back() == '\\') chosen->pop_back();
      folder = *std::move(chosen);
    }
  }
  return true;
}

bool RunControl::MakeOutputFolders() const {
  const FormatChoices& formats = workspace_.Formats();
  for (int index = 0; index < kSlotCount; ++index) {
    const OutputSlot& slot = workspace_.Slot(index);
    if (!workspace_.Converts(index)) continue;
    for (const OutputFormat format : kOutputFormats) {
      const std::string& folder = slot.folders[format];
      if (!formats.Checked(format) || folder.empty() || IsFolder(folder)) continue;
      if (const auto reason = MakeFolderTree(folder)) {
        ReportText(reporter_, Sjis("出力フォルダを作れませんでした。"));
        ReportDetail(reporter_, folder + " (" + Utf8ToSjisReplacing(*reason) + ")");
        return false;
      }
    }
  }
  return true;
}

void RunControl::Work(std::string work_folder) {
  Reporter reporter(reporter_.Sink());  // the run's own: its findings never mix with others
  ModelContext context(reporter);
  SettingsList& file_list = *workspace_.FileList();
  const int rows = file_list.RowCount() - 1;
  std::vector<int> slots;  // the slots converted: slot 1, and every slot with a list on
  for (int index = 0; index < kSlotCount; ++index) {
    if (workspace_.Converts(index)) slots.push_back(index);
  }
  int converted = 0;
  std::vector<std::string> lists_with_errors;  // "name (output N)", as first reported
  for (const int index : slots) {
    ConversionDriver driver(context, edit_notices_, workspace_.Slot(index), workspace_.Formats(),
                            work_folder);
    for (int row = 1; row <= rows && !stop_request_.load(); ++row) {
      user_interface_.ShowRow(index + 1, row, rows);
      AppendResultLine(reporter, file_list.Cell(row, kInputColumn));
      std::string output_name = file_list.Cell(row, kOutputColumn);
      ConversionDriver::RowResult result;
      // A row that runs out of memory gives up alone: what it held is freed on the way
      // out, its files are written whole or not at all, and the next row starts afresh.
      try {
        result = driver.Convert(file_list.Cell(row, kInputColumn), output_name,
                                file_list.Cell(row, kTitleColumn),
                                file_list.Cell(row, kCopyrightColumn));
      } catch (const std::bad_alloc&) {
        ReportGeneralError(reporter, kOutOfMemory);
      }
      if (!result.complete) ++incomplete_rows_;
      for (const std::string& name : result.lists_with_errors) {
        const std::string entry = name + " (output " + std::to_string(index + 1) + ")";
        if (std::find(lists_with_errors.begin(), lists_with_errors.end(), entry) ==
            lists_with_errors.end()) {
          lists_with_errors.push_back(entry);
        }
      }
      file_list.SetCell(row, kOutputColumn, std::move(output_name));
      ++converted;
    }
  }
  FlushRepeatedLines(reporter);
  ReportRunEnd(reporter, converted, rows * static_cast<int>(slots.size()), lists_with_errors);
  list_errors_.store(reporter.ListErrors());
  RemoveWorkFolder(reporter, work_folder);
  stop_request_.store(false);
  run_flag_.store(false);
  ShowMessageBox(reporter, Sjis("処理が終了しました"));
}

}  // namespace quillmar
