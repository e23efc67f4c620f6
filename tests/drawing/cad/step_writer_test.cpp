// The STEP device read back by an independent reader, OpenCASCADE's STEP
// reader in its command interpreter, with its default settings: each gear of
// the reference designs and a gear of 100 teeth with a bore is one valid
// solid of the face width times the area inside its tooth outline less its
// bore (integrated as a reader does by default), with a side face between
// every two corners but few faces to a flank, no edge shorter than 0.02 mm
// where the outline runs on smoothly nor than a micrometre anywhere, caps
// cut into sectors and no C0 surface or curve, nothing the check of the
// Boolean operations' arguments finds, and halves where a plane through the
// axis of a gear without a bore cuts it; a staircase
// polyline's teeth stay inside its tip curve; a body without height, and
// one that falls apart into pieces, are refused with a message; pitch
// curves, the pair and a diagram are edges, each pitch curve one chain of a
// few smooth curves; bodies nest holes and islands;
// an outline that crosses itself is refused, and the user is told; the
// carrier plate is a solid with its two bearing bores and ends that are
// arcs of their circles, the rack for manufacture one of its teeth (with
// bores too); the file is the same on every run and in every locale.
#include "drawing/cad/step_writer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <algorithm>
#include <clocale>
#include <cmath>
#include <utility>
#include <numbers>

#include "common/file_checks.h"
#include "drawing/gear_picture_inputs.h"
#include "drawing/gear_pictures.h"
#include "drawing/phi_diagrams.h"
#include "drawing/outlines/pitch_track.h"
#include "drawing/drawing_test_support.h"
#include "drawing/gear_designs.h"
#include "platform/clock.h"
#include "support/occt_draw.h"
#include "drawing/cad/step_gear_checks.h"

namespace {

using namespace drawing;
using drawingtest::DrawingTest;
using drawingtest::GearDesign;
using testsupport::StepShape;
using drawingtest::Corners;
using drawingtest::ExpectGearSolid;

constexpr double Pi = std::numbers::pi;

// Where two files begin to differ, for the failure message.
std::string FirstDifference(const std::string& a, const std::string& b) {
  std::size_t at = 0;
  while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
  const std::size_t from = a.rfind('\n', at) == std::string::npos ? 0 : a.rfind('\n', at) + 1;
  return "\n" + a.substr(from, 160) + "\n<>\n" + b.substr(from, 160);
}

// How far the sketch's lines and curves stray from the closed run between their ends (arcs, centre cuts aside).
double FarthestFromRun(const step::Path& run, const step::Sketch& s) {
  const auto index = [&](std::size_t v, std::size_t k = 0) {
    while (k < run.size() && (run[k].x != s.x[v] || run[k].y != s.y[v])) ++k;
    return k;
  };
  double farthest = 0;
  for (const step::Edge& e : s.edges) {
    const std::size_t a = index(e.from), b = index(e.to);
    for (double u = 0; u <= 1 && !e.arc && a < run.size() && b < run.size(); u += 1.0 / 32) {
      const double v = 1 - u, w[4] = {v * v * v, 3 * v * v * u, 3 * v * u * u, u * u * u};
      double x = v * s.x[e.from] + u * s.x[e.to], y = v * s.y[e.from] + u * s.y[e.to], nearest = 1e30;
      if (!e.poles.empty()) x = y = 0;
      for (std::size_t k = 0; k < e.poles.size(); k += 2) x += w[k / 2] * e.poles[k], y += w[k / 2] * e.poles[k + 1];
      for (std::size_t k = a; k != b; k = (k + 1) % run.size()) {
        const step::Point &p = run[k], &q = run[(k + 1) % run.size()];
        const double dx = q.x - p.x, dy = q.y - p.y;
        const double t = std::clamp(((x - p.x) * dx + (y - p.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
        nearest = std::min(nearest, std::hypot(x - p.x - t * dx, y - p.y - t * dy));
      }
      farthest = std::max(farthest, nearest);
    }
  }
  return farthest;
}

class StepWriterTest : public DrawingTest {
 protected:
  StepWriterTest() : DrawingTest("step_writer"), clock_(platform::LocalDateTime{2026, 3, 9, 10, 30, 0}) {}

  // A gear picture (DrawGears code) written as STEP; the file's name.
  std::string DrawStep(int code, const std::string& name) {
    const std::string path = scratch_.Path(name);
    dialogs_.Then(platform::ScriptedAnswer::File(path));
    DrawGears(static_cast<std::uint16_t>(code), CadDeviceStep);
    EXPECT_EQ(common::AbortFlag, 0) << name;
    return path;
  }
  StepShape Read(const std::string& file, bool edgeLengths = false) {
    return testsupport::ReadStepShape(scratch_.Dir().string(), file, true, edgeLengths);
  }

  platform::ScopedClock clock_;
};

// ---- Gears --------------------------------------------------------------------------------

// Every gear of the reference designs (reference_designs.h: every curve
// family, a hundred teeth, teeth cut under, polylines of 360 and 1000
// points, polygons) as readers take it by default: one valid solid of its
// outline less its bore (ExpectGearSolid), nothing for the check of the
// Boolean operations' arguments to find, no edge shorter than a
// micrometre; and a gear without a bore, cut by the half-spaces on either
// side of a plane through its axis, falls into two halves that make the
// whole, neither empty (its caps' sectors meet on the axis, where the plane
// passes; the sectors' common corner a hair beside it, where they met
// before, left one half empty in 6 of these gears). An outline that
// crosses itself is refused, with the reason.
// The lines and curves keep to the outline within a hundredth of the module.
TEST_F(StepWriterTest, ReferenceGearsAreSolidsThatHalveAlongTheAxis) {
  struct Written {
    const drawingtest::TReferenceDesign* design;
    int gear;
    drawingtest::Polygon outline;
    double shortSide;  // of the module its teeth are cut with
  };
  std::vector<Written> written;
  std::vector<std::string> files;
  for (const drawingtest::TReferenceDesign& design : drawingtest::ReferenceDesigns()) {
    drawingtest::SetReferenceDesign(design);
    calc::CalcNoncircularPair();
    ASSERT_EQ(common::FatalFlag, 0) << design.Name;
    for (const int gear : {1, 2}) {
      SCOPED_TRACE(design.Name + " gear " + std::to_string(gear));
      common::ClearErrorMessages();
      drawingtest::Polygon outline = drawingtest::GearOutline(gear);
      ASSERT_GT(outline.size(), 100u);
      const std::string name = design.Name + "_" + std::to_string(gear) + ".stp";
      if (drawingtest::FirstCrossing(outline)) {
        // An outline that crosses itself (where pointed flanks meet below
        // the tip, or gear 2 meets a corner) bounds no material: no file,
        // and the user is told.
        dialogs_.Then(platform::ScriptedAnswer::File(scratch_.Path(name)));
        DrawGears(static_cast<std::uint16_t>(gear), CadDeviceStep);
        EXPECT_EQ(common::AbortFlag, 1);
        EXPECT_FALSE(std::filesystem::exists(scratch_.Path(name)));
        ASSERT_GE(common::MsgCount, 1);
        EXPECT_EQ(common::MsgText[1], "Error  : self-crossing outline, not one solid; no STEP file written");
        continue;
      }
      files.push_back(DrawStep(gear, name));
      EXPECT_EQ(common::MsgCount, 0) << common::MsgText[1];
      const step::SmoothLimits limits = step::SmoothLimits::ForModule(static_cast<double>(ToothHeightModule()));
      step::Path run;
      for (const auto& [x, y] : outline) run.push_back({x, y});
      step::Slab slab;
      ASSERT_TRUE(step::MakeSlab(step::Loop{run}, {}, 0, 1, slab, nullptr, limits));
      EXPECT_LE(FarthestFromRun(run, slab.sketch), 0.01 * ToothHeightModule());
      written.push_back({&design, gear, std::move(outline), limits.shortSide});
    }
  }
  if (!testsupport::OcctDrawPresent()) GTEST_SKIP() << "occt-draw (OpenCASCADE's STEP reader) is not installed";
  // (Read in two runs of the reader at once.)
  const std::vector<StepShape> shapes =
      testsupport::ReadStepShapes(scratch_.Dir().string(), files, {true, true, true}, 2);
  for (std::size_t i = 0; i < written.size(); ++i) {
    const Written& w = written[i];
    const StepShape& shape = shapes[i];
    SCOPED_TRACE(w.design->Name + " gear " + std::to_string(w.gear));
    // (The design's face width and bore, for the solid's volume.)
    drawingtest::SetReferenceDesign(*w.design);
    ExpectGearSolid(shape, w.outline, w.gear, w.shortSide);
    EXPECT_TRUE(shape.bopValid) << shape.output;
    EXPECT_GE(shape.shortestEdge, 1e-3) << shape.output;
    if (calc::SpurGearData.BoreDiameter[w.gear] > 0) continue;
    EXPECT_GE(shape.halfSolids[0], 1) << shape.output;
    EXPECT_GE(shape.halfSolids[1], 1) << shape.output;
    EXPECT_NEAR((shape.halfVolumes[0] + shape.halfVolumes[1]) / shape.volume, 1, 1e-5) << shape.output;
  }
}

// Gear 2 of the default ellipse with z1 = 25 and k = 4: 100 teeth, one
// valid solid, its caps cut into sectors.
TEST_F(StepWriterTest, GearOfAHundredTeethIsOneSolid) {
  if (!testsupport::OcctDrawPresent()) GTEST_SKIP() << "occt-draw (OpenCASCADE's STEP reader) is not installed";
  drawingtest::SetDefaultDesign();
  calc::NcPair.z1 = 25;
  calc::NcPair.k = 4;
  calc::SpurGearData.BoreDiameter[2] = 30;
  calc::CalcNoncircularPair();
  ASSERT_EQ(common::FatalFlag, 0);
  common::ClearErrorMessages();
  const drawingtest::Polygon outline = drawingtest::GearOutline(2);
  ASSERT_FALSE(drawingtest::FirstCrossing(outline));
  const StepShape shape = Read(DrawStep(2, "hundred.stp"));
  EXPECT_EQ(common::MsgCount, 0) << common::MsgText[1];
  ExpectGearSolid(shape, outline, 2);
}

// The default ellipse's outlines are simple: the default design has to be
// solid in every case.
TEST_F(StepWriterTest, DefaultGearOutlinesAreSimple) {
  ASSERT_TRUE(drawingtest::CalculateGearDesign(GearDesign::Default));
  EXPECT_FALSE(drawingtest::FirstCrossing(drawingtest::GearOutline(1)));
  EXPECT_FALSE(drawingtest::FirstCrossing(drawingtest::GearOutline(2)));
}


// A staircase polyline (linear interpolation off): the pitch curves jump
// at its points, and the teeth follow them as they follow a polygon's
// corners, inside the tip curve (the farthest pitch point and the
// addendum), not hundreds of millimetres out along a slope taken across a
// step. The STEP file is one valid solid per gear, or refused with a
// message.
TEST_F(StepWriterTest, StaircasePolylineGearsStayInsideTheirTipCurves) {
  if (!testsupport::OcctDrawPresent()) GTEST_SKIP() << "occt-draw (OpenCASCADE's STEP reader) is not installed";
  drawingtest::SetDefaultDesign();
  calc::CurveType = calc::CurvePolyline;
  calc::LinearInterpolation = 0;
  // Twelve steps, each a twentieth of a micro-radian past a point where the
  // curve is sampled (the drive angle in steps of a thousandth of a
  // pitch), where a difference over a tenth of a micro-radian reaches
  // across it.
  const Real h = 2 * std::numbers::pi_v<Real> / (calc::NcPair.z1 * 1000);
  calc::PolylineCount = 12;
  for (int i = 1; i <= 12; ++i)
    calc::PolylinePoints[i] = {std::round((i - 1) * std::numbers::pi_v<Real> / 6 / h) * h + 5e-8L,
                               50 + 4 * std::cos((i - 1) * Pi / 3)};
  calc::CalcNoncircularPair();
  ASSERT_EQ(common::FatalFlag, 0);
  const auto& g = calc::SpurGearData;
  const double mn = static_cast<double>(g.NormalModule);
  for (const int gear : {1, 2}) {
    SCOPED_TRACE("gear " + std::to_string(gear));
    // The pitch curve's farthest point from the gear's centre.
    double farthest = 0;
    const TPitchTrack track = TrackPitchCurve(gear);
    for (std::size_t i = 0; i < track.X.size(); ++i)
      farthest = std::max(farthest, std::hypot(static_cast<double>(track.X[i]), static_cast<double>(track.Y[i])));
    ASSERT_LT(farthest, 100);
    // The addendum: the deepest the tool cuts, whichever factor it is.
    double addendum = 0;
    for (const int i : {1, 2})
      addendum = std::max({addendum, static_cast<double>(g.haP0Factor[i]), static_cast<double>(g.hfP0Factor[i])});
    const double tip = farthest + mn * addendum + 1e-6;
    const drawingtest::Polygon outline = drawingtest::GearOutline(gear);
    ASSERT_GT(outline.size(), 100u);
    double reach = 0;
    for (const auto& [x, y] : outline) reach = std::max(reach, std::hypot(x, y));
    EXPECT_LE(reach, tip);
    common::ClearErrorMessages();
    const std::string path = scratch_.Path("stairs" + std::to_string(gear) + ".stp");
    dialogs_.Then(platform::ScriptedAnswer::File(path));
    DrawGears(static_cast<std::uint16_t>(gear), CadDeviceStep);
    if (common::MsgCount > 0) {
      EXPECT_EQ(common::MsgText[1].rfind("Error  : STEP: ", 0), 0u) << common::MsgText[1];
      continue;
    }
    const StepShape shape = Read(path);
    EXPECT_EQ(shape.solids, 1) << shape.output;
    EXPECT_TRUE(shape.valid) << shape.output;
  }
}

// Sines of many waves are too tight for their teeth: each gear is a valid
// solid within the tip circle of the pair the rating rated (the curve's
// largest radius plus the addendum of the largest module it gives,
// 2 r1max / z1), or is refused with a message; never a gear reaching far
// beyond it.
TEST_F(StepWriterTest, ManyWaveSinesGiveGearsInsideTheirTipCircleOrNone) {
  if (!testsupport::OcctDrawPresent()) GTEST_SKIP() << "occt-draw (OpenCASCADE's STEP reader) is not installed";
  // (A hundred waves, the teeth far out along them; a million, beyond what
  // the track resolves.)
  for (const std::int32_t waves : {100, 1000000}) {
    drawingtest::SetDefaultDesign();
    calc::CurveType = calc::CurveSine;
    calc::SineCurve = {50, 5, waves};
    calc::CalcNoncircularPair();
    ASSERT_EQ(common::FatalFlag, 0);
    const auto& g = calc::SpurGearData;
    const double module = static_cast<double>(2 * calc::RadiusExtremes.r1max / calc::NcPair.z1);
    // (The curves' own largest radii: rw0 + A, and a less rw0 - A.)
    const double largest[3] = {0, 55, static_cast<double>(calc::NcPair.a) - 45};
    for (const int gear : {1, 2}) {
      SCOPED_TRACE("N " + std::to_string(waves) + " gear " + std::to_string(gear));
      common::ClearErrorMessages();
      const std::string path = scratch_.Path("sine" + std::to_string(gear) + ".stp");
      std::filesystem::remove(path);
      dialogs_.Then(platform::ScriptedAnswer::File(path));
      DrawGears(static_cast<std::uint16_t>(gear), CadDeviceStep);
      if (common::MsgCount > 0) {
        EXPECT_EQ(common::MsgText[1].rfind("Error  : STEP: ", 0), 0u) << common::MsgText[1];
        EXPECT_FALSE(std::filesystem::exists(path));
        continue;
      }
      const StepShape shape = Read(path);
      EXPECT_EQ(shape.solids, 1) << shape.output;
      EXPECT_TRUE(shape.valid) << shape.output;
      const double tip = largest[gear] + static_cast<double>(g.hfP0Factor[gear]) * module + 1e-3;
      for (const int k : {0, 1, 3, 4}) EXPECT_LE(std::fabs(shape.box[k]), tip) << shape.output;
    }
  }
}

// A face width of a micrometre is no solid: rather than a file without the
// gear, none (the previous one stays), and the user is told.
TEST_F(StepWriterTest, GearWithoutHeightIsRefused) {
  ASSERT_TRUE(drawingtest::CalculateGearDesign(GearDesign::Default));
  calc::SpurGearData.FaceWidth = 1e-6L;
  calc::SpurGearData.GearFaceWidth[1] = 1e-6L;
  const std::string path = scratch_.Path("flat.stp");
  testsupport::Put(path, "previous");
  common::AskBeforeOverwrite = 0;
  common::ClearErrorMessages();
  dialogs_.Then(platform::ScriptedAnswer::File(path));
  DrawGears(1, CadDeviceStep);
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(testsupport::Slurp(path), "previous");
  const std::string message = drawing::TooThinForSolidText("STEP");
  ASSERT_GE(common::MsgCount, 1);
  EXPECT_EQ(common::MsgText[1], "Error  : " + message);
  ASSERT_FALSE(dialogs_.Asked().empty());
  EXPECT_EQ(dialogs_.Asked().back().text, message);
  EXPECT_EQ(scratch_.Entries(), 1u) << "no temporary file is left";
}

// ---- Edges ----------------------------------------------------------------------------------

TEST_F(StepWriterTest, PitchCurvesPairAndDiagramAreEdges) {
  if (!testsupport::OcctDrawPresent()) GTEST_SKIP() << "occt-draw (OpenCASCADE's STEP reader) is not installed";
  ASSERT_TRUE(drawingtest::CalculateGearDesign(GearDesign::Default));
  // Both pitch curves in 1-degree steps, each one chain of a few smooth
  // curves (no curve with kinks, no 360 loose lines: as many vertices as
  // edges, one wire each), and the centre line.
  const StepShape curves = Read(DrawStep(5, "curves.stp"));
  EXPECT_EQ(curves.solids, 0) << curves.output;
  EXPECT_EQ(curves.faces, 0);
  EXPECT_EQ(curves.wires, 2) << curves.output;
  EXPECT_EQ(curves.vertices, curves.edges - 1 + 2) << curves.output;
  EXPECT_GE(curves.edges, 2 + 1);
  EXPECT_LE(curves.edges, 2 * 36 + 1) << curves.output;
  EXPECT_TRUE(curves.valid);
  EXPECT_FALSE(curves.c0) << curves.output;
  // The pair: both outlines (an edge between every two corners, a chain
  // each), both pitch curves, the centre line, no solid.
  const StepShape pair = Read(DrawStep(0, "pair.stp"));
  EXPECT_EQ(pair.solids, 0);
  const drawingtest::Polygon outline1 = drawingtest::GearOutline(1), outline2 = drawingtest::GearOutline(2);
  const int corners = Corners(outline1, 20) + Corners(outline2, 20);
  EXPECT_GE(pair.edges, corners) << pair.output;
  EXPECT_LE(pair.edges, static_cast<int>(outline1.size() + outline2.size()) / 2 + 2 * 36 + 1) << pair.output;
  EXPECT_EQ(pair.wires, 4) << pair.output;
  // A diagram: its axes, grid and curve; its texts write nothing.
  const std::string path = scratch_.Path("diagram.stp");
  dialogs_.Then(platform::ScriptedAnswer::File(path));
  common::EnterDiagramLimits = false;
  ShowDiagrams(2, CadDeviceStep);
  ASSERT_EQ(common::AbortFlag, 0);
  const StepShape diagram = Read(path);
  EXPECT_EQ(diagram.solids, 0);
  EXPECT_GT(diagram.edges, 20) << diagram.output;
  EXPECT_TRUE(diagram.valid);
}

// ---- Bodies ---------------------------------------------------------------------------------

TEST_F(StepWriterTest, BodiesNestHolesAndIslands) {
  if (!testsupport::OcctDrawPresent()) GTEST_SKIP() << "occt-draw (OpenCASCADE's STEP reader) is not installed";
  const std::string path = scratch_.Path("plate.stp");
  Write(CadDeviceStep, "plate.stp", [] {
    CadDrawingFrame(0, 0, 100, 100, 5);
    CadBeginTables(0);
    CadInsertLogos();
    CadBeginBody();
    // A plate drawn clockwise, a round hole, a square hole drawn in two
    // pieces with an island in it; and a line that bounds nothing.
    CadMoveTo(0, 0);
    CadLineTo(0, 100);
    CadLineTo(100, 100);
    CadLineTo(100, 0);
    CadLineTo(0, 0);
    CadCircle(25, 25, 10);
    CadMoveTo(50, 50);
    CadLineTo(90, 50);
    CadLineTo(90, 90);
    CadMoveTo(50, 50);
    CadLineTo(50, 90);
    CadLineTo(90, 90);
    CadRectangle(60, 60, 80, 80);
    CadLine(10, 80, 30, 80);
    CadEndBody();
    // Outside the body: an arc and a circle, as edges.
    CadArc(150, 50, 0, 90, 10, 90);
    CadCircle(150, 50, 5);
    CadEndSection();
  });
  const StepShape shape = Read(path);
  EXPECT_EQ(shape.solids, 2) << shape.output;
  EXPECT_TRUE(shape.valid) << shape.output;
  // (Integrated as readers do by default: within a millionth.)
  EXPECT_NEAR(shape.volume / (5 * (100 * 100 - Pi * 100 - 40 * 40 + 20 * 20)), 1, 1e-6) << shape.output;
  // The solids' edges (plate 3 x 4 + 3 for the round hole + 3 x 4, island
  // 3 x 4) and the line, the arc and the circle.
  EXPECT_EQ(shape.edges, 12 + 3 + 12 + 12 + 3) << shape.output;
  EXPECT_EQ(common::MsgCount, 0);
  // The solids are the part the file is named after, the rest its lines.
  const std::string text = testsupport::Slurp(path);
  EXPECT_NE(text.find("PRODUCT('plate','plate'"), std::string::npos);
  EXPECT_NE(text.find("PRODUCT('plate lines','plate lines'"), std::string::npos);
}

// A body is one part: two pieces of material side by side (an outline that
// ran off into a loop of its own) are refused, with the reason, and the
// previous file stays.
TEST_F(StepWriterTest, BodyThatFallsApartIsRefused) {
  const std::string path = scratch_.Path("apart.stp");
  testsupport::Put(path, "previous");
  common::AskBeforeOverwrite = 0;
  dialogs_.Then(platform::ScriptedAnswer::File(path));
  CadOpenOutput(CadDeviceStep);
  ASSERT_EQ(common::AbortFlag, 0);
  CadDrawingFrame(0, 0, 100, 100, 5);
  CadBeginBody();
  CadRectangle(0, 0, 40, 40);
  CadRectangle(60, 0, 100, 40);
  CadEndBody();
  CadCloseOutput();
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(testsupport::Slurp(path), "previous");
  const std::string message = "outline falls apart into 2 pieces, not one solid; no STEP file written";
  ASSERT_GE(common::MsgCount, 1);
  EXPECT_EQ(common::MsgText[1], "Error  : " + message);
  EXPECT_EQ(scratch_.Entries(), 1u) << "no temporary file is left";
}

TEST_F(StepWriterTest, ArcsOfABodyAreArcsWhicheverWayTheyAreDrawn) {
  if (!testsupport::OcctDrawPresent()) GTEST_SKIP() << "occt-draw (OpenCASCADE's STEP reader) is not installed";
  const std::string path = scratch_.Path("rounded.stp");
  Write(CadDeviceStep, "rounded.stp", [] {
    CadDrawingFrame(0, 0, 100, 60, 5);
    CadBeginTables(0);
    CadInsertLogos();
    CadBeginBody();
    // A plate of 100 x 60 with corners rounded to 10, drawn clockwise,
    // its right side and one corner the other way round.
    CadLine(10, 60, 90, 60);
    CadArc(90, 50, 90, 0, 10, -90);
    CadLine(100, 10, 100, 50);
    CadArc(90, 10, -90, 0, 10, 90);
    CadLine(90, 0, 10, 0);
    CadArc(10, 10, 270, 180, 10, -90);
    CadLine(0, 10, 0, 50);
    CadArc(10, 50, 180, 90, 10, -90);
    // A slot of width 16 round (40, 30) .. (60, 30), counter-clockwise.
    CadLine(40, 22, 60, 22);
    CadArc(60, 30, -90, 90, 8, 180);
    CadLine(60, 38, 40, 38);
    CadArc(40, 30, 90, 270, 8, 180);
    CadEndBody();
    CadEndSection();
  });
  const StepShape shape = Read(path);
  EXPECT_EQ(shape.solids, 1) << shape.output;
  EXPECT_TRUE(shape.valid) << shape.output;
  const double plate = 100 * 60 - (4 - Pi) * 10 * 10, slot = 20 * 16 + Pi * 8 * 8;
  EXPECT_NEAR(shape.volume / (5 * (plate - slot)), 1, 1e-6) << shape.output;
  // Four sides and four corners, the slot's two sides and two ends, the top
  // and the bottom.
  EXPECT_EQ(shape.faces, 8 + 4 + 2) << shape.output;
  EXPECT_EQ(common::MsgCount, 0);
}

// Edges end at every corner and follow a smooth run as a few curves.
TEST_F(StepWriterTest, EdgesEndAtCornersAndFollowSmoothRuns) {
  if (!testsupport::OcctDrawPresent()) GTEST_SKIP() << "occt-draw (OpenCASCADE's STEP reader) is not installed";
  const std::string path = scratch_.Path("runs.stp");
  Write(CadDeviceStep, "runs.stp", [] {
    CadDrawingFrame(0, 0, 100, 100, 0);
    CadBeginTables(0);
    CadInsertLogos();
    // A square in one run of one pen: its corners part four edges; a step
    // of 5e-8 at a corner is no edge of its own, nor are the ends of a side
    // drawn in ten pieces on one line.
    SetCadColor(1);
    CadMoveTo(0, 0);
    for (const auto& [x, y] : {std::pair{10.0, 0.0}, {10 + 5e-8, 5e-8}, {10.0, 10.0}, {0.0, 10.0}})
      CadLineTo(x, y);
    for (int i = 9; i >= 0; --i) CadLineTo(0, i);
    // A quarter circle of 90 lines: a few smooth curves, in one pen; in
    // two, parted where the pen changes.
    for (const int split : {90, 45}) {
      const double r = split == 90 ? 50 : 70;
      CadMoveTo(r, 0);
      for (int i = 1; i <= 90; ++i) {
        SetCadColor(i <= split ? 1 : 2);
        CadLineTo(r * std::cos(i * Pi / 180), r * std::sin(i * Pi / 180));
      }
    }
    CadEndSection();
  });
  const StepShape shape = Read(path);
  EXPECT_EQ(shape.solids, 0) << shape.output;
  EXPECT_TRUE(shape.valid) << shape.output;
  // The square's four sides, and a chain of at most six curves per quarter.
  EXPECT_GE(shape.edges, 4 + 1 + 2) << shape.output;
  EXPECT_LE(shape.edges, 4 + 6 + 6) << shape.output;
  EXPECT_EQ(shape.wires, 3) << shape.output;
  EXPECT_FALSE(shape.c0) << shape.output;
  // The runs end where they were drawn.
  EXPECT_NEAR(shape.box[0], 0, 1e-7);
  EXPECT_NEAR(shape.box[4], 70, 1e-7);
}

// A bow tie bounds no one area: rather than a file of its edges, none (the
// previous one stays), and the user is told.
TEST_F(StepWriterTest, OutlineThatCrossesItselfIsRefused) {
  const std::string path = scratch_.Path("bowtie.stp");
  testsupport::Put(path, "previous");
  common::AskBeforeOverwrite = 0;
  Write(CadDeviceStep, "bowtie.stp", [] {
    CadDrawingFrame(0, 0, 100, 100, 5);
    CadBeginBody();
    CadMoveTo(0, 0);
    CadLineTo(40, 40);
    CadLineTo(40, 0);
    CadLineTo(0, 60);
    CadLineTo(0, 0);
    CadEndBody();
  });
  const std::string message = "self-crossing outline, not one solid; no STEP file written";
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(testsupport::Slurp(path), "previous");
  ASSERT_EQ(common::MsgCount, 1);
  EXPECT_EQ(common::MsgText[1], "Error  : " + message);
  ASSERT_FALSE(dialogs_.Asked().empty());
  EXPECT_EQ(dialogs_.Asked().back().text, message);
  EXPECT_EQ(scratch_.Entries(), 1u) << "no temporary file is left";
}

TEST_F(StepWriterTest, CarrierPlateHasItsBearingBores) {
  if (!testsupport::OcctDrawPresent()) GTEST_SKIP() << "occt-draw (OpenCASCADE's STEP reader) is not installed";
  ASSERT_TRUE(drawingtest::CalculateGearDesign(GearDesign::Eccentric));
  // Arcs of polylines as coarse chords, as the settings may ask: the
  // plate's ends are arcs of their circles all the same.
  common::CadSettings.CadArcsToLines = 1;
  common::CadSettings.CadArcResolution = 1;
  const std::string path = scratch_.Path("carrier.stp");
  dialogs_.Then(platform::ScriptedAnswer::Enter("100"))
      .Then(platform::ScriptedAnswer::Enter("0"))
      .Then(platform::ScriptedAnswer::File(path));
  DrawGears(8, CadDeviceStep);
  ASSERT_EQ(common::AbortFlag, 0);
  const StepShape shape = Read(path);
  EXPECT_EQ(shape.solids, 1) << shape.output;
  EXPECT_TRUE(shape.valid) << shape.output;
  // A slot of half width h = 20 (the larger bore) round both centres 100
  // apart, its ends half circles, less the bores of 20 and 16.
  const double h = 20, plate = Pi * h * h + 2 * h * 100, bores = Pi * (10 * 10 + 8 * 8);
  EXPECT_NEAR(shape.volume / (drawingtest::GearFaceWidth(1) * (plate - bores)), 1, 1e-6) << shape.output;
  // The two sides, the two ends and the two bores, the top and the bottom.
  EXPECT_EQ(shape.faces, 8) << shape.output;
}

TEST_F(StepWriterTest, RackForManufactureIsASolid) {
  if (!testsupport::OcctDrawPresent()) GTEST_SKIP() << "occt-draw (OpenCASCADE's STEP reader) is not installed";
  ASSERT_TRUE(drawingtest::CalculateGearDesign(GearDesign::FocalEllipse));
  // Ten teeth, no bores.
  dialogs_.Then(platform::ScriptedAnswer::Enter("10")).Then(platform::ScriptedAnswer::Enter("0"));
  const StepShape shape = Read(DrawStep(9, "rack.stp"));
  EXPECT_EQ(shape.solids, 1) << shape.output;
  EXPECT_TRUE(shape.valid) << shape.output;
  // The body 8 mn high over ten pitches; each pitch adds its space's
  // trapezoid below the pitch line (depth hf) and loses its tooth's above
  // it (height ha), the flanks at the pressure angle.
  const auto& g = calc::SpurGearData;
  const double mn = static_cast<double>(g.NormalModule), p = Pi * mn;
  const double hf = mn * static_cast<double>(g.hfP0Factor[2]), ha = mn * static_cast<double>(g.haP0Factor[2]);
  const double t = std::tan(static_cast<double>(g.PressureAngle) * Pi / 180);
  const double area = 10 * (p * 8 * mn + hf * (p / 2 - hf * t) - ha * (p / 2 - ha * t));
  EXPECT_NEAR(shape.volume / (drawingtest::GearFaceWidth(1) * area), 1, 1e-6) << shape.output;
  // Forty teeth (caps cut into sectors from the rack's middle) with three
  // bores of 4 mm 20 mm apart: each bore in the sector that holds it, the
  // cuts clear of them.
  ASSERT_GE(mn, 1);
  dialogs_.Then(platform::ScriptedAnswer::Enter("40"))
      .Then(platform::ScriptedAnswer::Enter("3"))
      .Then(platform::ScriptedAnswer::Enter("4"))
      .Then(platform::ScriptedAnswer::Enter("20"));
  const StepShape bored = Read(DrawStep(9, "bored.stp"));
  EXPECT_EQ(bored.solids, 1) << bored.output;
  EXPECT_TRUE(bored.valid) << bored.output;
  EXPECT_FALSE(bored.c0) << bored.output;
  const double boredArea = 4 * area - 3 * Pi * 2 * 2;
  EXPECT_NEAR(bored.volume / (drawingtest::GearFaceWidth(1) * boredArea), 1, 1e-5) << bored.output;
}

// ---- The file -------------------------------------------------------------------------------

TEST_F(StepWriterTest, SameFileOnEveryRunAndInEveryLocale) {
  ASSERT_TRUE(drawingtest::CalculateGearDesign(GearDesign::Default));
  common::AskBeforeOverwrite = 0;
  const std::string first = testsupport::Slurp(DrawStep(1, "gear.stp"));
  const std::string second = testsupport::Slurp(DrawStep(1, "gear.stp"));
  EXPECT_FALSE(first.empty());
  EXPECT_TRUE(first == second) << "two runs wrote different files:" << FirstDifference(first, second);
  EXPECT_NE(first.find("'2026-03-09T10:30:00Z'"), std::string::npos);
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "de_DE")) {
    GTEST_SKIP() << "no German locale installed";
  }
  const std::string german = testsupport::Slurp(DrawStep(1, "gear.stp"));
  std::setlocale(LC_ALL, saved.c_str());
  EXPECT_TRUE(german == first) << "the numbers depend on the locale:" << FirstDifference(first, german);
}

TEST_F(StepWriterTest, CancelledPictureKeepsThePreviousFile) {
  testsupport::Put(scratch_.Path("old.stp"), "previous");
  dialogs_.Then(platform::ScriptedAnswer::File(scratch_.Path("old.stp")))
      .Then(platform::ScriptedAnswer::Press(platform::DialogButton::Yes));
  CadOpenOutput(CadDeviceStep);
  ASSERT_EQ(common::AbortFlag, 0);
  CadDefaultFrame();
  CadLine(0, 0, 10, 10);
  common::AbortFlag = 1;  // the picture stops
  CadCloseOutput();
  EXPECT_EQ(testsupport::Slurp(scratch_.Path("old.stp")), "previous");
  EXPECT_EQ(scratch_.Entries(), 1u) << "no temporary file is left";
}

}  // namespace
