#include "common/guarded_math.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/equation_matrix.h"
#include "common/kaldvar.h"
#include "common/message_list.h"

using namespace common;

namespace {

class GuardedMath : public ::testing::Test {
 protected:
  void SetUp() override {
    SetKaldvarDefaults();
    SetWkaldvarDefaults();
    ClearErrorMessages();
  }
  void TearDown() override { MsgQuiet = false; }
};

TEST_F(GuardedMath, ArcSinAndArcCosFallbacksAndMessages) {
  EXPECT_EQ(CheckedArcSin(1), Pi / 2);
  EXPECT_EQ(MsgCount, 0);
  EXPECT_EQ(CheckedArcSin(-1.0000001L), Pi / 2);  // +pi/2 whatever the sign
  ASSERT_EQ(MsgCount, 1);
  EXPECT_EQ(MsgText[1], "Error  : ArcSin -1.0000001");

  EXPECT_NEAR(CheckedArcCos(0.5L), Pi / 3, 1e-18L);
  EXPECT_EQ(CheckedArcCos(2), 0);
  ASSERT_EQ(MsgCount, 2);
  EXPECT_EQ(MsgText[2], "Error  : ArcCos 2");
  EXPECT_EQ(FatalFlag, 0);
}

TEST_F(GuardedMath, ArcCosNamedTolerance) {
  EXPECT_EQ(CheckedArcCosNamed("alpha", 1.00005L), 0);
  EXPECT_EQ(MsgCount, 0);
  EXPECT_EQ(CheckedArcCosNamed("alpha", -1), Pi);
  EXPECT_EQ(CheckedArcCosNamed("alpha", -1.00005L), Pi);
  EXPECT_EQ(MsgCount, 0);
  EXPECT_EQ(CheckedArcCosNamed("alpha", 1.001L), 0);
  ASSERT_EQ(MsgCount, 1);
  EXPECT_EQ(MsgText[1], "Error  : alpha arccos(1.001)");
  EXPECT_EQ(CheckedArcCosNamed("alpha", -1.5L), Pi);
  EXPECT_EQ(MsgText[2], "Error  : alpha arccos(-1.5)");
  EXPECT_NEAR(CheckedArcCosNamed("alpha", 0), Pi / 2, 1e-18L);
  // A label with a kind of its own keeps its text and becomes an error (the
  // routine goes on with its fallback); an empty label adds nothing.
  ClearErrorMessages();
  EXPECT_EQ(CheckedArcCosNamed("Fatal  : db > da  (1)", 1.5L), 0);
  EXPECT_EQ(CheckedArcCosNamed("", 1.5L), 0);
  ASSERT_EQ(MsgCount, 1);
  EXPECT_EQ(MsgText[1], "Error  : db > da  (1) arccos(1.5)");
  EXPECT_EQ(FatalFlag, 0);
  EXPECT_EQ(GuardedMathMessage("Error  : ZR", " (pow)"), "Error  : ZR (pow)");
  EXPECT_EQ(GuardedMathMessage("Warning: w", ""), "Error  : w");
}

TEST_F(GuardedMath, PowerClampsAndNegativeBase) {
  EXPECT_EQ(CheckedPower("x", 0, -2), 0);
  EXPECT_EQ(MsgCount, 0);
  EXPECT_NEAR(CheckedPower("x", -8, 1.0L / 3), 2, 1e-17L);
  ASSERT_EQ(MsgCount, 1);
  EXPECT_EQ(MsgText[1], "Error  : x (pow)");
  EXPECT_EQ(CheckedPower("x", 10, 5000), 1e3000L);
  EXPECT_EQ(CheckedPower("x", 10, -5000), 0);
  EXPECT_NEAR(CheckedPower("x", 2, 10), 1024, 1e-14L);
  // A huge exponent on a negative base stays finite as well.
  EXPECT_EQ(CheckedPower("", -10, 5000), 1e3000L);
  EXPECT_EQ(MsgCount, 1);
}

TEST_F(GuardedMath, SqrtAndDiv) {
  EXPECT_EQ(CheckedSqrt("d", 16), 4);
  EXPECT_EQ(CheckedSqrt("d", -1), 0);
  EXPECT_EQ(CheckedSqrtLabel("e", -1), 0);
  EXPECT_EQ(CheckedDiv("q", 6, 3), 2);
  EXPECT_EQ(CheckedDiv("q", 1, 0), 1e30L);
  EXPECT_EQ(CheckedDiv("", 1, 0), 1e30L);
  EXPECT_EQ(CheckedSqrt("", -4), 0);
  ASSERT_EQ(MsgCount, 3);
  EXPECT_EQ(MsgText[1], "Error  : d (sqrt)");
  EXPECT_EQ(MsgText[2], "Error  : e (sqrt)");
  EXPECT_EQ(MsgText[3], "Error  : q (div)");
}

TEST_F(GuardedMath, QuietKeepsFallbacksAndAddsNothing) {
  MsgQuiet = true;
  EXPECT_EQ(CheckedArcSin(2), Pi / 2);
  EXPECT_EQ(CheckedArcCos(2), 0);
  EXPECT_EQ(CheckedArcCosNamed("a", 2), 0);
  EXPECT_EQ(CheckedPower("p", -4, 0.5L), 2);
  EXPECT_EQ(CheckedSqrt("s", -1), 0);
  EXPECT_EQ(CheckedDiv("d", 1, 0), 1e30L);
  EXPECT_EQ(InverseInvolute(1e6L), 0);
  EXPECT_EQ(MsgCount, 0);
}

TEST_F(GuardedMath, InverseInvolute) {
  EXPECT_EQ(InverseInvolute(0), 0);
  const Real a20 = 20 * Pi / 180;
  const Real y = Involute(a20);
  const Real x = InverseInvolute(y);
  EXPECT_LT(std::fabs(Involute(x) - y), 1e-15L);
  EXPECT_NEAR(x, a20, 1e-12L);
  EXPECT_EQ(MsgCount, 0);
  // Beyond the bracket (tan 1.57 - 1.57 is about 1254) no root: step limit.
  EXPECT_EQ(InverseInvolute(5000), 0);
  ASSERT_EQ(MsgCount, 1);
  EXPECT_EQ(MsgText[1], "Error: ArcInv in unit math");
}

TEST_F(GuardedMath, InverseInvoluteMeetsTheResidualOverTheWholeRange) {
  // Every angle the gear kernel can meet, both signs: the answer meets the
  // defining residual test and lies within its resolution of the angle.
  for (int i = -1500; i <= 1500; i += 7) {
    const Real angle = i / 1000.0L;
    const Real y = Involute(angle);
    const Real x = InverseInvolute(y);
    ASSERT_LT(std::fabs(Involute(x) - y), 1e-15L) << angle;
    // The residual test bounds the angle error by 1e-15 / slope (tan^2).
    const Real slope = std::tan(angle) * std::tan(angle);
    const Real tolerance = angle == 0 ? 0.0L : 1.01e-15L / slope + 1e-18L;
    ASSERT_LE(std::fabs(x - angle), tolerance) << static_cast<double>(angle);
  }
  EXPECT_EQ(MsgCount, 0);
  EXPECT_EQ(InverseInvolute(-5000), 0);
  EXPECT_EQ(MsgCount, 1);
}

TEST_F(GuardedMath, GeneralRealText) {
  EXPECT_EQ(GeneralRealText(0), "0");
  EXPECT_EQ(GeneralRealText(1.5L), "1.5");
  EXPECT_EQ(GeneralRealText(-1.0000001L), "-1.0000001");
  EXPECT_EQ(GeneralRealText(100), "100");
  EXPECT_EQ(GeneralRealText(1.0L / 3), "0.333333333333333");
  EXPECT_EQ(GeneralRealText(0.0001L), "0.0001");
  EXPECT_EQ(GeneralRealText(0.000015L), "1.5E-5");
  EXPECT_EQ(GeneralRealText(123456789012345.0L), "123456789012345");
  EXPECT_EQ(GeneralRealText(1e15L), "1E15");
  EXPECT_EQ(GeneralRealText(-2.5e20L), "-2.5E20");
  DecimalSign = 2;
  EXPECT_EQ(GeneralRealText(1.001L), "1,001");
  DecimalSign = 1;
}

TEST(EquationWorkspace, StartState) {
  EquationMatrix.count = 3;
  EquationMatrix.matrix[51][51] = 7;
  EquationMatrix.rhs[2] = 5;
  EquationMatrix.order[1] = 9;
  AllocEquationWorkspace();
  EXPECT_EQ(EquationMatrix.count, 0);
  EXPECT_EQ(EquationMatrix.matrix[51][51], 0);
  EXPECT_EQ(EquationMatrix.rhs[2], 0);
  for (int i = 1; i <= EquationMatrixSize; ++i) EXPECT_EQ(EquationMatrix.order[i], i);
  EXPECT_THROW(EquationMatrix.rhs[52], std::out_of_range);
}

}  // namespace
