// Tests of the DIN 3990 load factors (din_load_factors.h) on a standard pair.
#include "calc/din_load_factors.h"

#include <gtest/gtest.h>

#include <cmath>

#include "calc/din_strength_routines.h"
#include "calc/face_widths.h"
#include "calc/iso_factor_routines.h"
#include "calc/spur_pair_driver.h"
#include "spur_test_pairs.h"

namespace calc {
namespace {

using common::Pi;
using calc_test::HasMessage;

// The standard pair as the strength step leaves it before the factors.
void PrepareDinPair(int method = 1) {
  calc_test::SetStandardPair(method);
  TSpurGearData& g = SpurGearData;
  CalcFaceWidths();
  g.nUsed[1] = 1000;
  g.nUsed[2] = 500;
  g.TUsed[1] = 10 * 60000 / (2 * Pi * 1000);
  g.Ft = 2000 * g.TUsed[1] / g.d[1];
  g.v = g.d[1] * 1000 * Pi / 60000;
  g.HBmin = 740;
  g.xStrength.fill(0);
}

// Hand values of the standard pair (DIN 3990-1): tooth flexibility q' of
// the unshifted 20/40 pair, basic rack factor CB for hfP = 1.25 mn, single
// stiffness c' and mesh stiffness c-gamma.
const Real HandQPrime = 0.04723L + 0.15551L / 20 + 0.25791L / 40;
const Real HandCB = 1 + 0.5L * (1.2L - 1.25L);
const Real HandCPrime = 0.8L * HandCB / HandQPrime;
Real HandCGamma(Real epsAlpha) { return HandCPrime * (0.75L * epsAlpha + 0.25L); }

TEST(DinLoadFactors, DynamicCoefficientsByContactRatio) {
  TDinCv left = DinDynamicCoefficients(2.0L);
  EXPECT_EQ(left.c2, 0.34L);
  EXPECT_EQ(left.c4, 0.90L);
  EXPECT_EQ(left.c6, 0.47L);
  EXPECT_NEAR(left.c7, 0.875L, 1e-15);
  EXPECT_EQ(DinDynamicCoefficients(1.5L).c7, 0.75L);
  EXPECT_NEAR(DinDynamicCoefficients(2.5L).c7, 1.0L, 1e-15);
  EXPECT_EQ(DinDynamicCoefficients(2.6L).c7, 1.0L);
  TDinCv right = DinDynamicCoefficients(2.2L);
  EXPECT_NEAR(right.c2, 0.57L / 1.9L, 1e-15);
  EXPECT_NEAR(right.c3, 0.096L / 0.64L, 1e-15);
  EXPECT_NEAR(right.c4, (0.57L - 0.11L) / 0.76L, 1e-15);
  EXPECT_NEAR(right.c6, 0.12L / 0.46L, 1e-15);
}

TEST(DinLoadFactors, DynamicFactorSpeedRanges) {
  const TDinCv cv = DinDynamicCoefficients(1.6L);
  const Real bp = 0.5L, bf = 0.4L, bk = 0.3L;
  const Real main = cv.c1 * bp + cv.c2 * bf + cv.c4 * bk + 1;
  const Real super = cv.c5 * bp + cv.c6 * bf + cv.c7;
  EXPECT_NEAR(DinDynamicFactor(0.85L, 0.85L, bp, bf, bk, cv),
              0.85L * (cv.c1 * bp + cv.c2 * bf + cv.c3 * bk) + 1, 1e-15);
  EXPECT_NEAR(DinDynamicFactor(0.8501L, 0.85L, bp, bf, bk, cv), main, 1e-15);
  EXPECT_NEAR(DinDynamicFactor(1.15L, 0.85L, bp, bf, bk, cv), main, 1e-15);
  EXPECT_NEAR(DinDynamicFactor(1.5L, 0.85L, bp, bf, bk, cv), super, 1e-15);
  EXPECT_NEAR(DinDynamicFactor(1.325L, 0.85L, bp, bf, bk, cv), (main + super) / 2, 1e-15);
  EXPECT_NEAR(DinDynamicFactor(1.5001L, 0.85L, bp, bf, bk, cv), super, 1e-15);
}

TEST(DinLoadFactors, RunningInTermOnlyUpToGradeSix) {
  PrepareDinPair();
  TSpurGearData& g = SpurGearData;
  CalcLoadFactors();
  const Real kv6 = g.KV;
  const Real ratio = g.nUsed[1] / g.nE[1];
  ASSERT_LE(ratio, 0.85L);  // subcritical: KV = N (Cv1 Bp + Cv2 Bf + Cv3 Bk) + 1
  const Real bk6 = std::fabs(1 - g.cPrime * CalcRunningInConstantCay(1500) / (g.Ft / 20));
  g.AccuracyGrade[2] = 7;
  CalcLoadFactors();
  EXPECT_NEAR(g.KV - kv6, ratio * 0.23L * (1 - bk6), 1e-12);
}

TEST(DinLoadFactors, StandardPairFactors) {
  PrepareDinPair();
  CalcLoadFactors();
  const TSpurGearData& g = SpurGearData;
  EXPECT_EQ(common::FatalFlag, 0);
  // Zone factor of an unshifted 20 degree spur pair.
  EXPECT_NEAR(g.ZH, std::sqrt(2 / std::tan(20 * Pi / 180)) / std::cos(20 * Pi / 180), 1e-15);
  EXPECT_NEAR(g.ZH, 2.4946L, 1e-4);
  EXPECT_NEAR(g.Zeps, std::sqrt((4 - g.epsAlpha) / 3), 1e-15);
  EXPECT_EQ(g.Zbeta, 1);
  EXPECT_EQ(g.ZB, 1);  // z1 = 20
  EXPECT_EQ(g.Ybeta, 1);
  EXPECT_GT(g.KV, 1);
  EXPECT_LT(g.KV, 1.5L);
  EXPECT_GE(g.KHbeta, 1);
  EXPECT_NEAR(g.KFbeta, std::pow(g.KHbeta, 9.0L / 13), 1e-15);  // b/h < 3: r = 3
  EXPECT_GE(g.KHalpha, 1);
  EXPECT_LE(g.KHalpha, g.epsGamma / (g.epsAlpha * g.Zeps * g.Zeps) + 1e-15);
  EXPECT_EQ(g.KFalpha, g.KHalpha);
  // Single stiffness and the resonance speed of the steel pair.
  EXPECT_NEAR(g.cPrime, HandCPrime, 1e-12);
  EXPECT_NEAR(g.cGamma, HandCGamma(g.epsAlpha), 1e-12);
  EXPECT_NEAR(g.nE[2], g.nE[1] / 2, 1e-9);
  // Flank factors: SigmaHlim 1500 is taken as 1200, where nu40 = 100
  // gives ZL = 1; Rz 5 at a = 120 lowers ZR.
  EXPECT_NEAR(g.ZL, 1.0L, 1e-15);
  EXPECT_NEAR(g.ZR, std::pow(3 / (5 * std::cbrt(100.0L / 120)), 0.08L), 1e-12);
  EXPECT_EQ(g.ZW[1], 1);
  EXPECT_EQ(g.ZW[2], 1);
  EXPECT_NEAR(g.ZX[1], 1.0L, 1e-15);
  EXPECT_NEAR(g.YX[1], 1.0L, 1e-15);
  EXPECT_EQ(g.YM[1], 1);
  EXPECT_GT(g.YF[1], g.YF[2]);
  for (int i = 1; i <= 2; ++i) {
    // Case-hardened steel: slip layer 0.003 mm in DIN 3990-3 method B.
    EXPECT_EQ(g.rhoPrime[i], 0.003L);
    EXPECT_NEAR(g.YdrelT[i],
                (1 + std::sqrt(0.2L * (1 + 2 * g.qs[i]) * 0.003L)) / (1 + std::sqrt(1.2L * 0.003L)),
                1e-15);
  }
}

// Grey cast iron (material type 6) on both gears, SigmaHlim 360, E 105000:
// DIN 3990-1 gives it the running-in allowance of ferritic nodular iron,
// y-beta = 0.55 Fbetax (the steel rule 320/360 Fbetax would leave only a
// ninth of the misalignment), and scales the steel stiffness by E / 206000.
TEST(DinLoadFactors, GreyCastIronRunsInLikeNodularIronAndIsLessStiff) {
  PrepareDinPair();
  TSpurGearData& g = SpurGearData;
  g.MaterialType.fill(6);
  g.HeatTreatment.fill(0);
  g.SigmaHlim.fill(360);
  g.E.fill(105000);
  g.v = 4;  // no speed cap
  CalcLoadFactors();
  ASSERT_EQ(common::FatalFlag, 0);
  EXPECT_NEAR(g.cPrime, HandCPrime * 105000 / 206000, 1e-12);
  EXPECT_NEAR(g.yBeta, 0.55L * g.FbetaX, 1e-12);
  EXPECT_NEAR(g.FbetaY, 0.45L * g.FbetaX, 1e-12);
  const Real fmb = std::max(g.Ft * g.KAF * g.KV / g.FaceWidth, 100 * g.KV);
  const Real q = g.FbetaY * g.cGamma / (2 * fmb);
  EXPECT_NEAR(g.KHbeta, q < 1 ? 1 + q : std::sqrt(2 * q), 1e-12);
  // The same misalignment on grey iron rated by the steel rule runs in far
  // more, which is what the standard does not allow.
  EXPECT_GT(g.KHbeta - 1, 3 * (1 - 320.0L / 360) * g.FbetaX * g.cGamma / (2 * fmb));
}

TEST(DinLoadFactors, NotchSensitivityIsRelativeToTheTestGear) {
  // The test gear's notch parameter qs = 2.5 (X* = 1.2) gives 1 in every
  // material; the case-hardened layer of 0.003 mm gives the familiar
  // 0.9434 + 0.0231 sqrt(1 + 2 qs) to its four digits.
  for (const Real rho : {0.0030L, 0.1005L, 0.3124L, 0.0833L, 0.0014L})
    EXPECT_NEAR(CalcRelativeNotchSensitivityYdrelT(2.5L, rho), 1.0L, 1e-15) << rho;
  EXPECT_NEAR(CalcRelativeNotchSensitivityYdrelT(1.0L, 0.003L), 0.9434L + 0.0231L * std::sqrt(3.0L),
              2e-5);
}

// The root factors of DIN 3990-3 by material: the relative surface factor
// of its class and the notch sensitivity with the material's slip layer, by
// hand. Gear 1 nitrided, gear 2 structural steel (SigmaFE 300).
TEST(DinLoadFactors, RootFactorsFollowTheMaterial) {
  for (const Real rz : {0.5L, 2.0L, 10.0L}) {
    PrepareDinPair();
    TSpurGearData& g = SpurGearData;
    g.MaterialType[1] = 3;
    g.HeatTreatment[1] = 5;
    g.MaterialType[2] = 1;
    g.HeatTreatment[2] = 0;
    g.SigmaFE[2] = 300;
    g.RzRoot.fill(rz);
    CalcLoadFactors();
    ASSERT_EQ(common::FatalFlag, 0);
    if (rz < 1) {
      EXPECT_EQ(g.YRrelT[1], 1.025L);
      EXPECT_EQ(g.YRrelT[2], 1.070L);
    } else {
      EXPECT_NEAR(g.YRrelT[1], 4.299L - 3.259L * std::pow(rz + 1, 0.0058L), 1e-15) << rz;
      EXPECT_NEAR(g.YRrelT[2], 5.306L - 4.203L * std::pow(rz + 1, 0.01L), 1e-15) << rz;
    }
    EXPECT_EQ(g.rhoPrime[1], 0.1005L);
    EXPECT_EQ(g.rhoPrime[2], 0.0445L);
    for (int i = 1; i <= 2; ++i) {
      const Real rho = g.rhoPrime[i];
      EXPECT_NEAR(g.YdrelT[i], (1 + std::sqrt(0.2L * (1 + 2 * g.qs[i]) * rho)) / (1 + std::sqrt(1.2L * rho)),
                  1e-15);
    }
  }
  // Case-hardened at Rz 0.5: the constant of the hardened steels, which the
  // power law would have put at 1.123.
  PrepareDinPair();
  SpurGearData.RzRoot.fill(0.5L);
  CalcLoadFactors();
  EXPECT_EQ(SpurGearData.YRrelT[1], 1.120L);
}

TEST(DinLoadFactors, DerivedShaftDataLeaveTheEntriesAlone) {
  PrepareDinPair();
  CalcLoadFactors();
  TSpurGearData& g = SpurGearData;
  // Taken without a word, as under ISO 6336: the printout shows l and s.
  EXPECT_EQ(common::MsgCount, 0) << calc_test::MessageLines();
  EXPECT_EQ(common::FatalFlag, 0);
  EXPECT_EQ(g.l1, 0);
  EXPECT_EQ(g.dsh, 0);
  EXPECT_EQ(g.l1Used, g.d[1]);
  EXPECT_EQ(g.s1Used, 0);
  EXPECT_EQ(g.dshUsed, 70);  // integer part of df1
  // Every run that derives l1 gives the same factors.
  const Real khBeta = g.KHbeta;
  common::ClearErrorMessages();
  CalcLoadFactors();
  EXPECT_EQ(g.l1Used, g.d[1]);
  EXPECT_EQ(g.KHbeta, khBeta);
  // Entered values stand.
  common::ClearErrorMessages();
  g.l1 = 100;
  g.s1 = 40;
  g.dsh = 50;
  CalcLoadFactors();
  EXPECT_FALSE(HasMessage("Fatal  : l1 angepasst"));
  EXPECT_TRUE(HasMessage("Warning: s/l > 0.3 !"));
  EXPECT_EQ(g.dshUsed, 50);
}

TEST(DinLoadFactors, BearingArrangementAndHelixCorrection) {
  PrepareDinPair();
  TSpurGearData& g = SpurGearData;
  g.BearingArrangement = 3;
  CalcLoadFactors();
  EXPECT_EQ(g.Kprime, 1.33L);
  g.SupportingEffect = true;
  CalcLoadFactors();
  EXPECT_EQ(g.Kprime, 1.33L);
  g.BearingArrangement = 4;
  CalcLoadFactors();
  EXPECT_EQ(g.Kprime, -0.36L);
  // An unknown code keeps the previous K' and warns about nothing.
  common::ClearErrorMessages();
  g.BearingArrangement = 6;
  g.l1 = 100;
  g.s1 = 45;
  CalcLoadFactors();
  EXPECT_EQ(g.Kprime, -0.36L);
  EXPECT_FALSE(HasMessage("Warning: s/l > 0.3 !"));
  EXPECT_FALSE(HasMessage("Warning: s/l > 0.5 !"));

  g.BearingArrangement = 1;
  g.ContactPatternCode = 2;
  g.HelixCorrection = true;
  g.FshInput = true;
  g.fsh = 2;
  CalcLoadFactors();
  // |1.33 fsh - fHbeta5| = 3.34, raised to the minimum 0.5 fHbeta1 = 4.
  EXPECT_NEAR(g.FbetaX, 4.0L, 1e-15);
  g.fsh = 10;
  CalcLoadFactors();
  EXPECT_NEAR(g.FbetaX, std::fabs(13.3L - 6), 1e-15);
  // Without the correction and with contact pattern 2 the deflection and
  // the manufacturing deviation add, without a minimum.
  g.HelixCorrection = false;
  g.fsh = 0;
  CalcLoadFactors();
  EXPECT_NEAR(g.FbetaX, g.fHbeta[1], 1e-15);
}

TEST(DinLoadFactors, MisalignmentNeverBelowItsMinimum) {
  PrepareDinPair();
  TSpurGearData& g = SpurGearData;
  ASSERT_EQ(g.ContactPatternCode, 1);  // the helix deviation of grade 5 compensates
  for (const bool helix : {false, true}) {
    g.HelixCorrection = helix;
    // The computed shaft deflection: l1 = d1 and s1 = 0 leave no shaft
    // term, gamma = |0 + 1 - 0.3| + 0.3 = 1; the line load Ft KV / b is
    // above 100 N/mm.
    g.FshInput = false;
    CalcLoadFactors();
    const Real fmb = g.Ft * g.KV / 20;
    const Real fsh = fmb * 0.023L * 1 * (20.0L / 80) * (20.0L / 80);
    EXPECT_NEAR(g.fsh, fsh, 1e-12) << helix;
    EXPECT_NEAR(g.FbetaX, std::fabs(1.33L * fsh - 6), 1e-12) << helix;

    // A deflection that the helix deviation cancels: the misalignment is
    // max(0.005 Fmb, 0.5 fHbeta1) = 4 um, with or without helix correction.
    g.FshInput = true;
    g.fsh = 6 / 1.33L;
    CalcLoadFactors();
    EXPECT_NEAR(g.FbetaX, std::max(0.005L * fmb, 0.5L * 8), 1e-12) << helix;
    EXPECT_NEAR(g.FbetaX, 4, 1e-12) << helix;
    // Case-hardened gears run in 0.15 FbetaX; KHbeta = 1 + FbetaY cgamma / (2 Fmb).
    EXPECT_NEAR(g.FbetaY, 4 - 0.6L, 1e-12) << helix;
    EXPECT_NEAR(g.KHbeta, 1 + 3.4L * HandCGamma(g.epsAlpha) / (2 * fmb), 1e-12) << helix;
  }
}

TEST(DinLoadFactors, ContactPatternByTheDimensionlessShaftTerm) {
  PrepareDinPair();
  TSpurGearData& g = SpurGearData;
  g.FshInput = true;
  g.fsh = 20;  // 1.33 fsh = 26.6; fma = fHbeta1 = 8; fHbeta5 = 6
  g.l1 = 100;
  g.s1 = 25;
  g.BearingArrangement = 1;  // K' = 0.8; the shaft is df1 = 70 mm
  const Real stiffness = std::pow(80.0L / 70, 4);
  const Real t1 = 0.8L * 100 * 25 / (80.0L * 80) * stiffness;
  ASSERT_LT(t1, 0.7L);  // 0.53
  g.ContactPatternCode = 3;  // compensated when the term exceeds 1
  CalcLoadFactors();
  EXPECT_NEAR(g.FbetaX, 26.6L + 8, 1e-12);
  g.ContactPatternCode = 4;  // compensated when the term stays below 0.7
  CalcLoadFactors();
  EXPECT_NEAR(g.FbetaX, 26.6L - 6, 1e-12);

  g.BearingArrangement = 3;  // K' = 1.33
  g.s1 = 45;
  const Real t3 = 1.33L * 100 * 45 / (80.0L * 80) * stiffness;
  ASSERT_GT(t3, 1);  // 1.60
  g.ContactPatternCode = 3;
  CalcLoadFactors();
  EXPECT_NEAR(g.FbetaX, 26.6L - 6, 1e-12);
  g.ContactPatternCode = 4;
  CalcLoadFactors();
  EXPECT_NEAR(g.FbetaX, 26.6L + 8, 1e-12);
}

TEST(DinLoadFactors, TransverseLoadFactorFromTheLargerBasePitchDeviation) {
  PrepareDinPair();
  TSpurGearData& g = SpurGearData;
  g.Ft = 3600;  // 180 N/mm
  g.AccuracyGrade[1] = 8;
  g.fpb[1] = 16;
  g.fpb[2] = 9;
  CalcLoadFactors();
  // Case-hardened: y-alpha = mean of min(0.075 fpb, 3).
  const Real ya = (0.075L * 16 + 0.075L * 9) / 2;
  EXPECT_NEAR(g.yAlpha, ya, 1e-15);
  const Real fmb = g.Ft * g.KV / 20;
  const Real f = HandCGamma(g.epsAlpha) * (16 - ya) / fmb / g.KHbeta;
  const Real unlimited = g.epsGamma / 2 * (0.9L + 0.4L * f);
  ASSERT_GT(unlimited, 1);
  ASSERT_LT(unlimited, 3 / (4 - g.epsAlpha));
  EXPECT_NEAR(g.KHalpha, unlimited, 1e-12);
  EXPECT_NEAR(g.KFalpha, unlimited, 1e-12);
  // Which gear carries the larger deviation does not matter.
  g.AccuracyGrade[1] = 6;
  g.AccuracyGrade[2] = 8;
  g.fpb[1] = 9;
  g.fpb[2] = 16;
  CalcLoadFactors();
  EXPECT_NEAR(g.KHalpha, unlimited, 1e-12);
}

// The textbook pair computed whole, 10 kW at 1000 1/min, at accuracy
// grades 8 and 10: the root's transverse load factor has its own limit
// eps-gamma / (0.25 eps-alpha + 0.75), above the flank's
// eps-gamma / (eps-alpha Zeps^2) = 3 / (4 - eps-alpha).
TEST(DinLoadFactors, RootTransverseLoadFactorHasItsOwnLimit) {
  for (const int grade : {8, 10}) {
    calc_test::SetStartPair(1);
    TSpurGearData& g = SpurGearData;
    calc_test::SetTextbookTeeth(g);
    g.CentreDistance = 120;
    g.GeometryMode.fill(2);
    g.TipReduction.fill(0);
    g.AccuracyGrade.fill(grade);
    CalcSpurPair();
    ASSERT_EQ(common::FatalFlag, 0);
    ASSERT_EQ(g.HeatTreatment[1], 2);
    ASSERT_EQ(g.HeatTreatment[2], 2);
    const Real ea = g.epsAlpha;
    const Real flankLimit = 3 / (4 - ea);
    const Real rootLimit = g.epsGamma / (0.25L * ea + 0.75L);
    const Real ya = (std::min(0.075L * g.fpb[1], 3.0L) + std::min(0.075L * g.fpb[2], 3.0L)) / 2;
    const Real fmb = g.Ft * g.KV / g.EffectiveFaceWidth;
    const Real f =
        HandCGamma(ea) * (std::max(g.fpb[1], g.fpb[2]) - ya) / fmb / g.KHbeta;
    const Real unlimited = g.epsGamma / 2 * (0.9L + 0.4L * f);
    EXPECT_NEAR(g.KHalpha, flankLimit, 1e-12) << grade;
    if (grade == 8) {
      ASSERT_GT(unlimited, flankLimit);
      ASSERT_LT(unlimited, rootLimit);
      EXPECT_NEAR(g.KFalpha, unlimited, 1e-12);
    } else {
      ASSERT_GT(unlimited, rootLimit);
      EXPECT_NEAR(g.KFalpha, rootLimit, 1e-12);
      EXPECT_NEAR(g.KFalpha, 1.398L, 5e-4);
      EXPECT_NEAR(g.KHalpha, 1.256L, 5e-4);
    }
    // The root stress carries KFalpha.
    EXPECT_NEAR(g.SigmaF[1], g.SigmaF0[1] * g.KAF * g.KV * g.KFalpha * g.KFbeta, 1e-9);
  }
}

TEST(DinLoadFactors, MainResonanceStartsLowerUnderALightLoad) {
  PrepareDinPair();
  TSpurGearData& g = SpurGearData;
  g.Ft = 1000;  // w = 50 N/mm
  CalcLoadFactors();
  const Real ns = 0.5L + 0.35L * std::sqrt(50.0L / 100);  // 0.7475
  EXPECT_NEAR(g.NS, ns, 1e-15);

  // The terms of the dynamic factor (grade 6, case-hardened, SigmaHlim
  // 1500): y-alpha = min(3, 160 / 1500) for both gears.
  const Real ya = 160.0L / 1500;
  const Real bp = HandCPrime * (9 - ya) / 50;
  const Real bf = HandCPrime * (8 - ya) / 50;
  const Real t = 1500.0L / 97 - 18.45L;
  const Real cay = t * t / 18 + 1.5L;
  const Real bk = std::fabs(1 - HandCPrime * cay / 50);
  ASSERT_LE(g.epsGamma, 2);
  const Real kMain = 0.32L * bp + 0.34L * bf + 0.90L * bk + 1;
  for (const Real n : {0.7L, 0.8L, 1.0L}) {
    g.nUsed[1] = n * g.nE[1];
    CalcLoadFactors();
    const Real expected = n <= ns ? n * (0.32L * bp + 0.34L * bf + 0.23L * bk) + 1 : kMain;
    EXPECT_NEAR(g.KV, expected, 1e-12) << n;
  }
  // From 100 N/mm on the main resonance starts at 0.85.
  g.Ft = 2000;
  CalcLoadFactors();
  EXPECT_EQ(g.NS, 0.85L);
}

TEST(DinLoadFactors, LightLoadRaisesTheLineLoad) {
  PrepareDinPair();
  TSpurGearData& g = SpurGearData;
  g.Ft = 1000;  // 50 N/mm
  CalcLoadFactors();
  EXPECT_TRUE(HasMessage("Warning: Ft/b*KA < 100 !"));
  // Shaft deflection with l1 = d1, s1 = 0: the shaft term is 1, so fsh
  // shows the line load 100 KV.
  EXPECT_NEAR(g.fsh, 100 * g.KV * 0.023L / 16, 1e-12);
  g.Ft = 1500;
  common::ClearErrorMessages();
  common::MsgQuiet = true;
  CalcLoadFactors();
  EXPECT_FALSE(HasMessage("Warning: Ft/b*KA < 100 !"));
  EXPECT_NEAR(g.fsh, 100 * g.KV * 0.023L / 16, 1e-12);
  common::MsgQuiet = false;
}

TEST(DinLoadFactors, ReducedMassNotPositiveGivesMainResonance) {
  PrepareDinPair();
  TSpurGearData& g = SpurGearData;
  g.BodyInnerDiameterUsed[1] = 1.5L * g.dMid[1];
  g.BodyInnerDiameterUsed[2] = 1.5L * g.dMid[2];
  CalcLoadFactors();
  EXPECT_TRUE(HasMessage("Fatal: m red <=0 !"));
  EXPECT_TRUE(HasMessage("Fatal  : ne1=0!"));
  EXPECT_EQ(common::FatalFlag, 0);
  EXPECT_EQ(g.nE[1], 0);
  EXPECT_EQ(g.nE[2], 0);
  EXPECT_TRUE(std::isfinite(g.KV));
  // A body inner diameter equal to the mean diameter would divide by zero.
  common::ClearErrorMessages();
  g.BodyInnerDiameterUsed[2] = g.dMid[2];
  CalcLoadFactors();
  EXPECT_EQ(common::FatalFlag, 1);
  EXPECT_TRUE(HasMessage("Fatal  : 1-q^4 = 0 !"));
}

TEST(DinLoadFactors, FatalInputs) {
  PrepareDinPair();
  TSpurGearData& g = SpurGearData;
  g.rho[2] = 0;
  CalcLoadFactors();
  EXPECT_TRUE(HasMessage("Fatal  : rho = 0 !"));
  EXPECT_EQ(common::FatalFlag, 1);

  PrepareDinPair();
  g.h.fill(0);
  CalcLoadFactors();
  EXPECT_TRUE(HasMessage("Fatal: h0 !"));
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(common::FatalFlag, 1);

  PrepareDinPair();
  g.epsAlpha = 0;
  CalcLoadFactors();
  EXPECT_TRUE(HasMessage("Fatal: eps.alpha <=0 !"));
  EXPECT_EQ(common::FatalFlag, 1);

  PrepareDinPair();
  g.nu40 = 0;
  CalcLoadFactors();
  EXPECT_EQ(common::FatalFlag, 1);
  EXPECT_TRUE(std::isfinite(g.ZL));

  PrepareDinPair();
  g.EffectiveFaceWidth = 0;
  CalcLoadFactors();
  EXPECT_TRUE(HasMessage("Fatal  : beff=0!"));
  EXPECT_EQ(common::FatalFlag, 1);

  PrepareDinPair();
  g.KAF = 0;
  CalcLoadFactors();
  EXPECT_TRUE(HasMessage("Fatal  : KA = 0!"));
  EXPECT_EQ(common::FatalFlag, 1);
}

TEST(DinLoadFactors, SinglePairFactorBelowTwentyTeeth) {
  PrepareDinPair();
  TSpurGearData& g = SpurGearData;
  g.ToothNumbers[1] = 19;
  CalcLoadFactors();
  const Real pbn = Pi * 4 * std::cos(20 * Pi / 180);
  const Real a = (std::sqrt(88 * 88 - g.db[1] * g.db[1]) - 2 * pbn) / g.db[1];
  const Real b = std::tan(20 * Pi / 180) * 3 / 2 - a / 2;
  EXPECT_NEAR(g.ZB, std::max(1.0L, std::tan(20 * Pi / 180) / std::sqrt(a * b)), 1e-12);
}

TEST(DinLoadFactors, HelixFactorBySizeOfTheHelixAngle) {
  for (const Real beta : {15.0L, -15.0L}) {
    PrepareDinPair();
    TSpurGearData& g = SpurGearData;
    g.HelixAngle = beta;
    g.epsBeta = 0.8L;
    CalcLoadFactors();
    EXPECT_NEAR(g.Ybeta, 0.9L, 1e-15) << beta;
  }
  // Overlap above 1: 1 - beta / 120, held at 1 - 0.25 epsBeta.
  PrepareDinPair();
  SpurGearData.HelixAngle = -40;
  SpurGearData.epsBeta = 1.2L;
  CalcLoadFactors();
  EXPECT_NEAR(SpurGearData.Ybeta, 0.7L, 1e-15);
}

TEST(DinLoadFactors, MethodFortyOne) {
  PrepareDinPair(2);
  TSpurGearData& g = SpurGearData;
  CalcLoadFactors();
  EXPECT_NEAR(g.fma, 4, 1e-15);
  EXPECT_NEAR(g.FbetaX, 4, 1e-15);
  EXPECT_NEAR(g.yBeta, 0.6L, 1e-15);
  EXPECT_NEAR(g.ZR, 1.02L * std::pow(std::cbrt(120.0L) / 10, 0.08L), 1e-12);
  // Without a centre distance the roughness factor is 0.
  g.CentreDistance = 0;
  CalcLoadFactors();
  EXPECT_EQ(g.ZR, 0);
}

TEST(DinLoadFactors, WorkHardeningAndLoadAlternations) {
  PrepareDinPair();
  TSpurGearData& g = SpurGearData;
  // A case-hardened pinion with RzFlank 6 on an untreated steel wheel of
  // 300 HB: the wheel's ZW = 1.2 - (300 - 130) / 1700 = 1.1.
  g.HeatTreatment[1] = 2;
  g.HeatTreatment[2] = 0;
  g.MaterialType[2] = 1;
  g.HB[2] = 300;
  g.RzFlank[1] = 6;
  g.LoadAlternations[1] = 1e6L;
  g.LoadAlternations[2] = 1e9L;
  CalcLoadFactors();
  EXPECT_EQ(g.ZW[1], 1);
  EXPECT_NEAR(g.ZW[2], 1.1L, 1e-15);
  EXPECT_NEAR(g.YM[1], 0.8777L, 1e-15);
  EXPECT_EQ(g.YM[2], 1);
  g.RzFlank[1] = 6.01L;
  g.LoadAlternations[1] = -5;
  CalcLoadFactors();
  EXPECT_EQ(g.ZW[2], 1);
  EXPECT_NEAR(g.YM[1], 0.6275L, 1e-15);
}

}  // namespace
}  // namespace calc
