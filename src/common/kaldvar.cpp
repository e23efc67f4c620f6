// Definitions and defaults of the process-wide globals (see kaldvar.h).
#include "common/kaldvar.h"

#include "common/file_utils.h"
#include "platform/system.h"

namespace common {

std::string ProductCode, ProgramName, ProgramTitle, DataFileExtension, ProgramVersion,
    ProgramNotice;
std::string CurrentFileName, DataDirectory;
std::uint8_t BareNameFlag = 0;

std::string ProgramDirectory, CadDirectory, DbfDirectory, EdiDirectory, PltDirectory,
    TempDirectory, MakerDirectory, ConfigDirectory, DefaultDataDirectory, StartDirectory,
    DatabaseEditorPath, WordProcessorPath, HtmlBrowserPath;
std::uint16_t DatabaseMode = 1;

std::uint16_t HelpLevel = 1, PrinterInterface = 1, HardcopyInterface = 1, PrinterType = 3,
              PrintDensity = 1, PrintDensityVertical = 1;
char RotateHardcopy = 'J';
std::int32_t SignificantDigits = 3;
std::uint16_t RuleStyle = 1;
std::int32_t LinesPerPage = 66;
std::uint16_t WindowsPrintMode = 1, DateFormatCode = 3;
std::int32_t HeaderSpaceLines = 0;
std::uint16_t TextDevice = 1;
bool TextDeviceWindow = false;
std::uint16_t HeaderMode = 1;
bool ArchiveFlag = false;

std::int32_t GraphDriver = 0, GraphMode = 0;
std::uint16_t HorizontalPixels = 0, VerticalPixels = 0;
bool ColorGraphics = true;
std::uint16_t ColourCount = 16;
std::int32_t ScreenDpi = 96, InputWindowScale = 100, ZoomPercent = 100;
bool SmallOnlineWindow = false, EnterDiagramLimits = false, EnterUserId = false;

std::uint16_t UnitSystem = UnitsMetric;
RangeArray<std::string, 0, 4> UnitSystemNames;
std::uint16_t DecimalSign = 1, CadTextMode = 2;
bool AsciiTextMode = false;
std::uint16_t AngleFormat = 1, LanguageCode = 0;
std::int32_t ResultGraphic = 0;
std::uint16_t FrameStyle = 2;
std::int32_t FrameVariant = 1;
bool MsgQuiet = false;
RangeArray<std::string, 1, 4> RecentFiles;
std::uint8_t CopyTableFlag = 0;
std::uint16_t RevisionIndexStyle = 0;

std::uint8_t DataChanged = 0, ReportSpreadsheetFlag = 0;
std::uint16_t ReportOption = 1;
std::int32_t TableOption = 1;
RangeArray<char, 1, 2> KeyChars;
RangeArray<std::int32_t, 1, 2> TableDialogFlags, FormPlacementMode, MainWindowMode;
std::int32_t ScreenScaleMode = 0;
RangeArray<std::uint8_t, 1, 2> WriteCheckFlags, StartUpOptions;
std::int32_t RecentFileMenuPos = 0, ReportViewerFlag = 0;
std::string TableFolder;

std::uint8_t FatalFlag = 0, AbortFlag = 0, MessagesEnabled = 1;
std::uint8_t ArchiveMode = 0;

RangeArray<std::string, 1, TextLineCount> TextLines;
RangeArray<std::string, 1, 5> WrappedLines;
RangeArray<std::string, 1, 3> SheetTexts;

namespace {
int kaldvarNesting = 0;
int wkaldvarNesting = 0;
}  // namespace

void SetKaldvarDefaults() {
  TextLines.fill(std::string(65, ' '));
  WrappedLines.fill(std::string(64, ' '));
  SheetTexts.fill(std::string(65, ' '));
  SheetTexts.fill(std::string());
  ProgramDirectory = platform::CurrentDirectory();

  // The library's own identity; SetProgramIdentity gives the program's.
  ProductCode = "KALDRIM";
  ProgramName = "KALDRIM";
  ProgramTitle = "KALDRIM";
  DataFileExtension = "EXT";
  ProgramVersion = "1.0";
  ProgramNotice.clear();
  CurrentFileName.clear();
  DataDirectory.clear();
  BareNameFlag = 0;

  CadDirectory.clear();
  DbfDirectory.clear();
  EdiDirectory.clear();
  PltDirectory.clear();
  TempDirectory.clear();
  MakerDirectory.clear();
  DatabaseMode = 1;

  HelpLevel = 1;
  PrinterInterface = 1;
  HardcopyInterface = 1;
  PrinterType = 3;
  PrintDensity = 1;
  PrintDensityVertical = 1;
  RotateHardcopy = 'J';
  SignificantDigits = 3;
  RuleStyle = 1;
  LinesPerPage = 66;
  WindowsPrintMode = 1;
  DateFormatCode = 3;
  HeaderSpaceLines = 0;
  TextDevice = 1;
  TextDeviceWindow = false;
  HeaderMode = 1;
  ArchiveFlag = false;

  GraphDriver = 0;
  GraphMode = 0;
  HorizontalPixels = 0;
  VerticalPixels = 0;
  ColorGraphics = true;
  ColourCount = 16;
  SmallOnlineWindow = false;
  EnterDiagramLimits = false;
  EnterUserId = false;

  FatalFlag = 0;
  AbortFlag = 0;
  MessagesEnabled = 1;
  ArchiveMode = 0;
}

void SetWkaldvarDefaults() {
  const std::string current = platform::CurrentDirectory();
  DatabaseEditorPath = "C:\\MOLVARE\\MOLVARE.EXE";
  WordProcessorPath = "WRITE.EXE";
  HtmlBrowserPath.clear();

  UnitSystem = UnitsMetric;
  // Held in code page 850: 0xF8 is the degree sign, 0xFD the superscript two.
  UnitSystemNames[0] = "metric (mm, N, MPa, Nmm, \xF8"
                       "C)";
  UnitSystemNames[1] = "imperial (in, lbf, psi, lbfin, degF)";
  UnitSystemNames[2] = "metric (mm, kN, MPa, Nm, \xF8"
                       "C)";
  UnitSystemNames[3] = "metric (mm, N, N/mm\xFD, Nmm, \xF8"
                       "C)";
  UnitSystemNames[4] = "metric (mm, kN, N/mm\xFD, Nm, \xF8"
                       "C)";
  DecimalSign = 1;
  CadTextMode = 2;
  AsciiTextMode = false;
  AngleFormat = 1;
  LanguageCode = 0;
  ResultGraphic = 0;
  FrameStyle = 2;
  FrameVariant = 1;
  MsgQuiet = false;
  RecentFiles.fill(std::string());
  CopyTableFlag = 0;
  RevisionIndexStyle = 0;

  DataChanged = 0;
  ReportSpreadsheetFlag = 0;
  ReportOption = 1;
  TableOption = 1;
  KeyChars[1] = '0';
  KeyChars[2] = '0';
  TableDialogFlags.fill(1);
  FormPlacementMode.fill(1);
  ScreenScaleMode = 0;
  MainWindowMode.fill(1);
  WriteCheckFlags.fill(0);
  RecentFileMenuPos = 0;
  ReportViewerFlag = 0;
  StartUpOptions.fill(0);
  TableFolder = current;

  // The three directories that start at the current directory; the
  // working directory, as the settings show it, with its separator (as an
  // empty one read from the configuration becomes).
  ConfigDirectory = current;
  DefaultDataDirectory = AddBackslash(current);
  StartDirectory = current;

  // 96 stays only when the screen cannot be asked (headless).
  const int dpi = platform::ScreenLogicalDpi();
  ScreenDpi = dpi > 0 ? dpi : 96;
  InputWindowScale = 100;
  ZoomPercent = 100;
}

void InitKaldvar() {
  if (kaldvarNesting++ > 0) return;
  SetKaldvarDefaults();
}

void InitWkaldvar() {
  if (wkaldvarNesting++ > 0) return;
  SetWkaldvarDefaults();
}

void FinalizeKaldvar() {
  if (kaldvarNesting > 0) --kaldvarNesting;
  TextLines.fill(std::string());
  WrappedLines.fill(std::string());
  SheetTexts.fill(std::string());
}

void FinalizeWkaldvar() {
  if (wkaldvarNesting > 0) --wkaldvarNesting;
  RecentFiles.fill(std::string());
}

void SetProgramIdentity() {
  ProductCode = "VOB4";
  ProgramName = "vob4";
  ProgramTitle = "VOB4 - Razivudo Redo Zavaz";
  DataFileExtension = "vb4";
  ProgramVersion = "5.2";
  ProgramNotice = "Design data of a noncircular spur gear pair";
}

}  // namespace common
