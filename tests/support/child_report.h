// A job run in a child process of its own (a file-size limit set or a file
// system mounted for it alone), whose text comes back through a pipe.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace testsupport {

struct ChildReport {
  int exitCode = -1;  // -1: the child did not end by itself
  std::string text;
};

// The job's text, with exit code 0; a job may end the child itself with a
// code of its own (std::_Exit), and then says nothing.
inline ChildReport RunInChild(const std::function<std::string()>& job) {
  int report[2];
  if (::pipe(report) != 0) return {};
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(report[0]);
    const std::string text = job();
    std::_Exit(::write(report[1], text.data(), text.size()) < 0 ? 2 : 0);
  }
  ::close(report[1]);
  ChildReport result;
  char buffer[512];
  for (ssize_t n; (n = ::read(report[0], buffer, sizeof buffer)) > 0;)
    result.text.append(buffer, static_cast<std::size_t>(n));
  ::close(report[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  return result;
}

}  // namespace testsupport
