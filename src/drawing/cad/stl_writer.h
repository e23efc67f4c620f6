// The STL writer (device 6): the two-dimensional drawing of a gear, rack,
// carrier or pitch curve as a solid, every drawn segment extruded between
// the two STL heights (SetStlHeights), written as an ASCII or binary STL
// file (CadSettings.CadStlType: 0 binary, 1 ASCII).
//
// A model that is to be printed or machined must be closed: the segments
// are joined at their ends into contours, and every closed contour gets its
// top and bottom faces; a contour inside another one is a hole (a bore),
// one inside a hole is material again. Every facet faces out of the
// material: outer contours are walked clockwise and holes counter-clockwise
// before their walls are made, since a wall's normal points to the left of
// its segment. Segments that close no contour keep their bare walls.
// Outlines that touch at a point (the two pitch curves of a pair) are
// separate contours. The faces are cut into triangles on the float32
// points the file holds (common/polygon_triangulation.h), so that none is
// turned over by the rounding.
//
// Circles and arcs arrive as chords (cad_output.h); texts and the drawing
// head write nothing; blocks are recorded and replayed as on the screen.
// The facets are collected while the picture is drawn and written at the
// end, when the contours are known.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/real.h"

namespace drawing {

// One facet: normal x, y, z, then vertices 1, 2 and 3 (x, y, z each).
using TStlFacet = std::array<float, 12>;

// The largest coordinate and height (mm) an STL output takes: the file holds
// float32 numbers, which at 1e9 mm (1000 km) keep no detail finer than 64 mm.
inline constexpr Real StlCoordinateLimit = 1e9L;
// The most lines one STL output collects (a gear's outline has a few
// thousand): the solids of half a million lines take some hundred
// megabytes. More refuse the output.
inline constexpr std::size_t MaxStlSegments = 500000;

// The writer state of one output.
struct TStlState {
  std::int32_t StlType = 0;        // 0 binary, 1 ASCII
  std::string StlSolidName;        // the solid name of the ASCII form
  std::string StlFileName;
  std::uint32_t StlFacetCount = 0; // facets produced since StlOpen
  std::vector<TStlFacet> StlFacetList;
  bool Open = false;
};

extern TStlState StlState;

// The binary header: 80 bytes, blank-padded, no terminating zero.
std::string StlBinaryHeader();
// A number of the ASCII form: one digit before the point, 8 after, a
// capital E and a signed exponent of at least two digits ("1.25000000E+01").
std::string StlNumber(Real value);

// An empty name shows "invalid File name" and sets AbortFlag. Otherwise an
// STL type of 2 or more is stored back as 0 (binary); the ASCII file is
// created with its "solid" line, the binary one only by StlWriteFile.
void StlOpen(const std::string& fileName, const std::string& solidName);
// A drawn segment (the wall of StlWall once its contour is known).
void StlLine(Real x1, Real y1, Real x2, Real y2);
// The outline 1 -> 2 -> 3 -> 4 -> 1 as four segments.
void StlQuad(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4);
// The two facets of the wall of a segment between the two heights, normal
// to the left of the direction 1 -> 2; a segment of length 0 gives none.
void StlWall(Real x1, Real y1, Real x2, Real y2);
void StlFacet(Real nx, Real ny, Real nz, Real x1, Real y1, Real z1, Real x2, Real y2, Real z2, Real x3, Real y3,
              Real z3);
// The unit normal to the left of 1 -> 2; false (and 0, 0) for length 0.
bool StlSegmentNormal(Real x1, Real y1, Real x2, Real y2, Real& nx, Real& ny);
// Makes the walls and faces of the collected segments and writes the file.
void StlWriteFile();
// Drops the output: no file is written (an ASCII file begun is removed).
void StlAbandon();

}  // namespace drawing
