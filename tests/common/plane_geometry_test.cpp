#include "common/plane_geometry.h"

#include <gtest/gtest.h>

#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/message_list.h"

using namespace common;

namespace {

class PlaneGeometry : public ::testing::Test {
 protected:
  void SetUp() override {
    SetKaldvarDefaults();
    SetWkaldvarDefaults();
    ClearErrorMessages();
  }
  void TearDown() override { MsgQuiet = false; }
};

TEST_F(PlaneGeometry, LinearSystemsAndLineCrossings) {
  Real x = 7, y = 7;
  EXPECT_FALSE(Solve2x2(x, y, 1, 2, 3, 2, 4, 5));  // zero determinant
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  EXPECT_TRUE(Solve2x2(x, y, 2, 1, 5, 1, -1, 1));
  EXPECT_NEAR(x, 2, 1e-18L);
  EXPECT_NEAR(y, 1, 1e-18L);
  EXPECT_EQ(Det2(1, 2, 3, 4), -2);

  EXPECT_TRUE(IntersectLines(x, y, 0, 0, 1, 1, 0, 2, 1, 1));
  EXPECT_NEAR(x, 1, 1e-18L);
  EXPECT_NEAR(y, 1, 1e-18L);
  EXPECT_FALSE(IntersectLines(x, y, 3, 4, 5, 4, 0, 0, 1, 0));  // parallel: P1
  EXPECT_EQ(x, 3);
  EXPECT_EQ(y, 4);

  EXPECT_TRUE(IntersectLinesAngle(x, y, 0, 0, 0, 5, -3, Pi / 2));
  EXPECT_NEAR(x, 5, 1e-15L);
  EXPECT_NEAR(y, 0, 1e-15L);
}

TEST_F(PlaneGeometry, SegmentsAndBetweenTol) {
  Real x, y;
  EXPECT_TRUE(IntersectSegments(x, y, 0, 0, 10, 0, 5, -5, 5, 5));
  EXPECT_NEAR(x, 5, 1e-18L);
  EXPECT_NEAR(y, 0, 1e-18L);
  EXPECT_FALSE(IntersectSegments(x, y, 0, 0, 10, 0, 15, -5, 15, 5));
  EXPECT_NEAR(x, 15, 1e-18L);  // the crossing of the lines is still returned
  EXPECT_NEAR(y, 0, 1e-18L);
  // A vertical segment: x within 1e-12 of the degenerate bound counts.
  EXPECT_TRUE(IntersectSegments(x, y, 0, 1, 3, 1, 0.3L, 0, 0.3L, 2));
  EXPECT_NEAR(x, 0.3L, 1e-18L);
  EXPECT_TRUE(BetweenTol(1 + 5e-13L, 1, 1));
  EXPECT_FALSE(BetweenTol(1 + 5e-12L, 1, 1));
  EXPECT_TRUE(BetweenTol(2, 3, 1));
  EXPECT_FALSE(BetweenTol(1 + 5e-13L, 0, 1));  // only a degenerate range is tolerant
  // Parallel segments: cross only when P1 lies within the second's bounds.
  EXPECT_TRUE(IntersectSegments(x, y, 2, 0, 4, 0, 0, 0, 10, 0));
  EXPECT_FALSE(IntersectSegments(x, y, -2, 0, 4, 0, 0, 0, 10, 0));
}

TEST_F(PlaneGeometry, RotateAboutPoint) {
  Real x, y;
  RotateAboutPoint(x, y, 2, 1, 1, 1, Pi / 2);
  EXPECT_NEAR(x, 1, 1e-18L);
  EXPECT_NEAR(y, 2, 1e-18L);
}

TEST_F(PlaneGeometry, ArcCentre) {
  Real xc, yc, a, b, r;
  GetArcCenter(xc, yc, a, 10, 0, 0, 10, Pi / 2, b, r);
  EXPECT_NEAR(xc, 0, 1e-15L);
  EXPECT_NEAR(yc, 0, 1e-15L);
  EXPECT_NEAR(r, 10, 1e-15L);
  EXPECT_NEAR(a, 0, 1e-15L);
  EXPECT_NEAR(b, Pi / 2, 1e-15L);

  GetArcCenter(xc, yc, a, 10, 0, 0, 10, -Pi / 2, b, r);
  EXPECT_NEAR(xc, 10, 1e-15L);
  EXPECT_NEAR(yc, 10, 1e-15L);
  EXPECT_NEAR(a, 3 * Pi / 2, 1e-15L);  // A below the centre
  EXPECT_NEAR(b, Pi, 1e-15L);          // B left of it
  GetArcCenter2(xc, yc, a, 10, 0, 0, 10, -Pi / 2, b, r);
  EXPECT_NEAR(xc, 10, 1e-15L);
  EXPECT_NEAR(a, Pi, 1e-15L);  // the angle of B first
  EXPECT_NEAR(b, 3 * Pi / 2, 1e-15L);
  EXPECT_EQ(MsgCount, 0);

  // Half circle: the centre is the chord's midpoint.
  GetArcCenter(xc, yc, a, 10, 0, -10, 0, Pi, b, r);
  EXPECT_NEAR(xc, 0, 1e-15L);
  EXPECT_NEAR(yc, 0, 1e-15L);
  EXPECT_NEAR(r, 10, 1e-15L);

  GetArcCenter(xc, yc, a, 3, 4, 3, 4, 1, b, r);
  EXPECT_EQ(xc, 3);
  EXPECT_EQ(yc, 4);
  EXPECT_EQ(r, 0);
  ASSERT_EQ(MsgCount, 1);
  EXPECT_EQ(MsgText[1], "GetArcCenter l12=0");
  GetArcCenter2(xc, yc, a, 5, 5, 5, 5, 1, b, r);
  EXPECT_EQ(xc, 5);
  EXPECT_EQ(MsgCount, 1);  // the second form says nothing about the zero chord

  xc = yc = a = b = r = 42;
  GetArcCenter(xc, yc, a, 0, 0, 1, 1, 0, b, r);
  EXPECT_EQ(xc, 42);  // outputs unchanged
  EXPECT_EQ(r, 42);
  ASSERT_EQ(MsgCount, 2);
  EXPECT_EQ(MsgText[2], "Fehler in GetArcCenter (dphi = 0 ! ");
}

TEST_F(PlaneGeometry, ArcCentreMessagesQuiet) {
  MsgQuiet = true;
  Real xc = 0, yc = 0, a = 0, b = 0, r = 0;
  GetArcCenter(xc, yc, a, 1, 1, 1, 1, 1, b, r);
  GetArcCenter(xc, yc, a, 0, 0, 1, 1, 0, b, r);
  GetArcCenter2(xc, yc, a, 0, 0, 1, 1, 0, b, r);
  EXPECT_EQ(MsgCount, 0);
}

TEST_F(PlaneGeometry, BoxAndClipping) {
  EXPECT_TRUE(PointInBox(0, 10, 0, 0, 10, 10));  // borders included
  EXPECT_FALSE(PointInBox(10.001L, 5, 0, 0, 10, 10));

  Real x, y;
  EXPECT_TRUE(SegmentBoxCrossing(x, y, 5, 5, 15, 5, 0, 0, 10, 10));
  EXPECT_NEAR(x, 10, 1e-18L);
  EXPECT_NEAR(y, 5, 1e-18L);
  x = y = 42;
  EXPECT_FALSE(SegmentBoxCrossing(x, y, 2, 2, 3, 3, 0, 0, 10, 10));
  EXPECT_EQ(x, 42);

  Real x1 = 5, y1 = 5, x2 = 5, y2 = -5;
  EXPECT_TRUE(ClipLineToBox(x1, y1, x2, y2, 0, 0, 10, 10));
  EXPECT_EQ(x1, 5);
  EXPECT_EQ(y1, 5);
  EXPECT_NEAR(x2, 5, 1e-18L);
  EXPECT_NEAR(y2, 0, 1e-18L);

  x1 = -10, y1 = 0, x2 = 10, y2 = 10;  // first end outside
  EXPECT_TRUE(ClipLineToBox(x1, y1, x2, y2, 0, 0, 10, 10));
  EXPECT_NEAR(x1, 0, 1e-18L);
  EXPECT_NEAR(y1, 5, 1e-18L);
  EXPECT_EQ(x2, 10);

  x1 = -5, y1 = 5, x2 = 15, y2 = 5;  // through the box, both ends outside
  EXPECT_TRUE(ClipLineToBox(x1, y1, x2, y2, 0, 0, 10, 10));
  EXPECT_EQ(x1, 0);
  EXPECT_EQ(y1, 5);
  EXPECT_EQ(x2, 10);
  EXPECT_EQ(y2, 5);

  x1 = 12, y1 = -4, x2 = -4, y2 = 12;  // diagonally through, from the other side
  EXPECT_TRUE(ClipLineToBox(x1, y1, x2, y2, 0, 0, 10, 10));
  EXPECT_NEAR(x1, 8, 1e-15L);
  EXPECT_NEAR(y1, 0, 1e-15L);
  EXPECT_NEAR(x2, 0, 1e-15L);
  EXPECT_NEAR(y2, 8, 1e-15L);

  x1 = -5, y1 = 12, x2 = 15, y2 = 14;  // past the box
  EXPECT_FALSE(ClipLineToBox(x1, y1, x2, y2, 0, 0, 10, 10));
  EXPECT_EQ(x1, 0);
  EXPECT_EQ(y1, 0);
  EXPECT_EQ(x2, 0);
  EXPECT_EQ(y2, 0);

  x1 = 1, y1 = 2, x2 = 3, y2 = 4;
  EXPECT_TRUE(ClipLineToBox(x1, y1, x2, y2, 0, 0, 10, 10));
  EXPECT_EQ(x1, 1);
  EXPECT_EQ(y2, 4);

  // An end on the left border, the other beyond the right border: clipped
  // at the right border, not collapsed onto the border point.
  x1 = 0, y1 = 5, x2 = 20, y2 = 5;
  EXPECT_TRUE(ClipLineToBox(x1, y1, x2, y2, 0, 0, 10, 10));
  EXPECT_EQ(x1, 0);
  EXPECT_NEAR(x2, 10, 1e-18L);
  EXPECT_NEAR(y2, 5, 1e-18L);
}

TEST_F(PlaneGeometry, ClippingThroughACornerEndsInTheCorner) {
  // Segments that leave the box exactly through its corner (10, 10) or
  // (0, 10); rounding lets the computed crossings miss both borders there.
  struct Case {
    Real x1, y1, t, cx, cy;
  };
  const Case cases[] = {
      {0.1L, 0.1L, 2.5L, 10, 10}, {0.1L, 0.1L, 3.5L, 10, 10}, {0.1L, 0.6L, 2.5L, 10, 10},
      {0.05L, 0, 3.75L, 0, 10},   {0.1L, 0, 3.75L, 0, 10},    {0.11L, 0, 3.75L, 0, 10},
  };
  for (const Case& c : cases) {
    Real x1 = c.x1, y1 = c.y1;
    Real x2 = c.x1 + (c.cx - c.x1) * c.t, y2 = c.y1 + (c.cy - c.y1) * c.t;
    EXPECT_TRUE(ClipLineToBox(x1, y1, x2, y2, 0, 0, 10, 10));
    EXPECT_EQ(x1, c.x1);
    EXPECT_NEAR(x2, c.cx, 1e-15L) << c.x1 << " " << c.y1 << " " << c.t;
    EXPECT_NEAR(y2, c.cy, 1e-15L) << c.x1 << " " << c.y1 << " " << c.t;
    // The other way round: the first end outside.
    Real u1 = c.x1 + (c.cx - c.x1) * c.t, v1 = c.y1 + (c.cy - c.y1) * c.t;
    Real u2 = c.x1, v2 = c.y1;
    EXPECT_TRUE(ClipLineToBox(u1, v1, u2, v2, 0, 0, 10, 10));
    EXPECT_NEAR(u1, c.cx, 1e-15L);
    EXPECT_NEAR(v1, c.cy, 1e-15L);
  }
}

}  // namespace
