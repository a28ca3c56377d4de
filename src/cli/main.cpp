// quillmar-cli: the headless front end. It takes its paths as if dropped on the window,
// presses Execute once and streams the result list to standard output.
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "audio/synthesizer.h"
#include "cli/cli_options.h"
#include "cli/terminal_interface.h"
#include "lists/general_error.h"
#include "platform/encoding.h"
#include "platform/files.h"
#include "platform/interrupts.h"
#include "platform/process_memory.h"
#include "platform/temporary_files.h"
#include "report/report.h"
#include "shell/file_list_building.h"
#include "shell/output_check.h"
#include "shell/result_list.h"
#include "shell/run_control.h"

namespace quillmar {
namespace {

constexpr int kAllWritten = 0;
constexpr int kRefused = 1;
constexpr int kUsageError = 2;
constexpr int kSomeRowsIncomplete = 3;
constexpr int kListErrors = 4;

int UsageError(const std::string& reason) {
  std::fprintf(stderr, "quillmar-cli: %s\nTry 'quillmar-cli --help'.\n", reason.c_str());
  return kUsageError;
}

// The Shift_JIS form of a path typed on the command line, made absolute like a dropped one.
std::optional<std::string> SjisArgument(const std::string& native) {
  return SjisPath(AbsoluteNativePath(native));
}

// The output folders that options set, per slot. They hold wherever the option stands among
// the paths: a path only moves the folders that no option set.
using FolderOptions = std::array<PerOutputFormat<std::optional<std::string>>, kSlotCount>;

// Applies one step to the workspace, or records a folder option; a folder that Shift_JIS
// cannot name is a usage error.
std::optional<std::string> Apply(Reporter& reporter, const CliStep& step, Workspace& workspace,
                                 FolderOptions& folder_options) {
  auto& folders = folder_options[static_cast<std::size_t>(workspace.CurrentSlot())];
  switch (step.kind) {
    case CliStep::Kind::Slot:
      workspace.SelectSlot(step.slot - 1);
      return std::nullopt;
    case CliStep::Kind::Formats:
      workspace.Formats() = {step.same_as_original, step.format0, step.format1};
      return std::nullopt;
    case CliStep::Kind::Path:
      if (const auto path = TakeNativePath(reporter, step.text)) {
        AddDroppedPath(reporter, workspace, *path);
      }
      return std::nullopt;
    default:
      break;
  }
  const auto folder = SjisArgument(step.text);
  if (!folder) {
    return "this folder cannot be named in Shift_JIS, or its name holds a backslash: " + step.text;
  }
  switch (step.kind) {
    case CliStep::Kind::OutSame:
      folders[OutputFormat::SameAsOriginal] = *folder;
      break;
    case CliStep::Kind::Out0:
      folders[OutputFormat::Format0] = *folder;
      break;
    case CliStep::Kind::Out1:
      folders[OutputFormat::Format1] = *folder;
      break;
    default:
      folders.values.fill(*folder);
      break;
  }
  return std::nullopt;
}

// Puts the folder options into their slots (the run makes the missing ones once it is sure
// to start).
void SetOptionFolders(const FolderOptions& folder_options, Workspace& workspace) {
  workspace.SaveSwitches();
  for (int index = 0; index < kSlotCount; ++index) {
    for (const OutputFormat format : kOutputFormats) {
      const auto& folder = folder_options[static_cast<std::size_t>(index)][format];
      if (folder) workspace.Slot(index).folders[format] = *folder;
    }
  }
}

// Saves the result list; false, with the reason on standard error, when it cannot.
bool SaveResult(Reporter& reporter, const ResultList& results, const std::string& native_path) {
  if (SaveResultList(reporter, results, *SjisArgument(native_path))) return true;
  std::fprintf(stderr, "quillmar-cli: cannot save the result list to %s: %s\n", native_path.c_str(),
               std::strerror(errno));
  return false;
}

// A private folder of the run (in $TMPDIR or --work), removed with everything in it when
// the run ends; it holds the file list gathered from MIDI files named on the command line.
class PrivateFolder {
 public:
  explicit PrivateFolder(const std::string& parent) : path_(MakeTemporaryFolder(parent)) {}
  ~PrivateFolder() {
    if (path_ && !RemoveFolderTree(*path_)) {
      std::fprintf(stderr, "quillmar-cli: cannot remove the folder %s\n",
                   SjisToUtf8(*path_).c_str());
    }
  }
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;
  const std::optional<std::string>& Path() const { return path_; }

 private:
  std::optional<std::string> path_;
};

// True when the result list may be saved to the file: it is none that the run reads or
// writes, or --yes answers OK; the refusal names it on standard error.
bool ResultFileAllowed(const Workspace& workspace, const CliOptions& options) {
  if (!options.save_result || !RunReadsOrWrites(workspace, *SjisArgument(*options.save_result))) {
    return true;
  }
  std::fprintf(
      stderr, "quillmar-cli: --save-result names a file that this run reads or writes: %s\n%s",
      options.save_result->c_str(),
      options.yes ? "-> OK (--yes)\n"
                  : "-> Cancel: save the result list elsewhere, or answer OK with --yes\n");
  return options.yes;
}

// The status of a run that went to its end: 3 when a row did not write every output asked
// of it or the file list left out rows, else 4 when a list or one of its rows gave an error
// message (while loading or converting), else 0.
int CompletedStatus(const RunControl& run, const Workspace& workspace, const Reporter& reporter) {
  if (run.IncompleteRows() > 0 || workspace.FileList()->Cut() || workspace.MidiFilesLeftOut()) {
    return kSomeRowsIncomplete;
  }
  return reporter.ListErrors() + run.ListErrors() > 0 ? kListErrors : kAllWritten;
}

int Run(const CliOptions& options) {
  ResultList results;
  TerminalInterface terminal(results, options.sjis_output, options.yes);
  Reporter reporter(terminal);  // what the command line itself reports; a run has its own
  std::optional<std::string> start_folder = CurrentFolder();
  if (!start_folder) ReportGeneralError(reporter, kGeneralInternalError);
  Workspace workspace(start_folder.value_or(""));
  const std::string parent =
      options.work_folder ? *SjisArgument(*options.work_folder) : SystemTemporaryFolder();
  const PrivateFolder private_folder(parent);
  if (!private_folder.Path()) {
    std::fprintf(stderr, "quillmar-cli: cannot make a private folder in %s: %s\n",
                 SjisToUtf8(parent).c_str(), std::strerror(errno));
    return kRefused;
  }
  workspace.SetTempFileListFolder(*private_folder.Path());
  int status = kAllWritten;
  bool save_result = options.save_result.has_value();
  {
    RunControl run(workspace, terminal, reporter);
    // Made before any other thread starts, so that every thread leaves the signals to it.
    const InterruptWatcher interrupts([&run](int) { run.RequestStop(); });
    FolderOptions folder_options;
    for (const CliStep& step : options.steps) {
      if (interrupts.Signal() != 0) break;
      if (auto error = Apply(reporter, step, workspace, folder_options)) {
        return UsageError(*error);
      }
    }
    workspace.Formats().timelines = options.timelines;
    workspace.Formats().explain = options.explain;
    if (options.wav) {
      workspace.Formats().wav_soundfont = SoundFontToUse(options.soundfont);
      workspace.Formats().wav_limit = options.wav_limit;
    }
    run.SetWorkParent(parent);
    if (interrupts.Signal() == 0) {
      SetOptionFolders(folder_options, workspace);
      if (!ResultFileAllowed(workspace, options)) {
        status = kRefused;
        save_result = false;
      } else if (options.wav && !workspace.Formats().wav_soundfont) {
        std::fprintf(stderr, "quillmar-cli: --wav: %s\n",
                     NoSoundFontText(options.soundfont).c_str());
        status = kRefused;
      } else if (run.Execute() != RunControl::ExecuteResult::Started) {
        status = kRefused;
      } else if (interrupts.Signal() != 0) {
        run.RequestStop();  // the signal came while the run was being started
      }
      run.Wait();
      if (status == kAllWritten) status = CompletedStatus(run, workspace, reporter);
    }
    if (const int signal = interrupts.Signal(); signal != 0) {
      std::fprintf(stderr,
                   "quillmar-cli: stopped by %s; the result list above is complete up "
                   "to the last row converted\n",
                   strsignal(signal));
      status = 128 + signal;
    }
    if (save_result && !SaveResult(reporter, results, *options.save_result) && status < 128) {
      status = kRefused;
    }
  }
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
    return kAllWritten;
  }
  if (options.version) {
    std::printf("quillmar-cli %s\n", QUILLMAR_VERSION);
    return kAllWritten;
  }
  const bool has_path =
      std::any_of(options.steps.begin(), options.steps.end(),
                  [](const CliStep& step) { return step.kind == CliStep::Kind::Path; });
  if (!has_path) {
    std::fprintf(stderr, "quillmar-cli: no PATH given\n\n%s", CliUsage().c_str());
    return kUsageError;
  }
  // A mistyped list name must not leave its list out of a run that otherwise goes on.
  for (const CliStep& step : options.steps) {
    if (step.kind != CliStep::Kind::Path) continue;
    const auto path = SjisArgument(step.text);
    if (path && !IsFile(*path) && !IsFolder(*path)) {
      return UsageError("no such file or folder: " + step.text);
    }
  }
  if (options.work_folder &&
      (!SjisArgument(*options.work_folder) || !IsFolder(*SjisArgument(*options.work_folder)))) {
    return UsageError("--work needs an existing folder: " + *options.work_folder);
  }
  if (options.save_result && !SjisArgument(*options.save_result)) {
    return UsageError("this file cannot be named in Shift_JIS: " + *options.save_result);
  }
  try {
    return Run(options);
  } catch (const std::exception& error) {
    // Out of memory or threads outside a row (a row's own shortage is reported in the
    // result list): the reason, and nothing temporary left behind.
    std::fprintf(stderr, "quillmar-cli: cannot go on: %s\n", error.what());
    std::fflush(stdout);
    RemoveTemporariesAndExit(kRefused);
  }
}
