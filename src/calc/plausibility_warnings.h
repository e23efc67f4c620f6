// Plausibility warnings of the spur pair: the last checks of the spur-pair
// geometry (spur_pair_driver.h, step 7) on the finished geometry. Works on
// SpurGearData (spur_gear_data.h); reports through the message list and
// never sets FatalFlag.
#pragma once

#include <string>

namespace calc {

struct TSpurGearData;

// Point teeth, undercut, tip clearance, contact ratios, large profile
// shifts, tool angles, generating shifts, bore against root diameter and
// the profile shift of an internal gear; also fills the roughness and
// density inputs of the strength calculation with defaults when they are 0.
void CheckSpurWarnings();

// The findings that the noncircular sweep keeps over all positions
// (noncircular_pair.h), each for gear i (1 or 2) of the data set:
// point teeth (tip thickness at most 0.15 mn), undercut (the profile shift
// below the practical limit; not looked for while MsgQuiet is set) and a
// bore larger than the root diameter. With their texts.
bool HasPointTeeth(const TSpurGearData& g, int i);
bool HasUndercut(const TSpurGearData& g, int i);
bool HasBoreAboveRoot(const TSpurGearData& g, int i);
std::string PointTeethWarning(int i);
std::string UndercutWarning(int i);
std::string BoreAboveRootError(int i);

// Defaults of the strength inputs that the geometry forms do not show:
// roughness 1 um of flank and root, density 7.8 kg/dm^3 where 0.
void SetStrengthInputDefaults();

}  // namespace calc
