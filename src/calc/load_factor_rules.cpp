// Rules shared by the DIN 3990 and ISO 6336 factor routines
// (load_factor_rules.h).
#include "calc/load_factor_rules.h"

#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/numeric_routines.h"

namespace calc {

Real LimitRootTransverseFactor(Real unlimited, Real epsAlpha, Real epsGamma) {
  return common::ClampReal(1, epsGamma / (0.25L * epsAlpha + 0.75L), unlimited);
}

bool IsSoftSteelGear(std::uint16_t materialType, std::uint16_t heatTreatment) {
  return materialType >= 1 && materialType <= 3 && heatTreatment <= 1;
}

int SoftGearOfHardenedPairing(const GearArray<std::uint16_t>& materialType,
                              const GearArray<std::uint16_t>& heatTreatment) {
  auto hardened = [&](int i) { return heatTreatment[i] >= 2 && heatTreatment[i] <= 7; };
  if (IsSoftSteelGear(materialType[1], heatTreatment[1]) && hardened(2)) return 1;
  if (IsSoftSteelGear(materialType[2], heatTreatment[2]) && hardened(1)) return 2;
  return 0;
}

void TakeBearingDistance(Real l1, Real s1, Real d1, Real& l1Used, Real& s1Used) {
  l1Used = l1;
  s1Used = s1;
  if (l1 != 0) return;
  l1Used = d1;
  s1Used = 0;
}

void CheckPinionOffset(std::uint16_t bearingArrangement, Real s, Real l) {
  if (common::MsgQuiet || l == 0) return;
  const std::uint16_t arr = bearingArrangement;
  if ((arr == 1 || arr == 2 || arr == 4 || arr == 5) && s / l > 0.3L)
    common::AddErrorMessage("Warning: s/l > 0.3 !");
  if (arr == 3 && s / l > 0.5L) common::AddErrorMessage("Warning: s/l > 0.5 !");
}

}  // namespace calc
