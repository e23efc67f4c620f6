// Configuration file: a full round trip of every record, older files that
// end at the version boundaries, the fall-back rules, an oversized plot
// command list, the file name in any case, a failing write, and the
// directory check.
#include "common/config_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "common/cad_settings.h"
#include "common/file_checks.h"
#include "common/graphics_settings.h"
#include "common/kaldvar.h"
#include "common/text_file.h"
#include "platform/file_system.h"
#include "platform/scripted_dialogs.h"
#include "platform/screen.h"
#include "platform/system.h"
#include "support/file_test_support.h"

using namespace common;
namespace fs = std::filesystem;
using testsupport::Joined;
using testsupport::Put;
using testsupport::Slurp;
using testsupport::SplitLines;

namespace {

// Index of the line that holds exactly the label.
std::size_t LineOf(const std::vector<std::string>& lines, const std::string& label) {
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (lines[i] == label) return i;
  ADD_FAILURE() << "label not found: " << label;
  return lines.size();
}

void AllDefaults() {
  SetKaldvarDefaults();
  SetWkaldvarDefaults();
  SetProgramIdentity();
  InitScreenGraphicsSettings();
  InitPrinterGraphicsSettings();
  InitCadSettings();
  InitConfigOnlySettings();
}

// Every stored setting away from its default, with values the line formats
// keep exactly.
void SetEverything() {
  TCadSettings& c = CadSettings;
  for (int i = 1; i <= 5; ++i) {
    c.CadLayerNames[i] = "L" + std::to_string(i * 7);
    c.CadLayerColours[i] = 10 + i;
  }
  c.CadTextFont = "ROMANS";
  c.CadTextWidthRatio = 0.75L;
  c.CadFontSlant = 12.5L;
  c.PlotCommandLines[1] = "plot one";
  c.LayerMonochrome = 1;
  for (int pen = 16; pen <= 31; ++pen) {
    c.CadPenColours[pen] = pen + 100;
    c.CadPenWidths[pen] = pen - 10;
  }
  c.PlotCommandCount = 3;
  c.PlotCommandLines[2] = "plot two";
  c.PlotCommandLines[3] = "plot three";
  for (int i = 0; i <= 5; ++i) c.CadLayerLineWidths[i] = 20 + i;
  c.CadApprovalText = "approved \x84";
  c.CadDecimals = 9;
  c.CadScaleSetting = 2.5L;
  for (int o = 1; o <= 12; ++o) c.CadFrameOptions[o] = (o % 2);
  c.CadOpenAfterOutput = 0;
  c.CadArcsToLines = 0;
  c.CadArcResolution = 0.25L;
  c.CadStlType = 1;

  TScreenGraphicsSettings& s = ScreenGraphicsSettings;
  s.GraphXFactor = 1.5L;
  s.ZoomIncrement = 1.125L;
  s.PanFactor = 0.0625L;
  s.BackgroundColour = 0x00FFEEDD;
  s.TextWidthFactor = 0.5L;
  s.GraphTextFont = "Helvetica";
  s.TextHeightFactor = 1.25L;
  s.TextStyleGraphics = 5;
  for (int i = 1; i <= 16; ++i) s.ColorTable[i] = RgbColour(i, 2 * i, 3 * i);

  TPrinterGraphicsSettings& p = PrinterGraphicsSettings;
  p.ScreendumpOriginX = 11;
  p.ScreendumpOriginY = -12;
  p.ScreendumpScale = 0.5;
  p.ScreendumpBorder = true;
  p.PrintScaleVertical = 0.375;
  p.PrintDialogFlag = false;
  p.TextWindow = {5, 6, 777, 555};
  p.TextFontPrintout = "Mono";
  p.TextSizePrintout = 12;
  p.TextStylePrintout = 1;
  p.PrinterOrientation = 1;

  CadDirectory = "/cad";
  DbfDirectory = "/dbf";
  HelpLevel = 2;
  PrinterInterface = 3;
  PrinterType = 4;
  PrintDensity = 2;
  RotateHardcopy = 'N';
  SignificantDigits = 5;
  PrintDensityVertical = 3;
  ColorGraphics = false;
  GraphMode = 7;
  GraphDriver = 8;
  HorizontalPixels = 1024;
  VerticalPixels = 768;
  TempDirectory = "/tmp/x";
  HardcopyInterface = 2;
  EdiDirectory = "/edi";
  PltDirectory = "/plt";
  RuleStyle = 2;
  LinesPerPage = 72;
  MakerDirectory = "/maker";
  WindowsPrintMode = 2;
  WordProcessorPath = "editor";
  DatabaseMode = 3;
  DatabaseEditorPath = "dbedit";
  EnterUserId = true;
  ArchiveFlag = true;
  DateFormatCode = 1;
  HeaderSpaceLines = 4;
  TextDevice = 7;
  TextDeviceWindow = true;
  SmallOnlineWindow = true;
  EnterDiagramLimits = true;
  DecimalSign = 2;
  DefaultDataDirectory = "/data/";
  InputWindowScale = 150;
  HtmlBrowserPath = "browser";
  UnitSystem = UnitsMetricKN;
  HeaderMode = 2;
  CadTextMode = 3;
  AsciiTextMode = true;
  ZoomPercent = 125;
  AngleFormat = 2;
  LanguageCode = 7;
  ResultGraphic = 4;
  FrameStyle = 3;
  FrameVariant = 2;
  MsgQuiet = true;

  Edit3DFlag = false;
  View3DAngles[1] = 0.5L;
  View3DAngles[2] = -1.25L;
  View3DAngles[3] = 3;
  View3DMode = false;
  IndexSelection = 3;
  ExcelDecimalCode = 1;
  ManualDirectory = "/manual";
  CurrentFileFlag = true;
  SaveMenuLanguage = true;
  ReservedSetting = 42;
  ScreenSizeCode = 3;
  DialogWindowSizeCode = 2;
  TextWindowSizeCode = 2;
}

class ConfigFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AllDefaults();
    ConfigDirectory = dir_.Dir().string();
  }
  void TearDown() override { SharedTextFile.Discard(); }
  // Writes the current settings, then returns to the defaults.
  std::vector<std::string> WriteAndReset() {
    WriteConfigFile();
    EXPECT_EQ(AbortFlag, 0);
    auto lines = SplitLines(Slurp(dir_.Path("vob4.cfg")));
    AllDefaults();
    ConfigDirectory = dir_.Dir().string();
    return lines;
  }
  testsupport::ScratchDirectory dir_{"config"};
  platform::ScriptedDialogs dialogs_;
  platform::ScopedDialogs scope_{dialogs_};
};

}  // namespace

TEST_F(ConfigFileTest, EverySettingRoundTrips) {
  SetEverything();
  const TCadSettings cad = CadSettings;
  const TScreenGraphicsSettings screen = ScreenGraphicsSettings;
  const TPrinterGraphicsSettings printer = PrinterGraphicsSettings;
  const auto angles = View3DAngles;

  const auto lines = WriteAndReset();
  EXPECT_EQ(lines[0], "Configuration vob4");
  EXPECT_EQ(lines[1], "Version 5.2");
  // Decimal sign 2 is stored, while the reals keep a point.
  EXPECT_EQ(lines[LineOf(lines, "Dot=1 Komma=2") + 1], "2");
  EXPECT_EQ(lines[LineOf(lines, "zoom increment") + 1], "1.1250000");
  // R3 is the 3-significant-digit form whatever the display setting (5
  // digits configured here).
  EXPECT_EQ(lines[LineOf(lines, "Textwidth/height CAD") + 1], "0.75");
  EXPECT_EQ(lines[LineOf(lines, "Digits for floating point numbers") + 1], "5");
  EXPECT_EQ(lines[LineOf(lines, "Text window left/top/width/height") + 1], "5|6|777|555|");
  EXPECT_EQ(lines[LineOf(lines, "Color Layer 31") + 1], "131");
  // Header, items 1-5, 6-38, 39-54, 55-62, 63 (three command lines),
  // 64-76, 77, 78, 79, 80-87, 88, 89-90, 91, 50 unlabelled values.
  EXPECT_EQ(lines.size(), 2u + 20 + 66 + 32 + 16 + 4 + 26 + 7 + 2 + 2 + 16 + 7 + 4 + 17 + 50);

  ReadConfigFile();
  EXPECT_EQ(AbortFlag, 0);
  EXPECT_FALSE(SharedTextFile.IsOpen());
  EXPECT_TRUE(CadSettings == cad);
  EXPECT_TRUE(ScreenGraphicsSettings == screen);
  EXPECT_TRUE(PrinterGraphicsSettings == printer);
  EXPECT_TRUE(View3DAngles == angles);

  // A second write gives the same file.
  WriteConfigFile();
  EXPECT_EQ(SplitLines(Slurp(dir_.Path("vob4.cfg"))), lines);

  EXPECT_EQ(CadDirectory, "/cad");
  EXPECT_EQ(RotateHardcopy, 'N');
  EXPECT_EQ(SignificantDigits, 5);
  EXPECT_FALSE(ColorGraphics);
  EXPECT_EQ(HorizontalPixels, 1024);
  EXPECT_EQ(LinesPerPage, 72);
  EXPECT_EQ(DatabaseEditorPath, "dbedit");
  EXPECT_TRUE(EnterUserId);
  EXPECT_TRUE(ArchiveFlag);
  EXPECT_EQ(TextDevice, 7);
  EXPECT_EQ(DecimalSign, 2);
  EXPECT_EQ(DefaultDataDirectory, "/data/");
  EXPECT_EQ(InputWindowScale, 150);
  EXPECT_EQ(UnitSystem, UnitsMetricKN);
  EXPECT_EQ(HeaderMode, 2);
  EXPECT_EQ(CadTextMode, 3);
  EXPECT_TRUE(AsciiTextMode);
  EXPECT_EQ(ZoomPercent, 125);
  EXPECT_EQ(AngleFormat, 2);
  EXPECT_EQ(LanguageCode, 7);
  EXPECT_EQ(FrameStyle, 3);
  EXPECT_EQ(FrameVariant, 2);
  EXPECT_TRUE(MsgQuiet);
  EXPECT_FALSE(Edit3DFlag);
  EXPECT_FALSE(View3DMode);
  EXPECT_EQ(IndexSelection, 3);
  EXPECT_EQ(ExcelDecimalCode, 1);
  EXPECT_EQ(ManualDirectory, "/manual");
  EXPECT_TRUE(CurrentFileFlag);
  EXPECT_EQ(ReservedSetting, 42);
  EXPECT_EQ(ScreenSizeCode, 3);
  EXPECT_EQ(TextWindowSizeCode, 2);
  EXPECT_EQ(CopyTableFlag, 0);
}

TEST_F(ConfigFileTest, DefaultsRoundTripAndMissingFile) {
  // The written defaults read back as the defaults (the 3-D angles keep
  // their 7 decimals).
  const TCadSettings cad = CadSettings;
  const TPrinterGraphicsSettings printer = PrinterGraphicsSettings;
  const TScreenGraphicsSettings screen = ScreenGraphicsSettings;
  WriteAndReset();
  ReadConfigFile();
  EXPECT_EQ(AbortFlag, 0);
  EXPECT_TRUE(CadSettings == cad);
  EXPECT_TRUE(PrinterGraphicsSettings == printer);
  EXPECT_TRUE(ScreenGraphicsSettings == screen);
  EXPECT_NEAR(static_cast<double>(View3DAngles[1]), -0.2617994, 1e-7);

  fs::remove(dir_.Path("vob4.cfg"));
  ReadConfigFile();
  EXPECT_EQ(AbortFlag, 1);
  EXPECT_EQ(ZoomPercent, 100);
}

TEST_F(ConfigFileTest, OlderFilesEndAtVersionBoundaries) {
  SetEverything();
  const auto lines = WriteAndReset();
  const char* boundaries[] = {"Printer type", "Printing density", "Color graphics", "EDI Directory",
                              "TRAMLIN command line", "background colour", "Layer Monochrome",
                              "Textwidth/height Graphics", "Color Layer 16", "word processor",
                              "Enter Password ?", "Date Code", "Header Space Lines", "Text Device",
                              "Small Online Window ?", "Enter Diagram Limits ?", "Text Height Factor",
                              "Input Window Scale %", "Print Scale Vertical",
                              "Metric Units=0,  English units=1"};
  for (const char* label : boundaries) {
    AllDefaults();
    ConfigDirectory = dir_.Dir().string();
    Put(dir_.Path("vob4.cfg"), Joined(lines, LineOf(lines, label)));
    ReadConfigFile();
    EXPECT_EQ(AbortFlag, 0) << label;
    EXPECT_FALSE(SharedTextFile.IsOpen()) << label;
    EXPECT_EQ(CadSettings.CadLayerNames[1], "L7") << label;  // the first item is read
    EXPECT_EQ(UnitSystem, UnitsMetric) << label;             // the last boundary's item is not
  }

  // The file of the first boundary: twelve items, then defaults.
  AllDefaults();
  ConfigDirectory = dir_.Dir().string();
  Put(dir_.Path("vob4.cfg"), Joined(lines, LineOf(lines, "Printer type")));
  ReadConfigFile();
  EXPECT_EQ(PrinterInterface, 3);
  EXPECT_EQ(PrinterType, 3);
  EXPECT_EQ(SignificantDigits, 3);

  // Before the graphics text width: it follows the CAD ratio, font Arial.
  AllDefaults();
  ConfigDirectory = dir_.Dir().string();
  Put(dir_.Path("vob4.cfg"), Joined(lines, LineOf(lines, "Textwidth/height Graphics")));
  ReadConfigFile();
  EXPECT_EQ(CadSettings.LayerMonochrome, 1);
  EXPECT_EQ(ScreenGraphicsSettings.TextWidthFactor, 0.75L);
  EXPECT_EQ(ScreenGraphicsSettings.GraphTextFont, "Arial");
  EXPECT_EQ(CadSettings.CadPenColours[16], 1);

  // A file without the unlabelled values keeps their defaults.
  AllDefaults();
  ConfigDirectory = dir_.Dir().string();
  Put(dir_.Path("vob4.cfg"), Joined(lines, lines.size() - 50));
  ReadConfigFile();
  EXPECT_EQ(CadSettings.CadPenWidths[31], 21);
  EXPECT_EQ(AngleFormat, 1);
  EXPECT_EQ(FrameVariant, 1);
  EXPECT_EQ(CadSettings.CadArcResolution, 0.1L);
}

TEST_F(ConfigFileTest, OutOfRangeValuesFallBack) {
  auto lines = WriteAndReset();
  auto set = [&](const std::string& label, const std::string& value) { lines[LineOf(lines, label) + 1] = value; };
  set("Digits for floating point numbers", "12");
  set("Lines per page for printer", "4");
  set("Input Window Scale %", "5");
  set("Printing density vertical", "5");
  set("Header Space Lines", "31");
  set("Text Device", "10");
  set("Dot=1 Komma=2", "3");
  set("Decimals DXF,TXT", "33");
  set("Rotate Hardcopy ?", "");
  set("Textwidth/height CAD", "0");
  set("Default Data Directory", "");
  set("Text Font Printout", "");
  set("zoom increment", "abc");
  set("Windows Screendump Scale", "0,25");  // a comma is read as a point
  set("Print Scale Vertical", "0");
  set("Edit 3D x,y,z ?", "no");               // anything but FALSE is true
  set("Metric Units=0,  English units=1", "9");
  const std::size_t unlabelled = LineOf(lines, "pen width Layer 16..31") + 17;
  lines[unlabelled + 1] = "5";     // ZoomPercent
  lines[unlabelled + 2] = "3";     // AngleFormat
  lines[unlabelled + 16] = "0";    // ColorTable[1] is kept
  lines[unlabelled + 14] = "FALSE";  // SaveMenuLanguage: LanguageCode := 0
  lines[unlabelled + 5] = "7";     // LanguageCode
  Put(dir_.Path("vob4.cfg"), Joined(lines));
  LanguageCode = 0;
  const ColourValue colour1 = ScreenGraphicsSettings.ColorTable[1];
  Edit3DFlag = false;

  ReadConfigFile();
  EXPECT_EQ(SignificantDigits, 3);
  EXPECT_EQ(LinesPerPage, 66);
  EXPECT_EQ(InputWindowScale, 100);
  EXPECT_EQ(PrintDensityVertical, 1);
  EXPECT_EQ(HeaderSpaceLines, 0);
  EXPECT_EQ(TextDevice, 1);
  EXPECT_EQ(DecimalSign, 1);
  EXPECT_EQ(CadSettings.CadDecimals, 6);
  EXPECT_EQ(RotateHardcopy, 'N');
  EXPECT_EQ(CadSettings.CadTextWidthRatio, 1.0L);
  EXPECT_EQ(DefaultDataDirectory, ProgramDirectory + "/");
  EXPECT_EQ(PrinterGraphicsSettings.TextFontPrintout, "Courier New");
  EXPECT_EQ(ScreenGraphicsSettings.ZoomIncrement, 1.02L);
  EXPECT_EQ(PrinterGraphicsSettings.ScreendumpScale, 0.25);
  EXPECT_EQ(PrinterGraphicsSettings.PrintScaleVertical, 0.25);
  EXPECT_TRUE(Edit3DFlag);
  EXPECT_EQ(UnitSystem, UnitsMetric);
  EXPECT_EQ(ZoomPercent, 100);
  EXPECT_EQ(AngleFormat, 2);
  EXPECT_EQ(ScreenGraphicsSettings.ColorTable[1], colour1);
  EXPECT_EQ(LanguageCode, 0);
}

TEST_F(ConfigFileTest, TextWindowWithoutWidthEndsReading) {
  SetEverything();
  auto lines = WriteAndReset();
  lines[LineOf(lines, "Text window left/top/width/height") + 1] = "5|6|0|555|";
  Put(dir_.Path("vob4.cfg"), Joined(lines));
  ReadConfigFile();
  EXPECT_EQ(PrinterGraphicsSettings.TextWindow, TextWindowRect{});
  EXPECT_FALSE(PrinterGraphicsSettings.PrintDialogFlag);  // item 78 was read
  EXPECT_EQ(UnitSystem, UnitsMetric);
  EXPECT_EQ(HeaderMode, 1);
  EXPECT_EQ(ZoomPercent, 100);
  EXPECT_FALSE(SharedTextFile.IsOpen());
}

TEST_F(ConfigFileTest, SurplusPlotCommandLinesAreIgnored) {
  SetEverything();
  auto lines = WriteAndReset();
  const std::size_t at = LineOf(lines, "TRAMLIN Command lines (n, line 2 .. line n)") + 1;
  // Count 8: lines 2..8 follow; 6..8 do not fit the record.
  std::vector<std::string> replaced = {"8", "p2", "p3", "p4", "p5", "p6", "p7", "p8"};
  lines.erase(lines.begin() + static_cast<long>(at), lines.begin() + static_cast<long>(at) + 3);
  lines.insert(lines.begin() + static_cast<long>(at), replaced.begin(), replaced.end());
  Put(dir_.Path("vob4.cfg"), Joined(lines));
  ReadConfigFile();
  EXPECT_EQ(CadSettings.PlotCommandCount, 5);
  EXPECT_EQ(CadSettings.PlotCommandLines[5], "p5");
  EXPECT_EQ(CadSettings.PlotCommandLines[1], "plot one");
  EXPECT_TRUE(ArchiveFlag);  // the items after the list are in step
  EXPECT_EQ(CadSettings.CadStlType, 1);
}

TEST_F(ConfigFileTest, FileNameInAnyCaseIsReadAndWrittenBack) {
  SetEverything();
  WriteConfigFile();
  fs::rename(dir_.Path("vob4.cfg"), dir_.Path("VOB4.CFG"));
  AllDefaults();
  ConfigDirectory = dir_.Dir().string();
  ReadConfigFile();
  EXPECT_EQ(AbortFlag, 0);
  EXPECT_EQ(CadDirectory, "/cad");
  WriteConfigFile();
  EXPECT_TRUE(fs::exists(dir_.Path("VOB4.CFG")));
  EXPECT_FALSE(fs::exists(dir_.Path("vob4.cfg")));
}

namespace {
class FailingWrites : public platform::FileSystem {
 public:
  std::unique_ptr<platform::OutputFile> CreateNew(const std::string& path, std::error_code& ec) override {
    auto inner = platform::FileSystem::CreateNew(path, ec);
    if (!inner) return nullptr;
    return std::make_unique<Failing>(std::move(inner));
  }

 private:
  struct Failing : platform::OutputFile {
    explicit Failing(std::unique_ptr<platform::OutputFile> i) : inner(std::move(i)) {}
    bool Write(std::string_view bytes, std::error_code& ec) override {
      if (++writes > 40) {
        ec = std::make_error_code(std::errc::no_space_on_device);
        return false;
      }
      return inner->Write(bytes, ec);
    }
    bool Close(std::error_code& ec) override { return inner->Close(ec); }
    std::unique_ptr<platform::OutputFile> inner;
    int writes = 0;
  };
};
}  // namespace

TEST_F(ConfigFileTest, FailedWriteKeepsOldFile) {
  WriteConfigFile();
  const std::string before = Slurp(dir_.Path("vob4.cfg"));
  SetEverything();
  FailingWrites failing;
  platform::ScopedFileSystem files(failing);
  WriteConfigFile();
  EXPECT_EQ(AbortFlag, 1);
  EXPECT_EQ(DecimalSign, 2);  // restored
  EXPECT_EQ(Slurp(dir_.Path("vob4.cfg")), before);
  EXPECT_EQ(dir_.Entries(), 1u);

  // Nothing is written while AbortFlag is set.
  WriteConfigFile();
  EXPECT_EQ(Slurp(dir_.Path("vob4.cfg")), before);
}

TEST_F(ConfigFileTest, CheckConfiguredDirectories) {
  ProgramDirectory = dir_.Dir().string();
  fs::create_directories(dir_.Path("cad"));
  CadDirectory = dir_.Path("cad");
  DbfDirectory = "  ";
  PltDirectory = dir_.Path("noplt");
  TempDirectory = dir_.Path("notemp");
  EdiDirectory = "";
  DefaultDataDirectory = "";
  dialogs_.Then(platform::ScriptedAnswer::Enter(dir_.Path("cad")));
  CheckConfiguredDirectories();
  EXPECT_EQ(DbfDirectory, dir_.Dir().string() + "/");
  EXPECT_EQ(EdiDirectory, dir_.Dir().string() + "/");
  EXPECT_EQ(DefaultDataDirectory, dir_.Dir().string() + "/");
  EXPECT_EQ(TempDirectory, dir_.Path("cad"));
  std::vector<std::string> texts;
  for (const auto& asked : dialogs_.Asked()) texts.push_back(asked.text);
  // The DBF directory holds the cad folder: it has entries.
  const std::vector<std::string> expected = {"invalid PLT Directory configured",
                                             "invalid temporary directory configured", "temporary directory"};
  EXPECT_EQ(texts, expected);
  EXPECT_EQ(dialogs_.Asked()[2].maxLength, platform::NoLengthLimit) << "a path of any length";

  // With the copy flag the tables are copied into the temporary directory.
  { std::ofstream(dir_.Path("mat.dbf")) << "table"; }
  AbortFlag = 0;
  CopyTableFlag = 1;
  CheckConfiguredDirectories();
  EXPECT_EQ(AbortFlag, 0);
  EXPECT_EQ(Slurp(dir_.Path("cad/mat.dbf")), "table");
}

// No temporary directory configured: the system's, TMPDIR or else /tmp,
// never the program's folder (the user's design folder when started there).
TEST_F(ConfigFileTest, UnsetTemporaryDirectoryIsTheSystems) {
  ProgramDirectory = dir_.Dir().string();
  fs::create_directories(dir_.Path("tmp"));
  CadDirectory = EdiDirectory = DefaultDataDirectory = DbfDirectory = PltDirectory = dir_.Path("tmp");
  const char* kept = std::getenv("TMPDIR");
  const std::string keptValue = kept ? kept : "";
  ::setenv("TMPDIR", dir_.Path("tmp").c_str(), 1);
  TempDirectory = " ";
  CheckConfiguredDirectories();
  EXPECT_EQ(TempDirectory, dir_.Path("tmp") + "/");
  ::unsetenv("TMPDIR");
  TempDirectory = "";
  CheckConfiguredDirectories();
  EXPECT_EQ(TempDirectory, "/tmp/");
  EXPECT_TRUE(dialogs_.Asked().empty());
  if (kept) ::setenv("TMPDIR", keptValue.c_str(), 1);
}

namespace {
class FakeMainWindow : public platform::MainWindowFrame {
 public:
  int Width() const override { return 1000; }
  int Height() const override { return 800; }
  int ClientWidth() const override { return 990; }
  int ClientHeight() const override { return 740; }
  void SetClientSize(int w, int h) override {
    setWidth = w;
    setHeight = h;
  }
  int setWidth = 0, setHeight = 0;
};
}  // namespace

TEST_F(ConfigFileTest, WindowsFitTheScreen) {
  FakeMainWindow window;
  platform::SetScreenSizeQuery([] { return platform::ScreenSize{1280, 1024}; });
  platform::SetScreenDpiQuery([] { return 120; });
  platform::SetMainWindow(&window);

  // No configuration file: screen-based sizes.
  ScreenDpi = 120;
  ReadConfigFile();
  EXPECT_EQ(AbortFlag, 1);
  EXPECT_EQ(HorizontalPixels, 1271);
  EXPECT_EQ(VerticalPixels, 933);
  EXPECT_EQ(InputWindowScale, 125);
  EXPECT_EQ(PrinterGraphicsSettings.TextWindow, (TextWindowRect{20, 40, 875, 933}));

  // 4:3 main window and dialog scale from the screen.
  HorizontalPixels = 65535;
  ScreenSizeCode = 1;
  DialogWindowSizeCode = 1;
  ZoomPercent = 150;
  ScreenDpi = 96;
  CopyTableFlag = 1;
  ApplyMainWindowSize();
  EXPECT_EQ(HorizontalPixels, 1271);
  EXPECT_EQ(window.setWidth, 1212);
  EXPECT_EQ(window.setHeight, 910);
  EXPECT_EQ(ScreenDpi, 120);
  EXPECT_EQ(InputWindowScale, 127);
  EXPECT_EQ(ZoomPercent, 100);
  EXPECT_EQ(CopyTableFlag, 0);

  // Full client area.
  ScreenSizeCode = 2;
  ApplyMainWindowSize();
  EXPECT_EQ(HorizontalPixels, 1270);
  EXPECT_EQ(VerticalPixels, 910);
  EXPECT_EQ(window.setWidth, 1270);

  platform::SetMainWindow(nullptr);
  platform::SetScreenSizeQuery(nullptr);
  platform::SetScreenDpiQuery(nullptr);
}

TEST_F(ConfigFileTest, ShortRealsDoNotFollowTheDisplayDigits) {
  CadSettings.CadTextWidthRatio = 0.75L;
  CadSettings.CadFontSlant = 12.5L;
  ScreenGraphicsSettings.GraphXFactor = 1.5L;
  SignificantDigits = 1;
  auto lines = WriteAndReset();
  EXPECT_EQ(SignificantDigits, 3);  // AllDefaults
  EXPECT_EQ(lines[LineOf(lines, "Textwidth/height CAD") + 1], "0.75");
  EXPECT_EQ(lines[LineOf(lines, "Font angle") + 1], "12.5");
  EXPECT_EQ(lines[LineOf(lines, "X-Factor for graphic extension") + 1], "1.5");
  ReadConfigFile();
  EXPECT_EQ(AbortFlag, 0);
  EXPECT_EQ(CadSettings.CadTextWidthRatio, 0.75L);
  EXPECT_EQ(CadSettings.CadFontSlant, 12.5L);
  EXPECT_EQ(ScreenGraphicsSettings.GraphXFactor, 1.5L);
  EXPECT_EQ(SignificantDigits, 1);

  // Three saves with 2 digits: a value that rounds differently at 2 digits
  // keeps its 3 digits, and the setting is restored after each write.
  CadSettings.CadTextWidthRatio = 0.264L;
  for (int save = 0; save < 3; ++save) {
    SignificantDigits = 2;
    WriteConfigFile();
    EXPECT_EQ(SignificantDigits, 2);
    ReadConfigFile();
  }
  EXPECT_EQ(CadSettings.CadTextWidthRatio, 0.264L);
  EXPECT_EQ(SignificantDigits, 2);
}

TEST_F(ConfigFileTest, EveryEarlyEndFitsTheWindowsToTheScreen) {
  platform::SetScreenSizeQuery([] { return platform::ScreenSize{1280, 1024}; });
  HorizontalPixels = 0;
  VerticalPixels = 65535;
  const auto lines = WriteAndReset();
  const std::size_t afterItem60 = LineOf(lines, "Windows Screendump Border ?");
  const std::size_t amongUnlabelled = lines.size() - 20;
  for (std::size_t cut : {std::size_t{2}, afterItem60, amongUnlabelled, lines.size()}) {
    AllDefaults();
    ConfigDirectory = dir_.Dir().string();
    CopyTableFlag = 1;
    Put(dir_.Path("vob4.cfg"), Joined(lines, cut));
    ReadConfigFile();
    EXPECT_EQ(HorizontalPixels, 1271) << "cut after line " << cut;
    EXPECT_EQ(VerticalPixels, 933) << "cut after line " << cut;
    EXPECT_FALSE(SharedTextFile.IsOpen()) << "cut after line " << cut;
    EXPECT_EQ(CopyTableFlag, 0) << "cut after line " << cut;
  }
  // The stop at an unreadable text-window line as well.
  auto damaged = lines;
  damaged[LineOf(damaged, "Text window left/top/width/height") + 1] = "1|2|0|0|";
  AllDefaults();
  ConfigDirectory = dir_.Dir().string();
  Put(dir_.Path("vob4.cfg"), Joined(damaged));
  ReadConfigFile();
  EXPECT_EQ(HorizontalPixels, 1271);
  EXPECT_FALSE(SharedTextFile.IsOpen());
  platform::SetScreenSizeQuery(nullptr);
}

TEST_F(ConfigFileTest, EmptyTableDirectoryIsValid) {
  ProgramDirectory = dir_.Dir().string();
  for (const char* sub : {"dbf", "plt", "tmp"}) fs::create_directories(dir_.Path(sub));
  CadDirectory = EdiDirectory = DefaultDataDirectory = TempDirectory = dir_.Path("tmp");
  DbfDirectory = dir_.Path("dbf");
  PltDirectory = dir_.Path("plt");
  CheckConfiguredDirectories();
  EXPECT_TRUE(dialogs_.Asked().empty());
  fs::remove(dir_.Path("dbf"));
  CheckConfiguredDirectories();
  ASSERT_EQ(dialogs_.Asked().size(), 1u);
  EXPECT_EQ(dialogs_.Asked()[0].text, "invalid DBF Directory configured");
}
