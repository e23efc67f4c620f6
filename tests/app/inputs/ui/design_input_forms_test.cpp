// The material, strength and lubricant windows offscreen, driven through
// their widgets: edits typed, buttons clicked, OK or Escape, and the records
// checked afterwards.
#include "app/inputs/ui/design_input_forms.h"

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
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "app/data_file.h"
#include "app/design_extras.h"
#include "app/entry_points.h"
#include "app/inputs/lubricant_input.h"
#include "app/inputs/material_input.h"
#include "app/inputs/strength_input.h"
#include "app/start_up.h"
#include "calc/spur_gear_data.h"
#include "common/help_text.h"
#include "common/kaldvar.h"
#include "common/number_format.h"
#include "platform/scripted_dialogs.h"
#include "support/app_start.h"
#include "support/file_test_support.h"
#include "support/form_grabs.h"
#include "common/ui/picture_window.h"

namespace fs = std::filesystem;
using platform::ScriptedAnswer;

namespace {

int argc = 1;
char arg0[] = "design_input_forms_test";
char* argv[] = {arg0, nullptr};

// Runs action on the modal window of that name as soon as it is shown.
void WhenShown(const QString& name, std::function<void(QWidget*)> action) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, name, action] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal->objectName() == name && modal->isVisible()) {
      timer->stop();
      timer->deleteLater();
      action(modal);
    }
  });
  timer->start(5);
}

template <typename W>
W* Find(QWidget* window, const char* name) {
  W* w = window->findChild<W*>(name);
  EXPECT_NE(w, nullptr) << name;
  return w;
}

// A click as the user's (check boxes and radio buttons toggle, clicked is
// emitted), wherever the widget's hit area lies in its cell.
void Click(QWidget* window, const char* name) { Find<QAbstractButton>(window, name)->click(); }

void Type(QWidget* window, const char* name, const QString& text) {
  QLineEdit* edit = Find<QLineEdit>(window, name);
  edit->clear();
  QTest::keyClicks(edit, text);
}

class DesignInputFormsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!QApplication::instance()) new QApplication(argc, argv);
  }
  void SetUp() override {
    previous_ = testsupport::EnterWithDefaultDesign(dir_);
    calc::SpurGearData = calc::TSpurGearData{};
    testsupport::StartProgram();
    common::UnitSystem = common::UnitsMetric;
    common::HelpLevel = 0;
    app::ReadDataFile("null");
    app::SetDesignExtrasDefaults();
    app::SetLubricantDefaults();
    app::ui::InstallDesignInputForms();
  }
  void TearDown() override {
    app::ResetMaterialFormShower();
    app::ResetStrengthViews();
    app::ResetLubricantViews();
    app::ResetEntryPoints();
    fs::current_path(previous_);
  }

  testsupport::ScratchDirectory dir_{"design_input_forms"};
  fs::path previous_;
  platform::ScriptedDialogs dialogs_;
  platform::ScopedDialogs scoped_{dialogs_};
};

}  // namespace

// The material window shows every unit beside its value (the density's
// too, kg/dm3 in either unit system) and its texts whole in its own grab.
TEST_F(DesignInputFormsTest, MaterialWindowCopiesAndStoresOnOk) {
  WhenShown("Form_vobwst", [](QWidget* w) {
    EXPECT_EQ(Find<QLineEdit>(w, "Edit_sighlim1")->text(), "1500");
    EXPECT_EQ(Find<QLabel>(w, "Label_sighlimu1")->text(), "MPa");
    for (const char* unit : {"Label_rhou1", "Label_rhou2"}) EXPECT_EQ(Find<QLabel>(w, unit)->text(), "kg/dm3");
    testsupport::KeepGrab(w, "material");
    for (const std::string& c : testsupport::TextsNotWhole(w)) ADD_FAILURE() << c;
    Type(w, "Edit_sighlim1", "1100");
    Type(w, "Edit_name1", "18CrNiMo7-6");
    Find<QComboBox>(w, "ComboBox_wstyp1")->setCurrentIndex(2);
    Click(w, "Button_12");
    EXPECT_EQ(Find<QLineEdit>(w, "Edit_sighlim2")->text(), "1100");
    EXPECT_EQ(Find<QComboBox>(w, "ComboBox_wstyp2")->currentIndex(), 2);
    Click(w, "Button_metric");  // imperial, values kept
    EXPECT_EQ(Find<QLabel>(w, "Label_sighlimu2")->text(), "psi");
    EXPECT_EQ(Find<QLabel>(w, "Label_rhou2")->text(), "kg/dm3");
    Click(w, "Button_metric");
    Click(w, "Button_ok");
  });
  app::ShowMaterialForm();
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(common::UnitSystem, common::UnitsMetric);
  for (int g = 1; g <= 2; ++g) {
    EXPECT_NEAR(static_cast<double>(calc::SpurGearData.SigmaHlim[g]), 1100, 0.01) << g;
    EXPECT_EQ(calc::SpurGearData.MaterialType[g], 3) << g;
    EXPECT_EQ(app::MaterialName[g], "18CrNiMo7-6") << g;
  }

  // Escape cancels and stores nothing.
  WhenShown("Form_vobwst", [](QWidget* w) {
    Type(w, "Edit_sighlim2", "900");
    QTest::keyClick(w, Qt::Key_Escape);
  });
  app::ShowMaterialForm();
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_NEAR(static_cast<double>(calc::SpurGearData.SigmaHlim[2]), 1100, 0.01);
}

TEST_F(DesignInputFormsTest, StrengthPagesOneAndTwo) {
  dialogs_.Then(ScriptedAnswer::Choose(0));
  WhenShown("Form_vob1fest1", [](QWidget* w) {
    EXPECT_TRUE(Find<QLineEdit>(w, "Edit_znt1")->isHidden());
    Type(w, "Edit_di2", "99");
    Click(w, "Button_rzz0");
    EXPECT_EQ(Find<QLineEdit>(w, "Edit_rzz2")->text(), "2.5");
    Click(w, "RadioButton_life1");
    EXPECT_FALSE(Find<QLineEdit>(w, "Edit_znt1")->isHidden());
    Type(w, "Edit_znt1", "0.85");
    Find<QCheckBox>(w, "CheckBox_doppel")->setChecked(true);
    WhenShown("Form_vob1fest2", [](QWidget* p2) {
      EXPECT_FALSE(Find<QGroupBox>(p2, "GroupBox_bearing")->isHidden());
      EXPECT_FALSE(Find<QLineEdit>(p2, "Edit_fsh")->isEnabled());
      Click(p2, "CheckBox_fsh");
      EXPECT_TRUE(Find<QGroupBox>(p2, "GroupBox_bearing")->isHidden());
      EXPECT_TRUE(Find<QLineEdit>(p2, "Edit_dsh")->isHidden());
      Type(p2, "Edit_fsh", "12");
      Find<QComboBox>(p2, "ComboBox_bi443")->setCurrentIndex(2);
      Click(p2, "Button_ok");
    });
    Click(w, "Button_ok");
  });
  app::InputStrengthData();
  EXPECT_EQ(common::AbortFlag, 0);
  const auto& s = calc::SpurGearData;
  EXPECT_EQ(s.CalcMethod, 1);
  EXPECT_EQ(s.BodyInnerDiameter[2], 99);
  EXPECT_NEAR(static_cast<double>(s.RzFlank[1]), 2.5, 1e-12);
  EXPECT_EQ(s.LifeFactorsInput, 1);
  EXPECT_NEAR(static_cast<double>(s.ZNTInput[1]), 0.85, 1e-12);
  EXPECT_EQ(s.DoubleHelicalAnswer, 'J');
  EXPECT_TRUE(s.FshInput);
  EXPECT_EQ(s.fsh, 12);
  EXPECT_EQ(s.BearingArrangement, 3);
}

TEST_F(DesignInputFormsTest, SinglePageFollowsTheMethod) {
  WhenShown("Form_vob1fs0", [](QWidget* w) {
    auto* method = Find<QComboBox>(w, "ComboBox_method");
    method->setCurrentIndex(1);  // DIN 3990-41: no page 2
    EXPECT_TRUE(Find<QGroupBox>(w, "GroupBox_page2")->isHidden());
    EXPECT_FALSE(Find<QGroupBox>(w, "GroupBox_page1")->isHidden());
    method->setCurrentIndex(3);  // ISO 6336
    EXPECT_FALSE(Find<QGroupBox>(w, "GroupBox_page2")->isHidden());
    EXPECT_TRUE(w->windowTitle().endsWith("ISO 6336:2006-2008"));
    Click(w, "Button_s1");
    EXPECT_EQ(Find<QLineEdit>(w, "Edit_s1")->text(), "0");
    Type(w, "Edit_kaf", "1.75");
    Click(w, "Button_kah");
    EXPECT_EQ(Find<QLineEdit>(w, "Edit_kah")->text(), "1");
    Click(w, "Button_ok");
  });
  app::ShowStrengthForm();
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(calc::SpurGearData.CalcMethod, 4);
  EXPECT_EQ(calc::SpurGearData.s1, 0);
  EXPECT_NEAR(static_cast<double>(calc::SpurGearData.KAF), 1.75, 1e-12);
  EXPECT_EQ(calc::SpurGearData.KAH, 1);
}

// The strength form as the user reads it with hints on: each hint is the
// help line of its own quantity (the life factors' hints not swapped), and
// every picture button shows a picture, none the "no picture" notice. The
// picture stands in a window of its own that the form does not hide (the
// main window behind the modal form would), with the picture drawn in it.
TEST_F(DesignInputFormsTest, StrengthHintsAreTheirOwnAndPictureButtonsShowPictures) {
  common::PltDirectory = std::string(VOB_SOURCE_DIR) + "/resources";
  common::HelpLevel = 1;
  const auto previousShower = common::SetHelpPictureShower(common::ui::ShowPictureOverModalForm);
  int pictureButtons = 0;
  WhenShown("Form_vob1fs0", [this, &pictureButtons](QWidget* w) {
    Find<QComboBox>(w, "ComboBox_method")->setCurrentIndex(3);  // ISO 6336: both pages
    Click(w, "RadioButton_life1");                                // the life factors shown
    // A hint names the symbol its caption ends with, or its caption's
    // first word; the life factors name only their own.
    int hints = 0;
    for (QWidget* widget : w->findChildren<QWidget*>()) {
      const QString hint = widget->toolTip();
      if (hint.isEmpty()) continue;
      QString caption;
      if (auto* label = qobject_cast<QLabel*>(widget)) caption = label->text();
      if (auto* button = qobject_cast<QAbstractButton*>(widget)) caption = button->text();
      caption = caption.remove('&').remove('?').simplified();
      if (caption.isEmpty()) continue;
      ++hints;
      const std::string text = hint.toStdString();
      // The word stands in the hint on its own (not inside another word).
      auto names = [&hint](const QString& word) {
        const QString h = hint.toLower(), wd = word.toLower();
        for (qsizetype at = h.indexOf(wd); at >= 0; at = h.indexOf(wd, at + 1)) {
          const qsizetype end = at + wd.size();
          if ((at == 0 || !h[at - 1].isLetterOrNumber()) && (end == h.size() || !h[end].isLetterOrNumber()))
            return true;
        }
        return false;
      };
      const QStringList words = caption.split(QRegularExpression("[ /]"), Qt::SkipEmptyParts);
      EXPECT_TRUE(names(words.last()) || names(words.first()))
          << widget->objectName().toStdString() << " \"" << caption.toStdString() << "\": " << text;
    }
    EXPECT_GE(hints, 25);
    const std::string znt = Find<QLabel>(w, "Label_znt")->toolTip().toStdString();
    const std::string ynt = Find<QLabel>(w, "Label_ynt")->toolTip().toStdString();
    EXPECT_NE(znt.find("ZNT"), std::string::npos) << znt;
    EXPECT_EQ(znt.find("YNT"), std::string::npos) << znt;
    EXPECT_NE(ynt.find("YNT"), std::string::npos) << ynt;
    EXPECT_EQ(ynt.find("ZNT"), std::string::npos) << ynt;

    // Every picture button draws a picture and says nothing.
    for (QPushButton* button : w->findChildren<QPushButton*>()) {
      if (!button->objectName().startsWith("Button_image")) continue;
      ++pictureButtons;
      dialogs_.ClearRecord();
      testsupport::ClickAsUser(button);
      for (const auto& asked : dialogs_.Asked())
        ADD_FAILURE() << button->objectName().toStdString() << " shows \"" << asked.text << "\"";
      auto* picture = w->findChild<common::ui::TForm_picture*>("Form_picture");
      ASSERT_NE(picture, nullptr) << button->objectName().toStdString();
      EXPECT_TRUE(picture->isVisible());
      EXPECT_FALSE(picture->isModal());
      const QRect screen = w->screen()->availableGeometry();
      EXPECT_TRUE(screen.contains(picture->frameGeometry())) << "the picture window stands on the screen: " << picture->frameGeometry().x() << "," << picture->frameGeometry().y() << " " << picture->frameGeometry().width() << "x" << picture->frameGeometry().height() << " screen " << screen.width() << "x" << screen.height();
      // Beside the form where the screen has room; else over it (above it,
      // as its own window), but not over the button that asked for it.
      if (screen.width() - w->frameGeometry().width() > picture->frameGeometry().width() + 20) {
        EXPECT_FALSE(picture->frameGeometry().intersects(w->frameGeometry()));
      }
      EXPECT_FALSE(picture->frameGeometry().contains(button->mapToGlobal(button->rect().center())));
      const QImage shown = picture->findChild<QLabel*>("Label_picture")->pixmap().toImage();
      ASSERT_FALSE(shown.isNull());
      EXPECT_GT(testsupport::InkPixels(shown, shown.rect()), shown.width() * 2) << "a picture is drawn in it";
      testsupport::KeepGrab(picture, "picture_" + button->objectName().toStdString());
    }
    // The form works on while the picture stands; its button closes it.
    Type(w, "Edit_kah", "1.25");
    auto* picture = w->findChild<common::ui::TForm_picture*>("Form_picture");
    ASSERT_NE(picture, nullptr);
    testsupport::ClickAsUser(picture->findChild<QPushButton*>("Button_close"));
    EXPECT_EQ(w->findChild<common::ui::TForm_picture*>("Form_picture"), nullptr);
    Click(w, "Button_cancel");
  });
  app::ShowStrengthForm();
  common::SetHelpPictureShower(previousShower);
  // The contact pattern and the bearing arrangement have their pictures;
  // the quantities without a picture have no button.
  EXPECT_EQ(pictureButtons, 2);
}

// The strength form as the user reads it, in its own grabs: every label
// and radio caption whole on both pages, and the form grows when the life
// factors ZNT and YNT are shown, so that their rows are whole too; the
// same where the screen is 1024 x 768 pixels.
TEST_F(DesignInputFormsTest, StrengthFormShowsItsLabelsWholeAndGrowsWithTheLifeFactors) {
  WhenShown("Form_vob1fs0", [](QWidget* w) {
    Find<QComboBox>(w, "ComboBox_method")->setCurrentIndex(3);  // ISO 6336: both pages
    QApplication::processEvents();
    for (const std::string& c : testsupport::TextsNotWhole(w)) ADD_FAILURE() << "calculated life: " << c;
    testsupport::KeepGrab(w, "strength_life0");
    const QSize before = w->size();
    testsupport::ClickAsUser(Find<QRadioButton>(w, "RadioButton_life1"));
    ASSERT_TRUE(Find<QRadioButton>(w, "RadioButton_life1")->isChecked());
    ASSERT_FALSE(Find<QLineEdit>(w, "Edit_znt1")->isHidden());
    QApplication::processEvents();
    testsupport::KeepGrab(w, "strength_life1");
    EXPECT_GT(w->height(), before.height()) << "the form grows with the life factors";
    for (const std::string& c : testsupport::TextsNotWhole(w)) ADD_FAILURE() << "entered life factors: " << c;
    // On a screen of 1024 x 768 pixels.
    w->resize(std::min(w->width(), 1024), std::min(w->height(), 768));
    QApplication::processEvents();
    testsupport::KeepGrab(w, "strength_1024x768");
    EXPECT_LE(w->frameGeometry().width(), 1024);
    EXPECT_LE(w->frameGeometry().height(), 768);
    for (const std::string& c : testsupport::TextsNotWhole(w)) ADD_FAILURE() << "1024 x 768: " << c;
    testsupport::ClickAsUser(Find<QRadioButton>(w, "RadioButton_life0"));
    EXPECT_TRUE(Find<QLineEdit>(w, "Edit_znt1")->isHidden());
    Click(w, "Button_cancel");
  });
  app::ShowStrengthForm();
}

TEST_F(DesignInputFormsTest, LubricantWindowAndViscosityConverter) {
  WhenShown("Form_vob1visk", [](QWidget* w) {
    EXPECT_TRUE(Find<QLabel>(w, "Label_result")->text().isEmpty());
    Type(w, "Edit_nue100", "20");
    EXPECT_TRUE(Find<QLabel>(w, "Label_result")->text().startsWith("Lubricant viscosity at 80"));
    Type(w, "Edit_name", "ISO VG 150");
    Click(w, "Button_rho");
    EXPECT_EQ(Find<QLineEdit>(w, "Edit_rho")->text(), "0.9");
    Click(w, "Button_ok");
  });
  app::ShowLubricantForm();
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(app::Lubricant.Name, "ISO VG 150");
  EXPECT_EQ(app::Lubricant.Nu100, 20);

  app::TViscosityConverter converter = app::CreateViscosityConverter();
  WhenShown("Form_viskot", [](QWidget* w) {
    EXPECT_FALSE(Find<QLineEdit>(w, "Edit_nue40")->isEnabled());
    Click(w, "RadioButton_given1");
    EXPECT_FALSE(Find<QLineEdit>(w, "Edit_nue50")->isEnabled());
    Type(w, "Edit_nue40", "220");
    EXPECT_NE(Find<QLineEdit>(w, "Edit_nue50")->text(), "100");
    Type(w, "Edit_temp", "40");
    EXPECT_EQ(Find<QLabel>(w, "Label_nue")->text(), "Lubricant viscosity nue 40");
    EXPECT_EQ(Find<QLineEdit>(w, "Edit_nue")->text(), "220");
    Click(w, "Button_ok");
  });
  app::RunViscosityConverter(converter);
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(converter.Given, app::GivenNu40);
  EXPECT_EQ(converter.Nu40, "220");
  EXPECT_LT(common::TextToReal(converter.Nu50), 220);
}
