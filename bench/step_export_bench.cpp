// What the user waits for when exporting a gear as STEP (/CAD7:2 or the
// menu's STEP file): gear 2 of the shipped default design with k = 10 and
// z1 = 3, 10, 30, 100 and 300, so 30 to 3000 teeth of one pitch curve, written
// to a file with its solid. The design is calculated and its outline drawn
// once, as the open design has it, before the timed exports. The time per
// tooth at 300 teeth is to stay within twice that at 30, and so the peak
// memory. The peak is the process's (getrusage): run one size per process
// for its own figure, e.g.
//   build/bench/step_export_bench --benchmark_filter='/300'
// "start_MiB" is the program's before the first export. One thread.
//
// One run each, Release, against the former writer (an edge and a side
// face per segment of the outline, the translator's check of the model):
//   30 teeth    734 ms -> 53-81 ms,   peak  64 MiB -> 36 MiB
//   100 teeth  5.9 s   -> 0.16-0.25 s, peak 133 MiB -> 44 MiB
//   300 teeth 47.5 s   -> 0.52-0.82 s, peak 340 MiB -> 66 MiB
// With a plane side between every two corners of the outline (some 42 per
// tooth, where a B-spline with kinks through a whole flank made one), the
// caps cut into sectors and the sides swept boundary by boundary, built by
// the modelling kernel and written by its translator (one run each,
// Release, on a machine shared with other builds):
//   30 teeth   0.35 s,  peak  47 MiB
//   300 teeth  4.1 s,   peak 177 MiB
//   1000 teeth 15.3 s,  peak 529 MiB
//   3000 teeth 50 s,    peak 1.5 GiB   (11-17 ms per tooth throughout)
// The same faces, edges and vertices as plain data, their entities
// composed by the program itself (step_entities.h), no kernel (Release,
// the same machine; the process starts at 10-35 MiB with the design):
//   30 teeth    13 ms,   peak 11 MiB
//   300 teeth   0.14 s,  peak 18 MiB
//   1000 teeth  0.45 s,  peak 40 MiB
//   3000 teeth  1.5 s,   peak 77 MiB   (0.38-0.47 ms per tooth)
// With the smooth stretches of the outline as a few cubic curves each (some
// six sides a tooth instead of 42; the same machine, busier):
//   30 teeth    14 ms,   peak 11 MiB
//   300 teeth   30 ms,   peak 16 MiB
//   1000 teeth  90 ms,   peak 33 MiB
//   3000 teeth  0.26 s,  peak 78 MiB   (0.08 ms per tooth)
#include <benchmark/benchmark.h>

#include "bench_program.h"
#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "common/design_documentation.h"
#include "common/kaldvar.h"
#include "drawing/cad/cad_device.h"
#include "drawing/gear_pictures.h"
#include "drawing/outlines/tooth_contour.h"

namespace {

void BM_StepExportGear2(benchmark::State& state) {
  const int teeth = static_cast<int>(state.range(0));
  benchprogram::DefaultDesign();
  calc::NcPair.k = 10;
  calc::NcPair.z1 = teeth / 10;
  calc::CalcNoncircularPair();
  if (common::FatalFlag) state.SkipWithError("the calculation ended fatal");
  benchmark::DoNotOptimize(drawing::GearContour(2).size());
  // Named after the design, as the command line names it; no question.
  common::MessagesEnabled = 0;
  common::CadBatchNaming = true;
  // The program's peak before its first export (the benchmark runs again
  // for its figures, after the first export).
  static const double start = benchprogram::PeakResidentMiB();
  for (auto _ : state) {
    drawing::DrawGears(2, drawing::CadDeviceStep);
    if (common::AbortFlag) state.SkipWithError("the file could not be written");
  }
  common::CadBatchNaming = false;
  common::MessagesEnabled = 1;
  state.counters["start_MiB"] = start;
  state.counters["peak_MiB"] = benchprogram::PeakResidentMiB();
  // The time of one export divided by the teeth.
  state.counters["per_tooth"] =
      benchmark::Counter(teeth, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_StepExportGear2)->ArgName("teeth")->Arg(30)->Arg(100)->Arg(300)->Arg(1000)->Arg(3000)->Unit(benchmark::kMillisecond);

}  // namespace
