// Fields of SpurGearData (spur_gear_data.h) that only the ISO 6336 factor
// set (iso_factor_set.cpp) reads: the grinding notch of the tooth root.
// Default member values are the kernel's start values (InitGearData and
// SetSpurGearDefaults); SetNoncircularDefaults overrides some of them.
#pragma once

#include <cstdint>
#include <string>

#include "common/range_array.h"
#include "common/real.h"

namespace calc {

struct SpurIsoFields {
  // A grinding notch in the root fillet raises the stress correction factor
  // (ISO 6336-3, YSg). tgrg is the ratio of notch depth to notch radius as
  // entered; the standard covers it up to 2, and the run works with the
  // capped value in tgrgUsed, so the entry stays as the user wrote it.
  bool GrindingNotch = false;
  GearArray<Real> tgrg{};
  GearArray<Real> tgrgUsed{};
  // Field by field; a NaN anywhere makes two sets unequal.
  bool operator==(const SpurIsoFields&) const = default;
};

}  // namespace calc
