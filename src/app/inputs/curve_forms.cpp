// The parameter forms of the analytic pitch-curve families; see
// curve_forms.h.
#include "app/inputs/curve_forms.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>

#include "app/entry_points.h"
#include "app/inputs/point_list_input.h"
#include "app/inputs/value_edit.h"
#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "common/code_page.h"
#include "common/guarded_math.h"
#include "common/help_text.h"
#include "common/form_placement.h"
#include "common/kaldvar.h"
#include "common/number_format.h"
#include "common/numeric_routines.h"
#include "common/unit_labels.h"

namespace app {

namespace {

using common::AbortFlag;

enum class Quantity { Length, Count, Degrees };

// The field of a quantity: label (code page 850 name + symbol), hint of its
// help number, and whether a "<" button proposes it.
CurveFormField MakeField(const std::string& name, const std::string& label, Quantity quantity, int help,
                         bool proposal = false) {
  CurveFormField f;
  f.name = name;
  f.label = common::OemToDisplayText(label);
  if (quantity == Quantity::Length) f.unit = common::LengthUnitLabel();
  if (quantity == Quantity::Degrees) f.unit = common::OemToDisplayText(common::DegreeUnitLabel());
  if (common::HelpLevel != 0) f.hint = common::GetHelpText2(help);
  f.proposal = proposal;
  return f;
}

void ShowText(CurveFormField& f, const std::string& text, Real value) {
  f.text = text;
  f.shown = text;
  f.value = value;
}

void ShowLength(CurveForm& form, const std::string& name, Real mm) {
  CurveFormField& f = form.Field(name);
  f.unit = common::LengthUnitLabel();
  ShowText(f, common::LengthToText(mm), mm);
}

// The value of an edit: the stored one while the edit shows what the loader
// wrote (its display is rounded), else the entered text.
Real LengthOf(const CurveFormField& f) { return f.text == f.shown ? f.value : common::TextToLength(f.text); }
Real RealOf(const CurveFormField& f) { return f.text == f.shown ? f.value : common::TextToReal(f.text); }

// round(TextToReal) held in [low, high]: a count typed far out of range (or
// not a number at all) must not overflow the record's integer. Halves go to
// the even neighbour, as every rounding of the program's inputs.
long long RoundedCount(const CurveFormField& f, long long low, long long high) {
  const Real x = RealOf(f);
  if (!(x >= static_cast<Real>(low))) return low;
  if (x >= static_cast<Real>(high)) return high;
  return static_cast<long long>(common::RoundDecimals(0, x));
}

// A "<" proposal of a length: factor times the value it follows, rounded to
// a whole mm, shown in the active unit (and read back as that whole mm).
void ProposeLength(CurveForm& form, const std::string& target, const std::string& source, Real factor) {
  const Real mm = common::RoundDecimals(0, factor * LengthOf(form.Field(source)));
  ShowText(form.Field(target), common::LengthToText(mm), mm);
}

const char* FormName(int curveType) {
  switch (curveType) {
    case calc::CurveEllipse: return "Form_vob4elip";
    case calc::CurveSine: return "Form_vob4sin";
    case calc::CurveSineLinear: return "Form_vob4slin";
    case calc::CurvePolygon: return "Form_vob4pg";
    case calc::CurveEccentric: return "Form_vob4exz";
    default: return "";
  }
}

const char* CaptionWord(int curveType) {
  switch (curveType) {
    case calc::CurveEllipse: return "ellipse";
    case calc::CurveSine: return "sine";
    case calc::CurveSineLinear: return "sine-linear";
    case calc::CurvePolygon: return "Polygon";
    case calc::CurveEccentric: return "eccentric element";
    default: return "";
  }
}

// The cancelling default: a run without windows never waits for a user.
class CancellingViews : public CurveFormViews {
 public:
  void ShowCurveForm(CurveForm&) override { AbortFlag = 1; }
};

CurveFormViews& Views(CurveFormViews* replace = nullptr, bool set = false) {
  static CancellingViews cancelling;
  static CurveFormViews* current = &cancelling;
  if (set) current = replace ? replace : &cancelling;
  return *current;
}

}  // namespace

CurveFormField& CurveForm::Field(const std::string& fieldName) {
  for (CurveFormField& f : fields)
    if (f.name == fieldName) return f;
  throw std::out_of_range("no field " + fieldName + " in " + name);
}

const CurveFormField& CurveForm::Field(const std::string& fieldName) const {
  return const_cast<CurveForm*>(this)->Field(fieldName);
}

bool HasCurveForm(int curveType) { return *FormName(curveType) != '\0'; }

CurveForm CreateCurveForm(int curveType) {
  CurveForm form;
  form.curveType = curveType;
  form.name = FormName(curveType);
  const std::string rw0 = "operating pitch circle rw0";
  const std::string amplitude = "amplitude A";
  switch (curveType) {
    case calc::CurveEllipse:
      form.fields = {MakeField("Edit_a", "half length a", Quantity::Length, 7830),
                     MakeField("Edit_b", "half length b", Quantity::Length, 7840, true)};
      form.helpButton = true;
      break;
    case calc::CurveSine:
      form.fields = {MakeField("Edit_rw0", rw0, Quantity::Length, 7850),
                     MakeField("Edit_A", amplitude, Quantity::Length, 7860, true),
                     MakeField("Edit_N", "number of N", Quantity::Count, 7865, true)};
      form.lines = {"r = rw0 + A * sin (N * phi)"};
      form.helpButton = true;
      break;
    case calc::CurveSineLinear:
      form.fields = {MakeField("Edit_rw0", rw0, Quantity::Length, 7850),
                     MakeField("Edit_A", amplitude, Quantity::Length, 7860, true),
                     MakeField("Edit_philin", "turning point angle", Quantity::Degrees, 7870, true)};
      form.lines = {common::OemToDisplayText("0\xF8 .. phi lin: linear"),
                    common::OemToDisplayText("phi lin .. 360\xF8: sinus")};
      break;
    case calc::CurvePolygon:
      form.fields = {MakeField("Edit_z", "number of edges z", Quantity::Count, 7950),
                     MakeField("Edit_Di", "width across flats (incircle) Di", Quantity::Length, 7960),
                     MakeField("Edit_De", "width across corners (circumcircle) De", Quantity::Length, 7970)};
      form.diameterMode = 0;
      break;
    case calc::CurveEccentric:
      form.fields = {MakeField("Edit_d", "diameter d", Quantity::Length, 7980),
                     MakeField("Edit_e", "eccentricity e", Quantity::Length, 7990, true)};
      break;
    default:
      return form;
  }
  ShowCurveValues(form);
  return form;
}

// ---- Loaders and readers ---------------------------------------------------------

void ShowEllipseValues(CurveForm& form) {
  ShowLength(form, "Edit_a", calc::EllipseCurve.a);
  ShowLength(form, "Edit_b", calc::EllipseCurve.b);
}

void ReadEllipseValues(const CurveForm& form) {
  calc::EllipseCurve.a = LengthOf(form.Field("Edit_a"));
  calc::EllipseCurve.b = LengthOf(form.Field("Edit_b"));
}

void ShowSineValues(CurveForm& form) {
  ShowLength(form, "Edit_rw0", calc::SineCurve.rw0);
  ShowLength(form, "Edit_A", calc::SineCurve.A);
  ShowText(form.Field("Edit_N"), common::RealToText(calc::SineCurve.N), calc::SineCurve.N);
}

void ReadSineValues(const CurveForm& form) {
  calc::SineCurve.rw0 = LengthOf(form.Field("Edit_rw0"));
  calc::SineCurve.A = LengthOf(form.Field("Edit_A"));
  // At least one wave: 0, text that is no number and negative counts give 1.
  const long long n = RoundedCount(form.Field("Edit_N"), 0, std::numeric_limits<std::int32_t>::max());
  calc::SineCurve.N = static_cast<std::int32_t>(n < 1 ? 1 : n);
}

void ShowSineLinearValues(CurveForm& form) {
  ShowLength(form, "Edit_rw0", calc::SineLinearCurve.rw0);
  ShowLength(form, "Edit_A", calc::SineLinearCurve.A);
  ShowText(form.Field("Edit_philin"), common::RealToText(calc::SineLinearCurve.PhiLin),
           calc::SineLinearCurve.PhiLin);
}

void ReadSineLinearValues(const CurveForm& form) {
  calc::SineLinearCurve.rw0 = LengthOf(form.Field("Edit_rw0"));
  calc::SineLinearCurve.A = LengthOf(form.Field("Edit_A"));
  const Real phiLin = RealOf(form.Field("Edit_philin"));
  calc::SineLinearCurve.PhiLin = phiLin == 0 ? 225 : phiLin;
}

void ShowPolygonValues(CurveForm& form) {
  ShowText(form.Field("Edit_z"), common::IntToText(calc::PolygonCurve.Corners), calc::PolygonCurve.Corners);
  ShowLength(form, "Edit_Di", calc::PolygonCurve.Di);
  ShowLength(form, "Edit_De", calc::PolygonCurve.De);
  // Writing the diameters changes their edits, so the dependent one follows
  // the entered one at once: a stored pair that does not fit the edge count
  // is never shown, nor stored again by OK.
  TogglePolygonDiameter(form);
}

void ReadPolygonValues(const CurveForm& form) {
  calc::PolygonCurve.Corners =
      static_cast<std::uint16_t>(RoundedCount(form.Field("Edit_z"), 0, std::numeric_limits<std::uint16_t>::max()));
  calc::PolygonCurve.Di = LengthOf(form.Field("Edit_Di"));
  calc::PolygonCurve.De = LengthOf(form.Field("Edit_De"));
}

void ShowEccentricValues(CurveForm& form) {
  ShowLength(form, "Edit_d", calc::EccentricCurve.D);
  ShowLength(form, "Edit_e", calc::EccentricCurve.E);
}

void ReadEccentricValues(const CurveForm& form) {
  calc::EccentricCurve.D = LengthOf(form.Field("Edit_d"));
  calc::EccentricCurve.E = LengthOf(form.Field("Edit_e"));
}

void ShowCurveValues(CurveForm& form) {
  form.caption = common::ProgramTitle + " " + CaptionWord(form.curveType);
  switch (form.curveType) {
    case calc::CurveEllipse: ShowEllipseValues(form); break;
    case calc::CurveSine: ShowSineValues(form); break;
    case calc::CurveSineLinear: ShowSineLinearValues(form); break;
    case calc::CurvePolygon: ShowPolygonValues(form); break;
    case calc::CurveEccentric: ShowEccentricValues(form); break;
    default: break;
  }
}

void ReadCurveValues(const CurveForm& form) {
  switch (form.curveType) {
    case calc::CurveEllipse: ReadEllipseValues(form); break;
    case calc::CurveSine: ReadSineValues(form); break;
    case calc::CurveSineLinear: ReadSineLinearValues(form); break;
    case calc::CurvePolygon: ReadPolygonValues(form); break;
    case calc::CurveEccentric: ReadEccentricValues(form); break;
    default: break;
  }
}

// ---- Polygon diameters and proposals -------------------------------------------------

void TogglePolygonDiameter(CurveForm& form) {
  CurveFormField& di = form.Field("Edit_Di");
  CurveFormField& de = form.Field("Edit_De");
  di.enabled = form.diameterMode == 0;
  de.enabled = form.diameterMode != 0;
  const std::int32_t z = common::TextToInt(form.Field("Edit_z").text);
  if (z <= 0) return;
  const Real c = std::cos(common::Pi / z);
  // The computed diameter keeps its exact value behind the rounded text, so
  // that the incircle the radius uses is the one of the entered circumcircle.
  if (form.diameterMode == 0) {
    const Real mm = LengthOf(di) / c;
    ShowText(de, common::LengthToText(mm), mm);
  } else {
    const Real mm = c * LengthOf(de);
    ShowText(di, common::LengthToText(mm), mm);
  }
}

void ProposeCurveValue(CurveForm& form, const std::string& fieldName) {
  switch (form.curveType) {
    case calc::CurveEllipse:
      if (fieldName == "Edit_b") ProposeLength(form, "Edit_b", "Edit_a", 0.9L);
      break;
    case calc::CurveSine:
    case calc::CurveSineLinear:
      if (fieldName == "Edit_A") ProposeLength(form, "Edit_A", "Edit_rw0", 0.1L);
      if (fieldName == "Edit_N") form.Field("Edit_N").text = "1";
      if (fieldName == "Edit_philin") form.Field("Edit_philin").text = "225";
      break;
    case calc::CurveEccentric:
      if (fieldName == "Edit_e") ProposeLength(form, "Edit_e", "Edit_d", 0.1L);
      break;
    default:
      break;
  }
}

// ---- Buttons ------------------------------------------------------------------------------

bool CurveFieldsAccepted(CurveForm& form) {
  for (CurveFormField& field : form.fields) {
    // A disabled edit follows the entered one and is computed, not typed.
    if (!field.enabled || field.text == field.shown) continue;
    if (!AcceptNumberText(field.label, field.text, field.shown)) return false;
  }
  return true;
}

bool CurveFormOk(CurveForm& form) {
  if (!CurveFieldsAccepted(form)) return false;
  AbortFlag = 0;
  ReadCurveValues(form);
  return true;
}

void CurveFormCancel() { AbortFlag = 1; }

void CurveFormSwitchUnits(CurveForm& form) {
  if (!CurveFieldsAccepted(form)) return;
  ReadCurveValues(form);
  common::ToggleUnitSystem();
  ShowCurveValues(form);
}

void CurveFormCalc(CurveForm& form) {
  if (!CurveFieldsAccepted(form)) return;
  ReadCurveValues(form);
  calc::CalcNoncircularPair();
  Entry().RedrawCurrentView();
}

void CurveFormHelp() {
  common::ShowHelpText(1000, 1);
  AbortFlag = 0;
}

// ---- The dialogs -----------------------------------------------------------------------

CurveFormViews* SetCurveFormViews(CurveFormViews* views) {
  CurveFormViews* previous = &Views();
  Views(views, true);
  return previous;
}

void ShowCurveParameterForm(int curveType) {
  if (!HasCurveForm(curveType)) {
    AbortFlag = 1;
    return;
  }
  CurveForm form = CreateCurveForm(curveType);
  Views().ShowCurveForm(form);
}

void ShowCurveFamilyForm(int curveType) {
  if (HasCurveForm(curveType))
    ShowCurveParameterForm(curveType);
  else if (HasPointForm(curveType))
    ShowPointListForm(curveType);
  else
    AbortFlag = 1;
}

}  // namespace app
