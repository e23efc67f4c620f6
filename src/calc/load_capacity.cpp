// Load capacity of the spur pair after DIN 3990 and ISO 6336 (load_capacity.h):
// the strength step of the spur-pair driver. Works on SpurGearData
// (spur_gear_data.h), fields of spur_strength_fields.h.
#include "calc/load_capacity.h"

#include "calc/spur_gear_data.h"
#include "common/kaldvar.h"
#include "common/message_list.h"

namespace calc {

namespace {

using common::AddErrorMessage;

// Fatal input condition: message, flag, and the caller stops.
void Fatal(const char* text) {
  AddErrorMessage(text);
  common::FatalFlag = 1;
}

// Step 3: inputs without which no stress can be formed.
bool InputsUsable() {
  TSpurGearData& g = SpurGearData;
  for (int i = 1; i <= 2; ++i) {
    if (g.RzFlank[i] == 0 || g.RzRoot[i] == 0) {
      Fatal("Fatal  : Rz = 0 !");
      return false;
    }
  }
  if (g.E[1] == 0 || g.E[2] == 0) {
    Fatal("Fatal  : E-Modul = 0 !");
    return false;
  }
  if (g.SigmaHlim[1] == 0 || g.SigmaHlim[2] == 0) {
    Fatal("Fatal  : SigmaHlim = 0 !");
    return false;
  }
  if (g.SigmaFE[1] == 0 || g.SigmaFE[2] == 0) {
    Fatal("Fatal  : SigmaFE = 0 !");
    return false;
  }
  if (g.KAF == 0) {
    Fatal("Fatal  : KAF = 0 !");
    return false;
  }
  if (g.KAH == 0) {
    Fatal("Fatal  : KAH = 0 !");
    return false;
  }
  return true;
}

}  // namespace

void CalcSpurStrength() {
  TSpurGearData& g = SpurGearData;
  if (common::FatalFlag != 0) {
    AddErrorMessage("Fatal  : Geometry");
    return;
  }
  if (!common::MsgQuiet && g.ToothNumbers[1] + g.ToothNumbers[2] == 0) {
    AddErrorMessage("Warning: z1+z2=0 !");
    g.TUsed.fill(0);
    return;
  }
  if (!InputsUsable()) return;
  if (g.mue[1] <= 0 || g.mue[2] <= 0) AddErrorMessage("Error  : mue <= 0 !");
  if (g.mue[1] >= 1 || g.mue[2] >= 1) AddErrorMessage("Error  : mue >= 1 !");
}

}  // namespace calc
