// Rules that the two rating paths share (din_load_factors.cpp after
// DIN 3990, iso_factor_set.cpp after ISO 6336): the limits of the root's
// transverse load factor, the pairing whose soft gear is work-hardened and
// the offset of the pinion between its bearings.
#pragma once

#include <cstdint>
#include <string>

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

// The pinion's bearing distance l and offset s in use: the entered ones,
// or where no bearing distance is entered (0) the pinion's reference
// diameter d1 and s = 0. Both methods take them so, and say it the same
// way: the printout's bearing rows show the values in use; the entered 0
// stays "derive".
void TakeBearingDistance(Real l1, Real s1, Real d1, Real& l1Used, Real& s1Used);

// "Warning: s/l > 0.3 !" for the bearing arrangements 1, 2, 4 and 5 and
// "Warning: s/l > 0.5 !" for 3, when the pinion's offset s from the middle
// of the bearing distance l exceeds the share the K' rule holds for;
// nothing for other arrangements, l = 0 or while messages are quiet.
void CheckPinionOffset(std::uint16_t bearingArrangement, Real s, Real l);

}  // namespace calc
