// "Import DXF": the pitch curve from the lines, arcs and polylines of a DXF
// file, through the File menu, and the files it cannot use.
#include "app/inputs/pitch_curve_import.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <tuple>
#include <vector>

#include "app/entry_points.h"
#include "app/main_menu.h"
#include "app/start_up.h"
#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "platform/scripted_dialogs.h"
#include "drawing/cad/dxf_reader.h"
#include "support/file_test_support.h"
#include "support/hostile_dxf.h"

namespace fs = std::filesystem;
using platform::ScriptedAnswer;

namespace {

std::string Entity(const std::string& name, std::initializer_list<std::pair<int, double>> groups) {
  std::string text = "  0\r\n" + name + "\r\n  8\r\n0\r\n";
  for (const auto& [code, value] : groups) text += std::to_string(code) + "\r\n" + std::to_string(value) + "\r\n";
  return text;
}

std::string Dxf(const std::string& entities) {
  return "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n" + entities + "  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
}

class PitchCurveImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "vob4";
    char* argv[] = {name, nullptr};
    app::StartUpProgram(1, argv);
    app::ResetEntryPoints();
    calc::CurveType = calc::CurveEllipse;
    common::DataChanged = 0;
    common::CurrentFileName.clear();
  }

  testsupport::ScratchDirectory dir_{"pitch_import"};
  platform::ScriptedDialogs dialogs_;
  platform::ScopedDialogs scoped_{dialogs_};
};

}  // namespace

TEST_F(PitchCurveImportTest, SquareOfLinesThroughTheFileMenu) {
  const double h = 40;
  testsupport::Put(dir_.Path("square.dxf"),
                   Dxf(Entity("LINE", {{10, h}, {20, -h}, {11, h}, {21, h}}) +
                       Entity("LINE", {{10, h}, {20, h}, {11, -h}, {21, h}}) +
                       Entity("LINE", {{10, -h}, {20, h}, {11, -h}, {21, -h}}) +
                       Entity("LINE", {{10, -h}, {20, -h}, {11, h}, {21, -h}})));
  dialogs_.Then(ScriptedAnswer::File(dir_.Path("square.dxf")));
  app::MenuItemClick("mi_fileImportDXF");
  ASSERT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(calc::CurveType, calc::CurvePolyline);
  EXPECT_EQ(common::DataChanged, 1);
  // The four corners in angle order, closed at 0 and 2 pi.
  ASSERT_EQ(calc::PolylineCount, 6);
  const double corner = std::hypot(h, h);
  EXPECT_NEAR(static_cast<double>(calc::PolylinePoints[1].Phi), 0, 1e-12);
  EXPECT_NEAR(static_cast<double>(calc::PolylinePoints[1].R), corner, 1e-9);
  EXPECT_NEAR(static_cast<double>(calc::PolylinePoints[2].Phi), M_PI / 4, 1e-9);
  EXPECT_NEAR(static_cast<double>(calc::PolylinePoints[5].Phi), 7 * M_PI / 4, 1e-9);
  EXPECT_NEAR(static_cast<double>(calc::PolylinePoints[6].Phi), 2 * M_PI, 1e-12);
  EXPECT_EQ(calc::LinearInterpolation, 1);
}

TEST_F(PitchCurveImportTest, CircleGivesAConstantRadius) {
  testsupport::Put(dir_.Path("circle.dxf"), Dxf(Entity("CIRCLE", {{10, 0}, {20, 0}, {40, 50}})));
  app::ImportPitchCurveFile(dir_.Path("circle.dxf"));
  ASSERT_EQ(common::AbortFlag, 0);
  EXPECT_GT(calc::PolylineCount, 300);
  for (int i = 1; i <= calc::PolylineCount; ++i)
    ASSERT_NEAR(static_cast<double>(calc::PolylinePoints[i].R), 50, 1e-6) << i;
}

TEST_F(PitchCurveImportTest, UnusableFilesChangeNothing) {
  calc::PolylineCount = 3;
  // A line beside the origin does not go round it.
  testsupport::Put(dir_.Path("beside.dxf"), Dxf(Entity("LINE", {{10, 10}, {20, 10}, {11, 20}, {21, 30}})));
  dialogs_.Then(ScriptedAnswer::File(dir_.Path("beside.dxf")));
  app::MenuItemClick("mi_fileImportDXF");
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(calc::CurveType, calc::CurveEllipse);
  EXPECT_EQ(calc::PolylineCount, 3);
  EXPECT_EQ(common::DataChanged, 0);
  ASSERT_FALSE(dialogs_.Asked().empty());
  EXPECT_EQ(dialogs_.Asked().back().text, "DXF file " + dir_.Path("beside.dxf") + ": no pitch curve around the origin !");

  // A missing file and a cancelled dialog.
  app::ImportPitchCurveFile(dir_.Path("none.dxf"));
  EXPECT_EQ(common::AbortFlag, 1);
  app::MenuItemClick("mi_fileImportDXF");
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(calc::CurveType, calc::CurveEllipse);
  EXPECT_EQ(calc::PolylineCount, 3);
}

TEST_F(PitchCurveImportTest, BlocksInsertingBlocksStopSoonAndChangeNothing) {
  // 10^8 lines asked for by 16 KB: the import stops at the figure limit,
  // says so, and keeps the curve it had.
  calc::PolylineCount = 3;
  const std::string path = dir_.Path("deep.dxf");
  testsupport::Put(path, testsupport::BlockBomb(3, 100, 100));
  const auto start = std::chrono::steady_clock::now();
  app::ImportPitchCurveFile(path);
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 20);
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(calc::CurveType, calc::CurveEllipse);
  EXPECT_EQ(calc::PolylineCount, 3);
  ASSERT_GE(dialogs_.Asked().size(), 2u);
  EXPECT_EQ(dialogs_.Asked()[dialogs_.Asked().size() - 2].text,
            "DXF file " + path + ": more than " + std::to_string(drawing::MaxReplayFigures) +
                " figures in one drawing, the rest is not drawn");
  EXPECT_EQ(dialogs_.Asked().back().text, "DXF file " + path + " cannot be read !");
}

// A curve drawn partly in entities the reader does not draw (0 to 200
// degrees a polyline, the rest the entity of the row) is taken only when
// the user says so in a question naming the entity; beside a mere line the
// entity is named in the refusal. The pair's texts stay, the reader's above.
TEST_F(PitchCurveImportTest, EntitiesLeftOutAreNamedBeforeTheDesignChanges) {
  std::string arc = "  0\r\nLWPOLYLINE\r\n  8\r\n0\r\n";
  for (int degree = 0; degree <= 200; degree += 10)
    arc += " 10\r\n" + std::to_string(50 * std::cos(degree * M_PI / 180)) + "\r\n 20\r\n" +
           std::to_string(50 * std::sin(degree * M_PI / 180)) + "\r\n";
  const std::string line = Entity("LINE", {{10, 10}, {20, 10}, {11, 20}, {21, 30}}), path = dir_.Path("part.dxf");
  for (const auto& [kind, entity] : std::vector<std::pair<std::string, std::string>>{
           {"ELLIPSE", Entity("ELLIPSE", {{10, 0}, {20, 0}, {11, 50}, {21, 0}, {40, 1}, {41, 3.49}, {42, 6.28}})},
           {"SPLINE", Entity("SPLINE", {{70, 8}, {71, 3}, {10, -50}, {20, 0}, {10, 0}, {20, -50}, {10, 50}, {20, 0}})},
           {"POINT", Entity("POINT", {{10, 0}, {20, -50}})},
           {"HATCH", Entity("HATCH", {{10, 0}, {20, 0}, {91, 1}})},
           {"SOLID",
            Entity("SOLID", {{10, 0}, {20, -50}, {11, 5}, {21, -50}, {12, 0}, {22, -45}, {13, 5}, {23, -45}})}})
    for (const bool full : {false, true}) {
      for (const std::string& rest : {line, arc}) {  // refused; then the question, answered No
        SCOPED_TRACE(kind + (full ? " on a full list" : "") + (rest == arc ? " beside an arc" : ""));
        calc::CurveType = calc::CurveEllipse, calc::PolylineCount = 3, calc::NcPair.z1 = full ? 7 : 30;
        calc::CalcNoncircularPair();
        ASSERT_EQ(common::PairMessages().size() == 12, full);
        const std::vector<std::string> pair = common::PairMessages();
        common::DataChanged = 0;
        testsupport::Put(path, Dxf(rest + entity));
        dialogs_.Then(ScriptedAnswer::File(path));
        if (rest == arc) dialogs_.Then(ScriptedAnswer::Choose(1));
        app::MenuItemClick("mi_fileImportDXF");
        // Nothing taken: the curve, the design and the pair's list as they were.
        EXPECT_EQ(std::tuple(common::AbortFlag, calc::CurveType, calc::PolylineCount, common::DataChanged),
                  std::tuple(1, calc::CurveEllipse, 3, 0));
        EXPECT_EQ(common::PairMessages(), pair);
        if (kind != "SOLID") { EXPECT_EQ(common::MsgText[1], "Error  : DXF: " + kind); }
        const std::string said = "not read: " + kind + " (1)", asked = dialogs_.Asked().back().text;
        EXPECT_NE(asked.find(said), std::string::npos) << asked;
        if (rest == line) { EXPECT_EQ(asked, "DXF file " + path + ": no pitch curve around the origin !; " + said); }
      }
      // Yes: the curve of the rest, and the new pair's list.
      dialogs_.Then(ScriptedAnswer::File(path)).Then(ScriptedAnswer::Choose(0));
      app::MenuItemClick("mi_fileImportDXF");
      EXPECT_EQ(std::tuple(common::AbortFlag, calc::CurveType), std::tuple(0, calc::CurvePolyline));
      EXPECT_TRUE(common::ShownMessagesAreCalculated());
    }
}
