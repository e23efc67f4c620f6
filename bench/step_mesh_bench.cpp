// What a user who meshes the program's STEP file of a gear for a finite
// element analysis waits for: gear 1 and gear 2 of the shipped default
// design, each written as STEP (as /CAD7:1 and /CAD7:2 write it), then
// meshed into tetrahedra by Debian's netgen in its batch mode with the
// largest element 1.8 mm (-meshsize=1.8) and its other settings as they
// come. The time is netgen's whole run (wall clock, its start included);
// "elements" counts the volume elements of the mesh it saved, "peak_MiB"
// its largest resident set. Takes minutes: run it by hand, e.g.
//   build/bench/step_mesh_bench
// Needs /usr/bin/netgen (build.sh installs it).
//
// With a plane side between every two corners of the outline (sides down
// to 0.009 mm wide across the face width of 20 mm), netgen graded its
// elements down to the narrowest side and ended with bad_alloc after
// 413 s at 4 GB on gear 1; with the short sides merged (none below
// 0.02 mm) it still ran out after 9.5 minutes at 5 GB. With the smooth
// stretches as a few cubic curves each (no side narrower than 0.27 mm on
// gear 1, 0.08 mm on gear 2 between two corners), one run each, Release,
// on a machine shared with other builds:
//   gear 1   88 s   486,000 elements   peak 620 MiB
//   gear 2  102 s   560,000 elements   peak 668 MiB
//
// Each gear of the reference designs (tests/drawing/reference_designs.h)
// is meshed too, with netgen's defaults (no size given), e.g.
//   build/bench/step_mesh_bench --benchmark_filter=Reference
// With the outline's needles and tiny sides taken out (one run each,
// Release, a machine shared with other builds): all 30 gears meshed, in
// 6-257 s, 35,000 (few teeth) to 1,000,000 elements (the octagon's gear 1,
// z1 100). Before, netgen made 0 elements of both gears of the polyline of
// 360 points, aborted on gear 2 of the one of 1000 points, and was still
// meshing after 300 s the octagon's gear 1 (a side of 0.18 um) and the
// gears of 11 and 12 teeth with their sub-micrometre sides. The gears of
// module 0.037 mm (0.2 mm wide), their outline kept within a thousandth
// of the module: 25 s and 21 s, 90,000 and 85,000 elements.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench_program.h"
#include "calc/noncircular_pair.h"
#include "common/cad_settings.h"
#include "common/design_documentation.h"
#include "common/kaldvar.h"
#include "drawing/cad/cad_device.h"
#include "drawing/gear_pictures.h"
#include "drawing/reference_designs.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* Netgen = "/usr/bin/netgen";

// The folder of links under the unversioned library names that netgen's
// script loads and only the development package links (libgui.so).
std::string LibraryLinks(const std::string& dir) {
  const std::string links = dir + "/netgen-libraries";
  fs::create_directories(links);
  for (const auto& entry : fs::directory_iterator("/usr/lib/x86_64-linux-gnu/netgen")) {
    const std::string name = entry.path().filename().string();
    const auto so = name.find(".so.");
    if (so == std::string::npos) continue;
    const fs::path link = links + "/" + name.substr(0, so + 3);
    if (!fs::exists(link)) fs::create_symlink(entry.path(), link);
  }
  return links;
}

// The number after the line `section` of a netgen mesh file (-1: none).
long SectionCount(const std::string& file, const std::string& section) {
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line))
    if (line == section) {
      long n = -1;
      in >> n;
      return n;
    }
  return -1;
}

// Writes gear 1 or 2 of the design in force as STEP, named after the
// design (CurrentFileName) in the benchmark's own directory, as the
// command line names it (no question); the file's name, empty when none
// was written.
std::string WriteStepGear(int gear) {
  common::MessagesEnabled = 0;
  common::CadBatchNaming = true;
  drawing::DrawGears(static_cast<std::uint16_t>(gear), drawing::CadDeviceStep);
  common::CadBatchNaming = false;
  common::MessagesEnabled = 1;
  return common::AbortFlag ? std::string() : common::CadSettings.CadFileName;
}

// Meshes the STEP file by netgen in each round (meshSize 0: netgen's own
// default), with the elements and netgen's peak as counters.
void MeshStepFile(benchmark::State& state, const std::string& file, const std::string& meshSize) {
  if (file.empty()) {
    state.SkipWithError("the file could not be written");
    return;
  }
  const std::string dir = fs::current_path().string();
  const std::string links = LibraryLinks(dir);
  long elements = -1;
  for (auto _ : state) {
    fs::remove(dir + "/gear.vol");
    const auto start = std::chrono::steady_clock::now();
    const int status =
        std::system(("cd '" + dir + "' && LD_LIBRARY_PATH='" + links + "' timeout 1800 " + Netgen +
                     " -batchmode -geofile='" + file + "' -meshfile=gear.vol" +
                     (meshSize.empty() ? "" : " -meshsize=" + meshSize) + " >netgen.log 2>&1")
                        .c_str());
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    elements = SectionCount(dir + "/gear.vol", "volumeelements");
    if (status != 0 || elements <= 0) state.SkipWithError("netgen made no mesh (see netgen.log)");
  }
  rusage children{};
  getrusage(RUSAGE_CHILDREN, &children);
  state.counters["elements"] = static_cast<double>(elements);
  state.counters["peak_MiB"] = static_cast<double>(children.ru_maxrss) / 1024.0;
}

void BM_StepMeshGear(benchmark::State& state) {
  if (!fs::exists(Netgen)) {
    state.SkipWithError("netgen is not installed");
    return;
  }
  benchprogram::DefaultDesign();
  MeshStepFile(state, WriteStepGear(static_cast<int>(state.range(0))), "1.8");
}
BENCHMARK(BM_StepMeshGear)
    ->ArgName("gear")
    ->Arg(1)
    ->Arg(2)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

// Each gear of the reference designs with netgen's defaults.
void BM_StepMeshReferenceGear(benchmark::State& state, const drawingtest::TReferenceDesign& design, int gear) {
  if (!fs::exists(Netgen)) {
    state.SkipWithError("netgen is not installed");
    return;
  }
  benchprogram::Start();
  drawingtest::SetReferenceDesign(design);
  calc::CalcNoncircularPair();
  if (common::FatalFlag) {
    state.SkipWithError("the calculation ended fatal");
    return;
  }
  common::CurrentFileName = design.Name;
  MeshStepFile(state, WriteStepGear(gear), "");
}

const bool ReferenceGearsRegistered = [] {
  for (const drawingtest::TReferenceDesign& design : drawingtest::ReferenceDesigns())
    for (const int gear : {1, 2})
      benchmark::RegisterBenchmark(("BM_StepMeshReferenceGear/" + design.Name + "/gear:" + std::to_string(gear)).c_str(),
                                   BM_StepMeshReferenceGear, design, gear)
          ->Iterations(1)
          ->UseManualTime()
          ->Unit(benchmark::kSecond);
  return true;
}();

}  // namespace
