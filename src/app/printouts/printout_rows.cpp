// Rows and value texts of the printouts; see printout_rows.h.
#include "app/printouts/printout_rows.h"

#include <cmath>

#include "common/angle_date_format.h"
#include "common/kaldvar.h"
#include "common/number_format.h"
#include "common/numeric_routines.h"
#include "common/report_writer.h"
#include "common/unit_labels.h"

namespace app {

GearArray<std::string> GearColumnCaptions = [] {
  GearArray<std::string> captions;
  captions[1] = "gear 1";
  captions[2] = "gear 2";
  return captions;
}();

bool OpenSection(const std::string& heading) {
  common::WriteReportText("");
  common::ReportCheckPageFull(1);
  if (common::AbortFlag) return false;
  common::WriteReportText(heading);
  common::WriteReportText(common::RuleLineSingle());
  return true;
}

void OpenSectionNoCheck(const std::string& heading) {
  common::WriteReportText("");
  common::WriteReportText(heading);
  common::WriteReportText(common::RuleLineSingle());
}

void TextWithRule(const std::string& text) {
  common::WriteReportText(text);
  common::WriteReportText(common::RuleLineSingle());
}

void ValueRow(const std::string& label, const std::string& symbol, const std::string& unit, const std::string& value) {
  common::WriteReportValueRow(label, symbol, unit, value);
}

void GearRow(const std::string& label, const std::string& symbol, const std::string& unit, const std::string& gear1,
             const std::string& gear2) {
  common::WriteReportTableRow(label, symbol, unit, gear1, gear2);
}

std::string L(int i, int d, Real mm) { return common::FormatLength(i, d, mm); }

// The micro-lengths are held in micrometres; in the imperial system they
// are shown in microinches, as their unit label says. The length formatter
// divides imperial values by 25.4, so micrometres x 1000 come out as
// microinches.
std::string MicroL(int i, int d, Real micrometre) {
  if (common::UnitSystem == common::UnitsImperial) return common::FormatLength2(i, d, micrometre * 1000);
  return common::FormatLength2(i, d, micrometre);
}

std::string R(int i, int d, Real x) { return common::FormatRealDigits(i, d, x); }
std::string I(int width, long long n) { return common::IntToTextWidth(n, width); }
std::string Ang(Real degrees) { return common::AngleToText(degrees); }
std::string AngRad(Real radians) { return common::AngleToText(common::RadToDeg(radians)); }
std::string S(int i, int d, Real mpa) { return common::FormatStress(i, d, mpa); }
std::string F(int i, int d, Real newton) { return common::FormatForce(i, d, newton); }
std::string T(int i, int d, Real nm) { return common::FormatTorque(i, d, nm); }
std::string Temp(int i, int d, Real celsius) { return common::FormatTemperature(i, d, celsius); }

std::string YesNo(char answer) { return "     " + std::string(1, answer == '\0' ? 'N' : answer); }

Real MaxAbs(Real a, Real b) { return common::MaxReal(std::fabs(a), std::fabs(b)); }
Real MinAbs(Real a, Real b) { return common::MinReal(std::fabs(a), std::fabs(b)); }

std::string LengthUnit() { return common::LengthUnitLabel(); }
std::string MicroUnit() { return common::MicroLengthUnitLabel(); }

}  // namespace app
