// The drive of gear 1 as the rating sees it: the torque in use, whether the
// pair carries any load at all, and the checks of speed, power and torque
// before anything is computed from them (drive_load.cpp).
#pragma once

#include <string>

#include "calc/spur_gear_data.h"
#include "common/real.h"

namespace calc {

// The torque of gear 1 in N m: the entered one, or where none is entered
// (0) the one that power and speed give.
Real TorqueInUse(const TSpurGearData& g);

// True when the drive transmits no power (power or speed 0): such a pair
// has nothing to be rated against; its geometry is that of any pair.
bool PairCarriesNoLoad(const TSpurGearData& g);

// Why a pair without load is not rated: "n1 = 0" (at rest, whatever the
// torque) or "P = 0"; empty for a pair under load.
std::string NoLoadReason(const TSpurGearData& g);

// The message-list text that says why the pair is not rated: "Warning: no
// speed (n1 = 0): not rated !" or "Warning: no load (P = 0): not rated !";
// empty for a pair under load.
std::string NoLoadMessage(const TSpurGearData& g);

// The words that stand in a picture where a pair without load would show
// its safeties: "no speed (n1 = 0), not rated" or "no load (P = 0), not
// rated".
std::string NoLoadNotice(const TSpurGearData& g);

// The sentence of a printout in place of a section it does not rate: "the
// pair has no speed (n1 = 0), not rated" or "the pair carries no load
// (P = 0), not rated".
std::string NoLoadSentence(const TSpurGearData& g);

// What stands in a safety's place in a printout or a table: "not rated" for
// a pair at rest (which may carry a torque), "no load" for a drive without
// power.
std::string NoLoadCell(const TSpurGearData& g);

// True when the entered power differs from the one that the torque in use
// and the speed give by 0.1 kW or more. A pair that is not rated is checked
// too: a power entered for a pinion at rest is such a mismatch.
bool DriveDisagrees(const TSpurGearData& g);

// Adds "Fatal  : P<>T*n*2PI" to the message list when the drive disagrees;
// the torque is used, and the text sets no flag.
void ReportDriveMismatch(const TSpurGearData& g);

// Speed, power and torque of SpurGearData: none negative, none beyond its
// limit, and a torque derived from power and speed within the limit of an
// entered one. False at the first that fails, with a "Fatal  : " text
// naming the quantity and FatalFlag set.
bool CheckLoadInputs();

}  // namespace calc
