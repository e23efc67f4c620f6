// What the user waits for after an input: the calculation of the pair and
// the result picture (RedrawCurrentView, quick sheet 3 of the default
// configuration) drawn into the display list of the main window, on the
// shipped default design (ellipse, z1 30, k 1) and on a formula curve of 100
// terms. The input of each step changes what the benchmark names, so that
// nothing of the previous step can stand for it:
//   - "an input": z1 between 30 and 31 (the teeth change, the curve not);
//   - "a material edit": the pitting endurance limit of gear 1;
//   - "a formula edit": a coefficient of the formula curve between two
//     values (the curve changes: its closing, tracks and outlines are made
//     afresh);
// and the calculation alone, with and without a picture before each run (a
// picture must not make the next calculation slower). Aims: a redraw after
// an input 30 ms, after a material edit 10 ms, the formula curve's 300 ms.
// After every calculation the program checks the teeth of the pair (their
// outlines, whether the curve can carry them and whether they mesh, kept
// with the outlines), so a calculation after an input that changes the
// teeth builds what the picture then draws. Measured with
// bench/compare_builds.sh --bench redraw_bench (6 rounds in turns with the
// build before the display list gave up erased pictures, each round's
// time the least of 3 repetitions; CPU ms, median [least-most] of the
// rounds), a machine shared with other builds: after an input 10.1
// [9.6-13.1], after a material edit 4.4 [3.8-4.8] (the picture alone 1.8
// [1.7-2.1]), the formula curve's 228 [221-244]; the calculation alone
// 8.6 [7.8-10.9], after a picture 2.7 [2.6-2.8]; the outlines after an
// input 3.7 [3.4-5.1]. Every ratio to the build before held 1.00 within
// its spread.
// One thread. Run by hand: build/bench/redraw_bench. Opening a large design
// is timed in design_open_bench (its own process, for its peak memory).
#include <benchmark/benchmark.h>

#include <string>

#include "bench_program.h"
#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "calc/pair_checks.h"
#include "calc/spur_gear_data.h"
#include "common/graphics_window.h"
#include "common/kaldvar.h"
#include "drawing/quick_sheets.h"
#include "drawing/outlines/tooth_contour.h"
#include "drawing/outlines/tooth_warnings.h"

namespace {

// One input and what follows it in the program: the calculation, then the
// result picture.
void CalculateAndRedraw() {
  calc::CalcNoncircularPair();
  drawing::RedrawCurrentView();
}

// z1 between 30 and 31 (the teeth of both gears change).
void ToggleToothNumber(int step) { calc::NcPair.z1 = step % 2 == 0 ? 30 : 31; }

// The pitting endurance limit of gear 1 between two values.
void ToggleMaterial(int step, Real base) { calc::SpurGearData.SigmaHlim[1] = base + (step % 2 == 0 ? 0 : 10); }

void Report(benchmark::State& state) {
  if (common::FatalFlag) state.SkipWithError("the calculation ended fatal");
  state.counters["records"] = static_cast<double>(common::DisplayList.size());
}

void BM_QuickSheetAfterInput(benchmark::State& state) {
  benchprogram::DefaultDesign();
  int step = 0;
  for (auto _ : state) {
    ToggleToothNumber(++step);
    CalculateAndRedraw();
  }
  Report(state);
}
BENCHMARK(BM_QuickSheetAfterInput)->Unit(benchmark::kMillisecond);

void BM_MaterialEditRedraw(benchmark::State& state) {
  benchprogram::DefaultDesign();
  const Real base = calc::SpurGearData.SigmaHlim[1];
  int step = 0;
  for (auto _ : state) {
    ToggleMaterial(++step, base);
    CalculateAndRedraw();
  }
  calc::SpurGearData.SigmaHlim[1] = base;
  Report(state);
}
BENCHMARK(BM_MaterialEditRedraw)->Unit(benchmark::kMillisecond);

// The picture alone after a material edit (the calculation untimed).
void BM_MaterialEditPictureOnly(benchmark::State& state) {
  benchprogram::DefaultDesign();
  const Real base = calc::SpurGearData.SigmaHlim[1];
  int step = 0;
  for (auto _ : state) {
    state.PauseTiming();
    ToggleMaterial(++step, base);
    calc::CalcNoncircularPair();
    state.ResumeTiming();
    drawing::RedrawCurrentView();
  }
  calc::SpurGearData.SigmaHlim[1] = base;
  Report(state);
}
BENCHMARK(BM_MaterialEditPictureOnly)->Unit(benchmark::kMillisecond);

// A formula curve of 100 sine terms about a radius of 50 mm, the first
// term's coefficient as given.
std::string Formula(const std::string& first) {
  std::string formula = "50+" + first + "*SIN(1*X)";
  for (int n = 2; n <= 100; ++n) formula += "+0.02*SIN(" + std::to_string(n) + "*X)";
  return formula;
}

void FormulaDesign() {
  benchprogram::DefaultDesign();
  calc::CurveType = calc::CurveFormula;
  calc::PieceCount = 1;
  calc::FormulaPieces[1] = {360, Formula("0.02")};
}

// The user edits the formula: the first coefficient between 0.02 and 0.03.
void BM_FormulaRedrawAfterFormulaEdit(benchmark::State& state) {
  FormulaDesign();
  int step = 0;
  for (auto _ : state) {
    calc::FormulaPieces[1].Formula = Formula(++step % 2 == 0 ? "0.02" : "0.03");
    CalculateAndRedraw();
  }
  Report(state);
}
BENCHMARK(BM_FormulaRedrawAfterFormulaEdit)->Unit(benchmark::kMillisecond);


// The calculation alone (arg 0), and with the result picture of each input
// drawn, untimed, before it (arg 1).
void BM_CalculationAfterPicture(benchmark::State& state) {
  benchprogram::DefaultDesign();
  const bool picture = state.range(0) != 0;
  int step = 0;
  for (auto _ : state) {
    state.PauseTiming();
    ToggleToothNumber(++step);
    if (picture) CalculateAndRedraw();
    state.ResumeTiming();
    calc::CalcNoncircularPair();
  }
  Report(state);
}
BENCHMARK(BM_CalculationAfterPicture)->ArgName("picture")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The tooth outlines of both gears alone (the pitch-curve track under the
// teeth and the flanks), for an input that changes the teeth. The
// calculation before, untimed, leaves out its check of the teeth, which
// would build them.
void BM_GearOutlinesAfterInput(benchmark::State& state) {
  benchprogram::DefaultDesign();
  calc::InstallPairCheck(nullptr);
  int step = 0;
  for (auto _ : state) {
    state.PauseTiming();
    ToggleToothNumber(++step);
    calc::CalcNoncircularPair();
    state.ResumeTiming();
    benchmark::DoNotOptimize(drawing::GearContour(1).size());
    benchmark::DoNotOptimize(drawing::GearContour(2).size());
  }
  drawing::InstallToothWarnings();
  Report(state);
}
BENCHMARK(BM_GearOutlinesAfterInput)->Unit(benchmark::kMillisecond);

}  // namespace
