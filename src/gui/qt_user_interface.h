#pragma once

#include <QLabel>
#include <QListWidget>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "gui/prompter.h"
#include "report/report.h"
#include "shell/result_list.h"
#include "shell/user_interface.h"

namespace quillmar {

// The window as the shell sees it: result lines go to the result list's store and its list
// widget, message boxes, questions and the folder picker to the prompter, the row being
// converted to the status static. A call from the worker thread is carried over to the
// window's thread and waits there until it is done, so lines keep their order and the worker
// pauses while the window is busy. Lives on the window's thread.
//
// A line is in the store when AppendLine returns. The list widget shows a line of the
// window's own thread at once, and the worker's lines a few times a second and before every
// box, so that a long run is not slowed down by laying out and painting the list per line.
class QtUserInterface : public QObject, public ReportSink, public UserInterface {
 public:
  QtUserInterface(ResultList& results, Prompter& prompter);

  // Makes the window's result list, status static and dialog known. Until then reports are
  // message boxes.
  void Publish(QListWidget* result_list, QLabel* status, QWidget* window);

  void AppendLine(std::string_view line) override;
  void ShowMessage(std::string_view text) override;
  bool HasResultList() const override { return published_.load(); }

  bool ConfirmOverwrite(std::string_view question, std::string_view first_file) override;
  std::optional<std::string> PickFolder(std::string_view title,
                                        std::string_view initial_folder) override;
  void ShowRow(int slot, int row, int rows) override;

  // The Shift_JIS form of a native path that the person chose, dropped or named on the
  // command line, as TakeNativePath gives it.
  std::optional<std::string> TakePath(const QString& native_path);

  // Takes the findings of the window's own work (drops, lists chosen, Execute's refusals);
  // each run and each preview reports through a reporter of its own.
  Reporter& Reports() { return reporter_; }

 private:
  // Runs `call` on the window's thread and returns when it has run.
  void OnWindowThread(const std::function<void()>& call);
  // Adds the lines that came since the last time to the list widget.
  void ShowNewLines();
  // Runs a box or picker on the window's thread with the normal pointer, after the lines
  // reported before it are shown.
  void Prompt(const std::function<void()>& ask);

  ResultList& results_;
  Prompter& prompter_;
  QListWidget* result_list_ = nullptr;
  QLabel* status_ = nullptr;
  QWidget* window_ = nullptr;
  std::atomic<bool> published_{false};
  QStringList new_lines_;
  QTimer show_timer_;
  Reporter reporter_{*this};
};

}  // namespace quillmar
