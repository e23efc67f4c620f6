// Influence factors of the load capacity calculation after DIN 3990 (methods
// "DIN 3990-1,2,3" and "DIN 3990-41"): stiffness, reduced mass and resonance
// speed, dynamic factor, face and transverse load factors, the flank factors
// and the tooth-root factors. Called by the strength step (load_capacity.cpp)
// after it has set forces, speeds, velocity, HBmin, xStrength and the six
// answer booleans; works on SpurGearData (spur_gear_data.h). The ISO 6336
// twin is CalcIsoFactors (iso_factor_set.h).
#pragma once

namespace calc {

// Sets the factors in SpurGearData. Sets FatalFlag for a zero density, a zero
// application factor, a missing shaft diameter, a zero tooth height, a
// contact ratio <= 0 and the guarded divisions; other problems are messages.
void CalcLoadFactors();

}  // namespace calc
