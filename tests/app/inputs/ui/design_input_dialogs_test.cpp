// The windows of the design inputs offscreen, opened from the main menu as
// the user meets them: each is filled through its controls and confirmed
// with its buttons, and the records show what it wrote; the complement
// opened from the tool window; the rotation-angle window kept for the run.
#include "app/inputs/ui/design_input_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <functional>
#include <vector>

#include "app/design_extras.h"
#include "app/entry_points.h"
#include "app/main_menu.h"
#include "app/start_up.h"
#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "calc/spur_gear_data.h"
#include "common/kaldvar.h"
#include "platform/scripted_dialogs.h"

namespace {

int argc = 1;
char arg0[] = "design_input_dialogs_test";
char* argv[] = {arg0, nullptr};

// Runs action on the modal window of that name as soon as it is shown.
void WhenShown(const QString& name, std::function<void(QWidget*)> action) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, name, action] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal->objectName() == name) {
      timer->stop();
      timer->deleteLater();
      action(modal);
    }
  });
  timer->start(5);
}

template <class T = QLineEdit>
T* Child(QWidget* window, const char* name) {
  T* child = window->findChild<T*>(name);
  EXPECT_NE(child, nullptr) << name;
  return child;
}

void Click(QWidget* window, const char* button) { QTest::mouseClick(Child<QPushButton>(window, button), Qt::LeftButton); }

// Replaces the edit's text as typing does.
void Type(QWidget* window, const char* edit, const QString& text) {
  QLineEdit* e = Child(window, edit);
  e->selectAll();
  QTest::keyClicks(e, text);
}

class DesignInputDialogsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!QApplication::instance()) new QApplication(argc, argv);
  }
  void SetUp() override {
    char name[] = "vob4";
    char* args[] = {name, nullptr};
    app::StartUpProgram(1, args);
    app::ResetEntryPoints();
    app::SetDesignInputViews(&views_);
    common::UnitSystem = common::UnitsMetric;
    app::Entry().RedrawCurrentView = [] {};
    app::Entry().ShowDiagrams = [](int, int) {};
    app::Entry().DrawGears = [this](int mode, int) { pictures_.push_back({mode, calc::PhiView}); };
    calc::CalcNoncircularPair();
    common::AbortFlag = 0;
    common::DataChanged = 0;
  }
  void TearDown() override {
    app::SetDesignInputViews(nullptr);
    app::ResetEntryPoints();
    common::UnitSystem = common::UnitsMetric;
  }

  struct Picture {
    int mode;
    Real phi;
  };

  app::ui::QtDesignInputViews views_;
  platform::ScriptedDialogs dialogs_;
  platform::ScopedDialogs scoped_{dialogs_};
  std::vector<Picture> pictures_;
};

}  // namespace

TEST_F(DesignInputDialogsTest, GeometryWindowFilledAndConfirmed) {
  calc::NcPair.ModuleMode = 1;
  WhenShown("Form_vob4geo1", [](QWidget* w) {
    EXPECT_EQ(Child(w, "Edit_z1")->text(), QString::number(calc::NcPair.z1));
    Type(w, "Edit_z1", "24");
    Type(w, "Edit_alpha", "x");
    Click(w, "Button_alpha");
    EXPECT_EQ(Child(w, "Edit_alpha")->text(), "20");
    Type(w, "Edit_b", "1");
    Click(w, "Button_metric");
    EXPECT_EQ(Child<QLabel>(w, "Label_bunit")->text(), "in");
    EXPECT_EQ(Child(w, "Edit_b")->text(), "0.0394");
    Type(w, "Edit_b", "2");
    Child<QSpinBox>(w, "SpinEdit_k")->setValue(3);
    Child<QCheckBox>(w, "CheckBox_mconst")->setChecked(true);
    Click(w, "Button_ok");
  });
  app::MenuItemClick("mi_editZahnrad");
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(common::DataChanged, 1);
  EXPECT_EQ(calc::NcPair.z1, 24);
  EXPECT_EQ(calc::NcPair.k, 3);
  EXPECT_EQ(calc::NcPair.z2, 72);
  EXPECT_EQ(calc::NcPair.ModuleMode, 2);
  EXPECT_EQ(calc::SpurGearData.PressureAngle, 20);
  EXPECT_NEAR(static_cast<double>(calc::SpurGearData.FaceWidth), 50.8, 1e-12);

  // Escape is Cancel.
  WhenShown("Form_vob4geo1", [](QWidget* w) {
    Type(w, "Edit_z1", "99");
    QTest::keyClick(w, Qt::Key_Escape);
  });
  app::MenuItemClick("mi_editZahnrad");
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(calc::NcPair.z1, 24);
}

TEST_F(DesignInputDialogsTest, ToolWindowWithItsComplement) {
  calc::SpurGearData.haP0Factor[1] = 1.25L;
  calc::SpurGearData.hfP0Factor[1] = 1.0L;
  calc::SpurGearData.hfP0Factor[2] = 1.0L;
  QString complementShifts;
  WhenShown("Form_vob1prof", [&](QWidget* w) {
    EXPECT_TRUE(w->windowTitle().endsWith("DIMENSIONS OF GEAR-CUTTING TOOL"));
    WhenShown("Form_komplement", [&](QWidget* c) {
      EXPECT_EQ(Child<QLabel>(c, "Label_x")->text(), "x1 = 0  x2 = 0");
      Type(c, "Edit_c", "0.3");
      // The mating tool follows each keystroke.
      EXPECT_EQ(Child<QLabel>(c, "Label_haP02")->text(), "haP02/mn = 1.3");
      EXPECT_EQ(Child<QLabel>(c, "Label_hfP02")->text(), "hfP02/mn = 0.95");
      complementShifts = Child<QLabel>(c, "Label_x")->text();
      Click(c, "Button_ok");
    });
    Click(w, "Button_complement");
    EXPECT_EQ(Child(w, "Edit_haP02")->text(), "1.3");
    EXPECT_EQ(Child(w, "Edit_hfP02")->text(), "0.95");
    Click(w, "Button_cancel");
  });
  app::MenuItemClick("mi_editbezugsprofil");
  EXPECT_EQ(complementShifts, "x1 = 0  x2 = 0.05");
  // Cancelled tool window, kept complement; no recalculation by the menu.
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(common::DataChanged, 0);
  EXPECT_NEAR(static_cast<double>(calc::SpurGearData.haP0Factor[2]), 1.3, 1e-15);

  WhenShown("Form_vob1prof", [](QWidget* w) {
    Type(w, "Edit_hfP01", "");
    Click(w, "Button_hfP01");
    Type(w, "Edit_haP02", "1.2");
    Click(w, "Button_ok");
  });
  app::MenuItemClick("mi_editbezugsprofil");
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(calc::SpurGearData.hfP0Factor[1], 1.0L);
  EXPECT_EQ(calc::SpurGearData.haP0Factor[2], 1.2L);
}

TEST_F(DesignInputDialogsTest, DriveWindowComputesAsTheUserTypes) {
  calc::SpurGearData.LoadChoice = calc::LoadComputesTorque;
  WhenShown("Form_fest3", [](QWidget* w) {
    EXPECT_FALSE(Child(w, "Edit_T")->isEnabled());
    QTest::mouseClick(Child<QRadioButton>(w, "RadioButton_P"), Qt::LeftButton);
    EXPECT_FALSE(Child(w, "Edit_P")->isEnabled());
    EXPECT_TRUE(Child(w, "Edit_T")->isEnabled());
    Type(w, "Edit_n", "1000");
    Type(w, "Edit_T", "100");
    EXPECT_EQ(Child(w, "Edit_P")->text(), "10.47");
    Click(w, "Button_metric");
    EXPECT_EQ(Child<QLabel>(w, "Label_Tunit")->text(), "lbfin");
    EXPECT_EQ(Child(w, "Edit_P")->text(), "10.47");
    Click(w, "Button_ok");
  });
  app::MenuItemClick("mi_editAntrieb");
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(calc::SpurGearData.LoadChoice, calc::LoadComputesPower);
  EXPECT_EQ(calc::SpurGearData.n[1], 1000);
  EXPECT_EQ(calc::SpurGearData.T[1], 100);
  EXPECT_NEAR(static_cast<double>(calc::SpurGearData.P), 10.471975511965978, 1e-12);
}

TEST_F(DesignInputDialogsTest, RotationWindowKeptForTheRun) {
  calc::NcPair.z1 = 20;
  WhenShown("Form_vob4phi", [](QWidget* w) {
    auto* track = Child<QSlider>(w, "TrackBar1");
    QLineEdit* angle = Child(w, "Edit_phi");
    EXPECT_EQ(angle->text(), "0");
    track->setValue(30);
    EXPECT_EQ(angle->text(), "30");
    Type(w, "Edit_phi", "12.4");
    EXPECT_EQ(track->value(), 12);
    // The edit keeps its fraction while the track bar follows.
    EXPECT_EQ(angle->text(), "12.4");
    angle->setText("4");
    QTest::mouseClick(w->findChild<QWidget*>("UpDown_down"), Qt::LeftButton);
    EXPECT_EQ(angle->text(), "0");
    QTest::mouseClick(w->findChild<QWidget*>("UpDown_up"), Qt::LeftButton);
    EXPECT_EQ(angle->text(), "9");
    Click(w, "Button_close");
  });
  app::MenuItemClick("mi_viewzahnraederphi1");
  ASSERT_FALSE(pictures_.empty());
  EXPECT_EQ(pictures_.front().phi, 0);
  EXPECT_EQ(pictures_.back().phi, 9);
  EXPECT_EQ(pictures_.back().mode, 6);
  EXPECT_EQ(calc::PhiView, 9);
  app::ui::TForm_vob4phi* window = views_.RotationWindow();
  ASSERT_NE(window, nullptr);

  // The same window again, for the rack, from 0.
  pictures_.clear();
  calc::NcPair.ModuleMode = 2;
  WhenShown("Form_vob4phi", [](QWidget* w) {
    EXPECT_EQ(Child(w, "Edit_phi")->text(), "0");
    QTest::keyClick(w, Qt::Key_Return);
  });
  app::MenuItemClick("mi_viewzahnstange");
  EXPECT_EQ(views_.RotationWindow(), window);
  ASSERT_FALSE(pictures_.empty());
  EXPECT_EQ(pictures_.front().mode, 7);
}

// Letters typed into the angle turn nothing; closing refuses them with a
// message naming "phi 1", shows the last angle again and stays open.
TEST_F(DesignInputDialogsTest, RotationWindowRefusesTextThatIsNoNumber) {
  calc::NcPair.z1 = 20;
  bool stayedOpen = false;
  QString restored;
  WhenShown("Form_vob4phi", [&](QWidget* w) {
    Type(w, "Edit_phi", "30");
    Type(w, "Edit_phi", "abc");
    EXPECT_EQ(calc::PhiView, 30);
    Click(w, "Button_close");
    stayedOpen = w->isVisible();
    restored = Child(w, "Edit_phi")->text();
    Click(w, "Button_close");
  });
  app::MenuItemClick("mi_viewzahnraederphi1");
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(restored, "30");
  EXPECT_EQ(calc::PhiView, 30);
  ASSERT_FALSE(dialogs_.Asked().empty());
  EXPECT_EQ(dialogs_.Asked().back().text, "phi 1: \"abc\" is not a number !");
}
