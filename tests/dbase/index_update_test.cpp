// Index commands and index update end to end: the engine's Append, Replace,
// DeleteRec and Pack keep the open indexes right, as Perl's XBase::Index
// lists them against the records Python's dbfread reads; node splits and
// the emptying of leaves checked in the file's bytes; the order commands,
// Reindex and their errors.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "dbase/dbase_test_support.h"
#include "dbase/engine/dbf_native.h"
#include "dbase/engine/engine_hooks.h"
#include "dbase/engine/navigation.h"
#include "dbase/expr/expr_hooks.h"
#include "dbase/index/index_commands.h"
#include "dbase/index/index_open.h"
#include "dbase/index/index_search.h"
#include "dbase/index/index_update.h"
#include "dbase/index_readers.h"

namespace {

using namespace dbase;
using dbtest::ExpectedEntries;
using dbtest::HexOf;
using dbtest::IndexEntry;
using testsupport::Slurp;

class IndexUpdateTest : public dbtest::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    InstallExprHooks();
    IndexInit();
  }
  void TearDown() override {
    IndexDone();
    RemoveExprHooks();
    EngineTest::TearDown();
  }

  // A table NAME (character, width), QTY, RNO, open EXCLUSIVE.
  void Table(const std::string& name, int width) {
    width_ = width;
    ASSERT_TRUE(CreateDbf(Path(name), {{"NAME", 'C', static_cast<std::uint8_t>(width), 0}, {"QTY", 'N', 7, 2}, {"RNO", 'N', 6, 0}}));
    ASSERT_TRUE(Use(Path(name) + " EXCLUSIVE"));
  }
  void Add(const std::string& name, double qty = 0) {
    ClearRecord();
    PutNativeString(FieldAddress(1), static_cast<std::size_t>(width_) + 1, name);
    PutNativeDouble(FieldAddress(2), qty);
    PutNativeInt32(FieldAddress(3), static_cast<std::int32_t>(RecCount() + 1));
    ASSERT_TRUE(Append()) << LastReport();
  }
  void SetName(std::int64_t record, const std::string& name) {
    Go(record);
    PutNativeString(FieldAddress(1), static_cast<std::size_t>(width_) + 1, name);
    ASSERT_TRUE(Replace()) << LastReport();
  }
  std::string Padded(const std::string& name) const {
    std::string key = name;
    key.resize(static_cast<std::size_t>(width_), ' ');
    return key;
  }
  // The engine's own walk in the current order.
  std::vector<std::int64_t> Walk() {
    std::vector<std::int64_t> seen;
    for (GoTop(); !dEOF(); Skip(1)) seen.push_back(RecNo());
    return seen;
  }
  static std::uint32_t Dword(const std::string& bytes, std::size_t at) {
    return ndx::GetDword(reinterpret_cast<const std::uint8_t*>(bytes.data()) + at);
  }
  static std::uint16_t Word(const std::string& bytes, std::size_t at) {
    return ndx::GetWord(reinterpret_cast<const std::uint8_t*>(bytes.data()) + at);
  }

  int width_ = 10;
};

TEST_F(IndexUpdateTest, FullLeafSplitsIntoThirteenAndTwelve) {
  for (const char* table : {"high", "low"}) {
    Table(table, 10);
    for (int i = 0; i < 25; ++i) Add("K" + std::to_string(10 + i));
    Index_On("NAME", Path(table));
    ASSERT_EQ(TzError, 0) << LastReport();
    EXPECT_EQ(Slurp(Path(table) + ".ndx").size(), 1024u);
    // A greatest key lands in the upper half, a least one in the lower.
    const bool high = std::string(table) == "high";
    Add(high ? "K99" : "A");
    const std::string bytes = Slurp(Path(table) + ".ndx");
    ASSERT_EQ(bytes.size(), 4u * 512);
    EXPECT_EQ(Dword(bytes, 0), 3u);  // root
    EXPECT_EQ(Dword(bytes, 4), 4u);  // next free
    EXPECT_EQ(Word(bytes, 512), high ? 13 : 14);
    EXPECT_EQ(Word(bytes, 1024), high ? 13 : 12);
    const std::size_t root = 3 * 512;
    EXPECT_EQ(Word(bytes, root), 1);
    EXPECT_EQ(Dword(bytes, root + 4), 1u);
    EXPECT_EQ(bytes.substr(root + 12, 10), Padded("K22"));  // the lower leaf's greatest key
    EXPECT_EQ(Dword(bytes, root + 24), 2u);                 // the upper leaf as extra child
    // The upper leaf starts with K23 (record 14) and ends with the greatest.
    EXPECT_EQ(bytes.substr(1024 + 12, 10), Padded("K23"));
    EXPECT_EQ(Dword(bytes, 1024 + 8), 14u);
    EXPECT_EQ(Walk().size(), 26u);
    Use("");
  }
}

TEST_F(IndexUpdateTest, UniqueKeysAndTheOnlyKeyDeleted) {
  Table("uniq", 10);
  for (const char* name : {"B", "A", "C"}) Add(name);
  Index_On("NAME", Path("uniq") + " UNIQUE");
  ASSERT_EQ(TzError, 0) << LastReport();
  const std::string before = Slurp(Path("uniq.ndx"));
  Add("A");  // the key is there already: nothing changes
  EXPECT_EQ(Slurp(Path("uniq.ndx")), before);
  EXPECT_EQ(Walk(), (std::vector<std::int64_t>{2, 1, 3}));
  // A replace that leaves the key alone touches no index either.
  Go(1);
  PutNativeDouble(FieldAddress(2), 7.5);
  ASSERT_TRUE(Replace());
  EXPECT_EQ(Slurp(Path("uniq.ndx")), before);
  // A changed key moves the entry.
  SetName(1, "D");
  EXPECT_EQ(Walk(), (std::vector<std::int64_t>{2, 3, 1}));
  Use("");

  // Every key deleted from a two-level tree: root 1 and next free 2, and the
  // next split writes block 2 again.
  Table("drain", 10);
  for (int i = 0; i < 30; ++i) Add("N" + std::to_string(100 + i));
  Index_On("NAME", Path("drain"));
  EXPECT_EQ(Dword(Slurp(Path("drain.ndx")), 0), 3u);
  IND* ind = ControllingIndex();
  ASSERT_NE(ind, nullptr);
  for (int i : {29, 0, 15, 14, 16, 1, 28, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 17, 18, 19, 20, 21, 22, 23, 24, 25,
                26, 27}) {
    ASSERT_EQ(DeleteKey(*ind, Padded("N" + std::to_string(100 + i)), i + 1), 0) << i;
  }
  EXPECT_EQ(DeleteKey(*ind, Padded("N100"), 1), -1);
  std::string bytes = Slurp(Path("drain.ndx"));
  EXPECT_EQ(Dword(bytes, 0), 1u);
  EXPECT_EQ(Dword(bytes, 4), 2u);
  if (dbtest::HasXBaseIndex()) {
    EXPECT_TRUE(dbtest::ReadIndexes(dir_, {Path("drain.ndx")}, false).begin()->second.empty());
  }
  for (int i = 0; i < 26; ++i) ASSERT_EQ(AppendIndex(*ind, Padded("N" + std::to_string(100 + i)), i + 1), 0);
  bytes = Slurp(Path("drain.ndx"));
  EXPECT_EQ(Dword(bytes, 0), 3u);
  EXPECT_EQ(Word(bytes, 2 * 512), 13);  // block 2: the upper half
  EXPECT_EQ(bytes.substr(2 * 512 + 12, 10), Padded("N113"));
}

// Keys leave their leaves until whole subtrees empty and the tree shrinks,
// then come back; the reader lists the index after every step of 20.
TEST_F(IndexUpdateTest, LeavesEmptyAndFillAgainInADeepTree) {
  if (!dbtest::HasXBaseIndex()) GTEST_SKIP() << "Perl's XBase::Index is missing";
  Table("deep", 40);  // 10 keys per node: 200 records make three levels
  std::vector<std::string> names;
  for (int i = 0; i < 200; ++i) {
    names.push_back("A" + std::to_string(1000 + i));
    Add(names.back());
  }
  Index_On("NAME", Path("deep"));
  ASSERT_EQ(TzError, 0) << LastReport();
  std::vector<std::string> files;
  std::vector<std::vector<IndexEntry>> expected;
  auto snapshot = [&]() {
    const std::string file = Path("deep_" + std::to_string(files.size()) + ".ndx");
    std::filesystem::copy_file(Path("deep.ndx"), file);
    files.push_back(file);
    std::vector<dbtest::ReadRecord> records;
    for (std::size_t i = 0; i < names.size(); ++i) {
      records.push_back({static_cast<long>(i + 1), HexOf(Padded(names[i])), 0, false});
    }
    expected.push_back(ExpectedEntries(records, false));
  };
  std::vector<int> order(200);
  for (int i = 0; i < 200; ++i) order[static_cast<std::size_t>(i)] = i;
  std::mt19937 random(7);
  std::vector<int> shuffled = order;
  std::shuffle(shuffled.begin(), shuffled.end(), random);
  const std::vector<std::pair<std::vector<int>, std::string>> rounds = {
      {order, "Z"}, {std::vector<int>(order.rbegin(), order.rend()), "B"}, {shuffled, "M"}};
  for (const auto& [sequence, prefix] : rounds) {
    int step = 0;
    for (int i : sequence) {
      names[static_cast<std::size_t>(i)] = prefix + std::to_string(5000 - i);
      SetName(i + 1, names[static_cast<std::size_t>(i)]);
      if (++step % 20 == 0) snapshot();
    }
  }
  const auto listed = dbtest::ReadIndexes(dir_, files, false);
  for (std::size_t k = 0; k < files.size(); ++k) {
    ASSERT_EQ(listed.at(files[k]), expected[k]) << files[k];
  }
  std::vector<std::int64_t> walk;
  for (const IndexEntry& e : expected.back()) walk.push_back(e.second);
  EXPECT_EQ(Walk(), walk);
}

// The heart: random Appends, Replaces and Deletes (and a Pack) on a table
// with a character and a numeric index, some of it in natural order; after
// every 100 operations both indexes must list exactly the sorted (key,
// record) pairs of all records the table reader finds.
TEST_F(IndexUpdateTest, RandomChangesKeepBothIndexesExact) {
  if (!dbtest::HasXBaseIndex() || !dbtest::HasPythonModule("dbfread")) {
    GTEST_SKIP() << "Perl's XBase::Index or Python's dbfread is missing";
  }
  Table("rand", 8);
  std::mt19937 random(20240607);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  auto randomName = [&]() {
    std::string name;
    for (int i = 0, n = 1 + pick(4); i < n; ++i) name.push_back(static_cast<char>('A' + pick(3)));
    return name;
  };
  auto randomQty = [&]() { return static_cast<double>(pick(401) - 200) / 4.0; };
  for (int i = 0; i < 100; ++i) Add(randomName(), randomQty());
  Index_On("QTY", Path("qty"));
  Index_On("NAME", Path("names"));
  Set_Index_To(Listed("names") + " " + Listed("qty"));
  ASSERT_EQ(TzError, 0) << LastReport();
  ASSERT_EQ(CurrentOrder(), 1);

  std::vector<std::string> tables, names, quantities;
  for (int op = 1; op <= 10000; ++op) {
    const int kind = pick(100);
    if (kind < 45) {
      Add(randomName(), randomQty());
    } else if (kind < 85) {
      Go(1 + pick(static_cast<int>(RecCount())));
      const int what = pick(4);
      if (what != 1) PutNativeString(FieldAddress(1), 9, randomName());
      if (what != 0) PutNativeDouble(FieldAddress(2), randomQty());
      ASSERT_TRUE(Replace()) << op << ": " << LastReport();
    } else if (kind < 97) {
      Go(1 + pick(static_cast<int>(RecCount())));
      ASSERT_TRUE(Deleted() ? RecallRec() : DeleteRec()) << LastReport();
    } else if (kind < 99) {
      Set_Order_To(pick(3));
      ASSERT_EQ(TzError, 0) << LastReport();
    }
    if (op == 5000) {
      // Pack rebuilds the indexes; the record numbers move, so RNO follows
      // (a change outside every key).
      ASSERT_TRUE(Pack()) << LastReport();
      const std::string namesBefore = Slurp(Path("names.ndx"));
      for (std::int64_t r = 1; r <= RecCount(); ++r) {
        Go(r);
        PutNativeInt32(FieldAddress(3), static_cast<std::int32_t>(r));
        ASSERT_TRUE(Replace());
      }
      EXPECT_EQ(Slurp(Path("names.ndx")), namesBefore);
    }
    ASSERT_EQ(TzError, 0) << op << ": " << LastReport();
    if (op % 100 == 0) {
      const std::string stem = Path("snap" + std::to_string(op / 100));
      std::filesystem::copy_file(Path("rand.dbf"), stem + ".dbf");
      std::filesystem::copy_file(Path("names.ndx"), stem + "n.ndx");
      tables.push_back(stem + ".dbf");
      names.push_back(stem + "n.ndx");
      if (op % 1000 == 0) {
        std::filesystem::copy_file(Path("qty.ndx"), stem + "q.ndx");
        quantities.push_back(stem + "q.ndx");
      }
    }
  }
  const auto records = dbtest::ReadTables(dir_, tables, 8);
  const auto nameLists = dbtest::ReadIndexes(dir_, names, false);
  const auto qtyLists = dbtest::ReadIndexes(dir_, quantities, true);
  for (std::size_t k = 0; k < tables.size(); ++k) {
    const std::vector<dbtest::ReadRecord>& rows = records.at(tables[k]);
    ASSERT_GE(rows.size(), 100u);
    ASSERT_EQ(nameLists.at(names[k]), ExpectedEntries(rows, false)) << names[k];
    const std::string q = tables[k].substr(0, tables[k].size() - 4) + "q.ndx";
    if (qtyLists.count(q) != 0) {
      ASSERT_EQ(qtyLists.at(q), ExpectedEntries(rows, true)) << q;
    }
  }
  EXPECT_EQ(qtyLists.size(), 10u);
  // The engine walks the same order.
  Set_Order_To(1);
  std::vector<std::int64_t> walk;
  for (const IndexEntry& e : ExpectedEntries(records.at(tables.back()), false)) walk.push_back(e.second);
  EXPECT_EQ(Walk(), walk);
}

TEST_F(IndexUpdateTest, OrderCommandsAndReindex) {
  Table("cmd", 10);
  const std::vector<std::pair<std::string, double>> rows = {{"DELTA", 3}, {"ALPHA", 1}, {"CHARLIE", 4},
                                                            {"BRAVO", 2}, {"ALPHA", 5}};
  for (const auto& [name, qty] : rows) Add(name, qty);
  Index_On("QTY", Path("byqty"));
  Index_On("RNO*-1", Path("byrno"));
  Index_On("NAME", Path("byname") + " UNIQUE");
  ASSERT_EQ(TzError, 0) << LastReport();
  EXPECT_EQ(Walk(), (std::vector<std::int64_t>{2, 4, 3, 1}));
  // Three names: orders 1, 2 and 3, the first controlling; the word UNIQUE
  // only follows the name (the file's own flag rules).
  Set_Index_To(Listed("byqty") + " UNIQUE " + Listed("byrno") + " " + Listed("byname"));
  ASSERT_EQ(TzError, 0) << LastReport();
  EXPECT_EQ(CurrentOrder(), 1);
  EXPECT_EQ(Walk(), (std::vector<std::int64_t>{2, 4, 1, 3, 5}));
  Set_Order_To(2);
  EXPECT_EQ(CurrentOrder(), 2);
  EXPECT_EQ(Walk(), (std::vector<std::int64_t>{5, 4, 3, 2, 1}));
  Set_Order_To(3);
  EXPECT_EQ(Walk(), (std::vector<std::int64_t>{2, 4, 3, 1}));
  Go(3);
  EXPECT_EQ(IndexKeyText(1), "CHARLIE   ");
  EXPECT_EQ(IndexKeyText(3), "   4.00");  // QTY: its width and decimals
  Set_Order_To(0);
  EXPECT_EQ(CurrentOrder(), 0);
  EXPECT_EQ(Walk(), (std::vector<std::int64_t>{1, 2, 3, 4, 5}));
  Go(4);
  EXPECT_EQ(NaturalKeyText(), "Rec:         4");
  // Changes in natural order still reach every index.
  Add("ECHO", 0.5);
  SetName(2, "ZULU");
  Set_Order_To(1);
  EXPECT_EQ(CurrentOrder(), 1);
  EXPECT_EQ(Walk(), (std::vector<std::int64_t>{6, 2, 4, 1, 3, 5}));
  reported_.clear();
  Set_Order_To(17);
  EXPECT_EQ(LastCode(), 220);
  EXPECT_NE(LastReport().find("Invalid Index Order Specified: SET_ORDER_TO. [Set_Order_To(17)] (DBF=cmd.dbf)"),
            std::string::npos)
      << LastReport();
  CloseIndex(2);
  Set_Order_To(2);
  EXPECT_EQ(LastCode(), 221);
  EXPECT_EQ(CurrentOrder(), 1);

  // Reindex writes every file as a fresh build would, with its options and
  // the order kept.
  Set_Index_To(Listed("byname") + " " + Listed("byqty") + " NOCACHE");
  Set_Order_To(2);
  Reindex();
  ASSERT_EQ(TzError, 0) << LastReport();
  EXPECT_EQ(CurrentOrder(), 2);
  EXPECT_EQ(ControllingIndex()->fileName, Path("byqty.ndx"));
  Set_Order_To(1);
  EXPECT_TRUE(ControllingIndex()->unique);
  const std::string reindexedName = Slurp(Path("byname.ndx"));
  const std::string reindexedQty = Slurp(Path("byqty.ndx"));
  Index_On("NAME", Path("byname") + " UNIQUE");
  EXPECT_EQ(Slurp(Path("byname.ndx")), reindexedName);
  Index_On("QTY", Path("byqty"));
  EXPECT_EQ(Slurp(Path("byqty.ndx")), reindexedQty);

  // Errors of the commands.
  reported_.clear();
  SetIndexTo(Path("byqty"), 2);
  EXPECT_EQ(LastCode(), 220);  // open in slot 1 already
  EXPECT_NE(LastReport().find("Index file already open: "), std::string::npos);
  SetIndexTo(Path("byqty"), 17);
  EXPECT_EQ(LastCode(), 220);
  SetIndexTo(Path("missing"), 1);
  EXPECT_EQ(LastCode(), 2);
  Use("");
  Set_Order_To(1);
  EXPECT_EQ(LastCode(), 215);
  EXPECT_FALSE(SetIndexTo(Path("byqty"), 1));
  EXPECT_EQ(LastCode(), 215);
}

}  // namespace
