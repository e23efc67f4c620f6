// The grid forms of the point-list and polynomial curves driven through
// their model: points chosen in the curve-type list, entered, OK, the
// records, the fitted polynomial and the recalculated pair; the refused
// singular fit; the angle and unit switches; the polyline's check box, save
// and DXF import; the polynomial's coefficients; and the clipboard
// exchange of grid cells.
#include "app/inputs/point_list_input.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "app/data_file.h"
#include "app/entry_points.h"
#include "app/inputs/pitch_curve_input.h"
#include "app/start_up.h"
#include "calc/calc_records.h"
#include "common/equation_matrix.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/numeric_routines.h"
#include "platform/clipboard.h"
#include "platform/scripted_dialogs.h"
#include "support/file_test_support.h"

namespace fs = std::filesystem;
using app::PointForm;
using platform::AskedDialog;
using platform::ScriptedAnswer;

namespace {

class ScriptedForms : public app::PointListViews {
 public:
  std::function<void(PointForm&)> script;
  void ShowPointForm(PointForm& form) override {
    if (script) script(form);
  }
};

double D(Real x) { return static_cast<double>(x); }

void EnterPoints(PointForm& f, std::initializer_list<std::pair<const char*, const char*>> points) {
  app::SetPointCount(f, static_cast<int>(points.size()));
  int row = 1;
  for (const auto& [phi, r] : points) {
    f.grid.Cell(1, row).text = phi;
    f.grid.Cell(2, row).text = r;
    ++row;
  }
}

class PointListInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "vob4";
    char* argv[] = {name, nullptr};
    app::StartUpProgram(1, argv);
    app::ResetEntryPoints();
    common::UnitSystem = common::UnitsMetric;
    common::EquationMatrix = {};
    common::AllocEquationWorkspace();
    app::SetPointListViews(&forms_);
  }
  void TearDown() override {
    app::SetPointListViews(nullptr);
    app::ResetEntryPoints();
    common::UnitSystem = common::UnitsMetric;
  }
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const AskedDialog& d : dialogs_.Asked())
      if (d.kind == AskedDialog::Kind::Message) texts.push_back(d.text);
    return texts;
  }

  ScriptedForms forms_;
  platform::ScriptedDialogs dialogs_;
  platform::ScopedDialogs scoped_{dialogs_};
  platform::MemoryClipboard clipboard_;
  platform::ScopedClipboard scopedClipboard_{clipboard_};
};

}  // namespace

TEST_F(PointListInputTest, PointsGiveThePolynomialThroughThemAndThePairIsRecalculated) {
  calc::CurveType = calc::CurveEllipse;
  dialogs_.Then(ScriptedAnswer::Choose(calc::CurvePointFit - 1));
  PointForm opened;
  forms_.script = [&](PointForm& f) {
    opened = f;
    EnterPoints(f, {{"180", "70"}, {"0", "50"}, {"360", "50"}});
    app::PointFormOk(f);
  };
  app::SelectCurveType();
  EXPECT_EQ(opened.name, "Form_vob4poin");
  EXPECT_EQ(opened.maxCount, 50);
  EXPECT_EQ(opened.grid.Cell(1, 0).text, "phi (0..360\u00b0)");
  EXPECT_EQ(opened.grid.Cell(2, 0).text, "r [mm]");
  EXPECT_EQ(opened.grid.Cell(0, 50).text, "50");
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(calc::CurveType, calc::CurvePointFit);
  ASSERT_EQ(calc::PointCount, 3);
  EXPECT_NEAR(D(calc::FitPoints[1].Phi), D(common::Pi), 1e-15);
  EXPECT_EQ(calc::FitPoints[1].R, 70);
  // r = 50 + 40/pi phi - 20/pi^2 phi^2, whatever the order of the points.
  const double pi = D(common::Pi);
  EXPECT_NEAR(D(common::EquationMatrix.rhs[1]), 50, 1e-9);
  EXPECT_NEAR(D(common::EquationMatrix.rhs[2]), 40 / pi, 1e-9);
  EXPECT_NEAR(D(common::EquationMatrix.rhs[3]), -20 / (pi * pi), 1e-9);
  EXPECT_NEAR(D(calc::RadiusExtremes.r1max), 70, 1e-6);
  EXPECT_NEAR(D(calc::RadiusExtremes.r1min), 50, 1e-6);
}

TEST_F(PointListInputTest, TwoPointsAndASingularSet) {
  PointForm f = app::CreatePointForm(calc::CurvePointFit);
  EnterPoints(f, {{"0", "50"}, {"180", "70"}});
  app::PointFormOk(f);
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_NEAR(D(common::EquationMatrix.rhs[1]), 50, 1e-12);
  EXPECT_NEAR(D(common::EquationMatrix.rhs[2]), 20 / D(common::Pi), 1e-12);
  // Two points at one angle: no polynomial through them; the form stays.
  EnterPoints(f, {{"90", "50"}, {"90", "70"}});
  app::PointFormOk(f);
  EXPECT_EQ(common::AbortFlag, 1);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], "No polynomial through these points: two points have the same angle !");
}

TEST_F(PointListInputTest, AngleSwitchShowsRadiansAndKeepsTheValue) {
  calc::PointCount = 2;
  calc::FitPoints[1] = {0, 50};
  calc::FitPoints[2] = {3.14159L, 70.123456L};
  PointForm f = app::CreatePointForm(calc::CurvePointFit);
  EXPECT_EQ(f.grid.Cell(1, 2).text, "180");
  app::PointFormSwitchAngles(f);
  EXPECT_FALSE(f.degrees);
  EXPECT_EQ(f.grid.Cell(1, 0).text, "phi (0..2pi)");
  EXPECT_EQ(f.grid.Cell(1, 2).text, "3.14159");
  app::PointFormSwitchAngles(f);
  EXPECT_EQ(f.grid.Cell(1, 2).text, "180");
  // Neither the switches nor OK round the stored points.
  app::PointFormSwitchUnits(f);
  EXPECT_EQ(f.grid.Cell(2, 0).text, "r [in]");
  EXPECT_EQ(f.grid.Cell(2, 2).text, "2.7608");
  app::PointFormSwitchUnits(f);
  app::PointFormOk(f);
  EXPECT_EQ(calc::FitPoints[2].Phi, 3.14159L);
  EXPECT_EQ(calc::FitPoints[2].R, 70.123456L);
  // An entered angle is read in the unit shown.
  app::PointFormSwitchAngles(f);
  f.grid.Cell(1, 2).text = "1.5";
  app::PointFormOk(f);
  EXPECT_EQ(calc::FitPoints[2].Phi, 1.5L);
  EXPECT_NEAR(D(app::GridTextToAngle("90", true)), D(common::Pi / 2), 1e-15);
}

TEST_F(PointListInputTest, PolylineCountCheckBoxAndSaveReadBack) {
  testsupport::ScratchDirectory dir("point_list_input");
  common::DataDirectory = dir.Dir().string();
  calc::PolylineCount = 0;
  calc::LinearInterpolation = 0;
  PointForm f = app::CreatePointForm(calc::CurvePolyline);
  EXPECT_EQ(f.name, "Form_vob4poip");
  EXPECT_EQ(f.interpolationCaption, "interpolate intermediate values");
  EXPECT_EQ(f.grid.Cell(0, 1000).text, "1000");
  // The spin edit holds its limits; the row count follows it.
  EXPECT_EQ(f.count, 2);
  EXPECT_EQ(f.grid.rowCount, 3);
  app::SetPointCount(f, 5000);
  EXPECT_EQ(f.count, 1000);
  EXPECT_EQ(f.grid.rowCount, 1001);
  EnterPoints(f, {{"0", "50"}, {"120", "60"}, {"240", "55"}});
  EXPECT_EQ(f.grid.rowCount, 4);
  f.linearInterpolation = true;
  app::PointFormSwitchUnits(f);  // reads the check box too
  EXPECT_EQ(calc::LinearInterpolation, 1);
  app::PointFormSwitchUnits(f);
  f.linearInterpolation = false;
  app::PointFormSwitchAngles(f);
  EXPECT_EQ(calc::LinearInterpolation, 0);
  app::PointFormSwitchAngles(f);
  // Save: read, then the design into the file the user names.
  f.linearInterpolation = true;
  dialogs_.Then(ScriptedAnswer::File(dir.Path("poly.vb4")));
  app::PointFormSave(f);
  EXPECT_EQ(common::AbortFlag, 0);
  ASSERT_TRUE(fs::exists(dir.Path("poly.vb4")));
  calc::PolylineCount = 0;
  calc::LinearInterpolation = 0;
  app::ReadDataFile(dir.Path("poly.vb4"));
  ASSERT_EQ(calc::PolylineCount, 3);
  EXPECT_EQ(calc::LinearInterpolation, 1);
  EXPECT_NEAR(D(calc::PolylinePoints[3].Phi), D(common::DegToRad(240)), 1e-7);  // 7 decimals in the file
  EXPECT_EQ(calc::PolylinePoints[3].R, 55);
}

TEST_F(PointListInputTest, PolylineImportSavesTheDesignFirstAndShowsThePoints) {
  testsupport::ScratchDirectory dir("point_list_import");
  common::CurrentFileName = dir.Path("before.vb4");
  int imports = 0;
  app::Entry().ImportPitchCurveDxf = [&] {
    ++imports;
    calc::PolylineCount = 4;
    for (int i = 1; i <= 4; ++i) calc::PolylinePoints[i] = {common::DegToRad(90.0L * (i - 1)), 40.0L + i};
    calc::LinearInterpolation = 1;
  };
  PointForm f = app::CreatePointForm(calc::CurvePolyline);
  app::PolylineImportDxf(f);
  EXPECT_EQ(imports, 1);
  EXPECT_TRUE(fs::exists(dir.Path("before.vb4")));
  EXPECT_EQ(f.count, 4);
  EXPECT_EQ(f.grid.Cell(1, 4).text, "270");
  EXPECT_EQ(f.grid.Cell(2, 4).text, "44");
  EXPECT_TRUE(f.linearInterpolation);
  // A design that cannot be saved stops the import.
  common::CurrentFileName = dir.Path("missing/dir/x.vb4");
  app::PolylineImportDxf(f);
  EXPECT_EQ(imports, 1);
  EXPECT_EQ(common::AbortFlag, 0);
}

TEST_F(PointListInputTest, PolynomialCoefficients) {
  calc::CurveType = calc::CurveEllipse;
  calc::PointCount = 1;  // below the spin edit's minimum
  dialogs_.Then(ScriptedAnswer::Choose(calc::CurvePolynomial - 1));
  PointForm opened;
  forms_.script = [&](PointForm& f) {
    opened = f;
    app::SetPointCount(f, 3);
    f.grid.Cell(1, 1).text = "60";
    f.grid.Cell(1, 2).text = "0";
    f.grid.Cell(1, 3).text = "0,5";
    app::PointFormOk(f);
  };
  app::SelectCurveType();
  EXPECT_EQ(opened.name, "Form_polynom");
  EXPECT_EQ(opened.count, 2);
  EXPECT_EQ(opened.grid.columnCount, 2);
  EXPECT_EQ(opened.grid.Cell(1, 0).text, "  a");
  EXPECT_EQ(opened.grid.Cell(0, 1).text, "phi^0");
  EXPECT_EQ(opened.grid.Cell(0, 50).text, "phi^49");
  EXPECT_EQ(opened.grid.Cell(1, 1).text, "0.00000000000000");
  EXPECT_EQ(opened.formulaLine, "r(phi) = a0 + a1*phi + a2 *phi\u00b2 +a3*phi^3 + .. +an*phi^n");
  EXPECT_EQ(calc::CurveType, calc::CurvePolynomial);
  ASSERT_EQ(calc::PointCount, 3);
  EXPECT_EQ(common::EquationMatrix.count, 3);
  EXPECT_EQ(common::EquationMatrix.rhs[3], 0.5L);
  // r = 60 + phi^2 / 2 over one turn.
  EXPECT_NEAR(D(calc::RadiusExtremes.r1min), 60, 1e-6);
  // Shown again with 14 decimals.
  PointForm again = app::CreatePointForm(calc::CurvePolynomial);
  EXPECT_EQ(again.grid.Cell(1, 3).text, "0.50000000000000");
}

TEST_F(PointListInputTest, ClipboardExchangeOfGridCells) {
  PointForm f = app::CreatePointForm(calc::CurvePointFit);
  app::SetPointCount(f, 4);
  // Two lines ended by CR LF fill columns 1 and 2 of rows 1 and 2.
  clipboard_.SetText("10\t50\r\n20\t60\r\n");
  f.grid.Select(1, 1, 1, 1);
  app::PointFormPaste(f);
  EXPECT_EQ(f.grid.Cell(1, 1).text, "10");
  EXPECT_EQ(f.grid.Cell(2, 1).text, "50");
  EXPECT_EQ(f.grid.Cell(1, 2).text, "20");
  EXPECT_EQ(f.grid.Cell(2, 2).text, "60");
  EXPECT_EQ(f.count, 4);  // pasting never changes the count
  // Without the final line break only the first line is taken; cells past
  // the last column or row are dropped.
  clipboard_.SetText("30\t70\t99\r\n40\t80");
  f.grid.Select(1, 3, 1, 3);
  app::PointFormPaste(f);
  EXPECT_EQ(f.grid.Cell(1, 3).text, "30");
  EXPECT_EQ(f.grid.Cell(2, 3).text, "70");
  EXPECT_EQ(f.grid.Cell(1, 4).text, "");
  clipboard_.SetText("1\r\n2\r\n3\r\n");
  f.grid.Select(2, 4, 2, 4);
  app::PointFormPaste(f);
  EXPECT_EQ(f.grid.Cell(2, 4).text, "1");
  EXPECT_EQ(f.grid.Cell(2, 5).text, "");  // row 5 is not in the grid of 4 points
  // Copy: the selected rectangle, TAB between cells, CR LF after each row.
  f.grid.Select(1, 2, 2, 3);
  app::PointFormCopy(f);
  EXPECT_EQ(clipboard_.Text(), "20\t60\r\n30\t70\r\n");
  f.grid.Select(1, 1, 0, 0);
  app::PointFormCopy(f);
  EXPECT_EQ(clipboard_.Text(), "");
  // Copied cells paste back elsewhere, and OK reads them.
  f.grid.Select(1, 1, 2, 1);
  app::PointFormCopy(f);
  f.grid.Select(1, 4, 1, 4);
  app::PointFormPaste(f);
  app::PointFormOk(f);
  EXPECT_EQ(calc::FitPoints[4].R, 50);
  EXPECT_NEAR(D(calc::FitPoints[4].Phi), D(common::DegToRad(10)), 1e-15);
}

// A polyline beyond its table is refused where it would come in: a paste
// of more points than the table holds from the selected row on says so and
// changes nothing (the rows past the table would be dropped without a
// word), and the data file names the limit too (data_file_test).
TEST_F(PointListInputTest, PolylineBeyondItsTableIsRefused) {
  PointForm f = app::CreatePointForm(calc::CurvePolyline);
  app::SetPointCount(f, 1000);
  std::string text;
  for (int i = 0; i < 1001; ++i) text += std::to_string(i * 0.3) + "\t50\r\n";
  clipboard_.SetText(text);
  f.grid.Select(1, 1, 1, 1);
  const std::string before = f.grid.Cell(1, 1).text;
  app::PointFormPaste(f);
  EXPECT_EQ(f.grid.Cell(1, 1).text, before);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], "The table holds at most 1000 points: 1001 lines from row 1 do not fit !");
  // The 1000 points that fit are taken.
  text.resize(text.size() - std::string("300.000000\t50\r\n").size());
  clipboard_.SetText(text);
  app::PointFormPaste(f);
  EXPECT_EQ(f.grid.Cell(2, 1000).text, "50");
  EXPECT_EQ(Messages().size(), 1u);
  // From row 2 on, 1000 lines no longer fit.
  f.grid.Select(1, 2, 1, 2);
  app::PointFormPaste(f);
  EXPECT_EQ(Messages().back(), "The table holds at most 1000 points: 1000 lines from row 2 do not fit !");
}

// A cell that holds no number is refused, naming its column and row, and
// shows its old value; the points stay as they were.
TEST_F(PointListInputTest, CellThatIsNoNumberIsRefused) {
  calc::PolylineCount = 3;
  for (int i = 1; i <= 3; ++i) calc::PolylinePoints[i] = {(i - 1) * 1.0L, 50};
  PointForm f = app::CreatePointForm(calc::CurvePolyline);
  f.grid.Cell(2, 2).text = "fifty";
  app::PointFormOk(f);
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(f.grid.Cell(2, 2).text, "50");
  f.grid.Cell(1, 3).text = "1e999";
  app::PointFormSwitchAngles(f);
  EXPECT_TRUE(f.degrees) << "refused: the angles stay in degrees";
  EXPECT_EQ(calc::PolylinePoints[3].Phi, 2);
  ASSERT_EQ(Messages().size(), 2u);
  EXPECT_EQ(Messages()[0], "r [mm] (2): \"fifty\" is not a number !");
  EXPECT_EQ(Messages()[1], "phi (0..360\u00b0) (3): \"1e999\" is not a finite number !");
}
