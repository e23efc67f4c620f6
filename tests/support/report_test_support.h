// The surroundings of a report test (tests/common/report_writer_test,
// tests/app/printout_*): a scratch directory that is the working and the
// temporary directory, a fixed clock, scripted dialogs and a recording
// report viewer, and the report globals at their start values with the
// program's identity.
#pragma once

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/report_writer.h"
#include "platform/clock.h"
#include "platform/report_viewer.h"
#include "platform/scripted_dialogs.h"
#include "support/file_test_support.h"

namespace testsupport {

class ReportTestEnvironment {
 public:
  explicit ReportTestEnvironment(const std::string& stem, platform::LocalDateTime now = {2026, 3, 7, 9, 5, 0, 0})
      : dir(stem), clock_(now), dialogsScope_(dialogs), viewerScope_(viewer), previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir.Dir());
    common::SetKaldvarDefaults();
    common::SetWkaldvarDefaults();
    common::SetProgramIdentity();
    common::InitReportWriter();
    common::ClearErrorMessages();
    common::TempDirectory = dir.Dir().string();
    common::DateFormatCode = 3;
    common::MessagesEnabled = 1;
  }
  ~ReportTestEnvironment() {
    std::filesystem::current_path(previous_);
    common::ClearErrorMessages();
    common::UnitSystem = common::UnitsMetric;
  }
  ReportTestEnvironment(const ReportTestEnvironment&) = delete;
  ReportTestEnvironment& operator=(const ReportTestEnvironment&) = delete;

  ScratchDirectory dir;
  platform::ScriptedDialogs dialogs;
  platform::RecordingReportViewer viewer;

 private:
  platform::ScopedClock clock_;
  platform::ScopedDialogs dialogsScope_;
  platform::ScopedReportViewer viewerScope_;
  std::filesystem::path previous_;
};

// The lines of the report the viewer was handed last, the page margin and
// trailing blanks removed; none when nothing was handed over.
inline std::vector<std::string> LastReportLines(const platform::RecordingReportViewer& viewer) {
  std::vector<std::string> lines;
  if (viewer.Recorded().empty()) return lines;
  for (std::string line : viewer.Recorded().back().report.lines) {
    line.erase(0, std::min<std::size_t>(line.find_first_not_of(' '), 7));
    line.erase(line.find_last_not_of(' ') + 1);
    lines.push_back(line);
  }
  return lines;
}

// A printout row as the page devices lay it out: each text placed at its
// column (label 1, symbol 35, unit 44, gear values 51 and 62, the pair's
// value 56).
inline std::string PageRowAt(std::initializer_list<std::pair<int, std::string>> texts) {
  std::string line;
  for (const auto& [column, text] : texts) {
    line.resize(static_cast<std::size_t>(column - 1), ' ');
    line += text;
  }
  return line;
}

// The first line that begins with `begin`, or "".
inline std::string LineBeginning(const std::vector<std::string>& lines, const std::string& begin) {
  for (const std::string& l : lines)
    if (l.rfind(begin, 0) == 0) return l;
  return "";
}

}  // namespace testsupport
