// The Help menu's information windows offscreen: the system information
// fills its text box from given facts, the about window shows its labels,
// and each leaves the user's picture with its zoom as it was.
#include "app/help/ui/information_windows.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "common/graphics_facade.h"
#include "common/kaldvar.h"

namespace {

int argc = 1;
char arg0[] = "information_windows_test";
char* argv[] = {arg0, nullptr};

class InformationWindowsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!QApplication::instance()) new QApplication(argc, argv);
  }
  void SetUp() override {
    common::SetKaldvarDefaults();
    common::SetProgramIdentity();
  }
};

TEST_F(InformationWindowsTest, ShowTheirTextsAndLeaveThePicture) {
  // The user's picture, zoomed in.
  common::ClearGraphics();
  common::GraphHeader(0, 0, 160, 120);
  common::GraphColor(12);
  common::GraphLine(10, 10, 150, 110);
  common::FKaldgra.processKey(107);
  const std::vector<std::string> picture = common::DisplayList;
  const int zoomLeft = common::ScreenGraphicsSettings.ZoomLeft;
  const Real scale = common::GraphWindowState.ScaleX;
  {
    app::ui::TSysinfo info;
    EXPECT_NE(common::DisplayList, picture) << "the logo while it is open";
    app::SysInfoFacts facts;
    facts.computerName = "bench";
    facts.ipAddresses = {"10.1.2.3"};
    info.FormActivate(facts);
    const QString text = info.Memo1()->toPlainText();
    EXPECT_TRUE(text.startsWith("PC Name     : bench\n"));
    EXPECT_TRUE(text.endsWith("IP-Adress:\n10.1.2.3"));
    EXPECT_EQ(info.windowTitle(), "VOB4 System Info");
    QTimer::singleShot(0, &info, [&] { info.OKButton()->click(); });
    EXPECT_EQ(info.exec(), QDialog::Accepted);
  }
  // Closed: the picture as it was, with its zoom.
  EXPECT_EQ(common::DisplayList, picture);
  EXPECT_EQ(common::ScreenGraphicsSettings.ZoomLeft, zoomLeft);
  EXPECT_EQ(common::GraphWindowState.ScaleX, scale);

  {
    app::ui::TAboutBox about;
    EXPECT_EQ(about.windowTitle(), "VOB4");
    EXPECT_TRUE(about.Label("ProductName")->text().startsWith("Version 5.2 for "));
    EXPECT_FALSE(about.Label("ProductName")->text().contains("Windows"));
    EXPECT_EQ(about.Label("Label_title")->text(), "VOB4 - Razivudo Redo Zavaz");
    EXPECT_TRUE(about.Label("Label_fileversion")->text().startsWith("File Version : 5.2"));
    EXPECT_FALSE(about.Label("Label_fileversion")->text().contains(".exe"));
    QTimer::singleShot(0, &about, [&] { about.accept(); });
    about.exec();
  }
  EXPECT_EQ(common::DisplayList, picture);
  EXPECT_EQ(common::GraphWindowState.ScaleX, scale);
}

}  // namespace
