// The whole noncircular calculation (noncircular_pair.h) over a grid of
// designs: every pitch-curve family, every strength method, both module
// modes, one to three turns, and a few harsh but valid inputs. Each run
// must leave only finite results, ordered extremes and repeatable values;
// a circle must rate exactly as the plain spur pair it is (spur_pair_driver.h).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "calc/basic_geometry.h"
#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "calc/polynomial_fit.h"
#include "calc/spur_gear_data.h"
#include "calc/spur_pair_driver.h"
#include "calc/tool_profile.h"
#include "common/equation_matrix.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "spur_test_pairs.h"

using namespace calc;

namespace {

const Real Pi = common::Pi;

// Every result a run leaves, by name, and the messages.
struct Snapshot {
  std::vector<std::pair<std::string, Real>> values;
  std::vector<std::string> messages;
  int fatal = 0;
};

void AddGear(Snapshot& s, const char* name, const GearArray<Real>& v) {
  for (int i = 1; i <= 2; ++i) s.values.emplace_back(name + std::to_string(i), v[i]);
}

void AddMessages(Snapshot& s) {
  for (int i = 1; i <= common::MsgCount; ++i) s.messages.push_back(common::MsgText[i]);
  s.fatal = common::FatalFlag;
}

// The spur data set's results of one position.
void AddSpurResults(Snapshot& s) {
  const TSpurGearData& g = SpurGearData;
  for (auto [name, v] : {std::pair{"SafetySF", &g.SafetySF}, {"SafetySH", &g.SafetySH},
                         {"SigmaH", &g.SigmaH}, {"SigmaHP", &g.SigmaHP}, {"SigmaF0", &g.SigmaF0},
                         {"SigmaF", &g.SigmaF}, {"SigmaFP", &g.SigmaFP}, {"YF", &g.YF},
                         {"YS", &g.YS}, {"ZX", &g.ZX}, {"YX", &g.YX}, {"d", &g.d}, {"dw", &g.dw},
                         {"db", &g.db}, {"df", &g.df}, {"da", &g.TipDiameter}, {"dNa", &g.dNa},
                         {"dNf", &g.dNf}, {"dFf", &g.dFf}, {"sn", &g.sn}, {"WkNominal", &g.WkNominal},
                         {"WkLower", &g.WkLower}, {"WkUpper", &g.WkUpper}, {"MdKNominal", &g.MdKNominal},
                         {"MdRNominal", &g.MdRNominal}, {"LifeH", &g.LifeH}, {"LifeF", &g.LifeF},
                         {"BodyMass", &g.BodyMass}})
    AddGear(s, name, *v);
  for (auto [name, v] :
       {std::pair{"mn", g.NormalModule}, {"a", g.CentreDistance}, {"KV", g.KV}, {"KHbeta", g.KHbeta},
        {"KHalpha", g.KHalpha}, {"KFbeta", g.KFbeta}, {"KFalpha", g.KFalpha}, {"ZH", g.ZH},
        {"ZE", g.ZE}, {"Zeps", g.Zeps}, {"SigmaHC", g.SigmaHC}, {"Ft", g.Ft}, {"v", g.v},
        {"epsAlpha", g.epsAlpha}, {"epsBeta", g.epsBeta}, {"epsGamma", g.epsGamma},
        {"epsAlphaUpperA", g.epsAlphaUpperA}, {"epsAlphaLowerA", g.epsAlphaLowerA},
        {"ResonanceRatio", g.ResonanceRatio}})
    s.values.emplace_back(name, v);
}

Snapshot TakeSweepResults() {
  Snapshot s;
  const TSafetyExtremes& e = SafetyExtremes;
  for (auto [name, v] : {std::pair{"SFmin", &e.SFmin}, {"SFmax", &e.SFmax}, {"SHmin", &e.SHmin},
                         {"SHmax", &e.SHmax}, {"PhiAtSFmin", &e.PhiAtSFmin},
                         {"PhiAtSHmin", &e.PhiAtSHmin}})
    AddGear(s, name, *v);
  const TRadiusExtremes& r = RadiusExtremes;
  for (auto [name, v] : {std::pair{"r1min", r.r1min}, {"r1max", r.r1max}, {"r2min", r.r2min},
                         {"r2max", r.r2max}, {"nc.a", NcPair.a}, {"U1", NcPair.U1},
                         {"rnom1", NcPair.rnom1}, {"rnom2", NcPair.rnom2}, {"imin", NcPair.imin},
                         {"imax", NcPair.imax}, {"z2", Real(NcPair.z2)}})
    s.values.emplace_back(name, v);
  AddSpurResults(s);
  AddMessages(s);
  return s;
}

void ExpectFinite(const Snapshot& s, const std::string& where) {
  for (const auto& [name, v] : s.values)
    EXPECT_TRUE(std::isfinite(v)) << where << ": " << name << " = " << v;
}

void ExpectSame(const Snapshot& a, const Snapshot& b, const std::string& where) {
  ASSERT_EQ(a.values.size(), b.values.size()) << where;
  for (std::size_t i = 0; i < a.values.size(); ++i)
    EXPECT_EQ(a.values[i].second, b.values[i].second) << where << ": " << a.values[i].first;
  EXPECT_EQ(a.messages, b.messages) << where;
  EXPECT_EQ(a.fatal, b.fatal) << where;
}

// One position computed alone; a fatal position's values are those of an
// earlier one and are left out.
Snapshot RatePosition(int degree) {
  CalcSubstituteSpurPair(degree * Pi / 180);
  Snapshot s;
  AddMessages(s);
  if (s.fatal == 0) AddSpurResults(s);
  return s;
}

class CalculationSweep : public ::testing::Test {
 protected:
  void SetUp() override { Reset(1); }
  static void Reset(std::uint16_t method) {
    calc_test::SetStartPair(method);
    TSpurGearData& g = SpurGearData;
    if (method == 3) calc_test::SetEnteredFactors(g);
  }

  // Runs the calculation twice on unchanged data, then rates every
  // position alone in both directions: a position must not depend on the
  // one computed before it, and the sweep must be what its positions give.
  static void CheckRun(const std::string& where) {
    const TSpurGearData entered = SpurGearData;
    CalcNoncircularPair();
    const Snapshot first = TakeSweepResults();
    // What the user entered stays as entered (0 still meaning "derive").
    const TSpurGearData& g = SpurGearData;
    auto inputs = [](const TSpurGearData& d) {
      return std::tie(d.FaceWidth, d.P, d.n, d.T, d.dsh, d.l1, d.s1, d.BodyInnerDiameter,
                      d.BoreDiameter, d.tgrg);
    };
    EXPECT_TRUE(inputs(g) == inputs(entered)) << where;
    CalcNoncircularPair();
    ExpectFinite(first, where);
    ExpectSame(first, TakeSweepResults(), where + ", second run");
    const bool swept = first.fatal == 0 || first.messages.back().find("Warning: fatal at") != std::string::npos;
    if (!swept) return;  // the pair could not be closed

    const TSafetyExtremes sweep = SafetyExtremes;
    std::vector<Snapshot> forward(361);
    TSafetyExtremes e{};  // from the positions alone, first angle of a minimum
    e.SFmin.fill(std::numeric_limits<Real>::max()), e.SHmin.fill(std::numeric_limits<Real>::max());
    int failed = 0, firstFailed = 0;
    for (int degree = 1; degree <= 360; ++degree) {
      forward[degree] = RatePosition(degree);
      if (forward[degree].fatal != 0) {
        if (failed++ == 0) firstFailed = degree;
        continue;
      }
      ExpectFinite(forward[degree], where + " at " + std::to_string(degree) + " deg");
      for (int i = 1; i <= 2; ++i) {
        const Real sf = SpurGearData.SafetySF[i], sh = SpurGearData.SafetySH[i];
        if (sf < e.SFmin[i]) e.SFmin[i] = sf, e.PhiAtSFmin[i] = degree * Pi / 180;
        if (sh < e.SHmin[i]) e.SHmin[i] = sh, e.PhiAtSHmin[i] = degree * Pi / 180;
        e.SFmax[i] = std::max(e.SFmax[i], sf);
        e.SHmax[i] = std::max(e.SHmax[i], sh);
      }
    }
    EXPECT_EQ(first.fatal != 0, failed == 360) << where;
    if (failed > 0 && failed < 360) {
      const std::string text = "Warning: fatal at " + std::to_string(failed) + " positions, first at " +
                               std::to_string(firstFailed) + "\xF8 !";
      EXPECT_NE(std::find(first.messages.begin(), first.messages.end(), text), first.messages.end())
          << where << ": " << text;
    }
    if (failed < 360) {
      for (auto m : {&TSafetyExtremes::SFmin, &TSafetyExtremes::SFmax, &TSafetyExtremes::SHmin,
                     &TSafetyExtremes::SHmax, &TSafetyExtremes::PhiAtSFmin, &TSafetyExtremes::PhiAtSHmin})
        EXPECT_EQ(sweep.*m, e.*m) << where;
      for (int i = 1; i <= 2; ++i) {
        EXPECT_LE(e.SFmin[i], e.SFmax[i]) << where << " gear " << i;
        EXPECT_LE(e.SHmin[i], e.SHmax[i]) << where << " gear " << i;
      }
      EXPECT_LE(RadiusExtremes.r1min, RadiusExtremes.r1max) << where;
      EXPECT_LE(RadiusExtremes.r2min, RadiusExtremes.r2max) << where;
      EXPECT_LE(NcPair.imin, NcPair.imax) << where;
    }
    for (int degree = 360; degree >= 1; --degree)
      ExpectSame(forward[degree], RatePosition(degree), where + " backwards at " + std::to_string(degree));
  }
};

TEST_F(CalculationSweep, EveryFamilyMethodModuleModeAndTurns) {
  for (int family = 1; family <= 9; ++family) {
    for (std::uint16_t method = 1; method <= 4; ++method) {
      // Module mode and turns vary with family and method, so that each
      // family meets both modes and every k.
      Reset(method);
      calc_test::SetCurveFamily(family);
      NcPair.ModuleMode = 1 + (family + method) % 2;
      NcPair.k = 1 + (family / 2 + method) % 3;
      CheckRun("family " + std::to_string(family) + " method " + std::to_string(method) +
               " mode " + std::to_string(NcPair.ModuleMode) + " k " + std::to_string(NcPair.k));
    }
  }
}

TEST_F(CalculationSweep, HarshButValidInputs) {
  const std::vector<std::pair<std::string, std::function<void()>>> cases = {
      {"z1 6", [] { NcPair.z1 = 6; }},
      {"z1 6 constant module k 3", [] { NcPair.z1 = 6, NcPair.ModuleMode = 2, NcPair.k = 3; }},
      {"z1 400", [] { NcPair.z1 = 400; }},
      {"face width 1000", [] { SpurGearData.FaceWidth = 1000; }},
      {"helix angle 0", [] { SpurGearData.HelixAngle = 0; }},
      {"light load 1 W", [] { SpurGearData.P = 0.001L; }},
      {"helix angle 30 entered", [] { SpurGearData.HelixAngle = 30; }},
      {"triangle", [] { calc_test::SetCurveFamily(5), PolygonCurve.Corners = 3; }},
      {"eccentric near the rim", [] { calc_test::SetCurveFamily(8), EccentricCurve.E = 45; }},
      {"sine k 3 large amplitude", [] { calc_test::SetCurveFamily(3), SineCurve.A = 20, NcPair.k = 3; }},
      {"staircase polyline", [] { calc_test::SetCurveFamily(9), LinearInterpolation = 0; }},
  };
  std::uint16_t method = 1;
  for (const auto& [name, apply] : cases) {
    method = method % 4 + 1;
    Reset(method);
    apply();
    CheckRun(name + " method " + std::to_string(method));
  }
  // A gear 1 without teeth gives no module: every position stops with the
  // kernel's message instead of leaving an infinite module behind.
  for (std::uint16_t mode : {1, 2}) {
    Reset(1);
    NcPair.z1 = 0;
    NcPair.ModuleMode = mode;
    CheckRun("z1 0 mode " + std::to_string(mode));
    CalcNoncircularPair();
    EXPECT_EQ(common::FatalFlag, 1);
    ASSERT_EQ(common::MsgCount, 2);
    EXPECT_EQ(common::MsgText[1], "Warning: fatal at 360 positions, first at 1\xF8 !");
    EXPECT_EQ(common::MsgText[2], "Fatal  : z1 < 2! first at 1\xF8");
  }
}

// A circle with one turn is a plain spur pair at every position: the sweep
// rates every position alike, and as the kernel rates that pair directly.
TEST_F(CalculationSweep, CircleRatesAsItsSpurPair) {
  for (std::uint16_t method = 1; method <= 4; ++method) {
    for (int variant = 1; variant <= 2; ++variant) {
      Reset(method);
      if (variant == 1) {
        CurveType = CurveFormula;
        PieceCount = 1;
        FormulaPieces[1] = {360, "50"};
      } else {
        EllipseCurve = {50, 50};
      }
      CalcNoncircularPair();
      ASSERT_EQ(common::FatalFlag, 0) << method;
      EXPECT_NEAR(NcPair.a, 100, 1e-4);
      const TSafetyExtremes e = SafetyExtremes;

      Reset(method);
      TSpurGearData& g = SpurGearData;
      for (int i = 1; i <= 2; ++i) {  // the plain rack tool of the sweep, no shift
        g.ToolKindCode[i] = 4, g.rhoaP0Factor[i] = 0.05L, g.alphaPrP0[i] = 0, g.prP0Factor[i] = 0;
        g.alphaP0[i] = g.PressureAngle, g.hfP0FactorUsed[i] = g.hfP0Factor[i];
        g.ToolAngleDiffers[i] = 0, g.GearFaceWidth[i] = g.FaceWidth, g.GeometryMode[i] = 2;
        g.ToothNumbers[i] = 30, g.ProfileShift[i] = 0;
      }
      g.HelixAngle = 0;
      g.NormalModule = Real(100) / 30;
      g.CentreDistance = 100;
      CheckSpurInput();
      CalcToolProfile();
      for (int i = 1; i <= 2; ++i) g.TipDiameter[i] = g.TipDiameterTheoretical[i];
      CalcSpurPair();
      ASSERT_EQ(common::FatalFlag, 0) << method;
      for (int i = 1; i <= 2; ++i) {
        const std::string where = "method " + std::to_string(method) + " variant " +
                                  std::to_string(variant) + " gear " + std::to_string(i);
        EXPECT_NEAR(e.SHmin[i], e.SHmax[i], 1e-12L * e.SHmax[i]) << where;
        EXPECT_NEAR(e.SFmin[i], e.SFmax[i], 1e-12L * e.SFmax[i]) << where;
        EXPECT_NEAR(e.SHmin[i], g.SafetySH[i], 1e-12L * g.SafetySH[i]) << where;
        EXPECT_NEAR(e.SFmin[i], g.SafetySF[i], 1e-12L * g.SafetySF[i]) << where;
      }
    }
  }
}

}  // namespace
