// Numbers read wholly from text.
#include "dbase/engine/number_text.h"

#include <cmath>

#include "common/c_locale_numbers.h"
#include "dbase/engine/engine_settings.h"

namespace dbase {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The length of the longest start of a text that is a number in the C form
// (0 when none).
std::size_t NumberStart(const std::string& t) {
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < t.size() && IsDigit(t[i])) ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && IsDigit(t[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < t.size() && (t[j] == '+' || t[j] == '-')) ++j;
    std::size_t exponent = 0;
    while (j < t.size() && IsDigit(t[j])) ++j, ++exponent;
    if (exponent > 0) i = j;
  }
  return i;
}

bool IsCFormNumber(const std::string& t) { return !t.empty() && NumberStart(t) == t.size(); }

// The trimmed text with the engine's decimal comma made a point, when the
// engine writes one and the text holds one comma and no point.
std::string WithCommaRead(const std::string& text) {
  std::string t = Trimmed(text);
  if (DecimalSeparator == ',' && t.find('.') == std::string::npos) {
    const std::size_t comma = t.find(',');
    if (comma != std::string::npos && t.find(',', comma + 1) == std::string::npos) t[comma] = '.';
  }
  return t;
}

}  // namespace

NumberReading ReadNumberText(const std::string& text, double& value) {
  const std::string t = WithCommaRead(text);
  if (!IsCFormNumber(t)) return NumberReading::NotANumber;
  const double read = common::CStrtod(t.c_str(), nullptr);
  // A number too small for a double is 0 (or nearly so), not out of range.
  if (!std::isfinite(read)) return NumberReading::OutOfRange;
  value = read;
  return NumberReading::Number;
}

double LeadingNumber(const std::string& text) {
  const std::string t = WithCommaRead(text);
  const std::size_t length = NumberStart(t);
  if (length == 0) return 0;
  return common::CStrtod(t.substr(0, length).c_str(), nullptr);
}

std::string CFormNumberText(const std::string& text) {
  const std::string t = WithCommaRead(text);
  return IsCFormNumber(t) ? t : text;
}

}  // namespace dbase
