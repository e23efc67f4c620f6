// The spreadsheet commands end to end on a real design: the link needs a
// named design, the export of the data file read back by Python's csv
// module (unchanged data not written again, changed data saved first and
// a declined overwrite stopping it), the gear printout as a worksheet with
// the report settings restored.
#include "app/spreadsheet/spreadsheet_link.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "app/data_file.h"
#include "calc/calc_records.h"
#include "common/code_page.h"
#include "common/kaldvar.h"
#include "common/message_list.h"
#include "common/report_writer.h"
#include "common/report_writer.h"
#include "common/spreadsheet_export.h"
#include "common/text_file.h"
#include "platform/program_start.h"
#include "platform/scripted_dialogs.h"
#include "support/csv_reader.h"
#include "support/file_test_support.h"

namespace fs = std::filesystem;
using platform::DialogButton;
using platform::ScriptedAnswer;

namespace {

class SpreadsheetLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    common::SetKaldvarDefaults();
    common::SetWkaldvarDefaults();
    common::SetProgramIdentity();
    common::ClearErrorMessages();
    common::InitReportWriter();
    calc::SkipPositionSweep = 0;
    app::StartedWithFile = 0;
    app::SetDesignInputDefaults();
    common::DataDirectory = dir_.Dir().string();
    common::TempDirectory = dir_.Dir().string();
    common::PltDirectory = dir_.Dir().string();
    common::ExcelApplication.reset();
    fs::copy_file(fs::path(VOB_TEST_DATA_DIR) / "designs" / "formula_din.vb4", dir_.Dir() / "formula_din.vb4");
    app::ReadDataFile("formula_din");
    ASSERT_EQ(common::AbortFlag, 0);
    common::DataChanged = 0;
  }
  void TearDown() override {
    common::ExcelApplication.reset();
    common::SharedTextFile.Discard();
  }

  // The workbook file of the last start of the opener.
  std::string LastWorkbook() const {
    if (started_.empty()) return "";
    return started_.back();
  }

  testsupport::ScratchDirectory dir_{"spreadsheet_link"};
  platform::ScriptedDialogs dialogs_;
  platform::ScopedDialogs scoped_{dialogs_};
  std::vector<std::string> started_;
  platform::ScopedDocumentOpener starter_{[this](const std::string& path) {
    started_.push_back(path);
    return platform::StartResult{};
  }};
};

TEST_F(SpreadsheetLinkTest, StartNeedsANamedDesign) {
  common::CurrentFileName.clear();
  app::StartExcel();
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_FALSE(common::ExcelApplication.has_value());
  ASSERT_EQ(dialogs_.Asked().size(), 1u);
  EXPECT_EQ(dialogs_.Asked()[0].text,
            "You must save your input data before you can use Excel interface (Menu \"File -> Save\")");

  common::CurrentFileName = "formula_din";
  app::StartExcel();
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_TRUE(common::ExcelApplication.has_value());
}

TEST_F(SpreadsheetLinkTest, ExportOfUnchangedDataReadsBackLineForLine) {
  if (!testsupport::CsvReaderPresent()) GTEST_SKIP() << "no Python csv module";
  const std::string path = dir_.Path("formula_din.vb4");
  const std::string before = testsupport::Slurp(path);
  const auto stamp = fs::last_write_time(path);
  app::StartExcel();
  app::ExportExcel();
  ASSERT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(testsupport::Slurp(path), before);
  EXPECT_EQ(fs::last_write_time(path), stamp);
  EXPECT_TRUE(dialogs_.Asked().empty());

  ASSERT_EQ(started_.size(), 1u);
  const testsupport::CsvRead read = testsupport::ReadCsv(LastWorkbook());
  ASSERT_EQ(read.status, 0);
  const std::vector<std::string> lines = testsupport::SplitLines(before);
  ASSERT_EQ(read.rows.size(), lines.size());
  for (std::size_t n = 0; n < lines.size(); ++n) {
    ASSERT_EQ(read.rows[n].size(), 1u) << "line " << n + 1;
    std::string expected = common::OemToDisplayText(lines[n]);
    // A text a spreadsheet would run as a formula is shown as text.
    if (!expected.empty() && expected.find_first_of("=@+-") == 0 && expected.find_first_not_of("=-") != std::string::npos)
      expected = "'" + expected;
    EXPECT_EQ(read.rows[n][0], expected) << "line " << n + 1;
  }
}

TEST_F(SpreadsheetLinkTest, ChangedDataAreSavedFirstUnlessTheOverwriteIsDeclined) {
  calc::NcPair.z1 += 2;
  common::DataChanged = 1;
  const std::string path = dir_.Path("formula_din.vb4");
  const std::string before = testsupport::Slurp(path);
  app::StartExcel();
  // The overwrite question answered with No: nothing is written or opened.
  dialogs_.Then(ScriptedAnswer::Press(DialogButton::No));
  app::ExportExcel();
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(testsupport::Slurp(path), before);
  EXPECT_TRUE(started_.empty());
  EXPECT_EQ(common::DataChanged, 1);

  common::AbortFlag = 0;
  dialogs_.Then(ScriptedAnswer::Press(DialogButton::Yes));
  app::ExportExcel();
  ASSERT_EQ(common::AbortFlag, 0);
  EXPECT_NE(testsupport::Slurp(path), before);
  EXPECT_EQ(common::DataChanged, 0);
  ASSERT_EQ(started_.size(), 1u);
  const common::TWorksheet& sheet = common::ExcelApplication->ActiveSheet();
  EXPECT_EQ(sheet.RowCount(), static_cast<int>(testsupport::SplitLines(testsupport::Slurp(path)).size()));
}

TEST_F(SpreadsheetLinkTest, PrintoutBecomesAWorksheetOfColumns) {
  if (!testsupport::CsvReaderPresent()) GTEST_SKIP() << "no Python csv module";
  common::TextDevice = common::ReportScreen;
  common::TextDeviceWindow = true;
  app::PrintoutExcel(3);
  ASSERT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(common::TextDevice, common::ReportScreen);
  EXPECT_TRUE(common::TextDeviceWindow);
  EXPECT_TRUE(dialogs_.Asked().empty()) << dialogs_.Asked()[0].text;
  ASSERT_EQ(started_.size(), 1u);
  const testsupport::CsvRead read = testsupport::ReadCsv(LastWorkbook());
  ASSERT_EQ(read.status, 0);
  ASSERT_GT(read.rows.size(), 50u);
  // The value rows of the printout are split into their columns.
  int fourColumnRows = 0;
  bool module = false;
  for (const auto& row : read.rows) {
    if (row.size() >= 4 && !row[0].empty() && !row[3].empty()) ++fourColumnRows;
    for (const std::string& cell : row) module = module || cell.find("mn") != std::string::npos;
  }
  EXPECT_GT(fourColumnRows, 20);
  EXPECT_TRUE(module);
  // The printout's TXT file has done its work and is gone; the workbook
  // handed over is a file of a name of its own, readable by the user only.
  EXPECT_FALSE(common::ReportState.TxtFileName.empty());
  EXPECT_FALSE(std::filesystem::exists(common::ReportState.TxtFileName));
  const std::string book = std::filesystem::path(LastWorkbook()).filename().string();
  EXPECT_EQ(book.substr(0, 4), "$xls");
  EXPECT_NE(book, "$xls1.csv");
  EXPECT_EQ(std::filesystem::status(LastWorkbook()).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST_F(SpreadsheetLinkTest, FatalCalculationShowsTheMessagesInstead) {
  common::FatalFlag = 1;
  common::AddErrorMessage("Fatal  : test");
  app::PrintoutExcel(3);
  EXPECT_TRUE(started_.empty());
}

}  // namespace
