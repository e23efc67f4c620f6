// Shared set-up of the table-engine tests: a fresh engine with fixed date
// settings and an error procedure that collects the reports, a scratch
// directory per test, and running the independent readers (Python's
// dbfread, dbview, dbf_dump) on written tables.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "dbase/engine/dbf_file.h"
#include "support/run_command.h"
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
    // A parameterised test's name holds a '/': one folder, not two.
    std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(test.begin(), test.end(), '/', '_');
    dir_ = std::filesystem::temp_directory_path() / ("vob_dbase_" + std::to_string(::getpid()) + "_" + test);
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
    if (!previous_.empty()) std::filesystem::current_path(previous_, ec);
    std::filesystem::remove_all(dir_, ec);
  }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  // A file of the test's folder (its name, or its path) as a list of names
  // (SET INDEX TO) takes it: without the folder, which may hold blanks (a
  // TMPDIR of "/tmp/a b"), and which becomes the working directory for the
  // rest of the test.
  std::string Listed(const std::string& name) {
    if (previous_.empty()) {
      previous_ = std::filesystem::current_path();
      std::filesystem::current_path(dir_);
    }
    const std::string folder = dir_.string() + "/";
    return name.rfind(folder, 0) == 0 ? name.substr(folder.size()) : name;
  }
  // The last report's text ("" when none).
  std::string LastReport() const { return reported_.empty() ? std::string() : reported_.back().text; }
  int LastCode() const { return reported_.empty() ? 0 : reported_.back().code; }

  std::filesystem::path dir_;
  std::filesystem::path previous_;  // the working directory before Listed
  std::vector<Reported> reported_;
  std::unique_ptr<dbase::ScopedErrorProc> proc_;
};

using testsupport::Quoted;
using testsupport::RunCommand;

// Called while the test program starts: when the environment variable is
// set, this process is the second program of a SelfProcess; it runs its job
// with the variable's value before the tests, and ends there. The job runs
// once every global of the program is constructed (as a test environment
// of GoogleTest), not during the start, where the engine's own globals may
// not be constructed yet.
inline bool RunAsSecondProgram(const char* variable, int (*job)(const std::string&)) {
  const char* text = std::getenv(variable);
  if (text == nullptr) return false;
  // What GoogleTest prints before the job goes nowhere: the first program
  // reads the job's output alone.
  std::fflush(stdout);
  const int output = ::dup(1);
  const int nowhere = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (output < 0 || nowhere < 0) std::_Exit(125);
  ::dup2(nowhere, 1);
  ::close(nowhere);
  struct SecondProgram : ::testing::Environment {
    SecondProgram(int (*run)(const std::string&), std::string given, int fd)
        : job(run), value(std::move(given)), output(fd) {}
    void SetUp() override {
      std::fflush(stdout);
      ::dup2(output, 1);
      ::close(output);
      std::_Exit(job(value));
    }
    int (*job)(const std::string&);
    std::string value;
    int output;
  };
  ::testing::AddGlobalTestEnvironment(new SecondProgram(job, text, output));
  return true;
}

// This test binary started again (fork and exec) as a second program, with
// the environment variable set to its job: it opens every file itself and
// shares no open file with the first. Its standard output comes back.
class SelfProcess {
 public:
  SelfProcess(const char* variable, const std::string& job) {
    int fds[2];
    if (::pipe(fds) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(fds[1], 1);
      ::close(fds[0]);
      ::setenv(variable, job.c_str(), 1);
      char self[] = "/proc/self/exe";
      char* argv[] = {self, nullptr};
      ::execv(self, argv);
      ::_exit(127);
    }
    ::close(fds[1]);
    out_ = fds[0];
  }
  SelfProcess(const SelfProcess&) = delete;
  SelfProcess& operator=(const SelfProcess&) = delete;
  ~SelfProcess() {
    if (out_ >= 0) Finish();
  }
  // Ends the program at once, as a crash or a power cut would.
  void Kill() {
    if (pid_ > 0) ::kill(pid_, SIGKILL);
  }
  // Reads up to the end of the next line.
  std::string Line() {
    std::string line;
    char c;
    while (out_ >= 0 && ::read(out_, &c, 1) == 1 && c != '\n') line.push_back(c);
    return line;
  }
  // The rest of the output; waits for the program's end.
  std::string Finish(int* exitCode = nullptr) {
    std::string text;
    if (out_ < 0) return text;
    char buffer[256];
    for (ssize_t n; (n = ::read(out_, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
    ::close(out_);
    out_ = -1;
    int status = 0;
    ::waitpid(pid_, &status, 0);
    if (exitCode != nullptr) *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return text;
  }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
};

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
  return RunCommand("/usr/bin/python3 " + testsupport::Quoted(file.string()) + " 2>&1", exitCode);
}

}  // namespace dbtest
