// The common Qt forms, offscreen: the report viewer (find, save, menu
// captions), printing a report into a PDF file from the report writer, the
// generic input/output form's controls and keys, the explanation form and
// the auxiliary-image list.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWindow>
#include <QToolButton>

#include <filesystem>
#include <regex>

#include "common/graphics_settings.h"
#include "common/kaldvar.h"
#include "common/menu_captions.h"
#include "common/message_list.h"
#include "common/online_form.h"
#include "common/report_writer.h"
#include "common/ui/aux_image_list_window.h"
#include "common/ui/message_help_form.h"
#include "common/ui/online_form_window.h"
#include "common/ui/qt_report_viewer.h"
#include "common/ui/report_printing.h"
#include "common/ui/report_viewer_window.h"
#include "platform/scripted_dialogs.h"
#include "support/file_test_support.h"

using namespace common;
using namespace common::ui;
using platform::ScriptedAnswer;
using testsupport::Slurp;

namespace {

void EnsureApplication() {
  static int argc = 1;
  static char name[] = "common_forms_test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  (void)app;
}

// Pages of a PDF file written by Qt.
int PdfPages(const std::string& pdf) {
  const std::regex page("/Type\\s*/Page[^s]");
  return static_cast<int>(std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), page), std::sregex_iterator()));
}

class CommonFormsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    SetKaldvarDefaults();
    SetWkaldvarDefaults();
    SetProgramIdentity();
    ResetMenuCaptions();
    ResetOnlineData();
    ClearErrorMessages();
    TempDirectory = dir_.Dir().string();
  }
  void TearDown() override {
    ResetMenuCaptions();
    ClearErrorMessages();
  }

  testsupport::ScratchDirectory dir_{"common_forms"};
  platform::ScriptedDialogs dialogs_;
  platform::ScopedDialogs scope_{dialogs_};
};

const platform::ReportDocument kReport{"VOB4    outwin.txt",
                                       {"first page alpha", "beta line", "\fsecond page beta", "gamma"}};

TEST_F(CommonFormsTest, ViewerFindsWrapsAndSaves) {
  SetMenuLanguage(2);
  ReportViewerWindow window(kReport);
  EXPECT_EQ(window.windowTitle(), "VOB4    outwin.txt");
  EXPECT_EQ(window.findChild<QMenu*>("mi_Datei")->title(), "&File");
  EXPECT_EQ(window.findChild<QMenu*>("mi_Edit")->title(), "&Edit");
  EXPECT_EQ(window.TextView()->toPlainText(), "first page alpha\nbeta line\nsecond page beta\ngamma");
  ASSERT_TRUE(window.FindText("beta"));
  EXPECT_EQ(window.TextView()->textCursor().blockNumber(), 1);
  ASSERT_TRUE(window.FindText("beta"));
  EXPECT_EQ(window.TextView()->textCursor().blockNumber(), 2);
  ASSERT_TRUE(window.FindText("beta"));  // wraps to the top
  EXPECT_EQ(window.TextView()->textCursor().blockNumber(), 1);
  EXPECT_EQ(window.TextView()->textCursor().selectedText(), "beta");
  EXPECT_FALSE(window.FindText("delta"));

  const std::string saved = dir_.Path("saved.txt");
  dialogs_.Then(ScriptedAnswer::File(saved));
  ASSERT_TRUE(window.SaveAs());
  EXPECT_EQ(Slurp(saved), "first page alpha\r\nbeta line\r\n\fsecond page beta\r\ngamma\r\n");
  EXPECT_FALSE(window.SaveAs());  // cancelled

  SetMenuLanguage(1);
  ReportViewerWindow german(kReport);
  EXPECT_EQ(german.findChild<QMenu*>("mi_Datei")->title(), "&Datei");
}

TEST_F(CommonFormsTest, ViewerKeepsItsWindowRectangle) {
  {
    ReportViewerWindow window(kReport);
    window.setGeometry(30, 50, 640, 400);
    window.reject();
  }
  EXPECT_EQ(PrinterGraphicsSettings.TextWindow.Width, 640);
  EXPECT_EQ(PrinterGraphicsSettings.TextWindow.Height, 400);
}

TEST_F(CommonFormsTest, PrinterDevicesPrintIntoAPdfFile) {
  QtReportViewer viewer;
  const std::string pdf = dir_.Path("report.pdf");
  viewer.SetPdfOutput(QString::fromStdString(pdf));
  EXPECT_EQ(ReportPageCount(kReport), 2);
  ASSERT_TRUE(viewer.PrintReport(kReport, platform::ReportPrinter::PagePrinter));
  const std::string bytes = Slurp(pdf);
  ASSERT_EQ(bytes.substr(0, 5), "%PDF-");
  EXPECT_EQ(PdfPages(bytes), 2);
  ASSERT_TRUE(viewer.PrintReport(kReport, platform::ReportPrinter::TextPrinter));
  EXPECT_EQ(PdfPages(Slurp(pdf)), 2);

  // The report writer's page printer device end to end: 30 lines on pages
  // of 12 give several printed pages.
  platform::ScopedReportViewer installed(viewer);
  std::filesystem::remove(pdf);
  LinesPerPage = 12;
  CurrentFileName = "demo";
  InitReportWriter();
  BeginReport("", "Printer test", "", "", "", 0);
  SelectOutputDevice(ReportPrinter, "demo");
  ASSERT_EQ(AbortFlag, 0);
  WriteReportHeader(1, 2);
  for (int i = 1; i <= 30; ++i) WriteReportText("line " + std::to_string(i));
  ShowReportOutput();
  EXPECT_EQ(AbortFlag, 0);
  const std::string printed = Slurp(pdf);
  ASSERT_EQ(printed.substr(0, 5), "%PDF-");
  EXPECT_GE(PdfPages(printed), 3);
}

TEST_F(CommonFormsTest, PrintoutFontFollowsTheStyleCode) {
  const QFont font = FontFromStyleCode("Courier New", 11, 1 + 4);
  EXPECT_TRUE(font.bold());
  EXPECT_FALSE(font.italic());
  EXPECT_TRUE(font.underline());
  EXPECT_EQ(font.pointSize(), 11);
  EXPECT_FALSE(FontFromStyleCode("Courier New", 10, 16).bold());
}

TEST_F(CommonFormsTest, OnlineFormControlsTagsAndKeys) {
  OnlineBegin("Test form", 3, 1);
  for (int n = 1; n <= 3; ++n) {
    OnlineInputLabels[n] = "in" + std::to_string(n);
    OnlineInputValues[n] = std::to_string(n * 10);
  }
  OnlineOutputLabels[1] = "out";
  OnlineOutputValues[1] = "42";
  AddErrorMessage("Warning: check");
  OnlineFormWindow window(2, 4000);
  EXPECT_EQ(window.windowTitle(), "Test form");
  EXPECT_EQ(window.findChild<QLineEdit*>("ed_1")->property("tag").toInt(), 9);
  EXPECT_EQ(window.findChild<QWidget*>("lb_1")->property("tag").toInt(), 12);
  EXPECT_EQ(window.findChild<QWidget*>("lbeu_3")->property("tag").toInt(), 17);
  EXPECT_EQ(window.findChild<QWidget*>("lbaw_1")->property("tag").toInt(), 19);
  EXPECT_EQ(window.findChild<QWidget*>("lber_1")->property("tag").toInt(), 21);
  window.show();
  window.Edit(2)->setText("25");
  QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
  QApplication::sendEvent(window.Edit(2), &down);
  EXPECT_EQ(window.Result().exit, OnlineExit::ArrowDown);
  EXPECT_EQ(window.Result().row, 2);
  EXPECT_EQ(window.Result().edits[2], "25");
  EXPECT_FALSE(window.isVisible());

  SmallOnlineWindow = true;  // no outputs, no messages
  OnlineFormWindow small(1, 4000);
  EXPECT_EQ(small.findChild<QWidget*>("lbaw_1"), nullptr);
  EXPECT_EQ(small.findChild<QWidget*>("lber_1"), nullptr);
  small.show();
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(small.Edit(1), &escape);
  EXPECT_EQ(small.Result().exit, OnlineExit::Escape);
  SmallOnlineWindow = false;

  // The picture button is there while the focused row's entry has a
  // picture: row 1 is entry 5540 (the contact pattern), row 2 entry 5545
  // (none).
  PltDirectory = std::string(VOB_SOURCE_DIR) + "/resources";
  OnlineFormWindow pictures(1, 5540);
  auto* picture = pictures.findChild<QPushButton*>("Button_image");
  ASSERT_NE(picture, nullptr);
  EXPECT_FALSE(picture->isHidden());
  QFocusEvent focus(QEvent::FocusIn);
  QApplication::sendEvent(pictures.Edit(2), &focus);
  EXPECT_TRUE(picture->isHidden());
  QApplication::sendEvent(pictures.Edit(1), &focus);
  EXPECT_FALSE(picture->isHidden());
  OnlineEnd();
}

TEST_F(CommonFormsTest, ExplanationFormReportsChanges) {
  MessageHelpTexts shown;
  shown.message = "Warning: check";
  shown.origin = "why";
  shown.remedy = "what";
  int helpCalls = 0;
  shown.help = [&helpCalls](platform::HelpView) { ++helpCalls; };
  MessageHelpForm form(shown);
  form.show();
  EXPECT_FALSE(form.Result().changed);
  form.findChild<QPushButton*>("Button_help")->click();
  EXPECT_EQ(helpCalls, 1);
  form.RemedyMemo()->setPlainText("something else");
  const MessageHelpTexts left = form.Result();
  EXPECT_TRUE(left.changed);
  EXPECT_EQ(left.remedy, "something else");
  EXPECT_EQ(left.origin, "why");
  EXPECT_TRUE(form.findChild<QLineEdit*>("Edit_meldung")->isReadOnly());
}

TEST_F(CommonFormsTest, AuxImageListButtonsAndSpin) {
  const std::vector<std::string> entries = {"gear : a", "rack : b", "-----  Append  -----", "-----  Delete  -----",
                                            "-----  Edit  ------", "-----  Insert ------",
                                            "-----  Print/Plot HP-GL/2  ------"};
  {
    AuxImageListWindow window(entries, 2);
    EXPECT_EQ(window.List()->currentIndex(), 1);
    window.findChild<QPushButton*>("Button_new")->click();
    EXPECT_EQ(window.Step().kind, AuxImageStep::Kind::Choose);
    EXPECT_EQ(window.Step().index, 3);
  }
  {
    AuxImageListWindow window(entries, 1);
    window.findChild<QPushButton*>("Button_modify")->click();
    EXPECT_EQ(window.Step().index, 5);
  }
  {
    AuxImageListWindow window(entries, 1);
    window.findChild<QToolButton*>("SpinDown")->click();
    EXPECT_EQ(window.Step().kind, AuxImageStep::Kind::MoveDown);
    EXPECT_EQ(window.Step().index, 1);
  }
  {
    AuxImageListWindow window(entries, 1);
    window.findChild<QPushButton*>("Button_ok")->click();
    EXPECT_EQ(window.Step().kind, AuxImageStep::Kind::Leave);
  }
}

// The list opens where the user left it, each time at the same place (it
// does not creep by its frame's height).
TEST_F(CommonFormsTest, AuxImageListOpensWhereItWasLeft) {
  const std::vector<std::string> entries = {"gear : a", "-----  Append  -----", "-----  Delete  -----",
                                            "-----  Edit  ------", "-----  Insert ------",
                                            "-----  Print/Plot HP-GL/2  ------"};
  QPoint left;
  for (int time = 0; time < 4; ++time) {
    AuxImageListWindow window(entries, 1);
    window.show();
    QApplication::processEvents();
    if (time == 0) {
      // The user moves it.
      window.windowHandle()->setPosition(window.geometry().topLeft() + QPoint(30, 40));
      QApplication::processEvents();
      left = window.geometry().topLeft();
    } else {
      EXPECT_EQ(window.geometry().topLeft(), left) << "opening " << time + 1;
    }
    window.findChild<QPushButton*>("Button_ok")->click();
  }
}

}  // namespace
