// Date texts between the stored form (YYYYMMDD in the record), the engine's
// internal form (month/day/year with "/") and the display form of the
// current DateFormat, with the two-digit-year rule of CenturyPivot.
// A date in the native record always carries its four-digit year, so that a
// record written back keeps its dates whatever Century says; only the display
// (FieldAsString, FieldLen) shortens the year while Century is off.
#pragma once

#include <string>

namespace dbase {

// The century of a two-digit year text as a year (1900, 2000, ...).
int CenturyOf(const std::string& twoDigitYear);
// The first two digits of CenturyOf, as text.
std::string CenturyDigits(const std::string& twoDigitYear);
// With Century on: a two-digit year gets its century, a shorter one leading
// zeros to 4 digits; with Century off the text is returned unchanged.
std::string YearToFour(const std::string& year);
// The blank date of a format ("  /  /  " for format 0 without century).
std::string EmptyDatePicture(int code);
std::string EmptyDatePicture(int code, bool fourDigitYear);
// month/day/year with "/" -> the current format.
std::string DateToDisplay(const std::string& text);
// A date in the current format (separator ".", "-" or "/") -> month/day/year.
std::string DateFromDisplay(const std::string& text);

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// The native form of a stored date (8 characters YYYYMMDD): the display order
// and separator of DateFormat with the four-digit year; a blank date gives
// the blank picture with a four-digit year.
std::string StoredDateToNative(const std::string& stored);
// A native or display date (8 or 10 characters in the current format, either
// year width) -> YYYYMMDD; blank, empty pictures and invalid dates give
// 8 blanks.
std::string NativeDateToStored(const std::string& text);
// A date as another program or a person wrote it (a delimited file, a
// character field): blanks, or the blank picture, are the empty date; eight
// digits are YYYYMMDD; anything else is a date in the current format, as
// NativeDateToStored reads it. True with stored set (8 blanks for the empty
// date) when the text is one of these and names a day of the calendar;
// false for any other text, which no date field takes without a word.
bool ReadDateText(const std::string& text, std::string& stored);
// A native date as shown: the year cut to two digits while Century is off.
std::string DisplayDateText(const std::string& native);
// A native date with its year cut to two digits, whatever Century says.
std::string TwoDigitYearDate(const std::string& native);

}  // namespace dbase
