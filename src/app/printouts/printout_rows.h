// The rows and value texts shared by the printouts (pitch_curve_printout,
// gear_printout, tolerance_printout, strength_printout, life_printout): the
// section opening, value and gear rows, and the value formats named by
// their kind and digits ("L 5.3" is FormatLength(5, 3, x) with the length
// unit). Every text is a program text (code page 850); the report writer
// (common/report_writer.h) lays it out on the device.
#pragma once

#include <string>

#include "common/range_array.h"
#include "common/real.h"

namespace app {

// The captions of the two value columns ("gear 1", "gear 2").
extern GearArray<std::string> GearColumnCaptions;

// An empty line, the page check (a new page with the head of style 1 when
// the page is full), the heading and a single rule. False when AbortFlag is
// set after the page check: the printout then ends at once.
bool OpenSection(const std::string& heading);
// The same without the page check.
void OpenSectionNoCheck(const std::string& heading);
// A text line followed by a single rule.
void TextWithRule(const std::string& text);

// One value for the pair.
void ValueRow(const std::string& label, const std::string& symbol, const std::string& unit, const std::string& value);
// A value per gear.
void GearRow(const std::string& label, const std::string& symbol, const std::string& unit, const std::string& gear1,
             const std::string& gear2);
// A value per gear, both from one array and one format.
template <typename Format>
void GearRowOf(const std::string& label, const std::string& symbol, const std::string& unit,
               const GearArray<Real>& values, Format format) {
  GearRow(label, symbol, unit, format(values[1]), format(values[2]));
}

// ---- Value texts -------------------------------------------------------------
std::string L(int i, int d, Real mm);              // length in the active unit
std::string MicroL(int i, int d, Real micrometre);  // µm, or µin in the imperial system
std::string R(int i, int d, Real x);               // plain number
std::string I(int width, long long n);             // integer right-aligned
std::string Ang(Real degrees);
std::string AngRad(Real radians);
std::string S(int i, int d, Real mpa);             // stress
std::string F(int i, int d, Real newton);          // force
std::string T(int i, int d, Real nm);              // torque
std::string Temp(int i, int d, Real celsius);
// A yes/no answer: five blanks and the stored letter ('N' when none).
std::string YesNo(char answer);

// The larger and the smaller of |a| and |b|.
Real MaxAbs(Real a, Real b);
Real MinAbs(Real a, Real b);

// Labels of the unit column.
std::string LengthUnit();
std::string MicroUnit();

}  // namespace app
