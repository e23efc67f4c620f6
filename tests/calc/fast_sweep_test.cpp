// The sweep of the noncircular calculation rates positions 1 to 359 without
// the work that only a printout or a picture reads (noncircular_pair.h,
// FullPositionSweep). For every curve family, both strength methods, both
// module modes and one to three turns, the fast sweep must leave what the
// sweep of complete positions leaves, bit for bit: every field of every
// position, the extremes with their angles, the failed positions, the
// messages and the data set of the last position.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "calc/spur_gear_data.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "spur_test_pairs.h"

using namespace calc;

namespace {

struct SweepResult {
  TSpurGearData data;
  TSafetyExtremes extremes;
  TRadiusExtremes radii;
  TNcPair pair;
  std::vector<std::string> messages;
  int fatal = 0;
};

SweepResult Sweep(bool full) {
  FullPositionSweep = full ? 1 : 0;
  CalcNoncircularPair();
  FullPositionSweep = 0;
  SweepResult r{SpurGearData, SafetyExtremes, RadiusExtremes, NcPair, {}, common::FatalFlag};
  for (int i = 1; i <= common::MsgCount; ++i) r.messages.push_back(common::MsgText[i]);
  return r;
}

void ExpectSameGears(const GearArray<Real>& a, const GearArray<Real>& b, const char* name,
                     const std::string& where) {
  for (int i = 1; i <= 2; ++i) EXPECT_EQ(a[i], b[i]) << where << ": " << name << i;
}

// Equal data sets, group by group, so that a failure says where to look.
void ExpectSameData(const TSpurGearData& a, const TSpurGearData& b, const std::string& where) {
  EXPECT_TRUE(static_cast<const SpurCoreFields&>(a) == static_cast<const SpurCoreFields&>(b)) << where << ": core fields";
  EXPECT_TRUE(static_cast<const SpurGeometryFields&>(a) == static_cast<const SpurGeometryFields&>(b)) << where << ": geometry fields";
  EXPECT_TRUE(static_cast<const SpurToleranceFields&>(a) == static_cast<const SpurToleranceFields&>(b)) << where << ": tolerance fields";
  EXPECT_TRUE(static_cast<const SpurStrengthFields&>(a) == static_cast<const SpurStrengthFields&>(b)) << where << ": strength fields";
  EXPECT_TRUE(static_cast<const SpurIsoFields&>(a) == static_cast<const SpurIsoFields&>(b)) << where << ": ISO fields";
  // The values that the ratings are made of, named.
  ExpectSameGears(a.SafetySH, b.SafetySH, "SafetySH", where);
  ExpectSameGears(a.SafetySF, b.SafetySF, "SafetySF", where);
  ExpectSameGears(a.SigmaH, b.SigmaH, "SigmaH", where);
  ExpectSameGears(a.SigmaF, b.SigmaF, "SigmaF", where);
  EXPECT_EQ(a.KV, b.KV) << where;
  EXPECT_EQ(a.KHbeta, b.KHbeta) << where;
}

// The fast data set of a position with what it leaves out taken from the
// complete one: measurements, picture values, series names, the
// profile-shift sum of the corrected centre distance, the backlash, the
// root form diameters, the flank tolerances, the geometry and contact at
// the centre-distance limits that the load capacity does not read, the tip
// thicknesses, tooth angles and partial contact ratios of the geometry
// printout, and the service lives and gear-body masses of the strength
// printout.
TSpurGearData WithPrintoutValuesOf(TSpurGearData fast, const TSpurGearData& full) {
  TSpurGearData& f = fast;
  f.alphaat = full.alphaat, f.sat = full.sat, f.satUpper = full.satUpper;
  f.satLower = full.satLower, f.san = full.san, f.sanUpper = full.sanUpper;
  f.sanLower = full.sanLower, f.RefLength = full.RefLength;
  f.ToothAngleAtDw = full.ToothAngleAtDw, f.epsPartial = full.epsPartial, f.dNf = full.dNf;
  f.cMin = full.cMin, f.cMax = full.cMax, f.gAEnd = full.gAEnd, f.gAStart = full.gAStart;
  f.LifeH = full.LifeH, f.LifeH2 = full.LifeH2, f.LifeF = full.LifeF;
  f.CyclesH = full.CyclesH, f.CyclesH2 = full.CyclesH2, f.CyclesF = full.CyclesF;
  f.BodyMass = full.BodyMass, f.BodyInertia = full.BodyInertia;
  f.SpanToothCount = full.SpanToothCount, f.BallDiameter = full.BallDiameter;
  f.WkPreLower = full.WkPreLower, f.WkPreUpper = full.WkPreUpper, f.WkNominal = full.WkNominal;
  f.WkLower = full.WkLower, f.WkUpper = full.WkUpper;
  f.MdKPreLower = full.MdKPreLower, f.MdKPreUpper = full.MdKPreUpper;
  f.MdKNominal = full.MdKNominal, f.MdKLower = full.MdKLower, f.MdKUpper = full.MdKUpper;
  f.MdRPreLower = full.MdRPreLower, f.MdRPreUpper = full.MdRPreUpper;
  f.MdRNominal = full.MdRNominal, f.MdRLower = full.MdRLower, f.MdRUpper = full.MdRUpper;
  f.DrawSetting = full.DrawSetting, f.DrawToothAngle = full.DrawToothAngle;
  f.xEmean = full.xEmean, f.xPreMean = full.xPreMean, f.aDraw = full.aDraw;
  f.snMean = full.snMean, f.dfMean = full.dfMean, f.daMean = full.daMean, f.dwDraw = full.dwDraw;
  f.DrawStartAngle = full.DrawStartAngle, f.DrawContactStartAngle = full.DrawContactStartAngle;
  f.DrawContactEndAngle = full.DrawContactEndAngle;
  f.ToothThicknessSeriesName = full.ToothThicknessSeriesName;
  f.CentreDistanceFieldName = full.CentreDistanceFieldName;
  f.xSumForA = full.xSumForA;
  f.fHalpha = full.fHalpha, f.Falpha = full.Falpha, f.fu = full.fu, f.Fp = full.Fp;
  f.FpSector = full.FpSector, f.FrRunout = full.FrRunout, f.Rs = full.Rs, f.Fbeta = full.Fbeta;
  f.ffbeta = full.ffbeta, f.FiTotal = full.FiTotal, f.fiTooth = full.fiTooth;
  f.FisTotal = full.FisTotal, f.fisTooth = full.fisTooth;
  f.galphaUpperA = full.galphaUpperA, f.galphaLowerA = full.galphaLowerA;
  f.gAEndUpperA = full.gAEndUpperA, f.gAStartUpperA = full.gAStartUpperA;
  f.gAEndLowerA = full.gAEndLowerA, f.gAStartLowerA = full.gAStartLowerA;
  f.epsAlphaUpperA = full.epsAlphaUpperA, f.epsAlphaLowerA = full.epsAlphaLowerA;
  f.epsGammaUpperA = full.epsGammaUpperA, f.epsGammaLowerA = full.epsGammaLowerA;
  f.SpecificSlidingLimits = full.SpecificSlidingLimits;
  f.alphaWtAtLowerA = full.alphaWtAtLowerA, f.alphaWtAtUpperA = full.alphaWtAtUpperA;
  f.dwAtLowerA = full.dwAtLowerA, f.dwAtUpperA = full.dwAtUpperA;
  f.jtMin = full.jtMin, f.jtMax = full.jtMax, f.jnMin = full.jnMin, f.jnMax = full.jnMax;
  f.jrMin = full.jrMin, f.jrMax = full.jrMax;
  f.dFf = full.dFf, f.dFfUpper = full.dFfUpper, f.dFfLower = full.dFfLower;
  return fast;
}

// Runs both sweeps from the same start and compares them; then rates the
// positions one after another both ways from the same start and compares
// each position. Returns the number of failed positions before the last.
int CompareSweeps(const std::string& where) {
  const TSpurGearData start = SpurGearData;
  const SweepResult full = Sweep(true);
  SpurGearData = start;
  const SweepResult fast = Sweep(false);

  EXPECT_EQ(fast.fatal, full.fatal) << where;
  EXPECT_EQ(fast.messages, full.messages) << where;
  for (auto m : {&TSafetyExtremes::SFmin, &TSafetyExtremes::SFmax, &TSafetyExtremes::SHmin,
                 &TSafetyExtremes::SHmax, &TSafetyExtremes::PhiAtSFmin, &TSafetyExtremes::PhiAtSHmin})
    ExpectSameGears(fast.extremes.*m, full.extremes.*m, "extreme", where);
  EXPECT_EQ(fast.extremes.ResonanceRatioMax, full.extremes.ResonanceRatioMax) << where;
  EXPECT_EQ(fast.extremes.PhiAtResonanceRatioMax, full.extremes.PhiAtResonanceRatioMax) << where;
  EXPECT_EQ(fast.radii.r1min, full.radii.r1min) << where;
  EXPECT_EQ(fast.radii.r2max, full.radii.r2max) << where;
  EXPECT_EQ(fast.pair.a, full.pair.a) << where;
  EXPECT_EQ(fast.pair.U1, full.pair.U1) << where;
  ExpectSameData(fast.data, full.data, where + ", last position");
  if (full.fatal != 0 && full.messages.back().find("Warning: fatal at") == std::string::npos)
    return 359;  // the pair could not be closed: no positions to rate

  std::vector<TSpurGearData> complete(360);
  std::vector<int> completeFatal(360);
  SpurGearData = start;
  for (int degree = 1; degree < 360; ++degree) {
    CalcSubstituteSpurPair(degree * common::Pi / 180);
    complete[degree] = SpurGearData;
    completeFatal[degree] = common::FatalFlag;
  }
  SpurGearData = start;
  int failed = 0;
  for (int degree = 1; degree < 360; ++degree) {
    RateSubstituteSpurPair(degree * common::Pi / 180);
    const std::string at = where + " at " + std::to_string(degree) + " deg";
    EXPECT_EQ(common::FatalFlag, completeFatal[degree]) << at;
    if (common::FatalFlag != completeFatal[degree]) break;
    if (common::FatalFlag != 0) {
      ++failed;
      continue;  // a failed position's values are those its steps left over earlier ones
    }
    ExpectSameData(WithPrintoutValuesOf(SpurGearData, complete[degree]), complete[degree], at);
    if (::testing::Test::HasFailure()) break;  // one position's report is enough
  }
  return failed;
}

class FastSweep : public ::testing::Test {
 protected:
  void TearDown() override { FullPositionSweep = 0; }
};

TEST_F(FastSweep, EqualsTheSweepOfCompletePositions) {
  for (int family = 1; family <= 9; ++family) {
    for (const std::uint16_t method : {1, 4}) {
      for (const std::uint16_t mode : {1, 2}) {
        for (int k = 1; k <= 3; ++k) {
          calc_test::SetStartPair(method);
          calc_test::SetCurveFamily(family);
          NcPair.ModuleMode = mode;
          NcPair.k = k;
          const std::string where = "family " + std::to_string(family) + " method " +
                                    std::to_string(method) + " mode " + std::to_string(mode) +
                                    " k " + std::to_string(k);
          EXPECT_LT(CompareSweeps(where), 359) << where << ": the grid should rate positions";
          if (HasFailure()) return;
        }
      }
    }
  }
}

// Designs in which positions fail, the last one included, and inputs that
// the steps fill in or keep from position to position.
TEST_F(FastSweep, FailedPositionsAndKeptInputs) {
  struct Case {
    const char* name;
    void (*apply)();
  };
  const Case cases[] = {
      {"first positions fail", [] {
         CurveType = CurveFormula, PieceCount = 2, NcPair.z1 = 8, NcPair.ModuleMode = 2;
         FormulaPieces[1] = {36.5L, "4"}, FormulaPieces[2] = {360, "50"};
       }},
      {"last position fails", [] {
         CurveType = CurveFormula, PieceCount = 2;
         FormulaPieces[1] = {359.95L, "50"}, FormulaPieces[2] = {360, "0"};
       }},
      {"last positions fail", [] {
         CurveType = CurveFormula, PieceCount = 2, NcPair.z1 = 8, NcPair.ModuleMode = 2;
         FormulaPieces[1] = {300.5L, "50"}, FormulaPieces[2] = {360, "4"};
       }},
      {"every position fails", [] { SpurGearData.FaceWidth = 0; }},
      {"entered ball diameters", [] {
         SpurGearData.AutoBallDiameter = 0;
         SpurGearData.SpanToothCount.fill(0);
         SpurGearData.BallDiameter.fill(7);
       }},
      {"tolerance series 0", [] { SpurGearData.ToleranceSeries.fill(0); }},
      {"own allowances", [] {
         SpurGearData.ToleranceSeries.fill(11);
         SpurGearData.AsnUpper.fill(-0.05L), SpurGearData.AsnLower.fill(-0.12L);
       }},
      {"machining allowance", [] {
         SpurGearData.MachiningAllowance.fill(0.1L), SpurGearData.MachiningAllowanceTol.fill(0.02L);
       }},
      {"roughness and density derived", [] {
         SpurGearData.RzFlank.fill(0), SpurGearData.RzRoot.fill(0), SpurGearData.rho.fill(0);
       }},
      {"ISO tolerances", [] { SpurGearData.ToleranceStandard = 1; }},
      {"polyline staircase", [] { calc_test::SetCurveFamily(9), LinearInterpolation = 0; }},
      {"point teeth and undercut at some positions", [] {
         CurveType = CurveFormula, PieceCount = 1, NcPair.ModuleMode = 2;
         FormulaPieces[1] = {360, "40/(1-0.5*COS(X))"};
         SpurGearData.hfP0Factor.fill(1.4L);
       }},
  };
  std::uint16_t method = 1;
  for (const Case& c : cases) {
    method = method % 4 + 1;
    calc_test::SetStartPair(method);
    c.apply();
    CompareSweeps(std::string(c.name) + " method " + std::to_string(method));
    if (HasFailure()) return;
  }
}

}  // namespace
