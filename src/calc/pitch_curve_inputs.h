// Everything the pitch radius of gear 1 (PitchRadius, pitch_curve.h) is
// computed from, taken as one value: what a result derived from the curve
// alone can be kept by, and rebuilt only when the curve changes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/real.h"

namespace calc {

struct TPitchCurveInputs {
  std::uint16_t curveType = 0;
  std::vector<Real> numbers;         // the family's parameters and points
  std::vector<std::string> formulas; // the formula pieces' texts

  // Equal inputs give equal radii. A NaN among the numbers never compares
  // equal, so such a curve is never taken as unchanged.
  bool operator==(const TPitchCurveInputs&) const = default;
};

// The inputs of the curve family that CurveType selects, as they stand now
// (for the sine-linear family with the values its preparation derived).
TPitchCurveInputs CurrentPitchCurveInputs();

}  // namespace calc
