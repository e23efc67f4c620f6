// The inputs of the pitch radius; see pitch_curve_inputs.h.
#include "calc/pitch_curve_inputs.h"

#include <algorithm>

#include "calc/calc_records.h"
#include "common/equation_matrix.h"
#include "common/memo_math.h"

namespace calc {

bool TPitchCurveInputs::operator==(const TPitchCurveInputs& other) const {
  if (curveType != other.curveType || numbers.size() != other.numbers.size() || formulas != other.formulas)
    return false;
  for (std::size_t i = 0; i < numbers.size(); ++i)
    if (!common::memo_detail::SameArgument(numbers[i], other.numbers[i])) return false;
  return true;
}

TPitchCurveInputs CurrentPitchCurveInputs() {
  TPitchCurveInputs in;
  in.curveType = CurveType;
  auto& n = in.numbers;
  switch (CurveType) {
    case CurveFormula: {
      n.push_back(PieceCount);
      for (int i = 1; i <= std::min(PieceCount, MaxFormulaPieces); ++i) {
        n.push_back(FormulaPieces[i].EndAngle);
        in.formulas.push_back(FormulaPieces[i].Formula);
      }
      break;
    }
    case CurveEllipse:
      n = {EllipseCurve.a, EllipseCurve.b};
      break;
    case CurveSine:
      n = {SineCurve.rw0, SineCurve.A, static_cast<Real>(SineCurve.N)};
      break;
    case CurveSineLinear: {
      const TSineLinearCurve& c = SineLinearCurve;
      n = {c.rw0, c.A, c.PhiLin, c.B, c.Q, c.Offset};
      break;
    }
    case CurvePolygon:
      n = {static_cast<Real>(PolygonCurve.Corners), PolygonCurve.Di};
      break;
    case CurvePolynomial:
    case CurvePointFit:
      n.push_back(PointCount);
      for (int i = 1; i <= std::min(PointCount, MaxFitPoints); ++i) n.push_back(common::EquationMatrix.rhs[i]);
      break;
    case CurveEccentric:
      n = {EccentricCurve.D, EccentricCurve.E};
      break;
    case CurvePolyline:
      n.push_back(PolylineCount);
      n.push_back(LinearInterpolation);
      for (int i = 1; i <= std::min(PolylineCount, MaxPolylinePoints); ++i) {
        n.push_back(PolylinePoints[i].Phi);
        n.push_back(PolylinePoints[i].R);
      }
      break;
    default:
      break;
  }
  return in;
}

}  // namespace calc
