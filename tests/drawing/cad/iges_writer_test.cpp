// The IGES device: the record layout of a one-line drawing with its
// terminate record, parameters that continue on a further record, notes,
// pens, blocks and a block that was never defined; the test picture as a
// golden file and loaded by an independent IGES reader; a polyline
// ellipse's gear written to the DXF writer's precision with its outline
// simple.
#include "support/run_command.h"
#include "drawing/cad/iges_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <cmath>
#include <memory>
#include <numbers>
#include <map>
#include <regex>

#include "calc/pitch_curve.h"
#include "drawing/gear_pictures.h"
#include "drawing/drawing_test_support.h"
#include "drawing/gear_designs.h"
#include "platform/clock.h"
#include "support/golden_files.h"
#include "support/occt_draw.h"

using namespace drawing;
using drawingtest::DrawingTest;

namespace {

class IgesWriterTest : public DrawingTest {
 protected:
  IgesWriterTest() : DrawingTest("iges_writer"), clock_(platform::LocalDateTime{2026, 3, 9, 10, 30}) {}
  void SetUp() override {
    DrawingTest::SetUp();
    common::ProgramName = "vob4";
    common::ProgramVersion = "5.2";
    common::ProductCode = "VOB4";
  }

  // The records of fn drawn after a 160 x 120 frame, without line ends.
  std::vector<std::string> Records(const std::function<void()>& fn, const std::string& name = "part.igs") {
    const std::string bytes = Write(CadDeviceIges, name, [&] {
      CadDrawingFrame(0, 0, 160, 120, 0);
      fn();
    });
    std::vector<std::string> records;
    std::size_t start = 0;
    while (start < bytes.size()) {
      const std::size_t end = bytes.find("\r\n", start);
      if (end == std::string::npos) {
        ADD_FAILURE() << "record without its line end: " << bytes.substr(start);
        break;
      }
      records.push_back(bytes.substr(start, end - start));
      start = end + 2;
    }
    return records;
  }

  // The records of one section letter.
  static std::vector<std::string> Section(const std::vector<std::string>& records, char letter) {
    std::vector<std::string> out;
    for (const std::string& r : records)
      if (r.size() == 80 && r[72] == letter) out.push_back(r);
    return out;
  }

  platform::ScopedClock clock_;
};

// Every record 80 columns, its letter in column 73 and the numbers of each
// section running from 1; the terminate record counts them.
void ExpectWellFormed(const std::vector<std::string>& records) {
  ASSERT_FALSE(records.empty());
  std::map<char, int> counts;
  char previous = 'S';
  const std::string order = "SGDPT";
  for (const std::string& r : records) {
    ASSERT_EQ(r.size(), 80u) << r;
    const char letter = r[72];
    ASSERT_NE(order.find(letter), std::string::npos) << r;
    EXPECT_GE(order.find(letter), order.find(previous)) << "sections out of order at " << r;
    previous = letter;
    char expected[16];
    std::snprintf(expected, sizeof expected, "%07d", ++counts[letter]);
    EXPECT_EQ(r.substr(73), expected) << r;
  }
  char terminate[40];
  std::snprintf(terminate, sizeof terminate, "S%07dG%07dD%07dP%07d", counts['S'], counts['G'], counts['D'],
                counts['P']);
  EXPECT_EQ(records.back().substr(0, 72), std::string(terminate) + std::string(72 - 32, ' '));
  EXPECT_EQ(counts['T'], 1);
  EXPECT_EQ(counts['D'] % 2, 0);
}

TEST_F(IgesWriterTest, OneLineDrawingRecordByRecord) {
  const auto records = Records([] {
    SetCadColor(0);
    CadLine(10, 20, 150.5L, 20);
  });
  ExpectWellFormed(records);
  const std::vector<std::string> expected = {
      "IGES-Datei generiert von vob4                                           S0000001",
      "Uebersetzer von KALDRIM, Uebersetzerversion 3.1                         S0000002",
      "VOB4                                                                    S0000003",
      ",,4HFILE,4Hpart,9Hvob4 V5.2,,                                           G0000001",
      "16,38,6,99,15,                                                          G0000002",
      "4Hpart,1.0,2,2HMM,32767,3.2767D1,                                       G0000003",
      "13H260309.103000,1.0D-8,160.000000,                                     G0000004",
      "5HVemke,7HKALDRIM,4,0;                                                  G0000005",
      "     110       1       0       1       0                        00000000D0000001",
      "     110               0       1                                        D0000002",
      "110,10.000000,20.000000,0.0,150.500000,20.000000,0.0;                  1P0000001",
      "S0000003G0000005D0000002P0000001                                        T0000001",
  };
  EXPECT_EQ(records, expected);
}

TEST_F(IgesWriterTest, LongParametersContinueAfterACommaWithTheSamePointer) {
  const auto records = Records([] {
    CadBeginBlocksSection();
    CadBeginBlock("MARK");
    CadLine(-2, 0, 2, 0);
    CadEndBlock();
    CadEndSection();
    CadInsertLogos();
    CadInsertBlock("MARK", 1234.5L, -987.25L, 30, 1, 1);
  });
  ExpectWellFormed(records);
  const auto p = Section(records, 'P');
  // Line, 308, 124 (two records), 408.
  ASSERT_EQ(p.size(), 5u);
  EXPECT_EQ(p[1].substr(0, 64), "308,0,4HMARK,1,1;" + std::string(47, ' '));
  const std::string first = p[2].substr(0, 64), second = p[3].substr(0, 64);
  EXPECT_EQ(first.substr(0, 4), "124,");
  const std::string joined = first.substr(0, first.find_last_not_of(' ') + 1) + second.substr(0, second.find_last_not_of(' ') + 1);
  EXPECT_EQ(first[first.find_last_not_of(' ')], ',') << first;
  EXPECT_EQ(joined,
            "124,0.866025404,-0.500000000,0.0,1234.500000,0.500000000,0.866025404,0.0,-987.250000,0.0,0.0,1.0,"
            "0.0;");
  EXPECT_EQ(p[2].substr(64, 8), "       5");
  EXPECT_EQ(p[3].substr(64, 8), "       5");
  EXPECT_EQ(p[4].substr(0, 32), "408,3,0.0,0.0,0.0,1.0;          ");
  // The instance's transform field points at the matrix; the member is
  // marked as belonging to the subfigure, and the matrix takes two lines.
  const auto d = Section(records, 'D');
  ASSERT_EQ(d.size(), 8u);
  EXPECT_EQ(d[0].substr(64, 8), "00010000");
  EXPECT_EQ(d[2].substr(0, 16), "     308       2");
  EXPECT_EQ(d[4].substr(0, 16), "     124       3");
  EXPECT_EQ(d[5].substr(24, 8), "       2");
  EXPECT_EQ(d[6].substr(0, 16), "     408       5");
  EXPECT_EQ(d[6].substr(48, 8), "       5");
}

TEST_F(IgesWriterTest, NotesPensSolidsAndUnknownBlocks) {
  common::CadSettings.CadLayerColours[1] = 2;   // yellow
  common::CadSettings.CadPenColours[20] = 5;    // blue
  const auto records = Records([] {
    SetCadColor(1);
    SetCadTextSize(0, 0, 5, 5);
    CadText("01234\n6789", 10, 10);
    SetCadColor(20);
    CadSolid(0, 0, 10, 0, 0, 5, 10, 5);
    CadInsertBlock("NOWHERE", 0, 0, 0, 1, 1);
  }, "pa\nr\tt.igs");
  ExpectWellFormed(records);  // a file name and a note with control characters too: blanks
  EXPECT_EQ(Section(records, 'G').at(0).substr(0, 30), ",,4HFILE,6Hpa r t,9Hvob4 V5.2,");
  const auto p = Section(records, 'P');
  ASSERT_EQ(p.size(), 8u);
  EXPECT_EQ(p[0].substr(0, 64), "212,1,10,50.000000,5.000000,1,,0.000000000,0,0,10.000000,       ");
  EXPECT_EQ(p[1].substr(0, 15), "10.000000,0.0, ");
  EXPECT_EQ(p[2].substr(0, 15), "10H01234 6789; ");
  // The corners of the solid in the order 1, 4, 3, 2, 1, a record each.
  EXPECT_EQ(p[3].substr(0, 32), "106,1,5,0.0,0.000000,0.000000,  ");
  EXPECT_EQ(p[4].substr(0, 20), "10.000000,5.000000, ");
  EXPECT_EQ(p[5].substr(0, 19), "0.000000,5.000000, ");
  EXPECT_EQ(p[6].substr(0, 20), "10.000000,0.000000, ");
  EXPECT_EQ(p[7].substr(0, 20), "0.000000,0.000000;  ");
  const auto d = Section(records, 'D');
  ASSERT_EQ(d.size(), 4u) << "the insert of an unknown block wrote an entity";
  // Pen 1: centre line, yellow = IGES 3 (level and colour); pen 20: blue = 7.
  EXPECT_EQ(d[0].substr(24, 16), "       4       5");
  EXPECT_EQ(d[1].substr(16, 16), "       5       3");
  EXPECT_EQ(d[2].substr(24, 16), "       1       4");
  EXPECT_EQ(d[3].substr(32, 8), "      11");
  EXPECT_EQ(d[3].substr(16, 16), "       4       5");
  ASSERT_EQ(common::MsgCount, 1);
  EXPECT_EQ(common::MsgText[1], "Blockname NOWHERE not found !");
}

// Every pen gets one of IGES's colour numbers (0 the reader's own, 1 black,
// 2 red, 3 green, 4 blue, 5 yellow, 6 magenta, 7 cyan, 8 white): the one
// nearest to the colour the screen draws the pen in, whatever colour number
// the settings give it and in every line mode.
TEST_F(IgesWriterTest, ColourNumbersAreIgesOwn) {
  for (int pen = 16; pen <= 31; ++pen) common::CadSettings.CadPenColours[pen] = pen - 15;
  const auto records = Records([] {
    for (int pen = 16; pen <= 31; ++pen) {
      SetCadColor(pen);
      CadLine(0, pen, 10, pen);
    }
    common::CadSettings.CadPenColours[16] = 99;
    common::CadSettings.CadLayerColours[3] = -4;
    for (int mode = 0; mode <= 2; ++mode) {
      SetCadLineMode(mode);
      for (int pen = 0; pen <= 40; ++pen) {
        SetCadColor(pen);
        CadLine(0, pen, 10, pen);
      }
    }
  });
  ExpectWellFormed(records);
  const auto d = Section(records, 'D');
  ASSERT_EQ(d.size(), 2u * (16 + 3 * 41));
  std::vector<int> colours;
  for (std::size_t i = 1; i < d.size(); i += 2) colours.push_back(std::stoi(d[i].substr(16, 8)));
  for (const int colour : colours) {
    EXPECT_GE(colour, 0);
    EXPECT_LE(colour, 8);
  }
  // The colour numbers 1..16 on the screen's default colours: red, yellow,
  // green, cyan, blue, magenta, white (the reader's own); dark blue, dark
  // green (drawn green), dark cyan (cyan), dark red (red), dark magenta,
  // brown (dark red), light and dark grey (white), black.
  EXPECT_EQ(std::vector<int>(colours.begin(), colours.begin() + 16),
            (std::vector<int>{2, 5, 3, 7, 4, 6, 0, 4, 3, 7, 2, 6, 2, 8, 8, 1}));
}

TEST_F(IgesWriterTest, LongTextContinuesInsideItsStringWithoutBlanks) {
  // A reader counts a string's characters across the record end: a string
  // is broken only where its record is full, never at one of its commas.
  std::string text;
  for (int i = 0; i < 14; ++i) text += "ab,c;";
  const auto records = Records([&] { CadText(text, 0, 0); });
  ExpectWellFormed(records);
  const auto p = Section(records, 'P');
  // The note's numbers take two records, its string the next two.
  ASSERT_EQ(p.size(), 4u);
  std::string joined = p[2].substr(0, 64) + p[3].substr(0, 64);
  EXPECT_EQ(p[2].substr(0, 64), ("70H" + text).substr(0, 64));
  EXPECT_EQ(joined.substr(0, 74), "70H" + text + ";");
}

TEST_F(IgesWriterTest, ManyMembersAndThePictureAsGoldenFile) {
  // A block of 30 members lists them 12 to a record.
  const auto records = Records([] {
    CadBeginBlocksSection();
    CadBeginBlock("TEETH");
    for (int i = 0; i < 30; ++i) CadLine(i, 0, i, 10);
    CadEndBlock();
    CadEndSection();
    CadInsertLogos();
  });
  ExpectWellFormed(records);
  const auto p = Section(records, 'P');
  ASSERT_EQ(p.size(), 33u);
  EXPECT_EQ(p[30].substr(0, 50), "308,0,5HTEETH,30,1,3,5,7,9,11,13,15,17,19,21,23,  ");
  EXPECT_EQ(p[31].substr(0, 40), "25,27,29,31,33,35,37,39,41,43,45,47,    ");
  EXPECT_EQ(p[32].substr(0, 20), "49,51,53,55,57,59;  ");

  const std::string bytes = Write(CadDeviceIges, "picture.igs", drawingtest::DrawTestPicture);
  testsupport::ExpectGolden(bytes, "drawing/test_picture.igs");
}

// ---- A gear's outline ----------------------------------------------------------------------

// The line entities (110) of the records, each as its two end points.
std::vector<std::array<double, 4>> IgesLines(const std::vector<std::string>& records) {
  std::map<int, std::string> params;  // by D pointer, in file order of the pointers
  for (const std::string& r : records)
    if (r.size() == 80 && r[72] == 'P') params[std::stoi(r.substr(64, 8))] += r.substr(0, 64);
  std::vector<std::array<double, 4>> lines;
  for (auto& [pointer, text] : params) {
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    if (text.rfind("110,", 0) != 0) continue;
    std::array<double, 6> v{};
    if (std::sscanf(text.c_str(), "110,%lf,%lf,%lf,%lf,%lf,%lf;", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]) != 6)
      ADD_FAILURE() << text;
    lines.push_back({v[0], v[1], v[3], v[4]});
  }
  return lines;
}

// The first run of lines each beginning where the one before ended, as a
// closed polygon (the outline of a gear, drawn before its arrow).
drawingtest::Polygon FirstChain(const std::vector<std::array<double, 4>>& lines) {
  drawingtest::Polygon chain;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0 && (lines[i][0] != lines[i - 1][2] || lines[i][1] != lines[i - 1][3])) break;
    chain.emplace_back(lines[i][0], lines[i][1]);
  }
  return chain;
}

// Gear 1 of an ellipse given as a polyline of 360 points with linear
// interpolation: written with 3 decimals its outline crossed itself where
// two points of a root land round onto one another's side; the file holds
// it to the DXF writer's precision, point for point, and simple.
TEST_F(IgesWriterTest, PolylineEllipseGearOutlineStaysSimple) {
  drawingtest::SetDefaultDesign();
  constexpr int Points = 360;
  std::vector<Real> radii;
  for (int i = 0; i < Points; ++i) radii.push_back(calc::PitchRadius(2 * std::numbers::pi_v<Real> * i / Points));
  calc::CurveType = calc::CurvePolyline;
  calc::PolylineCount = Points;
  calc::LinearInterpolation = 1;
  for (int i = 1; i <= Points; ++i) {
    calc::PolylinePoints[i].Phi = 2 * std::numbers::pi_v<Real> * (i - 1) / Points;
    calc::PolylinePoints[i].R = radii[i - 1];
  }
  calc::CalcNoncircularPair();
  ASSERT_EQ(common::FatalFlag, 0);
  const drawingtest::Polygon outline = drawingtest::GearOutline(1);
  ASSERT_FALSE(drawingtest::FirstCrossing(outline));

  dialogs_.Then(platform::ScriptedAnswer::File(scratch_.Path("gear.igs")));
  DrawGears(1, CadDeviceIges);
  ASSERT_EQ(common::AbortFlag, 0);
  std::vector<std::string> records;
  const std::string bytes = testsupport::Slurp(scratch_.Path("gear.igs"));
  for (std::size_t at = 0; at + 80 <= bytes.size(); at += 82) records.push_back(bytes.substr(at, 80));
  ExpectWellFormed(records);
  const drawingtest::Polygon written = FirstChain(IgesLines(records));
  ASSERT_EQ(written.size(), outline.size());
  for (std::size_t i = 0; i < outline.size(); ++i) {
    ASSERT_NEAR(written[i].first, outline[i].first, 5.1e-7) << i;
    ASSERT_NEAR(written[i].second, outline[i].second, 5.1e-7) << i;
  }
  const auto crossing = drawingtest::FirstCrossing(written);
  EXPECT_FALSE(crossing) << "sides " << crossing->first << " and " << crossing->second << " cross";
}

// ---- The independent reader ------------------------------------------------------------

TEST_F(IgesWriterTest, IndependentReaderLoadsLinesArcsCirclesAndBlocks) {
  if (!testsupport::OcctDrawPresent()) GTEST_SKIP() << "occt-draw (OpenCASCADE's IGES reader) is not installed";
  const std::string bytes = Write(CadDeviceIges, "reader.igs", [] {
    CadDrawingFrame(0, 0, 160, 120, 0);
    CadBeginTables(0);
    CadBeginBlocksSection();
    CadBeginBlock("MARK");
    CadLine(-2, 0, 2, 0);
    CadCircle(0, 0, 1.5L);
    CadEndBlock();
    CadEndSection();
    CadInsertLogos();
    SetCadColor(0);
    CadRectangle(10, 10, 150, 110);
    SetCadColor(19);
    CadArc(80, 60, 0, 90, 20, 90);
    SetCadColor(21);
    CadArc(80, 60, 90, 0, 15, -90);
    SetCadColor(3);
    CadCircle(40, 80, 10);
    CadInsertBlock("MARK", 120, 90, 30, 1, 1);
    CadInsertBlock("MARK", 20, 90, 0, 1, 1);
    CadEndSection();
  });
  ASSERT_FALSE(bytes.empty());
  const std::string script =
      "pload DATAEXCHANGE\n"
      "pload MODELING\n"
      "igesbrep " + testsupport::TclWord(scratch_.Path("reader.igs")) + " shape *\n"
      "puts CHECKS\n"
      "data c\n"
      "tpstat c\n"
      "puts \"EDGES [llength [explode shape E]]\"\n"
      "set parts [explode shape]\n"
      "puts \"PARTS [llength $parts]\"\n"
      "puts \"TURNED [bounding [lindex $parts end-1]]\"\n"
      "exit\n";
  const std::string out = testsupport::RunOcctDraw(scratch_.Dir().string(), script);
  // The syntax check of the loaded file and the transfer's check list are
  // empty: no entity failed.
  EXPECT_NE(out.find("Total number of loaded entities"), std::string::npos) << out;
  EXPECT_EQ(out.find("Fail"), std::string::npos) << out;
  EXPECT_EQ(out.find("rror"), std::string::npos) << out;
  EXPECT_EQ(out.find("arning"), std::string::npos) << out;
  std::smatch found;
  ASSERT_TRUE(std::regex_search(out, found, std::regex("EDGES (\\d+)"))) << out;
  // Four sides, two arcs, a circle, and the line and circle of each insert.
  EXPECT_EQ(std::stoi(found[1]), 11) << out;
  ASSERT_TRUE(std::regex_search(out, found, std::regex("PARTS (\\d+)"))) << out;
  EXPECT_EQ(std::stoi(found[1]), 9) << out;
  // The turned insert around (120, 90): its line of length 4 turned by 30
  // degrees spans 2 cos 30 to each side.
  ASSERT_TRUE(std::regex_search(out, found, std::regex("TURNED +([-0-9.e]+) +([-0-9.e]+) +[-0-9.e]+ +([-0-9.e]+) +([-0-9.e]+)")))
      << out;
  EXPECT_NEAR(std::stod(found[1]), 120 - 2 * std::cos(M_PI / 6), 1e-3);
  EXPECT_NEAR(std::stod(found[2]), 88.5, 1e-3);
  EXPECT_NEAR(std::stod(found[3]), 120 + 2 * std::cos(M_PI / 6), 1e-3);
  EXPECT_NEAR(std::stod(found[4]), 91.5, 1e-3);
}

}  // namespace
