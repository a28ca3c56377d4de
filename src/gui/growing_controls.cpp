#include "gui/growing_controls.h"

#include <QWidget>

namespace quillmar {
namespace {

QRect Followed(const QRect& least, Follow follow, QSize extra) {
  switch (follow) {
    case Follow::Grow:
      return least.adjusted(0, 0, extra.width(), extra.height());
    case Follow::GrowWidth:
      return least.adjusted(0, 0, extra.width(), 0);
    case Follow::MoveDown:
      return least.translated(extra.width() / 2, extra.height());
    case Follow::MoveDownRight:
      return least.translated(extra.width(), extra.height());
  }
  return least;
}

}  // namespace

void GrowingControls::Add(QWidget* control, Follow follow) {
  entries_.push_back({control, control->geometry(), follow});
}

void GrowingControls::Place(QSize extra) const {
  extra = extra.expandedTo(QSize(0, 0));
  for (const Entry& entry : entries_) {
    entry.control->setGeometry(Followed(entry.least, entry.follow, extra));
  }
}

}  // namespace quillmar
