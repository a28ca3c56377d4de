#include "cli/terminal_interface.h"

#include "platform/encoding.h"
#include "platform/files.h"

namespace quillmar {

TerminalInterface::TerminalInterface(ResultList& results, bool sjis_output, bool answer_yes)
    : results_(results),
      sjis_output_(sjis_output),
      answer_yes_(answer_yes),
      progress_on_terminal_(StandardErrorIsTerminal()) {}

void TerminalInterface::ClearProgress() {
  if (!progress_shown_) return;
  std::fputs("\r\033[K", stderr);
  progress_shown_ = false;
}

void TerminalInterface::AppendLine(std::string_view line) {
  results_.Append(line);
  const std::string shown = sjis_output_ ? std::string(line) : SjisToUtf8(line);
  std::lock_guard lock(mutex_);
  ClearProgress();
  std::fwrite(shown.data(), 1, shown.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

void TerminalInterface::ShowMessage(std::string_view text) {
  // Message boxes break lines with CR LF or a lone CR.
  std::string shown;
  for (const char c : SjisToUtf8(text)) {
    if (c == '\n' && !shown.empty() && shown.back() == '\n') continue;
    shown.push_back(c == '\r' ? '\n' : c);
  }
  std::lock_guard lock(mutex_);
  ClearProgress();
  std::fflush(stdout);
  std::fprintf(stderr, "%s\n", shown.c_str());
}

bool TerminalInterface::ConfirmOverwrite(std::string_view question, std::string_view first_file) {
  ShowMessage(question);
  std::lock_guard lock(mutex_);
  std::fprintf(stderr, "quillmar-cli: the first such file: %s\n", SjisToUtf8(first_file).c_str());
  std::fputs(answer_yes_ ? "-> OK (--yes)\n"
                         : "-> Cancel: choose other output folders with --out, --out-same, --out0 "
                           "or --out1, or answer OK with --yes\n",
             stderr);
  return answer_yes_;
}

std::optional<std::string> TerminalInterface::PickFolder(std::string_view title,
                                                         std::string_view initial_folder) {
  if (!initial_folder.empty()) return std::string(initial_folder);
  std::lock_guard lock(mutex_);
  std::fprintf(stderr, "%s: no folder given (use --out, --out-same, --out0 or --out1)\n",
               std::string(title).c_str());
  return std::nullopt;
}

void TerminalInterface::ShowRow(int slot, int row, int rows) {
  if (!progress_on_terminal_) return;
  std::lock_guard lock(mutex_);
  std::fprintf(stderr, "\r\033[K[output %d] row %d of %d", slot, row, rows);
  std::fflush(stderr);
  progress_shown_ = true;
}

}  // namespace quillmar
