// Starting an external program from a command line, without a window and
// without waiting for it: the plot utility that prints the DXF file of a
// drawing. The command line is the program (its first blank-separated word)
// and its arguments (the further words); a shell script named as the
// program runs through its first line.
//
// Tests install a starter that records the command lines instead.
#pragma once

#include <functional>
#include <string>

namespace platform {

enum class StartOutcome {
  Started,
  NotFound,     // no such program, or it may not be run
  OutOfMemory,  // the system could not make the process
  Failed,       // any other failure; error holds the system's code
};

struct StartResult {
  StartOutcome outcome = StartOutcome::Started;
  int error = 0;
};

StartResult StartCommandLine(const std::string& commandLine);

using CommandStarter = std::function<StartResult(const std::string& commandLine)>;
// Installs a starter; an empty function returns to the system's.
void SetCommandStarter(CommandStarter starter);

// Installs a starter for the lifetime of the object (tests).
class ScopedCommandStarter {
 public:
  explicit ScopedCommandStarter(CommandStarter starter);
  ~ScopedCommandStarter();
  ScopedCommandStarter(const ScopedCommandStarter&) = delete;
  ScopedCommandStarter& operator=(const ScopedCommandStarter&) = delete;

 private:
  CommandStarter previous_;
};

}  // namespace platform
