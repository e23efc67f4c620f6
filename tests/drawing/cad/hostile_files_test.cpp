// Hostile drawings end within bounds: DXF files of blocks that insert
// blocks stop at the figure limit with a message naming the file, on the
// screen and on the STL device; an STL of a circle of 10 m and one 20 km
// across is made quickly and closes; coordinates a device cannot write
// (not finite, or beyond the STL file's range, as a face width of 1e300
// makes them) refuse the output on every device with a message, and no
// file is put in place.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <limits>
#include <string>

#include "common/file_checks.h"
#include "common/graphics_facade.h"
#include "common/display_list.h"
#include "common/graphics_window.h"
#include "drawing/cad/dxf_reader.h"
#include "drawing/cad/stl_writer.h"
#include "drawing/drawing_test_support.h"
#include "support/file_test_support.h"
#include "support/hostile_dxf.h"
#include "support/stl_mesh.h"

using namespace drawing;
using drawingtest::DrawingTest;
using testsupport::BlockBomb;

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

class HostileFilesTest : public DrawingTest {
 protected:
  HostileFilesTest() : DrawingTest("hostile_files") {}
  void SetUp() override {
    DrawingTest::SetUp();
    common::MessagesEnabled = 1;
    common::InitGraphicsWindowUnit();
    common::InitGraphDisplayList();
  }
  std::string LastMessage() const { return dialogs_.Asked().empty() ? "" : dialogs_.Asked().back().text; }
  std::size_t Messages() const {
    std::size_t n = 0;
    for (const auto& asked : dialogs_.Asked()) n += asked.kind == platform::AskedDialog::Kind::Message;
    return n;
  }
};

TEST_F(HostileFilesTest, BlocksInsertingBlocksStopAtTheFigureLimit) {
  // 30 x 30 x 30 x 100 = 2.7 million lines from 6 KB; 100^3 x 100 = 10^8
  // from 16 KB.
  for (const auto& [name, bomb] : {std::pair{"chain.dxf", BlockBomb(3, 30, 100)},
                                   std::pair{"deep.dxf", BlockBomb(3, 100, 100)}}) {
    SCOPED_TRACE(name);
    const std::string path = scratch_.Path(name);
    testsupport::Put(path, bomb);
    EXPECT_LT(bomb.size(), 20000u);
    const Clock::time_point start = Clock::now();
    CadOpenOutput(CadDeviceScreen);
    CadDefaultFrame();
    common::DisplayList.clear();
    ReplayDxfFile(path);
    EXPECT_EQ(common::AbortFlag, 1);
    CadCloseOutput();
    EXPECT_EQ(LastMessage(), "DXF file " + path + ": more than " + std::to_string(MaxReplayFigures) +
                                 " figures in one drawing, the rest is not drawn");
    // The lines up to the limit, less the inserts that placed them.
    std::size_t lines = 0;
    for (const std::string& record : common::DisplayList) lines += record.rfind("4;", 0) == 0;
    EXPECT_GT(lines, static_cast<std::size_t>(MaxReplayFigures) * 9 / 10);
    EXPECT_LE(lines, static_cast<std::size_t>(MaxReplayFigures));
    EXPECT_LT(SecondsSince(start), 20);
    EXPECT_EQ(DxfNestingLevel, 0);
    common::InitGraphDisplayList();
    dialogs_.ClearRecord();
    common::AbortFlag = 0;
  }

  // On the STL device the replay stops alike (its lines on one another make
  // a hundred walls); the solid's own limit of lines refuses the file.
  testsupport::Put(scratch_.Path("$BOMB.dx$"), BlockBomb(3, 30, 100, false));
  Open(CadDeviceStl, "bomb.stl");
  SetStlHeights(0, 1);
  CadInsertBlock("BOMB", 0, 0, 0, 1, 1);
  EXPECT_EQ(common::AbortFlag, 1);
  CadCloseOutput();
  EXPECT_EQ(LastMessage(), "DXF file " + scratch_.Path("$BOMB.dx$") + ": more than " +
                               std::to_string(MaxReplayFigures) + " figures in one drawing, the rest is not drawn");
  common::AbortFlag = 0;
  const std::string stl = Open(CadDeviceStl, "lines.stl");
  SetStlHeights(0, 1);
  for (std::size_t k = 0; k <= MaxStlSegments; ++k) CadLine(k, 0, k, 1);
  CadCloseOutput();
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(LastMessage(), "More than " + std::to_string(MaxStlSegments) + " lines for one STL file: " + stl +
                               " not written");
  EXPECT_FALSE(std::filesystem::exists(stl));

  // A sane replay afterwards counts from nothing again.
  common::AbortFlag = 0;
  testsupport::Put(scratch_.Path("small.dxf"), BlockBomb(2, 10, 10));
  CadOpenOutput(CadDeviceScreen);
  CadDefaultFrame();
  ReplayDxfFile(scratch_.Path("small.dxf"));
  EXPECT_EQ(common::AbortFlag, 0);
  CadCloseOutput();
}

TEST_F(HostileFilesTest, LargeCirclesAreCutIntoBoundedChords) {
  // A circle of 10 m radius and a plate 20 km across with a bore of 10 km
  // (its points beyond the old point hash's range): quick, closed solids of
  // the right volume.
  const Clock::time_point start = Clock::now();
  Write(CadDeviceStl, "circle.stl", [] {
    SetStlHeights(0, 5);
    CadCircle(0, 0, 10000);
  });
  EXPECT_EQ(common::AbortFlag, 0);
  testsupport::StlMesh mesh = testsupport::ReadBinaryStl(testsupport::Slurp(scratch_.Path("circle.stl")));
  ASSERT_TRUE(mesh.ok);
  testsupport::StlPlan plan = testsupport::PlanOf(mesh);
  EXPECT_EQ(plan.walls.size(), 16384u);
  const double disc = M_PI * 1e8;
  EXPECT_NEAR(testsupport::WallArea(plan), disc, 1e-6 * disc);
  EXPECT_NEAR(testsupport::TopArea(plan), testsupport::WallArea(plan), 1e-6 * disc);
  EXPECT_EQ(plan.invertedTop, 0);

  Write(CadDeviceStl, "plate.stl", [] {
    SetStlHeights(0, 1000);
    CadRectangle(-1e7L, -1e7L, 1e7L, 1e7L);
    CadCircle(0, 0, 5e6L);
  });
  EXPECT_EQ(common::AbortFlag, 0);
  mesh = testsupport::ReadBinaryStl(testsupport::Slurp(scratch_.Path("plate.stl")));
  ASSERT_TRUE(mesh.ok);
  plan = testsupport::PlanOf(mesh);
  const double net = 4e14 - M_PI * 25e12;
  EXPECT_NEAR(testsupport::WallArea(plan), net, 1e-6 * net);
  EXPECT_NEAR(testsupport::TopArea(plan), net, 1e-6 * net);
  EXPECT_EQ(plan.invertedTop, 0);
  EXPECT_LT(SecondsSince(start), 20);
}

TEST_F(HostileFilesTest, CoordinatesADeviceCannotWriteRefuseItsOutput) {
  const Real inf = std::numeric_limits<Real>::infinity();
  const Real nan = std::numeric_limits<Real>::quiet_NaN();
  struct Case {
    CadDeviceCode device;
    std::string file;
  };
  for (const Case& c : {Case{CadDeviceDxf, "x.dxf"}, Case{CadDeviceIges, "x.igs"}, Case{CadDeviceTextCad, "x.txt"},
                        Case{CadDeviceStl, "x.stl"}, Case{CadDeviceStep, "x.stp"}}) {
    SCOPED_TRACE(c.file);
    // A file there before stays as it was.
    testsupport::Put(scratch_.Path(c.file), "before");
    common::AskBeforeOverwrite = 0;
    for (const std::function<void()>& figure : std::vector<std::function<void()>>{
             [&] { CadLine(0, 0, inf, 0); }, [&] { CadCircle(nan, 0, 1); }, [&] { CadArc(0, 0, 0, 90, -inf, 90); },
             [&] { CadText("x", 0, nan); }, [&] { CadSolid(0, 0, 1, 0, 0, 1, 1, inf); }}) {
      dialogs_.ClearRecord();
      Open(c.device, c.file);
      ASSERT_EQ(common::AbortFlag, 0);
      CadDrawingFrame(0, 0, 160, 120, 0);
      CadLine(0, 0, 10, 0);
      figure();
      EXPECT_EQ(common::AbortFlag, 1);
      CadLine(0, 0, 10, 10);  // ignored
      CadCloseOutput();
      EXPECT_EQ(common::AbortFlag, 1);
      EXPECT_TRUE(CadOutputRefused());
      ASSERT_EQ(Messages(), 1u);
      EXPECT_NE(LastMessage().find("out of range: " + scratch_.Path(c.file) + " not written"), std::string::npos)
          << LastMessage();
      EXPECT_EQ(testsupport::Slurp(scratch_.Path(c.file)), "before");
      common::AbortFlag = 0;
    }
  }

  // STL holds float32 numbers: a face width of 1e300 is refused as the
  // heights are set, and so is a coordinate beyond its range.
  dialogs_.ClearRecord();
  common::CadBatchNaming = true;
  common::CurrentFileName = "wide";
  CadOpenOutput(CadDeviceStl);
  CadDrawingFrame(-10, -10, 10, 10, 1e300L);
  CadRectangle(0, 0, 5, 5);
  CadCloseOutput();
  common::CadBatchNaming = false;
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(LastMessage(), "Coordinate 1e+300 out of range: wide.stl not written");
  EXPECT_FALSE(std::filesystem::exists("wide.stl"));
  common::AbortFlag = 0;
  const std::string far = Open(CadDeviceStl, "far.stl");
  SetStlHeights(0, 1);
  CadLine(0, 0, 2 * StlCoordinateLimit, 0);
  CadCloseOutput();
  EXPECT_EQ(LastMessage(), "Coordinate 2e+09 out of range: " + far + " not written");
  EXPECT_FALSE(std::filesystem::exists(far));

  // On the screen the picture stops; the next one draws again.
  common::AbortFlag = 0;
  dialogs_.ClearRecord();
  CadOpenOutput(CadDeviceScreen);
  CadDefaultFrame();
  CadLine(0, 0, nan, 0);
  CadCloseOutput();
  EXPECT_EQ(LastMessage(), "Coordinate undefined out of range: drawing stopped");
  for (const std::string& record : common::DisplayList) {
    EXPECT_EQ(record.find("nan"), std::string::npos) << record;
    EXPECT_EQ(record.find("inf"), std::string::npos) << record;
  }
  common::AbortFlag = 0;
  CadOpenOutput(CadDeviceScreen);
  EXPECT_FALSE(CadOutputRefused());
  CadCloseOutput();
}

// A part file with a coordinate of 1e10 mm, replayed on the screen: the
// picture stops at it with the message, as the STL device does, instead
// of ending empty without a word; the figure before it stays.
TEST_F(HostileFilesTest, ScreenReplayOfAFarCoordinateStopsWithItsMessage) {
  const auto line = [](const std::string& x2) {
    return "  0\nLINE\n  8\n0\n 10\n0\n 20\n0\n 11\n" + x2 + "\n 21\n10\n";
  };
  testsupport::Put(scratch_.Path("$FAR.dx$"), line("10") + line("1e10") + line("20") + "  0\nEOF\n");
  for (const bool fromFile : {true, false}) {
    SCOPED_TRACE(fromFile ? "part file" : "DXF file");
    dialogs_.ClearRecord();
    CadOpenOutput(CadDeviceScreen);
    CadDefaultFrame();
    common::DisplayList.clear();
    if (fromFile)
      CadInsertBlock("FAR", 0, 0, 0, 1, 1);
    else
      ReplayDxfFile(scratch_.Path("$FAR.dx$"));
    CadCloseOutput();
    EXPECT_EQ(common::AbortFlag, 1);
    ASSERT_EQ(Messages(), 1u);
    EXPECT_EQ(LastMessage(), "Coordinate 1e+10 out of range: drawing stopped");
    std::vector<std::string> lines;
    for (const std::string& record : common::DisplayList)
      if (record.rfind("4;", 0) == 0) lines.push_back(record);
    EXPECT_EQ(lines, std::vector<std::string>{"4;0;0;10;10"});
    common::AbortFlag = 0;
  }
  // The largest coordinate the screen takes is drawn.
  dialogs_.ClearRecord();
  CadOpenOutput(CadDeviceScreen);
  CadDefaultFrame();
  CadLine(0, 0, 1e9L, 0);
  CadCloseOutput();
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(Messages(), 0u);
}

}  // namespace
