// Opening a large design in the window: the data file read, the pair
// calculated and its first picture (RedrawCurrentView) drawn into the
// display list. The design is the shipped default one with gear 1 turning
// 100 times per turn of gear 2 (z2 = 3000). Each run is a first opening:
// before it, untimed, the default design (k = 1) is opened and drawn, as
// the program holds it after its start, so that nothing kept of the large
// design (its closing, pitch tracks and outlines) serves the opening.
// Aims: 0.5 s, and a peak resident memory of the whole program of 80 MiB at
// most. The peak is the process's (getrusage), so this benchmark runs in a
// program of its own; "start_MiB" is the program's before the first
// opening. One thread. Run by hand: build/bench/design_open_bench.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "app/data_file.h"
#include "bench_program.h"
#include "calc/calc_records.h"
#include "common/graphics_window.h"
#include "common/kaldvar.h"
#include "drawing/quick_sheets.h"

namespace {

void BM_OpenDesignK100(benchmark::State& state) {
  benchprogram::DefaultDesign();
  calc::NcPair.k = 100;
  const std::string path = (std::filesystem::current_path() / "k100.vb4").string();
  app::SaveDataFile(path);
  if (common::AbortFlag) state.SkipWithError("the design could not be written");
  benchprogram::DefaultDesign();
  const double start = benchprogram::PeakResidentMiB();
  for (auto _ : state) {
    state.PauseTiming();
    benchprogram::DefaultDesign();
    drawing::RedrawCurrentView();
    state.ResumeTiming();
    app::ReadDataFile(path);
    drawing::RedrawCurrentView();
  }
  if (common::FatalFlag || calc::NcPair.k != 100) state.SkipWithError("the design did not open");
  state.counters["start_MiB"] = start;
  state.counters["peak_MiB"] = benchprogram::PeakResidentMiB();
  state.counters["records"] = static_cast<double>(common::DisplayList.size());
}
BENCHMARK(BM_OpenDesignK100)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
