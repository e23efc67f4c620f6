// Engine settings, start-up and small common services.
#include "dbase/engine/engine_settings.h"

#include <cctype>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

#include "dbase/engine/engine_hooks.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/work_areas.h"

namespace dbase {

int DateFormat = 0;
bool Century = false;
int CenturyPivot = 1900;
char DecimalSeparator = '.';
char ThousandSeparator = ',';
char LogicalFalseChar = 'N';
char LogicalTrueChar = 'Y';
std::string ShortDatePicture = "MM/dd/yy";
char DateSeparator = '/';

namespace {

std::tm LocalToday() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

int DefaultCenturyPivot() { return LocalToday().tm_year + 1900 - 70; }

char DateSeparatorOf(int code) {
  switch (code) {
    case 0:
    case 2:
      return '/';
    case 1:
      return '.';
    case 3:
      return '-';
    default:
      return '.';
  }
}

void SetDateFormat(int code) {
  if (code < 0 || code >= 9) code = 0;
  DateFormat = code;
  const std::string yy = Century ? "yyyy" : "yy";
  switch (code) {
    case 0:
      ShortDatePicture = "MM/dd/" + yy;
      break;
    case 1:
      ShortDatePicture = yy + ".MM.dd";
      break;
    case 2:
      ShortDatePicture = "dd/MM/" + yy;
      break;
    case 3:
      ShortDatePicture = "dd-MM-" + yy;
      break;
    default:
      ShortDatePicture = "dd.MM." + yy;
      break;
  }
  DateSeparator = DateSeparatorOf(code);
}

int DateFormatOfLocale(const std::string& locale) {
  // "de_DE.UTF-8" -> language "de", territory "DE".
  const std::string lower = Lower(locale);
  const std::string language = lower.substr(0, lower.find_first_of("_.@"));
  std::string territory;
  const std::size_t underscore = lower.find('_');
  if (underscore != std::string::npos) {
    territory = lower.substr(underscore + 1);
    territory = territory.substr(0, territory.find_first_of(".@"));
  }
  if (language == "de") return 5;
  if (language == "en") return territory == "us" ? 0 : 2;
  if (language == "es") return 6;
  if (language == "fr") return territory == "ca" ? 7 : 4;
  if (language == "it") return 3;
  if (language == "ru") return 8;
  return 0;
}

int DefaultDateFormat() {
  for (const char* name : {"LC_ALL", "LC_TIME", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return DateFormatOfLocale(value);
  }
  return 0;
}

void InitTzCommon() {
  ClearEngineHooks();
  SetDateFormat(DefaultDateFormat());
  if (DateFormat >= 3 && DateFormat <= 6) {
    DecimalSeparator = ',';
    ThousandSeparator = '.';
  } else if (DateFormat == 8) {
    DecimalSeparator = '.';
    ThousandSeparator = ' ';
  } else {
    DecimalSeparator = '.';
    ThousandSeparator = ',';
  }
  CommonHooks.reportError = &ReportError;
  Select(1);
  CenturyPivot = DefaultCenturyPivot();
}

void TzGetMem(void*& pointer, std::size_t size) { pointer = std::calloc(size == 0 ? 1 : size, 1); }

void FreeMem(void*& pointer, std::size_t /*size*/) {
  if (pointer == nullptr) {
    SetError(9, "Attempt to free NIL pointer [FreeMem()]");
    return;
  }
  std::free(pointer);
  pointer = nullptr;
}

std::int32_t MaxAvail() { return 0x7FFFFFFF; }

std::int64_t MemoryStatus(int kind) {
  std::ifstream in("/proc/meminfo");
  std::string line;
  std::int64_t totalKb = 0;
  std::int64_t availableKb = 0;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string key;
    std::int64_t value = 0;
    fields >> key >> value;
    if (key == "MemTotal:") totalKb = value;
    if (key == "MemAvailable:") availableKb = value;
  }
  if (kind == 1) return availableKb;
  if (kind == 2) return availableKb / 1024;
  if (totalKb <= 0) return 0;
  return (totalKb - availableKb) * 100 / totalKb;
}

std::string TzTrimRight(const std::string& text) {
  const std::size_t end = text.find_last_not_of(' ');
  return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

std::string TzTrimLeft(const std::string& text) {
  const std::size_t start = text.find_first_not_of(' ');
  return start == std::string::npos ? std::string() : text.substr(start);
}

std::string TzAllTrim(const std::string& text) {
  std::size_t start = 0;
  std::size_t end = text.size();
  while (start < end && static_cast<unsigned char>(text[start]) <= ' ') ++start;
  while (end > start && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
  return text.substr(start, end - start);
}

void GetDate(int& year, int& month, int& day, int& weekday) {
  const std::tm today = LocalToday();
  year = today.tm_year + 1900;
  month = today.tm_mon + 1;
  day = today.tm_mday;
  weekday = today.tm_wday + 1;
}

}  // namespace dbase
