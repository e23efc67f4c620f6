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

TRatedDrive EnteredDrive(const TSpurGearData& g) {
  TRatedDrive d{g.n[1], g.T[1], g.P, 0};
  if (d.n > 0) {
    if (d.T == 0 && d.P > 0) d.T = d.P / (d.n * PowerPerSpeedTorque);
    else if (d.P == 0 && d.T > 0) d.P = d.n * d.T * PowerPerSpeedTorque;
  }
  return d;
}

TRatedDrive RatedDrive(const TSpurGearData& g) {
  TRatedDrive d = EnteredDrive(g);
  if (std::fabs(d.P - d.n * d.T * PowerPerSpeedTorque) < 0.1L) return d;
  // The dialog computes the chosen quantity from the two the user enters:
  // the rating does the same, and the printout shows what it rated. A
  // choice no dialog makes (a damaged file) is the torque's, as there.
  const std::uint16_t choice =
      g.LoadChoice >= 1 && g.LoadChoice <= 3 ? g.LoadChoice : static_cast<std::uint16_t>(LoadComputesTorque);
  if (choice == LoadComputesSpeed && d.T > 0) {
    d.n = d.P / (d.T * PowerPerSpeedTorque);
    d.computed = LoadComputesSpeed;
  } else if (choice == LoadComputesTorque && d.n > 0) {
    d.T = d.P / (d.n * PowerPerSpeedTorque);
    d.computed = LoadComputesTorque;
  } else {
    d.P = d.n * d.T * PowerPerSpeedTorque;
    d.computed = LoadComputesPower;
  }
  return d;
}

Real TorqueInUse(const TSpurGearData& g) { return RatedDrive(g).T; }

bool PairCarriesNoLoad(const TSpurGearData& g) {
  const TRatedDrive d = RatedDrive(g);
  return d.P == 0 || d.n == 0;
}

std::string NoLoadReason(const TSpurGearData& g) {
  if (!PairCarriesNoLoad(g)) return {};
  return RatedDrive(g).n == 0 ? "n1 = 0" : "P = 0";
}

std::string NoLoadMessage(const TSpurGearData& g) {
  if (!PairCarriesNoLoad(g)) return {};
  return RatedDrive(g).n == 0 ? "Warning: no speed (n1 = 0): not rated !" : "Warning: no load (P = 0): not rated !";
}

std::string NoLoadNotice(const TSpurGearData& g) {
  if (!PairCarriesNoLoad(g)) return {};
  // A pair at rest may carry a torque: what it lacks is the speed.
  return (RatedDrive(g).n == 0 ? "no speed (" : "no load (") + NoLoadReason(g) + "), not rated";
}

std::string NoLoadSentence(const TSpurGearData& g) {
  if (!PairCarriesNoLoad(g)) return {};
  return (RatedDrive(g).n == 0 ? "the pair has " : "the pair carries ") + NoLoadNotice(g);
}

std::string NoLoadCell(const TSpurGearData& g) {
  if (!PairCarriesNoLoad(g)) return {};
  return RatedDrive(g).n == 0 ? "not rated" : "no load";
}

std::string DriveRemark(const TSpurGearData& g) {
  switch (RatedDrive(g).computed) {
    case LoadComputesSpeed: return "Warning: P<>T*n*2PI, n from P and T !";
    case LoadComputesTorque: return "Warning: P<>T*n*2PI, T from P and n !";
    case LoadComputesPower: return "Warning: P<>T*n*2PI, P from T and n !";
    default: return {};
  }
}

void ReportDriveMismatch(const TSpurGearData& g) {
  if (const std::string remark = DriveRemark(g); !remark.empty()) common::AddErrorMessage(remark);
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
  // What is entered, and the drive that the rating uses, derived from it
  // (a tiny speed gives a huge torque), answer to the one limit of each
  // quantity.
  const TRatedDrive d = RatedDrive(g);
  if (!(g.n[1] <= MaxSpeed && d.n <= MaxSpeed)) return Fails("Fatal  : n1 > 1000000 1/min !");
  if (!(g.P <= MaxPower && d.P <= MaxPower)) return Fails("Fatal  : P > 1000000 kW !");
  if (!(g.T[1] <= MaxTorque && d.T <= MaxTorque)) return Fails("Fatal  : T1 > 1E9 Nm !");
  return true;
}

}  // namespace calc
