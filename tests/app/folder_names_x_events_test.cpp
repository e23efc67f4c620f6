// The program started in working folders whose names end in a letter
// beyond ASCII, '-', '.', '~' or a blank, worked by real key presses on an
// X server of the test's own: a design opened there, Settings > Save with
// a table folder of such a name typed in, the session written at exit; a
// second start finds the design on the recent list (Shift+F1) and opens
// the material table from the folder it was given. Nothing is ever written
// beside the working folder.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "support/direct_run.h"
#include "support/file_test_support.h"
#include "support/own_x_server.h"
#include "support/x_tool.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

using testsupport::WaitUntil;
using testsupport::XTool;

namespace {

struct Folder {
  std::string label;
  std::string name;
};

void PrintTo(const Folder& folder, std::ostream* out) { *out << folder.label; }

// The entries of a folder, by name.
std::set<std::string> Entries(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename().string());
  return names;
}

// One run of the program in its working folder, on the test's server.
class ProgramRun {
 public:
  ProgramRun(const XTool& x, const std::string& display, const fs::path& tools, const fs::path& folder) : x_(x) {
    const testsupport::EnvironmentChanges environment{{"DISPLAY", display},
                                                      {"XDG_CONFIG_HOME", (tools / "config").string()},
                                                      {"QT_QPA_PLATFORM", std::nullopt},
                                                      {"QT_QPA_PLATFORMTHEME", std::nullopt},
                                                      {"WAYLAND_DISPLAY", std::nullopt}};
    out_ = (tools / "run.out").string();
    err_ = (tools / "run.err").string();
    started_ = std::chrono::steady_clock::now();
    pid_ = testsupport::StartDirect(VOB_PROGRAM, {}, environment, folder.string(), out_, err_);
    // The window of a start without a design: the title and its version.
    if (pid_ > 0) window_ = x_.WaitForTitle("   V [0-9.]+$", 20s);
    if (!window_.empty()) x_.Focus(window_);
  }
  ~ProgramRun() {
    if (pid_ > 0 && !ended_) testsupport::WaitDirect(pid_, started_, 0s, out_, err_);
  }
  bool Started() const { return !window_.empty(); }
  std::string Errors() const { return testsupport::Slurp(err_); }
  bool OnlyTheWindow() const { return x_.Shown() == std::vector<std::string>{window_}; }
  bool CaptionEndsWith(const std::string& name) const { return x_.Title(window_).ends_with("  -  " + name); }

  // A menu of the menu bar by its Alt key, then the keys that pick the item.
  void Menu(const std::string& altKey, const std::vector<std::string>& keys) const {
    x_.Focus(window_);
    x_.Keys({altKey});
    ASSERT_TRUE(WaitUntil([&] { return x_.Shown().size() == 2; }, 5s)) << x_.Titles();
    x_.Keys(keys);
  }
  // The window of the title, given the keyboard; empty when it does not come.
  std::string Window(const std::string& title) const {
    const std::string window = x_.WaitForTitle(title, 20s);
    if (!window.empty()) x_.Focus(window);
    return window;
  }
  // File > Exit of an unchanged design; the exit code.
  int Exit() {
    Menu("alt+f", {"Up", "Return"});
    ended_ = true;
    return testsupport::WaitDirect(pid_, std::chrono::steady_clock::now(), 10s, out_, err_).exitCode;
  }

 private:
  const XTool& x_;
  pid_t pid_ = 0;
  bool ended_ = false;
  std::chrono::steady_clock::time_point started_;
  std::string out_, err_, window_;
};

class FolderNamesByXEvents : public ::testing::TestWithParam<Folder> {};

TEST_P(FolderNamesByXEvents, SettingsRecentFilesAndTablesStayInTheFolder) {
  const std::string tool = testsupport::FoundCommand("xdotool");
  if (tool.empty()) GTEST_SKIP() << "xdotool is not installed";
  const testsupport::OwnXServer server;
  if (server.Display().empty()) GTEST_SKIP() << "Xvfb is not installed or did not start";
  const XTool x(tool, server.Display());

  // The working folder alone in its parent; in it a design and a table
  // folder of the same name holding the material table.
  const testsupport::ScratchDirectory scratch("folder_names_" + GetParam().label);
  const fs::path parent = scratch.Dir() / "parent";
  const fs::path folder = parent / GetParam().name;
  const fs::path tables = folder / GetParam().name;
  fs::create_directories(tables);
  fs::copy_file(std::string(VOB_SOURCE_DIR) + "/resources/null.vb4", folder / "d.vb4");
  fs::copy_file(std::string(VOB_SOURCE_DIR) + "/resources/vobwst.dbf", tables / "vobwst.dbf");
  const std::set<std::string> beside = Entries(parent);

  {
    ProgramRun run(x, server.Display(), scratch.Dir(), folder);
    ASSERT_TRUE(run.Started()) << run.Errors();
    // File > Open (Ctrl+O) of the design: read from the working folder.
    x.Keys({"ctrl+o"});
    ASSERT_FALSE(run.Window("^Open$").empty()) << x.Titles();
    x.Keys({"ctrl+a"});
    x.Type("d.vb4");
    x.Keys({"Return"});
    ASSERT_TRUE(WaitUntil([&] { return run.CaptionEndsWith("d.vb4") && run.OnlyTheWindow(); })) << x.Titles();

    // File > Settings: the table folder typed into the first field of the
    // Directories page (two Tabs from the page's tab), then Save and Cancel.
    ASSERT_NO_FATAL_FAILURE(run.Menu("alt+f", std::vector<std::string>(8, "Down")));
    x.Keys({"Return"});
    ASSERT_FALSE(run.Window("^Settings$").empty()) << x.Titles();
    x.Keys({"Tab", "Tab", "ctrl+a"});
    x.Type(tables.string());
    x.Keys({"alt+s"});
    EXPECT_TRUE(WaitUntil([&] { return fs::exists(folder / "vob4.cfg"); })) << "Settings > Save wrote no vob4.cfg";
    x.Keys({"Escape"});
    ASSERT_TRUE(WaitUntil([&] { return run.OnlyTheWindow(); })) << x.Titles();
    EXPECT_EQ(run.Exit(), 0) << run.Errors();
  }
  EXPECT_EQ(Entries(parent), beside);
  EXPECT_EQ(Entries(folder), (std::set<std::string>{"d.vb4", "vob4.cfg", "vob4.cff", GetParam().name}));

  {
    ProgramRun run(x, server.Display(), scratch.Dir(), folder);
    ASSERT_TRUE(run.Started()) << run.Errors();
    // The first recent file (Shift+F1) is the design of the first run.
    x.Keys({"shift+F1"});
    EXPECT_TRUE(WaitUntil([&] { return run.CaptionEndsWith("d.vb4") && run.OnlyTheWindow(); })) << x.Titles();
    // Database > Material: the table of the folder the settings keep.
    ASSERT_NO_FATAL_FAILURE(run.Menu("alt+d", {"Return"}));
    const std::string table = run.Window("^material database");
    ASSERT_FALSE(table.empty()) << "no table window: " << x.Titles();
    EXPECT_TRUE(x.Title(table).ends_with("(" + (tables / "vobwst.dbf").string() + ")")) << x.Title(table);
    x.Keys({"Escape"});
    ASSERT_TRUE(WaitUntil([&] { return run.OnlyTheWindow(); })) << x.Titles();
    EXPECT_EQ(run.Exit(), 0) << run.Errors();
  }
  EXPECT_EQ(Entries(parent), beside);
  EXPECT_EQ(Entries(tables), std::set<std::string>{"vobwst.dbf"});
}

INSTANTIATE_TEST_SUITE_P(FolderNames, FolderNamesByXEvents,
                         ::testing::Values(Folder{"sharp_s", "Fu\u00df"}, Folder{"hyphen", "Getriebe v2-"},
                                           Folder{"dot", "v2."}, Folder{"tilde", "proj~"},
                                           Folder{"blank", "Entw\u00fcrfe \u00e9 "}),
                         [](const ::testing::TestParamInfo<Folder>& info) { return info.param.label; });

}  // namespace
