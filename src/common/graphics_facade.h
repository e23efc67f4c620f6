// The procedural facade over the one graphics window (graphics_window.h):
// what the drawing interface, the pictures and the plot-file viewer call.
// Each routine forwards to FKaldgra; world coordinates are reals, angles
// degrees, texts program texts (code page 850, converted for display here).
//
//   InitGraphDisplayList();              // once, when the main window is made
//   ClearGraphics();                     // a new picture
//   GraphHeader(0, 0, 160, 120);         // world window over the whole screen
//   GraphColor(12);                      // colour index (GraphDosColor: CAD 1..7)
//   GraphLine(10, 10, 150, 110);
//   GraphTextStyle(0, 0, 3.5, 3.5);      // font, direction, height, width
//   GraphText(20, 20, "Text");
//   GraphClearViewPort();                // show it (the host replays)
#pragma once

#include <string>

#include "common/graphics_window.h"
#include "common/real.h"

namespace common {

// The one graphics window.
extern TFkaldgra FKaldgra;

// Settings and window state as at the start of the graphics-window unit:
// zoom step 1.2, pan step 0.1, factors 1 (before the configuration is read).
void InitGraphicsWindowUnit();
// The display list emptied and the window created (FormCreate).
void InitGraphDisplayList();

void ClearGraphics();
void GraphWindow(bool keepAspect, bool inset, Real fx1, Real fy1, Real fx2, Real fy2, Real wx1, Real wy1, Real wx2,
                 Real wy2);
void GraphCircle(Real x, Real y, Real r);
void GraphLine(Real x1, Real y1, Real x2, Real y2);
void GraphArc(Real cx, Real cy, Real a1, Real a2, Real r, Real sweep);
void GraphText(Real x, Real y, const std::string& text);
void GraphColor(int c);
void GraphDosColor(int n);
void GraphHeader(Real wx1, Real wy1, Real wx2, Real wy2);
void GraphClearViewPort();
void GraphLineStyle(int s);
void GraphLineWidth(int w);
void GraphTextStyle(int font, Real direction, Real height, Real width);
void GraphSolid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4);
void GraphSleep(int ms);
void GraphLogo();
void WaitCursor();
void NormalCursor();
// A message box with the text (a program text).
void GraphMessage(const std::string& text);
// Opens the file on the shared text file; when that fails, "<name> not
// found !" in a message box and AbortFlag; else closes it again.
void CheckFileExists(const std::string& name);
// The full name of the current data file (data directory, name, ".",
// extension, the extension only when the name has none); the bare name while
// BareNameFlag is set; empty without a name.
std::string DataFileName();

}  // namespace common
