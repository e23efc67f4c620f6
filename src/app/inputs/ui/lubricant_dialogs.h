// The lubricant window TForm_vob1visk and the viscosity converter
// TForm_viskot on Qt. They show the form states of
// app/inputs/lubricant_input.h and call its routines; InstallDesignInputForms
// installs them as its views.
#pragma once

#include <QDialog>

#include "app/inputs/lubricant_input.h"
#include "app/inputs/ui/form_binder.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace app::ui {

class TForm_vob1visk : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_vob1visk(TLubricantForm& form, QWidget* parent = nullptr);

  void Button_okClick();
  void Button_cancelClick();

 protected:
  void reject() override;

 private:
  TLubricantForm& form_;
  FormBinder binder_;
  bool closing_ = false;
};

class TForm_viskot : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_viskot(TViscosityConverter& form, QWidget* parent = nullptr);

  void Button_okClick();
  void Button_cancelClick();

 protected:
  void reject() override;

 private:
  TViscosityConverter& form_;
  FormBinder binder_;
  bool enabled_[3] = {true, false, false};
  bool closing_ = false;
  void Compute();
  void UpdateEnabled();
};

// The views: the windows, modal over the active one.
void ShowLubricantWindow(TLubricantForm& form);
void ShowViscosityConverterWindow(TViscosityConverter& form);

}  // namespace app::ui
