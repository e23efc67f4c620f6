// The meshing check of the two tooth outlines; see mesh_check.h.
//
// Each outline is indexed twice. A tree of boxes over its runs of
// consecutive edges (each box along the chord of its run, a node's two
// halves parted where a flank or a land ends, leaves of a dozen edges)
// finds, at a position, the pairs of leaves of the two outlines that come
// near each other: a pair of boxes that lie apart is passed over with all
// it holds, so that the teeth that stay clear of the other gear cost a few
// tests each. Only the teeth within TeethEachSide pitches of the pitch
// point are looked at (and the whole outlines where those collide), found
// among the nodes of about a tooth that meet a disc about it, paired where
// they lie close along the tangent there. Within a leaf pair, only the
// edges that reach into the other leaf's strip (flanks that roll on each
// other lie close along their length, but cross at a point or not at all),
// and that overlap along it, are tested for a crossing. The ends of the
// edges that cross are the seeds of the vertices of either outline that
// lie inside the other; those are found by walking on from the seeds while
// the vertices stay inside, so that every piece of an outline inside the
// other (which begins and ends at a crossing) is found whole.
//
// The sectors of a fixed grid of the polar angle about each gear's centre
// list the edges that pass through them and the farthest reach of those
// edges: whether a point lies inside is decided by counting the edges that
// a ray from the point outwards crosses within its sector. Where vertices
// lie inside the other gear, but so shallowly that the area cannot reach
// the tolerance, the area is not summed. The common area of two simple
// polygons is the integral of x dy round its boundary, which consists of
// the pieces of each outline that lie inside the other. All of it is in
// double precision: the areas that matter are hundredths of a square
// millimetre and more.
#include "drawing/outlines/mesh_check.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "drawing/outlines/polar_sectors.h"

namespace drawing {

namespace {

// Edges to a leaf of the tree of boxes: a few to a flank.
constexpr int LeafEdges = 12;
// Edges to the nodes that a position's pairs of nodes are looked for
// among: about a tooth.
constexpr std::uint32_t BlockEdges = 64;
// Teeth of a pair that meshes touch within a pitch or so of the line of
// centres (the contact ratio is rarely above two); those of a pair that
// interferes, a tooth farther. (Where a curve has corners, teeth farther
// out collide too, but then so do these.)
constexpr double TeethEachSide = 3;

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

// Whether the segments from p to q and from u to w have a point in common
// (segments along one line count).
bool Meet(const Point& p, const Point& q, const Point& u, const Point& w) {
  const Point d{q.x - p.x, q.y - p.y}, g{w.x - u.x, w.y - u.y};
  const double o1 = Cross(d, {u.x - p.x, u.y - p.y}), o2 = Cross(d, {w.x - p.x, w.y - p.y});
  if ((o1 > 0 && o2 > 0) || (o1 < 0 && o2 < 0)) return false;
  const double o3 = Cross(g, {p.x - u.x, p.y - u.y}), o4 = Cross(g, {q.x - u.x, q.y - u.y});
  return !((o3 > 0 && o4 > 0) || (o3 < 0 && o4 < 0));
}

// A rigid motion: turned by an angle, then shifted.
struct Motion {
  double c = 1, s = 0, tx = 0, ty = 0;
  Point operator()(const Point& p) const { return {c * p.x - s * p.y + tx, s * p.x + c * p.y + ty}; }
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
};

// Whether the box lies wholly outside the disc (across one of its sides).
bool Beyond(const Box& b, const Disc& d) {
  const double dx = d.c.x - b.x, dy = d.c.y - b.y;
  return (std::fabs(dx * b.ux + dy * b.uy) > b.hu + d.r) | (std::fabs(dy * b.ux - dx * b.uy) > b.hv + d.r);
}

// Nodes of the tree of about a tooth, where a position's pairs of nodes
// are first looked for: a node, whether it lies wholly within the disc
// about the pitch point, where it lies along the tangent there and its
// size.
struct TBlock {
  std::uint32_t node = 0;
  bool within = false;
  double along = 0, size = 0;
};

// A node of the tree over an outline's edges: a box that holds the edges
// from `from` on, `count` of them, and the index of its second half (0: a
// leaf).
struct TNode {
  Box box;
  std::uint32_t from = 0, count = 0, second = 0;
};

// The strip across a box.
Strip Across(const Box& b) {
  const double middle = b.ux * b.y - b.uy * b.x;
  return {-b.uy, b.ux, middle - b.hv, middle + b.hv};
}

}  // namespace

// An outline indexed by a tree of boxes over its edges and by sectors of
// the polar angle about its centre.
struct TMeshOutline {
  std::vector<Point> v;  // counter-clockwise, the first vertex repeated at the end
  std::size_t size = 0;  // the vertices (edge e runs from v[e] to v[e + 1])
  double reach = 0;      // the largest distance of a vertex from the centre
  int sectors = 0;
  std::vector<std::uint32_t> first;  // edges of sector k: list[first[k] .. first[k + 1])
  std::vector<std::uint32_t> list;
  std::vector<double> sectorReach;   // the farthest point of those edges
  std::vector<double> edgeLength;    // of edge e, from vertex e
  // The tree: node 0 holds all edges; a node that is no leaf holds the
  // nodes that follow it and node[n].second. Its halves part where one
  // piece of the outline ends (a flank, a land) where one does near its
  // middle, so that the boxes of flanks and teeth are narrow.
  std::vector<TNode> node;
  std::vector<std::uint32_t> pieceStart;  // the vertices where pieces begin, growing
  // Marks of the edges and the pass that set them: an edge in several
  // sectors is taken once per pass.
  mutable std::vector<std::uint32_t> mark;
  mutable std::uint32_t pass = 0;
  // The same for the edges queued for the area sum.
  mutable std::vector<std::uint32_t> queued;
  mutable std::uint32_t queuePass = 0;
  // The same for the vertices looked at in a position.
  mutable std::vector<std::uint32_t> seen;
  mutable std::uint32_t seenPass = 0;
  // A position's edges that cross the other outline, and the vertices
  // inside it.
  mutable std::vector<std::uint32_t> crossed, inside;
  mutable std::vector<TBlock> blocks;  // a position's nodes about the pitch point

  std::size_t Size() const { return size; }
  int Sector(const Point& p) const { return PolarSector(p.x, p.y, sectors); }
  // Calls f(sector) for the sectors from the polar angle of p to that of q
  // the short way round.
  template <class F>
  void ForSectors(const Point& p, const Point& q, F&& f) const {
    int from = 0;
    const int count = SectorSpan(p.x, p.y, q.x, q.y, sectors, from);
    for (int j = 0; j < count; ++j) f((from + j) % sectors);
  }

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
    std::vector<double> radius(n + 1);
    for (std::size_t i = 0; i <= n; ++i) radius[i] = std::sqrt(v[i].x * v[i].x + v[i].y * v[i].y);
    for (std::size_t i = 0; i < n; ++i) reach = std::max(reach, radius[i]);
    // About two edges to a sector: a tooth's flank lies in a few sectors, a
    // land in a few more.
    sectors = static_cast<int>(std::clamp<std::size_t>(n / 2, 360, 1 << 18));
    std::vector<std::uint32_t> count(sectors + 1, 0);
    sectorReach.assign(sectors, 0);
    for (std::size_t e = 0; e < n; ++e) ForSectors(v[e], v[e + 1], [&](int k) { ++count[k + 1]; });
    first.assign(sectors + 1, 0);
    for (int k = 0; k < sectors; ++k) first[k + 1] = first[k] + count[k + 1];
    list.resize(first[sectors]);
    std::vector<std::uint32_t> fill(first.begin(), first.end() - 1);
    for (std::size_t e = 0; e < n; ++e) {
      const double far = std::max(radius[e], radius[e + 1]);
      ForSectors(v[e], v[e + 1], [&](int k) {
        list[fill[k]++] = static_cast<std::uint32_t>(e);
        sectorReach[k] = std::max(sectorReach[k], far);
      });
    }
    mark.assign(n, 0);
    queued.assign(n, 0);
    seen.assign(n, 0);
    edgeLength.resize(n);
    for (std::size_t e = 0; e < n; ++e) edgeLength[e] = std::hypot(v[e + 1].x - v[e].x, v[e + 1].y - v[e].y);
    BuildTree();
  }

  void BuildTree() {
    node.clear();
    node.reserve(size / LeafEdges * 4 + 64);
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
    return at;
  }

  // Whether p (own coordinates) lies inside: the crossings of the ray from
  // p away from the centre, all of them by edges of p's sector.
  bool Inside(const Point& p) const { return Inside(p, Sector(p)); }
  bool Inside(const Point& p, int k) const {
    const double pp = p.x * p.x + p.y * p.y;
    if (pp > sectorReach[k] * sectorReach[k]) return false;
    bool inside = false;
    for (std::uint32_t i = first[k]; i < first[k + 1]; ++i) {
      const std::uint32_t e = list[i];
      const Point &u = v[e], &w = v[e + 1];
      const double su = Cross(p, u), sw = Cross(p, w);
      if ((su > 0) == (sw > 0)) continue;
      const double t = su / (su - sw);
      const Point x{u.x + t * (w.x - u.x), u.y + t * (w.y - u.y)};
      if (x.x * p.x + x.y * p.y > pp) inside = !inside;
    }
    return inside;
  }

  // An upper bound of the distance of p from the outline: the nearest of
  // the edges in p's sector and its neighbours.
  double DepthBound(const Point& p, int k) const {
    double best = HUGE_VAL;
    for (int j = -1; j <= 1; ++j) {
      const int m = (k + j + sectors) % sectors;
      for (std::uint32_t i = first[m]; i < first[m + 1]; ++i) {
        const std::uint32_t e = list[i];
        best = std::min(best, SquaredDistanceFrom(v[e], v[e + 1], p));
      }
    }
    return std::sqrt(best);
  }

  // The lengths of the edges from and to vertex e.
  double EdgesAt(std::uint32_t e) const { return edgeLength[e] + edgeLength[e > 0 ? e - 1 : size - 1]; }
};

namespace {

using Outline = TMeshOutline;

// Calls leafPair(i, j) for the leaves i of A and j of B whose boxes come
// within slack of each other and meet the discs wa and wb (A's, B's), A
// seen through m in B's coordinates. slack may shrink while the pairs are
// visited.
template <class F>
void NearLeaves(const Outline& A, const Outline& B, const Motion& m, const double& slack, const Disc& wa,
                const Disc& wb, F&& leafPair) {
  // A pair of nodes, and whether either lies wholly within its disc (and
  // so do the nodes below it); all of it words, as an item is read back
  // whole right after it is written.
  struct Item {
    std::uint32_t a, b, withinA, withinB;
  };
  // Each step down pushes one item more than it takes: no more than the
  // two trees' depths are waiting (a tree is at most three times the
  // binary logarithm of its edges deep).
  std::array<Item, 512> stack;
  // Whether the node n meets the disc d (or lies within a disc that it
  // wholly lies in), and whether it lies wholly within it.
  auto meets = [](const TNode& n, const Disc& d, bool within, bool& inside) {
    inside = within;
    if (within) return true;
    if (Beyond(n.box, d)) return false;
    const double dx = n.box.x - d.c.x, dy = n.box.y - d.c.y, room = d.r - n.box.hu - n.box.hv;
    inside = room > 0 && dx * dx + dy * dy <= room * room;
    return true;
  };
  // Boxes larger than the discs, and both meeting them, are not worth
  // telling apart.
  const double big = std::min(wa.r, wb.r);
  auto descend = [&](const Item& start) {
    int top = 0;
    stack[top++] = start;
    while (top > 0) {
      const Item it = stack[--top];
      const TNode &na = A.node[it.a], &nb = B.node[it.b];
      const double sizeA = na.box.hu + na.box.hv, sizeB = nb.box.hu + nb.box.hv;
      if (std::max(sizeA, sizeB) <= big && Apart(na.box, m, nb.box, slack)) continue;
      const bool leafA = na.second == 0, leafB = nb.second == 0;
      bool in = false;
      if (leafA && leafB) {
        leafPair(na, nb);
      } else if (leafB || (!leafA && sizeA >= sizeB)) {
        if (meets(A.node[na.second], wa, it.withinA, in)) stack[top++] = {na.second, it.b, in, it.withinB};
        if (meets(A.node[it.a + 1], wa, it.withinA, in)) stack[top++] = {it.a + 1, it.b, in, it.withinB};
      } else {
        if (meets(B.node[nb.second], wb, it.withinB, in)) stack[top++] = {it.a, nb.second, it.withinA, in};
        if (meets(B.node[it.b + 1], wb, it.withinB, in)) stack[top++] = {it.a, it.b + 1, it.withinA, in};
      }
    }
  };
  const double pitchRadius = std::hypot(wb.c.x, wb.c.y);
  if (!(wa.r < HUGE_VAL && wb.r < HUGE_VAL && pitchRadius > 0)) {
    bool inA = false, inB = false;
    if (meets(A.node[0], wa, false, inA) && meets(B.node[0], wb, false, inB)) descend({0, 0, inA, inB});
    return;
  }
  // Within the discs, the nodes of about a tooth of either gear that meet
  // them, each where it lies along the tangent of the pitch point (in B's
  // coordinates); the pairs that lie apart along it are passed over.
  auto collect = [&](const Outline& o, const Disc& d, const Motion* to, std::vector<TBlock>& out) {
    out.clear();
    std::array<std::pair<std::uint32_t, bool>, 256> below;
    int n = 0;
    bool in = false;
    if (meets(o.node[0], d, false, in)) below[n++] = {0, in};
    while (n > 0) {
      const auto [at, within] = below[--n];
      const TNode& node = o.node[at];
      if (node.second == 0 || node.count <= BlockEdges) {
        const Point c = to ? (*to)({node.box.x, node.box.y}) : Point{node.box.x, node.box.y};
        out.push_back({at, within, (wb.c.x * c.y - wb.c.y * c.x) / pitchRadius, node.box.hu + node.box.hv});
        continue;
      }
      if (meets(o.node[node.second], d, within, in)) below[n++] = {node.second, in};
      if (meets(o.node[at + 1], d, within, in)) below[n++] = {at + 1, in};
    }
  };
  collect(A, wa, &m, A.blocks);
  collect(B, wb, nullptr, B.blocks);
  for (const TBlock& a : A.blocks)
    for (const TBlock& b : B.blocks) {
      if (std::fabs(a.along - b.along) > a.size + b.size + slack) continue;
      descend({a.node, b.node, a.within, b.within});
    }
}

// One gear (A) seen against the other (B) at a position: its vertices that
// lie inside B.
struct Facing {
  const Outline& A;
  const Outline& B;
  Motion toB;           // A's own coordinates to B's
  Motion toSum;         // and to those the area is summed in
  double depth = 0;     // the deepest of those vertices (a bound), mm
  double length = 0;    // the edges of A at them, mm

  Facing(const Outline& a, const Outline& b, const Motion& m) : A(a), B(b), toB(m) {
    ++A.seenPass;
    A.inside.clear();
  }

  // Vertex e, unless already looked at: whether it lies inside B (and then
  // it is taken).
  bool Take(std::uint32_t e) {
    if (A.seen[e] == A.seenPass) return false;
    A.seen[e] = A.seenPass;
    const Point q = toB(A.v[e]);
    const int k = B.Sector(q);
    if (!B.Inside(q, k)) return false;
    A.inside.push_back(e);
    depth = std::max(depth, B.DepthBound(q, k));
    length += A.EdgesAt(e);
    return true;
  }

  // The vertices inside B from vertex e on to either side, as far as they
  // stay inside.
  void TakeFrom(std::uint32_t e) {
    if (!Take(e)) return;
    const std::uint32_t n = static_cast<std::uint32_t>(A.Size());
    for (std::uint32_t f = e == 0 ? n - 1 : e - 1; Take(f); f = f == 0 ? n - 1 : f - 1) {
    }
    for (std::uint32_t f = e + 1 == n ? 0 : e + 1; Take(f); f = f + 1 == n ? 0 : f + 1) {
    }
  }

  // The vertices inside B: from the ends of the edges that cross B.
  void Collect() {
    const std::uint32_t n = static_cast<std::uint32_t>(A.Size());
    for (const std::uint32_t e : A.crossed) {
      TakeFrom(e);
      TakeFrom(e + 1 == n ? 0 : e + 1);
    }
  }
};

// The leaves i of A and j of B, A seen through m in B's coordinates: the
// edges of either that cross the other, and whether they come within gap
// of each other (looked for while touch is false and gap positive).
void MeetLeaves(const Outline& A, const Outline& B, const Motion& m, const TNode& i, const TNode& j, double gap,
                bool& touch) {
  const std::uint32_t na = i.count, nb = j.count;
  const std::uint32_t ea = i.from, eb = j.from;
  const Point *qa = &A.v[ea], *pb = &B.v[eb];
  const bool looking = !touch && gap > 0;
  const double margin = looking ? gap : 0;
  // Apart across the strip of B's leaf, or across that of A's; and only
  // the edges of either that reach into the other's strip can cross it.
  // (A's vertices along B's normal, taken back into A's coordinates.)
  const Strip sb = Across(j.box);
  std::array<double, LeafEdges + 1> da, db;
  const double bx = m.c * sb.nx + m.s * sb.ny, by = m.c * sb.ny - m.s * sb.nx, lift = sb.nx * m.tx + sb.ny * m.ty;
  double lo = HUGE_VAL, hi = -HUGE_VAL;
  for (std::uint32_t k = 0; k <= na; ++k) {
    da[k] = bx * qa[k].x + by * qa[k].y + lift;
    lo = std::min(lo, da[k]), hi = std::max(hi, da[k]);
  }
  if (lo > sb.hi + margin || hi < sb.lo - margin) return;
  const Strip sa = Across(i.box);
  const double nx = m.c * sa.nx - m.s * sa.ny, ny = m.s * sa.nx + m.c * sa.ny, shift = nx * m.tx + ny * m.ty;
  lo = HUGE_VAL, hi = -HUGE_VAL;
  for (std::uint32_t k = 0; k <= nb; ++k) {
    db[k] = nx * pb[k].x + ny * pb[k].y - shift;
    lo = std::min(lo, db[k]), hi = std::max(hi, db[k]);
  }
  if (lo > sa.hi + margin || hi < sa.lo - margin) return;
  auto reaching = [margin](const std::array<double, LeafEdges + 1>& d, std::uint32_t n, const Strip& s) {
    std::uint32_t mask = 0;
    for (std::uint32_t k = 0; k < n; ++k)
      if (std::max(d[k], d[k + 1]) >= s.lo - margin && std::min(d[k], d[k + 1]) <= s.hi + margin) mask |= 1u << k;
    return mask;
  };
  const std::uint32_t edgesA = reaching(da, na, sb), edgesB = reaching(db, nb, sa);
  // A's vertices in B's coordinates, those of the edges looked at; theirs
  // and B's along B's chord, where edges that cross overlap.
  Point pa[LeafEdges + 1];
  double ua[LeafEdges + 1], ub[LeafEdges + 1];
  const std::uint32_t needed = looking ? ~0u : edgesA | edgesA << 1;
  for (std::uint32_t k = 0; k <= na; ++k)
    if (needed >> k & 1) {
      pa[k] = m(qa[k]);
      ua[k] = j.box.ux * pa[k].x + j.box.uy * pa[k].y;
    }
  for (std::uint32_t k = 0; k <= nb; ++k) ub[k] = j.box.ux * pb[k].x + j.box.uy * pb[k].y;
  bool met = false;
  for (std::uint32_t ra = edgesA; ra != 0; ra &= ra - 1) {
    const std::uint32_t a = static_cast<std::uint32_t>(std::countr_zero(ra));
    const double a0 = std::min(ua[a], ua[a + 1]), a1 = std::max(ua[a], ua[a + 1]);
    for (std::uint32_t rb = edgesB; rb != 0; rb &= rb - 1) {
      const std::uint32_t b = static_cast<std::uint32_t>(std::countr_zero(rb));
      if (a1 < std::min(ub[b], ub[b + 1]) || a0 > std::max(ub[b], ub[b + 1])) continue;
      if (Meet(pa[a], pa[a + 1], pb[b], pb[b + 1])) {
        A.crossed.push_back(ea + a);
        B.crossed.push_back(eb + b);
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

// The area both outlines enclose: the integral of x dy (as the shoelace
// sums it, in the coordinates of toSum) along the pieces of each outline
// that lie inside the other. They are found from the edges at the vertices
// inside the other gear, and from there along the common boundary: a piece
// ends where its edge crosses one of the other outline, whose piece goes on
// from there, so that every edge crossed is summed too.
double CommonArea(const Facing& f1, const Facing& f2) {
  const Facing* sides[2] = {&f1, &f2};
  std::vector<std::uint32_t> queue[2];
  for (int i = 0; i < 2; ++i) {
    const Outline& A = sides[i]->A;
    ++A.queuePass;
    const std::size_t n = A.Size();
    for (const std::uint32_t e : A.inside)
      for (const std::uint32_t f : {static_cast<std::uint32_t>((e + n - 1) % n), e})
        if (A.queued[f] != A.queuePass) {
          A.queued[f] = A.queuePass;
          queue[i].push_back(f);
        }
  }
  double sum = 0;
  std::vector<double> cuts;
  while (!queue[0].empty() || !queue[1].empty()) {
    const int i = queue[0].empty() ? 1 : 0;
    const Facing& fa = *sides[i];
    const Outline &A = fa.A, &B = fa.B;
    const std::uint32_t e = queue[i].back();
    queue[i].pop_back();
    const std::size_t n = A.Size();
    const Point p = fa.toB(A.v[e]), q = fa.toB(A.v[e + 1]);
    const Point wp = fa.toSum(A.v[e]), wq = fa.toSum(A.v[e + 1]);
    double reach = 0;
    B.ForSectors(p, q, [&](int k) { reach = std::max(reach, B.sectorReach[k]); });
    if (SquaredDistanceFrom(p, q, {0, 0}) > reach * reach) continue;
    // Where the edge crosses B's edges in its sectors.
    cuts.clear();
    ++B.pass;
    const Point d{q.x - p.x, q.y - p.y};
    B.ForSectors(p, q, [&](int k) {
      for (std::uint32_t j = B.first[k]; j < B.first[k + 1]; ++j) {
        const std::uint32_t f = B.list[j];
        if (B.mark[f] == B.pass) continue;
        B.mark[f] = B.pass;
        const Point &u = B.v[f], &w = B.v[f + 1];
        const Point g{w.x - u.x, w.y - u.y};
        const double den = Cross(d, g);
        if (den == 0) continue;
        const Point pu{u.x - p.x, u.y - p.y};
        const double t = Cross(pu, g) / den, s = Cross(pu, d) / den;
        if (t > 0 && t < 1 && s >= 0 && s < 1) {
          cuts.push_back(t);
          if (B.queued[f] != B.queuePass) {
            B.queued[f] = B.queuePass;
            queue[1 - i].push_back(f);
          }
        }
      }
    });
    std::sort(cuts.begin(), cuts.end());
    cuts.push_back(1);
    double t0 = 0;
    auto follow = [&](std::uint32_t f) {
      if (A.queued[f] == A.queuePass) return;
      A.queued[f] = A.queuePass;
      queue[i].push_back(f);
    };
    for (const double t1 : cuts) {
      if (t1 > t0) {
        const double tm = (t0 + t1) / 2;
        if (B.Inside({p.x + tm * d.x, p.y + tm * d.y})) {
          const Point s0{wp.x + t0 * (wq.x - wp.x), wp.y + t0 * (wq.y - wp.y)};
          const Point s1{wp.x + t1 * (wq.x - wp.x), wp.y + t1 * (wq.y - wp.y)};
          sum += Cross(s0, s1) / 2;
          // A piece that reaches a vertex goes on along the next edge.
          if (t0 == 0) follow(static_cast<std::uint32_t>((e + n - 1) % n));
          if (t1 == 1) follow(static_cast<std::uint32_t>((e + 1) % n));
        }
      }
      t0 = t1;
    }
  }
  return sum;
}

}  // namespace

TMeshingPair::TMeshingPair(const std::vector<TContourPiece>& gear1, const std::vector<TContourPiece>& gear2, Real a)
    : gear1_(std::make_unique<TMeshOutline>()), gear2_(std::make_unique<TMeshOutline>()), a_(a) {
  gear1_->Build(gear1);
  gear2_->Build(gear2);
}

TMeshingPair::~TMeshingPair() = default;

Real TMeshingPair::OverlapArea(Real phi, Real turn2, Real pitch) const {
  bool touch = true;
  return OverlapAbove(phi, turn2, -1, 0, touch, pitch);
}

Real TMeshingPair::OverlapAbove(Real phi, Real turn2, Real tolerance, Real gap, bool& touch, Real pitch,
                                Real radius1) const {
  const Outline &o1 = *gear1_, &o2 = *gear2_;
  if (o1.Size() == 0 || o2.Size() == 0) return 0;
  const double a = static_cast<double>(a_), t1 = static_cast<double>(-phi), t2 = static_cast<double>(turn2);
  const double c1 = std::cos(t1), s1 = std::sin(t1), c2 = std::cos(t2), s2 = std::sin(t2);
  const Motion toTwo = Between(c1, s1, 0, 0, c2, s2, a, 0), toOne = Between(c2, s2, a, 0, c1, s1, 0, 0);
  // Given the pitch, only the teeth within TeethEachSide pitches of the
  // pitch point (at radius1 from gear 1's centre on the line of centres,
  // or where gear 2's outline reaches) and a half.
  Disc w1, w2;
  if (pitch > 0) {
    const double r1 = radius1 > 0 ? static_cast<double>(radius1) : a - o2.reach;
    w1 = {{c1 * r1, -s1 * r1}, (TeethEachSide + 0.5) * static_cast<double>(pitch)};
    w2 = {toTwo(w1.c), w1.r};
  }
  // The leaves of the two outlines that come near each other (within the
  // gap while no touch is known; the boxes are widened by the rounding of
  // the gears' coordinates).
  const double roundoff = 1e-9 * (a + o1.reach + o2.reach);
  const double g = static_cast<double>(gap);
  bool touched = touch;
  double slack = (!touched && g > 0 ? g : 0) + roundoff;
  o1.crossed.clear();
  o2.crossed.clear();
  NearLeaves(o1, o2, toTwo, slack, w1, w2, [&](const TNode& i, const TNode& j) {
    MeetLeaves(o1, o2, toTwo, i, j, g, touched);
    if (touched) slack = roundoff;
  });
  // Every vertex of one outline inside the other lies on a piece of it that
  // begins and ends at an edge that crosses the other, unless it lies
  // inside whole (as outlines that lost their teeth can): then so does its
  // first vertex, the seed of the walk.
  if (o1.crossed.empty()) {
    const bool oneInTwo = o2.Inside(toTwo(o1.v[0])), twoInOne = o1.Inside(toOne(o2.v[0]));
    if (!oneInTwo && !twoInOne) {
      touch = touched;
      return 0;
    }
    if (oneInTwo) o1.crossed.push_back(0);
    if (twoInOne) o2.crossed.push_back(0);
    touched = true;
  }
  touch = touched;
  Facing f1(o1, o2, toTwo), f2(o2, o1, toOne);
  f1.Collect();
  f2.Collect();
  if (o1.inside.empty() && o2.inside.empty()) return 0;
  // A sliver no thicker than its deepest vertex along the edges at the
  // vertices inside encloses at most their product.
  if (tolerance >= 0 && std::max(f1.depth, f2.depth) * (f1.length + f2.length) <= static_cast<double>(tolerance))
    return 0;
  // The area is summed about the middle of the centre line, near the
  // contact, which keeps the rounding small.
  f1.toSum = Between(c1, s1, -a / 2, 0, 1, 0, 0, 0);
  f2.toSum = Between(c2, s2, a / 2, 0, 1, 0, 0, 0);
  const double area = std::max(CommonArea(f1, f2), 0.0);
  // Teeth that collide near the line of centres may collide farther out
  // too (at a curve's corners): the whole outlines then give the largest.
  if (pitch > 0 && area > tolerance) {
    bool whole = true;
    return std::max<Real>(area, OverlapAbove(phi, turn2, tolerance, 0, whole));
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
                          const TPitchTrack& track2, Real a, int turns, Real module, long teeth2) {
  TMeshFinding finding;
  // Without teeth there is nothing to check (and nothing to warn of).
  if (gear1.empty() || gear2.empty() || track2.Pieces.size() + 1 != track2.Phi.size()) return finding;
  const TMeshingPair pair(gear1, gear2, a);
  const Real tolerance = OverlapToleranceFactor * module * module;
  const Real gap = ContactGapFactor * module;
  const Real pitch = std::numbers::pi_v<Real> * module;
  const long cycle = 360L * std::max(turns, 1);
  // The drive angles grow: the piece of gear 2's track that holds each
  // is found from the last one's on.
  const std::size_t samples = track2.Phi.size();
  std::size_t piece = 0;
  for (const Real phi : MeshPositions(track2, turns, module, teeth2)) {
    // Gear 2's pitch point of the drive angle (as AtDriveAngle finds it),
    // turned onto the line of centres (as GearTwoTurn turns it).
    while (piece + 2 < samples && track2.Phi[piece + 1] <= phi) ++piece;
    const Real dphi = track2.Phi[piece + 1] - track2.Phi[piece];
    const double s = dphi > 0 ? static_cast<double>(std::clamp((phi - track2.Phi[piece]) / dphi, Real(0), Real(1))) : 0;
    double x, y;
    track2.Pieces[piece].As<double>().Point(s, x, y);
    const Real turn2 = std::numbers::pi - std::atan2(y, x);
    const Real area = pair.OverlapAbove(phi, turn2, tolerance, gap, finding.contact, pitch, a - std::hypot(x, y));
    ++finding.positions;
    if (!(area > tolerance)) continue;
    ++finding.overlapping;
    if (finding.firstDegree < 0) {
      finding.firstAngle = phi;
      finding.firstDegree = static_cast<int>(std::lround(phi * 180 / std::numbers::pi_v<Real>) % cycle);
    }
    if (area > finding.largestArea) {
      finding.largestArea = area;
      finding.largestAngle = phi;
    }
  }
  return finding;
}

}  // namespace drawing
