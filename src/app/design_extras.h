// Design values that the data file stores but no calculation record holds:
// the table records picked last for material and tool, the material names
// and the tooth-correction texts of the gear printout. The material and
// tool forms edit them; the data file (data_file.cpp) writes and reads them;
// the printouts read them.
#pragma once

#include <cstdint>
#include <string>

#include "common/range_array.h"

namespace app {

// Record of the material table picked last per gear (0 = none).
extern GearArray<std::uint16_t> MaterialRecNo;
// Record of the tool table picked last per gear (0 = none).
extern GearArray<std::uint16_t> ToolRecNo;
// Material designation per gear, code page 850.
extern GearArray<std::string> MaterialName;
// Tooth correction and relief per gear as a free text, code page 850.
extern GearArray<std::string> ToothCorrectionText;

// Start values of every field above.
void SetDesignExtrasDefaults();

}  // namespace app
