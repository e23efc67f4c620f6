// The printer information form; see printer_info_form.h.
#include "common/ui/printer_info_form.h"

#include <QFontDatabase>
#include <QHeaderView>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "common/ui/form_scaling.h"

namespace common::ui {

std::string PrinterTechnologyText(int code) {
  switch (code) {
    case 0: return "Plotter";
    case 1: return "Rasterbildschirm";
    case 2: return "Rasterdrucker";
    case 4: return "Zeichendrucker";
    case 5: return "Metafile";
    default: return "?";
  }
}

std::vector<std::pair<std::string, std::string>> PrinterInfoRows(QPrinter* printer) {
  auto num = [](double v) { return std::to_string(static_cast<long long>(std::lround(v))); };
  std::vector<std::pair<std::string, std::string>> rows;
  const QStringList fonts = QFontDatabase::families();
  if (!printer) {
    rows = {{"Name", ""}, {"Treiberversion", ""}, {"Technologie", "?"}};
    for (const char* n : {"Druckbreite (mm)", "Druckhöhe (mm)", "Breite (Pixel)", "Höhe (Pixel)",
                          "Linker Seitenoffset (Pixel)", "Oberer Seitenoffset (Pixel)", "DPI (horizontal)",
                          "DPI (vertikal)", "Pinsel", "Stifte", "Markierer", "Farben"})
      rows.emplace_back(n, "");
  } else {
    const QPageLayout layout = printer->pageLayout();
    const QRectF paintMm = layout.paintRect(QPageLayout::Millimeter);
    const QRect paintPx = printer->pageLayout().paintRectPixels(printer->resolution());
    const QRect fullPx = printer->pageLayout().fullRectPixels(printer->resolution());
    const bool pdf = printer->outputFormat() == QPrinter::PdfFormat;
    rows = {
        {"Name", (pdf ? QString("PDF") : printer->printerName()).toStdString()},
        {"Treiberversion", ""},
        {"Technologie", PrinterTechnologyText(pdf ? 5 : 2)},
        {"Druckbreite (mm)", num(paintMm.width())},
        {"Druckhöhe (mm)", num(paintMm.height())},
        {"Breite (Pixel)", num(paintPx.width())},
        {"Höhe (Pixel)", num(paintPx.height())},
        {"Linker Seitenoffset (Pixel)", num(paintPx.left() - fullPx.left())},
        {"Oberer Seitenoffset (Pixel)", num(paintPx.top() - fullPx.top())},
        {"DPI (horizontal)", num(printer->logicalDpiX())},
        {"DPI (vertikal)", num(printer->logicalDpiY())},
        {"Pinsel", ""},
        {"Stifte", ""},
        {"Markierer", ""},
        {"Farben", printer->colorMode() == QPrinter::Color ? "16777216" : "2"},
    };
  }
  rows.emplace_back("Schriften", std::to_string(fonts.size()));
  for (const QString& f : fonts) rows.emplace_back("", f.toStdString());
  return rows;
}

TForm_printerinfo::TForm_printerinfo(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Printer");
  auto* layout = new QVBoxLayout(this);
  grid_ = new QTableWidget(this);
  grid_->setColumnCount(2);
  grid_->horizontalHeader()->setVisible(false);
  grid_->verticalHeader()->setVisible(false);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  layout->addWidget(grid_);
  std::unique_ptr<QPrinter> printer;
  if (!QPrinterInfo::defaultPrinter().isNull() || !QPrinterInfo::availablePrinterNames().isEmpty())
    printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  const auto rows = PrinterInfoRows(printer.get());
  grid_->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    grid_->setItem(r, 0, new QTableWidgetItem(QString::fromStdString(rows[static_cast<std::size_t>(r)].first)));
    grid_->setItem(r, 1, new QTableWidgetItem(QString::fromStdString(rows[static_cast<std::size_t>(r)].second)));
  }
  grid_->resizeColumnsToContents();
  resize(420, 480);
  ScaleAndCenterForm(this);
}

}  // namespace common::ui
