// Everything that closing the pair (IterateCentreDistance, centre_distance.h)
// reads: the pitch curve of gear 1 (the radius function's inputs,
// pitch_curve_inputs.h), the turns k of gear 1 per turn of gear 2, and
// whether messages are quiet (a quiet closing could not tell that it had
// something to say). Two closings with the same inputs give the same
// results, so the last one can stand for the next. The tooth number is no
// input: the closing does not depend on the teeth.
#pragma once

#include <cstdint>

#include "calc/pitch_curve_inputs.h"

namespace calc {

struct TClosureInputs {
  TPitchCurveInputs curve;
  std::int32_t k = 0;
  bool msgQuiet = false;

  // Equal as the curve's inputs are (every number the same bit for bit).
  bool operator==(const TClosureInputs&) const = default;
};

// The inputs as the records hold them now.
TClosureInputs CurrentClosureInputs();

}  // namespace calc
