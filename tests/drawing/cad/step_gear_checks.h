// What the STEP tests ask of a gear's solid as OpenCASCADE's reader takes
// it with its default settings (support/occt_draw.h).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "calc/spur_gear_data.h"
#include "drawing/gear_designs.h"
#include "support/occt_draw.h"

namespace drawingtest {

// The corners of a closed polygon: where its sides turn, by any angle.
inline int Corners(const drawingtest::Polygon& p) {
  int corners = 0;
  for (std::size_t i = 0; i < p.size(); ++i) {
    const auto& a = p[(i + p.size() - 1) % p.size()];
    const auto& b = p[i];
    const auto& c = p[(i + 1) % p.size()];
    const double ux = b.first - a.first, uy = b.second - a.second, vx = c.first - b.first, vy = c.second - b.second;
    if (ux * vx + uy * vy <= 0 || std::fabs(ux * vy - uy * vx) > 1e-9 * std::hypot(ux, uy) * std::hypot(vx, vy))
      ++corners;
  }
  return corners;
}

// A gear's solid as readers take it by default: one valid solid of the face
// width times the area inside its outline less its bore, no C0 shape, a
// plane side between every two corners of the outline, the bore's wall and
// the caps in sectors of some 48 sides, and more than two caps when there
// are many sides.
inline void ExpectGearSolid(const testsupport::StepShape& shape, const drawingtest::Polygon& outline, int gear) {
  EXPECT_EQ(shape.solids, 1) << shape.output;
  EXPECT_TRUE(shape.valid) << shape.output;
  EXPECT_FALSE(shape.c0) << shape.output;
  const double bore = static_cast<double>(calc::SpurGearData.BoreDiameter[gear]) / 2;
  const double expected = drawingtest::GearFaceWidth(gear) * (drawingtest::PolygonArea(outline) - std::numbers::pi * bore * bore);
  EXPECT_NEAR(shape.volume / expected, 1, 1e-5) << shape.output;
  const int corners = Corners(outline);
  const int sectors = static_cast<int>(outline.size()) / 48;
  EXPECT_GE(shape.faces, corners + (sectors >= 3 ? 2 * 2 : 2)) << shape.output;
  EXPECT_LE(shape.faces, corners + (bore > 0 ? 3 : 2) * std::max(sectors, 1)) << shape.output;
}

}  // namespace drawingtest
