#pragma once

#include <atomic>
#include <string>
#include <thread>

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

  RunControl(Workspace& workspace, UserInterface& user_interface);
  // Asks a run in progress to stop after its current row and waits for it.
  ~RunControl();
  RunControl(const RunControl&) = delete;
  RunControl& operator=(const RunControl&) = delete;

  // Uses this folder for the work files instead of a private temporary folder of each run.
  void SetWorkFolder(std::string sjis_folder) { work_folder_ = std::move(sjis_folder); }

  // The Execute button: during a run, asks it to stop; otherwise checks the settings, asks
  // the output folders and starts a run.
  ExecuteResult Execute();

  // True from the start of a run until its worker has converted its last row.
  bool Running() const { return run_flag_.load(); }
  // Asks the run to stop after the row in hand.
  void RequestStop() { stop_request_.store(true); }
  // Waits until the worker of the last run has ended (its completion message closed).
  void Wait();

 private:
  bool ConfirmSameNames() const;
  bool AskFolders();
  void Work(std::string work_folder, bool remove_work_folder);

  Workspace& workspace_;
  UserInterface& user_interface_;
  std::string work_folder_;
  std::atomic<bool> run_flag_{false};
  std::atomic<bool> stop_request_{false};
  std::thread worker_;
};

}  // namespace quillmar
