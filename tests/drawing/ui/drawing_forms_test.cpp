// The drawing subsystem's Qt forms: the drawing-name form shows the names
// converted for display and stores them back on OK only; the plot
// utility's settings form shows its command line as the controls change,
// and the device choice edits the stored line through it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "calc/spur_gear_data.h"
#include "common/cad_settings.h"
#include "common/kaldvar.h"
#include "drawing/cad/cad_device.h"
#include "drawing/drawing_name_form.h"
#include "drawing/ui/drawing_forms.h"
#include "drawing/ui/drawing_name_form.h"
#include "drawing/cad/ui/plot_utility_form.h"
#include "platform/scripted_dialogs.h"

namespace {

void EnsureApplication() {
  static int argc = 1;
  static char name[] = "drawing_forms_test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  (void)app;
}

template <class T>
T* Child(QWidget& form, const char* name) {
  T* child = form.findChild<T*>(name);
  EXPECT_NE(child, nullptr) << name;
  return child;
}

// Clicks the named button of the modal form as soon as it shows.
void ClickWhenShown(const char* button) {
  QTimer::singleShot(0, [button] {
    QWidget* modal = QApplication::activeModalWidget();
    ASSERT_NE(modal, nullptr);
    modal->findChild<QPushButton*>(button)->click();
  });
}

TEST(DrawingNameFormWindow, ShowsAndStoresTheNames) {
  EnsureApplication();
  common::SetKaldvarDefaults();
  common::ProgramTitle = "VOB4 - test";
  auto& data = calc::SpurGearData;
  data.DrawingName[1] = "Rad";
  data.DrawingNumber[1] = "N-1";
  data.DrawingName2[2] = "Gro\xe1rad";
  common::SheetTexts[1] = "Text eins";
  {
    drawing::ui::TForm_vobuni3 form;
    EXPECT_EQ(form.windowTitle(), "VOB4 - test");
    EXPECT_EQ(Child<QGroupBox>(form, "GroupBox_welle")->title(), " gear 1 ");
    EXPECT_EQ(Child<QGroupBox>(form, "GroupBox_nabe")->title(), " gear 2 ");
    EXPECT_EQ(Child<QLabel>(form, "Label_zeichnr2")->text(), "Drawing number");
    EXPECT_EQ(Child<QLineEdit>(form, "Edit_zeichname1")->text(), "Rad");
    EXPECT_EQ(Child<QLineEdit>(form, "Edit_zeichnr1")->text(), "N-1");
    EXPECT_EQ(Child<QLineEdit>(form, "Edit_zeichname22")->text(), QString::fromUtf8("Gro\xc3\x9frad"));
    EXPECT_EQ(Child<QLineEdit>(form, "Edit_info1")->text(), "Text eins");
    Child<QLineEdit>(form, "Edit_zeichname2")->setText(QString::fromUtf8("Z\xc3\xa4hne"));
    Child<QLineEdit>(form, "Edit_info2")->setText("Text zwei");
    Child<QPushButton>(form, "Button_cancel")->click();
  }
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(data.DrawingName[2], "");

  drawing::ui::InstallDrawingForms();
  QTimer::singleShot(0, [] {
    QWidget* modal = QApplication::activeModalWidget();
    ASSERT_NE(modal, nullptr);
    modal->findChild<QLineEdit*>("Edit_zeichname2")->setText(QString::fromUtf8("Z\xc3\xa4hne"));
    modal->findChild<QPushButton*>("Button_ok")->click();
  });
  drawing::ShowDrawingNameForm();
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(data.DrawingName[2], "Z\x84hne");
  EXPECT_EQ(data.DrawingName[1], "Rad");
  EXPECT_EQ(data.DrawingName2[2], "Gro\xe1rad");
}

TEST(PlotUtilityFormWindow, CommandLineFollowsTheControls) {
  EnsureApplication();
  common::SetKaldvarDefaults();
  common::TempDirectory = "/tmp/work";
  drawing::ui::TForm_conftramlin form;
  EXPECT_EQ(form.windowTitle(), "TRAMLIN");
  QLabel* line = Child<QLabel>(form, "Label_commandline");
  EXPECT_EQ(line->text(), "/tramlin/wtramlin /tmp/work/tramlin /CHPL");
  EXPECT_EQ(Child<QComboBox>(form, "ComboBox_psfont")->count(), 35);
  EXPECT_FALSE(Child<QComboBox>(form, "ComboBox_psfont")->isEnabled());

  // Serial on COM 2, fitted to the sheet, turned.
  Child<QGroupBox>(form, "RadioGroup_d")->findChildren<QRadioButton*>()[0]->click();
  EXPECT_TRUE(Child<QLineEdit>(form, "Edit_com")->isEnabled());
  EXPECT_FALSE(Child<QLineEdit>(form, "Edit_lpt")->isEnabled());
  Child<QLineEdit>(form, "Edit_com")->setText("2");
  Child<QCheckBox>(form, "CheckBox_scale")->click();
  EXPECT_FALSE(Child<QLineEdit>(form, "Edit_scale")->isEnabled());
  Child<QCheckBox>(form, "CheckBox_rotate")->click();
  EXPECT_EQ(line->text(), "/tramlin/wtramlin /tmp/work/tramlin /CHPL /D1 /P2 /M* /R");

  // PostScript with a font.
  Child<QGroupBox>(form, "RadioGroup_outcode")->findChildren<QRadioButton*>()[1]->click();
  EXPECT_TRUE(Child<QComboBox>(form, "ComboBox_psfont")->isEnabled());
  Child<QComboBox>(form, "ComboBox_psfont")->setCurrentIndex(12);
  EXPECT_EQ(line->text(), "/tramlin/wtramlin /tmp/work/tramlin /CPS /D1 /P2 /M* /R /TCourier");
  EXPECT_EQ(form.CommandLine(), line->text().toStdString());
}

TEST(PlotUtilityFormWindow, DeviceChoiceEditsTheStoredLineThroughTheForm) {
  EnsureApplication();
  common::SetKaldvarDefaults();
  common::InitCadSettings();
  common::TempDirectory = "/tmp/work";
  drawing::ui::InstallDrawingForms();
  platform::ScriptedDialogs dialogs;
  platform::ScopedDialogs scoped(dialogs);
  // Plot utility; the form's OK gives its line, which the last question
  // shows and keeps.
  dialogs.Then(platform::ScriptedAnswer::Choose(3));
  ClickWhenShown("Button_ok");
  dialogs.Then(platform::ScriptedAnswer::Enter("/tramlin/wtramlin /tmp/work/tramlin /CHPL"));
  drawing::SelectCadDevice();
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(drawing::CadDevice, drawing::CadDevicePlot);
  ASSERT_EQ(dialogs.Asked().size(), 2u);
  EXPECT_EQ(dialogs.Asked()[1].initial, "/tramlin/wtramlin /tmp/work/tramlin /CHPL");
  EXPECT_EQ(common::CadSettings.PlotCommandLines[1], "/tramlin/wtramlin /tmp/work/tramlin /CHPL");

  // Cancel in the form keeps the stored line and the choice goes on.
  common::CadSettings.PlotCommandLines[1] = "/opt/plot/wtramlin x.dxf";
  dialogs.Then(platform::ScriptedAnswer::Choose(3));
  ClickWhenShown("Button_cancel");
  dialogs.Then(platform::ScriptedAnswer::Enter("/opt/plot/wtramlin x.dxf /R"));
  drawing::SelectCadDevice();
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(dialogs.Asked().back().initial, "/opt/plot/wtramlin x.dxf");
  EXPECT_EQ(common::CadSettings.PlotCommandLines[1], "/opt/plot/wtramlin x.dxf /R");
}

}  // namespace
