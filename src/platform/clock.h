// Today's date and the time of day, as the local clock gives them. Printouts
// and drawing heads show them; tests and reproducible batch runs fix them by
// installing their own clock.
#pragma once

#include <functional>

namespace platform {

struct LocalDateTime {
  int year = 0, month = 1, day = 1;               // month 1..12, day 1..31
  int hour = 0, minute = 0, second = 0, hundredths = 0;
};

// The local date and time now: the installed clock's when one is set; else
// the moment SOURCE_DATE_EPOCH gives (seconds since 1970, UTC) when that
// environment variable is set, for reproducible printouts; else the system
// clock.
LocalDateTime Now();

// Installs a clock; an empty function returns to the system clock.
void SetClock(std::function<LocalDateTime()> clock);

// Fixes the clock for the lifetime of the object (tests).
class ScopedClock {
 public:
  explicit ScopedClock(const LocalDateTime& fixed);
  ~ScopedClock();
  ScopedClock(const ScopedClock&) = delete;
  ScopedClock& operator=(const ScopedClock&) = delete;
};

}  // namespace platform
