// The influence factors of the load capacity after ISO 6336 parts 1 to 3 for
// the current spur pair (iso_factor_set.cpp). The strength step
// (load_capacity.cpp) calls it for CalcMethod 4 in place of the DIN 3990
// load factors, then forms stresses and safeties from what it leaves in
// SpurGearData. The single formulas are in iso_factor_routines.h.
#pragma once

namespace calc {

// Reads the geometry, load and material fields of SpurGearData and the
// values the strength step has set before (Ft, v, the speeds in use,
// xStrength, the answer booleans, the body diameters in use); writes every
// ISO factor. FatalFlag is set only when the pair cannot be rated (no face
// width, or an input that would make a factor non-finite).
void CalcIsoFactors();

}  // namespace calc
