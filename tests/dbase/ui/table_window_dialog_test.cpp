// The table window on Qt, offscreen: the table layer opens a table and
// shows the real dialog, which the test drives as a user would (navigator
// buttons, the record-number field, typing into a cell, clicking a logical
// cell, OK and Cancel); deleted records are drawn red; what was edited is
// read back from the file by dbfread.
#include <gtest/gtest.h>

// Before Qt: the index layer names a member "slots".
#include "dbase/expr/expr_hooks.h"
#include "dbase/index/index_commands.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "common/help_text.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "dbase/dataset/tz_file_dataset.h"
#include "dbase/dbase_test_support.h"
#include "dbase/table/table_layer.h"
#include "dbase/ui/table_window_dialog.h"
#include "dbase/ui/tz_grid.h"
#include "dbase/ui/tz_navigator.h"
#include "platform/scripted_dialogs.h"
#include "support/process_locale.h"

namespace {

namespace fs = std::filesystem;
using dbase::ui::TableWindowDialog;

void EnsureApplication() {
  static int argc = 1;
  static char name[] = "table_window_dialog_test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  (void)app;
}

class TableWindowDialogTest : public dbtest::EngineTest {
 protected:
  void SetUp() override {
    EnsureApplication();
    dbtest::EngineTest::SetUp();
    dbase::InstallExprHooks();
    dbase::IndexInit();
    common::MessagesEnabled = 1;
    common::ClearErrorMessages();
    dialogs_ = std::make_unique<platform::ScopedDialogs>(scripted_);
    common::DbfDirectory = dir_.string() + "/";
    common::TempDirectory = dir_.string() + "/";
    common::CopyTableFlag = 0;
    common::WriteCheckFlags.fill(0);
    dbase::FreeTableWindow();
    dbase::CreateTableWindow();
    view_ = &dbase::ui::InstallTableWindow();
    dbase::TTzDbf dbf("make");
    dbf.SetDbfFileName(Path("tools"));
    dbf.DbfFields = {"NAME,C,12,0", "QTY,N,5,0", "OK,L,1,0"};
    dbf.Open();
    for (const char* part : {"Hob", "Shaper", "Rack", "Cutter"}) {
      dbf.Append();
      dbf.FieldByName("NAME").SetAsString(part);
      dbf.FieldByName("QTY").SetAsInteger(3);
      dbf.Post();
    }
    dbf.SetRecNo(3);
    dbf.SetDeleted(true);
    dbf.Close();
  }
  void TearDown() override {
    view_->OnShown = nullptr;
    dbase::SetTableWindowView(nullptr);
    dbase::FreeTableWindow();
    dialogs_.reset();
    dbase::IndexDone();
    dbase::RemoveExprHooks();
    dbtest::EngineTest::TearDown();
  }

  // A material table "mat" of NAME C(8) and RHO N(6,3).
  void MakeMaterials(const std::vector<std::pair<std::string, double>>& rows) {
    dbase::TTzDbf dbf("make");
    dbf.SetDbfFileName(Path("mat"));
    dbf.DbfFields = {"NAME,C,8,0", "RHO,N,6,3"};
    dbf.Open();
    for (const auto& [name, rho] : rows) {
      dbf.Append();
      dbf.FieldByName("NAME").SetAsString(name);
      dbf.FieldByName("RHO").SetAsFloat(rho);
      dbf.Post();
    }
    dbf.Close();
  }
  // Opens "mat" through the table layer; the file dialog of Append
  // Delimited will answer a file of the given text.
  void OpenMaterialsWithFile(const std::string& delimited) {
    testsupport::Put(dir_ / "more.txt", delimited);
    scripted_.Then(platform::ScriptedAnswer::File(Path("more.txt")));
    dbase::DbfOpen("mat");
  }
  // The text of a row's RHO cell.
  static QString RhoCell(TableWindowDialog& d, int row) {
    return d.TzGrid1->Model()->index(row, 1).data().toString().trimmed();
  }
  // File > Append Delimited, through the menu bar.
  static void ClickAppendDelimited(TableWindowDialog& d) {
    QMenu* file = d.findChild<QMenu*>("mi_file");
    ASSERT_NE(file, nullptr);
    QTest::mouseClick(d.MainMenu1, Qt::LeftButton, {}, d.MainMenu1->actionGeometry(file->menuAction()).center());
    ASSERT_TRUE(file->isVisible());
    QTest::mouseClick(file, Qt::LeftButton, {}, file->actionGeometry(d.Action("mi_fileAppendDelimited")).center());
  }

  // The centre of a cell of the grid, in its viewport.
  static QPoint Cell(dbase::ui::TTzGrid* grid, int row, int column) {
    return grid->visualRect(grid->Model()->index(row, column)).center();
  }

  platform::ScriptedDialogs scripted_;
  std::unique_ptr<platform::ScopedDialogs> dialogs_;
  dbase::ui::QtTableWindowView* view_ = nullptr;
};

TEST_F(TableWindowDialogTest, EditModeNavigatesEditsTogglesAndRestores) {
  dbase::DbfSetTitles("Tools", "Tool table");
  dbase::DbfOpen("tools");
  ASSERT_EQ(common::AbortFlag, 0);
  // The tool table's help entry has no picture: no picture item.
  common::SetProgramIdentity();  // the program's own help file
  common::PltDirectory = std::string(VOB_SOURCE_DIR) + "/resources";
  common::SetHelpNumber(9510);
  bool ran = false;
  view_->OnShown = [&](TableWindowDialog& d) {
    ran = true;
    EXPECT_FALSE(d.Action("mi_helphilfebild")->isVisible());
    EXPECT_EQ(d.windowTitle(), "Tool table  Tools  (" + QString::fromStdString(Path("tools.dbf")) + ")");
    EXPECT_EQ(d.Label_reccount->text(), "/4");
    EXPECT_EQ(d.Edit_recno->text(), "1");
    EXPECT_EQ(d.TzGrid1->Model()->rowCount(), 4);
    EXPECT_TRUE(d.TzNavigator1->Button(dbase::nbDelete)->isVisibleTo(&d));
    EXPECT_TRUE(d.mi_edit->menuAction()->isVisible());

    // The deleted record's row is red; the current one in the highlight.
    QImage picture = d.TzGrid1->viewport()->grab().toImage();
    EXPECT_EQ(picture.pixelColor(Cell(d.TzGrid1, 2, 1) + QPoint(0, 4)), QColor(255, 0, 0));
    EXPECT_NE(picture.pixelColor(Cell(d.TzGrid1, 1, 1) + QPoint(0, 4)), QColor(255, 0, 0));

    // Navigator Next, then a record number typed.
    QTest::mouseClick(d.TzNavigator1->Button(dbase::nbNext), Qt::LeftButton);
    EXPECT_EQ(d.Edit_recno->text(), "2");
    d.Edit_recno->selectAll();
    QTest::keyClicks(d.Edit_recno, "4");
    EXPECT_EQ(d.TzGrid1->currentIndex().row(), 3);
    EXPECT_EQ(dbase::DbfForm().RecNo(), 4);

    // Typing into the name cell of record 2 and Enter writes the record.
    d.TzGrid1->setFocus();
    d.TzGrid1->setCurrentIndex(d.TzGrid1->Model()->index(1, 0));
    QTest::keyClick(d.TzGrid1, 'G');
    auto* editor = d.TzGrid1->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "ear hob");
    EXPECT_EQ(editor->text(), "Gear hob");
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();  // the delegate commits through the event loop
    EXPECT_EQ(d.TzGrid1->Model()->index(1, 0).data().toString(), "Gear hob");

    // A cell still being typed into is written when the navigator moves on.
    d.TzGrid1->setCurrentIndex(d.TzGrid1->Model()->index(3, 1));
    QTest::keyClick(d.TzGrid1, '7');
    QTest::mouseClick(d.TzNavigator1->Button(dbase::nbFirst), Qt::LeftButton);
    EXPECT_EQ(d.TzGrid1->Model()->index(3, 1).data().toString().trimmed(), "7");
    EXPECT_EQ(d.Edit_recno->text(), "1");

    // A click on the logical cell of record 1 toggles it.
    QTest::mouseClick(d.TzGrid1->viewport(), Qt::LeftButton, {}, Cell(d.TzGrid1, 0, 2));
    EXPECT_EQ(d.TzGrid1->Model()->index(0, 2).data().toString(), "True");

    // The navigator's Delete on the deleted record restores it.
    d.TzGrid1->setCurrentIndex(d.TzGrid1->Model()->index(2, 0));
    QTest::mouseClick(d.TzNavigator1->Button(dbase::nbDelete), Qt::LeftButton);
    EXPECT_FALSE(d.TzGrid1->RowDeleted(2));
    QTest::mouseClick(d.Button_ok, Qt::LeftButton);
  };
  dbase::DbfBrowse("", 2);
  ASSERT_TRUE(ran);
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(dbase::LastKeyCode, 13);
  EXPECT_EQ(dbase::DbfPickedRecNo, 3);
  dbase::DbfClose();
  if (!dbtest::HasPythonModule("dbfread")) GTEST_SKIP() << "dbfread is not installed";
  EXPECT_EQ(dbtest::RunPython(dir_, "import dbfread\n"
                                    "t = dbfread.DBF('" + Path("tools.dbf") + "')\n"
                                    "print([(r['NAME'], r['OK']) for r in t], len(t.deleted), list(t)[3]['QTY'])\n"),
            "[('Hob', True), ('Gear hob', False), ('Rack', False), ('Cutter', False)] 0 7\n");
}

TEST_F(TableWindowDialogTest, PickModeShowsTheRecordsAndReturnsThePickedOne) {
  dbase::DbfSetTitles("Tools", "Tool table");
  dbase::DbfOpen("tools");
  // An entry with a picture (the contact pattern's) offers it.
  common::SetProgramIdentity();  // the program's own help file
  common::PltDirectory = std::string(VOB_SOURCE_DIR) + "/resources";
  common::SetHelpNumber(5540);
  view_->OnShown = [&](TableWindowDialog& d) {
    EXPECT_TRUE(d.Action("mi_helphilfebild")->isVisible());
    EXPECT_EQ(d.windowTitle(), "Tool table   Tools");
    // Deleted records are hidden, and nothing can be edited.
    EXPECT_EQ(d.TzGrid1->Model()->rowCount(), 3);
    EXPECT_FALSE(d.TzNavigator1->Button(dbase::nbDelete)->isVisibleTo(&d));
    EXPECT_TRUE(d.TzNavigator1->Button(dbase::nbLast)->isVisibleTo(&d));
    EXPECT_FALSE(d.mi_edit->menuAction()->isVisible());
    EXPECT_FALSE(d.Action("mi_fileAppenddbf")->isVisible());
    EXPECT_FALSE(d.TzGrid1->Model()->flags(d.TzGrid1->Model()->index(0, 0)) & Qt::ItemIsEditable);
    // The third row is record 4; a click on it in quick pick closes.
    QTest::mouseClick(d.TzGrid1->viewport(), Qt::LeftButton, {}, Cell(d.TzGrid1, 2, 1));
  };
  dbase::DbfBrowse("CLOSE", 1);
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(dbase::DbfPickedRecNo, 4);
  EXPECT_EQ(dbase::DbfGetString(1), "Cutter      ");

  // Down ends a quick pick on the record it was pressed on.
  view_->OnShown = [&](TableWindowDialog& d) {
    d.TzGrid1->setCurrentIndex(d.TzGrid1->Model()->index(1, 0));
    QTest::keyClick(d.TzGrid1, Qt::Key_Down);
  };
  dbase::DbfBrowse("CLOSE", 1);
  EXPECT_EQ(dbase::LastKeyCode, 13);
  EXPECT_EQ(dbase::DbfPickedRecNo, 2);

  // Escape cancels.
  view_->OnShown = [&](TableWindowDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); };
  dbase::DbfBrowse("", 1);
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(dbase::LastKeyCode, 27);
  dbase::DbfClose();
}

TEST_F(TableWindowDialogTest, RightClickOnATitleSortsAndStoredColumnsShow) {
  // A temporary folder with blanks in its name, one at its end too.
  const fs::path temp = dir_ / "sort in a folder ";
  fs::create_directory(temp);
  common::TempDirectory = temp.string() + "/";
  dbase::DbfOpen("tools");
  view_->OnShown = [&](TableWindowDialog& d) {
    d.TzGrid1->setCurrentIndex(d.TzGrid1->Model()->index(1, 0));  // Shaper, record 2
    QHeaderView* header = d.TzGrid1->horizontalHeader();
    const QPoint title(header->sectionViewportPosition(0) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::RightButton, {}, title);
    EXPECT_EQ(d.TzGrid1->PressedColumn(), 0);
    QStringList names;
    for (int r = 0; r < d.TzGrid1->Model()->rowCount(); ++r)
      names << d.TzGrid1->Model()->index(r, 0).data().toString();
    EXPECT_EQ(names, (QStringList{"Cutter", "Hob", "Rack", "Shaper"}));
    EXPECT_EQ(dbase::DbfForm().RecNo(), 2);
    EXPECT_EQ(d.TzGrid1->currentIndex().row(), 3);
    EXPECT_EQ(d.Edit_recno->text(), "2");
    d.TzGrid1->SetDepressDisabled(true);
    EXPECT_EQ(d.TzGrid1->PressedColumn(), -1);

    // A stored layout: two columns, quantity first under its own title.
    d.TzGrid1->ReadSavedColumns({"cvColumn=0", "cvFieldNameStr=QTY", "cvTitleCaptionStr=Count", "cvWidthStr=50",
                                 "cvTitleFontStr=Sans,clBlue,0x10A",
                                 "cvColumn=1", "cvFieldNameStr=NAME"});
    EXPECT_EQ(d.TzGrid1->Model()->columnCount(), 2);
    EXPECT_EQ(d.TzGrid1->Model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Count");
    EXPECT_EQ(d.TzGrid1->Model()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "NAME");
    EXPECT_EQ(d.TzGrid1->columnWidth(0), 50);
    const QFont titleFont = d.TzGrid1->Model()->headerData(0, Qt::Horizontal, Qt::FontRole).value<QFont>();
    EXPECT_TRUE(titleFont.bold());
    EXPECT_EQ(titleFont.pointSize(), 10);
    EXPECT_EQ(d.TzGrid1->Model()->headerData(0, Qt::Horizontal, Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 255));
    // The indicator marks the current record's row.
    EXPECT_EQ(d.TzGrid1->Model()->headerData(3, Qt::Vertical, Qt::DisplayRole).toString(), QString::fromUtf8("\u25B6"));
    EXPECT_EQ(d.TzGrid1->Model()->index(0, 1).data().toString(), "Cutter");
    QTest::mouseClick(d.Button_cancel, Qt::LeftButton);
  };
  dbase::DbfBrowse("", 2);
  EXPECT_EQ(dbase::LastKeyCode, 27);
  // The order is a temporary index of the run's own, removed with the table.
  const auto sortIndexes = [&] {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(temp)) {
      const std::string name = entry.path().filename().string();
      if (name.rfind("$kaltemp", 0) == 0 && entry.path().extension() == ".ndx") ++count;
    }
    return count;
  };
  EXPECT_EQ(sortIndexes(), 1);
  dbase::DbfClose();
  EXPECT_EQ(sortIndexes(), 0);
  EXPECT_TRUE(fs::is_empty(temp));
}

// On a German desktop (the process's locale set as the program's start sets
// it from the environment) a number cell takes the desktop's decimal comma
// and the point alike, and refuses what is no number with a message;
// File > Append Delimited keeps every decimal of the file; a right click on
// the title orders by value.
TEST_F(TableWindowDialogTest, NumbersOnAGermanDesktop) {
  testsupport::ProcessLocale german(testsupport::kGermanLocale);
  if (!german.Set()) GTEST_SKIP() << "the locale " << testsupport::kGermanLocale << " is not installed";
  MakeMaterials({{"Steel", 1.25}, {"Alu", 1.25}, {"Cast", 1.25}});
  OpenMaterialsWithFile("\"Cork\",0.300\r\n\"Brass\",7.850\r\n\"Iron\",7.2\r\n");
  ASSERT_EQ(common::AbortFlag, 0);
  bool ran = false;
  view_->OnShown = [&](TableWindowDialog& d) {
    ran = true;
    auto cell = [&](int row) { return RhoCell(d, row); };
    EXPECT_EQ(cell(0), "1.250");
    auto type = [&](int row, const char* text) {
      d.TzGrid1->setFocus();
      d.TzGrid1->setCurrentIndex(d.TzGrid1->Model()->index(row, 1));
      QTest::keyClick(d.TzGrid1, Qt::Key_F2);
      QLineEdit* editor = nullptr;  // the open one; a closed one waits to be deleted
      for (QLineEdit* e : d.TzGrid1->viewport()->findChildren<QLineEdit*>())
        if (e->isVisible()) editor = e;
      ASSERT_NE(editor, nullptr);
      editor->selectAll();
      QTest::keyClicks(editor, text);
      QTest::keyClick(editor, Qt::Key_Return);
      QApplication::processEvents();
    };
    type(0, "1,3");
    type(1, "2.5");
    EXPECT_EQ(cell(0), "1.300");
    EXPECT_EQ(cell(1), "2.500");
    scripted_.ClearRecord();
    type(2, "x");
    EXPECT_EQ(cell(2), "1.250");
    ASSERT_EQ(scripted_.Asked().size(), 1u);
    EXPECT_NE(scripted_.Asked()[0].text.find("'x' is not a valid floating point value"), std::string::npos);

    ClickAppendDelimited(d);
    ASSERT_EQ(d.TzGrid1->Model()->rowCount(), 6);
    EXPECT_EQ(cell(3), "0.300");
    EXPECT_EQ(cell(4), "7.850");
    EXPECT_EQ(cell(5), "7.200");

    // Ordered by RHO: by value.
    QHeaderView* header = d.TzGrid1->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::RightButton, {},
                      QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
    QStringList order;
    for (int r = 0; r < d.TzGrid1->Model()->rowCount(); ++r) order << cell(r);
    EXPECT_EQ(order, (QStringList{"0.300", "1.250", "1.300", "2.500", "7.200", "7.850"}));
    QTest::mouseClick(d.Button_ok, Qt::LeftButton);
  };
  dbase::DbfBrowse("", 2);
  ASSERT_TRUE(ran);
  dbase::DbfClose();
}

// The program started on a German desktop writes decimals with a comma
// (its start takes the engine's separators from LANG): File > Append
// Delimited reads "0,275" as 0.275 and the point as before, and a line it
// cannot take is refused by number in the program's own error box, while
// the lines after it arrive.
TEST_F(TableWindowDialogTest, AppendDelimitedOnAGermanDesktopReadsTheDecimalComma) {
  testsupport::ProcessLocale german(testsupport::kGermanLocale);
  if (!german.Set()) GTEST_SKIP() << "the locale " << testsupport::kGermanLocale << " is not installed";
  struct Separators {
    Separators() {
      dbase::DecimalSeparator = ',';
      dbase::ThousandSeparator = '.';
    }
    ~Separators() {
      dbase::DecimalSeparator = '.';
      dbase::ThousandSeparator = ',';
    }
  } separators;
  MakeMaterials({{"Steel", 7.85}});
  dbase::ScopedErrorProc programsBox(dbase::ShowErrorAndGoOn);
  OpenMaterialsWithFile("\"Cork\",\"0,275\"\r\n\"Iron\",7.2\r\n\"Foam\",abc\r\n\"Lead\",\"11,34\"\r\n");
  ASSERT_EQ(common::AbortFlag, 0);
  bool ran = false;
  view_->OnShown = [&](TableWindowDialog& d) {
    ran = true;
    auto cell = [&](int row) { return RhoCell(d, row); };
    ClickAppendDelimited(d);
    ASSERT_EQ(d.TzGrid1->Model()->rowCount(), 4);
    EXPECT_EQ(cell(0), "7,850");
    EXPECT_EQ(cell(1), "0,275");
    EXPECT_EQ(cell(2), "7,200");
    EXPECT_EQ(cell(3), "11,340");
    std::vector<std::string> shown;
    for (const auto& asked : scripted_.Asked()) shown.push_back(asked.text);
    EXPECT_NE(std::find(shown.begin(), shown.end(),
                        "Error # 232 (Lines refused)\r\n1 line of " + Path("more.txt") +
                            " refused, nothing of it appended; 3 records appended.\r\nLine 3: Field RHO: abc is "
                            "not a number [AppendFromDelimitedFile]"),
              shown.end())
        << (shown.empty() ? std::string("no message") : shown.back());
    QTest::mouseClick(d.Button_ok, Qt::LeftButton);
  };
  dbase::DbfBrowse("", 2);
  ASSERT_TRUE(ran);
  dbase::DbfClose();
  const std::string stored = testsupport::Slurp(Path("mat.dbf"));
  EXPECT_NE(stored.find(" Cork     0.275 Iron     7.200 Lead    11.340"), std::string::npos);
}

}  // namespace
