// Today's date and the time of day as texts for report and drawing heads,
// from the platform clock (platform/clock.h), which tests fix.
#pragma once

#include <string>

namespace common {

// Today by the date-format setting (FormatDate of angle_date_format.h).
std::string TodayText();
// Today as year "-" month "-" day: the year unpadded, month and day with two
// digits.
std::string TodayIsoText();
// The moment in UTC as ISO 8601 gives it, with its zone:
// year-month-dayThour:minute:second followed by "Z", each zero-padded
// ("2024-03-05T08:07:02Z" for 09:07:02 local time at UTC+01:00), so that a
// reader of another zone takes the same moment from it.
std::string DateTimeIsoText();
// Hour + ":" + minute, the minute with a leading '0' below 10, the hour
// unpadded ("9:05", "14:30").
std::string TimeText();

}  // namespace common
