#pragma once

#include <QDialog>
#include <functional>

#include "gui/growing_controls.h"
#include "lists/settings_list.h"

namespace quillmar {

// The modal list view: the description of the list's kind above a grid of its cells, the
// first row and the first column as fixed headings. It changes nothing.
class ListViewDialog : public QDialog {
  Q_OBJECT

 public:
  // `open_row`, when given, is called with the list's row number (from 1) of a row
  // double-clicked; the dialog is then modal to its parent only, so that a window the call
  // opens takes input while the list stays open.
  ListViewDialog(const SettingsList& list, ListKind kind, QWidget* parent = nullptr,
                 std::function<void(int row)> open_row = {});

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  GrowingControls growing_;
};

// The description text of a list kind (Shift_JIS, lines broken by CR).
const std::string& ListDescription(ListKind kind);

}  // namespace quillmar
