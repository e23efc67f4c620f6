// Speed of the index build on 1,000,000 records (a character key of 20
// bytes in shuffled order, so that the build sorts 123 runs and merges them)
// and, beside it, the time the independent reader Perl's XBase::Index needs
// to walk the finished index from its first key to its last (measured inside
// Perl, the interpreter's start excluded). Run by hand:
// build/bench/dbase_index_bench.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "dbase/engine/dbf_native.h"
#include "dbase/engine/engine_settings.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/record_changes.h"
#include "dbase/engine/work_areas.h"
#include "dbase/expr/expr_hooks.h"
#include "dbase/index/index_build.h"

namespace {

using namespace dbase;

constexpr int kRecords = 1000000;

// The scratch directory, removed when the program ends.
struct ScratchDir {
  std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("vob_index_bench_" + std::to_string(::getpid()));
  ScratchDir() { std::filesystem::create_directories(path); }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
};

const std::filesystem::path& Dir() {
  static const ScratchDir dir;
  return dir.path;
}

std::string TablePath() { return (Dir() / "parts").string(); }
std::string IndexPath() { return (Dir() / "parts.ndx").string(); }

void StartEngine() {
  ErrorProc = [] {
    std::fprintf(stderr, "%s\n", LastErrorMessage().c_str());
    std::exit(1);
  };
  InitTzCommon();
  InitTzEngine();
  InstallExprHooks();
  SetDateFormat(0);
}

// The table once per run: names in a shuffled order with repeats.
void EnsureTable() {
  static bool written = false;
  if (written) return;
  CreateDbf(TablePath(), {{"NAME", 'C', 20, 0}, {"QTY", 'N', 8, 0}});
  Use(TablePath() + " EXCLUSIVE");
  std::uint32_t seed = 4711;
  for (int i = 0; i < kRecords; ++i) {
    seed = seed * 1664525u + 1013904223u;
    ClearRecord();
    PutNativeString(FieldAddress(1), 21, "Part " + std::to_string(seed % 700000));
    PutNativeInt32(FieldAddress(2), i);
    Append();
  }
  Use("");
  written = true;
}

void BM_MakeIndex(benchmark::State& state) {
  StartEngine();
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
  StartEngine();
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
