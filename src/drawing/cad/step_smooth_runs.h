// Where an outline of the STEP device runs on smoothly, and the curves it
// then becomes. A flank, a land or a pitch curve arrives as hundreds of
// short lines, each turning a degree or two from the one before; were each
// line a side of its own, a mesher would grade its elements down to the
// narrowest side across the whole face width (a strip of a hundredth of a
// millimetre by 20 mm asks for millions of elements). So the lines between
// two corners (turns of SmoothTurnDegrees or more) become a few smooth
// curves, each a cubic Bezier curve along as many of the lines as it
// follows closely, and the side over each one face; and a side shorter
// than ShortSide, where the outline runs on smoothly at one of its ends, is
// first merged into its neighbour there (it arises where a flank begins at
// its base circle or is cut at the tip curve, a hair's breadth from the
// flank's next point). A side that short between two corners stays: it is
// the part's shape.
//
// Each curve is one polynomial (a B-spline of a single span), so that a
// reader's default integration of the solid over it is exact, and each
// bounds as much area as the lines it stands for: it passes inside their
// corners as much as outside their middles, and the solid has the volume
// of the outline as drawn.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "drawing/cad/step_geometry.h"

namespace drawing::step {

// The outline turns at a corner by this much or more; less is a smooth
// run.
inline constexpr double SmoothTurnDegrees = 20;
// Sides shorter than this (mm) are merged where the outline runs on
// smoothly at one of their ends.
inline constexpr double ShortSide = 0.02;

// How closely the merged sides and the curves keep to the lines drawn (mm).
struct SmoothLimits {
  double shortSide = ShortSide;   // sides shorter are merged where smooth
  double mergeDeviation = 0.002;  // a dropped point from the side passing it
  double fitTolerance = 0.002;    // a curve from its lines
  double mostAllowance = 0.01;    // ... or its corners' height, up to this

  // The limits for an outline of teeth of the module (mm; 0: none, the
  // limits above): scaled as the outline's own tiny side is (TinySideFor,
  // simple_outline.h), the limits above down to module 2 and a share of
  // the module below, so that the teeth of a small module keep their shape
  // and their area in the file as in the outline.
  static SmoothLimits ForModule(double module);
};

// The run (no two neighbours the same point; a closed run's last point not
// repeated) with the points dropped where a line shorter than the short
// side meets a line at a turn of less than SmoothTurnDegrees, the smaller
// turn first, as long as no dropped point lies farther than the merge
// deviation from the side that now passes it. No point of the run moves,
// the ends of an open run and of every arc stay, and a closed run keeps
// three points at least.
Path MergeShortSides(const Path& run, bool closed, const SmoothLimits& limits = {});

// A piece of a smooth stretch: its points first .. last, a line between
// them (no poles) or the cubic Bezier curve of the four poles (x, y
// alternately; the first and the last those points).
struct SmoothPiece {
  std::size_t first = 0, last = 0;
  std::vector<double> poles;
};

// The pieces along the lines through the points (x, y alternately; two
// points at least), first to last: curves tangent to each other where they
// meet (but at a kink, a turn of KinkTurnDegrees or more, or of two degrees
// or more and three times the turns beside it, where they meet at the
// kink's angle), each within the fit tolerance of the lines it follows
// (or within a corner's own height over its chord, up to the most
// allowance), a single line where no curve follows them. The stretch
// begins in the direction `start` and ends in the direction `end` (unit
// vectors; (0, 0): along its first or last line).
std::vector<SmoothPiece> SmoothPieces(const std::vector<double>& points, std::array<double, 2> start,
                                      std::array<double, 2> end, const SmoothLimits& limits = {});

// A point turns by this much (degrees) or more at a kink of a smooth
// stretch: the curves on either side of it keep its angle.
inline constexpr double KinkTurnDegrees = 5;

}  // namespace drawing::step
