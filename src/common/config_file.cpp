// The configuration file and the directory check; see config_file.h.
//
// The file is positional: the reader skips each label line and takes the
// values by their place, so the order below is the format. Writer and
// reader are kept side by side, item by item, to keep them in step.
#include "common/config_file.h"

#include <cmath>
#include <numbers>
#include <tuple>

#include "common/cad_settings.h"
#include "common/code_page.h"
#include "common/file_checks.h"
#include "common/file_utils.h"
#include "common/graphics_settings.h"
#include "common/kaldvar.h"
#include "common/number_format.h"
#include "common/text_file.h"
#include "common/text_utils.h"
#include "platform/file_system.h"
#include "platform/screen.h"
#include "platform/system.h"
#include "platform/user_dialogs.h"

namespace common {

RangeArray<Real, 1, 6> View3DAxes;
RangeArray<Real, 1, 3> View3DAngles;
bool View3DMode = true;
bool Edit3DFlag = true;

std::string ManualDirectory;
bool CurrentFileFlag = false;
bool SaveMenuLanguage = false;
std::int32_t ReservedSetting = 0;
std::uint16_t IndexSelection = 0;
std::uint16_t ExcelDecimalCode = 2;
std::int32_t ScreenSizeCode = 0;
std::int32_t DialogWindowSizeCode = 0;
std::int32_t TextWindowSizeCode = 0;

namespace {

constexpr Real DegToRad = std::numbers::pi_v<Real> / 180;

TScreenGraphicsSettings& Screen() { return ScreenGraphicsSettings; }
TPrinterGraphicsSettings& Printer() { return PrinterGraphicsSettings; }
TCadSettings& Cad() { return CadSettings; }

// ---- line helpers ---------------------------------------------------------------

void WriteR3(Real x) { WriteTextLine(RealToText(x)); }
void WriteChar(char c) { WriteTextLine(c ? std::string(1, c) : std::string()); }
void WriteByteBool(std::uint8_t b) { WriteBoolLine(b != 0); }

std::int32_t ReadI() {
  std::int32_t n = 0;
  ReadIntLine(n);
  return n;
}
std::uint16_t ReadW() {
  std::uint16_t n = 0;
  ReadWordLine(n);
  return n;
}
Real ReadR() {
  Real x = 0;
  ReadRealLine(x);
  return x;
}
// A double setting: a value beyond the double range does not convert and
// gives 0, so that the setting's rule for 0 applies (an infinite scale
// would otherwise pass the rules).
double ReadD() {
  double x = 0;
  ReadDoubleLine(x);
  return x;
}
std::string ReadT() {
  std::string s;
  ReadTextLine(s);
  return s;
}
void ReadB(bool& flag) { ReadTrueLine(flag); }
void ReadByteBool(std::uint8_t& b) {
  bool flag = b != 0;
  ReadTrueLine(flag);
  b = flag ? 1 : 0;
}
void SkipLine() {
  std::string ignored;
  ReadTextLine(ignored);
}

// True when a value can still be read; at the end of the file the reading
// stops there and every later setting keeps its value.
bool More() { return !SharedTextFile.Eof(); }
// A labelled item: false at the end of the file, else the label is skipped.
bool Label() {
  if (!More()) return false;
  SkipLine();
  return true;
}

void CloseConfig() {
  std::error_code ec;
  SharedTextFile.Close(ec);
}

bool ParseIntField(const std::string& text, std::int32_t& n) {
  Real x = 0;
  if (!ParseRealLine(text, x) || x != std::trunc(x) || std::fabs(x) > 2147483647.0L) return false;
  n = static_cast<std::int32_t>(x);
  return true;
}

int MainClientWidth(const platform::MainWindowFrame& w, const platform::ScreenSize& s) {
  return s.width + w.ClientWidth() - w.Width();
}
int MainClientHeight(const platform::MainWindowFrame& w, const platform::ScreenSize& s) {
  return static_cast<int>(std::lround((w.ClientHeight() - w.Height()) * 1.9)) + s.height;
}

std::uint16_t ToWord(int n) { return static_cast<std::uint16_t>(n < 0 ? 0 : (n > 65535 ? 65535 : n)); }

// ---- reading --------------------------------------------------------------------

// Items 1 to 91 and the unlabelled values; returns at the end of the file
// or where a damaged item stops the reading (the caller closes the file).
void ReadItems() {
  // 1-5: layer name and colour of pens 1..5.
  for (int i = 1; i <= 5; ++i) {
    if (!Label()) return;
    Cad().CadLayerNames[i] = ReadT();
    if (!Label()) return;
    Cad().CadLayerColours[i] = ReadI();
  }
  if (!Label()) return;
  Cad().CadTextFont = ReadT();
  if (!Label()) return;
  Cad().CadTextWidthRatio = ReadR();
  if (Cad().CadTextWidthRatio == 0) Cad().CadTextWidthRatio = 1.0L;
  if (!Label()) return;
  Cad().CadFontSlant = ReadR();
  if (!Label()) return;
  CadDirectory = ReadT();
  if (!Label()) return;
  DbfDirectory = ReadT();
  if (!Label()) return;
  HelpLevel = ReadW();
  if (!Label()) return;
  PrinterInterface = ReadW();
  if (PrinterInterface == 0) PrinterInterface = 1;
  if (!Label()) return;  // 13
  PrinterType = ReadW();
  if (!Label()) return;  // 14
  PrintDensity = ReadW();
  if (!Label()) return;
  char c = 0;
  ReadCharLine(c);
  RotateHardcopy = c == '\0' ? 'N' : c;
  if (!Label()) return;
  SignificantDigits = ReadI();
  if (SignificantDigits <= 0 || SignificantDigits > 9) SignificantDigits = 3;
  if (!Label()) return;
  PrintDensityVertical = ReadW();
  if (PrintDensityVertical == 0 || PrintDensityVertical > 4) PrintDensityVertical = 1;
  if (!Label()) return;  // 18
  ReadB(ColorGraphics);
  if (!Label()) return;
  Screen().GraphXFactor = ReadR();
  if (Screen().GraphXFactor == 0) Screen().GraphXFactor = 1.0L;
  if (!Label()) return;
  GraphMode = ReadI();
  if (!Label()) return;
  GraphDriver = ReadI();
  if (!Label()) return;
  HorizontalPixels = ReadW();
  if (!Label()) return;
  VerticalPixels = ReadW();
  if (!Label()) return;
  TempDirectory = ReadT();
  if (!Label()) return;
  HardcopyInterface = ReadW();
  if (HardcopyInterface == 0) HardcopyInterface = 1;
  if (!Label()) return;  // 26
  EdiDirectory = ReadT();
  if (!Label()) return;
  PltDirectory = ReadT();
  if (!Label()) return;
  RuleStyle = ReadW();
  if (RuleStyle == 0) RuleStyle = 1;
  if (!Label()) return;
  LinesPerPage = ReadI();
  if (LinesPerPage < 5) LinesPerPage = 66;
  if (!Label()) return;
  Screen().ZoomIncrement = ReadR();
  if (Screen().ZoomIncrement == 0) Screen().ZoomIncrement = 1.02L;
  if (!Label()) return;
  Screen().PanFactor = ReadR();
  if (Screen().PanFactor == 0) Screen().PanFactor = 0.01L;
  if (!Label()) return;
  MakerDirectory = ReadT();
  if (!Label()) return;  // 33
  {
    const std::string line = ReadT();
    if (!line.empty()) Cad().PlotCommandLines[1] = line;
  }
  if (!Label()) return;  // 34
  Screen().BackgroundColour = static_cast<ColourValue>(ReadI());
  if (!Label()) return;
  WindowsPrintMode = ReadW();
  if (WindowsPrintMode == 0) WindowsPrintMode = 1;
  if (!Label()) return;  // 36
  ReadByteBool(Cad().LayerMonochrome);
  if (!More()) {  // 37: files older than the graphics text settings
    Screen().TextWidthFactor = Cad().CadTextWidthRatio;
    Screen().GraphTextFont = "Arial";
    return;
  }
  SkipLine();
  Screen().TextWidthFactor = ReadR();
  if (Screen().TextWidthFactor == 0) Screen().TextWidthFactor = 0.8L;
  if (!Label()) return;
  Screen().GraphTextFont = ReadT();
  for (int pen = 16; pen <= 31; ++pen) {  // 39-54
    if (!Label()) return;
    Cad().CadPenColours[pen] = ReadI();
    if (Cad().CadPenColours[pen] == 0) Cad().CadPenColours[pen] = 1;
  }
  if (!Label()) return;  // 55
  WordProcessorPath = ReadT();
  if (!Label()) return;
  DatabaseMode = ReadW();
  if (!Label()) return;
  DatabaseEditorPath = ReadT();
  if (!Label()) return;
  Printer().ScreendumpOriginX = ReadI();
  if (!Label()) return;
  Printer().ScreendumpOriginY = ReadI();
  if (!Label()) return;
  Printer().ScreendumpScale = ReadD();
  if (Printer().ScreendumpScale == 0) Printer().ScreendumpScale = 1.0;
  Printer().PrintScaleVertical = Printer().ScreendumpScale;
  if (!Label()) return;
  ReadB(Printer().ScreendumpBorder);
  if (!Label()) return;  // 62
  ReadB(EnterUserId);
  if (!Label()) return;  // 63
  {
    // Lines beyond the record's five are read and dropped.
    const std::uint16_t count = ReadW();
    for (int i = 2; i <= count; ++i) {
      const std::string line = ReadT();
      if (i <= MaxPlotCommandLines) Cad().PlotCommandLines[i] = line;
    }
    Cad().PlotCommandCount = count > MaxPlotCommandLines ? MaxPlotCommandLines : count;
    if (Cad().PlotCommandIndex > Cad().PlotCommandCount) Cad().PlotCommandIndex = 1;
  }
  if (!Label()) return;
  ReadB(ArchiveFlag);
  if (!Label()) return;  // 65
  DateFormatCode = ReadW();
  if (DateFormatCode == 0) DateFormatCode = 3;
  if (!Label()) return;  // 66
  HeaderSpaceLines = ReadI();
  if (HeaderSpaceLines >= 31) HeaderSpaceLines = 0;
  if (!Label()) return;  // 67
  TextDevice = ReadW();
  if (TextDevice < 1 || TextDevice > 9) TextDevice = 1;
  if (!Label()) return;
  ReadB(TextDeviceWindow);
  if (!Label()) return;  // 69
  ReadB(SmallOnlineWindow);
  if (!Label()) return;  // 70
  ReadB(EnterDiagramLimits);
  if (!Label()) return;
  DecimalSign = ReadW();
  if (DecimalSign < 1 || DecimalSign > 2) DecimalSign = 1;
  if (!Label()) return;
  DefaultDataDirectory = ReadT();
  if (DefaultDataDirectory.empty()) DefaultDataDirectory = AddBackslash(ProgramDirectory);
  if (!Label()) return;  // 73
  Screen().TextHeightFactor = ReadR();
  if (Screen().TextHeightFactor <= 0.1L) Screen().TextHeightFactor = 1.0L;
  if (!Label()) return;  // 74
  InputWindowScale = ReadI();
  if (InputWindowScale < 10 || InputWindowScale > 1000) InputWindowScale = 100;
  if (!Label()) return;
  HtmlBrowserPath = ReadT();
  if (!Label()) return;  // 76
  Printer().PrintScaleVertical = ReadD();
  if (Printer().PrintScaleVertical <= 0.0001) Printer().PrintScaleVertical = Printer().ScreendumpScale;
  if (!Label()) return;
  for (int i = 0; i <= 5; ++i) {
    std::int32_t& width = Cad().CadLayerLineWidths[i];
    width = ReadI();
    if (width < 1 || width > 255) width = 1;
  }
  if (!Label()) return;
  ReadB(Printer().PrintDialogFlag);
  if (!Label()) return;  // 79
  {
    std::string left, top, width, height;
    ReadFieldsLine(left, top, width, height);
    TextWindowRect rect;
    if (!ParseIntField(width, rect.Width) || !ParseIntField(height, rect.Height) || rect.Width == 0 ||
        rect.Height == 0)
      return;
    if (!ParseIntField(left, rect.Left)) rect.Left = 0;
    if (!ParseIntField(top, rect.Top)) rect.Top = 0;
    Printer().TextWindow = rect;
  }
  if (!Label()) return;  // 80
  UnitSystem = ReadW();
  // The unit tables have five systems; another code would index past them.
  if (UnitSystem > UnitsMetricKNNmm2) UnitSystem = UnitsMetric;
  if (!Label()) return;
  HeaderMode = ReadW();
  if (HeaderMode < 1 || HeaderMode > 2) HeaderMode = 1;
  if (!Label()) return;
  Printer().TextFontPrintout = ReadT();
  if (Printer().TextFontPrintout.empty()) Printer().TextFontPrintout = "Courier New";
  if (!Label()) return;
  Printer().TextSizePrintout = ReadW();
  if (Printer().TextSizePrintout == 0) Printer().TextSizePrintout = 10;
  if (!Label()) return;
  Printer().TextStylePrintout = ReadW();
  if (!Label()) return;
  Screen().TextStyleGraphics = ReadW();
  if (!Label()) return;
  Printer().PrinterOrientation = ReadW();
  if (!Label()) return;  // 87
  ReadNotFalseLine(Edit3DFlag);
  if (!Label()) return;  // 88
  for (int i = 1; i <= 3; ++i) View3DAngles[i] = ReadR();
  IndexSelection = ReadW();
  ExcelDecimalCode = ReadW();
  if (ExcelDecimalCode == 0) ExcelDecimalCode = 2;
  Cad().CadApprovalText = ReadT();
  if (!Label()) return;
  Cad().CadDecimals = ReadI();
  if (Cad().CadDecimals < 1 || Cad().CadDecimals > 32) Cad().CadDecimals = 6;
  if (!Label()) return;
  {
    const std::int32_t mode = ReadI();
    CadTextMode = mode <= 0 ? 1 : ToWord(mode);
  }
  if (!Label()) return;  // 91
  for (int pen = 16; pen <= 31; ++pen) Cad().CadPenWidths[pen] = ReadI();

  // Values without labels.
  if (!More()) return;
  AsciiTextMode = ReadI() != 0;
  if (!More()) return;
  ZoomPercent = ReadI();
  if (ZoomPercent < 10 || ZoomPercent > 1000) ZoomPercent = 100;
  if (!More()) return;
  AngleFormat = ReadW();
  if (AngleFormat == 0 || AngleFormat > 2) AngleFormat = 2;
  if (!More()) return;
  Cad().CadScaleSetting = ReadR();
  if (Cad().CadScaleSetting == 0) Cad().CadScaleSetting = 1.0L;
  if (!More()) return;
  ReservedSetting = ReadI();
  if (!More()) return;
  const std::uint16_t language = ReadW();
  LanguageCode = language;
  if (!More()) return;
  ResultGraphic = ReadI();
  for (int option = FrameOptMakerTitle; option <= FrameOptDrawingHead; ++option) {
    if (!More()) return;
    ReadByteBool(Cad().CadFrameOptions[option]);
  }
  if (!More()) return;
  ReadB(CurrentFileFlag);
  if (!More()) return;
  ReadB(SaveMenuLanguage);
  if (!SaveMenuLanguage) LanguageCode = 0;
  if (!More()) return;
  FrameStyle = ReadW();
  for (int i = 1; i <= 16; ++i) {
    if (!More()) return;
    const std::int32_t colour = ReadI();
    if (colour > 0) Screen().ColorTable[i] = static_cast<ColourValue>(colour);
  }
  if (!More()) return;
  {
    bool threeDToTwoD = !View3DMode;
    ReadB(threeDToTwoD);
    View3DMode = !threeDToTwoD;
  }
  if (!More()) return;
  ReadByteBool(Cad().CadFrameOptions[FrameOptProtectionNotice]);
  if (!More()) return;
  ManualDirectory = ReadT();
  if (ManualDirectory.empty()) ManualDirectory = MakerDirectory;
  if (!More()) return;
  FrameVariant = ReadI();
  for (int option = FrameOptFieldStyle; option <= FrameOptInsertParts; ++option) {
    if (!More()) return;
    ReadByteBool(Cad().CadFrameOptions[option]);
  }
  if (!More()) return;
  ReadB(MsgQuiet);
  if (!More()) return;
  ReadByteBool(Cad().CadOpenAfterOutput);
  if (!More()) return;
  ReadByteBool(Cad().CadArcsToLines);
  if (!More()) return;
  Cad().CadArcResolution = ReadR();
  if (Cad().CadArcResolution <= 0) Cad().CadArcResolution = 0.5L;
  if (!More()) return;
  Cad().CadStlType = ReadI();
  if (!More()) return;
  ScreenSizeCode = ReadI();
  if (!More()) return;
  DialogWindowSizeCode = ReadI();
  if (!More()) return;
  TextWindowSizeCode = ReadI();
  if (TextWindowSizeCode == 1) SetDefaultTextWindowRect();
  if (!More()) return;
  ReadByteBool(CopyTableFlag);
}

// ---- writing --------------------------------------------------------------------

// decimalSign and significantDigits: the settings as they were before the
// writer held them at their file values.
void WriteItems(std::uint16_t decimalSign, std::int32_t significantDigits) {
  WriteTextLine("Configuration " + ProgramName);
  WriteTextLine("Version " + ProgramVersion);
  for (int i = 1; i <= 5; ++i) {
    WriteTextLine("Layer");
    WriteTextLine(Cad().CadLayerNames[i]);
    WriteTextLine("Colour");
    WriteIntLine(Cad().CadLayerColours[i]);
  }
  WriteTextLine("Text font CAD");
  WriteTextLine(Cad().CadTextFont);
  WriteTextLine("Textwidth/height CAD");
  WriteR3(Cad().CadTextWidthRatio);
  WriteTextLine("Font angle");
  WriteR3(Cad().CadFontSlant);
  WriteTextLine("CAD Directory");
  WriteTextLine(CadDirectory);
  WriteTextLine("DBF Directory");
  WriteTextLine(DbfDirectory);
  WriteTextLine("Help level");
  WriteIntLine(HelpLevel);
  WriteTextLine("Printer interface");
  WriteIntLine(PrinterInterface);
  WriteTextLine("Printer type");
  WriteIntLine(PrinterType);
  WriteTextLine("Printing density");
  WriteIntLine(PrintDensity);
  WriteTextLine("Rotate Hardcopy ?");
  WriteChar(RotateHardcopy);
  WriteTextLine("Digits for floating point numbers");
  WriteIntLine(significantDigits);
  WriteTextLine("Printing density vertical");
  WriteIntLine(PrintDensityVertical);
  WriteTextLine("Color graphics");
  WriteBoolLine(ColorGraphics);
  WriteTextLine("X-Factor for graphic extension");
  WriteR3(Screen().GraphXFactor);
  WriteTextLine("Graph mode");
  WriteIntLine(GraphMode);
  WriteTextLine("Graph driver");
  WriteIntLine(GraphDriver);
  WriteTextLine("Horizontal Pixels");
  WriteIntLine(HorizontalPixels);
  WriteTextLine("Vertical Pixels");
  WriteIntLine(VerticalPixels);
  WriteTextLine("temporary directory");
  WriteTextLine(TempDirectory);
  WriteTextLine("printer interface for hardcopy");
  WriteIntLine(HardcopyInterface);
  WriteTextLine("EDI Directory");
  WriteTextLine(EdiDirectory);
  WriteTextLine("PLT Directory");
  WriteTextLine(PltDirectory);
  WriteTextLine("Display mode for printout 1:* 2:-");
  WriteIntLine(RuleStyle);
  WriteTextLine("Lines per page for printer");
  WriteIntLine(LinesPerPage);
  WriteTextLine("zoom increment");
  WriteRealLine(Screen().ZoomIncrement);
  WriteTextLine("pan faktor");
  WriteRealLine(Screen().PanFactor);
  WriteTextLine("KALDRIM directory");
  WriteTextLine(MakerDirectory);
  WriteTextLine("TRAMLIN command line");
  WriteTextLine(Cad().PlotCommandLines[1]);
  WriteTextLine("background colour");
  WriteIntLine(Screen().BackgroundColour);
  WriteTextLine("Windows print mode (1=mono 2=color)");
  WriteIntLine(WindowsPrintMode);
  WriteTextLine("Layer Monochrome");
  WriteByteBool(Cad().LayerMonochrome);
  WriteTextLine("Textwidth/height Graphics");
  WriteRealLine(Screen().TextWidthFactor);
  WriteTextLine("Text font Graphics");
  WriteTextLine(Screen().GraphTextFont);
  for (int pen = 16; pen <= 31; ++pen) {
    WriteTextLine("Color Layer " + std::to_string(pen));
    WriteIntLine(Cad().CadPenColours[pen]);
  }
  WriteTextLine("word processor");
  WriteTextLine(WordProcessorPath);
  WriteTextLine("Database mode");
  WriteIntLine(DatabaseMode);
  WriteTextLine("external database");
  WriteTextLine(DatabaseEditorPath);
  WriteTextLine("Windows Screendump Origin X");
  WriteIntLine(Printer().ScreendumpOriginX);
  WriteTextLine("Windows Screendump Origin Y");
  WriteIntLine(Printer().ScreendumpOriginY);
  WriteTextLine("Windows Screendump Scale");
  WriteRealLine(Printer().ScreendumpScale);
  WriteTextLine("Windows Screendump Border ?");
  WriteBoolLine(Printer().ScreendumpBorder);
  WriteTextLine("Enter Password ?");
  WriteBoolLine(EnterUserId);
  WriteTextLine("TRAMLIN Command lines (n, line 2 .. line n)");
  {
    const int count = Cad().PlotCommandCount > MaxPlotCommandLines ? MaxPlotCommandLines : Cad().PlotCommandCount;
    WriteIntLine(count);
    for (int i = 2; i <= count; ++i) WriteTextLine(Cad().PlotCommandLines[i]);
  }
  WriteTextLine("Archive Flag ?");
  WriteBoolLine(ArchiveFlag);
  WriteTextLine("Date Code");
  WriteIntLine(DateFormatCode);
  WriteTextLine("Header Space Lines");
  WriteIntLine(HeaderSpaceLines);
  WriteTextLine("Text Device");
  WriteIntLine(TextDevice);
  WriteTextLine("Text Device Window ?");
  WriteBoolLine(TextDeviceWindow);
  WriteTextLine("Small Online Window ?");
  WriteBoolLine(SmallOnlineWindow);
  WriteTextLine("Enter Diagram Limits ?");
  WriteBoolLine(EnterDiagramLimits);
  WriteTextLine("Dot=1 Komma=2");
  WriteIntLine(decimalSign);
  WriteTextLine("Default Data Directory");
  WriteTextLine(DefaultDataDirectory);
  WriteTextLine("Text Height Factor");
  WriteRealLine(Screen().TextHeightFactor);
  WriteTextLine("Input Window Scale %");
  WriteIntLine(InputWindowScale);
  WriteTextLine("HTML Browser");
  WriteTextLine(HtmlBrowserPath);
  WriteTextLine("Print Scale Vertical");
  WriteRealLine(Printer().PrintScaleVertical);
  WriteTextLine("Line thickness Layer 0..5");
  for (int i = 0; i <= 5; ++i) WriteIntLine(Cad().CadLayerLineWidths[i]);
  WriteTextLine("Graphic Printout Dialog Box ?");
  WriteBoolLine(Printer().PrintDialogFlag);
  WriteTextLine("Text window left/top/width/height");
  {
    const TextWindowRect& r = Printer().TextWindow;
    WriteFieldsLine(std::to_string(r.Left), std::to_string(r.Top), std::to_string(r.Width), std::to_string(r.Height));
  }
  WriteTextLine("Metric Units=0,  English units=1");
  WriteIntLine(UnitSystem);
  WriteTextLine("printout with header=1, header page 1 only=2");
  WriteIntLine(HeaderMode);
  WriteTextLine("Text Font Printout");
  WriteTextLine(Printer().TextFontPrintout);
  WriteTextLine("Text Size Printout");
  WriteIntLine(Printer().TextSizePrintout);
  WriteTextLine("Text Style Printout");
  WriteIntLine(Printer().TextStylePrintout);
  WriteTextLine("Text Style Graphics");
  WriteIntLine(Screen().TextStyleGraphics);
  WriteTextLine("Printer: Portrait=1, Landscape=2");
  WriteIntLine(Printer().PrinterOrientation);
  WriteTextLine("Edit 3D x,y,z ?");
  WriteBoolLine(Edit3DFlag);
  WriteTextLine("3D - Default x,y,z");
  for (int i = 1; i <= 3; ++i) WriteRealLine(View3DAngles[i]);
  WriteIntLine(IndexSelection);
  WriteIntLine(ExcelDecimalCode);
  WriteTextLine(Cad().CadApprovalText);
  WriteTextLine("Decimals DXF,TXT");
  WriteIntLine(Cad().CadDecimals);
  WriteTextLine("CAD Text Mode");
  WriteIntLine(CadTextMode);
  WriteTextLine("pen width Layer 16..31");
  for (int pen = 16; pen <= 31; ++pen) WriteIntLine(Cad().CadPenWidths[pen]);

  // Values without labels.
  WriteIntLine(AsciiTextMode ? 1 : 0);
  WriteIntLine(ZoomPercent);
  WriteIntLine(AngleFormat);
  WriteRealLine(Cad().CadScaleSetting);
  WriteIntLine(ReservedSetting);
  WriteIntLine(LanguageCode);
  WriteIntLine(ResultGraphic);
  for (int option = FrameOptMakerTitle; option <= FrameOptDrawingHead; ++option)
    WriteByteBool(Cad().CadFrameOptions[option]);
  WriteBoolLine(CurrentFileFlag);
  WriteBoolLine(SaveMenuLanguage);
  WriteIntLine(FrameStyle);
  for (int i = 1; i <= 16; ++i) WriteIntLine(Screen().ColorTable[i]);
  WriteBoolLine(!View3DMode);
  WriteByteBool(Cad().CadFrameOptions[FrameOptProtectionNotice]);
  WriteTextLine(ManualDirectory);
  WriteIntLine(FrameVariant);
  for (int option = FrameOptFieldStyle; option <= FrameOptInsertParts; ++option)
    WriteByteBool(Cad().CadFrameOptions[option]);
  WriteBoolLine(MsgQuiet);
  WriteByteBool(Cad().CadOpenAfterOutput);
  WriteByteBool(Cad().CadArcsToLines);
  WriteRealLine(Cad().CadArcResolution);
  WriteIntLine(Cad().CadStlType);
  WriteIntLine(ScreenSizeCode);
  WriteIntLine(DialogWindowSizeCode);
  WriteIntLine(TextWindowSizeCode);
  WriteByteBool(CopyTableFlag);
}

}  // namespace

void InitView3DDefaults() {
  const Real axes[6] = {1, 0, 0, 1, -1, -1};
  for (int i = 1; i <= 6; ++i) View3DAxes[i] = axes[i - 1];
  View3DAngles[1] = -15 * DegToRad;
  View3DAngles[2] = 90 * DegToRad;
  View3DAngles[3] = 210 * DegToRad;
  View3DMode = true;
  Edit3DFlag = true;
}

void InitConfigOnlySettings() {
  InitView3DDefaults();
  ManualDirectory.clear();
  CurrentFileFlag = false;
  SaveMenuLanguage = false;
  ReservedSetting = 0;
  IndexSelection = 0;
  ExcelDecimalCode = 2;
  ScreenSizeCode = 0;
  DialogWindowSizeCode = 0;
  TextWindowSizeCode = 0;
}

std::string ConfigFilePath() {
  return AddBackslash(ConfigDirectory) + platform::FindFileAnyCase(ConfigDirectory, ProgramName + ".cfg");
}

void SetDefaultTextWindowRect() {
  const platform::ScreenSize screen = platform::PrimaryScreenSize();
  TextWindowRect& r = Printer().TextWindow;
  r.Left = 20;
  r.Top = 40;
  r.Width = Printer().TextSizePrintout * 700 / 10 * ScreenDpi / 96;
  if (screen.width > 0 && r.Width > screen.width) r.Width = screen.width;
  // Without a known screen the height is left as it is.
  if (screen.height > 0) r.Height = static_cast<std::int32_t>(std::lround(0.95 * screen.height)) - 40;
}

void ApplyMainWindowSize() {
  const platform::ScreenSize screen = platform::PrimaryScreenSize();
  platform::MainWindowFrame* window = platform::MainWindow();
  if (screen.width > 0 && screen.height > 0) {
    if (HorizontalPixels == 0 || HorizontalPixels == 65535) HorizontalPixels = ToWord(screen.width - 9);
    if (VerticalPixels == 0 || VerticalPixels == 65535) VerticalPixels = ToWord(screen.height - 91);
    if (window && ScreenSizeCode == 2) {
      HorizontalPixels = ToWord(MainClientWidth(*window, screen));
      VerticalPixels = ToWord(MainClientHeight(*window, screen));
      window->SetClientSize(HorizontalPixels, VerticalPixels);
    } else if (window && ScreenSizeCode == 1) {
      // The largest 4:3 area of the available client area.
      int w = MainClientWidth(*window, screen);
      int h = MainClientHeight(*window, screen);
      if (w / 4 > h / 3)
        w = (h / 3) * 4;
      else if (w / 4 < h / 3)
        h = (w / 4) * 3;
      window->SetClientSize(w, h);
    }
  }
  if (DialogWindowSizeCode == 1) {
    const int dpi = platform::ScreenLogicalDpi();
    if (dpi > 0) ScreenDpi = dpi;
    if (window && window->ClientHeight() < window->Height() - 58)
      InputWindowScale = window->Height() * 100 * ScreenDpi / (window->ClientHeight() + 58) / 96 + 2;
    else
      InputWindowScale = ScreenDpi * 100 / 96;
    ZoomPercent = 100;
  }
  CloseConfig();
  CopyTableFlag = 0;
}

void ReadConfigFile() { ReadConfigFileFrom(ConfigFilePath()); }

void ReadConfigFileFrom(const std::string& path) {
  SharedTextFile.Assign(path);
  std::error_code ec;
  if (!SharedTextFile.Reset(ec)) {
    // No configuration: fit the windows to the screen.
    const platform::ScreenSize screen = platform::PrimaryScreenSize();
    if (screen.width > 0 && screen.height > 0) {
      if (HorizontalPixels == 0 || HorizontalPixels == 65535) HorizontalPixels = ToWord(screen.width - 9);
      if (VerticalPixels == 0 || VerticalPixels == 65535) VerticalPixels = ToWord(screen.height - 91);
    }
    SetDefaultTextWindowRect();
    const int dpi = platform::ScreenLogicalDpi();
    if (dpi > 0) InputWindowScale = dpi * 100 / 96;
    ZoomPercent = 100;
    AbortFlag = 1;
    return;
  }
  Screen().GraphXFactor = 1.0L;
  SkipLine();
  SkipLine();
  ReadItems();
  // However early the file ended, the windows are fitted to the screen
  // (pixel settings of 0 mean "the screen's"), the file is closed and the
  // table copy is reset.
  ApplyMainWindowSize();
}

void WriteConfigFile() { WriteConfigFileTo(ConfigFilePath()); }

void WriteConfigFileTo(const std::string& path) {
  if (AbortFlag) return;
  // The file's numbers do not follow the display settings: a point, and
  // the three significant digits of the short real items (a display
  // setting of 1 would store 0.75 as 1, and the value would erode with
  // every save).
  const std::uint16_t decimalSign = DecimalSign;
  const std::int32_t significantDigits = SignificantDigits;
  SharedTextFile.Assign(path);
  RewriteFileRetry(SharedTextFile);
  if (!AbortFlag) {
    DecimalSign = 1;
    SignificantDigits = 3;
    WriteItems(decimalSign, significantDigits);
    if (AbortFlag)
      AbandonFileChecked(SharedTextFile);  // a failed line: the previous file stays, and the user learns why
    else
      CloseFileChecked(SharedTextFile);
  }
  DecimalSign = decimalSign;
  SignificantDigits = significantDigits;
}

// ---- The settings as a whole ------------------------------------------------------

namespace {

// Every setting the configuration file holds, and the screen resolution the
// reading may set.
auto SettingRefs() {
  return std::tie(CadSettings, ScreenGraphicsSettings, PrinterGraphicsSettings, CadDirectory, DbfDirectory, HelpLevel,
                  PrinterInterface, PrinterType, PrintDensity, RotateHardcopy, SignificantDigits, PrintDensityVertical,
                  ColorGraphics, GraphMode, GraphDriver, HorizontalPixels, VerticalPixels, TempDirectory,
                  HardcopyInterface, EdiDirectory, PltDirectory, RuleStyle, LinesPerPage, MakerDirectory,
                  WindowsPrintMode, WordProcessorPath, DatabaseMode, DatabaseEditorPath, EnterUserId, ArchiveFlag,
                  DateFormatCode, HeaderSpaceLines, TextDevice, TextDeviceWindow, SmallOnlineWindow,
                  EnterDiagramLimits, DecimalSign, DefaultDataDirectory, InputWindowScale, HtmlBrowserPath, UnitSystem,
                  HeaderMode, Edit3DFlag, View3DAngles, IndexSelection, ExcelDecimalCode, CadTextMode, AsciiTextMode,
                  ZoomPercent, AngleFormat, ReservedSetting, LanguageCode, ResultGraphic, CurrentFileFlag,
                  SaveMenuLanguage, FrameStyle, View3DMode, ManualDirectory, FrameVariant, MsgQuiet, ScreenSizeCode,
                  DialogWindowSizeCode, TextWindowSizeCode, CopyTableFlag, ScreenDpi);
}

auto SettingValues() {
  return std::apply([](auto&... setting) { return std::make_tuple(setting...); }, SettingRefs());
}

}  // namespace

struct ConfigSettingsValues {
  decltype(SettingValues()) values = SettingValues();
};

KeptSettings::KeptSettings() : kept_(std::make_unique<ConfigSettingsValues>()) {}
KeptSettings::~KeptSettings() = default;
void KeptSettings::PutBack() const { SettingRefs() = kept_->values; }

void CheckConfiguredDirectories() {
  // Temporary files never land in the program's or the user's folder: an
  // unset temporary directory is the system's (TMPDIR, else /tmp).
  if (TrimBlanks(TempDirectory).empty()) TempDirectory = TemporaryDirectory();
  for (std::string* dir : {&DbfDirectory, &PltDirectory, &EdiDirectory, &DefaultDataDirectory})
    if (TrimBlanks(*dir).empty()) *dir = AddBackslash(ProgramDirectory);

  if (!DirectoryWritable(CadDirectory)) ShowFileError("invalid CAD Directory configured");
  // An empty table or plot directory is a valid one; only one that is
  // missing or cannot be listed is not.
  if (!DirectoryListable(DbfDirectory)) ShowFileError("invalid DBF Directory configured");
  if (!DirectoryListable(PltDirectory)) ShowFileError("invalid PLT Directory configured");
  if (!DirectoryWritable(TempDirectory)) {
    ShowFileError("invalid temporary directory configured");
    platform::TextInputRequest request;
    request.caption = "Input";
    request.prompt = OemToDisplayText("temporary directory");
    // The folder's name as the file system holds it.
    request.initial = TempDirectory;
    // A path of any length the system allows.
    request.maxLength = platform::NoLengthLimit;
    if (auto entered = platform::Dialogs().InputText(request))
      TempDirectory = *entered;
    else
      AbortFlag = 1;
  }
  if (!DirectoryWritable(EdiDirectory)) ShowFileError("invalid EDI Directory configured");
  if (!DirectoryWritable(DefaultDataDirectory)) ShowFileError("invalid Data Directory configured");

  if (CopyTableFlag) {
    platform::Dialogs().SetBusyCursor(true);
    CopyMatchingFiles("*.dbf", DbfDirectory, TempDirectory);
    platform::Dialogs().SetBusyCursor(false);
  }
}

}  // namespace common
