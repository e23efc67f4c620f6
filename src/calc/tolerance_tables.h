// Tolerance tables of the spur-gear kernel: the ISO 286 fundamental
// tolerances (centre-distance allowances, "js" fields), the DIN 3967
// tooth-thickness tolerances and upper allowances with their look-ups, the
// measuring-ball diameter for the dimension over balls, and the rounding of
// the ISO 1328 flank tolerances to preferred steps. Used by the tool-profile
// step (tooth-thickness and centre-distance allowances), measurements.cpp
// and gear_tolerances.cpp. No routine keeps state.
#pragma once

#include <cstdint>

#include "common/range_array.h"
#include "common/real.h"

namespace calc {

// ISO 286 fundamental tolerances in micrometres: 21 nominal-size ranges x
// grades IT4..IT11 (columns 1..8, offered as "js 4".."js11").
inline constexpr int IsoSizeRangeCount = 21;
inline constexpr int IsoGradeCount = 8;
extern const RangeArray<RangeArray<std::int32_t, 1, IsoGradeCount>, 1, IsoSizeRangeCount>
    IsoToleranceTable;

// DIN 3967 tooth-thickness tolerances Tsn in micrometres: 11 reference-
// diameter ranges x tolerance series 21..30 (columns 1..10).
inline constexpr int DiameterRangeCount = 11;
inline constexpr int ToothThicknessToleranceCount = 10;
extern const RangeArray<RangeArray<std::int32_t, 1, ToothThicknessToleranceCount>, 1,
                        DiameterRangeCount>
    ToothThicknessToleranceTable;

// DIN 3967 upper tooth-thickness allowances (magnitudes) in micrometres:
// the same diameter ranges x deviation series a, ab, b, bc, c, cd, d, e, f,
// g, h (columns 1..11).
inline constexpr int ToothThicknessAllowanceCount = 11;
extern const RangeArray<RangeArray<std::int32_t, 1, ToothThicknessAllowanceCount>, 1,
                        DiameterRangeCount>
    ToothThicknessAllowanceTable;

// Row of IsoToleranceTable for a whole size in mm (sign ignored), 1..21.
int IsoSizeRangeIndex(std::int32_t n);

// Row of the DIN 3967 tables for a whole diameter in mm (sign ignored), 1..11.
int DiameterRangeIndex(std::int32_t n);

// ISO 286 tolerance of grade column 1..8 (IT4..IT11) for a size in mm, in
// micrometres; a size on a range limit belongs to the lower range. A column
// outside 1..8 gives 0.
std::int32_t GetIsoTolerance(int column, Real size);

// DIN 3967 tooth-thickness tolerance of series column 1..10 (21..30) for the
// reference diameter d, in micrometres; other columns give 0.
std::int32_t GetToothThicknessTolerance(int column, Real d);

// DIN 3967 upper tooth-thickness allowance (magnitude) of deviation series
// column 1..11 (a..h) for the reference diameter d, in micrometres; other
// columns give 0.
std::int32_t GetToothThicknessAllowance(int column, Real d);

// Ball or pin diameter DM (mm) for the dimension over balls of a gear with
// z teeth and the profile shift x (angles in radians): the ball that
// touches the flanks at the point where the shifted reference circle of the
// virtual spur gear meets them. From 0.5 mm up it is rounded to a stock
// size, 0.1 mm (imperial units: 0.001 in). Returns 0 when no ball fits.
Real CalcMeasuringBallDiameter(std::int32_t z, Real beta, Real alphan, Real x, Real mn);

// Rounding of the ISO 1328 flank tolerances: below 5 to 0.1, from 5 to 10
// to 0.5, above 10 to whole micrometres; halves to even.
Real RoundToPreferredStep(Real x);

}  // namespace calc
