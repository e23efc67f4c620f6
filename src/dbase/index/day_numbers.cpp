// Julian day numbers and their calendar dates.
#include "dbase/index/day_numbers.h"

#include <cctype>
#include <cmath>

#include "dbase/engine/date_display.h"
#include "dbase/engine/engine_settings.h"
#include "dbase/index/key_primitives.h"

namespace dbase {

namespace {

constexpr int kDaysBeforeMonth[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};

bool ParseDigits(const std::string& text, int& value) {
  if (text.empty()) return false;
  value = 0;
  for (const char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

}  // namespace

int DayOfYear(int y, int m, int d) {
  if (y < 0 || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m)) return -1;
  return kDaysBeforeMonth[m - 1] + d + ((m > 2 && IsLeapYear(y)) ? 1 : 0);
}

long DaysBeforeYear(int y) {
  if (y <= 1) return 0;
  const long p = y - 1;
  return p * 365 + p / 4 - p / 100 + p / 400;
}

void MonthDayOfYear(int dayOfYear, bool leap, int& month, int& day) {
  if (leap) {
    if (dayOfYear == 60) {
      month = 2;
      day = 29;
      return;
    }
    if (dayOfYear > 60) --dayOfYear;
  }
  month = 1;
  while (month < 12 && dayOfYear > kDaysBeforeMonth[month]) ++month;
  day = dayOfYear - kDaysBeforeMonth[month - 1];
}

double YmdToJulian(int y, int m, int d) {
  const int dayOfYear = DayOfYear(y, m, d);
  if (dayOfYear < 0) return 0;
  return static_cast<double>(DaysBeforeYear(y) + dayOfYear) + kDayNumberOffset;
}

bool JulianToYmd(double dayNumber, int& y, int& m, int& d) {
  if (!(dayNumber > kDayNumberOffset && dayNumber <= kLastDayNumber)) return false;
  const long n = static_cast<long>(std::trunc(dayNumber)) - static_cast<long>(kDayNumberOffset);
  y = static_cast<int>(n / 366);
  if (y < 1) y = 1;
  while (n > DaysBeforeYear(y + 1)) ++y;
  MonthDayOfYear(static_cast<int>(n - DaysBeforeYear(y)), IsLeapYear(y), m, d);
  return true;
}

double DtosToJulian(const std::string& text) {
  const std::string s = text.substr(0, 8);
  if (s.size() < 8 || s.find_first_not_of(' ') == std::string::npos) return 0;
  int y = 0;
  int m = 0;
  int d = 0;
  if (!ParseDigits(s.substr(0, 4), y) || !ParseDigits(s.substr(4, 2), m) || !ParseDigits(s.substr(6, 2), d)) {
    return 0;
  }
  return YmdToJulian(y, m, d);
}

std::string JulianToDtos(double dayNumber) {
  int y = 0;
  int m = 0;
  int d = 0;
  if (!JulianToYmd(dayNumber, y, m, d)) return std::string(8, ' ');
  return IntToZeroPadStr(y, 4) + IntToZeroPadStr(m, 2) + IntToZeroPadStr(d, 2);
}

std::string JulianToDateText(double dayNumber) {
  int y = 0;
  int m = 0;
  int d = 0;
  const int style = (DateFormat >= 0 && DateFormat <= 8) ? DateFormat : 0;
  if (!JulianToYmd(dayNumber, y, m, d)) return EmptyDatePicture(style, Century);
  // The display arrangement of the engine; its year text is the four-digit
  // year or the year mod 100, whichever Century asks for.
  const std::string year = Century ? IntToZeroPadStr(y, 4) : IntToZeroPadStr(y % 100, 2);
  return DateToDisplay(IntToZeroPadStr(m, 2) + "/" + IntToZeroPadStr(d, 2) + "/" + year);
}

std::string DateTextToDtos(const std::string& text) {
  // The stored-date conversion reads the current format with either year
  // width and refuses impossible dates.
  const std::string stored = NativeDateToStored(text.substr(0, 10));
  return stored == "00000000" ? std::string(8, ' ') : stored;
}

double CtodToJulian(const std::string& text) { return DtosToJulian(DateTextToDtos(text)); }

}  // namespace dbase
