// Inputs of the rack for manufacture and of the carrier; see
// gear_picture_inputs.h.
#include "drawing/gear_picture_inputs.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "calc/calc_records.h"
#include "calc/spur_gear_data.h"
#include "common/help_text.h"
#include "common/kaldvar.h"
#include "common/numeric_routines.h"
#include "common/small_dialogs.h"
#include "common/unit_labels.h"
#include "drawing/outlines/carrier_outline.h"

namespace drawing {

Real CarrierCentreDistance = 0;

namespace {

// A refused input ends the picture's inputs as a cancel does, with the reason.
bool Accepted(const char* refusal) {
  if (!refusal) return true;
  common::ShowError(refusal);
  common::AbortFlag = 1;
  return false;
}

}  // namespace

bool AskRackInputs(TRackInputs& rack) {
  using common::AbortFlag;
  const Real mn = calc::SpurGearData.NormalModule;
  const Real pi = std::numbers::pi_v<Real>;
  rack = {};
  rack.Teeth = calc::NcPair.z1;
  rack.Bores = 3;
  common::SetHelpNumber(8110);
  common::InputIntegerRange("Plot teeth", rack.Teeth, 1, 100);
  if (AbortFlag) return false;
  common::SetHelpNumber(8120);
  common::InputIntegerRange("number of bore", rack.Bores, 0, rack.Teeth + 1);
  if (AbortFlag) return false;
  if (rack.Bores > 0) {
    rack.Diameter = std::round(2 * mn);
    common::InputLength("bore diameter", rack.Diameter, 0, 7 * mn);
    if (AbortFlag) return false;
  }
  if (rack.Bores > 1) {
    rack.Distance = (rack.Teeth * mn * pi - 3 * rack.Diameter) / (rack.Bores - 1);
    common::InputLength("distance bore", rack.Distance, rack.Diameter, rack.Teeth * mn * pi);
    if (AbortFlag) return false;
  }
  // The rack is a solid only with its bores inside its body and apart: the
  // body runs from the tooth spaces (ha above the pitch line) to 8 mn, the
  // bores' centres at 5 mn, the outer ones half the row of distances in
  // from the middle.
  if (rack.Bores > 0 && rack.Diameter > 0) {
    const Real r = rack.Diameter / 2;
    const Real ha = mn * calc::SpurGearData.haP0Factor[2];
    const Real firstCentre = (rack.Teeth * mn * pi - rack.Distance * (rack.Bores - 1)) / 2;
    const char* refusal = rack.Bores > 1 && !(rack.Distance > rack.Diameter) ? "distance bore: the bores overlap !"
                          : !(r < 3 * mn && r < 5 * mn - ha)                 ? "bore diameter: a bore reaches the edge of the rack !"
                          : !(firstCentre > r)                               ? "distance bore: a bore reaches the end of the rack !"
                                                                             : nullptr;
    if (!Accepted(refusal)) return false;
  }
  return true;
}

bool AskCarrierInputs(Real& clearance) {
  using common::AbortFlag;
  const auto& g = calc::SpurGearData;
  if (!(g.BoreDiameter[1] > 0) || !(g.BoreDiameter[2] > 0)) {
    common::ShowError("d bore = 0 !");
    AbortFlag = 1;
    return false;
  }
  CarrierCentreDistance = calc::NcPair.a;
  common::SetHelpNumber(8100);
  common::InputLength("center distance", CarrierCentreDistance, -10000, 10000);
  if (AbortFlag) return false;
  clearance = 0;
  common::SetHelpNumber(8120);
  common::InputLength("clearance bearing", clearance, 0, 1000000);
  if (AbortFlag) return false;
  // The plate is a solid only with both bores inside it and apart: bores
  // that overlap or touch (a centre distance up to their radii together,
  // or one below zero), or one that reaches the plate's edge, leave no
  // material a part could be made of.
  const Real r1 = g.BoreDiameter[1] / 2 + clearance, r2 = g.BoreDiameter[2] / 2 + clearance;
  const Real h = std::max(g.BoreDiameter[1], g.BoreDiameter[2]);
  const char* refusal = !(CarrierCentreDistance > r1 + r2) ? "center distance: the bores overlap !"
                        : !(std::max(r1, r2) < h)         ? "clearance bearing: a bore reaches the edge of the carrier !"
                                                          : nullptr;
  return Accepted(refusal);
}

void DrawCarrier(Real clearance) {
  const auto& g = calc::SpurGearData;
  DrawArcMark(g.BoreDiameter[1] / 2 + clearance, g.BoreDiameter[2] / 2 + clearance,
              std::max(g.BoreDiameter[1], g.BoreDiameter[2]), CarrierCentreDistance);
}

}  // namespace drawing
