// Process-wide settings of the table engine and its start-up: the date
// format with its separators and the two-digit-year rule, the number
// separators and logical characters shown by the field routines, the memory
// guards and the blank trimming every engine Part uses. The date display
// conversions that read these settings are in date_display.h; file names in
// file_names.h; code-page conversion in engine_code_page.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace dbase {

// Date format code 0..8: 0 month/day/year "/"; 1 year.month.day ".";
// 2 day/month/year "/"; 3 day-month-year "-"; 4..8 day.month.year ".".
extern int DateFormat;
// Show four-digit years. Stored dates always keep theirs.
extern bool Century;
// The year from which two-digit years count (current year - 70 at start-up).
extern int CenturyPivot;
extern char DecimalSeparator;
extern char ThousandSeparator;
// The characters shown for false and true.
extern char LogicalFalseChar;
extern char LogicalTrueChar;
// The short date picture and separator set by SetDateFormat
// ("MM/dd/yy" and '/' for format 0).
extern std::string ShortDatePicture;
extern char DateSeparator;

// Start-up of the engine's common services: empties the hook tables, sets the
// date format from the user's language with its separators, installs the
// report procedure, selects work area 1 and sets CenturyPivot.
void InitTzCommon();
// The year CenturyPivot counts from when started today.
int DefaultCenturyPivot();

// Codes 9 and above become 0; sets DateFormat, ShortDatePicture and
// DateSeparator.
void SetDateFormat(int code);
// The format code of the user's default language (from the locale
// environment: LC_ALL, LC_TIME, LANG): German 5, English 2 (United States 0),
// Spanish 6, French 4 (Canadian 7), Italian 3, Russian 8, others 0.
int DefaultDateFormat();
int DateFormatOfLocale(const std::string& locale);
// The separator of a date format code.
char DateSeparatorOf(int code);

// Memory guards: TzGetMem allocates size zeroed bytes; FreeMem frees and sets
// the pointer null; freeing a null pointer records error 9.
void TzGetMem(void*& pointer, std::size_t size);
void FreeMem(void*& pointer, std::size_t size);
// Always the largest positive 32-bit value: memory checks always pass.
std::int32_t MaxAvail();
// 1 available physical memory in KB, 2 in MB, otherwise the memory load (%).
std::int64_t MemoryStatus(int kind);

// Trimming: TzTrimRight/TzTrimLeft remove blanks; TzAllTrim removes leading
// and trailing characters up to and including the blank (control characters
// too).
std::string TzTrimRight(const std::string& text);
std::string TzTrimLeft(const std::string& text);
std::string TzAllTrim(const std::string& text);

// Today's date; weekday 1 = Sunday .. 7 = Saturday.
void GetDate(int& year, int& month, int& day, int& weekday);

}  // namespace dbase
