#include "common/number_format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <locale>
#include <stdexcept>

#include "common/kaldvar.h"

using namespace common;

namespace {

class NumberFormat : public ::testing::Test {
 protected:
  void SetUp() override {
    SignificantDigits = 3;
    DecimalSign = 1;
  }
  void TearDown() override {
    SignificantDigits = 3;
    DecimalSign = 1;
  }
};

std::pair<int, int> Plan(int n, Real x) {
  int i = -99;
  int d = -99;
  PlanSignificantDigits(i, d, n, x);
  return {i, d};
}

}  // namespace

TEST_F(NumberFormat, DigitPlan) {
  EXPECT_EQ(Plan(3, 1.5L), std::make_pair(1, 1));
  EXPECT_EQ(Plan(3, 12.3456L), std::make_pair(2, 2));
  EXPECT_EQ(Plan(3, 123.4L), std::make_pair(3, 1));
  EXPECT_EQ(Plan(3, 1000), std::make_pair(4, 0));
  EXPECT_EQ(Plan(3, 0), std::make_pair(0, 1));
  EXPECT_EQ(Plan(3, 0.0123456L), std::make_pair(0, 4));
  EXPECT_EQ(Plan(3, 1.23456L), std::make_pair(1, 3));
  EXPECT_EQ(Plan(3, 12345.6L), std::make_pair(5, 0));
  EXPECT_EQ(Plan(3, -1.5L), std::make_pair(1, 1));
  EXPECT_EQ(Plan(3, 20), std::make_pair(2, 0));
  EXPECT_EQ(Plan(3, 0.01L), std::make_pair(0, 2));
  // 0.0999 with 2 digits: m = 999 ends in 9, so three decimals.
  EXPECT_EQ(Plan(2, 0.0999L), std::make_pair(0, 3));
  EXPECT_EQ(Plan(2, 0.09999L), std::make_pair(0, 1));
  // Non-positive digit counts end (the trailing-zero loop stops at m = 0).
  EXPECT_EQ(Plan(0, 0.3L), std::make_pair(0, 0));
  EXPECT_EQ(Plan(-2, 0.3L), std::make_pair(0, 0));
  EXPECT_EQ(Plan(-5, 123.0L), std::make_pair(3, 0));
}

TEST_F(NumberFormat, RealToTextExamples) {
  EXPECT_EQ(RealToText(0), "0");
  EXPECT_EQ(RealToText(0.000009L), "0");
  EXPECT_EQ(RealToText(1.5L), "1.5");
  EXPECT_EQ(RealToText(1.23456L), "1.235");
  EXPECT_EQ(RealToText(0.0123456L), "0.0123");
  EXPECT_EQ(RealToText(12345.6L), "12346");
  EXPECT_EQ(RealToText(-2), "-2");
  EXPECT_EQ(RealToText(-0.5L), "-0.5");
  EXPECT_EQ(RealToText(100), "100");
  EXPECT_EQ(RealToText(0.00001L), "0.00001");
  // Ties round away from zero.
  EXPECT_EQ(RealToText(2.675L), "2.675");
  EXPECT_EQ(RealToText(12.345L), "12.35");
  EXPECT_EQ(RealToText(-12.345L), "-12.35");
  std::string out;
  RealToText(out, 1.5L);
  EXPECT_EQ(out, "1.5");
  EXPECT_EQ(RealToTextDigits(1, 1.23456L), "1.23");
  EXPECT_EQ(RealToTextDigits(0, 0.000001L), "0");
  EXPECT_EQ(RealToText6(3.14159265L), "3.141593");
  EXPECT_EQ(RealToText6(123456.7L), "123456.7");
  EXPECT_EQ(RealToText6(1234567.8L), "1234568");
}

TEST_F(NumberFormat, CoreFormatter) {
  EXPECT_EQ(FormatRealDigits(4, 2, 3.14159L), "   3.14");
  SignificantDigits = 5;
  EXPECT_EQ(FormatRealDigits(4, 2, 3.14159L), "   3.1416");
  SignificantDigits = 1;  // decimals 2 - 2 = 0: width is the integer digits
  EXPECT_EQ(FormatRealDigits(4, 2, 3.6L), "   4");
  SignificantDigits = 20;  // decimals clamped to 10
  EXPECT_EQ(FormatRealDigits(1, 1, 0.5L), "0.5000000000");
  SignificantDigits = 3;
  // Positions beyond the significant digits show as 0.
  EXPECT_EQ(FormatRealDigits(1, 2, 123.456L), "123.00");
  // Rounding carries into a new integer digit and stays fixed.
  EXPECT_EQ(FormatRealDigits(1, 1, 9.96L), "10.0");
  EXPECT_EQ(FormatRealDigits(5, 0, 99999.7L), "100000");
  // Never "-0" or "-0.00"; below 1e-15 counts as 0.
  EXPECT_EQ(FormatRealDigits(1, 2, -0.001L), "0.00");
  EXPECT_EQ(FormatRealDigits(3, 0, -0.2L), "  0");
  EXPECT_EQ(FormatRealDigits(1, 2, -1e-16L), "0.00");
  EXPECT_EQ(FormatRealDigits(2, 2, -1.005L), "-1.01");
  // More than 18 significant digits are written as 0.
  EXPECT_EQ(FormatRealDigits(1, 20, 1.0L / 3.0L), "0.33333333333333333300");
  EXPECT_EQ(FormatRealDigits(19, 1, 1e18L), "1000000000000000000.0");
  // Integer part longer than the significant digits: scientific form.
  EXPECT_EQ(FormatRealDigits(2, 1, 1234567.0L), "1.23E6");
  EXPECT_EQ(FormatRealDigits(1, 0, -50000.0L), "-5E4");
  std::string out;
  FormatRealDigits(4, 2, out, 3.14159L);
  EXPECT_EQ(out, "   3.14");
  EXPECT_EQ(FormatRealDigits(2, 2, std::numeric_limits<Real>::infinity()), "INF");
  EXPECT_EQ(RealToText(-std::numeric_limits<Real>::infinity()), "-INF");
  EXPECT_EQ(RealToText(std::numeric_limits<Real>::quiet_NaN()), "NAN");
}

TEST_F(NumberFormat, FixedWidthAndExponentForms) {
  EXPECT_EQ(RealToTextFixed(7, 0.5L), "0.5000000");
  EXPECT_EQ(RealToTextFixed(7, 5), "5.0000000");
  EXPECT_EQ(RealToTextFixed(7, 0), "0.0000000");
  EXPECT_EQ(RealToTextFixed(2, 1234.567L), "1234.57");
  EXPECT_EQ(RealToTextFixed(14, 1.0L / 3.0L), "0.33333333333333");
  EXPECT_EQ(RealToTextWidth(7, 20), "     20");
  EXPECT_EQ(RealToTextWidth(7, 20.25L), "  20.25");
  EXPECT_EQ(RealToTextWidth(7, 0.0000001L), "      0");
  EXPECT_EQ(RealToTextWidth(7, -1.5L), "   -1.5");

  EXPECT_EQ(EngineeringText(12345), "12.35E3");
  EXPECT_EQ(EngineeringText(0.000123L), "0.123E-3");
  EXPECT_EQ(EngineeringText(1.5L), "1.5");
  EXPECT_EQ(EngineeringText(0), "0");
  EXPECT_EQ(EngineeringText(-2.5e7L), "-25E6");
  EXPECT_EQ(ExponentText(12345), "1.235E4");
  EXPECT_EQ(ExponentText(0.000123L), "1.23E-4");
  EXPECT_EQ(ExponentText(5), "5");
  EXPECT_EQ(ExponentText(0), "0");

  EXPECT_EQ(RealToTextAuto(1e-13L), "0");
  EXPECT_EQ(RealToTextAuto(0.00005L), "0.05E-3");
  EXPECT_EQ(RealToTextAuto(12.3456L), "12.35");
  EXPECT_EQ(RealToTextAuto(0.0002L), "0.0002");
  EXPECT_EQ(RealToTextAuto(10000), "10E3");
  EXPECT_EQ(RealToTextOrExp(1e-19L), "0");
  EXPECT_EQ(RealToTextOrExp(2e-6L), "2E-6");
  EXPECT_EQ(RealToTextOrExp(1.5e6L), "1.5E6");
  EXPECT_EQ(RealToTextOrExp(999999), "999999");
}

TEST_F(NumberFormat, DecimalSignAndDotVariants) {
  DecimalSign = 2;
  EXPECT_EQ(RealToText(1.5L), "1,5");
  EXPECT_EQ(FormatRealDigits(4, 2, 3.14159L), "   3,14");
  EXPECT_EQ(RealToTextDot(1.5L), "1.5");
  EXPECT_EQ(RealToTextFixedDot(3, 2.5L), "2.500");
  EXPECT_EQ(FormatRealDigitsDot(4, 2, -3.14159L), "  -3.14");
  EXPECT_EQ(ExponentText(12345), "1,235E4");
  EXPECT_EQ(TextToReal("1,5"), 1.5L);
}

TEST_F(NumberFormat, Integers) {
  EXPECT_EQ(IntToText(0), "0");
  EXPECT_EQ(IntToText(-42), "-42");
  EXPECT_EQ(IntToText(2147483647), "2147483647");
  EXPECT_EQ(IntToTextZero(7, 2), "07");
  EXPECT_EQ(IntToTextZero(-5, 3), "0-5");
  EXPECT_EQ(IntToTextZero(12345, 3), "12345");
  EXPECT_EQ(IntToTextWidth(-5, 4), "  -5");
  EXPECT_EQ(IntToTextWidth(123, 1), "123");
}

TEST_F(NumberFormat, TextToNumbers) {
  EXPECT_EQ(TextToReal("1,5"), 1.5L);
  EXPECT_EQ(TextToReal("1,5,0"), 0);
  EXPECT_EQ(TextToReal("word"), 0);
  EXPECT_EQ(TextToReal(""), 0);
  EXPECT_EQ(TextToReal("  -2.5"), -2.5L);
  EXPECT_EQ(TextToReal("+3"), 3);
  EXPECT_EQ(TextToReal("1e3"), 1000);
  EXPECT_EQ(TextToReal("2.5E-2"), 0.025L);
  EXPECT_EQ(TextToReal(".5"), 0.5L);
  EXPECT_EQ(TextToReal("5."), 5);
  EXPECT_EQ(TextToReal("1.5 "), 0);
  EXPECT_EQ(TextToReal("1e"), 0);
  EXPECT_EQ(TextToReal("-"), 0);
  EXPECT_EQ(TextToReal("inf"), 0);
  EXPECT_EQ(TextToReal("nan"), 0);
  EXPECT_EQ(TextToReal("1e99999"), 0);
  EXPECT_EQ(TextToReal("0x10"), 0);
  EXPECT_EQ(TextToReal2("2,25"), 2.25L);
  EXPECT_EQ(TextToReal("12.345"), 12.345L);  // parsed exactly to the nearest long double

  EXPECT_EQ(TextToInt("42"), 42);
  EXPECT_EQ(TextToInt(" -7"), -7);
  EXPECT_EQ(TextToInt("+7"), 7);
  EXPECT_EQ(TextToInt("4.2"), 0);
  EXPECT_EQ(TextToInt("12a"), 0);
  EXPECT_EQ(TextToInt(""), 0);
  EXPECT_EQ(TextToInt("-"), 0);
  EXPECT_EQ(TextToInt("2147483647"), 2147483647);
  EXPECT_EQ(TextToInt("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(TextToInt("2147483648"), 0);
  EXPECT_EQ(TextToInt2("3"), 3);
  EXPECT_EQ(TextToInt3("-3"), -3);
}

// The process locale must not change any number text: a German locale uses
// a comma and grouping, which would leak in through printf, strtod or
// iostreams.
namespace {

std::string SampleTexts() {
  return RealToText(1234.5L) + "|" + RealToTextFixed(3, 0.25L) + "|" + ExponentText(12345) + "|" +
         FormatRealDigits(6, 3, -1234.5678L) + "|" + EngineeringText(0.000123L);
}

// Installs a global C and C++ locale for one scope and restores the old ones.
class GlobalLocale {
 public:
  explicit GlobalLocale(const std::locale& cxx, const char* cName = nullptr) {
    const char* previous = std::setlocale(LC_ALL, nullptr);
    savedC_ = previous ? previous : "C";
    savedCxx_ = std::locale::global(cxx);
    if (cName) active_ = std::setlocale(LC_ALL, cName) != nullptr;
  }
  ~GlobalLocale() {
    std::locale::global(savedCxx_);
    std::setlocale(LC_ALL, savedC_.c_str());
  }
  bool active() const { return active_; }

 private:
  std::string savedC_;
  std::locale savedCxx_;
  bool active_ = false;
};

std::locale GermanLocale() {
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
    try {
      return std::locale(name);
    } catch (const std::runtime_error&) {
    }
  }
  return std::locale::classic();
}

}  // namespace

TEST_F(NumberFormat, IndependentOfACommaNumpunct) {
  struct CommaPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
  };
  const std::string before = SampleTexts();
  EXPECT_EQ(before, "1235|0.250|1.235E4| -1234.568|0.123E-3");
  const GlobalLocale scope(std::locale(std::locale::classic(), new CommaPunct));
  EXPECT_EQ(SampleTexts(), before);
  EXPECT_EQ(TextToReal("1234.5"), 1234.5L);
}

TEST_F(NumberFormat, IndependentOfTheGermanLocale) {
  const std::string before = SampleTexts();
  const std::locale german = GermanLocale();
  if (german == std::locale::classic()) GTEST_SKIP() << "no German locale installed";
  const GlobalLocale scope(german, german.name().c_str());
  ASSERT_TRUE(scope.active());
  // The locale really is in force for the C library: printf writes a comma.
  char probe[16];
  std::snprintf(probe, sizeof probe, "%.1f", 1.5);
  ASSERT_STREQ(probe, "1,5");
  EXPECT_EQ(SampleTexts(), before);
  DecimalSign = 2;
  EXPECT_EQ(RealToText(1234.5L), "1235");
  EXPECT_EQ(RealToText(1.5L), "1,5");
  EXPECT_EQ(RealToTextDot(1.5L), "1.5");
  DecimalSign = 1;
  EXPECT_EQ(TextToReal("1234.5"), 1234.5L);
  EXPECT_EQ(TextToReal("1234,5"), 1234.5L);
  EXPECT_EQ(TextToReal("1.234,5"), 0);  // no grouping: not a number
  EXPECT_EQ(TextToInt("1.234"), 0);
}
