// Angles and dates as text (see angle_date_format.h).
#include "common/angle_date_format.h"

#include <cmath>

#include "common/kaldvar.h"
#include "common/number_format.h"
#include "common/unit_labels.h"

namespace common {

std::string AngleToText(Real angle) {
  const std::string decimalForm = RealToTextWidth(7, angle) + DegreeUnitLabel();
  // Beyond 1e15 degrees the whole degrees no longer fit the integer
  // arithmetic below, and the fraction carries no minutes anyway.
  if (AngleFormat == 1 || !std::isfinite(angle) || std::fabs(angle) >= 1e15L) return decimalForm;

  long long deg = static_cast<long long>(std::trunc(angle));
  const Real m = (angle - std::trunc(angle)) * 60;
  long long min = static_cast<long long>(std::trunc(std::fabs(m)));
  long long sec = std::llround(std::fabs((m - std::trunc(m)) * 60));  // half away from zero
  if (sec >= 60) {
    ++min;
    sec -= 60;
  }
  if (min >= 60) {
    // The carry goes away from zero: -20°59'60" is -21°.
    deg += angle < 0 ? -1 : 1;
    min -= 60;
  }
  if (min == 0 && sec == 0) return decimalForm;
  // Between -1 and 0 degrees the whole degrees are 0 and would lose the sign.
  const bool negativeZero = deg == 0 && angle < 0;
  if (sec != 0) {
    const std::string degText = negativeZero ? "-0" : IntToText(deg);
    return degText + DegreeUnitLabel() + IntToText(min) + "'" + IntToText(sec) + "\"";
  }
  const std::string degText = negativeZero ? "   -0" : IntToTextWidth(deg, 5);
  return degText + DegreeUnitLabel() + IntToText(min) + "'";
}

void AngleToText(std::string& text, Real angle) { text = AngleToText(angle); }

std::string FormatDate(int year, int month, int day) {
  const std::string yyyy = IntToText(year);
  const std::string mm = IntToTextZero(month, 2);
  const std::string dd = IntToTextZero(day, 2);
  switch (DateFormatCode) {
    case 1:
      return dd + "." + mm + "." + yyyy;
    case 2:
      return mm + "/" + dd + "/" + yyyy;
    case 3:
      return yyyy + "-" + mm + "-" + dd;
    case 4:
      return dd + "/" + mm + "/" + yyyy;
    default:
      return yyyy + "/" + mm + "/" + dd;
  }
}

void FormatDate(int year, int month, int day, std::string& text) { text = FormatDate(year, month, day); }

}  // namespace common
