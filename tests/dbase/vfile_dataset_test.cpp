// The dataset over a virtual file end to end: records posted through the
// dataset stand in each order mode, the mode changes on an open dataset,
// and a table loaded on open and written back on close (replaced, or
// appended to) as dbfread reads it.
#include "dbase/dataset/tz_vfile_dataset.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "dbase/dataset/tz_file_dataset.h"
#include "dbase/engine/work_areas.h"
#include "dbase_test_support.h"

namespace {

using dbase::TTzVFile;

const std::vector<std::string> kFields = {"PART,C,10,0", "QTY,N,5,0", "PRICE,N,8,2"};

class VFileDataset : public dbtest::EngineTest {
 protected:
  void SetUp() override {
    dbtest::EngineTest::SetUp();
    dbase::InitVirtualFiles();
  }

  static void Add(dbase::TDataSet& ds, const std::string& part, int qty, bool insert = false) {
    if (insert) {
      ds.Insert();
    } else {
      ds.Append();
    }
    ds.FieldByName("PART").SetAsString(part);
    ds.FieldByName("QTY").SetAsInteger(qty);
    ds.FieldByName("PRICE").SetAsFloat(qty * 1.5);
    ds.Post();
  }
  // "part:qty" of every record from the first.
  static std::string Rows(dbase::TDataSet& ds) {
    std::string out;
    for (ds.First(); !ds.Eof(); ds.Next()) {
      out += (out.empty() ? "" : " ") + ds.FieldByName("PART").AsString() + ":" + ds.FieldByName("QTY").AsString();
    }
    return out;
  }
  std::string Opened(TTzVFile& vf, dbase::LStatusType mode) {
    vf.DbfFields = kFields;
    vf.SetAppendMode(mode);
    vf.Open();
    return vf.Active() ? "open" : "closed";
  }
  // A table of the same fields with the given records, written by the
  // file dataset.
  void MakeTable(const std::string& name, const std::vector<std::pair<std::string, int>>& rows) {
    dbase::TTzDbf dbf("maker");
    dbf.SetDbfFileName(Path(name));
    dbf.DbfFields = kFields;
    dbf.Open();
    for (const auto& [part, qty] : rows) Add(dbf, part, qty);
    dbf.Close();
  }
  std::string Dbfread(const std::string& name) {
    return dbtest::RunPython(dir_, "import dbfread\n"
                                   "t = dbfread.DBF('" + Path(name) + "', load=True)\n"
                                   "print(' '.join('%s:%s:%.2f' % (r['PART'], r['QTY'], r['PRICE'])"
                                   " for r in t.records), len(t.deleted))\n");
  }
  static std::string Bytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }
};

TEST_F(VFileDataset, RecordsStandInEachOrderMode) {
  const auto byPart = [](TTzVFile& sender) { return sender.FieldByName("PART").AsString(); };
  struct Case {
    dbase::LStatusType mode;
    const char* expected;
  };
  for (const Case& c : {Case{dbase::kFifo, "gear:3 axle:1 cam:2"}, Case{dbase::kLifo, "cam:2 axle:1 gear:3"},
                        Case{dbase::kInsertion, "gear:3 axle:1 cam:2"}, Case{dbase::kAscending, "axle:1 cam:2 gear:3"},
                        Case{dbase::kDescending, "gear:3 cam:2 axle:1"}}) {
    TTzVFile vf("parts");
    vf.KeyMaker = byPart;
    ASSERT_EQ(Opened(vf, c.mode), "open") << c.mode;
    EXPECT_TRUE(vf.IsSequenced());
    EXPECT_EQ(Rows(vf), "") << c.mode;
    Add(vf, "gear", 3);
    Add(vf, "axle", 1);
    Add(vf, "cam", 2);
    EXPECT_EQ(Rows(vf), c.expected) << c.mode;
    EXPECT_EQ(vf.RecordCount(), 3);
    EXPECT_TRUE(vf.Modified());
    vf.Close();
  }
  EXPECT_TRUE(reported_.empty());
}

TEST_F(VFileDataset, InsertionModeInsertsBeforeTheCurrentRowAndAppendsAtTheEnd) {
  TTzVFile vf("ins");
  ASSERT_EQ(Opened(vf, dbase::kInsertion), "open");
  Add(vf, "a", 1);
  Add(vf, "b", 2);
  Add(vf, "c", 3);
  vf.First();
  vf.Next();
  ASSERT_EQ(vf.FieldByName("PART").AsString(), "b");
  Add(vf, "x", 9, /*insert=*/true);
  EXPECT_EQ(Rows(vf), "a:1 x:9 b:2 c:3");
  vf.Last();
  Add(vf, "z", 7);
  EXPECT_EQ(Rows(vf), "a:1 x:9 b:2 c:3 z:7");
  // Deleting and restoring go through the list as well.
  vf.First();
  vf.Delete();
  EXPECT_EQ(vf.RecordCount(), 5);
  vf.First();
  EXPECT_TRUE(vf.RecordDeleted());
  vf.SetDeleted(false);
  EXPECT_FALSE(vf.RecordDeleted());
}

TEST_F(VFileDataset, ModeChangesOnAnOpenDatasetResortTheRecords) {
  TTzVFile vf("sorted");
  // No key event: the key is the text of the first field.
  ASSERT_EQ(Opened(vf, dbase::kFifo), "open");
  Add(vf, "pinion", 1);
  Add(vf, "axle", 2);
  Add(vf, "wheel", 3);
  vf.SetAppendMode(dbase::kAscending);
  EXPECT_EQ(Rows(vf), "axle:2 pinion:1 wheel:3");
  vf.SetAppendMode(dbase::kDescending);
  EXPECT_EQ(Rows(vf), "wheel:3 pinion:1 axle:2");
  // A key event replaces the first field: by quantity, highest first.
  vf.KeyMaker = [](TTzVFile& sender) { return sender.FieldByName("QTY").AsString(); };
  vf.SetAppendMode(dbase::kDescending);
  EXPECT_EQ(Rows(vf), "wheel:3 axle:2 pinion:1");
  Add(vf, "cam", 2);
  EXPECT_EQ(Rows(vf), "wheel:3 axle:2 cam:2 pinion:1");
  // Back to arrival order: later records go to the end.
  vf.SetAppendMode(dbase::kFifo);
  Add(vf, "shaft", 5);
  EXPECT_EQ(Rows(vf), "wheel:3 axle:2 cam:2 pinion:1 shaft:5");
  EXPECT_EQ(vf.AppendMode(), dbase::kFifo);
}

TEST_F(VFileDataset, FieldListsThatCannotBeLaidOutRefuseTheOpen) {
  TTzVFile vf("bad");
  EXPECT_THROW(vf.Open(), dbase::EDatasetError);
  EXPECT_FALSE(vf.Active());
  for (const std::vector<std::string>& fields :
       {std::vector<std::string>{"PART,C,10,0", "QTY,N,5"}, std::vector<std::string>{"PART,C,10,0", "RAW,X,4,0"}}) {
    vf.DbfFields = fields;
    EXPECT_THROW(vf.Open(), dbase::EDatasetError);
    EXPECT_FALSE(vf.Active());
  }
  EXPECT_TRUE(reported_.empty());
  // The dataset opens once the list is mended.
  vf.DbfFields = kFields;
  vf.Open();
  EXPECT_TRUE(vf.Active());
  EXPECT_EQ(vf.FieldCount(), 3);
}

TEST_F(VFileDataset, LoadedTableIsReplacedOnCloseWhenSavingBack) {
  if (!dbtest::HasPythonModule("dbfread")) GTEST_SKIP() << "python3-dbfread is not installed";
  MakeTable("stock", {{"wheel", 3}, {"axle", 1}, {"pinion", 2}});
  {
    TTzVFile vf("stock");
    vf.SetDbfFileName(Path("stock"));
    vf.PopulateFromDisk = true;
    vf.SaveToDisk = true;
    ASSERT_EQ(Opened(vf, dbase::kAscending), "open");
    // Loaded in a sorted mode, the records arrive sorted; loading is no change.
    EXPECT_EQ(Rows(vf), "axle:1 pinion:2 wheel:3");
    EXPECT_FALSE(vf.Modified());
    vf.First();
    vf.Edit();
    vf.FieldByName("QTY").SetAsInteger(10);
    vf.Post();
    Add(vf, "cam", 4);
    EXPECT_EQ(Rows(vf), "axle:10 cam:4 pinion:2 wheel:3");
    vf.Close();
  }
  EXPECT_EQ(Dbfread("stock.dbf"), "axle:10:1.50 cam:4:6.00 pinion:2:3.00 wheel:3:4.50 0\n");
  // Loaded in arrival order, the table's order is kept.
  TTzVFile again("again");
  again.SetDbfFileName(Path("stock"));
  again.PopulateFromDisk = true;
  ASSERT_EQ(Opened(again, dbase::kLifo), "open");
  EXPECT_EQ(Rows(again), "axle:10 cam:4 pinion:2 wheel:3");
  Add(again, "first", 0);
  EXPECT_EQ(Rows(again).substr(0, 7), "first:0");
  EXPECT_TRUE(reported_.empty());
}

TEST_F(VFileDataset, SavingAloneAppendsAndAnUnchangedDatasetWritesNothing) {
  if (!dbtest::HasPythonModule("dbfread")) GTEST_SKIP() << "python3-dbfread is not installed";
  MakeTable("log", {{"old", 1}});
  const std::string before = Bytes(Path("log.dbf"));
  {
    TTzVFile idle("idle");
    idle.SetDbfFileName(Path("log"));
    idle.SaveToDisk = true;
    ASSERT_EQ(Opened(idle, dbase::kFifo), "open");
  }
  EXPECT_EQ(Bytes(Path("log.dbf")), before);
  TTzVFile vf("log");
  vf.SetDbfFileName(Path("log"));
  vf.SaveToDisk = true;
  ASSERT_EQ(Opened(vf, dbase::kFifo), "open");
  Add(vf, "new", 2);
  Add(vf, "gone", 3);
  vf.Last();
  vf.Delete();
  EXPECT_TRUE(vf.Modified());
  vf.Close();
  EXPECT_FALSE(vf.Modified());
  // The deleted record travels with its mark; dbfread lists it apart.
  EXPECT_EQ(Dbfread("log.dbf"), "old:1:1.50 new:2:3.00 1\n");
  EXPECT_TRUE(reported_.empty());
}

}  // namespace
