// The printer form of the system-information window: a two-column grid of
// the current printer's name and capabilities (driver, technology, page
// size in mm and pixels, offsets, resolution, colours), then its fonts, one
// a row, under the row "Schriften" that counts them.
#pragma once

#include <QDialog>
#include <string>
#include <utility>
#include <vector>

class QPrinter;
class QTableWidget;

namespace common::ui {

// The rows of the grid for a printer (nullptr: no printer installed).
std::vector<std::pair<std::string, std::string>> PrinterInfoRows(QPrinter* printer);

// The device technology text of the capability code (0 "Plotter",
// 1 "Rasterbildschirm", 2 "Rasterdrucker", 4 "Zeichendrucker",
// 5 "Metafile", others "?").
std::string PrinterTechnologyText(int code);

class TForm_printerinfo : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_printerinfo(QWidget* parent = nullptr);
  QTableWidget* Grid() const { return grid_; }

 private:
  QTableWidget* grid_;
};

}  // namespace common::ui
