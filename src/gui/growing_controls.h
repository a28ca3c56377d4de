#pragma once

#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

namespace quillmar {

// How a control follows a window that is larger than its least size.
enum class Follow {
  Grow,          // takes all the extra width and height
  GrowWidth,     // takes the extra width, keeps its height
  MoveDown,      // keeps its size, moves down by the extra height and right by half the width
  MoveDownRight  // keeps its size, moves down and right by all the extra
};

// The controls of a window laid out from fixed rectangles that follow the window when it is
// made larger; every other control stays where it is.
class GrowingControls {
 public:
  // The control's present geometry is its place at the window's least size.
  void Add(QWidget* control, Follow follow);

  // Places the controls for a window `extra` larger than its least size.
  void Place(QSize extra) const;

 private:
  struct Entry {
    QWidget* control;
    QRect least;
    Follow follow;
  };
  std::vector<Entry> entries_;
};

}  // namespace quillmar
