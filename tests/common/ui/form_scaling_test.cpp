// Dialog forms on Qt (offscreen): scaled by the dialog scale and centred
// over the main window 20 pixels low; left alone in scale mode 2; a form
// never sized at the size of its controls; the printer form lists its rows.
#include "common/ui/form_scaling.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/form_placement.h"
#include "common/kaldvar.h"
#include "common/ui/printer_info_form.h"

using namespace common;

namespace {
int argc = 1;
char arg0[] = "form_scaling_test";
char* argv[] = {arg0, nullptr};
}  // namespace

TEST(FormScaling, ScaledAndCentredOverTheMainWindow) {
  if (!QApplication::instance()) new QApplication(argc, argv);
  SetKaldvarDefaults();
  SetWkaldvarDefaults();
  QMainWindow main;
  main.setGeometry(100, 100, 800, 600);
  main.show();
  ui::SetPlacementMainWindow(&main);
  InputWindowScale = 150;
  ZoomPercent = 100;
  QDialog dialog;
  dialog.resize(200, 100);
  ui::ScaleAndCenterForm(&dialog);
  EXPECT_EQ(dialog.size(), QSize(300, 150));
  const QRect m = main.frameGeometry();
  EXPECT_EQ(dialog.pos().x(), m.left() + (m.width() - dialog.frameGeometry().width()) / 2);
  EXPECT_EQ(dialog.pos().y(), m.top() + (m.height() - dialog.frameGeometry().height()) / 2 + 20);

  DialogScaleMode = 2;
  QDialog kept;
  kept.resize(200, 100);
  kept.move(5, 5);
  ui::ScaleAndCenterForm(&kept);
  EXPECT_EQ(kept.size(), QSize(200, 100));
  EXPECT_EQ(kept.pos(), QPoint(5, 5));
  DialogScaleMode = 0;

  StoredFormLeft = 33;
  StoredFormTop = 44;
  InputWindowScale = 100;
  QDialog stored;
  stored.resize(200, 100);
  ui::PlaceFormStored(&stored);
  EXPECT_EQ(stored.pos(), QPoint(33, 44));

  ZoomPercent = 200;
  QDialog zoomed;
  const double before = zoomed.font().pointSizeF();
  ui::ScaleForm(&zoomed);
  EXPECT_DOUBLE_EQ(zoomed.font().pointSizeF(), 2 * before);
  ui::SetPlacementMainWindow(nullptr);
}

// A form whose code never sized it takes the size its controls need, not
// the toolkit's default size of a window; the dialog scale applies to that.
TEST(FormScaling, UnsizedFormTakesTheSizeOfItsControls) {
  if (!QApplication::instance()) new QApplication(argc, argv);
  SetKaldvarDefaults();
  SetWkaldvarDefaults();
  ZoomPercent = 100;
  for (const int scale : {100, 150}) {
    InputWindowScale = scale;
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLineEdit);
    layout->addWidget(new QPushButton("OK"));
    const QSize hint = dialog.sizeHint();
    ASSERT_LT(hint.height(), 200);
    ui::ScaleAndCenterForm(&dialog);
    EXPECT_EQ(dialog.size(), QSize(hint.width() * scale / 100, hint.height() * scale / 100)) << scale;
    QDialog printout;
    (new QVBoxLayout(&printout))->addWidget(new QLineEdit);
    ui::ScaleForm(&printout);
    EXPECT_LT(printout.height(), 200) << scale;
  }
  InputWindowScale = 100;
}

TEST(FormScaling, PrinterFormRows) {
  if (!QApplication::instance()) new QApplication(argc, argv);
  EXPECT_EQ(ui::PrinterTechnologyText(2), "Rasterdrucker");
  EXPECT_EQ(ui::PrinterTechnologyText(3), "?");
  QPrinter pdf(QPrinter::HighResolution);
  pdf.setOutputFormat(QPrinter::PdfFormat);
  const auto rows = ui::PrinterInfoRows(&pdf);
  ASSERT_GE(rows.size(), 16u);
  EXPECT_EQ(rows[0].first, "Name");
  EXPECT_EQ(rows[2].second, "Metafile");
  EXPECT_EQ(rows[9].first, "DPI (horizontal)");
  EXPECT_EQ(rows[9].second, "1200");
  EXPECT_EQ(rows[15].first, "Schriften");
  EXPECT_EQ(std::to_string(rows.size() - 16), rows[15].second);
  ui::TForm_printerinfo form;
  EXPECT_EQ(form.Grid()->columnCount(), 2);
  EXPECT_GE(form.Grid()->rowCount(), 16);
  EXPECT_EQ(form.Grid()->item(15, 0)->text(), "Schriften");
}
