// Date display conversions and the two-digit-year rule.
#include "dbase/engine/date_display.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <vector>

#include "dbase/engine/engine_settings.h"

namespace dbase {

namespace {

bool AllDigits(const std::string& text) {
  if (text.empty()) return false;
  for (const char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

std::string Trim(const std::string& text) {
  const std::size_t start = text.find_first_not_of(' ');
  if (start == std::string::npos) return {};
  const std::size_t end = text.find_last_not_of(' ');
  return text.substr(start, end - start + 1);
}

std::string PadTwo(const std::string& part) {
  std::string p = Trim(part);
  while (p.size() < 2) p.insert(p.begin(), '0');
  return p;
}

std::vector<std::string> SplitAt(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (parts.size() < 2) {
    const std::size_t at = text.find(separator, start);
    if (at == std::string::npos) break;
    parts.push_back(text.substr(start, at - start));
    start = at + 1;
  }
  parts.push_back(text.substr(start));
  while (parts.size() < 3) parts.emplace_back();
  return parts;
}

// Writes day, month, year in the order and with the separator of a format.
std::string Arrange(int code, std::string_view month, std::string_view day, std::string_view year) {
  const char sep = DateSeparatorOf(code);
  const std::string_view first = code == 0 ? month : code == 1 ? year : day;
  const std::string_view second = code == 0 ? day : month;
  const std::string_view third = code == 1 ? day : year;
  std::string text;
  text.reserve(first.size() + second.size() + third.size() + 2);
  text.append(first).push_back(sep);
  text.append(second).push_back(sep);
  text.append(third);
  return text;
}

// Splits a date in the current format at its separator ("/", else "-",
// else ".") into month, day and year; false when the text has none.
bool SplitDisplayDate(const std::string& text, std::string& month, std::string& day, std::string& year) {
  char sep = 0;
  for (const char candidate : {'/', '-', '.'}) {
    if (text.find(candidate) != std::string::npos) {
      sep = candidate;
      break;
    }
  }
  if (sep == 0) return false;
  const std::vector<std::string> parts = SplitAt(text, sep);
  if (DateFormat == 1) {
    year = parts[0];
    month = parts[1];
    day = parts[2];
  } else if (DateFormat == 0) {
    month = parts[0];
    day = parts[1];
    year = parts[2];
  } else {
    day = parts[0];
    month = parts[1];
    year = parts[2];
  }
  return true;
}

}  // namespace

int CenturyOf(const std::string& twoDigitYear) {
  int n = 0;
  for (std::size_t i = 0; i < 2 && i < twoDigitYear.size(); ++i) {
    const char c = twoDigitYear[i];
    if (!std::isdigit(static_cast<unsigned char>(c))) break;
    n = n * 10 + (c - '0');
  }
  const int c = (CenturyPivot / 100) * 100;
  return n < CenturyPivot % 100 ? c + 100 : c;
}

std::string CenturyDigits(const std::string& twoDigitYear) {
  return std::to_string(CenturyOf(twoDigitYear)).substr(0, 2);
}

std::string YearToFour(const std::string& year) {
  if (!Century) return year;
  if (year.size() == 2) return CenturyDigits(year) + year;
  std::string out = year;
  while (out.size() < 4) out.insert(out.begin(), '0');
  return out;
}

std::string EmptyDatePicture(int code, bool fourDigitYear) {
  if (code < 0 || code >= 9) code = 0;
  return Arrange(code, "  ", "  ", fourDigitYear ? "    " : "  ");
}

std::string EmptyDatePicture(int code) { return EmptyDatePicture(code, Century); }

std::string DateToDisplay(const std::string& text) {
  std::string t = text.substr(0, 10);
  const std::size_t zero = t.find('\0');
  if (zero != std::string::npos) t.resize(zero);
  const std::vector<std::string> parts = SplitAt(t, '/');
  if (Trim(parts[0]).empty() && Trim(parts[1]).empty() && Trim(parts[2]).empty()) {
    return EmptyDatePicture(DateFormat);
  }
  return Arrange(DateFormat, PadTwo(parts[0]), PadTwo(parts[1]), YearToFour(PadTwo(parts[2])));
}

std::string DateFromDisplay(const std::string& text) {
  std::string month;
  std::string day;
  std::string year;
  if (!SplitDisplayDate(text, month, day, year)) return text;
  return PadTwo(month) + "/" + PadTwo(day) + "/" + YearToFour(PadTwo(year));
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  if (month == 2 && IsLeapYear(year)) return 29;
  return kDays[month - 1];
}

std::string StoredDateToNative(const std::string& stored) {
  // Every date field of every record read passes here: built in place.
  char s[8];
  for (std::size_t i = 0; i < 8; ++i) s[i] = i < stored.size() ? stored[i] : ' ';
  if (std::all_of(s, s + 8, [](char c) { return c == ' '; })) return EmptyDatePicture(DateFormat, true);
  return Arrange(DateFormat, std::string_view(s + 4, 2), std::string_view(s + 6, 2), std::string_view(s, 4));
}

std::string NativeDateToStored(const std::string& text) {
  const std::string blank(8, ' ');
  if (text.size() != 8 && text.size() != 10) return blank;
  const std::string digitsOnly = [&] {
    std::string d;
    for (const char c : text) {
      if (c != ' ' && c != '/' && c != '-' && c != '.') d.push_back(c);
    }
    return d;
  }();
  if (digitsOnly.empty()) return blank;  // blanks and the empty pictures
  std::string month;
  std::string day;
  std::string year;
  if (!SplitDisplayDate(text, month, day, year)) return blank;
  if (month.size() != 2 || day.size() != 2 || (year.size() != 2 && year.size() != 4)) return blank;
  if (!AllDigits(month) || !AllDigits(day) || !AllDigits(year)) return blank;
  if (year.size() == 2) year = std::to_string(CenturyOf(year)).substr(0, 2) + year;
  const int y = std::stoi(year);
  const int m = std::stoi(month);
  const int d = std::stoi(day);
  if (d < 1 || d > DaysInMonth(y, m)) return blank;
  return year + month + day;
}

bool ReadDateText(const std::string& given, std::string& stored) {
  stored.assign(8, ' ');
  const std::size_t first = given.find_first_not_of(" \t");
  if (first == std::string::npos) return true;
  const std::string text = given.substr(first, given.find_last_not_of(" \t") - first + 1);
  if (text.find_first_of("0123456789") == std::string::npos) {
    // The blank picture ("  /  /  ") is how an empty date is shown.
    return text.find_first_not_of(" /.-") == std::string::npos;
  }
  if (AllDigits(text)) {
    if (text.size() != 8) return false;
    const int year = std::stoi(text.substr(0, 4));
    const int month = std::stoi(text.substr(4, 2));
    const int day = std::stoi(text.substr(6, 2));
    if (day < 1 || day > DaysInMonth(year, month)) return false;
    stored = text;
    return true;
  }
  const std::string read = NativeDateToStored(text);
  if (read.find_first_not_of(' ') == std::string::npos) return false;
  stored = read;
  return true;
}

std::string DisplayDateText(const std::string& native) { return Century ? native : TwoDigitYearDate(native); }

std::string TwoDigitYearDate(const std::string& native) {
  if (native.size() != 10) return native;
  if (DateFormat == 1) return native.substr(2);
  return native.substr(0, 6) + native.substr(8);
}

}  // namespace dbase
