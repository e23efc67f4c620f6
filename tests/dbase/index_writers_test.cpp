// Several programs writing one shared table with two indexes, in four
// mixes, each ended by the open that comes next:
//   Writers       every program appends records and, every fifth append,
//                 orders the table by the other index alone, finds one of
//                 its records there, changes the value that index is built
//                 on, and opens both indexes again (as table-window users
//                 do);
//   WithoutIndex  half of them append with no index open while the other
//                 half hold both indexes, and then edit records with them;
//   Killed        every program changes indexed fields in a loop and is
//                 killed (SIGKILL) at a random moment;
//   Rebuilt       one program rebuilds the indexes (REINDEX, INDEX ON) while
//                 the others append as in the first mix.
// Whatever the mix, an index the next open accepts lists what a fresh
// build of the table lists, as Perl's XBase::Index reads both; in the
// first and the last mix every index is accepted and no change was refused
// as index damage; no writer that ended by itself was told of any error
// but a lock another program held. The other programs are this test binary started again with
// VOB_INDEX_WRITER set. VOB_INDEX_WRITER_RUNS, VOB_INDEX_WRITERS and
// VOB_INDEX_WRITER_RECORDS run more of them by hand, such as 100 runs of 2
// writers with 300 records each, or 30 kills:
//   VOB_INDEX_WRITER_RUNS=100 VOB_INDEX_WRITERS=2 VOB_INDEX_WRITER_RECORDS=300
//   build/tests/dbase_index_writers_test
//   VOB_INDEX_WRITER_RUNS=30 build/tests/dbase_index_writers_test --gtest_filter='*Killed*'
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <random>
#include <sstream>
#include <thread>

#include "dbase/dataset/tz_file_dataset.h"
#include "dbase/dbase_test_support.h"
#include "dbase/engine/dbf_native.h"
#include "dbase/engine/navigation.h"
#include "dbase/expr/expr_hooks.h"
#include "dbase/index/index_commands.h"
#include "dbase/index_readers.h"

namespace {

constexpr const char* kWriterVariable = "VOB_INDEX_WRITER";
// Records of the table before the programs start.
constexpr int kFirstRecords = 20;

void WaitFor(const std::string& file) {
  while (!std::filesystem::exists(file)) std::this_thread::sleep_for(std::chrono::microseconds(100));
}

// A second program: "<table dir>|<role>|<tag>|<count>|<start file>[|<edit
// file>]". Roles: I appends count records NAME = tag + number, QTY = its
// own number, and after every fifth orders by QTY alone, finds the record
// it appended last, moves its QTY by 0.5 and opens both indexes again; P
// appends the same with no index open; E holds both indexes and, once the
// edit file is there, gives count records of the first ones a new NAME and
// QTY, one after another; R rebuilds both indexes count / 10 times, by
// REINDEX and by INDEX ON in turn. Prints "told=N refused=M other=K": the
// errors it was told of, those among them that called an index damaged
// (222), and those that were not a lock another program held.
int RunWriter(const std::string& job) {
  std::vector<std::string> parts;
  std::stringstream in(job);
  for (std::string part; std::getline(in, part, '|');) parts.push_back(part);
  if (parts.size() < 5) return 2;
  const char role = parts[1][0];
  const std::string& tag = parts[2];
  const int count = std::stoi(parts[3]);
  int told = 0;
  int refused = 0;
  int other = 0;
  const auto tell = [&](const std::string& text) {
    ++told;
    if (dbase::TzError == 222) ++refused;
    if (dbase::TzError != 1200 && dbase::TzError != 1201) ++other;
    std::cerr << text << "\n";
  };
  dbase::ErrorProc = [&] { tell(dbase::LastErrorMessage()); };
  dbase::InitTzCommon();
  dbase::InitTzEngine();
  dbase::InstallExprHooks();
  dbase::IndexInit();
  std::filesystem::current_path(parts[0]);
  const auto report = [&] {
    dbase::ShutdownTzEngine();
    std::cout << "told=" << told << " refused=" << refused << " other=" << other << std::flush;
    return 0;
  };
  if (role == 'R') {
    if (!dbase::Use("parts.dbf")) return 3;
    dbase::Set_Index_To("byname.ndx byqty.ndx");
    std::cout << "ready" << std::endl;
    WaitFor(parts[4]);
    for (int i = 0; i < count / 10; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
      if (i % 2 == 0) {
        dbase::Reindex();
      } else {
        dbase::Index_On(i % 4 == 1 ? "NAME" : "QTY", i % 4 == 1 ? "byname.ndx" : "byqty.ndx");
        dbase::Set_Index_To("byname.ndx byqty.ndx");
      }
    }
    return report();
  }
  dbase::TTzDbf dbf("writer");
  dbf.SetDbfFileName("parts.dbf");
  dbf.CreateIfNotFound = false;
  // Eight writers on a busy machine wait for each other's locks.
  dbf.ChangeLockRetryWait = 10;
  dbf.Open();
  const auto both = [&] { return dbf.SetIndexTo("byname.ndx byqty.ndx"); };
  if (role != 'P' && !both()) return 3;
  std::cout << "ready" << std::endl;
  WaitFor(parts[4]);
  const auto guarded = [&](const std::function<void()>& change) {
    try {
      change();
      return true;
    } catch (const std::exception& e) {
      tell(e.what());
      if (dbf.State() != dbase::TDataSetState::Browse) dbf.Cancel();
      return false;
    }
  };
  if (role == 'E') {
    if (parts.size() > 5) WaitFor(parts[5]);
    const double base = std::stoi(tag.substr(1)) * 10000 + 5000;
    for (int i = 0; i < count; ++i) {
      guarded([&] {
        dbf.Go(1 + (i * 7) % kFirstRecords);
        dbf.Edit();
        dbf.FieldByName("NAME").SetAsString(tag + "e" + std::to_string(i));
        dbf.FieldByName("QTY").SetAsFloat(base + i);
        dbf.Post();
      });
    }
    dbf.Close();
    return report();
  }
  for (int i = 0; i < count; ++i) {
    const double qty = std::stoi(tag.substr(1)) * 10000 + i;
    const bool appended = guarded([&] {
      dbf.Append();
      dbf.FieldByName("NAME").SetAsString(tag + std::to_string(i));
      dbf.FieldByName("QTY").SetAsFloat(qty);
      dbf.Post();
    });
    if (role == 'P' || i % 5 != 4 || !appended) continue;
    guarded([&] {
      if (!dbf.SetIndexTo("byqty.ndx")) throw std::runtime_error("byqty.ndx refused");
      if (!dbf.Find(std::to_string(static_cast<long>(qty)))) {
        throw std::runtime_error("QTY " + std::to_string(qty) + " not found");
      }
      dbf.Edit();
      dbf.FieldByName("QTY").SetAsFloat(qty + 0.5);
      dbf.Post();
    });
    guarded([&] {
      if (!both()) throw std::runtime_error("both indexes refused");
    });
  }
  dbf.Close();
  return report();
}

const bool kIsWriter = dbtest::RunAsSecondProgram(kWriterVariable, RunWriter);

// A mix: the roles of the writers, taken in turn, whether the writers are
// killed, whether every index must be accepted at the end, and the number
// of writers by default.
struct Mix {
  const char* name;
  const char* roles;
  bool killed;
  bool accepted;
  int writers;  // by default
};

class IndexWritersTest : public dbtest::EngineTest, public ::testing::WithParamInterface<Mix> {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    dbase::InstallExprHooks();
    dbase::IndexInit();
  }
  void TearDown() override {
    dbase::IndexDone();
    dbase::RemoveExprHooks();
    EngineTest::TearDown();
  }

  struct Outcome {
    int told = 0;      // errors a writer was told of
    int refused = 0;   // opens and changes refused as index damage (222)
    int other = 0;     // errors other than a lock another program held
    int accepted = 0;  // indexes the next open accepted
    bool sound = true; // every accepted index lists what a fresh build lists
    std::string what;  // how they differ
  };

  // One run in a folder of its own: a new table of kFirstRecords records
  // with its two indexes, the writers at once, then the next open of each
  // index against a fresh build.
  Outcome Run(const Mix& mix, int run, int writers, int count, std::mt19937& random) {
    const std::filesystem::path folder = dir_ / ("run" + std::to_string(run));
    std::filesystem::create_directories(folder);
    const std::string table = (folder / "parts.dbf").string();
    const std::string byName = (folder / "byname.ndx").string();
    const std::string byQty = (folder / "byqty.ndx").string();
    EXPECT_TRUE(dbase::CreateDbf(table, {{"NAME", 'C', 10, 0}, {"QTY", 'N', 9, 1}}));
    EXPECT_TRUE(dbase::Use(table + " EXCLUSIVE"));
    for (int i = 0; i < kFirstRecords; ++i) {
      dbase::ClearRecord();
      dbase::PutNativeString(dbase::FieldAddress(1), 11, "S" + std::to_string(i));
      dbase::PutNativeDouble(dbase::FieldAddress(2), 100 + i);
      EXPECT_TRUE(dbase::Append());
    }
    dbase::Index_On("NAME", byName);
    dbase::Index_On("QTY", byQty);
    dbase::Use("");
    const std::string go = (folder / "go").string();
    const std::string edit = (folder / "edit").string();
    std::vector<std::unique_ptr<dbtest::SelfProcess>> started;
    std::vector<char> roles;
    for (int w = 1; w <= writers; ++w) {
      const char role = mix.roles[static_cast<std::size_t>(w - 1) % std::strlen(mix.roles)];
      roles.push_back(role);
      const bool editsLater = role == 'E' && !mix.killed;
      const std::string job = folder.string() + "|" + role + "|W" + std::to_string(w) + "|" +
                              std::to_string(mix.killed ? 1000000 : count) + "|" + go + (editsLater ? "|" + edit : "");
      started.push_back(std::make_unique<dbtest::SelfProcess>(kWriterVariable, job));
    }
    for (auto& w : started) EXPECT_EQ(w->Line(), "ready");
    testsupport::Put(go, "");
    Outcome outcome;
    if (mix.killed) {
      std::uniform_int_distribution<int> moment(1, 40);
      for (auto& w : started) {
        std::this_thread::sleep_for(std::chrono::milliseconds(moment(random)));
        w->Kill();
        w->Finish();
      }
    } else {
      // Programs that edit do so once the others have ended.
      for (std::size_t w = 0; w < started.size(); ++w) {
        if (roles[w] != 'E') Collect(*started[w], outcome);
      }
      testsupport::Put(edit, "");
      for (std::size_t w = 0; w < started.size(); ++w) {
        if (roles[w] == 'E') Collect(*started[w], outcome);
      }
    }
    for (const auto& [index, expression] : {std::pair{byName, "NAME"}, std::pair{byQty, "QTY"}}) {
      Judge(folder, table, index, expression, outcome);
    }
    if (outcome.sound && outcome.told == 0) std::filesystem::remove_all(folder);
    return outcome;
  }

  static void Collect(dbtest::SelfProcess& writer, Outcome& outcome) {
    int code = -1;
    const std::string out = writer.Finish(&code);
    int told = 0;
    int refused = 0;
    int other = 0;
    if (code == 0 && std::sscanf(out.c_str(), "told=%d refused=%d other=%d", &told, &refused, &other) == 3) {
      outcome.told += told;
      outcome.refused += refused;
      outcome.other += other;
      return;
    }
    ++outcome.told;
    ++outcome.other;
    outcome.what += " a writer ended with " + std::to_string(code) + ": " + out;
  }

  // The next open of the index; when it accepts the index, XBase reads the
  // same entries from it as from a fresh build of the table.
  void Judge(const std::filesystem::path& folder, const std::string& table, const std::string& index,
             const char* expression, Outcome& outcome) {
    EXPECT_TRUE(dbase::Use(table));
    reported_.clear();
    const bool accepted = dbase::SetIndexTo(index, 1) && dbase::TzError == 0;
    const std::string refusal = LastReport();
    dbase::Use("");
    if (!accepted) {
      outcome.what += " " + std::filesystem::path(index).filename().string() + " refused: " + refusal;
      return;
    }
    ++outcome.accepted;
    const std::string fresh = (folder / "fresh.ndx").string();
    EXPECT_TRUE(dbase::Use(table + " EXCLUSIVE"));
    dbase::Index_On(expression, fresh);
    dbase::Use("");
    const bool numeric = std::string(expression) == "QTY";
    auto listed = dbtest::ReadIndexes(folder, {index, fresh}, numeric);
    if (listed[index] == listed[fresh]) return;
    outcome.sound = false;
    outcome.what += " " + std::filesystem::path(index).filename().string() + " accepted, listing " +
                    std::to_string(listed[index].size()) + " keys, a fresh build " +
                    std::to_string(listed[fresh].size());
  }
};

TEST_P(IndexWritersTest, NoIndexIsAcceptedThatMissesOrMisplacesARecord) {
  if (!dbtest::HasXBaseIndex()) GTEST_SKIP() << "Perl's XBase::Index is missing";
  const Mix& mix = GetParam();
  const auto setting = [](const char* name, int fallback) {
    const char* text = std::getenv(name);
    return text != nullptr ? std::max(1, std::atoi(text)) : fallback;
  };
  const int runs = setting("VOB_INDEX_WRITER_RUNS", 3);
  const int writers = setting("VOB_INDEX_WRITERS", mix.writers);
  const int records = setting("VOB_INDEX_WRITER_RECORDS", 150);
  std::mt19937 random(77);
  int unsound = 0;
  int refusedRuns = 0;
  int refused = 0;
  int other = 0;
  for (int run = 0; run < runs; ++run) {
    const Outcome outcome = Run(mix, run, writers, records, random);
    if (outcome.accepted < 2) ++refusedRuns;
    unsound += outcome.sound ? 0 : 1;
    refused += outcome.refused;
    other += outcome.other;
    if (!outcome.sound || outcome.other > 0 || (mix.accepted && outcome.accepted < 2)) {
      std::cout << "run " << run << ":" << outcome.what << "\n";
    }
    EXPECT_EQ(outcome.other, 0) << "run " << run << ":" << outcome.what;
    if (mix.accepted) {
      EXPECT_EQ(outcome.accepted, 2) << "run " << run << ":" << outcome.what;
      EXPECT_EQ(outcome.refused, 0) << "run " << run << ":" << outcome.what;
    }
  }
  std::cout << mix.name << ": " << runs << " runs of " << writers << " writers: " << unsound
            << " with an accepted index that differs from a fresh build, " << refusedRuns
            << " with an index the next open refused, " << refused << " refusals and " << other
            << " other errors told to writers\n";
  EXPECT_EQ(unsound, 0);
}

INSTANTIATE_TEST_SUITE_P(Mixes, IndexWritersTest,
                         ::testing::Values(Mix{"Writers", "I", false, true, 8}, Mix{"WithoutIndex", "PE", false, false, 4},
                                           Mix{"Killed", "E", true, false, 2}, Mix{"Rebuilt", "RIII", false, true, 4}),
                         [](const ::testing::TestParamInfo<Mix>& info) { return std::string(info.param.name); });

}  // namespace
