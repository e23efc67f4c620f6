// Fields of SpurGearData (spur_gear_data.h): tool-profile inputs and geometry results of the spur-pair kernel (driver, tool profile, input checks, basic and contact geometry, warnings, running-in allowance, face widths).
// Default member values are the kernel's start values (InitGearData and
// SetSpurGearDefaults); SetNoncircularDefaults overrides some of them.
#pragma once

#include <cstdint>
#include <string>

#include "common/range_array.h"
#include "common/real.h"

namespace calc {

struct SpurGeometryFields {
};

}  // namespace calc
