// Routines on date text of the table engine: validation, the day of the
// week, day and month names in six languages (chosen by DateFormat, in the
// DOS code pages of the engine's texts: 850, and 866 for Russian), the parts
// of a date, and the DTOS form YYYYMMDD. Date text arguments are in the
// current DateFormat; they are turned into the internal form month/day/year
// through DateFromDisplay (dbase/engine/date_display.h) first.
#pragma once

#include <cstdint>
#include <string>

namespace dbase {

// True when valid; the text is then replaced by its normalised form.
bool ValidDate(std::string& text);
// 1 Sunday .. 7 Saturday (0 for a text without month or day).
int DayOfWeek(const std::string& text);
// The day name with its blanks (width by language); 10 blanks for a blank date.
std::string CDow(const std::string& text);
// The month name with its blanks; 9 blanks for a blank date.
std::string CMonth(const std::string& text);
int DateMonth(const std::string& text);
int DateDay(const std::string& text);
int DateYear(const std::string& text);
// YYYYMMDD; a blank date gives 8 blanks.
std::string DateToDtos(const std::string& text);
// From YYYYMMDD to the current format.
std::string DtosToDate(const std::string& dtos);
// The millisecond counter and its seconds.
std::uint32_t TickCount();
std::uint32_t TickSeconds();
// a - floor(a / b) * b.
std::int64_t FloorMod(std::int64_t a, std::int64_t b);

}  // namespace dbase
