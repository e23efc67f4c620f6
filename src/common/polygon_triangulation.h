// The faces of plane regions as triangles: a region bounded by an outer
// ring with holes in it is cut into triangles by ear clipping, the holes
// first joined to the outer ring by cuts walked there and back. The STL
// writer closes its extruded outlines with these faces (top and bottom).
//
// Every edge of the rings is an edge of exactly one triangle and every
// other triangle edge is shared by two triangles running opposite ways, so
// that faces and walls together form a closed surface whatever the rings.
// For rings that are simple and do not touch one another the triangles are
// counter-clockwise, none is flat and none overlaps another. A ring that
// crosses itself bounds no one region: it still gets triangles that close
// the surface, but they may overlap.
#pragma once

#include <array>
#include <vector>

#include "common/real.h"

namespace common {

struct PlanePoint {
  Real x = 0, y = 0;
};

// Three indices into the point list, counter-clockwise.
using TriangleCorners = std::array<int, 3>;

// outer: the indices of the outer ring's points, counter-clockwise; holes:
// rings inside it, each clockwise. Points may be shared by rings only where
// rings touch.
std::vector<TriangleCorners> TriangulateRegion(const std::vector<PlanePoint>& points, const std::vector<int>& outer,
                                               const std::vector<std::vector<int>>& holes);

}  // namespace common
