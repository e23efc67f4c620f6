// The material input driven through a scripted window: the menu item from
// the edits to the records and the recalculation, Cancel after a copy, the
// unit switch, the pick from the table and the hardness conversion.
#include "app/inputs/material_input.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>

#include "app/data_file.h"
#include "app/design_extras.h"
#include "app/entry_points.h"
#include "app/main_menu.h"
#include "app/main_window.h"
#include "app/start_up.h"
#include "calc/calc_records.h"
#include "calc/noncircular_pair.h"
#include "calc/spur_gear_data.h"
#include "common/kaldvar.h"
#include "common/online_form.h"
#include "platform/scripted_dialogs.h"
#include "support/app_start.h"
#include "support/file_test_support.h"

namespace fs = std::filesystem;

namespace {

using calc::SpurGearData;

class MaterialInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = testsupport::EnterWithDefaultDesign(dir_);
    calc::SpurGearData = calc::TSpurGearData{};
    testsupport::StartProgram();
    app::MainFormCreate();
    common::UnitSystem = common::UnitsMetric;
    app::ReadDataFile("null");
    app::SetDesignExtrasDefaults();
    app::Entry().ShowDiagrams = [this](int code, int device) { diagrams_.emplace_back(code, device); };
    app::Entry().RedrawCurrentView = [this] { ++redraws_; };
  }
  void TearDown() override {
    app::ResetMaterialFormShower();
    app::ResetEntryPoints();
    common::UnitSystem = common::UnitsMetric;
    fs::current_path(previous_);
  }

  // The window: the user's steps on the form, then OK (true) or Cancel.
  void User(std::function<void(app::TMaterialForm&)> steps, bool ok) {
    app::MaterialFormShower() = [this, steps, ok](app::TMaterialForm& form) {
      shown_.push_back(form);
      steps(form);
      if (ok)
        app::MaterialOk(form);
      else
        app::MaterialCancel();
    };
  }

  testsupport::ScratchDirectory dir_{"material_input"};
  fs::path previous_;
  platform::ScriptedDialogs dialogs_;
  platform::ScopedDialogs scoped_{dialogs_};
  std::vector<std::pair<int, int>> diagrams_;
  int redraws_ = 0;
  std::vector<app::TMaterialForm> shown_;
};

}  // namespace

TEST_F(MaterialInputTest, MenuTakesTheEditsAndRecalculatesWithTheSafetyDiagram) {
  calc::CalcNoncircularPair();
  ASSERT_EQ(common::FatalFlag, 0);
  const Real shBefore = calc::SafetyExtremes.SHmin[1];
  common::DataChanged = 0;
  User(
      [](app::TMaterialForm& f) {
        f.Gear[1].Name = "16MnCr5 \xC3\xA9";  // display text (UTF-8)
        f.Gear[1].SigmaHlim.text = "1000";
        f.Gear[1].SigmaFE.text = "700";
        f.Gear[1].HB.text = "600";
        f.Gear[1].TypeIndex = 2;  // heat-treatable steel
        f.Gear[1].HeatIndex = 3;  // induction-hardened
        app::CopyMaterialGear(f, 1, 2);
        f.Gear[2].Density.text = "7,85";  // a comma reads as a point
      },
      true);
  app::MenuItemClick("mi_EditMaterial");

  ASSERT_EQ(shown_.size(), 1u);
  const app::TMaterialForm& shown = shown_[0];
  EXPECT_EQ(shown.Caption, common::ProgramTitle + "  Material data, hardness, Heat treatment");
  ASSERT_EQ(shown.TypeItems.size(), 8u);
  EXPECT_EQ(shown.TypeItems[0], "Low carbon steel (St)");
  EXPECT_EQ(shown.TypeItems[7], "others ...");
  ASSERT_EQ(shown.HeatItems.size(), 8u);
  EXPECT_EQ(shown.HeatItems[0], "none");
  EXPECT_EQ(shown.HeatItems[7], "nitrocar.(NV)");
  EXPECT_EQ(shown.StressUnit, "MPa");
  EXPECT_EQ(shown.Gear[1].SigmaHlim.text, "1500");  // the start values
  EXPECT_EQ(shown.Gear[1].Poisson.text, "0.3");

  EXPECT_EQ(common::AbortFlag, 0);
  for (int g = 1; g <= 2; ++g) {
    EXPECT_EQ(SpurGearData.SigmaHlim[g], 1000) << g;
    EXPECT_EQ(SpurGearData.SigmaFE[g], 700) << g;
    EXPECT_EQ(SpurGearData.HB[g], 600) << g;
    EXPECT_EQ(SpurGearData.MaterialType[g], 3) << g;
    EXPECT_EQ(SpurGearData.HeatTreatment[g], 3) << g;
    EXPECT_EQ(app::MaterialName[g], "16MnCr5 \x82") << g;  // code page 850
  }
  EXPECT_NEAR(static_cast<double>(SpurGearData.rho[2]), 7.85, 1e-12);
  // The lower flank strength lowers the pitting safety about in proportion.
  EXPECT_NEAR(static_cast<double>(calc::SafetyExtremes.SHmin[1] / shBefore), 1000.0 / 1500, 0.05);
  EXPECT_EQ(common::DataChanged, 1);
  EXPECT_EQ(diagrams_, (std::vector<std::pair<int, int>>{{16, 3}}));
}

TEST_F(MaterialInputTest, CancelAfterCopyKeepsGearTwoAndSkipsTheCalculation) {
  SpurGearData.SigmaHlim[2] = 1234;
  app::MaterialRecNo[1] = 7;
  app::MaterialRecNo[2] = 3;
  User(
      [](app::TMaterialForm& f) {
        f.Gear[1].SigmaHlim.text = "900";
        app::CopyMaterialGear(f, 1, 2);
        EXPECT_EQ(f.Gear[2].SigmaHlim.text, "900");
        EXPECT_EQ(f.Gear[2].RecNo, 7);  // the remembered record goes along
      },
      false);
  app::MenuItemClick("mi_EditMaterial");
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(SpurGearData.SigmaHlim[2], 1234);
  EXPECT_EQ(SpurGearData.SigmaHlim[1], 1500);
  EXPECT_EQ(app::MaterialRecNo[2], 3);
  EXPECT_TRUE(diagrams_.empty());

  // Without a window the form ends as cancelled.
  app::ResetMaterialFormShower();
  app::ShowMaterialForm();
  EXPECT_EQ(common::AbortFlag, 1);
}

TEST_F(MaterialInputTest, ImperialUnitsShowPsiAndReadBackMegapascal) {
  SpurGearData.SigmaHlim[1] = 1000;
  app::TMaterialForm form = app::CreateMaterialForm();
  app::MaterialToggleUnits(form);
  EXPECT_EQ(common::UnitSystem, common::UnitsImperial);
  EXPECT_EQ(form.StressUnit, "psi");
  EXPECT_NEAR(std::stod(form.Gear[1].SigmaHlim.text), 145037, 1);
  app::MaterialOk(form);
  EXPECT_NEAR(static_cast<double>(SpurGearData.SigmaHlim[1]), 1000, 0.01);
  app::MaterialToggleUnits(form);
  EXPECT_EQ(form.Gear[1].SigmaHlim.text, "1000");

  // "Calc" takes the edits and recalculates; the form stays open.
  form.Gear[2].SigmaFE.text = "650";
  app::MaterialCalc(form);
  EXPECT_EQ(SpurGearData.SigmaFE[2], 650);
  EXPECT_EQ(redraws_, 1);
}

TEST_F(MaterialInputTest, PickFromTableFillsOneGearUntilOk) {
  // The table as the material table leaves it after OK on a record.
  std::vector<int> openedOn;
  bool cancelTable = false;
  app::Entry().SelectGearMaterial = [&](int gear, int mode) {
    EXPECT_EQ(mode, 1);
    openedOn.push_back(app::MaterialRecNo[gear]);
    if (cancelTable) {
      common::AbortFlag = 1;
      return;
    }
    app::MaterialName[gear] = "42CrMo4";
    SpurGearData.SigmaHlim[gear] = 770;
    SpurGearData.SigmaFE[gear] = 600;
    SpurGearData.HB[gear] = 300;
    SpurGearData.MaterialType[gear] = 3;
    SpurGearData.HeatTreatment[gear] = 1;
    app::MaterialRecNo[gear] = 12;
  };
  app::TMaterialForm form = app::CreateMaterialForm();
  form.Gear[1].SigmaHlim.text = "1111";  // typed on the other gear
  app::PickMaterialFromTable(form, 2);
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(form.Gear[2].Name, "42CrMo4");
  EXPECT_EQ(form.Gear[2].SigmaHlim.text, "770");
  EXPECT_EQ(form.Gear[2].TypeIndex, 2);
  EXPECT_EQ(form.Gear[2].HeatIndex, 1);
  EXPECT_EQ(form.Gear[2].RecNo, 12);
  EXPECT_EQ(form.Gear[1].SigmaHlim.text, "1111");
  // The records wait for OK.
  EXPECT_EQ(SpurGearData.SigmaHlim[2], 1500);
  EXPECT_EQ(app::MaterialRecNo[2], 0);

  // The next pick opens on the record picked before; a cancelled table
  // changes nothing.
  cancelTable = true;
  form.Gear[2].SigmaHlim.text = "780";
  app::PickMaterialFromTable(form, 2);
  EXPECT_EQ(openedOn, (std::vector<int>{0, 12}));
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(form.Gear[2].SigmaHlim.text, "780");

  app::MaterialOk(form);
  EXPECT_EQ(app::MaterialName[2], "42CrMo4");
  EXPECT_EQ(SpurGearData.SigmaHlim[2], 780);
  EXPECT_EQ(SpurGearData.SigmaHlim[1], 1111);
  EXPECT_EQ(app::MaterialRecNo[2], 12);
  EXPECT_EQ(app::MaterialRecNo[1], 0);
}

TEST_F(MaterialInputTest, HardnessButtonTakesTheBrinellValueUnlessCancelled) {
  // The conversion form: the user's exits in turn, with the HV row edited.
  std::deque<common::OnlineFormResult> exits;
  const common::OnlineFormView previous = common::SetOnlineFormView([&](int row, int) {
    common::OnlineFormResult r;
    r.edits = common::OnlineInputValues;
    r.row = row;
    if (!exits.empty()) {
      r = exits.front();
      exits.pop_front();
    }
    return r;
  });
  app::TMaterialForm form = app::CreateMaterialForm();

  // Escape keeps the text as typed.
  form.Gear[1].HB.text = "300.4";
  exits.push_back({common::OnlineExit::Escape, 11, common::OnlineInputValues});
  app::ConvertMaterialHardness(form, 1);
  EXPECT_EQ(form.Gear[1].HB.text, "300.4");
  EXPECT_EQ(common::AbortFlag, 0);

  // HV 240 entered, then "&Close": HB = 0.95 x 240 = 228.
  common::OnlineFormResult enter{common::OnlineExit::Enter, 2, {}};
  enter.edits[2] = "240";
  exits = {enter, {common::OnlineExit::Close, 2, {}}};
  app::ConvertMaterialHardness(form, 1);
  EXPECT_EQ(form.Gear[1].HB.text, "228");

  // A Brinell value outside the table gives no conversion: the text stays.
  form.Gear[2].HB.text = "20";
  exits = {{common::OnlineExit::Close, 11, {}}};
  app::ConvertMaterialHardness(form, 2);
  EXPECT_EQ(form.Gear[2].HB.text, "20");
  common::SetOnlineFormView(previous);
}
