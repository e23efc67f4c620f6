// Number text in the "C" form (decimal point, no grouping) whatever locale
// the process runs under. Files, records, index keys and expressions store
// numbers in this form; the window program takes the user's locale from the
// environment (a German desktop has a decimal comma), and the libraries must
// not rely on anyone setting LC_NUMERIC back.
//
// These are strtod, strtold and snprintf with the "C" locale fixed, so that
// a parse or format keeps its exact behaviour (what it accepts, where it
// stops, how it rounds) and only loses its dependence on the locale.
#pragma once

#include <cstddef>
#include <string>

namespace common {

// strtod / strtold as under the "C" locale.
double CStrtod(const char* text, char** end = nullptr);
long double CStrtold(const char* text, char** end = nullptr);

// snprintf / a formatted std::string as under the "C" locale.
int CSnprintf(char* buffer, std::size_t size, const char* format, ...) __attribute__((format(printf, 3, 4)));
std::string CFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace common
