// Tables in a report (report_writer.h): a heading row and rows of up to
// seven cells, laid out by the report device: padded columns framed by rule
// lines on the page devices, tab-separated cells on the TXT devices, an
// HTML table on the HTML device (first cell left, further cells right
// aligned).
#pragma once

#include <string>
#include <vector>

namespace common {

class HtmlTable {
 public:
  // Writes the heading row. widths: up to eight column widths (characters
  // on the page devices); headings: the heading cells. Rows are followed by
  // a single rule on the page devices until HtmlTableSetRowRules(false).
  HtmlTable(const std::vector<int>& widths, const std::vector<std::string>& headings);

  // One row: the cells up to the first empty one, at most seven.
  void HtmlTableRow(const std::vector<std::string>& cells);
  void HtmlTableSetRowRules(bool rules) { rowRules_ = rules; }
  // Closes the HTML table (nothing on the other devices).
  void HtmlTableEnd();

 private:
  std::string PaddedLine(const std::vector<std::string>& cells) const;

  std::vector<int> widths_;
  bool rowRules_ = true;
};

}  // namespace common
