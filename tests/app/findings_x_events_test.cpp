// The findings of a design and the pictures a form asks for, where the user
// can use them: worked with real key presses on an X server of the test's
// own, with a window manager where one is installed (openbox: frames with
// title bars, as on a desktop), at the smallest screen, where the strength
// inputs are two pages, and at the one where they are one form, the second
// under German menus:
// - Help, Error messages: the list as wide as its longest finding, its
//   frame on the screen;
// - Edit, Strength: the limited-life rows, switched on and off again, give
//   back their height, and the second page, hidden by a method that has
//   none, its width; a "?" picture's frame stands whole on the screen,
//   clear of the form's frame; Escape cancels, and the main window shows
//   the picture it showed before.
// And on the design whose list is full: an STL refused for its height of 0
// answers in its box and heads the list dialog, while Quick 3's DXF file
// and the printout carry the pair's list as the run without a window
// prints it; after them, and after a good STL, the list dialog is the
// pair's again.
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

namespace {

// The program on the design z7.vb4 of dir, on the display x works: its
// main window and its menus by their Alt keys. A test that stops early
// ends the program with it.
class Session {
 public:
  Session(const XTool& x, const testsupport::ScratchDirectory& dir, const std::string& display)
      : x_(x), out_(dir.Path("run.out")), err_(dir.Path("run.err")) {
    const testsupport::EnvironmentChanges environment{{"DISPLAY", display},
                                                      {"XDG_CONFIG_HOME", dir.Path("config")},
                                                      {"QT_QPA_PLATFORM", std::nullopt},
                                                      {"QT_QPA_PLATFORMTHEME", std::nullopt},
                                                      {"WAYLAND_DISPLAY", std::nullopt}};
    program_ = testsupport::StartDirect(VOB_PROGRAM, {"z7.vb4"}, environment, dir.Dir().string(), out_, err_);
    if (program_ > 0) window_ = x_.WaitForTitle("z7\\.vb4$", 20s);
  }
  ~Session() {
    if (program_ > 0 && !ended_) testsupport::WaitDirect(program_, std::chrono::steady_clock::now(), 0s, out_, err_);
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // The main window; empty when the program did not show it.
  const std::string& Window() const { return window_; }
  std::string Said() const { return testsupport::Slurp(err_); }
  bool OnlyTheWindow() const { return x_.Shown() == std::vector<std::string>{window_}; }
  // A menu of the menu bar by its Alt key, once its window shows; then the
  // keys that pick the item.
  void Menu(const std::string& altKey, const std::vector<std::string>& keys) const {
    x_.Focus(window_);
    x_.Keys({altKey});
    ASSERT_TRUE(WaitUntil([&] { return x_.Shown().size() == 2; }, 5s)) << x_.Titles();
    x_.Keys(keys);
  }
  // Waits for the program to end (after File > Exit).
  testsupport::DirectRun End() {
    ended_ = true;
    return testsupport::WaitDirect(program_, std::chrono::steady_clock::now(), 10s, out_, err_);
  }

 private:
  const XTool& x_;
  std::string out_, err_;
  pid_t program_ = 0;
  bool ended_ = false;
  std::string window_;
};

}  // namespace

TEST(FindingsByXEvents, ListAndPicturesStandWhereTheUserCanUseThem) {
  const std::string tool = testsupport::FoundCommand("xdotool"), xwd = testsupport::FoundCommand("xwd");
  if (tool.empty() || xwd.empty() || testsupport::FoundCommand("xwininfo").empty())
    GTEST_SKIP() << "xdotool, xwd or xwininfo is not installed";
  const testsupport::ScratchDirectory dir("findings_x_events");
  // Ellipse 60 x 50 with 7 teeth: a full list, its longest line the
  // finding of the interfering teeth.
  ASSERT_TRUE(testsupport::SaveDefaultDesignChanged(dir, "z7.vb4", [] { calc::NcPair.z1 = 7; }));
  for (const char* resource : {"vob4.hlp", "kaldrim.hlp", "vob4.err", "pattern.plt", "bearing.plt", "start.plt"})
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
    Session session(x, dir, server.Display());
    const std::string& window = session.Window();
    ASSERT_FALSE(window.empty()) << session.Said();
    const auto onlyTheWindow = [&] { return session.OnlyTheWindow(); };
    const auto menu = [&](const std::string& altKey, std::vector<std::string> keys) { session.Menu(altKey, keys); };
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
    // Help, Menu Language, Deutsch (the first): the menus in German, the
    // items where they were.
    if (s.german) {
      ASSERT_NO_FATAL_FAILURE(menu("alt+h", {"l", "Return"}));
      ASSERT_TRUE(WaitUntil(onlyTheWindow)) << x.Titles();
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
    const auto picture = [&] {
      return testsupport::RunCommand("'" + xwd + "' -silent -display " + server.Display() + " -id " + window + " | md5sum");
    };
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
    EXPECT_FALSE(pictureRect.Meets(formRect)) << pictureRect.x << "," << pictureRect.y << " form " << formRect.x
                                              << "," << formRect.y;
    EXPECT_TRUE(formRect.Inside(screen)) << formRect.x << "," << formRect.y;
    EXPECT_GT(pictureRect.width, 200);
    x.Focus(form);
    x.Keys({"Escape"});
    ASSERT_TRUE(WaitUntil(onlyTheWindow)) << x.Titles();
    EXPECT_TRUE(WaitUntil([&] { return picture() == before; }, 3s)) << "the main window's picture changed";

    // File > Exit (Datei > Beenden): the design is unchanged, the program
    // ends.
    ASSERT_NO_FATAL_FAILURE(menu(s.german ? "alt+d" : "alt+f", {"Up", "Return"}));
    const testsupport::DirectRun run = session.End();
    EXPECT_EQ(run.exitCode, 0) << run.err;
  }
}

namespace {

// The pair's messages as the run without a window prints them (UTF-8).
std::vector<std::string> BatchMessages(const std::string& said) {
  std::vector<std::string> lines;
  std::istringstream in(said);
  for (std::string line; std::getline(in, line);)
    if (line.rfind("vob4: ", 0) == 0) lines.push_back(line.substr(6));
  return lines;
}

// A message as far as a DXF file's texts hold it whatever their code page:
// up to the sweep's note or the first letter beyond ASCII.
std::string AsciiPart(const std::string& message) {
  std::size_t end = message.find(" first at ");
  for (std::size_t i = 0; i < std::min(end, message.size()); ++i)
    if (static_cast<unsigned char>(message[i]) >= 0x80) end = i;
  return message.substr(0, std::min(end, message.size()));
}

}  // namespace

TEST(FindingsByXEvents, ARefusalAnswersItsRequestAndTheSheetsKeepThePairsList) {
  const std::string tool = testsupport::FoundCommand("xdotool");
  if (tool.empty() || testsupport::FoundCommand("xwininfo").empty())
    GTEST_SKIP() << "xdotool or xwininfo is not installed";
  const testsupport::ScratchDirectory dir("refusal_x_events");
  ASSERT_TRUE(testsupport::SaveDefaultDesignChanged(dir, "z7.vb4", [] { calc::NcPair.z1 = 7; }));
  fs::copy_file(std::string(VOB_SOURCE_DIR) + "/resources/vob4.err", dir.Path("vob4.err"));
  int exitCode = -1;
  const std::vector<std::string> pair = BatchMessages(testsupport::RunProgramIn(dir, "z7.vb4 /I", exitCode));
  ASSERT_EQ(exitCode, 0);
  ASSERT_EQ(pair.size(), 12u);
  ASSERT_EQ(pair.back().rfind("Warning: list full", 0), 0u);
  for (const char* rating : {"Error  : Pitting", "eps.alpha < 1 !"})
    EXPECT_TRUE(std::any_of(pair.begin(), pair.end(), [&](const std::string& m) { return m.rfind(rating, 0) == 0; }))
        << rating;

  testsupport::OwnXServer server(false, "1024x768x24");
  if (server.Display().empty()) GTEST_SKIP() << "Xvfb is not installed or did not start";
  const bool managed = server.StartWindowManager(dir.Path("desktop"));
  const XTool x(tool, server.Display(), managed);
  Session session(x, dir, server.Display());
  ASSERT_FALSE(session.Window().empty()) << session.Said();
  const auto onlyTheWindow = [&] { return session.OnlyTheWindow(); };
  const auto menu = [&](const std::string& altKey, std::vector<std::string> keys) { session.Menu(altKey, keys); };
  // A dialog by its title, given the keys.
  const auto answer = [&](const std::string& title, std::vector<std::string> keys) {
    const std::string dialog = x.WaitForTitle(title, 20s);
    ASSERT_FALSE(dialog.empty()) << title << ": " << x.Titles();
    x.Focus(dialog);
    x.Keys(keys);
  };
  const auto type = [&](const std::string& title, const std::string& typed) {
    ASSERT_NO_FATAL_FAILURE(answer(title, {"ctrl+a"}));
    x.Type(typed);
    x.Keys({"Return"});
  };
  // Help > Error messages: the list's width (its longest line), then Escape.
  const auto listWidth = [&] {
    int width = 0;
    menu("alt+h", {"Down", "Return"});
    const std::string list = x.WaitForTitle("^Select$");
    EXPECT_FALSE(list.empty()) << x.Titles();
    if (list.empty()) return width;
    width = x.SettledGeometry(list).width;
    x.Focus(list);
    x.Keys({"Escape"});
    EXPECT_TRUE(WaitUntil(onlyTheWindow)) << x.Titles();
    return width;
  };
  // STL > Gear 1 at the height typed.
  const auto stl = [&](const std::string& name, const std::string& height) {
    ASSERT_NO_FATAL_FAILURE(menu("alt+c", {"Right", "Return"}));
    ASSERT_NO_FATAL_FAILURE(type("^Save As$", name));
    ASSERT_NO_FATAL_FAILURE(type("^Input$", height));
  };
  // CAD > Quick, sheet 3 as DXF: its message texts and the refusal's.
  const auto quick3 = [&](const std::string& name) {
    ASSERT_NO_FATAL_FAILURE(menu("alt+c", {"Return"}));
    ASSERT_NO_FATAL_FAILURE(answer("^[Ss]elect$", {"space", "Down", "Down", "Return"}));
    ASSERT_NO_FATAL_FAILURE(answer("^Select$", {"space", "Return"}));
    ASSERT_NO_FATAL_FAILURE(type("^Save As$", name));
    const std::string file = dir.Path(name + ".dxf");
    ASSERT_TRUE(WaitUntil([&] { return testsupport::Slurp(file).ends_with("\r\nEOF\r\n"); }, 30s)) << x.Titles();
    ASSERT_TRUE(WaitUntil(onlyTheWindow)) << x.Titles();
    const std::string bytes = testsupport::Slurp(file);
    for (const std::string& message : pair)
      EXPECT_NE(bytes.find("\n " + AsciiPart(message)), std::string::npos) << name << ": " << message;
    EXPECT_EQ(bytes.find("too thin"), std::string::npos) << name;
  };
  // View > Printout > Dimensions and Strength: the viewer's copy holds the
  // remarks; Escape closes it.
  const auto printout = [&] {
    ASSERT_NO_FATAL_FAILURE(menu("alt+v", {"Right", "Return"}));
    const std::string viewer = x.WaitForTitle("outwin", 60s);
    ASSERT_FALSE(viewer.empty()) << x.Titles();
    const std::string title = x.Title(viewer);
    const std::string text = testsupport::Slurp(title.substr(title.find('/')));
    const std::size_t remarks = text.find("REMARKS, WARNINGS AND ERROR MESSAGES");
    ASSERT_NE(remarks, std::string::npos);
    std::vector<std::string> listed;
    std::istringstream in(text.substr(remarks));
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const std::string trimmed = line.substr(std::min(line.find_first_not_of(' '), line.size()));
      for (const std::string& message : pair)
        if (trimmed == message) listed.push_back(message);
    }
    EXPECT_EQ(listed, pair);
    EXPECT_EQ(text.find("too thin"), std::string::npos);
    x.Focus(viewer);
    x.Keys({"Escape"});
    ASSERT_TRUE(WaitUntil(onlyTheWindow)) << x.Titles();
  };

  const int pairs = listWidth();
  // Refused: its box, then the list dialog with the refusal above the
  // pair's lines, wider by its longer line.
  ASSERT_NO_FATAL_FAILURE(stl("g0", "0"));
  ASSERT_NO_FATAL_FAILURE(answer("^Error  : $", {"Return"}));
  ASSERT_TRUE(WaitUntil(onlyTheWindow)) << x.Titles();
  EXPECT_FALSE(fs::exists(dir.Path("g0.stl")));
  EXPECT_GT(listWidth(), pairs);
  ASSERT_NO_FATAL_FAILURE(quick3("q3a"));
  ASSERT_NO_FATAL_FAILURE(printout());
  EXPECT_EQ(listWidth(), pairs) << "an output made since is the latest answer";
  // A good STL, and the same again.
  ASSERT_NO_FATAL_FAILURE(stl("g20", "20"));
  EXPECT_TRUE(WaitUntil([&] { return fs::exists(dir.Path("g20.stl")); }, 30s));
  ASSERT_TRUE(WaitUntil(onlyTheWindow)) << x.Titles();
  EXPECT_EQ(listWidth(), pairs);
  ASSERT_NO_FATAL_FAILURE(quick3("q3b"));
  ASSERT_NO_FATAL_FAILURE(printout());
  EXPECT_EQ(listWidth(), pairs);

  ASSERT_NO_FATAL_FAILURE(menu("alt+f", {"Up", "Return"}));
  const testsupport::DirectRun run = session.End();
  EXPECT_EQ(run.exitCode, 0) << run.err;
}
