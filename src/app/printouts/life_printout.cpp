// The service-life lines of the strength report (gear_printout.h): the
// expected hours and load cycles until pitting and tooth breakage, printed
// when the lives were computed and a safety factor is low.
#include <cmath>

#include "app/printouts/gear_printout.h"
#include "app/printouts/printout_rows.h"
#include "calc/spur_gear_data.h"
#include "common/number_format.h"

namespace app {

namespace {

// Cycle counts from this bound on count as endurance ("infinite").
constexpr Real kEnduranceCycles = 9999999999.0L;

// The lines are printed when a safety factor lies below 1.0, or below 1.16
// under ISO 6336, whose safety margins are meant to be larger.
bool LifeLinesWanted(const GearArray<Real>& safety, int method) {
  for (int i = 1; i <= 2; ++i) {
    if (safety[i] < 1.0L) return true;
    if (method == 4 && safety[i] < 1.16L) return true;
  }
  return false;
}

bool SameLives(const GearArray<Real>& a, const GearArray<Real>& b) { return a[1] == b[1] && a[2] == b[2]; }

}  // namespace

void PrintLifePitting(const GearArray<Real>& safety, const GearArray<Real>& tH1, const GearArray<Real>& tH2,
                      int method) {
  if (!LifeLinesWanted(safety, method)) return;
  const auto& g = calc::SpurGearData;
  GearArray<std::string> time1, cycles1, time2, cycles2;
  for (int i = 1; i <= 2; ++i) {
    if (g.CyclesH[i] >= kEnduranceCycles) {
      time1[i] = "infinite";
      cycles1[i] = "> 1E10";
    } else if (tH1[i] == 0) {
      time1[i] = "Pitting!";
      cycles1[i] = " 0 !";
    } else {
      time1[i] = common::RealToTextDigits(2, std::fabs(tH1[i]));
      cycles1[i] = common::RealToTextOrExp(g.CyclesH[i]);
    }
    if (g.CyclesH2[i] >= kEnduranceCycles + 1) {
      time2[i] = "infinite";
      cycles2[i] = " > 1E10";
    } else if (tH2[i] == 0) {
      time2[i] = "Pitting!";
      cycles2[i] = "   0 !";
    } else {
      time2[i] = common::RealToTextDigits(2, std::fabs(tH2[i]));
      cycles2[i] = common::RealToTextOrExp(g.CyclesH2[i]);
    }
  }
  const bool oneStage = SameLives(tH1, tH2);
  GearRow("time until pitting", "tH1", "h", time1[1], time1[2]);
  if (!oneStage) GearRow("time until extreme pitting", "tH2", "h", time2[1], time2[2]);
  GearRow("cycles until Pitting", "NLH1", "", cycles1[1], cycles1[2]);
  if (!oneStage) GearRow("cycles until extrem.Pitting", "NLH2", "", cycles2[1], cycles2[2]);
}

void PrintLifeToothRoot(const GearArray<Real>& safety, const GearArray<Real>& tF, int method) {
  if (!LifeLinesWanted(safety, method)) return;
  const auto& g = calc::SpurGearData;
  GearArray<std::string> time, cycles;
  for (int i = 1; i <= 2; ++i) {
    if (g.CyclesF[i] >= kEnduranceCycles) {
      time[i] = "infinite";
      cycles[i] = " > 1E10";
    } else if (g.CyclesF[i] == 0) {
      time[i] = "breakage !";
      cycles[i] = "   0 !";
    } else {
      time[i] = common::RealToTextWidth(7, std::fabs(tF[i]));
      cycles[i] = common::RealToTextOrExp(g.CyclesF[i]);
    }
  }
  GearRow("lifetime until tooth breakage", "tF", "h", time[1], time[2]);
  GearRow("cycles until tooth breakage", "NLF", "", cycles[1], cycles[2]);
}

}  // namespace app
