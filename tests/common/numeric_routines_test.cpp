#include "common/numeric_routines.h"

#include <gtest/gtest.h>

#include "common/guarded_math.h"

using namespace common;

namespace {

TEST(NumericRoutines, FloorRealQuirkAndDecadeExponent) {
  EXPECT_EQ(FloorReal(-0.5L), -1);
  EXPECT_EQ(FloorReal(-3), -4);  // a negative whole number comes out one less
  EXPECT_EQ(FloorReal(2.7L), 2);
  EXPECT_EQ(FloorReal(0), 0);
  EXPECT_EQ(DecadeExponent(1234), 3);
  EXPECT_EQ(DecadeExponent(-1234), 3);
  EXPECT_EQ(DecadeExponent(0.05L), -2);
  EXPECT_EQ(DecadeExponent(0), 0);
  EXPECT_EQ(DecadeExponent(1), 0);
}

TEST(NumericRoutines, AxisStep) {
  Real lower, upper, step;
  AxisStep(lower, upper, step, 0, 100, 10);
  EXPECT_NEAR(step, 10, 1e-15L);
  EXPECT_NEAR(lower, 0, 1e-15L);
  EXPECT_NEAR(upper, 100, 1e-13L);
  AxisStep(lower, upper, step, 5, 5, 4);  // widened to 4..6 first
  EXPECT_NEAR(step, 0.5L, 1e-15L);
  EXPECT_NEAR(lower, 4, 1e-15L);
  EXPECT_NEAR(upper, 6, 1e-15L);
  AxisStep(lower, upper, step, -7, 23, 6);  // raw 5: factor 5
  EXPECT_NEAR(step, 5, 1e-15L);
  EXPECT_NEAR(lower, -10, 1e-14L);
  EXPECT_NEAR(upper, 25, 1e-14L);
  AxisStep(lower, upper, step, 0, 1.5L, 1);  // hi shrinks to 1.499985: m < 1.5, factor 1
  EXPECT_NEAR(step, 1, 1e-15L);
  AxisStep(lower, upper, step, 0, 10, 0);  // no division by zero
  EXPECT_NEAR(step, 10, 1e-15L);
  EXPECT_NEAR(upper, 10, 1e-14L);
}

TEST(NumericRoutines, AngleDiff360AndArcTanFull) {
  EXPECT_NEAR(AngleDiff360(350, 10, 1), 20, 1e-12L);
  EXPECT_NEAR(AngleDiff360(350, 10, -1), -340, 1e-12L);
  EXPECT_NEAR(AngleDiff360(10, 350, 1), 340, 1e-12L);
  EXPECT_NEAR(AngleDiff360(10, 350, -1), -20, 1e-12L);
  EXPECT_EQ(AngleDiff360(90, 90, 1), 0);
  EXPECT_EQ(ArcTanFull(0, 0), Pi / 2);
  EXPECT_EQ(ArcTanFull(0, -1), 3 * Pi / 2);
  EXPECT_NEAR(ArcTanFull(-1, 0), Pi, 1e-18L);
  EXPECT_NEAR(ArcTanFull(1, -1), 7 * Pi / 4, 1e-18L);
  EXPECT_NEAR(ArcTanFull(-1, -1), 5 * Pi / 4, 1e-18L);
  EXPECT_EQ(ArcTanYX(-1, 1), ArcTanFull(1, -1));
}

TEST(NumericRoutines, PointTransforms) {
  Real x, y;
  RotatePoint(x, y, 1, 0, Pi / 2);
  EXPECT_NEAR(x, 0, 1e-18L);
  EXPECT_NEAR(y, 1, 1e-18L);
  RotateTranslate(x, y, 10, 20, 90, 1, 2);
  EXPECT_NEAR(x, 8, 1e-17L);
  EXPECT_NEAR(y, 21, 1e-17L);
  ScaleRotateTranslate(x, y, 2, 3, 10, 20, 90, 1, 2);
  EXPECT_NEAR(x, 4, 1e-17L);
  EXPECT_NEAR(y, 22, 1e-17L);
  Real r, phi;
  XYToPolar(r, phi, -3, -4);
  EXPECT_EQ(r, 5);
  PolarToXY(x, y, r, phi);
  EXPECT_NEAR(x, -3, 1e-17L);
  EXPECT_NEAR(y, -4, 1e-17L);
  EXPECT_EQ(Cathetus(5, 3), 4);
  EXPECT_EQ(Cathetus(3, -5), 0);
  EXPECT_EQ(Cathetus(3, 3), 0);
  EXPECT_NEAR(RadToDeg(DegToRad(37)), 37, 1e-16L);
}

TEST(NumericRoutines, PowersAndRounding) {
  EXPECT_EQ(IntPower(3, 2), 8);
  EXPECT_EQ(IntPower(0, 0), 1);
  EXPECT_EQ(IntPower(-2, 4), 0.0625L);
  EXPECT_EQ(IntPower(1, -7), -7);
  EXPECT_EQ(RoundDecimals(0, 2.5L), 2);  // ties to even
  EXPECT_EQ(RoundDecimals(0, 3.5L), 4);
  EXPECT_NEAR(RoundDecimals(2, 3.14159L), 3.14L, 1e-18L);
  EXPECT_EQ(RoundDecimals(-1, 1234), 1230);
  EXPECT_EQ(RoundToDouble(0.1L), static_cast<Real>(0.1));
  EXPECT_NE(RoundToDouble(0.1L), 0.1L);
  EXPECT_EQ(Log10(-1), 0);
  EXPECT_EQ(Log10(0), 0);
  EXPECT_NEAR(Log10(1000), 3, 1e-18L);
  EXPECT_NEAR(Pow10(3), 1000, 1e-15L);
  EXPECT_FALSE(IsEven(-3));
  EXPECT_TRUE(IsEven(-4));
  EXPECT_TRUE(IsEven(0));
}

TEST(NumericRoutines, ComparisonsAndHelpers) {
  EXPECT_TRUE(SameReal(1, 1.000009L));
  EXPECT_FALSE(SameReal(1, 1.00001L + 1e-12L));
  EXPECT_FALSE(SameRealTol(1, 2, 1));  // strictly less
  EXPECT_TRUE(SameRealTol(1, 1.5L, 1));
  EXPECT_EQ(ClampReal(0, 10, -1), 0);
  EXPECT_EQ(ClampReal(0, 10, 11), 10);
  EXPECT_EQ(ClampInt(0, 10, 5), 5);
  EXPECT_EQ(MaxInt(-1, -2), -1);
  EXPECT_EQ(MinReal(-1, -2), -2);
  Real a = 1, b = 2;
  SwapReal(a, b);
  EXPECT_EQ(a, 2);
  EXPECT_EQ(b, 1);
  EXPECT_EQ(PercentDeviation(0, 5), 0);
  EXPECT_EQ(PercentDeviation(200, 150), 25);
  EXPECT_EQ(SignReal(0), 1);
  EXPECT_EQ(SignReal2(-0.1L), -1);
  EXPECT_NEAR(ModReal(7, 3), 1, 1e-17L);
  EXPECT_NEAR(ModReal(-7, 3), -1, 1e-17L);
  EXPECT_EQ(MeanReal(1, 4), 2.5L);
}

TEST(NumericRoutines, UnitConversions) {
  EXPECT_EQ(InchToMm(1), 25.4L);
  EXPECT_NEAR(MmToInch(InchToMm(3)), 3, 1e-18L);
  EXPECT_NEAR(PsiToMPa(MPaToPsi(100)), 100, 1e-15L);
  EXPECT_NEAR(LbfInToNm(1), 0.112984788L, 1e-20L);
  EXPECT_NEAR(NmToLbfIn(LbfInToNm(9)), 9, 1e-16L);
  EXPECT_NEAR(NewtonToLbf(4.44822L), 1, 1e-18L);
  EXPECT_EQ(CelsiusToFahrenheit(100), 212);
  EXPECT_NEAR(FahrenheitToCelsius(-40), -40, 1e-17L);
}

}  // namespace
