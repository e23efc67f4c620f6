// Where a window goes that works on a picture without hiding any of it (the
// rotation-angle window over the gear pair it turns): beside the picture
// when the screen has room there; else against the screen edge, at the
// place farthest from the picture's middle that covers none of what is
// drawn (the picture's rectangle holds empty corners round the gears);
// else anywhere on the screen that covers nothing; covering least only
// when no place is free.
#pragma once

#include <cstdint>
#include <vector>

#include "common/form_placement.h"

namespace common {

// What is drawn on the screen, in cells of cell x cell screen pixels: the
// cell (column c, row r) covers the pixels from (left + c cell, top + r
// cell); a cell is inked when any of its pixels is. Outside the map nothing
// is drawn.
struct InkMap {
  int left = 0, top = 0;
  int cell = 4;
  int columns = 0, rows = 0;
  std::vector<std::uint8_t> inked;  // rows x columns, row by row

  InkMap() = default;
  InkMap(int left, int top, int cell, int columns, int rows);
  void Mark(int column, int row) { inked[static_cast<std::size_t>(row) * columns + column] = 1; }
  // The screen pixels of the inked cells' bounding box; width 0 when none.
  FormRect InkedBox() const;
};

FormRect ClearOfPicture(const FormRect& form, const InkMap& ink, const FormRect& screen);

// The inked cells that the rectangle (screen pixels) touches.
long long InkUnder(const FormRect& r, const InkMap& ink);

}  // namespace common
