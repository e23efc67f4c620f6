// The parameter forms of the analytic curve families driven through their
// field model: the family chosen in the curve-type list, values entered,
// OK, the records and the recalculated pair; the proposals, the polygon's
// dependent diameter, the unit switch, "Calc" followed by Cancel, and the
// cancelling default without windows.
#include "app/inputs/curve_forms.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "app/entry_points.h"
#include "app/inputs/pitch_curve_input.h"
#include "app/start_up.h"
#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/unit_labels.h"
#include "platform/scripted_dialogs.h"

using app::CurveForm;
using platform::ScriptedAnswer;

namespace {

// The user at the form: a script that edits the field model and ends with
// one of the buttons.
class ScriptedForms : public app::CurveFormViews {
 public:
  std::function<void(CurveForm&)> script;
  std::vector<CurveForm> opened;
  void ShowCurveForm(CurveForm& form) override {
    opened.push_back(form);
    if (script) script(form);
  }
};

// The index of a curve type in the curve-type list.
ScriptedAnswer ChooseType(int curveType) { return ScriptedAnswer::Choose(curveType - 1); }

double D(Real x) { return static_cast<double>(x); }

class CurveFormsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "vob4";
    char* argv[] = {name, nullptr};
    app::StartUpProgram(1, argv);
    app::ResetEntryPoints();
    app::Entry().RedrawCurrentView = [this] { ++redraws_; };
    common::UnitSystem = common::UnitsMetric;
    app::SetCurveFormViews(&forms_);
  }
  void TearDown() override {
    app::SetCurveFormViews(nullptr);
    app::ResetEntryPoints();
    common::UnitSystem = common::UnitsMetric;
  }

  ScriptedForms forms_;
  int redraws_ = 0;
  platform::ScriptedDialogs dialogs_;
  platform::ScopedDialogs scoped_{dialogs_};
};

}  // namespace

TEST_F(CurveFormsTest, EllipseEnteredWithItsProposalAndThePairRecalculated) {
  calc::CurveType = calc::CurveFormula;
  dialogs_.Then(ChooseType(calc::CurveEllipse));
  forms_.script = [](CurveForm& f) {
    f.Field("Edit_a").text = "80";
    app::ProposeCurveValue(f, "Edit_b");
    EXPECT_EQ(f.Field("Edit_b").text, "72");
    app::CurveFormOk(f);
  };
  app::SelectCurveType();
  ASSERT_EQ(forms_.opened.size(), 1u);
  const CurveForm& shown = forms_.opened[0];
  EXPECT_EQ(shown.name, "Form_vob4elip");
  EXPECT_EQ(shown.caption, common::ProgramTitle + " ellipse");
  EXPECT_EQ(shown.Field("Edit_a").label, "half length a");
  EXPECT_EQ(shown.Field("Edit_a").unit, "mm");
  EXPECT_EQ(shown.Field("Edit_a").text, "60");
  EXPECT_TRUE(shown.helpButton);
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(calc::CurveType, calc::CurveEllipse);
  EXPECT_EQ(calc::EllipseCurve.a, 80);
  EXPECT_EQ(calc::EllipseCurve.b, 72);
  // The pair was recalculated on the new ellipse.
  EXPECT_EQ(common::FatalFlag, 0);
  EXPECT_NEAR(D(calc::RadiusExtremes.r1max), 80, 1e-6);
  EXPECT_NEAR(D(calc::RadiusExtremes.r1min), 72, 1e-6);
}

TEST_F(CurveFormsTest, CancelKeepsTheRecordAndSkipsTheRecalculation) {
  calc::EllipseCurve = {60, 50};
  dialogs_.Then(ChooseType(calc::CurveEllipse));
  forms_.script = [](CurveForm& f) {
    f.Field("Edit_a").text = "90";
    app::CurveFormCancel();
  };
  app::SelectCurveType();
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(calc::EllipseCurve.a, 60);
  // Without windows the form cancels.
  app::SetCurveFormViews(nullptr);
  common::AbortFlag = 0;
  app::Entry().ShowCurveForm(calc::CurveEccentric);
  EXPECT_EQ(common::AbortFlag, 1);
  common::AbortFlag = 0;
  app::Entry().ShowCurveForm(calc::CurveFormula);  // no form of its own
  EXPECT_EQ(common::AbortFlag, 1);
}

TEST_F(CurveFormsTest, SineCountIsAtLeastOne) {
  CurveForm f = app::CreateCurveForm(calc::CurveSine);
  EXPECT_EQ(f.lines.at(0), "r = rw0 + A * sin (N * phi)");
  EXPECT_EQ(f.Field("Edit_N").unit, "");
  f.Field("Edit_rw0").text = "73";
  app::ProposeCurveValue(f, "Edit_A");
  EXPECT_EQ(f.Field("Edit_A").text, "7");
  for (const auto& [entered, stored] :
       std::vector<std::pair<std::string, int>>{{"0", 1}, {"text", 1}, {"-3", 1}, {"3.6", 4}, {"1e30", 2147483647},
                                                         {"2.5", 2}, {"3.5", 4}}) {  // halves to even
    f.Field("Edit_N").text = entered;
    app::CurveFormOk(f);
    EXPECT_EQ(calc::SineCurve.N, stored) << entered;
  }
  app::ProposeCurveValue(f, "Edit_N");
  EXPECT_EQ(f.Field("Edit_N").text, "1");
  EXPECT_EQ(calc::SineCurve.rw0, 73);
  EXPECT_EQ(calc::SineCurve.A, 7);
}

// Text that is no number in a curve form is refused, naming the field, and
// the field shows its old value; OK, "Calc" and the unit switch all refuse
// it, and the record stays as it was.
TEST_F(CurveFormsTest, TextThatIsNoNumberIsRefused) {
  calc::EllipseCurve = {60, 50};
  CurveForm f = app::CreateCurveForm(calc::CurveEllipse);
  f.Field("Edit_a").text = "sixty";
  EXPECT_FALSE(app::CurveFormOk(f));
  EXPECT_EQ(f.Field("Edit_a").text, "60");
  f.Field("Edit_b").text = "1e999";
  app::CurveFormCalc(f);
  EXPECT_EQ(f.Field("Edit_b").text, "50");
  EXPECT_EQ(redraws_, 0) << "nothing was calculated";
  f.Field("Edit_b").text = "nan";
  app::CurveFormSwitchUnits(f);
  EXPECT_EQ(common::UnitSystem, common::UnitsMetric);
  EXPECT_EQ(calc::EllipseCurve.a, 60);
  EXPECT_EQ(calc::EllipseCurve.b, 50);
  ASSERT_EQ(dialogs_.Asked().size(), 3u);
  EXPECT_EQ(dialogs_.Asked()[0].text, "half length a: \"sixty\" is not a number !");
  EXPECT_EQ(dialogs_.Asked()[1].text, "half length b: \"1e999\" is not a finite number !");
  EXPECT_EQ(dialogs_.Asked()[2].text, "half length b: \"nan\" is not a finite number !");
  // An empty field is 0, as ever; a number is taken.
  f.Field("Edit_b").text = "45";
  EXPECT_TRUE(app::CurveFormOk(f));
  EXPECT_EQ(calc::EllipseCurve.b, 45);
}

TEST_F(CurveFormsTest, SineLinearTurningAngle) {
  CurveForm f = app::CreateCurveForm(calc::CurveSineLinear);
  EXPECT_EQ(f.Field("Edit_philin").unit, "\u00b0");
  EXPECT_EQ(f.lines.at(0), "0\u00b0 .. phi lin: linear");
  EXPECT_FALSE(f.helpButton);
  f.Field("Edit_philin").text = "";
  app::CurveFormOk(f);
  EXPECT_EQ(calc::SineLinearCurve.PhiLin, 225);
  f.Field("Edit_philin").text = "200";
  app::CurveFormOk(f);
  EXPECT_EQ(calc::SineLinearCurve.PhiLin, 200);
  app::ProposeCurveValue(f, "Edit_philin");
  EXPECT_EQ(f.Field("Edit_philin").text, "225");
}

TEST_F(CurveFormsTest, PolygonDiameterFollowsTheEnteredOne) {
  // A stored circumcircle that does not fit the incircle is not shown: the
  // form opens with De following Di, and OK stores the fitting pair.
  calc::PolygonCurve = {6, 120, 100};
  CurveForm f = app::CreateCurveForm(calc::CurvePolygon);
  EXPECT_EQ(f.diameterMode, 0);
  EXPECT_TRUE(f.Field("Edit_Di").enabled);
  EXPECT_FALSE(f.Field("Edit_De").enabled);
  EXPECT_EQ(f.Field("Edit_De").text, common::LengthToText(100 / std::cos(common::Pi / 6)));
  EXPECT_EQ(f.Field("Edit_De").text, "115.5");
  app::CurveFormOk(f);
  EXPECT_EQ(calc::PolygonCurve.Di, 100);
  EXPECT_NEAR(D(calc::PolygonCurve.De), 100 / std::cos(M_PI / 6), 1e-12);
  app::TogglePolygonDiameter(f);
  EXPECT_EQ(f.Field("Edit_De").text, "115.5");
  // De entered: Di follows.
  f.diameterMode = 1;
  app::TogglePolygonDiameter(f);
  EXPECT_FALSE(f.Field("Edit_Di").enabled);
  EXPECT_TRUE(f.Field("Edit_De").enabled);
  f.Field("Edit_De").text = "120";
  app::TogglePolygonDiameter(f);
  EXPECT_EQ(f.Field("Edit_Di").text, "103.9");
  // No edge count: nothing is computed.
  f.Field("Edit_z").text = "0";
  f.Field("Edit_De").text = "200";
  app::TogglePolygonDiameter(f);
  EXPECT_EQ(f.Field("Edit_Di").text, "103.9");
  f.Field("Edit_z").text = "8";
  app::CurveFormOk(f);
  EXPECT_EQ(calc::PolygonCurve.Corners, 8);
  EXPECT_EQ(calc::PolygonCurve.De, 200);
  // The computed Di is the exact one of De = 120, not its display "103.9".
  EXPECT_NEAR(D(calc::PolygonCurve.Di), 120 * std::cos(M_PI / 6), 1e-12);
  // A count with a half goes to the even neighbour.
  f.Field("Edit_z").text = "6.5";
  app::CurveFormOk(f);
  EXPECT_EQ(calc::PolygonCurve.Corners, 6);
  // A count out of the record's range is held at its end.
  f.Field("Edit_z").text = "70000";
  app::CurveFormOk(f);
  EXPECT_EQ(calc::PolygonCurve.Corners, 65535);
}

TEST_F(CurveFormsTest, UnitSwitchConvertsAndUntouchedValuesStayExact) {
  calc::EllipseCurve = {55.5L, 43.21987L};
  CurveForm f = app::CreateCurveForm(calc::CurveEllipse);
  app::CurveFormSwitchUnits(f);
  EXPECT_EQ(common::UnitSystem, common::UnitsImperial);
  EXPECT_EQ(f.Field("Edit_a").unit, "in");
  EXPECT_EQ(f.Field("Edit_a").text, common::LengthToText(55.5L));
  // The proposal is the whole-mm value, shown in inches and kept exactly.
  app::ProposeCurveValue(f, "Edit_b");
  EXPECT_EQ(f.Field("Edit_b").text, common::LengthToText(50));
  app::CurveFormOk(f);
  EXPECT_EQ(calc::EllipseCurve.a, 55.5L);
  EXPECT_EQ(calc::EllipseCurve.b, 50);
  // An edit left alone keeps the stored value, not its rounded display.
  common::UnitSystem = common::UnitsMetric;
  calc::EccentricCurve = {123.4567L, 9.87654L};
  CurveForm e = app::CreateCurveForm(calc::CurveEccentric);
  app::CurveFormSwitchUnits(e);
  app::CurveFormSwitchUnits(e);
  EXPECT_EQ(e.Field("Edit_d").text, "123.5");
  app::CurveFormOk(e);
  EXPECT_EQ(calc::EccentricCurve.D, 123.4567L);
  EXPECT_EQ(calc::EccentricCurve.E, 9.87654L);
  // A typed value is taken as typed, in the unit shown.
  app::CurveFormSwitchUnits(e);
  e.Field("Edit_e").text = "1";
  app::CurveFormOk(e);
  EXPECT_NEAR(D(calc::EccentricCurve.E), 25.4, 1e-12);
}

TEST_F(CurveFormsTest, CalcThenCancelKeepsWhatCalcStored) {
  calc::CurveType = calc::CurveSine;
  calc::SineCurve = {50, 5, 1};
  dialogs_.Then(ChooseType(calc::CurveEccentric));
  Real r1maxAtCalc = 0;
  forms_.script = [&](CurveForm& f) {
    f.Field("Edit_d").text = "100";
    app::ProposeCurveValue(f, "Edit_e");
    EXPECT_EQ(f.Field("Edit_e").text, "10");
    app::CurveFormCalc(f);
    r1maxAtCalc = calc::RadiusExtremes.r1max;
    f.Field("Edit_d").text = "140";
    app::CurveFormCancel();
  };
  app::SelectCurveType();
  EXPECT_NEAR(D(r1maxAtCalc), 60, 1e-6);  // d/2 + e
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(calc::EccentricCurve.D, 100);
  EXPECT_EQ(calc::EccentricCurve.E, 10);
  // Cancel drops the change of family: the design is the sine again, its
  // results and picture too.
  EXPECT_EQ(calc::CurveType, calc::CurveSine);
  EXPECT_EQ(redraws_, 2);
  EXPECT_EQ(common::FatalFlag, 0);
  EXPECT_NEAR(D(calc::RadiusExtremes.r1max), 55, 1e-6);
  EXPECT_NEAR(D(calc::RadiusExtremes.r1min), 45, 1e-6);
}

// Cancel in the dialog of another family keeps the design's family, so that
// the type, the stored parameters and the results stay of one curve; a
// cancelled dialog of the design's own family recalculates nothing.
TEST_F(CurveFormsTest, CancelledChangeOfFamilyKeepsTheFamily) {
  calc::CurveType = calc::CurveEllipse;
  calc::EllipseCurve = {60, 50};
  calc::CalcNoncircularPair();
  const Real r1max = calc::RadiusExtremes.r1max;
  for (const int other : {int{calc::CurvePolygon}, int{calc::CurvePolyline}, int{calc::CurveFormula}}) {
    dialogs_.Then(ChooseType(other));
    forms_.script = [](CurveForm&) { app::CurveFormCancel(); };
    common::AbortFlag = 0;
    app::SelectCurveType();
    EXPECT_EQ(common::AbortFlag, 1) << other;
    EXPECT_EQ(calc::CurveType, calc::CurveEllipse) << other;
    EXPECT_EQ(calc::RadiusExtremes.r1max, r1max) << other;
  }
  redraws_ = 0;
  calc::RadiusExtremes.r1max = 0;
  dialogs_.Then(ChooseType(calc::CurveEllipse));
  common::AbortFlag = 0;
  app::SelectCurveType();
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(calc::CurveType, calc::CurveEllipse);
  EXPECT_EQ(calc::RadiusExtremes.r1max, 0);
  EXPECT_EQ(redraws_, 0);
}
