// The kept place of a window; see kept_window_place.h.
#include "common/ui/kept_window_place.h"

#include <QWidget>

namespace common::ui {

void KeptWindowPlace::Take(const QWidget& window) {
  inside_ = window.geometry().topLeft();
  known_ = true;
}

void KeptWindowPlace::GiveBack(QWidget& window) const {
  if (!known_) return;
  window.setGeometry(QRect(inside_, window.size()));
}

}  // namespace common::ui
