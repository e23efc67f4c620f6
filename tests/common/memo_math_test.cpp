// The memoised functions must return exactly the library's values, for any
// order of arguments: repeated ones, ones that share a slot and push each
// other out, and the zero and NaN that the tables pass by.
#include "common/memo_math.h"
#include "common/guarded_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace {



// Bit for bit: == would let +0 stand for -0.
bool SameBits(Real a, Real b) {
  if (a != a || b != b) return a != a && b != b;
  return a == b && std::signbit(a) == std::signbit(b);
}

// The angles of one closing of the pair and of the sweep, and some more:
// more arguments than the small tables have slots, and three passes, so
// that every argument is asked again after others have taken its slot.
std::vector<Real> ManyAngles() {
  std::vector<Real> angles;
  for (int j = 0; j < 3600; ++j) angles.push_back(j * (common::Pi / 1800));
  for (int d = 1; d <= 360; ++d) angles.push_back(d * common::Pi / 180);
  for (int j = 1; j < 1000; ++j) angles.push_back(j * (2 * common::Pi / 1000) - 3);
  return angles;
}

TEST(MemoMathTest, EveryValueIsTheLibrarys) {
  const std::vector<Real> angles = ManyAngles();
  for (int pass = 0; pass < 3; ++pass) {
    for (const Real x : angles) {
      // The angle that chooses the bucket: the argument's own, one that
      // crowds many arguments into one bucket, and one that is no angle.
      ASSERT_TRUE(SameBits(common::WideMemoTan(x, x), std::tan(x))) << x;
      ASSERT_TRUE(SameBits(common::WideMemoSin(3 * x, x), std::sin(3 * x))) << x;
      ASSERT_TRUE(SameBits(common::WideMemoCos(x, std::floor(x)), std::cos(x))) << x;
      ASSERT_TRUE(SameBits(common::WideMemoCos(x + 1, pass == 1 ? NAN : 1e300L), std::cos(x + 1))) << x;
      ASSERT_TRUE(SameBits(common::MemoTan(x), std::tan(x))) << x;
      ASSERT_TRUE(SameBits(common::MemoCos(x), std::cos(x))) << x;
      const Real c = std::cos(x);
      ASSERT_TRUE(SameBits(common::MemoAcos(c), std::acos(c))) << c;
      ASSERT_TRUE(SameBits(common::MemoPow(x + 4, c), std::pow(x + 4, c))) << x;
    }
  }
}

TEST(MemoMathTest, SignedZeroAndNaNAreNotTakenForEachOther) {
  const Real nan = std::numeric_limits<Real>::quiet_NaN();
  for (int pass = 0; pass < 2; ++pass) {
    EXPECT_TRUE(std::signbit(common::WideMemoTan(-0.0L, 0)));
    EXPECT_FALSE(std::signbit(common::WideMemoTan(0.0L, 0)));
    EXPECT_TRUE(std::signbit(common::WideMemoSin(-0.0L, 0)));
    EXPECT_FALSE(std::signbit(common::WideMemoSin(0.0L, 0)));
    EXPECT_TRUE(std::signbit(common::MemoTan(-0.0L)));
    EXPECT_TRUE(std::isnan(common::WideMemoCos(nan, 1)));
    EXPECT_TRUE(std::isnan(common::MemoCos(nan)));
    EXPECT_TRUE(std::isnan(common::MemoPow(-8, 1.0L / 3)));
  }
}

// Arguments that differ in their last bit of the 80-bit format share a
// bucket and a slot; each keeps its own value.
TEST(MemoMathTest, NeighboursInTheLastBitKeepTheirOwnValues) {
  Real x = 1.2345L;
  std::vector<Real> xs;
  for (int i = 0; i < 6; ++i) {
    xs.push_back(x);
    x = std::nextafter(x, Real{2});
  }
  for (int pass = 0; pass < 3; ++pass)
    for (const Real v : xs) {
      ASSERT_TRUE(SameBits(common::WideMemoTan(v, v), std::tan(v)));
      ASSERT_TRUE(SameBits(common::MemoTan(v), std::tan(v)));
    }
}

// The functions of a zero and the angle bundles: exact, with the sign of a
// zero, whichever angles came before.
TEST(MemoMathTest, ZerosAndAngleBundlesAreTheLibrarys) {
  for (const Real z : {0.0L, -0.0L}) {
    EXPECT_TRUE(SameBits(common::MemoSin(z), std::sin(z)));
    EXPECT_TRUE(SameBits(common::MemoCos(z), std::cos(z)));
    EXPECT_TRUE(SameBits(common::MemoTan(z), std::tan(z)));
    EXPECT_TRUE(SameBits(common::MemoAtan(z), std::atan(z)));
  }
  std::vector<Real> angles = {0.0L, -0.0L, 20 * common::Pi / 180, 0.0L, -0.0L, 1e-4000L};
  for (const Real x : ManyAngles()) angles.push_back(x / 3);
  // The same few angles again and again, as a run asks for them, between
  // ever new ones.
  for (std::size_t j = 0; j < angles.size(); ++j) {
    for (const Real x : {angles[j], angles[j % 6], angles[(j * 7) % angles.size()]}) {
      for (const common::TAngleFunctions f :
           {common::SteadyAngleFunctions(x), common::CurrentAngleFunctions(x)}) {
        ASSERT_TRUE(SameBits(f.sin, std::sin(x))) << x;
        ASSERT_TRUE(SameBits(f.cos, std::cos(x))) << x;
        ASSERT_TRUE(SameBits(f.tan, std::tan(x))) << x;
      }
    }
  }
}

struct TPair {
  Real sum;
  Real product;
};
TPair SumAndProduct(Real a, Real b) { return {a + b, a * b}; }
int recentCalls = 0;
Real Scaled(std::uint16_t kind, Real x) {
  ++recentCalls;
  return kind * x;
}

// A memoised record holds each member of its own arguments; the recent
// calls answer a repeated call without computing it again, tell apart
// arguments that == would take for each other, and compute anew for an
// argument that has fallen out.
TEST(MemoMathTest, RecordsAndRecentCallsKeepTheirArguments) {
  for (int pass = 0; pass < 3; ++pass) {
    for (Real a = 1; a < 3000; a += 1.25L) {
      const TPair p = common::Memoised<SumAndProduct>(a, 1 / a);
      ASSERT_TRUE(SameBits(p.sum, a + 1 / a)) << a;
      ASSERT_TRUE(SameBits(p.product, a * (1 / a))) << a;
    }
  }
  recentCalls = 0;
  EXPECT_EQ(common::MemoisedRecent<Scaled>(2, 1.5L), 3);
  EXPECT_EQ(common::MemoisedRecent<Scaled>(3, 1.5L), 4.5L);
  EXPECT_EQ(common::MemoisedRecent<Scaled>(2, 1.5L), 3);
  EXPECT_EQ(common::MemoisedRecent<Scaled>(3, 1.5L), 4.5L);
  EXPECT_EQ(recentCalls, 2);
  EXPECT_FALSE(std::signbit(common::MemoisedRecent<Scaled>(2, 0.0L)));
  EXPECT_TRUE(std::signbit(common::MemoisedRecent<Scaled>(2, -0.0L)));
  EXPECT_EQ(recentCalls, 4);
  // Two ways: (3, 1.5) has fallen out behind the two zeros.
  EXPECT_EQ(common::MemoisedRecent<Scaled>(3, 1.5L), 4.5L);
  EXPECT_EQ(recentCalls, 5);
  const Real nan = std::numeric_limits<Real>::quiet_NaN();
  EXPECT_TRUE(std::isnan(common::MemoisedRecent<Scaled>(1, nan)));
  EXPECT_TRUE(std::isnan(common::MemoisedRecent<Scaled>(1, nan)));
  EXPECT_EQ(recentCalls, 7);
}

}  // namespace
