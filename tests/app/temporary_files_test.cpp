// The program's temporary files in any temporary folder (blanks in its
// name, one at its end), and gone when the window program is ended from
// outside (SIGTERM at logout, SIGHUP from a closed terminal), as they are
// after a batch run ended so.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/direct_run.h"
#include "support/file_test_support.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  return names;
}

class TemporaryFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy_file(std::string(VOB_SOURCE_DIR) + "/resources/null.vb4", dir_.Path("x.vb4"));
    fs::create_directory(temp_);
    fs::create_directory(runtime_);
    fs::permissions(runtime_, fs::perms::owner_all);
  }

  // The environment of a run whose temporary folder is temp_.
  testsupport::EnvironmentChanges Environment() const {
    return {{"TMPDIR", temp_.string()},
            {"XDG_RUNTIME_DIR", runtime_.string()},
            {"DISPLAY", std::nullopt},
            {"WAYLAND_DISPLAY", std::nullopt},
            {"QT_QPA_PLATFORM", "offscreen"}};
  }

  testsupport::ScratchDirectory dir_{"temporary_files"};
  const fs::path temp_ = dir_.Dir() / "temporary files ";
  const fs::path runtime_ = dir_.Dir() / "runtime";
};

}  // namespace

// Every output that goes through a temporary file is written, and the
// folder is left as it was.
TEST_F(TemporaryFiles, AFolderWithBlanksAndABlankAtItsEnd) {
  for (const auto& [option, output] : std::vector<std::pair<std::string, std::string>>{
           {"/I", "x.txt"}, {"/CAD2:1", "x.igs"}, {"/CAD1:6", "x.dxf"}, {"/CAD7:1", "x.stp"}}) {
    const testsupport::DirectRun run =
        testsupport::RunDirect(VOB_PROGRAM, {"x.vb4", option}, Environment(), dir_.Dir().string());
    EXPECT_EQ(run.exitCode, 0) << option << ": " << run.err;
    EXPECT_GT(fs::exists(dir_.Path(output)) ? fs::file_size(dir_.Path(output)) : 0u, 1000u) << output;
    EXPECT_TRUE(Names(temp_).empty()) << option;
  }
}

// The window program with a printout in its viewer (the spool and the
// viewer's copy in the temporary folder), ended by each signal: the files
// are gone, and the signal ended it as it would have without them.
TEST_F(TemporaryFiles, TheWindowEndedFromOutsideLeavesNone) {
  for (const int signal : {SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal == SIGTERM ? "SIGTERM" : "SIGHUP");
    const std::string out = dir_.Path("window.out"), err = dir_.Path("window.err");
    const auto started = std::chrono::steady_clock::now();
    const pid_t pid = testsupport::StartDirect(VOB_PROGRAM, {"x.vb4", "--show=mi_viewprintoutalles"}, Environment(),
                                               dir_.Dir().string(), out, err);
    ASSERT_GT(pid, 0);
    // Until the printout is on the screen.
    bool spool = false, copy = false;
    while (!(spool && copy) && std::chrono::steady_clock::now() - started < std::chrono::seconds(60)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      spool = copy = false;
      for (const std::string& name : Names(temp_)) {
        spool = spool || name.rfind("$OUT", 0) == 0;
        copy = copy || name.rfind("outwin", 0) == 0;
      }
    }
    EXPECT_TRUE(spool && copy) << testsupport::Slurp(err);
    ::kill(pid, signal);
    const testsupport::DirectRun run = testsupport::WaitDirect(pid, started, std::chrono::seconds(90), out, err);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.signal, signal) << run.err;
    EXPECT_TRUE(Names(temp_).empty()) << Names(temp_).front();
  }
  EXPECT_EQ(Names(dir_.Dir()).size(), 3u) << "the design and the two folders";
}
