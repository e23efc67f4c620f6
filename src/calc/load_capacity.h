// Load capacity of the spur pair after DIN 3990 and ISO 6336: forces, load
// factors, stresses, safeties and service lives (load_capacity.cpp).
#pragma once

#include <cstdint>
#include <string>

#include "common/real.h"

namespace calc {

// The strength step of the spur-pair driver; reads and writes SpurGearData.
void CalcSpurStrength();

// The material values of SpurGearData that a rating can take: roughness,
// modulus and Poisson ratio, endurance limits, density and hardness. False
// at the first that no gear can have (0 where the rating divides by it, a
// negative value), with a "Fatal  : " text naming the quantity and the
// gear, and FatalFlag set. The strength step checks them; the noncircular
// calculation checks them once before its positions, which all share them.
bool CheckMaterialInputs();

// Pitting service life in hours after the method's life line (ISO 6336-2
// for CalcMethod 4, else DIN 3990-2); mode 0 no pitting, 2 limited pitting.
// enduranceProduct is the product ZL ZV ZR ZX that the safety sh holds,
// staticProduct its value at static stress (1 by both standards; the DIN
// line takes it so).
Real PittingFactorByMethod(std::uint16_t heatTreatment, std::uint16_t materialGroup,
                           std::uint16_t mode, Real sh, Real speed, Real meshesPerRev, Real enduranceProduct,
                           Real staticProduct, Real& cycles);

// Tooth-root service life in hours after the method's life line;
// enduranceProduct is the product of the endurance-only factors that the
// safety sf holds, staticProduct the same at static stress.
Real RootFactorByMethod(std::uint16_t heatTreatment, std::uint16_t materialGroup, Real& cycles,
                        Real sf, Real speed, Real meshesPerRev, Real enduranceProduct, Real staticProduct);

// Speed range of the resonance ratio N: main resonance for NS < N <= 1.15,
// where NS is the lower limit of the main resonance range that the dynamic
// factor used; the upper range for 1.15 < N <= 1.5; else none.
enum class ResonanceRange { None, Main, Upper };
ResonanceRange ClassifyResonance(Real ratio, Real ns);

// "Warning: resonance (i)" or "Warning: upper resonance (i)"; empty for
// ResonanceRange::None.
std::string ResonanceWarning(ResonanceRange range, int gear);

// True when the pair lies in the range of DIN 3990-41 (accuracy, contact
// ratio, case-hardened steel on both gears).
bool IsDin399041Applicable();

}  // namespace calc
