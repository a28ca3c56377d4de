#include "gui/about_box.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "gui/dialog_units.h"

namespace quillmar {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Quillmarのﾊﾞｰｼﾞｮﾝ情報"));
  setFont(DialogFont());
  const QFontMetrics metrics = fontMetrics();
  setFixedSize(DialogRect(metrics, 0, 0, 235, 55).size());

  // The icon keeps its own size; only its position is in dialog units.
  const int icon_size = style()->pixelMetric(QStyle::PM_LargeIconSize);
  auto* icon = new QLabel(this);
  icon->setPixmap(QApplication::windowIcon().pixmap(icon_size));
  icon->setGeometry(
      QRect(DialogRect(metrics, 11, 17, 0, 0).topLeft(), QSize(icon_size, icon_size)));

  auto* version = new QLabel(QStringLiteral("Quillmar Version " QUILLMAR_VERSION), this);
  version->setGeometry(DialogRect(metrics, 40, 10, 119, 8));
  auto* purpose = new QLabel(QStringLiteral("Standard MIDI File converter"), this);
  purpose->setGeometry(DialogRect(metrics, 40, 25, 119, 8));

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("1"));
  ok->setDefault(true);
  ok->setGeometry(DialogRect(metrics, 178, 7, 50, 14));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace quillmar
