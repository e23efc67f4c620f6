// Running-in allowance, face widths and strength-form defaults of the spur
// pair: small routines that the load capacity (load_capacity.cpp, the DIN
// load factors) and the strength input form use. They work on SpurGearData
// (spur_gear_data.h) with the geometry of tool_profile.cpp and
// contact_geometry.cpp.
#pragma once

#include <cstdint>

#include "common/real.h"

namespace calc {

// Running-in allowance y_beta (micrometres) of one gear after DIN 3990 from
// the initial equivalent misalignment FbetaX and the pitch-line velocity v:
// material type (1..8), heat treatment (0..7) and SigmaHlim of the gear.
Real RunningInAllowanceYbeta(std::uint16_t materialType, std::uint16_t heatTreatment,
                             Real sigmaHlim);

// Work-hardening factor ZW = 1.2 - (HB - 130) / 1700, limited to 1.0..1.2.
Real CalcWorkHardeningFactorZWSimple(Real hb);

// Running-in constant (SigmaHlim / 97 - 18.45)^2 / 18 + 1.5.
Real CalcRunningInConstantCay(Real sigmaHlim);

// Effective face width of the pair (the axial overlap of both gears less
// their end chamfers, with gear 2 offset by AxialOffset) into
// EffectiveFaceWidth, and the face width per gear for the root stress into
// RootFaceWidth. The entered FaceWidth is not changed. An overlap of 0 or
// less is fatal ("Fatal  : beff=0!").
void CalcFaceWidths();

// Proposal for the bearing length l1 of the pinion shaft.
Real DefaultHubFactor();

// Proposal for the shaft (bore) diameter of the pinion.
Real DefaultBoreDiameter();

// Proposal for the inner rim diameter of gear i.
Real DefaultRimDiameter(int i);

}  // namespace calc
