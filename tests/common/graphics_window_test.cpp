// The graphics window without a screen: the records the facade writes, the
// zoom rectangle under keys and mouse, and the replay onto recording
// canvases for the screen and the printer.
#include "common/graphics_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <random>
#include <sstream>

#include "common/graphics_facade.h"
#include "common/kaldvar.h"

using namespace common;

namespace {

// Every device call as a line of text.
class RecordingCanvas : public GraphicsCanvas {
 public:
  RecordingCanvas(int w, int h) : w_(w), h_(h) {}
  int Width() const override { return w_; }
  int Height() const override { return h_; }
  void SetPen(ColourValue c, int width, int style) override { Log("pen", c, width, style); }
  void MoveTo(int x, int y) override { Log("move", x, y); }
  void LineTo(int x, int y) override { Log("line", x, y); }
  void Ellipse(int l, int t, int r, int b) override { Log("ellipse", l, t, r, b); }
  void Arc(int l, int t, int r, int b, int x3, int y3, int x4, int y4) override {
    Log("arc", l, t, r, b, x3, y3, x4, y4);
  }
  void Polygon(const CanvasPoint (&p)[4], ColourValue fill) override {
    Log("polygon", p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y, p[3].x, p[3].y, fill);
  }
  void Text(int x, int y, const std::string& text, const CanvasFont& f, ColourValue c) override {
    calls.push_back("text " + std::to_string(x) + " " + std::to_string(y) + " " + text + " h" +
                    std::to_string(f.height) + " w" + std::to_string(f.width) + " e" + std::to_string(f.escapement) +
                    (f.bold ? " bold" : "") + " c" + std::to_string(c));
  }
  // The calls without the pen changes.
  std::vector<std::string> Figures() const {
    std::vector<std::string> out;
    for (const auto& c : calls)
      if (c.rfind("pen", 0) != 0) out.push_back(c);
    return out;
  }
  std::vector<std::string> calls;

 private:
  template <typename... T>
  void Log(const char* name, T... v) {
    std::ostringstream s;
    s << name;
    ((s << ' ' << v), ...);
    calls.push_back(s.str());
  }
  int w_, h_;
};

class FakeHost : public GraphicsHost {
 public:
  void Invalidate() override { ++invalidated; }
  void RepaintNow() override { ++repaints; }
  int ClientWidth() const override { return 640; }
  int ClientHeight() const override { return 480; }
  void DrawDirectLine(int, int, int, int, ColourValue) override { ++directLines; }
  void ShowRubberBand(bool shown, int, int, int, int) override { bandShown = shown; }
  bool ShowProgress() override { return true; }
  bool Pause(int ms) override {
    pauses.push_back(ms);
    return true;
  }
  StepAnswer StepDialog() override {
    ++steps;
    return endStepping ? StepAnswer::EndStepping : stepAnswer;
  }
  bool ShowFrame(int ms) override {
    frames.push_back(ms);
    framesAt.push_back(DisplayList.size());
    return !endRun;
  }
  int invalidated = 0, repaints = 0, directLines = 0, steps = 0;
  bool bandShown = false, endStepping = false, endRun = false;
  StepAnswer stepAnswer = StepAnswer::Next;
  std::vector<int> pauses, frames;
  std::vector<std::size_t> framesAt;
};

class GraphicsWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetKaldvarDefaults();
    HorizontalPixels = 640;
    VerticalPixels = 480;
    InitScreenGraphicsSettings();
    InitPrinterGraphicsSettings();
    InitGraphicsWindowUnit();
    InitGraphDisplayList();
    FKaldgra.AttachHost(&host);
    AbortFlag = 0;
  }
  void TearDown() override {
    FKaldgra.AttachHost(nullptr);
    HardcopyFlag = 0;
  }
  FakeHost host;
};

std::vector<Real> Numbers(const std::string& record) {
  std::vector<Real> out;
  std::stringstream s(record);
  std::string field;
  while (std::getline(s, field, ';')) {
    Real v = 0;
    EXPECT_TRUE(ParseRecordNumber(field, v)) << field;
    out.push_back(v);
  }
  return out;
}

}  // namespace

TEST(RecordNumbers, GeneralFormWithPointAndEightDigits) {
  EXPECT_EQ(RecordNumberText(0), "0");
  EXPECT_EQ(RecordNumberText(-2.5L), "-2.5");
  EXPECT_EQ(RecordNumberText(160), "160");
  EXPECT_EQ(RecordNumberText(1.0L / 3), "0.33333333");
  EXPECT_EQ(RecordNumberText(12345678.9L), "12345679");
  EXPECT_EQ(RecordNumberText(123456789.0L), "1.2345679E8");
  EXPECT_EQ(RecordNumberText(0.00001L), "1E-5");
  EXPECT_EQ(RecordNumberText(-0.0L), "0");
  Real v = 0;
  EXPECT_TRUE(ParseRecordNumber("1.2345679E8", v));
  EXPECT_NEAR(static_cast<double>(v), 123456790.0, 1e-3);
  EXPECT_TRUE(ParseRecordNumber("1E-5", v));
  EXPECT_FALSE(ParseRecordNumber("1,5", v));
  EXPECT_FALSE(ParseRecordNumber("", v));
  EXPECT_FALSE(ParseRecordNumber("nan", v));
}

TEST_F(GraphicsWindowTest, FacadeWritesOneRecordPerCallWithTheTrackersApplied) {
  GraphHeader(0, 0, 160, 120);
  GraphColor(12);
  GraphColor(12);  // same colour: no second record
  GraphColor(17);  // above ColourCount: not recorded
  GraphLine(0, 0, 10, 5);
  GraphCircle(1.5L, 2.25L, 0.125L);
  GraphText(10, 20, "a;b \x81");  // code page 850 u-umlaut
  GraphDosColor(5);               // CAD blue
  GraphTextStyle(2, 90, 3.5L, 2.5L);
  GraphSolid(0, 0, 1, 0, 1, 1, 0, 1);
  GraphLineStyle(0);  // already solid since the header
  FKaldgra.SetLineStyleName("hidden");
  GraphLineWidth(1);  // the start width: not recorded
  GraphLineWidth(3);
  GraphSleep(40);
  GraphSleep(40);
  const std::vector<std::string> expected = {
      "10;1;1;639;479;0;0;160;120", "11;0",           "8;12", "4;0;0;10;5", "3;1.5;2.25;0.125",
      "6;10;20;a;b \xC3\xBC",       "8;9",            "9;3.5;2.5;2;90", "7;0;0;1;0;1;1;0;1", "11;3",
      "12;3",                       "13;40",          "13;40"};
  EXPECT_EQ(DisplayList, expected);
  EXPECT_EQ(FKaldgra.GetColor(), 9);
  EXPECT_EQ(FKaldgra.EinX(0.5L), 80);
  EXPECT_EQ(FKaldgra.EinY(0.25L), 30);

  // Rectangle: four sides.
  DisplayList.clear();
  FKaldgra.Rectangle(0, 0, 2, 1);
  EXPECT_EQ(DisplayList, (std::vector<std::string>{"4;0;0;2;0", "4;2;0;2;1", "4;2;1;0;1", "4;0;1;0;0"}));

  // A new picture records its first colour, style and width again.
  ClearGraphics();
  EXPECT_TRUE(DisplayList.empty());
  GraphColor(9);
  GraphLineStyle(3);
  GraphLineWidth(3);
  EXPECT_EQ(DisplayList, (std::vector<std::string>{"8;9", "11;3", "12;3"}));
  EXPECT_GE(host.invalidated, 1);
}

TEST_F(GraphicsWindowTest, ArcsRecordBoxAndRadialPointsOrAChord) {
  GraphArc(0, 0, 0, 90, 10, 90);
  GraphArc(0, 0, 0, 90, 10, -90);  // negative sweep: angles exchanged
  GraphArc(0, 0, 0, 3, 10, 3);     // small sweep: the chord
  ASSERT_EQ(DisplayList.size(), 3u);
  auto a = Numbers(DisplayList[0]);
  ASSERT_EQ(a.size(), 9u);
  const double expectedA[] = {5, -10, -10, 10, 10, 10, 0, 0, 10};
  for (int i = 0; i < 9; ++i) EXPECT_NEAR(static_cast<double>(a[i]), expectedA[i], 1e-6) << i;
  auto b = Numbers(DisplayList[1]);
  const double expectedB[] = {5, -10, -10, 10, 10, 0, 10, 10, 0};
  for (int i = 0; i < 9; ++i) EXPECT_NEAR(static_cast<double>(b[i]), expectedB[i], 1e-6) << i;
  auto c = Numbers(DisplayList[2]);
  ASSERT_EQ(c.size(), 5u);
  EXPECT_EQ(c[0], 4);
  EXPECT_NEAR(static_cast<double>(c[3]), 10 * std::cos(3 * std::numbers::pi / 180), 1e-6);
  EXPECT_NEAR(static_cast<double>(c[4]), 10 * std::sin(3 * std::numbers::pi / 180), 1e-6);
}

TEST_F(GraphicsWindowTest, ZeroWorldWindowSetsAbortAndIsNotRecorded) {
  GraphHeader(0, 0, 160, 120);
  const auto zoom = ScreenGraphicsSettings;
  DisplayList.clear();
  GraphWindow(true, false, 0, 0, 1, 1, 5, 0, 5, 1);
  EXPECT_EQ(AbortFlag, 1);
  EXPECT_TRUE(DisplayList.empty());
  EXPECT_EQ(GraphWindowState.WorldX2, 160);
  EXPECT_EQ(ScreenGraphicsSettings.ZoomRight, zoom.ZoomRight);
}

TEST_F(GraphicsWindowTest, FiveZoomStepsAndEscapeGiveBackTheWholeViewport) {
  GraphHeader(0, 0, 160, 120);
  const auto& g = ScreenGraphicsSettings;
  EXPECT_EQ(g.ZoomLeft, 1);
  EXPECT_EQ(g.ZoomTop, 1);
  EXPECT_EQ(g.ZoomRight, 639);
  EXPECT_EQ(g.ZoomBottom, 479);
  const Real scale = GraphWindowState.ScaleX;
  for (int i = 0; i < 5; ++i) FKaldgra.processKey(107);
  EXPECT_GT(g.ZoomLeft, 100);
  EXPECT_LT(g.ZoomRight, 540);
  EXPECT_GT(GraphWindowState.ScaleX, 2 * scale);
  EXPECT_EQ(host.invalidated, 5);
  FKaldgra.processKey(27);
  EXPECT_EQ(std::vector<int>({g.ZoomLeft, g.ZoomTop, g.ZoomRight, g.ZoomBottom}),
            std::vector<int>({1, 1, 639, 479}));
  EXPECT_EQ(GraphWindowState.ScaleX, scale);

  // Pan: Left moves the rectangle right by a tenth of its width, Page Down
  // down by half its height.
  FKaldgra.processKey(37);
  EXPECT_EQ(g.ZoomLeft, 1 + 64);
  FKaldgra.processKey(34);
  EXPECT_EQ(g.ZoomTop, 1 + 5 * 48);
  FKaldgra.processKey(116);  // F5 resets as Escape does
  EXPECT_EQ(g.ZoomLeft, 1);
  EXPECT_EQ(g.ZoomTop, 1);

  // Keys outside the table change nothing and repaint nothing.
  const int before = host.invalidated;
  FKaldgra.processKey(65);
  FKaldgra.processKey(187);
  EXPECT_EQ(host.invalidated, before);
  EXPECT_EQ(g.ZoomRight, 639);

  // Zooming out stops before the rectangle leaves its integer range.
  for (int i = 0; i < 400; ++i) FKaldgra.processKey(109);
  EXPECT_LT(std::abs(static_cast<long long>(g.ZoomRight)), 1LL << 25);
  EXPECT_GT(g.ZoomRight, 1000000);
  EXPECT_TRUE(std::isfinite(static_cast<double>(GraphWindowState.ScaleX)));
  FKaldgra.processKey(27);
  EXPECT_EQ(g.ZoomRight, 639);
}

TEST_F(GraphicsWindowTest, MouseZoomsToTheBandAndResetsByRightClickOrDoubleClick) {
  GraphWindow(false, false, 0, 0, 1, 1, 0, 0, 640, 480);
  const auto& g = ScreenGraphicsSettings;
  FKaldgra.FormMouseDown(TFkaldgra::MouseButton::Left, 100, 100);
  FKaldgra.FormMouseMove(200, 150);
  EXPECT_TRUE(host.bandShown);
  FKaldgra.FormMouseUp(TFkaldgra::MouseButton::Left, 300, 200);
  EXPECT_FALSE(host.bandShown);
  // The band's y is measured from the bottom of the client area.
  EXPECT_EQ(std::vector<int>({g.ZoomLeft, g.ZoomTop, g.ZoomRight, g.ZoomBottom}),
            std::vector<int>({100, 280, 300, 380}));
  EXPECT_NEAR(static_cast<double>(g.ViewX1), 100, 1e-9);
  EXPECT_NEAR(static_cast<double>(GraphWindowState.ScaleX), 640.0 / 200, 1e-9);

  FKaldgra.FormMouseDown(TFkaldgra::MouseButton::Right, 5, 5);
  EXPECT_EQ(g.ZoomRight, 640);

  // A band without height does nothing.
  FKaldgra.FormMouseDown(TFkaldgra::MouseButton::Left, 10, 10);
  FKaldgra.FormMouseUp(TFkaldgra::MouseButton::Left, 50, 10);
  EXPECT_EQ(g.ZoomLeft, 0);

  // Double click, then a left press: the window back to 0..1.
  DisplayList.clear();
  FKaldgra.FormDblClick();
  FKaldgra.FormMouseDown(TFkaldgra::MouseButton::Left, 10, 10);
  EXPECT_EQ(FKaldgra.Dragging, 0);
  EXPECT_EQ(GraphWindowState.WorldX2, 1);
  EXPECT_FALSE(DisplayList.empty());
}

TEST_F(GraphicsWindowTest, ReplayDrawsEveryFigureThroughTheZoomMapping) {
  // One world unit per pixel: x + 1 and 479 - y on the screen.
  GraphHeader(0, 0, 638, 478);
  GraphColor(12);
  GraphLine(10, 5, 20, 5);
  GraphCircle(80, 60, 10);
  GraphArc(80, 60, 0, 90, 10, 90);
  GraphSolid(0, 0, 10, 0, 10, 10, 0, 10);
  GraphTextStyle(0, 0, 10, 10);
  GraphText(40, 30, "Zahn");
  DisplayList.push_back("99;1;2");     // unknown code: skipped
  DisplayList.push_back("4;1;x;2;3");  // not a number: skipped
  GraphLineWidth(2);
  GraphSleep(25);
  RecordingCanvas screen(641, 481);
  FKaldgra.Replay(screen, nullptr);
  const ColourValue red = RgbColour(255, 0, 0);
  const std::vector<std::string> expected = {
      "move 11 474",
      "line 21 474",
      "ellipse 71 409 91 429",
      "arc 71 409 91 429 91 419 81 409",
      "polygon 1 479 11 479 11 469 1 469 " + std::to_string(red),
      // height 10 * 1.6, width 10 * 1.1 * 0.8; the top-left corner 0.75 of
      // the height above the point
      "text 41 437 Zahn h16 w9 e0 bold c" + std::to_string(red),
  };
  EXPECT_EQ(screen.Figures(), expected);
  EXPECT_EQ(screen.calls.back(), "pen " + std::to_string(red) + " 2 0");
  EXPECT_EQ(host.pauses, std::vector<int>({25}));
}

TEST_F(GraphicsWindowTest, PrinterGetsTheFiguresScaledToThePageWithoutPauses) {
  GraphHeader(0, 0, 160, 120);
  GraphColor(12);
  GraphLine(0, 0, 160, 120);
  GraphLineWidth(2);
  GraphSleep(500);
  PrinterGraphicsSettings.PrintMarginLeft = 21;  // a tenth of the page width
  PrinterGraphicsSettings.PrintBorder = true;
  HardcopyFlag = 1;
  RecordingCanvas screen(641, 481), printer(2100, 2970);
  FKaldgra.Replay(screen, &printer);
  EXPECT_TRUE(host.pauses.empty());
  // WindowsPrintMode 1: black on the printer; the border in cyan first.
  const auto calls = printer.calls;
  ASSERT_GE(calls.size(), 9u);
  EXPECT_EQ(calls[1], "pen " + std::to_string(RgbColour(0, 255, 255)) + " 1 0");
  // One factor across and down, the largest with which the 640 x 480
  // reference screen fits the page: 2100 / 640. The world window stands
  // in the middle of the viewport, a third of a pixel from its left edge.
  // x: 210 + (1 + 1/3) * 3.28125 = 214.4; y: 479 * 3.28125 = 1571.7.
  EXPECT_EQ(calls[2], "move 214 1572");
  const auto figures = printer.Figures();
  EXPECT_EQ(figures[figures.size() - 2], "move 214 1572");
  EXPECT_EQ(figures.back(), "line 2306 3");
  EXPECT_EQ(calls.back(), "pen 0 8 0");  // printer pen four times as wide
  EXPECT_EQ(screen.Figures().back(), "line 639 1");
}

TEST_F(GraphicsWindowTest, ReplayStopsAtAZeroWorldRecordAndStepsAtColourZero) {
  GraphHeader(0, 0, 160, 120);
  FKaldgra.StepMode = 1;
  GraphColor(0);
  GraphLine(0, 0, 1, 1);
  GraphColor(1);
  GraphColor(0);
  DisplayList.push_back("10;1;1;639;479;5;0;5;120");
  GraphLine(0, 0, 2, 2);
  RecordingCanvas screen(641, 481);
  host.endStepping = false;
  FKaldgra.Replay(screen, nullptr);
  EXPECT_EQ(host.steps, 2);
  EXPECT_EQ(AbortFlag, 1);
  EXPECT_EQ(screen.Figures().size(), 2u);  // the first line only
  // The end button ends stepping for the rest of the replay.
  AbortFlag = 0;
  host.steps = 0;
  host.endStepping = true;
  FKaldgra.Replay(screen, nullptr);
  EXPECT_EQ(host.steps, 1);
  EXPECT_EQ(FKaldgra.StepMode, 0);

  // After a repaint the style tracker starts over: the next style is written.
  DisplayList.clear();
  GraphLineStyle(0);
  EXPECT_EQ(DisplayList, std::vector<std::string>{"11;0"});
}

namespace {

// "move x y" or "line x y" of a canvas log as its two numbers.
std::pair<int, int> PointOf(const std::string& call) {
  std::istringstream in(call);
  std::string name;
  int x = 0, y = 0;
  in >> name >> x >> y;
  return {x, y};
}

}  // namespace

// One millimetre is as many pixels across as down on every reference
// screen, and on a portrait page: a 40 mm square stays square; the picture
// stands in the middle of the viewport and fills it one way.
TEST_F(GraphicsWindowTest, SquaresStaySquareOnEveryScreenAndOnThePage) {
  const std::pair<int, int> screens[] = {{1591, 809}, {1015, 677}, {791, 709}, {640, 480}, {480, 900}};
  for (const auto& [w, h] : screens) {
    SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
    HorizontalPixels = static_cast<std::uint16_t>(w);
    VerticalPixels = static_cast<std::uint16_t>(h);
    ClearGraphics();
    GraphHeader(0, 0, 160, 120);
    const int across = FKaldgra.ScreenX(60) - FKaldgra.ScreenX(20);
    const int down = FKaldgra.ScreenY(20) - FKaldgra.ScreenY(60);
    EXPECT_GT(across, 0);
    EXPECT_NEAR(across, down, 1);
    int left = 0, top = 0, right = 0, bottom = 0;
    FKaldgra.PictureRect(left, top, right, bottom);
    EXPECT_NEAR(left - 1, (w - 1) - right, 1);
    EXPECT_NEAR(top - 1, (h - 1) - bottom, 1);
    EXPECT_TRUE(left <= 2 || top <= 2);

    GraphLine(20, 20, 60, 20);
    GraphLine(20, 20, 20, 60);
    HardcopyFlag = 1;
    RecordingCanvas screen(w + 1, h + 1), printer(2100, 2970);
    FKaldgra.Replay(screen, &printer);
    HardcopyFlag = 0;
    const auto figures = printer.Figures();
    ASSERT_GE(figures.size(), 4u);
    const auto a = PointOf(figures[figures.size() - 4]), b = PointOf(figures[figures.size() - 3]);
    const auto c = PointOf(figures[figures.size() - 2]), d = PointOf(figures[figures.size() - 1]);
    EXPECT_EQ(a.second, b.second);  // the first side lies flat
    EXPECT_EQ(c.first, d.first);    // the second stands upright
    const int printedAcross = b.first - a.first, printedDown = c.second - d.second;
    EXPECT_GT(printedAcross, 100);
    EXPECT_NEAR(printedAcross, printedDown, 1);
  }
}

// Points hundreds of kilometres away (or 1e12 mm) go to the devices within
// their range; a line towards them keeps its direction on the canvas.
TEST_F(GraphicsWindowTest, FarCoordinatesNeitherOverflowNorTurnLines) {
  GraphHeader(0, 0, 160, 120);
  const int x0 = FKaldgra.ScreenX(0), y0 = FKaldgra.ScreenY(0);
  for (const Real far : {3e8L, 1e12L, 1e300L}) {
    EXPECT_EQ(FKaldgra.ScreenX(far), 4194304) << static_cast<double>(far);
    EXPECT_EQ(FKaldgra.ScreenX(-far), -4194304);
    EXPECT_EQ(FKaldgra.ScreenY(far), -4194304);
    EXPECT_EQ(FKaldgra.ScreenY(-far), 4194304);
  }
  GraphLine(0, 0, 1e12L, 1e12L);
  GraphLine(1e12L, 0, 2e12L, 0);  // wholly beyond: nothing to draw
  GraphCircle(0, 0, 1e12L);
  RecordingCanvas screen(641, 481);
  FKaldgra.Replay(screen, nullptr);
  const auto figures = screen.Figures();
  ASSERT_EQ(figures.size(), 3u);
  const auto from = PointOf(figures[0]), to = PointOf(figures[1]);
  EXPECT_EQ(from, std::make_pair(x0, y0));
  // 45 degrees up to the right, in reach of the devices.
  EXPECT_GT(to.first, 1000000);
  EXPECT_LE(to.first, 4194304);
  EXPECT_NEAR(to.first - x0, y0 - to.second, 2);
  EXPECT_EQ(figures[2].rfind("ellipse -4194304 -4194304 4194304 4194304", 0), 0u) << figures[2];
}

// The wheel zooms about the mouse: the world point under it stays under it.
TEST_F(GraphicsWindowTest, ZoomAboutKeepsThePointUnderTheMouse) {
  HorizontalPixels = 1591;
  VerticalPixels = 809;
  GraphHeader(0, 0, 160, 120);
  const int px = 500, py = 300;
  const Real wx = FKaldgra.WorldXAt(px), wy = FKaldgra.WorldYAt(py);
  const Real scale = GraphWindowState.ScaleX;
  const int before = host.invalidated;
  FKaldgra.ZoomAbout(px, py, 1.44L);
  EXPECT_NEAR(static_cast<double>(GraphWindowState.ScaleX / scale), 1.44, 0.01);
  EXPECT_EQ(GraphWindowState.ScaleX, GraphWindowState.ScaleY);
  EXPECT_NEAR(FKaldgra.ScreenXReal(wx), px, 1.5);
  EXPECT_NEAR(FKaldgra.ScreenYReal(wy), py, 1.5);
  EXPECT_EQ(host.invalidated, before + 1);
  FKaldgra.ZoomAbout(px, py, 1 / 1.44L);
  EXPECT_NEAR(static_cast<double>(GraphWindowState.ScaleX / scale), 1, 0.01);
  FKaldgra.ZoomAbout(px, py, 0);  // no factor: nothing
  EXPECT_NEAR(static_cast<double>(GraphWindowState.ScaleX / scale), 1, 0.01);
}

// The rubber band on a picture of true proportions: what lay inside the
// band fills the view afterwards.
TEST_F(GraphicsWindowTest, RubberBandShowsWhatWasInsideIt) {
  HorizontalPixels = 1591;
  VerticalPixels = 809;
  GraphHeader(0, 0, 160, 120);
  const Real left = FKaldgra.WorldXAt(700), right = FKaldgra.WorldXAt(900);
  const Real top = FKaldgra.WorldYAt(300), bottom = FKaldgra.WorldYAt(400);
  FKaldgra.FormMouseDown(TFkaldgra::MouseButton::Left, 700, 300);
  FKaldgra.FormMouseUp(TFkaldgra::MouseButton::Left, 900, 400);
  // The band was twice as wide as high, the viewport is about so: the
  // band's world fills it across, centred down (within the whole pixels of
  // the zoom rectangle).
  EXPECT_NEAR(FKaldgra.ScreenXReal(left), 1, 5);
  EXPECT_NEAR(FKaldgra.ScreenXReal(right), 1590, 5);
  const Real middle = (FKaldgra.ScreenYReal(top) + FKaldgra.ScreenYReal(bottom)) / 2;
  EXPECT_NEAR(static_cast<double>(middle), 404.5, 3);
  EXPECT_EQ(GraphWindowState.ScaleX, GraphWindowState.ScaleY);
}

// A pause record shows the picture drawn so far at once; the host's "end
// the run" sets AbortFlag. A replay position goes on where the last replay
// stopped and draws what a whole replay draws; records already shown are
// replayed without their pauses.
TEST_F(GraphicsWindowTest, PausesShowFramesAndReplaysGoOnFromWhereTheyStopped) {
  GraphHeader(0, 0, 638, 478);
  GraphColor(12);
  GraphLine(10, 10, 20, 20);
  GraphSleep(0);
  EXPECT_EQ(host.frames, std::vector<int>({0}));
  EXPECT_EQ(host.framesAt, std::vector<std::size_t>({DisplayList.size()}));
  EXPECT_EQ(AbortFlag, 0);

  RecordingCanvas part(641, 481);
  ReplayPosition at;
  ReplayOptions quiet;
  quiet.quietBefore = DisplayList.size();
  EXPECT_EQ(FKaldgra.Replay(part, nullptr, at, quiet), DisplayList.size());
  EXPECT_TRUE(host.pauses.empty());
  GraphColor(9);
  GraphTextStyle(0, 0, 10, 10);
  GraphText(40, 30, "Zahn");
  GraphCircle(80, 60, 10);
  host.endRun = true;
  GraphSleep(30);
  EXPECT_EQ(AbortFlag, 1);
  part.calls.clear();
  FKaldgra.Replay(part, nullptr, at, ReplayOptions{});
  EXPECT_EQ(host.pauses, std::vector<int>({30}));  // the new pause only

  RecordingCanvas whole(641, 481);
  host.pauses.clear();
  FKaldgra.Replay(whole, nullptr);
  EXPECT_EQ(host.pauses, std::vector<int>({0, 30}));  // every picture, also without a pause
  const auto wholeFigures = whole.Figures();
  const auto partFigures = part.Figures();
  ASSERT_EQ(partFigures.size(), 2u);
  EXPECT_EQ(std::vector<std::string>(wholeFigures.end() - 2, wholeFigures.end()), partFigures);
  // The pen goes on in the colour reached: red, not the start colour.
  EXPECT_EQ(part.calls.front(), "pen " + std::to_string(RgbColour(255, 0, 0)) + " 1 0");
}

TEST(GraphicsHelpers, DosColoursDirectionsAndLineStyleNames) {
  const int expected[] = {0, 12, 14, 10, 11, 9, 13, 15, 1, 2, 3, 4, 5, 6, 7, 8, 16};
  for (int n = 0; n <= 16; ++n) EXPECT_EQ(DosColorToIndex(n), expected[n]) << n;
  EXPECT_EQ(DosColorToIndex(17), 12);  // 17 and 15 = 1
  EXPECT_EQ(DosColorToIndex(23), 15);
  EXPECT_EQ(TFkaldgra::GetDirection(0), 0);
  EXPECT_EQ(TFkaldgra::GetDirection(45), 1);
  EXPECT_EQ(TFkaldgra::GetDirection(135), 0);
  EXPECT_EQ(TFkaldgra::GetDirection(270), 1);
  EXPECT_EQ(TFkaldgra::GetDirection(-90), 1);
}

// The name in the screen's head line and the drawing footer: a design
// opened from the command line keeps its extension, a design opened in the
// window has none; either way the extension appears once.
TEST(GraphicsHelpers, DataFileNameCarriesTheExtensionOnce) {
  const std::string savedName = CurrentFileName, savedDir = DataDirectory;
  const std::uint8_t savedBare = BareNameFlag;
  const std::string savedExtension = DataFileExtension;
  DataFileExtension = "vb4";
  BareNameFlag = 0;
  DataDirectory.clear();
  CurrentFileName = "sheet.vb4";
  EXPECT_EQ(DataFileName(), "sheet.vb4");
  // A design named in the window keeps the dots of its own name.
  CurrentFileName = "sheet.v2";
  EXPECT_EQ(DataFileName(), "sheet.v2.vb4");
  CurrentFileName = "designs.old/sheet";
  EXPECT_EQ(DataFileName(), "designs.old/sheet." + DataFileExtension);
  DataDirectory = "/home/user/gears";
  CurrentFileName = "sheet";
  EXPECT_EQ(DataFileName(), "/home/user/gears/sheet." + DataFileExtension);
  CurrentFileName.clear();
  EXPECT_EQ(DataFileName(), "");
  CurrentFileName = savedName;
  DataDirectory = savedDir;
  BareNameFlag = savedBare;
  DataFileExtension = savedExtension;
}

namespace common {
namespace {

// The records keep their numbers as they were given; their text form shows
// eight significant digits, integers (colours, styles, widths, pauses, the
// font and the viewport pixels) as integers, and a record given as text
// stays the text it was given.
TEST(DisplayListRecords, NumbersKeptTextFormOnDemand) {
  TDisplayList list;
  list.Add(RecLine, {1.0L / 3, 2, 1e-7L, 123456789.125L});
  list.Add(RecWindow, {1, 1, 639, 479, 0, 0, 160.5L, 120});
  list.Add(RecTextStyle, {3.5L, 2.5L, 2, 90});
  list.Add(RecSleep, {123456789});
  list.AddText(RecText, 1.5L, 2, "a;b");
  list.push_back("4;0;0;1.0;+1");
  list.push_back("8;1.5");
  list.push_back("11");
  EXPECT_EQ(list, (std::vector<std::string>{"4;0.33333333;2;1E-7;1.2345679E8", "10;1;1;639;479;0;0;160.5;120",
                                            "9;3.5;2.5;2;90", "13;123456789", "6;1.5;2;a;b", "4;0;0;1.0;+1", "8;1.5",
                                            "11"}));
  const TDisplayRecord line = list.Record(0);
  ASSERT_EQ(line.count, 4u);
  EXPECT_EQ(line.values[0], 1.0L / 3);
  EXPECT_EQ(line.values[3], 123456789.125L);
  const TDisplayRecord text = list.Record(4);
  EXPECT_TRUE(text.hasText);
  EXPECT_EQ(text.text, "a;b");
  const TDisplayRecord given = list.Record(5);
  EXPECT_EQ(given.code, RecLine);
  ASSERT_EQ(given.count, 4u);
  EXPECT_EQ(given.values[2], 1);
  EXPECT_EQ(given.values[3], 1);
  EXPECT_EQ(list.Record(6).count, 0u) << "a colour is an integer";
  EXPECT_EQ(list.Record(7).code, 0) << "a record without fields is skipped";
  std::vector<std::string> texts = list;
  EXPECT_EQ(texts.size(), 8u);
  EXPECT_EQ(std::count(list.begin(), list.end(), "11"), 1);
  list.clear();
  EXPECT_TRUE(list.empty());
}

// Lines that continue one another (an outline drawn as a polyline) read
// back as they were added, whether they share their points or not: a start
// the same as the last end in value but not bit for bit (-0 after 0), or a
// line after another record, keeps its own numbers. The list holds more
// records than one chunk of its store; a copy reads as the original.
TEST(DisplayListRecords, LinesThatContinueReadBackAsAdded) {
  TDisplayList list;
  std::vector<std::array<Real, 4>> added;
  Real x = 0, y = 0;
  for (int i = 0; i < 20000; ++i) {
    Real nx = std::cos(i * 0.01L) * 100, ny = std::sin(i * 0.013L) * 50;
    if (i % 997 == 0) list.Add(RecColor, {Real(i % 16)});
    if (i % 1999 == 0) x = 1e-3L;  // a jump: the next line starts elsewhere
    if (i % 2003 == 0) x = -0.0L, y = 0.0L, nx = 0.0L, ny = -0.0L;
    list.Add(RecLine, {x, y, nx, ny});
    added.push_back({x, y, nx, ny});
    x = nx, y = ny;
  }
  list.Add(RecLine, {-0.0L, 0.0L, 5, 5});  // starts at 0;-0 in value only
  added.push_back({-0.0L, 0.0L, 5, 5});
  const TDisplayList copy = list;
  for (const TDisplayList* l : {static_cast<const TDisplayList*>(&list), &copy}) {
    std::size_t line = 0;
    for (std::size_t i = 0; i < l->size(); ++i) {
      const TDisplayRecord r = l->Record(i);
      if (r.code != RecLine) continue;
      ASSERT_EQ(r.count, 4u);
      for (int k = 0; k < 4; ++k) {
        const Real expected = added[line][static_cast<std::size_t>(k)];
        ASSERT_TRUE(r.values[k] == expected && std::signbit(r.values[k]) == std::signbit(expected))
            << "line " << line << " value " << k;
      }
      std::string text = "4";
      for (int k = 0; k < 4; ++k) text += ";" + RecordNumberText(added[line][static_cast<std::size_t>(k)]);
      ASSERT_EQ((*l)[i], text);
      ++line;
    }
    EXPECT_EQ(line, added.size());
  }
}

// Records given up read as empty ones at their indexes; the rest read as
// they were added, also those added after, in a copy, and when a range
// given up grows over earlier ones (as a run's erased pictures join):
// random lines, texts, colours and records given as text against the
// texts they were added as.
TEST(DisplayListRecords, RecordsGivenUpReadEmptyAndTheRestAsAdded) {
  std::mt19937 random(7);
  TDisplayList list;
  std::vector<std::string> model;
  std::size_t released = 0;
  for (int step = 0; step < 2500; ++step) {
    const int what = static_cast<int>(random() % 10);
    if (what < 5) {
      const Real x = random() % 7, y = random() % 7;
      list.Add(RecLine, {x, y, Real(random() % 7), Real(random() % 7)});
    } else if (what == 5) {
      list.AddText(RecText, 1, 2, "T" + std::to_string(step));
    } else if (what == 6) {
      list.push_back("8;" + std::to_string(random() % 16));
    } else if (what == 7) {
      list.Add(RecColor, {Real(random() % 16)});
    }
    if (what < 8) {
      model.push_back(list[list.size() - 1]);
      continue;
    }
    // A range from somewhere after the last one's start to near the end,
    // keeping a few of its records.
    const std::size_t size = model.size();
    if (size < 2) continue;
    const std::size_t first = released + random() % (size - released), end = first + 1 + random() % (size - first);
    std::vector<std::size_t> keep;
    for (std::size_t i = first; i < end; ++i)
      if (random() % 8 == 0) keep.push_back(i);
    list.Release(first, end, keep);
    for (std::size_t i = first; i < end; ++i)
      if (!std::binary_search(keep.begin(), keep.end(), i)) model[i].clear();
    released = what == 8 ? first : released;
    ASSERT_EQ(list.size(), model.size());
    ASSERT_TRUE(list == model) << step;
    const TDisplayList copy = list;
    ASSERT_TRUE(copy == model) << step;
    for (std::size_t i = 0; i < model.size(); ++i) {
      if (model[i].empty()) {
        ASSERT_EQ(list.Record(i).code, 0) << step << " " << i;
      }
    }
  }
  std::size_t stored = 0;
  for (const std::string& m : model) stored += !m.empty();
  EXPECT_EQ(list.StoredCount(), stored);
  EXPECT_LT(stored, model.size() / 2);
}

// A picture replays the same from its records and from their text form.
TEST_F(GraphicsWindowTest, RecordsAndTheirTextFormReplayAlike) {
  GraphHeader(0, 0, 160, 120);
  GraphColor(12);
  GraphLine(10.25L, 5, 20, 5.5L);
  GraphCircle(80, 60, 10);
  GraphArc(80, 60, 10, 100, 12.5L, 90);
  GraphSolid(0, 0, 10, 0, 10, 10, 0, 10);
  GraphTextStyle(1, 30, 4, 3);
  GraphText(40, 30, "Zahn;rad");
  GraphLineStyle(2);
  GraphLineWidth(3);
  RecordingCanvas fromNumbers(641, 481);
  FKaldgra.Replay(fromNumbers, nullptr);
  const std::vector<std::string> texts = DisplayList;
  DisplayList.clear();
  for (const std::string& t : texts) DisplayList.push_back(t);
  RecordingCanvas fromTexts(641, 481);
  FKaldgra.Replay(fromTexts, nullptr);
  EXPECT_GT(fromNumbers.calls.size(), 8u);
  EXPECT_EQ(fromTexts.calls, fromNumbers.calls);
}

}  // namespace
}  // namespace common

namespace {

// A run of an animation as the gear animation records it: a frame (drawn
// once), then pictures of a line and a text that move, each shown (pause),
// then erased by its figures again in the background colour with a wide
// pen; the last one stays.
void AnimationRun(int pictures) {
  GraphHeader(0, 0, 160, 120);
  GraphColor(14);
  GraphLine(0, 0, 160, 0);
  for (int i = 0; i < pictures; ++i) {
    auto picture = [i] {
      GraphLine(10 + i, 10, 20 + i, 30);
      GraphCircle(50, 50, 5 + i);
      GraphText(30, 30 + i, "T");
    };
    GraphColor(12);
    GraphLineWidth(1);
    picture();
    GraphSleep(0);
    if (i == pictures - 1) break;
    GraphColor(0);
    GraphLineWidth(3);
    picture();
  }
}

}  // namespace

// The pictures an animation erased again are found in the list, with their
// erasing passes; a replay draws the frame and the last picture only, with
// the pens of the recording, and a picture whose erasing pass repeats
// other figures is drawn as recorded. The list gives up the records of the
// erased pictures as their passes end: it holds as many after 50 pictures
// as after 2, and their indexes stay.
TEST_F(GraphicsWindowTest, ReplayLeavesOutTheErasedPicturesOfAnAnimation) {
  AnimationRun(2);
  const std::size_t stored = DisplayList.StoredCount(), added = DisplayList.size();
  ClearGraphics();
  AnimationRun(50);
  const auto& ranges = FKaldgra.Erased().Ranges();
  // One range, from the first picture's first figure (after its colour)
  // to the last picture's colour.
  ASSERT_EQ(ranges.size(), 1u);
  EXPECT_EQ(DisplayList[ranges[0].first - 1], "8;12");
  EXPECT_EQ(DisplayList[ranges[0].end], "8;12");
  EXPECT_EQ(DisplayList.StoredCount(), stored);
  EXPECT_GT(DisplayList.size(), 20 * added);
  EXPECT_EQ(DisplayList[ranges[0].first], "") << "given up";
  RecordingCanvas screen(641, 481);
  FKaldgra.Replay(screen, nullptr);
  const auto figures = screen.Figures();
  // The frame's line (move and line), the last picture's line, circle and text.
  ASSERT_EQ(figures.size(), 6u);
  EXPECT_EQ(figures[3].rfind("line", 0), 0u);
  EXPECT_NE(figures[5].find(" T "), std::string::npos);
  // Drawn in red with the picture's pen, not the erasing one.
  const std::string red = std::to_string(ScreenGraphicsSettings.ColorTable[12]);
  EXPECT_EQ(screen.calls.back().rfind("text", 0), 0u);
  EXPECT_NE(screen.calls.back().find(" c" + red), std::string::npos);
  const auto lastPen = std::find_if(screen.calls.rbegin(), screen.calls.rend(),
                                    [](const std::string& c) { return c.rfind("pen", 0) == 0; });
  EXPECT_EQ(*lastPen, "pen " + red + " 1 0");
  // The last picture's place: 49 pixels on from the first one's.
  const auto firstLine = PointOf(figures[2]);
  ClearGraphics();
  AnimationRun(1);
  RecordingCanvas single(641, 481);
  FKaldgra.Replay(single, nullptr);
  EXPECT_EQ(single.Figures().size(), 6u);
  EXPECT_GT(firstLine.first, PointOf(single.Figures()[2]).first);

  // Erasing passes that do not repeat their picture erase nothing away:
  // everything is drawn.
  ClearGraphics();
  GraphHeader(0, 0, 160, 120);
  GraphColor(12);
  GraphLine(1, 1, 2, 2);
  GraphSleep(0);
  GraphColor(0);
  GraphLine(1, 1, 3, 3);
  GraphColor(12);
  GraphLine(5, 5, 6, 6);
  EXPECT_TRUE(FKaldgra.Erased().Ranges().empty());
  RecordingCanvas all(641, 481);
  FKaldgra.Replay(all, nullptr);
  EXPECT_EQ(all.Figures().size(), 6u);

  // A list emptied and filled anew is searched anew.
  ClearGraphics();
  AnimationRun(3);
  EXPECT_EQ(FKaldgra.Erased().Ranges().size(), 1u);
  const std::size_t records = DisplayList.size();
  ClearGraphics();
  GraphHeader(0, 0, 160, 120);
  GraphColor(12);
  for (int i = 0; DisplayList.size() < records + 5; ++i) GraphLine(i, 0, i, 10);
  EXPECT_TRUE(FKaldgra.Erased().Ranges().empty());
  RecordingCanvas fresh(641, 481);
  FKaldgra.Replay(fresh, nullptr);
  const auto lines = std::count_if(DisplayList.begin(), DisplayList.end(),
                                   [](const std::string& r) { return r.rfind("4;", 0) == 0; });
  EXPECT_EQ(fresh.Figures().size(), 2u * lines);
}

// A replay passes over the erased pictures of a long run whole: it draws
// and sets as much after a run of 300 pictures as after one of 3, and what
// the erased pictures set and nothing after them sets again (the line
// style and text style of the erasing passes, here) is in force after them
// as the recording left it. A replay that begins within an erased picture
// (the next picture of a run, drawn onto the last) goes on through it.
TEST_F(GraphicsWindowTest, AReplayPassesOverErasedPicturesWholeWithWhatTheySet) {
  auto run = [](int pictures) {
    ClearGraphics();
    GraphHeader(0, 0, 160, 120);
    for (int i = 0; i < pictures; ++i) {
      auto picture = [i] {
        GraphLine(10 + i % 50, 10, 20 + i % 50, 30);
        GraphText(30, 30, "T");
      };
      GraphColor(12);
      GraphLineWidth(1);
      picture();
      GraphSleep(0);
      GraphColor(0);
      GraphLineWidth(3);
      GraphLineStyle(1 + i % 3);
      GraphTextStyle(0, 0, 2 + i % 5, 2);
      picture();
    }
    // After the run, in the colour, style and width it left.
    GraphColor(12);
    GraphLine(100, 100, 150, 110);
    GraphText(100, 50, "E");
  };
  run(3);
  RecordingCanvas few(641, 481);
  FKaldgra.Replay(few, nullptr);
  run(300);
  ASSERT_EQ(FKaldgra.Erased().Ranges().size(), 1u);
  RecordingCanvas many(641, 481);
  FKaldgra.Replay(many, nullptr);
  EXPECT_EQ(many.calls.size(), few.calls.size());
  // The last erasing pass (i = 299) set style 3 and text height 6; the
  // width 3 of the erasing passes stays.
  const std::string red = std::to_string(ScreenGraphicsSettings.ColorTable[12]);
  ASSERT_GE(many.calls.size(), 3u);
  const auto lastPen = std::find_if(many.calls.rbegin(), many.calls.rend(),
                                    [](const std::string& c) { return c.rfind("pen", 0) == 0; });
  EXPECT_EQ(*lastPen, "pen " + red + " 3 3");
  const std::string last = many.calls.back();
  EXPECT_EQ(last.rfind("text", 0), 0u) << last;
  EXPECT_NE(last.find(" E "), std::string::npos) << last;
  // Each record replayed one by one, as a replay that begins within the
  // pictures does, leaves the same.
  RecordingCanvas stepwise(641, 481);
  ReplayPosition at;
  ReplayOptions options;
  for (options.end = 1; options.end <= DisplayList.size(); ++options.end) FKaldgra.Replay(stepwise, nullptr, at, options);
  EXPECT_EQ(stepwise.calls.back(), last);
  const auto stepwisePen = std::find_if(stepwise.calls.rbegin(), stepwise.calls.rend(),
                                        [](const std::string& c) { return c.rfind("pen", 0) == 0; });
  EXPECT_EQ(*stepwisePen, *lastPen);
}

// In step mode the run waits at each picture's erasing, when the picture is
// whole, not after the last one; closing the step dialog ends the run and
// ends stepping, its end button ends stepping only.
TEST_F(GraphicsWindowTest, StepModeWaitsAtEachErasingAndClosingTheDialogEndsTheRun) {
  FKaldgra.StepMode = 1;
  AnimationRun(4);
  EXPECT_EQ(host.steps, 3);
  EXPECT_EQ(AbortFlag, 0);
  // A later replay of the run does not step again.
  RecordingCanvas screen(641, 481);
  FKaldgra.Replay(screen, nullptr);
  EXPECT_EQ(host.steps, 3);

  ClearGraphics();
  host.steps = 0;
  host.stepAnswer = StepAnswer::EndRun;
  FKaldgra.StepMode = 1;
  GraphHeader(0, 0, 160, 120);
  GraphColor(12);
  GraphLine(1, 1, 2, 2);
  GraphSleep(0);
  GraphColor(0);
  EXPECT_EQ(host.steps, 1);
  EXPECT_EQ(AbortFlag, 1);
  EXPECT_EQ(FKaldgra.StepMode, 0);
}
