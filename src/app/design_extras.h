// Design values that the data file stores but no calculation record holds:
// the table records picked last for material and tool, the material names,
// the tooth-correction texts of the gear printout and the choice of the
// drive quantity computed from the other two. The material, tool and load
// forms edit them; the data file (data_file.cpp) writes and reads them; the
// printouts read them.
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

// Which of the drive values of gear 1 follows from the other two:
// 1 speed n, 2 torque T, 3 power P.
enum LoadChoiceCode : std::uint16_t {
  LoadComputesSpeed = 1,
  LoadComputesTorque = 2,
  LoadComputesPower = 3,
};
extern std::uint16_t LoadChoice;  // a LoadChoiceCode

// Start values of every field above.
void SetDesignExtrasDefaults();

}  // namespace app
