// The short program printout: the pitch-curve definition of the current
// design with the pair's dimensions and tool data (part 1), and an extract
// of the operating data, materials and minimum safety factors over the
// drive angle (part 2), through the report writer to the device the user
// chooses.
#pragma once

#include <cstdint>

namespace app {

// 1 dimensions only, 2 strength extract only, 3 (and 0) both; the strength
// extract starts on a page of its own. A fatal calculation shows the
// message list instead; a refused device or paper prompt ends the output.
void PrintPitchCurveReport(std::uint16_t mode);

}  // namespace app
