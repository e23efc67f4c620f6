// Test dimensions of each gear of the spur pair: the span measurement over
// k teeth and the dimension over two balls or pins, for the five tooth
// thicknesses of the generating profile shifts xEmin, xEmax (before
// finishing), x (nominal), xEb and xEa (lower and upper tooth-thickness
// allowance). First half of step 6 of the spur-pair geometry
// (gear_tolerances.h); reads the geometry of SpurGearData and writes the
// measurement fields of spur_tolerance_fields.h.
#pragma once

#include "common/real.h"

namespace calc {

// Span measurement Wk over SpanToothCount[i] teeth for the generating
// profile shift xs of gear i; chooses the count when it is 0.
Real CalcSpanMeasure(int i, Real xs);

// Dimension over two balls (odd tooth numbers: balls in opposite gaps, one
// half pitch apart) of gear i for the profile shift xs, with the ball
// diameter BallDiameter[i].
Real CalcBallMeasure(int i, Real xs);

// Dimension over balls of an odd helical gear converted to the dimension of
// two balls in one transverse plane; other gears keep mdk.
Real ConvertOddBallMeasure(int i, Real mdk);

// The measurement loop for gear 1, then gear 2 (ball diameter when
// AutoBallDiameter is 1, then the 15 dimensions of each gear). Returns
// false when it ended early because FatalFlag was set.
bool CalcGearMeasurements();

// The one result of the measurement loop that outlasts a position: with
// entered ball diameters (AutoBallDiameter not 1) the span tooth count,
// once chosen, stays for the positions that follow. Chooses it where it is
// still 0, as the loop would.
void ChooseSpanToothCounts();

}  // namespace calc
