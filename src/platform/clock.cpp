// The local clock and its replacement; see clock.h.
#include "platform/clock.h"

#include <cctype>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <optional>

namespace platform {

namespace {

using Seconds = std::chrono::sys_seconds;

// The last second of the year 9999, the largest moment a four-digit year
// holds (seconds since 1970).
constexpr long long LastSecondOf9999 = 253402300799LL;

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

// A moment given in UTC seconds, as a date and time of offset 0.
LocalDateTime FromUtcSeconds(Seconds t) {
  using namespace std::chrono;
  const sys_days day = floor<days>(t);
  const year_month_day date{day};
  const hh_mm_ss<seconds> time{t - day};
  LocalDateTime result;
  result.year = static_cast<int>(date.year());
  result.month = static_cast<int>(static_cast<unsigned>(date.month()));
  result.day = static_cast<int>(static_cast<unsigned>(date.day()));
  result.hour = static_cast<int>(time.hours().count());
  result.minute = static_cast<int>(time.minutes().count());
  result.second = static_cast<int>(time.seconds().count());
  return result;
}

// SOURCE_DATE_EPOCH as it stands: not set (nullopt), a usable number of
// seconds, or the reason it is none.
struct EpochSetting {
  std::optional<long long> seconds;
  std::string problem;
};

std::optional<EpochSetting> ReadSourceDateEpoch() {
  const char* text = std::getenv("SOURCE_DATE_EPOCH");
  if (!text || !*text) return std::nullopt;
  const std::string value = text;
  EpochSetting setting;
  const std::string shown = value.size() > 40 ? value.substr(0, 37) + "..." : value;
  // Digits only: no sign, no blanks, no fraction, no exponent (what
  // reproducible-build tools take as a number of seconds).
  bool digits = true;
  for (const char c : value) digits = digits && std::isdigit(static_cast<unsigned char>(c));
  if (!digits) {
    setting.problem = "SOURCE_DATE_EPOCH \"" + shown + "\" is not a number of seconds since 1970";
    return setting;
  }
  const std::size_t first = value.find_first_not_of('0');
  const std::string significant = first == std::string::npos ? "0" : value.substr(first);
  const long long seconds = significant.size() > 12 ? LastSecondOf9999 + 1 : std::stoll(significant);
  if (seconds > LastSecondOf9999) {
    setting.problem = "SOURCE_DATE_EPOCH " + shown + " lies beyond the year 9999";
    return setting;
  }
  setting.seconds = seconds;
  return setting;
}

LocalDateTime SystemNow() {
  if (const std::optional<EpochSetting> epoch = ReadSourceDateEpoch(); epoch && epoch->seconds)
    return FromUtcSeconds(Seconds{std::chrono::seconds{*epoch->seconds}});
  const auto now = std::chrono::system_clock::now();
  const std::time_t t = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&t, &local);
  const auto sinceSecond = now - std::chrono::system_clock::from_time_t(t);
  LocalDateTime result = FromTm(local);
  result.utcOffsetMinutes = static_cast<int>(local.tm_gmtoff / 60);
  result.hundredths =
      static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(sinceSecond).count() / 10) % 100;
  return result;
}

}  // namespace

LocalDateTime Now() {
  const auto& clock = InstalledClock();
  return clock ? clock() : SystemNow();
}

LocalDateTime ToUtc(const LocalDateTime& moment) {
  using namespace std::chrono;
  const sys_days day{year{moment.year} / month{static_cast<unsigned>(moment.month)} /
                     std::chrono::day{static_cast<unsigned>(moment.day)}};
  const Seconds t = day + hours{moment.hour} + minutes{moment.minute} + seconds{moment.second} -
                    minutes{moment.utcOffsetMinutes};
  LocalDateTime utc = FromUtcSeconds(t);
  utc.hundredths = moment.hundredths;
  return utc;
}

std::string SourceDateEpochProblem() {
  if (InstalledClock()) return {};
  const std::optional<EpochSetting> epoch = ReadSourceDateEpoch();
  return epoch ? epoch->problem : std::string();
}

void SetClock(std::function<LocalDateTime()> clock) { InstalledClock() = std::move(clock); }

ScopedClock::ScopedClock(const LocalDateTime& fixed) {
  SetClock([fixed] { return fixed; });
}

ScopedClock::~ScopedClock() { SetClock({}); }

}  // namespace platform
