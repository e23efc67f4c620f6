// A rated spur pair for the strength tests (load_capacity_test.cpp,
// din_load_factors_test.cpp): mn 4, z 20/40, x 0, alpha 20 deg, beta 0,
// a 120, b 20, P 10 kW at n1 1000 1/min, case-hardened steel, grade 6.
// The geometry is filled by hand from the closed formulas of a standard
// pair, so the strength tests do not depend on the geometry steps.
#pragma once

#include <cmath>

#include "calc/spur_gear_data.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/message_list.h"

namespace calc::test {

inline void SetStandardPair(int method) {
  common::SetKaldvarDefaults();
  common::SetWkaldvarDefaults();
  common::ClearErrorMessages();
  SpurGearData = TSpurGearData{};
  TSpurGearData& g = SpurGearData;
  const Real pi = common::Pi;
  const Real mn = 4;
  const Real alpha = 20 * pi / 180;
  g.CalcMethod = static_cast<std::uint16_t>(method);
  g.NormalModule = mn;
  g.ToothNumbers[1] = 20;
  g.ToothNumbers[2] = 40;
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
    g.ZL = g.ZV = g.ZR = g.ZW = 1;
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

inline bool HasMessage(const std::string& text) {
  for (int i = 1; i <= common::MsgCount; ++i) {
    if (common::MsgText[i] == text) return true;
  }
  return false;
}

}  // namespace calc::test
