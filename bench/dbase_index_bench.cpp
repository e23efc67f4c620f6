// Speed of the index build on 1,000,000 records (a character key of 20
// bytes in shuffled order, so that the build sorts 123 runs and merges them)
// and, beside it, the time the independent reader Perl's XBase::Index needs
// to walk the finished index from its first key to its last (measured inside
// Perl, the interpreter's start excluded). Run by hand:
// build/bench/dbase_index_bench.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "dbase/engine/work_areas.h"
#include "dbase/index/index_build.h"
#include "dbase_bench.h"

namespace {

using namespace dbase;

constexpr int kRecords = 1000000;

const std::filesystem::path& Dir() { return dbasebench::Dir("vob_index_bench"); }

std::string TablePath() { return (Dir() / "parts").string(); }
std::string IndexPath() { return (Dir() / "parts.ndx").string(); }

// The table once per run.
void EnsureTable() {
  static bool written = false;
  if (written) return;
  dbasebench::WritePartsTable(TablePath(), kRecords);
  written = true;
}

void BM_MakeIndex(benchmark::State& state) {
  dbasebench::StartEngine();
  EnsureTable();
  Use(TablePath() + " EXCLUSIVE");
  for (auto _ : state) {
    if (!MakeIndex(IndexPath(), "NAME", nullptr, nullptr, {})) state.SkipWithError("build failed");
  }
  Use("");
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_MakeIndex)->Unit(benchmark::kMillisecond)->Iterations(3);

// Perl's XBase::Index walking every key of the index built above.
void BM_XBaseIndexWalk(benchmark::State& state) {
  dbasebench::StartEngine();
  EnsureTable();
  if (!std::filesystem::exists(IndexPath())) {
    Use(TablePath() + " EXCLUSIVE");
    MakeIndex(IndexPath(), "NAME", nullptr, nullptr, {});
    Use("");
  }
  const std::string script = (Dir() / "walk.pl").string();
  std::ofstream(script) << "use XBase::Index; use Time::HiRes qw(time);\n"
                           "my $t = time; my $i = XBase::Index->new($ARGV[0]) or die;\n"
                           "$i->prepare_select; my $n = 0; $n++ while $i->fetch;\n"
                           "printf(\"%d %.6f\\n\", $n, time - $t);\n";
  for (auto _ : state) {
    FILE* pipe = ::popen(("perl " + script + " " + IndexPath()).c_str(), "r");
    long keys = 0;
    double seconds = 0;
    if (pipe == nullptr || std::fscanf(pipe, "%ld %lf", &keys, &seconds) != 2 || keys != kRecords) {
      state.SkipWithError("XBase::Index did not walk the index");
    }
    if (pipe != nullptr) ::pclose(pipe);
    state.SetIterationTime(seconds);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_XBaseIndexWalk)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

}  // namespace
