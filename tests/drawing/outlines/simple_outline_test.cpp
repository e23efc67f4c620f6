// Closed outlines cut at their crossings: the loop of a pointed tooth's
// tip, the overlap of two teeth, a loop that holds the polygon's first
// vertex, loops inside loops, and outlines that need no cut; needles and
// tiny sides taken out, real corners kept.
#include "drawing/outlines/simple_outline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <tuple>
#include <vector>

namespace {

using Vertex = std::tuple<double, double, int>;  // x, y, pen of the segment that starts there

drawing::TPenPolygon Make(const std::vector<Vertex>& vertices) {
  drawing::TPenPolygon p;
  for (const auto& [x, y, pen] : vertices) p.Add(x, y, pen);
  return p;
}

// The polygon's vertices from the one at (x, y) on.
std::vector<Vertex> From(const drawing::TPenPolygon& p, double x, double y) {
  std::vector<Vertex> v;
  for (std::size_t k = 0; k < p.Size(); ++k)
    v.emplace_back(static_cast<double>(p.X[k]), static_cast<double>(p.Y[k]), p.Pen[k]);
  const auto first = std::find_if(v.begin(), v.end(), [&](const Vertex& a) {
    return std::get<0>(a) == x && std::get<1>(a) == y;
  });
  std::rotate(v.begin(), first, v.end());
  return v;
}

// A block with one tooth on top whose flanks cross below its tip land,
// pens 1 for the block, 19 for the flanks and 20 for the tip land.
const std::vector<Vertex> PointedTooth = {{0, 0, 1},  {10, 0, 1},  {10, 5, 1}, {7, 5, 19},
                                          {3, 10, 20}, {7, 10, 19}, {3, 5, 1},  {0, 5, 1}};
// The same block once the tip beyond the crossing (5, 7.5) is cut off.
const std::vector<Vertex> CutTooth = {{0, 0, 1},  {10, 0, 1},  {10, 5, 1}, {7, 5, 19},
                                      {5, 7.5, 19}, {3, 5, 1},  {0, 5, 1}};

}  // namespace

TEST(SimpleOutline, PointedToothLosesTheTipBeyondTheCrossing) {
  drawing::TPenPolygon p = Make(PointedTooth);
  EXPECT_EQ(drawing::TrimCrossings(p), 1);
  EXPECT_EQ(From(p, 0, 0), CutTooth);
  // The same outline started inside the loop: the loop is still the part
  // that goes.
  std::vector<Vertex> turned = PointedTooth;
  std::rotate(turned.begin(), turned.begin() + 4, turned.end());
  p = Make(turned);
  EXPECT_EQ(drawing::TrimCrossings(p), 1);
  EXPECT_EQ(From(p, 0, 0), CutTooth);
}

TEST(SimpleOutline, OverlappingTeethKeepTheirUnion) {
  // Two teeth whose flanks cross above the root land between them: the
  // little triangle under the crossing goes, the two teeth stay joined.
  drawing::TPenPolygon p = Make({{0, 0, 1}, {20, 0, 1}, {20, 5, 1}, {16, 5, 19}, {14, 10, 20}, {11, 10, 19},
                                 {9, 5, 26}, {11, 5, 19}, {9, 10, 20}, {6, 10, 19}, {4, 5, 1}, {0, 5, 1}});
  EXPECT_EQ(drawing::TrimCrossings(p), 1);
  EXPECT_EQ(From(p, 0, 0), (std::vector<Vertex>{{0, 0, 1}, {20, 0, 1}, {20, 5, 1}, {16, 5, 19}, {14, 10, 20},
                                                {11, 10, 19}, {10, 7.5, 19}, {9, 10, 20}, {6, 10, 19}, {4, 5, 1},
                                                {0, 5, 1}}));
}

TEST(SimpleOutline, LoopsInsideLoopsGoOnePassAfterAnother) {
  // A rising flank that curls round and crosses itself at (5.8, 6.8), and
  // whose curl and tip the falling flank crosses three times: the smallest
  // loop goes first (the tip land), then the curl.
  drawing::TPenPolygon p = Make({{0, 0, 1}, {10, 0, 1}, {10, 5, 1}, {7, 5, 19}, {5, 8, 19}, {6.5, 8, 19},
                                 {6.5, 6, 19}, {3, 10, 20}, {7, 10, 19}, {3, 5, 1}, {0, 5, 1}});
  EXPECT_EQ(drawing::TrimCrossings(p), 2);
  const auto v = From(p, 0, 0);
  ASSERT_EQ(v.size(), 8u);
  EXPECT_EQ(std::get<0>(v[3]), 7);
  EXPECT_NEAR(std::get<0>(v[4]), 5.8, 1e-12);
  EXPECT_NEAR(std::get<1>(v[4]), 6.8, 1e-12);
  EXPECT_EQ(std::get<2>(v[4]), 19);
  // Where the rest of the curl's last segment meets the falling flank.
  const double u = 2.7 / 6.7;
  EXPECT_NEAR(std::get<0>(v[5]), 6.5 - 3.5 * u, 1e-12);
  EXPECT_NEAR(std::get<1>(v[5]), 6 + 4 * u, 1e-12);
  EXPECT_EQ(std::get<2>(v[5]), 19);
  EXPECT_EQ(v[6], Vertex(3, 5, 1));
}

TEST(SimpleOutline, SimpleOutlinesStayAndRepeatedPointsGo) {
  drawing::TPenPolygon p = Make({{0, 0, 1}, {10, 0, 2}, {10, 0, 3}, {10, 5, 4}, {0, 5, 5}, {0, 0, 6}});
  EXPECT_EQ(drawing::TrimCrossings(p), 0);
  // The segment of length 0 goes and the one after it keeps its pen; the
  // closing vertex is the first one.
  EXPECT_EQ(From(p, 0, 0), (std::vector<Vertex>{{0, 0, 1}, {10, 0, 3}, {10, 5, 4}, {0, 5, 5}}));
  drawing::TPenPolygon tooth = Make(CutTooth);
  EXPECT_EQ(drawing::TrimCrossings(tooth), 0);
  EXPECT_EQ(From(tooth, 0, 0), CutTooth);
}

TEST(SimpleOutline, NeedlesAndTinySidesGoRealCornersStay) {
  // A square (pen 1) whose bottom folds back by 10 micrometres at (4, 0)
  // (the side before it pen 5), whose right side carries a needle 15
  // micrometres out (pen 7), and whose top right corner is cut by a side
  // of 0.57 micrometres (pen 3); real corners stay: a step of 0.05 mm on
  // top and a notch of 1 mm on the left, which turns back but is wide.
  drawing::TPenPolygon p = Make({{0, 0, 5},        {4, 0, 2},       {3.99, 1e-5, 1},   {10, 0, 1},
                                 {10, 4, 1},       {10.015, 4.00001, 7}, {10, 4.00002, 1}, {10, 9.9996, 3},
                                 {9.9996, 10, 1},  {6, 10, 1},      {6, 10.05, 1},     {4, 10.05, 1},
                                 {4, 10, 1},       {0, 10, 1},      {0, 6, 1},         {3, 5, 1},
                                 {0, 4, 1}});
  EXPECT_EQ(drawing::DropNeedlesAndTinySides(p, 4), 4);
  // No vertex moves; a side that replaces two keeps the longer one's pen.
  EXPECT_EQ(From(p, 0, 0), (std::vector<Vertex>{{0, 0, 5},
                                                {3.99, 1e-5, 1},
                                                {10, 0, 1},
                                                {10, 4.00002, 1},
                                                {10, 9.9996, 1},
                                                {6, 10, 1},
                                                {6, 10.05, 1},
                                                {4, 10.05, 1},
                                                {4, 10, 1},
                                                {0, 10, 1},
                                                {0, 6, 1},
                                                {3, 5, 1},
                                                {0, 4, 1}}));
  EXPECT_EQ(drawing::DropNeedlesAndTinySides(p, 4), 0);
  // A land that meets a flank at 55 degrees, its first side 17
  // micrometres long, is a corner, not a needle.
  drawing::TPenPolygon land = Make({{0, 0, 1}, {5, 0, 1}, {4.99, 0.0141, 2}, {2, 3, 1}});
  EXPECT_EQ(drawing::DropNeedlesAndTinySides(land, 4), 0);
  // An outline of tiny sides only keeps three vertices.
  drawing::TPenPolygon speck = Make({{0, 0, 1}, {0.001, 0, 1}, {0.001, 0.001, 1}, {0, 0.001, 1}});
  EXPECT_EQ(drawing::DropNeedlesAndTinySides(speck, 4), 1);
  EXPECT_EQ(speck.Size(), 3u);
}

TEST(SimpleOutline, OneLongSegmentAmongFiftyThousandShortOnes) {
  // A diagonal from (0, 0) to (L, L), then 50,000 short steps down the
  // right side and back along the bottom to (c, 0), up through the diagonal
  // to (c, 2c), across to (0, 2c) and down to the start: the diagonal
  // crosses the step up at (c, c), and the little loop beyond it goes.
  constexpr double L = 1000, c = 10, step = 0.0395;
  drawing::TPenPolygon p;
  p.Add(0, 0, 1);
  const int down = static_cast<int>(L / step), back = static_cast<int>((L - c) / step);
  for (int k = 0; k < down; ++k) p.Add(L, L - k * step, 2);
  for (int k = 0; k < back; ++k) p.Add(L - k * step, 0, 2);
  p.Add(c, 0, 3);
  p.Add(c, 2 * c, 4);
  p.Add(0, 2 * c, 4);
  const std::size_t before = p.Size();
  ASSERT_GT(before, 50000u);
  EXPECT_EQ(drawing::TrimCrossings(p), 1);
  // The crossing takes the place of the three corners of the loop; the rest
  // of the diagonal keeps its pen, the step up ends there.
  ASSERT_EQ(p.Size(), before - 2);
  const auto v = From(p, c, c);
  EXPECT_EQ(v[0], Vertex(c, c, 1));
  EXPECT_EQ(v[1], Vertex(L, L, 2));
  EXPECT_EQ(v.back(), Vertex(c, 0, 3));
  double area = 0;
  for (std::size_t i = 0, j = v.size() - 1; i < v.size(); j = i++)
    area += std::get<0>(v[j]) * std::get<1>(v[i]) - std::get<0>(v[i]) * std::get<1>(v[j]);
  EXPECT_NEAR(-area / 2, (L * L - c * c) / 2, 1e-6);  // clockwise
}

TEST(SimpleOutline, DenseCombLosesOnlyTheTipBeyondItsCrossing) {
  // A block 1000 long with 5000 teeth of height 10 on top, 0.2 apart (400
  // flanks side by side within the length of one): the teeth taper, but one
  // has its flanks crossed below its tip land, like the pointed tooth.
  constexpr double W = 1000, pitch = 0.2, a = 0.06, b = 0.03, c = 0.03;
  constexpr int teeth = 5000, pointed = 2345;
  drawing::TPenPolygon p;
  p.Add(0, 0, 1);
  p.Add(W, 0, 1);
  p.Add(W, 5, 1);
  double px = 0, py = 0;
  for (int k = 0; k < teeth; ++k) {
    const double x = W - (k + 0.5) * pitch;
    const double tip = k == pointed ? -c : b;  // the pointed tooth's flanks cross
    p.Add(x + a, 5, 19);
    p.Add(x + tip, 15, 20);
    p.Add(x - tip, 15, 19);
    p.Add(x - a, 5, 1);
    if (k == pointed) px = x, py = 5 + 10 * a / (a + c);
  }
  p.Add(0, 5, 1);
  const auto area = [](const drawing::TPenPolygon& q) {
    double sum = 0;
    for (std::size_t i = 0, j = q.Size() - 1; i < q.Size(); j = i++)
      sum += static_cast<double>(q.X[j] * q.Y[i] - q.X[i] * q.Y[j]);
    return sum / 2;
  };
  const double before = area(p);
  const std::size_t size = p.Size();
  EXPECT_EQ(drawing::TrimCrossings(p), 1);
  ASSERT_EQ(p.Size(), size - 1);
  // The crossing stands for the two tip corners; the tip triangle beyond
  // it, drawn the wrong way round, is gone.
  std::size_t at = 0;
  for (std::size_t k = 1; k < p.Size(); ++k)
    if (std::hypot(static_cast<double>(p.X[k]) - px, static_cast<double>(p.Y[k]) - py) <
        std::hypot(static_cast<double>(p.X[at]) - px, static_cast<double>(p.Y[at]) - py))
      at = k;
  EXPECT_NEAR(static_cast<double>(p.X[at]), px, 1e-12);
  EXPECT_NEAR(static_cast<double>(p.Y[at]), py, 1e-12);
  EXPECT_EQ(p.Pen[at], 19);
  EXPECT_EQ(p.Y[(at + 1) % p.Size()], 5);
  const double tipArea = c * (15 - py);  // half of the land 2c times the height
  EXPECT_NEAR(area(p), before + tipArea, 1e-9);
}

TEST(SimpleOutline, PolygonsCrossWithinOneOrBetweenTwo) {
  const auto square = [](double x, double y, double side) {
    return Make({{x, y, 0}, {x + side, y, 0}, {x + side, y + side, 0}, {x, y + side, 0}});
  };
  // A plate with a hole inside it, and a plate beside it: nothing crosses.
  EXPECT_FALSE(drawing::PolygonsCross({square(0, 0, 10), square(2, 2, 3), square(20, 0, 5)}));
  // A hole that reaches out of its plate; one that touches its side.
  EXPECT_TRUE(drawing::PolygonsCross({square(0, 0, 10), square(8, 2, 3)}));
  EXPECT_TRUE(drawing::PolygonsCross({square(0, 0, 10), square(7, 2, 3)}));
  // A bow tie crosses itself; the pointed tooth too, the cut one not.
  EXPECT_TRUE(drawing::PolygonsCross({Make({{0, 0, 0}, {4, 4, 0}, {4, 0, 0}, {0, 4, 0}})}));
  EXPECT_TRUE(drawing::PolygonsCross({Make(PointedTooth)}));
  EXPECT_FALSE(drawing::PolygonsCross({Make(CutTooth)}));
}

// Sides on one line that share a stretch meet: a spike straight back along
// the side it leaves, a notch whose two sides lie on each other, a hole
// that lies along its plate's side; a point repeated at a corner is one
// corner, and sides on one line that only follow each other are one side.
TEST(SimpleOutline, PolygonsCrossAlongALineButNotAtARepeatedCorner) {
  const auto square = [](double x, double y, double side) {
    return Make({{x, y, 0}, {x + side, y, 0}, {x + side, y + side, 0}, {x, y + side, 0}});
  };
  // Out to (10, 0), back to (6, 0) along the side just drawn, then up.
  EXPECT_TRUE(drawing::PolygonsCross({Make({{0, 0, 0}, {10, 0, 0}, {6, 0, 0}, {6, 4, 0}, {0, 4, 0}})}));
  // The spike closes the polygon: its last side runs back along its first.
  EXPECT_TRUE(drawing::PolygonsCross({Make({{0, 0, 0}, {8, 0, 0}, {8, 4, 0}, {0, 4, 0}, {0, 0, 0}, {3, 0, 0}})}));
  // A slit: down from (5, 4) to (5, 1) and up again on the same line.
  EXPECT_TRUE(drawing::PolygonsCross(
      {Make({{0, 0, 0}, {10, 0, 0}, {10, 4, 0}, {5, 4, 0}, {5, 1, 0}, {5, 3, 0}, {4, 4, 0}, {0, 4, 0}})}));
  // Two sides of one polygon on one line, apart from each other in the
  // list, that overlap.
  EXPECT_TRUE(drawing::PolygonsCross(
      {Make({{0, 0, 0}, {6, 0, 0}, {6, 2, 0}, {3, 2, 0}, {3, 0, 0}, {1, 0, 0}, {1, -2, 0}, {0, -2, 0}})}));
  // A hole whose side lies along the plate's side.
  EXPECT_TRUE(drawing::PolygonsCross({square(0, 0, 10), Make({{2, 0, 0}, {5, 0, 0}, {5, 3, 0}, {2, 3, 0}})}));
  // A corner drawn twice, and a side in two pieces on one line: no crossing.
  EXPECT_FALSE(drawing::PolygonsCross({Make({{0, 0, 0}, {10, 0, 0}, {10, 0, 0}, {10, 4, 0}, {5, 4, 0}, {0, 4, 0}})}));
  EXPECT_FALSE(drawing::PolygonsCross({Make({{0, 0, 0}, {10, 0, 0}, {10, 4, 0}, {0, 4, 0}, {0, 0, 0}})}));
}

// Whether two segments cross or touch (neighbours sharing their end do not
// count): every pair tried.
bool BruteForceCross(const drawing::TPenPolygon& p) {
  const std::size_t n = p.Size();
  const auto cross = [](double ax, double ay, double bx, double by) { return ax * by - ay * bx; };
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = i + 1; j < n; ++j) {
      const std::size_t i1 = (i + 1) % n, j1 = (j + 1) % n;
      if (i1 == j || j1 == i) continue;
      const double rx = static_cast<double>(p.X[i1] - p.X[i]), ry = static_cast<double>(p.Y[i1] - p.Y[i]);
      const double sx = static_cast<double>(p.X[j1] - p.X[j]), sy = static_cast<double>(p.Y[j1] - p.Y[j]);
      const double qx = static_cast<double>(p.X[j] - p.X[i]), qy = static_cast<double>(p.Y[j] - p.Y[i]);
      const double d = cross(rx, ry, sx, sy);
      if (d == 0) continue;
      const double t = cross(qx, qy, sx, sy) / d, u = cross(qx, qy, rx, ry) / d;
      if (t >= 0 && t <= 1 && u >= 0 && u <= 1) return true;
    }
  return false;
}

// Star-shaped outlines with a radius that wanders at random, some of them
// crossing themselves, at the scale of a gear and spread far apart (a grid
// of far more columns than segments): the grid finds a crossing exactly
// where trying every pair does.
TEST(SimpleOutline, GridFindsTheCrossingsThatEveryPairShows) {
  unsigned state = 12345;
  const auto random = [&] {
    state = state * 1103515245u + 12345u;
    return static_cast<double>((state >> 8) & 0xFFFF) / 65536.0;
  };
  int crossing = 0, clean = 0;
  for (int round = 0; round < 200; ++round) {
    const int n = 20 + static_cast<int>(random() * 200);
    const double jump = round % 2 == 0 ? 0.02 : 0.4;  // how far the radius may move from step to step
    const double spread = round % 3 == 0 ? 1e7 : 0;  // a far point: a wide, sparse grid
    drawing::TPenPolygon p;
    double r = 50;
    for (int k = 0; k < n; ++k) {
      const double phi = 2 * std::numbers::pi * k / n + (random() - 0.5) * (round % 4 == 1 ? 0.2 : 0.01);
      r = std::max(1.0, r * (1 + (random() - 0.5) * jump));
      p.Add(r * std::cos(phi), r * std::sin(phi), 0);
    }
    if (spread > 0) p.Add(spread, 0, 0), p.Add(spread, 1, 0);
    const bool expected = BruteForceCross(p);
    EXPECT_EQ(drawing::PolygonsCross({p}), expected) << "round " << round;
    ++(expected ? crossing : clean);
  }
  // Both kinds were tried.
  EXPECT_GT(crossing, 20);
  EXPECT_GT(clean, 20);
}
