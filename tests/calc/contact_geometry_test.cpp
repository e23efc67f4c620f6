#include "calc/contact_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "calc/basic_geometry.h"
#include "calc/gear_geometry_routines.h"
#include "calc/spur_gear_data.h"
#include "calc/tool_profile.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "spur_test_pairs.h"

using namespace calc;

namespace {

using calc_test::HasMessage;

// RunThroughToolProfile (steps 1 to 3) lets a test set tip diameters itself.
class ContactGeometry : public calc_test::TextbookPairTest {
 protected:
  // Steps 1 to 4, then the contact geometry.
  void Run() {
    RunThroughToolProfile();
    SetTipDiameters();
    CalcContactGeometry();
  }
};

}  // namespace

TEST_F(ContactGeometry, TipShorteningSnap) {
  RunThroughToolProfile();
  g.GeometryMode[1] = 3;
  g.TipDiameter[1] = 88 - 0.0019L;
  g.GeometryMode[2] = 3;
  g.TipDiameter[2] = 168 - 0.002L;
  SetTipDiameters();
  CalcContactGeometry();
  EXPECT_EQ(g.TipReduction[1], 0);
  EXPECT_EQ(g.TipDiameter[1], g.TipDiameterTheoretical[1]);
  EXPECT_NEAR(g.TipReduction[2], 0.001L, 1e-15);
  EXPECT_NEAR(g.TipDiameter[2], 167.998L, 1e-12);
  EXPECT_EQ(common::MsgCount, 0);

  g.TipDiameter[1] = 88.5L;  // above the theoretical tip
  CalcContactGeometry();
  EXPECT_TRUE(HasMessage("Error  : kmn < 0 !  (1)"));
}

TEST_F(ContactGeometry, UsableTipDiameter) {
  Run();
  EXPECT_EQ(g.dNa[1], g.TipDiameter[1]);  // no tool root radius
  EXPECT_EQ(g.dNaLower[1], g.daLower[1]);
  g.rhofP0Factor[1] = 0.2L;
  Run();
  EXPECT_NEAR(g.dNa[1], 88 - 2 * 0.8L * (1 - std::sin(common::Pi / 9)), 1e-12);
}

TEST_F(ContactGeometry, TipChamferOfADifferentToolAngle) {
  // Tool angle 30 degrees from 0.6 mn below the tool reference line. The
  // tooth ends where the involute of 20 degrees meets the involute of 30
  // degrees through the same rack corner; that corner, 2.4 mm above the
  // rolling line, generates on the two involutes the diameters
  // 2 sqrt(rb^2 + (r sin a + y / sin a)^2) with a = 20 and 30 degrees, and
  // the meeting point lies between them.
  g.ToolKindCode[1] = 4;
  g.alphaP0[1] = 30;
  g.hfP0FactorUsed[1] = 0.6L;
  Run();
  ASSERT_EQ(common::FatalFlag, 0);
  EXPECT_EQ(g.ToolAngleDiffers[1], 1);
  auto cornerDiameter = [](Real alpha) {
    const Real rb = 40 * std::cos(alpha);
    const Real rho = 40 * std::sin(alpha) + 2.4L / std::sin(alpha);
    return 2 * std::sqrt(rb * rb + rho * rho);
  };
  EXPECT_GT(g.dNa[1], cornerDiameter(common::Pi / 6));
  EXPECT_LT(g.dNa[1], cornerDiameter(common::Pi / 9));
  // Both involutes have the same thickness there.
  const Real dy = g.dNa[1];
  const Real alphat = common::Pi / 9, alphak = common::Pi / 6;
  const Real sNominal =
      dy * (g.st[1] / 80 + common::Involute(alphat) -
            common::Involute(std::acos(80 * std::cos(alphat) / dy)));
  const Real snk = 4 * common::Pi / 2 + 2 * 2.4L * (std::tan(alphak) - std::tan(alphat));
  const Real sChamfer =
      dy * (snk / 80 + common::Involute(alphak) -
            common::Involute(std::acos(80 * std::cos(alphak) / dy)));
  EXPECT_NEAR(sNominal, sChamfer, 0.0005);
  EXPECT_LT(g.dNa[1], g.TipDiameter[1]);
  // The chamfer thins the tip.
  EXPECT_LT(g.satUpper[1], g.sat[1]);
  EXPECT_GT(g.satUpper[1], 0);
  // Gear 2 has the plain tool.
  EXPECT_EQ(g.dNa[2], g.TipDiameter[2]);

  // A change of angle beyond the tooth tip leaves the tip usable.
  g.hfP0FactorUsed[1] = 0.95L;
  Run();
  EXPECT_EQ(g.dNa[1], g.TipDiameter[1]);
  EXPECT_NEAR(g.satUpper[1], g.sat[1], 1e-12);
}

TEST_F(ContactGeometry, OverlapRatio) {
  Run();
  EXPECT_EQ(g.epsBeta, 0);
  EXPECT_EQ(g.epsGamma, g.epsAlpha);
  EXPECT_EQ(g.u, 2);
  g.HelixAngle = 15;
  Run();
  const Real expected = 20 * std::sin(common::Pi / 12) / (common::Pi * 4);
  EXPECT_NEAR(g.epsBeta, expected, 1e-15);
  EXPECT_NEAR(g.epsGamma, g.epsAlpha + expected, 1e-15);
  g.HelixAngle = -15;  // the other hand overlaps as much
  Run();
  EXPECT_NEAR(g.epsBeta, expected, 1e-15);
  g.DoubleHelical = true;
  Run();
  EXPECT_NEAR(g.epsBeta, expected / 2, 1e-15);
}

TEST_F(ContactGeometry, SlidingAtTheEndsOfContact) {
  // Two routes to the same values: pressure angles at the contact ends
  // (nominal) and rolling radii from the pitch point (limits, which with
  // no centre-distance allowance are the nominal pair).
  for (int pair = 0; pair < 3; ++pair) {
    calc_test::SetTextbookPair(g, pair == 1 ? 0.5L : 0, pair == 1 ? 0.2L : 0);
    if (pair == 2) g.ToothNumbers[2] = -80;
    common::ClearErrorMessages();
    Run();
    ASSERT_EQ(common::FatalFlag, 0) << pair;
    for (int k = 1; k <= 4; ++k) {
      EXPECT_NEAR(g.SpecificSliding[k], g.SpecificSlidingLimits[k], 1e-9) << pair << k;
      EXPECT_NEAR(g.SpecificSliding[k], g.SpecificSlidingLimits[k + 4], 1e-9) << pair << k;
    }
    // The root of one gear slides against the tip of the other.
    const Real tip2 = g.SpecificSliding[3];
    EXPECT_NEAR(g.SpecificSliding[1], -tip2 / (1 - tip2), 1e-12);
    const Real tip1 = g.SpecificSliding[2];
    EXPECT_NEAR(g.SpecificSliding[4], -tip1 / (1 - tip1), 1e-12);
    EXPECT_GT(tip1, 0);
    EXPECT_GT(tip2, 0);
  }
  // At the pitch point both flanks roll without sliding.
  EXPECT_NEAR(CalcSpecificSliding(1, 1, 2, 160, 80, 160 * std::cos(common::Pi / 9),
                                  80 * std::cos(common::Pi / 9), 0),
              0, 1e-15);
}

TEST_F(ContactGeometry, InternalPairGetsCollisionValue) {
  g.CollisionValue = 123;
  Run();
  EXPECT_EQ(g.CollisionValue, 123);
  g.ToothNumbers[2] = -80;
  g.CentreDistance = -120;
  Run();
  ASSERT_EQ(common::FatalFlag, 0);
  for (int k = 1; k <= common::MsgCount; ++k) ADD_FAILURE() << common::MsgText[k];
  EXPECT_NE(g.CollisionValue, 123);
  EXPECT_GT(g.CollisionValue, 0);  // standard 20/80 internal pair: no tip interference
  EXPECT_LT(g.CentreDistance, 0);
  EXPECT_GT(g.epsAlpha, 1);
  EXPECT_LT(g.dNf[2], g.TipDiameter[2]);  // active root beyond the ring's tip
}

TEST_F(ContactGeometry, ToothCollisionLimitsTheMatingTip) {
  // z 10 without shift: the tip of the wheel reaches past the tangent
  // point of the pinion's base circle.
  g.ToothNumbers[1] = 10;
  g.ToothNumbers[2] = 60;
  Run();
  EXPECT_TRUE(HasMessage("Error  : tooth collision da2 !"));
  EXPECT_LT(g.dEff[2], g.TipDiameter[2]);
  // The active root of the pinion then lies on its base circle.
  EXPECT_NEAR(g.dNf[1], g.db[1], 1e-9);
}

TEST_F(ContactGeometry, FatalConditions) {
  RunThroughToolProfile();
  g.GeometryMode.fill(3);
  g.TipDiameter[1] = 79.9L;  // tips inside the working pitch circles
  g.TipDiameter[2] = 159.9L;
  SetTipDiameters();
  CalcContactGeometry();
  EXPECT_EQ(common::FatalFlag, 1);
  EXPECT_EQ(common::MsgText[common::MsgCount], "Fatal  : epsilon alpha <=0 !");

  common::ClearErrorMessages();
  g.TipDiameter[1] = 0;
  CalcContactGeometry();
  EXPECT_EQ(common::FatalFlag, 1);
  EXPECT_EQ(common::MsgText[common::MsgCount], "Fatal  : da = 0 !");

  common::ClearErrorMessages();
  common::FatalFlag = 1;
  CalcContactGeometry();
  EXPECT_EQ(common::MsgText[1], "Fatal  : Unit2");
}
