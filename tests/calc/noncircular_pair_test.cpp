// Tests of the noncircular pair calculation (noncircular_pair.h) on the
// default ellipse 60 x 50 with z1 30, and on formula curves made to fail in
// part of the turn.
#include "calc/noncircular_pair.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "calc/calc_records.h"
#include "calc/spur_gear_data.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/number_format.h"
#include "spur_test_pairs.h"

using namespace calc;

namespace {

using calc_test::HasMessage;

const Real Deg = common::Pi / 180;

class NoncircularPair : public ::testing::Test {
 protected:
  void SetUp() override { calc_test::SetStartPair(1); }
  static bool WholeDegree(Real phi) {
    const Real d = phi / Deg;
    return std::fabs(d - std::round(d)) < 1e-9L && d >= 1 && d <= 360;
  }
};

TEST_F(NoncircularPair, DefaultEllipseUnderDinAndIso) {
  for (const std::uint16_t method : {1, 2, 4}) {
    SetUp();
    SpurGearData.CalcMethod = method;
    CalcNoncircularPair();
    ASSERT_EQ(common::FatalFlag, 0) << "method " << method;
    const TSpurGearData& g = SpurGearData;
    // The spur data set holds the substitute pair of the last position,
    // 360 degrees, where the ellipse has its radius 60.
    EXPECT_NEAR(g.NormalModule, 4, 1e-12);
    EXPECT_EQ(g.ToothNumbers[1], 30);
    EXPECT_EQ(g.ToothNumbers[2], 25);
    EXPECT_NEAR(g.CentreDistance, 110, 1e-12);
    EXPECT_EQ(NcPair.z2, 30);
    EXPECT_NEAR(RadiusExtremes.r1min, 50, 1e-9);
    EXPECT_NEAR(RadiusExtremes.r1max, 60, 1e-9);
    const TSafetyExtremes& s = SafetyExtremes;
    for (int i = 1; i <= 2; ++i) {
      EXPECT_GT(s.SHmin[i], 0);
      EXPECT_LT(s.SHmin[i], 100);
      EXPECT_LE(s.SHmin[i], s.SHmax[i]);
      EXPECT_GT(s.SFmin[i], 0);
      EXPECT_LE(s.SFmin[i], s.SFmax[i]);
      EXPECT_TRUE(WholeDegree(s.PhiAtSHmin[i]));
      EXPECT_TRUE(WholeDegree(s.PhiAtSFmin[i]));
    }
    // The light load is said once, with the first position where it arose,
    // and with what each method takes at 100 N/mm. The bearing distance
    // left at 0 is taken as d1 by both, without a word (the printout shows
    // it).
    EXPECT_TRUE(HasMessage(method == 4 ? "Warning: KHbeta taken at 100 N/mm (Ft/b*KA < 100) ! first at 1\xF8"
                                       : "Warning: Ft/b*KA < 100 ! first at 1\xF8"))
        << calc_test::MessageLines();
    EXPECT_EQ(common::MsgCount, 1) << calc_test::MessageLines();
  }
}

TEST_F(NoncircularPair, MinimumIsThatOfItsPositionAndRunsRepeat) {
  SpurGearData.P = 400;  // loaded beyond the pitting limit
  CalcNoncircularPair();
  ASSERT_EQ(common::FatalFlag, 0);
  const TSafetyExtremes first = SafetyExtremes;
  ASSERT_LT(first.SHmin[1], 1);
  const std::string expected =
      "Warning: SH<1 (1) (" + common::FormatRealDigits(1, 2, first.SHmin[1]) + ") !";
  EXPECT_EQ(common::MsgText[1], expected);
  const int count = common::MsgCount;

  // A second run on the same data gives the same extremes and messages.
  CalcNoncircularPair();
  EXPECT_EQ(SafetyExtremes.SHmin[1], first.SHmin[1]);
  EXPECT_EQ(SafetyExtremes.PhiAtSHmin[1], first.PhiAtSHmin[1]);
  EXPECT_EQ(SafetyExtremes.SFmin[2], first.SFmin[2]);
  EXPECT_EQ(common::MsgCount, count);

  // The position of the minimum, computed alone, gives the minimum.
  CalcSubstituteSpurPair(first.PhiAtSHmin[1]);
  EXPECT_EQ(SpurGearData.SafetySH[1], first.SHmin[1]);
}

TEST_F(NoncircularPair, ModuleModes) {
  // Module following the radius: gear 1 keeps z1 teeth at every position.
  NcPair.k = 2;
  NcPair.z1 = 20;
  CalcNoncircularPair();
  ASSERT_EQ(common::FatalFlag, 0);
  EXPECT_EQ(NcPair.z2, 40);
  for (const int degree : {1, 45, 90, 200, 359}) {
    CalcSubstituteSpurPair(degree * Deg);
    EXPECT_EQ(SpurGearData.ToothNumbers[1], 20) << degree;
  }
  // Constant module U1 / (pi z1).
  SetUp();
  NcPair.ModuleMode = 2;
  CalcNoncircularPair();
  ASSERT_EQ(common::FatalFlag, 0);
  EXPECT_NEAR(SpurGearData.NormalModule, NcPair.U1 / common::Pi / 30, 1e-15);
  // U1 is the ellipse's perimeter (Ramanujan's second approximation, good
  // to 1e-10 here), so the 30 teeth fill it: 3.674, not 3.644.
  const double l = 10.0 / 110;
  const double perimeter = M_PI * 110 * (1 + 3 * l * l / (10 + std::sqrt(4 - 3 * l * l)));
  EXPECT_NEAR(SpurGearData.NormalModule, perimeter / M_PI / 30, 1e-6 * perimeter / M_PI / 30);
  EXPECT_EQ(common::FormatRealDigits(1, 3, SpurGearData.NormalModule), "3.674");
}

TEST_F(NoncircularPair, FormulaThatDoesNotEvaluateStopsTheRun) {
  CurveType = CurveFormula;
  PieceCount = 2;
  FormulaPieces[1] = {180, "50+4*SIN(X)"};
  FormulaPieces[2] = {360, "50+4*sin(x)+abc"};
  CalcNoncircularPair();
  EXPECT_EQ(common::FatalFlag, 1);
  ASSERT_EQ(common::MsgCount, 2);
  EXPECT_EQ(common::MsgText[1], "Error  : formula: 50+4*SIN(X)+ABC (Pos. 13)");
  EXPECT_EQ(common::MsgText[2], "Fatal  : rw1 <= 0 !");
}

TEST_F(NoncircularPair, SkippedSweepAndResonanceWarnings) {
  SkipPositionSweep = 1;
  // A resonance ratio left by an earlier spur calculation is no result of
  // this pair: without the sweep there is no resonance warning.
  SpurGearData.ResonanceRatio = 1.0L;
  SpurGearData.ResonanceRated = true;
  CalcNoncircularPair();
  EXPECT_EQ(common::FatalFlag, 0);
  EXPECT_GT(NcPair.a, 0);
  EXPECT_NEAR(RadiusExtremes.r2max, NcPair.a - 50, 1e-9);
  for (int i = 1; i <= 2; ++i) {
    EXPECT_EQ(SafetyExtremes.SHmin[i], 100);
    EXPECT_EQ(SafetyExtremes.SFmin[i], 100);
    EXPECT_EQ(SafetyExtremes.SHmax[i], 0);
    EXPECT_EQ(SafetyExtremes.SFmax[i], 0);
  }
  EXPECT_EQ(SafetyExtremes.ResonanceRatioMax, 0);
  EXPECT_EQ(common::MsgCount, 0);
}

// The resonance of the turn, from the positions one by one.
struct TurnResonance {
  Real maxRatio = 0;
  Real phiAtMax = 0;
  int main = 0;   // positions with NS < N <= 1.15
  int upper = 0;  // positions with 1.15 < N <= 1.5
  Real last = 0;  // N of the last position
};

TurnResonance RatePositionsOneByOne() {
  TurnResonance t;
  for (int degree = 1; degree <= 360; ++degree) {
    CalcSubstituteSpurPair(degree * Deg);
    EXPECT_EQ(common::FatalFlag, 0) << degree;
    const Real n = SpurGearData.ResonanceRatio;
    if (n > t.maxRatio) {
      t.maxRatio = n;
      t.phiAtMax = degree * Deg;
    }
    if (n > SpurGearData.NS && n <= 1.15L) ++t.main;
    if (n > 1.15L && n <= 1.5L) ++t.upper;
    t.last = n;
  }
  return t;
}

TEST_F(NoncircularPair, ResonanceAnywhereInTheTurnWarns) {
  for (const std::uint16_t method : {1, 4}) {
    SetUp();
    SpurGearData.CalcMethod = method;
    // The smallest radius of gear 1 lies at 0 = 360 degrees, where the
    // resonance ratio is lowest: the last position is the least critical.
    CurveType = CurveFormula;
    PieceCount = 1;
    FormulaPieces[1].EndAngle = 360;
    FormulaPieces[1].Formula = "50-15*COS(X)";
    SpurGearData.P = 20;
    CalcNoncircularPair();
    ASSERT_EQ(common::FatalFlag, 0);
    // Far below the resonance at 1000 1/min.
    EXPECT_FALSE(HasMessage("Warning: resonance (1)")) << calc_test::MessageLines();
    EXPECT_FALSE(HasMessage("Warning: upper resonance (1)")) << calc_test::MessageLines();
    const Real slowMax = SafetyExtremes.ResonanceRatioMax;
    ASSERT_GT(slowMax, 0);

    // The same torque at speeds that put the most critical position at
    // N = 1.0, 1.3 and 1.6 (the line load stays above 100 N/mm, NS = 0.85).
    struct Case {
      Real top;
      const char* warning;  // for gear 1; gear 2 the same
    };
    for (const Case c : {Case{1.0L, "Warning: resonance (1)"},
                         Case{1.3L, "Warning: resonance (1)"},
                         Case{1.6L, "Warning: upper resonance (1)"}}) {
      SpurGearData.n[1] = 1000 * c.top / slowMax;
      SpurGearData.P = 20 * SpurGearData.n[1] / 1000;
      CalcNoncircularPair();
      ASSERT_EQ(common::FatalFlag, 0);
      const TSafetyExtremes s = SafetyExtremes;
      std::string second = c.warning;
      second.replace(second.size() - 2, 1, "2");
      EXPECT_TRUE(HasMessage(c.warning)) << method << " " << c.top;
      EXPECT_TRUE(HasMessage(second)) << method << " " << c.top;
      // Only the main resonance is named when both ranges occur.
      const bool upperNamed = HasMessage("Warning: upper resonance (1)");
      EXPECT_EQ(upperNamed, std::string(c.warning).find("upper") != std::string::npos);

      const TurnResonance t = RatePositionsOneByOne();
      EXPECT_NEAR(s.ResonanceRatioMax, c.top, 1e-9L);
      EXPECT_EQ(s.ResonanceRatioMax, t.maxRatio);
      EXPECT_NEAR(s.PhiAtResonanceRatioMax, t.phiAtMax, 1e-15);
      if (c.top == 1.0L) {
        // Resonance only at inner positions; the last one alone would
        // warn about nothing.
        EXPECT_GT(t.main, 20);
        EXPECT_LE(t.last, 0.85L);
      }
      if (c.top == 1.3L) {
        EXPECT_GT(t.main, 0);
        EXPECT_GT(t.upper, 0);
      }
      if (c.top == 1.6L) {
        EXPECT_EQ(t.main, 0);
        EXPECT_GT(t.upper, 0);
      }
    }
  }
}

TEST_F(NoncircularPair, PointTeethAndUndercutOfAnyPositionWarnWithTheirFirstAngle) {
  // A focal ellipse with a long addendum: the small radii give point teeth
  // and undercut at some positions, not at others.
  CurveType = CurveFormula;
  PieceCount = 1;
  FormulaPieces[1] = {360, "40/(1-0.5*COS(X))"};
  NcPair.ModuleMode = 2;
  SpurGearData.hfP0Factor.fill(1.4L);
  CalcNoncircularPair();
  ASSERT_EQ(common::FatalFlag, 0);
  std::vector<std::string> swept;
  for (int k = 1; k <= common::MsgCount; ++k) swept.push_back(common::MsgText[k]);

  // Each position computed in full on its own, its own warnings read.
  const TSpurGearData start = SpurGearData;
  GearArray<int> pointed{}, undercut{};
  bool lastPointed = false;
  for (int degree = 1; degree <= 360; ++degree) {
    CalcSubstituteSpurPair(degree * Deg);
    if (common::FatalFlag) continue;
    for (int i = 1; i <= 2; ++i) {
      const std::string n = std::to_string(i);
      if (pointed[i] == 0 && HasMessage("Warning: point teeth ! (" + n + ")")) pointed[i] = degree;
      if (undercut[i] == 0 && HasMessage("Warning: undercut ! (" + n + ")")) undercut[i] = degree;
    }
    if (degree == 360) lastPointed = HasMessage("Warning: point teeth ! (1)");
  }
  SpurGearData = start;
  ASSERT_GT(pointed[1], 1);
  EXPECT_FALSE(lastPointed) << "the last position alone would not warn";
  auto has = [&](const std::string& text) { return std::find(swept.begin(), swept.end(), text) != swept.end(); };
  for (int i = 1; i <= 2; ++i) {
    const std::string n = std::to_string(i);
    if (pointed[i] > 0) {
      EXPECT_TRUE(has("Warning: point teeth ! (" + n + ") first at " + std::to_string(pointed[i]) + "\xF8")) << i;
    }
    if (undercut[i] > 0) {
      EXPECT_TRUE(has("Warning: undercut ! (" + n + ") first at " + std::to_string(undercut[i]) + "\xF8")) << i;
    }
  }
  int found = 0;
  for (const std::string& text : swept)
    found += text.find("point teeth") != std::string::npos || text.find("undercut") != std::string::npos;
  EXPECT_EQ(found, (pointed[1] > 0) + (pointed[2] > 0) + (undercut[1] > 0) + (undercut[2] > 0));

  // Undercut is not looked for while MsgQuiet is set; point teeth are.
  common::MsgQuiet = 1;
  CalcNoncircularPair();
  common::MsgQuiet = 0;
  EXPECT_TRUE(HasMessage("Warning: point teeth ! (1) first at " + std::to_string(pointed[1]) + "\xF8"));
  for (int k = 1; k <= common::MsgCount; ++k) EXPECT_EQ(common::MsgText[k].find("undercut"), std::string::npos);
}

TEST_F(NoncircularPair, FormulaCurveMustEndAt360) {
  CurveType = CurveFormula;
  PieceCount = 1;
  FormulaPieces[1] = {359, "50"};
  NcPair.a = 12345;
  CalcNoncircularPair();
  EXPECT_EQ(common::FatalFlag, 1);
  ASSERT_EQ(common::MsgCount, 1);
  EXPECT_EQ(common::MsgText[1], "Fatal  : phi n <> 360\xF8 !");
  EXPECT_EQ(NcPair.a, 12345);  // nothing computed

  SetUp();
  CurveType = CurveFormula;
  PieceCount = 0;
  CalcNoncircularPair();
  EXPECT_EQ(common::FatalFlag, 1);
  EXPECT_TRUE(HasMessage("Fatal  : phi n <> 360\xF8 !"));
}

TEST_F(NoncircularPair, FailedPositionsStayOutOfTheExtremes) {
  // A radius of 4 up to 36.5 degrees and 50 beyond, with a constant module:
  // the substitute pinion has a single tooth at the first 36 positions.
  CurveType = CurveFormula;
  PieceCount = 2;
  FormulaPieces[1] = {36.5L, "4"};
  FormulaPieces[2] = {360, "50"};
  NcPair.z1 = 8;
  NcPair.ModuleMode = 2;
  CalcNoncircularPair();
  EXPECT_EQ(common::FatalFlag, 0);
  EXPECT_TRUE(HasMessage("Warning: fatal at 36 positions, first at 1\xF8 !"));
  for (int i = 1; i <= 2; ++i) {
    EXPECT_GT(SafetyExtremes.SHmin[i], 0);
    EXPECT_GE(SafetyExtremes.PhiAtSHmin[i], 37 * Deg - 1e-12L);
  }

  // A circle of radius 50 whose formula gives no radius at exactly 360
  // degrees: the centre-distance samples (0 .. 359.9 degrees) close the
  // pair, the sweep reaches the last position and only that one fails.
  SetUp();
  CurveType = CurveFormula;
  PieceCount = 2;
  FormulaPieces[1] = {359.95L, "50"};
  FormulaPieces[2] = {360, "0"};
  CalcNoncircularPair();
  EXPECT_EQ(common::FatalFlag, 0);
  // The remark is followed by what made the position fail.
  ASSERT_GE(common::MsgCount, 2) << calc_test::MessageLines();
  EXPECT_EQ(common::MsgText[1], "Warning: fatal at 1 positions, first at 360\xF8 !");
  EXPECT_EQ(common::MsgText[2], "Fatal  : rw1 <= 0 ! first at 360\xF8");
  EXPECT_LT(SafetyExtremes.SHmin[1], 100);

  // Without any face width every position fails: the run is fatal, says
  // that all failed and why.
  SetUp();
  SpurGearData.FaceWidth = 0;
  CalcNoncircularPair();
  EXPECT_EQ(common::FatalFlag, 1);
  EXPECT_EQ(common::MsgText[1], "Warning: fatal at 360 positions, first at 1\xF8 !");
  EXPECT_EQ(common::MsgText[2], "Fatal  : b <= 0! first at 1\xF8");
  EXPECT_EQ(SafetyExtremes.SHmin[1], 100);
}

// Inputs beyond any real pair stop the run with their own message instead
// of safeties of 0 or radii of 1E308; a negative tooth number is named as
// the tooth number, not as the module derived from it.
TEST_F(NoncircularPair, ImpossibleInputsAreFatalAndNamed) {
  SetUp();
  NcPair.z1 = -30;
  CalcNoncircularPair();
  EXPECT_EQ(common::FatalFlag, 1);
  EXPECT_TRUE(HasMessage("Fatal  : z1 < 0 ! first at 1\xF8"));
  EXPECT_FALSE(HasMessage("Fatal  : mn <= 0! first at 1\xF8"));

  SetUp();
  NcPair.z1 = 20000;
  CalcNoncircularPair();
  EXPECT_EQ(common::FatalFlag, 1);
  EXPECT_TRUE(HasMessage("Fatal  : z1 > 10000 ! first at 1\xF8"));

  SetUp();
  SpurGearData.FaceWidth = 1e308L;
  CalcNoncircularPair();
  EXPECT_EQ(common::FatalFlag, 1);
  EXPECT_TRUE(HasMessage("Fatal  : b > 10000 mm ! first at 1\xF8"));

  // A sine curve of radius 1e308: its module (2 r / z1) is out of reach
  // long before its radius.
  SetUp();
  CurveType = CurveSine;
  SineCurve = {};
  SineCurve.rw0 = 1e308L;
  SineCurve.A = 10;
  SineCurve.N = 1;
  CalcNoncircularPair();
  EXPECT_EQ(common::FatalFlag, 1);
  EXPECT_TRUE(HasMessage("Fatal  : mn > 100 mm ! first at 1\xF8"));
  // A radius of 150 m with a module of 60 mm: the radius is named.
  SetUp();
  CurveType = CurveSine;
  SineCurve.rw0 = 150000;
  SineCurve.A = 10;
  SineCurve.N = 1;
  NcPair.z1 = 5000;
  CalcNoncircularPair();
  EXPECT_EQ(common::FatalFlag, 1);
  EXPECT_TRUE(HasMessage("Fatal  : rw1 > 100000 mm ! first at 1\xF8")) << common::MsgText[1];
}

}  // namespace
