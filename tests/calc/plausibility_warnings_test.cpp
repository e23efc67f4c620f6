#include "calc/plausibility_warnings.h"

#include <gtest/gtest.h>

#include <string>

#include "calc/spur_gear_data.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "spur_test_pairs.h"

using namespace calc;

namespace {

using calc_test::HasMessage;

// A finished pair that gives no finding: tip thicknesses and clearances
// well above their limits, contact ratios above 1, no undercut.
class PlausibilityWarnings : public ::testing::Test {
 protected:
  void SetUp() override {
    calc_test::ResetGlobals();
    calc_test::SetTextbookTeeth(g);
    g.PressureAngle = 20;
    g.HelixAngle = 0;
    for (int i = 1; i <= 2; ++i) {
      g.ProfileShift[i] = 0;
      g.xmin[i] = -0.2L;
      g.sat[i] = g.san[i] = 2;
      g.c[i] = 1;
      g.alphaP0[i] = 20;
      g.alphaPrP0[i] = 0;
      g.xEmin[i] = g.xEmax[i] = 0;
      g.df[i] = 70;
      g.BoreDiameter[i] = 0;
    }
    g.epsAlpha = 1.6L;
    g.epsBeta = 0;
    g.epsGamma = 1.6L;
  }
  TSpurGearData& g = SpurGearData;
};

}  // namespace

TEST_F(PlausibilityWarnings, CleanPairGivesNothing) {
  CheckSpurWarnings();
  EXPECT_EQ(common::MsgCount, 0);
  EXPECT_EQ(common::FatalFlag, 0);
}

TEST_F(PlausibilityWarnings, Limits) {
  g.sat[1] = 0.15L * 4;  // exactly at the limit warns
  g.c[2] = 0.12L * 4;    // exactly at the limit does not
  g.HelixAngle = -10;    // a negative helix angle never warns of the overlap
  g.epsBeta = 0.5L;
  CheckSpurWarnings();
  EXPECT_TRUE(HasMessage("Warning: point teeth ! (1)"));
  EXPECT_FALSE(HasMessage("Warning: clearance sh.add. < 0.12mn ! (2)"));
  EXPECT_FALSE(HasMessage("eps.beta < 1 !"));
  g.HelixAngle = 10;
  CheckSpurWarnings();
  EXPECT_TRUE(HasMessage("eps.beta < 1 !"));
}

TEST_F(PlausibilityWarnings, QuietSuppressesOnlyTheMarkedWarnings) {
  g.san[2] = 0.1L;
  g.xmin[1] = 0.1L;
  g.c[1] = -0.1L;
  g.c[2] = 0.2L;
  g.epsAlpha = 0.9L;
  g.epsGamma = 0.95L;
  g.HelixAngle = 5;
  g.epsBeta = 0.05L;
  g.ProfileShift[2] = 1.6L;
  g.alphaPrP0[1] = 21;
  g.alphaP0[2] = 19;
  g.xEmin[1] = 0.1L;
  g.BoreDiameter[2] = 80;
  const char* always[] = {"Warning: point teeth ! (2)", "Error  : clearance sh.add. < 0 ! (1)",
                          "eps.alpha < 1 !", "eps.gamma < 1 !", "Warning: x > 1.5   (2) !",
                          "alfa prP0 > alfa !", "alfa kP0 < alfa !", "Error  : xemin>xemax (1)",
                          "Error  : dB > df ! (2)"};
  const char* marked[] = {"Warning: undercut ! (1)", "Warning: clearance sh.add. < 0.12mn ! (2)",
                          "eps.beta < 1 !"};
  common::MsgQuiet = true;
  CheckSpurWarnings();
  for (const char* text : always) EXPECT_TRUE(HasMessage(text)) << text;
  for (const char* text : marked) EXPECT_FALSE(HasMessage(text)) << text;
  EXPECT_EQ(common::FatalFlag, 0);
  common::ClearErrorMessages();
  common::MsgQuiet = false;
  CheckSpurWarnings();
  for (const char* text : marked) EXPECT_TRUE(HasMessage(text)) << text;
}

TEST_F(PlausibilityWarnings, InternalGear) {
  g.ToothNumbers[2] = -60;
  g.xmin[2] = 5;  // no undercut test for an internal gear
  g.ProfileShift[2] = 0.05L;
  g.epsGamma = 1.6L;
  CheckSpurWarnings();
  EXPECT_EQ(common::MsgCount, 0);
  g.ProfileShift[2] = 0.06L;
  CheckSpurWarnings();
  EXPECT_TRUE(HasMessage("Warning: x2 > 0"));
}

TEST_F(PlausibilityWarnings, StrengthInputDefaults) {
  g.RzFlank[1] = 0;
  g.RzRoot[2] = 0;
  g.rho[1] = 0;
  g.RzFlank[2] = 3;
  CheckSpurWarnings();
  EXPECT_EQ(g.RzFlank[1], 1.0L);
  EXPECT_EQ(g.RzRoot[2], 1.0L);
  EXPECT_EQ(g.rho[1], 7.8L);
  EXPECT_EQ(g.RzFlank[2], 3);
}
