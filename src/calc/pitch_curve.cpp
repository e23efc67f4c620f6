// The pitch-curve radius function of gear 1 (pitch_curve.h) over the curve
// records of calc_records.h. Formula curves go through the formula evaluator
// (formula_evaluator.h), the polynomial curves read their coefficients from
// the equation workspace of the point fit (equation_matrix.h). The curves'
// trigonometric functions are memoised (memo_math.h): every run asks for
// them at the same few thousand sample angles.
#include "calc/pitch_curve.h"

#include <cmath>
#include <string>

#include "calc/calc_records.h"
#include "calc/pitch_radius_table.h"
#include "common/equation_matrix.h"
#include "common/formula_evaluator.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/memo_math.h"
#include "common/message_list.h"
#include "common/numeric_routines.h"

namespace calc {

namespace {

constexpr Real TwoPi = 2 * common::Pi;

// The one failure of the radius function: every caller tests FatalFlag or a
// radius <= 0.
Real RadiusFailure() {
  common::AddErrorMessage("Fatal  : rw1 <= 0 !");
  common::FatalFlag = 1;
  return 0;
}

// A point count beyond its table (which the data file and the forms
// refuse): the curve would be read past its points. The message names the
// limit, not only the missing radius.
Real TableOverflow(int limit) {
  common::AddErrorMessage("Fatal  : more than " + std::to_string(limit) + " points !");
  return RadiusFailure();
}

// The formula piece's radius at phi; evaluated: whether a piece gave the
// value (a failure has said why). With slope given, also the derivative
// where the formula gives one (slopeKnown).
Real FormulaRadius(Real phi, bool& evaluated, Real* slope, bool& slopeKnown) {
  evaluated = false;
  slopeKnown = false;
  for (int i = 1; i <= PieceCount && i <= MaxFormulaPieces; ++i) {
    TFormulaPiece& piece = FormulaPieces[i];
    if (phi <= common::DegToRad(piece.EndAngle)) {
      if (piece.Formula.empty()) return RadiusFailure();
      Real value = 0;
      std::int32_t errorPosition = 0;
      if (slope)
        slopeKnown = common::EvaluateFormulaCachedWithSlope(piece.Formula, value, *slope, errorPosition, phi);
      else
        common::EvaluateFormulaCached(piece.Formula, value, errorPosition, phi);
      if (errorPosition != 0) {
        // A formula that stops part-way has no radius: its partial value
        // (50 of "50+ABC") would rate a different curve without a word.
        // The caller adds "Fatal  : rw1 <= 0 !" for the zero radius.
        common::AddErrorMessage(FormulaErrorText(piece.Formula, errorPosition));
        common::FatalFlag = 1;
        slopeKnown = false;
        return 0;
      }
      evaluated = true;
      return value;
    }
  }
  return RadiusFailure();
}

// A formula's radius from the table of the picture being drawn, where one
// is open (pitch_radius_table.h): an angle asked for before is not
// evaluated again (for its slope once more if that was not asked for).
// Only a finite radius is kept; a failure speaks every time.
Real TabledFormulaRadius(Real phi, Real* slope, bool& slopeKnown) {
  bool evaluated = false;
  if (!PitchRadiusTableOpen()) return FormulaRadius(phi, evaluated, slope, slopeKnown);
  if (const TTabledRadius* kept = FindTabledRadius(phi); kept && (!slope || kept->slopeAsked)) {
    if (slope) *slope = kept->slope;
    slopeKnown = kept->slopeKnown;
    return kept->r;
  }
  const Real r = FormulaRadius(phi, evaluated, slope, slopeKnown);
  if (evaluated && std::isfinite(r)) KeepTabledRadius(phi, {r, slope ? *slope : 0, slope != nullptr, slopeKnown});
  return r;
}

// Ellipse centred on the rotation axis, in polar form about its centre.
Real EllipseRadius(Real phi) {
  const Real a = EllipseCurve.a;
  const Real b = EllipseCurve.b;
  const Real t = common::WideMemoTan(phi, phi);
  const Real ab = a * b;
  return std::sqrt(ab * ab * (1 + t * t) / (b * b + a * a * t * t));
}

Real SineRadius(Real phi) {
  const Real n = static_cast<Real>(SineCurve.N);
  const Real arg = n * phi - TwoPi * std::trunc(n * phi / TwoPi);
  return SineCurve.rw0 + SineCurve.A * common::WideMemoSin(arg, phi);
}

// Linear rise from rw0 - A at 0 degrees to rw0 + A at PhiLin, then the sine
// arc prepared by PrepareSineLinearCurve, which meets the line with the same
// radius at PhiLin and returns to rw0 - A at 360 degrees.
Real SineLinearRadius(Real phi) {
  TSineLinearCurve& c = SineLinearCurve;
  if (!(c.PhiLin > 0 && c.PhiLin < 360)) return RadiusFailure();
  const Real p = common::RadToDeg(phi);
  if (p <= c.PhiLin) return c.rw0 - c.A + p * 2 * c.A / c.PhiLin;
  c.Theta = (360 - 2 * c.Q) / (360 - c.PhiLin) * p + c.Offset;
  return c.rw0 + c.B * common::WideMemoSin(common::DegToRad(c.Theta), phi);
}

// Regular polygon with straight sides, a corner at phi = 0; fewer than three
// corners give no closed convex curve (and zero a division by zero).
Real PolygonRadius(Real phi) {
  if (PolygonCurve.Corners < 3) return RadiusFailure();
  const Real s = TwoPi / PolygonCurve.Corners;
  return (PolygonCurve.Di / 2) / common::WideMemoCos(common::ModReal(phi, s) - s / 2, phi);
}

// Polynomial in phi with the coefficients of the equation workspace.
Real PolynomialRadius(Real phi) {
  if (PointCount > MaxFitPoints) return TableOverflow(MaxFitPoints);
  Real sum = 0;
  Real power = 1;
  for (int i = 1; i <= PointCount; ++i) {
    sum += common::EquationMatrix.rhs[i] * power;
    power *= phi;
  }
  return sum;
}

// A disc of diameter D turning about a point at distance E from its centre;
// with E >= D/2 the pivot lies on or outside the disc and the radius is
// zero, negative or undefined somewhere.
Real EccentricRadius(Real phi) {
  const Real d = EccentricCurve.D;
  const Real e = EccentricCurve.E;
  if (!(std::fabs(e) < d / 2)) return RadiusFailure();
  const Real c = e * common::WideMemoCos(common::Pi - phi, phi);
  return c + std::sqrt(c * c - e * e + (d / 2) * (d / 2));
}

}  // namespace

// A long formula is cut so that the message stays one readable line.
std::string FormulaErrorText(const std::string& formula, std::int32_t errorPosition) {
  constexpr std::size_t Shown = 60;
  const std::string text = formula.size() > Shown ? formula.substr(0, Shown) + "..." : formula;
  return "Error  : formula: " + text + " (Pos. " + std::to_string(errorPosition) + ")";
}

Real PolygonCornerDiameter() {
  if (PolygonCurve.Corners < 3) return 0;
  return PolygonCurve.Di / std::cos(common::Pi / PolygonCurve.Corners);
}

Real NormAngle(Real x) {
  const Real q = x / TwoPi;
  Real result = (q - std::trunc(q)) * TwoPi;
  if (result < 0) result += TwoPi;
  return result;
}

namespace {

// True while a PolylineLookupScope has found the point table in order.
bool PolylineInOrder = false;

int UsablePolylineCount() {
  // The table holds at most MaxPolylinePoints; a larger count (a damaged
  // data file) must not read past it.
  return PolylineCount < MaxPolylinePoints ? PolylineCount : MaxPolylinePoints;
}

bool PolylineTableInOrder() {
  const int count = UsablePolylineCount();
  for (int i = 2; i <= count; ++i)
    if (!(PolylinePoints[i - 1].Phi <= PolylinePoints[i].Phi)) return false;  // NaN too
  return true;
}

// The radius between the lower and the upper point, each taken at its angle
// plus a shift of a whole turn where the curve closes over 0/360 degrees.
Real InterpolateBetween(Real phi, int lower, int upper, Real lowerShift = 0, Real upperShift = 0) {
  const TCurvePoint& lo = PolylinePoints[lower];
  const TCurvePoint& hi = PolylinePoints[upper];
  const Real loPhi = lo.Phi + lowerShift;
  const Real hiPhi = hi.Phi + upperShift;
  if (LinearInterpolation == 1 && hiPhi != loPhi) return lo.R + (phi - loPhi) * (hi.R - lo.R) / (hiPhi - loPhi);
  return lo.R;
}

// The curve is closed: beyond the last point the line runs on to the first
// point one turn later, and before the first point it comes from the last
// point one turn earlier, so a table that stops short of 360 degrees meets
// its own start again instead of jumping at 0/360. The staircase keeps the
// lower point's radius as it is: lower is the first point while no point
// lies at or below phi.
Real InterpolateClosed(Real phi, int lower, int upper, bool anyBelow, bool anyAbove, int first, int last) {
  if (LinearInterpolation != 1 || !(phi == phi)) return InterpolateBetween(phi, lower, upper);
  if (!anyAbove) return InterpolateBetween(phi, lower, first, 0, TwoPi);
  if (!anyBelow) return InterpolateBetween(phi, last, upper, -TwoPi, 0);
  return InterpolateBetween(phi, lower, upper);
}

// The first point of the group of equal angles that ends at point end, in a
// table whose angles do not decrease.
int FirstOfEqualAngles(int end) {
  const Real angle = PolylinePoints[end].Phi;
  int a = 1, b = end;
  while (a < b) {
    const int mid = (a + b) / 2;
    if (PolylinePoints[mid].Phi < angle) a = mid + 1; else b = mid;
  }
  return a;
}

// The points that the scan over the table picks, found by bisection in a
// table whose angles do not decrease: lower is the first point of the
// largest angle at or below phi, upper the first point of the smallest
// angle above it; an exact hit ends the scan at the first point of that
// angle, before any point above is seen, so upper stays point 1. Without a
// point below or above, the curve closes over the turn.
Real InterpolateInOrder(Real phi) {
  const int count = UsablePolylineCount();
  if (count < 1 || !(phi == phi)) return InterpolateBetween(phi, 1, 1);
  // First point with an angle not below phi, and first above phi.
  int lo = 1, hi = count + 1;
  while (lo < hi) {
    const int mid = (lo + hi) / 2;
    if (PolylinePoints[mid].Phi < phi) lo = mid + 1; else hi = mid;
  }
  const int notBelow = lo;
  if (notBelow <= count && PolylinePoints[notBelow].Phi == phi) return InterpolateBetween(phi, notBelow, 1);
  const int above = notBelow;  // no point equals phi
  const bool anyBelow = above > 1;
  const bool anyAbove = above <= count;
  const int lower = anyBelow ? FirstOfEqualAngles(above - 1) : 1;
  return InterpolateClosed(phi, lower, anyAbove ? above : 1, anyBelow, anyAbove, 1, FirstOfEqualAngles(count));
}

}  // namespace

PolylineLookupScope::PolylineLookupScope() : previous_(PolylineInOrder) {
  PolylineInOrder = CurveType == CurvePolyline && PolylineTableInOrder();
}

PolylineLookupScope::~PolylineLookupScope() { PolylineInOrder = previous_; }

Real InterpolatePointCurve(Real phi) {
  if (PolylineInOrder) return InterpolateInOrder(phi);
  const int count = UsablePolylineCount();
  int lower = 1;
  int upper = 1;
  Real bestBelow = 7.0L;
  Real bestAbove = -7.0L;
  bool anyBelow = false;
  bool anyAbove = false;
  // The first points of the smallest and of the largest angle, where the
  // curve closes over the turn.
  int first = 1;
  int last = 1;
  for (int i = 1;; ++i) {
    const Real pointPhi = PolylinePoints[i].Phi;
    const Real d = phi - pointPhi;
    if (pointPhi > phi && d > bestAbove) {
      upper = i;
      bestAbove = d;
      anyAbove = true;
    }
    if (pointPhi <= phi && d < bestBelow) {
      lower = i;
      bestBelow = d;
      anyBelow = true;
    }
    if (pointPhi < PolylinePoints[first].Phi) first = i;
    if (pointPhi > PolylinePoints[last].Phi) last = i;
    if (pointPhi == phi) return InterpolateBetween(phi, lower, upper);  // an exact hit
    if (i >= count) break;
  }
  return InterpolateClosed(phi, lower, upper, anyBelow, anyAbove, first, last);
}

Real GetPhiIter(Real c) {
  Real lo = 0;
  Real hi = 3.1L;
  for (int step = 1; step <= 800; ++step) {
    const Real mid = (lo + hi) / 2;
    const Real g = mid / std::cos(mid) - c;
    if (g >= 0)
      hi = mid;
    else
      lo = mid;
    if (std::fabs(g) < 1e-7L) return mid;
  }
  common::AddErrorMessage("Error: GetPhiIter in unit vob4rech");
  return 0;
}

namespace {

// The radius of PitchRadius; with slope given, the derivative too where the
// curve gives one (slopeKnown).
Real Radius(Real phi, Real* slope, bool& slopeKnown) {
  slopeKnown = false;
  if (phi < 0 || phi > TwoPi) phi = NormAngle(phi);
  Real r;
  switch (CurveType) {
    case CurveFormula:
      r = TabledFormulaRadius(phi, slope, slopeKnown);
      break;
    case CurveEllipse:
      r = EllipseRadius(phi);
      break;
    case CurveSine:
      r = SineRadius(phi);
      break;
    case CurveSineLinear:
      r = SineLinearRadius(phi);
      break;
    case CurvePolygon:
      r = PolygonRadius(phi);
      break;
    case CurvePolynomial:
    case CurvePointFit:
      r = PolynomialRadius(phi);
      break;
    case CurveEccentric:
      r = EccentricRadius(phi);
      break;
    case CurvePolyline:
      if (PolylineCount > MaxPolylinePoints) return TableOverflow(MaxPolylinePoints);
      r = InterpolatePointCurve(phi);
      // A staircase is flat between its points: its slope is that of its
      // own piece, not a difference taken across the next step.
      if (LinearInterpolation == 0 && slope) {
        *slope = 0;
        slopeKnown = true;
      }
      break;
    default:
      r = 100;
      break;
  }
  // An infinite or undefined radius (a formula dividing by zero, say) would
  // spread through every later sum; it stops the calculation like r <= 0.
  if (!std::isfinite(r)) {
    slopeKnown = false;
    return RadiusFailure();
  }
  return r;
}

}  // namespace

Real PitchRadius(Real phi) {
  bool slopeKnown = false;
  return Radius(phi, nullptr, slopeKnown);
}

bool PitchRadiusWithSlope(Real phi, Real& r, Real& slope) {
  bool slopeKnown = false;
  slope = 0;
  r = Radius(phi, &slope, slopeKnown);
  if (!slopeKnown) slope = 0;
  return slopeKnown;
}

}  // namespace calc
