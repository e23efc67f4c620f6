// The outlines of the two gears of the noncircular pair with their teeth, in
// each gear's own coordinates (centre at the origin, unturned), as the
// gear-pair pictures and the animation draw them (gear_pictures.h).
//
// The teeth sit at equal pitches along the arc of the pitch curve
// (pitch_track.h) and exactly fill it. Every flank is the
// envelope of a straight rack flank at the pressure angle while the rack's
// pitch line rolls on the pitch curve (on a circular pitch curve this is the
// involute); between the flanks the tip and root lands close the outline.
#pragma once

#include <cstdint>
#include <vector>

#include "common/real.h"
#include "drawing/outlines/pitch_track.h"

namespace drawing {

// One piece of an outline, drawn as a polyline in one pen.
struct TContourPiece {
  int Pen = 0;
  std::vector<Real> X, Y;
};

// The module the teeth are drawn with: the one that fits their pitch,
// U1 / (pi z1), in both module modes (the teeth sit at equal pitches along
// the curve; the local module of module mode 1 is the rating's only).
Real ToothModule();

// The module the teeth's heights are drawn with: their own (ToothModule),
// but in module mode 1 no more than the largest module the rating gives
// the pair (2 r1max / z1). A pitch curve far longer than the circle round
// it (waves shorter than a tooth) spaces its teeth so far apart along it
// that their own module would take their tips and roots far beyond the
// tip and root curves of the pair the rating rated; they reach no farther
// than those.
Real ToothHeightModule();

// The closed tooth outline of gear 1 or gear 2 in its own coordinates:
// 2 z flanks (z = z1 or z2 = z1 k) at half pitches along the pitch curve,
// each joined to the next by a tip land or a root land. Gear 1 carries a
// tooth from each whole pitch count to the next half; gear 2, which meshes
// with it, a space there. Where the outline would cross itself (flanks that
// meet below a tooth's tip, a flank that steps back, teeth that run into
// each other) it is cut at the crossing and the loop beyond is left out,
// so that it is one simple closed curve round the material. Pens: gear 1
// flanks 19 and lands 20; gear 2 flanks 21 and lands 26. Empty when the
// pair has no teeth or no pitch curve. track is the gear's pitch track.
std::vector<TContourPiece> BuildGearContour(int gear, const TPitchTrack& track);

// The pitch track and the tooth outline of a gear for the pair as it stands,
// kept from one call to the next while what they are built from is
// unchanged: the pitch curve, k, z1, the centre distance, the module and
// the gear's tool (a material or load edit keeps them).
const TPitchTrack& PitchTrack(int gear);
const std::vector<TContourPiece>& GearContour(int gear);
// A number that changes whenever the kept outline of the gear is built
// anew (what is computed from it can be kept as long as it stands).
std::uint64_t GearContourGeneration(int gear);

// The number of points on each flank.
inline constexpr int FlankPointCount = 20;

}  // namespace drawing
