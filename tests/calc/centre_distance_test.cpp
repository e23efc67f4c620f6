// Closing the noncircular pair: centre distance, ratios and radius extremes
// for analytic and formula curves, and the pitch-curve sums.
#include "calc/centre_distance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <limits>
#include <utility>
#include <vector>

#include "calc/calc_records.h"
#include "calc/closure_inputs.h"
#include "calc/pitch_curve.h"
#include "calc/sine_linear.h"
#include "common/equation_matrix.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/message_list.h"

namespace calc {
namespace {

constexpr Real Pi = common::Pi;

double D(Real x) { return static_cast<double>(x); }

// The polygon of n equal chords inscribed in a circle of radius r.
double InscribedPolygon(double r, int n) { return 2 * n * r * std::sin(M_PI / n); }

// Perimeter of an ellipse with semi-axes a and b by Ramanujan's second
// approximation (relative error below 1e-10 for these shapes).
double EllipsePerimeter(double a, double b) {
  const double l = (a - b) / (a + b);
  return M_PI * (a + b) * (1 + 3 * l * l / (10 + std::sqrt(4 - 3 * l * l)));
}

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
    // U1 is the 3600-gon of chords at 0.1 degree, 1.3e-7 short of 2 pi R.
    EXPECT_NEAR(D(NcPair.U1), InscribedPolygon(50, 3600), 1e-9);
    EXPECT_NEAR(D(NcPair.rnom1), InscribedPolygon(50, 3600) / (2 * M_PI), 1e-12);
    EXPECT_NEAR(D(NcPair.rnom2), InscribedPolygon(50, 3600) / (2 * M_PI) * k, 1e-12);
    EXPECT_NEAR(D(NcPair.imin), k, 1e-5);
    EXPECT_NEAR(D(NcPair.imax), k, 1e-5);
  }
}

TEST_F(CentreDistance, ManyTurnsRepeatTheSamplesOfOneTurn) {
  // k = 101, beyond the input form's range. The circle of radius 100 of an
  // unknown curve type is the cheapest curve.
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

// U1 is the arc length of pitch curve 1, checked against lengths worked out
// by hand: the ellipse's perimeter, the hexagon's six sides (its corners
// lie on the samples), and a polyline integrated finely segment by segment.
TEST_F(CentreDistance, U1IsTheLengthOfPitchCurveOne) {
  IterateCentreDistance();  // the default ellipse 60 x 50
  ExpectClosed();
  EXPECT_NEAR(D(NcPair.U1), EllipsePerimeter(60, 50), 1e-6 * EllipsePerimeter(60, 50));
  EXPECT_NEAR(D(NcPair.U1), 346.29, 0.005);  // the rectangle sum gave 343.43
  EXPECT_EQ(NcPair.U1, IntegrateRadiusFullTurn());
  EXPECT_NEAR(D(NcPair.rnom1), D(NcPair.U1) / (2 * M_PI), 1e-12);

  CurveType = CurvePolygon;  // 6 corners, incircle diameter 100
  IterateCentreDistance();
  ExpectClosed();
  EXPECT_NEAR(D(NcPair.U1), 6 * 100 * std::tan(M_PI / 6), 1e-9);  // 346.410

  // Radius linear in phi between 13 points 30 degrees apart: spiral arcs
  // meeting at corners. Each segment's length is integral of
  // sqrt(r^2 + r'^2) by Simpson's rule with 2000 intervals.
  CurveType = CurvePolyline;
  PolylineCount = 13;
  double length = 0;
  for (int i = 1; i <= 13; ++i) {
    PolylinePoints[i] = {(i - 1) * Pi / 6, 50 + 4 * std::cos((i - 1) * Pi / 3) + (i % 3)};
    if (i == 1) continue;
    const double r0 = D(PolylinePoints[i - 1].R), r1 = D(PolylinePoints[i].R);
    const double slope = (r1 - r0) / (M_PI / 6);
    const int n = 2000;
    const double step = (M_PI / 6) / n;
    double simpson = 0;
    for (int j = 0; j <= n; ++j) {
      const double r = r0 + slope * j * step;
      const double w = (j == 0 || j == n) ? 1 : (j % 2 == 1 ? 4 : 2);
      simpson += w * std::sqrt(r * r + slope * slope);
    }
    length += simpson * step / 3;
  }
  IterateCentreDistance();
  ExpectClosed();
  EXPECT_NEAR(D(NcPair.U1), length, 1e-6 * length);
}

// A tiny focal ellipse (a 2 mm pair): gear 2 is 0.5 mm thick at phi = 0
// when the far end of the ellipse lies there. The pair closes at twice the
// semi-major axis, 2 * 0.75 / (1 - 0.5^2) = 2, whichever end comes first.
TEST_F(CentreDistance, MicroPairClosesWhereverItsCurveStarts) {
  for (const char* formula : {"0.75/(1-0.5*COS(X))", "0.75/(1+0.5*COS(X))"}) {
    common::ClearErrorMessages();
    Formula(formula);
    IterateCentreDistance();
    ExpectClosed();
    EXPECT_NEAR(D(NcPair.a), 2, 1e-6) << formula;
    EXPECT_NEAR(D(RadiusExtremes.r1max), 1.5, 1e-9) << formula;
    EXPECT_NEAR(D(RadiusExtremes.r2min), 0.5, 1e-6) << formula;
  }
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
  NcPair.U1 = 123;
  NcPair.rnom1 = 4;
  IterateCentreDistance();
  EXPECT_EQ(common::FatalFlag, 1);
  EXPECT_EQ(common::MsgText[1], "Fatal  : rw1 <= 0 !");
  EXPECT_NEAR(D(RadiusExtremes.r1max), 50, 1e-9);  // gathered up to the failure
  // A curve without a length: U1 keeps its value with a and the ratios.
  EXPECT_EQ(NcPair.U1, 123);
  EXPECT_EQ(NcPair.rnom1, 4);
}

// A formula that does not evaluate at a sampled angle has no radius there:
// the run stops with the piece editor's text and the fatal radius message
// instead of rating the partial value (a 50 mm circle for "50+ABC").
TEST_F(CentreDistance, FormulaThatDoesNotEvaluateIsFatal) {
  const std::pair<const char*, const char*> cases[] = {
      {"50 + abc", "Error  : formula: 50+ABC (Pos. 4)"},
      {"50/(X-X)", "Error  : formula: 50/(X-X) (Pos. 3)"},
      {"5O", "Error  : formula: 5O (Pos. 2)"},
      {"48'(1-0.2*COS(X))", "Error  : formula: 48'(1-0.2*COS(X)) (Pos. 3)"},
      {"50+5*Y", "Error  : formula: 50+5*Y (Pos. 6)"},
      {"(50+X", "Error  : formula: (50+X (Pos. -2)"},
      {"50+LN(X)", "Error  : formula: 50+LN(X) (Pos. 4)"},  // at phi = 0 only
      {"50+0*X+0*X+0*X+0*X+0*X+0*X+0*X+0*X+0*X+0*X+0*X+0*X+0*X+0*X+0*X+0*Y",  // 66 characters
       "Error  : formula: 50+0*X+0*X+0*X+0*X+0*X+0*X+0*X+0*X+0*X+0*X+0*X+0*X+0*X+0*X+0... (Pos. 66)"},
  };
  for (const auto& [formula, message] : cases) {
    common::ClearErrorMessages();
    Formula(formula);
    NcPair.a = 77;
    IterateCentreDistance();
    EXPECT_EQ(common::FatalFlag, 1) << formula;
    ASSERT_EQ(common::MsgCount, 2) << formula;
    EXPECT_EQ(common::MsgText[1], message);
    EXPECT_EQ(common::MsgText[2], "Fatal  : rw1 <= 0 !");
    EXPECT_EQ(NcPair.a, 77) << formula;
  }
  // "++5" reads as "5" on every sample, the first included.
  common::ClearErrorMessages();
  Formula("++5");
  IterateCentreDistance();
  ExpectClosed();
  EXPECT_EQ(FormulaPieces[1].Formula, "5");
  EXPECT_EQ(RadiusExtremes.r1min, 5);
  EXPECT_EQ(RadiusExtremes.r1max, 5);
  EXPECT_NEAR(D(NcPair.a), 10, 1e-5);
}

TEST_F(CentreDistance, DivisionByZeroInAFormulaIsFatal) {
  Formula("50/(X-3.14159265358979)");
  IterateCentreDistance();
  EXPECT_EQ(common::FatalFlag, 1);
  EXPECT_EQ(common::MsgText[1], "Fatal  : rw1 <= 0 !");
}

TEST_F(CentreDistance, NarrowSpikeWidensTheBracketWithU1) {
  // A spike of 5000 mm that only one 0.1 degree sample meets: its two
  // chords make U1 about 10000 mm, so 6 U1 k / pi lies above the spike, and
  // the pair closes where that one sample turns gear 2 by nearly 2 pi:
  // h 5000 / (a - 5000) + (2 pi - h) / (a - 1) = 2 pi.
  CurveType = CurvePolyline;
  PolylineCount = 3;
  LinearInterpolation = 0;
  PolylinePoints[1] = {0, 1};
  PolylinePoints[2] = {0.01L, 5000};
  PolylinePoints[3] = {0.012L, 1};
  IterateCentreDistance();
  ExpectClosed();
  EXPECT_EQ(RadiusExtremes.r1max, 5000);
  const double h = M_PI / 1800, a = D(NcPair.a);
  EXPECT_NEAR(h * 5000 / (a - 5000) + (2 * M_PI - h) / (a - 1), 2 * M_PI, 1e-5);
}

// The centre distance of the plain bisection, every closing error summed
// in 80 bits: the closing must find it to the last bit, as every printout
// and the positions of the sweep depend on it.
Real PlainBisection(std::int32_t k) {
  const Real h = Pi / 1800;
  std::vector<Real> samples;
  for (int j = 0; j < 3600; ++j) samples.push_back(PitchRadius(j * h));
  const Real r1max = *std::max_element(samples.begin(), samples.end());
  Real u1 = 0;
  const Real s = std::sin(h / 2);
  for (std::size_t j = 0; j < samples.size(); ++j) {
    const Real r0 = samples[j], r1 = samples[(j + 1) % samples.size()];
    u1 += std::sqrt(std::max<Real>(0, (r1 - r0) * (r1 - r0) + 4 * s * s * r0 * r1));
  }
  Real lo = r1max, hi = 6 * u1 * k / Pi, a = 0;
  for (int step = 1; step <= 1001; ++step) {
    a = (lo + hi) / 2;
    if (a <= r1max) {
      lo = a;
      continue;
    }
    Real turn = 0;
    for (const Real r : samples) turn += h * r / (a - r);
    const Real e = 2 * Pi - k * turn;
    (e > 0 ? hi : lo) = a;
    if (std::fabs(e) < 1e-6L) break;
  }
  return a;
}

TEST_F(CentreDistance, ClosesAtTheCentreDistanceOfThePlainBisection) {
  struct Curve {
    const char* name;
    void (*set)();
  };
  const Curve curves[] = {
      {"ellipse", [] { CurveType = CurveEllipse; }},
      {"flat ellipse", [] { CurveType = CurveEllipse; EllipseCurve = {90, 12}; }},
      {"sine", [] { CurveType = CurveSine; }},
      {"polygon", [] { CurveType = CurvePolygon; }},
      {"eccentric", [] { CurveType = CurveEccentric; }},
      {"micro pair", [] { Formula("0.75/(1-0.5*COS(X))"); }},
      {"spike", [] { Formula("30+150*EXP(-SQR((X-3.14159265)/0.03))"); }},
      {"beyond double", [] { CurveType = CurveEllipse; EllipseCurve = {6e200L, 5e200L}; }},
      {"nanometres", [] { CurveType = CurveEllipse; EllipseCurve = {6e-7L, 5e-7L}; }},
  };
  for (const Curve& curve : curves) {
    for (std::int32_t k = 1; k <= 3; ++k) {
      SetNoncircularDefaults();
      common::ClearErrorMessages();
      curve.set();
      NcPair.k = k;
      IterateCentreDistance();
      ExpectClosed();
      EXPECT_EQ(NcPair.a, PlainBisection(k)) << curve.name << ", k " << k;
    }
  }
}

TEST_F(CentreDistance, LengthBeyondTheRealRangeIsReported) {
  // A radius whose square exceeds the 80-bit range leaves no finite U1 and
  // so no upper bound for the bisection.
  CurveType = CurvePolyline;
  PolylineCount = 2;
  LinearInterpolation = 0;
  PolylinePoints[1] = {0, 1};
  PolylinePoints[2] = {3, 1e3000L};
  IterateCentreDistance();
  EXPECT_EQ(common::FatalFlag, 1);
  ASSERT_EQ(common::MsgCount, 1);
  EXPECT_EQ(common::MsgText[1], "Fatal  : Iteration !");
}

TEST_F(CentreDistance, SumsOverPitchCurveOne) {
  EllipseCurve = {50, 50};
  const double chord = 100 * std::sin(M_PI / 1000);  // one step of 2 pi / 1000
  EXPECT_NEAR(D(IntegrateRadiusFullTurn()), InscribedPolygon(50, 3600), 1e-9);
  EXPECT_NEAR(D(IntegrateRadiusTo(0)), chord, 1e-12);  // at least one chord
  EXPECT_NEAR(D(IntegrateRadiusTo(2 * Pi)), 1000 * chord, 1e-9);
  EXPECT_NEAR(D(IntegrateRadiusTo(Pi)), 500 * chord, 1e-9);
  EXPECT_NEAR(D(MinPitchRadius()), 50, 1e-12);
  SetNoncircularDefaults();
  EXPECT_NEAR(D(MinPitchRadius()), 50, 1e-12);  // at 90 degrees
  // The ellipse 60 x 50 up to its first step: the chord from (60, 0) to the
  // point at 2 pi / 1000 on the ellipse x = 60 cos t, y = 50 sin t.
  const double h = 2 * M_PI / 1000;
  const double r = 60 * 50 / std::hypot(50 * std::cos(h), 60 * std::sin(h));
  EXPECT_NEAR(D(IntegrateRadiusTo(h)), std::hypot(r * std::cos(h) - 60, r * std::sin(h)), 1e-13);
  // Half the ellipse is half its perimeter.
  EXPECT_NEAR(D(IntegrateRadiusTo(Pi)), EllipsePerimeter(60, 50) / 2, 1e-6 * EllipsePerimeter(60, 50));
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
              100 * std::sin(M_PI / 1000), 1e-12);
}

}  // namespace
}  // namespace calc

namespace calc {
namespace {

// What a closing leaves: the pair's sums and ratios and the radius extremes.
struct Closed {
  Real a, U1, rnom1, rnom2, imin, imax, r1min, r1max, r2min, r2max;
  bool operator==(const Closed&) const = default;
};

Closed Close() {
  IterateCentreDistance();
  const auto& r = RadiusExtremes;
  return {NcPair.a, NcPair.U1, NcPair.rnom1, NcPair.rnom2, NcPair.imin, NcPair.imax, r.r1min, r.r1max, r.r2min, r.r2max};
}

// A closing reused for the next one with the same inputs must never stand
// for one whose inputs differ: every input of each family, changed alone,
// gives the closing of the changed curve (the last closing would answer
// with the unchanged one's results), and changed back gives the first
// results again, bit for bit.
TEST_F(CentreDistance, EveryInputOfTheClosingCounts) {
  struct Change {
    const char* name;
    std::function<void()> base, change;
  };
  const auto family = [](std::uint16_t type) {
    return [type] {
      SetNoncircularDefaults();
      CurveType = type;
      if (type == CurveSineLinear) PrepareSineLinearCurve();
      if (type == CurveFormula) {
        PieceCount = 2;
        FormulaPieces[1] = {180, "50+5*SIN(X)"};
        FormulaPieces[2] = {360, "50+5*SIN(X)*SIN(X)*SIN(X)"};
      }
      if (type == CurvePolynomial) {  // r = 50 + 1.5 phi (2 pi - phi)
        PointCount = 3;
        common::EquationMatrix.rhs[1] = 50;
        common::EquationMatrix.rhs[2] = 3 * Pi;
        common::EquationMatrix.rhs[3] = -1.5L;
      }
      if (type == CurvePolyline) {
        PolylineCount = 4;
        for (int i = 1; i <= 4; ++i) PolylinePoints[i] = {(i - 1) * Pi / 2, i % 2 ? 50.0L : 60.0L};
        LinearInterpolation = 1;
      }
    };
  };
  const Change changes[] = {
      {"ellipse a", family(CurveEllipse), [] { EllipseCurve.a = 61; }},
      {"ellipse b", family(CurveEllipse), [] { EllipseCurve.b = 49; }},
      {"k", family(CurveEllipse), [] { NcPair.k = 2; }},
      {"curve type", family(CurveEllipse), [] { CurveType = CurveSine; }},
      {"sine rw0", family(CurveSine), [] { SineCurve.rw0 = 51; }},
      {"sine A", family(CurveSine), [] { SineCurve.A = 4; }},
      {"sine N", family(CurveSine), [] { SineCurve.N = 2; }},
      {"sine-linear PhiLin", family(CurveSineLinear), [] { SineLinearCurve.PhiLin = 200; PrepareSineLinearCurve(); }},
      {"sine-linear B", family(CurveSineLinear), [] { SineLinearCurve.B *= 1.01L; }},
      {"sine-linear offset", family(CurveSineLinear), [] { SineLinearCurve.Offset += 1; }},
      {"polygon corners", family(CurvePolygon), [] { PolygonCurve.Corners = 7; }},
      {"polygon Di", family(CurvePolygon), [] { PolygonCurve.Di = 101; }},
      {"eccentric D", family(CurveEccentric), [] { EccentricCurve.D = 101; }},
      {"eccentric E", family(CurveEccentric), [] { EccentricCurve.E = 11; }},
      {"formula text", family(CurveFormula), [] { FormulaPieces[2].Formula = "50+5*SIN(X)*SIN(X)"; }},
      {"formula end angle", family(CurveFormula), [] { FormulaPieces[1].EndAngle = 90; }},
      {"formula pieces", family(CurveFormula), [] { PieceCount = 1; FormulaPieces[1].EndAngle = 360; }},
      {"coefficient", family(CurvePolynomial), [] { common::EquationMatrix.rhs[1] = 51; }},
      {"coefficient count", family(CurvePolynomial), [] { PointCount = 2; common::EquationMatrix.rhs[2] = 1; }},
      {"point radius", family(CurvePolyline), [] { PolylinePoints[2].R = 61; }},
      {"point angle", family(CurvePolyline), [] { PolylinePoints[2].Phi = 1.4L; }},
      {"point count", family(CurvePolyline), [] { PolylineCount = 3; }},
      {"interpolation", family(CurvePolyline), [] { LinearInterpolation = 0; }},
  };
  for (const Change& c : changes) {
    c.base();
    common::ClearErrorMessages();
    const Closed first = Close();
    ExpectClosed();
    c.change();
    const Closed changed = Close();
    ExpectClosed();
    EXPECT_FALSE(changed == first) << c.name;
    c.base();
    EXPECT_TRUE(Close() == first) << c.name;
  }
}

// The key of the last closing is the curve's own inputs with k and the
// quiet messages: the parameters of a family that the curve type does not
// select leave it, anything the radius reads changes it, down to the sign
// of a zero.
TEST_F(CentreDistance, TheClosingIsKeptByWhatItReads) {
  CurveType = CurveSine;
  const TClosureInputs first = CurrentClosureInputs();
  EXPECT_TRUE(first == CurrentClosureInputs());
  EllipseCurve.a = 99;
  PolygonCurve.De = 77;
  FormulaPieces[1].Formula = "1";
  EXPECT_TRUE(first == CurrentClosureInputs()) << "another family's parameters";
  const auto differs = [&](const char* what, const std::function<void()>& change, const std::function<void()>& back) {
    change();
    EXPECT_FALSE(first == CurrentClosureInputs()) << what;
    back();
    EXPECT_TRUE(first == CurrentClosureInputs()) << what;
  };
  differs("k", [] { NcPair.k = 2; }, [] { NcPair.k = 1; });
  differs("quiet", [] { common::MsgQuiet = !common::MsgQuiet; }, [] { common::MsgQuiet = !common::MsgQuiet; });
  differs("sine A", [] { SineCurve.A += 1; }, [] { SineCurve.A -= 1; });
  const Real rw0 = SineCurve.rw0;
  differs("an undefined radius", [] { SineCurve.rw0 = std::numeric_limits<Real>::quiet_NaN(); },
          [rw0] { SineCurve.rw0 = rw0; });
  SineCurve.rw0 = std::numeric_limits<Real>::quiet_NaN();
  EXPECT_FALSE(CurrentClosureInputs() == CurrentClosureInputs()) << "an undefined number matches nothing";
  SineCurve.rw0 = rw0;
  SineCurve.A = 0;
  const TClosureInputs zero = CurrentClosureInputs();
  SineCurve.A = -0.0L;
  EXPECT_FALSE(zero == CurrentClosureInputs()) << "-0 is not +0";
}

// A closing that reports something is never reused: each run says it
// again, also when the list holds its texts already, and adds its texts
// after those in the list as far as the list has room.
TEST_F(CentreDistance, AClosingWithMessagesSaysThemEveryTime) {
  Formula("50+ABC");
  for (int run = 0; run < 2; ++run) {
    common::ClearErrorMessages();
    IterateCentreDistance();
    EXPECT_EQ(common::FatalFlag, 1);
    ASSERT_EQ(common::MsgCount, 2);
    EXPECT_EQ(common::MsgText[2], "Fatal  : rw1 <= 0 !");
  }
  IterateCentreDistance();  // the texts are in the list already
  EXPECT_EQ(common::MsgCount, 2);
  common::ClearErrorMessages();
  {
    // Texts of the calculation before the closing.
    const common::CalculationMessagesScope calculating;
    for (int i = 1; i <= 11; ++i) common::AddErrorMessage("Warning: " + std::to_string(i));
  }
  IterateCentreDistance();
  // In a full list the fatal text stays; the last line counts the others.
  ASSERT_EQ(common::MsgCount, 12);
  EXPECT_EQ(common::MsgText[11], "Fatal  : rw1 <= 0 !");
  EXPECT_EQ(common::MsgText[12], common::MessagesNotShownText(2));
  EXPECT_EQ(common::SaidMessages()[11].text, "Error  : formula: 50+ABC (Pos. 4)");
  EXPECT_EQ(common::FatalFlag, 1);
  // The same closing when the curve has no fault.
  common::ClearErrorMessages();
  Formula("50+ 5*sin(x)");
  IterateCentreDistance();
  ExpectClosed();
}

// A reused closing leaves what the closing leaves: the results, and the
// formula texts as the evaluator normalised them.
TEST_F(CentreDistance, AReusedClosingLeavesWhatTheClosingLeaves) {
  Formula(" 50 + 5*sin(2*x)");
  const Closed first = Close();
  EXPECT_EQ(FormulaPieces[1].Formula, "50+5*SIN(2*X)");
  const Closed again = Close();
  EXPECT_TRUE(again == first);
  FormulaPieces[1].Formula = " 50 + 5*sin(2*x)";
  NcPair.a = 0;
  RadiusExtremes = {};
  EXPECT_TRUE(Close() == first);
  EXPECT_EQ(FormulaPieces[1].Formula, "50+5*SIN(2*X)");
  EXPECT_TRUE(Close() == first);
  EXPECT_EQ(FormulaPieces[1].Formula, "50+5*SIN(2*X)");
}

}  // namespace
}  // namespace calc
