// Single-formula routines of the load capacity after ISO 6336 parts 1 to 3:
// one influence factor or auxiliary value each, plus the ISO life-factor
// lines and the service lives derived from them. The factor set
// (iso_factor_set.cpp) calls most of them; the strength step
// (load_capacity.cpp) calls the service-life routines, and the DIN path uses
// the running-in allowance y-alpha. Every routine takes its inputs as
// arguments and keeps no state; domain problems go through the checked math
// (common/guarded_math.h) or straight into the message list, never into
// FatalFlag.
#pragma once

#include <cstdint>

#include "common/real.h"

namespace calc {

// ---- Tooth root (ISO 6336-3) ----------------------------------------------

// Tool and gear data of one gear for the form factor, method B.
struct TIsoFormInput {
  std::int32_t z = 0;      // tooth number (negative: internal gear)
  Real mn = 0;             // normal module
  Real x = 0;              // profile shift used for the strength
  Real alphan = 0;         // normal pressure angle, radians
  Real beta = 0;           // helix angle, radians
  Real betab = 0;          // base helix angle, radians
  Real epsAlpha = 0;       // transverse contact ratio
  Real d = 0;              // reference diameter (signed)
  Real da = 0;             // effective tip diameter (signed)
  Real hfP = 0;            // dedendum of the basic rack (= addendum of the tool), mm
  Real rhofP = 0;          // tip radius of the tool, mm
  Real spr = 0;            // residual undercut left by a protuberance, mm
};

// Form factor YF, stress correction factor YS and their intermediates.
struct TIsoFormResult {
  Real YF = 1;
  Real YS = 1;
  Real sFn = 0;      // tooth root chord at the critical section, mm
  Real hFe = 0;      // bending moment arm for the load at the outer point of single contact, mm
  Real rhoF = 0;     // root fillet radius at the critical section, mm
  Real qs = 0;       // notch parameter sFn / (2 rhoF)
  Real alphaFen = 0; // load direction angle, radians
};

// ISO 6336-3 method B. External gears: rack-type tool, critical section at
// the 30 degree tangent. Internal gears: the standard's approximation of the
// internal gear by a rack with the basic rack of the tool (60 degree
// tangent); the tooth number of the pinion-type cutter does not enter it.
TIsoFormResult CalcFormFactorYFYSIso(const TIsoFormInput& in);

// ---- Load factors (ISO 6336-1) ----------------------------------------------

struct TIsoKvInput {
  std::int32_t Q = 0;     // the larger accuracy grade
  Real ffalpha = 0;       // profile form deviation (mean of both gears), um
  Real fpb = 0;           // transverse base pitch deviation (the larger of both gears), um
  Real yalphaP = 0;       // running-in allowance for fpb, um
  Real yalphaF = 0;       // running-in allowance for ffalpha, um
  Real cPrime = 0;        // single stiffness, N/(mm um)
  Real KA = 0;
  Real b = 0;
  Real Ft = 0;
  Real SigmaHlim1 = 0;
  Real SigmaHlim2 = 0;
  Real epsGamma = 0;
  Real NS = 0;            // lower limit of the main resonance range
  Real N = 0;             // resonance ratio n1 / nE1
};

// Dynamic factor KV, method B.
Real CalcDynamicFactorKv(const TIsoKvInput& in);

// The velocity-dependent coefficients Cv1..Cv7 of method B (index 1..7).
struct TCvCoefficients {
  Real Cv[8] = {0, 0, 0, 0, 0, 0, 0, 0};
};
TCvCoefficients CalcCvCoefficients(Real epsGamma);

// Basic rack factor CB of one gear.
Real CalcBasicRackFactorCB(Real alphanDeg, Real mn, Real hfP);

// The stiffness formulas of ISO 6336-1 and DIN 3990-1 hold for a steel pair
// (reference modulus 206,000 N/mm2); another pair scales c' by E / Est with
// E = 2 E1 E2 / (E1 + E2). 1 when both moduli are 0 (not entered).
Real MeshStiffnessModulusFactor(Real E1, Real E2);

struct TMeshStiffnessInput {
  Real b = 0;            // face width
  Real beta = 0;         // helix angle, radians
  Real alphanDeg = 0;    // normal pressure angle, degrees
  Real mn = 0;
  Real zn1 = 0, zn2 = 0; // virtual tooth numbers (zn2 < 0: internal gear)
  Real x1 = 0, x2 = 0;   // profile shifts
  Real hfP1 = 0, hfP2 = 0;
  Real sR = 0;           // rim thickness of the wheel, mm
  Real bsRatio = 1;      // web thickness / face width (1: no web)
  Real E1 = 0, E2 = 0;
  Real Ft = 0;
  Real KA = 0;
  Real epsAlpha = 0;
};

// Single stiffness c' and mesh stiffness c-gamma-alpha = c' (0.75 epsAlpha
// + 0.25) (N/(mm um)), which the resonance speed and the transverse load
// factor use; the face load factor takes c-gamma-beta = 0.85 c-gamma-alpha.
// Returns false (c' = c-gamma = 0) when the tooth flexibility q' is not
// positive.
bool CalcMeshStiffness(const TMeshStiffnessInput& in, Real& cPrime, Real& cGamma);

// Reduced mass per face width (kg/mm) from the mean of tip and root
// diameter, the body inner diameter di, the density rho (kg/dm3).
// Returns false (mass 0) when a body inner diameter reaches the mean
// diameter (1 - q^4 <= 0). An internal wheel (negative diameters) counts as
// infinitely heavy.
bool CalcReducedMass(Real u, Real rho1, Real rho2, Real di1, Real di2, Real db1, Real df1,
                     Real df2, Real da1, Real da2, Real& mred);

// Running-in allowance y-alpha (um) for a deviation fpb.
Real CalcRunningInAllowanceYaIso(std::uint16_t materialType, std::uint16_t heatTreatment,
                                 Real fpb, Real v, Real SigmaHlim);

// Running-in allowance y-beta (um) for the initial misalignment Fbx.
Real CalcRunningInAllowanceYb(std::uint16_t materialType, std::uint16_t heatTreatment,
                              Real Fbx, Real v, Real SigmaHlim);

// Initial equivalent misalignment F-beta-x (um). mode 0: no compensating
// helix deviation, 1: the deflection is compensated by the helix slope
// deviation of grade 5, other: 0.
Real CalcInitialMisalignmentFbx(bool helixCorrection, bool crowning, bool endRelief, Real wm,
                                Real fsh, Real fma, Real fHbeta, Real fHbeta5,
                                std::int32_t mode);

// Pinion shaft deflection fsh (um) for the line load wm. flag: 1 when the
// contact pattern is compensated (mode 1 of the misalignment), 0 when not,
// -1 for an unknown contact-pattern code.
Real CalcShaftDeflectionFsh(bool doubleHelical, bool supportingEffect,
                            std::uint16_t bearingArrangement, std::uint16_t contactPatternCode,
                            Real wm, Real d1, Real dsh, Real b, Real l, Real s,
                            std::int32_t& flag);

// sqrt(a^2 + b^2).
Real Hypot2(Real a, Real b);

// M1 (single pair contact at the pinion), or M2 with the gears swapped:
// tan alphawt over the root of the product of the tangents of the profile
// angles of both gears at the inner point of single contact, one base pitch
// inside the tip circle (da1, db1, z1) of the gear rated (as DIN 3990 forms
// ZB). The mate's tip and the contact ratio do not enter, so a ratio
// shortened by interference at gear 1's root leaves M1 as it is.
Real CalcM1Factor(Real alphaWt, Real da1, Real db1, std::int32_t z1, std::int32_t z2);

// ---- Flank (ISO 6336-2) -----------------------------------------------------
Real CalcLubricantFactorZL(Real SigmaHlim, Real nu40);
Real CalcVelocityFactorZV(Real v, Real SigmaHlim);
Real CalcRoughnessFactorZR(Real Rz, Real alphaWt, Real db1, Real db2, Real SigmaHlim);

// mode 1: a hardened gear (roughness Rz1, hardness HB1) with a soft steel
// gear (Rz2, HB2), the factor of the soft gear; 2: both soft steel gears,
// q = HB1 / HB2, the factor of gear 2; 0: 1. nu is the viscosity handed by
// the caller.
Real CalcWorkHardeningFactorZW(std::int32_t mode, Real nu, Real db1, Real db2, Real alphaWt,
                               Real Rz1, Real Rz2, Real HB1, Real HB2, Real v, Real u);

// ---- Tooth root factors -----------------------------------------------------

// Rim thickness factor; sR = (df - di) / 2 (a solid body, di = 0, gives 1).
Real CalcRimThicknessFactorYB(std::int32_t z, Real df, Real di, Real ht, Real mn);
Real CalcDeepToothFactorYDT(std::int32_t accuracyGrade, Real contactRatio);

// Slip-layer thickness rho' (mm) of the material by its class and, for the
// steels and cast irons that are not surface hardened, its strength.
Real SlipLayerThickness(std::uint16_t materialType, std::uint16_t heatTreatment, Real strength);
// Relative notch sensitivity factor YdeltarelT of a root with the notch
// parameter qs in a material of slip-layer thickness rhoPrime (mm).
Real CalcRelativeNotchSensitivityYdrelT(Real qs, Real rhoPrime);
// The two above in one: rhoPrime receives the slip-layer thickness, the
// result is YdeltarelT.
Real CalcSlipLayerThickness(std::uint16_t materialType, std::uint16_t heatTreatment,
                            Real& rhoPrime, Real qs, Real strength);
// Relative surface factor YRrelT of the root roughness Rz (um) by material
// class: through- and case-hardened steels, structural steel, and grey cast
// iron with nitrided steels; constant below Rz 1.
Real CalcRelativeSurfaceFactorYRrelT(std::uint16_t materialType, std::uint16_t heatTreatment,
                                     Real Rz);
Real CalcSizeFactorYXIso(std::uint16_t materialType, std::uint16_t heatTreatment, Real mn);
Real CalcLogLimitedFactor(Real loadAlternations);

// ---- Life factors and service lives -------------------------------------------

// Load cycles at which the ZNT line (life_lines.h) bears r, the contact
// stress over the endurance strength (1 / SH). zlvr is the product ZL ZV ZR
// ZX that the safety holds, zlvrStatic the same product at static stress (1
// by the standard); between the two it runs along the life line.
Real CalcLifeFactorZNT(std::uint16_t materialType, std::uint16_t heatTreatment,
                       std::uint16_t mode, Real r, Real zlvr, Real zlvrStatic);

// Pitting service life in hours; cycles receives the load cycles.
Real CalcPittingLifeIso(std::uint16_t heatTreatment, std::uint16_t materialType,
                        std::uint16_t mode, Real SH, Real speed, Real meshesPerRev, Real zlvr,
                        Real zlvrStatic, Real& cycles);

// Load cycles at which the YNT line (life_lines.h) bears r (1 / SF).
// yEndurance is the product YX YRrelT (with YdeltarelT where its static
// value is known) that the safety holds, yStatic the same product at static
// stress (YX and YRrelT 1 by ISO 6336-3).
Real CalcLifeFactorYNT(std::uint16_t materialType, std::uint16_t heatTreatment, Real r, Real yEndurance,
                       Real yStatic);

// Tooth-root service life in hours; cycles receives the load cycles.
Real CalcToothRootLifeIso(std::uint16_t heatTreatment, std::uint16_t materialType,
                          Real& cycles, Real SF, Real speed, Real meshesPerRev, Real yEndurance,
                          Real yStatic);

}  // namespace calc
