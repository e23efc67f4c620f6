// The spreadsheet link; see spreadsheet_export.h.
#include "common/spreadsheet_export.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <system_error>

#include "common/code_page.h"
#include "common/file_checks.h"
#include "common/file_dialogs.h"
#include "common/file_utils.h"
#include "common/kaldvar.h"
#include "common/message_boxes.h"
#include "common/number_format.h"
#include "common/text_file.h"
#include "platform/file_system.h"
#include "platform/program_start.h"
#include "platform/temporary_files.h"

namespace common {

std::optional<TSpreadsheetApplication> ExcelApplication;

// ---- Worksheet ---------------------------------------------------------------------

void TWorksheet::SetCell(int row, int column, const std::string& text) {
  if (row < 1 || column < 1) return;
  cells_[{row, column}] = text;
  rows_ = std::max(rows_, row);
  columns_ = std::max(columns_, column);
}

std::string TWorksheet::Cell(int row, int column) const {
  const auto it = cells_.find({row, column});
  return it == cells_.end() ? std::string() : it->second;
}

void TWorksheet::Clear() {
  cells_.clear();
  rows_ = columns_ = 0;
}

// ---- CSV -----------------------------------------------------------------------------

namespace {

// A plain number: sign, digits with at most one decimal point or comma, an
// optional exponent. Such a text is a value, not a formula.
bool PlainNumber(const std::string& text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  bool digits = false, separator = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (std::isdigit(static_cast<unsigned char>(c))) {
      digits = true;
    } else if ((c == '.' || c == ',') && !separator) {
      separator = true;
    } else {
      break;
    }
  }
  if (!digits) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t start = i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
    if (i == start) return false;
  }
  return i == text.size();
}

// A formula names functions, cells or numbers: a text without a letter or
// digit (a rule line of '-' or '=') runs nothing and stays as it is.
bool TakenForFormula(const std::string& text) {
  if (text.empty()) return false;
  const char c = text.front();
  if (c != '=' && c != '@' && c != '+' && c != '-') return false;
  if (PlainNumber(text)) return false;
  return std::any_of(text.begin(), text.end(), [](char ch) {
    const auto u = static_cast<unsigned char>(ch);
    return std::isalnum(u) || u >= 0x80;
  });
}

// Writes the bytes into the (empty) file; false when they cannot all be
// written.
bool WriteInto(const std::string& path, const std::string& bytes) {
  std::error_code ec;
  std::unique_ptr<platform::OutputFile> out = platform::Files().Create(path, ec);
  if (!out) return false;
  const bool written = out->Write(bytes, ec);
  const bool closed = out->Close(ec);
  return written && closed;
}

}  // namespace

std::string CsvField(const std::string& textIn) {
  const std::string text = TakenForFormula(textIn) ? "'" + textIn : textIn;
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string WorksheetCsvText(const TWorksheet& sheet) {
  std::string out;
  for (int r = 1; r <= sheet.RowCount(); ++r) {
    std::string line;
    for (int c = 1; c <= sheet.ColumnCount(); ++c) {
      if (c > 1) line += ',';
      line += CsvField(sheet.Cell(r, c));
    }
    // An empty line would be no row at all to some readers: the empty cell
    // is written quoted.
    out += (line.empty() ? "\"\"" : line) + "\r\n";
  }
  return out;
}

// ---- The application -------------------------------------------------------------------

TSpreadsheetApplication::TSpreadsheetApplication() = default;

void TSpreadsheetApplication::SetCellValue(int row, int column, const std::string& text) {
  sheet_.SetCell(row, column, text);
}

void TSpreadsheetApplication::AddWorkbook() { sheet_.Clear(); }

bool TSpreadsheetApplication::OpenText(const std::string& fileName) {
  std::error_code ec;
  std::unique_ptr<platform::InputFile> in = platform::Files().OpenRead(fileName, ec);
  if (!in) return false;
  std::string bytes;
  char buffer[8192];
  for (;;) {
    const std::ptrdiff_t n = in->Read(buffer, sizeof buffer, ec);
    if (n < 0 || ec) return false;
    if (n == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  TWorksheet sheet;
  int row = 0;
  std::size_t pos = 0;
  // Lines end in CR LF, LF or CR; the text after the last line end is a
  // line when it is not empty.
  while (pos < bytes.size()) {
    std::size_t end = bytes.find_first_of("\r\n", pos);
    const std::string line = bytes.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    ++row;
    int column = 1;
    std::size_t start = 0;
    for (;;) {
      const std::size_t tab = line.find('\t', start);
      const std::string field = line.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
      if (!field.empty()) sheet.SetCell(row, column, field);
      if (tab == std::string::npos) break;
      start = tab + 1;
      ++column;
    }
    if (end == std::string::npos) break;
    pos = end + ((bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ? 2 : 1);
  }
  sheet_ = std::move(sheet);
  return true;
}

bool TSpreadsheetApplication::ShowWorkbook() {
  file_.clear();
  // A file of this run's own in the temporary directory, readable by the
  // user only; it stays for the spreadsheet program to open.
  const std::string path = NewTemporaryFile("$xls", ".csv");
  if (path.empty()) return false;
  if (!WriteInto(path, "\xEF\xBB\xBF" + WorksheetCsvText(sheet_))) {
    DeleteFileQuiet(path);
    return false;
  }
  if (platform::OpenDocument(path).outcome != platform::StartOutcome::Started) {
    DeleteFileQuiet(path);
    return false;
  }
  // Handed over: the program's end, however it comes, leaves it.
  platform::ForgetTemporaryFile(path);
  file_ = path;
  return true;
}

bool CreateSpreadsheetApplication(std::optional<TSpreadsheetApplication>& application) {
  if (!DirectoryWritable(TemporaryDirectory())) return false;
  application.emplace();
  return true;
}

// ---- Export of a text file -------------------------------------------------------------

void ExportTextToExcel(const std::string& name) {
  if (name.empty()) {
    ShowMessageConverted("File not found. Use \"File->Save\"");
    AbortFlag = 1;
    return;
  }
  std::string fullName;
  OpenDataFileName(name, fullName);
  if (AbortFlag) return;
  if (!ExcelApplication) {
    AbortFlag = 1;
    return;
  }
  ResetFileChecked(SharedTextFile, fullName);
  if (AbortFlag) return;
  TWorksheet sheet;
  int row = 0;
  bool failed = false;
  while (!SharedTextFile.Eof()) {
    std::string line;
    if (!SharedTextFile.ReadLine(line)) {
      failed = true;
      break;
    }
    sheet.SetCell(++row, 1, OemToDisplayText(line));
  }
  SharedTextFile.Discard();
  if (failed) {
    // A file that cannot be read to its end is not put into the sheet.
    ShowFileError("file " + fullName + " read error !");
    AbortFlag = 1;
    return;
  }
  TWorksheet& active = ExcelApplication->ActiveSheet();
  active.Clear();
  for (int r = 1; r <= sheet.RowCount(); ++r) ExcelApplication->SetCellValue(r, 1, sheet.Cell(r, 1));
}

}  // namespace common
