// Angles in degrees and calendar dates as text, by the configured formats
// (AngleFormat and DateFormatCode in kaldvar.h). Used by the printouts, the
// drawing tables and the data-file head; numbers come from number_format.h,
// the degree sign from unit_labels.h.
#pragma once

#include <string>

#include "common/real.h"

namespace common {

// AngleFormat 1: 7 characters wide decimal degrees and the degree label.
// Otherwise degrees, minutes and seconds: 20.5 -> "   20°30'",
// 20.5125 -> "20°30'45\"", whole degrees in the decimal form.
std::string AngleToText(Real angle);
void AngleToText(std::string& text, Real angle);

// Date by DateFormatCode: 1 dd.mm.yyyy, 2 mm/dd/yyyy, 3 yyyy-mm-dd,
// 4 dd/mm/yyyy, any other yyyy/mm/dd; day and month with two digits.
std::string FormatDate(int year, int month, int day);
void FormatDate(int year, int month, int day, std::string& text);

}  // namespace common
