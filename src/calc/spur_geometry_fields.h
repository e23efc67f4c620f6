// Fields of SpurGearData (spur_gear_data.h): tool-profile inputs and geometry
// results of the spur-pair kernel (driver, tool profile, input checks, basic
// and contact geometry, warnings, running-in allowance, face widths).
// Default member values are the kernel's start values (InitGearData and
// SetSpurGearDefaults); SetNoncircularDefaults overrides some of them.
// Diameters of an internal gear (negative tooth number) are held negative;
// angles named ...Rad, alphaWt..., betab, betaW are radians.
#pragma once

#include <cstdint>
#include <string>

#include "common/range_array.h"
#include "common/real.h"

namespace calc {

struct SpurGeometryFields {
  // ---- Inputs ---------------------------------------------------------------
  GearArray<std::uint16_t> HelixHand{};        // 1, 2 the two hands, 3 straight; gear 2 derived
  GearArray<Real> rhofP0Factor{};              // tool root radius / mn
  GearArray<Real> MachiningAllowance{};        // q: allowance per flank left for finishing, mm
  GearArray<Real> MachiningAllowanceTol{};     // tolerance of q, mm
  GearArray<Real> c{};                         // tip clearance (input of GeometryMode 1; result)
  GearArray<Real> EndChamfer{};                // axial chamfer width per gear end, mm
  Real AxialOffset = 0;                        // axial position of gear 2's centre to gear 1's
  std::int32_t DrawSettingSource = 0;          // picture setting, copied to DrawSetting

  // ---- Input checks and basic geometry --------------------------------------
  Real alphanRad = 0;                          // normal pressure angle
  Real betaRad = 0;                            // helix angle
  Real alphatRad = 0;                          // transverse pressure angle
  Real DiametralPitch = 0;                     // 25.4 / mn
  Real mt = 0;                                 // transverse module
  GearArray<Real> d{};                         // reference diameter z * mt
  Real zLimit = 0;                             // 2 / sin^2 alphan
  Real zLimitPractical = 0;                    // 5/6 zLimit
  GearArray<Real> xmin{};                      // profile shift at the practical undercut limit
  Real aNominal = 0;                           // centre distance without profile shift
  Real alphaWt = 0;                            // working transverse pressure angle
  Real xSumForA = 0;                           // profile-shift sum that the entered a needs

  // ---- Tool profile and working geometry --------------------------------------
  GearArray<Real> haP{};                       // addendum of the basic rack, mm
  GearArray<Real> hfP{};                       // dedendum of the basic rack, mm
  GearArray<Real> rhoaP0{};                    // tool tip radius, mm
  GearArray<Real> rhofP0{};                    // tool root radius, mm
  GearArray<Real> prP0{};                      // protuberance, mm
  GearArray<Real> hfP0Used{};                  // tool dedendum of the gear's addendum, mm
  GearArray<Real> xEa{};                       // generating shift of the upper allowance
  GearArray<Real> xEb{};                       // generating shift of the lower allowance
  GearArray<Real> xEmin{};                     // generating shift before finishing, lower
  GearArray<Real> xEmax{};                     // generating shift before finishing, upper
  GearArray<Real> zn{};                        // virtual number of teeth
  GearArray<Real> dn{};                        // virtual reference diameter
  GearArray<Real> dw{};                        // working pitch diameter
  GearArray<Real> dwAtLowerA{};                // dw at a + Aai
  GearArray<Real> dwAtUpperA{};                // dw at a + Aae
  GearArray<Real> df{};                        // root diameter of the thickest tooth (xEmax)
  GearArray<Real> dfLower{};                   // root diameter with xEmin
  GearArray<Real> dfNoAllowance{};             // root diameter with the nominal shift
  GearArray<Real> dfTolerance{};               // dfLower - df
  GearArray<Real> daNoShortening{};            // tip diameter from the nominal shift
  GearArray<Real> db{};                        // base diameter
  GearArray<Real> dMid{};                      // mean of theoretical tip and root diameter
  Real betab = 0;                              // base helix angle
  Real cos2betab = 0;                          // cos^2 betab
  Real alphaWtAtLowerA = 0;                    // working angle at a + Aai
  Real alphaWtAtUpperA = 0;                    // working angle at a + Aae
  Real jtMin = 0, jtMax = 0;                   // circumferential backlash, mm
  Real jnMin = 0, jnMax = 0;                   // normal backlash, mm
  Real jrMin = 0, jrMax = 0;                   // radial backlash, mm
  Real pn = 0, pt = 0, pbt = 0, pet = 0, pbn = 0;  // pitches, mm
  Real betaW = 0;                              // helix angle at the working pitch circle

  // ---- Tooth thickness and contact geometry -----------------------------------
  GearArray<Real> daLower{};                   // lower tip diameter
  GearArray<Real> h{};                         // tooth depth
  GearArray<Real> hLowerTip{};                 // depth with the lower tip diameter
  GearArray<Real> hLowerRoot{};                // depth with the lower root diameter
  GearArray<Real> sn{}, snUpper{}, snLower{};  // normal tooth thickness (x, xEa, xEb)
  GearArray<Real> st{}, stUpper{}, stLower{};  // transverse tooth thickness
  GearArray<Real> et{}, en{};                  // transverse and normal space width
  GearArray<Real> dNa{};                       // usable tip diameter
  GearArray<Real> dNaLower{};                  // its lower value
  GearArray<Real> alphaat{};                   // transverse pressure angle at the tip
  GearArray<Real> sat{}, satUpper{}, satLower{};  // transverse tip thickness
  GearArray<Real> san{}, sanUpper{}, sanLower{};  // normal tip thickness
  GearArray<Real> RefLength{};                 // tooth thickness on the working pitch circle
  GearArray<Real> ToothAngleAtDw{};            // angle of that thickness, radians
  GearArray<Real> dFf{}, dFfUpper{}, dFfLower{};  // root form diameter (x, xEa, xEb)
  GearArray<Real> dEff{};                      // tip diameter in mesh at a
  GearArray<Real> dEffUpperA{};                // at a + Aae
  GearArray<Real> dEffLowerA{};                // at a + Aai
  GearArray<Real> epsPartial{};                // partial contact ratio
  GearArray<Real> dNf{};                       // active root diameter
  GearArray<Real> cMin{}, cMax{};              // tip clearance at the centre-distance limits
  Real galpha = 0, galphaUpperA = 0, galphaLowerA = 0;  // length of path of contact
  Real gAEnd = 0, gAStart = 0;                 // addendum paths of gear 1 and gear 2 at a
  Real gAEndUpperA = 0, gAEndLowerA = 0;
  Real gAStartUpperA = 0, gAStartLowerA = 0;
  Real epsAlpha = 0, epsAlphaUpperA = 0, epsAlphaLowerA = 0;  // transverse contact ratio
  Real epsBeta = 0;                            // overlap ratio
  Real epsGamma = 0, epsGammaUpperA = 0, epsGammaLowerA = 0;  // total contact ratio
  Real u = 0;                                  // z2 / z1
  // Specific sliding at the ends of the path of contact: 1 root of gear 1
  // (start of contact), 2 tip of gear 1 (end of contact), 3 tip of gear 2
  // (start), 4 root of gear 2 (end). A root value beyond 1000 in magnitude
  // is held as -999.
  RangeArray<Real, 1, 4> SpecificSliding{};
  // The same four at a + Aae (1..4) and at a + Aai (5..8).
  RangeArray<Real, 1, 8> SpecificSlidingLimits{};
  Real CollisionValue = 0;                     // tip interference value, internal pairs

  // ---- Running-in allowance and face widths -----------------------------------
  // The entered FaceWidth stays as entered; the axial overlap of the two
  // gears (less chamfers and offset) is the face width of the strength
  // formulas and printouts.
  Real EffectiveFaceWidth = 0;
  GearArray<Real> RootFaceWidth{};             // face width per gear for the root stress

  // ---- Values for the gear pictures --------------------------------------------
  GearArray<Real> xEmean{};                    // (xEa + xEb) / 2
  GearArray<Real> xPreMean{};                  // (xEmax + xEmin) / 2
  GearArray<Real> snMean{};                    // mean normal tooth thickness
  GearArray<Real> dfMean{};                    // mean root diameter
  GearArray<Real> daMean{};                    // mean tip diameter
  GearArray<Real> dwDraw{};                    // working pitch diameter of the picture
  Real aDraw = 0;                              // centre distance of the picture
  Real DrawToothAngle = 0;                     // degrees
  Real DrawStartAngle = 0;                     // degrees
  Real DrawContactStartAngle = 0;              // degrees
  Real DrawContactEndAngle = 0;                // degrees
  std::int32_t DrawSetting = 0;

  SpurGeometryFields() { HelixHand.fill(3); }
  // Field by field; a NaN anywhere makes two sets unequal.
  bool operator==(const SpurGeometryFields&) const = default;
};

}  // namespace calc
