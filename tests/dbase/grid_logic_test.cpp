// The data grid's decisions without a window: the stored column layout,
// the colours of deleted and current rows, logical cells and their toggle,
// the date mask, the navigator's Delete that restores, and the rows read
// from a table in index order with cells written back to the file.
#include <gtest/gtest.h>

#include "dbase/dataset/grid_cells.h"
#include "dbase/dataset/grid_columns.h"
#include "dbase/dataset/grid_rows.h"
#include "dbase/dataset/tz_file_dataset.h"
#include "dbase/engine/engine_settings.h"
#include "dbase/expr/expr_hooks.h"
#include "dbase/index/index_commands.h"
#include "dbase_test_support.h"
#include "platform/scripted_dialogs.h"

namespace {

using namespace dbase;

TEST(GridColumns, SavedLayoutConfiguresColumnsAndRefusesBadNumbers) {
  std::vector<TGridColumn> columns(1);  // the empty placeholder column
  ReadSavedColumns(columns, {"cvWidthStr=99",  // before any column: ignored
                             "cvColumn=2", "cvFieldNameStr=NAME", "cvWidthStr=120", "cvColorStr=clYellow",
                             "cvFontStr=Arial,clRed,0x30A", "cvAlignmentStr=TARIGHTJUSTIFY", "cvReadOnlyStr=true",
                             "cvTitleCaptionStr=Name of part", "cvTitleColorStr=$00FF00",
                             "cvTitleAlignmentStr=nonsense", "cvColumn=1", "cvFieldNameStr=QTY"});
  ASSERT_EQ(columns.size(), 4u);
  EXPECT_EQ(columns[0].width, -1);
  const TGridColumn& c = columns[2];
  EXPECT_EQ(c.fieldName, "NAME");
  EXPECT_EQ(c.width, 120);
  EXPECT_EQ(c.colour, clYellow);
  ASSERT_TRUE(c.font.has_value());
  EXPECT_EQ(c.font->name, "Arial");
  EXPECT_EQ(c.font->colour, clRed);
  EXPECT_EQ(c.font->size, 10);
  EXPECT_TRUE(c.font->bold);
  EXPECT_TRUE(c.font->italic);
  EXPECT_FALSE(c.font->underline);
  EXPECT_EQ(c.alignment, TAlignment::taRightJustify);
  EXPECT_TRUE(c.readOnly);
  EXPECT_EQ(c.titleCaption, "Name of part");
  EXPECT_EQ(c.titleColour, 0x00FF00u);
  EXPECT_EQ(c.titleAlignment, TAlignment::taLeftJustify);
  // A column number below the last continues after it.
  EXPECT_EQ(columns[3].fieldName, "QTY");
  // A font colour that is no colour keeps the colour.
  EXPECT_EQ(FontFromText("Courier,blue-ish,0x0C08").colour, clWindowText);
  EXPECT_TRUE(FontFromText("Courier,0,0x0C08").strikeOut);

  std::vector<TGridColumn> kept(2);
  kept[1].fieldName = "X";
  EXPECT_THROW(ReadSavedColumns(kept, {"cvColumn=1", "cvWidthStr=wide"}), std::invalid_argument);
  EXPECT_THROW(ReadSavedColumns(kept, {"cvColumn=first"}), std::invalid_argument);
  EXPECT_EQ(kept.size(), 2u);
  EXPECT_EQ(kept[1].width, -1);
}

TEST(GridCells, ColoursDeletedHighlightAndDisabled) {
  TTzCellColors colors;
  colors.CellColor = clWhite;
  colors.CellTextColor = clBlack;
  EXPECT_EQ(CellPaint(colors, nullptr, 0, false, false, true).brush, clWhite);
  EXPECT_EQ(CellPaint(colors, nullptr, 0, true, false, true).brush, clRed);
  // A deleted current row is drawn as current.
  const TCellPaint current = CellPaint(colors, nullptr, 0, true, true, true);
  EXPECT_EQ(current.brush, clHighlight);
  EXPECT_EQ(current.font, clHighlightText);
  EXPECT_EQ(CellPaint(colors, nullptr, 0, false, false, false).font, clGrayText);
  // The program recolours data rows only.
  int rows = 0;
  const TTzChangeColorsEvent event = [&](int row, TTzCellColors& c) {
    ++rows;
    if (row == 3) c.DeletedColor = clFuchsia;
  };
  EXPECT_EQ(CellPaint(colors, event, 3, true, false, true).brush, clFuchsia);
  EXPECT_EQ(CellPaint(colors, event, -1, true, false, true).brush, clRed);
  EXPECT_EQ(rows, 1);

  EXPECT_EQ(LogicalColumnKey(U' '), TLogicalKeyAction::Toggle);
  EXPECT_EQ(LogicalColumnKey(U'\r'), TLogicalKeyAction::Toggle);
  EXPECT_EQ(LogicalColumnKey(U'\b'), TLogicalKeyAction::Ignore);
  EXPECT_EQ(LogicalColumnKey(U'x'), TLogicalKeyAction::Ignore);
  EXPECT_EQ(LogicalColumnKey(U'\t'), TLogicalKeyAction::Pass);

  const int format = DateFormat;
  const bool century = Century;
  SetDateFormat(0);
  Century = true;
  EXPECT_EQ(DateEditMask(), "99/99/9999;1; ");
  SetDateFormat(1);  // year first
  Century = true;
  EXPECT_EQ(DateEditMask(), "9999/99/99;1; ");
  SetDateFormat(format);
  Century = century;
}

class GridTable : public dbtest::EngineTest {
 protected:
  void SetUp() override {
    dbtest::EngineTest::SetUp();
    InstallExprHooks();
    IndexInit();
    dialogs_ = std::make_unique<platform::ScopedDialogs>(scripted_);
    dbf_.SetDbfFileName(Path("parts"));
    dbf_.DbfFields = {"NAME,C,10,0", "QTY,N,4,0", "OK,L,1,0"};
    dbf_.Open();
    for (const char* name : {"Pinion", "Axle", "Wheel"}) {
      dbf_.Append();
      dbf_.FieldByName("NAME").SetAsString(name);
      dbf_.Post();
    }
  }
  void TearDown() override {
    dbf_.Close();
    dialogs_.reset();
    IndexDone();
    RemoveExprHooks();
    dbtest::EngineTest::TearDown();
  }
  platform::ScriptedDialogs scripted_;
  std::unique_ptr<platform::ScopedDialogs> dialogs_;
  TTzDbf dbf_{"grid"};
};

TEST_F(GridTable, LogicalToggleBetweenDisplayTexts) {
  TField& ok = dbf_.FieldByName("OK");
  ok.DisplayValues = "Ja;Nein";
  dbf_.SetRecNo(2);
  EXPECT_EQ(ok.Text(), "Nein");
  EXPECT_FALSE(BooleanCellValue(ok));
  ToggleLogicalField(dbf_, ok);
  EXPECT_EQ(dbf_.State(), TDataSetState::Edit);
  EXPECT_EQ(ok.Text(), "Ja");
  ToggleLogicalField(dbf_, ok);
  EXPECT_EQ(ok.Text(), "Nein");
  ToggleLogicalField(dbf_, ok);
  dbf_.Post();
  dbf_.SetRecNo(1);
  dbf_.SetRecNo(2);
  EXPECT_TRUE(BooleanCellValue(ok));
}

TEST_F(GridTable, NavigatorDeleteMarksAndRestores) {
  dbf_.SetRecNo(2);
  const TConfirm yes = [](const std::string&) { return true; };
  std::vector<std::string> asked;
  const TConfirm no = [&](const std::string& q) {
    asked.push_back(q);
    return false;
  };
  EXPECT_TRUE(NavigatorDelete(dbf_, false, false, yes));
  EXPECT_TRUE(dbf_.RecordDeleted());
  EXPECT_TRUE(NavigatorDelete(dbf_, false, true, no));
  EXPECT_TRUE(dbf_.RecordDeleted());
  EXPECT_TRUE(NavigatorDelete(dbf_, false, false, yes));
  EXPECT_FALSE(dbf_.RecordDeleted());
  EXPECT_TRUE(NavigatorDelete(dbf_, true, false, no));
  EXPECT_FALSE(dbf_.RecordDeleted());
  EXPECT_EQ(asked, (std::vector<std::string>{"Restore Record ?", "Delete Record ?"}));
  // Ctrl+Delete restores only a deleted record.
  EXPECT_FALSE(GridCtrlDelete(dbf_, false, yes));
  dbf_.SetDeleted(true);
  EXPECT_TRUE(GridCtrlDelete(dbf_, false, yes));
  EXPECT_FALSE(dbf_.RecordDeleted());
  // A read-only table is left to the navigator itself.
  dbf_.SetReadOnly(true);
  EXPECT_FALSE(NavigatorDelete(dbf_, false, false, yes));
}

TEST_F(GridTable, RowsInIndexOrderAndCellsWrittenToTheFile) {
  dbf_.SetRecNo(3);
  dbf_.SetDeleted(true);
  ASSERT_TRUE(dbf_.IndexOn("NAME", Path("names")));
  dbf_.SetRecNo(1);
  TGridRows rows;
  rows.Reload(dbf_);
  ASSERT_EQ(rows.RowCount(), 3);
  EXPECT_EQ(rows.Rows()[0].texts[0], "Axle");
  EXPECT_EQ(rows.Rows()[1].recNo, 1);
  EXPECT_TRUE(rows.Rows()[2].deleted);
  EXPECT_EQ(rows.CurrentRow(), 1);
  EXPECT_EQ(dbf_.RecNo(), 1);
  EXPECT_TRUE(rows.SetCell(dbf_, 0, 1, "17"));
  EXPECT_EQ(rows.Rows()[0].texts[1], "17");
  EXPECT_EQ(dbf_.RecNo(), 2);
  EXPECT_EQ(dbf_.State(), TDataSetState::Browse);
  dbf_.SetHideDeletedRecs(true);
  rows.Reload(dbf_);
  EXPECT_EQ(rows.RowCount(), 2);
  EXPECT_EQ(rows.RowOf(3), -1);
  dbf_.Close();
  if (!dbtest::HasPythonModule("dbfread")) GTEST_SKIP() << "dbfread is not installed";
  EXPECT_EQ(dbtest::RunPython(dir_, "import dbfread\n"
                                    "for r in dbfread.DBF('" + Path("parts.dbf") + "'): print(r['NAME'], r['QTY'])\n"),
            "Pinion 0\nAxle 17\n");
  dbf_.Open();
}

}  // namespace
