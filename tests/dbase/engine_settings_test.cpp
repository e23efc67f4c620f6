// Engine settings, date display conversions, date text routines, text and
// file-name routines, and the table code page.
#include "dbase/engine/engine_settings.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "dbase/common/date_text.h"
#include "dbase/common/file_routines.h"
#include "dbase/common/text_routines.h"
#include "dbase/engine/date_display.h"
#include "dbase/engine/engine_code_page.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/file_names.h"

namespace {

using namespace dbase;

class DateSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    CenturyPivot = 1956;
    Century = false;
    SetDateFormat(0);
    DecimalSeparator = '.';
  }
  void TearDown() override { SetUp(); }
};

TEST_F(DateSettings, TwoDigitYearsCountFromThePivot) {
  EXPECT_EQ(CenturyOf("55"), 2000);
  EXPECT_EQ(CenturyOf("56"), 1900);
  EXPECT_EQ(CenturyOf("00"), 2000);
  EXPECT_EQ(CenturyOf("99"), 1900);
  EXPECT_EQ(CenturyDigits("12"), "20");
  Century = true;
  EXPECT_EQ(YearToFour("99"), "1999");
  EXPECT_EQ(YearToFour("5"), "0005");
  Century = false;
  EXPECT_EQ(YearToFour("99"), "99");
}

TEST_F(DateSettings, FormatCodesAndPictures) {
  SetDateFormat(12);
  EXPECT_EQ(DateFormat, 0);
  EXPECT_EQ(ShortDatePicture, "MM/dd/yy");
  SetDateFormat(3);
  EXPECT_EQ(DateSeparator, '-');
  EXPECT_EQ(EmptyDatePicture(3), "  -  -  ");
  Century = true;
  SetDateFormat(1);
  EXPECT_EQ(ShortDatePicture, "yyyy.MM.dd");
  EXPECT_EQ(EmptyDatePicture(1), "    .  .  ");
  EXPECT_EQ(DateFormatOfLocale("de_DE.UTF-8"), 5);
  EXPECT_EQ(DateFormatOfLocale("en_US.UTF-8"), 0);
  EXPECT_EQ(DateFormatOfLocale("en_GB"), 2);
  EXPECT_EQ(DateFormatOfLocale("fr_CA"), 7);
  EXPECT_EQ(DateFormatOfLocale("C"), 0);
}

TEST_F(DateSettings, DisplayConversions) {
  SetDateFormat(3);
  EXPECT_EQ(DateFromDisplay("24-12-99"), "12/24/99");
  Century = true;
  SetDateFormat(1);
  EXPECT_EQ(DateToDisplay("12/24/99"), "1999.12.24");
  Century = false;
  SetDateFormat(5);
  EXPECT_EQ(DateToDisplay("1/2/26"), "02.01.26");
  EXPECT_EQ(DateToDisplay("  /  /  "), "  .  .  ");
  EXPECT_EQ(DateFromDisplay("no date"), "no date");
  // Native dates keep four digits; the display shortens them.
  EXPECT_EQ(StoredDateToNative("19991224"), "24.12.1999");
  EXPECT_EQ(DisplayDateText("24.12.1999"), "24.12.99");
  EXPECT_EQ(NativeDateToStored("24.12.1999"), "19991224");
  EXPECT_EQ(NativeDateToStored("24.12.99"), "19991224");
  EXPECT_EQ(NativeDateToStored("31.04.1999"), "        ");
  EXPECT_EQ(NativeDateToStored("  .  .    "), "        ");
}

TEST_F(DateSettings, ValidDateNormalisesOrRefuses) {
  SetDateFormat(5);
  std::string t = "29.02.1900";
  EXPECT_FALSE(ValidDate(t));
  EXPECT_EQ(t, "29.02.1900");
  t = "29.02.00";
  EXPECT_TRUE(ValidDate(t));
  t = "31.04.26";
  EXPECT_FALSE(ValidDate(t));
  SetDateFormat(0);
  t = "1/2/26";
  EXPECT_TRUE(ValidDate(t));
  EXPECT_EQ(t, "01/02/26");
  t = "13/01/26";
  EXPECT_FALSE(ValidDate(t));
}

TEST_F(DateSettings, WeekdaysNamesAndParts) {
  EXPECT_EQ(DayOfWeek("01/01/00"), 7);
  Century = true;
  EXPECT_EQ(DayOfWeek("07/04/1776"), 5);
  Century = false;
  EXPECT_EQ(CDow("01/03/01"), "Wednesday");
  EXPECT_EQ(CDow("01/07/01"), "Sunday   ");
  EXPECT_EQ(CDow("  /  /  "), std::string(10, ' '));
  SetDateFormat(4);
  EXPECT_EQ(CDow("03.01.01"), "Mercredi");
  EXPECT_EQ(CMonth("03.08.01"), std::string("Ao\x96t     "));
  SetDateFormat(8);
  EXPECT_EQ(CMonth("03.09.01"), std::string("\x91\xA5\xAD\xE2\xEF\xA1\xE0\xEC"));
  SetDateFormat(0);
  EXPECT_EQ(DateMonth("12/24/99"), 12);
  EXPECT_EQ(DateDay("12/24/99"), 24);
  EXPECT_EQ(DateYear("12/24/99"), 99);
  EXPECT_EQ(DateToDtos("12/24/99"), "19991224");
  EXPECT_EQ(DateToDtos("12/24/20"), "20201224");
  EXPECT_EQ(DtosToDate("19991224"), "12/24/99");
  EXPECT_EQ(FloorMod(-1, 7), 6);
  EXPECT_EQ(FloorMod(-14, 7), 0);
}

TEST_F(DateSettings, NumberTexts) {
  std::string t = "$ 1,234.50";
  CleanNumberText(t);
  EXPECT_EQ(t, "1234.50");
  t = "12abc";
  CleanNumberText(t);
  EXPECT_EQ(t, "12");
  t = " - .5";
  CleanNumberText(t);
  EXPECT_EQ(t, "-0.5");
  DecimalSeparator = ',';
  t = "1.234,50";
  CleanNumberText(t);
  EXPECT_EQ(t, "1234.50");
  EXPECT_EQ(FloatToStrW(2.5, 6, 2), "  2,50");
  DecimalSeparator = '.';
  EXPECT_EQ(StrToSmallInt("40000"), 32767);
  EXPECT_EQ(StrToSmallInt("-5"), 0);
  EXPECT_EQ(StrToSmallInt(" +1,234 "), 1234);
  EXPECT_EQ(StrToIntClean("$12.9"), 12);
  EXPECT_DOUBLE_EQ(StrToFloatClean("-1,000.25"), -1000.25);
}

TEST(TextRoutines, KeywordsCountsAndPositions) {
  std::string c = "use x exclusive";
  EXPECT_TRUE(RemoveKeyword("EXCLUSIVE", c));
  EXPECT_EQ(c, "USE X");
  c = "use x exclusive";
  EXPECT_FALSE(RemoveKeyword("EXCL", c));
  EXPECT_EQ(Occurs("aa", "aaaa"), 2);
  EXPECT_EQ(Occurs("", "abc"), 0);
  EXPECT_EQ(NthPos(2, "aa", "aaaa"), 2);
  EXPECT_EQ(NthPos(-1, "ab", "abxab"), 4);
  EXPECT_EQ(NthPos(3, "ab", "abxab"), 0);
  EXPECT_EQ(PosNoCase("Alias", "use t ALIAS a"), 7);
  EXPECT_EQ(PadRight("ab", 4), "ab  ");
  EXPECT_EQ(TzUpperCase("m\xfcller"), "M\xdcLLER");
  EXPECT_EQ(Replicate('*', -1), "");
}

TEST(FileNames, ExtensionsAndSplitting) {
  EXPECT_EQ(AddDefaultExt("TABLE", "DBF"), "TABLE.DBF");
  EXPECT_EQ(AddDefaultExt("TABLE.X ", "DBF"), "TABLE.X");
  EXPECT_EQ(ChangeExt("dir.v/table.dbf", "ndx"), "dir.v/table.ndx");
  EXPECT_EQ(RemoveExt("dir.v/table"), "dir.v/table");
  std::string d, n, e;
  const std::string longName(80, 'n');
  SplitPath("/data/" + longName + ".dbf", d, n, e);
  EXPECT_EQ(d, "/data/");
  EXPECT_EQ(n, longName);
  EXPECT_EQ(e, ".dbf");
  SplitPath("plain", d, n, e);
  EXPECT_EQ(d, "");
  EXPECT_EQ(e, "");
}

TEST(MemoryGuards, FreeingNullRecordsCode9) {
  ScopedErrorProc proc([] {});
  void* p = nullptr;
  FreeMem(p, 10);
  EXPECT_EQ(TzError, 9);
  EXPECT_EQ(p, nullptr);
  TzGetMem(p, 16);
  ASSERT_NE(p, nullptr);
  TzError = 0;
  FreeMem(p, 16);
  EXPECT_EQ(TzError, 0);
  EXPECT_EQ(p, nullptr);
  EXPECT_EQ(MaxAvail(), 0x7FFFFFFF);
}

TEST(TableCodePage, OneToOneOverAllBytes) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::string ansi = OemToAnsiStr(all);
  EXPECT_EQ(std::set<char>(ansi.begin(), ansi.end()).size(), 256u);
  EXPECT_EQ(AnsiToOemStr(ansi), all);
  // u umlaut: 0x81 in code page 850, U+00FC in ISO 8859-1 and UTF-8.
  EXPECT_EQ(OemToAnsiStr("\x81"), "\xfc");
  EXPECT_EQ(AnsiToUtf8("M\xfcller"), "M\xc3\xbcller");
  EXPECT_EQ(Utf8ToAnsi("M\xc3\xbcller \xe2\x82\xac"), "M\xfcller ?");
}

}  // namespace

namespace {

TEST(FileRoutines, SearchEraseAndTemporaryNames) {
  using namespace dbase;
  ScopedErrorProc proc([] { TakeErrorDetail(); });
  const std::string name = UniqueFilename();
  ASSERT_FALSE(name.empty());
  EXPECT_TRUE(FileExistsS(name));
  EXPECT_NE(name.find("/TZP"), std::string::npos);
  EXPECT_TRUE(FileDatedToday(name));
  const std::filesystem::path dir = std::filesystem::path(name).parent_path() / ("vob_erase_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir / "sub.tmp");
  for (const char* file : {"a.tmp", "B.TMP", "c.dbf"}) std::ofstream(dir / file) << "x";
  SearchRecord found;
  std::set<std::string> names;
  for (int r = TzFindFirst(dir.string() + "/*.tmp", false, found); r == 0; r = TzFindNext(found)) names.insert(found.name);
  TzFindClose(found);
  EXPECT_EQ(names, (std::set<std::string>{"a.tmp", "B.TMP"}));
  EXPECT_EQ(LastFindResult, 18);
  TzError = 0;
  EraseFiles(dir.string() + "/*.tmp");
  EXPECT_EQ(TzError, 0);
  EXPECT_FALSE(std::filesystem::exists(dir / "a.tmp"));
  EXPECT_TRUE(std::filesystem::exists(dir / "c.dbf"));
  EraseFiles(dir.string() + "/missing.dbf");
  EXPECT_EQ(TzError, 2);
  EXPECT_EQ(EraseFile(name), 0);
  EXPECT_FALSE(FileExistsS(name));
  std::filesystem::remove_all(dir);
  EXPECT_GT(DiskFreeKB(""), 0);
}

}  // namespace
