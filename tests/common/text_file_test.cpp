// Line files: byte-exact line formats and header block, reading rules
// (either decimal sign, either line end, past the end), and a failing write
// that must leave the previous file untouched.
#include "common/text_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

#include "common/file_utils.h"
#include "common/kaldvar.h"
#include "platform/file_system.h"
#include "support/file_test_support.h"

using namespace common;
namespace fs = std::filesystem;
using testsupport::FullDisk;
using testsupport::Put;
using testsupport::Slurp;

namespace {

class TextFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetKaldvarDefaults();
    SetWkaldvarDefaults();
  }
  void TearDown() override { SharedTextFile.Discard(); }
  void OpenWrite(const std::string& name) {
    SharedTextFile.Assign(dir_.Path(name));
    std::error_code ec;
    ASSERT_TRUE(SharedTextFile.Rewrite(ec)) << ec.message();
  }
  void OpenRead(const std::string& name) {
    SharedTextFile.Assign(dir_.Path(name));
    std::error_code ec;
    ASSERT_TRUE(SharedTextFile.Reset(ec)) << ec.message();
  }
  bool Close() {
    std::error_code ec;
    return SharedTextFile.Close(ec);
  }
  testsupport::ScratchDirectory dir_{"text_file"};
};

}  // namespace

TEST(RealLineText, FormsAreFixedWhateverTheSettings) {
  SetKaldvarDefaults();
  SetWkaldvarDefaults();
  for (int pass = 0; pass < 2; ++pass) {
    // The decimal sign and the significant digits must not matter.
    DecimalSign = pass == 0 ? 1 : 2;
    SignificantDigits = pass == 0 ? 3 : 7;
    EXPECT_EQ(RealLineText(0), "0");
    EXPECT_EQ(RealLineText(-2), "-2");
    EXPECT_EQ(RealLineText(-1e-12L), "0");
    EXPECT_EQ(RealLineText(-1e20L), "-100000000000000000000");
    EXPECT_EQ(RealLineText(0.5L), "0.5000000");
    EXPECT_EQ(RealLineText(5), "5.0000000");
    EXPECT_EQ(RealLineText(1), "1.0000000");
    EXPECT_EQ(RealLineText(-2.25L), "-2.2500000");
    EXPECT_EQ(RealLineText(123456.123456789L), "123456.1234568");
    EXPECT_EQ(RealLineText(-0.00000001L), "0.0000000");  // never "-0.0000000"
    // No number: a line the readers refuse would make the file unreadable.
    EXPECT_EQ(RealLineText(std::numeric_limits<Real>::quiet_NaN()), "0");
    EXPECT_EQ(RealLineText(-std::numeric_limits<Real>::infinity()), "0");
  }
  // Exact binary ties round away from zero (2^-8 = 0.00390625).
  EXPECT_EQ(FixedPointText(0.00390625L, 7), "0.0039063");
  EXPECT_EQ(FixedPointText(-0.00390625L, 7), "-0.0039063");
  EXPECT_EQ(FixedPointText(0.5L, 0), "1");
  EXPECT_EQ(FixedPointText(9.5L, 0), "10");
  EXPECT_EQ(FixedPointText(1.0L / 3, 14), "0.33333333333333");
  // At most 18 significant digits; further positions are 0.
  EXPECT_EQ(FixedPointText(98765432.1L, 14), "98765432.10000000000000");
  EXPECT_EQ(FixedPointText(-1.0L / 3 * 1e10L, 14), "-3333333333.33333333000000");
  EXPECT_EQ(FixedPointText(1e25L, 2), "10000000000000000000000000.00");
  EXPECT_EQ(FixedPointText(-0.000000004L, 7), "0.0000000");
}

TEST(ParseRealLine, AcceptsEitherDecimalSignAndAnyDecimals) {
  Real x = 7;
  EXPECT_TRUE(ParseRealLine("1,25", x));
  EXPECT_EQ(x, 1.25L);
  EXPECT_TRUE(ParseRealLine(" -3.125000000000000 ", x));
  EXPECT_EQ(x, -3.125L);
  EXPECT_TRUE(ParseRealLine("1.5E3", x));
  EXPECT_EQ(x, 1500);
  EXPECT_TRUE(ParseRealLine("+2", x));
  EXPECT_EQ(x, 2);
  for (const char* bad : {"", "abc", "1.2.3", "1,2x", "inf", "nan", "+-1"}) EXPECT_FALSE(ParseRealLine(bad, x)) << bad;
}

// Numbers beyond the range of numbers the program takes are no numbers of
// a line, and said to be so.
TEST(ParseRealLine, RefusesNumbersThatAreNotFinite) {
  Real x = 7;
  for (const char* beyond : {"1e999", "-1e999", "1.8e308", "inf", "-Infinity", "nan", "1e5000"}) {
    bool notFinite = false;
    EXPECT_FALSE(ParseRealLine(beyond, x, &notFinite)) << beyond;
    EXPECT_TRUE(notFinite) << beyond;
  }
  bool notFinite = true;
  EXPECT_FALSE(ParseRealLine("abc", x, &notFinite));
  EXPECT_FALSE(notFinite);
  EXPECT_EQ(x, 7) << "a refused line leaves the value";
  EXPECT_TRUE(ParseRealLine("1.79e308", x));
  EXPECT_TRUE(ParseRealLine("-1e308", x));
}

// Whatever finite value a line is written from, the line reads back as a
// number the program takes: 18 digits of a value next to the largest
// number would round above it, and the file would refuse itself.
TEST(RealLineText, EveryWrittenNumberReadsBack) {
  const Real largestDouble = std::numeric_limits<double>::max();
  const Real largest = std::numeric_limits<Real>::max();
  for (Real x : {largest, largest * (1 - 5e-18L), -largest, static_cast<Real>(1e999L), largestDouble,
                 largestDouble * (1 - 1e-18L), -largestDouble, std::nextafter(largestDouble, largest),
                 1.7976931348623157e308L, 1.79769313486231570e308L, 1e308L, -9.99999999999999999e307L}) {
    Real back = 0;
    const std::string line = RealLineText(x);
    ASSERT_TRUE(ParseRealLine(line, back)) << line.substr(0, 30);
    EXPECT_LE(std::fabs(back), largestDouble);
    // Values within the range come back to 18 digits; beyond it, the
    // largest written value with the sign.
    if (std::fabs(x) <= 1.79769313486231570e308L) {
      EXPECT_NEAR(static_cast<double>(back / x), 1.0, 1e-17) << line.substr(0, 30);
    } else {
      EXPECT_EQ(back, std::copysign(1.79769313486231570e308L, x));
    }
  }
}

TEST_F(TextFileTest, LineFormatsAndHeaderAreByteExact) {
  SetProgramIdentity();
  SheetTexts[1] = "Text 1";
  SheetTexts[2] = "";
  SheetTexts[3] = "Text \x81";  // code page 850 bytes go through unchanged
  OpenWrite("a.vb4");
  WriteFileHeader();
  WriteRealLine(0);
  WriteRealLine(-2);
  WriteRealLine(0.5L);
  WriteRealLine(5);
  WriteRealLine14(2.5L);
  WriteIntLine(-42);
  WriteIntLine(65535);
  WriteBoolLine(true);
  WriteBoolLine(false);
  WriteFieldsLine("a", "", "c", "d");
  WriteFieldsLine6("1", "2", "3", "4", "5", "6");
  WriteFieldsLine8("1", "2", "3", "4", "5", "6", "7", "");
  WriteTextNoEol("<td>");
  WriteTextLine("x");
  ASSERT_TRUE(Close());
  EXPECT_EQ(AbortFlag, 0);

  const std::string rule(65, '-');
  const std::string expected = rule + "\r\n" + "VOB4 - Razivudo Redo Zavaz   V 5.2\r\n" + "Version 5.2    " +
                               ProgramNotice + "\r\n" + rule + "\r\n" +
                               "Text 1\r\n\r\nText \x81\r\n"
                               "0\r\n-2\r\n0.5000000\r\n5.0000000\r\n2.50000000000000\r\n"
                               "-42\r\n65535\r\nTRUE\r\nFALSE\r\n"
                               "a||c|d|\r\n1|2|3|4|5|6|\r\n1|2|3|4|5|6|7||\r\n<td>x\r\n";
  EXPECT_EQ(Slurp(dir_.Path("a.vb4")), expected);
  // No temporary file is left beside it.
  EXPECT_EQ(dir_.Entries(), 1u);
}

TEST_F(TextFileTest, ReadingRulesAndEndOfFile) {
  // LF, CR LF and CR line ends mixed; no end on the last line.
  Put(dir_.Path("r.txt"), "1,25\n12\r\n 70000\rtrue\nyes\nyes\na|b||d|\nq|r\n\nfalse");
  OpenRead("r.txt");
  Real x = 0;
  std::int32_t n = 5;
  std::uint16_t w = 5;
  bool t = false, u = true, v = false;
  ReadRealLine(x);
  EXPECT_EQ(x, 1.25L);
  ReadIntLine(n);
  EXPECT_EQ(n, 12);
  ReadWordLine(w);
  EXPECT_EQ(w, 0);  // outside 0..65535: does not convert
  ReadTrueLine(t);
  EXPECT_TRUE(t);
  ReadTrueLine(u);
  EXPECT_FALSE(u);
  ReadNotFalseLine(v);
  EXPECT_TRUE(v);
  std::string a, b, c, d;
  ReadFieldsLine(a, b, c, d);
  EXPECT_EQ(a + "," + b + "," + c + "," + d, "a,b,,d");
  ReadFieldsLine(a, b, c, d);
  EXPECT_EQ(a + "," + b + "," + c + "," + d, "q,r,,");
  char ch = 'x';
  ReadCharLine(ch);
  EXPECT_EQ(ch, '\0');
  EXPECT_FALSE(SharedTextFile.Eof());
  bool f = true;
  ReadNotFalseLine(f);
  EXPECT_FALSE(f);
  EXPECT_TRUE(SharedTextFile.Eof());

  // Past the end: empty values, no error.
  x = 3;
  n = 3;
  std::string s = "old";
  ReadRealLine(x);
  ReadIntLine(n);
  ReadTextLine(s);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(s, "");
  EXPECT_EQ(AbortFlag, 0);
  EXPECT_TRUE(Close());
}

TEST_F(TextFileTest, WritesReadBackAcrossBlockBoundaries) {
  OpenWrite("big.txt");
  for (int i = 0; i < 5000; ++i) WriteRealLine(i + 0.25L);
  ASSERT_TRUE(Close());
  OpenRead("big.txt");
  for (int i = 0; i < 5000; ++i) {
    Real x = -1;
    ReadRealLine(x);
    ASSERT_EQ(x, i + 0.25L) << i;
  }
  EXPECT_TRUE(SharedTextFile.Eof());
  Close();
}

TEST_F(TextFileTest, FailedWriteKeepsPreviousFileAndSetsAbortFlag) {
  Put(dir_.Path("keep.cfg"), "old contents\r\n");
  {
    FullDisk full(100);
    platform::ScopedFileSystem scope(full);
    OpenWrite("keep.cfg");
    for (int i = 0; i < 50; ++i) WriteTextLine("a line of some length");
    EXPECT_EQ(AbortFlag, 1);
    std::error_code ec;
    EXPECT_FALSE(SharedTextFile.Close(ec));
  }
  EXPECT_EQ(Slurp(dir_.Path("keep.cfg")), "old contents\r\n");
  EXPECT_EQ(dir_.Entries(), 1u);

  // A file that cannot be created at all: writes fail, nothing appears.
  AbortFlag = 0;
  SharedTextFile.Assign(dir_.Path("missing/dir/x.txt"));
  std::error_code ec;
  EXPECT_FALSE(SharedTextFile.Rewrite(ec));
  WriteTextLine("x");
  EXPECT_EQ(AbortFlag, 1);

  // Reading a file that is not open sets AbortFlag too.
  AbortFlag = 0;
  std::string s;
  ReadTextLine(s);
  EXPECT_EQ(AbortFlag, 1);
}

TEST_F(TextFileTest, DiscardLeavesPreviousFile) {
  Put(dir_.Path("d.txt"), "before");
  OpenWrite("d.txt");
  WriteTextLine("after");
  SharedTextFile.Discard();
  EXPECT_EQ(Slurp(dir_.Path("d.txt")), "before");
  EXPECT_EQ(dir_.Entries(), 1u);
}

TEST_F(TextFileTest, ReplacedFileKeepsItsAccessRights) {
  Put(dir_.Path("p.txt"), "old");
  fs::permissions(dir_.Path("p.txt"), fs::perms::owner_read | fs::perms::owner_write);
  OpenWrite("p.txt");
  WriteTextLine("new");
  ASSERT_TRUE(Close());
  EXPECT_EQ(Slurp(dir_.Path("p.txt")), "new\r\n");
  EXPECT_EQ(fs::status(dir_.Path("p.txt")).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}
