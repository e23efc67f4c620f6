// Numbers to text and back (see number_format.h). Works with
// text_utils.cpp (padding) and kaldvar.h (SignificantDigits, DecimalSign).
//
// A real is first turned into 18 significant decimal digits (std::to_chars,
// exact and locale-free), and every later step works on that digit string:
// rounding to the requested digits (half away from zero), the digit plan,
// and the shifts of the exponent forms. Working on decimal digits keeps the
// mantissa of 12345 exactly 12.345 instead of a binary neighbour, and the
// decade of a value is read off its digits instead of a logarithm that can
// land on the wrong side of a power of ten.
#include "common/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "common/kaldvar.h"
#include "common/text_utils.h"

namespace common {

namespace {

// 0.d1d2d3... x 10^point, d1 non-zero; no digits means zero.
struct Decimal {
  bool negative = false;
  std::string digits;
  int point = 0;  // number of digits before the decimal point
};

constexpr int kMaxDigits = 18;

void TrimTrailingZeros(std::string& digits) {
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
}

// x (finite) as 18 significant decimal digits.
Decimal ToDecimal(Real x) {
  Decimal v;
  if (x == 0) return v;
  v.negative = std::signbit(x);
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(x),
                                 std::chars_format::scientific, kMaxDigits - 1);
  const std::string_view s(buf, static_cast<std::size_t>(res.ptr - buf));
  const std::size_t ePos = s.find('e');
  for (std::size_t i = 0; i < ePos; ++i)
    if (s[i] != '.') v.digits.push_back(s[i]);
  int exponent = 0;
  const char* expBegin = s.data() + ePos + 1;
  if (*expBegin == '+') ++expBegin;
  std::from_chars(expBegin, s.data() + s.size(), exponent);
  v.point = exponent + 1;
  TrimTrailingZeros(v.digits);
  return v;
}

// Decimal digit at `place` (1 = first after the point, 0 = units, -1 = tens).
int DigitAt(const Decimal& v, int place) {
  const int index = v.point + place - 1;
  if (index < 0 || index >= static_cast<int>(v.digits.size())) return 0;
  return v.digits[static_cast<std::size_t>(index)] - '0';
}

// Keep `keep` significant digits, rounding half away from zero.
void RoundKeep(Decimal& v, int keep) {
  const int len = static_cast<int>(v.digits.size());
  if (keep >= len) return;
  if (keep < 0) {
    v.digits.clear();
    return;
  }
  const bool up = v.digits[static_cast<std::size_t>(keep)] >= '5';
  v.digits.resize(static_cast<std::size_t>(keep));
  if (up) {
    int i = keep - 1;
    while (i >= 0 && v.digits[static_cast<std::size_t>(i)] == '9') {
      v.digits[static_cast<std::size_t>(i)] = '0';
      --i;
    }
    if (i < 0) {
      v.digits.insert(v.digits.begin(), '1');
      ++v.point;
    } else {
      ++v.digits[static_cast<std::size_t>(i)];
    }
  }
  TrimTrailingZeros(v.digits);
}

char DecimalSeparator() { return DecimalSign == 2 ? ',' : '.'; }

void DotInPlace(std::string& text) { std::replace(text.begin(), text.end(), ',', '.'); }

void PlanDecimal(int& i, int& d, int n, Decimal a) {
  if (a.digits.empty()) a = ToDecimal(0.5L);
  const int e = a.point - 1;
  if (n <= e) {
    i = e + 1;
    d = 0;
    return;
  }
  if (e >= 0) {
    i = e + 1;
    d = n - e;
  } else {
    i = 0;
    d = n - e - 1;
  }
  // Drop trailing zeros: m := a * 10^(d+1) rounded, then m div 10 and look
  // at its last digit, the digit at decimal place d. The loop stops when m
  // has become 0 (possible for n <= 0), which would otherwise never end.
  Decimal m = a;
  RoundKeep(m, a.point + d + 1);
  while (!m.digits.empty() && m.point + d > 0 && DigitAt(m, d) == 0) --d;
  if (d < 0) d = 0;
}

// v (already rounded) in fixed notation with exactly d decimals. A value
// rounded to zero is written without sign: never "-0.00".
std::string FixedNotation(const Decimal& v, int d, char sep) {
  std::string text;
  if (v.negative && !v.digits.empty()) text.push_back('-');
  if (v.digits.empty() || v.point <= 0) {
    text.push_back('0');
  } else {
    for (int place = 1 - v.point; place <= 0; ++place) text.push_back(static_cast<char>('0' + DigitAt(v, place)));
  }
  if (d > 0) {
    text.push_back(sep);
    for (int place = 1; place <= d; ++place) text.push_back(static_cast<char>('0' + DigitAt(v, place)));
  }
  return text;
}

std::string FormatDecimal(int i, int d, Decimal v) {
  if (SignificantDigits != 3) d = std::clamp(d + SignificantDigits - 3, 0, 10);
  if (d < 0) d = 0;
  const int p = i + d;
  const int precision = std::clamp(p, 1, kMaxDigits);
  const char sep = DecimalSeparator();
  std::string text;
  if (!v.digits.empty() && v.point > std::max(p, 1)) {
    // Integer part longer than the significant digits: scientific form,
    // mantissa with one digit before the separator, no trailing zeros.
    RoundKeep(v, precision);
    if (v.negative) text.push_back('-');
    text.push_back(v.digits[0]);
    if (v.digits.size() > 1) {
      text.push_back(sep);
      text.append(v.digits, 1);
    }
    text.push_back('E');
    text += IntToText(v.point - 1);
  } else {
    RoundKeep(v, std::min(precision, v.point + d));
    text = FixedNotation(v, d, sep);
  }
  const int width = d > 0 ? p + 1 : i;
  if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
  return text;
}

// Not-a-number and infinities cannot be planned; they are written as words.
bool NonFinite(Real x, std::string& text) {
  if (std::isnan(x)) {
    text = "NAN";
    return true;
  }
  if (std::isinf(x)) {
    text = x < 0 ? "-INF" : "INF";
    return true;
  }
  return false;
}

std::string SignificantText(int n, const Decimal& v) {
  int i = 0;
  int d = 0;
  PlanDecimal(i, d, n, v);
  return FormatDecimal(i, d, v);
}

std::string RealToTextDecimal(const Decimal& v, Real x) {
  if (std::fabs(x) < 1e-5L) return "0";
  return SignificantText(3, v);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

// ---- Digit planning and the core formatter --------------------------------

void PlanSignificantDigits(int& intDigits, int& decimals, int n, Real x) {
  if (!std::isfinite(x)) {
    intDigits = 1;
    decimals = 0;
    return;
  }
  PlanDecimal(intDigits, decimals, n, ToDecimal(x));
}

std::string FormatRealDigits(int intDigits, int decimals, Real x) {
  std::string text;
  if (NonFinite(x, text)) return text;
  if (std::fabs(x) < 1e-15L) x = 0;
  return FormatDecimal(intDigits, decimals, ToDecimal(x));
}

// ---- Real to text -----------------------------------------------------------

std::string RealToText(Real x) { return RealToTextDigits(0, x); }

std::string RealToTextDigits(int k, Real x) {
  std::string text;
  if (NonFinite(x, text)) return text;
  if (std::fabs(x) < 1e-5L) return "0";
  return SignificantText(3 - k, ToDecimal(x));
}

std::string RealToText6(Real x) { return RealToTextDigits(-3, x); }

std::string RealToTextFixed(int decimals, Real x) {
  std::string text;
  if (NonFinite(x, text)) return text;
  int i = 0;
  int d = 0;
  PlanSignificantDigits(i, d, 3, x);
  return FormatRealDigits(i, decimals, x);
}

std::string RealToTextWidth(int width, Real x) {
  std::string text;
  if (NonFinite(x, text)) return PadLeftText(text, width);
  if (std::fabs(x) < 1e-6L) return PadLeftText("0", width);
  int i = 0;
  int d = 0;
  PlanSignificantDigits(i, d, 3, x);
  i = d >= 1 ? width - d - 1 : width - d;
  return FormatRealDigits(i, d, x);
}

std::string RealToTextAuto(Real x) {
  std::string text;
  if (NonFinite(x, text)) return text;
  if (std::fabs(x) < 1e-12L) x = 0;
  if (std::fabs(x) < 1e-4L || std::fabs(x) >= 1e4L) return EngineeringText(x);
  int i = 0;
  int d = 0;
  PlanSignificantDigits(i, d, 3, x);
  return FormatRealDigits(i, d, x);
}

std::string RealToTextOrExp(Real x) {
  std::string text;
  if (NonFinite(x, text)) return text;
  if (std::fabs(x) < 1e-18L) x = 0;
  if (std::fabs(x) < 1e-5L || std::fabs(x) >= 1e6L) return ExponentText(x);
  return RealToText(x);
}

std::string EngineeringText(Real x) {
  std::string text;
  if (NonFinite(x, text)) return text;
  Decimal v = ToDecimal(x);
  const int e = v.digits.empty() ? 0 : v.point - 1;
  if (e >= -2 && e < 4) return RealToTextDecimal(v, x);
  const int q = e / 3;  // truncates towards zero
  v.point -= 3 * q;      // exact decimal shift of the mantissa
  return SignificantText(3, v) + "E" + IntToText(3 * q);
}

std::string ExponentText(Real x) {
  std::string text;
  if (NonFinite(x, text)) return text;
  Decimal v = ToDecimal(x);
  const int e = v.digits.empty() ? 0 : v.point - 1;
  if (e == 0) return RealToTextDecimal(v, x);
  v.point -= e;
  return SignificantText(3, v) + "E" + IntToText(e);
}

std::string RealToTextDot(Real x) {
  std::string text = RealToText(x);
  DotInPlace(text);
  return text;
}

std::string RealToTextFixedDot(int decimals, Real x) {
  std::string text = RealToTextFixed(decimals, x);
  DotInPlace(text);
  return text;
}

std::string FormatRealDigitsDot(int intDigits, int decimals, Real x) {
  std::string text = FormatRealDigits(intDigits, decimals, x);
  DotInPlace(text);
  return text;
}

std::string FixedPointDigits(int decimals, Real x) {
  if (decimals < 0) decimals = 0;
  Decimal v = ToDecimal(std::isfinite(x) ? x : 0);
  RoundKeep(v, v.point + decimals);
  return FixedNotation(v, decimals, '.');
}

void FormatRealDigits(int intDigits, int decimals, std::string& text, Real x) {
  text = FormatRealDigits(intDigits, decimals, x);
}
void RealToText(std::string& text, Real x) { text = RealToText(x); }
void RealToTextDigits(int k, std::string& text, Real x) { text = RealToTextDigits(k, x); }
void RealToText6(std::string& text, Real x) { text = RealToText6(x); }
void RealToTextFixed(int decimals, std::string& text, Real x) { text = RealToTextFixed(decimals, x); }
void RealToTextWidth(int width, std::string& text, Real x) { text = RealToTextWidth(width, x); }
void RealToTextAuto(std::string& text, Real x) { text = RealToTextAuto(x); }
void RealToTextOrExp(std::string& text, Real x) { text = RealToTextOrExp(x); }
void EngineeringText(std::string& text, Real x) { text = EngineeringText(x); }
void ExponentText(std::string& text, Real x) { text = ExponentText(x); }
void RealToTextDot(std::string& text, Real x) { text = RealToTextDot(x); }
void RealToTextFixedDot(int decimals, std::string& text, Real x) {
  text = RealToTextFixedDot(decimals, x);
}
void FormatRealDigitsDot(int intDigits, int decimals, std::string& text, Real x) {
  text = FormatRealDigitsDot(intDigits, decimals, x);
}

// ---- Integers ---------------------------------------------------------------

std::string IntToText(long long n) {
  char buf[32];
  const auto res = std::to_chars(buf, buf + sizeof buf, n);
  return std::string(buf, res.ptr);
}

std::string IntToTextZero(long long n, int width) {
  std::string text = IntToText(n);
  if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
  return text;
}

std::string IntToTextWidth(long long n, int width) {
  std::string text = IntToText(n);
  if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
  return text;
}

void IntToText(long long n, std::string& text) { text = IntToText(n); }
void IntToTextZero(long long n, int width, std::string& text) { text = IntToTextZero(n, width); }
void IntToTextWidth(long long n, int width, std::string& text) { text = IntToTextWidth(n, width); }

// ---- Text to numbers ----------------------------------------------------------

bool IsUsableNumber(Real x) { return std::fabs(x) <= LargestNumber; }

std::optional<Real> ParseNumberText(const std::string& text) {
  std::string s = text;
  const std::size_t comma = s.find(',');
  if (comma != std::string::npos) s[comma] = '.';
  const std::size_t n = s.size();
  std::size_t i = 0;
  while (i < n && s[i] == ' ') ++i;
  bool negative = false;
  if (i < n && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  const std::size_t start = i;
  int mantissaDigits = 0;
  while (i < n && IsDigit(s[i])) ++i, ++mantissaDigits;
  if (i < n && s[i] == '.') {
    ++i;
    while (i < n && IsDigit(s[i])) ++i, ++mantissaDigits;
  }
  if (mantissaDigits == 0) return std::nullopt;
  if (i < n && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
    int exponentDigits = 0;
    while (i < n && IsDigit(s[i])) ++i, ++exponentDigits;
    if (exponentDigits == 0) return std::nullopt;
  }
  if (i != n) return std::nullopt;
  Real value = 0;
  const auto res = std::from_chars(s.data() + start, s.data() + n, value, std::chars_format::general);
  if (res.ec != std::errc() || res.ptr != s.data() + n || !IsUsableNumber(value)) return std::nullopt;
  return negative ? -value : value;
}

std::optional<std::int32_t> ParseWholeNumberText(const std::string& text) {
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n && text[i] == ' ') ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i == n) return std::nullopt;
  long long value = 0;
  for (; i < n; ++i) {
    if (!IsDigit(text[i])) return std::nullopt;
    value = value * 10 + (text[i] - '0');
    if (value > 2147483648LL) return std::nullopt;  // outside the 32-bit range
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

Real TextToReal(const std::string& text) { return ParseNumberText(text).value_or(0); }

Real TextToReal2(const std::string& text) { return TextToReal(text); }

std::int32_t TextToInt(const std::string& text) { return ParseWholeNumberText(text).value_or(0); }

std::int32_t TextToInt2(const std::string& text) { return TextToInt(text); }
std::int32_t TextToInt3(const std::string& text) { return TextToInt(text); }

}  // namespace common
