// Key primitives and day numbers: comparison, SOUNDEX, descending keys, the
// pool ring, and the calendar conversions with their limits.
#include "dbase/index/key_primitives.h"

#include <gtest/gtest.h>

#include "dbase/dbase_test_support.h"
#include "dbase/engine/engine_settings.h"
#include "dbase/index/day_numbers.h"

namespace {

using namespace dbase;

TEST(KeyPrimitives, ComparisonSoundexAndDescendingKeys) {
  EXPECT_EQ(CompareBytes("ab", "ac", 2), -1);
  EXPECT_EQ(CompareBytes("\xff", "a", 1), 0xff - 'a');
  EXPECT_EQ(CompareBytes("abX", "abY", 2), 0);
  EXPECT_EQ(CompareFloat(-1, 2), -1);
  EXPECT_EQ(CompareFloat(2, 2), 0);
  EXPECT_EQ(CompareFloat(3, 2), 1);
  EXPECT_EQ(SoundexKey("Robert"), "R163");
  EXPECT_EQ(SoundexKey("rupert"), "R163");
  EXPECT_EQ(SoundexKey("Tymczak"), "T522");
  EXPECT_EQ(SoundexKey("Pfister"), "P236");
  EXPECT_EQ(SoundexKey("Lee"), "L000");
  EXPECT_EQ(SoundexKey("A-sh-c-r"), "A226");  // non-letters keep the last digit
  EXPECT_EQ(SoundexKey(""), "0000");
  EXPECT_EQ(SoundexKey("1abc"), "1120");
  const std::string key = "Key \x80\xff";
  EXPECT_EQ(DescendingKey(DescendingKey(key)), key);
  EXPECT_EQ(DescendingKey("A"), "\xbe");
  EXPECT_LT(CompareBytes(DescendingKey("B").data(), DescendingKey("A").data(), 1), 0);
  EXPECT_EQ(DescendingKey(std::string(150, 'x')).size(), 100u);
  EXPECT_EQ(UpperAscii("abz\xe4"), "ABZ\xe4");
  char buffer[] = "abcdef";
  RotateBytes(buffer, 2, 4);
  EXPECT_STREQ(buffer, "cdefab");
  RotateBytes(buffer, 0, 4);
  EXPECT_STREQ(buffer, "cdefab");
  EXPECT_EQ(IntToZeroPadStr(42, 5), "00042");
  EXPECT_EQ(IntToZeroPadStr(123456, 3), "123456");
  char z[5];
  StrToZ("abcdefg", z, sizeof z);
  EXPECT_STREQ(z, "abcd");
  EXPECT_EQ(ZToStrN("abc\0def", 7), "abc");
  EXPECT_EQ(ZToStrN("abcdef", 2), "ab");
}

TEST(KeyPrimitives, PoolRingWalksNewestFirst) {
  PoolBlock* ring = nullptr;
  PoolBlock* a = AllocPoolBlock(ring, 16);
  PoolBlock* b = AllocPoolBlock(ring, 32);
  PoolBlock* c = AllocPoolBlock(ring, 8);
  ASSERT_TRUE(a && b && c);
  EXPECT_EQ(ring, c);
  EXPECT_EQ(b->size, 32 + kPoolHeaderSize);
  EXPECT_EQ(b->Data()[31], 0);
  std::vector<PoolBlock*> walk;
  for (PoolBlock* p = NextPoolBlock(ring, nullptr); p != nullptr; p = NextPoolBlock(ring, p)) walk.push_back(p);
  EXPECT_EQ(walk, (std::vector<PoolBlock*>{c, b, a}));
  EXPECT_EQ(AllocPoolBlock(ring, 70000), nullptr);
  FreePoolBlock(TakePoolBlock(ring));
  EXPECT_EQ(ring, b);
  FreePoolRing(ring);
  EXPECT_EQ(ring, nullptr);
  EXPECT_EQ(TakePoolBlock(ring), nullptr);
}

TEST(DayNumbers, CalendarLimits) {
  EXPECT_EQ(YmdToJulian(1, 1, 1), 1721426);
  EXPECT_EQ(YmdToJulian(1, 12, 31), 1721790);
  EXPECT_EQ(YmdToJulian(9999, 12, 31), 5373484);
  EXPECT_EQ(YmdToJulian(2000, 1, 1), 2451545);  // the astronomers' day number
  EXPECT_EQ(JulianToDtos(1721425), "        ");
  EXPECT_EQ(JulianToDtos(0), "        ");
  EXPECT_EQ(JulianToDtos(5373485), "        ");
  EXPECT_EQ(JulianToDtos(1721426), "00010101");
  EXPECT_EQ(JulianToDtos(5373484), "99991231");
  EXPECT_EQ(DayOfYear(1900, 2, 29), -1);
  EXPECT_EQ(YmdToJulian(1900, 2, 29), 0);
  EXPECT_EQ(DayOfYear(2000, 2, 29), 60);
  EXPECT_EQ(DayOfYear(2000, 12, 31), 366);
  EXPECT_EQ(DayOfYear(2001, 13, 1), -1);
  EXPECT_EQ(DaysBeforeYear(1), 0);
  EXPECT_EQ(DaysBeforeYear(2), 365);
  int m = 0, d = 0;
  MonthDayOfYear(60, true, m, d);
  EXPECT_EQ(m * 100 + d, 229);
  MonthDayOfYear(61, true, m, d);
  EXPECT_EQ(m * 100 + d, 301);
  MonthDayOfYear(60, false, m, d);
  EXPECT_EQ(m * 100 + d, 301);
  // Every day of four centuries converts there and back.
  for (double n = YmdToJulian(1899, 12, 1); n < YmdToJulian(2300, 3, 1); n += 1) {
    ASSERT_EQ(DtosToJulian(JulianToDtos(n)), n);
  }
  EXPECT_EQ(DtosToJulian("        "), 0);
  EXPECT_EQ(DtosToJulian("2000AB01"), 0);
}

TEST(DayNumbers, DateTextsInEveryStyle) {
  InitTzCommon();
  CenturyPivot = 1956;
  const double day = YmdToJulian(2024, 7, 5);
  const char* expected[] = {"07/05/24", "24.07.05", "05/07/24", "05-07-24", "05.07.24",
                            "05.07.24", "05.07.24", "05.07.24", "05.07.24"};
  for (int style = 0; style <= 8; ++style) {
    SetDateFormat(style);
    Century = false;
    EXPECT_EQ(JulianToDateText(day), expected[style]) << style;
    EXPECT_EQ(CtodToJulian(expected[style]), day) << style;
    Century = true;
    EXPECT_EQ(JulianToDateText(day).size(), 10u);
    EXPECT_EQ(CtodToJulian(JulianToDateText(day)), day) << style;
  }
  SetDateFormat(0);
  Century = false;
  EXPECT_EQ(JulianToDateText(1721425), "  /  /  ");
  SetDateFormat(1);
  Century = true;
  EXPECT_EQ(JulianToDateText(0), "    .  .  ");
  SetDateFormat(3);
  EXPECT_EQ(JulianToDateText(0), "  -  -    ");
  SetDateFormat(0);
  EXPECT_EQ(DateTextToDtos("02/29/2000"), "20000229");
  EXPECT_EQ(DateTextToDtos("02/30/2000"), "        ");
  EXPECT_EQ(CtodToJulian("01/01/1850"), YmdToJulian(1850, 1, 1));
  Century = false;
  EXPECT_EQ(CtodToJulian("01/01/50"), YmdToJulian(2050, 1, 1));  // below the pivot's year
}

}  // namespace
