// The moment a file is stamped with: SOURCE_DATE_EPOCH fixes it in UTC when
// it holds a whole number of seconds up to the end of the year 9999, and is
// refused with its reason otherwise (a text, a sign, a fraction, a year of
// seven digits) while the clock goes on as the system's; an installed clock
// outranks it; printouts that leave the program are refused then, the
// screen's is not. The ISO stamp of STEP files is UTC with its "Z", from a
// local time of any zone, across a day, a month and a year.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "common/date_time.h"
#include "common/file_checks.h"
#include "common/kaldvar.h"
#include "common/report_writer.h"
#include "common/text_file.h"
#include "platform/clock.h"
#include "platform/scripted_dialogs.h"
#include "support/file_test_support.h"

namespace {

// Sets SOURCE_DATE_EPOCH (unset for nullopt) for the lifetime of the object.
class ScopedEpoch {
 public:
  explicit ScopedEpoch(const std::optional<std::string>& value) {
    if (const char* old = std::getenv("SOURCE_DATE_EPOCH")) old_ = old;
    if (value)
      ::setenv("SOURCE_DATE_EPOCH", value->c_str(), 1);
    else
      ::unsetenv("SOURCE_DATE_EPOCH");
  }
  ~ScopedEpoch() {
    if (old_)
      ::setenv("SOURCE_DATE_EPOCH", old_->c_str(), 1);
    else
      ::unsetenv("SOURCE_DATE_EPOCH");
  }

 private:
  std::optional<std::string> old_;
};

std::string Text(const platform::LocalDateTime& t) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d %+d", t.year, t.month, t.day, t.hour, t.minute,
                t.second, t.utcOffsetMinutes);
  return buffer;
}

TEST(TimeStamps, SourceDateEpochFixesTheMomentInUtc) {
  {
    const ScopedEpoch epoch(std::string("1700000000"));
    EXPECT_EQ(platform::SourceDateEpochProblem(), "");
    EXPECT_EQ(Text(platform::Now()), "2023-11-14 22:13:20 +0");
    EXPECT_EQ(common::DateTimeIsoText(), "2023-11-14T22:13:20Z");
  }
  {
    // The last second of the year 9999, and leading zeros.
    const ScopedEpoch epoch(std::string("000253402300799"));
    EXPECT_EQ(platform::SourceDateEpochProblem(), "");
    EXPECT_EQ(common::DateTimeIsoText(), "9999-12-31T23:59:59Z");
  }
  {
    const ScopedEpoch epoch(std::string("0"));
    EXPECT_EQ(common::DateTimeIsoText(), "1970-01-01T00:00:00Z");
  }
  const ScopedEpoch unset(std::nullopt);
  EXPECT_EQ(platform::SourceDateEpochProblem(), "");
}

TEST(TimeStamps, SourceDateEpochThatIsNoUsableMomentIsRefused) {
  for (const std::string bad : {"abc", "-5", "1.5e9", " 1700000000", "1700000000 ", "+17", "0x10"}) {
    SCOPED_TRACE(bad);
    const ScopedEpoch epoch(bad);
    EXPECT_EQ(platform::SourceDateEpochProblem(), "SOURCE_DATE_EPOCH \"" + bad + "\" is not a number of seconds since 1970");
    // The clock does not take it: the year is the system's, not year 0.
    EXPECT_GE(platform::Now().year, 2024);
  }
  for (const std::string far : {"253402300800", "100000000000000", "99999999999999999999999999"}) {
    SCOPED_TRACE(far);
    const ScopedEpoch epoch(far);
    EXPECT_EQ(platform::SourceDateEpochProblem(), "SOURCE_DATE_EPOCH " + far + " lies beyond the year 9999");
    EXPECT_LE(platform::Now().year, 9999);
  }
  // A long text is cut in the message.
  const ScopedEpoch epoch(std::string(100, 'x'));
  EXPECT_EQ(platform::SourceDateEpochProblem(),
            "SOURCE_DATE_EPOCH \"" + std::string(37, 'x') + "...\" is not a number of seconds since 1970");
  // An installed clock outranks the environment.
  const platform::ScopedClock clock({2026, 3, 9, 10, 30, 0});
  EXPECT_EQ(platform::SourceDateEpochProblem(), "");
}

// A printout leaving the program (file, printer, another program) is
// refused with the reason; the screen shows the clock's moment.
TEST(TimeStamps, PrintoutsBeyondTheScreenAreRefused) {
  const testsupport::ScratchDirectory dir("stamped_printouts");
  common::SetKaldvarDefaults();
  common::InitReportWriter();
  common::TempDirectory = dir.Dir().string();
  common::MessagesEnabled = 1;
  platform::ScriptedDialogs dialogs;
  const platform::ScopedDialogs scoped(dialogs);
  const ScopedEpoch epoch(std::string("3e9"));
  common::ClearFileFailure();
  common::AbortFlag = 0;
  common::SelectOutputDevice(common::ReportTxtDataFile, dir.Path("x"));
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(common::LastFileFailure(), "SOURCE_DATE_EPOCH \"3e9\" is not a number of seconds since 1970");
  ASSERT_EQ(dialogs.Asked().size(), 1u);
  EXPECT_EQ(dialogs.Asked()[0].text, common::LastFileFailure() + ": printout not written");
  EXPECT_EQ(dir.Entries(), 0u);
  common::AbortFlag = 0;
  common::SelectOutputDevice(common::ReportScreen, dir.Path("x"));
  EXPECT_EQ(common::AbortFlag, 0);
  common::SharedTextFile.Discard();
}

TEST(TimeStamps, StepStampIsUtcWithItsZone) {
  const ScopedEpoch unset(std::nullopt);
  struct Case {
    platform::LocalDateTime local;
    std::string utc;
  };
  for (const Case& c : {
           Case{{2026, 3, 9, 10, 30, 0, 0, 60}, "2026-03-09T09:30:00Z"},     // UTC+01:00
           Case{{2026, 3, 1, 0, 30, 5, 0, 120}, "2026-02-28T22:30:05Z"},     // back over a month end
           Case{{2024, 3, 1, 1, 0, 0, 0, 330}, "2024-02-29T19:30:00Z"},      // a leap day, half-hour zone
           Case{{2025, 12, 31, 20, 15, 0, 0, -300}, "2026-01-01T01:15:00Z"}, // on over a year end
           Case{{2026, 7, 4, 12, 0, 0, 0, 0}, "2026-07-04T12:00:00Z"},
       }) {
    SCOPED_TRACE(c.utc);
    const platform::ScopedClock clock(c.local);
    EXPECT_EQ(common::DateTimeIsoText(), c.utc);
  }
  // The system clock's zone comes with its time.
  const platform::LocalDateTime now = platform::Now();
  const platform::LocalDateTime utc = platform::ToUtc(now);
  EXPECT_EQ(utc.utcOffsetMinutes, 0);
  const int minutes = (now.hour * 60 + now.minute) - (utc.hour * 60 + utc.minute);
  EXPECT_EQ((minutes - now.utcOffsetMinutes) % (24 * 60), 0);
}

}  // namespace
