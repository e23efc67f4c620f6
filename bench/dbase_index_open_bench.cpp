// Speed of opening an index on a shared table of 100,000 and 1,000,000
// records (a character key of 20 bytes in shuffled order):
//   BM_DoubtfulOpen  the open of an index whose trailer gives reason to doubt
//                    it (zeroed, as other programs leave it): the open checks
//                    the tree against the table;
//   BM_NextOpen      the open after such a check, once it has passed;
//   BM_TrustedOpen   the open of an index the build has just written.
// Only the open (SET INDEX TO) is timed. Run by hand:
// build/bench/dbase_index_open_bench, or both programs alternately with
// bench/compare_builds.sh --bench dbase_index_open_bench --base <commit>.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "dbase/engine/dbf_native.h"
#include "dbase/engine/engine_settings.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/record_changes.h"
#include "dbase/engine/work_areas.h"
#include "dbase/expr/expr_hooks.h"
#include "dbase/index/index_build.h"
#include "dbase/index/index_commands.h"

namespace {

using namespace dbase;

// The scratch directory, removed when the program ends.
struct ScratchDir {
  std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("vob_index_open_bench_" + std::to_string(::getpid()));
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

void StartEngine() {
  static const bool started = [] {
    ErrorProc = [] {
      std::fprintf(stderr, "%s\n", LastErrorMessage().c_str());
      std::exit(1);
    };
    InitTzCommon();
    InitTzEngine();
    InstallExprHooks();
    IndexInit();
    SetDateFormat(0);
    return true;
  }();
  (void)started;
}

std::string TablePath(std::int64_t records) { return (Dir() / ("parts" + std::to_string(records) + ".dbf")).string(); }
std::string IndexPath(std::int64_t records) { return (Dir() / ("parts" + std::to_string(records) + ".ndx")).string(); }

// The table of that many records and its index, once per program.
void EnsureTable(std::int64_t records) {
  static std::map<std::int64_t, bool> written;
  if (written[records]) return;
  CreateDbf(TablePath(records), {{"NAME", 'C', 20, 0}, {"QTY", 'N', 8, 0}});
  Use(TablePath(records) + " EXCLUSIVE");
  std::uint32_t seed = 4711;
  for (std::int64_t i = 0; i < records; ++i) {
    seed = seed * 1664525u + 1013904223u;
    ClearRecord();
    PutNativeString(FieldAddress(1), 21, "Part " + std::to_string(seed % 700000));
    PutNativeInt32(FieldAddress(2), static_cast<std::int32_t>(i));
    Append();
  }
  MakeIndex(IndexPath(records), "NAME", nullptr, nullptr, {});
  Use("");
  written[records] = true;
}

// Zeroes the trailer, as another program leaves it.
void ZeroTrailer(std::int64_t records) {
  const int fd = ::open(IndexPath(records).c_str(), O_WRONLY | O_CLOEXEC);
  const char zeros[24] = {};
  if (fd < 0 || ::pwrite(fd, zeros, sizeof zeros, 488) != static_cast<ssize_t>(sizeof zeros)) std::abort();
  ::close(fd);
}

// One timed open of the index on the shared table.
void TimedOpen(benchmark::State& state, std::int64_t records) {
  Use(TablePath(records));
  state.ResumeTiming();
  Set_Index_To(IndexPath(records));
  state.PauseTiming();
  if (TzError != 0) state.SkipWithError("the index was refused");
  Use("");
}

void BM_DoubtfulOpen(benchmark::State& state) {
  StartEngine();
  const std::int64_t records = state.range(0);
  EnsureTable(records);
  for (auto _ : state) {
    state.PauseTiming();
    ZeroTrailer(records);
    TimedOpen(state, records);
    state.ResumeTiming();
  }
}

void BM_NextOpen(benchmark::State& state) {
  StartEngine();
  const std::int64_t records = state.range(0);
  EnsureTable(records);
  for (auto _ : state) {
    state.PauseTiming();
    ZeroTrailer(records);
    Use(TablePath(records));
    Set_Index_To(IndexPath(records));
    Use("");
    TimedOpen(state, records);
    state.ResumeTiming();
  }
}

void BM_TrustedOpen(benchmark::State& state) {
  StartEngine();
  const std::int64_t records = state.range(0);
  EnsureTable(records);
  for (auto _ : state) {
    state.PauseTiming();
    Use(TablePath(records) + " EXCLUSIVE");
    MakeIndex(IndexPath(records), "NAME", nullptr, nullptr, {});
    Use("");
    TimedOpen(state, records);
    state.ResumeTiming();
  }
}

BENCHMARK(BM_DoubtfulOpen)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DoubtfulOpen)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_NextOpen)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_TrustedOpen)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
