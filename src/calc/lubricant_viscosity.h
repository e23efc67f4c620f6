// Kinematic viscosity of a gear lubricant at another temperature, for the
// load-capacity formulas and the lubricant input. Pure function.
#pragma once

#include "common/real.h"

namespace calc {

// nu2 (mm^2/s) at t2 (degrees C) from nu1 at t1, after the Ubbelohde-Walther
// relation lg lg(nu + 0.8) = W - m lg T with the fixed slope m = 3.726 of
// mineral gear oils (T in kelvin).
Real CalcViscosityAtTemperature(Real nu1, Real t1, Real t2);

}  // namespace calc
