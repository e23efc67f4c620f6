// The printout dialog offscreen: it opens with the proposals for a drawing
// sheet, prints the picture of the graphics window onto a PDF file in the
// orientation chosen (with and without the border line), and cancels.
#include "app/printouts/ui/printout_config_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "common/graphics_settings.h"
#include "common/graphics_test_picture.h"
#include "common/graphics_window.h"
#include "common/kaldvar.h"
#include "common/ui/graphics_view.h"
#include "platform/scripted_dialogs.h"

namespace {

int argc = 1;
char arg0[] = "printout_config_dialog_test";
char* argv[] = {arg0, nullptr};

class PrintoutDialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!QApplication::instance()) new QApplication(argc, argv);
  }
  void SetUp() override {
    common::InitPrinterGraphicsSettings();
    common::WindowsPrintMode = 2;
    common::AbortFlag = 0;
    view_ = std::make_unique<common::ui::GraphicsView>();
    view_->resize(640, 480);
    common::DrawGraphicsTestPicture();
    view_->ReplayPending();
  }
  void TearDown() override { view_.reset(); }

  // Prints through the dialog onto a PDF file; the file's bytes.
  QByteArray PrintToPdf(const QString& name, bool landscape, bool border) {
    app::ui::TForm_printconf form;
    form.Printer().setOutputFormat(QPrinter::PdfFormat);
    form.Printer().setOutputFileName(dir_.filePath(name));
    form.findChild<QRadioButton*>(landscape ? "RadioGroup_hochquer1" : "RadioGroup_hochquer0")->setChecked(true);
    form.findChild<QCheckBox*>("CheckBox_umrandung")->setChecked(border);
    QTest::mouseClick(form.findChild<QPushButton*>("Button_ok"), Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_TRUE(form.Printed());
    QFile file(dir_.filePath(name));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
  }

  // Width and height of the first page.
  static QSizeF PageSize(const QByteArray& pdf) {
    const QRegularExpression box(R"(/MediaBox \[\s*([\d.]+)\s+([\d.]+)\s+([\d.]+)\s+([\d.]+)\s*\])");
    const QRegularExpressionMatch m = box.match(QString::fromLatin1(pdf));
    if (!m.hasMatch()) return {};
    return {m.captured(3).toDouble() - m.captured(1).toDouble(), m.captured(4).toDouble() - m.captured(2).toDouble()};
  }

  std::unique_ptr<common::ui::GraphicsView> view_;
  QTemporaryDir dir_;
};

TEST_F(PrintoutDialogTest, SheetProposalsAndPrintingToPdf) {
  common::PrintPictureKind = common::PictureSheet;
  common::PrinterGraphicsSettings.ScreendumpScale = 0.5;
  {
    app::ui::TForm_printconf form;
    EXPECT_EQ(form.windowTitle(), "Printout");
    EXPECT_EQ(form.findChild<QLineEdit*>("Edit_scalex")->text(), "1");
    EXPECT_EQ(form.findChild<QLineEdit*>("Edit_scaley")->text(), "1");
    EXPECT_EQ(form.findChild<QLineEdit*>("Edit_xorigin")->text(), "0");
    EXPECT_TRUE(form.findChild<QRadioButton*>("RadioGroup_hochquer0")->isChecked());
    EXPECT_TRUE(form.findChild<QRadioButton*>("RadioGroup_printmono1")->isChecked());
    EXPECT_FALSE(form.findChild<QCheckBox*>("CheckBox_umrandung")->isChecked());
    EXPECT_EQ(form.PrinterLabel()->text().size(), 40);
  }

  const QByteArray portrait = PrintToPdf("portrait.pdf", false, false);
  ASSERT_TRUE(portrait.startsWith("%PDF"));
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(common::HardcopyFlag, 0);
  const QSizeF upright = PageSize(portrait);
  EXPECT_LT(upright.width(), upright.height());
  EXPECT_EQ(common::PrinterGraphicsSettings.PrintOrientation, 1);

  const QByteArray landscape = PrintToPdf("landscape.pdf", true, false);
  ASSERT_TRUE(landscape.startsWith("%PDF"));
  const QSizeF across = PageSize(landscape);
  EXPECT_GT(across.width(), across.height());
  EXPECT_EQ(common::PrinterGraphicsSettings.PrintOrientation, 2);

  // The border line is drawn onto the printer only.
  const QByteArray framed = PrintToPdf("framed.pdf", true, true);
  EXPECT_TRUE(common::PrinterGraphicsSettings.PrintBorder);
  EXPECT_GT(framed.size(), landscape.size());
}

TEST_F(PrintoutDialogTest, CancelAndDatabaseWithoutTable) {
  common::PrintPictureKind = common::PictureDrawing;
  common::PrinterGraphicsSettings.ScreendumpScale = 0.5;
  app::ui::TForm_printconf form;
  EXPECT_EQ(form.findChild<QLineEdit*>("Edit_scalex")->text(), "0.5");
  form.findChild<QLineEdit*>("Edit_scalex")->setText("3");
  // No presets table here: the dialog stays with its values.
  common::DbfDirectory = dir_.path().toStdString() + "/";
  common::TempDirectory = dir_.path().toStdString() + "/";
  common::MessagesEnabled = 0;
  QTest::mouseClick(form.findChild<QPushButton*>("Button_db"), Qt::LeftButton);
  EXPECT_EQ(form.findChild<QLineEdit*>("Edit_scalex")->text(), "3");
  QTest::mouseClick(form.findChild<QPushButton*>("Button_cancel"), Qt::LeftButton);
  EXPECT_EQ(form.result(), QDialog::Rejected);
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(common::PrinterGraphicsSettings.PrintFactorX, 0.5);  // stored only by OK
}

// A scale or origin that is no number is refused before anything prints or
// is stored: the message names the field, the edit shows its old text, and
// the dialog stays open; corrected, it prints with the value.
TEST_F(PrintoutDialogTest, TextThatIsNoNumberIsRefusedAndTheDialogStaysOpen) {
  platform::ScriptedDialogs dialogs;
  platform::ScopedDialogs scoped(dialogs);
  common::PrintPictureKind = common::PictureDrawing;
  common::PrinterGraphicsSettings.ScreendumpScale = 0.5;
  common::PrinterGraphicsSettings.ScreendumpOriginX = 10;
  app::ui::TForm_printconf form;
  form.Printer().setOutputFormat(QPrinter::PdfFormat);
  form.Printer().setOutputFileName(dir_.filePath("refused.pdf"));
  auto* scaleX = form.findChild<QLineEdit*>("Edit_scalex");
  auto* originX = form.findChild<QLineEdit*>("Edit_xorigin");
  scaleX->setText("abc");
  QTest::mouseClick(form.findChild<QPushButton*>("Button_ok"), Qt::LeftButton);
  EXPECT_EQ(scaleX->text(), "0.5");
  originX->setText("1e999");
  QTest::mouseClick(form.findChild<QPushButton*>("Button_ok"), Qt::LeftButton);
  EXPECT_EQ(originX->text(), "10");
  // "Apply Database" refuses before it asks for a preset's name.
  auto* scaleY = form.findChild<QLineEdit*>("Edit_scaley");
  const QString scaleYShown = scaleY->text();
  scaleY->setText("x");
  QTest::mouseClick(form.findChild<QPushButton*>("Button_append"), Qt::LeftButton);
  EXPECT_EQ(scaleY->text(), scaleYShown);
  EXPECT_NE(form.result(), QDialog::Accepted);
  EXPECT_FALSE(form.Printed());
  EXPECT_FALSE(QFile::exists(dir_.filePath("refused.pdf")));
  std::vector<std::string> messages;
  for (const platform::AskedDialog& asked : dialogs.Asked()) messages.push_back(asked.text);
  EXPECT_EQ(messages, (std::vector<std::string>{"Scale x: \"abc\" is not a number !",
                                                "Origin x: \"1e999\" is not a finite number !",
                                                "Scale y: \"x\" is not a number !"}));

  scaleX->setText("2");
  QTest::mouseClick(form.findChild<QPushButton*>("Button_ok"), Qt::LeftButton);
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_TRUE(form.Printed());
  EXPECT_EQ(common::PrinterGraphicsSettings.PrintFactorX, 2.0);
  EXPECT_EQ(common::PrinterGraphicsSettings.PrintMarginLeft, 10);
}

TEST_F(PrintoutDialogTest, WithoutAPrinterTheChoiceComesFirst) {
  app::ui::TForm_printconf form;
  QPrinter& printer = form.Printer();
  if (printer.isValid() && !(printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty()))
    GTEST_SKIP() << "a printer is installed here; the test would print on it";
  bool asked = false;
  QTimer::singleShot(50, [&] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      asked = modal != &form;
      modal->close();
    }
  });
  QTest::mouseClick(form.findChild<QPushButton*>("Button_ok"), Qt::LeftButton);
  EXPECT_TRUE(asked);
  EXPECT_FALSE(form.Printed());
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_NE(form.result(), QDialog::Accepted);
}

}  // namespace
