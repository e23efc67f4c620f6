// Design data file: line positions of the default design, byte-identical
// save/open/save for every curve family, refused files that leave the
// design as it was, a failing save that keeps the previous file, the path
// rules and the text conversions of the documentation sections.
#include "app/data_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <numbers>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/design_extras.h"
#include "app/documentation/change_records.h"
#include "app/documentation/document_links.h"
#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "calc/polynomial_fit.h"
#include "calc/spur_gear_data.h"
#include "common/design_documentation.h"
#include "common/equation_matrix.h"
#include "common/file_checks.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/text_file.h"
#include "platform/file_system.h"
#include "platform/scripted_dialogs.h"
#include "support/file_test_support.h"

namespace fs = std::filesystem;
using platform::ScriptedAnswer;
using testsupport::FullDisk;
using testsupport::Joined;
using testsupport::Put;
using testsupport::Slurp;
using testsupport::SplitLines;

namespace {

class DataFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    common::SetKaldvarDefaults();
    common::SetWkaldvarDefaults();
    common::SetProgramIdentity();
    common::ClearErrorMessages();
    calc::SkipPositionSweep = 0;
    app::StartedWithFile = 0;
    app::SetDesignInputDefaults();
    common::DataDirectory = dir_.Dir().string() + "/";
    common::CurrentFileName.clear();
  }
  void TearDown() override { common::SharedTextFile.Discard(); }

  // Writes the design in memory to name (full path, no question) and
  // returns the bytes; the test fails when the write reports a failure.
  std::string Save(const std::string& name) {
    common::AbortFlag = 0;
    app::SaveDataFile(dir_.Path(name));
    EXPECT_EQ(common::AbortFlag, 0) << name;
    return Slurp(dir_.Path(name));
  }

  testsupport::ScratchDirectory dir_{"data_file"};
  platform::ScriptedDialogs dialogs_;
  platform::ScopedDialogs scoped_{dialogs_};
};

// A design that fills every list the file holds: change records with line
// breaks of each kind, free texts, a '|' in title texts, fit points with
// their coefficients, polyline points, document links and the extra values.
void FillDocumentation() {
  auto& changes = common::ChangeRecords;
  changes.Count = 3;
  changes.Records[1] = {"a1", "01.02.2025", "ABC", "first line\r\nsecond line"};
  changes.Records[2] = {"b2", "02.03.2025", "DEF", "one\rtwo\nthree"};
  changes.Records[3] = {"c3", "03.04.2025", "GHI", ""};
  auto& title = common::TitleBlock;
  for (int i = 1; i <= common::TitleTextCount; ++i) title.Texts[i] = "T" + std::to_string(i);
  title.Texts[4] = "M\x81ller";  // code page 850 u-umlaut
  title.FreeTextCount = 2;
  title.FreeTexts[1] = {12.5L, 200, 3.5L, 0, "Free text 1"};
  title.FreeTexts[2] = {1234.5L, -7.25L, 2.5L, 90, "x|y"};
  title.TextMode = common::FreeTextsA4A3;
  common::SheetTexts[1] = "Sheet one";
  common::SheetTexts[2] = "Sheet two";
  common::SheetTexts[3] = "Sheet three";
  app::DocumentLinks[2] = {"write.exe", "C:/docs/gear.doc"};
  app::MaterialRecNo[1] = 7;
  app::ToolRecNo[2] = 3;
  app::MaterialName[1] = "16MnCr5";
  app::MaterialName[2] = "42CrMo4";
  app::ToothCorrectionText[1] = "tip relief 0.02";
  calc::SpurGearData.LoadChoice = calc::LoadComputesPower;
  calc::SpurGearData.YM[2] = 0.7L;  // YA
  auto& sg = calc::SpurGearData;
  sg.DrawingName[1] = "Ellipse gear";
  sg.DrawingNumber[2] = "NC-0002";
  sg.DrawingName2[1] = "second name";
  sg.n[1] = 1450;
  sg.P = 7.5L;
  sg.T[1] = 49.4L;
  sg.CalcMethod = 4;
  sg.LappingInAnswer = 'J';
}

// The angles as a file holds them (7 decimals): with the staircase
// interpolation a change in the 8th decimal of a point angle can move a
// sample to the neighbouring step and so change the centre distance.
void SetPolyline() {
  calc::PolylineCount = 36;
  for (int i = 1; i <= 36; ++i) {
    const Real phi = std::round((i - 1) * 10 * std::numbers::pi_v<Real> / 180 * 1e7L) / 1e7L;
    calc::PolylinePoints[i] = {phi, std::round((50 + 5 * std::cos(2 * phi)) * 1e7L) / 1e7L};
  }
  calc::LinearInterpolation = 0;
}

void SetFitPoints() {
  calc::PointCount = 5;
  const Real r[5] = {50, 55, 52, 48, 50};
  for (int i = 1; i <= 5; ++i) calc::FitPoints[i] = {(i - 1) * std::numbers::pi_v<Real> / 2, r[i - 1]};
  ASSERT_TRUE(calc::FitPolynomialToPoints());
}

TEST_F(DataFileTest, DefaultDesignHasEveryGroupAtItsLine) {
  const std::string bytes = Save("default.vb4");
  bool crlf = false;
  const auto lines = SplitLines(bytes, &crlf);
  EXPECT_TRUE(crlf);
  ASSERT_EQ(lines.size(), 216u);
  EXPECT_EQ(lines[0], std::string(65, '-'));
  EXPECT_EQ(lines[2], "Version 5.2    " + common::ProgramNotice);
  EXPECT_EQ(lines[3], std::string(65, '-'));
  auto line = [&](int n) { return lines[static_cast<std::size_t>(n - 1)]; };
  EXPECT_EQ(line(8), "0");             // a before any calculation
  EXPECT_EQ(line(13), "0.3490659");    // 20 degrees in radians
  EXPECT_EQ(line(14), "30");           // z1
  EXPECT_EQ(line(16), "Curve");
  EXPECT_EQ(line(17), "0");            // no formula pieces
  EXPECT_EQ(line(18), "60.0000000");   // ellipse a
  EXPECT_EQ(line(22), "2");            // curve type
  EXPECT_EQ(line(26), "20.0000000");   // pressure angle
  EXPECT_EQ(line(29), "0");            // constant zeros of group 12
  EXPECT_EQ(line(52), "N");            // first yes/no answer
  EXPECT_EQ(line(93), "1.0000000");    // the constant 1
  EXPECT_EQ(line(134), "CHANGES");
  EXPECT_EQ(line(135), "0");
  EXPECT_EQ(line(136), std::string(20, '-'));
  EXPECT_EQ(line(137), "||||||0||");
  EXPECT_EQ(line(142), "documents");
  EXPECT_EQ(line(143), "5");
  EXPECT_EQ(line(145), "xdg-open");
  EXPECT_EQ(line(147), std::string(14, '-'));
  EXPECT_EQ(line(148), "xdg-open");
  EXPECT_EQ(line(151), "xdg-open");
  EXPECT_EQ(line(161), "4");           // tool profile code of gear 1
  EXPECT_EQ(line(162), "1.2500000");   // haP0/mn
  EXPECT_EQ(line(169), "Normal");
  EXPECT_EQ(line(182), "1");           // k
  EXPECT_EQ(line(184), "6");           // polygon corners
  EXPECT_EQ(line(187), "0");           // no fit points
  EXPECT_EQ(line(189), "ISO 7200 Header");
  EXPECT_EQ(line(195), "---");
  EXPECT_EQ(line(198), "0");           // no polyline points
  EXPECT_EQ(line(199), "TRUE");
  EXPECT_EQ(line(200), "2");           // load choice: torque
  EXPECT_EQ(line(202), "100.0000000"); // eccentric D
  EXPECT_EQ(line(204), "strength inputs");
  EXPECT_EQ(line(205), "0");           // life factors calculated
  EXPECT_EQ(line(206), "1.0000000");   // ZNT of gear 1
  EXPECT_EQ(line(210), "FALSE");       // no grinding notch
  EXPECT_EQ(line(213), "FALSE");       // fsh calculated
  EXPECT_EQ(line(215), "FALSE");       // fma calculated
}

TEST_F(DataFileTest, SaveOpenSaveIsByteIdenticalForEveryCurveFamily) {
  for (std::uint16_t type = 1; type <= 9; ++type) {
    SCOPED_TRACE("curve type " + std::to_string(type));
    app::SetDesignInputDefaults();
    FillDocumentation();
    calc::CurveType = type;
    calc::PieceCount = 2;
    calc::FormulaPieces[1] = {180, "37.5/(1-0.5*COS(X))"};
    calc::FormulaPieces[2] = {360, "37.5/(1-0.5*COS(X))"};
    SetFitPoints();
    SetPolyline();
    calc::SineCurve.N = 2;
    calc::NcPair.k = type == 2 ? 2 : 1;
    common::ClearErrorMessages();
    calc::CalcNoncircularPair();

    const std::string first = Save("first.vb4");
    const std::string description = common::ChangeRecords.Records[1].Description;
    EXPECT_EQ(description, "first line\r\nsecond line");  // saving leaves the record alone

    app::SetDesignInputDefaults();
    app::ReadDataFile(dir_.Path("first.vb4"));
    ASSERT_EQ(common::AbortFlag, 0);
    EXPECT_EQ(calc::CurveType, type);
    EXPECT_EQ(common::ChangeRecords.Count, 3);
    EXPECT_EQ(common::ChangeRecords.Records[1].Description, "first line\nsecond line");
    EXPECT_EQ(common::ChangeRecords.Records[2].Description, "one\ntwo\nthree");
    EXPECT_EQ(common::TitleBlock.FreeTextCount, 2);
    EXPECT_EQ(common::TitleBlock.FreeTexts[2].text, "x\xDDy");
    EXPECT_EQ(calc::PolylineCount, 36);
    EXPECT_EQ(calc::PointCount, 5);
    EXPECT_EQ(app::MaterialName[2], "42CrMo4");

    const std::string second = Save("second.vb4");
    EXPECT_EQ(first, second);
  }
}

TEST_F(DataFileTest, DocumentationSectionLines) {
  FillDocumentation();
  const auto lines = SplitLines(Save("doc.vb4"));
  auto at = [&](const std::string& text) {
    for (std::size_t i = 0; i < lines.size(); ++i)
      if (lines[i] == text) return i;
    return lines.size();
  };
  const std::size_t changes = at("CHANGES");
  ASSERT_LT(changes + 25, lines.size());
  EXPECT_EQ(lines[4], "Sheet one");
  EXPECT_EQ(lines[changes + 1], "3");
  EXPECT_EQ(lines[changes + 3], "a1");
  EXPECT_EQ(lines[changes + 6], "first line|second line");
  EXPECT_EQ(lines[changes + 7], std::string(14, '-'));
  EXPECT_EQ(lines[changes + 11], "one|two|three");
  // Texts 3, 4, 5, 6, 9, 10, the free-text count and an empty field.
  EXPECT_EQ(lines[changes + 18], "T3|M\x81ller|T5|T6|T9|T10|2||");
  EXPECT_EQ(lines[changes + 19], "T1");
  EXPECT_EQ(lines[changes + 20], "T7");
  EXPECT_EQ(lines[changes + 21], "T8");
  EXPECT_EQ(lines[changes + 22], "T2");
  // Free-text numbers with three significant digits; a '|' in the text
  // cannot shift the fields.
  EXPECT_EQ(lines[changes + 23], "12.5|200|3.5|0|Free text 1||");
  EXPECT_EQ(lines[changes + 24], "1235|-7.25|2.5|90|x\xDDy||");
  const std::size_t iso = at("ISO 7200 Header");
  ASSERT_LT(iso + 6, lines.size());
  EXPECT_EQ(lines[iso + 1], "2");  // FrameStyle start value
  EXPECT_EQ(lines[iso + 2], "2");  // free texts on A4 and A3
  EXPECT_EQ(lines[iso + 3], "T11");
  EXPECT_EQ(lines[iso + 5], "T13");
  EXPECT_EQ(lines[iso + 6], "---");
  const std::size_t docs = at("documents");
  EXPECT_EQ(lines[docs + 6], "write.exe");
  EXPECT_EQ(lines[docs + 7], "C:/docs/gear.doc");
}

TEST_F(DataFileTest, NumbersIgnoreTheDecimalSignAndDigitSettings) {
  FillDocumentation();
  const std::string plain = Save("plain.vb4");
  common::DecimalSign = 2;
  common::SignificantDigits = 6;
  EXPECT_EQ(Save("comma.vb4"), plain);
  EXPECT_EQ(common::DecimalSign, 2);
  EXPECT_EQ(common::SignificantDigits, 6);
}

// The refused files: each starts from a good file of another design, the
// design in memory must be unchanged afterwards and the message must name
// the line.
class RefusedFileTest : public DataFileTest {
 protected:
  void SetUp() override {
    DataFileTest::SetUp();
    FillDocumentation();
    SetPolyline();
    good_ = SplitLines(Save("good.vb4"));
    // The design in memory differs from the one in the file.
    calc::EllipseCurve.a = 70;
    common::ChangeRecords.Records[3].Description = "in memory";
    app::MaterialName[1] = "in memory";
    common::CurrentFileName = "current";
    before_ = Save("before.vb4");
    dialogs_.ClearRecord();
  }

  void ExpectRefused(const std::vector<std::string>& lines, const std::string& messagePart) {
    Put(dir_.Path("bad.vb4"), Joined(lines));
    app::ReadDataFile(dir_.Path("bad.vb4"));
    EXPECT_EQ(common::AbortFlag, 1);
    ASSERT_EQ(dialogs_.Asked().size(), 1u);
    EXPECT_EQ(dialogs_.Asked()[0].caption, "Error  : ");
    EXPECT_NE(dialogs_.Asked()[0].text.find(messagePart), std::string::npos) << dialogs_.Asked()[0].text;
    EXPECT_EQ(common::CurrentFileName, "current");
    EXPECT_EQ(Save("after.vb4"), before_);
    dialogs_.ClearRecord();
  }

  std::size_t Index(const std::string& text) const {
    for (std::size_t i = 0; i < good_.size(); ++i)
      if (good_[i] == text) return i;
    return good_.size();
  }

  std::vector<std::string> good_;
  std::string before_;
};

TEST_F(RefusedFileTest, CountsOutsideTheirRecords) {
  auto lines = good_;
  lines[16] = "11";  // formula pieces
  ExpectRefused(lines, "line 17: number of formula pieces 11 outside 0..10");

  lines = good_;
  lines[Index("CHANGES") + 1] = "26";
  ExpectRefused(lines, "number of change records 26 outside 0..25");

  lines = good_;
  lines[Index("CHANGES") + 18] = "T3|T4|T5|T6|T9|T10|9||";
  ExpectRefused(lines, "number of free texts 9 outside 0..8");

  lines = good_;
  // This design has no fit points: the count of group 41 stands two lines
  // before the ISO 7200 Header (after it comes N of group 42).
  lines[Index("ISO 7200 Header") - 2] = "51";
  ExpectRefused(lines, "number of points 51 outside 0..50");

  lines = good_;
  lines[Index("ISO 7200 Header") + 9] = "1001";
  ExpectRefused(lines, "number of polyline points 1001 outside 0..1000");

  // The turns k of group 39 (seven lines before the ISO 7200 Header here):
  // 0 would divide by zero, a huge k would keep the closing busy for hours.
  lines = good_;
  lines[Index("ISO 7200 Header") - 7] = "0";
  ExpectRefused(lines, "value 0 outside 1..100");
  lines[Index("ISO 7200 Header") - 7] = "101";
  ExpectRefused(lines, "value 101 outside 1..100");
}

// A formula line longer than the piece editor takes is refused, naming its
// line; one of the editor's largest length still opens.
TEST_F(RefusedFileTest, FormulaLongerThan4096Characters) {
  auto withFormula = [this](const std::string& formula) {
    auto lines = good_;
    lines[16] = "1";  // one formula piece: its number, end angle and text follow
    lines.insert(lines.begin() + 17, {"1", "360", formula});
    return lines;
  };
  std::string formula = "50";
  while (formula.size() < 5000) formula += "+0";
  ExpectRefused(withFormula(formula), "line 20: formula longer than 4096 characters !");

  formula.resize(4096);
  Put(dir_.Path("longest.vb4"), Joined(withFormula(formula)));
  app::ReadDataFile(dir_.Path("longest.vb4"));
  EXPECT_TRUE(dialogs_.Asked().empty());
  ASSERT_EQ(calc::PieceCount, 1);
  EXPECT_EQ(calc::FormulaPieces[1].Formula, formula);
}

TEST_F(RefusedFileTest, TruncatedFile) {
  auto lines = good_;
  lines.resize(lines.size() - 1);
  ExpectRefused(lines, "file ends before line " + std::to_string(good_.size()));
  lines.resize(10);
  ExpectRefused(lines, "file ends before line 11");
}

TEST_F(RefusedFileTest, TextWhereANumberBelongs) {
  auto lines = good_;
  lines[25] = "twenty";
  ExpectRefused(lines, "line 26: not a number: \"twenty\"");
  lines = good_;
  lines[13] = "30.5";  // z1 must be whole
  ExpectRefused(lines, "line 14: not a whole number");
  lines = good_;
  lines[15] = "Curves";
  ExpectRefused(lines, "line 16: \"Curve\" expected");
}

// A number beyond the range of numbers (1e999 as a face width) is refused,
// naming its line, like letters where a number belongs.
TEST_F(RefusedFileTest, NumbersThatAreNotFinite) {
  ASSERT_EQ(good_[25], "20.0000000");  // line 26: the pressure angle, line 27 the face width
  for (const char* beyond : {"1e999", "-1E999", "inf", "nan", "1.8e308"}) {
    auto lines = good_;
    lines[26] = beyond;
    ExpectRefused(lines, std::string("line 27: not a finite number: \"") + beyond + "\" !");
  }
  auto lines = good_;
  lines[26] = "abc";
  ExpectRefused(lines, "line 27: not a number: \"abc\" !");
}

TEST_F(RefusedFileTest, MessagesQuoteAShortCleanPartOfTheLine) {
  auto lines = good_;
  lines[25] = "x\x01\x1B[2J\t\x7F" + std::string(60000, '7');  // a long line with control bytes
  ExpectRefused(lines, "line 26: not a number: \"x  [2J  " + std::string(52, '7') + "...\" !");
  // A line longer than any the format holds is refused unread beyond.
  lines[25] = std::string(1 << 22, '7');
  ExpectRefused(lines, "line 26: line longer than 65536 characters !");
  lines[25] = "12\x07";
  ExpectRefused(lines, "line 26: not a number: \"12 \" !");
  lines = good_;
  lines[13] = "1." + std::string(100, '5');  // z1
  ExpectRefused(lines, "line 14: not a whole number: \"1." + std::string(58, '5') + "...\" !");
  Put(dir_.Path("bad.vb4"), Joined(lines));
  app::ReadDataFile(dir_.Path("bad.vb4"));
  ASSERT_EQ(dialogs_.Asked().size(), 1u);
  // Short beside the file's name, which is quoted whole however long.
  const std::string& text = dialogs_.Asked()[0].text;
  ASSERT_NE(text.find(dir_.Path("bad.vb4")), std::string::npos) << text;
  EXPECT_LT(text.size() - dir_.Path("bad.vb4").size(), 200u) << text;
}

TEST_F(RefusedFileTest, NumberFormsThatAreAccepted) {
  auto lines = good_;
  lines[17] = "  6,25E1 ";  // ellipse a: blanks, comma, exponent
  lines[13] = "3e1";        // z1
  Put(dir_.Path("forms.vb4"), Joined(lines));
  app::ReadDataFile(dir_.Path("forms.vb4"));
  ASSERT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(calc::EllipseCurve.a, 62.5L);
  EXPECT_EQ(calc::NcPair.z1, 30);
  EXPECT_TRUE(dialogs_.Asked().empty());
}

// Every value the writer puts in a file reads back, also one next to the
// largest number (18 digits would round it beyond) and a calculation that
// ran away beyond it: the program never refuses its own file.
TEST_F(DataFileTest, ValuesAtTheEdgeOfTheRangeReadBack) {
  SetFitPoints();
  const Real largest = std::numeric_limits<Real>::max();
  auto& sg = calc::SpurGearData;
  sg.FaceWidth = largest * (1 - 4e-18L);
  sg.KAH = std::numeric_limits<double>::max();
  sg.P = -largest;
  calc::EllipseCurve.a = 1e999L;
  common::EquationMatrix.rhs[2] = largest;  // a coefficient: 14 decimals
  Save("edge.vb4");
  app::ReadDataFile(dir_.Path("edge.vb4"));
  ASSERT_EQ(common::AbortFlag, 0) << (dialogs_.Asked().empty() ? "" : dialogs_.Asked()[0].text);
  const Real largestWritten = 1.79769313486231570e308L;
  EXPECT_EQ(sg.FaceWidth, largestWritten);
  EXPECT_EQ(sg.P, -largestWritten);
  EXPECT_EQ(calc::EllipseCurve.a, largestWritten);
  EXPECT_EQ(common::EquationMatrix.rhs[2], largestWritten);
  EXPECT_LE(sg.KAH, static_cast<Real>(std::numeric_limits<double>::max()));
  // Loaded, the design is fatal with the quantity named, not rated.
  EXPECT_EQ(common::FatalFlag, 1);
}

TEST_F(DataFileTest, LongNumbersKeepEighteenSignificantDigits) {
  SetFitPoints();
  auto lines = SplitLines(Save("fit.vb4"));
  // The first coefficient follows the count 5 of group 41, before the ISO
  // 7200 Header section: count, 5 coefficients, 5 angles, 5 radii, N.
  std::size_t header = 0;
  while (header < lines.size() && lines[header] != "ISO 7200 Header") ++header;
  ASSERT_LT(header, lines.size());
  const std::size_t first = header - 1 - 15;
  ASSERT_EQ(lines[first - 1], "5");
  lines[first] = "98765432.1";
  Put(dir_.Path("fit.vb4"), Joined(lines));
  app::ReadDataFile(dir_.Path("fit.vb4"));
  ASSERT_EQ(common::AbortFlag, 0);
  const auto again = SplitLines(Save("again.vb4"));
  EXPECT_EQ(again[first], "98765432.10000000000000");
}

// The strength inputs after the last group: back as entered; a file
// written before they were held (it ends with the last group) gives their
// start values; a section cut short refuses the file.
TEST_F(DataFileTest, StrengthInputsAfterTheLastGroup) {
  auto& sg = calc::SpurGearData;
  sg.LifeFactorsInput = 1;
  sg.ZNTInput[1] = 1.1L;
  sg.ZNTInput[2] = 1.05L;
  sg.YNTInput[1] = 1.2L;
  sg.YNTInput[2] = 0.95L;
  sg.GrindingNotch = true;
  sg.tgrg[1] = 0.3L;
  sg.tgrg[2] = 0.25L;
  sg.FshInput = true;
  sg.fsh = 8.5L;
  sg.FmaInput = true;
  sg.fma = 6;
  const std::string bytes = Save("entered.vb4");
  app::SetDesignInputDefaults();
  app::ReadDataFile(dir_.Path("entered.vb4"));
  ASSERT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(sg.LifeFactorsInput, 1);
  EXPECT_EQ(sg.ZNTInput[2], 1.05L);
  EXPECT_EQ(sg.YNTInput[1], 1.2L);
  EXPECT_EQ(sg.YNTInput[2], 0.95L);
  EXPECT_TRUE(sg.GrindingNotch);
  EXPECT_EQ(sg.tgrg[1], 0.3L);
  EXPECT_TRUE(sg.FshInput && sg.FmaInput);
  EXPECT_EQ(sg.fsh, 8.5L);
  EXPECT_EQ(sg.fma, 6);
  // The calculation after the read keeps entered values as they are.
  const auto again = SplitLines(Save("again.vb4"));
  auto lines = SplitLines(bytes);
  ASSERT_EQ(again.size(), lines.size());
  EXPECT_TRUE(std::equal(lines.end() - 14, lines.end(), again.end() - 14));

  lines.resize(lines.size() - 13);
  Put(dir_.Path("older.vb4"), Joined(lines));
  app::ReadDataFile(dir_.Path("older.vb4"));
  ASSERT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(sg.LifeFactorsInput, 0);
  EXPECT_EQ(sg.ZNTInput[2], 1);
  EXPECT_FALSE(sg.GrindingNotch || sg.FshInput || sg.FmaInput);
  EXPECT_TRUE(dialogs_.Asked().empty());

  lines = SplitLines(bytes);
  lines.resize(lines.size() - 1);
  Put(dir_.Path("cut.vb4"), Joined(lines));
  app::ReadDataFile(dir_.Path("cut.vb4"));
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(sg.LifeFactorsInput, 0);  // the design before the refused read
  ASSERT_EQ(dialogs_.Asked().size(), 1u);
  EXPECT_NE(dialogs_.Asked()[0].text.find("file ends before line " + std::to_string(lines.size() + 1)),
            std::string::npos);
}

TEST_F(DataFileTest, InputsTheFileDoesNotHoldTakeTheirStartValues) {
  Save("plain.vb4");
  calc::SpurGearData.LifeFactorsInput = 1;
  calc::SpurGearData.ToleranceStandard = 0;
  common::ChangeRecords.Records[20].Modification = "stale";
  common::TitleBlock.FreeTexts[8].text = "stale";
  calc::SkipPositionSweep = 1;
  calc::PhiView = 45;
  app::ReadDataFile(dir_.Path("plain.vb4"));
  ASSERT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(calc::SpurGearData.LifeFactorsInput, 0);
  EXPECT_EQ(calc::SpurGearData.ToleranceStandard, 1);
  EXPECT_EQ(common::ChangeRecords.Records[20].Modification, "");
  EXPECT_EQ(common::TitleBlock.FreeTexts[8].text, "");
  EXPECT_EQ(calc::SkipPositionSweep, 1);
  EXPECT_EQ(calc::PhiView, 45);
  // The calculation after the read closed the pair.
  EXPECT_NEAR(static_cast<double>(calc::NcPair.a), 109.7736, 1e-3);
}

TEST_F(DataFileTest, EnteredFactorsComeBackAfterTheCalculation) {
  // Method 3 takes its factors from the file; the calculation after the
  // read must find them where the strength step reads them.
  auto& sg = calc::SpurGearData;
  sg.CalcMethod = 3;
  sg.KV = 1.15L;
  sg.ZW[1] = 1;
  sg.ZW[2] = 1.05L;
  sg.YM[1] = 0.9L;
  sg.YM[2] = 0.7L;
  sg.YRrelT[2] = 0.95L;
  Save("entered.vb4");
  app::SetDesignInputDefaults();
  app::ReadDataFile(dir_.Path("entered.vb4"));
  ASSERT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(sg.CalcMethod, 3);
  EXPECT_EQ(sg.KV, 1.15L);
  EXPECT_EQ(sg.ZW[1], 1);
  EXPECT_EQ(sg.ZW[2], 1.05L);
  EXPECT_EQ(sg.YM[1], 0.9L);
  EXPECT_EQ(sg.YM[2], 0.7L);
  EXPECT_EQ(sg.YRrelT[2], 0.95L);
}

TEST_F(DataFileTest, StoredEnteredWorkHardeningRatesAsBefore) {
  // A design of the entered-factor method with one work-hardening factor
  // 1.1 for the pair, which the file holds twice as every earlier file did:
  // both gears' permissible contact stress carries it after the read.
  auto& sg = calc::SpurGearData;
  sg.CalcMethod = 3;
  sg.ZH = 2.5L, sg.Zeps = 0.9L, sg.Zbeta = 1, sg.ZB = 1, sg.ZD = 1, sg.ZL = 1, sg.ZV = 1, sg.ZR = 1;
  sg.KV = 1.1L, sg.KHalpha = 1, sg.KHbeta = 1.2L, sg.KFalpha = 1, sg.KFbeta = 1.15L;
  sg.Ybeta = 1;
  for (int i = 1; i <= 2; ++i) {
    sg.ZX[i] = 1, sg.YF[i] = 2.6L, sg.YS[i] = 1.7L, sg.YdrelT[i] = 1, sg.YRrelT[i] = 1;
    sg.YX[i] = 1, sg.YM[i] = 1;
  }
  sg.ZW.fill(1.1L);
  sg.n[1] = 1000;
  sg.P = 10;
  Save("entered_zw.vb4");
  app::SetDesignInputDefaults();
  app::ReadDataFile(dir_.Path("entered_zw.vb4"));
  ASSERT_EQ(common::AbortFlag, 0);
  ASSERT_EQ(common::FatalFlag, 0);
  ASSERT_EQ(sg.CalcMethod, 3);
  for (int i = 1; i <= 2; ++i) {
    EXPECT_NEAR(sg.ZW[i], 1.1L, 1e-15);
    EXPECT_NEAR(sg.SigmaHP[i], sg.SigmaHlim[i] * 1.1L, 1e-9);
  }
  // Without the factor every position's pitting safety is 1.1 times lower.
  const calc::TSafetyExtremes with = calc::SafetyExtremes;
  sg.ZW.fill(1);
  calc::CalcNoncircularPair();
  for (int i = 1; i <= 2; ++i) {
    EXPECT_NEAR(with.SHmin[i], 1.1L * calc::SafetyExtremes.SHmin[i], 1e-12);
    EXPECT_EQ(with.PhiAtSHmin[i], calc::SafetyExtremes.PhiAtSHmin[i]);
  }
}

// A save under a file-size limit (ulimit -f) in the window: the message
// names the file and the system's reason, and the previous file stays.
TEST_F(DataFileTest, SaveUnderAFileSizeLimitSaysWhy) {
  FillDocumentation();
  const std::string old = Save("limited.vb4");
  ASSERT_GT(old.size(), 1024u);
  calc::EllipseCurve.a = 81;
  common::MessagesEnabled = 1;
  int report[2];
  ASSERT_EQ(::pipe(report), 0);
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    // Writes beyond 1 KB fail (the program ignores the signal that would
    // otherwise end it).
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{1024, 1024};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    common::AbortFlag = 0;
    app::SaveDataFile(dir_.Path("limited.vb4"));
    const std::string said = dialogs_.Asked().empty() ? "" : dialogs_.Asked().back().text;
    const std::string text = std::to_string(common::AbortFlag) + "|" + said;
    if (::write(report[1], text.data(), text.size()) < 0) ::_exit(2);
    ::_exit(0);
  }
  ::close(report[1]);
  std::string text;
  char buffer[512];
  for (ssize_t n; (n = ::read(report[0], buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
  ::close(report[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  EXPECT_EQ(text, "1|file close error: " + dir_.Path("limited.vb4") + ": File too large");
  EXPECT_EQ(Slurp(dir_.Path("limited.vb4")), old);
  EXPECT_EQ(dir_.Entries(), 1u) << "no spool file is left behind";
}

TEST_F(DataFileTest, FailedSaveKeepsThePreviousFile) {
  FillDocumentation();
  const std::string old = Save("kept.vb4");
  calc::EllipseCurve.a = 80;
  FullDisk full(1000);
  platform::ScopedFileSystem scoped(full);
  common::AbortFlag = 0;
  app::SaveDataFile(dir_.Path("kept.vb4"));
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(Slurp(dir_.Path("kept.vb4")), old);
  EXPECT_EQ(dir_.Entries(), 1u);  // no temporary file left behind
}

TEST_F(DataFileTest, PathRules) {
  // A name without '.' goes to the data directory with the extension; the
  // current name is not changed by such a save.
  common::AbortFlag = 0;
  app::SaveDataFile("design");
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_TRUE(fs::exists(dir_.Path("design.vb4")));
  EXPECT_EQ(common::CurrentFileName, "");

  // A name with '.' is the path itself.
  const fs::path other = dir_.Path("sub");
  fs::create_directories(other);
  app::SaveDataFile((other / "x.dat").string());
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_TRUE(fs::exists(other / "x.dat"));

  // An existing file is asked about; No writes nothing.
  const std::string old = Slurp(dir_.Path("design.vb4"));
  calc::EllipseCurve.a = 99;
  dialogs_.Then(ScriptedAnswer::Press(platform::DialogButton::No));
  app::WriteDataFile("design");
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(Slurp(dir_.Path("design.vb4")), old);

  // The save dialog: Cancel leaves the file system alone; a choice names
  // the design and its directory.
  common::AbortFlag = 0;
  dialogs_.ClearRecord();
  dialogs_.Then(ScriptedAnswer::Cancel());
  app::WriteDataFile("");
  EXPECT_EQ(common::AbortFlag, 1);
  ASSERT_EQ(dialogs_.Asked().size(), 1u);
  EXPECT_EQ(dialogs_.Asked()[0].filter, "*.vb4|*.vb4");
  EXPECT_FALSE(fs::exists(dir_.Path(".vb4")));

  // A name typed with a dot of its own is the design's whole name, never
  // cut at the dot into the name of another design: "chosen.txt" saves
  // chosen.txt.vb4, "chosen" saves chosen.vb4.
  common::AbortFlag = 0;
  dialogs_.Then(ScriptedAnswer::File((other / "chosen.txt").string()));
  app::WriteDataFile("");
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_FALSE(fs::exists(other / "chosen.vb4"));
  EXPECT_TRUE(fs::exists(other / "chosen.txt.vb4"));
  EXPECT_EQ(common::CurrentFileName, "chosen.txt");
  common::AbortFlag = 0;
  dialogs_.Then(ScriptedAnswer::File((other / "chosen").string()));
  app::WriteDataFile("");
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_TRUE(fs::exists(other / "chosen.vb4"));
  EXPECT_EQ(common::CurrentFileName, "chosen");
  EXPECT_EQ(common::DataDirectory, other.string() + "/");

  // Opening by a bare name reads DataDirectory + name + ".vb4" and names
  // the design.
  calc::EllipseCurve.a = 60;
  app::ReadDataFile("chosen");
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(calc::EllipseCurve.a, 99);
  EXPECT_EQ(common::CurrentFileName, "chosen");

  // A missing file: the access message, nothing changes.
  dialogs_.ClearRecord();
  app::ReadDataFile("missing");
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(common::CurrentFileName, "chosen");
  EXPECT_EQ(calc::EllipseCurve.a, 99);
}

TEST_F(DataFileTest, ArchiveModeKeepsTheStartFile) {
  app::StartedWithFile = 1;
  common::ArchiveFlag = true;
  app::WriteDataFile("design");
  EXPECT_EQ(common::AbortFlag, 1);
  ASSERT_EQ(dialogs_.Asked().size(), 1u);
  EXPECT_EQ(dialogs_.Asked()[0].text, "Option is not available in archive mode.");
  EXPECT_FALSE(fs::exists(dir_.Path("design.vb4")));

  common::AbortFlag = 0;
  app::WriteDataFile("actual");
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_TRUE(fs::exists(dir_.Path("actual.vb4")));
  EXPECT_EQ(app::StartedWithFile, 1);

  common::ArchiveFlag = false;
  app::WriteDataFile("design");
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_TRUE(fs::exists(dir_.Path("design.vb4")));
  EXPECT_EQ(app::StartedWithFile, 0);
}

TEST_F(DataFileTest, DefaultDesignResourceReads) {
  const fs::path resource = fs::path(VOB_SOURCE_DIR) / "resources" / "null.vb4";
  ASSERT_TRUE(fs::exists(resource));
  fs::copy_file(resource, dir_.Path("null.vb4"));
  app::ReadDataFile("null");
  ASSERT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(common::CurrentFileName, "null");
  EXPECT_EQ(calc::CurveType, calc::CurveEllipse);
  EXPECT_NEAR(static_cast<double>(calc::NcPair.a), 109.7736, 1e-3);
  // The shipped file ends with the last group; saved again, it is followed
  // by the strength inputs with their start values.
  const std::string shipped = Slurp(resource);
  const std::string again = Save("again.vb4");
  EXPECT_EQ(again.substr(0, shipped.size()), shipped);
  const auto added = SplitLines(again.substr(shipped.size()));
  ASSERT_EQ(added.size(), 13u);
  EXPECT_EQ(added[0], "strength inputs");
  EXPECT_EQ(added[1], "0");
  EXPECT_EQ(added[5], "1.0000000");
  EXPECT_EQ(added[6], "FALSE");
}

TEST(ChangeRecordsTest, LineBreaksAndFieldBars) {
  EXPECT_EQ(app::ChangeTextForFile("a\r\nb\rc\nd\n\ne"), "a|b|c|d||e");
  EXPECT_EQ(app::ChangeTextFromFile("a|b||c"), "a\nb\n\nc");
  EXPECT_EQ(app::FieldTextForFile("x|y\r\nz"), "x\xDDy  z");
}

TEST(ChangeRecordsTest, StartAndNewDesign) {
  common::ChangeRecords.Count = 4;
  common::TitleBlock.Texts[2] = "designer";
  common::TitleBlock.Texts[3] = "old";
  common::TitleBlock.FreeTextCount = 3;
  common::TitleBlock.TextMode = common::FreeTextsNone;
  app::ClearChanges();
  EXPECT_EQ(common::ChangeRecords.Count, 0);
  EXPECT_EQ(common::TitleBlock.FreeTextCount, 0);
  EXPECT_EQ(common::TitleBlock.TextMode, common::FreeTextsA4);
  EXPECT_EQ(common::TitleBlock.Texts[2], "designer");
  EXPECT_EQ(common::TitleBlock.Texts[3], "old");
  const std::string today = common::TitleBlock.Texts[1];
  EXPECT_EQ(today.size(), 10u);

  app::InitChangeRecords();
  EXPECT_EQ(common::TitleBlock.Texts[3], today);
  EXPECT_EQ(common::TitleBlock.Texts[5], today);
  EXPECT_EQ(common::ChangeRecords.Records[1].Description, "");

  app::DocumentLinks[3] = {"x", "y"};
  app::InitDocumentLinks();
  for (int i = 1; i <= app::DocumentLinkCount; ++i) EXPECT_EQ(app::DocumentLinks[i].Program, "xdg-open") << i;
  EXPECT_EQ(app::DocumentLinks[3].File, "");
}

}  // namespace
