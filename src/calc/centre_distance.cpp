// Centre distance of the noncircular pair and the pitch-curve sums
// (centre_distance.h), over the radius function of pitch_curve.h and the
// records of calc_records.h.
//
// Every fixed-step loop counts its samples with an integer and places sample
// j at j * h: accumulating phi += h would let rounding add or drop the last
// sample of a loop bounded by 2 pi.
#include "calc/centre_distance.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "calc/calc_records.h"
#include "calc/pitch_curve.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/message_list.h"

namespace calc {

namespace {

constexpr Real TwoPi = 2 * common::Pi;
constexpr Real OneDegree = common::Pi / 180;
constexpr Real TenthDegree = common::Pi / 1800;
constexpr int IterationSamplesPerTurn = 3600;
constexpr int MaxBisectionSteps = 1001;
constexpr Real ClosureTolerance = 1e-6L;

// Number of steps of width h that reach x from 0 (the first n with
// n * h >= x), at least 1. A ratio that differs from a whole number only by
// rounding (x = 2 pi with h = 2 pi / 1000) counts as that whole number.
std::int64_t StepsToReach(Real x, Real h) {
  Real q = x / h;
  const Real nearest = std::round(q);
  if (std::fabs(q - nearest) <= 1e-9L * std::max<Real>(1, std::fabs(q))) q = nearest;
  const Real n = std::ceil(q);
  // An undefined x ends the loop after its first sample, as the comparison
  // with it fails; the bound keeps the conversion defined.
  if (!(n >= 1)) return 1;
  return static_cast<std::int64_t>(std::min<Real>(n, 9e18L));
}

bool UsableRadius(Real r) { return r > 0 && std::isfinite(r); }

// Most samples kept between bisection steps: those of the largest k that the
// input form allows (100). A larger k read from a data file is summed from
// the radius function in every step instead of exhausting the memory.
constexpr std::int64_t MaxKeptSamples = 3600 * 100;

// The samples of r1 at 0.1 degree over k turns; the same for every
// bisection step, so they are taken once per iteration and kept for reuse.
std::vector<Real>& IterationSamples() {
  static std::vector<Real> samples;
  return samples;
}

}  // namespace

Real IntegrateRadiusFullTurn() {
  Real sum = 0;
  for (int j = 1; j <= 360; ++j) sum += OneDegree * PitchRadius(j * OneDegree);
  return sum;
}

Real IntegrateRadiusTo(Real x) {
  const Real h = TwoPi / 1000;
  const std::int64_t n = StepsToReach(x, h);
  Real sum = 0;
  for (std::int64_t j = 1; j <= n; ++j) sum += h * PitchRadius(j * h);
  return sum;
}

Real MinPitchRadius() {
  Real smallest = 1e38L;
  for (int j = 1; j <= 360; ++j) {
    const Real r = PitchRadius(j * OneDegree);
    if (r < smallest) smallest = r;
  }
  return smallest;
}

Real RollingAngle2(Real x) {
  const Real h = 0.001L;
  const Real a = NcPair.a;
  const std::int64_t n = StepsToReach(x, h);
  Real sum = 0;
  for (std::int64_t j = 0; j < n; ++j) {
    const Real r = PitchRadius(j * h);
    sum += h * r / (a - r);
  }
  return sum;
}

void IterateCentreDistance() {
  RadiusExtremes.r1min = 1e32L;
  RadiusExtremes.r2min = 1e32L;
  RadiusExtremes.r1max = -1e32L;
  RadiusExtremes.r2max = -1e32L;

  Real lo = PitchRadius(0) + 1;

  NcPair.U1 = IntegrateRadiusFullTurn();
  NcPair.rnom1 = NcPair.U1 / 2 / common::Pi;
  NcPair.rnom2 = NcPair.k * NcPair.rnom1;

  Real hi = 6 * NcPair.U1 * NcPair.k / common::Pi;
  const Real h = TenthDegree;

  // r1 at 0, h, 2h, ... over k turns of gear 1: 3600 * k samples (at least
  // one, as the loop of the bisection step always samples phi = 0).
  const std::int64_t count =
      std::max<std::int64_t>(1, static_cast<std::int64_t>(IterationSamplesPerTurn) * NcPair.k);
  const bool keep = count <= MaxKeptSamples;
  std::vector<Real>& samples = IterationSamples();
  samples.resize(keep ? static_cast<std::size_t>(count) : 0);
  for (std::int64_t j = 0; j < count; ++j) {
    const Real r = PitchRadius(j * h);
    if (!UsableRadius(r)) {
      common::AddErrorMessage("Fatal  : rw1 <= 0 !");
      common::FatalFlag = 1;
      return;
    }
    if (r < RadiusExtremes.r1min) RadiusExtremes.r1min = r;
    if (r > RadiusExtremes.r1max) RadiusExtremes.r1max = r;
    if (keep) samples[static_cast<std::size_t>(j)] = r;
  }

  bool converged = false;
  Real a = NcPair.a;
  for (int step = 1; step <= MaxBisectionSteps; ++step) {
    a = (lo + hi) / 2;
    NcPair.a = a;
    // At a centre distance not above the largest radius gear 2 would have a
    // zero or negative radius somewhere: such an a is too small. Summing
    // there would let a narrow spike of r1 make the sum look closed.
    if (a <= RadiusExtremes.r1max) {
      lo = a;
      continue;
    }
    // Gear 2 turns in the negative sense; e > 0: less than one full turn.
    Real phi2 = 0;
    if (keep) {
      for (const Real r : samples) phi2 -= h * r / (a - r);
    } else {
      for (std::int64_t j = 0; j < count; ++j) {
        const Real r = PitchRadius(j * h);
        phi2 -= h * r / (a - r);
      }
    }
    const Real e = phi2 + TwoPi;
    if (e > 0)
      hi = a;
    else
      lo = a;
    if (std::fabs(e) < ClosureTolerance) {
      converged = true;
      break;
    }
  }

  RadiusExtremes.r2max = a - RadiusExtremes.r1min;
  RadiusExtremes.r2min = a - RadiusExtremes.r1max;
  NcPair.imax = RadiusExtremes.r2max / RadiusExtremes.r1min;
  NcPair.imin = RadiusExtremes.r2min / RadiusExtremes.r1max;

  if (!converged) {
    common::FatalFlag = 1;
    common::AddErrorMessage("Fatal  : Iteration !");
  }
}

}  // namespace calc
