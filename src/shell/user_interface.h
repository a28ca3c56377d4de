#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillmar {

// What the application asks of the person in front of it, beyond the result list and the
// information boxes that go through the report sink. The desktop window and the command line
// each implement it; all texts are Shift_JIS.
class UserInterface {
 public:
  virtual ~UserInterface() = default;

  // A question with OK and Cancel before a run writes over a file; `first_file` names the
  // first file concerned. True for OK.
  virtual bool ConfirmOverwrite(std::string_view question, std::string_view first_file) = 0;

  // The folder picker with its title and the folder selected at first; nullopt when the
  // person cancels.
  virtual std::optional<std::string> PickFolder(std::string_view title,
                                                std::string_view initial_folder) = 0;

  // The file-list row about to be converted: slot (1-6), row (1 for the first data row) and
  // the number of data rows. Called from the worker.
  virtual void ShowRow(int slot, int row, int rows) = 0;
};

}  // namespace quillmar
