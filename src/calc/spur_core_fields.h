// Fields of SpurGearData (spur_gear_data.h) that the noncircular calculation
// itself reads or writes, and the drawing texts. Default member values are
// the kernel's start values; SetNoncircularDefaults (calc_records.cpp)
// overrides some of them at start-up.
#pragma once

#include <cstdint>
#include <string>

#include "common/range_array.h"
#include "common/real.h"

namespace calc {

struct SpurCoreFields {
  Real NormalModule = 6.5;                      // mn of the current substitute pair
  GearArray<std::int32_t> ToothNumbers{};       // z1, z2 (negative: internal gear)
  GearArray<Real> ProfileShift{};               // x1, x2
  Real CentreDistance = 300;                    // a of the substitute spur pair
  Real PressureAngle = 20;                      // alpha, degrees
  Real HelixAngle = 9;                          // beta, degrees
  Real FaceWidth = 88;                          // b as entered
  GearArray<Real> GearFaceWidth{};              // b of each gear
  GearArray<std::uint16_t> GeometryMode{};      // geometry variant of the kernel
  GearArray<std::uint16_t> ToolKindCode{};      // 1..4, see ToolProfileNames
  GearArray<Real> haP0Factor{};                 // haP0/mn
  GearArray<Real> hfP0Factor{};                 // hfP0/mn
  GearArray<Real> hfP0FactorUsed{};             // hfP0/mn in use
  GearArray<Real> rhoaP0Factor{};               // raP0/mn
  GearArray<Real> alphaPrP0{};                  // protuberance angle, degrees
  GearArray<Real> prP0Factor{};                 // protuberance / mn
  GearArray<Real> alphaP0{};                    // tool pressure angle, degrees
  GearArray<std::string> ToolProfileName{};     // "Normal" or "Protub."
  GearArray<std::uint8_t> ToolAngleDiffers{};   // 1 when the tool angle differs from alpha
  GearArray<Real> TipDiameterTheoretical{};     // without tip reduction
  GearArray<Real> TipReduction{};               // radial
  GearArray<Real> TipDiameter{};                // theoretical - 2 * reduction
  GearArray<Real> SafetySF{};                   // tooth-root safety of the current pair
  GearArray<Real> SafetySH{};                   // pitting safety of the current pair
  Real ResonanceRatio = 0;                      // pinion speed / resonance speed
  // Lower limit of the main resonance range that the dynamic factor of the
  // last strength run used (0.85, lower under a light load); the resonance
  // warnings compare ResonanceRatio with it.
  Real NS = 0.85L;
  // True when the last strength run got as far as the resonance ratio; a
  // run that stopped earlier leaves ResonanceRatio of an earlier one.
  bool ResonanceRated = false;
  std::uint16_t CalcMethod = 0;                 // 1..4, see CalcMethodNames
  GearArray<std::string> DrawingName{};
  GearArray<std::string> DrawingNumber{};
  GearArray<std::string> DrawingName2{};

  SpurCoreFields() {
    ToothNumbers[1] = 16;
    ToothNumbers[2] = 58;
    ProfileShift[1] = 0.52L;
    ProfileShift[2] = 0.57L;
    GearFaceWidth.fill(88);
    ToolKindCode.fill(1);
    haP0Factor.fill(1.25L);
    hfP0Factor.fill(1.0L);
    hfP0FactorUsed.fill(0.8L);
    rhoaP0Factor.fill(0.25L);
    prP0Factor.fill(0.02L);
    alphaP0.fill(20);
    ToolProfileName.fill("Normal");
    TipDiameter[1] = 124;
    TipDiameter[2] = 400;
  }
  // Field by field; a NaN anywhere makes two sets unequal.
  bool operator==(const SpurCoreFields&) const = default;
};

}  // namespace calc
