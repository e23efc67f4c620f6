// Runs a program for a test without a shell: its arguments and paths go to
// it as they are, whatever blanks or quotes they hold (a TMPDIR of "/tmp/a
// b"), with the environment changed as asked, standard output and error
// caught, and a time limit after which it is killed.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/file_test_support.h"

extern char** environ;

namespace testsupport {

struct DirectRun {
  int exitCode = -1;      // -1 when it did not end by itself
  int signal = 0;         // the signal that ended it, 0 when none did
  bool timedOut = false;  // killed at the time limit
  double seconds = 0;
  std::string out;
  std::string err;
};

// Environment changes: a name with a value sets it, a name with nullopt
// removes it.
using EnvironmentChanges = std::map<std::string, std::optional<std::string>>;

// Starts program with args in directory (the current one when empty); the
// caller waits for it with WaitDirect. Output goes to the files out and err.
inline pid_t StartDirect(const std::string& program, const std::vector<std::string>& args,
                         const EnvironmentChanges& environment, const std::string& directory, const std::string& out,
                         const std::string& err) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    if (!environment.count(entry.substr(0, entry.find('=')))) env.push_back(entry);
  }
  for (const auto& [name, value] : environment)
    if (value) env.push_back(name + "=" + *value);
  std::vector<std::string> argv{program};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> argp, envp;
  for (auto& a : argv) argp.push_back(a.data());
  argp.push_back(nullptr);
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    // A group of its own, so that the time limit ends what it started too.
    ::setpgid(0, 0);
    if (!directory.empty() && ::chdir(directory.c_str()) != 0) ::_exit(126);
    const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int in = ::open("/dev/null", O_RDONLY);
    if (o < 0 || e < 0 || in < 0) ::_exit(126);
    ::dup2(in, 0);
    ::dup2(o, 1);
    ::dup2(e, 2);
    ::execve(program.c_str(), argp.data(), envp.data());
    ::_exit(127);
  }
  return pid;
}

// Waits for a run StartDirect began, at most limit; a run still going then
// is killed with its group.
inline DirectRun WaitDirect(pid_t pid, std::chrono::steady_clock::time_point started, std::chrono::seconds limit,
                            const std::string& out, const std::string& err) {
  DirectRun run;
  int status = 0;
  for (;;) {
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) break;
    if (done < 0) return run;
    if (std::chrono::steady_clock::now() - started > limit) {
      run.timedOut = true;
      ::kill(-pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
  run.out = Slurp(out);
  run.err = Slurp(err);
  std::error_code ec;
  std::filesystem::remove(out, ec);
  std::filesystem::remove(err, ec);
  return run;
}

// Runs program with args in directory and waits for it (at most limit).
inline DirectRun RunDirect(const std::string& program, const std::vector<std::string>& args,
                           const EnvironmentChanges& environment, const std::string& directory,
                           std::chrono::seconds limit = std::chrono::seconds(120)) {
  const std::string base = (std::filesystem::temp_directory_path() /
                            ("vob4_direct_" + std::to_string(::getpid()) + "_" +
                             std::to_string(std::chrono::steady_clock::now().time_since_epoch().count())))
                               .string();
  const std::string out = base + ".out", err = base + ".err";
  const auto started = std::chrono::steady_clock::now();
  const pid_t pid = StartDirect(program, args, environment, directory, out, err);
  if (pid < 0) return DirectRun{};
  return WaitDirect(pid, started, limit, out, err);
}

}  // namespace testsupport
