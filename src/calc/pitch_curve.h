// The pitch radius r1(phi) of gear 1 for every curve family of CurveType
// (calc_records.h): the one function on which the centre-distance iteration
// (centre_distance.h), the position sweep and the pictures of the pair rest.
// Also the angle normalisation, the point-table curve and the root search
// that prepares the sine-linear family (sine_linear.h).
#pragma once

#include <cstdint>
#include <string>

#include "common/real.h"

namespace calc {

// x reduced to [0, 2 pi): Frac(x / 2 pi) * 2 pi, plus 2 pi when negative.
Real NormAngle(Real x);

// r1(phi) > 0 in mm, phi in radians (outside 0..2 pi it is normalised;
// 2 pi itself is kept). On failure 0, with "Fatal  : rw1 <= 0 !" in the
// message list and FatalFlag set: a formula curve without a covering piece
// or with an empty formula, curve data that cannot give a finite positive
// radius (sine-linear PhiLin outside 0..360, a polygon with fewer than 3
// corners, an eccentric with E >= D/2, point counts beyond their tables),
// and any non-finite result. A formula piece that does not evaluate at phi
// (error position n != 0) gives 0 with FatalFlag set and
// FormulaErrorText of its normalised formula; the caller adds
// "Fatal  : rw1 <= 0 !".
Real PitchRadius(Real phi);

// The message of a formula that does not evaluate: "Error  : formula: " +
// the formula (60 characters at most, then "...") + " (Pos. " + n + ")",
// n the evaluator's error position (-1 empty, -2 unbalanced brackets).
// The fixed words lead, so that every formula finds the one explanation.
std::string FormulaErrorText(const std::string& formula, std::int32_t errorPosition);

// The diameter through the polygon's corners that the curve has: the
// incircle Di over cos(180 deg / z); 0 for fewer than three corners. (The
// entered width across corners De is kept with the design but drawn from
// nowhere.)
Real PolygonCornerDiameter();

// PitchRadius(phi) as r (the same value and messages) and, where the curve
// gives it, the radius's derivative by phi (true): a formula curve's, its
// formula differentiated as it is evaluated. False, with slope 0, for the
// other families and where the formula's derivative is no finite number;
// the caller then takes a difference. A staircase polyline (linear
// interpolation off) gives its steps' slope, 0.
bool PitchRadiusWithSlope(Real phi, Real& r, Real& slope);

// The radius of the polyline through PolylinePoints (curve type 9): linear
// between the nearest points at or below and above phi, or the radius of the
// lower point while LinearInterpolation is 0.
// Of points with equal angles the first counts; an exact hit takes that
// point's radius. The linear curve is closed: beyond the last point it runs
// to the first point one turn later, before the first point it comes from
// the last point one turn earlier.
Real InterpolatePointCurve(Real phi);

// While one lives, InterpolatePointCurve finds its two points by bisection
// when the table's angles do not decrease (checked once, at its start),
// with the same result as the scan over the table. For the loops that ask
// for thousands of radii of an unchanged table (the centre-distance
// iteration, the position sweep); nothing may change the table meanwhile.
class PolylineLookupScope {
 public:
  PolylineLookupScope();
  ~PolylineLookupScope();
  PolylineLookupScope(const PolylineLookupScope&) = delete;
  PolylineLookupScope& operator=(const PolylineLookupScope&) = delete;

 private:
  bool previous_;
};

// The root x of x / cos(x) = c in [0, 3.1] by bisection; 0 and
// "Error: GetPhiIter in unit vob4rech" when 800 steps do not reach it.
Real GetPhiIter(Real c);

}  // namespace calc
