// The program as the benchmarks of the picture path need it: started in a
// scratch working directory of its own that holds the shipped default
// design and message explanations, the design read at start as the
// program reads it, with an empty display list
// (the screen device draws into it as into the main window's).
#pragma once

#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/data_file.h"
#include "app/start_up.h"
#include "common/graphics_facade.h"

namespace benchprogram {

// The scratch working directory of the process, removed with all the
// benchmarks wrote there (a STEP file of 3000 teeth is 160 MB) when the
// process ends.
inline std::string& ScratchDirectory() {
  static std::string dir;
  return dir;
}

// Starts the program once per process; later calls do nothing.
inline void Start() {
  static const bool started = [] {
    namespace fs = std::filesystem;
    std::string pattern = (fs::temp_directory_path() / "vob_bench_XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    ScratchDirectory() = pattern;
    std::atexit([] {
      std::error_code ignored;
      fs::current_path(fs::temp_directory_path(ignored), ignored);
      fs::remove_all(ScratchDirectory(), ignored);
    });
    fs::current_path(pattern);
    fs::copy_file(fs::path(VOB_SOURCE_DIR) / "resources" / "null.vb4", "null.vb4");
    // The message explanations beside it, as the program is shipped: a
    // printout's message page gives each message with its own.
    fs::copy_file(fs::path(VOB_SOURCE_DIR) / "resources" / "vob4.err", "vob4.err");
    char name[] = "vob4";
    char* argv[] = {name, nullptr};
    app::StartUpProgram(1, argv);
    common::InitGraphDisplayList();
    return true;
  }();
  (void)started;
}

// The program started, with the default design read afresh, calculated,
// and an empty display list.
inline void DefaultDesign() {
  Start();
  app::ReadDataFile("null");
  common::InitGraphDisplayList();
}

// The largest resident set of the process so far, in MiB.
inline double PeakResidentMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

}  // namespace benchprogram
