// The meshing check of the two tooth outlines; see mesh_check.h.
//
// The common area of two simple polygons is the integral of x dy round its
// boundary, which consists of the pieces of each outline that lie inside the
// other. Each outline is indexed twice by the polar angle about its own
// centre: the sectors of a fixed grid list the edges that pass through them
// and the farthest reach of those edges, so that a point of the other gear
// beyond that reach is seen to lie outside at once, only the few edges of
// the same sectors are tested for crossings, and whether a point lies
// inside is decided by counting the edges that a ray from the point
// outwards crosses within its sector; and bins of the polar angle list the
// vertices and the reach of the edges through them, so that only the
// vertices near the line of centres are looked at (within the lens of the
// two outlines' reaches and a few pitches), and of them only those in
// groups of bins that come within the other gear's reach: only the teeth
// that can touch cost anything. Where vertices lie inside the other gear,
// but so shallowly that the area cannot reach the tolerance, the area is
// not summed. The sums are in double precision: the areas that matter are
// hundredths of a square millimetre and more.
#include "drawing/mesh_check.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "drawing/polar_sectors.h"

namespace drawing {

namespace {

constexpr double Pi = std::numbers::pi;
// Teeth of a pair that meshes touch within a pitch or so of the line of
// centres (the contact ratio is rarely above two); those of a pair that
// interferes, a tooth farther. (Where a curve has corners, teeth farther
// out collide too, but then so do these.)
constexpr double TeethEachSide = 3;
// Bins of the polar angle looked at together first: a third of a tooth or so.
constexpr int GroupBins = 8;

struct Point {
  double x = 0, y = 0;
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

// A rigid motion: turned by an angle, then shifted.
struct Motion {
  double c = 1, s = 0, tx = 0, ty = 0;
  Point operator()(const Point& p) const { return {c * p.x - s * p.y + tx, s * p.x + c * p.y + ty}; }
};

// From the own coordinates of a gear turned by ta about (ax, ay) to those of
// one turned by tb about (bx, by).
Motion Between(double ta, double ax, double ay, double tb, double bx, double by) {
  const double cb = std::cos(tb), sb = std::sin(tb);
  const double dx = ax - bx, dy = ay - by;
  return {std::cos(ta - tb), std::sin(ta - tb), cb * dx + sb * dy, -sb * dx + cb * dy};
}

}  // namespace

// An outline indexed by the polar angle about its centre.
struct TMeshOutline {
  std::vector<Point> v;  // counter-clockwise, the first vertex repeated at the end
  std::size_t size = 0;  // the vertices (edge e runs from v[e] to v[e + 1])
  double reach = 0;      // the largest distance of a vertex from the centre
  int sectors = 0;
  std::vector<std::uint32_t> first;  // edges of sector k: list[first[k] .. first[k + 1])
  std::vector<std::uint32_t> list;
  std::vector<double> sectorReach;   // the farthest point of those edges
  std::vector<double> edgeLength;    // of edge e, from vertex e
  // The vertices by bins of the polar angle (of equal angle, as many as
  // sectors): bin b holds vertexList[vertexFirst[b] .. vertexFirst[b + 1]).
  std::vector<std::uint32_t> vertexFirst, vertexList;
  std::vector<double> binReach;  // the farthest point of the edges through each bin
  // Groups of GroupBins bins: a circle about each that holds its vertices
  // (radius -1: none).
  std::vector<Point> groupCentre;
  std::vector<double> groupRadius;
  // Marks of the edges and the pass that set them: an edge in several
  // sectors is taken once per pass.
  mutable std::vector<std::uint32_t> mark;
  mutable std::uint32_t pass = 0;
  // The same for the edges queued for the area sum.
  mutable std::vector<std::uint32_t> queued;
  mutable std::uint32_t queuePass = 0;

  std::size_t Size() const { return size; }
  int Sector(const Point& p) const { return PolarSector(p.x, p.y, sectors); }
  int Bin(double angle) const {
    const double turn = angle / (2 * Pi);
    const int b = static_cast<int>(std::floor((turn - std::floor(turn)) * sectors));
    return std::clamp(b, 0, sectors - 1);
  }
  // Calls f(sector) for the sectors from the polar angle of p to that of q
  // the short way round.
  template <class F>
  void ForSectors(const Point& p, const Point& q, F&& f) const {
    int from = 0;
    const int count = SectorSpan(p.x, p.y, q.x, q.y, sectors, from);
    for (int j = 0; j < count; ++j) f((from + j) % sectors);
  }

  void Build(const std::vector<TContourPiece>& pieces) {
    for (const TContourPiece& piece : pieces)
      for (std::size_t i = 0; i < piece.X.size(); ++i) {
        const Point p{static_cast<double>(piece.X[i]), static_cast<double>(piece.Y[i])};
        if (!v.empty() && v.back().x == p.x && v.back().y == p.y) continue;
        v.push_back(p);
      }
    while (v.size() > 1 && v.back().x == v.front().x && v.back().y == v.front().y) v.pop_back();
    if (v.size() < 3) {
      v.clear();
      return;
    }
    double area = 0;
    for (std::size_t i = 0; i < v.size(); ++i) area += Cross(v[i], v[(i + 1) % v.size()]);
    if (area < 0) std::reverse(v.begin(), v.end());
    for (const Point& p : v) reach = std::max(reach, std::hypot(p.x, p.y));
    // About two edges to a sector: a tooth's flank lies in a few sectors, a
    // land in a few more.
    sectors = static_cast<int>(std::clamp<std::size_t>(v.size() / 2, 360, 1 << 18));
    std::vector<std::uint32_t> count(sectors + 1, 0);
    sectorReach.assign(sectors, 0);
    const std::size_t n = v.size();
    for (std::size_t e = 0; e < n; ++e) ForSectors(v[e], v[(e + 1) % n], [&](int k) { ++count[k + 1]; });
    first.assign(sectors + 1, 0);
    for (int k = 0; k < sectors; ++k) first[k + 1] = first[k] + count[k + 1];
    list.resize(first[sectors]);
    std::vector<std::uint32_t> fill(first.begin(), first.end() - 1);
    for (std::size_t e = 0; e < n; ++e) {
      const Point &p = v[e], &q = v[(e + 1) % n];
      const double far = std::max(std::hypot(p.x, p.y), std::hypot(q.x, q.y));
      ForSectors(p, q, [&](int k) {
        list[fill[k]++] = static_cast<std::uint32_t>(e);
        sectorReach[k] = std::max(sectorReach[k], far);
      });
    }
    mark.assign(n, 0);
    queued.assign(n, 0);
    edgeLength.resize(n);
    for (std::size_t e = 0; e < n; ++e) {
      const Point &p = v[e], &q = v[(e + 1) % n];
      edgeLength[e] = std::hypot(q.x - p.x, q.y - p.y);
    }
    std::vector<int> bin(n);
    vertexFirst.assign(sectors + 1, 0);
    for (std::size_t i = 0; i < n; ++i) {
      bin[i] = Bin(std::atan2(v[i].y, v[i].x));
      ++vertexFirst[bin[i] + 1];
    }
    for (int b = 0; b < sectors; ++b) vertexFirst[b + 1] += vertexFirst[b];
    vertexList.resize(n);
    std::vector<std::uint32_t> at(vertexFirst.begin(), vertexFirst.end() - 1);
    binReach.assign(sectors, 0);
    for (std::size_t i = 0; i < n; ++i) vertexList[at[bin[i]]++] = static_cast<std::uint32_t>(i);
    for (std::size_t e = 0; e < n; ++e) {
      const std::size_t f = (e + 1) % n;
      const double far = std::max(std::hypot(v[e].x, v[e].y), std::hypot(v[f].x, v[f].y));
      // The bins from the edge's start to its end, the short way round.
      int step = bin[f] - bin[e];
      if (step > sectors / 2) step -= sectors;
      if (step < -sectors / 2) step += sectors;
      const int dir = step < 0 ? -1 : 1;
      for (int j = 0; j <= std::abs(step); ++j) {
        double& r = binReach[((bin[e] + dir * j) % sectors + sectors) % sectors];
        r = std::max(r, far);
      }
    }
    const int groups = (sectors + GroupBins - 1) / GroupBins;
    groupCentre.assign(groups, {});
    groupRadius.assign(groups, -1);
    for (int g = 0; g < groups; ++g) {
      const std::uint32_t from = vertexFirst[g * GroupBins], to = vertexFirst[std::min((g + 1) * GroupBins, sectors)];
      if (from == to) continue;
      double x0 = HUGE_VAL, x1 = -HUGE_VAL, y0 = HUGE_VAL, y1 = -HUGE_VAL;
      for (std::uint32_t i = from; i < to; ++i) {
        const Point& p = v[vertexList[i]];
        x0 = std::min(x0, p.x), x1 = std::max(x1, p.x), y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
      }
      const Point c{(x0 + x1) / 2, (y0 + y1) / 2};
      double r = 0;
      for (std::uint32_t i = from; i < to; ++i) {
        const Point& p = v[vertexList[i]];
        r = std::max(r, std::hypot(p.x - c.x, p.y - c.y));
      }
      groupCentre[g] = c;
      groupRadius[g] = r * (1 + 1e-12) + 1e-12;
    }
    size = n;
    v.push_back(v.front());
  }

  // The farthest vertex in the bins within `most` of the polar angle
  // `towards`.
  double ReachAbout(double towards, int most) const {
    const int c = Bin(towards);
    double r = 0;
    for (int j = -most; j <= most; ++j) r = std::max(r, binReach[((c + j) % sectors + sectors) % sectors]);
    return r;
  }

  // The farthest point of the edges through the bins from the polar angle
  // a0 to a1 (a0 <= a1, less than a turn apart).
  double ReachBetween(double a0, double a1) const {
    const int b0 = Bin(a0), b1 = Bin(a1);
    const int count = (b1 - b0 + sectors) % sectors + 1;
    double r = 0;
    for (int j = 0; j < count; ++j) r = std::max(r, binReach[(b0 + j) % sectors]);
    return r;
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

// The polar angles about a gear's centre within which it can meet the
// other gear (whose outline reaches `other` from its centre at the distance
// a): half the width of the lens of the two discs, seen from this centre.
double HalfWindow(double a, double reach, double other) {
  if (!(a > other)) return Pi;
  // The lens point of smallest cosine lies at the distance rho from this
  // centre: cos = (a^2 - other^2 + rho^2) / (2 a rho), least at
  // rho = sqrt(a^2 - other^2) or at the own reach.
  const double rho = std::min(std::sqrt(a * a - other * other), reach);
  if (!(rho > 0)) return Pi;
  const double c = (a * a - other * other + rho * rho) / (2 * a * rho);
  return c >= 1 ? 0 : c <= -1 ? Pi : std::acos(c);
}

// One gear (A) seen against the other (B) at a position: its vertices near
// the line of centres that lie inside B, and whether any lies within the
// gap of B.
struct Facing {
  const Outline& A;
  const Outline& B;
  Motion toB;           // A's own coordinates to B's
  Motion toSum;         // and to those the area is summed in
  double gap = 0;       // how near counts as touching
  double reach = HUGE_VAL;  // B's farthest point facing A (plus the gap)
  std::vector<std::uint32_t> insideVertices;  // A's vertices inside B
  double depth = 0;     // the deepest of those (a bound), mm
  double length = 0;    // the edges of A at them, mm
  bool touch = false;   // a vertex inside B or within gap of it

  Facing(const Outline& a, const Outline& b, const Motion& m, const Motion& sum, double g)
      : A(a), B(b), toB(m), toSum(sum), gap(g) {}

  // The vertices of bin b.
  void Visit(int b, bool lookForTouch) {
    for (std::uint32_t i = A.vertexFirst[b]; i < A.vertexFirst[b + 1]; ++i) {
      const std::uint32_t e = A.vertexList[i];
      const Point q = toB(A.v[e]);
      const double qq = q.x * q.x + q.y * q.y;
      if (qq > reach * reach) continue;
      const int k = B.Sector(q);
      const double limit = B.sectorReach[k] + gap;
      if (qq > limit * limit) continue;
      if (B.Inside(q, k)) {
        insideVertices.push_back(e);
        touch = true;
        depth = std::max(depth, B.DepthBound(q, k));
        length += A.EdgesAt(e);
      } else if (lookForTouch && !touch && gap > 0) {
        // Moved towards B's centre by the gap, inside: the outline lies
        // within the gap.
        const double r = std::sqrt(qq);
        if (r > gap) {
          const Point in{q.x * (1 - gap / r), q.y * (1 - gap / r)};
          if (B.Inside(in)) touch = true;
        } else {
          touch = true;
        }
      }
    }
  }

  // Whether every vertex of A's group g lies beyond B's reach (and the gap)
  // in its direction, seen from B's centre.
  bool GroupClear(int g) const {
    const double r = A.groupRadius[g];
    if (r < 0) return true;
    const Point c = toB(A.groupCentre[g]);
    const double d = std::sqrt(c.x * c.x + c.y * c.y);
    if (!(d > 2 * r)) return false;
    // The group's points lie within this angle of its centre's direction
    // (asin(r / d) at most).
    const double half = r / d / std::sqrt(1 - (r / d) * (r / d));
    const double angle = std::atan2(c.y, c.x);
    return d - r > B.ReachBetween(angle - half, angle + half) + gap;
  }

  // The bins within `most` of the polar angle `towards` (A's own); a group
  // of bins whose vertices all lie beyond B's reach is passed over whole.
  void Walk(double towards, int most, bool lookForTouch) {
    const int bins = A.sectors;
    const int c = A.Bin(towards);
    most = std::min(most, (bins - 1) / 2);
    for (int j = -most; j <= most; ++j) {
      const int b = ((c + j) % bins + bins) % bins;
      if (j == -most || b % GroupBins == 0) {
        if (GroupClear(b / GroupBins)) {
          // On to the next group's first bin.
          const int skip = std::min(GroupBins - 1 - b % GroupBins, bins - 1 - b);
          j += std::min(skip, most - j);
          continue;
        }
      }
      Visit(b, lookForTouch);
    }
  }
};

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
    for (const std::uint32_t e : sides[i]->insideVertices)
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
  return OverlapAbove(phi, turn2, pitch, -1, 0, touch);
}

Real TMeshingPair::OverlapAbove(Real phi, Real turn2, Real pitch, Real tolerance, Real gap, bool& touch,
                                Real radius1) const {
  const Outline &o1 = *gear1_, &o2 = *gear2_;
  if (o1.Size() == 0 || o2.Size() == 0) return 0;
  const double a = static_cast<double>(a_), t1 = static_cast<double>(-phi), t2 = static_cast<double>(turn2);
  const double g = static_cast<double>(gap);
  const bool lookForTouch = !touch;
  // The area is summed about the middle of the centre line, near the
  // contact, which keeps the rounding small.
  Facing f1(o1, o2, Between(t1, 0, 0, t2, a, 0), Between(t1, -a / 2, 0, 0, 0, 0), g);
  Facing f2(o2, o1, Between(t2, a, 0, t1, 0, 0), Between(t2, a / 2, 0, 0, 0, 0), g);
  // The vertices within the lens of the two outlines' reaches: outside it
  // none can lie inside the other gear. Each gear's window with the other's
  // whole reach, then again with the reach of the part of the other that
  // faces it; and, given the pitch, no farther than the teeth that can
  // touch, TeethEachSide pitches to either side of the line of centres (a
  // pitch subtends pitch / radius about a gear's centre, at the pitch
  // radius of the position, or at the least its pitch curve can have).
  const double towards1 = -t1, towards2 = Pi - t2;
  auto bins = [&](const Outline& o, double half) {
    return std::min(static_cast<int>(std::ceil(half / (2 * Pi) * o.sectors)) + 1, (o.sectors - 1) / 2);
  };
  int cap1 = o1.sectors, cap2 = o2.sectors;
  if (pitch > 0) {
    const double r1 = radius1 > 0 ? static_cast<double>(radius1) : a - o2.reach;
    const double r2 = radius1 > 0 ? a - r1 : a - o1.reach;
    cap1 = bins(o1, TeethEachSide * static_cast<double>(pitch) / std::max(r1, 1e-9));
    cap2 = bins(o2, TeethEachSide * static_cast<double>(pitch) / std::max(r2, 1e-9));
  }
  int most1 = std::min(cap1, bins(o1, HalfWindow(a, o1.reach, o2.reach)));
  const int most2 = std::min(cap2, bins(o2, HalfWindow(a, o2.reach, o1.ReachAbout(towards1, most1))));
  const double reach2 = o2.ReachAbout(towards2, most2);
  most1 = std::min(cap1, bins(o1, HalfWindow(a, o1.reach, reach2)));
  f1.reach = reach2 + g;
  f2.reach = o1.ReachAbout(towards1, most1) + g;
  f1.Walk(towards1, most1, lookForTouch);
  f2.Walk(towards2, most2, lookForTouch);
  if (f1.touch || f2.touch) touch = true;
  // Outlines that overlap have a vertex of one inside the other (or cross
  // like two thin bars, which teeth with their flanks drawn in many short
  // edges do not).
  if (f1.insideVertices.empty() && f2.insideVertices.empty()) return 0;
  // A sliver no thicker than its deepest vertex along the edges at the
  // vertices inside encloses at most their product.
  if (tolerance >= 0 && std::max(f1.depth, f2.depth) * (f1.length + f2.length) <= static_cast<double>(tolerance))
    return 0;
  const double area = std::max(CommonArea(f1, f2), 0.0);
  // Teeth that collide near the line of centres may collide farther out
  // too (at a curve's corners): the whole lens then gives the largest.
  if (pitch > 0 && area > tolerance) {
    bool touched = true;
    return std::max<Real>(area, OverlapAbove(phi, turn2, 0, tolerance, 0, touched));
  }
  return area;
}

std::vector<Real> MeshPositions(const TPitchTrack& track2, int turns, Real module) {
  std::vector<Real> positions;
  const Real pitch = std::numbers::pi_v<Real> * module;
  turns = std::max(turns, 1);
  const std::size_t n = track2.S.size();
  if (n < 2 || track2.Phi.size() != n || !(track2.Length > 0) || !(pitch > 0)) return positions;
  // Equal steps of the rolled arc, PositionsPerPitch to a pitch; a pair
  // whose cycle is one turn of gear 1, at every whole degree where those
  // are as many (the positions such a pair was always checked at).
  const long pitches = std::max(std::lround(track2.Length / pitch), 1L);
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
                          const TPitchTrack& track2, Real a, int turns, Real module) {
  TMeshFinding finding;
  // Without teeth there is nothing to check (and nothing to warn of).
  if (gear1.empty() || gear2.empty()) return finding;
  const TMeshingPair pair(gear1, gear2, a);
  const Real tolerance = OverlapToleranceFactor * module * module;
  const Real gap = ContactGapFactor * module;
  const Real pitch = std::numbers::pi_v<Real> * module;
  const long cycle = 360L * std::max(turns, 1);
  for (const Real phi : MeshPositions(track2, turns, module)) {
    // Gear 2's pitch point of the drive angle, turned onto the line of
    // centres (as GearTwoTurn turns it), and the pitch radii there.
    Real x, y, sigma;
    track2.AtDriveAngle(phi, x, y, sigma);
    const Real turn2 = std::numbers::pi_v<Real> - std::atan2(y, x);
    const Real area = pair.OverlapAbove(phi, turn2, pitch, tolerance, gap, finding.contact, a - std::hypot(x, y));
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
