// The noncircular pair calculation (noncircular_pair.cpp): closes the pitch
// curves of the pair (centre_distance.h) and rates every drive-angle
// position as a substitute involute spur pair through the spur-pair kernel
// (spur_pair_driver.h), keeping the extreme safeties per gear. Works on the
// records of calc_records.h and on SpurGearData.
#pragma once

#include "common/real.h"

namespace calc {

// The complete calculation. Afterwards FatalFlag tells whether the pair
// could be closed and rated (it stays clear when only some positions
// failed); NcPair, RadiusExtremes and SafetyExtremes hold the results,
// SpurGearData the substitute pair of the last position (360 degrees), and
// the message list what the sweep says of the turn (failed positions, the
// smallest safeties, the resonance) followed by every text any position
// raised, once, with " first at <degree>°" (sweep_messages.h).
void CalcNoncircularPair();

// Fills SpurGearData with the substitute spur pair of the drive angle phi
// of gear 1 (radians) and computes it; FatalFlag as the spur-pair
// calculation leaves it. Needs a closed pair (NcPair.a).
void CalcSubstituteSpurPair(Real phi);

// A position as the sweep rates those before the last: the same FatalFlag
// and the same values of everything but what only a printout or a picture
// reads (measurements, picture values, series names, the profile-shift sum
// of the corrected centre distance), which keep earlier values, and the
// same messages but those of the measurements. The message list is not
// cleared at the end (the next position clears it).
void RateSubstituteSpurPair(Real phi);

}  // namespace calc
