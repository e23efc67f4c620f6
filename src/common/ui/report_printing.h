// Printing of text reports through Qt's printer (a PDF file being a printer
// too) and the viewer's font: the report's lines, a new page at each line
// that begins with a form feed. The page printer uses the printout font and
// fits LinesPerPage lines on a page; the text printer prints the lines as
// they are in a fixed-pitch font. Used by the Qt report viewer
// (qt_report_viewer.h) and its window.
#pragma once

#include <QFont>
#include <QPrinter>

#include "platform/report_viewer.h"

namespace common::ui {

// The printout font of the settings: face, size and the style bits (bold 1,
// italic 2, underline 4, strikeout 8; other codes give a plain font).
QFont PrintoutFont();
QFont FontFromStyleCode(const QString& face, int pointSize, int styleCode);

// The number of pages of a report: one more than the lines that begin with
// a form feed after the first line.
int ReportPageCount(const platform::ReportDocument& report);

// Prints the report on a printer that is set up; pages outside the printer's
// page range (fromPage..toPage, 0 = all) are skipped. false when the printer
// could not begin.
bool PrintReportOn(QPrinter& printer, const platform::ReportDocument& report, platform::ReportPrinter kind);

}  // namespace common::ui
