// The rotated frame; see rotated_frame.h.
#include "drawing/rotated_frame.h"

#include "common/numeric_routines.h"
#include "drawing/cad/cad_output.h"

namespace drawing {

Real FrameOriginX = 0, FrameOriginY = 0, FrameAngle = 0;

void SetRotatedFrame(Real x0, Real y0, Real angle) {
  FrameOriginX = x0;
  FrameOriginY = y0;
  FrameAngle = angle;
}

void RotatedMoveTo(Real x, Real y) {
  Real xr = 0, yr = 0;
  common::RotateTranslate(xr, yr, FrameOriginX, FrameOriginY, FrameAngle, x, y);
  CadMoveTo(xr, yr);
}

void RotatedLineTo(Real x, Real y) {
  Real xr = 0, yr = 0;
  common::RotateTranslate(xr, yr, FrameOriginX, FrameOriginY, FrameAngle, x, y);
  CadLineTo(xr, yr);
}

void RotatedLine(Real x1, Real y1, Real x2, Real y2) {
  RotatedMoveTo(x1, y1);
  RotatedLineTo(x2, y2);
}

void RotatedPoint(Real x, Real y, Real r) { CadCircle(x + FrameOriginX, y + FrameOriginY, r); }

}  // namespace drawing
