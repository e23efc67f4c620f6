// The gear geometry dialog; see gear_geometry_input.h.
#include "app/inputs/gear_geometry_input.h"

#include <algorithm>

#include "calc/calc_records.h"
#include "calc/spur_gear_data.h"
#include "common/code_page.h"
#include "common/form_placement.h"
#include "common/help_text.h"
#include "common/kaldvar.h"
#include "common/number_format.h"
#include "common/numeric_routines.h"
#include "common/unit_labels.h"

namespace app {

namespace {

std::string LengthText(Real x) { return common::LengthToText(x); }
Real TextLength(const std::string& text) { return common::TextToLength(text); }
std::string PlainText(Real x) { return common::RealToText(x); }
Real PlainValue(const std::string& text) { return common::TextToReal(text); }

}  // namespace

GearGeometryDialog::GearGeometryDialog() {
  caption = common::OemToDisplayText(common::ProgramTitle);
  ShowValues();
}

void GearGeometryDialog::ShowValues() {
  const calc::TSpurGearData& g = calc::SpurGearData;
  degreeUnit = common::OemToDisplayText(common::DegreeUnitLabel());
  lengthUnit = common::OemToDisplayText(common::LengthUnitLabel());
  alpha.Show(g.PressureAngle, PlainText);
  z1 = common::IntToText(calc::NcPair.z1);
  shownZ1_ = z1;
  b.Show(g.FaceWidth, LengthText);
  k = std::clamp<int>(calc::NcPair.k, MinTurnRatio, MaxTurnRatio);
  constantModule = calc::NcPair.ModuleMode == 2;
  for (int i = 1; i <= 2; ++i) bore[i].Show(g.BoreDiameter[i], LengthText);
}

// z2 is left to the calculation (z1 * k).
void GearGeometryDialog::ReadValues() const {
  calc::TSpurGearData& g = calc::SpurGearData;
  g.PressureAngle = alpha.Read(PlainValue);
  calc::NcPair.z1 = common::TextToInt(z1);
  g.FaceWidth = b.Read(TextLength);
  calc::NcPair.k = std::clamp(k, MinTurnRatio, MaxTurnRatio);
  calc::NcPair.ModuleMode = constantModule ? 2 : 1;
  for (int i = 1; i <= 2; ++i) g.BoreDiameter[i] = bore[i].Read(TextLength);
}

bool GearGeometryDialog::LengthsAccepted() {
  return b.Accept("face width b") && bore[1].Accept("borehole diameter 1") && bore[2].Accept("borehole diameter 2");
}

bool GearGeometryDialog::FieldsAccepted() {
  return alpha.Accept("pressure angle alpha") && AcceptWholeNumberText("no. of teeth z1", z1, shownZ1_) &&
         LengthsAccepted();
}

void GearGeometryDialog::ProposeAlpha() { alpha.text = "20"; }

void GearGeometryDialog::ProposeZ1() { z1 = "30"; }

void GearGeometryDialog::ProposeTurnRatio() { k = 1; }

void GearGeometryDialog::ProposeFaceWidth() {
  // A negative tooth number would propose a negative width.
  const std::int32_t z = common::TextToInt(z1);
  if (z > 0) b.text = common::LengthToText(calc::RadiusExtremes.r1max * 25 / z);
}

void GearGeometryDialog::ProposeBore(int gear) {
  const Real r = gear == 1 ? calc::RadiusExtremes.r1min : calc::RadiusExtremes.r2min;
  // The whole mm stays behind its text, also when it is shown in inches.
  bore[gear].Show(common::RoundDecimals(0, 0.5L * r), LengthText);
}

void GearGeometryDialog::Button_okClick() {
  if (!FieldsAccepted()) return;
  ReadValues();
  common::AbortFlag = 0;
  result_ = DialogResult::Ok;
}

void GearGeometryDialog::Button_cancelClick() {
  common::AbortFlag = 1;
  result_ = DialogResult::Cancelled;
}

// The edits change their unit, not the records: Cancel afterwards still
// leaves the design as it was.
void GearGeometryDialog::Button_metricClick() {
  if (!LengthsAccepted()) return;
  const Real width = b.Read(TextLength);
  GearArray<Real> bores{};
  for (int i = 1; i <= 2; ++i) bores[i] = bore[i].Read(TextLength);
  common::ToggleUnitSystem();
  lengthUnit = common::OemToDisplayText(common::LengthUnitLabel());
  b.Show(width, LengthText);
  for (int i = 1; i <= 2; ++i) bore[i].Show(bores[i], LengthText);
}

void GearGeometryDialog::Button_helpClick() {
  common::ShowHelpText(4010, 1);
  common::AbortFlag = 0;
}

void ShowGeometryForm() {
  GearGeometryDialog dialog;
  DesignViews().RunGeometry(dialog);
  if (dialog.Result() == DialogResult::Open) dialog.Button_cancelClick();
}

}  // namespace app
