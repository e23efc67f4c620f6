// The strength inputs and the lubricant through scripted windows and
// answers: the question series of entered factors, the pages of the
// calculation methods, the page-2 questions at a high help level, the
// proposals, the single page from the menu, and the lubricant form with the
// viscosity converter.
#include "app/inputs/strength_input.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>

#include "app/data_file.h"
#include "app/entry_points.h"
#include "app/inputs/lubricant_input.h"
#include "app/main_menu.h"
#include "app/main_window.h"
#include "app/start_up.h"
#include "calc/calc_records.h"
#include "calc/face_widths.h"
#include "calc/lubricant_viscosity.h"
#include "calc/spur_gear_data.h"
#include "common/kaldvar.h"
#include "common/number_format.h"
#include "common/unit_labels.h"
#include "platform/scripted_dialogs.h"
#include "support/app_start.h"
#include "support/file_test_support.h"

namespace fs = std::filesystem;
using platform::AskedDialog;
using platform::DialogButton;
using platform::ScriptedAnswer;

namespace {

using calc::SpurGearData;

class StrengthInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = testsupport::EnterWithDefaultDesign(dir_);
    calc::SpurGearData = calc::TSpurGearData{};
    testsupport::StartProgram();
    app::MainFormCreate();
    common::UnitSystem = common::UnitsMetric;
    common::HelpLevel = 0;
    app::ReadDataFile("null");
    app::SetLubricantDefaults();
    app::Entry().ShowDiagrams = [this](int code, int device) { diagrams_.emplace_back(code, device); };
    app::Entry().RedrawCurrentView = [] {};
    dialogs_.ClearRecord();
  }
  void TearDown() override {
    app::ResetStrengthViews();
    app::ResetLubricantViews();
    app::ResetEntryPoints();
    common::UnitSystem = common::UnitsMetric;
    common::HelpLevel = 0;
    fs::current_path(previous_);
  }

  // The prompts of the questions asked so far.
  std::vector<std::string> Prompts() const {
    std::vector<std::string> prompts;
    for (const AskedDialog& d : dialogs_.Asked()) prompts.push_back(d.text);
    return prompts;
  }

  testsupport::ScratchDirectory dir_{"strength_input"};
  fs::path previous_;
  platform::ScriptedDialogs dialogs_;
  platform::ScopedDialogs scoped_{dialogs_};
  std::vector<std::pair<int, int>> diagrams_;
};

// A page window that records the page, applies the user's steps and
// presses OK.
template <typename Page>
std::function<void(Page&)> OkWith(std::vector<Page>& shown, std::function<void(Page&)> steps) {
  return [&shown, steps](Page& page) {
    shown.push_back(page);
    if (steps) steps(page);
    app::StrengthOk(app::PageRef(page));
  };
}

}  // namespace

TEST_F(StrengthInputTest, EnteredFactorsAreAskedAsQuestionsWithoutAnyPage) {
  int pages = 0;
  app::StrengthViews().Page1 = [&](app::TStrengthPage1&) { ++pages; };
  app::StrengthViews().Page2 = [&](app::TStrengthPage2&) { ++pages; };
  dialogs_.Then(ScriptedAnswer::Choose(2));  // "enter factors"
  // Blank diameters, double helical, KA H, KA F.
  dialogs_.Then(ScriptedAnswer::Enter("40")).Then(ScriptedAnswer::Enter("0"));
  dialogs_.Then(ScriptedAnswer::Choose(0));  // yes
  dialogs_.Then(ScriptedAnswer::Enter("1.25")).Then(ScriptedAnswer::Enter("1.5"));
  // 12 pair factors, ZW 1 and 2, ZX 1 and 2, YF/YS per gear, Ybeta, then
  // YdrelT, YRrelT, YX and YA per gear: 29 values 1.01, 1.02, ...
  for (int i = 1; i <= 29; ++i) dialogs_.Then(ScriptedAnswer::Enter(std::to_string(1 + i / 100.0).substr(0, 4)));
  dialogs_.Then(ScriptedAnswer::Press(DialogButton::Yes));
  for (const char* v : {"0.9", "0.8", "1.1", "1.2"}) dialogs_.Then(ScriptedAnswer::Enter(v));
  app::InputStrengthData();

  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(pages, 0);
  EXPECT_EQ(dialogs_.PendingAnswers(), 0u);
  const auto& s = SpurGearData;
  EXPECT_EQ(s.CalcMethod, 3);
  EXPECT_EQ(s.ContactPatternCode, 0);
  EXPECT_EQ(s.BodyInnerDiameter[1], 40);
  EXPECT_EQ(s.DoubleHelicalAnswer, 'J');
  EXPECT_NEAR(static_cast<double>(s.KAH), 1.25, 1e-12);
  EXPECT_NEAR(static_cast<double>(s.KAF), 1.5, 1e-12);
  EXPECT_NEAR(static_cast<double>(s.KV), 1.01, 1e-12);
  EXPECT_NEAR(static_cast<double>(s.ZR), 1.12, 1e-12);
  EXPECT_NEAR(static_cast<double>(s.ZW[1]), 1.13, 1e-12);
  EXPECT_NEAR(static_cast<double>(s.ZW[2]), 1.14, 1e-12);
  EXPECT_NEAR(static_cast<double>(s.YS[2]), 1.20, 1e-12);
  EXPECT_NEAR(static_cast<double>(s.Ybeta), 1.21, 1e-12);
  EXPECT_NEAR(static_cast<double>(s.YM[2]), 1.29, 1e-12);
  EXPECT_EQ(s.LifeFactorsInput, 1);
  EXPECT_NEAR(static_cast<double>(s.YNTInput[1]), 0.9, 1e-12);
  EXPECT_NEAR(static_cast<double>(s.YNTInput[2]), 0.8, 1e-12);
  EXPECT_NEAR(static_cast<double>(s.ZNTInput[1]), 1.1, 1e-12);
  EXPECT_NEAR(static_cast<double>(s.ZNTInput[2]), 1.2, 1e-12);

  const std::vector<std::string> p = Prompts();
  ASSERT_EQ(p.size(), 40u);
  EXPECT_EQ(p[0], "calculation method");
  EXPECT_EQ(dialogs_.Asked()[0].items,
            (std::vector<std::string>{"DIN 3990 part 1..3", "DIN 3990 part 41 (automotive gears)", "enter factors",
                                      "ISO 6336 part 1..3"}));
  EXPECT_EQ(p[1], "gear blank inside diameter  di1  [mm]");
  EXPECT_EQ(p[3], "double helical gearing ?");
  EXPECT_EQ(p[5], "application factor tooth root stress KA F ");
  EXPECT_EQ(p[7], "face load factor flank KH-beta");  // beta spelt out, not as the sharp s
  EXPECT_EQ(p[18], "work hardening factor ZW1");
  EXPECT_EQ(p[19], "work hardening factor ZW2");
  EXPECT_EQ(p[35], "input life factor YNT, ZNT ?");
  EXPECT_EQ(p[36], "life factor YNT1");
  EXPECT_EQ(p[39], "life factor ZNT2");

  // A cancel in the middle stops the series and keeps what was entered.
  dialogs_.ClearRecord();
  dialogs_.Then(ScriptedAnswer::Choose(2)).Then(ScriptedAnswer::Enter("30")).Then(ScriptedAnswer::Cancel());
  app::InputStrengthData();
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(SpurGearData.BodyInnerDiameter[1], 30);
  EXPECT_EQ(Prompts().size(), 3u);
}

TEST_F(StrengthInputTest, PagesOfDinMethodTakeTheirValues) {
  std::vector<app::TStrengthPage1> page1s;
  std::vector<app::TStrengthPage2> page2s;
  SpurGearData.ZNTInput[1] = 0.77L;
  app::StrengthViews().Page1 = OkWith<app::TStrengthPage1>(page1s, [](app::TStrengthPage1& p) {
    p.Di[2].text = "120";
    app::ProposePage1(p, app::Page1Proposal::E);
    p.Np[1].text = "3";
    app::SetRzFlank(p, 2);  // 6.3
    app::SetRzRoot(p, 4);   // 40
    p.Nu50.text = "220";
    p.KAH.text = "1.35";
    p.DoubleHelical = true;
    p.ZNT[1].text = "0.5";  // not read: the life is calculated
  });
  app::StrengthViews().Page2 = OkWith<app::TStrengthPage2>(page2s, [](app::TStrengthPage2& p) {
    p.Dsh.text = "0";  // replaced by the root diameter of gear 1
    p.LappingIn = true;
    p.ContactPatternIndex = 3;
    p.BearingIndex = 4;
    p.L.text = "150";
    p.S.text = "12";
    p.Notch = true;
    p.TgRg[1].text = "0.8";
    p.FshInput = true;
    p.Fsh.text = "11";
    app::SetPage2Visibility(p);
    EXPECT_TRUE(p.NotchValuesVisible);
    EXPECT_FALSE(p.BearingGroupVisible);
    EXPECT_TRUE(p.FshEnabled);
    EXPECT_FALSE(p.FmaEnabled);
  });
  dialogs_.Then(ScriptedAnswer::Choose(0));
  app::InputStrengthData();

  EXPECT_EQ(common::AbortFlag, 0);
  ASSERT_EQ(page1s.size(), 1u);
  ASSERT_EQ(page2s.size(), 1u);
  EXPECT_EQ(page1s[0].Caption, common::ProgramTitle + "  Strength acc. DIN 3990-1,2,3");
  EXPECT_EQ(page2s[0].Caption, common::ProgramTitle + "  Strength acc. DIN 3990 Part 1");
  EXPECT_EQ(page1s[0].LengthUnit, "mm");
  EXPECT_EQ(page1s[0].MicroUnit, "\xC2\xB5m");
  EXPECT_EQ(page2s[0].ContactPatternItems.front(), "image a");
  EXPECT_EQ(page2s[0].ContactPatternItems.size(), 6u);
  EXPECT_EQ(page2s[0].BearingItems.back(), "image e");
  const auto& s = SpurGearData;
  EXPECT_EQ(s.CalcMethod, 1);
  EXPECT_EQ(s.BodyInnerDiameter[2], 120);
  EXPECT_EQ(s.MeshesPerRev[1], 1);
  EXPECT_EQ(s.MeshesPerRev[2], 1);
  EXPECT_EQ(s.LoadAlternations[1], 3);
  EXPECT_NEAR(static_cast<double>(s.RzFlank[2]), 6.3, 1e-12);
  EXPECT_EQ(s.RzRoot[1], 40);
  EXPECT_EQ(s.nu40, 220);  // the viscosity at 50 °C
  EXPECT_NEAR(static_cast<double>(s.KAH), 1.35, 1e-12);
  EXPECT_EQ(s.DoubleHelicalAnswer, 'J');
  EXPECT_EQ(s.LifeFactorsInput, 0);
  EXPECT_NEAR(static_cast<double>(s.ZNTInput[1]), 0.77, 1e-12);  // kept in life mode 0
  EXPECT_EQ(s.dsh, s.df[1]);
  EXPECT_GT(s.dsh, 0);
  EXPECT_EQ(s.LappingInAnswer, 'J');
  EXPECT_EQ(s.ContactPatternCode, 4);
  EXPECT_EQ(s.BearingArrangement, 5);
  EXPECT_EQ(s.l1, 150);
  EXPECT_EQ(s.s1, 12);
  EXPECT_TRUE(s.GrindingNotch);
  EXPECT_NEAR(static_cast<double>(s.tgrg[1]), 0.8, 1e-12);
  EXPECT_TRUE(s.FshInput);
  EXPECT_EQ(s.fsh, 11);

  // The automotive method ends after page 1.
  dialogs_.Then(ScriptedAnswer::Choose(1));
  app::InputStrengthData();
  EXPECT_EQ(page1s.size(), 2u);
  EXPECT_EQ(page2s.size(), 1u);
  EXPECT_EQ(SpurGearData.CalcMethod, 2);
  EXPECT_EQ(SpurGearData.ContactPatternCode, 0);
}

TEST_F(StrengthInputTest, HighHelpLevelAsksPageTwoAndProposesTheRootDiameter) {
  common::HelpLevel = 100;
  std::vector<app::TStrengthPage1> page1s;
  app::StrengthViews().Page1 = OkWith<app::TStrengthPage1>(page1s, nullptr);
  int page2s = 0;
  app::StrengthViews().Page2 = [&](app::TStrengthPage2&) { ++page2s; };
  const Real df1 = SpurGearData.df[1];
  ASSERT_GT(df1, 1);
  dialogs_.Then(ScriptedAnswer::Choose(3));  // ISO 6336
  dialogs_.Then(ScriptedAnswer::Enter("0")).Then(ScriptedAnswer::Enter("0"));
  dialogs_.Then(ScriptedAnswer::Enter(common::RealToText(std::trunc(df1) - 1)));
  for (int i : {0, 1, 1, 0, 1}) dialogs_.Then(ScriptedAnswer::Choose(i));
  app::InputStrengthData();

  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(page1s.size(), 1u);
  EXPECT_EQ(page2s, 0);
  const std::vector<AskedDialog>& asked = dialogs_.Asked();
  ASSERT_EQ(asked.size(), 9u);
  EXPECT_EQ(asked[1].text, "shaft diameter pinion dsh1 (Vorschlag=0)");
  // Each repetition offers the whole-number root diameter of gear 1.
  EXPECT_EQ(asked[2].initial, common::RealToText(std::trunc(df1)));
  EXPECT_EQ(asked[3].initial, common::RealToText(std::trunc(df1)));
  EXPECT_EQ(SpurGearData.dsh, std::trunc(df1) - 1);
  EXPECT_EQ(asked[4].text, "supporting effect ?");
  EXPECT_EQ(asked[8].text, "end relief ? ");
  EXPECT_EQ(SpurGearData.SupportingEffectAnswer, 'J');
  EXPECT_EQ(SpurGearData.LappingInAnswer, 'N');
  EXPECT_EQ(SpurGearData.CentralCrowningAnswer, 'J');
  EXPECT_EQ(SpurGearData.EndReliefAnswer, 'N');
}

TEST_F(StrengthInputTest, EditStrengthStaysCancelledAfterItsCalculation) {
  dialogs_.Then(ScriptedAnswer::Choose(0));  // the page then cancels (default view)
  app::EditStrength();
  EXPECT_EQ(common::AbortFlag, 1);
  // The menu stops there: no diagram, the design not marked changed.
  common::DataChanged = 0;
  dialogs_.Then(ScriptedAnswer::Cancel());
  app::MenuItemClick("mi_editfestigkeit");
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(common::DataChanged, 0);
  EXPECT_TRUE(diagrams_.empty());
}

TEST_F(StrengthInputTest, ProposalsOfPageTwo) {
  app::TStrengthPage2 page = app::CreateStrengthPage2();
  // The supporting effect: d1 / dsh >= 1.15.
  SpurGearData.d[1] = 60;
  page.Dsh.text = "50";
  app::ProposeSupportingEffect(page);
  EXPECT_TRUE(page.SupportingEffect);
  page.Dsh.text = "55";
  app::ProposeSupportingEffect(page);
  EXPECT_FALSE(page.SupportingEffect);
  // An empty shaft takes the root diameter first.
  SpurGearData.df[1] = 52.7L;
  page.Dsh.text = "0";
  app::ProposeSupportingEffect(page);
  EXPECT_EQ(page.Dsh.text, "52");
  EXPECT_TRUE(page.SupportingEffect);  // 60 / 52 = 1.154

  // The shaft from the torque: 16 T / (pi 0.3 SigmaFE) cubed root, averaged
  // with the root diameter: T 1000 Nm, SigmaFE 500 -> 32 mm; (32 + 52) / 2.
  SpurGearData.TUsed[1] = 1000;
  SpurGearData.SigmaFE[1] = 500;
  app::ProposeShaftDiameterEdit(page);
  const double d = std::round(std::cbrt(1000.0 * 16 / M_PI * 1000 / (0.3 * 500)));
  EXPECT_EQ(d, 32);
  EXPECT_EQ(page.Dsh.text, "42");
  SpurGearData.SigmaFE[1] = 0;
  app::ProposeShaftDiameterEdit(page);
  EXPECT_EQ(page.Dsh.text, "26");
}

TEST_F(StrengthInputTest, SinglePageFromTheMenuWithMethodAndProposals) {
  std::vector<app::TStrengthForm> shown;
  app::StrengthViews().OnePage = OkWith<app::TStrengthForm>(shown, [](app::TStrengthForm& f) {
    f.MethodIndex = 1;  // DIN 3990-41
    app::SetFs0Visibility(f);
    EXPECT_TRUE(f.Page1Visible);
    EXPECT_FALSE(f.Page2Visible);
    EXPECT_FALSE(f.FshVisible);
    f.MethodIndex = 3;  // ISO 6336
    app::SetFs0Visibility(f);
    EXPECT_TRUE(f.Page2Visible);
    EXPECT_EQ(f.Caption, common::ProgramTitle + "  Strength acc. ISO 6336:2006-2008");
    app::ProposeFs0(f, app::Fs0Proposal::Di);
    app::ProposeFs0(f, app::Fs0Proposal::S);
    app::ProposeFs0(f, app::Fs0Proposal::ENp);
    f.Page2.ContactPatternIndex = 2;
    app::ProposeFs0(f, app::Fs0Proposal::Lists);
    f.Page1.KAF.text = "2";
    f.Page2.Dsh.text = "-3";  // kept: the single page does not replace it
  });
  app::Entry().ShowStrengthForm();
  EXPECT_EQ(common::AbortFlag, 0);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].MethodItems.size(), 4u);
  EXPECT_EQ(shown[0].MethodItems[2], "Input K,Y,Z");
  const auto& s = SpurGearData;
  EXPECT_EQ(s.CalcMethod, 4);
  EXPECT_EQ(s.s1, 0);
  EXPECT_EQ(s.ContactPatternCode, 1);
  EXPECT_EQ(s.KAF, 2);
  EXPECT_EQ(s.dsh, -3);
  EXPECT_EQ(s.LoadAlternations[2], 0);
  EXPECT_NEAR(static_cast<double>(s.BodyInnerDiameter[1]),
              std::stod(common::LengthToText(calc::DefaultRimDiameter(1))), 1e-9);
}

TEST_F(StrengthInputTest, ImperialPageShowsInchesAndMicroinches) {
  SpurGearData.RzFlank[1] = 5;
  SpurGearData.BodyInnerDiameter[1] = 25.4L;
  app::TStrengthPage1 page = app::CreateStrengthPage1();
  app::StrengthToggleUnits(app::PageRef(page));
  EXPECT_EQ(page.LengthUnit, "in");
  EXPECT_EQ(page.MicroUnit, "\xC2\xB5in");
  EXPECT_EQ(page.Di[1].text, "1.0000");
  EXPECT_EQ(page.RzZ[1].text, common::RealToText(5000 / 25.4L));  // 5 µm = 196.85 µin
  // The roughness buttons are micrometres: 40 µm is shown in microinches.
  app::SetRzRoot(page, 4);
  EXPECT_EQ(page.RzY[2].text, page.RzY[1].text);
  app::StrengthOk(app::PageRef(page));
  EXPECT_NEAR(static_cast<double>(SpurGearData.RzFlank[1]), 5, 0.01);
  EXPECT_NEAR(static_cast<double>(SpurGearData.RzRoot[2]), 40, 0.01);
  EXPECT_NEAR(static_cast<double>(SpurGearData.BodyInnerDiameter[1]), 25.4, 1e-9);
}

// ---- The lubricant ---------------------------------------------------------------------

TEST_F(StrengthInputTest, LubricantFormFromPageOneAndItsProposals) {
  SpurGearData.nu40 = 100;
  app::LubricantViews().Lubricant = [](app::TLubricantForm& f) {
    EXPECT_EQ(f.Caption, common::ProgramTitle + " lubrication fluid");
    EXPECT_EQ(f.Nu50.text, "150");  // the page's edit, read before the form opened
    EXPECT_EQ(f.ResultLine, "");  // no viscosity at 100 °C
    app::ProposeLubricantNu40(f);
    app::ProposeLubricantNu100(f);
    app::ProposeLubricantDensity(f);
    EXPECT_EQ(f.Density.text, "0.9");
    f.Temperature.text = "60";
    app::ShowLubricantViscosity(f);
    const Real nu100 = common::TextToReal(f.Nu100.text);
    EXPECT_EQ(f.ResultLine, "Lubricant viscosity at 60 \xC2\xB0" "C: " +
                                common::RealToText(calc::CalcViscosityAtTemperature(nu100, 100, 60)) + " mm\xC2\xB2/s");
    f.Name = "CLP 220";
    app::LubricantOk(f);
  };
  app::TStrengthPage1 page = app::CreateStrengthPage1();
  page.Nu50.text = "150";
  app::Page1Lubricant(page);
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(app::Lubricant.Name, "CLP 220");
  EXPECT_EQ(app::Lubricant.Nu40,
            common::TextToReal(common::RealToText(calc::CalcViscosityAtTemperature(150, 50, 40))));
  EXPECT_GT(app::Lubricant.Nu40, 150);
  EXPECT_LT(app::Lubricant.Nu100, 150);
  EXPECT_EQ(app::Lubricant.OilTemperature, 60);
  EXPECT_EQ(page.Nu50.text, "150");

  // The data file does not hold the lubricant data set: another design
  // starts without the previous design's oil, which its printout would show.
  app::ReadDataFile("null");
  EXPECT_EQ(app::Lubricant.Name, "");
  EXPECT_EQ(app::Lubricant.Nu40, 0);

  // ν50 from ν40 only when ν40 is positive.
  app::TLubricantForm f = app::CreateLubricantForm();
  f.Nu40.text = "0";
  f.Nu50.text = "77";
  app::ProposeLubricantNu50(f);
  EXPECT_EQ(f.Nu50.text, "77");
  f.Nu40.text = "220";
  app::ProposeLubricantNu50(f);
  EXPECT_EQ(f.Nu50.text, common::RealToText(calc::CalcViscosityAtTemperature(220, 40, 50)));
  // Fahrenheit in the edit, the line in °C.
  common::UnitSystem = common::UnitsImperial;
  f.Nu100.text = "20";
  f.Temperature.text = "176";
  app::ShowLubricantViscosity(f);
  EXPECT_EQ(f.ResultLine.rfind("Lubricant viscosity at 80 \xC2\xB0" "C: ", 0), 0u);
}

TEST_F(StrengthInputTest, ViscosityConverterGivesTheOtherTwo) {
  app::TViscosityConverter c = app::CreateViscosityConverter();
  EXPECT_EQ(c.Nu50, "100");
  EXPECT_EQ(c.Temperature, "0");
  // ν50 of 100 at 50 °C is 100 again.
  c.Temperature = "50";
  app::ViscosityTemperatureChanged(c);
  EXPECT_EQ(c.NuTLabel, "Lubricant viscosity nue 50");
  EXPECT_EQ(c.NuT, "100");
  // Given ν40: ν50 and ν(t) at once; only the ν40 edit is open.
  c.Given = app::GivenNu40;
  c.Nu40 = "320";
  app::ComputeViscosityAtTemperature(c);
  EXPECT_FALSE(app::ViscosityEditEnabled(c, app::GivenNu50));
  EXPECT_TRUE(app::ViscosityEditEnabled(c, app::GivenNu40));
  EXPECT_EQ(c.Nu50, common::RealToText(calc::CalcViscosityAtTemperature(320, 40, 50)));
  EXPECT_EQ(c.NuT, c.Nu50);
  // Given ν(t).
  c.Given = app::GivenNuT;
  c.Temperature = "100";
  c.NuT = "15";
  app::ComputeViscosityAtTemperature(c);
  const Real nu50 = calc::CalcViscosityAtTemperature(15, 100, 50);
  EXPECT_EQ(c.Nu50, common::RealToText(nu50));
  EXPECT_EQ(c.Nu40, common::RealToText(calc::CalcViscosityAtTemperature(nu50, 50, 40)));

  // From page 1: the page takes the converter's ν50 after OK only.
  app::LubricantViews().Converter = [](app::TViscosityConverter& f) {
    EXPECT_EQ(f.Given, app::GivenNu50);
    EXPECT_EQ(f.Nu50, "180");
    f.Given = app::GivenNu40;
    f.Nu40 = "220";
    app::ComputeViscosityAtTemperature(f);
    app::ViscosityConverterOk();
  };
  app::TStrengthPage1 page = app::CreateStrengthPage1();
  page.Nu50.text = "180";
  app::Page1ViscosityConverter(page);
  EXPECT_EQ(page.Nu50.text, common::RealToText(calc::CalcViscosityAtTemperature(220, 40, 50)));
  app::ResetLubricantViews();
  page.Nu50.text = "180";
  app::Page1ViscosityConverter(page);
  EXPECT_EQ(page.Nu50.text, "180");
  EXPECT_EQ(common::AbortFlag, 0);
}

TEST_F(StrengthInputTest, ValuesNotEditedKeepTheirDigits) {
  SpurGearData.BodyInnerDiameter[1] = 123.456L;
  SpurGearData.fsh = 2.60713L;
  SpurGearData.KAH = 1.23456L;
  app::TStrengthForm form = app::CreateStrengthForm();
  EXPECT_EQ(form.Page1.Di[1].text, "123.5");
  form.Page1.Di[2].text = "77.25";
  app::StrengthOk(app::PageRef(form));
  EXPECT_EQ(SpurGearData.BodyInnerDiameter[1], 123.456L);
  EXPECT_EQ(SpurGearData.BodyInnerDiameter[2], 77.25L);
  EXPECT_EQ(SpurGearData.fsh, 2.60713L);
  EXPECT_EQ(SpurGearData.KAH, 1.23456L);
  // The shown text left as it was gives the exact value; another text is
  // converted.
  form = app::CreateStrengthForm();
  EXPECT_EQ(form.Page1.KAH.text, "1.235");
  form.Page1.KAH.text = "1.24";
  app::StrengthOk(app::PageRef(form));
  EXPECT_NEAR(static_cast<double>(SpurGearData.KAH), 1.24, 1e-12);
}
