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
//   the same of the ellipse at z1 7 (a full list) aim 15 ms
//   the ellipse at four times its power, DIN      aim as the default
// and a sine curve of a million waves (no curve may make a calculation
// hang: its teeth cost no more than its pitch curve).
//
// Figures are thread CPU time (the machine may be loaded): read the CPU
// column. One thread. Run by hand: build/bench/input_response_bench;
// bench/compare_builds.sh builds this source against the program before
// the checks (929491a) and against this tree, runs them in turns on one
// core and gives each time and ratio with its spread. The source therefore
// uses only what both programs have.
//
// Measured that way (6 rounds in the order A B, B A, ..., each round's time
// the least of 3 repetitions; CPU ms as the median [least-most] of the
// rounds; the ratio this tree / 929491a, round by round), on a machine
// shared with other builds, with the animation's list given up as it goes
// and the mesh check by the module the teeth are cut with:
//                 929491a               this tree             ratio
//   default       9.8 [9.6-10.6]        10.1 [9.7-10.2]       1.03 [0.92-1.05]
//   z1 300        48.4 [47.2-50.3]      47.5 [46.7-51.3]      1.00 [0.96-1.06]
//   k 10          38.6 [38.2-41.1]      38.1 [37.5-38.6]      0.98 [0.93-1.01]
//   k 100         345 [333-369]         319 [312-330]         0.93 [0.87-0.96]
//   polyline      52.1 [50.5-53.5]      43.0 [42.4-44.1]      0.84 [0.79-0.87]
//   formula       230 [223-235]         227 [223-245]         1.00 [0.97-1.04]
// The same script with this build against itself (8 rounds) gave ratios
// of 0.99 to 1.01, every spread holding 1.00 (at the widest 0.97-1.12; on
// a busier machine 0.64-1.27): a ratio whose spread holds 1.00 is no
// difference it can tell.
// The rows 929491a does not run the same way, against 2dd42a1 (the build
// before the teeth were cut with the module of their height), 8 rounds as
// above on a quiet machine (the build against itself gave 0.96 to 1.02,
// with spreads as wide as 0.71-1.32 for the million waves):
//                 2dd42a1               this tree             ratio
//   default       13.0 [12.2-13.9]      13.2 [12.1-14.4]      1.01 [0.94-1.16]
//   overloaded    12.6 [11.9-13.7]      12.7 [12.1-17.3]      1.03 [0.93-1.46]
//   N 1e6, A 2    108.7 [101.2-145.8]   115.8 [111.8-185.0]   1.11 [0.95-1.27]
//   N 1e6, A 5    109.3 [97.7-124.0]    116.8 [101.9-132.0]   1.05 [0.98-1.22]
//   /I of z1 7    10.3 [9.2-12.0]       7.8 [7.0-11.5]        0.79 [0.69-1.02]
// and their instructions (callgrind, the same inputs; millions,
// 2dd42a1 / this tree): a calculation of the default 22.10 / 22.64, of the
// overloaded design 22.33 / 23.01, of the sine of a million waves (A 2)
// 223.8 / 226.1; the five /I runs of z1 7 227.6 / 179.6.
// Earlier figures, with the changes they measured, are in this file's
// history.
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
#include "calc/spur_gear_data.h"
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
// picture quick sheet 3 (the default) or the diagrams (4). setUp changes
// the design before the first calculation.
void EllipseEdits(benchmark::State& state, int z1, int k, int resultGraphic, void (*setUp)() = nullptr) {
  benchprogram::DefaultDesign();
  calc::NcPair.z1 = z1;
  calc::NcPair.k = k;
  if (setUp) setUp();
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

// The default ellipse rated by DIN 3990 at four times its power (its
// drive torque too): the flanks' safety falls to 0.78, below the end of
// their life lines, at every position.
void BM_OverloadedDinEdit(benchmark::State& state) {
  EllipseEdits(state, 30, 1, 2, [] {
    auto& g = calc::SpurGearData;
    g.CalcMethod = 1;
    g.P *= 4;
    g.T[1] *= 4;
  });
  state.counters["SHmin"] = static_cast<double>(calc::SafetyExtremes.SHmin[1]);
}
BENCHMARK(BM_OverloadedDinEdit)->Unit(benchmark::kMillisecond);

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

// A sine curve of N waves (1000 or a million) about 50 mm, amplitude A mm
// (5, and 2, where the teeth fold along the waves' flanks less), its
// amplitude edited to a fresh value at each step.
void BM_SineManyWavesEdit(benchmark::State& state) {
  benchprogram::DefaultDesign();
  calc::CurveType = calc::CurveSine;
  const Real amplitude = static_cast<Real>(state.range(1));
  calc::SineCurve = {50, amplitude, static_cast<std::int32_t>(state.range(0))};
  int step = 0;
  for (auto _ : state) {
    calc::SineCurve.A = amplitude + 1e-4L * (++step % 1000);
    CalculateAndRedraw();
  }
  Report(state);
}
BENCHMARK(BM_SineManyWavesEdit)
    ->ArgNames({"N", "A"})
    ->Args({1000, 5})
    ->Args({1000000, 5})
    ->Args({1000000, 2})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

// "vob4 k100.vb4 /I": the design read and its whole text printout written,
// as the command line does after the program's start. Before each run,
// untimed, the default design is opened, as a fresh program holds it. The
// default ellipse, whose teeth mesh cleanly, and a hexagon of constant
// module, whose teeth interfere at most positions; and the default ellipse
// at z1 7, whose list is full (each of its messages printed with its
// explanation).
void BatchPrintout(benchmark::State& state, const char* name, void (*setUp)()) {
  benchprogram::DefaultDesign();
  setUp();
  const std::string path = (std::filesystem::current_path() / name).string();
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

void BM_BatchPrintoutK100(benchmark::State& state) {
  BatchPrintout(state, "k100.vb4", [] { calc::NcPair.k = 100; });
}
BENCHMARK(BM_BatchPrintoutK100)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_BatchPrintoutHexagonK100(benchmark::State& state) {
  BatchPrintout(state, "hexagon100.vb4", [] {
    calc::NcPair.k = 100;
    calc::CurveType = calc::CurvePolygon;
    calc::PolygonCurve.Corners = 6;
    calc::NcPair.ModuleMode = 2;
  });
}
BENCHMARK(BM_BatchPrintoutHexagonK100)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_BatchPrintoutFullList(benchmark::State& state) {
  BatchPrintout(state, "z7.vb4", [] { calc::NcPair.z1 = 7; });
}
BENCHMARK(BM_BatchPrintoutFullList)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
