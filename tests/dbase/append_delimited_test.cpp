// AppendFrom with its field conversions and memo copies, the delimited text
// export (golden bytes, and read back by Python's csv module) and import,
// and the progress window of the import.
#include "dbase/engine/append_from.h"

#include <gtest/gtest.h>

#include "dbase/dbase_test_support.h"
#include "dbase/engine/dbf_native.h"
#include "dbase/engine/delimited_text.h"
#include "dbase/engine/engine_settings.h"
#include "dbase/engine/navigation.h"
#include "dbase/engine/raw_field_access.h"
#include "dbase/engine/progress_windows.h"
#include "dbase/memo/memo_text.h"
#include "dbase/memo/memo_unit.h"
#include "platform/message_windows.h"

namespace {

using namespace dbase;

class AppendTest : public dbtest::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    InitMemoUnit();
    Delimiter = ',';
    QuoteChar = '"';
  }
  void TearDown() override {
    EngineTest::TearDown();
    CreateVersion = 0x8B;
    Century = false;
  }
  std::vector<std::string> Row() {
    std::vector<std::string> row;
    for (int i = 1; i <= FieldCount(); ++i) row.push_back(FieldAsString(i));
    return row;
  }
  std::vector<std::vector<std::string>> Rows() {
    std::vector<std::vector<std::string>> rows;
    for (GoTop(); !dEOF(); Skip(1)) rows.push_back(Row());
    return rows;
  }

  // NAME C(12), BORN D, PRICE N(9,2), QTY N(5,0), RATE F(8,3), OK L.
  std::string Plain(const std::string& name) {
    const std::string path = Path(name);
    EXPECT_TRUE(CreateDbf(path, {{"name", 'C', 12, 0},
                                 {"born", 'D', 8, 0},
                                 {"price", 'N', 9, 2},
                                 {"qty", 'N', 5, 0},
                                 {"rate", 'F', 8, 3},
                                 {"ok", 'L', 1, 0}}));
    return path;
  }
  void AddPlain(const std::string& name, const std::string& born, double price, int qty, double rate, bool ok) {
    ClearRecord();
    PutNativeString(FieldAddress(1), 13, name);
    if (!born.empty()) PutNativeString(FieldAddress(2), 11, born);
    PutNativeDouble(FieldAddress(3), price);
    PutNativeInt32(FieldAddress(4), qty);
    PutNativeDouble(FieldAddress(5), rate);
    FieldAddress(6)[0] = ok ? 1 : 0;
    ASSERT_TRUE(Append());
  }
  void FillPlain() {
    AddPlain("Gear wheel", "12/24/1999", 104.5, 12, 0.125, true);
    AddPlain("M\xFCller, K.", "", -3, -7, -1.5, false);
    AddPlain("  lead", "01/02/2026", 0, 0, 1234.567, true);
  }
};

// Append dbf over every pair of field types: each value arrives as it was
// (the target's stored text) or its record is refused, and the append goes
// on and says at its end how many records it refused, which, and why. Blank
// values, an unknown logical one among them, arrive blank.
TEST_F(AppendTest, AppendFromStoresEveryValueAsGivenOrRefusesItsRecord) {
  // A value as the source stores it and as it arrives: the target's stored
  // text, or "!" and why its record is refused; "memo:" and a memo's text.
  struct Pair { FieldDef from, to; std::vector<std::pair<std::string, std::string>> values; char separator = '.'; };
  const FieldDef c10{"v", 'C', 10, 0}, n10{"v", 'N', 10, 2}, n4{"v", 'N', 4, 0}, f8{"v", 'F', 8, 3}, d{"v", 'D', 8, 0},
      l{"v", 'L', 1, 0}, m{"v", 'M', 10, 0}, c8{"v", 'C', 8, 0}, n8{"v", 'N', 8, 2};
  const std::string blank10(10, ' '), blank8(8, ' ');
  const std::vector<Pair> pairs = {
      {c10, c8, {{"Gear", "Gear    "}, {"M\xFCller", "M\xFCller  "}, {"Gearwheels", "!Gearwheels does not fit C(8)"}}},
      {n10, c8, {{"     12.50", "   12.50"}, {"1234567.50", "!1234567.50 does not fit C(8)"}, {blank10, blank8}}},
      {n4, c8, {{"  42", "      42"}}}, {f8, c8, {{"  -1.500", "  -1.500"}}},
      {d, c8, {{"19991224", "12/24/99"}, {"18991224", "!12/24/1899 does not fit C(8)"}, {"", blank8}}},
      {l, c8, {{"T", "T       "}, {"n", "F       "}, {"?", blank8}, {"X", "!X is not a logical value"}}},
      {m, c8, {{"memo:note", "!a memo does not go into C(8)"}, {"", blank8}}},
      {c10, n8, {{"  12.5", "   12.50"}, {"1,5", "!1,5 is not a number"}, {"12 mm", "!12 mm is not a number"},
                 {"123456.789", "!123456.789 does not fit N(8,2)"}, {"", blank8}}},
      {n10, n8, {{"     12.50", "   12.50"}, {"1234567.50", "!1234567.50 does not fit N(8,2)"}, {blank10, blank8}}},
      {n4, n8, {{"  42", "   42.00"}}}, {f8, n8, {{"   1.500", "    1.50"}}},
      {d, n8, {{"19991224", "!the date 12/24/1999 does not go into N(8,2)"}, {"", blank8}}},
      {l, n8, {{"T", "!the logical value T does not go into N(8,2)"}, {" ", blank8}}},
      {m, n8, {{"memo:note", "!a memo does not go into N(8,2)"}}},
      // The engine's decimal comma, as on a German desktop.
      {c10, n8, {{"1,5", "    1.50"}, {"0.25", "    0.25"}, {"1.234,5", "!1.234,5 is not a number"}}, ','},
      {c10, n4, {{" 7.5", "   8"}, {"12345", "!12345 does not fit N(4,0)"}}},
      {n10, n4, {{"     -2.50", "  -3"}, {"  12345.00", "!12345.00 does not fit N(4,0)"}}},
      {f8, n4, {{"   0.400", "   0"}}}, {c10, f8, {{"-2.5e-1", "  -0.250"}}},
      {n10, f8, {{"     12.50", "  12.500"}, {"  99999.99", "!99999.99 does not fit F(8,3)"}}},
      {c10, d, {{"12/24/99", "19991224"}, {"20240131", "20240131"}, {"13/45/2026", "!13/45/2026 is not a date"},
                {"", blank8}}},
      {n10, d, {{"  20240131", "!the number 20240131 does not go into D"}}}, {d, d, {{"20240229", "20240229"}}},
      {l, d, {{"F", "!the logical value F does not go into D"}}},
      {c10, l, {{"T", "T"}, {"yes", "T"}, {"TRUE", "T"}, {".t.", "T"}, {"y", "T"}, {".F.", "F"}, {"n", "F"},
                {"No", "F"}, {"f", "F"}, {"?", " "}, {"", " "}, {"Tomato", "!Tomato is not a logical value"},
                {"1", "!1 is not a logical value"}}},
      {l, l, {{"t", "T"}, {"F", "F"}, {"?", " "}, {" ", " "}}}, {m, l, {{"memo:note", "!a memo does not go into L"}}},
      {n4, l, {{"   1", "!the number 1 does not go into L"}, {"    ", " "}}},
      {d, l, {{"19991224", "!the date 12/24/1999 does not go into L"}}},
      {c10, m, {{"memo text", "memo:memo text"}, {"", "memo:"}}}, {m, m, {{"memo:first\r\nmemo", "memo:first\r\nmemo"}}},
      {n10, m, {{"     12.50", "!the number 12.50 does not go into M"}}},
      {d, m, {{"19991224", "!the date 12/24/1999 does not go into M"}}},
  };
  for (std::size_t p = 0; p < pairs.size(); ++p) {
    const auto& [fromField, toField, values, separator] = pairs[p];
    SCOPED_TRACE(std::string(1, fromField.type) + " into " + toField.type + " (pair " + std::to_string(p) + ")");
    // The source's first field is not the target's: fields go by name.
    const std::string from = Path("from" + std::to_string(p) + ".dbf"), to = Path("to" + std::to_string(p) + ".dbf");
    ASSERT_TRUE(CreateDbf(from, {{"key", 'N', 3, 0}, fromField}) && CreateDbf(to, {toField}));
    ASSERT_TRUE(Use(from + " EXCLUSIVE"));
    for (const auto& [stored, arrives] : values) {
      ClearRecord();
      if (stored.rfind("memo:", 0) == 0) PutNativeInt32(FieldAddress(2), AddMemo(stored.substr(5)));
      ASSERT_TRUE(Append());
      if (fromField.type != 'M') Poke(stored, 2, RecNo());
    }
    ASSERT_TRUE(Use(to + " EXCLUSIVE"));
    reported_.clear();
    DecimalSeparator = separator;
    const bool appended = AppendFrom(from);
    DecimalSeparator = '.';
    std::string refused;
    std::int64_t taken = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
      const std::string& arrives = values[i].second;
      if (arrives[0] == '!') refused += "\r\nRecord " + std::to_string(i + 1) + ": Field V: " + arrives.substr(1);
      if (arrives[0] == '!') continue;
      std::string text;
      Go(++taken);
      EXPECT_TRUE(toField.type != 'M' || ReadMemoText(NativeInt32(FieldAddress(1)), text));
      if (toField.type != 'M') Peek(1, taken, text);
      EXPECT_EQ(toField.type == 'M' ? "memo:" + text : text, arrives);
    }
    EXPECT_EQ(RecCount(), taken);
    const std::size_t refusals = values.size() - static_cast<std::size_t>(taken);
    const auto records = [](std::size_t n) { return std::to_string(n) + (n == 1 ? " record" : " records"); };
    EXPECT_EQ(appended, refusals == 0);
    EXPECT_EQ(reported_.size(), refusals == 0 ? 0u : 1u);
    EXPECT_EQ(LastReport(), refusals == 0 ? "" : "Error # 233 (Records refused)\r\n" + records(refusals) + " of " + from +
                                                    " refused, nothing of " + (refusals == 1 ? "it" : "them") +
                                                    " appended; " + records(static_cast<std::size_t>(taken)) +
                                                    " appended." + refused + " [AppendFrom(" + from + ")]");
  }

  // A condition ends the transfer.
  ASSERT_TRUE(Use(Path("to0.dbf") + " EXCLUSIVE"));
  reported_.clear();
  int asked = 0;
  ASSERT_TRUE(AppendFrom(Path("from0"), [&] { return ++asked < 2; }));
  EXPECT_EQ(RecCount(), 3);
  EXPECT_EQ(asked, 2);
  EXPECT_TRUE(reported_.empty()) << LastReport();
  EXPECT_EQ(WorkAreas[kMaxWorkAreas], nullptr);
}

TEST_F(AppendTest, EqualTablesAreCopiedWholeWithTheirMemos) {
  CreateVersion = 0x83;
  const std::string from = Path("old.dbf");
  ASSERT_TRUE(CreateDbf(from, {{"code", 'C', 4, 0}, {"notes", 'M', 10, 0}}));
  ASSERT_TRUE(Use(from + " EXCLUSIVE"));
  for (const std::string text : {"first\r\nmemo", "", "third"}) {
    ClearRecord();
    PutNativeString(FieldAddress(1), 5, text.substr(0, 4));
    PutNativeInt32(FieldAddress(2), AddMemo(text));
    ASSERT_TRUE(Append());
  }
  // An open source table is used in its own area.
  Select(2);
  CreateVersion = 0x8B;
  ASSERT_TRUE(CreateDbf(Path("new.dbf"), {{"code", 'C', 4, 0}, {"notes", 'M', 10, 0}}));
  ASSERT_TRUE(Use(Path("new.dbf") + " EXCLUSIVE"));
  ASSERT_TRUE(AppendFrom(from));
  ASSERT_EQ(RecCount(), 3);
  std::vector<std::string> memos;
  for (GoTop(); !dEOF(); Skip(1)) {
    std::string text;
    ASSERT_TRUE(ReadMemoText(NativeInt32(FieldAddress(2)), text));
    memos.push_back(text);
  }
  EXPECT_EQ(memos, (std::vector<std::string>{"first\r\nmemo", "", "third"}));
  EXPECT_EQ(CurrentWorkArea(), 2);

  EXPECT_FALSE(AppendFrom(Path("new")));
  EXPECT_EQ(LastCode(), 214);
  EXPECT_NE(LastReport().find("Attempting to append file to itself. [AppendFrom(" + Path("new") + ")]"),
            std::string::npos);
  EXPECT_FALSE(AppendFrom(Path("missing")));
  EXPECT_EQ(LastCode(), 2);
  EXPECT_FALSE(AppendFrom("cars VIRTUAL"));
  EXPECT_EQ(LastCode(), 215);
  EXPECT_NE(LastReport().find("Virtual file must be open. [AppendFrom(cars VIRTUAL)]"), std::string::npos);
  Use("");
  EXPECT_FALSE(AppendFrom(from));
  EXPECT_EQ(LastCode(), 215);
}

TEST_F(AppendTest, DelimitedExportBytes) {
  ASSERT_TRUE(CreateDbf(Path("out.dbf"), {{"name", 'C', 12, 0},
                                          {"notes", 'M', 10, 0},
                                          {"born", 'D', 8, 0},
                                          {"price", 'N', 9, 2},
                                          {"ok", 'L', 1, 0},
                                          {"memo2", 'M', 10, 0}}));
  ASSERT_TRUE(Use(Path("out.dbf") + " EXCLUSIVE"));
  ClearRecord();
  PutNativeString(FieldAddress(1), 13, "M\xFCller, K.");
  PutNativeString(FieldAddress(3), 11, "12/24/1999");
  PutNativeDouble(FieldAddress(4), 12.5);
  FieldAddress(5)[0] = 1;
  ASSERT_TRUE(Append());
  ClearRecord();
  ASSERT_TRUE(Append());
  EXPECT_EQ(CopyToDelimitedFile(Path("out")), 2);
  EXPECT_EQ(testsupport::Slurp(Path("out.txt")),
            "\"Müller, K.\",19991224,12.50,T,\r\n\"\",,0.00,F,\r\n\x1A");
  QuoteChar = '\0';
  Delimiter = ';';
  EXPECT_EQ(CopyToDelimitedFile(Path("plain.csv")), 2);
  EXPECT_EQ(testsupport::Slurp(Path("plain.csv")), "Müller, K.;19991224;12.50;T;\r\n;;0.00;F;\r\n\x1A");
}

TEST_F(AppendTest, DelimitedRoundTripThroughPythonsCsvModule) {
  Century = true;
  ASSERT_TRUE(Use(Plain("data.dbf") + " EXCLUSIVE"));
  FillPlain();
  const auto original = Rows();
  ASSERT_EQ(CopyToDelimitedFile(Path("data.txt")), 3);
  if (dbtest::HasProgram("/usr/bin/python3")) {
    const std::string out = dbtest::RunPython(dir_,
                                              "import csv\n"
                                              "data = open('" + Path("data.txt") + "', 'rb').read()\n"
                                              "assert data.endswith(b'\\x1a')\n"
                                              "text = data[:-1].decode('utf-8')\n"
                                              "for row in csv.reader(text.splitlines(True)):\n"
                                              "    print('|'.join(row))\n");
    EXPECT_EQ(out,
              "Gear wheel|19991224|104.50|12|0.125|T\n"
              "Müller, K.||-3.00|-7|-1.500|F\n"
              "  lead|20260102|0.00|0|1234.567|T\n");
  }
  Select(2);
  ASSERT_TRUE(Use(Plain("copy.dbf") + " EXCLUSIVE"));
  EXPECT_EQ(AppendFromDelimitedFile(Path("data"), false), 3);
  EXPECT_EQ(Rows(), original);
  EXPECT_TRUE(reported_.empty()) << LastReport();
}

TEST_F(AppendTest, DelimitedImportOfForeignLines) {
  ASSERT_TRUE(CreateDbf(Path("in.dbf"), {{"name", 'C', 6, 0},
                                         {"notes", 'M', 10, 0},
                                         {"born", 'D', 8, 0},
                                         {"price", 'N', 9, 2},
                                         {"ok", 'L', 1, 0}}));
  ASSERT_TRUE(Use(Path("in.dbf") + " EXCLUSIVE"));
  testsupport::Put(dir_ / "in.txt",
                   "  \"Sm, Jo\" , 19991224,12.5,T\r\n"
                   "\r\n"
                   "\t\"\xC3\x84rger\",12/24/99,  7,y\n"
                   "plain,,,N\r"
                   "last,20260102,1.005,\x1A"
                   "after the end,,,T\r\n");
  EXPECT_EQ(AppendFromDelimitedFile(Path("in.txt"), false), 4);
  EXPECT_EQ(Rows(), (std::vector<std::vector<std::string>>{{"Sm, Jo", "none", "12/24/99", "    12.50", "Y"},
                                                            {"\xC4rger ", "none", "12/24/99", "     7.00", "Y"},
                                                            {"plain ", "none", "  /  /  ", "     0.00", "N"},
                                                            {"last  ", "none", "01/02/26", "     1.00", "N"}}));
  EXPECT_TRUE(reported_.empty()) << LastReport();
  EXPECT_EQ(AppendFromDelimitedFile(Path("nothing.txt"), false), 0);
  EXPECT_EQ(LastCode(), 2);
}

// A record of ten C(254) fields, full to the last character (quotes,
// delimiters and characters of two UTF-8 bytes among them), exports as a
// line far beyond LineBufferSize and comes back identical.
TEST_F(AppendTest, ExportedWideRecordsComeBackWhole) {
  std::vector<FieldDef> fields;
  for (int i = 0; i < 10; ++i) fields.push_back({"text" + std::to_string(i), 'C', 254, 0});
  ASSERT_TRUE(CreateDbf(Path("wide.dbf"), fields));
  ASSERT_TRUE(CreateDbf(Path("back.dbf"), fields));
  ASSERT_TRUE(Use(Path("wide.dbf") + " EXCLUSIVE"));
  for (int r = 0; r < 2; ++r) {
    ClearRecord();
    for (int i = 1; i <= 10; ++i) {
      std::string text;
      while (text.size() < 254) text += std::string("M\xFCller \"") + static_cast<char>('a' + i) + ",\xE9\"t" + std::to_string(r);
      text.resize(254);
      PutNativeString(FieldAddress(i), 255, text);
    }
    ASSERT_TRUE(Append());
  }
  const auto original = Rows();
  ASSERT_EQ(CopyToDelimitedFile(Path("wide.txt")), 2);
  const std::string exported = testsupport::Slurp(Path("wide.txt"));
  EXPECT_GT(exported.find("\r\n"), 2572u);
  Select(2);
  ASSERT_TRUE(Use(Path("back.dbf") + " EXCLUSIVE"));
  EXPECT_EQ(AppendFromDelimitedFile(Path("wide.txt"), false), 2);
  EXPECT_EQ(Rows(), original);
  EXPECT_TRUE(reported_.empty()) << LastReport();
}

// A line longer than both LineBufferSize and any line the export writes for
// the table is refused with its number: nothing of it is appended and the
// import goes on. LineBufferSize above the export's lines lets longer
// foreign lines in.
TEST_F(AppendTest, ALineTooLongIsRefusedByNumber) {
  struct Restore {
    ~Restore() { LineBufferSize = 2048; }
  } restore;
  ASSERT_TRUE(Use(Plain("cut") + " EXCLUSIVE"));
  const std::string padded = "\"padded\"" + std::string(3000, ' ') + ",20260102,1.5,2,3,T";
  testsupport::Put(dir_ / "cut.txt", "\"first\",19991224,5,1,2,T\r\n\r\n" + padded + "\r\nlast,,,,,\r\n");
  std::int64_t refused = -1;
  EXPECT_EQ(AppendFromDelimitedFile(Path("cut.txt"), false, &refused), 2);
  EXPECT_EQ(refused, 1);
  EXPECT_EQ(LastCode(), kLinesRefused);
  EXPECT_NE(LastReport().find("1 line of " + Path("cut.txt") + " refused, nothing of it appended; 2 records appended."
                              "\r\nLine 3 is longer than 2048 characters"),
            std::string::npos)
      << LastReport();
  EXPECT_EQ(RecCount(), 2);
  reported_.clear();
  LineBufferSize = 4000;
  EXPECT_EQ(AppendFromDelimitedFile(Path("cut.txt"), false, &refused), 3);
  EXPECT_EQ(refused, 0);
  EXPECT_TRUE(reported_.empty()) << LastReport();
  const auto rows = Rows();
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[1][0], "last        ");
  EXPECT_EQ(rows[3], (std::vector<std::string>{"padded      ", "01/02/26", "     1.50", "    2", "   3.000", "Y"}));
  EXPECT_EQ(rows[4][0], "last        ");
}

// A whole number beyond 64 bits, written out or in exponent form, refuses
// its line as a line too long is: nothing of it is appended, the import
// goes on and the message names the value as the file has it. Below the
// limit every digit arrives, exponent forms included. AppendFrom refuses a
// record whose text holds such a number the same way (and stops there).
TEST_F(AppendTest, AWholeNumberBeyond64BitsRefusesItsLine) {
  ASSERT_TRUE(CreateDbf(Path("big"), {{"name", 'C', 6, 0}, {"big", 'N', 20, 0}, {"wide", 'N', 25, 0},
                                      {"small", 'N', 5, 0}}));
  ASSERT_TRUE(Use(Path("big") + " EXCLUSIVE"));
  testsupport::Put(dir_ / "big.txt",
                   "\"one\",1234567890123456789,-25,1e3\r\n\"two\",99999999999999999999,1,1\r\n\"three\",1,1,1\r\n");
  EXPECT_EQ(AppendFromDelimitedFile(Path("big.txt"), false), 2);
  EXPECT_EQ(LastCode(), kLinesRefused);
  EXPECT_NE(LastReport().find("\r\nLine 2: Field BIG: 99999999999999999999 is beyond the whole numbers it holds"),
            std::string::npos)
      << LastReport();
  EXPECT_EQ(Rows(), (std::vector<std::vector<std::string>>{
                        {"one   ", " 1234567890123456789", "                      -25", " 1000"},
                        {"three ", "                   1", "                        1", "    1"}}));
  reported_.clear();
  testsupport::Put(dir_ / "exp.txt", "\"four\",1,1e19,1\r\n");
  EXPECT_EQ(AppendFromDelimitedFile(Path("exp.txt"), false), 0);
  EXPECT_EQ(LastCode(), kLinesRefused);
  EXPECT_NE(LastReport().find("Line 1: Field WIDE: 1e19 is beyond"), std::string::npos) << LastReport();
  EXPECT_EQ(RecCount(), 2);

  reported_.clear();
  ASSERT_TRUE(CreateDbf(Path("texts"), {{"name", 'C', 6, 0}, {"wide", 'C', 25, 0}}));
  Select(2);
  ASSERT_TRUE(Use(Path("texts") + " EXCLUSIVE"));
  for (const char* wide : {"2.5e3", "99999999999999999999"}) {
    ClearRecord();
    PutNativeString(FieldAddress(1), 7, "from");
    PutNativeString(FieldAddress(2), 26, wide);
    ASSERT_TRUE(Append());
  }
  Select(1);
  EXPECT_FALSE(AppendFrom(Path("texts")));
  EXPECT_EQ(LastCode(), kRecordsRefused);
  EXPECT_NE(LastReport().find("Field WIDE: 99999999999999999999 is beyond"), std::string::npos) << LastReport();
  ASSERT_EQ(RecCount(), 3);
  Go(3);
  EXPECT_EQ(Row()[2], "                     2500");
}

// The line limit counts bytes as well as characters: a line of UTF-8
// continuation bytes (no characters at all) is refused like a line of too
// many characters, and nothing of it is kept or appended.
TEST_F(AppendTest, ALineOfContinuationBytesBeyondTheLimitIsRefused) {
  ASSERT_TRUE(Use(Plain("bytes") + " EXCLUSIVE"));
  testsupport::Put(dir_ / "bytes.txt", "\"ok\",,1,1,1,T\r\n\"x" + std::string(100000, '\x80') + "\",,1,1,1,T\r\n");
  EXPECT_EQ(AppendFromDelimitedFile(Path("bytes.txt"), false), 1);
  EXPECT_EQ(LastCode(), kLinesRefused);
  EXPECT_NE(LastReport().find("\r\nLine 2 is longer than 2048 characters or 8192 bytes"),
            std::string::npos)
      << LastReport();
  EXPECT_EQ(RecCount(), 1);
}

// Texts with line ends come back as the records they were (quoted, a line
// end is part of the text; unquoted it is written as a blank), and a quote
// inside an unquoted text does not carry its line into the next; an overlong
// UTF-8 form of a line feed is no character; with a tab or a blank as the
// delimiter an empty field keeps its place.
TEST_F(AppendTest, LineEndsOverlongFormsAndEmptyFieldsBetweenBlankDelimiters) {
  ASSERT_TRUE(Use(Plain("ends") + " EXCLUSIVE"));
  AddPlain("two\r\nlines", "", 1, 2, 3, true);
  AddPlain("cr\ronly", "", 4, 5, 6, false);
  const auto original = Rows();
  ASSERT_EQ(CopyToDelimitedFile(Path("ends.txt")), 2);
  Select(2);
  ASSERT_TRUE(Use(Plain("back") + " EXCLUSIVE"));
  EXPECT_EQ(AppendFromDelimitedFile(Path("ends.txt"), false), 2);
  EXPECT_EQ(Rows(), original);
  QuoteChar = '\0';
  ASSERT_EQ(CopyToDelimitedFile(Path("plain.txt")), 2);
  EXPECT_EQ(AppendFromDelimitedFile(Path("plain.txt"), false), 2);
  GoBottom();
  EXPECT_EQ(Row()[0], "cr only     ");
  Skip(-1);
  EXPECT_EQ(Row()[0], "two  lines  ");
  EXPECT_TRUE(reported_.empty()) << LastReport();

  // A quote inside an unquoted text opens no text: its line ends at its end.
  QuoteChar = '"';
  ASSERT_TRUE(Use(Plain("inch") + " EXCLUSIVE"));
  testsupport::Put(dir_ / "inch.txt", "5\" pipe,,1,1,1,T\r\nnext,,2,2,2,F\r\n");
  EXPECT_EQ(AppendFromDelimitedFile(Path("inch.txt"), false), 2);
  GoBottom();
  EXPECT_EQ(Row()[0], "next        ");

  ASSERT_TRUE(Use(Plain("overlong") + " EXCLUSIVE"));
  testsupport::Put(dir_ / "overlong.txt", "\"ab\xC0\x8A" "cd\",,1,1,1,T\r\n");
  EXPECT_EQ(AppendFromDelimitedFile(Path("overlong.txt"), false), 0);
  EXPECT_NE(LastReport().find("Line 1: Field NAME: the byte 0xC0 is not UTF-8 text"), std::string::npos)
      << LastReport();
  reported_.clear();
  ASSERT_TRUE(Use(Plain("blanks") + " EXCLUSIVE"));

  for (const char delimiter : {'\t', ' '}) {
    Delimiter = delimiter;
    const std::string d(1, delimiter);
    testsupport::Put(dir_ / "blank.txt", "name" + d + d + "1.5" + d + "2" + d + d + "T\r\n");
    EXPECT_EQ(AppendFromDelimitedFile(Path("blank.txt"), false), 1);
  }
  EXPECT_EQ(Rows(), (std::vector<std::vector<std::string>>{
                        {"name        ", "  /  /  ", "     1.50", "    2", "   0.000", "Y"},
                        {"name        ", "  /  /  ", "     1.50", "    2", "   0.000", "Y"}}));
  Delimiter = ',';
}

// Every number of a delimited file is stored as its value or refuses its
// line, named by line, field and value as the file has it; nothing of a
// refused line is appended and the import goes on, saying at its end how
// many lines it refused. Where the engine writes a decimal comma (a German
// desktop) a number with one comma and no point reads the comma as the
// decimal sign.
TEST_F(AppendTest, NumbersAreStoredWhollyOrTheirLineIsRefused) {
  ASSERT_TRUE(CreateDbf(Path("num"), {{"name", 'C', 8, 0}, {"v", 'N', 8, 3}, {"q", 'N', 3, 0}}));
  ASSERT_TRUE(Use(Path("num") + " EXCLUSIVE"));
  const std::vector<std::pair<std::string, std::string>> refused = {
      {"\"comma\",\"1,5\",1", "Field V: 1,5 is not a number"},
      {"\"tail\",12abc,1", "Field V: 12abc is not a number"},
      {"\"word\",abc,1", "Field V: abc is not a number"},
      {"\"huge\",1e12,1", "Field V: 1e12 does not fit N(8,3)"},
      {"\"wide\",1,1234", "Field Q: 1234 does not fit N(3,0)"},
      {"\"minus\",1,-123", "Field Q: -123 does not fit N(3,0)"},
      {"\"over\",1e400,1", "Field V: 1e400 does not fit N(8,3)"},
      {"\"nan\",nan,1", "Field V: nan is not a number"},
      {"\"inf\",1,inf", "Field Q: inf is not a number"},
      {"\"hex\",0x10,1", "Field V: 0x10 is not a number"},
      {"\"group\",\"1,234.5\",1", "Field V: 1,234.5 is not a number"},
      {"\"rounds\",99999.9996,1", "Field V: 99999.9996 does not fit N(8,3)"},
      {"\"Steel\";7.85;12", "it holds 1 field, the table takes 3"},
      {"Steel;7,85;12", "it holds 2 fields, the table takes 3"},
      {"\"more\",1,2,3", "it holds 4 fields, the table takes 3"},
  };
  for (const auto& [line, why] : refused) {
    reported_.clear();
    testsupport::Put(dir_ / "one.txt", line + "\r\n");
    std::int64_t count = -1;
    EXPECT_EQ(AppendFromDelimitedFile(Path("one.txt"), false, &count), 0) << line;
    EXPECT_EQ(count, 1) << line;
    EXPECT_EQ(LastCode(), kLinesRefused) << line;
    EXPECT_NE(LastReport().find("1 line of " + Path("one.txt") + " refused, nothing of it appended; 0 records "
                                "appended.\r\nLine 1: " + why + " [AppendFromDelimitedFile]"),
              std::string::npos)
        << LastReport();
    EXPECT_EQ(RecCount(), 0) << line;
  }

  // In one file: the good lines arrive, the import goes on past the bad
  // ones and names the first five.
  reported_.clear();
  std::string file = "\"ok\",1.5,12\r\n";
  for (const auto& [line, why] : refused) file += line + "\r\n";
  file += "\"exp\",-2.5e-1,+7\r\n\"blank\",,\r\n\"dot\",.5,5.\r\n";
  testsupport::Put(dir_ / "all.txt", file);
  std::int64_t count = -1;
  EXPECT_EQ(AppendFromDelimitedFile(Path("all.txt"), false, &count), 4);
  EXPECT_EQ(count, 15);
  EXPECT_EQ(reported_.size(), 1u);
  EXPECT_EQ(LastCode(), kLinesRefused);
  EXPECT_NE(LastReport().find("15 lines of " + Path("all.txt") + " refused, nothing of them appended; 4 records "
                              "appended.\r\nLine 2: Field V: 1,5 is not a number\r\nLine 3: Field V: 12abc is not "
                              "a number\r\nLine 4: Field V: abc is not a number\r\nLine 5: Field V: 1e12 does not "
                              "fit N(8,3)\r\nLine 6: Field Q: 1234 does not fit N(3,0)\r\n(and 10 more) "
                              "[AppendFromDelimitedFile]"),
            std::string::npos)
      << LastReport();
  EXPECT_EQ(Rows(), (std::vector<std::vector<std::string>>{{"ok      ", "   1.500", " 12"},
                                                            {"exp     ", "  -0.250", "  7"},
                                                            {"blank   ", "   0.000", "  0"},
                                                            {"dot     ", "   0.500", "  5"}}));

  // A decimal comma where the engine writes one; the point still reads.
  DecimalSeparator = ',';
  reported_.clear();
  testsupport::Put(dir_ / "comma.txt",
                   "\"comma\",\"1,5\",1\r\n\"cork\",\"0,275\",2\r\n\"point\",7.85,3\r\n\"two\",\"1,2,3\",4\r\n"
                   "\"mixed\",\"1.234,5\",5\r\n\"whole\",1,\"2,4\"\r\n");
  EXPECT_EQ(AppendFromDelimitedFile(Path("comma.txt"), false, &count), 4);
  EXPECT_EQ(count, 2);
  EXPECT_NE(LastReport().find("\r\nLine 4: Field V: 1,2,3 is not a number\r\nLine 5: Field V: 1.234,5 is not a "
                              "number [AppendFromDelimitedFile]"),
            std::string::npos)
      << LastReport();
  DecimalSeparator = '.';
  std::vector<std::string> stored;
  for (Go(5); !dEOF(); Skip(1)) stored.push_back(CurrentWorkAreaRecord()->table.record.substr(1));
  EXPECT_EQ(stored, (std::vector<std::string>{"comma      1.500  1", "cork       0.275  2", "point      7.850  3",
                                              "whole      1.000  2"}));
}

// Dates and logical values are stored as read or their line is refused in
// the form numbers are, and the report's heading says that lines were
// refused: a date as eight digits (YYYYMMDD) or in the display form of the
// date format, an empty field (or the blank picture) as the empty date, a
// logical value as T, Y, F, N or "?"; anything else (another date form, a
// day no calendar has, another locale's display form, a text cut to fit)
// refuses its line. A fraction in a field without decimals rounds to the
// nearest whole number, halves away from zero, as the dataset rounds. Each
// value is judged before the conversion to the table's code page: a check
// mark is no logical value, and a character the code page lacks, a byte
// that is no UTF-8 or a text longer than its field refuses its line.
TEST_F(AppendTest, DatesLogicalsAndWholeNumbersArriveAsReadOrTheirLineIsRefused) {
  ASSERT_TRUE(CreateDbf(Path("dates"), {{"name", 'C', 6, 0}, {"d", 'D', 8, 0}, {"q", 'N', 4, 0}, {"ok", 'L', 1, 0}}));
  ASSERT_TRUE(Use(Path("dates") + " EXCLUSIVE"));
  const std::vector<std::pair<std::string, std::vector<std::string>>> taken = {
      {"\"iso\",20240131,1.9,T", {"iso   ", "01/31/24", "   2", "Y"}},
      {"\"disp\",01/31/2024,-0.7,f", {"disp  ", "01/31/24", "  -1", "N"}},
      {"\"short\",02/29/24,2.5,?", {"short ", "02/29/24", "   3", "N"}},
      {"\"empty\",,-2.5,", {"empty ", "  /  /  ", "  -3", "N"}},
      {"\"pict\",  /  /  ,0.4,yes", {"pict  ", "  /  /  ", "   0", "Y"}},
      {"\xC3\x84rger,20240131,1, false ", {"\xC4rger ", "01/31/24", "   1", "N"}},
      {"\"blank\",,,?", {"blank ", "  /  /  ", "   0", "N"}},
  };
  const std::vector<std::pair<std::string, std::string>> refused = {
      {"\"dash\",2024-01-31,1,T", "Field D: 2024-01-31 is not a date"},
      {"\"feb\",20240231,1,T", "Field D: 20240231 is not a date"},
      {"\"word\",abcdefgh,1,T", "Field D: abcdefgh is not a date"},
      {"\"german\",31.01.2024,1,T", "Field D: 31.01.2024 is not a date"},
      {"\"nine\",202401311,1,T", "Field D: 202401311 is not a date"},
      {"\"tail\",01/31/2024x,1,T", "Field D: 01/31/2024x is not a date"},
      {"\"flag\",20240131,1,X", "Field OK: X is not a logical value"},
      {"k,20240131,1,\xE2\x9C\x93", "Field OK: \xE2\x9C\x93 is not a logical value"},
      {"k,20240131,1,\xE2\x9C\x97", "Field OK: \xE2\x9C\x97 is not a logical value"},
      {"k,20240131,1,\xFF", "Field OK: the byte 0xFF is not UTF-8 text"},
      {"k,20240131,1,T\xC3", "Field OK: the byte 0xC3 is not UTF-8 text"},
      {"Gear \xE2\x9C\x93,20240131,1,T",
       "Field NAME: Gear \xE2\x9C\x93 holds \xE2\x9C\x93 (U+2713), which the table's code page lacks"},
      {"M\xFCller,20240131,1,T", "Field NAME: the byte 0xFC is not UTF-8 text"},
      {"Gearwheel,20240131,1,T", "Field NAME: Gearwheel does not fit C(6)"},
  };
  std::string file;
  for (std::size_t i = 0; i < std::max(taken.size(), refused.size()); ++i) {
    if (i < taken.size()) file += taken[i].first + "\r\n";
    if (i < refused.size()) file += refused[i].first + "\r\n";
  }
  testsupport::Put(dir_ / "dates.txt", file);
  std::int64_t count = -1;
  EXPECT_EQ(AppendFromDelimitedFile(Path("dates.txt"), false, &count), static_cast<std::int64_t>(taken.size()));
  EXPECT_EQ(count, static_cast<std::int64_t>(refused.size()));
  ASSERT_EQ(reported_.size(), 1u);
  EXPECT_EQ(LastCode(), kLinesRefused);
  std::string shown = "Error # 232 (Lines refused)\r\n14 lines of " + Path("dates.txt") +
                      " refused, nothing of them appended; 7 records appended.";
  for (std::size_t i = 0; i < 5; ++i) shown += "\r\nLine " + std::to_string(2 * i + 2) + ": " + refused[i].second;
  EXPECT_EQ(LastReport(), shown + "\r\n(and 9 more) [AppendFromDelimitedFile]");
  std::vector<std::vector<std::string>> rows;
  for (const auto& [line, row] : taken) rows.push_back(row);
  EXPECT_EQ(Rows(), rows);
  // An unknown logical and an empty number are stored blank.
  GoBottom();
  EXPECT_EQ(CurrentWorkAreaRecord()->table.record.substr(1), "blank " + std::string(13, ' '));
  // One refused line at a time names the rest.
  for (std::size_t i = 5; i < refused.size(); ++i) {
    reported_.clear();
    testsupport::Put(dir_ / "one.txt", refused[i].first + "\r\n");
    EXPECT_EQ(AppendFromDelimitedFile(Path("one.txt"), false), 0);
    EXPECT_NE(LastReport().find("Line 1: " + refused[i].second + " [AppendFromDelimitedFile]"), std::string::npos)
        << LastReport();
  }
}

// A Ctrl-Z (0x1A) inside a text comes back: quoted it is a character of the
// text, outside quotes it ends the data. Unquoted it is written as a blank,
// so that the records after it still arrive.
TEST_F(AppendTest, ACtrlZInsideATextComesBack) {
  ASSERT_TRUE(CreateDbf(Path("z"), {{"name", 'C', 10, 0}, {"n", 'N', 3, 0}}));
  ASSERT_TRUE(CreateDbf(Path("back"), {{"name", 'C', 10, 0}, {"n", 'N', 3, 0}}));
  ASSERT_TRUE(Use(Path("z") + " EXCLUSIVE"));
  for (const std::string& text : std::vector<std::string>{"one", "two\x1A" "two", "three", "four\x1A"}) {
    ClearRecord();
    PutNativeString(FieldAddress(1), 11, text);
    PutNativeInt32(FieldAddress(2), static_cast<std::int32_t>(RecNo()));
    ASSERT_TRUE(Append());
  }
  const auto original = Rows();
  ASSERT_EQ(CopyToDelimitedFile(Path("z.txt")), 4);
  EXPECT_NE(testsupport::Slurp(Path("z.txt")).find("\"two\x1Atwo\""), std::string::npos);
  Select(2);
  ASSERT_TRUE(Use(Path("back") + " EXCLUSIVE"));
  EXPECT_EQ(AppendFromDelimitedFile(Path("z.txt"), false), 4);
  EXPECT_EQ(Rows(), original);
  EXPECT_TRUE(reported_.empty()) << LastReport();

  Select(1);
  QuoteChar = '\0';
  ASSERT_EQ(CopyToDelimitedFile(Path("plain.txt")), 4);
  Select(2);
  EXPECT_EQ(AppendFromDelimitedFile(Path("plain.txt"), false), 4);
  Go(6);
  EXPECT_EQ(Row()[0], "two two   ");
  Go(8);
  EXPECT_EQ(Row()[0], "four      ");
  EXPECT_TRUE(reported_.empty()) << LastReport();
}

// Quotes as other programs write them, by one rule: a quote opens a text
// only at the start of a field; inside the text a doubled quote is one.
// A quote that never closes refuses the line it opens on, by its number,
// and the lines after it arrive, a text over two lines among them. The
// byte-order mark of a UTF-8 file is no part of its first field.
TEST_F(AppendTest, QuotesOfOtherPrograms) {
  ASSERT_TRUE(CreateDbf(Path("q"), {{"code", 'N', 3, 0}, {"text", 'C', 10, 0}, {"note", 'C', 5, 0},
                                    {"mark", 'C', 3, 0}, {"q", 'N', 2, 0}}));
  ASSERT_TRUE(Use(Path("q") + " EXCLUSIVE"));
  testsupport::Put(dir_ / "q.txt",
                   "\xEF\xBB\xBF"  // a spreadsheet program's byte-order mark
                   "11,5\" pipe,,\"\",1\r\n"
                   "12,\"open,,,2\r\n"
                   "13,after,,,3\r\n"
                   "14,\"again,,,4\r\n"
                   "\"15\",next,\"x\"\"y\",,5\r\n"
                   "16,\"two\r\nlines\",,,6\r\n"
                   "17,\"to the end,,,7\r\n"
                   "18,last,,,8");
  std::int64_t refused = -1;
  EXPECT_EQ(AppendFromDelimitedFile(Path("q.txt"), false, &refused), 5);
  EXPECT_EQ(refused, 3);
  EXPECT_EQ(LastCode(), kLinesRefused);
  EXPECT_NE(LastReport().find("3 lines of " + Path("q.txt") +
                              " refused, nothing of them appended; 5 records appended.\r\nLine 2: a quote "
                              "character opens a text that is never closed\r\nLine 4: a quote character opens a "
                              "text that is never closed\r\nLine 8: a quote character opens a text that is never "
                              "closed [AppendFromDelimitedFile]"),
            std::string::npos)
      << LastReport();
  EXPECT_EQ(Rows(), (std::vector<std::vector<std::string>>{{" 11", "5\" pipe   ", "     ", "   ", " 1"},
                                                            {" 13", "after     ", "     ", "   ", " 3"},
                                                            {" 15", "next      ", "x\"y  ", "   ", " 5"},
                                                            {" 16", "two\r\nlines", "     ", "   ", " 6"},
                                                            {" 18", "last      ", "     ", "   ", " 8"}}));
}

TEST_F(AppendTest, ProgressWindowOfTheImport) {
  platform::RecordingMessageWindows windows;
  platform::ScopedMessageWindows scoped(windows);
  ASSERT_TRUE(Use(Plain("big.dbf") + " EXCLUSIVE"));
  std::string text;
  for (int i = 0; i < 400; ++i) text += "\"row" + std::to_string(i) + "\",20000101,1.5,2,3.25,T\r\n";
  testsupport::Put(dir_ / "big.txt", text + "\x1A");
  EXPECT_EQ(AppendFromDelimitedFile(Path("big"), true), 400);
  ASSERT_EQ(windows.Created(), 1);
  EXPECT_EQ(windows.Open(), 0);
  const auto& shown = windows.ShownTexts();
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.front().caption, "Appending...");
  EXPECT_EQ(shown.front().text, std::string(100, '|'));
  // One step per hundredth of the file: the bar runs down to empty.
  EXPECT_EQ(shown.size(), 101u);
  EXPECT_EQ(shown.back().text, " ");
  EXPECT_EQ(RecCount(), 400);
}

TEST(ProgressWindows, TheBarRunsDownAndStartsAgain) {
  platform::RecordingMessageWindows windows;
  platform::ScopedMessageWindows scoped(windows);
  {
    TTzProgress100 progress;
    EXPECT_EQ(progress.Caption(), "Progress");
    for (int i = 0; i < 100; ++i) progress.Step();
    EXPECT_EQ(progress.Bar(), "");
    progress.Step();
    EXPECT_EQ(progress.Bar(), std::string(100, '|'));
    EXPECT_EQ(windows.Open(), 1);
  }
  EXPECT_EQ(windows.Open(), 0);
  TTzMsg message;
  message.ShowText("Building \xC4nderungen");
  message.ShowText("");
  ASSERT_EQ(windows.ShownTexts().size(), 102u + 2u);
  EXPECT_EQ(windows.ShownTexts().back().text, "Building Änderungen");
  EXPECT_EQ(windows.ShownTexts().back().window, 2);
}

}  // namespace
