// Running test cases as a user who is not root (tests/common:
// file_saving): the suite runs as root here, and root may write every
// file, so the permission rules of a save can only be seen from an
// unprivileged process. The cases run in a child process that drops to the
// user and group 65534 ("nobody") and reports back through a pipe; a child
// that hangs is ended by an alarm.
#pragma once

#include <csignal>
#include <cstdio>
#include <functional>
#include <string>

#include <grp.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

constexpr uid_t kUnprivilegedUser = 65534;
constexpr gid_t kUnprivilegedGroup = 65534;

// What the child reported: skipped (with the reason in text) when it could
// not become an unprivileged user; otherwise text holds the failures the
// case body found, one a line ("" when it found none).
struct ChildReport {
  bool skipped = false;
  std::string text;
};

// Collects the failed checks of a case body that runs in the child.
class Findings {
 public:
  void Check(bool ok, const std::string& what) {
    if (!ok) text_ += what + "\n";
  }
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

// Runs body in a child process as an unprivileged user (a process that is
// not root already is one). A body that does not end within
// timeoutSeconds counts as hung.
inline ChildReport RunUnprivileged(const std::function<std::string()>& body, unsigned timeoutSeconds = 30) {
  int fds[2];
  if (::pipe(fds) != 0) return {true, "no pipe for the child's report"};
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  if (pid < 0) {
    ::close(fds[0]);
    ::close(fds[1]);
    return {true, "cannot start a child process"};
  }
  if (pid == 0) {
    ::close(fds[0]);
    auto send = [&](const std::string& text) {
      std::size_t done = 0;
      while (done < text.size()) {
        const ssize_t n = ::write(fds[1], text.data() + done, text.size() - done);
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
      }
    };
    ::alarm(timeoutSeconds);
    if (::geteuid() == 0) {
      if (::setgroups(0, nullptr) != 0 || ::setgid(kUnprivilegedGroup) != 0 || ::setuid(kUnprivilegedUser) != 0) {
        send("S");
        ::_exit(0);
      }
    }
    if (::geteuid() == 0) {
      send("S");
      ::_exit(0);
    }
    send("R" + body());
    ::_exit(0);
  }
  ::close(fds[1]);
  std::string received;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
    if (n <= 0) break;
    received.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (WIFSIGNALED(status))
    return {false, "the child ended by signal " + std::to_string(WTERMSIG(status)) +
                       (WTERMSIG(status) == SIGALRM ? " (it hung)" : "")};
  if (received.empty()) return {false, "the child reported nothing"};
  if (received[0] == 'S') return {true, "cannot change to an unprivileged user"};
  return {false, received.substr(1)};
}

}  // namespace testsupport
