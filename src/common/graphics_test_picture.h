// A picture that uses every recording call of the graphics window once:
// all colours, line styles and widths, circles, arcs of both senses, solids,
// texts in four directions, a sleep and the logo. The program shows it with
// its test switch (a look at a new display or printer), and the tests
// replay it.
#pragma once

namespace common {

// Clears the graphics window and draws the picture in a 160 x 120 window.
void DrawGraphicsTestPicture();

}  // namespace common
