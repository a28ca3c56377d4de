#include "gui/help_window.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace quillmar {
namespace {

// The object name of the help window, child of the window that opened it.
constexpr char kHelpWindowName[] = "help";

}  // namespace

QString HelpTopicPath() {
  // Beside the program in the build folder; under share/quillmar once installed.
  const QString folder = QCoreApplication::applicationDirPath();
  const QString beside = folder + QStringLiteral("/help/top.htm");
  const QString installed = folder + QStringLiteral("/../share/quillmar/help/top.htm");
  return QFileInfo(beside).isFile() || !QFileInfo(installed).isFile() ? beside : installed;
}

void ShowHelp(QWidget* parent) {
  ShowHelpFile(parent, HelpTopicPath());
}

void ShowHelpFile(QWidget* parent, const QString& path) {
  if (!QFileInfo(path).isFile()) return;
  if (parent != nullptr) {
    if (auto* open = parent->findChild<QDialog*>(QLatin1String(kHelpWindowName),
                                                 Qt::FindDirectChildrenOnly)) {
      open->raise();
      open->activateWindow();
      return;
    }
  }
  // Non-modal and deleted when closed, like a help viewer beside the main window.
  auto* window = new QDialog(parent);
  window->setObjectName(QLatin1String(kHelpWindowName));
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowTitle(QStringLiteral("Quillmar Help"));
  auto* browser = new QTextBrowser(window);
  browser->setOpenExternalLinks(true);
  browser->setSource(QUrl::fromLocalFile(path));
  auto* layout = new QVBoxLayout(window);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser);
  window->resize(820, 640);
  window->show();
}

}  // namespace quillmar
