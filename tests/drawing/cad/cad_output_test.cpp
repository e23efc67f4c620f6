// The drawing interface over the file devices: opening and naming the
// output, pen folding, text alignment and lines, the text CAD records, the
// STEP file's header and curves, the rotated frame, chords and the devices
// that draw nothing.
#include "drawing/cad/cad_output.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/message_explanations.h"
#include "common/message_list.h"
#include "common/text_utils.h"
#include "platform/clock.h"
#include "drawing/rotated_frame.h"
#include "drawing/cad/text_cad_writer.h"
#include "drawing/drawing_test_support.h"

using namespace drawing;
using drawingtest::DrawingTest;
using drawingtest::LoggingBackEnd;

namespace {

class CadOutputTest : public DrawingTest {
 protected:
  CadOutputTest() : DrawingTest("cad_output") {}

  // The figures of fn on a logging device (installed as code 6).
  std::string Logged(const std::function<void()>& fn) {
    LoggingBackEnd logger;
    ScopedCadBackEnd installed(CadDeviceStl, logger);
    CadOpenOutput(CadDeviceStl);
    fn();
    CadCloseOutput();
    return drawingtest::Describe(logger.figures);
  }
};

TEST_F(CadOutputTest, OutputFileNamedByTheDialogWithItsExtension) {
  common::CurrentFileName = "pair7";
  common::CadDirectory = "/cad";
  // A typed name keeps its dots and gets the format's extension.
  Open(CadDeviceDxf, "gear.dwg");
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(common::CadSettings.CadFileName, scratch_.Path("gear.dwg.dxf"));
  ASSERT_EQ(dialogs_.Asked().size(), 1u);
  EXPECT_EQ(dialogs_.Asked()[0].text, "pair7.dxf");
  EXPECT_EQ(dialogs_.Asked()[0].initial, "/cad/");
  EXPECT_EQ(dialogs_.Asked()[0].filter, "*.dxf|*.dxf|*.*|*.*");
  CadCloseOutput();
  EXPECT_TRUE(std::filesystem::exists(scratch_.Path("gear.dwg.dxf")));

  // No extension, and a dot in a directory name that is not one.
  std::filesystem::create_directory(scratch_.Path("v1.2"));
  Open(CadDeviceTextCad, "v1.2/gear");
  EXPECT_EQ(common::CadSettings.CadFileName, scratch_.Path("v1.2/gear.txt"));
  CadCloseOutput();
  EXPECT_EQ(testsupport::Slurp(scratch_.Path("v1.2/gear.txt")), "EOF\r\n");

  // Cancel: nothing opened, no name.
  dialogs_.Then(platform::ScriptedAnswer::Cancel());
  CadOpenOutput(CadDeviceStep);
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(common::CadSettings.CadFileName, "");
  EXPECT_FALSE(common::SharedTextFile.IsOpen());
}

// IGES writes its parameter records to a work file of the temporary
// directory first: where that file cannot be made (a missing temporary
// directory), the output stops at once and says so with the work file's
// place and the system's reason; the old drawing stays and nothing
// unfinished is left beside it.
TEST_F(CadOutputTest, AnOutputWhoseWorkFileCannotBeMadeLeavesNothing) {
  common::MessagesEnabled = 1;
  common::TempDirectory = scratch_.Path("missing");
  testsupport::Put(scratch_.Path("d.igs"), "old");
  dialogs_.Then(platform::ScriptedAnswer::File(scratch_.Path("d.igs")))
      .Then(platform::ScriptedAnswer::Press(platform::DialogButton::Yes));
  CadOpenOutput(CadDeviceIges);
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_FALSE(common::SharedTextFile.IsOpen());
  EXPECT_EQ(dialogs_.Asked().back().text,
            "file write error: " + scratch_.Path("missing") + "/KALDIGES*.$$$: No such file or directory");
  EXPECT_EQ(testsupport::Slurp(scratch_.Path("d.igs")), "old");
  EXPECT_EQ(scratch_.Entries(), 1u);
}

// A solid is as high as the user says: a height of 0 entered for the STL
// file is refused as 0.00005 mm is, not written as high as the solid before
// it; the refusal names the height entered, and its explanation sends the
// user back to that question, not to the face width.
TEST_F(CadOutputTest, AnStlHeightEnteredBelowTheLeastIsRefusedByItsValue) {
  common::MessagesEnabled = 1;
  common::PltDirectory = std::string(VOB_SOURCE_DIR) + "/resources";
  common::ProgramName = "vob4";
  for (const auto& [typed, height] : {std::pair{"0", 0.0L}, std::pair{"0.00005", 0.00005L}}) {
    SetStlHeights(0, 20);
    dialogs_.Then(platform::ScriptedAnswer::File(scratch_.Path("g.stl"))).Then(platform::ScriptedAnswer::Enter(typed));
    CadOpenOutput(CadDeviceStl);
    CadDrawingFrame(0, 0, 100, 100, 20);
    CadRectangle(10, 10, 50, 50);
    CadCloseOutput();
    EXPECT_EQ(common::AbortFlag, 1) << typed;
    EXPECT_FALSE(std::filesystem::exists(scratch_.Path("g.stl"))) << typed;
    const std::string said = "Error  : " + TooLowForSolidText("STL", height);
    ASSERT_EQ(common::MsgText[common::MsgCount], said);
    common::MessageExplanation explanation;
    bool read = false;
    ASSERT_TRUE(common::FindMessageExplanation(said, explanation, read)) << said;
    EXPECT_EQ(explanation.remedy.find("Edit, Dimensions"), std::string::npos) << explanation.remedy;
    EXPECT_NE(explanation.remedy.find("height"), std::string::npos) << explanation.remedy;
    common::AbortFlag = 0;
  }
}

TEST_F(CadOutputTest, CommandLineOutputIsNamedAfterTheDataFile) {
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(scratch_.Dir());
  common::CadBatchNaming = true;
  // The design's name keeps its own dots; the directory goes.
  common::CurrentFileName = "/data/pair7.v1";
  CadOpenOutput(CadDeviceDxf);
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(common::CadSettings.CadFileName, "pair7.v1.dxf");
  CadCloseOutput();
  std::filesystem::current_path(cwd);
  EXPECT_TRUE(dialogs_.Asked().empty());
  EXPECT_EQ(testsupport::Slurp(scratch_.Path("pair7.v1.dxf")), "  0\r\nEOF\r\n");
}

TEST_F(CadOutputTest, DeviceChosenByTheUser) {
  CadDevice = CadDeviceTextCad;
  dialogs_.Then(platform::ScriptedAnswer::Choose(0)).Then(platform::ScriptedAnswer::File(scratch_.Path("x")));
  CadOpenOutput(CadAskDevice);
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(CadDevice, CadDeviceDxf);
  EXPECT_EQ(CadRequestedDevice, CadAskDevice);
  ASSERT_GE(dialogs_.Asked().size(), 1u);
  // The file formats, the screen and the plot utility; STEP last.
  ASSERT_EQ(dialogs_.Asked()[0].items.size(), 7u);
  EXPECT_EQ(dialogs_.Asked()[0].items.back(), "STEP");
  EXPECT_EQ(dialogs_.Asked()[0].preselected, 4);  // the last choice, TXT
  CadCloseOutput();

  // Cancelled: the device stays, nothing is opened.
  dialogs_.Then(platform::ScriptedAnswer::Cancel());
  CadOpenOutput(CadAskDevice);
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(CadDevice, CadDeviceDxf);
  EXPECT_FALSE(common::SharedTextFile.IsOpen());
}

TEST_F(CadOutputTest, PlotUtilityChoiceEditsItsCommandLine) {
  // One stored line: no list, the line is edited.
  dialogs_.Then(platform::ScriptedAnswer::Choose(3)).Then(platform::ScriptedAnswer::Enter("plot a.dxf"));
  SelectCadDevice();
  EXPECT_EQ(CadDevice, CadDevicePlot);
  ASSERT_EQ(dialogs_.Asked().size(), 2u);
  EXPECT_EQ(dialogs_.Asked()[1].text, "TRAMLIN command line (0=Parameter)");
  EXPECT_EQ(dialogs_.Asked()[1].initial, common::DefaultPlotCommandLine);
  EXPECT_EQ(common::CadSettings.PlotCommandLines[1], "plot a.dxf");

  // Two lines: the second chosen; "0" takes the line built from the
  // utility's parameters.
  dialogs_.ClearRecord();
  common::CadSettings.PlotCommandCount = 2;
  common::CadSettings.PlotCommandLines[2] = "second";
  const auto builder = PlotCommandBuilder();
  PlotCommandBuilder() = [] { return std::string("built"); };
  dialogs_.Then(platform::ScriptedAnswer::Choose(3))
      .Then(platform::ScriptedAnswer::Choose(1))
      .Then(platform::ScriptedAnswer::Enter("0"));
  SelectCadDevice();
  PlotCommandBuilder() = builder;
  EXPECT_EQ(dialogs_.Asked()[1].items, (std::vector<std::string>{"plot a.dxf", "second"}));
  EXPECT_EQ(common::CadSettings.PlotCommandIndex, 2);
  EXPECT_EQ(common::CadSettings.PlotCommandLines[2], "built");
  EXPECT_EQ(common::AbortFlag, 0);
}

TEST_F(CadOutputTest, StlHeightAskedInTheUnitSystemsLength) {
  common::UnitSystem = common::UnitsImperial;
  dialogs_.Then(platform::ScriptedAnswer::Enter("100")).Then(platform::ScriptedAnswer::Enter("2"));
  Logged([] { CadDrawingFrame(0, 0, 160, 120, 25.4L); });
  ASSERT_EQ(dialogs_.Asked().size(), 3u);
  EXPECT_EQ(dialogs_.Asked()[0].text, "height [inch]");
  EXPECT_EQ(dialogs_.Asked()[0].initial, "1");
  EXPECT_EQ(dialogs_.Asked()[1].text, "Valid Data are: 0 .. 39.37 !");
  EXPECT_NEAR(static_cast<double>(common::CadSettings.StlHeights[2]), 50.8, 1e-12);
  EXPECT_EQ(common::AbortFlag, 0);

  // Cancel keeps the given height; command-line output does not ask.
  common::UnitSystem = common::UnitsMetric;
  dialogs_.ClearRecord();
  Logged([] { CadDrawingFrame(0, 0, 160, 120, 7); });
  EXPECT_EQ(dialogs_.Asked().at(0).text, "height [mm]");
  EXPECT_EQ(common::CadSettings.StlHeights[2], 7);
  EXPECT_EQ(common::AbortFlag, 0);
  dialogs_.ClearRecord();
  common::CadBatchNaming = true;
  Logged([] { CadDrawingFrame(0, 0, 160, 120, 9); });
  EXPECT_TRUE(dialogs_.Asked().empty());
  EXPECT_EQ(common::CadSettings.StlHeights[2], 9);
}

TEST_F(CadOutputTest, PensFoldAndChooseLayers) {
  const std::pair<int, int> folds[] = {{40, 24}, {31, 31}, {48, 16}, {5, 5}, {-3, 0}};
  for (const auto& [pen, folded] : folds) {
    SetCadColor(pen);
    EXPECT_EQ(CadDrawing.CadCurrentPen, folded) << pen;
  }
  const std::string txt = Write(CadDeviceTextCad, "pens.txt", [] {
    SetCadColor(40);
    EXPECT_EQ(CadDrawing.CadCurrentLayer, "24");
    common::CadSettings.CadLayerNames[1] = "AXIS";
    SetCadColor(1);
    EXPECT_EQ(CadDrawing.CadCurrentLayer, "AXIS");
    SetCadLineMode(1);
    SetCadColor(1);
    EXPECT_EQ(CadDrawing.CadCurrentLayer, "1");
  });
  EXPECT_EQ(txt, "EOF\r\n");  // a pen writes no record
}

TEST_F(CadOutputTest, TextAlignmentAndLines) {
  const std::string figures = Logged([] {
    SetCadTextSize(0, 0, 5, 5);
    SetCadTextAlign(2, 0);
    CadText("0123456789", 100, 0);
    SetCadTextAlign(1, 1);
    CadText("0123456789", 100, 0);
    SetCadTextAlign(0, 2);
    CadSetOrigin(10, 20);
    CadText("abc", 0, 0);
    CadText("", 0, 0);  // nothing
    CadSetOrigin(0, 0);
    SetCadTextAlign(0, 0);
    SetCadLineSpacing(2);
    CadMoveTo(0, 100);
    CadTextRotated("one");
    CadTextRotated("");
    CadTextRotated("two");
    SetCadTextSize(0, 90, 5, 0);
    CadMoveTo(0, 0);
    CadTextRotated("up");
    CadTextRotated("next");
  });
  EXPECT_EQ(figures,
            "TEXT pen 0 50.000 0.000 5.000 0.000 \"0123456789\"\n"
            "TEXT pen 0 75.000 -2.500 5.000 0.000 \"0123456789\"\n"
            "TEXT pen 0 10.000 15.000 5.000 0.000 \"abc\"\n"
            "TEXT pen 0 0.000 100.000 5.000 0.000 \"one\"\n"
            "TEXT pen 0 0.000 84.000 5.000 0.000 \"two\"\n"
            "TEXT pen 0 0.000 0.000 5.000 90.000 \"up\"\n"
            "TEXT pen 0 16.000 0.000 5.000 90.000 \"next\"\n");
  // CadOpenOutput reset the alignment and the line spacing.
  EXPECT_EQ(CadDrawing.CadTextAlignH, 0);
  EXPECT_EQ(CadDrawing.CadLineSpacing, 2);
}

TEST_F(CadOutputTest, TextSizesScaleAndFitting) {
  common::CadSettings.CadTextWidthRatio = 2;
  common::CadSettings.CadFontSlant = 15;
  SetCadTextSize(0, 45, 4, 0);
  EXPECT_NEAR(static_cast<double>(CadDrawing.CadTextWidthFactor), 1.4, 1e-12);
  EXPECT_EQ(CadDrawing.CadTextSlant, 15);
  // The screen's pixel aspect never turns a text in a file.
  EXPECT_EQ(CadDrawing.CadTextAngle, 45);
  SetCadTextSize(0, 0, 0, 3);
  EXPECT_TRUE(std::isfinite(CadDrawing.CadTextWidthFactor));
  common::CadSettings.CadTextWidthRatio = 1;
  // 10 characters estimated 10 x 7 x 0.8 / 0.7 = 80 long, fitted into 40.
  CadTextFitted(0, "  0123456789  ", 0, 10, 7, 40);
  EXPECT_NEAR(static_cast<double>(CadDrawing.CadTextHeight), 5, 1e-12);
  EXPECT_NEAR(static_cast<double>(CadDrawing.CadTextWidthFactor), 0.7, 1e-12);

  common::CadSettings.CadScaleSetting = 2;
  SetCadScale(0);
  EXPECT_EQ(common::CadSettings.CadScale, 1);
  SetCadScale(0.0004L);
  EXPECT_EQ(common::CadSettings.CadScale, 1);
  SetCadScale(0.001L);
  EXPECT_NEAR(static_cast<double>(common::CadSettings.CadScale), 0.002, 1e-15);
}

TEST_F(CadOutputTest, TextCadRecords) {
  common::CadSettings.CadDecimals = 2;
  const std::string txt = Write(CadDeviceTextCad, "records.txt", [] {
    CadDrawingFrame(0, 0, 160, 120, 0);
    CadBeginTables(0);
    CadInsertLogos();
    CadLine(0, 0, 10.5L, -3);
    CadCircle(1, 2, 3);
    CadArc(1, 2, 0, 360, 3, 360);
    CadArc(1, 2, 90, 90, 3, 0);
    CadArc(1, 2, 10, 100, 3, 90);
    CadArc(1, 2, 100, 10, 3, -90);
    CadArc(1, 2, 10, 100, 0, 90);  // radius 0: nothing
    SetCadTextAlign(0, 0);
    CadText("a\tb  c", 5, 6);
    CadSolid(0, 0, 1, 0, 0, 1, 1, 1);
    CadEndSection();
  });
  EXPECT_EQ(txt,
            "MINMAX\t0.00\t0.00\t160.00\t120.00\r\n"
            "SECTION ENTITIES\r\n"
            "LINE\t0.00\t0.00\t10.50\t-3.00\r\n"
            "CIRCLE\t1.00\t2.00\t3.00\r\n"
            "CIRCLE\t1.00\t2.00\t3.00\r\n"
            "CIRCLE\t1.00\t2.00\t3.00\r\n"
            "ARC\t1.00\t2.00\t3.00\t10.00\t100.00\r\n"
            "ARC\t1.00\t2.00\t3.00\t10.00\t100.00\r\n"
            "TEXT\t5.00\t6.00\ta\tb  c\r\n"
            "SOLID\t0.00\t0.00\t1.00\t0.00\t0.00\t1.00\t1.00\t1.00\r\n"
            "EOF\r\n");
  common::CadSettings.CadDecimals = 0;
  EXPECT_EQ(TxtNumber(7), "  7");
  common::CadSettings.CadDecimals = 2;
  common::DecimalSign = 2;
  EXPECT_EQ(TxtNumber(1.25L), "1,25");
  EXPECT_EQ(TxtNumber(-1234.5L), "-1234,50");
}

TEST_F(CadOutputTest, StepFileHoldsTheDrawingUnderItsHeader) {
  const platform::ScopedClock clock(platform::LocalDateTime{2026, 3, 9, 8, 5, 7});
  const std::string stp = Write(CadDeviceStep, "it's.stp", [] {
    CadDefaultFrame();
    CadBeginTables(0);
    CadBeginBlocksSection();
    CadBeginBlock("X");
    CadCircle(0, 0, 2);
    CadEndBlock();
    CadEndSection();
    CadInsertLogos();
    SetCadColor(3);
    CadLine(0, 0, 1, 1);
    CadCircle(0, 0, 1);
    CadText("not written", 0, 0);
    CadInsertBlock("X", 50, 0, 0, 1, 1);
    CadPolylineBegin(0);
    CadPolylineVertex(0, 0, 0);
    CadPolylineVertex(1, 0, 0);
    CadPolylineEnd();
    CadEndSection();
  });
  // Lines end with CR LF; long records continue on indented lines.
  std::string flat = stp;
  for (std::size_t at; (at = flat.find("\r\n ")) != std::string::npos;)
    flat.erase(at, flat.find_first_not_of(' ', at + 2) - at);
  EXPECT_EQ(flat.rfind("ISO-10303-21;\r\nHEADER;\r\nFILE_DESCRIPTION(('KALDRIM'),'2;1');\r\n", 0), 0u) << stp;
  // The file's name with its apostrophe doubled, the moment of writing in
  // ISO 8601, the program's own names.
  // A long name may be broken over lines anywhere, even inside its string.
  std::string name = scratch_.Path("it's.stp");
  name.insert(name.find('\'') + 1, "'");
  std::string joined = stp;
  for (std::size_t at; (at = joined.find("\r\n")) != std::string::npos;)
    joined.erase(at, joined.find_first_not_of(' ', at + 2) - at);
  EXPECT_NE(joined.find("FILE_NAME('" + name + "','2026-03-09T08:05:07Z',('Joris'),(''),'KALDRIM','KALDRIM','');"),
            std::string::npos)
      << stp;
  EXPECT_NE(flat.find("FILE_SCHEMA(('AUTOMOTIVE_DESIGN { 1 0 10303 214 1 1 1 1 }'));\r\nENDSEC;\r\nDATA;\r\n"),
            std::string::npos);
  // The two lines, the circle and the block's circle as one set of curves;
  // the text writes nothing.
  EXPECT_NE(stp.find("GEOMETRIC_CURVE_SET"), std::string::npos);
  std::size_t circles = 0;
  for (std::size_t at = 0; (at = stp.find("= CIRCLE(", at)) != std::string::npos; ++at) ++circles;
  EXPECT_EQ(circles, 2u);
  EXPECT_EQ(stp.find("not written"), std::string::npos);
  EXPECT_EQ(stp.substr(stp.size() - 28), "ENDSEC;\r\nEND-ISO-10303-21;\r\n");
}

TEST_F(CadOutputTest, RotatedFrame) {
  const std::string figures = Logged([] {
    SetRotatedFrame(10, 0, 90);
    RotatedMoveTo(1, 0);
    EXPECT_NEAR(static_cast<double>(CadDrawing.CadPenPositionX), 10, 1e-15);
    EXPECT_NEAR(static_cast<double>(CadDrawing.CadPenPositionY), 1, 1e-15);
    RotatedLineTo(2, 0);
    RotatedLine(0, 0, 0, 1);
    RotatedPoint(1, 0, 0.5L);
  });
  EXPECT_EQ(figures,
            "LINE pen 0 10.000 1.000 10.000 2.000\n"
            "LINE pen 0 10.000 0.000 9.000 0.000\n"
            "CIRCLE pen 0 11.000 0.000 0.500\n");
}

TEST_F(CadOutputTest, EmulatedPolylinesAndChords) {
  // Arc pieces as arcs, and a closed polyline closed at its end.
  common::CadSettings.CadArcsToLines = 0;
  std::string figures = Logged([] {
    CadPolylineBegin(1);
    CadPolylineVertex(0, 0, 0);
    CadPolylineVertex(10, 0, std::numbers::pi_v<Real>);
    CadPolylineArcVertex(10, std::numbers::pi_v<Real> / 2, 0);
    CadPolylineEnd();
  });
  EXPECT_EQ(figures,
            "LINE pen 0 0.000 0.000 10.000 0.000\n"
            "ARC pen 0 10.000 5.000 5.000 270.000 90.000 180.000\n"
            "LINE pen 0 10.000 10.000 0.000 0.000\n");
  // As chords: a half circle of radius 5 is 15.7 mm long; 16 chords of the
  // 1 mm resolution would each span 0.2 radian, so it gets 31 of at most
  // 0.1 radian.
  common::CadSettings.CadArcsToLines = 1;
  common::CadSettings.CadArcResolution = 1;
  LoggingBackEnd logger;
  {
    ScopedCadBackEnd installed(CadDeviceStl, logger);
    CadOpenOutput(CadDeviceStl);
    CadPolylineBegin(0);
    CadPolylineVertex(0, 0, std::numbers::pi_v<Real>);
    CadPolylineVertex(10, 0, 0);
    CadPolylineEnd();
    CadCloseOutput();
  }
  ASSERT_EQ(logger.figures.size(), 31u);
  EXPECT_NEAR(static_cast<double>(logger.figures.back().values[2]), 10, 1e-12);
  EXPECT_NEAR(static_cast<double>(logger.figures.back().values[3]), 0, 1e-12);

  int chords = 0;
  CircleAsChords(0, 0, 10, [&](Real, Real, Real, Real) { ++chords; });
  EXPECT_EQ(chords, 63);  // 2 pi 10 / 1
  chords = 0;
  CircleAsChords(0, 0, 0.1L, [&](Real, Real, Real, Real) { ++chords; });
  EXPECT_EQ(chords, 0);
}

TEST_F(CadOutputTest, FinishedFilesOpenedWithTheirProgram) {
  std::vector<std::string> opened;
  SetCadOutputOpener([&](const std::string& name) { opened.push_back(name); });
  Write(CadDeviceDxf, "a.dxf", [] {});
  Write(CadDeviceTextCad, "b.txt", [] {});
  Write(CadDeviceStep, "c.stp", [] {});  // never
  common::CadSettings.CadOpenAfterOutput = 0;
  Write(CadDeviceDxf, "d.dxf", [] {});
  common::CadSettings.CadOpenAfterOutput = 1;
  common::SetCommandLineParams({"pair.vb4", "/CAD1:2"});
  Write(CadDeviceDxf, "e.dxf", [] {});
  common::SetCommandLineParams(std::vector<std::string>{});
  Open(CadDeviceDxf, "f.dxf");
  common::AbortFlag = 1;  // a failed picture
  CadCloseOutput();
  SetCadOutputOpener(nullptr);
  EXPECT_EQ(opened, (std::vector<std::string>{scratch_.Path("a.dxf"), scratch_.Path("b.txt")}));
}

TEST_F(CadOutputTest, AbandonedOutputKeepsThePreviousFile) {
  testsupport::Put(scratch_.Path("old.dxf"), "previous");
  dialogs_.Then(platform::ScriptedAnswer::File(scratch_.Path("old.dxf")))
      .Then(platform::ScriptedAnswer::Press(platform::DialogButton::Yes));
  CadOpenOutput(CadDeviceDxf);
  ASSERT_EQ(common::AbortFlag, 0);
  CadDefaultFrame();
  // The picture stops without closing its output; the next one begins.
  Write(CadDeviceTextCad, "next.txt", [] {});
  EXPECT_EQ(testsupport::Slurp(scratch_.Path("old.dxf")), "previous");
  EXPECT_EQ(testsupport::Slurp(scratch_.Path("next.txt")), "EOF\r\n");
}

TEST_F(CadOutputTest, DevicesWithoutOutputIgnoreEveryPrimitive) {
  CadOpenOutput(9);
  EXPECT_EQ(common::AbortFlag, 0);
  drawingtest::DrawTestPicture();
  CadCloseOutput();
  EXPECT_FALSE(common::SharedTextFile.IsOpen());
  EXPECT_TRUE(dialogs_.Asked().empty());
}

}  // namespace
