// Preparation of the sine-linear pitch curve (curve type 4) before any
// radius is asked for: the derived values B, Q and Offset of SineLinearCurve
// (calc_records.h) that the radius function (pitch_curve.h) reads. Called by
// the noncircular pair calculation before the centre distance is iterated.
#pragma once

namespace calc {

// Q := GetPhiIter(PhiLin in radians) in degrees; B := A / sin Q;
// Offset := Q - (360 - 2 Q) * PhiLin / (360 - PhiLin). The curve then rises
// linearly from rw0 - A at 0 degrees to rw0 + A at PhiLin and continues as
// rw0 + B sin(Theta), Theta running from Q at PhiLin to 360 - Q at 360
// degrees, so the radius is continuous at both joints. PhiLin outside the
// open interval 0..360 leaves no room for one of the two parts: then
// "Fatal  : rw1 <= 0 !" and FatalFlag, and the derived values stay.
void PrepareSineLinearCurve();

}  // namespace calc
