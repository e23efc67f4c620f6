// The Qt report viewer; see qt_report_viewer.h.
#include "common/ui/qt_report_viewer.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>

#include "common/ui/report_printing.h"
#include "common/ui/report_viewer_window.h"

namespace common::ui {

void QtReportViewer::ShowReport(const platform::ReportDocument& report) {
  ReportViewerWindow window(report);
  window.exec();
}

bool QtReportViewer::PrintReport(const platform::ReportDocument& report, platform::ReportPrinter kind) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setFromTo(0, 0);
  if (!pdfOutput_.isEmpty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfOutput_);
  } else {
    QPrintDialog dialog(&printer);
    dialog.setWindowTitle(QString::fromStdString(report.caption));
    dialog.setMinMax(1, ReportPageCount(report));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, kind == platform::ReportPrinter::PagePrinter);
    if (dialog.exec() != QDialog::Accepted) return false;
  }
  return PrintReportOn(printer, report, kind);
}

bool QtReportViewer::StartProgram(const std::string& program, const std::string& argument) {
  return QProcess::startDetached(QString::fromStdString(program), {QString::fromStdString(argument)});
}

}  // namespace common::ui
