#pragma once

#include <QStringList>
#include <optional>

#include "gui/prompter.h"

namespace quillmar::testing {

// Stands in for the window's dialogs: records every message and file dialog filter, answers
// OK unless told otherwise, keeps the offered folder, and gives the files that the test set (none:
// cancelled).
class RecordingPrompter : public Prompter {
 public:
  void Information(QWidget*, const QString& text) override { messages << text; }
  bool OkCancel(QWidget*, const QString& text) override {
    messages << text;
    return answer_ok;
  }
  std::optional<QString> PickFolder(QWidget*, const QString& title,
                                    const QString& initial) override {
    folder_titles << title;
    return folder_to_pick.value_or(initial);
  }
  std::optional<QString> OpenFile(QWidget*, const QString& filter) override {
    filters << filter;
    return file_to_open;
  }
  std::optional<QString> SaveFile(QWidget*, const QString& filter,
                                  const QString& default_suffix) override {
    filters << filter + " ." + default_suffix;
    return file_to_save;
  }

  bool answer_ok = true;
  QStringList messages;
  QStringList filters;
  QStringList folder_titles;
  std::optional<QString> folder_to_pick;  // none: the offered folder
  std::optional<QString> file_to_open;
  std::optional<QString> file_to_save;
};

}  // namespace quillmar::testing
