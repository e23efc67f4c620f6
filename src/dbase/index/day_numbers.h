// Calendar dates as Julian day numbers, the form in which the index and
// expression layers compare and store dates: day 1721426 is 1 January of
// year 1 in the proleptic Gregorian calendar, 5373484 is 31 December 9999,
// and 0 is the empty date. Conversions to and from the DTOS text YYYYMMDD and
// the date text of the current DateFormat and Century settings.
#pragma once

#include <string>

namespace dbase {

inline constexpr double kDayNumberOffset = 1721425;
inline constexpr double kLastDayNumber = 5373484;

// -1 for an impossible date, else the day of the year.
int DayOfYear(int y, int m, int d);
// Days of the years before year y.
long DaysBeforeYear(int y);
// Month and day of a day of the year.
void MonthDayOfYear(int dayOfYear, bool leap, int& month, int& day);
// 0 for an impossible date.
double YmdToJulian(int y, int m, int d);
// Calendar date of a day number in 1721426..5373484; false otherwise.
bool JulianToYmd(double dayNumber, int& y, int& m, int& d);
// The first 8 characters YYYYMMDD; 8 blanks or an impossible date give 0.
double DtosToJulian(const std::string& text);
// YYYYMMDD; 8 blanks outside 1721426..5373484.
std::string JulianToDtos(double dayNumber);
// The date in the current DateFormat and Century settings; outside the range
// the format's empty date.
std::string JulianToDateText(double dayNumber);
// A date text (at most 10 characters) in the current DateFormat; 0 when it
// is not a date.
double CtodToJulian(const std::string& text);
// As CtodToJulian, as YYYYMMDD (8 blanks when not a date).
std::string DateTextToDtos(const std::string& text);

}  // namespace dbase
