// quillmar: the desktop window. Paths on the command line are taken as if dropped on it.
#include <QApplication>
#include <QIcon>

#include "gui/main_dialog.h"
#include "gui/prompter.h"
#include "platform/files.h"
#include "platform/process_memory.h"
#include "shell/workspace.h"

int main(int argc, char** argv) {
  using namespace quillmar;
  RetainFreedMemory();
  QApplication application(argc, argv);
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/quillmar.svg")));
  QApplication::setPalette(DialogColours());
  // Without a readable working folder the start folder stays empty; the window reports it.
  Workspace workspace(CurrentFolder().value_or(std::string()));
  DesktopPrompter prompter;
  MainDialog dialog(workspace, prompter, QApplication::arguments().mid(1));
  dialog.exec();
  return 0;
}
