// End-to-end tests of the gear-pair pictures: DXF files of the gears read
// back strictly by an independent reader (ezdxf), their outlines chained
// from the line entities and their teeth counted geometrically against the
// pitch curve; the rack for manufacture with its flank angles; the refusals
// that open no output.
#include "drawing/gear_pictures.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>

#include "calc/calc_records.h"
#include "calc/centre_distance.h"
#include "calc/noncircular_pair.h"
#include "calc/pitch_curve.h"
#include "calc/spur_gear_data.h"
#include "common/graphics_facade.h"
#include "common/number_format.h"
#include "common/numeric_routines.h"
#include "drawing/gear_picture_inputs.h"
#include "drawing/rotated_frame.h"
#include "drawing_test_support.h"
#include "gear_designs.h"
#include "support/dxf_outline.h"
#include "support/dxf_texts.h"

namespace {

using drawingtest::DrawingTest;

using testsupport::CountTeeth;
using testsupport::DxfOutline;
using testsupport::ReaderPresent;
using testsupport::ReadOutline;
using testsupport::ToothCount;

class GearPictures : public DrawingTest {
 protected:
  GearPictures() : DrawingTest("gear_pictures") {}
  void SetUp() override {
    DrawingTest::SetUp();
    drawingtest::SetDefaultDesign();
    common::InitGraphDisplayList();
  }
  void Calculate() {
    calc::CalcNoncircularPair();
    ASSERT_EQ(common::FatalFlag, 0);
    common::ClearErrorMessages();
  }
  std::string DrawDxf(int code, const std::string& name) {
    const std::string path = scratch_.Path(name);
    dialogs_.Then(platform::ScriptedAnswer::File(path));
    drawing::DrawGears(static_cast<std::uint16_t>(code), drawing::CadDeviceDxf);
    EXPECT_EQ(common::AbortFlag, 0);
    return path;
  }
  // The outline of one gear drawn alone, its teeth counted round the origin.
  void ExpectToothedGear(int gear, const std::string& name) {
    const std::string file = DrawDxf(gear, name);
    const DxfOutline out = ReadOutline(file);
    ASSERT_EQ(out.loadStatus, 0) << file;
    EXPECT_EQ(out.auditErrors, 0);
    ASSERT_EQ(out.closedComponents, 1) << "one closed outline";
    const auto& loop = out.loops.front();
    const int z = gear == 1 ? calc::NcPair.z1 : calc::NcPair.z1 * calc::NcPair.k;
    // 2 z flanks of FlankPointCount + 1 points, nearly all of them kept.
    EXPECT_GT(loop.size(), static_cast<std::size_t>(2 * z * drawing::FlankPointCount));
    const auto radius1 = [](Real phi) { return calc::PitchRadius(calc::NormAngle(phi)); };
    // Gear 2's pitch curve at the polar angle theta of its own frame: the
    // curve was traced from the contact points; found by a fine search.
    std::vector<std::pair<Real, Real>> curve2;
    if (gear == 2) {
      const drawing::TPitchTrack track = drawing::TrackPitchCurve(2);
      for (std::size_t i = 0; i < track.X.size(); ++i)
        curve2.emplace_back(std::atan2(track.Y[i], track.X[i]), std::hypot(track.X[i], track.Y[i]));
      std::sort(curve2.begin(), curve2.end());
    }
    const auto radius2 = [&curve2](Real phi) {
      auto it = std::lower_bound(curve2.begin(), curve2.end(), std::make_pair(phi, Real(-1)));
      if (it == curve2.end()) it = std::prev(it);
      return it->second;
    };
    const double mn = static_cast<double>(calc::SpurGearData.NormalModule);
    const ToothCount c = gear == 1 ? CountTeeth(loop, 0, 0, 0.25 * mn, radius1)
                                   : CountTeeth(loop, 0, 0, 0.25 * mn, radius2);
    EXPECT_EQ(c.teeth, z) << name;
    EXPECT_EQ(c.falls, z) << name;
  }
};

TEST_F(GearPictures, DefaultEllipseGearsHaveTheirTeethInClosedOutlines) {
  if (!ReaderPresent()) GTEST_SKIP() << "ezdxf is not installed for /usr/bin/python3";
  Calculate();
  ExpectToothedGear(1, "gear1.dxf");
  ExpectToothedGear(2, "gear2.dxf");
}

TEST_F(GearPictures, TwoTurnsOfGearOneGiveGearTwoTwiceTheTeeth) {
  if (!ReaderPresent()) GTEST_SKIP() << "ezdxf is not installed for /usr/bin/python3";
  calc::NcPair.k = 2;
  calc::NcPair.z1 = 17;
  Calculate();
  ExpectToothedGear(1, "k2gear1.dxf");
  ExpectToothedGear(2, "k2gear2.dxf");
}

TEST_F(GearPictures, FocalEllipseFormulaCurveWithConstantModule) {
  if (!ReaderPresent()) GTEST_SKIP() << "ezdxf is not installed for /usr/bin/python3";
  drawingtest::SetFocalEllipse("0.3");
  Calculate();
  ExpectToothedGear(1, "focal1.dxf");
  // A constant module gives every tooth the same height: from the root
  // 1.25 mn below the pitch curve to the tip 1 mn above it (measured along
  // the radius, which on this curve is at most a little longer).
  const std::string file = DrawDxf(1, "focal1b.dxf");
  const DxfOutline out = ReadOutline(file);
  ASSERT_EQ(out.closedComponents, 1);
  const double mn = static_cast<double>(calc::SpurGearData.NormalModule);
  const ToothCount c = CountTeeth(out.loops.front(), 0, 0, 0.25 * mn,
                                  [](Real phi) { return calc::PitchRadius(calc::NormAngle(phi)); });
  EXPECT_NEAR(c.highest, 1.0 * mn, 0.1 * mn);
  EXPECT_NEAR(c.lowest, -1.25 * mn, 0.2 * mn);
}

TEST_F(GearPictures, PairPitchCurvesAndTurnedPairLoad) {
  if (!ReaderPresent()) GTEST_SKIP() << "ezdxf is not installed for /usr/bin/python3";
  Calculate();
  calc::PhiView = 37;
  for (const int code : {0, 3, 4, 5, 6}) {
    DxfOutline out = ReadOutline(DrawDxf(code, "code" + std::to_string(code) + ".dxf"));
    EXPECT_EQ(out.loadStatus, 0) << code;
    EXPECT_EQ(out.auditErrors, 0) << code;
    EXPECT_GT(out.entities["LINE"], 300) << code;
  }
}

// The DXF files of the gears and the pair, read by the independent reader:
// every entity lies on a layer the table defines, in the colour the screen
// draws it (gear 1's flanks cyan and lands blue, gear 2's flanks magenta and
// lands red on the screen's default colours), and the drawing's units are
// millimetres, in the imperial system too (where only the texts are in
// inches); the measurement system follows the unit system.
TEST_F(GearPictures, DxfLayersAndUnitsOfEveryDesign) {
  if (!ReaderPresent()) GTEST_SKIP() << "ezdxf is not installed for /usr/bin/python3";
  for (const drawingtest::GearDesign design : drawingtest::AllGearDesigns) {
    const std::string name = drawingtest::GearDesignName(design);
    ASSERT_TRUE(drawingtest::CalculateGearDesign(design)) << name;
    const bool imperial = design == drawingtest::GearDesign::Eccentric;
    common::UnitSystem = imperial ? common::UnitsImperial : common::UnitsMetric;
    for (const int code : {1, 2, 0}) {
      const testsupport::DxfTexts dxf =
          testsupport::ReadDxfTexts(DrawDxf(code, name + std::to_string(code) + ".dxf"));
      ASSERT_EQ(dxf.loadStatus, 0) << name << code;
      EXPECT_EQ(dxf.UndefinedLayers(), std::vector<std::string>{}) << name << code;
      EXPECT_EQ(dxf.header.at("$INSUNITS"), "4");
      EXPECT_EQ(dxf.header.at("$MEASUREMENT"), imperial ? "0" : "1");
      for (const auto& [layer, colour] : std::map<std::string, int>{{"19", 4}, {"20", 5}, {"21", 6}, {"26", 1}})
        EXPECT_EQ(dxf.layers.at(layer), colour) << layer;
    }
  }
  common::UnitSystem = common::UnitsMetric;
}

// The IGES files of the gears: every colour number is one of IGES's eight
// (or 0, the reader's own), also for the lands of gear 2 (the colour
// table's dark red, drawn red on the screen).
TEST_F(GearPictures, IgesColoursOfEveryDesignWithinTheEight) {
  for (const drawingtest::GearDesign design : drawingtest::AllGearDesigns) {
    const std::string name = drawingtest::GearDesignName(design);
    ASSERT_TRUE(drawingtest::CalculateGearDesign(design)) << name;
    for (const int code : {1, 2}) {
      const std::string path = scratch_.Path(name + std::to_string(code) + ".igs");
      dialogs_.Then(platform::ScriptedAnswer::File(path));
      drawing::DrawGears(static_cast<std::uint16_t>(code), drawing::CadDeviceIges);
      ASSERT_EQ(common::AbortFlag, 0);
      std::map<int, int> colours;
      std::istringstream records(testsupport::Slurp(path));
      std::string record;
      // The second directory record of each entity holds its colour in
      // columns 17 to 24.
      for (int d = 0; std::getline(records, record);)
        if (record.size() > 72 && record[72] == 'D' && ++d % 2 == 0) ++colours[std::stoi(record.substr(16, 8))];
      ASSERT_FALSE(colours.empty());
      for (const auto& [colour, count] : colours) {
        EXPECT_GE(colour, 0) << name << code;
        EXPECT_LE(colour, 8) << name << code;
      }
      EXPECT_GT(colours[code == 1 ? 7 : 6], 0) << "the flanks: cyan, magenta";
      EXPECT_GT(colours[code == 1 ? 4 : 2], 0) << "the lands: blue, red";
    }
  }
}

TEST_F(GearPictures, TurnedPairMeshesAtTheViewAngle) {
  // In the pair at the view angle gear 1 is turned back by the angle and
  // gear 2 on by its turn: the pitch points of that drive angle of both
  // gears then meet on the line of centres, the pitch radii adding up to
  // the centre distance, and gear 2 has turned about as far as rolling
  // gives.
  Calculate();
  const drawing::TPitchTrack track = drawing::TrackPitchCurve(2);
  for (const Real view : {0.0L, 50.0L, 200.0L}) {
    const Real phi = common::DegToRad(view);
    const Real r = calc::PitchRadius(phi);
    Real px, py, sigma;
    track.AtDriveAngle(phi, px, py, sigma);
    const Real psi = drawing::GearTwoTurn(track, phi);
    EXPECT_NEAR(std::remainder(psi - common::RadToDeg(calc::RollingAngle2(phi)), 360.0L), 0, 0.1);
    Real x2, y2;
    common::RotateTranslate(x2, y2, calc::NcPair.a, 0, psi, px, py);
    EXPECT_NEAR(x2, r, 0.01) << view;
    EXPECT_NEAR(y2, 0, 0.01) << view;
  }
  calc::PhiView = 50;
  drawing::DrawGears(6, drawing::CadDeviceScreen);
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_GT(common::DisplayList.size(), 2000u);
  EXPECT_EQ(drawing::FrameAngle, 0) << "the frame is reset afterwards";
}

TEST_F(GearPictures, RackForManufactureHasTheTeethWithFlanksAtThePressureAngle) {
  if (!ReaderPresent()) GTEST_SKIP() << "ezdxf is not installed for /usr/bin/python3";
  calc::NcPair.ModuleMode = 2;
  Calculate();
  // All teeth of gear 1, no bores.
  dialogs_.Then(platform::ScriptedAnswer::Enter(std::to_string(calc::NcPair.z1)));
  dialogs_.Then(platform::ScriptedAnswer::Enter("0"));
  const DxfOutline out = ReadOutline(DrawDxf(9, "rack.dxf"));
  ASSERT_EQ(out.loadStatus, 0);
  EXPECT_EQ(out.auditErrors, 0);
  ASSERT_EQ(out.closedComponents, 1) << "teeth and body form one closed outline";
  const auto& loop = out.loops.front();
  const double mn = static_cast<double>(calc::SpurGearData.NormalModule);
  const double t = std::tan(20.0 * M_PI / 180.0);
  int tips = 0, flanks = 0;
  for (std::size_t i = 0; i < loop.size(); ++i) {
    const auto [xa, ya] = loop[i];
    const auto [xb, yb] = loop[(i + 1) % loop.size()];
    const double dx = xb - xa, dy = yb - ya;
    if (std::fabs(dy) < 1e-6 && std::fabs(ya + mn) < 1e-4) ++tips;  // the tooth tips at -hf
    if (std::fabs(dx) > 1e-6 && std::fabs(dy) > 1e-6) {
      ++flanks;
      EXPECT_NEAR(std::fabs(dx / dy), t, 1e-4) << "flank " << i;
    }
  }
  EXPECT_EQ(tips, calc::NcPair.z1);
  EXPECT_EQ(flanks, 3 * calc::NcPair.z1);  // the first flank of a tooth runs on into the last of the one before

  // Gear 1 rolling on the rack: the gear's outline and the rack's, which
  // touches the pitch curve along its tangent at the view angle.
  calc::PhiView = 30;
  const DxfOutline view = ReadOutline(DrawDxf(7, "rackview.dxf"));
  ASSERT_EQ(view.loadStatus, 0);
  EXPECT_EQ(view.auditErrors, 0);
  EXPECT_GE(view.closedComponents, 1);
}

TEST_F(GearPictures, RackQuestionsAndItsBores) {
  if (!ReaderPresent()) GTEST_SKIP() << "ezdxf is not installed for /usr/bin/python3";
  calc::NcPair.ModuleMode = 2;
  Calculate();
  const Real mn = calc::SpurGearData.NormalModule;
  // 101 teeth are refused and asked again; 3 bores of 5 mm, 20 mm apart.
  for (const char* text : {"101", "10", "3", "5", "20"}) dialogs_.Then(platform::ScriptedAnswer::Enter(text));
  const DxfOutline out = ReadOutline(DrawDxf(9, "rack3.dxf"));
  ASSERT_EQ(out.loadStatus, 0);
  EXPECT_EQ(out.entities.at("CIRCLE"), 3);
  std::vector<std::string> prompts;
  for (const auto& asked : dialogs_.Asked())
    if (asked.kind == platform::AskedDialog::Kind::TextInput) prompts.push_back(asked.text);
  EXPECT_EQ(prompts, (std::vector<std::string>{"Plot teeth", "Plot teeth", "number of bore", "bore diameter [mm]",
                                               "distance bore [mm]"}));
  // The distance offered: (teeth pi mn - 3 d) / (bores - 1).
  for (const auto& asked : dialogs_.Asked())
    if (asked.text == "distance bore [mm]") {
      EXPECT_EQ(asked.initial, common::RealToText((10 * std::numbers::pi_v<Real> * mn - 15) / 2));
    }
  // Cancelling a question draws nothing.
  dialogs_.ClearRecord();
  dialogs_.Then(platform::ScriptedAnswer::Cancel());
  drawing::DrawGears(9, drawing::CadDeviceDxf);
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(dialogs_.Asked().size(), 1u) << "no file name asked";
}

// Bores of the rack that overlap or touch, that reach its edge (the top at
// 8 mn or the tooth spaces) or its ends leave no rack a part could be made
// of: refused with a message before a file is asked for.
TEST_F(GearPictures, RackRefusesBoresThatMeetOrLeaveIt) {
  calc::NcPair.ModuleMode = 2;
  Calculate();
  const Real mn = calc::SpurGearData.NormalModule;
  const Real p = std::numbers::pi_v<Real> * mn;
  const auto text = [](Real v) { return common::RealToText6(v); };
  const struct {
    std::string diameter, distance;
    const char* refusal;
  } cases[] = {{text(mn), text(mn), "distance bore: the bores overlap !"},
               {text(6.1L * mn), text(3 * p), "bore diameter: a bore reaches the edge of the rack !"},
               {text(mn), text(5 * p), "distance bore: a bore reaches the end of the rack !"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.refusal);
    dialogs_.ClearRecord();
    for (const std::string& answer : {std::string("10"), std::string("3"), c.diameter, c.distance})
      dialogs_.Then(platform::ScriptedAnswer::Enter(answer));
    drawing::DrawGears(9, drawing::CadDeviceDxf);
    EXPECT_EQ(common::AbortFlag, 1);
    ASSERT_EQ(dialogs_.Asked().size(), 5u) << "no file is asked for";
    EXPECT_EQ(dialogs_.Asked()[4].text, c.refusal);
  }
}

TEST_F(GearPictures, CarrierRoundBothBearings) {
  if (!ReaderPresent()) GTEST_SKIP() << "ezdxf is not installed for /usr/bin/python3";
  Calculate();
  calc::SpurGearData.BoreDiameter[1] = 20;
  calc::SpurGearData.BoreDiameter[2] = 30;
  // The centre distance offered is the pair's; 120 mm taken, 0.5 clearance.
  dialogs_.Then(platform::ScriptedAnswer::Enter("120"));
  dialogs_.Then(platform::ScriptedAnswer::Enter("0.5"));
  const DxfOutline out = ReadOutline(DrawDxf(8, "carrier.dxf"));
  ASSERT_EQ(out.loadStatus, 0);
  EXPECT_EQ(out.auditErrors, 0);
  EXPECT_EQ(drawing::CarrierCentreDistance, 120);
  ASSERT_FALSE(dialogs_.Asked().empty());
  EXPECT_EQ(dialogs_.Asked()[0].text, "center distance [mm]");
  EXPECT_EQ(dialogs_.Asked()[0].initial, common::RealToText(calc::NcPair.a));
  EXPECT_EQ(out.entities.count("CIRCLE") ? out.entities.at("CIRCLE") : 0, 2) << "the two bearing holes";
}

TEST_F(GearPictures, CarrierNeedsBothBores) {
  Calculate();
  calc::SpurGearData.BoreDiameter[1] = 20;
  calc::SpurGearData.BoreDiameter[2] = 0;
  drawing::DrawGears(8, drawing::CadDeviceDxf);
  ASSERT_EQ(dialogs_.Asked().size(), 1u);
  EXPECT_EQ(dialogs_.Asked()[0].text, "d bore = 0 !");
  EXPECT_EQ(common::AbortFlag, 1);
}

// Bores that overlap or touch (a centre distance up to their radii with the
// clearance together, or below zero), or one that reaches the plate's edge,
// leave no plate a part could be made of: refused with a message before a
// file is asked for. Just beyond the touching distance the plate is drawn.
TEST_F(GearPictures, CarrierRefusesBoresThatMeet) {
  Calculate();
  calc::SpurGearData.BoreDiameter[1] = 20;
  calc::SpurGearData.BoreDiameter[2] = 30;
  const struct {
    const char* distance;
    const char* clearance;
    const char* refusal;
  } cases[] = {{"0", "0", "center distance: the bores overlap !"},
               {"24", "0", "center distance: the bores overlap !"},
               {"25", "0", "center distance: the bores overlap !"},
               {"26", "0.5", "center distance: the bores overlap !"},
               {"-100", "0", "center distance: the bores overlap !"},
               {"100", "15", "clearance bearing: a bore reaches the edge of the carrier !"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.distance) + " / " + c.clearance);
    dialogs_.ClearRecord();
    dialogs_.Then(platform::ScriptedAnswer::Enter(c.distance)).Then(platform::ScriptedAnswer::Enter(c.clearance));
    drawing::DrawGears(8, drawing::CadDeviceDxf);
    EXPECT_EQ(common::AbortFlag, 1);
    ASSERT_EQ(dialogs_.Asked().size(), 3u) << "no file is asked for";
    EXPECT_EQ(dialogs_.Asked()[2].text, c.refusal);
  }
  dialogs_.ClearRecord();
  dialogs_.Then(platform::ScriptedAnswer::Enter("25.01")).Then(platform::ScriptedAnswer::Enter("0"));
  DrawDxf(8, "carrier.dxf");
  EXPECT_EQ(common::AbortFlag, 0);
}

TEST_F(GearPictures, RackAndRackViewNeedAConstantModule) {
  Calculate();
  calc::NcPair.ModuleMode = 1;
  for (const int code : {7, 9}) {
    dialogs_.ClearRecord();
    drawing::DrawGears(static_cast<std::uint16_t>(code), drawing::CadDeviceDxf);
    ASSERT_EQ(dialogs_.Asked().size(), 1u) << "no file is asked for";
    EXPECT_EQ(dialogs_.Asked()[0].text, "mn <> const !");
  }
}

TEST_F(GearPictures, FatalDesignShowsTheMessagesInsteadOfAPicture) {
  Calculate();
  common::AddErrorMessage("Fatal  : rw1 <= 0 !");
  common::FatalFlag = 1;
  common::DisplayList.clear();
  drawing::DrawGears(0, drawing::CadDeviceScreen);
  EXPECT_TRUE(common::DisplayList.empty());
  ASSERT_FALSE(dialogs_.Asked().empty());
}

}  // namespace
