// The lubricant form and the viscosity converter; see lubricant_input.h.
#include "app/inputs/lubricant_input.h"

#include "calc/lubricant_viscosity.h"
#include "calc/spur_gear_data.h"
#include "common/code_page.h"
#include "common/help_text.h"
#include "common/kaldvar.h"
#include "common/number_format.h"
#include "common/unit_labels.h"

namespace app {

TLubricant Lubricant;

namespace {

using common::AbortFlag;

constexpr int kLubricantHelp = 9155;

std::string Display(const std::string& text) { return common::OemToDisplayText(text); }
std::string PlainText(Real x) { return common::RealToText(x); }
Real PlainValue(const std::string& text) { return common::TextToReal(text); }
std::string TemperatureText(Real x) { return common::TemperatureToText(x); }
Real TextTemperature(const std::string& text) { return common::TextToTemperature(text); }

// The viscosity at `target` °C of an oil with `nu` mm²/s at `reference` °C.
Real ViscosityAt(Real target, Real reference, Real nu) {
  return calc::CalcViscosityAtTemperature(nu, reference, target);
}

}  // namespace

void SetLubricantDefaults() { Lubricant = TLubricant{}; }

Real& LubricantNu50() { return calc::SpurGearData.nu40; }

// ---- The lubricant form -----------------------------------------------------------

TLubricantForm CreateLubricantForm() {
  TLubricantForm form;
  form.Caption = Display(common::ProgramTitle + " " + "lubrication fluid");
  form.ViscosityUnit = Display(common::ViscosityUnitLabel());
  ShowLubricantValues(form);
  return form;
}

void ShowLubricantValues(TLubricantForm& form) {
  form.Name = Display(Lubricant.Name);
  form.Nu40.Show(Lubricant.Nu40, PlainText);
  form.Nu50.Show(LubricantNu50(), PlainText);
  form.Nu100.Show(Lubricant.Nu100, PlainText);
  form.Density.Show(Lubricant.Density15, PlainText);
  form.Temperature.Show(Lubricant.OilTemperature, TemperatureText);
  form.TemperatureUnit = Display(common::TemperatureUnitLabel());
  ShowLubricantViscosity(form);
}

void ReadLubricantValues(const TLubricantForm& form) {
  Lubricant.Name = common::AnsiToOemText(form.Name);
  Lubricant.Nu40 = form.Nu40.Read(PlainValue);
  LubricantNu50() = form.Nu50.Read(PlainValue);
  Lubricant.Nu100 = form.Nu100.Read(PlainValue);
  Lubricant.Density15 = form.Density.Read(PlainValue);
  Lubricant.OilTemperature = form.Temperature.Read(TextTemperature);
}

void ShowLubricantViscosity(TLubricantForm& form) {
  const Real nu100 = form.Nu100.Read(PlainValue);
  if (!(nu100 > 0)) {
    form.ResultLine.clear();
    return;
  }
  // The line is in °C: an imperial entry is converted first.
  const Real celsius = form.Temperature.Read(TextTemperature);
  const std::string shown =
      common::UnitSystem == common::UnitsImperial ? common::RealToText(celsius) : form.Temperature.text;
  form.ResultLine = "Lubricant viscosity at " + shown + Display(" \xF8" "C: ") +
                    common::RealToText(ViscosityAt(celsius, 100, nu100)) + " " + Display(common::ViscosityUnitLabel());
}

void ProposeLubricantNu40(TLubricantForm& form) {
  const Real nu50 = form.Nu50.Read(PlainValue);
  if (nu50 > 0) form.Nu40.text = common::RealToText(ViscosityAt(40, 50, nu50));
}

void ProposeLubricantNu100(TLubricantForm& form) {
  const Real nu50 = form.Nu50.Read(PlainValue);
  if (nu50 > 0) form.Nu100.text = common::RealToText(ViscosityAt(100, 50, nu50));
  ShowLubricantViscosity(form);
}

void ProposeLubricantNu50(TLubricantForm& form) {
  const Real nu40 = form.Nu40.Read(PlainValue);
  if (nu40 > 0) form.Nu50.text = common::RealToText(ViscosityAt(50, 40, nu40));
}

void ProposeLubricantDensity(TLubricantForm& form) { form.Density.text = common::RealToText(0.9L); }

void ProposeLubricantTemperature(TLubricantForm& form) {
  form.Temperature.text = "80";
  ShowLubricantViscosity(form);
}

bool LubricantValuesAccepted(TLubricantForm& form) {
  const std::string at = "nominal lubricant viscosity at";
  return form.Nu40.Accept(at + " 40\u00b0C") && form.Nu50.Accept(at + " 50\u00b0C") &&
         form.Nu100.Accept(at + " 100\u00b0C") && form.Density.Accept("lubricant density at 15\u00b0C") &&
         form.Temperature.Accept("Oil working temperature");
}

bool LubricantOk(TLubricantForm& form) {
  if (!LubricantValuesAccepted(form)) {
    ShowLubricantViscosity(form);
    return false;
  }
  AbortFlag = 0;
  ReadLubricantValues(form);
  return true;
}

void LubricantCancel() { AbortFlag = 1; }

void LubricantHelp() {
  common::ShowHelpText(kLubricantHelp, 1);
  AbortFlag = 0;
}

// ---- The viscosity converter ------------------------------------------------------

TViscosityConverter CreateViscosityConverter() {
  TViscosityConverter form;
  form.Caption = "Lubricant viscosity";
  form.ViscosityUnit = Display(common::ViscosityUnitLabel());
  return form;
}

bool ViscosityEditEnabled(const TViscosityConverter& form, int given) { return form.Given == given; }

void ComputeViscosityAtTemperature(TViscosityConverter& form) {
  const Real t = common::TextToReal(form.Temperature);
  switch (form.Given) {
    case GivenNu40: {
      const Real nu50 = ViscosityAt(50, 40, common::TextToReal(form.Nu40));
      form.Nu50 = common::RealToText(nu50);
      form.NuT = common::RealToText(ViscosityAt(t, 50, nu50));
      break;
    }
    case GivenNuT: {
      const Real nu50 = ViscosityAt(50, t, common::TextToReal(form.NuT));
      form.Nu50 = common::RealToText(nu50);
      form.Nu40 = common::RealToText(ViscosityAt(40, 50, nu50));
      break;
    }
    default: {
      const Real nu50 = common::TextToReal(form.Nu50);
      form.Nu40 = common::RealToText(ViscosityAt(40, 50, nu50));
      form.NuT = common::RealToText(ViscosityAt(t, 50, nu50));
      break;
    }
  }
}

void ViscosityTemperatureChanged(TViscosityConverter& form) {
  form.NuTLabel = "Lubricant viscosity nue " + form.Temperature;
  ComputeViscosityAtTemperature(form);
}

void ViscosityConverterOk() { AbortFlag = 0; }
void ViscosityConverterCancel() { AbortFlag = 1; }

// ---- The windows --------------------------------------------------------------------

namespace {

TLubricantViews CancellingViews() {
  TLubricantViews v;
  v.Lubricant = [](TLubricantForm&) { LubricantCancel(); };
  v.Converter = [](TViscosityConverter&) { ViscosityConverterCancel(); };
  return v;
}

}  // namespace

TLubricantViews& LubricantViews() {
  static TLubricantViews views = CancellingViews();
  return views;
}

void ResetLubricantViews() { LubricantViews() = CancellingViews(); }

void ShowLubricantForm() {
  TLubricantForm form = CreateLubricantForm();
  if (LubricantViews().Lubricant)
    LubricantViews().Lubricant(form);
  else
    LubricantCancel();
}

void RunViscosityConverter(TViscosityConverter& form) {
  ComputeViscosityAtTemperature(form);
  if (LubricantViews().Converter)
    LubricantViews().Converter(form);
  else
    ViscosityConverterCancel();
}

}  // namespace app
