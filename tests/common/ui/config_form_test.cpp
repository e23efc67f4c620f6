// The configuration dialog offscreen: nine pages with their captions, the
// settings shown in the controls, a value typed and OK pressed reaching the
// settings, Save writing the file, Cancel after edits leaving the settings,
// a default button and the layer grid, a colour panel through the colour
// dialog, and the visibility rules following the combo boxes.
#include "common/ui/config_form.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "common/cad_settings.h"
#include "common/config_file.h"
#include "common/graphics_settings.h"
#include "common/kaldvar.h"
#include "platform/scripted_dialogs.h"
#include "support/file_test_support.h"

using namespace common;

namespace {

int argc = 1;
char arg0[] = "config_form_test";
char* argv[] = {arg0, nullptr};

class ConfigFormTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!QApplication::instance()) new QApplication(argc, argv);
  }
  void SetUp() override {
    SetKaldvarDefaults();
    SetWkaldvarDefaults();
    SetProgramIdentity();
    InitScreenGraphicsSettings();
    InitPrinterGraphicsSettings();
    InitCadSettings();
    InitConfigOnlySettings();
    ConfigDirectory = dir_.Dir().string();
    HorizontalPixels = 1023;
    VerticalPixels = 767;
    AbortFlag = 0;
  }

  template <class W>
  W* Find(ui::Tconfig& dialog, const char* name) {
    W* w = qobject_cast<W*>(dialog.Control(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }

  testsupport::ScratchDirectory dir_{"config_form"};
  platform::ScriptedDialogs dialogs_;
  platform::ScopedDialogs scoped_{dialogs_};
};

TEST_F(ConfigFormTest, PagesShowTheSettings) {
  LinesPerPage = 61;
  CadSettings.CadTextFont = "ROMANS";
  HeaderMode = 2;
  ui::Tconfig dialog;
  QTabWidget* pages = dialog.Pages();
  ASSERT_EQ(pages->count(), 9);
  EXPECT_EQ(pages->tabText(0), "Directories");
  EXPECT_EQ(pages->tabText(3), "Colour");
  EXPECT_EQ(pages->tabText(8), "Drawing");
  EXPECT_EQ(Find<QLineEdit>(dialog, "Edit_lines")->text(), "61");
  EXPECT_EQ(Find<QLineEdit>(dialog, "Edit_cadtextfont")->text(), "ROMANS");
  EXPECT_EQ(Find<QLineEdit>(dialog, "Edit_x")->text(), "1024");
  EXPECT_TRUE(dialog.findChild<QRadioButton*>("RadioGroup_header_1")->isChecked());
  auto* grid = Find<QTableWidget>(dialog, "StringGrid_layer");
  EXPECT_EQ(grid->item(0, 3)->text(), "continuous line      0.50 mm");
  EXPECT_EQ(grid->item(4, 3)->text(), "center line          0.25 mm");
}

TEST_F(ConfigFormTest, TypedValueAndOkReachTheSettingsAndSaveWritesTheFile) {
  ASSERT_EQ(AngleFormat, 1);
  ui::Tconfig dialog;
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  QLineEdit* lines = Find<QLineEdit>(dialog, "Edit_lines");
  lines->clear();
  QTest::keyClicks(lines, "48");
  dialog.Pages()->setCurrentIndex(6);
  dialog.findChild<QRadioButton*>("RadioGroup_ausgrad_1")->click();
  Find<QCheckBox>(dialog, "CheckBox_hidewarnings")->setChecked(true);
  QTest::mouseClick(Find<QPushButton>(dialog, "Button_save"), Qt::LeftButton);
  ASSERT_TRUE(std::filesystem::exists(dir_.Dir() / "vob4.cfg"));
  QTest::mouseClick(Find<QPushButton>(dialog, "Button_ok"), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(LinesPerPage, 48);
  EXPECT_EQ(AngleFormat, 2);
  EXPECT_TRUE(MsgQuiet);

  SetKaldvarDefaults();
  SetWkaldvarDefaults();
  SetProgramIdentity();
  ASSERT_NE(AngleFormat, 2);
  ConfigDirectory = dir_.Dir().string();
  ReadConfigFile();
  EXPECT_EQ(LinesPerPage, 48);
  EXPECT_EQ(AngleFormat, 2);
  EXPECT_TRUE(MsgQuiet);
}

// OK with a field that is no number: the message names it, the field
// shows its old text, and the dialog stays open with nothing taken.
TEST_F(ConfigFormTest, TextThatIsNoNumberKeepsTheDialogOpen) {
  LinesPerPage = 61;
  ui::Tconfig dialog;
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  QLineEdit* lines = Find<QLineEdit>(dialog, "Edit_lines");
  lines->setText("sixty");
  Find<QLineEdit>(dialog, "Edit_fontsize")->setText("12");
  QTest::mouseClick(Find<QPushButton>(dialog, "Button_ok"), Qt::LeftButton);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(lines->text(), "61");
  EXPECT_EQ(Find<QLineEdit>(dialog, "Edit_fontsize")->text(), "12") << "the other edits stay as typed";
  EXPECT_NE(PrinterGraphicsSettings.TextSizePrintout, 12);
  ASSERT_FALSE(dialogs_.Asked().empty());
  EXPECT_EQ(dialogs_.Asked().back().text, "Max. lines per page for printer: \"sixty\" is not a whole number !");
  QTest::mouseClick(Find<QPushButton>(dialog, "Button_ok"), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(PrinterGraphicsSettings.TextSizePrintout, 12);
}

TEST_F(ConfigFormTest, CancelLeavesTheSettings) {
  const TCadSettings cad = CadSettings;
  ui::Tconfig dialog;
  Find<QLineEdit>(dialog, "Edit_cadtextfont")->setText("CHANGED");
  QTest::mouseClick(Find<QPushButton>(dialog, "Button_layer4"), Qt::LeftButton);
  QTest::mouseClick(Find<QPushButton>(dialog, "Button_cancel"), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(CadSettings, cad);
  EXPECT_EQ(AbortFlag, 1);
  EXPECT_FALSE(std::filesystem::exists(dir_.Dir() / "vob4.cfg"));
}

TEST_F(ConfigFormTest, ButtonsAndPanelsChangeTheShownValues) {
  ui::Tconfig dialog;
  QLineEdit* zoom = Find<QLineEdit>(dialog, "Edit_zoom");
  zoom->setText("7");
  QTest::mouseClick(Find<QPushButton>(dialog, "Button_zoom"), Qt::LeftButton);
  EXPECT_EQ(zoom->text(), "1.02");

  auto* grid = Find<QTableWidget>(dialog, "StringGrid_layer");
  QTest::mouseClick(Find<QPushButton>(dialog, "Button_layer4"), Qt::LeftButton);
  EXPECT_EQ(grid->item(3, 1)->text(), "3");
  EXPECT_EQ(grid->item(3, 2)->text(), "2");

  dialogs_.Then(platform::ScriptedAnswer::Colour(RgbColour(10, 20, 30)));
  QTest::mouseClick(Find<QPushButton>(dialog, "Panel_color2"), Qt::LeftButton);
  EXPECT_EQ(dialog.Session().Values().panelColours[2], RgbColour(10, 20, 30));
  QTest::mouseClick(Find<QPushButton>(dialog, "Button_ok"), Qt::LeftButton);
  EXPECT_EQ(ScreenGraphicsSettings.ColorTable[3], RgbColour(10, 20, 30));
  EXPECT_EQ(CadSettings.CadLayerLineWidths[4], 2);
}

TEST_F(ConfigFormTest, PrintoutFontFromTheButtonAndTheEdit) {
  ui::Tconfig dialog;
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  dialog.Pages()->setCurrentIndex(5);
  platform::FontChoice font;
  font.face = "DejaVu Sans Mono";
  font.size = 11;
  font.bold = true;
  dialogs_.Then(platform::ScriptedAnswer::Font(font));
  QTest::mouseDClick(Find<QLineEdit>(dialog, "Edit_font"), Qt::LeftButton);
  EXPECT_EQ(Find<QLineEdit>(dialog, "Edit_font")->text(), "DejaVu Sans Mono");
  EXPECT_EQ(Find<QLineEdit>(dialog, "Edit_fontsize")->text(), "11");
  EXPECT_EQ(dialog.findChild<QLabel*>("Label_hstyle")->text(), "bold");
  EXPECT_EQ(dialog.findChild<QLabel*>("Label_hstylecode")->text(), "(1)");
  QTest::mouseClick(Find<QPushButton>(dialog, "Button_ok"), Qt::LeftButton);
  EXPECT_EQ(PrinterGraphicsSettings.TextFontPrintout, "DejaVu Sans Mono");
  EXPECT_EQ(PrinterGraphicsSettings.TextStylePrintout, 1);
}

TEST_F(ConfigFormTest, VisibilityFollowsTheComboBoxes) {
  FrameStyle = 2;
  FrameVariant = 0;
  ui::Tconfig dialog;
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  dialog.Pages()->setCurrentIndex(8);
  EXPECT_FALSE(Find<QCheckBox>(dialog, "CheckBox_abc123")->isVisibleTo(&dialog));
  EXPECT_FALSE(Find<QCheckBox>(dialog, "CheckBox_zeichhead034")->isVisibleTo(&dialog));
  QComboBox* variant = Find<QComboBox>(dialog, "ComboBox_7200rand");
  variant->setCurrentIndex(1);
  emit variant->activated(1);
  EXPECT_TRUE(Find<QCheckBox>(dialog, "CheckBox_abc123")->isVisibleTo(&dialog));
  QComboBox* head = Find<QComboBox>(dialog, "ComboBox_zeichnkopf");
  head->setCurrentIndex(3);
  emit head->activated(3);
  EXPECT_TRUE(Find<QCheckBox>(dialog, "CheckBox_zeichhead034")->isVisibleTo(&dialog));
  EXPECT_EQ(variant->currentIndex(), 0);
  EXPECT_FALSE(Find<QCheckBox>(dialog, "CheckBox_abc123")->isVisibleTo(&dialog));
}

}  // namespace
