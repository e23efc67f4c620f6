// The inputs of closing the pair; see closure_inputs.h.
#include "calc/closure_inputs.h"

#include "common/kaldvar.h"
#include "common/memo_math.h"

namespace calc {

namespace {

bool Same(Real a, Real b) { return common::memo_detail::SameArgument(a, b); }

bool Same(const TEllipseCurve& a, const TEllipseCurve& b) { return Same(a.a, b.a) && Same(a.b, b.b); }

bool Same(const TSineCurve& a, const TSineCurve& b) { return Same(a.rw0, b.rw0) && Same(a.A, b.A) && a.N == b.N; }

bool Same(const TSineLinearCurve& a, const TSineLinearCurve& b) {
  return Same(a.rw0, b.rw0) && Same(a.A, b.A) && Same(a.PhiLin, b.PhiLin) && Same(a.B, b.B) &&
         Same(a.Reserved, b.Reserved) && Same(a.Q, b.Q) && Same(a.Offset, b.Offset);
}

bool Same(const TPolygonCurve& a, const TPolygonCurve& b) {
  return a.Corners == b.Corners && Same(a.De, b.De) && Same(a.Di, b.Di);
}

bool Same(const TEccentricCurve& a, const TEccentricCurve& b) { return Same(a.D, b.D) && Same(a.E, b.E); }

bool Same(const TFormulaPiece& a, const TFormulaPiece& b) {
  return Same(a.EndAngle, b.EndAngle) && a.Formula == b.Formula;
}

bool Same(const TCurvePoint& a, const TCurvePoint& b) { return Same(a.Phi, b.Phi) && Same(a.R, b.R); }

template <class T, int Lo, int Hi>
bool Same(const RangeArray<T, Lo, Hi>& a, const RangeArray<T, Lo, Hi>& b) {
  for (int i = Lo; i <= Hi; ++i)
    if (!Same(a[i], b[i])) return false;
  return true;
}

}  // namespace

void TakeClosureInputs(TClosureInputs& inputs) {
  inputs.curveType = CurveType;
  inputs.k = NcPair.k;
  inputs.msgQuiet = common::MsgQuiet;
  inputs.ellipse = EllipseCurve;
  inputs.sine = SineCurve;
  inputs.sineLinear = SineLinearCurve;
  inputs.sineLinear.Theta = 0;
  inputs.polygon = PolygonCurve;
  inputs.eccentric = EccentricCurve;
  inputs.pieceCount = PieceCount;
  inputs.pieces = FormulaPieces;
  inputs.pointCount = PointCount;
  inputs.coefficients = common::EquationMatrix.rhs;
  inputs.polylineCount = PolylineCount;
  inputs.polyline = PolylinePoints;
  inputs.linearInterpolation = LinearInterpolation;
}

bool SameClosureInputs(const TClosureInputs& inputs) {
  // The cheap ones first: most changes are to the family or its parameters.
  return inputs.curveType == CurveType && inputs.k == NcPair.k && inputs.msgQuiet == common::MsgQuiet &&
         inputs.pieceCount == PieceCount && inputs.pointCount == PointCount &&
         inputs.polylineCount == PolylineCount && inputs.linearInterpolation == LinearInterpolation &&
         Same(inputs.ellipse, EllipseCurve) && Same(inputs.sine, SineCurve) &&
         Same(inputs.sineLinear, SineLinearCurve) && Same(inputs.polygon, PolygonCurve) &&
         Same(inputs.eccentric, EccentricCurve) && Same(inputs.pieces, FormulaPieces) &&
         Same(inputs.coefficients, common::EquationMatrix.rhs) && Same(inputs.polyline, PolylinePoints);
}

}  // namespace calc
