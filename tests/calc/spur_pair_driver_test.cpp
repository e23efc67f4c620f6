#include "calc/spur_pair_driver.h"

#include <gtest/gtest.h>

#include <string>

#include "calc/spur_gear_data.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/numeric_routines.h"
#include "spur_pair_driver_test_pair.h"

using namespace calc;
using calc_test::ResetGlobals;
using calc_test::SetTextbookPair;

namespace {

bool HasMessage(const std::string& text) {
  for (int k = 1; k <= common::MsgCount; ++k) {
    if (common::MsgText[k] == text) return true;
  }
  return false;
}

class SpurPairDriver : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGlobals();
    SetTextbookPair(SpurGearData);
  }
  TSpurGearData& g = SpurGearData;
};

}  // namespace

TEST_F(SpurPairDriver, TextbookPairWithoutShift) {
  CalcSpurGeometry();
  EXPECT_EQ(common::FatalFlag, 0);
  EXPECT_EQ(common::MsgCount, 0);
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

TEST_F(SpurPairDriver, SecondRunChangesNothing) {
  SetTextbookPair(g, 0.5L, 0.2L);
  g.HelixAngle = 12;
  g.CentreDistance = 125;  // entered value is replaced by the one of the shifts
  g.AllowanceSeries.fill(8);
  g.ToleranceSeries.fill(5);
  g.CentreDistanceField = 4;
  g.MachiningAllowance[1] = 0.1L;
  g.MachiningAllowanceTol[1] = 0.05L;
  CalcSpurGeometry();
  ASSERT_EQ(common::FatalFlag, 0);
  const TSpurGearData first = g;
  common::ClearErrorMessages();
  CalcSpurGeometry();
  ASSERT_EQ(common::FatalFlag, 0);
  // Only the profile-shift sum that the entered centre distance needs
  // follows the entered value, which the first run replaced.
  SpurGeometryFields firstGeometry = first;
  firstGeometry.xSumForA = g.xSumForA;
  EXPECT_TRUE(static_cast<const SpurGeometryFields&>(g) == firstGeometry);
  EXPECT_EQ(g.FaceWidth, 20);
  EXPECT_EQ(g.CentreDistance, first.CentreDistance);
  EXPECT_EQ(g.TipDiameter, first.TipDiameter);
  EXPECT_EQ(g.Aae, first.Aae);
  EXPECT_EQ(g.WkUpper, first.WkUpper);
  EXPECT_EQ(g.MdKLower, first.MdKLower);
  EXPECT_EQ(g.fpb, first.fpb);
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
  EXPECT_EQ(common::MsgCount, 1);
  EXPECT_EQ(common::MsgText[1], "Error  : confgraf");
  EXPECT_EQ(g.dwDraw[1], 5);
  g.aDraw = -120;  // opposite sign to d1 + d2
  CalcAuxDiameters(xm);
  EXPECT_EQ(common::MsgCount, 1);
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
    if (c.beta > 0) EXPECT_GT(g.epsBeta, 0);
  }
}
