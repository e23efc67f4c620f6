// Influence factors of the load capacity calculation after DIN 3990 (methods
// "DIN 3990-1,2,3" and "DIN 3990-41"): stiffness, reduced mass and resonance
// speed, dynamic factor, face and transverse load factors, the flank factors
// and the tooth-root factors. Called by the strength step (load_capacity.cpp)
// after it has set forces, speeds, velocity, HBmin, xStrength and the six
// answer booleans; works on SpurGearData (spur_gear_data.h). The ISO 6336
// twin is CalcIsoFactors (iso_factor_set.h).
#pragma once

#include "common/real.h"

namespace calc {

// Coefficients Cv1..Cv7 of the dynamic factor by the total contact ratio
// (DIN 3990-1 method B).
struct TDinCv {
  Real c1 = 0, c2 = 0, c3 = 0, c4 = 0, c5 = 0, c6 = 0, c7 = 0;
};
TDinCv DinDynamicCoefficients(Real epsGamma);

// KV in the speed range of the resonance ratio N: subcritical up to ns
// (the lower limit of the main resonance range, 0.85 from a line load of
// 100 N/mm on), main resonance up to 1.15, interpolated up to 1.5,
// supercritical above. bp, bf, bk: the non-dimensional pitch, profile and
// running-in terms.
Real DinDynamicFactor(Real ratio, Real ns, Real bp, Real bf, Real bk, const TDinCv& cv);

// Sets the factors in SpurGearData. Sets FatalFlag for a zero density, a zero
// application factor, a missing shaft diameter, a zero tooth height, a
// contact ratio <= 0 and the guarded divisions; other problems are messages.
void CalcLoadFactors();

}  // namespace calc
