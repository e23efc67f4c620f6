// Closing the noncircular pair: centre distance, ratios and radius extremes
// for analytic and formula curves, and the pitch-curve sums.
#include "calc/centre_distance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "calc/calc_records.h"
#include "calc/pitch_curve.h"
#include "calc/sine_linear.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/message_list.h"

namespace calc {
namespace {

constexpr Real Pi = common::Pi;

double D(Real x) { return static_cast<double>(x); }

class CentreDistance : public ::testing::Test {
 protected:
  void SetUp() override {
    common::SetKaldvarDefaults();
    common::ClearErrorMessages();
    SetNoncircularDefaults();
  }
  static void Formula(const char* text) {
    CurveType = CurveFormula;
    PieceCount = 1;
    FormulaPieces[1] = {360, text};
  }
  static void ExpectClosed() {
    EXPECT_EQ(common::FatalFlag, 0);
    EXPECT_EQ(common::MsgCount, 0);
  }
};

TEST_F(CentreDistance, CircleClosesAtTwiceAndMoreItsRadius) {
  EllipseCurve = {50, 50};
  const Real expected[] = {100, 150, 200};
  for (int k = 1; k <= 3; ++k) {
    NcPair.k = k;
    IterateCentreDistance();
    ExpectClosed();
    EXPECT_NEAR(D(NcPair.a), D(expected[k - 1]), 1e-4) << "k = " << k;
    EXPECT_NEAR(D(NcPair.U1), 2 * M_PI * 50, 1e-9);
    EXPECT_NEAR(D(NcPair.rnom1), 50, 1e-12);
    EXPECT_NEAR(D(NcPair.rnom2), 50.0 * k, 1e-12);
    EXPECT_NEAR(D(NcPair.imin), k, 1e-5);
    EXPECT_NEAR(D(NcPair.imax), k, 1e-5);
  }
}

TEST_F(CentreDistance, ManyTurnsAreSummedWithoutKeepingTheSamples) {
  // k = 101: more samples than are kept between the bisection steps. The
  // circle of radius 100 of an unknown curve type is the cheapest curve.
  CurveType = 0;
  NcPair.k = 101;
  IterateCentreDistance();
  ExpectClosed();
  EXPECT_NEAR(D(NcPair.a), 100.0 * 102, 1e-4 * 102);
  EXPECT_NEAR(D(NcPair.imin), 101, 1e-4);
  EXPECT_NEAR(D(NcPair.imax), 101, 1e-4);
}

TEST_F(CentreDistance, DefaultEllipse) {
  IterateCentreDistance();
  ExpectClosed();
  EXPECT_NEAR(D(NcPair.a), 109.7736, 1e-4);
  EXPECT_NEAR(D(NcPair.imin), 0.82956, 1e-5);
  EXPECT_NEAR(D(NcPair.imax), 1.19547, 1e-5);
  EXPECT_EQ(RadiusExtremes.r1min, 50);
  EXPECT_EQ(RadiusExtremes.r1max, 60);
  EXPECT_EQ(RadiusExtremes.r2min, NcPair.a - 60);
  EXPECT_EQ(RadiusExtremes.r2max, NcPair.a - 50);
  // After closing, gear 2 turns once while gear 1 turns once.
  EXPECT_NEAR(D(RollingAngle2(2 * Pi)), 2 * M_PI, 2e-3);
}

TEST_F(CentreDistance, EllipsesAboutTheirFociGiveTheirMajorAxis) {
  Formula("37.5/(1-0.5*COS(X))");
  IterateCentreDistance();
  ExpectClosed();
  EXPECT_NEAR(D(NcPair.a), 100, 1e-4);
  EXPECT_NEAR(D(RadiusExtremes.r1min), 25, 1e-9);
  EXPECT_NEAR(D(RadiusExtremes.r1max), 75, 1e-9);
  EXPECT_NEAR(D(NcPair.imin), 1.0 / 3, 1e-5);
  EXPECT_NEAR(D(NcPair.imax), 3, 1e-5);
}

TEST_F(CentreDistance, NarrowSpikeNeverClosesBelowItsLargestRadius) {
  Formula("30+150*EXP(-SQR((X-3.14159265)/0.03))");
  IterateCentreDistance();
  ExpectClosed();
  EXPECT_GT(NcPair.a, RadiusExtremes.r1max);
  EXPECT_NEAR(D(NcPair.a), 180.1, 0.05);
  EXPECT_GT(RadiusExtremes.r2min, 0);
}

TEST_F(CentreDistance, TwoTurnsOfGearOneSampleFourPi) {
  NcPair.k = 2;
  CurveType = CurveSine;  // r = 50 + 5 sin(phi)
  IterateCentreDistance();
  ExpectClosed();
  // The closure over 4 pi: gear 2 turns once, so RollingAngle2(4 pi) = 2 pi.
  EXPECT_NEAR(D(RollingAngle2(4 * Pi)), 2 * M_PI, 5e-3);
  EXPECT_NEAR(D(RadiusExtremes.r1max), 55, 1e-9);
  EXPECT_NEAR(D(RadiusExtremes.r1min), 45, 1e-9);
}

TEST_F(CentreDistance, EveryFamilyCloses) {
  const std::uint16_t families[] = {CurveEllipse, CurveSine, CurveSineLinear, CurvePolygon,
                                    CurveEccentric};
  for (std::uint16_t family : families) {
    SetNoncircularDefaults();
    common::ClearErrorMessages();
    CurveType = family;
    if (family == CurveSineLinear) PrepareSineLinearCurve();
    IterateCentreDistance();
    ExpectClosed();
    EXPECT_GT(NcPair.a, RadiusExtremes.r1max) << "family " << family;
    EXPECT_NEAR(D(RollingAngle2(2 * Pi)), 2 * M_PI, 1e-2) << "family " << family;
  }
}

TEST_F(CentreDistance, FailingRadiusStopsBeforeTheBisection) {
  NcPair.a = 77;
  NcPair.imin = 0.5L;
  CurveType = CurveFormula;  // no pieces
  IterateCentreDistance();
  EXPECT_EQ(common::FatalFlag, 1);
  ASSERT_EQ(common::MsgCount, 1);
  EXPECT_EQ(common::MsgText[1], "Fatal  : rw1 <= 0 !");
  EXPECT_EQ(NcPair.a, 77);
  EXPECT_EQ(NcPair.imin, 0.5L);
}

TEST_F(CentreDistance, RadiusThatTurnsNegativeIsFatal) {
  Formula("10+40*SIN(X)");  // negative beyond pi
  IterateCentreDistance();
  EXPECT_EQ(common::FatalFlag, 1);
  EXPECT_EQ(common::MsgText[1], "Fatal  : rw1 <= 0 !");
  EXPECT_NEAR(D(RadiusExtremes.r1max), 50, 1e-9);  // gathered up to the failure
  // The circumference is summed before the samples are checked.
  EXPECT_NEAR(D(NcPair.U1), 2 * M_PI * 10, 1e-9);
  EXPECT_NEAR(D(NcPair.rnom1), 10, 1e-11);
}

TEST_F(CentreDistance, DivisionByZeroInAFormulaIsFatal) {
  Formula("50/(X-3.14159265358979)");
  IterateCentreDistance();
  EXPECT_EQ(common::FatalFlag, 1);
  EXPECT_EQ(common::MsgText[1], "Fatal  : rw1 <= 0 !");
}

TEST_F(CentreDistance, SolutionOutsideTheBracketIsReported) {
  // A spike that the 0.1 degree samples meet but the 1 degree sum of U1
  // does not: the upper bound 6 U1 k / pi lies far below r1max, so no step
  // can close the pair.
  CurveType = CurvePolyline;
  PolylineCount = 3;
  LinearInterpolation = 0;
  PolylinePoints[1] = {0, 1};
  PolylinePoints[2] = {0.01L, 5000};
  PolylinePoints[3] = {0.012L, 1};
  IterateCentreDistance();
  EXPECT_EQ(common::FatalFlag, 1);
  EXPECT_EQ(common::MsgText[1], "Fatal  : Iteration !");
  EXPECT_LE(NcPair.a, RadiusExtremes.r1max);
}

TEST_F(CentreDistance, SumsOverPitchCurveOne) {
  EllipseCurve = {50, 50};
  EXPECT_NEAR(D(IntegrateRadiusFullTurn()), 2 * M_PI * 50, 1e-9);
  EXPECT_NEAR(D(IntegrateRadiusTo(0)), 2 * M_PI / 1000 * 50, 1e-12);
  EXPECT_NEAR(D(IntegrateRadiusTo(2 * Pi)), 2 * M_PI * 50, 1e-9);  // 1000 samples
  EXPECT_NEAR(D(IntegrateRadiusTo(Pi)), M_PI * 50, 1e-9);          // 500 samples
  EXPECT_NEAR(D(MinPitchRadius()), 50, 1e-12);
  SetNoncircularDefaults();
  EXPECT_NEAR(D(MinPitchRadius()), 50, 1e-12);  // at 90 degrees
  // The sum up to x of the ellipse is taken in samples at 2 pi / 1000.
  EXPECT_NEAR(D(IntegrateRadiusTo(2 * Pi / 1000)), D(2 * Pi / 1000 * PitchRadius(2 * Pi / 1000)),
              1e-15);
}

TEST_F(CentreDistance, RollingAngleTakesTheSamplesBelowX) {
  // With r1 = 50 and a = 100 every sample adds exactly h = 0.001.
  EllipseCurve = {50, 50};
  NcPair.a = 100;
  EXPECT_NEAR(D(RollingAngle2(0)), 0.001, 1e-15);       // at least phi = 0
  EXPECT_NEAR(D(RollingAngle2(0.001L)), 0.001, 1e-15);  // 0 only: h is not below h
  EXPECT_NEAR(D(RollingAngle2(0.003L)), 0.003, 1e-15);  // 0, h, 2h
  EXPECT_NEAR(D(RollingAngle2(0.0035L)), 0.004, 1e-15);
  EXPECT_NEAR(D(RollingAngle2(2 * Pi)), 6.284, 1e-12);  // 0 .. 6.283
  // An undefined angle stops after the first sample (no comparison holds).
  EXPECT_NEAR(D(RollingAngle2(std::numeric_limits<Real>::quiet_NaN())), 0.001, 1e-15);
  EXPECT_NEAR(D(IntegrateRadiusTo(std::numeric_limits<Real>::quiet_NaN())),
              2 * M_PI / 1000 * 50, 1e-12);
}

}  // namespace
}  // namespace calc
