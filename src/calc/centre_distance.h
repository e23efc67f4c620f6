// Closing the noncircular pair: the centre distance at which gear 2 turns
// exactly once while gear 1 turns k times, and the rectangle sums over the
// pitch curve of gear 1 (pitch_curve.h) that the iteration and the pictures
// use. Rolling without sliding puts the contact point on the line of
// centres: r2(phi) = a - r1(phi) and dphi2 = r1 / (a - r1) dphi1.
// All routines work on the records of calc_records.h.
#pragma once

#include "common/real.h"

namespace calc {

// U1 = sum of h * r1(phi) over phi = h, 2h, ..., 2 pi with h = 1 degree
// (360 samples).
Real IntegrateRadiusFullTurn();

// Sum of h * r1(phi) over phi = h, 2h, ... up to the first sample at or
// beyond x, h = 2 pi / 1000: the rolled length of pitch curve 1 up to x in
// the same rectangle measure as U1; at least one sample.
Real IntegrateRadiusTo(Real x);

// The smallest r1 over phi = h, 2h, ..., 2 pi (h = 1 degree); the first of
// equal minima counts; 1e38 when no sample is smaller.
Real MinPitchRadius();

// Turn of gear 2 while gear 1 turns from 0 to x: sum of h * r1 / (a - r1)
// over phi = 0, h, 2h, ... below x (h = 0.001, at least one sample), with
// a = NcPair.a.
Real RollingAngle2(Real x);

// Finds NcPair.a by bisection and writes NcPair.U1, rnom1, rnom2, a, imin,
// imax and RadiusExtremes. Failures: "Fatal  : rw1 <= 0 !" (a radius of
// curve 1 that is not positive and finite; a and the ratios keep their
// values) and "Fatal  : Iteration !" (no convergence in 1001 steps; the
// results of the last step are stored), each with FatalFlag.
void IterateCentreDistance();

}  // namespace calc
