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

// Where the table of calculation messages of a sheet stands: its place
// (top y, text height h, the height the sheet gives it), the bottom of
// what stands above it in its column, the lowest y a row may take and the
// number of rows. Every row stays above `bottom` and below `above`: the
// table moves up where its place is too low, and its height is the room
// it has (DrawTextTableAt shrinks the letters to it).
struct TMessageTableRoom {
  Real top = 0, height = 0;
};
TMessageTableRoom MessageTableRoom(Real top, Real h, Real height, Real above, Real bottom, int rows);

// The picture that ResultGraphic names, on the screen; nothing while
// AbortFlag is set.
void RedrawCurrentView();

}  // namespace drawing
