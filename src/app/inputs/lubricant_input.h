// The lubricant of the strength calculation: the lubricant data set (name,
// nominal viscosities at 40, 50 and 100 °C, density at 15 °C, oil working
// temperature) with the viscosity at the working temperature, and the
// viscosity converter that gives the viscosity at 50 °C from the one at
// 40 °C or at any temperature. Both convert with CalcViscosityAtTemperature.
//
// The viscosity at 50 °C is the one the load capacity uses: it is held in
// SpurGearData.nu40 (the field the data file stores as "oil viscosity at
// 50 °C"); the other lubricant values are kept in Lubricant below.
//
// As with the material input, the forms' state lives here as display texts
// and the windows (ui/lubricant_dialogs.h) show it; without installed
// windows both forms end as cancelled.
#pragma once

#include <functional>
#include <string>

#include "app/inputs/value_edit.h"
#include "common/real.h"

namespace app {

struct TLubricant {
  std::string Name;        // code page 850
  Real Nu40 = 0;           // mm²/s at 40 °C (0 = not given)
  Real Nu100 = 0;          // mm²/s at 100 °C (0 = not given)
  Real Density15 = 0.9L;   // kg/dm3 at 15 °C
  Real OilTemperature = 80;  // working temperature, °C
};
extern TLubricant Lubricant;
void SetLubricantDefaults();

// The viscosity at 50 °C of the strength calculation, mm²/s.
Real& LubricantNu50();

// ---- The lubricant form -----------------------------------------------------------

struct TLubricantForm {
  std::string Caption;
  std::string Name;
  ValueEdit Nu40, Nu50, Nu100, Density, Temperature;  // the edits
  std::string TemperatureUnit, ViscosityUnit;
  std::string ResultLine;  // viscosity at the working temperature, or empty
};

// FormCreate and FormActivate: caption, unit labels, values.
TLubricantForm CreateLubricantForm();
void ShowLubricantValues(TLubricantForm& form);
void ReadLubricantValues(const TLubricantForm& form);
// The result line, after each change of the temperature or ν100 edit.
void ShowLubricantViscosity(TLubricantForm& form);
// The "<" buttons. ν40 and ν100 from ν50, ν50 from ν40 (each only when its
// source is positive); density 0.9; temperature 80.
void ProposeLubricantNu40(TLubricantForm& form);
void ProposeLubricantNu100(TLubricantForm& form);
void ProposeLubricantNu50(TLubricantForm& form);
void ProposeLubricantDensity(TLubricantForm& form);
void ProposeLubricantTemperature(TLubricantForm& form);
// The edited number fields checked before they are read: a text that is
// no number ("abc", "1e999") is refused with a message naming the field,
// the edit shows its old value again, and false (value_edit.h).
bool LubricantValuesAccepted(TLubricantForm& form);
// AbortFlag := 0, read; false (nothing read, the form stays open) when a
// field was refused.
bool LubricantOk(TLubricantForm& form);
void LubricantCancel();                        // AbortFlag := 1
void LubricantHelp();                          // text of entry 9155

// Shows the lubricant form modally.
void ShowLubricantForm();

// ---- The viscosity converter ------------------------------------------------------

enum ViscosityGiven : int { GivenNu50 = 0, GivenNu40 = 1, GivenNuT = 2 };

struct TViscosityConverter {
  std::string Caption;  // "Lubricant viscosity"
  int Given = GivenNu50;
  std::string Nu50 = "100", Nu40, NuT, Temperature = "0";  // the edits
  std::string NuTLabel = "Lubricant viscosity nue ";
  std::string ViscosityUnit;
};

TViscosityConverter CreateViscosityConverter();
// Enables the given quantity's edit only.
bool ViscosityEditEnabled(const TViscosityConverter& form, int given);
// On show, on each choice and on each change of the given quantity's edit
// or of the temperature edit: the other two from the given one.
void ComputeViscosityAtTemperature(TViscosityConverter& form);
// A change of the temperature edit: the third label, then the values.
void ViscosityTemperatureChanged(TViscosityConverter& form);
void ViscosityConverterOk();      // AbortFlag := 0
void ViscosityConverterCancel();  // AbortFlag := 1

// ---- The windows --------------------------------------------------------------------

struct TLubricantViews {
  std::function<void(TLubricantForm&)> Lubricant;
  std::function<void(TViscosityConverter&)> Converter;
};
// The windows in use (default: each cancels); assign to install them.
TLubricantViews& LubricantViews();
void ResetLubricantViews();

// Shows the converter with its start values (the caller may set the choice
// and the ν50 text first); the caller takes the ν50 text after OK.
void RunViscosityConverter(TViscosityConverter& form);

}  // namespace app
