// Virtual files through the engine's commands: the five orders, replaces in
// sorted files, delete/recall/pack/snip, variable-length records, the
// readers of the engine (GetFieldText, Locate, AppendFrom), the commands'
// errors, and loading from and saving to tables read by dbfread.
#include "dbase/vfiles/virtual_files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <optional>
#include <sstream>

#include "dbase/common/text_routines.h"
#include "dbase/dbase_test_support.h"
#include "dbase/engine/append_from.h"
#include "dbase/engine/dbf_native.h"
#include "dbase/engine/navigation.h"
#include "dbase/engine/raw_field_access.h"
#include "dbase/engine/search_locate.h"
#include "dbase/vfiles/vfile_disk_transfer.h"
#include "platform/message_windows.h"
#include "support/process_locale.h"

namespace {

using namespace dbase;

// The fields of the test tables (and of the fixture written by python3-dbf).
const std::vector<FieldDef> kParts = {
    {"part", 'C', 10, 0}, {"qty", 'N', 5, 0}, {"price", 'N', 8, 2}, {"made", 'D', 0, 0}, {"stocked", 'l', 0, 0}};

std::size_t NativeSizeOf(std::vector<FieldDef> fields) {
  DbfTable table;
  for (FieldDef& f : fields) {
    if (f.type == 'D') f.length = 8;
    if (f.type == 'l' || f.type == 'L') f.type = 'L', f.length = 1;
  }
  table.fields = fields;
  return NativeRecordSize(table);
}

class VirtualFileTest : public dbtest::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    InitVirtualFiles();
  }

  // Opens a virtual file with the part fields in the current area.
  void OpenParts(const std::string& command) {
    buffer_.assign(NativeSizeOf(kParts), 0);
    ASSERT_TRUE(Use(command, buffer_.data(), buffer_.size())) << LastReport();
    AddStru(kParts);
    ASSERT_EQ(TzError, 0) << LastReport();
  }
  void Add(const std::string& part, int qty = 0, double price = 0, const std::string& made = "", bool stocked = false) {
    ClearRecord();
    PutNativeString(FieldAddress(1), 11, part);
    PutNativeInt32(FieldAddress(2), qty);
    PutNativeDouble(FieldAddress(3), price);
    if (!made.empty()) PutNativeString(FieldAddress(4), 11, made);
    FieldAddress(5)[0] = stocked ? 1 : 0;
    ASSERT_TRUE(Append()) << LastReport();
  }
  // "part:qty" of every record in list order (the position is kept).
  std::string Order() {
    std::string out;
    const std::int64_t start = RecNo();
    for (std::int64_t n = 1; n <= RecCount(); ++n) {
      Go(n);
      out += (out.empty() ? "" : " ") + TzTrimRight(FieldAsString(1)) + ":" + TzAllTrim(FieldAsString(2));
      if (Deleted()) out += "*";
    }
    if (start >= 1 && start <= RecCount()) Go(start);
    return out;
  }
  std::string Popped() {
    PopRec();
    return TzError != 0 ? "error" : TzTrimRight(FieldAsString(1));
  }
  // The key maker of the sorted files: the part name.
  void KeyByPart() {
    Set_VFileKey_To([](void*) { return TzTrimRight(FieldAsString(1)); }, nullptr);
  }

  // The detail of the last report (after the code's text and CR LF).
  std::string Detail() const {
    const std::string report = LastReport();
    const std::size_t at = report.find("\r\n");
    return at == std::string::npos ? report : report.substr(at + 2);
  }

  std::vector<std::uint8_t> buffer_;
};

TEST_F(VirtualFileTest, QueuesStacksAndInsertionKeepTheirOrders) {
  OpenParts("Q VIRTUAL FILE");
  EXPECT_EQ(Get_VFileMode(), kFifo);
  EXPECT_TRUE(dEOF());
  EXPECT_TRUE(dBOF());
  EXPECT_EQ(RecNo(), 0);
  Add("a");
  Add("b");
  EXPECT_EQ(RecNo(), 2);
  Add("c");
  EXPECT_EQ(RecNo(), 3);
  EXPECT_EQ(Order(), "a:0 b:0 c:0");
  // The engine's moves walk the list.
  GoBottom();
  EXPECT_EQ(TzTrimRight(FieldAsString(1)), "c");
  Skip(-1);
  EXPECT_EQ(TzTrimRight(FieldAsString(1)), "b");
  Skip(2);
  EXPECT_TRUE(dEOF());
  EXPECT_EQ(Popped(), "a");
  EXPECT_EQ(Popped(), "b");
  EXPECT_EQ(Popped(), "c");
  EXPECT_EQ(RecCount(), 0);
  EXPECT_EQ(RecNo(), 0);
  EXPECT_TRUE(dEOF() && dBOF());
  EXPECT_EQ(Popped(), "error");
  EXPECT_EQ(LastCode(), 1100);
  EXPECT_EQ(Detail(), "Virtual file empty - no more records to POP from Q [(PopRec) VFiles]");

  Select(2);
  std::vector<std::uint8_t> stack(NativeSizeOf(kParts));
  ASSERT_TRUE(Use("S LINKED LIST LIFO TO HEAP", stack.data(), stack.size()));
  AddStru(kParts);
  EXPECT_EQ(Get_VFileMode(), kLifo);
  for (const char* part : {"a", "b", "c"}) {
    ClearRecord();
    PutNativeString(FieldAddress(1), 11, part);
    ASSERT_TRUE(Append());
    EXPECT_EQ(RecNo(), 1);
  }
  std::string popped;
  for (int i = 0; i < 3; ++i) {
    PopRec();
    popped += TzTrimRight(FieldAsString(1));
  }
  EXPECT_EQ(popped, "cba");

  Select(3);
  OpenParts("I VIRTUAL FILE INSERTION");
  Add("a");
  Add("b");  // before the current a
  EXPECT_EQ(RecNo(), 1);
  Go(2);
  Add("c");  // before a, at record 2
  EXPECT_EQ(RecNo(), 2);
  GoBottom();
  Skip(1);
  Add("d");  // past the end: after the last
  EXPECT_EQ(RecNo(), 4);
  EXPECT_EQ(Order(), "b:0 c:0 a:0 d:0");
  EXPECT_EQ(Popped(), "error");
  EXPECT_EQ(Detail(), "Cannot POP a record in INSERTION mode from I [(PopRec) VFiles]");
  EXPECT_EQ(RecCount(), 4);
}

TEST_F(VirtualFileTest, SortedFilesCompareNumbersAsNumbersAndKeepArrivalOrderAmongEquals) {
  OpenParts("N VIRTUAL FILE ASCENDING");
  KeyByPart();
  for (const char* key : {"10", "9", "100"}) Add(key);
  EXPECT_EQ(Order(), "9:0 10:0 100:0");

  Select(2);
  OpenParts("B VIRTUAL FILE ASCENDING");
  KeyByPart();
  for (const char* key : {"b", "a", "10"}) Add(key);
  EXPECT_EQ(Order(), "10:0 a:0 b:0");
  // Equal keys go after the last of their kind; a proper prefix is lesser.
  Add("a", 2);
  Add("ab", 0);
  Add("a", 3);
  EXPECT_EQ(RecNo(), 4);
  Add("b", 2);
  Add("10", 2);
  EXPECT_EQ(Order(), "10:0 10:2 a:0 a:2 a:3 ab:0 b:0 b:2");

  Select(3);
  OpenParts("D VIRTUAL FILE DESCENDING");
  KeyByPart();
  for (const char* key : {"10", "9", "100", "9"}) Add(key);
  EXPECT_EQ(Order(), "100:0 10:0 9:0 9:0");

  // Many keys in no order: sorted, and stable for the equal ones.
  Select(4);
  OpenParts("R VIRTUAL FILE ASCENDING");
  KeyByPart();
  unsigned seed = 12345;
  std::vector<std::pair<int, int>> expected;
  for (int i = 0; i < 300; ++i) {
    seed = seed * 1103515245u + 12345u;
    const int key = static_cast<int>((seed >> 16) % 90);
    Add(std::to_string(key), i);
    expected.emplace_back(key, i);
  }
  std::stable_sort(expected.begin(), expected.end(), [](auto& x, auto& y) { return x.first < y.first; });
  std::string want;
  for (auto& [key, i] : expected) want += (want.empty() ? "" : " ") + std::to_string(key) + ":" + std::to_string(i);
  EXPECT_EQ(Order(), want);

  // A sorted file needs its key maker.
  Select(5);
  OpenParts("K VIRTUAL FILE DESCENDING");
  Add("first");  // the first record needs no key
  ClearRecord();
  PutNativeString(FieldAddress(1), 11, "second");
  EXPECT_FALSE(Append());
  EXPECT_EQ(LastCode(), 1100);
  EXPECT_EQ(Detail(),
            "K is a \"Sorted\" virtual file with no keymaker function. [Append/InsertRec/PushRec]");
  EXPECT_EQ(RecCount(), 1);
}

// Keys with decimals are numbers whatever the process's locale: under a
// German one (a decimal comma) they sort as under C.
TEST_F(VirtualFileTest, DecimalKeysSortAsNumbersUnderAGermanLocale) {
  int area = 1;
  for (const char* locale : {"C", testsupport::kGermanLocale}) {
    testsupport::ProcessLocale set(locale);
    if (!set.Set()) GTEST_SKIP() << "the locale " << locale << " is not installed";
    Select(area++);
    OpenParts(std::string(area == 2 ? "C" : "G") + " VIRTUAL FILE ASCENDING");
    KeyByPart();
    for (const char* key : {"10.5", "9.75", "100.25", "-0.5e1"}) Add(key);
    EXPECT_EQ(Order(), "-0.5e1:0 9.75:0 10.5:0 100.25:0") << locale;
  }
}

// On a German desktop the engine writes decimals with a comma (its start
// takes the separator from LANG): a file keyed by the text of a number field
// still sorts by value, negative numbers and different widths included.
TEST_F(VirtualFileTest, KeysOfNumberFieldTextsSortByValueOnAGermanDesktop) {
  testsupport::ProcessLocale german(testsupport::kGermanLocale);
  if (!german.Set()) GTEST_SKIP() << "the locale " << testsupport::kGermanLocale << " is not installed";
  struct Environment {
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
    void Set(const char* name, const char* value) {
      const char* old = std::getenv(name);
      saved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
      if (value != nullptr) {
        ::setenv(name, value, 1);
      } else {
        ::unsetenv(name);
      }
    }
    ~Environment() {
      for (auto it = saved.rbegin(); it != saved.rend(); ++it) {
        if (it->second) {
          ::setenv(it->first.c_str(), it->second->c_str(), 1);
        } else {
          ::unsetenv(it->first.c_str());
        }
      }
    }
  } environment;
  environment.Set("LC_ALL", nullptr);
  environment.Set("LC_TIME", nullptr);
  environment.Set("LANG", testsupport::kGermanLocale);
  InitTzCommon();
  InitVirtualFiles();
  ASSERT_EQ(DecimalSeparator, ',');
  SetDateFormat(0);
  OpenParts("P VIRTUAL FILE ASCENDING");
  Set_VFileKey_To([](void*) { return FieldAsString(3); }, nullptr);
  int n = 0;
  for (const double price : {10.5, 9.75, -3.5, -12.25, 100.0, 0.0}) {
    ++n;
    Add("p" + std::to_string(n), n, price);
  }
  EXPECT_EQ(FieldAsString(3), "    0,00");
  EXPECT_EQ(Order(), "p4:4 p3:3 p6:6 p2:2 p1:1 p5:5");
  Set_VFileMode_To(0);
  SortVFile(4);
  EXPECT_EQ(Order(), "p5:5 p1:1 p2:2 p6:6 p3:3 p4:4");
  EXPECT_TRUE(reported_.empty()) << LastReport();
}

TEST_F(VirtualFileTest, ReplaceInASortedFileMovesTheRecordOrKeepsItsPlace) {
  OpenParts("R VIRTUAL FILE ASCENDING");
  KeyByPart();
  Add("a", 1);
  Add("b", 2);
  Add("b", 3);
  Add("b", 4);
  Add("c", 5);
  // Same key: the record stays where it was among its equals.
  Go(3);
  PutNativeInt32(FieldAddress(2), 33);
  ASSERT_TRUE(Replace());
  EXPECT_EQ(RecNo(), 3);
  EXPECT_EQ(Order(), "a:1 b:2 b:33 b:4 c:5");
  // The last record keeps the end while its key still belongs there.
  Go(5);
  PutNativeString(FieldAddress(1), 11, "z");
  ASSERT_TRUE(Replace());
  EXPECT_EQ(RecNo(), 5);
  // A new key moves the record; it stays current at its new place.
  Go(1);
  PutNativeString(FieldAddress(1), 11, "bb");
  ASSERT_TRUE(Replace());
  EXPECT_EQ(RecNo(), 4);
  EXPECT_EQ(TzTrimRight(FieldAsString(1)), "bb");
  EXPECT_EQ(Order(), "b:2 b:33 b:4 bb:1 z:5");
  Go(5);
  PutNativeString(FieldAddress(1), 11, "0");
  ASSERT_TRUE(Replace());
  EXPECT_EQ(RecNo(), 1);
  EXPECT_EQ(Order(), "0:5 b:2 b:33 b:4 bb:1");
  // In the other orders a replace changes the record in place.
  Set_VFileMode_To(kFifo);
  Go(2);
  PutNativeString(FieldAddress(1), 11, "zz");
  ASSERT_TRUE(Replace());
  EXPECT_EQ(Order(), "0:5 zz:2 b:33 b:4 bb:1");
}

TEST_F(VirtualFileTest, ModeChangesAndResorting) {
  OpenParts("M VIRTUAL FILE ASCENDING");
  KeyByPart();
  for (const char* key : {"c", "a", "b"}) Add(key);
  Set_VFileMode_To(kDescending);
  EXPECT_EQ(LastCode(), 1100);
  EXPECT_EQ(Detail(),
            "Cannot set a sort mode on a virtual file containing records. (M) [(Set_VFileMode_To) VFiles]");
  EXPECT_EQ(Get_VFileMode(), kAscending);
  Set_VFileMode_To(kAscending);
  EXPECT_EQ(TzError, 0);
  // To FIFO: the order stays, new records go to the end.
  Set_VFileMode_To(kFifo);
  EXPECT_EQ(Get_VFileMode(), kFifo);
  Add("0");
  EXPECT_EQ(Order(), "a:0 b:0 c:0 0:0");
  SortVFile(kDescending);
  EXPECT_EQ(Get_VFileMode(), kDescending);
  EXPECT_EQ(RecNo(), 1);
  EXPECT_EQ(Order(), "c:0 b:0 a:0 0:0");
  Add("bb");
  EXPECT_EQ(Order(), "c:0 bb:0 b:0 a:0 0:0");
  SortVFile(kAscending);
  EXPECT_EQ(Order(), "0:0 a:0 b:0 bb:0 c:0");
  SortVFile(kLifo);
  EXPECT_EQ(LastCode(), 220);
  EXPECT_EQ(Detail(), "Sort mode not ASCENDING or DESCENDING for M [(SortVFile) VFiles]");
  Set_VFileMode_To(9);
  EXPECT_EQ(LastCode(), 220);
  EXPECT_EQ(Get_VFileMode(), kAscending);

  Select(2);
  OpenParts("P VIRTUAL FILE");
  Add("x");
  // Fewer than two records take any mode.
  Set_VFileMode_To(kDescending);
  EXPECT_EQ(Get_VFileMode(), kDescending);
  Set_VFileMode_To(kFifo);
  Add("y");
  SortVFile(kAscending);
  EXPECT_EQ(LastCode(), 1100);
  EXPECT_EQ(Detail(), "P has no KeyMaker.  Records cannot be sorted. [SortVFile]");
  EXPECT_EQ(Order(), "x:0 y:0");
}

TEST_F(VirtualFileTest, DeleteRecallPackAndSnip) {
  OpenParts("Q VIRTUAL FILE");
  for (const char* part : {"a", "b", "c", "d"}) Add(part);
  Go(2);
  ASSERT_TRUE(DeleteRec());
  EXPECT_TRUE(Deleted());
  Go(3);
  ASSERT_TRUE(DeleteRec());
  ASSERT_TRUE(RecallRec());
  EXPECT_FALSE(Deleted());
  Go(4);
  ASSERT_TRUE(DeleteRec());
  EXPECT_EQ(Order(), "a:0 b:0* c:0 d:0*");
  SetIgnoreDel(true);
  GoTop();
  Skip(1);
  EXPECT_EQ(TzTrimRight(FieldAsString(1)), "c");
  Skip(1);
  EXPECT_TRUE(dEOF());
  SetIgnoreDel(false);
  ASSERT_TRUE(Pack());
  EXPECT_EQ(RecNo(), 1);
  EXPECT_EQ(Order(), "a:0 c:0");
  // Snip: the next record becomes current; after the last, the one before.
  Add("e");
  Go(1);
  SnipRec();
  EXPECT_EQ(RecNo(), 1);
  EXPECT_EQ(TzTrimRight(FieldAsString(1)), "c");
  Go(2);
  SnipRec();
  EXPECT_EQ(RecNo(), 1);
  EXPECT_EQ(Order(), "c:0");
  GoBottom();
  Skip(1);
  SnipRec();
  EXPECT_EQ(LastCode(), 1103);
  // A pack that deletes everything leaves an empty file at record 0.
  GoTop();
  ASSERT_TRUE(DeleteRec());
  ASSERT_TRUE(Pack());
  EXPECT_EQ(RecCount(), 0);
  EXPECT_EQ(RecNo(), 0);
  EXPECT_TRUE(dEOF() && dBOF());
  Add("f");
  Add("g");
  ZapVFile();
  EXPECT_EQ(RecCount(), 0);
  EXPECT_TRUE(dEOF());
}

TEST_F(VirtualFileTest, VariableLengthRecordsKeepTheirSizes) {
  std::vector<std::uint8_t> buffer(64, 0);
  ASSERT_TRUE(Use("V VIRTUAL FILE", buffer.data(), 0));
  auto put = [&](const std::string& text) {
    const std::uint16_t n = static_cast<std::uint16_t>(text.size() + 1);
    std::memcpy(buffer.data(), &n, 2);
    buffer[2] = 0;
    std::memcpy(buffer.data() + 3, text.data(), text.size());
    ASSERT_TRUE(Append());
  };
  auto text = [&]() {
    std::uint16_t n;
    std::memcpy(&n, buffer.data(), 2);
    return std::string(reinterpret_cast<const char*>(buffer.data()) + 3, n - 1u);
  };
  put("short");
  put("a much longer record");
  put("x");
  Go(2);
  EXPECT_EQ(text(), "a much longer record");
  // A shorter replacement takes the record's place.
  put("");  // appended empty record, then replaced below
  Go(2);
  const std::uint16_t n = 3;
  std::memcpy(buffer.data(), &n, 2);
  std::memcpy(buffer.data() + 3, "ok", 2);
  ASSERT_TRUE(Replace());
  Go(1);
  Go(2);
  EXPECT_EQ(text(), "ok");
  // The deletion byte is the one after the length.
  ASSERT_TRUE(DeleteRec());
  EXPECT_EQ(buffer[2], 1);
  EXPECT_EQ(buffer[0], 3);
  EXPECT_TRUE(Deleted());
  ASSERT_TRUE(Pack());
  EXPECT_EQ(RecCount(), 3);
  Go(2);
  EXPECT_EQ(text(), "x");
  Go(3);
  EXPECT_EQ(text(), "");
}

TEST_F(VirtualFileTest, EngineReadersWorkOnVirtualFiles) {
  OpenParts("Q VIRTUAL FILE");
  Add("spur", 40, 12.75, "03/01/2024", true);
  Add("rack", -7, 88.1, "", false);
  Add("worm", 120, 3.5, "12/31/1999", true);
  Go(2);
  std::string text;
  GetFieldText(1, 3, text);
  EXPECT_EQ(text, "worm      ");
  GetFieldText(2, 2, text);
  EXPECT_EQ(text, "   -7");
  GetFieldText(3, 1, text);
  EXPECT_EQ(text, "   12.75");
  GetFieldText(4, 3, text);
  EXPECT_EQ(text, "19991231");
  GetFieldText(5, 1, text);
  EXPECT_EQ(text, "T");
  EXPECT_EQ(RecNo(), 2);
  EXPECT_TRUE(Locate("part", LocateValue(std::string("wo")), false, 1, false));
  EXPECT_EQ(RecNo(), 3);
  EXPECT_TRUE(Locate("made", LocateValue(std::string("20240301")), false, 1, false));
  EXPECT_EQ(RecNo(), 1);
  EXPECT_TRUE(Locate("stocked", LocateValue(true), false, 1, false));
  EXPECT_TRUE(Continue());
  EXPECT_EQ(RecNo(), 3);
  EXPECT_FALSE(Continue());
  EXPECT_TRUE(dEOF());

  // A table of the same fields takes the virtual file's records, and the
  // virtual file takes a table's.
  Select(2);
  const std::string table = Path("parts.dbf");
  ASSERT_TRUE(CreateDbf(table, kParts));
  ASSERT_TRUE(Use(table + " EXCLUSIVE"));
  ASSERT_TRUE(AppendFrom("Q VIRTUAL")) << LastReport();
  EXPECT_EQ(RecCount(), 3);
  Go(2);
  EXPECT_EQ(TzAllTrim(FieldAsString(2)), "-7");
  // Other types convert from the native values, or refuse their record.
  ASSERT_TRUE(CreateDbf(Path("texts.dbf"), {{"part", 'C', 4, 0}, {"qty", 'N', 2, 0}, {"price", 'C', 6, 0},
                                            {"made", 'C', 8, 0}, {"stocked", 'C', 1, 0}}));
  ASSERT_TRUE(Use(Path("texts.dbf") + " EXCLUSIVE"));
  EXPECT_FALSE(AppendFrom("Q VIRTUAL"));
  EXPECT_EQ(LastReport(), "Error # 233 (Records refused)\r\n1 record of Q refused, nothing of it appended; 2 records "
                          "appended.\r\nRecord 3: Field QTY: 120 does not fit N(2,0) [AppendFrom(Q VIRTUAL)]");
  std::vector<std::string> records;
  for (GoTop(); !dEOF(); Skip(1)) records.push_back(CurrentWorkAreaRecord()->table.record.substr(1));
  EXPECT_EQ(records, (std::vector<std::string>{"spur40 12.7503/01/24T", "rack-7 88.10        F"}));
  ASSERT_TRUE(Use(table + " EXCLUSIVE"));
  Select(1);
  ZapVFile();
  ASSERT_TRUE(AppendFrom(table)) << LastReport();
  EXPECT_EQ(Order(), "spur:40 rack:-7 worm:120");
  Go(3);
  EXPECT_EQ(FieldAsString(4), "12/31/99");
  EXPECT_EQ(FieldAsString(3), "    3.50");
  // Search reads a file's bytes and refuses virtual files; so do locks.
  int field = 0;
  Search("worm", field, true);
  EXPECT_EQ(LastCode(), 1100);
  EXPECT_FALSE(FLock());
  EXPECT_EQ(LastCode(), 1100);
}

TEST_F(VirtualFileTest, CommandsRefuseWhatTheyCannotServe) {
  PopRec();
  EXPECT_EQ(LastCode(), 215);
  EXPECT_EQ(Detail(), "No database in use [PopRec]  WorkArea = 1");
  const std::string table = Path("parts.dbf");
  ASSERT_TRUE(CreateDbf(table, kParts));
  ASSERT_TRUE(Use(table));
  SortVFile(kAscending);
  EXPECT_EQ(LastCode(), 1100);
  EXPECT_EQ(Detail(), "PARTS is not a virtual file. [SortVFile]");
  EXPECT_EQ(Get_VFileMode(), 0);

  Select(2);
  EXPECT_FALSE(Use("X VIRTUAL FILE", nullptr, 10));
  EXPECT_EQ(Detail(), "NIL buffer pointer [USE(X VIRTUAL FILE,Nil,<size>)]");
  std::vector<std::uint8_t> small(24);
  ASSERT_TRUE(Use("X VIRTUAL FILE", small.data(), small.size()));
  AddStru({{"name", 'c', 5, 0}, {"what", 'x', 3, 0}});
  EXPECT_EQ(LastCode(), 211);
  EXPECT_EQ(Detail(), "Invalid type \"X\" in VFile field list. Alias= X [AddStru]");
  AddStru({{"name", 'c', 5, 0}, {"count", 'n', 0, 0}});
  EXPECT_EQ(Detail(), "Invalid length, field name: \"COUNT\" in VFile field list. Alias= X [AddStru]");
  EXPECT_EQ(FieldCount(), 0);
  // Fields that do not fit the caller's buffer would be written past it.
  AddStru(kParts);
  EXPECT_EQ(LastCode(), 266);
  EXPECT_EQ(FieldCount(), 0);
  // D, L and M take their lengths; M becomes a plain number.
  AddStru({{"when", 'd', 3, 1}, {"ok", 'l', 9, 0}, {"notes", 'm', 4, 2}});
  ASSERT_EQ(TzError, 0) << LastReport();
  EXPECT_EQ(Field(1), "WHEN");
  EXPECT_EQ(FieldLen(1), 8);
  EXPECT_EQ(FieldLen(2), 1);
  EXPECT_EQ(FieldType(3), 'N');
  EXPECT_EQ(FieldLen(3), 10);
  EXPECT_EQ(FieldDec(3), 0);
}

// Rows of a table as dbfread reads them: part|qty|price|made|stocked.
std::string DbfreadRows(const std::filesystem::path& dir, const std::string& file, bool withDeleted) {
  return dbtest::RunPython(dir, "import dbfread\n"
                                "t = dbfread.DBF('" + file + "', load=True)\n"
                                "rows = list(t.records)" + std::string(withDeleted ? " + list(t.deleted)" : "") + "\n"
                                "for r in rows:\n"
                                "    print('%s|%s|%s|%s|%s' % (r['PART'], r['QTY'], r['PRICE'], r['MADE'], r['STOCKED']))\n");
}

class VirtualDiskTest : public VirtualFileTest {
 protected:
  void SetUp() override {
    VirtualFileTest::SetUp();
    Century = true;
    table_ = Path("vfile_parts.dbf");
    std::filesystem::copy_file(std::string(VOB_TEST_DATA_DIR) + "/dbase/vfile_parts.dbf", table_);
  }
  // The virtual file's rows in the format of DbfreadRows.
  std::string Rows() {
    std::string out;
    for (std::int64_t n = 1; n <= RecCount(); ++n) {
      Go(n);
      std::string made;
      GetFieldText(4, n, made);
      if (TzAllTrim(made).empty()) {
        made = "None";
      } else {
        made = made.substr(0, 4) + "-" + made.substr(4, 2) + "-" + made.substr(6, 2);
      }
      std::ostringstream price;
      price << NativeDouble(FieldAddress(3));
      if (price.str().find('.') == std::string::npos) price << ".0";
      out += TzTrimRight(FieldAsString(1)) + "|" + TzAllTrim(FieldAsString(2)) + "|" + price.str() + "|" + made + "|" +
             (FieldAddress(5)[0] ? "True" : "False") + "\n";
    }
    return out;
  }
  std::string table_;
};

TEST_F(VirtualDiskTest, ReadFromDiskGivesTheRowsAnotherWriterStored) {
  OpenParts("Q VIRTUAL FILE");
  ASSERT_TRUE(ReadVFileFromDisk(table_, true, false)) << LastReport();
  EXPECT_EQ(RecNo(), 1);
  const std::string rows = Rows();
  // The logical left unset reads as false here, as None in dbfread.
  EXPECT_EQ(rows,
            "spur|40|12.75|2024-03-01|True\n"
            "worm|120|3.5|None|True\n"
            "bevel|-2|0.0|2026-02-28|False\n"
            "helical|0|1234.56|1950-06-15|False\n");
  if (dbtest::HasPythonModule("dbfread")) {
    std::string fromReader = DbfreadRows(dir_, table_, false);
    const std::size_t none = fromReader.find("|None\n");
    ASSERT_NE(none, std::string::npos) << fromReader;
    fromReader.replace(none, 6, "|False\n");
    EXPECT_EQ(rows, fromReader);
  }
  // With deleted records kept, they arrive deleted, in the table's order.
  ZapVFile();
  ASSERT_TRUE(ReadVFileFromDisk(table_, false, false));
  EXPECT_EQ(Order(), "spur:40 rack:7* worm:120 bevel:-2 helical:0");
  // Loaded into a sorted file, they arrive sorted.
  Select(2);
  OpenParts("S VIRTUAL FILE DESCENDING");
  Set_VFileKey_To([](void*) { return TzAllTrim(FieldAsString(2)); }, nullptr);
  ASSERT_TRUE(ReadVFileFromDisk(table_, true, false));
  EXPECT_EQ(Order(), "worm:120 spur:40 helical:0 bevel:-2");
  // A missing table is nothing to read.
  EXPECT_TRUE(ReadVFileFromDisk(Path("none.dbf"), true, false));
  EXPECT_EQ(RecCount(), 4);
}

TEST_F(VirtualDiskTest, WriteToDiskAppendsOrReplacesAndDbfreadReadsTheResult) {
  if (!dbtest::HasPythonModule("dbfread")) GTEST_SKIP() << "python3-dbfread is not installed";
  const std::string before = DbfreadRows(dir_, table_, false);
  // The logical that the other writer left unset is written back as false.
  std::string rewritten = before;
  const std::size_t unset = rewritten.find("|None\n");
  ASSERT_NE(unset, std::string::npos);
  rewritten.replace(unset, 6, "|False\n");
  OpenParts("Q VIRTUAL FILE");
  ASSERT_TRUE(ReadVFileFromDisk(table_, true, false));
  Add("pinion", 5, 9.25, "07/04/2025", true);
  Add("gear", 1, 100, "", false);
  ASSERT_TRUE(WriteVFileToDisk(table_, true, false, false)) << LastReport();
  const std::string added = "pinion|5|9.25|2025-07-04|True\ngear|1|100.0|None|False\n";
  // Saving alone appends: the old records, then the file's.
  EXPECT_EQ(DbfreadRows(dir_, table_, false), before + rewritten + added);
  EXPECT_EQ(DbfreadRows(dir_, table_, true), before + rewritten + added + "rack|7|88.1|1999-12-31|False\n");

  // Replacing: the table holds the virtual file's records alone, and no
  // copy is left beside it.
  Go(1);
  ASSERT_TRUE(DeleteRec());
  ASSERT_TRUE(WriteVFileToDisk(table_, true, false, true)) << LastReport();
  const std::string rest = rewritten.substr(rewritten.find('\n') + 1) + added;
  EXPECT_EQ(DbfreadRows(dir_, table_, true), rest);
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir_)) files += entry.path().extension() != ".py";
  EXPECT_EQ(files, 1);
  // The table can be opened again at once.
  Select(2);
  ASSERT_TRUE(Use(table_ + " EXCLUSIVE"));
  EXPECT_EQ(RecCount(), 5);
}

TEST_F(VirtualDiskTest, TransfersRefuseTablesOfOtherFieldLists) {
  std::vector<std::uint8_t> buffer(64);
  ASSERT_TRUE(Use("Q VIRTUAL FILE", buffer.data(), buffer.size()));
  AddStru({{"part", 'C', 10, 0}, {"qty", 'N', 6, 0}, {"price", 'N', 8, 2}, {"made", 'D', 8, 0}, {"stocked", 'L', 1, 0}});
  ASSERT_EQ(TzError, 0);
  EXPECT_FALSE(ReadVFileFromDisk(table_, true, false));
  EXPECT_EQ(LastCode(), 1100);
  EXPECT_EQ(Detail(), "Field lists of Q and " + table_ + " differ [ReadFromDisk]");
  EXPECT_EQ(RecCount(), 0);
  const auto size = std::filesystem::file_size(table_);
  EXPECT_FALSE(WriteVFileToDisk(table_, true, false, false));
  EXPECT_EQ(Detail(), "Field lists of Q and " + table_ + " differ [WriteToDisk]");
  EXPECT_FALSE(WriteVFileToDisk(table_, true, false, true));
  EXPECT_EQ(std::filesystem::file_size(table_), size);
  // The virtual file's area is current again after a refusal.
  EXPECT_EQ(CurrentWorkArea(), 1);
  EXPECT_EQ(Alias(), "Q");
  EXPECT_TRUE(WriteVFileToDisk("", true, false, false));
}

TEST_F(VirtualDiskTest, ProgressWindowFromAHundredRecordsOn) {
  const std::string table = Path("many.dbf");
  ASSERT_TRUE(CreateDbf(table, kParts));
  ASSERT_TRUE(Use(table + " EXCLUSIVE"));
  for (int i = 0; i < 99; ++i) {
    ClearRecord();
    PutNativeInt32(FieldAddress(2), i);
    ASSERT_TRUE(Append());
  }
  Use("");
  platform::RecordingMessageWindows windows;
  platform::ScopedMessageWindows scoped(windows);
  OpenParts("Q VIRTUAL FILE");
  ASSERT_TRUE(ReadVFileFromDisk(table, false, true));
  EXPECT_EQ(windows.Created(), 0);
  EXPECT_EQ(RecCount(), 99);
  Add("hundredth");
  ASSERT_TRUE(WriteVFileToDisk(table, false, true, false));
  ASSERT_EQ(windows.Created(), 1);
  // The full bar, then one mark less after every record.
  ASSERT_EQ(windows.ShownTexts().size(), 101u);
  EXPECT_EQ(windows.ShownTexts().front().caption, "Writing to disk...");
  EXPECT_EQ(windows.ShownTexts().back().text, " ");
  EXPECT_EQ(windows.Open(), 0);
  ZapVFile();
  ASSERT_TRUE(ReadVFileFromDisk(table, false, true));
  EXPECT_EQ(windows.Created(), 2);
  EXPECT_EQ(windows.ShownTexts().back().caption, "Reading from disk...");
  EXPECT_EQ(RecCount(), 199);
}

}  // namespace
