// Closing the noncircular pair: the centre distance at which gear 2 turns
// exactly once while gear 1 turns k times, and the sums over the pitch
// curve of gear 1 (pitch_curve.h) that the iteration and the pictures use.
// Rolling without sliding puts the contact point on the line of centres:
// r2(phi) = a - r1(phi) and dphi2 = r1 / (a - r1) dphi1. The arc lengths
// are sums of the chords between successive curve points (r1(phi), phi),
// so that teeth placed by them sit at equal pitches along the curve.
// All routines work on the records of calc_records.h.
#pragma once

#include "common/real.h"

namespace calc {

// U1, the arc length of pitch curve 1: the chords between the points at
// phi = 0, h, ..., 3599 h and back to the first (h = 0.1 degree), the
// samples that the centre-distance iteration takes.
Real IntegrateRadiusFullTurn();

// The arc length of pitch curve 1 from phi = 0 up to the first sample at or
// beyond x: the chords between the points at 0, h, 2h, ... with
// h = 2 pi / 1000; at least one chord.
Real IntegrateRadiusTo(Real x);

// The smallest r1 over phi = h, 2h, ..., 2 pi (h = 1 degree); the first of
// equal minima counts; 1e38 when no sample is smaller.
Real MinPitchRadius();

// Turn of gear 2 while gear 1 turns from 0 to x: sum of h * r1 / (a - r1)
// over phi = 0, h, 2h, ... below x (h = 0.001, at least one sample), with
// a = NcPair.a.
Real RollingAngle2(Real x);

// Finds NcPair.a by bisection between the largest radius of curve 1 and
// 6 U1 k / pi, over the samples of one turn at 0.1 degree (every turn of
// gear 1 repeats them), and writes NcPair.U1 (their chord length), rnom1,
// rnom2, a, imin, imax and RadiusExtremes. Failures: "Fatal  : rw1 <= 0 !"
// (a radius of curve 1 that is not positive and finite; U1, a and the
// ratios keep their values) and "Fatal  : Iteration !" (no convergence in
// 1001 steps; the results of the last step are stored), each with FatalFlag.
// A closing with the same inputs as the last one that gave no message
// (closure_inputs.h) takes that one's results instead of sampling again.
void IterateCentreDistance();

}  // namespace calc
