// The pitch radius of every curve family, the point-table curve, the angle
// normalisation and the sine-linear preparation; a formula curve's slope,
// and the table of radii that a picture keeps.
#include "calc/pitch_curve.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "calc/calc_records.h"
#include "calc/pitch_radius_table.h"
#include "calc/sine_linear.h"
#include "common/equation_matrix.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/message_list.h"

namespace calc {
namespace {

constexpr Real Pi = common::Pi;
constexpr double Deg = M_PI / 180;

double R(Real phi) { return static_cast<double>(PitchRadius(phi)); }

class PitchCurve : public ::testing::Test {
 protected:
  void SetUp() override {
    common::SetKaldvarDefaults();
    common::ClearErrorMessages();
    common::AllocEquationWorkspace();
    SetNoncircularDefaults();
  }
  static void ExpectRadiusFailure() {
    EXPECT_EQ(common::FatalFlag, 1);
    ASSERT_EQ(common::MsgCount, 1);
    EXPECT_EQ(common::MsgText[1], "Fatal  : rw1 <= 0 !");
  }
};

TEST_F(PitchCurve, NormAngleKeepsTheFullTurnOnlyInPitchRadius) {
  EXPECT_NEAR(static_cast<double>(NormAngle(-0.1L)), 2 * M_PI - 0.1, 1e-15);
  EXPECT_NEAR(static_cast<double>(NormAngle(2 * Pi + 0.25L)), 0.25, 1e-15);
  EXPECT_EQ(NormAngle(2 * Pi), 0);
  CurveType = CurveSine;  // rw0 50, A 5, N 1: not symmetric about 0
  EXPECT_DOUBLE_EQ(R(-0.1L), R(2 * Pi - 0.1L));
  EXPECT_NEAR(R(2 * Pi), 50, 1e-15);
  EXPECT_DOUBLE_EQ(R(2 * Pi + 0.3L), R(0.3L));
}

TEST_F(PitchCurve, EllipsePolygonSineAndEccentric) {
  EXPECT_DOUBLE_EQ(R(0), 60);
  EXPECT_NEAR(R(Pi / 2), 50, 1e-12);
  EXPECT_NEAR(R(Pi), 60, 1e-12);
  EXPECT_NEAR(R(Pi / 4), 60 * 50 / std::sqrt((2500 + 3600) / 2.0), 1e-12);

  CurveType = CurvePolygon;
  EXPECT_NEAR(R(0), 50 / std::cos(30 * Deg), 1e-12);
  EXPECT_NEAR(R(30 * Deg), 50, 1e-12);
  EXPECT_NEAR(R(90 * Deg), 50, 1e-12);

  CurveType = CurveSine;
  SineCurve.N = 3;
  EXPECT_NEAR(R(30 * Deg), 55, 1e-12);
  EXPECT_NEAR(R(330 * Deg), 45, 1e-12);

  CurveType = CurveEccentric;
  EXPECT_NEAR(R(0), 40, 1e-12);  // D/2 - E
  EXPECT_NEAR(R(Pi), 60, 1e-12);
  EXPECT_NEAR(R(Pi / 2), std::sqrt(2500.0 - 100), 1e-12);
  EXPECT_EQ(common::MsgCount, 0);

  CurveType = 0;
  EXPECT_EQ(R(1), 100);
  CurveType = 12;
  EXPECT_EQ(R(1), 100);
}

TEST_F(PitchCurve, FormulaPiecesCoverUpToAndIncludingTheirEndAngle) {
  CurveType = CurveFormula;
  PieceCount = 2;
  FormulaPieces[1] = {180, "40+X"};
  FormulaPieces[2] = {360, "100 - x"};
  EXPECT_NEAR(R(Pi), static_cast<double>(40 + Pi), 1e-15);
  EXPECT_NEAR(R(Pi + 1e-9L), static_cast<double>(100 - Pi - 1e-9L), 1e-12);
  EXPECT_NEAR(R(2 * Pi), static_cast<double>(100 - 2 * Pi), 1e-15);
  EXPECT_EQ(common::MsgCount, 0);
  // The evaluator normalises the stored text.
  EXPECT_EQ(FormulaPieces[2].Formula, "100-X");
}

TEST_F(PitchCurve, FormulaCurveWithoutPiecesFails) {
  CurveType = CurveFormula;
  EXPECT_EQ(R(1), 0);
  ExpectRadiusFailure();
}

TEST_F(PitchCurve, UncoveredAngleOrEmptyFormulaFails) {
  CurveType = CurveFormula;
  PieceCount = 1;
  FormulaPieces[1] = {90, "50"};
  EXPECT_EQ(R(1), 50);
  EXPECT_EQ(common::MsgCount, 0);
  EXPECT_EQ(R(2), 0);
  ExpectRadiusFailure();
  common::ClearErrorMessages();
  FormulaPieces[1] = {360, ""};
  EXPECT_EQ(R(2), 0);
  ExpectRadiusFailure();
}

TEST_F(PitchCurve, NonFiniteRadiusFails) {
  CurveType = CurvePolynomial;
  PointCount = 1;
  common::EquationMatrix.rhs[1] = std::numeric_limits<Real>::infinity();
  EXPECT_EQ(R(1), 0);
  ExpectRadiusFailure();
}

TEST_F(PitchCurve, UnsafeCurveDataFail) {
  CurveType = CurvePolygon;
  PolygonCurve.Corners = 2;
  EXPECT_EQ(R(0.5L), 0);
  ExpectRadiusFailure();

  common::ClearErrorMessages();
  CurveType = CurveEccentric;
  EccentricCurve.E = 50;
  EXPECT_EQ(R(0.5L), 0);
  ExpectRadiusFailure();

  common::ClearErrorMessages();
  CurveType = CurveSineLinear;
  SineLinearCurve.PhiLin = 360;
  EXPECT_EQ(R(0.5L), 0);
  ExpectRadiusFailure();

  // A point count beyond its table: the message names the limit.
  common::ClearErrorMessages();
  CurveType = CurvePolyline;
  PolylineCount = MaxPolylinePoints + 1;
  EXPECT_EQ(R(0.5L), 0);
  EXPECT_EQ(common::FatalFlag, 1);
  ASSERT_EQ(common::MsgCount, 2);
  EXPECT_EQ(common::MsgText[1], "Fatal  : more than 1000 points !");
  EXPECT_EQ(common::MsgText[2], "Fatal  : rw1 <= 0 !");

  common::ClearErrorMessages();
  CurveType = CurvePointFit;
  PointCount = MaxFitPoints + 1;
  EXPECT_EQ(R(0.5L), 0);
  ASSERT_EQ(common::MsgCount, 2);
  EXPECT_EQ(common::MsgText[1], "Fatal  : more than 50 points !");
}

TEST_F(PitchCurve, PolynomialUsesTheSolutionVector) {
  CurveType = CurvePointFit;
  PointCount = 3;
  common::EquationMatrix.rhs[1] = 50;
  common::EquationMatrix.rhs[2] = 2;
  common::EquationMatrix.rhs[3] = -0.5L;
  EXPECT_NEAR(R(2), 50 + 4 - 2, 1e-15);
  PointCount = 0;
  EXPECT_EQ(R(2), 0);
}

TEST_F(PitchCurve, PolylineInterpolatesBetweenNeighbours) {
  CurveType = CurvePolyline;
  PolylineCount = 1;
  PolylinePoints[1] = {1, 42};
  EXPECT_EQ(R(0.2L), 42);
  EXPECT_EQ(R(5), 42);

  PolylineCount = 3;
  PolylinePoints[1] = {0, 50};
  PolylinePoints[2] = {2, 70};
  PolylinePoints[3] = {4, 60};
  EXPECT_NEAR(R(1), 60, 1e-15);
  EXPECT_NEAR(R(3), 65, 1e-15);
  EXPECT_EQ(R(2), 70);
  // Beyond the last point the line runs to point 1 one turn later.
  EXPECT_NEAR(R(5), 60 + (5 - 4) * (50 - 60) / (2 * Pi - 4), 1e-15);

  LinearInterpolation = 0;
  EXPECT_EQ(R(1.99L), 50);
  EXPECT_EQ(R(2), 70);
  EXPECT_EQ(R(3.9L), 70);
  EXPECT_EQ(R(4.5L), 60);
}

// A table that stops short of a whole turn closes over 0/360 degrees: the
// radius runs continuously from the last point to the first one, on both
// sides of the turn, with the scan and with the bisection alike; the
// staircase still holds the lower point's radius.
TEST_F(PitchCurve, PolylineClosesOverTheTurn) {
  CurveType = CurvePolyline;
  PolylineCount = 4;
  PolylinePoints[1] = {1, 50}, PolylinePoints[2] = {2, 60}, PolylinePoints[3] = {4, 70};
  PolylinePoints[4] = {4, 75};  // a tie at the last angle: its first point counts
  const Real gap = 2 * Pi + 1 - 4;
  for (const bool bisect : {false, true}) {
    std::optional<PolylineLookupScope> lookup;
    if (bisect) lookup.emplace();
    LinearInterpolation = 1;
    EXPECT_NEAR(R(5), 70 + (5 - 4) * (50 - 70) / gap, 1e-15) << bisect;
    EXPECT_NEAR(R(0.5L), 70 + (0.5L + 2 * Pi - 4) * (50 - 70) / gap, 1e-15) << bisect;
    EXPECT_NEAR(R(2 * Pi), R(0), 1e-15) << bisect;
    EXPECT_NEAR(R(1 - 1e-12L), 50, 1e-9) << bisect;
    EXPECT_NEAR(R(4 + 1e-12L), 70, 1e-9) << bisect;
    EXPECT_EQ(R(1), 50);
    EXPECT_EQ(R(4), 70);
    LinearInterpolation = 0;
    EXPECT_EQ(R(5), 70) << bisect;
    EXPECT_EQ(R(0.5L), 50) << bisect;
  }
  // An unordered table closes between its smallest and largest angles.
  PolylinePoints[1] = {4, 70}, PolylinePoints[2] = {1, 50}, PolylinePoints[3] = {2, 60};
  PolylineCount = 3;
  LinearInterpolation = 1;
  EXPECT_NEAR(R(5), 70 + (5 - 4) * (50 - 70) / gap, 1e-15);
  EXPECT_NEAR(R(0.5L), 70 + (0.5L + 2 * Pi - 4) * (50 - 70) / gap, 1e-15);
}

TEST_F(PitchCurve, PolylineOfEqualAnglesTakesTheFirst) {
  CurveType = CurvePolyline;
  PolylineCount = 3;
  PolylinePoints[1] = {1, 50};
  PolylinePoints[2] = {1, 55};
  PolylinePoints[3] = {3, 70};
  EXPECT_EQ(R(1), 50);
  EXPECT_NEAR(R(2), 60, 1e-15);
}

// The bisection over an ordered table picks the points the scan picks:
// ties, exact hits, angles before the first and beyond the last point,
// both interpolations; a table out of order keeps the scan.
TEST_F(PitchCurve, PolylineBisectionPicksThePointsOfTheScan) {
  CurveType = CurvePolyline;
  const std::vector<std::vector<std::pair<Real, Real>>> tables = {
      {{0.5L, 40}},
      {{0, 50}, {1, 55}, {1, 60}, {1, 65}, {2, 52}, {2, 53}, {4, 58}, {6, 51}},
      {{0.2L, 50}, {0.2L, 51}, {3, 70}, {6.2L, 60}, {6.2L, 61}},
      {{0, 50}, {3, 60}, {2, 55}, {5, 52}},  // out of order
  };
  std::vector<Real> angles = {-1, 0, 0.1L, 0.2L, 0.5L, 1, 1.5L, 2, 3, 4, 5.99L, 6, 6.2L, 6.28L, 7,
                              std::numeric_limits<Real>::quiet_NaN()};
  for (int j = 0; j <= 700; ++j) angles.push_back(j * 0.01L);
  for (const auto& table : tables) {
    PolylineCount = static_cast<std::int32_t>(table.size());
    for (std::size_t i = 0; i < table.size(); ++i)
      PolylinePoints[static_cast<int>(i) + 1] = {table[i].first, table[i].second};
    for (const std::uint16_t linear : {0, 1}) {
      LinearInterpolation = linear;
      for (const Real phi : angles) {
        const Real scanned = InterpolatePointCurve(phi);
        const PolylineLookupScope lookup;
        const Real bisected = InterpolatePointCurve(phi);
        EXPECT_EQ(scanned, bisected) << table.size() << " points, linear " << linear << ", phi " << phi;
      }
    }
  }
  // The exact hit of a tie takes the first point; between ties and the next
  // angle the first point of the tie is the lower one.
  PolylineCount = 4;
  PolylinePoints[1] = {0, 50}, PolylinePoints[2] = {1, 55}, PolylinePoints[3] = {1, 60};
  PolylinePoints[4] = {3, 65};
  LinearInterpolation = 1;
  const PolylineLookupScope lookup;
  EXPECT_EQ(InterpolatePointCurve(1), 55);
  EXPECT_EQ(InterpolatePointCurve(2), 60);  // 55 + (2 - 1) * (65 - 55) / (3 - 1)
  EXPECT_EQ(InterpolatePointCurve(0.5L), 52.5L);
}

TEST_F(PitchCurve, GetPhiIterFindsTheRoot) {
  const Real x = GetPhiIter(3.84L);
  EXPECT_NEAR(static_cast<double>(x / std::cos(x)), 3.84, 1e-7);
  EXPECT_EQ(common::MsgCount, 0);
  // x / cos x stays positive on the part of [0, 3.1] that the bisection
  // visits for a negative c, so the search runs out of steps.
  EXPECT_EQ(GetPhiIter(-1e9L), 0);
  ASSERT_EQ(common::MsgCount, 1);
  EXPECT_EQ(common::MsgText[1], "Error: GetPhiIter in unit vob4rech");
  EXPECT_EQ(common::FatalFlag, 0);
}

TEST_F(PitchCurve, SineLinearCurveIsContinuousAtBothJoints) {
  CurveType = CurveSineLinear;
  PrepareSineLinearCurve();
  const TSineLinearCurve& c = SineLinearCurve;
  EXPECT_GT(c.Q, 0);
  EXPECT_LT(c.Q, 90);
  EXPECT_NEAR(R(0), 45, 1e-12);
  EXPECT_NEAR(R(220 * Deg), 55, 1e-12);
  EXPECT_NEAR(R(220 * Deg + 1e-9L), 55, 1e-6);
  EXPECT_NEAR(static_cast<double>(c.Theta), static_cast<double>(c.Q), 1e-5);
  EXPECT_NEAR(R(2 * Pi), 45, 1e-12);
  EXPECT_NEAR(static_cast<double>(c.Theta), static_cast<double>(360 - c.Q), 1e-9);
  EXPECT_NEAR(R(110 * Deg), 50, 1e-12);
  EXPECT_EQ(common::MsgCount, 0);
}

TEST_F(PitchCurve, SineLinearPreparationRefusesAnOpenInterval) {
  SineLinearCurve.PhiLin = 0;
  PrepareSineLinearCurve();
  ExpectRadiusFailure();
  EXPECT_EQ(SineLinearCurve.B, 0);
}

bool SameBits(Real a, Real b) { return a == b && std::signbit(a) == std::signbit(b); }

TEST_F(PitchCurve, SlopeOfAFormulaCurveWithItsRadius) {
  CurveType = CurveFormula;
  PieceCount = 2;
  FormulaPieces[1] = {180, "50+5*sin(3*x)"};
  FormulaPieces[2] = {360, "40/(1-0.5*COS(X))"};
  for (const Real phi : {0.0L, 0.7L, Pi, Pi + 0.5L, 2 * Pi, -0.3L, 2 * Pi + 1}) {
    Real r = -1, slope = -1;
    ASSERT_TRUE(PitchRadiusWithSlope(phi, r, slope)) << static_cast<double>(phi);
    EXPECT_TRUE(SameBits(r, PitchRadius(phi)));
    const Real x = NormAngle(phi) == 0 && phi != 0 ? 2 * Pi : NormAngle(phi);
    const Real d = 1 - 0.5L * std::cos(x);
    const Real expected = x <= Pi ? 15 * std::cos(3 * x) : -20 * std::sin(x) / (d * d);
    EXPECT_NEAR(static_cast<double>(slope), static_cast<double>(expected), 1e-12) << static_cast<double>(phi);
  }
  EXPECT_EQ(common::MsgCount, 0);
  // The other families leave the slope to their caller.
  CurveType = CurveEllipse;
  Real r = -1, slope = -1;
  EXPECT_FALSE(PitchRadiusWithSlope(0.5L, r, slope));
  EXPECT_TRUE(SameBits(r, PitchRadius(0.5L)));
  EXPECT_EQ(slope, 0);
  // A failing formula fails as PitchRadius does, without a slope.
  CurveType = CurveFormula;
  FormulaPieces[1].Formula = "50+ABC";
  EXPECT_FALSE(PitchRadiusWithSlope(1, r, slope));
  EXPECT_EQ(r, 0);
  EXPECT_EQ(common::FatalFlag, 1);
  EXPECT_EQ(common::MsgText[1], "Error  : formula: 50+ABC (Pos. 4)");
}

TEST_F(PitchCurve, TableOfAPictureAnswersWithTheRadiiItKept) {
  CurveType = CurveFormula;
  PieceCount = 2;
  FormulaPieces[1] = {180, "50+5*SIN(3*X)"};
  FormulaPieces[2] = {360, "40/(1-0.5*COS(X))"};
  std::vector<Real> angles;
  for (int i = -20; i <= 400; ++i) angles.push_back(i * Pi / 180);
  std::vector<Real> plain, slopes;
  for (const Real phi : angles) {
    plain.push_back(PitchRadius(phi));
    Real r, slope;
    PitchRadiusWithSlope(phi, r, slope);
    slopes.push_back(slope);
  }
  {
    const PitchRadiusTableScope table;
    ASSERT_TRUE(PitchRadiusTableOpen());
    for (int pass = 0; pass < 3; ++pass) {
      const PitchRadiusTableScope nested;  // shares the table
      for (std::size_t i = 0; i < angles.size(); ++i) {
        Real r = -1, slope = -1;
        if (pass == 1) {
          PitchRadiusWithSlope(angles[i], r, slope);  // asked for the slope after the radius
          EXPECT_TRUE(SameBits(slope, slopes[i])) << i;
        } else {
          r = PitchRadius(angles[i]);
        }
        EXPECT_TRUE(SameBits(r, plain[i])) << i;
      }
    }
    ASSERT_TRUE(PitchRadiusTableOpen());
    Real kept = 0;
    const TTabledRadius* entry = FindTabledRadius(angles[30]);
    ASSERT_NE(entry, nullptr);
    kept = entry->r;
    EXPECT_TRUE(SameBits(kept, plain[30]));
    EXPECT_TRUE(entry->slopeAsked);
  }
  // The outermost scope's end empties the table.
  EXPECT_FALSE(PitchRadiusTableOpen());
  EXPECT_EQ(FindTabledRadius(angles[30]), nullptr);
  // A failing radius is not kept: its messages come every time.
  FormulaPieces[2].Formula = "50+ABC";
  const PitchRadiusTableScope table;
  for (int run = 0; run < 2; ++run) {
    common::ClearErrorMessages();
    EXPECT_EQ(PitchRadius(4), 0);
    ASSERT_EQ(common::MsgCount, 1) << run;
    EXPECT_EQ(common::MsgText[1], "Error  : formula: 50+ABC (Pos. 4)");
  }
  EXPECT_EQ(FindTabledRadius(4), nullptr);
}

}  // namespace
}  // namespace calc
