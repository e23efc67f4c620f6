// Tables the engine writes, read by independent dBASE readers (Python's
// dbfread, dbview, dbf_dump), after each kind of change; and tables of
// another dBASE writer (python3-dbf, committed under data/) read by the
// engine.
#include <gtest/gtest.h>

#include "dbase/dbase_test_support.h"
#include "dbase/engine/dbf_native.h"
#include "dbase/engine/navigation.h"
#include "dbase/expr/expr_hooks.h"
#include "dbase/index/index_commands.h"
#include "dbase/index/index_control.h"

namespace {

using namespace dbase;
using testsupport::Slurp;

const char* const kDbfread = R"(
import sys, dbfread
t = dbfread.DBF(sys.argv[1] if len(sys.argv) > 1 else 'readers.dbf', encoding='cp850', load=True)
print(t.header.numrecords, t.header.headerlen, t.header.recordlen)
print(' '.join('%s:%s:%d:%d' % (f.name, f.type, f.length, f.decimal_count) for f in t.fields))
def show(r):
    return '|'.join(v.isoformat() if hasattr(v, 'isoformat') else str(v) for v in r.values())
for r in t.records: print(show(r))
for r in t.deleted: print('deleted ' + show(r))
)";

class IndependentReaders : public dbtest::EngineTest {
 protected:
  void SetUp() override {
    dbtest::EngineTest::SetUp();
    if (!dbtest::HasPythonModule("dbfread")) GTEST_SKIP() << "Python's dbfread is not installed";
    if (!dbtest::HasProgram("dbview") || !dbtest::HasProgram("dbf_dump")) {
      GTEST_SKIP() << "dbview or dbf_dump is not installed";
    }
  }
  std::string Dbfread() { return dbtest::RunPython(dir_, std::string("import os; os.chdir('") + dir_.string() + "')\n" + kDbfread); }
  std::string Dbview() { return dbtest::RunCommand("cd " + dbtest::Quoted(dir_.string()) + " && dbview -b readers.dbf"); }
  std::string DbfDump() { return dbtest::RunCommand("cd " + dbtest::Quoted(dir_.string()) + " && dbf_dump readers.dbf"); }

  void Put(const std::string& name, int qty, double price, std::int64_t big, const std::string& born, bool ok) {
    ClearRecord();
    PutNativeString(FieldAddress(1), 13, name);
    PutNativeInt32(FieldAddress(2), qty);
    PutNativeDouble(FieldAddress(3), price);
    PutNativeInt64(FieldAddress(4), big);
    PutNativeString(FieldAddress(5), 11, born);
    FieldAddress(6)[0] = ok ? 1 : 0;
  }
};

TEST_F(IndependentReaders, EveryChangeReadsBackTheSame) {
  ASSERT_TRUE(CreateDbf(Path("readers"), {{"NAME", 'C', 12, 0},
                                          {"QTY", 'N', 6, 0},
                                          {"PRICE", 'N', 9, 2},
                                          {"BIG", 'N', 15, 0},
                                          {"BORN", 'D', 8, 0},
                                          {"OK", 'L', 1, 0}}));
  EXPECT_EQ(Dbfread(), "0 225 52\nNAME:C:12:0 QTY:N:6:0 PRICE:N:9:2 BIG:N:15:0 BORN:D:8:0 OK:L:1:0\n");
  ASSERT_TRUE(Use(Path("readers") + " EXCLUSIVE"));
  Put("Gear wheel", 12, 104.5, 123456789012345, "12/24/1999", true);
  ASSERT_TRUE(Append());
  Put("Pinion", -3, 0.25, -98765432109, "01/02/26", false);
  ASSERT_TRUE(Append());
  Put("M\xfcller", 7, -1.5, 4000000000, "02/28/1900", true);
  ASSERT_TRUE(Append());
  Put("Rack", 0, 99999.99, 0, "  /  /  ", false);
  ASSERT_TRUE(Append());
  FlushHeader(WorkAreas[1]->table);
  EXPECT_EQ(Dbfread(),
            "4 225 52\nNAME:C:12:0 QTY:N:6:0 PRICE:N:9:2 BIG:N:15:0 BORN:D:8:0 OK:L:1:0\n"
            "Gear wheel|12|104.5|123456789012345|1999-12-24|True\n"
            "Pinion|-3|0.25|-98765432109|2026-01-02|False\n"
            "M\xc3\xbcller|7|-1.5|4000000000|1900-02-28|True\n"
            "Rack|0|99999.99|0|None|False\n");
  EXPECT_EQ(Dbview(),
            "Gear wheel  :    12:   104.50:123456789012345:19991224:T:\n"
            "Pinion      :    -3:     0.25:   -98765432109:20260102:F:\n"
            "M\x81ller      :     7:    -1.50:     4000000000:19000228:T:\n"
            "Rack        :     0: 99999.99:              0:        :F:\n");

  Go(2);
  PutNativeString(FieldAddress(1), 13, "Pinion 2");
  ASSERT_TRUE(Replace());
  Go(1);
  ASSERT_TRUE(DeleteRec());
  Go(3);
  ASSERT_TRUE(DeleteRec());
  ASSERT_TRUE(RecallRec());
  Use("");
  EXPECT_EQ(Dbfread(),
            "4 225 52\nNAME:C:12:0 QTY:N:6:0 PRICE:N:9:2 BIG:N:15:0 BORN:D:8:0 OK:L:1:0\n"
            "Pinion 2|-3|0.25|-98765432109|2026-01-02|False\n"
            "M\xc3\xbcller|7|-1.5|4000000000|1900-02-28|True\n"
            "Rack|0|99999.99|0|None|False\n"
            "deleted Gear wheel|12|104.5|123456789012345|1999-12-24|True\n");
  EXPECT_EQ(DbfDump(),
            "Pinion 2:-3:0.25:-98765432109:20260102:0\n"
            "M\x81ller:7:-1.5:4000000000:19000228:1\n"
            "Rack:0:99999.99:0::0\n");
  std::string bytes = Slurp(Path("readers.dbf"));
  ASSERT_EQ(bytes.size(), 225u + 4 * 52 + 1);
  EXPECT_EQ(bytes.back(), '\x1a');

  ASSERT_TRUE(Use(Path("readers") + " EXCLUSIVE"));
  ASSERT_TRUE(Pack());
  Use("");
  EXPECT_EQ(Dbfread(),
            "3 225 52\nNAME:C:12:0 QTY:N:6:0 PRICE:N:9:2 BIG:N:15:0 BORN:D:8:0 OK:L:1:0\n"
            "Pinion 2|-3|0.25|-98765432109|2026-01-02|False\n"
            "M\xc3\xbcller|7|-1.5|4000000000|1900-02-28|True\n"
            "Rack|0|99999.99|0|None|False\n");
  EXPECT_EQ(dbtest::RunCommand("cd " + dbtest::Quoted(dir_.string()) + " && dbf_dump --info readers.dbf | grep 'Num of records'"),
            "Num of records:\t3\n");
  bytes = Slurp(Path("readers.dbf"));
  ASSERT_EQ(bytes.size(), 225u + 3 * 52 + 1);
  EXPECT_EQ(bytes.back(), '\x1a');
}

class ForeignTables : public dbtest::EngineTest {
 protected:
  std::string Fixture(const std::string& name) {
    const std::filesystem::path target = dir_ / name;
    std::filesystem::copy_file(std::filesystem::path(VOB_TEST_DATA_DIR) / "dbase" / name, target);
    return target.string();
  }
};

TEST_F(ForeignTables, AnotherWritersTableReads) {
  const std::string path = Fixture("foreign3.dbf");
  const std::string original = Slurp(path);
  ASSERT_TRUE(Use(path + " EXCLUSIVE"));
  EXPECT_EQ(RecCount(), 4);
  EXPECT_EQ(FieldCount(), 6);
  EXPECT_EQ(Field(4), "BIG");
  std::vector<std::string> rows;
  for (GoTop(); !dEOF(); Skip(1)) {
    std::string row = Deleted() ? "*" : "";
    for (int n = 1; n <= FieldCount(); ++n) row += FieldAsString(n) + "|";
    rows.push_back(row);
  }
  EXPECT_EQ(rows, (std::vector<std::string>{
                      "Gear wheel  |    12|   104.50|123456789012345|12/24/99|Y|",
                      "*Pinion      |    -3|     0.25|   -98765432109|01/02/26|N|",
                      "Rack        |     0| 99999.99|              0|  /  /  |N|",
                      "M\xfcller      |     7|    -1.50|     4000000000|02/28/00|Y|",
                  }));
  // Written back unchanged, the records keep their bytes (dates with their
  // century among them, and the unknown logical "?" of record 3).
  for (const int record : {1, 2, 3, 4}) {
    Go(record);
    ASSERT_TRUE(Replace());
  }
  Use("");
  EXPECT_EQ(Slurp(path), original.substr(0, 1) + Slurp(path).substr(1, 3) + original.substr(4));

  ASSERT_TRUE(Use(Fixture("empty3.dbf")));
  EXPECT_EQ(RecNo(), 0);
  EXPECT_TRUE(dEOF());
  EXPECT_TRUE(dBOF());
}

// Numeric fields as wide as a field can be: the digits end the field, and
// the blanks before them are blanks (no byte of anything else).
TEST_F(IndependentReaders, WideIntegerFieldsAreWrittenWhole) {
  ASSERT_TRUE(CreateDbf(Path("readers"), {{"N63", 'N', 63, 0},
                                          {"N64", 'N', 64, 0},
                                          {"N80", 'N', 80, 0},
                                          {"N255", 'N', 255, 0},
                                          {"TAIL", 'C', 2, 0}}));
  ASSERT_TRUE(Use(Path("readers") + " EXCLUSIVE"));
  ClearRecord();
  ASSERT_TRUE(Append());
  PutNativeInt64(FieldAddress(1), -9223372036854775807LL);
  PutNativeInt64(FieldAddress(2), 7);
  PutNativeInt64(FieldAddress(3), 1234567890123456789LL);
  PutNativeInt64(FieldAddress(4), -42);
  PutNativeString(FieldAddress(5), 3, "ok");
  ASSERT_TRUE(Append());
  EXPECT_EQ(FieldAsString(3), std::string(61, ' ') + "1234567890123456789");
  EXPECT_EQ(FieldAsString(4), std::string(252, ' ') + "-42");
  Use("");
  const std::string bytes = Slurp(Path("readers.dbf"));
  const std::size_t header = 5 * 32 + 33;
  const std::size_t length = 1 + 63 + 64 + 80 + 255 + 2;
  ASSERT_EQ(bytes.size(), header + 2 * length + 1);
  const std::string first = bytes.substr(header, length);
  EXPECT_EQ(first, " " + std::string(62, ' ') + "0" + std::string(63, ' ') + "0" + std::string(79, ' ') + "0" +
                       std::string(254, ' ') + "0  ");
  const std::string second = bytes.substr(header + length, length);
  EXPECT_EQ(second, " " + std::string(43, ' ') + "-9223372036854775807" + std::string(63, ' ') + "7" +
                        std::string(61, ' ') + "1234567890123456789" + std::string(252, ' ') + "-42ok");
  EXPECT_EQ(Dbfread(), "2 193 465\nN63:N:63:0 N64:N:64:0 N80:N:80:0 N255:N:255:0 TAIL:C:2:0\n"
                       "0|0|0|0|\n"
                       "-9223372036854775807|7|1234567890123456789|-42|ok\n");
}

// Blank numbers and an unknown logical (another program's "nothing
// entered") stay as they are when the record is written back, changed in
// other fields or copied to a new record; dbfread tells them from 0 and F.
TEST_F(IndependentReaders, BlankFieldsSurviveARewrite) {
  ASSERT_TRUE(CreateDbf(Path("readers"), {{"NAME", 'C', 8, 0},
                                          {"QTY", 'N', 6, 0},
                                          {"PRICE", 'N', 9, 2},
                                          {"RATE", 'F', 8, 3},
                                          {"OK", 'L', 1, 0}}));
  ASSERT_TRUE(Use(Path("readers") + " EXCLUSIVE"));
  for (const char* name : {"blank", "zero"}) {
    ClearRecord();
    PutNativeString(FieldAddress(1), 9, name);
    ASSERT_TRUE(Append());
  }
  Use("");
  std::string bytes = Slurp(Path("readers.dbf"));
  const std::size_t header = 5 * 32 + 33;
  const std::size_t length = 1 + 8 + 6 + 9 + 8 + 1;
  const std::string zero = " zero         0     0.00   0.000F";
  ASSERT_EQ(zero.size(), length);
  ASSERT_EQ(bytes.substr(header + length, length), zero);
  const std::string blanks(6 + 9 + 8, ' ');
  bytes.replace(header, length, " blank   " + blanks + "?");
  testsupport::Put(Path("readers.dbf"), bytes);

  ASSERT_TRUE(Use(Path("readers")));
  EXPECT_EQ(FieldAsString(2), "     0");  // blank reads as 0
  ASSERT_TRUE(RLock());
  PutNativeString(FieldAddress(1), 9, "renamed");
  ASSERT_TRUE(Replace());
  // A copy of the record made by appending it keeps the blanks too, and a
  // value assigned is written.
  PutNativeString(FieldAddress(1), 9, "copy");
  PutNativeDouble(FieldAddress(3), 2.5);
  Unlock();
  ASSERT_TRUE(ALock());
  ASSERT_TRUE(Append());
  Unlock();
  Go(2);
  ASSERT_TRUE(RLock());
  ASSERT_TRUE(Replace());
  Unlock();
  Use("");
  bytes = Slurp(Path("readers.dbf"));
  EXPECT_EQ(bytes.substr(header, length), " renamed " + blanks + "?");
  EXPECT_EQ(bytes.substr(header + length, length), zero);
  EXPECT_EQ(bytes.substr(header + 2 * length, length), " copy    " + std::string(6, ' ') + "     2.50" +
                                                          std::string(8, ' ') + "?");
  EXPECT_EQ(Dbfread(), "3 193 33\nNAME:C:8:0 QTY:N:6:0 PRICE:N:9:2 RATE:F:8:3 OK:L:1:0\n"
                       "renamed|None|None|None|None\n"
                       "zero|0|0.0|0.0|False\n"
                       "copy|None|2.5|None|None\n");
}

// A value assigned through the engine (MarkFieldAssigned) is written even
// when it equals the value read, also while an index is kept (the replace
// reads the stored record for the old keys first); a field not assigned
// keeps its blank.
TEST_F(IndependentReaders, AssignedValuesAreWrittenUnderAnIndex) {
  ASSERT_TRUE(CreateDbf(Path("readers"), {{"NAME", 'C', 8, 0}, {"QTY", 'N', 6, 0}, {"OK", 'L', 1, 0}}));
  ASSERT_TRUE(Use(Path("readers") + " EXCLUSIVE"));
  for (const char* name : {"one", "two"}) {
    ClearRecord();
    PutNativeString(FieldAddress(1), 9, name);
    ASSERT_TRUE(Append());
  }
  Use("");
  std::string bytes = Slurp(Path("readers.dbf"));
  const std::size_t header = 3 * 32 + 33;
  for (std::size_t r = 0; r < 2; ++r) bytes.replace(header + r * 16 + 9, 7, "      ?");
  testsupport::Put(Path("readers.dbf"), bytes);
  InstallExprHooks();
  IndexInit();
  ASSERT_TRUE(Use(Path("readers") + " EXCLUSIVE"));
  Index_On("NAME", Path("names"));
  ASSERT_EQ(LastCode(), 0) << LastReport();
  GoTop();
  PutNativeInt32(FieldAddress(2), 0);
  MarkFieldAssigned(2);
  FieldAddress(3)[0] = 0;
  MarkFieldAssigned(3);
  PutNativeString(FieldAddress(1), 9, "first");
  ASSERT_TRUE(Replace());
  Skip(1);
  PutNativeString(FieldAddress(1), 9, "second");
  ASSERT_TRUE(Replace());
  Use("");
  IndexDone();
  EXPECT_EQ(Dbfread(), "2 129 16\nNAME:C:8:0 QTY:N:6:0 OK:L:1:0\n"
                       "first|0|False\n"
                       "second|None|None\n");
}

}  // namespace
