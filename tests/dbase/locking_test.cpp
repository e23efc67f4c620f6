// Record and file locks: the lock states of one program, and the locks of
// two programs on one shared table. The second program is this test binary
// started again (fork and exec) with VOB_DBASE_LOCK_CHILD set: it opens the
// table itself, so it shares no open file with the first.
#include "dbase/engine/locking.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <thread>
#include <sstream>

#include "dbase/dbase_test_support.h"
#include "dbase/engine/dbf_native.h"
#include "dbase/engine/navigation.h"

namespace {

using namespace dbase;

constexpr const char* kChildVariable = "VOB_DBASE_LOCK_CHILD";

// The second program: "<table>;<step>,<step>..." with the steps rN (record
// lock of record N), f (file lock), a (append lock), u (unlock all), p
// (append a record under the append lock); prints
// "open=<0|1>" and each step as "<step>=<0|1>", separated by blanks.
int RunChild(const std::string& job) {
  ErrorProc = [] { TakeErrorDetail(); };
  InitTzCommon();
  InitTzEngine();
  const std::size_t semi = job.find(';');
  const std::string table = job.substr(0, semi);
  std::ostringstream out;
  const bool opened = Use(table);
  out << "open=" << (opened ? 1 : 0);
  std::stringstream steps(semi == std::string::npos ? std::string() : job.substr(semi + 1));
  for (std::string step; opened && std::getline(steps, step, ',');) {
    bool ok = false;
    if (step[0] == 'r') {
      Go(std::stoll(step.substr(1)));
      ok = RLock();
    } else if (step == "f") {
      ok = FLock();
    } else if (step == "a") {
      ok = ALock();
    } else if (step == "u") {
      Unlock();
      ok = true;
    } else if (step == "p") {
      ClearRecord();
      PutNativeString(FieldAddress(1), 7, "CHILD");
      ok = ALock() && Append();
      Unlock();
    }
    out << ' ' << step << '=' << (ok ? 1 : 0);
  }
  std::cout << out.str() << std::flush;
  ShutdownTzEngine();
  return 0;
}

// Runs before the tests: the child role ends the process here.
const bool kIsChild = dbtest::RunAsSecondProgram(kChildVariable, RunChild);

// Starts the second program and answers its output.
std::string Child(const std::string& job) { return dbtest::SelfProcess(kChildVariable, job).Finish(); }

class LockingTest : public dbtest::EngineTest {
 protected:
  std::string Table(int records) {
    const std::string path = Path("shared");
    EXPECT_TRUE(CreateDbf(path, {{"code", 'C', 6, 0}}));
    EXPECT_TRUE(Use(path));
    EXPECT_TRUE(FLock());
    for (int i = 1; i <= records; ++i) {
      ClearRecord();
      PutNativeString(FieldAddress(1), 7, "R" + std::to_string(i));
      EXPECT_TRUE(Append());
    }
    Unlock();
    return path + ".dbf";
  }
};

TEST_F(LockingTest, StatesOfOneArea) {
  Table(10);
  Go(5);
  EXPECT_TRUE(RLock());
  EXPECT_TRUE(RLock());
  EXPECT_EQ(WorkAreas[1]->lockedRecords.size(), 1u);
  EXPECT_FALSE(FLock());
  EXPECT_FALSE(ALock());
  EXPECT_TRUE(IsLocked(5));
  EXPECT_FALSE(IsLocked(6));
  reported_.clear();
  EXPECT_FALSE(UnlockRec(7));
  EXPECT_EQ(TzError, 220);
  EXPECT_EQ(TzErrorDetail, "Record not locked. [UnlockRec(7)]");
  EXPECT_TRUE(reported_.empty());
  Unlock();
  EXPECT_TRUE(FLock());
  EXPECT_TRUE(IsLocked(9));
  Go(3);
  EXPECT_FALSE(RLock());
  Unlock();

  RecordLockLimit = 2;
  Go(1);
  EXPECT_TRUE(RLock());
  Go(2);
  EXPECT_TRUE(RLock());
  Go(3);
  EXPECT_FALSE(RLock());
  EXPECT_EQ(LastCode(), 212);
  EXPECT_NE(LastReport().find("Didoz record lock limit exceeded [RLock]"), std::string::npos);
  EXPECT_TRUE(UnlockRec(-1));  // the oldest: record 1
  EXPECT_FALSE(IsLocked(1));
  EXPECT_TRUE(IsLocked(2));
}

TEST_F(LockingTest, ChangesOfASharedTableNeedTheirLocks) {
  Table(3);
  ClearRecord();
  EXPECT_FALSE(Append());
  EXPECT_EQ(LastCode(), 5);
  EXPECT_NE(LastReport().find("File must be locked to append: shared.dbf [APPEND]"), std::string::npos);
  EXPECT_TRUE(ALock());
  EXPECT_TRUE(Append()) << LastReport();
  Go(2);
  EXPECT_FALSE(DeleteRec());
  EXPECT_EQ(LastCode(), 1200);
  EXPECT_NE(LastReport().find("shared.dbf Record not locked [DeleteRec]"), std::string::npos);
  EXPECT_FALSE(Replace());
  EXPECT_NE(LastReport().find("Record #2 in shared.dbf [REPLACE]"), std::string::npos);
  Unlock();
  EXPECT_TRUE(RLock());
  EXPECT_TRUE(DeleteRec());
  EXPECT_TRUE(Replace()) << LastReport();
}

TEST_F(LockingTest, WithoutNetworkLockingEverythingIsGrantedAndExclusive) {
  const std::string file = Table(3);
  Use("");
  NetworkLocking = false;
  ASSERT_TRUE(Use(file));
  EXPECT_TRUE(WorkAreas[1]->exclusive);
  EXPECT_TRUE(FLock());
  Unlock();
  EXPECT_TRUE(ALock());
  Unlock();
  EXPECT_TRUE(RLock());
  NetworkLocking = true;
  // The exclusive open keeps other programs out.
  EXPECT_EQ(Child(file), "open=0");
}

TEST_F(LockingTest, TwoProgramsShareOneTable) {
  const std::string file = Table(10);
  Go(5);
  ASSERT_TRUE(RLock());
  EXPECT_EQ(Child(file + ";r5,r6,u,f,a"), "open=1 r5=0 r6=1 u=1 f=0 a=1");
  Unlock();
  EXPECT_EQ(Child(file + ";r5,u,f"), "open=1 r5=1 u=1 f=1");
  ASSERT_TRUE(FLock());
  EXPECT_EQ(Child(file + ";r1,a,f"), "open=1 r1=0 a=0 f=0");
  Unlock();
  // A second descriptor of the same file closed in this program does not
  // drop its locks.
  Go(2);
  ASSERT_TRUE(RLock());
  Select(2);
  ASSERT_TRUE(Use(file + " ALIAS OTHER"));
  Use("");
  Select(1);
  EXPECT_EQ(Child(file + ";r2"), "open=1 r2=0");
  Use("");
  ASSERT_TRUE(Use(file + " EXCLUSIVE"));
  EXPECT_EQ(Child(file), "open=0");
}

TEST_F(LockingTest, AppendsOfTwoProgramsAreAllCounted) {
  const std::string file = Table(2);
  ASSERT_TRUE(ALock());
  ClearRecord();
  PutNativeString(FieldAddress(1), 7, "MINE");
  ASSERT_TRUE(Append());
  Unlock();
  EXPECT_EQ(Child(file + ";p"), "open=1 p=1");
  EXPECT_EQ(RecCount(), 4);
  Use("");
  const std::string bytes = testsupport::Slurp(file);
  EXPECT_EQ(static_cast<unsigned char>(bytes[4]), 4);
  EXPECT_EQ(bytes.size(), 65u + 4 * 7 + 1);
  EXPECT_EQ(bytes.substr(65 + 2 * 7, 14), " MINE   CHILD ");
  EXPECT_EQ(bytes.back(), '\x1a');
}

// A shared table is read ahead in blocks, yet what another program (here a
// second work area on its own descriptor) changes or appends is seen: after
// a moment by any read, and at once under a lock.
TEST_F(LockingTest, ReadAheadOfASharedTableSeesOtherWriters) {
  const std::string file = Table(10);
  Select(2);
  ASSERT_TRUE(Use(file + " ALIAS OTHER"));
  Select(1);
  GoTop();
  EXPECT_EQ(FieldAsString(1), "R1    ");  // records 1..10 read ahead

  Select(2);
  Go(3);
  ASSERT_TRUE(RLock());
  PutNativeString(FieldAddress(1), 7, "NEW3");
  ASSERT_TRUE(Replace());
  Unlock();
  Select(1);
  Go(3);
  ASSERT_TRUE(RLock());
  Skip(0);
  EXPECT_EQ(FieldAsString(1), "NEW3  ");  // the lock reads the file
  Unlock();

  Select(2);
  Go(4);
  ASSERT_TRUE(RLock());
  PutNativeString(FieldAddress(1), 7, "NEW4");
  ASSERT_TRUE(Replace());
  Unlock();
  ASSERT_TRUE(ALock());
  ClearRecord();
  PutNativeString(FieldAddress(1), 7, "R11");
  ASSERT_TRUE(Append());
  Unlock();
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  Select(1);
  std::vector<std::string> seen;
  for (Skip(1); !dEOF(); Skip(1)) seen.push_back(FieldAsString(1));
  EXPECT_EQ(seen, (std::vector<std::string>{"NEW4  ", "R5    ", "R6    ", "R7    ", "R8    ", "R9    ", "R10   ",
                                            "R11   "}));
  EXPECT_EQ(RecCount(), 11);
  EXPECT_TRUE(reported_.empty()) << LastReport();
}

}  // namespace
