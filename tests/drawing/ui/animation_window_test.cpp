// The gear-pair animations in the graphics window (offscreen): with the
// default pause of 0 every picture is painted as it is drawn, and Escape
// or a click during the run ends it at once, with the picture of that
// moment standing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <string>
#include <vector>

#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "calc/spur_gear_data.h"
#include "common/clear_of_picture.h"
#include "common/graphics_facade.h"
#include "common/ui/graphics_view.h"
#include "drawing/drawing_test_support.h"
#include "drawing/gear_animation.h"
#include "support/late_user_event.h"

namespace {

int argc = 1;
char arg0[] = "animation_window_test";
char* argv[] = {arg0, nullptr};

class AnimationWindow : public drawingtest::DrawingTest {
 protected:
  AnimationWindow() : DrawingTest("animation_window") {}
  static void SetUpTestSuite() {
    if (!QApplication::instance()) new QApplication(argc, argv);
  }
  void SetUp() override {
    DrawingTest::SetUp();
    common::HorizontalPixels = 800;
    common::VerticalPixels = 600;
    common::InitScreenGraphicsSettings();
    common::InitGraphicsWindowUnit();
    common::InitGraphDisplayList();
    drawingtest::SetDefaultDesign();
    calc::CalcNoncircularPair();
    ASSERT_EQ(common::FatalFlag, 0);
    view = std::make_unique<common::ui::GraphicsView>();
    view->resize(801, 601);
    view->show();
    QApplication::processEvents();
  }
  void TearDown() override {
    drawing::AnimationFormView() = nullptr;
    view.reset();
    DrawingTest::TearDown();
  }
  void Answer(const std::string& steps) {
    drawing::AnimationFormView() = [=](drawing::TForm_vob1ani& form) {
      form.Edit_steps = steps;  // the pause stays at its default, 0
      form.Button_okClick();
    };
  }
  // Pixels not of the background.
  int DrawnPixels() const {
    const QImage image = view->ShownImage();
    const QColor background = QColor(1, 0, 0);
    int n = 0;
    for (int y = 0; y < image.height(); y += 2)
      for (int x = 0; x < image.width(); x += 2)
        if (image.pixelColor(x, y) != background) ++n;
    return n;
  }
  std::unique_ptr<common::ui::GraphicsView> view;
};

TEST_F(AnimationWindow, EveryPictureIsPaintedWithoutAPause) {
  Answer("30");
  const int paints = view->PaintCount(), frames = view->FrameCount();
  drawing::AnimateGears1(1);
  EXPECT_EQ(common::AbortFlag, 0);
  // 31 pictures over the one turn of gear 1 (k = 1), each painted.
  EXPECT_EQ(view->FrameCount() - frames, 31);
  EXPECT_GE(view->PaintCount() - paints, 31);
  // The end of the run repaints the last picture, without playing the run
  // again.
  QElapsedTimer timer;
  timer.start();
  view->ReplayPending();
  EXPECT_LT(timer.elapsed(), 3000);
  EXPECT_GT(DrawnPixels(), 200);

  // The gears with their teeth, as blocks.
  Answer("12");
  const int paintsBefore = view->PaintCount();
  drawing::AnimateGears2(2);
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_GE(view->PaintCount() - paintsBefore, 13);
}

TEST_F(AnimationWindow, EscapeEndsTheRunAndThePictureStays) {
  Answer("1000");
  QTimer::singleShot(200, view.get(), [this] { QTest::keyClick(view.get(), Qt::Key_Escape); });
  QElapsedTimer timer;
  timer.start();
  const int frames = view->FrameCount();
  drawing::AnimateGears1(2);
  EXPECT_EQ(common::AbortFlag, 1);
  const int pictures = view->FrameCount() - frames;
  EXPECT_GT(pictures, 0);
  EXPECT_LT(pictures, 1001) << "ended before the last picture";
  // The picture of the moment is not erased: no background colour after
  // its pause.
  const std::vector<std::string> records = common::DisplayList;
  const auto pause = std::find(records.rbegin(), records.rend(), "13;0");
  ASSERT_NE(pause, records.rend());
  EXPECT_EQ(std::find(records.rbegin(), pause, "8;0"), pause);
  view->ReplayPending();
  EXPECT_GT(DrawnPixels(), 200);
}

}  // namespace

// Escape and a click that come from the event queue, as the user's do, end
// the gear animation within 0.2 s wherever they fall: in a picture being
// drawn, between pictures, or in a long pause; on a large window too. The
// replay after the run adds what the image lacks, not the whole run.
TEST_F(AnimationWindow, EscapeOrAClickEndsTheRunWithinAFifthOfASecond) {
  using testsupport::LateUserEvent;
  common::HorizontalPixels = 1591;
  common::VerticalPixels = 809;
  view->resize(1592, 810);
  QApplication::processEvents();
  struct Case {
    LateUserEvent::Kind kind;
    int afterMs;
    const char* pause;
  };
  const Case cases[] = {{LateUserEvent::Kind::Escape, 150, "0"},
                        {LateUserEvent::Kind::Click, 420, "0"},
                        {LateUserEvent::Kind::Escape, 1500, "0"},
                        {LateUserEvent::Kind::Click, 700, "400"},
                        {LateUserEvent::Kind::Escape, 1300, "3000"}};
  for (const Case& c : cases) {
    drawing::AnimationFormView() = [&](drawing::TForm_vob1ani& form) {
      form.Edit_steps = "1000";
      form.Edit_pause = c.pause;
      form.Button_okClick();
    };
    const std::string label = std::string(c.kind == LateUserEvent::Kind::Escape ? "Escape" : "click") + " after " +
                              std::to_string(c.afterMs) + " ms, pause " + c.pause;
    long long late = 0;
    {
      LateUserEvent event(view.get(), c.kind, std::chrono::milliseconds(c.afterMs));
      drawing::AnimateGears2(2);
      ASSERT_TRUE(event.Posted()) << label << ": the run ended before the event";
      late = event.MillisecondsSince();
    }
    EXPECT_EQ(common::AbortFlag, 1) << label;
    EXPECT_LT(late, 200) << label;
    // The replay after the run is quick, and it shows no further pictures
    // of the run: they are on the image already.
    const int paints = view->PaintCount();
    QElapsedTimer timer;
    timer.start();
    view->ReplayPending();
    QApplication::processEvents();
    EXPECT_LT(timer.elapsed(), 500) << label;
    EXPECT_LE(view->PaintCount() - paints, 1) << label;
    EXPECT_GT(DrawnPixels(), 200) << label;
    common::AbortFlag = 0;
  }
}

// In single steps the run waits for the step dialog after each picture:
// "+" shows the next one, "+++++++" runs the rest without stopping.
TEST_F(AnimationWindow, SingleStepsWaitForTheStepDialog) {
  drawing::AnimationFormView() = [](drawing::TForm_vob1ani& form) {
    form.Edit_steps = "6";
    form.CheckBox_singlestepClick(true);
    form.Button_okClick();
  };
  int dialogs = 0;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible()) return;
    ++dialogs;
    // The picture waited on is whole on the screen.
    EXPECT_GT(DrawnPixels(), 200);
    const char* button = dialogs < 3 ? "Button_nextstep" : "Button_endstep";
    if (auto* b = dialog->findChild<QPushButton*>(button)) b->click();
  });
  poll.start(20);
  const int frames = view->FrameCount();
  drawing::AnimateGears1(1);
  poll.stop();
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(dialogs, 3);
  EXPECT_EQ(common::FKaldgra.StepMode, 0);
  EXPECT_EQ(view->FrameCount() - frames, 7);
}

namespace {

// The view's drawn cells on the screen (global pixels).
common::InkMap ScreenInk(const common::ui::GraphicsView& view) {
  common::InkMap ink = view.DrawnCells(4);
  const QPoint corner = view.mapToGlobal(QPoint(0, 0));
  ink.left = corner.x();
  ink.top = corner.y();
  return ink;
}

common::FormRect Frame(const QWidget& w) {
  const QRect r = w.frameGeometry();
  return {r.left(), r.top(), r.width(), r.height()};
}

}  // namespace

// The step dialog stands where it hides none of the picture, stays where
// the user moves it, and closing it (its frame's close button, or Escape)
// ends the run with the picture of that moment standing.
TEST_F(AnimationWindow, StepDialogStandsClearOfThePictureAndClosingItEndsTheRun) {
  QPoint movedTo;
  for (const bool byEscape : {false, true}) {
    SCOPED_TRACE(byEscape ? "Escape" : "close button");
    drawing::AnimationFormView() = [](drawing::TForm_vob1ani& form) {
      form.Edit_steps = "30";
      form.CheckBox_singlestepClick(true);
      form.Button_okClick();
    };
    int dialogs = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!dialog || !dialog->isVisible()) return;
      ++dialogs;
      QApplication::processEvents();
      if (dialogs == 1) {
        // First clear of the picture; in the next run where the user left it.
        if (!byEscape)
          EXPECT_EQ(common::InkUnder(Frame(*dialog), ScreenInk(*view)), 0) << "the step dialog hides the picture";
        else
          EXPECT_EQ(dialog->geometry().topLeft(), movedTo) << "the step dialog left the user's place";
        // A resize of the window while the dialog waits asks nothing more.
        if (!byEscape) {
          view->resize(760, 580);
          QApplication::processEvents();
          QApplication::processEvents();
          EXPECT_EQ(QApplication::activeModalWidget(), dialog);
        }
        // The user moves it a little and goes on.
        movedTo = dialog->geometry().topLeft() + QPoint(7, -5);
        dialog->setGeometry(QRect(movedTo, dialog->size()));
        QTest::mouseClick(dialog->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          dialog->findChild<QPushButton*>("Button_nextstep")->geometry().center());
        return;
      }
      EXPECT_EQ(dialog->geometry().topLeft(), movedTo) << "the step dialog went back to its first place";
      if (byEscape)
        QTest::keyClick(dialog->windowHandle(), Qt::Key_Escape);
      else
        dialog->windowHandle()->close();
    });
    poll.start(20);
    const int frames = view->FrameCount();
    drawing::AnimateGears1(1);
    poll.stop();
    EXPECT_EQ(dialogs, 2);
    EXPECT_EQ(common::AbortFlag, 1);
    EXPECT_EQ(common::FKaldgra.StepMode, 0);
    // The run ended at the second picture, which stands.
    EXPECT_EQ(view->FrameCount() - frames, 2);
    view->ReplayPending();
    EXPECT_GT(DrawnPixels(), 200);
    common::AbortFlag = 0;
  }
}

// After a run in a window of another size than the reference screen the
// picture is the last one alone: the same, pixel for pixel, after thirty
// pictures as after two (both end at the same angle).
TEST_F(AnimationWindow, AfterARunInAResizedWindowOnlyTheLastPictureStands) {
  auto finalPicture = [&](const char* steps) {
    Answer(steps);
    drawing::AnimateGears2(2);
    EXPECT_EQ(common::AbortFlag, 0);
    view->ReplayPending();
    return view->ShownImage().convertToFormat(QImage::Format_RGB32);
  };
  for (const QSize size : {QSize(520, 390), QSize(1130, 820)}) {
    SCOPED_TRACE(std::to_string(size.width()) + " x " + std::to_string(size.height()));
    view->resize(size);
    QApplication::processEvents();
    const QImage many = finalPicture("30");
    const QImage two = finalPicture("2");
    ASSERT_EQ(many.size(), two.size());
    int differing = 0;
    for (int y = 0; y < many.height(); ++y)
      for (int x = 0; x < many.width(); ++x)
        if (many.pixel(x, y) != two.pixel(x, y)) ++differing;
    EXPECT_EQ(differing, 0);
    EXPECT_GT(DrawnPixels(), 200);
  }
}

// A resize in a long pause of a run shows the picture at the new size at
// once, not at the end of the pause.
TEST_F(AnimationWindow, AResizeInAPauseRedrawsThePictureForTheNewSize) {
  drawing::AnimationFormView() = [](drawing::TForm_vob1ani& form) {
    form.Edit_steps = "1000";
    form.Edit_pause = "4000";
    form.Button_okClick();
  };
  const QSize larger(1000, 760);
  QSize shown;
  int ink = 0;
  QTimer::singleShot(300, view.get(), [&] { view->resize(larger); });
  QTimer::singleShot(1800, view.get(), [&] {
    shown = view->ShownImage().size() / view->ShownImage().devicePixelRatio();
    ink = DrawnPixels();
    testsupport::LateUserEvent::Deliver(view.get(), testsupport::LateUserEvent::Kind::Escape);
  });
  QElapsedTimer timer;
  timer.start();
  drawing::AnimateGears1(1);
  EXPECT_LT(timer.elapsed(), 3800) << "Escape did not end the pause";
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(shown, larger);
  EXPECT_GT(ink, 200);
}
