// Index files end to end: built over tables of several sizes (the largest
// through the run file), read back by an independent NDX reader, searched
// with Find and walked in index order by the engine's moves; the anchor and
// node bytes of the small cases, UNIQUE, key makers, and the errors of
// building and opening.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>

#include "dbase/dbase_test_support.h"
#include "dbase/index_readers.h"
#include "dbase/engine/dbf_native.h"
#include "dbase/engine/engine_hooks.h"
#include "dbase/engine/navigation.h"
#include "dbase/expr/expr_hooks.h"
#include "dbase/index/day_numbers.h"
#include "dbase/index/index_anchor.h"
#include "dbase/index/index_build.h"
#include "dbase/index/index_commands.h"
#include "dbase/index/index_open.h"
#include "dbase/index/index_search.h"
#include "dbase/index/index_sort.h"
#include "dbase/index/key_primitives.h"

namespace {

using namespace dbase;
using testsupport::Slurp;

// One record of the test tables.
struct Row {
  std::string name;  // C 10
  double qty;        // N 9,2
  double born;       // D, as a day number
};

// Deterministic rows with many equal names and quantities.
std::vector<Row> MakeRows(int n) {
  std::vector<Row> rows;
  std::uint32_t seed = 12345;
  auto next = [&] {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) & 0x7fff;
  };
  for (int i = 0; i < n; ++i) {
    Row row;
    const int length = 1 + static_cast<int>(next() % 9);
    for (int j = 0; j < length; ++j) row.name.push_back(static_cast<char>('A' + next() % 6));
    row.name.resize(10, ' ');
    row.qty = static_cast<double>(static_cast<int>(next() % 4000) - 2000) / 4.0;
    row.born = YmdToJulian(1900 + static_cast<int>(next() % 150), 1 + static_cast<int>(next() % 12),
                           1 + static_cast<int>(next() % 28));
    rows.push_back(row);
  }
  return rows;
}

class IndexTest : public dbtest::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    InstallExprHooks();
    ExactFind = false;
    NearFind = false;
    // The engine's moves in index order, as the index commands wire them.
    IndexHooks.indexActive = [] {
      return ControllingIndex() != nullptr && !IndexSlots[static_cast<std::size_t>(CurrentArea)].naturalOrder;
    };
    IndexHooks.firstRecord = [] { return static_cast<std::int32_t>(GoTopIndexed()); };
    IndexHooks.lastRecord = [] { return static_cast<std::int32_t>(GoBottomIndexed()); };
    IndexHooks.nextRecord = [] { return static_cast<std::int32_t>(FindNextRec()); };
    IndexHooks.priorRecord = [] { return static_cast<std::int32_t>(FindPriorRec()); };
    IndexHooks.atEnd = IndexEof;
    IndexHooks.atBeginning = IndexBof;
    IndexHooks.synchronise = SyncIndexToRecord;
    IndexHooks.setBeginning = SetIndexBof;
    IndexHooks.setEnd = SetIndexEof;
  }
  void TearDown() override {
    for (int area = 1; area <= kMaxWorkAreas; ++area) {
      Select(area);
      CloseAllIndexes();
    }
    IndexHooks = IndexHookTable{};
    RemoveExprHooks();
    EngineTest::TearDown();
  }

  // A table of the rows, left open EXCLUSIVE in the current area.
  std::string Table(const std::string& name, const std::vector<Row>& rows) {
    const std::string path = Path(name);
    EXPECT_TRUE(CreateDbf(path, {{"NAME", 'C', 10, 0}, {"QTY", 'N', 9, 2}, {"BORN", 'D', 8, 0}}));
    EXPECT_TRUE(Use(path + " EXCLUSIVE"));
    for (const Row& row : rows) {
      ClearRecord();
      PutNativeString(FieldAddress(1), 11, row.name);
      PutNativeDouble(FieldAddress(2), row.qty);
      const std::string dtos = JulianToDtos(row.born);
      PutNativeString(FieldAddress(3), 11, dtos.substr(4, 2) + "/" + dtos.substr(6, 2) + "/" + dtos.substr(0, 4));
      EXPECT_TRUE(Append());
    }
    return path;
  }

  // The (key, record) list of an index file as the independent reader walks
  // it: hexadecimal bytes for character keys, the number for others.
  std::vector<std::pair<std::string, int>> ReadWithXBase(const std::string& file, bool numeric) {
    const std::string script = Path("walk.pl");
    std::ofstream(script) << "use XBase::Index;\n"
                             "my $i = XBase::Index->new($ARGV[0]) or die XBase::Index->errstr;\n"
                             "$i->prepare_select;\n"
                             "while (my ($k, $v) = $i->fetch) {\n"
                             "  print((" << (numeric ? "sprintf('%.17g', $k)" : "unpack('H*', $k)")
                          << "), ' ', $v, \"\\n\");\n}\n";
    int code = -1;
    const std::string out = dbtest::RunCommand("perl " + dbtest::Quoted(script) + " " + dbtest::Quoted(file) + " 2>&1", &code);
    EXPECT_EQ(code, 0) << out;
    std::vector<std::pair<std::string, int>> list;
    std::istringstream lines(out);
    std::string key;
    int record = 0;
    while (lines >> key >> record) list.emplace_back(key, record);
    return list;
  }

  static std::string Hex(const std::string& bytes) { return dbtest::HexOf(bytes); }
  static std::string Number(double x) { return dbtest::NumberText(x); }

  // The record numbers of the rows in key order (ties by record number).
  template <typename Key>
  static std::vector<int> Order(const std::vector<Row>& rows, Key key) {
    std::vector<int> order(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) order[i] = static_cast<int>(i) + 1;
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return key(rows[static_cast<std::size_t>(a) - 1]) <
                                                key(rows[static_cast<std::size_t>(b) - 1]); });
    return order;
  }

  // The engine's walk in index order from the top, and from the bottom back.
  std::vector<int> WalkForward() {
    std::vector<int> seen;
    for (GoTop(); !dEOF(); Skip(1)) seen.push_back(static_cast<int>(RecNo()));
    return seen;
  }
  std::vector<int> WalkBackward() {
    std::vector<int> seen;
    for (GoBottom(); !dBOF(); Skip(-1)) seen.push_back(static_cast<int>(RecNo()));
    std::reverse(seen.begin(), seen.end());
    return seen;
  }

  bool HasXBase() {
    int code = -1;
    dbtest::RunCommand("perl -MXBase::Index -e 1 2>/dev/null", &code);
    return code == 0;
  }

  // Checks one index of the open table against the expected order.
  void CheckIndex(const std::string& file, const std::vector<int>& order, const std::vector<std::string>& keys,
                  bool numeric) {
    if (HasXBase()) {
      const auto listed = ReadWithXBase(file, numeric);
      ASSERT_EQ(listed.size(), order.size());
      for (std::size_t i = 0; i < order.size(); ++i) {
        ASSERT_EQ(listed[i].second, order[i]) << i;
        ASSERT_EQ(listed[i].first, keys[i]) << i;
      }
    }
    ASSERT_TRUE(OpenIndex(file, 1)) << LastReport();
    EXPECT_EQ(WalkForward(), order);
    EXPECT_EQ(WalkBackward(), order);
    CloseIndex(1);
  }
};

TEST_F(IndexTest, CharacterNumericAndDateIndexesInKeyOrder) {
  // 651 character keys (25 a leaf) and 993 numeric ones (31 a leaf) end the
  // build just after an inner node was written full: the last leaf then
  // hangs directly below the level above it.
  for (const int n : {26, 651, 993, 1000, 20000}) {
    SCOPED_TRACE(n);
    const std::vector<Row> rows = MakeRows(n);
    Table("t" + std::to_string(n), rows);
    const std::string names = Path("names" + std::to_string(n));
    ASSERT_TRUE(MakeIndex(names, "name", nullptr, nullptr, {})) << LastReport();
    ASSERT_TRUE(MakeIndex(Path("qty.ndx"), "QTY", nullptr, nullptr, {})) << LastReport();
    ASSERT_TRUE(MakeIndex(Path("born.NDX"), "BORN", nullptr, nullptr, {})) << LastReport();
    std::vector<int> order = Order(rows, [](const Row& r) { return r.name; });
    std::vector<std::string> keys;
    for (const int r : order) keys.push_back(Hex(rows[static_cast<std::size_t>(r) - 1].name));
    CheckIndex(names + ".ndx", order, keys, false);
    if (n == 651) {
      const std::string bytes = Slurp(names + ".ndx");
      const auto* b = reinterpret_cast<const std::uint8_t*>(bytes.data());
      const std::uint8_t* root = b + ndx::GetDword(b) * 512;
      const std::uint8_t* extra = b + ndx::GetDword(root + 4 + ndx::GetWord(root) * 20) * 512;
      EXPECT_NE(ndx::GetDword(b + ndx::GetDword(root + 4) * 512 + 4), 0u);  // first child: inner
      EXPECT_EQ(ndx::GetDword(extra + 4), 0u);                              // extra child: a leaf
    }
    order = Order(rows, [](const Row& r) { return r.qty; });
    keys.clear();
    for (const int r : order) keys.push_back(Number(rows[static_cast<std::size_t>(r) - 1].qty));
    CheckIndex(Path("qty.ndx"), order, keys, true);
    order = Order(rows, [](const Row& r) { return r.born; });
    keys.clear();
    for (const int r : order) keys.push_back(Number(rows[static_cast<std::size_t>(r) - 1].born));
    CheckIndex(Path("born.NDX"), order, keys, true);
    const IndexInfoRecord info = IndexInfo(Path("qty"));
    EXPECT_EQ(info.keyExpression, "QTY");
    EXPECT_EQ(info.keyType, 'N');
    EXPECT_EQ(info.keyLength, 8);
    EXPECT_EQ(info.recordCount, n);
    EXPECT_EQ(info.tableName, "t" + std::to_string(n) + ".dbf");
    Use("");
  }
  if (!HasXBase()) GTEST_SKIP() << "Perl's XBase::Index is missing: only the engine's own walks were compared";
}

TEST_F(IndexTest, EmptyTableAndExactlyOneFullLeaf) {
  Table("empty", {});
  ASSERT_TRUE(MakeIndex(Path("e"), "NAME", nullptr, nullptr, {}));
  const std::string bytes = Slurp(Path("e.ndx"));
  ASSERT_EQ(bytes.size(), 1024u);
  auto dword = [&](std::size_t at) {
    return ndx::GetDword(reinterpret_cast<const std::uint8_t*>(bytes.data()) + at);
  };
  auto word = [&](std::size_t at) { return ndx::GetWord(reinterpret_cast<const std::uint8_t*>(bytes.data()) + at); };
  EXPECT_EQ(dword(0), 1u);   // root
  EXPECT_EQ(dword(4), 2u);   // next free
  EXPECT_EQ(bytes[9], 'C');
  EXPECT_EQ(word(12), 10);   // key length
  EXPECT_EQ(word(14), 25);   // keys per node: 504 div 20
  EXPECT_EQ(word(16), 0);
  EXPECT_EQ(word(18), 20);   // entry size
  EXPECT_EQ(std::string(bytes.data() + 24), "NAME");
  EXPECT_EQ(dword(488), ~0u);
  EXPECT_EQ(dword(492), 0u);
  EXPECT_EQ(std::string(bytes.data() + 496), "empty.dbf");
  EXPECT_EQ(bytes.substr(512), std::string(512, '\0'));
  if (HasXBase()) {
    EXPECT_TRUE(ReadWithXBase(Path("e.ndx"), false).empty());
  }
  ASSERT_TRUE(OpenIndex(Path("e"), 1));
  EXPECT_TRUE(IndexEof());
  EXPECT_TRUE(IndexBof());
  EXPECT_FALSE(Find("A"));
  CloseIndex(1);
  Use("");

  // 25 keys fill one leaf; the 26th makes two leaves under a root.
  std::vector<Row> rows = MakeRows(26);
  Table("full", std::vector<Row>(rows.begin(), rows.begin() + 25));
  ASSERT_TRUE(MakeIndex(Path("f25"), "NAME", nullptr, nullptr, {}));
  EXPECT_EQ(Slurp(Path("f25.ndx")).size(), 1024u);
  ClearRecord();
  PutNativeString(FieldAddress(1), 11, rows[25].name);
  ASSERT_TRUE(Append());
  ASSERT_TRUE(MakeIndex(Path("f26"), "NAME", nullptr, nullptr, {}));
  const std::string tree = Slurp(Path("f26.ndx"));
  ASSERT_EQ(tree.size(), 4u * 512);
  const auto* b = reinterpret_cast<const std::uint8_t*>(tree.data());
  EXPECT_EQ(ndx::GetDword(b), 3u);
  EXPECT_EQ(ndx::GetDword(b + 4), 4u);
  EXPECT_EQ(ndx::GetWord(b + 512), 25);
  EXPECT_EQ(ndx::GetWord(b + 1024), 1);
  const std::uint8_t* root = b + 3 * 512;
  EXPECT_EQ(ndx::GetWord(root), 1);
  EXPECT_EQ(ndx::GetDword(root + 4), 1u);   // child: leaf 1
  EXPECT_EQ(ndx::GetDword(root + 8), 0u);   // no record in inner nodes
  EXPECT_EQ(std::memcmp(root + 12, b + 512 + 4 + 24 * 20 + 8, 10), 0);  // leaf 1's last key
  EXPECT_EQ(ndx::GetDword(root + 4 + 20), 2u);  // extra child: leaf 2
}

TEST_F(IndexTest, FindAndNavigation) {
  const std::vector<Row> rows = {{"BETA", 1, 0}, {"ABC", 2, 0}, {"ALPHA", 3, 0}, {"ABC", 4, 0}, {"GAMMA", 5, 0},
                                 {"ABD", 6, 0}};
  Table("find", rows);
  ASSERT_TRUE(MakeIndex(Path("find"), "NAME", nullptr, nullptr, {}));
  ASSERT_TRUE(MakeIndex(Path("qty"), "QTY", nullptr, nullptr, {}));
  ASSERT_TRUE(OpenIndex(Path("find.ndx"), 1));
  EXPECT_EQ(WalkForward(), (std::vector<int>{2, 4, 6, 3, 1, 5}));
  EXPECT_TRUE(Find("AB"));
  EXPECT_EQ(RecNo(), 2);
  Skip(1);
  EXPECT_EQ(RecNo(), 4);
  EXPECT_TRUE(Find("ABD"));
  EXPECT_EQ(RecNo(), 6);
  EXPECT_TRUE(Find("G"));
  EXPECT_EQ(RecNo(), 5);
  Skip(1);
  EXPECT_TRUE(dEOF());
  SetExactOn();
  EXPECT_FALSE(Find("AB"));
  EXPECT_EQ(RecNo(), 7);  // the end state
  EXPECT_TRUE(Find("ALPHA"));
  EXPECT_EQ(RecNo(), 3);
  SetExactOff();
  EXPECT_FALSE(Find("ZZZ"));
  EXPECT_TRUE(dEOF());
  EXPECT_EQ(RecNo(), 7);
  NearFind = true;
  EXPECT_FALSE(Find("ZZZ"));
  EXPECT_EQ(RecNo(), 5);  // on the last key
  EXPECT_FALSE(Find("ABCA"));
  EXPECT_EQ(RecNo(), 6);  // the nearest greater key
  NearFind = false;
  // Deleted records are hidden from Find while they are ignored.
  Go(2);
  ASSERT_TRUE(DeleteRec());
  SetIgnoreDel(true);
  EXPECT_TRUE(Find("ABC"));
  EXPECT_EQ(RecNo(), 4);
  // Opened again, the index stands on its first visible key; the work area
  // stays where it was.
  Go(5);
  CloseIndex(1);
  ASSERT_TRUE(OpenIndex(Path("find"), 1));
  EXPECT_EQ(RecNo(), 5);
  EXPECT_EQ(ControllingIndex()->RecordAt(ControllingIndex()->entryIndex), 4u);
  SetIgnoreDel(false);
  // The next key after the last stays at the end; a second call keeps it.
  GoBottom();
  EXPECT_EQ(FindNextRec(), 5);
  EXPECT_TRUE(IndexEof());
  EXPECT_EQ(FindNextRec(), 5);
  EXPECT_TRUE(IndexEof());
  // A second index in slot 2: numeric keys found by their text.
  ASSERT_TRUE(OpenIndex(Path("qty"), 2));
  CloseIndex(1);
  ASSERT_TRUE(OpenIndex(Path("qty"), 1) == false);  // already open in slot 2
  EXPECT_EQ(LastCode(), 220);
  CloseIndex(2);
  ASSERT_TRUE(OpenIndex(Path("QTY.NDX"), 1));  // any case of the name
  EXPECT_TRUE(Find("4"));
  EXPECT_EQ(RecNo(), 4);
  EXPECT_FALSE(Find("4.5"));
  IndexSlots[1].naturalOrder = true;
  EXPECT_FALSE(Find("4"));
  EXPECT_EQ(LastCode(), 254);
  EXPECT_NE(LastReport().find("Cannot use Find() with index order 0 (natural order) [Find]"), std::string::npos);
  IndexSlots[1].naturalOrder = false;
  ASSERT_TRUE(OpenIndex(Path("find"), 1) == false);
  EXPECT_EQ(LastCode(), 254);
  EXPECT_NE(LastReport().find("Internal error: IND pointer already allocated"), std::string::npos);
}

TEST_F(IndexTest, UniqueDescendingSoundexAndKeyMakers) {
  const std::vector<Row> rows = {{"Robert", 1, 0}, {"Smith", 2, 0}, {"Rupert", 3, 0}, {"Smyth", 4, 0},
                                 {"Adams", 5, 0}};
  Table("km", rows);
  ASSERT_TRUE(MakeIndex(Path("u"), "SOUNDEX(NAME)", nullptr, nullptr, {true}));
  ASSERT_TRUE(OpenIndex(Path("u"), 1));
  EXPECT_EQ(WalkForward(), (std::vector<int>{5, 1, 2}));  // A352, R163 (lowest record), S530
  CloseIndex(1);
  // A key maker with SOUNDEX: the key is the code of its text.
  KeyMakerProc maker = [](void* data, int, std::string& key) {
    ++*static_cast<int*>(data);
    key = TzTrimRight(FieldAsString(1));
  };
  int calls = 0;
  MakeIndexOptions soundex;
  soundex.soundex = true;
  ASSERT_TRUE(MakeIndex(Path("s"), "", maker, &calls, soundex));
  EXPECT_EQ(calls, 5 + 0);
  EXPECT_EQ(std::string(Slurp(Path("s.ndx")).data() + 24), "USER DEFINED KEYMAKER WAS USED TO BUILD THIS INDEX");
  EXPECT_FALSE(OpenIndex(Path("s"), 1));
  EXPECT_EQ(LastCode(), 223);
  EXPECT_NE(LastReport().find("Key maker function required, \""), std::string::npos);
  EXPECT_NE(LastReport().find("\" was created using KeyMaker function."), std::string::npos);
  ASSERT_TRUE(OpenIndex(Path("s"), 1, maker, &calls, {true, false})) << LastReport();
  EXPECT_EQ(WalkForward(), (std::vector<int>{5, 1, 3, 2, 4}));
  EXPECT_TRUE(Find("Rupurt"));  // searched by its code
  EXPECT_EQ(RecNo(), 1);
  CloseIndex(1);
  EXPECT_FALSE(OpenIndex(Path("u"), 1, maker, &calls));
  EXPECT_EQ(LastCode(), 223);
  EXPECT_NE(LastReport().find("Attempted use of Key Maker function with index file created with a dBASE key "
                              "expression [OpenIndex/Set_Index_ToCB("),
            std::string::npos);
  // DESCENDING turns the order of the texts round.
  MakeIndexOptions descending;
  descending.descending = true;
  // A key maker's keys keep one length: trimmed texts do not, and their
  // build is refused, naming the record, before any file is written.
  EXPECT_FALSE(MakeIndex(Path("d"), "", maker, &calls, descending));
  EXPECT_EQ(LastCode(), 266);
  EXPECT_NE(LastReport().find("The key of record 2 has 5 characters, the index's keys 6"), std::string::npos)
      << LastReport();
  EXPECT_FALSE(std::filesystem::exists(Path("d.ndx")));
  KeyMakerProc padded = [](void*, int, std::string& key) { key = FieldAsString(1); };
  ASSERT_TRUE(MakeIndex(Path("d"), "", padded, nullptr, descending));
  ASSERT_TRUE(OpenIndex(Path("d"), 1, padded, nullptr, {false, true})) << LastReport();
  EXPECT_EQ(WalkForward(), (std::vector<int>{4, 2, 3, 1, 5}));
  EXPECT_TRUE(Find("Smith"));
  EXPECT_EQ(RecNo(), 2);
}

// A key maker whose keys of the records agree in length but whose blank
// record (where every append starts) gives another length is refused by the
// build, naming the blank record (not a record number the table lacks), and
// no index file is left, also through IndexOn, which builds and opens.
TEST_F(IndexTest, AKeyMakerWhoseBlankRecordKeyDiffersLeavesNoFile) {
  Table("trim", {{"Smith", 1, 0}, {"Jones", 2, 0}, {"Brown", 3, 0}});
  KeyMakerProc trimmed = [](void*, int, std::string& key) { key = TzTrimRight(FieldAsString(1)); };
  EXPECT_FALSE(MakeIndex(Path("t"), "", trimmed, nullptr, {}));
  EXPECT_EQ(LastCode(), 266);
  EXPECT_NE(LastReport().find("The key of a new (blank) record has 0 characters, the index's keys 5"),
            std::string::npos)
      << LastReport();
  EXPECT_EQ(LastReport().find("record 4"), std::string::npos) << LastReport();
  EXPECT_FALSE(std::filesystem::exists(Path("t.ndx")));
  reported_.clear();
  IndexOn(Path("t"), trimmed, nullptr);
  EXPECT_EQ(LastCode(), 266);
  EXPECT_NE(LastReport().find("The key of a new (blank) record has 0 characters"), std::string::npos)
      << LastReport();
  EXPECT_FALSE(std::filesystem::exists(Path("t.ndx")));
  EXPECT_EQ(ControllingIndex(), nullptr);
}

TEST_F(IndexTest, BuildAndOpenErrors) {
  Table("err", MakeRows(3));
  EXPECT_FALSE(MakeIndex(Path("x"), "NAME + '" + std::string(95, 'x') + "'", nullptr, nullptr, {}));
  EXPECT_EQ(LastCode(), 300);
  EXPECT_NE(LastReport().find("Expression length exceeds 100 bytes"), std::string::npos);
  EXPECT_NE(LastReport().find(" [MakeIndex(<"), std::string::npos);
  EXPECT_FALSE(MakeIndex(Path("x"), "LEFT(NAME, 0)", nullptr, nullptr, {}));
  EXPECT_EQ(LastCode(), 266);
  EXPECT_NE(LastReport().find("Incorrect key length: Must be 1 to 100."), std::string::npos);
  EXPECT_FALSE(MakeIndex(Path("x"), "REPLICATE('x', 101)", nullptr, nullptr, {}));
  EXPECT_EQ(LastCode(), 266);
  EXPECT_FALSE(MakeIndex(Path("x"), "NAME = 'A'", nullptr, nullptr, {}));
  EXPECT_EQ(LastCode(), 254);
  EXPECT_NE(LastReport().find("Wrong parser return type"), std::string::npos);
  EXPECT_FALSE(MakeIndex(Path("x"), "NAME +", nullptr, nullptr, {}));
  EXPECT_EQ(LastCode(), 351);
  EXPECT_FALSE(MakeIndex("", "NAME", nullptr, nullptr, {}));
  EXPECT_EQ(LastCode(), 220);
  EXPECT_FALSE(MakeIndex(Path("x"), "", nullptr, nullptr, {}));
  EXPECT_NE(LastReport().find("Neither Expression nor KeyMaker defined"), std::string::npos);
  // A file of one block is not an index.
  testsupport::Put(Path("short.ndx"), std::string(512, '\0'));
  EXPECT_FALSE(OpenIndex(Path("short"), 1));
  EXPECT_EQ(LastCode(), 222);
  EXPECT_NE(LastReport().find("Unable to open index: "), std::string::npos);
  // A damaged anchor is refused, never read past its blocks.
  ASSERT_TRUE(MakeIndex(Path("good"), "NAME", nullptr, nullptr, {}));
  std::string bytes = Slurp(Path("good.ndx"));
  bytes[12] = 120;  // key length beyond 100
  testsupport::Put(Path("bad.ndx"), bytes);
  EXPECT_FALSE(OpenIndex(Path("bad"), 1));
  EXPECT_EQ(LastCode(), 222);
  EXPECT_NE(LastReport().find("Invalid dBASE key expression or corrupted index file "), std::string::npos);
  bytes = Slurp(Path("good.ndx"));
  bytes[512] = 100;  // a count beyond the node
  testsupport::Put(Path("bad2.ndx"), bytes);
  EXPECT_FALSE(OpenIndex(Path("bad2"), 1) && TzError == 0);
  EXPECT_EQ(LastCode(), 222);
  CloseIndex(1);
  // A wrong next-free block is put right at open.
  bytes = Slurp(Path("good.ndx"));
  bytes[4] = 9;
  testsupport::Put(Path("next.ndx"), bytes);
  ASSERT_TRUE(OpenIndex(Path("next"), 1));
  CloseIndex(1);
  EXPECT_EQ(Slurp(Path("next.ndx"))[4], 2);
  // A node number 0 in a child pointer is reported, not read.
  Use("");
  Table("big", MakeRows(60));
  ASSERT_TRUE(MakeIndex(Path("big"), "NAME", nullptr, nullptr, {}));
  bytes = Slurp(Path("big.ndx"));
  const std::uint32_t root = ndx::GetDword(reinterpret_cast<const std::uint8_t*>(bytes.data()));
  auto* rootNode = reinterpret_cast<std::uint8_t*>(bytes.data()) + root * 512;
  ndx::PutDword(rootNode + 4 + ndx::GetWord(rootNode) * 20, 0);  // the extra child
  testsupport::Put(Path("zero.ndx"), bytes);
  ASSERT_TRUE(OpenIndex(Path("zero"), 1));
  reported_.clear();
  GoBottom();
  bool reportedNodeZero = false;
  for (const auto& r : reported_) reportedNodeZero |= r.text.find("Invalid Node Number (0) in DBF Area 1") != std::string::npos;
  EXPECT_TRUE(reportedNodeZero);
}

TEST_F(IndexTest, SharedTableRebuildsOverTheOldFile) {
  const std::vector<Row> rows = MakeRows(40);
  const std::string table = Table("shared", rows);
  ASSERT_TRUE(MakeIndex(Path("s"), "BORN", nullptr, nullptr, {}));
  Use(table);  // shared
  ASSERT_TRUE(MakeIndex(Path("S.NDX"), "NAME", nullptr, nullptr, {}));  // the same file, any case
  const IndexInfoRecord info = IndexInfo(Path("s.ndx"));
  EXPECT_EQ(info.keyExpression, "NAME");
  EXPECT_EQ(info.keyType, 'C');
  EXPECT_EQ(info.recordCount, 40);
  ASSERT_TRUE(OpenIndex(Path("s"), 1));
  EXPECT_EQ(WalkForward(), Order(rows, [](const Row& r) { return r.name; }));
  EXPECT_FALSE(MakeIndex(Path("s"), "NAME", nullptr, nullptr, {}));
  EXPECT_EQ(LastCode(), 214);  // open as an index
  EXPECT_EQ(IndexInfo("").recordCount, -1);
  EXPECT_EQ(LastCode(), 220);
}

TEST_F(IndexTest, KeysAreWrittenAndSearchedInTheTablesCodePage) {
  // In memory the engine holds ISO 8859-1; the OEM table stores code page
  // 850, where e-acute (0x82) sorts before A-umlaut (0x8E), the other way
  // round from 8859-1 (0xE9, 0xC4).
  Table("oem", {{"\xC4pfel", 1, 0}, {"\xE9" "clair", 2, 0}, {"Zebra", 3, 0}});
  ASSERT_TRUE(MakeIndex(Path("x"), "NAME", nullptr, nullptr, {}));
  KeyMakerProc maker = [](void*, int, std::string& key) { key = FieldAsString(1); };
  ASSERT_TRUE(MakeIndex(Path("k"), "", maker, nullptr, {}));
  if (HasXBase()) {
    const auto listed = ReadWithXBase(Path("x.ndx"), false);
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(listed[1].first, Hex(std::string("\x82") + "clair    "));
    EXPECT_EQ(listed[2].first, Hex(std::string("\x8E") + "pfel     "));
  }
  ASSERT_TRUE(OpenIndex(Path("x"), 1));
  EXPECT_EQ(WalkForward(), (std::vector<int>{3, 2, 1}));
  EXPECT_TRUE(Find("\xC4p"));
  EXPECT_EQ(RecNo(), 1);
  CloseIndex(1);
  ASSERT_TRUE(OpenIndex(Path("k"), 1, maker));
  EXPECT_EQ(WalkForward(), (std::vector<int>{3, 2, 1}));
  EXPECT_TRUE(Find("\xE9" "c"));
  EXPECT_EQ(RecNo(), 2);
}

TEST_F(IndexTest, NodeCacheAndProgress) {
  const std::vector<Row> rows = MakeRows(2000);
  Table("cache", rows);
  int calls = 0;
  SetProgress([&] { ++calls; }, 7);
  ASSERT_TRUE(MakeIndex(Path("c"), "QTY", nullptr, nullptr, {}));
  EXPECT_EQ(calls, 7);
  calls = 0;
  ASSERT_TRUE(MakeIndex(Path("c"), "NAME", nullptr, nullptr, {}));
  EXPECT_EQ(calls, 7);
  SetProgress(nullptr, 0);
  const std::vector<int> order = Order(rows, [](const Row& r) { return r.name; });
  // With network locking on (the default) no node is cached.
  ASSERT_TRUE(OpenIndex(Path("c"), 1));
  EXPECT_EQ(IndexSlots[1].cache, nullptr);
  CloseIndex(1);
  NetworkLocking = false;
  ASSERT_TRUE(OpenIndex(Path("c"), 1));
  ASSERT_NE(IndexSlots[1].cache, nullptr);
  EXPECT_EQ(IndexSlots[1].cache->Slots(), 8u);
  EXPECT_EQ(WalkForward(), order);
  EXPECT_EQ(WalkBackward(), order);
  EXPECT_TRUE(Find(rows[1233].name.substr(0, 4)));
  EmptyNodeCache();
  EXPECT_EQ(WalkForward(), order);
  CloseIndex(1);
  EXPECT_EQ(IndexSlots[1].cache, nullptr);
  ASSERT_TRUE(OpenIndex(Path("c"), 1, nullptr, nullptr, {false, false, true}));
  EXPECT_EQ(IndexSlots[1].cache, nullptr);
  CloseIndex(1);
  SetCacheSize(1000);
  EXPECT_EQ(NodeCacheSize, 2048u);
  SetCacheSize(5000);
  EXPECT_EQ(NodeCacheSize, 4608u);
  SetCacheSize(0);
  EXPECT_EQ(NodeCacheSize, 0u);
  ASSERT_TRUE(OpenIndex(Path("c"), 1));
  EXPECT_EQ(IndexSlots[1].cache, nullptr);
  SetCacheSize(4096);
}

TEST(KeySorterTest, RunsMergeInKeyOrderWithTiesByRecord) {
  // A pointer capacity of 7 spills 15 runs for 100 keys.
  KeySorter sorter(2, true, 7);
  std::vector<std::pair<std::string, std::uint32_t>> expected;
  for (std::uint32_t r = 1; r <= 100; ++r) {
    const std::string key = {static_cast<char>('a' + (r * 7) % 5), static_cast<char>('a' + (r * 3) % 2)};
    ASSERT_TRUE(sorter.Add(reinterpret_cast<const std::uint8_t*>(key.data()), r));
    expected.emplace_back(key, r);
  }
  ASSERT_TRUE(sorter.Finish());
  EXPECT_EQ(sorter.RunCount(), 15u);
  std::sort(expected.begin(), expected.end());
  const std::uint8_t* key = nullptr;
  std::uint32_t record = 0;
  for (const auto& [k, r] : expected) {
    ASSERT_TRUE(sorter.Next(key, record));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(key), 2), k);
    EXPECT_EQ(record, r);
  }
  EXPECT_FALSE(sorter.Next(key, record));
}

TEST_F(IndexTest, KeyExpressionNormalisation) {
  std::string text = "upper( name )  +  'a  b'";
  NormalizeKeyExpr(text, false);
  EXPECT_EQ(text, "UPPER(NAME)+\"a  b\"");
  text = "upper( name )  +  'a  b' ";
  NormalizeKeyExpr(text, true);
  EXPECT_EQ(text, "UPPER( NAME ) +'a  b'");
  text = "NAME .AND.  x = \"y\"";
  NormalizeKeyExpr(text, true);
  EXPECT_EQ(text, "NAME .AND. X=\"y\"");
  // A string holding a double quote keeps its own quotes.
  text = "name + 'say \"hi\"' + \"it's\"";
  NormalizeKeyExpr(text, false);
  EXPECT_EQ(text, "NAME+'say \"hi\"'+\"it's\"");
}

// The expression is stored without blanks outside its strings, the form in
// which other dBASE readers take it (they stop at the first blank), and the
// index opens and orders with it as before.
TEST_F(IndexTest, KeyExpressionIsStoredAsOtherReadersParseIt) {
  const std::vector<Row> rows = MakeRows(40);
  Table("expr", rows);
  ASSERT_TRUE(MakeIndex(Path("e"), "upper( name ) + dtos( born ) + ' x'", nullptr, nullptr, {}));
  const std::string anchor = Slurp(Path("e.ndx")).substr(0, 512);
  EXPECT_EQ(std::string(anchor.c_str() + 24), "UPPER(NAME)+DTOS(BORN)+\" x\"");
  IndexInfoRecord info = IndexInfo(Path("e"));
  EXPECT_EQ(info.keyExpression, "UPPER(NAME)+DTOS(BORN)+\" x\"");
  EXPECT_EQ(info.keyLength, 20);
  ASSERT_TRUE(OpenIndex(Path("e"), 1)) << LastReport();
  std::vector<int> order = Order(rows, [](const Row& r) { return r.name + JulianToDtos(r.born); });
  EXPECT_EQ(WalkForward(), order);
  CloseIndex(1);
  // A key maker's marker keeps its words: files written before hold it so.
  ASSERT_TRUE(MakeIndex(Path("k"), "", [](void*, int, std::string& key) { key = "K"; }, nullptr, {}));
  EXPECT_EQ(std::string(Slurp(Path("k.ndx")).c_str() + 24), "USER DEFINED KEYMAKER WAS USED TO BUILD THIS INDEX");
  if (!HasXBase()) GTEST_SKIP() << "Perl's XBase::Index is not installed";
  const std::string out = dbtest::RunCommand(
      "perl -MXBase::Index -e 'my $i = XBase::Index->new($ARGV[0]) or die; print $i->{key_string}' " + dbtest::Quoted(Path("e.ndx")));
  EXPECT_EQ(out, "UPPER(NAME)+DTOS(BORN)+\"");
}

// An index made for a wider key than the table's expression gives is
// refused with code 266 and its stored length (taken before the index is
// let go); the slot is free again afterwards.
TEST_F(IndexTest, AnIndexOfAnotherKeyLengthIsRefused) {
  ASSERT_TRUE(CreateDbf(Path("wide"), {{"NAME", 'C', 20, 0}}));
  ASSERT_TRUE(Use(Path("wide") + " EXCLUSIVE"));
  ClearRecord();
  PutNativeString(FieldAddress(1), 21, "twenty characters...");
  ASSERT_TRUE(Append());
  ASSERT_TRUE(MakeIndex(Path("wide"), "NAME", nullptr, nullptr, {}));
  Use("");
  Table("narrow", MakeRows(5));
  reported_.clear();
  EXPECT_FALSE(OpenIndex(Path("wide"), 1));
  EXPECT_EQ(LastCode(), 266);
  EXPECT_NE(LastReport().find("Incorrect key length: Must be 1 to 100.\n\rExpected Length= 20"), std::string::npos)
      << LastReport();
  EXPECT_EQ(ControllingIndex(), nullptr);
  ASSERT_TRUE(MakeIndex(Path("narrow"), "NAME", nullptr, nullptr, {}));
  EXPECT_TRUE(OpenIndex(Path("narrow"), 1)) << LastReport();
}

}  // namespace
