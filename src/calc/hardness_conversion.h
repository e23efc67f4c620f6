// Conversion of a hardness value or tensile strength of an unalloyed or
// low-alloy steel into the other scales, by linear interpolation in the
// conversion table for steels (ISO 18265 / DIN 50150). The material input
// uses it directly; its dialog runs on the generic input/output form.
#pragma once

#include <cstdint>
#include <string>

#include "common/range_array.h"
#include "common/real.h"

namespace calc {

// Scales 1..11 in this order.
enum HardnessScale : int {
  ScaleRm = 1,
  ScaleHV = 2,
  ScaleHRB = 3,
  ScaleHRF = 4,
  ScaleHRC = 5,
  ScaleHRA = 6,
  ScaleHRD = 7,
  ScaleHR15N = 8,
  ScaleHR30N = 9,
  ScaleHR45N = 10,
  ScaleHB = 11,
};
inline constexpr int HardnessScaleCount = 11;
inline constexpr int HardnessTableRows = 98;
inline constexpr int HardnessTableColumns = 10;  // scales 1..10; HB is 0.95 HV

extern const RangeArray<std::string, 1, HardnessScaleCount> HardnessScaleNames;
extern const RangeArray<std::string, 1, HardnessScaleCount> HardnessScaleLongNames;
extern const RangeArray<Real, 1, HardnessScaleCount> HardnessMinimum;
extern const RangeArray<Real, 1, HardnessScaleCount> HardnessMaximum;

// Rows by rising hardness, columns Rm, HV (whole units), HRB, HRF, HRC, HRA,
// HRD, HR15N, HR30N, HR45N (tenths: 410 is 41.0); 0 where the row has no
// value in that scale.
extern const RangeArray<RangeArray<std::int32_t, 1, HardnessTableColumns>, 1, HardnessTableRows>
    HardnessTable;

// Column layout selector: 0, scales 1 and 2 in whole units, all others in
// tenths (the only layout of this table).
inline constexpr std::uint16_t TenthsColumns = 0;

// Values of the last conversion, 1..11 by scale (0 = not defined), and two
// further entries cleared with them.
extern RangeArray<Real, 1, HardnessScaleCount + 2> HardnessValues;

// Further name tables kept with the conversion data (not used by it).
extern const RangeArray<std::string, 1, 13> HardnessTestScaleNames;
extern const RangeArray<std::string, 1, 18> HardnessMaterialGroupNames;

// Fills HardnessValues from value in scale (1..11). A value outside the
// scale's range gives the message "<name>:<min>..<max> !" and all values 0.
void ConvertHardness(int scale, Real value);
// The same, for the material input.
void ConvertHardnessValue(int scale, Real value);
// HardnessValues[n].
Real GetHardnessValue(int n);
// True for scales whose table column holds tenths.
bool IsTenthsScale(int scale);

}  // namespace calc
