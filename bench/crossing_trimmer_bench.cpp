// The crossing trimmer (TrimCrossings) on an outline where one long segment
// meets many short ones, as a polyline design can draw it: a diagonal from
// (0, 0) to (1000, 1000), then short steps down the right side and back
// along the bottom, up through the diagonal near its start (the one
// crossing) and back to the start; 10,000 and 50,000 points. It is to stay
// near linear in the points, in time and memory. "peak_MiB" is the
// process's peak (getrusage) after the run: run one size per process for
// its own figure. One thread. Run by hand: build/bench/crossing_trimmer_bench.
//
// One run each, Release, against the former grid (a segment entered in
// every cell of its box, cells of twice the mean segment, every pair of a
// cell compared):
//   10,000 points   527 ms,   96 MiB -> 7-9 ms,   6 MiB
//   50,000 points  15.9 s, 1217 MiB -> 37-45 ms, 13 MiB
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include "drawing/outlines/simple_outline.h"

namespace {

drawing::TPenPolygon DiagonalAmongSteps(int points) {
  constexpr double L = 1000, c = 10;
  const double step = (2 * L - c) / points;
  drawing::TPenPolygon p;
  p.Add(0, 0, 1);
  for (double y = L; y > 0; y -= step) p.Add(L, y, 2);
  for (double x = L; x > c; x -= step) p.Add(x, 0, 2);
  p.Add(c, 0, 3);
  p.Add(c, 2 * c, 4);
  p.Add(0, 2 * c, 4);
  return p;
}

void BM_TrimDiagonalAmongSteps(benchmark::State& state) {
  const drawing::TPenPolygon outline = DiagonalAmongSteps(static_cast<int>(state.range(0)));
  int removed = 0;
  for (auto _ : state) {
    state.PauseTiming();
    drawing::TPenPolygon p = outline;
    state.ResumeTiming();
    removed = drawing::TrimCrossings(p);
    benchmark::DoNotOptimize(p.Size());
  }
  if (removed != 1) state.SkipWithError("the loop beyond the crossing was not taken out");
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["points"] = static_cast<double>(outline.Size());
  state.counters["peak_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_TrimDiagonalAmongSteps)->ArgName("points")->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

}  // namespace
