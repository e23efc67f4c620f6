// Number text in the "C" form; see c_locale_numbers.h.
#include "common/c_locale_numbers.h"

#include <locale.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace common {

namespace {

// The "C" locale, made once and kept for the life of the process.
locale_t CLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return c;
}

// Switches the calling thread to the "C" locale for its lifetime; other
// threads and the process's locale are left alone.
class CLocaleScope {
 public:
  CLocaleScope() : previous_(uselocale(CLocale())) {}
  ~CLocaleScope() { uselocale(previous_); }
  CLocaleScope(const CLocaleScope&) = delete;
  CLocaleScope& operator=(const CLocaleScope&) = delete;

 private:
  locale_t previous_;
};

}  // namespace

double CStrtod(const char* text, char** end) { return strtod_l(text, end, CLocale()); }

long double CStrtold(const char* text, char** end) { return strtold_l(text, end, CLocale()); }

int CSnprintf(char* buffer, std::size_t size, const char* format, ...) {
  const CLocaleScope scope;
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(buffer, size, format, args);
  va_end(args);
  return n;
}

std::string CFormat(const char* format, ...) {
  const CLocaleScope scope;
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  const int n = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  std::string text;
  if (n > 0) {
    text.resize(static_cast<std::size_t>(n));
    std::vsnprintf(text.data(), text.size() + 1, format, again);
  }
  va_end(again);
  return text;
}

}  // namespace common
