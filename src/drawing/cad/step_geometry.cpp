// The curves of the STEP device's outlines; see step_geometry.h.
#include "drawing/cad/step_geometry.h"

#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRep_Builder.hxx>
#include <BRepPrimAPI_MakePrism.hxx>
#include <BRep_Tool.hxx>
#include <ElCLib.hxx>
#include <Geom_Circle.hxx>
#include <Precision.hxx>
#include <Standard_Failure.hxx>
#include <BRepAdaptor_Curve.hxx>
#include <BRepAdaptor_Surface.hxx>
#include <BRepTools.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_DataMapOfShapeShape.hxx>
#include <TopTools_ListOfShape.hxx>
#include <TopoDS_Iterator.hxx>
#include <TopoDS_Shell.hxx>
#include <TopoDS_Solid.hxx>
#include <gp_Pln.hxx>
#include <gp_Pnt2d.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Vertex.hxx>
#include <gp_Circ.hxx>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <optional>
#include <unordered_map>

#include "drawing/cad/step_cap_sectors.h"

namespace drawing::step {

namespace {

constexpr double Pi = std::numbers::pi;

// Lines that go on in one direction (within this sine of the angle between
// them) are one edge; every other turn is a corner of the part, which stays
// an edge of the model.
constexpr double StraightSine = 1e-9;

// Points closer than the kernel's tolerance are one vertex (as its polygon
// builder takes them).
bool Same(const Point& a, const Point& b) { return std::hypot(a.x - b.x, a.y - b.y) <= Precision::Confusion(); }

// A piece from point `from` to point `to` of the run (to carries it).
struct Piece {
  std::size_t from = 0, to = 0;
};

// Whether the run changes from piece s to piece t at their common point:
// an arc is an edge of its own, a new pen or any turn begins a new edge.
bool Breaks(const Path& run, const Piece& s, const Piece& t) {
  const Point& a = run[s.to];
  const Point& b = run[t.to];
  if (a.sweep != 0 || b.sweep != 0 || a.pen != b.pen) return true;
  const double ux = a.x - run[s.from].x, uy = a.y - run[s.from].y;
  const double vx = b.x - run[t.from].x, vy = b.y - run[t.from].y;
  const double lengths = std::hypot(ux, uy) * std::hypot(vx, vy);
  return !(lengths > 0) || ux * vx + uy * vy <= 0 || std::fabs(ux * vy - uy * vx) > StraightSine * lengths;
}

// The edges of a run, sharing one vertex where two of them meet.
class EdgeMaker {
 public:
  EdgeMaker(const Path& run, double z) : run_(run), z_(z) {}

  // The edge of the pieces first .. last (consecutive in the run), all
  // lines of one pen or one arc.
  std::optional<TopoDS_Edge> Make(const std::vector<Piece>& pieces, std::size_t first, std::size_t count) {
    const Point& end = run_[pieces[first].to];
    const TopoDS_Vertex v1 = VertexAt(pieces[first].from);
    const TopoDS_Vertex v2 = VertexAt(pieces[first + count - 1].to);
    if (end.sweep != 0) return ArcEdge(pieces[first], v1, v2);
    // Lines in one direction: one straight edge from the first point to
    // the last.
    BRepBuilderAPI_MakeEdge edge(v1, v2);
    if (!edge.IsDone()) return std::nullopt;
    return edge.Edge();
  }

  // The vertex at point `index` of the run, one for every edge that ends
  // there.
  TopoDS_Vertex VertexAt(std::size_t index) {
    const auto found = vertices_.find(index);
    if (found != vertices_.end()) return found->second;
    TopoDS_Vertex v;
    BRep_Builder().MakeVertex(v, gp_Pnt(run_[index].x, run_[index].y, z_), Precision::Confusion());
    vertices_.emplace(index, v);
    return v;
  }

 private:

  // The arc of the piece's circle between the two vertices (which end the
  // lines beside it and may lie off the circle by as much as the ends that
  // were joined there).
  std::optional<TopoDS_Edge> ArcEdge(const Piece& piece, const TopoDS_Vertex& v1, const TopoDS_Vertex& v2) const {
    const Point& end = run_[piece.to];
    const gp_Circ circle(gp_Ax2(gp_Pnt(end.cx, end.cy, z_), gp::DZ()), end.r);
    const gp_Pnt p1 = BRep_Tool::Pnt(v1), p2 = BRep_Tool::Pnt(v2);
    const double u1 = ElCLib::Parameter(circle, p1);
    double u2 = u1 + end.sweep;
    u2 += std::remainder(ElCLib::Parameter(circle, p2) - u2, 2 * Pi);
    BRep_Builder builder;
    for (const auto& [v, u] : {std::pair{v1, u1}, std::pair{v2, u2}}) {
      const double off = ElCLib::Value(u, circle).Distance(BRep_Tool::Pnt(v));
      if (off > BRep_Tool::Tolerance(v)) builder.UpdateVertex(v, 1.01 * off);
    }
    const Handle(Geom_Circle) curve = new Geom_Circle(circle);
    // The circle runs counter-clockwise: a clockwise arc is the edge from
    // its end to its start, turned round.
    BRepBuilderAPI_MakeEdge edge = end.sweep > 0 ? BRepBuilderAPI_MakeEdge(curve, v1, v2, u1, u2)
                                                 : BRepBuilderAPI_MakeEdge(curve, v2, v1, u2, u1);
    if (!edge.IsDone()) return std::nullopt;
    return end.sweep > 0 ? edge.Edge() : TopoDS::Edge(edge.Edge().Reversed());
  }

  const Path& run_;
  double z_;
  std::unordered_map<std::size_t, TopoDS_Vertex> vertices_;
};

// The run without pieces shorter than the kernel's tolerance, and its
// pieces in order; a closed run's last piece goes back to its first point.
std::vector<Piece> Pieces(Path& run, bool closed) {
  Path kept;
  kept.reserve(run.size());
  for (const Point& p : run)
    if (kept.empty() || !Same(kept.back(), p)) kept.push_back(p);
  if (closed)
    while (kept.size() > 1 && Same(kept.back(), kept.front())) kept.pop_back();
  run = std::move(kept);
  std::vector<Piece> pieces;
  for (std::size_t k = 1; k < run.size(); ++k) pieces.push_back({k - 1, k});
  if (closed && run.size() > 1) pieces.push_back({run.size() - 1, 0});
  return pieces;
}

// An edge of a run and the point of the run where it begins.
struct RunEdge {
  TopoDS_Edge edge;
  std::size_t from = 0;
};

// The edges of the run's pieces (Pieces), grouped into curves, in order;
// an edge also ends at every point marked in cutAt (empty: none).
std::vector<RunEdge> Edges(const Path& run, const std::vector<Piece>& pieces, bool closed, EdgeMaker& maker,
                           const std::vector<char>& cutAt = {}) {
  std::vector<RunEdge> edges;
  const std::size_t n = pieces.size();
  if (n == 0) return edges;
  const auto breaks = [&](const Piece& s, const Piece& t) {
    return Breaks(run, s, t) || (!cutAt.empty() && cutAt[t.from]);
  };
  // A closed run starts at a break, if it has one.
  std::size_t start = 0;
  if (closed)
    for (std::size_t k = 0; k < n; ++k)
      if (breaks(pieces[(k + n - 1) % n], pieces[k])) {
        start = k;
        break;
      }
  std::vector<Piece> ordered;
  ordered.reserve(n);
  for (std::size_t k = 0; k < n; ++k) ordered.push_back(pieces[(start + k) % n]);
  for (std::size_t first = 0; first < n;) {
    std::size_t count = 1;
    while (first + count < n && !breaks(ordered[first + count - 1], ordered[first + count])) ++count;
    if (const std::optional<TopoDS_Edge> edge = maker.Make(ordered, first, count)) {
      edges.push_back({*edge, ordered[first].from});
    } else {
      // A curve the kernel refuses is written as its pieces, one by one.
      for (std::size_t k = first; k < first + count; ++k) {
        const std::optional<TopoDS_Edge> piece = maker.Make(ordered, k, 1);
        if (!piece) return {};
        edges.push_back({*piece, ordered[k].from});
      }
    }
    first += count;
  }
  return edges;
}

// The edges of a run on their own.
std::vector<TopoDS_Edge> Edges(Path run, bool closed, double z) {
  const std::vector<Piece> pieces = Pieces(run, closed);
  EdgeMaker maker(run, z);
  std::vector<TopoDS_Edge> edges;
  for (const RunEdge& e : Edges(run, pieces, closed, maker)) edges.push_back(e.edge);
  return edges;
}

}  // namespace

Path Reversed(const Path& path) {
  Path turned(path.rbegin(), path.rend());
  // The piece that arrived at point k now arrives at point k - 1.
  for (std::size_t k = 0; k + 1 < turned.size(); ++k) {
    const Point& from = path[path.size() - 1 - k];
    Point& p = turned[k + 1];
    p.pen = from.pen;
    p.sweep = -from.sweep;
    p.cx = from.cx, p.cy = from.cy, p.r = from.r;
  }
  // A closed run's first point carries the piece that closes it, which is
  // turned round as well.
  if (!turned.empty()) {
    Point& p = turned.front();
    p.pen = path.front().pen;
    p.sweep = -path.front().sweep;
    p.cx = path.front().cx, p.cy = path.front().cy, p.r = path.front().r;
  }
  return turned;
}

double SignedArea(const Path& loop) {
  double sum = 0;
  for (std::size_t i = 0, j = loop.size() - 1; i < loop.size(); j = i++) {
    sum += loop[j].x * loop[i].y - loop[i].x * loop[j].y;
    // The segment of the circle between an arc and its chord.
    const double b = loop[i].sweep;
    if (b != 0) sum += loop[i].r * loop[i].r * (b - std::sin(b));
  }
  return sum / 2;
}

Path Flattened(const Path& loop) {
  Path flat;
  flat.reserve(loop.size());
  for (std::size_t i = 0; i < loop.size(); ++i) {
    const Point& p = loop[i];
    if (p.sweep != 0) {
      // The arc's points between the previous point and this one.
      const Point& from = loop[(i + loop.size() - 1) % loop.size()];
      const double start = std::atan2(from.y - p.cy, from.x - p.cx);
      const int steps = static_cast<int>(std::ceil(std::fabs(p.sweep) / (Pi / 180)));
      for (int k = 1; k < steps; ++k) {
        const double a = start + p.sweep * k / steps;
        flat.push_back({p.cx + p.r * std::cos(a), p.cy + p.r * std::sin(a), p.pen});
      }
    }
    flat.push_back({p.x, p.y, p.pen});
  }
  return flat;
}

TopoDS_Wire LoopWire(const Path& loop, double z) {
  const std::vector<TopoDS_Edge> edges = Edges(loop, true, z);
  if (edges.empty()) return {};
  BRepBuilderAPI_MakeWire wire;
  for (const TopoDS_Edge& e : edges) wire.Add(e);
  return wire.IsDone() ? wire.Wire() : TopoDS_Wire();
}

namespace {

// The loop as a wire at height z; a null wire when it cannot be made.
TopoDS_Wire HoleWire(const Loop& hole, double z) {
  if (!hole.path.empty()) return LoopWire(hole.path, z);
  const gp_Circ circle(gp_Ax2(gp_Pnt(hole.cx, hole.cy, z), gp::DZ()), hole.r);
  return BRepBuilderAPI_MakeWire(BRepBuilderAPI_MakeEdge(circle).Edge()).Wire();
}

// A circle as the polygon round it (its sides touch it), for the cuts to
// keep clear of.
Path CirclePolygon(const Loop& circle) {
  Path polygon;
  const double out = circle.r / std::cos(Pi / 360);
  for (int degree = 0; degree < 360; ++degree) {
    const double a = degree * Pi / 180;
    polygon.push_back({circle.cx + out * std::cos(a), circle.cy + out * std::sin(a)});
  }
  return polygon;
}

// A point of the loop.
gp_Pnt2d Probe(const Loop& loop) {
  return loop.path.empty() ? gp_Pnt2d(loop.cx + loop.r, loop.cy) : gp_Pnt2d(loop.path[0].x, loop.path[0].y);
}

// The face (material left of the outline's wire) with its holes swept
// from lo to hi.
TopoDS_Shape SweptFace(const TopoDS_Wire& outline, const std::vector<TopoDS_Wire>& holes, double lo, double hi) {
  BRepBuilderAPI_MakeFace material(gp_Pln(gp_Pnt(0, 0, lo), gp::DZ()), outline, Standard_True);
  for (const TopoDS_Wire& hole : holes) {
    if (!material.IsDone()) break;
    material.Add(TopoDS::Wire(hole.Reversed()));
  }
  if (!material.IsDone()) return {};
  return BRepPrimAPI_MakePrism(material.Face(), gp_Vec(0, 0, hi - lo)).Shape();
}

}  // namespace

TopoDS_Shape Slab(const Loop& outer, const std::vector<Loop>& holes, double lo, double hi) {
  std::vector<TopoDS_Wire> holeWires;
  for (const Loop& hole : holes) {
    holeWires.push_back(HoleWire(hole, lo));
    if (holeWires.back().IsNull()) return {};
  }
  if (outer.path.empty()) return SweptFace(HoleWire(outer, lo), holeWires, lo, hi);
  Path run = outer.path;
  const std::vector<Piece> pieces = Pieces(run, true);
  if (pieces.size() < 2) return {};
  // The cuts run from the bore (the first circle among the holes), or
  // from the middle of an outline without one.
  const auto bore = std::find_if(holes.begin(), holes.end(), [](const Loop& h) { return h.path.empty(); });
  const bool ring = bore != holes.end();
  const Point centre = ring ? Point{bore->cx, bore->cy} : Centroid(run);
  const double r = ring ? bore->r : 0;
  std::vector<Path> obstacles;
  for (auto h = holes.begin(); h != holes.end(); ++h)
    if (h != bore) obstacles.push_back(h->path.empty() ? CirclePolygon(*h) : h->path);
  const std::vector<std::size_t> cuts = CapCuts(run, obstacles, centre.x, centre.y, r);
  EdgeMaker maker(run, lo);
  if (cuts.empty()) {
    BRepBuilderAPI_MakeWire wire;
    for (const RunEdge& e : Edges(run, pieces, true, maker)) wire.Add(e.edge);
    if (!wire.IsDone()) return {};
    return SweptFace(wire.Wire(), holeWires, lo, hi);
  }
  // The outline's edges from the first cut on, each sector's in turn.
  std::vector<char> cutAt(run.size(), 0);
  for (const std::size_t k : cuts) cutAt[k] = 1;
  std::vector<RunEdge> edges = Edges(run, pieces, true, maker, cutAt);
  const auto first = std::find_if(edges.begin(), edges.end(), [&](const RunEdge& e) { return e.from == cuts[0]; });
  if (first == edges.end()) return {};
  std::rotate(edges.begin(), first, edges.end());
  // The cuts, from the bore's circle (or the centre) out to the outline,
  // and the bore's arcs between them, counter-clockwise.
  const std::size_t count = cuts.size();
  const gp_Circ circle(gp_Ax2(gp_Pnt(centre.x, centre.y, lo), gp::DZ()), std::max(r, 1.0));
  const Handle(Geom_Circle) boreCurve = new Geom_Circle(circle);
  BRep_Builder builder;
  TopoDS_Vertex middle;
  if (!ring) builder.MakeVertex(middle, gp_Pnt(centre.x, centre.y, lo), Precision::Confusion());
  std::vector<TopoDS_Vertex> inner(count);
  std::vector<TopoDS_Edge> cutEdges(count), arcs(count);
  std::vector<double> angles(count), parameters(count);
  for (std::size_t k = 0; k < count; ++k) {
    const Point& p = run[cuts[k]];
    angles[k] = std::atan2(p.y - centre.y, p.x - centre.x);
    inner[k] = middle;
    if (ring) {
      const gp_Pnt q(centre.x + r * std::cos(angles[k]), centre.y + r * std::sin(angles[k]), lo);
      builder.MakeVertex(inner[k], q, Precision::Confusion());
      parameters[k] = ElCLib::Parameter(circle, q);
    }
    BRepBuilderAPI_MakeEdge cut(inner[k], maker.VertexAt(cuts[k]));
    if (!cut.IsDone()) return {};
    cutEdges[k] = cut.Edge();
  }
  if (ring)
    for (std::size_t k = 0; k < count; ++k) {
      const std::size_t next = (k + 1) % count;
      double u2 = parameters[next];
      while (u2 <= parameters[k]) u2 += 2 * Pi;
      BRepBuilderAPI_MakeEdge arc(boreCurve, inner[k], inner[next], parameters[k], u2);
      if (!arc.IsDone()) return {};
      arcs[k] = arc.Edge();
    }
  // Each sector: its piece of the outline, the next cut in, the bore back
  // (or the centre), the cut out again.
  std::vector<TopoDS_Wire> wires(count);
  std::size_t at = 0;
  for (std::size_t k = 0; k < count; ++k) {
    const std::size_t next = (k + 1) % count;
    builder.MakeWire(wires[k]);
    for (; at < edges.size() && (k + 1 == count || edges[at].from != cuts[next]); ++at)
      builder.Add(wires[k], edges[at].edge);
    builder.Add(wires[k], cutEdges[next].Reversed());
    if (ring) builder.Add(wires[k], arcs[k].Reversed());
    builder.Add(wires[k], cutEdges[k]);
    wires[k].Closed(Standard_True);
  }
  // The other holes, each in the sector whose span of directions holds it.
  std::vector<std::vector<TopoDS_Wire>> sectorHoles(count);
  const auto turn = [&](double a) { return std::remainder(a - angles[0] - Pi, 2 * Pi) + Pi; };
  for (std::size_t h = 0; h < holes.size(); ++h) {
    if (ring && h == static_cast<std::size_t>(bore - holes.begin())) continue;
    const gp_Pnt2d p = Probe(holes[h]);
    const double t = turn(std::atan2(p.Y() - centre.y, p.X() - centre.x));
    std::size_t k = 0;
    while (k + 1 < count && turn(angles[k + 1]) <= t) ++k;
    sectorHoles[k].push_back(holeWires[h]);
  }
  // The sides: each boundary swept on its own (the outline, the bore's
  // arcs, each other hole), a shell of side faces whose bottom edges are
  // those of the caps. (The whole material swept at once took the kernel a
  // time that grew with the square of the edges.)
  struct Sweep {
    TopoDS_Wire wire;
    bool hole = false;
    std::unique_ptr<BRepPrimAPI_MakePrism> prism;
  };
  std::vector<Sweep> sweeps;
  {
    Sweep outline;
    builder.MakeWire(outline.wire);
    for (const RunEdge& e : edges) builder.Add(outline.wire, e.edge);
    outline.wire.Closed(Standard_True);
    sweeps.push_back(std::move(outline));
  }
  if (ring) {
    Sweep boreSweep;
    boreSweep.hole = true;
    builder.MakeWire(boreSweep.wire);
    for (const TopoDS_Edge& arc : arcs) builder.Add(boreSweep.wire, arc);
    boreSweep.wire.Closed(Standard_True);
    sweeps.push_back(std::move(boreSweep));
  }
  for (std::size_t h = 0; h < holes.size(); ++h)
    if (!ring || h != static_cast<std::size_t>(bore - holes.begin())) {
      Sweep hole;
      hole.hole = true;
      hole.wire = holeWires[h];
      sweeps.push_back(std::move(hole));
    }
  const gp_Vec rise(0, 0, hi - lo);
  TopTools_DataMapOfShapeShape topOf;  // bottom edge or vertex -> the same at the top
  TopoDS_Shell shell;
  builder.MakeShell(shell);
  for (Sweep& sweep : sweeps) {
    sweep.prism = std::make_unique<BRepPrimAPI_MakePrism>(sweep.wire, rise);
    if (!sweep.prism->IsDone()) return {};
    for (TopExp_Explorer e(sweep.wire, TopAbs_EDGE); e.More(); e.Next())
      topOf.Bind(e.Current(), sweep.prism->LastShape(e.Current().Oriented(TopAbs_FORWARD)));
    if (sweep.hole) topOf.Bind(sweep.wire, sweep.prism->LastShape(sweep.wire.Oriented(TopAbs_FORWARD)));
    for (TopExp_Explorer v(sweep.wire, TopAbs_VERTEX); v.More(); v.Next())
      topOf.Bind(v.Current(), sweep.prism->LastShape(v.Current().Oriented(TopAbs_FORWARD)));
    // Its faces face the way the first one does: out of the material
    // (right of the outline as it runs, left of a hole's) or all turned.
    TopoDS_Iterator first(sweep.wire);
    const TopoDS_Edge edge = TopoDS::Edge(first.Value());
    const TopTools_ListOfShape& made = sweep.prism->Generated(edge);
    if (made.IsEmpty()) return {};
    const TopoDS_Face side = TopoDS::Face(made.First());
    BRepAdaptor_Curve curve(edge);
    const double t = (curve.FirstParameter() + curve.LastParameter()) / 2;
    gp_Pnt at;
    gp_Vec along;
    curve.D1(t, at, along);
    if (edge.Orientation() == TopAbs_REVERSED) along.Reverse();
    gp_Vec out(along.Y(), -along.X(), 0);
    if (sweep.hole) out.Reverse();
    double u1, u2, v1, v2;
    BRepTools::UVBounds(side, u1, u2, v1, v2);
    BRepAdaptor_Surface surface(side);
    gp_Pnt p;
    gp_Vec du, dv;
    surface.D1((u1 + u2) / 2, (v1 + v2) / 2, p, du, dv);
    gp_Vec normal = du.Crossed(dv);
    if (side.Orientation() == TopAbs_REVERSED) normal.Reverse();
    const bool turned = normal.Dot(out) < 0;
    for (TopExp_Explorer f(sweep.prism->Shape(), TopAbs_FACE); f.More(); f.Next())
      builder.Add(shell, turned ? f.Current().Reversed() : f.Current());
  }
  const auto top = [&](const TopoDS_Shape& s) { return topOf.Find(s).Oriented(s.Orientation()); };
  // The cuts at the top, between the tops of their ends.
  TopoDS_Vertex middleTop;
  if (!ring) builder.MakeVertex(middleTop, gp_Pnt(centre.x, centre.y, hi), Precision::Confusion());
  std::vector<TopoDS_Edge> topCuts(count);
  for (std::size_t k = 0; k < count; ++k) {
    const TopoDS_Vertex from = ring ? TopoDS::Vertex(top(inner[k])) : middleTop;
    BRepBuilderAPI_MakeEdge cut(from, TopoDS::Vertex(top(maker.VertexAt(cuts[k]))));
    if (!cut.IsDone()) return {};
    topCuts[k] = cut.Edge();
  }
  // The caps: each sector at the bottom (facing down) and at the top.
  const gp_Pln bottomPlane(gp_Pnt(0, 0, lo), gp::DZ()), topPlane(gp_Pnt(0, 0, hi), gp::DZ());
  for (std::size_t k = 0; k < count; ++k) {
    const std::size_t next = (k + 1) % count;
    TopoDS_Wire upper;
    builder.MakeWire(upper);
    for (TopoDS_Iterator e(wires[k]); e.More(); e.Next()) {
      const TopoDS_Shape& edge = e.Value();
      if (edge.IsSame(cutEdges[k]))
        builder.Add(upper, topCuts[k].Oriented(edge.Orientation()));
      else if (edge.IsSame(cutEdges[next]))
        builder.Add(upper, topCuts[next].Oriented(edge.Orientation()));
      else
        builder.Add(upper, top(edge));
    }
    upper.Closed(Standard_True);
    BRepBuilderAPI_MakeFace lower(bottomPlane, wires[k], Standard_True);
    BRepBuilderAPI_MakeFace higher(topPlane, upper, Standard_True);
    for (const TopoDS_Wire& hole : sectorHoles[k]) {
      if (lower.IsDone()) lower.Add(TopoDS::Wire(hole.Reversed()));
      if (higher.IsDone()) higher.Add(TopoDS::Wire(top(hole).Reversed()));
    }
    if (!lower.IsDone() || !higher.IsDone()) return {};
    builder.Add(shell, lower.Face().Reversed());
    builder.Add(shell, higher.Face());
  }
  shell.Closed(Standard_True);
  TopoDS_Solid solid;
  builder.MakeSolid(solid);
  builder.Add(solid, shell);
  return solid;
}

TopoDS_Shape PathShape(const Path& path, double z) {
  if (path.size() < 2) return {};
  // A run that ends where it began (within the kernel's tolerance, where
  // its two ends would be one vertex) is closed.
  const bool closed = path.size() > 2 && Same(path.front(), path.back());
  Path run = path;
  if (closed) {
    run.front().pen = run.back().pen;
    run.front().sweep = run.back().sweep;
    run.front().cx = run.back().cx, run.front().cy = run.back().cy, run.front().r = run.back().r;
    run.pop_back();
  }
  const std::vector<TopoDS_Edge> edges = Edges(run, closed, z);
  if (edges.empty()) return {};
  BRepBuilderAPI_MakeWire wire;
  for (const TopoDS_Edge& e : edges) wire.Add(e);
  if (wire.IsDone()) return wire.Wire();
  BRep_Builder builder;
  TopoDS_Compound loose;
  builder.MakeCompound(loose);
  for (const TopoDS_Edge& e : edges) builder.Add(loose, e);
  return loose;
}

}  // namespace drawing::step
