// Input checks, basic geometry and tip diameters of the spur pair: steps 1,
// 2 and 4 of the spur-pair geometry (spur_pair_driver.h). They take no
// arguments and work on SpurGearData (spur_gear_data.h); fatal inputs are
// reported through the message list with FatalFlag. The tool profile and
// the working geometry (step 3) are in tool_profile.h.
#pragma once

namespace calc {

// Step 1: checks alpha, beta, mn, b and the tooth numbers, and the upper
// limits (z1 10000, mn 100 mm, b 10000 mm, speed 1e6 1/min, power 1e6 kW,
// torque 1e9 N m, pitch radius 100000 mm), each a "Fatal  : " message
// naming the quantity; completes the
// per-gear face widths and tool angles, derives the helix hand of gear 2,
// the transverse values, the reference diameters and the undercut limits.
// Also run by the noncircular calculation once per position.
void CheckSpurInput();

// Step 2: working pressure angle and profile-shift sum that the entered
// centre distance needs; a centre distance that no working angle fits is
// replaced by the one without profile shift when it is more than 20 % off.
void CorrectCentreDistance();

// Step 4: tip diameter, tip shortening and tip clearance of each gear by
// its GeometryMode (1 from the clearance, 2 from the shortening, 3 from the
// given tip diameter).
void SetTipDiameters();

}  // namespace calc
