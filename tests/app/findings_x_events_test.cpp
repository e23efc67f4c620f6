// The findings of a design shown where the user can use them, worked with
// real key presses on an X server of the test's own at two screen sizes:
// the list after a calculation (Help, Error messages) is as wide as its
// longest finding and stands on the screen; a form's picture (Cutting Tool,
// Aux. Image) stands whole on the screen beside the form, and the main
// window shows the picture it showed before once the form is cancelled.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "calc/calc_records.h"
#include "support/batch_runs.h"
#include "support/direct_run.h"
#include "support/file_test_support.h"
#include "support/own_x_server.h"
#include "support/run_command.h"
#include "support/x_tool.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testsupport::WaitUntil;
using testsupport::XTool;

namespace {

std::string Command(const std::string& name) {
  const std::string found = testsupport::RunCommand("command -v " + name);
  return found.substr(0, found.find('\n'));
}

}  // namespace

TEST(FindingsByXEvents, ListAndPicturesStandWhereTheUserCanUseThem) {
  const std::string tool = Command("xdotool"), xwd = Command("xwd");
  if (tool.empty() || xwd.empty()) GTEST_SKIP() << "xdotool or xwd is not installed";
  const testsupport::ScratchDirectory dir("findings_x_events");
  // Ellipse 60 x 50 with 7 teeth: a full list, its longest line the
  // finding of the interfering teeth.
  ASSERT_TRUE(testsupport::SaveDefaultDesignChanged(dir, "z7.vb4", [] { calc::NcPair.z1 = 7; }));
  for (const char* resource : {"rack.plt", "tooth.plt", "vob4.hlp", "kaldrim.hlp", "vob4.err"})
    fs::copy_file(std::string(VOB_SOURCE_DIR) + "/resources/" + resource, dir.Path(resource));

  for (const auto& [width, height] : {std::pair{800, 600}, {1024, 768}}) {
    SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
    const testsupport::OwnXServer server(false, std::to_string(width) + "x" + std::to_string(height) + "x24");
    if (server.Display().empty()) GTEST_SKIP() << "Xvfb is not installed or did not start";
    const XTool x(tool, server.Display());
    const XTool::Rect screen{0, 0, width, height};
    const testsupport::EnvironmentChanges environment{{"DISPLAY", server.Display()},
                                                      {"XDG_CONFIG_HOME", dir.Path("config")},
                                                      {"QT_QPA_PLATFORM", std::nullopt},
                                                      {"QT_QPA_PLATFORMTHEME", std::nullopt},
                                                      {"WAYLAND_DISPLAY", std::nullopt}};
    const std::string out = dir.Path("run.out"), err = dir.Path("run.err");
    const pid_t program = testsupport::StartDirect(VOB_PROGRAM, {"z7.vb4"}, environment, dir.Dir().string(), out, err);
    ASSERT_GT(program, 0);
    // A test that stops early ends the program with it.
    bool ended = false;
    struct Ender {
      std::function<void()> end;
      ~Ender() { end(); }
    } ender{[&] {
      if (!ended) testsupport::WaitDirect(program, std::chrono::steady_clock::now(), 0s, out, err);
    }};

    const std::string window = x.WaitForTitle("z7\\.vb4$", 20s);
    ASSERT_FALSE(window.empty()) << testsupport::Slurp(err);
    const auto onlyTheWindow = [&] { return x.Shown() == std::vector<std::string>{window}; };
    const auto menu = [&](const std::string& altKey, std::vector<std::string> keys) {
      x.Focus(window);
      x.Keys({altKey});
      ASSERT_TRUE(WaitUntil([&] { return x.Shown().size() == 2; }, 5s)) << x.Titles();
      x.Keys(keys);
    };

    // Help > Error messages: the list of the twelve lines, its longest
    // line whole without scrolling (about 64 characters), on the screen.
    ASSERT_NO_FATAL_FAILURE(menu("alt+h", {"Down", "Return"}));
    const std::string list = x.WaitForTitle("^Select$");
    ASSERT_FALSE(list.empty()) << x.Titles();
    const XTool::Rect listRect = x.Geometry(list);
    EXPECT_GT(listRect.width, 400);
    EXPECT_TRUE(listRect.Inside(screen)) << listRect.x << "," << listRect.y << " " << listRect.width;
    x.Focus(list);
    x.Keys({"Escape"});
    ASSERT_TRUE(WaitUntil(onlyTheWindow)) << x.Titles();

    // The main window's picture, then Edit > Cutting Tool > Aux. Image:
    // the picture in a window of its own, whole on the screen and clear of
    // the form; Escape cancels the form and the main window shows what it
    // showed.
    const auto picture = [&] { return testsupport::RunCommand("'" + xwd + "' -silent -display " + server.Display() + " -id " + window + " | md5sum"); };
    const std::string before = picture();
    ASSERT_NO_FATAL_FAILURE(menu("alt+e", {"Down", "Down", "Down", "Down", "Return"}));
    const std::string form = x.WaitForTitle("CUTTING TOOL$");
    ASSERT_FALSE(form.empty()) << x.Titles();
    x.Focus(form);
    x.Keys({"alt+i"});
    ASSERT_TRUE(WaitUntil([&] { return x.Shown().size() == 3; })) << x.Titles();
    std::string shown;
    for (const std::string& id : x.Shown())
      if (id != window && id != form) shown = id;
    const XTool::Rect pictureRect = x.Geometry(shown), formRect = x.Geometry(form);
    EXPECT_TRUE(pictureRect.Inside(screen)) << pictureRect.x << "," << pictureRect.y;
    EXPECT_FALSE(pictureRect.Meets(formRect)) << pictureRect.x << "," << pictureRect.y;
    EXPECT_GT(pictureRect.width, 250);
    x.Focus(form);
    x.Keys({"Escape"});
    ASSERT_TRUE(WaitUntil(onlyTheWindow)) << x.Titles();
    EXPECT_TRUE(WaitUntil([&] { return picture() == before; }, 3s)) << "the main window's picture changed";

    // File > Exit: the design is unchanged, the program ends.
    ASSERT_NO_FATAL_FAILURE(menu("alt+f", {"Up", "Return"}));
    const testsupport::DirectRun run = testsupport::WaitDirect(program, std::chrono::steady_clock::now(), 10s, out, err);
    ended = true;
    EXPECT_EQ(run.exitCode, 0) << run.err;
  }
}
