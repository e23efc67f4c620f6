// Reading a binary STL file back and judging its extruded solids the way a
// slicer does: the facets, the outline that the walls trace, and the top
// faces' triangles checked for inversion and overlap against that outline's
// area. Used by the STL tests of the drawing device and of whole gears.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

namespace testsupport {

struct StlFacet {
  std::array<float, 3> normal;
  std::array<std::array<float, 3>, 3> vertex;
};

// The facets of a binary STL file; ok is false when its size does not match
// the count in its head.
struct StlMesh {
  bool ok = false;
  std::vector<StlFacet> facets;
};

inline StlMesh ReadBinaryStl(const std::string& bytes) {
  StlMesh mesh;
  if (bytes.size() < 84) return mesh;
  std::uint32_t count = 0;
  std::memcpy(&count, bytes.data() + 80, 4);
  if (bytes.size() != 84 + 50ull * count) return mesh;
  mesh.facets.resize(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    const char* p = bytes.data() + 84 + 50ull * i;
    std::memcpy(mesh.facets[i].normal.data(), p, 12);
    for (int v = 0; v < 3; ++v) std::memcpy(mesh.facets[i].vertex[v].data(), p + 12 + 12 * v, 12);
  }
  mesh.ok = true;
  return mesh;
}

struct P2 {
  double x = 0, y = 0;
};

struct Triangle2 {
  P2 a, b, c;
};

struct Segment2 {
  P2 a, b;
};

inline double Cross2(const P2& a, const P2& b, const P2& c) {
  return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

inline double TriangleArea(const Triangle2& t) { return Cross2(t.a, t.b, t.c) / 2; }

// The extruded picture as seen from above: the triangles of its top faces
// (normal +z) and the edges its walls stand on, each directed so that the
// material lies on its right (a wall's normal points out, to its left).
struct StlPlan {
  std::vector<Triangle2> top;
  std::vector<Segment2> walls;
  double zTop = 0;
  int bottomFacets = 0;
  int invertedTop = 0;     // top triangles running clockwise seen from above
  int invertedBottom = 0;  // bottom triangles running counter-clockwise
};

inline StlPlan PlanOf(const StlMesh& mesh) {
  StlPlan plan;
  for (const StlFacet& f : mesh.facets) plan.zTop = std::max<double>(plan.zTop, f.vertex[0][2]);
  for (const StlFacet& f : mesh.facets) {
    const P2 a{f.vertex[0][0], f.vertex[0][1]}, b{f.vertex[1][0], f.vertex[1][1]}, c{f.vertex[2][0], f.vertex[2][1]};
    if (f.normal[2] > 0.5f) {
      plan.top.push_back({a, b, c});
      if (Cross2(a, b, c) < 0) ++plan.invertedTop;
    } else if (f.normal[2] < -0.5f) {
      ++plan.bottomFacets;
      if (Cross2(a, b, c) > 0) ++plan.invertedBottom;
    } else if (f.vertex[1][2] > f.vertex[0][2] && f.vertex[0][0] == f.vertex[1][0] &&
               f.vertex[0][1] == f.vertex[1][1]) {
      // The first facet of a wall: (1, low), (1, high), (2, low).
      plan.walls.push_back({a, c});
    }
  }
  return plan;
}

// The area the walls enclose (material on the right of every wall).
inline double WallArea(const StlPlan& plan) {
  double sum = 0;
  for (const Segment2& s : plan.walls) sum += s.a.x * s.b.y - s.b.x * s.a.y;
  return -sum / 2;
}

inline double TopArea(const StlPlan& plan) {
  double sum = 0;
  for (const Triangle2& t : plan.top) sum += std::fabs(TriangleArea(t));
  return sum;
}

// Pairs of items whose boxes share a cell of a grid over all of them; each
// pair is offered once to test(i, j) with i < j.
template <typename Box, typename Test>
void ForNearPairs(std::size_t count, const Box& box, const Test& test) {
  if (count < 2) return;
  double xmin = 1e300, xmax = -1e300, ymin = 1e300, ymax = -1e300;
  for (std::size_t i = 0; i < count; ++i) {
    const auto [x0, y0, x1, y1] = box(i);
    xmin = std::min(xmin, x0);
    ymin = std::min(ymin, y0);
    xmax = std::max(xmax, x1);
    ymax = std::max(ymax, y1);
  }
  const int cells = std::max(1, static_cast<int>(std::sqrt(static_cast<double>(count))));
  const double w = std::max(xmax - xmin, 1e-12) / cells, h = std::max(ymax - ymin, 1e-12) / cells;
  const auto cell = [&](double v, double lo, double size) {
    return std::clamp(static_cast<int>((v - lo) / size), 0, cells - 1);
  };
  std::vector<std::vector<std::size_t>> grid(static_cast<std::size_t>(cells) * cells);
  std::vector<std::size_t> stamp(count, static_cast<std::size_t>(-1));
  for (std::size_t i = 0; i < count; ++i) {
    const auto [x0, y0, x1, y1] = box(i);
    const int cx0 = cell(x0, xmin, w), cx1 = cell(x1, xmin, w), cy0 = cell(y0, ymin, h), cy1 = cell(y1, ymin, h);
    for (int cy = cy0; cy <= cy1; ++cy)
      for (int cx = cx0; cx <= cx1; ++cx) {
        auto& bucket = grid[static_cast<std::size_t>(cy) * cells + cx];
        for (const std::size_t j : bucket) {
          if (stamp[j] == i) continue;
          stamp[j] = i;
          test(j, i);
        }
        bucket.push_back(i);
      }
  }
}

// Whether the interiors of two triangles meet by more than tolerance (mm):
// no edge direction of either separates them.
inline bool TrianglesOverlap(const Triangle2& s, const Triangle2& t, double tolerance) {
  const P2 ps[3] = {s.a, s.b, s.c}, pt[3] = {t.a, t.b, t.c};
  for (const P2* tri : {ps, pt})
    for (int e = 0; e < 3; ++e) {
      const P2& p = tri[e];
      const P2& q = tri[(e + 1) % 3];
      double nx = q.y - p.y, ny = p.x - q.x;
      const double length = std::hypot(nx, ny);
      if (length == 0) continue;
      nx /= length;
      ny /= length;
      double min1 = 1e300, max1 = -1e300, min2 = 1e300, max2 = -1e300;
      for (const P2& v : ps) {
        min1 = std::min(min1, v.x * nx + v.y * ny);
        max1 = std::max(max1, v.x * nx + v.y * ny);
      }
      for (const P2& v : pt) {
        min2 = std::min(min2, v.x * nx + v.y * ny);
        max2 = std::max(max2, v.x * nx + v.y * ny);
      }
      if (max1 <= min2 + tolerance || max2 <= min1 + tolerance) return false;
    }
  return true;
}

// The number of pairs of top triangles whose interiors overlap.
inline int TopOverlaps(const StlPlan& plan, double tolerance = 1e-6) {
  int pairs = 0;
  const auto box = [&](std::size_t i) {
    const Triangle2& t = plan.top[i];
    return std::array<double, 4>{std::min({t.a.x, t.b.x, t.c.x}), std::min({t.a.y, t.b.y, t.c.y}),
                                 std::max({t.a.x, t.b.x, t.c.x}), std::max({t.a.y, t.b.y, t.c.y})};
  };
  ForNearPairs(plan.top.size(), box, [&](std::size_t i, std::size_t j) {
    if (TrianglesOverlap(plan.top[i], plan.top[j], tolerance)) ++pairs;
  });
  return pairs;
}

// The number of pairs of wall edges that cross each other (not merely
// meeting at an end): an outline that crosses itself.
inline int WallCrossings(const StlPlan& plan) {
  const auto box = [&](std::size_t i) {
    const Segment2& s = plan.walls[i];
    return std::array<double, 4>{std::min(s.a.x, s.b.x), std::min(s.a.y, s.b.y), std::max(s.a.x, s.b.x),
                                 std::max(s.a.y, s.b.y)};
  };
  int crossings = 0;
  ForNearPairs(plan.walls.size(), box, [&](std::size_t i, std::size_t j) {
    const Segment2& s = plan.walls[i];
    const Segment2& t = plan.walls[j];
    const double d1 = Cross2(s.a, s.b, t.a), d2 = Cross2(s.a, s.b, t.b);
    const double d3 = Cross2(t.a, t.b, s.a), d4 = Cross2(t.a, t.b, s.b);
    if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) ++crossings;
  });
  return crossings;
}

}  // namespace testsupport
