// The main window without a window system: the menu model in every
// language, the handlers on the default design, the save question, the
// recent files and the session file written at the end.
#include "app/main_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "app/data_file.h"
#include "app/entry_points.h"
#include "app/main_menu.h"
#include "app/menu_mnemonics.h"
#include "app/start_up.h"
#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "calc/spur_gear_data.h"
#include "common/design_documentation.h"
#include "common/graphics_facade.h"
#include "common/kaldvar.h"
#include "common/menu_captions.h"
#include "common/message_list.h"
#include "common/session_file.h"
#include "common/small_dialogs.h"
#include "drawing/cad/cad_blocks.h"
#include "drawing/cad/cad_output.h"
#include "platform/report_viewer.h"
#include "platform/scripted_dialogs.h"
#include "support/app_start.h"
#include "support/file_test_support.h"

namespace fs = std::filesystem;
using platform::AskedDialog;
using platform::DialogButton;
using platform::ScriptedAnswer;

namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = testsupport::EnterWithDefaultDesign(dir_);
    testsupport::StartProgram();
    common::RecentFiles = {};
    common::LanguageCode = 2;
    app::MainFormCreate();
    dialogs_.ClearRecord();
  }
  void TearDown() override {
    app::ResetEntryPoints();
    fs::current_path(previous_);
  }

  // The texts of the message boxes shown so far.
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const AskedDialog& d : dialogs_.Asked())
      if (d.kind == AskedDialog::Kind::Message) texts.push_back(d.text);
    return texts;
  }

  testsupport::ScratchDirectory dir_{"main_window"};
  fs::path previous_;
  platform::ScriptedDialogs dialogs_;
  platform::ScopedDialogs scoped_{dialogs_};
};

}  // namespace

TEST_F(MainWindowTest, MenuCaptionsFollowTheLanguage) {
  EXPECT_EQ(app::MenuItem("mi_file").caption, "&File");
  EXPECT_EQ(app::MenuItem("mi_editbezugsprofil").caption, "C&utting Tool");
  // One accelerator per caption, each of a menu its own: "&Gear" and
  // "&Open" are taken by the items above.
  EXPECT_EQ(app::MenuItem("mi_viewzahnstange").caption, "Gear 1 + &Rack");
  EXPECT_EQ(app::MenuItem("mi_fileOpenTable").caption, "Open... (Ta&ble)");
  EXPECT_EQ(app::MenuItem("mi_helphistory").caption, "VOB4 Info (www)");

  app::MenuItemClick("mi_helplanguageDeutsch");
  EXPECT_EQ(common::LanguageCode, 1);
  EXPECT_EQ(app::MenuItem("mi_file").caption, "&Datei");
  EXPECT_EQ(app::MenuItem("mi_editbezugsprofil").caption, "&Bezugsprofil");
  EXPECT_EQ(app::MenuItem("mi_cadcarrier").caption, "Steg");
  // A single gear is a "Zahnrad", not a "Getriebe" (a gearbox), wherever
  // the menus name one.
  for (const char* item : {"mi_cadrad1", "mi_cadrad2", "mi_stlrad1", "mi_stlrad2", "mi_viewzahnstange"}) {
    std::string caption = app::MenuItem(item).caption;
    std::erase(caption, '&');
    EXPECT_EQ(caption.rfind("Zahnrad ", 0), 0u) << item << ": " << caption;
  }
  for (const app::TMenuItem& m : app::MainMenu1())
    EXPECT_EQ(m.caption.find("Getriebe"), std::string::npos) << m.name << ": " << m.caption;

  // Every item that is not a separator has a caption in every language of
  // the language menu, and every leaf item a handler.
  for (const char* item : {"mi_helplanguageKorea", "mi_helplanguageChinese", "mi_helplanguageRomania",
                           "mi_helplanguageEnglish"}) {
    app::MenuItemClick(item);
    for (const app::TMenuItem& m : app::MainMenu1()) {
      if (m.separator || !m.visible) continue;
      EXPECT_FALSE(m.caption.empty()) << item << " " << m.name;
      if (app::MenuChildren(m.name).empty() && !m.parent.empty()) {
        EXPECT_TRUE(app::HasMenuHandler(m.name)) << m.name;
      }
    }
  }
  EXPECT_EQ(app::MenuItem("mi_fileexit").caption, "E&xit");
  EXPECT_FALSE(app::MenuItem("mi_dbflastkoll").visible);
  EXPECT_FALSE(app::MenuItem("mi_oleExportExcel").enabled);
}

// Every menu, the menu bar too, opens each of its items by a letter of its
// own in every language of the captions; a caption carries at most one
// accelerator, and a recent file's '&' is a character of its path.
TEST_F(MainWindowTest, AcceleratorsAreUniqueInEveryMenuAndLanguage) {
  common::RecentFiles[1] = "/home/user/R&D/gears/oval.vb4";
  common::RecentFiles[2] = "/home/user/gears/round.vb4";
  std::vector<std::string> menus = {""};
  for (const app::TMenuItem& item : app::MainMenu1())
    if (!app::MenuChildren(item.name).empty()) menus.push_back(item.name);
  for (int code = 0; code <= 12; ++code) {
    if (!common::IsMenuLanguage(code)) continue;
    app::SetLanguage(code);
    for (const std::string& menu : menus) {
      std::map<std::string, std::string> holder;
      int marked = 0;
      for (const app::TMenuItem* item : app::MenuChildren(menu)) {
        if (item->separator) continue;
        const std::string& c = item->caption;
        int marks = 0;
        for (std::size_t i = 0; i + 1 < c.size(); ++i) {
          if (c[i] != '&') continue;
          if (c[i + 1] == '&') {
            ++i;
            continue;
          }
          ++marks;
        }
        EXPECT_LE(marks, 1) << code << " " << c;
        const std::string m = app::MnemonicOf(c);
        if (m.empty()) continue;
        ++marked;
        const auto [it, fresh] = holder.emplace(m, c);
        EXPECT_TRUE(fresh) << "language " << code << ", menu " << (menu.empty() ? "bar" : menu) << ": \""
                           << it->second << "\" and \"" << c << "\" share " << m;
      }
      // The six diagrams and the other moved captions found letters of their own.
      if (menu == "mi_View") {
        EXPECT_GE(marked, 15) << code;
      }
    }
  }
  app::SetLanguage(2);
  EXPECT_EQ(app::MenuItem("mi_file1").caption, "&1 /home/user/R&&D/gears/oval.vb4");
  // Korean keeps its accelerators after the text.
  app::SetLanguage(8);
  EXPECT_EQ(app::MenuItem("mi_file").caption, "\xED\x8C\x8C\xEC\x9D\xBC(&F)");
}

TEST_F(MainWindowTest, ViewItemsOnTheDefaultDesign) {
  // The default design has a speed: the pair is calculated without a fatal
  // message, and its message item counts what the calculation said.
  EXPECT_EQ(calc::SpurGearData.n[1], 1000);
  EXPECT_EQ(calc::SpurGearData.CalcMethod, 4);
  EXPECT_EQ(common::FatalFlag, 0);
  EXPECT_EQ(app::MenuItem("mi_helpErrorMessages").caption,
            "&Error messages (" + std::to_string(common::MsgCount) + ")");

  // A clean calculation disables the item (a load above the line-load
  // floor of the rating, which a lighter one would be told of).
  calc::SpurGearData.P = 30;
  calc::CalcNoncircularPair();
  app::UpdateMessageMenu();
  EXPECT_EQ(common::MsgCount, 0);
  EXPECT_EQ(app::MenuItem("mi_helpErrorMessages").caption, "&Error messages (0)");
  EXPECT_FALSE(app::MenuItem("mi_helpErrorMessages").enabled);

  // Every drawing item reaches its entry point with its codes.
  std::vector<std::string> calls;
  app::Entry().DrawGears = [&](int m, int d) { calls.push_back("G" + std::to_string(m) + "," + std::to_string(d)); };
  app::Entry().ShowDiagrams = [&](int c, int d) { calls.push_back("D" + std::to_string(c) + "," + std::to_string(d)); };
  app::Entry().DrawQuickSheet = [&](int n, int d) { calls.push_back("Q" + std::to_string(n) + "," + std::to_string(d)); };
  for (const char* item : {"mi_viewquick1", "mi_viewquick4", "mi_viewTeilkurven", "mi_viewTeilkurvenxy",
                           "mi_viewZahnraeder", "mi_viewDiagsva", "mi_viewDiagDrehwinkel", "mi_viewDiagUebersetzung",
                           "mi_viewDiagUeberslog", "mi_viewDiagGeschw", "mi_viewDiagBeschleunig", "mi_viewsicherheit",
                           "mi_fileExportDXF", "mi_cadquick", "mi_cadwaeltzkurve12", "mi_cadcarrier", "mi_cadDiagramme",
                           "mi_stlrad2", "mi_stlkurve1", "mi_stlzahnstange"})
    app::MenuItemClick(item);
  const std::vector<std::string> expected = {"Q1,3", "Q4,3", "G5,3", "D6,3", "G0,3", "D15,3", "D1,3",
                                             "D2,3", "D3,3", "D7,3", "D8,3", "D16,3", "G3,1", "Q0,0",
                                             "G5,0", "G8,0", "D0,0", "G2,6", "G3,6", "G9,0"};
  EXPECT_EQ(calls, expected);
  EXPECT_TRUE(Messages().empty());

  // The rack view needs the constant module.
  calc::NcPair.ModuleMode = 1;
  int rotation = 0;
  app::Entry().ShowRotationAngleForm = [&](int mode) { rotation = mode; };
  app::MenuItemClick("mi_viewzahnstange");
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], "mn <> const !");
  EXPECT_EQ(rotation, 0);
  calc::NcPair.ModuleMode = 2;
  app::MenuItemClick("mi_viewzahnstange");
  EXPECT_EQ(rotation, 7);
}

// The start picture's hint speaks the language of the menus.
TEST_F(MainWindowTest, TheStartPictureSpeaksTheMenusLanguage) {
  common::PltDirectory = std::string(VOB_SOURCE_DIR) + "/resources";
  auto shows = [](const std::string& text) {
    return std::any_of(common::DisplayList.begin(), common::DisplayList.end(),
                       [&](const std::string& r) { return r.find(text) != std::string::npos; });
  };
  for (const auto& [language, hint] : {std::pair{1, "Datei - Entwurf "}, {2, "File - Open a design"}}) {
    common::LanguageCode = static_cast<std::uint16_t>(language);
    app::MainFormCreate();
    EXPECT_TRUE(shows(hint)) << language;
  }
}

// A calculation that ends fatally (z1 "abc" reads as 0) leaves nothing of
// the design before on the screen: its gears and data table are gone, and
// the messages are shown in their stead.
TEST_F(MainWindowTest, AFatalCalculationLeavesNoStalePicture) {
  auto shows = [](const std::string& text) {
    return std::any_of(common::DisplayList.begin(), common::DisplayList.end(),
                       [&](const std::string& r) { return r.find(text) != std::string::npos; });
  };
  ASSERT_TRUE(shows("transmission ratio"));
  dialogs_.Then(ScriptedAnswer::Cancel());  // the message list
  calc::NcPair.z1 = 0;
  calc::CalcNoncircularPair();
  ASSERT_EQ(common::FatalFlag, 1);
  app::UpdateMessageMenu();
  EXPECT_FALSE(shows("transmission ratio"));
  EXPECT_FALSE(shows("4;"));
  EXPECT_TRUE(common::DisplayList.empty());
  bool listed = false;
  for (const AskedDialog& d : dialogs_.Asked())
    for (const std::string& item : d.items) listed = listed || item.find("z1 < 2") != std::string::npos;
  EXPECT_TRUE(listed);
  // Every view of the design says so the same way.
  for (const char* item : {"mi_viewZahnraeder", "mi_viewDiagDrehwinkel", "mi_viewquick1"}) {
    common::GraphLine(0, 0, 1, 1);
    dialogs_.Then(ScriptedAnswer::Cancel());
    app::MenuItemClick(item);
    EXPECT_TRUE(common::DisplayList.empty()) << item;
  }
}

// Each item cancelled where its dialog would be: nothing changes, and no
// output was opened for nothing (no spool is left in the temporary
// directory).
TEST_F(MainWindowTest, ItemsWithoutTheirDialogEndWithAbort) {
  fs::create_directories(dir_.Path("tmp"));
  common::TempDirectory = dir_.Path("tmp");
  for (const char* item : {"mi_editZahnrad", "mi_fileprint", "mi_dbfmaterial", "mi_docuNewChange", "mi_HelpAbout",
                           "mi_viewAnimation1"}) {
    common::DataChanged = 0;
    app::MenuItemClick(item);
    EXPECT_EQ(common::AbortFlag, 1) << item;
    EXPECT_EQ(common::DataChanged, 0) << item;
    EXPECT_TRUE(fs::is_empty(dir_.Path("tmp"))) << item;
  }
  common::TempDirectory.clear();
}

// After the drive dialog the pair is calculated again and its safeties
// drawn; the message item counts what that calculation said.
TEST_F(MainWindowTest, DriveDialogLeavesTheMessageCountOfThePair) {
  ASSERT_EQ(common::MsgCount, 0);
  app::Entry().ShowLoadForm = [] { calc::SpurGearData.P = 5; };  // a light load
  app::Entry().ShowDiagrams = [](int, int) {};
  app::MenuItemClick("mi_editAntrieb");
  ASSERT_EQ(common::MsgCount, 1);
  EXPECT_EQ(common::MsgText[1], "Warning: KHbeta taken at 100 N/mm (Ft/b*KA < 100) ! first at 1\xF8");
  EXPECT_EQ(app::MenuItem("mi_helpErrorMessages").caption, "&Error messages (1)");
  EXPECT_TRUE(app::MenuItem("mi_helpErrorMessages").enabled);
}

TEST_F(MainWindowTest, PrintoutItemsHandTheReportToTheViewer) {
  platform::RecordingReportViewer viewer;
  platform::ScopedReportViewer scoped(viewer);
  common::TempDirectory = dir_.Dir().string();
  common::TextDevice = 1;  // the screen viewer
  common::TextDeviceWindow = false;
  app::MenuItemClick("mi_viewprintoutalles");
  EXPECT_EQ(common::AbortFlag, 0);
  ASSERT_EQ(viewer.Recorded().size(), 1u);
  EXPECT_EQ(viewer.Recorded()[0].kind, platform::RecordedReport::Kind::Shown);
  const auto& lines = viewer.Recorded()[0].report.lines;
  EXPECT_NE(std::find_if(lines.begin(), lines.end(),
                         [](const std::string& l) { return l.find("OPERATIONAL DATA") != std::string::npos; }),
            lines.end());
}

TEST_F(MainWindowTest, SaveQuestionAndFailedSave) {
  // Unchanged data: no question.
  app::QuerySaveChanges();
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_TRUE(dialogs_.Asked().empty());

  // An unnamed changed design: Cancel keeps the window open.
  common::DataChanged = 1;
  dialogs_.Then(ScriptedAnswer::Press(DialogButton::Cancel));
  EXPECT_FALSE(app::MainFormCloseQuery());
  EXPECT_EQ(Messages().back(), "Save file ?");
  EXPECT_EQ(common::DataChanged, 1);

  // A named design whose save fails keeps its question for the next close;
  // the refusal names the file and the system's reason. Names beyond ASCII
  // are shown as the file system holds them.
  common::CurrentFileName = "Zähne ü 2";
  common::DataDirectory = dir_.Path("missing");
  dialogs_.Then(ScriptedAnswer::Press(DialogButton::Yes));
  EXPECT_FALSE(app::MainFormCloseQuery());
  EXPECT_EQ(common::DataChanged, 1);
  EXPECT_EQ(Messages().back(),
            "invalid file name: " + dir_.Path("missing/Zähne ü 2.vb4") + ": No such file or directory");

  // Saved: the question is answered.
  common::DataDirectory = dir_.Dir().string();
  dialogs_.Then(ScriptedAnswer::Press(DialogButton::Yes));
  EXPECT_TRUE(app::MainFormCloseQuery());
  EXPECT_EQ(common::DataChanged, 0);
  EXPECT_TRUE(fs::exists(dir_.Path("Zähne ü 2.vb4")));
  EXPECT_EQ(Messages().back(), "Save file (" + dir_.Path("Zähne ü 2.vb4") + ") ?");
  EXPECT_EQ(common::UpdateAppTitle().substr(common::UpdateAppTitle().find("  -  ")), "  -  Zähne ü 2.vb4");
}

// A changed design that has no name yet is offered Save, Discard and
// Cancel like a named one; Save goes through the file dialog.
TEST_F(MainWindowTest, UnnamedChangedDesignIsSavedThroughTheFileDialog) {
  common::CurrentFileName.clear();
  common::DataDirectory = dir_.Dir().string();
  calc::NcPair.z1 = 37;
  common::DataChanged = 1;

  // Save, then Cancel in the file dialog: nothing written, the window stays.
  dialogs_.Then(ScriptedAnswer::Press(DialogButton::Yes)).Then(ScriptedAnswer::Cancel());
  EXPECT_FALSE(app::MainFormCloseQuery());
  EXPECT_EQ(common::DataChanged, 1);
  EXPECT_FALSE(fs::exists(dir_.Path("kept.vb4")));

  // Save with a name: the design is written there, named, and the window
  // may close.
  dialogs_.ClearRecord();
  dialogs_.Then(ScriptedAnswer::Press(DialogButton::Yes)).Then(ScriptedAnswer::File(dir_.Path("kept.vb4")));
  EXPECT_TRUE(app::MainFormCloseQuery());
  ASSERT_EQ(dialogs_.Asked().size(), 2u);
  EXPECT_EQ(dialogs_.Asked()[0].text, "Save file ?");
  EXPECT_EQ(dialogs_.Asked()[0].buttons, platform::MessageButtons::YesNoCancel);
  EXPECT_EQ(dialogs_.Asked()[1].kind, AskedDialog::Kind::SaveFile);
  EXPECT_EQ(common::DataChanged, 0);
  EXPECT_EQ(common::CurrentFileName, "kept");
  EXPECT_EQ(common::RecentFiles[1], dir_.Path("kept.vb4"));
  calc::NcPair.z1 = 5;
  app::ReadDataFile(dir_.Path("kept.vb4"));
  ASSERT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(calc::NcPair.z1, 37);

  // Discard: nothing is written and the window may close.
  common::CurrentFileName.clear();
  common::DataChanged = 1;
  dialogs_.Then(ScriptedAnswer::Press(DialogButton::No));
  EXPECT_TRUE(app::MainFormCloseQuery());
  EXPECT_EQ(common::DataChanged, 0);
}

// File New cancelled on its way leaves the current design as it was.
TEST_F(MainWindowTest, FileNewCancelledKeepsTheDesign) {
  common::CurrentFileName = "mine";
  common::DataDirectory = dir_.Dir().string();
  calc::NcPair.z1 = 41;
  calc::SpurGearData.FaceWidth = 17;
  common::DataChanged = 0;
  // The quick input's first dialog (the drawing names) is cancelled.
  app::Entry().ShowDrawingNameForm = [] { common::AbortFlag = 1; };
  app::MenuItemClick("mi_fileNew");
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(calc::NcPair.z1, 41);
  EXPECT_EQ(calc::SpurGearData.FaceWidth, 17);
  EXPECT_EQ(common::CurrentFileName, "mine");
  EXPECT_EQ(common::DataChanged, 0);
}

TEST_F(MainWindowTest, RecentFiles) {
  EXPECT_EQ(app::ShortenPath("/a/" + std::string(40, 'b') + "/cdefg.vb4"), "/.../cdefg.vb4");
  const std::string fifty = "\\x\\" + std::string(41, 'y') + "\\12345";
  ASSERT_EQ(fifty.size(), 50u);
  EXPECT_EQ(app::ShortenPath(fifty), "\\...\\12345");
  EXPECT_EQ(app::ShortenPath(fifty.substr(1)), fifty.substr(1));
  EXPECT_EQ(app::ShortenPath(std::string(60, 'z')), std::string(60, 'z'));

  common::DataDirectory = dir_.Dir().string();
  for (const char* name : {"a", "b", "c", "d", "e", "c", "C"}) app::AddRecentFile(name);
  const std::string d = dir_.Dir().string() + "/";
  EXPECT_EQ(common::RecentFiles[1], d + "C.vb4");
  EXPECT_EQ(common::RecentFiles[2], d + "c.vb4");
  EXPECT_EQ(common::RecentFiles[3], d + "e.vb4");
  EXPECT_EQ(common::RecentFiles[4], d + "d.vb4");
  app::UpdateRecentFileMenu();
  EXPECT_TRUE(app::MenuItem("mi_file1").visible);
  EXPECT_EQ(app::MenuItem("mi_file2").caption, "&2 " + app::ShortenPath(d + "c.vb4"));

  // A recent file that is gone leaves the list with a message.
  app::MenuItemClick("mi_file3");
  EXPECT_EQ(Messages().back(), "File " + d + "e.vb4 not found !");
  EXPECT_EQ(common::RecentFiles[3], d + "d.vb4");
  EXPECT_TRUE(common::RecentFiles[4].empty());
  EXPECT_FALSE(app::MenuItem("mi_file4").visible);

  // A file that cannot be read leaves the current design's name.
  testsupport::Put(dir_.Path("c.vb4"), "not a design\r\n");
  common::CurrentFileName = "mine";
  app::MenuItemClick("mi_file2");
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(common::CurrentFileName, "mine");

  // A saved design opens from the list and moves to the top.
  common::AbortFlag = 0;
  app::WriteDataFile("saved");
  ASSERT_EQ(common::AbortFlag, 0);
  app::AddRecentFile("saved");
  app::AddRecentFile("a");
  common::CurrentFileName.clear();
  app::MenuItemClick("mi_file2");
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(common::CurrentFileName, "saved");
  EXPECT_EQ(common::RecentFiles[1], d + "saved.vb4");
  EXPECT_EQ(app::MainCaption, common::ProgramTitle + "  -  saved.vb4");

  // The end writes the session file with the list.
  app::MainFormDestroy();
  const std::string session = testsupport::Slurp(common::SessionFilePath());
  EXPECT_NE(session.find(d + "saved.vb4"), std::string::npos);
}

TEST_F(MainWindowTest, ClosingRemovesOnlyTheRunsBlockFiles) {
  common::TempDirectory = dir_.Dir().string();
  testsupport::Put(dir_.Path("$LOGO_2.dx$"), "  0\r\nEOF\r\n");
  testsupport::Put(dir_.Path("$notes.txt"), "kept");
  // A solid that recorded a block into its part file (the screen keeps its
  // blocks in memory; the STL device writes part files, which stay until
  // the program ends).
  common::CadBatchNaming = true;
  common::CurrentFileName = "pair";
  drawing::CadOpenOutput(drawing::CadDeviceStl);
  drawing::CadDefaultFrame();
  drawing::CadBeginTables(0);
  drawing::CadBeginBlocksSection();
  drawing::CadBeginBlock("GEAR1");
  drawing::CadLine(0, 0, 1, 0);
  drawing::CadEndBlock();
  drawing::CadEndSection();
  drawing::CadInsertLogos();
  drawing::CadInsertBlock("GEAR1", 0, 0, 0, 1, 1);
  drawing::CadEndSection();
  drawing::CadCloseOutput();
  common::CadBatchNaming = false;
  ASSERT_TRUE(fs::exists(dir_.Path("$GEAR1.dx$")));

  EXPECT_TRUE(app::MainFormCloseQuery());
  EXPECT_FALSE(fs::exists(dir_.Path("$GEAR1.dx$")));
  EXPECT_TRUE(fs::exists(dir_.Path("$LOGO_2.dx$")));
  EXPECT_TRUE(fs::exists(dir_.Path("$notes.txt")));
  common::TempDirectory.clear();
}
