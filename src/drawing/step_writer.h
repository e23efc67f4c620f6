// The STEP device (7): an ISO 10303-21 exchange file with the header section
// and an empty data section; every primitive is ignored. The header is
// written by the drawing frame, the trailer when the output closes, through
// SharedTextFile (common/text_file.h).
#pragma once

#include <string>

#include "common/real.h"

namespace drawing {

// The frame values are accepted and not used.
void WriteStepHeader(Real x1, Real y1, Real x2, Real y2, Real height);
// "ENDSEC;" and "END-ISO-10303-21;", then the file is closed.
void WriteStepTrailer();
// A text as an ISO 10303-21 string: apostrophes doubled.
std::string StepString(const std::string& text);

}  // namespace drawing
