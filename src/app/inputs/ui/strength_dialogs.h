// The strength windows on Qt: page 1 (TForm_vob1fest1), page 2
// (TForm_vob1fest2) and the single page with the method list (TForm_vob1fs0).
// They show the form states of app/inputs/strength_input.h and call its
// routines; InstallDesignInputForms installs them as its views.
#pragma once

#include <QDialog>

#include "app/inputs/strength_input.h"
#include "app/inputs/ui/form_binder.h"

class QGridLayout;
class QPushButton;

namespace app::ui {

// What the three windows share: the binder, the row of OK, Cancel, help,
// Calc and unit buttons, and Cancel on Escape.
class StrengthWindow : public QDialog {
  Q_OBJECT

 public:
  QPushButton* Button(const QString& objectName) const;
  void Button_okClick();
  void Button_cancelClick();
  const FormBinder& Binder() const { return binder_; }

 protected:
  StrengthWindow(const TStrengthPageRef& page, QWidget* parent);
  // The button row at the foot of the window, with the page's help entry.
  void AddButtonRow(QLayout* layout, int helpNumber);
  void reject() override;

  FormBinder binder_;

 private:
  TStrengthPageRef page_;
  bool closing_ = false;
};

class TForm_vob1fest1 : public StrengthWindow {
  Q_OBJECT

 public:
  explicit TForm_vob1fest1(TStrengthPage1& page, QWidget* parent = nullptr);

 private:
  TStrengthPage1& page_;
};

class TForm_vob1fest2 : public StrengthWindow {
  Q_OBJECT

 public:
  explicit TForm_vob1fest2(TStrengthPage2& page, QWidget* parent = nullptr);

 private:
  TStrengthPage2& page_;
};

class TForm_vob1fs0 : public StrengthWindow {
  Q_OBJECT

 public:
  explicit TForm_vob1fs0(TStrengthForm& form, QWidget* parent = nullptr);

 private:
  TStrengthForm& form_;
};

// The views: the windows, modal over the active one.
void ShowStrengthPage1Window(TStrengthPage1& page);
void ShowStrengthPage2Window(TStrengthPage2& page);
void ShowStrengthFormWindow(TStrengthForm& form);

}  // namespace app::ui
