// Shared set-up of the table-engine tests: a fresh engine with fixed date
// settings and an error procedure that collects the reports, a scratch
// directory per test, and running the independent readers (Python's
// dbfread, dbview, dbf_dump) on written tables.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "dbase/engine/dbf_file.h"
#include "dbase/engine/engine_settings.h"
#include "dbase/engine/error_codes.h"
#include "dbase/engine/locking.h"
#include "dbase/engine/record_changes.h"
#include "dbase/engine/work_areas.h"
#include "support/file_test_support.h"

namespace dbtest {

struct Reported {
  int code;
  std::string text;
};

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("vob_dbase_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    dbase::InitTzCommon();
    dbase::InitTzEngine();
    dbase::Century = false;
    dbase::SetDateFormat(0);
    dbase::CenturyPivot = 1956;
    dbase::DecimalSeparator = '.';
    dbase::NetworkLocking = true;
    dbase::RecordLockLimit = 0;
    dbase::CreateVersion = 0x8B;
    dbase::CustomVersionPlain = dbase::CustomVersionMemo = 0;
    dbase::RecountOnOpen = false;
    dbase::ConfirmPack = false;
    dbase::TzError = 0;
    proc_ = std::make_unique<dbase::ScopedErrorProc>([this] {
      reported_.push_back({dbase::TzError, dbase::LastErrorMessage()});
    });
    dbase::ReportErrors = true;
  }
  void TearDown() override {
    dbase::ShutdownTzEngine();
    proc_.reset();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  // The last report's text ("" when none).
  std::string LastReport() const { return reported_.empty() ? std::string() : reported_.back().text; }
  int LastCode() const { return reported_.empty() ? 0 : reported_.back().code; }

  std::filesystem::path dir_;
  std::vector<Reported> reported_;
  std::unique_ptr<dbase::ScopedErrorProc> proc_;
};

// Runs a command and answers its standard output; exitCode gets its status.
inline std::string RunCommand(const std::string& command, int* exitCode = nullptr) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) {
    if (exitCode) *exitCode = -1;
    return out;
  }
  std::array<char, 4096> buffer{};
  std::size_t n;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), n);
  const int status = ::pclose(pipe);
  if (exitCode) *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return out;
}

// Whether the system Python imports the module.
inline bool HasPythonModule(const std::string& module) {
  int code = -1;
  RunCommand("/usr/bin/python3 -c 'import " + module + "' 2>/dev/null", &code);
  return code == 0;
}

inline bool HasProgram(const std::string& program) {
  int code = -1;
  RunCommand("command -v " + program + " >/dev/null 2>&1", &code);
  return code == 0;
}

// Runs a Python script (written to a file beside the tables) and answers
// its output.
inline std::string RunPython(const std::filesystem::path& dir, const std::string& script, int* exitCode = nullptr) {
  const std::filesystem::path file = dir / "reader.py";
  testsupport::Put(file, script);
  return RunCommand("/usr/bin/python3 " + file.string() + " 2>&1", exitCode);
}

}  // namespace dbtest
