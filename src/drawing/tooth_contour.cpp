// Tooth outlines of the noncircular pair; see tooth_contour.h.
#include "drawing/tooth_contour.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "calc/calc_records.h"
#include "calc/pitch_curve.h"
#include "calc/spur_gear_data.h"
#include "common/numeric_routines.h"

namespace drawing {

namespace {

constexpr Real Pi = std::numbers::pi_v<Real>;
// Samples per pitch along the curve, and a bound on the samples of a whole
// curve (a large tooth number with many turns would otherwise take long).
constexpr long SamplesPerPitch = 1000;
constexpr long MaxTrackSamples = 2000000;

// One flank from its tip end to its root end, with the side of its tooth:
// -1 the tooth lies at larger arc, +1 at smaller arc.
struct Flank {
  std::vector<Real> X, Y;
  int Side = 1;
};

// The module at a point of the pitch curve: constant U1 / (pi z1), or
// following the local pitch radius, 2 r / z1.
Real ModuleAt(Real phi) {
  const auto& p = calc::NcPair;
  if (p.ModuleMode == 2) return p.U1 / Pi / p.z1;
  return 2 * calc::PitchRadius(phi) / p.z1;
}

// The rack flank that leans towards the tooth, rolled to the arc sigma,
// touches the gear at the foot of the perpendicular from the rolling point:
// at the height h = side (c - sigma) sin(alpha) cos(alpha) above the rack's
// pitch line. The generated point for the rack height h.
struct FlankGenerator {
  const TPitchTrack& track;
  Real c;
  int side;
  Real sa, ca, sc;

  void Point(Real h, Real& wx, Real& wy, Real& sigma) const {
    Real px, py, tx, ty, nx, ny, phi;
    sigma = c - side * h / sc;
    track.At(sigma, px, py, tx, ty, nx, ny, phi);
    const Real d = (c - sigma) * ca;
    wx = px + d * (ca * tx + side * sa * nx);
    wy = py + d * (ca * ty + side * sa * ny);
  }
  // The distance of a generated point from the pitch curve, along the
  // curve's normal (positive outside): the tip and root curves of the gear
  // are the curves parallel to the pitch curve.
  Real Height(Real h) const {
    Real wx, wy, sigma;
    Point(h, wx, wy, sigma);
    Real px, py, tx, ty, nx, ny, phi;
    for (int i = 0; i < 6; ++i) {
      track.At(sigma, px, py, tx, ty, nx, ny, phi);
      const Real along = (wx - px) * tx + (wy - py) * ty;
      sigma += along;
      if (std::fabs(along) < 1e-9L) break;
    }
    track.At(sigma, px, py, tx, ty, nx, ny, phi);
    return (wx - px) * nx + (wy - py) * ny;
  }
  // The rack height between lo and hi (Height(lo) and Height(hi) on either
  // side of target) whose point lies at the target height.
  Real Solve(Real lo, Real hi, Real target) const {
    const bool rising = Height(hi) > Height(lo);
    for (int i = 0; i < 60; ++i) {
      const Real mid = (lo + hi) / 2;
      if ((Height(mid) < target) == rising) lo = mid; else hi = mid;
    }
    return (lo + hi) / 2;
  }
};

// The flank through the pitch point at arc c from the tip curve (tip above
// the pitch curve) down to the root curve (root below it).
Flank GenerateFlank(const TPitchTrack& track, int gear, Real c, int side, Real alpha) {
  Flank f;
  f.Side = side;
  Real px, py, tx, ty, nx, ny, phi;
  track.At(c, px, py, tx, ty, nx, ny, phi);
  const Real mn = ModuleAt(phi);
  const auto& g = calc::SpurGearData;
  const Real tip = g.hfP0Factor[gear] * mn;   // the tool's dedendum is the gear's addendum
  const Real root = g.haP0Factor[gear] * mn;  // and its addendum the gear's dedendum
  const Real sa = std::sin(alpha), ca = std::cos(alpha);
  const FlankGenerator gen{track, c, side, sa, ca, std::max(sa * ca, static_cast<Real>(1e-6))};
  // On a curved pitch line a rack height reaches farther from the curve
  // than itself: the tip lies at a rack height below tip.
  const Real hTip = gen.Height(tip) > tip ? gen.Solve(0, tip, tip) : tip;
  // Downward the distance falls until the root curve, or until the
  // envelope turns back (undercut: the rack's straight flank reaches below
  // the limit of the line of action); then the flank ends at the lowest
  // point and goes on radially to the root curve.
  constexpr int Probes = 48;
  Real hRoot = -3 * root;
  bool undercut = false;
  Real previous = 0;
  for (int i = 1; i <= Probes; ++i) {
    const Real h = -3 * root * i / Probes;
    const Real height = gen.Height(h);
    if (height <= -root) {
      hRoot = gen.Solve(-3 * root * (i - 1) / Probes, h, -root);
      break;
    }
    if (height > previous) {
      hRoot = -3 * root * (i - 1) / Probes;
      undercut = true;
      break;
    }
    previous = height;
  }
  for (int i = 0; i <= FlankPointCount; ++i) {
    const Real h = hTip - i * (hTip - hRoot) / FlankPointCount;
    Real wx, wy, sigma;
    gen.Point(h, wx, wy, sigma);
    f.X.push_back(wx);
    f.Y.push_back(wy);
  }
  if (undercut) {
    const Real lowest = gen.Height(hRoot);
    const Real radius = std::hypot(f.X.back(), f.Y.back());
    const Real scale = (radius - (root + lowest)) / radius;
    if (scale > 0 && scale < 1) {
      f.X.push_back(f.X.back() * scale);
      f.Y.push_back(f.Y.back() * scale);
    }
  }
  return f;
}

}  // namespace

void TPitchTrack::At(Real sigma, Real& x, Real& y, Real& tx, Real& ty, Real& nx, Real& ny, Real& phi) const {
  const std::size_t n = S.size();
  if (n < 2 || !(Length > 0)) {
    x = y = tx = ty = nx = ny = phi = 0;
    return;
  }
  sigma = std::fmod(sigma, Length);
  if (sigma < 0) sigma += Length;
  std::size_t i = static_cast<std::size_t>(std::upper_bound(S.begin(), S.end(), sigma) - S.begin());
  i = std::clamp<std::size_t>(i, 1, n - 1) - 1;
  // Skip samples that coincide (a chord of length 0 has no direction).
  std::size_t j = i + 1;
  while (j + 1 < n && S[j] - S[i] <= 0) ++j;
  const Real len = S[j] - S[i];
  const Real t = len > 0 ? std::clamp((sigma - S[i]) / len, static_cast<Real>(0), static_cast<Real>(1)) : 0;
  x = X[i] + t * (X[j] - X[i]);
  y = Y[i] + t * (Y[j] - Y[i]);
  phi = Phi[i] + t * (Phi[j] - Phi[i]);
  if (len > 0) {
    tx = (X[j] - X[i]) / len;
    ty = (Y[j] - Y[i]) / len;
  } else {
    tx = 0;
    ty = 1;
  }
  nx = Orientation * ty;
  ny = -Orientation * tx;
}

TPitchTrack TrackPitchCurve(int gear) {
  TPitchTrack track;
  const auto& p = calc::NcPair;
  const long turns = gear == 1 ? 1 : std::max<long>(p.k, 1);
  const long z1 = std::max<long>(p.z1, 1);
  long samples = z1 * turns * SamplesPerPitch;
  if (samples > MaxTrackSamples) samples = std::max<long>(MaxTrackSamples, 3600 * turns);
  const Real h = 2 * Pi * turns / samples;
  track.Orientation = gear == 1 ? 1 : -1;
  track.S.reserve(samples + 1);
  track.X.reserve(samples + 1);
  track.Y.reserve(samples + 1);
  track.Phi.reserve(samples + 1);
  Real psi = 0;  // turn of gear 2, negative: it turns against gear 1
  Real s = 0;
  for (long i = 0; i <= samples; ++i) {
    const Real phi = i * h;
    const Real r = calc::PitchRadius(phi);
    Real x, y;
    if (gear == 1) {
      x = r * std::cos(phi);
      y = r * std::sin(phi);
    } else {
      const Real r2 = p.a - r;
      x = r2 * std::cos(Pi + psi);
      y = r2 * std::sin(Pi + psi);
      if (r2 > 0) psi -= h * r / r2;
    }
    if (i > 0) s += std::hypot(x - track.X.back(), y - track.Y.back());
    track.S.push_back(s);
    track.X.push_back(x);
    track.Y.push_back(y);
    track.Phi.push_back(phi);
  }
  track.Length = s;
  return track;
}

Real GearTwoTurn(const TPitchTrack& track, Real phi) {
  const std::size_t n = track.Phi.size();
  if (n < 2) return 0;
  const Real span = track.Phi.back();
  phi = std::fmod(phi, span);
  if (phi < 0) phi += span;
  const Real position = phi / span * static_cast<Real>(n - 1);
  const std::size_t i = std::min(static_cast<std::size_t>(position), n - 2);
  const Real t = position - static_cast<Real>(i);
  const Real x = track.X[i] + t * (track.X[i + 1] - track.X[i]);
  const Real y = track.Y[i] + t * (track.Y[i + 1] - track.Y[i]);
  return common::RadToDeg(Pi - std::atan2(y, x));
}

std::vector<TContourPiece> BuildGearContour(int gear) {
  std::vector<TContourPiece> pieces;
  const auto& p = calc::NcPair;
  if (p.z1 < 1 || p.k < 1) return pieces;
  const long z = gear == 1 ? p.z1 : static_cast<long>(p.z1) * p.k;
  const TPitchTrack track = TrackPitchCurve(gear);
  if (!(track.Length > 0)) return pieces;
  const Real alpha = common::DegToRad(calc::SpurGearData.PressureAngle);
  const Real half = track.Length / (2 * z);
  calc::ClearContourWork();

  // Flank j crosses the pitch curve at j half pitches. Gear 1's teeth lie
  // from the even flanks to the odd ones, gear 2's (meshing) from the odd
  // to the even ones.
  std::vector<Flank> flanks;
  flanks.reserve(2 * z);
  for (long j = 0; j < 2 * z; ++j) {
    const bool even = j % 2 == 0;
    const int side = (gear == 1) == even ? -1 : 1;
    Flank f = GenerateFlank(track, gear, j * half, side, alpha);
    // A flank whose tooth lies ahead runs from its root up to its tip, the
    // next one down again: the outline goes round the gear.
    if (f.Side < 0) {
      std::reverse(f.X.begin(), f.X.end());
      std::reverse(f.Y.begin(), f.Y.end());
    }
    flanks.push_back(std::move(f));
  }

  const int flankPen = gear == 1 ? 19 : 21;
  const int landPen = gear == 1 ? 20 : 26;
  auto& work = calc::ToothContourWork[gear];
  for (std::size_t j = 0; j < flanks.size(); ++j) {
    const Flank& f = flanks[j];
    pieces.push_back({flankPen, f.X, f.Y});
    // The contour work keeps the tip and the root end of the last flank.
    const std::size_t tipEnd = f.Side < 0 ? f.X.size() - 1 : 0;
    const std::size_t rootEnd = f.Side < 0 ? 0 : f.X.size() - 1;
    work[1] = {f.X[tipEnd], f.Y[tipEnd], static_cast<std::uint16_t>(f.Side < 0 ? 1 : 2)};
    work[2] = {f.X[rootEnd], f.Y[rootEnd], static_cast<std::uint16_t>(f.Side < 0 ? 1 : 2)};
    // The land to the next flank: the tooth's tip land after a rising
    // flank, the space's root land after a falling one; the last root land
    // joins the first flank, so the outline closes.
    const Flank& next = flanks[(j + 1) % flanks.size()];
    pieces.push_back({landPen, {f.X.back(), next.X.front()}, {f.Y.back(), next.Y.front()}});
  }
  return pieces;
}

}  // namespace drawing
