// The curves of the STEP device's outlines; see step_geometry.h.
#include "drawing/cad/step_geometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <unordered_map>

#include "drawing/cad/step_cap_sectors.h"
#include "drawing/cad/step_smooth_runs.h"

namespace drawing::step {

namespace {

constexpr double Pi = std::numbers::pi;

// Lines that go on in one direction (within this sine of the angle between
// them) are one line.
constexpr double StraightSine = 1e-9;

// A turn of this much or more is a corner, where an edge ends.
const double CornerCosine = std::cos(SmoothTurnDegrees * Pi / 180);
// A turn of less than this joins two smooth stretches tangentially.
const double KinkCosine = std::cos(KinkTurnDegrees * Pi / 180);

// Points closer than a reader's tolerance (the file's uncertainty) are one
// vertex.
constexpr double SamePoint = 1e-7;

bool Same(const Point& a, const Point& b) { return std::hypot(a.x - b.x, a.y - b.y) <= SamePoint; }

// A piece from point `from` to point `to` of the run (to carries it).
struct Piece {
  std::size_t from = 0, to = 0;
};

// Whether the lines s and t go on in one direction.
bool Straight(const Path& run, const Piece& s, const Piece& t) {
  const double ux = run[s.to].x - run[s.from].x, uy = run[s.to].y - run[s.from].y;
  const double vx = run[t.to].x - run[t.from].x, vy = run[t.to].y - run[t.from].y;
  const double lengths = std::hypot(ux, uy) * std::hypot(vx, vy);
  return lengths > 0 && ux * vx + uy * vy > 0 && std::fabs(ux * vy - uy * vx) <= StraightSine * lengths;
}

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

// An edge of a run and the point of the run where it begins.
struct RunEdge {
  Use use;
  std::size_t from = 0;
};

// The edges of a run in a sketch, sharing one vertex where two of them
// meet.
class EdgeMaker {
 public:
  EdgeMaker(const Path& run, Sketch& sketch, const SmoothLimits& limits = {})
      : run_(run), sketch_(sketch), limits_(limits) {}

  // The edges of the pieces first .. first + count - 1 of `pieces`
  // (consecutive in the run), all lines of one pen or one arc, as the run
  // walks them, added to `edges`; `before` and `after` are the pieces
  // beside them (none: the run's end).
  void Make(const std::vector<Piece>& pieces, std::size_t first, std::size_t count, const Piece* before,
            const Piece* after, std::vector<RunEdge>& edges) {
    const Point& end = run_[pieces[first].to];
    const std::size_t v1 = VertexAt(pieces[first].from);
    const std::size_t v2 = VertexAt(pieces[first + count - 1].to);
    if (end.sweep != 0) {
      // The arc of the piece's circle between the two vertices (which end
      // the lines beside it and may lie off the circle by as much as the
      // ends that were joined there). Arcs run counter-clockwise: a
      // clockwise one is walked from its end to its start.
      Edge arc = Edge::Arc(v1, v2, end.cx, end.cy, end.r);
      if (end.sweep < 0) std::swap(arc.from, arc.to);
      edges.push_back({{sketch_.AddEdge(arc), end.sweep > 0}, pieces[first].from});
      return;
    }
    bool straight = true;
    for (std::size_t k = first + 1; k < first + count && straight; ++k)
      straight = Straight(run_, pieces[k - 1], pieces[k]);
    if (straight) {
      edges.push_back({{sketch_.AddEdge(Edge::Line(v1, v2)), true}, pieces[first].from});
      return;
    }
    // A smooth stretch: the curves along its lines, tangent to the lines
    // beside it where it goes on smoothly from them.
    std::vector<std::size_t> at{pieces[first].from};
    std::vector<double> points{run_[at[0]].x, run_[at[0]].y};
    for (std::size_t k = first; k < first + count; ++k) {
      at.push_back(pieces[k].to);
      points.push_back(run_[pieces[k].to].x);
      points.push_back(run_[pieces[k].to].y);
    }
    const auto through = [&](const Piece* other, const Piece& own, bool atStart) -> std::array<double, 2> {
      // (A piece is an arc when the point it arrives at carries one.)
      if (other == nullptr || run_[atStart ? own.from : other->to].sweep != 0) return {0, 0};
      const Piece& in = atStart ? *other : own;
      const Piece& out = atStart ? own : *other;
      const double ux = run_[in.to].x - run_[in.from].x, uy = run_[in.to].y - run_[in.from].y;
      const double vx = run_[out.to].x - run_[out.from].x, vy = run_[out.to].y - run_[out.from].y;
      const double lu = std::hypot(ux, uy), lv = std::hypot(vx, vy);
      if (!(lu > 0 && lv > 0) || ux * vx + uy * vy < KinkCosine * lu * lv) return {0, 0};
      const double tx = ux / lu + vx / lv, ty = uy / lu + vy / lv, lt = std::hypot(tx, ty);
      return {tx / lt, ty / lt};
    };
    const std::array<double, 2> start = through(before, pieces[first], true);
    const std::array<double, 2> finish = through(after, pieces[first + count - 1], false);
    for (const SmoothPiece& piece : SmoothPieces(points, start, finish, limits_)) {
      Edge edge = Edge::Line(VertexAt(at[piece.first]), VertexAt(at[piece.last]));
      edge.poles = piece.poles;
      edges.push_back({{sketch_.AddEdge(edge), true}, at[piece.first]});
    }
  }

  // The vertex at point `index` of the run, one for every edge that ends
  // there.
  std::size_t VertexAt(std::size_t index) {
    const auto found = vertices_.find(index);
    if (found != vertices_.end()) return found->second;
    const std::size_t v = sketch_.AddVertex(run_[index].x, run_[index].y);
    vertices_.emplace(index, v);
    return v;
  }

 private:
  const Path& run_;
  Sketch& sketch_;
  SmoothLimits limits_;
  std::unordered_map<std::size_t, std::size_t> vertices_;
};

// The run without pieces shorter than a reader's tolerance, its short sides
// merged where it runs on smoothly (MergeShortSides), and its pieces in
// order; a closed run's last piece goes back to its first point.
std::vector<Piece> Pieces(Path& run, bool closed, const SmoothLimits& limits = {}) {
  Path kept;
  kept.reserve(run.size());
  for (const Point& p : run)
    if (kept.empty() || !Same(kept.back(), p)) kept.push_back(p);
  if (closed)
    while (kept.size() > 1 && Same(kept.back(), kept.front())) kept.pop_back();
  run = MergeShortSides(kept, closed, limits);
  std::vector<Piece> pieces;
  for (std::size_t k = 1; k < run.size(); ++k) pieces.push_back({k - 1, k});
  if (closed && run.size() > 1) pieces.push_back({run.size() - 1, 0});
  return pieces;
}

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
    // The pieces beside the edges (a closed run's go round).
    const Piece* before = first > 0 ? &ordered[first - 1] : closed ? &ordered[n - 1] : nullptr;
    const Piece* after = first + count < n ? &ordered[first + count] : closed ? &ordered[0] : nullptr;
    maker.Make(ordered, first, count, before, after, edges);
    first += count;
  }
  return edges;
}

// The ring walked the other way round.
Ring Turned(Ring ring) {
  std::reverse(ring.begin(), ring.end());
  for (Use& u : ring) u.forward = !u.forward;
  return ring;
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

namespace {

// The loop as a ring of the sketch, counter-clockwise (a whole circle one
// edge from and to its point at angle 0); empty when it has no two pieces.
Ring LoopRing(const Loop& loop, Sketch& sketch, const SmoothLimits& limits) {
  if (loop.path.empty()) {
    const std::size_t v = sketch.AddVertex(loop.cx + loop.r, loop.cy);
    return {{sketch.AddEdge(Edge::Arc(v, v, loop.cx, loop.cy, loop.r)), true}};
  }
  Path run = loop.path;
  const std::vector<Piece> pieces = Pieces(run, true, limits);
  if (pieces.size() < 2) return {};
  EdgeMaker maker(run, sketch, limits);
  Ring ring;
  for (const RunEdge& e : Edges(run, pieces, true, maker)) ring.push_back(e.use);
  return ring;
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
Point Probe(const Loop& loop) { return loop.path.empty() ? Point{loop.cx + loop.r, loop.cy} : loop.path[0]; }

}  // namespace

bool MakeSlab(const Loop& outer, const std::vector<Loop>& holes, double lo, double hi, Slab& slab,
              const Point* axis) {
  return MakeSlab(outer, holes, lo, hi, slab, axis, SmoothLimits{});
}

bool MakeSlab(const Loop& outer, const std::vector<Loop>& holes, double lo, double hi, Slab& slab,
              const Point* axis, const SmoothLimits& limits) {
  slab = Slab{};
  slab.lo = lo;
  slab.hi = hi;
  Sketch& sketch = slab.sketch;
  // The cuts run from the bore (the first circle among the holes), or
  // from the axis of an outline without one (else from its middle).
  const auto bore = std::find_if(holes.begin(), holes.end(), [](const Loop& h) { return h.path.empty(); });
  const bool ring = bore != holes.end();
  const std::size_t boreIndex = static_cast<std::size_t>(bore - holes.begin());
  Path run = outer.path;
  const std::vector<Piece> pieces = Pieces(run, true, limits);
  std::vector<std::size_t> cuts;
  Point centre;
  if (!outer.path.empty()) {
    if (pieces.size() < 2) return false;
    std::vector<Path> obstacles;
    for (auto h = holes.begin(); h != holes.end(); ++h)
      if (h != bore) obstacles.push_back(h->path.empty() ? CirclePolygon(*h) : h->path);
    centre = ring ? Point{bore->cx, bore->cy}
             : axis != nullptr && InsideMaterial(run, obstacles, *axis) ? *axis
                                                                        : Centroid(run);
    cuts = CapCuts(run, obstacles, centre.x, centre.y, ring ? bore->r : 0);
  }
  // The holes, each walked clockwise.
  std::vector<Ring> holeRings;
  for (std::size_t h = 0; h < holes.size(); ++h) {
    // A bore the caps are cut from is made of the arcs between the cuts.
    if (!cuts.empty() && ring && h == boreIndex) {
      holeRings.emplace_back();
      continue;
    }
    const Ring hole = LoopRing(holes[h], sketch, limits);
    if (hole.empty()) return false;
    holeRings.push_back(Turned(hole));
  }
  if (cuts.empty()) {
    // One face at each height, the outline's with its holes.
    const Ring outline = LoopRing(outer, sketch, limits);
    if (outline.empty()) return false;
    slab.boundaries.push_back(outline);
    slab.boundaries.insert(slab.boundaries.end(), holeRings.begin(), holeRings.end());
    slab.caps.push_back(slab.boundaries);
    return true;
  }
  // The outline's edges from the first cut on, each sector's in turn.
  EdgeMaker maker(run, sketch, limits);
  std::vector<char> cutAt(run.size(), 0);
  for (const std::size_t k : cuts) cutAt[k] = 1;
  std::vector<RunEdge> edges = Edges(run, pieces, true, maker, cutAt);
  const auto first = std::find_if(edges.begin(), edges.end(), [&](const RunEdge& e) { return e.from == cuts[0]; });
  if (first == edges.end()) return false;
  std::rotate(edges.begin(), first, edges.end());
  // The cuts, from the bore's circle (or the centre) out to the outline,
  // and the bore's arcs between them, counter-clockwise.
  const std::size_t count = cuts.size();
  const double r = ring ? bore->r : 0;
  const std::size_t middle = ring ? 0 : sketch.AddVertex(centre.x, centre.y);
  std::vector<std::size_t> inner(count, middle), cutEdges(count), arcs(count);
  std::vector<double> angles(count);
  for (std::size_t k = 0; k < count; ++k) {
    const Point& p = run[cuts[k]];
    angles[k] = std::atan2(p.y - centre.y, p.x - centre.x);
    if (ring) inner[k] = sketch.AddVertex(centre.x + r * std::cos(angles[k]), centre.y + r * std::sin(angles[k]));
    cutEdges[k] = sketch.AddEdge(Edge::Line(inner[k], maker.VertexAt(cuts[k])));
  }
  if (ring)
    for (std::size_t k = 0; k < count; ++k)
      arcs[k] = sketch.AddEdge(Edge::Arc(inner[k], inner[(k + 1) % count], centre.x, centre.y, r));
  // The other holes, each in the sector whose span of directions holds it.
  std::vector<std::vector<Ring>> sectorHoles(count);
  const auto turn = [&](double a) { return std::remainder(a - angles[0] - Pi, 2 * Pi) + Pi; };
  for (std::size_t h = 0; h < holes.size(); ++h) {
    if (ring && h == boreIndex) continue;
    const Point p = Probe(holes[h]);
    const double t = turn(std::atan2(p.y - centre.y, p.x - centre.x));
    std::size_t k = 0;
    while (k + 1 < count && turn(angles[k + 1]) <= t) ++k;
    sectorHoles[k].push_back(holeRings[h]);
  }
  // Each sector: its piece of the outline, the next cut in, the bore back
  // (or the centre), the cut out again.
  std::size_t at = 0;
  for (std::size_t k = 0; k < count; ++k) {
    const std::size_t next = (k + 1) % count;
    Ring sector;
    for (; at < edges.size() && (k + 1 == count || edges[at].from != cuts[next]); ++at) sector.push_back(edges[at].use);
    sector.push_back({cutEdges[next], false});
    if (ring) sector.push_back({arcs[k], false});
    sector.push_back({cutEdges[k], true});
    std::vector<Ring> face{sector};
    face.insert(face.end(), sectorHoles[k].begin(), sectorHoles[k].end());
    slab.caps.push_back(std::move(face));
  }
  // The sides: the outline, the bore's arcs (clockwise), each other hole.
  Ring outline;
  for (const RunEdge& e : edges) outline.push_back(e.use);
  slab.boundaries.push_back(std::move(outline));
  if (ring) {
    Ring boreRing;
    for (std::size_t k = count; k-- > 0;) boreRing.push_back({arcs[k], false});
    slab.boundaries.push_back(std::move(boreRing));
  }
  for (std::size_t h = 0; h < holes.size(); ++h)
    if (!ring || h != boreIndex) slab.boundaries.push_back(holeRings[h]);
  return true;
}

void AddPathEdges(const Path& path, Sketch& sketch) {
  if (path.size() < 2) return;
  // A run that ends where it began (within a reader's tolerance, where its
  // two ends would be one vertex) is closed.
  const bool closed = path.size() > 2 && Same(path.front(), path.back());
  Path run = path;
  if (closed) {
    run.front().pen = run.back().pen;
    run.front().sweep = run.back().sweep;
    run.front().cx = run.back().cx, run.front().cy = run.back().cy, run.front().r = run.back().r;
    run.pop_back();
  }
  const std::vector<Piece> pieces = Pieces(run, closed);
  EdgeMaker maker(run, sketch);
  Edges(run, pieces, closed, maker);
}

}  // namespace drawing::step
