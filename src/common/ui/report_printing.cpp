// Report printing through QPrinter; see report_printing.h.
#include "common/ui/report_printing.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

#include "common/graphics_settings.h"
#include "common/kaldvar.h"

namespace common::ui {

QFont FontFromStyleCode(const QString& face, int pointSize, int styleCode) {
  QFont font(face);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setPointSize(std::max(pointSize, 1));
  if (styleCode >= 0 && styleCode <= 15) {
    font.setBold(styleCode & 1);
    font.setItalic(styleCode & 2);
    font.setUnderline(styleCode & 4);
    font.setStrikeOut(styleCode & 8);
  }
  return font;
}

QFont PrintoutFont() {
  const auto& s = PrinterGraphicsSettings;
  return FontFromStyleCode(QString::fromStdString(s.TextFontPrintout), s.TextSizePrintout, s.TextStylePrintout);
}

int ReportPageCount(const platform::ReportDocument& report) {
  int pages = 1;
  for (std::size_t i = 1; i < report.lines.size(); ++i)
    if (!report.lines[i].empty() && report.lines[i][0] == '\f') ++pages;
  return pages;
}

bool PrintReportOn(QPrinter& printer, const platform::ReportDocument& report, platform::ReportPrinter kind) {
  printer.setDocName(QString::fromStdString(report.caption));
  printer.setPageOrientation(QPageLayout::Portrait);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const bool pagePrinter = kind == platform::ReportPrinter::PagePrinter;
  QFont font = pagePrinter ? PrintoutFont() : QFontDatabase::systemFont(QFontDatabase::FixedFont);
  if (!pagePrinter) font.setPointSize(10);
  painter.setFont(font);
  const QRect page = painter.viewport();
  const QFontMetrics metrics(painter.font());
  // The page printer divides the page into LinesPerPage lines; the text
  // printer uses the font's own line spacing.
  const int lineHeight = pagePrinter && LinesPerPage > 0 ? std::max(1, page.height() / LinesPerPage)
                                                         : std::max(1, metrics.lineSpacing());
  const int from = printer.fromPage(), to = printer.toPage();
  auto wanted = [&](int p) { return from == 0 || (p >= from && (to == 0 || p <= to)); };

  int pageNumber = 1;
  int y = 0;
  bool pagePrinted = false;  // whether anything went onto the current printer page
  for (std::size_t i = 0; i < report.lines.size(); ++i) {
    std::string line = report.lines[i];
    if (!line.empty() && line[0] == '\f') {
      line.erase(0, 1);
      if (i > 0) {
        ++pageNumber;
        y = 0;
        if (pagePrinted && wanted(pageNumber)) {
          printer.newPage();
          pagePrinted = false;
        }
      }
    } else if (y + lineHeight > page.height()) {
      // A page longer than the paper goes on on the next sheet.
      y = 0;
      if (wanted(pageNumber)) printer.newPage();
    }
    if (wanted(pageNumber)) {
      painter.drawText(0, y + metrics.ascent(), QString::fromStdString(line));
      pagePrinted = true;
    }
    y += lineHeight;
  }
  return painter.end();
}

}  // namespace common::ui
