// Test pairs for the spur-kernel geometry tests: the textbook pair
// mn 4, z 20/40, alpha 20 degrees, plain tool, no tooth-thickness or
// centre-distance allowances, no machining allowance, tip from tip
// shortening 0; and a clean global state for each test.
#pragma once

#include "calc/spur_gear_data.h"
#include "common/kaldvar.h"
#include "common/message_list.h"

namespace calc_test {

inline void ResetGlobals() {
  common::SetKaldvarDefaults();
  common::SetWkaldvarDefaults();
  common::ClearErrorMessages();
  calc::SpurGearData = calc::TSpurGearData{};
}

inline void SetTextbookPair(calc::TSpurGearData& g, long double x1 = 0, long double x2 = 0) {
  g.NormalModule = 4;
  g.ToothNumbers[1] = 20;
  g.ToothNumbers[2] = 40;
  g.PressureAngle = 20;
  g.HelixAngle = 0;
  g.ProfileShift[1] = x1;
  g.ProfileShift[2] = x2;
  g.CentreDistance = 120;
  g.FaceWidth = 20;
  g.GearFaceWidth.fill(0);
  for (int i = 1; i <= 2; ++i) {
    g.ToolKindCode[i] = 1;
    g.alphaP0[i] = 0;
    g.GeometryMode[i] = 2;
    g.TipReduction[i] = 0;
    g.AllowanceSeries[i] = 11;
    g.ToleranceSeries[i] = 11;
    g.AsnUpper[i] = 0;
    g.AsnLower[i] = 0;
    g.MachiningAllowance[i] = 0;
    g.MachiningAllowanceTol[i] = 0;
  }
  g.CentreDistanceField = 9;
  g.Aae = 0;
  g.Aai = 0;
}

}  // namespace calc_test
