// Memo files of the three dialects: the bytes the engine writes, reading
// into lines, round trips, block reuse, packing, copies, memo tables of other
// writers, and read-back through the independent readers (dbf_dump for all
// three dialects, dbfread for dBASE III and FoxPro).
#include <gtest/gtest.h>

#include <filesystem>

#include "dbase/dbase_test_support.h"
#include "dbase/engine/dbf_native.h"
#include "dbase/engine/engine_code_page.h"
#include "dbase/engine/navigation.h"
#include "dbase/memo/memo_copy.h"
#include "dbase/memo/memo_file.h"
#include "dbase/memo/memo_stream.h"
#include "dbase/memo/memo_text.h"
#include "dbase/memo/memo_unit.h"

namespace {

using namespace dbase;
namespace fs = std::filesystem;

// "Ä" and "ü" in the engine's text (ISO 8859-1).
const std::string kUmlautText = "First line\r\nsecond line\r\n\xC4nderung: M\xFC" "ller";

std::string LongText() {
  std::string text;
  for (int i = 0; i < 150; ++i) text += "word" + std::to_string(1000 + i) + (i % 20 == 19 ? "\r\n" : " ");
  return text.substr(0, text.size() - 1);
}

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (const unsigned char c : bytes) {
    out.push_back(digits[c >> 4]);
    out.push_back(digits[c & 15]);
  }
  return out;
}

std::string Ext(std::uint8_t version) { return version == 0xF5 ? ".fpt" : ".dbt"; }

class MemoTest : public dbtest::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    InitMemoUnit();
    AnsiTables = false;
    MemoBlockSize = 512;
  }
  void TearDown() override {
    EngineTest::TearDown();
    CreateVersion = 0x8B;
    AnsiTables = false;
    MemoBlockSize = 512;
  }

  // A new table NAME C(10), NOTES M of the version, open exclusively.
  std::string MemoTable(const std::string& name, std::uint8_t version) {
    CreateVersion = version;
    const std::string path = Path(name + ".dbf");
    EXPECT_TRUE(CreateDbf(path, {{"name", 'C', 10, 0}, {"notes", 'M', 10, 0}}));
    EXPECT_TRUE(Use(path + " EXCLUSIVE"));
    return path;
  }
  std::int32_t AppendWithMemo(const std::string& name, const std::string& text) {
    ClearRecord();
    PutNativeString(FieldAddress(1), 11, name);
    const std::int32_t block = AddMemo(text);
    PutNativeInt32(FieldAddress(2), block);
    EXPECT_TRUE(Append());
    return block;
  }
  std::int32_t Block() { return NativeInt32(FieldAddress(2)); }
  std::string MemoOfRecord(std::int64_t record) {
    Go(record);
    std::string text;
    EXPECT_TRUE(ReadMemoText(Block(), text));
    return text;
  }
  std::int64_t Size(const std::string& file) { return static_cast<std::int64_t>(fs::file_size(Path(file))); }

  // The memos as the independent readers see them, one hex line per record.
  std::string DumpedMemos(const std::string& table) {
    const std::string script =
        "use XBase; my $t = XBase->new(shift) or die XBase->errstr;"
        "for my $i (0 .. $t->last_record) { my @r = $t->get_record($i, 'NOTES');"
        "print unpack('H*', defined $r[1] ? $r[1] : ''), \"\\n\"; }";
    return dbtest::RunCommand("cd " + dbtest::Quoted(dir_.string()) + " && perl -e \"$(cat <<'EOF'\n" + script + "\nEOF\n)\" " +
                              table + " 2>&1");
  }
  std::string DbfreadMemos(const std::string& table) {
    return dbtest::RunPython(dir_, "import dbfread\n"
                                   "for r in dbfread.DBF('" + Path(table) + "', encoding='cp850'):\n"
                                   "    print((r['NOTES'] or '').encode('cp850').hex())\n");
  }
  // The expected reader lines: the stored (code page 850) bytes of each text.
  static std::string Expected(const std::vector<std::string>& texts) {
    std::string out;
    for (const std::string& t : texts) out += Hex(AnsiToOemStr(t)) + "\n";
    return out;
  }
};

// dbf_dump is a command-line front of the same Perl module this reads through.
bool HasXBase() { return dbtest::HasProgram("dbf_dump"); }

class MemoDialectTest : public MemoTest, public ::testing::WithParamInterface<std::uint8_t> {};

TEST_P(MemoDialectTest, WrittenMemosReadBackThroughTheEngineAndIndependentReaders) {
  const std::uint8_t version = GetParam();
  MemoTable("notes", version);
  const std::vector<std::string> texts = {kUmlautText, LongText(), std::string(504, 'x'), "", "last"};
  for (std::size_t i = 0; i < texts.size(); ++i) AppendWithMemo("r" + std::to_string(i), texts[i] + "   ");
  for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(MemoOfRecord(static_cast<std::int64_t>(i + 1)), texts[i]);
  Go(4);
  EXPECT_EQ(Block(), 0);
  Use("");
  if (!HasXBase()) GTEST_SKIP() << "dbf_dump (Perl's XBase) is not installed";
  EXPECT_EQ(DumpedMemos("notes.dbf"), Expected(texts));
  if (version == 0x8B) return;
  if (!dbtest::HasPythonModule("dbfread")) GTEST_SKIP() << "Python's dbfread is not installed";
  EXPECT_EQ(DbfreadMemos("notes.dbf"), Expected(texts));
}

TEST_P(MemoDialectTest, PackShrinksTheMemoFileAndKeepsEveryMemo) {
  const std::uint8_t version = GetParam();
  MemoTable("packed", version);
  AppendWithMemo("a", "alpha");
  AppendWithMemo("b", LongText());
  AppendWithMemo("c", "gamma\r\ndelta");
  AppendWithMemo("d", LongText() + " again");
  // A replaced memo leaves its old value behind in the file.
  Go(1);
  std::int32_t block = 0;
  MemoTextFile file;
  block = Block();
  ASSERT_EQ(file.Assign(&block), 0);
  ASSERT_EQ(file.Rewrite(), 0);
  file.Write("alpha, rewritten");
  ASSERT_EQ(file.Close(), 0);
  PutNativeInt32(FieldAddress(2), block);
  ASSERT_TRUE(Replace());
  Go(2);
  ASSERT_TRUE(DeleteRec());
  const std::int64_t before = Size("packed" + Ext(version));
  ASSERT_TRUE(Pack());
  EXPECT_LT(Size("packed" + Ext(version)), before);
  EXPECT_EQ(RecCount(), 3);
  EXPECT_EQ(MemoOfRecord(1), "alpha, rewritten");
  EXPECT_EQ(MemoOfRecord(2), "gamma\r\ndelta");
  EXPECT_EQ(MemoOfRecord(3), LongText() + " again");
  EXPECT_TRUE(reported_.empty()) << LastReport();
  EXPECT_FALSE(fs::exists(Path("packed" + Ext(version) + ".pack-" + std::to_string(::getpid()))));
  Use("");
  if (!HasXBase()) GTEST_SKIP() << "dbf_dump (Perl's XBase) is not installed";
  EXPECT_EQ(DumpedMemos("packed.dbf"), Expected({"alpha, rewritten", "gamma\r\ndelta", LongText() + " again"}));
}

TEST_P(MemoDialectTest, MemosAreCopiedBetweenDialects) {
  const std::uint8_t version = GetParam();
  for (const std::uint8_t from : {std::uint8_t{0x83}, std::uint8_t{0x8B}, std::uint8_t{0xF5}}) {
    Select(1);
    MemoTable("from" + std::to_string(from), from);
    AppendWithMemo("a", kUmlautText);
    AppendWithMemo("b", LongText());
    const std::int32_t second = Block();
    Select(2);
    MemoTable("to" + std::to_string(from), version);
    const std::int32_t copied = CopyMemo(1, second, false);
    ASSERT_GT(copied, 0);
    std::string text;
    ASSERT_TRUE(ReadMemoText(copied, text));
    EXPECT_EQ(text, LongText()) << "from " << int{from};
    EXPECT_EQ(CopyMemo(1, 0, false), 0);
    Use("");
    Select(1);
    Use("");
  }
}

TEST_P(MemoDialectTest, ValuesWrittenAndReadAsStreams) {
  const std::uint8_t version = GetParam();
  MemoTable("blobs", version);
  std::string binary;
  for (int i = 0; i < 1500; ++i) binary.push_back(static_cast<char>((i * 7) % 256));
  const std::int32_t first = OpenBlob(true, 0, 2, static_cast<std::int64_t>(binary.size()));
  ASSERT_GT(first, 0);  // positive in every dialect, as other readers expect
  EXPECT_EQ(WriteBlobStream(binary.data(), 1000, kConvertIfText), 1000);
  EXPECT_EQ(WriteBlobStream(binary.data() + 1000, 900, kConvertIfText), 500);  // not beyond the size
  ASSERT_TRUE(CloseBlob());
  const std::int32_t text = AddMemo("after the value");

  ASSERT_EQ(OpenBlob(true, first, 1), first);
  EXPECT_EQ(SeekBlob(0, 2), 1500);
  EXPECT_EQ(SeekBlob(-2000, 1), 0);
  std::string back(2000, '\0');
  EXPECT_EQ(ReadBlobStream(back.data(), 2000, kConvertIfText), 1500);
  back.resize(1500);
  EXPECT_EQ(back, binary);
  EXPECT_EQ(SeekBlob(10, 0), 10);
  EXPECT_EQ(ReadBlobStream(back.data(), 5, kNoConversion), 5);
  EXPECT_EQ(back.substr(0, 5), binary.substr(10, 5));
  ASSERT_TRUE(CloseBlob());
  // The text memo after it is untouched, and reads converted as text.
  std::string after;
  ASSERT_TRUE(ReadMemoText(text, after));
  EXPECT_EQ(after, "after the value");
  ASSERT_GT(OpenBlob(true, text, 1), 0);
  EXPECT_EQ(SeekBlob(0, 2), 15);
  SeekBlob(0, 0);
  std::string line(40, '\0');
  line.resize(static_cast<std::size_t>(ReadBlobStream(line.data(), 40, kConvertIfText)));
  EXPECT_EQ(line, "after the value");
  CloseBlob();
  // A text value written through a stream is converted to the table's code
  // page like every memo text.
  const std::string umlauts = "\xC4nderung M\xFCller";
  const std::int32_t written = OpenBlob(true, 0, 2);
  WriteBlobStream(umlauts.data(), static_cast<std::int64_t>(umlauts.size()), kConvertIfText);
  ASSERT_TRUE(CloseBlob());
  std::string stored;
  ASSERT_TRUE(ReadMemoText(written, stored));
  EXPECT_EQ(stored, umlauts);
  EXPECT_TRUE(reported_.empty()) << LastReport();
}

INSTANTIATE_TEST_SUITE_P(Dialects, MemoDialectTest, ::testing::Values(0x83, 0x8B, 0xF5));

TEST_F(MemoTest, NewFilesAndTheirFirstMemo) {
  MemoTable("three", 0x83);
  EXPECT_EQ(Size("three.dbt"), 513);
  EXPECT_EQ(AddMemo("abc"), 1);  // over the 0x1A at byte 512
  EXPECT_EQ(Size("three.dbt"), 1024);
  EXPECT_EQ(testsupport::Slurp(Path("three.dbt")).substr(512, 6), std::string("abc\x1A\x1A\0", 6));
  EXPECT_EQ(AddMemo("def"), 2);
  EXPECT_EQ(testsupport::Slurp(Path("three.dbt")).substr(0, 4), std::string("\x03\0\0\0", 4));
  Use("");

  MemoTable("four", 0x8B);
  EXPECT_EQ(Size("four.dbt"), 24);
  EXPECT_EQ(AddMemo("abc"), 1);
  EXPECT_EQ(Size("four.dbt"), 512 + 8 + 3);
  const std::string four = testsupport::Slurp(Path("four.dbt"));
  EXPECT_EQ(four.substr(512, 8), std::string("\xFF\xFF\x08\x00\x0B\x00\x00\x00", 8));
  EXPECT_EQ(four.substr(0, 4), std::string("\x02\0\0\0", 4));
  // 504 bytes and the header fill block 2 exactly; the next memo follows it.
  EXPECT_EQ(AddMemo(std::string(504, 'y')), 2);
  EXPECT_EQ(AddMemo("z"), 3);
  Use("");

  MemoBlockSize = 64;
  MemoTable("fox", 0xF5);
  EXPECT_EQ(Size("fox.fpt"), 512);
  EXPECT_EQ(AddMemo("abc"), 8);
  EXPECT_EQ(AddMemo("de"), 9);
  const std::string fox = testsupport::Slurp(Path("fox.fpt"));
  EXPECT_EQ(fox.substr(0, 8), std::string("\0\0\0\x0A\0\0\0\x40", 8));
  EXPECT_EQ(fox.substr(512, 11), std::string("\0\0\0\x01\0\0\0\x03" "abc", 11));
  EXPECT_EQ(AddMemo("   "), 0);
  // Zap gives an empty memo file of the table's own dialect.
  ASSERT_TRUE(ZapMemofile());
  EXPECT_EQ(Size("fox.fpt"), 512);
  EXPECT_EQ(AddMemo("again"), 8);
}

TEST_F(MemoTest, ReadingIntoLines) {
  AnsiTables = true;  // the stored bytes as they are
  MemoTable("lines", 0x83);
  ASSERT_TRUE(GetMemo(0));
  EXPECT_EQ(MemoLineCount, 1);
  EXPECT_EQ(MemoLines[0], "");
  EXPECT_FALSE(GetMemo(40));
  EXPECT_EQ(LastCode(), 1003);
  EXPECT_NE(LastReport().find("lines.dbt Record # 0 [GetMemo]"), std::string::npos);

  const std::int32_t wide = AddMemo(std::string(300, 'w'));
  ASSERT_TRUE(GetMemo(wide));
  ASSERT_EQ(MemoLineCount, 2);
  EXPECT_EQ(MemoLines[0], std::string(253, 'w'));
  EXPECT_EQ(MemoLineEnds[0], kNoLineEnd);
  EXPECT_EQ(MemoLines[1], std::string(47, 'w'));

  const std::int32_t soft = AddMemo("soft\x8D\nreturn\r\nhard\x8Dkept");
  ASSERT_TRUE(GetMemo(soft));
  ASSERT_EQ(MemoLineCount, 3);
  EXPECT_EQ(MemoLines[0], "soft");
  EXPECT_EQ(MemoLineEnds[0], kSoftReturn);
  EXPECT_EQ(MemoLines[1], "return");
  EXPECT_EQ(MemoLineEnds[1], kHardReturn);
  EXPECT_EQ(MemoLines[2], "hard\x8Dkept");
  ASSERT_TRUE(GetMemo(-soft));
  EXPECT_EQ(MemoLines[1], "return");

  // Words move whole to the next line; the blank stays at the line's end.
  MemoWidthOn = true;
  MemoWidth = 10;
  ASSERT_TRUE(GetMemo(AddMemo("one two three four")));
  MemoWidthOn = false;
  ASSERT_EQ(MemoLineCount, 2);
  EXPECT_EQ(MemoLines[0], "one two ");
  EXPECT_EQ(MemoLines[1], "three four");
}

TEST_F(MemoTest, RewrittenMemosKeepTheirBytes) {
  for (const std::uint8_t version : {std::uint8_t{0x83}, std::uint8_t{0x8B}, std::uint8_t{0xF5}}) {
    AnsiTables = true;
    MemoTable("round" + std::to_string(version), version);
    const std::string text = "head\r\nsoft\x8D\n" + std::string(600, 'q') + " tail " + std::string(270, 'r') +
                             "\r\n\r\nlast line without end";
    const std::int32_t block = AddMemo(text);
    ASSERT_TRUE(GetMemo(block));
    const std::int32_t rewritten = CloseMemo(block);
    std::string back;
    ASSERT_TRUE(ReadMemoText(rewritten, back));
    EXPECT_EQ(back, text) << int{version};
    if (version == 0x8B) {
      EXPECT_EQ(rewritten, block);
    }
    Use("");
  }
}

TEST_F(MemoTest, TheTextFileView) {
  MemoTable("view", 0x8B);
  std::int32_t block = 0;
  MemoTextFile file;
  ASSERT_EQ(file.Assign(&block), 0);
  ASSERT_EQ(file.Rewrite(), 0);
  file.WriteLine("first");
  file.Write("second\nthird");
  ASSERT_EQ(file.Close(), 0);
  ASSERT_GT(block, 0);
  std::string text;
  ASSERT_TRUE(ReadMemoText(block, text));
  EXPECT_EQ(text, "first\r\nsecond\r\nthird");
  ASSERT_EQ(file.Append(), 0);
  file.WriteLine(" and more");
  ASSERT_EQ(file.Close(), 0);
  ASSERT_TRUE(ReadMemoText(block, text));
  EXPECT_EQ(text, "first\r\nsecond\r\nthird and more\r\n");
  ASSERT_EQ(file.Reset(), 0);
  std::vector<std::string> lines;
  for (std::string line; file.ReadLine(line);) lines.push_back(line);
  EXPECT_EQ(lines, (std::vector<std::string>{"first", "second", "third and more"}));
  // Lines broken at the width are joined again for the reader.
  ASSERT_TRUE(ReadMemoTextLines(AddMemo(std::string(600, 'k') + "\r\nend"), lines));
  EXPECT_EQ(lines, (std::vector<std::string>{std::string(600, 'k'), "end"}));

  Select(2);
  ASSERT_TRUE(CreateDbf(Path("plain.dbf"), {{"code", 'C', 4, 0}}));
  ASSERT_TRUE(Use(Path("plain.dbf")));
  EXPECT_EQ(file.Assign(&block), 1019);
  EXPECT_NE(LastReport().find("plain.dbf No Memo Field [AssignMemo]"), std::string::npos);
  Use("");
  EXPECT_EQ(file.Assign(&block), 215);
}

// The line buffer holds MaxMemoLines lines: a longer memo reads as its
// first lines and cannot be continued through the text-file view (it would
// be written back cut), and writing more lines than that fails with 101.
TEST_F(MemoTest, TheLineBufferHoldsMaxMemoLines) {
  struct Restore {
    ~Restore() { MaxMemoLines = 1024; }
  } restore;
  MemoTable("many", 0x8B);
  std::string text;
  for (int i = 1; i <= 10; ++i) text += "L" + std::to_string(i) + (i < 10 ? "\r\n" : "");
  std::int32_t block = AddMemo(text);
  MaxMemoLines = 4;
  ASSERT_TRUE(GetMemo(block));
  ASSERT_EQ(MemoLineCount, 4);
  EXPECT_EQ(MemoLines[3], "L4");
  EXPECT_TRUE(MemoLinesDropped);
  ASSERT_TRUE(GetMemo(block, 2));
  EXPECT_EQ(MemoLineCount, 2);
  EXPECT_FALSE(MemoLinesDropped);

  MemoTextFile file;
  ASSERT_EQ(file.Assign(&block), 0);
  EXPECT_EQ(file.Append(), 101);
  std::string stored;
  ASSERT_TRUE(ReadMemoText(block, stored));
  EXPECT_EQ(stored, text);
  // Lines read in part are not written back over their memo (the rest
  // would be lost); the memo stays whole. Another memo takes them.
  ASSERT_TRUE(GetMemo(block));
  MemoLines[0] = "changed";
  EXPECT_EQ(CloseMemo(block), 0);
  EXPECT_EQ(LastCode(), 1005);
  EXPECT_NE(LastReport().find("holds more than 4 lines (MaxMemoLines)"), std::string::npos) << LastReport();
  ASSERT_TRUE(ReadMemoText(block, stored));
  EXPECT_EQ(stored, text);
  ASSERT_TRUE(GetMemo(block));
  const std::int32_t copy = CloseMemo(0);
  ASSERT_GT(copy, 0);
  ASSERT_TRUE(ReadMemoText(copy, stored));
  EXPECT_EQ(stored, "L1\r\nL2\r\nL3\r\nL4\r\n");
  reported_.clear();

  std::int32_t written = 0;
  ASSERT_EQ(file.Assign(&written), 0);
  ASSERT_EQ(file.Rewrite(), 0);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(file.WriteLine("a" + std::to_string(i)), 0);
  EXPECT_EQ(file.Write("b"), 101);
  ASSERT_EQ(file.Close(), 0);
  ASSERT_TRUE(ReadMemoText(written, stored));
  EXPECT_EQ(stored, "a0\r\na1\r\na2\r\na3\r\n");
  ASSERT_TRUE(GetMemo(written));
  EXPECT_EQ(MemoLineCount, 4);
  EXPECT_FALSE(MemoLinesDropped);

  MaxMemoLines = 1024;
  ASSERT_TRUE(GetMemo(block));
  EXPECT_EQ(MemoLineCount, 10);
}

// dBASE III memos as other readers take them: every value under a positive
// block (also one written through a stream), text ended by two 0x1A, which
// dbfread and python3-dbf read as the text alone; a value that cannot be
// dBASE III text keeps a header the engine reads. A negative block an older
// stream writer left still reads, and a pack makes it positive.
TEST_F(MemoTest, Dbase3MemosEveryReaderSees) {
  if (!dbtest::HasPythonModule("dbfread") || !dbtest::HasPythonModule("dbf")) {
    GTEST_SKIP() << "Python's dbfread or dbf is not installed";
  }
  MemoTable("three", 0x83);
  AppendWithMemo("added", kUmlautText);
  const auto streamed = [&](const std::string& name, const std::string& value) {
    ClearRecord();
    PutNativeString(FieldAddress(1), 11, name);
    const std::int32_t block = OpenBlob(true, 0, 2);
    EXPECT_GT(block, 0);
    EXPECT_EQ(WriteBlobStream(value.data(), static_cast<std::int64_t>(value.size()), kConvertIfText),
              static_cast<std::int64_t>(value.size()));
    EXPECT_TRUE(CloseBlob());
    PutNativeInt32(FieldAddress(2), block);
    EXPECT_TRUE(Append());
    return block;
  };
  const std::string text = "Streamed M\xFCller\r\nsecond line";
  const std::int32_t textBlock = streamed("streamed", text);
  const std::string binary("a\x1A" "b\0c", 5);
  const std::int32_t binaryBlock = streamed("binary", binary);
  const std::string file = testsupport::Slurp(Path("three.dbt"));
  EXPECT_EQ(file.substr(static_cast<std::size_t>(textBlock) * 512, text.size() + 2),
            AnsiToOemStr(text) + "\x1A\x1A");
  EXPECT_EQ(Hex(file.substr(static_cast<std::size_t>(binaryBlock) * 512, 13)), "ffff08000d000000611a620063");
  ASSERT_TRUE(OpenBlob(true, binaryBlock, 1));
  std::string back(10, '\0');
  back.resize(static_cast<std::size_t>(ReadBlobStream(back.data(), 10, kNoConversion)));
  CloseBlob();
  EXPECT_EQ(back, binary);
  // A record of an older writer: the first memo under a negative block.
  Go(1);
  const std::string negative = "-" + std::to_string(Block());
  Use("");
  std::string table = testsupport::Slurp(Path("three.dbf"));
  const std::size_t header = 2 * 32 + 33;
  table.replace(header + 11 + 10 - negative.size(), negative.size(), negative);
  testsupport::Put(Path("three.dbf"), table);
  ASSERT_TRUE(Use(Path("three.dbf") + " EXCLUSIVE"));
  EXPECT_EQ(MemoOfRecord(1), kUmlautText);
  ASSERT_TRUE(Pack());
  Go(1);
  EXPECT_GT(Block(), 0);
  Use("");
  const std::string expected = Hex(AnsiToOemStr(kUmlautText)) + "\n" + Hex(AnsiToOemStr(text)) + "\n";
  EXPECT_EQ(DbfreadMemos("three.dbf").substr(0, expected.size()), expected);
  EXPECT_EQ(dbtest::RunPython(dir_, "import dbf\n"
                                    "t = dbf.Table('" + Path("three.dbf") + "', codepage='cp850')\n"
                                    "t.open()\n"
                                    "for r in t: print(r.notes.encode('cp850').hex())\n")
                .substr(0, expected.size()),
            expected);
  EXPECT_TRUE(reported_.empty()) << LastReport();
}

TEST_F(MemoTest, ADbase4MemoStaysInPlaceAndItsFreedBlocksAreReused) {
  MemoTable("reuse", 0x8B);
  const std::int32_t big = AppendWithMemo("big", std::string(2000, 'b'));  // blocks 1..4
  const std::int32_t next = AppendWithMemo("next", "after");               // block 5
  ASSERT_EQ(big, 1);
  ASSERT_EQ(next, 5);
  Go(1);
  MemoLines = {"short"};
  MemoLineEnds = {kNoLineEnd};
  EXPECT_EQ(CloseMemo(big), big);
  // Blocks 2..4 head the free chain: run of 3 blocks.
  std::string file = testsupport::Slurp(Path("reuse.dbt"));
  EXPECT_EQ(file.substr(0, 4), std::string("\x02\0\0\0", 4));
  EXPECT_EQ(file.substr(1024 + 4, 4), std::string("\x03\0\0\0", 4));
  const std::int64_t size = Size("reuse.dbt");
  // A value of two blocks takes the start of the run, the rest stays free.
  MemoLines = {std::string(900, 'n')};
  MemoLineEnds = {kNoLineEnd};
  EXPECT_EQ(CloseMemo(0), 2);
  EXPECT_EQ(Size("reuse.dbt"), size);
  file = testsupport::Slurp(Path("reuse.dbt"));
  EXPECT_EQ(file.substr(0, 4), std::string("\x04\0\0\0", 4));
  // A value longer than every run goes to the end of the file.
  MemoLines = {std::string(1200, 'e')};
  EXPECT_EQ(CloseMemo(0), 6);
  std::string text;
  ASSERT_TRUE(ReadMemoText(1, text));
  EXPECT_EQ(text, "short");
  ASSERT_TRUE(ReadMemoText(2, text));
  EXPECT_EQ(text, std::string(900, 'n'));
  ASSERT_TRUE(ReadMemoText(5, text));
  EXPECT_EQ(text, "after");
  // The last free block is taken, and the chain is empty again.
  MemoLines = {"tiny"};
  EXPECT_EQ(CloseMemo(0), 4);
  file = testsupport::Slurp(Path("reuse.dbt"));
  EXPECT_EQ(file.substr(0, 4), std::string("\x09\0\0\0", 4));
}

TEST_F(MemoTest, MemoTablesOfOtherWriters) {
  const fs::path data = fs::path(VOB_SOURCE_DIR) / "tests" / "data" / "dbase";
  const std::vector<std::string> expected = {
      "First line\r\nsecond line\r\n\xC4nderung: M\xFC" "ller", "", ""};
  std::string words;
  for (int i = 0; i < 120; ++i) words += (i ? " word" : "word") + std::string(i < 10 ? "00" : i < 100 ? "0" : "") +
                                        std::to_string(i);
  for (const std::string name : {"memo3", "memo4", "memofox"}) {
    const std::string memoExt = name == std::string("memofox") ? ".fpt" : ".dbt";
    fs::copy_file(data / (name + ".dbf"), dir_ / (name + ".dbf"));
    fs::copy_file(data / (name + memoExt), dir_ / (name + memoExt));
    ASSERT_TRUE(Use(Path(name + ".dbf"))) << name;
    EXPECT_EQ(MemoOfRecord(1), expected[0]) << name;
    EXPECT_EQ(MemoOfRecord(2), words) << name;
    EXPECT_EQ(MemoOfRecord(3), "") << name;
    std::vector<std::string> lines;
    Go(1);
    ASSERT_TRUE(ReadMemoTextLines(Block(), lines));
    EXPECT_EQ(lines.size(), 3u) << name;
    Use("");
  }
}

TEST_F(MemoTest, SharedOpensTakeTurnsWithTheMemoLock) {
  const std::string path = MemoTable("shared", 0x8B);
  Use("");
  ASSERT_TRUE(Use(path));
  Select(2);
  ASSERT_TRUE(Use(path + " ALIAS other"));
  std::vector<std::int32_t> blocks;
  for (int i = 0; i < 3; ++i) {
    for (const int area : {1, 2}) {
      Select(area);
      blocks.push_back(AddMemo("memo " + std::to_string(i) + " of area " + std::to_string(area)));
    }
  }
  EXPECT_EQ(blocks, (std::vector<std::int32_t>{1, 2, 3, 4, 5, 6}));
  EXPECT_TRUE(reported_.empty()) << LastReport();
  // A lock held elsewhere refuses the write.
  Select(1);
  MemoFile& memo = *MemoFiles[1];
  const std::int64_t end = LockMemoPadAndSeekEOF(memo, "test");
  ASSERT_GT(end, 0);
  Select(2);
  EXPECT_EQ(AddMemo("refused"), 0);
  EXPECT_EQ(LastCode(), 1017);
  EXPECT_NE(LastReport().find("shared.dbt [AddMemo()]"), std::string::npos);
  ReleaseMemoLock(memo);
  EXPECT_EQ(AddMemo("now"), 7);
  std::string text;
  Select(1);
  ASSERT_TRUE(ReadMemoText(4, text));
  EXPECT_EQ(text, "memo 1 of area 2");
}

TEST_F(MemoTest, AFailedPackLeavesTheOldMemoFileInForce) {
  MemoTable("broken", 0x83);
  AppendWithMemo("a", "alpha");
  AppendWithMemo("b", "beta");
  AppendWithMemo("c", "gamma");
  Go(2);
  ASSERT_TRUE(DeleteRec());
  // The last record points beyond the memo file's end.
  Go(3);
  PutNativeInt32(FieldAddress(2), 9999);
  ASSERT_TRUE(Replace());
  const std::string before = testsupport::Slurp(Path("broken.dbt"));
  EXPECT_FALSE(Pack());
  EXPECT_EQ(LastCode(), 1003);
  EXPECT_NE(LastReport().find("broken.dbt Memo block # 9999 Record # 2 [PackMemo]"), std::string::npos);
  EXPECT_EQ(testsupport::Slurp(Path("broken.dbt")), before);
  EXPECT_FALSE(fs::exists(Path("broken.dbt.pack-" + std::to_string(::getpid()))));
  EXPECT_EQ(MemoOfRecord(1), "alpha");
  Go(2);
  EXPECT_EQ(Block(), 9999);
}

TEST_F(MemoTest, OpeningErrors) {
  const std::string path = MemoTable("lost", 0x83);
  Use("");
  fs::remove(Path("lost.dbt"));
  EXPECT_FALSE(Use(path));
  EXPECT_EQ(reported_.front().code, 2);
  EXPECT_NE(reported_.front().text.find("Memo file not found: " + Path("lost.dbt") + " [USE]"), std::string::npos);
  EXPECT_EQ(CurrentWorkAreaRecord(), nullptr);
}

}  // namespace
