// Plausibility warnings of the spur pair: the last checks of the spur-pair
// geometry (spur_pair_driver.h, step 7) on the finished geometry. Works on
// SpurGearData (spur_gear_data.h); reports through the message list and
// never sets FatalFlag.
#pragma once

namespace calc {

// Point teeth, undercut, tip clearance, contact ratios, large profile
// shifts, tool angles, generating shifts, bore against root diameter and
// the profile shift of an internal gear; also fills the roughness and
// density inputs of the strength calculation with defaults when they are 0.
void CheckSpurWarnings();

// Defaults of the strength inputs that the geometry forms do not show:
// roughness 1 um of flank and root, density 7.8 kg/dm^3 where 0.
void SetStrengthInputDefaults();

}  // namespace calc
