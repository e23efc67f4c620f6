// The outlines of the two gears of the noncircular pair with their teeth, in
// each gear's own coordinates (centre at the origin, unturned), as the
// gear-pair pictures and the animation draw them (gear_pictures.h).
//
// Each pitch curve is sampled along its arc: the arc length is the sum of
// the chords between successive curve points, so that the teeth sit at
// equal pitches along the curve and exactly fill it. Every flank is the
// envelope of a straight rack flank at the pressure angle while the rack's
// pitch line rolls on the pitch curve (on a circular pitch curve this is the
// involute); between the flanks the tip and root lands close the outline.
#pragma once

#include <cstdint>
#include <vector>

#include "common/real.h"

namespace drawing {

// A pitch curve sampled along its arc, in the gear's own coordinates.
struct TPitchTrack {
  std::vector<Real> S;       // arc length (chord sum) from the first sample
  std::vector<Real> X, Y;    // curve points
  std::vector<Real> Phi;     // drive angle of gear 1 at each sample, radians
  Real Length = 0;           // length of the closed curve
  int Orientation = 1;       // 1 counter-clockwise (gear 1), -1 clockwise (gear 2)

  // The point at arc length sigma (taken round the closed curve), the unit
  // tangent in the sense of growing arc, the outward unit normal and the
  // drive angle there.
  void At(Real sigma, Real& x, Real& y, Real& tx, Real& ty, Real& nx, Real& ny, Real& phi) const;
};

// The pitch curve of gear 1 (one turn) or of gear 2 (k turns of gear 1,
// gear 2 rolling on curve 1 at the centre distance NcPair.a), sampled at
// steps of the drive angle of (2 pi / z1) / 1000 at most.
TPitchTrack TrackPitchCurve(int gear);

// The turn of gear 2 in degrees (counter-clockwise) that brings its pitch
// point of the drive angle phi of gear 1 onto the line of centres, facing
// gear 1: with gear 1 turned back by phi, the two gears then mesh there, and
// their pitch radii on the line of centres add up to the centre distance.
// track is gear 2's (TrackPitchCurve(2)).
Real GearTwoTurn(const TPitchTrack& track, Real phi);

// One piece of an outline, drawn as a polyline in one pen.
struct TContourPiece {
  int Pen = 0;
  std::vector<Real> X, Y;
};

// The closed tooth outline of gear 1 or gear 2 in its own coordinates:
// 2 z flanks (z = z1 or z2 = z1 k) at half pitches along the pitch curve,
// each joined to the next by a tip land or a root land. Gear 1 carries a
// tooth from each whole pitch count to the next half; gear 2, which meshes
// with it, a space there. Pens: gear 1 flanks 19 and lands 20; gear 2
// flanks 21 and lands 26. Empty when the pair has no teeth or no pitch
// curve.
std::vector<TContourPiece> BuildGearContour(int gear);

// The number of points on each flank.
inline constexpr int FlankPointCount = 20;

}  // namespace drawing
