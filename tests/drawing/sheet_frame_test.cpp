// The drawing frame with its title block, revision table and protection
// notice, and the text blocks of the quick sheets (heading, pitch-curve
// description, data table), drawn on a logging back end installed as the
// screen.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>

#include "calc/calc_records.h"
#include "calc/pitch_curve.h"
#include "calc/spur_gear_data.h"
#include "common/date_time.h"
#include "common/equation_matrix.h"
#include "drawing/drawing_frame.h"
#include "drawing/sheet_texts.h"
#include "drawing_test_support.h"

namespace {

using drawingtest::Figure;
using drawingtest::LoggingBackEnd;

class SheetFrame : public drawingtest::DrawingTest {
 protected:
  SheetFrame() : DrawingTest("sheet_frame"), scopedBackEnd_(drawing::CadDeviceScreen, log_) {}
  void SetUp() override {
    DrawingTest::SetUp();
    common::ChangeRecords = {};
    common::TitleBlock = {};
    calc::SetSpurGearDefaults();
    calc::SetNoncircularDefaults();
  }
  void DrawFrame(int sheet, const drawing::TSheetTitle& title = {}) {
    drawing::CadDevice = drawing::CadDeviceScreen;
    log_.figures.clear();
    drawing::DrawDrawingFrame(sheet, title);
  }
  const Figure* Text(const std::string& text) const {
    for (const Figure& f : log_.figures)
      if (f.kind == "TEXT" && f.text == text) return &f;
    return nullptr;
  }
  int Count(const std::string& kind) const {
    return static_cast<int>(std::count_if(log_.figures.begin(), log_.figures.end(),
                                          [&](const Figure& f) { return f.kind == kind; }));
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const Figure& f : log_.figures)
      if (f.kind == "TEXT") out.push_back(f.text);
    return out;
  }
  void AddChange(const std::string& modification, const std::string& date, const std::string& name,
                 const std::string& description) {
    auto& records = common::ChangeRecords;
    ++records.Count;
    records.Records[records.Count] = {modification, date, name, description};
  }

  LoggingBackEnd log_;
  drawing::ScopedCadBackEnd scopedBackEnd_;
};

void ExpectAt(const Figure* f, Real x, Real y, Real height) {
  ASSERT_NE(f, nullptr);
  EXPECT_NEAR(static_cast<double>(f->values[0]), static_cast<double>(x), 1e-6);
  EXPECT_NEAR(static_cast<double>(f->values[1]), static_cast<double>(y), 1e-6);
  EXPECT_NEAR(static_cast<double>(f->values[2]), static_cast<double>(height), 1e-6);
}

TEST_F(SheetFrame, StyleTwoLabelsAndValuesSitInTheTitleBlockAtTheLowerRightOfTheA3Border) {
  common::TitleBlock.Texts[common::TitleFirstName] = "Maier";
  common::TitleBlock.Texts[common::TitleFirstDate] = "2026-11-30";
  common::TitleBlock.Texts[common::TitleDocumentType] = "Assembly";
  AddChange("bore", "2026-12-01", "MK", "bore 20 -> 22");
  AddChange("teeth", "2026-12-02", "MK", "z 30 -> 32");
  DrawFrame(drawing::SheetA3, {"12-001/12-002", "Drive/Cam", "upper/lower"});
  // The ISO border of A3 ends at (415, 5): the block origin is (235, 5).
  const Real x0 = 235, y0 = 5;
  ExpectAt(Text("Responsible dept."), x0 + 1, y0 + 33.5L, 1.6L);
  ExpectAt(Text("Created by"), x0 + 75, y0 + 33.5L, 1.6L);
  ExpectAt(Text("Title, Supplementary title"), x0 + 75, y0 + 15.5L, 1.6L);
  ExpectAt(Text("Page"), x0 + 171, y0 + 6.5L, 1.6L);
  ExpectAt(Text("Maier  2026-11-30"), x0 + 76, y0 + 29, 2.5L);
  ExpectAt(Text("Assembly"), x0 + 76, y0 + 20, 2.5L);
  ExpectAt(Text("12-001/12-002"), x0 + 130, y0 + 12, 3.5L);
  ExpectAt(Text("Drive/Cam"), x0 + 76, y0 + 8.5L, 3.5L);
  ExpectAt(Text("upper/lower"), x0 + 76, y0 + 2.5L, 2.5L);
  // Two change records: revision C; today's date of issue; language.
  ExpectAt(Text("C"), x0 + 130, y0 + 2, 2.5L);
  ExpectAt(Text(common::TodayIsoText()), x0 + 138, y0 + 2, 2.5L);
  ExpectAt(Text("en"), x0 + 162, y0 + 2, 2.5L);
  // Empty title texts leave their fields empty.
  EXPECT_EQ(Text(""), nullptr);
  // The trimmed sheet and the border.
  const std::string all = drawingtest::Describe(log_.figures);
  EXPECT_NE(all.find("LINE pen 0 415.000 5.000 15.000 5.000"), std::string::npos) << all.substr(0, 400);
  EXPECT_NE(all.find("LINE pen 17 420.000 0.000 0.000 0.000"), std::string::npos);
}

TEST_F(SheetFrame, RevisionTableOnlyWithItsOptionAndIndexedByTheStyle) {
  AddChange("bore", "2026-12-01", "MK", "bore 20\r\n-> 22");
  AddChange("teeth", "2026-12-02", "AB", "z 30 -> 32");
  DrawFrame(drawing::SheetA4);
  EXPECT_EQ(Text("Index"), nullptr) << "changes block switched off";
  common::CadSettings.CadFrameOptions[common::FrameOptChanges] = 1;
  DrawFrame(drawing::SheetA4);
  // A4 ISO border (17.9, 5)-(205.1, 292): block origin (25.1, 5); rows of
  // 3.5 above the 36 high block, the header first.
  ExpectAt(Text("Index"), 26.1L, 5 + 36 + 1, 1.6L);
  ExpectAt(Text("Description"), 25.1L + 85, 5 + 36 + 1, 1.6L);
  ExpectAt(Text("a"), 26.1L, 5 + 36 + 3.5L + 0.8L, 2);
  ExpectAt(Text("b"), 26.1L, 5 + 36 + 7 + 0.8L, 2);
  EXPECT_NE(Text("bore 20  -> 22"), nullptr) << "line breaks become blanks";
  EXPECT_NE(Text("AB"), nullptr);

  common::RevisionIndexStyle = 3;
  DrawFrame(drawing::SheetA4);
  EXPECT_EQ(Text("a"), nullptr);
  EXPECT_NE(Text("teeth"), nullptr) << "rows without an index";
}

TEST_F(SheetFrame, RevisionIndexTexts) {
  const char* expected[4][3] = {{"a", "b", "c"}, {"1", "2", "3"}, {"A", "B", "C"}, {"", "", ""}};
  for (int style = 0; style < 4; ++style) {
    common::RevisionIndexStyle = static_cast<std::uint16_t>(style);
    for (int n = 1; n <= 3; ++n) EXPECT_EQ(drawing::RevisionIndexText(n), expected[style][n - 1]) << style;
  }
  common::RevisionIndexStyle = 1;
  EXPECT_EQ(drawing::RevisionIndexText(25), "25");
  EXPECT_EQ(drawing::RevisionIndexText(0), "");
}

TEST_F(SheetFrame, ProtectionNoticeOnA3AndA4Only) {
  const std::string first = "Copying of this document and giving it to other and the use";
  for (int sheet = 1; sheet <= 4; ++sheet) {
    DrawFrame(sheet);
    const Figure* f = Text(first);
    if (sheet <= 2) {
      EXPECT_EQ(f, nullptr) << sheet;
      continue;
    }
    ASSERT_NE(f, nullptr) << sheet;
    EXPECT_NEAR(static_cast<double>(f->values[3]), 90, 1e-9);
    const Figure* last = Text("of a patent or the registration of a utility model or design.");
    ASSERT_NE(last, nullptr);
    // 2.7 apart in the wide margin, closer in the narrow one of the border
    // variant, so that the lines stay clear of the grid references beside
    // them (their labels stand within 2 mm outside the border there).
    const bool narrow = drawing::IsoBorderVariant(sheet);
    EXPECT_NEAR(static_cast<double>(last->values[0] - f->values[0]), 4 * (narrow ? 2.2 : 2.7), 1e-9);
    EXPECT_LT(static_cast<double>(last->values[0] + 0.5L * 1.5L), static_cast<double>(drawing::SheetBorder(sheet).x1 - 2));
  }
  common::CadSettings.CadFrameOptions[common::FrameOptProtectionNotice] = 1;
  DrawFrame(drawing::SheetA3);
  EXPECT_EQ(Text(first), nullptr);
}

// The footer texts stand below the grid references of the bottom edge, in
// the wide margin and in the narrow one of the border variant alike.
TEST_F(SheetFrame, FooterStaysBelowTheGridReferences) {
  for (int variant = 0; variant <= 1; ++variant) {
    common::FrameVariant = variant;
    common::FrameStyle = 2;
    DrawFrame(drawing::SheetA3);
    const drawing::TSheetRect border = drawing::SheetBorder(drawing::SheetA3);
    EXPECT_EQ(drawing::IsoBorderVariant(drawing::SheetA3), variant == 1);
    const Figure* date = nullptr;
    Real lowestLabel = 1000, lowestTick = 1000;
    for (const Figure& f : log_.figures) {
      if (f.kind == "TEXT" && f.values[0] > 390 && f.values[1] < border.y1 && f.text.size() > 10) date = &f;
      if (f.kind == "TEXT" && f.text.size() == 1 && f.text[0] >= '1' && f.text[0] <= '9' && f.values[1] < border.y1)
        lowestLabel = std::min(lowestLabel, f.values[1]);
      if (f.kind == "LINE" && f.values[0] == f.values[2] && f.values[1] == border.y1 && f.values[3] < border.y1)
        lowestTick = std::min(lowestTick, f.values[3]);
    }
    ASSERT_NE(date, nullptr) << variant;
    ASSERT_LT(lowestLabel, border.y1) << variant;
    const Real top = date->values[1] + date->values[2];  // base line + capital height
    EXPECT_LT(static_cast<double>(top), static_cast<double>(lowestLabel)) << variant;
    EXPECT_LT(static_cast<double>(top), static_cast<double>(lowestTick)) << variant;
    EXPECT_GE(static_cast<double>(date->values[1] - 0.3L * date->values[2]), 0) << variant;
  }
}

TEST_F(SheetFrame, PartFilesAreFoundInAnyCaseOnTheScreenAndNeverDeleted) {
  // Without part files: the grid and the labels only.
  DrawFrame(drawing::SheetA3);
  EXPECT_EQ(Count("INSERT"), 0);
  const int linesWithout = Count("LINE");

  const std::string logo = scratch_.Path("$LOGO_1.DX$");
  {
    std::ofstream out(logo);
    out << "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n10\n21\n5\n0\nENDSEC\n0\nEOF\n";
  }
  DrawFrame(drawing::SheetA3);
  EXPECT_EQ(Count("LINE"), linesWithout + 1) << "the logo's line replayed";
  // Placed at (1, 1) of the block at (235, 5).
  const std::string all = drawingtest::Describe(log_.figures);
  EXPECT_NE(all.find("LINE pen 0 236.000 6.000 246.000 11.000"), std::string::npos) << all;
  drawing::DeleteRecordedBlockFiles();
  EXPECT_TRUE(std::filesystem::exists(logo));

  // The logo option set: no logo.
  common::CadSettings.CadFrameOptions[common::FrameOptLogo] = 1;
  DrawFrame(drawing::SheetA3);
  EXPECT_EQ(Count("LINE"), linesWithout);
}

TEST_F(SheetFrame, BorderVariantAndSheetSizes) {
  EXPECT_TRUE(drawing::IsoBorderVariant(drawing::SheetA3));
  const drawing::TSheetRect a1 = drawing::SheetBorder(drawing::SheetA1);
  EXPECT_EQ(a1.x2, 831);
  EXPECT_EQ(a1.y2, 574);
  common::FrameStyle = 0;
  EXPECT_FALSE(drawing::IsoBorderVariant(drawing::SheetA3));
  EXPECT_EQ(drawing::SheetBorder(drawing::SheetA3).x1, 20);
  EXPECT_EQ(drawing::TitleBlockHeight(), 38.25L);
  // The older block writes the change rows itself.
  AddChange("bore", "01.12.26", "MK", "");
  DrawFrame(drawing::SheetA3);
  // Border (20, 10)-(410, 287): block origin (222.8, 10).
  ExpectAt(Text("Cond."), 223.8L, 11, 1.6L);
  ExpectAt(Text("a"), 223.8L, 10 + 4.25L + 1, 2.5L);
  EXPECT_NE(Text("Replacement for "), nullptr);
}

TEST_F(SheetFrame, DataTableEndsAtNominalRadiusWhenTheSweepIsSkipped) {
  calc::SkipPositionSweep = 1;
  log_.figures.clear();
  drawing::DrawGearDataTable(10, 100, 2);
  std::vector<std::string> texts = Texts();
  ASSERT_FALSE(texts.empty());
  auto has = [&](const std::string& t) { return std::find(texts.begin(), texts.end(), " " + t) != texts.end(); };
  EXPECT_TRUE(has("r nom"));
  EXPECT_FALSE(has("P"));
  EXPECT_FALSE(has("SHmin"));
  // ModuleMode 1: the extremes of the module the positions are rated with,
  // and the module the teeth are drawn with.
  EXPECT_TRUE(has("m min"));
  EXPECT_TRUE(has("m max"));
  EXPECT_TRUE(has("m"));
  EXPECT_TRUE(has("module of the teeth"));

  calc::SkipPositionSweep = 0;
  calc::NcPair.ModuleMode = 2;
  calc::SpurGearData.n[1] = 1000;  // a pair under load has its safeties
  calc::SpurGearData.P = 10;
  log_.figures.clear();
  drawing::DrawGearDataTable(10, 100, 2);
  texts = Texts();
  EXPECT_TRUE(has("m"));
  EXPECT_FALSE(has("m min"));
  EXPECT_FALSE(has("module of the teeth"));
  EXPECT_TRUE(has("phi1 SH"));
  EXPECT_TRUE(has("  f (phi)"));

  // Every text of a row ends half a letter or more before the next cell's
  // text starts, and the last one so before the table's right border (44
  // columns of 0.9 h from x 10): the longest labels, "f (phi)" and "1/min"
  // included. A value for the pair stands in gear 1's column and its unit
  // in the unit column, as every unit does.
  const Real width = drawing::CadDrawing.CadTextHeight * drawing::CadDrawing.CadTextWidthFactor;
  const Real right = 10 + 44 * 0.9L * 2;
  const Real unitColumn = right - 4.5L * 0.9L * 2;
  Real rightmost = 0;
  std::map<long, std::vector<const Figure*>> rows;
  for (const Figure& f : log_.figures) {
    if (f.kind == "TEXT") rows[std::lround(f.values[1] * 100)].push_back(&f);
    if (f.kind == "LINE") rightmost = std::max({rightmost, f.values[0], f.values[2]});
  }
  EXPECT_NEAR(static_cast<double>(rightmost), static_cast<double>(right), 1e-9);
  ASSERT_EQ(rows.size(), 18u);
  int units = 0;
  for (auto& [y, row] : rows) {
    std::sort(row.begin(), row.end(), [](const Figure* a, const Figure* b) { return a->values[0] < b->values[0]; });
    for (std::size_t i = 0; i < row.size(); ++i) {
      const Real end = row[i]->values[0] + width * static_cast<Real>(row[i]->text.size());
      const Real limit = i + 1 < row.size() ? row[i + 1]->values[0] : right;
      EXPECT_LE(end + width / 2, limit + 1e-9) << "\"" << row[i]->text << "\" runs up to the next cell";
      for (const char* unit : {" mm", " kW", " 1/min"})
        if (row[i]->text == unit) {
          ++units;
          EXPECT_NEAR(static_cast<double>(row[i]->values[0]), static_cast<double>(unitColumn), 1e-9)
              << "a unit beside row " << row[0]->text;
        }
    }
  }
  EXPECT_EQ(units, 9);  // m, a, b, U, three radii, P and n

  // At quick sheet 1's place the table ends inside the sheet of 160 mm.
  log_.figures.clear();
  drawing::DrawGearDataTable(80, 119, 2);
  for (const Figure& f : log_.figures)
    if (f.kind == "LINE") {
      EXPECT_LE(static_cast<double>(std::max(f.values[0], f.values[2])), 160.0);
    }
}

// Each gear's value stands in its own column: gear 2's pitch curve spans k
// of gear 1's turns, so its extent is k U1 beside U1; and the sine curve's
// formula names its waves, sin (N phi).
TEST_F(SheetFrame, RowsStateEachGearsOwnValues) {
  calc::SkipPositionSweep = 1;
  calc::NcPair.U1 = 300;
  calc::NcPair.k = 3;
  log_.figures.clear();
  drawing::DrawGearDataTable(10, 100, 2);
  const Figure* symbol = Text(" U");
  ASSERT_NE(symbol, nullptr);
  std::vector<const Figure*> row;
  for (const Figure& f : log_.figures)
    if (f.kind == "TEXT" && std::fabs(f.values[1] - symbol->values[1]) < 1e-9L) row.push_back(&f);
  std::sort(row.begin(), row.end(), [](const Figure* a, const Figure* b) { return a->values[0] < b->values[0]; });
  std::vector<std::string> cells;
  for (const Figure* f : row) cells.push_back(f->text);
  ASSERT_EQ(cells.size(), 5u);
  EXPECT_NE(cells[2].find("300.0"), std::string::npos) << cells[2];
  EXPECT_NE(cells[3].find("900.0"), std::string::npos) << cells[3];
  calc::NcPair.k = 1;
  calc::SkipPositionSweep = 0;

  calc::CurveType = calc::CurveSine;
  for (const auto& [waves, argument] : {std::pair{1, "* sin (phi)"}, std::pair{2, "* sin (2 phi)"}}) {
    calc::SineCurve = {50, 5, waves};
    const std::vector<std::string> lines = drawing::PitchCurveDescriptionLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_TRUE(lines[1].ends_with(argument)) << lines[1];
  }
  calc::SineCurve = calc::TSineCurve{};
  calc::CurveType = calc::CurveEllipse;
}

// The polygon's corners lie where the curve puts them, Di / cos(180 deg / z)
// from the incircle (115.47 for the start hexagon of Di 100), whatever width
// across corners was entered.
TEST_F(SheetFrame, PolygonShowsTheCornerDiameterOfTheCurve) {
  calc::CurveType = calc::CurvePolygon;
  calc::PolygonCurve = calc::TPolygonCurve{};
  ASSERT_EQ(calc::PolygonCurve.De, 120);
  const std::vector<std::string> lines = drawing::PitchCurveDescriptionLines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[3], "width across corners (circumcircle) e = 115.470 mm");
  EXPECT_NEAR(calc::PolygonCornerDiameter(), 2 * calc::PitchRadius(0), 1e-12);  // a corner at phi = 0
  calc::PolygonCurve.Corners = 4;
  EXPECT_NEAR(calc::PolygonCornerDiameter(), 100 * std::sqrt(2.0L), 1e-12);
}

TEST_F(SheetFrame, PointListsAndPolynomialAreCutOff) {
  calc::CurveType = calc::CurvePointFit;
  calc::PointCount = 12;
  for (int i = 1; i <= 12; ++i) calc::FitPoints[i] = {i * 0.5L, static_cast<Real>(50 + i)};
  std::vector<std::string> lines = drawing::PitchCurveDescriptionLines();
  EXPECT_EQ(lines.size(), 13u) << "heading and 12 points, no polynomial";
  EXPECT_EQ(lines.front(), "pitch curve gear 1 :  coordinates -> polynomial function");
  EXPECT_EQ(lines[1].rfind("phi 1 = 0.5", 0), 0u) << lines[1];

  calc::PointCount = 5;
  for (int j = 1; j <= 5; ++j) common::EquationMatrix.rhs[j] = j;
  lines = drawing::PitchCurveDescriptionLines();
  ASSERT_EQ(lines.size(), 11u) << "heading, 5 points, 5 polynomial terms";
  EXPECT_EQ(lines[6].rfind("r(phi) = ", 0), 0u);
  EXPECT_NE(lines[10].find(" phi^4"), std::string::npos);

  calc::CurveType = calc::CurveEllipse;
  lines = drawing::PitchCurveDescriptionLines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1], "half length a = 60.000 mm");

  common::FatalFlag = 1;
  log_.figures.clear();
  drawing::DrawPitchCurveDescription(0, 100, 2);
  EXPECT_TRUE(log_.figures.empty());
  common::FatalFlag = 0;
}

TEST_F(SheetFrame, HeadingWritesBothGearsInTheirColours) {
  auto& g = calc::SpurGearData;
  g.DrawingName[1] = "Drive";
  g.DrawingNumber[1] = "12-001";
  g.DrawingName2[1] = "upper";
  g.DrawingName[2] = "Cam";
  g.DrawingNumber[2] = "12-002";
  g.DrawingName2[2] = "lower";
  common::SheetTexts[1] = "";
  common::SheetTexts[2] = "sheet text";
  log_.figures.clear();
  drawing::DrawSheetHeading(2, 24, 280);
  const Figure* one = Text("Drive  12-001  upper");
  const Figure* two = Text("Cam  12-002  lower");
  const Figure* info = Text("sheet text");
  ASSERT_TRUE(one && two && info);
  EXPECT_EQ(one->pen, 19);
  EXPECT_EQ(two->pen, 21);
  EXPECT_EQ(info->pen, 18);
  ExpectAt(one, 24, 280, 2);
  ExpectAt(two, 24, 280 - 3.2L, 2);
  // The empty first sheet text keeps its line.
  ExpectAt(info, 24, 280 - 3 * 3.2L, 2);
}

}  // namespace
