// The curves of the STEP device's outlines (step_writer.h): a run of lines
// or arcs as the modelling kernel's edges, few and exact.
//
// An outline arrives as thousands of short lines (a gear of 300 teeth is
// 12,600 of them); as one edge and one side face each, the model and the
// time to write it grow with the square of their number. Here each run of
// lines drawn in one pen without a corner (a flank, a tip or root land) is
// one edge: a B-spline of degree 1 through its points, which is the drawn
// outline itself, so the solid's volume is the face width times the area
// inside the lines, and the file's edges meet where the drawing's do. An
// arc is an arc of its circle, not chords. Only step_writer.cpp and
// step_geometry.cpp see the kernel.
#pragma once

#include <TopoDS_Face.hxx>
#include <TopoDS_Shape.hxx>
#include <TopoDS_Wire.hxx>

#include <vector>

namespace drawing::step {

// A point of a run and the piece that arrives at it from the point before:
// a line (sweep 0) or an arc of sweep radians (counter-clockwise positive)
// about (cx, cy) of radius r, and the pen it was drawn in. A closed run's
// first point carries the piece that closes it.
struct Point {
  double x = 0, y = 0;
  int pen = 0;
  double sweep = 0, cx = 0, cy = 0, r = 0;
};

using Path = std::vector<Point>;

// The path walked the other way round (each point then carries the piece
// that arrived at it before, turned round).
Path Reversed(const Path& path);

// The signed area (counter-clockwise positive) inside a closed run (the
// last point not repeated), its arcs included.
double SignedArea(const Path& loop);

// The closed run with each arc replaced by chords of at most a degree
// (which stay within 4e-5 of its radius from it): the run's box and inside
// as a polygon.
Path Flattened(const Path& loop);

// The closed run as a wire at height z, one edge per piece (see above); a
// null wire when the kernel cannot make one.
TopoDS_Wire LoopWire(const Path& loop, double z);

// The face swept from its plane by height along the z axis: a solid whose
// sides over B-spline edges are B-spline surfaces of the same points
// (degree 1 across): a reader integrates such a surface span by span, so
// that the solid's volume comes out exact, where over a side swept from a
// B-spline it would integrate the flank's corners as if it were smooth.
TopoDS_Shape Extrude(const TopoDS_Face& face, double height);

// An open run (or one whose last point repeats its first) as edges at
// height z, joined into a wire; a null shape when there is nothing to draw.
TopoDS_Shape PathShape(const Path& path, double z);

}  // namespace drawing::step
