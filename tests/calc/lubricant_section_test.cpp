// Lubricant viscosity over temperature and section properties of shafts and
// gear bodies.
#include <gtest/gtest.h>

#include <cmath>

#include "calc/lubricant_viscosity.h"
#include "calc/section_properties.h"

namespace calc {
namespace {

TEST(LubricantViscosity, FollowsTheWaltherLineThroughTheGivenPoint) {
  EXPECT_NEAR(static_cast<double>(CalcViscosityAtTemperature(100, 40, 40)), 100, 1e-12);
  const Real hot = CalcViscosityAtTemperature(100, 40, 100);
  EXPECT_LT(hot, 100);
  // A mineral oil of 100 mm^2/s at 40 degrees C has about 11 mm^2/s at 100.
  EXPECT_GT(hot, 10);
  EXPECT_LT(hot, 12.5);
  // The relation is its own inverse.
  EXPECT_NEAR(static_cast<double>(CalcViscosityAtTemperature(hot, 100, 40)), 100, 1e-9);
  EXPECT_GT(CalcViscosityAtTemperature(100, 40, 20), 100);
}

TEST(SectionProperties, SolidAndHollowShafts) {
  EXPECT_NEAR(static_cast<double>(CalcPolarMomentOfArea(20, 0)), M_PI / 32 * 160000, 1e-9);
  EXPECT_NEAR(static_cast<double>(CalcPolarSectionModulus(20, 0)), 1570.796326794897, 1e-9);
  EXPECT_NEAR(static_cast<double>(CalcPolarMomentOfArea(40, 20)),
              M_PI / 32 * (2560000 - 160000), 1e-6);
  EXPECT_EQ(CalcPolarSectionModulus(20, 20), 0);
  EXPECT_EQ(CalcPolarSectionModulus(20, 30), 0);
  EXPECT_EQ(CalcPolarSectionModulus(0, -5), 0);
}

TEST(SectionProperties, CylinderInertiaIsHalfMassTimesRadiusSquared) {
  // Steel disc 100 mm x 20 mm: m = pi/4 * 0.1^2 * 0.02 * 7800 kg.
  const double mass = M_PI / 4 * 0.01 * 0.02 * 7800;
  EXPECT_NEAR(static_cast<double>(CalcCylinderInertia(100, 0, 20, 7.8L)), mass * 0.05 * 0.05 / 2,
              1e-15);
  // The ring is the disc less its bore.
  EXPECT_NEAR(static_cast<double>(CalcCylinderInertia(100, 40, 20, 7.8L)),
              static_cast<double>(CalcCylinderInertia(100, 0, 20, 7.8L) -
                                  CalcCylinderInertia(40, 0, 20, 7.8L)),
              1e-15);
}

}  // namespace
}  // namespace calc
