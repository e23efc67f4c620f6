// Time to build a gear's pitch track and tooth outline from scratch (what a
// redraw costs when the curve, k, z1, the module or the tool changed; after
// any other input the kept outline is drawn as it is): the default ellipse
// with z1 30, with z1 300, with k 100 (gear 2 then has 3000 teeth), a
// polyline of 360 points, one of 1000 points and a 100-term formula curve.
// Run by hand: build/bench/tooth_contour_bench.
//
// One run, Release, against the former chord track of 1000 samples per
// pitch (track and outline together, per gear):
//   ellipse z1 30          gear 1  22 ms -> 2.6 ms, gear 2  19 ms -> 2.5 ms
//   ellipse z1 300         gear 1 224 ms -> 18 ms,  gear 2 226 ms -> 19 ms
//   ellipse k 100          gear 2 1.74 s -> 0.28 s
//   polyline, 360 points   gear 1 109 ms -> 10 ms,  gear 2 112 ms -> 10 ms
//   formula of 100 terms   gear 1 826 ms -> 55 ms,  gear 2 844 ms -> 60 ms
// A kept outline: 0.1 us.
//
// With the outlines kept inside their tip curves, before -> after the tip
// region's search from the nearest pieces, the crossing grid sorted by
// columns, the counted orders of a tangled outline's crossings and the
// flank generator's repeated track point (two runs each, Release, CPU ms):
//   ellipse z1 30          gear 1 3.7..3.9 -> 2.8,     gear 2 3.7..4.5 -> 3.0..3.8
//   ellipse z1 300         gear 1 25 -> 20..23,        gear 2 26..28 -> 17..23
//   ellipse k 100          gear 2 328..352 -> 261..277
//   polyline, 1000 points  gear 1 34 -> 29, the outline alone 8.2..9.7 -> 6.3..6.7
//   sine, 1000 waves       gear 1 384..494 -> 257..264, the outline alone 394..437 -> 185..249
//   sine, a million waves  gear 1 69..74 -> 67..86 (the track), the outline alone 21 -> 17
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "calc/spur_gear_data.h"
#include "common/equation_matrix.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "drawing/outlines/tooth_contour.h"

namespace {

using namespace calc;

void SetUpDesign(int design) {
  common::SetKaldvarDefaults();
  common::AllocEquationWorkspace();
  InitGearData();
  SetSpurGearDefaults();
  SetNoncircularDefaults();
  switch (design) {
    case 1: NcPair.z1 = 300; break;
    case 2: NcPair.k = 100; break;
    case 3:
    case 5: {
      const int points = design == 3 ? 360 : 1000;
      CurveType = CurvePolyline;
      PolylineCount = points;
      LinearInterpolation = 1;
      for (int i = 1; i <= points; ++i) {
        const Real phi = (i - 1) * 2 * common::Pi / points, c = std::cos(phi) / 60, s = std::sin(phi) / 50;
        PolylinePoints[i] = {phi, 1 / std::sqrt(c * c + s * s)};
      }
      break;
    }
    case 4: {
      CurveType = CurveFormula;
      PieceCount = 1;
      // A Fourier series whose terms fall as 1 / n^2.
      std::string formula = "50";
      for (int n = 1; n <= 100; ++n)
        formula += "+" + std::to_string(1.0 / (n * n)) + "*SIN(" + std::to_string(n) + "*X+" + std::to_string(n) + ")";
      FormulaPieces[1] = {360, formula};
      break;
    }
    case 6:
    case 7:
      CurveType = CurveSine;
      SineCurve = {50, 5, design == 6 ? 1000 : 1000000};
      break;
    default: break;
  }
  CalcNoncircularPair();
}

const char* DesignName(int design) {
  switch (design) {
    case 1: return "ellipse z1 300";
    case 2: return "ellipse k 100";
    case 3: return "polyline, 360 points";
    case 4: return "formula of 100 terms";
    case 5: return "polyline, 1000 points";
    case 6: return "sine, 1000 waves";
    case 7: return "sine, a million waves";
    default: return "ellipse z1 30";
  }
}

void BM_ToothOutline(benchmark::State& state) {
  const int design = static_cast<int>(state.range(0));
  const int gear = static_cast<int>(state.range(1));
  SetUpDesign(design);
  if (common::FatalFlag) state.SkipWithError("the calculation ended fatal");
  for (auto _ : state) {
    const drawing::TPitchTrack track = drawing::TrackPitchCurve(gear);
    benchmark::DoNotOptimize(drawing::BuildGearContour(gear, track));
  }
  state.SetLabel(std::string(DesignName(design)) + ", gear " + std::to_string(gear));
}
BENCHMARK(BM_ToothOutline)
    ->ArgNames({"design", "gear"})
    ->ArgsProduct({{0, 1, 3, 4, 5, 6, 7}, {1, 2}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ToothOutline)->ArgNames({"design", "gear"})->Args({2, 2})->Unit(benchmark::kMillisecond)->Iterations(3);

// The outline alone on a track built before (what the teeth cost beyond
// their pitch curve).
void BM_ToothOutlineOnTrack(benchmark::State& state) {
  const int design = static_cast<int>(state.range(0));
  const int gear = static_cast<int>(state.range(1));
  SetUpDesign(design);
  if (common::FatalFlag) state.SkipWithError("the calculation ended fatal");
  const drawing::TPitchTrack track = drawing::TrackPitchCurve(gear);
  for (auto _ : state) benchmark::DoNotOptimize(drawing::BuildGearContour(gear, track));
  state.SetLabel(std::string(DesignName(design)) + ", gear " + std::to_string(gear));
}
BENCHMARK(BM_ToothOutlineOnTrack)
    ->ArgNames({"design", "gear"})
    ->ArgsProduct({{0, 3, 5, 6, 7}, {1}})
    ->Unit(benchmark::kMillisecond);

// The outline drawn again after a material or load edit: kept.
void BM_KeptToothOutline(benchmark::State& state) {
  SetUpDesign(0);
  for (auto _ : state) {
    SpurGearData.P += 1;
    benchmark::DoNotOptimize(drawing::GearContour(1).size() + drawing::GearContour(2).size());
  }
}
BENCHMARK(BM_KeptToothOutline)->Unit(benchmark::kMicrosecond);

}  // namespace
