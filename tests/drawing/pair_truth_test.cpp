// The pictures and warnings of the pair against what the pair really is:
// gear 2's pitch curve and the path diagram against the exact rolling
// integral, teeth that interfere warned with their drive angle (and pairs
// that mesh cleanly not), and a curve too wavy for its teeth warned and
// drawn inside its tip curves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <tuple>
#include <vector>

#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "calc/pair_checks.h"
#include "calc/pitch_curve.h"
#include "calc/spur_gear_data.h"
#include "calc/spur_test_pairs.h"
#include "common/equation_matrix.h"
#include "common/kaldvar.h"
#include "common/message_explanations.h"
#include "common/message_help.h"
#include "common/message_list.h"
#include "drawing/cad/cad_device.h"
#include "drawing/drawing_test_support.h"
#include "drawing/gear_pictures.h"
#include "drawing/outlines/bend_check.h"
#include "drawing/outlines/mesh_check.h"
#include "drawing/phi_diagrams.h"
#include "drawing/outlines/pitch_track.h"
#include "drawing/outlines/tooth_contour.h"
#include "drawing/outlines/tooth_warnings.h"
#include "drawing/xy_diagram.h"

namespace {

using drawingtest::Figure;
using drawingtest::LoggingBackEnd;

constexpr Real Pi = std::numbers::pi_v<Real>;

class PairTruth : public drawingtest::DrawingTest {
 protected:
  PairTruth() : DrawingTest("pair_truth") {}
  void SetUp() override {
    DrawingTest::SetUp();
    common::AllocEquationWorkspace();
    drawingtest::SetDefaultDesign();
    drawing::InstallToothWarnings();
  }
  void TearDown() override {
    calc::InstallPairCheck(nullptr);
    DrawingTest::TearDown();
  }
  static void Formula(const std::string& formula) {
    calc::CurveType = calc::CurveFormula;
    calc::PieceCount = 1;
    calc::FormulaPieces[1] = {360, formula};
  }
  // The calculation's messages about the teeth.
  static std::vector<std::string> ToothMessages() {
    calc::CalcNoncircularPair();
    EXPECT_EQ(common::FatalFlag, 0);
    std::vector<std::string> found;
    for (int i = 1; i <= common::MsgCount; ++i) {
      const std::string& m = common::MsgText[i];
      if (m.rfind("Warning: curve too tight", 0) == 0 || m.rfind("Warning: teeth ", 0) == 0 ||
          m == drawing::NoContactWarning() || m == drawing::ApartOnCurveWarning())
        found.push_back(m);
    }
    return found;
  }
  // The modules of the pair's teeth, as the warnings check them.
  static drawing::TMeshModules Modules() { return {drawing::ToothModule(), drawing::ToothHeightModule()}; }
  // The figures of a picture drawn on the screen.
  static std::vector<Figure> Drawn(const std::function<void()>& draw) {
    LoggingBackEnd log;
    drawing::ScopedCadBackEnd scoped(drawing::CadDeviceScreen, log);
    draw();
    return log.figures;
  }
};

// Gear 2's exact rolling angle at the drive angle phi: Simpson's rule on
// r / (a - r) with 20000 steps a turn.
Real ExactRollingAngle(Real phi) {
  const Real a = calc::NcPair.a;
  const int steps = 2 * static_cast<int>(std::ceil(phi / (2 * Pi) * 10000));
  if (steps == 0) return 0;
  const Real h = phi / steps;
  auto rate = [&](Real x) { return calc::PitchRadius(x) / (a - calc::PitchRadius(x)); };
  Real sum = rate(0) + rate(phi);
  for (int i = 1; i < steps; ++i) sum += (i % 2 ? 4 : 2) * rate(i * h);
  return -sum * h / 3;
}

TEST_F(PairTruth, PitchCurveTwoLiesOnTheMatingCurve) {
  // Focal ellipses turning about their foci: a = 100, and gear 2's far
  // point, opposite its pitch point at the start, lies at (75, 0).
  Formula("37.5/(1-0.5*COS(X))");
  calc::CalcNoncircularPair();
  ASSERT_EQ(common::FatalFlag, 0);
  const Real a = calc::NcPair.a;
  EXPECT_NEAR(a, 100, 1e-4);
  const auto figures = Drawn([] { drawing::DrawGears(4, drawing::CadDeviceScreen); });
  std::vector<std::pair<Real, Real>> points;
  for (const Figure& f : figures)
    if (f.kind == "LINE" && f.pen == 21) {
      if (points.empty()) points.emplace_back(f.values[0], f.values[1]);
      points.emplace_back(f.values[2], f.values[3]);
    }
  ASSERT_EQ(points.size(), 361u);
  EXPECT_NEAR(points[180].first, 75, 1e-3);
  EXPECT_NEAR(points[180].second, 0, 1e-3);
  for (int degree = 0; degree <= 360; degree += 15) {
    const Real phi = degree * Pi / 180;
    const Real r2 = a - calc::PitchRadius(phi), psi = ExactRollingAngle(phi);
    const auto& p = points[static_cast<std::size_t>(degree)];
    EXPECT_LT(std::hypot(p.first - r2 * std::cos(Pi + psi), p.second - r2 * std::sin(Pi + psi)), 1e-3) << degree;
  }
  // Turned as the pair at a drive angle turns it, the curve touches
  // curve 1 on the line of centres.
  const drawing::TPitchTrack& track = drawing::PitchTrack(2);
  for (const int degree : {0, 50, 137, 200, 333}) {
    const Real phi = degree * Pi / 180;
    const Real turn = drawing::GearTwoTurn(track, phi) * Pi / 180;
    const auto& p = points[static_cast<std::size_t>(degree)];
    const Real x = a + p.first * std::cos(turn) - p.second * std::sin(turn);
    const Real y = p.first * std::sin(turn) + p.second * std::cos(turn);
    EXPECT_NEAR(x, calc::PitchRadius(phi), 1e-3) << degree;
    EXPECT_NEAR(y, 0, 1e-3) << degree;
  }
}

TEST_F(PairTruth, PathDiagramFollowsTheRollingIntegral) {
  Formula("37.5/(1-0.5*COS(X))");
  calc::CalcNoncircularPair();
  ASSERT_EQ(common::FatalFlag, 0);
  const auto figures = Drawn([] { drawing::ShowDiagrams(1, drawing::CadDeviceScreen); });
  const auto& s = drawing::DiagramState;
  std::vector<std::pair<Real, Real>> points;  // drive angle in degrees, path in degrees
  for (const Figure& f : figures)
    if (f.kind == "LINE" && f.pen == 19) {
      const Real x = (f.values[2] - s.DiagramOriginX) / s.DiagramWidth * s.DiagramXRange + s.DiagramXMin;
      const Real y = (f.values[3] - s.DiagramOriginY) / s.DiagramHeight * s.DiagramYRange + s.DiagramYMin;
      points.emplace_back(x * 180 / Pi, y);
    }
  ASSERT_GE(points.size(), 360u);
  for (const int degree : {90, 180, 270}) {
    const auto& p = points[static_cast<std::size_t>(degree - 1)];
    ASSERT_NEAR(p.first, degree, 1e-9);
    EXPECT_NEAR(p.second, ExactRollingAngle(degree * Pi / 180) * 180 / Pi, 1e-3) << degree;
  }
  EXPECT_NEAR(points[179].second, -180, 1e-3) << "half a turn of the symmetric pair";
}

TEST_F(PairTruth, HexagonWarnsOfItsInterferingTeeth) {
  calc::CurveType = calc::CurvePolygon;
  calc::PolygonCurve.Corners = 6;
  const auto messages = ToothMessages();
  // Its corners: curve 1 pointed, curve 2 notched; the teeth there run
  // into each other as the corners pass the line of centres, once in
  // every sixth of the turn. The first corner is the one at 0°, as tight
  // as the others.
  EXPECT_NE(std::find(messages.begin(), messages.end(), drawing::TightCurveWarning(1, 0)), messages.end());
  ASSERT_EQ(messages.size(), 3u) << ::testing::PrintToString(messages);
  const std::string interfere = messages.back();
  // The largest overlap is that of the outlines at its own drive angle.
  const drawing::TMeshFinding mesh = drawing::CheckMeshing(drawing::GearContour(1), drawing::GearContour(2),
                                                           drawing::PitchTrack(2), calc::NcPair.a, 1, Modules());
  EXPECT_GT(mesh.overlapping, 36);
  EXPECT_LT(mesh.overlapping, 180);
  EXPECT_GE(mesh.firstDegree, 0);
  EXPECT_LT(mesh.firstDegree, 60);
  EXPECT_GT(mesh.largestArea, 1);
  EXPECT_LT(mesh.largestArea, 4);
  EXPECT_EQ(interfere, drawing::InterferenceWarning(mesh.firstDegree, mesh.largestArea));
  EXPECT_EQ(interfere, drawing::InterferenceWarning(5, 1.23L));
  EXPECT_TRUE(mesh.contact);
  const drawing::TMeshingPair pair(drawing::GearContour(1), drawing::GearContour(2), calc::NcPair.a);
  const Real phi = mesh.largestAngle;
  const Real turn2 = drawing::GearTwoTurn(drawing::PitchTrack(2), phi) * Pi / 180;
  EXPECT_NEAR(pair.OverlapArea(phi, turn2), mesh.largestArea, 1e-12);
  // Only the teeth about the line of centres: the same area.
  EXPECT_NEAR(pair.OverlapArea(phi, turn2, Pi * drawing::ToothModule()), mesh.largestArea, 1e-12);
  // Gear 2 turned half a pitch on: teeth in teeth, far more overlap.
  const Real pitchTurn = 2 * Pi / calc::NcPair.z1 / 2;
  EXPECT_GT(pair.OverlapArea(0, drawing::GearTwoTurn(drawing::PitchTrack(2), 0) * Pi / 180 + pitchTurn), 20);
  // Places are named within one turn of gear 1: a polygon's first corner 0° on both gears, not 360°, whatever k.
  for (const int corners : {3, 4, 6})
    for (const int k : {1, 2, 3}) {
      calc::PolygonCurve.Corners = corners, calc::NcPair.k = k;
      const auto named = ToothMessages();
      for (const std::string& tight : {drawing::TightCurveWarning(1, 0), drawing::TightCurveWarning(2, 0)})
        EXPECT_EQ(std::count(named.begin(), named.end(), tight), 1) << corners << " corners, k " << k;
      for (const std::string& m : named)
        EXPECT_TRUE(m.find("first at ") == m.npos || std::stoi(m.substr(m.find("first at ") + 9)) < 360) << m;
    }
}

TEST_F(PairTruth, PairsThatMeshCleanlyAreNotWarned) {
  const std::vector<std::pair<std::string, std::function<void()>>> designs = {
      {"default ellipse", [] {}},
      {"spur", [] { calc::EllipseCurve = {50, 50}; }},
      {"focal ellipse", [] { Formula("37.5/(1-0.5*COS(X))"); }},
      {"focal ellipse z31 constant module",
       [] {
         Formula("40/(1-0.5*COS(X))");
         calc::NcPair.z1 = 31;
         calc::NcPair.ModuleMode = 2;
       }},
      {"formula pieces", [] { calc_test::SetCurveFamily(1); }},
      {"sine", [] { calc_test::SetCurveFamily(3); }},
      {"point fit", [] { calc_test::SetCurveFamily(7); }},
      {"eccentric", [] { calc_test::SetCurveFamily(8); }},
      {"polyline", [] { calc_test::SetCurveFamily(9); }},
      {"eccentric k3",
       [] {
         calc::CurveType = calc::CurveEccentric;
         calc::NcPair.k = 3;
       }},
  };
  for (const auto& [name, setUp] : designs) {
    drawingtest::SetDefaultDesign();
    setUp();
    EXPECT_EQ(ToothMessages(), std::vector<std::string>{}) << name;
  }
}

TEST_F(PairTruth, WavyCurvesWarnAndStayInsideTheirTipCurves) {
  for (const std::string design : {"formula", "sine N 300", "zigzag polyline"}) {
    drawingtest::SetDefaultDesign();
    if (design == "formula") {
      Formula("50+10*SIN(50*X)");
    } else if (design == "sine N 300") {
      calc::CurveType = calc::CurveSine;
      calc::SineCurve = {50, 5, 300};
    } else {
      // 200 points 2 mm in and out about a circle, joined linearly.
      calc::CurveType = calc::CurvePolyline;
      calc::LinearInterpolation = 1;
      calc::PolylineCount = 201;
      for (int i = 1; i <= 201; ++i) calc::PolylinePoints[i] = {(i - 1) * 2 * Pi / 200, i % 2 == 1 ? 52.0L : 48.0L};
    }
    const auto messages = ToothMessages();
    ASSERT_FALSE(messages.empty()) << design;
    EXPECT_EQ(messages[0].rfind("Warning: curve too tight for teeth (1), first at ", 0), 0u) << messages[0];
    EXPECT_EQ(messages[1].rfind("Warning: curve too tight for teeth (2), first at ", 0), 0u) << messages[1];
    const Real a = calc::NcPair.a;
    for (int gear = 1; gear <= 2; ++gear) {
      // The pitch curve densely, from the radius (gear 2 rolled by the
      // exact integral), and the tip height.
      std::vector<Real> cx, cy;
      constexpr int Samples = 40000;
      Real psi = 0;
      for (int i = 0; i < Samples; ++i) {
        const Real phi = 2 * Pi * i / Samples, r = calc::PitchRadius(phi);
        if (gear == 1) {
          cx.push_back(r * std::cos(phi));
          cy.push_back(r * std::sin(phi));
        } else {
          cx.push_back((a - r) * std::cos(Pi + psi));
          cy.push_back((a - r) * std::sin(Pi + psi));
          const Real mid = calc::PitchRadius(phi + Pi / Samples), next = calc::PitchRadius(phi + 2 * Pi / Samples);
          psi -= 2 * Pi / Samples / 6 * (r / (a - r) + 4 * mid / (a - mid) + next / (a - next));
        }
      }
      const Real tip = calc::SpurGearData.hfP0Factor[gear] * drawing::ToothModule();
      // Inside the pitch curve, or within the tip height of it (and of the
      // samples' own spacing).
      auto outside = [&](Real x, Real y) {
        bool inside = false;
        for (std::size_t i = 0, j = cx.size() - 1; i < cx.size(); j = i++)
          if ((cy[i] > y) != (cy[j] > y) && x < (cx[j] - cx[i]) * (y - cy[i]) / (cy[j] - cy[i]) + cx[i]) inside = !inside;
        if (inside) return Real(0);
        // Outside: how far beyond the tip height; a sample within it ends
        // the search.
        Real nearest2 = 1e30;
        for (std::size_t i = 0; i < cx.size() && nearest2 > tip * tip; ++i)
          nearest2 = std::min(nearest2, (x - cx[i]) * (x - cx[i]) + (y - cy[i]) * (y - cy[i]));
        return std::max<Real>(std::sqrt(nearest2) - tip, 0);
      };
      const auto figures = Drawn([&] { drawing::DrawGears(static_cast<std::uint16_t>(gear), drawing::CadDeviceScreen); });
      int lines = 0;
      for (const Figure& f : figures) {
        if (f.kind != "LINE") continue;
        ++lines;
        const Real x1 = f.values[0], y1 = f.values[1], x2 = f.values[2], y2 = f.values[3];
        EXPECT_LT(outside(x1, y1), 0.02) << design << " gear " << gear;
        EXPECT_LT(outside(x2, y2), 0.02) << design << " gear " << gear;
        EXPECT_LT(outside((x1 + x2) / 2, (y1 + y2) / 2), tip / 50 + 0.02) << design << " gear " << gear;
      }
      EXPECT_GT(lines, 10) << design << " gear " << gear;
    }
  }
}

// Each remedy of a tooth finding, followed on a sine (or a hexagon) that
// raises it, clears the finding or shrinks its overlap, as its record says.
TEST_F(PairTruth, RemediesFollowedClearOrShrinkTheirFinding) {
  common::SetProgramIdentity();
  common::PltDirectory = std::string(VOB_SOURCE_DIR) + "/resources";
  // 0 where the finding is gone, else its overlap (1 without; apart: any).
  auto figure = [](const std::string& finding, std::int32_t waves, Real amplitude, std::int32_t z1, Real hfP0 = 1) {
    calc::CurveType = waves > 0 ? calc::CurveSine : calc::CurvePolygon;
    calc::SineCurve = {50, amplitude, waves};
    calc::NcPair.z1 = z1;
    calc::SpurGearData.hfP0Factor.fill(hfP0);
    const std::vector<std::string> found = ToothMessages();
    if (finding == drawing::ApartOnCurveWarning()) return Real(found.size());
    for (const std::string& m : found)
      if (m.rfind(finding, 0) == 0) return m.find(" to ") == std::string::npos ? Real(1) : std::stold(m.substr(m.find(" to ") + 4));
    return Real(0);
  };
  const std::string apart = drawing::ApartOnCurveWarning(), tight = "Warning: curve too tight for teeth (1)",
                    interfere = "Warning: teeth interfere";
  for (const auto& [finding, raised, advice, followed] : std::vector<std::tuple<std::string, Real, std::string, Real>>{
           {apart, figure(apart, 30, 1, 30), "flatter waves", figure(apart, 30, 0.5L, 30)},
           {apart, figure(apart, 30, 1, 30), "fewer waves, each two pitches long", figure(apart, 15, 1, 30)},
           {tight, figure(tight, 30, 1, 10), "lower or fewer waves", figure(tight, 30, 0.5L, 10)},
           {tight, figure(tight, 30, 1, 10), "more teeth z1", figure(tight, 30, 1, 16)},
           {interfere, figure(interfere, 30, 1, 40), "flatter waves", figure(interfere, 30, 0.5L, 40)},
           {interfere, figure(interfere, 30, 1, 40), "many more teeth z1", figure(interfere, 30, 1, 90)},
           {interfere, figure(interfere, 30, 1, 40), "smaller tool dedendum hfP0/mn", figure(interfere, 30, 1, 40, 0.8L)},
           {interfere, figure(interfere, 0, 0, 30), "many more teeth z1", figure(interfere, 0, 0, 120)}}) {
    EXPECT_NE(common::ExplainMessage(finding).remedy.find(advice), std::string::npos) << finding << ": " << advice;
    EXPECT_LT(followed, raised) << finding << ": " << advice;
  }
}

}  // namespace

// Sines of many waves on a circle of 50 mm (a crest every 3 mm, and for a
// million waves far less than the finest step of the track) are too tight
// for their 30 teeth: the calculation says so, and the teeth, spaced along
// a curve hundreds of times longer than its circle, reach no farther than
// the tip circle of the pair the rating rated (the largest pitch radius
// plus the addendum of the largest module it gives, 2 r1max / z1), in
// the pair picture and on each gear, nor does gear 2's pitch curve: no line
// strays across the sheet.
TEST_F(PairTruth, ManyWaveSinesKeepTheirTeethWithinTheTipCircles) {
  for (const std::int32_t waves : {100, 300, 1000, 1000000}) {
    SCOPED_TRACE("N " + std::to_string(waves));
    drawingtest::SetDefaultDesign();
    calc::CurveType = calc::CurveSine;
    calc::SineCurve = {50, 5, waves};
    const auto messages = ToothMessages();
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(messages[0].rfind("Warning: curve too tight for teeth (1)", 0), 0u) << messages[0];
    EXPECT_EQ(messages[1].rfind("Warning: curve too tight for teeth (2)", 0), 0u) << messages[1];
    const auto& g = calc::SpurGearData;
    const Real module = 2 * calc::RadiusExtremes.r1max / calc::NcPair.z1, a = calc::NcPair.a;
    ASSERT_LT(module, drawing::ToothModule() / 5) << "the teeth are spaced far apart along the curve";
    // The bend check's work follows the track's samples, not its length.
    for (const int gear : {1, 2}) {
      const Real cut = drawing::ToothHeightModule();
      const drawing::TPitchTrack& track = drawing::PitchTrack(gear);
      EXPECT_LE(drawing::FindTightBend(track, g.hfP0Factor[gear] * cut, g.haP0Factor[gear] * cut, Pi * cut).tangents,
                drawing::StepsPerSample * static_cast<long>(track.S.size()));
    }
    // (The curves' own largest radii: rw0 + A, and a less rw0 - A.)
    const Real tip1 = 55 + g.hfP0Factor[1] * module + 1e-3L;
    const Real tip2 = a - 45 + g.hfP0Factor[2] * module + 1e-3L;
    const auto within = [](const Figure& f, Real cx, Real tip) {
      return std::hypot(f.values[0] - cx, f.values[1]) <= tip && std::hypot(f.values[2] - cx, f.values[3]) <= tip;
    };
    int lines = 0;
    for (const Figure& f : Drawn([] { drawing::DrawGears(0, drawing::CadDeviceScreen); })) {
      // (Pen 1: the line of centres.)
      if (f.kind != "LINE" || f.pen == 1) continue;
      ++lines;
      EXPECT_TRUE(within(f, 0, tip1) || within(f, a, tip2)) << drawingtest::Describe({f});
    }
    EXPECT_GT(lines, 720);
    for (const int gear : {1, 2})
      for (const Figure& f : Drawn([gear] { drawing::DrawGears(static_cast<std::uint16_t>(gear), drawing::CadDeviceScreen); })) {
        if (f.kind == "LINE") {
          EXPECT_TRUE(within(f, 0, gear == 1 ? tip1 : tip2)) << gear << " " << drawingtest::Describe({f});
        }
      }
  }
}

// At z1 300 a pitch spans less than a degree and a half of the drive
// angle: the check looks at eight positions to a pitch, not at whole
// degrees. A heptagon's teeth first collide at 0.92 degrees, after the
// whole degree 0 (where they do not), and at its corners teeth more than
// three pitches from the line of centres collide too: the check, which
// looks at three to either side, finds the first collision where the whole
// outlines do and the largest within a quarter of theirs.
TEST_F(PairTruth, ManyTeethAreCheckedPitchByPitch) {
  calc::CurveType = calc::CurvePolygon;
  calc::PolygonCurve.Corners = 7;
  calc::NcPair.z1 = 300;
  const auto messages = ToothMessages();
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.back().rfind("Warning: teeth interfere, first at 1\xF8, ", 0), 0u) << messages.back();
  const Real mn = drawing::ToothModule(), tolerance = drawing::OverlapToleranceFactor * mn * mn;
  const drawing::TPitchTrack& track2 = drawing::PitchTrack(2);
  const std::vector<Real> positions = drawing::MeshPositions(track2, 1, mn);
  EXPECT_GE(positions.size(), 8u * 300u);
  EXPECT_NEAR(positions.front(), 0, 1e-12);
  for (std::size_t i = 1; i < positions.size(); ++i) EXPECT_LT(positions[i] - positions[i - 1], 2 * Pi / 300 / 8 * 1.2);
  const drawing::TMeshingPair pair(drawing::GearContour(1), drawing::GearContour(2), calc::NcPair.a);
  auto whole = [&](Real phi) { return pair.OverlapArea(phi, drawing::GearTwoTurn(track2, phi) * Pi / 180); };
  Real first = -1, largest = 0;
  for (const Real phi : positions) {
    const Real area = whole(phi);
    if (area > tolerance && first < 0) first = phi;
    largest = std::max(largest, area);
  }
  const drawing::TMeshFinding mesh = drawing::CheckMeshing(drawing::GearContour(1), drawing::GearContour(2), track2,
                                                           calc::NcPair.a, 1, Modules());
  EXPECT_EQ(mesh.positions, static_cast<int>(positions.size()));
  EXPECT_EQ(mesh.firstAngle, first);
  EXPECT_GT(mesh.firstAngle, 0.9 * Pi / 180);
  EXPECT_LT(mesh.firstAngle, 0.95 * Pi / 180);
  EXPECT_LE(whole(0), tolerance);
  EXPECT_LE(mesh.largestArea, largest);
  EXPECT_GT(mesh.largestArea, 0.75 * largest);
  EXPECT_GT(whole(108 * Pi / 180), 10 * tolerance) << "a collision three pitches out";
}

// A sine of 1000 waves spaces its 30 teeth by the length of its wavy curve
// (a pitch module of 74 mm) but cuts them as large as the rating's module
// (3.47 mm): the overlap that counts is a hundredth of that one squared.
// Its teeth interfere about the line of centres; the check counts every
// whole degree at which the whole outlines overlap by more, and its
// largest overlap is theirs. N 100 and 300 warn too.
TEST_F(PairTruth, ASineOfManyWavesIsCheckedByTheModuleItsTeethAreCutWith) {
  calc::CurveType = calc::CurveSine;
  calc::SineCurve = {50, 2, 1000};
  const auto messages = ToothMessages();
  ASSERT_FALSE(messages.empty());
  const drawing::TMeshModules modules = Modules();
  EXPECT_NEAR(modules.pitch, 74.19, 0.01);
  EXPECT_EQ(modules.cut, 2 * calc::RadiusExtremes.r1max / 30);
  EXPECT_NEAR(modules.cut, 3.47, 0.01);
  const Real tolerance = drawing::OverlapToleranceFactor * modules.cut * modules.cut;
  const drawing::TPitchTrack& track2 = drawing::PitchTrack(2);
  const drawing::TMeshingPair pair(drawing::GearContour(1), drawing::GearContour(2), calc::NcPair.a);
  const std::vector<Real> positions = drawing::MeshPositions(track2, 1, modules.pitch, 30);
  ASSERT_EQ(positions.size(), 360u);
  int over = 0;
  Real first = -1, largest = 0;
  for (const Real phi : positions) {
    const Real area = pair.OverlapArea(phi, drawing::GearTwoTurn(track2, phi) * Pi / 180);
    if (area > tolerance && first < 0) first = phi;
    if (area > tolerance) ++over;
    largest = std::max(largest, area);
  }
  const drawing::TMeshFinding mesh =
      drawing::CheckMeshing(drawing::GearContour(1), drawing::GearContour(2), track2, calc::NcPair.a, 1, modules, 30);
  EXPECT_GT(over, 10);
  EXPECT_EQ(mesh.overlapping, over);
  EXPECT_EQ(mesh.firstAngle, first);
  EXPECT_NEAR(mesh.largestArea, largest, 1e-9);
  EXPECT_GT(largest, 3);
  EXPECT_EQ(messages.back(), drawing::InterferenceWarning(mesh.firstDegree, mesh.largestArea));
  for (const int waves : {100, 300}) {
    calc::SineCurve.N = waves;
    const auto more = ToothMessages();
    ASSERT_FALSE(more.empty()) << waves;
    EXPECT_EQ(more.back().rfind("Warning: teeth interfere, ", 0), 0u) << waves;
  }
}

// The positions follow the teeth that gear 2 carries, not the length of its
// track: a sine of a million waves (whose finely sampled track is hundreds
// of times the length its module was measured on) is checked at the
// whole degrees its 30 teeth allow, as the ellipse is; and where track and
// teeth agree, the teeth give the positions the track's length did.
TEST_F(PairTruth, PositionsFollowTheTeethNotTheTrackLength) {
  calc::CurveType = calc::CurveSine;
  calc::SineCurve = {50, 5, 1000000};
  const auto messages = ToothMessages();
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.front().rfind("Warning: curve too tight for teeth (1), first at ", 0), 0u) << messages.front();
  const Real mn = drawing::ToothModule();
  const drawing::TPitchTrack& track2 = drawing::PitchTrack(2);
  EXPECT_GT(track2.Length, 10 * Pi * mn * 30) << "the track is far longer than 30 pitches";
  EXPECT_EQ(drawing::MeshPositions(track2, 1, mn, 30).size(), 360u);

  drawingtest::SetDefaultDesign();
  calc::NcPair.k = 10;
  ASSERT_EQ(ToothMessages(), std::vector<std::string>{});
  const std::vector<Real> byTeeth = drawing::MeshPositions(drawing::PitchTrack(2), 10, drawing::ToothModule(), 300);
  EXPECT_EQ(byTeeth.size(), 8u * 300u);
  EXPECT_EQ(byTeeth, drawing::MeshPositions(drawing::PitchTrack(2), 10, drawing::ToothModule()));
}

// An outline built for the check: a disc of radius r with one pin of width
// w at the polar angle theta reaching out to the radius tip, as one piece
// counter-clockwise (in the gear's own coordinates).
std::vector<drawing::TContourPiece> PinnedDisc(Real r, Real tip, Real w, Real theta) {
  drawing::TContourPiece piece;
  const Real beta = std::asin(w / 2 / r);
  const Real ex = std::cos(theta), ey = std::sin(theta);
  auto at = [&](Real along, Real across) {
    piece.X.push_back(along * ex - across * ey);
    piece.Y.push_back(along * ey + across * ex);
  };
  constexpr int Steps = 720;
  for (int i = 0; i <= Steps; ++i) {
    const Real angle = theta + beta + (2 * Pi - 2 * beta) * i / Steps;
    piece.X.push_back(r * std::cos(angle));
    piece.Y.push_back(r * std::sin(angle));
  }
  at(tip, -w / 2);
  at(tip, w / 2);
  return {piece};
}

// At z1 300 two teeth can run into each other within less than a degree of
// the drive angle. Built directly: two circles of 300 teeth' pitch, each
// outline a disc with one thin pin, 2.5 mm outside the pitch point when
// they meet; the pins pass each other within 0.41 degrees about 10.5
// degrees and overlap only there. The whole degrees miss it; the check,
// eight positions to a pitch, finds it.
TEST_F(PairTruth, ACollisionBetweenTwoWholeDegreesIsFound) {
  calc::EllipseCurve = {50, 50};
  calc::NcPair.z1 = 300;
  calc::CalcNoncircularPair();
  ASSERT_EQ(common::FatalFlag, 0);
  const Real a = calc::NcPair.a, mn = drawing::ToothModule();
  ASSERT_NEAR(a, 100, 1e-3);
  const drawing::TPitchTrack& track2 = drawing::PitchTrack(2);
  const Real meet = 10.5L * Pi / 180;
  // Gear 1's pin points along the line of centres at the drive angle meet,
  // gear 2's (turned as it rolls) back along it: they overlap between 52
  // and 53 mm from gear 1's centre, where they pass at 5 mm a radian.
  const Real turn2 = drawing::GearTwoTurn(track2, meet) * Pi / 180;
  const auto gear1 = PinnedDisc(49, 53, 0.02L, meet);
  const auto gear2 = PinnedDisc(46, 48, 0.016L, Pi - turn2);
  const Real tolerance = drawing::OverlapToleranceFactor * mn * mn;
  const drawing::TMeshingPair pair(gear1, gear2, a);
  auto overlap = [&](Real phi) { return pair.OverlapArea(phi, drawing::GearTwoTurn(track2, phi) * Pi / 180); };
  EXPECT_NEAR(overlap(meet), 0.016, 1e-3);
  for (int degree = 0; degree < 360; ++degree) EXPECT_LE(overlap(degree * Pi / 180), tolerance) << degree;
  EXPECT_LE(overlap(meet - 0.3L * Pi / 180), tolerance);
  EXPECT_LE(overlap(meet + 0.3L * Pi / 180), tolerance);
  const drawing::TMeshFinding mesh = drawing::CheckMeshing(gear1, gear2, track2, a, 1, {mn, mn});
  EXPECT_EQ(mesh.positions, 2400);
  EXPECT_GE(mesh.overlapping, 2);
  EXPECT_LE(mesh.overlapping, 4);
  EXPECT_EQ(mesh.firstDegree, 10);
  EXPECT_GT(mesh.firstAngle, meet - 0.25L * Pi / 180);
  EXPECT_LT(mesh.firstAngle, meet);
  EXPECT_GT(mesh.largestArea, 0.01);
  EXPECT_NEAR(mesh.largestArea, overlap(mesh.largestAngle), 1e-9);
  EXPECT_TRUE(mesh.contact);
  EXPECT_EQ(drawing::InterferenceWarning(mesh.firstDegree, mesh.largestArea).rfind("Warning: teeth interfere, first at 10\xF8, ", 0), 0u);
}

// Outlines that lost their teeth (a curve far too wavy for them) can lie
// one wholly inside the other, their edges crossing nowhere: the overlap
// is then the whole of the inner one, at every position.
TEST_F(PairTruth, AnOutlineWhollyInsideTheOtherOverlapsWhole) {
  calc::CalcNoncircularPair();
  ASSERT_EQ(common::FatalFlag, 0);
  const Real a = calc::NcPair.a, mn = drawing::ToothModule();
  const drawing::TPitchTrack& track2 = drawing::PitchTrack(2);
  const auto small = PinnedDisc(20, 20.5L, 0.01L, 0), large = PinnedDisc(a + 30, a + 31, 0.01L, 0);
  const Real area = 720 * 20 * 20 * std::sin(Pi / 720) * std::cos(Pi / 720);
  for (const bool smallIsOne : {true, false}) {
    const auto& gear1 = smallIsOne ? small : large;
    const auto& gear2 = smallIsOne ? large : small;
    const drawing::TMeshingPair pair(gear1, gear2, a);
    // The small disc about its own centre lies inside the large one about
    // the other centre, whichever gear it is.
    EXPECT_NEAR(pair.OverlapArea(0.3L, 1.1L), area, 0.02) << smallIsOne;
    EXPECT_NEAR(pair.OverlapArea(0.3L, 1.1L, Pi * mn), area, 0.02) << smallIsOne;
    const drawing::TMeshFinding mesh = drawing::CheckMeshing(gear1, gear2, track2, a, 1, {mn, mn});
    EXPECT_EQ(mesh.overlapping, mesh.positions) << smallIsOne;
    EXPECT_EQ(mesh.firstDegree, 0) << smallIsOne;
    EXPECT_NEAR(mesh.largestArea, area, 0.02) << smallIsOne;
  }
}

// Outlines touch where they come within a tenth of the module of each
// other anywhere near the line of centres, and not where they stay
// farther apart: two discs without teeth 0.1 mm apart touch, 1 mm apart
// they do not (the module is 3.33 mm).
TEST_F(PairTruth, OutlinesWithinTheGapTouch) {
  calc::EllipseCurve = {50, 50};
  calc::CalcNoncircularPair();
  ASSERT_EQ(common::FatalFlag, 0);
  const Real a = calc::NcPair.a, mn = drawing::ToothModule();
  ASSERT_NEAR(mn, 10 / 3.0L, 1e-3);
  for (const Real apart : {0.1L, 1.0L}) {
    const auto gear1 = PinnedDisc(50 - apart / 2, 50 - apart / 2 + 0.001L, 0.001L, 1);
    const auto gear2 = PinnedDisc(a - 50 - apart / 2, a - 50 - apart / 2 + 0.001L, 0.001L, 2);
    const drawing::TMeshFinding mesh = drawing::CheckMeshing(gear1, gear2, drawing::PitchTrack(2), a, 1, {mn, mn});
    EXPECT_EQ(mesh.contact, apart < drawing::ContactGapFactor * mn) << apart;
    EXPECT_EQ(mesh.overlapping, 0) << apart;
  }
}

// A sine curve with as many waves as teeth gives gears whose teeth stay
// about 2 mm apart at every drive angle: the pair cannot run and is said
// so, as an overlap is. The substitute spur pair of its positions meshes
// (its tips even reach the mating root), so the warning names the curve
// as the cause and says no "no contact" beside the kernel's clearance
// error; the record gives the check's criterion and points to the curve
// first. Pairs whose teeth touch are not warned.
TEST_F(PairTruth, GearsThatNeverTouchAreWarned) {
  const std::vector<std::pair<std::string, std::function<void()>>> apart = {
      {"sine N = z1 = 30",
       [] {
         calc::CurveType = calc::CurveSine;
         calc::SineCurve = {50, 1, 30};
       }},
      {"formula N = z1 = 30", [] { Formula("50+1*SIN(30*X)"); }},
      {"formula N = z1 = 40",
       [] {
         Formula("50+1*SIN(40*X)");
         calc::NcPair.z1 = 40;
       }},
  };
  for (const auto& [name, setUp] : apart) {
    drawingtest::SetDefaultDesign();
    setUp();
    EXPECT_EQ(ToothMessages(), std::vector<std::string>{drawing::ApartOnCurveWarning()}) << name;
    const drawing::TMeshFinding mesh = drawing::CheckMeshing(drawing::GearContour(1), drawing::GearContour(2),
                                                             drawing::PitchTrack(2), calc::NcPair.a, 1, Modules());
    EXPECT_FALSE(mesh.contact) << name;
    EXPECT_EQ(mesh.overlapping, 0) << name;
    EXPECT_GE(calc::SpurGearData.epsAlpha, 1) << name;
  }
  common::SetProgramIdentity();
  common::PltDirectory = std::string(VOB_SOURCE_DIR) + "/resources";
  common::MessageExplanation record;
  bool read = false;
  ASSERT_TRUE(common::FindMessageExplanation(drawing::ApartOnCurveWarning(), record, read));
  EXPECT_EQ(record.key, drawing::ApartOnCurveWarning());
  EXPECT_NE(record.origin.find("more than 0.1 mn apart"), std::string::npos) << record.origin;
  EXPECT_EQ(record.remedy.find("Change the curve first"), 0u) << record.remedy;
  ASSERT_TRUE(common::FindMessageExplanation(drawing::NoContactWarning(), record, read));
  EXPECT_EQ(record.key, drawing::NoContactWarning());
  EXPECT_NE(record.origin.find("never come near enough"), std::string::npos) << record.origin;
  EXPECT_NE(record.origin.find("more than 0.1 mn apart"), std::string::npos) << record.origin;
  EXPECT_EQ(record.origin.find("overlap"), std::string::npos) << record.origin;
  for (const char* advice : {"raise the tool dedendum hfP0/mn", "tooth count z1", "the curve"})
    EXPECT_NE(record.remedy.find(advice), std::string::npos) << record.remedy;
  drawingtest::SetDefaultDesign();
  calc::CurveType = calc::CurveSine;
  calc::SineCurve = {50, 1, 30};
  for (int gear = 1; gear <= 2; ++gear) calc::SpurGearData.hfP0Factor[gear] = 1.6L;
  const auto higher = ToothMessages();
  EXPECT_EQ(std::count(higher.begin(), higher.end(), drawing::NoContactWarning()), 0);
  EXPECT_EQ(std::count(higher.begin(), higher.end(), drawing::ApartOnCurveWarning()), 0);
  // With 20 waves and teeth the teeth do reach each other (to a few
  // micrometres, overlaps below the tolerance).
  drawingtest::SetDefaultDesign();
  Formula("50+1*SIN(20*X)");
  calc::NcPair.z1 = 20;
  EXPECT_EQ(ToothMessages(), std::vector<std::string>{});
}
