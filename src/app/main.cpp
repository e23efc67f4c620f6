// vob4: design of noncircular spur gear pairs.
//
// The command line decides first: the batch paths (text printout, CAD
// output, usage text) run after the program start-up without any window and
// end with their exit code. Everything else is the interactive program.
#include <cstdlib>
#include <iostream>

#include "app/command_line.h"
#include "app/start_up.h"
#include "common/kaldvar.h"
#include "common/text_utils.h"

namespace {

// Whether a screen is there to show windows on.
bool HaveDisplay() {
  const char* x = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x && *x) || (wayland && *wayland);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> params;
  for (int i = 1; i < argc; ++i) params.emplace_back(argv[i]);
  const app::CommandLine line = app::ParseCommandLine(params);

  app::StartUpProgram(argc, argv);
  if (app::IsBatchRun(line)) return app::RunBatch(line, std::cout, std::cerr, HaveDisplay());

  // The interactive program.
  if (const std::optional<int> exitCode = app::OpenStartFile(line)) return *exitCode;
  std::cout << common::ProgramTitle << "  " << common::ProductCode << " " << common::ProgramVersion << "\n";
  app::ShutDownProgram();
  return 0;
}
