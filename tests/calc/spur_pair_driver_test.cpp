#include "calc/spur_pair_driver.h"

#include <gtest/gtest.h>

#include <string>

#include "calc/spur_gear_data.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/numeric_routines.h"
#include "spur_test_pairs.h"

using namespace calc;
using calc_test::HasMessage;
using calc_test::ResetGlobals;
using calc_test::SetTextbookPair;

namespace {

class SpurPairDriver : public calc_test::TextbookPairTest {};

}  // namespace

TEST_F(SpurPairDriver, TextbookPairWithoutShift) {
  CalcSpurGeometry();
  EXPECT_EQ(common::FatalFlag, 0);
  // The textbook pair has no tooth-thickness tolerance (Tsn 0).
  EXPECT_EQ(common::MsgCount, 2) << calc_test::MessageLines();
  EXPECT_TRUE(HasMessage("Warning: Tsn < 2Rs !  (2)"));
  EXPECT_NEAR(g.CentreDistance, 120, 1e-12);
  EXPECT_NEAR(g.TipDiameter[1], 88, 1e-12);
  EXPECT_NEAR(g.TipDiameter[2], 168, 1e-12);
  EXPECT_NEAR(g.df[1], 70, 1e-12);
  EXPECT_NEAR(g.df[2], 150, 1e-12);
  EXPECT_NEAR(g.epsAlpha, 1.6352, 5e-5);
  EXPECT_EQ(g.SpanToothCount[1], 3);
  EXPECT_EQ(g.SpanToothCount[2], 5);
  EXPECT_NEAR(g.WkNominal[1], 30.6418, 5e-5);
  EXPECT_NEAR(g.WkNominal[2], 55.3793, 5e-5);
  // Picture values: the contact angles lie on both sides of the tooth angle.
  EXPECT_NEAR(g.dwDraw[1], 80, 1e-12);
  EXPECT_GT(g.DrawContactStartAngle, g.DrawStartAngle);
  EXPECT_LT(g.DrawContactEndAngle, g.DrawStartAngle);
  EXPECT_EQ(g.DrawToothAngle, g.DrawStartAngle);
}

TEST_F(SpurPairDriver, TextbookPairWithShift) {
  SetTextbookPair(g, 0.5L, 0.2L);
  CalcSpurGeometry();
  EXPECT_EQ(common::FatalFlag, 0);
  EXPECT_NEAR(common::RadToDeg(g.alphaWt), 23.1101, 5e-5);
  EXPECT_NEAR(g.CentreDistance, 122.6016, 5e-5);
  EXPECT_NEAR(g.epsAlpha, 1.4934, 5e-5);
  EXPECT_NEAR(g.CentreDistance, (g.dw[1] + g.dw[2]) / 2, 1e-12);
}

namespace {

// Every field of the group that the noncircular calculation shares with the
// kernel, one by one (the group has no comparison of its own).
void ExpectSameCoreFields(const SpurCoreFields& a, const SpurCoreFields& b) {
  EXPECT_EQ(a.NormalModule, b.NormalModule);
  EXPECT_EQ(a.ToothNumbers, b.ToothNumbers);
  EXPECT_EQ(a.ProfileShift, b.ProfileShift);
  EXPECT_EQ(a.CentreDistance, b.CentreDistance);
  EXPECT_EQ(a.PressureAngle, b.PressureAngle);
  EXPECT_EQ(a.HelixAngle, b.HelixAngle);
  EXPECT_EQ(a.FaceWidth, b.FaceWidth);
  EXPECT_EQ(a.GearFaceWidth, b.GearFaceWidth);
  EXPECT_EQ(a.GeometryMode, b.GeometryMode);
  EXPECT_EQ(a.ToolKindCode, b.ToolKindCode);
  EXPECT_EQ(a.haP0Factor, b.haP0Factor);
  EXPECT_EQ(a.hfP0Factor, b.hfP0Factor);
  EXPECT_EQ(a.hfP0FactorUsed, b.hfP0FactorUsed);
  EXPECT_EQ(a.rhoaP0Factor, b.rhoaP0Factor);
  EXPECT_EQ(a.alphaPrP0, b.alphaPrP0);
  EXPECT_EQ(a.prP0Factor, b.prP0Factor);
  EXPECT_EQ(a.alphaP0, b.alphaP0);
  EXPECT_EQ(a.ToolProfileName, b.ToolProfileName);
  EXPECT_EQ(a.ToolAngleDiffers, b.ToolAngleDiffers);
  EXPECT_EQ(a.TipDiameterTheoretical, b.TipDiameterTheoretical);
  EXPECT_EQ(a.TipReduction, b.TipReduction);
  EXPECT_EQ(a.TipDiameter, b.TipDiameter);
  EXPECT_EQ(a.SafetySF, b.SafetySF);
  EXPECT_EQ(a.SafetySH, b.SafetySH);
  EXPECT_EQ(a.ResonanceRatio, b.ResonanceRatio);
  EXPECT_EQ(a.CalcMethod, b.CalcMethod);
  EXPECT_EQ(a.DrawingName, b.DrawingName);
  EXPECT_EQ(a.DrawingNumber, b.DrawingNumber);
  EXPECT_EQ(a.DrawingName2, b.DrawingName2);
}

// Runs the geometry twice and expects the second run to change no field
// but the profile-shift sum of the entered centre distance (the tool-profile
// step replaces the entered centre distance by the one of the shifts).
void ExpectSecondRunChangesNothing() {
  TSpurGearData& g = SpurGearData;
  const Real enteredFaceWidth = g.FaceWidth;
  CalcSpurGeometry();
  ASSERT_EQ(common::FatalFlag, 0);
  for (int k = 1; k <= common::MsgCount; ++k) {
    ASSERT_NE(common::MsgText[k].rfind("Fatal", 0), 0u) << common::MsgText[k];
  }
  const TSpurGearData first = g;
  common::ClearErrorMessages();
  CalcSpurGeometry();
  ASSERT_EQ(common::FatalFlag, 0);
  EXPECT_EQ(g.FaceWidth, enteredFaceWidth);
  SpurGeometryFields firstGeometry = first;
  firstGeometry.xSumForA = g.xSumForA;
  EXPECT_TRUE(static_cast<const SpurGeometryFields&>(g) == firstGeometry);
  EXPECT_TRUE(static_cast<const SpurToleranceFields&>(g) ==
              static_cast<const SpurToleranceFields&>(first));
  ExpectSameCoreFields(g, first);
  // The strength inputs that the warnings default.
  EXPECT_EQ(g.RzFlank, first.RzFlank);
  EXPECT_EQ(g.RzRoot, first.RzRoot);
  EXPECT_EQ(g.rho, first.rho);
}

}  // namespace

TEST_F(SpurPairDriver, SecondRunChangesNothing) {
  // Helical pair with series allowances, centre-distance field and a
  // machining allowance; the entered centre distance differs from the one
  // of the shifts.
  SetTextbookPair(g, 0.5L, 0.2L);
  g.HelixAngle = 12;
  g.CentreDistance = 125;
  g.AllowanceSeries.fill(8);
  g.ToleranceSeries.fill(5);
  g.CentreDistanceField = 4;
  g.MachiningAllowance[1] = 0.1L;
  g.MachiningAllowanceTol[1] = 0.05L;
  {
    SCOPED_TRACE("helical, allowances");
    ExpectSecondRunChangesNothing();
  }

  // Internal helical pair, an own tool whose angle differs from alpha, tip
  // from the clearance, DIN tolerances, entered ball and span count, and a
  // tip shortening that snaps to 0.
  ResetGlobals();
  SetTextbookPair(g, 0.2L, 0);
  g.ToothNumbers[2] = -80;
  g.HelixAngle = -15;
  g.CentreDistance = -126;
  g.FaceWidth = 30;
  g.GearFaceWidth[2] = 34;
  g.ToolKindCode.fill(4);
  g.haP0Factor.fill(1.25L);
  g.hfP0Factor.fill(1.0L);
  g.rhoaP0Factor.fill(0.2L);
  g.rhofP0Factor.fill(0.1L);
  g.alphaP0[1] = 22;
  g.hfP0FactorUsed[1] = 0.8L;
  g.GeometryMode[1] = 1;
  g.c[1] = 1.0L;
  g.GeometryMode[2] = 2;
  g.TipReduction[2] = 0.0004L;
  g.AllowanceSeries.fill(6);
  g.ToleranceSeries.fill(7);
  g.CentreDistanceField = 6;
  g.ToleranceStandard = 0;
  g.AccuracyGrade[2] = 9;
  g.AutoBallDiameter = 0;
  g.BallDiameter.fill(7);
  g.SpanToothCount[1] = 4;
  {
    SCOPED_TRACE("internal, own tool");
    ExpectSecondRunChangesNothing();
  }

  // Protuberance tool, given tip diameters, own allowances.
  ResetGlobals();
  SetTextbookPair(g, 0.3L, -0.1L);
  g.ToolKindCode.fill(3);
  g.GeometryMode.fill(3);
  g.TipDiameter[1] = 89.5L;
  g.TipDiameter[2] = 166;
  g.AsnUpper.fill(-0.05L);
  g.AsnLower.fill(-0.12L);
  g.CentreDistanceField = 9;
  g.Aae = 0.03L;
  g.Aai = -0.01L;
  {
    SCOPED_TRACE("protuberance, given tips");
    ExpectSecondRunChangesNothing();
  }
}

TEST_F(SpurPairDriver, FatalInputStopsEveryLaterStep) {
  g.PressureAngle = 4.99L;
  g.df.fill(-1);
  g.epsAlpha = -1;
  g.HB[1] = 600;
  g.HBmin = 0;
  CalcSpurPair();
  EXPECT_EQ(g.HBmin, 0);  // no strength step
  EXPECT_EQ(common::FatalFlag, 1);
  ASSERT_EQ(common::MsgCount, 1);
  EXPECT_EQ(common::MsgText[1], "Fatal  : alpha !");
  EXPECT_EQ(g.df[1], -1);       // tool profile did not run
  EXPECT_EQ(g.epsAlpha, -1);    // nor the contact geometry
}

TEST_F(SpurPairDriver, CompletePairClearsFlagsFirstAndRunsStrength) {
  common::AbortFlag = 1;
  common::FatalFlag = 1;
  common::AddErrorMessage("Warning: old");
  g.HB[1] = 600;
  g.HBmin = 0;
  CalcSpurPair();
  EXPECT_FALSE(HasMessage("Warning: old"));
  EXPECT_NEAR(g.epsAlpha, 1.6352, 5e-5);
  EXPECT_EQ(g.HBmin, 600);  // the strength step ran
}

TEST_F(SpurPairDriver, AbortFlagStopsAfterToolProfile) {
  common::AbortFlag = 1;
  g.epsAlpha = -1;
  g.xEmean.fill(7);
  CalcSpurGeometry();
  EXPECT_EQ(common::FatalFlag, 0);
  EXPECT_NEAR(g.df[1], 70, 1e-12);  // steps 1 to 3 ran
  EXPECT_EQ(g.epsAlpha, -1);        // steps 4 to 7 did not
  EXPECT_EQ(g.xEmean[1], 7);
}

TEST_F(SpurPairDriver, PictureValuesWithoutOrImpossibleCentreDistance) {
  CalcSpurGeometry();
  ASSERT_EQ(common::FatalFlag, 0);
  g.aDraw = 0;
  GearArray<Real> xm{};
  CalcAuxDiameters(xm);
  EXPECT_NEAR(g.dwDraw[1], g.d[1], 1e-12);
  EXPECT_NEAR(g.dwDraw[2], g.d[2], 1e-12);

  // A centre distance below what the base circles allow: message once,
  // not fatal, picture values kept.
  g.aDraw = 100;
  g.dwDraw.fill(5);
  CalcAuxDiameters(xm);
  CalcAuxDiameters(xm);
  EXPECT_EQ(common::FatalFlag, 0);
  const int count = common::MsgCount;  // after the two of the geometry (Tsn 0)
  EXPECT_EQ(count, 3) << calc_test::MessageLines();
  EXPECT_EQ(common::MsgText[count], "Error  : confgraf");
  EXPECT_EQ(g.dwDraw[1], 5);
  g.aDraw = -120;  // opposite sign to d1 + d2
  CalcAuxDiameters(xm);
  EXPECT_EQ(common::MsgCount, count);
}

TEST_F(SpurPairDriver, MachiningAllowanceDrawsThePreCut) {
  g.MachiningAllowance.fill(0.2L);
  g.MachiningAllowanceTol.fill(0.1L);
  CalcSpurGeometry();
  ASSERT_EQ(common::FatalFlag, 0);
  EXPECT_NEAR(g.dfMean[1], g.d[1] - 2 * g.hfP[1] + (g.xEmax[1] + g.xEmin[1]) * 4, 1e-12);
  EXPECT_GT(g.dfMean[1], g.dfNoAllowance[1]);
}

TEST_F(SpurPairDriver, InternalAndHelicalPairsComputeCompletely) {
  struct Case {
    int z2;
    Real beta, a, x1, x2;
  };
  const Case cases[] = {{-80, 0, -120, 0, 0}, {40, 15, 124.2, 0.3L, 0.1L}, {-80, 20, -127.7, 0.2L, 0}};
  for (const Case& c : cases) {
    SetUp();
    g.ToothNumbers[2] = c.z2;
    g.HelixAngle = c.beta;
    g.FaceWidth = 60;  // overlap ratio above 1 for the helical pairs
    g.CentreDistance = c.a;
    g.ProfileShift[1] = c.x1;
    g.ProfileShift[2] = c.x2;
    g.AllowanceSeries.fill(6);
    g.ToleranceSeries.fill(6);
    g.CentreDistanceField = 5;
    CalcSpurGeometry();
    SCOPED_TRACE(c.z2 + c.beta);
    EXPECT_EQ(common::FatalFlag, 0);
    for (int k = 1; k <= common::MsgCount; ++k) ADD_FAILURE() << common::MsgText[k];
    // No value is left non-finite (a NaN compares unequal to itself).
    const SpurGeometryFields& geometry = g;
    EXPECT_TRUE(geometry == geometry);
    EXPECT_GT(g.epsAlpha, 1);
    EXPECT_GT(g.WkUpper[2] * c.z2, 0);  // span of an internal gear: negative
    EXPECT_NEAR(g.CentreDistance, (g.dw[1] + g.dw[2]) / 2, 1e-12);
    if (c.beta > 0) {
      EXPECT_GT(g.epsBeta, 0);
    }
  }
}
