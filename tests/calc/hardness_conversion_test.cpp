// Hardness conversion for steels: table layout, exact rows, interpolation
// and the range check.
#include "calc/hardness_conversion.h"

#include <gtest/gtest.h>

#include <array>

#include "common/kaldvar.h"
#include "common/message_list.h"

namespace calc {
namespace {

class HardnessConversion : public ::testing::Test {
 protected:
  void SetUp() override {
    common::SetKaldvarDefaults();
    common::SetWkaldvarDefaults();
    common::ClearErrorMessages();
  }
};

TEST_F(HardnessConversion, TableHasTheVickersStepsAndRisingColumns) {
  int hv = 80;
  for (int i = 1; i <= HardnessTableRows; ++i) {
    EXPECT_EQ(HardnessTable[i][ScaleHV], hv) << "row " << i;
    hv += hv < 300 ? 5 : (hv < 700 ? 10 : 20);
  }
  EXPECT_EQ(HardnessTable[HardnessTableRows][ScaleHV], 960);
  for (int j = 1; j <= HardnessTableColumns; ++j) {
    int previous = 0;
    for (int i = 1; i <= HardnessTableRows; ++i) {
      const int entry = HardnessTable[i][j];
      if (entry == 0) continue;
      EXPECT_GT(entry, previous) << "column " << j << " row " << i;
      previous = entry;
    }
  }
}

TEST_F(HardnessConversion, QuotedRowsAreExact) {
  using Row = std::array<int, 10>;
  auto row = [](int i) {
    Row r{};
    for (int j = 1; j <= 10; ++j) r[j - 1] = HardnessTable[i][j];
    return r;
  };
  EXPECT_EQ(row(1), (Row{255, 80, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(row(2), (Row{270, 85, 410, 804, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(row(33), (Row{770, 240, 981, 1143, 203, 607, 403, 696, 417, 199}));
  EXPECT_EQ(row(81), (Row{2215, 660, 0, 0, 583, 803, 694, 895, 759, 647}));
  EXPECT_EQ(row(98), (Row{0, 960, 0, 0, 685, 859, 773, 934, 848, 760}));
  // Ends of the Rm, HRB and HRF columns.
  EXPECT_EQ(HardnessTable[44][ScaleHRB], 1055);  // HV 295
  EXPECT_EQ(HardnessTable[45][ScaleHRB], 0);
  EXPECT_EQ(HardnessTable[36][ScaleHRF], 1155);  // HV 255
  EXPECT_EQ(HardnessTable[37][ScaleHRF], 0);
  EXPECT_EQ(HardnessTable[82][ScaleRm], 0);      // HV 670
}

TEST_F(HardnessConversion, TableRowConvertsToItself) {
  ConvertHardness(ScaleHV, 240);
  EXPECT_DOUBLE_EQ(static_cast<double>(GetHardnessValue(ScaleRm)), 770);
  EXPECT_DOUBLE_EQ(static_cast<double>(GetHardnessValue(ScaleHRC)), 20.3);
  EXPECT_DOUBLE_EQ(static_cast<double>(GetHardnessValue(ScaleHRB)), 98.1);
  EXPECT_DOUBLE_EQ(static_cast<double>(GetHardnessValue(ScaleHR45N)), 19.9);
  EXPECT_DOUBLE_EQ(static_cast<double>(GetHardnessValue(ScaleHB)), 228);
  EXPECT_EQ(common::MsgCount, 0);
}

TEST_F(HardnessConversion, BrinellIsTakenAsVickersTimesPointNinetyFive) {
  ConvertHardness(ScaleHB, 228);
  EXPECT_NEAR(static_cast<double>(GetHardnessValue(ScaleHV)), 240, 1e-9);
  EXPECT_NEAR(static_cast<double>(GetHardnessValue(ScaleRm)), 770, 1e-9);
  EXPECT_NEAR(static_cast<double>(GetHardnessValue(ScaleHRC)), 20.3, 1e-9);
  EXPECT_NEAR(static_cast<double>(GetHardnessValue(ScaleHB)), 228, 1e-9);
}

TEST_F(HardnessConversion, ValuesBetweenRowsLieOnTheLineThroughThem) {
  // HRC 21.75 lies halfway between the rows HV 245 and 250.
  ConvertHardness(ScaleHRC, 21.75L);
  EXPECT_NEAR(static_cast<double>(GetHardnessValue(ScaleHV)), 247.5, 1e-9);
  EXPECT_NEAR(static_cast<double>(GetHardnessValue(ScaleRm)), 790, 1e-9);
  EXPECT_NEAR(static_cast<double>(GetHardnessValue(ScaleHRA)), 61.4, 1e-9);
  EXPECT_NEAR(static_cast<double>(GetHardnessValue(ScaleHB)), 0.95 * 247.5, 1e-9);
  // HRD 41.4 lies between the same rows, but is placed on the line through
  // the rows HV 250 and 255, whose HRD step is smaller (t = -0.6).
  ConvertHardness(ScaleHRD, 41.4L);
  EXPECT_NEAR(static_cast<double>(GetHardnessValue(ScaleHV)), 247, 1e-9);
  EXPECT_NEAR(static_cast<double>(GetHardnessValue(ScaleRm)), 788, 1e-9);
  // The lowest Rm lies below row 2 and is found on the line through rows 2
  // and 3, which passes through row 1.
  ConvertHardness(ScaleRm, 255);
  EXPECT_NEAR(static_cast<double>(GetHardnessValue(ScaleHV)), 80, 1e-9);
  // At the top of the HRC range.
  ConvertHardness(ScaleHRC, 68);
  EXPECT_NEAR(static_cast<double>(GetHardnessValue(ScaleHV)), 940, 1e-9);
  EXPECT_EQ(GetHardnessValue(ScaleRm), 0);
}

TEST_F(HardnessConversion, ScalesWithoutValuesInTheRangeGiveZero) {
  ConvertHardness(ScaleHV, 100);
  EXPECT_EQ(GetHardnessValue(ScaleHRC), 0);
  EXPECT_EQ(GetHardnessValue(ScaleHR30N), 0);
  EXPECT_NEAR(static_cast<double>(GetHardnessValue(ScaleRm)), 320, 1e-9);
  EXPECT_NEAR(static_cast<double>(GetHardnessValue(ScaleHRB)), 56.2, 1e-9);
}

TEST_F(HardnessConversion, ValueOutsideItsRangeIsRefused) {
  ConvertHardness(ScaleHV, 300);
  ConvertHardness(ScaleHRC, 19);
  ASSERT_EQ(common::MsgCount, 1);
  EXPECT_EQ(common::MsgText[1], "HRC:  20.3..  68.0 !");
  for (int n = 1; n <= HardnessScaleCount + 2; ++n) EXPECT_EQ(GetHardnessValue(n), 0);
  ConvertHardness(ScaleRm, 2181);
  EXPECT_EQ(common::MsgText[2], "Rm: 255.0..2180.0 !");
  EXPECT_FALSE(IsTenthsScale(ScaleRm));
  EXPECT_FALSE(IsTenthsScale(ScaleHV));
  EXPECT_TRUE(IsTenthsScale(ScaleHRB));
}

}  // namespace
}  // namespace calc
