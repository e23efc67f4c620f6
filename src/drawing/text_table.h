// Ruled tables of text drawn with the primitives of the drawing interface
// (cad_output.h) on a drawing sheet: the pitch-curve description and the
// gear data table of the sheets, and the table of calculation messages. A
// table keeps its column borders and the running row position; the caller
// creates it with the heading row and appends rows one by one, each drawn
// at once on the current output device.
//
//   TAusTabelle t("Quantity", 20, 200, 2.5, 24, 12, 0, 0, 0, 0, 0, "Value");
//   t.TextTableAddRow("z", "30");
#pragma once

#include <cstdint>
#include <string>

#include "common/range_array.h"
#include "common/real.h"

namespace drawing {

class TAusTabelle {
 public:
  // LayoutTextTable: s1..s7 the heading texts, (x0, y0) the top left
  // corner, h the text height, w1..w7 the column widths in characters (0 for
  // columns not wanted; the columns end before the first width of 0);
  // letterWidth the width of a letter, a fraction of h.
  TAusTabelle(const std::string& s1, Real x0, Real y0, Real h, Real w1, Real w2, Real w3, Real w4, Real w5, Real w6,
              Real w7, const std::string& s2 = "", const std::string& s3 = "", const std::string& s4 = "",
              const std::string& s5 = "", const std::string& s6 = "", const std::string& s7 = "",
              Real letterWidth = 0.75L);
  virtual ~TAusTabelle() = default;

  // A ruled row with up to seven texts.
  void TextTableAddRow(const std::string& t1, const std::string& t2 = "", const std::string& t3 = "",
                       const std::string& t4 = "", const std::string& t5 = "", const std::string& t6 = "",
                       const std::string& t7 = "");
  void TextTableAddLine(const std::string& t) { TextTableAddRow(t); }
  void TextTableAddCells(const std::string& t1, const std::string& t2, const std::string& t3, const std::string& t4,
                         const std::string& t5) {
    TextTableAddRow(t1, t2, t3, t4, t5);
  }
  // Cells 4 and 5 form one field (no border between them) and the text of
  // cell 4 starts at its middle: a value with its unit beside it.
  void TextTableAddValueRow(const std::string& t1, const std::string& t2, const std::string& t3,
                            const std::string& t4);
  // Writes the current cells and moves to the next row.
  void TextTableDrawRows();
  // The index of the last column border: the one before the first border
  // that coincides with its predecessor, else 8.
  std::int32_t TextTableColumnCount() const;

  RangeArray<Real, 1, 8> ColumnX{};
  Real TopY = 0;
  Real RuleY = 0;
  Real TextY = 0;
  RangeArray<std::string, 1, 7> Cells{};
  Real TextHeight = 0;
  Real RowHeight = 0;
  std::int32_t ColumnCount = 1;
  std::int32_t FirstColumn = 1;
  bool RuleRows = true;
  bool RuleColumns = true;

 private:
  void RuleRow(bool skipBorder5);
  Real valueCellX_ = -1;  // start of cell 4's text in a value row
};

// The pair's messages (PairMessages) as a one-column table with its top
// left corner at (x0, y0): h the text height (0: 2.0), w1 the width in
// characters (0: 42); with more than one message and a height above 0.1,
// h shrinks so that all rows fit into it, and the letters narrow so that
// the longest message stays inside the table's width. Nothing without a
// message.
void DrawTextTableAt(Real x0, Real y0, Real h, Real w1, Real height);

}  // namespace drawing
