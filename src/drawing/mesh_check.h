// Whether the two tooth outlines of the pair (tooth_contour.h) run into each
// other as the pair turns: at every degree of the drive angle over the
// whole cycle (k turns of gear 1), gear 1 turned back by the drive angle and
// gear 2 turned as it rolls (GearTwoTurn, pitch_track.h), the area that
// both outlines enclose. Meshing teeth touch along their flanks and enclose
// no common area; teeth that interfere do.
#pragma once

#include <memory>
#include <vector>

#include "common/real.h"
#include "drawing/pitch_track.h"
#include "drawing/tooth_contour.h"

namespace drawing {

// Overlaps smaller than this fraction of the module squared do not count:
// along a flank of about a module they are a hundredth of the module deep,
// less than the backlash a pair is made with (and far more than the
// polylines' own, which stay below a micrometre). The slight corners of a
// polyline or a point fit sink their teeth into each other by a few
// thousandths of the module.
inline constexpr Real OverlapToleranceFactor = 1e-2L;

struct TMeshFinding {
  int positions = 0;         // drive-angle positions checked
  int overlapping = 0;       // of them, those where the outlines overlap
  int firstDegree = -1;      // drive angle of the first, whole degrees; -1 none
  Real largestArea = 0;      // the largest overlap, mm2
  int largestDegree = -1;    // and its drive angle
};

struct TMeshOutline;

// The two outlines of a pair with the centre distance a, indexed for
// repeated overlap tests at different drive angles.
class TMeshingPair {
 public:
  TMeshingPair(const std::vector<TContourPiece>& gear1, const std::vector<TContourPiece>& gear2, Real a);
  ~TMeshingPair();

  // The area both outlines enclose with gear 1 turned by -phi (radians)
  // about the origin and gear 2 by turn2 (radians, counter-clockwise) about
  // (a, 0); 0 when either outline is empty.
  Real OverlapArea(Real phi, Real turn2) const;

 private:
  std::unique_ptr<TMeshOutline> gear1_, gear2_;
  Real a_;
};

// The check at every whole degree of the drive angle over the cycle;
// track2 is gear 2's pitch track, module the teeth's (for the tolerance).
TMeshFinding CheckMeshing(const std::vector<TContourPiece>& gear1, const std::vector<TContourPiece>& gear2,
                          const TPitchTrack& track2, Real a, int turns, Real module);

}  // namespace drawing
