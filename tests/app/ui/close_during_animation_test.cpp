// Closing the main window while an animation runs (the window system's
// close, as Alt+F4 or the title bar's button give it): the run ends and the
// question whether to save the changed design answers Yes, No and Cancel,
// by a click on its button and by a key, all sent through the windows as
// the window system delivers them.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <filesystem>

#include "app/entry_points.h"
#include "app/ui/main_window_form.h"
#include "common/graphics_facade.h"
#include "common/kaldvar.h"
#include "drawing/gear_animation.h"
#include "platform/qt/qt_user_dialogs.h"
#include "support/app_start.h"
#include "support/file_test_support.h"
#include "support/modal_dialogs.h"

namespace fs = std::filesystem;

namespace {

int argc = 1;
char arg0[] = "close_during_animation_test";
char* argv[] = {arg0, nullptr};

class CloseDuringAnimation : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!QApplication::instance()) new QApplication(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
  }
  void SetUp() override {
    previous_ = testsupport::EnterWithDefaultDesign(dir_);
    testsupport::StartProgram();
    common::ConfigDirectory = dir_.Dir().string();
    common::TempDirectory = dir_.Dir().string();
    common::LanguageCode = 0;
    common::RecentFiles = {};
    // A long run: a thousand pictures with a pause after each.
    drawing::AnimationFormView() = [](drawing::TForm_vob1ani& form) {
      form.Edit_steps = "1000";
      form.Edit_pause = "20";
      form.Button_okClick();
    };
  }
  void TearDown() override {
    drawing::AnimationFormView() = nullptr;
    app::ResetEntryPoints();
    fs::current_path(previous_);
  }

  testsupport::ScratchDirectory dir_{"close_during_animation"};
  fs::path previous_;
  platform::qt::QtUserDialogs dialogs_;
  platform::ScopedDialogs scoped_{dialogs_};
};

enum class Answer { Yes, No, Cancel };
enum class By { Click, Key };

// The answer given to the question through its window.
void Give(QMessageBox& box, Answer answer, By by) {
  QWindow* window = box.windowHandle();
  ASSERT_NE(window, nullptr);
  const QMessageBox::StandardButton which = answer == Answer::Yes ? QMessageBox::Yes
                                            : answer == Answer::No ? QMessageBox::No
                                                                   : QMessageBox::Cancel;
  if (by == By::Click) {
    QAbstractButton* button = box.button(which);
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, button->mapTo(&box, button->rect().center()));
    return;
  }
  // Enter takes the default answer (Yes), Escape cancels, N is No's key.
  const Qt::Key key = answer == Answer::Yes ? Qt::Key_Return : answer == Answer::No ? Qt::Key_N : Qt::Key_Escape;
  QTest::keyClick(window, key);
}

}  // namespace

TEST_F(CloseDuringAnimation, TheSaveQuestionAnswersByClickAndByKey) {
  common::DataDirectory = dir_.Dir().string();
  const struct {
    Answer answer;
    By by;
  } cases[] = {{Answer::Cancel, By::Click}, {Answer::Cancel, By::Key}, {Answer::No, By::Click},
               {Answer::No, By::Key},       {Answer::Yes, By::Click},  {Answer::Yes, By::Key}};
  int n = 0;
  for (const auto& c : cases) {
    const std::string name = "pair" + std::to_string(++n);
    SCOPED_TRACE(name + (c.by == By::Click ? " by click" : " by key"));
    app::ui::Thh window;
    window.show();
    QApplication::processEvents();
    common::CurrentFileName = name;
    common::DataChanged = 1;
    // The window system closes the window during the run; the question
    // gets its answer once it is shown.
    bool asked = false;
    QTimer::singleShot(300, &window, [&] {
      testsupport::WhenShown([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        asked = true;
        EXPECT_NE(box->text().toStdString().find("Save file"), std::string::npos);
        Give(*box, c.answer, c.by);
      });
      window.windowHandle()->close();
    });
    // A question that takes no answer is closed after a while, and so is
    // every window that comes after it (a message of a failed save), so that
    // the test ends; the run must not have waited for that.
    bool stuck = false;
    QTimer rescue;
    QObject::connect(&rescue, &QTimer::timeout, [&] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        stuck = true;
        static_cast<QDialog*>(modal)->reject();
      }
    });
    rescue.start(8000);
    QElapsedTimer timer;
    timer.start();
    window.Click("mi_viewAnimation1");
    rescue.stop();
    EXPECT_TRUE(asked);
    EXPECT_FALSE(stuck) << "the question took no answer";
    // The run ended with the close, long before its thousand pictures.
    EXPECT_LT(timer.elapsed(), 6000);
    EXPECT_LT(std::count(common::DisplayList.begin(), common::DisplayList.end(), "13;20"), 500);
    const bool saved = fs::exists(dir_.Path(name + ".vb4"));
    switch (c.answer) {
      case Answer::Cancel:
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(common::DataChanged, 1);
        EXPECT_FALSE(saved);
        break;
      case Answer::No:
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(common::DataChanged, 0);
        EXPECT_FALSE(saved);
        break;
      case Answer::Yes:
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(common::DataChanged, 0);
        EXPECT_TRUE(saved);
        break;
    }
    common::AbortFlag = 0;
  }
}
