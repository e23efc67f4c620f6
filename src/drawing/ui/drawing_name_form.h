// The drawing-name form ("TForm_vobuni3") on Qt: the drawing name, number
// and second name of each gear and the two sheet texts, read from and
// stored into the records by drawing/drawing_name_form.h.
#pragma once

#include <QDialog>

#include "drawing/drawing_name_form.h"

class QLineEdit;

namespace drawing::ui {

class TForm_vobuni3 : public QDialog {
  Q_OBJECT

 public:
  // FormCreate: captions and the records' texts in the edits.
  explicit TForm_vobuni3(QWidget* parent = nullptr);

  // What the edits hold now.
  TDrawingNameEdits Edits() const;

 private:
  void Button_okClick();
  void Button_cancelClick();

  QLineEdit* Edit_zeichname[3] = {};
  QLineEdit* Edit_zeichnr[3] = {};
  QLineEdit* Edit_zeichname2[3] = {};
  QLineEdit* Edit_info1 = nullptr;
  QLineEdit* Edit_info2 = nullptr;
};

// Shows the form modally; OK stores the names, Cancel (or closing the
// window) sets AbortFlag.
void ShowDrawingNameFormWindow();

}  // namespace drawing::ui
