// The tip region of a gear; see tip_region.h.
//
// A point whose distance from the centre is at most the curve's smallest
// radius in its sector plus the height lies inside at once (the curve point
// at its polar angle is then at most the height away, or farther out than
// the point). Others are measured against the track: the pieces whose
// sectors lie within the polar angle that the height subtends, each by its
// nearest point (samples, then Newton's steps on the cubic).
#include "drawing/tip_region.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace drawing {

namespace {

constexpr Real Pi = std::numbers::pi_v<Real>;
// A vertex counts as outside beyond this distance from the tip curve (the
// flanks end on it to a ten-millionth of a millimetre).
constexpr Real VertexTolerance = 1e-4L;
// Samples of a piece for its smallest radius and its nearest point.
constexpr int PieceSamples = 8;
// How often a segment is cut in two at most.
constexpr int MaxCuts = 6;

// The nearest point of the piece to (x, y): its parameter and distance.
Real NearestOnPiece(const TTrackPiece& p, Real x, Real y, Real& best) {
  Real s = 0;
  best = -1;
  for (int j = 0; j <= PieceSamples; ++j) {
    const Real t = static_cast<Real>(j) / PieceSamples;
    Real px, py;
    p.Point(t, px, py);
    const Real d = std::hypot(px - x, py - y);
    if (best < 0 || d < best) best = d, s = t;
  }
  for (int i = 0; i < 8; ++i) {
    Real px, py, dx, dy;
    p.Point(s, px, py);
    p.Derivative(s, dx, dy);
    const Real ddx = 6 * p.ax[3] * s + 2 * p.ax[2], ddy = 6 * p.ay[3] * s + 2 * p.ay[2];
    const Real ex = px - x, ey = py - y;
    const Real g = ex * dx + ey * dy;
    const Real h = dx * dx + dy * dy + ex * ddx + ey * ddy;
    if (!(h > 0)) break;
    const Real next = std::clamp(s - g / h, static_cast<Real>(0), static_cast<Real>(1));
    if (std::fabs(next - s) < 1e-12L) break;
    s = next;
  }
  Real px, py;
  p.Point(s, px, py);
  best = std::min(best, std::hypot(px - x, py - y));
  return s;
}

}  // namespace

TTipRegion::TTipRegion(const TPitchTrack& track, Real height) : track_(track), height_(height) {
  const std::size_t n = track.Pieces.size();
  if (n == 0) return;
  sectors_ = static_cast<int>(std::clamp<std::size_t>(n, 360, 1 << 16));
  lowest_.assign(sectors_, -1);
  std::vector<std::vector<std::size_t>> lists(sectors_);
  for (std::size_t i = 0; i < n; ++i) {
    const TTrackPiece& p = track.Pieces[i];
    int last = -1;
    Real lastAngle = 0;
    for (int j = 0; j <= PieceSamples; ++j) {
      Real x, y;
      p.Point(static_cast<Real>(j) / PieceSamples, x, y);
      const int k = Sector(x, y);
      const Real r = std::hypot(x, y);
      // Between samples the cubic may dip by its sagitta: a little off.
      const Real low = r - p.length / PieceSamples;
      const Real angle = std::atan2(y, x);
      // Every sector from the last sample's to this one's, the short way.
      int from = last < 0 ? k : last;
      int to = k;
      if (last >= 0 && std::remainder(angle - lastAngle, 2 * Pi) < 0) std::swap(from, to);
      for (int m = from;; m = (m + 1) % sectors_) {
        if (lowest_[m] < 0 || low < lowest_[m]) lowest_[m] = low;
        if (lists[m].empty() || lists[m].back() != i) lists[m].push_back(i);
        if (m == to) break;
      }
      last = k;
      lastAngle = angle;
    }
  }
  first_.assign(sectors_ + 1, 0);
  for (int k = 0; k < sectors_; ++k) first_[k + 1] = first_[k] + lists[k].size();
  pieces_.reserve(first_[sectors_]);
  for (const auto& l : lists) pieces_.insert(pieces_.end(), l.begin(), l.end());
}

int TTipRegion::Sector(Real x, Real y) const {
  const int k = static_cast<int>((std::atan2(y, x) + Pi) / (2 * Pi) * sectors_);
  return std::clamp(k, 0, sectors_ - 1);
}

Real TTipRegion::Excess(Real x, Real y, Real& tx, Real& ty) const {
  tx = x, ty = y;
  if (sectors_ == 0) return 0;
  const Real r = std::hypot(x, y);
  const int k = Sector(x, y);
  if (lowest_[k] >= 0 && r <= lowest_[k] + height_) return 0;
  // The curve points within the height of p lie within this polar angle.
  const Real reach = height_ + VertexTolerance;
  const int span = r > reach ? static_cast<int>(std::asin(reach / r) / (2 * Pi) * sectors_) + 1 : sectors_ / 2;
  Real best = -1;
  std::size_t bestPiece = 0;
  Real bestS = 0;
  std::size_t lastPiece = static_cast<std::size_t>(-1);
  for (int j = -span; j <= span; ++j) {
    const int m = ((k + j) % sectors_ + sectors_) % sectors_;
    for (std::size_t i = first_[m]; i < first_[m + 1]; ++i) {
      const std::size_t piece = pieces_[i];
      if (piece == lastPiece) continue;
      lastPiece = piece;
      Real d;
      const Real s = NearestOnPiece(track_.Pieces[piece], x, y, d);
      if (best < 0 || d < best) best = d, bestPiece = piece, bestS = s;
    }
  }
  if (best < 0) return 0;
  const TTrackPiece& p = track_.Pieces[bestPiece];
  Real qx, qy, dx, dy;
  p.Point(bestS, qx, qy);
  p.Derivative(bestS, dx, dy);
  // Inside the pitch curve (behind its outward normal) or within the
  // height of it.
  const Real nx = track_.Orientation * dy, ny = -track_.Orientation * dx;
  if ((x - qx) * nx + (y - qy) * ny <= 0 || best <= reach) return 0;
  tx = qx + (x - qx) * height_ / best;
  ty = qy + (y - qy) * height_ / best;
  return best - height_;
}

int KeepInsideTipCurve(TPenPolygon& outline, const TPitchTrack& track, Real height) {
  if (outline.Size() < 3 || !(height > 0)) return 0;
  const TTipRegion region(track, height);
  int changed = 0;
  for (std::size_t k = 0; k < outline.Size(); ++k) {
    Real tx, ty;
    if (region.Excess(outline.X[k], outline.Y[k], tx, ty) > 0) {
      outline.X[k] = tx;
      outline.Y[k] = ty;
      ++changed;
    }
  }
  // The segments, cut where their middle strays.
  const Real slack = height / 50;
  TPenPolygon out;
  const std::size_t n = outline.Size();
  for (std::size_t k = 0; k < n; ++k) {
    const std::size_t l = (k + 1) % n;
    std::vector<Real> xs{outline.X[k], outline.X[l]}, ys{outline.Y[k], outline.Y[l]};
    for (int cut = 0; cut < MaxCuts; ++cut) {
      bool cutOne = false;
      for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
        const Real mx = (xs[i] + xs[i + 1]) / 2, my = (ys[i] + ys[i + 1]) / 2;
        Real tx, ty;
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
  return changed;
}

}  // namespace drawing
