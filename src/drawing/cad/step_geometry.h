// The curves and solids of the STEP device's outlines (step_writer.h): a
// run of lines or arcs as the modelling kernel's edges, and the solids the
// closed ones bound, in the shapes readers take as they come.
//
// Every line of a run is an edge of its own, but lines that go on in one
// direction, and every side of a solid over it a plane: a reader's default
// integration of a plane is exact, where a curve through a flank's points
// (a B-spline of degree 1, with a kink at each point) came out up to 2 %
// off, and each corner of the outline stays a corner of the model that a
// mesher keeps. An arc is an arc of its circle, its side a cylinder. The
// caps are cut into sectors of a few dozen edges each, so that the file of
// a gear of thousands of teeth opens. Only step_writer.cpp and
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

// A closed outline of a slab: a closed run, or a whole circle (no run).
struct Loop {
  Path path;
  double cx = 0, cy = 0, r = 0;
};

// The material inside the outer loop (counter-clockwise) less its holes
// (loops inside it), from height lo to hi: a solid whose sides are planes
// over lines and cylinders over arcs, with an edge at every corner, and
// whose caps are cut into sectors (step_cap_sectors.h); a null shape when
// the kernel cannot make it.
TopoDS_Shape Slab(const Loop& outer, const std::vector<Loop>& holes, double lo, double hi);

// An open run (or one whose last point repeats its first) as edges at
// height z, joined into a wire; a null shape when there is nothing to draw.
TopoDS_Shape PathShape(const Path& path, double z);

}  // namespace drawing::step
