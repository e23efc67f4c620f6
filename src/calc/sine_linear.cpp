// Derived values of the sine-linear pitch curve (sine_linear.h), with the
// root search GetPhiIter of pitch_curve.h.
#include "calc/sine_linear.h"

#include <cmath>

#include "calc/calc_records.h"
#include "calc/pitch_curve.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/numeric_routines.h"

namespace calc {

void PrepareSineLinearCurve() {
  TSineLinearCurve& c = SineLinearCurve;
  if (!(c.PhiLin > 0 && c.PhiLin < 360)) {
    common::AddErrorMessage("Fatal  : rw1 <= 0 !");
    common::FatalFlag = 1;
    return;
  }
  // Q is the phase at which the sine arc starts (the root of x / cos x =
  // PhiLin in radians); B = A / sin Q makes the arc start at rw0 + A and end
  // at rw0 - A whatever Q is.
  c.Q = common::RadToDeg(GetPhiIter(common::DegToRad(c.PhiLin)));
  c.B = c.A / std::sin(common::DegToRad(c.Q));
  c.Offset = c.Q - (360 - 2 * c.Q) * c.PhiLin / (360 - c.PhiLin);
}

}  // namespace calc
