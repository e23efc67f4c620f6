// The screen device: the records a picture leaves in the graphics window's
// display list, pens as line styles, colours and widths, slanted texts
// turned for the screen only, blocks and logos replayed from part files, and
// which part files a closed picture leaves.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/graphics_facade.h"
#include "common/graphics_window.h"
#include "drawing/cad/dxf_reader.h"
#include "drawing_test_support.h"

using namespace drawing;
using drawingtest::DrawingTest;

namespace {

class ScreenDeviceTest : public DrawingTest {
 protected:
  ScreenDeviceTest() : DrawingTest("screen_device") {}
  void SetUp() override {
    DrawingTest::SetUp();
    common::InitGraphicsWindowUnit();
    common::InitGraphDisplayList();
  }

  // The records of the display list that begin with prefix.
  static std::vector<std::string> Records(const std::string& prefix) {
    std::vector<std::string> out;
    for (const std::string& r : common::DisplayList)
      if (r.rfind(prefix, 0) == 0) out.push_back(r);
    return out;
  }
};

TEST_F(ScreenDeviceTest, PensBecomeStylesColoursAndWidths) {
  CadOpenOutput(CadDeviceScreen);
  CadDefaultFrame();
  CadInsertLogos();
  common::DisplayList.clear();
  SetCadColor(1);   // dash-dot, colour 2 (yellow), width 1
  SetCadColor(4);   // solid, colour 3 (green), width 2
  SetCadColor(36);  // pen 20: colour 5 (blue)
  common::CadSettings.CadPenWidths[21] = 7;
  SetCadColor(21);
  SetCadLineMode(2);
  SetCadColor(0);   // the erasing pen: background, wider than the lines it removes
  SetCadColor(19);  // leaves it as it is
  CadEndSection();
  CadCloseOutput();
  const std::vector<std::string> expected = {"11;2", "8;14", "11;0", "8;10", "12;2", "8;9",
                                             "12;1", "8;13", "12;7", "8;0",  "12;3"};
  std::vector<std::string> records = common::DisplayList;
  if (records.size() > expected.size()) {
    const std::string& next = records[expected.size()];
    EXPECT_NE(next.substr(0, 2), "8;") << next;
    EXPECT_NE(next.substr(0, 3), "12;") << next;
  }
  records.resize(std::min(records.size(), expected.size()));
  EXPECT_EQ(records, expected);
}

// One millimetre is as many pixels across as down on any screen: a slanted
// text keeps its angle there, on a wide screen too.
TEST_F(ScreenDeviceTest, SlantedTextsKeepTheirAngleOnAnyScreen) {
  common::HorizontalPixels = 1920;
  common::VerticalPixels = 1080;
  CadOpenOutput(CadDeviceScreen);
  SetCadTextSize(0, 30, 5, 4);
  CadText("x", 0, 0);
  CadCloseOutput();
  const std::vector<std::string> styles = Records("9;");
  ASSERT_EQ(styles.size(), 1u);
  // height; width; font; direction
  const Real direction = std::stold(styles[0].substr(styles[0].rfind(';') + 1));
  EXPECT_NEAR(static_cast<double>(direction), 30, 1e-9);
  EXPECT_EQ(styles[0].substr(0, styles[0].rfind(';')), "9;5;3.8;0");
  EXPECT_EQ(CadDrawing.CadTextAngle, 30);
}

TEST_F(ScreenDeviceTest, BlocksFromMemoryAndLogosFromPartFiles) {
  // A logo placed by the user: a line 480 long in the 160 x 120 drawing.
  testsupport::Put(scratch_.Path("$logo_2.dx$"),
                   "  0\r\nLINE\r\n  8\r\n0\r\n 10\r\n0.0\r\n 20\r\n0.0\r\n 11\r\n480.0\r\n 21\r\n0.0\r\n  0\r\nEOF\r\n");
  CadOpenOutput(CadDeviceScreen);
  CadDefaultFrame();
  CadBeginTables(0);
  CadBeginBlocksSection();
  SetCadColor(3);
  CadBeginBlock("TOOTH");
  CadLine(0, 0, 1, 0);
  CadEndBlock();
  CadEndSection();
  // The screen keeps its block in memory: no part file is written.
  EXPECT_FALSE(std::filesystem::exists(scratch_.Path("$TOOTH.dx$")));
  CadInsertLogos();
  SetCadColor(4);
  CadInsertBlock("TOOTH", 10, 20, 90, 5, 5);
  CadLine(0, 0, 1, 1);
  CadEndSection();
  CadCloseOutput();
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(Records("4;"), (std::vector<std::string>{"4;145.6;1.2;305.6;1.2", "4;10;20;10;25", "4;0;0;1;1"}));
  // The replayed block drew with its pen (3, colour 2 = index 14), then the
  // pen in force (4, colour 3 = index 10) came back.
  const auto& list = common::DisplayList;
  const auto block = std::find(list.begin(), list.end(), "4;10;20;10;25");
  ASSERT_NE(block, list.end());
  EXPECT_NE(std::find(list.begin(), block, "8;14"), block);
  EXPECT_NE(std::find(block, list.end(), "8;10"), list.end());
  // The user's logo stays; the recorded block is gone with the picture.
  EXPECT_TRUE(std::filesystem::exists(scratch_.Path("$logo_2.dx$")));
  common::DisplayList.clear();
  CadOpenOutput(CadDeviceScreen);
  CadInsertBlock("TOOTH", 10, 20, 90, 5, 5);
  CadCloseOutput();
  EXPECT_TRUE(Records("4;").empty());
  EXPECT_EQ(common::MsgText[1], "Invalid temp directory");
  common::AbortFlag = 0;

  // No logo on a framed drawing sheet.
  common::DisplayList.clear();
  CadOpenOutput(CadDeviceScreen);
  CadDefaultFrame();
  CadDrawing.DrawingSheetFormat = 2;
  CadInsertLogos();
  CadEndSection();
  CadCloseOutput();
  EXPECT_TRUE(Records("4;").empty());
}

TEST_F(ScreenDeviceTest, HeadLineAndDelay) {
  common::CurrentFileName = "pair7";
  common::DataDirectory = "/data";
  CadOpenOutput(CadDeviceScreen);
  CadDrawingFrame(0, 0, 200, 100, 0);
  CadDelay(250);
  CadCloseOutput();
  EXPECT_EQ(Records("10;").size(), 1u);
  const std::vector<std::string> texts = Records("6;");
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].rfind("6;1;0.2;", 0), 0u) << texts[0];
  EXPECT_NE(texts[0].find(" - KALDRIM "), std::string::npos);
  EXPECT_NE(texts[0].find(" - /data/pair7."), std::string::npos);
  EXPECT_EQ(Records("13;"), (std::vector<std::string>{"13;250"}));

  // The footer-line option leaves the head line out.
  common::InitGraphDisplayList();
  common::CadSettings.CadFrameOptions[common::FrameOptFooter] = 1;
  CadOpenOutput(CadDeviceScreen);
  CadDrawingFrame(0, 0, 200, 100, 0);
  CadCloseOutput();
  EXPECT_TRUE(Records("6;").empty());
}

}  // namespace
