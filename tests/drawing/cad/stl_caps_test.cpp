// The gears and pitch curves of whole designs as STL solids, judged the way
// a slicer does: the top face's triangles sum to the area the walls enclose
// (outline less bore) within 1e-6, none of them is inverted, and where the
// outline does not cross itself no two of them overlap; every solid is
// closed for the independent checker (admesh). The designs: the default
// ellipse, an eccentric disc, a focal ellipse (e = 0.5, constant module), a
// hexagon and an ellipse given as a 360-point polyline; the pitch curves of
// a staircase polyline too (closed at its step at 0 degrees).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <numbers>
#include <regex>
#include <string>
#include <vector>

#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "calc/spur_gear_data.h"
#include "common/graphics_facade.h"
#include "drawing/gear_pictures.h"
#include "drawing/cad/stl_writer.h"
#include "drawing/drawing_test_support.h"
#include "support/file_test_support.h"
#include "support/run_command.h"
#include "support/stl_mesh.h"

namespace {

using drawingtest::DrawingTest;
using testsupport::StlPlan;

constexpr Real Pi = std::numbers::pi_v<Real>;

struct Design {
  std::string name;
  std::function<void()> set;
};

void FocalEllipse() {
  calc::CurveType = calc::CurveFormula;
  calc::PieceCount = 1;
  calc::FormulaPieces[1].EndAngle = 360;
  calc::FormulaPieces[1].Formula = "40/(1-0.5*cos(X))";
  calc::NcPair.z1 = 32;
  calc::NcPair.ModuleMode = 2;
}

void Hexagon() {
  calc::CurveType = calc::CurvePolygon;
  calc::PolygonCurve.Corners = 6;
}

void Eccentric() { calc::CurveType = calc::CurveEccentric; }

// The default ellipse (60 by 50) as 360 points, joined linearly.
void PolylineEllipse() {
  calc::CurveType = calc::CurvePolyline;
  calc::PolylineCount = 360;
  calc::LinearInterpolation = 1;
  const Real a = 60, b = 50;
  for (int i = 1; i <= 360; ++i) {
    const Real phi = (i - 1) * Pi / 180;
    calc::PolylinePoints[i].Phi = phi;
    calc::PolylinePoints[i].R = a * b / std::sqrt(b * b * std::cos(phi) * std::cos(phi) +
                                                    a * a * std::sin(phi) * std::sin(phi));
  }
}

// Twelve points about a circle of 50 mm, 4 mm in and out, not joined
// linearly: a staircase, whose last step runs up to the whole turn and
// steps to the first there.
void Staircase() {
  calc::CurveType = calc::CurvePolyline;
  calc::LinearInterpolation = 0;
  calc::PolylineCount = 12;
  for (int i = 1; i <= 12; ++i) calc::PolylinePoints[i] = {(i - 1) * Pi / 6, 50 + 4 * std::cos((i - 1) * Pi / 3)};
}

class StlCaps : public DrawingTest {
 protected:
  StlCaps() : DrawingTest("stl_caps") {}
  void SetUp() override {
    DrawingTest::SetUp();
    drawingtest::SetDefaultDesign();
    // Bores of 20 and 16 mm: every gear and pitch curve is a body round a
    // hole.
    calc::SpurGearData.BoreDiameter[1] = 20;
    calc::SpurGearData.BoreDiameter[2] = 16;
    common::InitGraphDisplayList();
    common::MessagesEnabled = 0;
    // Named after the design, in the test's own directory, asking nothing.
    common::CadBatchNaming = true;
  }
  void TearDown() override {
    common::CadBatchNaming = false;
    DrawingTest::TearDown();
  }
  bool Calculate(const Design& design) {
    design.set();
    calc::CalcNoncircularPair();
    common::ClearErrorMessages();
    return common::FatalFlag == 0;
  }
  // Drawing code of DrawGears on the STL device; the file's plan.
  StlPlan Draw(int code, const std::string& name) {
    common::CurrentFileName = name;
    drawing::DrawGears(static_cast<std::uint16_t>(code), drawing::CadDeviceStl);
    EXPECT_EQ(common::AbortFlag, 0) << name;
    const testsupport::StlMesh mesh = testsupport::ReadBinaryStl(testsupport::Slurp(name + ".stl"));
    EXPECT_TRUE(mesh.ok) << name;
    return testsupport::PlanOf(mesh);
  }
};

// admesh's summary: closed, consistently oriented, n parts.
void ExpectClosedSolids(const std::string& file, int parts) {
  if (std::system("command -v admesh >/dev/null 2>&1") != 0) return;
  const std::string out = testsupport::RunCommand("admesh '" + file + "' 2>&1");
  const auto value = [&out](const std::string& label) {
    std::smatch m;
    if (!std::regex_search(out, m, std::regex(label + R"( +: +(-?[0-9]+))"))) return -1;
    return std::stoi(m[1]);
  };
  EXPECT_EQ(value("Number of parts"), parts) << file << "\n" << out;
  EXPECT_EQ(value("Total disconnected facets"), 0) << file;
  EXPECT_EQ(value("Facets with 1 disconnected edge"), 0) << file;
  EXPECT_EQ(value("Backwards edges"), 0) << file;
  EXPECT_EQ(value("Facets reversed"), 0) << file;
  EXPECT_EQ(value("Degenerate facets"), 0) << file;
}

// The top face covers exactly the area the walls enclose, with no triangle
// turned over and, for an outline that does not cross itself, none lying on
// another; the bottom face mirrors the top one.
void ExpectSoundCaps(const StlPlan& plan, const std::string& name, bool mustBeSimple) {
  ASSERT_FALSE(plan.top.empty()) << name;
  EXPECT_EQ(static_cast<std::size_t>(plan.bottomFacets), plan.top.size()) << name;
  const int crossings = testsupport::WallCrossings(plan);
  if (mustBeSimple) {
    EXPECT_EQ(crossings, 0) << name;
  }
  // An outline that crosses itself bounds no one area: its faces only
  // close the solid.
  if (crossings > 0) return;
  EXPECT_EQ(plan.invertedTop, 0) << name;
  EXPECT_EQ(plan.invertedBottom, 0) << name;
  const double net = testsupport::WallArea(plan);
  EXPECT_GT(net, 0) << name;
  EXPECT_NEAR(testsupport::TopArea(plan), net, 1e-6 * net) << name;
  EXPECT_EQ(testsupport::TopOverlaps(plan), 0) << name;
}

const std::vector<Design>& Designs() {
  static const std::vector<Design> designs = {
      {"default", [] {}},
      {"eccentric", Eccentric},
      {"focal", FocalEllipse},
      {"hexagon", Hexagon},
      {"polyline_ellipse", PolylineEllipse},
  };
  return designs;
}

TEST_F(StlCaps, GearsOfEveryDesignHaveSoundCaps) {
  for (const Design& design : Designs()) {
    SetUp();
    ASSERT_TRUE(Calculate(design)) << design.name;
    for (const int gear : {1, 2}) {
      const std::string name = design.name + "_gear" + std::to_string(gear);
      const StlPlan plan = Draw(gear, name);
      // The gears whose outlines do not cross themselves in any drawing.
      const bool simple = design.name == "default" || design.name == "eccentric";
      ExpectSoundCaps(plan, name, simple);
      ExpectClosedSolids(name + ".stl", 1);
    }
  }
}

TEST_F(StlCaps, PitchCurvesCloseIntoSolids) {
  std::vector<Design> designs = Designs();
  designs.push_back({"staircase", Staircase});
  for (const Design& design : designs) {
    SetUp();
    ASSERT_TRUE(Calculate(design)) << design.name;
    // Pitch curve 1 and 2 alone, each round its bore; both curves of the
    // pair as two solids side by side.
    for (const int code : {3, 4, 5}) {
      const std::string name = design.name + "_curve" + std::to_string(code);
      const StlPlan plan = Draw(code, name);
      ExpectSoundCaps(plan, name, true);
      ExpectClosedSolids(name + ".stl", code == 5 ? 2 : 1);
    }
  }
}

}  // namespace
