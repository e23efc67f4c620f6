// The graphics window's test picture; see graphics_test_picture.h.
#include "common/graphics_test_picture.h"

#include <string>

#include "common/graphics_facade.h"

namespace common {

void DrawGraphicsTestPicture() {
  ClearGraphics();
  GraphHeader(0, 0, 160, 120);
  // Frame and title.
  GraphColor(15);
  FKaldgra.Rectangle(2, 2, 158, 118);
  GraphTextStyle(0, 0, 4, 4);
  GraphText(6, 108, "Graphics window test picture");
  // The seven CAD colours as bars, the colour table as short lines.
  GraphTextStyle(0, 0, 2.2L, 2.2L);
  for (int n = 1; n <= 7; ++n) {
    GraphDosColor(n);
    const Real x = 90 + (n - 1) * 9.5L;
    GraphSolid(x, 98, x + 7, 98, x + 7, 104, x, 104);
    GraphText(x + 2, 93, std::to_string(n));
  }
  for (int c = 1; c <= 16; ++c) {
    GraphColor(c);
    const Real x = 6 + (c - 1) * 3;
    GraphLine(x, 84, x, 94);
  }
  // Line styles and widths.
  GraphColor(14);
  for (int s = 0; s <= 3; ++s) {
    GraphLineStyle(s);
    GraphLine(115, 84 - 4 * s, 155, 84 - 4 * s);
  }
  GraphLineStyle(0);
  for (int w = 1; w <= 4; ++w) {
    GraphLineWidth(w);
    GraphLine(115, 68 - 3 * w, 155, 68 - 3 * w);
  }
  GraphLineWidth(1);
  // Circles and arcs: counterclockwise (green) and clockwise (red) sweeps.
  GraphColor(11);
  GraphCircle(22, 24, 15);
  GraphCircle(22, 24, 2);
  GraphColor(10);
  GraphArc(60, 24, 0, 135, 15, 135);
  GraphColor(12);
  GraphArc(60, 24, 180, 270, 10, -90);
  GraphColor(13);
  GraphArc(60, 24, 300, 302, 15, 2);  // a chord
  // Texts in four directions about one point.
  GraphColor(15);
  for (int d = 0; d < 360; d += 90) {
    GraphTextStyle(0, d, 2.5L, 2.5L);
    GraphText(132, 26, "  Text " + std::to_string(d));
  }
  GraphSleep(1);
  // The logo in the middle.
  GraphLogo();
  GraphClearViewPort();
}

}  // namespace common
