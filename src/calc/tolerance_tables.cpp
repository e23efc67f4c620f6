// Tolerance tables of the spur-gear kernel and their look-ups (see
// tolerance_tables.h). The values are those of the ISO 286 and DIN 3967
// editions the program was designed with and are kept unchanged, so that
// stored designs give the same allowances.
#include "calc/tolerance_tables.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/numeric_routines.h"

namespace calc {

namespace {

constexpr std::int32_t IsoValues[IsoSizeRangeCount][IsoGradeCount] = {
    {3, 4, 6, 10, 14, 25, 40, 60},            // up to 3
    {4, 5, 8, 12, 18, 30, 48, 75},            // 3..6
    {4, 6, 9, 15, 22, 36, 58, 90},            // 6..10
    {5, 8, 11, 18, 27, 43, 70, 110},          // 10..18
    {6, 9, 13, 21, 33, 52, 84, 130},          // 18..30
    {7, 11, 16, 25, 39, 62, 100, 160},        // 30..50
    {8, 13, 19, 30, 46, 74, 120, 190},        // 50..80
    {10, 15, 22, 35, 54, 87, 140, 220},       // 80..120
    {12, 18, 25, 40, 63, 100, 160, 250},      // 120..180
    {14, 20, 29, 46, 72, 115, 185, 290},      // 180..250
    {16, 23, 32, 52, 81, 130, 210, 320},      // 250..315
    {18, 25, 36, 57, 89, 140, 230, 360},      // 315..400
    {20, 27, 40, 63, 97, 155, 250, 400},      // 400..500
    {22, 28, 44, 70, 110, 174, 280, 440},     // 500..630
    {24, 32, 50, 80, 124, 200, 320, 500},     // 630..800
    {28, 36, 56, 90, 140, 230, 360, 560},     // 800..1000
    {32, 42, 66, 104, 164, 260, 420, 660},    // 1000..1250
    {36, 50, 78, 124, 194, 310, 500, 780},    // 1250..1600
    {40, 60, 92, 150, 230, 370, 600, 920},    // 1600..2000
    {44, 70, 110, 174, 280, 440, 700, 1100},  // 2000..2500
    {50, 86, 134, 210, 330, 540, 860, 1350},  // above 2500
};

constexpr std::int32_t ToleranceValues[DiameterRangeCount][ToothThicknessToleranceCount] = {
    {3, 5, 8, 12, 20, 30, 50, 80, 130, 200},              // up to 10
    {5, 8, 12, 20, 30, 50, 80, 130, 200, 300},            // 10..50
    {6, 10, 16, 25, 40, 60, 100, 160, 250, 400},          // 50..125
    {8, 12, 20, 30, 50, 80, 130, 200, 300, 500},          // 125..280
    {10, 16, 25, 40, 60, 100, 160, 250, 400, 600},        // 280..560
    {12, 20, 30, 50, 80, 130, 200, 300, 500, 800},        // 560..1000
    {16, 25, 40, 60, 100, 160, 250, 400, 600, 1000},      // 1000..1600
    {20, 30, 50, 80, 130, 200, 300, 500, 800, 1300},      // 1600..2500
    {25, 40, 60, 100, 160, 250, 400, 600, 1000, 1600},    // 2500..4000
    {30, 50, 80, 130, 200, 300, 500, 800, 1300, 2000},    // 4000..6300
    {40, 60, 100, 160, 250, 400, 600, 1000, 1600, 2400},  // above 6300
};

constexpr std::int32_t AllowanceValues[DiameterRangeCount][ToothThicknessAllowanceCount] = {
    // a    ab    b     bc    c    cd   d    e    f    g    h
    {100, 85, 70, 58, 48, 40, 33, 22, 10, 5, 0},                  // up to 10
    {135, 110, 95, 75, 65, 54, 44, 30, 14, 7, 0},                 // 10..50
    {180, 150, 125, 105, 85, 70, 60, 40, 19, 9, 0},               // 50..125
    {250, 200, 170, 140, 115, 95, 80, 56, 26, 12, 0},             // 125..280
    {330, 280, 230, 190, 155, 130, 110, 75, 35, 17, 0},           // 280..560
    {450, 370, 310, 260, 210, 175, 145, 100, 48, 22, 0},          // 560..1000
    {600, 500, 420, 340, 290, 240, 200, 135, 64, 30, 0},          // 1000..1600
    {820, 680, 560, 460, 390, 320, 270, 180, 85, 41, 0},          // 1600..2500
    {1100, 920, 760, 620, 520, 430, 360, 250, 115, 56, 0},        // 2500..4000
    {1500, 1250, 1020, 840, 700, 580, 480, 330, 155, 75, 0},      // 4000..6300
    {2000, 1650, 1350, 1150, 940, 780, 640, 450, 210, 100, 0},    // above 6300
};

// Whole part of a size (cut toward zero). Sizes beyond the 32-bit range
// (a corrupt input) are held at its limits instead of overflowing; they
// fall into the last range either way.
std::int32_t TruncSize(Real x) {
  constexpr Real Limit = static_cast<Real>(std::numeric_limits<std::int32_t>::max());
  if (!(x == x)) return 0;  // NaN: nothing sensible to look up
  if (x >= Limit) return std::numeric_limits<std::int32_t>::max();
  if (x <= -Limit) return -std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::trunc(x));
}

std::int64_t Magnitude(std::int32_t n) { return std::llabs(static_cast<long long>(n)); }

}  // namespace

const RangeArray<RangeArray<std::int32_t, 1, IsoGradeCount>, 1, IsoSizeRangeCount>
    IsoToleranceTable = RangeTableFrom(IsoValues);
const RangeArray<RangeArray<std::int32_t, 1, ToothThicknessToleranceCount>, 1, DiameterRangeCount>
    ToothThicknessToleranceTable = RangeTableFrom(ToleranceValues);
const RangeArray<RangeArray<std::int32_t, 1, ToothThicknessAllowanceCount>, 1, DiameterRangeCount>
    ToothThicknessAllowanceTable = RangeTableFrom(AllowanceValues);

int IsoSizeRangeIndex(std::int32_t n) {
  static constexpr std::int64_t UpperLimits[IsoSizeRangeCount - 1] = {
      3, 6, 10, 18, 30, 50, 80, 120, 180, 250, 315, 400, 500, 630, 800, 1000, 1250, 1600,
      2000, 2500};
  const std::int64_t size = Magnitude(n);
  for (int i = 0; i < IsoSizeRangeCount - 1; ++i)
    if (size < UpperLimits[i]) return i + 1;
  return IsoSizeRangeCount;
}

int DiameterRangeIndex(std::int32_t n) {
  static constexpr std::int64_t UpperLimits[DiameterRangeCount - 1] = {
      10, 50, 125, 280, 560, 1000, 1600, 2500, 4000, 6300};
  const std::int64_t size = Magnitude(n);
  for (int i = 0; i < DiameterRangeCount - 1; ++i)
    if (size < UpperLimits[i]) return i + 1;
  return DiameterRangeCount;
}

std::int32_t GetIsoTolerance(int column, Real size) {
  if (column < 1 || column > IsoGradeCount) return 0;
  // The small subtraction puts a size lying on a range limit into the lower
  // range, as the standard's "over .. up to and including" ranges require.
  return IsoToleranceTable[IsoSizeRangeIndex(TruncSize(size - 0.01L))][column];
}

std::int32_t GetToothThicknessTolerance(int column, Real d) {
  if (column < 1 || column > ToothThicknessToleranceCount) return 0;
  return ToothThicknessToleranceTable[DiameterRangeIndex(TruncSize(d - 0.0001L))][column];
}

std::int32_t GetToothThicknessAllowance(int column, Real d) {
  if (column < 1 || column > ToothThicknessAllowanceCount) return 0;
  return ToothThicknessAllowanceTable[DiameterRangeIndex(TruncSize(d - 0.0001L))][column];
}

Real CalcMeasuringBallDiameter(std::int32_t z, Real beta, Real alphan, Real x, Real mn) {
  using namespace common;
  const std::string label = "Error  : DmMess";
  // Virtual number of teeth of the helical gear (approximation cos^3.3).
  const Real cosPower = CheckedPower(label, std::cos(beta), 3.3L);
  if (cosPower == 0) return 0;  // no virtual gear (beta of 90 degrees)
  const Real zn = z / cosPower;
  if (zn == 0) return 0;
  // Pressure angle on the circle of diameter (zn + 2x) mn of the virtual gear.
  const Real alphaD = CheckedArcCosNamed(label, zn * std::cos(alphan) / (zn + 2 * x));
  if (alphaD == 0) {
    // Only the printout's ball and pin rows miss it; the rating goes on and
    // its results stand, so this is no fatal text: it weighs as a note on the
    // printed measurements (message_weights.h).
    AddErrorMessage("Error  : Diametr.Dim.o.balls DmMess !");
    return 0;
  }
  const Real t = (Pi - 4 * x * Tan(alphan)) / (2 * zn) + Tan(alphaD) - Involute(alphan);
  Real dm = (Tan(t) - Tan(alphaD)) * std::cos(alphan) * zn * mn;
  if (dm >= 0.5L) {
    if (UnitSystem == UnitsImperial)
      dm = InchToMm(RoundDecimals(3, MmToInch(dm)));
    else
      dm = RoundDecimals(1, dm);
  }
  return dm;
}

Real RoundToPreferredStep(Real x) {
  // rint rounds halves to even in the default rounding mode (and, unlike
  // nearbyint, does not save and restore the floating-point environment).
  if (x < 5) return std::rint(x * 10) / 10;
  if (x <= 10) return std::rint(x * 2) / 2;
  return std::rint(x);
}

}  // namespace calc
