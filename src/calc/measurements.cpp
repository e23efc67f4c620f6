// Span and ball measurements of the spur pair (measurements.h), after
// DIN 3960: the span over k teeth on the base tangent, and the dimension
// over balls from the pressure angle at the ball centre.
#include "calc/measurements.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <iterator>
#include <string>

#include "calc/spur_gear_data.h"
#include "calc/tolerance_tables.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/numeric_routines.h"
#include "common/unit_labels.h"

namespace calc {

using common::CheckedArcCosNamed;
using common::Involute;
using common::Pi;

Real CalcSpanMeasure(int i, Real xs) {
  TSpurGearData& g = SpurGearData;
  const Real mn = g.NormalModule;
  const std::int32_t z = g.ToothNumbers[i];
  const Real d = g.d[i];
  const std::string label = "Fatal  : span measure !";
  // Pressure angle at the diameter of the nominally shifted gear, where the
  // span normally touches the flanks; it decides the number of teeth spanned.
  const Real dx = d + 2 * mn * g.ProfileShift[i];
  const Real betax = std::atan(std::tan(g.betaRad) * dx / d);
  const Real alphax =
      CheckedArcCosNamed(label, std::cos(g.alphanRad) * (d / dx) * std::cos(g.betaRad) / std::cos(betax));
  // The same test for the shift xs itself: only its message counts.
  CheckedArcCosNamed(label, std::cos(g.alphatRad) / (1 + std::cos(g.betaRad) * 2 * xs / z));
  // Virtual number of teeth of the helical gear for the span.
  const Real zVirtual = z * Involute(g.alphatRad) / Involute(g.alphanRad);
  const Real s = common::SignReal(z);
  if (g.SpanToothCount[i] == 0)
    g.SpanToothCount[i] = static_cast<std::int32_t>(std::trunc(zVirtual * alphax / Pi + 1));
  const Real k = g.SpanToothCount[i];
  return std::cos(g.alphanRad) * mn * ((k - s / 2) * Pi + z * Involute(g.alphatRad)) +
         2 * xs * mn * std::sin(g.alphanRad);
}

Real CalcBallMeasure(int i, Real xs) {
  const TSpurGearData& g = SpurGearData;
  const Real dm = g.BallDiameter[i];
  const std::int32_t z = g.ToothNumbers[i];
  const Real db = g.db[i];
  // Pressure angle on the circle through the ball centres.
  const Real invAlphaM = Involute(g.alphatRad) + dm / (db * std::cos(g.betab)) -
                         (Pi - 4 * xs * common::Tan(g.alphanRad)) / 2 / z;
  const Real alphaM = common::InverseInvolute(invAlphaM);
  if (alphaM < 0)
    common::AddErrorMessage("Error  : Dm ball !  (" + common::LengthToText(dm) +
                            common::LengthUnitLabel() + ")");
  const Real centres = db / std::cos(alphaM);
  if (common::IsEven(z)) return centres + dm;
  return centres * std::cos(Pi / 2 / z) + dm;
}

Real ConvertOddBallMeasure(int i, Real mdk) {
  const TSpurGearData& g = SpurGearData;
  const std::int32_t z = g.ToothNumbers[i];
  if (common::IsEven(z) || !(g.HelixAngle > 0)) return mdk;
  const Real dm = g.BallDiameter[i];
  return (mdk - dm) / std::cos(Pi / 2 / z) + dm;
}

bool CalcGearMeasurements() {
  TSpurGearData& g = SpurGearData;
  for (int i = 1; i <= 2; ++i) {
    if (g.AutoBallDiameter == 1) {
      g.BallDiameter[i] = CalcMeasuringBallDiameter(g.ToothNumbers[i], g.betaRad, g.alphanRad,
                                                    g.xEa[i], g.NormalModule);
      g.SpanToothCount[i] = 0;
    }
    const std::function<void()> steps[] = {
        [&] { g.WkPreLower[i] = CalcSpanMeasure(i, g.xEmin[i]); },
        [&] { g.WkPreUpper[i] = CalcSpanMeasure(i, g.xEmax[i]); },
        [&] { g.WkNominal[i] = CalcSpanMeasure(i, g.ProfileShift[i]); },
        [&] { g.WkLower[i] = CalcSpanMeasure(i, g.xEb[i]); },
        [&] { g.WkUpper[i] = CalcSpanMeasure(i, g.xEa[i]); },
        [&] { g.MdKPreLower[i] = CalcBallMeasure(i, g.xEmin[i]); },
        [&] { g.MdKPreUpper[i] = CalcBallMeasure(i, g.xEmax[i]); },
        [&] { g.MdKNominal[i] = CalcBallMeasure(i, g.ProfileShift[i]); },
        [&] { g.MdKLower[i] = CalcBallMeasure(i, g.xEb[i]); },
        [&] { g.MdKUpper[i] = CalcBallMeasure(i, g.xEa[i]); },
        [&] { g.MdRPreLower[i] = ConvertOddBallMeasure(i, g.MdKPreLower[i]); },
        [&] { g.MdRPreUpper[i] = ConvertOddBallMeasure(i, g.MdKPreUpper[i]); },
        [&] { g.MdRLower[i] = ConvertOddBallMeasure(i, g.MdKLower[i]); },
        [&] { g.MdRUpper[i] = ConvertOddBallMeasure(i, g.MdKUpper[i]); },
        [&] { g.MdRNominal[i] = ConvertOddBallMeasure(i, g.MdKNominal[i]); },
    };
    const int count = static_cast<int>(std::size(steps));
    for (int k = 0; k < count; ++k) {
      steps[k]();
      const bool last = i == 2 && k == count - 1;
      if (!last && common::FatalFlag != 0) return false;
    }
  }
  return true;
}

void ChooseSpanToothCounts() {
  TSpurGearData& g = SpurGearData;
  if (g.AutoBallDiameter == 1) return;  // the loop chooses it afresh every time
  for (int i = 1; i <= 2; ++i)
    if (g.SpanToothCount[i] == 0) CalcSpanMeasure(i, g.xEmin[i]);
}

}  // namespace calc
