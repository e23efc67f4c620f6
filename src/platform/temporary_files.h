// The temporary files of the process that exist at this moment (spool files
// beside an output, files in the temporary directory), so that a run ended
// by a signal removes them on its way out. The file system layer notes each
// file it creates exclusively and forgets it when it is renamed or removed.
#pragma once

#include <string>

#include <signal.h>

namespace platform {

void RememberTemporaryFile(const std::string& path);
void ForgetTemporaryFile(const std::string& path);

// Holds SIGINT, SIGTERM and SIGHUP back for its lifetime: a file created
// meanwhile is noted before a signal can end the process.
class EndingSignalsHeld {
 public:
  EndingSignalsHeld();
  ~EndingSignalsHeld();
  EndingSignalsHeld(const EndingSignalsHeld&) = delete;
  EndingSignalsHeld& operator=(const EndingSignalsHeld&) = delete;

 private:
  sigset_t previous_;
};

// From now on SIGINT, SIGTERM and SIGHUP remove the remembered files before
// they end the process as they would have.
void RemoveTemporaryFilesOnSignals();

}  // namespace platform
