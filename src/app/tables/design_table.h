// The data-set table: every design data file of the data directory as one
// row with its main values (File, Open table of the main menu), so that the
// user can compare the designs, sort them by any column, search them,
// export the table to the spreadsheet program and pick one design to load.
//
// The table, its sort, its search, the picking rule and the export are
// here; the window (TForm_preview with its search dialog) is a view, the Qt
// one in ui/design_table_window.h. The designs are read through
// app/data_file.h with the position sweep skipped; the user's design is kept
// while the directory is read and stays unless a design is picked.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace app {

inline constexpr int DesignTableColumns = 17;
// The sort buffers' size: the table holds at most this many designs.
inline constexpr int DesignTableMaxRows = 1000;

// The grid of the window: row 0 the titles, rows 1.. the designs; cells are
// display text. The current cell, the search text and the picked row
// persist between showings.
struct TDesignTable {
  std::vector<std::vector<std::string>> rows;  // rows[row][column]
  std::vector<int> columnWidths;               // pixels before scaling
  int currentRow = 1, currentColumn = 0;
  std::string searchText;
  int pickedRow = 0;

  int RowCount() const { return static_cast<int>(rows.size()); }
  int ColumnCount() const { return rows.empty() ? 0 : static_cast<int>(rows.front().size()); }
  const std::string& Cell(int column, int row) const { return rows[row][column]; }
};

// The 17 column titles for the active unit system.
std::vector<std::string> DesignTableTitles();
// The column widths: 48, the file 120, the date 64, the numbers 90, the
// materials 60.
std::vector<int> DesignTableWidths();
// The row of the design in memory (file name and date given).
std::vector<std::string> DesignTableRow(const std::string& fileName, const std::string& fileDate);
// The date of a file's time stamp as FileDateText gives it; empty when the
// file has none.
std::string FileDateOf(const std::string& path);

// The table of the designs in a directory (names in ordinal order; at most
// DesignTableMaxRows). Each file is read with the position sweep skipped; a
// file that does not read gets a row with its name and date only. The
// design in memory is the user's again afterwards. progress is told each
// file name before it is read.
TDesignTable ReadDesignTable(const std::string& directory,
                             const std::function<void(const std::string&)>& progress = {});

// Hoare quicksort of key[lo..hi] in ordinal (byte-wise) order, the index
// entries swapped with their keys; equal keys may change their order.
void SortStringsIndexed(std::vector<int>& index, std::vector<std::string>& key, int lo, int hi);
// Sorts the data rows by the texts of the column (text order: "10" before
// "9"); the title row stays and the current row follows its design.
void SortGridByColumn(TDesignTable& table, int column);

// Looks for the search text (case-sensitive substring) from the row after
// afterRow on, columns left to right; a hit becomes the current cell.
// No hit: the message search text + " not found." and false.
bool SearchGrid(TDesignTable& table, int afterRow);

// A cell was selected (mouse, keys, search, sort): a data row other than the
// picked row becomes the picked row, AbortFlag is cleared and true tells
// the window to close.
bool SelectDesignCell(TDesignTable& table, int column, int row);

// The whole grid, titles included, into a new worksheet handed to the
// spreadsheet program; "Could not start Excel" when that fails.
void ExportDesignTable(const TDesignTable& table);

// The window; ShowTable returns when it closed: with AbortFlag set the user
// left it (Exit), otherwise table.pickedRow names the design picked.
class DesignTableViews {
 public:
  virtual ~DesignTableViews() = default;
  virtual void ShowTable(TDesignTable& table) = 0;
};
// Installs the views (not owned); nullptr returns to the default, which
// leaves at once with AbortFlag set.
DesignTableViews* SetDesignTableViews(DesignTableViews* views);

// The menu command File, Open table: the save question, the table of the
// data directory, then the window again and again until the user leaves
// it; each pick loads that design (which becomes the current one) and
// redraws the main window.
void OpenDesignTable();

}  // namespace app
