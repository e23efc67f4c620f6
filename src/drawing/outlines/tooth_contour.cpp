// Tooth outlines of the noncircular pair; see tooth_contour.h.
#include "drawing/outlines/tooth_contour.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "calc/calc_records.h"
#include "calc/pitch_curve_inputs.h"
#include "calc/spur_gear_data.h"
#include "common/kaldvar.h"
#include "common/numeric_routines.h"
#include "drawing/outlines/simple_outline.h"
#include "drawing/outlines/tip_region.h"

namespace drawing {

namespace {

constexpr Real Pi = std::numbers::pi_v<Real>;

// One flank from its tip end to its root end, with the side of its tooth:
// -1 the tooth lies at larger arc, +1 at smaller arc.
struct Flank {
  std::vector<Real> X, Y;
  int Side = 1;
};

// The rack flank that leans towards the tooth, rolled to the arc sigma,
// touches the gear at the foot of the perpendicular from the rolling point:
// at the height h = side (c - sigma) sin(alpha) cos(alpha) above the rack's
// pitch line. The generated point for the rack height h.
struct FlankGenerator {
  const TPitchTrack& track;
  Real c;
  int side;
  Real sa, ca, sc;
  // The foot of the normal found last: the next height, asked for a
  // nearby rack height, starts from there.
  mutable Real lastFoot = 0;
  mutable bool haveFoot = false;

  // The track's point, tangent, normal and curvature at an arc length.
  struct OnTrack {
    Real px, py, tx, ty, nx, ny, phi, curvature;
  };
  // The last one asked for: a height starts from the foot the one before
  // ended on.
  mutable OnTrack last{};
  mutable Real lastSigma = 0;
  mutable bool haveLast = false;

  void Take(Real sigma, OnTrack& q) const {
    if (haveLast && lastSigma == sigma) {
      q = last;
      return;
    }
    track.At(sigma, q.px, q.py, q.tx, q.ty, q.nx, q.ny, q.phi, q.curvature);
    last = q;
    lastSigma = sigma;
    haveLast = true;
  }

  void Point(Real h, Real& wx, Real& wy, Real& sigma, OnTrack& q) const {
    sigma = c - side * h / sc;
    Take(sigma, q);
    const Real d = (c - sigma) * ca;
    wx = q.px + d * (ca * q.tx + side * sa * q.nx);
    wy = q.py + d * (ca * q.ty + side * sa * q.ny);
  }
  void Point(Real h, Real& wx, Real& wy, Real& sigma) const {
    OnTrack q;
    Point(h, wx, wy, sigma, q);
  }
  // The distance of a generated point from the pitch curve, along the
  // curve's normal (positive outside): the tip and root curves of the gear
  // are the curves parallel to the pitch curve. The foot of the normal is
  // found by Newton's steps on the point's offset along the tangent, which
  // changes by -(1 - curvature x the offset across it) per unit of arc.
  Real Height(Real h) const {
    Real wx, wy, sigma;
    OnTrack q;
    Point(h, wx, wy, sigma, q);
    if (haveFoot) {
      sigma = lastFoot;
      Take(sigma, q);
    }
    for (int i = 0; i < 12; ++i) {
      if (i > 0) Take(sigma, q);
      const Real along = (wx - q.px) * q.tx + (wy - q.py) * q.ty;
      // An offset e of the foot changes the height by about e^2 times the
      // curvature: a ten-thousandth of a micrometre is exact enough.
      if (std::fabs(along) < 1e-7L || i == 11) break;
      const Real across = (wy - q.py) * q.tx - (wx - q.px) * q.ty;  // to the left of the tangent
      const Real slope = 1 - q.curvature * across;
      sigma += slope > 0.1L ? along / slope : along;
    }
    lastFoot = sigma;
    haveFoot = true;
    return (wx - q.px) * q.nx + (wy - q.py) * q.ny;
  }
  // The rack height between lo and hi (Height(lo) and Height(hi) on either
  // side of target) whose point lies at the target height.
  // Regula falsi with the Illinois step (the end that stays has its value
  // halved), falling back to halving where the step leaves the bracket.
  // Without a change of sign the end nearer the target.
  Real Solve(Real lo, Real hi, Real target) const {
    Real flo = Height(lo) - target, fhi = Height(hi) - target;
    if (flo == 0) return lo;
    if (fhi == 0) return hi;
    if ((flo < 0) == (fhi < 0)) return std::fabs(flo) < std::fabs(fhi) ? lo : hi;
    int kept = 0;  // which end stayed in the last step: -1 lo, 1 hi
    for (int i = 0; i < 100; ++i) {
      Real mid = (lo * fhi - hi * flo) / (fhi - flo);
      if (!(mid > std::min(lo, hi) && mid < std::max(lo, hi))) mid = (lo + hi) / 2;
      const Real f = Height(mid) - target;
      if (f == 0 || std::fabs(hi - lo) < 1e-13L) return mid;
      if ((f < 0) == (flo < 0)) {
        lo = mid, flo = f;
        if (kept == 1) fhi /= 2;
        kept = 1;
      } else {
        hi = mid, fhi = f;
        if (kept == -1) flo /= 2;
        kept = -1;
      }
      if (std::fabs(f) < 1e-11L) return mid;
    }
    return (lo + hi) / 2;
  }
};

// The flank through the pitch point at arc c from the tip curve (tip above
// the pitch curve) down to the root curve (root below it).
Flank GenerateFlank(const TPitchTrack& track, int gear, Real c, int side, Real alpha) {
  Flank f;
  f.Side = side;
  const Real mn = ToothHeightModule();
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

Real ToothModule() {
  const auto& p = calc::NcPair;
  return p.z1 != 0 ? p.U1 / Pi / p.z1 : 0;
}

Real ToothHeightModule() {
  const auto& p = calc::NcPair;
  const Real own = ToothModule();
  if (p.ModuleMode == 2 || p.z1 == 0) return own;
  const Real rated = 2 * calc::RadiusExtremes.r1max / p.z1;
  return rated > 0 && rated < own ? rated : own;
}

std::vector<TContourPiece> BuildGearContour(int gear, const TPitchTrack& track) {
  std::vector<TContourPiece> pieces;
  const auto& p = calc::NcPair;
  if (p.z1 < 1 || p.k < 1) return pieces;
  const long z = gear == 1 ? p.z1 : static_cast<long>(p.z1) * p.k;
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

  // The outline as one polygon: each flank, then the land to the next one
  // (the tooth's tip land after a rising flank, the space's root land after
  // a falling one; the last root land joins the first flank).
  const int flankPen = gear == 1 ? 19 : 21;
  const int landPen = gear == 1 ? 20 : 26;
  TPenPolygon outline;
  auto& work = calc::ToothContourWork[gear];
  for (const Flank& f : flanks) {
    for (std::size_t i = 0; i < f.X.size(); ++i) outline.Add(f.X[i], f.Y[i], i + 1 < f.X.size() ? flankPen : landPen);
    // The contour work keeps the tip and the root end of the last flank.
    const std::size_t tipEnd = f.Side < 0 ? f.X.size() - 1 : 0;
    const std::size_t rootEnd = f.Side < 0 ? 0 : f.X.size() - 1;
    work[1] = {f.X[tipEnd], f.Y[tipEnd], static_cast<std::uint16_t>(f.Side < 0 ? 1 : 2)};
    work[2] = {f.X[rootEnd], f.Y[rootEnd], static_cast<std::uint16_t>(f.Side < 0 ? 1 : 2)};
  }
  // Teeth on a curve that bends tighter than they allow reach far out:
  // what lies beyond the tip curve is drawn on it, before the loops go (a
  // stray loop would outweigh the teeth), and again after (a crossing of
  // two moved lines may lie outside).
  const Real tip = calc::SpurGearData.hfP0Factor[gear] * ToothHeightModule();
  const TTipRegion region(track, tip, gear == 1 ? calc::RadiusExtremes.r1max : calc::RadiusExtremes.r2max);
  bool moved = KeepInsideTipCurve(outline, region) > 0;
  TrimCrossings(outline);
  for (int round = 0; moved && round < 2; ++round) {
    moved = KeepInsideTipCurve(outline, region) > 0;
    if (moved) TrimCrossings(outline);
  }
  // No needle and no side a hair long (where a crossing or the tip curve
  // fell next to a flank's point, or a flank stepped back at a corner of
  // its pitch curve) is part of the shape: they go from the outline that
  // every device draws, so that the files agree and a solid of it meshes.
  // (Taking a vertex out may, rarely, let the new side cross a neighbour.)
  for (int round = 0;
       round < 3 && DropNeedlesAndTinySides(outline, ToothHeightModule()) > 0 && TrimCrossings(outline) > 0;
       ++round) {
  }

  // Back to pieces of one pen each, the first starting at a change of pen
  // so that no piece runs across the polygon's start.
  const std::size_t n = outline.Size();
  if (n < 2) return pieces;
  std::size_t start = 0;
  while (start < n && outline.Pen[(start + n - 1) % n] == outline.Pen[start]) ++start;
  if (start == n) start = 0;
  for (std::size_t k = 0; k < n; ++k) {
    const std::size_t v = (start + k) % n, w = (v + 1) % n;
    if (pieces.empty() || pieces.back().Pen != outline.Pen[v])
      pieces.push_back({outline.Pen[v], {outline.X[v]}, {outline.Y[v]}});
    pieces.back().X.push_back(outline.X[w]);
    pieces.back().Y.push_back(outline.Y[w]);
  }
  return pieces;
}

namespace {

// What a gear's pitch track and outline are built from.
struct TrackInputs {
  calc::TPitchCurveInputs curve;
  Real a = 0;
  std::int32_t k = 0, z1 = 0;
  bool operator==(const TrackInputs&) const = default;
};

struct ContourInputs {
  Real module = 0, heightModule = 0, pressureAngle = 0, addendum = 0, dedendum = 0;
  bool operator==(const ContourInputs&) const = default;
};

struct KeptGear {
  bool trackKept = false, contourKept = false;
  TrackInputs trackInputs;
  ContourInputs contourInputs;
  TPitchTrack track;
  std::vector<TContourPiece> contour;
  RangeArray<calc::TContourWork, 1, 2> work;
  std::uint64_t generation = 0;
};

KeptGear Kept[3];

TrackInputs CurrentTrackInputs() {
  const auto& p = calc::NcPair;
  return {calc::CurrentPitchCurveInputs(), p.a, p.k, p.z1};
}

}  // namespace

const TPitchTrack& PitchTrack(int gear) {
  KeptGear& kept = Kept[gear == 1 ? 1 : 2];
  TrackInputs inputs = CurrentTrackInputs();
  if (!kept.trackKept || !(kept.trackInputs == inputs)) {
    const bool fatalBefore = common::FatalFlag != 0;
    kept.track = TrackPitchCurve(gear);
    // A curve that failed on the way is not kept: its messages come again.
    kept.trackKept = fatalBefore || common::FatalFlag == 0;
    kept.trackInputs = std::move(inputs);
    kept.contourKept = false;
  }
  return kept.track;
}

const std::vector<TContourPiece>& GearContour(int gear) {
  gear = gear == 1 ? 1 : 2;
  const TPitchTrack& track = PitchTrack(gear);
  KeptGear& kept = Kept[gear];
  const auto& g = calc::SpurGearData;
  const ContourInputs inputs{ToothModule(), ToothHeightModule(), g.PressureAngle, g.hfP0Factor[gear],
                             g.haP0Factor[gear]};
  if (!kept.contourKept || !kept.trackKept || !(kept.contourInputs == inputs)) {
    kept.contour = BuildGearContour(gear, track);
    ++kept.generation;
    kept.work = calc::ToothContourWork[gear];
    kept.contourInputs = inputs;
    kept.contourKept = kept.trackKept;
  } else {
    calc::ToothContourWork[gear] = kept.work;
  }
  return kept.contour;
}

std::uint64_t GearContourGeneration(int gear) { return Kept[gear == 1 ? 1 : 2].generation; }

}  // namespace drawing
