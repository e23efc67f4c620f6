// Fields of SpurGearData (spur_gear_data.h): the ISO 6336 factor set.
// Default member values are the kernel's start values (InitGearData and
// SetSpurGearDefaults); SetNoncircularDefaults overrides some of them.
#pragma once

#include <cstdint>
#include <string>

#include "common/range_array.h"
#include "common/real.h"

namespace calc {

struct SpurIsoFields {
};

}  // namespace calc
