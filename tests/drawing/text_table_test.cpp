// Tests of the ruled text tables: column counts, the rules and texts a
// table draws row by row, the value row, and the message table.
#include "drawing/text_table.h"

#include "drawing_test_support.h"

namespace {

using drawingtest::Describe;
using drawingtest::DrawingTest;
using drawingtest::LoggingBackEnd;

class TextTables : public DrawingTest {
 protected:
  void SetUp() override {
    DrawingTest::SetUp();
    drawing::CadDevice = drawing::CadDeviceScreen;
  }
  LoggingBackEnd log_;
  drawing::ScopedCadBackEnd scoped_{drawing::CadDeviceScreen, log_};
};

TEST_F(TextTables, ColumnsEndBeforeTheFirstWidthOfZero) {
  EXPECT_EQ(drawing::TAusTabelle("", 0, 0, 2, 30, 10, 0, 0, 0, 0, 0).ColumnCount, 3);
  EXPECT_EQ(drawing::TAusTabelle("", 0, 0, 2, 1, 1, 1, 1, 1, 1, 1).ColumnCount, 8);
  EXPECT_EQ(drawing::TAusTabelle("", 0, 0, 2, 1, 1, 1, 1, 1, 1, 0).ColumnCount, 7);
  EXPECT_EQ(drawing::TAusTabelle("", 0, 0, 2, 0, 0, 0, 0, 0, 0, 0).ColumnCount, 1);
  // A later width does not reopen the columns.
  EXPECT_EQ(drawing::TAusTabelle("", 0, 0, 2, 5, 0, 5, 0, 0, 0, 0).ColumnCount, 2);
}

TEST_F(TextTables, HeadingAndRowsAreRuledAndWrittenTopDown) {
  {
    drawing::TAusTabelle t("Size", 10, 100, 2, 10, 5, 0, 0, 0, 0, 0, "Value");
    t.TextTableAddRow("z1", "30");
  }
  // Columns of 10 and 5 characters at 0.9 h each: borders at 10, 28, 37.
  EXPECT_EQ(Describe(log_.figures),
            "LINE pen 17 10.000 100.000 10.000 96.000\n"
            "LINE pen 17 10.000 96.000 37.000 96.000\n"
            "LINE pen 17 37.000 96.000 37.000 100.000\n"
            "LINE pen 17 37.000 100.000 10.000 100.000\n"
            "LINE pen 17 10.000 100.000 10.000 96.000\n"
            "LINE pen 17 37.000 100.000 37.000 96.000\n"
            "TEXT pen 18 10.000 97.000 2.000 0.000 \" Size\"\n"
            "TEXT pen 18 28.000 97.000 2.000 0.000 \" Value\"\n"
            "LINE pen 17 10.000 92.000 37.000 92.000\n"
            "LINE pen 17 10.000 92.000 10.000 96.000\n"
            "LINE pen 17 28.000 92.000 28.000 96.000\n"
            "LINE pen 17 37.000 92.000 37.000 96.000\n"
            "TEXT pen 18 10.000 93.000 2.000 0.000 \" z1\"\n"
            "TEXT pen 18 28.000 93.000 2.000 0.000 \" 30\"\n");
}

TEST_F(TextTables, EmptyHeadingLeavesTheFirstRowOnTheHeadingBox) {
  drawing::TAusTabelle t("", 0, 50, 1, 10, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(t.RuleY, 48);
  t.TextTableAddLine("first");
  EXPECT_EQ(t.RuleY, 46);
  const auto& rule = log_.figures[6];  // after the box and its two borders
  EXPECT_EQ(rule.kind, "LINE");
  EXPECT_EQ(rule.values[1], 48);
}

TEST_F(TextTables, ValueRowJoinsCellsFourAndFive) {
  drawing::TAusTabelle t("", 0, 0, 1, 2, 2, 2, 4, 2, 0, 0);
  log_.figures.clear();
  t.TextTableAddValueRow("a", "b", "c", "d");
  int borders = 0;
  bool fifth = false;
  for (const auto& f : log_.figures) {
    if (f.kind == "LINE" && f.values[0] == f.values[2]) {
      ++borders;
      if (f.values[0] == t.ColumnX[5]) fifth = true;
    }
    if (f.kind == "TEXT" && f.text == " d") {
      EXPECT_EQ(f.values[0], (t.ColumnX[4] + t.ColumnX[5]) / 2);
    }
  }
  EXPECT_EQ(borders, 5);  // six borders less the fifth
  EXPECT_FALSE(fifth);
}

TEST_F(TextTables, MessageTableFitsItsHeight) {
  // The sheet's table holds what the calculation said.
  const common::CalculationMessagesScope calculating;
  drawing::DrawTextTableAt(0, 0, 2, 0, 6);
  EXPECT_TRUE(log_.figures.empty()) << "no message, no table";
  common::AddErrorMessage("Warning: one");
  common::AddErrorMessage("Warning: two");
  common::AddErrorMessage("Warning: three");
  drawing::DrawTextTableAt(5, 80, 2, 0, 6);
  const Real usualLetters = drawing::CadDrawing.CadTextWidthFactor;
  std::vector<std::string> texts;
  for (const auto& f : log_.figures)
    if (f.kind == "TEXT") {
      texts.push_back(f.text);
      EXPECT_EQ(f.values[2], 1) << "height 6 over three rows of 2 h";
    }
  EXPECT_EQ(texts, (std::vector<std::string>{" Warning: one", " Warning: two", " Warning: three"}));
  // The default width of 42 characters at 0.9 h.
  Real right = 0;
  for (const auto& f : log_.figures)
    if (f.kind == "LINE") right = std::max({right, f.values[0], f.values[2]});
  EXPECT_NEAR(right, 5 + 42 * 0.9L, 1e-12);

  // A message longer than the table is wide narrows the letters: it ends
  // inside the table (quick sheet 2's table of 44 characters at h 1.5).
  const std::string longText = "Warning: teeth interfere, first at 12\xF8, overlap up to 0.35 mm2 !";
  common::AddErrorMessage(longText);
  log_.figures.clear();
  drawing::DrawTextTableAt(100, 60, 1.5L, 44, 56);
  Real table = 0;
  for (const auto& f : log_.figures)
    if (f.kind == "LINE") table = std::max({table, f.values[0], f.values[2]});
  const Real h = drawing::CadDrawing.CadTextHeight;
  EXPECT_LE(100 + drawing::CadDrawing.CadTextWidthFactor * h * static_cast<Real>(longText.size() + 1), table + 1e-9);
  EXPECT_LT(drawing::CadDrawing.CadTextWidthFactor, usualLetters);
}

}  // namespace
