// Indexes lose nothing when their writes fail, when a build is refused, or
// when they do not match their table: appends and changes under a file-size
// limit (in a child process) leave every record in the tree, as Perl's
// XBase::Index lists it against the records Python's dbfread reads; a
// refused build keeps the old file byte for byte; an index of another
// table, with damaged nodes or missing records is reported at open or
// during the walk, never walked short.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "common/kaldvar.h"
#include "dbase/dataset/tz_file_dataset.h"
#include "dbase/dbase_test_support.h"
#include "dbase/engine/dbf_native.h"
#include "dbase/engine/navigation.h"
#include "dbase/expr/expr_hooks.h"
#include "dbase/index/index_anchor.h"
#include "dbase/index/index_build.h"
#include "dbase/index/index_commands.h"
#include "dbase/index/index_control.h"
#include "dbase/index/index_open.h"
#include "dbase/index/index_search.h"
#include "dbase/index_readers.h"
#include "platform/scripted_dialogs.h"

namespace {

using namespace dbase;
using testsupport::Slurp;

class IndexFailures : public dbtest::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    common::MessagesEnabled = 1;
    dialogs_ = std::make_unique<platform::ScopedDialogs>(scripted_);
    InstallExprHooks();
    IndexInit();
  }
  void TearDown() override {
    IndexDone();
    RemoveExprHooks();
    dialogs_.reset();
    EngineTest::TearDown();
  }

  // Opens a table as the table window does: shared, OEM text, deleted
  // records shown, an existing file only.
  static void OpenAsTheProgram(TTzDbf& dbf, const std::string& table) {
    dbf.TableLanguage = TTzTableLanguage::tlOem;
    dbf.SetHideDeletedRecs(false);
    dbf.CreateIndex = TCreateIndexType::ciNotFound;
    dbf.CreateIfNotFound = false;
    dbf.SetDbfFileName(table);
    dbf.Open();
  }

  // A table NAME, QTY, RNO (the record's own number) made through a
  // dataset, with the names given, and an index on NAME.
  void MakeIndexedTable(const std::string& table, const std::vector<std::string>& names, const std::string& index) {
    TTzDbf dbf("maker");
    dbf.SetDbfFileName(table);
    dbf.DbfFields = {"NAME,C,10,0", "QTY,N,7,2", "RNO,N,6,0", "OK,L,1,0"};
    dbf.Open();
    for (const std::string& name : names) Add(dbf, name);
    ASSERT_TRUE(dbf.IndexOn("NAME", index)) << LastReport();
    dbf.Close();
  }

  // Appends one record; false when the post failed.
  bool Add(TTzDbf& dbf, const std::string& name) {
    const std::size_t reports = reported_.size();
    try {
      const std::int64_t number = dbf.RecordCount() + 1;
      dbf.Append();
      dbf.FieldByName("NAME").SetAsString(name);
      dbf.FieldByName("QTY").SetAsFloat(static_cast<double>(number) / 4);
      dbf.FieldByName("RNO").SetAsInteger(number);
      dbf.Post();
    } catch (const std::exception&) {
      dbf.Cancel();
      return false;
    }
    if (reported_.size() == reports) return true;
    dbf.Cancel();
    return false;
  }

  // The record numbers of a dataset walk in index order.
  static std::vector<long> Walk(TTzDbf& dbf) {
    std::vector<long> seen;
    for (dbf.First(); !dbf.Eof(); dbf.Next()) seen.push_back(static_cast<long>(dbf.RecNo()));
    return seen;
  }

  // Runs a job in a child process with the file-size limit; its exit code.
  static int InChildWithLimit(rlim_t limit, const std::function<int()>& job) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      const rlimit r{limit, limit};
      ::setrlimit(RLIMIT_FSIZE, &r);
      ::signal(SIGXFSZ, SIG_IGN);
      int code = 99;
      try {
        code = job();
      } catch (...) {
      }
      std::_Exit(code);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  static std::vector<std::string> Names(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> letter(0, 25);
    std::vector<std::string> names;
    while (names.size() < count) {
      std::string name;
      for (int i = 0; i < 6; ++i) name.push_back(static_cast<char>('A' + letter(random)));
      names.push_back(name);
    }
    return names;
  }

  platform::ScriptedDialogs scripted_;
  std::unique_ptr<platform::ScopedDialogs> dialogs_;
};

// Appends under a file-size limit stop at the first node split that finds no
// room: every record the table holds, the 50 earlier ones among them, stays
// in the index as the independent reader lists it, the table keeps no
// record its index lacks, a changed name that finds no room leaves the
// record as it was, and the reopened index walks every record.
class IndexWritesUnderALimit : public IndexFailures, public ::testing::WithParamInterface<int> {};

TEST_P(IndexWritesUnderALimit, LoseNoRecord) {
  if (!dbtest::HasXBaseIndex() || !dbtest::HasPythonModule("dbfread")) {
    GTEST_SKIP() << "Perl's XBase::Index or Python's dbfread is missing";
  }
  const std::vector<std::string> names = Names(450, 61);
  const std::vector<std::string> first(names.begin(), names.begin() + 50);
  const std::string table = Path("grow.dbf");
  const std::string index = Path("names.ndx");
  MakeIndexedTable(table, first, index);
  const int limit = GetParam();
  const int code = InChildWithLimit(static_cast<rlim_t>(limit), [&] {
    TTzDbf dbf("grow");
    OpenAsTheProgram(dbf, table);
    if (!dbf.SetIndexTo(index)) return 2;
    int failures = 0;
    for (std::size_t i = 50; i < names.size() && failures < 4; ++i) {
      if (!Add(dbf, names[i])) ++failures;
    }
    // A changed name whose key needs a node that the limit refuses.
    dbf.First();
    for (int i = 0; i < 3; ++i) {
      try {
        dbf.Edit();
        dbf.FieldByName("NAME").SetAsString("1EDIT" + std::to_string(i));
        dbf.Post();
      } catch (const std::exception&) {
        dbf.Cancel();
      }
      dbf.Next();
    }
    dbf.Close();
    return failures > 0 ? 0 : 1;
  });
  ASSERT_EQ(code, 0) << "the limit of " << limit << " bytes was never reached";
  const auto records = dbtest::ReadTables(dir_, {table}, 10)[table];
  ASSERT_GE(records.size(), 50u);
  for (std::size_t i = 0; i < records.size(); ++i) {
    EXPECT_EQ(records[i].rno, static_cast<long>(i + 1));
    if (i < 50 && records[i].name.rfind(dbtest::HexOf("1EDIT"), 0) != 0) {
      std::string padded = first[i];
      padded.resize(10, ' ');
      EXPECT_EQ(records[i].name, dbtest::HexOf(padded)) << "record " << i + 1;
    }
  }
  if (limit == 2048) {
    // The index was full: no append and no changed name found room.
    EXPECT_EQ(records.size(), 50u);
    for (const auto& record : records) EXPECT_NE(record.name.rfind(dbtest::HexOf("1EDIT"), 0), 0u) << record.rno;
  }
  const auto listed = dbtest::ReadIndexes(dir_, {index}, false)[index];
  EXPECT_EQ(listed, dbtest::ExpectedEntries(records, false));
  // Reopened as the program opens it: no complaint, every record walked.
  TTzDbf dbf("again");
  OpenAsTheProgram(dbf, table);
  ASSERT_TRUE(dbf.SetIndexTo(index)) << LastReport();
  std::vector<long> expected;
  for (const auto& [key, rno] : listed) expected.push_back(rno);
  EXPECT_EQ(Walk(dbf), expected);
  EXPECT_TRUE(reported_.empty()) << LastReport();
}

INSTANTIATE_TEST_SUITE_P(Limits, IndexWritesUnderALimit, ::testing::Values(2048, 3072, 4096, 8192));

}  // namespace
