// Numbers to text and back: the digit plan, the fixed-width core formatter,
// the real-to-text family (significant digits, fixed decimals, widths,
// engineering and exponent forms, the point-only variants for CAD files),
// integer texts and the text-to-number conversions.
//
// The text is built here digit by digit, never through the C or C++ locale:
// the decimal separator is the configured one (DecimalSign in kaldvar.h,
// 2 = comma, else point), and a German locale on the machine changes nothing.
// Reports, drawing tables and CAD files all depend on these digit rules.
// Unit-aware formatting is in unit_labels.h, angles and dates in
// angle_date_format.h.
//
// Each routine is given in two forms: one returning the text, and one with
// the text as an out parameter in the routine's documented argument order.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "common/real.h"

namespace common {

// ---- Digit planning and the core formatter --------------------------------

// Digit plan for x with n significant digits: integer digits and decimals,
// trailing zeros dropped (1.5 -> (1, 1); 12.3456 -> (2, 2); 1000 -> (4, 0);
// 0 is planned as 0.5 -> (0, 1); 0.0123456 -> (0, 4)).
void PlanSignificantDigits(int& intDigits, int& decimals, int n, Real x);

// Fixed notation with exactly `decimals` digits after the separator, rounded
// to intDigits + decimals significant digits (at most 18; half away from
// zero), decimals shifted by SignificantDigits - 3 (clamped to 0..10), padded
// with blanks in front to intDigits + decimals + 1 characters (intDigits when
// there are no decimals). Never cut. An integer part longer than the
// significant digits is written in scientific form ("1.23E7").
std::string FormatRealDigits(int intDigits, int decimals, Real x);
void FormatRealDigits(int intDigits, int decimals, std::string& text, Real x);

// ---- Real to text -----------------------------------------------------------

// "0" when |x| < 1e-5, else 3 significant digits.
std::string RealToText(Real x);
void RealToText(std::string& text, Real x);
// "0" when |x| < 1e-5, else 3 - k significant digits.
std::string RealToTextDigits(int k, Real x);
void RealToTextDigits(int k, std::string& text, Real x);
// 6 significant digits.
std::string RealToText6(Real x);
void RealToText6(std::string& text, Real x);
// Integer digits of the 3-digit plan, the given decimals.
std::string RealToTextFixed(int decimals, Real x);
void RealToTextFixed(int decimals, std::string& text, Real x);
// Right-aligned in `width` characters.
std::string RealToTextWidth(int width, Real x);
void RealToTextWidth(int width, std::string& text, Real x);
// Engineering form outside 1e-4 <= |x| < 1e4, else 3 significant digits.
std::string RealToTextAuto(Real x);
void RealToTextAuto(std::string& text, Real x);
// Exponent form outside 1e-5 <= |x| < 1e6, else RealToText.
std::string RealToTextOrExp(Real x);
void RealToTextOrExp(std::string& text, Real x);
// Mantissa + "E" + exponent, the exponent a multiple of 3 (12345 -> 12.35E3).
std::string EngineeringText(Real x);
void EngineeringText(std::string& text, Real x);
// Mantissa with one digit before the separator + "E" + exponent.
std::string ExponentText(Real x);
void ExponentText(std::string& text, Real x);

// The same with a point whatever the configured separator (DXF, IGES).
std::string RealToTextDot(Real x);
void RealToTextDot(std::string& text, Real x);
std::string RealToTextFixedDot(int decimals, Real x);
void RealToTextFixedDot(int decimals, std::string& text, Real x);
std::string FormatRealDigitsDot(int intDigits, int decimals, Real x);
void FormatRealDigitsDot(int intDigits, int decimals, std::string& text, Real x);

// x (finite) with exactly `decimals` decimals and a point, whatever the
// settings, no padding: rounded half away from zero to at most 18
// significant digits, further positions 0; never "-0.00". The number lines
// of the program's files (text_file.h).
std::string FixedPointDigits(int decimals, Real x);

// ---- Integers ---------------------------------------------------------------

std::string IntToText(long long n);
void IntToText(long long n, std::string& text);
// '0' characters in front up to `width` (the sign is not treated: -5 with
// width 3 gives "0-5"). Never cut.
std::string IntToTextZero(long long n, int width);
void IntToTextZero(long long n, int width, std::string& text);
// Blanks in front up to `width`. Never cut.
std::string IntToTextWidth(long long n, int width);
void IntToTextWidth(long long n, int width, std::string& text);

// ---- Text to numbers ----------------------------------------------------------

// The largest magnitude of a number the program takes from a user or a
// file: that of an ordinary double, about 1.8e308. A text beyond it
// ("1e999") is no number, like "inf" and "nan": the calculation would meet
// infinities in its first product.
inline constexpr Real LargestNumber = static_cast<Real>(std::numeric_limits<double>::max());
// True when x is a number the program takes: not NaN, |x| <= LargestNumber.
bool IsUsableNumber(Real x);

// The value of a text of TextToReal's form: the first ',' becomes '.', then
// the whole text must be a decimal number (leading blanks, sign, digits,
// point, exponent) no larger than LargestNumber. Nothing otherwise.
std::optional<Real> ParseNumberText(const std::string& text);
// The value of a decimal integer text (leading blanks, sign, digits) within
// the 32-bit range; nothing otherwise.
std::optional<std::int32_t> ParseWholeNumberText(const std::string& text);

// ParseNumberText, 0 for a text that is no number.
Real TextToReal(const std::string& text);
Real TextToReal2(const std::string& text);
// ParseWholeNumberText, 0 for a text that is no whole number.
std::int32_t TextToInt(const std::string& text);
std::int32_t TextToInt2(const std::string& text);
std::int32_t TextToInt3(const std::string& text);

}  // namespace common
