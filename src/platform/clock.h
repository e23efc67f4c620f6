// Today's date and the time of day, as the local clock gives them. Printouts
// and drawing heads show them; tests and reproducible batch runs fix them by
// installing their own clock.
#pragma once

#include <functional>
#include <string>

namespace platform {

struct LocalDateTime {
  int year = 0, month = 1, day = 1;               // month 1..12, day 1..31
  int hour = 0, minute = 0, second = 0, hundredths = 0;
  // Local time less UTC, in minutes (60 for UTC+01:00); 0 for UTC.
  int utcOffsetMinutes = 0;
};

// The local date and time now: the installed clock's when one is set; else
// the moment SOURCE_DATE_EPOCH gives (seconds since 1970, in UTC) when that
// environment variable holds a usable one, for reproducible output; else the
// system clock.
LocalDateTime Now();

// The same moment in UTC (offset 0).
LocalDateTime ToUtc(const LocalDateTime& moment);

// Why SOURCE_DATE_EPOCH cannot stand for the moment a file is written: it is
// set but is no whole number of seconds since 1970 ("SOURCE_DATE_EPOCH
// \"abc\" is not a number of seconds since 1970"), or its moment lies beyond
// the year 9999, which no date field holds. Empty when it is not set, when
// it is usable, or while a clock is installed. Every writer that stamps its
// file with the moment refuses to write with this text, as reproducible-build
// tools do, instead of stamping the system's clock or a year of seven digits.
std::string SourceDateEpochProblem();

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
