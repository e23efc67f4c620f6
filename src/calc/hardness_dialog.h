// The hardness conversion dialog on the generic input/output form
// (common/online_form.h): eleven input rows, one per scale (Rm in the stress
// unit of the active unit system); the user edits any one and every other
// row shows the converted value, "n.def." where the scale has none. The
// material input calls it.
#pragma once

namespace calc {

// Writes HardnessValues into the form's input texts: Rm with StressToText,
// the others with RealToText, "n.def." for 0.
void ShowHardnessValues();

// Runs the dialog until the user leaves it (Escape or "&Close").
void HardnessDialog();

}  // namespace calc
