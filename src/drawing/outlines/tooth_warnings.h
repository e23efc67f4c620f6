// The warnings about the teeth of the closed pair, which the noncircular
// calculation adds after its sweep (calc/pair_checks.h): a pitch curve that
// bends tighter than its teeth allow (bend_check.h), outlines that run
// into each other as the pair turns and outlines that never come near
// enough to drive each other (mesh_check.h). Both are computed from
// the kept tooth outlines and kept with them, so that a recalculation after
// an input that leaves the teeth as they are costs nothing.
#pragma once

#include <string>

#include "common/real.h"

namespace drawing {

// Installs AddToothWarnings as the calculation's check of the pair.
void InstallToothWarnings();

// Adds the warnings of the pair as it stands to the message list. A curve
// whose track fails on the way (a formula that does not evaluate between
// the degrees of the sweep) leaves the list and the flags as they were: its
// pictures say so.
void AddToothWarnings();

// The texts: gear 1 or 2 with the drive angle in whole degrees; the first
// drive angle of an overlap and the largest overlap in mm2.
std::string TightCurveWarning(int gear, int degree);
std::string InterferenceWarning(int degree, Real area);
// Gears whose tooth outlines stay more than ContactGapFactor mn apart at
// every position (mesh_check.h): the pair cannot run. Where the substitute
// spur pair of the positions meshes (contact ratio 1 or more, or a tip that
// reaches the mating root), the outlines miss each other because of the
// curve: that warning says so, and no "no contact" stands beside the
// kernel's "the tip touches the mating root".
std::string NoContactWarning();
std::string ApartOnCurveWarning();

}  // namespace drawing
