// The ISO 6336 factor set of the current spur pair (iso_factor_set.h): mesh
// stiffness, reduced mass and resonance, dynamic factor, face and transverse
// load factors, the flank factors of part 2 and the root factors of part 3,
// in the order in which each builds on the previous ones.
#include "calc/iso_factor_set.h"

#include <algorithm>
#include <cmath>

#include "calc/calc_records.h"
#include "calc/iso_factor_routines.h"
#include "calc/load_factor_rules.h"
#include "calc/lubricant_viscosity.h"
#include "calc/spur_gear_data.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/memo_math.h"
#include "common/message_list.h"
#include "common/numeric_routines.h"

namespace calc {

using common::MemoCos;
using common::MemoSin;

using common::AddErrorMessage;
using common::CheckedSqrtLabel;
using common::Pi;

namespace {

void Fatal(const char* text) {
  AddErrorMessage(text);
  common::FatalFlag = 1;
}

Real Mean(Real a, Real b) { return (a + b) / 2; }

// Contact ratio factor for the transverse load factor limit (first form)
// and for the stress (second form); they differ for spur gears with a
// contact ratio of 4 and more.
Real ContactRatioFactorForKHalpha(Real beta, Real epsAlpha, Real epsBeta) {
  if (beta == 0 && epsAlpha >= 4) return 0;
  if (beta == 0) return CheckedSqrtLabel("Zeps", (4 - epsAlpha) / 3);
  if (epsBeta < 1)
    return CheckedSqrtLabel("Zeps", (4 - epsAlpha) / 3 * (1 - epsBeta) + epsBeta / epsAlpha);
  return std::sqrt(1 / epsAlpha);
}

Real ContactRatioFactor(Real beta, Real epsAlpha, Real epsBeta) {
  if (beta == 0 && epsAlpha < 4) return std::sqrt((4 - epsAlpha) / 3);
  if (epsBeta < 1 && epsAlpha < 4)
    return CheckedSqrtLabel("Zeps", (4 - epsAlpha) / 3 * (1 - epsBeta) + epsBeta / epsAlpha);
  return std::sqrt(1 / epsAlpha);
}

// Pinion shaft and bearing distance in use: the entered values, or, when
// they are 0, the ones the DIN path derives (shaft = root diameter,
// bearing distance = reference diameter).
// Without them the deflection formula divides by zero.
void SetShaftValuesInUse(TSpurGearData& g) {
  g.dshUsed = g.dsh;
  if ((g.dshUsed > g.df[1] || g.dshUsed == 0) && g.df[1] > 0)
    g.dshUsed = g.df[1] < 1 ? g.df[1] : std::trunc(g.df[1]);
  TakeBearingDistance(g.l1, g.s1, g.d[1], g.l1Used, g.s1Used);
}

}  // namespace

void CalcIsoFactors() {
  TSpurGearData& g = SpurGearData;
  const Real KA = std::max(g.KAH, g.KAF);
  const Real b = g.EffectiveFaceWidth;
  const Real mn = g.NormalModule;
  const Real beta = g.betaRad;
  const Real alphaWt = g.alphaWt;
  const std::int32_t z1 = g.ToothNumbers[1];
  const std::int32_t z2 = g.ToothNumbers[2];
  const Real epsAlpha = g.epsAlpha;
  const Real epsBeta = g.epsBeta;
  const Real epsGamma = g.epsGamma;
  const std::int32_t Q = std::max(g.AccuracyGrade[1], g.AccuracyGrade[2]);

  // The contact ratio divides several factors below.
  if (!(epsAlpha > 0)) {
    Fatal("Fatal: eps.alpha <=0 !");
    return;
  }

  // 1. Reduced mass of the pair.
  if (!CalcReducedMass(g.u, g.rho[1], g.rho[2], g.BodyInnerDiameterUsed[1],
                       g.BodyInnerDiameterUsed[2], g.db[1], g.df[1], g.df[2], g.TipDiameter[1],
                       g.TipDiameter[2], g.mred)) {
    Fatal("Fatal: m red <=0 !");
    return;
  }

  // 2. Stiffness.
  TMeshStiffnessInput ms;
  ms.b = b;
  ms.beta = beta;
  ms.alphanDeg = common::RadToDeg(g.alphanRad);
  ms.mn = mn;
  ms.zn1 = g.zn[1];
  ms.zn2 = g.zn[2];
  ms.x1 = g.xStrength[1];
  ms.x2 = g.xStrength[2];
  ms.hfP1 = g.hfP[1];
  ms.hfP2 = g.hfP[2];
  ms.sR = (g.df[2] - g.BodyInnerDiameterUsed[2]) / 2;
  ms.bsRatio = 1;  // the gear body is a rim of the face width, without a web
  ms.E1 = g.E[1];
  ms.E2 = g.E[2];
  ms.Ft = g.Ft;
  ms.KA = KA;
  ms.epsAlpha = epsAlpha;
  if (!CalcMeshStiffness(ms, g.cPrime, g.cGamma)) {
    Fatal("Fatal  : q' <= 0 !");
    return;
  }

  // 3. Resonance speeds and ratio.
  g.nE[1] = z1 != 0 ? 30000 / (Pi * z1) * CheckedSqrtLabel("nE1", g.cGamma / g.mred) : 0;
  g.nE[2] = g.u != 0 ? g.nE[1] / g.u : 0;
  const Real N = g.nE[1] != 0 ? g.nUsed[1] / g.nE[1] : 0;

  // 4. Lower limit of the main resonance range.
  Real NS = 0.85L;
  if (b > 0 && g.Ft * KA / b < 100) NS = 0.5L + 0.35L * std::sqrt(g.Ft * KA / (100 * b));
  g.NS = NS;

  // 5. Running-in allowance of the base pitch deviation. The dynamic and
  // the transverse load factor take the larger deviation of the two gears;
  // each gear's material runs it in, and the pair takes the mean.
  const Real fpbMax = std::max(g.fpb[1], g.fpb[2]);
  g.yAlpha = Mean(CalcRunningInAllowanceYaIso(g.MaterialType[1], g.HeatTreatment[1], fpbMax,
                                              g.v, g.SigmaHlim[1]),
                  CalcRunningInAllowanceYaIso(g.MaterialType[2], g.HeatTreatment[2], fpbMax,
                                              g.v, g.SigmaHlim[2]));

  // 6. Dynamic factor.
  TIsoKvInput kv;
  kv.Q = Q;
  kv.ffalpha = Mean(g.ffalpha[1], g.ffalpha[2]);
  kv.fpb = fpbMax;
  kv.yalphaP = g.yAlpha;
  kv.yalphaF = g.yAlpha;
  kv.cPrime = g.cPrime;
  kv.KA = KA;
  kv.b = b;
  kv.Ft = g.Ft;
  kv.SigmaHlim1 = g.SigmaHlim[1];
  kv.SigmaHlim2 = g.SigmaHlim[2];
  kv.epsGamma = epsGamma;
  kv.NS = NS;
  kv.N = N;
  g.KV = CalcDynamicFactorKv(kv);

  // 7. Force and face width.
  if (g.Ft == 0) AddErrorMessage("Error  : Ft=0!");
  if (!(b > 0)) {
    Fatal("Fatal  : beff=0!");
    return;
  }

  // 8. Line load; below 100 N/mm the standard takes 100 N/mm for the face
  // load factor (the shaft deflection, the misalignment and KHbeta); the
  // transverse load factor keeps the load itself. The note says so.
  Real wm = g.Ft * KA * g.KV / b;
  if (g.Ft / b * g.KAF < 100) {
    if (!common::MsgQuiet) AddErrorMessage("Warning: KHbeta taken at 100 N/mm (Ft/b*KA < 100) !");
    wm = 100 * g.KV;
  }

  // 9. Manufacturing deviation and shaft deflection.
  SetShaftValuesInUse(g);
  CheckPinionOffset(g.BearingArrangement, g.s1Used, g.l1Used);
  if (!g.FmaInput) g.fma = common::Hypot(g.fHbeta[1], g.fHbeta[2]);
  std::int32_t patternFlag = 1;
  if (!g.FshInput)
    g.fsh = CalcShaftDeflectionFsh(g.DoubleHelical, g.SupportingEffect, g.BearingArrangement,
                                   g.ContactPatternCode, wm, g.d[1], g.dshUsed, b, g.l1Used,
                                   g.s1Used, patternFlag);

  // 10. Initial equivalent misalignment.
  g.FbetaX = CalcInitialMisalignmentFbx(g.HelixCorrection, g.CentralCrowning, g.EndRelief, wm,
                                        g.fsh, g.fma, Mean(g.fHbeta[1], g.fHbeta[2]),
                                        g.fHbeta5, g.FshInput ? 1 : patternFlag);

  // 11. Running-in of the misalignment.
  g.yBeta = Mean(CalcRunningInAllowanceYb(g.MaterialType[1], g.HeatTreatment[1], g.FbetaX, g.v,
                                          g.SigmaHlim[1]),
                 CalcRunningInAllowanceYb(g.MaterialType[2], g.HeatTreatment[2], g.FbetaX, g.v,
                                          g.SigmaHlim[2]));
  g.FbetaY = g.FbetaX - g.yBeta;

  // 12. Face load factor, flank, with the mesh stiffness along the face
  // (0.85 of the transverse one).
  const Real cGammaBeta = 0.85L * g.cGamma;
  const Real q = wm != 0 ? cGammaBeta * g.FbetaY / (2 * wm) : 0;
  if (q < 1)
    g.KHbeta = 1 + q;
  else
    g.KHbeta = std::max(std::sqrt(2 * cGammaBeta * g.FbetaY / wm), Real(2.0));

  // 13. Face load factor, root.
  const Real hm = std::max(g.h[1], g.h[2]);
  if (!(hm > 0)) {
    Fatal("Fatal: h0 !");
    return;
  }
  const Real r = std::max(b / hm, Real(3.0));
  const Real NF = r * r / (1 + r + r * r);
  g.KFbeta = common::CheckedPower("KFbeta", g.KHbeta, NF);

  // 14. Contact ratio factor for the limit of the transverse load factor.
  g.Zeps = ContactRatioFactorForKHalpha(beta, epsAlpha, epsBeta);

  // 15. Transverse load factors.
  const Real FtH = g.Ft * KA * g.KV * g.KHbeta;
  Real kAlpha = 1;  // unlimited
  if (FtH != 0) {
    const Real t = g.cGamma * (fpbMax - g.yAlpha) / (FtH / b);
    if (epsGamma <= 2)
      kAlpha = epsGamma / 2 * (0.9L + 0.4L * t);
    else
      kAlpha = 0.9L + 0.4L * std::sqrt(2 * (epsGamma - 1) / epsGamma) * t;
  }
  g.KHalpha = kAlpha;
  if (g.Zeps > 0)
    g.KHalpha = common::ClampReal(1, epsGamma / (epsAlpha * g.Zeps * g.Zeps), kAlpha);
  g.KFalpha = LimitRootTransverseFactor(kAlpha, epsAlpha, epsGamma);

  // 16. Zone factor.
  const Real cosat = common::SteadyAngleFunctions(g.alphatRad).cos;
  const common::TAngleFunctions working = common::CurrentAngleFunctions(alphaWt);
  const Real denom = cosat * cosat * working.sin;
  const Real w =
      denom != 0 ? 2 * common::SteadyAngleFunctions(g.betab).cos * working.cos / denom : 0;
  if (w <= 0) {
    g.ZH = 0;
    AddErrorMessage("Error  : ZH <= 0 !");
  } else {
    g.ZH = std::sqrt(w);
  }

  // 17. Single pair contact factors of pinion and wheel.
  // From the single-contact points of the tip circles: epsAlpha is
  // shortened where the mate's tip reaches past the base circle, and the
  // points B and D lie where they lie whatever it says.
  const Real M1 = CalcM1Factor(alphaWt, g.TipDiameter[1], g.db[1], z1, z2);
  const Real M2 = CalcM1Factor(alphaWt, g.TipDiameter[2], g.db[2], z2, z1);
  g.ZB = 1;
  g.ZD = 1;
  if (beta == 0) {
    g.ZB = std::max(M1, Real(1));
    g.ZD = std::max(M2, Real(1));
  } else if (epsAlpha <= 1 || epsBeta < 1) {
    g.ZB = std::max(M1 - epsBeta * (M1 - 1), Real(1));
    g.ZD = std::max(M2 - epsBeta * (M2 - 1), Real(1));
  }
  if (epsAlpha <= 1) AddErrorMessage("Error  : ZB,ZD: not covered by ISO 6336");
  if (std::fabs(g.ZB) > 10) g.ZB = 10;
  if (std::fabs(g.ZD) > 10) g.ZD = 10;
  if (z2 < 0) g.ZD = 1;

  // 18. Elasticity factor.
  g.ZE = std::sqrt(1 / (Pi * ((1 - g.mue[1] * g.mue[1]) / g.E[1] +
                              (1 - g.mue[2] * g.mue[2]) / g.E[2])));

  // 19. Contact ratio factor of the contact stress.
  g.Zeps = ContactRatioFactor(beta, epsAlpha, epsBeta);

  // 20. Helix angle factor.
  g.Zbeta = 1 / std::sqrt(common::SteadyAngleFunctions(beta).cos);

  // 21. Lubricant film factors.
  if (!(g.nu40 > 0)) {
    Fatal("Fatal  : nu40 <= 0 !");
    return;
  }
  // The design holds the viscosity at 50 degrees C; the lubricant and the
  // work hardening factor of ISO 6336-2 take the one at 40 degrees C.
  const Real nu40 = common::MemoisedRecent<CalcViscosityAtTemperature>(g.nu40, 50, 40);
  const Real sigmaMin = std::min(g.SigmaHlim[1], g.SigmaHlim[2]);
  g.ZL = CalcLubricantFactorZL(sigmaMin, nu40);
  g.ZV = CalcVelocityFactorZV(g.v, sigmaMin);
  g.ZR = CalcRoughnessFactorZR(Mean(g.RzFlank[1], g.RzFlank[2]), alphaWt, g.db[1], g.db[2],
                               sigmaMin);

  // 22. Work hardening: a hardened gear work-hardens a soft steel gear
  // (mode 1, the soft gear's factor), and of two soft steel gears the
  // harder one the other (mode 2, gear 2's factor).
  g.ZW.fill(1);
  if (g.HB[1] > 0 && g.HB[2] > 0) {
    const int soft = SoftGearOfHardenedPairing(g.MaterialType, g.HeatTreatment);
    if (soft != 0) {
      const int hard = 3 - soft;
      g.ZW[soft] = CalcWorkHardeningFactorZW(1, nu40, g.db[1], g.db[2], alphaWt, g.RzFlank[hard],
                                             g.RzFlank[soft], g.HB[hard], g.HB[soft], g.v, g.u);
    } else if (IsSoftSteelGear(g.MaterialType[1], g.HeatTreatment[1]) &&
               IsSoftSteelGear(g.MaterialType[2], g.HeatTreatment[2])) {
      g.ZW[2] = CalcWorkHardeningFactorZW(2, nu40, g.db[1], g.db[2], alphaWt, g.RzFlank[1],
                                          g.RzFlank[2], g.HB[1], g.HB[2], g.v, g.u);
    }
  }

  // 23. Size factor of the flank.
  g.ZX[1] = 1;
  g.ZX[2] = 1;

  for (int i = 1; i <= 2; ++i) {
    // 24. Form and stress correction factors.
    TIsoFormInput fi;
    fi.z = g.ToothNumbers[i];
    fi.mn = mn;
    fi.x = g.xStrength[i];
    fi.alphan = g.alphanRad;
    fi.beta = beta;
    fi.betab = g.betab;
    fi.epsAlpha = epsAlpha;
    fi.d = g.d[i];
    fi.da = g.TipDiameter[i];
    fi.hfP = g.hfP[i];
    fi.rhofP = g.rhoaP0[i];
    // Protuberance left after the finishing allowance.
    fi.spr = std::max(g.prP0[i] - g.MachiningAllowance[i], Real(0));
    const TIsoFormResult fr = CalcFormFactorYFYSIso(fi);
    g.YF[i] = fr.YF;
    g.YS[i] = fr.YS;
    g.sFn[i] = fr.sFn;
    g.hFe[i] = fr.hFe;
    g.rhoF[i] = fr.rhoF;
    g.qs[i] = fr.qs;
    g.alphaFen[i] = fr.alphaFen;

    // 25. Grinding notch.
    g.tgrgUsed[i] = std::min(g.tgrg[i], Real(2));
    if (g.GrindingNotch)
      g.YSg[i] = 1.3L * g.YS[i] / (1.3L - 0.6L * CheckedSqrtLabel("tgrg", g.tgrgUsed[i]));
    else
      g.YSg[i] = g.YS[i];
  }

  // 26. Helix factor (the helix angle counts by its size, whatever its hand).
  g.Ybeta = 1 - std::min(epsBeta, Real(1)) *
                    std::min(common::RadToDeg(std::fabs(beta)), Real(30)) / 120;

  // 27. Rim thickness factor.
  for (int i = 1; i <= 2; ++i)
    g.YB[i] = CalcRimThicknessFactorYB(g.ToothNumbers[i], g.df[i], g.BodyInnerDiameterUsed[i],
                                       g.h[i], mn);

  // 28. Deep tooth factor.
  g.YDT = CalcDeepToothFactorYDT(Q, epsAlpha);

  // 29, 30. Notch sensitivity, surface, size and mean stress factors.
  for (int i = 1; i <= 2; ++i) {
    g.YdrelT[i] = CalcSlipLayerThickness(g.MaterialType[i], g.HeatTreatment[i], g.rhoPrime[i],
                                         g.qs[i], g.SigmaFE[i]);
    g.YRrelT[i] = CalcRelativeSurfaceFactorYRrelT(g.MaterialType[i], g.HeatTreatment[i],
                                                  g.RzRoot[i]);
    g.YX[i] = CalcSizeFactorYXIso(g.MaterialType[i], g.HeatTreatment[i], mn);
    g.YM[i] = common::MemoisedRecent<CalcLogLimitedFactor>(g.LoadAlternations[i]);
  }
}

}  // namespace calc
