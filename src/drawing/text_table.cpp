// Ruled text tables on the drawing sheet; see text_table.h.
#include "drawing/text_table.h"

#include <algorithm>

#include "common/message_list.h"
#include "drawing/cad/cad_output.h"

namespace drawing {

TAusTabelle::TAusTabelle(const std::string& s1, Real x0, Real y0, Real h, Real w1, Real w2, Real w3, Real w4,
                         Real w5, Real w6, Real w7, const std::string& s2, const std::string& s3,
                         const std::string& s4, const std::string& s5, const std::string& s6,
                         const std::string& s7, Real letterWidth) {
  const std::string headings[7] = {s1, s2, s3, s4, s5, s6, s7};
  const Real widths[7] = {w1, w2, w3, w4, w5, w6, w7};
  for (int i = 1; i <= 7; ++i) Cells[i] = headings[i - 1];
  // One character is 0.9 of the text height wide.
  ColumnX[1] = x0;
  for (int i = 1; i <= 7; ++i) ColumnX[i + 1] = ColumnX[i] + h * widths[i - 1] * 0.9L;
  TextHeight = h;
  RowHeight = 2 * h;
  TopY = y0;
  RuleY = y0 - 2 * h;
  TextY = y0 - 1.5L * h;
  ColumnCount = TextTableColumnCount();
  RuleRows = true;
  RuleColumns = true;
  SetCadColor(17);
  CadRectangle(ColumnX[1], TopY, ColumnX[ColumnCount], TopY - 2 * h);
  if (RuleColumns) {
    CadLine(ColumnX[1], TopY, ColumnX[1], TopY - 2 * h);
    CadLine(ColumnX[ColumnCount], TopY, ColumnX[ColumnCount], TopY - 2 * h);
  }
  SetCadTextSize(2, 0, h, letterWidth * h);
  const bool anyHeading = std::any_of(std::begin(headings), std::end(headings),
                                      [](const std::string& s) { return !s.empty(); });
  if (anyHeading) TextTableDrawRows();
}

std::int32_t TAusTabelle::TextTableColumnCount() const {
  for (int i = 2; i <= 8; ++i)
    if (ColumnX[i] == ColumnX[i - 1]) return i - 1;
  return 8;
}

void TAusTabelle::TextTableDrawRows() {
  SetCadColor(18);
  for (int i = 1; i <= ColumnCount - 1; ++i) {
    const Real x = (i == 4 && valueCellX_ >= 0) ? valueCellX_ : ColumnX[i];
    CadText(" " + Cells[i], x, TextY);
  }
  valueCellX_ = -1;
  RuleY -= RowHeight;
  TextY -= RowHeight;
}

void TAusTabelle::RuleRow(bool skipBorder5) {
  SetCadColor(17);
  if (RuleRows) CadLine(ColumnX[1], RuleY, ColumnX[ColumnCount], RuleY);
  if (RuleColumns)
    for (int i = 1; i <= ColumnCount; ++i) {
      if (skipBorder5 && i == 5) continue;
      CadLine(ColumnX[i], RuleY, ColumnX[i], RuleY + RowHeight);
    }
}

void TAusTabelle::TextTableAddRow(const std::string& t1, const std::string& t2, const std::string& t3,
                                  const std::string& t4, const std::string& t5, const std::string& t6,
                                  const std::string& t7) {
  const std::string texts[7] = {t1, t2, t3, t4, t5, t6, t7};
  for (int i = 1; i <= 7; ++i) Cells[i] = texts[i - 1];
  RuleRow(false);
  TextTableDrawRows();
}

void TAusTabelle::TextTableAddValueRow(const std::string& t1, const std::string& t2, const std::string& t3,
                                       const std::string& t4) {
  const std::string texts[7] = {t1, t2, t3, t4, "", "", ""};
  for (int i = 1; i <= 7; ++i) Cells[i] = texts[i - 1];
  RuleRow(true);
  valueCellX_ = (ColumnX[4] + ColumnX[5]) / 2;
  TextTableDrawRows();
}

void DrawTextTableAt(Real x0, Real y0, Real h, Real w1, Real height) {
  // The pair's findings: what answered an earlier request is no part of
  // the sheet.
  const std::vector<std::string>& messages = common::PairMessages();
  const int count = static_cast<int>(messages.size());
  if (count < 1) return;
  if (h == 0) h = 2.0L;
  if (w1 == 0) w1 = 42;
  if (count > 1 && height > 0.1L) h = std::min(h, height / count / 2);
  // A long message (one with the sweep's angle after it) narrows the
  // letters rather than running past the table and off the sheet: each
  // text stands after one blank in a column of w1 characters of 0.9 h.
  std::size_t longest = 0;
  for (const std::string& text : messages) longest = std::max(longest, text.size() + 1);
  const Real letterWidth = std::min(0.75L, 0.9L * w1 / static_cast<Real>(longest));
  TAusTabelle table(messages[0], x0, y0, h, w1, 0, 0, 0, 0, 0, 0, "", "", "", "", "", "", letterWidth);
  for (int i = 1; i < count; ++i) table.TextTableAddRow(messages[static_cast<std::size_t>(i)]);
}

}  // namespace drawing
