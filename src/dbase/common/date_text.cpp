// Date validation, weekday, names and DTOS form.
#include "dbase/common/date_text.h"

#include <chrono>
#include <cctype>
#include <cmath>

#include "dbase/engine/date_display.h"
#include "dbase/engine/engine_settings.h"

namespace dbase {

namespace {

struct NameTable {
  int dayWidth;
  const char* days[7];
  int monthWidth;
  const char* months[12];
};

// French and German names in code page 850.
const NameTable kEnglish{9,
                         {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
                         9,
                         {"January", "February", "March", "April", "May", "June", "July", "August", "September",
                          "October", "November", "December"}};
const NameTable kItalian{9,
                         {"Domenica", "Lunedi", "Martedi", "Mercoledi", "Giovedi", "Venerdi", "Sabato"},
                         9,
                         {"Gennaio", "Febbraio", "Marzo", "Aprile", "Maggio", "Giugno", "Luglio", "Agosto",
                          "Settembre", "Ottobre", "Novembre", "Dicembre"}};
const NameTable kFrench{8,
                        {"Dimanche", "Lundi", "Mardi", "Mercredi", "Jeudi", "Vendredi", "Samedi"},
                        9,
                        {"Janvier", "F\x82vrier", "Mars", "Avril", "Mai", "Juin", "Juillet", "Ao\x96t", "Septembre",
                         "Octobre", "Novembre", "D\x82" "cembre"}};
const NameTable kGerman{10,
                        {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"},
                        9,
                        {"Januar", "Februar", "M\x84rz", "April", "Mai", "Juni", "Juli", "August", "September",
                         "Oktober", "November", "Dezember"}};
const NameTable kSpanish{9,
                         {"Domingo", "Lunes", "Martes", "Miercoles", "Jueves", "Viernes", "Sabado"},
                         10,
                         {"Enero", "Febrero", "Marzo", "Abril", "Mayo", "Junio", "Julio", "Agosto", "Septiembre",
                          "Octubre", "Noviembre", "Diciembre"}};
// Russian names, written here in UTF-8 and turned into code page 866.
const NameTable kRussian{11,
                         {"Воскресенье", "Понедельник", "Вторник", "Среда", "Четверг", "Пятница", "Суббота"},
                         8,
                         {"Январь", "Февраль", "Март", "Апрель", "Май", "Июнь", "Июль", "Август", "Сентябрь",
                          "Октябрь", "Ноябрь", "Декабрь"}};

// Cyrillic UTF-8 -> code page 866 (the letters А..я; other characters kept).
std::string Cp866(const std::string& utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    if ((b & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
      const int cp = ((b & 0x1F) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F);
      int code = '?';
      if (cp >= 0x410 && cp <= 0x43F) code = 0x80 + (cp - 0x410);
      if (cp >= 0x440 && cp <= 0x44F) code = 0xE0 + (cp - 0x440);
      out.push_back(static_cast<char>(code));
      i += 2;
    } else {
      out.push_back(utf8[i]);
      ++i;
    }
  }
  return out;
}

const NameTable& TableOf(int format) {
  switch (format) {
    case 3:
      return kItalian;
    case 4:
    case 7:
      return kFrench;
    case 5:
      return kGerman;
    case 6:
      return kSpanish;
    case 8:
      return kRussian;
    default:
      return kEnglish;
  }
}

std::string Entry(const char* name, int width, bool russian) {
  std::string text = russian ? Cp866(name) : std::string(name);
  if (static_cast<int>(text.size()) < width) text.resize(static_cast<std::size_t>(width), ' ');
  return text;
}

std::string Trim(const std::string& text) {
  const std::size_t start = text.find_first_not_of(' ');
  if (start == std::string::npos) return {};
  return text.substr(start, text.find_last_not_of(' ') - start + 1);
}

bool IsNumber(const std::string& text) {
  if (text.empty()) return false;
  for (const char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

int NumberOr0(const std::string& text) { return IsNumber(text) ? std::stoi(text) : 0; }

std::string Internal(const std::string& text) { return DateFromDisplay(Trim(text.substr(0, 10))); }

bool BlankDate(const std::string& text) {
  for (const char c : text) {
    if (std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

// The four-digit year of an internal text (an 8-character text gets its
// century from CenturyOf).
int FullYear(const std::string& internal) {
  const std::string year = internal.size() > 6 ? internal.substr(6) : std::string();
  if (!IsNumber(year)) return 0;
  if (internal.size() == 8) return CenturyOf(year) + std::stoi(year);
  return std::stoi(year);
}

}  // namespace

bool ValidDate(std::string& text) {
  const std::string trimmed = Trim(text).substr(0, 10);
  std::string internal = DateFromDisplay(trimmed);
  if (internal == EmptyDatePicture(0) || text.substr(0, 10) == EmptyDatePicture(DateFormat)) {
    return true;
  }
  if (internal.size() != 8 && internal.size() != 10) return false;
  if (internal[2] != '/' || internal[5] != '/') return false;
  const std::string monthText = internal.substr(0, 2);
  const std::string dayText = internal.substr(3, 2);
  const std::string yearText = internal.substr(6);
  if (!IsNumber(monthText) || !IsNumber(dayText) || !IsNumber(yearText)) return false;
  const int month = std::stoi(monthText);
  const int day = std::stoi(dayText);
  if (month < 1 || month > 12 || day < 1 || day > 31) return false;
  if (day > DaysInMonth(2000, month)) return false;  // 2000: February allows 29
  const int year = FullYear(internal);
  if (month == 2 && day == 29 && !IsLeapYear(year)) return false;
  if (internal.size() == 10 && !Century) internal = internal.substr(0, 6) + internal.substr(8);
  std::string result = DateFormat == 0 ? internal : DateToDisplay(internal);
  text = result.substr(0, 10);
  return true;
}

int DayOfWeek(const std::string& text) {
  const std::string internal = Internal(text);
  if (internal.size() < 6) return 0;
  int m = NumberOr0(internal.substr(0, 2));
  const int d = NumberOr0(internal.substr(3, 2));
  int y = FullYear(internal);
  if (m < 1 || d < 1) return 0;
  if (m < 3) {
    m += 12;
    y -= 1;
  }
  const std::int64_t k = y % 100;
  const std::int64_t j = y / 100;
  const std::int64_t h = FloorMod(d + (m + 1) * 26 / 10 + k + k / 4 + j / 4 - 2 * j, 7);
  return h == 0 ? 7 : static_cast<int>(h);
}

std::string CDow(const std::string& text) {
  if (BlankDate(text)) return std::string(10, ' ');
  const int day = DayOfWeek(text);
  if (day < 1) return std::string(10, ' ');
  const NameTable& table = TableOf(DateFormat);
  return Entry(table.days[day - 1], table.dayWidth, &table == &kRussian);
}

std::string CMonth(const std::string& text) {
  if (BlankDate(text)) return std::string(9, ' ');
  const int month = DateMonth(text);
  if (month < 1 || month > 12) return std::string(9, ' ');
  const NameTable& table = TableOf(DateFormat);
  return Entry(table.months[month - 1], table.monthWidth, &table == &kRussian);
}

int DateMonth(const std::string& text) {
  const std::string internal = Internal(text);
  return internal.size() >= 2 ? NumberOr0(Trim(internal.substr(0, 2))) : 0;
}

int DateDay(const std::string& text) {
  const std::string internal = Internal(text);
  return internal.size() >= 5 ? NumberOr0(Trim(internal.substr(3, 2))) : 0;
}

int DateYear(const std::string& text) {
  const std::string internal = Internal(text);
  return internal.size() > 6 ? NumberOr0(Trim(internal.substr(6))) : 0;
}

std::string DateToDtos(const std::string& text) {
  if (BlankDate(text)) return std::string(8, ' ');
  const std::string internal = Internal(text);
  if (internal.size() < 7) return std::string(8, ' ');
  std::string year = Trim(internal.substr(6));
  if (year.size() < 4) {
    const std::string century = CenturyDigits(year);
    year = (century + year);
    while (year.size() < 4) year.insert(year.begin(), '0');
    year = year.substr(year.size() - 4);
  }
  return year + internal.substr(0, 2) + internal.substr(3, 2);
}

std::string DtosToDate(const std::string& dtos) {
  const std::string s = (dtos + "        ").substr(0, 8);
  if (Trim(s).empty()) return EmptyDatePicture(DateFormat);
  const std::string year = Century ? s.substr(0, 4) : s.substr(2, 2);
  return DateToDisplay(s.substr(4, 2) + "/" + s.substr(6, 2) + "/" + year);
}

std::uint32_t TickCount() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

std::uint32_t TickSeconds() { return TickCount() / 1000; }

std::int64_t FloorMod(std::int64_t a, std::int64_t b) {
  if (b == 0) return 0;
  const std::int64_t q = static_cast<std::int64_t>(std::floor(static_cast<double>(a) / static_cast<double>(b)));
  return a - q * b;
}

}  // namespace dbase
