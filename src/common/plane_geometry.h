// Plane geometry on 80-bit reals: 2 x 2 linear systems, crossings of lines
// and segments, rotation about a point, the centre of an arc from its chord
// and its angle, and the clipping of a segment to a rectangle. Used by the
// diagram layers (clipping), the DXF reader (bulges to arcs), the drawing
// interface (arcs), the spur-gear kernel (line crossings) and the plot-file
// viewer (rotation). Built on numeric_routines.h; the arc-centre messages go
// to the calculation message list unless MsgQuiet is set. Angles in radians.
#pragma once

#include "common/real.h"

namespace common {

// a d - b c.
Real Det2(Real a, Real b, Real c, Real d);

// Solves a1 x + b1 y = c1, a2 x + b2 y = c2 by Cramer's rule. A determinant
// of exactly 0 gives x = y = 0 and false.
bool Solve2x2(Real& x, Real& y, Real a1, Real b1, Real c1, Real a2, Real b2, Real c2);

// Point where the line through P1, P2 meets the line through P3, P4; for
// parallel lines P1 and false.
bool IntersectLines(Real& x, Real& y, Real x1, Real y1, Real x2, Real y2, Real x3, Real y3,
                    Real x4, Real y4);

// value between a and b, bounds included, or within 1e-12 of a degenerate
// (a = b within 1e-12) range.
bool BetweenTol(Real value, Real a, Real b);

// The crossing of the two lines (always written to x, y); true when it lies on
// both segments. Parallel segments count as crossing only when P1 lies within
// the bounds of the second segment.
bool IntersectSegments(Real& x, Real& y, Real x1, Real y1, Real x2, Real y2, Real x3, Real y3,
                       Real x4, Real y4);

// (px, py) turned by angle about (cx, cy).
void RotateAboutPoint(Real& x, Real& y, Real px, Real py, Real cx, Real cy, Real angle);

// Centre (xc, yc), radius r and end angles (in [0, 2 pi), seen from the
// centre) of the arc from A to B that spans the signed angle dphi; a positive
// dphi puts the centre to the left of A->B (counter-clockwise arc). For a dphi
// whose half has a zero sine the outputs stay unchanged and
// "Fehler in GetArcCenter (dphi = <dphi> ! " is added; for A = B the centre is
// A with radius 0 and "GetArcCenter l12=0" is added.
void GetArcCenter(Real& xc, Real& yc, Real& angleA, Real xa, Real ya, Real xb, Real yb,
                  Real dphi, Real& angleB, Real& r);
// The same without the A = B message, and for dphi < 0 with the end angles
// exchanged, so that the arc always runs counter-clockwise from angleA to
// angleB.
void GetArcCenter2(Real& xc, Real& yc, Real& angleA, Real xa, Real ya, Real xb, Real yb,
                   Real dphi, Real& angleB, Real& r);

// Crossing of two lines, each given by a point and a direction angle.
bool IntersectLinesAngle(Real& x, Real& y, Real x1, Real y1, Real angle1, Real x2, Real y2,
                         Real angle2);

// xmin <= x <= xmax and ymin <= y <= ymax, borders included.
bool PointInBox(Real x, Real y, Real xmin, Real ymin, Real xmax, Real ymax);

// The first crossing of the segment with the borders of the box, tried in the
// order bottom, right, top, left; false (outputs unchanged) when none.
bool SegmentBoxCrossing(Real& x, Real& y, Real x1, Real y1, Real x2, Real y2, Real xmin,
                        Real ymin, Real xmax, Real ymax);

// Clips the segment P1-P2 to the box: the end outside is moved to the border.
// Both ends outside: a segment that passes through the box is cut to its
// two crossings (true); one that misses it (or touches only a corner) gets
// all four coordinates 0 and false. Both inside: unchanged, true.
bool ClipLineToBox(Real& x1, Real& y1, Real& x2, Real& y2, Real xmin, Real ymin, Real xmax,
                   Real ymax);

}  // namespace common
