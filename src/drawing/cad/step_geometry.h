// The curves and solids of the STEP device's outlines (step_writer.h): a
// run of lines or arcs as edges between shared vertices, and the solids the
// closed ones bound, in the shapes readers take as they come; plain data
// that step_entities.h writes as the file's entities.
//
// A run's edges end at its corners, where a pen or an arc begins and where
// the caps are cut. Between them, a line (lines that go on in one
// direction one), or the smooth curves along the lines of a smooth
// stretch (step_smooth_runs.h), each side over one a B-spline surface of a
// single span, which a reader's default integration takes exactly (one
// over a curve with a kink at each point came out up to 2 % off); an arc
// is an arc of its circle, its side a cylinder. The caps are cut into
// sectors of a few dozen pieces each, so that the file of a gear of
// thousands of teeth opens.
#pragma once

#include <cstddef>
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

// An edge in the plane between two vertices of its sketch: a straight line
// from `from` to `to`, an arc of the circle about (cx, cy) of radius r
// counter-clockwise from `from` to `to` (the same vertex: the whole
// circle), or a smooth curve from `from` to `to` (poles not empty): the
// Bezier curve of those control points (x, y alternately, the first and
// the last the vertices' points; step_smooth_runs.h).
struct Edge {
  std::size_t from = 0, to = 0;
  bool arc = false;
  double cx = 0, cy = 0, r = 0;
  std::vector<double> poles;

  static Edge Line(std::size_t from, std::size_t to) {
    Edge e;
    e.from = from, e.to = to;
    return e;
  }
  static Edge Arc(std::size_t from, std::size_t to, double cx, double cy, double r) {
    Edge e = Line(from, to);
    e.arc = true;
    e.cx = cx, e.cy = cy, e.r = r;
    return e;
  }
};

// An edge as a loop runs along it: from its `from` to its `to` (forward)
// or back.
struct Use {
  std::size_t edge = 0;
  bool forward = true;
};

// A closed loop of edges, the material on its left (an outline runs
// counter-clockwise, a hole clockwise).
using Ring = std::vector<Use>;

// Vertices (x, y) and the edges between them.
struct Sketch {
  std::vector<double> x, y;
  std::vector<Edge> edges;

  std::size_t AddVertex(double px, double py) {
    x.push_back(px);
    y.push_back(py);
    return x.size() - 1;
  }
  std::size_t AddEdge(const Edge& e) {
    edges.push_back(e);
    return edges.size() - 1;
  }
};

// A closed outline of a slab: a closed run, or a whole circle (no run).
struct Loop {
  Path path;
  double cx = 0, cy = 0, r = 0;
};

// A prism over a region of the plane from height lo to hi: its sides are
// the boundaries swept up (a plane over each line, a cylinder over each
// arc), its caps at the two heights the faces of the region, each bounded
// by its rings (the first the outer one).
struct Slab {
  Sketch sketch;
  std::vector<Ring> boundaries;
  std::vector<std::vector<Ring>> caps;
  double lo = 0, hi = 0;
};

// The material inside the outer loop (counter-clockwise) less its holes
// (loops inside it, counter-clockwise as well), from height lo to hi, with
// an edge at every corner and caps cut into sectors (step_cap_sectors.h);
// false when the outline has no area to bound. The sectors meet at the
// bore (the first circle among the holes), or else at the axis the body
// turns about, where given and inside the material: a section through the
// axis then cuts through their common corner exactly, not a hair beside
// it, which a reader's Boolean operations fail on.
bool MakeSlab(const Loop& outer, const std::vector<Loop>& holes, double lo, double hi, Slab& slab,
              const Point* axis = nullptr);
// The same, its smooth stretches following the outline within the limits
// (those of the module of its teeth, step_smooth_runs.h).
struct SmoothLimits;
bool MakeSlab(const Loop& outer, const std::vector<Loop>& holes, double lo, double hi, Slab& slab,
              const Point* axis, const SmoothLimits& limits);

// An open run (or one whose last point repeats its first) as edges added
// to the sketch.
void AddPathEdges(const Path& path, Sketch& sketch);

}  // namespace drawing::step
