// Small numeric routines on 80-bit reals that every calculation and drawing
// unit calls: angle and point conversions, rounding and the scaling of
// diagram axes, comparisons and clamps, and the unit conversion factors of the
// imperial unit system. The checked functions (arcsin, arccos, power, sqrt,
// division) and the involute pair are in guarded_math.h; formatting of numbers
// into text is in the text formatting unit.
#pragma once

#include <cstdint>

#include "common/real.h"

namespace common {

// ---- Angles and points ----------------------------------------------------
Real RadToDeg(Real x);  // x * 180 / pi
Real DegToRad(Real x);  // x * pi / 180

Real Hypot(Real a, Real b);    // sqrt(a^2 + b^2)
Real Cathetus(Real c, Real a);  // sqrt(c^2 - a^2) when |c| > |a|, else 0

// Angle of the point (x, y) in [0, 2 pi); (0, 0) gives pi/2.
Real ArcTanFull(Real x, Real y);
// The same with the arguments in the order of atan2: ArcTanFull(x, y).
Real ArcTanYX(Real y, Real x);

void PolarToXY(Real& x, Real& y, Real r, Real phi);
void XYToPolar(Real& r, Real& phi, Real x, Real y);

// (x, y) turned by angle (radians) about the origin.
void RotatePoint(Real& xr, Real& yr, Real x, Real y, Real angle);
// (x, y) turned by angleDeg (degrees) about the origin, then moved by (dx, dy).
void RotateTranslate(Real& xr, Real& yr, Real dx, Real dy, Real angleDeg, Real x, Real y);
// RotateTranslate of (x * sx, y * sy).
void ScaleRotateTranslate(Real& xr, Real& yr, Real sx, Real sy, Real dx, Real dy,
                          Real angleDeg, Real x, Real y);

// Turn from `from` to `to` (degrees): in [0, 360) counter-clockwise when
// direction >= 0, in (-360, 0] clockwise when direction < 0.
Real AngleDiff360(Real from, Real to, Real direction);

// ---- Powers, logarithms, rounding ------------------------------------------
Real Log10(Real x);  // decimal logarithm; 0 for x <= 0
Real Pow10(Real x);  // exp(x ln 10)
// x^n by repeated multiplication; n = 0 gives 1, n < 0 gives 1 / x^(-n).
Real IntPower(std::int32_t n, Real x);
// x rounded to n decimals, ties to even.
Real RoundDecimals(std::int32_t n, Real x);
// x rounded to 64-bit double precision and widened again.
Real RoundToDouble(Real x);
bool IsEven(std::int32_t n);

// Trunc(x), less 1 when x < 0: the floor of a fractional value, but a
// negative whole number also comes out one less (-2 gives -3).
Real FloorReal(Real x);
// The integer nearest to FloorReal(Log10(|x|)); 0 for x = 0.
std::int32_t DecadeExponent(Real x);
// Rounds the range lo..hi to a diagram axis of about n divisions with a step
// of 1, 2, 5 or 10 times a power of ten.
void AxisStep(Real& lower, Real& upper, Real& step, Real lo, Real hi, std::int32_t n);

// ---- Comparisons, clamps, small helpers ------------------------------------
bool SameReal(Real a, Real b);               // |a - b| < 1e-5
bool SameRealTol(Real a, Real b, Real tol);  // |a - b| < tol
Real MaxReal(Real a, Real b);
Real MinReal(Real a, Real b);
Real ClampReal(Real lo, Real hi, Real x);  // min(max(x, lo), hi)
std::int32_t MaxInt(std::int32_t a, std::int32_t b);
std::int32_t MinInt(std::int32_t a, std::int32_t b);
std::int32_t ClampInt(std::int32_t lo, std::int32_t hi, std::int32_t x);
void SwapReal(Real& a, Real& b);
// |(value - reference) / reference| * 100; 0 when reference = 0.
Real PercentDeviation(Real reference, Real value);
// 1 for x >= 0 (zero included), else -1. The two are identical.
Real SignReal(Real x);
Real SignReal2(Real x);
// Frac(x / m) * m: the remainder with the sign of x.
Real ModReal(Real x, Real m);
Real MeanReal(Real a, Real b);

// ---- Unit conversion ---------------------------------------------------------
inline constexpr Real MmPerInch = 25.4L;
inline constexpr Real PsiPerMPa = 145.037L;
inline constexpr Real NmPerLbfIn = 0.112984788L;
inline constexpr Real NewtonPerLbf = 4.44822L;

Real InchToMm(Real x);
Real MmToInch(Real x);
Real PsiToMPa(Real x);
Real MPaToPsi(Real x);
Real LbfInToNm(Real x);
Real NmToLbfIn(Real x);
Real NewtonToLbf(Real x);
Real CelsiusToFahrenheit(Real x);
Real FahrenheitToCelsius(Real x);

}  // namespace common
