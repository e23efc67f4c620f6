// Ear clipping of a region with holes; see polygon_triangulation.h.
//
// The rings are kept as one doubly linked list of nodes. Each hole is first
// joined to the outer ring by a cut from its rightmost point to a point of
// the ring it sees, walked there and back (the two ends of the cut appear
// twice in the list). Then ears are cut off: a corner that turns left and
// whose triangle holds no other point of the list. Only the corners that
// turn right (or not at all) can lie in an ear, and cutting an ear never
// makes a new one, so they are found in a grid made once. The predicates
// are evaluated on the points as given: a caller that writes rounded
// numbers hands over the rounded points.
//
// A list in which no ear is left (a ring that crosses itself) first has its
// small crossings cut out, then the corner that turns left most is cut off
// even though its triangle holds points. The work is bounded (a budget in
// proportion to the points): what is left when it runs out is cut as a
// fan, and holes are joined to the nearest point, so that no input keeps
// the cutting going for long, though its faces may overlap then.
#include "common/polygon_triangulation.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace common {

namespace {

Real Cross(const PlanePoint& a, const PlanePoint& b, const PlanePoint& c) {
  return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

bool Same(const PlanePoint& a, const PlanePoint& b) { return a.x == b.x && a.y == b.y; }

int Sign(Real v) { return (v > 0) - (v < 0); }

// q within the box of a and b (q on the line through them).
bool WithinBox(const PlanePoint& a, const PlanePoint& q, const PlanePoint& b) {
  return q.x <= std::max(a.x, b.x) && q.x >= std::min(a.x, b.x) && q.y <= std::max(a.y, b.y) &&
         q.y >= std::min(a.y, b.y);
}

// Whether the segments ab and cd have a point in common, ends included.
bool SegmentsMeet(const PlanePoint& a, const PlanePoint& b, const PlanePoint& c, const PlanePoint& d) {
  const int o1 = Sign(Cross(a, b, c)), o2 = Sign(Cross(a, b, d));
  const int o3 = Sign(Cross(c, d, a)), o4 = Sign(Cross(c, d, b));
  if (o1 != o2 && o3 != o4) return true;
  if (o1 == 0 && WithinBox(a, c, b)) return true;
  if (o2 == 0 && WithinBox(a, d, b)) return true;
  if (o3 == 0 && WithinBox(c, a, d)) return true;
  if (o4 == 0 && WithinBox(c, b, d)) return true;
  return false;
}

// Whether the segments ab and cd cross at a point inside both.
bool SegmentsCross(const PlanePoint& a, const PlanePoint& b, const PlanePoint& c, const PlanePoint& d) {
  const int o1 = Sign(Cross(a, b, c)), o2 = Sign(Cross(a, b, d));
  const int o3 = Sign(Cross(c, d, a)), o4 = Sign(Cross(c, d, b));
  return o1 * o2 < 0 && o3 * o4 < 0;
}

// q inside the counter-clockwise triangle abc or on its border.
bool InTriangle(const PlanePoint& a, const PlanePoint& b, const PlanePoint& c, const PlanePoint& q) {
  return Cross(a, b, q) >= 0 && Cross(b, c, q) >= 0 && Cross(c, a, q) >= 0;
}

// A uniform grid of square-ish cells over the box of all points, listing
// items (indices) per cell.
class Grid {
 public:
  void Reset(Real xmin, Real ymin, Real xmax, Real ymax, int cells) {
    xmin_ = xmin;
    ymin_ = ymin;
    xmax_ = xmax;
    ymax_ = ymax;
    cells_ = std::clamp(cells, 1, 1024);
    buckets_.assign(static_cast<std::size_t>(cells_) * cells_, {});
  }
  int Cells() const { return cells_; }
  int CellX(Real x) const { return CellOf(x, xmin_, xmax_); }
  int CellY(Real y) const { return CellOf(y, ymin_, ymax_); }
  std::vector<int>& Bucket(int cx, int cy) { return buckets_[static_cast<std::size_t>(cy) * cells_ + cx]; }
  void AddPoint(int item, const PlanePoint& q) { Bucket(CellX(q.x), CellY(q.y)).push_back(item); }

  // Calls visit(cx, cy) for the cells the triangle abc (a segment when two
  // corners are one) may touch: row by row, the cells across the part of
  // the triangle in that row and one more on either side, so that a long
  // thin triangle costs cells in proportion to its length, not its box.
  // visit returns false to stop; so does ForCells then.
  template <typename Visit>
  bool ForCells(const PlanePoint& a, const PlanePoint& b, const PlanePoint& c, const Visit& visit) {
    const PlanePoint corners[3] = {a, b, c};
    const int y0 = CellY(std::min({a.y, b.y, c.y})), y1 = CellY(std::max({a.y, b.y, c.y}));
    const Real height = (ymax_ - ymin_) / cells_;
    const Real margin = height * 1e-6L;
    for (int cy = y0; cy <= y1; ++cy) {
      Real lo = ymin_ + cy * height - margin, hi = ymin_ + (cy + 1) * height + margin;
      if (cy == y0) lo = -HUGE_VALL;
      if (cy == y1) hi = HUGE_VALL;
      Real xlo = HUGE_VALL, xhi = -HUGE_VALL;
      for (int k = 0; k < 3; ++k) {
        const PlanePoint& p = corners[k];
        const PlanePoint& q = corners[(k + 1) % 3];
        if (p.y >= lo && p.y <= hi) {
          xlo = std::min(xlo, p.x);
          xhi = std::max(xhi, p.x);
        }
        for (const Real line : {lo, hi}) {
          if (!std::isfinite(line) || (p.y - line) * (q.y - line) >= 0) continue;
          const Real x = p.x + (q.x - p.x) * (line - p.y) / (q.y - p.y);
          xlo = std::min(xlo, x);
          xhi = std::max(xhi, x);
        }
      }
      if (xlo > xhi) continue;
      const int x0 = std::max(0, CellX(xlo) - 1), x1 = std::min(cells_ - 1, CellX(xhi) + 1);
      for (int cx = x0; cx <= x1; ++cx)
        if (!visit(cx, cy)) return false;
    }
    return true;
  }

 private:
  int CellOf(Real v, Real lo, Real hi) const {
    if (!(hi > lo)) return 0;
    const Real t = (v - lo) / (hi - lo) * cells_;
    if (!(t > 0)) return 0;
    if (t >= cells_) return cells_ - 1;
    return static_cast<int>(t);
  }

  Real xmin_ = 0, ymin_ = 0, xmax_ = 0, ymax_ = 0;
  int cells_ = 1;
  std::vector<std::vector<int>> buckets_;
};

struct Node {
  int v = 0;
  int prev = 0, next = 0;
  bool removed = false;
};

class Triangulator {
 public:
  Triangulator(const std::vector<PlanePoint>& points, std::vector<TriangleCorners>& triangles)
      : p_(points), triangles_(triangles) {}

  void Run(const std::vector<int>& outer, const std::vector<std::vector<int>>& holes) {
    if (outer.size() < 3) return;
    Bounds(outer);
    for (const auto& hole : holes) Bounds(hole);
    const int start = AddRing(outer);
    // The holes' rings, rightmost point first.
    std::vector<int> rightmost;
    for (const auto& hole : holes) {
      if (hole.size() < 3) continue;
      const int first = AddRing(hole);
      int right = first;
      for (int k = 1; k < static_cast<int>(hole.size()); ++k)
        if (RightOf(first + k, right)) right = first + k;
      rightmost.push_back(right);
    }
    std::sort(rightmost.begin(), rightmost.end(), [this](int a, int b) { return RightOf(a, b); });
    // A few hundred steps a point are plenty for any outline drawn; only
    // a contrived one needs more.
    budget_ = 512 * static_cast<long long>(nodes_.size()) + 4000000;
    if (!rightmost.empty()) {
      PrepareBridging(start);
      for (const int m : rightmost) Bridge(m);
    }
    ClipEars(start);
  }

 private:
  const PlanePoint& P(int node) const { return p_[nodes_[node].v]; }

  bool RightOf(int a, int b) const { return P(a).x > P(b).x || (P(a).x == P(b).x && P(a).y > P(b).y); }

  void Bounds(const std::vector<int>& ring) {
    for (const int v : ring) {
      const PlanePoint& q = p_[v];
      if (!haveBounds_) {
        xmin_ = xmax_ = q.x;
        ymin_ = ymax_ = q.y;
        haveBounds_ = true;
      }
      xmin_ = std::min(xmin_, q.x);
      xmax_ = std::max(xmax_, q.x);
      ymin_ = std::min(ymin_, q.y);
      ymax_ = std::max(ymax_, q.y);
    }
  }

  // Cells per side for about four items a cell.
  static int CellsFor(std::size_t items) { return static_cast<int>(std::sqrt(static_cast<double>(items)) / 2); }

  int AddRing(const std::vector<int>& ring) {
    const int first = static_cast<int>(nodes_.size());
    const int n = static_cast<int>(ring.size());
    for (int i = 0; i < n; ++i) nodes_.push_back({ring[i], first + (i + n - 1) % n, first + (i + 1) % n, false});
    return first;
  }

  Real Turn(int node) const { return Cross(P(nodes_[node].prev), P(node), P(nodes_[node].next)); }

  // Whether the direction from node to q leaves into the material: between
  // the node's two edges on the side left of the ring.
  bool LocallyInside(int node, const PlanePoint& q) const {
    const PlanePoint& a = P(node);
    const PlanePoint& before = P(nodes_[node].prev);
    const PlanePoint& after = P(nodes_[node].next);
    if (Cross(before, a, after) > 0) return Cross(a, after, q) > 0 && Cross(before, a, q) > 0;
    return Cross(a, after, q) > 0 || Cross(before, a, q) > 0;
  }

  void Emit(int a, int b, int c) { triangles_.push_back({nodes_[a].v, nodes_[b].v, nodes_[c].v}); }

  void Unlink(int node) {
    Node& n = nodes_[node];
    nodes_[n.prev].next = n.next;
    nodes_[n.next].prev = n.prev;
    n.removed = true;
  }

  // ---- Joining the holes ---------------------------------------------------------

  // The grids of the joining: the points of the outer ring (and of each
  // hole once joined), and every edge of all rings for the cuts' sight
  // lines. Long edges would fill many cells: the edge grid is made coarser
  // until its lists hold some eight entries an edge.
  void PrepareBridging(int start) {
    const std::size_t total = nodes_.size();
    points_.Reset(xmin_, ymin_, xmax_, ymax_, CellsFor(total));
    Real across = 0;  // the edges' lengths in the box's widths and heights
    const Real w = xmax_ - xmin_, h = ymax_ - ymin_;
    for (std::size_t k = 0; k < total; ++k) {
      const PlanePoint& a = P(static_cast<int>(k));
      const PlanePoint& b = P(nodes_[k].next);
      if (w > 0) across += std::fabs(b.x - a.x) / w;
      if (h > 0) across += std::fabs(b.y - a.y) / h;
    }
    int cells = CellsFor(total);
    if (across * cells > 6.0L * static_cast<Real>(total)) cells = static_cast<int>(6.0L * static_cast<Real>(total) / across);
    edges_.Reset(xmin_, ymin_, xmax_, ymax_, cells);
    int node = start;
    do {
      points_.AddPoint(node, P(node));
      node = nodes_[node].next;
    } while (node != start);
    for (std::size_t k = 0; k < total; ++k) AddEdge(static_cast<int>(k));
  }

  void AddEdge(int node) {
    const int e = static_cast<int>(edgeEnds_.size());
    edgeEnds_.push_back({nodes_[node].v, nodes_[nodes_[node].next].v});
    const PlanePoint& a = p_[edgeEnds_.back().first];
    const PlanePoint& b = p_[edgeEnds_.back().second];
    edges_.ForCells(a, b, b, [&](int cx, int cy) {
      edges_.Bucket(cx, cy).push_back(e);
      return true;
    });
    seen_.push_back(0);
  }

  // Whether the open segment from m to v meets no edge of any ring.
  bool Sees(const PlanePoint& m, const PlanePoint& v) {
    ++visit_;
    return edges_.ForCells(m, v, v, [&](int cx, int cy) {
      --budget_;
      for (const int e : edges_.Bucket(cx, cy)) {
        --budget_;
        if (seen_[e] == visit_) continue;
        seen_[e] = visit_;
        const PlanePoint& s = p_[edgeEnds_[e].first];
        const PlanePoint& t = p_[edgeEnds_[e].second];
        // Edges that end where the cut ends only touch it there.
        if (Same(s, m) || Same(t, m) || Same(s, v) || Same(t, v)) continue;
        if (SegmentsMeet(m, v, s, t)) return false;
      }
      return true;
    });
  }

  // Joins the hole whose rightmost node is m to the joined rings: the
  // nearest joined point that the cut from m reaches without meeting an
  // edge, entering the material at both ends. Searched ring by ring of
  // grid cells round m.
  void Bridge(int m) {
    if (JoinWhereTouching(m)) return;
    const PlanePoint& pm = P(m);
    const int cx = points_.CellX(pm.x), cy = points_.CellY(pm.y);
    const int cells = points_.Cells();
    int target = -1;
    std::vector<std::pair<Real, int>> candidates;
    for (int r = 0; r < cells && target < 0; ++r) {
      candidates.clear();
      const auto take = [&](int x, int y) {
        --budget_;
        if (x < 0 || y < 0 || x >= cells || y >= cells) return;
        for (const int c : points_.Bucket(x, y)) {
          --budget_;
          candidates.emplace_back(std::hypot(P(c).x - pm.x, P(c).y - pm.y), c);
        }
      };
      if (r == 0) take(cx, cy);
      for (int k = -r; k < r; ++k) {
        // The square of cells at distance r, side by side.
        take(cx + k, cy - r);
        take(cx + r, cy + k);
        take(cx - k, cy + r);
        take(cx - r, cy - k);
      }
      std::sort(candidates.begin(), candidates.end());
      for (const auto& [d, c] : candidates) {
        // Out of work: the nearest point, sight or not.
        if (budget_ < 0) {
          target = c;
          break;
        }
        if (Same(P(c), pm)) continue;
        if (!LocallyInside(c, pm) || !LocallyInside(m, P(c))) continue;
        if (!Sees(pm, P(c))) continue;
        target = c;
        break;
      }
    }
    // Rings that do not lie as they should (a hole outside the outer ring)
    // are joined all the same, to the nearest point.
    if (target < 0) {
      Real best = HUGE_VALL;
      for (int x = 0; x < cells; ++x)
        for (int y = 0; y < cells; ++y)
          for (const int c : points_.Bucket(x, y)) {
            const Real d = std::hypot(P(c).x - pm.x, P(c).y - pm.y);
            if (d < best) {
              best = d;
              target = c;
            }
          }
    }
    if (target >= 0) Splice(target, m);
  }

  // A hole that touches the joined rings at a point is joined there, by no
  // cut: where its two edges at the point leave into the material round it.
  bool JoinWhereTouching(int m) {
    int h = m;
    do {
      const PlanePoint& q = P(h);
      for (const int c : points_.Bucket(points_.CellX(q.x), points_.CellY(q.y))) {
        --budget_;
        if (!Same(P(c), q)) continue;
        if (!LocallyInside(c, P(nodes_[h].next)) || !LocallyInside(c, P(nodes_[h].prev))) continue;
        // target -> the hole round from after h to before h -> target' ->
        // target's next; the hole's own node at the point is left out.
        const int after = nodes_[c].next;
        const int first = nodes_[h].next, last = nodes_[h].prev;
        const int c2 = static_cast<int>(nodes_.size());
        nodes_.push_back({nodes_[c].v, last, after, false});
        nodes_[h].removed = true;
        nodes_[c].next = first;
        nodes_[first].prev = c;
        nodes_[last].next = c2;
        nodes_[after].prev = c2;
        for (int node = first; node != c2; node = nodes_[node].next) points_.AddPoint(node, P(node));
        points_.AddPoint(c2, P(c2));
        return true;
      }
      h = nodes_[h].next;
    } while (h != m);
    return false;
  }

  // target -> m -> (the hole round) -> m' -> target' -> target's next.
  void Splice(int target, int m) {
    const int after = nodes_[target].next;
    const int before = nodes_[m].prev;
    const int m2 = static_cast<int>(nodes_.size());
    nodes_.push_back({nodes_[m].v, before, 0, false});
    const int t2 = static_cast<int>(nodes_.size());
    nodes_.push_back({nodes_[target].v, m2, after, false});
    nodes_[m2].next = t2;
    nodes_[before].next = m2;
    nodes_[after].prev = t2;
    nodes_[target].next = m;
    nodes_[m].prev = target;
    for (int node = m; node != t2; node = nodes_[node].next) points_.AddPoint(node, P(node));
    points_.AddPoint(t2, P(t2));
    AddEdge(target);  // the cut, walked either way
  }

  // ---- Cutting off ears ------------------------------------------------------------

  void IndexReflex(int start) {
    reflex_.Reset(xmin_, ymin_, xmax_, ymax_, CellsFor(static_cast<std::size_t>(count_)));
    int node = start;
    do {
      if (Turn(node) <= 0) reflex_.AddPoint(node, P(node));
      node = nodes_[node].next;
    } while (node != start);
  }

  bool IsEar(int node) {
    const Node& n = nodes_[node];
    const PlanePoint& a = P(n.prev);
    const PlanePoint& b = P(node);
    const PlanePoint& c = P(n.next);
    if (Cross(a, b, c) <= 0) return false;
    return reflex_.ForCells(a, b, c, [&](int cx, int cy) {
      --budget_;
      for (const int q : reflex_.Bucket(cx, cy)) {
        --budget_;
        if (nodes_[q].removed || q == node || q == n.prev || q == n.next) continue;
        const PlanePoint& pq = P(q);
        // The other end of a cut lies where its first end does.
        if (Same(pq, a) || Same(pq, b) || Same(pq, c)) continue;
        if (InTriangle(a, b, c, pq) && Turn(q) <= 0) return false;
      }
      return true;
    });
  }

  void Cut(int node) {
    const Node n = nodes_[node];
    Emit(n.prev, node, n.next);
    Unlink(node);
    --count_;
  }

  // A ring that crosses itself between neighbours, a -> b and c -> d with
  // b -> c between them: the triangles a, b, d and b, c, d are cut off
  // (every edge of the list stays in one triangle) and b and c leave.
  bool CureCrossings(int& start) {
    int node = start;
    bool cured = false;
    const int count = count_;
    budget_ -= count;
    for (int k = 0; k < count && count_ > 3; ++k) {
      const int a = nodes_[node].prev;
      const int b = node;
      const int c = nodes_[b].next;
      const int d = nodes_[c].next;
      if (!Same(P(a), P(d)) && SegmentsCross(P(a), P(b), P(c), P(d)) && LocallyInside(a, P(d)) &&
          LocallyInside(d, P(a))) {
        Emit(a, b, d);
        Emit(b, c, d);
        Unlink(b);
        Unlink(c);
        count_ -= 2;
        node = d;
        start = d;
        cured = true;
        continue;
      }
      node = nodes_[node].next;
    }
    return cured;
  }

  // The corner that turns left most (or, with none, the least right).
  int ForcedEar(int start) {
    budget_ -= count_;
    int best = start;
    Real bestTurn = Turn(start);
    for (int node = nodes_[start].next; node != start; node = nodes_[node].next) {
      const Real turn = Turn(node);
      if (turn > bestTurn) {
        best = node;
        bestTurn = turn;
      }
    }
    return best;
  }

  void ClipEars(int start) {
    count_ = 0;
    int node = start;
    do {
      ++count_;
      node = nodes_[node].next;
    } while (node != start);
    IndexReflex(start);
    int ear = start;
    int stop = ear;
    bool cured = false;
    while (count_ > 3) {
      if (budget_ < 0) {
        // Out of work: the rest as a fan, so that the faces still close.
        while (count_ > 3) Cut(nodes_[ear].next);
        break;
      }
      --budget_;
      const int next = nodes_[ear].next;
      if (IsEar(ear)) {
        const int prev = nodes_[ear].prev;
        Cut(ear);
        // Back to the corner before: cutting may have made it an ear.
        ear = prev;
        stop = prev;
        cured = false;
        continue;
      }
      ear = next;
      if (ear != stop) continue;
      // A whole round without an ear: the ring crosses itself.
      if (!cured && CureCrossings(ear)) {
        cured = true;
        stop = ear;
        continue;
      }
      const int forced = ForcedEar(ear);
      const int prev = nodes_[forced].prev, after = nodes_[forced].next;
      Cut(forced);
      // Its neighbours may turn right now; the grid learns them.
      for (const int q : {prev, after})
        if (Turn(q) <= 0) reflex_.AddPoint(q, P(q));
      ear = prev;
      stop = prev;
      cured = false;
    }
    if (count_ == 3) Emit(nodes_[ear].prev, ear, nodes_[ear].next);
  }

  const std::vector<PlanePoint>& p_;
  std::vector<TriangleCorners>& triangles_;
  std::vector<Node> nodes_;
  Real xmin_ = 0, xmax_ = 0, ymin_ = 0, ymax_ = 0;
  bool haveBounds_ = false;
  Grid points_, edges_, reflex_;
  std::vector<std::pair<int, int>> edgeEnds_;
  std::vector<std::uint32_t> seen_;
  std::uint32_t visit_ = 0;
  int count_ = 0;
  long long budget_ = 0;
};

}  // namespace

std::vector<TriangleCorners> TriangulateRegion(const std::vector<PlanePoint>& points, const std::vector<int>& outer,
                                               const std::vector<std::vector<int>>& holes) {
  std::vector<TriangleCorners> triangles;
  Triangulator(points, triangles).Run(outer, holes);
  return triangles;
}

}  // namespace common
