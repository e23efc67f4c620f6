// The program itself on an X server of the test's own, worked by real key
// presses (the XTEST extension, through xdotool) as a user works it: a
// design whose name has dots of its own ("pump.v1") is changed in a dialog,
// saved with Ctrl+S, drawn as a DXF file under the name the file dialog
// offers, changed again and saved by the question when the window closes.
// Every name the window offers, it accepts: no refusal box, no other file.
#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/direct_run.h"
#include "support/file_test_support.h"
#include "support/own_x_server.h"
#include "support/x_tool.h"
#include "support/run_command.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

using testsupport::WaitUntil;
using testsupport::XTool;

namespace {

// The rotational speed the file holds, on a line of its own.
bool HoldsSpeed(const std::string& file, const std::string& speed) {
  return testsupport::Slurp(file).find("\n" + speed + ".0000000\r\n") != std::string::npos;
}

}  // namespace

TEST(DottedNamesByXEvents, SavedAndDrawnUnderTheNamesOffered) {
  const std::string tool = testsupport::RunCommand("command -v xdotool");
  if (tool.empty()) GTEST_SKIP() << "xdotool is not installed";
  const testsupport::OwnXServer server;
  if (server.Display().empty()) GTEST_SKIP() << "Xvfb is not installed or did not start";
  const XTool x(tool.substr(0, tool.find('\n')), server.Display());

  const testsupport::ScratchDirectory dir("dotted_names_x_events");
  const std::string design = dir.Path("pump.v1.vb4"), dxf = dir.Path("pump.v1.dxf");
  fs::copy_file(std::string(VOB_SOURCE_DIR) + "/resources/null.vb4", design);
  // The desktop's opener, which the program hands a written CAD file to,
  // opens nothing here.
  fs::create_directory(dir.Path("bin"));
  std::ofstream(dir.Path("bin/xdg-open")) << "#!/bin/sh\n";
  fs::permissions(dir.Path("bin/xdg-open"), fs::perms::owner_all);
  // On the test's server alone: no desktop of the user's, and the file
  // dialog's remembered folders kept in the scratch folder.
  const char* path = std::getenv("PATH");
  const testsupport::EnvironmentChanges environment{
      {"DISPLAY", server.Display()},
      {"PATH", dir.Path("bin") + ":" + (path ? path : "/usr/bin:/bin")},
      {"XDG_CONFIG_HOME", dir.Path("config")},
      {"QT_QPA_PLATFORM", std::nullopt},
      {"QT_QPA_PLATFORMTHEME", std::nullopt},
      {"WAYLAND_DISPLAY", std::nullopt},
      {"XDG_CURRENT_DESKTOP", std::nullopt},
      {"DESKTOP_SESSION", std::nullopt}};

  const std::string out = dir.Path("run.out"), err = dir.Path("run.err");
  const auto started = std::chrono::steady_clock::now();
  const pid_t program = testsupport::StartDirect(VOB_PROGRAM, {"pump.v1.vb4"}, environment, dir.Dir().string(), out, err);
  ASSERT_GT(program, 0);
  // A test that stops early ends the program with it.
  bool ended = false;
  struct Ender {
    std::function<void()> end;
    ~Ender() { end(); }
  } ender{[&] {
    if (!ended) testsupport::WaitDirect(program, started, 0s, out, err);
  }};

  const std::string window = x.WaitForTitle("pump\\.v1\\.vb4$", 20s);
  ASSERT_FALSE(window.empty()) << testsupport::Slurp(err);
  const auto onlyTheWindow = [&] { return x.Shown() == std::vector<std::string>{window}; };
  // A menu of the menu bar by its Alt key, open once its window shows.
  const auto openMenu = [&](const std::string& altKey) {
    x.Focus(window);
    x.Keys({altKey});
    return WaitUntil([&] { return x.Shown().size() == 2; }, 5s);
  };
  // Edit > Input/Output: the speed typed over the one shown, and OK.
  const auto changeSpeed = [&](const std::string& speed) {
    ASSERT_TRUE(openMenu("alt+e")) << x.Titles();
    x.Keys({"i"});
    const std::string dialog = x.WaitForTitle("Rot\\.speed");
    ASSERT_FALSE(dialog.empty()) << x.Titles();
    x.Focus(dialog);
    x.Keys({"ctrl+a"});
    x.Type(speed);
    x.Keys({"Return"});
    ASSERT_TRUE(WaitUntil(onlyTheWindow)) << x.Titles();
  };

  // File > Save (Ctrl+S) of a changed design: written over its own file.
  ASSERT_NO_FATAL_FAILURE(changeSpeed("1250"));
  x.Focus(window);
  x.Keys({"ctrl+s"});
  // Until it is written or a box comes up instead.
  WaitUntil([&] { return HoldsSpeed(design, "1250") || x.Shown().size() > 1; });
  EXPECT_TRUE(HoldsSpeed(design, "1250"));
  ASSERT_TRUE(onlyTheWindow()) << "a box came up: " << x.Titles();

  // CAD > Gear wheels: DXF in the device choice (its first entry), then the
  // name the file dialog offers, taken with Enter.
  ASSERT_TRUE(openMenu("alt+c")) << x.Titles();
  x.Keys({"Down", "Return"});
  const std::string devices = x.WaitForTitle("^Select$");
  ASSERT_FALSE(devices.empty()) << x.Titles();
  x.Focus(devices);
  x.Keys({"space", "Return"});
  const std::string fileDialog = x.WaitForTitle("^Save As$");
  ASSERT_FALSE(fileDialog.empty()) << x.Titles();
  x.Focus(fileDialog);
  x.Keys({"Return"});
  // Until the drawing is written to its end, or a box comes up instead.
  const auto finished = [&] { return testsupport::Slurp(dxf).ends_with("\r\nEOF\r\n"); };
  WaitUntil([&] {
    const std::vector<std::string> shown = x.Shown();
    return finished() || std::any_of(shown.begin(), shown.end(), [&](const std::string& id) {
             return id != window && id != fileDialog;
           });
  });
  ASSERT_TRUE(finished()) << x.Titles();
  EXPECT_EQ(testsupport::Slurp(dxf).substr(0, 20), "  0\r\nSECTION\r\n  2\r\nH");
  EXPECT_TRUE(onlyTheWindow()) << "a box came up: " << x.Titles();

  // File > Exit of a changed design: the question, answered Yes with
  // Enter, saves it there, and the program ends.
  ASSERT_NO_FATAL_FAILURE(changeSpeed("1750"));
  ASSERT_TRUE(openMenu("alt+f")) << x.Titles();
  x.Keys({"Up", "Return"});
  ASSERT_TRUE(WaitUntil([&] { return x.Shown(true).size() == 2; })) << x.Titles();
  const std::vector<std::string> titled = x.Shown(true);
  const std::string question = titled[0] == window ? titled[1] : titled[0];
  x.Focus(question);
  x.Keys({"Return"});
  const testsupport::DirectRun run = testsupport::WaitDirect(program, std::chrono::steady_clock::now(), 10s, out, err);
  ended = true;
  EXPECT_EQ(run.exitCode, 0) << "signal " << run.signal << ": " << run.err;
  EXPECT_TRUE(HoldsSpeed(design, "1750"));

  // No other file beside them: no "pump.vb4", no "pump.dxf", no temporary
  // file left.
  std::vector<std::string> files;
  for (const auto& entry : fs::directory_iterator(dir.Dir()))
    if (entry.is_regular_file()) files.push_back(entry.path().filename().string());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"pump.v1.dxf", "pump.v1.vb4"}));
}
