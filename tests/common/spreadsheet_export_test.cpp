// The spreadsheet link: worksheets written as CSV and read back by Python's
// csv module (quoting, line ends, the byte-order mark, texts that would run
// as formulas), text files opened as workbooks, and the export of a text
// file into the first column with its refusals.
#include "common/spreadsheet_export.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/kaldvar.h"
#include "platform/program_start.h"
#include "platform/scripted_dialogs.h"
#include "support/csv_reader.h"
#include "support/file_test_support.h"

namespace {

using testsupport::Put;

class SpreadsheetExportTest : public ::testing::Test {
 protected:
  SpreadsheetExportTest()
      : starter_([this](const std::string& path) {
          started_.push_back(path);
          return platform::StartResult{};
        }),
        dialogsScope_(dialogs_) {
    common::TempDirectory = dir_.Dir().string();
    common::DataDirectory = dir_.Dir().string();
    common::DataFileExtension = "vb4";
    common::AbortFlag = 0;
    common::ArchiveMode = 0;
    common::ExcelApplication.reset();
  }
  ~SpreadsheetExportTest() override { common::ExcelApplication.reset(); }

  // The workbook file of the one recorded opening.
  std::string OpenedFile() const {
    EXPECT_EQ(started_.size(), 1u);
    return started_.empty() ? std::string() : started_.back();
  }

  testsupport::ScratchDirectory dir_{"spreadsheet"};
  std::vector<std::string> started_;
  platform::ScopedDocumentOpener starter_;
  platform::ScriptedDialogs dialogs_;
  platform::ScopedDialogs dialogsScope_;
};

TEST_F(SpreadsheetExportTest, WorkbookFileReadsBackCellForCell) {
  if (!testsupport::CsvReaderPresent()) GTEST_SKIP() << "no Python csv module";
  ASSERT_TRUE(common::CreateSpreadsheetApplication(common::ExcelApplication));
  common::TSpreadsheetApplication& book = *common::ExcelApplication;
  const std::vector<std::vector<std::string>> cells = {
      {"plain", "with, comma", "with \"quotes\"", "Zahnrad \xC3\xA4\xC3\xB6\xC3\xBC \xC2\xB0"},
      {"-15", "+2.5", "1,5", "-1.5E3"},
      {"=HYPERLINK(\"x\")", "@SUM(A1)", "-cmd|x", "+A1"},
      {"", " leading blank", "", ""},
      {"-------", "=====", "", ""},
  };
  for (std::size_t r = 0; r < cells.size(); ++r)
    for (std::size_t c = 0; c < cells[r].size(); ++c)
      book.SetCellValue(static_cast<int>(r) + 1, static_cast<int>(c) + 1, cells[r][c]);
  ASSERT_TRUE(book.ShowWorkbook());
  const std::string file = OpenedFile();
  EXPECT_EQ(file, book.WorkbookFile());

  const testsupport::CsvRead read = testsupport::ReadCsv(file);
  ASSERT_EQ(read.status, 0);
  EXPECT_TRUE(read.hadBom);
  ASSERT_EQ(read.rows.size(), 5u);
  // Values and plain numbers as they are; texts a spreadsheet would run as
  // formulas shown as texts.
  EXPECT_EQ(read.rows[0], cells[0]);
  EXPECT_EQ(read.rows[1], cells[1]);
  EXPECT_EQ(read.rows[2], (std::vector<std::string>{"'=HYPERLINK(\"x\")", "'@SUM(A1)", "'-cmd|x", "'+A1"}));
  EXPECT_EQ(read.rows[3], cells[3]);
  EXPECT_EQ(read.rows[4], cells[4]);  // rule lines run nothing
  // Every line ends with CR LF.
  bool crlf = false;
  testsupport::SplitLines(testsupport::Slurp(file), &crlf);
  EXPECT_TRUE(crlf);

  // A second hand-over is a new file; the first stays for the program that
  // has it open.
  ASSERT_TRUE(book.ShowWorkbook());
  EXPECT_NE(book.WorkbookFile(), file);
}

TEST_F(SpreadsheetExportTest, OpenTextSplitsTabsIntoColumns) {
  common::TSpreadsheetApplication book;
  Put(dir_.Dir() / "report.txt", "Head line\r\nModule\tmn\tmm\t2.5\r\n\r\nTip\tda\tmm\t105\t210\r\n");
  ASSERT_TRUE(book.OpenText(dir_.Path("report.txt")));
  const common::TWorksheet& sheet = book.ActiveSheet();
  EXPECT_EQ(sheet.RowCount(), 4);
  EXPECT_EQ(sheet.ColumnCount(), 5);
  EXPECT_EQ(sheet.Cell(1, 1), "Head line");
  EXPECT_EQ(sheet.Cell(2, 4), "2.5");
  EXPECT_EQ(sheet.Cell(3, 1), "");
  EXPECT_EQ(sheet.Cell(4, 5), "210");
  // A file that is not there leaves the workbook as it was.
  EXPECT_FALSE(book.OpenText(dir_.Path("missing.txt")));
  EXPECT_EQ(book.ActiveSheet().Cell(4, 5), "210");
}

TEST_F(SpreadsheetExportTest, TextFileFillsTheFirstColumnLineByLine) {
  // Three lines, the middle one empty, in the program's code page.
  Put(dir_.Dir() / "gear.vb4", "Zahnrad \x84\r\n\r\n20\r\n");
  ASSERT_TRUE(common::CreateSpreadsheetApplication(common::ExcelApplication));
  // Cells of an earlier, longer export must not stay below the new ones.
  for (int r = 1; r <= 5; ++r) common::ExcelApplication->SetCellValue(r, 1, "old");
  common::ExportTextToExcel("gear");
  ASSERT_EQ(common::AbortFlag, 0);
  const common::TWorksheet& sheet = common::ExcelApplication->ActiveSheet();
  EXPECT_EQ(sheet.RowCount(), 3);
  EXPECT_EQ(sheet.ColumnCount(), 1);
  EXPECT_EQ(sheet.Cell(1, 1), "Zahnrad \xC3\xA4");
  EXPECT_EQ(sheet.Cell(2, 1), "");
  EXPECT_EQ(sheet.Cell(3, 1), "20");
  EXPECT_TRUE(started_.empty()) << "the export fills the sheet; the caller hands it over";
}

TEST_F(SpreadsheetExportTest, MissingNamesAndFilesAreRefused) {
  ASSERT_TRUE(common::CreateSpreadsheetApplication(common::ExcelApplication));
  common::ExportTextToExcel("");
  EXPECT_EQ(common::AbortFlag, 1);
  ASSERT_EQ(dialogs_.Asked().size(), 1u);
  EXPECT_EQ(dialogs_.Asked()[0].text, "File not found. Use \"File->Save\"");

  common::AbortFlag = 0;
  dialogs_.ClearRecord();
  common::ExportTextToExcel("nothere");
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(dialogs_.Asked().size(), 1u);  // the access check's message
  EXPECT_EQ(common::ExcelApplication->ActiveSheet().RowCount(), 0);

  // Without a writable temporary directory there is nowhere to keep a
  // workbook: the application cannot be made.
  common::TempDirectory = dir_.Path("no_such_dir");
  std::optional<common::TSpreadsheetApplication> other;
  EXPECT_FALSE(common::CreateSpreadsheetApplication(other));
  EXPECT_FALSE(other.has_value());
}

TEST_F(SpreadsheetExportTest, FailedStartOfTheProgramIsReported) {
  platform::ScopedDocumentOpener failing(
      [](const std::string&) { return platform::StartResult{platform::StartOutcome::NotFound, 2}; });
  common::TSpreadsheetApplication book;
  book.SetCellValue(1, 1, "x");
  EXPECT_FALSE(book.ShowWorkbook());
  EXPECT_TRUE(book.WorkbookFile().empty());
}

}  // namespace
