// Time of the meshing check alone (CheckMeshing, mesh_check.h) on outlines
// built beforehand: the default ellipse (z1 30), z1 300, k 10, k 100 (gear 2
// then has 3000 teeth, 24 000 positions) and the hexagon, whose teeth
// interfere (the areas are summed at many positions). The label gives the
// positions checked and the time per position.
// Run by hand: build/bench/mesh_check_bench.
#include <benchmark/benchmark.h>

#include <string>

#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "calc/spur_gear_data.h"
#include "common/equation_matrix.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "drawing/mesh_check.h"
#include "drawing/tooth_contour.h"

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
    case 2: NcPair.k = 10; break;
    case 3: NcPair.k = 100; break;
    case 4:
      CurveType = CurvePolygon;
      PolygonCurve.Corners = 6;
      break;
    default: break;
  }
  CalcNoncircularPair();
}

const char* DesignName(int design) {
  switch (design) {
    case 1: return "ellipse z1 300";
    case 2: return "ellipse k 10";
    case 3: return "ellipse k 100";
    case 4: return "hexagon";
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
  const Real mn = drawing::ToothModule();
  int positions = 0;
  for (auto _ : state) {
    const drawing::TMeshFinding finding = drawing::CheckMeshing(gear1, gear2, track2, NcPair.a, NcPair.k, mn);
    positions = finding.positions;
    benchmark::DoNotOptimize(finding.largestArea);
  }
  state.counters["positions"] = positions;
  state.counters["per_position"] =
      benchmark::Counter(positions * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.SetLabel(DesignName(design));
}
BENCHMARK(BM_MeshCheck)->ArgName("design")->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {
// The index of the two outlines alone, built once per check.
void BM_MeshIndex(benchmark::State& state) {
  const int design = static_cast<int>(state.range(0));
  SetUpDesign(design);
  const auto& gear1 = drawing::GearContour(1);
  const auto& gear2 = drawing::GearContour(2);
  for (auto _ : state) {
    const drawing::TMeshingPair pair(gear1, gear2, NcPair.a);
    benchmark::DoNotOptimize(&pair);
  }
  state.SetLabel(DesignName(design));
}
BENCHMARK(BM_MeshIndex)->ArgName("design")->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
}  // namespace
