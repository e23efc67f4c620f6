// A picture written as DXF and read back: an independent reader loads the
// file strictly and finds the same entities and extents, and the program's
// own reader replays it into the same figures as drawing the picture
// directly; files of other programs, nested and damaged part files.
#include "support/run_command.h"
#include "drawing/cad/dxf_reader.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "drawing/cad/dxf_writer.h"
#include "drawing/drawing_test_support.h"

using namespace drawing;
using drawingtest::DrawingTest;
using drawingtest::Figure;
using drawingtest::LoggingBackEnd;

namespace {

constexpr const char* kPython = "/usr/bin/python3";

bool HaveEzdxf() {
  return std::system((std::string(kPython) + " -c 'import ezdxf' >/dev/null 2>&1").c_str()) == 0;
}

// Runs a Python script with one argument (no quote in either); its standard
// output.
std::string RunPython(const std::string& scriptPath, const std::string& arg) {
  return testsupport::RunCommand(std::string(kPython) + " '" + scriptPath + "' '" + arg + "'");
}

// Loads the file strictly and lists the header extents, the model space and
// the block MARK, numbers to 3 decimals.
const char* const kListScript = R"(import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
if auditor.has_errors:
    print('AUDIT ERRORS', [str(e.message) for e in auditor.errors])
    sys.exit(2)
def f(v): return '%.3f' % (0.0 if abs(v) < 5e-4 else v)
def show(prefix, e):
    t = e.dxftype()
    d = e.dxf
    if t == 'LINE': r = [f(d.start.x), f(d.start.y), f(d.end.x), f(d.end.y)]
    elif t == 'CIRCLE': r = [f(d.center.x), f(d.center.y), f(d.radius)]
    elif t == 'ARC': r = [f(d.center.x), f(d.center.y), f(d.radius), f(d.start_angle), f(d.end_angle), f(d.extrusion.z)]
    elif t == 'TEXT': r = [f(d.insert.x), f(d.insert.y), f(d.height), f(d.rotation), f(d.width), d.text]
    elif t == 'SOLID': r = [f(c) for i in range(4) for c in (d.get('vtx%d' % i)[0], d.get('vtx%d' % i)[1])]
    elif t == 'INSERT': r = [d.name, f(d.insert.x), f(d.insert.y), f(d.xscale), f(d.yscale), f(d.rotation)]
    elif t == 'POLYLINE': r = ['%s,%s,%s' % (f(v.dxf.location.x), f(v.dxf.location.y), f(v.dxf.bulge)) for v in e.vertices]
    else: r = []
    print(prefix, t, d.layer, ' '.join(r))
print('EXTMIN', f(doc.header['$EXTMIN'][0]), f(doc.header['$EXTMIN'][1]))
print('EXTMAX', f(doc.header['$EXTMAX'][0]), f(doc.header['$EXTMAX'][1]))
for e in doc.blocks.get('MARK'): show('BLOCK', e)
for e in doc.modelspace(): show('MODEL', e)
)";

class DxfRoundTripTest : public DrawingTest {
 protected:
  DxfRoundTripTest() : DrawingTest("dxf_roundtrip") {}
  void SetUp() override {
    DrawingTest::SetUp();
    common::MessagesEnabled = 1;
    // Polyline arcs as arcs, as the DXF devices keep them.
    common::CadSettings.CadArcsToLines = 0;
  }

  // The figures of fn drawn on a device that replays blocks from part files.
  std::vector<Figure> Logged(const std::function<void()>& fn) {
    LoggingBackEnd logger;
    ScopedCadBackEnd installed(CadDeviceStl, logger);
    CadOpenOutput(CadDeviceStl);
    fn();
    CadCloseOutput();
    return logger.figures;
  }

  void PutPart(const std::string& name, const std::string& lines) {
    std::string bytes;
    for (const char c : lines) {
      if (c == '\n') bytes += '\r';
      bytes += c;
    }
    testsupport::Put(scratch_.Path("$" + name + ".dx$"), bytes);
  }
};

void ExpectSameFigures(const std::vector<Figure>& expected, const std::vector<Figure>& actual) {
  ASSERT_EQ(expected.size(), actual.size()) << "expected:\n"
                                            << drawingtest::Describe(expected) << "actual:\n"
                                            << drawingtest::Describe(actual);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE("figure " + std::to_string(i) + ": " + drawingtest::Describe({expected[i]}));
    EXPECT_EQ(expected[i].kind, actual[i].kind);
    EXPECT_EQ(expected[i].pen, actual[i].pen);
    EXPECT_EQ(expected[i].text, actual[i].text);
    ASSERT_EQ(expected[i].values.size(), actual[i].values.size());
    for (std::size_t k = 0; k < expected[i].values.size(); ++k)
      EXPECT_NEAR(static_cast<double>(expected[i].values[k]), static_cast<double>(actual[i].values[k]), 1e-4);
  }
}

TEST_F(DxfRoundTripTest, IndependentReaderLoadsThePictureStrictly) {
  if (!HaveEzdxf()) GTEST_SKIP() << "ezdxf for " << kPython << " is not installed";
  const std::string path = scratch_.Path("picture.dxf");
  Write(CadDeviceDxf, "picture.dxf", drawingtest::DrawTestPicture);
  testsupport::Put(scratch_.Path("list.py"), kListScript);
  const std::string listing = RunPython(scratch_.Path("list.py"), path);
  const std::string expected = R"(EXTMIN 0.000 0.000
EXTMAX 160.000 120.000
BLOCK LINE 2 -2.000 0.000 2.000 0.000
BLOCK LINE 2 0.000 -2.000 0.000 2.000
BLOCK CIRCLE 2 0.000 0.000 1.500
MODEL LINE 0 10.000 10.000 10.000 110.000
MODEL LINE 0 10.000 110.000 150.000 110.000
MODEL LINE 0 150.000 110.000 150.000 10.000
MODEL LINE 0 150.000 10.000 10.000 10.000
MODEL LINE 1 20.000 20.000 60.000 40.000
MODEL ARC 19 80.000 60.000 20.000 0.000 90.000 1.000
MODEL ARC 21 80.000 60.000 15.000 0.000 90.000 1.000
MODEL CIRCLE 3 40.000 80.000 10.000
MODEL TEXT 4 20.000 100.000 3.500 0.000 0.700 Gear 1
MODEL TEXT 4 71.425 100.000 3.500 0.000 0.700 centred
MODEL TEXT 4 100.000 20.000 5.000 30.000 0.700 angled
MODEL SOLID 5 20.000 50.000 30.000 50.000 20.000 55.000 30.000 55.000
MODEL POLYLINE 26 100.000,40.000,0.000 120.000,40.000,0.414 130.000,50.000,0.000 140.000,70.000,0.000
MODEL INSERT 17 MARK 120.000 90.000 2.000 2.000 30.000
MODEL TEXT 17 5.000 5.000 2.500 0.000 0.700 Zähne
)";
  EXPECT_EQ(listing, expected);
}

TEST_F(DxfRoundTripTest, ReplayedFileDrawsTheSameFigures) {
  const std::vector<Figure> direct = Logged(drawingtest::DrawTestPicture);
  ASSERT_EQ(common::AbortFlag, 0);
  // 4 lines of the rectangle and a line, 2 arcs, circle, 3 texts, solid,
  // 2 polyline lines and an arc, the block's 2 lines and circle, a text.
  EXPECT_EQ(direct.size(), 19u) << drawingtest::Describe(direct);

  Write(CadDeviceDxf, "picture.dxf", drawingtest::DrawTestPicture);
  std::filesystem::copy_file(scratch_.Path("picture.dxf"), scratch_.Path("$PICTURE.dx$"));
  const std::vector<Figure> replayed = Logged([] { ReplayBlockFile("picture", 0, 0, 0, 1, 1); });
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(common::MsgCount, 0) << common::MsgText[1];
  ExpectSameFigures(direct, replayed);
}

// Carets are written as DXF spells them ("^ ") and read back as the carets
// they were.
TEST_F(DxfRoundTripTest, CaretsInTextsReadBackAsWritten) {
  auto picture = [] {
    SetCadTextSize(0, 0, 3.5L, 3.5L);
    CadText("a2 [1/s^2]", 10, 10);
    CadText("^", 10, 20);
    CadText("x^^y^", 10, 30);
  };
  const std::vector<Figure> direct = Logged(picture);
  Write(CadDeviceDxf, "carets.dxf", picture);
  const std::string bytes = testsupport::Slurp(scratch_.Path("carets.dxf"));
  EXPECT_NE(bytes.find("a2 [1/s^ 2]"), std::string::npos);
  std::filesystem::copy_file(scratch_.Path("carets.dxf"), scratch_.Path("$CARETS.dx$"));
  const std::vector<Figure> replayed = Logged([] { ReplayBlockFile("carets", 0, 0, 0, 1, 1); });
  EXPECT_EQ(common::AbortFlag, 0);
  ExpectSameFigures(direct, replayed);
}

TEST_F(DxfRoundTripTest, BlocksOnEveryDevice) {
  const auto picture = [] {
    CadDefaultFrame();
    CadBeginTables(0);
    CadBeginBlocksSection();
    SetCadColor(3);
    CadBeginBlock("TOOTH");
    CadLine(0, 0, 1, 0);
    CadEndBlock();
    CadEndSection();
    CadInsertLogos();
    CadSetOrigin(100, 0);
    CadInsertBlock("TOOTH", 10, 10, 90, 2, 2);
    CadInsertBlockAtOrigin("TOOTH", 10, 10, 0, 1, 1);
    CadEndSection();
  };
  // Replaying devices: the block recorded into its part file and drawn at
  // each insert; the origin applies to the insert point only where asked.
  const std::vector<Figure> figures = Logged(picture);
  EXPECT_EQ(drawingtest::Describe(figures),
            "LINE pen 3 10.000 10.000 10.000 12.000\n"
            "LINE pen 3 110.000 10.000 111.000 10.000\n");
  EXPECT_TRUE(std::filesystem::exists(scratch_.Path("$TOOTH.dx$")));

  // Text CAD: a block definition and its inserts.
  const std::string txt = Write(CadDeviceTextCad, "blocks.txt", picture);
  EXPECT_EQ(txt,
            "MINMAX\t0.000000\t0.000000\t160.000000\t120.000000\r\n"
            "SECTION BLOCKS\r\n"
            "BLOCK\tTOOTH\r\n"
            "LINE\t0.000000\t0.000000\t1.000000\t0.000000\r\n"
            "END OF BLOCK\r\n"
            "SECTION ENTITIES\r\n"
            "INSERT\tTOOTH\t10.000000\t10.000000\t90.000000\t2.000000\t2.000000\r\n"
            "INSERT\tTOOTH\t110.000000\t10.000000\t0.000000\t1.000000\t1.000000\r\n"
            "EOF\r\n");

  // DXF: the BLOCKS section between the tables and the entities.
  const std::string dxf = Write(CadDeviceDxf, "blocks.dxf", picture);
  const auto blocks = dxf.find("  0\r\nSECTION\r\n  2\r\nBLOCKS\r\n  0\r\nBLOCK\r\n  8\r\n3\r\n  2\r\nTOOTH\r\n");
  const auto entities = dxf.find("  0\r\nSECTION\r\n  2\r\nENTITIES\r\n");
  ASSERT_NE(blocks, std::string::npos);
  ASSERT_NE(entities, std::string::npos);
  EXPECT_LT(dxf.find("ENDTAB\r\n  0\r\nENDSEC"), blocks);
  EXPECT_LT(blocks, dxf.find("  0\r\nENDBLK\r\n  0\r\nENDSEC\r\n"));
  EXPECT_LT(dxf.find("  0\r\nENDBLK\r\n"), entities);
}

TEST_F(DxfRoundTripTest, NestedPartFilesMultiplyScalesAndAddAngles) {
  PutPart("OUTER", "  0\nINSERT\n  8\n0\n  2\nMIDDLE\n 10\n0.0\n 20\n0.0\n 41\n2.0\n 42\n2.0\n 50\n30.0\n  0\nEOF\n");
  PutPart("MIDDLE", "  0\nINSERT\n  8\n0\n  2\ninner\n 10\n0.0\n 20\n0.0\n 41\n3.0\n 42\n3.0\n 50\n60.0\n  0\nEOF\n");
  // Found whatever the case of its name.
  PutPart("INNER",
          "  0\nLINE\n  8\n3\n 10\n0.0\n 20\n0.0\n 11\n1.0\n 21\n0.0\n"
          "  0\nCIRCLE\n  8\n17\n 10\n0.0\n 20\n0.0\n 40\n1.0\n"
          "  0\nARC\n  8\nDASH\n 10\n0.0\n 20\n0.0\n 40\n1.0\n 50\n0.0\n 51\n90.0\n"
          "  0\nTEXT\n  8\nnot a pen\n 10\n1.0\n 20\n0.0\n 40\n1.0\n  1\nT\n 41\n1.0\n 50\n0.0\n"
          "  0\nEOF\n");
  common::CadSettings.CadLayerNames[2] = "DASH";
  const std::vector<Figure> figures = Logged([] { ReplayBlockFile("OUTER", 10, 10, 0, 1, 1); });
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(drawingtest::Describe(figures),
            "LINE pen 3 10.000 10.000 10.000 16.000\n"
            "CIRCLE pen 17 10.000 10.000 6.000\n"
            "ARC pen 2 10.000 10.000 6.000 90.000 180.000 90.000\n"
            "TEXT pen 0 10.000 16.000 6.000 90.000 \"T\"\n");
  EXPECT_EQ(DxfNestingLevel, 0);
}

TEST_F(DxfRoundTripTest, FilesOfAnotherProgram) {
  if (!HaveEzdxf()) GTEST_SKIP() << "ezdxf for " << kPython << " is not installed";
  // A drawing of the current format with handles, subclass markers, light
  // polylines, a mirrored arc and a block with a base point.
  testsupport::Put(scratch_.Path("make.py"), R"(import sys, ezdxf
doc = ezdxf.new('R2000')
msp = doc.modelspace()
b = doc.blocks.new('PIN', base_point=(5, 5))
b.add_line((5, 5), (6, 5), dxfattribs={'layer': '4'})
msp.add_lwpolyline([(0, 0, 0), (10, 0, 1), (10, 10, 0)], format='xyb', close=True, dxfattribs={'layer': '20'})
msp.add_arc((50, 50), 10, 0, 90, dxfattribs={'layer': '1', 'extrusion': (0, 0, -1)})
msp.add_blockref('PIN', (30, 30), dxfattribs={'layer': '0'})
msp.add_point((1, 1))
doc.saveas(sys.argv[1])
)");
  RunPython(scratch_.Path("make.py"), scratch_.Path("$OTHER.dx$"));
  ASSERT_TRUE(std::filesystem::exists(scratch_.Path("$OTHER.dx$")));
  const std::vector<Figure> figures = Logged([] { ReplayBlockFile("OTHER", 0, 0, 0, 1, 1); });
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(drawingtest::Describe(figures),
            "LINE pen 20 0.000 0.000 10.000 0.000\n"
            "ARC pen 20 10.000 5.000 5.000 270.000 90.000 180.000\n"
            "LINE pen 20 10.000 10.000 0.000 0.000\n"
            "ARC pen 1 -50.000 50.000 10.000 90.000 180.000 90.000\n"
            "LINE pen 4 30.000 30.000 31.000 30.000\n");
  // The point is not drawn, and said so.
  ASSERT_EQ(common::MsgCount, 1);
  EXPECT_EQ(common::MsgText[1], "Error  : DXF: POINT");
}

TEST_F(DxfRoundTripTest, DamagedAndSelfInsertingFilesEndWithAMessage) {
  // Truncated inside an entity: what was complete is drawn, then a message.
  PutPart("CUT", "  0\nLINE\n  8\n0\n 10\n0.0\n 20\n0.0\n 11\n1.0\n 21\n1.0\n  0\nLINE\n  8\n0\n 10\n5.0\n 2");
  std::vector<Figure> figures = Logged([] { ReplayBlockFile("CUT", 0, 0, 0, 1, 1); });
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(figures.size(), 1u);
  ASSERT_FALSE(dialogs_.Asked().empty());
  EXPECT_EQ(dialogs_.Asked().back().text, "Error in DXF File");

  // A group code that is no number.
  common::AbortFlag = 0;
  dialogs_.ClearRecord();
  PutPart("BAD", "  0\nLINE\n-\n0\n  0\nEOF\n");
  figures = Logged([] { ReplayBlockFile("BAD", 0, 0, 0, 1, 1); });
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_TRUE(figures.empty());
  ASSERT_EQ(dialogs_.Asked().size(), 1u);

  // A part file that inserts itself stops at the fifth level.
  common::AbortFlag = 0;
  dialogs_.ClearRecord();
  PutPart("SELF", "  0\nLINE\n  8\n0\n 10\n0.0\n 20\n0.0\n 11\n1.0\n 21\n0.0\n"
                  "  0\nINSERT\n  8\n0\n  2\nSELF\n 10\n1.0\n 20\n0.0\n  0\nEOF\n");
  figures = Logged([] { ReplayBlockFile("SELF", 0, 0, 0, 1, 1); });
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(figures.size(), 4u);
  ASSERT_EQ(dialogs_.Asked().size(), 1u);
  EXPECT_EQ(dialogs_.Asked().back().text, "error blockno.5");
  EXPECT_EQ(DxfNestingLevel, 0);

  // A light polyline of more vertices than are drawn.
  common::AbortFlag = 0;
  dialogs_.ClearRecord();
  std::string many = "  0\nLWPOLYLINE\n  8\n0\n 90\n100001\n";
  for (int i = 0; i <= 100000; ++i) many += " 10\n" + std::to_string(i) + "\n 20\n0\n";
  PutPart("MANY", many + "  0\nEOF\n");
  figures = Logged([] { ReplayBlockFile("MANY", 0, 0, 0, 1, 1); });
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_TRUE(figures.empty());
  ASSERT_EQ(dialogs_.Asked().size(), 1u);
  EXPECT_EQ(dialogs_.Asked().back().text, "Elements > 100000 !");

  // A missing part file; an empty one draws nothing.
  common::ClearErrorMessages();
  figures = Logged([] { ReplayBlockFile("MISSING", 0, 0, 0, 1, 1); });
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(common::MsgText[1], "Invalid temp directory");
  common::ClearErrorMessages();
  PutPart("EMPTY", "  0\nEOF\n");
  figures = Logged([] { ReplayBlockFile("EMPTY", 0, 0, 0, 1, 1); });
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_TRUE(figures.empty());
}

}  // namespace

namespace {

// Damaged copies of the test picture: every replay ends, by the end record,
// the end of the file or a message, and the nesting is unwound.
TEST_F(DxfRoundTripTest, DamagedPicturesNeverHang) {
  common::MessagesEnabled = 0;
  Write(CadDeviceDxf, "picture.dxf", drawingtest::DrawTestPicture);
  const std::vector<std::string> lines = testsupport::SplitLines(testsupport::Slurp(scratch_.Path("picture.dxf")));
  const char* const odd[] = {"INSERT", "PICTURE", "POLYLINE", "VERTEX", "SEQEND", "  0", " 42", "1e308",
                             "-1e308", "nan",     "",         "EOF",    "BLOCK",  "ENDSEC", "  2"};
  std::mt19937 rng(15);
  for (int run = 0; run < 300; ++run) {
    testsupport::Put(scratch_.Path("$PICTURE.dx$"), testsupport::MutateLines(lines, rng, odd, 4));
    common::AbortFlag = 0;
    common::ClearErrorMessages();
    Logged([] { ReplayBlockFile("PICTURE", 0, 0, 0, 1, 1); });
    ASSERT_EQ(DxfNestingLevel, 0) << "run " << run;
  }
}

}  // namespace
