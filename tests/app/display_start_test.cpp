// The program started on the displays users and build machines have: an X
// server of the test's own that resets itself whenever its last client
// leaves (as xvfb-run and CI start one), a display that takes the
// connection and never answers, and the platform lists Qt takes from
// QT_QPA_PLATFORM. No start ends in the window system's abort.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/direct_run.h"
#include "support/file_test_support.h"
#include "support/own_x_server.h"

namespace fs = std::filesystem;
using testsupport::DirectRun;

namespace {

int Lines(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

// The environment of a start on display, with QT_QPA_PLATFORM as given
// (unset when nullopt) and no Wayland display.
testsupport::EnvironmentChanges OnDisplay(const std::string& display,
                                          const std::optional<std::string>& platform = std::nullopt) {
  return {{"DISPLAY", display}, {"WAYLAND_DISPLAY", std::nullopt}, {"QT_QPA_PLATFORM", platform}};
}

class DisplayStart : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { server_ = new testsupport::OwnXServer; }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }
  void SetUp() override {
    fs::copy_file(std::string(VOB_SOURCE_DIR) + "/resources/null.vb4", dir_.Path("x.vb4"));
  }

  DirectRun Run(const std::vector<std::string>& args, const testsupport::EnvironmentChanges& environment) {
    return testsupport::RunDirect(VOB_PROGRAM, args, environment, dir_.Dir().string(), std::chrono::seconds(60));
  }

  static testsupport::OwnXServer* server_;
  testsupport::ScratchDirectory dir_{"display_start"};
};

testsupport::OwnXServer* DisplayStart::server_ = nullptr;

// The window a picture is taken of and closed, as `vob4 --grab` gives it.
std::vector<std::string> Look(const std::string& picture) { return {"x.vb4", "--grab=" + picture, "--settle=0"}; }

}  // namespace

// Thirty starts, two at a time, so that one often ends (and the server
// resets) while the other connects: every start draws its picture and ends
// with 0.
TEST_F(DisplayStart, WindowStartsOnAServerThatResetsItself) {
  if (server_->Display().empty()) GTEST_SKIP() << "Xvfb is not installed or did not start";
  const std::string out = dir_.Path("run");
  int started = 0;
  for (int round = 0; round < 15; ++round) {
    std::vector<std::pair<pid_t, std::string>> runs;
    const auto begin = std::chrono::steady_clock::now();
    for (int k = 0; k < 2; ++k) {
      const std::string name = "p" + std::to_string(++started);
      runs.emplace_back(testsupport::StartDirect(VOB_PROGRAM, Look(name + ".png"), OnDisplay(server_->Display()),
                                                 dir_.Dir().string(), out + name + ".out", out + name + ".err"),
                        name);
    }
    for (const auto& [pid, name] : runs) {
      const DirectRun run =
          testsupport::WaitDirect(pid, begin, std::chrono::seconds(60), out + name + ".out", out + name + ".err");
      EXPECT_EQ(run.exitCode, 0) << name << " signal " << run.signal << ": " << run.err;
      EXPECT_TRUE(fs::exists(dir_.Path(name + ".png"))) << name;
    }
  }
  EXPECT_EQ(dir_.Entries(), 31u) << "the design and the thirty pictures";
}

// An X display that takes the connection and never answers (a frozen
// server, a forwarding whose other end is dead): the usage text is printed
// at once, and every start ends within a few seconds with the line that
// names the display.
TEST_F(DisplayStart, ADisplayThatNeverAnswersIsGivenUp) {
  // A listening socket where the X library looks for display :n first
  // (the abstract name of the local X socket); nothing ever answers on it.
  const int listening = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  ASSERT_GE(listening, 0);
  int number = 0;
  for (int n = 6000 + ::getpid() % 1000; n < 7100 && number == 0; ++n) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string name = "/tmp/.X11-unix/X" + std::to_string(n);
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    if (::bind(listening, reinterpret_cast<const sockaddr*>(&address), length) == 0) number = n;
  }
  ASSERT_NE(number, 0);
  ASSERT_EQ(::listen(listening, 8), 0);
  const std::string display = ":" + std::to_string(number);

  // Both at once: the test waits the probe's time limit only once.
  const std::string base = dir_.Path("silent");
  const auto begin = std::chrono::steady_clock::now();
  const pid_t usage = testsupport::StartDirect(VOB_PROGRAM, {"-?"}, OnDisplay(display), dir_.Dir().string(),
                                               base + "1.out", base + "1.err");
  const pid_t window = testsupport::StartDirect(VOB_PROGRAM, {"x.vb4"}, OnDisplay(display), dir_.Dir().string(),
                                                base + "2.out", base + "2.err");
  const DirectRun usageRun = testsupport::WaitDirect(usage, begin, std::chrono::seconds(30), base + "1.out", base + "1.err");
  const DirectRun windowRun =
      testsupport::WaitDirect(window, begin, std::chrono::seconds(30), base + "2.out", base + "2.err");
  ::close(listening);

  const std::string line = "vob4: there is no display for the window (DISPLAY=" + display + " does not answer within 5 s)";
  EXPECT_EQ(Lines(usageRun.out), 19) << usageRun.out;
  EXPECT_EQ(usageRun.out.rfind("VOB4 Command Line Mode\n", 0), 0u) << usageRun.out;
  for (const DirectRun* run : {&usageRun, &windowRun}) {
    EXPECT_LT(run->seconds, 10.0);
    EXPECT_EQ(run->exitCode, 4) << run->err;
    EXPECT_EQ(Lines(run->err), 1) << run->err;
    EXPECT_EQ(run->err.rfind(line, 0), 0u) << run->err;
  }
  EXPECT_EQ(windowRun.out, "");
  EXPECT_EQ(dir_.Entries(), 1u) << "nothing but the design";
}

// QT_QPA_PLATFORM as Qt takes it: a list is tried entry by entry, the first
// that starts is taken; a platform that is not installed or whose device is
// not there ends the run with the line that names it, not with an abort.
// The usage text does not depend on it.
TEST_F(DisplayStart, PlatformChoicesAreProbedEntryByEntry) {
  if (server_->Display().empty()) GTEST_SKIP() << "Xvfb is not installed or did not start";
  int n = 0;
  for (const char* platform : {"wayland;xcb", "bogus;xcb", "XCB", ";xcb;"}) {
    const std::string picture = "q" + std::to_string(++n) + ".png";
    const DirectRun run = Run(Look(picture), OnDisplay(server_->Display(), platform));
    EXPECT_EQ(run.exitCode, 0) << platform << " signal " << run.signal << ": " << run.err;
    EXPECT_TRUE(fs::exists(dir_.Path(picture))) << platform;
    fs::remove(dir_.Path(picture));
  }
  for (const auto& [platform, why] : std::vector<std::pair<std::string, std::string>>{
           {"bogus", "QT_QPA_PLATFORM=bogus: the platform plugin bogus is not installed"},
           {"linuxfb:fb=/nonexistent/fb0",
            "QT_QPA_PLATFORM=linuxfb:fb=/nonexistent/fb0: the framebuffer /nonexistent/fb0 cannot be opened"},
           {"bogus;linuxfb:fb=/nonexistent/fb0",
            "the platform plugin bogus is not installed; the framebuffer /nonexistent/fb0 cannot be opened"}}) {
    const DirectRun run = Run(Look("never.png"), OnDisplay(server_->Display(), platform));
    EXPECT_EQ(run.exitCode, 4) << platform << " signal " << run.signal << ": " << run.err;
    EXPECT_EQ(Lines(run.err), 1) << run.err;
    EXPECT_EQ(run.err.rfind("vob4: there is no display for the window (", 0), 0u) << run.err;
    EXPECT_NE(run.err.find(why + ")"), std::string::npos) << run.err;
    const DirectRun usage = Run({"-?"}, OnDisplay(server_->Display(), platform));
    EXPECT_EQ(usage.exitCode, 0) << platform;
    EXPECT_EQ(Lines(usage.out), 19) << platform;
    EXPECT_EQ(usage.err, "") << platform;
  }
  // An X display named without the server: said so.
  const DirectRun run = Run({"x.vb4"}, {{"DISPLAY", std::nullopt}, {"WAYLAND_DISPLAY", std::nullopt},
                                        {"QT_QPA_PLATFORM", "xcb"}});
  EXPECT_EQ(run.exitCode, 4);
  EXPECT_NE(run.err.find("(QT_QPA_PLATFORM=xcb: DISPLAY is not set)"), std::string::npos) << run.err;
  EXPECT_EQ(dir_.Entries(), 1u) << "nothing but the design";
}
