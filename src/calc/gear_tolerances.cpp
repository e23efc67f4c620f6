// Flank tolerances by accuracy grade (gear_tolerances.h), and step 6 of the
// spur-pair geometry that runs them after the test dimensions
// (measurements.cpp). ISO 1328-1:2013 values are rounded to the preferred
// steps of the standard (tolerance_tables.h); DIN 3961 values are not.
#include "calc/gear_tolerances.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>

#include "calc/calc_records.h"
#include "calc/measurements.h"
#include "calc/spur_gear_data.h"
#include "calc/tolerance_tables.h"
#include "common/kaldvar.h"
#include "common/memo_math.h"
#include "common/message_list.h"
#include "common/number_format.h"
#include "common/numeric_routines.h"

namespace calc {

namespace {

using common::Hypot;
using common::IntPower;
using common::Log10;

// Gear geometry as the tolerance formulas see it: d is the magnitude of
// the reference diameter, so an internal gear takes the same values as an
// external gear of its size.
struct ToleranceInputs {
  Real mn;
  std::int32_t z;
  Real d;
  Real b;
  std::int32_t q;
};

ToleranceInputs InputsOf(int i) {
  const TSpurGearData& g = SpurGearData;
  return {g.NormalModule, g.ToothNumbers[i], std::fabs(g.d[i]), g.GearFaceWidth[i],
          g.AccuracyGrade[i]};
}

void Warn(bool condition, const char* text) {
  if (condition && !common::MsgQuiet) common::AddErrorMessage(text);
}

// The tooth-thickness tolerance should cover the variation of the tooth
// thickness twice over, whichever standard gave Rs; small modules are
// exempt. Said for every position of a sweep.
void WarnToothThicknessTolerance(int i) {
  const TSpurGearData& g = SpurGearData;
  if (!common::MsgQuiet && g.Tsn[i] < 2 * g.Rs[i] / 1000 && g.NormalModule >= 1)
    common::AddErrorMessage("Warning: Tsn < 2Rs !  (" + common::IntToText(i) + ")");
}

// ISO 1328-1:2013: the tolerances of class Q are those of class 5 times
// sqrt(2)^(Q - 5).
void CalcIsoFlankTolerances(int i) {
  TSpurGearData& g = SpurGearData;
  const ToleranceInputs in = InputsOf(i);
  const Real s = IntPower(in.q - 5, std::numbers::sqrt2_v<Real>);
  const Real sqrtD = std::sqrt(in.d);
  const Real sqrtB = std::sqrt(in.b);
  const auto R = RoundToPreferredStep;

  g.ffalpha[i] = R(s * (0.55L * in.mn + 5));
  // The standard rounds the class-5 value of the single pitch and of the
  // tooth-to-tooth single-flank value before the class factor is applied.
  g.fpb[i] = R(0.001L * in.d + 0.4L * in.mn + 5) * s;
  g.fHbeta[i] = R(s * (0.05L * sqrtD + 0.35L * sqrtB + 4));
  // Where the formulas hold: said for every position of a sweep.
  const std::int64_t absZ = std::llabs(in.z);
  Warn(absZ < 5 || absZ > 1000, "Warning: Fr: (5<=z<=1000)");
  Warn(in.d < 5 || in.d > 15000, "Warning: Fr: (5<=d<=15000)");
  Warn(in.mn < 0.5L || in.mn > 70, "Warning: Fr: (0.5<=mn<=70)");
  Warn(absZ < 5 || absZ > 400, "Warning: fis: (5<=z<=400)");
  Warn(in.d < 5 || in.d > 2500, "Warning: fis: (5<=d<=2500)");
  Warn(in.mn < 1 || in.mn > 50, "Warning: fis: (1<=mn<=50)");
  g.Fp[i] = R(s * (0.002L * in.d + 0.55L * sqrtD + 0.7L * in.mn + 12));
  g.FrRunout[i] = 0.9L * g.Fp[i];
  g.Rs[i] = R(0.58L * g.FrRunout[i]);
  WarnToothThicknessTolerance(i);
  if (RatingOnly) return;  // the rest is for the printout
  g.fHalpha[i] = R(s * (0.001L * in.d + 0.4L * in.mn + 4));
  g.Falpha[i] = R(Hypot(g.fHalpha[i], g.ffalpha[i]));
  g.fu[i] = std::numbers::sqrt2_v<Real> * g.fpb[i];
  g.FpSector[i] = R(g.fpb[i] + g.Fp[i]) / 2;
  g.ffbeta[i] = R(s * (0.07L * sqrtD + 0.45L * sqrtB + 4));
  g.Fbeta[i] = Hypot(g.fHbeta[i], g.ffbeta[i]);
  g.fisTooth[i] = R(0.375L * in.mn + 5) * s;
  g.FisTotal[i] = g.Fp[i] + g.fisTooth[i];
  g.fiTooth[i] = R(s * (0.01L * sqrtD + 2.96L * in.mn + 0.8L));
  g.FiTotal[i] = R(s * (1.01L * sqrtD + 3.2L * in.mn + 6.4L));
}

// DIN 3961 grade factors: the grades step by 1.4 up to grade 9 and by 1.6
// above for the profile and pitch values; runout, tooth-thickness
// variation and the radial composite values keep the step 1.4; the helix
// values have their own steps. Each factor is continuous from grade to grade.
Real DinGradeFactor(std::int32_t q) {
  if (q <= 9) return IntPower(q - 5, 1.4L);
  return IntPower(4, 1.4L) * IntPower(q - 9, 1.6L);
}

Real DinRunoutFactor(std::int32_t q) { return IntPower(q - 5, 1.4L); }

Real DinHelixFactor(std::int32_t q, Real first, Real last) {
  if (q <= 6) return IntPower(q - 5, first);
  if (q <= 8) return first * IntPower(q - 6, 1.4L);
  return first * 1.4L * 1.4L * IntPower(q - 8, last);
}

void CalcDinFlankTolerances(int i) {
  TSpurGearData& g = SpurGearData;
  const ToleranceInputs in = InputsOf(i);
  const Real G = DinGradeFactor(in.q);
  const Real sqrtMn = std::sqrt(in.mn);
  const Real sqrtD = std::sqrt(in.d);
  // Grade-5 profile form and slope values.
  const Real A = 0.25L * (in.mn + 9 * sqrtMn) + 1.5L;

  // First what the load capacity reads, then what only the printout does.
  g.ffalpha[i] = A * G;
  g.fpb[i] = (0.315L * (in.mn + 0.25L * sqrtD) + 4) * G;
  const Real fHbetaBase = 4.16L * common::MemoisedRecent<common::MemoPow>(in.b, 0.14L);
  g.fHbeta[i] = fHbetaBase * DinHelixFactor(in.q, 1.32L, 1.55L);
  g.fHbeta5 = fHbetaBase;

  // The tooth-thickness variation, for the warning that every position of
  // a sweep says.
  const Real P = DinRunoutFactor(in.q);
  const Real d14 = std::pow(in.d, 0.25L);
  const Real logMn = Log10(in.mn);
  g.Rs[i] = ((0.7L * logMn + 1.33L) * d14 + 1.28L * sqrtMn + 1.0L) * P;
  WarnToothThicknessTolerance(i);
  if (RatingOnly) return;

  const Real B = 0.25L * (in.mn + 3 * sqrtMn) + 2.5L;
  g.fHalpha[i] = B * G;
  g.Falpha[i] = std::sqrt(A * A + B * B) * G;
  g.fu[i] = (0.4L * (in.mn + 0.25L * sqrtD) + 5) * G;
  g.Fp[i] = 7.25L * std::cbrt(in.d) / std::pow(static_cast<Real>(std::llabs(in.z)), 1.0L / 7) * G;
  g.FpSector[i] = 6.25L * std::pow(in.mn, 1.0L / 7) * std::cbrt(std::numbers::pi_v<Real> * in.d) /
                  std::pow(in.d, 1.0L / 7) * G;
  g.FrRunout[i] = ((1.2L * logMn + 2.3L) * d14 + 2.18L * sqrtMn + 1.68L) * P;
  g.Fbeta[i] = (0.8L * std::sqrt(in.b) + 4) * DinHelixFactor(in.q, 1.25L, 1.6L);
  // Fbeta always exceeds fHbeta (4.16 b^0.14 < 0.91 (0.8 sqrt b + 4) and the
  // slope factor exceeds the total factor by at most 5.6 %).
  g.ffbeta[i] = std::sqrt(g.Fbeta[i] * g.Fbeta[i] - g.fHbeta[i] * g.fHbeta[i]);
  g.FiTotal[i] = ((0.432L * logMn + 3.12L) * d14 + 2.57L * sqrtMn + 2.0L) * P;
  g.fiTooth[i] = (1.6L * d14 + 1.8L * sqrtMn - 1.0L) * P;
  g.FisTotal[i] = 0.8L * (g.Fp[i] + g.Falpha[i]);
  g.fisTooth[i] = 0.7L * (g.fpb[i] + g.Falpha[i]);
}

}  // namespace

void CalcGearTolerances() {
  TSpurGearData& g = SpurGearData;
  const bool iso = g.ToleranceStandard == 1;
  for (int i = 1; i <= 2; ++i) {
    if (iso)
      CalcIsoFlankTolerances(i);
    else
      CalcDinFlankTolerances(i);
  }
  // The load-capacity calculation takes its initial equivalent misalignment
  // from the helix slope tolerance of gear 1 at grade 5.
  const Real b1 = g.GearFaceWidth[1];
  if (iso)
    g.fHbeta5 = RoundToPreferredStep(0.05L * std::sqrt(std::fabs(g.d[1])) + 0.35L * std::sqrt(b1) + 4);
  else
    g.fHbeta5 = 4.16L * common::MemoisedRecent<common::MemoPow>(b1, 0.14L);
  for (int i = 1; i <= 2; ++i)
    if (g.df[i] <= 0 && g.ToothNumbers[i] > 0) common::AddErrorMessage("Invalid Data !");
}

void CalcMeasuresTolerances() {
  if (common::FatalFlag != 0) return;
  if (!CalcGearMeasurements()) return;
  CalcGearTolerances();
}

}  // namespace calc
