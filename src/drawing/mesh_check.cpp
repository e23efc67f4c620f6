// The meshing check of the two tooth outlines; see mesh_check.h.
//
// The common area of two simple polygons is the integral of x dy round its
// boundary, which consists of the pieces of each outline that lie inside the
// other. Each outline is indexed by the polar angle about its own centre:
// the sectors of a fixed grid list the edges that pass through them and the
// farthest reach of those edges, so that only the edges near the line of
// centres are looked at, only the few edges of the other gear in the same
// sectors are tested for crossings, and whether a point lies inside is
// decided by counting the edges that a ray from the point outwards, away
// from the other gear's centre, crosses within its sector. The sums are in
// double precision: the areas that matter are hundredths of a square
// millimetre and more.
#include "drawing/mesh_check.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "drawing/polar_sectors.h"

namespace drawing {

namespace {

constexpr double Pi = std::numbers::pi;

struct Point {
  double x = 0, y = 0;
};

double Cross(const Point& a, const Point& b) { return a.x * b.y - a.y * b.x; }


// The smallest distance of the segment from p to q from the origin.
double DistanceFromOrigin(const Point& p, const Point& q) {
  const double dx = q.x - p.x, dy = q.y - p.y;
  const double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? -(p.x * dx + p.y * dy) / len2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(p.x + t * dx, p.y + t * dy);
}

// A rigid placement of a gear: turned by angle about its centre (cx, cy).
struct Placement {
  double c = 1, s = 0, cx = 0, cy = 0;
  Placement(double angle, double x, double y) : c(std::cos(angle)), s(std::sin(angle)), cx(x), cy(y) {}
  Point ToWorld(const Point& p) const { return {c * p.x - s * p.y + cx, s * p.x + c * p.y + cy}; }
  Point FromWorld(const Point& w) const {
    const double x = w.x - cx, y = w.y - cy;
    return {c * x + s * y, -s * x + c * y};
  }
};

}  // namespace

// An outline indexed by the polar angle about its centre.
struct TMeshOutline {
  std::vector<Point> v;  // counter-clockwise, the closing vertex not repeated
  double reach = 0;      // the largest distance of a vertex from the centre
  int sectors = 0;
  std::vector<std::uint32_t> first;  // edges of sector k: list[first[k] .. first[k + 1])
  std::vector<std::uint32_t> list;
  std::vector<double> sectorReach;   // the farthest point of those edges
  // Marks of the edges and the pass that set them: an edge in several
  // sectors is taken once per pass.
  mutable std::vector<std::uint32_t> mark;
  mutable std::uint32_t pass = 0;

  std::size_t Size() const { return v.size(); }
  int Sector(const Point& p) const { return PolarSector(p.x, p.y, sectors); }
  // Calls f(sector) for the sectors from the polar angle of p to that of q
  // the short way round.
  template <class F>
  void ForSectors(const Point& p, const Point& q, F&& f) const {
    int from = 0;
    const int count = SectorSpan(p.x, p.y, q.x, q.y, sectors, from);
    for (int j = 0; j < count; ++j) f((from + j) % sectors);
  }
  // The number of sectors from the polar angle a0 on to a1 (radians,
  // a0 <= a1), the first one's number in from.
  int SectorsBetween(double a0, double a1, int& from) const {
    from = Sector({std::cos(a0), std::sin(a0)});
    if (a1 - a0 >= 2 * Pi) return sectors;
    const int to = Sector({std::cos(a1), std::sin(a1)});
    return (to - from + sectors) % sectors + 1;
  }
  // Calls f(edge) once for every edge listed in the sectors from the polar
  // angle a0 to a1.
  template <class F>
  void ForEdgesBetween(double a0, double a1, F&& f) const {
    ++pass;
    int from = 0;
    const int count = SectorsBetween(a0, a1, from);
    for (int j = 0; j < count; ++j) {
      const int k = (from + j) % sectors;
      for (std::uint32_t i = first[k]; i < first[k + 1]; ++i) {
        const std::uint32_t e = list[i];
        if (mark[e] == pass) continue;
        mark[e] = pass;
        f(e);
      }
    }
  }

  // The farthest reach of the edges in the sectors from a0 to a1.
  double ReachBetween(double a0, double a1) const {
    int from = 0;
    const int count = SectorsBetween(a0, a1, from);
    double r = 0;
    for (int j = 0; j < count; ++j) r = std::max(r, sectorReach[(from + j) % sectors]);
    return r;
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
  }

  // Whether p (own coordinates) lies inside: the crossings of the ray from
  // p away from the centre, all of them by edges of p's sector.
  bool Inside(const Point& p) const {
    const int k = Sector(p);
    const double pp = p.x * p.x + p.y * p.y;
    if (pp > sectorReach[k] * sectorReach[k]) return false;
    bool inside = false;
    const std::size_t n = v.size();
    for (std::uint32_t i = first[k]; i < first[k + 1]; ++i) {
      const std::uint32_t e = list[i];
      const Point &u = v[e], &w = v[(e + 1) % n];
      const double su = Cross(p, u), sw = Cross(p, w);
      if ((su > 0) == (sw > 0)) continue;
      const double t = su / (su - sw);
      const Point x{u.x + t * (w.x - u.x), u.y + t * (w.y - u.y)};
      if (x.x * p.x + x.y * p.y > pp) inside = !inside;
    }
    return inside;
  }
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

// How one gear faces the other at a position: where it stands, the polar
// angles about its centre within which it can meet the other, and how far
// its edges reach there.
struct Facing {
  const Outline& outline;
  const Placement& place;
  double mid = 0, half = Pi, reach = 0;

  Facing(const Outline& o, const Placement& p, const Placement& other) : outline(o), place(p) {
    const Point towards = p.FromWorld({other.cx, other.cy});
    mid = std::atan2(towards.y, towards.x);
    reach = o.reach;
  }
  // Narrows the window to the lens with the other gear's reach.
  void Narrow(double a, double otherReach) {
    half = HalfWindow(a, outline.reach, otherReach);
    reach = outline.ReachBetween(mid - half, mid + half);
  }
  template <class F>
  void ForEdges(F&& f) const {
    outline.ForEdgesBetween(mid - half, mid + half, f);
  }
};

// Whether a vertex of A in its window lies inside B.
bool AnyVertexInside(const Facing& A, const Facing& B) {
  const double reach2 = B.reach * B.reach;
  bool found = false;
  A.ForEdges([&](std::uint32_t e) {
    if (found) return;
    const Point p = B.place.FromWorld(A.place.ToWorld(A.outline.v[e]));
    if (p.x * p.x + p.y * p.y <= reach2 && B.outline.Inside(p)) found = true;
  });
  return found;
}

// The integral of x dy (as the shoelace sums it, about the point o) along
// the pieces of A's edges that lie inside B.
double InsidePieces(const Facing& fa, const Facing& fb, const Point& o) {
  const Outline &A = fa.outline, &B = fb.outline;
  double sum = 0;
  std::vector<double> cuts;
  const std::size_t n = A.Size(), m = B.Size();
  fa.ForEdges([&](std::uint32_t e) {
    const Point wp = fa.place.ToWorld(A.v[e]), wq = fa.place.ToWorld(A.v[(e + 1) % n]);
    const Point p = fb.place.FromWorld(wp), q = fb.place.FromWorld(wq);
    const double near = DistanceFromOrigin(p, q);
    if (near > fb.reach) return;
    double reach = 0;
    B.ForSectors(p, q, [&](int k) { reach = std::max(reach, B.sectorReach[k]); });
    if (near > reach) return;
    // Where the edge crosses B's edges in its sectors.
    cuts.clear();
    ++B.pass;
    const Point d{q.x - p.x, q.y - p.y};
    B.ForSectors(p, q, [&](int k) {
      for (std::uint32_t i = B.first[k]; i < B.first[k + 1]; ++i) {
        const std::uint32_t f = B.list[i];
        if (B.mark[f] == B.pass) continue;
        B.mark[f] = B.pass;
        const Point &u = B.v[f], &w = B.v[(f + 1) % m];
        const Point g{w.x - u.x, w.y - u.y};
        const double den = Cross(d, g);
        if (den == 0) continue;
        const Point pu{u.x - p.x, u.y - p.y};
        const double t = Cross(pu, g) / den, s = Cross(pu, d) / den;
        if (t > 0 && t < 1 && s >= 0 && s < 1) cuts.push_back(t);
      }
    });
    std::sort(cuts.begin(), cuts.end());
    cuts.push_back(1);
    double t0 = 0;
    for (const double t1 : cuts) {
      if (t1 > t0) {
        const double tm = (t0 + t1) / 2;
        if (B.Inside({p.x + tm * d.x, p.y + tm * d.y})) {
          const Point s0{wp.x + t0 * (wq.x - wp.x) - o.x, wp.y + t0 * (wq.y - wp.y) - o.y};
          const Point s1{wp.x + t1 * (wq.x - wp.x) - o.x, wp.y + t1 * (wq.y - wp.y) - o.y};
          sum += Cross(s0, s1) / 2;
        }
      }
      t0 = t1;
    }
  });
  return sum;
}

}  // namespace

TMeshingPair::TMeshingPair(const std::vector<TContourPiece>& gear1, const std::vector<TContourPiece>& gear2, Real a)
    : gear1_(std::make_unique<TMeshOutline>()), gear2_(std::make_unique<TMeshOutline>()), a_(a) {
  gear1_->Build(gear1);
  gear2_->Build(gear2);
}

TMeshingPair::~TMeshingPair() = default;

Real TMeshingPair::OverlapArea(Real phi, Real turn2) const {
  if (gear1_->Size() == 0 || gear2_->Size() == 0) return 0;
  const double a = static_cast<double>(a_);
  const Placement p1(static_cast<double>(-phi), 0, 0);
  const Placement p2(static_cast<double>(turn2), a, 0);
  Facing f1(*gear1_, p1, p2), f2(*gear2_, p2, p1);
  // Each gear's window with the other's whole reach, then again with the
  // reach of the part of the other that faces it.
  f1.Narrow(a, gear2_->reach);
  f2.Narrow(a, f1.reach);
  f1.Narrow(a, f2.reach);
  // Outlines that overlap have a vertex of one inside the other (or cross
  // like two thin bars, which teeth with their flanks drawn in many short
  // edges do not).
  if (!AnyVertexInside(f1, f2) && !AnyVertexInside(f2, f1)) return 0;
  // The sums about a point near the contact keep their rounding small.
  const Point o{a / 2, 0};
  return std::max(InsidePieces(f1, f2, o) + InsidePieces(f2, f1, o), 0.0);
}

TMeshFinding CheckMeshing(const std::vector<TContourPiece>& gear1, const std::vector<TContourPiece>& gear2,
                          const TPitchTrack& track2, Real a, int turns, Real module) {
  TMeshFinding finding;
  const TMeshingPair pair(gear1, gear2, a);
  const Real tolerance = OverlapToleranceFactor * module * module;
  const int positions = 360 * std::max(turns, 1);
  for (int degree = 0; degree < positions; ++degree) {
    const Real phi = degree * std::numbers::pi_v<Real> / 180;
    const Real turn2 = GearTwoTurn(track2, phi) * std::numbers::pi_v<Real> / 180;
    const Real area = pair.OverlapArea(phi, turn2);
    ++finding.positions;
    if (!(area > tolerance)) continue;
    ++finding.overlapping;
    if (finding.firstDegree < 0) finding.firstDegree = degree;
    if (area > finding.largestArea) {
      finding.largestArea = area;
      finding.largestDegree = degree;
    }
  }
  return finding;
}

}  // namespace drawing
