// The main window offscreen: its menu bar built from the menu model in the
// chosen language, the message item after a clean calculation, the view
// items on the default design, closing with the session file, and the
// formula-piece dialogs driven by their buttons.
#include "app/ui/main_window_form.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "app/entry_points.h"
#include "app/main_menu.h"
#include "app/main_window.h"
#include "app/inputs/design_input_views.h"
#include "app/inputs/pitch_curve_input.h"
#include "app/start_up.h"
#include "app/inputs/ui/design_input_dialogs.h"
#include "app/inputs/ui/formula_dialogs.h"
#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "calc/spur_gear_data.h"
#include "common/graphics_facade.h"
#include "common/ui/graphics_view.h"
#include "common/kaldvar.h"
#include "common/message_explanations.h"
#include "common/message_list.h"
#include "common/session_file.h"
#include "drawing/cad/cad_output.h"
#include "platform/screen.h"
#include "platform/scripted_dialogs.h"
#include "support/app_start.h"
#include "support/file_test_support.h"
#include "support/modal_dialogs.h"

namespace fs = std::filesystem;
using platform::AskedDialog;
using platform::ScriptedAnswer;

using testsupport::WhenShown;

namespace {

int argc = 1;
char arg0[] = "main_window_form_test";
char* argv[] = {arg0, nullptr};

QPushButton* Button(QWidget* dialog, const char* name) { return dialog->findChild<QPushButton*>(name); }

class MainWindowFormTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!QApplication::instance()) new QApplication(argc, argv);
  }
  void SetUp() override {
    previous_ = testsupport::EnterWithDefaultDesign(dir_);
    testsupport::StartProgram();
    common::ConfigDirectory = dir_.Dir().string();
    common::TempDirectory = dir_.Dir().string();
    common::LanguageCode = 0;
    common::RecentFiles = {};
  }
  void TearDown() override {
    app::SetPitchCurveViews(nullptr);
    app::ResetEntryPoints();
    fs::current_path(previous_);
  }
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const AskedDialog& d : dialogs_.Asked())
      if (d.kind == AskedDialog::Kind::Message) texts.push_back(d.text);
    return texts;
  }

  testsupport::ScratchDirectory dir_{"main_window_form"};
  fs::path previous_;
  platform::ScriptedDialogs dialogs_;
  platform::ScopedDialogs scoped_{dialogs_};
};

}  // namespace

TEST_F(MainWindowFormTest, MenuBarInTheChosenLanguage) {
  app::ui::Thh window;
  const QList<QMenu*> menus = window.Menus();
  ASSERT_EQ(menus.size(), 9);
  EXPECT_EQ(menus[0]->title(), "&File");
  EXPECT_EQ(menus[8]->title(), "&Help");
  EXPECT_EQ(window.Action("mi_fileNew")->shortcut(), QKeySequence("Ctrl+N"));
  EXPECT_EQ(window.Action("mi_fileprint")->shortcut(), QKeySequence("Ctrl+P"));
  EXPECT_TRUE(window.windowTitle().startsWith(QString::fromStdString(common::ProgramTitle)));
  // Every item stands with its caption; the recent-file items wait for files.
  for (const app::TMenuItem& item : app::MainMenu1()) {
    if (item.parent.empty() || item.separator) continue;
    QAction* action = window.Action(item.name);
    ASSERT_NE(action, nullptr) << item.name;
    EXPECT_EQ(action->isVisible(), item.visible) << item.name;
    if (item.visible) {
      EXPECT_FALSE(action->text().isEmpty()) << item.name;
    }
  }
  EXPECT_FALSE(window.Action("mi_file1")->isVisible());

  window.Action("mi_helplanguageDeutsch")->trigger();
  EXPECT_EQ(menus[0]->title(), "&Datei");
  EXPECT_EQ(window.Action("mi_fileexit")->text(), "&Beenden");
  window.Action("mi_helplanguageChinese")->trigger();
  EXPECT_EQ(menus[0]->title(), QString::fromUtf8("文件(&F)"));
}

namespace {

// A text as the menu bar's font draws it.
QImage Drawn(const QString& text, const QFont& font) {
  QImage image(240, 48, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.drawText(QPoint(4, 36), text);
  return image;
}

int InkPixels(const QImage& image) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y).lightness() < 128;
  return n;
}

}  // namespace

// The Korean menu shows its letters: the captions of two menus of the same
// length are drawn differently (without a font for them every letter is the
// same empty box).
TEST_F(MainWindowFormTest, KoreanCaptionsShowTheirLetters) {
  app::ui::Thh window;
  window.Action("mi_helplanguageKorea")->trigger();
  const QList<QMenu*> menus = window.Menus();
  const QString file = menus[0]->title(), edit = menus[1]->title();
  ASSERT_EQ(file, QString::fromUtf8("파일(&F)"));
  ASSERT_EQ(edit, QString::fromUtf8("편집(&E)"));
  const QFont font = window.menuBar()->font();
  const QImage a = Drawn(QString::fromUtf8("파일"), font), b = Drawn(QString::fromUtf8("편집"), font);
  EXPECT_GT(InkPixels(a), 20);
  EXPECT_TRUE(a != b) << "both drawn as the same boxes: no font with Korean letters";
  // The menu item "&Gear wheels" in Chinese, too.
  const QImage c = Drawn(QString::fromUtf8("齿轮"), font), d = Drawn(QString::fromUtf8("曲线"), font);
  EXPECT_TRUE(c != d) << "no font with Chinese letters";
}

TEST_F(MainWindowFormTest, MessageItemAndViewItemsOnTheDefaultDesign) {
  app::ui::Thh window;
  // Entry points that draw: each view item puts its picture on the screen.
  int pictures = 0;
  app::Entry().DrawGears = [&](int, int) {
    common::ClearGraphics();
    common::GraphLine(0, 0, 1, 1);
    ++pictures;
  };
  app::Entry().ShowDiagrams = app::Entry().DrawQuickSheet = [&](int, int) { ++pictures; };

  calc::SpurGearData.P = 30;  // above the line-load floor: no message
  window.Click("mi_editwaelzkurve");  // the curve choice cancelled: nothing changes
  calc::CalcNoncircularPair();
  app::UpdateMessageMenu();
  window.SyncMenus();
  EXPECT_EQ(common::MsgCount, 0);
  EXPECT_EQ(window.Action("mi_helpErrorMessages")->text(), "&Error messages (0)");
  EXPECT_FALSE(window.Action("mi_helpErrorMessages")->isEnabled());

  dialogs_.ClearRecord();
  for (const char* item : {"mi_viewquick1", "mi_viewquick2", "mi_viewquick3", "mi_viewquick4", "mi_viewTeilkurven",
                           "mi_viewTeilkurvenxy", "mi_viewZahnraeder", "mi_viewDiagsva", "mi_viewDiagDrehwinkel",
                           "mi_viewDiagUebersetzung", "mi_viewDiagUeberslog", "mi_viewDiagGeschw",
                           "mi_viewDiagBeschleunig", "mi_viewsicherheit"})
    window.Action(item)->trigger();
  EXPECT_EQ(pictures, 14);
  EXPECT_TRUE(Messages().empty());
  calc::NcPair.ModuleMode = 1;
  window.Action("mi_viewzahnstange")->trigger();
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], "mn <> const !");
}

// The message count of the Help menu follows every change of the list: a
// refused solid file adds its reason outside any calculation, and a text
// added while no menu was touched shows too. The menu is opened as the user
// opens it, with a click into the menu bar, and closed with Escape.
TEST_F(MainWindowFormTest, MessageCountFollowsEveryChangeOfTheList) {
  app::ui::Thh window;
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  calc::SpurGearData.FaceWidth = 1e-6L;
  calc::SpurGearData.GearFaceWidth.fill(1e-6L);
  calc::CalcNoncircularPair();
  app::UpdateMessageMenu();
  window.SyncMenus();
  const int before = common::MsgCount;
  // The count the Help menu shows when it opens.
  auto shownCount = [&window]() -> int {
    QMenuBar* bar = window.menuBar();
    QMenu* help = window.Menus().back();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(help->menuAction()).center());
    for (int i = 0; i < 200 && !help->isVisible(); ++i) QTest::qWait(5);
    EXPECT_TRUE(help->isVisible());
    const QString text = window.Action("mi_helpErrorMessages")->text();
    QTest::keyClick(help, Qt::Key_Escape);
    for (int i = 0; i < 200 && help->isVisible(); ++i) QTest::qWait(5);
    const QRegularExpressionMatch m = QRegularExpression(R"(\((\d+)\)$)").match(text);
    EXPECT_TRUE(m.hasMatch()) << text.toStdString();
    return m.captured(1).toInt();
  };
  EXPECT_EQ(shownCount(), before);

  dialogs_.Then(ScriptedAnswer::File(dir_.Path("gear1.stl")));
  window.Action("mi_stlrad1")->trigger();
  ASSERT_EQ(common::MsgCount, before + 1);
  // The answer to the request heads the list.
  EXPECT_EQ(common::MsgText[1], "Error  : " + drawing::TooThinForSolidText("STL"));
  EXPECT_FALSE(fs::exists(dir_.Path("gear1.stl")));
  // Its explanation is found, as the list looks it up.
  common::PltDirectory = std::string(VOB_SOURCE_DIR) + "/resources";
  const std::string origin = common::GetMessageHelpText(1);
  EXPECT_NE(origin.find("below 0.0001 mm"), std::string::npos) << origin;
  EXPECT_EQ(shownCount(), before + 1);
  EXPECT_TRUE(window.Action("mi_helpErrorMessages")->isEnabled());

  common::AddErrorMessage("Warning: DBF record #9 not found, the last record taken");
  EXPECT_EQ(shownCount(), before + 2);
}

// The rotation-angle window opens beside the gear pair it turns, not over
// gear 1's teeth (the left half of the picture).
TEST_F(MainWindowFormTest, RotationWindowOpensBesideThePicture) {
  app::ui::QtDesignInputViews views;
  app::SetDesignInputViews(&views);
  app::ui::Thh window;
  window.show();
  QApplication::processEvents();
  bool shown = false;
  WhenShown([&](QWidget* rotation) {
    shown = true;
    QApplication::processEvents();
    const QRect picture = window.View()->PictureRect();
    ASSERT_GT(picture.width(), 100);
    const QRect gear1(window.View()->mapToGlobal(picture.topLeft()), QSize(picture.width() / 2, picture.height()));
    EXPECT_FALSE(rotation->frameGeometry().intersects(gear1))
        << "window " << rotation->frameGeometry().x() << "," << rotation->frameGeometry().y() << " "
        << rotation->frameGeometry().width() << "x" << rotation->frameGeometry().height() << "; gear 1 "
        << gear1.x() << "," << gear1.y() << " " << gear1.width() << "x" << gear1.height();
    QTest::mouseClick(Button(rotation, "Button_close"), Qt::LeftButton);
  });
  window.Click("mi_viewzahnraederphi1");
  EXPECT_TRUE(shown);
  app::SetDesignInputViews(nullptr);
}

TEST_F(MainWindowFormTest, ClosingWritesTheSessionFile) {
  common::DataDirectory = dir_.Dir().string();
  app::AddRecentFile("design");
  {
    app::ui::Thh window;
    window.show();
    EXPECT_TRUE(window.Action("mi_file1")->isVisible());
    common::DataChanged = 1;
    // An unnamed changed design: Cancel keeps the window, and so does Save
    // with the file dialog cancelled; No discards the changes and closes.
    dialogs_.Then(ScriptedAnswer::Press(platform::DialogButton::Cancel));
    window.Action("mi_fileexit")->trigger();
    EXPECT_TRUE(window.isVisible());
    dialogs_.Then(ScriptedAnswer::Press(platform::DialogButton::Yes)).Then(ScriptedAnswer::Cancel());
    window.Action("mi_fileexit")->trigger();
    EXPECT_TRUE(window.isVisible());
    dialogs_.Then(ScriptedAnswer::Press(platform::DialogButton::No));
    window.Action("mi_fileexit")->trigger();
    EXPECT_FALSE(window.isVisible());
  }
  const std::string session = testsupport::Slurp(common::SessionFilePath());
  EXPECT_NE(session.find(dir_.Path("design.vb4")), std::string::npos);
}

TEST_F(MainWindowFormTest, FormulaPiecesThroughTheDialogs) {
  app::ui::QtPitchCurveViews views;
  app::SetPitchCurveViews(&views);
  calc::PieceCount = 0;
  calc::FormulaPieces[0].EndAngle = 0;
  calc::FormulaPieces[1] = {0, ""};
  // The family "formula" is chosen; in the list "&New" opens the editor.
  dialogs_.Then(ScriptedAnswer::Choose(0));
  QString firstError, rangeError;
  int caret = -1;
  WhenShown([&](QWidget* list) {
    QTest::mouseClick(Button(list, "Button_new"), Qt::LeftButton);
    WhenShown([&](QWidget* editor) {
      auto* formula = editor->findChild<QLineEdit*>("Edit_formula");
      auto* endDeg = editor->findChild<QLineEdit*>("Edit_enddeg");
      auto* label = editor->findChild<QLabel*>("Label_error");
      formula->setText("100+*x");
      endDeg->setText("360");
      QTest::mouseClick(Button(editor, "Button_ok"), Qt::LeftButton);
      firstError = label->text();
      caret = formula->cursorPosition();
      formula->setText("100+10*cos(x)");
      endDeg->setText("0");
      QTest::mouseClick(Button(editor, "Button_ok"), Qt::LeftButton);
      rangeError = label->text();
      QTest::mouseClick(Button(editor, "Button_360"), Qt::LeftButton);
      EXPECT_EQ(editor->findChild<QLineEdit*>("Edit_endrad")->text(), "6.283185");
      QTest::mouseClick(Button(editor, "Button_ok"), Qt::LeftButton);
      WhenShown([](QWidget* again) {
        auto* items = again->findChild<QListWidget*>("ListBox1");
        EXPECT_EQ(items->count(), 1);
        QTest::mouseClick(Button(again, "Button_ok"), Qt::LeftButton);
      });
    });
  });
  app::ui::Thh window;
  window.Click("mi_editwaelzkurve");
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_TRUE(firstError.startsWith("Error  : formula: 100+*x (Pos. "));
  EXPECT_GT(caret, 0);
  EXPECT_EQ(rangeError, "Error  : 0 >= 0 !");
  EXPECT_EQ(calc::CurveType, calc::CurveFormula);
  ASSERT_EQ(calc::PieceCount, 1);
  EXPECT_EQ(calc::FormulaPieces[1].EndAngle, 360);
  EXPECT_EQ(common::DataChanged, 1);
  EXPECT_EQ(common::FatalFlag, 0);
  EXPECT_NEAR(static_cast<double>(calc::RadiusExtremes.r1max), 110, 0.1);
}

// Pixels drawn (not the background) in the picture under a rectangle of the
// screen.
int InkedPixelsUnder(const common::ui::GraphicsView& view, const QRect& onScreen) {
  const QImage image = view.ShownImage();
  const QRect area = QRect(view.mapFromGlobal(onScreen.topLeft()), onScreen.size()).intersected(image.rect());
  const QColor background = image.pixelColor(image.width() - 1, image.height() - 1);
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (image.pixelColor(x, y) != background) ++n;
  return n;
}

// The rotation-angle window hides none of the gear pair, its lines or its
// footer, on the screens of 1024 x 768, 1366 x 768 and 1600 x 900 with the
// main window as the program sizes it, and beside a tall narrow main window.
TEST_F(MainWindowFormTest, RotationWindowHidesNoneOfThePicture) {
  app::ui::QtDesignInputViews views;
  app::SetDesignInputViews(&views);
  struct Screen {
    int width, height;
    QSize window;  // empty: as the program sizes it for the screen
  };
  const Screen screens[] = {{1024, 768, {}}, {1366, 768, {}}, {1600, 900, {}}, {1600, 900, {600, 880}}};
  for (const Screen& s : screens) {
    const std::string label = std::to_string(s.width) + " x " + std::to_string(s.height) +
                              (s.window.isEmpty() ? "" : ", tall window");
    platform::SetScreenSizeQuery([s] { return platform::ScreenSize{s.width, s.height}; });
    common::HorizontalPixels = 0;
    common::VerticalPixels = 0;
    app::ui::Thh window;
    if (!s.window.isEmpty()) window.resize(s.window);
    window.show();
    QApplication::processEvents();
    const QRect screen(0, 0, s.width, s.height);
    bool shown = false;
    WhenShown([&](QWidget* shownWindow) {
      auto* rotation = static_cast<app::ui::TForm_vob4phi*>(shownWindow);
      shown = true;
      rotation->PlaceClearOfPicture(screen);
      const QRect frame = rotation->frameGeometry();
      EXPECT_TRUE(screen.contains(frame)) << label;
      common::ui::GraphicsView& view = *window.View();
      EXPECT_GT(InkedPixelsUnder(view, view.geometry().translated(view.mapToGlobal(QPoint(0, 0)) - view.pos())),
                5000)
          << label << ": a picture is drawn";
      EXPECT_EQ(InkedPixelsUnder(view, frame), 0)
          << label << ": window " << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
      QTest::mouseClick(Button(rotation, "Button_close"), Qt::LeftButton);
    });
    window.Click("mi_viewzahnraederphi1");
    EXPECT_TRUE(shown) << label;
  }
  platform::SetScreenSizeQuery(nullptr);
  app::SetDesignInputViews(nullptr);
}
