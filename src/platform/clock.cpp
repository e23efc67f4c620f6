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
  LocalDateTime result;
  result.year = utc.tm_year + 1900;
  result.month = utc.tm_mon + 1;
  result.day = utc.tm_mday;
  result.hour = utc.tm_hour;
  result.minute = utc.tm_min;
  result.second = utc.tm_sec;
  return result;
}

LocalDateTime SystemNow() {
  if (const std::optional<LocalDateTime> fixed = FixedEpoch()) return *fixed;
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
