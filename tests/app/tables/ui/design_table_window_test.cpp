// The data-set table window and the information windows offscreen: the grid
// shows the table with its titles, a right click on a title sorts and picks
// the current design's new row, a click on another row picks it and closes
// the window, Exit leaves with AbortFlag, the search dialog's text finds
// its cell.
#include "app/tables/ui/design_table_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "common/kaldvar.h"
#include "common/menu_captions.h"
#include "platform/scripted_dialogs.h"

namespace {

int argc = 1;
char arg0[] = "design_table_window_test";
char* argv[] = {arg0, nullptr};

class DesignTableWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!QApplication::instance()) new QApplication(argc, argv);
  }
  void SetUp() override {
    common::SetKaldvarDefaults();
    common::SetProgramIdentity();
    table_.rows.push_back(app::DesignTableTitles());
    const char* z1[] = {"9", "10", "30"};
    for (int k = 0; k < 3; ++k) {
      std::vector<std::string> row(app::DesignTableColumns);
      row[0] = "d" + std::to_string(k + 1) + ".vb4";
      row[5] = z1[k];
      row[15] = k == 2 ? "St 60" : "st 60";
      table_.rows.push_back(row);
    }
    table_.columnWidths = app::DesignTableWidths();
    common::AbortFlag = 0;
  }

  app::TDesignTable table_;
  platform::ScriptedDialogs dialogs_;
  platform::ScopedDialogs scoped_{dialogs_};
};

TEST_F(DesignTableWindowTest, GridShowsTheTableAndAClickPicksARow) {
  app::ui::TForm_preview window(table_);
  QTableWidget* grid = window.StringGrid1();
  ASSERT_EQ(grid->columnCount(), app::DesignTableColumns);
  ASSERT_EQ(grid->rowCount(), 3);
  EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), "File");
  EXPECT_EQ(grid->item(1, 5)->text(), "10");
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  // A click into the third row picks it and closes the window.
  const QRect cell = grid->visualItemRect(grid->item(2, 0));
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
  EXPECT_EQ(table_.pickedRow, 3);
  EXPECT_EQ(window.result(), QDialog::Accepted);
  EXPECT_EQ(common::AbortFlag, 0);
}

TEST_F(DesignTableWindowTest, OpeningTheWindowPicksNothingUntilTheUserSelects) {
  app::ui::TForm_preview window(table_);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QApplication::setActiveWindow(&window);
  window.StringGrid1()->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  // The grid stands on the first design; its focus is no pick: the window
  // stays open and nothing is loaded.
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(table_.pickedRow, 0);
  EXPECT_EQ(table_.currentRow, 1);
  // A click into the row it stands on picks that row (the first design
  // could not be picked by a click otherwise).
  QTableWidget* grid = window.StringGrid1();
  const QRect cell = grid->visualItemRect(grid->item(0, 0));
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
  EXPECT_EQ(table_.pickedRow, 1);
  EXPECT_EQ(window.result(), QDialog::Accepted);

  // Shown again after the pick: the picked row is current, nothing closes.
  app::ui::TForm_preview again(table_);
  again.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&again));
  again.StringGrid1()->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  EXPECT_TRUE(again.isVisible());
  // Down moves to the next design and picks it.
  QTest::keyClick(again.StringGrid1(), Qt::Key_Down);
  EXPECT_EQ(table_.pickedRow, 2);
}

TEST_F(DesignTableWindowTest, MenusTakeTheWordsOfTheLanguage) {
  common::SetMenuLanguage(8);  // Korean: no letter of it is plain ASCII
  app::ui::TForm_preview window(table_);
  const QString file = QString::fromStdString(common::MenuCaptions[common::CapFile]);
  ASSERT_TRUE(file.contains(QChar(0xD30C)));  // the first syllable of the word
  EXPECT_EQ(window.findChild<QMenu*>("mi_file")->title(), file);
  EXPECT_EQ(window.findChild<QMenu*>("mi_help")->title(),
            QString::fromStdString(common::MenuCaptions[common::CapHelp]));
  common::SetMenuLanguage(2);
}

TEST_F(DesignTableWindowTest, ExitLeavesWithAbortFlag) {
  app::ui::TForm_preview window(table_);
  QTimer::singleShot(0, &window, [&] { window.mi_fileExitClick(); });
  window.exec();
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(table_.pickedRow, 0);
}

TEST_F(DesignTableWindowTest, RightClickOnATitleSortsTheColumn) {
  app::ui::TForm_preview window(table_);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QHeaderView* header = window.StringGrid1()->horizontalHeader();
  const QPoint at(header->sectionViewportPosition(5) + header->sectionSize(5) / 2, header->height() / 2);
  emit header->customContextMenuRequested(at);
  std::vector<std::string> z1;
  for (int r = 1; r < table_.RowCount(); ++r) z1.push_back(table_.rows[r][5]);
  EXPECT_EQ(z1, (std::vector<std::string>{"10", "30", "9"}));
  // Row 1 (d1, z1 "9") was current; it is row 3 now, which is a new pick.
  EXPECT_EQ(table_.currentRow, 3);
  EXPECT_EQ(table_.pickedRow, 3);
  EXPECT_EQ(window.StringGrid1()->item(0, 5)->text(), "10");
}

TEST_F(DesignTableWindowTest, SortThatLeavesTheCurrentDesignInPlacePicksNothing) {
  app::ui::TForm_preview window(table_);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  // The file names are in order already: d1 stays in row 1.
  window.TitleRightClick(0);
  EXPECT_EQ(table_.currentRow, 1);
  EXPECT_EQ(table_.pickedRow, 0);
  EXPECT_TRUE(window.isVisible());
}

TEST_F(DesignTableWindowTest, SearchDialogTextFindsItsCell) {
  app::ui::TForm_preview window(table_);
  window.show();
  std::string offered;
  window.AskSearchText = [&](const std::string& last) {
    offered = last;
    return std::string("St");
  };
  window.mi_editsearchClick();
  EXPECT_EQ(table_.searchText, "St");
  EXPECT_EQ(table_.currentRow, 3);
  EXPECT_EQ(table_.currentColumn, 15);
  EXPECT_EQ(table_.pickedRow, 3);  // the hit's row is picked as a click would

  // The real search dialog: the last text offered, the button closes it.
  app::ui::TForm_Suchen search("St", &window);
  EXPECT_EQ(search.Edit_suchbegriff()->text(), "St");
  QTimer::singleShot(0, &search, [&] {
    search.Edit_suchbegriff()->setText("d2");
    search.findChild<QPushButton*>("Button_search")->click();
  });
  search.exec();
  EXPECT_EQ(search.Text(), "d2");
  EXPECT_EQ(search.windowTitle(), "Search");
}

}  // namespace
