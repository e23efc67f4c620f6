// Lubricant viscosity over temperature (lubricant_viscosity.h), with the
// guarded decimal logarithm of numeric_routines.h.
#include "calc/lubricant_viscosity.h"

#include "common/numeric_routines.h"

namespace calc {

namespace {
constexpr Real WaltherSlope = 3.726L;
constexpr Real WaltherShift = 0.8L;  // mm^2/s
constexpr Real ZeroCelsius = 273.15L;
}  // namespace

Real CalcViscosityAtTemperature(Real nu1, Real t1, Real t2) {
  const Real w1 = common::Log10(common::Log10(nu1 + WaltherShift));
  const Real kelvin1 = t1 + ZeroCelsius;
  const Real kelvin2 = t2 + ZeroCelsius;
  const Real w2 = w1 - WaltherSlope * (common::Log10(kelvin2) - common::Log10(kelvin1));
  return common::Pow10(common::Pow10(w2)) - WaltherShift;
}

}  // namespace calc
