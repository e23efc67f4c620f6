// A small coordinate frame for drawing a part in its own coordinates and
// placing it turned and shifted on the sheet: the gear pictures set it to a
// gear's centre and turning angle and draw tooth contours and pitch curves
// in the gear's coordinates through the pen moves below (cad_output.h).
#pragma once

#include "common/real.h"

namespace drawing {

// Paper position of the frame's origin and its turning angle (degrees,
// counter-clockwise); all 0 at program start.
extern Real FrameOriginX, FrameOriginY, FrameAngle;

void SetRotatedFrame(Real x0, Real y0, Real angle);
// The point turned by FrameAngle about the frame origin and moved by it, to
// CadMoveTo / CadLineTo.
void RotatedMoveTo(Real x, Real y);
void RotatedLineTo(Real x, Real y);
void RotatedLine(Real x1, Real y1, Real x2, Real y2);
// A circle round (x + x0, y + y0): the centre is only shifted, not turned
// (the small centre mark of a gear on the frame's x axis).
void RotatedPoint(Real x, Real y, Real r);

}  // namespace drawing
