// Tool profile, tolerances and working geometry of the spur pair: step 3 of
// the spur-pair geometry (spur_pair_driver.h). Works on SpurGearData
// (spur_gear_data.h) after CheckSpurInput (basic_geometry.h); uses the
// tolerance tables of tolerance_tables.h.
#pragma once

namespace calc {

// Sets the basic rack of each gear from its tool kind, the tooth-thickness
// and centre-distance allowances, the backlash, the generating profile
// shifts (with the machining allowance), the working pressure angle from
// the profile shifts, the working, base and root diameters and the pitches,
// and finally the centre distance that follows from the profile shifts.
// Also run by the noncircular calculation once per position.
void CalcToolProfile();

}  // namespace calc
