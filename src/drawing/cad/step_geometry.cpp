// The curves of the STEP device's outlines; see step_geometry.h.
#include "drawing/cad/step_geometry.h"

#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRep_Builder.hxx>
#include <BRepPrimAPI_MakePrism.hxx>
#include <BRep_Tool.hxx>
#include <ElCLib.hxx>
#include <Geom_BSplineCurve.hxx>
#include <Geom_Circle.hxx>
#include <Precision.hxx>
#include <ShapeCustom.hxx>
#include <Standard_Failure.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColgp_Array1OfPnt.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Vertex.hxx>
#include <gp_Circ.hxx>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <unordered_map>

namespace drawing::step {

namespace {

constexpr double Pi = std::numbers::pi;

// Two lines that turn by more than this at their common point meet at a
// corner of the part, which stays an edge of the model; a flank turns by a
// few degrees from one of its points to the next.
const double CornerCosine = std::cos(20 * Pi / 180);

// Points closer than the kernel's tolerance are one vertex (as its polygon
// builder takes them).
bool Same(const Point& a, const Point& b) { return std::hypot(a.x - b.x, a.y - b.y) <= Precision::Confusion(); }

// A piece from point `from` to point `to` of the run (to carries it).
struct Piece {
  std::size_t from = 0, to = 0;
};

// Whether the run changes from piece s to piece t at their common point:
// an arc is an edge of its own, a new pen or a corner begins a new edge.
bool Breaks(const Path& run, const Piece& s, const Piece& t) {
  const Point& a = run[s.to];
  const Point& b = run[t.to];
  if (a.sweep != 0 || b.sweep != 0 || a.pen != b.pen) return true;
  const double ux = a.x - run[s.from].x, uy = a.y - run[s.from].y;
  const double vx = b.x - run[t.from].x, vy = b.y - run[t.from].y;
  const double lengths = std::hypot(ux, uy) * std::hypot(vx, vy);
  return !(lengths > 0) || ux * vx + uy * vy < CornerCosine * lengths;
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
    if (count == 1) {
      BRepBuilderAPI_MakeEdge edge(v1, v2);
      if (!edge.IsDone()) return std::nullopt;
      return edge.Edge();
    }
    // Degree 1, its knots at the points' distances along the run: the
    // lines themselves.
    const int poles = static_cast<int>(count) + 1;
    TColgp_Array1OfPnt points(1, poles);
    TColStd_Array1OfReal knots(1, poles);
    TColStd_Array1OfInteger multiplicities(1, poles);
    double along = 0;
    for (int i = 0; i < poles; ++i) {
      const Point& p = run_[i == 0 ? pieces[first].from : pieces[first + i - 1].to];
      if (i > 0) {
        const Point& q = run_[pieces[first + i - 1].from];
        along += std::hypot(p.x - q.x, p.y - q.y);
      }
      points.SetValue(i + 1, gp_Pnt(p.x, p.y, z_));
      knots.SetValue(i + 1, along);
      multiplicities.SetValue(i + 1, i == 0 || i == poles - 1 ? 2 : 1);
    }
    try {
      const Handle(Geom_BSplineCurve) curve = new Geom_BSplineCurve(points, knots, multiplicities, 1);
      BRepBuilderAPI_MakeEdge edge(curve, v1, v2, 0, along);
      if (!edge.IsDone()) return std::nullopt;
      return edge.Edge();
    } catch (const Standard_Failure&) {
      return std::nullopt;
    }
  }

 private:
  TopoDS_Vertex VertexAt(std::size_t index) {
    const auto found = vertices_.find(index);
    if (found != vertices_.end()) return found->second;
    TopoDS_Vertex v;
    BRep_Builder().MakeVertex(v, gp_Pnt(run_[index].x, run_[index].y, z_), Precision::Confusion());
    vertices_.emplace(index, v);
    return v;
  }

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

// The edges of the run's pieces, grouped into curves, in order.
std::vector<TopoDS_Edge> Edges(Path run, bool closed, double z) {
  std::vector<TopoDS_Edge> edges;
  const std::vector<Piece> pieces = Pieces(run, closed);
  const std::size_t n = pieces.size();
  if (n == 0) return edges;
  // A closed run starts at a break, if it has one.
  std::size_t start = 0;
  if (closed)
    for (std::size_t k = 0; k < n; ++k)
      if (Breaks(run, pieces[(k + n - 1) % n], pieces[k])) {
        start = k;
        break;
      }
  std::vector<Piece> ordered;
  ordered.reserve(n);
  for (std::size_t k = 0; k < n; ++k) ordered.push_back(pieces[(start + k) % n]);
  EdgeMaker maker(run, z);
  for (std::size_t first = 0; first < n;) {
    std::size_t count = 1;
    while (first + count < n && !Breaks(run, ordered[first + count - 1], ordered[first + count])) ++count;
    if (const std::optional<TopoDS_Edge> edge = maker.Make(ordered, first, count)) {
      edges.push_back(*edge);
    } else {
      // A curve the kernel refuses is written as its pieces, one by one.
      for (std::size_t k = first; k < first + count; ++k) {
        const std::optional<TopoDS_Edge> piece = maker.Make(ordered, k, 1);
        if (!piece) return {};
        edges.push_back(*piece);
      }
    }
    first += count;
  }
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

TopoDS_Shape Extrude(const TopoDS_Face& face, double height) {
  const TopoDS_Shape prism = BRepPrimAPI_MakePrism(face, gp_Vec(0, 0, height)).Shape();
  // Only the swept B-splines change: planes, cylinders and the edges stay.
  return ShapeCustom::ConvertToBSpline(prism, Standard_True, Standard_False, Standard_False, Standard_False);
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
