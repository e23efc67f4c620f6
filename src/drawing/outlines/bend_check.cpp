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

// A place on the track: a share of the way along one of its pieces.
struct Place {
  std::size_t piece = 0;
  double share = 0;
};

// The largest rise of a sequence fed in order, and where the rise above
// the limit that begins first in the drive angle began. Every rise is
// seen, not only the first one fed: the sequence starts at the curve's
// start, and a fold there (a polygon's corner at 0°) is seen whole only
// in the second round. The places are put in order by their drive angle,
// where a fold that begins within half a degree before the end of the
// drive angle begins at its start.
struct RiseWatch {
  double limit = 0;
  double lowest = 0;
  Place lowestAt;
  double lowestOrder = 0;
  bool started = false;
  double largest = 0;
  bool over = false;
  Place overAt;
  double overOrder = 0;

  // The order of a place is asked for only where g is the lowest yet
  // (where a rise begins).
  template <class Order>
  void Feed(double g, const Place& at, Order&& order) {
    if (Lower(g, at, order)) return;
    const double rise = g - lowest;
    if (rise > largest) largest = rise;
    if (rise > limit && (!over || lowestOrder < overOrder)) {
      over = true;
      overAt = lowestAt;
      overOrder = lowestOrder;
    }
  }
  // Takes g as the lowest yet where it is lower (true). Alone, for a g
  // that can rise above none fed before it: the end of a straight piece,
  // lower than its start.
  template <class Order>
  bool Lower(double g, const Place& at, Order&& order) {
    if (started && !(g < lowest)) return false;
    lowest = g;
    lowestAt = at;
    lowestOrder = order();
    started = true;
    return true;
  }
};

// Whether two tangents point the same way (within a nanoradian, the
// rounding of the pieces' ends).
bool SameWay(double ux, double uy, double vx, double vy) {
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
  // the track's finest step; one that does not turn takes one step), and
  // a curve far longer than its circle costs no more steps than the track
  // has samples. The walk is in double
  // precision: the tangents turn by far less than a quarter turn from one
  // step to the next, and double keeps the arc of a curve metres long to
  // nanometres, where the folds that matter are hundredths of a pitch.
  const double step = static_cast<double>(pitch) / 16;
  const double span = static_cast<double>(track.Phi.back());
  const double lastHalfDegree = span - std::numbers::pi / 360;
  const double tipH = static_cast<double>(tipHeight), rootH = static_cast<double>(rootDepth);
  const double length = static_cast<double>(track.Length);
  RiseWatch tip, root;
  tip.limit = root.limit = static_cast<double>(pitch) / 4;
  // The turn from one tangent to the next from their cross and dot
  // products.
  double turned = 0, lastX = 0, lastY = 0;
  const double orientation = track.Orientation;
  bool first = true;
  // Two rounds, so that a fold across the curve's start is seen whole. The
  // second one ends where both curves have come lower than anywhere in the
  // first: from there on it meets the rises of the first round again, each
  // from a lowest point no lower than the first round's (g runs the same
  // way, only shifted by a whole turn).
  double tipBefore = 0, rootBefore = 0;
  bool tipLower = false, rootLower = false;
  for (int round = 0; round < 2 && !(tipLower && rootLower); ++round) {
    if (round == 1) tipBefore = tip.lowest, rootBefore = root.lowest;
    TCubic<double> c = track.FastCubic(0);
    for (std::size_t i = 0; i + 1 < n && !(tipLower && rootLower); ++i) {
      const TCubic<double> next = track.FastCubic(i + 2 < n ? i + 1 : 0);
      const double pieceLength = static_cast<double>(track.Pieces[i].length);
      const double arc0 = round * length + static_cast<double>(track.S[i]);
      // (A piece whose tangent does not change: a chord.)
      const bool straight = std::fabs(c.ax[2]) + std::fabs(c.ay[2]) + std::fabs(c.ax[3]) + std::fabs(c.ay[3]) <=
                            1e-9 * (std::fabs(c.ax[1]) + std::fabs(c.ay[1]));
      double endX = c.ax[1], endY = c.ay[1];
      if (!straight) c.Derivative(1, endX, endY);
      const int parts =
          straight ? 1 : static_cast<int>(std::clamp(std::ceil(pieceLength / step), 1.0, double(StepsPerSample)));
      // Where the next piece leaves in another direction (a corner, a
      // chord's kink), the piece's end too: the fold there begins at the
      // corner itself, however long the step before it. (A straight piece
      // ends as it began.)
      const int steps = SameWay(endX, endY, next.ax[1], next.ay[1]) ? parts : parts + 1;
      for (int j = 0; j < steps; ++j) {
        const double s = j < parts ? static_cast<double>(j) / parts : 1;
        const Place at{i, s};
        double order = -1e300;
        const auto ordered = [&] {
          if (order == -1e300) {
            const double phi0 = static_cast<double>(track.Phi[i]);
            const double phi = phi0 + s * (static_cast<double>(track.Phi[i + 1]) - phi0);
            order = phi > lastHalfDegree ? phi - span : phi;
          }
          return order;
        };
        const double arc = arc0 + s * pieceLength;
        double gTip, gRoot;
        if (j == parts && straight) {
          // The end of a straight piece: its own tangent, lower than its
          // start by its length, no rise since.
          gTip = -tipH * turned - arc, gRoot = rootH * turned - arc;
          tip.Lower(gTip, at, ordered);
          root.Lower(gRoot, at, ordered);
        } else {
          double dx = endX, dy = endY;
          if (j < parts) c.Derivative(s, dx, dy);
          if (dx == 0 && dy == 0) continue;
          if (!first) turned += orientation * std::atan2(lastX * dy - lastY * dx, lastX * dx + lastY * dy);
          first = false;
          ++finding.tangents;
          lastX = dx, lastY = dy;
          gTip = -tipH * turned - arc, gRoot = rootH * turned - arc;
          tip.Feed(gTip, at, ordered);
          root.Feed(gRoot, at, ordered);
        }
        if (round == 1) {
          tipLower = tipLower || gTip < tipBefore;
          rootLower = rootLower || gRoot < rootBefore;
        }
      }
      c = next;
    }
  }
  finding.longest = std::max(tip.largest, root.largest);
  if (tip.over || root.over) {
    finding.tight = true;
    // The fold that begins first in the drive angle, at its drive angle.
    const Place& at =
        tip.over && (!root.over || tip.overOrder <= root.overOrder) ? tip.overAt : root.overAt;
    const Real phi0 = track.Phi[at.piece], phi1 = track.Phi[at.piece + 1];
    const Real phi = at.share == 0 ? phi0 : at.share == 1 ? phi1 : phi0 + at.share * (phi1 - phi0);
    finding.driveAngle = phi >= track.Phi.back() ? phi - track.Phi.back() : phi;
  }
  return finding;
}

}  // namespace drawing
