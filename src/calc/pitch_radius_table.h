// The radii of a formula curve kept by their angle while a picture is drawn.
// One redraw asks for r1 at the same angles many times over: the pitch
// tracks of both gears sample a common grid, the pitch curves and the
// diagrams the same whole degrees; and a formula of many terms takes tens of
// microseconds per radius. While a PitchRadiusTableScope lives, PitchRadius
// (pitch_curve.h) answers an angle of a formula curve that it was asked for
// before from the table, with the value (and slope) that it computed then. A radius
// that failed is not kept, so that its messages come again. Scopes nest and
// share the table of the outermost one, which empties it at its end; nothing
// may change the curve while one lives.
//
//   const calc::PitchRadiusTableScope radii;
//   ... the tracks, curves and diagrams of one picture ...
#pragma once

#include "common/real.h"

namespace calc {

class PitchRadiusTableScope {
 public:
  PitchRadiusTableScope();
  ~PitchRadiusTableScope();
  PitchRadiusTableScope(const PitchRadiusTableScope&) = delete;
  PitchRadiusTableScope& operator=(const PitchRadiusTableScope&) = delete;

 private:
  bool outermost_;
};

// What the table keeps of an angle: the radius and, once it was asked for,
// the slope (known: the formula gave a finite derivative).
struct TTabledRadius {
  Real r = 0;
  Real slope = 0;
  bool slopeAsked = false;
  bool slopeKnown = false;
};

// For the radius function: whether a table is open, what it keeps for the
// angle phi (compared bit for bit; nullptr: nothing), and keeping it (in
// place of what was kept).
bool PitchRadiusTableOpen();
const TTabledRadius* FindTabledRadius(Real phi);
void KeepTabledRadius(Real phi, const TTabledRadius& radius);

}  // namespace calc
