// The region a gear's material may take: inside its pitch curve or at most
// the addendum outside it, bounded by the tip curve. Teeth set on a curve
// that bends tighter than they allow (bend_check.h) are generated partly
// far beyond it; such points are drawn on the tip curve instead, so that no
// line of a gear strays out of it.
#pragma once

#include <cstdint>
#include <vector>

#include "common/real.h"
#include "drawing/outlines/pitch_track.h"
#include "drawing/outlines/simple_outline.h"

namespace drawing {

// The pitch track (a closed polar curve about the origin) with the tip
// curve at height outside it, indexed for point queries; and the tip
// circle, outside which no point lies whatever the track: the largest
// radius of the pitch curve (largestRadius, or its points', should they
// reach farther) plus the height (a track can stand for a curve of a
// million waves only roughly, its pieces far longer than the waves).
class TTipRegion {
 public:
  TTipRegion(const TPitchTrack& track, Real height, Real largestRadius = 0);

  // How far p lies outside the tip curve (0 inside), and the point of the
  // tip curve nearest to it where it does.
  Real Excess(Real x, Real y, Real& tx, Real& ty) const;
  // The tip curve's height above the track.
  Real Height() const { return height_; }
  // The tip circle's radius.
  Real Circle() const { return static_cast<Real>(circle_); }

 private:
  const TPitchTrack& track_;
  Real height_;
  double dheight_;                             // the same in double
  double circle_;                              // the tip circle's radius
  int sectors_ = 0;
  std::vector<double> lowest_;                 // smallest radius of the curve in each sector
  std::vector<double> highest_;                // and its largest
  std::vector<TCubic<double>> cubics_;         // the pieces in double precision
  std::vector<double> middleX_, middleY_;      // each piece's point at its middle parameter
  std::vector<double> halfLength_;             // every point of the piece lies this near it
  std::vector<std::uint32_t> first_, pieces_;  // the pieces of the track in each sector
};

// Moves every vertex of the outline that lies outside the tip curve onto
// it, and cuts the segments whose middle lies outside until their pieces
// keep within a fiftieth of the height of it; then moves every vertex
// beyond the tip circle onto it. Outlines of teeth that their curve can
// carry lie inside and stay as they are.
// Returns the number of points moved or added.
int KeepInsideTipCurve(TPenPolygon& outline, const TTipRegion& region);

}  // namespace drawing
