// Date and time texts; see date_time.h.
#include "common/date_time.h"

#include "common/angle_date_format.h"
#include "common/number_format.h"
#include "platform/clock.h"

namespace common {

std::string TodayText() {
  const platform::LocalDateTime now = platform::Now();
  return FormatDate(now.year, now.month, now.day);
}

std::string TodayIsoText() {
  const platform::LocalDateTime now = platform::Now();
  return IntToText(now.year) + "-" + IntToTextZero(now.month, 2) + "-" + IntToTextZero(now.day, 2);
}

std::string DateTimeIsoText() {
  const platform::LocalDateTime now = platform::ToUtc(platform::Now());
  return IntToTextZero(now.year, 4) + "-" + IntToTextZero(now.month, 2) + "-" + IntToTextZero(now.day, 2) + "T" +
         IntToTextZero(now.hour, 2) + ":" + IntToTextZero(now.minute, 2) + ":" + IntToTextZero(now.second, 2) + "Z";
}

std::string TimeText() {
  const platform::LocalDateTime now = platform::Now();
  return IntToText(now.hour) + ":" + IntToTextZero(now.minute, 2);
}

}  // namespace common
