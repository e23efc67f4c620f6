// Running-in allowance, face widths and strength-form defaults of the spur
// pair (face_widths.h). Reads the load and material fields of
// spur_strength_fields.h and the geometry results of spur_geometry_fields.h.
#include "calc/face_widths.h"

#include <algorithm>
#include <cmath>

#include "calc/spur_gear_data.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/numeric_routines.h"

namespace calc {

namespace {

// The pinion is the external gear with the smaller tooth number.
int PinionIndex(const TSpurGearData& g) {
  return g.ToothNumbers[2] >= 0 && g.ToothNumbers[2] < g.ToothNumbers[1] ? 2 : 1;
}

// Rounding to a whole number, halves to even.
Real RoundEven(Real x) { return std::rint(x); }

}  // namespace

Real RunningInAllowanceYbeta(std::uint16_t materialType, std::uint16_t heatTreatment,
                             Real sigmaHlim) {
  const TSpurGearData& g = SpurGearData;
  const Real x = g.FbetaX;
  const Real v = g.v;
  // Each later rule overrides the earlier ones: structural steel first,
  // then grey cast iron and ferritic nodular iron (DIN 3990-1 gives both
  // 0.55 Fbetax), then the hardened or nitrided gears.
  Real y = 320 / sigmaHlim * x;
  if (x < y) y = x;
  if (v > 5 && v <= 10 && y > 25600 / sigmaHlim) y = 25600 / sigmaHlim;
  if (v > 10 && y > 12800 / sigmaHlim) y = 12800 / sigmaHlim;
  if (materialType == 5 || materialType == 6) {
    y = 0.55L * x;
    if (v > 5 && v < 10 && y > 45) y = 45;
    if (v > 10 && y > 22) y = 22;
  }
  if (heatTreatment >= 2) {
    y = 0.15L * x;
    if (y > 6) y = 6;
  }
  return y;
}

Real CalcWorkHardeningFactorZWSimple(Real hb) {
  return common::ClampReal(1.0L, 1.2L, 1.2L - (hb - 130) / 1700);
}

Real CalcRunningInConstantCay(Real sigmaHlim) {
  const Real t = sigmaHlim / 97 - 18.45L;
  return t * t / 18 + 1.5L;
}

void CalcFaceWidths() {
  TSpurGearData& g = SpurGearData;
  GearArray<Real> w{};
  // A chamfer above 0.4 b is not taken into account; the entered value stays
  // as the user wrote it, so that a recalculation or a save does not lose it.
  GearArray<Real> chamfer{};
  for (int i = 1; i <= 2; ++i) {
    if (g.GearFaceWidth[i] == 0) g.GearFaceWidth[i] = g.FaceWidth;
    chamfer[i] = g.EndChamfer[i] > 0.4L * g.GearFaceWidth[i] ? 0 : g.EndChamfer[i];
    w[i] = g.GearFaceWidth[i] - 2 * chamfer[i];
  }
  // Gear 1 centred at 0 on the axis, gear 2 at the axial offset e.
  const Real e = g.AxialOffset;
  const Real left = std::max(e - w[2] / 2, -w[1] / 2);
  const Real right = std::min(e + w[2] / 2, w[1] / 2);
  g.EffectiveFaceWidth = right - left;
  if (g.EffectiveFaceWidth <= 0) {
    // The gears do not overlap: no load can be carried, and every stress
    // formula would divide by this width.
    common::AddErrorMessage("Fatal  : beff=0!");
    common::FatalFlag = 1;
    return;
  }
  // The root carries the load one module beyond the loaded width on each
  // side, as far as the gear's own face reaches.
  const Real mn = g.NormalModule;
  g.RootFaceWidth[1] = std::min(w[1] / 2 + chamfer[1], right + mn) -
                       std::max(-w[1] / 2 - chamfer[1], left - mn);
  g.RootFaceWidth[2] = std::min(e + w[2] / 2, right + mn) - std::max(e - w[2] / 2, left - mn);
}

Real DefaultHubFactor() {
  const TSpurGearData& g = SpurGearData;
  return PinionIndex(g) == 1 ? 3 * g.GearFaceWidth[1] : 2 * g.GearFaceWidth[2];
}

Real DefaultBoreDiameter() {
  const TSpurGearData& g = SpurGearData;
  if (PinionIndex(g) == 1) {
    // Shaft diameter for a torsional stress of 0.3 SigmaFE:
    // D^3 = 16 T / (pi tau).
    Real shaft = 0;
    if (g.SigmaFE[1] > 0) {
      shaft = RoundEven(common::CheckedPower(
          "dbohrung", 5.092958178940651L * std::fabs(g.T[1]) * 1000 / (0.3L * g.SigmaFE[1]),
          1.0L / 3.0L));
    }
    if (g.df[1] >= shaft) return std::trunc((shaft + g.df[1]) / 2);
    return std::trunc(g.df[1]);
  }
  if (g.BoreDiameter[2] > 0) return g.BoreDiameter[2];
  return std::trunc(0.7L * g.df[2]);
}

Real DefaultRimDiameter(int i) {
  const TSpurGearData& g = SpurGearData;
  const Real bore = g.BoreDiameter[i];
  if (g.ToothNumbers[i] < 0) {
    // Internal gear: the bore field holds the outer diameter of the ring.
    if (bore != 0) return bore;
    return RoundEven(g.df[i] - 3 * g.h[i]);
  }
  // Without a bore (0) there is no ratio to test.
  if (g.df[i] - bore < 3 * g.h[i] || (bore != 0 && g.df[i] / bore < 3)) return bore;
  return RoundEven(g.df[i] - 3 * g.h[i]);
}

}  // namespace calc
