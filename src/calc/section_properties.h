// Section properties of gear bodies and hollow shafts for the load-capacity
// calculation and the shaft input: mass moment of inertia of a hollow
// cylinder, polar moment of area and polar section modulus of an annulus.
// Pure functions; diameters and widths in mm.
#pragma once

#include "common/real.h"

namespace calc {

// Mass moment of inertia (kg m^2) of a hollow cylinder of outer diameter D,
// inner diameter d, face width b (mm) and density rho (kg/dm^3):
// pi/32 * 1e-12 * b * rho * (D^4 - d^4).
Real CalcCylinderInertia(Real D, Real d, Real b, Real rho);

// Polar moment of area pi/32 (D^4 - d^4) in mm^4.
Real CalcPolarMomentOfArea(Real D, Real d);

// Polar section modulus 2 Ip / D in mm^3; 0 unless D > d (and D > 0).
Real CalcPolarSectionModulus(Real D, Real d);

}  // namespace calc
