// vob4: design of noncircular spur gear pairs.
//
// The command line decides first: the batch paths (text printout, CAD
// output, usage text) run after the program start-up without any window and
// end with their exit code; only the usage text is also shown in a form
// when there is a screen. Everything else is the interactive program, which
// needs a display (or a Qt platform chosen for it): without one the run
// ends at once with a line that says so, instead of the window system's
// abort.
#include <QApplication>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "app/command_line.h"
#include "app/start_up.h"
#include "app/ui/run_main_window.h"
#include "common/kaldvar.h"
#include "common/text_utils.h"
#include "platform/qt/qt_display_probe.h"
#include "platform/temporary_files.h"
#include "platform/qt/qt_user_dialogs.h"
#include "common/ui/graphics_test_window.h"

namespace {

// The menu item drawn before the picture is taken, and the wait before.
std::string ShowItem;
int Settle = 500;

// The display the window would open, probed before Qt is started (Qt
// aborts on one it cannot open). Its connection to an X display is held
// until Qt has made its own.
const platform::qt::DisplayProbe& WindowDisplay() {
  static const platform::qt::DisplayProbe probe = platform::qt::ProbeDisplay();
  return probe;
}

// The end of a run that needs the window where none can be made: the one
// line names the display that failed.
int NoDisplay() {
  std::cerr << app::NoDisplayText(WindowDisplay().failed) << "\n";
  return app::ExitNoDisplay;
}

// "--graphics-test [--grab=picture.png] [--pdf=picture.pdf]": the graphics
// window alone with its test picture, for a look at a display or printer.
// "--grab=picture.png" alone: the main window is written as a picture after
// its start-up and closed (a look at the start without a user);
// "--show=mi_viewZahnraeder" first draws the picture of that menu item,
// "--settle=ms" waits that long before the picture is taken.
bool GraphicsTestRequested(int argc, char** argv, std::string& grab, std::string& pdf) {
  // The usage question comes first, whatever follows it.
  if (argc > 1 && (std::strcmp(argv[1], "?") == 0 || std::strcmp(argv[1], "/?") == 0 || std::strcmp(argv[1], "-?") == 0))
    return false;
  bool requested = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind("--show=", 0) == 0) ShowItem = arg.substr(7);
    if (arg.rfind("--settle=", 0) == 0) Settle = std::atoi(arg.substr(9).c_str());
    if (arg == "--graphics-test") requested = true;
    if (arg.rfind("--grab=", 0) == 0) grab = arg.substr(7);
    if (arg.rfind("--pdf=", 0) == 0) pdf = arg.substr(6);
  }
  return requested;
}

}  // namespace

int main(int argc, char** argv) {
  // A file-size limit makes a write fail ("File too large"), which every
  // writer reports and cleans up after, instead of killing the program
  // halfway through a file.
  ::signal(SIGXFSZ, SIG_IGN);
  // A run ended from outside (Ctrl+C, a timeout, a closed terminal, the
  // end of the session) leaves no spool or temporary file behind, from its
  // start-up on, in the window as in a batch run.
  platform::RemoveTemporaryFilesOnSignals();
  std::string grab, pdf;
  if (GraphicsTestRequested(argc, argv, grab, pdf)) {
    app::StartUpProgram(1, argv);
    if (!WindowDisplay().usable) return NoDisplay();
    const int result = common::ui::RunGraphicsTestWindow(argc, argv, grab, pdf);
    app::ShutDownProgram();
    return result;
  }
  // The program's own options are no part of the command line's meaning.
  std::vector<std::string> params;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind("--grab=", 0) != 0 && arg.rfind("--show=", 0) != 0 && arg.rfind("--settle=", 0) != 0)
      params.emplace_back(arg);
  }
  const app::CommandLine line = app::ParseCommandLine(params);
  app::StartUpProgram(argc, argv);
  if (line.kind == app::CommandLine::Kind::Usage) {
    // The text comes first, before any display is touched: a display that
    // does not answer cannot keep it back. With a screen it is also shown
    // in its form.
    const int printed = app::RunBatch(line, std::cout, std::cerr, false);
    std::cout.flush();
    if (WindowDisplay().silent) return NoDisplay();
    if (!WindowDisplay().screen) return printed;
    QApplication qt(argc, argv);
    platform::qt::InstallQtPlatform();
    app::ShowUsageForm();
    return printed;
  }
  if (app::IsBatchRun(line)) return app::RunBatch(line, std::cout, std::cerr, false);
  if (!WindowDisplay().usable) return NoDisplay();

  // The interactive program: a design named on the command line is opened
  // with the windows' dialogs, then the main window runs until it closes
  // and writes the session file.
  return app::ui::RunMainWindow(argc, argv, grab, [&line] { return app::OpenStartFile(line); }, Settle, ShowItem);
}
