// The spur pairs the calc tests start from, written once, and the message
// lookup they all use:
// - ResetGlobals: process flags at their defaults, no messages, an empty
//   gear record;
// - SetTextbookPair and the fixture TextbookPairTest: the entered data of
//   the textbook pair mn 4, z 20/40, alpha 20 degrees, plain tool, no
//   allowances, for the geometry steps (basic_geometry.h, tool_profile.h,
//   contact_geometry.h, spur_pair_driver.h);
// - SetStandardPair: the same pair rated at 10 kW, n1 1000 1/min, with its
//   geometry filled by hand from the closed formulas, so the strength tests
//   (load_capacity.h, din_load_factors.h) do not depend on the geometry steps;
// - SetStartPair: the program's start values (calc_records.h,
//   spur_gear_data.h) loaded with 10 kW at n1 1000 1/min, for the whole
//   calculation (spur_pair_driver.h, noncircular_pair.h).
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "calc/basic_geometry.h"
#include "calc/calc_records.h"
#include "calc/polynomial_fit.h"
#include "common/equation_matrix.h"
#include "calc/spur_gear_data.h"
#include "calc/tool_profile.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/message_list.h"

namespace calc_test {

inline void ResetGlobals() {
  common::SetKaldvarDefaults();
  common::SetWkaldvarDefaults();
  common::ClearErrorMessages();
  calc::SpurGearData = calc::TSpurGearData{};
}

// True when the message list holds exactly this text.
inline bool HasMessage(const std::string& text) {
  for (int k = 1; k <= common::MsgCount; ++k) {
    if (common::MsgText[k] == text) return true;
  }
  return false;
}

// The message list, one text a line, for a failed expectation.
inline std::string MessageLines() {
  std::string lines;
  for (int k = 1; k <= common::MsgCount; ++k) lines += common::MsgText[k] + "\n";
  return lines;
}

// The textbook pair's module and tooth numbers: mn 4, z 20/40.
inline void SetTextbookTeeth(calc::TSpurGearData& g) {
  g.NormalModule = 4;
  g.ToothNumbers[1] = 20;
  g.ToothNumbers[2] = 40;
}

// Entered data only: tip from tip shortening 0, tolerance series 11, centre
// distance field 9, no tooth-thickness, centre-distance or machining
// allowances.
inline void SetTextbookPair(calc::TSpurGearData& g, long double x1 = 0, long double x2 = 0) {
  SetTextbookTeeth(g);
  g.PressureAngle = 20;
  g.HelixAngle = 0;
  g.ProfileShift[1] = x1;
  g.ProfileShift[2] = x2;
  g.CentreDistance = 120;
  g.FaceWidth = 20;
  g.GearFaceWidth.fill(0);
  for (int i = 1; i <= 2; ++i) {
    g.ToolKindCode[i] = 1;
    g.alphaP0[i] = 0;
    g.GeometryMode[i] = 2;
    g.TipReduction[i] = 0;
    g.AllowanceSeries[i] = 11;
    g.ToleranceSeries[i] = 11;
    g.AsnUpper[i] = 0;
    g.AsnLower[i] = 0;
    g.MachiningAllowance[i] = 0;
    g.MachiningAllowanceTol[i] = 0;
  }
  g.CentreDistanceField = 9;
  g.Aae = 0;
  g.Aai = 0;
}

// Each test starts from clean globals and the textbook pair without shift.
class TextbookPairTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGlobals();
    SetTextbookPair(g);
  }
  // The geometry steps 1 to 3: input check, centre distance, tool profile.
  static void RunThroughToolProfile() {
    calc::CheckSpurInput();
    calc::CorrectCentreDistance();
    calc::CalcToolProfile();
  }
  calc::TSpurGearData& g = calc::SpurGearData;
};

// mn 4, z 20/40, x 0, alpha 20 deg, beta 0, a 120, b 20, P 10 kW at n1
// 1000 1/min, case-hardened steel, grade 6, rated under the given method;
// under method 3 (entered factors) every factor is 1.
inline void SetStandardPair(int method) {
  ResetGlobals();
  calc::TSpurGearData& g = calc::SpurGearData;
  const Real pi = common::Pi;
  const Real mn = 4;
  const Real alpha = 20 * pi / 180;
  g.CalcMethod = static_cast<std::uint16_t>(method);
  SetTextbookTeeth(g);
  g.ProfileShift.fill(0);
  g.CentreDistance = 120;
  g.PressureAngle = 20;
  g.HelixAngle = 0;
  g.FaceWidth = 20;
  g.GearFaceWidth.fill(20);
  g.alphanRad = alpha;
  g.alphatRad = alpha;
  g.alphaWt = alpha;
  g.betaRad = 0;
  g.betab = 0;
  g.betaW = 0;
  g.u = 2;
  for (int i = 1; i <= 2; ++i) {
    const Real z = g.ToothNumbers[i];
    g.d[i] = z * mn;
    g.dw[i] = g.d[i];
    g.db[i] = g.d[i] * std::cos(alpha);
    g.TipDiameter[i] = g.d[i] + 2 * mn;
    g.TipDiameterTheoretical[i] = g.TipDiameter[i];
    g.dNa[i] = g.TipDiameter[i];
    g.df[i] = g.d[i] - 2 * 1.25L * mn;
    g.dMid[i] = (g.TipDiameter[i] + g.df[i]) / 2;
    g.zn[i] = z;
    g.hfP[i] = 1.25L * mn;
    g.haP[i] = mn;
    g.rhoaP0[i] = 0.38L * mn;
    g.rhoaP0Factor[i] = 0.38L;
    g.hfP0Factor[i] = 1.0L;
    g.haP0Factor[i] = 1.25L;
    g.prP0[i] = 0;
    g.prP0Factor[i] = 0;
    g.alphaPrP0[i] = 0;
    g.alphaP0[i] = 20;
    g.h[i] = 2.25L * mn;
    g.xEa[i] = g.xEb[i] = g.xEmin[i] = g.xEmax[i] = 0;
    g.AccuracyGrade[i] = 6;
    g.fpb[i] = 9;
    g.ffalpha[i] = 8;
    g.fHbeta[i] = 8;
  }
  g.fHbeta5 = 6;
  const Real path = std::sqrt(44 * 44 - g.db[1] * g.db[1] / 4) +
                    std::sqrt(84 * 84 - g.db[2] * g.db[2] / 4) - 120 * std::sin(alpha);
  g.epsAlpha = path / (pi * mn * std::cos(alpha));
  g.epsBeta = 0;
  g.epsGamma = g.epsAlpha;
  g.n[1] = 1000;
  g.P = 10;
  g.T.fill(0);
  if (method == 3) {
    g.ZH = g.Zeps = g.Zbeta = g.ZB = g.ZD = 1;
    g.KV = g.KHalpha = g.KHbeta = g.KFalpha = g.KFbeta = 1;
    g.ZL = g.ZV = g.ZR = 1;
    g.ZW.fill(1);
    g.ZX.fill(1);
    g.YF.fill(1);
    g.YS.fill(1);
    g.YSg.fill(1);
    g.YB.fill(1);
    g.Ybeta = g.YDT = 1;
    g.YdrelT.fill(1);
    g.YRrelT.fill(1);
    g.YX.fill(1);
    g.YM.fill(1);
  }
}

// The start values of a new design (spur kernel, then the noncircular
// overrides), P 10 kW at n1 1000 1/min, rated under the given method.
inline void SetStartPair(std::uint16_t method) {
  common::SetKaldvarDefaults();
  common::ClearErrorMessages();
  calc::InitGearData();
  calc::SetSpurGearDefaults();
  calc::SetNoncircularDefaults();
  calc::TSpurGearData& g = calc::SpurGearData;
  g.P = 10;
  g.n[1] = 1000;
  g.CalcMethod = method;
}

// The entered factors of a plain spur pair, for method 3 ("Input K,Y,Z").
inline void SetEnteredFactors(calc::TSpurGearData& g) {
  g.ZH = 2.5L, g.Zeps = 0.9L, g.Zbeta = 1, g.ZB = 1, g.ZD = 1, g.ZL = 1, g.ZV = 1, g.ZR = 1;
  g.ZW.fill(1), g.KV = 1.1L, g.KHalpha = 1, g.KHbeta = 1.2L, g.KFalpha = 1, g.KFbeta = 1.15L;
  g.Ybeta = 1, g.YDT = 1;
  for (int i = 1; i <= 2; ++i) {
    g.ZX[i] = 1, g.YF[i] = 2.6L, g.YS[i] = 1.7L, g.YSg[i] = 1.7L, g.YB[i] = 1;
    g.YdrelT[i] = 1, g.YRrelT[i] = 1, g.YX[i] = 1, g.YM[i] = 1;
  }
}

// A pitch curve of each family (1..9) with modest variation of the radius,
// as the calculation tests and the printout tests rate them.
inline void SetCurveFamily(int family) {
  using namespace calc;
  using common::Pi;
  switch (family) {
    case 1:  // two formula pieces meeting at 180 degrees
      CurveType = CurveFormula;
      PieceCount = 2;
      FormulaPieces[1] = {180, "50+6*SIN(X)"};
      FormulaPieces[2] = {360, "50+3*SIN(X)+2*SQR(SIN(X))"};
      break;
    case 2: CurveType = CurveEllipse; EllipseCurve = {60, 50}; break;
    case 3: CurveType = CurveSine; SineCurve = {50, 4, 3}; break;
    case 4: CurveType = CurveSineLinear; SineLinearCurve = TSineLinearCurve{}; break;
    case 5: CurveType = CurvePolygon; PolygonCurve = {8, 0, 100}; break;
    case 6:  // r = 50 + 1.5 phi (2 pi - phi), closed with equal ends
      CurveType = CurvePolynomial;
      PointCount = 3;
      common::EquationMatrix.rhs[1] = 50;
      common::EquationMatrix.rhs[2] = 3 * Pi;
      common::EquationMatrix.rhs[3] = -1.5L;
      break;
    case 7: {
      CurveType = CurvePointFit;
      const Real r[] = {50, 56, 52, 44, 50};
      PointCount = 5;
      for (int i = 1; i <= 5; ++i) FitPoints[i] = {(i - 1) * Pi / 2, r[i - 1]};
      ASSERT_TRUE(FitPolynomialToPoints());
      break;
    }
    case 8: CurveType = CurveEccentric; EccentricCurve = {100, 8}; break;
    case 9:
      CurveType = CurvePolyline;
      PolylineCount = 13;
      for (int i = 1; i <= 13; ++i)
        PolylinePoints[i] = {(i - 1) * Pi / 6, 50 + 4 * std::cos((i - 1) * Pi / 3)};
      break;
  }
}

}  // namespace calc_test
