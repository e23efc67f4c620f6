// The local clock and its replacement; see clock.h.
#include "platform/clock.h"

#include <chrono>
#include <ctime>

namespace platform {

namespace {

std::function<LocalDateTime()>& InstalledClock() {
  static std::function<LocalDateTime()> clock;
  return clock;
}

LocalDateTime SystemNow() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t t = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&t, &local);
  const auto sinceSecond = now - std::chrono::system_clock::from_time_t(t);
  LocalDateTime result;
  result.year = local.tm_year + 1900;
  result.month = local.tm_mon + 1;
  result.day = local.tm_mday;
  result.hour = local.tm_hour;
  result.minute = local.tm_min;
  result.second = local.tm_sec;
  result.hundredths =
      static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(sinceSecond).count() / 10) % 100;
  return result;
}

}  // namespace

LocalDateTime Now() {
  const auto& clock = InstalledClock();
  return clock ? clock() : SystemNow();
}

void SetClock(std::function<LocalDateTime()> clock) { InstalledClock() = std::move(clock); }

ScopedClock::ScopedClock(const LocalDateTime& fixed) {
  SetClock([fixed] { return fixed; });
}

ScopedClock::~ScopedClock() { SetClock({}); }

}  // namespace platform
