// The DXF writer byte for byte: the head and tables as readers expect them,
// the group layout of each entity, numbers and layers by the settings, and
// arcs always counter-clockwise.
#include "drawing/cad/dxf_writer.h"

#include <gtest/gtest.h>

#include "drawing/drawing_test_support.h"
#include "support/golden_files.h"

using namespace drawing;
using drawingtest::DrawingTest;

namespace {

// Lines given with LF, as the file holds them with CR LF.
std::string Crlf(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

const char* const kHeader = R"(  0
SECTION
  2
HEADER
  9
$EXTMIN
 10
0.000000
 20
0.000000
  9
$EXTMAX
 10
160.000000
 20
120.000000
  9
$LIMMIN
 10
0.000000
 20
0.000000
  9
$LIMMAX
 10
160.000000
 20
120.000000
  9
$LTSCALE
 40
15
  9
$INSUNITS
 70
4
  9
$MEASUREMENT
 70
1
  0
ENDSEC
)";

const char* const kLineTypes = R"(  0
SECTION
  2
TABLES
  0
TABLE
  2
LTYPE
 70
6
  0
LTYPE
  2
CONTINUOUS
 70
64
  3
Ausgezogene Linie
 72
65
 73
0
 40
0.0
  0
LTYPE
  2
DASHDOT
 70
64
  3
--. --. --.-
 72
65
 73
4
 40
1.0
 49
0.5
 49
-0.25
 49
0.0
 49
-0.25
  0
LTYPE
  2
DASHED
 70
64
  3
- - - - - - 
 72
65
 73
2
 40
0.375
 49
0.25
 49
-0.125
  0
ENDTAB
  0
TABLE
  2
LAYER
)";

std::string Layer(const std::string& name, int colour, const std::string& type) {
  return "  0\nLAYER\n  2\n" + name + "\n 70\n0\n 62\n" + std::to_string(colour) + "\n  6\n" + type + "\n";
}

const char* const kStyle = R"(  0
ENDTAB
  0
TABLE
  2
STYLE
 70
1
  0
STYLE
  2
STANDARD
 70
0
 40
0.0
 41
1.0
 50
0.0
 71
0
 42
3.5
  3
TXT8
  4

0
ENDTAB
  0
ENDSEC
)";

class DxfWriterTest : public DrawingTest {
 protected:
  DxfWriterTest() : DrawingTest("dxf_writer") {}
};

TEST_F(DxfWriterTest, HeadAndTablesOfTheDefaultFrame) {
  const std::string bytes = Write(CadDeviceDxf, "head.dxf", [] {
    CadDefaultFrame();
    CadBeginTables(0);
    CadInsertLogos();
    CadEndSection();
  });
  // The named layers, then every pen number that is no layer name yet, each
  // in the DXF colour nearest to the screen's: pens 6..15 in the colours 7..16
  // of their numbers, pens 16..31 in their colours 1..16 (the darker ones of
  // the screen's table: dark blue 174, dark magenta 214, brown 14, greys
  // 9 and 253; black as white, 7).
  std::string layers = " 70\n32\n" + Layer("0", 1, "CONTINUOUS") + Layer("1", 2, "DASHDOT") +
                       Layer("2", 2, "DASHED") + Layer("3", 2, "CONTINUOUS") + Layer("4", 3, "CONTINUOUS") +
                       Layer("5", 1, "CONTINUOUS");
  const int dxfColours[17] = {0, 1, 2, 3, 4, 5, 6, 7, 174, 3, 4, 1, 214, 14, 9, 253, 7};
  for (int pen = 6; pen <= 31; ++pen)
    layers += Layer(std::to_string(pen), dxfColours[pen <= 15 ? pen + 1 : pen - 15], "CONTINUOUS");
  const std::string expected = std::string(kHeader) + kLineTypes + layers + kStyle +
                               "  0\nSECTION\n  2\nENTITIES\n  0\nENDSEC\n  0\nEOF\n";
  EXPECT_EQ(bytes, Crlf(expected));
}

TEST_F(DxfWriterTest, LayerTableModesMonochromeAndFont) {
  common::CadSettings.CadTextFont = "isocp";
  common::CadSettings.CadLayerNames[4] = "TEXTE";
  const std::string mode2 = Write(CadDeviceDxf, "mode2.dxf", [] {
    CadDefaultFrame();
    CadBeginTables(2);
  });
  EXPECT_NE(mode2.find(Crlf(" 70\n23\n")), std::string::npos);
  // The layer 4 named otherwise: the pen number 4 follows the named
  // layers, in pen 4's colour.
  EXPECT_NE(mode2.find(Crlf(Layer("TEXTE", 3, "CONTINUOUS") + Layer("5", 1, "CONTINUOUS") +
                            Layer("4", 5, "CONTINUOUS") + Layer("6", 7, "CONTINUOUS"))),
            std::string::npos);
  EXPECT_NE(mode2.find(Crlf(Layer("16", 1, "CONTINUOUS") + Layer("17", 2, "CONTINUOUS"))), std::string::npos);
  EXPECT_NE(mode2.find(Crlf(Layer("31", 7, "CONTINUOUS") + "  0\nENDTAB\n")), std::string::npos);
  EXPECT_NE(mode2.find(Crlf("  3\nISOCP\n  4\n\n0\nENDTAB\n")), std::string::npos);

  common::CadSettings.LayerMonochrome = 1;
  const std::string mode1 = Write(CadDeviceDxf, "mode1.dxf", [] {
    CadDefaultFrame();
    CadBeginTables(1);
  });
  EXPECT_NE(mode1.find(Crlf(" 70\n17\n")), std::string::npos);
  EXPECT_NE(mode1.find(Crlf(Layer("14", 1, "CONTINUOUS") + Layer("15", 1, "CONTINUOUS") + Layer("16", 1, "CONTINUOUS"))),
            std::string::npos);
  EXPECT_NE(mode1.find(Crlf(Layer("31", 1, "CONTINUOUS") + "  0\nENDTAB\n")), std::string::npos);
  EXPECT_EQ(mode1.find("TEXTE"), std::string::npos);
}

TEST_F(DxfWriterTest, EntityGroupLayout) {
  const std::string bytes = Write(CadDeviceDxf, "entities.dxf", [] {
    SetCadColor(2);
    CadLine(1, 2, 3, 4);
    CadCircle(5, 6, 7);
    SetCadColor(17);
    CadArc(0, 0, 10, 100, 5, 90);
    CadArc(0, 0, 100, 10, 5, -90);
    SetCadTextSize(0, 30, 2.5L, 0);
    CadText("Zahn", 10, 20);
    CadSolid(0, 0, 1, 0, 0, 1, 1, 1);
    CadInsertBlock("RAD", 50, 60, 45, 2, 3);
    CadPolylineBegin(0);
    CadPolylineVertex(0, 0, 0);
    CadPolylineVertex(10, 0, std::numbers::pi_v<Real>);
    CadPolylineEnd();
    CadPolylineBegin(1);
    CadPolylineEnd();
  });
  const std::string expected = R"(  0
LINE
  8
2
 10
1.000000
 20
2.000000
 11
3.000000
 21
4.000000
  0
CIRCLE
  8
2
 10
5.000000
 20
6.000000
 40
7.000000
  0
ARC
  8
17
 10
0.000000
 20
0.000000
 40
5.000000
 50
10.000000
 51
100.000000
  0
ARC
  8
17
 10
0.000000
 20
0.000000
 40
5.000000
 50
10.000000
 51
100.000000
  0
TEXT
  8
17
 10
10.000000
 20
20.000000
 40
2.500000
  1
Zahn
  7
STANDARD
 41
0.7
 50
30
 51
0
  0
SOLID
  8
17
 10
0.000000
 20
0.000000
 11
1.000000
 21
0.000000
 12
0.000000
 22
1.000000
 13
1.000000
 23
1.000000
  0
INSERT
  8
17
  2
RAD
 10
50.000000
 20
60.000000
 41
2.000000
 42
3.000000
 50
45.000000
  0
POLYLINE
  8
17
 66
1
  0
VERTEX
  8
17
 10
0.000000
 20
0.000000
  0
VERTEX
  8
17
 10
10.000000
 20
0.000000
 42
1.000000
  0
SEQEND
  8
17
  0
POLYLINE
  8
17
 66
1
 70
1
  0
SEQEND
  8
17
  0
EOF
)";
  EXPECT_EQ(bytes, Crlf(expected));
}

// The whole test picture against the committed file; on a difference the
// written file is left beside the build for a reviewer to compare.
TEST_F(DxfWriterTest, TestPictureAsCommitted) {
  const std::string bytes = Write(CadDeviceDxf, "picture.dxf", drawingtest::DrawTestPicture);
  const std::string committed = std::string(VOB_TEST_DATA_DIR) + "/drawing/test_picture.dxf";
  if (testsupport::UpdatingGoldenFiles()) testsupport::Put(committed, bytes);
  const std::string golden = testsupport::Slurp(committed);
  if (bytes != golden) testsupport::Put("test_picture.actual.dxf", bytes);
  EXPECT_TRUE(bytes == golden) << "differs from tests/data/drawing/test_picture.dxf; see test_picture.actual.dxf";
}

TEST_F(DxfWriterTest, NumbersLayersAndTextsBySettings) {
  EXPECT_EQ(DxfRealText(12.5L), "12.500000");
  common::CadSettings.CadDecimals = 3;
  EXPECT_EQ(DxfRealText(1.0L / 3), "0.333");
  EXPECT_EQ(DxfRealText(-2), "-2.000");
  EXPECT_EQ(DxfRealText(-0.0001L), "0.000");

  EXPECT_EQ(DxfLayerName(2), "2");
  common::CadSettings.CadLayerNames[2] = "DASH";
  EXPECT_EQ(DxfLayerName(0), "0");
  EXPECT_EQ(DxfLayerName(2), "DASH");
  EXPECT_EQ(DxfLayerName(7), "7");
  common::CadSettings.CadLineMode = 1;
  EXPECT_EQ(DxfLayerName(2), "2");
  EXPECT_EQ(DxfLayerName(31), "31");

  // Texts are written in code page 1252, converted from the program's code
  // page 850 ("Maß ±0,1 °" holds ß, ± and ° in code page 850).
  const std::string bytes = Write(CadDeviceDxf, "text.dxf", [] {
    SetCadLineMode(1);
    SetCadColor(3);
    CadText("Ma\xE1 \xF1" "0,1 \xF8", 0, 0);
  });
  EXPECT_NE(bytes.find("\r\n  8\r\n3\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("\r\n  1\r\nMa\xDF \xB1" "0,1 \xB0\r\n"), std::string::npos);
  common::CadTextMode = 3;
  const std::string ascii = Write(CadDeviceDxf, "ascii.dxf", [] { CadText("Ma\xE1 \xF1" "0,1 \xF8", 0, 0); });
  EXPECT_NE(ascii.find("\r\n  1\r\nMass +/-0,1 deg\r\n"), std::string::npos);

  // A caret followed by a blank is the caret itself (followed by another
  // character a control character), in the file and in the part files of
  // the screen's blocks, whose reader reads carets so too.
  const std::string caret = Write(CadDeviceDxf, "caret.dxf", [] { CadText("1/s^2 ^\n", 0, 0); });
  EXPECT_NE(caret.find("\r\n  1\r\n1/s^ 2 ^ ^J\r\n"), std::string::npos);
  common::SharedTextFile.Assign(scratch_.Path("part.dx$"));
  std::error_code ec;
  ASSERT_TRUE(common::SharedTextFile.Rewrite(ec));
  DxfBlockRecorder().Text("1/s^2", 0, 0);
  ASSERT_TRUE(common::SharedTextFile.Close(ec));
  EXPECT_NE(testsupport::Slurp(scratch_.Path("part.dx$")).find("\r\n  1\r\n1/s^ 2\r\n"), std::string::npos);
}

TEST_F(DxfWriterTest, GroupCodesRightAligned) {
  common::SharedTextFile.Assign(scratch_.Path("codes.txt"));
  std::error_code ec;
  ASSERT_TRUE(common::SharedTextFile.Rewrite(ec));
  DxfWriteGroupCode(0);
  DxfWriteGroupCode(230);
  DxfWriteGroupCode(1000);
  ASSERT_TRUE(common::SharedTextFile.Close(ec));
  EXPECT_EQ(testsupport::Slurp(scratch_.Path("codes.txt")), "  0\r\n230\r\n1000\r\n");
  EXPECT_NEAR(static_cast<double>(DxfBulge(std::numbers::pi_v<Real>)), 1.0, 1e-15);
}

}  // namespace
