// The HTML export and the printout of the table window's table; see
// table_export.h.
#include "dbase/table/table_export.h"

#include <algorithm>
#include <cstdint>

#include "common/code_page.h"
#include "common/date_time.h"
#include "common/file_checks.h"
#include "common/file_utils.h"
#include "common/kaldvar.h"
#include "common/report_tables.h"
#include "common/report_writer.h"
#include "common/small_dialogs.h"
#include "common/text_file.h"
#include "common/text_utils.h"
#include "dbase/engine/engine_code_page.h"
#include "dbase/table/table_window.h"
#include "platform/program_start.h"

namespace dbase {

namespace {

using common::AbortFlag;

// A path or a display text as HTML page text.
std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string RightTrimmed(std::string text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.pop_back();
  return text;
}

}  // namespace

std::vector<std::string> RecordCells(Tdbf4& window, std::int64_t recNo, int count) {
  std::vector<std::string> cells;
  for (int f = 1; f <= count; ++f) {
    std::string text;
    try {
      text = window.tzdbf.Peek(f, recNo);
    } catch (const std::exception&) {
      text.clear();
    }
    // The engine's text in the program's code page, as DbfGetString gives
    // it: the page and the report convert that for display.
    cells.push_back(AnsiToOemStr(RightTrimmed(text)));
  }
  return cells;
}

void ExportTableHtml(Tdbf4& window, const std::string& fileName) {
  const int fields = window.FieldCount();
  const std::int64_t records = window.RecCount();
  common::SharedTextFile.Assign(fileName);
  common::RewriteFileChecked(common::SharedTextFile);
  if (AbortFlag) return;
  using common::WriteTextLine;
  WriteTextLine("<HTML>");
  WriteTextLine("<head><title>" + Escaped(common::BareFileName(fileName)) + "</title></head>");
  WriteTextLine("<BODY BGCOLOR=\"C0C0C0\">");
  WriteTextLine("<P>" + common::HtmlEscapedText(common::ProgramName + "V" + common::ProgramVersion) + "</P>");
  WriteTextLine("<P>" + Escaped(common::UpperText(fileName)) + "</P>");
  WriteTextLine("<P>" + common::HtmlEscapedText(common::TodayText() + " - " + common::TimeText()) + "</P>");
  WriteTextLine("<HR>");
  WriteTextLine("<TABLE BORDER = \"1\" WIDTH= \"100%\">");
  std::string line = "<TR>";
  for (int f = 1; f <= fields; ++f)
    line += "<TD><CENTER>" + common::HtmlEscapedText(common::TrimBlanks(window.FieldName(f))) + "</CENTER></TD>";
  WriteTextLine(line + "</TR>");
  for (std::int64_t r = 1; r <= records; ++r) {
    line = "<TR>";
    for (const std::string& cell : RecordCells(window, r, fields))
      line += "<TD>" + common::HtmlEscapedText(common::TrimBlanks(cell)) + "</TD>";
    WriteTextLine(line + "</TR>");
  }
  WriteTextLine("</TABLE>");
  WriteTextLine("</BODY>");
  WriteTextLine("</HTML>");
  common::CloseFileChecked(common::SharedTextFile);
}

void StartHtmlBrowser(const std::string& fileName) {
  const std::string browser = common::TrimBlanks(common::HtmlBrowserPath);
  if (browser.empty()) return;
  const platform::StartResult result = platform::StartCommandLine(platform::CommandLineWord(browser) + " " + platform::CommandLineWord(fileName));
  if (result.outcome != platform::StartOutcome::Started) common::ShowError("file " + browser + " not found or no access !");
}

void PrintTable(Tdbf4& window) {
  AbortFlag = 0;
  // The table's file name is the file system's text; the head's lines are
  // program texts.
  common::BeginReport(common::ProgramName + " V" + common::ProgramVersion,
                      common::AnsiToOemText(window.tzdbf.DbfFileName()),
                      common::AnsiToOemText(window.Caption), common::AnsiToOemText(window.Label_title1), "", 0);
  common::SelectOutputDevice(0, "");
  if (AbortFlag) return;
  common::WriteReportHeader(1, 0);
  common::WriteReportText("");
  if (AbortFlag) return;
  const int columns = std::min(7, window.FieldCount());
  std::vector<int> widths;
  std::vector<std::string> headings;
  for (int f = 1; f <= columns; ++f) {
    widths.push_back(window.tzdbf.FieldLen(f) + 1);
    headings.push_back(common::TrimBlanks(window.FieldName(f)));
  }
  common::HtmlTable table(widths, headings);
  const std::int64_t records = window.RecCount();
  for (std::int64_t r = 1; r <= records && !AbortFlag; ++r) {
    // A row ends at its first empty cell: a blank field keeps its place.
    std::vector<std::string> cells = RecordCells(window, r, columns);
    for (std::string& cell : cells)
      if (cell.empty()) cell = " ";
    table.HtmlTableRow(cells);
  }
  table.HtmlTableEnd();
  common::ShowReportOutput();
}

}  // namespace dbase
