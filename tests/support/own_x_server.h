// A virtual X server of a test's own, as scripts and build machines start
// one: on a free display number, local connections only, and resetting
// itself whenever its last client leaves (no -noreset). Stopped with the
// object. Unavailable (Display() empty) where Xvfb is not installed.
#pragma once

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace testsupport {

class OwnXServer {
 public:
  OwnXServer() {
    if (std::system("command -v Xvfb >/dev/null 2>&1") != 0) return;
    int ready[2];
    if (::pipe(ready) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(ready[0]);
      ::setpgid(0, 0);
      const std::string fd = std::to_string(ready[1]);
      ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0", "800x600x24",
               static_cast<char*>(nullptr));
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
    if (!number.empty()) display_ = ":" + number;
  }
  ~OwnXServer() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
  }
  OwnXServer(const OwnXServer&) = delete;
  OwnXServer& operator=(const OwnXServer&) = delete;

  // ":N", or empty when no server could be started.
  const std::string& Display() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

}  // namespace testsupport
