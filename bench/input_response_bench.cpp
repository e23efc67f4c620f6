// What the user waits for after an input that changes the teeth, on the
// designs where the checks of the teeth (whether the curve can carry them,
// whether they run into each other) cost the most: the calculation of the
// pair and the redraw of the result picture, or the whole text printout of
// a command-line run. Every step gives the input a value it never had
// before in the run, so that nothing kept from an earlier step (closing,
// pitch tracks, outlines, findings) can stand for it.
//
//   default ellipse, semi-axis a edited           aim 11 ms
//   z1 300, a edited                              aim 55 ms
//   k 10, a edited                                aim 60 ms
//   k 100, a edited                               aim 450 ms
//   polyline of 1000 points, one point moved      aim 80 ms
//   100-term formula, a coefficient edited        aim 285 ms
//   diagrams as result picture, k 100, a edited   aim 600 ms
//   "vob4 k100.vb4 /I", a fresh design each run   aim 600 ms
//   the same of a hexagon whose teeth interfere   aim 1.5 times the above
// and a sine curve of a million waves (no curve may make a calculation
// hang: its teeth cost no more than its pitch curve).
//
// Figures are thread CPU time (the machine may be loaded): read the CPU
// column. One thread. Run by hand: build/bench/input_response_bench;
// bench/compare_builds.sh builds this source against the program before
// the checks (929491a) and against this tree and gives the ratios. The
// source therefore uses only what both programs have.
//
// Release, means of three repetitions, CPU ms, with the checks as first
// built -> checks by tooth pitch near the line of centres:
//   default 21 -> 18, z1 300 101..142 -> 130..153, k 10 171 -> 96,
//   k 100 1668 -> 1017, polyline 123 -> 95, formula 324..344 -> 326..373,
//   diagrams k 100 1704 -> 860, /I k 100 1401 -> 839,
//   sine N 1000 4959 -> 843, N 1000000 94081 -> 5497.
// Then the outline build, the tip region and the fold check at their floor
// (the overlap check as it was; two runs each, before -> after):
//   default 20..24 -> 22..24, z1 300 145..151 -> 134..154,
//   k 10 104..119 -> 100..110, k 100 902..1048 -> 814..891,
//   polyline 78..88 -> 76..82, formula 303..337 -> 291..358,
//   diagrams k 100 780..813 -> 715..731, /I k 100 857..951 -> 683..745,
//   sine N 1000 767..851 -> 434..643, N 1000000 5517..5633 -> 5464..6257
//   (nearly all of it the overlap check).
// Then the mesh check by trees of boxes over the outlines' edges (two runs
// each, old and new alternated, on a machine shared with other builds;
// the outlines built as before):
//   default 18..20 -> 17, z1 300 126..145 -> 90..98, k 10 93..102 -> 67..72,
//   k 100 880..886 -> 664..725, diagrams k 100 750..774 -> 499..527,
//   /I k 100 753..763 -> 501..534.
// All of it together, and the positions counted by the teeth gear 2
// carries: the program before the checks (929491a) | with the checks as
// first built (c715423) | now, runs alternated on an otherwise idle
// machine whose speed still drifts by a fifth (medians of five runs for
// the first four rows, two runs for the rest):
//   default   15.0 | 18.2..19.9 | 14.6,   z1 300 81..83 | 106..112 | 76..80,
//   k 10      52.3 | 156..161   | 60.7,   k 100  437    | 1639..1824 | 543,
//   polyline  65.8 | 133        | 69.4,   formula 263..322 | 362..412 | 279..294,
//   diagrams k 100 4.9 | 1680..1688 | 404..571,
//   /I k 100  3.6..3.7 | 1681..1687 | 423..435,
//   sine N 1000 416..641 | 5578..6176 | 420..473,
//   sine N 1000000 146..232 | 94081 (one run) | 227..265.
// Then the mesh check at its floor (the overlap the area of the
// intersection, the whole outlines looked at only where the overlap is the
// largest yet) and the pitch tracks in double precision within their
// pieces: the ratios to 929491a, as bench/compare_builds.sh measures them
// (five rounds alternated on one core, median CPU ms, an otherwise idle
// machine; aims in brackets):
//   default 8.0 -> 9.1 (1.14) [1.15], z1 300 38.5 -> 41.8 (1.08) [1.25],
//   k 10 31.7 -> 33.4 (1.06) [1.25], k 100 287 -> 283 (0.99) [1.35],
//   polyline 45.5 -> 43.3 (0.95) [1.10], formula 222 -> 230 (1.03);
// and the /I of the hexagon of constant module at k 100, whose teeth
// interfere, against the ellipse's (least of two runs of five):
// 649..711 | 290..292 before, 301..311 | 211..283 after [within 1.5 times].
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>

#include "app/command_line.h"
#include "app/data_file.h"
#include "bench_program.h"
#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "drawing/quick_sheets.h"

namespace {

// One input and what follows it in the program: the calculation, then the
// result picture.
void CalculateAndRedraw() {
  calc::CalcNoncircularPair();
  drawing::RedrawCurrentView();
}

// A value of the semi-axis a of the default ellipse not met before.
Real FreshSemiAxis(int step) { return 60 + 1e-3L * (step % 5000); }

void Report(benchmark::State& state) {
  if (common::FatalFlag) state.SkipWithError("the calculation ended fatal");
}

// The ellipse with the given z1 and k, a edited at each step; the result
// picture quick sheet 3 (the default) or the diagrams (4).
void EllipseEdits(benchmark::State& state, int z1, int k, int resultGraphic) {
  benchprogram::DefaultDesign();
  calc::NcPair.z1 = z1;
  calc::NcPair.k = k;
  const std::int32_t graphic = common::ResultGraphic;
  common::ResultGraphic = resultGraphic;
  CalculateAndRedraw();
  int step = 0;
  for (auto _ : state) {
    calc::EllipseCurve.a = FreshSemiAxis(++step);
    CalculateAndRedraw();
  }
  Report(state);
  common::ResultGraphic = graphic;
}

void BM_DefaultEllipseEdit(benchmark::State& state) { EllipseEdits(state, 30, 1, 2); }
BENCHMARK(BM_DefaultEllipseEdit)->Unit(benchmark::kMillisecond);

void BM_Z1_300Edit(benchmark::State& state) { EllipseEdits(state, 300, 1, 2); }
BENCHMARK(BM_Z1_300Edit)->Unit(benchmark::kMillisecond);

void BM_K10Edit(benchmark::State& state) { EllipseEdits(state, 30, 10, 2); }
BENCHMARK(BM_K10Edit)->Unit(benchmark::kMillisecond);

void BM_K100Edit(benchmark::State& state) { EllipseEdits(state, 30, 100, 2); }
BENCHMARK(BM_K100Edit)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_K100EditDiagramView(benchmark::State& state) { EllipseEdits(state, 30, 100, 4); }
BENCHMARK(BM_K100EditDiagramView)->Unit(benchmark::kMillisecond)->Iterations(5);

// A polyline of 1000 points round the default ellipse, one point moved
// outwards by a fresh amount at each step.
void BM_Polyline1000PointMoved(benchmark::State& state) {
  benchprogram::DefaultDesign();
  calc::CurveType = calc::CurvePolyline;
  calc::LinearInterpolation = 1;
  calc::PolylineCount = 1000;
  for (int i = 1; i <= 1000; ++i) {
    const Real phi = (i - 1) * 2 * common::Pi / 1000, c = std::cos(phi) / 60, s = std::sin(phi) / 50;
    calc::PolylinePoints[i] = {phi, 1 / std::sqrt(c * c + s * s)};
  }
  const Real base = calc::PolylinePoints[300].R;
  CalculateAndRedraw();
  int step = 0;
  for (auto _ : state) {
    calc::PolylinePoints[300].R = base + 1e-4L * (++step % 5000);
    CalculateAndRedraw();
  }
  Report(state);
}
BENCHMARK(BM_Polyline1000PointMoved)->Unit(benchmark::kMillisecond);

// A formula of 100 sine terms about 50 mm, its first coefficient edited to
// a fresh value at each step.
void BM_Formula100TermsEdit(benchmark::State& state) {
  benchprogram::DefaultDesign();
  calc::CurveType = calc::CurveFormula;
  calc::PieceCount = 1;
  auto formula = [](int step) {
    std::string text = "50+" + std::to_string(0.02 + 1e-5 * (step % 1000)) + "*SIN(1*X)";
    for (int n = 2; n <= 100; ++n) text += "+0.02*SIN(" + std::to_string(n) + "*X)";
    return text;
  };
  calc::FormulaPieces[1] = {360, formula(0)};
  CalculateAndRedraw();
  int step = 0;
  for (auto _ : state) {
    calc::FormulaPieces[1].Formula = formula(++step);
    CalculateAndRedraw();
  }
  Report(state);
}
BENCHMARK(BM_Formula100TermsEdit)->Unit(benchmark::kMillisecond);

// A sine curve of N waves (1000 or a million) about 50 mm, amplitude 5 mm,
// its amplitude edited to a fresh value at each step.
void BM_SineManyWavesEdit(benchmark::State& state) {
  benchprogram::DefaultDesign();
  calc::CurveType = calc::CurveSine;
  calc::SineCurve = {50, 5, static_cast<std::int32_t>(state.range(0))};
  int step = 0;
  for (auto _ : state) {
    calc::SineCurve.A = 5 + 1e-4L * (++step % 1000);
    CalculateAndRedraw();
  }
  Report(state);
}
BENCHMARK(BM_SineManyWavesEdit)->ArgName("N")->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(2);

// "vob4 k100.vb4 /I": the design read and its whole text printout written,
// as the command line does after the program's start. Before each run,
// untimed, the default design is opened, as a fresh program holds it. The
// default ellipse, whose teeth mesh cleanly, and a hexagon of constant
// module, whose teeth interfere at most positions.
void BatchPrintoutK100(benchmark::State& state, bool hexagon) {
  benchprogram::DefaultDesign();
  calc::NcPair.k = 100;
  if (hexagon) {
    calc::CurveType = calc::CurvePolygon;
    calc::PolygonCurve.Corners = 6;
    calc::NcPair.ModuleMode = 2;
  }
  const std::string path = (std::filesystem::current_path() / (hexagon ? "hexagon100.vb4" : "k100.vb4")).string();
  app::SaveDataFile(path);
  if (common::AbortFlag) state.SkipWithError("the design could not be written");
  const app::CommandLine line = app::ParseCommandLine({path, "/I"});
  int code = 0;
  for (auto _ : state) {
    state.PauseTiming();
    benchprogram::DefaultDesign();
    state.ResumeTiming();
    std::ostringstream out, err;
    code = app::RunBatch(line, out, err, false);
  }
  if (code != app::ExitDone) state.SkipWithError("the printout failed");
}

void BM_BatchPrintoutK100(benchmark::State& state) { BatchPrintoutK100(state, false); }
BENCHMARK(BM_BatchPrintoutK100)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_BatchPrintoutHexagonK100(benchmark::State& state) { BatchPrintoutK100(state, true); }
BENCHMARK(BM_BatchPrintoutHexagonK100)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
