// The outline of the carrier, the link that holds the two gear centres: a
// slot around both centres with the two bores, drawn through the
// primitives so that it goes to every device.
#pragma once

#include "common/real.h"

namespace drawing {

// In coordinates whose origin is the first gear centre and whose x axis
// points to the second centre at distance w: a half circle of radius h
// around each centre joined by two straight sides, and the bores r1 and r2
// at the centres. Pen 5.
void DrawArcMark(Real r1, Real r2, Real h, Real w);

}  // namespace drawing
