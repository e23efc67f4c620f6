// Step 6 of the spur-pair geometry: the test dimensions (measurements.h)
// and the flank tolerances of each gear by its accuracy grade, after
// ISO 1328-1:2013 (ToleranceStandard 1) or DIN 3961 (any other value).
// Reads the geometry of SpurGearData (reference and root diameters, face
// widths, tooth-thickness tolerance) and writes the tolerance fields of
// spur_tolerance_fields.h. Called by the spur-pair driver.
#pragma once

namespace calc {

// The whole step: nothing when FatalFlag is set on entry; the measurements
// of both gears; the flank tolerances only when the measurements ran to
// their end.
void CalcMeasuresTolerances();

// The flank tolerances of both gears in the chosen system, fHbeta5 and the
// root-diameter check ("Invalid Data !"). Never sets FatalFlag.
void CalcGearTolerances();

}  // namespace calc
