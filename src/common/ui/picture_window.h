// A help picture where the user sees it while a form is open. Help
// pictures are drawn in the graphics window, the main window; a modal form
// over it hides the middle of the picture its picture button asked for.
// While a modal form is open the picture therefore also stands in a window
// of its own over the form (TForm_picture): beside it where the screen has
// room, else in the screen's corner farthest from the button that asked. One such window per form shows the
// latest picture; it is no modal window (the user goes on working in the
// form, and closes it or leaves it) and closes with its form.
#pragma once

#include <QDialog>
#include <QImage>

class QLabel;

namespace common::ui {

class TForm_picture : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_picture(QWidget* form);
  // Shows the picture, scaled to the window's size on the screen.
  void ShowPicture(const QImage& picture);

 private:
  QLabel* picture_ = nullptr;
};

// The picture the graphics window holds, drawn afresh at the given size
// (in the proportions of the reference screen when height is 0).
QImage GraphicsPicture(int width, int height = 0);

// Shows the picture the graphics window holds in the picture window of
// the active modal form; nothing while no modal form is open. The help
// pictures call it once drawn (common/help_text.h, SetHelpPictureShower).
void ShowPictureOverModalForm();

}  // namespace common::ui
