// Plausibility warnings of the spur pair (plausibility_warnings.h). Reads the
// results of basic_geometry.cpp, tool_profile.cpp and contact_geometry.cpp.
// Texts without a kind prefix are stored as they stand.
#include "calc/plausibility_warnings.h"

#include <cmath>
#include <string>

#include "calc/spur_gear_data.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/number_format.h"

namespace calc {

bool HasPointTeeth(const TSpurGearData& g, int i) {
  const Real mn = g.NormalModule;
  return g.sat[i] <= 0.15L * mn || g.san[i] <= 0.15L * mn;
}

bool HasUndercut(const TSpurGearData& g, int i) {
  return !common::MsgQuiet && g.ToothNumbers[i] > 0 && g.xmin[i] > g.ProfileShift[i];
}

bool HasBoreAboveRoot(const TSpurGearData& g, int i) { return g.BoreDiameter[i] != 0 && g.df[i] < g.BoreDiameter[i]; }

std::string BoreAboveRootError(int i) { return "Error  : dB > df ! (" + common::IntToText(i) + ")"; }

std::string PointTeethWarning(int i) { return "Warning: point teeth ! (" + common::IntToText(i) + ")"; }

std::string UndercutWarning(int i) { return "Warning: undercut ! (" + common::IntToText(i) + ")"; }

void CheckSpurWarnings() {
  TSpurGearData& g = SpurGearData;
  using common::AddErrorMessage;
  const bool quiet = common::MsgQuiet;
  const Real mn = g.NormalModule;
  const int zSum = g.ToothNumbers[1] + g.ToothNumbers[2];

  for (int i = 1; i <= 2; ++i) {
    const std::string n = common::IntToText(i);
    if (HasPointTeeth(g, i)) AddErrorMessage(PointTeethWarning(i));
    if (HasUndercut(g, i)) AddErrorMessage(UndercutWarning(i));
    if (g.c[i] < 0) {
      AddErrorMessage("Error  : clearance sh.add. < 0 ! (" + n + ")");
    } else if (!quiet && g.c[i] < 0.12L * mn) {
      AddErrorMessage("Warning: clearance sh.add. < 0.12mn ! (" + n + ")");
    }
  }
  if (g.epsAlpha < 1 && zSum != 0) AddErrorMessage("eps.alpha < 1 !");
  if (!quiet && g.epsBeta < 1 && g.HelixAngle > 0) AddErrorMessage("eps.beta < 1 !");
  if (g.epsGamma < 1 && zSum != 0) AddErrorMessage("eps.gamma < 1 !");

  for (int i = 1; i <= 2; ++i) {
    if (std::fabs(g.ProfileShift[i]) > 1.5L) {
      AddErrorMessage("Warning: x > 1.5   (" + common::IntToText(i) + ") !");
    }
    if (g.PressureAngle < g.alphaPrP0[i]) AddErrorMessage("alfa prP0 > alfa !");
    if (g.PressureAngle > g.alphaP0[i]) AddErrorMessage("alfa kP0 < alfa !");
  }
  for (int i = 1; i <= 2; ++i) {
    if (g.xEmax[i] < g.xEmin[i]) {
      AddErrorMessage("Error  : xemin>xemax (" + common::IntToText(i) + ")");
    }
  }
  SetStrengthInputDefaults();
  for (int i = 1; i <= 2; ++i) {
    if (HasBoreAboveRoot(g, i)) AddErrorMessage(BoreAboveRootError(i));
  }
  if (!quiet && g.ToothNumbers[2] < 0 && g.ProfileShift[2] > 0.05L) {
    AddErrorMessage("Warning: x2 > 0");
  }
}

void SetStrengthInputDefaults() {
  TSpurGearData& g = SpurGearData;
  for (int i = 1; i <= 2; ++i) {
    if (g.RzFlank[i] == 0) g.RzFlank[i] = 1.0L;
    if (g.RzRoot[i] == 0) g.RzRoot[i] = 1.0L;
    if (g.rho[i] == 0) g.rho[i] = 7.8L;
  }
}

}  // namespace calc
