// Whether the two tooth outlines of the pair (tooth_contour.h) run into each
// other as the pair turns, and whether they reach each other at all: at
// positions of the drive angle over the whole cycle (k turns of gear 1),
// gear 1 turned back by the drive angle and gear 2 turned as it rolls
// (GearTwoTurn, pitch_track.h), the area that both outlines enclose. Meshing
// teeth touch along their flanks and enclose no common area; teeth that
// interfere do, and teeth that never come near each other cannot drive.
#pragma once

#include <memory>
#include <vector>

#include "common/real.h"
#include "drawing/outlines/pitch_track.h"
#include "drawing/outlines/tooth_contour.h"

namespace drawing {

// Overlaps smaller than this fraction of the cutting module squared (see
// TMeshModules) do not count:
// along a flank of about a module they are a hundredth of the module deep,
// less than the backlash a pair is made with (and far more than the
// polylines' own, which stay below a micrometre). The slight corners of a
// polyline or a point fit sink their teeth into each other by a few
// thousandths of the module.
inline constexpr Real OverlapToleranceFactor = 1e-2L;

// Outlines closer than this fraction of the cutting module touch: flanks that mesh
// lie on each other to a few thousandths of the module between their points.
inline constexpr Real ContactGapFactor = 0.1L;

// Positions checked per tooth pitch rolled: a tooth passes the line of
// centres in about one pitch, so every engagement is seen at every tooth
// number.
inline constexpr int PositionsPerPitch = 8;

// The two modules of the teeth. Their pitch along the pitch curves gives
// one (ToothModule, tooth_contour.h): it spaces the positions and the teeth
// looked at about the pitch point. The tool that cuts them has the other
// (ToothHeightModule): the teeth are that large, and so are the overlap and
// the gap that count. They differ where a curve is far longer than the
// circle round it (waves shorter than a tooth): a sine of 1000 waves of
// 2 mm about 50 mm with 30 teeth has a pitch module of 74.19 mm and teeth
// cut with one of 3.46 mm.
struct TMeshModules {
  Real pitch = 0;
  Real cut = 0;
};

struct TMeshFinding {
  int positions = 0;         // drive-angle positions checked
  int overlapping = 0;       // of them, those where the outlines overlap
  int firstDegree = -1;      // drive angle of the first (WholeDriveDegree); -1 none
  Real firstAngle = 0;       // and exactly, radians
  Real largestArea = 0;      // the largest overlap, mm2
  Real largestAngle = 0;     // and its drive angle, radians
  bool contact = false;      // the outlines touch or overlap at some position
};

struct TMeshOutline;
struct TMeshScratch;

// The two outlines of a pair with the centre distance a, indexed for
// repeated overlap tests at different drive angles.
class TMeshingPair {
 public:
  TMeshingPair(const std::vector<TContourPiece>& gear1, const std::vector<TContourPiece>& gear2, Real a);
  ~TMeshingPair();

  // The area both outlines enclose (of their intersection) with gear 1
  // turned by -phi (radians) about the origin and gear 2 by turn2 (radians,
  // counter-clockwise) about (a, 0); 0 when either outline is empty. pitch
  // is the teeth's pitch along the pitch curves: the teeth within three
  // pitches of the pitch point are looked at first, then the rest of the
  // outlines (the same area); 0 looks at all at once. Outlines that touch
  // (a corner on the other's side or corner, sides along each other's)
  // enclose what lies inside both, no more.
  Real OverlapArea(Real phi, Real turn2, Real pitch = 0) const;

  // What one position shows: the overlap of the teeth about the pitch
  // point (all of the common area that they bound), and where that exceeds
  // `above` (negative: always), of the whole outlines, which a negative
  // `above` also asks for where no teeth about the pitch point cross; and
  // whether the outlines touch there:
  // cross, or come within gap of each other (looked for only while touch
  // is false; set when they do). pitch as above; radius1 is gear 1's pitch
  // radius at the position (0: not known).
  Real OverlapAbove(Real phi, Real turn2, Real above, Real gap, bool& touch, Real pitch = 0,
                    Real radius1 = 0) const;

 private:
  std::unique_ptr<TMeshOutline> gear1_, gear2_;
  std::unique_ptr<TMeshScratch> work_;  // what a position's search uses
  Real a_;
};

// The drive angles (radians) the check looks at over the cycle (turns of
// gear 1): PositionsPerPitch to a pitch rolled, at equal steps of the arc
// of gear 2's pitch track; where the cycle is one turn of gear 1, every
// whole degree if those are as many. teeth2 is the number of teeth gear 2
// carries on its track (z1 times the turns), whose pitches are rolled; 0
// takes as many as the track's length holds pitches of the module.
std::vector<Real> MeshPositions(const TPitchTrack& track2, int turns, Real module, long teeth2 = 0);

// The check over the cycle (turns of gear 1), PositionsPerPitch positions
// per pitch; track2 is gear 2's pitch track, modules the teeth's, teeth2 as
// for MeshPositions (of the pitch module). A position overlaps where the
// teeth about the pitch point do by more than the tolerance (of the
// cutting module); the largest overlap is that of the
// whole outlines where the overlap about the pitch point is the largest
// yet (so that an interfering pair does not look at its whole outlines at
// every position).
TMeshFinding CheckMeshing(const std::vector<TContourPiece>& gear1, const std::vector<TContourPiece>& gear2,
                          const TPitchTrack& track2, Real a, int turns, const TMeshModules& modules,
                          long teeth2 = 0);

}  // namespace drawing
