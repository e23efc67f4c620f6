// A virtual X server of a test's own, as scripts and build machines start
// one: on a free display number, local connections only, and resetting
// itself whenever its last client leaves (no -noreset); with a cookie, as
// xvfb-run starts it, only clients that show the cookie are let in.
// Stopped with the object. Unavailable (Display() empty) where Xvfb (or,
// for the cookie, xauth) is not installed. On request a window manager runs
// on it, as on a desktop.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "support/run_command.h"

namespace testsupport {

class OwnXServer {
 public:
  // screen: width x height x depth of its one screen.
  explicit OwnXServer(bool cookie = false, const std::string& screen = "800x600x24") {
    if (std::system("command -v Xvfb >/dev/null 2>&1") != 0) return;
    std::string serverAuthority;
    std::string secret;
    if (cookie) {
      if (std::system("command -v xauth >/dev/null 2>&1") != 0) return;
      folder_ = std::filesystem::temp_directory_path() / ("vob4_xserver_" + std::to_string(::getpid()));
      std::filesystem::create_directories(folder_);
      std::mt19937_64 random{std::random_device{}()};
      for (int i = 0; i < 32; ++i) secret += "0123456789abcdef"[random() % 16];
      // The server takes every cookie of its file, whatever display the
      // file names it for.
      serverAuthority = (folder_ / "server").string();
      if (!AddCookie(serverAuthority, ":0", secret)) return;
    }
    int ready[2];
    if (::pipe(ready) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(ready[0]);
      ::setpgid(0, 0);
      const std::string fd = std::to_string(ready[1]);
      if (serverAuthority.empty())
        ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0", screen.c_str(),
                 static_cast<char*>(nullptr));
      else
        ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0", screen.c_str(),
                 "-auth", serverAuthority.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(ready[1]);
    // The server writes its display number once it takes connections.
    std::string number;
    pollfd wait{ready[0], POLLIN, 0};
    while (pid_ > 0 && ::poll(&wait, 1, 20000) > 0) {
      char c = 0;
      if (::read(ready[0], &c, 1) != 1 || c == '\n') break;
      number += c;
    }
    ::close(ready[0]);
    if (number.empty()) return;
    if (cookie) {
      authority_ = (folder_ / "client").string();
      if (!AddCookie(authority_, ":" + number, secret)) return;
    }
    display_ = ":" + number;
  }
  ~OwnXServer() {
    if (manager_ > 0) {
      ::kill(-manager_, SIGTERM);
      int status = 0;
      ::waitpid(manager_, &status, 0);
    }
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      int status = 0;
      ::waitpid(pid_, &status, 0);
    }
    std::error_code ec;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ec);
  }
  OwnXServer(const OwnXServer&) = delete;
  OwnXServer& operator=(const OwnXServer&) = delete;

  // ":N", or empty when no server could be started.
  const std::string& Display() const { return display_; }
  // The file that holds the cookie for XAUTHORITY (with a cookie only).
  const std::string& Authority() const { return authority_; }

  // Starts a window manager (openbox) on the server, its files under home:
  // windows get frames with title bars, and a window's place is that of its
  // frame. True once it manages the screen; false where it (or xprop, which
  // tells when it does) is not installed or it did not within 5 seconds.
  bool StartWindowManager(const std::string& home) {
    if (display_.empty() || std::system("command -v openbox >/dev/null 2>&1 && command -v xprop >/dev/null 2>&1") != 0)
      return false;
    manager_ = ::fork();
    if (manager_ == 0) {
      ::setpgid(0, 0);
      const int quiet = ::open("/dev/null", O_WRONLY);
      ::dup2(quiet, 1);
      ::dup2(quiet, 2);
      ::setenv("DISPLAY", display_.c_str(), 1);
      for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"})
        ::setenv(name, home.c_str(), 1);
      ::execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    if (manager_ < 0) return false;
    ::setpgid(manager_, manager_);
    // It names the window that proves it on the root window.
    const std::string check = "xprop -display " + display_ + " -root _NET_SUPPORTING_WM_CHECK 2>/dev/null";
    for (int i = 0; i < 100; ++i) {
      if (RunCommand(check).find("window id") != std::string::npos) return true;
      ::usleep(50000);
    }
    return false;
  }

 private:
  static bool AddCookie(const std::string& file, const std::string& display, const std::string& secret) {
    return std::system(("xauth -q -f " + Quoted(file) + " add " + display + " . " + secret + " >/dev/null 2>&1").c_str()) ==
           0;
  }

  pid_t pid_ = -1;
  pid_t manager_ = -1;
  std::string display_;
  std::string authority_;
  std::filesystem::path folder_;
};

}  // namespace testsupport
