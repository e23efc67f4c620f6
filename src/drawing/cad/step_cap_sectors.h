// Where the STEP device cuts the caps of a solid (the faces at its two
// heights) into sectors, so that no face of a large gear is bounded by one
// wire of many thousand edges: a reader repairs each wire it takes in, and
// its check of a wire grows faster than the wire (a cap of 3000 teeth did
// not open in an hour).
//
// The cuts run straight from a centre (the centre of the bore; without
// one the axis the body turns about, or else the middle of its outline)
// towards points of the outline, one
// about every SectorPieces pieces, each at the point of its stretch
// nearest to the centre (a tooth root). A cut that would meet any side,
// that leaves its point outside the material, or that would not turn on
// round the centre is left out; the sectors then are the pieces between
// the cuts that are left.
#pragma once

#include <cstddef>
#include <vector>

#include "drawing/cad/step_geometry.h"

namespace drawing::step {

// Pieces of an outline per sector of a cap, about: a tooth of a gear.
inline constexpr std::size_t SectorPieces = 48;

// The cuts of the material inside the closed run `outline` (counter-
// clockwise, no two points the same) round (cx, cy): from the circle of
// radius r about it (the bore; 0: from the centre itself) to outline
// points. `obstacles` are the other sides no cut may meet (the other
// holes, flattened). Answers the indexes of the outline points, ascending;
// empty when fewer than two cuts can be made (the cap is then one face).
std::vector<std::size_t> CapCuts(const Path& outline, const std::vector<Path>& obstacles, double cx, double cy,
                                 double r);

// The middle of the area inside a closed run (its centroid).
Point Centroid(const Path& loop);

// Whether p lies inside the closed run `outline` and outside the
// `obstacles` (its holes), clear of all their sides (by a thousandth of a
// millimetre): a point the cuts can start from.
bool InsideMaterial(const Path& outline, const std::vector<Path>& obstacles, const Point& p);

}  // namespace drawing::step
