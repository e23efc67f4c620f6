// The findings of a design and the pictures a form asks for, where the user
// can use them: worked with real key presses on an X server of the test's
// own, with a window manager where one is installed (openbox: frames with
// title bars, as on a desktop), at the smallest screen, where the strength
// inputs are two pages, and at the one where they are one form, the second
// under German menus:
// - Help, Error messages: the list as wide as its longest finding, its
//   frame on the screen;
// - Help, Menu Language, German: the start picture speaks German too;
// - Edit, Strength: the limited-life rows, switched on and off again, give
//   back their height, and the second page, hidden by a method that has
//   none, its width; a "?" picture's frame stands whole on the screen,
//   clear of the form's frame; Escape cancels, and the main window shows
//   the picture it showed before. The picture is two fifths of the screen
//   wide, over the form only where the screen has no room beside it;
// - at the smallest screen, a refused STL heads the list; the printout then
//   carries the pair's list as the batch says it, as the list does after it.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <sstream>
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

TEST(FindingsByXEvents, ListAndPicturesStandWhereTheUserCanUseThem) {
  const std::string tool = testsupport::FoundCommand("xdotool"), xwd = testsupport::FoundCommand("xwd");
  if (tool.empty() || xwd.empty() || testsupport::FoundCommand("xwininfo").empty())
    GTEST_SKIP() << "xdotool, xwd or xwininfo is not installed";
  const testsupport::ScratchDirectory dir("findings_x_events");
  // Ellipse 60 x 50 with 7 teeth: a full list, its longest line the
  // finding of the interfering teeth.
  ASSERT_TRUE(testsupport::SaveDefaultDesignChanged(dir, "z7.vb4", [] { calc::NcPair.z1 = 7; }));
  int exitCode = -1;
  std::istringstream said(testsupport::RunProgramIn(dir, "z7.vb4 /I", exitCode));
  std::vector<std::string> pair;  // as the batch says them
  for (std::string line; std::getline(said, line);)
    if (line.rfind("vob4: ", 0) == 0) pair.push_back(line.substr(6));
  ASSERT_EQ(pair.size(), 12u);
  for (const char* resource :
       {"vob4.hlp", "kaldrim.hlp", "vob4.err", "pattern.plt", "bearing.plt", "start.plt", "start_de.plt"})
    fs::copy_file(std::string(VOB_SOURCE_DIR) + "/resources/" + resource, dir.Path(resource));

  struct Screen {
    int width, height;
    bool german;
  };
  for (const Screen& s : {Screen{800, 600, false}, Screen{1024, 768, true}}) {
    const std::string size = std::to_string(s.width) + "x" + std::to_string(s.height);
    SCOPED_TRACE(size + (s.german ? " German" : " English"));
    testsupport::OwnXServer server(false, size + "x24");
    if (server.Display().empty()) GTEST_SKIP() << "Xvfb is not installed or did not start";
    const bool managed = server.StartWindowManager(dir.Path("desktop"));
    const XTool x(tool, server.Display(), managed);
    const XTool::Rect screen{0, 0, s.width, s.height};
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
    // The window that came last besides those given.
    const auto newest = [&](std::vector<std::string> known) {
      std::string found;
      WaitUntil([&] {
        for (const std::string& id : x.Shown())
          if (std::find(known.begin(), known.end(), id) == known.end()) found = id;
        return !found.empty();
      });
      return found;
    };
    // The window's rows below its menu bar: the last three quarters xwd writes.
    const auto picture = [&] {
      auto dump = testsupport::RunCommand("'" + xwd + "' -silent -display " + server.Display() + " -id " + window);
      return dump.substr(dump.size() / 4);
    };
    // Help, Menu Language, Deutsch (the first): the menus in German, the
    // items where they were.
    if (s.german) {
      const std::string english = picture();
      ASSERT_NO_FATAL_FAILURE(menu("alt+h", {"l", "Return"}));
      ASSERT_TRUE(WaitUntil(onlyTheWindow)) << x.Titles();
      EXPECT_TRUE(WaitUntil([&] { return picture() != english; }, 3s)) << "the start picture stays English";
    }

    // Help > Error messages: the list of the twelve lines, its longest
    // line whole without scrolling (about 64 characters), on the screen.
    ASSERT_NO_FATAL_FAILURE(menu("alt+h", {"Down", "Return"}));
    const std::string list = x.WaitForTitle("^Select$");
    ASSERT_FALSE(list.empty()) << x.Titles();
    const XTool::Rect listRect = x.SettledGeometry(list);
    EXPECT_GT(listRect.width, 400);
    EXPECT_TRUE(listRect.Inside(screen)) << listRect.x << "," << listRect.y << " " << listRect.width;
    x.Focus(list);
    x.Keys({"Escape"});
    ASSERT_TRUE(WaitUntil(onlyTheWindow)) << x.Titles();

    // Edit > Strength (Bearbeiten > Festigkeit).
    const std::string before = picture();
    ASSERT_NO_FATAL_FAILURE(menu(s.german ? "alt+b" : "alt+e", {s.german ? "f" : "t"}));
    std::string form;
    if (s.width < 1024) {
      // The method (OK), then page 1: the focus from the first field back
      // past the five buttons and the "<" to the second life mode; space
      // shows its rows, Up hides them again.
      const std::string method = x.WaitForTitle("^Select$");
      ASSERT_FALSE(method.empty()) << x.Titles();
      x.Keys({"Return"});
      const std::string page1 = newest({window, method});
      ASSERT_FALSE(page1.empty()) << x.Titles();
      const XTool::Rect shut = x.SettledGeometry(page1);
      x.Keys({"shift+Tab", "shift+Tab", "shift+Tab", "shift+Tab", "shift+Tab", "shift+Tab", "shift+Tab", "space"});
      EXPECT_TRUE(WaitUntil([&] { return x.Geometry(page1).height > shut.height; }, 3s)) << "no rows shown";
      x.Keys({"Up"});
      EXPECT_TRUE(WaitUntil([&] { return x.Geometry(page1) == shut; }, 3s))
          << "the page keeps " << x.Geometry(page1).height - shut.height << " px of the hidden rows";
      // OK: page 2; its first "?" (the contact pattern) is the ninth
      // control after the first field.
      x.Keys({"Return"});
      form = newest({window, page1});
      ASSERT_FALSE(form.empty()) << x.Titles();
      x.SettledGeometry(form);
      x.Keys({"Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "space"});
    } else {
      // The one form. A method without the second page (part 41, two up
      // the method list) gives back the page's width; back to ISO, the
      // form is as it was.
      form = newest({window});
      ASSERT_FALSE(form.empty()) << x.Titles();
      const XTool::Rect whole = x.SettledGeometry(form);
      x.Keys({"Up", "Up"});
      EXPECT_TRUE(WaitUntil([&] { return x.Geometry(form).width < whole.width * 3 / 4; }, 3s))
          << "the form keeps the hidden page's width: " << x.Geometry(form).width;
      x.Keys({"Down", "Down"});
      EXPECT_TRUE(WaitUntil([&] { return x.Geometry(form) == whole; }, 3s)) << x.Geometry(form).width;
      // From the method list back past the five buttons and the lower
      // controls to the bearing's "?".
      std::vector<std::string> back(14, "shift+Tab");
      back.push_back("space");
      x.Keys(back);
    }
    const std::string shown = newest({window, form});
    ASSERT_FALSE(shown.empty()) << x.Titles();
    const XTool::Rect pictureRect = x.SettledGeometry(shown), formRect = x.SettledGeometry(form);
    EXPECT_TRUE(pictureRect.Inside(screen)) << pictureRect.x << "," << pictureRect.y << " " << pictureRect.width;
    EXPECT_TRUE(s.width - formRect.width <= pictureRect.width + 8 || !pictureRect.Meets(formRect))
        << pictureRect.x << "," << pictureRect.y << " form " << formRect.x << "," << formRect.y;
    EXPECT_TRUE(formRect.Inside(screen)) << formRect.x << "," << formRect.y;
    EXPECT_GE(pictureRect.width, s.width * 2 / 5);
    x.Focus(form);
    x.Keys({"Escape"});
    ASSERT_TRUE(WaitUntil(onlyTheWindow)) << x.Titles();
    EXPECT_TRUE(WaitUntil([&] { return picture() == before; }, 3s)) << "the main window's picture changed";

    const auto listWidth = [&] {  // Help > Error messages again
      menu("alt+h", {"Down", "Return"});
      const std::string shown = x.WaitForTitle("^Select$");
      const int width = shown.empty() ? 0 : x.SettledGeometry(shown).width;
      x.Keys({"Escape"});
      EXPECT_TRUE(WaitUntil(onlyTheWindow)) << x.Titles();
      return width;
    };
    const auto stl = [&](const std::string& name, const std::string& height) {  // STL > Gear 1
      ASSERT_NO_FATAL_FAILURE(menu("alt+c", {"Right", "Return"}));
      for (const auto& [title, typed] : std::vector<std::pair<std::string, std::string>>{{"^Save As$", name},
                                                                                         {"^Input$", height}}) {
        const std::string dialog = x.WaitForTitle(title, 20s);
        ASSERT_FALSE(dialog.empty()) << title << ": " << x.Titles();
        x.Focus(dialog), x.Keys({"ctrl+a"}), x.Type(typed), x.Keys({"Return"});
      }
    };
    // View > Printout: the pair's texts, and nothing of the refusal, in the
    // copy its viewer's title names.
    const auto printout = [&] {
      ASSERT_NO_FATAL_FAILURE(menu("alt+v", {"Right", "Return"}));
      const std::string title = x.Title(x.WaitForTitle("outwin", 60s));
      ASSERT_NE(title.find('/'), std::string::npos) << x.Titles();
      const std::string text = testsupport::Slurp(title.substr(title.find('/')));
      for (const std::string& m : pair) EXPECT_NE(text.find(m), std::string::npos) << m;
      EXPECT_EQ(text.find("too thin"), std::string::npos);
      x.Keys({"Escape"});
      ASSERT_TRUE(WaitUntil(onlyTheWindow)) << x.Titles();
    };
    if (!s.german) {
      ASSERT_NO_FATAL_FAILURE(stl("g0", "0"));
      x.Focus(x.WaitForTitle("^Error  : $", 20s)), x.Keys({"Return"});
      EXPECT_FALSE(fs::exists(dir.Path("g0.stl")));
      EXPECT_GT(listWidth(), listRect.width);
      ASSERT_NO_FATAL_FAILURE(printout());
      EXPECT_EQ(listWidth(), listRect.width) << "an output made since is the latest answer";
      ASSERT_NO_FATAL_FAILURE(stl("g20", "20"));
      EXPECT_TRUE(WaitUntil([&] { return fs::exists(dir.Path("g20.stl")) && onlyTheWindow(); }, 30s));
      EXPECT_EQ(listWidth(), listRect.width);
      ASSERT_NO_FATAL_FAILURE(printout());
    }

    // File > Exit (Datei > Beenden): the design is unchanged, the program
    // ends.
    ASSERT_NO_FATAL_FAILURE(menu(s.german ? "alt+d" : "alt+f", {"Up", "Return"}));
    const testsupport::DirectRun run = testsupport::WaitDirect(program, std::chrono::steady_clock::now(), 10s, out, err);
    ended = true;
    EXPECT_EQ(run.exitCode, 0) << run.err;
  }
}
