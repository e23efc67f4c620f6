// The data-set table over a directory of real design files: one row per
// file with its main values, the user's design kept while the directory is
// read, a broken file with its name only, the text-order sort, the
// case-sensitive search, the picking rule, the menu command loading a
// picked design, and the export read back by Python's csv module.
#include "app/tables/design_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <vector>

#include "app/data_file.h"
#include "app/entry_points.h"
#include "app/main_window.h"
#include "calc/calc_records.h"
#include "calc/spur_gear_data.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/spreadsheet_export.h"
#include "common/text_file.h"
#include "platform/program_start.h"
#include "platform/scripted_dialogs.h"
#include "support/csv_reader.h"
#include "support/file_test_support.h"

namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kDesigns = {
    "eccentric_din_imperial.vb4", "ellipse_iso.vb4",          "formula_din.vb4",
    "pointfit_iso_notch.vb4",     "polygon_iso_imperial.vb4", "polyline_din41_overload.vb4",
    "polynomial_din_lifefactors.vb4", "sine_din41_imperial.vb4", "sinelinear_input.vb4"};

// Curve family of each design above, by its name.
const std::vector<std::string> kTypes = {"8", "2", "1", "7", "5", "9", "6", "3", "4"};

class ScriptedTableView : public app::DesignTableViews {
 public:
  // Each showing runs the next step; without one the user leaves (Exit).
  std::vector<std::function<void(app::TDesignTable&)>> steps;
  int shown = 0;
  void ShowTable(app::TDesignTable& table) override {
    if (shown < static_cast<int>(steps.size())) {
      steps[shown++](table);
    } else {
      ++shown;
      common::AbortFlag = 1;
    }
  }
};

class DesignTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    common::SetKaldvarDefaults();
    common::SetWkaldvarDefaults();
    common::SetProgramIdentity();
    common::ClearErrorMessages();
    common::UnitSystem = common::UnitsMetric;
    calc::SkipPositionSweep = 0;
    app::StartedWithFile = 0;
    app::SetDesignInputDefaults();
    app::ResetEntryPoints();
    for (const std::string& name : kDesigns)
      fs::copy_file(fs::path(VOB_TEST_DATA_DIR) / "designs" / name, dir_.Dir() / name);
    common::DataDirectory = dir_.Dir().string();
    common::TempDirectory = dir_.Dir().string();
    common::CurrentFileName.clear();
    common::DataChanged = 0;
    previous_ = app::SetDesignTableViews(&view_);
  }
  void TearDown() override {
    app::SetDesignTableViews(nullptr);
    common::SharedTextFile.Discard();
  }

  testsupport::ScratchDirectory dir_{"design_table"};
  platform::ScriptedDialogs dialogs_;
  platform::ScopedDialogs scoped_{dialogs_};
  ScriptedTableView view_;
  app::DesignTableViews* previous_ = nullptr;
};

TEST_F(DesignTableTest, EveryDesignIsOneRowWithItsMainValues) {
  // The user's unsaved design: it must be in memory again afterwards.
  calc::NcPair.z1 = 17;
  common::CurrentFileName = "mine";
  common::DataChanged = 1;
  common::AddErrorMessage("Warning: kept");
  std::vector<std::string> progress;
  const app::TDesignTable table =
      app::ReadDesignTable(common::DataDirectory, [&](const std::string& name) { progress.push_back(name); });

  EXPECT_EQ(progress, kDesigns);
  ASSERT_EQ(table.RowCount(), static_cast<int>(kDesigns.size()) + 1);
  ASSERT_EQ(table.ColumnCount(), app::DesignTableColumns);
  EXPECT_EQ(table.rows[0][0], "File");
  EXPECT_EQ(table.rows[0][7], "a  mm");
  EXPECT_EQ(table.rows[0][16], "Mat.2");
  for (std::size_t k = 0; k < kDesigns.size(); ++k) {
    const std::vector<std::string>& row = table.rows[k + 1];
    EXPECT_EQ(row[0], kDesigns[k]);
    EXPECT_EQ(row[1].size(), 10u) << row[1];  // yyyy-mm-dd
    EXPECT_EQ(row[4], kTypes[k]) << kDesigns[k];
    for (int c = 5; c <= 14; ++c) EXPECT_FALSE(row[c].empty()) << kDesigns[k] << " column " << c;
  }
  EXPECT_EQ(calc::NcPair.z1, 17);
  EXPECT_EQ(common::CurrentFileName, "mine");
  EXPECT_EQ(common::DataChanged, 1);
  EXPECT_EQ(common::MsgCount, 1);
  EXPECT_EQ(calc::SkipPositionSweep, 0);
}

TEST_F(DesignTableTest, RowOfAKnownDesign) {
  ASSERT_EQ(common::AbortFlag, 0);
  app::ReadDataFile(dir_.Path("ellipse_iso.vb4"));
  ASSERT_EQ(common::AbortFlag, 0);
  const std::vector<std::string> row = app::DesignTableRow("ellipse_iso.vb4", "2026-01-02");
  // z2 = z1 * k and i = z2 / z1 with three decimals.
  const std::int32_t z1 = calc::NcPair.z1, z2 = calc::NcPair.z2;
  EXPECT_EQ(row[5], std::to_string(z1));
  EXPECT_EQ(row[6], std::to_string(z2));
  EXPECT_NE(row[12].find(std::to_string(z2 / z1) + ".000"), std::string::npos) << row[12];
  EXPECT_EQ(row[1], "2026-01-02");

  // A design without teeth has neither module nor ratio (no division by 0).
  calc::NcPair.z1 = 0;
  const std::vector<std::string> toothless = app::DesignTableRow("x.vb4", "");
  EXPECT_EQ(toothless[10], "");
  EXPECT_EQ(toothless[12], "");
}

TEST_F(DesignTableTest, BrokenFileKeepsOnlyItsNameAndDate) {
  testsupport::Put(dir_.Dir() / "aaa_broken.vb4", "not a design\r\n");
  const app::TDesignTable table = app::ReadDesignTable(common::DataDirectory);
  ASSERT_EQ(table.RowCount(), static_cast<int>(kDesigns.size()) + 2);
  EXPECT_EQ(table.rows[1][0], "aaa_broken.vb4");
  EXPECT_FALSE(table.rows[1][1].empty());
  for (int c = 2; c < app::DesignTableColumns; ++c) EXPECT_EQ(table.rows[1][c], "") << c;
  // The next file's values are its own.
  EXPECT_EQ(table.rows[2][4], kTypes[0]);
}

TEST_F(DesignTableTest, EmptyDirectoryShowsOnlyTheTitles) {
  testsupport::ScratchDirectory empty{"design_table_empty"};
  const app::TDesignTable table = app::ReadDesignTable(empty.Dir().string());
  EXPECT_EQ(table.RowCount(), 1);
  EXPECT_EQ(table.ColumnCount(), app::DesignTableColumns);
}

app::TDesignTable SmallTable(const std::vector<std::string>& z1) {
  app::TDesignTable t;
  t.rows.push_back(app::DesignTableTitles());
  for (std::size_t k = 0; k < z1.size(); ++k) {
    std::vector<std::string> row(app::DesignTableColumns);
    row[0] = "d" + std::to_string(k + 1) + ".vb4";
    row[5] = z1[k];
    row[15] = k % 2 ? "St 60" : "st 60";
    t.rows.push_back(row);
  }
  return t;
}

TEST_F(DesignTableTest, SortIsTextOrderAndTheCurrentDesignFollows) {
  app::TDesignTable t = SmallTable({"9", "10", "30", "100", "9"});
  t.currentRow = 1;  // d1 (z1 "9")
  app::SortGridByColumn(t, 5);
  std::vector<std::string> z1;
  for (int r = 1; r < t.RowCount(); ++r) z1.push_back(t.rows[r][5]);
  EXPECT_EQ(z1, (std::vector<std::string>{"10", "100", "30", "9", "9"}));
  EXPECT_EQ(t.rows[0][5], "z1");  // the titles stay
  EXPECT_EQ(t.rows[t.currentRow][0], "d1.vb4");
  // Sorting again keeps it sorted; every row keeps its cells together.
  app::SortGridByColumn(t, 5);
  for (int r = 1; r < t.RowCount(); ++r) {
    const int k = t.rows[r][0][1] - '0';
    EXPECT_EQ(t.rows[r][15], (k - 1) % 2 ? "St 60" : "st 60");
  }
  std::vector<std::string> again;
  for (int r = 1; r < t.RowCount(); ++r) again.push_back(t.rows[r][5]);
  EXPECT_EQ(again, z1);
}

TEST_F(DesignTableTest, QuicksortMatchesOrdinalOrderOnManyKeys) {
  std::vector<std::string> key(1);
  std::vector<int> index(1);
  for (int i = 1; i <= 500; ++i) {
    key.push_back(std::to_string((i * 7919) % 211));
    index.push_back(i);
  }
  const std::vector<std::string> original = key;
  app::SortStringsIndexed(index, key, 1, 500);
  EXPECT_TRUE(std::is_sorted(key.begin() + 1, key.end()));
  for (int i = 1; i <= 500; ++i) EXPECT_EQ(original[index[i]], key[i]);
}

TEST_F(DesignTableTest, SearchIsCaseSensitiveAndNextStopsAtTheEnd) {
  app::TDesignTable t = SmallTable({"9", "10", "30"});
  t.searchText = "St";
  ASSERT_TRUE(app::SearchGrid(t, 0));
  EXPECT_EQ(t.currentRow, 2);  // "st 60" in row 1 is not a hit
  EXPECT_EQ(t.currentColumn, 15);
  EXPECT_FALSE(app::SearchGrid(t, t.currentRow));
  ASSERT_EQ(dialogs_.Asked().size(), 1u);
  EXPECT_EQ(dialogs_.Asked()[0].text, "St not found.");
  EXPECT_EQ(t.currentRow, 2);  // the selection stays

  t.searchText = "d3";
  ASSERT_TRUE(app::SearchGrid(t, 0));
  EXPECT_EQ(t.currentRow, 3);
  EXPECT_EQ(t.currentColumn, 0);
}

TEST_F(DesignTableTest, SelectingAnotherRowPicksItOnce) {
  app::TDesignTable t = SmallTable({"9", "10"});
  common::AbortFlag = 1;
  EXPECT_TRUE(app::SelectDesignCell(t, 3, 2));
  EXPECT_EQ(t.pickedRow, 2);
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_FALSE(app::SelectDesignCell(t, 5, 2));  // the same row again
  EXPECT_FALSE(app::SelectDesignCell(t, 0, 0));  // the title row
  EXPECT_TRUE(app::SelectDesignCell(t, 0, 1));
}

TEST_F(DesignTableTest, OpenTableLoadsThePickedDesignAndExitKeepsIt) {
  calc::NcPair.z1 = 17;
  view_.steps.push_back([](app::TDesignTable& t) {
    EXPECT_EQ(t.RowCount(), static_cast<int>(kDesigns.size()) + 1);
    // The user leaves the table without a pick.
    common::AbortFlag = 1;
  });
  app::Entry().ShowDesignTable();
  EXPECT_EQ(view_.shown, 1);
  EXPECT_EQ(calc::NcPair.z1, 17);
  EXPECT_TRUE(common::CurrentFileName.empty());

  view_ = ScriptedTableView{};
  common::DataChanged = 0;
  common::AbortFlag = 0;  // as the menu click clears it
  int pickedZ1 = 0;
  view_.steps.push_back([](app::TDesignTable& t) { EXPECT_TRUE(app::SelectDesignCell(t, 0, 2)); });
  view_.steps.push_back([&](app::TDesignTable& t) {
    // Shown again after the pick, with the picked design loaded.
    EXPECT_EQ(t.pickedRow, 2);
    pickedZ1 = calc::NcPair.z1;
    common::AbortFlag = 1;
  });
  app::Entry().ShowDesignTable();
  EXPECT_EQ(view_.shown, 2);
  EXPECT_EQ(common::CurrentFileName, "ellipse_iso");
  EXPECT_EQ(common::DataChanged, 0);
  EXPECT_EQ(calc::NcPair.z1, pickedZ1);
  EXPECT_NE(pickedZ1, 17);
}

TEST_F(DesignTableTest, OpenTableAsksToSaveChangesFirst) {
  common::DataChanged = 1;
  common::CurrentFileName = "mine";
  // The save question is declined with Cancel: nothing is read or shown.
  app::Entry().ShowDesignTable();
  EXPECT_EQ(view_.shown, 0);
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_FALSE(dialogs_.Asked().empty());
}

TEST_F(DesignTableTest, ExportedTableReadsBackWithTitles) {
  if (!testsupport::CsvReaderPresent()) GTEST_SKIP() << "no Python csv module";
  std::vector<std::string> started;
  platform::ScopedDocumentOpener starter([&](const std::string& path) {
    started.push_back(path);
    return platform::StartResult{};
  });
  const app::TDesignTable table = app::ReadDesignTable(common::DataDirectory);
  app::ExportDesignTable(table);
  ASSERT_EQ(started.size(), 1u);
  const std::string file = started[0];
  const testsupport::CsvRead read = testsupport::ReadCsv(file);
  ASSERT_EQ(read.status, 0);
  ASSERT_EQ(read.rows.size(), table.rows.size());
  for (std::size_t r = 0; r < table.rows.size(); ++r) EXPECT_EQ(read.rows[r], table.rows[r]) << "row " << r;
}

}  // namespace
