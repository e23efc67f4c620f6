// The reference-rack profile of the gear-cutting tool of each gear
// (TForm_vob1prof) and the complementary tool pair derived from the tool of
// gear 1 and a clearance (TForm_komplement). The state of the controls and
// the button handlers are here; the windows are views
// (design_input_views.h). Main menu: Edit, cutting tool, and the quick
// input; the menu recalculates after OK. "Calc" here and OK of the
// complement change the calculation data even when the tool dialog is
// cancelled afterwards.
#pragma once

#include <string>

#include "app/inputs/design_input_views.h"
#include "app/inputs/value_edit.h"
#include "common/range_array.h"
#include "common/real.h"

namespace app {

class ToolProfileDialog {
 public:
  // FormCreate and FormShow: a tool code 0 becomes 4 in the records (also
  // when the dialog is cancelled), then the coefficients are shown.
  ToolProfileDialog();

  // ---- The controls ----------------------------------------------------------
  GearArray<ValueEdit> addendum;   // haP0/mn
  GearArray<ValueEdit> dedendum;   // hfP0/mn
  // Control hints of the labels (help lines 5420 and 5410); empty while
  // HelpLevel is 0.
  std::string addendumHint, dedendumHint;
  std::string caption;

  // ---- Handlers ----------------------------------------------------------------
  void ProposeAddendum(int gear);  // "1.25"
  void ProposeDedendum(int gear);  // "1.0"
  // AbortFlag := 0, read, close. A coefficient whose text is no number is
  // refused first (value_edit.h): the dialog stays open.
  void Button_okClick();
  // AbortFlag := 1, close.
  void Button_cancelClick();
  // Help entry 1000 as text; AbortFlag := 0.
  void Button_helpClick();
  // Read, the picture of help entry 5400; AbortFlag := 0.
  void Button_imageClick();
  // AbortFlag := 0, read, recalculate the pair, redraw the view.
  void Button_calcClick();
  // The complement dialog; unless cancelled the edits show the data again.
  // AbortFlag := 0 either way.
  void Button_complementClick();

  DialogResult Result() const { return result_; }

 private:
  void ShowValues();
  void ReadValues() const;
  // The number fields checked before they are read (value_edit.h): a
  // refused one leaves the records and the dialog open.
  bool FieldsAccepted();

  DialogResult result_ = DialogResult::Open;
};

// Profile-shift coefficient that centres the tooth depth of a tool
// (ha, hf) on the pitch line of the standard 2.25 mn deep tooth:
// 1 - hf * 2.25 / (hf + ha); 0 for a tool of no depth.
Real ComplementShift(Real ha, Real hf);

class ComplementDialog {
 public:
  // FormCreate: the tool of gear 1 and the clearance haP0/mn of tool 1 -
  // hfP0/mn of tool 2.
  ComplementDialog();

  // ---- The controls ----------------------------------------------------------
  ValueEdit ha1, hf1, c;       // haP01/mn, hfP01/mn, c/mn
  // The live results: "haP02/mn = ...", "hfP02/mn = ...", "x1 = ...  x2 = ...".
  std::string haP02Label, hfP02Label, shiftLabel;
  std::string caption;

  // ---- Handlers ----------------------------------------------------------------
  // Every change of the three edits (ComputeComplementProfile).
  void EditChanged();
  // Tools, profile shifts, tip diameters and clearance of both gears, then
  // the spur geometry and pair; close.
  void Button_okClick();
  // AbortFlag := 1, close.
  void Button_cancelClick();
  // Help entry 5125 as text; AbortFlag := 0.
  void Button_helpClick();

  DialogResult Result() const { return result_; }

 private:
  DialogResult result_ = DialogResult::Open;
};

// The main menu's entry point: the tool dialog through the installed views.
void ShowToolProfileForm();

}  // namespace app
