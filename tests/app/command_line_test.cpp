// The command-line mode, run as the program itself without a display:
// the usage text, the exit codes of the batch paths, and the text
// printout written beside the design. The parsing of "/CADi:j" and the
// interactive start with a file are checked in-process.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/data_file.h"
#include "calc/calc_records.h"
#include "calc/pitch_curve.h"
#include "app/entry_points.h"
#include "common/design_documentation.h"
#include "common/file_checks.h"
#include "common/file_utils.h"
#include "common/graphics_facade.h"
#include "common/small_dialogs.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "drawing/cad/cad_output.h"
#include "platform/scripted_dialogs.h"
#include "support/direct_run.h"
#include "support/dxf_outline.h"
#include "support/file_test_support.h"
#include "support/own_x_server.h"
#include "support/run_command.h"
#include "support/unprivileged.h"

namespace fs = std::filesystem;
using testsupport::Slurp;

namespace {

struct ProgramRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs the program in dir with the arguments, without a display (but with
// the offscreen Qt platform unless qtPlatform is false); environment
// settings (NAME=value ...) go before the program, and the run can start
// in another directory of its own.
ProgramRun RunProgram(const testsupport::ScratchDirectory& dir, const std::string& args, const std::string& environment = "",
                      const std::string& workingDirectory = "", bool qtPlatform = true) {
  const std::string out = dir.Path("stdout.log");
  const std::string err = dir.Path("stderr.log");
  const std::string cwd = workingDirectory.empty() ? dir.Dir().string() : workingDirectory;
  const std::string platform = qtPlatform ? "QT_QPA_PLATFORM=offscreen " : "-u QT_QPA_PLATFORM ";
  const std::string command = "cd '" + cwd + "' && timeout 120 env -u DISPLAY -u WAYLAND_DISPLAY " + platform +
                              environment + " '" + std::string(VOB_PROGRAM) + "' " + args + " >'" + out + "' 2>'" + err + "'";
  const int status = std::system(command.c_str());
  ProgramRun run;
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = Slurp(out);
  run.err = Slurp(err);
  fs::remove(out);
  fs::remove(err);
  return run;
}

// Runs the program without the offscreen platform and checks that it ends
// within a second: a run that waits for something waits every time, while
// a loaded machine may slow one run, so the fastest of up to three counts.
ProgramRun RunWithinASecond(const testsupport::ScratchDirectory& dir, const std::string& args,
                            const std::string& environment = "") {
  ProgramRun run;
  double fastest = 1e9;
  for (int attempt = 0; attempt < 3 && fastest >= 1.0; ++attempt) {
    const auto start = std::chrono::steady_clock::now();
    run = RunProgram(dir, args, environment, "", false);
    fastest = std::min(fastest, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  EXPECT_LT(fastest, 1.0) << environment << " " << args;
  return run;
}

void CopyDefaultDesign(const testsupport::ScratchDirectory& dir, const std::string& name) {
  fs::copy_file(std::string(VOB_SOURCE_DIR) + "/resources/null.vb4", dir.Path(name));
}

TEST(CommandLineProgram, UsageText) {
  const testsupport::ScratchDirectory dir("cmd_usage");
  for (const char* args : {"'?'", "/?", "-?"}) {
    const ProgramRun run = RunProgram(dir, args, "", "", false);
    EXPECT_EQ(run.exitCode, 0) << args;
    std::size_t count = 0;
    for (char c : run.out) count += c == '\n';
    EXPECT_EQ(count, 19u) << run.out;
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "VOB4 Command Line Mode");
    // The program as it is installed, the switch as it is spelt, and only
    // what this program does.
    EXPECT_NE(run.out.find("\nvob4 Filename [/I] [/CADi:j] [/NOGUI]\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\n/NOGUI   -> No GUI"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Example: vob4 test.vb4 /CAD1:1     ->  test.dxf\n"), std::string::npos);
    EXPECT_EQ(run.out.find("wvob4"), std::string::npos);
    EXPECT_EQ(run.out.find("/E"), std::string::npos);
    EXPECT_EQ(run.err, "");
  }
}

// A run never waits for a window no one can see: the switch before the
// design works as after it, a batch switch without a design shows the usage
// on standard error, and a run that needs the window ends at once where
// there is no display, saying so. Every case ends quickly with its code.
TEST(CommandLineProgram, EveryRunEndsWithoutADisplay) {
  const testsupport::ScratchDirectory dir("cmd_no_display");
  CopyDefaultDesign(dir, "d.vb4");
  const auto timed = [&](const std::string& args) { return RunWithinASecond(dir, args); };
  // The switch first.
  ProgramRun run = timed("/I d.vb4");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(Slurp(dir.Path("d.txt")).find("TOOTH ROOT LOAD-BEARING CAPACITY"), std::string::npos);
  run = timed("/CAD1:1 d.vb4 /NOGUI");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(fs::exists(dir.Path("d.dxf")));
  fs::remove(dir.Path("d.txt"));
  fs::remove(dir.Path("d.dxf"));

  // A batch switch without a design: what is missing, then the usage.
  for (const char* args : {"/I", "/CAD1:1", "/NOGUI -i"}) {
    run = timed(args);
    EXPECT_EQ(run.exitCode, 3) << args;
    EXPECT_EQ(run.out, "") << args;
    EXPECT_NE(run.err.find("needs a design file\nVOB4 Command Line Mode\n"), std::string::npos) << args << run.err;
  }

  // Runs that need the window.
  for (const char* args : {"", "d.vb4", "d.vb4 /NOGUI", "d.vb4 /E", "d.vb4 /X", "--graphics-test"}) {
    run = timed(args);
    EXPECT_EQ(run.exitCode, 4) << args;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << args << run.err;
    EXPECT_EQ(run.err.rfind("vob4: there is no display", 0), 0u) << run.err;
    EXPECT_NE(run.err.find("/I"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("/CADi:j"), std::string::npos) << run.err;
  }
  EXPECT_EQ(dir.Entries(), 1u) << "nothing but the design";
}

// A display that is set but cannot be opened (the forwarding of a closed
// ssh session, a Wayland display without its plugin or compositor) is found
// out before the window system would end the program with an abort: the
// usage text is printed, and a run that needs the window ends at once with
// the line that names the display.
TEST(CommandLineProgram, ADisplayThatCannotBeOpenedIsNoCrash) {
  const testsupport::ScratchDirectory dir("cmd_dead_display");
  CopyDefaultDesign(dir, "d.vb4");
  // No X server listens on a display of this number, and no compositor on
  // a socket of this name.
  for (const auto& [environment, named] : std::vector<std::pair<std::string, std::string>>{
           {"DISPLAY=:9731", "DISPLAY=:9731"},
           {"WAYLAND_DISPLAY=vob4-no-such-display", "WAYLAND_DISPLAY=vob4-no-such-display"},
           {"DISPLAY=:9731 WAYLAND_DISPLAY=vob4-no-such-display", "DISPLAY=:9731"}}) {
    for (const char* args : {"-?", "'?'", "-? --graphics-test"}) {
      const ProgramRun usage = RunWithinASecond(dir, args, environment);
      EXPECT_EQ(usage.exitCode, 0) << environment << " " << args << usage.err;
      EXPECT_EQ(std::count(usage.out.begin(), usage.out.end(), '\n'), 19) << environment << usage.out;
      EXPECT_EQ(usage.out.rfind("VOB4 Command Line Mode\n", 0), 0u) << usage.out;
    }
    for (const char* args : {"", "d.vb4", "d.vb4 /E", "--graphics-test"}) {
      const ProgramRun run = RunWithinASecond(dir, args, environment);
      EXPECT_EQ(run.exitCode, 4) << environment << " " << args;
      EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
      EXPECT_EQ(run.err.rfind("vob4: there is no display for the window (", 0), 0u) << run.err;
      EXPECT_NE(run.err.find(named), std::string::npos) << run.err;
      EXPECT_NE(run.err.find("/CADi:j"), std::string::npos) << run.err;
    }
  }
  EXPECT_EQ(dir.Entries(), 1u) << "nothing but the design";
}

// On a real display (a virtual X server of its own): the usage text is
// printed at once and its form waits to be closed; an X server that refuses
// the user (no cookie) is told like a display that is gone.
TEST(CommandLineProgram, UsageOnADisplayAndADisplayThatRefusesTheUser) {
  const testsupport::OwnXServer server(true);
  if (server.Display().empty()) GTEST_SKIP() << "Xvfb or xauth is not installed, or the server did not start";
  const testsupport::ScratchDirectory dir("cmd_real_display");
  CopyDefaultDesign(dir, "d.vb4");
  const auto environment = [&](const std::string& cookie) {
    return testsupport::EnvironmentChanges{{"DISPLAY", server.Display()}, {"XAUTHORITY", cookie},
                                           {"QT_QPA_PLATFORM", std::nullopt}, {"WAYLAND_DISPLAY", std::nullopt}};
  };
  const auto run = [&](const std::string& args, const std::string& cookie, int seconds) {
    return testsupport::RunDirect(VOB_PROGRAM, {args}, environment(cookie), dir.Dir().string(),
                                  std::chrono::seconds(seconds));
  };
  const auto lines = [](const std::string& text) { return std::count(text.begin(), text.end(), '\n'); };
  // With the cookie: the usage with its form, ended after 5 s.
  const testsupport::DirectRun usage = run("-?", server.Authority(), 5);
  EXPECT_TRUE(usage.timedOut) << "the form waits until it is closed";
  EXPECT_EQ(lines(usage.out), 19) << "printed before the form waits";
  // Without it.
  const testsupport::DirectRun refusedUsage = run("-?", "/nonexistent/cookie", 60);
  EXPECT_EQ(refusedUsage.exitCode, 0);
  EXPECT_EQ(lines(refusedUsage.out), 19);
  const testsupport::DirectRun refused = run("d.vb4", "/nonexistent/cookie", 60);
  EXPECT_EQ(refused.exitCode, 4);
  EXPECT_EQ(lines(refused.err), 1) << refused.err;
  EXPECT_NE(refused.err.find("(DISPLAY=" + server.Display() + " cannot be opened)"), std::string::npos) << refused.err;
}

TEST(CommandLineProgram, TextPrintoutIsWrittenBesideTheDesign) {
  const testsupport::ScratchDirectory dir("cmd_print");
  CopyDefaultDesign(dir, "x.vb4");
  const ProgramRun run = RunProgram(dir, "x.vb4 /I /NOGUI");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const std::string txt = Slurp(dir.Path("x.txt"));
  ASSERT_FALSE(txt.empty());
  EXPECT_EQ(txt.substr(0, 10), "VOB4 V5.2\t");
  // The sections in their order.
  std::size_t at = 0;
  for (const char* heading : {"pressure angle\talpha", "CALCULATED ANGLES", "CONTACT RATIO FACTORS",
                              "SPECIFIC SLIDING", "DIMENSIONS OF GEAR-CUTTING TOOL", "PROFILE SHIFT COEFFICIENTS",
                              "TOOTH PITCH, TOOTH DIMENSIONS", "MACHINING ALLOWANCE", "TOLERANCES, BACKLASH",
                              "MEASUREMENTS/DIMENSIONS", "Flank tolerances", "OPERATIONAL DATA", "FORCES",
                              "MATERIAL AND TREATMENT", "CALCULATION METHOD:", "GENERAL INFLUENCE FACTORS",
                              "FLANK LOAD-BEARING CAPACITY", "TOOTH ROOT LOAD-BEARING CAPACITY"}) {
    const std::size_t found = txt.find(heading, at);
    ASSERT_NE(found, std::string::npos) << heading;
    at = found;
  }
  // Nothing but the design and the printout is left.
  EXPECT_EQ(dir.Entries(), 2u);
}

TEST(CommandLineProgram, ExitCodes) {
  const testsupport::ScratchDirectory dir("cmd_exit");
  EXPECT_EQ(RunProgram(dir, "missing.vb4 /I").exitCode, 1);
  EXPECT_EQ(RunProgram(dir, "missing.vb4 /CAD1:1").exitCode, 1);
  testsupport::Put(dir.Path("broken.vb4"), "not a design\r\n");
  EXPECT_EQ(RunProgram(dir, "broken.vb4 /I").exitCode, 1);
  EXPECT_FALSE(fs::exists(dir.Path("broken.txt")));

  CopyDefaultDesign(dir, "x.vb4");
  // Indexes that name no drawing write nothing and succeed, naming the
  // drawing as it was written.
  for (const auto& [option, drawing] : std::vector<std::pair<std::string, std::string>>{
           {"/CAD1:0", "0"}, {"/CAD1:20", "20"}, {"/cad5:20", "20"}, {"/CAD1:99999999999", "99999999999"},
           {"/CAD1:x", "x"}}) {
    const ProgramRun run = RunProgram(dir, "x.vb4 " + option);
    EXPECT_EQ(run.exitCode, 0) << option;
    EXPECT_EQ(run.err, "vob4: there is no drawing " + drawing +
                           "; 1..5 are the gear pictures, 6..19 the diagrams: nothing was written\n")
        << option;
  }
  // An empty design name says so.
  const ProgramRun empty = RunProgram(dir, "'' /I");
  EXPECT_EQ(empty.exitCode, 1);
  EXPECT_EQ(empty.err, "vob4: cannot read the design file: its name is empty\n");
  // Formats without a file writer of their own are refused.
  for (const char* option : {"/CAD0:1", "/CAD3:1", "/CAD4:1", "/CAD8:1", "/CAD9:1"}) {
    const ProgramRun run = RunProgram(dir, std::string("x.vb4 ") + option);
    EXPECT_EQ(run.exitCode, 2) << option;
    EXPECT_NE(run.err.find("cannot be written from the command line"), std::string::npos) << run.err;
  }
  EXPECT_EQ(dir.Entries(), 2u) << "only the two designs: nothing was written";
}

// A look at the window with a menu item's dialog open: the picture is
// written, shows the dialog over the window, and the program ends by itself
// instead of waiting for someone to close the dialog.
TEST(CommandLineProgram, WindowPictureWithAnOpenDialogEnds) {
  const testsupport::ScratchDirectory dir("cmd_grab");
  CopyDefaultDesign(dir, "x.vb4");
  const auto grab = [&](const std::string& item, const std::string& png) {
    return RunProgram(dir, "x.vb4 --show=" + item + " --grab=" + png + " --settle=300").exitCode;
  };
  // The message list of the default design (its safeties are below 1).
  ASSERT_EQ(grab("mi_viewErrorMessages", "messages.png"), 0);
  ASSERT_EQ(grab("mi_viewTeilkurven", "curves.png"), 0);
  const std::string messages = Slurp(dir.Path("messages.png"));
  const std::string curves = Slurp(dir.Path("curves.png"));
  ASSERT_GT(messages.size(), 8u);
  EXPECT_EQ(messages.substr(1, 3), "PNG");
  EXPECT_NE(messages, curves) << "the dialog is in the picture";
  EXPECT_EQ(Slurp(dir.Path("x.vb4")), Slurp(std::string(VOB_SOURCE_DIR) + "/resources/null.vb4"));
  EXPECT_EQ(dir.Entries(), 3u) << "the design and the two pictures: no copy of the shown text is left";
}

TEST(CommandLineProgram, AnUnwritablePrintoutFailsWithoutLeftovers) {
  const testsupport::ScratchDirectory dir("cmd_unwritable");
  CopyDefaultDesign(dir, "x.vb4");
  fs::create_directory(dir.Path("x.txt"));  // the printout's name is taken by a directory
  const ProgramRun run = RunProgram(dir, "x.vb4 /I");
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.err.find("could not be written"), std::string::npos) << run.err;
  EXPECT_TRUE(fs::is_directory(dir.Path("x.txt")));
  EXPECT_EQ(dir.Entries(), 2u) << "no spool file is left behind";
}

// The CAD files of the default design written by the program itself, each
// named after the design in the working directory, without a display.
TEST(CommandLineProgram, CadFilesOfTheDefaultDesign) {
  const testsupport::ScratchDirectory dir("cmd_cad_files");
  CopyDefaultDesign(dir, "x.vb4");

  // Text CAD of pitch curve 1: one line per degree, each starting on the curve.
  ASSERT_EQ(RunProgram(dir, "x.vb4 /cad5:3").exitCode, 0);
  const auto cad = testsupport::SplitLines(Slurp(dir.Path("x.txt")));
  common::SetKaldvarDefaults();
  common::MessagesEnabled = 0;
  app::ReadDataFile(dir.Path("x.vb4"));
  ASSERT_EQ(common::AbortFlag, 0);
  int segments = 0;
  for (const std::string& line : cad) {
    if (line.rfind("LINE\t", 0) != 0) continue;
    ++segments;
    std::istringstream fields(line.substr(5));
    double x = 0, y = 0;
    fields >> x >> y;
    const Real phi = std::atan2(static_cast<Real>(y), static_cast<Real>(x));
    EXPECT_NEAR(std::hypot(x, y), static_cast<double>(calc::PitchRadius(calc::NormAngle(phi))), 1e-3) << line;
  }
  EXPECT_EQ(segments, 360);
  EXPECT_EQ(cad.front().rfind("MINMAX\t", 0), 0u);
  fs::remove(dir.Path("x.txt"));

  // STL of gear 1 extruded over its face width: a binary file whose size
  // matches its facet count.
  ASSERT_EQ(RunProgram(dir, "x.vb4 /CAD6:1").exitCode, 0);
  const std::string stl = Slurp(dir.Path("x.stl"));
  ASSERT_GT(stl.size(), 84u);
  std::uint32_t facets = 0;
  std::memcpy(&facets, stl.data() + 80, 4);
  EXPECT_GT(facets, 1000u);
  EXPECT_EQ(stl.size(), 84u + 50u * facets);

  // STEP: the exchange file naming itself, with gear 1 as a solid.
  ASSERT_EQ(RunProgram(dir, "x.vb4 /CAD7:1").exitCode, 0);
  const std::string stepText = Slurp(dir.Path("x.stp"));
  const auto step = testsupport::SplitLines(stepText);
  ASSERT_GT(step.size(), 1000u);
  EXPECT_EQ(step.front(), "ISO-10303-21;");
  EXPECT_EQ(step.back(), "END-ISO-10303-21;");
  EXPECT_NE(step[3].find("FILE_NAME('x.stp'"), std::string::npos) << step[3];
  EXPECT_NE(stepText.find("MANIFOLD_SOLID_BREP"), std::string::npos);

  // IGES: 80-column records ending in the terminate record.
  ASSERT_EQ(RunProgram(dir, "x.vb4 /CAD2:1").exitCode, 0);
  const auto iges = testsupport::SplitLines(Slurp(dir.Path("x.igs")));
  ASSERT_FALSE(iges.empty());
  for (const std::string& record : iges) ASSERT_EQ(record.size(), 80u) << record;
  EXPECT_EQ(iges.back()[72], 'T');

  EXPECT_EQ(dir.Entries(), 4u) << "the design and the three files of the last runs";
}

// A design whose name has dots of its own: every output keeps the whole
// name up to the design file's extension, so "pump.v1" and "pump.v2" never
// write over each other nor over the user's "pump.txt".
TEST(CommandLineProgram, OutputsKeepTheDotsOfTheDesignName) {
  const testsupport::ScratchDirectory dir("cmd_dotted_name");
  CopyDefaultDesign(dir, "pump.v1.vb4");
  testsupport::Put(dir.Path("pump.txt"), "my own notes\n");
  for (const auto& [option, output] : std::vector<std::pair<std::string, std::string>>{
           {"/I", "pump.v1.txt"}, {"/CAD1:1", "pump.v1.dxf"}, {"/CAD6:1", "pump.v1.stl"}, {"/CAD7:1", "pump.v1.stp"}}) {
    const ProgramRun run = RunProgram(dir, "pump.v1.vb4 " + option);
    EXPECT_EQ(run.exitCode, 0) << option << run.err;
    EXPECT_GT(fs::file_size(dir.Path(output)), 0u) << output;
  }
  // A design file's extension in capitals goes as well; the rest stays.
  fs::rename(dir.Path("pump.v1.vb4"), dir.Path("bore_90.1_72.VB4"));
  EXPECT_EQ(RunProgram(dir, "bore_90.1_72.VB4 /CAD7:2").exitCode, 0);
  EXPECT_TRUE(fs::exists(dir.Path("bore_90.1_72.stp")));
  EXPECT_EQ(Slurp(dir.Path("pump.txt")), "my own notes\n");
  for (const char* other : {"pump.dxf", "pump.stl", "pump.stp", "bore_90.stp"})
    EXPECT_FALSE(fs::exists(dir.Path(other))) << other;
  EXPECT_EQ(dir.Entries(), 7u);

  // A name that ends in the extension before its extension loses one:
  // "d.vb4.vb4" writes d.vb4.txt and leaves the user's d.txt as it was;
  // so does a design file of another extension ("e.vb4.edi").
  CopyDefaultDesign(dir, "d.vb4.vb4");
  CopyDefaultDesign(dir, "e.vb4.edi");
  for (const char* mine : {"d.txt", "d.dxf", "e.txt"}) testsupport::Put(dir.Path(mine), "mine\n");
  for (const auto& [args, output] : std::vector<std::pair<std::string, std::string>>{
           {"d.vb4.vb4 /I", "d.vb4.txt"}, {"/CAD1:1 d.vb4.vb4", "d.vb4.dxf"}, {"e.vb4.edi /I", "e.vb4.txt"}}) {
    const ProgramRun run = RunProgram(dir, args);
    EXPECT_EQ(run.exitCode, 0) << args << run.err;
    EXPECT_GT(fs::exists(dir.Path(output)) ? fs::file_size(dir.Path(output)) : 0u, 1000u) << output;
  }
  for (const char* mine : {"d.txt", "d.dxf", "e.txt"}) EXPECT_EQ(Slurp(dir.Path(mine)).substr(0, 40), "mine\n") << mine;
  EXPECT_EQ(dir.Entries(), 15u);
}

// The same in the window: the names offered for a CAD file and for saving
// the design are the design's whole name, and the printout to a TXT file
// is named after it.
TEST(CommandLine, WindowOutputsKeepTheDotsOfTheDesignName) {
  const testsupport::ScratchDirectory dir("cmd_dotted_window");
  platform::ScriptedDialogs dialogs;
  platform::ScopedDialogs scoped(dialogs);
  common::SetKaldvarDefaults();
  common::SetProgramIdentity();
  common::MessagesEnabled = 1;
  CopyDefaultDesign(dir, "pump.v1.vb4");
  common::DataDirectory = dir.Dir().string();
  dialogs.Then(platform::ScriptedAnswer::File(dir.Path("pump.v1.vb4")));
  app::ReadDataFile("");
  ASSERT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(common::CurrentFileName, "pump.v1");
  dialogs.ClearRecord();
  // The CAD file's save dialog, cancelled.
  app::Entry().DrawGears(1, 1);
  ASSERT_FALSE(dialogs.Asked().empty());
  EXPECT_EQ(dialogs.Asked().back().kind, platform::AskedDialog::Kind::SaveFile);
  EXPECT_EQ(dialogs.Asked().back().text, "pump.v1.dxf");
  // Saved under the name typed without its extension: that is the design
  // "pump.v1", never "pump", written over its own file.
  dialogs.ClearRecord();
  common::AbortFlag = 0;
  calc::EllipseCurve.a += 1;
  dialogs.Then(platform::ScriptedAnswer::File(dir.Path("pump.v1")));
  app::SaveDataFile("");
  ASSERT_EQ(dialogs.Asked().size(), 1u);
  EXPECT_EQ(dialogs.Asked()[0].text, "pump.v1.vb4");
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(common::CurrentFileName, "pump.v1");
  EXPECT_FALSE(fs::exists(dir.Path("pump.vb4")));
  EXPECT_NE(Slurp(dir.Path("pump.v1.vb4")), Slurp(std::string(VOB_SOURCE_DIR) + "/resources/null.vb4"));
  EXPECT_EQ(common::DataFileName(), common::AddBackslash(dir.Dir().string()) + "pump.v1.vb4");
  EXPECT_EQ(dir.Entries(), 1u);
  common::DataDirectory.clear();
  common::CurrentFileName.clear();
}

// A diagram over the drive angle from the command line: index 12 is
// diagram 7 (angular velocity), written as a DXF file that the independent
// reader loads without errors.
TEST(CommandLineProgram, DiagramAsDxf) {
  if (!testsupport::ReaderPresent()) GTEST_SKIP() << "ezdxf is not installed for /usr/bin/python3";
  const testsupport::ScratchDirectory dir("cmd_cad_diagram");
  CopyDefaultDesign(dir, "x.vb4");
  const ProgramRun run = RunProgram(dir, "x.vb4 /CAD1:12");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const testsupport::DxfOutline dxf = testsupport::ReadOutline(dir.Path("x.dxf"));
  EXPECT_EQ(dxf.loadStatus, 0);
  EXPECT_EQ(dxf.auditErrors, 0);
  int drawn = 0;
  for (const auto& [type, count] : dxf.entities) drawn += count;
  EXPECT_GT(drawn, 100) << "a curve over 360 degrees with its axes";
}

// The batch outputs are named after the design: an output that is the
// design file itself, by its name or by another name (a symbolic or a hard
// link, another path), would replace the design. Nothing is written; the
// message names both, exit code 2, and the design stays as it was.
TEST(CommandLineProgram, OutputIsNeverTheDesignFile) {
  const testsupport::ScratchDirectory dir("cmd_same_file");
  const std::string design = Slurp(std::string(VOB_SOURCE_DIR) + "/resources/null.vb4");
  struct Case {
    std::string file, args, output;
  };
  for (const Case& c : std::vector<Case>{{"x.txt", "x.txt /I", "x.txt"},
                                         {"x.dxf", "x.dxf /CAD1:1", "x.dxf"},
                                         {"x.txt", "x.txt /CAD5:3", "x.txt"},
                                         {"x.stl", "x.stl /cad6:2", "x.stl"},
                                         {"x.txt", "sub/../x.txt /I", "x.txt"}}) {
    fs::create_directories(dir.Path("sub"));
    testsupport::Put(dir.Path(c.file), design);
    const ProgramRun run = RunProgram(dir, c.args);
    EXPECT_EQ(run.exitCode, 2) << c.args;
    const std::string input = c.args.substr(0, c.args.find(' '));
    EXPECT_EQ(run.err, "vob4: the output " + c.output + " is the design file " + input +
                           " itself: nothing was written\n") << c.args;
    EXPECT_EQ(Slurp(dir.Path(c.file)), design) << c.args;
    fs::remove(dir.Path(c.file));
    fs::remove_all(dir.Path("sub"));
    EXPECT_EQ(dir.Entries(), 0u) << c.args << ": nothing else was written";
  }

  // Another name for the design: the printout's name is a symbolic link to
  // it, the STL file's name a hard link.
  testsupport::Put(dir.Path("d.vb4"), design);
  fs::create_symlink("d.vb4", dir.Path("d.txt"));
  fs::create_hard_link(dir.Path("d.vb4"), dir.Path("d.stl"));
  for (const auto& [args, output] : std::vector<std::pair<std::string, std::string>>{{"d.vb4 /I", "d.txt"},
                                                                                      {"d.vb4 /CAD6:1", "d.stl"}}) {
    const ProgramRun run = RunProgram(dir, args);
    EXPECT_EQ(run.exitCode, 2) << args;
    EXPECT_EQ(run.err, "vob4: the output " + output + " is the design file d.vb4 itself: nothing was written\n");
    EXPECT_EQ(Slurp(dir.Path("d.vb4")), design) << args;
  }
  // The design named without its extension (read as d.vb4).
  const ProgramRun bare = RunProgram(dir, "d /I");
  EXPECT_EQ(bare.exitCode, 2);
  EXPECT_EQ(bare.err, "vob4: the output d.txt is the design file d itself: nothing was written\n");
  EXPECT_EQ(Slurp(dir.Path("d.vb4")), design);
  EXPECT_TRUE(fs::is_symlink(dir.Path("d.txt")));
  EXPECT_EQ(dir.Entries(), 3u);

  // A design in another directory, and a dangling link in the printout's
  // place that leads nowhere near it: no conflict, the printout is written.
  fs::create_directories(dir.Path("designs"));
  testsupport::Put(dir.Path("designs/e.vb4"), design);
  const ProgramRun other = RunProgram(dir, "designs/e.vb4 /I");
  EXPECT_EQ(other.exitCode, 0) << other.err;
  EXPECT_NE(Slurp(dir.Path("e.txt")).find("VOB4 V5.2\t"), std::string::npos);
  EXPECT_EQ(Slurp(dir.Path("designs/e.vb4")), design);
}

// Every failure to read the design of a batch run says why in one line on
// standard error, with exit code 1: not there, a directory, not a design
// file (the reader's line and what it expected there, at most 200
// characters), cut short.
TEST(CommandLineProgram, ReadFailuresSayWhy) {
  const testsupport::ScratchDirectory dir("cmd_read_failures");
  const std::string design = Slurp(std::string(VOB_SOURCE_DIR) + "/resources/null.vb4");
  fs::create_directory(dir.Path("folder.vb4"));
  std::string prose;
  for (int i = 1; i <= 40; ++i) prose += "line " + std::to_string(i) + " of a letter\r\n";
  testsupport::Put(dir.Path("letter.vb4"), prose);
  const auto lines = testsupport::SplitLines(design);
  testsupport::Put(dir.Path("short.vb4"), testsupport::Joined(lines, 30));
  auto damaged = lines;
  damaged[26] = "1e999";  // the face width
  testsupport::Put(dir.Path("huge.vb4"), testsupport::Joined(damaged));
  damaged[26] = std::string(5000, 'x');
  // "Maß Ä" in code page 850 where the centre distance belongs.
  auto coded = lines;
  coded[7] = "Ma\xE1 \x8E";
  testsupport::Put(dir.Path("Zähne.vb4"), testsupport::Joined(coded));
  ASSERT_EQ(::mkfifo(dir.Path("pipe.vb4").c_str(), 0600), 0);
  fs::create_directory(dir.Path(std::string(150, 'n')));
  const std::string longName = std::string(150, 'n') + "/long.vb4";
  testsupport::Put(dir.Path(longName), testsupport::Joined(damaged));

  struct Case {
    std::string args, message;
  };
  for (const Case& c : std::vector<Case>{
           {"missing.vb4 /I", "vob4: cannot read the design file: missing.vb4: No such file or directory\n"},
           {"folder.vb4 /CAD1:1", "vob4: cannot read the design file: folder.vb4: Is a directory\n"},
           {"letter.vb4 /I",
            "vob4: cannot read the design file: letter.vb4, line 8: not a number: \"line 8 of a letter\" !\n"},
           {"short.vb4 /I", "vob4: cannot read the design file: short.vb4: file ends before line 31 !\n"},
           {"huge.vb4 /I",
            "vob4: cannot read the design file: huge.vb4, line 27: not a finite number: \"1e999\" !\n"},
           // A name in UTF-8 is told as given, a line of the file in its code page.
           {"Räder.vb4 /I", "vob4: cannot read the design file: Räder.vb4: No such file or directory\n"},
           {"Zähne.vb4 /I", "vob4: cannot read the design file: Zähne.vb4, line 8: not a number: \"Maß Ä\" !\n"},
           // A pipe is not read (it would wait), and says what it is.
           {"pipe.vb4 /I", "vob4: cannot read the design file: pipe.vb4: not a regular file\n"},
           // An absolute name without its extension is the file of that path.
           {testsupport::Quoted(dir.Path("gone")) + " /I", "vob4: cannot read the design file: " + dir.Path("gone.vb4") +
                                          ": No such file or directory\n"}}) {
    const ProgramRun run = RunProgram(dir, c.args);
    EXPECT_EQ(run.exitCode, 1) << c.args;
    EXPECT_EQ(run.err, c.message) << c.args;
  }
  // A long path and a long line: one line of at most 200 characters of
  // reason, ending in "...".
  const ProgramRun run = RunProgram(dir, longName + " /I");
  EXPECT_EQ(run.exitCode, 1);
  const std::string prefix = "vob4: cannot read the design file: ";
  ASSERT_EQ(run.err.substr(0, prefix.size()), prefix);
  const std::string reason = run.err.substr(prefix.size());
  EXPECT_EQ(std::count(reason.begin(), reason.end(), '\n'), 1);
  EXPECT_EQ(reason.size(), 201u) << reason;
  EXPECT_EQ(reason.substr(reason.size() - 4), "...\n");
  EXPECT_EQ(dir.Entries(), 7u) << "nothing was written";
  // An absolute name without its extension that is there is read.
  testsupport::Put(dir.Path("whole.vb4"), design);
  const ProgramRun whole = RunProgram(dir, testsupport::Quoted(dir.Path("whole")) + " /I");
  EXPECT_EQ(whole.exitCode, 0) << whole.err;
  EXPECT_TRUE(fs::exists(dir.Path("whole.txt")));
}

// A printout that cannot be written names the file and the system's
// reason, with exit code 2, and leaves nothing behind.
TEST(CommandLineProgram, WriteFailureNamesTheReason) {
  const testsupport::ScratchDirectory dir("cmd_write_failure");
  CopyDefaultDesign(dir, "x.vb4");
  fs::create_directory(dir.Path("x.txt"));
  const ProgramRun run = RunProgram(dir, "x.vb4 /I");
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err, "vob4: the printout could not be written: x.txt: Is a directory\n");
  EXPECT_EQ(dir.Entries(), 2u);

  // A folder the user may not write: root may write every folder, so the
  // run drops to an unprivileged user first.
  fs::permissions(dir.Dir(), fs::perms::all);
  fs::create_directory(dir.Path("readonly"));
  CopyDefaultDesign(dir, "readonly/x.vb4");
  fs::permissions(dir.Path("readonly"), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                            fs::perms::others_read | fs::perms::others_exec);
  const testsupport::ChildReport report = testsupport::RunUnprivileged([&] {
    testsupport::Findings findings;
    const ProgramRun denied = RunProgram(dir, "x.vb4 /I", "", dir.Path("readonly"));
    findings.Check(denied.exitCode == 2, "exit code " + std::to_string(denied.exitCode));
    findings.Check(denied.err == "vob4: the printout could not be written: x.txt: Permission denied\n",
                   "message " + denied.err);
    return findings.Text();
  });
  fs::permissions(dir.Path("readonly"), fs::perms::owner_all);
  if (report.skipped) GTEST_SKIP() << report.text;
  EXPECT_EQ(report.text, "");
  EXPECT_FALSE(fs::exists(dir.Path("readonly/x.txt")));
}

// The default design with its drive changed: speed (line 43), power (line
// 44) and entered torque (line 201) of the design file.
void PutDrive(const testsupport::ScratchDirectory& dir, const std::string& name, const std::string& n,
              const std::string& p, const std::string& t = "0") {
  auto lines = testsupport::SplitLines(Slurp(std::string(VOB_SOURCE_DIR) + "/resources/null.vb4"));
  ASSERT_EQ(lines.at(42), "1000.0000000");
  ASSERT_EQ(lines.at(43), "30.0000000");
  ASSERT_EQ(lines.at(200), "0");
  lines[42] = n;
  lines[43] = p;
  lines[200] = t;
  testsupport::Put(dir.Path(name), testsupport::Joined(lines));
}

std::size_t Occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// A drive without power, or a pinion at rest, is no failing pair: its
// printout, pictures and CAD files are made, the safety rows and diagrams
// say what it lacks and that it is not rated, and the message list says it
// once. A negative quantity is refused, named.
TEST(CommandLineProgram, ADriveWithoutLoadIsNotRated) {
  const testsupport::ScratchDirectory dir("cmd_no_load");
  PutDrive(dir, "p0.vb4", "1000", "0");
  PutDrive(dir, "n0.vb4", "0", "0");
  for (const auto& [design, notice, cell, sentence] :
       std::vector<std::tuple<std::string, std::string, std::string, std::string>>{
           {"p0", "no load (P = 0)", "no load", "the pair carries "},
           {"n0", "no speed (n1 = 0)", "not rated", "the pair has "}}) {
    SCOPED_TRACE(design);
    const std::string message = "Warning: " + notice + ": not rated !";
    const ProgramRun run = RunProgram(dir, design + ".vb4 /I");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    // Standard error tells what the message list says, once.
    EXPECT_EQ(run.err, "vob4: " + message + "\n");
    const std::string txt = Slurp(dir.Path(design + ".txt"));
    EXPECT_NE(txt.find("\nsafety factor pitting\tSH\t\t" + cell + "\t" + cell), std::string::npos) << txt;
    EXPECT_NE(txt.find("\nsafety factor tooth breakage\tSF\t\t" + cell + "\t" + cell), std::string::npos);
    EXPECT_EQ(Occurrences(txt, sentence + notice + ", not rated"), 2u);
    EXPECT_EQ(Occurrences(txt, message), 1u);
    EXPECT_EQ(txt.find("SH<1"), std::string::npos);
    EXPECT_EQ(txt.find("SF<1"), std::string::npos);
    EXPECT_EQ(txt.find("Fatal"), std::string::npos);
    // The gear, a pitch-curve diagram and the velocity diagram are drawn
    // as for any pair; the safety diagram says why it has no curve.
    for (const char* option : {"/CAD1:1", "/CAD7:1", "/CAD1:9", "/CAD1:12", "/CAD1:18"}) {
      const ProgramRun cad = RunProgram(dir, design + ".vb4 " + option);
      EXPECT_EQ(cad.exitCode, 0) << option << cad.err;
      EXPECT_EQ(cad.err, "vob4: " + message + "\n") << option;
    }
    const std::string sf = Slurp(dir.Path(design + ".dxf"));
    EXPECT_EQ(Occurrences(sf, notice + ", not rated"), 2u) << "the diagram and its minima";
  }

  // The torque entered is printed as entered, not as the 0 the teeth carry.
  PutDrive(dir, "t250.vb4", "1000", "0", "250");
  const ProgramRun torque = RunProgram(dir, "t250.vb4 /I");
  EXPECT_EQ(torque.exitCode, 0) << torque.err;
  EXPECT_NE(Slurp(dir.Path("t250.txt")).find("\nnominal torque\tT\tNm\t   250.0\t"), std::string::npos);

  for (const auto& [n, p, t, message] : std::vector<std::tuple<std::string, std::string, std::string, std::string>>{
           {"-5", "30", "0", "Fatal  : n1 < 0 !\n"},
           {"1000", "-30", "0", "Fatal  : P < 0 !\n"},
           {"1000", "30", "-100", "Fatal  : T1 < 0 !\n"},
           {"0.0000001", "30", "0", "Fatal  : T1 > 1E9 Nm !\n"}}) {
    PutDrive(dir, "bad.vb4", n, p, t);
    for (const char* option : {"/I", "/CAD1:1"}) {
      const ProgramRun run = RunProgram(dir, std::string("bad.vb4 ") + option);
      EXPECT_EQ(run.exitCode, 2) << n << " " << p << " " << t;
      EXPECT_EQ(run.err, "vob4: the calculation of bad failed:\n" + message);
    }
  }
  EXPECT_FALSE(fs::exists(dir.Path("bad.txt")));
  EXPECT_FALSE(fs::exists(dir.Path("bad.dxf")));
}

// A write that fails on the way (a full disk; here the file-size limit,
// which stops root as well) names the file and the system's reason for the
// printout as for every CAD format, and leaves nothing behind. IGES fails on
// its parameter records, which go to a work file of the temporary
// directory first: that file is named.
TEST(CommandLineProgram, EveryOutputNamesTheReasonOfAFailedWrite) {
  const testsupport::ScratchDirectory dir("cmd_full");
  CopyDefaultDesign(dir, "x.vb4");
  // Writes beyond 4 KB fail with "File too large" instead of killing the run.
  const std::string limited = "sh -c 'trap \"\" XFSZ; ulimit -f 8; exec \"$0\" \"$@\"'";
  const ProgramRun printout = RunProgram(dir, "x.vb4 /I", limited);
  EXPECT_EQ(printout.exitCode, 2);
  EXPECT_EQ(printout.err, "vob4: the printout could not be written: x.txt: File too large\n");
  for (const auto& [format, file] : std::vector<std::pair<std::string, std::string>>{
           {"1", "x.dxf"}, {"2", "x.igs"}, {"5", "x.txt"}, {"6", "x.stl"}, {"7", "x.stp"}}) {
    const ProgramRun run = RunProgram(dir, "x.vb4 /CAD" + format + ":1", limited);
    EXPECT_EQ(run.exitCode, 2) << format;
    const std::string said = "vob4: drawing 1 could not be written in format " + format + ": ";
    if (format == "2") {
      EXPECT_EQ(run.err.rfind(said, 0), 0u) << run.err;
      EXPECT_TRUE(run.err.ends_with(".$$$: File too large\n")) << run.err;
      EXPECT_NE(run.err.find("/KALDIGES"), std::string::npos) << run.err;
    } else {
      EXPECT_EQ(run.err, said + file + ": File too large\n");
    }
  }
  EXPECT_EQ(dir.Entries(), 1u) << "only the design: nothing half written";
}

// The printout is written in place under the design's name, through a file
// of a name of its own that takes its place when complete: no fixed
// temporary name in the working directory or the temporary directory, so
// files of those names that the user cannot read (a pipe, a link that
// leads nowhere) change nothing, and nothing is left behind. The printout
// gets the mode of a new file (0666 less the umask).
// The names in a folder, sorted.
std::vector<std::string> EntriesOf(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Under a file-size limit every output fails as a write fails, with the
// system's reason, instead of the program being killed halfway through the
// file: nothing is left in the working folder or the temporary directory.
TEST(CommandLineProgram, AFileSizeLimitIsAFailedWrite) {
  const testsupport::ScratchDirectory dir("cmd_size_limit");
  fs::create_directories(dir.Path("work"));
  fs::create_directories(dir.Path("tmp"));
  CopyDefaultDesign(dir, "work/d.vb4");
  for (const auto& [option, output] : std::vector<std::pair<std::string, std::string>>{
           {"/I", "d.txt"}, {"/CAD1:1", "d.dxf"}, {"/CAD2:1", "d.igs"}, {"/CAD5:3", "d.txt"},
           {"/CAD6:1", "d.stl"}, {"/CAD7:1", "d.stp"}}) {
    const ProgramRun run = RunProgram(dir, "d.vb4 " + option,
                                      "TMPDIR='" + dir.Path("tmp") + "' sh -c 'ulimit -f 4; exec \"$0\" \"$@\"'",
                                      dir.Path("work"));
    EXPECT_EQ(run.exitCode, 2) << option << run.err;
    // IGES names its parameter work file in the temporary directory.
    const std::string failed = option == "/CAD2:1" ? ".$$$" : output;
    EXPECT_NE(run.err.find(failed + ": File too large\n"), std::string::npos) << option << run.err;
    EXPECT_EQ(EntriesOf(dir.Path("work")), std::vector<std::string>{"d.vb4"}) << option;
    EXPECT_EQ(EntriesOf(dir.Path("tmp")), std::vector<std::string>{}) << option;
  }
}

// IGES goes through a work file in the temporary directory: a temporary
// directory that is missing, or full (a 64 KB disk of the run's own, in a
// user and mount namespace), refuses the drawing with that file and the
// system's reason; the old drawing keeps its bytes and nothing is left
// beside the design.
TEST(CommandLineProgram, AMissingOrFullTemporaryDirectoryKeepsTheOldIges) {
  const testsupport::ScratchDirectory dir("cmd_iges_tmp");
  fs::create_directories(dir.Path("work"));
  fs::create_directories(dir.Path("tmp"));
  CopyDefaultDesign(dir, "work/d.vb4");
  const std::string old = "an old drawing\r\n";
  testsupport::Put(dir.Path("work/d.igs"), old);
  int mounted = -1;
  testsupport::RunCommand("unshare -r -m sh -c 'mount -t tmpfs -o size=64k tmpfs \"$0\"' '" + dir.Path("tmp") +
                              "' 2>/dev/null",
                          &mounted);
  const std::string onSmallDisk = "unshare -r -m sh -c 'mount -t tmpfs -o size=64k tmpfs \"$TMPDIR\" && exec \"$0\" \"$@\"'";
  for (const auto& [tmp, launcher, reason] : std::vector<std::tuple<std::string, std::string, std::string>>{
           {dir.Path("missing"), "", "KALDIGES*.$$$: No such file or directory\n"},
           {dir.Path("tmp"), onSmallDisk, ".$$$: No space left on device\n"}}) {
    if (!launcher.empty() && mounted != 0) continue;
    SCOPED_TRACE(tmp);
    const ProgramRun run = RunProgram(dir, "d.vb4 /CAD2:1", "TMPDIR='" + tmp + "' " + launcher, dir.Path("work"));
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err.rfind("vob4: drawing 1 could not be written in format 2: " + tmp + "/KALDIGES", 0), 0u) << run.err;
    EXPECT_TRUE(run.err.ends_with(reason)) << run.err;
    EXPECT_EQ(Slurp(dir.Path("work/d.igs")), old);
    EXPECT_EQ(EntriesOf(dir.Path("work")), (std::vector<std::string>{"d.igs", "d.vb4"}));
  }
  if (mounted != 0) GTEST_SKIP() << "the system gives no mount namespace for a small disk";
}

// A run ended by SIGTERM or SIGINT while its temporary files exist (the
// check of the temporary directory, the spool of the output, the IGES
// parameter file) removes them on its way out and still ends by the signal.
TEST(CommandLineProgram, ARunEndedBySignalLeavesNoTemporaryFile) {
  const testsupport::ScratchDirectory dir("cmd_signal");
  fs::create_directories(dir.Path("work"));
  fs::create_directories(dir.Path("tmp"));
  CopyDefaultDesign(dir, "work/d.vb4");
  int caught = 0;
  for (int attempt = 0; attempt < 12; ++attempt) {
    const int signal = attempt % 2 ? SIGINT : SIGTERM;
    const char* option = attempt % 3 == 0 ? "/I" : attempt % 3 == 1 ? "/CAD2:1" : "/CAD7:1";
    const std::string output = attempt % 3 == 0 ? "d.txt" : attempt % 3 == 1 ? "d.igs" : "d.stp";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      if (::chdir(dir.Path("work").c_str()) != 0) ::_exit(126);
      ::setenv("TMPDIR", dir.Path("tmp").c_str(), 1);
      ::unsetenv("DISPLAY");
      ::unsetenv("WAYLAND_DISPLAY");
      ::execl(VOB_PROGRAM, VOB_PROGRAM, "d.vb4", option, static_cast<char*>(nullptr));
      ::_exit(127);
    }
    // Sent the moment a file of the run's own appears in either folder.
    bool sent = false;
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
      if (EntriesOf(dir.Path("work")).size() > 1 || !EntriesOf(dir.Path("tmp")).empty()) {
        ::kill(child, signal);
        sent = true;
        break;
      }
    }
    if (sent) ::waitpid(child, &status, 0);
    if (sent && WIFSIGNALED(status)) {
      ++caught;
      EXPECT_EQ(WTERMSIG(status), signal);
      // The output itself may be complete when the signal comes.
      std::vector<std::string> work = EntriesOf(dir.Path("work"));
      work.erase(std::remove(work.begin(), work.end(), output), work.end());
      EXPECT_EQ(work, std::vector<std::string>{"d.vb4"}) << option;
      EXPECT_EQ(EntriesOf(dir.Path("tmp")), std::vector<std::string>{}) << option;
    }
    for (const std::string& name : EntriesOf(dir.Path("work")))
      if (name != "d.vb4") fs::remove(dir.Path("work/" + name));
  }
  EXPECT_GT(caught, 0) << "no run was caught with a temporary file";
}

TEST(CommandLineProgram, PrintoutLeavesNoTemporaryFile) {
  const testsupport::ScratchDirectory dir("cmd_no_temporary");
  fs::create_directories(dir.Path("work"));
  fs::create_directories(dir.Path("tmp"));
  CopyDefaultDesign(dir, "work/x.vb4");
  for (const std::string& folder : {dir.Path("work"), dir.Path("tmp")}) {
    ASSERT_EQ(::mkfifo((folder + "/$$$1.txt").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((folder + "/$OUT1.TMP").c_str(), 0600), 0);
    fs::create_symlink("nowhere/at/all", folder + "/$$1.txt");
  }
  const ProgramRun run = RunProgram(dir, "x.vb4 /I /NOGUI", "TMPDIR='" + dir.Path("tmp") + "' sh -c 'umask 027; exec \"$0\" \"$@\"'",
                                    dir.Path("work"));
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(Slurp(dir.Path("work/x.txt")).find("TOOTH ROOT LOAD-BEARING CAPACITY"), std::string::npos);
  EXPECT_EQ(fs::status(dir.Path("work/x.txt")).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  std::vector<std::string> work, tmp;
  for (const auto& e : fs::directory_iterator(dir.Path("work"))) work.push_back(e.path().filename().string());
  for (const auto& e : fs::directory_iterator(dir.Path("tmp"))) tmp.push_back(e.path().filename().string());
  std::sort(work.begin(), work.end());
  std::sort(tmp.begin(), tmp.end());
  EXPECT_EQ(work, (std::vector<std::string>{"$$$1.txt", "$$1.txt", "$OUT1.TMP", "x.txt", "x.vb4"}));
  EXPECT_EQ(tmp, (std::vector<std::string>{"$$$1.txt", "$$1.txt", "$OUT1.TMP"}));
}

TEST(CommandLine, ParsesTheOptions) {
  using Kind = app::CommandLine::Kind;
  EXPECT_EQ(app::ParseCommandLine({}).kind, Kind::None);
  EXPECT_EQ(app::ParseCommandLine({"?"}).kind, Kind::Usage);
  EXPECT_EQ(app::ParseCommandLine({"-?"}).kind, Kind::Usage);
  EXPECT_EQ(app::ParseCommandLine({"/NOGUI"}).kind, Kind::None);
  // The switch before the file, and "/NOGUI" anywhere.
  for (const std::vector<std::string>& params : std::vector<std::vector<std::string>>{
           {"/I", "a.vb4"}, {"/NOGUI", "a.vb4", "/I"}, {"a.vb4", "/nogui", "-i"}}) {
    const app::CommandLine line = app::ParseCommandLine(params);
    EXPECT_EQ(line.kind, Kind::TextPrintout) << params[0];
    EXPECT_EQ(line.fileName, "a.vb4") << params[0];
    EXPECT_TRUE(line.fileGiven);
  }
  EXPECT_FALSE(app::ParseCommandLine({"/CAD1:1"}).fileGiven);
  EXPECT_TRUE(app::ParseCommandLine({"", "/I"}).fileGiven);
  for (const char* option : {"/I", "/i", "-I", "-i"})
    EXPECT_EQ(app::ParseCommandLine({"a.vb4", option}).kind, Kind::TextPrintout) << option;
  for (const char* option : {"/E", "/e", "/G"})
    EXPECT_EQ(app::ParseCommandLine({"a.vb4", option}).kind, Kind::NoRead) << option;
  EXPECT_EQ(app::ParseCommandLine({"a.vb4", "/g"}).kind, Kind::OpenFile);
  EXPECT_EQ(app::ParseCommandLine({"a.vb4"}).kind, Kind::OpenFile);

  const app::CommandLine cad = app::ParseCommandLine({"a.vb4", "/cad5:3"});
  EXPECT_EQ(cad.kind, Kind::CadOutput);
  EXPECT_EQ(cad.format, 5);
  EXPECT_EQ(cad.drawing, 3);
  const app::CommandLine twelve = app::ParseCommandLine({"a.vb4", "-CAD1:12"});
  EXPECT_EQ(twelve.format, 1);
  EXPECT_EQ(twelve.drawing, 12);
  // One digit of format only; what does not read as a number is 0.
  const app::CommandLine odd = app::ParseCommandLine({"a.vb4", "/CAD12:x"});
  EXPECT_EQ(odd.format, 1);
  EXPECT_EQ(odd.drawing, 0);
}

// The CAD path hands the drawing to the drawing entry points with the
// batch naming on: 1..5 are gear pictures, 6..19 the diagrams 1..14.
TEST(CommandLine, CadOutputGoesToTheDrawingEntryPoints) {
  const testsupport::ScratchDirectory dir("cmd_cad");
  const fs::path previous = fs::current_path();
  fs::current_path(dir.Dir());
  common::SetKaldvarDefaults();
  common::SetProgramIdentity();
  CopyDefaultDesign(dir, "x.vb4");
  std::vector<std::string> calls;
  app::Entry().DrawGears = [&](int mode, int device) {
    calls.push_back("gears " + std::to_string(mode) + " " + std::to_string(device) +
                    (common::CadBatchNaming ? " batch" : ""));
  };
  app::Entry().ShowDiagrams = [&](int code, int device) {
    calls.push_back("diagram " + std::to_string(code) + " " + std::to_string(device));
  };
  std::ostringstream out, err;
  for (const char* option : {"/CAD1:1", "/cad5:3", "/CAD6:1", "/CAD7:1", "/CAD1:12", "/CAD2:19", "/CAD1:20"})
    EXPECT_EQ(app::RunBatch(app::ParseCommandLine({"x.vb4", option}), out, err, false), 0) << option << err.str();
  EXPECT_EQ(calls, (std::vector<std::string>{"gears 1 1 batch", "gears 3 5 batch", "gears 1 6 batch",
                                             "gears 1 7 batch", "diagram 7 1", "diagram 14 2"}));
  EXPECT_FALSE(common::CadBatchNaming);

  // A drawing that fails (here: cancelled) fails the run.
  app::Entry().DrawGears = [](int, int) { common::AbortFlag = 1; };
  EXPECT_EQ(app::RunBatch(app::ParseCommandLine({"x.vb4", "/CAD1:1"}), out, err, false), 2);
  app::ResetEntryPoints();
  fs::current_path(previous);
}

// What a writer says while a batch output is made reaches standard error,
// whether it is a box no one sees or a text added to the message list,
// each once; the calculation's own findings on the way (a picture rating
// positions again) are not the writer's. A refusal is told once, in the
// line that says the drawing was not written.
TEST(CommandLine, WhatAWriterSaysIsPrinted) {
  const testsupport::ScratchDirectory dir("cmd_writer_messages");
  const fs::path previous = fs::current_path();
  fs::current_path(dir.Dir());
  common::SetKaldvarDefaults();
  common::SetProgramIdentity();
  CopyDefaultDesign(dir, "x.vb4");
  // A part file replayed into the output holds what the reader skips.
  const std::string skipped = "DXF: WIPEOUT";
  app::Entry().DrawGears = [&](int, int) {
    {
      const common::CalculationMessagesScope calculating;
      common::AddErrorMessage("Warning: SH<1 (1) (0.85) !");
    }
    common::ShowError(skipped);
    common::AddErrorMessage("Error  : " + skipped);
    common::AddErrorMessage("Error  : DXF: OLE2FRAME");
  };
  std::ostringstream out, err;
  EXPECT_EQ(app::RunBatch(app::ParseCommandLine({"x.vb4", "/CAD7:1"}), out, err, false), 0);
  EXPECT_EQ(err.str(), "vob4: " + skipped + "\nvob4: Error  : DXF: OLE2FRAME\n");

  // Refused: the reason once, in the failure line, after what came before.
  app::Entry().DrawGears = [](int, int) {
    common::AddErrorMessage("Error  : dB > df (2)");
    drawing::RefuseCadOutput("the bore of gear 2 does not lie inside its root");
  };
  err.str("");
  EXPECT_EQ(app::RunBatch(app::ParseCommandLine({"x.vb4", "/CAD7:2"}), out, err, false), 2);
  EXPECT_EQ(err.str(),
            "vob4: Error  : dB > df (2)\n"
            "vob4: drawing 2 could not be written in format 7: the bore of gear 2 does not lie inside its root\n");
  app::ResetEntryPoints();
  fs::current_path(previous);
}

TEST(CommandLine, InteractiveStartWithAFile) {
  const testsupport::ScratchDirectory dir("cmd_open");
  const fs::path previous = fs::current_path();
  fs::current_path(dir.Dir());
  platform::ScriptedDialogs dialogs;
  platform::ScopedDialogs scoped(dialogs);
  common::SetKaldvarDefaults();
  common::SetProgramIdentity();
  common::MessagesEnabled = 1;

  // Without an extension: a message, and the program ends.
  EXPECT_EQ(app::OpenStartFile(app::ParseCommandLine({"design"})), std::optional<int>(0));
  ASSERT_EQ(dialogs.Asked().size(), 1u);
  EXPECT_EQ(dialogs.Asked()[0].text, "extension .vb4 missing");

  // A design that reads: the program goes on with it.
  CopyDefaultDesign(dir, "good.vb4");
  EXPECT_EQ(app::OpenStartFile(app::ParseCommandLine({"good.vb4"})), std::nullopt);
  EXPECT_EQ(app::StartedWithFile, 1);
  // The name shown under the pictures and in the title is the file's, not
  // the file's with the extension added once more.
  EXPECT_EQ(common::DataFileName(), "good.vb4");
  EXPECT_EQ(common::UpdateAppTitle().substr(common::UpdateAppTitle().size() - 8), "good.vb4");
  fs::create_directory(dir.Path("sub dir"));
  CopyDefaultDesign(dir, "sub dir/Zahnräder.vb4");
  EXPECT_EQ(app::OpenStartFile(app::ParseCommandLine({"sub dir/Zahnräder.vb4"})), std::nullopt);
  EXPECT_EQ(common::DataFileName(), "sub dir/Zahnräder.vb4");

  // A damaged design: no overwrite question, and the file stays as it was.
  dialogs.ClearRecord();
  testsupport::Put(dir.Path("bad.vb4"), "damaged\r\n");
  EXPECT_EQ(app::OpenStartFile(app::ParseCommandLine({"bad.vb4"})), std::nullopt);
  for (const auto& asked : dialogs.Asked()) EXPECT_EQ(asked.text.find("overwrite"), std::string::npos) << asked.text;
  EXPECT_EQ(Slurp(dir.Path("bad.vb4")), "damaged\r\n");
  EXPECT_EQ(common::AskBeforeOverwrite, 1);
  // The user is told, and the design on screen is not named after the
  // damaged file: a save asks for a name rather than replacing it.
  ASSERT_FALSE(dialogs.Asked().empty());
  EXPECT_EQ(dialogs.Asked()[0].messageKind, platform::MessageKind::Error) << dialogs.Asked()[0].text;
  EXPECT_NE(dialogs.Asked()[0].text.find("bad.vb4"), std::string::npos) << dialogs.Asked()[0].text;
  EXPECT_EQ(common::CurrentFileName, "");
  EXPECT_EQ(common::AbortFlag, 0);

  // A file that is not there is the name of a new design, quietly.
  dialogs.ClearRecord();
  EXPECT_EQ(app::OpenStartFile(app::ParseCommandLine({"new.vb4"})), std::nullopt);
  EXPECT_TRUE(dialogs.Asked().empty());
  EXPECT_EQ(common::CurrentFileName, "new.vb4");
  fs::current_path(previous);
}

}  // namespace
