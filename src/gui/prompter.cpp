#include "gui/prompter.h"

#include <QFileDialog>
#include <QMessageBox>

namespace quillmar {
namespace {

QString Caption() {
  return QStringLiteral("Quillmar");
}

// One file from a file dialog with one filter; nothing when cancelled. The dialogs ask
// nothing before overwriting.
std::optional<QString> ChooseFile(QWidget* parent, QFileDialog::AcceptMode mode,
                                  const QString& filter, const QString& default_suffix) {
  QFileDialog dialog(parent, QString(), QString(), filter);
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setDefaultSuffix(default_suffix);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().constFirst();
}

}  // namespace

void DesktopPrompter::Information(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, Caption(), text, QMessageBox::Ok, parent);
  box.exec();
}

bool DesktopPrompter::OkCancel(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, Caption(), text, QMessageBox::Ok | QMessageBox::Cancel,
                  parent);
  return box.exec() == QMessageBox::Ok;
}

std::optional<QString> DesktopPrompter::PickFolder(QWidget* parent, const QString& title,
                                                   const QString& initial_folder) {
  const QString folder = QFileDialog::getExistingDirectory(parent, title, initial_folder);
  if (folder.isEmpty()) return std::nullopt;
  return folder;
}

std::optional<QString> DesktopPrompter::OpenFile(QWidget* parent, const QString& filter) {
  return ChooseFile(parent, QFileDialog::AcceptOpen, filter, QStringLiteral("csv"));
}

std::optional<QString> DesktopPrompter::SaveFile(QWidget* parent, const QString& filter,
                                                 const QString& default_suffix) {
  return ChooseFile(parent, QFileDialog::AcceptSave, filter, default_suffix);
}

}  // namespace quillmar
