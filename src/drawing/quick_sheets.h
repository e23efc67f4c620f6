// The quick sheets: ready-made drawings of the pair on one sheet, with the
// gear pair as a scaled block "gear0", the heading, the pitch-curve
// description, the data table, the table of calculation messages and, on
// sheets 3 and 4, diagrams over the drive angle; sheet 4 is a full A3
// drawing with frame and title block (block "frame_1"). And the redraw of
// the result picture after every calculation.
#pragma once

#include <cstdint>

#include "common/real.h"

namespace drawing {

// sheet 1..4; 0 asks for it ("Quick 1" .. "Quick 4"). device as for
// CadOpenOutput (0: the user chooses). With FatalFlag set the calculation
// messages are shown instead.
void DrawQuickSheet(std::uint16_t sheet, std::uint16_t device);

// The scale of the block "gear0" on a sheet: 160 / a / f with f 4.5, 3.5,
// 4.0 and 1.6 for sheets 1 to 4.
Real QuickSheetGearScale(int sheet, Real centreDistance);

// The picture that ResultGraphic names, on the screen; nothing while
// AbortFlag is set.
void RedrawCurrentView();

}  // namespace drawing
