// The local clock and its replacement; see clock.h.
#include "platform/clock.h"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <optional>

namespace platform {

namespace {

std::function<LocalDateTime()>& InstalledClock() {
  static std::function<LocalDateTime()> clock;
  return clock;
}

LocalDateTime FromTm(const std::tm& tm) {
  LocalDateTime result;
  result.year = tm.tm_year + 1900;
  result.month = tm.tm_mon + 1;
  result.day = tm.tm_mday;
  result.hour = tm.tm_hour;
  result.minute = tm.tm_min;
  result.second = tm.tm_sec;
  return result;
}

// A fixed moment for reproducible output: SOURCE_DATE_EPOCH (seconds since
// 1970, the convention of reproducible builds) stands for "now", in UTC.
std::optional<LocalDateTime> FixedEpoch() {
  const char* text = std::getenv("SOURCE_DATE_EPOCH");
  if (!text || !*text) return std::nullopt;
  char* end = nullptr;
  const long long seconds = std::strtoll(text, &end, 10);
  if (*end != '\0' || seconds < 0) return std::nullopt;
  const std::time_t t = static_cast<std::time_t>(seconds);
  std::tm utc{};
  gmtime_r(&t, &utc);
  return FromTm(utc);
}

LocalDateTime SystemNow() {
  if (const std::optional<LocalDateTime> fixed = FixedEpoch()) return *fixed;
  const auto now = std::chrono::system_clock::now();
  const std::time_t t = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&t, &local);
  const auto sinceSecond = now - std::chrono::system_clock::from_time_t(t);
  LocalDateTime result = FromTm(local);
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
