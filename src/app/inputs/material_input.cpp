// The material input; see material_input.h.
#include "app/inputs/material_input.h"

#include <utility>

#include "app/design_extras.h"
#include "app/entry_points.h"
#include "calc/calc_records.h"
#include "calc/hardness_conversion.h"
#include "calc/hardness_dialog.h"
#include "calc/noncircular_pair.h"
#include "calc/spur_gear_data.h"
#include "common/code_page.h"
#include "common/form_placement.h"
#include "common/help_text.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/number_format.h"
#include "common/online_form.h"
#include "common/unit_labels.h"

namespace app {

namespace {

using common::AbortFlag;

constexpr int kMaterialHelp = 9010;
constexpr int kTypeCount = 8;
constexpr int kHeatCount = 8;

std::string Display(const std::string& text) { return common::OemToDisplayText(text); }
std::string StressText(Real x) { return common::StressToText(x); }
Real TextStress(const std::string& text) { return common::TextToStress(text); }
std::string PlainText(Real x) { return common::RealToText(x); }
Real PlainValue(const std::string& text) { return common::TextToReal(text); }

// Everything the form edits of one gear, as the records hold it.
struct TGearMaterialRecord {
  std::string name;
  Real sigmaFE, sigmaHlim, hb, e, poisson, density;
  std::uint16_t type, heat, recNo;
};

TGearMaterialRecord TakeGearMaterial(int g) {
  const calc::TSpurGearData& sg = calc::SpurGearData;
  return {MaterialName[g], sg.SigmaFE[g], sg.SigmaHlim[g], sg.HB[g],          sg.E[g],
          sg.mue[g],       sg.rho[g],     sg.MaterialType[g], sg.HeatTreatment[g], MaterialRecNo[g]};
}

void PutGearMaterial(int g, const TGearMaterialRecord& r) {
  calc::TSpurGearData& sg = calc::SpurGearData;
  MaterialName[g] = r.name;
  sg.SigmaFE[g] = r.sigmaFE;
  sg.SigmaHlim[g] = r.sigmaHlim;
  sg.HB[g] = r.hb;
  sg.E[g] = r.e;
  sg.mue[g] = r.poisson;
  sg.rho[g] = r.density;
  sg.MaterialType[g] = r.type;
  sg.HeatTreatment[g] = r.heat;
  MaterialRecNo[g] = r.recNo;
}

int Clamp(int index, int count) { return index < 0 ? 0 : index >= count ? count - 1 : index; }

MaterialFormView CancellingView() {
  return [](TMaterialForm&) { MaterialCancel(); };
}

}  // namespace

TMaterialForm CreateMaterialForm() {
  TMaterialForm form;
  form.Caption = Display(common::ProgramTitle + "  " + "Material data" + ", " + "hardness" + ", " + "Heat treatment");
  for (int t = 1; t <= kTypeCount; ++t) form.TypeItems.push_back(Display(calc::MaterialTypeNames[t]));
  for (int h = 0; h < kHeatCount; ++h) form.HeatItems.push_back(Display(calc::HeatTreatmentNames[h]));
  ShowMaterialValues(form);
  return form;
}

void ShowMaterialGearValues(TMaterialForm& form, int g) {
  const TGearMaterialRecord r = TakeGearMaterial(g);
  TMaterialGearEdits& e = form.Gear[g];
  e.Name = Display(r.name);
  e.SigmaFE.Show(r.sigmaFE, StressText);
  e.SigmaHlim.Show(r.sigmaHlim, StressText);
  e.E.Show(r.e, StressText);
  e.HB.Show(r.hb, PlainText);
  e.Poisson.Show(r.poisson, PlainText);
  e.Density.Show(r.density, PlainText);
  // A code outside the lists (an old or damaged design) shows the nearest
  // entry rather than none.
  e.TypeIndex = Clamp(static_cast<int>(r.type) - 1, kTypeCount);
  e.HeatIndex = Clamp(static_cast<int>(r.heat), kHeatCount);
  e.RecNo = r.recNo;
}

void ShowMaterialValues(TMaterialForm& form) {
  form.StressUnit = Display(common::StressUnitLabel());
  for (int g = 1; g <= 2; ++g) ShowMaterialGearValues(form, g);
}

void ReadMaterialValues(const TMaterialForm& form) {
  for (int g = 1; g <= 2; ++g) {
    const TMaterialGearEdits& e = form.Gear[g];
    TGearMaterialRecord r;
    r.name = common::AnsiToOemText(e.Name);
    r.sigmaFE = e.SigmaFE.Read(TextStress);
    r.sigmaHlim = e.SigmaHlim.Read(TextStress);
    r.e = e.E.Read(TextStress);
    r.hb = e.HB.Read(PlainValue);
    r.poisson = e.Poisson.Read(PlainValue);
    r.density = e.Density.Read(PlainValue);
    r.type = static_cast<std::uint16_t>(Clamp(e.TypeIndex, kTypeCount) + 1);
    r.heat = static_cast<std::uint16_t>(Clamp(e.HeatIndex, kHeatCount));
    r.recNo = e.RecNo;
    PutGearMaterial(g, r);
  }
}

void CopyMaterialGear(TMaterialForm& form, int from, int to) {
  if (from < 1 || from > 2 || to < 1 || to > 2 || from == to) return;
  form.Gear[to] = form.Gear[from];
}

void PickMaterialFromTable(TMaterialForm& form, int g) {
  if (g < 1 || g > 2) return;
  // The table writes the records; they are kept as they were and the pick
  // lives in the edits until OK, so that Cancel undoes it and the edits of
  // the other gear stay as typed.
  const TGearMaterialRecord kept = TakeGearMaterial(g);
  MaterialRecNo[g] = form.Gear[g].RecNo;  // the table opens on the gear's last pick
  AbortFlag = 0;
  Entry().SelectGearMaterial(g, 1);
  if (!AbortFlag) ShowMaterialGearValues(form, g);
  PutGearMaterial(g, kept);
  AbortFlag = 0;
}

void ConvertMaterialHardness(TMaterialForm& form, int g) {
  if (g < 1 || g > 2) return;
  // The range message of a Brinell value out of the table is the
  // converter's; the pair's list stays as the calculation left it.
  const common::KeptMessages pair;
  calc::ConvertHardnessValue(calc::ScaleHB, form.Gear[g].HB.Read(PlainValue));
  // The conversion form reports only that it was left; Escape (leave without
  // taking the inputs) is the cancel, told apart by watching the form.
  common::OnlineExit lastExit = common::OnlineExit::Escape;
  common::OnlineFormView inner = common::SetOnlineFormView(nullptr);
  common::SetOnlineFormView([&](int row, int helpBase) {
    common::OnlineFormResult result = inner(row, helpBase);
    lastExit = result.exit;
    return result;
  });
  calc::HardnessDialog();
  common::SetOnlineFormView(std::move(inner));
  const Real hb = calc::GetHardnessValue(calc::ScaleHB);
  // An out-of-range entry leaves no Brinell value: the edit keeps its text.
  if (lastExit != common::OnlineExit::Escape && hb > 0) form.Gear[g].HB.text = common::RealToTextFixed(0, hb);
  AbortFlag = 0;
}

bool MaterialValuesAccepted(TMaterialForm& form) {
  for (int g = 1; g <= 2; ++g) {
    TMaterialGearEdits& e = form.Gear[g];
    const std::string gear = " (gear " + common::IntToText(g) + ")";
    if (!e.SigmaFE.Accept("Fatigue strength, tooth root Sigma-FE" + gear) ||
        !e.SigmaHlim.Accept("Strength Tooth flank Sigma-Hlim" + gear) || !e.HB.Accept("Brinell hardness" + gear) ||
        !e.E.Accept("Modulus of elasticity E" + gear) || !e.Poisson.Accept("Poisson ratio \u00b5" + gear) ||
        !e.Density.Accept("Density" + gear))
      return false;
  }
  return true;
}

bool MaterialOk(TMaterialForm& form) {
  if (!MaterialValuesAccepted(form)) return false;
  AbortFlag = 0;
  ReadMaterialValues(form);
  return true;
}

void MaterialCancel() { AbortFlag = 1; }

void MaterialToggleUnits(TMaterialForm& form) {
  if (!MaterialValuesAccepted(form)) return;
  ReadMaterialValues(form);
  common::ToggleUnitSystem();
  ShowMaterialValues(form);
}

void MaterialHelp() {
  common::ShowHelpText(kMaterialHelp, 1);
  AbortFlag = 0;
}

void MaterialCalc(TMaterialForm& form) {
  if (!MaterialValuesAccepted(form)) return;
  AbortFlag = 0;
  ReadMaterialValues(form);
  calc::CalcNoncircularPair();
  Entry().RedrawCurrentView();
}

MaterialFormView& MaterialFormShower() {
  static MaterialFormView view = CancellingView();
  return view;
}

void ResetMaterialFormShower() { MaterialFormShower() = CancellingView(); }

void ShowMaterialForm() {
  TMaterialForm form = CreateMaterialForm();
  MaterialFormView& view = MaterialFormShower();
  if (view)
    view(form);
  else
    MaterialCancel();
}

}  // namespace app
