// The text blocks of a quick sheet: the heading with the drawing names and
// numbers of both gears and the two sheet texts, the description of gear
// 1's pitch curve with its parameters, and the table of the pair's data and
// results. They draw through the primitives of the drawing interface and the
// text tables (text_table.h), so they appear alike on every device; numbers
// are in the active unit system.
#pragma once

#include <string>
#include <vector>

#include "common/real.h"

namespace drawing {

// Heading at (x, y), the top line's base line, in text height h.
void DrawSheetHeading(Real h, Real x, Real y);
// The description as a one-column table with its top left corner at (x, y);
// nothing while FatalFlag is set. Returns the y of its bottom rule (y when
// nothing is drawn).
Real DrawPitchCurveDescription(Real x, Real y, Real h);
// The data table with its top left corner at (x, y), text height h; returns
// the y of its bottom rule.
Real DrawGearDataTable(Real x, Real y, Real h);

// The lines of the description of the current curve (what the table shows).
std::vector<std::string> PitchCurveDescriptionLines();

}  // namespace drawing
