// The drive of gear 1 as the rating sees it: the speed, torque and power it
// rates (entered, or where the three disagree the one the load choice
// names taken from the other two), whether the pair carries any load at
// all, and the checks of speed, power and torque before anything is
// computed from them (drive_load.cpp).
#pragma once

#include <string>

#include "calc/spur_gear_data.h"
#include "common/guarded_math.h"
#include "common/real.h"

namespace calc {

// P [kW] = n [1/min] * T [N m] * PowerPerSpeedTorque.
inline constexpr Real PowerPerSpeedTorque = 2 * common::Pi / 60000;

// The drive that is rated, in 1/min, N m and kW. A torque or a power of 0
// beside a speed and the other one means "not entered": it follows from
// them. Where the three then disagree by 0.1 kW or more, the quantity of
// the load choice follows from the other two, as the drive dialog shows
// it; where its divisor (the speed or the torque) is 0, the power follows
// from torque and speed. `computed` names the entered value replaced
// (LoadChoiceCode), 0 where the drive agrees.
struct TRatedDrive {
  Real n = 0, T = 0, P = 0;
  std::uint16_t computed = 0;
};
TRatedDrive RatedDrive(const TSpurGearData& g);

// The drive as entered, a torque or a power of 0 taken from the other and
// the speed (the first step of RatedDrive); computed is 0.
TRatedDrive EnteredDrive(const TSpurGearData& g);

// The torque of gear 1 that is rated, N m.
Real TorqueInUse(const TSpurGearData& g);

// True when the rated drive transmits no power (power or speed 0): such a
// pair has nothing to be rated against; its geometry is that of any pair.
// A turning pair with a torque carries its power.
bool PairCarriesNoLoad(const TSpurGearData& g);

// Why a pair without load is not rated: "n1 = 0" (at rest, whatever the
// torque) or "P = 0" (power and torque 0); empty for a pair under load.
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

// The remark on an entered drive that disagrees, naming the value rated
// in its place: "Warning: P<>T*n*2PI, T from P and n !" (or "P from T and
// n", "n from P and T"); empty where the drive agrees. The results beside
// it are valid: they are those of the drive printed.
std::string DriveRemark(const TSpurGearData& g);

// Adds the drive's remark to the message list, if any.
void ReportDriveMismatch(const TSpurGearData& g);

// Speed, power and torque of SpurGearData: none entered negative, and none
// rated beyond its limit (a torque or a speed derived from a tiny divisor
// answers to the limit of an entered one). False at the first that fails,
// with a "Fatal  : " text naming the quantity and FatalFlag set.
bool CheckLoadInputs();

}  // namespace calc
