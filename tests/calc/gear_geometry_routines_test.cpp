#include "calc/gear_geometry_routines.h"

#include <gtest/gtest.h>

#include <cmath>

#include "calc/section_properties.h"
#include "common/guarded_math.h"
#include "common/numeric_routines.h"
#include "common/kaldvar.h"
#include "common/message_list.h"

using namespace calc;

namespace {

const Real Alpha = common::Pi / 9;  // 20 degrees

class GearGeometryRoutines : public ::testing::Test {
 protected:
  void SetUp() override {
    common::SetKaldvarDefaults();
    common::SetWkaldvarDefaults();
    common::ClearErrorMessages();
  }
};

}  // namespace

TEST_F(GearGeometryRoutines, OtherGearIndex) {
  EXPECT_EQ(OtherGearIndex(1), 2);
  EXPECT_EQ(OtherGearIndex(2), 1);
}

TEST_F(GearGeometryRoutines, RootFormDiameter) {
  // A rack whose generating depth reaches exactly the tangent point of the
  // base circle (r sin^2 alpha below the rolling line) ends the involute on
  // the base circle.
  const Real d = 80, db = d * std::cos(Alpha);
  const Real depth = d / 2 * std::sin(Alpha) * std::sin(Alpha);
  EXPECT_NEAR(CalcRootFormDiameter(db, Alpha, 0, 0, 4, depth, Alpha, d), db, 1e-12);
  // A profile shift lifts the form circle by as much as it lifts the tool;
  // the tip radius takes (1 - sin alpha) rho off the depth.
  EXPECT_NEAR(CalcRootFormDiameter(db, Alpha, 0, 0.25L, 4, depth + 1, Alpha, d), db, 1e-12);
  EXPECT_NEAR(CalcRootFormDiameter(db, Alpha, 1 / (1 - std::sin(Alpha)), 0, 4, depth + 1, Alpha, d),
              db, 1e-12);
  // Textbook pair z 20, mn 4, tool 1.25 mn with tip radius 0.25 mn.
  const Real dFf = CalcRootFormDiameter(db, Alpha, 1, 0, 4, 5, Alpha, d);
  EXPECT_GT(dFf, db);
  EXPECT_LT(dFf, d);
  // No protuberance: the same; a protuberance lifts the form circle.
  EXPECT_EQ(CalcRootFormDiameterProtuberance(db, Alpha, 1, 0, 4, 5, Alpha, d, 0), dFf);
  EXPECT_GT(CalcRootFormDiameterProtuberance(db, Alpha, 1, 0, 4, 5, Alpha, d, 0.08L), dFf);
}

TEST_F(GearGeometryRoutines, SpecificSliding) {
  const Real db1 = 80 * std::cos(Alpha), db2 = 160 * std::cos(Alpha);
  // Pure rolling at the pitch point, for both gears and both kinds of pair.
  EXPECT_NEAR(CalcSpecificSliding(1, 1, 2, 160, 80, db2, db1, 0), 0, 1e-15);
  EXPECT_NEAR(CalcSpecificSliding(1, 2, 2, 160, 80, db2, db1, 0), 0, 1e-15);
  EXPECT_NEAR(CalcSpecificSliding(-1, 1, -2, -160, 80, -db2, db1, 0), 0, 1e-15);
  // 5 mm towards the tip of gear 1: rolling radii 13.68 + 5 and 27.36 - 5.
  const Real rho1 = 40 * std::sin(Alpha) + 5, rho2 = 80 * std::sin(Alpha) - 5;
  EXPECT_NEAR(CalcSpecificSliding(1, 1, 2, 160, 80, db2, db1, 5), 1 - rho2 / (2 * rho1), 1e-12);
  EXPECT_NEAR(CalcSpecificSliding(1, 2, 2, 160, 80, db2, db1, 5), 1 - 2 * rho1 / rho2, 1e-12);
  // At the tangent point of gear 1 its rolling radius is 0: no value.
  EXPECT_EQ(CalcSpecificSliding(1, 1, 2, 160, 80, db2, db1, -common::Cathetus(40, db1 / 2)), 0);
  // At the tangent point of gear 2 its sliding is unbounded, not 0.
  EXPECT_LT(CalcSpecificSliding(1, 2, 2, 160, 80, db2, db1, common::Cathetus(80, db2 / 2)), -1000);
}

TEST_F(GearGeometryRoutines, InvoluteIntersection) {
  // Two involutes on d = 80: alpha 20 with the thickness 2*pi, alpha 30
  // with a thicker reference tooth; they meet above the reference circle.
  const Real d = 80;
  const Real db = d * std::cos(Alpha), dbk = d * std::cos(common::Pi / 6);
  const Real ref = 2 * common::Pi / d + common::Involute(Alpha);
  const Real refK = 7.5L / d + common::Involute(common::Pi / 6);
  Real thickness = 0;
  const Real dy = FindInvoluteIntersectionDiameter(1, 1, thickness, db, 88, db, ref, dbk, refK);
  auto s = [](Real r, Real b, Real y) {
    return (r - common::Involute(std::acos(b / y))) * y;
  };
  EXPECT_GT(dy, d);
  EXPECT_LT(dy, 88);
  EXPECT_NEAR(s(ref, db, dy), s(refK, dbk, dy), 0.0005);
  EXPECT_NEAR(thickness, s(ref, db, dy), 1e-15);
  for (int k = 1; k <= common::MsgCount; ++k) ADD_FAILURE() << common::MsgText[k];

  // No meeting point below the tip: after 100 halvings the start diameter.
  EXPECT_EQ(FindInvoluteIntersectionDiameter(1, 1, thickness, db, 81, db, ref, dbk, refK), db);

  // Trial diameters below a base circle end the search at its tip side,
  // with a message only when asked for.
  EXPECT_EQ(FindInvoluteIntersectionDiameter(0, 2, thickness, 0, 70, db, ref, dbk, refK), 70);
  EXPECT_EQ(common::MsgCount, 0);
  FindInvoluteIntersectionDiameter(1, 2, thickness, 0, 70, db, ref, dbk, refK);
  ASSERT_EQ(common::MsgCount, 1);
  EXPECT_EQ(common::MsgText[1], "Error  : db > dFa2 !");
}

TEST_F(GearGeometryRoutines, GearBodyMassAndInertia) {
  // Solid body: a cylinder of the mean tooth diameter 79 around a 20 bore.
  const Real solid = common::Pi / 4 * (79 * 79 - 20 * 20) * 20 * 7.8L * 1e-6L;
  EXPECT_NEAR(CalcGearBodyMass(88, 70, 0, 20, 20, 7.8L), solid, 1e-15);
  EXPECT_NEAR(CalcGearBodyMass(88, 70, 75, 20, 20, 7.8L), solid, 1e-15);  // di beyond df
  EXPECT_NEAR(CalcGearBodyInertia(88, 70, 0, 20, 20, 7.8L),
              CalcCylinderInertia(79, 20, 20, 7.8L), 1e-18);
  // Rim 50, web (70 - 50) / 2 = 10 thick, hub 20 + 20 = 40.
  const Real web = common::Pi / 4 * 7.8L * 1e-6L *
                   (20 * (79 * 79 - 50 * 50 + 40 * 40 - 20 * 20) + 10 * (50 * 50 - 40 * 40));
  EXPECT_NEAR(CalcGearBodyMass(88, 70, 50, 20, 20, 7.8L), web, 1e-15);
  EXPECT_LT(web, solid);
  EXPECT_NEAR(CalcGearBodyInertia(88, 70, 50, 20, 20, 7.8L),
              CalcCylinderInertia(40, 20, 20, 7.8L) + CalcCylinderInertia(79, 50, 20, 7.8L) +
                  CalcCylinderInertia(50, 40, 10, 7.8L),
              1e-18);

  // Internal ring: teeth from 152 to 170 (mean 161), outer diameter 220.
  const Real ring = common::Pi / 4 * (220 * 220 - 161 * 161) * 20 * 7.8L * 1e-6L;
  EXPECT_NEAR(CalcGearBodyMass(-152, -170, -210, -220, 20, 7.8L), ring, 1e-15);
  // Without a rim diameter the ring is solid too, never a web of negative
  // thickness.
  EXPECT_NEAR(CalcGearBodyMass(-152, -170, 0, -220, 20, 7.8L), ring, 1e-15);
  // Rim 180: web 5 thick, outer ring from 210.
  const Real ringWeb = common::Pi / 4 * 7.8L * 1e-6L *
                       (20 * (220 * 220 - 210 * 210 - 161 * 161 + 180 * 180) +
                        5 * (210 * 210 - 180 * 180));
  EXPECT_NEAR(CalcGearBodyMass(-152, -170, -180, -220, 20, 7.8L), ringWeb, 1e-15);
  EXPECT_GT(CalcGearBodyInertia(-152, -170, -180, -220, 20, 7.8L), 0);
}
