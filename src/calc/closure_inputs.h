// Everything that closing the pair (IterateCentreDistance, centre_distance.h)
// reads: the curve family of gear 1 with the parameters of every family
// (pitch_curve.h reads those of the current one), the formula pieces, the
// polynomial coefficients, the point table, the turns k of gear 1 per turn
// of gear 2, and whether messages are quiet. Two closings with the same
// inputs give the same results, so the last one can stand for the next.
// The tooth number is no input: the closing does not depend on the teeth.
#pragma once

#include <cstdint>

#include "calc/calc_records.h"
#include "common/equation_matrix.h"

namespace calc {

struct TClosureInputs {
  std::uint16_t curveType = 0;
  std::int32_t k = 0;
  bool msgQuiet = false;
  TEllipseCurve ellipse;
  TSineCurve sine;
  TSineLinearCurve sineLinear;  // Theta, the radius function's scratch value, excluded
  TPolygonCurve polygon;
  TEccentricCurve eccentric;
  std::int32_t pieceCount = 0;
  RangeArray<TFormulaPiece, 0, MaxFormulaPieces> pieces;
  std::int32_t pointCount = 0;
  RangeArray<Real, 1, common::EquationMatrixSize> coefficients;
  std::int32_t polylineCount = 0;
  RangeArray<TCurvePoint, 1, MaxPolylinePoints> polyline;
  std::uint8_t linearInterpolation = 0;
};

// The inputs as the records hold them now.
void TakeClosureInputs(TClosureInputs& inputs);

// Whether the records hold the inputs: every number the same bit for bit
// (+0 and -0 differ, an undefined number matches nothing), every text the
// same.
bool SameClosureInputs(const TClosureInputs& inputs);

}  // namespace calc
