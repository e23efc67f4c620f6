// The table datasets end to end: tables created from field lists and read by
// the independent readers, posting under locks, navigation at the ends,
// deletion and restore, the direct commands, the index list and index
// commands (the index read back by Perl's XBase::Index), delimited text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <functional>
#include <fstream>
#include <sstream>

#include "common/kaldvar.h"
#include "dbase/dataset/dbf_field_list.h"
#include "dbase/dataset/tz_blob_stream.h"
#include "dbase/dataset/tz_file_dataset.h"
#include "dbase/engine/dbf_native.h"
#include "dbase/engine/delimited_text.h"
#include "dbase/expr/expr_hooks.h"
#include "dbase/engine/locking.h"
#include "dbase/engine/navigation.h"
#include "dbase/engine/work_areas.h"
#include "dbase/index/index_commands.h"
#include "dbase/index/index_control.h"
#include "dbase/memo/memo_unit.h"
#include "dbase_test_support.h"
#include "platform/scripted_dialogs.h"

namespace {

using dbase::TTzDbf;

// What a change raised (EDatasetError's text), or "nothing raised".
std::string Raised(const std::function<void()>& change) {
  try {
    change();
  } catch (const dbase::EDatasetError& e) {
    return e.what();
  }
  return "nothing raised";
}

class TableDataset : public dbtest::EngineTest {
 protected:
  void SetUp() override {
    dbtest::EngineTest::SetUp();
    common::MessagesEnabled = 1;
    dialogs_ = std::make_unique<platform::ScopedDialogs>(scripted_);
  }
  void TearDown() override {
    dialogs_.reset();
    dbtest::EngineTest::TearDown();
  }

  // The texts of the message boxes shown so far.
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& asked : scripted_.Asked()) texts.push_back(asked.text);
    return texts;
  }

  // A parts table of five records (names out of order).
  void MakeParts(TTzDbf& dbf) {
    dbf.SetDbfFileName(Path("parts"));
    dbf.DbfFields = {"NAME,C,12,0", "QTY,N,5,0", "PRICE,N,5,2", "BORN,D,8,0", "OK,L,1,0"};
    dbf.Open();
    const std::vector<std::string> names = {"Pinion", "Axle", "Wheel", "Bearing", "Cam"};
    for (std::size_t i = 0; i < names.size(); ++i) {
      dbf.Append();
      dbf.FieldByName("NAME").SetAsString(names[i]);
      dbf.FieldByName("QTY").SetAsInteger(static_cast<std::int64_t>(i + 1));
      dbf.FieldByName("PRICE").SetAsFloat(1.25 * static_cast<double>(i + 1));
      dbf.Post();
    }
  }

  std::string Dbfread(const std::string& table) {
    return dbtest::RunPython(dir_, "import dbfread\n"
                                   "t = dbfread.DBF('" + Path(table) + "', encoding='cp850', load=True)\n"
                                   "print(' '.join('%s:%s:%d:%d' % (f.name, f.type, f.length, f.decimal_count)"
                                   " for f in t.fields))\n"
                                   "for r in t.records: print(repr(list(r.values())))\n");
  }

  platform::ScriptedDialogs scripted_;
  std::unique_ptr<platform::ScopedDialogs> dialogs_;
};

TEST_F(TableDataset, FieldListCorrectedAndCreatedTableReadsEverywhere) {
  if (!dbtest::HasPythonModule("dbfread") || !dbtest::HasProgram("dbview")) {
    GTEST_SKIP() << "dbfread or dbview is not installed";
  }
  TTzDbf dbf("comp");
  dbf.SetDbfFileName(Path("made"));
  EXPECT_EQ(dbf.DbfFileName(), Path("made.dbf"));
  dbf.DbfFields = {"NAME, C, 300, 0", "X,N,25,20", "SKIP,X,1,0", "Q,Z,4,0", "END,C,5", "LOST,C,5,0"};
  dbf.Open();
  ASSERT_TRUE(dbf.Active());
  const std::string file = Path("made.dbf");
  EXPECT_EQ(Messages(), (std::vector<std::string>{
                            "Invalid field definition for " + file +
                                ": NAME,C,255,0. Will use corrected definition: NAME,C,254,0",
                            "Invalid field definition for " + file +
                                ": X,N,25,20. Will use corrected definition: X,N,20,18",
                            "Invalid field definition for " + file +
                                ": Q,Z,4,0. Will use corrected definition: Q,C,4,0"}));
  // The list stops at the entry without three commas; X entries are left out.
  EXPECT_EQ(dbf.FieldDescriptions(), (std::vector<std::string>{"NAME, C, 254, 0", "X, N, 20, 18", "Q, C, 4, 0"}));
  dbf.Append();
  dbf.FieldByName("X").SetAsFloat(1.5);
  dbf.FieldByName("Q").SetAsString("abcdef");
  dbf.Post();
  dbf.Close();
  EXPECT_EQ(Dbfread("made.dbf"), "NAME:C:254:0 X:N:20:18 Q:C:4:0\n['', 1.5, 'abcd']\n");
  const std::string view = dbtest::RunCommand("cd " + dbtest::Quoted(dir_.string()) + " && dbview -b -e -t made.dbf 2>&1");
  EXPECT_NE(view.find(":1.500000000000000000:abcd:"), std::string::npos) << view;
  const std::string structure = dbtest::RunCommand("cd " + dbtest::Quoted(dir_.string()) + " && dbview -o -e made.dbf 2>&1");
  EXPECT_NE(structure.find("X         \t  N\t   20\t   18"), std::string::npos) << structure;
}

TEST_F(TableDataset, FieldDefinitionCorrections) {
  const auto corrected = [](char type, int length, int decimals) {
    dbase::FieldDef f{"F", type, static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(decimals), 0};
    const bool changed = dbase::CorrectFieldDefinition(f);
    return std::string(1, f.type) + std::to_string(f.length) + "," + std::to_string(f.decimals) +
           (changed ? "*" : "");
  };
  EXPECT_EQ(corrected('B', 10, 0), "M10,0*");
  EXPECT_EQ(corrected('G', 10, 0), "M10,0*");
  EXPECT_EQ(corrected('N', 5, 4), "N5,3*");
  EXPECT_EQ(corrected('N', 3, 2), "N3,1*");
  EXPECT_EQ(corrected('F', 20, 19), "F20,18*");
  EXPECT_EQ(corrected('C', 254, 0), "C254,0");
  EXPECT_EQ(corrected('N', 20, 18), "N20,18");
  // A list without any usable entry creates nothing.
  EXPECT_FALSE(dbase::CreateDbfFromFieldList(Path("none"), nullptr));
  const std::vector<std::string> empty = {"no commas"};
  EXPECT_FALSE(dbase::CreateDbfFromFieldList(Path("none"), &empty));
  EXPECT_EQ(Messages(), (std::vector<std::string>{"DbfFieldList is Nil trying to create a database",
                                                   "FieldList.Count is <= 0 trying to create a database"}));
  TTzDbf dbf("none");
  dbf.SetDbfFileName(Path("none"));
  EXPECT_THROW(dbf.Open(), dbase::EDatasetError);
  EXPECT_EQ(Messages().back(), "Could not create \"" + Path("none.dbf") + "\"");
  EXPECT_FALSE(dbf.Active());
}

TEST_F(TableDataset, PostRoundTripsEveryKindOfValue) {
  if (!dbtest::HasPythonModule("dbfread")) GTEST_SKIP() << "Python's dbfread is not installed";
  {
    TTzDbf dbf("trip");
    dbf.SetDbfFileName(Path("trip"));
    dbf.DbfFields = {"NAME,C,10,0", "PRICE,N,5,2", "BORN,D,8,0", "OK,L,1,0", "BIG,N,12,0", "QTY,N,4,0"};
    dbf.Open();
    EXPECT_TRUE(dbf.IsEmpty());
    dbf.Append();
    dbf.FieldByName("NAME").SetAsString("Gear");
    dbf.FieldByName("PRICE").SetAsFloat(1.24);
    dbf.FieldByName("BORN").SetText("03/14/26");
    dbf.FieldByName("OK").SetAsBoolean(true);
    dbf.FieldByName("BIG").SetAsInteger(9999999999);
    dbf.FieldByName("QTY").SetAsInteger(-12);
    dbf.Post();
    EXPECT_EQ(dbf.RecNo(), 1);
    EXPECT_EQ(dbf.RecordCount(), 1);
    dbf.Append();
    dbf.FieldByName("NAME").SetAsString("Blank");
    dbf.Post();
    dbf.Close();
  }
  EXPECT_EQ(Dbfread("trip.dbf"),
            "NAME:C:10:0 PRICE:N:5:2 BORN:D:8:0 OK:L:1:0 BIG:N:12:0 QTY:N:4:0\n"
            "['Gear', 1.24, datetime.date(2026, 3, 14), True, 9999999999, -12]\n"
            "['Blank', 0.0, None, False, 0, 0]\n");
  // Read back through a new dataset: the values as the field shows them.
  TTzDbf dbf("again");
  dbf.SetDbfFileName(Path("trip"));
  dbf.Open();
  EXPECT_EQ(dbf.FieldByName("NAME").AsString(), "Gear");
  EXPECT_EQ(dbf.FieldByName("PRICE").AsFloat(), 1.24);
  EXPECT_EQ(dbf.FieldByName("PRICE").Text(), "1.24");
  EXPECT_EQ(dbf.FieldByName("BORN").Text(), "03/14/26");
  EXPECT_EQ(dbf.FieldByName("OK").AsString(), "True");
  EXPECT_EQ(dbf.FieldByName("BIG").AsInteger(), 9999999999);
  EXPECT_EQ(dbf.FieldByName("QTY").AsInteger(), -12);
  dbf.Next();
  EXPECT_TRUE(dbf.FieldByName("BORN").IsNull());
  EXPECT_EQ(dbf.FieldByName("BORN").Text(), "");
  // An edit posts over the record.
  dbf.Edit();
  dbf.FieldByName("PRICE").SetText("3.5");
  dbf.Post();
  dbf.First();
  dbf.Last();
  EXPECT_EQ(dbf.FieldByName("PRICE").AsFloat(), 3.5);
  EXPECT_EQ(dbf.RecordCount(), 2);
}

// Blank numbers and an unknown logical (another program's "nothing
// entered") stay as they are when a record is posted unless the user
// assigned a value: 0 over a blank number and false over "?" are written,
// as dbfread shows. A number beyond 64 bits in a wide whole-number field is
// refused with the overflow error, the field keeping its value.
TEST_F(TableDataset, AssignedValuesAreWrittenOverBlanks) {
  if (!dbtest::HasPythonModule("dbfread")) GTEST_SKIP() << "Python's dbfread is not installed";
  {
    TTzDbf dbf("blanks");
    dbf.SetDbfFileName(Path("blanks"));
    dbf.DbfFields = {"NAME,C,8,0", "QTY,N,6,0", "PRICE,N,9,2", "OK,L,1,0", "BIG,N,20,0"};
    dbf.Open();
    for (const char* name : {"first", "second"}) {
      dbf.Append();
      dbf.FieldByName("NAME").SetAsString(name);
      dbf.Post();
    }
    dbf.Close();
  }
  std::string bytes = testsupport::Slurp(Path("blanks.dbf"));
  const std::size_t header = 5 * 32 + 33;
  const std::size_t length = 1 + 8 + 6 + 9 + 1 + 20;
  for (std::size_t r = 0; r < 2; ++r) {
    bytes.replace(header + r * length + 9, 6 + 9, std::string(15, ' '));
    bytes[header + r * length + 24] = '?';
    bytes.replace(header + r * length + 25, 20, std::string(20, ' '));
  }
  testsupport::Put(Path("blanks.dbf"), bytes);

  TTzDbf dbf("blanks");
  dbf.SetDbfFileName(Path("blanks"));
  dbf.Open();
  EXPECT_EQ(dbf.FieldByName("QTY").AsInteger(), 0);
  dbf.Edit();
  dbf.FieldByName("QTY").SetAsInteger(0);
  dbf.FieldByName("OK").SetAsBoolean(false);
  EXPECT_THROW(dbf.FieldByName("BIG").SetAsFloat(1e30), dbase::EDatasetError);
  try {
    dbf.FieldByName("BIG").SetAsFloat(-1e19);
  } catch (const dbase::EDatasetError& e) {
    EXPECT_NE(std::string(e.what()).find("Floating point overflow"), std::string::npos) << e.what();
  }
  dbf.Post();
  dbf.Next();
  dbf.Edit();
  dbf.FieldByName("NAME").SetAsString("renamed");
  dbf.Post();
  dbf.Close();
  EXPECT_EQ(Dbfread("blanks.dbf"),
            "NAME:C:8:0 QTY:N:6:0 PRICE:N:9:2 OK:L:1:0 BIG:N:20:0\n"
            "['first', 0, None, False, None]\n"
            "['renamed', None, None, None, None]\n");
}

TEST_F(TableDataset, ImpossibleDateIsRefusedAndStoredBlank) {
  TTzDbf dbf("dates");
  dbf.SetDbfFileName(Path("dates"));
  dbf.DbfFields = {"BORN,D,8,0"};
  dbf.Open();
  dbf.Append();
  dbf.FieldByName("BORN").SetText("02/31/26");
  EXPECT_EQ(Messages(), std::vector<std::string>{dbase::kInvalidDateText});
  EXPECT_TRUE(dbf.FieldByName("BORN").IsNull());
  dbf.Post();
  std::string raw;
  EXPECT_EQ(dbf.Peek(1, 1), "        ");
  dbf.Edit();
  dbf.FieldByName("BORN").SetText("  /  /  ");
  EXPECT_EQ(Messages().size(), 1u);
  dbf.FieldByName("BORN").SetText("02/29/24");
  dbf.Post();
  EXPECT_EQ(dbf.Peek(1, 1), "20240229");
}

TEST_F(TableDataset, NavigationAtTheEnds) {
  TTzDbf dbf("nav");
  dbf.SetDbfFileName(Path("nav"));
  dbf.DbfFields = {"NAME,C,8,0"};
  dbf.Open();
  // An empty table: no record, both ends.
  dbf.First();
  EXPECT_TRUE(dbf.Bof());
  EXPECT_TRUE(dbf.Eof());
  EXPECT_TRUE(dbf.IsEmpty());
  EXPECT_EQ(dbf.RecordCount(), 0);
  dbf.Last();
  EXPECT_TRUE(dbf.Bof() && dbf.Eof());
  for (const char* name : {"one", "two", "three"}) {
    dbf.Append();
    dbf.FieldByName("NAME").SetAsString(name);
    dbf.Post();
  }
  dbf.Last();
  EXPECT_EQ(dbf.FieldByName("NAME").AsString(), "three");
  dbf.Next();
  EXPECT_TRUE(dbf.Eof());
  EXPECT_EQ(dbf.RecNo(), 3);
  dbase::Select(dbf.WorkAreaNumber());
  EXPECT_EQ(dbase::RecNo(), 3);
  EXPECT_FALSE(dbase::dEOF());
  dbf.Prior();
  EXPECT_EQ(dbf.FieldByName("NAME").AsString(), "two");
  dbf.First();
  dbf.Prior();
  EXPECT_TRUE(dbf.Bof());
  EXPECT_EQ(dbf.RecNo(), 1);
  EXPECT_EQ(dbf.MoveBy(5), 2);
  EXPECT_TRUE(dbf.Eof());
  // A bookmark beyond the table moves to the last record.
  dbf.GotoBookmark(99);
  EXPECT_EQ(dbf.RecNo(), 3);
  dbf.GotoBookmark(2);
  EXPECT_EQ(dbf.FieldByName("NAME").AsString(), "two");
  EXPECT_TRUE(dbf.BookmarkValid(1));
  EXPECT_FALSE(dbf.BookmarkValid(7));
  EXPECT_EQ(dbf.RecNo(), 2);
  EXPECT_EQ(dbf.CompareBookmarks(0, 3), 1);
  EXPECT_EQ(dbf.CompareBookmarks(2, 3), -1);
  EXPECT_EQ(dbf.CompareBookmarks(0, 0), 0);
  EXPECT_TRUE(dbf.Locate("NAME", {std::string("THR")}, true, true));
  EXPECT_EQ(dbf.RecNo(), 3);
  EXPECT_FALSE(dbf.Locate("NAME", {std::string("thr")}, false, false));
}

TEST_F(TableDataset, DeleteRestorePackAndHiddenRecords) {
  TTzDbf dbf("del");
  MakeParts(dbf);
  dbf.SetRecNo(2);
  int restored = 0;
  dbf.BeforeRestore = [&](dbase::TDataSet&) { ++restored; };
  dbf.AfterRestore = [&](dbase::TDataSet&) { ++restored; };
  dbf.Delete();
  EXPECT_EQ(dbf.RecNo(), 2);
  EXPECT_TRUE(dbf.RecordDeleted());
  dbf.SetDeleted(false);
  EXPECT_EQ(restored, 2);
  EXPECT_FALSE(dbf.RecordDeleted());
  dbf.SetDeleted(true);
  dbf.SetHideDeletedRecs(true);
  EXPECT_EQ(dbf.RecNo(), 3);
  dbf.First();
  std::vector<std::int64_t> seen;
  while (!dbf.Eof()) {
    seen.push_back(dbf.RecNo());
    dbf.Next();
  }
  EXPECT_EQ(seen, (std::vector<std::int64_t>{1, 3, 4, 5}));
  dbf.SetHideDeletedRecs(false);
  EXPECT_TRUE(dbf.Pack());
  EXPECT_EQ(dbf.RecordCount(), 4);
  dbf.First();
  dbf.Next();
  EXPECT_EQ(dbf.FieldByName("NAME").AsString(), "Wheel");
}

TEST_F(TableDataset, PutsByNameAndAppendRecFormANewRecord) {
  TTzDbf dbf("puts");
  MakeParts(dbf);
  dbf.SetRecNo(2);
  dbf.PutStringByName("NAME", "Spur gear");
  dbf.PutFloatByName("PRICE", 7.5);
  dbf.PutIntegerByName("QTY", 42);
  dbf.PutLogicalByName("OK", true);
  EXPECT_THROW(dbf.PutStringByName("NOSUCH", "x"), dbase::EDatasetError);
  // The table window's append: append lock, AppendRec, unlock.
  ASSERT_TRUE(dbf.ALock());
  dbf.AppendRec();
  dbf.UnLock();
  EXPECT_EQ(dbf.State(), dbase::TDataSetState::Browse);
  EXPECT_EQ(dbf.RecordCount(), 6);
  EXPECT_EQ(dbf.RecNo(), 6);
  EXPECT_EQ(dbf.SField(1), "Spur gear   ");
  EXPECT_TRUE(dbf.LogicalByName("OK"));
  EXPECT_EQ(dbf.Field(3), "PRICE");
  EXPECT_EQ(dbf.FieldCount(), 5);
  EXPECT_EQ(dbf.FieldLen(1), 12);
  // The record the puts started on is unchanged.
  dbf.Go(2);
  EXPECT_EQ(dbf.FieldByName("NAME").AsString(), "Axle");
  EXPECT_EQ(dbf.FieldByName("QTY").AsInteger(), 2);
  // Search from the top and from the current record.
  EXPECT_EQ(dbf.Search("wheel", true), 1);
  EXPECT_EQ(dbf.RecNo(), 3);
  EXPECT_EQ(dbf.Search("nothing", true), 0);
  EXPECT_EQ(dbf.RecNo(), 3);
}

TEST_F(TableDataset, ReadOnlyExclusiveAndTableLanguage) {
  TTzDbf dbf("modes");
  MakeParts(dbf);
  // Read-only: browsing works, changes are refused before they start.
  dbf.SetReadOnly(true);
  ASSERT_TRUE(dbf.Active());
  dbf.Last();
  EXPECT_EQ(dbf.FieldByName("NAME").AsString(), "Cam");
  EXPECT_THROW(dbf.Edit(), dbase::EDatasetError);
  EXPECT_THROW(dbf.Append(), dbase::EDatasetError);
  EXPECT_THROW(dbf.Delete(), dbase::EDatasetError);
  EXPECT_THROW(dbf.FieldByName("NAME").SetAsString("x"), dbase::EDatasetError);
  dbf.SetReadOnly(false);
  // Exclusive: the reopened table refuses a second user.
  dbf.SetExclusive(true);
  ASSERT_TRUE(dbf.Active());
  ASSERT_TRUE(dbase::Select(20));
  EXPECT_FALSE(dbase::Use(Path("parts.dbf")));
  EXPECT_EQ(LastCode(), 32);
  dbf.SetExclusive(false);
  ASSERT_TRUE(dbase::Select(20));
  EXPECT_TRUE(dbase::Use(Path("parts.dbf")));
  dbase::CloseWorkArea(20);
  dbf.Close();
  // The table's code page: code page 850 bytes for OEM tables, the engine's
  // own for ANSI tables; both read back as written.
  for (const auto language : {dbase::TTzTableLanguage::tlOem, dbase::TTzTableLanguage::tlAnsi}) {
    TTzDbf text("lang");
    text.TableLanguage = language;
    const std::string name = language == dbase::TTzTableLanguage::tlOem ? "oem" : "ansi";
    text.SetDbfFileName(Path(name));
    text.DbfFields = {"NAME,C,8,0"};
    text.Open();
    text.Append();
    text.FieldByName("NAME").SetAsString("M\xFCller");
    text.Post();
    text.Close();
    text.Open();
    EXPECT_EQ(text.FieldByName("NAME").AsString(), "M\xFCller");
    EXPECT_EQ(text.Peek(1, 1), "M\xFCller  ");
    text.Close();
    std::ifstream in(Path(name + ".dbf"), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const char expected = language == dbase::TTzTableLanguage::tlOem ? '\x81' : '\xFC';
    EXPECT_EQ(bytes.substr(bytes.size() - 9, 6), std::string("M") + expected + "ller") << name;
  }
}

TEST_F(TableDataset, EditStatesAndFieldValues) {
  TTzDbf dbf("states");
  dbf.SetDbfFileName(Path("states"));
  dbf.DbfFields = {"NAME,C,6,0", "QTY,N,4,0", "OK,L,1,0", "NOTE,M,10,0"};
  dbf.Open();
  int scrolls = 0;
  int newRecords = 0;
  dbf.AfterScroll = [&](dbase::TDataSet&) { ++scrolls; };
  dbf.OnNewRecord = [&](dbase::TDataSet& d) {
    ++newRecords;
    d.FieldByName("QTY").SetAsInteger(7);
  };
  EXPECT_THROW(dbf.FieldByName("NAME").SetAsString("x"), dbase::EDatasetError);
  dbf.Append();
  EXPECT_EQ(newRecords, 1);
  EXPECT_EQ(dbf.FieldByName("QTY").AsInteger(), 7);
  dbf.FieldByName("NAME").SetAsString("toolong");
  EXPECT_EQ(dbf.FieldByName("NAME").AsString(), "toolon");
  EXPECT_THROW(dbf.FieldByName("QTY").SetAsString("12x"), dbase::EDatasetError);
  EXPECT_THROW(dbf.FieldByName("OK").SetAsString("maybe"), dbase::EDatasetError);
  dbf.FieldByName("OK").SetAsString("yes");
  EXPECT_TRUE(dbf.FieldByName("OK").AsBoolean());
  dbf.FieldByName("OK").DisplayValues = "Ja;Nein";
  EXPECT_EQ(dbf.FieldByName("OK").AsString(), "Ja");
  dbf.FieldByName("OK").SetAsString("Nein");
  EXPECT_EQ(dbf.FieldByName("OK").AsString(), "Nein");
  EXPECT_EQ(dbf.FieldByName("NOTE").AsInteger(), 0);
  // A cancelled insert leaves the table as it was.
  dbf.Cancel();
  EXPECT_EQ(dbf.RecordCount(), 0);
  EXPECT_TRUE(dbf.IsEmpty());
  dbf.Insert();
  dbf.FieldByName("NAME").SetAsString("kept");
  dbf.First();  // moving posts the pending insert
  EXPECT_EQ(dbf.State(), dbase::TDataSetState::Browse);
  EXPECT_EQ(dbf.RecordCount(), 1);
  EXPECT_EQ(dbf.FieldByName("NAME").AsString(), "kept");
  // A cancelled edit shows the stored values again.
  dbf.Edit();
  dbf.FieldByName("NAME").SetAsString("gone");
  dbf.Cancel();
  EXPECT_EQ(dbf.FieldByName("NAME").AsString(), "kept");
  EXPECT_EQ(dbf.Peek(1, 1), "kept  ");
  EXPECT_GT(scrolls, 0);
  EXPECT_THROW(dbf.FieldByName("NOSUCH"), dbase::EDatasetError);
  EXPECT_EQ(dbf.FindField("name"), &dbf.Fields(0));
}

TEST_F(TableDataset, ClosedDatasetReportsDatabaseNotOpen) {
  TTzDbf dbf("comp");
  dbf.AppendRec();
  EXPECT_EQ(LastCode(), 1103);
  EXPECT_NE(LastReport().find("Database is not open [comp.AppendRec]"), std::string::npos) << LastReport();
  EXPECT_EQ(dbf.FieldCount(), 0);
  EXPECT_NE(LastReport().find("[comp.FieldCount]"), std::string::npos);
  // Opening without a file name.
  try {
    dbf.Open();
    FAIL() << "opened without a file name";
  } catch (const dbase::EDatasetError& e) {
    EXPECT_STREQ(e.what(), "The FileName property of the dataset not set");
  }
  // A table that is missing and may not be created.
  dbf.SetDbfFileName(Path("missing"));
  dbf.CreateIfNotFound = false;
  try {
    dbf.Open();
    FAIL() << "opened a missing table";
  } catch (const dbase::EDatasetError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Dataset error: Error # ", 0), 0u) << e.what();
  }
  EXPECT_FALSE(dbf.Active());
}

// A number its column cannot show is refused where it is given, with the
// field and the value; the field keeps its value and no row of '*' is
// written.
TEST_F(TableDataset, ANumberTheColumnCannotShowIsRefused) {
  TTzDbf dbf("wide");
  MakeParts(dbf);
  dbf.First();
  dbf.Edit();
  EXPECT_EQ(Raised([&] { dbf.FieldByName("PRICE").SetAsFloat(1234.5); }),
            "Dataset error: Error # 205 (Floating point overflow) Field PRICE: 1234.5 does not fit N(5,2)");
  EXPECT_EQ(Raised([&] { dbf.FieldByName("PRICE").SetAsString("99.999"); }),
            "Dataset error: Error # 205 (Floating point overflow) Field PRICE: 99.999 does not fit N(5,2)");
  EXPECT_EQ(Raised([&] { dbf.FieldByName("QTY").SetAsInteger(-12345); }),
            "Dataset error: Error # 205 (Floating point overflow) Field QTY: -12345 does not fit N(5,0)");
  EXPECT_EQ(Raised([&] { dbf.FieldByName("PRICE").SetAsFloat(99.99); }), "nothing raised");
  EXPECT_EQ(Raised([&] { dbf.FieldByName("QTY").SetAsInteger(-1234); }), "nothing raised");
  dbf.Post();
  EXPECT_EQ(dbf.Peek(3, 1), "99.99");
  EXPECT_EQ(dbf.Peek(2, 1), "-1234");
}

// A lock another program holds is tried again for a moment and then
// raises what the caller sees: the exception and TzError; nothing is
// written and an insert keeps its values for another try.
TEST_F(TableDataset, LockFailureRaisesAndWritesNothing) {
  TTzDbf dbf("locked");
  MakeParts(dbf);
  dbf.Close();
  dbase::LockRetries = 0;
  dbf.Open();
  // Another user of the table holds the file lock.
  ASSERT_TRUE(dbase::Select(20));
  ASSERT_TRUE(dbase::Use(Path("parts.dbf")));
  ASSERT_TRUE(dbase::FLock());
  dbf.Append();
  dbf.FieldByName("NAME").SetAsString("Refused");
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(Raised([&] { dbf.Post(); }), "Dataset error: Error # 1201 (File not locked) Lock failed [Insert]");
  // The default retries waited for the lock (200 of 2 ms) before giving up.
  EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(350));
  EXPECT_EQ(dbase::TzError, 1201);
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(dbf.RecordCount(), 5);
  EXPECT_EQ(dbf.State(), dbase::TDataSetState::Insert);
  EXPECT_EQ(dbf.FieldByName("NAME").AsString(), "Refused");
  dbf.Cancel();
  // A post of a change, and a handler that always retries: bounded by the
  // engine's retry count, then raised.
  dbf.ChangeLockRetries = 0;
  dbase::LockRetries = 2;
  dbase::LockRetryWait = 1;
  int asked = 0;
  dbf.OnRLockFailedOnPost = [&](dbase::TTzFileDataSet&, bool& retry) {
    ++asked;
    retry = true;
  };
  dbf.First();
  dbf.Edit();
  dbf.FieldByName("NAME").SetAsString("Changed");
  EXPECT_EQ(Raised([&] { dbf.Post(); }), "Dataset error: Error # 1200 (Record not locked) Lock failed [Post]");
  EXPECT_EQ(asked, 3);
  EXPECT_EQ(dbf.State(), dbase::TDataSetState::Edit);
  dbf.Cancel();
  EXPECT_EQ(dbf.Peek(1, 1), "Pinion      ");
  // A handler that gives up: raised all the same, as nothing was deleted.
  dbf.OnRLockFailedOnDelete = [&](dbase::TTzFileDataSet&, bool& retry) { retry = false; };
  EXPECT_EQ(Raised([&] { dbf.Delete(); }), "Dataset error: Error # 1200 (Record not locked) Lock failed [Delete]");
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(dbf.Peek(0, 1), " ");
  // Once the other user lets go the changes go through.
  dbase::Select(20);
  dbase::Unlock();
  dbf.Edit();
  dbf.FieldByName("NAME").SetAsString("Changed");
  dbf.Post();
  EXPECT_EQ(dbf.Peek(1, 1), "Changed     ");
  dbf.Append();
  dbf.FieldByName("NAME").SetAsString("Accepted");
  dbf.Post();
  EXPECT_EQ(dbf.RecordCount(), 6);
  dbase::Select(20);
  EXPECT_TRUE(dbase::FLock());  // the dataset released its locks
  dbase::CloseWorkArea(20);
}

TEST_F(TableDataset, DelimitedTextAndAppendFrom) {
  TTzDbf dbf("text");
  MakeParts(dbf);
  dbf.SetRecNo(3);
  EXPECT_EQ(dbf.CopyToDelimited(Path("parts.txt")), 5);
  EXPECT_EQ(dbf.RecNo(), 3);
  std::ifstream in(Path("parts.txt"), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str().substr(0, 30), "\"Pinion\",1,1.25,,F\r\n\"Axle\",2,2");
  // Appending needs the file lock in a shared table.
  EXPECT_EQ(dbf.AppendFromDelimited(Path("parts.txt")), 0);
  EXPECT_EQ(LastCode(), 5);
  ASSERT_TRUE(dbf.FLock());
  EXPECT_EQ(dbf.AppendFromDelimited(Path("parts.txt")), 5);
  EXPECT_EQ(dbf.RecordCount(), 10);
  TTzDbf other("other");
  other.SetDbfFileName(Path("other"));
  other.DbfFields = {"NAME,C,12,0", "EXTRA,N,3,0"};
  other.Open();
  other.Append();
  other.FieldByName("NAME").SetAsString("Foreign");
  other.Post();
  other.Close();
  dbf.SetRecNo(4);
  EXPECT_TRUE(dbf.AppendFrom(Path("other")));
  EXPECT_EQ(dbf.RecNo(), 4);
  dbf.Last();
  EXPECT_EQ(dbf.FieldByName("NAME").AsString(), "Foreign");
  EXPECT_EQ(dbf.RecordCount(), 11);
  dbf.UnLock();
}

// The native-buffer option: the engine keeps the record in the caller's
// buffer, which must be exactly the table's native record size.
TEST_F(TableDataset, TheNativeBufferIsTheCallers) {
  {
    TTzDbf seed("seed");
    MakeParts(seed);
  }
  TTzDbf dbf("buffered");
  dbf.SetDbfFileName(Path("parts"));
  // Deleted flag, NAME 1 + 12, QTY 4, PRICE 8, BORN 1 + 10, OK 1.
  std::vector<std::uint8_t> buffer(38, 0xEE);
  dbf.SetNativeBuffer(buffer.data(), buffer.size());
  dbf.Open();
  EXPECT_EQ(dbase::NativeString(buffer.data() + 1), "Pinion      ");
  dbf.Next();
  EXPECT_EQ(dbase::NativeString(buffer.data() + 1), "Axle        ");
  dbf.Edit();
  dbf.FieldByName("QTY").SetAsInteger(42);
  EXPECT_EQ(dbase::NativeInt32(buffer.data() + 14), 42);
  dbf.Post();
  EXPECT_EQ(dbf.Peek(2, 2), "   42");
  dbf.Close();

  std::vector<std::uint8_t> small(37);
  dbf.SetNativeBuffer(small.data(), small.size());
  try {
    dbf.Open();
    ADD_FAILURE() << "a buffer of the wrong size was taken";
  } catch (const dbase::EDatasetError& e) {
    EXPECT_STREQ(e.what(), "Dataset error: Error # 266 (Invalid size)");
  }
  EXPECT_FALSE(dbf.Active());
  EXPECT_NE(LastReport().find("Record Size=38, Buffer Size=37"), std::string::npos) << LastReport();
  dbf.SetNativeBuffer(nullptr, 0);
  dbf.Open();
  EXPECT_EQ(dbf.FieldByName("NAME").AsString(), "Pinion");
}

// Lookup reads fields of the record that holds the key values exactly and
// leaves the cursor, the active record and a pending edit as they were.
TEST_F(TableDataset, LookupLeavesTheCursorWhereItWas) {
  TTzDbf dbf("look");
  MakeParts(dbf);
  dbf.SetRecNo(2);
  const auto found = dbf.Lookup("NAME", {std::string("Cam")}, "QTY; PRICE;NAME;BORN;OK");
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(*found, (std::vector<dbase::TFieldValue>{std::int64_t{5}, 6.25, std::string("Cam"), std::monostate{},
                                                      false}));
  EXPECT_EQ(dbf.RecNo(), 2);
  EXPECT_EQ(dbf.FieldByName("NAME").AsString(), "Axle");
  EXPECT_FALSE(dbf.Lookup("NAME", {std::string("Ca")}, "QTY").has_value());  // the whole value
  EXPECT_FALSE(dbf.Lookup("NAME", {std::string("cam")}, "QTY").has_value());
  EXPECT_EQ(dbf.Lookup("NAME;QTY", {std::string("Wheel"), 3.0}, "PRICE"),
            std::optional<std::vector<dbase::TFieldValue>>(std::vector<dbase::TFieldValue>{3.75}));
  EXPECT_FALSE(dbf.Lookup("NAME;QTY", {std::string("Wheel"), 4.0}, "PRICE").has_value());
  EXPECT_THROW(dbf.Lookup("NAME", {std::string("Cam")}, "NOSUCH"), dbase::EDatasetError);
  EXPECT_EQ(dbf.RecNo(), 2);

  dbf.Edit();
  dbf.FieldByName("NAME").SetAsString("Changed");
  EXPECT_EQ(std::get<std::int64_t>(dbf.Lookup("NAME", {std::string("Pinion")}, "QTY")->at(0)), 1);
  EXPECT_EQ(dbf.State(), dbase::TDataSetState::Edit);
  EXPECT_EQ(dbf.FieldByName("NAME").AsString(), "Changed");
  dbf.Post();
  EXPECT_EQ(dbf.Peek(1, 2), "Changed     ");
  EXPECT_EQ(dbf.Peek(1, 1), "Pinion      ");
  // At the end of the table it stays there.
  dbf.Last();
  dbf.Next();
  EXPECT_TRUE(dbf.Eof());
  EXPECT_TRUE(dbf.Lookup("QTY", {1.0}, "NAME").has_value());
  EXPECT_TRUE(dbf.Eof());
  EXPECT_EQ(dbf.FieldByName("NAME").AsString(), "Cam");
}

// Memo fields as streams: written (text in the table's code page on disk),
// read back, continued, emptied; a stream outliving its dataset's open is
// finished by the close and does nothing more.
// Streams on one dataset read from positions of their own; while one
// writes a value, a second writer is refused and the first value stays
// whole.
TEST_F(TableDataset, EveryBlobStreamHasItsOwnPosition) {
  dbase::InitMemoUnit();
  TTzDbf dbf("streams");
  dbf.SetDbfFileName(Path("streams"));
  dbf.DbfFields = {"NAME,C,8,0", "ONE,M,10,0", "TWO,M,10,0"};
  dbf.Open();
  dbf.Append();
  {
    dbase::TTzBlobStream one(dbf.FieldByName("ONE"), dbase::TBlobStreamMode::bmWrite);
    one.WriteText("abcdefghij");
    dbase::TTzBlobStream two(dbf.FieldByName("TWO"), dbase::TBlobStreamMode::bmWrite);
    EXPECT_EQ(two.WriteText("0123456789"), 0);
    EXPECT_EQ(LastCode(), 1007);
    one.WriteText("klm");
  }
  dbf.Post();
  {
    dbase::TTzBlobStream two(dbf.FieldByName("TWO"), dbase::TBlobStreamMode::bmWrite);
    two.WriteText("0123456789");
  }
  dbf.Post();
  reported_.clear();
  dbase::TTzBlobStream one(dbf.FieldByName("ONE"), dbase::TBlobStreamMode::bmRead);
  dbase::TTzBlobStream two(dbf.FieldByName("TWO"), dbase::TBlobStreamMode::bmRead);
  dbase::TTzBlobStream again(dbf.FieldByName("ONE"), dbase::TBlobStreamMode::bmRead);
  char piece[5] = {};
  std::string read;
  for (dbase::TTzBlobStream* stream : {&one, &two, &again, &one, &two, &one}) {
    EXPECT_EQ(stream->Read(piece, 4), 4);
    read += std::string(piece, 4) + "|";
  }
  EXPECT_EQ(read, "abcd|0123|abcd|efgh|4567|ijkl|");
  EXPECT_TRUE(reported_.empty()) << LastReport();
}

TEST_F(TableDataset, MemoFieldsAsStreams) {
  dbase::InitMemoUnit();
  TTzDbf dbf("memo");
  dbf.SetDbfFileName(Path("notes"));
  dbf.DbfFields = {"NAME,C,8,0", "NOTE,M,10,0"};
  dbf.Open();
  int changes = 0;
  dbf.OnFieldChange = [&](dbase::TField& field) { changes += field.FieldName() == "NOTE"; };
  dbase::TField& note = dbf.FieldByName("NOTE");
  dbf.Append();
  dbf.FieldByName("NAME").SetAsString("first");
  const std::string text = "M\xFCller's note\r\nline two";
  {
    dbase::TTzBlobStream stream(note, dbase::TBlobStreamMode::bmWrite);
    EXPECT_EQ(stream.WriteText(text), static_cast<std::int64_t>(text.size()));
    EXPECT_TRUE(stream.Modified());
  }
  EXPECT_EQ(changes, 1);
  dbf.Post();
  dbf.Append();
  dbf.FieldByName("NAME").SetAsString("second");
  dbf.Post();
  dbf.First();
  {
    dbase::TTzBlobStream stream(note, dbase::TBlobStreamMode::bmRead);
    EXPECT_EQ(stream.Size(), static_cast<std::int64_t>(text.size()));
    EXPECT_EQ(stream.ReadToEnd(), text);
    EXPECT_EQ(stream.Seek(3, dbase::soBeginning), 3);
    char piece[4] = {};
    EXPECT_EQ(stream.Read(piece, 3), 3);
    EXPECT_EQ(std::string(piece), "ler");
    EXPECT_EQ(stream.Write("x", 1), 0);  // a reading stream writes nothing
  }
  EXPECT_EQ(dbf.State(), dbase::TDataSetState::Browse);
  EXPECT_NE(testsupport::Slurp(Path("notes.dbt")).find("M\x81ller's note"), std::string::npos);
  {
    dbase::TTzBlobStream stream(note, dbase::TBlobStreamMode::bmReadWrite);
    EXPECT_EQ(dbf.State(), dbase::TDataSetState::Edit);
    stream.Seek(0, dbase::soEnd);
    stream.WriteText(" and more");
  }
  dbf.Post();
  dbf.Next();
  {
    dbase::TTzBlobStream stream(note, dbase::TBlobStreamMode::bmRead);
    EXPECT_EQ(stream.ReadToEnd(), "");  // the second record has no memo
  }
  {
    dbase::TTzBlobStream stream(note, dbase::TBlobStreamMode::bmWrite);
    stream.WriteText("second note");
  }
  dbf.Post();
  dbf.First();
  {
    dbase::TTzBlobStream stream(note, dbase::TBlobStreamMode::bmRead);
    EXPECT_EQ(stream.ReadToEnd(), text + " and more");
  }
  if (dbtest::HasProgram("dbf_dump")) {
    // Perl's XBase reads the memos in their stored bytes (code page 850).
    EXPECT_EQ(dbtest::RunCommand("perl -MXBase -e 'my $t = XBase->new(shift) or die XBase->errstr;"
                                 " for my $i (0 .. $t->last_record) { my @r = $t->get_record($i, \"NAME\", \"NOTE\");"
                                 " print \"$r[1]|$r[2]|\" }' " +
                                 dbtest::Quoted(Path("notes.dbf"))),
              "first|M\x81ller's note\r\nline two and more|second|second note|");
  }
  // A stream that writes nothing empties the memo.
  {
    dbase::TTzBlobStream stream(note, dbase::TBlobStreamMode::bmWrite);
  }
  EXPECT_TRUE(dbf.Modified());
  EXPECT_EQ(note.AsInteger(), 0);
  dbf.Post();
  EXPECT_EQ(dbf.Peek(2, 1), "          ");
  EXPECT_EQ(changes, 4);
  {
    dbase::TTzBlobStream stream(note, dbase::TBlobStreamMode::bmRead);
    EXPECT_EQ(stream.ReadToEnd(), "");
    dbf.Next();
    dbase::TTzBlobStream open(dbf.FieldByName("NOTE"), dbase::TBlobStreamMode::bmRead);
    dbf.Close();
    char byte = 0;
    EXPECT_EQ(open.Read(&byte, 1), 0);
  }
  EXPECT_TRUE(reported_.empty()) << LastReport();
}

}  // namespace

namespace {

class TableDatasetIndex : public TableDataset {
 protected:
  void SetUp() override {
    TableDataset::SetUp();
    dbase::InstallExprHooks();
    dbase::IndexInit();
  }
  void TearDown() override {
    dbase::IndexDone();
    TableDataset::TearDown();
  }
  // The keys of an index file in the order Perl's XBase::Index walks them.
  std::string WalkWithXBase(const std::string& file) {
    const std::string script = Path("walk.pl");
    std::ofstream(script) << "use XBase::Index;\n"
                             "my $i = XBase::Index->new($ARGV[0]) or die XBase::Index->errstr;\n"
                             "$i->prepare_select;\n"
                             "while (my ($k, $v) = $i->fetch) { $k =~ s/ +$//; print \"$k:$v \"; }\n";
    int code = -1;
    const std::string out = dbtest::RunCommand("perl " + dbtest::Quoted(script) + " " + dbtest::Quoted(file) + " 2>&1", &code);
    EXPECT_EQ(code, 0) << out;
    return out;
  }
  static bool HasXBase() {
    int code = -1;
    dbtest::RunCommand("perl -MXBase::Index -e 1 2>/dev/null", &code);
    return code == 0;
  }
};

TEST_F(TableDatasetIndex, IndexOnWritesAnIndexInKeyOrder) {
  if (!HasXBase()) GTEST_SKIP() << "Perl's XBase::Index is not installed";
  TTzDbf dbf("ordered");
  MakeParts(dbf);
  dbf.SetRecNo(3);
  EXPECT_TRUE(dbf.IndexOn("NAME", Path("names.ndx")));
  EXPECT_EQ(WalkWithXBase(Path("names.ndx")), "Axle:2 Bearing:4 Cam:5 Pinion:1 Wheel:3 ");
  EXPECT_FALSE(dbf.IsSequenced());
  // The dataset walks the table in key order and keeps the index current.
  std::vector<std::string> walked;
  for (dbf.First(); !dbf.Eof(); dbf.Next()) walked.push_back(dbf.FieldByName("NAME").AsString());
  EXPECT_EQ(walked, (std::vector<std::string>{"Axle", "Bearing", "Cam", "Pinion", "Wheel"}));
  dbf.Last();
  EXPECT_EQ(dbf.FieldByName("NAME").AsString(), "Wheel");
  dbf.Prior();
  EXPECT_EQ(dbf.FieldByName("NAME").AsString(), "Pinion");
  dbf.Append();
  dbf.FieldByName("NAME").SetAsString("Bolt");
  dbf.Post();
  dbf.Edit();
  dbf.FieldByName("NAME").SetAsString("Spring");
  dbf.Post();
  dbf.First();
  dbf.Next();
  dbf.Next();
  EXPECT_EQ(dbf.FieldByName("NAME").AsString(), "Cam");
  EXPECT_EQ(WalkWithXBase(Path("names.ndx")), "Axle:2 Bearing:4 Cam:5 Pinion:1 Spring:6 Wheel:3 ");
  // Find stands on the key; FindExact needs the whole key and leaves the
  // exact-match setting as it was.
  dbase::ExactFind = false;
  EXPECT_TRUE(dbf.Find("Bea"));
  EXPECT_EQ(dbf.RecNo(), 4);
  EXPECT_FALSE(dbf.FindExact("Bea"));
  EXPECT_FALSE(dbase::ExactFind);
  EXPECT_EQ(dbf.RecNo(), 3);  // a key not found: the last record in key order
  EXPECT_TRUE(dbf.FindExact("Cam"));
  EXPECT_EQ(dbf.RecNo(), 5);
  EXPECT_TRUE(dbf.Locate("NAME", {std::string("Pin")}, false, true));
  EXPECT_EQ(dbf.RecNo(), 1);
  // A second index by quantity, opened later by name.
  EXPECT_TRUE(dbf.IndexOn("QTY", Path("qty.ndx")));
  EXPECT_EQ(WalkWithXBase(Path("qty.ndx")), "0:6 1:1 2:2 3:3 4:4 5:5 ");
  EXPECT_TRUE(dbf.SetIndexTo(Listed("names.ndx")));
  EXPECT_TRUE(dbf.Find("Whe"));
  EXPECT_EQ(dbf.RecNo(), 3);
}

TEST_F(TableDatasetIndex, IndexListBuildsMissingIndexesUnlessForbidden) {
  if (!HasXBase()) GTEST_SKIP() << "Perl's XBase::Index is not installed";
  {
    TTzDbf dbf("seed");
    MakeParts(dbf);
  }
  TTzDbf dbf("listed");
  dbf.SetDbfFileName(Path("parts"));
  dbf.IndexList = {"1," + Path("byname.ndx") + ",NAME"};
  std::vector<std::string> events;
  dbf.OnBeforeMakeIndex = [&](const std::string& name, bool&) { events.push_back("before " + name); };
  dbf.OnAfterMakeIndex = [&](const std::string& name) { events.push_back("after " + name); };
  // ciNever: the missing index is an error, nothing is built.
  dbf.CreateIndex = dbase::TCreateIndexType::ciNever;
  dbf.Open();
  EXPECT_NE(LastCode(), 0);
  EXPECT_NE(LastReport().find("byname.ndx"), std::string::npos) << LastReport();
  EXPECT_TRUE(events.empty());
  dbf.Close();
  // ciNotFound: built, announced and opened without an error.
  dbf.CreateIndex = dbase::TCreateIndexType::ciNotFound;
  const std::size_t reports = reported_.size();
  dbf.Open();
  EXPECT_EQ(reported_.size(), reports);
  EXPECT_EQ(events, (std::vector<std::string>{"before " + Path("byname.ndx"), "after " + Path("byname.ndx")}));
  EXPECT_EQ(WalkWithXBase(Path("byname.ndx")), "Axle:2 Bearing:4 Cam:5 Pinion:1 Wheel:3 ");
  EXPECT_TRUE(dbf.FindExact("Cam"));
  dbf.Close();
  // An existing index is opened as it is; a refused build leaves it out.
  events.clear();
  dbf.Open();
  EXPECT_TRUE(events.empty());
  dbf.Close();
  // ciVerifyHeader: an index made for fewer records is built again.
  dbase::Select(dbase::CurrentWorkArea());
  {
    TTzDbf grow("grow");
    grow.SetDbfFileName(Path("parts"));
    grow.Open();
    grow.Append();
    grow.FieldByName("NAME").SetAsString("Aaron");
    grow.Post();
  }
  dbf.CreateIndex = dbase::TCreateIndexType::ciVerifyHeader;
  dbf.Open();
  EXPECT_EQ(events.size(), 2u);
  EXPECT_EQ(WalkWithXBase(Path("byname.ndx")), "Aaron:6 Axle:2 Bearing:4 Cam:5 Pinion:1 Wheel:3 ");
  dbf.Close();
  events.clear();
  dbf.Open();
  EXPECT_TRUE(events.empty());
  dbf.Close();
  // ciAlways, with the build refused: the index is not opened.
  dbf.CreateIndex = dbase::TCreateIndexType::ciAlways;
  dbf.OnBeforeMakeIndex = [&](const std::string&, bool& canMake) { canMake = false; };
  dbf.Open();
  EXPECT_FALSE(dbf.Find("Cam"));
  EXPECT_EQ(LastCode(), 221);
}

// Indexes whose keys a callback makes from the dataset's fields: built,
// kept current by posts, reopened with the callback (and refused without
// it); and an index file whose name holds blanks and an option word.
TEST_F(TableDatasetIndex, CallbackAndLongNameIndexes) {
  if (!HasXBase()) GTEST_SKIP() << "Perl's XBase::Index is not installed";
  TTzDbf dbf("callback");
  MakeParts(dbf);
  int calls = 0;
  // The name backwards in upper case.
  const auto reversed = [&calls](dbase::TTzFileDataSet& d, void* context, std::string& key) {
    EXPECT_EQ(context, &calls);
    ++calls;
    key = d.FieldByName("NAME").AsString();
    std::reverse(key.begin(), key.end());
    for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    key.resize(12, ' ');
  };
  dbf.SetRecNo(3);
  ASSERT_TRUE(dbf.IndexOnCB(Path("rev"), reversed, &calls)) << LastReport();
  EXPECT_GE(calls, 5);
  EXPECT_EQ(WalkWithXBase(Path("rev.ndx")), "ELXA:2 GNIRAEB:4 LEEHW:3 MAC:5 NOINIP:1 ");
  std::vector<std::string> walked;
  for (dbf.First(); !dbf.Eof(); dbf.Next()) walked.push_back(dbf.FieldByName("NAME").AsString());
  EXPECT_EQ(walked, (std::vector<std::string>{"Axle", "Bearing", "Wheel", "Cam", "Pinion"}));
  dbf.Append();
  dbf.FieldByName("NAME").SetAsString("Rack");
  dbf.Post();
  EXPECT_EQ(WalkWithXBase(Path("rev.ndx")), "ELXA:2 GNIRAEB:4 KCAR:6 LEEHW:3 MAC:5 NOINIP:1 ");
  dbf.Close();

  dbf.Open();
  EXPECT_FALSE(dbf.SetIndexTo(Listed("rev.ndx")));
  EXPECT_EQ(LastCode(), 223);
  ASSERT_TRUE(dbf.SetIndexToCB(Path("rev"), 1, reversed, &calls)) << LastReport();
  dbf.First();
  EXPECT_EQ(dbf.FieldByName("NAME").AsString(), "Axle");
  ASSERT_TRUE(dbf.FindExact("MAC"));
  EXPECT_EQ(dbf.RecNo(), 5);
  dbf.SetRecNo(1);
  dbf.Edit();
  dbf.FieldByName("NAME").SetAsString("Apex");
  dbf.Post();
  EXPECT_EQ(WalkWithXBase(Path("rev.ndx")), "ELXA:2 GNIRAEB:4 KCAR:6 LEEHW:3 MAC:5 XEPA:1 ");

  EXPECT_TRUE(dbf.IndexOn("QTY", Path("by qty unique.ndx")));
  dbf.Close();
  dbf.Open();
  EXPECT_FALSE(dbf.SetIndexTo(Listed("by qty unique")));
  ASSERT_TRUE(dbf.SetIndexToLFN(Path("by qty unique"), 1)) << LastReport();
  walked.clear();
  for (dbf.First(); !dbf.Eof(); dbf.Next()) walked.push_back(dbf.FieldByName("NAME").AsString());
  EXPECT_EQ(walked, (std::vector<std::string>{"Rack", "Apex", "Axle", "Wheel", "Bearing", "Cam"}));
}

// An index opened into slot 2 while slot 1 is empty takes every appended
// and changed record and is rebuilt by a pack, through the long-name and the
// callback opens alike.
TEST_F(TableDatasetIndex, AnIndexInSlotTwoIsKeptWithSlotOneEmpty) {
  if (!HasXBase()) GTEST_SKIP() << "Perl's XBase::Index is not installed";
  TTzDbf dbf("slots");
  MakeParts(dbf);
  ASSERT_TRUE(dbf.IndexOn("NAME", Path("names.ndx")));
  const auto upper = [](dbase::TTzFileDataSet& d, void*, std::string& key) {
    key = d.FieldByName("NAME").AsString();
    for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    key.resize(12, ' ');
  };
  ASSERT_TRUE(dbf.IndexOnCB(Path("upper"), upper, nullptr));
  dbf.Close();
  dbf.Open();
  ASSERT_TRUE(dbf.SetIndexToLFN(Path("names.ndx"), 2)) << LastReport();
  ASSERT_TRUE(dbf.SetIndexToCB(Path("upper"), 3, upper, nullptr)) << LastReport();
  EXPECT_TRUE(dbf.IsSequenced());  // no controlling index: record order
  dbf.Append();
  dbf.FieldByName("NAME").SetAsString("Bolt");
  dbf.Post();
  dbf.First();
  dbf.Edit();
  dbf.FieldByName("NAME").SetAsString("Apex");
  dbf.Post();
  EXPECT_EQ(WalkWithXBase(Path("names.ndx")), "Apex:1 Axle:2 Bearing:4 Bolt:6 Cam:5 Wheel:3 ");
  EXPECT_EQ(WalkWithXBase(Path("upper.ndx")), "APEX:1 AXLE:2 BEARING:4 BOLT:6 CAM:5 WHEEL:3 ");
  dbf.SetRecNo(2);
  dbf.Delete();
  EXPECT_TRUE(dbf.Pack());
  EXPECT_EQ(WalkWithXBase(Path("names.ndx")), "Apex:1 Bearing:3 Bolt:5 Cam:4 Wheel:2 ");
  EXPECT_TRUE(reported_.empty()) << LastReport();
}

// The index commands post a pending edit first, as a move does: the new
// value reaches the table and the index built or opened.
TEST_F(TableDatasetIndex, IndexCommandsPostAPendingEdit) {
  if (!HasXBase()) GTEST_SKIP() << "Perl's XBase::Index is not installed";
  TTzDbf dbf("pending");
  MakeParts(dbf);
  const auto padded = [](dbase::TTzFileDataSet& d, void*, std::string& key) {
    key = d.FieldByName("NAME").AsString();
    key.resize(12, ' ');
  };
  dbf.SetRecNo(1);
  dbf.Edit();
  dbf.FieldByName("NAME").SetAsString("Zed");
  ASSERT_TRUE(dbf.IndexOn("NAME", Path("names.ndx")));
  EXPECT_EQ(dbf.Peek(1, 1), "Zed         ");
  EXPECT_EQ(WalkWithXBase(Path("names.ndx")), "Axle:2 Bearing:4 Cam:5 Wheel:3 Zed:1 ");
  dbf.SetRecNo(3);
  dbf.Edit();
  dbf.FieldByName("NAME").SetAsString("Xylo");
  ASSERT_TRUE(dbf.SetIndexTo(Listed("names.ndx"))) << LastReport();
  EXPECT_EQ(dbf.Peek(1, 3), "Xylo        ");
  EXPECT_EQ(WalkWithXBase(Path("names.ndx")), "Axle:2 Bearing:4 Cam:5 Xylo:3 Zed:1 ");
  dbf.SetRecNo(2);
  dbf.Edit();
  dbf.FieldByName("NAME").SetAsString("Yoke");
  ASSERT_TRUE(dbf.IndexOnCB(Path("cb"), padded, nullptr));
  EXPECT_EQ(WalkWithXBase(Path("cb.ndx")), "Bearing:4 Cam:5 Xylo:3 Yoke:2 Zed:1 ");
  // A key maker whose keys vary in length is refused before a file is
  // written: its longer keys would be cut.
  const auto trimmed = [](dbase::TTzFileDataSet& d, void*, std::string& key) { key = d.FieldByName("NAME").AsString(); };
  EXPECT_FALSE(dbf.IndexOnCB(Path("cut"), trimmed, nullptr));
  EXPECT_EQ(LastCode(), 266);
  EXPECT_NE(LastReport().find("must not vary in length"), std::string::npos) << LastReport();
  EXPECT_FALSE(std::filesystem::exists(Path("cut.ndx")));
}

}  // namespace
