// The data-set table; see design_table.h.
#include "app/tables/design_table.h"

#include <algorithm>
#include <sys/stat.h>

#include <ctime>
#include <filesystem>

#include "app/data_file.h"
#include "app/design_extras.h"
#include "app/entry_points.h"
#include "app/main_menu.h"
#include "app/main_window.h"
#include "calc/calc_records.h"
#include "calc/spur_gear_data.h"
#include "common/code_page.h"
#include "common/file_utils.h"
#include "common/kaldvar.h"
#include "common/message_boxes.h"
#include "common/number_format.h"
#include "common/small_dialogs.h"
#include "common/spreadsheet_export.h"
#include "common/system_information.h"
#include "common/unit_labels.h"
#include "drawing/outlines/tooth_contour.h"
#include "platform/user_dialogs.h"

namespace app {

namespace fs = std::filesystem;

namespace {

std::string Display(const std::string& oemText) { return common::OemToDisplayText(oemText); }

class LeaveAtOnce : public DesignTableViews {
 public:
  void ShowTable(TDesignTable&) override { common::AbortFlag = 1; }
};

DesignTableViews*& InstalledViews() {
  static LeaveAtOnce leave;
  static DesignTableViews* views = &leave;
  return views;
}

}  // namespace

DesignTableViews* SetDesignTableViews(DesignTableViews* views) {
  static LeaveAtOnce leave;
  DesignTableViews* previous = InstalledViews();
  InstalledViews() = views ? views : &leave;
  return previous;
}

std::vector<std::string> DesignTableTitles() {
  const std::string len = Display(common::LengthUnitLabel());
  return {"File", "Date  y/m/d", "No.1", "No.2", "Type", "z1", "z2",
          "a  " + len, "alpha  " + Display(common::DegreeUnitLabel()), "U1 " + len, "mn  " + len, "b " + len,
          "i", "P  kW", "n1  /min", "Mat.1", "Mat.2"};
}

std::vector<int> DesignTableWidths() {
  std::vector<int> widths(DesignTableColumns, 48);
  widths[0] = 120;
  widths[1] = 64;
  widths[2] = widths[3] = 90;
  widths[15] = widths[16] = 60;
  return widths;
}

std::vector<std::string> DesignTableRow(const std::string& fileName, const std::string& fileDate) {
  const calc::TNcPair& pair = calc::NcPair;
  const calc::TSpurGearData& sg = calc::SpurGearData;
  std::vector<std::string> row(DesignTableColumns);
  row[0] = fileName;
  row[1] = fileDate;
  row[2] = Display(sg.DrawingNumber[1]);
  row[3] = Display(sg.DrawingNumber[2]);
  row[4] = common::IntToText(calc::CurveType);
  row[5] = common::IntToText(pair.z1);
  row[6] = common::IntToText(pair.z2);
  row[7] = common::FormatLength(4, 2, pair.a);
  row[8] = common::FormatRealDigits(3, 2, sg.PressureAngle);
  row[9] = common::FormatLength(3, 2, pair.U1);
  // A design without teeth has neither module nor ratio.
  if (pair.z1 != 0) {
    // The module the teeth are cut with (a wavy curve's length spaces them
    // far wider than that).
    row[10] = common::FormatLength(3, 2, drawing::ToothHeightModule());
    row[12] = common::FormatRealDigits(3, 3, static_cast<Real>(pair.z2) / pair.z1);
  }
  row[11] = common::FormatLength(3, 1, sg.FaceWidth);
  row[13] = common::FormatRealDigits(3, 3, sg.P);
  row[14] = common::FormatRealDigits(4, 0, sg.n[1]);
  row[15] = Display(MaterialName[1]);
  row[16] = Display(MaterialName[2]);
  return row;
}

std::string FileDateOf(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return "";
  const std::time_t t = info.st_mtime;
  std::tm local{};
  if (!localtime_r(&t, &local)) return "";
  // The packed stamp the date text is made from: year - 1980, month, day.
  const int year = std::max(local.tm_year + 1900, 1980);
  const std::uint32_t date = (static_cast<std::uint32_t>(year - 1980) << 9) |
                             (static_cast<std::uint32_t>(local.tm_mon + 1) << 5) |
                             static_cast<std::uint32_t>(local.tm_mday);
  return common::FileDateText(date << 16);
}

TDesignTable ReadDesignTable(const std::string& directory, const std::function<void(const std::string&)>& progress) {
  TDesignTable table;
  table.rows.push_back(DesignTableTitles());
  table.columnWidths = DesignTableWidths();

  std::vector<std::string> names;
  std::error_code ec;
  const fs::path dir = directory.empty() ? fs::path(".") : fs::path(directory);
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    if (!it->is_regular_file(typeError)) continue;
    const std::string name = it->path().filename().string();
    if (common::MatchesFileMask(name, "*." + common::DataFileExtension)) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  if (static_cast<int>(names.size()) > DesignTableMaxRows) names.resize(DesignTableMaxRows);

  const KeptDesign kept;
  const std::uint8_t skipSweep = calc::SkipPositionSweep;
  for (const std::string& name : names) {
    if (progress) progress(name);
    const std::string path = (dir / name).string();
    calc::SkipPositionSweep = 1;
    ReadDataFile(path);
    calc::SkipPositionSweep = skipSweep;
    const bool read = common::AbortFlag == 0;
    common::AbortFlag = 0;
    if (read) {
      table.rows.push_back(DesignTableRow(name, FileDateOf(path)));
    } else {
      // The values in memory are not this file's: only its name and date.
      std::vector<std::string> row(DesignTableColumns);
      row[0] = name;
      row[1] = FileDateOf(path);
      table.rows.push_back(row);
    }
  }
  kept.PutBack();
  return table;
}

void SortStringsIndexed(std::vector<int>& index, std::vector<std::string>& key, int lo, int hi) {
  int i = lo, j = hi;
  const std::string pivot = key[(lo + hi) / 2];
  do {
    while (key[i] < pivot) ++i;
    while (pivot < key[j]) --j;
    if (i <= j) {
      std::swap(key[i], key[j]);
      std::swap(index[i], index[j]);
      ++i;
      --j;
    }
  } while (i <= j);
  if (lo < j) SortStringsIndexed(index, key, lo, j);
  if (i < hi) SortStringsIndexed(index, key, i, hi);
}

void SortGridByColumn(TDesignTable& table, int column) {
  const int n = table.RowCount() - 1;
  if (n < 2 || column < 0 || column >= table.ColumnCount()) return;
  std::vector<std::string> key(n + 1);
  std::vector<int> index(n + 1);
  for (int r = 1; r <= n; ++r) {
    key[r] = table.rows[r][column];
    index[r] = r;
  }
  SortStringsIndexed(index, key, 1, n);
  std::vector<std::vector<std::string>> sorted(table.rows.size());
  sorted[0] = table.rows[0];
  for (int r = 1; r <= n; ++r) sorted[r] = std::move(table.rows[index[r]]);
  table.rows = std::move(sorted);
  for (int r = 1; r <= n; ++r)
    if (index[r] == table.currentRow) {
      table.currentRow = r;
      break;
    }
}

bool SearchGrid(TDesignTable& table, int afterRow) {
  for (int r = std::max(afterRow + 1, 1); r < table.RowCount(); ++r)
    for (int c = 0; c < table.ColumnCount(); ++c)
      if (!table.searchText.empty() && table.rows[r][c].find(table.searchText) != std::string::npos) {
        table.currentColumn = c;
        table.currentRow = r;
        return true;
      }
  common::ShowMessageText(common::AnsiToOemText(table.searchText) + " not found.");
  return false;
}

bool SelectDesignCell(TDesignTable& table, int column, int row) {
  table.currentColumn = column;
  table.currentRow = row;
  if (row < 1 || row >= table.RowCount() || row == table.pickedRow) return false;
  table.pickedRow = row;
  common::AbortFlag = 0;
  return true;
}

void ExportDesignTable(const TDesignTable& table) {
  std::optional<common::TSpreadsheetApplication> book;
  if (!common::CreateSpreadsheetApplication(book)) {
    common::ShowMessageConverted(common::CouldNotStartSpreadsheet);
    return;
  }
  book->SetVisible(true);
  book->AddWorkbook();
  for (int r = 0; r < table.RowCount(); ++r)
    for (int c = 0; c < table.ColumnCount(); ++c) book->SetCellValue(r + 1, c + 1, table.rows[r][c]);
  if (!book->ShowWorkbook()) common::ShowMessageConverted(common::CouldNotStartSpreadsheet);
}

void OpenDesignTable() {
  QuerySaveChanges();
  if (common::AbortFlag) return;
  platform::Dialogs().SetBusyCursor(true);
  const std::string caption = MainCaption;
  TDesignTable table = ReadDesignTable(common::DataDirectory, [](const std::string& name) {
    MainCaption = common::OemToDisplayText(common::ProgramTitle) + " -> " + name;
  });
  MainCaption = caption;
  platform::Dialogs().SetBusyCursor(false);
  for (;;) {
    common::AbortFlag = 0;
    InstalledViews()->ShowTable(table);
    if (common::AbortFlag) break;
    // A window that closed without a pick is left as Exit would be.
    if (table.pickedRow < 1 || table.pickedRow >= table.RowCount()) break;
    // The design's whole name: a name with dots of its own is read from
    // the data directory as any other.
    const std::string name = common::BareDesignName(table.rows[table.pickedRow][0]);
    ReadDataFile(common::DesignFilePath(common::DataDirectory, name));
    if (common::AbortFlag) {
      // The file did not read (its message was shown); the table stays.
      continue;
    }
    common::CurrentFileName = name;
    common::DataChanged = 0;
    SetMenuCaptions();
    UpdateMessageMenu();
    UpdateMainCaption();
  }
  UpdateMainCaption();
}

}  // namespace app
