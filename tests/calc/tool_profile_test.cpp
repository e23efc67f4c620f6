#include "calc/tool_profile.h"

#include <gtest/gtest.h>

#include <cmath>

#include "calc/basic_geometry.h"
#include "calc/spur_gear_data.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "spur_test_pairs.h"

using namespace calc;

namespace {

class ToolProfile : public calc_test::TextbookPairTest {};

}  // namespace

TEST_F(ToolProfile, ToolKinds) {
  g.ToolKindCode[1] = 3;
  g.ToolKindCode[2] = 5;
  g.haP0Factor[2] = 1.3L;
  g.rhoaP0Factor[2] = 0.3L;
  g.alphaPrP0[2] = 4;
  g.prP0Factor[2] = 0.03L;
  RunThroughToolProfile();
  EXPECT_EQ(g.ToolProfileName[1], "Protub.");
  EXPECT_EQ(g.alphaPrP0[1], 6);
  EXPECT_NEAR(g.prP0[1], 0.02L * 4, 1e-15);
  EXPECT_NEAR(g.hfP[1], 1.4L * 4, 1e-15);  // tool addendum = gear dedendum
  EXPECT_EQ(g.ToolProfileName[2], "Normal");
  EXPECT_EQ(g.haP0Factor[2], 1.3L);  // entered tool kept ...
  EXPECT_EQ(g.rhoaP0Factor[2], 0.3L);
  EXPECT_EQ(g.alphaPrP0[2], 0);       // ... without protuberance
  EXPECT_EQ(g.prP0[2], 0);
  g.ToolKindCode[2] = 4;
  RunThroughToolProfile();
  EXPECT_EQ(g.ToolProfileName[2], "");
}

TEST_F(ToolProfile, ToolAngleDiffersFromOneThousandth) {
  g.ToolKindCode.fill(4);
  g.hfP0FactorUsed.fill(0.8L);
  g.alphaP0[1] = 20.0009L;
  g.alphaP0[2] = 20.001L;
  RunThroughToolProfile();
  EXPECT_EQ(g.ToolAngleDiffers[1], 0);
  EXPECT_EQ(g.hfP0FactorUsed[1], 1.0L);  // equal angles: the full dedendum
  EXPECT_EQ(g.ToolAngleDiffers[2], 1);
  EXPECT_EQ(g.hfP0FactorUsed[2], 0.8L);
  EXPECT_NEAR(g.hfP0Used[2], 3.2L, 1e-15);
}

TEST_F(ToolProfile, SeriesAllowancesBacklashAndCentreDistanceField) {
  g.AllowanceSeries.fill(8);  // e
  g.ToleranceSeries.fill(5);  // 25
  g.CentreDistanceField = 4;  // js 7
  RunThroughToolProfile();
  // d1 = 80 (50..125 mm): e = 40 um, Tsn 25 = 40 um; d2 = 160: 56 and 50 um.
  EXPECT_NEAR(g.AsnUpper[1], -0.040L, 1e-15);
  EXPECT_NEAR(g.AsnLower[1], -0.080L, 1e-15);
  EXPECT_NEAR(g.Tsn[2], 0.050L, 1e-15);
  EXPECT_EQ(g.ToothThicknessSeriesName[1], "e 25");
  EXPECT_EQ(g.CentreDistanceFieldName, "js 7");
  // IT7 for 120 mm (80..120) is 35 um: +-17.5 um.
  EXPECT_NEAR(g.Aae, 0.0175L, 1e-15);
  EXPECT_NEAR(g.Aai, -0.0175L, 1e-15);
  const Real t = std::tan(common::Pi / 9);
  EXPECT_NEAR(g.jtMin, 2 * t * -0.0175L + 0.040L + 0.056L, 1e-15);
  EXPECT_NEAR(g.jtMax, 2 * t * 0.0175L + 0.080L + 0.106L, 1e-15);
  EXPECT_NEAR(g.jnMin, std::cos(common::Pi / 9) * g.jtMin, 1e-15);
  EXPECT_NEAR(g.jrMax, g.jtMax / (2 * std::tan(g.alphaWt)), 1e-15);
  EXPECT_NEAR(g.xEa[1], -0.040L / (2 * t * 4), 1e-15);
  EXPECT_EQ(g.xEmax[1], g.xEa[1]);
  EXPECT_EQ(g.xEmin[1], g.xEb[1]);
  // The limits of the centre distance open and close the working angle.
  EXPECT_GT(g.alphaWtAtUpperA, g.alphaWt);
  EXPECT_LT(g.alphaWtAtLowerA, g.alphaWt);
  EXPECT_GT(g.dwAtUpperA[1], g.dw[1]);

  // Own values (series 11) stay.
  g.ToleranceSeries[1] = 11;
  g.AsnUpper[1] = -0.1L;
  g.AsnLower[1] = -0.15L;
  RunThroughToolProfile();
  EXPECT_NEAR(g.Tsn[1], 0.05L, 1e-15);
  EXPECT_EQ(g.AsnUpper[1], -0.1L);
  EXPECT_EQ(g.ToothThicknessSeriesName[1], "");
  // Series 0 takes the series allowance without tolerance, then becomes 11.
  g.ToleranceSeries[1] = 0;
  RunThroughToolProfile();
  EXPECT_EQ(g.ToleranceSeries[1], 11);
  EXPECT_EQ(g.Tsn[1], 0);
  EXPECT_NEAR(g.AsnLower[1], -0.040L, 1e-15);
}

TEST_F(ToolProfile, MachiningAllowance) {
  g.AllowanceSeries.fill(8);
  g.ToleranceSeries.fill(5);
  g.MachiningAllowance[1] = 1e-5L;  // counts as an allowance
  g.MachiningAllowanceTol[1] = 0.01L;
  g.MachiningAllowance[2] = 0.99e-5L;  // does not
  g.MachiningAllowanceTol[2] = 0.5L;
  RunThroughToolProfile();
  const Real s = std::sin(common::Pi / 9) * 4;
  EXPECT_NEAR(g.xEmin[1], g.xEa[1] + 1e-5L / s, 1e-15);
  EXPECT_NEAR(g.xEmax[1], g.xEa[1] + (1e-5L + 0.01L) / s, 1e-15);
  ASSERT_EQ(common::MsgCount, 1);  // 0.01 < Tsn / 2 = 0.02
  EXPECT_EQ(common::MsgText[1], "Warning: q tol < Tsn/2  (1)");
  EXPECT_EQ(g.MachiningAllowance[2], 0);
  EXPECT_EQ(g.MachiningAllowanceTol[2], 0);
  EXPECT_EQ(g.xEmax[2], g.xEa[2]);
  EXPECT_GT(g.df[1], g.dfLower[1]);  // root of the thickest tooth
  EXPECT_NEAR(g.dfTolerance[1], g.dfLower[1] - g.df[1], 1e-15);

  common::ClearErrorMessages();
  common::MsgQuiet = true;
  RunThroughToolProfile();
  EXPECT_EQ(common::MsgCount, 0);
}

TEST_F(ToolProfile, CentreDistanceFollowsTheShifts) {
  g.ProfileShift[1] = 0.3L;
  g.CentreDistance = 130;  // whatever was entered
  RunThroughToolProfile();
  EXPECT_EQ(common::FatalFlag, 0);
  EXPECT_EQ(g.CentreDistance, (g.dw[1] + g.dw[2]) / 2);
  EXPECT_NEAR(g.betaW, 0, 1e-18);
  EXPECT_NEAR(g.pbt, common::Pi * 4 * std::cos(common::Pi / 9), 1e-15);
}

TEST_F(ToolProfile, InternalPairs) {
  // Equal numbers: the working angle stays the transverse angle.
  g.ToothNumbers[2] = -20;
  g.CentreDistance = 0;
  g.ProfileShift[1] = 0.4L;
  RunThroughToolProfile();
  EXPECT_EQ(common::FatalFlag, 0);
  EXPECT_EQ(g.alphaWt, g.alphatRad);
  // An internal gear has negative diameters, its root below 0 is no fault.
  EXPECT_LT(g.df[2], 0);
  EXPECT_NEAR(g.df[2], -80 - 10, 1e-12);
  EXPECT_NEAR(g.TipDiameterTheoretical[2], -80 + 8, 1e-12);
}

TEST_F(ToolProfile, FatalConditions) {
  g.ToothNumbers[1] = 3;
  g.ProfileShift[1] = -1.5L;
  g.ProfileShift[2] = 1.5L;
  g.pbt = -1;
  RunThroughToolProfile();
  EXPECT_EQ(common::FatalFlag, 1);
  EXPECT_EQ(common::MsgText[common::MsgCount], "Fatal  : df <=0 ! (1)");
  EXPECT_EQ(g.pbt, -1);  // later values not computed

  common::ClearErrorMessages();
  calc_test::SetTextbookPair(g, -100000, 0);
  RunThroughToolProfile();
  EXPECT_EQ(common::FatalFlag, 1);
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(common::MsgText[common::MsgCount], "Fatal  : alpha wt !");

  common::ClearErrorMessages();
  common::FatalFlag = 1;
  CalcToolProfile();
  EXPECT_EQ(common::MsgText[1], "Fatal  : Unit1");
}
