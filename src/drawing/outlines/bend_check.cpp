// The bend check of a pitch curve; see bend_check.h.
//
// A curve parallel to the track at the distance h outside grows by
// (1 + h kappa) per unit of arc (kappa the curvature, positive where the
// track turns towards the centre); where that is negative it runs backwards.
// Over a stretch of the track of length L in which the tangent turns towards
// the centre by T, the tip curve runs back by -h T - L and the root curve
// (inside) by h T - L; the longest fold is the largest rise of g = -h T - s
// (or h T - s) over the arc s, found in one pass with the running minimum.
// Corners and steps of a curve are turns over a very short arc, which the
// track resolves to its finest step.
#include "drawing/outlines/bend_check.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace drawing {

namespace {

constexpr Real Pi = std::numbers::pi_v<Real>;

// The largest rise of a sequence fed in order, and where the rise above
// the limit that begins first in the drive angle began. Every rise is
// seen, not only the first one fed: the sequence starts at the curve's
// start, and a fold there (a polygon's corner at 0°) is seen whole only
// in the second round. A fold that begins within half a degree before the
// end of the drive angle begins at its start.
struct RiseWatch {
  Real height = 0, limit = 0, span = 0;
  Real lowest = 0, lowestAngle = 0;
  bool started = false;
  Real largest = 0;
  bool over = false;
  Real overAngle = 0;

  void Feed(Real g, Real angle) {
    if (!started || g < lowest) {
      lowest = g;
      lowestAngle = angle;
      started = true;
    }
    const Real rise = g - lowest;
    largest = std::max(largest, rise);
    if (rise > limit && (!over || Order(lowestAngle) < Order(overAngle))) {
      over = true;
      overAngle = lowestAngle;
    }
  }
  Real Order(Real angle) const { return angle > span - Pi / 360 ? angle - span : angle; }
};

}  // namespace

TBendFinding FindTightBend(const TPitchTrack& track, Real tipHeight, Real rootDepth, Real pitch) {
  TBendFinding finding;
  const std::size_t n = track.S.size();
  if (n < 2 || track.Pieces.size() + 1 != n || !(track.Length > 0) || !(pitch > 0)) return finding;
  // The tangent's direction at steps of at most a sixteenth of the pitch,
  // and at every sample of the track.
  const Real step = pitch / 16;
  const Real span = track.Phi.back();
  RiseWatch tip, root;
  tip.limit = root.limit = pitch / 4;
  tip.span = root.span = span;
  // The turn from one tangent to the next from their cross and dot
  // products, in double precision: the steps turn by far less than a
  // quarter turn, and the folds that matter are hundredths of a pitch.
  double turned = 0, lastX = 0, lastY = 0;
  bool first = true;
  // Two rounds, so that a fold across the curve's start is seen whole. The
  // second one ends where both curves have come lower than anywhere in the
  // first: from there on it meets the rises of the first round again, each
  // from a lowest point no lower than the first round's (g runs the same
  // way, only shifted by a whole turn).
  Real tipBefore = 0, rootBefore = 0;
  bool tipLower = false, rootLower = false;
  for (int round = 0; round < 2 && !(tipLower && rootLower); ++round) {
    if (round == 1) tipBefore = tip.lowest, rootBefore = root.lowest;
    for (std::size_t i = 0; i + 1 < n && !(tipLower && rootLower); ++i) {
      const TTrackPiece& p = track.Pieces[i];
      const TCubic<double> c = p.As<double>();
      const int parts = std::max(1, static_cast<int>(std::ceil(p.length / step)));
      const Real arc0 = round * track.Length + track.S[i];
      const Real phi0 = track.Phi[i], dphi = track.Phi[i + 1] - track.Phi[i];
      for (int j = 0; j < parts; ++j) {
        const double s = static_cast<double>(j) / parts;
        double dx, dy;
        c.Derivative(s, dx, dy);
        if (dx == 0 && dy == 0) continue;
        if (!first) turned += track.Orientation * std::atan2(lastX * dy - lastY * dx, lastX * dx + lastY * dy);
        first = false;
        lastX = dx, lastY = dy;
        const Real arc = arc0 + s * p.length;
        const Real drive = std::fmod(phi0 + s * dphi, span);
        const Real gTip = -tipHeight * turned - arc, gRoot = rootDepth * turned - arc;
        tip.Feed(gTip, drive);
        root.Feed(gRoot, drive);
        if (round == 1) {
          tipLower = tipLower || gTip < tipBefore;
          rootLower = rootLower || gRoot < rootBefore;
        }
      }
    }
  }
  finding.longest = std::max(tip.largest, root.largest);
  if (tip.over || root.over) {
    finding.tight = true;
    // The fold that begins first in the drive angle.
    if (tip.over && root.over)
      finding.driveAngle = tip.Order(tip.overAngle) <= root.Order(root.overAngle) ? tip.overAngle : root.overAngle;
    else
      finding.driveAngle = tip.over ? tip.overAngle : root.overAngle;
  }
  return finding;
}

}  // namespace drawing
