// Quantities in the active unit system and their labels (see unit_labels.h).
// Works with number_format.cpp (digits) and numeric_routines.cpp (factors).
#include "common/unit_labels.h"

#include <algorithm>
#include <cmath>

#include "common/kaldvar.h"
#include "common/number_format.h"
#include "common/numeric_routines.h"

namespace common {

namespace {

bool Imperial() { return UnitSystem == UnitsImperial; }
bool KiloNewton() { return UnitSystem == UnitsMetricKN || UnitSystem == UnitsMetricKNNmm2; }

// A unit with larger values needs one integer digit less and one decimal more.
std::string FormatCoarserUnit(int intDigits, int decimals, Real x) {
  return FormatRealDigits(std::max(intDigits - 1, 1), decimals + 1, x);
}

}  // namespace

// ---- Fixed-width quantities -------------------------------------------------

std::string FormatLength(int intDigits, int decimals, Real x) {
  if (Imperial()) return FormatCoarserUnit(intDigits, decimals, MmToInch(x));
  return FormatRealDigits(intDigits, decimals, x);
}

std::string FormatLength2(int intDigits, int decimals, Real x) { return FormatLength(intDigits, decimals, x); }

std::string FormatForce(int intDigits, int decimals, Real x) {
  if (Imperial()) return FormatCoarserUnit(intDigits, decimals, NewtonToLbf(x));
  if (KiloNewton()) return FormatCoarserUnit(intDigits, decimals, x / 1000.0L);
  return FormatRealDigits(intDigits, decimals, x);
}

std::string FormatStress(int intDigits, int decimals, Real x) {
  if (Imperial()) return FormatRealDigits(intDigits + 2, std::max(decimals - 2, 0), MPaToPsi(x));
  return FormatRealDigits(intDigits, decimals, x);
}

std::string FormatTorque(int intDigits, int decimals, Real x) {
  if (Imperial()) return FormatRealDigits(intDigits + 1, std::max(decimals - 1, 0), NmToLbfIn(x));
  return FormatRealDigits(intDigits, decimals, x);
}

std::string FormatTemperature(int intDigits, int decimals, Real x) {
  if (Imperial()) return FormatRealDigits(intDigits, decimals, CelsiusToFahrenheit(x));
  return FormatRealDigits(intDigits, decimals, x);
}

// ---- Significant-digit quantities ---------------------------------------------

std::string LengthToText(Real x) {
  if (Imperial()) return RealToTextFixed(4, MmToInch(x));
  return RealToText(x);
}

std::string LengthToTextSig(Real x) { return RealToText(Imperial() ? MmToInch(x) : x); }

std::string LengthToTextFixed(int decimals, Real x) {
  if (Imperial()) return RealToTextFixed(decimals + 1, MmToInch(x));
  return RealToTextFixed(decimals, x);
}

std::string SignedLengthToText(Real x) {
  if (x == 0) return std::string();
  const std::string text = Imperial() ? RealToTextDigits(0, MmToInch(x)) : RealToTextDigits(1, x);
  // A tiny positive deviation reads "+0", as tolerances are written
  // ("+0/-0.01"); a tiny negative one reads "0", never "-0".
  return x > 0 ? "+" + text : text;
}

std::string StressToText(Real x) { return RealToText(Imperial() ? MPaToPsi(x) : x); }
std::string TorqueToText(Real x) { return RealToText(Imperial() ? NmToLbfIn(x) : x); }
std::string TemperatureToText(Real x) { return RealToText(Imperial() ? CelsiusToFahrenheit(x) : x); }

std::string ToleranceToText(Real upper, Real lower) {
  if (upper == 0 && lower == 0) return std::string();
  if (std::abs(upper + lower) < 1e-4L) {
    const std::string value = Imperial() ? RealToTextDigits(0, MmToInch(upper)) : RealToTextDigits(1, upper);
    return PlusMinusLabel() + value;
  }
  if (upper != 0 && lower != 0) return SignedLengthToText(upper) + "/" + SignedLengthToText(lower);
  return SignedLengthToText(upper != 0 ? upper : lower);
}

// ---- Entered texts back to metric base units ------------------------------------

Real TextToLength(const std::string& text) {
  const Real value = TextToReal(text);
  return Imperial() ? InchToMm(value) : value;
}

Real TextToLengthMm(const std::string& text) { return TextToLength(text); }

Real TextToStress(const std::string& text) {
  const Real value = TextToReal(text);
  return Imperial() ? PsiToMPa(value) : value;
}

Real TextToTorque(const std::string& text) {
  const Real value = TextToReal(text);
  return Imperial() ? LbfInToNm(value) : value;
}

Real TextToTemperature(const std::string& text) {
  const Real value = TextToReal(text);
  return Imperial() ? FahrenheitToCelsius(value) : value;
}

// ---- Unit labels ------------------------------------------------------------------

std::string LengthUnitLabel() { return Imperial() ? "in" : "mm"; }

std::string ForceUnitLabel() {
  if (Imperial()) return "lbf";
  return KiloNewton() ? "kN" : "N";
}

std::string StressUnitLabel() {
  if (Imperial()) return "psi";
  if (UnitSystem == UnitsMetricNmm2 || UnitSystem == UnitsMetricKNNmm2) return "N/mm\xFD";
  return "MPa";
}

std::string TorqueUnitLabel() { return Imperial() ? "lbfin" : "Nm"; }

std::string TemperatureUnitLabel() {
  if (Imperial()) return " F";
  return AsciiTextMode ? " C" : "\xF8" "C";
}

std::string MicroLengthUnitLabel() {
  if (AsciiTextMode) return Imperial() ? "uin" : "um";
  return Imperial() ? "\xE6" "in" : "\xE6" "m";
}

std::string DegreeUnitLabel() { return AsciiTextMode ? "deg" : "\xF8"; }

std::string ViscosityUnitLabel() { return AsciiTextMode ? "mm2/s" : "mm\xFD/s"; }

std::string PlusMinusLabel() { return AsciiTextMode ? "+/-" : " \xF1 "; }

// ---- Out-parameter forms ------------------------------------------------------------

void FormatLength(int intDigits, int decimals, std::string& text, Real x) {
  text = FormatLength(intDigits, decimals, x);
}
void FormatLength2(int intDigits, int decimals, std::string& text, Real x) {
  text = FormatLength2(intDigits, decimals, x);
}
void FormatForce(int intDigits, int decimals, std::string& text, Real x) {
  text = FormatForce(intDigits, decimals, x);
}
void FormatStress(int intDigits, int decimals, std::string& text, Real x) {
  text = FormatStress(intDigits, decimals, x);
}
void FormatTorque(int intDigits, int decimals, std::string& text, Real x) {
  text = FormatTorque(intDigits, decimals, x);
}
void FormatTemperature(int intDigits, int decimals, std::string& text, Real x) {
  text = FormatTemperature(intDigits, decimals, x);
}
void LengthToText(std::string& text, Real x) { text = LengthToText(x); }
void LengthToTextSig(std::string& text, Real x) { text = LengthToTextSig(x); }
void LengthToTextFixed(int decimals, std::string& text, Real x) { text = LengthToTextFixed(decimals, x); }
void SignedLengthToText(std::string& text, Real x) { text = SignedLengthToText(x); }
void StressToText(std::string& text, Real x) { text = StressToText(x); }
void TorqueToText(std::string& text, Real x) { text = TorqueToText(x); }
void TemperatureToText(std::string& text, Real x) { text = TemperatureToText(x); }
void ToleranceToText(std::string& text, Real upper, Real lower) { text = ToleranceToText(upper, lower); }

}  // namespace common
