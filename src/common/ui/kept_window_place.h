// Where a window that opens again and again stands: taken as it closes,
// given back before it is shown again, so that it opens where the user left
// it. The place of the window's inside is kept, not that of its frame: the
// frame's size is known only once the window manager has framed the window,
// and a place read with the frame and set again without it creeps by the
// height of the title bar each time the window opens.
#pragma once

#include <QPoint>

class QWidget;

namespace common::ui {

class KeptWindowPlace {
 public:
  void Take(const QWidget& window);
  bool Known() const { return known_; }
  // The window at the kept place (its size stays); nothing while none is
  // known.
  void GiveBack(QWidget& window) const;

 private:
  QPoint inside_;
  bool known_ = false;
};

}  // namespace common::ui
