// The parameter forms of the analytic pitch-curve families of gear 1:
// ellipse (TForm_vob4elip, curve type 2), sine (TForm_vob4sin, 3), sine-linear
// (TForm_vob4slin, 4), polygon (TForm_vob4pg, 5) and eccentric element
// (TForm_vob4exz, 8). All five follow one pattern: a few edits loaded from
// the family's record (calc/calc_records.h) in the active unit system, read
// back on OK, "Calc" and the unit switch, and "<" buttons that propose a
// dependent value. The form is a field model here; the Qt dialog
// (ui/curve_form_dialogs.h) only shows it and calls these operations, so the
// whole protocol runs and is tested without a window.
//
//   app::CurveForm form = app::CreateCurveForm(calc::CurveEllipse);
//   form.Field("Edit_a").text = "80";
//   app::CurveFormOk(form);        // EllipseCurve.a = 80 mm, AbortFlag 0
#pragma once

#include <string>
#include <vector>

#include "common/real.h"

namespace app {

// One quantity of a form: its edit with the label, unit and hint beside it.
struct CurveFormField {
  std::string name;     // component name, e.g. "Edit_a"
  std::string label;    // "half length a" (display text)
  std::string unit;     // unit label (display text); empty for counts
  std::string hint;     // help line shown as the control's hint
  std::string text;     // what the edit holds
  bool enabled = true;
  bool proposal = false;  // a "<" button beside the edit proposes a value
  // What the loader wrote and the value behind it: an edit the user left
  // alone gives back the stored value exactly, not its rounded display.
  std::string shown;
  Real value = 0;
};

struct CurveForm {
  int curveType = 0;
  std::string name;     // "Form_vob4elip"
  std::string caption;  // program title + " " + family word
  std::vector<CurveFormField> fields;
  std::vector<std::string> lines;  // formula and explanation lines (display text)
  bool helpButton = false;         // "&Help Text" (help text 1000)
  // Polygon only: the radio group "Di" / "De", which diameter is entered
  // (0 Di, 1 De); the other one follows it.
  int diameterMode = 0;

  CurveFormField& Field(const std::string& name);  // std::out_of_range if absent
  const CurveFormField& Field(const std::string& name) const;
};

// True for the families that have a parameter form (2, 3, 4, 5 and 8).
bool HasCurveForm(int curveType);

// The form of a family as it opens: captions, labels, hints and the record's
// values in the edits.
CurveForm CreateCurveForm(int curveType);

// Value loaders: the record into the edits, in the active unit system.
void ShowEllipseValues(CurveForm& form);
void ShowSineValues(CurveForm& form);
void ShowSineLinearValues(CurveForm& form);
void ShowPolygonValues(CurveForm& form);
void ShowEccentricValues(CurveForm& form);
void ShowCurveValues(CurveForm& form);  // the loader of form.curveType

// Value readers: the edits into the record. Empty text is 0; only a
// sine wave count below 1 (it becomes 1) and a turning angle of exactly 0
// (it becomes 225) are replaced; everything else is judged by the
// calculation.
void ReadEllipseValues(const CurveForm& form);
void ReadSineValues(const CurveForm& form);
void ReadSineLinearValues(const CurveForm& form);
void ReadPolygonValues(const CurveForm& form);
void ReadEccentricValues(const CurveForm& form);
void ReadCurveValues(const CurveForm& form);  // the reader of form.curveType

// Polygon: the radio group clicked or a diameter edit changed. The entered
// diameter's edit is enabled, the other one follows it through cos(pi / z)
// (nothing is computed while the edge count is not a positive integer).
void TogglePolygonDiameter(CurveForm& form);

// The "<" button beside a field: the proposal from the value it depends on
// (b = 0.9 a; A = 0.1 rw0; e = 0.1 d, each rounded to a whole mm; N = 1;
// turning angle 225).
void ProposeCurveValue(CurveForm& form, const std::string& fieldName);

// The edited fields checked before they are read: a text that is no number
// ("abc", "1e999") is refused with a message naming the field, the field
// shows its old value again, and false (value_edit.h).
bool CurveFieldsAccepted(CurveForm& form);

// The buttons. OK: the fields checked, AbortFlag cleared, values read (the
// dialog closes); false when a field was refused (the record unchanged, the
// dialog stays open). Cancel: AbortFlag set (the record keeps what it
// holds). "mm <--> inch": checked, read, switch the unit system, show
// again. "Calc": checked, read, recalculate the pair and redraw the current
// view; the dialog stays open. "&Help Text": help text 1000, AbortFlag
// cleared.
bool CurveFormOk(CurveForm& form);
void CurveFormCancel();
void CurveFormSwitchUnits(CurveForm& form);
void CurveFormCalc(CurveForm& form);
void CurveFormHelp();

// ---- The dialogs -----------------------------------------------------------------

class CurveFormViews {
 public:
  virtual ~CurveFormViews() = default;
  // Shows the form modally; its buttons run the operations above. On
  // return AbortFlag is clear after OK and set after Cancel.
  virtual void ShowCurveForm(CurveForm& form) = 0;
};

// Installs the views (not owned); nullptr returns to the default, which
// cancels so that a run without windows never waits.
CurveFormViews* SetCurveFormViews(CurveFormViews* views);

// Shows the parameter form of a family (2, 3, 4, 5, 8) modally.
void ShowCurveParameterForm(int curveType);
inline void ShowEllipseForm() { ShowCurveParameterForm(2); }
inline void ShowSineForm() { ShowCurveParameterForm(3); }
inline void ShowSineLinearForm() { ShowCurveParameterForm(4); }
inline void ShowPolygonForm() { ShowCurveParameterForm(5); }
inline void ShowEccentricForm() { ShowCurveParameterForm(8); }

// The dialog of any family 2..9 (the parameter forms here, the point-list
// forms of point_list_input.h); the slot Entry().ShowCurveForm. Another
// type sets AbortFlag.
void ShowCurveFamilyForm(int curveType);

}  // namespace app
