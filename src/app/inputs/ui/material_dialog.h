// The material window TForm_vobwst on Qt: the two gears' material edits side
// by side with the table, copy, hardness, unit and Calc buttons. It shows the
// form state of app/inputs/material_input.h and calls its routines; the
// window is installed as the material input's view by
// InstallDesignInputForms.
#pragma once

#include <QDialog>

#include "app/inputs/material_input.h"
#include "app/inputs/ui/form_binder.h"

class QPushButton;

namespace app::ui {

class TForm_vobwst : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_vobwst(TMaterialForm& form, QWidget* parent = nullptr);

  QPushButton* Button(const QString& objectName) const;

  void Button_okClick();
  void Button_cancelClick();

 protected:
  void reject() override;

 private:
  TMaterialForm& form_;
  FormBinder binder_;
  bool closing_ = false;
};

// The view of the material input: the window, modal over the active one.
void ShowMaterialWindow(TMaterialForm& form);

}  // namespace app::ui
