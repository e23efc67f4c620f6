// What a user of another program waits for when opening the program's STEP
// file of a gear: gear 2 of the shipped default design with k = 10 and
// z1 = 3, 30 and 300, so 30, 300 and 3000 teeth, written once, then read by
// OpenCASCADE's STEP reader in its command interpreter (occt-draw) with its
// default settings, checked (checkshape) and measured (vprops, the default
// integration), as a CAD program does when it opens a part. The time is
// the interpreter's whole run (wall clock), its start included; "faces"
// counts the solid's faces. Needs /usr/bin/occt-draw, e.g.
//   build/bench/step_read_bench --benchmark_filter='/300'
//
// Before, with each cap one wire round all the teeth: a side face per
// segment took readers 4 s for 30 teeth and more than half an hour for
// 300; a B-spline side per flank, 3000 teeth did not open in an hour (the
// reader's repair of the cap's wire). With the caps cut into sectors and a
// plane side between every two corners, one run each, Release, on a machine
// shared with other builds and tests (the figures vary with its load):
//   30 teeth    1,312 faces   2.1 s
//   300 teeth  13,124 faces  24-68 s
//   3000 teeth 131,250 faces  268 s
// The same faces written as the program's own entities (some 22 a side
// face, where the translator wrote 31; step_entities.h), one run each, the
// machine quieter:
//   30 teeth    1,312 faces   2.4 s   (1.3 s read, 0.4 s check)
//   300 teeth  13,124 faces  20.9 s   (14.5 s read, 4.5 s check, 0.6 s volume)
//   1000 teeth 43,750 faces   ~70 s   (48-54 s read, 18-19 s check, 2.5-3 s volume)
//   3000 teeth 131,250 faces  224 s
// With the smooth stretches of the outline as a few cubic curves each, the
// side over each a B-spline surface of one span (step_smooth_runs.h), one
// run each:
//   30 teeth       972 faces   1.8 s
//   300 teeth    1,754 faces   3.0 s
//   3000 teeth  17,410 faces  26.8 s
// What the reader takes is its own work on each face: some 1.1-1.2 ms to
// translate and repair it (mostly its healing of each wire, which projects
// every edge onto the face's plane again and again, pcurves in the file or
// not), 0.4 ms to check it. The translator's file of the same faces read
// as fast (13.6 s read, 5.0 s check for 300 teeth), a star of as many
// plane sides as fast as a gear, and caps of 12 or 24 sides a sector
// instead of 48 changed the sum by less than the runs vary.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <string>

#include "support/occt_draw.h"
#include "bench_program.h"
#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "common/design_documentation.h"
#include "common/kaldvar.h"
#include "drawing/cad/cad_device.h"
#include "drawing/gear_pictures.h"

namespace {

void BM_StepReadGear2(benchmark::State& state) {
  if (!testsupport::OcctDrawPresent()) {
    state.SkipWithError("occt-draw is not installed");
    return;
  }
  const int teeth = static_cast<int>(state.range(0));
  benchprogram::DefaultDesign();
  calc::NcPair.k = 10;
  calc::NcPair.z1 = teeth / 10;
  calc::CalcNoncircularPair();
  if (common::FatalFlag) state.SkipWithError("the calculation ended fatal");
  // Named after the design (null.stp in the benchmark's own directory), as
  // the command line names it; no question.
  common::MessagesEnabled = 0;
  common::CadBatchNaming = true;
  drawing::DrawGears(2, drawing::CadDeviceStep);
  common::CadBatchNaming = false;
  common::MessagesEnabled = 1;
  if (common::AbortFlag) state.SkipWithError("the file could not be written");
  const std::string dir = std::filesystem::current_path().string();
  const std::string file = dir + "/null.stp";
  int faces = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const testsupport::StepShape shape = testsupport::ReadStepShape(dir, file, false);
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (shape.solids != 1 || !shape.valid || !(shape.volume > 0)) state.SkipWithError("no valid solid was read");
    faces = shape.faces;
  }
  state.counters["faces"] = faces;
  state.counters["MB"] = static_cast<double>(std::filesystem::file_size(file)) / 1e6;
  // The file (hundreds of megabytes at 3000 teeth) and the interpreter's
  // script and links go.
  std::filesystem::remove(file);
  std::filesystem::remove(dir + "/read.tcl");
  std::filesystem::remove_all(dir + "/occt");
}
BENCHMARK(BM_StepReadGear2)
    ->ArgName("teeth")
    ->Arg(30)
    ->Arg(300)
    ->Arg(3000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace
