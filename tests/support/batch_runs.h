// The program run as a user's script runs it: in a directory of its own,
// without a display, with a design file saved there beforehand.
#pragma once

#include <functional>
#include <string>

#include "app/data_file.h"
#include "common/kaldvar.h"
#include "support/file_test_support.h"
#include "support/run_command.h"

namespace testsupport {

// Runs the program with args in dir, the environment assignments env
// ("NAME=value ...") added; everything it wrote on standard output and
// standard error, and its exit code.
inline std::string RunProgramIn(const ScratchDirectory& dir, const std::string& args, int& exitCode,
                                const std::string& env = "") {
  return RunCommand("cd '" + dir.Dir().string() + "' && env -u DISPLAY -u WAYLAND_DISPLAY " + env + " '" +
                        std::string(VOB_PROGRAM) + "' " + args + " 2>&1",
                    &exitCode);
}

// The default design with changes, saved as dir/name; false when it could
// not be read or written.
inline bool SaveDefaultDesignChanged(const ScratchDirectory& dir, const std::string& name,
                                     const std::function<void()>& change) {
  common::SetKaldvarDefaults();
  common::MessagesEnabled = 0;
  app::ReadDataFile(std::string(VOB_SOURCE_DIR) + "/resources/null.vb4");
  if (common::AbortFlag) return false;
  change();
  app::WriteDataFile(dir.Path(name));
  return common::AbortFlag == 0;
}

}  // namespace testsupport
