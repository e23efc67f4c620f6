// The start of the program as the application's tests need it: in a scratch
// directory of its own that holds the shipped default design, as the program
// finds it in its working directory, with the entry points in their start
// state.
#pragma once

#include <filesystem>

#include "app/entry_points.h"
#include "app/start_up.h"
#include "support/file_test_support.h"

namespace testsupport {

// Makes `dir` the working directory with a copy of the default design in it;
// answers the working directory to go back to.
inline std::filesystem::path EnterWithDefaultDesign(const ScratchDirectory& dir) {
  std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.Dir());
  std::filesystem::copy_file(std::filesystem::path(VOB_SOURCE_DIR) / "resources" / "null.vb4", dir.Path("null.vb4"));
  return previous;
}

// The program's start-up without arguments, then the entry points as they
// start.
inline void StartProgram() {
  char name[] = "vob4";
  char* argv[] = {name, nullptr};
  app::StartUpProgram(1, argv);
  app::ResetEntryPoints();
}

}  // namespace testsupport
