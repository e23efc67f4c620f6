// A window placed clear of a picture: beside it where the screen has room,
// else against the screen edge farthest from the picture's middle where
// nothing is drawn, and over the least of it only when nothing is free.
#include "common/clear_of_picture.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace common;

namespace {

// A ring of ink round (cx, cy) with the radius r, on a map of the screen.
InkMap Ring(int width, int height, int cx, int cy, int r) {
  InkMap ink(0, 0, 4, width / 4, height / 4);
  for (int row = 0; row < ink.rows; ++row)
    for (int column = 0; column < ink.columns; ++column) {
      const double d = std::hypot(column * 4 + 2 - cx, row * 4 + 2 - cy);
      if (std::fabs(d - r) < 6) ink.Mark(column, row);
    }
  return ink;
}

}  // namespace

TEST(ClearOfPicture, BesideWhereThereIsRoomElseTheFarthestFreeEdge) {
  const FormRect screen{0, 0, 1600, 900};
  const FormRect form{0, 0, 600, 60};
  // A small picture on the left: right of it.
  InkMap small = Ring(1600, 900, 300, 450, 200);
  const FormRect beside = ClearOfPicture(form, small, screen);
  EXPECT_EQ(InkUnder(beside, small), 0);
  EXPECT_GE(beside.left, 500);

  // A ring that fills the screen's height and most of its width: no side
  // is free, the corners are; the window stands against an edge, clear of
  // the ring, in a corner (the farthest from the middle).
  InkMap big = Ring(1600, 900, 800, 450, 430);
  const FormRect corner = ClearOfPicture(form, big, screen);
  EXPECT_EQ(InkUnder(corner, big), 0);
  EXPECT_TRUE(corner.left == 0 || corner.left == 1000) << corner.left << "," << corner.top;
  EXPECT_TRUE(corner.top == 0 || corner.top == 840) << corner.top;

  // Ink everywhere: the window still stays on the screen.
  InkMap full(0, 0, 4, 400, 225);
  for (auto& cell : full.inked) cell = 1;
  const FormRect covered = ClearOfPicture(form, full, screen);
  EXPECT_GE(covered.left, 0);
  EXPECT_LE(covered.left + covered.width, 1600);
  EXPECT_GE(covered.top, 0);
  EXPECT_LE(covered.top + covered.height, 900);

  // Nothing drawn: as beside an empty picture, on the screen.
  const FormRect none = ClearOfPicture(form, InkMap(0, 0, 4, 400, 225), screen);
  EXPECT_GE(none.left, 0);
  EXPECT_LE(none.top + none.height, 900);
}

TEST(ClearOfPicture, InkUnderCountsEveryTouchedCell) {
  InkMap ink(100, 50, 4, 10, 10);
  ink.Mark(0, 0);
  ink.Mark(9, 9);
  EXPECT_EQ(InkUnder({100, 50, 1, 1}, ink), 1);
  EXPECT_EQ(InkUnder({103, 53, 2, 2}, ink), 1);  // reaches into the next cells: no ink there
  EXPECT_EQ(InkUnder({104, 54, 32, 32}, ink), 0);
  EXPECT_EQ(InkUnder({104, 54, 33, 33}, ink), 1);  // touches the last cell
  EXPECT_EQ(InkUnder({0, 0, 1000, 1000}, ink), 2);
  EXPECT_EQ(InkUnder({0, 0, 100, 50}, ink), 0);  // off the map
  EXPECT_EQ(ink.InkedBox(), (FormRect{100, 50, 40, 40}));
}
