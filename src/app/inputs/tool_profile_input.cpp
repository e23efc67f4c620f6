// The tool-profile and complement dialogs; see tool_profile_input.h.
#include "app/inputs/tool_profile_input.h"

#include "app/entry_points.h"
#include "calc/noncircular_pair.h"
#include "calc/spur_gear_data.h"
#include "calc/spur_pair_driver.h"
#include "common/code_page.h"
#include "common/help_text.h"
#include "common/kaldvar.h"
#include "common/number_format.h"

namespace app {

namespace {

// The code of a tool described by its reference-rack coefficients alone.
constexpr std::uint16_t PlainRackTool = 4;

std::string PlainText(Real x) { return common::RealToText(x); }
Real PlainValue(const std::string& text) { return common::TextToReal(text); }

}  // namespace

// ---- The tool profile ------------------------------------------------------------

ToolProfileDialog::ToolProfileDialog() {
  caption = common::OemToDisplayText(common::ProgramTitle) + " " + "DIMENSIONS OF GEAR-CUTTING TOOL";
  if (common::HelpLevel != 0) {
    // Help lines come as display text already.
    dedendumHint = common::GetHelpText2(5410);
    addendumHint = common::GetHelpText2(5420);
  }
  for (int i = 1; i <= 2; ++i)
    if (calc::SpurGearData.ToolKindCode[i] == 0) calc::SpurGearData.ToolKindCode[i] = PlainRackTool;
  ShowValues();
}

void ToolProfileDialog::ShowValues() {
  const calc::TSpurGearData& g = calc::SpurGearData;
  for (int i = 1; i <= 2; ++i) {
    addendum[i].Show(g.haP0Factor[i], PlainText);
    dedendum[i].Show(g.hfP0Factor[i], PlainText);
  }
}

void ToolProfileDialog::ReadValues() const {
  calc::TSpurGearData& g = calc::SpurGearData;
  for (int i = 1; i <= 2; ++i) {
    g.haP0Factor[i] = addendum[i].Read(PlainValue);
    g.hfP0Factor[i] = dedendum[i].Read(PlainValue);
  }
}

bool ToolProfileDialog::FieldsAccepted() {
  for (int i = 1; i <= 2; ++i) {
    const std::string gear = " (" + common::IntToText(i) + ")";
    if (!addendum[i].Accept("Addendum of tool haP0/mn" + gear)) return false;
    if (!dedendum[i].Accept("Dedendum of tool hfP0/mn" + gear)) return false;
  }
  return true;
}

void ToolProfileDialog::ProposeAddendum(int gear) { addendum[gear].text = "1.25"; }

void ToolProfileDialog::ProposeDedendum(int gear) { dedendum[gear].text = "1.0"; }

void ToolProfileDialog::Button_okClick() {
  if (!FieldsAccepted()) return;
  common::AbortFlag = 0;
  ReadValues();
  result_ = DialogResult::Ok;
}

void ToolProfileDialog::Button_cancelClick() {
  common::AbortFlag = 1;
  result_ = DialogResult::Cancelled;
}

void ToolProfileDialog::Button_helpClick() {
  common::ShowHelpText(1000, 1);
  common::AbortFlag = 0;
}

void ToolProfileDialog::Button_imageClick() {
  if (FieldsAccepted()) ReadValues();
  common::ShowHelpText(5400, 2);
  common::AbortFlag = 0;
}

void ToolProfileDialog::Button_calcClick() {
  if (!FieldsAccepted()) return;
  common::AbortFlag = 0;
  ReadValues();
  calc::CalcNoncircularPair();
  Entry().RedrawCurrentView();
}

void ToolProfileDialog::Button_complementClick() {
  ComplementDialog complement;
  DesignViews().RunComplement(complement);
  if (complement.Result() == DialogResult::Ok) ShowValues();
  common::AbortFlag = 0;
}

// ---- The complement ----------------------------------------------------------------

Real ComplementShift(Real ha, Real hf) {
  const Real depth = hf + ha;
  if (depth == 0) return 0;
  return 1 - hf * 2.25L / depth;
}

ComplementDialog::ComplementDialog() {
  const calc::TSpurGearData& g = calc::SpurGearData;
  caption = common::OemToDisplayText(common::ProgramTitle);
  ha1.Show(g.haP0Factor[1], PlainText);
  hf1.Show(g.hfP0Factor[1], PlainText);
  c.Show(g.haP0Factor[1] - g.hfP0Factor[2], PlainText);
  EditChanged();
}

void ComplementDialog::EditChanged() {
  const Real ha = ha1.Read(PlainValue);
  const Real hf = hf1.Read(PlainValue);
  const Real clearance = c.Read(PlainValue);
  const Real ha2 = hf + clearance;
  const Real hf2 = ha - clearance;
  haP02Label = "haP02/mn = " + common::RealToText(ha2);
  hfP02Label = "hfP02/mn = " + common::RealToText(hf2);
  shiftLabel = "x1 = " + common::RealToText(ComplementShift(ha, hf)) + "  x2 = " +
               common::RealToText(ComplementShift(ha2, hf2));
}

void ComplementDialog::Button_okClick() {
  if (!ha1.Accept("Addendum of tool haP01/mn") || !hf1.Accept("Dedendum of tool hfP01/mn") ||
      !c.Accept("Clearance factor c/mn")) {
    EditChanged();
    return;
  }
  calc::TSpurGearData& g = calc::SpurGearData;
  common::AbortFlag = 0;
  // Edits left alone give the tool of gear 1 as it is, not its rounded
  // display.
  const Real ha = ha1.Read(PlainValue);
  const Real hf = hf1.Read(PlainValue);
  const Real clearance = c.Read(PlainValue);
  for (int i = 1; i <= 2; ++i) g.ToolKindCode[i] = PlainRackTool;
  g.haP0Factor[1] = ha;
  g.hfP0Factor[1] = hf;
  g.haP0Factor[2] = clearance + hf;
  g.hfP0Factor[2] = ha - clearance;
  for (int i = 1; i <= 2; ++i) g.ProfileShift[i] = ComplementShift(g.haP0Factor[i], g.hfP0Factor[i]);
  calc::CalcSpurGeometry();
  for (int i = 1; i <= 2; ++i) {
    g.rhoaP0Factor[i] = clearance;
    g.TipReduction[i] = 0;
    g.TipDiameter[i] = g.TipDiameterTheoretical[i] - 2 * g.TipReduction[i];
  }
  // The clearance between each tip and the other gear's root; the tip
  // diameters just set stand only with these clearances.
  for (int i = 1; i <= 2; ++i) g.c[i] = g.CentreDistance - (g.TipDiameter[i] + g.df[3 - i]) / 2;
  calc::CalcSpurPair();
  result_ = DialogResult::Ok;
}

void ComplementDialog::Button_cancelClick() {
  common::AbortFlag = 1;
  result_ = DialogResult::Cancelled;
}

void ComplementDialog::Button_helpClick() {
  common::ShowHelpText(5125, 1);
  common::AbortFlag = 0;
}

void ShowToolProfileForm() {
  ToolProfileDialog dialog;
  DesignViews().RunToolProfile(dialog);
  if (dialog.Result() == DialogResult::Open) dialog.Button_cancelClick();
}

}  // namespace app
