// The printout dialog's model: the proposals by the kind of picture on the
// screen, the tolerant reading of the controls, and the presets loaded from
// and stored into the shipped table "printout.dbf" through the table window
// (the stored record read back by dbfread).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/data_file.h"
#include "app/entry_points.h"
#include "app/printouts/printout_config.h"
#include "calc/noncircular_pair.h"
#include "calc/spur_gear_data.h"
#include "common/graphics_settings.h"
#include "common/graphics_window.h"
#include "common/kaldvar.h"
#include "dbase/dbase_test_support.h"
#include "platform/scripted_dialogs.h"
#include "support/app_tables.h"

namespace {

namespace fs = std::filesystem;
using platform::ScriptedAnswer;
using testsupport::AppTables;

void Pick(dbase::Tdbf4& window, int n) {
  window.GoRecord(n);
  window.StoreRecNo();
}

TEST_F(AppTables, ProposalsByThePictureOnTheScreen) {
  auto& pr = common::PrinterGraphicsSettings;
  pr.ScreendumpScale = 0.8;
  pr.PrintScaleVertical = 0.7;
  pr.ScreendumpOriginX = 15;
  pr.ScreendumpOriginY = 25;
  pr.ScreendumpBorder = true;
  pr.PrinterOrientation = 2;
  common::WindowsPrintMode = 1;

  // A drawing sheet: its own values, whatever the configuration holds.
  common::PrintPictureKind = common::PictureSheet;
  app::TPrintConfigFields f = app::PrintConfigFieldsOnCreate();
  EXPECT_EQ(f.scaleX, "1");  // equal scales: the sheet keeps its proportions
  EXPECT_EQ(f.scaleY, "1");
  EXPECT_EQ(f.originX, "0");
  EXPECT_EQ(f.originY, "0");
  EXPECT_FALSE(f.border);
  EXPECT_EQ(f.orientationItem, 0);
  EXPECT_EQ(f.colourItem, 0);  // the colour mode stays

  // A diagram: the configured screendump values and orientation; the
  // sheet's portrait did not replace the configured landscape.
  common::PrintPictureKind = common::PictureDiagram;
  f = app::PrintConfigFieldsOnCreate();
  EXPECT_EQ(f.scaleX, "0.8");
  EXPECT_EQ(f.scaleY, "0.7");
  EXPECT_EQ(f.originX, "15");
  EXPECT_EQ(f.originY, "25");
  EXPECT_TRUE(f.border);
  EXPECT_EQ(f.orientationItem, 1);
  EXPECT_EQ(pr.PrinterOrientation, 2);
  pr.PrinterOrientation = 1;
  common::PrintPictureKind = common::PictureDrawing;
  EXPECT_EQ(app::PrintConfigFieldsOnCreate().orientationItem, 0);
  pr.PrinterOrientation = 2;

  // Another kind keeps the working settings.
  pr.PrintFactorX = 3;
  common::PrintPictureKind = 9;
  EXPECT_EQ(app::PrintConfigFieldsOnCreate().scaleX, "3");

  // The controls back. A text that is no number never reads as 0: it is
  // refused, naming its field, and shows what the dialog showed again.
  const app::TPrintConfigFields shown = f;
  f.scaleX = "abc";
  f.scaleY = "1,25";
  f.originX = "12x";
  f.originY = "-5";
  f.border = false;
  f.orientationItem = 1;
  f.colourItem = 1;
  EXPECT_FALSE(app::AcceptPrintConfigFields(f, shown));
  EXPECT_EQ(f.scaleX, "0.8");
  EXPECT_FALSE(app::AcceptPrintConfigFields(f, shown));
  EXPECT_EQ(f.originX, "15");
  f.scaleY = "1e999";
  EXPECT_FALSE(app::AcceptPrintConfigFields(f, shown));
  EXPECT_EQ(f.scaleY, "0.7");
  f.scaleY = "1,25";
  f.originY = "2.5";
  EXPECT_FALSE(app::AcceptPrintConfigFields(f, shown));
  EXPECT_EQ(f.originY, "25");
  f.originY = "-5";
  f.scaleX = "";
  std::vector<std::string> messages;
  for (const auto& asked : dialogs_.Asked()) messages.push_back(asked.text);
  EXPECT_EQ(messages, (std::vector<std::string>{"Scale x: \"abc\" is not a number !",
                                                "Origin x: \"12x\" is not a whole number !",
                                                "Scale y: \"1e999\" is not a finite number !",
                                                "Origin y: \"2.5\" is not a whole number !"}));
  // Numbers pass, an empty edit as 0.
  ASSERT_TRUE(app::AcceptPrintConfigFields(f, shown));
  app::ReadPrintSettings(f);
  EXPECT_EQ(pr.PrintFactorX, 0);
  EXPECT_EQ(pr.PrintFactorY, 1.25);
  EXPECT_EQ(pr.PrintMarginLeft, 15);
  EXPECT_EQ(pr.PrintMarginTop, -5);
  EXPECT_FALSE(pr.PrintBorder);
  EXPECT_EQ(pr.PrintOrientation, 2);
  EXPECT_EQ(common::WindowsPrintMode, 2);
  EXPECT_EQ(app::PrinterLabelText("PDF"), std::string(37, ' ') + "PDF");

  // Without a window the menu's dialog ends as cancelled.
  common::AbortFlag = 0;
  app::Entry().ShowPrintConfigForm();
  EXPECT_EQ(common::AbortFlag, 1);
}

TEST_F(AppTables, PresetsLoadedAndStored) {
  ShipTable("printout.dbf");
  app::TPrintConfigFields f;
  f.scaleX = "2";
  const app::TPrintConfigFields before = f;

  // Cancel in the table leaves every control as it was.
  view_.script = [](dbase::Tdbf4& w) { w.CancelClick(); };
  app::LoadPrintPreset(f);
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(f, before);
  EXPECT_EQ(view_.mode, 0);  // presets can be edited there too
  EXPECT_NE(view_.caption.find("Printout"), std::string::npos);

  // OK fills the four edits and the four switches from the chosen record.
  view_.script = [](dbase::Tdbf4& w) { Pick(w, 2); };
  app::LoadPrintPreset(f);
  EXPECT_EQ(common::AbortFlag, 0);
  EXPECT_EQ(f.scaleX, "1.0000");
  EXPECT_EQ(f.originX, "10");
  EXPECT_EQ(f.originY, "10");
  EXPECT_EQ(f.orientationItem, 1);
  EXPECT_EQ(f.colourItem, 1);
  EXPECT_TRUE(f.fitLimits);
  EXPECT_TRUE(f.border);
  EXPECT_EQ(common::PrinterGraphicsSettings.PresetRecord, 2);
  EXPECT_EQ(common::PrinterGraphicsSettings.PrintFactorX, 1.0);  // changed only at OK

  // Stored: landscape, colour, fit limits on, border off; it loads back
  // with exactly these switches, and an independent reader sees it.
  app::TPrintConfigFields stored;
  stored.scaleX = "1.5";
  stored.scaleY = "0,75";
  stored.originX = "20";
  stored.originY = "30";
  stored.orientationItem = 1;
  stored.colourItem = 1;
  stored.fitLimits = true;
  stored.border = false;
  dialogs_.Then(ScriptedAnswer::Enter("Large landscape"));
  app::StorePrintPreset(stored);
  EXPECT_EQ(common::AbortFlag, 0);
  view_.script = [](dbase::Tdbf4& w) { Pick(w, 4); };
  app::TPrintConfigFields loaded;
  app::LoadPrintPreset(loaded);
  EXPECT_EQ(view_.records, 4);
  EXPECT_EQ(loaded.scaleX, "1.5000");
  EXPECT_EQ(loaded.scaleY, "0.7500");
  EXPECT_EQ(loaded.originY, "30");
  EXPECT_EQ(loaded.orientationItem, 1);
  EXPECT_EQ(loaded.colourItem, 1);
  EXPECT_TRUE(loaded.fitLimits);
  EXPECT_FALSE(loaded.border);
  if (!dbtest::HasPythonModule("dbfread")) GTEST_SKIP() << "python3-dbfread is missing";
  const std::string rows = dbtest::RunCommand(
      "/usr/bin/python3 -c \"import dbfread; r = list(dbfread.DBF('" + (dir_ / "dbf" / "printout.dbf").string() +
      "'))[-1]; print(r['NAME'], r['XSCALE'], r['YSCALE'], r['XORIGIN'], r['YORIGIN'], r['LANDSCAPE'], "
      "r['MONOCHROM'], r['VARIABLE'], r['BORDERLINE'])\"");
  EXPECT_EQ(rows, "Large landscape 1.5 0.75 20 30 True False True False\n");
}

TEST_F(AppTables, PresetsFromTheWorkingDirectoryAndMissingTable) {
  // A cancelled name stores nothing.
  ShipTable("printout.dbf");
  app::StorePrintPreset(app::TPrintConfigFields{});
  view_.script = [](dbase::Tdbf4& w) { w.CancelClick(); };
  app::TPrintConfigFields f;
  app::LoadPrintPreset(f);
  EXPECT_EQ(view_.records, 3);

  // A copy in the working directory comes first.
  fs::copy_file(dir_ / "dbf" / "printout.dbf", dir_ / "printout.dbf");
  dialogs_.Then(ScriptedAnswer::Enter("local"));
  app::StorePrintPreset(f);
  app::LoadPrintPreset(f);
  EXPECT_EQ(view_.records, 4);
  fs::remove(dir_ / "printout.dbf");
  app::LoadPrintPreset(f);
  EXPECT_EQ(view_.records, 3);

  // No table: its message, AbortFlag set, the controls and the window
  // untouched.
  fs::remove(dir_ / "dbf" / "printout.dbf");
  common::WriteCheckFlags.fill(0);
  view_.shown = 0;
  f.scaleX = "7";
  dialogs_.ClearRecord();
  app::LoadPrintPreset(f);
  EXPECT_EQ(common::AbortFlag, 1);
  EXPECT_EQ(f.scaleX, "7");
  EXPECT_EQ(view_.shown, 0);
  ASSERT_FALSE(dialogs_.Asked().empty());
  EXPECT_NE(dialogs_.Asked()[0].text.find("not found or no access"), std::string::npos);
}

}  // namespace

namespace {

// The screen device leaves the kind of picture for the printout dialog.
TEST(PictureKind, SetByThePictureOnTheScreen) {
  app::SetDesignInputDefaults();
  calc::SpurGearData.n[1] = 1000;  // the diagrams over time need a speed
  calc::CalcNoncircularPair();
  ASSERT_EQ(common::FatalFlag, 0);
  common::AbortFlag = 0;
  app::Entry().DrawQuickSheet(4, 3);
  EXPECT_EQ(common::PrintPictureKind, common::PictureSheet);
  common::AbortFlag = 0;
  app::Entry().ShowDiagrams(2, 3);
  EXPECT_EQ(common::PrintPictureKind, common::PictureDiagram);
  common::AbortFlag = 0;
  app::Entry().DrawGears(5, 3);
  EXPECT_EQ(common::PrintPictureKind, common::PictureDrawing);
}

}  // namespace
