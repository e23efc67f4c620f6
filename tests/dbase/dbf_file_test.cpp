// Table files: the bytes the engine writes, the headers it refuses, and
// the field values of every type through the native record.
#include "dbase/engine/dbf_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <iostream>

#include "dbase/dbase_test_support.h"
#include "dbase/engine/dbf_native.h"
#include "dbase/engine/navigation.h"

namespace {

using namespace dbase;
using testsupport::Put;
using testsupport::Slurp;

int Byte(const std::string& s, std::size_t i) { return static_cast<unsigned char>(s.at(i)); }
int Word(const std::string& s, std::size_t i) { return Byte(s, i) | (Byte(s, i + 1) << 8); }

// A 32-byte prolog followed by descriptors, in the layout of version 0x03.
std::string Header(std::uint8_t version, int headerLength, int recordLength, int records) {
  std::string h(32, '\0');
  h[0] = static_cast<char>(version);
  h[1] = 126;
  h[2] = 1;
  h[3] = 2;
  h[4] = static_cast<char>(records);
  h[8] = static_cast<char>(headerLength & 0xFF);
  h[9] = static_cast<char>(headerLength >> 8);
  h[10] = static_cast<char>(recordLength);
  return h;
}

std::string Descriptor(const std::string& name, char type, int length, int decimals = 0) {
  std::string d(32, '\0');
  std::memcpy(d.data(), name.data(), name.size());
  d[11] = type;
  d[16] = static_cast<char>(length);
  d[17] = static_cast<char>(decimals);
  return d;
}

// The program that crashes: appends 100 records to its table opened
// EXCLUSIVE (whose header it writes only when it closes the table), says so
// and is killed before it closes it.
int RunCrashingAppender(const std::string& table) {
  InitTzCommon();
  InitTzEngine();
  if (!Use(table + " EXCLUSIVE")) return 2;
  for (int i = 1; i <= 100; ++i) {
    ClearRecord();
    PutNativeString(FieldAddress(1), 7, "rec" + std::to_string(i));
    if (!Append()) return 3;
  }
  std::cout << "appended" << std::endl;
  std::raise(SIGKILL);
  return 4;
}

constexpr const char* kCrashVariable = "VOB_DBASE_CRASHING_APPENDER";
const bool kIsCrashingAppender = dbtest::RunAsSecondProgram(kCrashVariable, RunCrashingAppender);

class TableFile : public dbtest::EngineTest {
 protected:
  // A table with one field of each plain type.
  std::string MakeTable(const std::string& name) {
    const std::string path = Path(name);
    EXPECT_TRUE(CreateDbf(path, {{"name", 'C', 10, 0},
                                 {"price", 'N', 8, 2},
                                 {"born", 'D', 0, 0},
                                 {"ok", 'l', 0, 0},
                                 {"big", 'N', 12, 0}}));
    return path;
  }
};

TEST_F(TableFile, ANewTableHoldsTheHeaderAndOneEndByte) {
  const std::string path = MakeTable("parts");
  const std::string bytes = Slurp(Path("parts.dbf"));
  ASSERT_EQ(bytes.size(), 5u * 32 + 33 + 1);
  EXPECT_EQ(Byte(bytes, 0), 0x03);
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  EXPECT_EQ(Byte(bytes, 1), local.tm_year);
  EXPECT_EQ(Byte(bytes, 2), local.tm_mon + 1);
  EXPECT_EQ(Byte(bytes, 3), local.tm_mday);
  EXPECT_EQ(Word(bytes, 4) | (Word(bytes, 6) << 16), 0);
  EXPECT_EQ(Word(bytes, 8), 193);
  EXPECT_EQ(Word(bytes, 10), 1 + 10 + 8 + 8 + 1 + 12);
  EXPECT_EQ(bytes.substr(32, 32), Descriptor("NAME", 'C', 10));
  EXPECT_EQ(bytes.substr(64, 32), Descriptor("PRICE", 'N', 8, 2));
  EXPECT_EQ(bytes.substr(96, 32), Descriptor("BORN", 'D', 8));
  EXPECT_EQ(bytes.substr(128, 32), Descriptor("OK", 'L', 1));
  EXPECT_EQ(Byte(bytes, 192), 0x0D);
  EXPECT_EQ(Byte(bytes, 193), 0x1A);
}

TEST_F(TableFile, MemoTablesAndTheirEmptyMemoFiles) {
  CreateVersion = 0x83;
  ASSERT_TRUE(CreateDbf(Path("m3"), {{"price", 'F', 6, 1}, {"note", 'M', 0, 0}}));
  std::string bytes = Slurp(Path("m3.dbf"));
  EXPECT_EQ(Byte(bytes, 0), 0x83);
  EXPECT_EQ(bytes[32 + 11], 'N');  // F is stored as N in dBASE III tables
  EXPECT_EQ(Byte(bytes, 64 + 16), 10);
  const std::string memo3 = Slurp(Path("m3.dbt"));
  ASSERT_EQ(memo3.size(), 513u);
  EXPECT_EQ(Byte(memo3, 0), 1);
  EXPECT_EQ(Byte(memo3, 512), 0x1A);

  CreateVersion = 0x8B;
  ASSERT_TRUE(CreateDbf(Path("m4"), {{"pic", 'g', 0, 0}}));
  const std::string memo4 = Slurp(Path("m4.dbt"));
  ASSERT_EQ(memo4.size(), 24u);
  EXPECT_EQ(Word(memo4, 0), 1);
  EXPECT_EQ(memo4.substr(8, 8), std::string("m4\0\0\0\0\0\0", 8));
  EXPECT_EQ(Word(memo4, 18), 0x0102);
  EXPECT_EQ(Word(memo4, 20), 512);
  EXPECT_EQ(Byte(Slurp(Path("m4.dbf")), 0), 0x8B);

  CreateVersion = 0xF5;
  ASSERT_TRUE(CreateDbf(Path("fx"), {{"note", 'M', 0, 0}}));
  const std::string fpt = Slurp(Path("fx.fpt"));
  ASSERT_EQ(fpt.size(), 512u);
  EXPECT_EQ(Byte(fpt, 3), 1);
  EXPECT_EQ(Byte(fpt, 6), 2);
  EXPECT_EQ(Byte(fpt, 7), 0);

  CreateVersion = 0x8C;
  ASSERT_TRUE(CreateDbf(Path("l7"), {{"code", 'C', 4, 0}}));
  bytes = Slurp(Path("l7.dbf"));
  EXPECT_EQ(Byte(bytes, 0), 0x04);
  EXPECT_EQ(Word(bytes, 8), 48 + 33 + 36);
  EXPECT_EQ(bytes.substr(32, 8), "DBWINWE0");
  EXPECT_EQ(bytes[68 + 32], 'C');
  ASSERT_TRUE(Use(Path("l7")));
  EXPECT_EQ(Field(1), "CODE");
  EXPECT_EQ(FieldLen(1), 4);
}

TEST_F(TableFile, InvalidDefinitionsWriteNothing) {
  EXPECT_FALSE(CreateDbf(Path("bad"), {{"name", 'C', 0, 0}}));
  EXPECT_EQ(LastCode(), 211);
  EXPECT_NE(LastReport().find("Invalid dBASE field definition [CreateDBF]"), std::string::npos);
  EXPECT_FALSE(CreateDbf(Path("bad"), {{"x", 'Q', 5, 0}}));
  EXPECT_FALSE(std::filesystem::exists(Path("bad.dbf")));
}

TEST_F(TableFile, DamagedHeadersAreRefused) {
  Put(Path("short.dbf"), std::string(20, '\3'));
  EXPECT_FALSE(Use(Path("short.dbf")));
  EXPECT_EQ(LastCode(), 210);
  EXPECT_NE(LastReport().find(Path("short") + " is not a dBASE database. (Prolog is less than 32 bytes) [USE/OpenDBF]"),
            std::string::npos);

  Put(Path("v30.dbf"), Header(0x30, 65, 5, 0) + Descriptor("A", 'C', 4) + "\r");
  EXPECT_FALSE(Use(Path("v30.dbf")));
  EXPECT_NE(LastReport().find("is not a dBASE database.(Invalid version byte)+ [USE/OpenDBF]"), std::string::npos);
  CustomVersionPlain = 0x30;
  EXPECT_TRUE(Use(Path("v30.dbf")));
  CustomVersionPlain = 0;
  Use("");

  Put(Path("nofields.dbf"), Header(0x03, 33, 1, 0) + "\r");
  EXPECT_FALSE(Use(Path("nofields.dbf")));
  EXPECT_NE(LastReport().find("(Number of fields is out of range) [Use/OpenDbf]"), std::string::npos);

  Put(Path("badtype.dbf"), Header(0x03, 65, 5, 0) + Descriptor("A", 'X', 4) + "\r");
  EXPECT_FALSE(Use(Path("badtype.dbf")));
  EXPECT_EQ(LastCode(), 211);
  EXPECT_NE(LastReport().find("Field: A [X] in badtype.dbf is not a valid field type"), std::string::npos);

  // Fields longer than the record would be read beyond it.
  Put(Path("overlong.dbf"), Header(0x03, 65, 3, 0) + Descriptor("A", 'C', 40) + "\r");
  EXPECT_FALSE(Use(Path("overlong.dbf")));
  EXPECT_EQ(LastCode(), 210);
  EXPECT_EQ(CurrentWorkAreaRecord(), nullptr);

  Use(Path("missing"));
  EXPECT_EQ(LastCode(), 2);
  EXPECT_NE(LastReport().find("Failure to open " + Path("missing") + ".dbf [USE/OpenDbf]"), std::string::npos);
}

TEST_F(TableFile, GeneralAndPictureFieldsOpenAsMemo) {
  Put(Path("gp.dbf"),
      Header(0x8B, 97, 21, 0) + Descriptor("G", 'G', 10) + Descriptor("P", 'p', 10) + "\r" + "\x1a");
  ASSERT_TRUE(Use(Path("gp")));
  EXPECT_EQ(FieldType(1), 'M');
  EXPECT_EQ(FieldType(2), 'M');
  EXPECT_EQ(FieldAsString(1), "none");
  EXPECT_TRUE(dEOF());
  EXPECT_TRUE(dBOF());
  EXPECT_EQ(RecNo(), 0);
}

TEST_F(TableFile, DbaseTwoTablesAreRead) {
  std::string h(521, '\0');
  h[0] = 0x02;
  h[1] = 2;  // two records
  h[3] = 5;
  h[4] = 17;
  h[5] = 90;
  h[6] = 9;  // record length
  std::memcpy(h.data() + 8, "CODE", 4);
  h[8 + 11] = 'C';
  h[8 + 12] = 4;
  std::memcpy(h.data() + 24, "QTY", 3);
  h[24 + 11] = 'N';
  h[24 + 12] = 4;
  h[40] = 0x0D;
  Put(Path("two.dbf"), h + " ab    7" + " " + "*cd   -2" + " ");
  ASSERT_TRUE(Use(Path("two")));
  EXPECT_EQ(FieldCount(), 2);
  EXPECT_EQ(RecCount(), 2);
  EXPECT_EQ(FieldAsString(1), "ab  ");
  EXPECT_EQ(FieldAsString(2), "   7");
  Skip(1);
  EXPECT_TRUE(Deleted());
  EXPECT_EQ(WorkAreas[1]->table.lastUpdate, "19900517");
}

TEST_F(TableFile, ValuesOfEveryTypeRoundTrip) {
  MakeTable("vals");
  ASSERT_TRUE(Use(Path("vals") + " exclusive"));
  SetDateFormat(2);
  ClearRecord();
  PutNativeString(FieldAddress(1), 11, "Gear");
  PutNativeDouble(FieldAddress(2), -12.345);
  PutNativeString(FieldAddress(3), 11, "24/12/1999");
  FieldAddress(4)[0] = 1;
  PutNativeInt64(FieldAddress(5), 98765432109LL);
  ASSERT_TRUE(Append());
  ClearRecord();
  PutNativeDouble(FieldAddress(2), 123456.7);   // too wide for N(8,2)
  PutNativeString(FieldAddress(3), 11, "  /  /  ");
  ASSERT_TRUE(Append());
  Use("");
  const std::string bytes = Slurp(Path("vals.dbf"));
  const std::size_t r1 = 193;
  EXPECT_EQ(bytes.substr(r1, 40), " Gear        -12.3519991224T 98765432109");
  EXPECT_EQ(bytes.substr(r1 + 40, 40), "           ********        F           0");
  EXPECT_EQ(Byte(bytes, r1 + 80), 0x1A);
  EXPECT_EQ(bytes.size(), r1 + 81);

  // Read back: dates keep their century whatever Century says.
  ASSERT_TRUE(Use(Path("vals")));
  EXPECT_EQ(FieldAsString(3), "24/12/99");
  EXPECT_EQ(FieldLen(3), 8);
  Century = true;
  EXPECT_EQ(FieldAsString(3), "24/12/1999");
  EXPECT_EQ(FieldLen(3), 10);
  Century = false;
  EXPECT_EQ(FieldAsString(2), "  -12.35");
  EXPECT_EQ(FieldAsString(4), "Y");
  EXPECT_EQ(FieldAsString(5), " 98765432109");
  RLock();
  ASSERT_TRUE(Replace());
  Use("");
  EXPECT_EQ(Slurp(Path("vals.dbf")).substr(r1, 40), " Gear        -12.3519991224T 98765432109");
}

TEST_F(TableFile, NumbersBeyondSixtyFourBitsKeepTheirText) {
  ASSERT_TRUE(CreateDbf(Path("huge"), {{"n", 'N', 22, 0}, {"c", 'C', 2, 0}}));
  ASSERT_TRUE(Use(Path("huge") + " EXCLUSIVE"));
  ClearRecord();
  ASSERT_TRUE(Append());
  Use("");
  std::string bytes = Slurp(Path("huge.dbf"));
  const std::size_t r1 = 2 * 32 + 33;
  bytes.replace(r1 + 1, 22, "  12345678901234567890");
  Put(Path("huge.dbf"), bytes);
  ASSERT_TRUE(Use(Path("huge") + " EXCLUSIVE"));
  EXPECT_EQ(FieldAsString(1), "  12345678901234567890");
  PutNativeString(FieldAddress(2), 3, "xy");
  ASSERT_TRUE(Replace());
  Use("");
  EXPECT_EQ(Slurp(Path("huge.dbf")).substr(r1, 25), "   12345678901234567890xy");
}

// A whole-number field wide enough to show a number beyond 64 bits refuses
// it with the overflow error and keeps its value; a narrower one shows it
// as too wide, as any number too wide for its field.
TEST_F(TableFile, WholeNumbersBeyondSixtyFourBitsAreRefused) {
  ASSERT_TRUE(CreateDbf(Path("wide"), {{"wide", 'N', 20, 0}, {"narrow", 'N', 12, 0}}));
  ASSERT_TRUE(Use(Path("wide") + " EXCLUSIVE"));
  ClearRecord();
  const FieldDef wide = WorkAreas[1]->table.fields[0];
  const FieldDef narrow = WorkAreas[1]->table.fields[1];
  PutNativeNumber(wide, FieldAddress(1), 1234567890123.0);
  EXPECT_TRUE(reported_.empty()) << LastReport();
  PutNativeNumber(wide, FieldAddress(1), -3e19);
  EXPECT_EQ(LastCode(), 205);
  EXPECT_NE(LastReport().find("Field WIDE: -3e+19 is beyond the whole numbers it holds"), std::string::npos)
      << LastReport();
  PutNativeNumber(narrow, FieldAddress(2), 1e30);
  EXPECT_EQ(reported_.size(), 1u);
  ASSERT_TRUE(Append());
  Use("");
  EXPECT_EQ(Slurp(Path("wide.dbf")).substr(2 * 32 + 33, 33), "        1234567890123************");
}

// Number texts are those of printf's "%*.*f", exactly rounded (halves of
// the binary value included) and cut to "*" when too wide.
TEST_F(TableFile, NumberTextsMatchPrintf) {
  std::uint64_t state = 12345;
  const auto next = [&state] {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return state >> 11;
  };
  const std::vector<double> fixed = {0.125, 0.375, 2.675, -0.005, 1e15, -1234.5678, 0.0, 1e300, 5e-324, 999.995};
  for (int i = 0; i < 20000; ++i) {
    const double value = i < static_cast<int>(fixed.size())
                             ? fixed[static_cast<std::size_t>(i)]
                             : (static_cast<double>(next()) / 9007199254740992.0 - 0.5) *
                                   std::pow(10.0, static_cast<double>(next() % 16));
    const int width = 1 + static_cast<int>(next() % 24);
    const int decimals = static_cast<int>(next() % 8);
    char buffer[400];
    const int n = std::snprintf(buffer, sizeof buffer, "%*.*f", width, decimals, value);
    std::string expected = n > width ? std::string(static_cast<std::size_t>(width), '*') : std::string(buffer);
    if (expected.find_first_of("123456789*") == std::string::npos && expected.find('-') != std::string::npos) {
      expected[expected.find('-')] = ' ';
    }
    ASSERT_EQ(NumberFieldText(value, width, decimals), expected) << value << " " << width << " " << decimals;
  }
}

TEST_F(TableFile, RecordReadsBeyondTheCountAreRefused) {
  MakeTable("r");
  ASSERT_TRUE(Use(Path("r")));
  DbfTable& table = WorkAreas[1]->table;
  EXPECT_FALSE(GetDbfRecord(table, 1));
  EXPECT_EQ(LastCode(), 212);
  EXPECT_NE(LastReport().find("Invalid record number = 1 (" + Path("r.dbf") + ")  [GetDbfRecord]"), std::string::npos);
}

// A header that counts far more records than the file holds (a write cut
// short, or damage): the table opens with the whole records the file holds
// and says so once; a scan ends, and an append goes right after the last
// whole record (over a piece of a record left at the end).
TEST_F(TableFile, AHeaderCountingMoreRecordsThanTheFileHolds) {
  ASSERT_TRUE(CreateDbf(Path("cut"), {{"code", 'C', 6, 0}}));
  ASSERT_TRUE(Use(Path("cut") + " EXCLUSIVE"));
  for (const char* code : {"one", "two", "three"}) {
    ClearRecord();
    PutNativeString(FieldAddress(1), 7, code);
    ASSERT_TRUE(Append());
  }
  Use("");
  const std::size_t header = 32 + 33;
  std::string bytes = Slurp(Path("cut.dbf"));
  ASSERT_EQ(bytes.size(), header + 3 * 7 + 1);
  bytes.resize(header + 3 * 7);
  bytes += " fou";  // a record cut short
  const std::uint32_t claimed = 2000000000;
  for (int i = 0; i < 4; ++i) bytes[4 + i] = static_cast<char>(claimed >> (8 * i));
  Put(Path("cut.dbf"), bytes);
  Put(Path("shared.dbf"), bytes);

  ASSERT_TRUE(Use(Path("cut") + " EXCLUSIVE"));
  ASSERT_EQ(reported_.size(), 1u);
  EXPECT_EQ(LastCode(), 213);
  EXPECT_NE(LastReport().find(Path("cut.dbf") + " holds 3 records, its header counts 2000000000 [USE/OpenDbf]"),
            std::string::npos)
      << LastReport();
  EXPECT_EQ(RecCount(), 3);
  std::vector<std::string> codes;
  for (GoTop(); !dEOF() && codes.size() < 10; Skip(1)) codes.push_back(FieldAsString(1));
  EXPECT_EQ(codes, (std::vector<std::string>{"one   ", "two   ", "three "}));
  EXPECT_EQ(reported_.size(), 1u) << LastReport();
  ClearRecord();
  PutNativeString(FieldAddress(1), 7, "four");
  ASSERT_TRUE(Append());
  ASSERT_TRUE(Pack());
  Use("");
  bytes = Slurp(Path("cut.dbf"));
  ASSERT_EQ(bytes.size(), header + 4 * 7 + 1);
  EXPECT_EQ(Byte(bytes, 4), 4);
  EXPECT_EQ(Word(bytes, 6), 0);
  EXPECT_EQ(bytes.substr(header + 3 * 7), " four  \x1a");
  EXPECT_EQ(reported_.size(), 1u) << LastReport();

  // Shared, another program may be writing: the file's count, no report.
  ASSERT_TRUE(Use(Path("shared")));
  EXPECT_EQ(RecCount(), 3);
  EXPECT_EQ(reported_.size(), 1u);
}

// A program that appended to its table EXCLUSIVE and was killed before it
// wrote the header leaves records beyond the header's count: the next
// exclusive open takes them, says so once, and appends after them, never
// over them. Bytes after the end-of-file mark (a file padded by another
// program) are no records.
TEST_F(TableFile, RecordsBeyondTheHeadersCountAfterACrash) {
  ASSERT_TRUE(CreateDbf(Path("crash"), {{"code", 'C', 6, 0}}));
  dbtest::SelfProcess crashing(kCrashVariable, Path("crash.dbf"));
  EXPECT_EQ(crashing.Line(), "appended");
  int code = 0;
  crashing.Finish(&code);
  EXPECT_EQ(code, -1);  // killed
  const std::size_t header = 32 + 33;
  std::string bytes = Slurp(Path("crash.dbf"));
  ASSERT_EQ(bytes.size(), header + 100 * 7);
  ASSERT_EQ(Word(bytes, 4), 0);  // the header still counts none

  ASSERT_TRUE(Use(Path("crash") + " EXCLUSIVE"));
  ASSERT_EQ(reported_.size(), 1u);
  EXPECT_EQ(LastCode(), 213);
  EXPECT_NE(LastReport().find(Path("crash.dbf") + " holds 100 records, its header counts 0 [USE/OpenDbf]"),
            std::string::npos)
      << LastReport();
  EXPECT_EQ(RecCount(), 100);
  ClearRecord();
  PutNativeString(FieldAddress(1), 7, "after");
  ASSERT_TRUE(Append());
  EXPECT_EQ(RecNo(), 101);
  Use("");
  bytes = Slurp(Path("crash.dbf"));
  ASSERT_EQ(bytes.size(), header + 101 * 7 + 1);
  EXPECT_EQ(Word(bytes, 4), 101);
  EXPECT_EQ(bytes.substr(header, 7), " rec1  ");
  EXPECT_EQ(bytes.substr(header + 99 * 7, 7), " rec100");
  EXPECT_EQ(bytes.substr(header + 100 * 7), " after \x1a");
  ASSERT_TRUE(Use(Path("crash") + " EXCLUSIVE"));
  EXPECT_EQ(reported_.size(), 1u) << LastReport();
  Use("");

  // Three records, the end-of-file mark, and padding of two records' size.
  bytes.resize(header + 3 * 7);
  bytes[4] = 3;
  bytes[5] = 0;
  bytes += "\x1a" + std::string(14, ' ');
  Put(Path("padded.dbf"), bytes);
  ASSERT_TRUE(Use(Path("padded") + " EXCLUSIVE"));
  EXPECT_EQ(RecCount(), 3);
  EXPECT_EQ(reported_.size(), 1u) << LastReport();
}

// Integers of every width a numeric field may have are formatted whole.
TEST_F(TableFile, IntegerTextsOfEveryWidth) {
  for (int width = 1; width <= 255; ++width) {
    const std::string text = IntegerFieldText(-12345, width);
    ASSERT_EQ(text.size(), static_cast<std::size_t>(width));
    if (width < 6) {
      EXPECT_EQ(text, std::string(static_cast<std::size_t>(width), '*'));
    } else {
      EXPECT_EQ(text, std::string(static_cast<std::size_t>(width) - 6, ' ') + "-12345");
    }
  }
}

}  // namespace
