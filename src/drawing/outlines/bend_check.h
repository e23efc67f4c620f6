// Whether a pitch curve can carry its teeth. The tip curve of a gear runs
// at the addendum outside its pitch curve, the root curve at the dedendum
// inside; where the pitch curve turns away from the centre (a hollow) more
// sharply than the addendum, the tip curve folds back on itself, and where
// it turns towards the centre more sharply than the dedendum (a corner, a
// wave's crest), the root curve does. A fold of a corner's size cuts a tooth
// or a space short; a fold as long as a quarter pitch leaves no room for the
// teeth there at all: the curve bends tighter than its teeth allow. Waves
// shorter than a tooth, and polylines whose points zigzag, do so all round.
#pragma once

#include "common/real.h"
#include "drawing/outlines/pitch_track.h"

namespace drawing {

struct TBendFinding {
  bool tight = false;   // a fold longer than the limit somewhere
  Real driveAngle = 0;  // where the first such fold begins, radians of gear 1
  Real longest = 0;     // the longest fold of the tip or root curve, mm
  long tangents = 0;    // the tangents it read: its work
};

// The most steps the check takes along one piece of the track (between two
// samples): its work grows with the track's samples, not with the length
// of the curve.
inline constexpr int StepsPerSample = 4;

// The folds of the tip curve (tipHeight outside the track) and the root
// curve (rootDepth inside) over the closed track, against a quarter of the
// pitch.
TBendFinding FindTightBend(const TPitchTrack& track, Real tipHeight, Real rootDepth, Real pitch);

}  // namespace drawing
