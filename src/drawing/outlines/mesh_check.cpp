// The meshing check of the two tooth outlines; see mesh_check.h.
//
// Each outline is indexed by a tree of boxes over its runs of consecutive
// edges (each box along the chord of its run, a node's two halves parted
// where a flank or a land ends, leaves of a dozen edges). At a position,
// only the teeth within TeethEachSide pitches of the pitch point are
// looked at first: the leaves of the nodes of about a tooth that meet a
// disc about it, each measured along the tangent there and across it,
// paired where those measures overlap and their boxes do not lie apart.
// Within a leaf pair, only the edges that reach into the other leaf's
// strip (flanks that roll on each other lie close along their length, but
// cross at a point or not at all), and that overlap along it, are tested
// for a crossing.
//
// The common area of two simple counter-clockwise polygons is the integral
// of x dy round its boundary, which consists of the runs of each outline
// that lie inside the other: from a crossing where it enters the other to
// the next crossing along it, where it leaves again. Along a run of whole
// edges the integral is a difference of prefix sums kept with the outline,
// moved rigidly (the shoelace sum of a run turned and shifted is its own
// plus the shift crossed with its turned chord), so that the area costs
// the crossings, sorted along either outline, and not the edges between
// them. Where a run inside the other outline leaves the disc, or where the
// area about the pitch point exceeds what the caller asks about (teeth
// that collide there may collide farther out too, at a curve's corners),
// the crossings beyond the disc are looked for down the two trees (from
// the larger outline's nodes of about the other's size near it), passing
// over the pairs of nodes whose leaves were all looked at, and the area is
// that of all of them. Where no edges cross at all, one outline lies wholly
// inside the other or they lie apart: whether a vertex lies inside is
// decided by counting the edges that a ray from it away from the other's
// centre crosses, found down the tree.
//
// Outlines that touch exactly are decided as if gear 2's were moved by an
// immeasurably small step (see LeftOfOne below): every crossing is then a
// crossing of two outlines in general position, and the area is the limit
// of theirs, what lies inside both. Outlines that touch within the
// rounding of their coordinates (TouchFraction) are taken to touch
// exactly: there the signs of the tests would be rounding's, each test its
// own, and a crossing found where its neighbour is not leaves a run round
// a whole outline. All of it is in double precision: the areas that
// matter are hundredths of a square millimetre and more.
#include "drawing/outlines/mesh_check.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>


namespace drawing {

namespace {

// Edges to a leaf of the tree of boxes: a few to a flank.
constexpr int LeafEdges = 12;
// Teeth of a pair that meshes touch within a pitch or so of the line of
// centres (the contact ratio is rarely above two); those of a pair that
// interferes, a tooth farther. (Where a curve has corners, teeth farther
// out collide too: the whole outlines are looked at where the overlap is
// the largest the caller has seen.)
constexpr double TeethEachSide = 3;
// Points of the two outlines closer than this fraction of the pair's size
// (the centre distance and the outlines' reach) touch exactly, as does a
// point that near the other's edge. The turns that place the outlines
// round their coordinates by about 1e-16 of that size, and the side of a
// point that near a line is rounding's; the area such a step can move is a
// ten-billionth of the outlines', far below any that counts.
constexpr double TouchFraction = 1e-12;

struct Point {
  double x, y;
};

double Cross(const Point& a, const Point& b) { return a.x * b.y - a.y * b.x; }

// The square of the smallest distance of the segment from p to q from the
// point o.
double SquaredDistanceFrom(const Point& p, const Point& q, const Point& o) {
  const double dx = q.x - p.x, dy = q.y - p.y;
  const double ox = p.x - o.x, oy = p.y - o.y;
  const double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? -(ox * dx + oy * dy) / len2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  const double ex = ox + t * dx, ey = oy + t * dy;
  return ex * ex + ey * ey;
}

// Outlines that touch exactly (a corner on the other's side or corner,
// sides along each other) are decided as if gear 2's outline were moved by
// an amount too small to measure, (e, e * e) for an e that tends to 0:
// every point of one outline then lies on one side of every line of the
// other, the same side for every test that asks, and the crossings are
// those of two outlines in general position, entering and leaving the
// other by turns. A crossing at a point where several meet (a shared
// corner) lies along either edge at a place that moves with e; their order
// there is that of the places for the small e.
//
// The side of a point of gear 2 (moved) against gear 1's line along d:
// the sign of its cross product, and for a point on the line that of the
// move's, -d.y e + d.x e^2.
bool LeftOfOne(double o, const Point& d) { return o != 0 ? o > 0 : d.y != 0 ? d.y < 0 : d.x > 0; }
// The side of a point of gear 1 against gear 2's (moved) line along g: on
// the line, the sign of g.y e - g.x e^2.
bool LeftOfTwo(double o, const Point& g) { return o != 0 ? o > 0 : g.y != 0 ? g.y > 0 : g.x < 0; }

// A place along an edge for the small move e: at + e * first + e^2 * second.
struct Place {
  double at = 0, first = 0, second = 0;
  friend bool operator<(const Place& a, const Place& b) {
    if (a.at != b.at) return a.at < b.at;
    if (a.first != b.first) return a.first < b.first;
    return a.second < b.second;
  }
};

// Whether a and b lie within touch of each other (along x and along y).
bool Touch(const Point& a, const Point& b, double touch) {
  return std::fabs(a.x - b.x) <= touch && std::fabs(a.y - b.y) <= touch;
}

// The cross product o of an edge along e with a point, 0 where the point
// lies within touch of the edge's line: it lies on it.
double OffLine(double o, const Point& e, double touch) {
  return o * o <= touch * touch * (e.x * e.x + e.y * e.y) ? 0 : o;
}

// Where the edge from p to q (of gear 1) crosses the edge from u to w (of
// gear 2): t along the first, s along the second, and whether the first
// enters the other outline there (q lies to the left of u to w, the
// inside of a counter-clockwise outline). Where a vertex lies on the other
// edge, its place at e = 0 is measured from the vertex itself, so that
// both edges at the vertex find the same one. Points within touch of each
// other, or of the other's line, lie on it: a vertex of gear 1 that near
// one of gear 2 is that vertex (each test of the edges at the two decides
// alike, and the step of gear 2 decides them all).
bool Crossing(Point p, Point q, const Point& u, const Point& w, double touch, Place& t, Place& s, bool& enters) {
  Point d{q.x - p.x, q.y - p.y};
  double o1 = Cross(d, {u.x - p.x, u.y - p.y}), o2 = Cross(d, {w.x - p.x, w.y - p.y});
  // Most pairs: u and w on one side of the first edge's line and farther
  // from it than two touches, which no vertex within touch of p or q is.
  const double far = 4 * touch * touch * (d.x * d.x + d.y * d.y);
  if ((o1 > 0) == (o2 > 0) && o1 * o1 > far && o2 * o2 > far) return false;
  for (Point* a : {&p, &q}) {
    if (Touch(*a, u, touch)) *a = u;
    else if (Touch(*a, w, touch)) *a = w;
  }
  d = {q.x - p.x, q.y - p.y};
  const Point g{w.x - u.x, w.y - u.y};
  o1 = OffLine(Cross(d, {u.x - p.x, u.y - p.y}), d, touch);
  o2 = OffLine(Cross(d, {w.x - p.x, w.y - p.y}), d, touch);
  if (LeftOfOne(o1, d) == LeftOfOne(o2, d)) return false;
  const double o3 = OffLine(Cross(g, {p.x - u.x, p.y - u.y}), g, touch);
  const double o4 = OffLine(Cross(g, {q.x - u.x, q.y - u.y}), g, touch);
  if (LeftOfTwo(o3, g) == LeftOfTwo(o4, g)) return false;
  // Along the first edge the crossing is at (o3 + g.y e - g.x e^2) / (o3 -
  // o4), along the second at (o1 - d.y e + d.x e^2) / (o1 - o2).
  const double across = o3 - o4, along = o1 - o2;
  t = {o3 / across, g.y / across, -g.x / across};
  s = {o1 / along, -d.y / along, d.x / along};
  auto from = [](const Point& o, const Point& start, const Point& dir) {
    return std::clamp(((o.x - start.x) * dir.x + (o.y - start.y) * dir.y) / (dir.x * dir.x + dir.y * dir.y), 0.0, 1.0);
  };
  if (o1 == 0) t.at = from(u, p, d);
  if (o2 == 0) t.at = from(w, p, d);
  if (o3 == 0) t.at = 0, s.at = from(p, u, g);
  if (o4 == 0) t.at = 1, s.at = from(q, u, g);
  if (o1 == 0) s.at = 0;
  if (o2 == 0) s.at = 1;
  enters = LeftOfTwo(o4, g);
  return true;
}

// A rigid motion: turned by an angle, then shifted.
struct Motion {
  double c = 1, s = 0, tx = 0, ty = 0;
  Point operator()(const Point& p) const { return {c * p.x - s * p.y + tx, s * p.x + c * p.y + ty}; }
  Point Turned(const Point& p) const { return {c * p.x - s * p.y, s * p.x + c * p.y}; }
};

// From the own coordinates of a gear turned by the angle of cosine ca and
// sine sa about (ax, ay) to those of one turned by the angle (cb, sb) about
// (bx, by).
Motion Between(double ca, double sa, double ax, double ay, double cb, double sb, double bx, double by) {
  const double dx = ax - bx, dy = ay - by;
  return {ca * cb + sa * sb, sa * cb - ca * sb, cb * dx + sb * dy, -sb * dx + cb * dy};
}

// A box that holds a run of an outline: its centre, the unit vector (ux,
// uy) along the run's chord, and half its extent along that and across.
struct Box {
  double x = 0, y = 0, ux = 1, uy = 0, hu = 0, hv = 0;
};

// The box along the chord from p to q (along x where they coincide) that
// holds the points that each(f) passes to f.
template <class Each>
Box BoxAlong(const Point& p, const Point& q, Each&& each) {
  Box b;
  const double dx = q.x - p.x, dy = q.y - p.y, chord = std::hypot(dx, dy);
  if (chord > 0) b.ux = dx / chord, b.uy = dy / chord;
  double u0 = HUGE_VAL, u1 = -HUGE_VAL, w0 = HUGE_VAL, w1 = -HUGE_VAL;
  each([&](const Point& o) {
    const double u = b.ux * o.x + b.uy * o.y, w = b.ux * o.y - b.uy * o.x;
    u0 = std::min(u0, u), u1 = std::max(u1, u), w0 = std::min(w0, w), w1 = std::max(w1, w);
  });
  const double u = (u0 + u1) / 2, w = (w0 + w1) / 2;
  b.x = b.ux * u - b.uy * w, b.y = b.uy * u + b.ux * w;
  // Widened by the rounding of the projections.
  const double round = 1e-12 * (std::fabs(u0) + std::fabs(u1) + std::fabs(w0) + std::fabs(w1));
  b.hu = (u1 - u0) / 2 + round, b.hv = (w1 - w0) / 2 + round;
  return b;
}

// Whether the boxes a (seen through m in b's coordinates) and b lie more
// than slack apart across one of their sides.
bool Apart(const Box& a, const Motion& m, const Box& b, double slack) {
  const Point c = m({a.x, a.y});
  const double dx = c.x - b.x, dy = c.y - b.y;
  // First the circles about them (hu + hv is at least half a diagonal).
  const double r = a.hu + a.hv + b.hu + b.hv + slack;
  if (dx * dx + dy * dy > r * r) return true;
  const double ux = m.c * a.ux - m.s * a.uy, uy = m.s * a.ux + m.c * a.uy;
  // a's axis in b's: (cs, sn).
  const double cs = ux * b.ux + uy * b.uy, sn = uy * b.ux - ux * b.uy;
  const double ac = std::fabs(cs), as = std::fabs(sn);
  const double du = dx * b.ux + dy * b.uy, dv = dy * b.ux - dx * b.uy;
  const double da = du * cs + dv * sn, dn = dv * cs - du * sn;
  return (std::fabs(du) > b.hu + a.hu * ac + a.hv * as + slack) |
         (std::fabs(dv) > b.hv + a.hu * as + a.hv * ac + slack) |
         (std::fabs(da) > a.hu + b.hu * ac + b.hv * as + slack) |
         (std::fabs(dn) > a.hv + b.hu * as + b.hv * ac + slack);
}

// The strip that holds a leaf's vertices: the unit normal of the chord
// from its first vertex to its last, and the least and the most of the
// vertices along it.
struct Strip {
  double nx = 0, ny = 1, lo = 0, hi = 0;
};

// A disc about a point, in a gear's own coordinates (radius HUGE_VAL: the
// whole plane).
struct Disc {
  Point c{0, 0};
  double r = HUGE_VAL;
  bool Whole() const { return !(r < HUGE_VAL); }
  bool Holds(const Point& p) const {
    const double dx = p.x - c.x, dy = p.y - c.y;
    return dx * dx + dy * dy <= r * r;
  }
};

// A node of the tree over an outline's edges: a box that holds the edges
// from `from` on, `count` of them, and the index of its second half (0: a
// leaf).
struct TNode {
  Box box;
  double radius = 0;  // of the circle about the box's centre that holds it
  std::uint32_t from = 0, count = 0, second = 0;
  std::uint32_t end = 0;  // the node after those below it
  // The leaves below it (or itself) in the order of their edges: from
  // `leaf` on in the outline's list of leaves, `leaves` of them.
  std::uint32_t leaf = 0, leaves = 0;
};

// Whether the node meets the disc (or lies within a disc that it wholly
// lies in), and whether it lies wholly within it: by the circle about its
// box.
bool Meets(const TNode& n, const Disc& d, bool within, bool& inside) {
  inside = within;
  if (within) return true;
  const double dx = n.box.x - d.c.x, dy = n.box.y - d.c.y, dd = dx * dx + dy * dy;
  const double reach = d.r + n.radius;
  if (dd > reach * reach) return false;
  const double room = d.r - n.radius;
  inside = room > 0 && dd <= room * room;
  return true;
}

// The strip across a box.
Strip Across(const Box& b) {
  const double middle = b.ux * b.y - b.uy * b.x;
  return {-b.uy, b.ux, middle - b.hv, middle + b.hv};
}

// Where an edge of gear 1 (a) crosses one of gear 2 (b): the edges, the
// parameters along them and whether gear 1's outline enters gear 2's
// there (and gear 2's leaves gear 1's).
struct TCrossing {
  std::uint32_t a = 0, b = 0;
  Place ta, tb;
  bool enters = false;
};

}  // namespace

// An outline indexed by a tree of boxes over its edges, with the prefix
// sums of its shoelace.
struct TMeshOutline {
  std::vector<Point> v;  // counter-clockwise, the first vertex repeated at the end
  std::size_t size = 0;  // the vertices (edge e runs from v[e] to v[e + 1])
  double reach = 0;      // the largest distance of a vertex from the centre
  // The shoelace sums of the edges before vertex e: twice the integral of
  // x dy along them, in the outline's own coordinates.
  std::vector<double> shoelace;
  // The tree: node 0 holds all edges; a node that is no leaf holds the
  // nodes that follow it and node[n].second. Its halves part where one
  // piece of the outline ends (a flank, a land) where one does near its
  // middle, so that the boxes of flanks and teeth are narrow.
  std::vector<TNode> node;
  std::vector<std::uint32_t> pieceStart;  // the vertices where pieces begin, growing
  std::vector<std::uint32_t> leaf;  // the leaves' nodes, in the order of their edges

  std::size_t Size() const { return size; }
  std::uint32_t Next(std::uint32_t e) const { return e + 1 == size ? 0 : e + 1; }
  // The point at t along edge e.
  Point At(std::uint32_t e, double t) const {
    return {v[e].x + t * (v[e + 1].x - v[e].x), v[e].y + t * (v[e + 1].y - v[e].y)};
  }
  // Twice the area it encloses.
  double Shoelace() const { return size > 0 ? shoelace[size] : 0; }

  void Build(const std::vector<TContourPiece>& pieces) {
    for (const TContourPiece& piece : pieces) {
      pieceStart.push_back(static_cast<std::uint32_t>(v.size()));
      for (std::size_t i = 0; i < piece.X.size(); ++i) {
        const Point p{static_cast<double>(piece.X[i]), static_cast<double>(piece.Y[i])};
        if (!v.empty() && v.back().x == p.x && v.back().y == p.y) continue;
        v.push_back(p);
      }
    }
    while (v.size() > 1 && v.back().x == v.front().x && v.back().y == v.front().y) v.pop_back();
    if (v.size() < 3) {
      v.clear();
      return;
    }
    double area = 0;
    for (std::size_t i = 0; i < v.size(); ++i) area += Cross(v[i], v[(i + 1) % v.size()]);
    const std::size_t n = v.size();
    // A piece's first point is (as a rule) the last one's end, dropped
    // above: the piece begins at the vertex before.
    for (std::uint32_t& start : pieceStart) start = start > 0 ? start - 1 : 0;
    if (area < 0) {
      std::reverse(v.begin(), v.end());
      for (std::uint32_t& start : pieceStart) start = static_cast<std::uint32_t>((2 * n - 1 - start) % n);
      std::sort(pieceStart.begin(), pieceStart.end());
    }
    pieceStart.erase(std::unique(pieceStart.begin(), pieceStart.end()), pieceStart.end());
    size = n;
    v.push_back(v.front());
    shoelace.assign(n + 1, 0);
    for (std::size_t i = 0; i < n; ++i) shoelace[i + 1] = shoelace[i] + Cross(v[i], v[i + 1]);
    for (std::size_t i = 0; i < n; ++i) reach = std::max(reach, std::sqrt(v[i].x * v[i].x + v[i].y * v[i].y));
    BuildTree();
  }

  void BuildTree() {
    node.clear();
    node.reserve(size / LeafEdges * 4 + 64);
    leaf.clear();
    BuildNode(0, static_cast<std::uint32_t>(size));
  }

  // The node of the edges from `from` to `to` and those below it; its index.
  std::uint32_t BuildNode(std::uint32_t from, std::uint32_t to) {
    const std::uint32_t at = static_cast<std::uint32_t>(node.size());
    node.push_back({});
    node[at].from = from, node[at].count = to - from;
    // A node's box from its vertices, or above this many edges from the
    // corners of its two halves' boxes (which keeps the build linear).
    constexpr std::uint32_t FromVertices = 128;
    if (to - from <= LeafEdges) {
      const Box b = BoxAlong(v[from], v[to], [&](auto&& f) {
        for (std::uint32_t i = from; i <= to; ++i) f(v[i]);
      });
      node[at].box = b;
      node[at].radius = std::hypot(b.hu, b.hv);
      node[at].end = at + 1;
      node[at].leaf = static_cast<std::uint32_t>(leaf.size());
      node[at].leaves = 1;
      leaf.push_back(at);
      return at;
    }
    // Halves at the piece boundary nearest the middle (the middle where
    // the edges are of one piece).
    const std::uint32_t middle = from + (to - from) / 2;
    std::uint32_t cut = middle;
    const auto it = std::lower_bound(pieceStart.begin(), pieceStart.end(), middle);
    std::uint32_t best = to - from;
    for (auto j = it - (it != pieceStart.begin() ? 1 : 0); j != pieceStart.end() && j <= it; ++j) {
      const std::uint32_t d = *j > middle ? *j - middle : middle - *j;
      if (*j > from && *j < to && d < best) best = d, cut = *j;
    }
    BuildNode(from, cut);
    node[at].second = BuildNode(cut, to);
    if (to - from <= FromVertices) {
      node[at].box = BoxAlong(v[from], v[to], [&](auto&& f) {
        for (std::uint32_t i = from; i <= to; ++i) f(v[i]);
      });
    } else {
      const Box halves[2] = {node[at + 1].box, node[node[at].second].box};
      node[at].box = BoxAlong(v[from], v[to], [&](auto&& f) {
        for (const Box& h : halves)
          for (const double su : {-1.0, 1.0})
            for (const double sv : {-1.0, 1.0})
              f(Point{h.x + su * h.hu * h.ux - sv * h.hv * h.uy, h.y + su * h.hu * h.uy + sv * h.hv * h.ux});
      });
    }
    node[at].radius = std::hypot(node[at].box.hu, node[at].box.hv);
    node[at].end = static_cast<std::uint32_t>(node.size());
    node[at].leaf = node[at + 1].leaf;
    node[at].leaves = static_cast<std::uint32_t>(leaf.size()) - node[at].leaf;
    return at;
  }

  // Whether p (own coordinates) lies inside, outside or on the outline
  // (within near of an edge): the crossings of the ray from p away from
  // the centre (along x from the centre itself), by the edges of the
  // leaves whose circles it meets.
  enum class Where { Outside, Inside, On };
  Where Locate(const Point& p, double near) const {
    const double pp = p.x * p.x + p.y * p.y;
    if (pp > (reach + near) * (reach + near)) return Where::Outside;
    const double length = std::sqrt(pp);
    const double dx = pp > 0 ? p.x / length : 1, dy = pp > 0 ? p.y / length : 0;
    bool inside = false;
    std::array<std::uint32_t, 256> below;
    int n = 0;
    below[n++] = 0;
    while (n > 0) {
      const TNode& node = this->node[below[--n]];
      // The circle's centre along the ray (from p) and across it.
      const double wx = node.box.x - p.x, wy = node.box.y - p.y;
      const double along = std::max(0.0, wx * dx + wy * dy), ex = wx - along * dx, ey = wy - along * dy;
      if (ex * ex + ey * ey > (node.radius + near) * (node.radius + near)) continue;
      if (node.second != 0) {
        below[n++] = node.second;
        below[n++] = static_cast<std::uint32_t>(&node - this->node.data()) + 1;
        continue;
      }
      for (std::uint32_t e = node.from; e < node.from + node.count; ++e) {
        const Point &u = v[e], &w = v[e + 1];
        // Nearer than that, the ray's crossings would be rounding's.
        if (SquaredDistanceFrom(u, w, p) <= near * near) return Where::On;
        const double su = Cross({dx, dy}, {u.x - p.x, u.y - p.y}), sw = Cross({dx, dy}, {w.x - p.x, w.y - p.y});
        if ((su > 0) == (sw > 0)) continue;
        const double t = su / (su - sw);
        if ((u.x + t * (w.x - u.x) - p.x) * dx + (u.y + t * (w.y - u.y) - p.y) * dy > 0) inside = !inside;
      }
    }
    return inside ? Where::Inside : Where::Outside;
  }

  // Whether the outline o, seen through m in this one's coordinates, lies
  // inside it, given that their edges cross nowhere: by its first vertex
  // (or the middle of an edge) that does not lie on this outline (within
  // near); a point on it says nothing of the rest where outlines touch.
  bool Holds(const TMeshOutline& o, const Motion& m, double near) const {
    for (const bool middles : {false, true})
      for (std::size_t i = 0; i < o.size; ++i) {
        const Point p = middles ? o.At(static_cast<std::uint32_t>(i), 0.5) : o.v[i];
        const Where where = Locate(m(p), near);
        if (where != Where::On) return where == Where::Inside;
      }
    return false;
  }

  // Twice the integral of x dy along the outline, seen through m, from the
  // point at t along edge e onwards to the point at u along edge f (round
  // the whole outline where f is e and u lies before t, or at t where the
  // run goes round).
  double RunShoelace(const Motion& m, std::uint32_t e, double t, std::uint32_t f, double u, bool round) const {
    const Point from = m(At(e, t)), to = m(At(f, u));
    if (e == f && (u > t || (u == t && !round))) return Cross(from, to);
    // The whole edges between: their own sum, plus the shift crossed with
    // their turned chord.
    const std::uint32_t i = Next(e), j = f;
    const double own = i <= j ? shoelace[j] - shoelace[i] : shoelace[size] - shoelace[i] + shoelace[j];
    const Point chord = m.Turned({v[j].x - v[i].x, v[j].y - v[i].y});
    return Cross(from, m(v[i])) + own + Cross({m.tx, m.ty}, chord) + Cross(m(v[j]), to);
  }

  // Whether that run lies within the disc (own coordinates).
  bool RunWithin(const Disc& d, std::uint32_t e, double t, std::uint32_t f, double u, bool round) const {
    if (!d.Holds(At(e, t)) || !d.Holds(At(f, u))) return false;
    if (e == f && (u > t || (u == t && !round))) return true;
    for (std::uint32_t i = Next(e);; i = Next(i)) {
      if (!d.Holds(v[i])) return false;
      if (i == f) return true;
    }
  }
};

// What one position's search leaves: the crossings of the two outlines,
// and the work lists it uses.
struct TMeshScratch {
  std::vector<TCrossing> crossings;
  std::vector<std::uint32_t> order;
  // A leaf about the pitch point: where it lies along the tangent there
  // and across it, and its node.
  struct Span {
    double lo, hi, below, above;
    std::uint32_t node;
  };
  std::vector<Span> spansA, spansB;
  // The runs of leaves of either outline it looked at, [first, end).
  std::vector<std::pair<std::uint32_t, std::uint32_t>> runsA, runsB;
  // The runs of either outline inside the other that the area was summed
  // along: from t along edge `from` to u along edge `to` (round the whole
  // outline where round is set and they are one place).
  struct Run {
    bool alongA, round;
    std::uint32_t from, to;
    double t, u;
  };
  std::vector<Run> runs;
  std::vector<std::uint32_t> activeA, activeB;
};

namespace {

using Outline = TMeshOutline;

// Runs of an outline's leaves, [first, end) in the order of their edges.
using TLeafRuns = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

// Whether all the leaves below the node lie in one of the runs.
bool AllIn(const TNode& n, const TLeafRuns& runs) {
  for (const auto& [first, end] : runs)
    if (first <= n.leaf && n.leaf + n.leaves <= end) return true;
  return false;
}

// Calls leafPair(i, j) for the leaves i of A and j of B whose boxes come
// within slack of each other, A seen through m in B's coordinates, down
// the two trees from their roots. Given the runs of leaves of either that
// WindowLeaves looked at (nullptr: none), the pairs of leaves that it
// looked at are left out: those whose leaves both lie in them. slack may
// shrink while the pairs are visited.
template <class F>
void NearLeaves(const Outline& A, const Outline& B, const Motion& m, const double& slack, const TLeafRuns* runsA,
                const TLeafRuns* runsB, F&& leafPair) {
  struct Item {
    std::uint32_t a, b;
  };
  // Each step down pushes one item more than it takes: no more than the
  // two trees' depths are waiting (a tree is at most three times the
  // binary logarithm of its edges deep).
  std::array<Item, 512> stack;
  int top = 0;
  // Where one outline is far larger than the other (a gear of many turns),
  // the descent begins at its nodes of about the other's size that meet the
  // circle about the other's root: found by their circles alone.
  const TNode &rootA = A.node[0], &rootB = B.node[0];
  const bool bLarger = rootB.radius > 4 * rootA.radius, aLarger = rootA.radius > 4 * rootB.radius;
  if (bLarger || aLarger) {
    const Outline& large = bLarger ? B : A;
    const TNode& small = bLarger ? rootA : rootB;
    // The small root's centre in the large outline's coordinates.
    Point c{small.box.x, small.box.y};
    if (bLarger) {
      c = m(c);
    } else {
      // m's inverse: turned back, then shifted back.
      const double x = c.x - m.tx, y = c.y - m.ty;
      c = {m.c * x + m.s * y, m.c * y - m.s * x};
    }
    std::array<std::uint32_t, 256> below;
    int n = 0;
    below[n++] = 0;
    while (n > 0) {
      const std::uint32_t at = below[--n];
      const TNode& node = large.node[at];
      const double dx = node.box.x - c.x, dy = node.box.y - c.y, reach = node.radius + small.radius + slack;
      if (dx * dx + dy * dy > reach * reach) continue;
      if (node.second == 0 || node.radius <= small.radius) {
        // (So many that the stack would fill: from the roots after all.)
        if (top == static_cast<int>(stack.size()) / 2) {
          top = 0;
          stack[top++] = {0, 0};
          break;
        }
        stack[top++] = bLarger ? Item{0, at} : Item{at, 0};
        continue;
      }
      below[n++] = node.second;
      below[n++] = at + 1;
    }
  } else {
    stack[top++] = {0, 0};
  }
  while (top > 0) {
    const Item it = stack[--top];
    const TNode &na = A.node[it.a], &nb = B.node[it.b];
    if (runsA && AllIn(na, *runsA) && AllIn(nb, *runsB)) continue;
    if (Apart(na.box, m, nb.box, slack)) continue;
    const bool leafA = na.second == 0, leafB = nb.second == 0;
    if (leafA && leafB) {
      leafPair(na, nb);
    } else if (leafB || (!leafA && na.box.hu + na.box.hv >= nb.box.hu + nb.box.hv)) {
      stack[top++] = {na.second, it.b};
      stack[top++] = {it.a + 1, it.b};
    } else {
      stack[top++] = {it.a, nb.second};
      stack[top++] = {it.a, it.b + 1};
    }
  }
}

// Edges to the nodes whose leaves are looked at whole about the pitch
// point: about a tooth.
constexpr std::uint32_t BlockEdges = 64;

// The leaves of o about the pitch point, marked as looked at: those of the
// nodes of about a tooth that meet the disc d (as they are found from the
// root down), each with where it lies along the unit vector (tx, ty) and
// across it, seen through m, widened by slack; in the order of their
// measures along it.
template <bool Moved>
void WindowSpans(const Outline& o, const Disc& d, const Motion& m, double tx, double ty, double slack,
                 TLeafRuns& runs, std::vector<TMeshScratch::Span>& out) {
  out.clear();
  runs.clear();
  struct Item {
    std::uint32_t at;
    bool within;
  };
  Item below[256];
  int n = 0;
  bool in = false;
  if (Meets(o.node[0], d, false, in)) below[n++] = {0, in};
  while (n > 0) {
    const Item it = below[--n];
    const TNode& node = o.node[it.at];
    if (node.count <= BlockEdges || node.second == 0) {
      // Runs of leaves in the order of the edges, joined where they meet.
      if (!runs.empty() && runs.back().second == node.leaf)
        runs.back().second += node.leaves;
      else
        runs.push_back({node.leaf, node.leaf + node.leaves});
      continue;
    }
    if (Meets(o.node[node.second], d, it.within, in)) below[n++] = {node.second, in};
    if (Meets(o.node[it.at + 1], d, it.within, in)) below[n++] = {it.at + 1, in};
  }
  if (runs.empty()) return;
  // The run after the widest gap first (where the disc holds the outline's
  // end and start, its last run goes on into its first).
  std::size_t start = 0;
  std::uint32_t widest = 0;
  const std::size_t count = runs.size();
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t before = i == 0 ? runs.back().second : runs[i - 1].second;
    const std::uint32_t gap = (runs[i].first + static_cast<std::uint32_t>(o.leaf.size()) - before) %
                              static_cast<std::uint32_t>(o.leaf.size());
    if (gap > widest) widest = gap, start = i;
  }
  for (std::size_t r = 0; r < count; ++r) {
    const auto [first, end] = runs[(start + r) % count];
    for (std::uint32_t k = first; k < end; ++k) {
      const std::uint32_t at = o.leaf[k];
      const Box& b = o.node[at].box;
      const Point c = Moved ? m({b.x, b.y}) : Point{b.x, b.y};
      const Point u = Moved ? m.Turned({b.ux, b.uy}) : Point{b.ux, b.uy};
      const double along = std::fabs(u.x * tx + u.y * ty), across = std::fabs(u.x * ty - u.y * tx);
      const double middle = c.x * tx + c.y * ty, height = c.x * ty - c.y * tx;
      const double half = b.hu * along + b.hv * across + slack, thick = b.hu * across + b.hv * along + slack;
      out.push_back({middle - half, middle + half, height - thick, height + thick, at});
    }
  }
  // The outline runs along the tangent or against it: nearly in order,
  // once turned round where it runs against it.
  if (out.front().lo > out.back().lo) std::reverse(out.begin(), out.end());
  for (std::size_t i = 1; i < out.size(); ++i) {
    const TMeshScratch::Span s = out[i];
    std::size_t j = i;
    for (; j > 0 && out[j - 1].lo > s.lo; --j) out[j] = out[j - 1];
    out[j] = s;
  }
}

// Calls leafPair(i, j) for the leaves i of A and j of B about the pitch
// point that come within slack of each other, A seen through m in B's
// coordinates: the leaves of the nodes of about a tooth that meet the
// discs wa and wb (A's, B's, about the pitch point, wb.c not B's centre),
// measured along the tangent at the pitch point and across it, are paired
// where those measures overlap both ways and their boxes do not lie apart.
template <class F>
void WindowLeaves(const Outline& A, const Outline& B, const Motion& m, const double& slack, const Disc& wa,
                  const Disc& wb, TMeshScratch& work, F&& leafPair) {
  const double radius = std::hypot(wb.c.x, wb.c.y);
  const double tx = -wb.c.y / radius, ty = wb.c.x / radius;
  WindowSpans<true>(A, wa, m, tx, ty, slack, work.runsA, work.spansA);
  WindowSpans<false>(B, wb, m, tx, ty, 0, work.runsB, work.spansB);
  // A sweep along the tangent: each span, as it starts, meets the spans of
  // the other outline that started before it and have not ended.
  const std::vector<TMeshScratch::Span>&sa = work.spansA, &sb = work.spansB;
  const std::size_t na = sa.size(), nb = sb.size();
  std::size_t i = 0, j = 0, fromA = 0, fromB = 0;
  // The span s of one outline against the others' from `from` (those that
  // ended before it passed over for good) up to `upTo`.
  auto meet = [&](const TMeshScratch::Span& s, const std::vector<TMeshScratch::Span>& others, std::size_t& from,
                  std::size_t upTo, bool sOfA) {
    while (from < upTo && others[from].hi < s.lo) ++from;
    for (std::size_t k = from; k < upTo; ++k) {
      const TMeshScratch::Span& o = others[k];
      if (o.hi < s.lo || o.above < s.below || o.below > s.above) continue;
      const TNode &a = A.node[sOfA ? s.node : o.node], &b = B.node[sOfA ? o.node : s.node];
      if (!Apart(a.box, m, b.box, slack)) leafPair(a, b);
    }
  };
  while (i < na || j < nb) {
    if (j == nb || (i < na && sa[i].lo <= sb[j].lo)) {
      ++i;
      meet(sa[i - 1], sb, fromB, j, true);
    } else {
      ++j;
      meet(sb[j - 1], sa, fromA, i, false);
    }
  }
}

// The leaves i of A and j of B, A seen through m in B's coordinates: the
// edges of either that cross the other (points within near of each other
// touching, see Crossing), added to crossings, and whether they come
// within gap of each other (looked for while touch is false and gap
// positive).
void MeetLeaves(const Outline& A, const Outline& B, const Motion& m, const TNode& i, const TNode& j, double gap,
                double near, bool& touch, std::vector<TCrossing>& crossings) {
  const std::uint32_t na = i.count, nb = j.count;
  const std::uint32_t ea = i.from, eb = j.from;
  const Point *qa = &A.v[ea], *pb = &B.v[eb];
  const bool looking = !touch && gap > 0;
  // Edges that touch are tested as those that cross.
  const double margin = (looking ? gap : 0) + near;
  // Only the edges of either that reach into the strip of the other's leaf
  // can cross it (A's vertices along B's normal, taken back into A's
  // coordinates); none: the leaves lie apart across it.
  auto reaching = [margin](const double* d, std::uint32_t n, const Strip& s) {
    const double lo = s.lo - margin, hi = s.hi + margin;
    std::uint32_t mask = 0;
    for (std::uint32_t k = 0; k < n; ++k)
      mask |= static_cast<std::uint32_t>((d[k] >= lo || d[k + 1] >= lo) & (d[k] <= hi || d[k + 1] <= hi)) << k;
    return mask;
  };
  const Strip sb = Across(j.box);
  double da[LeafEdges + 1], db[LeafEdges + 1];
  const double bx = m.c * sb.nx + m.s * sb.ny, by = m.c * sb.ny - m.s * sb.nx, lift = sb.nx * m.tx + sb.ny * m.ty;
  for (std::uint32_t k = 0; k <= na; ++k) da[k] = bx * qa[k].x + by * qa[k].y + lift;
  const std::uint32_t edgesA = reaching(da, na, sb);
  if (edgesA == 0) return;
  const Strip sa = Across(i.box);
  const double nx = m.c * sa.nx - m.s * sa.ny, ny = m.s * sa.nx + m.c * sa.ny, shift = nx * m.tx + ny * m.ty;
  for (std::uint32_t k = 0; k <= nb; ++k) db[k] = nx * pb[k].x + ny * pb[k].y - shift;
  const std::uint32_t edgesB = reaching(db, nb, sa);
  if (edgesB == 0) return;
  // A's vertices in B's coordinates, those of the edges looked at; theirs
  // and B's along B's chord, where edges that cross overlap.
  Point pa[LeafEdges + 1];
  double ua[LeafEdges + 1], ub[LeafEdges + 1];
  const std::uint32_t neededA = looking ? ~0u : edgesA | edgesA << 1, neededB = edgesB | edgesB << 1;
  for (std::uint32_t k = 0; k <= na; ++k)
    if (neededA >> k & 1) {
      pa[k] = m(qa[k]);
      ua[k] = j.box.ux * pa[k].x + j.box.uy * pa[k].y;
    }
  for (std::uint32_t k = 0; k <= nb; ++k)
    if (neededB >> k & 1) ub[k] = j.box.ux * pb[k].x + j.box.uy * pb[k].y;
  bool met = false;
  for (std::uint32_t ra = edgesA; ra != 0; ra &= ra - 1) {
    const std::uint32_t a = static_cast<std::uint32_t>(std::countr_zero(ra));
    const double a0 = std::min(ua[a], ua[a + 1]), a1 = std::max(ua[a], ua[a + 1]);
    for (std::uint32_t rb = edgesB; rb != 0; rb &= rb - 1) {
      const std::uint32_t b = static_cast<std::uint32_t>(std::countr_zero(rb));
      if (a1 + near < std::min(ub[b], ub[b + 1]) || a0 - near > std::max(ub[b], ub[b + 1])) continue;
      TCrossing c;
      if (Crossing(pa[a], pa[a + 1], pb[b], pb[b + 1], near, c.ta, c.tb, c.enters)) {
        c.a = ea + a;
        c.b = eb + b;
        crossings.push_back(c);
        met = true;
      }
    }
  }
  if (met) {
    touch = true;
  } else if (looking) {
    double nearest = HUGE_VAL;
    for (std::uint32_t a = 0; a <= na; ++a)
      for (std::uint32_t b = 0; b < nb; ++b) nearest = std::min(nearest, SquaredDistanceFrom(pb[b], pb[b + 1], pa[a]));
    for (std::uint32_t b = 0; b <= nb; ++b)
      for (std::uint32_t a = 0; a < na; ++a) nearest = std::min(nearest, SquaredDistanceFrom(pa[a], pa[a + 1], pb[b]));
    if (nearest <= gap * gap) touch = true;
  }
}

// The area that both outlines enclose, from all their crossings: the runs
// of A inside B (from a crossing where it enters to the next one along
// it) and those of B inside A, summed through the motions sumA and sumB
// into common coordinates. The runs are kept in work.runs.
double CommonArea(const Outline& A, const Motion& sumA, const Outline& B, const Motion& sumB, TMeshScratch& work) {
  const std::vector<TCrossing>& c = work.crossings;
  const std::size_t n = c.size();
  std::vector<std::uint32_t>& order = work.order;
  work.runs.clear();
  double sum = 0;
  // Crossings at one point (where outlines touch) are in the order of
  // their places for the small move of gear 2's outline.
  for (const bool alongA : {true, false}) {
    order.resize(n);
    for (std::uint32_t k = 0; k < n; ++k) order[k] = k;
    if (alongA)
      std::sort(order.begin(), order.end(), [&](std::uint32_t p, std::uint32_t q) {
        return c[p].a != c[q].a ? c[p].a < c[q].a : c[p].ta < c[q].ta;
      });
    else
      std::sort(order.begin(), order.end(), [&](std::uint32_t p, std::uint32_t q) {
        return c[p].b != c[q].b ? c[p].b < c[q].b : c[p].tb < c[q].tb;
      });
    for (std::size_t k = 0; k < n; ++k) {
      const TCrossing &from = c[order[k]], &to = c[order[(k + 1) % n]];
      if (from.enters != alongA) continue;
      // From the last crossing to the first: round the outline.
      const bool round = k + 1 == n;
      if (alongA) {
        sum += A.RunShoelace(sumA, from.a, from.ta.at, to.a, to.ta.at, round);
        work.runs.push_back({true, round, from.a, to.a, from.ta.at, to.ta.at});
      } else {
        sum += B.RunShoelace(sumB, from.b, from.tb.at, to.b, to.tb.at, round);
        work.runs.push_back({false, round, from.b, to.b, from.tb.at, to.tb.at});
      }
    }
  }
  return std::max(sum / 2, 0.0);
}

// Whether one of the runs that CommonArea kept leaves its outline's disc
// (A's wa, B's wb): then crossings beyond the discs may end it.
bool Escapes(const Outline& A, const Outline& B, const TMeshScratch& work, const Disc& wa, const Disc& wb) {
  for (const TMeshScratch::Run& r : work.runs)
    if (!(r.alongA ? A.RunWithin(wa, r.from, r.t, r.to, r.u, r.round) : B.RunWithin(wb, r.from, r.t, r.to, r.u, r.round)))
      return true;
  return false;
}

}  // namespace

TMeshingPair::TMeshingPair(const std::vector<TContourPiece>& gear1, const std::vector<TContourPiece>& gear2, Real a)
    : gear1_(std::make_unique<TMeshOutline>()),
      gear2_(std::make_unique<TMeshOutline>()),
      work_(std::make_unique<TMeshScratch>()),
      a_(a) {
  gear1_->Build(gear1);
  gear2_->Build(gear2);
}

TMeshingPair::~TMeshingPair() = default;

Real TMeshingPair::OverlapArea(Real phi, Real turn2, Real pitch) const {
  bool touch = true;
  return OverlapAbove(phi, turn2, -1, 0, touch, pitch);
}

Real TMeshingPair::OverlapAbove(Real phi, Real turn2, Real above, Real gap, bool& touch, Real pitch,
                                Real radius1) const {
  const Outline &o1 = *gear1_, &o2 = *gear2_;
  TMeshScratch& work = *work_;
  if (o1.Size() == 0 || o2.Size() == 0) return 0;
  const double a = static_cast<double>(a_), t1 = static_cast<double>(-phi), t2 = static_cast<double>(turn2);
  const double c1 = std::cos(t1), s1 = std::sin(t1), c2 = std::cos(t2), s2 = std::sin(t2);
  const Motion toTwo = Between(c1, s1, 0, 0, c2, s2, a, 0), toOne = Between(c2, s2, a, 0, c1, s1, 0, 0);
  // Given the pitch, only the teeth within TeethEachSide pitches of the
  // pitch point (at radius1 from gear 1's centre on the line of centres,
  // or where gear 2's outline reaches) and a half, at first.
  Disc w1, w2;
  if (pitch > 0) {
    const double r1 = radius1 > 0 ? static_cast<double>(radius1) : a - o2.reach;
    w1 = {{c1 * r1, -s1 * r1}, (TeethEachSide + 0.5) * static_cast<double>(pitch)};
    w2 = {toTwo(w1.c), w1.r};
  }
  bool windows = !w1.Whole() && w2.c.x * w2.c.x + w2.c.y * w2.c.y > 0;
  // The leaves of the two outlines that come near each other (within the
  // gap while no touch is known; the boxes are widened by the rounding of
  // the gears' coordinates), and the crossings of their edges.
  const double roundoff = 1e-9 * (a + o1.reach + o2.reach), near = TouchFraction * (a + o1.reach + o2.reach);
  const double g = static_cast<double>(gap);
  bool touched = touch;
  double slack = (!touched && g > 0 ? g : 0) + roundoff;
  work.crossings.clear();
  auto meet = [&](const TNode& i, const TNode& j) {
    MeetLeaves(o1, o2, toTwo, i, j, g, near, touched, work.crossings);
    if (touched) slack = roundoff;
  };
  if (windows)
    WindowLeaves(o1, o2, toTwo, slack, w1, w2, work, meet);
  else
    NearLeaves(o1, o2, toTwo, slack, nullptr, nullptr, meet);
  // The rest of the outlines, beyond the discs: the crossings there.
  auto beyond = [&] {
    double edge = roundoff;
    NearLeaves(o1, o2, toTwo, edge, &work.runsA, &work.runsB, [&](const TNode& i, const TNode& j) {
      bool crossed = true;
      MeetLeaves(o1, o2, toTwo, i, j, 0, near, crossed, work.crossings);
    });
    windows = false;
  };
  // Asked for the whole outlines: where none cross about the pitch point
  // they may cross farther out.
  if (work.crossings.empty() && windows && above < 0) {
    beyond();
    if (!work.crossings.empty()) touched = true;
  }
  if (work.crossings.empty()) {
    // No edges cross (about the pitch point): the outlines lie apart, or
    // one lies wholly inside the other (as outlines that lost their teeth
    // can), or they cross farther out.
    const bool oneInTwo = o2.Holds(o1, toTwo, near), twoInOne = o1.Holds(o2, toOne, near);
    if (!oneInTwo && !twoInOne) {
      touch = touched;
      return 0;
    }
    touched = true;
    if (windows) beyond();
    if (work.crossings.empty()) {
      touch = true;
      return std::max(oneInTwo ? o1.Shoelace() / 2 : 0.0, twoInOne ? o2.Shoelace() / 2 : 0.0);
    }
  }
  touch = touched;
  // The area is summed about the middle of the centre line, near the
  // contact, which keeps the rounding small.
  const Motion sum1 = Between(c1, s1, -a / 2, 0, 1, 0, 0, 0), sum2 = Between(c2, s2, a / 2, 0, 1, 0, 0, 0);
  double area = CommonArea(o1, sum1, o2, sum2, work);
  // Teeth that collide near the line of centres may collide farther out
  // too (at a curve's corners), and a run inside the other outline that
  // leaves the discs may cross it out there: the whole outlines then give
  // the area.
  if (windows && (area > above || Escapes(o1, o2, work, w1, w2))) {
    const std::size_t found = work.crossings.size();
    beyond();
    if (work.crossings.size() > found) area = CommonArea(o1, sum1, o2, sum2, work);
  }
  return area;
}

std::vector<Real> MeshPositions(const TPitchTrack& track2, int turns, Real module, long teeth2) {
  std::vector<Real> positions;
  const Real pitch = std::numbers::pi_v<Real> * module;
  turns = std::max(turns, 1);
  const std::size_t n = track2.S.size();
  if (n < 2 || track2.Phi.size() != n || !(track2.Length > 0) || !(pitch > 0)) return positions;
  // Equal steps of the rolled arc, PositionsPerPitch to a pitch; a pair
  // whose cycle is one turn of gear 1, at every whole degree where those
  // are as many (the positions such a pair was always checked at).
  // The teeth are laid on the track at equal arcs: their number is the
  // pitches rolled, however long the track (a curve of many waves, sampled
  // finer than the module was measured, is far longer than z pitches).
  const long pitches = std::max(teeth2 > 0 ? teeth2 : std::lround(track2.Length / pitch), 1L);
  if (turns == 1 && 360L >= PositionsPerPitch * pitches) {
    for (long j = 0; j < 360L; ++j) positions.push_back(j * std::numbers::pi_v<Real> / 180);
    return positions;
  }
  const long count = PositionsPerPitch * pitches;
  positions.reserve(static_cast<std::size_t>(count));
  std::size_t piece = 0;
  for (long j = 0; j < count; ++j) {
    const Real s = track2.Length * j / count;
    while (piece + 2 < n && track2.S[piece + 1] <= s) ++piece;
    const Real ds = track2.S[piece + 1] - track2.S[piece];
    const Real f = ds > 0 ? std::clamp((s - track2.S[piece]) / ds, Real(0), Real(1)) : 0;
    positions.push_back(track2.Phi[piece] + f * (track2.Phi[piece + 1] - track2.Phi[piece]));
  }
  return positions;
}

TMeshFinding CheckMeshing(const std::vector<TContourPiece>& gear1, const std::vector<TContourPiece>& gear2,
                          const TPitchTrack& track2, Real a, int turns, const TMeshModules& modules,
                          long teeth2) {
  TMeshFinding finding;
  // Without teeth there is nothing to check (and nothing to warn of).
  if (gear1.empty() || gear2.empty() || track2.Pieces.size() + 1 != track2.Phi.size()) return finding;
  const TMeshingPair pair(gear1, gear2, a);
  const Real tolerance = OverlapToleranceFactor * modules.cut * modules.cut;
  const Real gap = ContactGapFactor * modules.cut;
  const Real pitch = std::numbers::pi_v<Real> * modules.pitch;
  // The drive angles grow: the piece of gear 2's track that holds each
  // is found from the last one's on.
  const std::size_t samples = track2.Phi.size();
  std::size_t piece = 0;
  for (const Real phi : MeshPositions(track2, turns, modules.pitch, teeth2)) {
    // Gear 2's pitch point of the drive angle (as AtDriveAngle finds it),
    // turned onto the line of centres (as GearTwoTurn turns it).
    while (piece + 2 < samples && track2.Phi[piece + 1] <= phi) ++piece;
    const Real dphi = track2.Phi[piece + 1] - track2.Phi[piece];
    const double s = dphi > 0 ? static_cast<double>(std::clamp((phi - track2.Phi[piece]) / dphi, Real(0), Real(1))) : 0;
    double x, y;
    track2.Pieces[piece].As<double>().Point(s, x, y);
    const Real turn2 = std::numbers::pi - std::atan2(y, x);
    const Real above = std::max(tolerance, finding.largestArea);
    const Real area = pair.OverlapAbove(phi, turn2, above, gap, finding.contact, pitch, a - std::hypot(x, y));
    ++finding.positions;
    if (!(area > tolerance)) continue;
    ++finding.overlapping;
    if (finding.firstDegree < 0) {
      finding.firstAngle = phi;
      finding.firstDegree = WholeDriveDegree(phi);
    }
    if (area > finding.largestArea) {
      finding.largestArea = area;
      finding.largestAngle = phi;
    }
  }
  return finding;
}

}  // namespace drawing
