// Speed of the table engine on 100,000 records: appending them to a new
// table and reading them all back, and beside it the independent reader
// Python's dbfread reading the same table (the time of its read alone, the
// interpreter's start excluded). The engine aims at ten times dbfread's
// speed; a table opened shared (as the program opens its tables) is to be
// read in at most 0.2 times dbfread's time, which BM_SharedReadAgainstDbfread
// measures in one run and states in a closing note. Like dbfread, which
// decodes every field, and like the table window, which shows every field
// as text, the reads convert every field of every record to text. Run by hand:
// build/bench/dbase_table_bench.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "dbase/engine/dbf_native.h"
#include "dbase/engine/engine_settings.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/navigation.h"
#include "dbase/engine/record_changes.h"
#include "dbase/engine/work_areas.h"

namespace {

using namespace dbase;

constexpr int kRecords = 100000;

// Every field of the current record as text; the total length.
std::size_t RecordAsText() {
  std::size_t length = 0;
  const int count = FieldCount();
  for (int n = 1; n <= count; ++n) length += FieldAsString(n).size();
  return length;
}

std::filesystem::path Dir() {
  static const std::filesystem::path dir = [] {
    auto d = std::filesystem::temp_directory_path() / ("vob_dbase_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(d);
    return d;
  }();
  return dir;
}

std::string TablePath() { return (Dir() / "bench").string(); }

void StartEngine() {
  ErrorProc = [] {
    std::fprintf(stderr, "%s\n", LastErrorMessage().c_str());
    std::exit(1);
  };
  InitTzCommon();
  InitTzEngine();
  SetDateFormat(0);
}

// Creates the table with kRecords records of five fields.
void WriteTable() {
  CreateDbf(TablePath(), {{"NAME", 'C', 20, 0}, {"QTY", 'N', 8, 0}, {"PRICE", 'N', 12, 3}, {"BORN", 'D', 8, 0},
                          {"OK", 'L', 1, 0}});
  Use(TablePath() + " EXCLUSIVE");
  for (int i = 0; i < kRecords; ++i) {
    ClearRecord();
    PutNativeString(FieldAddress(1), 21, "Part " + std::to_string(i));
    PutNativeInt32(FieldAddress(2), i);
    PutNativeDouble(FieldAddress(3), i * 0.125);
    PutNativeString(FieldAddress(4), 11, "12/24/1999");
    FieldAddress(5)[0] = static_cast<std::uint8_t>(i & 1);
    Append();
  }
  Use("");
}

void BM_EngineAppend(benchmark::State& state) {
  StartEngine();
  for (auto _ : state) WriteTable();
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_EngineAppend)->Unit(benchmark::kMillisecond);

// Reads every record through the work-area commands: exclusive (records read
// ahead in blocks) or shared (each move looks for records other programs
// appended).
void ReadAll(benchmark::State& state, const std::string& option) {
  StartEngine();
  WriteTable();
  double sum = 0;
  for (auto _ : state) {
    Use(TablePath() + option);
    for (GoTop(); !dEOF(); Skip(1)) sum += static_cast<double>(RecordAsText());
    Use("");
  }
  benchmark::DoNotOptimize(sum);
  state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_EngineRead(benchmark::State& state) { ReadAll(state, " EXCLUSIVE"); }
BENCHMARK(BM_EngineRead)->Unit(benchmark::kMillisecond);

void BM_EngineReadShared(benchmark::State& state) { ReadAll(state, ""); }
BENCHMARK(BM_EngineReadShared)->Unit(benchmark::kMillisecond);

// dbfread's time for reading every record of the table (seconds), or a
// negative number when it did not read it.
double DbfreadSeconds() {
  const std::string script = (Dir() / "read.py").string();
  std::ofstream(script) << "import sys, time, dbfread\n"
                           "t0 = time.perf_counter()\n"
                           "n = sum(1 for r in dbfread.DBF(sys.argv[1]))\n"
                           "print(time.perf_counter() - t0, n)\n";
  const std::string command = "/usr/bin/python3 " + script + " " + TablePath() + ".dbf";
  FILE* pipe = ::popen(command.c_str(), "r");
  double seconds = 0;
  long count = 0;
  const bool read = pipe != nullptr && std::fscanf(pipe, "%lf %ld", &seconds, &count) == 2 && count == kRecords;
  if (pipe != nullptr) ::pclose(pipe);
  return read ? seconds : -1;
}

void BM_DbfreadRead(benchmark::State& state) {
  StartEngine();
  WriteTable();
  for (auto _ : state) {
    const double seconds = DbfreadSeconds();
    if (seconds < 0) {
      state.SkipWithError("dbfread did not read the table (python3-dbfread missing?)");
      break;
    }
    state.SetIterationTime(seconds);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_DbfreadRead)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// The shared read and dbfread's read of the same table, one after the other
// in each iteration; the counters hold both times (milliseconds, the best
// of the iterations) and their ratio.
void BM_SharedReadAgainstDbfread(benchmark::State& state) {
  StartEngine();
  WriteTable();
  double bestEngine = 1e9;
  double bestDbfread = 1e9;
  double sum = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    Use(TablePath());
    for (GoTop(); !dEOF(); Skip(1)) sum += static_cast<double>(RecordAsText());
    Use("");
    const double engine = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double dbfread = DbfreadSeconds();
    if (dbfread < 0) {
      state.SkipWithError("dbfread did not read the table (python3-dbfread missing?)");
      return;
    }
    bestEngine = std::min(bestEngine, engine);
    bestDbfread = std::min(bestDbfread, dbfread);
    state.SetIterationTime(engine);
  }
  benchmark::DoNotOptimize(sum);
  state.counters["engine_ms"] = bestEngine * 1000;
  state.counters["dbfread_ms"] = bestDbfread * 1000;
  state.counters["ratio"] = bestEngine / bestDbfread;
  std::fprintf(stderr, "Shared read of %d records: engine %.1f ms, dbfread %.1f ms, ratio %.3f (at most 0.2)\n",
               kRecords, bestEngine * 1000, bestDbfread * 1000, bestEngine / bestDbfread);
}
BENCHMARK(BM_SharedReadAgainstDbfread)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
