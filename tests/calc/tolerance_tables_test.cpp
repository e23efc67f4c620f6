#include "calc/tolerance_tables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/message_list.h"

using namespace calc;

TEST(ToleranceTables, IsoLookupRangeLimits) {
  // A size on a range limit belongs to the lower range.
  EXPECT_EQ(GetIsoTolerance(4, 3.0L), 10);
  EXPECT_EQ(GetIsoTolerance(4, 3.02L), 12);
  EXPECT_EQ(GetIsoTolerance(1, 0.0L), 3);
  EXPECT_EQ(GetIsoTolerance(8, 120.0L), 220);
  EXPECT_EQ(GetIsoTolerance(8, 120.5L), 250);
  EXPECT_EQ(GetIsoTolerance(5, 2500.0L), 280);
  EXPECT_EQ(GetIsoTolerance(5, 2501.0L), 330);
  EXPECT_EQ(GetIsoTolerance(8, 1e12L), 1350);    // beyond 32 bits: last range
  EXPECT_EQ(GetIsoTolerance(3, -300.0L), 32);    // internal pair: magnitude
  EXPECT_EQ(GetIsoTolerance(0, 100.0L), 0);
  EXPECT_EQ(GetIsoTolerance(9, 100.0L), 0);
}

TEST(ToleranceTables, RangeIndexRules) {
  EXPECT_EQ(IsoSizeRangeIndex(2), 1);
  EXPECT_EQ(IsoSizeRangeIndex(3), 2);
  EXPECT_EQ(IsoSizeRangeIndex(-314), 11);
  EXPECT_EQ(IsoSizeRangeIndex(315), 12);
  EXPECT_EQ(IsoSizeRangeIndex(2499), 20);
  EXPECT_EQ(IsoSizeRangeIndex(2500), 21);
  EXPECT_EQ(DiameterRangeIndex(9), 1);
  EXPECT_EQ(DiameterRangeIndex(10), 2);
  EXPECT_EQ(DiameterRangeIndex(124), 3);
  EXPECT_EQ(DiameterRangeIndex(-125), 4);
  EXPECT_EQ(DiameterRangeIndex(6299), 10);
  EXPECT_EQ(DiameterRangeIndex(6300), 11);
  EXPECT_EQ(DiameterRangeIndex(50000), 11);
  EXPECT_EQ(DiameterRangeIndex(std::numeric_limits<std::int32_t>::min()), 11);
}

TEST(ToleranceTables, ToothThicknessLookups) {
  EXPECT_EQ(GetToothThicknessTolerance(1, 10.0L), 3);
  EXPECT_EQ(GetToothThicknessTolerance(1, 10.01L), 5);
  EXPECT_EQ(GetToothThicknessTolerance(5, 60.0L), 40);     // series 25
  EXPECT_EQ(GetToothThicknessTolerance(10, 7000.0L), 2400);
  EXPECT_EQ(GetToothThicknessTolerance(0, 60.0L), 0);
  EXPECT_EQ(GetToothThicknessTolerance(11, 60.0L), 0);
  EXPECT_EQ(GetToothThicknessAllowance(8, 60.0L), 40);     // series e
  EXPECT_EQ(GetToothThicknessAllowance(6, 280.0L), 95);    // cd, on the limit
  EXPECT_EQ(GetToothThicknessAllowance(1, 6300.5L), 2000);
  for (Real d : {1.0L, 60.0L, 900.0L, 9000.0L}) EXPECT_EQ(GetToothThicknessAllowance(11, d), 0);
  EXPECT_EQ(GetToothThicknessAllowance(12, 60.0L), 0);
  EXPECT_EQ(GetToothThicknessAllowance(0, 60.0L), 0);
}

TEST(ToleranceTables, TablesRiseWithSizeAndGrade) {
  // Every row of the standards' tables grows with the size range, and the
  // tolerances with the grade; the allowances fall from series a to h.
  for (int r = 1; r <= IsoSizeRangeCount; ++r)
    for (int c = 1; c <= IsoGradeCount; ++c) {
      if (r > 1) { EXPECT_GE(IsoToleranceTable[r][c], IsoToleranceTable[r - 1][c]) << r << "," << c; }
      if (c > 1) { EXPECT_GT(IsoToleranceTable[r][c], IsoToleranceTable[r][c - 1]) << r << "," << c; }
    }
  for (int r = 1; r <= DiameterRangeCount; ++r) {
    for (int c = 1; c <= ToothThicknessToleranceCount; ++c) {
      if (r > 1) { EXPECT_GT(ToothThicknessToleranceTable[r][c], ToothThicknessToleranceTable[r - 1][c]); }
      if (c > 1) { EXPECT_GT(ToothThicknessToleranceTable[r][c], ToothThicknessToleranceTable[r][c - 1]); }
    }
    for (int c = 1; c <= ToothThicknessAllowanceCount - 1; ++c) {
      if (r > 1) { EXPECT_GT(ToothThicknessAllowanceTable[r][c], ToothThicknessAllowanceTable[r - 1][c]); }
      EXPECT_GT(ToothThicknessAllowanceTable[r][c], ToothThicknessAllowanceTable[r][c + 1]);
    }
  }
}

TEST(ToleranceTables, RoundToPreferredStep) {
  EXPECT_EQ(RoundToPreferredStep(4.96L), 5.0L);
  EXPECT_EQ(RoundToPreferredStep(7.3L), 7.5L);
  EXPECT_EQ(RoundToPreferredStep(10.0L), 10.0L);
  EXPECT_EQ(RoundToPreferredStep(12.6L), 13.0L);
  EXPECT_NEAR(RoundToPreferredStep(4.86L), 4.9L, 1e-15L);
  EXPECT_EQ(RoundToPreferredStep(5.75L), 6.0L);   // half: to even (11.5 -> 12)
  EXPECT_EQ(RoundToPreferredStep(6.25L), 6.0L);   // half: to even (12.5 -> 12)
  EXPECT_EQ(RoundToPreferredStep(12.5L), 12.0L);
  EXPECT_EQ(RoundToPreferredStep(13.5L), 14.0L);
  EXPECT_EQ(RoundToPreferredStep(10.2L), 10.0L);  // above 10: whole numbers
}

TEST(ToleranceTables, MeasuringBallDiameter) {
  common::SetKaldvarDefaults();
  common::SetWkaldvarDefaults();
  common::ClearErrorMessages();
  const Real alpha = 20 * common::Pi / 180;
  // z 20, x 0, spur: about 1.724 mn, rounded to a tenth of a millimetre.
  EXPECT_EQ(CalcMeasuringBallDiameter(20, 0, alpha, 0, 2), 3.4L);
  // Positive shift opens the gap at the reference circle: a larger ball.
  EXPECT_GT(CalcMeasuringBallDiameter(20, 0, alpha, 0.5L, 2), 3.4L);
  // Below 0.5 mm the value stays unrounded.
  const Real tiny = CalcMeasuringBallDiameter(20, 0, alpha, 0, 0.2L);
  EXPECT_NEAR(tiny, 0.3448898243867774L, 1e-12L);
  EXPECT_NE(tiny * 10, std::nearbyint(tiny * 10));
  // Imperial units: a whole number of thousandths of an inch, in mm.
  common::UnitSystem = common::UnitsImperial;
  const Real inch = CalcMeasuringBallDiameter(31, 15 * common::Pi / 180, alpha, 0.3L, 3.25L);
  EXPECT_NEAR(inch / 25.4L * 1000, std::nearbyint(inch / 25.4L * 1000), 1e-9L);
  EXPECT_GT(inch, 5.0L);
  common::UnitSystem = common::UnitsMetric;
  EXPECT_EQ(common::MsgCount, 0);
  // No teeth: no ball, no message.
  EXPECT_EQ(CalcMeasuringBallDiameter(0, 0, alpha, 0, 2), 0);
  EXPECT_EQ(common::MsgCount, 0);
  // A shift so negative that the shifted circle lies inside the base circle.
  EXPECT_EQ(CalcMeasuringBallDiameter(20, 0, alpha, -0.7L, 2), 0);
  ASSERT_EQ(common::MsgCount, 2);
  EXPECT_EQ(common::MsgText[2], "Error  : Diametr.Dim.o.balls DmMess !");
  EXPECT_EQ(common::FatalFlag, 0);
}
