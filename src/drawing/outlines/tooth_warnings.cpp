// The warnings about the teeth of the pair; see tooth_warnings.h.
#include "drawing/outlines/tooth_warnings.h"

#include <cmath>
#include <cstdint>
#include <numbers>

#include "calc/calc_records.h"
#include "calc/pair_checks.h"
#include "calc/pitch_radius_table.h"
#include "calc/spur_gear_data.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/number_format.h"
#include "drawing/outlines/bend_check.h"
#include "drawing/outlines/mesh_check.h"
#include "drawing/outlines/tooth_contour.h"

namespace drawing {

namespace {

// The findings for the outlines of the generations they were made from.
struct KeptFindings {
  bool kept = false;
  std::uint64_t generation1 = 0, generation2 = 0;
  TBendFinding bend[3];
  TMeshFinding mesh;
};

KeptFindings Kept;

// Whether the substitute spur pair the sweep left (its last position)
// meshes: a contact ratio of 1 or more, or a tip that reaches into the
// mating root (negative clearance).
bool SubstitutePairMeshes() {
  const auto& g = calc::SpurGearData;
  return g.epsAlpha >= 1 || g.c[1] < 0 || g.c[2] < 0;
}

}  // namespace

std::string TightCurveWarning(int gear, int degree) {
  return "Warning: curve too tight for teeth (" + std::to_string(gear) + "), first at " + std::to_string(degree) +
         "\xF8 !";
}

// Its own first words: the explanation records are found by the first 15
// characters, and "Warning: teeth " begins the interference warning.
std::string NoContactWarning() { return "Warning: no contact: teeth do not reach each other !"; }

// Its own first words too: "Warning: outlin".
std::string ApartOnCurveWarning() {
  return "Warning: outlines apart on the curve (> 0.1 mn), the substitute pair meshes !";
}

std::string InterferenceWarning(int degree, Real area) {
  return "Warning: teeth interfere, first at " + std::to_string(degree) + "\xF8, overlap up to " +
         common::FormatRealDigits(1, 2, area) + " mm2 !";
}

void InstallToothWarnings() { calc::InstallPairCheck(&AddToothWarnings); }

void AddToothWarnings() {
  const auto& p = calc::NcPair;
  if (p.z1 < 1 || p.k < 1 || common::FatalFlag) return;
  const common::SavedMessages messages = common::SaveMessages();
  // Both tracks sample a common grid of the curve (and the outlines are
  // the pictures' own, kept for them).
  const calc::PitchRadiusTableScope radii;
  const auto& gear1 = GearContour(1);
  const auto& gear2 = GearContour(2);
  if (common::FatalFlag) {
    common::RestoreMessages(messages);
    return;
  }
  const std::uint64_t g1 = GearContourGeneration(1), g2 = GearContourGeneration(2);
  if (!Kept.kept || Kept.generation1 != g1 || Kept.generation2 != g2) {
    // The teeth are spaced by the one module and as large as the other:
    // whether a bend leaves them room is a matter of their size.
    const TMeshModules modules{ToothModule(), ToothHeightModule()};
    const auto& g = calc::SpurGearData;
    for (int gear = 1; gear <= 2; ++gear)
      Kept.bend[gear] = FindTightBend(PitchTrack(gear), g.hfP0Factor[gear] * modules.cut,
                                      g.haP0Factor[gear] * modules.cut, std::numbers::pi_v<Real> * modules.cut);
    Kept.mesh = CheckMeshing(gear1, gear2, PitchTrack(2), p.a, p.k, modules, static_cast<long>(p.z1) * p.k);
    Kept.generation1 = g1;
    Kept.generation2 = g2;
    Kept.kept = true;
  }
  // Whether the teeth can be made and run is the pair's first question:
  // these texts stay in a full list.
  constexpr auto finding = common::MessageWeight::Finding;
  for (int gear = 1; gear <= 2; ++gear)
    if (Kept.bend[gear].tight)
      common::AddErrorMessage(TightCurveWarning(gear, WholeDriveDegree(Kept.bend[gear].driveAngle)), finding);
  if (Kept.mesh.overlapping > 0)
    common::AddErrorMessage(InterferenceWarning(Kept.mesh.firstDegree, Kept.mesh.largestArea), finding);
  else if (!Kept.mesh.contact && Kept.mesh.positions > 0)
    common::AddErrorMessage(SubstitutePairMeshes() ? ApartOnCurveWarning() : NoContactWarning(), finding);
}

}  // namespace drawing
