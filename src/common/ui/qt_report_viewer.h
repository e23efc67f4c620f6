// The Qt implementation of the report viewer interface
// (platform/report_viewer.h): the viewer window, printing through QPrinter
// and the start of external programs. Installed by InstallCommonForms
// (common_forms.h).
#pragma once

#include <QString>

#include "platform/report_viewer.h"

namespace common::ui {

class QtReportViewer : public platform::ReportViewer {
 public:
  void ShowReport(const platform::ReportDocument& report) override;
  // With a PDF output file set the report is printed into it without a
  // dialog; otherwise the print dialog chooses printer and page range (its
  // "print to file" makes a PDF file).
  bool PrintReport(const platform::ReportDocument& report, platform::ReportPrinter printer) override;
  bool StartProgram(const std::string& program, const std::string& argument) override;

  void SetPdfOutput(const QString& fileName) { pdfOutput_ = fileName; }

 private:
  QString pdfOutput_;
};

}  // namespace common::ui
