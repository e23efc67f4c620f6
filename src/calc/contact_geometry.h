// Tooth thickness and contact geometry of the spur pair: step 5 of the
// spur-pair geometry (spur_pair_driver.h). Works on SpurGearData
// (spur_gear_data.h) with the tip and root diameters of tool_profile.cpp and
// basic_geometry.cpp; uses the geometry routines of gear_geometry_routines.h.
#pragma once

#include "common/real.h"

namespace calc {

// Tip shortening and clearance, tooth depths and thicknesses, usable tip
// and root form diameters, path of contact and contact ratios at the
// nominal centre distance and its two limits, active root diameters,
// specific sliding and, for an internal pair, the tip interference value.
void CalcContactGeometry();

// Tip interference value of an internal pair: the sum over both gears of
// (inv alpha_a + Y - inv alpha_wt) * db / 2, Y being the angle at the gear
// centre between the centre line and the crossing of the two tip circles.
Real CheckToothCollision();

// Specific sliding at the two ends of the path of contact at the nominal
// centre distance (SpecificSliding, from the pressure angles at the contact
// ends) and at both centre-distance limits (SpecificSlidingLimits, through
// CalcSpecificSliding). Sets FatalFlag when the working or the tip
// pressure angle of gear 1 leaves no path of contact.
void CalcSlidingAtContactEnds();

}  // namespace calc
