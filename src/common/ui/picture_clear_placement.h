// Places a window that works on the picture of the graphics window (the
// rotation-angle window, the animation's step dialog) where it hides none of
// what is drawn: common/clear_of_picture.h on the picture as it is shown.
#pragma once

class QRect;
class QWidget;

namespace common::ui {

class GraphicsView;

// Moves the form clear of the view's shown picture, within the screen area.
void PlaceClearOfPicture(QWidget& form, const GraphicsView& view, const QRect& screenArea);

}  // namespace common::ui
