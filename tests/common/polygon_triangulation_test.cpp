// Triangles of regions with holes: random simple outlines with random
// holes are covered exactly (the areas add up, nothing is turned over or
// lies on another); every ring edge is an edge of one triangle and every
// other edge is shared the other way round, also for outlines that cross
// themselves or touch their holes; contrived outlines end soon.
#include "common/polygon_triangulation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <map>
#include <numbers>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "support/stl_mesh.h"

using common::PlanePoint;
using common::TriangleCorners;
using common::TriangulateRegion;

namespace {

constexpr double Pi = std::numbers::pi;

struct Region {
  std::vector<PlanePoint> points;
  std::vector<int> outer;
  std::vector<std::vector<int>> holes;
};

// A ring of n points round (cx, cy), radius r(angle); counter-clockwise,
// or clockwise for a hole.
std::vector<int> Ring(Region& region, double cx, double cy, int n, bool clockwise,
                      const std::function<double(double)>& r) {
  std::vector<int> ring;
  for (int i = 0; i < n; ++i) {
    const double a = 2 * Pi * (clockwise ? n - i : i) / n;
    region.points.push_back({static_cast<Real>(cx + r(a) * std::cos(a)), static_cast<Real>(cy + r(a) * std::sin(a))});
    ring.push_back(static_cast<int>(region.points.size() - 1));
  }
  return ring;
}

double RingArea(const Region& region, const std::vector<int>& ring) {
  double sum = 0;
  for (std::size_t i = 0; i < ring.size(); ++i) {
    const PlanePoint& a = region.points[ring[i]];
    const PlanePoint& b = region.points[ring[(i + 1) % ring.size()]];
    sum += static_cast<double>(a.x * b.y - b.x * a.y);
  }
  return sum / 2;
}

testsupport::StlPlan Plan(const Region& region, const std::vector<TriangleCorners>& triangles) {
  testsupport::StlPlan plan;
  const auto p = [&](int v) {
    return testsupport::P2{static_cast<double>(region.points[v].x), static_cast<double>(region.points[v].y)};
  };
  for (const TriangleCorners& t : triangles) {
    plan.top.push_back({p(t[0]), p(t[1]), p(t[2])});
    if (testsupport::TriangleArea(plan.top.back()) <= 0) ++plan.invertedTop;
  }
  return plan;
}

// Every directed ring edge in one triangle, every other triangle edge
// matched by the same edge the other way round: the faces close.
void ExpectClosedFaces(const Region& region, const std::vector<TriangleCorners>& triangles) {
  std::map<std::pair<int, int>, int> edges;
  for (const TriangleCorners& t : triangles)
    for (int k = 0; k < 3; ++k) ++edges[{t[k], t[(k + 1) % 3]}];
  const auto ringEdges = [&](const std::vector<int>& ring) {
    for (std::size_t i = 0; i < ring.size(); ++i) {
      const std::pair<int, int> e{ring[i], ring[(i + 1) % ring.size()]};
      ASSERT_EQ(edges[e], 1) << "ring edge " << e.first << "-" << e.second;
      edges.erase(e);
    }
  };
  ringEdges(region.outer);
  for (const auto& hole : region.holes) ringEdges(hole);
  for (const auto& [e, count] : edges) {
    if (count == 0) continue;
    const auto back = edges.find({e.second, e.first});
    ASSERT_TRUE(back != edges.end() && back->second == count) << "edge " << e.first << "-" << e.second;
  }
}

TEST(PolygonTriangulation, RandomOutlinesWithHolesAreCoveredExactly) {
  std::mt19937 rng(2024);
  std::uniform_real_distribution<double> unit(0, 1);
  for (int run = 0; run < 40; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    Region region;
    // A star-shaped outline with teeth and random dents, and up to five
    // holes on a circle well inside it, some with straight runs of points.
    const int n = 50 + static_cast<int>(unit(rng) * 2000);
    std::vector<double> dent(n);
    for (double& d : dent) d = unit(rng) * 8;
    region.outer = Ring(region, 0, 0, n, false, [&](double a) {
      const int i = static_cast<int>(std::lround(a / (2 * Pi) * n)) % n;
      return 100 + 5 * std::sin(a * 40) - dent[i];
    });
    const int holes = static_cast<int>(unit(rng) * 6);
    for (int h = 0; h < holes; ++h) {
      const double a = 2 * Pi * h / std::max(holes, 1);
      const int m = 3 + static_cast<int>(unit(rng) * 200);
      const bool square = h % 2 == 1;
      region.holes.push_back(Ring(region, 50 * std::cos(a), 50 * std::sin(a), m, true, [&](double t) {
        // A square's sides are straight runs of points.
        return square ? 12 / std::max(std::fabs(std::cos(t)), std::fabs(std::sin(t))) : 15.0;
      }));
    }
    const std::vector<TriangleCorners> triangles = TriangulateRegion(region.points, region.outer, region.holes);
    double net = RingArea(region, region.outer);
    for (const auto& hole : region.holes) net += RingArea(region, hole);
    const testsupport::StlPlan plan = Plan(region, triangles);
    EXPECT_EQ(plan.invertedTop, 0);
    EXPECT_NEAR(testsupport::TopArea(plan), net, 1e-9 * net);
    EXPECT_EQ(testsupport::TopOverlaps(plan, 1e-9), 0);
    ExpectClosedFaces(region, triangles);
  }
}

TEST(PolygonTriangulation, TouchingAndCrossingRingsStillCloseTheFaces) {
  // A square hole whose corner lies on the outer square's side.
  Region touching;
  touching.points = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 5}, {4, 3}, {4, 7}, {0, 5}};
  touching.outer = {0, 1, 2, 3, 4};
  touching.holes = {{4, 6, 5}};
  std::vector<TriangleCorners> triangles = TriangulateRegion(touching.points, touching.outer, touching.holes);
  ExpectClosedFaces(touching, triangles);
  testsupport::StlPlan plan = Plan(touching, triangles);
  EXPECT_NEAR(testsupport::TopArea(plan), 100 - 8, 1e-9);
  EXPECT_EQ(plan.invertedTop, 0);

  // A bow tie and an outline whose flank steps back over itself: faces
  // that close, whatever they cover.
  Region bowTie;
  bowTie.points = {{0, 0}, {10, 10}, {10, 0}, {0, 10}};
  bowTie.outer = {0, 1, 2, 3};
  ExpectClosedFaces(bowTie, TriangulateRegion(bowTie.points, bowTie.outer, {}));
  Region stepped;
  stepped.outer = Ring(stepped, 0, 0, 400, false, [](double a) { return 50 + (std::fmod(a, 0.3) < 0.15 ? 3 : 0); });
  // Two points moved past their neighbours.
  std::swap(stepped.points[100], stepped.points[101]);
  std::swap(stepped.points[250], stepped.points[252]);
  ExpectClosedFaces(stepped, TriangulateRegion(stepped.points, stepped.outer, {}));

  // Too few points, or none: nothing.
  EXPECT_TRUE(TriangulateRegion(stepped.points, {0, 1}, {}).empty());
}

TEST(PolygonTriangulation, ContrivedOutlinesEndSoon) {
  // A comb of 50000 long thin teeth with 2000 holes below them, and a
  // zigzag of 50000 points that crosses itself everywhere: each done in a
  // few seconds.
  Region comb;
  const int teeth = 50000;
  for (int i = 0; i < teeth; ++i) {
    comb.points.push_back({static_cast<Real>(i), 0});
    comb.points.push_back({static_cast<Real>(i) + 0.5L, 1000});
  }
  comb.points.push_back({static_cast<Real>(teeth), -10});
  comb.points.push_back({0, -10});
  for (int i = 0; i < 2 * teeth + 2; ++i) comb.outer.push_back(i);
  std::reverse(comb.outer.begin(), comb.outer.end());  // counter-clockwise
  if (RingArea(comb, comb.outer) < 0) std::reverse(comb.outer.begin(), comb.outer.end());
  for (int h = 0; h < 2000; ++h) {
    const Real x = 10 + h * 20, y = -5;
    const int first = static_cast<int>(comb.points.size());
    comb.points.push_back({x, y});
    comb.points.push_back({x, y + 2});
    comb.points.push_back({x + 2, y + 2});
    comb.points.push_back({x + 2, y});
    comb.holes.push_back({first, first + 1, first + 2, first + 3});
  }
  const auto start = std::chrono::steady_clock::now();
  std::vector<TriangleCorners> triangles = TriangulateRegion(comb.points, comb.outer, comb.holes);
  ExpectClosedFaces(comb, triangles);

  Region zigzag;
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> unit(-1000, 1000);
  for (int i = 0; i < 50000; ++i) {
    zigzag.points.push_back({static_cast<Real>(unit(rng)), static_cast<Real>(unit(rng))});
    zigzag.outer.push_back(i);
  }
  triangles = TriangulateRegion(zigzag.points, zigzag.outer, {});
  EXPECT_EQ(triangles.size(), zigzag.outer.size() - 2);
  ExpectClosedFaces(zigzag, triangles);
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 20);
}

}  // namespace
