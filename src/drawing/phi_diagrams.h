// The diagrams of the noncircular pair over one turn of gear 1 (the drive
// angle phi1, 0 to 2 pi): turned angle of gear 2, ratio and its logarithm,
// pitch radii, angular velocity and acceleration of gear 2, and the safety
// factors against tooth-root breakage and pitting, as x-y (xy_diagram.h) or
// polar diagrams (polar_diagram.h), singly or stacked, on any device.
#pragma once

#include <cstdint>
#include <string>

#include "common/range_array.h"
#include "common/real.h"

namespace drawing {

// The diagram codes with the labels of the selection list:
// 1 "path", 2 "gear ratio", 3 "gear ratio (log.)", 4 "pitch curve 1",
// 5 "pitch curve 2", 6 "pitch curve 1+2", 7 "v xy", 8 "a xy", 9 "a polar",
// 10 "omega polar", 11 "SF polar", 12 "SH polar", 13 "SF", 14 "SH",
// 15 "s, v, a" (3, 7 and 8 stacked), 16 "SH, SF" (13 above 14).
extern const RangeArray<std::string, 1, 16> PhiDiagramLabels;

// code 0 lets the user choose; device as for CadOpenOutput. With FatalFlag
// set the calculation messages are shown instead.
void ShowDiagrams(std::uint16_t code, std::uint16_t device);

// One diagram (1..14) at the current place and size of the x-y layer. A
// speed of 0 gives "Fatal  : n = 0 !" and no diagram. The safety diagrams
// (11..14) rate the substitute spur pair at every degree and end with a
// full calculation of the pair, which restores the calculation records.
void DrawPhiDiagram(int code);

}  // namespace drawing
