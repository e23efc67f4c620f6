// Small numeric routines (see numeric_routines.h). Pure functions without
// messages; the checked functions with their fallbacks are in guarded_math.cpp.
#include "common/numeric_routines.h"

#include <cmath>
#include <utility>

#include "common/guarded_math.h"

namespace common {

namespace {

// Fractional part with the sign of its argument.
Real Frac(Real x) { return x - std::trunc(x); }

}  // namespace

Real RadToDeg(Real x) { return x * 180.0L / Pi; }
Real DegToRad(Real x) { return x * Pi / 180.0L; }

Real Hypot(Real a, Real b) { return std::sqrt(a * a + b * b); }

Real Cathetus(Real c, Real a) {
  if (std::fabs(c) > std::fabs(a)) return std::sqrt(c * c - a * a);
  return 0.0L;
}

Real ArcTanFull(Real x, Real y) {
  Real phi;
  if (x == 0) {
    phi = y >= 0 ? Pi / 2 : -Pi / 2;
  } else {
    phi = std::atan(y / x);
    if (x < 0) phi += Pi;
  }
  if (phi < 0) phi += 2 * Pi;
  return phi;
}

Real ArcTanYX(Real y, Real x) { return ArcTanFull(x, y); }

void PolarToXY(Real& x, Real& y, Real r, Real phi) {
  x = r * std::cos(phi);
  y = r * std::sin(phi);
}

void XYToPolar(Real& r, Real& phi, Real x, Real y) {
  r = Hypot(x, y);
  phi = ArcTanFull(x, y);
}

void RotatePoint(Real& xr, Real& yr, Real x, Real y, Real angle) {
  const Real c = std::cos(angle);
  const Real s = std::sin(angle);
  xr = x * c - y * s;
  yr = y * c + x * s;
}

void RotateTranslate(Real& xr, Real& yr, Real dx, Real dy, Real angleDeg, Real x, Real y) {
  const Real a = DegToRad(angleDeg);
  const Real c = std::cos(a);
  const Real s = std::sin(a);
  xr = dx + x * c - y * s;
  yr = dy + x * s + y * c;
}

void ScaleRotateTranslate(Real& xr, Real& yr, Real sx, Real sy, Real dx, Real dy,
                          Real angleDeg, Real x, Real y) {
  RotateTranslate(xr, yr, dx, dy, angleDeg, x * sx, y * sy);
}

Real AngleDiff360(Real from, Real to, Real direction) {
  Real d = (Frac(to / 360.0L) - Frac(from / 360.0L)) * 360.0L;
  if (direction < 0) d = -d;
  if (d < 0) d += 360.0L;
  if (direction < 0) d = -d;
  return d;
}

Real Log10(Real x) {
  if (x <= 0) return 0.0L;
  return std::log10(x);
}

Real Pow10(Real x) { return std::exp(x * std::log(10.0L)); }

Real IntPower(std::int32_t n, Real x) {
  if (n == 0) return 1.0L;
  const bool inverse = n < 0;
  const std::int64_t k = inverse ? -static_cast<std::int64_t>(n) : n;
  Real result = x;
  for (std::int64_t i = 1; i < k; ++i) result *= x;
  return inverse ? 1.0L / result : result;
}

Real RoundDecimals(std::int32_t n, Real x) {
  const Real scale = IntPower(n, 10.0L);
  // rint rounds in the default mode: to nearest, ties to even (nearbyint
  // gives the same but saves and restores the floating-point environment).
  return std::rint(x * scale) / scale;
}

Real RoundToDouble(Real x) { return static_cast<Real>(static_cast<double>(x)); }

bool IsEven(std::int32_t n) { return n % 2 == 0; }

Real FloorReal(Real x) {
  Real t = std::trunc(x);
  if (x < 0) t -= 1.0L;
  return t;
}

std::int32_t DecadeExponent(Real x) {
  if (x == 0) return 0;
  return static_cast<std::int32_t>(std::lround(FloorReal(Log10(std::fabs(x)))));
}

void AxisStep(Real& lower, Real& upper, Real& step, Real lo, Real hi, std::int32_t n) {
  if (SameReal(hi, lo)) {
    hi += 1.0L;
    lo -= 1.0L;
  }
  // A maximum lying exactly on a step must not open a further step.
  hi -= (hi - lo) * 1e-5L;
  // A caller's division count rounded down to 0 would divide by zero.
  if (n < 1) n = 1;
  const Real raw = (hi - lo) / n;
  const std::int32_t e = DecadeExponent(raw);
  const Real m = raw / Pow10(e);
  Real factor;
  if (m < 1.5L) {
    factor = 1;
  } else if (m < 3) {
    factor = 2;
  } else if (m < 8) {
    factor = 5;
  } else {
    factor = 10;
  }
  step = Pow10(e) * factor;
  upper = (FloorReal(hi / step) + 1) * step;
  lower = FloorReal(lo / step) * step;
}

bool SameReal(Real a, Real b) { return std::fabs(a - b) < 1e-5L; }
bool SameRealTol(Real a, Real b, Real tol) { return std::fabs(a - b) < tol; }
Real MaxReal(Real a, Real b) { return a > b ? a : b; }
Real MinReal(Real a, Real b) { return a < b ? a : b; }
Real ClampReal(Real lo, Real hi, Real x) { return MinReal(MaxReal(x, lo), hi); }
std::int32_t MaxInt(std::int32_t a, std::int32_t b) { return a > b ? a : b; }
std::int32_t MinInt(std::int32_t a, std::int32_t b) { return a < b ? a : b; }
std::int32_t ClampInt(std::int32_t lo, std::int32_t hi, std::int32_t x) {
  return MinInt(MaxInt(x, lo), hi);
}
void SwapReal(Real& a, Real& b) { std::swap(a, b); }

Real PercentDeviation(Real reference, Real value) {
  if (reference == 0) return 0.0L;
  return std::fabs((value - reference) / reference) * 100.0L;
}

Real SignReal(Real x) { return x >= 0 ? 1.0L : -1.0L; }
Real SignReal2(Real x) { return SignReal(x); }

Real ModReal(Real x, Real m) { return Frac(x / m) * m; }
Real MeanReal(Real a, Real b) { return (a + b) / 2; }

Real InchToMm(Real x) { return x * MmPerInch; }
Real MmToInch(Real x) { return x / MmPerInch; }
Real PsiToMPa(Real x) { return x / PsiPerMPa; }
Real MPaToPsi(Real x) { return x * PsiPerMPa; }
Real LbfInToNm(Real x) { return x * NmPerLbfIn; }
Real NmToLbfIn(Real x) { return x / NmPerLbfIn; }
Real NewtonToLbf(Real x) { return x / NewtonPerLbf; }
Real CelsiusToFahrenheit(Real x) { return x * 1.8L + 32.0L; }
Real FahrenheitToCelsius(Real x) { return (x - 32.0L) / 1.8L; }

}  // namespace common
