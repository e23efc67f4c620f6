// Fields of SpurGearData (spur_gear_data.h): tooth-thickness allowances, tolerance tables, gear tolerances and the span and ball measurements.
// Default member values are the kernel's start values (InitGearData and
// SetSpurGearDefaults); SetNoncircularDefaults overrides some of them.
#pragma once

#include <cstdint>
#include <string>

#include "common/range_array.h"
#include "common/real.h"

namespace calc {

struct SpurToleranceFields {
};

}  // namespace calc
