// DIN 3990 influence factors of the spur pair (din_load_factors.h). Single
// formulas from din_strength_routines.h (size and form factors, running-in
// allowance), face_widths.h (y-beta, ZW, Cay) and iso_factor_routines.h (the
// ISO running-in allowance that the transverse load factor uses).
#include "calc/din_load_factors.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "calc/calc_records.h"
#include "calc/din_strength_routines.h"
#include "calc/gear_geometry_routines.h"
#include "calc/iso_factor_routines.h"
#include "calc/face_widths.h"
#include "calc/load_factor_rules.h"
#include "calc/spur_gear_data.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/memo_math.h"
#include "common/message_list.h"
#include "common/numeric_routines.h"

namespace calc {

using common::MemoCos;
using common::MemoSin;

namespace {

using common::AddErrorMessage;
using common::CheckedPower;
using common::CheckedSqrt;
using common::MaxReal;
using common::MeanReal;
using common::MinReal;
using common::Pi;

void Fatal(const char* text) {
  AddErrorMessage(text);
  common::FatalFlag = 1;
}

// Stiffness, reduced mass and resonance speeds. False: leave the routine.
bool StiffnessAndResonance() {
  TSpurGearData& g = SpurGearData;
  const Real mn = g.NormalModule;
  const Real x1 = g.ProfileShift[1];
  const Real x2 = g.ProfileShift[2];
  const Real zn1 = g.zn[1];
  const Real zn2 = g.zn[2];
  // Single tooth flexibility of the solid disc gear (DIN 3990-1).
  const Real qPrime = 0.04723L + 0.15551L / zn1 + 0.25791L / zn2 - 0.00635L * x1 -
                      0.11654L * x1 / zn1 - 0.00193L * x2 - 0.24188L * x2 / zn2 +
                      0.00529L * x1 * x1 + 0.00182L * x2 * x2;
  // A flexibility of 0 or below has no stiffness behind it.
  if (!(qPrime > 0) || !std::isfinite(qPrime)) {
    Fatal("Fatal  : q' <= 0 !");
    return false;
  }
  const Real cb = MeanReal(CalcBasicRackFactorCB(g.PressureAngle, mn, g.hfP[1]),
                           CalcBasicRackFactorCB(g.PressureAngle, mn, g.hfP[2]));
  // The steel values, scaled by the pair's modulus for other materials.
  g.cPrime = common::SteadyAngleFunctions(g.betaRad).cos * 0.8L * cb / qPrime *
             MeshStiffnessModulusFactor(g.E[1], g.E[2]);
  g.cGamma = std::fabs(g.cPrime * (0.75L * g.epsAlpha + 0.25L));

  if (g.rho[1] == 0 || g.rho[2] == 0) {
    Fatal("Fatal  : rho = 0 !");
    return false;
  }
  // Reduced mass of the pair on the line of action, bodies with a bore
  // (inner diameter di) lighter by 1 - q^4.
  RangeArray<Real, 1, 2> ringFactor;
  for (int i = 1; i <= 2; ++i) {
    Real q = g.dMid[i] == 0 ? 0 : g.BodyInnerDiameterUsed[i] / g.dMid[i];
    ringFactor[i] = 1 - q * q * q * q;
    if (g.dMid[i] == 0 || ringFactor[i] == 0) {
      Fatal("Fatal  : 1-q^4 = 0 !");
      return false;
    }
  }
  const Real dm1 = g.dMid[1];
  const Real db1 = g.db[1];
  const Real u = g.u;
  if (db1 == 0 || u == 0) {
    Fatal("Fatal  : m red = 0 !");
    return false;
  }
  g.mred = 3.9269908169872417e-07L * (dm1 * dm1 * dm1 * dm1) / (db1 * db1) /
           (1 / (ringFactor[1] * g.rho[1]) + 1 / (ringFactor[2] * g.rho[2] * u * u));
  if (g.mred <= 0) {
    AddErrorMessage("Fatal: m red <=0 !");
    g.nE[1] = 0;
    g.nE[2] = 0;
    return true;
  }
  g.nE[1] = 9549.29658551372L / g.ToothNumbers[1] * CheckedSqrt("Error  : ne(freq)", g.cGamma / g.mred);
  if (common::FatalFlag != 0) {
    AddErrorMessage("Fatal: m red !");
    return false;
  }
  g.nE[2] = g.nE[1] / u;
  return true;
}

// Dynamic factor and the line load Fmb. False: leave the routine.
bool DynamicFactor(Real& fmb) {
  TSpurGearData& g = SpurGearData;
  const Real b = g.EffectiveFaceWidth;
  const TDinCv cv = DinDynamicCoefficients(g.epsGamma);

  auto ya = [&g](int i, Real deviation) {
    return CalcRunningInAllowanceYa(g.HeatTreatment[i], g.MaterialType[i], deviation, g.v,
                                    g.SigmaHlim[i]);
  };
  const Real cay =
      MeanReal(CalcRunningInConstantCay(g.SigmaHlim[1]), CalcRunningInConstantCay(g.SigmaHlim[2]));
  g.yAlpha = MeanReal(ya(1, g.fpb[1]), ya(2, g.fpb[2]));
  const Real yf = MeanReal(ya(1, g.ffalpha[1]), ya(2, g.ffalpha[2]));
  // Deviations left after running-in.
  const Real fpbEff = MaxReal(MaxReal(g.fpb[1], g.fpb[2]) - g.yAlpha, 0);
  const Real ffEff = MaxReal(MaxReal(g.ffalpha[1], g.ffalpha[2]) - yf, 0);

  const Real w = g.Ft / b;
  if (g.KAF == 0) {
    Fatal("Fatal  : KA = 0!");
    return false;
  }
  // Lower limit of the main resonance range: under a light load the
  // resonance sets in at a lower speed ratio.
  const Real load = w * g.KAF;
  g.NS = load < 100 ? 0.5L + 0.35L * std::sqrt(std::max(load, Real(0)) / 100) : 0.85L;
  if (w == 0) {
    AddErrorMessage("Error  : Ft=0!");
    g.KV = 1;
  } else {
    const Real bp = g.cPrime * fpbEff / w / g.KAF;
    const Real bf = g.cPrime * ffEff / w / g.KAF;
    // Accuracy grades above 6 leave no running-in term in the resonance.
    const Real bk = common::MaxInt(g.AccuracyGrade[1], g.AccuracyGrade[2]) > 6
                        ? 1.0L
                        : std::fabs(1 - g.cPrime * cay / (w * g.KAF));
    Real ratio = 1;
    if (g.nE[1] == 0) {
      AddErrorMessage("Fatal  : ne1=0!");
    } else {
      ratio = g.nUsed[1] / g.nE[1];
    }
    g.KV = DinDynamicFactor(ratio, g.NS, bp, bf, bk, cv);
  }
  fmb = g.Ft * g.KAF * g.KV / b;
  // Light loads: the standard's factors hold from 100 N/mm on.
  if (w * g.KAF < 100) {
    if (!common::MsgQuiet) AddErrorMessage("Warning: Ft/b*KA < 100 !");
    fmb = 100 * g.KV;
  }
  return true;
}

// Face load factors from the pinion shaft model. False: leave the routine.
bool FaceLoadFactor(Real fmb) {
  TSpurGearData& g = SpurGearData;
  const Real b = g.EffectiveFaceWidth;
  const Real d1 = g.d[1];

  if (!g.FmaInput) {
    g.fma = g.fHbeta[1];
    if (g.LappingIn || g.HelixCorrection || g.CentralCrowning) g.fma = 0.5L * g.fHbeta[1];
    if (g.EndRelief) g.fma = 0.7L * g.fHbeta[1];
  }

  Real coefA = 0.023L;
  if (g.EndRelief) coefA = 0.016L;
  if (g.CentralCrowning) coefA = 0.012L;
  if (g.DoubleHelical) coefA = 0.046L;
  if (g.DoubleHelical && (g.CentralCrowning || g.EndRelief)) coefA = 0.024L;

  TakeBearingDistance(g.l1, g.s1, d1, g.l1Used, g.s1Used);
  const Real l1 = g.l1Used;
  const Real s1 = g.s1Used;
  CheckPinionOffset(g.BearingArrangement, s1, l1);
  switch (g.BearingArrangement) {
    case 1: g.Kprime = g.SupportingEffect ? 0.48L : 0.8L; break;
    case 2: g.Kprime = g.SupportingEffect ? -0.48L : -0.8L; break;
    case 3: g.Kprime = 1.33L; break;
    case 4: g.Kprime = g.SupportingEffect ? -0.36L : -0.6L; break;
    case 5: g.Kprime = g.SupportingEffect ? -0.6L : -1.0L; break;
    default: break;  // keeps the previous K'
  }

  // The pinion shaft is at most as thick as the pinion's root.
  g.dshUsed = g.dsh;
  const Real df1 = g.df[1];
  if ((g.dshUsed > df1 || g.dshUsed == 0) && df1 > 0) {
    g.dshUsed = df1 < 1 ? df1 : std::trunc(df1);
  }
  if (g.dshUsed == 0) {
    Fatal("Fatal: dsh = 0 !");
    return false;
  }
  const Real dsh = g.dshUsed;
  const Real stiffness4 = common::IntPower(4, d1 / dsh);

  if (!g.FshInput) {
    const Real gamma0 = g.DoubleHelical ? 1.5L : 1.0L;
    const Real bPrime = g.DoubleHelical ? b / 2 : b;
    g.fsh = fmb * coefA *
            (std::fabs(g.Kprime * l1 * s1 / (d1 * d1) * stiffness4 + gamma0 - 0.3L) + 0.3L) *
            (bPrime / d1) * (bPrime / d1);
  }
  if (common::FatalFlag != 0) {
    AddErrorMessage("Fatal: Fsh !");
    return false;
  }
  g.FbetaX = 1.33L * g.fsh + g.fma;

  // Contact-pattern cases in which the helix slope deviation of grade 5
  // compensates the deflection.
  const Real gammaC = g.DoubleHelical ? 1.5L : 1.0L;
  // The dimensionless shaft term of the deflection formula above.
  const Real t = std::fabs(g.Kprime * l1 * s1) / (d1 * d1) * stiffness4;
  if (common::FatalFlag != 0) {
    AddErrorMessage("Fatal: Fsh !");
    return false;
  }
  const std::uint16_t cp = g.ContactPatternCode;
  if (g.HelixCorrection || cp == 1 || cp == 6 || (cp == 3 && t > gammaC) ||
      (cp == 4 && t < gammaC - 0.3L)) {
    g.FbetaX = std::fabs(1.33L * g.fsh - g.fHbeta5);
  }
  // The misalignment never falls below what the helix slope deviation and
  // the line load leave (with or without helix correction).
  const Real fbxMin = MaxReal(0.005L * fmb, 0.5L * g.fHbeta[1]);
  if (g.FbetaX < fbxMin) g.FbetaX = fbxMin;

  // RunningInAllowanceYbeta reads FbetaX and v from the data set.
  g.yBeta = MeanReal(RunningInAllowanceYbeta(g.MaterialType[1], g.HeatTreatment[1], g.SigmaHlim[1]),
                     RunningInAllowanceYbeta(g.MaterialType[2], g.HeatTreatment[2], g.SigmaHlim[2]));
  g.FbetaY = g.FbetaX - g.yBeta;

  if (fmb == 0) {
    AddErrorMessage("Fatal  : Fmb = 0 !");
    g.KHbeta = 1;
  } else {
    const Real q = g.FbetaY * g.cGamma / (2 * fmb);
    g.KHbeta = q < 1 ? 1 + q : CheckedSqrt("Error  : F\xE1y", 2 * g.FbetaY * g.cGamma / fmb);
  }

  if (g.CalcMethod == 2) {
    // DIN 3990-41: misalignment from the helix slope deviations alone.
    if (!g.FmaInput) g.fma = 0.5L * MaxReal(g.fHbeta[1], g.fHbeta[2]);
    g.FbetaX = g.fma;
    g.yBeta = MinReal(0.15L * g.FbetaX, 6.0L);
    g.FbetaY = g.FbetaX - g.yBeta;
    if (fmb == 0) {
      AddErrorMessage("Fatal  : Fmb = 0 !");
      g.KHbeta = 1;
    } else {
      g.KHbeta = 1 + g.cGamma * g.FbetaY / (2 * fmb);
      if (g.KHbeta > 2) AddErrorMessage("Error  : KHbeta>2! DIN 33990 T.41");
    }
  }

  const Real hm = MaxReal(g.h[1], g.h[2]);
  if (hm == 0) {
    AddErrorMessage("Fatal: h0 !");
    common::AbortFlag = 1;
    common::FatalFlag = 1;
    return false;
  }
  const Real r = MaxReal(b / hm, 3);
  const Real nf = r * r / (1 + r + r * r);
  g.KFbeta = CheckedPower("Error  : KF\xE1", g.KHbeta, nf);
  return true;
}

// Contact ratio, transverse load, zone, single pair and helix factors.
// False: leave the routine.
bool ContactFactors(Real fmb) {
  TSpurGearData& g = SpurGearData;
  const Real epsA = g.epsAlpha;
  const Real epsB = g.epsBeta;
  const Real epsG = g.epsGamma;
  // The helix angle counts by its size: a left-hand helix entered as a
  // negative angle rates the root like the right-hand one (epsBeta is
  // always positive), never with a helix factor above 1.
  const Real beta = std::fabs(g.HelixAngle);

  g.Ybeta = epsB > 1 ? 1 - beta / 120 : 1 - epsB * beta / 120;
  g.Ybeta = MaxReal(g.Ybeta, 1 - 0.25L * epsB);

  // Zeps divides by the contact ratio; a contact ratio of 0 or below ends
  // the routine after the transverse load factor (below).
  if (epsA > 0) {
    g.Zeps = epsB < 1
                 ? CheckedSqrt("Error  : Z eps.", (4 - epsA) / 3 * (1 - epsB) + epsB / epsA)
                 : CheckedSqrt("Error  : Z eps.", 1 / epsA);
  }

  g.yAlpha = MeanReal(CalcRunningInAllowanceYaIso(g.MaterialType[1], g.HeatTreatment[1], g.fpb[1],
                                                  g.v, g.SigmaHlim[1]),
                      CalcRunningInAllowanceYaIso(g.MaterialType[2], g.HeatTreatment[2], g.fpb[2],
                                                  g.v, g.SigmaHlim[2]));

  // The unlimited transverse load factor, from the larger base pitch
  // deviation of the two gears.
  Real kAlpha = 1;
  if (fmb != 0) {
    const Real f = g.cGamma * (MaxReal(g.fpb[1], g.fpb[2]) - g.yAlpha) / fmb / g.KHbeta;
    if (epsG > 2) {
      kAlpha = 0.9L + 0.4L * CheckedSqrt("Error  : KHalpha", 2 * (epsG - 1) / epsG) * f;
    } else {
      kAlpha = epsG / 2 * (0.9L + 0.4L * f);
    }
  }
  g.KHalpha = kAlpha;
  // Without contact there is no rating.
  if (epsA <= 0) {
    Fatal("Fatal: eps.alpha <=0 !");
    return false;
  }
  if (g.Zeps <= 0) AddErrorMessage("Fatal  : Zeps.<=0 !");
  if (g.Zeps == 0) {
    g.KHalpha = 1;
  } else {
    g.KHalpha = common::ClampReal(1, epsG / (epsA * g.Zeps * g.Zeps), kAlpha);
  }
  g.KFalpha = LimitRootTransverseFactor(kAlpha, epsA, epsG);

  // The angles are those of every position of a sweep but the working one.
  const Real tanAlphaWt = common::CurrentAngleFunctions(g.alphaWt).tan;
  const Real cosBeta = common::SteadyAngleFunctions(g.betaRad).cos;
  g.ZH = CheckedSqrt("Error  : ZH", 2 * common::SteadyAngleFunctions(g.betab).cos / tanAlphaWt) /
         common::SteadyAngleFunctions(g.alphatRad).cos;

  g.ZB = 1;
  if (g.ToothNumbers[1] < 20) {
    const Real u = g.u;
    const Real pbn = Pi * g.NormalModule * common::SteadyAngleFunctions(g.alphanRad).cos;
    const Real da1 = g.TipDiameter[1];
    const Real db1 = g.db[1];
    Real a = (CheckedSqrt("Error  : ZB", da1 * da1 - db1 * db1) - 2 * pbn) / db1;
    if (a <= 0) a = 0.01L;
    Real bb = cosBeta * tanAlphaWt * (u + 1) / u - a / u;
    if (bb <= 0) {
      AddErrorMessage("Error  : ZB !  z1, u0 !");
      bb = 0.01L;
    }
    g.ZB = cosBeta * tanAlphaWt / CheckedSqrt("Error  : ZB", a * bb);
    if (g.ZB < 1) g.ZB = 1;
  }
  g.Zbeta = std::sqrt(cosBeta);
  return true;
}

// Lubricant, velocity, roughness, work hardening and size factors of the
// flank. False: leave the routine.
bool FlankFactors() {
  TSpurGearData& g = SpurGearData;
  const Real sigma = common::ClampReal(850, 1200, MinReal(g.SigmaHlim[1], g.SigmaHlim[2]));
  // The viscosity divides the lubricant term.
  if (!(g.nu40 > 0)) {
    Fatal("Fatal  : nu40 <= 0 !");
    return false;
  }
  const Real czl = 0.83L + 0.08L * (sigma - 850) / 350;
  const Real termL = 1.2L + 80 / g.nu40;
  g.ZL = czl + 4 * (1 - czl) / (termL * termL);

  const Real czv = 0.85L + 0.08L * (sigma - 850) / 350;
  g.ZV = g.v == 0 ? 1 : czv + 2 * (1 - czv) / std::sqrt(0.8L + 32 / g.v);

  const Real a = g.CentreDistance;
  if (g.CalcMethod == 2) {
    g.ZR = a == 0 ? 0
                  : 1.02L * CheckedPower("Error  : ZR 2 ",
                                         CheckedPower("Error  : ZR", std::fabs(a), 1.0L / 3) /
                                             (g.RzFlank[1] + g.RzFlank[2]),
                                         0.08L);
  } else {
    const Real czr = 0.12L + (1000 - sigma) / 5000;
    const Real rz = MeanReal(g.RzFlank[1], g.RzFlank[2]);
    const Real rz100 =
        a == 0 ? rz : rz * CheckedPower("Error  : Rz100", 100 / std::fabs(a), 1.0L / 3);
    g.ZR = CheckedPower("Error  : ZR", 3 / rz100, czr);
  }

  // Work hardening of a soft steel gear by a smooth hardened one.
  g.ZW.fill(1);
  const int soft = SoftGearOfHardenedPairing(g.MaterialType, g.HeatTreatment);
  if (soft != 0 && g.RzFlank[OtherGearIndex(soft)] <= 6) {
    g.ZW[soft] = CalcWorkHardeningFactorZWSimple(g.HB[soft]);
  }

  for (int i = 1; i <= 2; ++i) {
    g.ZX[i] = CalcSizeFactorZX(g.HeatTreatment[i], g.NormalModule);
    if (common::FatalFlag != 0) {
      AddErrorMessage("Fatal: ZX !");
      g.ZX[i] = 1;
    }
  }
  return true;
}

void RootFactors() {
  TSpurGearData& g = SpurGearData;
  const Real mn = g.NormalModule;
  for (int i = 1; i <= 2; ++i) {
    const int j = OtherGearIndex(i);
    TToothFormFactors f;
    if (CalcToothFormFactorYFS(f, g.alphanRad, g.betaRad, mn, g.prP0[i],
                               common::DegToRad(g.alphaPrP0[i]), g.hfP[i], g.rhoaP0[i],
                               g.xStrength[i], g.ToothNumbers[i], g.zn[i], g.d[i], g.df[i],
                               g.epsAlpha, g.betab, g.dNa[i], g.TipDiameterTheoretical[i],
                               g.TipDiameterTheoretical[j], g.db[i], g.db[j], g.CentreDistance,
                               g.alphaWt)) {
      g.YF[i] = f.YF;
      g.YS[i] = f.YS;
      g.qs[i] = f.qs;
      g.sFn[i] = f.sFn;
      g.hFe[i] = f.hFe;
      g.rhoF[i] = f.rhoF;
      g.alphaFen[i] = f.alphaFen;
    }
  }
  for (int i = 1; i <= 2; ++i) {
    // Notch sensitivity and surface condition relative to the test gear, by
    // the material's slip layer and surface class.
    g.YdrelT[i] = CalcSlipLayerThickness(g.MaterialType[i], g.HeatTreatment[i], g.rhoPrime[i],
                                         g.qs[i], g.SigmaFE[i]);
    g.YRrelT[i] = CalcRelativeSurfaceFactorYRrelT(g.MaterialType[i], g.HeatTreatment[i],
                                                  g.RzRoot[i]);
  }
  for (int i = 1; i <= 2; ++i) {
    g.YX[i] = CalcSizeFactorYX(g.HeatTreatment[i], g.MaterialType[i], mn);
    if (common::FatalFlag != 0) {
      AddErrorMessage("Fatal: YX !");
      g.YX[i] = 1;
    }
  }
  for (int i = 1; i <= 2; ++i) {
    const Real alternations = g.LoadAlternations[i];
    g.YM[i] = alternations == 0 ? 1
                                : MinReal(0.0417L * common::Log10(alternations) + 0.6275L, 1);
  }
}

}  // namespace

TDinCv DinDynamicCoefficients(Real epsGamma) {
  TDinCv cv;
  cv.c1 = 0.32L;
  cv.c5 = 0.47L;
  if (epsGamma <= 2) {
    cv.c2 = 0.34L;
    cv.c3 = 0.23L;
    cv.c4 = 0.90L;
    cv.c6 = 0.47L;
  } else {
    cv.c2 = 0.57L / (epsGamma - 0.3L);
    cv.c3 = 0.096L / (epsGamma - 1.56L);
    cv.c4 = (0.57L - 0.05L * epsGamma) / (epsGamma - 1.44L);
    cv.c6 = 0.12L / (epsGamma - 1.74L);
  }
  if (epsGamma <= 1.5L) {
    cv.c7 = 0.75L;
  } else if (epsGamma <= 2.5L) {
    cv.c7 = 0.125L * MemoSin(Pi * (epsGamma - 2)) + 0.875L;
  } else {
    cv.c7 = 1.0L;
  }
  return cv;
}

Real DinDynamicFactor(Real ratio, Real ns, Real bp, Real bf, Real bk, const TDinCv& cv) {
  const Real kMain = cv.c1 * bp + cv.c2 * bf + cv.c4 * bk + 1;
  const Real kSuper = cv.c5 * bp + cv.c6 * bf + cv.c7;
  if (ratio <= ns) return ratio * (cv.c1 * bp + cv.c2 * bf + cv.c3 * bk) + 1;
  if (ratio <= 1.15L) return kMain;
  if (ratio > 1.5L) return kSuper;
  return (kMain - kSuper) / 0.35L * (1.5L - ratio) + kSuper;
}

void CalcLoadFactors() {
  TSpurGearData& g = SpurGearData;
  // Every line load below divides by the effective face width.
  if (!(g.EffectiveFaceWidth > 0)) {
    Fatal("Fatal  : beff=0!");
    return;
  }
  if (!StiffnessAndResonance()) return;
  Real fmb = 0;
  if (!DynamicFactor(fmb)) return;
  if (!FaceLoadFactor(fmb)) return;
  if (!ContactFactors(fmb)) return;
  if (!FlankFactors()) return;
  RootFactors();
}

}  // namespace calc
