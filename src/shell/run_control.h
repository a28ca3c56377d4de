#pragma once

#include <atomic>
#include <string>
#include <thread>

#include "edit/edit_notices.h"
#include "shell/user_interface.h"
#include "shell/workspace.h"

namespace quillmar {

// Starts and stops conversion runs: the Execute button's checks, refusals and folder
// prompts, and the worker thread that converts every file-list row for slot 1 and for every
// slot with a list switched on. The workspace must not change while a run is in progress;
// the front ends disable what would change it.
class RunControl {
 public:
  enum class ExecuteResult { Started, StopRequested, Refused };

  // `reporter` takes what Execute reports; each run reports through a reporter of its own
  // into the same sink.
  RunControl(Workspace& workspace, UserInterface& user_interface, Reporter& reporter);
  // Asks a run in progress to stop after its current row and waits for it.
  ~RunControl();
  RunControl(const RunControl&) = delete;
  RunControl& operator=(const RunControl&) = delete;

  // Makes each run's private work folder inside this folder instead of the system's
  // temporary folder.
  void SetWorkParent(std::string sjis_folder) { work_parent_ = std::move(sjis_folder); }

  // The Execute button: during a run, asks it to stop; otherwise checks the settings, asks
  // the output folders, asks before the run would write over one of its inputs or lists or
  // write one file twice, makes the output folders that are missing, and starts a run.
  ExecuteResult Execute();

  // True from the start of a run until its worker has converted its last row.
  bool Running() const { return run_flag_.load(); }
  // Asks the run to stop after the row in hand.
  void RequestStop() { stop_request_.store(true); }
  // Waits until the worker of the last run has ended (its completion message closed).
  void Wait();

  // The rows of the last run that did not write every output asked of them (also those
  // whose input could not be read). Read it after Wait.
  int IncompleteRows() const { return incomplete_rows_.load(); }
  // The list errors that the last run reported. Read it after Wait.
  int ListErrors() const { return list_errors_.load(); }

 private:
  [[nodiscard]] bool ConfirmOverwrites() const;
  [[nodiscard]] bool AskFolders();
  // Makes the missing output folders of the converted slots' checked formats; false, with
  // the folder and the reason reported, when one cannot be made.
  [[nodiscard]] bool MakeOutputFolders() const;
  void Work(std::string work_folder);

  Workspace& workspace_;
  UserInterface& user_interface_;
  std::string work_parent_;
  Reporter& reporter_;
  std::atomic<int> incomplete_rows_{0};
  std::atomic<int> list_errors_{0};
  EditNotices edit_notices_;  // shown once while the program runs, whatever the runs
  std::atomic<bool> run_flag_{false};
  std::atomic<bool> stop_request_{false};
  std::thread worker_;
};

}  // namespace quillmar
