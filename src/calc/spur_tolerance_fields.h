// Fields of SpurGearData (spur_gear_data.h): tooth-thickness allowances, tolerance tables, gear tolerances and the span and ball measurements.
// Default member values are the kernel's start values (InitGearData and
// SetSpurGearDefaults); SetNoncircularDefaults overrides some of them.
// The tooth-thickness allowances and the centre-distance allowances are
// filled by the tool-profile step from the DIN 3967 and ISO 286 tables
// (tolerance_tables.h); the flank tolerances by gear_tolerances.cpp; the
// test dimensions by measurements.cpp.
#pragma once

#include <cstdint>
#include <string>

#include "common/range_array.h"
#include "common/real.h"

namespace calc {

struct SpurToleranceFields {
  // ---- Tooth-thickness allowances (DIN 3967) ------------------------------
  GearArray<std::uint16_t> AllowanceSeries{};   // 1..11 = deviation series a .. h
  GearArray<std::uint16_t> ToleranceSeries{};   // 1..10 = series 21..30; 11 own values
  GearArray<std::string> ToothThicknessSeriesName{};  // e.g. "cd 25"; empty for own values
  GearArray<Real> AsnUpper{};                   // upper tooth-thickness allowance, mm
  GearArray<Real> AsnLower{};                   // lower tooth-thickness allowance, mm
  GearArray<Real> Tsn{};                        // tooth-thickness tolerance, mm

  // ---- Centre-distance allowances (ISO 286 js fields) ---------------------
  std::uint16_t CentreDistanceField = 0;        // 1..8 = "js 4".."js11"; 9 own Aae/Aai
  std::string CentreDistanceFieldName;
  Real Aae = 0;                                 // upper centre-distance allowance, mm
  Real Aai = 0;                                 // lower centre-distance allowance, mm

  // ---- Flank tolerances by accuracy grade ----------------------------------
  std::int32_t ToleranceStandard = 1;           // 1 ISO 1328; any other value DIN 3961
  GearArray<std::int32_t> AccuracyGrade{};      // Q per gear
  // Results in micrometres, in their stored order.
  GearArray<Real> ffalpha{};                    // profile form
  GearArray<Real> fHalpha{};                    // profile slope
  GearArray<Real> Falpha{};                     // total profile
  GearArray<Real> fpb{};                        // single pitch (base pitch deviation)
  GearArray<Real> fu{};                         // adjacent pitch difference
  GearArray<Real> Fp{};                         // total cumulative pitch
  GearArray<Real> FpSector{};                   // sector pitch
  GearArray<Real> FrRunout{};                   // runout
  GearArray<Real> Rs{};                         // tooth-thickness variation
  GearArray<Real> Fbeta{};                      // total helix
  GearArray<Real> fHbeta{};                     // helix slope
  GearArray<Real> ffbeta{};                     // helix form
  GearArray<Real> FiTotal{};                    // total radial composite
  GearArray<Real> fiTooth{};                    // tooth-to-tooth radial composite
  GearArray<Real> FisTotal{};                   // total single-flank composite
  GearArray<Real> fisTooth{};                   // tooth-to-tooth single-flank composite
  Real fHbeta5 = 0;                             // helix slope of gear 1 at grade 5

  // ---- Test dimensions ------------------------------------------------------
  GearArray<std::int32_t> SpanToothCount{};     // k; 0 = chosen by the calculation
  GearArray<Real> BallDiameter{};               // ball or pin diameter DM, mm
  // 1 = DM from the profile shift of the upper allowance. Starts at 1: a
  // ball of diameter 0 cannot touch the flanks, and the dimension over
  // balls computed from it would be meaningless.
  std::uint32_t AutoBallDiameter = 1;
  // Span measurements over k teeth for the five tooth thicknesses: before
  // finishing (xEmin, xEmax), nominal (x), finished (xEb, xEa).
  GearArray<Real> WkPreLower{};
  GearArray<Real> WkPreUpper{};
  GearArray<Real> WkNominal{};
  GearArray<Real> WkLower{};
  GearArray<Real> WkUpper{};
  // Dimensions over two balls (odd teeth: the balls in opposite gaps).
  GearArray<Real> MdKPreLower{};
  GearArray<Real> MdKPreUpper{};
  GearArray<Real> MdKNominal{};
  GearArray<Real> MdKLower{};
  GearArray<Real> MdKUpper{};
  // Dimensions over balls of odd helical gears converted to the measure
  // over two pins in one axial plane; equal to MdK otherwise.
  GearArray<Real> MdRPreLower{};
  GearArray<Real> MdRPreUpper{};
  GearArray<Real> MdRNominal{};
  GearArray<Real> MdRLower{};
  GearArray<Real> MdRUpper{};

  SpurToleranceFields() {
    AllowanceSeries.fill(8);
    ToleranceSeries.fill(5);
    ToothThicknessSeriesName.fill("6 e 27");
    AccuracyGrade.fill(6);
  }
  // Field by field; a NaN anywhere makes two sets unequal.
  bool operator==(const SpurToleranceFields&) const = default;
};

}  // namespace calc
