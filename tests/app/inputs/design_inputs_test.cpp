// The dialogs of the gear geometry, the tool profile with its complement,
// the drive and the rotation-angle window, driven through scripted views
// from the main menu: what OK writes and recalculates, what Cancel leaves,
// the unit switch, the proposals, the live computations and the picture
// turned by the angle.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "app/design_extras.h"
#include "app/inputs/design_input_views.h"
#include "app/entry_points.h"
#include "app/inputs/gear_geometry_input.h"
#include "app/inputs/load_input.h"
#include "app/main_menu.h"
#include "app/inputs/rotation_angle_window.h"
#include "app/start_up.h"
#include "app/inputs/tool_profile_input.h"
#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "calc/spur_gear_data.h"
#include "common/guarded_math.h"
#include "common/kaldvar.h"
#include "common/number_format.h"
#include "common/message_list.h"
#include "common/unit_labels.h"
#include "platform/scripted_dialogs.h"
#include "support/file_test_support.h"

namespace {

using app::DialogResult;

// Every field of the two data sets equal (the records a Cancel must leave).
template <class... Groups>
bool SameGroups(const calc::TSpurGearData& a, const calc::TSpurGearData& b) {
  return ((static_cast<const Groups&>(a) == static_cast<const Groups&>(b)) && ...);
}
bool SameGearData(const calc::TSpurGearData& a, const calc::TSpurGearData& b) {
  return SameGroups<calc::SpurCoreFields, calc::SpurGeometryFields, calc::SpurToleranceFields,
                    calc::SpurStrengthFields, calc::SpurIsoFields>(a, b);
}

// The user at each dialog: what they do before the view returns. A script
// that neither confirms nor cancels leaves the dialog open, which the entry
// point takes as Cancel.
class ScriptedViews : public app::DesignInputViews {
 public:
  std::function<void(app::GearGeometryDialog&)> geometry;
  std::function<void(app::ToolProfileDialog&)> tool;
  std::function<void(app::ComplementDialog&)> complement;
  std::function<void(app::LoadDialog&)> load;
  std::function<void(app::RotationAngleWindow&)> rotation;

  void RunGeometry(app::GearGeometryDialog& d) override { Run(geometry, d); }
  void RunToolProfile(app::ToolProfileDialog& d) override { Run(tool, d); }
  void RunComplement(app::ComplementDialog& d) override { Run(complement, d); }
  void RunLoad(app::LoadDialog& d) override { Run(load, d); }
  void RunRotationAngle(app::RotationAngleWindow& w) override {
    w.FormShow();
    if (rotation) rotation(w);
  }

 private:
  template <class F, class D>
  static void Run(const F& script, D& dialog) {
    if (script) script(dialog);
  }
};

class DesignInputsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "vob4";
    char* argv[] = {name, nullptr};
    app::StartUpProgram(1, argv);
    app::ResetEntryPoints();
    app::SetDesignInputViews(&views_);
    common::UnitSystem = common::UnitsMetric;
    app::Entry().RedrawCurrentView = [this] { ++redraws_; };
    app::Entry().ShowDiagrams = [this](int code, int device) { diagrams_.push_back(code * 10 + device); };
    app::Entry().DrawGears = [this](int mode, int device) { pictures_.push_back({mode, device, calc::PhiView}); };
    calc::CalcNoncircularPair();
    ASSERT_EQ(common::FatalFlag, 0);
    common::DataChanged = 0;
    common::AbortFlag = 0;
  }
  void TearDown() override {
    app::SetDesignInputViews(nullptr);
    app::ResetEntryPoints();
    common::UnitSystem = common::UnitsMetric;
  }

  struct Picture {
    int mode, device;
    Real phi;
  };

  ScriptedViews views_;
  platform::ScriptedDialogs dialogs_;
  platform::ScopedDialogs scoped_{dialogs_};
  int redraws_ = 0;
  std::vector<int> diagrams_;
  std::vector<Picture> pictures_;
};

// ---- Gear geometry -----------------------------------------------------------------

TEST_F(DesignInputsTest, GeometryOkWritesTheRecordsAndTheMenuRecalculates) {
  views_.geometry = [](app::GearGeometryDialog& d) {
    EXPECT_EQ(d.alpha.text, "20");
    EXPECT_EQ(d.lengthUnit, "mm");
    d.alpha.text = "25";
    d.z1 = "24";
    d.k = 2;
    d.constantModule = true;
    d.b.text = "30,5";  // a comma reads as the point
    d.bore[1].text = "12";
    d.bore[2].text = "no number";
    d.Button_okClick();
    // Text that is no number is refused: the dialog stays open and the
    // field shows its old value again; then OK takes the others.
    EXPECT_EQ(d.Result(), app::DialogResult::Open);
    EXPECT_EQ(d.bore[2].text, "0");
    d.Button_okClick();
  };
  app::MenuItemClick("mi_editZahnrad");
  ASSERT_FALSE(dialogs_.Asked().empty());
  EXPECT_EQ(dialogs_.Asked()[0].text, "borehole diameter 2: \"no number\" is not a number !");
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(common::DataChanged, 1);
  const calc::TSpurGearData& g = calc::SpurGearData;
  EXPECT_EQ(g.PressureAngle, 25);
  EXPECT_EQ(g.FaceWidth, 30.5L);
  EXPECT_EQ(g.BoreDiameter[1], 12);
  EXPECT_EQ(g.BoreDiameter[2], 0);
  EXPECT_EQ(calc::NcPair.z1, 24);
  EXPECT_EQ(calc::NcPair.k, 2);
  EXPECT_EQ(calc::NcPair.ModuleMode, 2);
  // The calculation ran on the new data: z2 = z1 * k, the constant module.
  EXPECT_EQ(calc::NcPair.z2, 48);
  EXPECT_NEAR(static_cast<double>(g.NormalModule), static_cast<double>(calc::NcPair.U1 / common::Pi / 24), 1e-9);

  // The check box the other way.
  views_.geometry = [](app::GearGeometryDialog& d) {
    EXPECT_TRUE(d.constantModule);
    d.constantModule = false;
    d.Button_okClick();
  };
  app::ShowGeometryForm();
  EXPECT_EQ(calc::NcPair.ModuleMode, 1);
}

// Text that is no number never reaches the design: "abc" for z1 would be 0
// teeth (a fatal design), 1e999 for b an infinite face width. Each is
// refused with a message naming the field, which shows its old value
// again, and the dialog stays open; the unit switch refuses it the same way.
TEST_F(DesignInputsTest, GeometryRefusesTextThatIsNoNumber) {
  calc::NcPair.z1 = 30;
  calc::SpurGearData.FaceWidth = 20;
  const calc::TSpurGearData before = calc::SpurGearData;
  std::vector<std::string> z1Texts, bTexts;
  views_.geometry = [&](app::GearGeometryDialog& d) {
    d.z1 = "abc";
    d.Button_okClick();
    EXPECT_EQ(d.Result(), app::DialogResult::Open);
    z1Texts.push_back(d.z1);
    d.z1 = "30.5";
    d.Button_okClick();
    z1Texts.push_back(d.z1);
    d.b.text = "1e999";
    d.Button_okClick();
    bTexts.push_back(d.b.text);
    d.b.text = "inf";
    d.Button_metricClick();
    EXPECT_EQ(d.lengthUnit, "mm") << "a refused field leaves the units as they were";
    bTexts.push_back(d.b.text);
    EXPECT_EQ(d.Result(), app::DialogResult::Open);
    d.Button_cancelClick();
  };
  app::MenuItemClick("mi_editZahnrad");
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(z1Texts, (std::vector<std::string>{"30", "30"}));
  EXPECT_EQ(bTexts, (std::vector<std::string>{"20", "20"}));
  EXPECT_EQ(calc::NcPair.z1, 30);
  EXPECT_TRUE(SameGearData(calc::SpurGearData, before));
  std::vector<std::string> shown;
  for (const auto& asked : dialogs_.Asked()) {
    EXPECT_EQ(asked.messageKind, platform::MessageKind::Error);
    shown.push_back(asked.text);
  }
  EXPECT_EQ(shown, (std::vector<std::string>{"no. of teeth z1: \"abc\" is not a whole number !",
                                             "no. of teeth z1: \"30.5\" is not a whole number !",
                                             "face width b: \"1e999\" is not a finite number !",
                                             "face width b: \"inf\" is not a finite number !"}));
}

// The drive, the tool and its complement refuse such text too.
TEST_F(DesignInputsTest, DriveAndToolRefuseTextThatIsNoNumber) {
  const calc::TSpurGearData before = calc::SpurGearData;
  views_.load = [](app::LoadDialog& d) {
    d.ChoiceClicked(app::LoadDialog::Power);
    d.speed.text = "fast";
    d.Button_okClick();
    EXPECT_EQ(d.Result(), app::DialogResult::Open);
    EXPECT_EQ(d.speed.text, common::RealToText(calc::SpurGearData.n[1]));
    d.Button_cancelClick();
  };
  app::ShowLoadForm();
  views_.tool = [](app::ToolProfileDialog& d) {
    d.addendum[2].text = "1e5000";
    d.Button_calcClick();
    d.addendum[2].text = "x";
    d.Button_okClick();
    EXPECT_EQ(d.Result(), app::DialogResult::Open);
    d.Button_cancelClick();
  };
  app::ShowToolProfileForm();
  EXPECT_TRUE(SameGearData(calc::SpurGearData, before));
  ASSERT_EQ(dialogs_.Asked().size(), 3u);
  EXPECT_EQ(dialogs_.Asked()[0].text, "Rot.speed n: \"fast\" is not a number !");
  EXPECT_EQ(dialogs_.Asked()[1].text, "Addendum of tool haP0/mn (2): \"1e5000\" is not a finite number !");
  EXPECT_EQ(dialogs_.Asked()[2].text, "Addendum of tool haP0/mn (2): \"x\" is not a number !");
}

TEST_F(DesignInputsTest, GeometryCancelLeavesTheRecordsAlsoAfterAUnitSwitch) {
  calc::SpurGearData.FaceWidth = 30;
  const calc::TSpurGearData before = calc::SpurGearData;
  const calc::TNcPair pair = calc::NcPair;
  views_.geometry = [](app::GearGeometryDialog& d) {
    d.z1 = "99";
    d.b.text = "40";
    d.Button_metricClick();
    EXPECT_EQ(d.lengthUnit, "in");
    EXPECT_EQ(d.b.text, common::LengthToText(40));
    d.Button_cancelClick();
  };
  app::MenuItemClick("mi_editZahnrad");
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(common::DataChanged, 0);
  EXPECT_TRUE(SameGearData(calc::SpurGearData, before));
  EXPECT_EQ(calc::NcPair.z1, pair.z1);
  // The unit system is a setting; it stays switched.
  EXPECT_EQ(common::UnitSystem, common::UnitsImperial);

  // A dialog the view left open counts as cancelled.
  views_.geometry = [](app::GearGeometryDialog& d) { d.z1 = "50"; };
  common::AbortFlag = 0;
  app::ShowGeometryForm();
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(calc::NcPair.z1, pair.z1);
}

TEST_F(DesignInputsTest, GeometryLengthsInInchesAndUntouchedValuesKeepTheirDigits) {
  calc::SpurGearData.FaceWidth = 30;
  calc::SpurGearData.BoreDiameter[1] = 12.3456789L;
  calc::SpurGearData.PressureAngle = 20.123456L;
  views_.geometry = [](app::GearGeometryDialog& d) {
    EXPECT_EQ(d.bore[1].text, "12.35");
    d.Button_metricClick();
    EXPECT_EQ(d.b.text, "1.1811");
    d.bore[2].text = "2";  // inches
    d.Button_okClick();
  };
  app::ShowGeometryForm();
  const calc::TSpurGearData& g = calc::SpurGearData;
  // Shown rounded, kept exact.
  EXPECT_EQ(g.FaceWidth, 30);
  EXPECT_EQ(g.BoreDiameter[1], 12.3456789L);
  EXPECT_EQ(g.PressureAngle, 20.123456L);
  EXPECT_NEAR(static_cast<double>(g.BoreDiameter[2]), 50.8, 1e-12);
}

TEST_F(DesignInputsTest, GeometryProposals) {
  const calc::TRadiusExtremes r = calc::RadiusExtremes;
  ASSERT_GT(r.r1max, 0);
  views_.geometry = [&](app::GearGeometryDialog& d) {
    d.alpha.text = "";
    d.ProposeAlpha();
    EXPECT_EQ(d.alpha.text, "20");
    d.k = 7;
    d.ProposeTurnRatio();
    EXPECT_EQ(d.k, 1);
    // No tooth number in the edit: no face width.
    d.z1 = "";
    d.b.text = "keep";
    d.ProposeFaceWidth();
    EXPECT_EQ(d.b.text, "keep");
    d.ProposeZ1();
    EXPECT_EQ(d.z1, "30");
    d.z1 = "20";
    d.ProposeFaceWidth();
    EXPECT_EQ(d.b.text, common::LengthToText(r.r1max * 25 / 20));
    d.ProposeBore(1);
    d.ProposeBore(2);
    EXPECT_EQ(d.bore[1].text, common::LengthToText(std::rint(0.5L * r.r1min)));
    EXPECT_EQ(d.bore[2].text, common::LengthToText(std::rint(0.5L * r.r2min)));
    d.Button_okClick();
  };
  app::ShowGeometryForm();
  EXPECT_EQ(calc::SpurGearData.BoreDiameter[1], std::rint(0.5L * r.r1min));
  // In inches the proposal is still the whole mm, not its 4-decimal inch text.
  common::UnitSystem = common::UnitsImperial;
  views_.geometry = [](app::GearGeometryDialog& d) {
    d.ProposeBore(2);
    d.Button_okClick();
  };
  app::ShowGeometryForm();
  EXPECT_EQ(calc::SpurGearData.BoreDiameter[2], std::rint(0.5L * r.r2min));
  common::UnitSystem = common::UnitsMetric;
  // The help button shows entry 4010 and never stops the dialog.
  views_.geometry = [](app::GearGeometryDialog& d) {
    d.Button_helpClick();
    EXPECT_EQ(common::AbortFlag, 0);
    d.Button_cancelClick();
  };
  app::ShowGeometryForm();
  ASSERT_FALSE(dialogs_.Asked().empty());
  EXPECT_EQ(dialogs_.Asked().back().caption, "HELP TEXT No.4010");
}

// ---- Tool profile and complement ------------------------------------------------------

TEST_F(DesignInputsTest, ToolOkWritesTheCoefficientsAndCancelLeavesThem) {
  calc::SpurGearData.ToolKindCode[1] = 0;
  calc::SpurGearData.haP0Factor[2] = 1.4L;
  views_.tool = [](app::ToolProfileDialog& d) {
    EXPECT_EQ(d.addendum[2].text, "1.4");
    d.addendum[2].text = "";
    d.ProposeAddendum(2);
    d.dedendum[1].text = "1.1";
    d.Button_cancelClick();
  };
  app::MenuItemClick("mi_editbezugsprofil");
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(common::DataChanged, 0);
  EXPECT_EQ(calc::SpurGearData.haP0Factor[2], 1.4L);
  // The tool code 0 became 4 when the dialog opened.
  EXPECT_EQ(calc::SpurGearData.ToolKindCode[1], 4);

  views_.tool = [](app::ToolProfileDialog& d) {
    d.ProposeAddendum(2);
    d.ProposeDedendum(1);
    EXPECT_EQ(d.addendum[2].text, "1.25");
    EXPECT_EQ(d.dedendum[1].text, "1.0");
    d.dedendum[2].text = "1.2";
    d.Button_okClick();
  };
  app::MenuItemClick("mi_editbezugsprofil");
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(common::DataChanged, 1);
  EXPECT_EQ(calc::SpurGearData.haP0Factor[2], 1.25L);
  EXPECT_EQ(calc::SpurGearData.hfP0Factor[1], 1.0L);
  EXPECT_EQ(calc::SpurGearData.hfP0Factor[2], 1.2L);
  // The recalculated pair uses the new tool.
  EXPECT_EQ(calc::SpurGearData.hfP0FactorUsed[2], 1.2L);
}

TEST_F(DesignInputsTest, ToolCalcRecalculatesEvenWhenTheDialogIsCancelled) {
  views_.tool = [this](app::ToolProfileDialog& d) {
    d.addendum[1].text = "1.3";
    common::AbortFlag = 1;
    d.Button_calcClick();
    EXPECT_EQ(common::AbortFlag, 0);
    EXPECT_EQ(redraws_, 1);
    EXPECT_EQ(d.Result(), DialogResult::Open);
    d.Button_imageClick();
    EXPECT_EQ(common::AbortFlag, 0);
    d.Button_cancelClick();
  };
  app::ShowToolProfileForm();
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(calc::SpurGearData.haP0Factor[1], 1.3L);
}

TEST_F(DesignInputsTest, ComplementDerivesTheMatingToolAndRecomputesTheSpurPair) {
  calc::SpurGearData.haP0Factor[1] = 1.25L;
  calc::SpurGearData.hfP0Factor[1] = 1.0L;
  calc::SpurGearData.hfP0Factor[2] = 1.0L;
  views_.complement = [](app::ComplementDialog& d) {
    EXPECT_EQ(d.ha1.text, "1.25");
    EXPECT_EQ(d.hf1.text, "1");
    EXPECT_EQ(d.c.text, "0.25");
    EXPECT_EQ(d.haP02Label, "haP02/mn = 1.25");
    EXPECT_EQ(d.hfP02Label, "hfP02/mn = 1");
    EXPECT_EQ(d.shiftLabel, "x1 = 0  x2 = 0");
    d.ha1.text = "1.4";
    d.hf1.text = "1.1";
    d.c.text = "0.3";
    d.EditChanged();
    EXPECT_EQ(d.haP02Label, "haP02/mn = 1.4");
    EXPECT_EQ(d.hfP02Label, "hfP02/mn = 1.1");
    EXPECT_EQ(d.shiftLabel, "x1 = 0.01  x2 = 0.01");
    d.Button_okClick();
  };
  std::vector<std::string> shown;
  views_.tool = [&](app::ToolProfileDialog& d) {
    d.Button_complementClick();
    EXPECT_EQ(common::AbortFlag, 0);
    shown = {d.addendum[1].text, d.dedendum[1].text, d.addendum[2].text, d.dedendum[2].text};
    d.Button_cancelClick();
  };
  app::ShowToolProfileForm();
  // The tool dialog showed the complement; its Cancel does not undo it.
  EXPECT_EQ(shown, (std::vector<std::string>{"1.4", "1.1", "1.4", "1.1"}));
  EXPECT_EQ(common::AbortFlag, 1);
  const calc::TSpurGearData& g = calc::SpurGearData;
  EXPECT_EQ(g.haP0Factor[1], 1.4L);
  EXPECT_EQ(g.hfP0Factor[1], 1.1L);
  EXPECT_NEAR(static_cast<double>(g.haP0Factor[2]), 1.4, 1e-15);
  EXPECT_NEAR(static_cast<double>(g.hfP0Factor[2]), 1.1, 1e-15);
  EXPECT_NEAR(static_cast<double>(g.ProfileShift[1]), 0.01, 1e-12);
  EXPECT_NEAR(static_cast<double>(g.ProfileShift[2]), 1 - 1.1 * 2.25 / 2.5 + 0.0, 1e-12);
  for (int i = 1; i <= 2; ++i) {
    EXPECT_EQ(g.ToolKindCode[i], 4);
    EXPECT_EQ(g.TipReduction[i], 0);
    EXPECT_EQ(g.TipDiameter[i], g.TipDiameterTheoretical[i]);
    // Each tip's clearance against the other gear's root.
    EXPECT_NEAR(static_cast<double>(g.c[i]), static_cast<double>(g.CentreDistance - (g.TipDiameter[i] + g.df[3 - i]) / 2),
                1e-9);
  }
}

TEST_F(DesignInputsTest, ComplementLeftAloneKeepsTheToolOfGearOne) {
  // More digits than the edits show.
  calc::SpurGearData.haP0Factor[1] = 1.16667L;
  calc::SpurGearData.hfP0Factor[1] = 0.91667L;
  calc::SpurGearData.hfP0Factor[2] = 0.91667L;
  views_.complement = [](app::ComplementDialog& d) {
    EXPECT_EQ(d.ha1.text, common::RealToText(1.16667L));
    d.Button_okClick();
  };
  views_.tool = [](app::ToolProfileDialog& d) {
    d.Button_complementClick();
    d.Button_okClick();
  };
  app::ShowToolProfileForm();
  const calc::TSpurGearData& g = calc::SpurGearData;
  EXPECT_EQ(g.haP0Factor[1], 1.16667L);
  EXPECT_EQ(g.hfP0Factor[1], 0.91667L);
  EXPECT_EQ(g.haP0Factor[2], 1.16667L);
  EXPECT_EQ(g.hfP0Factor[2], 0.91667L);
}

TEST_F(DesignInputsTest, ToolHintsAreTheHelpLinesAsTheyShow) {
  testsupport::ScratchDirectory dir{"tool_hints"};
  common::PltDirectory = dir.Dir().string();
  // Code page 850: 0x81 is u-umlaut, 0xF8 the degree sign.
  testsupport::Put(dir.Path("vob4.hlp"), "5410\r\nFu\x81 of the tooth\r\n5420\r\nKopf 20\xF8\r\n");
  common::HelpLevel = 1;
  const app::ToolProfileDialog d;
  common::HelpLevel = 0;
  EXPECT_EQ(d.dedendumHint, "Fu\u00fc of the tooth");
  EXPECT_EQ(d.addendumHint, "Kopf 20\u00b0");
}

TEST_F(DesignInputsTest, CancelledComplementAndAToolWithoutDepth) {
  const calc::TSpurGearData before = calc::SpurGearData;
  views_.complement = [](app::ComplementDialog& d) {
    d.ha1.text = "";
    d.hf1.text = "0";
    d.c.text = "0";
    d.EditChanged();
    // No depth: no profile shift instead of a division by zero.
    EXPECT_EQ(d.shiftLabel, "x1 = 0  x2 = 0");
    d.Button_cancelClick();
  };
  views_.tool = [](app::ToolProfileDialog& d) {
    d.addendum[1].text = "typed";
    d.Button_complementClick();
    EXPECT_EQ(common::AbortFlag, 0);
    EXPECT_EQ(d.addendum[1].text, "typed");
    d.Button_cancelClick();
  };
  app::ShowToolProfileForm();
  EXPECT_TRUE(SameGearData(calc::SpurGearData, before));
  EXPECT_EQ(app::ComplementShift(0, 0), 0);
  EXPECT_EQ(app::ComplementShift(1.25L, 1.0L), 0);
}

// ---- Drive ------------------------------------------------------------------------------

TEST_F(DesignInputsTest, LoadComputesTheThirdValueAndTheMenuShowsTheSafety) {
  calc::SpurGearData.LoadChoice = calc::LoadComputesTorque;
  views_.load = [](app::LoadDialog& d) {
    EXPECT_EQ(d.choice, app::LoadDialog::Torque);
    EXPECT_FALSE(d.Enabled(app::LoadDialog::Torque));
    d.ChoiceClicked(app::LoadDialog::Power);
    EXPECT_TRUE(d.Enabled(app::LoadDialog::Torque));
    d.speed.text = "1000";
    d.ComputeLoadTriple();
    d.torque.text = "100";
    d.ComputeLoadTriple();
    EXPECT_EQ(d.power.text, "10.47");
    d.Button_okClick();
  };
  app::MenuItemClick("mi_editAntrieb");
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(common::DataChanged, 1);
  EXPECT_EQ(diagrams_, std::vector<int>{163});
  const calc::TSpurGearData& g = calc::SpurGearData;
  EXPECT_EQ(g.n[1], 1000);
  EXPECT_EQ(g.T[1], 100);
  // The power is stored as computed, not as its rounded text.
  EXPECT_NEAR(static_cast<double>(g.P), 1000 * 100 * 2 * M_PI / 60000, 1e-12);
  EXPECT_EQ(calc::SpurGearData.LoadChoice, calc::LoadComputesPower);
}

TEST_F(DesignInputsTest, LoadWithAZeroDivisorAndInImperialUnits) {
  calc::SpurGearData.n[1] = 0;
  calc::SpurGearData.T[1] = 250;
  calc::SpurGearData.P = 40;
  calc::SpurGearData.LoadChoice = calc::LoadComputesTorque;
  views_.load = [](app::LoadDialog& d) {
    // n = 0: the torque keeps its text.
    EXPECT_EQ(d.torque.text, "250");
    d.speed.text = "0";
    d.ComputeLoadTriple();
    EXPECT_EQ(d.torque.text, "250");
    d.ChoiceClicked(app::LoadDialog::Speed);
    // n from P and T.
    EXPECT_EQ(d.speed.text, common::RealToText(40 * 60000 / (250 * 2 * common::Pi)));
    d.Button_metricClick();
    EXPECT_EQ(d.torqueUnit, "lbfin");
    EXPECT_EQ(d.torque.text, common::TorqueToText(250));
    EXPECT_EQ(d.power.text, "40");
    // In lbfin entered, in Nm computed with.
    d.torque.text = "1000";
    d.ComputeLoadTriple();
    EXPECT_EQ(d.speed.text, common::RealToText(40 * 60000 / (1000 * 0.112984788L * 2 * common::Pi)));
    d.Button_okClick();
  };
  app::ShowLoadForm();
  const calc::TSpurGearData& g = calc::SpurGearData;
  EXPECT_NEAR(static_cast<double>(g.T[1]), 112.984788, 1e-9);
  EXPECT_NEAR(static_cast<double>(g.P * 60000 / (2 * common::Pi * g.T[1] * g.n[1])), 1.0, 1e-15);
  EXPECT_EQ(calc::SpurGearData.LoadChoice, calc::LoadComputesSpeed);
}

TEST_F(DesignInputsTest, LoadCancelLeavesTheDrive) {
  calc::SpurGearData.n[1] = 1500;
  calc::SpurGearData.T[1] = 0;
  calc::SpurGearData.P = 500;
  calc::SpurGearData.LoadChoice = 9;  // not a choice: shown as the start choice, torque
  views_.load = [](app::LoadDialog& d) {
    EXPECT_EQ(d.choice, app::LoadDialog::Torque);
    d.speed.text = "10";
    d.Button_metricClick();
    d.Button_helpClick();
    EXPECT_EQ(common::AbortFlag, 0);
    d.Button_cancelClick();
  };
  app::MenuItemClick("mi_editAntrieb");
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_TRUE(diagrams_.empty());
  EXPECT_EQ(calc::SpurGearData.n[1], 1500);
  EXPECT_EQ(calc::SpurGearData.T[1], 0);
  EXPECT_EQ(calc::SpurGearData.P, 500);
  EXPECT_EQ(calc::SpurGearData.LoadChoice, 9);
}

// The messages the calculation after the drive form left.
std::vector<std::string> Messages() {
  std::vector<std::string> texts;
  for (int i = 1; i <= common::MsgCount; ++i) texts.push_back(common::MsgText[i]);
  return texts;
}

// A negative speed, power or torque entered in the form is refused by the
// calculation after it, naming the quantity; a drive without power is not
// rated as a failing pair: the list says once why there is no rating.
TEST_F(DesignInputsTest, LoadWithoutPowerOrNegative) {
  const calc::TSpurGearData kept = calc::SpurGearData;
  struct Case {
    int computed;
    std::string speed, torque, power;
    std::vector<std::string> messages;
    bool fatal;
  };
  for (const Case& c : std::vector<Case>{
           // The quantity entered, and the one computed from it.
           {app::LoadDialog::Torque, "-5", "", "30", {"Fatal  : n1 < 0 !", "Fatal  : T1 < 0 !"}, true},
           {app::LoadDialog::Torque, "1000", "", "-30", {"Fatal  : P < 0 !", "Fatal  : T1 < 0 !"}, true},
           {app::LoadDialog::Power, "1000", "-100", "", {"Fatal  : P < 0 !", "Fatal  : T1 < 0 !"}, true},
           {app::LoadDialog::Speed, "", "100", "-10", {"Fatal  : n1 < 0 !", "Fatal  : P < 0 !"}, true},
           {app::LoadDialog::Torque, "1000", "", "0", {"Warning: no load (P = 0): not rated !"}, false},
           {app::LoadDialog::Power, "0", "250", "", {"Warning: no speed (n1 = 0): not rated !"}, false},
           // A power for a pinion at rest: the torque cannot follow from it.
           {app::LoadDialog::Torque,
            "0",
            "",
            "30",
            {"Warning: P<>T*n*2PI, P from T and n !", "Warning: no speed (n1 = 0): not rated !"},
            false},
           {app::LoadDialog::Torque, "0.0000001", "", "30", {"Fatal  : T1 > 1E9 Nm !"}, true}}) {
    SCOPED_TRACE(c.speed + " " + c.torque + " " + c.power);
    diagrams_.clear();
    views_.load = [&c](app::LoadDialog& d) {
      d.ChoiceClicked(c.computed);
      if (c.computed != app::LoadDialog::Speed) d.speed.text = c.speed;
      if (c.computed != app::LoadDialog::Torque) d.torque.text = c.torque;
      if (c.computed != app::LoadDialog::Power) d.power.text = c.power;
      d.ComputeLoadTriple();
      d.Button_okClick();
    };
    app::MenuItemClick("mi_editAntrieb");
    EXPECT_EQ(common::FatalFlag, c.fatal ? 1 : 0);
    EXPECT_EQ(Messages(), c.messages);
    // The menu goes on to the safety picture, which shows the messages of a
    // fatal design and the notice of one without load.
    EXPECT_EQ(diagrams_, std::vector<int>{163});
  }
  calc::SpurGearData = kept;
  calc::CalcNoncircularPair();
}

// A torque that power and speed give answers to the limit of an entered
// one, here with no torque entered at all.
TEST_F(DesignInputsTest, DerivedTorqueBeyondTheLimitIsRefused) {
  calc::TSpurGearData& g = calc::SpurGearData;
  g.T[1] = 0;
  g.P = 30;
  g.n[1] = 1e-7L;
  calc::CalcNoncircularPair();
  EXPECT_EQ(common::FatalFlag, 1);
  EXPECT_EQ(Messages(), std::vector<std::string>{"Fatal  : T1 > 1E9 Nm !"});
  g.n[1] = 1000;
  calc::CalcNoncircularPair();
  EXPECT_EQ(common::FatalFlag, 0);
  EXPECT_NEAR(static_cast<double>(g.TUsed[1]), 30 * 60000 / (2 * M_PI * 1000), 1e-9);
}

// ---- Rotation angle ---------------------------------------------------------------------

TEST_F(DesignInputsTest, RotationWindowTurnsThePicture) {
  calc::NcPair.z1 = 20;
  calc::PhiView = 33;
  views_.rotation = [this](app::RotationAngleWindow& w) {
    ASSERT_EQ(pictures_.size(), 1u);
    EXPECT_EQ(w.angle, "0");
    EXPECT_EQ(pictures_[0].phi, 0);
    w.SpinUp();
    EXPECT_EQ(w.angle, "9");
    EXPECT_EQ(w.track, 9);
    w.angle = "4";
    w.SpinDown();
    EXPECT_EQ(w.angle, "0");
    w.angle = "12.4";
    w.AngleChanged();
    EXPECT_EQ(calc::PhiView, 12.4L);
    EXPECT_EQ(w.track, 12);
    w.angle = "12.5";
    w.AngleChanged();
    EXPECT_EQ(w.track, 12);
    w.angle = "13.5";
    w.AngleChanged();
    EXPECT_EQ(w.track, 14);
    w.angle = "400";
    w.AngleChanged();
    EXPECT_EQ(w.track, 360);
    // A text that is no number (yet) leaves the picture where it was.
    w.angle = "x";
    w.AngleChanged();
    EXPECT_EQ(calc::PhiView, 400);
    EXPECT_EQ(w.track, 360);
    w.TrackChanged(45);
    EXPECT_EQ(w.angle, "45");
    EXPECT_EQ(calc::PhiView, 45);
  };
  app::MenuItemClick("mi_viewzahnraederphi1");
  // Every change to an angle drew the pair on the screen at it.
  ASSERT_EQ(pictures_.size(), 8u);
  for (const Picture& p : pictures_) {
    EXPECT_EQ(p.mode, 6);
    EXPECT_EQ(p.device, 3);
  }
  EXPECT_EQ(pictures_[1].phi, 9);
  EXPECT_EQ(pictures_.back().phi, 45);
  // Closing keeps the angle.
  EXPECT_EQ(calc::PhiView, 45);

  // The rack view with the constant module; each showing starts at 0.
  pictures_.clear();
  calc::NcPair.ModuleMode = 2;
  views_.rotation = nullptr;
  app::MenuItemClick("mi_viewzahnstange");
  ASSERT_EQ(pictures_.size(), 1u);
  EXPECT_EQ(pictures_[0].mode, 7);
  EXPECT_EQ(pictures_[0].phi, 0);
}

// Typing that is no number turns nothing; the spin arrows, the hidden OK
// and closing refuse it with a message naming "phi 1", the edit shows the
// last angle drawn again, and the window stays open. An empty edit is 0.
TEST_F(DesignInputsTest, RotationWindowRefusesTextThatIsNoNumber) {
  calc::NcPair.z1 = 20;
  std::vector<std::string> texts;
  std::vector<bool> closed;
  views_.rotation = [&](app::RotationAngleWindow& w) {
    dialogs_.ClearRecord();  // what the menu reported before the window
    w.angle = "30";
    w.AngleChanged();
    w.angle = "abc";
    w.AngleChanged();
    w.SpinUp();
    texts.push_back(w.angle);
    w.angle = "1e999";
    EXPECT_FALSE(w.TakeAngle());
    texts.push_back(w.angle);
    w.angle = "nan";
    w.SpinDown();
    texts.push_back(w.angle);
    w.angle = "-";
    closed.push_back(w.CloseClick());
    texts.push_back(w.angle);
    EXPECT_EQ(calc::PhiView, 30);
    EXPECT_EQ(w.track, 30);
    w.angle = "";
    EXPECT_TRUE(w.TakeAngle());
    closed.push_back(w.CloseClick());
  };
  app::MenuItemClick("mi_viewzahnraederphi1");
  EXPECT_EQ(texts, (std::vector<std::string>{"30", "30", "30", "30"}));
  EXPECT_EQ(closed, (std::vector<bool>{false, true}));
  std::vector<Real> angles;
  for (const Picture& p : pictures_) angles.push_back(p.phi);
  EXPECT_EQ(angles, (std::vector<Real>{0, 30, 0}));
  EXPECT_EQ(calc::PhiView, 0);
  std::vector<std::string> shown;
  for (const auto& asked : dialogs_.Asked()) shown.push_back(asked.text);
  EXPECT_EQ(shown, (std::vector<std::string>{"phi 1: \"abc\" is not a number !",
                                             "phi 1: \"1e999\" is not a finite number !",
                                             "phi 1: \"nan\" is not a finite number !",
                                             "phi 1: \"-\" is not a number !"}));
}

TEST_F(DesignInputsTest, RotationWindowWithoutTeethOrWindows) {
  calc::NcPair.z1 = 0;
  views_.rotation = [](app::RotationAngleWindow& w) {
    w.angle = "10";
    w.SpinUp();
    EXPECT_EQ(w.angle, "10");
  };
  app::ShowRotationAngleForm(6);
  // Without windows there is nothing to show.
  app::SetDesignInputViews(nullptr);
  pictures_.clear();
  common::AbortFlag = 0;
  app::ShowRotationAngleForm(6);
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_TRUE(pictures_.empty());
}

}  // namespace
