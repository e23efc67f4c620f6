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

TEST_F(AppendTest, AppendFromConvertsFieldByName) {
  Century = true;
  const std::string from = Path("source.dbf");
  ASSERT_TRUE(CreateDbf(from, {{"name", 'C', 10, 0},
                               {"amount", 'N', 12, 2},
                               {"flag", 'L', 1, 0},
                               {"day", 'D', 8, 0},
                               {"numtxt", 'C', 8, 0},
                               {"word", 'C', 10, 0},
                               {"datetxt", 'C', 10, 0},
                               {"notes", 'M', 10, 0},
                               {"memotxt", 'C', 20, 0}}));
  ASSERT_TRUE(Use(from + " EXCLUSIVE"));
  auto add = [&](const std::string& name, double amount, bool flag, const std::string& day, const std::string& num,
                 const std::string& word, const std::string& dateText, const std::string& memo) {
    ClearRecord();
    PutNativeString(FieldAddress(1), 11, name);
    PutNativeDouble(FieldAddress(2), amount);
    FieldAddress(3)[0] = flag ? 1 : 0;
    if (!day.empty()) PutNativeString(FieldAddress(4), 11, day);
    PutNativeString(FieldAddress(5), 9, num);
    PutNativeString(FieldAddress(6), 11, word);
    PutNativeString(FieldAddress(7), 11, dateText);
    PutNativeInt32(FieldAddress(8), AddMemo(memo));
    PutNativeString(FieldAddress(9), 21, memo + " as text");
    ASSERT_TRUE(Append());
  };
  add("Gearwheels", 123456789.12, true, "12/24/1999", "  42.75", "True", "01/02/2026", "memo one");
  add("Pin", 12.5, false, "", "abc", "T", "13/45/2026", "");
  Use("");
  CreateVersion = 0xF5;
  ASSERT_TRUE(CreateDbf(Path("target.dbf"), {{"name", 'C', 5, 0},
                                             {"amount", 'C', 10, 0},
                                             {"flag", 'C', 1, 0},
                                             {"day", 'C', 8, 0},
                                             {"numtxt", 'N', 8, 2},
                                             {"word", 'L', 1, 0},
                                             {"datetxt", 'D', 8, 0},
                                             {"notes", 'M', 10, 0},
                                             {"memotxt", 'M', 10, 0},
                                             {"extra", 'N', 3, 0}}));
  ASSERT_TRUE(Use(Path("target.dbf") + " EXCLUSIVE"));
  ASSERT_TRUE(AppendFrom(from));
  ASSERT_EQ(RecCount(), 2);
  Go(1);
  EXPECT_EQ(Row(), (std::vector<std::string>{"Gearw", "**********", "T", "12/24/99", "   42.75", "N", "01/02/2026",
                                             "MEMO", "MEMO", "  0"}));
  std::string text;
  ASSERT_TRUE(ReadMemoText(NativeInt32(FieldAddress(8)), text));
  EXPECT_EQ(text, "memo one");
  ASSERT_TRUE(ReadMemoText(NativeInt32(FieldAddress(9)), text));
  EXPECT_EQ(text, "memo one as text");
  Go(2);
  EXPECT_EQ(Row(), (std::vector<std::string>{"Pin  ", "     12.50", "F", "        ", "    0.00", "N", "  /  /    ",
                                             "none", "MEMO", "  0"}));
  // A condition ends the transfer.
  int asked = 0;
  ASSERT_TRUE(AppendFrom(Path("source"), [&] { return ++asked < 2; }));
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
                   "  \"Smith, John\" , 19991224,12.5,T\r\n"
                   "\r\n"
                   "\t\"\xC3\x84rger\",12/24/99,  7,y\n"
                   "plain,,abc,N\r"
                   "last,20260102,1.005\x1A"
                   "after the end,,,T\r\n");
  EXPECT_EQ(AppendFromDelimitedFile(Path("in.txt"), false), 4);
  EXPECT_EQ(Rows(), (std::vector<std::vector<std::string>>{{"Smith,", "none", "12/24/99", "    12.50", "Y"},
                                                            {"\xC4rger ", "none", "12/24/99", "     7.00", "Y"},
                                                            {"plain ", "none", "  /  /  ", "     0.00", "N"},
                                                            {"last  ", "none", "01/02/26", "     1.00", "N"}}));
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
// import ends there. LineBufferSize above the export's lines lets longer
// foreign lines in.
TEST_F(AppendTest, ALineTooLongIsRefusedByNumber) {
  struct Restore {
    ~Restore() { LineBufferSize = 2048; }
  } restore;
  ASSERT_TRUE(Use(Plain("cut") + " EXCLUSIVE"));
  const std::string padded = "\"padded\"" + std::string(3000, ' ') + ",20260102,1.5,2,3,T";
  testsupport::Put(dir_ / "cut.txt", "\"first\",19991224,5,1,2,T\r\n\r\n" + padded + "\r\nlast,,,,,\r\n");
  EXPECT_EQ(AppendFromDelimitedFile(Path("cut.txt"), false), 1);
  EXPECT_EQ(LastCode(), 266);
  EXPECT_NE(LastReport().find("Line 3 of " + Path("cut.txt") + " is longer than 2048 characters"), std::string::npos)
      << LastReport();
  EXPECT_EQ(RecCount(), 1);
  reported_.clear();
  LineBufferSize = 4000;
  EXPECT_EQ(AppendFromDelimitedFile(Path("cut.txt"), false), 3);
  EXPECT_TRUE(reported_.empty()) << LastReport();
  const auto rows = Rows();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[2], (std::vector<std::string>{"padded      ", "01/02/26", "     1.50", "    2", "   3.000", "Y"}));
  EXPECT_EQ(rows[3][0], "last        ");
}

// A whole number beyond 64 bits, written out or in exponent form, refuses
// its line as a line too long is: nothing of it is appended, the import
// ends there and the message names the value as the file has it. Below the
// limit every digit arrives, exponent forms included. AppendFrom refuses a
// record whose text holds such a number the same way.
TEST_F(AppendTest, AWholeNumberBeyond64BitsRefusesItsLine) {
  ASSERT_TRUE(CreateDbf(Path("big"), {{"name", 'C', 6, 0}, {"big", 'N', 20, 0}, {"wide", 'N', 25, 0},
                                      {"small", 'N', 5, 0}}));
  ASSERT_TRUE(Use(Path("big") + " EXCLUSIVE"));
  testsupport::Put(dir_ / "big.txt",
                   "\"one\",1234567890123456789,-25,1e3\r\n\"two\",99999999999999999999,1,1\r\n\"three\",1,1,1\r\n");
  EXPECT_EQ(AppendFromDelimitedFile(Path("big.txt"), false), 1);
  EXPECT_EQ(LastCode(), 205);
  EXPECT_NE(LastReport().find("Line 2 of " + Path("big.txt") +
                              ": Field BIG: 99999999999999999999 is beyond the whole numbers it holds; "
                              "nothing of it is appended"),
            std::string::npos)
      << LastReport();
  EXPECT_EQ(Rows(), (std::vector<std::vector<std::string>>{
                        {"one   ", " 1234567890123456789", "                      -25", " 1000"}}));
  reported_.clear();
  testsupport::Put(dir_ / "exp.txt", "\"four\",1,1e19,1\r\n");
  EXPECT_EQ(AppendFromDelimitedFile(Path("exp.txt"), false), 0);
  EXPECT_EQ(LastCode(), 205);
  EXPECT_NE(LastReport().find("Field WIDE: 1e19 is beyond"), std::string::npos) << LastReport();
  EXPECT_EQ(RecCount(), 1);

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
  EXPECT_EQ(LastCode(), 205);
  EXPECT_NE(LastReport().find("Field WIDE: 99999999999999999999 is beyond"), std::string::npos) << LastReport();
  ASSERT_EQ(RecCount(), 2);
  Go(2);
  EXPECT_EQ(Row()[2], "                     2500");
}

// The line limit counts bytes as well as characters: a line of UTF-8
// continuation bytes (no characters at all) is refused like a line of too
// many characters, and nothing of it is kept or appended.
TEST_F(AppendTest, ALineOfContinuationBytesBeyondTheLimitIsRefused) {
  ASSERT_TRUE(Use(Plain("bytes") + " EXCLUSIVE"));
  testsupport::Put(dir_ / "bytes.txt", "\"ok\",,1,1,1,T\r\n\"x" + std::string(100000, '\x80') + "\",,1,1,1,T\r\n");
  EXPECT_EQ(AppendFromDelimitedFile(Path("bytes.txt"), false), 1);
  EXPECT_EQ(LastCode(), 266);
  EXPECT_NE(LastReport().find("Line 2 of " + Path("bytes.txt") + " is longer than 2048 characters or 8192 bytes"),
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
  EXPECT_EQ(AppendFromDelimitedFile(Path("overlong.txt"), false), 1);
  EXPECT_EQ(Rows(), (std::vector<std::vector<std::string>>{
                        {"ab??cd      ", "  /  /  ", "     1.00", "    1", "   1.000", "Y"}}));
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
