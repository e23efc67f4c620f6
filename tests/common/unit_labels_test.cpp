#include "common/unit_labels.h"

#include <gtest/gtest.h>

#include "common/kaldvar.h"

using namespace common;

namespace {

class UnitLabels : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
  static void Reset() {
    UnitSystem = UnitsMetric;
    AsciiTextMode = false;
    SignificantDigits = 3;
    DecimalSign = 1;
  }
};

}  // namespace

TEST_F(UnitLabels, FixedWidthQuantitiesInEveryUnitSystem) {
  EXPECT_EQ(FormatLength(3, 2, 25.4L), " 25.40");
  EXPECT_EQ(FormatForce(4, 1, 2500), "2500.0");
  EXPECT_EQ(FormatStress(4, 1, 1000), "1000.0");
  EXPECT_EQ(FormatTorque(4, 1, 100), " 100.0");
  EXPECT_EQ(FormatTemperature(3, 1, 20), " 20.0");

  UnitSystem = UnitsImperial;
  EXPECT_EQ(FormatLength(3, 2, 25.4L), " 1.000");
  EXPECT_EQ(FormatLength2(3, 2, 25.4L), " 1.000");
  EXPECT_EQ(FormatLength(1, 2, 50.8L), "2.000");  // integer digits stay at least 1
  EXPECT_EQ(FormatForce(4, 1, 4.44822L * 100), "100.00");
  EXPECT_EQ(FormatStress(4, 3, 1), "   145.0");  // psi: 6 integer digits, 1 decimal
  EXPECT_EQ(FormatStress(4, 1, 10), "  1450");          // decimals stay at least 0
  EXPECT_EQ(FormatTorque(3, 2, 0.112984788L * 50), "  50.0");
  EXPECT_EQ(FormatTemperature(3, 1, 100), "212.0");

  for (std::uint16_t system : {UnitsMetricKN, UnitsMetricKNNmm2}) {
    UnitSystem = system;
    EXPECT_EQ(FormatForce(4, 1, 2500), "  2.50");
    EXPECT_EQ(FormatLength(3, 2, 25.4L), " 25.40");
    EXPECT_EQ(FormatStress(4, 1, 1000), "1000.0");
  }
  UnitSystem = UnitsMetricNmm2;
  EXPECT_EQ(FormatForce(4, 1, 2500), "2500.0");
}

TEST_F(UnitLabels, SignificantDigitQuantities) {
  EXPECT_EQ(LengthToText(12.3456L), "12.35");
  EXPECT_EQ(LengthToTextSig(12.3456L), "12.35");
  EXPECT_EQ(LengthToTextFixed(2, 3), "3.00");
  EXPECT_EQ(StressToText(1000), "1000");
  EXPECT_EQ(TorqueToText(12.5L), "12.5");
  EXPECT_EQ(TemperatureToText(40), "40");
  UnitSystem = UnitsImperial;
  EXPECT_EQ(LengthToText(25.4L), "1.0000");
  EXPECT_EQ(LengthToTextSig(12.7L), "0.5");
  EXPECT_EQ(LengthToTextFixed(2, 25.4L), "1.000");
  EXPECT_EQ(StressToText(1), "145");
  EXPECT_EQ(TorqueToText(0.112984788L), "1");
  EXPECT_EQ(TemperatureToText(100), "212");
  EXPECT_EQ(TemperatureToText(-40), "-40");
}

TEST_F(UnitLabels, SignedLengthsAndTolerances) {
  EXPECT_EQ(SignedLengthToText(0), "");
  EXPECT_EQ(SignedLengthToText(0.0234L), "+0.023");
  EXPECT_EQ(SignedLengthToText(-0.0234L), "-0.023");
  // Only an exact 0 is left out: a deviation too small to show still
  // belongs to the tolerance pair.
  EXPECT_EQ(SignedLengthToText(1e-7L), "+0");
  EXPECT_EQ(SignedLengthToText(-1e-7L), "0");
  EXPECT_EQ(ToleranceToText(1e-7L, -0.01L), "+0/-0.01");
  EXPECT_EQ(ToleranceToText(0.02L, -0.02L), " \xF1 0.02");
  EXPECT_EQ(ToleranceToText(0.02L, -0.01L), "+0.02/-0.01");
  EXPECT_EQ(ToleranceToText(0, -0.01L), "-0.01");
  EXPECT_EQ(ToleranceToText(0.05L, 0), "+0.05");
  EXPECT_EQ(ToleranceToText(0, 0), "");
  AsciiTextMode = true;
  EXPECT_EQ(ToleranceToText(0.02L, -0.02L), "+/-0.02");
  AsciiTextMode = false;
  UnitSystem = UnitsImperial;
  EXPECT_EQ(SignedLengthToText(0.254L), "+0.01");
  EXPECT_EQ(SignedLengthToText(-0.0254L * 1.234L), "-0.00123");
  EXPECT_EQ(ToleranceToText(0.0254L * 1.234L, -0.0254L * 1.234L), " \xF1 0.00123");
}

TEST_F(UnitLabels, EnteredTextsBackToBaseUnits) {
  EXPECT_EQ(TextToLength("2,5"), 2.5L);
  EXPECT_EQ(TextToStress("100"), 100);
  EXPECT_EQ(TextToTorque("7"), 7);
  EXPECT_EQ(TextToTemperature("20"), 20);
  UnitSystem = UnitsImperial;
  EXPECT_NEAR(TextToLength("1"), 25.4L, 1e-15L);
  EXPECT_NEAR(TextToLengthMm("2"), 50.8L, 1e-15L);
  EXPECT_NEAR(TextToStress("145.037"), 1, 1e-15L);
  EXPECT_NEAR(TextToTorque("10"), 1.12984788L, 1e-15L);
  EXPECT_NEAR(TextToTemperature("212"), 100, 1e-15L);
  EXPECT_EQ(TextToLength("abc"), 0);
}

TEST_F(UnitLabels, LabelsPerUnitSystemAndAsciiMode) {
  struct Row {
    std::uint16_t system;
    const char *length, *force, *stress, *torque, *temperature, *micro;
  };
  const Row rows[] = {
      {UnitsMetric, "mm", "N", "MPa", "Nm", "\xF8" "C", "\xE6m"},
      {UnitsImperial, "in", "lbf", "psi", "lbfin", " F", "\xE6in"},
      {UnitsMetricKN, "mm", "kN", "MPa", "Nm", "\xF8" "C", "\xE6m"},
      {UnitsMetricNmm2, "mm", "N", "N/mm\xFD", "Nm", "\xF8" "C", "\xE6m"},
      {UnitsMetricKNNmm2, "mm", "kN", "N/mm\xFD", "Nm", "\xF8" "C", "\xE6m"},
  };
  for (const Row& row : rows) {
    UnitSystem = row.system;
    EXPECT_EQ(LengthUnitLabel(), row.length);
    EXPECT_EQ(ForceUnitLabel(), row.force);
    EXPECT_EQ(StressUnitLabel(), row.stress);
    EXPECT_EQ(TorqueUnitLabel(), row.torque);
    EXPECT_EQ(TemperatureUnitLabel(), row.temperature);
    EXPECT_EQ(MicroLengthUnitLabel(), row.micro);
  }
  UnitSystem = UnitsMetric;
  EXPECT_EQ(DegreeUnitLabel(), "\xF8");
  EXPECT_EQ(ViscosityUnitLabel(), "mm\xFD/s");
  EXPECT_EQ(PlusMinusLabel(), " \xF1 ");
  AsciiTextMode = true;
  EXPECT_EQ(TemperatureUnitLabel(), " C");
  EXPECT_EQ(MicroLengthUnitLabel(), "um");
  EXPECT_EQ(DegreeUnitLabel(), "deg");
  EXPECT_EQ(ViscosityUnitLabel(), "mm2/s");
  EXPECT_EQ(PlusMinusLabel(), "+/-");
  UnitSystem = UnitsImperial;
  EXPECT_EQ(TemperatureUnitLabel(), " F");
  EXPECT_EQ(MicroLengthUnitLabel(), "uin");
}
