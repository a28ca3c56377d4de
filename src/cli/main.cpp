// quillmar-cli: the headless front end. It takes its paths as if dropped on the window,
// presses Execute once and streams the result list to standard output.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/terminal_interface.h"
#include "lists/general_error.h"
#include "platform/files.h"
#include "platform/process_memory.h"
#include "shell/file_list_building.h"
#include "shell/result_list.h"
#include "shell/run_control.h"

namespace quillmar {
namespace {

constexpr int kRanToEnd = 0;
constexpr int kRefused = 1;
constexpr int kUsageError = 2;

int UsageError(const std::string& reason) {
  std::fprintf(stderr, "quillmar-cli: %s\nTry 'quillmar-cli --help'.\n", reason.c_str());
  return kUsageError;
}

// The Shift_JIS form of a path typed on the command line, made absolute like a dropped one.
std::optional<std::string> SjisArgument(const std::string& native) {
  return SjisPath(AbsoluteNativePath(native));
}

// Applies one step to the workspace; a folder that Shift_JIS cannot name is a usage error.
std::optional<std::string> Apply(const CliStep& step, Workspace& workspace) {
  switch (step.kind) {
    case CliStep::Kind::Slot:
      workspace.SelectSlot(step.slot - 1);
      return std::nullopt;
    case CliStep::Kind::Formats:
      workspace.Formats() = {step.same_as_original, step.format0, step.format1};
      return std::nullopt;
    case CliStep::Kind::Path:
      break;
    default: {
      const auto folder = SjisArgument(step.text);
      if (!folder) return "this folder cannot be named in Shift_JIS: " + step.text;
      if (!IsFolder(*folder) && !MakeFolder(*folder)) return "cannot make the folder " + step.text;
      OutputSlot& slot = workspace.Current();
      if (step.kind == CliStep::Kind::Out) {
        slot.folders.fill(*folder);
      } else {
        const OutputFolder which = step.kind == CliStep::Kind::OutSame
                                       ? OutputFolder::SameAsOriginal
                                   : step.kind == CliStep::Kind::Out0 ? OutputFolder::Format0
                                                                      : OutputFolder::Format1;
        slot.Folder(which) = *folder;
      }
      return std::nullopt;
    }
  }
  const auto path = SjisArgument(step.text);
  if (!path) {
    std::fprintf(stderr, "quillmar-cli: skipped, this path cannot be named in Shift_JIS: %s\n",
                 step.text.c_str());
  } else {
    if (!IsFile(*path) && !IsFolder(*path)) {
      std::fprintf(stderr, "quillmar-cli: no such file or folder: %s\n", step.text.c_str());
    }
    AddDroppedPath(workspace, *path);
  }
  return std::nullopt;
}

int Run(const CliOptions& options) {
  ResultList results;
  TerminalInterface terminal(results, options.sjis_output, options.yes);
  InstallReportSink(&terminal);
  std::optional<std::string> start_folder = CurrentFolder();
  if (!start_folder) ReportGeneralError(kGeneralInternalError);
  Workspace workspace(start_folder.value_or(""));
  int status = kRanToEnd;
  {
    RunControl run(workspace, terminal);
    for (const CliStep& step : options.steps) {
      if (auto error = Apply(step, workspace)) {
        InstallReportSink(nullptr);
        return UsageError(*error);
      }
    }
    if (options.work_folder) run.SetWorkFolder(*SjisArgument(*options.work_folder));
    if (run.Execute() != RunControl::ExecuteResult::Started) status = kRefused;
    run.Wait();
  }
  if (options.save_result) {
    const auto path = SjisArgument(*options.save_result);
    if (!path || !SaveResultList(results, *path)) status = kRefused;
  }
  InstallReportSink(nullptr);
  return status;
}

}  // namespace
}  // namespace quillmar

int main(int argc, char** argv) {
  using namespace quillmar;
  RetainFreedMemory();
  auto parsed = ParseCliOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (const auto* error = std::get_if<std::string>(&parsed)) return UsageError(*error);
  const CliOptions& options = std::get<CliOptions>(parsed);
  if (options.help) {
    std::fputs(CliUsage().c_str(), stdout);
    return kRanToEnd;
  }
  if (options.version) {
    std::printf("quillmar-cli (Quillmar Version %s)\n", QUILLMAR_VERSION);
    return kRanToEnd;
  }
  if (options.work_folder &&
      (!SjisArgument(*options.work_folder) || !IsFolder(*SjisArgument(*options.work_folder)))) {
    return UsageError("--work needs an existing folder: " + *options.work_folder);
  }
  if (options.save_result && !SjisArgument(*options.save_result)) {
    return UsageError("this file cannot be named in Shift_JIS: " + *options.save_result);
  }
  return Run(options);
}
