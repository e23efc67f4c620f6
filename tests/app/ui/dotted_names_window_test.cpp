// A design whose name has dots of its own ("pump.v1") in the window, worked
// as a user works it, every key and click through the window system: File >
// Save, File > Save As with the name the dialog offers, the question when
// the window closes, and a DXF file from the CAD menu under the name its
// dialog offers. Each name the window offers, it accepts.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <filesystem>
#include <functional>
#include <string>

#include "app/data_file.h"
#include "app/entry_points.h"
#include "app/ui/main_window_form.h"
#include "calc/calc_records.h"
#include "common/kaldvar.h"
#include "drawing/cad/cad_device.h"
#include "platform/qt/qt_user_dialogs.h"
#include "support/app_start.h"
#include "support/file_test_support.h"
#include "support/modal_dialogs.h"

namespace fs = std::filesystem;

namespace {

int argc = 1;
char arg0[] = "dotted_names_window_test";
char* argv[] = {arg0, nullptr};

class DottedNamesWindow : public ::testing::Test {
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
    common::CadDirectory = dir_.Dir().string();
    common::LanguageCode = 0;
    common::RecentFiles = {};
    fs::copy_file(dir_.Path("null.vb4"), dir_.Path("pump.v1.vb4"));
    // The design as File > Open leaves it.
    common::MessagesEnabled = 1;
    app::ReadDataFile(dir_.Path("pump.v1.vb4"));
    ASSERT_EQ(common::AbortFlag, 0);
    common::CurrentFileName = "pump.v1";
    common::DataDirectory = dir_.Dir().string();
    common::DataChanged = 0;
  }
  void TearDown() override {
    app::ResetEntryPoints();
    common::CurrentFileName.clear();
    common::DataDirectory.clear();
    fs::current_path(previous_);
  }

  // A change of the design that its file shows: the ellipse's half axis.
  static void Change(Real a) {
    calc::EllipseCurve.a = a;
    common::DataChanged = 1;
  }
  // The half axis the file holds, read back.
  Real SavedHalfAxis(const std::string& name) {
    const Real kept = calc::EllipseCurve.a;
    common::MessagesEnabled = 0;
    app::ReadDataFile(dir_.Path(name));
    common::MessagesEnabled = 1;
    const Real saved = common::AbortFlag ? -1 : calc::EllipseCurve.a;
    calc::EllipseCurve.a = kept;
    common::AbortFlag = 0;
    return saved;
  }

  testsupport::ScratchDirectory dir_{"dotted_names_window"};
  fs::path previous_;
  platform::qt::QtUserDialogs dialogs_;
  platform::ScopedDialogs scoped_{dialogs_};
};

// Enter on the modal window that is shown next (a question's Yes, a
// dialog's OK, a file dialog's offered name); then, if given, the next.
void EnterWhenShown(std::vector<std::string>* seen, std::function<void()> then = {}) {
  testsupport::WhenShown([seen, then](QWidget* modal) {
    // Keys go where the window system sends them: to the window it made
    // active.
    EXPECT_TRUE(QTest::qWaitForWindowActive(modal));
    seen->push_back(modal->metaObject()->className());
    if (auto* box = qobject_cast<QMessageBox*>(modal)) seen->back() += ": " + box->text().toStdString();
    QTest::keyClick(modal->windowHandle(), Qt::Key_Return);
    if (then) then();
  });
}

// The menu item clicked as a user clicks it: its menu's title in the menu
// bar, then the item in the menu that opened.
void ClickMenuItem(app::ui::Thh& window, QMenu* menu, QAction* item) {
  QMenuBar* bar = window.menuBar();
  const QPoint title = bar->mapTo(&window, bar->actionGeometry(menu->menuAction()).center());
  QTest::mouseClick(window.windowHandle(), Qt::LeftButton, Qt::NoModifier, title);
  ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible() && menu->windowHandle(); }));
  QTest::mouseClick(menu->windowHandle(), Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(item).center());
}

QMenu* MenuOf(app::ui::Thh& window, const std::string& name) {
  for (QMenu* menu : window.Menus())
    if (menu->objectName().toStdString() == name) return menu;
  return nullptr;
}

}  // namespace

TEST_F(DottedNamesWindow, SavedAndWrittenUnderTheNamesOffered) {
  app::ui::Thh window;
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  std::vector<std::string> seen;

  // File > Save (Ctrl+S): written over its own file at once.
  Change(61);
  QTest::keyClick(window.windowHandle(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(SavedHalfAxis("pump.v1.vb4"), 61);
  EXPECT_EQ(common::DataChanged, 0);

  // File > Save As: the dialog offers the design's whole name; taken as
  // offered, and Yes to writing over the file, it is saved there, and the
  // window's title names it.
  Change(62);
  EnterWhenShown(&seen, [&seen] { EnterWhenShown(&seen); });
  QMenu* file = MenuOf(window, "mi_file");
  ASSERT_NE(file, nullptr);
  ClickMenuItem(window, file, window.Action("mi_FileSaveAs"));
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], "QFileDialog");
  EXPECT_EQ(seen[1], "QMessageBox: " + dir_.Path("pump.v1.vb4") + " already exists.   overwrite ?");
  EXPECT_EQ(SavedHalfAxis("pump.v1.vb4"), 62);
  EXPECT_EQ(common::CurrentFileName, "pump.v1");
  EXPECT_TRUE(window.windowTitle().endsWith("pump.v1.vb4")) << window.windowTitle().toStdString();

  // CAD > Gear wheels as DXF: the device, then the file the dialog offers.
  drawing::CadDevice = drawing::CadDeviceDxf;
  seen.clear();
  EnterWhenShown(&seen, [&seen] { EnterWhenShown(&seen); });
  QMenu* cad = MenuOf(window, "mi_CAD");
  ASSERT_NE(cad, nullptr);
  ClickMenuItem(window, cad, window.Action("mi_cadZahnraeder"));
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1], "QFileDialog");
  ASSERT_TRUE(fs::exists(dir_.Path("pump.v1.dxf")));
  EXPECT_EQ(testsupport::Slurp(dir_.Path("pump.v1.dxf")).substr(0, 20), "  0\r\nSECTION\r\n  2\r\nH");

  // Closing a changed design: the question names its file, and Yes saves it
  // there and closes the window.
  Change(63);
  seen.clear();
  EnterWhenShown(&seen);
  window.windowHandle()->close();
  ASSERT_TRUE(QTest::qWaitFor([&window] { return !window.isVisible(); }, 5000));
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_NE(seen[0].find("Save file (" + dir_.Path("pump.v1.vb4") + ") ?"), std::string::npos) << seen[0];
  EXPECT_EQ(SavedHalfAxis("pump.v1.vb4"), 63);

  // No other file was made beside them: no "pump.vb4", no "pump.dxf".
  EXPECT_FALSE(fs::exists(dir_.Path("pump.vb4")));
  EXPECT_FALSE(fs::exists(dir_.Path("pump.dxf")));
}
