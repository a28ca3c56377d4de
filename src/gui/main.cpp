// quillmar: the desktop window. Paths on the command line are taken as if dropped on it.
#include <QApplication>
#include <QIcon>
#include <QMetaObject>
#include <mutex>

#include "gui/main_dialog.h"
#include "gui/prompter.h"
#include "platform/files.h"
#include "platform/interrupts.h"
#include "platform/process_memory.h"
#include "shell/workspace.h"

int main(int argc, char** argv) {
  using namespace quillmar;
  RetainFreedMemory();
  // Made before Qt starts threads of its own. SIGINT, SIGTERM or SIGHUP closes the window as
  // its close button does (a run stops after its current row); a second one removes the
  // work folder and ends the program at once.
  std::mutex window_mutex;  // the window is never destroyed while a signal reaches it
  QDialog* window = nullptr;
  const InterruptWatcher interrupts([&](int) {
    const std::lock_guard lock(window_mutex);
    if (window != nullptr)
      QMetaObject::invokeMethod(window, &QDialog::reject, Qt::QueuedConnection);
  });
  QApplication application(argc, argv);
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/quillmar.svg")));
  QApplication::setPalette(DialogColours());
  // Without a readable working folder the start folder stays empty; the window reports it.
  Workspace workspace(CurrentFolder().value_or(std::string()));
  DesktopPrompter prompter;
  MainDialog dialog(workspace, prompter, QApplication::arguments().mid(1));
  {
    const std::lock_guard lock(window_mutex);
    window = &dialog;
  }
  if (interrupts.Signal() == 0) dialog.exec();
  {
    const std::lock_guard lock(window_mutex);
    window = nullptr;
  }
  return interrupts.Signal() == 0 ? 0 : 128 + interrupts.Signal();
}
