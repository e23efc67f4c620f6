// The area two outlines enclose together, as the meshing check measures it,
// against the area measured slab by slab: bars crossing as a plus sign
// (bounded by crossings only), an outline wholly inside the other, corners
// that touch an edge, outlines that touch to rounding (shared corners and
// sides), and random outlines of many crossings, about the pitch point and
// over the whole outlines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "drawing/outlines/mesh_check.h"

namespace {

constexpr double Pi = std::numbers::pi;

struct Pt {
  double x, y;
};
using Poly = std::vector<Pt>;

drawing::TContourPiece Piece(const Poly& p) {
  drawing::TContourPiece piece;
  for (const Pt& q : p) {
    piece.X.push_back(q.x);
    piece.Y.push_back(q.y);
  }
  return piece;
}

// The outline as the pair places it: turned by angle about its centre,
// which stands at (cx, 0).
Poly Placed(const Poly& p, double angle, double cx) {
  Poly out;
  for (const Pt& q : p)
    out.push_back({cx + q.x * std::cos(angle) - q.y * std::sin(angle), q.x * std::sin(angle) + q.y * std::cos(angle)});
  return out;
}

// The lengths of the horizontal line at height y inside the polygon, as
// sorted crossings taken in pairs.
std::vector<double> CrossingsAt(const Poly& p, double y) {
  std::vector<double> xs;
  for (std::size_t i = 0; i < p.size(); ++i) {
    const Pt &a = p[i], &b = p[(i + 1) % p.size()];
    if ((a.y < y) != (b.y < y)) xs.push_back(a.x + (y - a.y) / (b.y - a.y) * (b.x - a.x));
  }
  std::sort(xs.begin(), xs.end());
  return xs;
}

// The area both simple polygons enclose, slab by slab: between consecutive
// heights of their vertices and of the crossings of their edges the length
// of a horizontal line inside both changes linearly, so that the length at
// the middle of a slab times its height is its area.
double SlabArea(const Poly& a, const Poly& b) {
  std::vector<double> ys;
  for (const Poly* p : {&a, &b})
    for (const Pt& q : *p) ys.push_back(q.y);
  for (std::size_t i = 0; i < a.size(); ++i) {
    const Pt &p = a[i], &q = a[(i + 1) % a.size()];
    for (std::size_t j = 0; j < b.size(); ++j) {
      const Pt &u = b[j], &w = b[(j + 1) % b.size()];
      const double den = (q.x - p.x) * (w.y - u.y) - (q.y - p.y) * (w.x - u.x);
      if (den == 0) continue;
      const double t = ((u.x - p.x) * (w.y - u.y) - (u.y - p.y) * (w.x - u.x)) / den;
      const double s = ((u.x - p.x) * (q.y - p.y) - (u.y - p.y) * (q.x - p.x)) / den;
      if (t >= 0 && t <= 1 && s >= 0 && s <= 1) ys.push_back(p.y + t * (q.y - p.y));
    }
  }
  std::sort(ys.begin(), ys.end());
  double area = 0;
  for (std::size_t k = 0; k + 1 < ys.size(); ++k) {
    if (!(ys[k + 1] > ys[k])) continue;
    const double y = (ys[k] + ys[k + 1]) / 2;
    const std::vector<double> xa = CrossingsAt(a, y), xb = CrossingsAt(b, y);
    double length = 0;
    for (std::size_t i = 0; i + 1 < xa.size(); i += 2)
      for (std::size_t j = 0; j + 1 < xb.size(); j += 2)
        length += std::max(0.0, std::min(xa[i + 1], xb[j + 1]) - std::max(xa[i], xb[j]));
    area += length * (ys[k + 1] - ys[k]);
  }
  return area;
}

double PolygonArea(const Poly& p) {
  double s = 0;
  for (std::size_t i = 0; i < p.size(); ++i) {
    const Pt &a = p[i], &b = p[(i + 1) % p.size()];
    s += a.x * b.y - a.y * b.x;
  }
  return std::fabs(s) / 2;
}

Poly Regular(int corners, double radius, double cx, double cy, double turn) {
  Poly p;
  for (int i = 0; i < corners; ++i) {
    const double angle = turn + 2 * Pi * i / corners;
    p.push_back({cx + radius * std::cos(angle), cy + radius * std::sin(angle)});
  }
  return p;
}

Poly Rectangle(double x0, double y0, double x1, double y1) { return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}; }

// The area of the pair whose gear 1 is `one` (about the origin, turned
// back by phi) and gear 2 `two` (about (a, 0), turned by turn2), as the
// check measures it over the whole outlines, and as the slabs do.
struct Measured {
  double check, slabs;
};
Measured Both(const Poly& one, const Poly& two, double a, double phi, double turn2, double pitch = 0) {
  const drawing::TMeshingPair pair({Piece(one)}, {Piece(two)}, a);
  return {static_cast<double>(pair.OverlapArea(phi, turn2, pitch)),
          SlabArea(Placed(one, -phi, 0), Placed(two, turn2, a))};
}

TEST(MeshOverlap, BarsCrossingAsAPlusSignOverlapByTheirCommonSquare) {
  // Gear 1's bar lies along x, gear 2's (about (20, 0)) across it: no
  // corner of either lies inside the other.
  const Poly along = Rectangle(7, -1, 13, 1), across = Rectangle(-11, -3, -9, 3);
  EXPECT_NEAR(SlabArea(along, Placed(across, 0, 20)), 4, 1e-12);
  const drawing::TMeshingPair pair({Piece(along)}, {Piece(across)}, 20);
  EXPECT_NEAR(pair.OverlapArea(0, 0), 4, 1e-12);
  // The gears turned: as the slabs say.
  for (const double turn : {0.03, 0.1, 2.5}) {
    const Measured m = Both(along, across, 20, turn, -turn);
    EXPECT_NEAR(m.check, m.slabs, 1e-9) << turn;
  }
  // Two bars crossing twice (a plus sign of a frame): each square counts.
  const Poly frame = {{5, -4}, {15, -4}, {15, 4}, {5, 4}, {5, 3}, {14, 3}, {14, -3}, {5, -3}};
  const Poly bar = Rectangle(-11, -5, -9, 5);
  const Measured twice = Both(frame, bar, 20, 0, 0);
  EXPECT_NEAR(twice.slabs, 2 * 2 * 1, 1e-12);
  EXPECT_NEAR(twice.check, twice.slabs, 1e-12);
}

TEST(MeshOverlap, AnOutlineWhollyInsideTheOtherOverlapsByAllOfIt) {
  // A heptagon of radius 2 (10.946 mm2) inside a decagon of radius 5, as
  // gear 1 in gear 2 and as gear 2 in gear 1.
  const Poly heptagon = Regular(7, 2, 10, 0.5, 0.1), decagon = Regular(10, 5, -10, 0, 0.2);
  const double area = 3.5 * 4 * std::sin(2 * Pi / 7);
  EXPECT_NEAR(area, 10.946, 1e-3);
  EXPECT_NEAR(PolygonArea(heptagon), area, 1e-12);
  EXPECT_NEAR(SlabArea(heptagon, Placed(decagon, 0, 20)), area, 1e-12);
  const drawing::TMeshingPair inTwo({Piece(heptagon)}, {Piece(decagon)}, 20);
  EXPECT_NEAR(inTwo.OverlapArea(0, 0), area, 1e-12);
  EXPECT_NEAR(inTwo.OverlapArea(0, 0, 1), area, 1e-12);
  const Poly heptagonTwo = Regular(7, 2, -10, 0.5, 0.1), decagonOne = Regular(10, 5, 10, 0, 0.2);
  const drawing::TMeshingPair inOne({Piece(decagonOne)}, {Piece(heptagonTwo)}, 20);
  EXPECT_NEAR(inOne.OverlapArea(0, 0), area, 1e-12);
  EXPECT_NEAR(inOne.OverlapArea(0, 0, 1), area, 1e-12);
  // Both about one gear's centre (where the index of either outline by its
  // polar angle meets a vertex on its lines), each the inner one.
  for (const double centre : {0.0, 20.0})
    for (const double turn : {0.0, 0.45}) {
      const Poly h = Regular(7, 2, centre, 0, turn), d = Regular(10, 5, centre, 0, 0);
      const drawing::TMeshingPair hd({Piece(h)}, {Piece(Placed(d, 0, -20))}, 20);
      const drawing::TMeshingPair dh({Piece(d)}, {Piece(Placed(h, 0, -20))}, 20);
      EXPECT_NEAR(hd.OverlapArea(0, 0), area, 1e-12) << centre << " " << turn;
      EXPECT_NEAR(dh.OverlapArea(0, 0), area, 1e-12) << centre << " " << turn;
    }
  // Moved until the heptagon's corner passes the decagon's side: less.
  const Measured out = Both(Regular(7, 2, 13.5, 0, 0), decagon, 20, 0, 0);
  EXPECT_GT(out.slabs, 1);
  EXPECT_LT(out.slabs, area - 1);
  EXPECT_NEAR(out.check, out.slabs, 1e-12);
}

TEST(MeshOverlap, ACornerOnAnEdgeTouchesOrDipsIn) {
  // Gear 2's triangle stands on its apex, which lies on gear 1's square's
  // top side: they touch at a point and share no area; dipped in by 0.1,
  // they share the triangle's tip.
  const Poly square = Rectangle(0, 0, 2, 2);
  for (const double dip : {0.0, 0.1}) {
    const Poly triangle = {{-19, 2 - dip}, {-18, 4}, {-20, 4}};
    const Measured m = Both(square, triangle, 20, 0, 0);
    EXPECT_NEAR(m.slabs, dip * dip / (2 + dip), 1e-12) << dip;
    EXPECT_NEAR(m.check, m.slabs, 1e-12) << dip;
  }
  // A corner of gear 1 on gear 2's side, from below.
  const Poly spike = {{0, 0}, {2, 0}, {1, 2}};
  const Measured touch = Both(spike, Rectangle(-20, 2, -17, 4), 20, 0, 0);
  EXPECT_NEAR(touch.check, 0, 1e-12);
}

// Outlines that touch exactly (whole-number corners, unturned): a hexagon
// and a triangle sharing a corner, one inside touching it with two
// corners, one sharing a side; then random outlines on a small grid. Each
// pair as gear 1 and 2 and the other way round, over the whole outlines
// and about a pitch point far from them (where nothing crosses): the area
// the slabs give.
TEST(MeshOverlap, OutlinesThatTouchExactlyOverlapByTheirCommonArea) {
  // A hexagon of area 10 with a right-angled corner at its centre's
  // origin, sides along x and y from there.
  const Poly hexagon = {{0, 0}, {3, 0}, {4, 1}, {3, 3}, {1, 3}, {0, 2}};
  ASSERT_NEAR(PolygonArea(hexagon), 10, 1e-12);
  struct Case {
    const char* name;
    Poly other;
    double area;
  };
  const std::vector<Case> cases = {
      // Area 4, its corner on the hexagon's, one side into it: the part
      // of the hexagon's corner it covers.
      {"a shared corner", {{0, 0}, {2, 1}, {-4, -6}}, 4.0 / 7},
      {"inside, two corners on its sides", {{0, 1}, {2, 0}, {2, 1.5}}, 1.5},
      {"a shared side, inside", {{0, 0}, {3, 0}, {1, 20.0 / 9}}, 10.0 / 3},
  };
  for (const Case& c : cases) {
    ASSERT_NEAR(SlabArea(hexagon, c.other), c.area, 1e-12) << c.name;
    // Gear 2's outline about its centre at (20, 0).
    const Poly other = Placed(c.other, 0, -20), hexagonTwo = Placed(hexagon, 0, -20);
    for (const double pitch : {0.0, 1.0}) {
      EXPECT_NEAR(Both(hexagon, other, 20, 0, 0, pitch).check, c.area, 1e-12) << c.name << " " << pitch;
      EXPECT_NEAR(Both(c.other, hexagonTwo, 20, 0, 0, pitch).check, c.area, 1e-12) << c.name << " " << pitch;
    }
  }
  // Outlines on a small grid of whole numbers, star-shaped about a point
  // off it (their corners in the order of their angles about it, none
  // half a turn or more after the one before, so that the point lies
  // inside): they share corners, sides and parts of sides time and again.
  std::mt19937 random(71);
  std::uniform_int_distribution<int> coordinate(0, 4), corners(3, 7);
  auto outline = [&] {
    const double cx = 2.01, cy = 1.98;
    for (;;) {
      std::vector<double> angles;
      Poly p;
      for (int n = corners(random); static_cast<int>(p.size()) < n;) {
        const Pt q{static_cast<double>(coordinate(random)), static_cast<double>(coordinate(random))};
        const double angle = std::atan2(q.y - cy, q.x - cx);
        if (std::none_of(angles.begin(), angles.end(), [&](double a) { return std::fabs(a - angle) < 1e-9; }))
          angles.push_back(angle), p.push_back(q);
      }
      std::vector<std::size_t> order(p.size());
      for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
      std::sort(order.begin(), order.end(), [&](std::size_t i, std::size_t j) { return angles[i] < angles[j]; });
      bool around = true;
      for (std::size_t i = 0; i < order.size(); ++i) {
        const double next = i + 1 < order.size() ? angles[order[i + 1]] : angles[order[0]] + 2 * Pi;
        around = around && next - angles[order[i]] < Pi - 1e-9;
      }
      if (!around) continue;
      Poly sorted;
      for (const std::size_t i : order) sorted.push_back(p[i]);
      return sorted;
    }
  };
  int touching = 0;
  for (int trial = 0; trial < 3000; ++trial) {
    const Poly one = outline(), two = outline();
    const double slabs = SlabArea(one, two);
    for (const double pitch : {0.0, 1.0}) {
      ASSERT_NEAR(Both(one, Placed(two, 0, -20), 20, 0, 0, pitch).check, slabs, 1e-12) << trial << " " << pitch;
      ASSERT_NEAR(Both(two, Placed(one, 0, -20), 20, 0, 0, pitch).check, slabs, 1e-12) << trial << " " << pitch;
    }
    if (slabs > 0) ++touching;
  }
  EXPECT_GT(touching, 1000);
}

// Outlines of many bumps about their centres: random radii at equal angles.
Poly Bumpy(std::mt19937& random, int corners, double radius, double depth) {
  std::uniform_real_distribution<double> bump(-depth, depth);
  Poly p;
  for (int i = 0; i < corners; ++i) {
    const double angle = 2 * Pi * i / corners, r = radius + bump(random);
    p.push_back({r * std::cos(angle), r * std::sin(angle)});
  }
  return p;
}

TEST(MeshOverlap, OutlinesOfManyCrossingsOverlapAsTheSlabsSay) {
  std::mt19937 random(63);
  std::uniform_real_distribution<double> angle(0, 2 * Pi);
  int crossingRegions = 0;
  for (int trial = 0; trial < 60; ++trial) {
    const Poly one = Bumpy(random, 40 + trial, 10, 2.5), two = Bumpy(random, 30 + 2 * trial, 10, 2.5);
    const double phi = angle(random), turn2 = angle(random);
    const Measured whole = Both(one, two, 18, phi, turn2);
    EXPECT_NEAR(whole.check, whole.slabs, 1e-9 * (1 + whole.slabs)) << trial;
    // About the pitch point first (a disc of 3.5 pitches about it), then
    // beyond where they overlap: the same.
    const Measured near = Both(one, two, 18, phi, turn2, 1);
    EXPECT_NEAR(near.check, whole.slabs, 1e-9 * (1 + whole.slabs)) << trial;
    if (whole.slabs > 1) ++crossingRegions;
  }
  EXPECT_GT(crossingRegions, 40);
}

// A gear far larger than the other (as gear 2 of many turns is): the same.
TEST(MeshOverlap, AGearFarLargerThanTheOtherOverlapsAsTheSlabsSay) {
  std::mt19937 random(100);
  std::uniform_real_distribution<double> angle(0, 2 * Pi);
  for (int trial = 0; trial < 6; ++trial) {
    const Poly small = Bumpy(random, 60, 10, 2), large = Bumpy(random, 2000, 400, 1.5);
    const double phi = angle(random), turn2 = angle(random) / 50;
    for (const bool smallIsOne : {true, false}) {
      const Poly &one = smallIsOne ? small : large, &two = smallIsOne ? large : small;
      const double slabs = SlabArea(Placed(one, -phi, 0), Placed(two, turn2, 408));
      const drawing::TMeshingPair pair({Piece(one)}, {Piece(two)}, 408);
      EXPECT_NEAR(pair.OverlapArea(phi, turn2), slabs, 1e-9 * (1 + slabs)) << trial << smallIsOne;
      EXPECT_NEAR(pair.OverlapArea(phi, turn2, 1), slabs, 1e-9 * (1 + slabs)) << trial << smallIsOne;
    }
  }
}

TEST(MeshOverlap, OutlinesApartOverlapByNothing) {
  const Poly one = Regular(12, 5, 0, 0, 0), two = Regular(9, 5, 0, 0, 0.3);
  EXPECT_EQ(Both(one, two, 10.5, 0.2, 0.7).check, 0);
  EXPECT_EQ(Both(one, two, 10.5, 0.2, 0.7, 1).check, 0);
  // Overlapping, once the centres come nearer.
  const Measured m = Both(one, two, 8, 0.2, 0.7, 1);
  EXPECT_GT(m.slabs, 1);
  EXPECT_NEAR(m.check, m.slabs, 1e-9);
}

// Outlines turned to touch corner to corner or side, or side along side, or
// 1e-15 .. 1e-3 mm apart or in: the slabs' area, never a whole outline's.
TEST(MeshOverlap, OutlinesThatTouchWithinRoundingOverlapAsTheSlabsSay) {
  auto unit = [random = std::mt19937(75)]() mutable { return std::uniform_real_distribution<double>(0, 1)(random); };
  const double offsets[] = {0, 1e-15, -1e-15, 1e-14, -1e-14, 1e-12, -1e-12, 1e-3, -1e-3};
  for (int trial = 0; trial < 20000; ++trial) {
    const Poly one = Regular(3 + trial % 6, 20 + 30 * unit(), 0, 0, 6 * unit());
    const Poly two0 = Regular(3 + trial / 6 % 5, 20 + 30 * unit(), 0, 0, 6 * unit());
    const int kind = trial / 30 % 3;  // corner, side, side along side
    const Pt ai = one[0], an = one[1], bj = two0[0], bn = two0[1];
    const double t = kind == 0 ? 0 : unit(), wobble = (unit() - 0.5) * 0.6;
    const double out = kind == 0 ? std::atan2(ai.y, ai.x) + wobble : std::atan2(ai.x - an.x, an.y - ai.y);
    const double turn = kind == 2 ? std::atan2(ai.y - an.y, ai.x - an.x) - std::atan2(bn.y - bj.y, bn.x - bj.x)
                                  : out + Pi - std::atan2(bj.y, bj.x) + (kind == 1 ? wobble : 0);
    Poly two;
    for (const Pt& q : Placed(two0, turn, 0))
      two.push_back({q.x - Placed({bj}, turn, 0)[0].x + ai.x + t * (an.x - ai.x) + offsets[trial % 9] * std::cos(out),
                     q.y - Placed({bj}, turn, 0)[0].y + ai.y + t * (an.y - ai.y) + offsets[trial % 9] * std::sin(out)});
    const double phi = 2 * Pi * unit(), turn2 = 2 * Pi * unit(), slabs = SlabArea(one, two), pitch = trial / 90 % 2;
    ASSERT_NEAR(Both(Placed(one, phi, 0), Placed(Placed(two, 0, -120), -turn2, 0), 120, phi, turn2, pitch).check,
                slabs, 1e-6 + 1e-9 * slabs) << trial;
  }
}

}  // namespace
