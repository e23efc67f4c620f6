// The parameter dialogs of the analytic pitch-curve families on Qt: one
// dialog class that shows the field model of app/inputs/curve_forms.h
// (ellipse, sine, sine-linear, polygon, eccentric element), named after the
// family's form ("Form_vob4elip" ...). Its buttons call the model's
// operations; the edits are named after the model's fields ("Edit_a"), the
// proposal buttons "Button_<field>" ("Button_Edit_b").
#pragma once

#include <QDialog>
#include <map>
#include <string>

#include "app/inputs/curve_forms.h"

class QLabel;
class QLineEdit;
class QRadioButton;

namespace app::ui {

class TForm_curveparameters : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_curveparameters(CurveForm& form, QWidget* parent = nullptr);

  QLineEdit* Edit(const std::string& fieldName) const { return edits_.at(fieldName); }

  void Button_okClick();
  void Button_cancelClick();
  void Button_unitsClick();
  void Button_calcClick();

 protected:
  void reject() override;

 private:
  void Collect();  // the edits into the model
  void Show();     // the model into the edits and labels

  CurveForm& form_;
  std::map<std::string, QLineEdit*> edits_;
  std::map<std::string, QLabel*> units_;
  QRadioButton* radioDi_ = nullptr;
  QRadioButton* radioDe_ = nullptr;
  bool showing_ = false;
};

class QtCurveFormViews : public CurveFormViews {
 public:
  void ShowCurveForm(CurveForm& form) override;
};

}  // namespace app::ui
