// Tests of the diagram layers and the diagrams over the drive angle: every
// diagram of a rated design written as DXF and read back strictly by an
// independent reader, its layers defined and its texts as written; the ratio curve's extremes against the pair's ratio
// range; the axes, clipping, arrow heads and limits form of the x-y layer;
// the polar grid.
#include "drawing/phi_diagrams.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "calc/spur_gear_data.h"
#include "common/graphics_window.h"
#include "common/kaldvar.h"
#include "common/number_format.h"
#include "common/text_utils.h"
#include "drawing/polar_diagram.h"
#include "drawing/xy_diagram.h"
#include "drawing_test_support.h"
#include "gear_designs.h"
#include "support/dxf_outline.h"
#include "support/dxf_texts.h"

namespace {

using drawingtest::DrawingTest;
using drawingtest::Figure;
using drawingtest::LoggingBackEnd;

constexpr Real Pi = std::numbers::pi_v<Real>;

class Diagrams : public DrawingTest {
 protected:
  Diagrams() : DrawingTest("diagrams") {}
  void SetUp() override {
    DrawingTest::SetUp();
    drawingtest::SetDefaultDesign();
    common::SetCommandLineParams(std::vector<std::string>{});
    calc::CalcNoncircularPair();
    ASSERT_EQ(common::FatalFlag, 0);
    common::ClearErrorMessages();
  }
  // The figures of a diagram drawn on the screen device.
  std::vector<Figure> OnScreen(int code) {
    LoggingBackEnd log;
    drawing::ScopedCadBackEnd scoped(drawing::CadDeviceScreen, log);
    drawing::ShowDiagrams(static_cast<std::uint16_t>(code), drawing::CadDeviceScreen);
    return log.figures;
  }
};

TEST_F(Diagrams, EveryDiagramLoadsAsDxf) {
  if (!testsupport::ReaderPresent()) GTEST_SKIP() << "ezdxf is not installed for /usr/bin/python3";
  common::EnterDiagramLimits = false;
  std::vector<std::string> paths;
  for (int code = 1; code <= 16; ++code) {
    paths.push_back(scratch_.Path("d" + std::to_string(code) + ".dxf"));
    dialogs_.Then(platform::ScriptedAnswer::File(paths.back()));
    drawing::ShowDiagrams(static_cast<std::uint16_t>(code), drawing::CadDeviceDxf);
    ASSERT_EQ(common::AbortFlag, 0) << code;
    ASSERT_EQ(common::FatalFlag, 0) << code;
  }
  // All sixteen files in one run of the reader.
  std::vector<testsupport::DxfOutline> outs = testsupport::ReadOutlines(paths);
  const std::vector<testsupport::DxfTexts> allTexts = testsupport::ReadDxfTexts(paths);
  for (int code = 1; code <= 16; ++code) {
    testsupport::DxfOutline& out = outs[static_cast<std::size_t>(code - 1)];
    EXPECT_EQ(out.loadStatus, 0) << code;
    EXPECT_EQ(out.auditErrors, 0) << code;
    // The curve of 360 steps and the axes or rings with their numbers.
    EXPECT_GT(out.entities["LINE"], 300) << code;
    EXPECT_GT(out.entities["TEXT"], 3) << code;
    if (code >= 9 && code <= 12) {
      EXPECT_GE(out.entities["CIRCLE"], 2) << code;
    }
    // Every entity on a layer of the table; texts read back as written,
    // carets too (a caret is DXF's sign of a control character).
    const testsupport::DxfTexts& texts = allTexts[static_cast<std::size_t>(code - 1)];
    EXPECT_EQ(texts.UndefinedLayers(), std::vector<std::string>{}) << code;
    if (code == 8) {
      EXPECT_NE(texts.Find("a2 [1/s^2]"), nullptr) << "the acceleration's unit";
    }
  }
  // The safety diagrams gave the records back as the calculation left them.
  const auto kept = calc::SafetyExtremes;
  calc::CalcNoncircularPair();
  EXPECT_EQ(calc::SafetyExtremes.SHmin[1], kept.SHmin[1]);
  EXPECT_EQ(calc::SafetyExtremes.SFmin[2], kept.SFmin[2]);
}

TEST_F(Diagrams, RatioCurveReachesTheRatioRange) {
  const auto figures = OnScreen(2);
  const auto& s = drawing::DiagramState;
  Real lo = 1e9, hi = -1e9;
  int segments = 0;
  for (const Figure& f : figures) {
    if (f.kind != "LINE" || f.pen != 19) continue;
    ++segments;
    for (const int k : {1, 3}) {
      const Real v = (f.values[k] - s.DiagramOriginY) / s.DiagramHeight * s.DiagramYRange + s.DiagramYMin;
      lo = std::min(lo, v);
      hi = std::max(hi, v);
    }
  }
  EXPECT_EQ(segments, 361);
  EXPECT_NEAR(lo / calc::NcPair.imin, 1, 1e-3);
  EXPECT_NEAR(hi / calc::NcPair.imax, 1, 1e-3);
}

TEST_F(Diagrams, VelocityStartsAtTheSecondPointAccelerationAtTheThird) {
  const auto count = [](const std::vector<Figure>& figures) {
    return std::count_if(figures.begin(), figures.end(), [](const Figure& f) { return f.kind == "LINE" && f.pen == 19; });
  };
  EXPECT_EQ(count(OnScreen(7)), 361);
  EXPECT_EQ(count(OnScreen(8)), 360);
}

TEST_F(Diagrams, StackedSafetiesWithTheirMinima) {
  const auto figures = OnScreen(16);
  std::vector<std::string> captions, minima;
  for (const Figure& f : figures) {
    if (f.kind != "TEXT") continue;
    if (f.text == "SF" || f.text == "SH") captions.push_back(f.text + "@" + std::to_string(static_cast<int>(f.values[1])));
    if (f.text.find("min = ") != std::string::npos) minima.push_back(f.text);
  }
  ASSERT_EQ(minima.size(), 4u);
  EXPECT_EQ(minima[0], "SF1min = " + common::RealToTextFixed(2, calc::SafetyExtremes.SFmin[1]));
  EXPECT_EQ(minima[3], "SH2min = " + common::RealToTextFixed(2, calc::SafetyExtremes.SHmin[2]));
  // SF above SH: the SF caption sits above the upper window (70 + 40 + 3).
  EXPECT_NE(std::find(captions.begin(), captions.end(), "SF@113"), captions.end());
  EXPECT_NE(std::find(captions.begin(), captions.end(), "SH@53"), captions.end());
}

// A gear 1 at rest has its pitch curves, ratio and path drawn as at any
// speed; the diagrams over time and the safety diagrams (no load, no
// rating) say in their place why they have no curve. Nothing turns fatal.
TEST_F(Diagrams, SpeedZeroDrawsWhatDoesNotNeedItSaysWhyAndTheSelectionCanBeCancelled) {
  const std::vector<Figure> atSpeed = OnScreen(2);
  calc::SpurGearData.n[1] = 0;
  calc::CalcNoncircularPair();
  ASSERT_EQ(common::FatalFlag, 0);
  EXPECT_EQ(drawingtest::Describe(OnScreen(2)), drawingtest::Describe(atSpeed));
  EXPECT_EQ(common::FatalFlag, 0);
  const auto texts = [](const std::vector<Figure>& figures) {
    std::string all;
    for (const Figure& f : figures)
      if (f.kind == "TEXT") all += f.text + "\n";
    return all;
  };
  for (int code : {7, 8, 9, 10, 15}) {
    const std::string shown = texts(OnScreen(code));
    EXPECT_NE(shown.find("n1 = 0: gear 2 stands still\n"), std::string::npos) << code << shown;
  }
  for (int code : {11, 12, 13, 14, 16}) {
    const auto figures = OnScreen(code);
    const std::string shown = texts(figures);
    EXPECT_NE(shown.find("no speed (n1 = 0), not rated\n"), std::string::npos) << code << shown;
    EXPECT_EQ(shown.find("min = "), std::string::npos) << code << shown;
  }
  EXPECT_EQ(common::FatalFlag, 0);
  // The power entered stays: speed and power disagree, and the power rated
  // is that of torque and speed.
  ASSERT_EQ(common::MsgCount, 2);
  EXPECT_EQ(common::MsgText[1], "Warning: P<>T*n*2PI, P from T and n !");
  EXPECT_EQ(common::MsgText[2], "Warning: no speed (n1 = 0): not rated !");

  common::ClearErrorMessages();
  calc::SpurGearData.n[1] = 1000;
  dialogs_.ClearRecord();
  drawing::ShowDiagrams(0, drawing::CadDeviceScreen);  // the default answer cancels
  ASSERT_EQ(dialogs_.Asked().size(), 1u);
  EXPECT_EQ(dialogs_.Asked()[0].items.size(), 16u);
  EXPECT_EQ(dialogs_.Asked()[0].items[14], "s, v, a");
  EXPECT_EQ(common::AbortFlag, 1);
}

// ---- The x-y layer ------------------------------------------------------------------

class XyLayer : public DrawingTest {
 protected:
  void SetUp() override {
    DrawingTest::SetUp();
    drawing::CadDevice = drawing::CadDeviceScreen;
    drawing::CadRequestedDevice = drawing::CadDeviceDxf;
    common::SetCommandLineParams(std::vector<std::string>{});
    drawing::BeginDiagram();
  }
  LoggingBackEnd log_;
  drawing::ScopedCadBackEnd scoped_{drawing::CadDeviceScreen, log_};
};

TEST_F(XyLayer, ClippingKeepsWhatCrossesTheWindow) {
  drawing::SetDiagramLimits(0, 0, 10, 10);
  drawing::SetDiagramSize(100, 100);
  drawing::DiagramClipLine(-5, 5, 15, 5);    // through, both ends outside
  drawing::DiagramClipLine(5, 5, 15, 5);     // cut at the border
  drawing::DiagramClipLine(-0.05L, 1, 10.05L, 2);  // within 1 %: whole
  drawing::DiagramClipLine(-5, 12, 15, 14);  // past the window
  EXPECT_EQ(drawingtest::Describe(log_.figures),
            "LINE pen 0 0.000 50.000 100.000 50.000\n"
            "LINE pen 0 50.000 50.000 100.000 50.000\n"
            "LINE pen 0 -0.500 10.000 100.500 20.000\n");
}

TEST_F(XyLayer, TextScaleArrowHeadsAndAxisStyle) {
  drawing::DiagramTextScaled(2, 0, 1, 1);
  EXPECT_NEAR(drawing::CadDrawing.CadTextHeight, 120.0L / 110, 1e-15);
  drawing::SetDiagramSize(320, 120);
  drawing::DiagramTextScaled(2, 0, 1, 1);
  EXPECT_NEAR(drawing::CadDrawing.CadTextHeight, 2, 1e-15);

  drawing::DrawArrowHead(0, 10, 10, 8);
  drawing::DrawArrowHead(1, 10, 10, 8);
  drawing::DrawArrowHead(5, 10, 10, 8);
  ASSERT_EQ(log_.figures.size(), 2u);
  EXPECT_EQ(log_.figures[0].values, log_.figures[1].values);

  // Style 3: no x axis, x numbers or x title; the y axis and numbers stay.
  log_.figures.clear();
  drawing::BeginDiagram();
  common::EnterDiagramLimits = false;
  drawing::DrawDiagramAxes("XT", "YT", "cap", -1, -1, 1, 1, 3);
  std::vector<std::string> texts;
  for (const auto& f : log_.figures)
    if (f.kind == "TEXT") texts.push_back(f.text);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "XT"), 0);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "YT"), 1);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "cap"), 1);
  EXPECT_GE(texts.size(), 5u) << "y numbers";
  const int solids = static_cast<int>(std::count_if(log_.figures.begin(), log_.figures.end(),
                                                    [](const Figure& f) { return f.kind == "SOLID"; }));
  EXPECT_EQ(solids, 1) << "only the y axis arrow";

  // A low diagram (as on the quick sheets): the y axis name keeps clear of
  // the top number, whatever the height.
  for (const Real height : {120.0L, 40.0L, 25.0L}) {
    log_.figures.clear();
    drawing::BeginDiagram();
    drawing::SetDiagramSize(160, height);
    drawing::DrawDiagramAxes("XT", "YT", "cap", 0, 0, 10, 10, 0);
    const Figure* title = nullptr;
    Real topNumber = -1e9;
    for (const auto& f : log_.figures) {
      if (f.kind != "TEXT") continue;
      if (f.text == "YT") title = &f;
      else if (f.text != "XT" && f.text != "cap" && f.values[0] < 0) topNumber = std::max(topNumber, f.values[1]);
    }
    ASSERT_NE(title, nullptr);
    EXPECT_GE(title->values[1] - topNumber, 1.2L * title->values[2]) << "diagram height " << static_cast<double>(height);
  }
}

TEST_F(XyLayer, LimitsFormOkCancelAndFrame) {
  common::EnterDiagramLimits = true;
  drawing::TEinDiagramLimits::Closed answer = drawing::TEinDiagramLimits::Closed::Ok;
  int shown = 0;
  drawing::DiagramLimitsView() = [&](drawing::TEinDiagramLimits& form) {
    ++shown;
    form.Button_calcClick();
    EXPECT_EQ(form.Edit_xmax, common::RealToText(2 * Pi));
    if (answer == drawing::TEinDiagramLimits::Closed::Ok) {
      form.Edit_xmin = "1";
      form.Edit_xmax = "2";
      form.Edit_ymin = "0";
      form.Edit_ymax = "5";
      EXPECT_TRUE(form.Button_okClick());
    } else if (answer == drawing::TEinDiagramLimits::Closed::Cancel) {
      form.Button_cancelClick();
    }
  };
  const auto axes = [] {
    drawing::BeginDiagram();
    drawing::DiagramState.DiagramXAxisKind = 2;
    drawing::DrawDiagramAxes("x", "y", "c", 0, 0, 2 * Pi, 1, 0);
  };
  axes();
  EXPECT_EQ(drawing::DiagramState.DiagramXMin, 1);
  EXPECT_EQ(drawing::DiagramState.DiagramXMax, 2);
  EXPECT_EQ(drawing::DiagramUserLimits.xmax, 2);
  // The angle axis of 1 to 2 radians has eight steps of 0.125.
  int ticks = 0;
  for (const auto& f : log_.figures)
    if (f.kind == "LINE" && f.values[0] == f.values[2] && f.values[3] < f.values[1] && f.values[1] - f.values[3] < 2)
      ++ticks;
  EXPECT_EQ(ticks, 9);

  for (const auto closed : {drawing::TEinDiagramLimits::Closed::Cancel, drawing::TEinDiagramLimits::Closed::Frame}) {
    answer = closed;
    axes();
    EXPECT_EQ(drawing::DiagramState.DiagramXMax, 2 * Pi) << "the computed limits stay";
    EXPECT_EQ(common::AbortFlag, 0);
  }
  // On the screen the form is never shown.
  shown = 0;
  drawing::CadRequestedDevice = drawing::CadDeviceScreen;
  axes();
  EXPECT_EQ(shown, 0);
  drawing::DiagramLimitsView() = nullptr;
}

// A limit that is no number would be taken as 0, one beyond the range as
// an infinity: OK refuses each with a message naming it, the edit shows
// what "Calculate" showed again, and the form stays open until corrected.
TEST_F(XyLayer, LimitsFormRefusesTextThatIsNoNumber) {
  common::EnterDiagramLimits = true;
  std::vector<bool> kept;
  drawing::DiagramLimitsView() = [&](drawing::TEinDiagramLimits& form) {
    form.Button_calcClick();
    const drawing::TEinDiagramLimits shown = form;
    form.Edit_xmax = "abc";
    EXPECT_FALSE(form.Button_okClick());
    kept.push_back(form.Edit_xmax == shown.Edit_xmax);
    form.Edit_ymin = "1e999";
    EXPECT_FALSE(form.Button_okClick());
    kept.push_back(form.Edit_ymin == shown.Edit_ymin);
    EXPECT_EQ(form.closedBy, drawing::TEinDiagramLimits::Closed::Frame);
    form.Edit_xmin = "1";
    form.Edit_xmax = "3";
    form.Edit_ymin = "";  // empty: 0, as before
    form.Edit_ymax = "5";
    EXPECT_TRUE(form.Button_okClick());
  };
  drawing::BeginDiagram();
  drawing::DrawDiagramAxes("x", "y", "c", 0, 0, 10, 1, 0);
  drawing::DiagramLimitsView() = nullptr;
  EXPECT_EQ(kept, (std::vector<bool>{true, true}));
  EXPECT_EQ(drawing::DiagramUserLimits.xmax, 3);
  EXPECT_EQ(drawing::DiagramUserLimits.ymin, 0);
  std::vector<std::string> messages;
  for (const auto& asked : dialogs_.Asked()) messages.push_back(asked.text);
  EXPECT_EQ(messages, (std::vector<std::string>{"x max: \"abc\" is not a number !",
                                                "y min: \"1e999\" is not a finite number !"}));
}

// Equal limits leave an axis without a scale: OK refuses them, as the help
// of the form says, and takes them once they differ.
TEST_F(XyLayer, LimitsFormRefusesAnAxisWithoutExtent) {
  drawing::TEinDiagramLimits form;
  form.FormCreate();
  form.Edit_xmin = "2";
  form.Edit_xmax = "2";
  form.Edit_ymin = "0";
  form.Edit_ymax = "1";
  EXPECT_FALSE(form.Button_okClick());
  form.Edit_xmax = "4";
  form.Edit_ymax = "0";
  EXPECT_FALSE(form.Button_okClick());
  form.Edit_ymax = "1";
  EXPECT_TRUE(form.Button_okClick());
  EXPECT_EQ(drawing::DiagramUserLimits.xmax, 4);
  std::vector<std::string> messages;
  for (const auto& asked : dialogs_.Asked()) messages.push_back(asked.text);
  EXPECT_EQ(messages, (std::vector<std::string>{"Error: x min = x max !", "Error: y min = y max !"}));
}

TEST_F(XyLayer, LogarithmicAxesNeedPositiveLimits) {
  drawing::TEinDiagramLimits form;
  form.FormCreate();
  drawing::DiagramState.DiagramLogMode = 2;
  form.Edit_ymin = "0";
  EXPECT_FALSE(form.Button_okClick());
  ASSERT_FALSE(dialogs_.Asked().empty());
  EXPECT_EQ(dialogs_.Asked().back().text, "Error: y = 0 !");
  Real lo, hi, step;
  drawing::LogAxisLimits(lo, hi, step, 0, 3, 12);
  EXPECT_NEAR(step, 0.2L, 1e-12);
  EXPECT_NEAR(lo, 0, 1e-12);
}

// ---- The polar layer -----------------------------------------------------------------

TEST_F(XyLayer, PolarRingsAndInnerFraction) {
  drawing::BeginPolarDiagram();
  EXPECT_NEAR(drawing::PolarState.PolarInnerRadius, 25.875L, 1e-12);
  drawing::SetPolarRange(0, 10);
  EXPECT_NEAR(drawing::PolarRadius(10), 51.75L, 1e-12);
  EXPECT_NEAR(drawing::PolarRadius(0), 25.875L, 1e-12);
  drawing::SetPolarInnerRing(1.0L);
  drawing::SetPolarInnerRing(-0.1L);
  EXPECT_EQ(drawing::PolarState.PolarInnerFraction, 0.5L);
  EXPECT_LT(drawing::PolarRadius(-20), 0) << "below the range: across the centre";

  // f = 0.5 divides the range into about three steps, f = 0 into about six;
  // an inner ring next to the outer one still has a ring.
  for (const auto& [f, rings] : {std::pair<Real, int>{0.5L, 4}, {0.0L, 7}, {0.95L, 0}}) {
    log_.figures.clear();
    drawing::BeginPolarDiagram();
    drawing::SetPolarInnerRing(f);
    drawing::DrawPolarGrid("v", "cap", 0, 6);
    const int circles = static_cast<int>(std::count_if(log_.figures.begin(), log_.figures.end(),
                                                       [](const Figure& fig) { return fig.kind == "CIRCLE"; }));
    if (rings > 0) EXPECT_EQ(circles, rings) << f;
    else EXPECT_GE(circles, 2) << f;
  }
}

}  // namespace
