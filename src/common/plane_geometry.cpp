// Plane geometry (see plane_geometry.h). Uses the point routines of
// numeric_routines.cpp and RealToText of the number formatting for the
// arc-centre message.
#include "common/plane_geometry.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/number_format.h"
#include "common/numeric_routines.h"

namespace common {

namespace {

constexpr Real BetweenTolerance = 1e-12L;

struct Crossing {
  bool found = false;
  Real x = 0, y = 0;
};

// Calls accept(x, y) for each crossing of the segment with a border of the
// box, in the fixed order bottom, right, top, left, until accept returns false.
template <class Accept>
void ForEachBorderCrossing(Real x1, Real y1, Real x2, Real y2, Real xmin, Real ymin, Real xmax,
                           Real ymax, Accept accept) {
  const Real bx[5] = {xmin, xmax, xmax, xmin, xmin};
  const Real by[5] = {ymin, ymin, ymax, ymax, ymin};
  for (int k = 0; k < 4; ++k) {
    Real x, y;
    if (IntersectSegments(x, y, x1, y1, x2, y2, bx[k], by[k], bx[k + 1], by[k + 1])) {
      if (!accept(x, y)) return;
    }
  }
}

// Where the segment from (ix, iy) inside the box towards (ox, oy) outside it
// meets the border, from the segment's parameter: the smallest fraction of
// the way at which it reaches the line of a border it heads for.
void ExitByParameter(Real& x, Real& y, Real ix, Real iy, Real ox, Real oy, Real xmin, Real ymin,
                     Real xmax, Real ymax) {
  const Real dx = ox - ix;
  const Real dy = oy - iy;
  Real t = 1;
  if (dx > 0) t = MinReal(t, (xmax - ix) / dx);
  if (dx < 0) t = MinReal(t, (xmin - ix) / dx);
  if (dy > 0) t = MinReal(t, (ymax - iy) / dy);
  if (dy < 0) t = MinReal(t, (ymin - iy) / dy);
  t = ClampReal(0, 1, t);
  x = ClampReal(xmin, xmax, ix + t * dx);
  y = ClampReal(ymin, ymax, iy + t * dy);
}

// The crossing that clips a segment with one end (ix, iy) inside the box.
// When the inside end lies on a border itself, that border also "crosses" at
// the inside end; the crossing farthest from it is where the segment leaves.
// A segment leaving exactly through a corner can miss both borders there by
// rounding, so that no crossing or only the inside end itself is found; the
// exit point then comes from the segment's parameter, and the outside end
// neither stays outside nor collapses onto the inside end.
void LeavingPoint(Real& x, Real& y, Real ix, Real iy, Real ox, Real oy, Real xmin, Real ymin,
                  Real xmax, Real ymax) {
  Crossing best;
  Real bestDist = -1;
  ForEachBorderCrossing(ix, iy, ox, oy, xmin, ymin, xmax, ymax, [&](Real cx, Real cy) {
    const Real d = Hypot(cx - ix, cy - iy);
    if (d > bestDist) {
      bestDist = d;
      best = {true, cx, cy};
    }
    return true;
  });
  Real px, py;
  ExitByParameter(px, py, ix, iy, ox, oy, xmin, ymin, xmax, ymax);
  if (!best.found || bestDist < Hypot(px - ix, py - iy) * (1 - 1e-9L)) {
    x = px;
    y = py;
    return;
  }
  x = best.x;
  y = best.y;
}

// Shared part of the two arc-centre routines; false when dphi / 2 has a zero
// sine (message added, outputs unchanged).
bool ArcCenter(Real& xc, Real& yc, Real& angleA, Real xa, Real ya, Real xb, Real yb, Real dphi,
               Real& angleB, Real& r, bool reportZeroChord) {
  const Real halfSin = std::sin(dphi / 2);
  if (halfSin == 0) {
    if (!MsgQuiet) AddErrorMessage("Fehler in GetArcCenter (dphi = " + RealToText(dphi) + " ! ");
    return false;
  }
  const Real dx = xb - xa;
  const Real dy = yb - ya;
  const Real l = Hypot(dx, dy);
  const Real mx = (xa + xb) / 2;
  const Real my = (ya + yb) / 2;
  // Signed distance of the centre from the chord; 0 for a half circle.
  const Real h = std::sin(dphi) == 0 ? 0.0L : (l / 2) / std::tan(dphi / 2);
  r = std::fabs((l / 2) / halfSin);
  if (l == 0) {
    if (reportZeroChord && !MsgQuiet) AddErrorMessage("GetArcCenter l12=0");
    xc = mx;
    yc = my;
  } else {
    // Along the chord's left normal: positive dphi, counter-clockwise arc.
    xc = mx - dy * h / l;
    yc = my + dx * h / l;
  }
  angleA = ArcTanFull(xa - xc, ya - yc);
  angleB = ArcTanFull(xb - xc, yb - yc);
  return true;
}

}  // namespace

Real Det2(Real a, Real b, Real c, Real d) { return a * d - b * c; }

bool Solve2x2(Real& x, Real& y, Real a1, Real b1, Real c1, Real a2, Real b2, Real c2) {
  const Real d = Det2(a1, b1, a2, b2);
  if (d == 0) {
    x = 0;
    y = 0;
    return false;
  }
  x = (c1 * b2 - b1 * c2) / d;
  y = (a1 * c2 - c1 * a2) / d;
  return true;
}

bool IntersectLines(Real& x, Real& y, Real x1, Real y1, Real x2, Real y2, Real x3, Real y3,
                    Real x4, Real y4) {
  Real t, s;
  const bool ok = Solve2x2(t, s, x2 - x1, x3 - x4, x3 - x1, y2 - y1, y3 - y4, y3 - y1);
  x = x1 + t * (x2 - x1);
  y = y1 + t * (y2 - y1);
  return ok;
}

bool BetweenTol(Real value, Real a, Real b) {
  if ((a <= value && value <= b) || (b <= value && value <= a)) return true;
  return std::fabs(a - b) < BetweenTolerance && std::fabs(value - b) < BetweenTolerance;
}

bool IntersectSegments(Real& x, Real& y, Real x1, Real y1, Real x2, Real y2, Real x3, Real y3,
                       Real x4, Real y4) {
  IntersectLines(x, y, x1, y1, x2, y2, x3, y3, x4, y4);
  return BetweenTol(x, x1, x2) && BetweenTol(y, y1, y2) && BetweenTol(x, x3, x4) &&
         BetweenTol(y, y3, y4);
}

void RotateAboutPoint(Real& x, Real& y, Real px, Real py, Real cx, Real cy, Real angle) {
  Real rx, ry;
  RotatePoint(rx, ry, px - cx, py - cy, angle);
  x = cx + rx;
  y = cy + ry;
}

void GetArcCenter(Real& xc, Real& yc, Real& angleA, Real xa, Real ya, Real xb, Real yb,
                  Real dphi, Real& angleB, Real& r) {
  ArcCenter(xc, yc, angleA, xa, ya, xb, yb, dphi, angleB, r, true);
}

void GetArcCenter2(Real& xc, Real& yc, Real& angleA, Real xa, Real ya, Real xb, Real yb,
                   Real dphi, Real& angleB, Real& r) {
  if (!ArcCenter(xc, yc, angleA, xa, ya, xb, yb, dphi, angleB, r, false)) return;
  // A clockwise arc from A to B is the counter-clockwise arc from B to A.
  if (dphi < 0) std::swap(angleA, angleB);
}

bool IntersectLinesAngle(Real& x, Real& y, Real x1, Real y1, Real angle1, Real x2, Real y2,
                         Real angle2) {
  x = 0;
  y = 0;
  return IntersectLines(x, y, x1, y1, x1 + 100 * std::cos(angle1), y1 + 100 * std::sin(angle1),
                        x2, y2, x2 + 100 * std::cos(angle2), y2 + 100 * std::sin(angle2));
}

bool PointInBox(Real x, Real y, Real xmin, Real ymin, Real xmax, Real ymax) {
  return xmin <= x && x <= xmax && ymin <= y && y <= ymax;
}

bool SegmentBoxCrossing(Real& x, Real& y, Real x1, Real y1, Real x2, Real y2, Real xmin,
                        Real ymin, Real xmax, Real ymax) {
  Crossing first;
  ForEachBorderCrossing(x1, y1, x2, y2, xmin, ymin, xmax, ymax, [&](Real cx, Real cy) {
    first = {true, cx, cy};
    return false;  // the first crossing found
  });
  if (!first.found) return false;
  x = first.x;
  y = first.y;
  return true;
}

bool ClipLineToBox(Real& x1, Real& y1, Real& x2, Real& y2, Real xmin, Real ymin, Real xmax,
                   Real ymax) {
  const bool in1 = PointInBox(x1, y1, xmin, ymin, xmax, ymax);
  const bool in2 = PointInBox(x2, y2, xmin, ymin, xmax, ymax);
  if (in1 && !in2) {
    LeavingPoint(x2, y2, x1, y1, x2, y2, xmin, ymin, xmax, ymax);
    return true;
  }
  if (!in1 && in2) {
    LeavingPoint(x1, y1, x2, y2, x1, y1, xmin, ymin, xmax, ymax);
    return true;
  }
  if (!in1 && !in2) {
    // A segment that passes through the box keeps its piece between the
    // two crossings (parameters t0 < t1 along P1-P2); one that misses the
    // box or only touches a corner is dropped.
    const Real dx = x2 - x1, dy = y2 - y1;
    const Real p[4] = {-dx, dx, -dy, dy};
    const Real q[4] = {x1 - xmin, xmax - x1, y1 - ymin, ymax - y1};
    Real t0 = 0, t1 = 1;
    bool miss = false;
    for (int k = 0; k < 4 && !miss; ++k) {
      if (p[k] == 0) {
        miss = q[k] < 0;
      } else if (p[k] < 0) {
        t0 = std::max(t0, q[k] / p[k]);
      } else {
        t1 = std::min(t1, q[k] / p[k]);
      }
    }
    if (miss || !(t0 < t1)) {
      x1 = y1 = x2 = y2 = 0;
      return false;
    }
    const Real ax = x1 + t0 * dx, ay = y1 + t0 * dy;
    x2 = x1 + t1 * dx;
    y2 = y1 + t1 * dy;
    x1 = ax;
    y1 = ay;
    return true;
  }
  return true;
}

}  // namespace common
