#pragma once

#include <QString>
#include <QWidget>
#include <optional>

namespace quillmar {

// The window's modal questions: message boxes, the folder picker and the file dialogs. The
// desktop shows real dialogs; tests answer them.
class Prompter {
 public:
  virtual ~Prompter() = default;
  // An information box with OK.
  virtual void Information(QWidget* parent, const QString& text) = 0;
  // A question with OK and Cancel; true for OK.
  virtual bool OkCancel(QWidget* parent, const QString& text) = 0;
  // An existing folder, or nothing when cancelled.
  virtual std::optional<QString> PickFolder(QWidget* parent, const QString& title,
                                            const QString& initial_folder) = 0;
  // A file to open with one filter such as "CSV files (v*.csv)"; nothing when cancelled.
  virtual std::optional<QString> OpenFile(QWidget* parent, const QString& filter) = 0;
  // A file to save into with one filter; nothing when cancelled.
  virtual std::optional<QString> SaveFile(QWidget* parent, const QString& filter,
                                          const QString& default_suffix) = 0;
};

// The real dialogs of the desktop.
class DesktopPrompter : public Prompter {
 public:
  void Information(QWidget* parent, const QString& text) override;
  bool OkCancel(QWidget* parent, const QString& text) override;
  std::optional<QString> PickFolder(QWidget* parent, const QString& title,
                                    const QString& initial_folder) override;
  std::optional<QString> OpenFile(QWidget* parent, const QString& filter) override;
  std::optional<QString> SaveFile(QWidget* parent, const QString& filter,
                                  const QString& default_suffix) override;
};

}  // namespace quillmar
