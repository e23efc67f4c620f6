// Two programs appending to one shared table through datasets, with the
// dataset's default lock retries: each appends 300 records at the same time
// as the other, and not one record is lost or refused, run after run. The
// other programs are this test binary started again (fork and exec) with
// VOB_DATASET_WRITER set: each opens the table itself, waits for the start
// file and appends.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <set>
#include <sstream>
#include <thread>

#include "dbase/dataset/tz_file_dataset.h"
#include "dbase/dbase_test_support.h"
#include "dbase/engine/dbf_native.h"
#include "dbase/engine/navigation.h"

namespace {

constexpr const char* kWriterVariable = "VOB_DATASET_WRITER";
constexpr int kRecordsPerWriter = 300;

// The writer: "<table>|<tag>|<count>|<start file>|<retries>". Appends
// count records named tag + number through a dataset on the shared table
// once the start file exists, with the dataset's lock retries (or the
// given number of them); prints "refused=N" (the appends that raised).
int RunWriter(const std::string& job) {
  std::vector<std::string> parts;
  std::stringstream in(job);
  for (std::string part; std::getline(in, part, '|');) parts.push_back(part);
  // getline gives no empty last field.
  parts.resize(std::max<std::size_t>(parts.size(), 5));
  dbase::ErrorProc = [] { std::cerr << dbase::LastErrorMessage() << "\n"; };
  dbase::InitTzCommon();
  dbase::InitTzEngine();
  dbase::TTzDbf dbf("writer");
  dbf.SetDbfFileName(parts[0]);
  dbf.CreateIfNotFound = false;
  if (!parts[4].empty()) dbf.ChangeLockRetries = static_cast<std::uint8_t>(std::stoi(parts[4]));
  dbf.Open();
  std::cout << "ready" << std::endl;
  while (!std::filesystem::exists(parts[3])) std::this_thread::sleep_for(std::chrono::microseconds(100));
  int refused = 0;
  const int count = std::stoi(parts[2]);
  for (int i = 0; i < count; ++i) {
    try {
      dbf.Append();
      dbf.FieldByName("NAME").SetAsString(parts[1] + std::to_string(i));
      dbf.FieldByName("NO").SetAsInteger(i);
      dbf.Post();
    } catch (const dbase::EDatasetError& e) {
      ++refused;
      std::cerr << e.what() << "\n";
      dbf.Cancel();
    }
  }
  dbf.Close();
  dbase::ShutdownTzEngine();
  std::cout << "refused=" << refused << std::flush;
  return 0;
}

const bool kIsWriter = dbtest::RunAsSecondProgram(kWriterVariable, RunWriter);

struct Writer : dbtest::SelfProcess {
  explicit Writer(const std::string& job) : SelfProcess(kWriterVariable, job) {}
};

class TwoWritersTest : public dbtest::EngineTest {
 protected:
  // One run: a new table, two writers at once. Answers the appends that
  // raised, and counts the records that are missing or twice in the table.
  int Run(int run, int& missing) {
    const std::string table = Path("parts" + std::to_string(run) + ".dbf");
    const std::string go = Path("go" + std::to_string(run));
    EXPECT_TRUE(dbase::CreateDbf(table, {{"NAME", 'C', 12, 0}, {"NO", 'N', 5, 0}}));
    // VOB_TWO_WRITER_RETRIES sets the writers' lock retries (by hand: 0
    // shows what the runs lose without them).
    const char* retries = std::getenv("VOB_TWO_WRITER_RETRIES");
    const std::string tail = std::to_string(kRecordsPerWriter) + "|" + go + "|" + (retries ? retries : "");
    Writer a(table + "|A|" + tail);
    Writer b(table + "|B|" + tail);
    EXPECT_EQ(a.Line(), "ready");
    EXPECT_EQ(b.Line(), "ready");
    testsupport::Put(go, "");
    int refused = 0;
    for (Writer* w : {&a, &b}) {
      int code = -1;
      const std::string out = w->Finish(&code);
      // A writer that did not finish refused everything.
      const bool finished = code == 0 && out.rfind("refused=", 0) == 0;
      refused += finished ? std::atoi(out.substr(out.find('=') + 1).c_str()) : kRecordsPerWriter;
    }
    std::set<std::string> names;
    EXPECT_TRUE(dbase::Use(table));
    std::int64_t records = 0;
    for (dbase::GoTop(); !dbase::dEOF(); dbase::Skip(1), ++records) {
      names.insert(dbase::TzTrimRight(dbase::NativeString(dbase::FieldAddress(1))));
    }
    dbase::Use("");
    missing = 2 * kRecordsPerWriter - static_cast<int>(names.size()) +
              static_cast<int>(records - static_cast<std::int64_t>(names.size()));
    std::filesystem::remove(table);
    return refused;
  }
};

// The runs: VOB_TWO_WRITER_RUNS of them (default 320).
TEST_F(TwoWritersTest, AppendingAtOnceLosesNothingWithTheDefaults) {
  const char* asked = std::getenv("VOB_TWO_WRITER_RUNS");
  const int runs = asked != nullptr ? std::max(1, std::atoi(asked)) : 320;
  int refused = 0;
  int missing = 0;
  int failedRuns = 0;
  for (int run = 0; run < runs; ++run) {
    int lost = 0;
    const int r = Run(run, lost);
    refused += r;
    missing += lost;
    if (r != 0 || lost != 0) ++failedRuns;
  }
  EXPECT_EQ(failedRuns, 0) << failedRuns << " of " << runs << " runs failed: " << refused << " of "
                           << runs * 2 * kRecordsPerWriter << " appends refused, " << missing << " records lost";
  EXPECT_TRUE(reported_.empty()) << LastReport();
}

}  // namespace
