// The program itself on an X server of the test's own, worked by real key
// presses (the XTEST extension, through xdotool) as a user works it: one
// table of the name forms a user types (names with dots of their own,
// upper-case extensions, letters beyond ASCII with blanks, names without
// an extension), each through every dialog that names a file: the command
// line and Ctrl+S, File > Open, File > Save As, the CAD, STL and STEP file
// dialogs and the question when the window closes. Beside them lie
// sentinel files of the names a wrong rule would pick; every file the
// dialog chose is the one read or written, and every other file keeps its
// bytes. A last row writes an IGES file over an old one while the
// temporary directory is full: the old file stays and an error box says so.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

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

// The default design with its own rotational speed, on a line of its own.
std::string DesignWithSpeed(int speed) {
  std::string design = testsupport::Slurp(std::string(VOB_SOURCE_DIR) + "/resources/null.vb4");
  const std::string line = "\r\n1000.0000000\r\n30.0000000\r\n";
  design.replace(design.find(line), line.size(), "\r\n" + std::to_string(speed) + ".0000000\r\n30.0000000\r\n");
  return design;
}

bool HoldsSpeed(const std::string& file, int speed) {
  return testsupport::Slurp(file).find("\n" + std::to_string(speed) + ".0000000\r\n") != std::string::npos;
}

// The file's inode: a save puts a new file in the old one's place.
ino_t Inode(const std::string& file) {
  struct stat st {};
  return ::stat(file.c_str(), &st) == 0 ? st.st_ino : 0;
}

// A written file that is complete: DXF to its EOF, a binary STL of the
// size its facet count gives, STEP to its closing line.
bool Complete(const std::string& file) {
  const std::string bytes = testsupport::Slurp(file);
  const std::string ext = file.substr(file.size() - 3);
  if (ext == "dxf" || ext == "DXF") return bytes.ends_with("\r\nEOF\r\n");
  if (ext == "stp" || ext == "STP") return bytes.ends_with("END-ISO-10303-21;\r\n");
  if (bytes.size() < 84) return false;
  const auto count = static_cast<std::size_t>(static_cast<unsigned char>(bytes[80])) |
                     static_cast<std::size_t>(static_cast<unsigned char>(bytes[81])) << 8 |
                     static_cast<std::size_t>(static_cast<unsigned char>(bytes[82])) << 16 |
                     static_cast<std::size_t>(static_cast<unsigned char>(bytes[83])) << 24;
  return count > 0 && bytes.size() == 84 + 50 * count;
}

// A pattern of xdotool's search that matches the text itself at a title's
// end.
std::string TitleEnd(const std::string& text) {
  std::string pattern;
  for (char c : text) {
    if (std::string(".[]()*+?^$\\|{}").find(c) != std::string::npos) pattern += '\\';
    pattern += c;
  }
  return pattern + "$";
}

// One name form: the design the program starts with, what is typed in File >
// Open and in File > Save As, what is typed in the CAD (DXF), STL and STEP
// dialogs, the files each must read or write, and the sentinels beside.
struct NameForm {
  std::string label;
  std::string start;                   // on the command line, saved by Ctrl+S
  std::string openTyped, opened;       // File > Open: typed, the file read (and saved by Ctrl+S)
  std::string saveTyped, saved;        // File > Save As: typed, the file written (and by the exit question)
  std::vector<std::string> cadTyped;   // DXF, STL, STEP
  std::vector<std::string> cadFiles;
  std::vector<std::string> sentinels;  // designs of the names a wrong rule would take
};

void PrintTo(const NameForm& form, std::ostream* out) { *out << form.label; }

const std::vector<NameForm>& NameForms() {
  static const std::vector<NameForm> forms = {
      {"dotted", "pump.v1.vb4", "pump.v2", "pump.v2.vb4", "pump.v3", "pump.v3.vb4",
       {"pumpB.v4", "pumpB.v4", "pumpB.v4"}, {"pumpB.v4.dxf", "pumpB.v4.stl", "pumpB.v4.stp"},
       {"pump.vb4", "pump.v3", "pump.dxf", "pumpB.dxf", "pumpB.stl", "pumpB.stp"}},
      {"upper_case_extension", "PUMP.VB4", "GEAR.VB4", "GEAR.VB4", "WHEEL.VB4", "WHEEL.VB4",
       {"PART.DXF", "PART.STL", "PART.STP"}, {"PART.DXF", "PART.STL", "PART.STP"},
       {"PUMP.vb4", "GEAR.vb4", "WHEEL.vb4", "PART.dxf", "PART.stl", "PART.stp", "PART.DXF.dxf"}},
      {"beyond_ascii_with_blanks", "Zähne ü 1.vb4", "Zähne ü 2", "Zähne ü 2.vb4", "Räder ö 3", "Räder ö 3.vb4",
       {"Teil ß 4", "Teil ß 4", "Teil ß 4"}, {"Teil ß 4.dxf", "Teil ß 4.stl", "Teil ß 4.stp"},
       {"Räder ö 3", "Teil ß 4", "Z\u251c\u00f1hne \u251c\u255d 2.vb4"}},
      {"without_extension", "gear.vb4", "wheel", "wheel.vb4", "shaft", "shaft.vb4", {"part", "part", "part"},
       {"part.dxf", "part.stl", "part.stp"}, {"shaft", "part", "shaft.dxf"}},
      {"another_extension", "gear.vb4", "pump.bak", "pump.bak", "x.edi", "x.edi.vb4", {".dxf", ".stl", ".stp"},
       {".dxf", ".stl", ".stp"}, {"pump.bak.vb4", "x.edi", "gear.bak", ".dxf.dxf"}},
  };
  return forms;
}

// The program on a server of the test's own, in a scratch folder; the
// steps a user takes in its window.
class Session {
 public:
  Session(const XTool& x, const testsupport::ScratchDirectory& dir) : x_(x), dir_(dir) {
    // The desktop's opener, which the program hands a written CAD file to,
    // opens nothing here.
    fs::create_directory(dir.Path("bin"));
    std::ofstream(dir.Path("bin/xdg-open")) << "#!/bin/sh\n";
    fs::permissions(dir.Path("bin/xdg-open"), fs::perms::owner_all);
  }
  ~Session() {
    if (program_ > 0 && !ended_) testsupport::WaitDirect(program_, started_, 0s, dir_.Path("run.out"), dir_.Path("run.err"));
  }

  // Starts the program (through launcher when given: a command that runs
  // the rest of its arguments) with the design; true once its window shows
  // the design's name.
  bool Start(const std::string& display, const std::string& design, std::vector<std::string> launcher = {}) {
    // On the test's server alone: no desktop of the user's, and the file
    // dialog's remembered folders kept in the scratch folder.
    const char* path = std::getenv("PATH");
    const testsupport::EnvironmentChanges environment{
        {"DISPLAY", display},
        {"PATH", dir_.Path("bin") + ":" + (path ? path : "/usr/bin:/bin")},
        {"XDG_CONFIG_HOME", dir_.Path("config")},
        {"QT_QPA_PLATFORM", std::nullopt},
        {"QT_QPA_PLATFORMTHEME", std::nullopt},
        {"WAYLAND_DISPLAY", std::nullopt},
        {"XDG_CURRENT_DESKTOP", std::nullopt},
        {"DESKTOP_SESSION", std::nullopt}};
    started_ = std::chrono::steady_clock::now();
    launcher.insert(launcher.end(), {VOB_PROGRAM, design});
    const std::string program = launcher.front();
    launcher.erase(launcher.begin());
    program_ = testsupport::StartDirect(program, launcher, environment, dir_.Dir().string(), dir_.Path("run.out"),
                                        dir_.Path("run.err"));
    if (program_ <= 0) return false;
    window_ = x_.WaitForTitle(TitleEnd("  -  " + design), 20s);
    return !window_.empty();
  }
  const std::string& Window() const { return window_; }
  bool OnlyTheWindow() const { return x_.Shown() == std::vector<std::string>{window_}; }
  // A window of the program other than the main window and the one named.
  bool AnotherWindow(const std::string& besides = "") const {
    for (const std::string& id : x_.Shown())
      if (id != window_ && id != besides) return true;
    return false;
  }
  // The question box, once it shows: the titled window besides the main
  // one (both carry the program's title).
  std::string Question() const {
    if (!WaitUntil([&] { return x_.Shown(true).size() == 2; })) return {};
    const std::vector<std::string> titled = x_.Shown(true);
    return titled[0] == window_ ? titled[1] : titled[0];
  }
  // The design's name, or its file's path where no name gives the file.
  bool CaptionEndsWith(const std::string& n) const {
    return x_.Title(window_).ends_with("  -  " + n) || x_.Title(window_).ends_with("  -  " + dir_.Path(n));
  }

  // A menu of the menu bar by its Alt key, open once its window shows;
  // then the keys that pick the item.
  void Menu(const std::string& altKey, const std::vector<std::string>& keys) {
    x_.Focus(window_);
    x_.Keys({altKey});
    ASSERT_TRUE(WaitUntil([&] { return x_.Shown().size() == 2; }, 5s)) << x_.Titles();
    x_.Keys(keys);
  }
  // The file dialog of the title: the name typed over what it offers, and
  // Enter.
  void TypeInFileDialog(const std::string& title, const std::string& typed) {
    const std::string dialog = x_.WaitForTitle(title);
    ASSERT_FALSE(dialog.empty()) << title << ": " << x_.Titles();
    x_.Focus(dialog);
    x_.Keys({"ctrl+a"});
    x_.Type(typed);
    x_.Keys({"Return"});
    fileDialog_ = dialog;
  }
  // Edit > Input/Output: the speed typed over the one shown, and OK.
  void ChangeSpeed(int speed) {
    ASSERT_NO_FATAL_FAILURE(Menu("alt+e", {"i"}));
    const std::string dialog = x_.WaitForTitle("Rot\\.speed");
    ASSERT_FALSE(dialog.empty()) << x_.Titles();
    x_.Focus(dialog);
    x_.Keys({"ctrl+a"});
    x_.Type(std::to_string(speed));
    x_.Keys({"Return"});
    ASSERT_TRUE(WaitUntil([&] { return OnlyTheWindow(); })) << x_.Titles();
  }
  // Ctrl+S: until the file is a new one, or a box comes up instead.
  void Save(const std::string& file) {
    const ino_t before = Inode(file);
    x_.Focus(window_);
    x_.Keys({"ctrl+s"});
    WaitUntil([&] { return Inode(file) != before || AnotherWindow(); });
    EXPECT_NE(Inode(file), before) << file << " not written";
    EXPECT_TRUE(OnlyTheWindow()) << "a box came up: " << x_.Titles();
  }
  // CAD > Gear 1 in the device of the choice (Down presses from DXF), or
  // STL > Gear 1 (device -1), written to the name typed; until the file is
  // complete or a box comes up.
  void DrawGear1(int device, const std::string& typed, const std::string& file) {
    if (device < 0) {
      ASSERT_NO_FATAL_FAILURE(Menu("alt+c", {"Right", "Return"}));
    } else {
      ASSERT_NO_FATAL_FAILURE(Menu("alt+c", {"Down", "Down", "Return"}));
      const std::string devices = x_.WaitForTitle("^Select$");
      ASSERT_FALSE(devices.empty()) << x_.Titles();
      x_.Focus(devices);
      std::vector<std::string> keys = {"space"};
      keys.insert(keys.end(), static_cast<std::size_t>(device), "Down");
      keys.push_back("Return");
      x_.Keys(keys);
    }
    ASSERT_NO_FATAL_FAILURE(TypeInFileDialog("^Save As$", typed));
    if (device < 0) {
      // The height the STL file asks for: the face width it offers.
      const std::string height = x_.WaitForTitle("^Input$");
      ASSERT_FALSE(height.empty()) << x_.Titles();
      x_.Focus(height);
      x_.Keys({"Return"});
    }
    WaitUntil([&] { return Complete(dir_.Path(file)) || AnotherWindow(fileDialog_); }, 20s);
    EXPECT_TRUE(Complete(dir_.Path(file))) << file << ": " << x_.Titles();
    EXPECT_TRUE(WaitUntil([&] { return OnlyTheWindow(); }, 2s)) << "a box came up: " << x_.Titles();
  }
  // File > Exit: the question about the changed design, if one comes,
  // answered Yes with Enter; the program's exit code.
  int Exit(bool question) {
    Menu("alt+f", {"Up", "Return"});
    if (question) {
      const std::string box = Question();
      if (box.empty()) return -2;
      x_.Focus(box);
      x_.Keys({"Return"});
    }
    const testsupport::DirectRun run =
        testsupport::WaitDirect(program_, std::chrono::steady_clock::now(), 10s, dir_.Path("run.out"), dir_.Path("run.err"));
    ended_ = true;
    return run.exitCode;
  }

 private:
  const XTool& x_;
  const testsupport::ScratchDirectory& dir_;
  pid_t program_ = 0;
  bool ended_ = false;
  std::chrono::steady_clock::time_point started_;
  std::string window_;
  std::string fileDialog_;
};

// The regular files of a folder, by name.
std::set<std::string> Files(const fs::path& dir) {
  std::set<std::string> files;
  for (const auto& entry : fs::directory_iterator(dir))
    if (entry.is_regular_file()) files.insert(entry.path().filename().string());
  return files;
}

// xdotool and an X server of the test's own, or the reason why not.
struct XSetUp {
  std::string tool;
  std::string skipped;
  XSetUp() {
    const std::string found = testsupport::RunCommand("command -v xdotool");
    tool = found.substr(0, found.find('\n'));
    if (tool.empty()) skipped = "xdotool is not installed";
  }
};

class TypedNamesByXEvents : public ::testing::TestWithParam<NameForm> {};

TEST_P(TypedNamesByXEvents, EveryDialogWritesTheFileChosen) {
  const NameForm& form = GetParam();
  const XSetUp setUp;
  if (!setUp.skipped.empty()) GTEST_SKIP() << setUp.skipped;
  const testsupport::OwnXServer server;
  if (server.Display().empty()) GTEST_SKIP() << "Xvfb is not installed or did not start";
  const XTool x(setUp.tool, server.Display());
  const testsupport::ScratchDirectory dir("typed_names_" + form.label);

  // Each design of its own speed; the sentinels too.
  std::map<std::string, std::string> sentinels;
  int speed = 1100;
  for (const std::string& name : form.sentinels) {
    sentinels[name] = DesignWithSpeed(speed++);
    testsupport::Put(dir.Path(name), sentinels[name]);
  }
  testsupport::Put(dir.Path(form.start), DesignWithSpeed(1200));
  testsupport::Put(dir.Path(form.opened), DesignWithSpeed(1300));

  Session session(x, dir);
  ASSERT_TRUE(session.Start(server.Display(), form.start)) << testsupport::Slurp(dir.Path("run.err"));

  // The command line's design, saved with Ctrl+S over itself.
  ASSERT_NO_FATAL_FAILURE(session.Save(dir.Path(form.start)));
  EXPECT_TRUE(HoldsSpeed(dir.Path(form.start), 1200));

  // File > Open (Ctrl+O): the file typed is the file read, shown in the
  // caption as it is named, and Ctrl+S writes it back.
  x.Focus(session.Window());
  x.Keys({"ctrl+o"});
  ASSERT_NO_FATAL_FAILURE(session.TypeInFileDialog("^Open$", form.openTyped));
  EXPECT_TRUE(WaitUntil([&] { return session.CaptionEndsWith(form.opened); })) << x.Title(session.Window());
  ASSERT_TRUE(WaitUntil([&] { return session.OnlyTheWindow(); })) << "a box came up: " << x.Titles();
  ASSERT_NO_FATAL_FAILURE(session.Save(dir.Path(form.opened)));
  EXPECT_TRUE(HoldsSpeed(dir.Path(form.opened), 1300)) << form.opened << " is not the file read";

  // File > Save As, then Ctrl+S: the file typed.
  ASSERT_NO_FATAL_FAILURE(session.Menu("alt+f", {"a"}));
  ASSERT_NO_FATAL_FAILURE(session.TypeInFileDialog("^Save$", form.saveTyped));
  EXPECT_TRUE(WaitUntil([&] { return session.CaptionEndsWith(form.saved); })) << x.Title(session.Window());
  EXPECT_TRUE(HoldsSpeed(dir.Path(form.saved), 1300));
  ASSERT_NO_FATAL_FAILURE(session.Save(dir.Path(form.saved)));

  // The CAD (DXF), STL and STEP dialogs.
  ASSERT_NO_FATAL_FAILURE(session.DrawGear1(0, form.cadTyped[0], form.cadFiles[0]));
  ASSERT_NO_FATAL_FAILURE(session.DrawGear1(-1, form.cadTyped[1], form.cadFiles[1]));
  ASSERT_NO_FATAL_FAILURE(session.DrawGear1(6, form.cadTyped[2], form.cadFiles[2]));

  // The question when the window closes saves the changed design there.
  ASSERT_NO_FATAL_FAILURE(session.ChangeSpeed(1750));
  EXPECT_EQ(session.Exit(true), 0) << testsupport::Slurp(dir.Path("run.err"));
  EXPECT_TRUE(HoldsSpeed(dir.Path(form.saved), 1750));

  // Nothing else written (but the session file with the recent files),
  // and no temporary file left; the sentinels as they were, the designs
  // read keep their own values.
  std::set<std::string> expected = {form.start, form.opened, form.saved, "vob4.cff"};
  expected.insert(form.cadFiles.begin(), form.cadFiles.end());
  for (const auto& [name, bytes] : sentinels) {
    expected.insert(name);
    EXPECT_EQ(testsupport::Slurp(dir.Path(name)), bytes) << name << " was changed";
  }
  EXPECT_EQ(Files(dir.Dir()), expected);
  EXPECT_TRUE(HoldsSpeed(dir.Path(form.start), 1200));
  EXPECT_TRUE(HoldsSpeed(dir.Path(form.opened), 1300));
}

INSTANTIATE_TEST_SUITE_P(NameForms, TypedNamesByXEvents, ::testing::ValuesIn(NameForms()),
                         [](const ::testing::TestParamInfo<NameForm>& info) { return info.param.label; });

// Working folders whose names end in a letter beyond ASCII, '-', '.', '~'
// or a blank: Settings > Save (a table folder of the same name typed in)
// and the session stay in the folder, nothing is written beside it; a
// second start opens the recent design (Shift+F1) and that folder's table.
TEST(TypedNamesByXEvents, FoldersOfAnyNameKeepTheSettings) {
  const XSetUp setUp;
  const testsupport::OwnXServer server;
  if (!setUp.skipped.empty() || server.Display().empty()) GTEST_SKIP() << "xdotool or Xvfb is missing";
  const XTool x(setUp.tool, server.Display());
  for (const std::string name : {"Fu\u00df", "Getriebe v2-", "v2.", "proj~", "Entw\u00fcrfe \u00e9 "}) {
    const testsupport::ScratchDirectory dir("folder_names");
    const fs::path folder = dir.Dir() / name, tables = folder / name;
    fs::create_directories(tables);
    fs::copy_file(std::string(VOB_SOURCE_DIR) + "/resources/vobwst.dbf", tables / "vobwst.dbf");
    for (const char* design : {"d.vb4", "e.vb4"}) testsupport::Put(folder / design, DesignWithSpeed(1200));
    const std::vector<std::string> inFolder = {"/bin/sh", "-c", "cd \"$0\" && exec \"$@\"", folder.string()};
    for (const bool second : {false, true}) {
      Session session(x, dir);
      ASSERT_TRUE(session.Start(server.Display(), "e.vb4", inFolder)) << name;
      x.Focus(session.Window()), x.Keys({second ? "shift+F1" : "ctrl+o"});
      if (!second) { ASSERT_NO_FATAL_FAILURE(session.TypeInFileDialog("^Open$", "d.vb4")); }
      ASSERT_TRUE(WaitUntil([&] { return session.CaptionEndsWith("d.vb4"); })) << name;
      if (second) {
        ASSERT_NO_FATAL_FAILURE(session.Menu("alt+d", {"Return"}));
        EXPECT_NE(x.WaitForTitle("^material database +\\(" + TitleEnd(tables.string() + "/vobwst.dbf)")), "") << name;
      } else {
        ASSERT_NO_FATAL_FAILURE(session.Menu("alt+f", {"t"}));  // Settings
        x.Focus(x.WaitForTitle("^Settings$")), x.Keys({"Tab", "Tab", "ctrl+a"}), x.Type(tables.string());
        x.Keys({"alt+s"});
        EXPECT_TRUE(WaitUntil([&] { return fs::exists(folder / "vob4.cfg"); })) << name;
      }
      x.Keys({"Escape"});
      ASSERT_TRUE(WaitUntil([&] { return session.OnlyTheWindow(); })) << name << ": " << x.Titles();
      EXPECT_EQ(session.Exit(false), 0) << testsupport::Slurp(dir.Path("run.err"));
      EXPECT_EQ(Files(folder), (std::set<std::string>{"d.vb4", "e.vb4", "vob4.cfg", "vob4.cff"})) << name;
      EXPECT_EQ(Files(dir.Dir()), std::set<std::string>{}) << name;
    }
  }
}

// The tool table's window (Database > Cutting tool) and its printout to the
// File and HTML File devices: a name typed in its File menu's dialogs is
// read as typed (data.csv, tools.bak, never the .txt or .dbf the extension
// would give); an output over a file there asks first: No keeps it.
TEST(TypedNamesByXEvents, TableWindowAndPrintoutsReadAsChosenAndAskBeforeReplacing) {
  const XSetUp setUp;
  const testsupport::OwnXServer server;
  if (!setUp.skipped.empty() || server.Display().empty()) GTEST_SKIP() << "xdotool or Xvfb is missing";
  const XTool x(setUp.tool, server.Display());
  const testsupport::ScratchDirectory dir("typed_names_table");
  const std::string tools = testsupport::Slurp(std::string(VOB_SOURCE_DIR) + "/resources/v1toolx.dbf");
  const auto tool = [](const std::string& standard) {
    return "1,1.25,0.38,0,1,0,0,0.3,20,0,\"" + standard + "\",\"hob\",\"\",\"\",\"\"\r\n"; };
  const std::map<std::string, std::string> kept = {{"d.vb4", DesignWithSpeed(1200)}, {"tools.bak", tools},
      {"data.csv", tool("FROMCSV")}, {"data.csv.txt", tool("FROMTXT")}, {"tools.bak.dbf", "-"},
      {"mat", "m"}, {"tab", "t"}, {"pump.htm", "p"}, {"Zähne ü", "z"}};
  for (const auto& [name, bytes] : kept) testsupport::Put(dir.Path(name), bytes);
  for (const char* old : {"mat.txt", "tab.htm", "Zähne ü.txt"}) testsupport::Put(dir.Path(old), "old");
  testsupport::Put(dir.Path("v1toolx.dbf"), tools);
  const auto records = [&] {  // of the table, by its head
    const std::string head = testsupport::Slurp(dir.Path("v1toolx.dbf")) + "      ";
    return static_cast<unsigned char>(head[4]) | static_cast<unsigned char>(head[5]) << 8;
  };
  {  // Settings > Save writes the settings file, set then to ask for the printout's device.
    Session first(x, dir);
    ASSERT_TRUE(first.Start(server.Display(), "d.vb4")) << testsupport::Slurp(dir.Path("run.err"));
    ASSERT_NO_FATAL_FAILURE(first.Menu("alt+f", {"t"}));  // Settings
    x.Focus(x.WaitForTitle("^Settings$")), x.Keys({"alt+s"});
    ASSERT_TRUE(WaitUntil([&] { return fs::exists(dir.Path("vob4.cfg")); })) << x.Titles();
  }
  const std::regex ask("(Text Device Window \\?\r\n)FALSE");
  testsupport::Put(dir.Path("vob4.cfg"), std::regex_replace(testsupport::Slurp(dir.Path("vob4.cfg")), ask, "$1TRUE"));

  Session session(x, dir);
  ASSERT_TRUE(session.Start(server.Display(), "d.vb4")) << testsupport::Slurp(dir.Path("run.err"));
  ASSERT_NO_FATAL_FAILURE(session.Menu("alt+d", {"Down", "Return"}));
  const std::string table = x.WaitForTitle("profile of reference rack");
  // File menu item (Down presses), the printout device's keys, dialog, name typed, the file written (none:
  // the table's records after the append), and the answer to the question over a file there.
  struct Row { std::size_t item; std::vector<std::string> device; std::string dialog, typed, file, answer; int count; };
  const std::vector<std::string> txt = {"space", "Down", "Down", "Return"},
                                 htm = {"space", "Down", "Down", "Down", "Down", "Down", "Down", "Return"};
  for (const Row& row : std::vector<Row>{{3, {}, "^Append Delimited$", "data.csv", "", "", 10},
                                         {2, {}, "^Append dbf$", "tools.bak", "", "", 19},
                                         {1, {}, "^Save As Delimited$", "mat", "mat.txt", "Escape", 0},
                                         {1, {}, "^Save As Delimited$", "mat", "mat.txt", "Return", 0},
                                         {0, {}, "^Export HTML$", "tab", "tab.htm", "Escape", 0},
                                         {0, {}, "^Export HTML$", "tab", "tab.htm", "Return", 0},
                                         {4, txt, "^Save$", "Zähne ü", "Zähne ü.txt", "Escape", 0},
                                         {4, txt, "^Save$", "Zähne ü", "Zähne ü.txt", "Return", 0},
                                         {4, htm, "^Save$", "pump.v1", "pump.v1.htm", "", 0}}) {
    x.Focus(table), x.Keys({"alt+f"});
    ASSERT_TRUE(WaitUntil([&] { return x.Shown().size() == 3; }, 5s)) << x.Titles();
    for (std::size_t down = 0; down < row.item; ++down) x.Keys({"Down"});
    x.Keys({"Return"});
    if (!row.device.empty()) x.Focus(x.WaitForTitle("^Select$")), x.Keys(row.device);
    ASSERT_NO_FATAL_FAILURE(session.TypeInFileDialog(row.dialog, row.typed));
    if (!row.answer.empty()) {
      const std::string question = x.WaitForTitle("^VOB4 - Razivudo Redo Zavaz$");
      ASSERT_FALSE(question.empty()) << row.file << " replaced unasked: " << x.Titles();
      x.Focus(question), x.Keys({row.answer});
    }
    EXPECT_TRUE(WaitUntil([&] {  // the append's records, or the table's first record in the output's form
      if (row.file.empty()) return records() == row.count;
      const std::string now = testsupport::Slurp(dir.Path(row.file));
      return row.answer == "Escape" ? now == "old" : now.find("1.2500") != std::string::npos;
    })) << row.typed << " " << row.answer;
    ASSERT_TRUE(WaitUntil([&] { return x.Shown().size() == 2; })) << "a box came up: " << x.Titles();
  }
  EXPECT_NE(testsupport::Slurp(dir.Path("v1toolx.dbf")).find("FROMCSV"), std::string::npos);
  x.Focus(table), x.Keys({"Escape"});
  ASSERT_TRUE(WaitUntil([&] { return session.OnlyTheWindow(); })) << x.Titles();
  EXPECT_EQ(session.Exit(false), 0) << testsupport::Slurp(dir.Path("run.err"));
  std::set<std::string> expected = {"v1toolx.dbf", "vob4.cfg", "mat.txt", "tab.htm", "Zähne ü.txt", "pump.v1.htm"};
  for (const auto& [name, bytes] : kept) expected.insert(name);
  for (const auto& [name, bytes] : kept) EXPECT_EQ(testsupport::Slurp(dir.Path(name)), bytes) << name << " was changed";
  EXPECT_EQ(Files(dir.Dir()), expected);
}

// CAD > Gear 1 as IGES over an old drawing while the temporary directory,
// where the parameter records go first, is a full disk (a small file system
// of the program's own, in a user and mount namespace): an error box comes
// up, the old drawing keeps its bytes and nothing is left beside it.
TEST(TypedNamesByXEvents, AFullTemporaryDirectoryKeepsTheOldIges) {
  const XSetUp setUp;
  if (!setUp.skipped.empty()) GTEST_SKIP() << setUp.skipped;
  const testsupport::ScratchDirectory dir("typed_names_full_tmp");
  fs::create_directory(dir.Path("tmp"));
  // The program in a namespace of its own sees a 64 KB disk at tmp.
  const std::string unshare = testsupport::RunCommand("command -v unshare");
  if (unshare.empty()) GTEST_SKIP() << "unshare is not installed";
  const std::vector<std::string> launcher = {
      unshare.substr(0, unshare.find('\n')), "-r", "-m", "sh", "-c",
      "mount -t tmpfs -o size=64k tmpfs \"$0\" || exit 77; export TMPDIR=\"$0\"; exec \"$@\"", dir.Path("tmp")};
  // With nothing to run, the launcher ends once the disk is mounted.
  const testsupport::DirectRun probe =
      testsupport::RunDirect(launcher[0], {launcher.begin() + 1, launcher.end()}, {}, "", 10s);
  if (probe.exitCode != 0) GTEST_SKIP() << "the system gives no mount namespace for a small disk";
  const testsupport::OwnXServer server;
  if (server.Display().empty()) GTEST_SKIP() << "Xvfb is not installed or did not start";
  const XTool x(setUp.tool, server.Display());

  testsupport::Put(dir.Path("d.vb4"), DesignWithSpeed(1200));
  const std::string old = "an old drawing\r\n";
  testsupport::Put(dir.Path("d.igs"), old);
  Session session(x, dir);
  ASSERT_TRUE(session.Start(server.Display(), "d.vb4", launcher)) << testsupport::Slurp(dir.Path("run.err"));
  ASSERT_NO_FATAL_FAILURE(session.Menu("alt+c", {"Down", "Down", "Return"}));
  const std::string devices = x.WaitForTitle("^Select$");
  ASSERT_FALSE(devices.empty()) << x.Titles();
  x.Focus(devices);
  x.Keys({"space", "Down", "Return"});
  ASSERT_NO_FATAL_FAILURE(session.TypeInFileDialog("^Save As$", "d"));
  // Overwrite d.igs? Yes. Then the error box.
  const std::string question = session.Question();
  ASSERT_FALSE(question.empty()) << x.Titles();
  x.Focus(question);
  x.Keys({"Return"});
  const std::string box = x.WaitForTitle("^Error  : $", 20s);
  ASSERT_FALSE(box.empty()) << x.Titles();
  EXPECT_EQ(testsupport::Slurp(dir.Path("d.igs")), old);
  x.Focus(box);
  x.Keys({"Return"});
  ASSERT_TRUE(WaitUntil([&] { return session.OnlyTheWindow(); })) << "a further box: " << x.Titles();
  EXPECT_EQ(session.Exit(false), 0) << testsupport::Slurp(dir.Path("run.err"));
  EXPECT_EQ(testsupport::Slurp(dir.Path("d.igs")), old);
  EXPECT_EQ(Files(dir.Dir()), (std::set<std::string>{"d.vb4", "d.igs"}));
}

}  // namespace
