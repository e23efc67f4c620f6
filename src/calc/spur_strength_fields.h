// Fields of SpurGearData (spur_gear_data.h): load, material and strength inputs and the DIN 3990 load-capacity results.
// Default member values are the kernel's start values (InitGearData and
// SetSpurGearDefaults); SetNoncircularDefaults overrides some of them.
// Read and written by the strength step (load_capacity.cpp), the DIN 3990
// factor routine (din_load_factors.cpp) and the ISO 6336 factor set
// (iso_factor_set.cpp); the load, material and strength forms write the inputs.
//
// A run never overwrites what the user entered: values that the strength step
// derives from entered data (torques from the power, the wheel speed, the
// body and bore diameters, the pinion shaft data) go into the ...Used fields;
// 0 in the entered field still means "derive".
#pragma once

#include <cstdint>
#include <string>

#include "common/range_array.h"
#include "common/real.h"

namespace calc {

// Which of the drive values of gear 1 follows from the other two (the
// drive dialog's choice, stored with the design): 1 speed n, 2 torque T,
// 3 power P. Where the three entered disagree, the rating takes it from the
// other two (drive_load.h).
enum LoadChoiceCode : std::uint16_t {
  LoadComputesSpeed = 1,
  LoadComputesTorque = 2,
  LoadComputesPower = 3,
};

struct SpurStrengthFields {
  // ---- Material (GearMaterial) ------------------------------------------
  GearArray<Real> rho{};                        // density, kg/dm3
  GearArray<Real> E{};                          // modulus of elasticity, N/mm2
  GearArray<Real> mue{};                        // Poisson ratio
  GearArray<Real> SigmaHlim{};                  // contact endurance limit, N/mm2
  GearArray<Real> SigmaFE{};                    // root endurance limit, N/mm2
  GearArray<Real> HB{};                         // hardness
  Real HBmin = 740;                             // smaller hardness of the two gears
  GearArray<std::uint16_t> MaterialType{};      // material group 1..8
  GearArray<std::uint16_t> HeatTreatment{};     // heat treatment 0..7

  // ---- Load (GearLoad) ---------------------------------------------------
  GearArray<Real> n{};                          // speed as entered, 1/min (n[2] derived)
  GearArray<Real> T{};                          // torque as entered, N m (0 = from P)
  Real P = 500;                                 // power, kW
  std::uint16_t LoadChoice = LoadComputesTorque;  // a LoadChoiceCode: the one computed
  Real KAH = 1;                                 // application factor, flank
  Real KAF = 1;                                 // application factor, root
  GearArray<Real> MeshesPerRev{};               // meshes per revolution of the gear
  GearArray<Real> LoadAlternations{};           // load alternations entered per gear

  // ---- Strength inputs -----------------------------------------------------
  GearArray<Real> RzFlank{};                    // mean peak-to-valley roughness, flank, um
  GearArray<Real> RzRoot{};                     // mean peak-to-valley roughness, root, um
  std::int32_t LifeFactorsInput = 0;            // 1 = ZNT/YNT entered, 0 = lives computed
  GearArray<Real> ZNTInput{};                   // entered life factor, flank
  GearArray<Real> YNTInput{};                   // entered life factor, root
  Real nu40 = 100;                              // lubricant viscosity at 50 °C, mm2/s
  GearArray<Real> BodyInnerDiameter{};          // inner rim diameter as entered (0 = solid)
  GearArray<Real> BoreDiameter{};               // bore (internal gear: ring outer diameter)
  std::int32_t StrengthShiftChoice = 0;         // profile shift the strength uses, 0..6
  std::int32_t CutterTeeth = 0;                 // z0 of the pinion-type cutter (internal gear)
  // Answers of the yes/no questions of the strength forms ('J' or 'Y' = yes).
  char SupportingEffectAnswer = 'N';            // "Supporting effect"
  char LappingInAnswer = 'N';                   // "Lapping-in/breaking-in"
  char HelixCorrectionAnswer = 'N';             // "Tooth trace angle correction"
  char CentralCrowningAnswer = 'N';             // "Central crowning"
  char EndReliefAnswer = 'N';                   // "End relief"
  char DoubleHelicalAnswer = 'N';               // double-helical gear

  // Pinion shaft and bearings (face load factor).
  Real dsh = 0;                                 // pinion shaft diameter, mm (0 = from df1)
  Real l1 = 0;                                  // bearing distance, mm (0 = d1)
  Real s1 = 0;                                  // pinion offset from the bearing middle, mm
  std::uint16_t BearingArrangement = 1;         // 1..5, selects K'
  std::uint16_t ContactPatternCode = 1;         // contact-pattern case 1..6
  bool FshInput = false;                        // fsh entered, not computed
  bool FmaInput = false;                        // fma entered, not computed
  Real fsh = 0;                                 // shaft deflection, um
  Real fma = 0;                                 // manufacturing deviation, um

  // ---- Influence factors (entered for method 3, else computed) -----------
  Real ZH = 0;
  Real ZE = 0;
  Real Zeps = 0;
  Real Zbeta = 0;
  Real ZB = 0;
  Real ZD = 1;
  Real KV = 0;
  Real KHalpha = 0;
  Real KHbeta = 0;
  Real KFalpha = 0;
  Real KFbeta = 0;
  Real ZL = 1;
  Real ZV = 1;
  Real ZR = 1;
  // Work hardening raises the permissible contact stress of the soft gear
  // of a pairing with a hardened one; the other gear's factor is 1.
  GearArray<Real> ZW{};
  GearArray<Real> ZX{};
  GearArray<Real> YF{};
  GearArray<Real> YS{};
  GearArray<Real> YSg{};
  GearArray<Real> YB{};
  Real Ybeta = 0;
  Real YDT = 1;
  GearArray<Real> YdrelT{};
  GearArray<Real> YRrelT{};
  GearArray<Real> YX{};
  GearArray<Real> YM{};
  GearArray<Real> nE{};                         // resonance speeds, 1/min

  // ---- Factor intermediates ------------------------------------------------
  Real cPrime = 0;                              // single stiffness c', N/(mm um)
  Real cGamma = 0;                              // mesh stiffness, N/(mm um)
  Real mred = 0;                                // reduced mass, kg/mm
  Real yAlpha = 0;                              // running-in allowance, um
  Real yBeta = 0;                               // running-in allowance, um
  Real Kprime = 0;                              // K' of the pinion arrangement
  Real FbetaX = 0;                              // initial equivalent misalignment, um
  Real FbetaY = 0;                              // effective misalignment, um
  GearArray<Real> sFn{};                        // root chord, mm
  GearArray<Real> hFe{};                        // bending lever arm, mm
  GearArray<Real> rhoF{};                       // root fillet radius, mm
  GearArray<Real> qs{};                         // notch parameter
  GearArray<Real> alphaFen{};                   // load angle, radians
  GearArray<Real> rhoPrime{};                   // slip-layer thickness of the root, mm

  // ---- Results of the strength step ---------------------------------------
  bool DoubleHelical = false;
  bool SupportingEffect = false;
  bool LappingIn = false;
  bool HelixCorrection = false;
  bool CentralCrowning = false;
  bool EndRelief = false;
  Real v = 0;                                   // pitch-line velocity, m/s
  Real Ft = 0;                                  // tangential force at d1, N
  Real Ftw = 0;                                 // tangential force at dw1, N
  Real Fa = 0;                                  // axial force, N
  Real Fr = 0;                                  // radial force, N
  Real Fn = 0;                                  // normal force, N
  GearArray<Real> xStrength{};                  // profile shift of the factor routines
  Real SigmaH0 = 0;                             // nominal contact stress
  Real SigmaHC = 0;                             // contact stress with the load factors
  GearArray<Real> SigmaH{};                     // contact stress at the single-pair points
  GearArray<Real> SigmaHP{};                    // permissible contact stress
  GearArray<Real> LifeH{};                      // pitting life, no pitting permitted, h
  GearArray<Real> LifeH2{};                     // pitting life, limited pitting, h
  GearArray<Real> CyclesH{};
  GearArray<Real> CyclesH2{};
  GearArray<Real> SigmaF0{};                    // nominal root stress
  GearArray<Real> SigmaF{};                     // root stress
  GearArray<Real> SigmaFP{};                    // permissible root stress
  GearArray<Real> LifeF{};                      // tooth-root life, h
  GearArray<Real> CyclesF{};
  GearArray<Real> BodyMass{};                   // kg
  GearArray<Real> BodyInertia{};                // kg m2

  // ---- Working values of the run (derived from the entered ones) ----------
  GearArray<Real> nUsed{};                      // speeds in use (n[2] from n[1])
  GearArray<Real> TUsed{};                      // torques in use (T[1] from P when 0)
  Real PUsed = 0;                               // power in use (from T and n when 0)
  GearArray<Real> BodyInnerDiameterUsed{};      // inner rim diameter in use
  GearArray<Real> BoreDiameterUsed{};           // bore diameter in use
  Real dshUsed = 0;                             // pinion shaft diameter in use
  Real l1Used = 0;                              // bearing distance in use
  Real s1Used = 0;                              // pinion offset in use

  SpurStrengthFields() {
    rho.fill(7.8L);
    E.fill(206000);
    mue.fill(0.3L);
    SigmaHlim.fill(1500);
    SigmaFE.fill(800);
    HB.fill(740);
    MaterialType.fill(2);
    HeatTreatment.fill(2);
    MeshesPerRev.fill(1);
    RzFlank.fill(5);
    RzRoot.fill(5);
    ZNTInput.fill(1);
    YNTInput.fill(1);
    YM.fill(1);
  }
  // Field by field; a NaN anywhere makes two sets unequal.
  bool operator==(const SpurStrengthFields&) const = default;
};

}  // namespace calc
