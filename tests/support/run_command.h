// Runs a shell command for a test (an independent reader, the program
// itself) and answers everything it wrote on standard output.
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace testsupport {

// The text as one word of a shell command line, whatever it holds (blanks,
// quotes, '$'): in single quotes, a single quote of its own written '\''.
inline std::string Quoted(const std::string& text) {
  std::string word = "'";
  for (char c : text) word += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return word + "'";
}

// exitCode, when given, gets the command's exit status (-1 when it could not
// be started or did not exit normally).
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

}  // namespace testsupport
