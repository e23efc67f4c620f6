// The spur-pair calculation driver: the order of the steps of the spur-gear
// kernel and the stop tests between them, and the mean values that the gear
// pictures draw from. The steps are in basic_geometry.h, tool_profile.h,
// contact_geometry.h, gear_tolerances.h (measurements and tolerances),
// plausibility_warnings.h and load_capacity.h; all work on SpurGearData
// (spur_gear_data.h) and report through the message list with FatalFlag.
#pragma once

#include "common/range_array.h"
#include "common/real.h"

namespace calc {

// The complete calculation: clears the message list and both flags, runs
// the geometry and, unless it ended fatally, the load capacity. After a
// fatal step the results of the later steps are those of the previous run.
void CalcSpurPair();

// The geometry alone (input checks, centre distance, tool profile, tip
// diameters, contact geometry, measurements and tolerances, warnings and
// picture values), stopping after a fatal step. Does not clear AbortFlag:
// while it is set, only the steps up to the tool profile run.
void CalcSpurGeometry();

// The rest of the complete calculation for a data set whose input check
// and tool-profile step have just run on these very inputs, for a rating
// that only the safeties, the flags and the messages are read from: tip
// diameters, contact geometry, tolerances, warnings and load capacity,
// without the measurements (but for the span tooth count that later runs
// keep) and picture values, and without clearing the message list.
// FatalFlag, every value the load capacity reads and the messages but those
// of the measurements are as CalcSpurPair leaves them.
void CalcSpurRatingAfterToolProfile();

// Mean values for the gear pictures: mean generating profile shifts, the
// tooth angle on the working pitch circle and the contact angles of gear 1.
void PrepareDrawingValues();

// Mean tooth thickness, root and tip diameters and working pitch diameters
// of the picture for the profile-shift coefficients xm (one per gear), and
// the contact angles of gear 1. "Error  : confgraf" when no working
// pressure angle fits the picture's centre distance.
void CalcAuxDiameters(GearArray<Real> xm);

}  // namespace calc
