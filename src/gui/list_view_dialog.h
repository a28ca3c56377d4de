#pragma once

#include <QDialog>

#include "lists/settings_list.h"

namespace quillmar {

// The modal list view: the description of the list's kind above a grid of its cells, the
// first row and the first column as fixed headings. It changes nothing.
class ListViewDialog : public QDialog {
  Q_OBJECT

 public:
  ListViewDialog(const SettingsList& list, ListKind kind, QWidget* parent = nullptr);
};

// The description text of a list kind (Shift_JIS, lines broken by CR).
const std::string& ListDescription(ListKind kind);

}  // namespace quillmar
