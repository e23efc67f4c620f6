// The tip region of a gear; see tip_region.h.
//
// A point whose distance from the centre is at most the curve's smallest
// radius in its sector plus the height lies inside at once (the curve point
// at its polar angle is then at most the height away, or farther out than
// the point). Others are measured against the track: the pieces whose
// sectors lie within the polar angle that the height subtends, each by its
// nearest point (samples, then Newton's steps on the cubic), the sectors
// nearest to the point first. The first piece within the height ends the
// search; the nearest one found so far narrows it. So a point costs a few
// pieces, not all that its angle holds: the step stays near linear in the
// outline, whatever the curve.
#include "drawing/outlines/tip_region.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "drawing/outlines/polar_sectors.h"

namespace drawing {

namespace {

constexpr double Pi = std::numbers::pi;
// A vertex counts as outside beyond this distance from the tip curve (the
// flanks end on it to a ten-millionth of a millimetre).
constexpr double VertexTolerance = 1e-4;
// Samples of a piece for its smallest radius and its nearest point.
constexpr int PieceSamples = 8;
// How often a segment is cut in two at most.
constexpr int MaxCuts = 6;
// The pieces a point is measured against at most where the curve sweeps a
// band of radii wider than the height within a sector: it runs back and
// forth there far more often than any outline can follow it.
constexpr std::size_t MaxPiecesPerPoint = 512;

// A piece of the track in double precision.
using Cubic = TCubic<double>;

// The nearest point of the piece to (x, y): its parameter, and its
// distance in best.
double NearestOnPiece(const Cubic& p, double x, double y, double& best) {
  double s = 0;
  double best2 = -1;
  for (int j = 0; j <= PieceSamples; ++j) {
    const double t = static_cast<double>(j) / PieceSamples;
    double px, py;
    p.Point(t, px, py);
    const double d2 = (px - x) * (px - x) + (py - y) * (py - y);
    if (best2 < 0 || d2 < best2) best2 = d2, s = t;
  }
  for (int i = 0; i < 8; ++i) {
    double px, py, dx, dy;
    p.Point(s, px, py);
    p.Derivative(s, dx, dy);
    const double ddx = 6 * p.ax[3] * s + 2 * p.ax[2], ddy = 6 * p.ay[3] * s + 2 * p.ay[2];
    const double ex = px - x, ey = py - y;
    const double g = ex * dx + ey * dy;
    const double h = dx * dx + dy * dy + ex * ddx + ey * ddy;
    if (!(h > 0)) break;
    const double next = std::clamp(s - g / h, 0.0, 1.0);
    if (std::fabs(next - s) < 1e-12) break;
    s = next;
  }
  double px, py;
  p.Point(s, px, py);
  best = std::sqrt(std::min(best2, (px - x) * (px - x) + (py - y) * (py - y)));
  return s;
}

}  // namespace

TTipRegion::TTipRegion(const TPitchTrack& track, Real height, Real largestRadius)
    : track_(track), height_(height), dheight_(static_cast<double>(height)),
      circle_(static_cast<double>(largestRadius + height)) {
  // (The curve's own points, should they reach farther than the radius
  // given.)
  for (std::size_t i = 0; i < track.X.size(); ++i)
    circle_ = std::max(circle_, std::hypot(static_cast<double>(track.X[i]), static_cast<double>(track.Y[i])) + dheight_);
  const std::size_t n = track.Pieces.size();
  if (n == 0) return;
  sectors_ = static_cast<int>(std::clamp<std::size_t>(n, 360, 1 << 16));
  lowest_.assign(sectors_, -1);
  highest_.assign(sectors_, 0);
  cubics_.resize(n);
  middleX_.resize(n);
  middleY_.resize(n);
  halfLength_.resize(n);
  // A pitch curve is a polar curve, its polar angle turns one way along
  // it: a piece lies in the sectors from its start's to its end's (and, for
  // the cubic's small deviation, one more on either side).
  std::vector<std::uint32_t> spanFirst(n), spanCount(n);
  std::vector<std::uint32_t> count(sectors_ + 1, 0);
  for (std::size_t i = 0; i < n; ++i) {
    const Cubic& p = cubics_[i] = track.Pieces[i].As<double>();
    // Between samples the cubic may dip by its sagitta: a little off.
    double low2 = -1, high2 = 0;
    for (int j = 0; j <= PieceSamples; ++j) {
      double x, y;
      p.Point(static_cast<double>(j) / PieceSamples, x, y);
      const double r2 = x * x + y * y;
      if (low2 < 0 || r2 < low2) low2 = r2;
      high2 = std::max(high2, r2);
    }
    double low = std::sqrt(low2), high = std::sqrt(high2);
    p.Point(0.5, middleX_[i], middleY_[i]);
    // The arc from the parameter's middle to either end, with a margin for
    // a parameter that does not run evenly along the arc.
    halfLength_[i] = static_cast<double>(track.Pieces[i].length);
    low -= static_cast<double>(track.Pieces[i].length) / PieceSamples;
    high += static_cast<double>(track.Pieces[i].length) / PieceSamples;
    double x0, y0, x1, y1;
    p.Point(0, x0, y0);
    p.Point(1, x1, y1);
    int first = 0;
    const int span = std::min(SectorSpan(x0, y0, x1, y1, sectors_, first) + 2, sectors_);
    first = (first - 1 + sectors_) % sectors_;
    spanFirst[i] = static_cast<std::uint32_t>(first);
    spanCount[i] = static_cast<std::uint32_t>(span);
    for (int m = 0; m < span; ++m) {
      const int k = (first + m) % sectors_;
      ++count[k + 1];
      if (lowest_[k] < 0 || low < lowest_[k]) lowest_[k] = low;
      highest_[k] = std::max(highest_[k], high);
    }
  }
  first_.assign(sectors_ + 1, 0);
  for (int k = 0; k < sectors_; ++k) first_[k + 1] = first_[k] + count[k + 1];
  pieces_.resize(first_[sectors_]);
  std::vector<std::uint32_t> fill(first_.begin(), first_.end() - 1);
  for (std::size_t i = 0; i < n; ++i)
    for (std::uint32_t m = 0; m < spanCount[i]; ++m)
      pieces_[fill[(spanFirst[i] + m) % sectors_]++] = static_cast<std::uint32_t>(i);
}

Real TTipRegion::Excess(Real xr, Real yr, Real& tx, Real& ty) const {
  tx = xr, ty = yr;
  if (sectors_ == 0) return 0;
  const double x = static_cast<double>(xr), y = static_cast<double>(yr);
  const double r = std::sqrt(x * x + y * y);
  const int k = PolarSector(x, y, sectors_);
  if (lowest_[k] >= 0 && r <= lowest_[k] + dheight_) return 0;
  // The curve points within the height of p lie within this polar angle.
  const double reach = dheight_ + VertexTolerance;
  const double theta = std::atan2(y, x);
  const double w = r > reach ? std::asin(reach / r) : Pi;
  int from = 0;
  const int count = w >= Pi / 2 ? sectors_
                                : SectorSpan(std::cos(theta - w), std::sin(theta - w), std::cos(theta + w),
                                             std::sin(theta + w), sectors_, from);
  const std::size_t listed = from + count <= sectors_
                                 ? first_[from + count] - first_[from]
                                 : first_[sectors_] - first_[from] + first_[from + count - sectors_];
  if (listed > MaxPiecesPerPoint && highest_[k] - lowest_[k] > dheight_) {
    // The band of radii the curve sweeps in p's sector stands for it.
    const double top = highest_[k] + dheight_;
    if (r <= top + VertexTolerance) return 0;
    tx = x * top / r;
    ty = y * top / r;
    return r - top;
  }
  // The sectors nearest to p's own first, alternately on either side: a
  // piece within the height is then met at once, and the search ends there
  // (p is inside); otherwise the nearest piece found early bounds the rest.
  double best = -1, bestS = 0;
  std::size_t bestPiece = 0;
  // A piece lies in several sectors: the last few measured are not
  // measured again.
  std::uint32_t measured[8];
  int measuredCount = 0;
  const auto nearestIn = [&](int m) {
    // The sector's band of radii farther from p than best: none of its
    // pieces comes nearer.
    if (best >= 0 && (r - highest_[m] > best || (lowest_[m] >= 0 && lowest_[m] - r > best))) return false;
    for (std::uint32_t i = first_[m]; i < first_[m + 1]; ++i) {
      const std::uint32_t piece = pieces_[i];
      // Every point of the piece lies within half its length of its middle.
      const double mx = middleX_[piece] - x, my = middleY_[piece] - y, reachOf = halfLength_[piece];
      const double middle2 = mx * mx + my * my;
      // A point of the curve within reach: p lies inside.
      if (middle2 <= reach * reach) return true;
      if (best >= 0 && middle2 > (best + reachOf) * (best + reachOf)) continue;
      if (std::find(measured, measured + std::min(measuredCount, 8), piece) != measured + std::min(measuredCount, 8))
        continue;
      measured[measuredCount++ % 8] = piece;
      double d;
      const double s = NearestOnPiece(cubics_[piece], x, y, d);
      if (best < 0 || d < best) best = d, bestPiece = piece, bestS = s;
      if (best <= reach) return true;
    }
    return false;
  };
  // Points nearer than best lie within the polar angle asin(best / r) of
  // p: the sectors beyond it on either side (and one more, for rounding),
  // counted from p's own, are left out once a piece has been measured.
  const int own = (k - from + sectors_) % sectors_ < count ? (k - from + sectors_) % sectors_ : 0;
  int aheadLimit = count, behindLimit = count;
  double limitsFor = -1;
  const auto narrow = [&] {
    if (best < 0 || best == limitsFor || best >= r) return;
    limitsFor = best;
    const double g = std::asin(best / r);
    aheadLimit = (PolarSector(std::cos(theta + g), std::sin(theta + g), sectors_) - k + sectors_) % sectors_ + 1;
    behindLimit = (k - PolarSector(std::cos(theta - g), std::sin(theta - g), sectors_) + sectors_) % sectors_ + 1;
  };
  for (int offset = 0; offset <= std::max(own, count - 1 - own); ++offset) {
    if (own + offset < count && offset <= aheadLimit) {
      if (nearestIn((from + own + offset) % sectors_)) return 0;
      narrow();
    }
    if (offset > 0 && own - offset >= 0 && offset <= behindLimit) {
      if (nearestIn((from + own - offset) % sectors_)) return 0;
      narrow();
    }
    if (offset > aheadLimit && offset > behindLimit) break;
  }
  if (best < 0) return 0;
  const Cubic& p = cubics_[bestPiece];
  double qx, qy, dx, dy;
  p.Point(bestS, qx, qy);
  p.Derivative(bestS, dx, dy);
  // Inside the pitch curve (behind its outward normal) or within the
  // height of it.
  const double nx = track_.Orientation * dy, ny = -track_.Orientation * dx;
  if ((x - qx) * nx + (y - qy) * ny <= 0 || best <= reach) return 0;
  tx = qx + (x - qx) * dheight_ / best;
  ty = qy + (y - qy) * dheight_ / best;
  return best - dheight_;
}

int KeepInsideTipCurve(TPenPolygon& outline, const TTipRegion& region) {
  const Real height = region.Height();
  if (outline.Size() < 3 || !(height > 0)) return 0;
  int changed = 0;
  for (std::size_t k = 0; k < outline.Size(); ++k) {
    Real tx, ty;
    if (region.Excess(outline.X[k], outline.Y[k], tx, ty) > 0) {
      outline.X[k] = tx;
      outline.Y[k] = ty;
      ++changed;
    }
  }
  // The segments, cut where their middle strays (most of them do not: they
  // go over as they are).
  const Real slack = height / 50;
  TPenPolygon out;
  const std::size_t n = outline.Size();
  std::vector<Real> xs, ys;
  for (std::size_t k = 0; k < n; ++k) {
    const std::size_t l = (k + 1) % n;
    Real tx, ty;
    if (region.Excess((outline.X[k] + outline.X[l]) / 2, (outline.Y[k] + outline.Y[l]) / 2, tx, ty) <= slack) {
      out.Add(outline.X[k], outline.Y[k], outline.Pen[k]);
      continue;
    }
    xs.assign({outline.X[k], tx, outline.X[l]});
    ys.assign({outline.Y[k], ty, outline.Y[l]});
    ++changed;
    for (int cut = 1; cut < MaxCuts; ++cut) {
      bool cutOne = false;
      for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
        const Real mx = (xs[i] + xs[i + 1]) / 2, my = (ys[i] + ys[i + 1]) / 2;
        if (region.Excess(mx, my, tx, ty) <= slack) continue;
        xs.insert(xs.begin() + static_cast<std::ptrdiff_t>(i + 1), tx);
        ys.insert(ys.begin() + static_cast<std::ptrdiff_t>(i + 1), ty);
        ++changed;
        ++i;
        cutOne = true;
      }
      if (!cutOne) break;
    }
    for (std::size_t i = 0; i + 1 < xs.size(); ++i) out.Add(xs[i], ys[i], outline.Pen[k]);
  }
  if (changed > 0) outline = std::move(out);
  // Whatever the track, nothing beyond the tip circle: a point there goes
  // onto it along its ray (and a line between two points inside stays
  // inside).
  const Real circle = region.Circle();
  for (std::size_t k = 0; k < outline.Size(); ++k) {
    const Real r = std::hypot(outline.X[k], outline.Y[k]);
    if (r > circle + VertexTolerance) {
      outline.X[k] *= circle / r;
      outline.Y[k] *= circle / r;
      ++changed;
    }
  }
  return changed;
}

}  // namespace drawing
