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

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "dbase/engine/error_codes.h"
#include "dbase/engine/work_areas.h"
#include "dbase/index/index_build.h"
#include "dbase/index/index_commands.h"
#include "dbase_bench.h"

namespace {

using namespace dbase;

const std::filesystem::path& Dir() { return dbasebench::Dir("vob_index_open_bench"); }

std::string TablePath(std::int64_t records) { return (Dir() / ("parts" + std::to_string(records) + ".dbf")).string(); }
std::string IndexPath(std::int64_t records) { return (Dir() / ("parts" + std::to_string(records) + ".ndx")).string(); }

// The table of that many records and its index, once per program.
void EnsureTable(std::int64_t records) {
  static std::map<std::int64_t, bool> written;
  if (written[records]) return;
  dbasebench::WritePartsTable(TablePath(records), records);
  Use(TablePath(records) + " EXCLUSIVE");
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

// The timed open after an untimed step that leaves the index as the
// benchmark wants it.
void OpenAfter(benchmark::State& state, const std::function<void(std::int64_t records)>& prepare) {
  dbasebench::StartEngine();
  const std::int64_t records = state.range(0);
  EnsureTable(records);
  for (auto _ : state) {
    state.PauseTiming();
    prepare(records);
    TimedOpen(state, records);
    state.ResumeTiming();
  }
}

void BM_DoubtfulOpen(benchmark::State& state) { OpenAfter(state, ZeroTrailer); }

void BM_NextOpen(benchmark::State& state) {
  OpenAfter(state, [](std::int64_t records) {
    ZeroTrailer(records);
    Use(TablePath(records));
    Set_Index_To(IndexPath(records));
    Use("");
  });
}

void BM_TrustedOpen(benchmark::State& state) {
  OpenAfter(state, [](std::int64_t records) {
    Use(TablePath(records) + " EXCLUSIVE");
    MakeIndex(IndexPath(records), "NAME", nullptr, nullptr, {});
    Use("");
  });
}

BENCHMARK(BM_DoubtfulOpen)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DoubtfulOpen)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_NextOpen)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_TrustedOpen)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
