// Physical quantities in the active unit system (UnitSystem in kaldvar.h):
// fixed-width and significant-digit texts of lengths, forces, stresses,
// torques and temperatures held in metric base units (mm, N, N/mm², N m,
// °C), the conversions of entered texts back to those units, tolerance
// texts, and the unit labels.
//
// Only UnitSystem 1 (imperial) converts lengths, stresses, torques and
// temperatures; forces are also shown in kN for 2 and 4. The labels are
// code page 850 texts (degree sign 0xF8, superscript two 0xFD, micro sign
// 0xE6, plus-minus 0xF1) or plain ASCII while AsciiTextMode is on; callers
// convert them with the rest of their text (code_page.h).
// Digits: see FormatRealDigits in number_format.h; conversion factors in
// numeric_routines.h.
#pragma once

#include <string>

#include "common/real.h"

namespace common {

// ---- Fixed-width quantities -------------------------------------------------
// Imperial lengths and forces get one integer digit less (at least 1) and
// one decimal more; kN one integer digit less and one decimal more; psi two
// integer digits more and two decimals less (at least 0); lbfin one integer
// digit more and one decimal less.
std::string FormatLength(int intDigits, int decimals, Real x);
void FormatLength(int intDigits, int decimals, std::string& text, Real x);
std::string FormatLength2(int intDigits, int decimals, Real x);
void FormatLength2(int intDigits, int decimals, std::string& text, Real x);
std::string FormatForce(int intDigits, int decimals, Real x);
void FormatForce(int intDigits, int decimals, std::string& text, Real x);
std::string FormatStress(int intDigits, int decimals, Real x);
void FormatStress(int intDigits, int decimals, std::string& text, Real x);
std::string FormatTorque(int intDigits, int decimals, Real x);
void FormatTorque(int intDigits, int decimals, std::string& text, Real x);
std::string FormatTemperature(int intDigits, int decimals, Real x);
void FormatTemperature(int intDigits, int decimals, std::string& text, Real x);

// ---- Significant-digit quantities ---------------------------------------------
// Imperial: 4 decimals of inches; else RealToText.
std::string LengthToText(Real x);
void LengthToText(std::string& text, Real x);
// RealToText of inches or millimetres.
std::string LengthToTextSig(Real x);
void LengthToTextSig(std::string& text, Real x);
// Imperial: decimals + 1 of inches; else the given decimals.
std::string LengthToTextFixed(int decimals, Real x);
void LengthToTextFixed(int decimals, std::string& text, Real x);
// Empty for 0, "+" in front of positive values; 3 significant digits of
// inches, 2 of millimetres.
std::string SignedLengthToText(Real x);
void SignedLengthToText(std::string& text, Real x);
std::string StressToText(Real x);
void StressToText(std::string& text, Real x);
std::string TorqueToText(Real x);
void TorqueToText(std::string& text, Real x);
std::string TemperatureToText(Real x);
void TemperatureToText(std::string& text, Real x);

// Tolerance pair of a dimension: empty when both are 0; the plus-minus label
// and the upper value when they are symmetric; else "+a/-b", or the one
// non-zero value alone.
std::string ToleranceToText(Real upper, Real lower);
void ToleranceToText(std::string& text, Real upper, Real lower);

// ---- Entered texts back to metric base units ------------------------------------
Real TextToLength(const std::string& text);
Real TextToLengthMm(const std::string& text);
Real TextToStress(const std::string& text);
Real TextToTorque(const std::string& text);
Real TextToTemperature(const std::string& text);

// ---- Unit labels ------------------------------------------------------------------
std::string LengthUnitLabel();       // "in" / "mm"
std::string ForceUnitLabel();        // "lbf" / "kN" / "N"
std::string StressUnitLabel();       // "psi" / "N/mm²" / "MPa"
std::string TorqueUnitLabel();       // "lbfin" / "Nm"
std::string TemperatureUnitLabel();  // " F" / "°C" (ASCII " C")
std::string MicroLengthUnitLabel();  // "µin" / "µm" (ASCII "uin" / "um")
std::string DegreeUnitLabel();       // "°" (ASCII "deg")
std::string ViscosityUnitLabel();    // "mm²/s" (ASCII "mm2/s")
std::string PlusMinusLabel();        // " ± " (ASCII "+/-")

}  // namespace common
