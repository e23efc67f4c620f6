// Where a finished text report goes when it is meant for a person rather
// than a file: the screen viewer (search, print, save), the two printer
// devices (the text printer and the page printer, a PDF file being one) and
// an external program started on a report file (the word processor, the
// HTML browser).
//
// The report writer (common/report_writer.h) hands over the complete report:
// a caption and its lines in UTF-8, without line ends. A line that begins
// with a form feed ('\f') starts a new printed page; the rest of such a line
// is printed at the top of that page.
//
// Implementations: the recording default below (tests and batch mode: it
// keeps what it was handed and shows nothing) and the Qt one under
// src/platform/qt/, installed by the windowing start-up.
#pragma once

#include <string>
#include <vector>

namespace platform {

struct ReportDocument {
  std::string caption;             // window caption, print job title
  std::vector<std::string> lines;  // UTF-8, no line ends
};

// The two printer devices of the report writer.
enum class ReportPrinter {
  TextPrinter,  // the plain text printer: the lines as they are, one page per form feed
  PagePrinter,  // the page printer, in the printout font, after a print dialog (page range)
};

class ReportViewer {
 public:
  virtual ~ReportViewer() = default;

  // Shows the report modally in the text viewer; returns when it is closed.
  virtual void ShowReport(const ReportDocument& report) = 0;

  // Prints the report. False when it was not printed (no printer, the print
  // dialog was cancelled).
  virtual bool PrintReport(const ReportDocument& report, ReportPrinter printer) = 0;

  // Starts an external program with one argument (a file name), shown in a
  // normal window, without waiting for it. False when it could not be
  // started.
  virtual bool StartProgram(const std::string& program, const std::string& argument) = 0;
};

// One recorded hand-over of the recording viewer.
struct RecordedReport {
  enum class Kind { Shown, Printed, ProgramStarted };
  Kind kind = Kind::Shown;
  ReportDocument report;                          // Shown, Printed
  ReportPrinter printer = ReportPrinter::PagePrinter;  // Printed
  std::string program;                            // ProgramStarted
  std::string argument;                           // ProgramStarted
};

// Keeps everything it is handed, in order, and shows, prints and starts
// nothing. PrintReport and StartProgram answer with the configured results
// (true unless set otherwise).
class RecordingReportViewer : public ReportViewer {
 public:
  void ShowReport(const ReportDocument& report) override;
  bool PrintReport(const ReportDocument& report, ReportPrinter printer) override;
  bool StartProgram(const std::string& program, const std::string& argument) override;

  const std::vector<RecordedReport>& Recorded() const { return recorded_; }
  void Clear() { recorded_.clear(); }
  void SetPrintResult(bool printed) { printResult_ = printed; }
  void SetStartResult(bool started) { startResult_ = started; }

 private:
  std::vector<RecordedReport> recorded_;
  bool printResult_ = true;
  bool startResult_ = true;
};

// The viewer in use. Until one is installed, a built-in recording viewer
// takes the reports, so a headless run never opens a window.
ReportViewer& Viewer();

// Installs a viewer (not owned; it must outlive its use). nullptr returns
// to the built-in recording default. Returns the previous one.
ReportViewer* SetReportViewer(ReportViewer* viewer);

// Installs a viewer for the lifetime of the object (tests).
class ScopedReportViewer {
 public:
  explicit ScopedReportViewer(ReportViewer& viewer) : previous_(SetReportViewer(&viewer)) {}
  ~ScopedReportViewer() { SetReportViewer(previous_); }
  ScopedReportViewer(const ScopedReportViewer&) = delete;
  ScopedReportViewer& operator=(const ScopedReportViewer&) = delete;

 private:
  ReportViewer* previous_;
};

}  // namespace platform
