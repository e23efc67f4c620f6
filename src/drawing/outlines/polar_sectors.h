// Sectors of the turn about a centre, for indexes of outlines and curves by
// their polar angle: a measure of the angle that needs a division, not an
// arc tangent.
#pragma once

#include <algorithm>
#include <cmath>

namespace drawing {

// Grows with the polar angle of (x, y) from 0 to 4 round the turn (the
// angle of the point's projection on the diamond |x| + |y| = 1).
inline double TurnMeasure(double x, double y) {
  const double s = std::fabs(x) + std::fabs(y);
  if (!(s > 0)) return 0;
  if (y >= 0) return x >= 0 ? y / s : 1 - x / s;
  return x < 0 ? 2 - y / s : 3 + x / s;
}

// The sector (of count, dividing the measure evenly) of the point.
inline int PolarSector(double x, double y, int count) {
  return std::clamp(static_cast<int>(TurnMeasure(x, y) / 4 * count), 0, count - 1);
}

// The sectors from the one of (x0, y0) to that of (x1, y1) the short way
// round: the first one and their number.
inline int SectorSpan(double x0, double y0, double x1, double y1, int count, int& first) {
  int from = PolarSector(x0, y0, count), to = PolarSector(x1, y1, count);
  // The measures lie in [0, 4): their difference the short way round.
  double turn = TurnMeasure(x1, y1) - TurnMeasure(x0, y0);
  if (turn > 2) turn -= 4;
  if (turn < -2) turn += 4;
  if (turn < 0) std::swap(from, to);
  first = from;
  return (to - from + count) % count + 1;
}

}  // namespace drawing
