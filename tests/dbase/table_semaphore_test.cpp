// The semaphore file of shared indexed tables: its bytes through login,
// writes and logout, the read and write brackets with their errors, the
// counter's wrap, and other programs: one that ended inside a read bracket
// (its mark is dropped at once), one still reading (the writer times out),
// and one appending to the same table and indexes at the same time. The
// other program is this test binary started again (fork and exec) with
// VOB_DBASE_SEMAPHORE_CHILD set: it opens the table and its indexes itself.
#include "dbase/index/table_semaphore.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <thread>

#include "dbase/dbase_test_support.h"
#include "dbase/engine/dbf_native.h"
#include "dbase/engine/navigation.h"
#include "dbase/expr/expr_hooks.h"
#include "dbase/index/index_commands.h"
#include "dbase/index_readers.h"

namespace {

using namespace dbase;
using testsupport::Slurp;

constexpr const char* kChildVariable = "VOB_DBASE_SEMAPHORE_CHILD";

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream in(text);
  for (std::string part; std::getline(in, part, separator);) parts.push_back(part);
  return parts;
}

// Appends one record (under the append lock) with its own record number.
bool AppendRow(const std::string& name, double qty, bool pace = false) {
  if (!ALock()) return false;
  RefreshRecCount();
  ClearRecord();
  PutNativeString(FieldAddress(1), 11, name);
  PutNativeDouble(FieldAddress(2), qty);
  PutNativeInt32(FieldAddress(3), static_cast<std::int32_t>(RecCount() + 1));
  const bool ok = Append();
  Unlock();
  // Programs appending side by side leave each other a moment for the lock.
  if (pace) std::this_thread::sleep_for(std::chrono::microseconds(300));
  return ok;
}

// The other program. Jobs, fields separated by '|':
//   append|<table>|<indexes>|<count>  prints "ready", appends count records,
//                                     prints "errors=N"
//   hold|<table>|<indexes>|die        enters a read bracket, prints "ready" and
//                                     ends at once, leaving everything behind
//   hold|<table>|<indexes>|live       the same, but reads for 3.2 seconds and
//                                     then leaves properly
int RunChild(const std::string& job) {
  int errors = 0;
  ErrorProc = [&] {
    ++errors;
    std::cerr << TakeErrorDetail() << "\n";
  };
  InitTzCommon();
  InitTzEngine();
  InstallExprHooks();
  IndexInit();
  LockRetries = 255;
  LockRetryWait = 2;
  const std::vector<std::string> parts = Split(job, '|');
  if (parts.size() < 4 || !Use(parts[1])) return 2;
  // The indexes are named in the table's folder (a list of names cannot
  // hold a folder with blanks).
  std::filesystem::current_path(std::filesystem::path(parts[1]).parent_path());
  Set_Index_To(parts[2]);
  if (parts[0] == "append") {
    const int count = std::stoi(parts[3]);
    std::cout << "ready" << std::endl;
    for (int i = 0; i < count; ++i) AppendRow("K" + std::to_string(i % 37), 1000 + i, true);
    std::cout << "errors=" << errors << std::flush;
  } else {
    SetReadSemaphoreProc(true);
    std::cout << "ready" << std::endl;
    if (parts[3] == "die") std::_Exit(0);
    std::this_thread::sleep_for(std::chrono::milliseconds(3200));
    SetReadSemaphoreProc(false);
  }
  IndexDone();
  ShutdownTzEngine();
  return 0;
}

const bool kIsChild = dbtest::RunAsSecondProgram(kChildVariable, RunChild);

struct Child : dbtest::SelfProcess {
  explicit Child(const std::string& job) : SelfProcess(kChildVariable, job) {}
};

class TableSemaphoreTest : public dbtest::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    InstallExprHooks();
    IndexInit();
    SemaphoreTimeout = 100;
  }
  void TearDown() override {
    IndexDone();
    RemoveExprHooks();
    EngineTest::TearDown();
  }
  // A shared table with indexes on NAME and QTY, both open.
  void SharedTable(const std::string& name) {
    ASSERT_TRUE(CreateDbf(Path(name), {{"NAME", 'C', 10, 0}, {"QTY", 'N', 7, 1}, {"RNO", 'N', 6, 0}}));
    ASSERT_TRUE(Use(Path(name)));
    Index_On("QTY", Path(name + "q"));
    Index_On("NAME", Path(name + "n"));
    Set_Index_To(Indexes(name));
    ASSERT_EQ(TzError, 0) << LastReport();
  }
  std::string Indexes(const std::string& name) { return Listed(name + "n") + " " + Listed(name + "q"); }
  std::string SemaphoreBytes(const std::string& name) { return Slurp(Path(name + ".@S@")); }
  static std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out.push_back(static_cast<char>(v));
    return out;
  }
};

TEST_F(TableSemaphoreTest, FileBytesBracketsAndErrors) {
  SharedTable("t");
  EXPECT_EQ(SemaphoreFileName(), Path("t.@S@"));
  EXPECT_EQ(SemaphoreBytes("t"), Bytes({1, 0, 0, 0}));  // one user, no reader, no change
  ASSERT_TRUE(AppendRow("A", 1));
  EXPECT_EQ(SemaphoreBytes("t"), Bytes({1, 0, 1, 0}));
  ASSERT_TRUE(AppendRow("B", 2));
  EXPECT_EQ(SemaphoreBytes("t"), Bytes({1, 0, 2, 0}));

  // Nested read brackets: the file changes at the outermost level only.
  SetReadSemaphoreProc(true);
  SetReadSemaphoreProc(true);
  EXPECT_EQ(SemaphoreBytes("t"), Bytes({1, 1, 2, 0}));
  SetReadSemaphoreProc(false);
  EXPECT_EQ(SemaphoreBytes("t"), Bytes({1, 1, 2, 0}));
  SetReadSemaphoreProc(false);
  EXPECT_EQ(SemaphoreBytes("t"), Bytes({1, 0, 2, 0}));
  reported_.clear();
  SetReadSemaphoreProc(false);
  EXPECT_EQ(LastCode(), 254);
  EXPECT_NE(LastReport().find("Non-symmetrical Lock-Unlock [SetReadSemaphoreProc]"), std::string::npos);
  SetLockSemaphoreProc(false);
  EXPECT_NE(LastReport().find("Non-symmetrical Lock-Unlock [SetLockSemaphoreProc]"), std::string::npos);
  DatabaseSemaphore(kSemDecRead);
  EXPECT_EQ(LastCode(), 254);
  EXPECT_NE(LastReport().find("Unbalanced IncRead/DecRead for semaphore file: " + Path("t.@S@") + " DECREAD"),
            std::string::npos);
  EXPECT_EQ(reported_.size(), 3u);

  // After 65534 the change counter starts again at 0; the jump is another
  // program's change, which this one notices once.
  {
    std::FILE* f = std::fopen(Path("t.@S@").c_str(), "r+b");
    ASSERT_NE(f, nullptr);
    std::fwrite(Bytes({1, 0, 0xFE, 0xFF}).data(), 1, 4, f);
    std::fclose(f);
  }
  SetLockSemaphoreProc(true);
  SetLockSemaphoreProc(true);
  EXPECT_EQ(SemaphoreBytes("t"), Bytes({1, 1, 0xFE, 0xFF}));  // the writer's mark
  SetLockSemaphoreProc(false);
  SetLockSemaphoreProc(false);
  EXPECT_EQ(SemaphoreBytes("t"), Bytes({1, 0, 0, 0}));
  EXPECT_TRUE(SemaphoreTableChanged(CurrentArea));
  EXPECT_FALSE(SemaphoreTableChanged(CurrentArea));
  // A rebuild of the indexes is one write: the program stays logged in,
  // even while its only index is closed.
  Set_Order_To(2);
  Reindex();
  ASSERT_EQ(TzError, 0) << LastReport();
  EXPECT_EQ(CurrentOrder(), 2);
  EXPECT_EQ(SemaphoreBytes("t"), Bytes({1, 0, 1, 0}));
  Set_Index_To(Listed("tn"));  // the last index closed: a new file
  EXPECT_EQ(SemaphoreBytes("t"), Bytes({1, 0, 0, 0}));
  Reindex();
  ASSERT_EQ(TzError, 0) << LastReport();
  EXPECT_EQ(SemaphoreBytes("t"), Bytes({1, 0, 1, 0}));
  // The last close leaves no semaphore file.
  Use("");
  EXPECT_FALSE(std::filesystem::exists(Path("t.@S@")));

  // An exclusive table never makes one.
  ASSERT_TRUE(Use(Path("t") + " EXCLUSIVE"));
  Set_Index_To(Indexes("t"));
  ASSERT_TRUE(AppendRow("C", 3));
  SetReadSemaphoreProc(true);
  SetReadSemaphoreProc(false);
  EXPECT_FALSE(std::filesystem::exists(Path("t.@S@")));
  EXPECT_EQ(RecCount(), 3);
}

TEST_F(TableSemaphoreTest, EndedReaderIsDroppedAndLiveReaderTimesTheWriterOut) {
  SharedTable("h");
  ASSERT_TRUE(AppendRow("A", 1));
  const std::string job = "|" + Path("h.dbf") + "|" + Indexes("h") + "|";
  {
    Child dead("hold" + job + "die");
    EXPECT_EQ(dead.Line(), "ready");
    dead.Finish();
  }
  EXPECT_EQ(SemaphoreBytes("h"), Bytes({2, 1, 1, 0}));  // its user count and reader mark stay behind
  SemaphoreTimeout = 1;
  auto start = std::chrono::steady_clock::now();
  reported_.clear();
  ASSERT_TRUE(AppendRow("B", 2)) << LastReport();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
  EXPECT_TRUE(reported_.empty());
  EXPECT_EQ(SemaphoreBytes("h"), Bytes({2, 0, 2, 0}));

  Child live("hold" + job + "live");
  EXPECT_EQ(live.Line(), "ready");
  start = std::chrono::steady_clock::now();
  EXPECT_FALSE(AppendRow("C", 3));
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::seconds(1));
  EXPECT_LT(waited, std::chrono::milliseconds(2000));
  EXPECT_EQ(LastCode(), 1202);
  EXPECT_NE(LastReport().find("1 second timeout, cannot read: " + Path("h.@S@") +
                              "\r\nPossible cause: Other user's program has terminated abnormally."),
            std::string::npos)
      << LastReport();
  EXPECT_EQ(RecCount(), 2);  // nothing was written without the lock
  // Raised as an exception, the timeout leaves the brackets balanced.
  {
    ErrorProcedure procedure = std::move(ErrorProc);
    ErrorProc = nullptr;
    UseExceptions = true;
    EXPECT_THROW(AppendRow("C", 3), EDidozError);
    UseExceptions = false;
    ErrorProc = std::move(procedure);
    Unlock();
  }
  int code = -1;
  live.Finish(&code);
  EXPECT_EQ(code, 0);
  ASSERT_TRUE(AppendRow("C", 3)) << LastReport();
  EXPECT_EQ(SemaphoreBytes("h"), Bytes({2, 0, 3, 0}));
  // The ended program's count does not keep the file alive.
  Use("");
  EXPECT_FALSE(std::filesystem::exists(Path("h.@S@")));
}

// The other program appends a record whose key comes before the first key,
// and then one inside the part of the index still to be walked: GoTop and
// the walk reach them, as the step that notices the change counts them,
// instead of taking them for records beyond the table's end.
TEST_F(TableSemaphoreTest, IndexMovesReachRecordsAnotherProgramAppended) {
  SharedTable("w");
  ASSERT_TRUE(AppendRow("L", 1));
  ASSERT_TRUE(AppendRow("Z", 2));
  GoTop();
  ASSERT_EQ(FieldAsString(1), "L         ");
  const std::string job = "append|" + Path("w.dbf") + "|" + Indexes("w") + "|1";  // appends "K0"
  const auto appendOne = [&] {
    Child other(job);
    EXPECT_EQ(other.Line(), "ready");
    EXPECT_EQ(other.Finish(), "errors=0");
  };
  appendOne();
  GoTop();
  ASSERT_FALSE(dEOF());
  EXPECT_EQ(RecNo(), 3);

  appendOne();
  std::vector<std::int64_t> walked{RecNo()};
  for (Skip(1); !dEOF(); Skip(1)) walked.push_back(RecNo());
  EXPECT_EQ(walked, (std::vector<std::int64_t>{3, 4, 1, 2}));
  GoBottom();
  Skip(-2);
  EXPECT_EQ(RecNo(), 4);
  EXPECT_TRUE(reported_.empty()) << LastReport();
}

TEST_F(TableSemaphoreTest, TwoProgramsAppendToOneIndexedTable) {
  if (!dbtest::HasXBaseIndex() || !dbtest::HasPythonModule("dbfread")) {
    GTEST_SKIP() << "Perl's XBase::Index or Python's dbfread is missing";
  }
  SharedTable("s");
  LockRetries = 255;
  LockRetryWait = 2;
  constexpr int kEach = 300;
  Child other("append|" + Path("s.dbf") + "|" + Indexes("s") + "|" + std::to_string(kEach));
  ASSERT_EQ(other.Line(), "ready");
  for (int i = 0; i < kEach; ++i) {
    ASSERT_TRUE(AppendRow("K" + std::to_string(i % 37), i, true)) << LastReport();
    if (i % 60 != 59) continue;
    // Walks through the index, read ahead in blocks, while the other
    // program appends: every record is there once, in key order.
    RefreshRecCount();
    const std::int64_t before = RecCount();
    std::int64_t walked = 0;
    std::string previous;
    for (GoTop(); !dEOF(); Skip(1)) {
      const std::string name = FieldAsString(1);
      ASSERT_LE(previous, name);
      previous = name;
      ++walked;
    }
    EXPECT_GE(walked, before);
    EXPECT_LE(walked, RecCount());
  }
  int code = -1;
  EXPECT_EQ(other.Finish(&code), "errors=0");
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(reported_.empty()) << LastReport();
  // This program sees the other's records through its own index.
  RefreshRecCount();
  EXPECT_EQ(RecCount(), 2 * kEach);
  std::int64_t walked = 0;
  for (GoTop(); !dEOF(); Skip(1)) ++walked;
  EXPECT_EQ(walked, 2 * kEach);
  Use("");
  EXPECT_FALSE(std::filesystem::exists(Path("s.@S@")));

  const auto tables = dbtest::ReadTables(dir_, {Path("s.dbf")}, 10);
  const auto& rows = tables.at(Path("s.dbf"));
  ASSERT_EQ(rows.size(), static_cast<std::size_t>(2 * kEach));
  // Both programs appended at the same time (their records alternate).
  std::vector<std::pair<long, bool>> owners;
  for (const auto& r : rows) owners.emplace_back(r.rno, r.qty >= 1000);
  std::sort(owners.begin(), owners.end());
  int alternations = 0;
  for (std::size_t i = 1; i < owners.size(); ++i) alternations += owners[i].second != owners[i - 1].second;
  EXPECT_GT(alternations, 1);
  std::vector<long> numbers;
  for (const auto& r : rows) numbers.push_back(r.rno);
  std::sort(numbers.begin(), numbers.end());
  for (std::size_t i = 0; i < numbers.size(); ++i) ASSERT_EQ(numbers[i], static_cast<long>(i) + 1);
  EXPECT_EQ(dbtest::ReadIndexes(dir_, {Path("sn.ndx")}, false).at(Path("sn.ndx")),
            dbtest::ExpectedEntries(rows, false));
  EXPECT_EQ(dbtest::ReadIndexes(dir_, {Path("sq.ndx")}, true).at(Path("sq.ndx")),
            dbtest::ExpectedEntries(rows, true));
}

}  // namespace
