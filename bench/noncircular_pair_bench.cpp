// Time of one complete noncircular pair calculation (CalcNoncircularPair:
// closing the pair and rating 360 positions through the spur-pair kernel)
// for the pitch-curve families with their usual data, one to three turns of
// gear 1, each with the DIN 3990 and the ISO 6336 strength method. The
// program recalculates on every input change, and the diagrams and
// animations make many runs, so one run should stay well below the time a
// user notices (3 ms for k = 1, 0.7 ms more for each further turn).
// Run by hand: build-*/bench/noncircular_pair_bench.
#include <benchmark/benchmark.h>

#include <string>

#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "calc/spur_gear_data.h"
#include "common/equation_matrix.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/message_list.h"

namespace {

using namespace calc;

const char* FamilyName(int family) {
  switch (family) {
    case CurveFormula: return "formula";
    case CurveEllipse: return "ellipse";
    case CurveSine: return "sine";
    case CurvePolygon: return "polygon";
    case CurvePolynomial: return "polynomial";
    case CurveEccentric: return "eccentric";
    default: return "?";
  }
}

// The default design with a load (10 kW at 1000 1/min), the method and the
// curve family set.
void SetUpDesign(int family, std::uint16_t method, int k) {
  common::SetKaldvarDefaults();
  common::AllocEquationWorkspace();
  InitGearData();
  SetSpurGearDefaults();
  SetNoncircularDefaults();
  SpurGearData.P = 10;
  SpurGearData.n[1] = 1000;
  SpurGearData.CalcMethod = method;
  NcPair.k = k;
  CurveType = static_cast<std::uint16_t>(family);
  switch (family) {
    case CurveFormula:
      PieceCount = 1;
      FormulaPieces[1].EndAngle = 360;
      FormulaPieces[1].Formula = "50+5*SIN(2*X)";
      break;
    case CurvePolynomial:  // r = 50 + 1.5 phi (2 pi - phi), equal at both ends
      PointCount = 3;
      common::EquationMatrix.rhs[1] = 50;
      common::EquationMatrix.rhs[2] = 3 * common::Pi;
      common::EquationMatrix.rhs[3] = -1.5L;
      break;
    default:
      break;
  }
}

void BM_CalcNoncircularPair(benchmark::State& state) {
  const int family = static_cast<int>(state.range(0));
  const auto method = static_cast<std::uint16_t>(state.range(1));
  const int k = static_cast<int>(state.range(2));
  SetUpDesign(family, method, k);
  for (auto _ : state) {
    CalcNoncircularPair();
    benchmark::DoNotOptimize(SafetyExtremes.SHmin[1]);
  }
  if (common::FatalFlag) state.SkipWithError("the calculation ended fatal");
  state.SetLabel(std::string(FamilyName(family)) + (method == 4 ? ", ISO 6336" : ", DIN 3990") +
                 ", k " + std::to_string(k));
}

BENCHMARK(BM_CalcNoncircularPair)
    ->ArgNames({"curve", "method", "k"})
    ->ArgsProduct({{CurveFormula, CurveEllipse, CurveSine, CurvePolygon, CurvePolynomial,
                    CurveEccentric},
                   {1, 4},
                   {1, 2, 3}})
    ->Unit(benchmark::kMillisecond);

// The default ellipse by each method at a power it bears (30 kW) and at
// one that overloads every position (500 kW: the safeties fall below the
// end of the life lines, where each position reads its lives off them).
// Against 2dd42a1 (bench/compare_builds.sh, 8 rounds on a quiet machine;
// ms, median [least-most], and the ratio) and in instructions (callgrind,
// one calculation from the default design, millions, 2dd42a1 / this tree):
//   DIN 30 kW    2.4 [2.3-3.5]   2.7 [2.3-3.6]   1.04 [0.87-1.48]   9.96 / 10.19
//   DIN 500 kW   2.7 [2.4-3.9]   2.8 [2.4-3.1]   1.04 [0.81-1.17]   11.04 / 11.52
//   ISO 30 kW    2.7 [2.6-3.6]   2.9 [2.7-3.1]   1.06 [0.79-1.13]   10.38 / 10.58
//   ISO 500 kW   3.7 [3.4-4.1]   3.3 [2.8-4.0]   0.84 [0.81-1.08]   12.35 / 11.94
// The rise under DIN is the rating's checks since 2dd42a1 (the material
// inputs, the drive rated), not the life lines: the build before these
// figures' changes (453d205) took 10.22, 12.47, 10.62 and 12.90.
void BM_CalcNoncircularPairByPower(benchmark::State& state) {
  const auto method = static_cast<std::uint16_t>(state.range(0));
  SetUpDesign(CurveEllipse, method, 1);
  SpurGearData.P = static_cast<Real>(state.range(1));
  for (auto _ : state) {
    CalcNoncircularPair();
    benchmark::DoNotOptimize(SafetyExtremes.SHmin[1]);
  }
  if (common::FatalFlag) state.SkipWithError("the calculation ended fatal");
  state.counters["SHmin"] = static_cast<double>(SafetyExtremes.SHmin[1]);
  state.counters["SFmin"] = static_cast<double>(SafetyExtremes.SFmin[1]);
}
BENCHMARK(BM_CalcNoncircularPairByPower)
    ->ArgNames({"method", "kW"})
    ->ArgsProduct({{1, 4}, {30, 500}})
    ->Unit(benchmark::kMillisecond);

// A large formula design: ten pieces of about 1.8 kB, each a sum of 119
// sines, with gear 1 turning 100 times per turn of gear 2. Opening such a
// design recalculates it, so this is the time the user waits.
void BM_CalcNoncircularPairLargeFormulas(benchmark::State& state) {
  SetUpDesign(CurveFormula, 1, 100);
  PieceCount = 10;
  for (int i = 1; i <= 10; ++i) {
    std::string formula = "50.00" + std::to_string(i % 10);
    for (int n = 1; n <= 119; ++n) formula += "+0.01*SIN(" + std::to_string(n) + "*X)";
    FormulaPieces[i] = {36.0L * i, formula};
  }
  for (auto _ : state) {
    CalcNoncircularPair();
    benchmark::DoNotOptimize(SafetyExtremes.SHmin[1]);
  }
  if (common::FatalFlag) state.SkipWithError("the calculation ended fatal");
  state.SetLabel("10 pieces of " + std::to_string(FormulaPieces[1].Formula.size()) +
                 " characters, k 100");
}
BENCHMARK(BM_CalcNoncircularPairLargeFormulas)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
