#pragma once

#include <cstdio>
#include <mutex>
#include <string>

#include "report/report.h"
#include "shell/result_list.h"
#include "shell/user_interface.h"

namespace quillmar {

// The person at a terminal: result lines go to standard output as they come (UTF-8, or
// Shift_JIS when asked), message boxes and questions to standard error, progress to standard
// error when it is a terminal. Folder prompts take the slot's current folder; a question is
// answered by --yes, and without it names the file concerned and how to decide.
class TerminalInterface : public ReportSink, public UserInterface {
 public:
  TerminalInterface(ResultList& results, bool sjis_output, bool answer_yes);

  void AppendLine(std::string_view line) override;
  void ShowMessage(std::string_view text) override;
  bool ConfirmOverwrite(std::string_view question, std::string_view first_file) override;
  std::optional<std::string> PickFolder(std::string_view title,
                                        std::string_view initial_folder) override;
  void ShowRow(int slot, int row, int rows) override;

 private:
  void ClearProgress();

  ResultList& results_;
  bool sjis_output_;
  bool answer_yes_;
  bool progress_on_terminal_;
  bool progress_shown_ = false;
  std::mutex mutex_;
};

}  // namespace quillmar
