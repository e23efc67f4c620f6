// The smooth stretches of the STEP device's outlines: short sides where the
// outline runs on smoothly are merged into their neighbours (not between
// corners, not at the ends of a run or of an arc, and no point is dropped
// far from the side that passes it); a stretch becomes a few cubic curves
// that begin and end at its ends, meet each other tangentially (at a kink
// at its angle), stay within their allowance of the lines and bound as
// much area as the lines do, a straight root line at a flank's foot stays
// a line of its own.
#include "drawing/cad/step_smooth_runs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

namespace {

using namespace drawing::step;

constexpr double Pi = std::numbers::pi;

Path PathOf(const std::vector<std::pair<double, double>>& points) {
  Path run;
  for (const auto& [x, y] : points) run.push_back({x, y});
  return run;
}

bool Has(const Path& run, double x, double y) {
  for (const Point& p : run)
    if (p.x == x && p.y == y) return true;
  return false;
}

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay, l2 = dx * dx + dy * dy;
  const double t = l2 > 0 ? std::fmax(0, std::fmin(1, ((px - ax) * dx + (py - ay) * dy) / l2)) : 0;
  return std::hypot(px - ax - t * dx, py - ay - t * dy);
}

TEST(StepSmoothRuns, ShortSidesMergeWhereTheRunGoesOnSmoothly) {
  // An arc of radius 50 in steps of a degree, one step cut a hundredth of a
  // millimetre past a point (where a flank is cut at the tip curve).
  std::vector<std::pair<double, double>> arc;
  for (int i = 0; i <= 10; ++i) {
    arc.emplace_back(50 * std::cos(i * Pi / 180), 50 * std::sin(i * Pi / 180));
    if (i == 5) arc.emplace_back(50 * std::cos(5.0115 * Pi / 180), 50 * std::sin(5.0115 * Pi / 180));
  }
  const Path run = PathOf(arc);
  const Path merged = MergeShortSides(run, false);
  EXPECT_EQ(merged.size(), run.size() - 1);
  EXPECT_TRUE(Has(merged, run.front().x, run.front().y));
  EXPECT_TRUE(Has(merged, run.back().x, run.back().y));
  for (std::size_t k = 1; k < merged.size(); ++k)
    EXPECT_GE(std::hypot(merged[k].x - merged[k - 1].x, merged[k].y - merged[k - 1].y), ShortSide);
  // Every point dropped lies within 0.002 mm of the side that passes it.
  for (const Point& p : run) {
    if (Has(merged, p.x, p.y)) continue;
    double nearest = 1e9;
    for (std::size_t k = 1; k < merged.size(); ++k)
      nearest = std::fmin(nearest, SegmentDistance(p.x, p.y, merged[k - 1].x, merged[k - 1].y, merged[k].x, merged[k].y));
    EXPECT_LE(nearest, 0.002);
  }
  // A step of a hundredth between two right angles is the part's shape;
  // the end of an open run stays (a short side there merges at its other
  // end), and so do the ends of an arc.
  const Path step = PathOf({{0, 0}, {10, 0}, {10, 0.01}, {20, 0.01}});
  EXPECT_EQ(MergeShortSides(step, false).size(), 4u);
  const Path end = PathOf({{0, 0}, {0.01, 0}, {10, 0.01}, {20, 0.03}});
  const Path endMerged = MergeShortSides(end, false);
  ASSERT_EQ(endMerged.size(), 3u);
  EXPECT_TRUE(Has(endMerged, 0, 0));
  Path arcEnd = PathOf({{0, 0}, {10, 0}, {10.01, 0.0001}, {20, 0.2}});
  arcEnd[2].sweep = 0.001, arcEnd[2].cx = 10, arcEnd[2].cy = -10, arcEnd[2].r = 10;
  EXPECT_EQ(MergeShortSides(arcEnd, false).size(), 4u);
  // A closed run keeps three points however short its sides.
  const Path tiny = PathOf({{0, 0}, {0.01, 0}, {0.02, 0.0001}, {0.01, 0.01}});
  EXPECT_GE(MergeShortSides(tiny, true).size(), 3u);
}

// The points of a stretch and the curves of its pieces.
struct Fitted {
  std::vector<double> points;
  std::vector<SmoothPiece> pieces;

  double X(std::size_t i) const { return points[2 * i]; }
  double Y(std::size_t i) const { return points[2 * i + 1]; }
  // A point of a piece's curve (a line from its first to its last point).
  std::pair<double, double> At(const SmoothPiece& p, double t) const {
    if (p.poles.empty()) return {X(p.first) + t * (X(p.last) - X(p.first)), Y(p.first) + t * (Y(p.last) - Y(p.first))};
    const double v = 1 - t, w[4] = {v * v * v, 3 * v * v * t, 3 * v * t * t, t * t * t};
    double x = 0, y = 0;
    for (int k = 0; k < 4; ++k) x += w[k] * p.poles[2 * k], y += w[k] * p.poles[2 * k + 1];
    return {x, y};
  }
  // The direction a piece leaves its first point in (end false) or
  // arrives at its last in.
  double Direction(const SmoothPiece& p, bool end) const {
    if (p.poles.empty()) return std::atan2(Y(p.last) - Y(p.first), X(p.last) - X(p.first));
    return end ? std::atan2(p.poles[7] - p.poles[5], p.poles[6] - p.poles[4])
               : std::atan2(p.poles[3] - p.poles[1], p.poles[2] - p.poles[0]);
  }
  // The curves sampled densely, as one polyline.
  std::vector<std::pair<double, double>> Samples() const {
    std::vector<std::pair<double, double>> s;
    for (const SmoothPiece& p : pieces)
      for (int k = s.empty() ? 0 : 1; k <= 2000; ++k) s.push_back(At(p, k / 2000.0));
    return s;
  }
};

Fitted Fit(const std::vector<std::pair<double, double>>& points) {
  Fitted f;
  for (const auto& [x, y] : points) f.points.push_back(x), f.points.push_back(y);
  f.pieces = SmoothPieces(f.points, {0, 0}, {0, 0});
  return f;
}

// The curves follow the points one after the other, from the first to the
// last, each beginning where the one before ended; they stay within `within`
// of every point and the middle of every line, and bound the lines' area.
void ExpectFollows(const Fitted& f, double within) {
  const std::size_t n = f.points.size() / 2;
  ASSERT_FALSE(f.pieces.empty());
  EXPECT_EQ(f.pieces.front().first, 0u);
  EXPECT_EQ(f.pieces.back().last, n - 1);
  for (std::size_t k = 1; k < f.pieces.size(); ++k) EXPECT_EQ(f.pieces[k].first, f.pieces[k - 1].last);
  for (const SmoothPiece& p : f.pieces) {
    ASSERT_GT(p.last, p.first);
    if (p.poles.empty()) continue;
    ASSERT_EQ(p.poles.size(), 8u);
    EXPECT_EQ(p.poles[0], f.X(p.first));
    EXPECT_EQ(p.poles[1], f.Y(p.first));
    EXPECT_EQ(p.poles[6], f.X(p.last));
    EXPECT_EQ(p.poles[7], f.Y(p.last));
  }
  const auto samples = f.Samples();
  const auto distance = [&](double x, double y) {
    double d = 1e9;
    for (std::size_t k = 1; k < samples.size(); ++k)
      d = std::fmin(d, SegmentDistance(x, y, samples[k - 1].first, samples[k - 1].second, samples[k].first,
                                       samples[k].second));
    return d;
  };
  for (std::size_t i = 0; i < n; ++i) {
    EXPECT_LE(distance(f.X(i), f.Y(i)), within) << "point " << i;
    if (i + 1 < n) {
      EXPECT_LE(distance((f.X(i) + f.X(i + 1)) / 2, (f.Y(i) + f.Y(i + 1)) / 2), within) << "line " << i;
    }
  }
  // The area between the curves and the lines: both walked from the first
  // point to the last, then back along the other.
  double area = 0, scale = 0;
  for (std::size_t k = 1; k < samples.size(); ++k)
    area += samples[k - 1].first * samples[k].second - samples[k].first * samples[k - 1].second;
  for (std::size_t i = n - 1; i > 0; --i) {
    area += f.X(i) * f.Y(i - 1) - f.X(i - 1) * f.Y(i);
    scale += std::hypot(f.X(i) - f.X(i - 1), f.Y(i) - f.Y(i - 1));
  }
  // (Within the sampling's own error, far below the area of a line's
  // sagitta.)
  EXPECT_NEAR(area / 2, 0, 1e-7 * scale * scale);
}

TEST(StepSmoothRuns, ACircleOfManyLinesIsAFewCurves) {
  std::vector<std::pair<double, double>> quarter;
  for (int i = 0; i <= 90; ++i) quarter.emplace_back(50 * std::cos(i * Pi / 180), 50 * std::sin(i * Pi / 180));
  // (Each point within its corner's height over its chord, 0.0038 mm.)
  const Fitted f = Fit(quarter);
  ExpectFollows(f, 0.004);
  EXPECT_LE(f.pieces.size(), 3u);
  for (const SmoothPiece& p : f.pieces) EXPECT_FALSE(p.poles.empty());
  // Tangent to each other where they meet.
  for (std::size_t k = 1; k < f.pieces.size(); ++k)
    EXPECT_NEAR(f.Direction(f.pieces[k - 1], true), f.Direction(f.pieces[k], false), 1e-9);
  // Lines that go on in one direction are one line.
  const Fitted straight = Fit({{0, 0}, {1, 1}, {2, 2}, {5, 5}});
  ASSERT_EQ(straight.pieces.size(), 1u);
  EXPECT_TRUE(straight.pieces[0].poles.empty());
  const Fitted single = Fit({{0, 0}, {1, 1}});
  ASSERT_EQ(single.pieces.size(), 1u);
  EXPECT_TRUE(single.pieces[0].poles.empty());
}

TEST(StepSmoothRuns, AFlankIsAFewCurvesAndItsRootLineALine) {
  // An involute of base radius 57 from its foot to u = 0.5 in twenty
  // steps, after a straight root line of 2 mm at its foot.
  const double rb = 57;
  std::vector<std::pair<double, double>> flank{{rb - 2, 0}};
  for (int i = 0; i <= 20; ++i) {
    const double u = 0.5 * std::sqrt(i / 20.0);
    flank.emplace_back(rb * (std::cos(u) + u * std::sin(u)), rb * (std::sin(u) - u * std::cos(u)));
  }
  const Fitted f = Fit(flank);
  ExpectFollows(f, 0.01);
  ASSERT_GE(f.pieces.size(), 2u);
  EXPECT_LE(f.pieces.size(), 6u);
  EXPECT_TRUE(f.pieces.front().poles.empty());
  EXPECT_EQ(f.pieces.front().last, 1u);
  for (std::size_t k = 1; k < f.pieces.size(); ++k) EXPECT_FALSE(f.pieces[k].poles.empty());
}

TEST(StepSmoothRuns, AKinkKeepsItsAngle) {
  // Two arcs of a degree a step that meet at a kink of ten degrees.
  std::vector<std::pair<double, double>> points;
  for (int i = 0; i <= 20; ++i) points.emplace_back(50 * std::sin(i * Pi / 180), 50 - 50 * std::cos(i * Pi / 180));
  const double x0 = points.back().first, y0 = points.back().second, a0 = 30 * Pi / 180;
  for (int i = 1; i <= 20; ++i) {
    const double a = a0 + i * Pi / 180;
    points.emplace_back(x0 + 50 * (std::sin(a) - std::sin(a0)), y0 - 50 * (std::cos(a) - std::cos(a0)));
  }
  const Fitted f = Fit(points);
  ExpectFollows(f, 0.004);
  bool parted = false;
  for (std::size_t k = 1; k < f.pieces.size(); ++k) {
    if (f.pieces[k].first != 20) continue;
    parted = true;
    const double turn = f.Direction(f.pieces[k], false) - f.Direction(f.pieces[k - 1], true);
    EXPECT_NEAR(turn, 10.5 * Pi / 180, 0.6 * Pi / 180);
  }
  EXPECT_TRUE(parted) << "the curves meet at the kink";
}

}  // namespace
