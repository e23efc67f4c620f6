// Indexes lose nothing when their writes fail, when a build is refused, or
// when they do not match their table: appends and changes under a file-size
// limit (in a child process) leave every record in the tree, as Perl's
// XBase::Index lists it against the records Python's dbfread reads; a
// refused build keeps the old file byte for byte; an index of another
// table, with damaged nodes or missing records is reported at open or
// during the walk, never walked short.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <tuple>

#include "common/kaldvar.h"
#include "dbase/dataset/tz_file_dataset.h"
#include "dbase/dbase_test_support.h"
#include "dbase/engine/dbf_native.h"
#include "dbase/engine/engine_settings.h"
#include "dbase/engine/navigation.h"
#include "dbase/expr/expr_hooks.h"
#include "dbase/index/index_anchor.h"
#include "dbase/index/index_build.h"
#include "dbase/index/index_commands.h"
#include "dbase/index/index_control.h"
#include "dbase/index/index_open.h"
#include "dbase/index/index_search.h"
#include "dbase/index_readers.h"
#include "dbase/table/table_window.h"
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

  // Runs a job in a child process; its exit code (-1 when it did not end
  // by itself).
  static int InChild(const std::function<int()>& job) {
    const pid_t pid = ::fork();
    if (pid == 0) {
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

  // The same with a file-size limit (writes beyond it fail, no signal).
  static int InChildWithLimit(rlim_t limit, const std::function<int()>& job) {
    return InChild([&] {
      const rlimit r{limit, limit};
      ::setrlimit(RLIMIT_FSIZE, &r);
      ::signal(SIGXFSZ, SIG_IGN);
      return job();
    });
  }

  // The same in a child that sees a small file system of its own at dir (a
  // user and mount namespace); -2 when the system gives no namespace.
  static int InChildOnSmallDisk(const std::string& dir, const std::function<int()>& job) {
    constexpr int kNoNamespace = 77;
    const uid_t uid = ::getuid();
    const gid_t gid = ::getgid();
    const int code = InChild([&] {
      const auto put = [](const char* file, const std::string& text) {
        const int fd = ::open(file, O_WRONLY | O_CLOEXEC);
        const bool ok = fd >= 0 && ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
        if (fd >= 0) ::close(fd);
        return ok;
      };
      if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return kNoNamespace;
      put("/proc/self/setgroups", "deny");
      if (!put("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
          !put("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1") ||
          ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
          ::mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=256k") != 0) {
        return kNoNamespace;
      }
      return job();
    });
    return code == kNoNamespace ? -2 : code;
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
    if (!dbf.SetIndexTo(Listed(index))) return 2;
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
  ASSERT_TRUE(dbf.SetIndexTo(Listed(index))) << LastReport();
  std::vector<long> expected;
  for (const auto& [key, rno] : listed) expected.push_back(rno);
  EXPECT_EQ(Walk(dbf), expected);
  EXPECT_TRUE(reported_.empty()) << LastReport();
}

INSTANTIATE_TEST_SUITE_P(Limits, IndexWritesUnderALimit, ::testing::Values(2048, 3072, 4096, 8192));

// A refused build leaves the index file as it was, byte for byte, on a
// shared table as on an exclusive one: a key of a type no index takes
// (254), a key of more than 100 characters (266), a key maker whose keys
// vary in length (266), and a build stopped by a file-size limit while it
// writes the nodes.
TEST_F(IndexFailures, ARefusedBuildKeepsTheOldIndex) {
  const std::string table = Path("parts.dbf");
  const std::string index = Path("keep.ndx");
  MakeIndexedTable(table, Names(30, 7), index);
  const std::string before = Slurp(index);
  ASSERT_EQ(before.size(), 4u * 512);
  const KeyMakerProc varying = [](void*, int, std::string& key) {
    key = TzTrimRight(FieldAsString(1));
    if (RecNo() % 2 == 0) key += "+";
  };
  for (const char* mode : {"", " EXCLUSIVE"}) {
    SCOPED_TRACE(mode);
    ASSERT_TRUE(Use(table + mode)) << LastReport();
    Index_On("OK", index);
    EXPECT_EQ(LastCode(), 254);
    EXPECT_NE(LastReport().find("Wrong parser return type"), std::string::npos) << LastReport();
    EXPECT_EQ(Slurp(index), before);
    Index_On("NAME + REPLICATE('x', 95)", index);
    EXPECT_EQ(LastCode(), 266);
    EXPECT_EQ(Slurp(index), before);
    IndexOn(index, varying, nullptr);
    EXPECT_EQ(LastCode(), 266);
    EXPECT_NE(LastReport().find("The key of record 2 has 7 characters, the index's keys 6"), std::string::npos)
        << LastReport();
    EXPECT_EQ(Slurp(index), before);
    Use("");
  }
  // A build of twice as many records, which the limit stops on writing.
  {
    TTzDbf dbf("more");
    dbf.SetDbfFileName(table);
    dbf.Open();
    for (const std::string& name : Names(60, 8)) ASSERT_TRUE(Add(dbf, name));
    dbf.Close();
  }
  const int code = InChildWithLimit(static_cast<rlim_t>(before.size()), [&] {
    if (!Use(table)) return 2;
    Index_On("NAME", index);
    return TzError == 101 ? 0 : 3;
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(Slurp(index), before);
  // Without the limit the build replaces the index.
  ASSERT_TRUE(Use(table));
  Index_On("NAME", index);
  EXPECT_EQ(TzError, 0) << LastReport();
  EXPECT_GT(Slurp(index).size(), before.size());
  EXPECT_EQ(RecCount(), 90);
}

// On a full disk the build is refused by its disk-space check (227), and
// the index it would have replaced stays as it was.
TEST_F(IndexFailures, AFullDiskKeepsTheOldIndex) {
  const std::filesystem::path disk = dir_ / "small disk";
  std::filesystem::create_directories(disk);
  const std::string table = (disk / "full.dbf").string();
  const std::string index = (disk / "keep.ndx").string();
  const int code = InChildOnSmallDisk(disk.string(), [&] {
    if (!CreateDbf(table, {{"NAME", 'C', 10, 0}, {"RNO", 'N', 6, 0}})) return 2;
    if (!Use(table + " EXCLUSIVE")) return 2;
    const std::vector<std::string> names = Names(2000, 9);
    for (std::size_t i = 0; i < names.size(); ++i) {
      ClearRecord();
      PutNativeString(FieldAddress(1), 11, names[i]);
      PutNativeInt32(FieldAddress(2), static_cast<std::int32_t>(i + 1));
      if (!Append()) return 2;
    }
    Index_On("NAME", index);
    if (TzError != 0) return 2;
    Use("");
    // The rest of the disk filled.
    const int filler = ::open((disk / "filler").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    const std::string block(4096, 'x');
    while (::write(filler, block.data(), block.size()) > 0) {
    }
    ::close(filler);
    const std::string before = Slurp(index);
    if (!Use(table)) return 2;
    Index_On("NAME", index);
    if (TzError != 227) return 3;
    if (LastReport().find("Available disk space: ") == std::string::npos) return 4;
    return Slurp(index) == before && !before.empty() ? 0 : 5;
  });
  if (code == -2) GTEST_SKIP() << "the system gives no mount namespace for a small disk";
  EXPECT_EQ(code, 0);
}

// Another table's index, opened on a table of 3 records, is refused at
// open: its keys lead beyond the table.
TEST_F(IndexFailures, AnotherTablesIndexIsRefused) {
  MakeIndexedTable(Path("big.dbf"), Names(50, 11), Path("big.ndx"));
  MakeIndexedTable(Path("small.dbf"), {"Axle", "Cam", "Gear"}, Path("small.ndx"));
  TTzDbf dbf("small");
  OpenAsTheProgram(dbf, Path("small.dbf"));
  EXPECT_FALSE(dbf.SetIndexTo(Listed(Path("big.ndx"))));
  EXPECT_EQ(LastCode(), 222);
  EXPECT_NE(LastReport().find("The index " + Path("big.ndx") + " does not match its table small.dbf: it lists record"),
            std::string::npos)
      << LastReport();
  EXPECT_NE(LastReport().find("Rebuild the index."), std::string::npos) << LastReport();
  EXPECT_FALSE(dbf.Find("Gear"));
  // Its own index opens without a word.
  reported_.clear();
  EXPECT_TRUE(dbf.SetIndexTo(Listed(Path("small.ndx")))) << LastReport();
  EXPECT_TRUE(dbf.Find("Gear"));
  EXPECT_EQ(dbf.RecNo(), 3);
  EXPECT_TRUE(reported_.empty()) << LastReport();
}

// Records appended while the index was closed are missing from it: every
// open says so, until a rebuild. The dataset's index list reports it too
// and leaves the file as it is (under ciNotFound it builds only missing
// indexes); under ciVerifyHeader it builds it anew.
TEST_F(IndexFailures, RecordsAppendedWithoutTheIndexAreReported) {
  const std::string table = Path("late.dbf");
  const std::string index = Path("late.ndx");
  MakeIndexedTable(table, Names(50, 12), index);
  {
    TTzDbf dbf("late");
    OpenAsTheProgram(dbf, table);
    for (const std::string& name : Names(7, 13)) ASSERT_TRUE(Add(dbf, name));
  }
  for (int open = 0; open < 2; ++open) {
    TTzDbf dbf("again");
    OpenAsTheProgram(dbf, table);
    reported_.clear();
    EXPECT_FALSE(dbf.SetIndexTo(Listed(index)));
    EXPECT_EQ(LastCode(), 222);
    EXPECT_NE(LastReport().find("record 51 is missing from it. Rebuild the index."), std::string::npos)
        << LastReport();
  }
  const std::string before = Slurp(index);
  {
    TTzDbf dbf("listed");
    dbf.IndexList = {"1," + index + ",NAME"};
    reported_.clear();
    OpenAsTheProgram(dbf, table);
    EXPECT_EQ(LastCode(), 222);
    EXPECT_NE(LastReport().find("record 51 is missing from it"), std::string::npos) << LastReport();
    EXPECT_EQ(Slurp(index), before);
  }
  TTzDbf dbf("verified");
  dbf.IndexList = {"1," + index + ",NAME"};
  dbf.CreateIndex = TCreateIndexType::ciVerifyHeader;
  dbf.SetDbfFileName(table);
  dbf.CreateIfNotFound = false;
  reported_.clear();
  dbf.Open();
  EXPECT_EQ(Walk(dbf).size(), 57u);
  EXPECT_TRUE(reported_.empty()) << LastReport();
}

// An index whose nodes are damaged behind a trailer that matches the table
// is reported when a walk or a search meets the damage: a key beyond the
// table, keys out of order, an emptied leaf or root.
TEST_F(IndexFailures, DamagedNodesAreReportedNotWalkedShort) {
  const std::string table = Path("dmg.dbf");
  const std::string index = Path("dmg.ndx");
  std::vector<std::string> names;
  for (int i = 0; i < 30; ++i) names.push_back("K" + std::to_string(100 + i));
  MakeIndexedTable(table, names, index);
  const std::string whole = Slurp(index);
  ASSERT_EQ(whole.size(), 4u * 512);  // leaves 1 and 2, the root 3
  // The records walked before the walk stopped (the dataset raises the
  // engine's error as its own).
  const auto walk = [&](TTzDbf& dbf) {
    std::vector<long> seen;
    try {
      for (dbf.First(); !dbf.Eof(); dbf.Next()) seen.push_back(static_cast<long>(dbf.RecNo()));
    } catch (const std::exception& e) {
      EXPECT_NE(std::string(e.what()).find("222"), std::string::npos) << e.what();
    }
    return seen;
  };
  // Bytes put over the file's; entry i of block b starts at
  // b * 512 + 4 + 20 i with the child, the record and the key.
  using Patch = std::vector<std::pair<std::size_t, std::string>>;
  const auto entry = [](int block, int i) { return static_cast<std::size_t>(block * 512 + 4 + 20 * i); };
  std::string record31(4, '\0');
  ndx::PutDword(reinterpret_cast<std::uint8_t*>(record31.data()), 31);
  const std::string empty(512, '\0');
  struct Damage {
    const char* what;
    Patch patch;
    bool opens;
    std::size_t walked;
    const char* report;
    const char* lostKey = nullptr;  // a key whose record the table lacks
  };
  const std::vector<Damage> damages = {
      {"the last key of leaf 2 leads to record 31", {{entry(2, 4) + 4, record31}}, true, 29,
       "it lists record 31, which the table (30 records) does not have", "K129"},
      {"two keys of leaf 1 swapped",
       {{entry(1, 3) + 8, whole.substr(entry(1, 4) + 8, 10)}, {entry(1, 4) + 8, whole.substr(entry(1, 3) + 8, 10)}},
       true, 4, "block 1 breaks the order of the keys"},
      {"leaf 2 emptied", {{1024, empty}}, true, 25, "block 2 is empty"},
      {"the root emptied", {{1536, empty}}, false, 0, "it holds no key of the table's 30 records"},
      {"leaf 2 emptied behind a trailer of another count",
       {{1024, empty}, {488, std::string("\xf0\xff\xff\xff\x0f\0\0\0", 8)}}, false, 0, "block 2 is empty"},
  };
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.what);
    std::string file = whole;
    for (const auto& [at, bytes] : damage.patch) file.replace(at, bytes.size(), bytes);
    testsupport::Put(index, file);
    TTzDbf dbf("damaged");
    OpenAsTheProgram(dbf, table);
    reported_.clear();
    EXPECT_EQ(dbf.SetIndexTo(Listed(index)), damage.opens) << LastReport();
    if (damage.opens) {
      EXPECT_EQ(walk(dbf).size(), damage.walked);
    }
    EXPECT_EQ(LastCode(), 222);
    EXPECT_NE(LastReport().find(damage.report), std::string::npos) << LastReport();
    if (damage.lostKey == nullptr) continue;
    // Find does not answer true for the record the table lacks.
    reported_.clear();
    bool found = true;
    try {
      found = dbf.FindExact(damage.lostKey);
    } catch (const std::exception&) {
      found = false;
    }
    EXPECT_FALSE(found);
    EXPECT_EQ(LastCode(), 222);
  }
}

// Every tree the build writes, whatever the record count, is opened as it
// is when its trailer gives reason to doubt it (zeroed, as other programs
// leave it, or with a count that does not check): the check walks it
// (100-character keys, 4 to a node, so that even a thousand records give
// trees of six levels whose last branch is shorter), finds it whole, leaves
// every node as it was, and writes its verdict into the trailer, so that
// the next open trusts it. The walk gives every record in key order, as
// Perl's XBase::Index reads the same files.
TEST_F(IndexFailures, EveryTreeTheBuildWritesPassesTheOpenCheck) {
  const std::string table = Path("deep.dbf");
  ASSERT_TRUE(CreateDbf(table, {{"NAME", 'C', 100, 0}}));
  std::mt19937 random(69);
  std::vector<std::int64_t> counts = {0, 1, 4, 5, 20, 21, 24, 25, 84, 85, 100, 101};
  std::uniform_int_distribution<std::int64_t> count(2, 1300);
  while (counts.size() < 40) counts.push_back(count(random));
  std::sort(counts.begin(), counts.end());
  const std::vector<std::string> names = Names(static_cast<std::size_t>(counts.back()), 70);
  std::vector<std::string> files;
  std::map<std::string, std::vector<long>> walked;
  std::vector<std::pair<std::string, long>> sorted;
  for (std::size_t i = 0; i < counts.size(); ++i) {
    const std::int64_t records = counts[i];
    SCOPED_TRACE(records);
    ASSERT_TRUE(Use(table + " EXCLUSIVE"));
    while (RecCount() < records) {
      const std::string& name = names[static_cast<std::size_t>(RecCount())];
      ClearRecord();
      PutNativeString(FieldAddress(1), 101, name);
      ASSERT_TRUE(Append());
      sorted.emplace_back(name, static_cast<long>(RecCount()));
    }
    const std::string index = Path("deep" + std::to_string(i) + ".ndx");
    Index_On("NAME", index);
    ASSERT_EQ(TzError, 0) << LastReport();
    Use("");
    std::string file = Slurp(index);
    if (i % 2 == 0) {
      file.replace(488, 24, std::string(24, '\0'));
    } else {
      file[488] = static_cast<char>(file[488] ^ 1);
    }
    testsupport::Put(index, file);
    ASSERT_EQ(IndexRecordCount(index), -1);
    TTzDbf dbf("deep");
    OpenAsTheProgram(dbf, table);
    reported_.clear();
    ASSERT_TRUE(dbf.SetIndexTo(Listed(index))) << LastReport();
    std::sort(sorted.begin(), sorted.end());
    std::vector<long> expected;
    for (const auto& [name, record] : sorted) expected.push_back(record);
    EXPECT_EQ(Walk(dbf), expected);
    dbf.Close();
    EXPECT_TRUE(reported_.empty()) << LastReport();
    const std::string after = Slurp(index);
    EXPECT_EQ(after.substr(0, 488), file.substr(0, 488));
    EXPECT_EQ(after.substr(512), file.substr(512));
    EXPECT_EQ(IndexRecordCount(index), records);
    files.push_back(index);
    walked[index] = expected;
  }
  if (!dbtest::HasXBaseIndex()) GTEST_SKIP() << "Perl's XBase::Index is missing";
  for (const auto& [index, entries] : dbtest::ReadIndexes(dir_, files, false)) {
    std::vector<long> listed;
    for (const auto& entry : entries) listed.push_back(entry.second);
    EXPECT_EQ(listed, walked[index]) << index;
  }
}

// An open writes no byte of an index it refuses, nor of one on a read-only
// table (shared, exclusive, listed under ciVerifyHeader), whatever the
// damage; a wrong next free block is mended only in an accepted index of a
// writable table; a read-only shared open answers at once (no timeout).
TEST_F(IndexFailures, RefusedAndReadOnlyOpensWriteNoByte) {
  const std::string table = Path("ro.dbf"), index = Path("ro.ndx");
  MakeIndexedTable(table, Names(30, 15), index);
  const std::string whole = Slurp(index);
  const auto dword = [](std::uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
  const auto trailer = [&](std::uint32_t count) { return std::pair{std::size_t{488}, dword(~count) + dword(count)}; };
  const std::pair<std::size_t, std::string> badNextFree{4, dword(9)};
  const std::vector<std::tuple<const char*, std::vector<std::pair<std::size_t, std::string>>, bool>> damages = {
      {"a wrong next free block", {badNextFree}, true},
      {"the root emptied, a wrong next free block", {badNextFree, {1536, std::string(512, '\0')}}, false},
      {"a record the table lacks, another count", {{1024 + 88, dword(31)}, trailer(29)}, false},
      {"marked for a rebuild", {trailer(ndx::kNeedsRebuildCount)}, false},
      {"left while changing", {badNextFree, trailer(ndx::kChangingCount)}, true},
  };
  // 0 the engine; 1 to 3 read-only datasets: shared, exclusive, listed; 4 the table window.
  const auto open = [&](int how) {
    if (how == 0) return Use(table) && SetIndexTo(Listed(index), 1);
    if (how == 4) {
      Tdbf4 window;
      common::AbortFlag = 0;
      window.OpenTable(table);
      window.OpenIndex(index.substr(0, index.size() - 4));
      return common::AbortFlag == 0;
    }
    TTzDbf dbf("ro");
    dbf.SetReadOnly(true);
    dbf.SetExclusive(how == 2);
    if (how == 3) dbf.IndexList = {"1," + index + ",NAME"};
    OpenAsTheProgram(dbf, table);
    dbf.CreateIndex = how == 3 ? TCreateIndexType::ciVerifyHeader : TCreateIndexType::ciNotFound;
    dbf.Close();
    dbf.Open();
    return dbf.Active() && (how == 3 ? IndexFileName(1) == index : dbf.SetIndexTo(Listed(index)));
  };
  for (const auto& [damage, patch, opens] : damages) {
    std::string file = whole;
    for (const auto& [at, bytes] : patch) file.replace(at, bytes.size(), bytes);
    for (int how = 0; how <= 4; ++how) {
      SCOPED_TRACE(std::string(damage) + ", open " + std::to_string(how));
      testsupport::Put(index, file);
      reported_.clear();
      const bool opened = open(how);
      Use("");
      EXPECT_EQ(opened, opens) << LastReport();
      const std::size_t kept = opened && (how == 0 || how == 4) ? 24 : std::string::npos;  // (the header mended)
      EXPECT_EQ(Slurp(index).substr(0, kept), (kept == 24 ? whole : file).substr(0, kept));
      for (const auto& report : reported_) EXPECT_NE(report.code, 1202) << report.text;
    }
  }
}

// An index whose update failed half way is marked: every open asks for a
// rebuild, its record count is not trusted, and a rebuild clears the mark.
TEST_F(IndexFailures, AMarkedIndexAsksForARebuildAtEveryOpen) {
  const std::string table = Path("mark.dbf");
  const std::string index = Path("mark.ndx");
  MakeIndexedTable(table, Names(10, 14), index);
  EXPECT_EQ(IndexRecordCount(index), 10);
  std::string file = Slurp(index);
  file.replace(488, 8, std::string("\0\0\0\0\xff\xff\xff\xff", 8));
  testsupport::Put(index, file);
  EXPECT_EQ(IndexRecordCount(index), -1);
  for (int open = 0; open < 2; ++open) {
    TTzDbf dbf("mark");
    OpenAsTheProgram(dbf, table);
    reported_.clear();
    EXPECT_FALSE(dbf.SetIndexTo(Listed(index)));
    EXPECT_EQ(LastCode(), 222);
    EXPECT_NE(LastReport().find("an update of it failed before it was complete. Rebuild the index."),
              std::string::npos)
        << LastReport();
  }
  TTzDbf dbf("mark");
  OpenAsTheProgram(dbf, table);
  ASSERT_TRUE(dbf.IndexOn("NAME", index)) << LastReport();
  EXPECT_EQ(IndexRecordCount(index), 10);
  EXPECT_EQ(Walk(dbf).size(), 10u);
}

}  // namespace
