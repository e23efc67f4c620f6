// The documentation windows offscreen: the change form reached through the
// change menu, filled and confirmed; the drawing-information form in its DIN
// and ISO shapes with its grids, date buttons and text-mode list; the
// document-links form with its start buttons.
#include "app/documentation/ui/documentation_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/documentation/change_records.h"
#include "app/documentation/document_links.h"
#include "app/entry_points.h"
#include "common/design_documentation.h"
#include "common/kaldvar.h"
#include "platform/program_start.h"
#include "support/report_test_support.h"

namespace {

int argc = 1;
char arg0[] = "documentation_dialogs_test";
char* argv[] = {arg0, nullptr};

// Runs action on the modal dialog as soon as it is shown.
void WhenShown(std::function<void(QWidget*)> action) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, action] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      timer->stop();
      timer->deleteLater();
      action(modal);
    }
  });
  timer->start(5);
}

void Click(QWidget* form, const char* name) {
  auto* button = form->findChild<QPushButton*>(name);
  ASSERT_NE(button, nullptr) << name;
  QTest::mouseClick(button, Qt::LeftButton);
}

void Type(QWidget* form, const char* name, const QString& text) {
  auto* edit = form->findChild<QLineEdit*>(name);
  ASSERT_NE(edit, nullptr) << name;
  edit->clear();
  // Key clicks know ASCII only; other characters arrive as typed text.
  bool ascii = true;
  for (QChar c : text) ascii = ascii && c.unicode() < 128;
  if (ascii)
    QTest::keyClicks(edit, text);
  else
    edit->insert(text);
}

class DocumentationDialogsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!QApplication::instance()) new QApplication(argc, argv);
  }
  DocumentationDialogsTest() : previous_(app::SetDocumentationViews(&views_)) {
    app::InitChangeRecords();
    app::InitDocumentLinks();
    app::ResetEntryPoints();
    common::FrameStyle = 0;
    common::AbortFlag = 0;
  }
  ~DocumentationDialogsTest() override { app::SetDocumentationViews(previous_); }

  testsupport::ReportTestEnvironment env_{"documentation_dialogs"};
  app::ui::QtDocumentationViews views_;
  app::DocumentationViews* previous_;
};

TEST_F(DocumentationDialogsTest, NewChangeThroughTheMenu) {
  bool shown = false;
  WhenShown([&](QWidget* form) {
    shown = true;
    EXPECT_EQ(form->windowTitle(), "Modification 1");
    Type(form, "Edit_aenderung", "bore changed to 20 H7 and more");
    Type(form, "Edit_bearbeiter", QString::fromUtf8("Jörg"));
    Type(form, "Edit_datum", "x");
    Click(form, "Button_datum");
    form->findChild<QPlainTextEdit*>("Memo_beschreibung")->setPlainText("line one\nline two");
    Click(form, "Button_ok");
  });
  app::Entry().ChangeListMenu(1);
  ASSERT_TRUE(shown);
  EXPECT_EQ(common::AbortFlag, 0);
  ASSERT_EQ(common::ChangeRecords.Count, 1);
  const common::TChangeRecord& record = common::ChangeRecords.Records[1];
  EXPECT_EQ(record.Modification, "bore changed to 20 H");  // the edit takes 20 characters
  EXPECT_EQ(record.Responsible, "J\x94rg");
  EXPECT_EQ(record.Date, "2026-03-07");
  EXPECT_EQ(record.Description, "line one\nline two");
  // The protocol followed on the screen.
  ASSERT_FALSE(env_.viewer.Recorded().empty());

  // Escape cancels; the record stays as it was.
  WhenShown([](QWidget* form) {
    Type(form, "Edit_aenderung", "other");
    QTest::keyClick(form, Qt::Key_Escape);
  });
  app::Entry().ChangeListMenu(2);
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(common::ChangeRecords.Records[1].Modification, "bore changed to 20 H");
}

TEST_F(DocumentationDialogsTest, DrawingInfoDinForm) {
  common::TitleBlock.Texts[common::TitleReplacementFor] = "NC-0001";
  common::TitleBlock.Texts[common::TitleSecondName] = "M\x81ller";
  app::ui::TForm_zeichInfo form;
  EXPECT_EQ(form.windowTitle(), "Info drawing DIN 6771");
  QTableWidget* title = form.TitleGrid();
  ASSERT_EQ(title->rowCount(), 4);
  EXPECT_EQ(title->item(1, 2)->text(), QString::fromUtf8("Müller"));
  EXPECT_FALSE(form.DocumentGrid()->isVisibleTo(&form));
  EXPECT_TRUE(form.findChild<QLineEdit*>("Edit_ersatzfuer")->isVisibleTo(&form));
  EXPECT_EQ(form.findChild<QLineEdit*>("Edit_ersatzfuer")->text(), "NC-0001");

  title->item(0, 2)->setText("Designer");
  title->item(3, 1)->setText("");
  Click(&form, "Button_datum4");
  EXPECT_EQ(title->item(3, 1)->text(), "2026-03-07");
  QTableWidget* free = form.FreeTextGrid();
  free->item(0, 0)->setText("100");
  free->item(0, 1)->setText("50,5");
  free->item(0, 2)->setText("3.5");
  free->item(0, 4)->setText("Free text");
  free->item(2, 4)->setText("after an empty row");
  form.TextModeList()->setCurrentIndex(3);
  EXPECT_FALSE(free->isVisibleTo(&form));
  form.TextModeList()->setCurrentIndex(2);
  EXPECT_TRUE(free->isVisibleTo(&form));
  // A height that is no number is refused: the cell shows its old value
  // (a new row's is empty), the rest stays as typed, the form stays open.
  free->item(0, 2)->setText("big");
  Click(&form, "Button_ok");
  EXPECT_NE(form.result(), QDialog::Accepted);
  EXPECT_EQ(free->item(0, 2)->text(), "");
  EXPECT_EQ(free->item(0, 0)->text(), "100");
  EXPECT_EQ(common::TitleBlock.Texts[common::TitleFirstName], "");
  free->item(0, 2)->setText("3.5");
  Click(&form, "Button_ok");
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_EQ(common::AbortFlag, 0);
  const auto& block = common::TitleBlock;
  EXPECT_EQ(block.Texts[common::TitleFirstName], "Designer");
  EXPECT_EQ(block.Texts[common::TitleSecondName], "M\x81ller");
  EXPECT_EQ(block.Texts[common::TitleFourthDate], "2026-03-07");
  ASSERT_EQ(block.FreeTextCount, 1);
  EXPECT_EQ(block.FreeTexts[1].x, 100);
  EXPECT_EQ(block.FreeTexts[1].y, 50.5L);
  EXPECT_EQ(block.FreeTexts[1].text, "Free text");
  EXPECT_EQ(block.TextMode, common::FreeTextsA4A3);
}

TEST_F(DocumentationDialogsTest, DrawingInfoIsoForm) {
  common::FrameStyle = 1;
  common::TitleBlock.Texts[common::TitleFourthName] = "Boss";
  bool shown = false;
  WhenShown([&](QWidget* widget) {
    shown = true;
    auto* form = qobject_cast<app::ui::TForm_zeichInfo*>(widget);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), "Info drawing ISO 7200");
    EXPECT_EQ(form->TitleGrid()->rowCount(), 3);
    EXPECT_FALSE(form->findChild<QPushButton*>("Button_datum1")->isVisibleTo(form));
    EXPECT_FALSE(form->findChild<QLineEdit*>("Edit_ersatzfuer")->isVisibleTo(form));
    QTableWidget* documents = form->DocumentGrid();
    EXPECT_TRUE(documents->isVisibleTo(form));
    EXPECT_EQ(documents->item(1, 0)->text(), "Document type");
    documents->item(1, 1)->setText("Part drawing");
    Click(form, "Button_ok");
  });
  app::Entry().ShowDrawingInfoForm();
  ASSERT_TRUE(shown);
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(common::TitleBlock.Texts[common::TitleDocumentType], "Part drawing");
  EXPECT_EQ(common::TitleBlock.Texts[common::TitleFourthName], "Boss");
}

TEST_F(DocumentationDialogsTest, DocumentLinksForm) {
  std::vector<std::string> started, opened;
  platform::ScopedCommandStarter starter([&](const std::string& line) {
    started.push_back(line);
    return platform::StartResult{};
  });
  platform::ScopedDocumentOpener opener([&](const std::string& path) {
    opened.push_back(path);
    return platform::StartResult{};
  });
  bool shown = false;
  WhenShown([&](QWidget* form) {
    shown = true;
    EXPECT_TRUE(form->windowTitle().startsWith("Document Links  -  "));
    EXPECT_EQ(form->findChild<QLineEdit*>("Edit_prog3")->text(), "xdg-open");
    Type(form, "Edit_prog2", "/usr/bin/editor");
    Type(form, "Edit_file2", "/home/user/gear.txt");
    Click(form, "Button2");
    Click(form, "Button2f");
    Click(form, "Button4");
    Click(form, "Button_ok");
  });
  app::Entry().ShowDocumentLinksForm();
  ASSERT_TRUE(shown);
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(started, (std::vector<std::string>{"/usr/bin/editor /home/user/gear.txt", "xdg-open "}));
  EXPECT_EQ(opened, (std::vector<std::string>{"/home/user/gear.txt"}));
  EXPECT_EQ(app::DocumentLinks[2].Program, "/usr/bin/editor");
  EXPECT_EQ(app::DocumentLinks[2].File, "/home/user/gear.txt");

  WhenShown([](QWidget* form) {
    Type(form, "Edit_file1", "changed");
    Click(form, "Button_cancel");
  });
  app::Entry().ShowDocumentLinksForm();
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(app::DocumentLinks[1].File, "");
}

}  // namespace
