// Fields of SpurGearData (spur_gear_data.h): load, material and strength inputs and the DIN 3990 load-capacity results.
// Default member values are the kernel's start values (InitGearData and
// SetSpurGearDefaults); SetNoncircularDefaults overrides some of them.
#pragma once

#include <cstdint>
#include <string>

#include "common/range_array.h"
#include "common/real.h"

namespace calc {

struct SpurStrengthFields {
};

}  // namespace calc
