// Everything the pitch radius of gear 1 (PitchRadius, pitch_curve.h) is
// computed from, taken as one value: what a result derived from the curve
// (the closing of the pair, closure_inputs.h; the pitch tracks of the
// pictures) can be kept by, and rebuilt only when the curve changes.
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

  // Equal inputs give equal radii: every number the same bit for bit (+0
  // and -0 differ; a NaN matches nothing, so such a curve is never taken as
  // unchanged), every text the same.
  bool operator==(const TPitchCurveInputs& other) const;
};

// The inputs of the curve family that CurveType selects, as they stand now
// (for the sine-linear family with the values its preparation derived).
TPitchCurveInputs CurrentPitchCurveInputs();

}  // namespace calc
