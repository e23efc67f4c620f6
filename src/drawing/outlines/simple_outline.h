// Closed outlines that bound a region: a polygon that crosses itself is cut
// at its crossings and its loops are taken out, as a wire-cutting or laser
// program needs it (one simple closed curve round the material). Used for
// the tooth outlines of the gears (tooth_contour.h).
#pragma once

#include <vector>

#include "common/real.h"

namespace drawing {

// A closed polygon whose segments carry pens: segment k runs from vertex k
// to vertex k + 1 (the last one back to vertex 0) and is drawn with Pen[k].
struct TPenPolygon {
  std::vector<Real> X, Y;
  std::vector<int> Pen;

  std::size_t Size() const { return X.size(); }
  void Add(Real x, Real y, int pen) {
    X.push_back(x);
    Y.push_back(y);
    Pen.push_back(pen);
  }
};

// Cuts the polygon at each point where two of its segments cross (or one
// touches another that is not its neighbour) and leaves out, of the two
// loops that meet there, the one that encloses the smaller area: a tooth
// tip beyond the crossing of its flanks, a flank's step back, the bow of
// two flanks that run into each other. Repeated until no two segments
// cross; the crossing points become vertices, each part keeps its pen.
// Segments of length 0 are dropped. Returns the number of loops taken out.
int TrimCrossings(TPenPolygon& polygon);

// Sides shorter than this (mm) are no part of a gear's shape: far below
// what any drawing shows or a machine cuts, they arise where a crossing or
// the tip curve falls a hair's breadth from a flank's point. A mesher or a
// modelling kernel takes such a side between two corners as an edge too
// small to handle.
inline constexpr Real TinySide = 0.002L;
// Where two sides of the outline meet at less than NeedleAngle (degrees)
// and the needle between them is narrower than NeedleWidth (mm) where the
// shorter one ends, the needle is no part of the shape either: a flank
// generated along a pitch curve with corners (a polyline, a curve whose
// ends do not meet smoothly) folds back by micrometres where the rolling
// rack passes a corner, a fold that the rack itself would cut away, and
// leaves a sliver too thin to show but not to trouble a mesher. (A tooth's
// land meets its flank at a right angle or so, however short the flank's
// first side: a corner, not a needle.)
inline constexpr Real NeedleAngle = 30;
inline constexpr Real NeedleWidth = 0.02L;

// The tiny side and the needle's width of an outline of teeth of the module
// mn (mm): TinySide and NeedleWidth, but no more than a thousandth and six
// thousandths of the module, so that the teeth of a small module (0.02 mm:
// flank points 2 micrometres apart) keep their shape.
Real TinySideFor(Real module);
Real NeedleWidthFor(Real module);

// Takes out of the closed polygon of teeth of the module the ends of its
// tiny sides (shorter than TinySideFor) and the tips of its needles
// (narrower than NeedleWidthFor), the vertex whose leaving changes the
// area least first (the triangle with its two neighbours), until none is
// left. No vertex moves; the side that replaces two keeps the pen of the
// longer. The outline so moves by no more than a tiny side's length or a
// needle's; it keeps three vertices at least. Returns the number of
// vertices taken out.
int DropNeedlesAndTinySides(TPenPolygon& polygon, Real module);

// Whether any two sides of the closed polygons cross, touch or overlap
// along a line, within one polygon (sides that follow each other count only
// where the second turns straight back along the first; a point repeated is
// one corner) or between two: the
// outlines of a body then bound no area a solid could be made of. Near
// linear in the sides, as TrimCrossings finds its crossings.
bool PolygonsCross(const std::vector<TPenPolygon>& polygons);

}  // namespace drawing
