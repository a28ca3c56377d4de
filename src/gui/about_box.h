#pragma once

#include <QDialog>

namespace quillmar {

// "Quillmarのﾊﾞｰｼﾞｮﾝ情報": the icon, the version line, a second line and OK.
class AboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit AboutBox(QWidget* parent = nullptr);
};

}  // namespace quillmar
