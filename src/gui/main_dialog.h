#pragma once

#include <QDialog>
#include <QPalette>
#include <QPointer>
#include <QStringList>
#include <array>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "gui/growing_controls.h"
#include "gui/prompter.h"
#include "gui/qt_user_interface.h"
#include "preview/preview_run.h"
#include "shell/result_list.h"
#include "shell/run_control.h"
#include "shell/workspace.h"

class QCheckBox;
class QListWidget;
class QPushButton;
class QTabBar;

namespace quillmar {

class PreviewWindow;

// The colours of the program's dialogs and message boxes: background red 200, green 200,
// blue 250, black text.
QPalette DialogColours();

// The main window: the file list, the six slot tabs with their list switches and buttons,
// the output formats, the result list, Save Result, Execute, the status and help. Its
// controls carry their identifiers as object names ("1000", "1016", ...).
class MainDialog : public QDialog {
  Q_OBJECT

 public:
  // `paths` are taken as if dropped when the dialog opens (native paths).
  MainDialog(Workspace& workspace, Prompter& prompter, const QStringList& paths,
             QWidget* parent = nullptr);
  ~MainDialog() override;

  // Takes native paths as if dropped on the window (refused while a run is in progress).
  void DropPaths(const QStringList& paths);

  // Opens the preview of a MIDI file named by a native path.
  void PreviewFile(const QString& native_path);

  // Closing asks a run in progress to stop and waits for its worker, answering its boxes.
  void done(int result) override;

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // The six lists in the order of their buttons: the file list, then the five slot lists.
  static constexpr int kListCount = 1 + kSlotListCount;

  void CreateControls();
  void CreateListRows();
  void CreateFormatBoxes();
  void SetToolTips();
  void ShowResultExtent();

  std::optional<SettingsList>& ListAt(int list);
  void ChooseList(int list);
  void ViewList(int list);
  void ToggleSwitch(int index, bool on);
  void SelectTab(int index);
  void RefreshListControls();
  void Execute();
  void EndRun();
  void SaveResult();
  void EnableRunSensitiveControls(bool enabled);
  void StopRunAndWait();
  // A preview window of its own: double-clicking a row of the file list's view or an input
  // line of the result list opens one.
  void ShowPreview(std::string sjis_path, std::optional<PreviewCells> cells);
  void PreviewFileListRow(int row);
  void PreviewResultLine(int index);

  Workspace& workspace_;
  Prompter& prompter_;
  ResultList results_;
  QtUserInterface user_interface_;
  RunControl run_;
  // Waits for each run's worker and then tells the window, so that the window never blocks
  // on a worker that waits for the window.
  std::thread run_watcher_;
  bool run_in_progress_ = false;
  bool closing_ = false;

  QTabBar* tabs_ = nullptr;
  QListWidget* result_list_ = nullptr;
  GrowingControls growing_;
  std::array<QPushButton*, kListCount> list_buttons_{};
  std::array<QPushButton*, kListCount> view_buttons_{};
  std::array<QPushButton*, kSlotListCount> switches_{};
  std::array<QCheckBox*, kOutputFormats.size()> format_boxes_{};
  std::vector<QPointer<PreviewWindow>> previews_;  // closed ones are null
};

}  // namespace quillmar
