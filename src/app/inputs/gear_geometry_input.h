// The dialog of the basic gear data of the noncircular pair (TForm_vob4geo1):
// pressure angle, tooth number z1, face width, the turn ratio k, constant or
// variable module and the two bore diameters. The state of the controls and
// the button handlers are here; the window is a view (design_input_views.h).
// Main menu: Edit, dimensions, and the quick input; the menu recalculates
// after OK.
#pragma once

#include <string>

#include "app/inputs/design_input_views.h"
#include "app/inputs/value_edit.h"
#include "common/range_array.h"

namespace app {

class GearGeometryDialog {
 public:
  // The spin edit of k.
  static constexpr int MinTurnRatio = 1;
  static constexpr int MaxTurnRatio = 100;

  // FormCreate and FormShow: the values of the records.
  GearGeometryDialog();

  // ---- The controls ----------------------------------------------------------
  ValueEdit alpha;                    // degrees
  std::string z1;
  ValueEdit b;                        // face width, active length unit
  int k = 1;                          // spin edit MinTurnRatio..MaxTurnRatio
  bool constantModule = false;        // "m = const"
  GearArray<ValueEdit> bore;          // bore diameters, active length unit
  std::string degreeUnit, lengthUnit;  // unit labels, display text
  std::string caption;

  // ---- Handlers ----------------------------------------------------------------
  // "<" proposals.
  void ProposeAlpha();
  void ProposeZ1();
  void ProposeTurnRatio();
  // r1max * 25 / z1, from the z1 edit; nothing while it reads as no positive
  // tooth number.
  void ProposeFaceWidth();
  // Half the smallest pitch radius of the gear, in whole mm.
  void ProposeBore(int gear);

  // Read into the records, AbortFlag := 0, close. A field that holds no
  // number is refused first (value_edit.h): the dialog stays open.
  void Button_okClick();
  // AbortFlag := 1, close; the records stay as they were.
  void Button_cancelClick();
  // The lengths shown in the other unit system.
  void Button_metricClick();
  // Help entry 4010 as text.
  void Button_helpClick();

  DialogResult Result() const { return result_; }

 private:
  void ShowValues();
  void ReadValues() const;
  // The number fields checked before they are read (value_edit.h).
  bool FieldsAccepted();
  bool LengthsAccepted();

  std::string shownZ1_;
  DialogResult result_ = DialogResult::Open;
};

// The main menu's entry point: the dialog through the installed views.
void ShowGeometryForm();

}  // namespace app
