// The inputs of closing the pair; see closure_inputs.h.
#include "calc/closure_inputs.h"

#include "calc/calc_records.h"
#include "common/kaldvar.h"

namespace calc {

TClosureInputs CurrentClosureInputs() { return {CurrentPitchCurveInputs(), NcPair.k, common::MsgQuiet}; }

}  // namespace calc
