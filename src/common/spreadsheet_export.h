// The link to the user's spreadsheet program. The program fills worksheets
// cell by cell, as it would a running spreadsheet application, in the
// object ExcelApplication; a finished workbook is handed to the spreadsheet
// program as a file that every spreadsheet program opens: comma-separated
// values (RFC 4180, UTF-8 with a byte-order mark, CR LF line ends), opened
// with the program the desktop associates with such files (OpenDocument of
// platform/program_start.h).
//
// A cell that a spreadsheet would take for a formula (a text starting with
// '=', '@', '+' or '-' that is not a plain number and holds a letter or a
// digit) is written with a leading apostrophe, so that a text from a design
// file shows as the text it is and never runs as a formula.
//
// ExportTextToExcel puts the lines of a text file (a design data file) into
// the first column of the active sheet.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>

namespace common {

// One worksheet: cell texts (UTF-8 display text) by row and column, both
// counted from 1.
class TWorksheet {
 public:
  void SetCell(int row, int column, const std::string& text);
  // The text of a cell; empty for a cell never set.
  std::string Cell(int row, int column) const;
  // The last row and column that hold a set cell (0 for an empty sheet).
  int RowCount() const { return rows_; }
  int ColumnCount() const { return columns_; }
  void Clear();

 private:
  std::map<std::pair<int, int>, std::string> cells_;
  int rows_ = 0, columns_ = 0;
};

// The sheet as CSV text, row 1 to RowCount, each row with ColumnCount
// fields (without the byte-order mark).
std::string WorksheetCsvText(const TWorksheet& sheet);
// One cell as a CSV field: quoted when it holds a comma, a quote or a line
// end; a text taken for a formula gets a leading apostrophe first.
std::string CsvField(const std::string& text);

// The running spreadsheet application: the calls the program makes of it
// (cells(row, column).value, visible, workbooks.add, workbooks.OpenText)
// and the hand-over of the active workbook to the user.
class TSpreadsheetApplication {
 public:
  TSpreadsheetApplication();

  // cells(row, column).value := text, on the active sheet.
  void SetCellValue(int row, int column, const std::string& text);
  TWorksheet& ActiveSheet() { return sheet_; }
  const TWorksheet& ActiveSheet() const { return sheet_; }

  void SetVisible(bool visible) { visible_ = visible; }
  bool Visible() const { return visible_; }

  // workbooks.add: a new, empty workbook becomes the active one.
  void AddWorkbook();
  // workbooks.OpenText(name): the text file (UTF-8) becomes the active
  // workbook, one row a line, its tab-separated fields the columns. False
  // (and the active workbook unchanged) when the file cannot be read.
  bool OpenText(const std::string& fileName);

  // Writes the active workbook as a new file of a name of its own ("$xls",
  // a random part, ".csv") in the temporary directory (TemporaryDirectory of
  // file_utils.h), readable by the user only, and opens it with the
  // spreadsheet program. False when the file cannot be
  // written or the program not started; the file name is then empty.
  bool ShowWorkbook();
  // The file the last ShowWorkbook wrote.
  const std::string& WorkbookFile() const { return file_; }

 private:
  TWorksheet sheet_;
  bool visible_ = false;
  std::string file_;
};

// The one spreadsheet application of the program; empty until it is
// created, emptied at the end of the program.
extern std::optional<TSpreadsheetApplication> ExcelApplication;

// The message when the spreadsheet program cannot be reached.
inline constexpr const char* CouldNotStartSpreadsheet = "Could not start Excel";

// Creates a spreadsheet application ("Excel.Application"): false when
// workbooks cannot be kept (the temporary directory cannot be written).
bool CreateSpreadsheetApplication(std::optional<TSpreadsheetApplication>& application);

// The lines of the text file into column 1 of ExcelApplication's active
// sheet, line n into cells(n, 1), converted to display text; the sheet is
// emptied first, so that no row of an earlier, longer export stays below.
// An empty name: "File not found. Use "File->Save"" and AbortFlag. The name
// is completed as a data file name (directory, extension, access check);
// a file that cannot be opened or read sets AbortFlag. Without an
// application, AbortFlag is set.
void ExportTextToExcel(const std::string& name);

}  // namespace common
