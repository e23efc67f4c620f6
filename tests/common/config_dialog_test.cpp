// The configuration dialog without its window, end to end: values changed
// in the controls, OK, Save, the configuration file written and read back
// into fresh settings; Cancel after edits and after an import leaves every
// setting as it was; an older, shorter file imported shows only its items;
// the copy-back rules (pixel fields, zero factors, scales, text window);
// the buttons that write defaults or ask; the visibility rules; and a copy
// into the controls and back that changes nothing.
#include "common/config_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numbers>

#include "common/cad_settings.h"
#include "common/config_file.h"
#include "common/graphics_settings.h"
#include "common/kaldvar.h"
#include "common/text_file.h"
#include "platform/scripted_dialogs.h"
#include "support/file_test_support.h"

using namespace common;
namespace fs = std::filesystem;
using platform::AskedDialog;
using platform::ScriptedAnswer;

namespace {

void AllDefaults() {
  SetKaldvarDefaults();
  SetWkaldvarDefaults();
  SetProgramIdentity();
  InitScreenGraphicsSettings();
  InitPrinterGraphicsSettings();
  InitCadSettings();
  InitConfigOnlySettings();
}

class ConfigDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AllDefaults();
    ConfigDirectory = dir_.Dir().string();
    AbortFlag = 0;
    screen_.width = 1600;
    screen_.height = 900;
    screen_.frameDx = -16;
    screen_.frameDy = -60;
  }
  void TearDown() override { SharedTextFile.Discard(); }

  testsupport::ScratchDirectory dir_{"config_dialog"};
  platform::ScriptedDialogs dialogs_;
  platform::ScopedDialogs scoped_{dialogs_};
  TConfigScreen screen_;
};

TEST_F(ConfigDialogTest, OkAndSaveWriteTheFileThatReadsBack) {
  ConfigDialogSession session;
  TConfigDialogValues& v = session.Values();
  EXPECT_EQ(v.text["Edit_lines"], std::to_string(LinesPerPage));
  v.text["Edit_lines"] = "50";
  v.index["RadioGroup_header"] = 1;
  v.index["ComboBox_unit"] = 1;
  v.text["Edit_3dx"] = "30";
  v.layers[3][1] = "7";
  v.panelColours[4] = RgbColour(1, 2, 3);
  v.check["CheckBox_zeichlogo"] = false;  // the logo is switched off: byte 1
  v.text["Edit_dirtemp"] = "/tmp/vob";
  session.Ok(screen_);
  EXPECT_EQ(AbortFlag, 0);
  EXPECT_EQ(LinesPerPage, 50);
  EXPECT_EQ(HeaderMode, 2);
  EXPECT_EQ(UnitSystem, UnitsImperial);
  EXPECT_NEAR(static_cast<double>(View3DAngles[1]), 30 * std::numbers::pi / 180, 1e-12);
  EXPECT_EQ(CadSettings.CadLayerColours[4], 7);
  EXPECT_EQ(ScreenGraphicsSettings.ColorTable[5], RgbColour(1, 2, 3));
  EXPECT_EQ(CadSettings.CadFrameOptions[FrameOptLogo], 1);
  // OK alone writes no file.
  EXPECT_FALSE(fs::exists(dir_.Dir() / "vob4.cfg"));

  session.Save(screen_);
  ASSERT_EQ(AbortFlag, 0);
  ASSERT_TRUE(fs::exists(dir_.Dir() / "vob4.cfg"));
  AllDefaults();
  ConfigDirectory = dir_.Dir().string();
  ReadConfigFile();
  EXPECT_EQ(LinesPerPage, 50);
  EXPECT_EQ(HeaderMode, 2);
  EXPECT_EQ(UnitSystem, UnitsImperial);
  EXPECT_NEAR(static_cast<double>(View3DAngles[1]), 30 * std::numbers::pi / 180, 1e-7);  // 7 decimals
  EXPECT_EQ(CadSettings.CadLayerColours[4], 7);
  EXPECT_EQ(ScreenGraphicsSettings.ColorTable[5], RgbColour(1, 2, 3));
  EXPECT_EQ(CadSettings.CadFrameOptions[FrameOptLogo], 1);
  EXPECT_EQ(TempDirectory, "/tmp/vob");
}

TEST_F(ConfigDialogTest, OkMakesTheNextTableOpenCheckTheDirectoryAgain) {
  // The table layer's write check of this run (checked, writable).
  WriteCheckFlags[1] = 1;
  WriteCheckFlags[2] = 1;
  {
    ConfigDialogSession session;
    session.Values().text["Edit_dirdbf"] = "/somewhere/else";
    session.Cancel();
  }
  EXPECT_EQ(WriteCheckFlags[1], 1) << "Cancel changes no directory";
  ConfigDialogSession session;
  session.Values().text["Edit_dirdbf"] = "/somewhere/else";
  session.Ok(screen_);
  EXPECT_EQ(WriteCheckFlags[1], 0);
  EXPECT_EQ(DbfDirectory, "/somewhere/else");
  const auto& controls = ConfigControls();
  const auto box = std::find_if(controls.begin(), controls.end(),
                                [](const TConfigControl& c) { return c.name == "CheckBox_dbftemp"; });
  ASSERT_NE(box, controls.end());
  EXPECT_EQ(box->caption, "copy DBF -> TEMP");
}

TEST_F(ConfigDialogTest, CopyIntoTheControlsAndBackChangesNothing) {
  LinesPerPage = 72;
  DecimalSign = 2;
  HorizontalPixels = 1023;
  VerticalPixels = 767;
  RuleStyle = 2;  // box lines, shown as "lines"
  CadSettings.CadFrameOptions[FrameOptChanges] = 1;
  TConfigDialogValues first;
  ConfigToDialog(first);
  DialogToConfig(first, screen_);
  TConfigDialogValues second;
  ConfigToDialog(second);
  for (const auto& [name, text] : first.text) EXPECT_EQ(text, second.text[name]) << name;
  EXPECT_EQ(first.index, second.index);
  EXPECT_EQ(first.check, second.check);
  EXPECT_EQ(first.layers, second.layers);
  EXPECT_EQ(first.plotLines, second.plotLines);
  EXPECT_EQ(RuleStyle, 2);
  EXPECT_EQ(DecimalSign, 2);
  EXPECT_EQ(CadSettings.CadFrameOptions[FrameOptChanges], 1);
}

// The edits show reals with few digits; OK on a dialog the user did not
// touch keeps every real exactly, also after a second OK; an edited field
// is read from its text (angles in degrees).
TEST_F(ConfigDialogTest, OkOnAnUntouchedDialogKeepsEveryRealExactly) {
  auto& sg = ScreenGraphicsSettings;
  auto& pg = PrinterGraphicsSettings;
  sg.ZoomIncrement = 1.0237L;
  sg.PanFactor = 0.0123456L;
  sg.TextWidthFactor = 0.81234L;
  sg.TextHeightFactor = 1.00049L;
  CadSettings.CadArcResolution = 0.0123456L;
  CadSettings.CadScaleSetting = 1.23456L;
  CadSettings.CadTextWidthRatio = 0.98765L;
  CadSettings.CadFontSlant = 12.3456L;
  pg.ScreendumpScale = 0.777777;
  pg.PrintScaleVertical = 0.666666;
  View3DAngles[1] = 0.3L;
  View3DAngles[2] = -1.2345L;
  View3DAngles[3] = 2.0L / 3;
  const TScreenGraphicsSettings screen = sg;
  const TCadSettings cad = CadSettings;
  const TPrinterGraphicsSettings printer = pg;
  const auto angles = View3DAngles;
  for (int pass = 0; pass < 2; ++pass) {
    ConfigDialogSession session;
    EXPECT_EQ(session.Values().text["Edit_zoom"], "1.024");  // what the user sees
    session.Ok(screen_);
    EXPECT_TRUE(sg == screen) << pass;
    EXPECT_EQ(CadSettings.CadArcResolution, cad.CadArcResolution);
    EXPECT_EQ(CadSettings.CadScaleSetting, cad.CadScaleSetting);
    EXPECT_EQ(CadSettings.CadTextWidthRatio, cad.CadTextWidthRatio);
    EXPECT_EQ(CadSettings.CadFontSlant, cad.CadFontSlant);
    EXPECT_EQ(pg.ScreendumpScale, printer.ScreendumpScale);
    EXPECT_EQ(pg.PrintScaleVertical, printer.PrintScaleVertical);
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(View3DAngles[i], angles[i]) << i;
  }
  ConfigDialogSession session;
  session.Values().text["Edit_zoom"] = "1.5";
  session.Values().text["Edit_3dx"] = "90";
  session.Ok(screen_);
  EXPECT_EQ(sg.ZoomIncrement, 1.5L);
  EXPECT_NEAR(static_cast<double>(View3DAngles[1]), std::numbers::pi / 2, 1e-15);
  EXPECT_EQ(View3DAngles[2], angles[2]);
  EXPECT_EQ(CadSettings.CadArcResolution, cad.CadArcResolution);
}

TEST_F(ConfigDialogTest, CancelAfterEditsAndImportLeavesEverySetting) {
  // A file of other settings to import.
  LinesPerPage = 40;
  CadSettings.CadTextFont = "IMPORTED";
  WriteConfigFileTo(dir_.Path("other.cfg"));
  AllDefaults();
  ConfigDirectory = dir_.Dir().string();
  const TCadSettings cad = CadSettings;
  const TScreenGraphicsSettings screen = ScreenGraphicsSettings;
  const std::int32_t lines = LinesPerPage;

  ConfigDialogSession session;
  session.Values().text["Edit_cadtextfont"] = "EDITED";
  ASSERT_TRUE(ConfigButtonClick(session.Values(), "Button_resetcolor"));
  dialogs_.Then(ScriptedAnswer::File(dir_.Path("other.cfg")));
  session.Import();
  EXPECT_EQ(AbortFlag, 0);
  // The import is shown, the running settings are not touched yet.
  EXPECT_EQ(session.Values().text["Edit_cadtextfont"], "IMPORTED");
  EXPECT_EQ(session.Values().text["Edit_lines"], "40");
  EXPECT_EQ(LinesPerPage, lines);
  EXPECT_EQ(CadSettings.CadTextFont, cad.CadTextFont);
  ASSERT_EQ(dialogs_.Asked().size(), 1u);
  EXPECT_EQ(dialogs_.Asked()[0].filter, "*.cfg|*.cfg");

  session.Cancel();
  EXPECT_EQ(AbortFlag, 1);
  EXPECT_EQ(CadSettings, cad);
  EXPECT_EQ(ScreenGraphicsSettings, screen);
  EXPECT_EQ(LinesPerPage, lines);
}

TEST_F(ConfigDialogTest, ImportOfAnOlderFileShowsOnlyItsItems) {
  PrinterType = 7;
  CadSettings.CadTextFont = "OLD";
  WriteConfigFileTo(dir_.Path("full.cfg"));
  // The file of an older version ends after item 12 (two header lines,
  // label and value of each item; items 1-5 have two values each).
  std::vector<std::string> lines = testsupport::SplitLines(testsupport::Slurp(dir_.Path("full.cfg")));
  lines.resize(2 + 5 * 4 + 7 * 2);
  testsupport::Put(dir_.Dir() / "old.cfg", testsupport::Joined(lines));

  AllDefaults();
  ConfigDirectory = dir_.Dir().string();
  CadSettings.CadTextFont = "RUNNING";
  LinesPerPage = 33;
  ConfigDialogSession session;
  dialogs_.Then(ScriptedAnswer::File(dir_.Path("old.cfg")));
  session.Import();
  EXPECT_EQ(session.Values().text["Edit_cadtextfont"], "OLD");
  // Items after the file's end show the running settings.
  EXPECT_EQ(session.Values().text["Edit_lines"], "33");
  session.Ok(screen_);
  EXPECT_EQ(CadSettings.CadTextFont, "OLD");
  EXPECT_EQ(LinesPerPage, 33);
}

TEST_F(ConfigDialogTest, ExportWritesTheShownSettingsToTheChosenFile) {
  ConfigDialogSession session;
  session.Values().text["Edit_lines"] = "58";
  dialogs_.Then(ScriptedAnswer::File(dir_.Path("exported.cfg")));
  session.Export(screen_);
  ASSERT_EQ(AbortFlag, 0);
  AllDefaults();
  ReadConfigFileFrom(dir_.Path("exported.cfg"));
  EXPECT_EQ(LinesPerPage, 58);
  // A cancelled save dialog writes nothing.
  session.Export(screen_);
  EXPECT_EQ(AbortFlag, 1);
}

// A number field that holds no number would be taken as 0 (and then as a
// rule's default) or as an infinity: OK, Save and Export refuse it with a
// message naming the field, which shows its old text again, and take,
// write and ask nothing. Fields left as they were keep their exact values.
TEST_F(ConfigDialogTest, TextThatIsNoNumberIsRefusedBeforeAnythingIsTaken) {
  ScreenGraphicsSettings.ZoomIncrement = 1.0123456789L;
  ScreenGraphicsSettings.PanFactor = 0.02L;
  ConfigDialogSession session;
  TConfigDialogValues& v = session.Values();
  const std::string zoomShown = v.text["Edit_zoom"];
  const std::string linesShown = v.text["Edit_lines"];
  const std::string widthShown = v.layers[1][2];
  v.text["Edit_pan"] = "0.05";
  v.text["Edit_zoom"] = "abc";
  EXPECT_FALSE(session.Ok(screen_));
  EXPECT_EQ(v.text["Edit_zoom"], zoomShown);
  v.text["Edit_lines"] = "1e999";
  EXPECT_FALSE(session.Save(screen_));
  EXPECT_EQ(v.text["Edit_lines"], linesShown);
  EXPECT_FALSE(fs::exists(dir_.Dir() / "vob4.cfg"));
  v.layers[1][2] = "thick";
  EXPECT_FALSE(session.Export(screen_));
  EXPECT_EQ(v.layers[1][2], widthShown);
  v.text["Edit_3dx"] = "-inf";
  EXPECT_FALSE(session.Ok(screen_));
  EXPECT_EQ(ScreenGraphicsSettings.PanFactor, 0.02L) << "nothing taken while a field is refused";
  std::vector<std::string> messages;
  for (const AskedDialog& asked : dialogs_.Asked()) messages.push_back(asked.text);
  EXPECT_EQ(messages, (std::vector<std::string>{"zoom increment: \"abc\" is not a number !",
                                                "Max. lines per page for printer: \"1e999\" is not a finite number !",
                                                "Line thickness of layer 2: \"thick\" is not a whole number !",
                                                "3D - Default x: \"-inf\" is not a finite number !"}));

  // Corrected, OK takes the fields; an empty pixel field is 0 and its rule
  // gives the screen's size, as before.
  v.text["Edit_x"] = "";
  ASSERT_TRUE(session.Ok(screen_));
  EXPECT_EQ(ScreenGraphicsSettings.PanFactor, 0.05L);
  EXPECT_EQ(ScreenGraphicsSettings.ZoomIncrement, 1.0123456789L);
  EXPECT_EQ(HorizontalPixels, 1600 - 16);
}

TEST_F(ConfigDialogTest, CopyBackRules) {
  TConfigDialogValues v;
  ConfigToDialog(v);
  v.text["Edit_x"] = "0";
  v.text["Edit_y"] = "7000";
  v.text["Edit_zoom"] = "0";
  v.text["Edit_textbreitenfaktor"] = "0";
  v.text["Edit_texthoehenfaktor"] = "0";
  v.text["Edit_massfaktorconfig"] = "0.005";
  v.index["SpinEdit_dialogsize"] = 0;
  v.index["SpinEdit_dialogelemente"] = 0;
  v.text["Edit_twleft"] = "1200";
  v.text["Edit_twtop"] = "-3";
  v.text["Edit_twwidth"] = "20";
  v.text["Edit_twheight"] = "2000";
  v.text["Edit_dxfdec"] = "40";
  v.text["Edit_lines"] = "3";
  DialogToConfig(v, screen_);
  EXPECT_EQ(HorizontalPixels, 1600 - 16);
  EXPECT_EQ(VerticalPixels, 5000);
  EXPECT_EQ(ScreenGraphicsSettings.ZoomIncrement, 1.0L);
  EXPECT_EQ(ScreenGraphicsSettings.TextWidthFactor, 1.0L);
  EXPECT_EQ(ScreenGraphicsSettings.TextHeightFactor, 1.0L);
  EXPECT_EQ(CadSettings.CadScaleSetting, 1.0L);
  EXPECT_EQ(InputWindowScale, 100);
  EXPECT_EQ(ZoomPercent, 100);
  const TextWindowRect& tw = PrinterGraphicsSettings.TextWindow;
  EXPECT_EQ(tw.Left, 10);
  EXPECT_EQ(tw.Top, 40);
  EXPECT_EQ(tw.Width, 700);
  EXPECT_EQ(tw.Height, 7000 - 20);  // the vertical-pixels field - 20
  EXPECT_EQ(CadSettings.CadDecimals, 6);
  EXPECT_EQ(LinesPerPage, 66);

  v.text["Edit_x"] = "801";
  DialogToConfig(v, screen_);
  EXPECT_EQ(HorizontalPixels, 800);
}

TEST_F(ConfigDialogTest, ButtonsWriteDefaultsAndAsk) {
  TConfigDialogValues v;
  ConfigToDialog(v);
  for (const auto& [button, edit, text] : std::vector<std::tuple<std::string, std::string, std::string>>{
           {"Button_zoom", "Edit_zoom", "1.02"},
           {"Button_pan", "Edit_pan", "0.02"},
           {"Button_textbreitenfaktor", "Edit_textbreitenfaktor", "0.8"},
           {"Button_freigabefeld", "Edit_freigabefeld", "App"},
           {"Button_dxfdec", "Edit_dxfdec", "6"},
           {"Button_massfaktorconfig", "Edit_massfaktorconfig", "1.0"}}) {
    v.text[edit] = "x";
    EXPECT_TRUE(ConfigButtonClick(v, button)) << button;
    EXPECT_EQ(v.text[edit], text) << button;
  }
  EXPECT_FALSE(ConfigButtonClick(v, "Button_nosuch"));

  ConfigButtonClick(v, "Button_layer5");
  EXPECT_EQ(v.layers[4][1], "1");
  EXPECT_EQ(v.layers[4][2], "3");
  v.layerRow = 2;
  v.layerColumn = 2;
  ConfigButtonClick(v, "Button_dick3");
  EXPECT_EQ(v.layers[1][2], "3");

  // The colour list of the layer's colour, preselected with the cell's.
  v.layers[1][1] = "5";
  dialogs_.Then(ScriptedAnswer::Choose(2));
  ConfigButtonClick(v, "Button_selectlayercolor");
  EXPECT_EQ(v.layers[1][1], "3");
  ASSERT_EQ(dialogs_.Asked().size(), 1u);
  EXPECT_EQ(dialogs_.Asked()[0].preselected, 4);
  EXPECT_EQ(dialogs_.Asked()[0].items[0], "1 (red)");
  EXPECT_EQ(dialogs_.Asked()[0].items[15], "16 (black)");
  // Cancel in the list leaves the cell.
  ConfigButtonClick(v, "Button_selectlayercolor");
  EXPECT_EQ(v.layers[1][1], "3");
  EXPECT_EQ(AbortFlag, 0);

  // The printout font through the font dialog.
  v.text["Edit_font"] = "Courier New";
  v.text["Edit_fontsize"] = "10";
  v.printFontStyle = 0;
  platform::FontChoice font;
  font.face = "DejaVu Sans Mono";
  font.size = 9;
  font.bold = true;
  font.italic = true;
  dialogs_.Then(ScriptedAnswer::Font(font));
  ConfigButtonClick(v, "Button_font");
  EXPECT_EQ(v.text["Edit_font"], "DejaVu Sans Mono");
  EXPECT_EQ(v.text["Edit_fontsize"], "9");
  EXPECT_EQ(PrintFontStyleText(v), "bold italic");

  // A plot command line edited as text; it puts the lines up to it in use.
  v.plotCount = 1;
  v.plotSelected = 2;
  dialogs_.Then(ScriptedAnswer::Enter("plot third"));
  ConfigButtonClick(v, "Button_edittramlincommandline");
  EXPECT_EQ(v.plotLines[2], "plot third");
  EXPECT_EQ(v.plotCount, 3);

  // Colour panels: the colour dialog, and the reset to the defaults.
  dialogs_.Then(ScriptedAnswer::Colour(RgbColour(9, 8, 7)));
  ConfigColourPanelClick(v, 3);
  EXPECT_EQ(v.panelColours[3], RgbColour(9, 8, 7));
  ConfigButtonClick(v, "Button_resetcolor");
  EXPECT_EQ(v.panelColours[3], DefaultColorTable()[4]);
}

TEST_F(ConfigDialogTest, VisibilityFollowsStylesAndSizeCodes) {
  TConfigDialogValues v;
  ConfigToDialog(v);
  v.index["ComboBox_zeichnkopf"] = 2;
  v.index["ComboBox_7200rand"] = 1;
  v.index["ComboBox_screensizecode"] = 0;
  v.index["ComboBox_dialogwindowSizecode"] = 1;
  v.index["ComboBox_textwindowsizecode"] = 0;
  std::set<std::string> hidden = HiddenConfigControls(v);
  EXPECT_TRUE(hidden.count("CheckBox_zeichhead034"));
  EXPECT_FALSE(hidden.count("CheckBox_abc123"));
  EXPECT_FALSE(hidden.count("Edit_x"));
  EXPECT_TRUE(hidden.count("SpinEdit_dialogsize"));
  EXPECT_FALSE(hidden.count("Edit_twwidth"));

  // Head style 3 shows the head fields and resets the border variant.
  v.index["ComboBox_zeichnkopf"] = 3;
  ConfigHeadStyleChanged(v);
  EXPECT_EQ(v.index["ComboBox_7200rand"], 0);
  hidden = HiddenConfigControls(v);
  EXPECT_FALSE(hidden.count("CheckBox_zeichhead034"));
  EXPECT_TRUE(hidden.count("CheckBox_abc123"));
  EXPECT_TRUE(hidden.count("CheckBox_mmscale"));

  // Every named control is on one of the nine pages.
  std::set<std::string> pages;
  for (const TConfigPage& page : ConfigPages()) pages.insert(page.name);
  EXPECT_EQ(pages.size(), 9u);
  for (const TConfigControl& c : ConfigControls()) EXPECT_TRUE(pages.count(c.page)) << c.name;
}

TEST_F(ConfigDialogTest, WithoutAWindowTheDialogIsNotShown) {
  ConfigDialogView() = nullptr;
  ShowConfigDialog();
  EXPECT_EQ(AbortFlag, 1);
}

}  // namespace
