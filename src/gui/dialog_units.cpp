#include "gui/dialog_units.h"

#include <QPoint>
#include <QString>

namespace quillmar {
namespace {

// units x base / per, rounded as the window system's dialog unit conversion rounds.
int ToPixels(int units, int base, int per) {
  return (units * base + per / 2) / per;
}

}  // namespace

QFont DialogFont() {
  QFont font;
  font.setFamily(QStringLiteral("Noto Sans CJK JP"));
  font.setPointSize(9);
  return font;
}

int AverageCharWidth(const QFontMetrics& metrics) {
  const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  return (metrics.horizontalAdvance(letters) + 26) / 52;
}

// Both edges of each side are converted, so that adjacent rectangles stay adjacent.
QRect DialogRect(const QFontMetrics& metrics, int x, int y, int width, int height) {
  const int char_width = AverageCharWidth(metrics);
  const int char_height = metrics.height();
  const QPoint top_left(ToPixels(x, char_width, 4), ToPixels(y, char_height, 8));
  const QPoint bottom_right(ToPixels(x + width, char_width, 4) - 1,
                            ToPixels(y + height, char_height, 8) - 1);
  return QRect(top_left, bottom_right);
}

}  // namespace quillmar
