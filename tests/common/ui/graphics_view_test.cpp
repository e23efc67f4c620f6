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
#include "common/kaldvar.h"

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
    SetKaldvarDefaults();
    HorizontalPixels = 640;
    VerticalPixels = 480;
    InitScreenGraphicsSettings();
    InitPrinterGraphicsSettings();
    InitGraphicsWindowUnit();
    InitGraphDisplayList();
    AbortFlag = 0;
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
  QTest::keyClick(view.get(), Qt::Key_Plus);  // not the keypad key
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
  GraphSleep(120);
  FKaldgra.StepMode = 1;
  GraphColor(0);
  GraphColor(12);
  GraphColor(0);
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
  GraphClearViewPort();
  view->ReplayPending();
  EXPECT_GE(timer.elapsed(), 120);
  EXPECT_EQ(dialogs, 1);
  EXPECT_EQ(FKaldgra.StepMode, 0);
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
  EXPECT_EQ(ui::GraphicsKeyCode(Qt::Key_Plus, false), 0);
  EXPECT_EQ(ui::GraphicsKeyCode(Qt::Key_Minus, true), 109);
  EXPECT_EQ(ui::GraphicsKeyCode(Qt::Key_PageDown, false), 34);
  EXPECT_EQ(ui::GraphicsKeyCode(Qt::Key_F5, false), 116);
  EXPECT_EQ(ui::GraphicsKeyCode(Qt::Key_F4, false), 0);
}
