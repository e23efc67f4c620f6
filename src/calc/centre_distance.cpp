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
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

#include "calc/calc_records.h"
#include "calc/closure_inputs.h"
#include "calc/pitch_curve.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/memo_math.h"
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

// Length of the chord between the curve points (r0, phi) and (r1, phi + h):
// c^2 = r0^2 + r1^2 - 2 r0 r1 cos h, written as (r1 - r0)^2 + 4 r0 r1
// sin^2(h/2) so that nearly equal radii lose no digits. fourSinSquared is
// 4 sin^2(h/2). Chords follow the corners of polygons, polylines and
// formula pieces that meet at an angle, which a sum of r dphi does not.
Real ChordLength(Real r0, Real r1, Real fourSinSquared) {
  const Real d = r1 - r0;
  return std::sqrt(std::max<Real>(0, d * d + fourSinSquared * r0 * r1));
}

Real FourSinSquaredHalf(Real h) {
  const Real s = std::sin(h / 2);
  return 4 * s * s;
}

// The length of the closed polygon through the samples of one turn taken
// at equal steps h from phi = 0; the last chord returns to the first point,
// so a curve whose radius jumps at 0 is measured with its jump.
Real ClosedChordSum(const std::vector<Real>& samples, Real h) {
  const Real c = FourSinSquaredHalf(h);
  Real sum = 0;
  for (std::size_t j = 0; j < samples.size(); ++j)
    sum += ChordLength(samples[j], samples[(j + 1) % samples.size()], c);
  return sum;
}

// The samples of r1 at 0, h, ..., 3599 h (h = 0.1 degree). The radius
// repeats with every turn of gear 1, so one turn serves every turn of the
// iteration and the arc length U1; kept between runs for their memory only.
std::vector<Real>& TurnSamples() {
  static std::vector<Real> samples;
  return samples;
}

// Closing error of gear 2 at centre distance a: 2 pi less its turn over
// the k turns of gear 1 (h r / (a - r) summed over one turn, times k).
Real ClosingError(const std::vector<Real>& samples, Real h, Real a, std::int32_t k) {
  Real turn = 0;
  for (const Real r : samples) turn += h * r / (a - r);
  return TwoPi - k * turn;
}

// The bisection reads only the sign of the closing error and whether it is
// below the tolerance, and far from convergence both are plain from a sum
// in double precision, at a third of the cost of the 80-bit one. The sum
// is taken with four partial sums; its distance from the 80-bit sum is at
// most bound: each term is off by (2 a / dmin + 6) units of the last place
// (the radii and a rounded to double, the difference, product and
// quotient), the sum of n terms by n - 1 units of their total, and 2 pi
// and the product with k once more. Bound is four times that sum. NaN
// where the double format cannot hold the values.
struct ScreenedError {
  double error;
  double bound;
};

ScreenedError ScreenClosingError(const std::vector<double>& samples, Real h, Real a, Real r1max,
                                 std::int32_t k) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  if (!(a < 1e100L) || !(a > r1max)) return {nan, nan};
  const double ad = static_cast<double>(a);
  const double hd = static_cast<double>(h);
  const double dmin = static_cast<double>(a - r1max);
  const std::size_t n = samples.size();
  // The four partial sums in two pairs of lanes, which the processor adds
  // and divides side by side; each lane does what a scalar sum would.
  using DoublePair = double __attribute__((vector_size(2 * sizeof(double))));
  const DoublePair h2 = {hd, hd};
  const DoublePair a2 = {ad, ad};
  DoublePair t01 = {0, 0};
  DoublePair t23 = {0, 0};
  std::size_t j = 0;
  for (; j + 4 <= n; j += 4) {
    DoublePair r01;
    DoublePair r23;
    std::memcpy(&r01, &samples[j], sizeof r01);
    std::memcpy(&r23, &samples[j + 2], sizeof r23);
    t01 += h2 * r01 / (a2 - r01);
    t23 += h2 * r23 / (a2 - r23);
  }
  double t0 = t01[0];
  for (; j < n; ++j) t0 += hd * samples[j] / (ad - samples[j]);
  const double turn = (t0 + t01[1]) + (t23[0] + t23[1]);
  const double kd = k;
  const double error = static_cast<double>(TwoPi) - kd * turn;
  constexpr double Unit = std::numeric_limits<double>::epsilon() / 2;
  const double bound = 4 * Unit *
                       (std::fabs(kd) * (static_cast<double>(n) + 2 * ad / dmin + 8) * turn +
                        static_cast<double>(TwoPi) + std::fabs(error));
  return {error, bound};
}

}  // namespace

Real IntegrateRadiusFullTurn() {
  const PolylineLookupScope lookup;
  std::vector<Real> samples(IterationSamplesPerTurn);
  for (int j = 0; j < IterationSamplesPerTurn; ++j) samples[j] = PitchRadius(j * TenthDegree);
  return ClosedChordSum(samples, TenthDegree);
}

Real IntegrateRadiusTo(Real x) {
  const PolylineLookupScope lookup;
  const Real h = TwoPi / 1000;
  const Real c = FourSinSquaredHalf(h);
  const std::int64_t n = StepsToReach(x, h);
  Real sum = 0;
  Real previous = PitchRadius(0);
  for (std::int64_t j = 1; j <= n; ++j) {
    const Real r = PitchRadius(j * h);
    sum += ChordLength(previous, r, c);
    previous = r;
  }
  return sum;
}

Real MinPitchRadius() {
  const PolylineLookupScope lookup;
  Real smallest = 1e38L;
  for (int j = 1; j <= 360; ++j) {
    const Real r = PitchRadius(j * OneDegree);
    if (r < smallest) smallest = r;
  }
  return smallest;
}

Real RollingAngle2(Real x) {
  const PolylineLookupScope lookup;
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

namespace {

void CloseThePair() {
  const PolylineLookupScope lookup;
  const common::CalculationMemoScope memo;
  RadiusExtremes.r1min = 1e32L;
  RadiusExtremes.r2min = 1e32L;
  RadiusExtremes.r1max = -1e32L;
  RadiusExtremes.r2max = -1e32L;
  const Real h = TenthDegree;

  // r1 at 0, h, 2h, ... over one turn. The first radius that is not
  // positive stops the run; the extremes hold what was sampled up to it,
  // and U1 with a and the ratios keep their values.
  std::vector<Real>& samples = TurnSamples();
  samples.resize(IterationSamplesPerTurn);
  for (int j = 0; j < IterationSamplesPerTurn; ++j) {
    const Real r = PitchRadius(j * h);
    if (!UsableRadius(r)) {
      common::AddErrorMessage("Fatal  : rw1 <= 0 !");
      common::FatalFlag = 1;
      return;
    }
    if (r < RadiusExtremes.r1min) RadiusExtremes.r1min = r;
    if (r > RadiusExtremes.r1max) RadiusExtremes.r1max = r;
    samples[static_cast<std::size_t>(j)] = r;
  }

  NcPair.U1 = ClosedChordSum(samples, h);
  NcPair.rnom1 = NcPair.U1 / 2 / common::Pi;
  NcPair.rnom2 = NcPair.k * NcPair.rnom1;

  // a lies above the largest radius (gear 2 needs a positive radius
  // everywhere) and below 6 U1 k / pi. Starting from the largest radius
  // rather than from r1(0) + 1 lets a pair whose gear 2 is thinner than
  // 1 mm at phi = 0 close as it does when its curve starts elsewhere.
  Real lo = RadiusExtremes.r1max;
  Real hi = 6 * NcPair.U1 * NcPair.k / common::Pi;

  // The screening's copy of the samples; radii far outside the double
  // range (or so small that a - r could underflow in it) are left to the
  // 80-bit sum.
  std::vector<double> screened;
  if (RadiusExtremes.r1min >= 1e-100L && RadiusExtremes.r1max <= 1e100L)
    screened.assign(samples.begin(), samples.end());

  bool converged = false;
  Real a = NcPair.a;
  for (int step = 1; step <= MaxBisectionSteps; ++step) {
    a = (lo + hi) / 2;
    NcPair.a = a;
    // At a centre distance not above the largest radius gear 2 would have a
    // zero or negative radius somewhere: such an a is too small (a bracket
    // whose upper end lies below the largest radius never closes).
    if (a <= RadiusExtremes.r1max) {
      lo = a;
      continue;
    }
    // Gear 2 turns in the negative sense, by the same amount in each of the
    // k turns of gear 1; e > 0: less than one full turn.
    if (!screened.empty()) {
      const ScreenedError s = ScreenClosingError(screened, h, a, RadiusExtremes.r1max, NcPair.k);
      const double tolerance = static_cast<double>(ClosureTolerance);
      if (std::fabs(s.error) > s.bound && std::fabs(std::fabs(s.error) - tolerance) > s.bound) {
        // Both readings certain (a NaN error or bound fails the test).
        if (s.error > 0)
          hi = a;
        else
          lo = a;
        if (std::fabs(s.error) < tolerance) {
          converged = true;
          break;
        }
        continue;
      }
    }
    const Real e = ClosingError(samples, h, a, NcPair.k);
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

// The last closing that ran through without a message: its inputs (as
// they were before it), its results, and what it left in the inputs that it
// may change (formula texts normalised by the evaluator, the sine-linear
// curve's scratch angle). The pictures and diagrams close the pair again
// after every calculation, and a formula curve of many terms takes long to
// sample.
struct TClosure {
  bool valid = false;
  TClosureInputs inputs;
  TNcPair pair;
  TRadiusExtremes extremes;
  Real theta = 0;
  RangeArray<std::string, 0, MaxFormulaPieces> formulas;
};

TClosure& LastClosure() {
  static TClosure closure;
  return closure;
}

void Reuse(const TClosure& c) {
  NcPair.U1 = c.pair.U1;
  NcPair.rnom1 = c.pair.rnom1;
  NcPair.rnom2 = c.pair.rnom2;
  NcPair.a = c.pair.a;
  NcPair.imin = c.pair.imin;
  NcPair.imax = c.pair.imax;
  RadiusExtremes = c.extremes;
  SineLinearCurve.Theta = c.theta;
  // The formula texts are the closing's inputs only on a formula curve;
  // those of another curve (kept in the design, unused) stay as they are.
  if (CurveType == CurveFormula)
    for (int i = 0; i <= MaxFormulaPieces; ++i) FormulaPieces[i].Formula = c.formulas[i];
}

void Remember(TClosure& c) {
  c.pair = NcPair;
  c.extremes = RadiusExtremes;
  c.theta = SineLinearCurve.Theta;
  for (int i = 0; i <= MaxFormulaPieces; ++i) c.formulas[i] = FormulaPieces[i].Formula;
  c.valid = true;
}

}  // namespace

void IterateCentreDistance() {
  const common::CalculationMessagesScope calculating;
  TClosure& last = LastClosure();
  TClosureInputs inputs = CurrentClosureInputs();
  if (last.valid && last.inputs == inputs) {
    Reuse(last);
    return;
  }
  last.valid = false;
  last.inputs = std::move(inputs);
  // The closing's messages are collected on a list of their own and then
  // added to the list in force, as they would have been one by one: so a
  // closing that has something to say is known as such even when the list
  // holds its text already or is full, and is never reused.
  const common::SavedMessages kept = common::SaveMessages();
  common::RestoreMessages({});
  CloseThePair();
  const common::SavedMessages own = common::SaveMessages();
  const bool clean = own.held.empty() && own.fatal == 0;
  common::RestoreMessages(kept);
  for (const common::SaidMessage& m : own.held) common::AddErrorMessage(m.text, m.weight);
  if (own.fatal) common::FatalFlag = own.fatal;
  if (clean) Remember(last);
}

}  // namespace calc
