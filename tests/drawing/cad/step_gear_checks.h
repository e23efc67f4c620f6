// What the STEP tests ask of a gear's solid as OpenCASCADE's reader takes
// it with its default settings (support/occt_draw.h).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "calc/spur_gear_data.h"
#include "drawing/cad/step_smooth_runs.h"
#include "drawing/gear_designs.h"
#include "support/occt_draw.h"

namespace drawingtest {

// The corners of a closed polygon: where its sides turn by `degrees` or
// more (by any angle: 0).
inline int Corners(const drawingtest::Polygon& p, double degrees = 0) {
  const double cosine = std::cos(degrees * std::numbers::pi / 180);
  int corners = 0;
  for (std::size_t i = 0; i < p.size(); ++i) {
    const auto& a = p[(i + p.size() - 1) % p.size()];
    const auto& b = p[i];
    const auto& c = p[(i + 1) % p.size()];
    const double ux = b.first - a.first, uy = b.second - a.second, vx = c.first - b.first, vy = c.second - b.second;
    const double lengths = std::hypot(ux, uy) * std::hypot(vx, vy);
    const bool turns = degrees == 0 ? ux * vx + uy * vy <= 0 || std::fabs(ux * vy - uy * vx) > 1e-9 * lengths
                                    : ux * vx + uy * vy < cosine * lengths;
    corners += turns;
  }
  return corners;
}

// The shortest stretch of a closed polygon between two of its corners
// (turns of `degrees` or more).
inline double CornerGap(const drawingtest::Polygon& p, double degrees) {
  const double cosine = std::cos(degrees * std::numbers::pi / 180);
  std::vector<double> along{0};
  std::vector<std::size_t> corners;
  for (std::size_t i = 0; i < p.size(); ++i) {
    const auto& a = p[(i + p.size() - 1) % p.size()];
    const auto& b = p[i];
    const auto& c = p[(i + 1) % p.size()];
    const double ux = b.first - a.first, uy = b.second - a.second, vx = c.first - b.first, vy = c.second - b.second;
    if (ux * vx + uy * vy < cosine * std::hypot(ux, uy) * std::hypot(vx, vy)) corners.push_back(i);
    along.push_back(along.back() + std::hypot(vx, vy));
  }
  double gap = along.back();
  for (std::size_t k = 0; k < corners.size(); ++k) {
    const std::size_t next = corners[(k + 1) % corners.size()];
    double d = along[next] - along[corners[k]];
    if (d <= 0) d += along.back();
    gap = std::min(gap, d);
  }
  return gap;
}

// A gear's solid as readers take it by default: one valid solid of the face
// width times the area inside its outline less its bore, integrated as a
// reader does by default; no C0 shape; a side between every two corners
// (turns of 20 degrees or more), but far fewer sides than the outline has
// lines (the smooth stretches between corners are a few curves each); the
// bore's wall and the caps in sectors of some 48 lines, and more than two
// caps when there are many lines; where the edges were measured, none
// shorter than shortSide (0.02 mm, less for small modules) where the outline runs on smoothly (a mesher grades
// its elements down to the shortest).
inline void ExpectGearSolid(const testsupport::StepShape& shape, const drawingtest::Polygon& outline, int gear,
                            double shortSide = drawing::step::ShortSide) {
  EXPECT_EQ(shape.solids, 1) << shape.output;
  EXPECT_TRUE(shape.valid) << shape.output;
  EXPECT_FALSE(shape.c0) << shape.output;
  const double bore = static_cast<double>(calc::SpurGearData.BoreDiameter[gear]) / 2;
  const double expected = drawingtest::GearFaceWidth(gear) * (drawingtest::PolygonArea(outline) - std::numbers::pi * bore * bore);
  EXPECT_NEAR(shape.volume / expected, 1, 1e-5) << shape.output;
  const int corners = Corners(outline, 20);
  const int sectors = static_cast<int>(outline.size()) / 48;
  const int caps = 2 * (sectors >= 3 ? sectors : 1);
  EXPECT_GE(shape.faces, corners + (sectors >= 3 ? 2 * 2 : 2)) << shape.output;
  EXPECT_LE(shape.faces, static_cast<int>(outline.size()) / 2 + caps + (bore > 0 ? sectors : 0)) << shape.output;
  // Measured: no edge shorter than shortSide but between two corners closer
  // than that.
  if (shape.shortestEdge >= 0) {
    EXPECT_GE(shape.shortestEdge, std::min(shortSide, CornerGap(outline, 20)) * (1 - 1e-6)) << shape.output;
  }
}

}  // namespace drawingtest
