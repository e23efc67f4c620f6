// The colours of the drawing's pens in the files other programs read. A CAD
// colour number (1 red, 2 yellow, 3 green, 4 cyan, 5 blue, 6 magenta,
// 7 white, 8..16 the darker ones) is drawn on the screen in the colour of
// its entry in the screen's colour table (common/graphics_settings.h); a
// DXF and an IGES file get the colour of their own palette nearest to that,
// so that a reader shows each layer or pen as the screen does.
#pragma once

#include "common/graphics_settings.h"

namespace drawing {

// The screen colour of a CAD colour number (any number; those the screen
// folds or does not know take its colour for them).
common::ColourValue ScreenColourOf(int colour);

// The DXF colour number (AutoCAD colour index, 1..255) nearest to the screen
// colour. White and black take 7, which readers draw in their foreground
// colour (black on white paper, white on a dark screen).
int DxfColourNumber(int colour);

// The IGES colour number (1 black, 2 red, 3 green, 4 blue, 5 yellow,
// 6 magenta, 7 cyan, 8 white) nearest to the screen colour; 0 (no colour:
// the reader's foreground) for colour number 0 and for white, as in DXF.
int IgesColourNumber(int colour);

}  // namespace drawing
