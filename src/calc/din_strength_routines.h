// Single-formula routines of the DIN 3990 load capacity method: size factors,
// running-in allowance of the dynamic factor, the tooth form and stress
// correction factors of the root (DIN 3990-3 method B) and the service lives
// on the DIN life lines. Used by the DIN factor routine (din_load_factors.cpp)
// and by the life dispatch of the strength step (load_capacity.cpp). Pure
// functions; problems are reported to the message list (message_list.h).
// Codes: heat treatment 0..7 and material group 1..8 of the material form.
#pragma once

#include <cstdint>

#include "common/real.h"

namespace calc {

// ZX after DIN 3990-2 for the flank; code is the heat treatment.
Real CalcSizeFactorZX(std::uint16_t code, Real mn);

// YX after DIN 3990-3 for the root; gearKind is the heat treatment, code the
// material group.
Real CalcSizeFactorYX(std::uint16_t gearKind, std::uint16_t code, Real mn);

// Running-in allowance y-alpha in um (DIN 3990-1); firstCode is the heat
// treatment, secondCode the material group.
Real CalcRunningInAllowanceYa(std::uint16_t firstCode, std::uint16_t secondCode, Real fpb, Real v,
                              Real sigmaHlim);

// Pitting service life in hours on the DIN 3990-2 life line (life_lines.h);
// mode 0 no pitting permitted, 2 limited pitting permitted.
// enduranceProduct is ZL*ZV*ZR*ZX, which the safety sh holds.
Real CalcPittingLife(std::uint16_t heatTreatment, std::uint16_t materialGroup, std::uint16_t mode,
                     Real sh, Real speed, Real meshesPerRev, Real enduranceProduct, Real& cycles);

// Tooth-root service life in hours on the DIN 3990-3 life line;
// enduranceProduct is the product of the endurance-only factors that the
// safety sf holds (YX YRrelT, with YdeltarelT where its static value is
// known), staticProduct the same product at static stress.
Real CalcToothRootLife(std::uint16_t heatTreatment, std::uint16_t materialGroup, Real& cycles,
                       Real sf, Real speed, Real meshesPerRev, Real enduranceProduct, Real staticProduct = 1);

// Results of the form factor routine for one gear.
struct TToothFormFactors {
  Real YF = 0;        // form factor, load at the outer point of single pair contact
  Real YS = 0;        // stress correction factor
  Real qs = 0;        // notch parameter sFn / (2 rhoF)
  Real sFn = 0;       // root chord at the 30 degree tangent, mm
  Real hFe = 0;       // bending lever arm, mm
  Real rhoF = 0;      // root fillet radius, mm
  Real alphaFen = 0;  // load angle, radians
};

// YF and YS of one gear after DIN 3990-3 method B (rack-type tool, fillet
// tangent at 30 degrees; an internal gear, z <= 0, on the rack profile).
// Angles in radians; lengths in mm; diameters of an internal gear negative.
// The arguments after dNa describe the mate; method B places the load by the
// transverse contact ratio and does not need them.
// Returns false without results when FatalFlag is set before the load step.
bool CalcToothFormFactorYFS(TToothFormFactors& out, Real alphan, Real betaRad, Real mn, Real prP0,
                            Real alphaPrP0Rad, Real hfP, Real rhoaP0, Real x, std::int32_t z,
                            Real zn, Real d, Real df, Real epsAlpha, Real betab, Real dNa,
                            Real daTheoretical, Real daTheoreticalMate, Real db, Real dbMate,
                            Real a, Real alphaWt);

}  // namespace calc
