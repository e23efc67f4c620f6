// Time of the meshing check alone (CheckMeshing, mesh_check.h) on the
// outlines of the shipped default design, built beforehand: as it is
// (z1 30), with z1 300, k 10, k 100 (gear 2 then has 3000 teeth, 24 000
// positions), as a hexagon, whose teeth interfere (the areas are summed
// at many positions), as a sine of a million waves, and as a hexagon of
// constant module at k 100, whose teeth interfere at 14 999 of its 24 000
// positions (aim: within 1.3 times the ellipse at k 100); and the index of
// the two outlines alone, which each check builds first. The counters give
// the positions checked and the time per position.
// Run by hand: build/bench/mesh_check_bench.
//
// Measured with bench/compare_builds.sh --bench mesh_check_bench --own
// (6 rounds in the order A B, B A, ..., each round's time the least of 3
// repetitions; CPU ms as the median [least-most] of the rounds; the ratio
// round by round), on a machine shared with other builds: the check with
// the tolerance of the module the teeth are cut with and outlines that
// touch exactly decided as if apart (this tree) against the one before:
//                  before                this tree            ratio
//   z1 30          1.4 [1.4-2.1]         1.5 [1.3-2.0]        0.96 [0.94-1.08]
//   z1 300         8.5 [8.4-12.9]        8.4 [7.9-12.9]       0.95 [0.86-1.12]
//   k 10           8.4 [7.3-12.8]        7.6 [7.2-11.7]       0.95 [0.86-1.02]
//   k 100          76.4 [73.5-88.9]      79.9 [72.4-125.4]    1.03 [0.96-1.63]
//   hexagon        1.2 [1.1-1.5]         1.1 [1.1-1.2]        0.92 [0.71-1.03]
//   sine 10^6      10.2 [9.6-12.0]       10.3 [9.5-12.4]      0.99 [0.89-1.10]
//   hexagon k 100  92.3 [87.9-104.5]     91.5 [88.2-119.9]    1.00 [0.96-1.28]
// and the index alone 0.1, 0.9, 0.5 and 5.8 ms for the first four, each
// ratio's spread holding 1.00. Earlier figures, with the changes they
// measured, are in this file's history.
#include <benchmark/benchmark.h>

#include "bench_program.h"
#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "drawing/outlines/mesh_check.h"
#include "drawing/outlines/tooth_contour.h"

namespace {

void SetUpDesign(int design) {
  benchprogram::DefaultDesign();
  switch (design) {
    case 1: calc::NcPair.z1 = 300; break;
    case 2: calc::NcPair.k = 10; break;
    case 3: calc::NcPair.k = 100; break;
    case 4:
      calc::CurveType = calc::CurvePolygon;
      calc::PolygonCurve.Corners = 6;
      break;
    case 5:
      calc::CurveType = calc::CurveSine;
      calc::SineCurve = {50, 5, 1000000};
      break;
    case 6:
      calc::CurveType = calc::CurvePolygon;
      calc::PolygonCurve.Corners = 6;
      calc::NcPair.ModuleMode = 2;
      calc::NcPair.k = 100;
      break;
    default: break;
  }
  calc::CalcNoncircularPair();
}

const char* DesignName(int design) {
  switch (design) {
    case 1: return "ellipse z1 300";
    case 2: return "ellipse k 10";
    case 3: return "ellipse k 100";
    case 4: return "hexagon";
    case 5: return "sine of a million waves";
    case 6: return "hexagon k 100";
    default: return "ellipse z1 30";
  }
}

void BM_MeshCheck(benchmark::State& state) {
  const int design = static_cast<int>(state.range(0));
  SetUpDesign(design);
  if (common::FatalFlag) state.SkipWithError("the calculation ended fatal");
  const auto& gear1 = drawing::GearContour(1);
  const auto& gear2 = drawing::GearContour(2);
  const drawing::TPitchTrack& track2 = drawing::PitchTrack(2);
  const drawing::TMeshModules modules{drawing::ToothModule(), drawing::ToothHeightModule()};
  int positions = 0;
  for (auto _ : state) {
    const drawing::TMeshFinding finding =
        drawing::CheckMeshing(gear1, gear2, track2, calc::NcPair.a, calc::NcPair.k, modules,
                              static_cast<long>(calc::NcPair.z1) * calc::NcPair.k);
    positions = finding.positions;
    state.counters["overlapping"] = finding.overlapping;
    state.counters["largest"] = static_cast<double>(finding.largestArea);
    state.counters["v1"] = 0;
    for (const auto& p : gear1) state.counters["v1"] += p.X.size();
    state.counters["v2"] = 0;
    for (const auto& p : gear2) state.counters["v2"] += p.X.size();
    benchmark::DoNotOptimize(finding.largestArea);
  }
  state.counters["positions"] = positions;
  state.counters["per_position"] =
      benchmark::Counter(positions * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.SetLabel(DesignName(design));
}
BENCHMARK(BM_MeshCheck)->ArgName("design")->DenseRange(0, 6)->Unit(benchmark::kMillisecond);

// The index of the two outlines alone, built once per check.
void BM_MeshIndex(benchmark::State& state) {
  const int design = static_cast<int>(state.range(0));
  SetUpDesign(design);
  const auto& gear1 = drawing::GearContour(1);
  const auto& gear2 = drawing::GearContour(2);
  for (auto _ : state) {
    const drawing::TMeshingPair pair(gear1, gear2, calc::NcPair.a);
    benchmark::DoNotOptimize(&pair);
  }
  state.SetLabel(DesignName(design));
}
BENCHMARK(BM_MeshIndex)->ArgName("design")->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

}  // namespace
