// The command-line mode, run as the program itself without a display:
// the usage text, the exit codes of the batch paths, and the text
// printout written beside the design. The parsing of "/CADi:j" and the
// interactive start with a file are checked in-process.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <vector>
#include <string>

#include "app/data_file.h"
#include "calc/pitch_curve.h"
#include "app/entry_points.h"
#include "common/design_documentation.h"
#include "common/file_checks.h"
#include "common/graphics_facade.h"
#include "common/small_dialogs.h"
#include "common/kaldvar.h"
#include "platform/scripted_dialogs.h"
#include "support/dxf_outline.h"
#include "support/file_test_support.h"

namespace fs = std::filesystem;
using testsupport::Slurp;

namespace {

struct ProgramRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs the program in dir with the arguments, without a display.
ProgramRun RunProgram(const testsupport::ScratchDirectory& dir, const std::string& args) {
  const std::string out = dir.Path("stdout.log");
  const std::string err = dir.Path("stderr.log");
  const std::string command = "cd '" + dir.Dir().string() + "' && timeout 120 env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen '" +
                              std::string(VOB_PROGRAM) + "' " + args + " >'" + out + "' 2>'" + err + "'";
  const int status = std::system(command.c_str());
  ProgramRun run;
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = Slurp(out);
  run.err = Slurp(err);
  fs::remove(out);
  fs::remove(err);
  return run;
}

void CopyDefaultDesign(const testsupport::ScratchDirectory& dir, const std::string& name) {
  fs::copy_file(std::string(VOB_SOURCE_DIR) + "/resources/null.vb4", dir.Path(name));
}

TEST(CommandLineProgram, UsageTextHasTwentyLines) {
  const testsupport::ScratchDirectory dir("cmd_usage");
  for (const char* args : {"'?'", "/?"}) {
    const ProgramRun run = RunProgram(dir, args);
    EXPECT_EQ(run.exitCode, 0) << args;
    std::size_t count = 0;
    for (char c : run.out) count += c == '\n';
    EXPECT_EQ(count, 20u) << run.out;
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "VOB4 Command Line Mode");
    EXPECT_NE(run.out.find("Example: wvob4 test.vb4 /CAD1:1     ->  test.dxf\n"), std::string::npos);
  }
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
  // Indexes that name no drawing write nothing and succeed.
  for (const char* option : {"/CAD1:0", "/CAD1:20", "/cad5:20"}) {
    const ProgramRun run = RunProgram(dir, std::string("x.vb4 ") + option);
    EXPECT_EQ(run.exitCode, 0) << option;
    EXPECT_NE(run.err.find("nothing was written"), std::string::npos) << option << ": " << run.err;
  }
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

TEST(CommandLine, ParsesTheOptions) {
  using Kind = app::CommandLine::Kind;
  EXPECT_EQ(app::ParseCommandLine({}).kind, Kind::None);
  EXPECT_EQ(app::ParseCommandLine({"?"}).kind, Kind::Usage);
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
