#include "calc/measurements.h"

#include <gtest/gtest.h>

#include <cmath>

#include "calc/gear_tolerances.h"
#include "calc/spur_gear_data.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "spur_test_pairs.h"

using namespace calc;
using common::Pi;

namespace {

// The geometry the measurement step reads, for a pair with module mn, the
// pressure angle 20 degrees and the helix angle beta (degrees), with the
// generating shifts of an allowance-free gear (all five equal to x).
void SetPair(Real mn, int z1, int z2, Real x1, Real x2, Real betaDeg = 0) {
  calc_test::ResetGlobals();
  TSpurGearData& g = SpurGearData;
  g.NormalModule = mn;
  g.HelixAngle = betaDeg;
  g.betaRad = betaDeg * Pi / 180;
  g.alphanRad = 20 * Pi / 180;
  g.alphatRad = std::atan(std::tan(g.alphanRad) / std::cos(g.betaRad));
  g.betab = std::atan(std::cos(g.alphatRad) * std::tan(g.betaRad));
  g.ToothNumbers[1] = z1;
  g.ToothNumbers[2] = z2;
  g.ProfileShift[1] = x1;
  g.ProfileShift[2] = x2;
  for (int i = 1; i <= 2; ++i) {
    g.d[i] = g.ToothNumbers[i] * mn / std::cos(g.betaRad);
    g.db[i] = g.d[i] * std::cos(g.alphatRad);
    g.df[i] = g.d[i] - 2.5L * mn + 2 * g.ProfileShift[i] * mn;
    g.xEa[i] = g.xEb[i] = g.xEmin[i] = g.xEmax[i] = g.ProfileShift[i];
  }
}

// Pressure angle with inv(angle) = y, by Newton's method (independent of
// the kernel's bisection).
Real ArcInvolute(Real y) {
  Real a = 0.5L;
  for (int k = 0; k < 60; ++k) {
    const Real t = std::tan(a);
    a -= (t - a - y) / (t * t);
  }
  return a;
}

}  // namespace

TEST(Measurements, TextbookSpanMeasure) {
  // mn 4, z 20/40, 20 degrees, x 0/0: spans over 3 and 5 teeth.
  SetPair(4, 20, 40, 0, 0);
  EXPECT_NEAR(CalcSpanMeasure(1, 0), 30.6418L, 5e-5L);
  EXPECT_NEAR(CalcSpanMeasure(2, 0), 55.3793L, 5e-5L);
  EXPECT_EQ(SpurGearData.SpanToothCount[1], 3);
  EXPECT_EQ(SpurGearData.SpanToothCount[2], 5);
  // The shift moves each flank by xs mn sin alphan.
  EXPECT_NEAR(CalcSpanMeasure(1, 0.1L) - CalcSpanMeasure(1, 0), 2 * 0.1L * 4 * std::sin(20 * Pi / 180),
              1e-15L);
  // An entered count stays.
  SpurGearData.SpanToothCount[1] = 4;
  const Real w4 = CalcSpanMeasure(1, 0);
  EXPECT_EQ(SpurGearData.SpanToothCount[1], 4);
  EXPECT_NEAR(w4 - 30.6418L, 4 * Pi * std::cos(20 * Pi / 180), 1e-4L);
  EXPECT_EQ(common::MsgCount, 0);
}

TEST(Measurements, SpanOfInternalGear) {
  // z -40: k from the negative count, and k + 1/2 enters the formula.
  SetPair(4, 20, -40, 0, 0);
  SpurGearData.SpanToothCount[2] = -5;
  const Real cosA = std::cos(20 * Pi / 180);
  const Real inv = std::tan(20 * Pi / 180) - 20 * Pi / 180;
  EXPECT_NEAR(CalcSpanMeasure(2, 0), cosA * 4 * ((-5 + 0.5L) * Pi + (-40) * inv), 1e-12L);
  SpurGearData.SpanToothCount[2] = 0;
  CalcSpanMeasure(2, 0);
  EXPECT_EQ(SpurGearData.SpanToothCount[2], -3);  // Trunc(-40/9 + 1)
}

TEST(Measurements, BallMeasureEvenOddAndHelical) {
  SetPair(4, 20, 41, 0, 0);
  TSpurGearData& g = SpurGearData;
  g.BallDiameter[1] = 7;
  g.BallDiameter[2] = 7;
  const Real alpha = 20 * Pi / 180;
  const Real inv = std::tan(alpha) - alpha;
  // Even z: the two balls lie in opposite gaps on one diameter.
  const Real aM1 = ArcInvolute(inv + 7 / g.db[1] - Pi / 2 / 20);
  EXPECT_NEAR(CalcBallMeasure(1, 0), g.db[1] / std::cos(aM1) + 7, 1e-9L);
  // Odd z: the balls are half a pitch off the diameter.
  const Real aM2 = ArcInvolute(inv + 7 / g.db[2] - Pi / 2 / 41);
  const Real mdk2 = g.db[2] / std::cos(aM2) * std::cos(Pi / 2 / 41) + 7;
  EXPECT_NEAR(CalcBallMeasure(2, 0), mdk2, 1e-9L);
  // A spur gear keeps MdK; an even one always does.
  EXPECT_EQ(ConvertOddBallMeasure(2, mdk2), mdk2);
  EXPECT_EQ(ConvertOddBallMeasure(1, 123), 123);
  EXPECT_EQ(common::MsgCount, 0);
  // Helical, odd z: the converted dimension is dM + DM.
  SetPair(4, 20, 41, 0, 0, 15);
  g.BallDiameter[2] = 7;
  const Real mdk = CalcBallMeasure(2, 0);
  const Real aM =
      ArcInvolute(std::tan(g.alphatRad) - g.alphatRad + 7 / (g.db[2] * std::cos(g.betab)) - Pi / 2 / 41);
  EXPECT_NEAR(ConvertOddBallMeasure(2, mdk), g.db[2] / std::cos(aM) + 7, 1e-9L);
}

TEST(Measurements, BallTooSmall) {
  SetPair(4, 20, 40, 0, 0);
  SpurGearData.BallDiameter[1] = 1;
  const Real mdk = CalcBallMeasure(1, 0);
  ASSERT_EQ(common::MsgCount, 1);
  EXPECT_EQ(common::MsgText[1], "Error  : Dm ball !  (1mm)");
  EXPECT_EQ(common::FatalFlag, 0);
  EXPECT_GT(mdk, 0);  // computed on from the negative angle
}

TEST(Measurements, LoopFillsAllFiveShifts) {
  SetPair(4, 20, 40, 0.3L, 0.1L);
  TSpurGearData& g = SpurGearData;
  // Allowances: finished thicknesses below the nominal one, premachined above.
  for (int i = 1; i <= 2; ++i) {
    g.xEa[i] = g.ProfileShift[i] - 0.05L;
    g.xEb[i] = g.ProfileShift[i] - 0.08L;
    g.xEmin[i] = g.ProfileShift[i] + 0.02L;
    g.xEmax[i] = g.ProfileShift[i] + 0.04L;
    g.SpanToothCount[i] = 7;  // replaced: the automatic ball resets it
  }
  g.AutoBallDiameter = 1;
  CalcMeasuresTolerances();
  for (int i = 1; i <= 2; ++i) {
    EXPECT_NEAR(g.BallDiameter[i], std::nearbyint(g.BallDiameter[i] * 10) / 10, 1e-15L);
    EXPECT_NE(g.SpanToothCount[i], 7);
    EXPECT_NEAR(g.WkUpper[i], CalcSpanMeasure(i, g.xEa[i]), 1e-15L);
    EXPECT_LT(g.WkLower[i], g.WkUpper[i]);
    EXPECT_LT(g.WkUpper[i], g.WkNominal[i]);
    EXPECT_LT(g.WkNominal[i], g.WkPreLower[i]);
    EXPECT_LT(g.WkPreLower[i], g.WkPreUpper[i]);
    EXPECT_LT(g.MdKLower[i], g.MdKUpper[i]);
    EXPECT_LT(g.MdKUpper[i], g.MdKNominal[i]);
    EXPECT_LT(g.MdKNominal[i], g.MdKPreLower[i]);
    EXPECT_LT(g.MdKPreLower[i], g.MdKPreUpper[i]);
    EXPECT_EQ(g.MdRNominal[i], g.MdKNominal[i]);  // even spur gears
  }
  EXPECT_GT(g.Fp[1], 0);  // the tolerance half ran
  // Only that the pair has no tooth-thickness tolerance (Tsn 0).
  EXPECT_EQ(common::MsgCount, 2) << calc_test::MessageLines();
  EXPECT_TRUE(calc_test::HasMessage("Warning: Tsn < 2Rs !  (1)"));
  // Running the step again changes nothing.
  const TSpurGearData before = g;
  CalcMeasuresTolerances();
  EXPECT_EQ(g.SpanToothCount, before.SpanToothCount);
  EXPECT_EQ(g.WkLower, before.WkLower);
  EXPECT_EQ(g.MdRUpper, before.MdRUpper);
  EXPECT_EQ(g.FiTotal, before.FiTotal);
  // With the automatic ball off, the entered ball and count stay.
  g.AutoBallDiameter = 0;
  g.BallDiameter[1] = 8.5L;
  g.SpanToothCount[1] = 4;
  CalcMeasuresTolerances();
  EXPECT_EQ(g.BallDiameter[1], 8.5L);
  EXPECT_EQ(g.SpanToothCount[1], 4);
}

TEST(Measurements, SpanDomainMessageIsNotFatal) {
  // A shift so negative that the span cannot touch the involute: the
  // arccosine message only, and the value is still computed.
  SetPair(4, 20, 40, 0, 0);
  const Real w = CalcSpanMeasure(1, -1);
  ASSERT_EQ(common::MsgCount, 1);
  EXPECT_EQ(common::MsgText[1].rfind("Error  : span measure ! arccos(", 0), 0u);
  EXPECT_EQ(common::FatalFlag, 0);
  EXPECT_NEAR(w, 30.6418L - 2 * 4 * std::sin(20 * Pi / 180), 5e-5L);
  // The step goes on to the tolerances.
  SetPair(4, 20, 40, 0, 0);
  SpurGearData.xEb[1] = -1;
  CalcMeasuresTolerances();
  // The thin tooth also lets the ball fall through; then the tolerances
  // say that there is no tooth-thickness tolerance.
  ASSERT_EQ(common::MsgCount, 4) << calc_test::MessageLines();
  EXPECT_EQ(common::MsgText[2].rfind("Error  : Dm ball !  (", 0), 0u) << common::MsgText[2];
  EXPECT_EQ(common::FatalFlag, 0);
  EXPECT_GT(SpurGearData.FiTotal[2], 0);
}
