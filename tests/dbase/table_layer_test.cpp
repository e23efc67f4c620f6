// The procedural table layer end to end: a table name becomes the path in
// the table or temporary directory with the write check and the copies, the
// table window is shown through a scripted view that picks or cancels,
// record numbers are clamped, new records are written (and read back by
// dbfread) and a temporary index orders the table.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/text_utils.h"
#include "dbase/dataset/tz_file_dataset.h"
#include "dbase/expr/expr_hooks.h"
#include "dbase/index/index_commands.h"
#include "dbase/table/table_layer.h"
#include "dbase_test_support.h"
#include "common/help_text.h"
#include "platform/program_start.h"
#include "platform/scripted_dialogs.h"
#include "support/file_test_support.h"

namespace {

namespace fs = std::filesystem;
using common::AbortFlag;

// A view that runs a script on the shown window.
class ScriptedView : public dbase::TableWindowView {
 public:
  std::function<void(dbase::Tdbf4&)> script;
  int shown = 0;
  std::string caption;
  void ShowModal(dbase::Tdbf4& window) override {
    ++shown;
    caption = window.Caption;
    if (script) script(window);
  }
};

class TableLayer : public dbtest::EngineTest {
 protected:
  void SetUp() override {
    dbtest::EngineTest::SetUp();
    dbase::InstallExprHooks();
    dbase::IndexInit();
    common::MessagesEnabled = 1;
    common::ClearErrorMessages();
    dialogs_ = std::make_unique<platform::ScopedDialogs>(scripted_);
    fs::create_directories(dir_ / "dbf");
    fs::create_directories(dir_ / "temp");
    common::DbfDirectory = (dir_ / "dbf").string() + "/";
    common::TempDirectory = (dir_ / "temp").string() + "/";
    common::CopyTableFlag = 0;
    common::WriteCheckFlags.fill(0);
    dbase::FreeTableWindow();
    dbase::CreateTableWindow();
  }
  void TearDown() override {
    dbase::SetTableWindowView(nullptr);
    dbase::FreeTableWindow();
    dialogs_.reset();
    dbase::IndexDone();
    dbase::RemoveExprHooks();
    dbtest::EngineTest::TearDown();
  }

  // A parts table of five records in the table directory.
  void MakeParts(const std::string& name = "parts") {
    dbase::TTzDbf dbf("make");
    dbf.SetDbfFileName(common::DbfDirectory + name);
    dbf.DbfFields = {"NAME,C,12,0", "QTY,N,5,0", "PRICE,N,6,2", "LONGFIELDN,C,4,0", "OK,L,1,0"};
    dbf.Open();
    const std::vector<std::string> names = {"Pinion", "Axle", "Wheel", "Bearing", "Cam"};
    for (std::size_t i = 0; i < names.size(); ++i) {
      dbf.Append();
      dbf.FieldByName("NAME").SetAsString(names[i]);
      dbf.FieldByName("QTY").SetAsInteger(static_cast<std::int64_t>(i + 1));
      dbf.FieldByName("PRICE").SetAsFloat(1.5 * static_cast<double>(i + 1));
      dbf.FieldByName("LONGFIELDN").SetAsString("L" + std::to_string(i + 1));
      dbf.FieldByName("OK").SetAsBoolean(i % 2 == 0);
      dbf.Post();
    }
    dbf.Close();
  }

  std::vector<std::string> Shown() const {
    std::vector<std::string> texts;
    for (const auto& asked : scripted_.Asked()) texts.push_back(asked.text);
    return texts;
  }

  platform::ScriptedDialogs scripted_;
  std::unique_ptr<platform::ScopedDialogs> dialogs_;
  ScriptedView view_;
};

TEST_F(TableLayer, OpenPickReadAndClose) {
  MakeParts("printout");
  dbase::DbfSetTitles("Presets", "Printout presets");
  dbase::DbfOpen("printout");
  ASSERT_EQ(AbortFlag, 0);
  EXPECT_EQ(dbase::DbfForm().tzdbf.DbfFileName(), common::DbfDirectory + "printout.dbf");
  EXPECT_TRUE(dbase::DbfWriteChecked());
  EXPECT_TRUE(dbase::DbfDirWritable());
  EXPECT_FALSE(fs::exists(dir_ / "dbf" / "TEST.$$$"));
  EXPECT_EQ(dbase::DbfRecCount(), 5);

  // Without a window system the browse cancels.
  dbase::DbfGoto(2);
  dbase::DbfBrowse("", 1);
  EXPECT_EQ(AbortFlag, 1);
  EXPECT_EQ(dbase::LastKeyCode, 27);

  // A user who moves to record 3 and presses OK.
  view_.script = [](dbase::Tdbf4& w) {
    EXPECT_EQ(w.Edit_recno, "2");
    EXPECT_EQ(w.Label_reccount, "/5");
    w.EditRecnoChange("3");
    w.StoreRecNo();
  };
  dbase::SetTableWindowView(&view_);
  dbase::DbfBrowse("", 1);
  EXPECT_EQ(view_.caption, "Printout presets   Presets");
  EXPECT_EQ(AbortFlag, 0);
  EXPECT_EQ(dbase::LastKeyCode, 13);
  EXPECT_EQ(dbase::DbfPickedRecNo, 3);
  EXPECT_EQ(dbase::DbfRecNo(), 3);
  EXPECT_EQ(dbase::DbfGetString(1), "Wheel       ");
  EXPECT_TRUE(dbase::DbfGetLogical("OK"));
  // Names are dBASE names: a longer one is looked up by its first 10.
  EXPECT_EQ(dbase::DbfFieldName(4), "LONGFIELDN");
  EXPECT_EQ(dbase::DbfFieldName(0), "");
  EXPECT_EQ(dbase::DbfFieldName(6), "");
  dbase::DbfForm().PutString("LONGFIELDNAME", "x");
  EXPECT_EQ(AbortFlag, 0);

  // A window closed by its frame without OK counts as Cancel.
  view_.script = nullptr;
  dbase::DbfBrowse("", 1);
  EXPECT_EQ(AbortFlag, 1);
  EXPECT_EQ(dbase::LastKeyCode, 27);
  dbase::DbfClose();
  EXPECT_FALSE(dbase::DbfForm().TableOpen());
  EXPECT_EQ(dbase::DbfRecCount(), 0);
}

TEST_F(TableLayer, GotoClampsAndReportsRecordsBeyondTheTable) {
  MakeParts();
  dbase::DbfOpen("parts.dbf");
  ASSERT_EQ(AbortFlag, 0);
  dbase::DbfGoto(10);
  EXPECT_EQ(dbase::DbfRecNo(), 5);
  ASSERT_EQ(common::MsgCount, 1);
  EXPECT_EQ(common::MsgText[1], "Warning: DBF record #10 not found, the last record taken");
  dbase::DbfGoto(0);
  EXPECT_EQ(dbase::DbfRecNo(), 1);
  dbase::DbfGoto(4);
  dbase::DbfGotoClamped(-3);
  EXPECT_EQ(dbase::DbfRecNo(), 1);
  EXPECT_EQ(common::MsgCount, 1);
  dbase::DbfClose();
}

TEST_F(TableLayer, MissingTableOpensNothing) {
  dbase::DbfOpen("nothere");
  EXPECT_EQ(AbortFlag, 1);
  EXPECT_FALSE(dbase::DbfForm().TableOpen());
  ASSERT_FALSE(Shown().empty());
  EXPECT_EQ(Shown().back(), "file " + common::DbfDirectory + "nothere.dbf not found or no access: No such file or directory");
  // Nothing was remembered: the next open checks again.
  EXPECT_FALSE(dbase::DbfWriteChecked());
  // The operations on the closed table do nothing.
  EXPECT_EQ(dbase::DbfGetString(1), "");
  dbase::DbfGoto(3);
  dbase::DbfPost();
  dbase::DbfClose();
}

// Without a configuration both directories are the program's: a table
// opened there for editing is the table itself, not a copy.
TEST_F(TableLayer, EditModeInTheOneDirectoryClaimsNoCopy) {
  common::TempDirectory = common::DbfDirectory;
  MakeParts();
  dbase::DbfOpen("parts");
  ASSERT_EQ(AbortFlag, 0);
  scripted_.ClearRecord();
  dbase::DbfBrowse("", 2);
  EXPECT_TRUE(Shown().empty()) << Shown().front();
  dbase::DbfClose();
}

TEST_F(TableLayer, CopiesWhenTheTableCannotBeWrittenInPlace) {
  MakeParts();
  // A read-only table in a writable directory: a writable copy is used.
  fs::permissions(dir_ / "dbf" / "parts.dbf", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  dbase::DbfOpen("parts");
  ASSERT_EQ(AbortFlag, 0);
  EXPECT_EQ(dbase::DbfForm().tzdbf.DbfFileName(), common::TempDirectory + "parts.dbf");
  EXPECT_NE(fs::status(dir_ / "temp" / "parts.dbf").permissions() & fs::perms::owner_write, fs::perms::none);
  // The edit mode says that the temporary copy is edited.
  scripted_.ClearRecord();
  dbase::DbfBrowse("", 2);
  ASSERT_FALSE(Shown().empty());
  EXPECT_EQ(Shown().front(), "No Write Access for dbf directory !  Temp directory used.");
  dbase::DbfClose();

  // The check is made once a run: a directory found unwritable stays so,
  // and the table is copied without a second "TEST.$$$".
  fs::permissions(dir_ / "dbf" / "parts.dbf", fs::perms::owner_write, fs::perm_options::add);
  fs::remove(dir_ / "temp" / "parts.dbf");
  common::WriteCheckFlags[2] = 0;
  dbase::DbfOpen("parts");
  ASSERT_EQ(AbortFlag, 0);
  EXPECT_EQ(dbase::DbfForm().tzdbf.DbfFileName(), common::TempDirectory + "parts.dbf");
  EXPECT_TRUE(fs::exists(dir_ / "temp" / "parts.dbf"));
  dbase::DbfClose();

  // Tables kept in the temporary directory are opened there.
  dbase::SetDbfWriteChecked(false);
  common::CopyTableFlag = 1;
  dbase::DbfOpen("parts");
  ASSERT_EQ(AbortFlag, 0);
  EXPECT_EQ(dbase::DbfForm().tzdbf.DbfFileName(), common::TempDirectory + "parts.dbf");
  EXPECT_TRUE(dbase::DbfDirWritable());
  dbase::DbfClose();
}

TEST_F(TableLayer, PutsAndPostAppendARecordThatOtherReadersSee) {
  MakeParts();
  dbase::DbfOpen("parts");
  ASSERT_EQ(AbortFlag, 0);
  dbase::DbfPutString("NAME", "R\x81" "ck");  // "Rück" in code page 850
  dbase::DbfPutInteger("QTY", 42);
  dbase::DbfPutFloat("PRICE", 12.25);
  dbase::DbfPutLogical("OK", true);
  dbase::DbfPost();
  EXPECT_EQ(dbase::DbfRecCount(), 6);
  EXPECT_EQ(dbase::DbfRecNo(), 6);
  EXPECT_EQ(dbase::DbfGetString(1), "R\x81" "ck        ");
  // An unknown field is reported and stops the caller's sequence.
  dbase::DbfPutString("NOSUCH", "x");
  EXPECT_EQ(AbortFlag, 1);
  dbase::DbfClose();
  if (!dbtest::HasPythonModule("dbfread")) GTEST_SKIP() << "dbfread is not installed";
  const std::string out = dbtest::RunPython(
      dir_, "import dbfread\n"
            "t = dbfread.DBF('" + (dir_ / "dbf" / "parts.dbf").string() + "', encoding='cp850')\n"
            "rows = list(t)\n"
            "print(len(rows), repr(list(rows[-1].values())), repr(list(rows[1].values())))\n"
            "print(repr(list(rows[0].values())))\n");
  // A field not put keeps the value of the record the puts started on; that
  // record itself stays as it was.
  EXPECT_EQ(out, "6 ['R\xC3\xBC" "ck', 42, 12.25, 'L1', True] ['Axle', 2, 3.0, 'L2', False]\n"
                 "['Pinion', 1, 1.5, 'L1', True]\n");
}

TEST_F(TableLayer, TemporaryIndexOrdersTheTable) {
  MakeParts();
  dbase::DbfOpen("parts");
  ASSERT_EQ(AbortFlag, 0);
  EXPECT_EQ(dbase::DbfIndexPath("$kaltest"), common::TempDirectory + "$kaltest");
  dbase::DbfCreateIndex("NAME", "$kaltest");
  EXPECT_EQ(AbortFlag, 0);
  EXPECT_TRUE(fs::exists(dir_ / "temp" / "$kaltest.ndx"));
  dbase::Tdbf4& w = dbase::DbfForm();
  w.tzdbf.First();
  std::vector<std::string> order;
  while (!w.tzdbf.Eof()) {
    order.push_back(common::TrimBlanks(dbase::DbfGetString(1)));
    w.tzdbf.Next();
  }
  EXPECT_EQ(order, (std::vector<std::string>{"Axle", "Bearing", "Cam", "Pinion", "Wheel"}));
  dbase::DbfClose();
}

// ---- The window's handlers ------------------------------------------------------

TEST_F(TableLayer, SearchRepeatsWithADecimalPointAndSearchNextGoesOn) {
  MakeParts();
  dbase::DbfOpen("parts");
  dbase::Tdbf4& w = dbase::DbfForm();
  w.GoRecord(4);
  // "1,5" is not in the table; "1.5" (the price of record 1) is.
  scripted_.Then(platform::ScriptedAnswer::Enter("1,5"));
  w.SearchClick();
  EXPECT_EQ(w.RecNo(), 1);
  EXPECT_EQ(w.SearchText(), "1,5");
  EXPECT_EQ(common::HelpNumber, 0);
  // From the top, then on after the current record.
  scripted_.Then(platform::ScriptedAnswer::Enter("a"));
  w.SearchClick();
  EXPECT_EQ(w.RecNo(), 2);
  w.SearchNextClick();
  EXPECT_EQ(w.RecNo(), 4);
  w.SearchNextClick();
  EXPECT_EQ(w.RecNo(), 5);
  EXPECT_EQ(w.Edit_recno, "5");
  scripted_.ClearRecord();
  w.SearchNextClick();
  EXPECT_EQ(w.RecNo(), 5);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"a not found"}));
  // Cancel in the prompt: no search, and the window stays usable.
  scripted_.ClearRecord();
  w.SearchClick();
  EXPECT_EQ(AbortFlag, 0);
  EXPECT_EQ(w.RecNo(), 5);
  EXPECT_EQ(scripted_.Asked().front().text, "Type search string");
  EXPECT_EQ(scripted_.Asked().front().initial, "a");
  dbase::DbfClose();
}

TEST_F(TableLayer, RecordNumberEditTitleSortPackAndQuickPick) {
  MakeParts();
  dbase::DbfOpen("parts");
  dbase::Tdbf4& w = dbase::DbfForm();
  w.GoRecord(3);
  for (const char* typed : {"0", "6", "x"}) {
    w.EditRecnoChange(typed);
    EXPECT_EQ(w.RecNo(), 3) << typed;
  }
  w.EditRecnoChange("5");
  EXPECT_EQ(w.RecNo(), 5);

  // The temporary indexes of the title order in the temporary directory.
  const auto sortIndexes = [&] {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(dir_ / "temp")) {
      const std::string name = entry.path().filename().string();
      if (name.rfind("$kaltemp", 0) == 0 && entry.path().extension() == ".ndx") ++count;
    }
    return count;
  };
  // The title of column 1 orders by NAME; Cam stays current.
  w.DepressTitle(0);
  EXPECT_EQ(sortIndexes(), 1);
  EXPECT_EQ(w.RecNo(), 5);
  EXPECT_EQ(dbase::DbfPickedRecNo, 5);
  w.tzdbf.Next();
  EXPECT_EQ(common::TrimBlanks(w.FieldAsString(1)), "Pinion");
  // The title of column 3 orders by PRICE.
  w.DepressTitle(2);
  w.tzdbf.First();
  EXPECT_EQ(common::TrimBlanks(w.FieldAsString(1)), "Pinion");
  EXPECT_EQ(sortIndexes(), 1) << "the index of the title before is removed";
  // A temporary directory gone meanwhile: the title's order is not made,
  // the user is told where and why, and the order shown stays.
  const std::string temp = common::TempDirectory;
  common::TempDirectory = (dir_ / "gone").string();
  w.DepressTitle(0);
  EXPECT_EQ(scripted_.Asked().back().text,
            "file write error: " + (dir_ / "gone").string() + "/$kaltemp*.ndx: No such file or directory");
  w.tzdbf.First();
  EXPECT_EQ(common::TrimBlanks(w.FieldAsString(1)), "Pinion");
  common::TempDirectory = temp;
  EXPECT_EQ(sortIndexes(), 1);

  // Pack removes the records marked deleted, after Yes only.
  w.GoRecord(2);
  w.tzdbf.SetDeleted(true);
  scripted_.Then(platform::ScriptedAnswer::Press(platform::DialogButton::No));
  w.PackClick();
  EXPECT_EQ(w.RecCount(), 5);
  scripted_.Then(platform::ScriptedAnswer::Press(platform::DialogButton::Yes));
  w.PackClick();
  EXPECT_EQ(w.RecCount(), 4);
  EXPECT_EQ(w.Label_reccount, "/4");

  // A quick pick ends at the first click with that record.
  view_.script = [](dbase::Tdbf4& win) {
    win.GoRecord(2);
    win.GridColumn = 2;
    win.GridCellClick();
    EXPECT_FALSE(win.Shown());
  };
  dbase::SetTableWindowView(&view_);
  dbase::DbfBrowse("CLOSE", 4);
  EXPECT_EQ(dbase::LastKeyCode, 13);
  EXPECT_EQ(dbase::DbfPickedRecNo, 2);
  // The next quick pick starts in the column of the last OK; the Down key
  // ends it.
  view_.script = [](dbase::Tdbf4& win) {
    EXPECT_EQ(win.GridColumn, 2);
    EXPECT_FALSE(win.GridOptions.editing);
    EXPECT_FALSE(win.EditMenuVisible);
    EXPECT_FALSE(win.NavigatorButtons[dbase::nbDelete]);
    EXPECT_TRUE(win.NavigatorButtons[dbase::nbLast]);
    win.GridColumn = 0;
    win.GridKeyDown(40);
  };
  dbase::DbfBrowse("CLOSE", 1);
  EXPECT_EQ(dbase::LastKeyCode, 13);
  // The edit mode shows everything again.
  view_.script = [](dbase::Tdbf4& win) {
    EXPECT_TRUE(win.GridOptions.editing);
    EXPECT_TRUE(win.EditMenuVisible);
    EXPECT_TRUE(win.NavigatorButtons[dbase::nbRefresh]);
    win.GridKeyDown(40);
    EXPECT_TRUE(win.Shown());
    win.CancelClick();
  };
  dbase::DbfBrowse("", 3);
  EXPECT_EQ(dbase::LastKeyCode, 27);
  EXPECT_EQ(view_.caption, "    (" + common::DbfDirectory + "parts.dbf)");
  dbase::DbfClose();
  EXPECT_EQ(sortIndexes(), 0) << "the table's close removes the last one";
}

TEST_F(TableLayer, ImportAndDelimitedExportThroughTheFileMenu) {
  MakeParts("more");
  MakeParts();
  dbase::DbfOpen("parts");
  dbase::Tdbf4& w = dbase::DbfForm();
  w.GoRecord(2);
  // Another table's records appended.
  scripted_.Then(platform::ScriptedAnswer::File(common::DbfDirectory + "more.dbf"));
  w.AppendDbfClick();
  EXPECT_EQ(w.RecCount(), 10);
  EXPECT_EQ(w.Label_reccount, "/10");
  EXPECT_EQ(scripted_.Asked().back().filter, "*.dbf|*.dbf|All files|*");
  // Saved as delimited text (the name gets no extension of its own) ...
  const std::string text = (dir_ / "parts.txt").string();
  scripted_.Then(platform::ScriptedAnswer::File(text));
  w.SaveAsDelimitedClick();
  const std::string saved = testsupport::Slurp(text);
  EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 10);
  EXPECT_EQ(saved.rfind("\"Pinion\",1,1.50,\"L1\",T", 0), 0u) << saved;
  // ... and appended again; Cancel appends nothing.
  w.AppendDelimitedClick();
  EXPECT_EQ(w.RecCount(), 10);
  scripted_.Then(platform::ScriptedAnswer::File((dir_ / "parts").string()));
  w.AppendDelimitedClick();
  EXPECT_EQ(w.RecCount(), 20);
  w.GoRecord(20);
  EXPECT_EQ(common::TrimBlanks(dbase::DbfGetString(4)), "L5");
  // Another program holding the file lock past the retries: the command
  // is not run and the user is told.
  const int window = dbase::CurrentWorkArea();
  ASSERT_TRUE(dbase::Select(30));
  ASSERT_TRUE(dbase::Use(common::DbfDirectory + "parts.dbf"));
  ASSERT_TRUE(dbase::FLock());
  dbase::Select(window);
  w.tzdbf.ChangeLockRetries = 5;
  scripted_.Then(platform::ScriptedAnswer::File((dir_ / "parts").string()));
  common::AbortFlag = 0;
  w.AppendDelimitedClick();
  EXPECT_EQ(scripted_.Asked().back().text, "Lock failed [Append Delimited]");
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(w.RecCount(), 20);
  dbase::CloseWorkArea(30);
  dbase::DbfClose();
}

TEST_F(TableLayer, HtmlExportIsAValidPageOfEveryRecord) {
  MakeParts();
  dbase::DbfOpen("parts");
  dbase::Tdbf4& w = dbase::DbfForm();
  w.GoRecord(2);
  dbase::DbfPutString("NAME", "A<B & C");
  w.tzdbf.Post();
  w.GoRecord(1);
  dbase::DbfPutString("NAME", "R\x81" "ck");  // "Rück" in code page 850
  w.tzdbf.Post();
  w.GoRecord(3);
  common::HtmlBrowserPath = "mybrowser";
  std::vector<std::string> started;
  platform::ScopedCommandStarter starter([&](const std::string& line) {
    started.push_back(line);
    return platform::StartResult{};
  });
  const std::string file = (dir_ / "parts.htm").string();
  scripted_.Then(platform::ScriptedAnswer::File((dir_ / "parts").string()));
  w.ExportHtmlClick();
  ASSERT_EQ(AbortFlag, 0);
  EXPECT_EQ(w.RecNo(), 3);
  // The file one word of the line, whatever folder it lies in.
  EXPECT_EQ(started, (std::vector<std::string>{"mybrowser " + platform::CommandLineWord(file)}));
  EXPECT_EQ(platform::CommandLineWords(started[0]), (std::vector<std::string>{"mybrowser", file}));
  EXPECT_EQ(scripted_.Asked().back().text, "parts.htm");
  const std::string page = testsupport::Slurp(file);
  EXPECT_EQ(page.substr(0, 68), "<HTML>\r\n<head><title>parts</title></head>\r\n<BODY BGCOLOR=\"C0C0C0\">\r\n");
  EXPECT_NE(page.find("<TR><TD><CENTER>NAME</CENTER></TD><TD><CENTER>QTY</CENTER></TD>"), std::string::npos);
  EXPECT_NE(page.find("<TR><TD>A&lt;B &amp; C</TD><TD>2</TD><TD>3.00</TD><TD>L2</TD><TD>F</TD></TR>"),
            std::string::npos)
      << page;
  EXPECT_NE(page.find("</TABLE>\r\n</BODY>\r\n</HTML>\r\n"), std::string::npos);
  EXPECT_NE(page.find("<TR><TD>R\xC3\xBC" "ck</TD>"), std::string::npos) << page;
  if (!dbtest::HasProgram("tidy")) GTEST_SKIP() << "tidy is not installed";
  const std::string errors = dbtest::RunCommand("tidy -q -e " + dbtest::Quoted(file) + " 2>&1 | grep -c Error: || true");
  EXPECT_EQ(errors, "0\n");
  const std::string rows = dbtest::RunPython(
      dir_, "from html.parser import HTMLParser\n"
            "class P(HTMLParser):\n"
            "  rows = 0\n"
            "  def handle_starttag(self, tag, a):\n"
            "    if tag == 'tr': P.rows += 1\n"
            "P().feed(open('" + file + "').read())\n"
            "print(P.rows)\n");
  EXPECT_EQ(rows, "6\n");
  dbase::DbfClose();
}

// A table named with dots of its own is offered its page under its whole
// name, and the offer taken as it stands writes that page.
TEST_F(TableLayer, ADottedTableIsExportedUnderItsWholeName) {
  MakeParts("pump.v1.dbf");
  dbase::DbfOpen("pump.v1.dbf");
  dbase::Tdbf4& w = dbase::DbfForm();
  common::HtmlBrowserPath = "mybrowser";
  std::vector<std::string> started;
  platform::ScopedCommandStarter starter([&](const std::string& line) {
    started.push_back(line);
    return platform::StartResult{};
  });
  scripted_.Then(platform::ScriptedAnswer::File((dir_ / "pump.v1.htm").string()));
  w.ExportHtmlClick();
  ASSERT_EQ(AbortFlag, 0);
  EXPECT_EQ(scripted_.Asked().back().text, "pump.v1.htm");
  EXPECT_TRUE(fs::exists(dir_ / "pump.v1.htm"));
  EXPECT_FALSE(fs::exists(dir_ / "pump.v1"));
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(platform::CommandLineWords(started[0]).back(), (dir_ / "pump.v1.htm").string());
  dbase::DbfClose();
}

TEST_F(TableLayer, PrintShowsTheFirstSevenColumns) {
  dbase::TTzDbf wide("wide");
  wide.SetDbfFileName(common::DbfDirectory + "wide");
  for (int f = 1; f <= 10; ++f) wide.DbfFields.push_back("F" + std::to_string(f) + ",C,3,0");
  wide.Open();
  wide.Append();
  for (int f = 1; f <= 10; ++f) wide.FieldByName("F" + std::to_string(f)).SetAsString("v" + std::to_string(f));
  wide.Post();
  wide.Close();
  dbase::DbfOpen("wide");
  common::TextDevice = 3;
  common::TextDeviceWindow = false;
  common::CurrentFileName = "demo";
  const std::string out = (dir_ / "wide.txt").string();
  scripted_.Then(platform::ScriptedAnswer::File(out));
  dbase::DbfForm().PrintClick();
  ASSERT_EQ(AbortFlag, 0);
  const std::string text = testsupport::Slurp(out);
  EXPECT_NE(text.find("F7"), std::string::npos) << text;
  EXPECT_NE(text.find("v7"), std::string::npos);
  EXPECT_EQ(text.find("F8"), std::string::npos);
  EXPECT_EQ(text.find("v8"), std::string::npos);
  EXPECT_NE(text.find(common::DbfDirectory + "wide.dbf"), std::string::npos);
  dbase::DbfClose();
}

}  // namespace
