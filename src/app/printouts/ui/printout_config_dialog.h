// The printout dialog TForm_printconf on Qt: the controls of the field
// model of app/printouts/printout_config.h, the printer it prints on (chosen
// with the "Printer..." button; a PDF file is a printer too), and on OK the
// picture of the graphics window printed through common::ui::GraphicsView.
#pragma once

#include <QDialog>
#include <QPrinter>

#include "app/printouts/printout_config.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace app::ui {

class TForm_printconf : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_printconf(QWidget* parent = nullptr);

  TPrintConfigFields Fields() const;
  void Show(const TPrintConfigFields& fields);
  // The printer the picture goes to.
  QPrinter& Printer() { return printer_; }
  QLabel* PrinterLabel() const { return Label_printer; }
  // Whether the last OK printed.
  bool Printed() const { return printed_; }

  void Button_okClick();
  void Button_cancelClick();
  void Button_dbClick();
  void Button_appendClick();
  void Button_printerClick();
  // Activation: the printer's name and the document title.
  void ShowPrinter();

 private:
  // The numbers checked (AcceptPrintConfigFields); false, the refused edit
  // showing its old text, when one is no number.
  bool FieldsAccepted(TPrintConfigFields& fields);
  // The fields as the dialog showed them on opening or from a loaded
  // preset: the old texts of refused numbers.

  QPrinter printer_;
  bool printed_ = false;
  TPrintConfigFields shown_;
  QLineEdit* Edit_scalex = nullptr;
  QLineEdit* Edit_scaley = nullptr;
  QLineEdit* Edit_xorigin = nullptr;
  QLineEdit* Edit_yorigin = nullptr;
  QCheckBox* CheckBox_umrandung = nullptr;
  QCheckBox* CheckBox_anpassen = nullptr;
  QButtonGroup* RadioGroup_hochquer = nullptr;
  QButtonGroup* RadioGroup_printmono = nullptr;
  QLabel* Label_printer = nullptr;
};

// Shows the dialog modally (File, Print).
void ShowPrintConfigFormWindow();

}  // namespace app::ui
