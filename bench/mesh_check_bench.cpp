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
// Release, CPU ms (per position), on a machine shared with other builds,
// the check by vertices in windows of the polar angle -> by trees of boxes
// over the outlines' edges:
//   z1 30   5.3 (14.7 us) -> 1.9..2.2 (5.2..6.0 us), index 0.18
//   z1 300  68 (28 us)    -> 18..22 (7.6..9.2 us),   index 2.1
//   k 10    42 (18 us)    -> 14..15 (5.8..6.4 us),   index 1.1
//   k 100   510 (21 us)   -> 144..175 (6.0..7.3 us), index 12.4
//   hexagon 9.1 (25 us)   -> 3.3..4.1 (9.2..11.4 us)
// The sine of a million waves took 8.5 s at 159 632 positions (8 to each
// length of the track that a pitch of the module spans) -> 26 ms at 360
// (8 to each of its 30 teeth: whole degrees).
// Then the overlap as the area of the intersection from the runs between
// crossings, the teeth about the pitch point paired by their measures
// along the tangent and across it, and the whole outlines looked at only
// where the overlap about the pitch point is the largest yet; the outlines
// of the same program with the new pitch tracks, an otherwise idle machine,
// least CPU ms of three runs, before -> after (per position):
//   z1 30    1.29 -> 1.15,  z1 300 14.3 -> 6.2 (2.6 us),  k 10 9.75 -> 5.69,
//   k 100    101 -> 63.8 (2.7 us),  hexagon 2.40 -> 0.86,
//   sine of a million waves 15.3 -> 8.7,
//   hexagon k 100 375 -> 74..77 (1.2..1.3 times the ellipse at k 100).
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
