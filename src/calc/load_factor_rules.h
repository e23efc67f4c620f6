// Rules that the two rating paths share (din_load_factors.cpp after
// DIN 3990, iso_factor_set.cpp after ISO 6336): the limits of the root's
// transverse load factor and the pairing whose soft gear is work-hardened.
#pragma once

#include <cstdint>

#include "common/range_array.h"
#include "common/real.h"

namespace calc {

// KFalpha from the unlimited transverse load factor: at least 1 and at most
// epsGamma / (0.25 epsAlpha + 0.75), the root's own limit (the flank's
// limit with Zeps does not apply to the root).
Real LimitRootTransverseFactor(Real unlimited, Real epsAlpha, Real epsGamma);

// The gear (1 or 2) whose flank the other one work-hardens: a soft steel
// gear (material group 1, 2 or 3 with heat treatment 0 or 1) running with a
// hardened gear (heat treatment 2..7). 0 for every other pairing.
int SoftGearOfHardenedPairing(const GearArray<std::uint16_t>& materialType,
                              const GearArray<std::uint16_t>& heatTreatment);

// A steel gear without surface or through hardening beyond quenching and
// tempering (material group 1..3, heat treatment 0 or 1).
bool IsSoftSteelGear(std::uint16_t materialType, std::uint16_t heatTreatment);

}  // namespace calc
