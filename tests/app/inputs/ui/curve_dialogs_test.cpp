// The curve dialogs offscreen, reached from the main menu as the user does:
// the parameter dialog of the polygon (the dependent diameter, the radio
// group, the unit switch) and of the ellipse (the proposal button), and the
// polyline's grid dialog (spin edit, paste from the desktop clipboard, the
// check box, copy), each closed with OK and checked in the records and the
// recalculated pair.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <functional>

#include "app/entry_points.h"
#include "app/inputs/curve_forms.h"
#include "app/inputs/point_list_input.h"
#include "app/inputs/ui/curve_form_dialogs.h"
#include "app/inputs/ui/point_list_dialogs.h"
#include "app/start_up.h"
#include "app/ui/main_window_form.h"
#include "calc/calc_records.h"
#include "common/kaldvar.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/scripted_dialogs.h"
#include "support/modal_dialogs.h"

using platform::ScriptedAnswer;

using testsupport::WhenShown;

namespace {

int argc = 1;
char arg0[] = "curve_dialogs_test";
char* argv[] = {arg0, nullptr};

void Click(QWidget* dialog, const char* name) {
  QPushButton* button = dialog->findChild<QPushButton*>(name);
  ASSERT_NE(button, nullptr) << name;
  QTest::mouseClick(button, Qt::LeftButton);
}

QLineEdit* Edit(QWidget* dialog, const char* name) { return dialog->findChild<QLineEdit*>(name); }

void Type(QLineEdit* edit, const QString& text) {
  edit->selectAll();
  QTest::keyClicks(edit, text);
}

class CurveDialogsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!QApplication::instance()) new QApplication(argc, argv);
  }
  void SetUp() override {
    char name[] = "vob4";
    char* args[] = {name, nullptr};
    app::StartUpProgram(1, args);
    app::ResetEntryPoints();
    common::UnitSystem = common::UnitsMetric;
    common::LanguageCode = 0;
    app::SetCurveFormViews(&curveViews_);
    app::SetPointListViews(&pointViews_);
  }
  void TearDown() override {
    app::SetCurveFormViews(nullptr);
    app::SetPointListViews(nullptr);
    app::ResetEntryPoints();
    common::UnitSystem = common::UnitsMetric;
  }

  app::ui::QtCurveFormViews curveViews_;
  app::ui::QtPointListViews pointViews_;
  platform::ScriptedDialogs dialogs_;
  platform::ScopedDialogs scoped_{dialogs_};
};

}  // namespace

TEST_F(CurveDialogsTest, PolygonDialog) {
  calc::PolygonCurve = {6, 120, 100};
  dialogs_.Then(ScriptedAnswer::Choose(calc::CurvePolygon - 1));
  QString title, followedDe, followedDi, inchUnit;
  bool diEnabled = true;
  WhenShown([&](QWidget* dialog) {
    title = dialog->windowTitle();
    EXPECT_EQ(dialog->objectName(), "Form_vob4pg");
    EXPECT_EQ(dialog->findChild<QPushButton*>("Button_help"), nullptr);
    Type(Edit(dialog, "Edit_z"), "8");
    Type(Edit(dialog, "Edit_Di"), "100");
    followedDe = Edit(dialog, "Edit_De")->text();
    dialog->findChild<QRadioButton*>("RadioButton_De")->click();
    diEnabled = Edit(dialog, "Edit_Di")->isEnabled();
    Type(Edit(dialog, "Edit_De"), "110");
    followedDi = Edit(dialog, "Edit_Di")->text();
    Click(dialog, "Button_metric");
    inchUnit = dialog->findChild<QLabel*>("Label_Deu")->text();
    Click(dialog, "Button_metric");
    Click(dialog, "Button_ok");
  });
  app::ui::Thh window;
  window.Click("mi_editwaelzkurve");
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(title, QString::fromStdString(common::ProgramTitle + " Polygon"));
  EXPECT_EQ(followedDe, "108.2");  // 100 / cos(22.5 degrees)
  EXPECT_FALSE(diEnabled);
  EXPECT_EQ(followedDi, "101.6");  // 110 cos(22.5 degrees)
  EXPECT_EQ(inchUnit, "in");
  EXPECT_EQ(common::UnitSystem, common::UnitsMetric);
  EXPECT_EQ(calc::CurveType, calc::CurvePolygon);
  EXPECT_EQ(calc::PolygonCurve.Corners, 8);
  EXPECT_EQ(calc::PolygonCurve.De, 110);
  // Di as computed from De, not as its display.
  const double di = 110 * std::cos(M_PI / 8);
  EXPECT_NEAR(static_cast<double>(calc::PolygonCurve.Di), di, 1e-9);
  EXPECT_EQ(common::DataChanged, 1);
  EXPECT_NEAR(static_cast<double>(calc::RadiusExtremes.r1min), di / 2, 1e-6);
}

TEST_F(CurveDialogsTest, EllipseProposalAndCancel) {
  calc::EllipseCurve = {60, 50};
  dialogs_.Then(ScriptedAnswer::Choose(calc::CurveEllipse - 1));
  QString proposed;
  WhenShown([&](QWidget* dialog) {
    Type(Edit(dialog, "Edit_a"), "55.5");
    Click(dialog, "Button_Edit_b");
    proposed = Edit(dialog, "Edit_b")->text();
    Click(dialog, "Button_ok");
  });
  app::ui::Thh window;
  window.Click("mi_editwaelzkurve");
  EXPECT_EQ(proposed, "50");
  EXPECT_EQ(calc::EllipseCurve.a, 55.5L);
  EXPECT_EQ(calc::EllipseCurve.b, 50);
  // Closing the window is Cancel.
  dialogs_.Then(ScriptedAnswer::Choose(calc::CurveEllipse - 1));
  WhenShown([&](QWidget* dialog) {
    Type(Edit(dialog, "Edit_a"), "99");
    dialog->close();
  });
  window.Click("mi_editwaelzkurve");
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(calc::EllipseCurve.a, 55.5L);
}

TEST_F(CurveDialogsTest, PolylineGridDialog) {
  platform::qt::QtClipboard desktop;
  platform::ScopedClipboard scopedClipboard(desktop);
  calc::PolylineCount = 0;
  calc::LinearInterpolation = 0;
  dialogs_.Then(ScriptedAnswer::Choose(calc::CurvePolyline - 1));
  QString copied;
  int rows = 0;
  WhenShown([&](QWidget* dialog) {
    EXPECT_EQ(dialog->objectName(), "Form_vob4poip");
    auto* spin = dialog->findChild<QSpinBox*>("SpinEdit1");
    auto* grid = dialog->findChild<QTableWidget*>("StringGrid1");
    EXPECT_EQ(spin->maximum(), 1000);
    spin->setValue(5);
    rows = grid->rowCount();
    // Lines ended by LF alone, as this desktop's clipboard has them.
    QGuiApplication::clipboard()->setText("0\t50\n90\t60\n180\t55\n270\t60\n360\t50\n");
    grid->setCurrentCell(0, 0);
    dialog->findChild<QAction*>("mi_editpaste")->trigger();
    dialog->findChild<QCheckBox*>("CheckBox_interpolate")->setChecked(true);
    grid->clearSelection();
    grid->setRangeSelected(QTableWidgetSelectionRange(1, 0, 2, 1), true);
    dialog->findChild<QAction*>("mi_editcopy")->trigger();
    copied = QGuiApplication::clipboard()->text();
    Click(dialog, "Button_ok");
  });
  app::ui::Thh window;
  window.Click("mi_editwaelzkurve");
  EXPECT_EQ(rows, 5);
  EXPECT_EQ(copied, "90\t60\r\n180\t55\r\n");
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(calc::CurveType, calc::CurvePolyline);
  ASSERT_EQ(calc::PolylineCount, 5);
  EXPECT_EQ(calc::LinearInterpolation, 1);
  EXPECT_EQ(calc::PolylinePoints[3].R, 55);
  EXPECT_NEAR(static_cast<double>(calc::PolylinePoints[4].Phi), 3 * 3.14159265358979 / 2, 1e-12);
  EXPECT_NEAR(static_cast<double>(calc::RadiusExtremes.r1max), 60, 1e-6);
}
