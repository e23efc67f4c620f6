// Report tables; see report_tables.h.
#include "common/report_tables.h"

#include "common/kaldvar.h"
#include "common/report_writer.h"

namespace common {

namespace {

constexpr std::size_t kMaxCells = 7;
constexpr std::size_t kMaxWidths = 8;

bool TabDevice() {
  const auto device = GetOutputDevice();
  return device == ReportTxtFile || device == ReportTxtDataFile;
}
bool HtmlDevice() { return GetOutputDevice() == ReportHtmlFile; }

// The cells up to the first empty one, at most seven.
std::vector<std::string> UsedCells(const std::vector<std::string>& cells) {
  std::vector<std::string> used;
  for (const std::string& cell : cells) {
    if (cell.empty() || used.size() == kMaxCells) break;
    used.push_back(cell);
  }
  return used;
}

std::string TabJoined(const std::vector<std::string>& cells) {
  std::string line;
  for (std::size_t i = 0; i < cells.size(); ++i) line += (i ? "\t" : "") + cells[i];
  return line;
}

}  // namespace

HtmlTable::HtmlTable(const std::vector<int>& widths, const std::vector<std::string>& headings)
    : widths_(widths.begin(), widths.begin() + static_cast<std::ptrdiff_t>(std::min(widths.size(), kMaxWidths))) {
  if (AbortFlag) return;
  const std::vector<std::string> cells(headings.begin(),
                                       headings.begin() + static_cast<std::ptrdiff_t>(std::min(headings.size(), kMaxCells)));
  if (TabDevice()) {
    WriteOutputLine(TabJoined(cells));
  } else if (HtmlDevice()) {
    CloseHtmlTable();
    WriteMarkupLine("<TABLE BORDER = \"1\" WIDTH= \"100%\">");
    ReportState.HtmlTableOpen = 1;
    std::string row = "<TR>";
    for (std::size_t i = 0; i < cells.size(); ++i)
      if (i == 0 || !cells[i].empty()) row += "<TD><CENTER>" + HtmlEscapedText(cells[i]) + "</CENTER></TD>";
    WriteMarkupLine(row + "</TR>");
  } else {
    WriteReportText(RuleLineDouble());
    WriteReportText(PaddedLine(cells));
    WriteReportText(RuleLineSingle());
  }
}

void HtmlTable::HtmlTableRow(const std::vector<std::string>& cells) {
  if (AbortFlag) return;
  const std::vector<std::string> used = UsedCells(cells);
  if (TabDevice()) {
    WriteOutputLine(TabJoined(used));
  } else if (HtmlDevice()) {
    if (!ReportState.HtmlTableOpen) {
      WriteMarkupLine("<TABLE BORDER = \"1\" WIDTH= \"100%\">");
      ReportState.HtmlTableOpen = 1;
    }
    std::string row = "<TR>";
    for (std::size_t i = 0; i < used.size(); ++i)
      row += i == 0 ? "<TD>" + HtmlEscapedText(used[i]) + "</TD>" : "<TD><DIV ALIGN=RIGHT>" + HtmlEscapedText(used[i]) + "</DIV></TD>";
    WriteMarkupLine(row + "</TR>");
  } else {
    WriteReportText(PaddedLine(used));
    if (rowRules_) WriteReportText(RuleLineSingle());
  }
}

void HtmlTable::HtmlTableEnd() {
  if (HtmlDevice()) CloseHtmlTable();
}

std::string HtmlTable::PaddedLine(const std::vector<std::string>& cells) const {
  // Each cell padded to its column width; a longer cell keeps its length.
  std::string line;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    std::string cell = cells[i];
    const int width = i < widths_.size() ? widths_[i] : 0;
    if (static_cast<int>(cell.size()) < width) cell.resize(static_cast<std::size_t>(width), ' ');
    line += cell;
  }
  return line;
}

}  // namespace common
