#include "common/angle_date_format.h"

#include <gtest/gtest.h>

#include "common/kaldvar.h"

using namespace common;

namespace {

class AngleDateFormat : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
  static void Reset() {
    AngleFormat = 1;
    AsciiTextMode = false;
    DateFormatCode = 3;
    DecimalSign = 1;
    SignificantDigits = 3;
  }
};

}  // namespace

TEST_F(AngleDateFormat, DecimalDegrees) {
  EXPECT_EQ(AngleToText(20.5L), "   20.5\xF8");
  EXPECT_EQ(AngleToText(-12.25L), " -12.25\xF8");
  AsciiTextMode = true;
  EXPECT_EQ(AngleToText(20), "     20deg");
}

TEST_F(AngleDateFormat, DegreesMinutesSeconds) {
  AngleFormat = 2;
  EXPECT_EQ(AngleToText(20.5L), "   20\xF8" "30'");
  EXPECT_EQ(AngleToText(20.0L), "     20\xF8");
  EXPECT_EQ(AngleToText(20.5125L), "20\xF8" "30'45\"");
  EXPECT_EQ(AngleToText(-20.5125L), "-20\xF8" "30'45\"");
  EXPECT_EQ(AngleToText(-20.5L), "  -20\xF8" "30'");
  // Seconds that round to 60 carry into the next minute.
  EXPECT_EQ(AngleToText(20.0L + 10.0L / 60 + 59.7L / 3600), "   20\xF8" "11'");
  // ... and minutes to 60 into the next degree, away from zero.
  EXPECT_EQ(AngleToText(20.0L + 59.0L / 60 + 59.8L / 3600), "     21\xF8");
  EXPECT_EQ(AngleToText(-(20.0L + 59.0L / 60 + 59.8L / 3600)), "    -21\xF8");
  // Between -1 and 0 degrees the minus sign stays.
  EXPECT_EQ(AngleToText(-0.5L), "   -0\xF8" "30'");
  EXPECT_EQ(AngleToText(-0.5125L), "-0\xF8" "30'45\"");
  EXPECT_EQ(AngleToText(0.5125L), "0\xF8" "30'45\"");
  EXPECT_EQ(AngleToText(0), "      0\xF8");
}

TEST_F(AngleDateFormat, DatesByFormatCode) {
  const std::pair<int, const char*> cases[] = {
      {1, "07.03.2024"}, {2, "03/07/2024"}, {3, "2024-03-07"}, {4, "07/03/2024"}, {0, "2024/03/07"}, {9, "2024/03/07"},
  };
  for (const auto& [code, expected] : cases) {
    DateFormatCode = static_cast<std::uint16_t>(code);
    EXPECT_EQ(FormatDate(2024, 3, 7), expected) << code;
  }
  DateFormatCode = 1;
  EXPECT_EQ(FormatDate(999, 12, 31), "31.12.999");
}
