#include "gui/qt_user_interface.h"

#include <QApplication>
#include <QScrollBar>
#include <QThread>
#include <algorithm>

#include "platform/encoding.h"
#include "platform/files.h"
#include "shell/file_list_building.h"

namespace quillmar {
namespace {

constexpr int kShowInterval = 50;  // milliseconds between updates of the list widget
constexpr int kLineMargin = 8;     // pixels beside the text of a line

QString Displayed(std::string_view sjis_text) {
  return QString::fromStdString(SjisToUtf8(sjis_text));
}

// Message texts break lines with CR LF or a lone CR.
QString MessageText(std::string_view sjis_text) {
  QString text = Displayed(sjis_text);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

// The normal pointer over a question, also while Execute shows the wait cursor.
class ArrowCursor {
 public:
  ArrowCursor() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
  ~ArrowCursor() { QApplication::restoreOverrideCursor(); }
  ArrowCursor(const ArrowCursor&) = delete;
  ArrowCursor& operator=(const ArrowCursor&) = delete;
};

}  // namespace

QtUserInterface::QtUserInterface(ResultList& results, Prompter& prompter)
    : results_(results), prompter_(prompter) {
  show_timer_.setSingleShot(true);
  show_timer_.setInterval(kShowInterval);
  connect(&show_timer_, &QTimer::timeout, this, &QtUserInterface::ShowNewLines);
}

void QtUserInterface::Publish(QListWidget* result_list, QLabel* status, QWidget* window) {
  result_list_ = result_list;
  status_ = status;
  window_ = window;
  published_.store(true);
}

void QtUserInterface::OnWindowThread(const std::function<void()>& call) {
  if (QThread::currentThread() == thread()) {
    call();
  } else {
    QMetaObject::invokeMethod(this, call, Qt::BlockingQueuedConnection);
  }
}

void QtUserInterface::AppendLine(std::string_view line) {
  const bool from_worker = QThread::currentThread() != thread();
  OnWindowThread([&] {
    results_.Append(line);
    if (result_list_ == nullptr) return;
    new_lines_ << Displayed(line);
    if (!from_worker) {
      ShowNewLines();
    } else if (!show_timer_.isActive()) {
      show_timer_.start();
    }
  });
}

void QtUserInterface::ShowNewLines() {
  if (new_lines_.isEmpty()) return;
  // The lines are laid out in cells as wide as the widest line, so that the list scrolls
  // sideways to the end of every line.
  const QFontMetrics metrics(result_list_->font());
  QSize cell = result_list_->gridSize();
  for (const QString& line : new_lines_) {
    cell.setWidth(std::max(cell.width(), metrics.horizontalAdvance(line) + kLineMargin));
  }
  if (cell != result_list_->gridSize()) result_list_->setGridSize(cell);
  // The list follows new lines only while it is scrolled to its end.
  const QScrollBar* bar = result_list_->verticalScrollBar();
  const bool at_end = bar->value() == bar->maximum();
  result_list_->addItems(new_lines_);
  new_lines_.clear();
  if (at_end) result_list_->scrollToBottom();
}

void QtUserInterface::Prompt(const std::function<void()>& ask) {
  OnWindowThread([&] {
    ShowNewLines();
    const ArrowCursor cursor;
    ask();
  });
}

void QtUserInterface::ShowMessage(std::string_view text) {
  Prompt([&] { prompter_.Information(window_, MessageText(text)); });
}

bool QtUserInterface::ConfirmOverwrite(std::string_view question, std::string_view first_file) {
  bool ok = false;
  Prompt([&] {
    ok = prompter_.OkCancel(window_, MessageText(question) + QStringLiteral("\n\n") +
                                         QString::fromStdString(SjisToUtf8(first_file)));
  });
  return ok;
}

std::optional<std::string> QtUserInterface::PickFolder(std::string_view title,
                                                       std::string_view initial_folder) {
  std::optional<std::string> folder;
  Prompt([&] {
    const std::optional<QString> chosen = prompter_.PickFolder(
        window_, Displayed(title), QString::fromStdString(NativePath(initial_folder)));
    if (chosen) folder = TakePath(*chosen);
  });
  return folder;
}

void QtUserInterface::ShowRow(int, int row, int) {
  OnWindowThread([&] {
    if (status_ != nullptr) status_->setText(QString::number(row));
  });
}

std::optional<std::string> QtUserInterface::TakePath(const QString& native_path) {
  return TakeNativePath(reporter_, native_path.toStdString());
}

}  // namespace quillmar
