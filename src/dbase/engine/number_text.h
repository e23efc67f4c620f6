// Reading a number from text that another program or a person wrote (a
// delimited file, a key text): the text is wholly a number or it is not one.
// Numbers are read in the C form whatever the process's locale; where the
// engine writes numbers with a decimal comma, such a comma is read too.
#pragma once

#include <string>

namespace dbase {

enum class NumberReading { Number, NotANumber, OutOfRange };

// Reads a text (blanks and tabs around it ignored) as a number: an optional
// sign, digits with at most one decimal point (at least one digit in all),
// an optional exponent (e or E, an optional sign, digits). Where the
// engine's DecimalSeparator is ',' a text with one comma and no point reads
// the comma as the decimal sign ("0,275"). Nothing else is a number: no
// thousands separators, blanks inside, "inf", "nan" or hexadecimal forms,
// and no empty text. A number beyond the range of a double is OutOfRange;
// value is set only for a Number.
NumberReading ReadNumberText(const std::string& text, double& value);
// The number at the start of a text as dBASE's VAL reads it (the same
// forms, the rest of the text ignored; 0 when it starts with none); beyond
// the range of a double it is infinite.
double LeadingNumber(const std::string& text);
// The text in the C form when ReadNumberText takes it as a number (trimmed,
// the engine's decimal comma made a point), else the text unchanged.
std::string CFormNumberText(const std::string& text);

}  // namespace dbase
