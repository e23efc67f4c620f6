// Section properties of gear bodies and shafts (section_properties.h).
#include "calc/section_properties.h"

#include "common/guarded_math.h"

namespace calc {

namespace {
// pi/32 with mm^5 * kg/dm^3 = 1e-12 kg m^2.
constexpr Real InertiaFactor = common::Pi / 32 * 1e-12L;
}  // namespace

Real CalcCylinderInertia(Real D, Real d, Real b, Real rho) {
  return InertiaFactor * b * rho * (D * D - d * d) * (D * D + d * d);
}

Real CalcPolarMomentOfArea(Real D, Real d) {
  return common::Pi / 32 * (D * D * D * D - d * d * d * d);
}

Real CalcPolarSectionModulus(Real D, Real d) {
  // A wall of no thickness has no modulus; D <= 0 would divide by zero.
  if (!(D > d) || !(D > 0)) return 0;
  return 2 * CalcPolarMomentOfArea(D, d) / D;
}

}  // namespace calc
