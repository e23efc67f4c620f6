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
  double limit = 0;
  Real span = 0;
  double lowest = 0;
  Real lowestAngle = 0;
  bool started = false;
  double largest = 0;
  bool over = false;
  Real overAngle = 0;

  // The angle of g is asked for only where g is the lowest yet (where it
  // rises from nothing).
  template <class Angle>
  void Feed(double g, Angle&& angle) {
    if (!started || g < lowest) {
      lowest = g;
      lowestAngle = angle();
      started = true;
      return;
    }
    const double rise = g - lowest;
    if (rise > largest) largest = rise;
    if (rise > limit && (!over || (lowestAngle != overAngle && Order(lowestAngle) < Order(overAngle)))) {
      over = true;
      overAngle = lowestAngle;
    }
  }
  Real Order(Real angle) const { return angle > span - Pi / 360 ? angle - span : angle; }
};

// Whether two tangents point the same way (within a nanoradian, the
// rounding of the pieces' ends).
bool Straight(double ux, double uy, double vx, double vy) {
  const double dot = ux * vx + uy * vy;
  return dot > 0 && std::fabs(ux * vy - uy * vx) <= 1e-9 * dot;
}

}  // namespace

TBendFinding FindTightBend(const TPitchTrack& track, Real tipHeight, Real rootDepth, Real pitch) {
  TBendFinding finding;
  const std::size_t n = track.S.size();
  if (n < 2 || track.Pieces.size() + 1 != n || !(track.Length > 0) || !(pitch > 0)) return finding;
  // The tangent's direction at steps of at most a sixteenth of the pitch,
  // and at every sample of the track; but no more than StepsPerSample
  // steps to a piece: the track samples the curve as densely as its shape
  // needs, so a piece longer than a few steps is a straight or evenly
  // bending stretch (a polygon's side, a chord across waves shorter than
  // the track's finest step), and a curve far longer than its circle costs
  // no more steps than the track has samples. The walk is in double
  // precision: the tangents turn by far less than a quarter turn from one
  // step to the next, and double keeps the arc of a curve metres long to
  // nanometres, where the folds that matter are hundredths of a pitch.
  const double step = static_cast<double>(pitch) / 16;
  const Real span = track.Phi.back();
  const double tipH = static_cast<double>(tipHeight), rootH = static_cast<double>(rootDepth);
  const double length = static_cast<double>(track.Length);
  RiseWatch tip, root;
  tip.limit = root.limit = static_cast<double>(pitch) / 4;
  tip.span = root.span = span;
  // The turn from one tangent to the next from their cross and dot
  // products.
  double turned = 0, lastX = 0, lastY = 0;
  bool first = true;
  // Two rounds, so that a fold across the curve's start is seen whole. The
  // second one ends where both curves have come lower than anywhere in the
  // first: from there on it meets the rises of the first round again, each
  // from a lowest point no lower than the first round's (g runs the same
  // way, only shifted by a whole turn).
  double tipBefore = 0, rootBefore = 0;
  bool tipLower = false, rootLower = false;
  // A step along the track: the tangent (dx, dy) at the arc `arc` and the
  // drive angle phi0 + s dphi.
  const auto walk = [&](double dx, double dy, double arc, Real phi0, Real s, Real dphi, int round) {
    if (dx == 0 && dy == 0) return;
    if (!first) turned += track.Orientation * std::atan2(lastX * dy - lastY * dx, lastX * dx + lastY * dy);
    first = false;
    ++finding.tangents;
    lastX = dx, lastY = dy;
    const double gTip = -tipH * turned - arc, gRoot = rootH * turned - arc;
    // (The drive angle of a piece's step lies below the span's end, or at
    // it.)
    const auto drive = [&] {
      const Real phi = phi0 + s * dphi;
      return phi >= span ? phi - span : phi;
    };
    tip.Feed(gTip, drive);
    root.Feed(gRoot, drive);
    if (round == 1) {
      tipLower = tipLower || gTip < tipBefore;
      rootLower = rootLower || gRoot < rootBefore;
    }
  };
  for (int round = 0; round < 2 && !(tipLower && rootLower); ++round) {
    if (round == 1) tipBefore = tip.lowest, rootBefore = root.lowest;
    for (std::size_t i = 0; i + 1 < n && !(tipLower && rootLower); ++i) {
      const TTrackPiece& p = track.Pieces[i];
      const TCubic<double> c = p.As<double>();
      const double pieceLength = static_cast<double>(p.length);
      const double arc0 = round * length + static_cast<double>(track.S[i]);
      const Real phi0 = track.Phi[i], dphi = track.Phi[i + 1] - phi0;
      double midX, midY, endX, endY;
      c.Derivative(0.5, midX, midY);
      c.Derivative(1, endX, endY);
      const int parts = Straight(c.ax[1], c.ay[1], midX, midY) && Straight(c.ax[1], c.ay[1], endX, endY)
                            ? 1
                            : static_cast<int>(std::clamp(std::ceil(pieceLength / step), 1.0, double(StepsPerSample)));
      for (int j = 0; j < parts; ++j) {
        const double s = static_cast<double>(j) / parts;
        double dx, dy;
        c.Derivative(s, dx, dy);
        walk(dx, dy, arc0 + s * pieceLength, phi0, s, dphi, round);
      }
      // Where the next piece leaves in another direction (a corner, a
      // chord's kink), the piece's end: the fold there begins at the
      // corner itself, however long the step before it.
      const TTrackPiece& next = track.Pieces[i + 2 < n ? i + 1 : 0];
      if (!Straight(endX, endY, static_cast<double>(next.ax[1]), static_cast<double>(next.ay[1])))
        walk(endX, endY, arc0 + pieceLength, track.Phi[i + 1], 0, dphi, round);
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
