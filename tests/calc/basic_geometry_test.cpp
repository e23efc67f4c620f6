#include "calc/basic_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "calc/spur_gear_data.h"
#include "calc/tool_profile.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "spur_test_pairs.h"

using namespace calc;

namespace {

class BasicGeometry : public calc_test::TextbookPairTest {
 protected:
  // Runs the input check and reports its single message (or "").
  std::string Check() {
    common::ClearErrorMessages();
    CheckSpurInput();
    return common::MsgCount == 0 ? std::string() : common::MsgText[1];
  }
};

}  // namespace

TEST_F(BasicGeometry, PressureAndHelixAngleLimits) {
  g.PressureAngle = 5;
  EXPECT_EQ(Check(), "");
  g.PressureAngle = 45;
  EXPECT_EQ(Check(), "");
  g.PressureAngle = 4.99L;
  EXPECT_EQ(Check(), "Fatal  : alpha !");
  EXPECT_EQ(common::FatalFlag, 1);
  g.PressureAngle = 45.01L;
  EXPECT_EQ(Check(), "Fatal  : alpha !");
  g.PressureAngle = 20;
  g.HelixAngle = -45;
  EXPECT_EQ(Check(), "");
  g.HelixAngle = -45.01L;
  EXPECT_EQ(Check(), "Fatal  : beta > 45!");
}

TEST_F(BasicGeometry, ModuleFaceWidthAndToothNumbers) {
  g.NormalModule = 0;
  EXPECT_EQ(Check(), "Fatal  : mn <= 0!");
  g.NormalModule = 4;
  g.FaceWidth = 0;
  EXPECT_EQ(Check(), "Fatal  : b <= 0!");
  g.FaceWidth = 20;
  g.ToothNumbers[2] = 1;
  EXPECT_EQ(Check(), "Fatal  : z2 < 2!");
  g.ToothNumbers[2] = -2;  // the test is on the magnitude
  EXPECT_EQ(Check(), "");
  g.ToothNumbers[1] = -1;
  EXPECT_EQ(Check(), "Fatal  : z1 < 2!");
  g.ToothNumbers[1] = -20;
  EXPECT_EQ(Check(), "Error  : z1 < 0 !");
  EXPECT_EQ(common::FatalFlag, 0);
  // A fatal flag on entry: nothing is checked or computed.
  common::FatalFlag = 1;
  g.d.fill(0);
  CheckSpurInput();
  EXPECT_EQ(common::MsgText[common::MsgCount], "Fatal  : Unit0");
  EXPECT_EQ(g.d[1], 0);
}

// Inputs no real gear pair reaches are fatal, each named; the limits
// themselves pass, and a value that is no number fails its limit too.
TEST_F(BasicGeometry, UpperLimitsAreFatalAndNamed) {
  g.n[1] = 1000;
  g.P = 10;
  g.T[1] = 0;
  EXPECT_EQ(Check(), "");
  struct Case {
    const char* message;
    std::function<void(Real)> set;
    Real limit, beyond;
    bool realValued = true;
  };
  const std::vector<Case> cases = {
      {"Fatal  : z1 > 10000 !", [this](Real v) { g.ToothNumbers[1] = static_cast<std::int32_t>(v); }, 10000, 10001,
       false},
      {"Fatal  : mn > 100 mm !", [this](Real v) { g.NormalModule = v; }, 100, 100.01L},
      {"Fatal  : b > 10000 mm !", [this](Real v) { g.FaceWidth = v; }, 10000, 1e308L},
      {"Fatal  : n1 > 1000000 1/min !", [this](Real v) { g.n[1] = v; }, 1e6L, 1e6L + 1},
      {"Fatal  : P > 1000000 kW !", [this](Real v) { g.P = v; }, 1e6L, 2e6L},
      {"Fatal  : T1 > 1E9 Nm !", [this](Real v) { g.T[1] = v; }, 1e9L, 2e9L},
  };
  for (const Case& c : cases) {
    calc_test::SetTextbookPair(g);
    g.n[1] = 1000;
    g.P = 10;
    g.T[1] = 0;
    // z1 of 10000 with mn 4 makes a pitch radius of 20000 mm: within its limit.
    c.set(c.limit);
    EXPECT_EQ(Check(), "") << c.message;
    EXPECT_EQ(common::FatalFlag, 0) << c.message;
    c.set(c.beyond);
    EXPECT_EQ(Check(), c.message);
    EXPECT_EQ(common::FatalFlag, 1) << c.message;
    if (c.realValued) {
      c.set(std::numeric_limits<Real>::quiet_NaN());
      EXPECT_EQ(Check(), c.message) << "NaN";
    }
  }
  // A pitch radius beyond 100 000 mm: 2000 teeth of module 100 make
  // exactly 100 000 mm.
  calc_test::SetTextbookPair(g);
  g.T[1] = 0;
  g.NormalModule = 100;
  g.ToothNumbers[2] = 2000;
  EXPECT_EQ(Check(), "");  // 100 000 mm exactly
  g.ToothNumbers[2] = 2001;
  EXPECT_EQ(Check(), "Fatal  : rw2 > 100000 mm !");
  g.ToothNumbers[2] = 40;
  g.ToothNumbers[1] = 2001;
  EXPECT_EQ(Check(), "Fatal  : rw1 > 100000 mm !");
}

// A negative module that comes from a negative tooth number (the
// noncircular pair derives the module from z1) is reported as the tooth
// number.
TEST_F(BasicGeometry, NegativeToothNumberIsNamedAsSuch) {
  g.NormalModule = -4;
  g.ToothNumbers[1] = -20;
  EXPECT_EQ(Check(), "Fatal  : z1 < 0 !");
  g.ToothNumbers[1] = 20;
  EXPECT_EQ(Check(), "Fatal  : mn <= 0!");
}

TEST_F(BasicGeometry, CompletedInputsAndHelixHand) {
  g.HelixAngle = 15;
  g.GearFaceWidth[2] = 30;
  g.alphaP0[2] = 22;
  g.HelixHand[1] = 1;
  EXPECT_EQ(Check(), "");
  EXPECT_EQ(g.GearFaceWidth[1], 20);
  EXPECT_EQ(g.GearFaceWidth[2], 30);
  EXPECT_EQ(g.alphaP0[1], 20);
  EXPECT_EQ(g.ToolAngleDiffers[1], 0);
  EXPECT_EQ(g.ToolAngleDiffers[2], 1);
  EXPECT_EQ(g.HelixHand[2], 2);  // external pair: opposite hands
  EXPECT_NEAR(g.d[1], 20 * 4 / std::cos(common::Pi / 12), 1e-15);
  EXPECT_NEAR(std::tan(g.alphatRad), std::tan(common::Pi / 9) / std::cos(common::Pi / 12), 1e-15);
  g.ToothNumbers[2] = -40;
  g.HelixHand[1] = 2;
  Check();
  EXPECT_EQ(g.HelixHand[2], 2);  // internal pair: equal hands
  EXPECT_EQ(g.xmin[2], 0);
  g.HelixHand[1] = 7;
  g.HelixHand[2] = 5;
  Check();
  EXPECT_EQ(g.HelixHand[2], 5);
}

TEST_F(BasicGeometry, UndercutLimit) {
  Check();
  // 2 / sin^2 20 degrees = 17.097; practical limit 14.25 teeth.
  EXPECT_NEAR(g.zLimit, 17.0973, 5e-5);
  EXPECT_NEAR(g.xmin[1], (g.zLimitPractical - 20) / g.zLimit, 1e-15);
  EXPECT_LT(g.xmin[1], 0);
}

TEST_F(BasicGeometry, CentreDistanceCorrection) {
  Check();
  g.CentreDistance = 0;
  g.alphaWt = 1;
  CorrectCentreDistance();
  EXPECT_EQ(g.alphaWt, 0);
  EXPECT_EQ(g.xSumForA, 0);

  // 122.6016 is the centre distance of the shift sum 0.7.
  g.CentreDistance = 122.601565L;
  CorrectCentreDistance();
  EXPECT_NEAR(g.xSumForA, 0.7, 1e-6);
  EXPECT_EQ(common::MsgCount, 0);

  // Exactly 20 % from the nominal 120: message, value stays.
  g.CentreDistance = 100;
  CorrectCentreDistance();
  EXPECT_EQ(common::MsgText[1], "cent.distance corr. !");
  EXPECT_EQ(g.CentreDistance, 100);
  // More than 20 %: replaced by the nominal centre distance.
  common::ClearErrorMessages();
  g.CentreDistance = 99;
  CorrectCentreDistance();
  EXPECT_EQ(common::MsgText[1], "cent.distance corr. !");
  EXPECT_EQ(g.CentreDistance, 120);
  EXPECT_NEAR(g.alphaWt, g.alphatRad, 1e-9);
}

TEST_F(BasicGeometry, InternalPairCentreDistanceOfWrongSign) {
  // Diameters and centre distance of an internal pair are negative.
  g.ToothNumbers[2] = -40;
  g.CentreDistance = 50;
  Check();
  CorrectCentreDistance();
  EXPECT_EQ(common::MsgText[1], "cent.distance corr. !");
  EXPECT_NEAR(g.CentreDistance, -40, 1e-12);
  EXPECT_NEAR(g.alphaWt, g.alphatRad, 1e-9);
}

TEST_F(BasicGeometry, TipDiameterModes) {
  Check();
  CorrectCentreDistance();
  CalcToolProfile();
  ASSERT_EQ(common::FatalFlag, 0);
  g.GeometryMode[1] = 1;  // from the clearance, with the root of gear 2
  g.c[1] = 1.5L;
  g.GeometryMode[2] = 3;  // given tip diameter
  g.TipDiameter[2] = 167;
  SetTipDiameters();
  EXPECT_NEAR(g.TipDiameter[1], 2 * (120 - 1.5L) - 150, 1e-12);
  EXPECT_NEAR(g.TipReduction[1], 0.5, 1e-12);
  EXPECT_NEAR(g.TipReduction[2], 0.5, 1e-12);
  EXPECT_NEAR(g.c[2], 120 - (70 + 167) / 2.0L, 1e-12);
  g.GeometryMode[1] = 2;
  g.TipReduction[1] = 0.25L;
  SetTipDiameters();
  EXPECT_NEAR(g.TipDiameter[1], 87.5, 1e-12);
  EXPECT_NEAR(g.c[1], 120 - (150 + 87.5L) / 2, 1e-12);
  g.GeometryMode[1] = 0;  // no mode: nothing changes
  g.TipDiameter[1] = 1;
  SetTipDiameters();
  EXPECT_EQ(g.TipDiameter[1], 1);
}
