// The recording report viewer and the installed viewer; see report_viewer.h.
#include "platform/report_viewer.h"

namespace platform {

void RecordingReportViewer::ShowReport(const ReportDocument& report) {
  RecordedReport r;
  r.kind = RecordedReport::Kind::Shown;
  r.report = report;
  recorded_.push_back(std::move(r));
}

bool RecordingReportViewer::PrintReport(const ReportDocument& report, ReportPrinter printer) {
  RecordedReport r;
  r.kind = RecordedReport::Kind::Printed;
  r.report = report;
  r.printer = printer;
  recorded_.push_back(std::move(r));
  return printResult_;
}

bool RecordingReportViewer::StartProgram(const std::string& program, const std::string& argument) {
  RecordedReport r;
  r.kind = RecordedReport::Kind::ProgramStarted;
  r.program = program;
  r.argument = argument;
  recorded_.push_back(std::move(r));
  return startResult_;
}

namespace {

RecordingReportViewer& DefaultViewer() {
  static RecordingReportViewer viewer;
  return viewer;
}

ReportViewer* installed = nullptr;

}  // namespace

ReportViewer& Viewer() { return installed ? *installed : DefaultViewer(); }

ReportViewer* SetReportViewer(ReportViewer* viewer) {
  ReportViewer* previous = installed;
  installed = viewer;
  return previous;
}

}  // namespace platform
