// The drive of gear 1; see drive_load.h.
#include "calc/drive_load.h"

#include <cmath>

#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/message_list.h"

namespace calc {

namespace {

// Limits far beyond any real drive: beyond them the calculation overflows
// or loses every digit. A value that is no number fails its limit too.
constexpr Real MaxSpeed = 1e6;   // 1/min
constexpr Real MaxPower = 1e6;   // kW
constexpr Real MaxTorque = 1e9;  // N m

bool Fails(const char* text) {
  common::AddErrorMessage(text);
  common::FatalFlag = 1;
  return false;
}

}  // namespace

Real TorqueInUse(const TSpurGearData& g) {
  const Real n1 = g.n[1];
  if (g.T[1] == 0 && g.P > 0 && n1 > 0) return g.P * 60000 / (2 * common::Pi * n1);
  return g.T[1];
}

bool PairCarriesNoLoad(const TSpurGearData& g) { return g.P == 0 || g.n[1] == 0; }

std::string NoLoadReason(const TSpurGearData& g) {
  if (!PairCarriesNoLoad(g)) return {};
  return g.n[1] == 0 ? "n1 = 0" : "P = 0";
}

std::string NoLoadMessage(const TSpurGearData& g) {
  if (!PairCarriesNoLoad(g)) return {};
  return g.n[1] == 0 ? "Warning: no speed (n1 = 0): not rated !" : "Warning: no load (P = 0): not rated !";
}

std::string NoLoadNotice(const TSpurGearData& g) {
  if (!PairCarriesNoLoad(g)) return {};
  // A pair at rest may carry a torque: what it lacks is the speed.
  return (g.n[1] == 0 ? "no speed (" : "no load (") + NoLoadReason(g) + "), not rated";
}

std::string NoLoadSentence(const TSpurGearData& g) {
  if (!PairCarriesNoLoad(g)) return {};
  return (g.n[1] == 0 ? "the pair has " : "the pair carries ") + NoLoadNotice(g);
}

std::string NoLoadCell(const TSpurGearData& g) {
  if (!PairCarriesNoLoad(g)) return {};
  return g.n[1] == 0 ? "not rated" : "no load";
}

bool DriveDisagrees(const TSpurGearData& g) {
  return !(std::fabs(g.P - 2 * common::Pi * TorqueInUse(g) * g.n[1] / 60000) < 0.1L);
}

void ReportDriveMismatch(const TSpurGearData& g) {
  if (DriveDisagrees(g)) common::AddErrorMessage("Fatal  : P<>T*n*2PI");
}

bool CheckLoadInputs() {
  const TSpurGearData& g = SpurGearData;
  // A negative quantity has no meaning for the drive: it would be rated
  // as a pair without stress. Each is named: one entered negative makes
  // the one computed from it negative too, and the user entered one of
  // them.
  bool negative = false;
  if (g.n[1] < 0) negative = !Fails("Fatal  : n1 < 0 !");
  if (g.P < 0) negative = !Fails("Fatal  : P < 0 !");
  if (g.T[1] < 0) negative = !Fails("Fatal  : T1 < 0 !");
  if (negative) return false;
  if (!(g.n[1] <= MaxSpeed)) return Fails("Fatal  : n1 > 1000000 1/min !");
  if (!(g.P <= MaxPower)) return Fails("Fatal  : P > 1000000 kW !");
  // The torque that the rating uses, entered or derived (a tiny speed
  // gives a huge one), answers to the one limit.
  if (!(TorqueInUse(g) <= MaxTorque)) return Fails("Fatal  : T1 > 1E9 Nm !");
  return true;
}

}  // namespace calc
