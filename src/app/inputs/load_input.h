// The drive data of gear 1 (TForm_fest3): speed n, torque T and rated
// power P. The user chooses which of the three follows from the other two
// (LoadChoice of SpurGearData); the computed one follows every
// keystroke.
// The state of the controls and the handlers are here; the window is a view
// (design_input_views.h). Main menu: Edit, drive, and the quick input; the
// menu then recalculates and shows the safety diagram.
#pragma once

#include <string>

#include "app/inputs/design_input_views.h"
#include "app/inputs/value_edit.h"
#include "common/range_array.h"

namespace app {

class LoadDialog {
 public:
  // The edits, also the radio-group order.
  enum Quantity { Speed = 0, Torque = 1, Power = 2 };

  // FormCreate and FormShow: the stored choice and values.
  LoadDialog();

  // ---- The controls ----------------------------------------------------------
  ValueEdit speed;    // 1/min
  ValueEdit torque;   // active torque unit
  ValueEdit power;    // kW
  int choice = Power; // radio group: the computed quantity
  std::string torqueUnit;  // display text
  std::string caption;

  // True for the two edits the user enters; the computed one is disabled.
  bool Enabled(Quantity q) const { return q != choice; }
  ValueEdit& EditOf(Quantity q);

  // ---- Handlers ----------------------------------------------------------------
  // A radio click: the choice, then ComputeLoadTriple.
  void ChoiceClicked(int index);
  // ComputeLoadTriple: the computed quantity from the edits of the other
  // two (a zero divisor leaves its edit unchanged). Every change of any of
  // the three edits runs it.
  void ComputeLoadTriple();
  // AbortFlag := 0, read, close. An entered quantity whose text is no
  // number is refused first (value_edit.h): the dialog stays open.
  void Button_okClick();
  // AbortFlag := 1, close.
  void Button_cancelClick();
  // The torque shown in the other unit system.
  void Button_metricClick();
  // Help entry 5500 as text; AbortFlag := 0.
  void Button_helpClick();

  DialogResult Result() const { return result_; }

 private:
  void ShowValues();

  DialogResult result_ = DialogResult::Open;
};

// The main menu's entry point: the dialog through the installed views.
void ShowLoadForm();

}  // namespace app
