// The carrier outline; see carrier_outline.h.
#include "drawing/outlines/carrier_outline.h"

#include <numbers>

#include "drawing/cad/cad_output.h"

namespace drawing {

void DrawArcMark(Real r1, Real r2, Real h, Real w) {
  constexpr Real Pi = std::numbers::pi_v<Real>;
  SetCadColor(5);
  CadPolylineBegin(0);
  CadPolylineVertex(0, h, Pi);
  CadPolylineVertex(0, -h, 0);
  CadPolylineVertex(w, -h, Pi);
  CadPolylineVertex(w, h, 0);
  CadPolylineVertex(0, h, 0);
  CadPolylineEnd();
  CadCircleAtOrigin(0, 0, r1);
  CadCircleAtOrigin(w, 0, r2);
}

}  // namespace drawing
