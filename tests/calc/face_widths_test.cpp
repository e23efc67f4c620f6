#include "calc/face_widths.h"

#include <gtest/gtest.h>

#include "calc/spur_gear_data.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "spur_test_pairs.h"

using namespace calc;

namespace {

class FaceWidths : public ::testing::Test {
 protected:
  void SetUp() override {
    calc_test::ResetGlobals();
    calc_test::SetTextbookTeeth(g);
    g.FaceWidth = 20;
    g.GearFaceWidth.fill(20);
    g.EndChamfer.fill(0);
    g.AxialOffset = 0;
  }
  TSpurGearData& g = SpurGearData;
};

}  // namespace

TEST_F(FaceWidths, RunningInAllowance) {
  g.FbetaX = 100;
  // Through-hardened steel (material 3, heat treatment 1), SigmaHlim 500:
  // 320/500 x = 64 um; above 5 m/s capped by 25600/500 = 51.2, above
  // 10 m/s by 12800/500 = 25.6.
  g.v = 5;
  EXPECT_NEAR(RunningInAllowanceYbeta(3, 1, 500), 64, 1e-12);
  g.v = 10;
  EXPECT_NEAR(RunningInAllowanceYbeta(3, 1, 500), 51.2L, 1e-12);
  g.v = 10.01L;
  EXPECT_NEAR(RunningInAllowanceYbeta(3, 1, 500), 25.6L, 1e-12);
  // Ferritic cast iron: 0.55 x, capped only strictly between 5 and 10 m/s.
  g.v = 10;
  EXPECT_NEAR(RunningInAllowanceYbeta(5, 0, 500), 55, 1e-12);
  g.v = 7;
  EXPECT_NEAR(RunningInAllowanceYbeta(5, 0, 500), 45, 1e-12);
  // Grey cast iron alike (DIN 3990-1 gives both 0.55 x), not the steel
  // rule 320/SigmaHlim x.
  EXPECT_NEAR(RunningInAllowanceYbeta(6, 0, 360), 45, 1e-12);
  g.v = 4;
  EXPECT_NEAR(RunningInAllowanceYbeta(6, 0, 360), 55, 1e-12);
  // Hardened or nitrided: 0.15 x, at most 6, whatever the material.
  EXPECT_NEAR(RunningInAllowanceYbeta(5, 2, 500), 6, 1e-12);
  g.FbetaX = 20;
  EXPECT_NEAR(RunningInAllowanceYbeta(1, 7, 1500), 3, 1e-12);
  // Small misalignment: the allowance is never larger than it.
  g.FbetaX = 10;
  EXPECT_NEAR(RunningInAllowanceYbeta(1, 0, 200), 10, 1e-12);
}

TEST_F(FaceWidths, MaterialFactors) {
  EXPECT_NEAR(CalcWorkHardeningFactorZWSimple(300), 1.2L - 170 / 1700.0L, 1e-15);
  EXPECT_EQ(CalcWorkHardeningFactorZWSimple(100), 1.2L);
  EXPECT_EQ(CalcWorkHardeningFactorZWSimple(740), 1.0L);
  EXPECT_NEAR(CalcRunningInConstantCay(1789.65L), 1.5L, 1e-12);  // 97 * 18.45
}

TEST_F(FaceWidths, EqualCentredGears) {
  CalcFaceWidths();
  EXPECT_EQ(common::FatalFlag, 0);
  EXPECT_EQ(g.EffectiveFaceWidth, 20);
  EXPECT_EQ(g.RootFaceWidth[1], 20);
  EXPECT_EQ(g.RootFaceWidth[2], 20);
}

TEST_F(FaceWidths, ChamfersOffsetAndEnteredWidth) {
  g.GearFaceWidth[2] = 30;
  g.EndChamfer[1] = 8;     // exactly 0.4 b stays
  g.EndChamfer[2] = 12.1L; // more than 0.4 b is not taken into account
  g.AxialOffset = 5;
  CalcFaceWidths();
  EXPECT_EQ(g.EndChamfer[1], 8);
  EXPECT_EQ(g.EndChamfer[2], 12.1L);  // but the entered value stays
  // w1 = 4 centred at 0: -2..2; gear 2 -10..20: overlap 4.
  EXPECT_NEAR(g.EffectiveFaceWidth, 4, 1e-15);
  EXPECT_NEAR(g.RootFaceWidth[1], 12, 1e-15);  // -6..6 within -10..10
  EXPECT_NEAR(g.RootFaceWidth[2], 12, 1e-15);  // -6..6 within -10..20
  EXPECT_EQ(g.FaceWidth, 20);                  // the entered width stays
  CalcFaceWidths();
  EXPECT_NEAR(g.EffectiveFaceWidth, 4, 1e-15);
}

TEST_F(FaceWidths, NoOverlapIsFatal) {
  g.AxialOffset = 20;
  CalcFaceWidths();
  EXPECT_EQ(common::FatalFlag, 1);
  EXPECT_EQ(common::MsgText[1], "Fatal  : beff=0!");
  EXPECT_EQ(g.FaceWidth, 20);
}

TEST_F(FaceWidths, StrengthFormDefaults) {
  g.df[1] = 70;
  g.df[2] = 150;
  g.h[1] = g.h[2] = 9;
  g.SigmaFE.fill(800);
  g.BoreDiameter.fill(0);
  EXPECT_EQ(DefaultHubFactor(), 60);
  g.T[1] = 0;
  EXPECT_EQ(DefaultBoreDiameter(), 35);  // half the root diameter
  // 16 T / (pi 0.3 SigmaFE) for 1000 N m: cube root 27.7 -> 28, then the
  // mean with the root diameter.
  g.T[1] = 1000;
  EXPECT_EQ(DefaultBoreDiameter(), 49);
  g.T[1] = 20000;  // shaft beyond the root diameter
  EXPECT_EQ(DefaultBoreDiameter(), 70);

  // Without a bore the rim test has no ratio; df - 3h = 123.
  EXPECT_EQ(DefaultRimDiameter(2), 123);
  g.BoreDiameter[2] = 60;  // 150 / 60 < 3: the bore
  EXPECT_EQ(DefaultRimDiameter(2), 60);
  g.BoreDiameter[2] = 40;
  EXPECT_EQ(DefaultRimDiameter(2), 123);
  g.h[2] = 8.75L;  // 123.75 -> 124; 0.5 rounds to even
  EXPECT_EQ(DefaultRimDiameter(2), 124);
  g.df[2] = 150.5L;
  g.h[2] = 9;
  EXPECT_EQ(DefaultRimDiameter(2), 124);  // 123.5 -> 124
  g.df[2] = 149.5L;
  EXPECT_EQ(DefaultRimDiameter(2), 122);  // 122.5 -> 122

  // Internal gear 2: the ring's outer diameter, else df - 3h (negative).
  g.ToothNumbers[2] = -40;
  g.df[2] = -170;
  g.BoreDiameter[2] = 0;
  EXPECT_EQ(DefaultRimDiameter(2), -197);
  g.BoreDiameter[2] = -220;
  EXPECT_EQ(DefaultRimDiameter(2), -220);

  // Pinion is gear 2 when it is the smaller external gear.
  g.ToothNumbers[1] = 50;
  g.ToothNumbers[2] = 20;
  g.GearFaceWidth[2] = 22;
  g.df[2] = 70;
  g.BoreDiameter[2] = 0;
  EXPECT_EQ(DefaultHubFactor(), 44);
  EXPECT_EQ(DefaultBoreDiameter(), 49);
  g.BoreDiameter[2] = 30;
  EXPECT_EQ(DefaultBoreDiameter(), 30);
}
