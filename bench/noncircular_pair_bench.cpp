// Time of one complete noncircular pair calculation (CalcNoncircularPair:
// closing the pair and rating 360 positions through the spur-pair kernel)
// for the default ellipse and for a formula curve, each with the DIN 3990
// and the ISO 6336 strength method. The program recalculates on every input
// change, so one run should stay well below the time a user notices.
// Run by hand: build-*/bench/noncircular_pair_bench.
#include <benchmark/benchmark.h>

#include <string>

#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "calc/spur_gear_data.h"
#include "common/kaldvar.h"
#include "common/message_list.h"

namespace {

using namespace calc;

// The default design with a load (10 kW at 1000 1/min) and the method set.
void SetUpDesign(bool formulaCurve, std::uint16_t method) {
  common::SetKaldvarDefaults();
  InitGearData();
  SetSpurGearDefaults();
  SetNoncircularDefaults();
  SpurGearData.P = 10;
  SpurGearData.n[1] = 1000;
  SpurGearData.CalcMethod = method;
  if (formulaCurve) {
    CurveType = CurveFormula;
    PieceCount = 1;
    FormulaPieces[1].EndAngle = 360;
    FormulaPieces[1].Formula = "50+5*SIN(2*X)";
  }
}

void BM_CalcNoncircularPair(benchmark::State& state) {
  const bool formula = state.range(0) != 0;
  const auto method = static_cast<std::uint16_t>(state.range(1));
  SetUpDesign(formula, method);
  for (auto _ : state) {
    CalcNoncircularPair();
    benchmark::DoNotOptimize(SafetyExtremes.SHmin[1]);
  }
  if (common::FatalFlag) state.SkipWithError("the calculation ended fatal");
  state.SetLabel(std::string(formula ? "formula curve" : "ellipse") +
                 (method == 4 ? ", ISO 6336" : ", DIN 3990"));
}

BENCHMARK(BM_CalcNoncircularPair)
    ->ArgNames({"formula", "method"})
    ->Args({0, 1})
    ->Args({0, 4})
    ->Args({1, 1})
    ->Args({1, 4})
    ->Unit(benchmark::kMillisecond);

// A large formula design: ten pieces of about 1.8 kB, each a sum of 119
// sines, with gear 1 turning 100 times per turn of gear 2. Opening such a
// design recalculates it, so this is the time the user waits.
void BM_CalcNoncircularPairLargeFormulas(benchmark::State& state) {
  SetUpDesign(true, 1);
  NcPair.k = 100;
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
