// Windows placed clear of the picture; see picture_clear_placement.h.
#include "common/ui/picture_clear_placement.h"

#include <QRect>
#include <QWidget>

#include "common/clear_of_picture.h"
#include "common/ui/graphics_view.h"

namespace common::ui {

void PlaceClearOfPicture(QWidget& form, const GraphicsView& view, const QRect& screenArea) {
  // What is drawn, on the screen: the view's cells moved to its place.
  InkMap ink = view.DrawnCells(4);
  const QPoint corner = view.mapToGlobal(QPoint(0, 0));
  ink.left = corner.x();
  ink.top = corner.y();
  auto rect = [](const QRect& r) { return FormRect{r.left(), r.top(), r.width(), r.height()}; };
  const FormRect placed = ClearOfPicture(rect(form.frameGeometry()), ink, rect(screenArea));
  // move() places the frame's corner.
  form.move(placed.left, placed.top);
}

}  // namespace common::ui
