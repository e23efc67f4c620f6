// A help picture where the user sees it while a form is open: in a window
// of its own (TForm_picture), its frame whole on the screen beside the
// form, level with the control that asked for it, at a width where its
// texts stay legible (two fifths of the screen's). Where the screen beside
// the form as it stands holds it, it stands there; else the form moves
// aside as far as it must to make room; only where even that gives none,
// it stands where it covers none of the form's controls, or the fewest,
// and not the one that asked. The main window keeps its own picture.
// One such window per form shows the latest picture; it is no modal window
// (the user goes on working in the form, and closes it or leaves it) and
// closes with its form.
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
  QSize PictureSize() const;

 private:
  QLabel* picture_ = nullptr;
};

// The picture the graphics window holds, drawn afresh at the given size
// (in the proportions of the reference screen when height is 0).
QImage GraphicsPicture(int width, int height = 0);

// Shows the picture the graphics window holds in the picture window of
// the active modal form; false (nothing shown) while no modal form is
// open. The help pictures call it once drawn (common/help_text.h,
// SetHelpPictureShower).
bool ShowPictureOverModalForm();

}  // namespace common::ui
