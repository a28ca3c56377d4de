#pragma once

#include <QDialog>
#include <QStringList>

#include "gui/prompter.h"
#include "shell/workspace.h"

namespace quillmar {

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
};

}  // namespace quillmar
