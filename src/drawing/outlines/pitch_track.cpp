// The pitch curves sampled for the teeth; see pitch_track.h.
#include "drawing/outlines/pitch_track.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>
#include <numbers>

#include "calc/calc_records.h"
#include "calc/pitch_curve.h"
#include "common/numeric_routines.h"

namespace drawing {

namespace {

constexpr Real Pi = std::numbers::pi_v<Real>;
// The finest step of the drive angle is this fraction of a pitch, and a
// whole curve has at most this many finest steps (a large tooth number with
// many turns would otherwise take long).
constexpr long FinestStepsPerPitch = 1000;
constexpr long MaxFinestSteps = 2000000;
// How closely the cubic of a piece must meet the curve at its middle: the
// point in mm, the tangent's direction in radians. A tooth flank reaches
// some 15 mm from its rolling point, so the tangent's error moves it by a
// few hundredths of a micrometre at most, along itself.
constexpr Real PointTolerance = 1e-6L;
constexpr Real AngleTolerance = 1e-6L;
// Its tangent (the angle's, to the precision of the angle itself).
constexpr Real AngleToleranceTangent = AngleTolerance + AngleTolerance * AngleTolerance * AngleTolerance / 3;
// The step of the forward difference that gives the radius's derivative
// where the curve does not give it itself (a formula curve does, with its
// radius, at a fraction of a second radius's cost): its error is about half
// the step times the second derivative, and it asks for one radius more per
// sample, not two.
constexpr Real DerivativeStep = 1e-7L;

// The pitch radius at a drive angle and its derivative.
struct RadiusSample {
  Real r = 0;
  Real dr = 0;
};

RadiusSample SampleRadius(Real phi) {
  RadiusSample s;
  if (!calc::PitchRadiusWithSlope(phi, s.r, s.dr))
    s.dr = (calc::PitchRadius(phi + DerivativeStep) - s.r) / DerivativeStep;
  return s;
}

// A sample of the track: the drive angle, the radius of curve 1 with its
// derivative, gear 2's rolling angle, and the point of the gear's curve with
// its derivative by the drive angle.
struct Knot {
  Real phi = 0, r = 0, dr = 0, psi = 0;
  Real x = 0, y = 0, dx = 0, dy = 0;
};

// Gear 2 turns by -r / (a - r) per unit of drive angle (pure rolling); the
// rate and its derivative.
struct RollingRate {
  Real f = 0;
  Real df = 0;
};

RollingRate Rolling(Real r, Real dr) {
  const Real a = calc::NcPair.a;
  const Real r2 = a - r;
  if (!(r2 > 0)) return {};
  return {r / r2, dr * a / (r2 * r2)};
}

// The rolling angle's growth from p to q: the trapezoid with its end
// correction, exact for cubics.
Real RollingIntegral(const Knot& p, Real qPhi, const RadiusSample& q) {
  const Real h = qPhi - p.phi;
  const RollingRate fp = Rolling(p.r, p.dr);
  const RollingRate fq = Rolling(q.r, q.dr);
  return h / 2 * (fp.f + fq.f) + h * h / 12 * (fp.df - fq.df);
}

Knot MakeKnot(int gear, Real phi, const RadiusSample& s, Real psi) {
  Knot k;
  k.phi = phi;
  k.r = s.r;
  k.dr = s.dr;
  k.psi = psi;
  // In polar form rho(theta): gear 1 is r at the drive angle, gear 2 is
  // a - r at its rolling angle, on the side facing gear 1.
  Real rho = s.r, drho = s.dr, theta = phi, dtheta = 1;
  if (gear != 1) {
    rho = calc::NcPair.a - s.r;
    drho = -s.dr;
    theta = Pi + psi;
    dtheta = -Rolling(s.r, s.dr).f;
  }
  // Gear 2 turns k times: its angle taken into one turn first. Its sine
  // and cosine in double precision place a point of a curve of some hundred
  // millimetres to a few 1e-14 mm, and cost a tenth of the extended ones.
  theta = std::remainder(theta, 2 * Pi);
  const double turn = static_cast<double>(theta);
  const Real c = std::cos(turn), sn = std::sin(turn);
  k.x = rho * c;
  k.y = rho * sn;
  k.dx = drho * c - rho * dtheta * sn;
  k.dy = drho * sn + rho * dtheta * c;
  return k;
}

// The cubic through the points of two samples with their derivatives by the
// drive angle (which grows by dphi from the first to the second); its
// length is measured separately.
TTrackPiece MakePiece(Real x0, Real y0, Real dx0, Real dy0, Real x1, Real y1, Real dx1, Real dy1, Real dphi) {
  TTrackPiece p;
  dx0 *= dphi, dy0 *= dphi, dx1 *= dphi, dy1 *= dphi;
  p.ax[0] = x0, p.ax[1] = dx0, p.ax[2] = 3 * (x1 - x0) - 2 * dx0 - dx1, p.ax[3] = 2 * (x0 - x1) + dx0 + dx1;
  p.ay[0] = y0, p.ay[1] = dy0, p.ay[2] = 3 * (y1 - y0) - 2 * dy0 - dy1, p.ay[3] = 2 * (y0 - y1) + dy0 + dy1;
  p.speed0 = std::sqrt(dx0 * dx0 + dy0 * dy0);
  p.speed1 = std::sqrt(dx1 * dx1 + dy1 * dy1);
  return p;
}

void PointOf(const TTrackPiece& p, Real s, Real& x, Real& y) { p.Point(s, x, y); }

void DerivativeOf(const TTrackPiece& p, Real s, Real& dx, Real& dy) { p.Derivative(s, dx, dy); }

// The arc length of the cubic, five-point Gauss-Legendre.
Real MeasureLength(const TTrackPiece& p) {
  static constexpr Real Nodes[5] = {0.0469100770306680036L, 0.2307653449471584545L, 0.5L,
                                    0.7692346550528415455L, 0.9530899229693319964L};
  static constexpr Real Weights[5] = {0.1184634425280945438L, 0.2393143352496832340L,
                                      0.2844444444444444444L, 0.2393143352496832340L,
                                      0.1184634425280945438L};
  Real sum = 0;
  for (int i = 0; i < 5; ++i) {
    Real dx, dy;
    DerivativeOf(p, Nodes[i], dx, dy);
    sum += Weights[i] * std::sqrt(dx * dx + dy * dy);
  }
  return sum;
}

// The arc of a piece as a cubic in its parameter s: from the piece's
// length and the speeds of the point at both ends; T the precision.
template <class T>
struct TArc {
  T length, speed0, speed1;

  // The arc from the piece's start at s.
  T At(T s) const {
    const T s2 = s * s, s3 = s2 * s;
    return length * (3 * s2 - 2 * s3) + speed0 * (s - 2 * s2 + s3) + speed1 * (s3 - s2);
  }
  T Speed(T s) const {
    const T s2 = s * s;
    return length * (6 * s - 6 * s2) + speed0 * (1 - 4 * s + 3 * s2) + speed1 * (3 * s2 - 2 * s);
  }

  // The parameter of the arc tau (0 .. length): Newton's steps from the
  // cubic of the inverse with the same end slopes, kept inside the
  // bracket that the arc's growth gives.
  T ParameterOf(T tau) const {
    if (!(length > 0)) return 0;
    const T t = std::clamp(tau / length, static_cast<T>(0), static_cast<T>(1));
    T s = t;
    if (speed0 > length / 3 && speed0 < 3 * length && speed1 > length / 3 && speed1 < 3 * length) {
      const T t2 = t * t, t3 = t2 * t;
      s = (t3 - 2 * t2 + t) * length / speed0 + (3 * t2 - 2 * t3) + (t3 - t2) * length / speed1;
    }
    T lo = 0, hi = 1;
    for (int i = 0; i < 40; ++i) {
      const T f = At(s) - tau;
      if (std::fabs(f) < static_cast<T>(1e-15L)) return s;
      if (f > 0) hi = s; else lo = s;
      const T d = Speed(s);
      T next = d > 0 ? s - f / d : (lo + hi) / 2;
      if (!(next > lo && next < hi)) next = (lo + hi) / 2;
      // Newton's error squares from step to step: after a step this small
      // the parameter is exact.
      if (std::fabs(next - s) < static_cast<T>(1e-10L)) return next;
      s = next;
    }
    return s;
  }
};

TArc<Real> ArcOfPiece(const TTrackPiece& p) { return {p.length, p.speed0, p.speed1}; }

Real ArcOf(const TTrackPiece& p, Real s) { return ArcOfPiece(p).At(s); }

// Whether the cubic from a to b meets the curve's sample m at its middle.
bool CubicMeets(const Knot& a, const Knot& b, const Knot& m) {
  const TTrackPiece p = MakePiece(a.x, a.y, a.dx, a.dy, b.x, b.y, b.dx, b.dy, b.phi - a.phi);
  Real x, y, dx, dy;
  PointOf(p, 0.5L, x, y);
  DerivativeOf(p, 0.5L, dx, dy);
  const Real ex = x - m.x, ey = y - m.y;
  if (!(ex * ex + ey * ey <= PointTolerance * PointTolerance)) return false;
  // The angle between the tangents within the tolerance: their dot
  // product positive, and their cross product at most its tangent's share
  // of it (an arc tangent costs more than the whole test).
  const Real dot = dx * m.dx + dy * m.dy;
  return dot > 0 && std::fabs(dx * m.dy - dy * m.dx) <= AngleToleranceTangent * dot;
}

// A sample appended; the pieces between the samples and their arcs are
// made once all are taken (Close), at their number.
void Append(TPitchTrack& t, const Knot& k) {
  t.X.push_back(k.x);
  t.Y.push_back(k.y);
  t.DX.push_back(k.dx);
  t.DY.push_back(k.dy);
  t.Phi.push_back(k.phi);
  t.Psi.push_back(k.psi);
}

// The pieces between the samples, their lengths and the arc at each
// sample; the samples kept without the room that their growth left (a
// track is kept between redraws, and one of many turns has tens of
// thousands of pieces).
void Close(TPitchTrack& t) {
  for (auto* v : {&t.X, &t.Y, &t.DX, &t.DY, &t.Phi, &t.Psi})
    if (v->capacity() > v->size() + v->size() / 4) v->shrink_to_fit();
  const std::size_t n = t.X.size();
  t.S.assign(n, 0);
  t.Pieces.clear();
  t.Pieces.reserve(n > 0 ? n - 1 : 0);
  for (std::size_t i = 0; i + 1 < n; ++i) {
    const Real dphi = t.Phi[i + 1] - t.Phi[i];
    TTrackPiece p = MakePiece(t.X[i], t.Y[i], t.DX[i], t.DY[i], t.X[i + 1], t.Y[i + 1], t.DX[i + 1], t.DY[i + 1], dphi);
    // A curve of waves far shorter than the finest step (a sine of a
    // million waves) turns back and forth between two samples: the tangents
    // there, three times the chord and more, would swing the cubic hundreds
    // of millimetres off. Such a piece is the chord between the samples,
    // which lie on the curve.
    const Real chordX = t.X[i + 1] - t.X[i], chordY = t.Y[i + 1] - t.Y[i], chord = std::hypot(chordX, chordY);
    if (dphi > 0 && std::max(p.speed0, p.speed1) > 3 * chord)
      p = MakePiece(t.X[i], t.Y[i], chordX / dphi, chordY / dphi, t.X[i + 1], t.Y[i + 1], chordX / dphi, chordY / dphi,
                    dphi);
    p.length = MeasureLength(p);
    t.S[i + 1] = t.S[i] + p.length;
    t.Pieces.push_back(p);
  }
  t.Length = n > 0 ? t.S.back() : 0;
}

}  // namespace

void TPitchTrack::At(Real sigma, Real& x, Real& y, Real& tx, Real& ty, Real& nx, Real& ny, Real& phi) const {
  Real curvature;
  At(sigma, x, y, tx, ty, nx, ny, phi, curvature);
}

void TPitchTrack::At(Real sigma, Real& x, Real& y, Real& tx, Real& ty, Real& nx, Real& ny, Real& phi,
                     Real& curvature) const {
  const std::size_t n = S.size();
  if (n < 2 || !(Length > 0)) {
    x = y = tx = ty = nx = ny = phi = curvature = 0;
    return;
  }
  if (sigma < 0 || sigma >= Length) {
    sigma = std::fmod(sigma, Length);
    if (sigma < 0) sigma += Length;
  }
  // Successive calls ask for nearby arcs: the piece of the last call and
  // its neighbours first.
  std::size_t i = lastPiece_;
  if (!(i + 1 < n && S[i] <= sigma && sigma < S[i + 1])) {
    if (i + 2 < n && S[i + 1] <= sigma && sigma < S[i + 2]) {
      ++i;
    } else if (i > 0 && i < n && S[i - 1] <= sigma && sigma < S[i]) {
      --i;
    } else {
      // Farther off: by steps that double from the last piece towards
      // sigma, then halving within the last step (the flanks ask for arcs
      // a few mm apart, a few steps on a track of a hundred thousand
      // pieces).
      std::size_t lo = 0, hi = n;  // S[lo] <= sigma < S[hi] (S[n]: beyond the end)
      if (i + 1 < n && S[i] <= sigma) {
        lo = i;
        for (std::size_t step = 1; lo + step < n; step *= 2) {
          if (sigma < S[lo + step]) {
            hi = lo + step;
            break;
          }
          lo += step;
        }
      } else if (i < n && sigma < S[i]) {
        hi = i;
        for (std::size_t step = 1; step <= hi; step *= 2) {
          if (S[hi - step] <= sigma) {
            lo = hi - step;
            break;
          }
          hi -= step;
        }
      }
      i = static_cast<std::size_t>(std::upper_bound(S.begin() + lo, S.begin() + hi, sigma) - S.begin());
      i = std::clamp<std::size_t>(i, 1, n - 1) - 1;
    }
    lastPiece_ = i;
  }
  // Within the piece in double precision: its point to some 1e-13 mm
  // on a gear of metres, at a fraction of the extended precision's cost
  // (the teeth ask for hundreds of thousands of points).
  FastPiece f;
  if (fast_.size() == Pieces.size()) {
    f = fast_[i];
  } else {
    const TTrackPiece& p = Pieces[i];
    f = {p.As<double>(), static_cast<double>(p.length), static_cast<double>(p.speed0), static_cast<double>(p.speed1)};
  }
  const TCubic<double>& cubic = f.cubic;
  const TArc<double> arc{f.length, f.speed0, f.speed1};
  const double s = arc.ParameterOf(static_cast<double>(sigma - S[i]));
  double px, py, dx, dy;
  cubic.Point(s, px, py);
  cubic.Derivative(s, dx, dy);
  x = px, y = py;
  const double len = std::sqrt(dx * dx + dy * dy);
  if (len > 0) {
    tx = dx / len;
    ty = dy / len;
    const double ddx = 6 * cubic.ax[3] * s + 2 * cubic.ax[2], ddy = 6 * cubic.ay[3] * s + 2 * cubic.ay[2];
    curvature = (dx * ddy - dy * ddx) / (len * len * len);
  } else {
    tx = 0;
    ty = 1;
    curvature = 0;
  }
  nx = Orientation * ty;
  ny = -Orientation * tx;
  phi = Phi[i] + s * (Phi[i + 1] - Phi[i]);
}

void TPitchTrack::KeepFastPieces() {
  fast_.clear();
  fast_.reserve(Pieces.size());
  for (const TTrackPiece& p : Pieces)
    fast_.push_back({p.As<double>(), static_cast<double>(p.length), static_cast<double>(p.speed0),
                     static_cast<double>(p.speed1)});
}

void TPitchTrack::AtDriveAngle(Real phi, Real& x, Real& y, Real& sigma) const {
  const std::size_t n = Phi.size();
  if (n < 2) {
    x = y = sigma = 0;
    return;
  }
  const Real span = Phi.back();
  if (phi < 0 || phi > span) {
    phi = std::fmod(phi, span);
    if (phi < 0) phi += span;
  }
  std::size_t i = static_cast<std::size_t>(std::upper_bound(Phi.begin(), Phi.end(), phi) - Phi.begin());
  i = std::clamp<std::size_t>(i, 1, n - 1) - 1;
  const TTrackPiece& p = Pieces[i];
  const Real dphi = Phi[i + 1] - Phi[i];
  const Real s = dphi > 0 ? std::clamp((phi - Phi[i]) / dphi, static_cast<Real>(0), static_cast<Real>(1)) : 0;
  PointOf(p, s, x, y);
  sigma = S[i] + ArcOf(p, s);
}

Real TPitchTrack::RollingAngle(Real phi) const {
  const std::size_t n = Phi.size();
  if (n < 2 || Psi.size() != n || !(Phi.back() > 0)) return 0;
  // Past the curve's end (or before its start) gear 2 goes on into its
  // next turn.
  const Real span = Phi.back();
  if (phi < 0 || phi > span) {
    const Real turns = std::floor(phi / span);
    return turns * Psi.back() + RollingAngle(phi - turns * span);
  }
  std::size_t i = static_cast<std::size_t>(std::upper_bound(Phi.begin(), Phi.end(), phi) - Phi.begin());
  i = std::clamp<std::size_t>(i, 1, n - 1) - 1;
  const Real dphi = Phi[i + 1] - Phi[i];
  const Real s = dphi > 0 ? std::clamp((phi - Phi[i]) / dphi, static_cast<Real>(0), static_cast<Real>(1)) : 0;
  Real x, y;
  PointOf(Pieces[i], s, x, y);
  // The point's polar angle is pi + psi; within one piece psi changes by
  // far less than a turn.
  return Psi[i] + std::remainder(std::atan2(y, x) - Pi - Psi[i], 2 * Pi);
}

TPitchTrack TrackPitchCurve(int gear, TrackSampling sampling) {
  TPitchTrack track;
  track.Orientation = gear == 1 ? 1 : -1;
  const auto& p = calc::NcPair;
  const long turns = gear == 1 ? 1 : std::max<long>(p.k, 1);
  const long z1 = std::max<long>(p.z1, 1);
  long steps = z1 * turns * FinestStepsPerPitch;
  if (steps > MaxFinestSteps) steps = std::max<long>(MaxFinestSteps, 3600 * turns);
  const Real h = 2 * Pi * turns / steps;
  // The longest piece tried: a power of two of finest steps, at most half
  // a pitch (kept, it is cut in two at its middle).
  long longest = 1;
  while (longest * 4 * z1 * turns <= steps) longest *= 2;

  // Radii asked for and not yet passed, by finest step: a piece that is
  // halved keeps its middle as the next piece's end. They are few (about
  // one per halving of the piece being tried).
  std::vector<std::pair<long, RadiusSample>> asked;
  auto sample = [&](long i) {
    for (const auto& [at, radius] : asked)
      if (at == i) return radius;
    asked.emplace_back(i, SampleRadius(i * h));
    return asked.back().second;
  };
  // The radii of a polyline are found by bisection meanwhile.
  const calc::PolylineLookupScope lookup;
  // Room for the dozen samples or so that a smooth curve takes to a pitch.
  const std::size_t expected = static_cast<std::size_t>(std::min(steps, z1 * turns * 14)) + 2;
  for (auto* v : {&track.X, &track.Y, &track.DX, &track.DY, &track.Phi, &track.Psi}) v->reserve(expected);
  Knot a = MakeKnot(gear, 0, sample(0), 0);
  Append(track, a);
  long i = 0;
  long step = sampling == TrackSampling::Finest ? 1 : longest;
  while (i < steps) {
    while (step > steps - i) step /= 2;
    const long end = i + step;
    const RadiusSample sb = sample(end);
    if (step == 1) {
      const Knot b = MakeKnot(gear, end * h, sb, a.psi - RollingIntegral(a, end * h, sb));
      Append(track, b);
      a = b;
      i = end;
      if (sampling == TrackSampling::Adaptive) step = 2;
    } else {
      const long mid = i + step / 2;
      const RadiusSample sm = sample(mid);
      const Real whole = RollingIntegral(a, end * h, sb);
      const Real first = RollingIntegral(a, mid * h, sm);
      const Knot m = MakeKnot(gear, mid * h, sm, a.psi - first);
      const Knot b = MakeKnot(gear, end * h, sb, m.psi - RollingIntegral(m, end * h, sb));
      bool meets = CubicMeets(a, MakeKnot(gear, end * h, sb, a.psi - whole), m);
      if (gear != 1) {
        // The rolling angle integrated over the whole piece and over its
        // halves: their difference is the error of the whole.
        const Real scale = std::max(p.a, static_cast<Real>(1));
        meets = meets && std::fabs(whole - (a.psi - b.psi)) * scale <= PointTolerance;
      }
      if (!meets) {
        step /= 2;
        continue;
      }
      Append(track, m);
      Append(track, b);
      a = b;
      i = end;
      step = std::min(2 * step, longest);
    }
    std::erase_if(asked, [&](const auto& known) { return known.first < i; });
  }
  Close(track);
  track.KeepFastPieces();
  return track;
}

int WholeDriveDegree(Real phi) {
  const long degree = std::lround(common::RadToDeg(phi)) % 360;
  return static_cast<int>(degree < 0 ? degree + 360 : degree);
}

Real GearTwoTurn(const TPitchTrack& track, Real phi) {
  Real x, y, sigma;
  track.AtDriveAngle(phi, x, y, sigma);
  return common::RadToDeg(Pi - std::atan2(y, x));
}

}  // namespace drawing
