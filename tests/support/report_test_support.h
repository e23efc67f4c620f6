// The surroundings of a report test (tests/common/report_writer_test,
// tests/app/printout_*): a scratch directory that is the working and the
// temporary directory, a fixed clock, scripted dialogs and a recording
// report viewer, and the report globals at their start values with the
// program's identity.
#pragma once

#include <filesystem>
#include <string>

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

}  // namespace testsupport
