// quillmar: the desktop window. Paths on the command line are taken as if dropped on it;
// "--preview FILE" opens the preview of a MIDI file beside it.
#include <QApplication>
#include <QIcon>
#include <QMetaObject>
#include <cstdio>
#include <mutex>
#include <string_view>

#include "gui/main_dialog.h"
#include "gui/prompter.h"
#include "platform/files.h"
#include "platform/interrupts.h"
#include "platform/process_memory.h"
#include "shell/workspace.h"

namespace {

constexpr char kUsage[] = R"(Usage: quillmar [--preview FILE] [PATH...]

Opens the Quillmar window. Each PATH is taken as if dropped on it: a list file by the first
letter of its name, a .mid file (gathered into file_list_temp.csv in its folder, which
becomes the file list), or a folder (its *.csv files, then its *.mid files).

Options:
  --preview FILE    also open the preview of the MIDI file FILE: its piano roll, the notes
                    sounding, its tracks and result lines, as it is or after a slot's lists,
                    and play it
  -h, --help        show this help
  --version         show the version
)";

constexpr QLatin1String kPreviewOption("--preview");

}  // namespace

int main(int argc, char** argv) {
  using namespace quillmar;
  // These two answer before Qt starts, so that they need no display.
  for (int index = 1; index < argc; ++index) {
    const std::string_view argument = argv[index];
    if (argument == "-h" || argument == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (argument == "--version") {
      std::printf("quillmar %s\n", QUILLMAR_PROJECT_VERSION);
      return 0;
    }
  }
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

  QStringList paths = QApplication::arguments().mid(1);
  QStringList previews;
  for (qsizetype at; (at = paths.indexOf(kPreviewOption)) >= 0;) {
    if (at + 1 == paths.size()) {
      std::fprintf(stderr, "quillmar: --preview needs a MIDI file\n\n%s", kUsage);
      return 2;
    }
    previews << paths.at(at + 1);
    paths.remove(at, 2);
  }

  // Without a readable working folder the start folder stays empty; the window reports it.
  Workspace workspace(CurrentFolder().value_or(std::string()));
  DesktopPrompter prompter;
  MainDialog dialog(workspace, prompter, paths);
  {
    const std::lock_guard lock(window_mutex);
    window = &dialog;
  }
  if (interrupts.Signal() == 0) {
    // The application's loop rather than a modal one of the dialog, so that the preview
    // windows beside it take input; closing the dialog ends the program.
    QObject::connect(&dialog, &QDialog::finished, &application, &QCoreApplication::quit);
    dialog.show();
    for (const QString& preview : previews) dialog.PreviewFile(preview);
    QApplication::exec();
  }
  {
    const std::lock_guard lock(window_mutex);
    window = nullptr;
  }
  return interrupts.Signal() == 0 ? 0 : 128 + interrupts.Signal();
}
