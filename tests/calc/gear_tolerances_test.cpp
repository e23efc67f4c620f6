#include "calc/gear_tolerances.h"

#include <gtest/gtest.h>

#include <cmath>

#include "calc/spur_gear_data.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "spur_test_pairs.h"

using namespace calc;

namespace {

// One gear pair as the tolerance step sees it after the geometry steps.
void SetPair(Real mn, int z1, int z2, Real b, int grade, int standard) {
  calc_test::ResetGlobals();
  TSpurGearData& g = SpurGearData;
  g.NormalModule = mn;
  g.ToothNumbers[1] = z1;
  g.ToothNumbers[2] = z2;
  for (int i = 1; i <= 2; ++i) {
    g.d[i] = mn * g.ToothNumbers[i];
    g.df[i] = 0.9L * g.d[i];
    g.GearFaceWidth[i] = b;
    g.AccuracyGrade[i] = grade;
    g.Tsn[i] = 0.2L;
  }
  g.ToleranceStandard = standard;
}

std::string Messages() {
  std::string all;
  for (int k = 1; k <= common::MsgCount; ++k) all += common::MsgText[k] + "|";
  return all;
}

using calc_test::HasMessage;

}  // namespace

TEST(GearTolerances, IsoWorkedExampleGrade5) {
  SetPair(2, 30, 30, 20, 5, 1);
  CalcGearTolerances();
  const TSpurGearData& g = SpurGearData;
  for (int i = 1; i <= 2; ++i) {
    EXPECT_NEAR(g.ffalpha[i], 6.0L, 1e-12L);
    EXPECT_NEAR(g.fHalpha[i], 4.9L, 1e-12L);
    EXPECT_NEAR(g.Falpha[i], 7.5L, 1e-12L);
    EXPECT_NEAR(g.fpb[i], 6.0L, 1e-12L);
    EXPECT_NEAR(g.fu[i], 8.485L, 5e-4L);
    EXPECT_NEAR(g.Fp[i], 18, 1e-12L);
    EXPECT_NEAR(g.FpSector[i], 12, 1e-12L);
    EXPECT_NEAR(g.FrRunout[i], 16.2L, 1e-12L);
    EXPECT_NEAR(g.Rs[i], 9.5L, 1e-12L);
    EXPECT_NEAR(g.fHbeta[i], 6.0L, 1e-12L);
    EXPECT_NEAR(g.ffbeta[i], 6.5L, 1e-12L);
    EXPECT_NEAR(g.Fbeta[i], 8.846L, 5e-4L);
    EXPECT_NEAR(g.fisTooth[i], 6.0L, 1e-12L);
    EXPECT_NEAR(g.FisTotal[i], 24, 1e-12L);
    EXPECT_NEAR(g.fiTooth[i], 7.0L, 1e-12L);
    EXPECT_NEAR(g.FiTotal[i], 21, 1e-12L);
  }
  EXPECT_NEAR(g.fHbeta5, 6.0L, 1e-12L);
  EXPECT_EQ(common::MsgCount, 0) << Messages();
}

TEST(GearTolerances, IsoWorkedExampleGrade7AndLowGrade) {
  SetPair(2, 30, 30, 20, 7, 1);
  CalcGearTolerances();
  const TSpurGearData& g = SpurGearData;
  EXPECT_NEAR(g.ffalpha[1], 12, 1e-12L);
  EXPECT_NEAR(g.fHalpha[1], 9.5L, 1e-12L);
  EXPECT_NEAR(g.Falpha[1], 15, 1e-12L);
  EXPECT_NEAR(g.fpb[1], 12, 1e-12L);
  EXPECT_NEAR(g.Fp[1], 36, 1e-12L);
  EXPECT_NEAR(g.FpSector[1], 24, 1e-12L);
  EXPECT_NEAR(g.Rs[1], 19, 1e-12L);
  EXPECT_NEAR(g.fHbeta[1], 12, 1e-12L);
  EXPECT_NEAR(g.ffbeta[1], 13, 1e-12L);
  EXPECT_NEAR(g.fiTooth[1], 14, 1e-12L);
  EXPECT_NEAR(g.FiTotal[1], 41, 1e-12L);
  EXPECT_NEAR(g.fHbeta5, 6.0L, 1e-12L);  // always grade 5
  // Grade 3: half the class-5 base values (before rounding).
  SetPair(2, 30, 30, 20, 3, 1);
  CalcGearTolerances();
  EXPECT_NEAR(g.fpb[1], 3.0L, 1e-12L);   // R(5.86) x 0.5
  EXPECT_NEAR(g.fHalpha[1], 2.4L, 1e-12L);  // R(2.43)
}

TEST(GearTolerances, IsoValidityWarnings) {
  // Bounds are inclusive.
  SetPair(0.5L, 10, 10, 20, 6, 1);
  SpurGearData.ToothNumbers[1] = 5;
  SpurGearData.d[1] = 5;
  SpurGearData.d[2] = 15000;
  CalcGearTolerances();
  EXPECT_FALSE(HasMessage("Warning: Fr: (5<=z<=1000)"));
  EXPECT_FALSE(HasMessage("Warning: Fr: (5<=d<=15000)"));
  EXPECT_FALSE(HasMessage("Warning: Fr: (0.5<=mn<=70)"));
  SetPair(70, 10, 10, 20, 6, 1);
  CalcGearTolerances();
  EXPECT_FALSE(HasMessage("Warning: Fr: (0.5<=mn<=70)"));
  // z 401 gives only the single-flank z warning; an internal gear is tested
  // by the magnitude of z.
  SetPair(2, 401, -30, 20, 6, 1);
  SpurGearData.d[1] = 100;
  CalcGearTolerances();
  ASSERT_EQ(common::MsgCount, 1) << Messages();
  EXPECT_EQ(common::MsgText[1], "Warning: fis: (5<=z<=400)");
  // mn 0.9 only the single-flank module warning.
  SetPair(0.9L, 30, 40, 20, 6, 1);
  CalcGearTolerances();
  ASSERT_EQ(common::MsgCount, 1) << Messages();
  EXPECT_EQ(common::MsgText[1], "Warning: fis: (1<=mn<=50)");
  // Out of every range: each text once although both gears raise it.
  SetPair(80, 2, 2000, 20, 6, 1);
  CalcGearTolerances();
  EXPECT_TRUE(HasMessage("Warning: Fr: (5<=z<=1000)"));
  EXPECT_TRUE(HasMessage("Warning: Fr: (5<=d<=15000)"));
  EXPECT_TRUE(HasMessage("Warning: Fr: (0.5<=mn<=70)"));
  EXPECT_TRUE(HasMessage("Warning: fis: (5<=z<=400)"));
  EXPECT_TRUE(HasMessage("Warning: fis: (5<=d<=2500)"));
  EXPECT_TRUE(HasMessage("Warning: fis: (1<=mn<=50)"));
  // Tsn 0.2 mm does not cover twice the variation Rs of the large gear.
  EXPECT_TRUE(HasMessage("Warning: Tsn < 2Rs !  (2)"));
  EXPECT_EQ(common::MsgCount, 7) << Messages();
  // Quiet: no warnings, the values are still computed.
  SetPair(80, 2, 2000, 20, 6, 1);
  common::MsgQuiet = true;
  CalcGearTolerances();
  EXPECT_EQ(common::MsgCount, 0) << Messages();
  EXPECT_GT(SpurGearData.Fp[2], 0);
  common::MsgQuiet = false;
}

TEST(GearTolerances, DinExampleAndGradeSteps) {
  SetPair(2, 30, 30, 20, 5, 0);
  CalcGearTolerances();
  TSpurGearData& g = SpurGearData;
  const Real A = 0.25L * (2 + 9 * std::sqrt(2.0L)) + 1.5L;
  EXPECT_NEAR(g.ffalpha[1], 5.182L, 5e-4L);
  EXPECT_NEAR(g.ffalpha[1], A, 1e-15L);
  EXPECT_NEAR(g.fHalpha[1], 4.061L, 5e-4L);
  EXPECT_NEAR(g.Falpha[1], std::hypot(g.ffalpha[1], g.fHalpha[1]), 1e-12L);
  EXPECT_NEAR(g.Fp[1], 7.25L * std::cbrt(60.0L) / std::pow(30.0L, 1.0L / 7), 1e-12L);
  EXPECT_NEAR(g.FisTotal[1], 0.8L * (g.Fp[1] + g.Falpha[1]), 1e-12L);
  EXPECT_NEAR(g.fisTooth[1], 0.7L * (g.fpb[1] + g.Falpha[1]), 1e-12L);
  const Real ff5 = g.ffalpha[1], fr5 = g.FrRunout[1], fi5 = g.fiTooth[1];
  EXPECT_NEAR(g.fHbeta5, 4.16L * std::pow(20.0L, 0.14L), 1e-12L);
  EXPECT_NEAR(g.fHbeta[1], g.fHbeta5, 1e-12L);
  // Grade 10: profile and pitch step 1.6 above grade 9, runout stays at 1.4.
  for (int i = 1; i <= 2; ++i) g.AccuracyGrade[i] = 10;
  CalcGearTolerances();
  EXPECT_NEAR(g.ffalpha[1] / ff5, 6.147L, 5e-4L);
  EXPECT_NEAR(g.FrRunout[1] / fr5, 5.378L, 5e-4L);
  EXPECT_NEAR(g.fiTooth[1] / fi5, std::pow(1.4L, 5), 1e-12L);
  // Helix: grade 9 is 1.55 (slope) and 1.6 (total) times grade 8.
  for (int i = 1; i <= 2; ++i) g.AccuracyGrade[i] = 8;
  CalcGearTolerances();
  const Real fH8 = g.fHbeta[1], Fb8 = g.Fbeta[1];
  EXPECT_NEAR(g.ffbeta[1], std::sqrt(Fb8 * Fb8 - fH8 * fH8), 1e-12L);
  for (int i = 1; i <= 2; ++i) g.AccuracyGrade[i] = 9;
  CalcGearTolerances();
  EXPECT_NEAR(g.fHbeta[1] / fH8, 1.55L, 1e-15L);
  EXPECT_NEAR(g.Fbeta[1] / Fb8, 1.6L, 1e-15L);
  // Continuity of the helix factors at grades 6 and 7.
  for (int i = 1; i <= 2; ++i) g.AccuracyGrade[i] = 6;
  CalcGearTolerances();
  const Real fH6 = g.fHbeta[1], Fb6 = g.Fbeta[1];
  for (int i = 1; i <= 2; ++i) g.AccuracyGrade[i] = 7;
  CalcGearTolerances();
  EXPECT_NEAR(g.fHbeta[1] / fH6, 1.4L, 1e-15L);
  EXPECT_NEAR(g.Fbeta[1] / Fb6, 1.4L, 1e-15L);
  EXPECT_NEAR(Fb6 / (0.8L * std::sqrt(20.0L) + 4), 1.25L, 1e-15L);
  EXPECT_EQ(common::MsgCount, 0) << Messages();
}

TEST(GearTolerances, DinToothThicknessWarning) {
  SetPair(2, 30, 31, 20, 9, 0);
  CalcGearTolerances();
  TSpurGearData& g = SpurGearData;
  EXPECT_EQ(common::MsgCount, 0) << Messages();
  // Tsn exactly 2 Rs / 1000 gives none; just below gives one per gear.
  g.Tsn[1] = 2 * g.Rs[1] / 1000;
  g.Tsn[2] = 0.9L * 2 * g.Rs[2] / 1000;
  CalcGearTolerances();
  ASSERT_EQ(common::MsgCount, 1) << Messages();
  EXPECT_EQ(common::MsgText[1], "Warning: Tsn < 2Rs !  (2)");
  g.Tsn[1] = 0;
  CalcGearTolerances();
  EXPECT_TRUE(HasMessage("Warning: Tsn < 2Rs !  (1)"));
  EXPECT_EQ(common::MsgCount, 2);
  // Modules below 1 never give it.
  SetPair(0.8L, 30, 31, 20, 9, 0);
  SpurGearData.Tsn[1] = 0;
  CalcGearTolerances();
  EXPECT_EQ(common::MsgCount, 0) << Messages();
}

TEST(GearTolerances, RootCheckAndStepEntry) {
  SetPair(2, 30, -60, 20, 6, 1);
  SpurGearData.df[1] = 0;
  SpurGearData.df[2] = -5;  // internal gear: a negative root diameter is normal
  common::MsgQuiet = true;   // not subject to the quiet flag
  CalcGearTolerances();
  common::MsgQuiet = false;
  ASSERT_EQ(common::MsgCount, 1) << Messages();
  EXPECT_EQ(common::MsgText[1], "Invalid Data !");
  EXPECT_EQ(common::FatalFlag, 0);
  // With FatalFlag set on entry the step leaves every result alone.
  SetPair(2, 30, 30, 20, 6, 1);
  SpurGearData.Fp[1] = -1;
  common::FatalFlag = 1;
  CalcMeasuresTolerances();
  EXPECT_EQ(SpurGearData.Fp[1], -1);
  EXPECT_EQ(common::MsgCount, 0) << Messages();
}
