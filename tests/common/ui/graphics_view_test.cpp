// The graphics window on Qt (offscreen): replay into the shown image, zoom
// by key and rubber band, the step dialog, printing to a PDF file.
#include "common/ui/graphics_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "common/graphics_facade.h"
#include "common/graphics_test_picture.h"
#include "common/help_text.h"
#include "common/hpgl_viewer.h"
#include "common/kaldvar.h"
#include "support/graphics_start.h"
#include "support/late_user_event.h"

using namespace common;

namespace {

int argc = 1;
char arg0[] = "graphics_view_test";
char* argv[] = {arg0, nullptr};

class GraphicsViewTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!QApplication::instance()) new QApplication(argc, argv);
  }
  void SetUp() override {
    testsupport::StartGraphicsWindow();
    view = std::make_unique<ui::GraphicsView>();
    view->resize(641, 481);
    view->show();
    QApplication::processEvents();
    // A red square of 100 x 100 pixels: one world unit per pixel.
    ClearGraphics();
    GraphHeader(0, 0, 638, 478);
    GraphColor(12);
    GraphSolid(100, 100, 200, 100, 200, 200, 100, 200);
    GraphClearViewPort();
    view->ReplayPending();
  }
  void TearDown() override { view.reset(); }
  QColor Pixel(int x, int y) const { return view->ShownImage().pixelColor(x, y); }
  std::unique_ptr<ui::GraphicsView> view;
};

}  // namespace

TEST_F(GraphicsViewTest, ReplayPaintsTheImageThatThePaintEventShows) {
  EXPECT_EQ(Pixel(151, 329), QColor(255, 0, 0));
  EXPECT_EQ(Pixel(20, 20), QColor(1, 0, 0));  // the background colour setting
  // The widget shows the image: a grab of the widget has the same pixels.
  const QImage grabbed = view->grab().toImage();
  EXPECT_EQ(grabbed.pixelColor(151, 329), QColor(255, 0, 0));
  // Twice the size: the picture is scaled with the window.
  view->resize(1282, 962);
  QApplication::processEvents();
  view->ReplayPending();
  EXPECT_EQ(Pixel(302, 658), QColor(255, 0, 0));
}

TEST_F(GraphicsViewTest, KeypadPlusZoomsAndEscapeResetsOtherKeysDoNothing) {
  ASSERT_NE(Pixel(90, 330), QColor(255, 0, 0));
  QTest::keyClick(view.get(), Qt::Key_Plus, Qt::KeypadModifier);
  view->ReplayPending();
  EXPECT_EQ(Pixel(90, 330), QColor(255, 0, 0));
  const int replays = view->ReplayCount();
  QTest::keyClick(view.get(), Qt::Key_A);
  QApplication::processEvents();
  view->ReplayPending();
  EXPECT_EQ(view->ReplayCount(), replays);
  QTest::keyClick(view.get(), Qt::Key_Escape);
  view->ReplayPending();
  EXPECT_NE(Pixel(90, 330), QColor(255, 0, 0));
  EXPECT_EQ(ScreenGraphicsSettings.ZoomRight, 639);
}

TEST_F(GraphicsViewTest, RubberBandZoomsAndRightClickResets) {
  QTest::mousePress(view.get(), Qt::LeftButton, {}, QPoint(100, 100));
  QTest::mouseRelease(view.get(), Qt::LeftButton, {}, QPoint(300, 300));
  view->ReplayPending();
  EXPECT_GT(ScreenGraphicsSettings.ZoomLeft, 50);
  EXPECT_LT(ScreenGraphicsSettings.ZoomRight - ScreenGraphicsSettings.ZoomLeft, 400);
  QTest::mouseClick(view.get(), Qt::RightButton, {}, QPoint(10, 10));
  view->ReplayPending();
  EXPECT_EQ(ScreenGraphicsSettings.ZoomLeft, 1);
  EXPECT_EQ(ScreenGraphicsSettings.ZoomRight, 639);
}

TEST_F(GraphicsViewTest, SleepRecordsPauseAndTheStepDialogEndsStepping) {
  // Leave the step dialog with its end button as soon as it is shown.
  int dialogs = 0;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      ++dialogs;
      EXPECT_EQ(dialog->windowTitle(), "Animation");
      if (auto* end = dialog->findChild<QPushButton*>("Button_endstep")) end->click();
    }
  });
  poll.start(10);
  QElapsedTimer timer;
  timer.start();
  GraphSleep(120);
  // The background colour right after the pause: the step point of a run.
  FKaldgra.StepMode = 1;
  GraphColor(0);
  EXPECT_EQ(dialogs, 1);
  EXPECT_EQ(FKaldgra.StepMode, 0);
  // A replay steps at the colour-0 records it has not shown.
  FKaldgra.StepMode = 1;
  GraphColor(12);
  GraphColor(0);
  GraphClearViewPort();
  view->ReplayPending();
  EXPECT_GE(timer.elapsed(), 120);
  EXPECT_EQ(dialogs, 2);
  EXPECT_EQ(FKaldgra.StepMode, 0);
  EXPECT_EQ(AbortFlag, 0);
}

TEST_F(GraphicsViewTest, TestPictureShowsAndPrintsToPdf) {
  DrawGraphicsTestPicture();
  view->ReplayPending();
  // The red CAD colour bar and the white title.
  int red = 0, white = 0;
  const QImage image = view->ShownImage();
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c == QColor(255, 0, 0)) ++red;
      if (c == QColor(255, 255, 255)) ++white;
    }
  EXPECT_GT(red, 500);
  EXPECT_GT(white, 500);
  QTemporaryDir dir;
  const QString pdf = dir.filePath("picture.pdf");
  ASSERT_TRUE(view->PrintToPdf(pdf));
  EXPECT_EQ(HardcopyFlag, 0);
  QFile file(pdf);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF"));
  EXPECT_GT(bytes.size(), 3000);
}

TEST(GraphicsKeys, OnlyTheKeyTableIsMapped) {
  EXPECT_EQ(ui::GraphicsKeyCode(Qt::Key_Plus, true), 107);
  EXPECT_EQ(ui::GraphicsKeyCode(Qt::Key_Plus, false), 107);  // without a keypad
  EXPECT_EQ(ui::GraphicsKeyCode(Qt::Key_Equal, false), 107);
  EXPECT_EQ(ui::GraphicsKeyCode(Qt::Key_Minus, true), 109);
  EXPECT_EQ(ui::GraphicsKeyCode(Qt::Key_Minus, false), 109);
  EXPECT_EQ(ui::GraphicsKeyCode(Qt::Key_PageDown, false), 34);
  EXPECT_EQ(ui::GraphicsKeyCode(Qt::Key_F5, false), 116);
  EXPECT_EQ(ui::GraphicsKeyCode(Qt::Key_F4, false), 0);
}

namespace {

// The bounding box of the pixels that are mostly red.
QRect RedBox(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.red() > 128 && c.green() < 100 && c.blue() < 100) box = box.united(QRect(x, y, 1, 1));
    }
  return box;
}

}  // namespace

// A 40 mm square of a plot file measures the same across and down (within
// 1 %) on wide, 4:3 and square screens, and after the window is resized.
TEST_F(GraphicsViewTest, PlotFileSquareKeepsItsProportionsOnEveryScreen) {
  QTemporaryDir dir;
  const QString plt = dir.filePath("square.plt");
  {
    QFile file(plt);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("IN;SP1;PU400,400;PD2000,400,2000,2000,400,2000,400,400;PU;");
  }
  InstallPlotFileViewer();
  auto measure = [&](const std::string& label) {
    ShowHelpPicture(plt.toStdString());
    view->ReplayPending();
    const QRect box = RedBox(view->ShownImage());
    ASSERT_GT(box.width(), 50) << label;
    EXPECT_NEAR(box.width(), box.height(), 0.01 * box.width()) << label << ": " << box.width() << " x "
                                                                << box.height();
  };
  // The screens 1600 x 900, 1024 x 768 and 800 x 800 less the window frame.
  const std::pair<int, int> screens[] = {{1591, 809}, {1015, 677}, {791, 709}};
  for (const auto& [w, h] : screens) {
    HorizontalPixels = static_cast<std::uint16_t>(w);
    VerticalPixels = static_cast<std::uint16_t>(h);
    view->resize(w + 1, h + 1);
    QApplication::processEvents();
    measure(std::to_string(w) + " x " + std::to_string(h));
  }
  view->resize(1400, 500);
  QApplication::processEvents();
  measure("resized wide");
  view->resize(600, 900);
  QApplication::processEvents();
  measure("resized tall");
}

// Plus on the main keyboard and the mouse wheel zoom, the wheel about the
// point under the mouse.
TEST_F(GraphicsViewTest, MainKeyboardPlusAndTheWheelZoom) {
  const Real scale = GraphWindowState.ScaleX;
  QTest::keyClick(view.get(), Qt::Key_Plus);
  view->ReplayPending();
  EXPECT_GT(GraphWindowState.ScaleX, 1.1L * scale);
  QTest::keyClick(view.get(), Qt::Key_Minus);
  view->ReplayPending();
  EXPECT_NEAR(static_cast<double>(GraphWindowState.ScaleX / scale), 1, 0.02);
  QTest::keyClick(view.get(), Qt::Key_Escape);
  view->ReplayPending();

  // The red square's corner (100, 200) lies at the widget pixel (101, 279).
  const QPoint corner(101, 279);
  const int replays = view->ReplayCount();
  QWheelEvent wheel(QPointF(corner), QPointF(view->mapToGlobal(corner)), QPoint(), QPoint(0, 240), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(view.get(), &wheel);
  view->ReplayPending();
  EXPECT_GT(view->ReplayCount(), replays);
  EXPECT_NEAR(static_cast<double>(GraphWindowState.ScaleX / scale), 1.44, 0.02);
  // The corner stayed where the mouse is; the square grew away from it.
  EXPECT_NEAR(FKaldgra.ScreenX(100), corner.x(), 2);
  EXPECT_NEAR(FKaldgra.ScreenY(200), corner.y(), 2);
  EXPECT_EQ(Pixel(corner.x() + 130, corner.y() + 130), QColor(255, 0, 0));
}

// Texts stand inside the band that a ruled table row gives them: from half
// a text height below the base point to one and a half above it.
TEST_F(GraphicsViewTest, TextsStayInsideTheirTableRow) {
  ClearGraphics();
  GraphHeader(0, 0, 638, 478);
  GraphColor(12);
  const Real h = 20;
  GraphTextStyle(2, 0, h, 0.75L * h);
  GraphText(50, 200, "gjpqy|Agh");
  GraphClearViewPort();
  view->ReplayPending();
  const QRect box = RedBox(view->ShownImage());
  ASSERT_GT(box.height(), 10);
  const int base = FKaldgra.ScreenY(200);
  EXPECT_GE(box.top(), base - static_cast<int>(1.5 * h));  // below the row's upper line
  EXPECT_LE(box.bottom(), base + static_cast<int>(0.5 * h));  // above the row's lower line
  // The capitals are about as high as the text height.
  EXPECT_GT(base - box.top(), static_cast<int>(0.85 * h));
}

// An animation shows every picture as it is drawn, also without a pause,
// and the window answers meanwhile; Escape during a picture ends the run
// (AbortFlag) and the picture stays. A later replay of the same list does
// not play it again.
TEST_F(GraphicsViewTest, AnimationFramesArePaintedAsTheyAreDrawnAndEscapeEndsTheRun) {
  ClearGraphics();
  GraphHeader(0, 0, 638, 478);
  const int paintsBefore = view->PaintCount();
  for (int i = 0; i < 20; ++i) {
    GraphColor(12);
    GraphSolid(10 + 10 * i, 10, 20 + 10 * i, 10, 20 + 10 * i, 20, 10 + 10 * i, 20);
    GraphSleep(0);
    ASSERT_EQ(AbortFlag, 0);
    // Each picture is on the screen before the next is drawn.
    EXPECT_EQ(Pixel(15 + 10 * i, 479 - 15), QColor(255, 0, 0)) << i;
    GraphColor(0);
    GraphSolid(10 + 10 * i, 10, 20 + 10 * i, 10, 20 + 10 * i, 20, 10 + 10 * i, 20);
  }
  EXPECT_GE(view->PaintCount() - paintsBefore, 20);

  // Escape while a picture is shown: the run is asked to end. Other keys
  // start nothing meanwhile (plus would zoom).
  GraphColor(12);
  GraphSolid(300, 100, 400, 100, 400, 200, 300, 200);
  QTimer::singleShot(30, view.get(), [this] {
    QTest::keyClick(view->windowHandle(), Qt::Key_Plus);
    QTest::keyClick(view->windowHandle(), Qt::Key_Escape);
  });
  QElapsedTimer timer;
  timer.start();
  GraphSleep(5000);
  EXPECT_LT(timer.elapsed(), 4000);
  EXPECT_EQ(AbortFlag, 1);
  AbortFlag = 0;
  // A click ends it just as well.
  QTimer::singleShot(30, view.get(),
                     [this] { QTest::mouseClick(view->windowHandle(), Qt::LeftButton, {}, QPoint(5, 5)); });
  GraphSleep(5000);
  EXPECT_EQ(AbortFlag, 1);
  AbortFlag = 0;
  EXPECT_EQ(ScreenGraphicsSettings.ZoomRight, 639);  // plus did not zoom, Escape only ended the run
  // Once the run is over, the keys work again.
  QTest::keyClick(view.get(), Qt::Key_Plus);
  EXPECT_LT(ScreenGraphicsSettings.ZoomRight, 639);
  QTest::keyClick(view.get(), Qt::Key_Escape);

  // The replay at the end draws the list at once.
  timer.restart();
  GraphClearViewPort();
  view->ReplayPending();
  EXPECT_LT(timer.elapsed(), 2000);
  EXPECT_EQ(Pixel(350, 479 - 150), QColor(255, 0, 0));
}

namespace {

// A picture of an animation drawn in two halves with much between them:
// a red square on the left and a blue one on the right, at the place of
// picture i, so that a picture shown half-drawn has the one without the
// other.
void HalvedPicture(int i, int colourLeft, int colourRight, int fill) {
  const Real x = 20 + 30 * i;
  GraphColor(colourLeft);
  GraphSolid(x, 300, x + 20, 300, x + 20, 320, x, 320);
  GraphColor(colourLeft == 0 ? 0 : 14);
  for (int k = 0; k < fill; ++k) GraphLine(x, 100, x + 20, 100);
  GraphColor(colourRight);
  GraphSolid(x, 200, x + 20, 200, x + 20, 220, x, 220);
}

// Counts the paints that show a picture only in part.
class PartPictureCounter : public QObject {
 public:
  explicit PartPictureCounter(ui::GraphicsView* view) : view_(view) { view->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::Paint) return false;
    ++paints;
    const QImage image = view_->ShownImage();
    for (int i = 0; i < 20; ++i) {
      const int x = 30 + 30 * i;
      const bool left = image.pixelColor(x, 479 - 310) == QColor(255, 0, 0);
      const bool right = image.pixelColor(x, 479 - 210) == QColor(0, 0, 255);
      if (left != right) ++partial;
    }
    return false;
  }
  int paints = 0;
  int partial = 0;

 private:
  ui::GraphicsView* view_;
};

}  // namespace

// The screen shows a picture of an animation only when it is whole: while
// it runs, after it in the replay of the list, and after a zoom.
TEST_F(GraphicsViewTest, OnlyWholePicturesAreShown) {
  ClearGraphics();
  GraphHeader(0, 0, 638, 478);
  PartPictureCounter counter(view.get());
  for (int i = 0; i < 8; ++i) {
    HalvedPicture(i, 12, 9, 30000);
    GraphSleep(0);
    HalvedPicture(i, 0, 0, 30000);
  }
  GraphClearViewPort();
  view->ReplayPending();
  QTest::keyClick(view.get(), Qt::Key_Plus);
  view->ReplayPending();
  QTest::keyClick(view.get(), Qt::Key_Escape);
  view->ReplayPending();
  QApplication::processEvents();
  EXPECT_GE(counter.paints, 8);
  EXPECT_EQ(counter.partial, 0);
}

// Escape or a click that comes while a long picture of an animation is
// drawn ends the run within 0.2 s, not when the picture is done.
TEST_F(GraphicsViewTest, EscapeOrAClickInALongPictureEndsTheRunAtOnce) {
  using testsupport::LateUserEvent;
  auto longPicture = [] {
    ClearGraphics();
    GraphHeader(0, 0, 638, 478);
    GraphColor(12);
    for (int k = 0; k < 300000; ++k) GraphLine(250 + k % 100, 180, 300 + k % 100, 230);
  };
  longPicture();
  QElapsedTimer timer;
  timer.start();
  GraphSleep(0);
  const qint64 whole = timer.elapsed();
  ASSERT_EQ(AbortFlag, 0);
  ASSERT_GT(whole, 300) << "the picture is drawn too fast to stop in the middle";
  for (const auto kind : {LateUserEvent::Kind::Escape, LateUserEvent::Kind::Click}) {
    longPicture();
    long long late = 0;
    {
      LateUserEvent event(view.get(), kind, std::chrono::milliseconds(whole / 4));
      GraphSleep(0);
      ASSERT_TRUE(event.Posted());
      late = event.MillisecondsSince();
    }
    EXPECT_EQ(AbortFlag, 1);
    EXPECT_LT(late, 200);
    AbortFlag = 0;
  }
  // The stopped picture is finished by the replay after the run.
  view->ReplayPending();
  EXPECT_EQ(Pixel(320, 479 - 205), QColor(255, 0, 0));
}

// A window taller than the screen's proportions shows the picture in its
// middle; the mouse and the picture's place follow.
TEST_F(GraphicsViewTest, TallWindowCentresThePicture) {
  view->resize(641, 981);
  QApplication::processEvents();
  view->ReplayPending();
  // The red square (rows 279..379 of the window of the screen's proportions)
  // stands 250 pixels lower.
  EXPECT_EQ(Pixel(151, 329 + 250), QColor(255, 0, 0));
  EXPECT_NE(Pixel(151, 329), QColor(255, 0, 0));
  EXPECT_EQ(view->PictureRect().top(), FKaldgra.ScreenY(478) + 250);
  // A band dragged round the square zooms to the square.
  QTest::mousePress(view.get(), Qt::LeftButton, {}, QPoint(90, 269 + 250));
  QTest::mouseRelease(view.get(), Qt::LeftButton, {}, QPoint(210, 389 + 250));
  view->ReplayPending();
  EXPECT_EQ(Pixel(320, 240 + 250), QColor(255, 0, 0));
  EXPECT_NE(Pixel(5, 5 + 250), QColor(255, 0, 0));
}

namespace {

// Pixels of the shown image that are not the background, outside the box
// (widget pixels).
int InkOutside(const QImage& image, const QRect& box) {
  const QRgb background = QColor(1, 0, 0).rgb();
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  int n = 0;
  for (int y = 0; y < rgb.height(); ++y)
    for (int x = 0; x < rgb.width(); ++x)
      if (!box.contains(x, y) && rgb.pixel(x, y) != background) ++n;
  return n;
}

}  // namespace

// An animation in a window of another size than the reference screen (the
// picture scaled, its lines smoothed) leaves no trace of its earlier
// pictures: not while it runs, not after it, not after a zoom.
TEST_F(GraphicsViewTest, ErasedPicturesLeaveNoTraceAtAnyWindowSize) {
  for (const QSize size : {QSize(900, 700), QSize(500, 380)}) {
    SCOPED_TRACE(std::to_string(size.width()) + " x " + std::to_string(size.height()));
    view->resize(size);
    QApplication::processEvents();
    ClearGraphics();
    GraphHeader(0, 0, 638, 478);
    const int pictures = 40;
    // Where picture i is, in widget pixels: the world box scaled as the view
    // scales the reference screen, with a margin for the pen and smoothing.
    auto placeOf = [&](int i) {
      const double s = std::min(size.width() / 641.0, size.height() / 481.0);
      const double oy = std::max(0.0, std::floor((size.height() - 481 * s) / 2));
      const double x1 = (20 + 10 * i) * s, x2 = (90 + 10 * i) * s;
      const double y1 = (479 - 200) * s + oy, y2 = (479 - 100) * s + oy;
      return QRect(QPoint(int(x1) - 4, int(y1) - 4), QPoint(int(x2) + 4, int(y2) + 4));
    };
    for (int i = 0; i < pictures; ++i) {
      auto picture = [i] {
        GraphLine(20 + 10 * i, 100, 90 + 10 * i, 200);
        GraphLine(20 + 10 * i, 200, 90 + 10 * i, 100);
        GraphCircle(55 + 10 * i, 150, 30);
      };
      GraphColor(12);
      GraphLineWidth(1);
      picture();
      GraphSleep(0);
      ASSERT_EQ(AbortFlag, 0);
      EXPECT_EQ(InkOutside(view->ShownImage(), placeOf(i)), 0) << "picture " << i;
      if (i == pictures - 1) break;
      GraphColor(0);
      GraphLineWidth(3);
      picture();
    }
    GraphClearViewPort();
    view->ReplayPending();
    EXPECT_EQ(InkOutside(view->ShownImage(), placeOf(pictures - 1)), 0);
    EXPECT_GT(InkOutside(view->ShownImage(), QRect()), 100);
    // A zoom out and back draws the last picture only.
    QTest::keyClick(view->windowHandle(), Qt::Key_Minus);
    view->ReplayPending();
    QTest::keyClick(view->windowHandle(), Qt::Key_Escape);
    view->ReplayPending();
    EXPECT_EQ(InkOutside(view->ShownImage(), placeOf(pictures - 1)), 0);
  }
}
